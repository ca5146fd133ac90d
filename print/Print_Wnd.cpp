#include "print/Print_Wnd.h"

#include "barcode/generation/panes/Stepper.h"
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
#include "print/SheetFields.h"
#include "print/SheetJobBuilder.h"
#include "print/SheetLayout.h"
#include "print/SheetOptionsPane.h"

#include <QCheckBox>
#include <QComboBox>
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
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

QPointer<Print_Wnd> Print_Wnd::Print_DefaultInstance;

Print_Wnd* Print_Wnd::defaultInstance()
{
    return Gui_Window_Instance(Print_DefaultInstance);
}

using namespace sheetui;

namespace {

const QString kCustom = QStringLiteral("Custom");

} // namespace

// ---------------------------------------------------------------------------
// Building the window

Print_Wnd::Print_Wnd(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Print"));
    sheet.Manual_or_Pre = 0;
    cus_or_pre = QStringLiteral("C");
    sheetPane = new Sheet_Options_Pane(this, &sheet, Sheet_Options_Pane::Preview_Fit::Width);
    buildUi();
    connectControls();
    Apply_Dialog_Background(this);
    // awakeFromNib: the vendor list, "Custom" first.
    Label_ComboBox->addItems(Catalogue_Vendor_Names());
    Label_ComboBox->setCurrentIndex(0);
    Copies_Text->setValidator(new QIntValidator(0, No_Batch_Maximum, Copies_Text));
    setPrintInfo(MainWindowServices::printInfo());
}

Print_Wnd::~Print_Wnd() = default;

void Print_Wnd::buildUi()
{
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    root->addLayout(left);
    root->addLayout(middle);

    // Printer and paper; the label's source.
    left->addWidget(buildPrinterBox());
    auto* sourceRow = new QHBoxLayout;
    rd_manual = new QRadioButton(tr("Manual label"));
    rd_predefined = new QRadioButton(tr("Label sheet"));
    sourceRow->addWidget(rd_manual);
    sourceRow->addWidget(rd_predefined);
    sourceRow->addStretch();
    left->addLayout(sourceRow);
    manual_prop_Gp_Bx = new QGroupBox(tr("Manual label (mm)"));
    manual_prop_Gp_Bx->setLayout(sheetPane->Build_Label_Fields(Sheet_Options_Pane::Label_Order::Grid_First));
    left->addWidget(manual_prop_Gp_Bx);
    left->addWidget(buildPredefinedBox());
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

    // Placement, range, options and profiles.
    QHBoxLayout* placement = sheetPane->Build_Alignment_Box(24);
    placement->addWidget(sheetPane->Auto_Center_chk_bx);
    placement->addStretch();
    middle->addWidget(sheetPane->card_align_box);
    middle->addWidget(sheetPane->Build_Range_Box(tr("Labels")));
    middle->addWidget(buildOptionsBox());
    middle->addWidget(buildProfilesBox(), 1);

    root->addLayout(buildPreviewColumn(), 1);
    custom_prod_window = new Custom_Product_Label(this);
    prnt_prof_wnd = new Add_Print_Profile(this);
    resize(1280, 700);
}

QWidget* Print_Wnd::buildPrinterBox()
{
    auto* printerBox = new QGroupBox(tr("Printer"));
    auto* pg = new QGridLayout(printerBox);
    Printer_ComboBox = new QComboBox;
    Printer_ComboBox->setMinimumWidth(200);
    page_setup_btn = new QPushButton(tr("Page Setup..."));
    Orient_ComboBox = new QComboBox;
    Orient_ComboBox->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    Paper_id = readOnlyField();
    Size_id = readOnlyField();
    pg->addWidget(new QLabel(tr("Printer:")), 0, 0);
    pg->addWidget(Printer_ComboBox, 0, 1, 1, 3);
    pg->addWidget(new QLabel(tr("Paper:")), 1, 0);
    pg->addWidget(Paper_id, 1, 1);
    pg->addWidget(page_setup_btn, 1, 2, 1, 2);
    pg->addWidget(new QLabel(tr("Size (mm):")), 2, 0);
    pg->addWidget(Size_id, 2, 1);
    pg->addWidget(Orient_ComboBox, 2, 2, 1, 2);
    pg->addLayout(sheetPane->Build_Margin_Fields(), 3, 0, 1, 4);
    return printerBox;
}

QWidget* Print_Wnd::buildPredefinedBox()
{
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
    return predefine_prop_Gp_Bx;
}

