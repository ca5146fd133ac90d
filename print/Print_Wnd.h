#pragma once
// The print window: the printer, paper and orientation, the label sheet
// (a manual label of the card's or barcode's size, a catalogue product or a
// custom sheet), the range and options, the sheet preview and the print
// profiles; Preview and Print start a job on the printed page
// (print/Printing_View.h).
//
// The window carries its settings to the printed page in its sheet job
// (print/SheetJob.h), which the preview draws and each print or preview job
// copies. Open_Print_Wnd resets it from the current mode, data binding and
// printers, loads the print profiles and runs it modally. Tests call the
// reset and the handlers directly.
#include "core/util/SharedValues.h"
#include "print/LabelCatalogue.h"
#include "print/Printing_View.h"
#include "print/SheetWindow.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QVariantMap>

#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class Stepper;
class Sample_Preview;
class Custom_Product_Label;
class Add_Print_Profile;

class Print_Wnd : public Sheet_Window {
    Q_OBJECT
public:
    explicit Print_Wnd(QWidget* parent = nullptr);
    ~Print_Wnd() override;
    static Print_Wnd* defaultInstance();

    // Resets the window and runs it modally; true when it ended normally.
    bool Open_Print_Wnd();
    // The reset of opening (every step but running the window).
    void Reset_For_Opening();

    // ---- Printer and paper ----
    PrintInfo printInfo() const;
    void setPrintInfo(const PrintInfo& info);
    void Set_values_From_Printer();
    void Check_Max_Cell_Value();
    void comboBoxSelectionDidChange(QComboBox* combo);
    void pagesetup();
    void Manual_Label_Changed();
    void Predefined_Label_Changed();

    // ---- Jobs ----
    // The paper questions of a job (the sheet's paper against the printer's,
    // one label with its margins against the paper); false after No.
    bool Paper_Checks();
    void Execute_Printing(bool preview);
    void PreviewButtonPressed() { Execute_Printing(true); }
    void PrintButtonPressed() { Execute_Printing(false); }
    void Call_Print_Box_1();
    // The print road: `job` on the printer and paper of `info`, sheet after
    // sheet with a progress window and Stop. The window's Print and the
    // preview's Print both go this way.
    void Print_Job(const Sheet_Job& job, const PrintInfo& info);
    // The preview of `job` on the paper of `info` (50 sheets at most); its
    // Print prints the whole job through Print_Job, on the same paper and
    // options, with no dialog between.
    void Show_Print_Preview(const Sheet_Job& job, const PrintInfo& info);
    void CancelButtonPressed();
    void reject() override;   // closing the window

    // ---- Range and options ----
    void Enable_Crop_Mark_clicked();
    void Fit_To_Frame_clicked();
    void Disable_for_fit_or_duplex();
    void Normal_Printing_Is_Selected();
    void Make_select_on_index(int row);

    // ---- Geometry ----
    void Horz_Margin_Changed(QObject* sender) override;
    void Vert_Margin_Changed(QObject* sender) override;
    void Width_Changed(QObject* sender) override;
    void Height_Changed(QObject* sender) override;
    void Row_Changed(QObject* sender) override;
    void Col_Changed(QObject* sender) override;
    void Copies_Val_Changed(QObject* sender);
    void Auto_Center_Checked() override;
    void Alignment_Clicked(int value) override;   // the nine buttons, 1 top-left ... 9 bottom-right
    void Read_Selected_Product_Label_Value();
    // The outline of the labels: the chosen catalogue product's (round,
    // rounded corners), else a rectangle.
    Label_Shape Chosen_Label_Shape() const;
    void Apply_unit_Chaneg_Values();
    void controlTextDidChange(QLineEdit* field) override;
    void controlTextDidEndEditing(QLineEdit* field) override;

    // ---- Custom label sheets ----
    void Save_Label_Pressed();
    void Delete_Label_Pressed();
    void Refresh_And_Reload_Product_Number_Combo(const QString& name);
    void Check_delete_label_buttom_status();
    int Product_number_count() const;

    // ---- Print profiles ----
    void Load_Print_Profile();
    void Create_Profile_List(const QString& name);
    QString Get_List_Name_Text(int row) const;
    void tableViewSelectionDidChange();
    bool Save_Print_Profile(const QString& name, const QString& printer);
    void Read_and_load_profile_info(const QString& name);
    void Add_Edit_Print_Profile(const QString& mode);
    void Save_profile_btn_clicked();
    void Delete_profile_btn_clicked();

    // ---- Outlets ----
    QComboBox* Printer_ComboBox = nullptr;
    QComboBox* Orient_ComboBox = nullptr;
    QLineEdit* Paper_id = nullptr;
    QLineEdit* Size_id = nullptr;

    QRadioButton* rd_manual = nullptr;
    QRadioButton* rd_predefined = nullptr;
    QGroupBox* manual_prop_Gp_Bx = nullptr;
    QGroupBox* predefine_prop_Gp_Bx = nullptr;

