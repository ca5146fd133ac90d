// The barcode tab of the main window: its layout, the settings controls, the
// symbology choice with its option panes, and the preview.
#include "mainwindow/BarcodeModeView.h"

#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/util/BarcodeServices.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>

int Measument_Unit_Is_Barcode = 1;
int last_unit_val_Barcode = 1;
QString def_barcode_hdr_str;

namespace {
bool isTwoDName(const QString& t)
{
    return t == QLatin1String("QR Code") || t == QLatin1String("PDF417") || t == QLatin1String("DataMatrix");
}

// Integer value of a text the way a field reads it: leading number, else 0.
int intOf(const QString& text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    return ok ? static_cast<int>(d) : 0;
}

float floatOf(const QString& text)
{
    bool ok = false;
    const float f = text.trimmed().toFloat(&ok);
    return ok ? f : 0.0f;
}
} // namespace

namespace {
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

BarcodeModeView::BarcodeModeView(QWidget* parent) : QWidget(parent)
{
    value_font = QFont(Text_Ctrl_Font, 10);
    header_font = value_font;
    footer_font = value_font;
    buildTab();
    connectBarcodeControls();
    // Barcode mode owns the settings of mode 0. Engines may ask from a worker
    // thread; they get the copy published after the last change.
    publishSettings();
    Set_Barcode_Settings_Source(0, [this] { return Barcode_Settings(); });
}

BarcodeModeView::~BarcodeModeView()
{
    Set_Barcode_Settings_Source(0, nullptr);
}

void BarcodeModeView::buildTab()
{
    auto* page = this;
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
        g->addWidget(helpButton(two_d_sett_box, &BarcodeModeView::QR_Version_Help_Btn), 2, 2);
        g->addWidget(new QLabel(tr("EC level:")), 3, 0);
        g->addWidget(qr_ec_lvl_ComboBox, 3, 1);
        g->addWidget(helpButton(two_d_sett_box, &BarcodeModeView::QR_EC_Lvl_Help_Btn), 3, 2);
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
        g->addWidget(helpButton(pdf_2d_sett_box, &BarcodeModeView::PDF_row_Help_btn), 2, 2);
        g->addWidget(helpButton(pdf_2d_sett_box, &BarcodeModeView::PDF_col_Help_btn), 3, 2);
        g->addWidget(helpButton(pdf_2d_sett_box, &BarcodeModeView::PDF_ec_lvl_Help_btn), 4, 2);
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
        g->addWidget(helpButton(dm_2d_sett_box, &BarcodeModeView::DM_format_Help_btn), 3, 2);
        g->addWidget(new QLabel(tr("Encoding mode:")), 4, 0);
        g->addWidget(dm_encoding_ComboBox, 4, 1);
        g->addWidget(helpButton(dm_2d_sett_box, &BarcodeModeView::DM_Encoding_Help_btn), 4, 2);
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
        g->addWidget(helpButton(dpi_tab_item, &BarcodeModeView::DPI_Help_Label), 0, 2);
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
        g->addWidget(helpButton(batch_chk_Gp_Bx, &BarcodeModeView::Batch_Help_Button), 0, 2, Qt::AlignRight);
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
}

// ---------------------------------------------------------------- start-up

void BarcodeModeView::awakeFromNib()
{
    liner_or_2D_font = 0;
    bar_image_frame_rect = image_scroll->geometry();

    // The DPI tab stays out of the view while a linear symbology is chosen.
    const int dpiIndex = sett_tab_barcode->indexOf(dpi_tab_item);
    if (dpiIndex >= 0)
        sett_tab_barcode->removeTab(dpiIndex);

    const bool wasLoading = Not_Draw_Only_Prop_Change_Get();
    Not_Draw_Only_Prop_Change_Set(true);
    fillStartLists();
    SetEnabled_Recursive(batch_chk_Gp_Bx, false);
    SetEnabled_Recursive(data_Sheet_Gp_Bx, false);

    def_barcode_hdr_str = QStringLiteral("HEADER");
    const QString defValue = tr("123456789012");
    dataText->setText(defValue);
    dataText_2D->setPlainText(defValue);
    HeaderText->setText(def_barcode_hdr_str);
    FooterText->setText(QStringLiteral("FOOTER"));

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
    _setLabels_Barcode();

    Liner_Barcode_Opt_Select();
    Not_Draw_Only_Prop_Change_Set(wasLoading);
    bar_image_frame_rect = image_scroll->geometry();
}

// The 2D option lists.
void BarcodeModeView::fillStartLists()
{
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

void BarcodeModeView::setFontLabel(QLabel* label, const QFont& font)
{
    label->setText(QStringLiteral("%1 ( %2 )").arg(font.family()).arg(font.pointSizeF(), 0, 'f', 2));
}

void BarcodeModeView::_setLabels_Barcode()
{
    const QString u = Unit_Caption(Measument_Unit_Is_Barcode);
    bar_height_label->setText(tr("Bar Height (%1):").arg(u));
    margin_box->setTitle(tr("Margins (%1)").arg(u));
}

// ---------------------------------------------------------------- wiring

void BarcodeModeView::connectBarcodeControls()
{
    connect(barcodeTypePopup, QOverload<int>::of(&QComboBox::activated), this, [this] { barcodeTypeChanged(); });
    connect(Linear_Barcode_RD, &QRadioButton::clicked, this, [this] { Linear_Barcode_Select(); });
    connect(TwoD_Barcode_RD, &QRadioButton::clicked, this, [this] { TwoD_Barcode_Select(); });
    connect(encode_btn, &QPushButton::clicked, this, [this] { Encode_btn(); });

    for (QLineEdit* f : {dataText, HeaderText, FooterText})
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
    connect(dataText_2D, &QPlainTextEdit::textChanged, this, [this] { controlTextDidChange(dataText_2D); });

    connect(val_font_btn, &QPushButton::clicked, this, [this] { Value_Font_Changed(); });
    connect(hdr_font_btn, &QPushButton::clicked, this, [this] { Header_Font_Changed(); });
    connect(ftr_font_btn, &QPushButton::clicked, this, [this] { Footer_Font_Changed(); });

    for (ColorWell* w : {barcode_clr, bar_back_clr, bar_val_clr})
        connect(w, &ColorWell::colorChanged, this, [this] { Set_Font_Clr(); });
    for (ColorWell* w : {bar_hdr_clr, bar_ftr_clr})
        connect(w, &ColorWell::colorChanged, this, [this] { Header_Color_Changed(); });
    connect(brcd_bk_clr_rd, &QRadioButton::clicked, this, [this] { Barcode_Back_Color_rd_clicked(); });
    connect(brcd_bk_clr_trnsp_rd, &QRadioButton::clicked, this, [this] { Barcode_Back_Color_Transp_rd_clicked(); });
    connect(transparent_bkgnd, &QCheckBox::clicked, this, [this] { Transparent_Bkngd_Clicked(); });

    connect(captionCheckbox, &QCheckBox::clicked, this, [this] { captionChanged(); });
    connect(showinTopCheckbox, &QCheckBox::clicked, this, [this] { showinTopChanged(); });
    connect(hideHeaderCheckbox, &QCheckBox::clicked, this, [this] { hideHeaderChanged(); });
    connect(hideFooterCheckbox, &QCheckBox::clicked, this, [this] { hideFooterChanged(); });
    connect(kerning_value_Checkbox, &QCheckBox::clicked, this, [this] { kerningChanged(); });

    // A pair answers to its text field (when editing ends) and to its stepper.
    auto pair = [this](QLineEdit* text, Stepper* stepper, void (BarcodeModeView::*handler)(QObject*)) {
        connect(text, &QLineEdit::editingFinished, this, [this, text, handler] {
            if (text->isModified()) {
                text->setModified(false);
                (this->*handler)(text);
            }
        });
        connect(stepper, &Stepper::stepped, this, [this, stepper, handler] { (this->*handler)(stepper); });
    };
    pair(val_mar_Text, val_mar_Stepper, &BarcodeModeView::Value_Margin_Changed);
    pair(hdr_mar_Text, hdr_mar_Stepper, &BarcodeModeView::Header_Margin_Changed);
    pair(ftr_mar_Text, ftr_mar_Stepper, &BarcodeModeView::Footer_Margin_Changed);
    pair(TB_mar_Text, TB_mar_Stepper, &BarcodeModeView::TB_Margin_Changed);
    pair(LR_mar_Text, LR_mar_Stepper, &BarcodeModeView::LR_Margin_Changed);
    pair(HeightText, HeightStepper, &BarcodeModeView::heightChanged);
    pair(HeightText_2D, HeightStepper_2D, &BarcodeModeView::heightChanged);
    pair(widthText, widthStepper, &BarcodeModeView::widthChanged);
    pair(Pdf_widthText_2D, Pdf_widthStepper_2D, &BarcodeModeView::widthChanged);
    pair(pdf_HeightText_2D, pdf_HeightStepper_2D, &BarcodeModeView::pdf_heightChanged);
    pair(pdf_row_Text, pdf_row_Stepper, &BarcodeModeView::PDF_Row_Changed);
    pair(pdf_col_Text, pdf_col_Stepper, &BarcodeModeView::PDF_Col_Changed);
    pair(pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, &BarcodeModeView::PDF_EC_Lvl_Changed);
    pair(dm_widthText_2D, dm_widthStepper_2D, &BarcodeModeView::dm_widthChanged);
    pair(dm_HeightText_2D, dm_HeightStepper_2D, &BarcodeModeView::dm_heightChanged);
    pair(dm_moduleText_2D, dm_moduleStepper_2D, &BarcodeModeView::dm_modulesizeChanged);
    pair(dpi_Text, dpi_Stepper, &BarcodeModeView::DPI_Value_Changed);

    for (QComboBox* c : {DPI_ComboBox, qr_enc_mode_ComboBox, qr_version_ComboBox, qr_ec_lvl_ComboBox,
                         dm_format_ComboBox, dm_encoding_ComboBox, align_hdr_combo, align_ftr_combo,
                         bar_align_combo, bar_orient_combo})
        connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, c] { comboBoxSelectionDidChange(c); });
}

