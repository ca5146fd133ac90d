#pragma once
// The PDF export window: the page (the paper of the print settings, or a
// default page when no printer is installed), the label sheet entered by
// hand (label size, rows, columns, gaps, alignment or auto-centre), the range
// and batch options, one of the four layouts of the PDF writer
// (export/PdfExport.h) with the label-size setting, and the base file name,
// beside a preview of the sheet.
//
// The label, its placement, the range and the batch options are the
// sheet-options pane it shares with the print window
// (print/SheetOptionsPane.h); the window keeps the page, the layouts, the
// label-size setting and the file name. Its sheet job (print/SheetJob.h) is
// what the pane wrote, laid out on the page; its preview draws it and each
// export is made from it (print/SheetJobBuilder.h). Export asks for a destination
// folder, makes "Zorv PDF Label" in it and runs the job on a worker under the
// progress window; the window stays open, as it was, for another job.
// Open_Pdf_Export_Wnd resets it from the current mode and runs it modally;
// tests call the reset and the handlers directly.
#include "export/PdfExport.h"
#include "platform/PtImage.h"
#include "print/SheetJob.h"
#include "print/SheetOptionsPane.h"

#include <QDialog>
#include <QPageLayout>
#include <QPointer>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The PDF command of the main window: the checks the print command makes
// (barcode mode: rows, a value that encodes, the first row that encodes) but
// no printer needed, the design back-up, this window, the restore.
void PDF_Export_Button();

// Designing mode: this window with the design backed up around it (no
// printer needed).
void PDF_Export_method();

// Barcode mode: the barcode-mode checks, then PDF_Export_method.
void PDF_Export_method_Barcode_Button();

// The page a PDF is laid out on when no printer is installed: Letter where
// the locale measures in US units, else A4; no margins.
QPageLayout Pdf_Default_Page_Layout();

// The help window of the options.
class PDF_Help : public QDialog {
    Q_OBJECT
public:
    explicit PDF_Help(QWidget* parent = nullptr);
    void OKPressed() { done(1); }
    QLabel* text = nullptr;
};

class PDF_Export : public QDialog {
    Q_OBJECT
public:
    explicit PDF_Export(QWidget* parent = nullptr);
    ~PDF_Export() override;
    static PDF_Export* defaultInstance();

    // Resets the window and runs it modally; true when it ended normally.
    bool Open_Pdf_Export_Wnd();
    // The reset of opening (every step but running the window).
    void Reset_For_Opening();

    // ---- Page and geometry ----
    // The page of the job: the print settings' paper, or the default page
    // without a printer (until the user chose one with Page Setup).
    QPageLayout pageLayout() const;
    void Set_values_From_Printer();
    void Check_Max_Cell_Value();
    void Page_From_Printer_Click();

    // ---- PDF options ----
    void Disable_for_fit_or_duplex();
    void Normal_Printing_Is_Selected();
    void pdf_export_option_CellClick(int row);
    void use_label_size_chk_box_Click();

    // ---- Job ----
    // Checks the settings and fixes the job (m_job); false after a message.
    bool Execute_Exporting();
    // Export: the checks, the destination folder, then the job on a worker.
    void OKPressed();
    void CancelPressed();
    void reject() override { CancelPressed(); }
    void Pdf_Help_Pressed();

    // The job the last Execute_Exporting accepted, and the last job started.
    const Pdf_Export_Job& acceptedJob() const { return m_job; }
    std::shared_ptr<Job_Handle<Pdf_Export_Report>> lastJob() const { return m_lastJob; }
    // The folder chooser (tests set it; "" is Cancel).
    std::function<QString()> chooseFolder;

    // ---- Outlets ----
    QLineEdit* Page_name_txt = nullptr;
    QLineEdit* Page_width_txt = nullptr;
    QLineEdit* Page_height_txt = nullptr;
    QPushButton* page_setup_btn = nullptr;

    QButtonGroup* pdf_matrix = nullptr;  // rows 0..3, the four layouts
    QRadioButton* pdf_option[4] = {};
    QCheckBox* use_label_size_chk_box = nullptr;
    QLineEdit* file_name_save_txt = nullptr;

    QLabel* barcode_font_name_label = nullptr;
    QLabel* barcode_font_name = nullptr;

    QPushButton* help_btn = nullptr;
    QPushButton* cancel_btn = nullptr;
    QPushButton* export_btn = nullptr;
    PDF_Help* pdf_help_wnd = nullptr;

    // Fields: the layout chosen (0..3), of the job in work, before the last choice.
    int pdf_export_opt = 0;
    int pdf_export_opt_real = 0;
    int pdf_export_opt_bkup = 0;
    PtImage invalid_image;

    // ---- The sheet ----
    // The shared sheet options: the label, placement, range, batch boxes and
    // the preview.
    Sheet_Options_Pane* sheetPane = nullptr;
    // The window's sheet job: what the pane wrote, on the page; the preview
    // draws it, each export is made from it.
    Sheet_Job sheet;

private:
    void buildUi();
    QWidget* buildPageBox();
    QWidget* buildFilesBox();
    void connectControls();
    // What a change of the sheet options needs.
    void Sheet_Changed(Sheet_Need need);
    // The pane's options written into the sheet job and its cells laid out
    // on the page.
    void Lay_Out_Sheet();
    // The export the window's job makes (its range set); changes nothing.
    Pdf_Export_Job Job_From_Controls(const Sheet_Job& sheet) const;
    // The page in points, and whether the page is the label (options 2 and 3
    // with the label-size setting).
    QSizeF pageSize() const;
    bool labelSizedPage() const;

    bool m_userPage = false;   // the user chose a page with Page Setup
    Pdf_Export_Job m_job;
    std::shared_ptr<Job_Handle<Pdf_Export_Report>> m_lastJob;
    static QPointer<PDF_Export> PDF_Export_def_inst;
};
