#include "data/TextImport.h"

#include "core/util/Helpers.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <vector>

namespace {

// Windows-1252 at 0x80..0x9F (0 where the code page has no character).
const char16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

QChar cp1252(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return QChar(kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : char16_t(0xFFFD));
    return QChar(char16_t(b));
}

QString decodeCp1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += cp1252(static_cast<unsigned char>(c));
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Groups whose text is not part of the document's text.
bool hiddenDestination(const QByteArray& word)
{
    static const char* const names[] = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "headerl", "headerr", "headerf",
        "footer", "footerl", "footerr", "footerf", "listtable", "listoverridetable", "rsidtbl", "generator",
        "xmlnstbl", "themedata", "colorschememapping", "latentstyles", "datastore", "object", "fldinst",
        "filetbl", "revtbl", "footnote", "annotation", "nonshppict", "shpinst", "bkmkstart", "bkmkend",
        "mmathPr", "pgdsctbl", "operator", "author", "title", "comment"};
    for (const char* n : names)
        if (word == n)
            return true;
    return false;
}

} // namespace

QStringList Split_Text_Lines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

QList<QStringList> Parse_CSV(const QString& text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the field began with a quote
    bool pending = false;     // something of the current record was seen
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = pending = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            wasQuoted = false;
            pending = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            record << field;
            records << record;
            record.clear();
            field.clear();
            wasQuoted = pending = false;
        } else {
            field += c;
            pending = true;
        }
    }
    if (pending || !field.isEmpty()) {
        record << field;
        records << record;
    }
    return records;
}

QString Rtf_To_Plain_Text(const QByteArray& rtf, bool* ok)
{
    const char* p = rtf.constData();
    const qsizetype n = rtf.size();
    qsizetype i = 0;
    while (i < n && (p[i] == ' ' || p[i] == '\r' || p[i] == '\n' || p[i] == '\t'))
        ++i;
    if (!rtf.mid(i, 5).startsWith("{\\rtf")) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;

    struct Group {
        bool hidden = false;
        int ucSkip = 1;
    };
    std::vector<Group> groups{Group{}};
    QString out;
    int skipChars = 0;  // fallback characters after \uN still to drop
    auto put = [&](QChar c) {
        if (skipChars > 0) {
            --skipChars;
            return;
        }
        if (!groups.back().hidden)
            out += c;
    };
    while (i < n) {
        const char c = p[i];
        if (c == '{') {
            groups.push_back(groups.back());
            skipChars = 0;
            ++i;
        } else if (c == '}') {
            if (groups.size() > 1)
                groups.pop_back();
            skipChars = 0;
            ++i;
        } else if (c == '\\') {
            ++i;
            if (i >= n)
                break;
            const char d = p[i];
            if (d == '\\' || d == '{' || d == '}') {
                put(QLatin1Char(d));
                ++i;
            } else if (d == '\'') {
                const int hi = i + 1 < n ? hexDigit(p[i + 1]) : -1;
                const int lo = i + 2 < n ? hexDigit(p[i + 2]) : -1;
                if (hi >= 0 && lo >= 0) {
                    put(cp1252(static_cast<unsigned char>(hi * 16 + lo)));
                    i += 3;
                } else {
                    ++i;
                }
            } else if (d == '*') {
                groups.back().hidden = true;
                ++i;
            } else if (d == '~') {
                put(QChar(0x00A0));
                ++i;
            } else if (d == '_') {
                put(QLatin1Char('-'));
                ++i;
            } else if (d == '\n' || d == '\r') {
                put(QLatin1Char('\n'));
                ++i;
            } else if ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z')) {
                const qsizetype start = i;
                while (i < n && ((p[i] >= 'a' && p[i] <= 'z') || (p[i] >= 'A' && p[i] <= 'Z')) && i - start < 32)
                    ++i;
                const QByteArray word(p + start, i - start);
                bool hasNumber = false;
                bool negative = false;
                long long number = 0;
                if (i < n && p[i] == '-') {
                    negative = true;
                    ++i;
                }
                while (i < n && p[i] >= '0' && p[i] <= '9') {
                    if (number < 100000000)
                        number = number * 10 + (p[i] - '0');
                    hasNumber = true;
                    ++i;
                }
                if (negative)
                    number = -number;
                if (i < n && p[i] == ' ')
                    ++i;  // the delimiter belongs to the word
                if (word == "par" || word == "line" || word == "row" || word == "sect" || word == "page") {
                    put(QLatin1Char('\n'));
                } else if (word == "tab" || word == "cell") {
                    put(QLatin1Char('\t'));
                } else if (word == "u" && hasNumber) {
                    const long long code = number < 0 ? number + 65536 : number;
                    put(QChar(char16_t(code & 0xFFFF)));
                    skipChars = groups.back().ucSkip;
                } else if (word == "bin" && hasNumber) {
                    // Raw bytes (of a picture): not text, and any brace in them is no group.
                    i += qsizetype(std::clamp<long long>(number, 0, n - i));
                } else if (word == "uc" && hasNumber) {
                    groups.back().ucSkip = int(std::clamp<long long>(number, 0, 16));
                } else if (word == "emdash") {
                    put(QChar(0x2014));
                } else if (word == "endash") {
                    put(QChar(0x2013));
                } else if (word == "bullet") {
                    put(QChar(0x2022));
                } else if (word == "lquote") {
                    put(QChar(0x2018));
                } else if (word == "rquote") {
                    put(QChar(0x2019));
                } else if (word == "ldblquote") {
                    put(QChar(0x201C));
                } else if (word == "rdblquote") {
                    put(QChar(0x201D));
                } else if (hiddenDestination(word)) {
                    groups.back().hidden = true;
                }
            } else {
                ++i;  // an unknown control symbol
            }
        } else if (c == '\r' || c == '\n') {
            ++i;  // raw line ends are not text in RTF
        } else {
            put(cp1252(static_cast<unsigned char>(c)));
            ++i;
        }
    }
    return out;
}

