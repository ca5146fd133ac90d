#include "data/XmlStream.h"

#include <QLocale>
#include <QStringDecoder>

#include <algorithm>
#include <string_view>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Where the local part of a name begins (after its last ':'), counted from its start.
size_t localStart(const char* name, size_t size)
{
    for (size_t i = size; i > 0; --i)
        if (name[i - 1] == ':')
            return i;
    return 0;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

// Converts a part that is not in UTF-8 into UTF-8, piece by piece. A
// character cut by the end of a piece is kept back and finished with the
// next, so the text never depends on where the pieces end.
class Xml_Part_Decoder {
public:
    virtual ~Xml_Part_Decoder() = default;
    // Appends the UTF-8 of the bytes; with `last`, bytes of an unfinished
    // character become U+FFFD.
    virtual void decode(const char* data, qsizetype size, bool last, std::string& out) = 0;
};

namespace {

class Utf16_Decoder : public Xml_Part_Decoder {
public:
    explicit Utf16_Decoder(bool bigEndian) : m_big(bigEndian) {}
    void decode(const char* data, qsizetype size, bool last, std::string& out) override
    {
        const auto* p = reinterpret_cast<const unsigned char*>(data);
        const auto* end = p + size;
        out.reserve(out.size() + size_t(size) * 3 / 2);
        for (; p < end; ++p) {
            if (!m_haveByte) {
                m_byte = *p;
                m_haveByte = true;
                continue;
            }
            m_haveByte = false;
            const char16_t u = m_big ? char16_t(m_byte << 8 | *p) : char16_t(*p << 8 | m_byte);
            unit(u, out);
        }
        if (last) {
            if (m_high)
                appendUtf8(out, 0xFFFD);
            if (m_haveByte)
                appendUtf8(out, 0xFFFD);
            m_high = 0;
            m_haveByte = false;
        }
    }

private:
    void unit(char16_t u, std::string& out)
    {
        if (m_high) {
            if (u >= 0xDC00 && u <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t(m_high) - 0xD800) << 10) + (u - 0xDC00));
                m_high = 0;
                return;
            }
            appendUtf8(out, 0xFFFD);  // a high surrogate without its partner
            m_high = 0;
        }
        if (u >= 0xD800 && u <= 0xDBFF)
            m_high = u;
        else
            appendUtf8(out, u);  // a lone low surrogate becomes U+FFFD there
    }
    bool m_big;
    bool m_haveByte = false;
    unsigned char m_byte = 0;
    char16_t m_high = 0;
};

class Utf32_Decoder : public Xml_Part_Decoder {
public:
    explicit Utf32_Decoder(bool bigEndian) : m_big(bigEndian) {}
    void decode(const char* data, qsizetype size, bool last, std::string& out) override
    {
        const auto* p = reinterpret_cast<const unsigned char*>(data);
        for (qsizetype i = 0; i < size; ++i) {
            m_bytes[m_have++] = p[i];
            if (m_have < 4)
                continue;
            m_have = 0;
            const char32_t c = m_big ? char32_t(m_bytes[0]) << 24 | char32_t(m_bytes[1]) << 16 | char32_t(m_bytes[2]) << 8 | m_bytes[3]
                                     : char32_t(m_bytes[3]) << 24 | char32_t(m_bytes[2]) << 16 | char32_t(m_bytes[1]) << 8 | m_bytes[0];
            appendUtf8(out, c);
        }
        if (last && m_have > 0) {
            appendUtf8(out, 0xFFFD);
            m_have = 0;
        }
    }

private:
    bool m_big;
    unsigned char m_bytes[4] = {};
    int m_have = 0;
};

class Latin1_Decoder : public Xml_Part_Decoder {
public:
    void decode(const char* data, qsizetype size, bool, std::string& out) override
    {
        for (qsizetype i = 0; i < size; ++i)
            appendUtf8(out, static_cast<unsigned char>(data[i]));
    }
};

