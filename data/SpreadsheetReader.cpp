#include "data/Spreadsheet.h"

#include "core/util/MessageBoxes.h"
#include "data/SpreadsheetBudget.h"
#include "data/XmlParts.h"
#include "data/XmlStream.h"
#include "data/ZipPackage.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>


// ---------------------------------------------------------------- cell references

QString Get_Column_Char_Str(const QString& reference)
{
    qsizetype n = 0;
    while (n < reference.size()) {
        const char16_t c = reference.at(n).unicode();
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')))
            break;
        ++n;
    }
    return reference.left(n);
}

int Asc_Val(const QString& text) { return text.isEmpty() ? 0 : (text.at(0).unicode() & 0xff); }

int Get_Col_index(const QString& letters, int base)
{
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int number = 0;  // 1-based column number
    for (QChar ch : letters) {
        char16_t c = ch.unicode();
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        if (c < u'A' || c > u'Z')
            return -1;
        number = number * 26 + (c - u'A' + 1);
    }
    if (number > Max_Sheet_Columns)
        return -1;
    return number + 64 - base;
}

QString Column_Letters(int column)
{
    QString out;
    while (column > 0) {
        const int r = (column - 1) % 26;
        out.prepend(QChar(u'A' + r));
        column = (column - 1) / 26;
    }
    return out;
}

// ---------------------------------------------------------------- escapes

namespace {

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// "_xHHHH_" at position i: its code, or -1.
int escapeAt(const QString& t, qsizetype i)
{
    if (i + 7 > t.size() || t.at(i) != QLatin1Char('_') || (t.at(i + 1) != QLatin1Char('x'))
        || t.at(i + 6) != QLatin1Char('_'))
        return -1;
    int v = 0;
    for (qsizetype k = i + 2; k < i + 6; ++k) {
        const int h = hexValue(t.at(k).unicode());
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return v;
}

bool xmlAllowed(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString Decode_Spreadsheet_Escapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const int v = escapeAt(text, i);
        if (v >= 0) {
            out += QChar(char16_t(v));
            i += 7;
        } else {
            out += text.at(i++);
        }
    }
    return out;
}

QString Encode_Spreadsheet_Escapes(const QString& text)
{
    // Most texts hold nothing to escape: they are passed on as they are.
    bool plain = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 ? (u != 0x9 && u != 0xA && u != 0xD) : (u == u'_' || (u >= 0xD800 && u <= 0xDFFF) || u >= 0xFFFE)) {
            plain = false;
            break;
        }
    }
    if (plain)
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
            continue;
        }
        if (!xmlAllowed(c.unicode())) {
            out += QStringLiteral("_x%1_").arg(int(c.unicode()), 4, 16, QLatin1Char('0')).toUpper().replace(
                QLatin1String("_X"), QLatin1String("_x"));
            continue;
        }
        // A literal "_xHHHH_" would read back as an escape: escape its '_'.
        if (c == QLatin1Char('_') && escapeAt(text, i) >= 0) {
            out += QStringLiteral("_x005F_");
            continue;
        }
        out += c;
    }
    return out;
}

bool Is_Plain_Number_Text(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (i < n && text.at(i) == QLatin1Char('-'))
        ++i;
    const qsizetype intStart = i;
    while (i < n && text.at(i).unicode() >= u'0' && text.at(i).unicode() <= u'9')
        ++i;
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text.at(intStart) == QLatin1Char('0')))
        return false;
    qsizetype fracDigits = 0;
    if (i < n && text.at(i) == QLatin1Char('.')) {
        const qsizetype fracStart = ++i;
        while (i < n && text.at(i).unicode() >= u'0' && text.at(i).unicode() <= u'9')
            ++i;
        fracDigits = i - fracStart;
        // "1." and "1.50" would not read back as written.
        if (fracDigits == 0 || text.at(i - 1) == QLatin1Char('0'))
            return false;
    }
    if (i != n || intDigits + fracDigits > 15)
        return false;
    // "-0" shows as 0 in a spreadsheet program: keep it as text.
    if (intStart == 1 && fracDigits == 0 && text.at(1) == QLatin1Char('0'))
        return false;
    return true;
}

// ---------------------------------------------------------------- sizes as strings

namespace {

// Counts the UTF-16 units of UTF-8 bytes made a string, piece by piece:
// exact for sound UTF-8, and never fewer than the string will have for
// bytes that are not (a broken sequence counts as many units as it has
// bytes, whatever the conversion makes of it).
class Utf16_Units {
public:
    void add(const char* data, qint64 size)
    {
        const auto* p = reinterpret_cast<const unsigned char*>(data);
        for (qint64 i = 0; i < size; ++i) {
            const unsigned char b = p[i];
            if (m_need > 0) {
                if (b >= m_low && b <= m_high) {
                    m_low = 0x80;
                    m_high = 0xBF;
                    ++m_seen;
                    if (--m_need == 0)
                        m_seen = 0;
                    continue;
                }
                breakSequence();
            }
            if (b < 0x80) {
                ++m_units;
            } else if (b >= 0xC2 && b <= 0xDF) {
                start(1, 1, 0x80, 0xBF);
            } else if (b >= 0xE0 && b <= 0xEF) {
                start(2, 1, b == 0xE0 ? 0xA0 : 0x80, b == 0xED ? 0x9F : 0xBF);
            } else if (b >= 0xF0 && b <= 0xF4) {
                start(3, 2, b == 0xF0 ? 0x90 : 0x80, b == 0xF4 ? 0x8F : 0xBF);
            } else {
                ++m_units;  // a byte no sequence starts with
            }
        }
    }
    qint64 units()
    {
        if (m_need > 0)
            breakSequence();
        return m_units;
    }

private:
    void start(int need, int units, unsigned char low, unsigned char high)
    {
        m_need = need;
        m_seen = 1;
        m_units += units;
        m_low = low;
        m_high = high;
    }
    void breakSequence()
    {
        m_units += m_seen - 1;
        m_need = 0;
        m_seen = 0;
        m_low = 0x80;
        m_high = 0xBF;
    }
    qint64 m_units = 0;
    int m_need = 0;
    int m_seen = 0;
    unsigned char m_low = 0x80, m_high = 0xBF;
};

} // namespace

// ---------------------------------------------------------------- shared strings

// The texts of a workbook in one buffer of 4 MB blocks (a text may cross a
// block's end) and one offset per text, so millions of texts cost their
// bytes and four more each. Texts are kept as the part writes them (UTF-8,
// with their _xHHHH_ escapes) and made strings when a cell asks.
struct Xlsx_Shared_Strings {
    static constexpr int kBlockShift = 22;
    static constexpr qint64 kBlock = qint64(1) << kBlockShift;

