#pragma once
// Spreadsheets: reading a worksheet of an .xlsx workbook into rows of text,
// writing a table as an .xlsx workbook, and the two further formats (XML
// Spreadsheet 2003 and OpenDocument) that nothing in the interface uses.
//
// Every part is read as a stream: the package is read where it lies, only
// the parts a read needs are inflated, in memory, while a streaming XML
// reader takes them in, and no part becomes a document tree. Shared strings
// are kept in one buffer; cells come out row by row; every limit below is
// checked as the stream goes, so an oversized or hostile file is refused
// early and cheaply, and nothing is written to disk while reading. Besides
// the limits of one cell, row or part, one budget holds for a whole table:
// the text of all its cells as the user receives them (a shared text once
// per cell that uses it), its cells (rows by columns) and the memory it
// takes as stored, the workbook's texts, what the caller will keep of the
// table (the strings of a window's list, say) and what it holds beside the
// table (the rows the list keeps) included; a table past any of them is
// refused with a message that says how large it would be and what to do. The
// reader takes what common programs write: rich-text and inline strings,
// formulas by their cached value, cells without a reference, columns beyond
// ZZ, sheets found through the workbook's relationships, namespace
// prefixes, the strict namespace and part names in any case. A sheet's
// columns are the columns that hold cells, whatever its declared size says.
// A file that cannot be read gives an empty result and a message that says
// what to do (a damaged sheet by its name, a workbook saved with a password,
// an old .xls file), never a crash.
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

// Rows of text cells; entry i of a row is column i (0 is column A).
using SheetTable = QList<QStringList>;

// ---- Limits of what is read ----
inline constexpr int Max_Sheet_Columns = 16384;          // A to XFD
inline constexpr qint64 Max_Sheet_Rows = 1048576;        // rows a sheet can have
inline constexpr qint64 Max_Sheet_Cells = 8'000'000;     // rows x columns of one table
inline constexpr qint64 Max_Shared_Strings = 8'000'000;  // texts of a workbook
inline constexpr qint64 Max_Shared_Text_Bytes = qint64(128) << 20;
inline constexpr qint64 Max_Cell_Text_Bytes = qint64(1) << 20;  // one cell's text (UTF-8)
inline constexpr qint64 Max_Part_Bytes = qint64(1) << 30;       // one part, unpacked
inline constexpr int Max_Workbook_Sheets = 10000;
inline constexpr int Max_Column_Title_Chars = 1024;     // a column's title as a header read gives it
// The budget of a whole table read.
inline constexpr qint64 Max_Table_Text_Bytes = qint64(100) << 20;    // text of all cells (UTF-8)
// Memory of the table as stored, with the workbook's texts and what the
// caller keeps of it (Sheet_Keep).
inline constexpr qint64 Max_Table_Stored_Bytes = qint64(224) << 20;

// ---- Cell references ----
// The letters at the start of a reference ("D12" gives "D", "ab7" "ab").
QString Get_Column_Char_Str(const QString& reference);
// The low 8 bits of the code of the first character; 0 for an empty text.
int Asc_Val(const QString& text);
// Column of letters (any case, up to three) with base 65 (A = 0, Z = 25, AA = 26)
// or base 64 (A = 1, AB = 28); -1 for no letters or a column past XFD.
int Get_Col_index(const QString& letters, int base);
// Letters of a 1-based column number (1 A, 27 AA, 702 ZZ, 703 AAA); "" below 1.
QString Column_Letters(int column);

// ---- Texts in spreadsheet parts ----
// Decodes the _xHHHH_ escapes that spreadsheet parts use for characters XML
// cannot hold.
QString Decode_Spreadsheet_Escapes(const QString& text);
// Escapes characters XML 1.0 cannot hold (and "_x" that would read as an
// escape) as _xHHHH_; unpaired surrogates become U+FFFD. Markup characters
// are not touched here.
QString Encode_Spreadsheet_Escapes(const QString& text);
// A value the writer stores as a number: a plain C-locale decimal (optional
// '-', digits, optional '.' and digits) without leading zeros, without
// trailing zeros after the point and with at most 15 digits.
bool Is_Plain_Number_Text(const QString& text);

// ---- One workbook being read ----
class Zip_Package;
struct Xlsx_Shared_Strings;
class Raw_Row_Sink;

// A table read from a sheet, stored compactly: each cell that holds a text
// takes eight bytes and a reference to its text; texts of the workbook's
// shared strings stay where the workbook keeps them, one copy however many
// cells use it; other texts lie in one buffer. Empty cells take nothing, so
// a table of millions of mostly empty cells is small. Copies share the data.
class Sheet_Cells {
public:
    Sheet_Cells();
    ~Sheet_Cells();
    Sheet_Cells(const Sheet_Cells&);
    Sheet_Cells& operator=(const Sheet_Cells&);
    Sheet_Cells(Sheet_Cells&&) noexcept;
    Sheet_Cells& operator=(Sheet_Cells&&) noexcept;