// Any other encoding the platform knows by name. The bytes go to its
// converter only up to a '<', '>' or line feed, which no multi-byte
// encoding uses inside a character, so no character is ever cut.
class Named_Decoder : public Xml_Part_Decoder {
public:
    explicit Named_Decoder(std::unique_ptr<QStringDecoder> decoder) : m_decoder(std::move(decoder)) {}
    void decode(const char* data, qsizetype size, bool last, std::string& out) override
    {
        m_carry.append(data, size_t(size));
        size_t cut = m_carry.size();
        if (!last) {
            const size_t at = m_carry.find_last_of("<>\n");
            // A run without any of them (a long text) is given whole once it is large.
            cut = at == std::string::npos ? (m_carry.size() > (size_t(1) << 20) ? m_carry.size() : 0) : at + 1;
        }
        if (cut == 0)
            return;
        const QString text = m_decoder->decode(QByteArrayView(m_carry.data(), qsizetype(cut)));
        const QByteArray utf8 = text.toUtf8();
        out.append(utf8.constData(), size_t(utf8.size()));
        m_carry.erase(0, cut);
    }

private:
    std::unique_ptr<QStringDecoder> m_decoder;
    std::string m_carry;
};

// The reference at `p` (just after its '&'), decoded into `out`; the
// position after its ';', or nullptr when it is no reference we know.
const char* decodeReference(const char* p, const char* end, std::string& out)
{
    const char* semi = static_cast<const char*>(std::memchr(p, ';', size_t(std::min<qsizetype>(end - p, 12))));
    if (!semi)
        return nullptr;
    const std::string_view name(p, size_t(semi - p));
    if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "amp") out += '&';
    else if (name == "quot") out += '"';
    else if (name == "apos") out += '\'';
    else if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const size_t first = hex ? 2 : 1;
        if (first >= name.size())
            return nullptr;
        char32_t v = 0;
        for (size_t i = first; i < name.size(); ++i) {
            const char c = name[i];
            int d = -1;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0)
                return nullptr;
            v = v * (hex ? 16 : 10) + char32_t(d);
            if (v > 0x10FFFF)
                v = 0x110000;
        }
        appendUtf8(out, v);
    } else {
        return nullptr;
    }
    return semi + 1;
}

// Text or an attribute value with its references decoded and its line ends
// made "\n" (in an attribute every white space character becomes a space).
void decodeInto(const char* p, const char* end, std::string& out, bool attribute)
{
    // Most values hold nothing to decode.
    const char* q = p;
    while (q < end && (static_cast<unsigned char>(*q) > '&' || (*q != '&' && *q != '\r' && *q != '\n' && *q != '\t')))
        ++q;
    out.append(p, size_t(q - p));
    p = q;
    while (p < end) {
        const char c = *p;
        if (c == '&') {
            if (const char* after = decodeReference(p + 1, end, out)) {
                p = after;
                continue;
            }
            out += '&';  // no reference: the '&' itself
        } else if (c == '\r') {
            if (p + 1 < end && p[1] == '\n')
                ++p;
            out += attribute ? ' ' : '\n';
        } else if (attribute && (c == '\n' || c == '\t')) {
            out += ' ';
        } else {
            out += c;
        }
        ++p;
    }
}

// Where a text that reaches the end of what has arrived can be handed on:
// before a reference or a "\r" that the next piece may complete.
const char* safeTextEnd(const char* p, const char* end)
{
    const char* stop = end;
    if (stop > p && stop[-1] == '\r')
        --stop;
    for (const char* q = stop; q > p && stop - q < 12;) {
        --q;
        if (*q == ';')
            break;
        if (*q == '&') {
            stop = q;
            break;
        }
    }
    return stop;
}

QString grouped(qint64 n)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return c.toString(n);
}

} // namespace

Xml_Stream::Xml_Stream(Xml_Stream_Handler& handler) : m_handler(handler) {}

Xml_Stream::~Xml_Stream() = default;

