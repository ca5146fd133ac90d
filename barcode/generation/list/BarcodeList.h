#pragma once
// The barcode list of barcode mode: rows of value, header, footer and print
// quantity, as a table model the list table shows and every writer (list
// commands, row editor, imports, list generator, settings file) changes
// through the two row operations.
//
// The rows live packed in one store (see BarcodeRowStore), so the table asks
// for any row in constant time and a million rows of four texts take about
// 24 bytes a row beside their characters. The model belongs to the GUI
// thread; a worker that fills it hands its rows to the GUI thread (see
// Apply_Import_Rows and Append_Rows).
#include "barcode/generation/list/BarcodeRowStore.h"

#include <QAbstractTableModel>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The keys of a row's texts, which are also the identifiers of the table's
// columns, in column order: "Value", "Header", "Footer", "PQ".
QString Barcode_Row_Key(int column);
// The text of a row under a column (0 value, 1 header, 2 footer, 3 quantity).
const QString& Barcode_Row_Text(const BarcodeRow& row, int column);
QString& Barcode_Row_Text(BarcodeRow& row, int column);

// True when the text is NOT a valid print quantity: after trimming, one to
// three decimal digits whose value is at least 1 ("05" is valid; "", "0",
// "000", "1000", "1a", "-1" and "+5" are not).
bool Check_PQ_Number(QStringView text);
inline bool Check_PQ_Number(const QString& text) { return Check_PQ_Number(QStringView(text)); }
// The integer value of a row's trimmed quantity (0 when empty or not a number).
int PQ_Value(QStringView text);
inline int PQ_Value(const QString& text) { return PQ_Value(QStringView(text)); }
// Labels a row gives: its print quantity; an empty one (after "Clear print
// quantities"), 0 or one that is no number gives one label, as the reader of
// a saved list takes it and as the printed sheet draws it.
int Row_Copies(QStringView pq);
inline int Row_Copies(const QString& pq) { return Row_Copies(QStringView(pq)); }
int Row_Copies(QAnyStringView pq);   // a quantity as the list keeps it

// The separator line list files may hold: 76 "=" characters. A row whose
// value is exactly this line is never inserted.
const QString& Barcode_List_Separator();

// Most rows the list holds (as many as a barcode settings file may carry).
inline constexpr int Barcode_List_Max_Rows = 1000000;

// The default row the add commands insert.
BarcodeRow Default_Barcode_Row();

class BarcodeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BarcodeListModel(QObject* parent = nullptr);

    // ---- Table ----
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Display: the text, cut to its first Display_Limit characters (a cell
    // never lays out a huge text); edit and tool tip roles: the whole text.
    // Nothing for a row outside the list.
    QVariant data(const QModelIndex& index, int role) const override;
    // A text typed into a cell is stored as typed under the column's key,
    // except that an invalid print quantity becomes "1" as in the row
    // operations. False (nothing stored) for a row outside the list.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Horizontal header: the column titles; with Column_Key_Role the keys.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    static constexpr int Column_Key_Role = Qt::UserRole + 1;
    static constexpr int Display_Limit = 1000;

    // ---- Rows ----
    int count() const { return m_rows->size(); }
    bool isEmpty() const { return m_rows->empty(); }
    // The rows as they are now, as a value that stays so while the list
    // changes on (taking it copies nothing).
    BarcodeRowsView rows() const { return BarcodeRowsView(m_rows); }
    // The row at an index; false (and nothing given) outside the list.
    bool rowAt(int index, BarcodeRow* row) const;
    // A text of a row (0 value, 1 header, 2 footer, 3 quantity) without
    // copying it, valid until the list changes; "" outside the list.
    QAnyStringView textAt(int index, int column) const;
    // The rows as the rest of the program passes them around ("Value",
    // "Header", "Footer", "PQ").
    QList<QMap<QString, QString>> toMapList() const;

    // ---- The two row operations ----
    // Inserts a row of the four trimmed texts at `index` (an empty list
    // appends whatever the index; an index equal to the count appends). A
    // value equal to the separator line inserts nothing; an invalid quantity
    // becomes "1". False when nothing was inserted (separator, an index
    // outside 0..count, or a full list).
    bool Create_Item_List(const QString& value, const QString& header, const QString& footer,
                          const QString& pq, int index);
    // Replaces the row at `index` with the four trimmed texts: an invalid
    // quantity becomes "1", then a row whose value, header and footer are all
    // empty gets an empty quantity. False (nothing changed) for an index
    // outside the list.
    bool Replace_Item_List(const QString& value, const QString& header, const QString& footer,
                           const QString& pq, int index);
    // The rows a writer gives, normalised as the two operations do it.
    static bool Normalise_New_Row(BarcodeRow& row);    // false for the separator
    // The same for texts held elsewhere (an import's lines): the four views
    // become the trimmed pieces of themselves, an invalid quantity "1".
    static bool Normalise_New_Texts(QStringView texts[4]);
    // With clear_PQ_Flag (the two clear commands that empty the quantity
    // column) the quantity is stored unchecked.
    static void Normalise_Replaced_Row(BarcodeRow& row, bool clear_PQ_Flag = false);

    // ---- Whole-list changes of the list commands ----
    // Removes the rows at the given indexes at once (duplicates and indexes
    // outside the list are ignored); answers the largest removed index, -1
    // when nothing was removed.
    int Remove_Rows(const QList<int>& indexes);
    // A blank row: value, header and footer empty after trimming and a
    // trimmed quantity that is empty or "1".
    static bool Is_Blank_Row(const BarcodeRow& row);
    bool Has_Blank_Row() const;
    // Removes every blank row, keeping the order of the others; answers how
    // many went.
    int Remove_Blank_Rows();
    void Remove_All_Rows();
    // Empties a column of every row (0 value, 1 header, 2 footer, 3 quantity,
    // -1 all four) through the replace operation; the quantity and all-texts
    // clears store empty quantities.
    void Clear_Column(int column);
    // Swaps two rows through the replace operation (both re-normalised).
    // False when either does not exist.
    bool Move_And_Replace_List_Item(int from, int to);
    // Replaces every row (a settings file read): each row goes through the
    // insert rule; separator rows are left out.
    void Load_Rows(const std::vector<BarcodeRow>& rows);

    // ---- Imports ----
    // Rows an import puts at consecutive positions from `*index`: a position
    // below `previousCount` (the row count before the import began) replaces
    // that row, any other appends. Rows whose value is the separator are left
    // out without using a position. Stops when the list is full; answers how
    // many rows were placed (one reset of the changed range, not one signal
    // per row).
    // `normalised` says the rows were normalised as new rows already (by the
    // worker that made them): the appended ones are taken as they are.
    int Apply_Import_Rows(std::vector<BarcodeRow> rows, int* index, int previousCount, bool normalised = false);
    // Appends rows normalised as new rows already (made on a worker), up to
    // the largest list; answers how many were appended.
    int Append_Rows(const BarcodeRowStore& rows);
    // Makes room for `count` rows in all (an import that knows how many
    // rows come grows the list once).
    void Reserve_Rows(int count);

signals:
    // The number of rows changed (the total-rows label follows it).
    void countChanged(int count);

private:
    void rowsChangedAt(int first, int last);
    // The store to change: the list's own again when a view still shares it.
    BarcodeRowStore& store();
    std::shared_ptr<BarcodeRowStore> m_rows;
};