    qsizetype rowCount() const { return qsizetype(m_rowEnds.size()); }
    // The columns: up to the last one that holds a text in any row.
    int columnCount() const { return m_columns; }
    bool isEmpty() const { return m_rowEnds.empty(); }
    // The text of a cell; "" for an empty one or one outside the table.
    QString cell(qsizetype row, int column) const;
    // A row as wide as the table.
    QStringList row(qsizetype row) const;
    // The cells of a row that hold a text (0 for a row without any).
    int textCount(qsizetype row) const;
    // Every row as wide as the table (for small tables: each cell then
    // takes a string of its own).
    SheetTable toTable() const;
    // Memory the table holds, the workbook's shared texts it uses included.
    qint64 storedBytes() const;

private:
    friend class Sheet_Cells_Builder;
    struct Cell {
        quint32 text = 0;     // index of the shared text, or of the table's own
        quint16 column = 0;
        quint16 flags = 0;    // Shared, Escaped
    };
    static constexpr quint16 Shared = 1, Escaped = 2;
    // Where a row's cells begin and end in m_cells.
    size_t rowBegin(qsizetype row) const;
    size_t rowEnd(qsizetype row) const { return m_rowEnds[size_t(row)]; }
    QString textOf(const Cell& c) const;

    std::shared_ptr<const Xlsx_Shared_Strings> m_shared;
    std::shared_ptr<Xlsx_Shared_Strings> m_own;
    std::vector<quint32> m_rowEnds;  // end of each row's cells in m_cells
    // The cells that hold a text, by row and column (in blocks: a table
    // that grows is never copied whole to a larger place).
    std::deque<Cell> m_cells;
    int m_columns = 0;
};

// What the caller of a table read will keep of it besides the compact
// table, so that the budget of the read counts it too: a read that would
// leave the caller holding more than the budget is refused before the
// caller stores anything. Each text of a kept column costs `bytesPerUnit`
// for each of its UTF-16 units and `bytesPerText`; each row with a text
// costs `bytesPerRow`. A column is listed once for each text of the
// caller's it fills (the list's value and header from one column: twice);
// no column listed stands for every column once.
// `held` answers what the caller holds already and keeps beside the table
// once the table has given `rows` rows that hold a text (a list's rows the
// import leaves: all of them when it appends, those past the rows it
// replaces when it overwrites from the start); none when unset.
struct Sheet_Keep {
    QList<int> columns;
    qint64 bytesPerUnit = 0;
    qint64 bytesPerText = 0;
    qint64 bytesPerRow = 0;
    std::function<qint64(qint64 rows)> held;
};

// Called with each row as it is read; answers false to stop the read.
using Sheet_Row_Sink = std::function<bool(QStringList& row)>;
// Called now and then while a part is read: bytes inflated so far, and the
// part's size; answers false to stop the read (a user's Stop).
using Sheet_Progress = std::function<bool(qint64 done, qint64 total)>;

class Xlsx_Workbook {
public:
    Xlsx_Workbook();
    ~Xlsx_Workbook();
    Xlsx_Workbook(const Xlsx_Workbook&) = delete;
    Xlsx_Workbook& operator=(const Xlsx_Workbook&) = delete;

    // Reads the package's directory, its relationships, the workbook part
    // and the shared strings (each as a stream). False, with lastError()
    // saying what to do, when it is no workbook that can be read: not a
    // package, a workbook saved with a password, an old .xls file, an
    // OpenDocument file, damaged or too large texts.
    bool open(const QString& path);
    bool isOpen() const;
    // Lets go of the file and of everything read from it.
    void close();

    QStringList sheetNames() const;      // in workbook order
    int sheetCount() const;
    qint64 sharedStringCount() const;
    QString sharedString(qint64 index) const;

    // Streams the rows of the sheet numbered from 1, one row per row
    // element in document order (rows the sheet leaves out are not there;
    // empty rows at the end are not given). A row holds its cells up to its
    // last one with a text (so rows differ in length); a cell's text is the
    // shared string it names, its inline text, or its value as stored (a
    // formula by its cached value); a long shared text used by many cells
    // comes as one shared string. `sink` may take the row's strings. The
    // budget of a table read holds, as if the rows were kept. False, with
    // lastError(), when the sheet cannot be read (the rows given before the
    // fault were read from the sheet as it stands) or the sink stopped;
    // stopped() tells the two apart.
    bool readRows(int sheetNumber, const Sheet_Row_Sink& sink, const Sheet_Progress& progress = {});
    // After a read: the columns of the sheet (the last column holding a
    // text), and whether the sink or the progress stopped it.
    int lastColumns() const { return m_columns; }
    bool stopped() const { return m_stopped; }

