#include "export/PdfExportWindow.h"

#include "core/util/BatchServices.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportJobs.h"
#include "export/ExportNaming.h"
#include "platform/WindowFit.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"
#include "print/LabelFit.h"
#include "print/OutputGate.h"
#include "print/PaperCheck.h"
#include "print/PrinterList.h"
#include "print/SheetFields.h"
#include "print/SheetJobBuilder.h"
#include "print/SheetLayout.h"
#include "print/SheetOptionsPane.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

QPointer<PDF_Export> PDF_Export::PDF_Export_def_inst;

PDF_Export* PDF_Export::defaultInstance()
{
    return Gui_Window_Instance(PDF_Export_def_inst);
}

using namespace sheetui;

void PDF_Export_Button()
{
    Output_Command(PDF_Export_method, PDF_Export_method_Barcode_Button);
}

void PDF_Export_method()
{
    Run_Output_Window([] { PDF_Export::defaultInstance()->Open_Pdf_Export_Wnd(); }, false);
}

void PDF_Export_method_Barcode_Button()
{
    if (!App_Services().Batch_Services)
        return;
    const Batch_Rows rows = App_Services().Batch_Services->Make_Batch_Rows();
    if (rows && Barcode_Output_Checks(*rows))
        PDF_Export_method();
}

QPageLayout Pdf_Default_Page_Layout()
{
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

// ---------------------------------------------------------------- help

PDF_Help::PDF_Help(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("PDF Export Options"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    text = new QLabel(tr(
        "<b>All sheets in one file</b>: each page is a sheet of the paper with the labels laid out in "
        "rows and columns.<br><br>"
        "<b>One file per sheet</b>: the same sheets, each written to a file of its own "
        "(name, name (1), name (2), ...).<br><br>"
        "<b>One file per label</b>: every label in a file of its own.<br><br>"
        "<b>One file, a page per label</b>: every label on a page of its own.<br><br>"
        "With the last two, <i>Use label size</i> makes each page exactly as large as the label; "
        "otherwise the label is placed on the paper by the alignment."));
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    col->addWidget(text);
    auto* ok = new QPushButton(tr("OK"));
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    col->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &PDF_Help::OKPressed);
}

// ---------------------------------------------------------------- window

PDF_Export::PDF_Export(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Export PDF"));
    sheetPane = new Sheet_Options_Pane(this, &sheet, Sheet_Options_Pane::Preview_Fit::Whole_Page);
    buildUi();
    connectControls();
    Apply_Dialog_Background(this);
}

PDF_Export::~PDF_Export() = default;

void PDF_Export::buildUi()
{
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    root->addLayout(left);
    left->addWidget(buildPageBox());

    // Label sheet.
    auto* sheetBox = new QGroupBox(tr("Labels (mm)"));
    sheetBox->setLayout(sheetPane->Build_Label_Fields(Sheet_Options_Pane::Label_Order::Size_First));
    left->addWidget(sheetBox);

    // Placement.
    QHBoxLayout* placement = sheetPane->Build_Alignment_Box(22);
    auto* placementRight = new QVBoxLayout;
    placementRight->addWidget(sheetPane->Auto_Center_chk_bx);
    placementRight->addWidget(sheetPane->Show_Margins);
    placementRight->addStretch();
    placement->addLayout(placementRight);
    placement->addStretch();
    left->addWidget(sheetPane->card_align_box);

    // Range and batch.
    left->addWidget(sheetPane->Build_Range_Box(tr("Labels to export")));
    left->addLayout(sheetPane->Build_Batch_Boxes(tr("Export with batch data"), true));
    barcode_font_name_label = new QLabel(tr("Barcode:"));
    barcode_font_name = new QLabel;
    barcode_font_name_label->setVisible(false);
    barcode_font_name->setVisible(false);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(barcode_font_name_label);
    fontRow->addWidget(barcode_font_name, 1);
    left->addLayout(fontRow);
    left->addStretch();

    // Preview and buttons.
    auto* right = new QVBoxLayout;
    right->addWidget(sheetPane->Build_Preview(380), 1);
    // The file layouts under the preview, so that the window stays low enough
    // for a 1366 x 768 screen; a choice shows or hides no row.
    right->addWidget(buildFilesBox());
    auto* buttons = new QHBoxLayout;
    help_btn = new QPushButton(tr("Help"));
    help_btn->setAutoDefault(false);
    cancel_btn = new QPushButton(tr("Cancel"));
    cancel_btn->setAutoDefault(false);
    export_btn = new QPushButton(tr("Export"));
    export_btn->setDefault(true);
    buttons->addWidget(help_btn);
    buttons->addStretch();
    buttons->addWidget(cancel_btn);
    buttons->addWidget(export_btn);
    right->addLayout(buttons);
    root->addLayout(right, 1);

    pdf_help_wnd = new PDF_Help(this);
    resize(1000, 680);
}

QWidget* PDF_Export::buildPageBox()
{
    auto* pageBox = new QGroupBox(tr("Page"));
    auto* pg = new QGridLayout(pageBox);
    Page_name_txt = readOnlyField();
    Page_width_txt = readOnlyField(70);
    Page_height_txt = readOnlyField(70);
    page_setup_btn = new QPushButton(tr("Page Setup..."));
    page_setup_btn->setAutoDefault(false);
    pg->addWidget(new QLabel(tr("Paper:")), 0, 0);
    pg->addWidget(Page_name_txt, 0, 1);
    pg->addWidget(page_setup_btn, 0, 2);
    auto* size = new QHBoxLayout;
    size->addWidget(Page_width_txt);
    size->addWidget(new QLabel(QStringLiteral("x")));
    size->addWidget(Page_height_txt);
    size->addStretch();
    pg->addWidget(new QLabel(tr("Size (mm):")), 1, 0);
    pg->addLayout(size, 1, 1, 1, 2);
    pg->addLayout(sheetPane->Build_Margin_Fields(), 2, 0, 1, 3);
    return pageBox;
}

QWidget* PDF_Export::buildFilesBox()
{
    auto* pdfBox = new QGroupBox(tr("PDF files"));
    auto* pv = new QVBoxLayout(pdfBox);
    pdf_matrix = new QButtonGroup(this);
    const char* titles[4] = {"All sheets in one file", "One file per sheet", "One file per label",
                             "One file, a page per label"};
    for (int k = 0; k < 4; ++k) {
        pdf_option[k] = new QRadioButton(tr(titles[k]));
        pdf_matrix->addButton(pdf_option[k], k);
        pv->addWidget(pdf_option[k]);
    }
    use_label_size_chk_box = new QCheckBox(tr("Use label size as page size"));
    Keep_Room_When_Hidden(use_label_size_chk_box);
    pv->addWidget(use_label_size_chk_box);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr("File name:")));
    file_name_save_txt = new QLineEdit;
    nameRow->addWidget(file_name_save_txt, 1);
    pv->addLayout(nameRow);
    return pdfBox;
}

