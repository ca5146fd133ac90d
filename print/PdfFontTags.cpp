#include "print/PdfFontTags.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>
#include <utility>

namespace {

bool isDelimiter(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '/' || c == '<' || c == '>'
        || c == '[' || c == ']' || c == '(' || c == ')' || c == '%' || c == '{' || c == '}' || c == '\0';
}

// The name after `key` in `line` and where it starts; empty when none.
QByteArray nameAfter(const QByteArray& line, const QByteArray& key, qsizetype* at)
{
    const qsizetype k = line.indexOf(key);
    if (k < 0)
        return {};
    const qsizetype start = k + key.size();
    qsizetype end = start;
    while (end < line.size() && !isDelimiter(line[end]))
        ++end;
    *at = start;
    return line.mid(start, end - start);
}

// "ABCDEF+" of a tagged name (six capitals and a plus), or "".
QByteArray tagOf(const QByteArray& name)
{
    if (name.size() < 8 || name[6] != '+')
        return {};
    for (int i = 0; i < 6; ++i)
        if (name[i] < 'A' || name[i] > 'Z')
            return {};
    return name.left(7);
}

} // namespace

Pdf_Font_Tag_Device::Pdf_Font_Tag_Device(QIODevice* target, QObject* parent) : QIODevice(parent), m_target(target)
{
    open(QIODevice::WriteOnly);
}

Pdf_Font_Tag_Device::~Pdf_Font_Tag_Device()
{
    if (isOpen())
        close();
}

void Pdf_Font_Tag_Device::put(const QByteArray& bytes)
{
    if (m_ok && m_target->write(bytes) != bytes.size())
        m_ok = false;
}

qint64 Pdf_Font_Tag_Device::shifted(qint64 offset) const
{
    qint64 added = 0;
    for (const auto& [at, n] : m_inserted)
        if (at < offset)
            added += n;
    return offset + added;
}

void Pdf_Font_Tag_Device::takeLine(QByteArray line)
{
    const qint64 start = m_in;
    m_in += line.size();
    if (m_xref) {
        // Entries "oooooooooo ggggg n" and the offset after "startxref"
        // move by what was added before the place they name.
        const QByteArray body = line.trimmed();
        if (m_startxref) {
            bool ok = false;
            const qint64 offset = body.toLongLong(&ok);
            if (ok)
                line = QByteArray::number(shifted(offset)) + line.mid(line.indexOf(body) + body.size());
            m_startxref = false;
        } else if (body == "startxref") {
            m_startxref = true;
        } else if (body.size() == 18 && body[10] == ' ' && body[16] == ' ' && body[17] == 'n') {
            bool ok = false;
            const qint64 offset = body.left(10).toLongLong(&ok);
            if (ok)
                line = QByteArray::number(shifted(offset)).rightJustified(10, '0') + line.mid(10);
        }
        put(line);
        return;
    }
    if (line == "xref\n" || line == "xref\r\n") {
        m_xref = true;
        put(line);
        return;
    }
    qsizetype at = 0;
    const QByteArray described = nameAfter(line, "/FontName /", &at);
    if (!described.isEmpty()) {
        const QByteArray tag = tagOf(described);
        if (!tag.isEmpty())
            m_tags.insert(described.mid(7), tag);
    } else {
        const QByteArray name = nameAfter(line, "/BaseFont /", &at);
        const auto found = name.isEmpty() || !tagOf(name).isEmpty() ? m_tags.cend() : m_tags.constFind(name);
        if (found != m_tags.cend()) {
            line.insert(at, found.value());
            m_inserted.append({start + at, int(found.value().size())});
        }
    }
    put(line);
}

qint64 Pdf_Font_Tag_Device::writeData(const char* data, qint64 len)
{
    qint64 from = 0;
    while (from < len) {
        const char* nl = static_cast<const char*>(memchr(data + from, '\n', size_t(len - from)));
        const qint64 end = nl ? nl - data + 1 : len;
        m_line.append(data + from, end - from);
        from = end;
        if (nl) {
            QByteArray line;
            line.swap(m_line);
            takeLine(std::move(line));
        }
    }
    return m_ok ? len : -1;
}

void Pdf_Font_Tag_Device::close()
{
    if (!isOpen())
        return;
    if (!m_line.isEmpty()) {
        // The last line, without its line break.
        QByteArray line;
        line.swap(m_line);
        takeLine(std::move(line));
    }
    QIODevice::close();
}

bool Tag_Pdf_Font_Subsets(const QString& path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    Pdf_Font_Tag_Device tags(&out);
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() || tags.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    tags.close();
    if (!tags.ok()) {
        out.cancelWriting();
        return false;
    }
    in.close();
    return out.commit();
}
