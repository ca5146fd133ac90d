#pragma once
// Spreadsheets: reading a worksheet of an .xlsx workbook into a table of text
// rows, writing a table as an .xlsx workbook, and the two further formats
// (XML Spreadsheet 2003 and OpenDocument) that nothing in the interface uses.
//
// A workbook is unpacked into a private temporary folder of its own (one per
// Xlsx_Workbook), so readers never meet each other's files and writing never
// ends a workbook being read. The reader takes what common programs write:
// rich-text and inline strings, formulas by their cached value, cells
// without a reference, columns beyond ZZ, sheets without a dimension or with
// a wrong one, sheets found through the workbook's relationships, namespace
// prefixes, the strict namespace and part names in any case. Damaged input
// gives an empty result and an error text, never a crash, and memory stays
// bounded (see the limits below).
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

// Rows of text cells; entry i of a row is column i (0 is column A).
using SheetTable = QList<QStringList>;

// ---- Limits of what is read ----
inline constexpr int Max_Sheet_Columns = 16384;        // A to XFD
inline constexpr qint64 Max_Sheet_Cells = 8'000'000;   // rows x columns of one table

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
class Xlsx_Workbook {
public:
    Xlsx_Workbook();
    ~Xlsx_Workbook();
    Xlsx_Workbook(const Xlsx_Workbook&) = delete;
    Xlsx_Workbook& operator=(const Xlsx_Workbook&) = delete;

    // Unpacks the package and reads its workbook part and shared strings.
    // False, with lastError(), when it is no readable workbook.
    bool open(const QString& path);
    bool isOpen() const;
    void close();

    QStringList sheetNames() const;      // in workbook order
    int sheetCount() const;
    QStringList sharedStrings() const;

    // The table of the sheet numbered from 1: one row per row element of the
    // sheet in document order (rows the sheet leaves out are not there, empty
    // rows at the end are dropped), every row as wide as the sheet: the
    // larger of its dimension and its last used column (the dimension is
    // ignored when it would make the table too large). An empty table and
    // lastError() for a sheet that cannot be read.
    SheetTable readSheet(int sheetNumber);
    // The sheet's width as readSheet gives it (0 for an empty sheet).
    int sheetColumns(int sheetNumber);
    // The first row only, empty cells holding "Untitled Column <n>".
    SheetTable readHeader(int sheetNumber);

    QString lastError() const { return m_error; }
    // The private folder the package was unpacked into.
    QString folder() const;

private:
    struct Sheet {
        QString name;
        QString part;  // package path of the part; "" when it has none
    };
    QString partPath(const QString& packagePath) const;
    bool readSharedStrings(const QString& packagePath);

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<Sheet> m_sheets;
    QStringList m_shared;
    QString m_error;
    // The last sheet read, so the header read and the row read parse once.
    int m_cachedSheet = 0;
    SheetTable m_cachedTable;
    int m_cachedColumns = 0;
};

// Reads the sheet part at a file path with the given shared strings (the
// worker of Xlsx_Workbook::readSheet); `columns` receives the width.
SheetTable Read_Worksheet_Part(const QString& file, const QStringList& sharedStrings, int* columns,
                               QString* error);
// The strings of a shared-strings part at a file path, in part order.
QStringList Read_Shared_Strings_Part(const QString& file, QString* error = nullptr);

// ---- The workbook reader and writer as the import and export windows use them ----
// The 1-based sheet that the process reads; set by the callers.
extern int Excel_Sheet_Number;
// Width of the sheet, set by the header read (and the row read).
extern int Excel_Sheet_Columns;

class SpreadsheetWriter {
public:
    // The one shared reader of the process (GUI thread).
    static SpreadsheetWriter* spreadsheet();

    // With `only_col` true, prepares the workbook at `path` (Excel_Sheet_Columns
    // becomes 1) and returns the rows of the previous read; with false,
    // returns every row of sheet Excel_Sheet_Number of the prepared workbook.
    static SheetTable ReadWorkbook(const QString& path, bool only_col);
    // The sheet names of the prepared workbook.
    static QStringList Read_Sheet_Name();
    // The header row of sheet Excel_Sheet_Number; sets Excel_Sheet_Columns.
    static SheetTable ReadData_only_column();

    // Writes the table (titles in its first row) as a one-sheet workbook made
    // from the resource "Template.xlsx" (our own parts when it is missing or
    // damaged), atomically. False, with `error`, when it could not be written;
    // the old file is then kept.
    static bool WriteWorkbook(const QString& path, const SheetTable& data, bool hasTitleRow,
                              QString* error = nullptr);
    static QString ColumnIndexToName(int column) { return Column_Letters(column); }
    // The worksheet and shared-strings parts of a table (the strings are
    // collected into `sharedStrings`, one per text cell).
    static QByteArray Worksheet_XML(const SheetTable& data, QStringList& sharedStrings);
    static QByteArray Shared_Strings_XML(const QStringList& sharedStrings);
    // A workbook part naming one sheet.
    static QByteArray Workbook_XML(const QString& sheetName);
    static bool WriteWorkbookXML(const QString& path, const QString& sheetName);

    // ---- XML Spreadsheet 2003 ----
    // The rows of the first worksheet (cells placed by their index).
    static SheetTable ReadWorksheetXML2004(const QString& path, QString* error = nullptr);
    static bool WriteWorksheetXML2004(const QString& path, const SheetTable& data);
    // ---- OpenDocument spreadsheet ----
    // The rows of the first table; repeated cells expanded up to the column
    // limit, a repeated row read once.
    static SheetTable ReadODS(const QString& path, QString* error = nullptr);
    static bool WriteODS(const QString& path, const SheetTable& data, bool hasTitleRow,
                         QString* error = nullptr);
    static QByteArray ODS_Content_XML(const SheetTable& data);

    // The shared instance's state.
    SheetTable data;            // rows of the last read
    QStringList sharedStrings;  // strings of the prepared workbook
    QString tmpDir;             // the prepared workbook's private folder
    QString lastError;

    Xlsx_Workbook& workbook() { return m_workbook; }

private:
    Xlsx_Workbook m_workbook;
};