// ---------------------------------------------------------------- settings value

bool BarcodeModeView::Settings_Loading() const { return Not_Draw_Only_Prop_Change_Get(); }

QString BarcodeModeView::Barcode_Type_Name() const { return barcodeTypePopup->currentText(); }

void BarcodeModeView::Write_Controls_To_Settings()
{
    if (Settings_Loading())
        return;
    BarcodeSettings& s = m_settings;
    s.setBarcodeType(Barcode_Type_Name());
    s.liner_or_2D_font = liner_or_2D_font;
    s.dataText = dataText->text();
    s.dataText_2D = dataText_2D->toPlainText();
    s.HeaderText = HeaderText->text();
    s.FooterText = FooterText->text();
    s.hide_value = captionCheckbox->isChecked();
    s.hide_header = hideHeaderCheckbox->isChecked();
    s.hide_footer = hideFooterCheckbox->isChecked();
    s.caption_check_enabled = captionCheckbox->isEnabled();
    s.bar_width_enabled = widthText->isEnabled();
    s.bar_height_enabled = HeightText->isEnabled();

    s.unit = Measument_Unit_Is_Barcode;
    s.bar_height = floatOf(HeightText->text());
    s.bar_width_mils = floatOf(widthText->text());
    s.val_mar = floatOf(val_mar_Text->text());
    s.hdr_mar = floatOf(hdr_mar_Text->text());
    s.ftr_mar = floatOf(ftr_mar_Text->text());
    s.TB_mar = floatOf(TB_mar_Text->text());
    s.LR_mar = floatOf(LR_mar_Text->text());

    s.value_font = value_font;
    s.header_font = header_font;
    s.footer_font = footer_font;
    s.barcode_clr = barcode_clr->color();
    s.bar_back_clr = bar_back_clr->color();
    s.bar_val_clr = bar_val_clr->color();
    s.bar_hdr_clr = bar_hdr_clr->color();
    s.bar_ftr_clr = bar_ftr_clr->color();
    s.align_hdr = align_hdr_combo->currentText();
    s.align_ftr = align_ftr_combo->currentText();
    s.showinTop = showinTopCheckbox->isChecked() ? 1 : 0;
    // A disabled kerning box (UPC and EAN) means no kerning, whatever its tick.
    s.kerning_value = (kerning_value_Checkbox->isChecked() && kerning_value_Checkbox->isEnabled()) ? 1 : 0;
    s.fill_transparent = liner_or_2D_font ? transparent_bkgnd->isChecked() : brcd_bk_clr_trnsp_rd->isChecked();

    s.qr_size = intOf(HeightText_2D->text());
    s.qr_version = qr_version_ComboBox->currentIndex();
    s.qr_ec_level = std::max(0, qr_ec_lvl_ComboBox->currentIndex());
    s.pdf_width = intOf(Pdf_widthText_2D->text());
    s.pdf_height = intOf(pdf_HeightText_2D->text());
    s.pdf_rows = intOf(pdf_row_Text->text());
    s.pdf_cols = intOf(pdf_col_Text->text());
    s.pdf_ec_level = pdf_ec_lvl_Stepper->intValue();
    s.dm_module = intOf(dm_moduleText_2D->text());
    s.dm_format = std::max(0, dm_format_ComboBox->currentIndex());
    s.dm_encoding = std::max(0, dm_encoding_ComboBox->currentIndex());
    s.dm_frame_border = true;
    s.dpi_choice = std::max(0, DPI_ComboBox->currentIndex());
    s.custom_dpi = dpi_Stepper->intValue();
    s.dpi = USED_DPI_VALUE;
    s.typing_2d = Type_draw_2d_flag != 0;
    publishSettings();
}

