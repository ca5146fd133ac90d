#pragma once
// The spreadsheet data viewer: a small modal window that shows the
// spreadsheet rows of the design (Excel_Rows) with their column titles, the
// number of rows and the number of columns. Opened by the view buttons of the
// data-source panels when an item's source is the spreadsheet.
#include <QAbstractTableModel>
#include <QDialog>
#include <QPointer>

#include "data/ExcelRows.h"

class QLabel;
class QPushButton;
class QTableView;

// The table model of the viewer: one column per table column, its header the
// column title; cells read under the column's key.
class Excel_Rows_Table_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit Excel_Rows_Table_Model(QObject* parent = nullptr);
    // Takes the rows and titles as they stand now.
    void reload(const Excel_Rows* rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_titles;
    QList<ExcelRow> m_rows;
};

class Data_From_Excel : public QDialog {
    Q_OBJECT
public:
    explicit Data_From_Excel(QWidget* parent = nullptr);
    // The one viewer, made on the GUI thread on first use.
    static Data_From_Excel* defaultInstance();
    // The one viewer if it has been made (null before); never makes one.
    static Data_From_Excel* Data_From_Excel_Window() { return s_instance.data(); }

    // The rows shown; by default those of the main window's batch binding.
    void setRows(Excel_Rows* rows) { m_source = rows; }
    Excel_Rows* rows() const;

    // Fills the counts and the table from the rows as they stand.
    void Reset_Controls();
    // Reset_Controls, then runs the viewer modally; the modal code (1 after OK).
    int Open_Wnd();
    void OK_Click();
    // Selects exactly that table row.
    void Mark_List_New_Selection(int index);

    QTableView* ColList = nullptr;
    QLabel* rows_count = nullptr;
    QLabel* column_count = nullptr;
    QPushButton* ok_button = nullptr;

private:
    Excel_Rows_Table_Model* m_model = nullptr;
    Excel_Rows* m_source = nullptr;
    static QPointer<Data_From_Excel> s_instance;
};

