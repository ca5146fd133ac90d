#pragma once
// What the files of the workbook reader share: the workbook's texts, the
// handler a part is streamed through, a string item's text and the rows
// of a sheet as they are read.
#include "data/Spreadsheet.h"
#include "data/XmlStream.h"
#include "data/ZipPackage.h"

#include <QLocale>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------- sizes as strings

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

const QString passwordText =
    QStringLiteral("This workbook is protected by a password: save it without one and try again.");

inline bool named(const char* name, const char* local) { return std::strcmp(name, local) == 0; }

// A count with its thousands grouped the same in every locale ("1,048,576").
inline QString number(qint64 n)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return c.toString(n);
}

} // namespace

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
                        const Sheet_Progress& progress, QString* why, bool* encrypted = nullptr);

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
