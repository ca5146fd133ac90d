#pragma once
// The export command and its two windows: the card export sheet of designing
// mode and the barcode export dialog of barcode mode.
//
// The main window calls Export_Command() for its Export button (toolbar and
// canvas menu). The windows are built in code; Open_Wnd / Open_Export_Dialog
// reset the controls and run the window; tests press the buttons through the
// modal runner. After OK the command starts the job (a batch runs on a worker
// under the progress window) and returns at once.
#include "core/util/BatchServices.h"
#include "export/ExportJobs.h"
#include "export/RangeFields.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;

// The export command: single file or batch, either mode. Returns the batch
// job when one was started (null otherwise). GUI thread.
std::shared_ptr<ExportJob> Export_Command();

// The controls both windows share: naming, prefix and suffix, format, range
// and destination. A spin box is a field and its stepper in one.
class Export_Window_Base : public QDialog {
    Q_OBJECT
public:
    explicit Export_Window_Base(QWidget* parent);

    // Naming radios in the order of their rows; the custom name is the last.
    QList<QRadioButton*> namingRadios;
    QButtonGroup* ex_bar_matrix_file_name = nullptr;
    QLineEdit* ex_bar_cus_name = nullptr;
    QCheckBox* prefix_suffix_chk_box = nullptr;
    QGroupBox* prefix_sufix_box = nullptr;
    QLineEdit* ex_bar_prefix = nullptr;
    QLineEdit* ex_bar_suffix = nullptr;
    QComboBox* ex_bar_image_type_combo = nullptr;
    QGroupBox* export_range_box = nullptr;
    QRadioButton* All_print_rd = nullptr;
    QRadioButton* Sel_print_rd = nullptr;
    QSpinBox* from_Text = nullptr;
    QSpinBox* To_Text = nullptr;
    QSpinBox* Total_Text = nullptr;
    QLabel* from_label = nullptr;
    QLabel* to_label = nullptr;
    QLabel* tot_label = nullptr;
    QLineEdit* Export_Dest_Path = nullptr;
    QPushButton* browse_btn = nullptr;
    QPushButton* export_btn_on_export_image = nullptr;
    QPushButton* cancel_btn = nullptr;

    // The rows of the sources, counted by the command before the window opens.
    Batch_Row_Count rowCount;
    // The naming OK accepted (tag, prefix and suffix, series, destination,
    // extension); emptied by Cancel.
    Export_Naming naming;
    // Range results of OK: rows [Print_Start, Total_Label), `show` rows.
    int Print_Start = 0;
    int Print_End = 1;
    int Total_Label = 1;
    int rangeRows = 1;

    void Prefix_suffix_Chk_Cliecked();
    // The destination row and the Cancel and Export buttons, last in the column.
    void Add_Destination_And_Buttons();
    void All_print_RD_Clicked();
    void Sel_Print_RD_Clicked();
    // 0 counts as 1; without batch values the maximum is 999999. "TOT" sets
    // the total, "TO" the last row, "A" both.
    void Set_Tot_Value(int value, int max, const QString& set_for);
    Range_Fields rangeFields() const;
    // The range box enabled (with the chosen radio's fields) while rows come
    // from a batch, else disabled.
    void Set_Enable_Diable_Range_Box();
    // The folder chooser; a test may set `chooseFolder` instead.
    void Export_Dest_Path_Clicked();
    std::function<QString()> chooseFolder;

protected:
    // The naming row that is on.
    int namingRow() const;
    void selectNamingRow(int row);
    // Checks shared by both OKs, in the order the windows ask them; false
    // after a message. `customRow` is the custom name's row.
    bool checkNamePrefixRange(int customRow, const QStringList& tags, int totalRows, bool allRows);
    bool checkDestination();
    QVBoxLayout* m_column = nullptr;
    QGroupBox* m_namingBox = nullptr;
    virtual void namingChanged() {}
    // Whether the rows of the job come from a batch (the window's boxes).
    virtual bool batchRows() const { return rowCount.batch(); }
};

// The card export sheet (designing mode).
class ExportWindow : public Export_Window_Base {
    Q_OBJECT
public:
    explicit ExportWindow(QWidget* parent = nullptr);
    static ExportWindow* defaultInstance();

    // Resets the sheet (rows counted before) and runs it: 1 after OK, 0 after Cancel.
    int Open_Wnd();
    void Reset_Controls();
    void exportOkay();
    void exportCancel();
    void View_Export_Panel_Series_Clicked();
    bool Check_List_Name_Exist_In_Used_Ser_Combo(const QString& name) const;
    void export_barcode_file_name_CellClick();
    void Show_Hide_export_Range_Box();
    // The batch box: on, the range counts the rows of the bound sources and
    // the range box is enabled; off, one file (Total 1, range box disabled).
    void Export_With_Batch_Changed();
    // The side matrix: "BOTH", "F" or "B" by its row (only the front's row
    // is enabled).
    void export_card_side_CellClick();

    QRadioButton* exp_rad_def = nullptr;
    QRadioButton* exp_rad_sn = nullptr;
    QRadioButton* exp_rad_sv = nullptr;
    QRadioButton* exp_rad_snv = nullptr;
    QRadioButton* exp_rad_cus = nullptr;
    QLabel* Used_Seres_Label = nullptr;
    QComboBox* Used_Seres_In_Design = nullptr;
    QPushButton* View_export_Series_btn = nullptr;
    QCheckBox* Export_with_batch_chk = nullptr;
    QCheckBox* Export_with_excel_chk = nullptr;
    QButtonGroup* matrix_export_card_side = nullptr;
    // The side exported: "F", the front, whenever the sheet opens.
    QString export_card_side = QStringLiteral("F");

    // Series bound to the front side's items, listed once each.
    QStringList usedSeries;

protected:
    void namingChanged() override { export_barcode_file_name_CellClick(); }
    bool batchRows() const override;

private:
    static QPointer<ExportWindow> s_instance;
};

// The barcode export dialog (barcode mode).
class Export_Barcode : public Export_Window_Base {
    Q_OBJECT
public:
    explicit Export_Barcode(QWidget* parent = nullptr);
    static Export_Barcode* defaultInstance();

    // Resets the dialog for `state` and runs it: 1 after OK, 0 after Cancel.
    int Open_Export_Dialog();
    void Reset_Controls();
    void OKPressed();
    void CancelPressed();
    void export_barcode_file_name_CellClick();
    void Show_Hide_Range_Box();
    void Skip_Inavlid_Checked();

    QRadioButton* exp_rad_def = nullptr;
    QRadioButton* exp_rad_sv = nullptr;
    QRadioButton* exp_rad_sn = nullptr;
    QRadioButton* exp_rad_snv = nullptr;
    QRadioButton* exp_rad_hdr = nullptr;
    QRadioButton* exp_rad_ftr = nullptr;
    QRadioButton* exp_rad_cus = nullptr;
    QCheckBox* skip_inavlid_chk = nullptr;

    // What the dialog was opened for (set before Open_Export_Dialog).
    bool seriesNames = false;   // the value comes from a series: rows 2 and 3 usable
    bool batchValues = false;   // rows come from the list or a series

protected:
    void namingChanged() override { export_barcode_file_name_CellClick(); }

private:
    static QPointer<Export_Barcode> s_instance;
};

// The question asked before a linear barcode with a transparent background
// goes to a format without transparency.
extern const QString transparent_background_question;
