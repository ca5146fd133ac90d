// Start-up, layout, modes and lifetime of the main window.
#include "mainwindow/LMNWindowController.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/LMNDocument.h"
#include "core/util/Helpers.h"
#include "platform/Paths.h"
#include "mainwindow/AppLifetime.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

int Measument_Unit_Is = 2;
int last_unit_val = 2;
int Measument_Unit_Is_Barcode = 1;
int last_unit_val_Barcode = 1;
QString def_barcode_hdr_str;

namespace {
LMNWindowController* app_DefaultInstance = nullptr;

QLineEdit* numberField(QWidget* parent, int width = 56)
{
    auto* f = new QLineEdit(parent);
    f->setFixedWidth(width);
    f->setAlignment(Qt::AlignRight);
    return f;
}

Stepper* makeStepper(QWidget* parent, double min, double max, double step, double value)
{
    auto* s = new Stepper(parent);
    s->setRange(min, max);
    s->setIncrement(step);
    s->setValue(value);
    return s;
}

// Width of the label column of the size boxes, so their fields line up.
constexpr int kPairLabelWidth = 125;

// A row "label  [text][stepper]  trailing" in a grid.
void addPairRow(QGridLayout* grid, int row, QLabel* label, QLineEdit* text, Stepper* stepper,
                const QString& trailing = QString())
{
    grid->setColumnMinimumWidth(0, kPairLabelWidth);
    grid->addWidget(label, row, 0);
    auto* h = new QHBoxLayout;
    h->setSpacing(2);
    h->addWidget(text);
    h->addWidget(stepper);
    if (!trailing.isEmpty())
        h->addWidget(new QLabel(trailing));
    h->addStretch(1);
    grid->addLayout(h, row, 1);
}

} // namespace

LMNWindowController* LMNWindowController::defaultInstance() { return app_DefaultInstance; }

LMNWindowController::LMNWindowController(QWidget* parent) : QMainWindow(parent)
{
    init();
    buildWindow();
    awakeFromNib();
}

LMNWindowController::~LMNWindowController()
{
    // The canvas lets go of the document and the grid before they go.
    if (_graphicView) {
        _graphicView->unbindGraphics();
        _graphicView->setGrid(nullptr);
    }
    Set_Barcode_Settings_Source(0, nullptr);
    if (Main_App_wnd == this)
        Main_App_wnd = nullptr;
    if (app_DefaultInstance == this)
        app_DefaultInstance = nullptr;
}