void PDF_Export::connectControls()
{
    connect(sheetPane, &Sheet_Options_Pane::changed, this, &PDF_Export::Sheet_Changed);
    connect(pdf_matrix, &QButtonGroup::idClicked, this, &PDF_Export::pdf_export_option_CellClick);
    connectClicks<PDF_Export>(this, {{page_setup_btn, &PDF_Export::Page_From_Printer_Click},
                                     {use_label_size_chk_box, &PDF_Export::use_label_size_chk_box_Click},
                                     {help_btn, &PDF_Export::Pdf_Help_Pressed},
                                     {cancel_btn, &PDF_Export::CancelPressed},
                                     {export_btn, &PDF_Export::OKPressed}});
}

// ---------------------------------------------------------------- opening

void PDF_Export::Reset_For_Opening()
{
    // 1. Reset: sheets in one file, the paper's page, base name "ZorvLabel".
    sheet = Current_Opening_Job();
    sheet.PDF_View_Not_Print = 1;
    sheet.PDF_Use_Label_Size = 0;
    barcode_font_name_label->setVisible(false);
    barcode_font_name->setVisible(false);
    pdf_export_opt = pdf_export_opt_bkup = 0;
    pdf_option[0]->setChecked(true);
    file_name_save_txt->setText(QStringLiteral("ZorvLabel"));
    use_label_size_chk_box->setVisible(false);
    use_label_size_chk_box->setChecked(false);

    // 2.-4. The label by mode (the card, or the barcode with its size
    // editable), one cell of its size, the batch boxes and the range by the
    // rows of the sources.
    sheetPane->load(sheet);
    BatchServices* services = App_Services().Batch_Services;
    if (!sheet.designing)
        barcode_font_name->setText((services ? services->Barcode_Mode_State() : BarcodeModeState()).settings.barcodeType);
    invalid_image = services ? services->Invalid_Barcode_Data_Image() : PtImage();

    // 5.
    Set_values_From_Printer();
    Check_Max_Cell_Value();
    sheetPane->Refresh_Preview();
}

