#pragma once
// Design files (".dbs"): a property list whose root is an array read by
// position. Element 0 is the magic, element 1 the kind ("<DES>" a card
// design, "<BAR>" barcode-mode settings). A design holds the start option,
// the front card model (elements 3..36), the spreadsheet binding with the
// loaded rows (37..40), the number of item records (41) and one record per
// canvas item.
//
// Reading never touches what is open: the file is read into a
// Design_File_Content first, and only a file read to its end is handed over.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include "core/model/Card_Property.h"
#include "core/model/LMNGraphic.h"
#include "mainwindow/files/ItemRecord.h"

inline const QString design_file_EXT = QStringLiteral("dbs");
inline const QString Design_File_Magic = QStringLiteral("ZORVMACBARCODELABEL");
inline const QString Older_Barcode_File_Magic = QStringLiteral("ZORVMACBARCODE");
inline const QString Design_Kind = QStringLiteral("<DES>");
inline const QString Barcode_Kind = QStringLiteral("<BAR>");

// The message every unreadable design or barcode settings file gives.
inline const QString File_Corrupt_Message =
    QStringLiteral("File cannot be opened. Selected File is corrupt or invalid.");

// Largest card side in a file, in points (200 inches).
inline constexpr double Design_Max_Card_Side = 14400.0;
// Most items, spreadsheet columns and rows a file may hold.
inline constexpr int Design_Max_Items = 100000;
inline constexpr int Design_Max_Columns = 10000;
inline constexpr int Design_Max_Rows = 1000000;

// What one design holds.
struct Design_File_Content {
    QString startOption;              // element 2
    Card_Property card;               // elements 3..36
    bool excelBindingUse = false;     // 37
    QString excelSourcePath;          // 38
    QStringList columnTitles;         // 39 (title 0 belongs to the row-number column)
    QVariantList sheetRows;           // 40: one map of strings per row
    QList<LMNGraphicPtr> items;       // one per record, in list order
};

// The kinds a file can be.
enum class Design_File_Kind { Design, Barcode, OlderBarcode, Corrupt };

// Which reader a parsed root belongs to. A root that is no array, or whose
// element 0 is neither magic, is corrupt; the older magic is always barcode
// settings, except that an older-magic file claiming "<DES>" is corrupt (no
// writer makes one, and it must not pass between the two readers).
Design_File_Kind Classify_Design_Root(const QVariant& root);

// The root of a design or barcode settings file; std::nullopt (with a reason)
// when the file is missing or is no property list.
std::optional<QVariant> Read_Design_Root(const QString& path, QString* reason = nullptr);

struct Design_File_Read {
    bool ok = false;
    QString reason;                    // why it was refused
    int elementsTaken = 0;             // how far the reading got
    Design_File_Content content;
    // A design read with damaged item records: one line a record, naming it
    // by its number ("Item 3: ..."), and a line for a wrong item count.
    QStringList itemProblems;
};

// Reads a design from a parsed root (call when the root is a Design). The
// card settings, the spreadsheet binding and the item count must read, or
// the whole file is refused; a damaged item record gives a partly filled
// item (or none, for an unknown kind) and reading goes on. With
// `readSheet` a barcode item bound to a spreadsheet column is rendered from
// the file's own first row; without it the context's reader is asked.
Design_File_Read Read_Design_Content(const QVariant& root, const Item_Record_Context& context, bool readSheet);

// The elements of a design file. A template ("T") stores "T" as its start
// option, no spreadsheet titles or rows, and records with their bindings
// cleared (the open design keeps its bindings).
QVariantList Design_File_Elements(const Design_File_Content& design, bool asTemplate,
                                  Record_Pictures pictures = Record_Pictures::Included);
// Same, taking the items and card from where they live.
QVariantList Design_File_Elements(const QString& startOption, const Card_Property& card, bool excelBindingUse,
                                  const QString& excelSourcePath, const QStringList& columnTitles,
                                  const QVariantList& sheetRows, const QList<LMNGraphic*>& items,
                                  bool asTemplate, Record_Pictures pictures = Record_Pictures::Included);

// Writes elements as an XML property list, atomically.
bool Write_Design_Elements(const QString& path, const QVariantList& elements, QString* error = nullptr);

// The first value of spreadsheet column position `column` in rows of the
// viewer's form: position 0 is "Extension", others "Column%d"; an empty cell
// gives " ", no first row "".
QString First_Sheet_Value(const QVariantList& rows, int column);
