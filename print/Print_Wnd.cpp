#include "print/Print_Wnd.h"

#include "barcode/generation/BarcodeRoad.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/Heap.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"
#include "print/LabelFit.h"
#include "print/LabelSheetFiles.h"
#include "print/PaperCheck.h"
#include "print/PdfFontTags.h"
#include "print/PrintControls.h"
#include "print/PrinterList.h"
#include "print/Printing_View.h"
#include "print/Sample_Preview.h"
#include "print/SheetLayout.h"
#include "print/SheetWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QEvent>

#include <algorithm>
#include <cmath>

QPointer<Print_Wnd> Print_Wnd::s_instance;

using namespace sheetui;

namespace {

const QString kCustom = QStringLiteral("Custom");

QString yn(const QCheckBox* c) { return c->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"); }

} // namespace

// ---------------------------------------------------------------------------
// Building the window

Print_Wnd::Print_Wnd(QWidget* parent) : Sheet_Window(parent)
{
    setWindowTitle(tr("Print"));
    sheet.Manual_or_Pre = 0;
    cus_or_pre = QStringLiteral("C");
    buildUi();
    connectControls();
    Apply_Dialog_Background(this);
    // awakeFromNib: the vendor list, "Custom" first.
    Label_ComboBox->addItems(Catalogue_Vendor_Names());
    Label_ComboBox->setCurrentIndex(0);
    for (QLineEdit* f : {Total_Text, To_Text, from_Text, Copies_Text})
        f->setValidator(new QIntValidator(0, 999999, f));
    setPrintInfo(MainWindowServices::printInfo());
}

Print_Wnd::~Print_Wnd() = default;

Print_Wnd* Print_Wnd::defaultInstance()
{
    if (!s_instance)
        s_instance = new Print_Wnd(Dialog_Parent_Window());
    return s_instance;
}

void Print_Wnd::buildUi()
{
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    root->addLayout(left);
    root->addLayout(middle);

    // Printer and paper.
    auto* printerBox = new QGroupBox(tr("Printer"));
    auto* pg = new QGridLayout(printerBox);
    Printer_ComboBox = new QComboBox;
    Printer_ComboBox->setMinimumWidth(200);
    page_setup_btn = new QPushButton(tr("Page Setup..."));
    Orient_ComboBox = new QComboBox;
    Orient_ComboBox->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    Paper_id = readOnlyField();
    Size_id = readOnlyField();
    l_mar_id = readOnlyField(56);
    r_mar_id = readOnlyField(56);
    t_mar_id = readOnlyField(56);
    b_mar_id = readOnlyField(56);
    pg->addWidget(new QLabel(tr("Printer:")), 0, 0);
    pg->addWidget(Printer_ComboBox, 0, 1, 1, 3);
    pg->addWidget(new QLabel(tr("Paper:")), 1, 0);
    pg->addWidget(Paper_id, 1, 1);
    pg->addWidget(page_setup_btn, 1, 2, 1, 2);
    pg->addWidget(new QLabel(tr("Size (mm):")), 2, 0);
    pg->addWidget(Size_id, 2, 1);
    pg->addWidget(Orient_ComboBox, 2, 2, 1, 2);
    auto* margins = new QHBoxLayout;
    margins->addWidget(new QLabel(tr("Margins L")));
    margins->addWidget(l_mar_id);
    margins->addWidget(new QLabel(tr("R")));
    margins->addWidget(r_mar_id);
    margins->addWidget(new QLabel(tr("T")));
    margins->addWidget(t_mar_id);
    margins->addWidget(new QLabel(tr("B")));
    margins->addWidget(b_mar_id);
    pg->addLayout(margins, 3, 0, 1, 4);
    left->addWidget(printerBox);

    // Label source.
    auto* sourceRow = new QHBoxLayout;
    rd_manual = new QRadioButton(tr("Manual label"));
    rd_predefined = new QRadioButton(tr("Label sheet"));
    sourceRow->addWidget(rd_manual);
    sourceRow->addWidget(rd_predefined);
    sourceRow->addStretch();
    left->addLayout(sourceRow);

    manual_prop_Gp_Bx = new QGroupBox(tr("Manual label (mm)"));
    auto* mg = new QGridLayout(manual_prop_Gp_Bx);
    mg->addWidget(new QLabel(tr("Columns")), 0, 0);
    mg->addLayout(pairWidget(Col_Text, Col_Stepper, 1, 999, 1, false), 0, 1);
    mg->addWidget(new QLabel(tr("Rows")), 0, 2);
    mg->addLayout(pairWidget(Row_Text, Row_Stepper, 1, 999, 1, false), 0, 3);
    mg->addWidget(new QLabel(tr("Horizontal gap")), 1, 0);
    mg->addLayout(pairWidget(horz_mar_Text, horz_mar_Stepper, 0, 1000, 0.5, true), 1, 1);
    mg->addWidget(new QLabel(tr("Vertical gap")), 1, 2);
    mg->addLayout(pairWidget(vert_mar_Text, vert_mar_Stepper, 0, 1000, 0.5, true), 1, 3);
    mg->addWidget(new QLabel(tr("Width")), 2, 0);
    mg->addLayout(pairWidget(width_Text, width_Stepper, 0.1, 5000, 1, true), 2, 1);
    mg->addWidget(new QLabel(tr("Height")), 2, 2);
    mg->addLayout(pairWidget(height_Text, height_Stepper, 0.1, 5000, 1, true), 2, 3);
    left->addWidget(manual_prop_Gp_Bx);

    predefine_prop_Gp_Bx = new QGroupBox(tr("Label sheet (mm)"));
    auto* dg = new QGridLayout(predefine_prop_Gp_Bx);
    Label_ComboBox = new QComboBox;
    Product_num_ComboBox = new QComboBox;
    Product_num_ComboBox->setMinimumWidth(130);
    save_label_btn = new QPushButton(tr("Save"));
    delete_label_btn = new QPushButton(tr("Delete"));
    dg->addWidget(new QLabel(tr("Vendor")), 0, 0);
    dg->addWidget(Label_ComboBox, 0, 1);
    dg->addWidget(new QLabel(tr("Product")), 0, 2);
    dg->addWidget(Product_num_ComboBox, 0, 3);
    auto* sd = new QHBoxLayout;
    sd->addStretch();
    sd->addWidget(save_label_btn);
    sd->addWidget(delete_label_btn);
    dg->addLayout(sd, 1, 0, 1, 4);
    dg->addWidget(new QLabel(tr("Columns")), 2, 0);
    dg->addLayout(pairWidget(Col_Text_pre, Col_Stepper_pre, 1, 999, 1, false), 2, 1);
    dg->addWidget(new QLabel(tr("Rows")), 2, 2);
    dg->addLayout(pairWidget(Row_Text_pre, Row_Stepper_pre, 1, 999, 1, false), 2, 3);
    left_mar_pre = new QLineEdit;
    top_mar_pre = new QLineEdit;
    for (QLineEdit* f : {left_mar_pre, top_mar_pre}) {
        f->setFixedWidth(64);
        f->setValidator(new Float_Num_Formatter(f));
    }
    dg->addWidget(new QLabel(tr("Left margin")), 3, 0);
    dg->addWidget(left_mar_pre, 3, 1);
    dg->addWidget(new QLabel(tr("Top margin")), 3, 2);
    dg->addWidget(top_mar_pre, 3, 3);
    dg->addWidget(new QLabel(tr("Horizontal gap")), 4, 0);
    dg->addLayout(pairWidget(horz_mar_Text_pre, horz_mar_Stepper_pre, 0, 1000, 0.5, true), 4, 1);
    dg->addWidget(new QLabel(tr("Vertical gap")), 4, 2);
    dg->addLayout(pairWidget(vert_mar_Text_pre, vert_mar_Stepper_pre, 0, 1000, 0.5, true), 4, 3);
    dg->addWidget(new QLabel(tr("Width")), 5, 0);
    dg->addLayout(pairWidget(width_Text_pre, width_Stepper_pre, 0.1, 5000, 1, false), 5, 1);
    dg->addWidget(new QLabel(tr("Height")), 5, 2);
    dg->addLayout(pairWidget(height_Text_pre, height_Stepper_pre, 0.1, 5000, 1, false), 5, 3);
    paper_used_pre = readOnlyField();
    orientation_pre = readOnlyField();
    page_size_pre = readOnlyField();
    page_width_pre = readOnlyField();
    page_height_pre = readOnlyField();
    layout_group_pre = readOnlyField();
    description_pre = readOnlyField();
    dg->addWidget(new QLabel(tr("Paper")), 6, 0);
    dg->addWidget(paper_used_pre, 6, 1);
    dg->addWidget(new QLabel(tr("Orientation")), 6, 2);
    dg->addWidget(orientation_pre, 6, 3);
    dg->addWidget(new QLabel(tr("Page size")), 7, 0);
    dg->addWidget(page_size_pre, 7, 1);
    auto* wh = new QHBoxLayout;
    wh->addWidget(page_width_pre);
    wh->addWidget(page_height_pre);
    dg->addLayout(wh, 7, 2, 1, 2);
    dg->addWidget(new QLabel(tr("Layout")), 8, 0);
    dg->addWidget(layout_group_pre, 8, 1, 1, 3);
    dg->addWidget(new QLabel(tr("Description")), 9, 0);
    dg->addWidget(description_pre, 9, 1, 1, 3);
    left->addWidget(predefine_prop_Gp_Bx);
    left->addStretch();
    // The two label boxes take the same width, so that switching between
    // them moves nothing beside them; the vendor and product lists keep a
    // width of their own whatever names they hold.
    for (QComboBox* c : {Label_ComboBox, Product_num_ComboBox}) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(12);
    }
    const int labelBoxWidth = std::max(manual_prop_Gp_Bx->sizeHint().width(), predefine_prop_Gp_Bx->sizeHint().width());
    manual_prop_Gp_Bx->setMinimumWidth(labelBoxWidth);
    predefine_prop_Gp_Bx->setMinimumWidth(labelBoxWidth);