bool Xml_Stream::fail(const QString& why, const char* at)
{
    if (!m_failed) {
        m_failed = true;
        m_error = at ? QStringLiteral("%1 at byte %2").arg(why, grouped(m_consumed + (at - m_buffer.data()) + 1))
                     : why;
    }
    return false;
}

bool Xml_Stream::feed(const char* data, qsizetype size, bool last)
{
    if (m_failed || m_stopped)
        return false;
    if (!m_encodingKnown) {
        m_raw.append(data, size_t(size));
        if (m_raw.size() < 512 && !last)
            return true;
        return decideEncoding(last);
    }
    return push(data, size, last);
}

// The encoding of a part: its byte-order mark, the look of its first
// characters, else what its declaration names (UTF-8 when it names none).
bool Xml_Stream::decideEncoding(bool last)
{
    m_encodingKnown = true;
    const std::string raw = std::move(m_raw);
    m_raw.clear();
    auto starts = [&raw](const char* bytes, size_t n) { return raw.size() >= n && std::memcmp(raw.data(), bytes, n) == 0; };
    size_t skip = 0;
    if (starts("\xEF\xBB\xBF", 3)) {
        skip = 3;
    } else if (starts("\xFF\xFE\0\0", 4) || starts("<\0\0\0", 4)) {
        m_decoder = std::make_unique<Utf32_Decoder>(false);
        skip = starts("\xFF\xFE\0\0", 4) ? 4 : 0;
    } else if (starts("\0\0\xFE\xFF", 4) || starts("\0\0\0<", 4)) {
        m_decoder = std::make_unique<Utf32_Decoder>(true);
        skip = starts("\0\0\xFE\xFF", 4) ? 4 : 0;
    } else if (starts("\xFF\xFE", 2) || starts("<\0?\0", 4)) {
        m_decoder = std::make_unique<Utf16_Decoder>(false);
        skip = starts("\xFF\xFE", 2) ? 2 : 0;
    } else if (starts("\xFE\xFF", 2) || starts("\0<\0?", 4)) {
        m_decoder = std::make_unique<Utf16_Decoder>(true);
        skip = starts("\xFE\xFF", 2) ? 2 : 0;
    } else if (starts("<?xml", 5)) {
        // The declaration is looked for in the first 512 bytes only, however
        // many have arrived, so the pieces never change what it says.
        const std::string head = raw.substr(0, 512);
        const size_t close = head.find("?>");
        const std::string decl = head.substr(0, close == std::string::npos ? head.size() : close);
        const size_t at = decl.find("encoding");
        if (at != std::string::npos) {
            const size_t quote = decl.find_first_of("\"'", at);
            const size_t endQuote = quote == std::string::npos ? quote : decl.find(decl[quote], quote + 1);
            if (endQuote != std::string::npos) {
                const QByteArray name = QByteArray::fromStdString(decl.substr(quote + 1, endQuote - quote - 1)).toLower();
                // The encodings the platform reads itself (under any of the
                // names it knows them by): UTF-8 is read as it stands, and
                // so is a part that names UTF-16 or UTF-32 but, having no
                // mark and 8-bit markup, is not written in it.
                const auto known = QStringConverter::encodingForName(name.constData());
                if (known == QStringConverter::Latin1) {
                    m_decoder = std::make_unique<Latin1_Decoder>();
                } else if (!known) {
                    auto decoder = std::make_unique<QStringDecoder>(name.constData());
                    if (!decoder->isValid())
                        return fail(QStringLiteral("it is written in an encoding that cannot be read (%1)")
                                        .arg(QString::fromLatin1(name)),
                                    nullptr);
                    m_decoder = std::make_unique<Named_Decoder>(std::move(decoder));
                }
            }
        }
    }
    return push(raw.data() + skip, qsizetype(raw.size() - skip), last);
}