// The controller's own state, before any widget exists.
void LMNWindowController::init()
{
    Text_Ctrl_Font = QApplication::font("QMenuBar").family();
    if (Text_Ctrl_Font.isEmpty())
        Text_Ctrl_Font = QStringLiteral("Arial");
    Resource_Path = Find_Resource_Path();
    Created_Resource_Path = Default_Created_Resource_Path();
    Create_Folder(Created_Resource_Path);   // checked when the window is set up

    Allowd_Image_fileTypes = {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"};
    _grid = new LMNGrid(this);
    _zoomFactor = 1.0;
    m_selectedTool = 0;

    app_DefaultInstance = this;
    Main_App_wnd = defaultInstance();

    Text_font = QFont(Text_Ctrl_Font, Text_Ctrl_Font_Size);
    m_allTextFont = Text_font;
    WM_Text_font = Text_font;

    const QString res = Resource_Path + QStringLiteral("/");
    m_noImage = QImage(res + "no.png");
    m_bannerImage = QImage(res + "banner.png");
    m_patternImage = QImage(res + "pattern_1.jpg");
    m_signSampleImg = QImage(res + "sign_sample.png");
    m_fpSampleImg = QImage(res + "fingerprints.png");
    m_barcodeSampleImg = QImage(res + "barcode_sample.png");
    m_backBtnImage = QImage(res + "back-2.png");
    m_frontBtnImageSel = QImage(res + "front-sel.png");

    prev_list_item_barcode = 0;
    value_font = QFont(Text_Ctrl_Font, 10);
    header_font = value_font;
    footer_font = value_font;

    // Barcode mode owns the settings of mode 0. Engines may ask from a worker
    // thread; they get the copy published after the last change.
    publishSettings();
    Set_Barcode_Settings_Source(0, [this] { return Barcode_Settings(); });
}

// ---------------------------------------------------------------- layout

void LMNWindowController::buildWindow()
{
    setWindowTitle(App_Name());
    buildToolbar();

    Barcode_mode_tab = new QTabWidget(this);
    Barcode_mode_tab->setObjectName("Barcode_mode_tab");
    Barcode_setting_tab = buildBarcodeTab();
    Barcode_Design_tab = buildDesignTab();
    Barcode_mode_tab->addTab(Barcode_setting_tab, tr("Barcode Settings"));
    Barcode_mode_tab->addTab(Barcode_Design_tab, tr("Designing"));
    setCentralWidget(Barcode_mode_tab);

    connect(Barcode_mode_tab, &QTabWidget::currentChanged, this,
            [this](int index) { tabView_didSelectTabViewItem(Barcode_mode_tab, index); });
    connect(sett_tab, &QTabWidget::currentChanged, this,
            [this](int index) { tabView_didSelectTabViewItem(sett_tab, index); });
    connectBarcodeControls();
}

void LMNWindowController::buildToolbar()
{
    main_toolbar = addToolBar(tr("Commands"));
    main_toolbar->setObjectName("main_toolbar");
    main_toolbar->setMovable(false);
    main_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Commands that arrive with the design file, data, printing, export, mail and
    // picture subsystems: present, and disabled until they are connected.
    const struct { const char* icon; const char* text; } commands[] = {
        {"document-new", "New"},          {"document-open", "Open"},
        {"document-save", "Save"},        {"document-print", "Print"},
        {"x-office-document", "PDF"},     {"document-export", "Export"},
        {"edit-copy", "Copy"},            {"mail-send", "E-mail"},
        {"view-list-details", "Series"},  {"insert-image", "Pictures"},
    };
    for (const auto& c : commands) {
        QAction* a = main_toolbar->addAction(QIcon::fromTheme(c.icon), tr(c.text));
        a->setEnabled(false);
        a->setToolTip(tr("%1 (not available yet)").arg(tr(c.text)));
        later_actions << a;
    }
}

QWidget* LMNWindowController::buildBarcodeTab()
{
    auto* page = new QWidget;
    auto* outer = new QHBoxLayout(page);

    // ---- Left column: symbology, texts and settings ----
    auto* left = new QWidget(page);
    left->setFixedWidth(470);
    auto* col = new QVBoxLayout(left);
    col->setContentsMargins(0, 0, 0, 0);

    auto* typeBox = new QGroupBox(tr("Barcode type"), left);
    auto* typeLay = new QGridLayout(typeBox);
    Linear_Barcode_RD = new QRadioButton(tr("Linear"), typeBox);
    TwoD_Barcode_RD = new QRadioButton(tr("2D"), typeBox);
    auto* kindGroup = new QButtonGroup(typeBox);
    kindGroup->addButton(Linear_Barcode_RD);
    kindGroup->addButton(TwoD_Barcode_RD);
    Linear_Barcode_RD->setChecked(true);
    barcodeTypePopup = new QComboBox(typeBox);
    barcodeTypePopup->setObjectName("barcodeTypePopup");
    barcodeTypePopup->addItems(Type_Popup_Names());
    barcodeTypePopup->setMaxVisibleItems(22);
    typeLay->addWidget(new QLabel(tr("Symbology:")), 0, 0);
    typeLay->addWidget(barcodeTypePopup, 0, 1, 1, 3);
    typeLay->addWidget(Linear_Barcode_RD, 1, 1);
    typeLay->addWidget(TwoD_Barcode_RD, 1, 2);
    typeLay->setColumnStretch(3, 1);
    col->addWidget(typeBox);

    auto* textBox = new QGroupBox(tr("Barcode value"), left);
    auto* textLay = new QGridLayout(textBox);
    dataText = new QLineEdit(textBox);
    dataText->setObjectName("dataText");
    dataText_2D = new QPlainTextEdit(textBox);
    dataText_2D->setObjectName("dataText_2D");
    dataText_2D->setFixedHeight(54);
    dataText_2D_scl_v = dataText_2D;   // the text view scrolls by itself
    HeaderText = new QLineEdit(textBox);
    HeaderText->setObjectName("HeaderText");
    FooterText = new QLineEdit(textBox);
    FooterText->setObjectName("FooterText");
    encode_btn = new QPushButton(tr("Encode"), textBox);
    textLay->addWidget(new QLabel(tr("Value:")), 0, 0, Qt::AlignTop);
    auto* valueCol = new QVBoxLayout;
    valueCol->addWidget(dataText);
    valueCol->addWidget(dataText_2D);
    textLay->addLayout(valueCol, 0, 1);
    textLay->addWidget(encode_btn, 0, 2, Qt::AlignTop);
    textLay->addWidget(new QLabel(tr("Header:")), 1, 0);
    textLay->addWidget(HeaderText, 1, 1, 1, 2);
    textLay->addWidget(new QLabel(tr("Footer:")), 2, 0);
    textLay->addWidget(FooterText, 2, 1, 1, 2);
    col->addWidget(textBox);

    sett_tab_barcode = new QTabWidget(left);
    sett_tab_barcode->setObjectName("sett_tab_barcode");

    // Tab 0: texts (visibility, fonts, alignment).
    auto* textTab = new QWidget;
    auto* tt = new QGridLayout(textTab);
    captionCheckbox = new QCheckBox(tr("Hide value text"), textTab);
    showinTopCheckbox = new QCheckBox(tr("Value text on top"), textTab);
    hideHeaderCheckbox = new QCheckBox(tr("Hide header"), textTab);
    hideFooterCheckbox = new QCheckBox(tr("Hide footer"), textTab);
    kerning_value_Checkbox = new QCheckBox(tr("Spread value text"), textTab);
    tt->addWidget(captionCheckbox, 0, 0);
    tt->addWidget(showinTopCheckbox, 0, 1);
    tt->addWidget(hideHeaderCheckbox, 1, 0);
    tt->addWidget(hideFooterCheckbox, 1, 1);
    tt->addWidget(kerning_value_Checkbox, 2, 0);
    val_font_label = new QLabel(tr("Value font:"));
    value_font_value = new QLabel;
    header_font_value = new QLabel;
    footer_font_value = new QLabel;
    val_font_btn = new QPushButton(tr("Font..."));
    hdr_font_btn = new QPushButton(tr("Font..."));
    ftr_font_btn = new QPushButton(tr("Font..."));
    tt->addWidget(val_font_label, 3, 0);
    tt->addWidget(value_font_value, 3, 1);
    tt->addWidget(val_font_btn, 3, 2);
    tt->addWidget(new QLabel(tr("Header font:")), 4, 0);
    tt->addWidget(header_font_value, 4, 1);
    tt->addWidget(hdr_font_btn, 4, 2);
    tt->addWidget(new QLabel(tr("Footer font:")), 5, 0);
    tt->addWidget(footer_font_value, 5, 1);
    tt->addWidget(ftr_font_btn, 5, 2);
    align_hdr_combo = new QComboBox;
    align_ftr_combo = new QComboBox;
    for (QComboBox* c : {align_hdr_combo, align_ftr_combo})
        c->addItems({"Left", "Center", "Right"});
    tt->addWidget(new QLabel(tr("Header alignment:")), 6, 0);
    tt->addWidget(align_hdr_combo, 6, 1);
    tt->addWidget(new QLabel(tr("Footer alignment:")), 7, 0);
    tt->addWidget(align_ftr_combo, 7, 1);
    tt->setRowStretch(8, 1);
    sett_tab_barcode->addTab(textTab, tr("Text"));

    // Tab 1: sizes and margins.
    auto* sizeTab = new QWidget;
    auto* st = new QVBoxLayout(sizeTab);
    linear_sett_box = new QGroupBox(tr("Bars"), sizeTab);
    {
        auto* g = new QGridLayout(linear_sett_box);
        HeightText = numberField(linear_sett_box);
        HeightStepper = makeStepper(linear_sett_box, 0.1, 100.0, 0.1, 1.0);
        widthText = numberField(linear_sett_box);
        widthStepper = makeStepper(linear_sett_box, 5, 200, 1, 20);
        bar_height_label = new QLabel;
        bar_width_label = new QLabel(tr("Bar Width (Mils):"));
        addPairRow(g, 0, bar_height_label, HeightText, HeightStepper);
        addPairRow(g, 1, bar_width_label, widthText, widthStepper);
    }
    st->addWidget(linear_sett_box);

    two_d_sett_box = new QGroupBox(tr("QR Code"), sizeTab);
    {
        auto* g = new QGridLayout(two_d_sett_box);
        HeightText_2D = numberField(two_d_sett_box);
        HeightStepper_2D = makeStepper(two_d_sett_box, 21, 2000, 1, 60);
        addPairRow(g, 0, new QLabel(tr("Size:")), HeightText_2D, HeightStepper_2D, tr("pt"));
        qr_enc_mode_ComboBox = new QComboBox;
        qr_enc_mode_ComboBox->addItems({"Auto", "Numeric", "Alphanumeric", "Byte"});
        qr_version_ComboBox = new QComboBox;
        qr_version_ComboBox->setMaxVisibleItems(12);
        qr_ec_lvl_ComboBox = new QComboBox;
        qr_ec_lvl_ComboBox->addItems(QR_EC_Level_Items());
        g->addWidget(new QLabel(tr("Encoding:")), 1, 0);
        g->addWidget(qr_enc_mode_ComboBox, 1, 1);
        g->addWidget(new QLabel(tr("Version:")), 2, 0);
        g->addWidget(qr_version_ComboBox, 2, 1);
        g->addWidget(helpButton(two_d_sett_box, &LMNWindowController::QR_Version_Help_Btn), 2, 2);
        g->addWidget(new QLabel(tr("EC level:")), 3, 0);
        g->addWidget(qr_ec_lvl_ComboBox, 3, 1);
        g->addWidget(helpButton(two_d_sett_box, &LMNWindowController::QR_EC_Lvl_Help_Btn), 3, 2);
    }
    st->addWidget(two_d_sett_box);

    pdf_2d_sett_box = new QGroupBox(tr("PDF417"), sizeTab);
    {
        auto* g = new QGridLayout(pdf_2d_sett_box);
        Pdf_widthText_2D = numberField(pdf_2d_sett_box);
        Pdf_widthStepper_2D = makeStepper(pdf_2d_sett_box, 20, 2000, 1, 100);
        pdf_HeightText_2D = numberField(pdf_2d_sett_box);
        pdf_HeightStepper_2D = makeStepper(pdf_2d_sett_box, 5, 1000, 1, 20);
        pdf_row_Text = numberField(pdf_2d_sett_box);
        pdf_row_Stepper = makeStepper(pdf_2d_sett_box, 0, 90, 1, 0);
        pdf_col_Text = numberField(pdf_2d_sett_box);
        pdf_col_Stepper = makeStepper(pdf_2d_sett_box, 0, 30, 1, 0);
        pdf_ec_lvl_Text = numberField(pdf_2d_sett_box);
        pdf_ec_lvl_Stepper = makeStepper(pdf_2d_sett_box, 0, 8, 1, 2);
        addPairRow(g, 0, new QLabel(tr("Width:")), Pdf_widthText_2D, Pdf_widthStepper_2D, tr("pt"));
        addPairRow(g, 1, new QLabel(tr("Height:")), pdf_HeightText_2D, pdf_HeightStepper_2D, tr("pt"));
        addPairRow(g, 2, new QLabel(tr("Rows:")), pdf_row_Text, pdf_row_Stepper);
        addPairRow(g, 3, new QLabel(tr("Columns:")), pdf_col_Text, pdf_col_Stepper);
        addPairRow(g, 4, new QLabel(tr("EC level:")), pdf_ec_lvl_Text, pdf_ec_lvl_Stepper);
        g->addWidget(helpButton(pdf_2d_sett_box, &LMNWindowController::PDF_row_Help_btn), 2, 2);
        g->addWidget(helpButton(pdf_2d_sett_box, &LMNWindowController::PDF_col_Help_btn), 3, 2);
        g->addWidget(helpButton(pdf_2d_sett_box, &LMNWindowController::PDF_ec_lvl_Help_btn), 4, 2);
    }
    st->addWidget(pdf_2d_sett_box);

    dm_2d_sett_box = new QGroupBox(tr("Data Matrix"), sizeTab);
    {
        auto* g = new QGridLayout(dm_2d_sett_box);
        dm_widthText_2D = numberField(dm_2d_sett_box);
        dm_widthStepper_2D = makeStepper(dm_2d_sett_box, 10, 2000, 1, 60);
        dm_HeightText_2D = numberField(dm_2d_sett_box);
        dm_HeightStepper_2D = makeStepper(dm_2d_sett_box, 10, 2000, 1, 60);
        dm_moduleText_2D = numberField(dm_2d_sett_box);
        dm_moduleStepper_2D = makeStepper(dm_2d_sett_box, 1, 50, 1, 2);
        addPairRow(g, 0, new QLabel(tr("Width:")), dm_widthText_2D, dm_widthStepper_2D, tr("pt"));
        addPairRow(g, 1, new QLabel(tr("Height:")), dm_HeightText_2D, dm_HeightStepper_2D, tr("pt"));
        addPairRow(g, 2, new QLabel(tr("Module size:")), dm_moduleText_2D, dm_moduleStepper_2D, tr("pt"));
        dm_format_ComboBox = new QComboBox;
        dm_format_ComboBox->setMaxVisibleItems(12);
        dm_encoding_ComboBox = new QComboBox;
        g->addWidget(new QLabel(tr("Preferred format:")), 3, 0);
        g->addWidget(dm_format_ComboBox, 3, 1);
        g->addWidget(helpButton(dm_2d_sett_box, &LMNWindowController::DM_format_Help_btn), 3, 2);
        g->addWidget(new QLabel(tr("Encoding mode:")), 4, 0);
        g->addWidget(dm_encoding_ComboBox, 4, 1);
        g->addWidget(helpButton(dm_2d_sett_box, &LMNWindowController::DM_Encoding_Help_btn), 4, 2);
    }
    st->addWidget(dm_2d_sett_box);

    margin_box = new QGroupBox(sizeTab);
    {
        auto* g = new QGridLayout(margin_box);
        val_mar_Text = numberField(margin_box);
        val_mar_Stepper = makeStepper(margin_box, 0, 20, 0.1, 0.1);
        hdr_mar_Text = numberField(margin_box);
        hdr_mar_Stepper = makeStepper(margin_box, 0, 20, 0.1, 0.1);
        ftr_mar_Text = numberField(margin_box);
        ftr_mar_Stepper = makeStepper(margin_box, 0, 20, 0.1, 0.1);
        TB_mar_Text = numberField(margin_box);
        TB_mar_Stepper = makeStepper(margin_box, 0, 20, 0.1, 0.1);
        LR_mar_Text = numberField(margin_box);
        LR_mar_Stepper = makeStepper(margin_box, 0, 20, 0.1, 0.1);
        val_mar_label = new QLabel(tr("Value:"));
        addPairRow(g, 0, val_mar_label, val_mar_Text, val_mar_Stepper);
        addPairRow(g, 1, new QLabel(tr("Header:")), hdr_mar_Text, hdr_mar_Stepper);
        addPairRow(g, 2, new QLabel(tr("Footer:")), ftr_mar_Text, ftr_mar_Stepper);
        addPairRow(g, 3, new QLabel(tr("Top and bottom:")), TB_mar_Text, TB_mar_Stepper);
        addPairRow(g, 4, new QLabel(tr("Left and right:")), LR_mar_Text, LR_mar_Stepper);
    }
    st->addWidget(margin_box);
    st->addStretch(1);
    sett_tab_barcode->addTab(sizeTab, tr("Size"));

    // Tab 2: colours and background.
    auto* colourTab = new QWidget;
    auto* ct = new QGridLayout(colourTab);
    barcode_clr = new ColorWell(Qt::black);
    bar_back_clr = new ColorWell(Qt::white);
    bar_val_clr = new ColorWell(Qt::black);
    bar_hdr_clr = new ColorWell(Qt::black);
    bar_ftr_clr = new ColorWell(Qt::black);
    bar_clr_label = new QLabel(tr("Bars:"));
    bar_bk_clr_label = new QLabel(tr("Background:"));
    val_clr_label = new QLabel(tr("Value text:"));
    brcd_bk_clr_rd = new QRadioButton(tr("Coloured background"));
    brcd_bk_clr_trnsp_rd = new QRadioButton(tr("Transparent background"));
    auto* bkGroup = new QButtonGroup(colourTab);
    bkGroup->addButton(brcd_bk_clr_rd);
    bkGroup->addButton(brcd_bk_clr_trnsp_rd);
    brcd_bk_clr_rd->setChecked(true);
    transparent_bkgnd = new QCheckBox(tr("Transparent background"));
    ct->addWidget(bar_clr_label, 0, 0);
    ct->addWidget(barcode_clr, 0, 1);
    ct->addWidget(bar_bk_clr_label, 1, 0);
    ct->addWidget(bar_back_clr, 1, 1);
    ct->addWidget(val_clr_label, 2, 0);
    ct->addWidget(bar_val_clr, 2, 1);
    ct->addWidget(new QLabel(tr("Header:")), 3, 0);
    ct->addWidget(bar_hdr_clr, 3, 1);
    ct->addWidget(new QLabel(tr("Footer:")), 4, 0);
    ct->addWidget(bar_ftr_clr, 4, 1);
    ct->addWidget(brcd_bk_clr_rd, 5, 0, 1, 3);
    ct->addWidget(brcd_bk_clr_trnsp_rd, 6, 0, 1, 3);
    ct->addWidget(transparent_bkgnd, 7, 0, 1, 3);
    ct->setColumnStretch(2, 1);
    ct->setRowStretch(8, 1);
    sett_tab_barcode->addTab(colourTab, tr("Colours"));

    // Tab 3: output resolution of 2D symbols.
    dpi_tab_item = new QWidget;
    {
        auto* g = new QGridLayout(dpi_tab_item);
        DPI_ComboBox = new QComboBox;
        DPI_ComboBox->addItems(DPI_Choice_Items());
        dpi_Text = numberField(dpi_tab_item);
        dpi_Stepper = makeStepper(dpi_tab_item, 72, 2400, 1, 600);
        g->addWidget(new QLabel(tr("DPI:")), 0, 0);
        g->addWidget(DPI_ComboBox, 0, 1);
        g->addWidget(helpButton(dpi_tab_item, &LMNWindowController::DPI_Help_Label), 0, 2);
        auto* h = new QHBoxLayout;
        h->addWidget(dpi_Text);
        h->addWidget(dpi_Stepper);
        h->addStretch(1);
        g->addLayout(h, 1, 1);
        g->setRowStretch(2, 1);
        g->setColumnStretch(2, 1);
    }
    sett_tab_barcode->addTab(dpi_tab_item, tr("DPI"));
    col->addWidget(sett_tab_barcode, 1);

    // Batch sources of barcode mode: connected when the data subsystem lands.
    batch_chk_Gp_Bx = new QGroupBox(tr("Batch processing"), left);
    {
        auto* g = new QGridLayout(batch_chk_Gp_Bx);
        data_source_chkbox = new QCheckBox(tr("Use a list of values"));
        barcode_value_chk = new QCheckBox(tr("Value"));
        barcode_header_chk = new QCheckBox(tr("Header"));
        barcode_footer_chk = new QCheckBox(tr("Footer"));
        g->addWidget(data_source_chkbox, 0, 0, 1, 2);
        g->addWidget(helpButton(batch_chk_Gp_Bx, &LMNWindowController::Batch_Help_Button), 0, 2, Qt::AlignRight);
        g->addWidget(barcode_value_chk, 1, 0);
        g->addWidget(barcode_header_chk, 1, 1);
        g->addWidget(barcode_footer_chk, 1, 2);
    }
    data_Sheet_Gp_Bx = new QGroupBox(tr("Source"), batch_chk_Gp_Bx);
    {
        auto* h = new QHBoxLayout(data_Sheet_Gp_Bx);
        Custom_Sheet_RD = new QRadioButton(tr("Barcode list"));
        Data_Set_Sheet_RD = new QRadioButton(tr("Series"));
        Custom_Sheet_RD->setChecked(true);
        h->addWidget(Custom_Sheet_RD);
        h->addWidget(Data_Set_Sheet_RD);
        static_cast<QGridLayout*>(batch_chk_Gp_Bx->layout())->addWidget(data_Sheet_Gp_Bx, 2, 0, 1, 3);
    }
    col->addWidget(batch_chk_Gp_Bx);
    outer->addWidget(left);

    // ---- Right: the preview ----
    auto* previewBox = new QGroupBox(tr("Preview"), page);
    auto* pv = new QVBoxLayout(previewBox);
    auto* alignRow = new QHBoxLayout;
    bar_align_combo = new QComboBox;
    bar_align_combo->addItems({"Center", "Top", "TopLeft", "TopRight", "Left", "Bottom",
                               "BottomLeft", "BottomRight", "Right"});
    bar_orient_combo = new QComboBox;
    bar_orient_combo->addItems({"Horizontal"});
    alignRow->addWidget(new QLabel(tr("Position:")));
    alignRow->addWidget(bar_align_combo);
    alignRow->addWidget(new QLabel(tr("Orientation:")));
    alignRow->addWidget(bar_orient_combo);
    alignRow->addStretch(1);
    pv->addLayout(alignRow);
    image_scroll = new QScrollArea(previewBox);
    image_scroll->setObjectName("image_scroll");
    image_scroll->setWidgetResizable(false);
    image_scroll->setAlignment(Qt::AlignCenter);
    image_scroll->setFrameShape(QFrame::StyledPanel);
    barcodeImage = new QLabel;
    barcodeImage->setObjectName("barcodeImage");
    barcodeImage->setAlignment(Qt::AlignCenter);
    barcodeImage->setAutoFillBackground(true);
    QPalette pal = barcodeImage->palette();
    pal.setColor(QPalette::Window, QColor(236, 238, 242));
    barcodeImage->setPalette(pal);
    image_scroll->setWidget(barcodeImage);
    pv->addWidget(image_scroll, 1);
    barcode_error_label = new QLabel(tr("No barcode: the value cannot be encoded with this symbology."));
    barcode_error_label->setObjectName("barcode_error_label");
    barcode_error_label->setStyleSheet("color: #b00020;");
    // The message keeps its place when hidden, so the preview does not jump.
    QSizePolicy errorPolicy = barcode_error_label->sizePolicy();
    errorPolicy.setRetainSizeWhenHidden(true);
    barcode_error_label->setSizePolicy(errorPolicy);
    barcode_error_label->setVisible(false);
    pv->addWidget(barcode_error_label);
    outer->addWidget(previewBox, 1);
    return page;
}

QWidget* LMNWindowController::buildDesignTab()
{
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    myTargetView = new QWidget(page);
    myTargetView->setObjectName("myTargetView");
    auto* tv = new QVBoxLayout(myTargetView);
    tv->setContentsMargins(0, 0, 0, 0);
    first_view = new QWidget(myTargetView);
    auto* fv = new QVBoxLayout(first_view);
    fv->setContentsMargins(0, 0, 0, 0);
    m_document = std::make_unique<LMNDocument>();
    _zoomingScrollView = new LMNZoomingScrollView(first_view);
    _graphicView = new LMNGraphicView;
    _graphicView->bindGraphics(m_document.get());
    _graphicView->setGrid(_grid);
    _graphicView->setCardSize(m_document->canvasSize(true, QSizeF()));
    _zoomingScrollView->setDocumentView(_graphicView);
    canvas_view = _zoomingScrollView;
    fv->addWidget(canvas_view);
    tv->addWidget(first_view);
    h->addWidget(myTargetView, 1);

    Right_Prop_Box = new QGroupBox(tr("Properties"), page);
    Right_Prop_Box->setObjectName("Right_Prop_Box");
    Right_Prop_Box->setFixedWidth(370);   // room for the five card tabs side by side
    auto* rv = new QVBoxLayout(Right_Prop_Box);
    sett_tab = new QTabWidget(Right_Prop_Box);
    sett_tab->setObjectName("sett_tab");
    sett_tab_titles = {tr("Card"), tr("Info"), tr("Size"), tr("Background"), tr("Border"),
                       tr("Line"), tr("Shape"), tr("Text"), tr("Text style"), tr("Picture"),
                       tr("Signature"), tr("Data source"), tr("Alignment"), tr("Barcode"), tr("Lock")};
    for (int i = 0; i < sett_tab_titles.size(); ++i) {
        auto* panel = new QWidget;
        panel->setObjectName(QStringLiteral("sett_tab_item_%1").arg(i));
        new QVBoxLayout(panel);
        sett_tab_items << panel;
        sett_tab->addTab(panel, sett_tab_titles[i]);
    }
    rv->addWidget(sett_tab);
    h->addWidget(Right_Prop_Box);
    return page;
}

void LMNWindowController::setFontLabel(QLabel* label, const QFont& font)
{
    label->setText(QStringLiteral("%1 ( %2 )").arg(font.family()).arg(font.pointSizeF(), 0, 'f', 2));
}

// ---------------------------------------------------------------- start-up

void LMNWindowController::awakeFromNib()
{
    liner_or_2D_font = 0;
    bar_image_frame_rect = image_scroll->geometry();

    // The DPI tab stays out of the view while a linear symbology is chosen.
    const int dpiIndex = sett_tab_barcode->indexOf(dpi_tab_item);
    if (dpiIndex >= 0)
        sett_tab_barcode->removeTab(dpiIndex);

    setStyleSheet(QStringLiteral("QMainWindow { background: rgb(241, 244, 250); }"));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        resize(qMin(1360, avail.width()), qMin(860, avail.height()));
    }

    // The per-user data folder must exist: nothing can be kept without it.
    if (Created_Resource_Path.isEmpty() || !Create_Folder(Created_Resource_Path)
        || !QFileInfo(Created_Resource_Path).isWritable()) {
        m_startupOk = false;
        Main_Show_Message(QStringLiteral("Can not access Data file."));
        Terminate_Application(1);
        return;
    }
    Set_Data_Folder_Path(QDir(Created_Resource_Path).filePath(QStringLiteral("DataSet")));
    Get_Email_Details();

    Not_Draw_Only_Prop_Change_Set(true);

    // Keep the fifteen property panels; only the five card panels stand in the view.
    for (int i = sett_tab->count() - 1; i >= 5; --i)
        sett_tab->removeTab(i);

    fillStartLists();
    SetEnabled_Recursive(batch_chk_Gp_Bx, false);
    SetEnabled_Recursive(data_Sheet_Gp_Bx, false);

    def_barcode_hdr_str = QStringLiteral("HEADER");
    const QString defValue = tr("123456789012");
    dataText->setText(defValue);
    dataText_2D->setPlainText(defValue);
    HeaderText->setText(def_barcode_hdr_str);
    FooterText->setText(QStringLiteral("FOOTER"));

    Measument_Unit_Is = 2;
    last_unit_val = 2;
    Measument_Unit_Is_Barcode = 1;
    last_unit_val_Barcode = 1;

    // Starting values of the pairs (the steppers hold them already).
    for (auto [text, stepper] : std::initializer_list<std::pair<QLineEdit*, Stepper*>>{
             {val_mar_Text, val_mar_Stepper}, {hdr_mar_Text, hdr_mar_Stepper},
             {ftr_mar_Text, ftr_mar_Stepper}, {TB_mar_Text, TB_mar_Stepper},
             {LR_mar_Text, LR_mar_Stepper}, {HeightText, HeightStepper}})
        text->setText(pairText(stepper, false));
    widthText->setText(pairText(widthStepper, false));
    HeightStepper_2D->setValue(60);
    for (auto [text, stepper] : std::initializer_list<std::pair<QLineEdit*, Stepper*>>{
             {HeightText_2D, HeightStepper_2D}, {Pdf_widthText_2D, Pdf_widthStepper_2D},
             {pdf_HeightText_2D, pdf_HeightStepper_2D}, {pdf_row_Text, pdf_row_Stepper},
             {pdf_col_Text, pdf_col_Stepper}, {pdf_ec_lvl_Text, pdf_ec_lvl_Stepper},
             {dm_widthText_2D, dm_widthStepper_2D}, {dm_HeightText_2D, dm_HeightStepper_2D},
             {dm_moduleText_2D, dm_moduleStepper_2D}, {dpi_Text, dpi_Stepper}})
        text->setText(QString::number(stepper->intValue()));
    dpi_Text->setVisible(false);
    dpi_Stepper->setVisible(false);

    setFontLabel(value_font_value, value_font);
    setFontLabel(header_font_value, header_font);
    setFontLabel(footer_font_value, footer_font);

    align_hdr_combo->setCurrentIndex(1);
    align_ftr_combo->setCurrentIndex(1);
    for (QComboBox* c : {qr_enc_mode_ComboBox, qr_version_ComboBox, qr_ec_lvl_ComboBox,
                         bar_align_combo, bar_orient_combo, DPI_ComboBox})
        c->setCurrentIndex(0);
    _setLabels();
    _setLabels_Barcode();

    Liner_Barcode_Opt_Select();
    Not_Draw_Only_Prop_Change_Set(false);
    bar_image_frame_rect = image_scroll->geometry();

    goButtonActionPerformed();
    New_Project_Setting_Reset(1);
    Show_RHS_Properties(nullptr);
    Zoom_In_Toolbar_btn();
    Set_Canvas_to_100_percent();
    Refresh_Canvas();
    changeViewController(0);
    Show_Hide_Main_Window(1);
    Invalid_Barcode_Data_Image = Invalid_Data_Image(QSize(200, 100));
}

