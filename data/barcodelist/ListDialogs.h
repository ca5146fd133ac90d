#pragma once
// The small windows of the barcode list: the options of a text-file import,
// the row editor, the list generator and the import from a worksheet. Each
// is made once (defaultInstance) on the GUI thread, works on the list model
// it is given and runs modally through Run_Modal_Dialog.
#include "barcode/generation/list/BarcodeList.h"
#include "data/Spreadsheet.h"
#include "data/series/GeneratorPane.h"
#include "data/barcodelist/BarcodeListFiles.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The four "Create List Option" boxes and the start / end choice, shared by
// three of the windows.
struct List_Option_Controls {
    QCheckBox* chk_value = nullptr;
    QCheckBox* chk_header = nullptr;
    QCheckBox* chk_footer = nullptr;
    QCheckBox* chk_pq = nullptr;
    QRadioButton* radioButton_At_Start = nullptr;
    QRadioButton* radioButton_At_End = nullptr;
    List_Import_Options options() const;
    void reset();
};

// ---- Options of a text, CSV or RTF import ----
class Import_From_Txt_File : public QDialog {
    Q_OBJECT
public:
    explicit Import_From_Txt_File(QWidget* parent = nullptr);
    static Import_From_Txt_File* defaultInstance();

    // The path shown, the four boxes off, the start choice; then the modal
    // run. 1 after OK, 0 after Cancel (also kept in Import_Error_Rerult).
    int Open_Wnd(const QString& path);
    void Reset_Controls(const QString& path);

    void Start_Radio_Pressed();
    void End_Radio_Pressed();
    void BrowsePressed();
    // Refuses to close until a box is ticked ("Please select at least one
    // from 'Create List Option'.").
    void OKPressed();
    void CancelPressed();

    QString path() const;
    List_Import_Options options() const { return m_options.options(); }

    // The open panel of Browse (tests put a chooser here).
    std::function<QString()> chooseFile;

    QLineEdit* file_path_txt = nullptr;
    QCheckBox* chk_value = nullptr;
    QCheckBox* chk_header = nullptr;
    QCheckBox* chk_footer = nullptr;
    QCheckBox* chk_pq = nullptr;
    QRadioButton* radioButton_At_Start = nullptr;
    QRadioButton* radioButton_At_End = nullptr;
    // The result of the last run: 1 OK, 0 Cancel.
    int Import_Error_Rerult = 0;

private:
    List_Option_Controls m_options;
    // The one options box, made on first use.
    static QPointer<Import_From_Txt_File> Import_TXT_File_Window;
};

// ---- The row editor ----
class Update_List_Details : public QDialog {
    Q_OBJECT
public:
    explicit Update_List_Details(QWidget* parent = nullptr);
    static Update_List_Details* defaultInstance();
    void setList(BarcodeListModel* list) { m_list = list; }

    // Fills the fields from a row of the list (its trimmed texts and its
    // index); false for a row outside the list.
    bool Fill_Row(int row);
    // Fill_Row, then the modal run: 1 after OK stored the row, else 0.
    int Open_Wnd(int row);
    // Stores the fields into the row of the index field through the replace
    // operation and empties the fields (code 1). An index that is no longer
    // a row of the list is refused with a message (code 0, nothing stored).
    void OKPressed();
    void CancelPressed();

    QLineEdit* m_bar_value_str = nullptr;
    QLineEdit* m_bar_hdr_str = nullptr;
    QLineEdit* m_bar_ftr_str = nullptr;
    QLineEdit* m_bar_pq_str = nullptr;   // at most 3 characters
    QLineEdit* m_s_indx_str = nullptr;

private:
    void Empty_Fields();
    BarcodeListModel* m_list = nullptr;
    static QPointer<Update_List_Details> s_instance;
};

// ---- The list generator ----
// The rules pane of the series generator, with the list's options beside it.
class Generate_List_Barcode : public QDialog {
    Q_OBJECT
public:
    explicit Generate_List_Barcode(QWidget* parent = nullptr);
    static Generate_List_Barcode* defaultInstance();
    void setList(BarcodeListModel* list) { m_list = list; }

    int Open_Wnd();
    void Reset_Controls();

    void Sequintial_Radio_Pressed();
    void Constant_Radio_Pressed();
    void Random_Radio_Pressed();
    void Start_Radio_Pressed();
    void End_Radio_Pressed();
    // Checks the rule's fields and the list options, then places the values
    // into the list (code 1); a failed check keeps the window open.
    void OKPressed();
    void CancelPressed();

    List_Import_Options options() const { return m_options.options(); }
    // Rows placed by the last OK, and whether the list ran full.
    int placed() const { return m_placed; }
    bool listFull() const { return m_full; }

    Generator_Rules_Pane* pane = nullptr;
    QCheckBox* chk_value = nullptr;
    QCheckBox* chk_header = nullptr;
    QCheckBox* chk_footer = nullptr;
    QCheckBox* chk_pq = nullptr;
    QRadioButton* radioButton_At_Start = nullptr;
    QRadioButton* radioButton_At_End = nullptr;

private:
    BarcodeListModel* m_list = nullptr;
    List_Option_Controls m_options;
    int m_placed = 0;
    bool m_full = false;
    static QPointer<Generate_List_Barcode> s_instance;
};

// ---- Import from a worksheet ----
class Import_Excel_Barcode : public QDialog {
    Q_OBJECT
public:
    explicit Import_Excel_Barcode(QWidget* parent = nullptr);
    ~Import_Excel_Barcode() override;
    static Import_Excel_Barcode* defaultInstance();
    void setList(BarcodeListModel* list) { m_list = list; }

    // Resets the window, reads the workbook's sheet names and the first
    // sheet's title row, and runs the window: 1 after an import, else 0.
    int Open_excel_Wnd(const QString& path);
    void Reset_Controls(const QString& path);
    // Unpacks the workbook and lists its sheets (the first one chosen).
    bool Load_file_Func(const QString& path);
    // A sheet chosen: its title row fills the four column lists.
    void Sheet_Changed(int index);
    void Column_Changed(QComboBox* combo);
    void Refresh_Column_Combo();
    void Start_Radio_Pressed();
    void End_Radio_Pressed();
    // Checks the choices and imports the rows of the sheet.
    void OKPressed();
    void CancelPressed();
    // Places every row of the chosen sheet into the list (from its second
    // row when the first is a title row); the corrupt-file message when no
    // row was placed.
    bool Insert_file_Func();

    List_Import_Options options() const { return m_options.options(); }
    // The message shown after the last import ("" when none).
    QString lastMessage() const { return m_message; }

    QLineEdit* file_path = nullptr;
    QCheckBox* contains_header = nullptr;
    QComboBox* Sheet_ComboBox = nullptr;
    QCheckBox* chk_value = nullptr;
    QCheckBox* chk_header = nullptr;
    QCheckBox* chk_footer = nullptr;
    QCheckBox* chk_pq = nullptr;
    QComboBox* value_ComboBox = nullptr;
    QComboBox* header_ComboBox = nullptr;
    QComboBox* footer_ComboBox = nullptr;
    QComboBox* pq_ComboBox = nullptr;
    QRadioButton* radioButton_At_Start = nullptr;
    QRadioButton* radioButton_At_End = nullptr;
    int val_col = -1, hdr_col = -1, ftr_col = -1, pq_col = -1;

private:
    BarcodeListModel* m_list = nullptr;
    List_Option_Controls m_options;
    Xlsx_Workbook m_workbook;
    int m_sheet = 1;
    bool m_filling = false;
    QString m_message;
    static QPointer<Import_Excel_Barcode> s_instance;
};
