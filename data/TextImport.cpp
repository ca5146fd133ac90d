#include "data/TextImport.h"

#include "core/util/Helpers.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
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
    Line_Stream_Splitter splitter;
    std::vector<Text_Line> lines;
    splitter.feed(text, lines);
    splitter.finish(lines);
    QStringList out;
    out.reserve(qsizetype(lines.size()));
    for (Text_Line& l : lines)
        out << std::move(l.text);
    return out;
}

QList<QStringList> Parse_CSV(const QString& text)
{
    Csv_Stream_Parser parser;
    std::vector<Csv_Record> records;
    parser.feed(text, records);
    parser.finish(records);
    QList<QStringList> out;
    out.reserve(qsizetype(records.size()));
    for (Csv_Record& r : records)
        out << std::move(r.fields);
    return out;
}

// ---------------------------------------------------------------- lines

void Line_Stream_Splitter::feed(QStringView text, std::vector<Text_Line>& out)
{
    const qsizetype n = text.size();
    qsizetype start = 0;
    auto keep = [&](qsizetype from, qsizetype to) {
        if (m_tooLong || to <= from)
            return;
        if (m_max >= 0 && m_line.size() + (to - from) > m_max) {
            m_tooLong = true;
            m_line.clear();
            return;
        }
        // A line within one piece is made at its size (an append would
        // leave room to grow, kept by the value for as long as it lives).
        if (m_line.isEmpty())
            m_line = text.mid(from, to - from).toString();
        else
            m_line.append(text.mid(from, to - from));
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\n') && m_afterCR) {
            m_afterCR = false;
            start = i + 1;
            continue;
        }
        m_afterCR = false;
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            keep(start, i);
            out.push_back(Text_Line{std::move(m_line), m_tooLong});
            m_line = QString();
            m_tooLong = false;
            m_afterCR = c == QLatin1Char('\r');
            start = i + 1;
        }
    }
    keep(start, n);
}

void Line_Stream_Splitter::finish(std::vector<Text_Line>& out)
{
    if (!m_line.isEmpty() || m_tooLong)
        out.push_back(Text_Line{std::move(m_line), m_tooLong});
    m_line = QString();
    m_tooLong = false;
    m_afterCR = false;
}

// ---------------------------------------------------------------- CSV

void Csv_Stream_Parser::endField()
{
    if (!m_record.tooLong)
        m_record.fields << m_field;
    m_field.clear();
    m_wasQuoted = false;
}

void Csv_Stream_Parser::endRecord(std::vector<Csv_Record>& out)
{
    endField();
    if (m_record.tooLong)
        m_record.fields.clear();
    out.push_back(std::move(m_record));
    m_record = Csv_Record();
    m_record.line = m_line;
    m_pending = false;
}

void Csv_Stream_Parser::feed(QStringView text, std::vector<Csv_Record>& out)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const bool lineBreak = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        if (c == QLatin1Char('\n') && m_afterCR) {
            // The "\n" of a "\r\n" whose "\r" ended a record (or stands in a field).
            m_afterCR = false;
            if (m_quoted && !m_quoteSeen && !m_record.tooLong)
                m_field += c;
            continue;
        }
        m_afterCR = c == QLatin1Char('\r');
        if (lineBreak)
            ++m_line;
        if (m_quoteSeen) {
            m_quoteSeen = false;
            if (c == QLatin1Char('"')) {
                m_field += c;
                continue;
            }
            m_quoted = false;   // that quote closed the field; this character is read as unquoted
        }
        if (m_quoted) {
            if (c == QLatin1Char('"')) {
                m_quoteSeen = true;
            } else if (!m_record.tooLong) {
                m_field += c;
            }
        } else if (c == QLatin1Char('"') && m_field.isEmpty() && !m_wasQuoted) {
            m_quoted = m_wasQuoted = m_pending = true;
            m_quoteLine = m_line;
        } else if (c == QLatin1Char(',')) {
            endField();
            m_pending = true;
        } else if (lineBreak) {
            endRecord(out);
        } else {
            if (!m_record.tooLong)
                m_field += c;
            m_pending = true;
        }
        if (m_max >= 0 && m_field.size() > m_max) {
            m_record.tooLong = true;
            m_field.clear();
        }
    }
}