    std::vector<std::unique_ptr<char[]>> blocks;
    std::vector<quint32> ends;  // end offset of each text
    qint64 size = 0;            // bytes kept

    qint64 count() const { return qint64(ends.size()); }
    // Bytes of a text (as kept), 0 for an index outside.
    qint64 bytes(qint64 index) const
    {
        if (index < 0 || index >= count())
            return 0;
        return qint64(ends[size_t(index)]) - (index == 0 ? 0 : qint64(ends[size_t(index - 1)]));
    }
    // UTF-16 units of a text made a string (at most; see Utf16_Units).
    qint64 units(qint64 index) const
    {
        if (index < 0 || index >= count())
            return 0;
        const qint64 start = index == 0 ? 0 : ends[size_t(index - 1)];
        const qint64 end = ends[size_t(index)];
        Utf16_Units counter;
        for (qint64 p = start; p < end;) {
            const qint64 stop = std::min(end, ((p >> kBlockShift) + 1) << kBlockShift);
            counter.add(blocks[size_t(p >> kBlockShift)].get() + (p & (kBlock - 1)), stop - p);
            p = stop;
        }
        return counter.units();
    }
    // Memory the texts hold.
    qint64 memory() const { return qint64(blocks.size()) * kBlock + qint64(ends.capacity()) * 4; }

    void add(const char* data, qsizetype n)
    {
        while (n > 0) {
            const qint64 at = size & (kBlock - 1);
            if (at == 0 && size >> kBlockShift >= qint64(blocks.size()))
                blocks.emplace_back(new char[kBlock]);
            const qsizetype piece = qsizetype(std::min<qint64>(n, kBlock - at));
            std::memcpy(blocks[size_t(size >> kBlockShift)].get() + at, data, size_t(piece));
            size += piece;
            data += piece;
            n -= piece;
        }
        ends.push_back(quint32(size));
    }

    // The text; with `escapes` its _xHHHH_ escapes decoded.
    QString at(qint64 index, bool escapes = true) const
    {
        if (index < 0 || index >= count())
            return {};
        const qint64 start = index == 0 ? 0 : ends[size_t(index - 1)];
        const qint64 end = ends[size_t(index)];
        if (start == end)
            return {};
        QByteArray joined;
        const char* text = nullptr;
        if ((start >> kBlockShift) == ((end - 1) >> kBlockShift)) {
            text = blocks[size_t(start >> kBlockShift)].get() + (start & (kBlock - 1));
        } else {
            joined.reserve(qsizetype(end - start));
            for (qint64 p = start; p < end;) {
                const qint64 stop = std::min(end, ((p >> kBlockShift) + 1) << kBlockShift);
                joined.append(blocks[size_t(p >> kBlockShift)].get() + (p & (kBlock - 1)), qsizetype(stop - p));
                p = stop;
            }
            text = joined.constData();
        }
        const QString s = QString::fromUtf8(text, qsizetype(end - start));
        return escapes && std::memchr(text, '_', size_t(end - start)) ? Decode_Spreadsheet_Escapes(s) : s;
    }
};

// ---------------------------------------------------------------- reading parts

namespace {

const QString kSaveAgain =
    QStringLiteral("Open the workbook in your spreadsheet program, save it again as .xlsx and try again.");

// A decimal index at the start of the text (white space skipped); -1 when none.
qint64 leadingIndex(const char* s)
{
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\r')
        ++s;
    if (*s < '0' || *s > '9')
        return -1;
    qint64 v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > (qint64(1) << 40))
            return -1;
    }
    return v;
}

// Column (0-based) of a cell reference; -1 for none, -2 for one past XFD.
int referenceColumn(const char* r)
{
    int number = 0;
    int letters = 0;
    for (; *r; ++r) {
        char c = *r;
        if (c == '$')
            continue;
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        if (++letters > 3)
            return -2;
        number = number * 26 + (c - 'A' + 1);
    }
    if (letters == 0)
        return -1;
    if (number > Max_Sheet_Columns)
        return -2;
    return number - 1;
}

bool named(const char* name, const char* local) { return std::strcmp(name, local) == 0; }

// A count with its thousands grouped the same in every locale ("1,048,576").
QString number(qint64 n)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return c.toString(n);
}

// A handler that may refuse what it reads, with a reason, by stopping the stream.
class Part_Handler : public Xml_Stream_Handler {
public:
    void attach(Xml_Stream* xml) { m_xml = xml; }
    QString failure() const { return m_failure; }
    qint64 position() const { return m_xml ? m_xml->position() : 0; }

protected:
    void fail(const QString& why)
    {
        if (m_failure.isEmpty())
            m_failure = why;
        m_xml->stop();
    }
    bool failed() const { return !m_failure.isEmpty(); }
    Xml_Stream* m_xml = nullptr;

private:
    QString m_failure;
};

enum class Part_Result { Ok, Stopped, Failed };

// Streams one entry of the package through a handler. On Failed, `why`
// holds the handler's reason, the package's ("it unpacks to more than ...")
// or the markup's ("mismatched tag at line 3, column 5").
Part_Result Stream_Part(Zip_Package& zip, int entry, Part_Handler& handler, qint64 maxBytes,
                        const Sheet_Progress& progress, QString* why, bool* encrypted = nullptr)
{
    Xml_Stream xml(handler);
    handler.attach(&xml);
    const qint64 total = zip.entries()[size_t(entry)].size;
    qint64 done = 0;
    QString zipError;
    const Zip_Package::Read r = zip.read(entry, [&](const char* data, qsizetype size) {
        done += size;
        if (progress && !progress(done, total)) {
            xml.stop();
            return false;
        }
        return xml.feed(data, size);
    }, maxBytes, &zipError);
    if (r == Zip_Package::Read::Done)
        xml.feed(nullptr, 0, true);
    if (!handler.failure().isEmpty()) {
        *why = handler.failure();
        return Part_Result::Failed;
    }
    if (xml.stopped())
        return Part_Result::Stopped;
    if (r == Zip_Package::Read::Encrypted && encrypted)
        *encrypted = true;
    if (r == Zip_Package::Read::TooLarge) {
        *why = QStringLiteral("it unpacks to more than %1 MB").arg(maxBytes >> 20);
        return Part_Result::Failed;
    }
    if (r != Zip_Package::Read::Done && r != Zip_Package::Read::Stopped) {
        // A header that claims what its data cannot hold is named as it is.
        const qsizetype claim = zipError.indexOf(QLatin1String("its header claims"));
        *why = zipError.contains(QLatin1String("checksum")) ? QStringLiteral("its data fails its checksum")
            : claim >= 0 ? zipError.mid(claim).chopped(zipError.endsWith(QLatin1Char('.')) ? 1 : 0)
                         : QStringLiteral("its data is damaged");
        return Part_Result::Failed;
    }
    if (!xml.error().isEmpty()) {
        *why = xml.error();
        return Part_Result::Failed;
    }
    return Part_Result::Ok;
}