bool Decode_Text_File(const QByteArray& bytes, QString* text)
{
    const auto bom = QStringConverter::encodingForData(bytes);
    if (bom && *bom != QStringConverter::Utf8) {
        QStringDecoder decoder(*bom);
        *text = decoder.decode(bytes);
        return !decoder.hasError();
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError()) {
        *text = decoded;
        return !bytes.contains('\0');
    }
    if (bytes.contains('\0'))
        return false;
    *text = decodeCp1252(bytes);
    return true;
}

Import_File_Kind Import_Kind_For_Path(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (ext == QLatin1String("CSV"))
        return Import_File_Kind::CSV;
    if (ext == QLatin1String("RTF"))
        return Import_File_Kind::RTF;
    return Import_File_Kind::Text;
}

QStringList Import_Values_From_Bytes(const QByteArray& bytes, Import_File_Kind kind, bool* ok)
{
    if (ok)
        *ok = false;
    QString text;
    if (kind == Import_File_Kind::RTF) {
        bool rtf = false;
        text = Rtf_To_Plain_Text(bytes, &rtf);
        if (!rtf)
            return {};
    } else if (!Decode_Text_File(bytes, &text)) {
        return {};
    }
    if (ok)
        *ok = true;
    QStringList values;
    if (kind == Import_File_Kind::CSV) {
        for (const QStringList& record : Parse_CSV(text))
            for (const QString& field : record) {
                const QString v = Trim_Str(field);
                if (!v.isEmpty())
                    values << v;
            }
        return values;
    }
    for (const QString& line : Split_Text_Lines(text)) {
        const QString v = Trim_Str(line);
        if (!v.isEmpty())
            values << v;
    }
    return values;
}

bool Import_Values_From_File(const QString& path, QStringList* values, QString* error)
{
    const QString invalid = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
    QFile file(path);
    // Text files larger than this are not value lists.
    if (!file.open(QIODevice::ReadOnly) || file.size() > (qint64(256) << 20)) {
        if (error)
            *error = invalid;
        return false;
    }
    bool ok = false;
    const QStringList v = Import_Values_From_Bytes(file.readAll(), Import_Kind_For_Path(path), &ok);
    if (!ok) {
        if (error)
            *error = invalid;
        return false;
    }
    if (values)
        *values = v;
    return true;
}