BarcodeSettings BarcodeModeView::Barcode_Settings() const
{
    if (QThread::currentThread() == thread())
        return m_settings;
    std::lock_guard<std::mutex> lock(m_publishedMutex);
    return m_published;
}

void BarcodeModeView::publishSettings()
{
    std::lock_guard<std::mutex> lock(m_publishedMutex);
    m_published = m_settings;
}

// ---------------------------------------------------------------- preview road

void BarcodeModeView::goButtonActionPerformed()
{
    if (Settings_Loading())
        return;
    try {
        Run_On_Main_Thread_And_Wait([this] { Generate_Barcode_Thread_Function(); });
    } catch (const std::exception& e) {
        Log_Message(QString::fromUtf8(e.what()));
    }
}

void BarcodeModeView::Generate_Barcode_Thread_Function()
{
    if (!Check_And_Validat_Barcode(false, false))
        return;
    Write_Controls_To_Settings();
    const QString value = liner_or_2D_font ? dataText_2D->toPlainText() : dataText->text();
    const PtImage image = m_road.encode(m_settings, value, HeaderText->text(), FooterText->text());
    if (liner_or_2D_font)
        Type_draw_2d_flag = 0;
    if (image.isNull())
        Set_Blank_Image();
    else
        Set_Barcode_On_Panel(image);
}