    // Alignment.
    QHBoxLayout* ab = Build_Alignment_Box(24);
    ab->addWidget(Auto_Center_chk_bx);
    ab->addStretch();
    middle->addWidget(card_align_box);

    // Range.
    middle->addWidget(Build_Range_Box(tr("Labels")));

    // Options.
    auto* options = new QGroupBox(tr("Options"));
    auto* og = new QGridLayout(options);
    print_with_batch_chk = new QCheckBox(tr("Print with batch data"));
    skip_inavlid_chk = new QCheckBox(tr("Skip invalid barcodes"));
    print_qty_chk = new QCheckBox(tr("Use print quantities"));
    crop_mark_chk = new QCheckBox(tr("Crop marks"));
    fit_frame_chk = new QCheckBox(tr("Fit to frame"));
    Show_Margins = new QCheckBox(tr("Show label outlines"));
    og->addWidget(print_with_batch_chk, 0, 0);
    og->addWidget(skip_inavlid_chk, 1, 0);
    og->addWidget(print_qty_chk, 2, 0);
    og->addWidget(Show_Margins, 3, 0);
    og->addWidget(crop_mark_chk, 4, 0);
    og->addWidget(fit_frame_chk, 5, 0);
    auto* copies = new QHBoxLayout;
    copies->addWidget(new QLabel(tr("Copies")));
    copies->addLayout(pairWidget(Copies_Text, Copies_Stepper, 1, 999, 1, false));
    og->addLayout(copies, 6, 0);
    middle->addWidget(options);

    // Profiles.
    auto* profiles = new QGroupBox(tr("Print profiles"));
    auto* pv = new QVBoxLayout(profiles);
    List_profile = new QListWidget;
    List_profile->setSelectionMode(QAbstractItemView::SingleSelection);
    List_profile->setMinimumHeight(80);
    pv->addWidget(List_profile);
    auto* pb = new QHBoxLayout;
    Add_profile_btn = new QPushButton(tr("Add"));
    Edit_profile_btn = new QPushButton(tr("Edit"));
    Save_profile_btn = new QPushButton(tr("Save"));
    Delete_profile_btn = new QPushButton(tr("Delete"));
    for (QPushButton* b : {Add_profile_btn, Edit_profile_btn, Save_profile_btn, Delete_profile_btn})
        pb->addWidget(b);
    pv->addLayout(pb);
    middle->addWidget(profiles, 1);

    // Preview and the job buttons.
    auto* right = new QVBoxLayout;
    right->addWidget(Build_Preview(420), 1);
    auto* buttons = new QHBoxLayout;
    preview_btn = new QPushButton(tr("Preview"));
    print_btn = new QPushButton(tr("Print"));
    cancel_btn = new QPushButton(tr("Cancel"));
    print_btn->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(cancel_btn);
    buttons->addWidget(preview_btn);
    buttons->addWidget(print_btn);
    right->addLayout(buttons);
    root->addLayout(right, 1);

    custom_prod_window = new Custom_Product_Label(this);
    prnt_prof_wnd = new Add_Print_Profile(this);
    resize(1280, 700);
}

void Print_Wnd::connectControls()
{
    connect(Printer_ComboBox, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(Printer_ComboBox); });
    connect(Orient_ComboBox, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(Orient_ComboBox); });
    connect(Label_ComboBox, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(Label_ComboBox); });
    connect(Product_num_ComboBox, &QComboBox::activated, this,
            [this] { comboBoxSelectionDidChange(Product_num_ComboBox); });
    connect(page_setup_btn, &QPushButton::clicked, this, &Print_Wnd::pagesetup);
    connect(rd_manual, &QRadioButton::clicked, this, &Print_Wnd::Manual_Label_Changed);
    connect(rd_predefined, &QRadioButton::clicked, this, &Print_Wnd::Predefined_Label_Changed);

    Connect_Sheet_Fields();
    Connect_Field(horz_mar_Text_pre, horz_mar_Stepper_pre, [this](QObject* s) { Horz_Margin_Changed(s); });
    Connect_Field(vert_mar_Text_pre, vert_mar_Stepper_pre, [this](QObject* s) { Vert_Margin_Changed(s); });
    Connect_Field(width_Text_pre, width_Stepper_pre, [this](QObject* s) { Width_Changed(s); });
    Connect_Field(height_Text_pre, height_Stepper_pre, [this](QObject* s) { Height_Changed(s); });
    Connect_Field(Row_Text_pre, Row_Stepper_pre, [this](QObject* s) { Row_Changed(s); });
    Connect_Field(Col_Text_pre, Col_Stepper_pre, [this](QObject* s) { Col_Changed(s); });
    Connect_Field(Copies_Text, Copies_Stepper, [this](QObject* s) { Copies_Val_Changed(s); });
    for (QLineEdit* f : {left_mar_pre, top_mar_pre})
        connect(f, &QLineEdit::editingFinished, this, &Print_Wnd::Check_Max_Cell_Value);

    Connect_Range_And_Options();
    connect(crop_mark_chk, &QCheckBox::clicked, this, &Print_Wnd::Enable_Crop_Mark_clicked);
    connect(fit_frame_chk, &QCheckBox::clicked, this, &Print_Wnd::Fit_To_Frame_clicked);

    connect(save_label_btn, &QPushButton::clicked, this, &Print_Wnd::Save_Label_Pressed);
    connect(delete_label_btn, &QPushButton::clicked, this, &Print_Wnd::Delete_Label_Pressed);

    connect(List_profile, &QListWidget::currentRowChanged, this, &Print_Wnd::tableViewSelectionDidChange);
    connect(Add_profile_btn, &QPushButton::clicked, this, [this] { Add_Edit_Print_Profile(QStringLiteral("A")); });
    connect(Edit_profile_btn, &QPushButton::clicked, this, [this] { Add_Edit_Print_Profile(QStringLiteral("E")); });
    connect(Save_profile_btn, &QPushButton::clicked, this, &Print_Wnd::Save_profile_btn_clicked);
    connect(Delete_profile_btn, &QPushButton::clicked, this, &Print_Wnd::Delete_profile_btn_clicked);

    connect(preview_btn, &QPushButton::clicked, this, &Print_Wnd::PreviewButtonPressed);
    connect(print_btn, &QPushButton::clicked, this, &Print_Wnd::PrintButtonPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Print_Wnd::CancelButtonPressed);
}

// ---------------------------------------------------------------------------
// Opening

