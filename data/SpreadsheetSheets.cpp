#include "data/Spreadsheet.h"

#include "core/util/MessageBoxes.h"
#include "data/SpreadsheetBudget.h"
#include "data/XlsxReading.h"

#include <algorithm>
#include <string>
#include <vector>

// ---------------------------------------------------------------- reading sheets

namespace {

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

} // namespace

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
    // What the caller holds beside the table once `rows` rows with a text
    // were given, counted in place of what it held before.
    bool holdBeside(qint64 rows)
    {
        if (!m_keep.held)
            return true;
        return m_budget.setHeld(m_keep.held(rows));
    }

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
        if (!m_budget.addStored(4 * (m_pendingEmpty + 1) + m_keep.bytesPerRow) || !holdBeside(m_textRows + 1)) {
            fail(m_budget.error());
            return;
        }
        ++m_textRows;
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
    qint64 m_textRows = 0;  // rows given that hold a text
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

} // namespace

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
    // And what the caller holds already beside the table.
    if (!handler.holdBeside(0))
        return fail(budget.error());
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
    if (m_stored + m_held > Max_Table_Stored_Bytes)
        return refuse(QStringLiteral("it would take about %1 MB of memory, more than the %2 MB a table can take")
                          .arg(number((std::max(estimate(m_stored), m_stored) + m_held) >> 20),
                               number(Max_Table_Stored_Bytes >> 20)));
    return true;
}

bool Sheet_Budget::setHeld(qint64 bytes)
{
    m_held = bytes;
    return addStored(0);
}

bool Sheet_Budget::checkGrid(qint64 cells)
{
    if (cells > Max_Sheet_Cells)
        return refuse(QStringLiteral("it would have about %1 cells (rows by columns), more than the %2 a table "
                                     "can have")
                          .arg(number(std::max(estimate(cells), cells)), number(Max_Sheet_Cells)));
    return true;
}
