#pragma once
// Table models of the series windows: a list of texts in one read-only
// column, and the columns of a worksheet with a tick and a series name each.
#include <QAbstractTableModel>
#include <QStringList>

class QTableView;

// Texts in one column (series names, values).
class Series_String_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit Series_String_Model(const QString& title, QObject* parent = nullptr);

    const QStringList& values() const { return m_values; }
    void setValues(const QStringList& values);
    void append(const QStringList& values);
    void replaceAt(int row, const QString& value);
    // Removes the rows (any order, duplicates allowed).
    void removeRowsAt(QList<int> rows);
    void clear() { setValues({}); }
    int size() const { return int(m_values.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString m_title;
    QStringList m_values;
};

// One worksheet column offered for import. `column` is the column's own
// index in the sheet (0 is column A), so a row always stands for its column.
struct Excel_Column_Entry {
    bool State = false;  // ticked
    QString Extension;   // the column's name, trimmed
    QString Header;      // the series name (each-column mode), editable
    int column = 0;
};

// The column entries: a tick column "State", the name "Extension" and, when
// shown, the editable series name "Header".
class Excel_Column_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { StateColumn = 0, ExtensionColumn = 1, HeaderColumn = 2 };
    explicit Excel_Column_Model(bool withHeader, QObject* parent = nullptr);

    const QList<Excel_Column_Entry>& entries() const { return m_entries; }
    void setEntries(const QList<Excel_Column_Entry>& entries);
    void setState(int row, bool state);
    void setHeader(int row, const QString& header);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool m_withHeader;
    QList<Excel_Column_Entry> m_entries;
};

// A plain table over a model: whole rows selected, no grid, no row numbers.
void Setup_Series_Table(QTableView* table, bool multiSelection);
// The selected rows, ascending.
QList<int> Selected_Table_Rows(const QTableView* table);
// Selects only that row, scrolls to it and gives the table the focus.
void Select_Only_Row(QTableView* table, int row);
