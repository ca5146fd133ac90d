#pragma once
// The PDF export window: the page (the paper of the print settings, or a
// default page when no printer is installed), the label sheet entered by
// hand (label size, rows, columns, gaps, alignment or auto-centre), the range
// and batch options, one of the four layouts of the PDF writer
// (export/PdfExport.h) with the label-size setting, and the base file name,
// beside a preview of the sheet.
//
// It keeps its own sheet job (print/SheetJob.h), which its preview draws and
// each export copies into its job. Export asks for a destination
// folder, makes "Zorv PDF Label" in it and runs the job on a worker under the
// progress window; the window stays open, as it was, for another job.
// Open_Pdf_Export_Wnd resets it from the current mode and runs it modally;
// tests call the reset and the handlers directly.
#include "export/PdfExport.h"
#include "print/SheetWindow.h"
#include "platform/PtImage.h"

#include <QDialog>
#include <QPageLayout>
#include <QPointer>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class Stepper;
class Sample_Preview;

// The PDF command of the main window: the checks the print command makes
// (barcode mode: rows, a value that encodes, the first row that encodes) but
// no printer needed, the design back-up, this window, the restore.
void PDF_Export_Button();

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

class PDF_Export : public Sheet_Window {
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
    void Horz_Margin_Changed(QObject* sender) override;
    void Vert_Margin_Changed(QObject* sender) override;
    void Width_Changed(QObject* sender) override;
    void Height_Changed(QObject* sender) override;
    void Row_Changed(QObject* sender) override;
    void Col_Changed(QObject* sender) override;
    void Auto_Center_Checked() override;
    void Alignment_Clicked(int value) override;   // 1 top-left ... 9 bottom-right
    void controlTextDidChange(QLineEdit* field) override;

    // ---- Range and options ----

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
    std::shared_ptr<Pdf_Export_Handle> lastJob() const { return m_lastJob; }
    // The folder chooser (tests set it; "" is Cancel).
    std::function<QString()> chooseFolder;

    // ---- Outlets ----
    QLineEdit* Page_name_txt = nullptr;
    QLineEdit* Page_width_txt = nullptr;
    QLineEdit* Page_height_txt = nullptr;



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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void connectControls();
    void setPreviewFrame(QSizeF sheet);
    // The job the controls describe for the range; changes nothing.
    Pdf_Export_Job Job_From_Controls(const Job_Range& range) const;
    void copyPair(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt,
                  bool twoDecimals = false) override;
    // The page in points, and whether the page is the label (options 2 and 3
    // with the label-size setting).
    QSizeF pageSize() const;
    bool labelSizedPage() const;

    QSizeF m_previewSheet;
    bool m_userPage = false;   // the user chose a page with Page Setup
    Pdf_Export_Job m_job;
    std::shared_ptr<Pdf_Export_Handle> m_lastJob;
    static QPointer<PDF_Export> s_instance;
};