    QComboBox* Label_ComboBox = nullptr;
    QComboBox* Product_num_ComboBox = nullptr;
    QPushButton* save_label_btn = nullptr;
    QPushButton* delete_label_btn = nullptr;
    QLineEdit* Col_Text_pre = nullptr;      Stepper* Col_Stepper_pre = nullptr;
    QLineEdit* Row_Text_pre = nullptr;      Stepper* Row_Stepper_pre = nullptr;
    QLineEdit* left_mar_pre = nullptr;
    QLineEdit* top_mar_pre = nullptr;
    QLineEdit* horz_mar_Text_pre = nullptr; Stepper* horz_mar_Stepper_pre = nullptr;
    QLineEdit* vert_mar_Text_pre = nullptr; Stepper* vert_mar_Stepper_pre = nullptr;
    QLineEdit* width_Text_pre = nullptr;    Stepper* width_Stepper_pre = nullptr;
    QLineEdit* height_Text_pre = nullptr;   Stepper* height_Stepper_pre = nullptr;
    QLineEdit* paper_used_pre = nullptr;
    QLineEdit* orientation_pre = nullptr;
    QLineEdit* page_size_pre = nullptr;
    QLineEdit* page_width_pre = nullptr;
    QLineEdit* page_height_pre = nullptr;
    QLineEdit* layout_group_pre = nullptr;
    QLineEdit* description_pre = nullptr;
    QList<Product_Details> prod_list;

    QLineEdit* Copies_Text = nullptr; Stepper* Copies_Stepper = nullptr;

    QCheckBox* crop_mark_chk = nullptr;
    QCheckBox* fit_frame_chk = nullptr;

    QListWidget* List_profile = nullptr;
    QList<QVariantMap> ListData_profile;
    QPushButton* Add_profile_btn = nullptr;
    QPushButton* Edit_profile_btn = nullptr;
    QPushButton* Save_profile_btn = nullptr;
    QPushButton* Delete_profile_btn = nullptr;

    QPushButton* preview_btn = nullptr;
    QPushButton* print_btn = nullptr;
    QPushButton* cancel_btn = nullptr;

    Custom_Product_Label* custom_prod_window = nullptr;
    Add_Print_Profile* prnt_prof_wnd = nullptr;

    // The label source: "C" a custom sheet, "P" a catalogue product; the
    // alignment kept while the predefined source is on.
    QString cus_or_pre{QStringLiteral("C")};
    int label_align_val_bkup = 1;

    // What the last job did: sheets drawn, -1 when the printer failed.
    int last_job_sheets = 0;
    int last_job_copies = 0;
    // The title of print jobs (the name the printer's queue shows).
    QString job_title{QStringLiteral("Zorv Label")};
    // Told after each sheet of a job where its labels went (the print-queue
    // check and the tests listen; nothing is kept otherwise).
    std::function<void(int sheet, const QList<Printing_View::Placed_Label>&)> on_sheet;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void connectControls();
    // The preview shows a sheet of this size (points), scaled to its room.
    void setPreviewFrame(QSizeF sheet);
    QSizeF m_previewSheet;
    QSizeF paperSize() const;
    bool m_previewJob = false;
    static QPointer<Print_Wnd> s_instance;
};

// The preview of a print job: its sheets as they will print, zoom and page
// buttons, and Print, which closes the preview and prints the job as the
// print window's Print does (done(Print_Code)).
class Print_Preview : public QDialog {
    Q_OBJECT
public:
    explicit Print_Preview(QPrinter* printer, QWidget* parent = nullptr);
    static constexpr int Print_Code = 2;
    QPrintPreviewWidget* view = nullptr;
    QLabel* page_label = nullptr;
    QPushButton* print_btn = nullptr;
    QPushButton* close_btn = nullptr;

private:
    void showPage();
};

// Names a custom label sheet; the print window's sheet.
class Custom_Product_Label : public QDialog {
    Q_OBJECT
public:
    explicit Custom_Product_Label(QWidget* parent = nullptr);
    void OKPressed();
    void CancelPressed();
    QLineEdit* prod_number = nullptr;
    QString custom_prod_name;   // the product number OK accepted
};

// Names a print profile and chooses its printer; the print window's sheet.
class Add_Print_Profile : public QDialog {
    Q_OBJECT
public:
    explicit Add_Print_Profile(QWidget* parent = nullptr);
    // Fills the printer list (awakeFromNib).
    void Reset_Printers();
    void OKPressed();
    void CancelPressed();
    QLineEdit* Profile_name = nullptr;
    QLineEdit* pass_profile_name = nullptr;   // the name being edited
    QComboBox* Printer_ComboBox = nullptr;
    // What OK accepted: the printer and the profile's name.
    QString custom_profile_Printer;
    QString custom_print_profile_name;
};