// Small parts (relationships, the workbook part) are refused past this.
constexpr qint64 kSmallPartBytes = qint64(64) << 20;

struct Relationship {
    QString id;
    QString type;
    QString target;  // resolved package path ("" for an external or escaping target)
};

class Relationships_Handler : public Part_Handler {
public:
    explicit Relationships_Handler(const QString& source) : m_source(source) {}
    QList<Relationship> rels;

    void startElement(const char* name, const char** attributes) override
    {
        if (!named(name, "Relationship"))
            return;
        if (rels.size() >= Zip_Package::Max_Entries * 4) {
            fail(QStringLiteral("it names too many parts"));
            return;
        }
        auto value = [&](const char* local) {
            const char* v = Xml_Stream::attribute(attributes, local);
            return v ? QString::fromUtf8(v) : QString();
        };
        Relationship rel;
        rel.id = value("Id");
        rel.type = value("Type");
        if (value("TargetMode").compare(QLatin1String("External"), Qt::CaseInsensitive) != 0)
            rel.target = xmlparts::resolveTarget(m_source, value("Target"));
        rels << rel;
    }
    void endElement(const char*) override {}

private:
    QString m_source;
};

class Workbook_Handler : public Part_Handler {
public:
    struct Entry {
        QString name;
        QString id;
    };
    QList<Entry> sheets;

    void startElement(const char* name, const char** attributes) override
    {
        ++m_depth;
        if (m_depth == 2 && named(name, "sheets"))
            m_sheetsDepth = m_depth;
        else if (m_sheetsDepth > 0 && m_depth == m_sheetsDepth + 1 && named(name, "sheet")) {
            if (sheets.size() >= Max_Workbook_Sheets) {
                fail(QStringLiteral("it names more than %1 sheets").arg(number(Max_Workbook_Sheets)));
                return;
            }
            const char* n = Xml_Stream::attribute(attributes, "name");
            const char* id = Xml_Stream::prefixedAttribute(attributes, "id");
            sheets << Entry{n ? QString::fromUtf8(n) : QString(), id ? QString::fromUtf8(id) : QString()};
        }
    }
    void endElement(const char*) override
    {
        if (m_depth == m_sheetsDepth)
            m_sheetsDepth = -1;
        --m_depth;
    }

private:
    int m_depth = 0;
    int m_sheetsDepth = -1;
};

// The texts of a string item (si in the shared strings, is in a cell): its
// own t and the t of each run; phonetic runs are left out. Fed the elements
// below the item, with depths counted from it.
class String_Item_Text {
public:
    // An element starts `depth` levels below the item.
    void start(int depth, const char* name)
    {
        if (depth == 1) {
            if (named(name, "t"))
                m_collectDepth = 1;
            else if (named(name, "r"))
                m_inRun = true;
        } else if (depth == 2 && m_inRun && named(name, "t")) {
            m_collectDepth = 2;
        }
    }
    void end(int depth)
    {
        if (depth == m_collectDepth)
            m_collectDepth = 0;
        if (depth == 1)
            m_inRun = false;
    }
    // False when the text passed `max` bytes.
    bool text(const char* data, int size, qint64 max)
    {
        if (m_collectDepth == 0)
            return true;
        if (qint64(m_text.size()) + size > max)
            return false;
        m_text.append(data, size_t(size));
        return true;
    }
    std::string& value() { return m_text; }
    void clear()
    {
        m_text.clear();
        m_collectDepth = 0;
        m_inRun = false;
    }

private:
    std::string m_text;
    int m_collectDepth = 0;
    bool m_inRun = false;
};

class Shared_Strings_Handler : public Part_Handler {
public:
    explicit Shared_Strings_Handler(Xlsx_Shared_Strings& store) : m_store(store) {}

    void startElement(const char* name, const char**) override
    {
        ++m_depth;
        if (m_depth == 2 && named(name, "si")) {
            m_item.clear();
            m_inItem = true;
        } else if (m_inItem) {
            m_item.start(m_depth - 2, name);
        }
    }
    void endElement(const char*) override
    {
        if (m_inItem && m_depth == 2) {
            m_inItem = false;
            if (m_store.count() >= Max_Shared_Strings) {
                fail(QStringLiteral("The workbook holds more than %1 texts, more than can be read. "
                                    "Split it into smaller workbooks and try again.")
                         .arg(number(Max_Shared_Strings)));
                return;
            }
            const std::string& t = m_item.value();
            if (m_store.size + qint64(t.size()) > Max_Shared_Text_Bytes) {
                fail(QStringLiteral("The texts of the workbook are larger than %1 MB, more than can be read. "
                                    "Split it into smaller workbooks and try again.")
                         .arg(Max_Shared_Text_Bytes >> 20));
                return;
            }
            m_store.add(t.data(), qsizetype(t.size()));
        } else if (m_inItem) {
            m_item.end(m_depth - 2);
        }
        --m_depth;
    }
    void text(const char* data, int size) override
    {
        if (m_inItem && !m_item.text(data, size, Max_Cell_Text_Bytes))
            fail(QStringLiteral("A text of the workbook is longer than %1 MB: the workbook is damaged. ")
                     .arg(Max_Cell_Text_Bytes >> 20)
                 + kSaveAgain);
    }

private:
    Xlsx_Shared_Strings& m_store;
    String_Item_Text m_item;
    int m_depth = 0;
    bool m_inItem = false;
};

} // namespace

// One cell of a row as the sheet part gives it: a shared text by its index,
// or a text of its own (UTF-8, in the row's buffer).
struct Raw_Cell {
    int column = 0;
    qint64 shared = -1;
    quint32 offset = 0;
    quint32 size = 0;
    bool escaped = false;  // its _xHHHH_ escapes are to be decoded
};