bool PDF_Export::Open_Pdf_Export_Wnd()
{
    return Open_Sheet_Window(*this, [this] { Reset_For_Opening(); }, false);
}

// ---------------------------------------------------------------- page and geometry

QPageLayout PDF_Export::pageLayout() const
{
    // Without a printer the page is the default one, until the user picks one.
    if (!m_userPage && Printer_Names().isEmpty())
        return Pdf_Default_Page_Layout();
    return MainWindowServices::printInfo().pageLayout;
}

bool PDF_Export::labelSizedPage() const
{
    return (pdf_export_opt == 2 || pdf_export_opt == 3) && sheet.PDF_Use_Label_Size;
}

QSizeF PDF_Export::pageSize() const
{
    if (labelSizedPage())
        return QSizeF(sheet.label_width, sheet.label_hight);
    return Page_Size_Points(pageLayout());
}

void PDF_Export::Set_values_From_Printer()
{
    const QPageLayout layout = pageLayout();
    Page_name_txt->setText(Paper_Name_Of(layout));
    QSizeF page = Page_Size_Points(layout);
    QMarginsF m = layout.margins(QPageLayout::Point);
    if (labelSizedPage()) {
        page = QSizeF(sheet.label_width, sheet.label_hight);
        m = QMarginsF(0, 0, 0, 0);
    }
    sheetPane->Set_Preview_Sheet(page);
    QSizeF pageMM = layout.fullRect(QPageLayout::Millimeter).size();
    if (labelSizedPage())
        pageMM = QSizeF(Points_To_MM(float(page.width())), Points_To_MM(float(page.height())));
    Page_width_txt->setText(mm2(pageMM.width()));
    Page_height_txt->setText(mm2(pageMM.height()));
    sheet.Set_Page_Margins(m);
    sheetPane->Show_Page_Margins(m);
    sheetPane->Refresh_Preview();
}

void PDF_Export::Lay_Out_Sheet()
{
    sheetPane->writeTo(sheet);
    // A page of the label's own size has no margins (Set_values_From_Printer).
    const Grid_Fit fit = Fit_Sheet_Job(sheet, pageSize(), sheet.auto_center_flag != 0);
    sheetPane->Show_Fitted_Grid(fit);
}

void PDF_Export::Check_Max_Cell_Value()
{
    Lay_Out_Sheet();
    // Without batch values the Total is one sheet of the cells.
    sheetPane->Total_Follows_Cells();
    if (labelSizedPage())
        sheetPane->Set_Preview_Sheet(QSizeF(sheet.label_width, sheet.label_hight));
    sheetPane->Refresh_Preview();
}

void PDF_Export::Sheet_Changed(Sheet_Need need)
{
    sheetPane->Follow_Need(need, [this] { Lay_Out_Sheet(); }, [this] { Check_Max_Cell_Value(); });
}

