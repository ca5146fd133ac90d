#include "export/PdfExportWindow.h"

#include "barcode/generation/BarcodeRoad.h"
#include "core/canvas/LMNRenderingView.h"
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
#include "print/PrintControls.h"
#include "print/PrinterList.h"
#include "print/Sample_Preview.h"
#include "print/SheetLayout.h"
#include "print/SheetWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>

QPointer<PDF_Export> PDF_Export::s_instance;

using namespace sheetui;

namespace {

constexpr int noBatchMaximum = 999999;

} // namespace

void PDF_Export_Button()
{
    Output_Command([] { PDF_Export::defaultInstance()->Open_Pdf_Export_Wnd(); }, false);
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

PDF_Export::PDF_Export(QWidget* parent) : Sheet_Window(parent)
{
    setWindowTitle(tr("Export PDF"));
    buildUi();
    connectControls();
    Apply_Dialog_Background(this);
    for (QLineEdit* f : {Total_Text, To_Text, from_Text})
        f->setValidator(new QIntValidator(0, noBatchMaximum, f));
}

PDF_Export::~PDF_Export() = default;

PDF_Export* PDF_Export::defaultInstance()
{
    if (!s_instance)
        s_instance = new PDF_Export(Dialog_Parent_Window());
    return s_instance;
}

void PDF_Export::buildUi()
{
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    root->addLayout(left);

    // Page.
    auto* pageBox = new QGroupBox(tr("Page"));
    auto* pg = new QGridLayout(pageBox);
    Page_name_txt = readOnlyField();
    Page_width_txt = readOnlyField(70);
    Page_height_txt = readOnlyField(70);
    l_mar_id = readOnlyField(56);
    r_mar_id = readOnlyField(56);
    t_mar_id = readOnlyField(56);
    b_mar_id = readOnlyField(56);
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
    auto* margins = new QHBoxLayout;
    margins->addWidget(new QLabel(tr("Margins L")));
    margins->addWidget(l_mar_id);
    margins->addWidget(new QLabel(tr("R")));
    margins->addWidget(r_mar_id);
    margins->addWidget(new QLabel(tr("T")));
    margins->addWidget(t_mar_id);
    margins->addWidget(new QLabel(tr("B")));
    margins->addWidget(b_mar_id);
    pg->addLayout(margins, 2, 0, 1, 3);
    left->addWidget(pageBox);

    // Label sheet.
    auto* sheetBox = new QGroupBox(tr("Labels (mm)"));
    auto* sg = new QGridLayout(sheetBox);
    sg->addWidget(new QLabel(tr("Width")), 0, 0);
    sg->addLayout(pairWidget(width_Text, width_Stepper, 0.1, 5000, 1, true), 0, 1);
    sg->addWidget(new QLabel(tr("Height")), 0, 2);
    sg->addLayout(pairWidget(height_Text, height_Stepper, 0.1, 5000, 1, true), 0, 3);
    sg->addWidget(new QLabel(tr("Rows")), 1, 0);
    sg->addLayout(pairWidget(Row_Text, Row_Stepper, 1, 999, 1, false), 1, 1);
    sg->addWidget(new QLabel(tr("Columns")), 1, 2);
    sg->addLayout(pairWidget(Col_Text, Col_Stepper, 1, 999, 1, false), 1, 3);
    sg->addWidget(new QLabel(tr("Horizontal gap")), 2, 0);
    sg->addLayout(pairWidget(horz_mar_Text, horz_mar_Stepper, 0, 1000, 0.5, true), 2, 1);
    sg->addWidget(new QLabel(tr("Vertical gap")), 2, 2);
    sg->addLayout(pairWidget(vert_mar_Text, vert_mar_Stepper, 0, 1000, 0.5, true), 2, 3);
    left->addWidget(sheetBox);

    // Placement.
    QHBoxLayout* ab = Build_Alignment_Box(22);
    Show_Margins = new QCheckBox(tr("Show label outlines"));
    auto* placementRight = new QVBoxLayout;
    placementRight->addWidget(Auto_Center_chk_bx);
    placementRight->addWidget(Show_Margins);
    placementRight->addStretch();
    ab->addLayout(placementRight);
    ab->addStretch();
    left->addWidget(card_align_box);

    // Range and batch.
    left->addWidget(Build_Range_Box(tr("Labels to export")));
    auto* options = new QVBoxLayout;
    print_with_batch_chk = new QCheckBox(tr("Export with batch data"));
    skip_inavlid_chk = new QCheckBox(tr("Skip invalid barcodes"));
    print_qty_chk = new QCheckBox(tr("Use print quantities"));
    options->addWidget(print_with_batch_chk);
    options->addWidget(skip_inavlid_chk);
    options->addWidget(print_qty_chk);
    left->addLayout(options);
    // Options shown in one mode only keep their room in the other.
    for (QWidget* w : {static_cast<QWidget*>(skip_inavlid_chk), static_cast<QWidget*>(print_qty_chk)})
        Keep_Room_When_Hidden(w);

    // PDF options.
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
    right->addWidget(Build_Preview(380), 1);
    // The file layouts under the preview, so that the window stays low enough
    // for a 1366 x 768 screen; a choice shows or hides no row.
    right->addWidget(pdfBox);
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

void PDF_Export::connectControls()
{
    Connect_Sheet_Fields();
    connect(page_setup_btn, &QPushButton::clicked, this, &PDF_Export::Page_From_Printer_Click);
    Connect_Range_And_Options();
    connect(pdf_matrix, &QButtonGroup::idClicked, this, &PDF_Export::pdf_export_option_CellClick);
    connect(use_label_size_chk_box, &QCheckBox::clicked, this, &PDF_Export::use_label_size_chk_box_Click);
    connect(help_btn, &QPushButton::clicked, this, &PDF_Export::Pdf_Help_Pressed);
    connect(cancel_btn, &QPushButton::clicked, this, &PDF_Export::CancelPressed);
    connect(export_btn, &QPushButton::clicked, this, &PDF_Export::OKPressed);
}

// ---------------------------------------------------------------- opening

bool PDF_Export::Open_Pdf_Export_Wnd()
{
    try {
        Reset_For_Opening();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Show_MessageBox(QString::fromUtf8(e.what()));
        return false;
    }
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code == 0 || code == 1;
}

void PDF_Export::Reset_For_Opening()
{
    const bool designing = Designing_Mode_Active();
    Take_Batch_Rows();

    // 1. Reset.
    sheet.PDF_View_Not_Print = 1;
    sheet.PDF_Use_Label_Size = 0;
    barcode_font_name_label->setVisible(false);
    barcode_font_name->setVisible(false);
    pdf_export_opt = pdf_export_opt_bkup = 0;
    pdf_option[0]->setChecked(true);
    Normal_Printing_Is_Selected();
    sheet.auto_center_flag = 0;
    Auto_Center_chk_bx->setChecked(false);
    sheet.Show_margin_rect = 1;
    Show_Margins->setChecked(true);
    sheet.Enable_Crop_Marks = 0;
    sheet.Fit_Picture_To_Frame = 0;
    sheet.skip_invalid_barcode = 0;
    sheet.print_wd_pq_opt = 0;
    sheet.Manual_or_Pre = 0;
    sheet.Print_Row = sheet.Print_Col = 1;
    file_name_save_txt->setText(QStringLiteral("ZorvLabel"));
    Reset_Range_Fields();
    use_label_size_chk_box->setVisible(false);
    use_label_size_chk_box->setChecked(false);

    QSizeF labelSize;
    if (designing) {
        // 2. The label is the card.
        labelSize = Reset_For_Card_Label();
        skip_inavlid_chk->setChecked(false);
        print_qty_chk->setChecked(false);
    } else {
        // 3. The label is the barcode.
        SetObjEnabled(width_Stepper, true);
        SetObjEnabled(height_Stepper, true);
        width_Text->setReadOnly(false);
        height_Text->setReadOnly(false);
        const BarcodeModeState state = App_Services().Batch_Services ? App_Services().Batch_Services->Barcode_Mode_State() : BarcodeModeState();
        barcode_font_name->setText(state.settings.barcodeType);
        if (rowCount.Use_Data_Sheet_Values) {
            print_with_batch_chk->setEnabled(true);
            print_with_batch_chk->setChecked(true);
            skip_inavlid_chk->setVisible(true);
            skip_inavlid_chk->setChecked(true);
            const bool series = state.seriesFeeds;
            print_qty_chk->setVisible(!series);
            print_qty_chk->setEnabled(!series);
            print_qty_chk->setChecked(!series);
            sheet.skip_invalid_barcode = 1;
            const int total = Total_From_Quantity_Box();
            Set_Tot_Value(total, total, QStringLiteral("A"));
        } else {
            print_with_batch_chk->setEnabled(false);
            print_with_batch_chk->setChecked(false);
            skip_inavlid_chk->setVisible(false);
            skip_inavlid_chk->setChecked(false);
            print_qty_chk->setVisible(false);
            print_qty_chk->setChecked(false);
            Set_Tot_Value(1, noBatchMaximum, QStringLiteral("A"));
        }
        sheet.Barcode_Image = App_Services().Batch_Services ? Make_Barcode_Image(state.settings, state.value, state.header, state.footer)
                                       : PtImage();
        labelSize = sheet.Barcode_Image.size();
    }

    // 4. One label of that size, one cell, no gaps, top-left.
    Set_Enable_Diable_Range_Box();
    sheet.label_width = float(labelSize.width());
    sheet.label_hight = float(labelSize.height());
    invalid_image = App_Services().Batch_Services ? App_Services().Batch_Services->Invalid_Barcode_Data_Image() : PtImage();
    const double wmm = Points_To_MM(sheet.label_width), hmm = Points_To_MM(sheet.label_hight);
    setPair(width_Text, width_Stepper, wmm, mm2(wmm));
    setPair(height_Text, height_Stepper, hmm, mm2(hmm));
    setPair(Row_Text, Row_Stepper, 1, QStringLiteral("1"));
    setPair(Col_Text, Col_Stepper, 1, QStringLiteral("1"));
    setPair(horz_mar_Text, horz_mar_Stepper, 0, mm2(0));
    setPair(vert_mar_Text, vert_mar_Stepper, 0, mm2(0));
    for (QLineEdit* f : {l_mar_id, r_mar_id, t_mar_id, b_mar_id})
        f->setText(mm2(0));
    SetObjEnabled(horz_mar_Stepper, true);
    SetObjEnabled(vert_mar_Stepper, true);
    SetObjEnabled(card_align_box, true);
    SetObjEnabled(align_Gp_Bx, true);
    sheet.label_align_val = 1;
    Set_Reset_Alignemnt_Image();
    Capture_Last_Values();

    // 5.
    Set_values_From_Printer();
    Check_Max_Cell_Value();
    Refresh_Preview();
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
    setPreviewFrame(page);
    QSizeF pageMM = layout.fullRect(QPageLayout::Millimeter).size();
    if (labelSizedPage())
        pageMM = QSizeF(Points_To_MM(float(page.width())), Points_To_MM(float(page.height())));
    Page_width_txt->setText(mm2(pageMM.width()));
    Page_height_txt->setText(mm2(pageMM.height()));
    sheet.Left_Mar = float(m.left());
    sheet.Rite_Mar = float(m.right());
    sheet.Top_Mar = float(m.top());
    sheet.Bot_Mar = float(m.bottom());
    l_mar_id->setText(mm2(Points_To_MM(sheet.Left_Mar)));
    r_mar_id->setText(mm2(Points_To_MM(sheet.Rite_Mar)));
    t_mar_id->setText(mm2(Points_To_MM(sheet.Top_Mar)));
    b_mar_id->setText(mm2(Points_To_MM(sheet.Bot_Mar)));
    Refresh_Preview();
}

void PDF_Export::Check_Max_Cell_Value()
{
    const float lw = MM_To_Points(float(width_Stepper->value()));
    const float lh = MM_To_Points(float(height_Stepper->value()));
    sheet.label_width = lw;
    sheet.label_hight = lh;
    const QSizeF page = pageSize();
    Sheet_Geometry g;
    g.W = float(page.width());
    g.H = float(page.height());
    g.L = sheet.Left_Mar;
    g.R = sheet.Rite_Mar;
    g.T = sheet.Top_Mar;
    g.B = sheet.Bot_Mar;
    if (labelSizedPage())
        g.L = g.R = g.T = g.B = 0;
    g.lw = lw;
    g.lh = lh;
    g.hg = MM_To_Points(float(num(horz_mar_Text)));
    g.vg = MM_To_Points(float(num(vert_mar_Text)));
    g.cols = std::max(1, inum(Col_Text));
    g.rows = std::max(1, inum(Row_Text));
    const bool center = Auto_Center_chk_bx->isChecked();
    sheet.auto_center_flag = center ? 1 : 0;
    const Grid_Fit fit = Fit_Grid_To_Paper(g, center);
    if (fit.colsLowered)
        setPair(Col_Text, Col_Stepper, fit.cols, QString::number(fit.cols));
    if (fit.rowsLowered)
        setPair(Row_Text, Row_Stepper, fit.rows, QString::number(fit.rows));
    sheet.Print_Row = fit.rows;
    sheet.Print_Col = fit.cols;
    sheet.horz_mar = fit.hg;
    sheet.vert_mar = fit.vg;
    if (!print_with_batch_chk->isChecked())
        Set_Tot_Value(sheet.Print_Row * sheet.Print_Col, int(Total_Stepper->maximum()), QStringLiteral("A"));
    if (labelSizedPage())
        setPreviewFrame(QSizeF(sheet.label_width, sheet.label_hight));
    Refresh_Preview();
}

void PDF_Export::setPreviewFrame(QSizeF page)
{
    m_previewSheet = page;
    PrintView->setSheetSize(page);
    // The whole page in view, never larger than 1.5 times its size.
    const double roomW = std::max(100, Print_sclview->viewport()->width() - 16);
    const double roomH = std::max(100, Print_sclview->viewport()->height() - 16);
    double scale = 1.0;
    if (page.width() > 0 && page.height() > 0)
        scale = std::min({1.5, roomW / page.width(), roomH / page.height()});
    PrintView->setDisplayScale(scale);
    PrintView->setFixedSize((page * scale).toSize().expandedTo(QSize(1, 1)));
}

bool PDF_Export::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Print_sclview->viewport() && event->type() == QEvent::Resize && !m_previewSheet.isEmpty())
        setPreviewFrame(m_previewSheet);
    return QDialog::eventFilter(watched, event);
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

void PDF_Export::copyPair(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt, bool twoDecimals)
{
    Sheet_Window::copyPair(sender, field, stepper, isInt, twoDecimals);
    // The field shows what the stepper holds (a value out of range is corrected).
    if (sender != stepper && isInt)
        field->setText(QString::number(stepper->intValue()));
}

void PDF_Export::Horz_Margin_Changed(QObject* sender)
{
    copyPair(sender, horz_mar_Text, horz_mar_Stepper, false);
    Check_Max_Cell_Value();
}

void PDF_Export::Vert_Margin_Changed(QObject* sender)
{
    copyPair(sender, vert_mar_Text, vert_mar_Stepper, false);
    Check_Max_Cell_Value();
}

void PDF_Export::Width_Changed(QObject* sender)
{
    copyPair(sender, width_Text, width_Stepper, false, true);
    Check_Max_Cell_Value();
}

void PDF_Export::Height_Changed(QObject* sender)
{
    copyPair(sender, height_Text, height_Stepper, false, true);
    Check_Max_Cell_Value();
}

void PDF_Export::Row_Changed(QObject* sender)
{
    copyPair(sender, Row_Text, Row_Stepper, true);
    Check_Max_Cell_Value();
}

void PDF_Export::Col_Changed(QObject* sender)
{
    copyPair(sender, Col_Text, Col_Stepper, true);
    Check_Max_Cell_Value();
}

void PDF_Export::Auto_Center_Checked()
{
    const bool on = Auto_Center_chk_bx->isChecked();
    sheet.auto_center_flag = on ? 1 : 0;
    if (!(pdf_export_opt == 2 || pdf_export_opt == 3)) {
        SetObjEnabled(horz_mar_Stepper, !on);
        SetObjEnabled(vert_mar_Stepper, !on);
    }
    SetObjEnabled(align_Gp_Bx, !on);
    Check_Max_Cell_Value();
}

void PDF_Export::Alignment_Clicked(int value)
{
    sheet.label_align_val = value;
    Set_Reset_Alignemnt_Image();
    Refresh_Preview();
}

void PDF_Export::controlTextDidChange(QLineEdit* field)
{
    Range_Text_Changed(field);
}

// ---------------------------------------------------------------- range and options

// ---------------------------------------------------------------- PDF options

void PDF_Export::Disable_for_fit_or_duplex()
{
    SetObjEnabled(horz_mar_Stepper, false);
    SetObjEnabled(vert_mar_Stepper, false);
    setPair(horz_mar_Text, horz_mar_Stepper, 0, floatText(0));
    setPair(vert_mar_Text, vert_mar_Stepper, 0, floatText(0));
    SetObjEnabled(Row_Stepper, false);
    SetObjEnabled(Col_Stepper, false);
    setPair(Row_Text, Row_Stepper, 1, QStringLiteral("1"));
    setPair(Col_Text, Col_Stepper, 1, QStringLiteral("1"));
    for (QLineEdit* f : {horz_mar_Text, vert_mar_Text, Row_Text, Col_Text})
        f->setReadOnly(true);
    if (!use_label_size_chk_box->isChecked()) {
        SetObjEnabled(card_align_box, true);
        if (Auto_Center_chk_bx->isChecked())
            SetObjEnabled(align_Gp_Bx, false);
    } else {
        SetObjEnabled(card_align_box, false);
    }
}

void PDF_Export::Normal_Printing_Is_Selected()
{
    SetObjEnabled(card_align_box, true);
    if (Auto_Center_chk_bx->isChecked())
        SetObjEnabled(align_Gp_Bx, false);
    const bool gapsFree = !Auto_Center_chk_bx->isChecked();
    SetObjEnabled(horz_mar_Stepper, gapsFree);
    SetObjEnabled(vert_mar_Stepper, gapsFree);
    setPair(horz_mar_Text, horz_mar_Stepper, LAST_Horz_Mar, floatText(LAST_Horz_Mar));
    setPair(vert_mar_Text, vert_mar_Stepper, LAST_Vert_Mar, floatText(LAST_Vert_Mar));
    SetObjEnabled(Row_Stepper, true);
    SetObjEnabled(Col_Stepper, true);
    setPair(Row_Text, Row_Stepper, LAST_Row, QString::number(LAST_Row));
    setPair(Col_Text, Col_Stepper, LAST_Column, QString::number(LAST_Column));
    for (QLineEdit* f : {horz_mar_Text, vert_mar_Text, Row_Text, Col_Text})
        f->setReadOnly(false);
}

void PDF_Export::pdf_export_option_CellClick(int row)
{
    try {
        if (row < 0 || row > 3)
            return;
        const bool wasSingle = pdf_export_opt_bkup == 2 || pdf_export_opt_bkup == 3;
        if (!wasSingle)
            Capture_Last_Values();
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
    if (use_label_size_chk_box->isChecked()) {
        SetObjEnabled(card_align_box, false);
        sheet.PDF_Use_Label_Size = 1;
    } else {
        SetObjEnabled(card_align_box, true);
        if (Auto_Center_chk_bx->isChecked())
            SetObjEnabled(align_Gp_Bx, false);
        sheet.PDF_Use_Label_Size = 0;
    }
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

// ---------------------------------------------------------------- job

bool PDF_Export::Execute_Exporting()
{
    pdf_export_opt = std::max(0, pdf_matrix->checkedId());

    // The range counts rows, each repeated by its print quantity.
    Job_Range range;
    if (!Range_Of_Job(range))
        return false;
    if (range.total == 0) {
        Show_MessageBox(QStringLiteral("There is no barcode to export."));
        return false;
    }
    if (Trim_Str(file_name_save_txt->text()).isEmpty()
        || Remove_Reserve_Char_In_File_Name(file_name_save_txt->text()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter file to export."));
        return false;
    }
    pdf_export_opt_real = pdf_export_opt;
    Pdf_Export_Job job = Job_From_Controls(range);
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

Pdf_Export_Job PDF_Export::Job_From_Controls(const Job_Range& range) const
{
    const bool designing = Designing_Mode_Active();
    const bool batch = print_with_batch_chk->isChecked();
    // A sheet of one label is a page per label.
    int option = std::max(0, pdf_matrix->checkedId());
    if (option <= 1 && sheet.Print_Row == 1 && sheet.Print_Col == 1)
        option = option == 0 ? 3 : 2;

    Pdf_Export_Job job;
    job.option = option;
    job.sheet = sheet;
    Sheet_Job& j = job.sheet;
    j.designing = designing;
    j.Use_Data_Sheet_Values = batch;
    j.Use_Excel_Binding_Values = rowCount.Use_Excel_Binding_Values;
    j.print_wd_pq_opt = !designing && batch && print_qty_chk->isChecked() ? 1 : 0;
    j.skip_invalid_barcode = batch && skip_inavlid_chk->isChecked() && !designing ? 1 : 0;
    j.Use_Barocde_In_Center = designing ? 0 : 1;
    j.Print_Start = batch ? range.start : 0;
    j.Print_End = batch ? range.end : 0;
    j.Total_Label_Real = range.labels;
    j.Total_Label = std::max(1, range.total);
    j.Real_label_width = j.label_width;
    j.Real_label_hight = j.label_hight;
    // The grid lies on the page of the print settings (or the default page).
    j.paper = Page_Size_Points(pageLayout());
    j.rows = batchRows;
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
            Show_MessageBox(unable_saving_Msg_Export);
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
