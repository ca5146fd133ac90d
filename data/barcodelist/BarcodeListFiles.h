#pragma once
// Barcode list files: reading a text, CSV or RTF file into list rows (piece
// by piece, so a worker can read a large file while the GUI thread places
// its rows and the user can stop), placing the rows of a file or of a
// worksheet into the list, and writing the list as tab-separated text or as
// a workbook.
#include "barcode/generation/list/BarcodeList.h"
#include "data/Spreadsheet.h"
#include "data/TextImport.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

// The message of a file that gives no rows.
extern const QString List_File_Invalid_Message;  // "Either file is corrupted or selected file contains invalid characters."

// Which texts of a row the file fills, and where its rows go.
struct List_Import_Options {
    bool value = false;
    bool header = false;
    bool footer = false;
    bool pq = false;
    bool overwrite_text_load_row = true;  // from row 0 on (rows past the end are added); else after the last row
    // A text not ticked keeps what an overwritten row holds (the list
    // generator); else it is empty (the text import).
    bool keepUnticked = false;
    bool any() const { return value || header || footer || pq; }
};

// One line of a list file: its fields split at tabs and trimmed (the first
// four kept, the count of all), or one non-empty CSV cell (`cell`). The
// fields are pieces of the line's text, not strings of their own.
struct List_Line {
    QString text;
    struct Piece {
        qsizetype from = 0;
        qsizetype size = 0;
    };
    Piece pieces[4];
    int count = 0;
    bool cell = false;
    QStringView field(int k) const { return QStringView(text).mid(pieces[k].from, pieces[k].size); }
    static List_Line Cell(QString text)
    {
        List_Line line;
        line.pieces[0] = {0, text.size()};
        line.text = std::move(text);
        line.count = 1;
        line.cell = true;
        return line;
    }
};

// The row one line gives. A text line fills the ticked texts from its
// fields in order (value, header, footer, quantity); a ticked text whose
// line has too few fields takes the field read last for that line, and an
// empty header, footer or quantity field keeps the text the row had. A CSV
// cell fills every ticked text. A text that is not ticked is empty, in an
// overwritten row too, unless the options keep it. `overwritten` is null for
// a new row.
BarcodeRow List_Line_Row(const List_Line& line, const List_Import_Options& o, const BarcodeRow* overwritten);
// The texts of the new row a line gives (as List_Line_Row with no row
// overwritten), as pieces of the line.
void List_Line_Texts(const List_Line& line, const List_Import_Options& o, QStringView texts[4]);

// Reads a list file piece by piece. Text files are read in the encoding
// their bytes show, as every import decides it (Text_Encoding_Probe: the
// byte-order mark, else UTF-8 with bytes that are not UTF-8 read as U+FFFD,
// else Windows-1252 when no multi-byte UTF-8 sequence is there);
// lines end at "\r\n", "\n" or "\r"; empty lines are skipped. CSV files
// follow RFC 4180 and give one line per non-empty cell. RTF files give the
// lines of their whole text. A line (or CSV record) with a text longer than
// Max_Field_Length is left out and counted.
class List_File_Reader {
public:
    static constexpr int Max_Field_Length = 32767;
    static constexpr qint64 Max_Rtf_Bytes = qint64(256) << 20;

    List_File_Reader();
    ~List_File_Reader();

    // Opens the file and checks its encoding (a pass over its bytes). False,
    // with error(), when it cannot be read or is not text.
    bool open(const QString& path);
    // The bytes read at a time (before open()); what is read never depends on it.
    void setPieceBytes(qsizetype bytes) { m_pieceBytes = std::max<qsizetype>(1, bytes); }
    // Appends up to `max` lines; false when the file has no more (or an
    // error stopped it: see error()).
    bool readLines(std::vector<List_Line>& out, int max);

    qint64 bytesDone() const { return m_done; }
    // Lines of a text file (known once it is open; 0 for CSV and RTF).
    qint64 lineCount() const { return m_kind == Import_File_Kind::Text ? m_probe.lines() : 0; }
    qint64 bytesTotal() const { return m_total; }
    // Why the file could not be read; empty when it could.
    QString error() const { return m_error; }
    int tooLongLines() const { return m_tooLong; }
    // The lines whose bytes did not decode (read as U+FFFD), when any.
    QString decodingNote() const;
    bool endedInsideQuote() const { return m_csv && m_csv->endedInsideQuote(); }
    qint64 openQuoteLine() const { return m_csv ? m_csv->openQuoteLine() : 0; }

private:
    void take(std::vector<Text_Line>& lines, std::vector<List_Line>& out);
    void take(std::vector<Csv_Record>& records, std::vector<List_Line>& out);