QWidget* Print_Wnd::buildOptionsBox()
{
    auto* options = new QGroupBox(tr("Options"));
    auto* og = new QGridLayout(options);
    crop_mark_chk = new QCheckBox(tr("Crop marks"));
    fit_frame_chk = new QCheckBox(tr("Fit to frame"));
    og->addLayout(sheetPane->Build_Batch_Boxes(tr("Print with batch data"), false), 0, 0);
    og->addWidget(sheetPane->Show_Margins, 1, 0);
    og->addWidget(crop_mark_chk, 2, 0);
    og->addWidget(fit_frame_chk, 3, 0);
    auto* copies = new QHBoxLayout;
    copies->addWidget(new QLabel(tr("Copies")));
    copies->addLayout(pairWidget(Copies_Text, Copies_Stepper, 1, 999, 1, false));
    og->addLayout(copies, 4, 0);
    return options;
}

QWidget* Print_Wnd::buildProfilesBox()
{
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
    return profiles;
}

QLayout* Print_Wnd::buildPreviewColumn()
{
    auto* right = new QVBoxLayout;
    right->addWidget(sheetPane->Build_Preview(420), 1);
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
    return right;
}

void Print_Wnd::connectControls()
{
    for (QComboBox* combo : {Printer_ComboBox, Orient_ComboBox, Label_ComboBox, Product_num_ComboBox})
        connect(combo, &QComboBox::activated, this, [this, combo] { comboBoxSelectionDidChange(combo); });
    connect(sheetPane, &Sheet_Options_Pane::changed, this, &Print_Wnd::Sheet_Changed);

    // The predefined box's pairs: sizes typed are cleaned, then applied.
    const auto typed = [this](QLineEdit* f) { controlTextDidChange(f); };
    const auto left = [this](QLineEdit* f) { controlTextDidEndEditing(f); };
    const auto pair = [&](QLineEdit* field, Stepper* stepper, bool isInt, bool cells) {
        connectPair(this, field, stepper,
                    [=, this](QObject* s) { Predefined_Pair_Changed(s, field, stepper, isInt, cells); }, typed, left);
    };
    pair(horz_mar_Text_pre, horz_mar_Stepper_pre, false, false);
    pair(vert_mar_Text_pre, vert_mar_Stepper_pre, false, false);
    pair(width_Text_pre, width_Stepper_pre, false, false);
    pair(height_Text_pre, height_Stepper_pre, false, false);
    pair(Row_Text_pre, Row_Stepper_pre, true, true);
    pair(Col_Text_pre, Col_Stepper_pre, true, true);
    connectPair(this, Copies_Text, Copies_Stepper, [this](QObject* s) { Copies_Val_Changed(s); }, typed);
    for (QLineEdit* f : {left_mar_pre, top_mar_pre})
        connect(f, &QLineEdit::editingFinished, this, &Print_Wnd::Check_Max_Cell_Value);
    connect(List_profile, &QListWidget::currentRowChanged, this, &Print_Wnd::tableViewSelectionDidChange);
    connect(Add_profile_btn, &QPushButton::clicked, this, [this] { Add_Edit_Print_Profile(QStringLiteral("A")); });
    connect(Edit_profile_btn, &QPushButton::clicked, this, [this] { Add_Edit_Print_Profile(QStringLiteral("E")); });

    connectClicks<Print_Wnd>(
        this, {{page_setup_btn, &Print_Wnd::pagesetup},
               {rd_manual, &Print_Wnd::Manual_Label_Changed},
               {rd_predefined, &Print_Wnd::Predefined_Label_Changed},
               {crop_mark_chk, &Print_Wnd::Enable_Crop_Mark_clicked},
               {fit_frame_chk, &Print_Wnd::Fit_To_Frame_clicked},
               {save_label_btn, &Print_Wnd::Save_Label_Pressed},
               {delete_label_btn, &Print_Wnd::Delete_Label_Pressed},
               {Save_profile_btn, &Print_Wnd::Save_profile_btn_clicked},
               {Delete_profile_btn, &Print_Wnd::Delete_profile_btn_clicked},
               {preview_btn, &Print_Wnd::PreviewButtonPressed},
               {print_btn, &Print_Wnd::PrintButtonPressed},
               {cancel_btn, &Print_Wnd::CancelButtonPressed}});
}

// ---------------------------------------------------------------------------
// Opening