    // The whole table of a sheet, stored compactly, under the budget of a
    // table read, which counts what the caller will keep of it too (`keep`).
    // An empty table and lastError() when it cannot be read.
    Sheet_Cells readSheet(int sheetNumber, const Sheet_Progress& progress = {}, const Sheet_Keep& keep = {});
    // The first row only, as wide as the sheet, empty cells holding
    // "Untitled Column <n>" (the whole sheet is read to find its columns;
    // only the first row is made strings). A title is a name to choose a
    // column by: one longer than Max_Column_Title_Chars is cut there.
    SheetTable readHeader(int sheetNumber, const Sheet_Progress& progress = {});

    QString lastError() const { return m_error; }

private:
    struct Sheet {
        QString name;
        QString part;  // package path of the part; "" when it has none
    };
    bool failOpen(const QString& error);
    // The steps of open(), in order: the package; its workbook part, the
    // sheets it names and the part of its texts; the worksheet parts found
    // by name when no workbook part names any; the shared strings.
    bool openPackage(const QString& path);
    bool readWorkbookPart(bool& encrypted, QString& sharedPart);
    void findWorksheetParts(const QString& folder);
    bool readSharedStrings(const QString& sharedPart, bool& encrypted);

    // Streams the cells of a sheet, row by row, to `rows`, under the budget
    // of a table read.
    bool readSheetPart(int sheetNumber, Raw_Row_Sink& rows, const Sheet_Progress& progress,
                       const Sheet_Keep& keep = {});

    std::unique_ptr<Zip_Package> m_zip;
    std::shared_ptr<Xlsx_Shared_Strings> m_shared;
    QList<Sheet> m_sheets;
    QString m_error;
    int m_columns = 0;
    bool m_stopped = false;
};

// A table given to the writer row by row: `count` rows, row r made by
// `row(r, cells)` (the cells list comes empty). The first row's length is
// the sheet's width.
struct Sheet_Row_Source {
    qsizetype count = 0;
    std::function<void(qsizetype, QStringList&)> row;
};

// ---- The workbook reader and writer as the import and export windows use them ----
class SpreadsheetWriter {
public:
    // The one shared reader of the process (GUI thread).
    static SpreadsheetWriter* spreadsheet();

    // With `only_col` true, prepares the workbook at `path` (Excel_Sheet_Columns
    // becomes 1) and returns the rows of the previous read; with false,
    // returns every row of the 1-based sheet Excel_Sheet_Number of the
    // prepared workbook.
    static SheetTable ReadWorkbook(const QString& path, bool only_col, int Excel_Sheet_Number = 1);
    // The sheet names of the prepared workbook.
    static QStringList Read_Sheet_Name();
    // The header row of sheet Excel_Sheet_Number; sets Excel_Sheet_Columns.
    static SheetTable ReadData_only_column(int Excel_Sheet_Number = 1);

    // Writes the table (titles in its first row) as a one-sheet workbook made
    // from the resource "Template.xlsx" (our own parts when it is missing or
    // damaged), atomically and straight into the package (compact XML, no
    // copy of the table and nothing unpacked to disk). False, with `error`,
    // when it could not be written; the old file is then kept.
    static bool WriteWorkbook(const QString& path, const SheetTable& data, bool hasTitleRow,
                              QString* error = nullptr);
    static bool WriteWorkbook(const QString& path, const Sheet_Row_Source& rows, QString* error = nullptr);
    static QString ColumnIndexToName(int column) { return Column_Letters(column); }
    // The worksheet and shared-strings parts of a table (the strings are
    // collected into `sharedStrings`, one per text cell).
    static QByteArray Worksheet_XML(const SheetTable& data, QStringList& sharedStrings);
    static QByteArray Shared_Strings_XML(const QStringList& sharedStrings);
    // A workbook part naming one sheet.
    static QByteArray Workbook_XML(const QString& sheetName);
    static bool WriteWorkbookXML(const QString& path, const QString& sheetName);

    // ---- XML Spreadsheet 2003 ----
    // The rows of the first worksheet (cells placed by their index), read
    // as a stream under the same limits as a workbook.
    static SheetTable ReadWorksheetXML2004(const QString& path, QString* error = nullptr);
    static bool WriteWorksheetXML2004(const QString& path, const SheetTable& data);
    // ---- OpenDocument spreadsheet ----
    // The rows of the first table, read as a stream from the package under
    // the same limits as a workbook; repeated cells and rows expanded, blank
    // ones at the ends of rows and of the table left out.
    static SheetTable ReadODS(const QString& path, QString* error = nullptr);
    static bool WriteODS(const QString& path, const SheetTable& data, bool hasTitleRow,
                         QString* error = nullptr);
    static QByteArray ODS_Content_XML(const SheetTable& data);

    // The shared instance's state.
    SheetTable data;            // rows of the last read
    int Excel_Sheet_Columns = 0;  // width of the sheet, set by the header read (and the row read)
    QString lastError;

    Xlsx_Workbook& workbook() { return m_workbook; }

private:
    Xlsx_Workbook m_workbook;
};