bool BarcodeModeView::Check_And_Validat_Barcode(bool showMessage, bool checkImage)
{
    barcode_error_label->setVisible(false);
    const QString value = liner_or_2D_font ? dataText_2D->toPlainText() : dataText->text();
    auto fail = [&] {
        Set_Blank_Image();
        if (showMessage)
            Main_Show_Message(QStringLiteral("Invalid barcode value or value is too long."));
        return false;
    };
    if (value.isEmpty())
        return fail();
    if (liner_or_2D_font == 0) {
        for (QChar c : value)
            if (c.unicode() > 127)
                return fail();
    }
    if (!checkImage)
        return true;
    if (m_road.hasLinear() && liner_or_2D_font == 0 && !m_road.linearContentValid())
        return fail();
    if (m_previewImage.isNull())
        return fail();
    return true;
}

int BarcodeModeView::Get_Print_State()
{
    if (!captionCheckbox->isEnabled())
        return 0;
    if (captionCheckbox->isChecked()) {
        showinTopCheckbox->setEnabled(false);
        return 0;
    }
    showinTopCheckbox->setEnabled(true);
    return 1;
}

void BarcodeModeView::Set_Barcode_On_Panel(const PtImage& image)
{
    m_previewImage = image;
    showPreviewPixmap();
    barcode_error_label->setVisible(false);
    ++m_drawCount;
    publishSettings();   // the road filled in margins and frame in points
    emit previewChanged();
}

// Shows the preview image at the size it prints (a point is 1/72 inch on
// screen too), drawn for the screen's pixels rather than resampled, in a view
// at least as large as the visible area.
void BarcodeModeView::showPreviewPixmap()
{
    const QSize viewport = image_scroll->viewport()->size();
    if (m_previewImage.isNull()) {
        barcodeImage->clear();
        barcodeImage->resize(viewport);
        return;
    }
    const qreal dpr = std::max<qreal>(1.0, devicePixelRatioF());
    double scale = std::max(1.0, logicalDpiX() / 72.0) * dpr;
    // A very large symbol is shown smaller rather than filling the memory.
    constexpr double kMaxPreviewPixels = 40e6;
    const double points = std::max(1.0, m_previewImage.size().width() * m_previewImage.size().height());
    scale = std::min(scale, std::sqrt(kMaxPreviewPixels / points));
    QPixmap pm = QPixmap::fromImage(m_previewImage.toImage(72.0 * scale));
    pm.setDevicePixelRatio(dpr);
    const QSizeF logical = m_previewImage.size() * (scale / dpr);
    barcodeImage->setPixmap(pm);
    barcodeImage->resize(std::max(qCeil(logical.width()), viewport.width()),
                         std::max(qCeil(logical.height()), viewport.height()));
}

void BarcodeModeView::Set_Blank_Image()
{
    m_road.forget2D();
    m_previewImage = PtImage();
    showPreviewPixmap();
    barcode_error_label->setVisible(true);
    emit previewChanged();
}

bool BarcodeModeView::Preview_Is_Blank() const { return m_previewImage.isNull(); }

void BarcodeModeView::Redraw_Linear()
{
    if (liner_or_2D_font != 0 || !m_road.hasLinear())
        return;
    // The kept symbol belongs to the last value that encoded: once the field
    // is emptied (or holds what no linear symbology takes) it must not come back.
    if (!Check_And_Validat_Barcode(false, false))
        return;
    Write_Controls_To_Settings();
    const PtImage image = m_road.redrawLinear(m_settings);
    if (image.isNull())
        Set_Blank_Image();
    else
        Set_Barcode_On_Panel(image);
}

void BarcodeModeView::Get_2d_barcode_from_image(bool draw)
{
    if (liner_or_2D_font == 0)
        return;
    Write_Controls_To_Settings();
    const PtImage image = m_road.reframe2D(m_settings);
    if (image.isNull()) {
        Set_Blank_Image();
        return;
    }
    if (draw)
        Set_Barcode_On_Panel(image);
}

void BarcodeModeView::Refresh_Look()
{
    if (liner_or_2D_font)
        Get_2d_barcode_from_image(true);
    else
        Redraw_Linear();
}