void Print_Wnd::Reset_For_Opening()
{
    // 1. Reset: the manual label, no crop marks, no fit to frame.
    crop_mark_chk->setVisible(false);
    fit_frame_chk->setVisible(false);
    crop_mark_chk->setChecked(false);
    fit_frame_chk->setChecked(false);
    sheet = Current_Opening_Job();
    sheet.PDF_View_Not_Print = 0;
    cus_or_pre = QStringLiteral("C");
    rd_manual->setChecked(true);
    rd_predefined->setChecked(false);
    manual_prop_Gp_Bx->setVisible(true);
    predefine_prop_Gp_Bx->setVisible(false);
    Refresh_And_Reload_Product_Number_Combo(QString());
    Label_ComboBox->setCurrentIndex(0);
    setPair(Copies_Text, Copies_Stepper, 1, QStringLiteral("1"));

    // 2.-4. The label by mode (the card, or the barcode with its size
    // editable), one cell of its size, the batch boxes and the range by the
    // rows of the sources.
    sheetPane->load(sheet);

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
    sheetPane->Refresh_Preview();
    Load_Print_Profile();
}

bool Print_Wnd::Open_Print_Wnd()
{
    return Open_Sheet_Window(*this, [this] { Reset_For_Opening(); }, true);
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
        sheetPane->Set_Preview_Sheet(paper);
    Size_id->setText(mm2(mm.width()) + QStringLiteral(" x ") + mm2(mm.height()));
    Orient_ComboBox->setCurrentIndex(layout.orientation() == QPageLayout::Landscape ? 1 : 0);

    const QMarginsF m = layout.margins(QPageLayout::Point);
    sheet.Set_Page_Margins(m);
    sheetPane->Show_Page_Margins(m);

    if (sheet.Manual_or_Pre == 1) {
        if (catalogue) {
            sheet.Left_Mar = MM_To_Points(float(num(left_mar_pre)));
            sheet.Top_Mar = MM_To_Points(float(num(top_mar_pre)));
            sheet.Rite_Mar = sheet.Bot_Mar = 0;
        } else {
            sheet.predef_page_wdt = float(paper.width());
            sheet.predef_page_hgt = float(paper.height());
            left_mar_pre->setText(sheetPane->l_mar_id->text());
            top_mar_pre->setText(sheetPane->t_mar_id->text());
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
    sheetPane->Refresh_Preview();
}

void Print_Wnd::Lay_Out_Sheet()
{
    sheetPane->writeTo(sheet);
    const bool manual = sheet.Manual_or_Pre != 1;
    QSizeF paper = paperSize();
    if (!manual) {
        // A label sheet: its label and grid on its page, from its own
        // left and top margins.
        sheet.label_width = MM_To_Points(float(width_Stepper_pre->value()));
        sheet.label_hight = MM_To_Points(float(height_Stepper_pre->value()));
        sheet.horz_mar = MM_To_Points(float(num(horz_mar_Text_pre)));
        sheet.vert_mar = MM_To_Points(float(num(vert_mar_Text_pre)));
        sheet.Print_Col = std::max(1, inum(Col_Text_pre));
        sheet.Print_Row = std::max(1, inum(Row_Text_pre));
        paper = QSizeF(sheet.predef_page_wdt, sheet.predef_page_hgt);
        sheet.Left_Mar = MM_To_Points(float(num(left_mar_pre)));
        sheet.Top_Mar = MM_To_Points(float(num(top_mar_pre)));
        sheet.Rite_Mar = sheet.Bot_Mar = 0;
    }
    if (sheet.Fit_Picture_To_Frame) {
        const QRectF area = printInfo().pageLayout.paintRect(QPageLayout::Point);
        sheet.label_width = float(area.width());
        sheet.label_hight = float(area.height());
    }
    // The cells are centred with even gaps only for a manual label outside
    // fit to frame; a label sheet keeps its own grid.
    const bool centre = sheet.auto_center_flag && manual && !sheet.Fit_Picture_To_Frame;
    const Grid_Fit fit = Fit_Sheet_Job(sheet, paper, centre);
    if (manual) {
        sheetPane->Show_Fitted_Grid(fit);
        return;
    }
    if (fit.colsLowered)
        setPair(Col_Text_pre, Col_Stepper_pre, fit.cols, QString::number(fit.cols));
    if (fit.rowsLowered)
        setPair(Row_Text_pre, Row_Stepper_pre, fit.rows, QString::number(fit.rows));
}

void Print_Wnd::Check_Max_Cell_Value()
{
    Lay_Out_Sheet();
    sheetPane->Refresh_Preview();
}

void Print_Wnd::Sheet_Changed(Sheet_Need need)
{
    sheetPane->Follow_Need(need, [this] { Lay_Out_Sheet(); }, [this] { Check_Max_Cell_Value(); });
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
            Lock_Predefined_Fields(true);
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
    sheetPane->Set_Alignment(label_align_val_bkup);
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
    label_align_val_bkup = sheetPane->alignment();
    sheetPane->Set_Alignment(1);
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
        // The sheet as the controls stand.
        Lay_Out_Sheet();
        if (!Paper_Checks())
            return;
        // 4.-7. The range counts rows, each repeated by its print quantity.
        const Sheet_Job_Refusal refusal = Range_Of_Job(sheet);
        if (refusal == Sheet_Job_Refusal::Invalid_Range) {
            Show_MessageBox(QStringLiteral("Please select valid range."));
            return;
        }
        sheet.Start_Card_Option = Design_Start_Option();
        // 8.
        if (refusal == Sheet_Job_Refusal::No_Labels) {
            Show_MessageBox(QStringLiteral("There is no barcode to print."));
            return;
        }
        // A label larger than its cell is cut there, and one that leaves a
        // round label is printed off it: the user is told first.
        sheet.labelShape = Chosen_Label_Shape();
        sheet.pictureMargins = QMarginsF();
        if (!sheet.designing && App_Services().Batch_Services) {
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
// Options of the print window

void Print_Wnd::Copies_Val_Changed(QObject* sender)
{
    copyPair(sender, Copies_Text, Copies_Stepper, true);
}

void Print_Wnd::Enable_Crop_Mark_clicked()
{
    sheet.Enable_Crop_Marks = crop_mark_chk->isChecked() ? 1 : 0;
    sheetPane->Refresh_Preview();
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
    // The grid is kept here (the PDF window keeps it when its layout changes).
    sheetPane->Capture_Last_Values();
    sheetPane->Disable_for_fit_or_duplex(Grid_Lock::Fit_To_Frame);
    sheetPane->Enable_Placement(false);
}

void Print_Wnd::Normal_Printing_Is_Selected()
{
    if (!fit_frame_chk->isChecked())
        sheetPane->Normal_Printing_Is_Selected();
}

void Print_Wnd::Make_select_on_index(int row)
{
    if (row >= 0 && row < List_profile->count())
        List_profile->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

// ---------------------------------------------------------------------------
// The predefined label sheet

void Print_Wnd::Lock_Predefined_Fields(bool locked)
{
    for (Stepper* s : {Col_Stepper_pre, Row_Stepper_pre, horz_mar_Stepper_pre, vert_mar_Stepper_pre,
                       width_Stepper_pre, height_Stepper_pre})
        SetObjEnabled(s, !locked);
    for (QLineEdit* f : {Col_Text_pre, Row_Text_pre, left_mar_pre, top_mar_pre, horz_mar_Text_pre, vert_mar_Text_pre,
                         width_Text_pre, height_Text_pre})
        f->setReadOnly(locked);
}

void Print_Wnd::Predefined_Pair_Changed(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt, bool cells)
{
    const bool size = field == width_Text_pre || field == height_Text_pre;
    copyPair(sender, field, stepper, isInt, size);
    Sheet_Changed(cells ? Sheet_Need::Cells : Sheet_Need::Layout);
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
            sheetPane->Set_Preview_Sheet(QSizeF(sheet.predef_page_wdt, sheet.predef_page_hgt));
        } else {
            const int index = Product_num_ComboBox->currentIndex();
            if (index < 0)
                return;
            if (index < prod_list.size()) {
                const Predefined_Sheet s = Predefined_Sheet_From_Product(prod_list[index]);
                sheet.predef_page_wdt = Page_Points_Rounded_Up(s.pageWidthMM);
                sheet.predef_page_hgt = Page_Points_Rounded_Up(s.pageHeightMM);
                sheetPane->Set_Preview_Sheet(QSizeF(sheet.predef_page_wdt, sheet.predef_page_hgt));
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
    }
}

void Print_Wnd::controlTextDidEndEditing(QLineEdit* field)
{
    if (field != width_Text_pre && field != height_Text_pre)
        return;
    const double v = num(field);
    field->setText(v <= 0 ? QStringLiteral("0.10") : mm2(v));
    Apply_unit_Chaneg_Values();
}
