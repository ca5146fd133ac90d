#pragma once
// The two spreadsheet dialogs of the series windows. Both show a workbook's
// sheets (its real sheets, in workbook order) and the columns of the chosen
// sheet, each with a tick:
// - Import_Excel_DataSheet writes series files: one per ticked column, named
//   after the column (each-column mode), or the ticked cells row by row into
//   one new, replaced or appended series (fill mode);
// - Import_Excel adds the ticked cells, row by row, to the series manager's
//   value list.
// Every column entry keeps its column's own index, so a blank or white-space
// title never moves a later column onto another's values.
#include <QDialog>
#include <QPointer>

#include <memory>

#include "data/Spreadsheet.h"
#include "data/series/SeriesModels.h"

class BatchWizard;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

// What both dialogs share: the workbook, its sheet list and the column table.
class Excel_Columns_Dialog : public QDialog {
    Q_OBJECT
public:
    Excel_Columns_Dialog(bool withSeriesNames, QWidget* parent);
    ~Excel_Columns_Dialog() override;

    // Opens the workbook (on a worker) and lists its sheets; the first sheet's
    // columns are loaded. False, after saying why, when it cannot be read.
    bool Load_file_Func(const QString& path);
    // The chosen sheet (0-based position in the sheet list) becomes
    // Excel_Sheet_Number and its first row the column entries; a sheet with
    // no row leaves the entries as they were.
    void Sheet_Selected(int position);
    // The 1-based sheet the import reads.
    int Excel_Sheet_Number = 1;
    // The series manager that opened the window (null when none did): it
    // takes the values for its open list and refills its series list.
    QPointer<BatchWizard> BatchWizard_Window;

    void Create_List(const QString& name, bool state, const QString& seriesName, int column);
    bool Get_Selection_State(int row) const;
    bool Check_For_One_Extension_Selection() const;
    void Select_ALL_Pressed();
    void Clear_All_Pressed();
    QList<Excel_Column_Entry> ListData_xl() const;
    // Resets the dialog for a workbook and reads it; false when it cannot be read.
    virtual bool Reset_Controls(const QString& path) = 0;
    void CancelPressed() { done(0); }

    QLineEdit* file_path = nullptr;
    QCheckBox* contains_header = nullptr;
    QComboBox* Sheet_ComboBox = nullptr;
    QTableView* ColList = nullptr;
    QPushButton* select_all_btn = nullptr;
    QPushButton* clear_all_btn = nullptr;
    QPushButton* ok_btn = nullptr;
    QPushButton* cancel_btn = nullptr;

protected:
    // Resets, reads the workbook and runs the dialog modally; the modal code
    // (0 when the workbook cannot be read).
    int openFor(const QString& path);
    // There are columns and one is ticked; else says which is missing.
    bool columnsChosen() const;
    // Resets the common controls for a new opening.
    void resetCommon(const QString& path);
    // The rows of the chosen sheet, read on a worker into a compact table
    // whose budget counts what the caller keeps of it (`keep`). `ok` is false
    // when the user stopped the read or it failed; a failure is said first.
    // The values start at firstDataRow().
    Sheet_Cells readTable(const Sheet_Keep& keep, bool* ok);
    // Reads a sheet's first row on a worker; a sheet that cannot be read is
    // said and gives nothing.
    SheetTable readHeader(int sheetNumber);
    // The first row to take values from (1 with a title row).
    int firstDataRow() const;

    Excel_Column_Model* m_model = nullptr;
    std::unique_ptr<Xlsx_Workbook> m_book;
    qsizetype m_rowsRead = 0;  // rows of the sheet the last readTable went through
    bool m_loading = false;
};

class Import_Excel_DataSheet : public Excel_Columns_Dialog {
    Q_OBJECT
public:
    explicit Import_Excel_DataSheet(QWidget* parent = nullptr);
    static Import_Excel_DataSheet* defaultInstance();

    // Resets, reads the workbook and runs the dialog modally; the modal code.
    int Open_excel_datasheet_Wnd(const QString& path);
    // Open_excel_datasheet_Wnd without running.
    bool Reset_Controls(const QString& path) override;

    void Each_Col_RD_Click();
    void Fill_Col_RD_Click();
    // The fill target: 0 a new series, 1 replace, 2 append.
    void Fill_Type_CellClick(int option);
    void OKPressed();
    // The two writers; true when they ended the dialog.
    bool Create_file_For_Col_Func();
    bool Insert_file_Func();

    int file_name_Insert = 0;  // 1: the series manager refills its series list
    int fill_col_option = 0;   // 0 new, 1 replace, else append

    QRadioButton* Each_col_RD = nullptr;
    QRadioButton* Fill_col_RD = nullptr;
    QGroupBox* fill_box = nullptr;
    QRadioButton* fill_new_rd = nullptr;
    QRadioButton* fill_replace_rd = nullptr;
    QRadioButton* fill_append_rd = nullptr;
    QLineEdit* list_name = nullptr;
    QComboBox* List_ComboBox = nullptr;

private:
    static QPointer<Import_Excel_DataSheet> s_instance;
};

class Import_Excel : public Excel_Columns_Dialog {
    Q_OBJECT
public:
    explicit Import_Excel(QWidget* parent = nullptr);
    static Import_Excel* defaultInstance();

    int Open_excel_Wnd(const QString& path);
    bool Reset_Controls(const QString& path) override;
    void OKPressed();
    // Adds the ticked cells to the value list; ends the dialog with 1.
    void Insert_file_Func();

    QString open_mode = QStringLiteral("D");

private:
    static QPointer<Import_Excel> s_instance;
};
