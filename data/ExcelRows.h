#pragma once
// The spreadsheet rows of a design: the table of values taken from chosen
// spreadsheet columns that spreadsheet-bound items read row by row.
//
// A row is a dictionary: "Extension" holds its number counted from 1, and
// "Column<k>" the trimmed cell of the k-th chosen column. The column titles
// are those of the viewer's table, position 0 (the row number) included, so a
// bound column index c means "Extension" for 0 and "Column<c>" otherwise.
// The rows are built on the GUI thread and read by batch jobs from workers;
// every access takes the model's lock.
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>

#include "data/Spreadsheet.h"

using ExcelRow = QMap<QString, QString>;

// "Extension" for 0, "Column<n>" for n >= 1.
QString Excel_Column_Key(int column);
// Title of the row-number column at position 0.
inline const QString Excel_Row_Number_Title = QStringLiteral("#");

class Excel_Rows {
public:
    Excel_Rows();

    int rowCount() const;
    // Columns of the table, position 0 included (K + 1).
    int columnCount() const;
    // Titles of every table column in position order, position 0 included.
    QStringList columnTitles() const;
    QList<ExcelRow> ListData() const;
    ExcelRow row(int row) const;

    // Appends a row from the cells of the chosen columns (count = K), each
    // trimmed; false (logged, nothing added) when there are fewer cells than
    // `count`.
    bool Create_List_By_Array(const QStringList& cells, int count);
    // "Extension" of the row for column 0, else its "Column<col>"; "" for a
    // row that does not exist (logged).
    QString Get_Item_Text(int row, int col) const;
    // Stores a value under a key of a row; false for a row outside the table.
    bool setValue(int row, const QString& key, const QString& value);

    // Empties the rows (the columns stay).
    void Clear_Rows();
    // Keeps position 0 and makes one column per chosen title.
    void Set_Columns(const QStringList& chosenTitles);
    // Set_Columns, then one row per table row with the cells of the chosen
    // columns (indexes into each table row; a missing cell is empty).
    void Fill_From_Columns(const QStringList& chosenTitles, const SheetTable& table,
                           const QList<int>& chosenColumns, int firstRow = 0);
    // The design file's form: every title in position order (position 0
    // included; its own title is not taken) and the rows as stored.
    void Restore(const QStringList& allTitles, const QList<ExcelRow>& rows);

    // Grows with every change, so a view can tell it must reload.
    quint64 revision() const;

private:
    mutable QMutex m_lock;
    QStringList m_titles;
    QList<ExcelRow> m_rows;
    quint64 m_revision = 0;
};