void BarcodeModeView::Remeasure_And_Redraw() { Refresh_Look(); }

// ---------------------------------------------------------------- fonts

void BarcodeModeView::Value_Font_Changed()
{
    val_font_btn->setFocus();
    if (!fontPanel) {
        fontPanel = new QFontDialog(this);
        fontPanel->setOption(QFontDialog::NoButtons, true);
        fontPanel->setWindowTitle(tr("Fonts"));
        connect(fontPanel, &QFontDialog::currentFontChanged, this, [this](const QFont& f) {
            switch (m_fontTarget) {
            case 1: header_changeFont(f); break;
            case 2: footer_changeFont(f); break;
            default: changeFont(f); break;
            }
        });
    }
    m_fontTarget = 0;
    QSignalBlocker block(fontPanel);
    fontPanel->setCurrentFont(value_font);
    fontPanel->show();
    fontPanel->raise();
}

void BarcodeModeView::Header_Font_Changed()
{
    Value_Font_Changed();
    hdr_font_btn->setFocus();
    m_fontTarget = 1;
    QSignalBlocker block(fontPanel);
    fontPanel->setCurrentFont(header_font);
}

void BarcodeModeView::Footer_Font_Changed()
{
    Value_Font_Changed();
    ftr_font_btn->setFocus();
    m_fontTarget = 2;
    QSignalBlocker block(fontPanel);
    fontPanel->setCurrentFont(footer_font);
}

void BarcodeModeView::changeFont(const QFont& font)
{
    value_font = font;
    setFontLabel(value_font_value, value_font);
    Refresh_Look();
}

void BarcodeModeView::header_changeFont(const QFont& font)
{
    header_font = font;
    setFontLabel(header_font_value, header_font);
    Refresh_Look();
}

void BarcodeModeView::footer_changeFont(const QFont& font)
{
    footer_font = font;
    setFontLabel(footer_font_value, footer_font);
    Refresh_Look();
}

// ---------------------------------------------------------------- colours

void BarcodeModeView::Set_Font_Clr() { Refresh_Look(); }

void BarcodeModeView::Header_Color_Changed() { Set_Font_Clr(); }

void BarcodeModeView::Barcode_Back_Color_rd_clicked()
{
    brcd_bk_clr_rd->setChecked(true);
    bar_back_clr->setEnabled(true);
    bar_back_clr->setColor(Qt::white);
    Set_Font_Clr();
}

void BarcodeModeView::Barcode_Back_Color_Transp_rd_clicked()
{
    brcd_bk_clr_trnsp_rd->setChecked(true);
    bar_back_clr->setEnabled(false);
    bar_back_clr->setColor(Qt::transparent);
    Set_Font_Clr();
}

void BarcodeModeView::Transparent_Bkngd_Clicked()
{
    const bool on = transparent_bkgnd->isChecked();
    bar_bk_clr_label->setEnabled(!on);
    bar_back_clr->setEnabled(!on);
    m_settings.fill_transparent = on;
    publishSettings();
    Refresh_Look();
}

// ---------------------------------------------------------------- pairs

QString BarcodeModeView::pairText(const Stepper* stepper, bool whole)
{
    return whole ? QString::number(stepper->intValue()) : QString::number(stepper->value(), 'g', 6);
}

void BarcodeModeView::syncPair(QObject* sender, QLineEdit* text, Stepper* stepper, bool whole)
{
    if (sender == stepper) {
        text->setText(pairText(stepper, whole));
        return;
    }
    const double typed = whole ? intOf(text->text()) : floatOf(text->text());
    stepper->setValue(typed);
    // The settings are read from the fields: a number outside the stepper's
    // range (or no number at all) is shown as the value the stepper kept.
    if (stepper->value() != typed || text->text().trimmed().isEmpty())
        text->setText(pairText(stepper, whole));
}

void BarcodeModeView::Value_Margin_Changed(QObject* sender)
{
    syncPair(sender, val_mar_Text, val_mar_Stepper, false);
    if (liner_or_2D_font == 0)
        Remeasure_And_Redraw();
}