// Lists the start-up code fills: label stock and the 2D option lists.
void LMNWindowController::fillStartLists()
{
    Label_List = QStringList{QStringLiteral("Custom")};
    const QDir pages(Resource_Path + QStringLiteral("/Formats/pages/"));
    if (pages.exists()) {
        for (const QFileInfo& fi : pages.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            if (fi.suffix().toLower() == QLatin1String("xml"))
                Label_List << fi.completeBaseName();
    }

    qr_version_ComboBox->clear();
    qr_version_ComboBox->addItems(QR_Version_Items());      // "Auto", "V1" ... "V40"
    qr_version_ComboBox->setCurrentIndex(0);
    dm_format_ComboBox->clear();
    dm_format_ComboBox->addItems(DM_Format_Items());        // "Auto", squares, rectangles
    dm_format_ComboBox->setCurrentIndex(0);
    dm_encoding_ComboBox->clear();
    dm_encoding_ComboBox->addItems(DM_Encoding_Items());    // "Auto", "Ascii", "C40", "Text", "Base256"
    dm_encoding_ComboBox->setCurrentIndex(0);
}

void LMNWindowController::applicationDidFinishLaunching()
{
    show();
    raise();
    activateWindow();
}

void LMNWindowController::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    screenResize();
}

void LMNWindowController::screenResize()
{
    if (!m_startupOk || Barcode_Setting_Or_Designing_Mode != 0)
        return;
    goButtonActionPerformed();
}