bool Print_Wnd::Open_Print_Wnd()
{
    try {
        Reset_For_Opening();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code == 0 || code == 1;
}

void Print_Wnd::Reset_For_Opening()
{
    const bool designing = Designing_Mode_Active();
    Take_Batch_Rows();

    // 1. Reset.
    crop_mark_chk->setVisible(false);
    fit_frame_chk->setVisible(false);
    sheet.PDF_View_Not_Print = 0;
    crop_mark_chk->setChecked(false);
    fit_frame_chk->setChecked(false);
    sheet.Enable_Crop_Marks = 0;
    sheet.Fit_Picture_To_Frame = 0;
    sheet.auto_center_flag = 0;
    Auto_Center_chk_bx->setChecked(false);
    Normal_Printing_Is_Selected();
    SetObjEnabled(align_Gp_Bx, true);
    sheet.Show_margin_rect = 1;
    Show_Margins->setChecked(true);
    sheet.skip_invalid_barcode = 0;
    sheet.print_wd_pq_opt = 0;
    sheet.Print_Row = sheet.Print_Col = 1;
    cus_or_pre = QStringLiteral("C");
    sheet.Manual_or_Pre = 0;
    rd_manual->setChecked(true);
    rd_predefined->setChecked(false);
    manual_prop_Gp_Bx->setVisible(true);
    predefine_prop_Gp_Bx->setVisible(false);
    Refresh_And_Reload_Product_Number_Combo(QString());
    Label_ComboBox->setCurrentIndex(0);
    Reset_Range_Fields();
    setPair(Copies_Text, Copies_Stepper, 1, QStringLiteral("1"));

    QSizeF labelSize;
    if (designing) {
        // 2. Designing mode: the label is the card.
        labelSize = Reset_For_Card_Label();
        Set_Enable_Diable_Range_Box();
    } else {
        // 3. Barcode mode: the label is the barcode.
        crop_mark_chk->setVisible(false);
        fit_frame_chk->setVisible(false);
        SetObjEnabled(width_Stepper, true);
        SetObjEnabled(height_Stepper, true);
        width_Text->setReadOnly(false);
        height_Text->setReadOnly(false);
        const BarcodeModeState state = App_Services().Batch_Services ? App_Services().Batch_Services->Barcode_Mode_State() : BarcodeModeState();
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
            sheet.print_wd_pq_opt = 1;
            const int total = Total_From_Quantity_Box();
            Set_Tot_Value(total, total, QStringLiteral("A"));
        } else {
            print_with_batch_chk->setEnabled(false);
            print_with_batch_chk->setChecked(false);
            skip_inavlid_chk->setVisible(false);
            skip_inavlid_chk->setChecked(false);
            print_qty_chk->setVisible(false);
            print_qty_chk->setChecked(false);
            Set_Tot_Value(1, 999999, QStringLiteral("A"));
        }
        Set_Enable_Diable_Range_Box();
        sheet.Barcode_Image = App_Services().Batch_Services
            ? Make_Barcode_Image(state.settings, state.value, state.header, state.footer)
            : PtImage();
        labelSize = sheet.Barcode_Image.size();
    }

    // 4. The manual label at that size, one cell, no gaps.
    sheet.label_width = float(labelSize.width());
    sheet.label_hight = float(labelSize.height());
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
    SetObjEnabled(align_Gp_Bx, true);
    sheet.label_align_val = 1;
    Set_Reset_Alignemnt_Image();

    // 5. Printers: the list, its first printer chosen (the system's default
    // printer leads the list). The paper and orientation stay; the margins
    // become the printer's, except for a print into a file, which keeps the
    // page set-up's.
    const QStringList printers = Printer_Names();
    {
        QSignalBlocker block(Printer_ComboBox);
        Printer_ComboBox->clear();
        Printer_ComboBox->addItems(printers);
        Printer_ComboBox->setCurrentIndex(printers.isEmpty() ? -1 : 0);
        PrintInfo info = printInfo();
        if (!printers.isEmpty() && info.printerName != printers.first()) {
            info.printerName = printers.first();
            if (info.jobDisposition != QLatin1String("save"))
                info.pageLayout = Printer_Page_Layout(info.printerName, info.pageLayout);
            setPrintInfo(info);
        }
    }

    // 6.
    Set_values_From_Printer();
    Refresh_Preview();
    Load_Print_Profile();
}

// ---------------------------------------------------------------------------
// Printer and paper

PrintInfo Print_Wnd::printInfo() const
{
    return MainWindowServices::printInfo();
}

void Print_Wnd::setPrintInfo(const PrintInfo& info)
{
    if (info != MainWindowServices::printInfo())
        MainWindowServices::setPrintInfo(info);
}

QSizeF Print_Wnd::paperSize() const
{
    // Exact points: a driver gives its standard papers in whole points, and
    // three 70 mm labels fill A4's 210 mm, not its 595 points.
    return Page_Size_Points(printInfo().pageLayout);
}

void Print_Wnd::Set_values_From_Printer()
{
    const PrintInfo info = printInfo();
    const QPageLayout& layout = info.pageLayout;
    Paper_id->setText(Paper_Name_Of(layout));
    const QSizeF paper = paperSize();
    sheet.paper = paper;
    const QRectF mm = layout.fullRect(QPageLayout::Millimeter);
    const bool catalogue = sheet.Manual_or_Pre == 1 && cus_or_pre == QLatin1String("P");
    if (!catalogue)
        setPreviewFrame(paper);
    Size_id->setText(mm2(mm.width()) + QStringLiteral(" x ") + mm2(mm.height()));
    Orient_ComboBox->setCurrentIndex(layout.orientation() == QPageLayout::Landscape ? 1 : 0);

    const QMarginsF m = layout.margins(QPageLayout::Point);
    sheet.Left_Mar = float(m.left());
    sheet.Rite_Mar = float(m.right());
    sheet.Top_Mar = float(m.top());
    sheet.Bot_Mar = float(m.bottom());
    l_mar_id->setText(mm2(Points_To_MM(sheet.Left_Mar)));
    r_mar_id->setText(mm2(Points_To_MM(sheet.Rite_Mar)));
    t_mar_id->setText(mm2(Points_To_MM(sheet.Top_Mar)));
    b_mar_id->setText(mm2(Points_To_MM(sheet.Bot_Mar)));

    if (sheet.Manual_or_Pre == 1) {
        if (catalogue) {
            sheet.Left_Mar = MM_To_Points(float(num(left_mar_pre)));
            sheet.Top_Mar = MM_To_Points(float(num(top_mar_pre)));
            sheet.Rite_Mar = sheet.Bot_Mar = 0;
        } else {
            sheet.predef_page_wdt = float(paper.width());
            sheet.predef_page_hgt = float(paper.height());
            left_mar_pre->setText(l_mar_id->text());
            top_mar_pre->setText(t_mar_id->text());
            paper_used_pre->setText(Paper_id->text());
            page_size_pre->setText(Size_id->text());
            orientation_pre->setText(layout.orientation() == QPageLayout::Landscape
                                         ? QStringLiteral("Landscape") : QStringLiteral("Portrait"));
            page_width_pre->setText(mm2(mm.width()));
            page_height_pre->setText(mm2(mm.height()));
            layout_group_pre->setText(kCustom);
            description_pre->setText(kCustom);
        }
    }
    Refresh_Preview();
}

