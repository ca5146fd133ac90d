#pragma once
// The print window: the printer, paper and orientation, the label sheet
// (a manual label of the card's or barcode's size, a catalogue product or a
// custom sheet), the range and options, the sheet preview and the print
// profiles; Preview and Print start a job on the printed page
// (print/Printing_View.h).
//
// The label, its placement, the range and the batch options are the
// sheet-options pane it shares with the PDF export window
// (print/SheetOptionsPane.h); the window keeps the printer, paper and
// copies, the label-sheet catalogue and custom sheets, crop marks, fit to
// frame and the print profiles. It carries its settings to the printed page
// in its sheet job (print/SheetJob.h): what the pane wrote, laid out on the
// paper or the chosen sheet; the preview draws it and each print or preview
// job is made from it (print/SheetJobBuilder.h). Open_Print_Wnd resets it
// from the current mode, data binding and printers, loads the print profiles
// and runs it modally. Tests call the reset and the handlers directly.
#include "core/util/SharedValues.h"
#include "print/LabelCatalogue.h"
#include "print/PrintDialogs.h"
#include "print/Printing_View.h"
#include "print/SheetJob.h"
#include "print/SheetOptionsPane.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QVariantMap>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class Stepper;

class Print_Wnd : public QDialog {
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

    // ---- Options of the print window ----
    void Enable_Crop_Mark_clicked();
    void Fit_To_Frame_clicked();
    void Disable_for_fit_or_duplex();
    void Normal_Printing_Is_Selected();
    void Make_select_on_index(int row);
    void Copies_Val_Changed(QObject* sender);

    // ---- The predefined label sheet ----
    // A field of the predefined box and its stepper: `cells` for the rows
    // and columns (the Total follows them without batch values).
    void Predefined_Pair_Changed(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt, bool cells);
    // A catalogue product's fields are fixed; a custom sheet's are typed.
    void Lock_Predefined_Fields(bool locked);
    void Read_Selected_Product_Label_Value();
    // The outline of the labels: the chosen catalogue product's (round,
    // rounded corners), else a rectangle.
    Label_Shape Chosen_Label_Shape() const;
    void Apply_unit_Chaneg_Values();
    // The predefined size fields typed in, and left.
    void controlTextDidChange(QLineEdit* field);
    void controlTextDidEndEditing(QLineEdit* field);

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

    // ---- The sheet ----
    // The shared sheet options: the label, placement, range, batch boxes and
    // the preview.
    Sheet_Options_Pane* sheetPane = nullptr;
    // The window's sheet job: what the pane wrote, on the paper or the
    // chosen sheet; the preview draws it, each job is made from it.
    Sheet_Job sheet;

    // ---- Outlets ----
    QComboBox* Printer_ComboBox = nullptr;
    QPushButton* page_setup_btn = nullptr;
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

private:
    void buildUi();
    QWidget* buildPrinterBox();
    QWidget* buildPredefinedBox();
    QWidget* buildOptionsBox();
    QWidget* buildProfilesBox();
    QLayout* buildPreviewColumn();
    void connectControls();
    // What a change of the sheet options needs.
    void Sheet_Changed(Sheet_Need need);
    // The pane's options written into the sheet job, with the predefined
    // sheet's label and grid when that is the source, and its cells laid
    // out on the sheet.
    void Lay_Out_Sheet();
    QSizeF paperSize() const;
    bool m_previewJob = false;
    static QPointer<Print_Wnd> Print_DefaultInstance;
};