// An empty new project. The design-file, undo and series parts of the reset
// arrive with their subsystems; the folders are made here.
void LMNWindowController::New_Project_Setting_Reset(int flag)
{
    _zoomFactor = 1.0;
    if (m_document) {
        QList<int> all;
        for (int i = 0; i < m_document->graphics().size(); ++i)
            all << i;
        if (!all.isEmpty())
            m_document->removeGraphicsAtIndexes(all);
        m_document->Clear_All_Undo_Redo();
    }
    Check_Path_And_Create_Files_Now();
    Show_Hide_Main_Window(0);
}

void LMNWindowController::Show_RHS_Properties(LMNGraphic* item)
{
    if (item)
        return;
    // The card panel: the five card tabs.
    const bool wasLoading = Not_Draw_Only_Prop_Change_Get();
    Not_Draw_Only_Prop_Change_Set(true);
    while (sett_tab->count() > 5)
        sett_tab->removeTab(sett_tab->count() - 1);
    for (int i = 0; i < 5; ++i)
        if (sett_tab->indexOf(sett_tab_items[i]) < 0)
            sett_tab->insertTab(i, sett_tab_items[i], sett_tab_titles[i]);
    Not_Draw_Only_Prop_Change_Set(wasLoading);
}

void LMNWindowController::Zoom_In_Toolbar_btn()
{
    _zoomFactor = std::min(_zoomFactor * 2.0, 4.0);
    _zoomingScrollView->setFactor(_zoomFactor);
}