// Takes the rows of a sheet as they are read: the cells that hold a text,
// in column order, one per column, and the buffer of their own texts. An
// empty row has no cell. False stops the read.
class Raw_Row_Sink {
public:
    virtual ~Raw_Row_Sink() = default;
    virtual bool row(const std::vector<Raw_Cell>& cells, const std::string& texts) = 0;
};

// Stores rows into a compact table.
class Sheet_Cells_Builder : public Raw_Row_Sink {
public:
    explicit Sheet_Cells_Builder(std::shared_ptr<const Xlsx_Shared_Strings> shared)
    {
        m_table.m_shared = std::move(shared);
        m_table.m_own = std::make_shared<Xlsx_Shared_Strings>();
    }
    bool row(const std::vector<Raw_Cell>& cells, const std::string& texts) override
    {
        for (const Raw_Cell& c : cells) {
            Sheet_Cells::Cell cell;
            cell.column = quint16(c.column);
            if (c.shared >= 0) {
                cell.text = quint32(c.shared);
                cell.flags = Sheet_Cells::Shared;
            } else {
                cell.text = quint32(m_table.m_own->count());
                cell.flags = c.escaped ? Sheet_Cells::Escaped : 0;
                m_table.m_own->add(texts.data() + c.offset, qsizetype(c.size));
            }
            m_table.m_cells.push_back(cell);
            m_table.m_columns = std::max(m_table.m_columns, c.column + 1);
        }
        m_table.m_rowEnds.push_back(quint32(m_table.m_cells.size()));
        return true;
    }
    Sheet_Cells take()
    {
        m_table.m_rowEnds.shrink_to_fit();
        return std::move(m_table);
    }

private:
    Sheet_Cells m_table;
};

namespace {

// Hands rows on as strings. A long shared text used by many cells is made
// a string once and handed on shared, not copied for every cell.
class Row_Strings : public Raw_Row_Sink {
public:
    Row_Strings(const Xlsx_Shared_Strings& shared, const Sheet_Row_Sink& sink) : m_shared(shared), m_sink(sink) {}
    bool row(const std::vector<Raw_Cell>& cells, const std::string& texts) override
    {
        QStringList row;
        if (!cells.empty()) {
            row.reserve(cells.back().column + 1);
            for (const Raw_Cell& c : cells) {
                while (row.size() < c.column)
                    row.append(QString());
                if (c.shared >= 0) {
                    row.append(sharedText(c.shared));
                } else {
                    QString text = QString::fromUtf8(texts.data() + c.offset, qsizetype(c.size));
                    row.append(c.escaped ? Decode_Spreadsheet_Escapes(text) : text);
                }
            }
        }
        return m_sink(row);
    }

private:
    static constexpr int kSlots = 1024;
    static constexpr qint64 kShortBytes = 64;
    static constexpr qint64 kCacheBytes = qint64(32) << 20;

    QString sharedText(qint64 index)
    {
        const qint64 bytes = m_shared.bytes(index);
        if (bytes < kShortBytes)
            return m_shared.at(index);
        Slot& slot = m_slots[size_t(index % kSlots)];
        if (slot.index == index)
            return slot.text;
        if (m_cached + bytes > kCacheBytes) {
            for (Slot& s : m_slots)
                s = Slot();
            m_cached = 0;
        }
        m_cached += bytes - (slot.index >= 0 ? m_shared.bytes(slot.index) : 0);
        slot.index = index;
        slot.text = m_shared.at(index);
        return slot.text;
    }
    struct Slot {
        qint64 index = -1;
        QString text;
    };
    const Xlsx_Shared_Strings& m_shared;
    const Sheet_Row_Sink& m_sink;
    std::vector<Slot> m_slots = std::vector<Slot>(kSlots);
    qint64 m_cached = 0;
};

// The rows of a sheet part, handed on one by one. Rows without a text are
// held back as a count and handed on only when a row with a text follows,
// so empty rows at the end cost nothing. Every limit, and the budget of the
// whole table, is checked as the cells arrive.
class Sheet_Handler : public Part_Handler {
public:
    Sheet_Handler(const Xlsx_Shared_Strings& shared, const QString& sheetName, Raw_Row_Sink& sink,
                  Sheet_Budget& budget, const Sheet_Keep& keep)
        : m_shared(shared), m_name(sheetName), m_sink(sink), m_budget(budget), m_keep(keep)
    {
        for (int column : keep.columns)
            if (column >= 0 && column < Max_Sheet_Columns) {
                if (m_copies.empty())
                    m_copies.assign(size_t(Max_Sheet_Columns), 0);
                ++m_copies[size_t(column)];
            }
    }
    int columns() const { return m_width; }

    void startElement(const char* name, const char** attributes) override
    {
        ++m_depth;
        if (m_sheetDataDepth == -1) {
            if (m_depth == 2 && named(name, "sheetData"))
                m_sheetDataDepth = m_depth;
            return;
        }
        if (m_sheetDataDepth < 0)
            return;
        if (m_rowDepth < 0) {
            if (m_depth == m_sheetDataDepth + 1 && named(name, "row"))
                startRow();
            return;
        }
        if (m_cellDepth < 0) {
            if (m_depth == m_rowDepth + 1 && named(name, "c"))
                startCell(attributes);
            return;
        }
        const int below = m_depth - m_cellDepth;
        if (below == 1) {
            if (named(name, "v") && !m_hasV) {
                m_hasV = true;
                m_inV = true;
            } else if (named(name, "is") && !m_hasIs) {
                m_hasIs = true;
                m_inIs = true;
            }
        } else if (m_inIs) {
            m_is.start(below - 1, name);
        }
    }

    void endElement(const char*) override
    {
        if (m_cellDepth >= 0) {
            const int below = m_depth - m_cellDepth;
            if (below == 0)
                endCell();
            else if (below == 1)
                m_inV = m_inIs = false;
            else if (m_inIs)
                m_is.end(below - 1);
        } else if (m_depth == m_rowDepth) {
            endRow();
        } else if (m_depth == m_sheetDataDepth) {
            m_sheetDataDepth = -2;  // one sheetData is read
        }
        --m_depth;
    }

    void text(const char* data, int size) override
    {
        if (m_inV) {
            if (qint64(m_v.size()) + size > Max_Cell_Text_Bytes)
                tooLongText();
            else
                m_v.append(data, size_t(size));
        } else if (m_inIs && !m_is.text(data, size, Max_Cell_Text_Bytes)) {
            tooLongText();
        }
    }

private:
    void tooLongText()
    {
        fail(QStringLiteral("The sheet '%1' is damaged: a cell holds more than %2 MB of text. ")
                 .arg(m_name)
                 .arg(Max_Cell_Text_Bytes >> 20)
             + kSaveAgain);
    }