void Print_Wnd::Check_Max_Cell_Value()
{
    const bool manual = sheet.Manual_or_Pre != 1;
    float lw = MM_To_Points(float(manual ? width_Stepper->value() : width_Stepper_pre->value()));
    float lh = MM_To_Points(float(manual ? height_Stepper->value() : height_Stepper_pre->value()));
    sheet.Real_label_width = MM_To_Points(float(width_Stepper->value()));
    sheet.Real_label_hight = MM_To_Points(float(height_Stepper->value()));

    QSizeF paper = paperSize();
    if (sheet.Fit_Picture_To_Frame) {
        const QRectF area = printInfo().pageLayout.paintRect(QPageLayout::Point);
        lw = float(area.width());
        lh = float(area.height());
    }
    sheet.label_width = lw;
    sheet.label_hight = lh;
    if (!manual) {
        paper = QSizeF(sheet.predef_page_wdt, sheet.predef_page_hgt);
        sheet.Left_Mar = MM_To_Points(float(num(left_mar_pre)));
        sheet.Top_Mar = MM_To_Points(float(num(top_mar_pre)));
        sheet.Rite_Mar = sheet.Bot_Mar = 0;
    }

    Sheet_Geometry g;
    g.W = float(paper.width());
    g.H = float(paper.height());
    g.L = sheet.Left_Mar;
    g.R = sheet.Rite_Mar;
    g.T = sheet.Top_Mar;
    g.B = sheet.Bot_Mar;
    g.lw = lw;
    g.lh = lh;
    g.hg = MM_To_Points(float(num(manual ? horz_mar_Text : horz_mar_Text_pre)));
    g.vg = MM_To_Points(float(num(manual ? vert_mar_Text : vert_mar_Text_pre)));
    g.cols = std::max(1, inum(manual ? Col_Text : Col_Text_pre));
    g.rows = std::max(1, inum(manual ? Row_Text : Row_Text_pre));

    // The cells are centred with even gaps only for a manual label outside
    // fit to frame; a label sheet keeps its own grid.
    const bool center = Auto_Center_chk_bx->isChecked() && manual && !sheet.Fit_Picture_To_Frame;
    sheet.auto_center_flag = center ? 1 : 0;
    const Grid_Fit fit = Fit_Grid_To_Paper(g, center);
    QLineEdit* colText = manual ? Col_Text : Col_Text_pre;
    Stepper* colStep = manual ? Col_Stepper : Col_Stepper_pre;
    QLineEdit* rowText = manual ? Row_Text : Row_Text_pre;
    Stepper* rowStep = manual ? Row_Stepper : Row_Stepper_pre;
    if (fit.colsLowered)
        setPair(colText, colStep, fit.cols, QString::number(fit.cols));
    if (fit.rowsLowered)
        setPair(rowText, rowStep, fit.rows, QString::number(fit.rows));
    sheet.Print_Row = fit.rows;
    sheet.Print_Col = fit.cols;
    sheet.horz_mar = fit.hg;
    sheet.vert_mar = fit.vg;
    Refresh_Preview();
}

void Print_Wnd::setPreviewFrame(QSizeF page)
{
    m_previewSheet = page;
    // The whole page across the preview, never larger than 1.5 times its size.
    const double room = std::max(100, Print_sclview->viewport()->width() - 16);
    const double scale = page.width() > 0 ? std::min(1.5, room / page.width()) : 1.0;
    PrintView->setDisplayScale(scale);
    PrintView->setFixedSize((page * scale).toSize().expandedTo(QSize(1, 1)));
}

bool Print_Wnd::eventFilter(QObject* watched, QEvent* event)
{
    // The preview follows the room its scroll view gives it.
    if (watched == Print_sclview->viewport() && event->type() == QEvent::Resize
        && !m_previewSheet.isEmpty())
        setPreviewFrame(m_previewSheet);
    return QDialog::eventFilter(watched, event);
}