void LMNWindowController::Set_Canvas_to_100_percent()
{
    _zoomFactor = 1.0;
    _zoomingScrollView->setFactor(_zoomFactor);
}

QList<LMNGraphic*> LMNWindowController::Get_Front_Controls_Array() const
{
    return m_document ? m_document->graphicsPointers() : QList<LMNGraphic*>();
}

void LMNWindowController::Refresh_Canvas()
{
    if (Card_Value_In_Process)
        return;
    if (_graphicView)
        _graphicView->update();
    if (canvas_view)
        canvas_view->update();
}

void LMNWindowController::changeViewController(int index)
{
    if (index == 0 && first_view)
        first_view->show();
}

void LMNWindowController::Show_Hide_Main_Window(int flag)
{
    myTargetView->setVisible(flag == 1);
    Right_Prop_Box->setVisible(flag == 1);
}

void LMNWindowController::Show_Canvas_And_Right_Prop()
{
    Show_Hide_Main_Window(1);
}

void LMNWindowController::_setLabels()
{
    _setLabels_Barcode();
}

void LMNWindowController::_setLabels_Barcode()
{
    const QString u = Unit_Caption(Measument_Unit_Is_Barcode);
    bar_height_label->setText(tr("Bar Height (%1):").arg(u));
    margin_box->setTitle(tr("Margins (%1)").arg(u));
}