    void startRow()
    {
        if (++m_rowElements > Max_Sheet_Rows) {
            fail(QStringLiteral("The sheet '%1' is damaged: it has more than %2 rows, more than a sheet can have. ")
                     .arg(m_name, number(Max_Sheet_Rows))
                 + kSaveAgain);
            return;
        }
        m_rowDepth = m_depth;
        m_column = -1;
        m_cells.clear();
        m_texts.clear();
        m_sorted = true;
    }

    void startCell(const char** attributes)
    {
        m_cellDepth = m_depth;
        m_hasV = m_hasIs = m_inV = m_inIs = false;
        m_v.clear();
        m_is.clear();
        const char* r = Xml_Stream::attribute(attributes, "r");
        const int at = r ? referenceColumn(r) : -1;
        // A cell without a reference follows the one before it.
        m_column = at == -1 ? m_column + 1 : at;
        if (at == -2 || m_column >= Max_Sheet_Columns) {
            fail(QStringLiteral("The sheet '%1' is damaged: it holds cells beyond column XFD, the last column "
                                "a sheet can have. ")
                     .arg(m_name)
                 + kSaveAgain);
            return;
        }
        const char* t = Xml_Stream::attribute(attributes, "t");
        m_type = !t ? Type::Other
            : named(t, "s")         ? Type::Shared
            : named(t, "inlineStr") ? Type::Inline
            : named(t, "str")       ? Type::Formula
                                    : Type::Other;
    }

    void endCell()
    {
        m_cellDepth = -1;
        Raw_Cell cell;
        cell.column = m_column;
        qint64 textBytes = 0;
        qint64 stored = 8;  // the cell's entry in the table
        const std::string* text = nullptr;
        if (m_type == Type::Shared) {
            cell.shared = leadingIndex(m_v.c_str());
            textBytes = m_shared.bytes(cell.shared);
        } else {
            if (m_type == Type::Inline || !m_hasV) {
                if (m_hasIs) {
                    text = &m_is.value();
                    cell.escaped = true;
                }
            } else {
                text = &m_v;
                cell.escaped = m_type == Type::Formula;
            }
            if (text) {
                cell.offset = quint32(m_texts.size());
                cell.size = quint32(text->size());
                m_texts += *text;
                textBytes = qint64(text->size());
                stored += textBytes + 4;
            }
        }
        if (textBytes == 0)
            return;  // no text: an empty cell, as if it were not there
        stored += kept(cell, text);
        const int width = std::max(m_width, m_column + 1);
        if (!m_budget.checkGrid((m_delivered + m_pendingEmpty + 1) * qint64(width))
            || !m_budget.addCell(textBytes, stored)) {
            fail(m_budget.error());
            return;
        }
        m_width = width;
        if (!m_cells.empty() && m_cells.back().column >= m_column)
            m_sorted = false;
        m_cells.push_back(cell);
    }

    void endRow()
    {
        m_rowDepth = -1;
        if (m_cells.empty()) {
            ++m_pendingEmpty;
            return;
        }
        if (!m_sorted) {
            // Cells out of order: in column order, the last of a column kept.
            std::stable_sort(m_cells.begin(), m_cells.end(),
                             [](const Raw_Cell& a, const Raw_Cell& b) { return a.column < b.column; });
            std::vector<Raw_Cell> unique;
            for (const Raw_Cell& c : m_cells) {
                if (!unique.empty() && unique.back().column == c.column)
                    unique.back() = c;
                else
                    unique.push_back(c);
            }
            m_cells = std::move(unique);
        }
        if (!m_budget.addStored(4 * (m_pendingEmpty + 1) + m_keep.bytesPerRow)) {
            fail(m_budget.error());
            return;
        }
        static const std::vector<Raw_Cell> kEmpty;
        for (; m_pendingEmpty > 0; --m_pendingEmpty)
            if (!deliver(kEmpty))
                return;
        deliver(m_cells);
    }

    // What the caller will keep of a cell's text beside the table (Sheet_Keep).
    qint64 kept(const Raw_Cell& cell, const std::string* text)
    {
        if (m_keep.bytesPerUnit == 0 && m_keep.bytesPerText == 0)
            return 0;
        const int copies = m_copies.empty() ? 1 : m_copies[size_t(cell.column)];
        if (copies == 0)
            return 0;
        qint64 units = 0;
        if (m_keep.bytesPerUnit > 0) {
            if (text) {
                Utf16_Units counter;
                counter.add(text->data(), qint64(text->size()));
                units = counter.units();
            } else {
                units = sharedUnits(cell.shared);
            }
        }
        return copies * (m_keep.bytesPerUnit * units + m_keep.bytesPerText);
    }

    // The UTF-16 units of a shared text; a long text used by many cells is
    // counted once.
    qint64 sharedUnits(qint64 index)
    {
        if (m_shared.bytes(index) < 64)
            return m_shared.units(index);
        if (m_unitsOf.empty())
            m_unitsOf.assign(256, {-1, 0});
        auto& slot = m_unitsOf[size_t(index % 256)];
        if (slot.first != index)
            slot = {index, m_shared.units(index)};
        return slot.second;
    }

    bool deliver(const std::vector<Raw_Cell>& cells)
    {
        ++m_delivered;
        if (!m_sink.row(cells, m_texts)) {
            m_xml->stop();
            return false;
        }
        return true;
    }

    enum class Type { Other, Shared, Inline, Formula };

    const Xlsx_Shared_Strings& m_shared;
    QString m_name;
    Raw_Row_Sink& m_sink;
    Sheet_Budget& m_budget;
    const Sheet_Keep& m_keep;
    std::vector<unsigned char> m_copies;  // of each column, the texts the caller keeps (empty: every column once)
    std::vector<std::pair<qint64, qint64>> m_unitsOf;  // long shared texts counted: index, units
    int m_depth = 0;
    int m_sheetDataDepth = -1;  // -2 once read
    int m_rowDepth = -1;
    int m_cellDepth = -1;
    qint64 m_rowElements = 0;
    qint64 m_delivered = 0;
    qint64 m_pendingEmpty = 0;
    int m_width = 0;
    int m_column = -1;
    std::vector<Raw_Cell> m_cells;
    std::string m_texts;
    bool m_sorted = true;
    Type m_type = Type::Other;
    bool m_hasV = false, m_hasIs = false, m_inV = false, m_inIs = false;
    std::string m_v;
    String_Item_Text m_is;
};

QString folderOf(const QString& part) { return part.left(part.lastIndexOf(QLatin1Char('/')) + 1); }

// The relationships part of a package part ("" for the package's own).
QString relationshipsPart(const QString& sourcePart)
{
    if (sourcePart.isEmpty())
        return QStringLiteral("_rels/.rels");
    const qsizetype slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    return sourcePart.left(slash + 1) + QStringLiteral("_rels/") + sourcePart.mid(slash + 1)
        + QStringLiteral(".rels");
}

} // namespace