void Csv_Stream_Parser::finish(std::vector<Csv_Record>& out)
{
    if (m_quoteSeen) {
        m_quoteSeen = false;
        m_quoted = false;
    }
    m_endedQuoted = m_quoted;
    if (m_pending || !m_field.isEmpty())
        endRecord(out);
    m_quoted = false;
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
    constexpr size_t kMaxRtfDepth = 4096;
    long long deeper = 0;
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
            // Groups nested deeper than any document needs are counted, not kept.
            if (groups.size() < kMaxRtfDepth)
                groups.push_back(groups.back());
            else
                ++deeper;
            skipChars = 0;
            ++i;
        } else if (c == '}') {
            if (deeper > 0)
                --deeper;
            else if (groups.size() > 1)
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
                    if (number < 100000000000LL)
                        number = number * 10 + (p[i] - '0');
                    hasNumber = true;
                    ++i;
                }
                if (negative)
                    number = -number;
                if (i < n && p[i] == ' ')
                    ++i;  // the delimiter belongs to the word
                if (word == "bin") {
                    // Binary data of N bytes follows: it is no text (a huge N
                    // ends the document).
                    const long long skip = hasNumber && number > 0 ? number : 0;
                    i = skip >= n - i ? n : i + qsizetype(skip);
                } else if (word == "par" || word == "line" || word == "row" || word == "sect" || word == "page") {
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

bool Decode_Text_File(const QByteArray& bytes, QString* text, QString* note)
{
    Text_Encoding_Probe probe;
    probe.feed(bytes);
    const Text_Encoding encoding = probe.result();
    if (encoding == Text_Encoding::NotText)
        return false;
    Text_Stream_Decoder decoder(encoding);
    *text = decoder.decode(bytes.constData(), bytes.size());
    *text += decoder.finish();
    if (note)
        *note = Text_Decoding_Note(decoder);
    return true;
}

// ---------------------------------------------------------------- encodings

void Text_Encoding_Probe::feed(const char* data, qsizetype size)
{
    if (!m_headDone) {
        m_head.append(data, std::min<qsizetype>(size, 4 - m_head.size()));
        if (m_head.size() >= 4 || size == 0)
            m_headDone = true;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype k = 0; k < size; ++k) {
        const unsigned b = p[k];
        if (b == 0)
            ((m_size + k) % 2 == 0 ? m_nulEven : m_nulOdd)++;
        if (m_utf8Pending > 0) {
            bool ok = (b & 0xC0) == 0x80;
            if (ok && m_utf8Seen == 0) {
                // The second byte of these leads has a narrower range.
                if (m_utf8Lead == 0xE0) ok = b >= 0xA0;
                else if (m_utf8Lead == 0xED) ok = b <= 0x9F;
                else if (m_utf8Lead == 0xF0) ok = b >= 0x90;
                else if (m_utf8Lead == 0xF4) ok = b <= 0x8F;
            }
            if (ok) {
                ++m_utf8Seen;
                if (--m_utf8Pending == 0)
                    ++m_multibyte;
                continue;
            }
            // The sequence ends here unfinished; this byte starts afresh.
            m_utf8Pending = 0;
            ++m_invalid;
        }
        if (b < 0x80) {
            if (b == '\n') {
                if (!m_afterCR)
                    ++m_line;
            } else if (b == '\r') {
                ++m_line;
            }
            m_afterCR = b == '\r';
            continue;
        }
        m_afterCR = false;
        m_utf8Lead = b;
        m_utf8Seen = 0;
        if (b >= 0xC2 && b <= 0xDF)
            m_utf8Pending = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            m_utf8Pending = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            m_utf8Pending = 3;
        else
            ++m_invalid;
    }
    m_size += size;
}

qint64 Text_Encoding_Probe::lines() const
{
    return m_size == 0 ? 0 : m_line;
}

Text_Encoding Text_Encoding_Probe::result() const
{
    const QByteArray& h = m_head;
    auto startsWith = [&h](const char* mark, int n) { return h.size() >= n && memcmp(h.constData(), mark, size_t(n)) == 0; };
    if (startsWith("\xFF\xFE\x00\x00", 4)) { m_bomLength = 4; return Text_Encoding::Utf32LE; }
    if (startsWith("\x00\x00\xFE\xFF", 4)) { m_bomLength = 4; return Text_Encoding::Utf32BE; }
    if (startsWith("\xEF\xBB\xBF", 3)) { m_bomLength = 3; return Text_Encoding::Utf8; }
    if (startsWith("\xFF\xFE", 2)) { m_bomLength = 2; return Text_Encoding::Utf16LE; }
    if (startsWith("\xFE\xFF", 2)) { m_bomLength = 2; return Text_Encoding::Utf16BE; }
    m_bomLength = 0;
    const qint64 nul = m_nulEven + m_nulOdd;
    if (nul > 0) {
        // UTF-16 without a mark: mostly Latin text has a NUL in every other byte.
        if (m_size % 2 == 0 && nul * 8 >= m_size) {
            if (m_nulEven == 0)
                return Text_Encoding::Utf16LE;
            if (m_nulOdd == 0)
                return Text_Encoding::Utf16BE;
        }
        return Text_Encoding::NotText;
    }
    // A sequence cut by the end of the file counts as invalid too.
    const bool clean = m_invalid == 0 && m_utf8Pending == 0;
    if (clean || m_multibyte > 0)
        return Text_Encoding::Utf8;
    return Text_Encoding::Windows1252;
}

QString Text_Decoding_Note(const Text_Stream_Decoder& decoder)
{
    if (decoder.encoding() == Text_Encoding::NotText || decoder.badLines() == 0)
        return {};
    const char* what = "bytes that are not UTF-8";
    switch (decoder.encoding()) {
    case Text_Encoding::Utf16LE:
    case Text_Encoding::Utf16BE: what = "bytes that are not UTF-16 (a surrogate without its partner)"; break;
    case Text_Encoding::Utf32LE:
    case Text_Encoding::Utf32BE: what = "bytes that are not UTF-32"; break;
    case Text_Encoding::Windows1252: what = "bytes that Windows-1252 does not define"; break;
    default: break;
    }
    QStringList lines;
    for (qint64 line : decoder.firstBadLines())
        lines << QString::number(line);
    const qint64 more = decoder.badLines() - lines.size();
    if (decoder.badLines() == 1)
        return QStringLiteral("Line %1 holds %2: they were read as \uFFFD.").arg(lines.first(), QLatin1String(what));
    QString named;
    if (more > 0)
        named = lines.join(QStringLiteral(", ")) + QStringLiteral(" and %1 more lines").arg(more);
    else
        named = lines.mid(0, lines.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + lines.last();
    return QStringLiteral("Lines %1 hold %2: they were read as \uFFFD.").arg(named, QLatin1String(what));
}

Text_Stream_Decoder::Text_Stream_Decoder(Text_Encoding encoding) : m_encoding(encoding) {}

void Text_Stream_Decoder::invalid()
{
    if (m_lastBadLine == m_line)
        return;
    m_lastBadLine = m_line;
    ++m_badLines;
    if (m_firstBad.size() < Bad_Lines_Named)
        m_firstBad << m_line;
}

// Writes one character and counts the line breaks ("\r\n" is one).
void Text_Stream_Decoder::put(char16_t*& out, char32_t c)
{
    if (m_start) {
        m_start = false;
        if (c == 0xFEFF)
            return;  // the byte-order mark
    }
    if (c == u'\n') {
        if (!m_afterCR)
            ++m_line;
        m_afterCR = false;
    } else if (c == u'\r') {
        ++m_line;
        m_afterCR = true;
    } else {
        m_afterCR = false;
    }
    if (c >= 0x10000) {
        *out++ = char16_t(0xD800 + ((c - 0x10000) >> 10));
        *out++ = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        *out++ = char16_t(c);
    }
}

void Text_Stream_Decoder::unit16(char16_t*& out, char16_t u)
{
    if (m_pendingHigh) {
        const char16_t high = m_pendingHigh;
        m_pendingHigh = 0;
        if (u >= 0xDC00 && u <= 0xDFFF) {
            put(out, 0x10000 + ((char32_t(high) - 0xD800) << 10) + (u - 0xDC00));
            return;
        }
        invalid();
        put(out, 0xFFFD);
    }
    if (u >= 0xD800 && u <= 0xDBFF) {
        m_pendingHigh = u;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
        invalid();
        put(out, 0xFFFD);
    } else {
        put(out, u);
    }
}

QString Text_Stream_Decoder::decode(const char* data, qsizetype size)
{
    if (m_encoding == Text_Encoding::NotText || size <= 0)
        return {};
    // At most one UTF-16 unit per byte, and two for a kept-back character
    // that ends here.
    QString text(size + 2, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* const end = p + size;
    switch (m_encoding) {
    case Text_Encoding::Utf8:
        while (p < end) {
            const unsigned char b = *p;
            if (m_need > 0) {
                if (b >= m_low && b <= m_high) {
                    m_cp = (m_cp << 6) | (b & 0x3F);
                    m_low = 0x80;
                    m_high = 0xBF;
                    ++p;
                    if (--m_need == 0)
                        put(out, m_cp);
                    continue;
                }
                // The sequence ends unfinished here; this byte starts afresh.
                m_need = 0;
                invalid();
                put(out, 0xFFFD);
            }
            if (b < 0x80) {
                // A run of plain characters: only line breaks need a look.
                if (b == '\n' || b == '\r' || m_start) {
                    put(out, b);
                    ++p;
                    continue;
                }
                m_afterCR = false;
                do {
                    *out++ = *p++;
                } while (p < end && *p < 0x80 && *p != '\n' && *p != '\r');
                continue;
            }
            ++p;
            m_low = 0x80;
            m_high = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                m_need = 1;
                m_cp = b & 0x1F;
            } else if (b >= 0xE0 && b <= 0xEF) {
                m_need = 2;
                m_cp = b & 0x0F;
                if (b == 0xE0)
                    m_low = 0xA0;
                else if (b == 0xED)
                    m_high = 0x9F;  // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                m_need = 3;
                m_cp = b & 0x07;
                if (b == 0xF0)
                    m_low = 0x90;
                else if (b == 0xF4)
                    m_high = 0x8F;  // nothing past U+10FFFF
            } else {
                invalid();
                put(out, 0xFFFD);
            }
        }
        break;
    case Text_Encoding::Utf16LE:
    case Text_Encoding::Utf16BE: {
        const bool big = m_encoding == Text_Encoding::Utf16BE;
        for (; p < end; ++p) {
            m_bytes[m_have++] = *p;
            if (m_have < 2)
                continue;
            m_have = 0;
            unit16(out, big ? char16_t(m_bytes[0] << 8 | m_bytes[1]) : char16_t(m_bytes[1] << 8 | m_bytes[0]));
        }
        break;
    }
    case Text_Encoding::Utf32LE:
    case Text_Encoding::Utf32BE: {
        const bool big = m_encoding == Text_Encoding::Utf32BE;
        for (; p < end; ++p) {
            m_bytes[m_have++] = *p;
            if (m_have < 4)
                continue;
            m_have = 0;
            const unsigned char* u = m_bytes;
            const char32_t c = big ? char32_t(u[0]) << 24 | char32_t(u[1]) << 16 | char32_t(u[2]) << 8 | u[3]
                                   : char32_t(u[3]) << 24 | char32_t(u[2]) << 16 | char32_t(u[1]) << 8 | u[0];
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
                invalid();
                put(out, 0xFFFD);
            } else {
                put(out, c);
            }
        }
        break;
    }
    case Text_Encoding::Windows1252:
        for (; p < end; ++p) {
            const QChar c = cp1252(*p);
            if (c.unicode() == 0xFFFD)
                invalid();
            put(out, c.unicode());
        }
        break;
    case Text_Encoding::NotText:
        break;
    }
    text.truncate(qsizetype(out - begin));
    return text;
}

QString Text_Stream_Decoder::finish()
{
    QString text(2, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    // What the end cut off: an unfinished UTF-8 sequence, a surrogate
    // still waiting for its partner, or part of a UTF-16 or UTF-32 unit.
    if (m_need > 0 || m_pendingHigh || m_have > 0) {
        invalid();
        put(out, 0xFFFD);
    }
    m_need = 0;
    m_pendingHigh = 0;
    m_have = 0;
    text.truncate(qsizetype(out - begin));
    return text;
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