void Print_Wnd::comboBoxSelectionDidChange(QComboBox* combo)
{
    try {
        if (combo == Printer_ComboBox) {
            PrintInfo info = printInfo();
            info.printerName = Printer_ComboBox->currentText();
            if (info.jobDisposition == QLatin1String("save"))
                info.jobDisposition = QStringLiteral("spool");
            info.pageLayout = Printer_Page_Layout(info.printerName, info.pageLayout);
            setPrintInfo(info);
            Set_values_From_Printer();
        } else if (combo == Orient_ComboBox) {
            PrintInfo info = printInfo();
            const bool portrait = Orient_ComboBox->currentText() == QLatin1String("Portrait");
            info.pageLayout.setOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
            setPrintInfo(info);
            Set_values_From_Printer();
            Check_Max_Cell_Value();
        } else if (combo == Label_ComboBox) {
            if (sheet.Manual_or_Pre != 1)
                return;
            if (Label_ComboBox->currentText() == kCustom) {
                cus_or_pre = QStringLiteral("C");
                Refresh_And_Reload_Product_Number_Combo(QString());
                return;
            }
            cus_or_pre = QStringLiteral("P");
            save_label_btn->setVisible(false);
            delete_label_btn->setVisible(false);
            {
                QSignalBlocker block(Product_num_ComboBox);
                Product_num_ComboBox->clear();
                Read_XML_File(Catalogue_File_Path(Label_ComboBox->currentText()), QString(), QString(),
                              false, prod_list, Product_num_ComboBox);
                Product_num_ComboBox->setCurrentIndex(Product_num_ComboBox->count() > 0 ? 0 : -1);
            }
            for (Stepper* s : {Col_Stepper_pre, Row_Stepper_pre, horz_mar_Stepper_pre,
                                      vert_mar_Stepper_pre, width_Stepper_pre, height_Stepper_pre})
                SetObjEnabled(s, false);
            for (QLineEdit* f : {Col_Text_pre, Row_Text_pre, left_mar_pre, top_mar_pre,
                                 horz_mar_Text_pre, vert_mar_Text_pre, width_Text_pre, height_Text_pre})
                f->setReadOnly(true);
            comboBoxSelectionDidChange(Product_num_ComboBox);
        } else if (combo == Product_num_ComboBox) {
            if (sheet.Manual_or_Pre == 1)
                Read_Selected_Product_Label_Value();
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Print_Wnd::pagesetup()
{
    PrintInfo info = printInfo();
    if (!Run_Page_Setup(this, info))
        return;
    setPrintInfo(info);
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::Manual_Label_Changed()
{
    sheet.Manual_or_Pre = 0;
    rd_manual->setChecked(true);
    rd_predefined->setChecked(false);
    manual_prop_Gp_Bx->setVisible(true);
    predefine_prop_Gp_Bx->setVisible(false);
    sheet.label_align_val = label_align_val_bkup;
    Set_Reset_Alignemnt_Image();
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::Predefined_Label_Changed()
{
    sheet.Manual_or_Pre = 1;
    rd_manual->setChecked(false);
    rd_predefined->setChecked(true);
    manual_prop_Gp_Bx->setVisible(false);
    predefine_prop_Gp_Bx->setVisible(true);
    label_align_val_bkup = sheet.label_align_val;
    sheet.label_align_val = 1;
    Set_Reset_Alignemnt_Image();
    cus_or_pre = Label_ComboBox->currentText() == kCustom ? QStringLiteral("C") : QStringLiteral("P");
    Read_Selected_Product_Label_Value();
}

// ---------------------------------------------------------------------------
// Jobs

bool Print_Wnd::Paper_Checks()
{
    // 1. The sheet's paper against the printer's, by size as turned.
    if (sheet.Manual_or_Pre == 1) {
        const QSizeF sheetSize(MM_To_Points(float(num(page_width_pre))), MM_To_Points(float(num(page_height_pre))));
        if (!Paper_Is_Sheet_Size(Page_Size_Points(printInfo().pageLayout), sheetSize)) {
            if (!Show_YES_NO_MessageBox(QStringLiteral(
                    "Please change paper to print barcode according to label details. Do you "
                    "want to continue with selected printer paper?")))
                return false;
            Set_values_From_Printer();
            Check_Max_Cell_Value();
        }
    }
    // 2. A label that does not fit.
    if (!Label_Fits_Paper(Page_Size_Points(printInfo().pageLayout), QSizeF(sheet.label_width, sheet.label_hight),
                          QMarginsF(sheet.Left_Mar, sheet.Top_Mar, sheet.Rite_Mar, sheet.Bot_Mar),
                          QSizeF(sheet.horz_mar, sheet.vert_mar))) {
        if (!Show_YES_NO_MessageBox(QStringLiteral(
                "'Label Size' is bigger than selected 'Paper Size' or drawn label may be out "
                "of margin area.\n\nDo you want to continue?")))
            return false;
    }
    return true;
}

void Print_Wnd::Execute_Printing(bool preview)
{
    try {
        if (!Paper_Checks())
            return;
        // 4. The range counts rows, each repeated by its print quantity.
        const bool batch = print_with_batch_chk->isChecked();
        const bool designing = Designing_Mode_Active();
        sheet.print_wd_pq_opt = !designing && batch && print_qty_chk->isChecked() ? 1 : 0;
        Job_Range range;
        if (!Range_Of_Job(range))
            return;
        sheet.Print_Start = range.start;
        sheet.Print_End = range.end;
        sheet.Total_Label = range.total;
        // 5.-7.
        sheet.Use_Data_Sheet_Values = batch;
        sheet.Use_Excel_Binding_Values = rowCount.Use_Excel_Binding_Values;
        sheet.Total_Label_Real = range.labels;
        sheet.Use_Barocde_In_Center = designing ? 0 : 1;
        sheet.Start_Card_Option = Design_Start_Option();
        // 8.
        if (sheet.Total_Label == 0) {
            Show_MessageBox(QStringLiteral("There is no barcode to print."));
            return;
        }
        // A label larger than its cell is cut there, and one that leaves a
        // round label is printed off it: the user is told first.
        sheet.labelShape = Chosen_Label_Shape();
        sheet.pictureMargins = QMarginsF();
        if (!designing && App_Services().Batch_Services) {
            const BarcodeSettings s = App_Services().Batch_Services->Barcode_Mode_State().settings;
            const double lr = Unit_To_Points(s.LR_mar, s.unit), tb = Unit_To_Points(s.TB_mar, s.unit);
            sheet.pictureMargins = QMarginsF(lr, tb, lr, tb);
        }
        if (!Confirm_Labels_Fit_Cells(sheet))
            return;
        // 9. A preview, or a print on the printer (or into the file the
        // print settings name).
        m_previewJob = preview;
        PrintInfo info = printInfo();
        if (info.jobDisposition != QLatin1String("save")) {
            info.jobDisposition = QStringLiteral("spool");
            setPrintInfo(info);
        }
        Call_Print_Box_1();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Print_Wnd::Call_Print_Box_1()
{
    if (m_previewJob)
        Show_Print_Preview(sheet, printInfo());
    else
        Print_Job(sheet, printInfo());
}

void Print_Wnd::Show_Print_Preview(const Sheet_Job& job, const PrintInfo& info)
{
    PrintInfo previewInfo = info;
    previewInfo.jobDisposition = QStringLiteral("preview");
    std::unique_ptr<QPrinter> printer = Make_Printer(previewInfo);
    printer->setDocName(job_title);
    const QSizeF paper = Page_Size_Points(printer->pageLayout());
    Printing_View view(job, QRectF(QPointF(0, 0), paper), true);

    Print_Preview dialog(printer.get(), this);
    connect(dialog.view, &QPrintPreviewWidget::paintRequested, &dialog, [this, &view](QPrinter* p) {
        last_job_sheets = Print_Sheets(*p, view, [this, &view](int sheet) {
            if (on_sheet)
                on_sheet(sheet, view.sheetLabels());
            return true;
        });
    });
    dialog.view->updatePreview();
    if (Run_Modal_Dialog(dialog) != Print_Preview::Print_Code)
        return;
    dialog.hide();
    // The preview's Print: the whole job, on the job's own paper and options.
    Print_Job(job, info);
}

void Print_Wnd::Print_Job(const Sheet_Job& job, const PrintInfo& info)
{
    PrintInfo printInfo = info;
    if (printInfo.jobDisposition != QLatin1String("save"))
        printInfo.jobDisposition = QStringLiteral("spool");
    std::unique_ptr<QPrinter> printer = Make_Printer(printInfo);
    printer->setDocName(job_title);
    printer->setCopyCount(std::max(1, inum(Copies_Text)));
    last_job_copies = printer->copyCount();
    const QSizeF paper = Page_Size_Points(printer->pageLayout());
    Printing_View view(job, QRectF(QPointF(0, 0), paper), false);

    // A long job shows its sheets and can be stopped.
    const int pages = view.numberOfPages();
    QProgressDialog progress(tr("Printing..."), tr("Stop"), 0, std::max(1, pages), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    bool stopped = false;
    last_job_sheets = Print_Sheets(*printer, view, [&](int sheet) {
        if (on_sheet)
            on_sheet(sheet, view.sheetLabels());
        progress.setValue(std::min(sheet, progress.maximum()));
        if (progress.wasCanceled()) {
            stopped = true;
            printer->abort();
            return false;
        }
        return true;
    });
    progress.reset();
    Give_Back_Free_Heap();
    if (!stopped && (last_job_sheets < 0 || printer->printerState() == QPrinter::Error)) {
        Show_MessageBox(QStringLiteral("The labels could not be printed. Please check the printer "
                                       "and try again."));
        return;
    }
    // A print into a file: its fonts tagged as the subsets they are.
    if (!stopped && printInfo.jobDisposition == QLatin1String("save"))
        Tag_Pdf_Font_Subsets(printInfo.savePath);
}

void Print_Wnd::CancelButtonPressed()
{
    sheet.Fit_Picture_To_Frame = 0;
    sheet.Enable_Crop_Marks = 0;
    hide();
    if (App_Services().Batch_Services)
        App_Services().Batch_Services->Select_First_Value_For_Barcode_Setting_Mode();
    done(0);
}

void Print_Wnd::reject()
{
    hide();
    done(0);
}

// ---------------------------------------------------------------------------
// Range and options

void Print_Wnd::Copies_Val_Changed(QObject* sender)
{
    copyPair(sender, Copies_Text, Copies_Stepper, true);
}

void Print_Wnd::Enable_Crop_Mark_clicked()
{
    sheet.Enable_Crop_Marks = crop_mark_chk->isChecked() ? 1 : 0;
    Refresh_Preview();
}

void Print_Wnd::Fit_To_Frame_clicked()
{
    if (fit_frame_chk->isChecked()) {
        sheet.Fit_Picture_To_Frame = 1;
        Disable_for_fit_or_duplex();
    } else {
        sheet.Fit_Picture_To_Frame = 0;
        Normal_Printing_Is_Selected();
    }
    Check_Max_Cell_Value();
}

void Print_Wnd::Disable_for_fit_or_duplex()
{
    Capture_Last_Values();
    SetObjEnabled(horz_mar_Stepper, false);
    SetObjEnabled(vert_mar_Stepper, false);
    setPair(horz_mar_Text, horz_mar_Stepper, 0, floatText(0));
    setPair(vert_mar_Text, vert_mar_Stepper, 0, floatText(0));
    SetObjEnabled(Row_Stepper, false);
    SetObjEnabled(Col_Stepper, false);
    setPair(Row_Text, Row_Stepper, 1, QStringLiteral("1"));
    setPair(Col_Text, Col_Stepper, 1, QStringLiteral("1"));
    SetObjEnabled(card_align_box, false);
}

void Print_Wnd::Normal_Printing_Is_Selected()
{
    if (fit_frame_chk->isChecked())
        return;
    SetObjEnabled(card_align_box, true);
    if (Auto_Center_chk_bx->isChecked())
        SetObjEnabled(align_Gp_Bx, false);
    SetObjEnabled(horz_mar_Stepper, true);
    SetObjEnabled(vert_mar_Stepper, true);
    setPair(horz_mar_Text, horz_mar_Stepper, LAST_Horz_Mar, floatText(LAST_Horz_Mar));
    setPair(vert_mar_Text, vert_mar_Stepper, LAST_Vert_Mar, floatText(LAST_Vert_Mar));
    SetObjEnabled(Row_Stepper, true);
    SetObjEnabled(Col_Stepper, true);
    setPair(Row_Text, Row_Stepper, LAST_Row, QString::number(LAST_Row));
    setPair(Col_Text, Col_Stepper, LAST_Column, QString::number(LAST_Column));
}

void Print_Wnd::Make_select_on_index(int row)
{
    if (row >= 0 && row < List_profile->count())
        List_profile->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

// ---------------------------------------------------------------------------
// Geometry

void Print_Wnd::Horz_Margin_Changed(QObject* sender)
{
    if (sheet.Manual_or_Pre == 1)
        copyPair(sender, horz_mar_Text_pre, horz_mar_Stepper_pre, false);
    else
        copyPair(sender, horz_mar_Text, horz_mar_Stepper, false);
    Check_Max_Cell_Value();
}

void Print_Wnd::Vert_Margin_Changed(QObject* sender)
{
    if (sheet.Manual_or_Pre == 1)
        copyPair(sender, vert_mar_Text_pre, vert_mar_Stepper_pre, false);
    else
        copyPair(sender, vert_mar_Text, vert_mar_Stepper, false);
    Check_Max_Cell_Value();
}

void Print_Wnd::Width_Changed(QObject* sender)
{
    if (sheet.Manual_or_Pre == 1)
        copyPair(sender, width_Text_pre, width_Stepper_pre, false, true);
    else
        copyPair(sender, width_Text, width_Stepper, false, true);
    Check_Max_Cell_Value();
}

void Print_Wnd::Height_Changed(QObject* sender)
{
    if (sheet.Manual_or_Pre == 1)
        copyPair(sender, height_Text_pre, height_Stepper_pre, false, true);
    else
        copyPair(sender, height_Text, height_Stepper, false, true);
    Check_Max_Cell_Value();
}

void Print_Wnd::Row_Changed(QObject* sender)
{
    if (sheet.Manual_or_Pre == 1)
        copyPair(sender, Row_Text_pre, Row_Stepper_pre, true);
    else
        copyPair(sender, Row_Text, Row_Stepper, true);
    Check_Max_Cell_Value();
    if (!print_with_batch_chk->isChecked())
        Set_Tot_Value(sheet.Print_Row * sheet.Print_Col, int(Total_Stepper->maximum()), QStringLiteral("A"));
    Check_Max_Cell_Value();
}

void Print_Wnd::Col_Changed(QObject* sender)
{
    if (sheet.Manual_or_Pre == 1)
        copyPair(sender, Col_Text_pre, Col_Stepper_pre, true);
    else
        copyPair(sender, Col_Text, Col_Stepper, true);
    Check_Max_Cell_Value();
    if (!print_with_batch_chk->isChecked())
        Set_Tot_Value(sheet.Print_Row * sheet.Print_Col, int(Total_Stepper->maximum()), QStringLiteral("A"));
    Check_Max_Cell_Value();
}

void Print_Wnd::Auto_Center_Checked()
{
    if (sheet.Fit_Picture_To_Frame)
        return;
    const bool on = Auto_Center_chk_bx->isChecked();
    sheet.auto_center_flag = on ? 1 : 0;
    SetObjEnabled(horz_mar_Stepper, !on);
    SetObjEnabled(vert_mar_Stepper, !on);
    SetObjEnabled(align_Gp_Bx, !on);
    Check_Max_Cell_Value();
}

void Print_Wnd::Alignment_Clicked(int value)
{
    sheet.label_align_val = value;
    Set_Reset_Alignemnt_Image();
    if (!sheet.Fit_Picture_To_Frame)
        Refresh_Preview();
}

void Print_Wnd::Read_Selected_Product_Label_Value()
{
    try {
        if (cus_or_pre == QLatin1String("C")) {
            const QString name = Product_num_ComboBox->currentText();
            const std::optional<QStringList> s = name.isEmpty()
                ? std::nullopt
                : Read_Sheet_Strings(Sheet_File_Path(Folders.custom_label_path, name), Custom_Sheet_String_Count);
            if (!s)
                return;   // not a custom sheet: nothing changes
            const QStringList& v = *s;
            setPair(Col_Text_pre, Col_Stepper_pre, Leading_Int_C(v[0]), v[0]);
            setPair(Row_Text_pre, Row_Stepper_pre, Leading_Int_C(v[1]), v[1]);
            left_mar_pre->setText(v[2]);
            top_mar_pre->setText(v[3]);
            setPair(horz_mar_Text_pre, horz_mar_Stepper_pre, Leading_Double_C(v[4]), v[4]);
            setPair(vert_mar_Text_pre, vert_mar_Stepper_pre, Leading_Double_C(v[5]), v[5]);
            setPair(width_Text_pre, width_Stepper_pre, Leading_Double_C(v[6]), v[6]);
            setPair(height_Text_pre, height_Stepper_pre, Leading_Double_C(v[7]), v[7]);
            paper_used_pre->setText(v[8]);
            orientation_pre->setText(v[9]);
            page_size_pre->setText(v[10]);
            page_width_pre->setText(v[11]);
            page_height_pre->setText(v[12]);
            layout_group_pre->setText(v[13]);
            description_pre->setText(v[14]);
            sheet.predef_page_wdt = Page_Points_Rounded_Up(Leading_Double_C(v[11]));
            sheet.predef_page_hgt = Page_Points_Rounded_Up(Leading_Double_C(v[12]));
            setPreviewFrame(QSizeF(sheet.predef_page_wdt, sheet.predef_page_hgt));
        } else {
            const int index = Product_num_ComboBox->currentIndex();
            if (index < 0)
                return;
            if (index < prod_list.size()) {
                const Predefined_Sheet s = Predefined_Sheet_From_Product(prod_list[index]);
                sheet.predef_page_wdt = Page_Points_Rounded_Up(s.pageWidthMM);
                sheet.predef_page_hgt = Page_Points_Rounded_Up(s.pageHeightMM);
                setPreviewFrame(QSizeF(sheet.predef_page_wdt, sheet.predef_page_hgt));
                left_mar_pre->setText(mm2(s.leftMM));
                top_mar_pre->setText(mm2(s.topMM));
                setPair(Col_Text_pre, Col_Stepper_pre, Leading_Int_C(s.cols), s.cols);
                setPair(Row_Text_pre, Row_Stepper_pre, Leading_Int_C(s.rows), s.rows);
                setPair(horz_mar_Text_pre, horz_mar_Stepper_pre, s.hgapMM, floatText(s.hgapMM));
                setPair(vert_mar_Text_pre, vert_mar_Stepper_pre, s.vgapMM, floatText(s.vgapMM));
                setPair(width_Text_pre, width_Stepper_pre, s.widthMM, floatText(s.widthMM));
                setPair(height_Text_pre, height_Stepper_pre, s.heightMM, floatText(s.heightMM));
                orientation_pre->setText(s.orientation);
                page_size_pre->setText(s.pageSize);
                page_width_pre->setText(mm2(s.pageWidthMM));
                page_height_pre->setText(mm2(s.pageHeightMM));
                paper_used_pre->setText(s.paper);
                layout_group_pre->setText(s.layoutGroup);
                description_pre->setText(s.description);
            }
        }
        Check_Max_Cell_Value();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

Label_Shape Print_Wnd::Chosen_Label_Shape() const
{
    Label_Shape shape;
    const int index = Product_num_ComboBox->currentIndex();
    if (sheet.Manual_or_Pre != 1 || cus_or_pre != QLatin1String("P") || index < 0 || index >= prod_list.size())
        return shape;
    const Predefined_Sheet s = Predefined_Sheet_From_Product(prod_list[index]);
    if (s.shape == QLatin1String("ellipse")) {
        shape.kind = Label_Shape::Ellipse;
    } else if (s.shape == QLatin1String("rounded")) {
        shape.kind = Label_Shape::Rounded;
        shape.radius = MM_To_Points(float(s.cornerRadiusMM));
    }
    return shape;
}

void Print_Wnd::Apply_unit_Chaneg_Values()
{
    const double w = num(width_Text_pre) * 1.0, h = num(height_Text_pre) * 1.0;
    setPair(width_Text_pre, width_Stepper_pre, w, mm2(w));
    setPair(height_Text_pre, height_Stepper_pre, h, mm2(h));
}

void Print_Wnd::controlTextDidChange(QLineEdit* field)
{
    if (field == width_Text_pre || field == height_Text_pre) {
        const QString t = Size_Field_Text(field->text());
        if (t != field->text())
            field->setText(t);
        return;
    }
    Range_Text_Changed(field);
}

void Print_Wnd::controlTextDidEndEditing(QLineEdit* field)
{
    if (field != width_Text_pre && field != height_Text_pre)
        return;
    const double v = num(field);
    field->setText(v <= 0 ? QStringLiteral("0.10") : mm2(v));
    Apply_unit_Chaneg_Values();
}

// ---------------------------------------------------------------------------
// Custom label sheets

void Print_Wnd::Save_Label_Pressed()
{
    custom_prod_window->prod_number->setText(Product_num_ComboBox->currentText());
    const int result = Run_Modal_Dialog(*custom_prod_window);
    custom_prod_window->hide();
    if (result != 1)
        return;
    const QString custom_prod_name = custom_prod_window->custom_prod_name;
    const QString path = Sheet_File_Path(Folders.custom_label_path, custom_prod_name);
    const QStringList strings{
        Col_Text_pre->text(), Row_Text_pre->text(), left_mar_pre->text(), top_mar_pre->text(),
        horz_mar_Text_pre->text(), vert_mar_Text_pre->text(), width_Text_pre->text(),
        height_Text_pre->text(), paper_used_pre->text(), orientation_pre->text(),
        page_size_pre->text(), page_width_pre->text(), page_height_pre->text(),
        layout_group_pre->text(), description_pre->text()};
    QString error;
    if (Folders.custom_label_path.isEmpty() || !Write_Sheet_Strings(path, strings, &error)) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("Custom Product Number could not be saved.\n\n%1").arg(
            error.isEmpty() ? QStringLiteral("The folder cannot be written.") : error));
        return;
    }
    Refresh_And_Reload_Product_Number_Combo(custom_prod_name);
    Show_MessageBox(QStringLiteral("Custom Product Number has been saved successfully."));
}

void Print_Wnd::Delete_Label_Pressed()
{
    if (Product_num_ComboBox->currentIndex() < 0) {
        Show_MessageBox(QStringLiteral("There is no 'Custom Product Number' to delete."));
        return;
    }
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected 'Custom Product Number'?")))
        return;
    Delete_File(Sheet_File_Path(Folders.custom_label_path, Product_num_ComboBox->currentText()));
    Refresh_And_Reload_Product_Number_Combo(QString());
}

void Print_Wnd::Refresh_And_Reload_Product_Number_Combo(const QString& name)
{
    {
        QSignalBlocker block(Product_num_ComboBox);
        Product_num_ComboBox->clear();
        Product_num_ComboBox->addItems(List_Sheet_Files(Folders.custom_label_path));
        const int i = name.isEmpty() ? -1 : Product_num_ComboBox->findText(name);
        Product_num_ComboBox->setCurrentIndex(i >= 0 ? i : (Product_num_ComboBox->count() ? 0 : -1));
    }
    if (cus_or_pre == QLatin1String("C") && name.isEmpty()) {
        for (Stepper* s : {Col_Stepper_pre, Row_Stepper_pre, horz_mar_Stepper_pre,
                                  vert_mar_Stepper_pre, width_Stepper_pre, height_Stepper_pre})
            SetObjEnabled(s, true);
        for (QLineEdit* f : {Col_Text_pre, Row_Text_pre, left_mar_pre, top_mar_pre,
                             horz_mar_Text_pre, vert_mar_Text_pre, width_Text_pre, height_Text_pre})
            f->setReadOnly(false);
        save_label_btn->setVisible(true);
        delete_label_btn->setVisible(true);
    }
    Check_delete_label_buttom_status();
    comboBoxSelectionDidChange(Product_num_ComboBox);
}

void Print_Wnd::Check_delete_label_buttom_status()
{
    delete_label_btn->setEnabled(Product_number_count() >= 2);
}

int Print_Wnd::Product_number_count() const
{
    return Product_num_ComboBox->count();
}

// ---------------------------------------------------------------------------
// Print profiles

void Print_Wnd::Load_Print_Profile()
{
    {
        QSignalBlocker block(List_profile);
        ListData_profile.clear();
        List_profile->clear();
    }
    for (const QString& name : List_Sheet_Files(Folders.print_profile_path))
        Create_Profile_List(name);
    Make_select_on_index(0);
}

void Print_Wnd::Create_Profile_List(const QString& name)
{
    const QString trimmed = Trim_Str(name);
    if (trimmed.isEmpty())
        return;
    ListData_profile << QVariantMap{{QStringLiteral("List"), trimmed}};
    QSignalBlocker block(List_profile);
    List_profile->addItem(trimmed);
}

QString Print_Wnd::Get_List_Name_Text(int row) const
{
    if (row < 0 || row >= ListData_profile.size())
        return {};
    return Trim_Str(ListData_profile[row].value(QStringLiteral("List")).toString());
}

void Print_Wnd::tableViewSelectionDidChange()
{
    if (ListData_profile.isEmpty())
        return;
    const int row = List_profile->currentRow();
    if (row < 0) {
        Show_NSLog_Message(QStringLiteral("No print profile is selected."));
        return;
    }
    const QString name = Get_List_Name_Text(row);
    Delete_profile_btn->setEnabled(name != QLatin1String("Default"));
    Read_and_load_profile_info(name);
}

bool Print_Wnd::Save_Print_Profile(const QString& name, const QString& printer)
{
    const QString path = Sheet_File_Path(Folders.print_profile_path, name);
    const QRectF paper = printInfo().pageLayout.fullRect(QPageLayout::Millimeter);
    const QStringList strings{
        Col_Text->text(), Row_Text->text(), horz_mar_Text->text(), vert_mar_Text->text(),
        l_mar_id->text(), t_mar_id->text(), r_mar_id->text(), b_mar_id->text(),
        QString::number(sheet.label_align_val), yn(Auto_Center_chk_bx), printer, Paper_id->text(),
        Size_id->text(), mm2(paper.width()), mm2(paper.height()), Orient_ComboBox->currentText(),
        yn(Show_Margins), yn(skip_inavlid_chk), yn(print_qty_chk), yn(print_with_batch_chk),
        yn(crop_mark_chk), yn(fit_frame_chk)};
    QString error;
    if (Folders.print_profile_path.isEmpty() || !Write_Sheet_Strings(path, strings, &error)) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("Print Profile could not be saved.\n\n%1").arg(
            error.isEmpty() ? QStringLiteral("The folder cannot be written.") : error));
        return false;
    }
    Show_MessageBox(QStringLiteral("Print Profile has been saved successfully."));
    Load_Print_Profile();
    return true;
}

void Print_Wnd::Read_and_load_profile_info(const QString& name)
{
    const std::optional<QStringList> s =
        Read_Sheet_Strings(Sheet_File_Path(Folders.print_profile_path, name), Print_Profile_String_Count);
    if (!s) {
        Show_NSLog_Message(QStringLiteral("The print profile \"%1\" cannot be read.").arg(name));
        return;
    }
    const QStringList& v = *s;
    setPair(Col_Text, Col_Stepper, Leading_Int_C(v[0]), v[0]);
    setPair(Row_Text, Row_Stepper, Leading_Int_C(v[1]), v[1]);
    setPair(horz_mar_Text, horz_mar_Stepper, Leading_Double_C(v[2]), v[2]);
    setPair(vert_mar_Text, vert_mar_Stepper, Leading_Double_C(v[3]), v[3]);
    sheet.label_align_val = Leading_Int_C(v[8]);
    Set_Reset_Alignemnt_Image();
    Auto_Center_chk_bx->setChecked(v[9] == QLatin1String("Y"));
    Auto_Center_Checked();
    const int printerIndex = Printer_ComboBox->findText(v[10]);
    if (printerIndex >= 0)
        Printer_ComboBox->setCurrentIndex(printerIndex);
    Paper_id->setText(v[11]);
    Size_id->setText(v[12]);
    Show_Margins->setChecked(v[16] == QLatin1String("Y"));
    sheet.Show_margin_rect = Show_Margins->isChecked() ? 1 : 0;
    if (v[19] == QLatin1String("Y")) {
        print_with_batch_chk->setChecked(true);
        if (!rowCount.batch())
            print_with_batch_chk->setChecked(false);
    }
    crop_mark_chk->setChecked(v[20] == QLatin1String("Y"));
    fit_frame_chk->setChecked(v[21] == QLatin1String("Y"));

    // The profile's printer (when this system has it), paper and orientation.
    PrintInfo info = printInfo();
    if (printerIndex >= 0) {
        info.printerName = v[10];
        if (info.jobDisposition == QLatin1String("save"))
            info.jobDisposition = QStringLiteral("spool");
    }
    const double pw = Leading_Double_C(v[13]), ph = Leading_Double_C(v[14]);
    if (pw > 0 && ph > 0) {
        const bool landscape = v[15] == QLatin1String("Landscape");
        const QSizeF portrait(std::min(pw, ph), std::max(pw, ph));
        info.pageLayout.setPageSize(QPageSize(portrait, QPageSize::Millimeter, QString(),
                                              QPageSize::FuzzyMatch));
        info.pageLayout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        setPreviewFrame(QSizeF(Page_Points_Rounded_Up(pw), Page_Points_Rounded_Up(ph)));
    }
    info.pageLayout = Printer_Page_Layout(info.printerName, info.pageLayout);
    setPrintInfo(info);
    Set_Enable_Diable_Range_Box();
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::Add_Edit_Print_Profile(const QString& mode)
{
    QString name;
    int row = -1;
    if (mode != QLatin1String("A")) {
        row = List_profile->currentRow();
        if (row < 0)
            return;
        name = Get_List_Name_Text(row);
    }
    prnt_prof_wnd->Reset_Printers();
    prnt_prof_wnd->Profile_name->setText(name);
    prnt_prof_wnd->pass_profile_name->setText(name);
    const int result = Run_Modal_Dialog(*prnt_prof_wnd);
    prnt_prof_wnd->hide();
    if (result != 1)
        return;
    const QString custom_profile_Printer = prnt_prof_wnd->custom_profile_Printer;
    const QString custom_print_profile_name = prnt_prof_wnd->custom_print_profile_name;
    PrintInfo info = printInfo();
    info.printerName = custom_profile_Printer;
    if (info.jobDisposition == QLatin1String("save"))
        info.jobDisposition = QStringLiteral("spool");
    info.pageLayout = Printer_Page_Layout(info.printerName, info.pageLayout);
    setPrintInfo(info);
    Set_values_From_Printer();
    if (!Save_Print_Profile(custom_print_profile_name, custom_profile_Printer))
        return;
    // A renamed profile leaves its old file only once the new one is written;
    // "Default" is never removed.
    if (!name.isEmpty() && name != QLatin1String("Default") && name != custom_print_profile_name) {
        Delete_File(Sheet_File_Path(Folders.print_profile_path, name));
        Load_Print_Profile();
    }
    if (mode == QLatin1String("E"))
        Make_select_on_index(std::min(row, List_profile->count() - 1));
}

void Print_Wnd::Save_profile_btn_clicked()
{
    const int row = List_profile->currentRow();
    if (row < 0)
        return;
    if (Save_Print_Profile(Get_List_Name_Text(row), Printer_ComboBox->currentText()))
        Make_select_on_index(row);
}

void Print_Wnd::Delete_profile_btn_clicked()
{
    const int row = List_profile->currentRow();
    const QString name = Get_List_Name_Text(row);
    if (name.isEmpty() || name == QLatin1String("Default"))
        return;
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected 'Print Profile'?")))
        return;
    Delete_File(Sheet_File_Path(Folders.print_profile_path, name));
    Load_Print_Profile();
}

// ---------------------------------------------------------------------------
// The naming dialogs

// ---------------------------------------------------------------------------
// The preview

Print_Preview::Print_Preview(QPrinter* printer, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Print Preview"));
    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* previous = new QToolButton;
    previous->setText(tr("Previous"));
    previous->setToolTip(tr("Previous sheet"));
    auto* next = new QToolButton;
    next->setText(tr("Next"));
    next->setToolTip(tr("Next sheet"));
    auto* zoomOut = new QToolButton;
    zoomOut->setText(QStringLiteral("-"));
    zoomOut->setToolTip(tr("Zoom out"));
    auto* zoomIn = new QToolButton;
    zoomIn->setText(QStringLiteral("+"));
    zoomIn->setToolTip(tr("Zoom in"));
    auto* whole = new QToolButton;
    whole->setText(tr("Whole Sheet"));
    page_label = new QLabel;
    bar->addWidget(previous);
    bar->addWidget(next);
    bar->addWidget(page_label);
    bar->addStretch();
    bar->addWidget(zoomOut);
    bar->addWidget(zoomIn);
    bar->addWidget(whole);
    column->addLayout(bar);
    view = new QPrintPreviewWidget(printer, this);
    view->fitInView();
    column->addWidget(view, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    close_btn = new QPushButton(tr("Close"));
    print_btn = new QPushButton(tr("Print"));
    print_btn->setDefault(true);
    print_btn->setToolTip(tr("Print every sheet of the job on this paper"));
    buttons->addWidget(close_btn);
    buttons->addWidget(print_btn);
    column->addLayout(buttons);

    connect(previous, &QToolButton::clicked, this, [this] { view->setCurrentPage(view->currentPage() - 1); });
    connect(next, &QToolButton::clicked, this, [this] { view->setCurrentPage(view->currentPage() + 1); });
    connect(zoomIn, &QToolButton::clicked, view, [this] { view->zoomIn(); });
    connect(zoomOut, &QToolButton::clicked, view, [this] { view->zoomOut(); });
    connect(whole, &QToolButton::clicked, view, &QPrintPreviewWidget::fitInView);
    connect(view, &QPrintPreviewWidget::previewChanged, this, &Print_Preview::showPage);
    connect(close_btn, &QPushButton::clicked, this, [this] { done(0); });
    connect(print_btn, &QPushButton::clicked, this, [this] { done(Print_Code); });
    Apply_Dialog_Background(this);
    resize(760, 700);
}

void Print_Preview::showPage()
{
    page_label->setText(tr("Sheet %1 of %2").arg(view->currentPage()).arg(view->pageCount()));
}

Custom_Product_Label::Custom_Product_Label(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Custom Product Number"));
    Apply_Dialog_Background(this);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(tr("Product number:")));
    prod_number = new QLineEdit;
    v->addWidget(prod_number);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &Custom_Product_Label::OKPressed);
    connect(buttons, &QDialogButtonBox::rejected, this, &Custom_Product_Label::CancelPressed);
}

void Custom_Product_Label::OKPressed()
{
    const QString name = Trim_Str(prod_number->text());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter product number."));
        return;
    }
    const QString clean = Remove_Reserve_Char_In_File_Name(name);
    if (clean.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter product number."));
        return;
    }
    custom_prod_name = clean;
    done(1);
}

void Custom_Product_Label::CancelPressed()
{
    prod_number->clear();
    done(0);
}

Add_Print_Profile::Add_Print_Profile(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Print Profile"));
    Apply_Dialog_Background(this);
    auto* g = new QGridLayout(this);
    Profile_name = new QLineEdit;
    pass_profile_name = new QLineEdit(this);
    pass_profile_name->setVisible(false);
    Printer_ComboBox = new QComboBox;
    g->addWidget(new QLabel(tr("Profile name:")), 0, 0);
    g->addWidget(Profile_name, 0, 1);
    g->addWidget(new QLabel(tr("Printer:")), 1, 0);
    g->addWidget(Printer_ComboBox, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    g->addWidget(buttons, 2, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &Add_Print_Profile::OKPressed);
    connect(buttons, &QDialogButtonBox::rejected, this, &Add_Print_Profile::CancelPressed);
    Reset_Printers();
}

void Add_Print_Profile::Reset_Printers()
{
    Printer_ComboBox->clear();
    Printer_ComboBox->addItems(Printer_Names());
    Printer_ComboBox->setCurrentIndex(Printer_ComboBox->count() ? 0 : -1);
}

void Add_Print_Profile::OKPressed()
{
    const QString printer = Trim_Str(Printer_ComboBox->currentText());
    if (Printer_ComboBox->currentIndex() < 0 || printer.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select printer."));
        return;
    }
    const QString name = Trim_Str(Profile_name->text());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter profile name."));
        return;
    }
    if (name == QLatin1String("Default") && pass_profile_name->text() != QLatin1String("Default")) {
        Show_MessageBox(QStringLiteral("This is a Default profile name.\n\nPlease enter another profile name."));
        return;
    }
    const QString clean = Remove_Reserve_Char_In_File_Name(name);
    if (clean.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter profile name."));
        return;
    }
    custom_profile_Printer = printer;
    custom_print_profile_name = clean;

    // The paper of the profile.
    PrintInfo info = MainWindowServices::printInfo();
    info.printerName = printer;
    if (!Run_Page_Setup(this, info))
        return;
    MainWindowServices::setPrintInfo(info);
    done(1);
}

void Add_Print_Profile::CancelPressed()
{
    Profile_name->clear();
    done(0);
}