void LMNWindowController::Set_Log_Name_In_Title()
{
    setWindowTitle(Barcode_Setting_Or_Designing_Mode == 0 ? tr("%1 - Barcode").arg(App_Name())
                                                          : tr("%1 - Design").arg(App_Name()));
}

// ---------------------------------------------------------------- modes

void LMNWindowController::tabView_didSelectTabViewItem(QTabWidget* tabView, int index)
{
    if (tabView == Barcode_mode_tab) {
        QWidget* t = Barcode_mode_tab->widget(index);
        if (t == Barcode_setting_tab) {
            Barcode_Setting_Or_Designing_Mode = 0;
            Set_Log_Name_In_Title();
            goButtonActionPerformed();
        } else if (t == Barcode_Design_tab) {
            Barcode_Setting_Or_Designing_Mode = 1;
            Set_Log_Name_In_Title();
        }
        return;
    }
    if (tabView == sett_tab && !Not_Draw_Only_Prop_Change_Get() && sett_tab->count() == 5) {
        // The card panel: remember the card tab the user chose.
        Last_Card_Sel_Tab = sett_tab->widget(index);
    }
}

void LMNWindowController::Barcode_Mode_Select()
{
    Barcode_Setting_Or_Designing_Mode = 0;
    Barcode_mode_tab->setCurrentIndex(0);
    Set_Log_Name_In_Title();
}

void LMNWindowController::Designing_Mode_Select()
{
    Barcode_Setting_Or_Designing_Mode = 1;
    Barcode_mode_tab->setCurrentIndex(Barcode_mode_tab->count() - 1);
    Set_Log_Name_In_Title();
}