    Import_File_Kind m_kind = Import_File_Kind::Text;
    qsizetype m_pieceBytes = Text_Piece_Bytes;
    QFile m_file;
    Text_Encoding_Probe m_probe;
    Text_Encoding m_encoding = Text_Encoding::Utf8;
    std::unique_ptr<Text_Stream_Decoder> m_decoder;
    std::unique_ptr<Line_Stream_Splitter> m_lines;
    std::unique_ptr<Csv_Stream_Parser> m_csv;
    QString m_rtfText;         // the whole text of an RTF document
    qsizetype m_rtfPos = 0;
    std::vector<Text_Line> m_pendingLines;
    std::vector<Csv_Record> m_pendingRecords;
    size_t m_pendingPos = 0;
    bool m_atEnd = false;
    qint64 m_done = 0;
    qint64 m_total = 0;
    int m_tooLong = 0;
    QString m_error;
};

// The rows of a chunk of lines made on a worker: the lines that replace rows
// the list had before the import (they start from those rows, so they are
// made on the GUI thread) and then the new rows, made, normalised and packed
// as the list keeps them (separator lines left out).
struct List_Prepared_Rows {
    std::vector<List_Line> replacing;
    BarcodeRowStore adding;
};

// Places lines into the list (GUI thread): from row 0 replacing rows that
// were there before the import (overwrite), or after the last row.
class List_Import_Placer {
public:
    List_Import_Placer(BarcodeListModel& model, const List_Import_Options& options);
    // Makes room in the list at once for about `rows` rows to come (a list
    // grown a chunk at a time would hold its old and new storage together).
    void expect(qint64 rows);
    // Makes the rows of the next lines, in order, without the list (so a
    // worker can do it while the GUI thread places the chunk before).
    List_Prepared_Rows prepare(std::vector<List_Line>&& lines);
    void place(List_Prepared_Rows&& rows);
    void place(const std::vector<List_Line>& lines);
    // Places rows made by the caller (they replace or append the same way);
    // `normalised` when the new ones are normalised already.
    void placeRows(std::vector<BarcodeRow> rows, bool normalised = false);
    int placed() const { return m_placed; }
    // The list reached its largest size; later rows were not placed.
    bool full() const { return m_full; }
    int previousCount() const { return m_previous; }
    int position() const { return m_index; }

private:
    // Counts rows placed at the position the import reached.
    void placed(int rows, qsizetype given);

    BarcodeListModel& m_model;
    List_Import_Options m_options;
    int m_previous = 0;
    int m_index = 0;
    int m_prepared = 0;  // the position the next prepared line goes to
    int m_placed = 0;
    bool m_full = false;
};

struct Series_Progress;
// Reads an opened file on the calling worker thread and places its rows
// through the GUI thread (the list belongs to it), a chunk being read and
// made ready while the chunk before is placed. Ends at the end of the file,
// when the job is stopped or when the list is full.
void Import_List_Lines(List_File_Reader& reader, List_Import_Placer& placer, Series_Progress& job);

// Reads the whole file and places its rows on the calling thread; false,
// with `message`, when the file gives no row. The message also names what
// was left out.
bool Import_List_File_Now(BarcodeListModel& model, const QString& path, const List_Import_Options& options,
                          QString* message);

// The notes after an import: lines whose bytes were not UTF-8, lines left
// out for their length, a quote left open, a full list. Empty when there is
// nothing to say.
QString List_Import_Notes(const List_File_Reader& reader, const List_Import_Placer& placer);

// ---- Spreadsheet rows ----
// Which column (0 first, -1 none) feeds each text.
struct List_Sheet_Columns {
    int value = -1, header = -1, footer = -1, pq = -1;
};
// The row a worksheet row gives: each ticked text takes the cell of its
// column when the row has one, else keeps what the overwritten row held
// (empty for a new row).
BarcodeRow List_Sheet_Row(const QStringList& cells, const List_Import_Options& o, const List_Sheet_Columns& c,
                          const BarcodeRow* overwritten);

// ---- Export ----
// The path written for a chosen path: "xlsx" (any case) writes a workbook,
// "txt" a text file; any other extension gets ".txt" appended.
QString List_Export_Path(const QString& chosen, bool* workbook);
// One line per row: value, header, footer and quantity separated by tabs,
// ended by "\n", UTF-8 without a byte-order mark. A tab or line break inside
// a text would split the row: it is written as a space.
QByteArray Barcode_List_Text_Bytes(const BarcodeRowsView& rows);
// Title row "Barcode Value", "Barcode Header", "Barcode Footer", "Print
// Quantity", then the rows, handed to the workbook writer one at a time (the
// cells of a row read the rows' own characters: they hold while the source
// lives, until it is asked for the next row).
Sheet_Row_Source Barcode_List_Sheet_Rows(const BarcodeRowsView& rows);
// Writes the list atomically (the old file stays when writing fails). False,
// with `error`, when it could not be written.
bool Export_Barcode_List(const QString& path, const BarcodeRowsView& rows, QString* error);