void BarcodeModeView::Header_Margin_Changed(QObject* sender)
{
    syncPair(sender, hdr_mar_Text, hdr_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void BarcodeModeView::Footer_Margin_Changed(QObject* sender)
{
    syncPair(sender, ftr_mar_Text, ftr_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void BarcodeModeView::TB_Margin_Changed(QObject* sender)
{
    syncPair(sender, TB_mar_Text, TB_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void BarcodeModeView::LR_Margin_Changed(QObject* sender)
{
    syncPair(sender, LR_mar_Text, LR_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void BarcodeModeView::heightChanged(QObject* sender)
{
    if (sender == HeightText_2D || sender == HeightStepper_2D)
        syncPair(sender, HeightText_2D, HeightStepper_2D, true);
    else
        syncPair(sender, HeightText, HeightStepper, false);
    if (liner_or_2D_font)
        Regenerate();
    else
        Remeasure_And_Redraw();
}

void BarcodeModeView::widthChanged(QObject* sender)
{
    if (sender == Pdf_widthText_2D || sender == Pdf_widthStepper_2D)
        syncPair(sender, Pdf_widthText_2D, Pdf_widthStepper_2D, true);
    else
        syncPair(sender, widthText, widthStepper, false);
    if (liner_or_2D_font)
        Regenerate();
    else
        Remeasure_And_Redraw();
}

void BarcodeModeView::pdf_heightChanged(QObject* sender)
{
    syncPair(sender, pdf_HeightText_2D, pdf_HeightStepper_2D, true);
    Regenerate();
}

void BarcodeModeView::PDF_Row_Changed(QObject* sender)
{
    syncPair(sender, pdf_row_Text, pdf_row_Stepper, true);
    Regenerate();
}

void BarcodeModeView::PDF_Col_Changed(QObject* sender)
{
    syncPair(sender, pdf_col_Text, pdf_col_Stepper, true);
    Regenerate();
}

void BarcodeModeView::PDF_EC_Lvl_Changed(QObject* sender)
{
    syncPair(sender, pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, true);
    Regenerate();
}

void BarcodeModeView::dm_widthChanged(QObject* sender)
{
    syncPair(sender, dm_widthText_2D, dm_widthStepper_2D, true);
    Regenerate();
}

void BarcodeModeView::dm_heightChanged(QObject* sender)
{
    syncPair(sender, dm_HeightText_2D, dm_HeightStepper_2D, true);
    Regenerate();
}

void BarcodeModeView::dm_modulesizeChanged(QObject* sender)
{
    syncPair(sender, dm_moduleText_2D, dm_moduleStepper_2D, true);
    if (sender == dm_moduleStepper_2D)
        data_matrix_barcode_size_acc_format();
    Regenerate();
}

// Grows the Data Matrix width and height to the chosen symbol size ("C12X26":
// 12 rows, 26 columns) at the module size; larger values stay.
void BarcodeModeView::data_matrix_barcode_size_acc_format()
{
    const int m = dm_moduleStepper_2D->intValue();
    int b = 0, a = 0;   // columns, rows
    DM_Size_From_Format(dm_format_ComboBox->currentText(), b, a);
    if (dm_widthStepper_2D->intValue() < b * m) {
        dm_widthStepper_2D->setValue(b * m);
        dm_widthText_2D->setText(QString::number(b * m));
    }
    if (dm_HeightStepper_2D->intValue() < a * m) {
        dm_HeightStepper_2D->setValue(a * m);
        dm_HeightText_2D->setText(QString::number(a * m));
    }
}

void BarcodeModeView::DPI_Value_Changed(QObject* sender)
{
    if (sender == dpi_Stepper) {
        dpi_Text->setText(QString::number(dpi_Stepper->intValue()));
    } else {
        dpi_Stepper->setValue(intOf(dpi_Text->text()));
        dpi_Text->setText(QString::number(dpi_Stepper->intValue()));
    }
    USED_DPI_VALUE = dpi_Stepper->intValue();
    m_settings.dpi = USED_DPI_VALUE;
    m_settings.custom_dpi = USED_DPI_VALUE;
    publishSettings();
}

// The QR symbol of version v has 4 (v - 1) + 21 modules a side; the image is
// never smaller than one point a module.
void BarcodeModeView::Check_And_Set_QR_size_Acc_Version(int position)
{
    const int s = QR_Min_Size_For_Version(position);
    HeightStepper_2D->setMinimum(s);
    if (intOf(HeightText_2D->text()) < s) {
        HeightStepper_2D->setValue(s);
        HeightText_2D->setText(QString::number(s));
    }
}

// ---------------------------------------------------------------- switches

void BarcodeModeView::captionChanged()
{
    if (liner_or_2D_font) {
        Get_2d_barcode_from_image(true);
        return;
    }
    Get_Print_State();
    Redraw_Linear();
}

void BarcodeModeView::showinTopChanged() { Redraw_Linear(); }

void BarcodeModeView::hideHeaderChanged() { Refresh_Look(); }

void BarcodeModeView::hideFooterChanged() { Refresh_Look(); }

void BarcodeModeView::kerningChanged() { Redraw_Linear(); }

// ---------------------------------------------------------------- delegates

void BarcodeModeView::comboBoxSelectionDidChange(QComboBox* combo)
{
    const QString text = combo->currentText();
    if (combo == DPI_ComboBox) {
        const bool custom = text == QLatin1String("Custom");
        dpi_Stepper->setVisible(custom);
        dpi_Text->setVisible(custom);
        // "Auto" 600, "Custom" the stepper's value, any other item its own number.
        USED_DPI_VALUE = DPI_For_Choice(DPI_ComboBox->currentIndex(), dpi_Stepper->intValue());
        m_settings.dpi = USED_DPI_VALUE;
        m_settings.dpi_choice = DPI_ComboBox->currentIndex();
        publishSettings();
        return;
    }
    if (combo == align_hdr_combo || combo == align_ftr_combo || combo == bar_orient_combo) {
        Redraw_Linear();
        return;
    }
    if (combo == bar_align_combo) {
        static const QMap<QString, Qt::Alignment> codes{
            {"Center", Qt::AlignCenter},
            {"Top", Qt::AlignTop | Qt::AlignHCenter},
            {"TopLeft", Qt::AlignTop | Qt::AlignLeft},
            {"TopRight", Qt::AlignTop | Qt::AlignRight},
            {"Left", Qt::AlignLeft | Qt::AlignVCenter},
            {"Bottom", Qt::AlignBottom | Qt::AlignHCenter},
            {"BottomLeft", Qt::AlignBottom | Qt::AlignLeft},
            {"BottomRight", Qt::AlignBottom | Qt::AlignRight},
            {"Right", Qt::AlignRight | Qt::AlignVCenter}};
        if (codes.contains(text))
            barcodeImage->setAlignment(codes.value(text));
        return;
    }
    if (liner_or_2D_font == 0)
        return;
    if (combo == qr_enc_mode_ComboBox || combo == qr_ec_lvl_ComboBox || combo == dm_encoding_ComboBox) {
        Regenerate();
    } else if (combo == qr_version_ComboBox) {
        Check_And_Set_QR_size_Acc_Version(qr_version_ComboBox->currentIndex());
        Regenerate();
    } else if (combo == dm_format_ComboBox) {
        data_matrix_barcode_size_acc_format();
        Regenerate();
    }
}

void BarcodeModeView::controlTextDidChange(QObject* field)
{
    if (Settings_Loading())
        return;
    if (field != dataText && field != HeaderText && field != FooterText && field != dataText_2D)
        return;
    if (liner_or_2D_font == 0) {
        Regenerate();
        return;
    }
    if (field == dataText_2D) {
        Type_draw_2d_flag = 1;
        Regenerate();
    } else if (field == HeaderText || field == FooterText) {
        Get_2d_barcode_from_image(true);
    }
}

// ---------------------------------------------------------------- symbology

void BarcodeModeView::barcodeTypeChanged()
{
    const QString t = Barcode_Type_Name();
    QString v;
    if (isTwoDName(t)) {
        dataText_2D->moveCursor(QTextCursor::Start);
        liner_or_2D_font = 1;
        two_d_barcode_Opt_Select();
        v = dataText_2D->toPlainText();
    } else {
        liner_or_2D_font = 0;
        Liner_Barcode_Opt_Select();
        v = dataText->text();
        for (QWidget* w : std::initializer_list<QWidget*>{
                 HeightStepper, HeightText, widthStepper, widthText, captionCheckbox,
                 hideHeaderCheckbox, hideFooterCheckbox, FooterText, val_mar_Text, hdr_mar_Text,
                 ftr_mar_Text, val_mar_Stepper, hdr_mar_Stepper, ftr_mar_Stepper, align_hdr_combo,
                 align_ftr_combo, showinTopCheckbox, kerning_value_Checkbox})
            w->setEnabled(true);
    }
    if (v.isEmpty()) {
        Set_Blank_Image();
        return;
    }
    // UPC and EAN captions have fixed digit groups: no letter spacing.
    if (t == QLatin1String("UPCE") || t == QLatin1String("UPCA") || t == QLatin1String("EAN-8")
        || t == QLatin1String("EAN-13"))
        kerning_value_Checkbox->setEnabled(false);
    Regenerate();
}

void BarcodeModeView::Liner_Barcode_Opt_Select()
{
    liner_or_2D_font = 0;
    Linear_Barcode_RD->setChecked(true);
    const bool valueFromSeries = data_source_chkbox->isChecked() && barcode_value_chk->isChecked()
        && Data_Set_Sheet_RD->isChecked();
    if (!valueFromSeries) {
        dataText->setEnabled(true);
        dataText->setVisible(true);
        dataText_2D->setVisible(false);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             showinTopCheckbox, captionCheckbox, val_mar_Text, val_mar_Stepper, val_mar_label,
             val_font_label, val_font_btn, value_font_value, barcode_clr, bar_back_clr, bar_val_clr,
             val_clr_label, bar_clr_label, bar_bk_clr_label, linear_sett_box, brcd_bk_clr_rd,
             brcd_bk_clr_trnsp_rd})
        w->setVisible(true);
    for (QWidget* w : std::initializer_list<QWidget*>{transparent_bkgnd, two_d_sett_box,
                                                     pdf_2d_sett_box, dm_2d_sett_box})
        w->setVisible(false);
    // The DPI choice concerns 2D symbols only.
    const int dpi = sett_tab_barcode->indexOf(dpi_tab_item);
    if (dpi >= 0)
        sett_tab_barcode->removeTab(dpi);
    sett_tab_barcode->setCurrentIndex(0);
}

void BarcodeModeView::two_d_barcode_Opt_Select()
{
    liner_or_2D_font = 1;
    TwoD_Barcode_RD->setChecked(true);
    const bool valueFromSeries = data_source_chkbox->isChecked() && barcode_value_chk->isChecked()
        && Data_Set_Sheet_RD->isChecked();
    if (!valueFromSeries) {
        dataText->setVisible(false);
        dataText_2D->setVisible(true);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             showinTopCheckbox, captionCheckbox, val_mar_Text, val_mar_Stepper, val_mar_label,
             val_font_label, val_font_btn, value_font_value, barcode_clr, bar_back_clr, bar_val_clr,
             val_clr_label, bar_clr_label, bar_bk_clr_label, brcd_bk_clr_rd, brcd_bk_clr_trnsp_rd,
             linear_sett_box})
        w->setVisible(false);
    transparent_bkgnd->setVisible(true);
    const QString t = Barcode_Type_Name();
    if (t == QLatin1String("QR Code") || t == QLatin1String("PDF417") || t == QLatin1String("DataMatrix")) {
        two_d_sett_box->setVisible(t == QLatin1String("QR Code"));
        pdf_2d_sett_box->setVisible(t == QLatin1String("PDF417"));
        dm_2d_sett_box->setVisible(t == QLatin1String("DataMatrix"));
    }
    if (sett_tab_barcode->indexOf(dpi_tab_item) < 0)
        sett_tab_barcode->addTab(dpi_tab_item, tr("DPI"));
}

void BarcodeModeView::Linear_Barcode_Select()
{
    Liner_Barcode_Opt_Select();
    dataText->setFocus();
    Regenerate();
}

void BarcodeModeView::TwoD_Barcode_Select()
{
    two_d_barcode_Opt_Select();
    Regenerate();
}

// ---------------------------------------------------------------- help

void BarcodeModeView::showHelp(const QString& title, const QString& text)
{
    Cutom_Msg_Title = title;
    Cutom_Msg_Val = text;
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    box->title_val = QString();
    box->apply_chk_show = false;
    box->Open_Long_sms_Dialog();
}

QWidget* BarcodeModeView::helpButton(QWidget* parent, void (BarcodeModeView::*handler)())
{
    auto* b = new QPushButton(QStringLiteral("?"), parent);
    b->setFixedSize(22, 22);
    b->setToolTip(tr("Help"));
    connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    return b;
}

void BarcodeModeView::Barcode_Data_Source_Help_Button()
{
    showHelp(QStringLiteral("Batch Processing Settings Help :"),
             QStringLiteral("Select Data Source to enter barcode value.\nSelect Data Source as 'Manual' to enter "
                            "barcode value manually, Select 'Batch Processing Series' to fetch the barcode value "
                            "from the list of existing Batch Processing Series."));
}

void BarcodeModeView::Batch_Help_Button()
{
    showHelp(QStringLiteral("Batch Processing Settings Help :"),
             QStringLiteral("Select these option to fetch the barcode value from the list of existing Batch "
                            "Processing Series.\nor\nRemained unselect to enter barcode value manually. "));
}

void BarcodeModeView::QR_Version_Help_Btn()
{
    showHelp(QStringLiteral("Version :"),
             QStringLiteral("Version is configuration or number of modules (combination of black and white dots)."));
}

void BarcodeModeView::QR_EC_Lvl_Help_Btn()
{
    showHelp(QStringLiteral("Error correction (EC) level :"),
             QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still "
                            "be decoded even if it is damaged."));
}

void BarcodeModeView::PDF_row_Help_btn()
{
    showHelp(QStringLiteral("PDF Rows :"), QStringLiteral("Number of rows in the PDF barcode."));
}

void BarcodeModeView::PDF_col_Help_btn()
{
    showHelp(QStringLiteral("PDF Columns :"), QStringLiteral("Number of columns in the PDF barcode."));
}

void BarcodeModeView::PDF_ec_lvl_Help_btn()
{
    showHelp(QStringLiteral("PDF EC Level :"),
             QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still "
                            "be decoded even if it is damaged in PDF barcode."));
}

void BarcodeModeView::DM_format_Help_btn()
{
    showHelp(QStringLiteral("Preferred Format :"),
             QStringLiteral("Preferred Mode determines the smallest size of the symbol."));
}

void BarcodeModeView::DM_Encoding_Help_btn()
{
    showHelp(QStringLiteral("Encoding Mode :"),
             QStringLiteral("Encoding Mode is mode of compaction to encode data in the symbol."));
}

void BarcodeModeView::DPI_Help_Label()
{
    showHelp(DPI_Help_Title(), DPI_Help_Text());
}