bool Xml_Stream::push(const char* data, qsizetype size, bool last)
{
    if (m_decoder)
        m_decoder->decode(data, size, last, m_buffer);
    else
        m_buffer.append(data, size_t(size));
    if (!parse(last))
        return false;
    if (qsizetype(m_buffer.size()) > Max_Token_Bytes)
        return fail(QStringLiteral("it holds a tag or comment longer than %1 MB").arg(Max_Token_Bytes >> 20),
                    nullptr);
    if (last) {
        if (!m_buffer.empty())
            return fail(QStringLiteral("it ends inside a tag"), nullptr);
        if (!m_rootSeen)
            return fail(QStringLiteral("it holds no element"), nullptr);
        if (m_depth > 0)
            return fail(QStringLiteral("it ends before its elements are closed"), nullptr);
    }
    return true;
}

bool Xml_Stream::nameWithinLimit(const char* p, const char* end)
{
    // The name starts after "<" or "</" and ends at white space, '/' or
    // '>'; a quote or a '<' ends it too, for the scan of the tag, which
    // judges them, to meet them in the same order whatever has arrived.
    const char* name = p + (p + 1 < end && p[1] == '/' ? 2 : 1);
    const char* limit = std::min(end, name + Max_Name_Bytes + 1);
    for (const char* q = name; q < limit; ++q)
        if (isSpace(*q) || *q == '/' || *q == '>' || *q == '<' || *q == '"' || *q == '\'')
            return true;
    if (limit - name > Max_Name_Bytes)
        return fail(QStringLiteral("an element name is longer than %1 KB").arg(Max_Name_Bytes >> 10), p);
    return true;
}

bool Xml_Stream::deliverText(const char* from, const char* to)
{
    if (from >= to)
        return true;
    if (m_depth == 0) {
        // Outside the document element only white space may stand.
        for (const char* p = from; p < to; ++p)
            if (!isSpace(*p))
                return fail(m_rootClosed ? QStringLiteral("text follows the document element")
                                         : QStringLiteral("text stands before the document element"),
                            p);
        return true;
    }
    const size_t n = size_t(to - from);
    if (!std::memchr(from, '&', n) && !std::memchr(from, '\r', n)) {
        m_handler.text(from, int(n));
        return true;
    }
    m_scratch.clear();
    decodeInto(from, to, m_scratch, false);
    m_handler.text(m_scratch.data(), int(m_scratch.size()));
    return true;
}

bool Xml_Stream::endTag(const char* from, const char* gt)
{
    const char* name = from + 2;
    const char* nameEnd = name;
    while (nameEnd < gt && !isSpace(*nameEnd))
        ++nameEnd;
    for (const char* p = nameEnd; p < gt; ++p)
        if (!isSpace(*p))
            return fail(QStringLiteral("a closing tag is not well-formed"), p);
    if (m_depth == 0)
        return fail(QStringLiteral("a closing tag has no element to close"), from);
    const std::string& open = m_open[size_t(m_depth - 1)];
    if (open.size() != size_t(nameEnd - name) || std::memcmp(open.data(), name, open.size()) != 0)
        return fail(QStringLiteral("mismatched tag"), from);
    --m_depth;
    if (m_depth == 0)
        m_rootClosed = true;
    m_handler.endElement(open.c_str() + m_localAt[size_t(m_depth)]);
    return true;
}