void PDF_Export::Page_From_Printer_Click()
{
    try {
        // The page and margins the window shows, kept as chosen.
        PrintInfo info = MainWindowServices::printInfo();
        info.pageLayout = pageLayout();
        if (!Run_Page_Setup(this, info))
            return;
        MainWindowServices::setPrintInfo(info);
        m_userPage = true;
        Set_values_From_Printer();
        Check_Max_Cell_Value();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- PDF options

void PDF_Export::Disable_for_fit_or_duplex()
{
    sheetPane->Disable_for_fit_or_duplex(Grid_Lock::One_Label);
    sheetPane->Enable_Placement(!use_label_size_chk_box->isChecked());
}

void PDF_Export::Normal_Printing_Is_Selected()
{
    sheetPane->Normal_Printing_Is_Selected();
}

void PDF_Export::pdf_export_option_CellClick(int row)
{
    try {
        if (row < 0 || row > 3)
            return;
        const bool wasSingle = pdf_export_opt_bkup == 2 || pdf_export_opt_bkup == 3;
        if (!wasSingle)
            sheetPane->Capture_Last_Values();
        pdf_export_opt = row;
        if (QAbstractButton* b = pdf_matrix->button(row))
            b->setChecked(true);
        if (row <= 1) {
            use_label_size_chk_box->setVisible(false);
            Normal_Printing_Is_Selected();
        } else {
            use_label_size_chk_box->setVisible(true);
            Disable_for_fit_or_duplex();
        }
        Set_values_From_Printer();
        Check_Max_Cell_Value();
        pdf_export_opt_bkup = pdf_export_opt;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void PDF_Export::use_label_size_chk_box_Click()
{
    const bool on = use_label_size_chk_box->isChecked();
    sheetPane->Enable_Placement(!on);
    sheet.PDF_Use_Label_Size = on ? 1 : 0;
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

// ---------------------------------------------------------------- job

bool PDF_Export::Execute_Exporting()
{
    pdf_export_opt = std::max(0, pdf_matrix->checkedId());

    // The sheet as the controls stand; the range counts rows, each repeated
    // by its print quantity.
    Lay_Out_Sheet();
    Sheet_Job ranged = sheet;
    const Sheet_Job_Refusal refusal = Range_Of_Job(ranged);
    if (refusal == Sheet_Job_Refusal::Invalid_Range) {
        Show_MessageBox(QStringLiteral("Please select valid range."));
        return false;
    }
    if (refusal == Sheet_Job_Refusal::No_Labels) {
        Show_MessageBox(QStringLiteral("There is no barcode to export."));
        return false;
    }
    if (Trim_Str(file_name_save_txt->text()).isEmpty()
        || Remove_Reserve_Char_In_File_Name(file_name_save_txt->text()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter file to export."));
        return false;
    }
    pdf_export_opt_real = pdf_export_opt;
    Pdf_Export_Job job = Job_From_Controls(ranged);
    // A label larger than its cell is cut there: the user is told first. A
    // page of the label's own size, and a page a barcode row whose cell is
    // the row's barcode, cut nothing.
    const bool perLabel = job.option == 2 || job.option == 3;
    const bool ownSize = perLabel && (job.sheet.PDF_Use_Label_Size || (!job.sheet.designing && job.sheet.Use_Data_Sheet_Values));
    if (!ownSize && !Confirm_Labels_Fit_Cells(job.sheet))
        return false;
    m_job = job;
    return true;
}

Pdf_Export_Job PDF_Export::Job_From_Controls(const Sheet_Job& ranged) const
{
    // A sheet of one label is a page per label.
    int option = std::max(0, pdf_matrix->checkedId());
    if (option <= 1 && ranged.Print_Row == 1 && ranged.Print_Col == 1)
        option = option == 0 ? 3 : 2;

    Pdf_Export_Job job;
    job.option = option;
    job.sheet = ranged;
    Sheet_Job& j = job.sheet;
    j.Real_label_width = j.label_width;
    j.Real_label_hight = j.label_hight;
    // The grid lies on the page of the print settings (or the default page).
    j.paper = Page_Size_Points(pageLayout());
    j.invalidImage = invalid_image;
    j.Start_Card_Option = Design_Start_Option();
    job.baseName = file_name_save_txt->text();
    return job;
}

void PDF_Export::OKPressed()
{
    try {
        if (!Execute_Exporting())
            return;
        QString folder = chooseFolder
            ? chooseFolder()
            : Choose_Folder(this, tr("Choose the Destination Folder"));
        if (Trim_Str(folder).isEmpty())
            return;
        const QString exportFolder = Path_Join(folder, pdf_export_folder_name);
        if (!Create_Folder(exportFolder)) {
            Show_MessageBox(unable_saving_Msg);
            return;
        }
        m_job.folder = exportFolder;
        m_lastJob = Export_PDF_File(m_job, this);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void PDF_Export::CancelPressed()
{
    // A job in work ends first (its progress window's Stop).
    if (m_lastJob && !m_lastJob->done)
        return;
    if (App_Services().Batch_Services)
        App_Services().Batch_Services->Select_First_Value_For_Barcode_Setting_Mode();
    hide();
    done(0);
}

void PDF_Export::Pdf_Help_Pressed()
{
    Run_Modal_Dialog(*pdf_help_wnd);
    pdf_help_wnd->hide();
}