// ---------------------------------------------------------------- workbook

Xlsx_Workbook::Xlsx_Workbook() = default;
Xlsx_Workbook::~Xlsx_Workbook() = default;

bool Xlsx_Workbook::isOpen() const { return m_zip != nullptr; }

void Xlsx_Workbook::close()
{
    m_zip.reset();
    m_shared.reset();
    m_sheets.clear();
    m_columns = 0;
    m_stopped = false;
}

bool Xlsx_Workbook::failOpen(const QString& error)
{
    close();
    m_error = error;
    Show_NSLog_Message(QStringLiteral("Error: %1").arg(error));
    return false;
}

bool Xlsx_Workbook::open(const QString& path)
{
    close();
    m_error.clear();
    const QString notWorkbook = QStringLiteral("The file is not a spreadsheet (.xlsx), or it is damaged (%1). "
                                               "Open it in your spreadsheet program, save it as .xlsx and try again.");
    const QString passwordText =
        QStringLiteral("This workbook is protected by a password: save it without one and try again.");
    const QString oldExcel = QStringLiteral("Old Excel files (.xls) cannot be read: save it as .xlsx and try again.");
    if (!QFileInfo(path).isFile())
        return failOpen(QStringLiteral("The file %1 cannot be read.").arg(QFileInfo(path).fileName()));
    switch (Sniff_Office_File(path)) {
    case Office_File_Kind::Zip:
        break;
    case Office_File_Kind::EncryptedPackage:
        return failOpen(passwordText);
    case Office_File_Kind::OldExcel:
        return failOpen(oldExcel);
    case Office_File_Kind::OtherCompoundFile:
    case Office_File_Kind::Unknown:
        if (QFileInfo(path).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
            return failOpen(oldExcel);
        return failOpen(notWorkbook.arg(QStringLiteral("it is no zip package")));
    }
    auto zip = std::make_unique<Zip_Package>();
    QString why;
    if (!zip->open(path, &why)) {
        // "Its directory is damaged: ..." said inside the sentence.
        if (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        if (!why.isEmpty())
            why[0] = why.at(0).toLower();
        return failOpen(notWorkbook.arg(why));
    }
    m_zip = std::move(zip);
    m_shared = std::make_unique<Xlsx_Shared_Strings>();

    // An OpenDocument package names its kind first.
    const int mimetype = m_zip->find(QStringLiteral("mimetype"));
    QByteArray kind;
    if (mimetype >= 0 && m_zip->readAll(mimetype, &kind, 256) && kind.startsWith("application/vnd.oasis.opendocument"))
        return failOpen(QStringLiteral("OpenDocument spreadsheets (.ods) cannot be read here: "
                                       "save it as .xlsx and try again."));

    // A part the reading needs: its relationships or sheet list; false
    // (the open refused) when it is there but cannot be read.
    bool encrypted = false;
    auto readSmall = [&](const QString& part, Part_Handler& handler) -> bool {
        const int entry = m_zip->find(part);
        if (entry < 0)
            return true;
        QString reason;
        if (Stream_Part(*m_zip, entry, handler, kSmallPartBytes, {}, &reason, &encrypted) == Part_Result::Failed) {
            m_error = encrypted ? passwordText
                                : QStringLiteral("The workbook is damaged: its part %1 cannot be read (%2). ")
                                          .arg(part, reason)
                    + (encrypted ? QString() : kSaveAgain);
            return false;
        }
        return true;
    };
    auto refuse = [&] {
        const QString error = m_error;
        return failOpen(error);
    };

    // The workbook part, through the package's relationships.
    QString workbookPart;
    Relationships_Handler packageRels{QString()};
    if (!readSmall(relationshipsPart(QString()), packageRels))
        return refuse();
    for (const Relationship& rel : packageRels.rels)
        if (xmlparts::typeIs(rel.type, "officeDocument") && !rel.target.isEmpty() && m_zip->find(rel.target) >= 0) {
            workbookPart = rel.target;
            break;
        }
    if (workbookPart.isEmpty())
        workbookPart = QStringLiteral("xl/workbook.xml");
    const QString folder = folderOf(workbookPart);

    Relationships_Handler workbookRels{workbookPart};
    Workbook_Handler workbook;
    if (!readSmall(relationshipsPart(workbookPart), workbookRels) || !readSmall(workbookPart, workbook))
        return refuse();
    auto relById = [&](const QString& id) -> const Relationship* {
        for (const Relationship& r : workbookRels.rels)
            if (r.id == id)
                return &r;
        return nullptr;
    };
    int position = 0;
    for (const Workbook_Handler::Entry& e : workbook.sheets) {
        ++position;
        Sheet sheet;
        sheet.name = e.name;
        if (const Relationship* rel = relById(e.id)) {
            if (xmlparts::typeIs(rel->type, "worksheet"))
                sheet.part = rel->target;
        } else {
            // No relationship: the sheet's part by its position.
            sheet.part = folder + QStringLiteral("worksheets/sheet%1.xml").arg(position);
        }
        m_sheets << sheet;
    }
    if (m_sheets.isEmpty()) {
        // No workbook part that names sheets: the worksheet parts in number order.
        static const QRegularExpression sheetFile(QStringLiteral("^sheet(\\d+)\\.xml$"),
                                                  QRegularExpression::CaseInsensitiveOption);
        const QString worksheets = folder + QStringLiteral("worksheets/");
        QList<QPair<int, QString>> found;
        for (const Zip_Package_Entry& e : m_zip->entries()) {
            if (e.folder || !e.name.startsWith(worksheets, Qt::CaseInsensitive))
                continue;
            const auto m = sheetFile.match(e.name.mid(worksheets.size()));
            if (m.hasMatch())
                found << qMakePair(m.captured(1).toInt(), e.name);
        }
        std::sort(found.begin(), found.end());
        for (const auto& f : found)
            m_sheets << Sheet{QStringLiteral("Sheet%1").arg(f.first), f.second};
    }
    if (m_sheets.isEmpty())
        return failOpen(notWorkbook.arg(QStringLiteral("it holds no worksheet")));

    // The shared strings, as a stream into one buffer.
    QString sharedPart;
    for (const Relationship& rel : workbookRels.rels)
        if (xmlparts::typeIs(rel.type, "sharedStrings") && !rel.target.isEmpty()) {
            sharedPart = rel.target;
            break;
        }
    if (sharedPart.isEmpty() || m_zip->find(sharedPart) < 0)
        sharedPart = folder + QStringLiteral("sharedStrings.xml");
    const int sharedEntry = m_zip->find(sharedPart);
    if (sharedEntry >= 0) {
        Shared_Strings_Handler handler(*m_shared);
        QString reason;
        if (Stream_Part(*m_zip, sharedEntry, handler, Max_Part_Bytes, {}, &reason, &encrypted) == Part_Result::Failed) {
            if (encrypted)
                return failOpen(passwordText);
            if (!handler.failure().isEmpty())
                return failOpen(reason);
            return failOpen(QStringLiteral("The texts of the workbook are damaged (%1). ").arg(reason) + kSaveAgain);
        }
    }
    return true;
}

QStringList Xlsx_Workbook::sheetNames() const
{
    QStringList names;
    for (const Sheet& s : m_sheets)
        names << s.name;
    return names;
}

int Xlsx_Workbook::sheetCount() const { return int(m_sheets.size()); }

qint64 Xlsx_Workbook::sharedStringCount() const { return m_shared ? m_shared->count() : 0; }

QString Xlsx_Workbook::sharedString(qint64 index) const { return m_shared ? m_shared->at(index) : QString(); }

bool Xlsx_Workbook::readSheetPart(int sheetNumber, Raw_Row_Sink& rows, const Sheet_Progress& progress,
                                  const Sheet_Keep& keep)
{
    m_error.clear();
    m_columns = 0;
    m_stopped = false;
    auto fail = [this](const QString& error) {
        m_error = error;
        Show_NSLog_Message(QStringLiteral("Error: %1").arg(error));
        return false;
    };
    if (!m_zip)
        return fail(QStringLiteral("No workbook is open."));
    if (sheetNumber < 1 || sheetNumber > m_sheets.size())
        return fail(QStringLiteral("The workbook has no sheet %1.").arg(sheetNumber));
    const Sheet& sheet = m_sheets.at(sheetNumber - 1);
    if (sheet.part.isEmpty())
        return true;  // a chart sheet or another kind: no cells
    const int entry = m_zip->find(sheet.part);
    if (entry < 0)
        return fail(QStringLiteral("The sheet '%1' is missing from the workbook. ").arg(sheet.name) + kSaveAgain);
    Sheet_Budget budget(sheet.name);
    // The workbook's texts are held while the table is: they count first.
    if (!budget.addStored(m_shared->memory()))
        return fail(budget.error());
    Sheet_Handler handler(*m_shared, sheet.name, rows, budget, keep);
    budget.setPart([&handler] { return handler.position(); }, m_zip->entries()[size_t(entry)].size);
    QString reason;
    bool encrypted = false;
    const Part_Result r = Stream_Part(*m_zip, entry, handler, Max_Part_Bytes, progress, &reason, &encrypted);
    m_columns = handler.columns();
    if (r == Part_Result::Stopped) {
        m_stopped = true;
        return false;
    }
    if (r == Part_Result::Failed) {
        if (encrypted)
            return fail(QStringLiteral("This workbook is protected by a password: save it without one and try again."));
        if (!handler.failure().isEmpty())
            return fail(reason);
        if (reason.startsWith(QLatin1String("it unpacks")))
            return fail(QStringLiteral("The sheet '%1' is too large to read: %2. Split it into smaller sheets and try again.")
                            .arg(sheet.name, reason));
        return fail(QStringLiteral("The sheet '%1' is damaged: %2. ").arg(sheet.name, reason) + kSaveAgain);
    }
    return true;
}

bool Xlsx_Workbook::readRows(int sheetNumber, const Sheet_Row_Sink& sink, const Sheet_Progress& progress)
{
    static const Xlsx_Shared_Strings kNone;
    Row_Strings rows(m_shared ? *m_shared : kNone, sink);
    return readSheetPart(sheetNumber, rows, progress);
}

Sheet_Cells Xlsx_Workbook::readSheet(int sheetNumber, const Sheet_Progress& progress, const Sheet_Keep& keep)
{
    Sheet_Cells_Builder builder(m_shared);
    if (!readSheetPart(sheetNumber, builder, progress, keep))
        return {};
    Sheet_Cells table = builder.take();
    if (table.columnCount() == 0)
        return {};
    return table;
}

SheetTable Xlsx_Workbook::readHeader(int sheetNumber, const Sheet_Progress& progress)
{
    // Only the first row is made strings: the others are read for their
    // columns and let go as they come.
    class First_Row : public Raw_Row_Sink {
    public:
        explicit First_Row(const Xlsx_Shared_Strings& shared) : m_shared(shared) {}
        bool row(const std::vector<Raw_Cell>& cells, const std::string& texts) override
        {
            if (!first)
                return true;
            first = false;
            for (const Raw_Cell& c : cells) {
                while (header.size() < c.column)
                    header.append(QString());
                QString title;
                if (c.shared >= 0) {
                    title = m_shared.at(c.shared);
                } else {
                    const QString text = QString::fromUtf8(texts.data() + c.offset, qsizetype(c.size));
                    title = c.escaped ? Decode_Spreadsheet_Escapes(text) : text;
                }
                if (title.size() > Max_Column_Title_Chars)
                    title = title.left(Max_Column_Title_Chars
                                       - (title.at(Max_Column_Title_Chars - 1).isHighSurrogate() ? 1 : 0));
                header.append(title);
            }
            return true;
        }
        QStringList header;
        bool first = true;

    private:
        const Xlsx_Shared_Strings& m_shared;
    };
    static const Xlsx_Shared_Strings kNone;
    First_Row rows(m_shared ? *m_shared : kNone);
    const bool ok = readSheetPart(sheetNumber, rows, progress);
    QStringList header = std::move(rows.header);
    if (!ok || rows.first || m_columns == 0)
        return {};
    while (header.size() < m_columns)
        header.append(QString());
    for (int i = 0; i < header.size(); ++i)
        if (header.at(i).isEmpty())
            header[i] = QStringLiteral("Untitled Column %1").arg(i + 1);
    return {header};
}

// ---------------------------------------------------------------- compact tables

Sheet_Cells::Sheet_Cells() = default;
Sheet_Cells::~Sheet_Cells() = default;
Sheet_Cells::Sheet_Cells(const Sheet_Cells&) = default;
Sheet_Cells& Sheet_Cells::operator=(const Sheet_Cells&) = default;
Sheet_Cells::Sheet_Cells(Sheet_Cells&&) noexcept = default;
Sheet_Cells& Sheet_Cells::operator=(Sheet_Cells&&) noexcept = default;

size_t Sheet_Cells::rowBegin(qsizetype row) const { return row == 0 ? 0 : m_rowEnds[size_t(row - 1)]; }

QString Sheet_Cells::textOf(const Cell& c) const
{
    if (c.flags & Shared)
        return m_shared ? m_shared->at(c.text) : QString();
    return m_own->at(c.text, (c.flags & Escaped) != 0);
}

QString Sheet_Cells::cell(qsizetype row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return QString();
    const auto begin = m_cells.begin() + qsizetype(rowBegin(row));
    const auto end = m_cells.begin() + qsizetype(rowEnd(row));
    const auto at = std::lower_bound(begin, end, column, [](const Cell& c, int col) { return c.column < col; });
    return at != end && at->column == column ? textOf(*at) : QString();
}

int Sheet_Cells::textCount(qsizetype row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return int(rowEnd(row) - rowBegin(row));
}

QStringList Sheet_Cells::row(qsizetype row) const
{
    QStringList out;
    if (row < 0 || row >= rowCount())
        return out;
    out.reserve(m_columns);
    for (size_t i = rowBegin(row), end = rowEnd(row); i < end; ++i) {
        const Cell& c = m_cells[i];
        while (out.size() < c.column)
            out.append(QString());
        out.append(textOf(c));
    }
    while (out.size() < m_columns)
        out.append(QString());
    return out;
}

SheetTable Sheet_Cells::toTable() const
{
    SheetTable table;
    table.reserve(rowCount());
    for (qsizetype r = 0; r < rowCount(); ++r)
        table.append(row(r));
    return table;
}

qint64 Sheet_Cells::storedBytes() const
{
    return qint64(m_cells.size() * sizeof(Cell)) + qint64(m_rowEnds.capacity()) * 4
        + (m_own ? m_own->memory() : 0) + (m_shared ? m_shared->memory() : 0);
}

// ---------------------------------------------------------------- the budget of a table read

Sheet_Budget::Sheet_Budget(const QString& sheet) : m_sheet(sheet) {}

void Sheet_Budget::setPart(std::function<qint64()> done, qint64 total)
{
    m_done = std::move(done);
    m_total = total;
}

qint64 Sheet_Budget::estimate(qint64 soFar) const
{
    const qint64 done = m_done ? m_done() : 0;
    if (done <= 0 || m_total <= done)
        return soFar;
    return qint64(double(soFar) * double(m_total) / double(done));
}

bool Sheet_Budget::refuse(const QString& what)
{
    if (m_error.isEmpty())
        m_error = (m_sheet.isEmpty() ? QStringLiteral("The sheet") : QStringLiteral("The sheet '%1'").arg(m_sheet))
            + QStringLiteral(" is too large to read: %1. Split it into smaller sheets or remove the columns "
                             "you do not need, and try again.")
                  .arg(what);
    return false;
}

bool Sheet_Budget::addCell(qint64 textBytes, qint64 storedBytes)
{
    m_text += textBytes;
    if (m_text > Max_Table_Text_Bytes)
        return refuse(QStringLiteral("its cells would hold about %1 MB of text, more than the %2 MB a table can hold")
                          .arg(number(std::max(estimate(m_text), m_text) >> 20), number(Max_Table_Text_Bytes >> 20)));
    return addStored(storedBytes);
}

bool Sheet_Budget::addStored(qint64 bytes)
{
    m_stored += bytes;
    if (m_stored > Max_Table_Stored_Bytes)
        return refuse(QStringLiteral("it would take about %1 MB of memory, more than the %2 MB a table can take")
                          .arg(number(std::max(estimate(m_stored), m_stored) >> 20),
                               number(Max_Table_Stored_Bytes >> 20)));
    return true;
}

bool Sheet_Budget::checkGrid(qint64 cells)
{
    if (cells > Max_Sheet_Cells)
        return refuse(QStringLiteral("it would have about %1 cells (rows by columns), more than the %2 a table "
                                     "can have")
                          .arg(number(std::max(estimate(cells), cells)), number(Max_Sheet_Cells)));
    return true;
}

// ---------------------------------------------------------------- the shared reader

SpreadsheetWriter* SpreadsheetWriter::spreadsheet()
{
    // The workbook prepared by one call and read by the next (GUI thread):
    // the static reading functions below have no object to keep it in.
    static SpreadsheetWriter* shared = [] {
        auto* s = new SpreadsheetWriter;
        return s;
    }();
    return shared;
}

SheetTable SpreadsheetWriter::ReadWorkbook(const QString& path, bool only_col, int Excel_Sheet_Number)
{
    SpreadsheetWriter* s = spreadsheet();
    if (only_col) {
        s->Excel_Sheet_Columns = 1;
        if (!s->m_workbook.open(path))
            s->lastError = s->m_workbook.lastError();
        else
            s->lastError.clear();
        return s->data;
    }
    if (!s->m_workbook.isOpen())
        return {};
    // The rows are handed on as strings, a string for each cell.
    Sheet_Keep strings;
    strings.bytesPerUnit = 2;
    strings.bytesPerText = 48;
    strings.bytesPerRow = 48;
    s->data = s->m_workbook.readSheet(Excel_Sheet_Number, {}, strings).toTable();
    s->lastError = s->m_workbook.lastError();
    s->Excel_Sheet_Columns = s->data.isEmpty() ? 0 : int(s->data.first().size());
    return s->data;
}

QStringList SpreadsheetWriter::Read_Sheet_Name() { return spreadsheet()->m_workbook.sheetNames(); }

SheetTable SpreadsheetWriter::ReadData_only_column(int Excel_Sheet_Number)
{
    SpreadsheetWriter* s = spreadsheet();
    s->data = s->m_workbook.readHeader(Excel_Sheet_Number);
    s->lastError = s->m_workbook.lastError();
    s->Excel_Sheet_Columns = s->data.isEmpty() ? 0 : int(s->data.first().size());
    return s->data;
}