bool Xml_Stream::startTag(char* from, char* gt)
{
    char* p = from + 1;
    char* nameEnd = p;
    while (nameEnd < gt && !isSpace(*nameEnd) && *nameEnd != '/')
        ++nameEnd;
    if (nameEnd == p)
        return fail(QStringLiteral("a tag has no name"), from);
    if (m_depth == 0 && m_rootClosed)
        return fail(QStringLiteral("a second document element follows the first"), from);
    if (m_depth >= Max_Depth)
        return fail(QStringLiteral("its elements are nested deeper than %1 levels").arg(Max_Depth), from);
    // The attributes are read where they stand in the buffer, which is not
    // read again: each name and value ends in a '\0' written over the '='
    // (or the space) after the name and over the closing quote. The byte
    // before a name is a space, or the ':' of its prefix.
    m_attributes.clear();
    bool selfClosing = false;
    p = nameEnd;
    for (;;) {
        while (p < gt && isSpace(*p))
            ++p;
        if (p == gt)
            break;
        if (*p == '/') {
            if (p + 1 != gt)
                return fail(QStringLiteral("a tag is not well-formed"), p);
            selfClosing = true;
            break;
        }
        char* attrName = p;
        while (p < gt && !isSpace(*p) && *p != '=' && *p != '/')
            ++p;
        char* attrNameEnd = p;
        while (p < gt && isSpace(*p))
            ++p;
        if (attrName == attrNameEnd || p == gt || *p != '=')
            return fail(QStringLiteral("an attribute has no value"), p);
        ++p;
        while (p < gt && isSpace(*p))
            ++p;
        if (p == gt || (*p != '"' && *p != '\''))
            return fail(QStringLiteral("an attribute value is not in quotes"), p);
        const char quote = *p++;
        char* value = p;
        char* valueEnd = static_cast<char*>(std::memchr(value, quote, size_t(gt - value)));
        if (!valueEnd)
            return fail(QStringLiteral("an attribute value is not closed"), value);
        if (std::memchr(value, '<', size_t(valueEnd - value)))
            return fail(QStringLiteral("an attribute value holds '<'"), value);
        p = valueEnd + 1;
        // Decoded, a value is never longer than written: it stays in place.
        const char* q = value;
        while (q < valueEnd && (static_cast<unsigned char>(*q) > '&' || (*q != '&' && *q != '\r' && *q != '\n' && *q != '\t')))
            ++q;
        if (q < valueEnd) {
            m_scratch.clear();
            decodeInto(value, valueEnd, m_scratch, true);
            std::memcpy(value, m_scratch.data(), m_scratch.size());
            valueEnd = value + m_scratch.size();
        }
        *valueEnd = '\0';
        *attrNameEnd = '\0';
        m_attributes.push_back(attrName + localStart(attrName, size_t(attrNameEnd - attrName)));
        m_attributes.push_back(value);
    }
    m_attributes.push_back(nullptr);

    if (size_t(m_depth) == m_open.size()) {
        m_open.emplace_back();
        m_localAt.push_back(0);
    }
    std::string& open = m_open[size_t(m_depth)];
    open.assign(from + 1, size_t(nameEnd - from - 1));
    m_localAt[size_t(m_depth)] = localStart(open.data(), open.size());
    const char* local = open.c_str() + m_localAt[size_t(m_depth)];
    ++m_depth;
    m_rootSeen = true;
    m_handler.startElement(local, m_attributes.data());
    if (selfClosing) {
        --m_depth;
        if (m_depth == 0)
            m_rootClosed = true;
        if (!m_stopped)
            m_handler.endElement(local);
    }
    return true;
}

bool Xml_Stream::parse(bool last)
{
    char* const begin = m_buffer.data();
    char* const end = begin + m_buffer.size();
    char* p = begin;
    bool ok = true;
    while (p < end && ok && !m_stopped) {
        m_position = m_consumed + (p - begin);
        if (*p != '<') {
            char* lt = static_cast<char*>(std::memchr(p, '<', size_t(end - p)));
            if (!lt)
                lt = end;
            char* stop = (lt == end && !last) ? const_cast<char*>(safeTextEnd(p, end)) : lt;
            ok = deliverText(p, stop);
            p = stop;
            if (stop < lt)
                break;  // the rest of the text comes with the next piece
            continue;
        }
        const std::string_view rest(p, size_t(end - p));
        auto need = [&](std::string_view prefix) {
            // True when the markup starts with `prefix`; a cut prefix waits.
            return rest.substr(0, prefix.size()) == prefix.substr(0, std::min(prefix.size(), rest.size()));
        };
        if (rest.size() < 2) {
            if (last)
                ok = fail(QStringLiteral("it ends inside a tag"), p);
            break;
        }
        // A token cut by the end of the last piece starts the buffer; its
        // scan goes on where it stopped.
        const size_t resume = p == begin ? m_scanned : 0;
        if (p[1] == '/' || (p[1] != '!' && p[1] != '?')) {
            // A tag: up to its '>' outside quotes, found a quoted value at a time.
            if (!nameWithinLimit(p, end)) {
                ok = false;
                break;
            }
            char* gt = nullptr;
            char quote = p == begin ? m_quote : 0;
            char* q = p + std::max<size_t>(resume, 1);
            while (q < end) {
                if (quote) {
                    char* close = static_cast<char*>(std::memchr(q, quote, size_t(end - q)));
                    if (!close) {
                        q = end;
                        break;
                    }
                    quote = 0;
                    q = close + 1;
                    continue;
                }
                const char c = *q;
                if (c == '>') {
                    gt = q;
                    break;
                }
                if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '<') {
                    ok = fail(QStringLiteral("a tag is not well-formed"), q);
                    break;
                }
                ++q;
            }
            if (!ok)
                break;
            if (!gt) {
                m_scanned = size_t(q - p);
                m_quote = quote;
                break;
            }
            m_scanned = 0;
            m_quote = 0;
            ok = p[1] == '/' ? endTag(p, gt) : startTag(p, gt);
            p = gt + 1;
            continue;
        }
        // Markup ended by a fixed text: looked for from where the last look
        // stopped (less the end text's length, which may have been cut).
        auto closing = [&](std::string_view close, size_t from) {
            const size_t at = rest.find(close, std::max(from, resume > close.size() ? resume - close.size() + 1 : 0));
            if (at == std::string_view::npos)
                m_scanned = rest.size();
            else
                m_scanned = 0;
            return at;
        };
        if (p[1] == '?') {
            const size_t close = closing("?>", 2);
            if (close == std::string_view::npos)
                break;
            p += close + 2;
            continue;
        }
        // "<!": a comment, a CDATA section; a document type is refused.
        if (need("<!--") && rest.size() >= 4) {
            const size_t close = closing("-->", 4);
            if (close == std::string_view::npos)
                break;
            p += close + 3;
            continue;
        }
        if (need("<![CDATA[") && rest.size() >= 9) {
            const size_t close = closing("]]>", 9);
            if (close == std::string_view::npos)
                break;
            if (m_depth == 0) {
                ok = fail(QStringLiteral("text stands outside the document element"), p);
                break;
            }
            m_scratch.clear();
            for (const char* q = p + 9; q < p + close; ++q) {
                if (*q == '\r') {
                    if (q + 1 < p + close && q[1] == '\n')
                        continue;
                    m_scratch += '\n';
                } else {
                    m_scratch += *q;
                }
            }
            m_handler.text(m_scratch.data(), int(m_scratch.size()));
            p += close + 3;
            continue;
        }
        if (need("<!DOCTYPE") && rest.size() >= 9) {
            ok = fail(QStringLiteral("it holds a document type declaration"), p);
            break;
        }
        if ((need("<!--") || need("<![CDATA[") || need("<!DOCTYPE")) && !last)
            break;  // the rest of the markup comes with the next piece
        ok = fail(QStringLiteral("it holds markup that is not well-formed"), p);
        break;
    }
    const size_t used = size_t(p - begin);
    m_consumed += qint64(used);
    m_position = m_consumed;
    m_buffer.erase(0, used);
    return ok && !m_stopped;
}

const char* Xml_Stream::prefixedAttribute(const char** attributes, const char* local)
{
    // A local name that carried a prefix follows the ':' that ended it; the
    // others follow the '\0' that ended what came before.
    for (const char** a = attributes; a && a[0]; a += 2)
        if (a[0][-1] == ':' && std::strcmp(a[0], local) == 0)
            return a[1];
    return nullptr;
}
