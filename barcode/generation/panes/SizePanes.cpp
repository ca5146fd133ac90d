#include "barcode/generation/panes/SizePanes.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/TwoDSymbols.h"
#include "barcode/generation/panes/Stepper.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// Width of the label column of the size boxes, so their fields line up.
constexpr int kLabelColumn = 125;

QGroupBox* Box(QWidget* pane, const char* name, const QString& title, QGridLayout** grid)
{
    auto* outer = new QVBoxLayout(pane);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* box = new QGroupBox(title, pane);
    box->setObjectName(QString::fromLatin1(name));
    outer->addWidget(box);
    *grid = new QGridLayout(box);
    (*grid)->setColumnMinimumWidth(0, kLabelColumn);
    (*grid)->setColumnStretch(3, 1);
    return box;
}

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    c->setMaxVisibleItems(12);
    return c;
}

void Select(QComboBox* c, int index)
{
    c->setCurrentIndex(index >= 0 && index < c->count() ? index : 0);
}

} // namespace

// ---------------------------------------------------------------- linear bars

LinearPane::LinearPane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    QGridLayout* g = nullptr;
    linear_sett_box = Box(this, "linear_sett_box", tr("Bars"), &g);
    HeightText = lengthField(linear_sett_box, "HeightText");
    HeightStepper = makeStepper(linear_sett_box, "HeightStepper", kBarHeightMin, kBarHeightMax, 0.1, 1.0);
    widthText = numberField(linear_sett_box, "widthText");
    widthStepper = makeStepper(linear_sett_box, "widthStepper", kBarWidthMilsMin, kBarWidthMilsMax, 1, 20);
    bar_height_label = new QLabel(linear_sett_box);
    bar_height_label->setObjectName("bar_height_label");
    bar_width_label = new QLabel(tr("Bar Width (Mils):"), linear_sett_box);
    bar_width_label->setObjectName("bar_width_label");
    addPairRow(g, 0, bar_height_label, HeightText, HeightStepper);
    addPairRow(g, 1, bar_width_label, widthText, widthStepper);
    connectPair(HeightText, HeightStepper, &LinearPane::heightChanged);
    connectPair(widthText, widthStepper, &LinearPane::widthChanged);
    setUnit(1);
}

void LinearPane::setUnit(int unit)
{
    m_unit = unit;
    bar_height_label->setText(tr("Bar Height (%1):").arg(Unit_Name(unit)));
}

void LinearPane::loadControls(const BarcodeSettings& s)
{
    setUnit(s.unit);
    setPair(HeightText, HeightStepper, s.bar_height, false, m_unit);
    setPair(widthText, widthStepper, s.bar_width_mils, false);
    HeightText->setEnabled(s.bar_height_enabled);
    HeightStepper->setEnabled(s.bar_height_enabled);
    widthText->setEnabled(s.bar_width_enabled);
    widthStepper->setEnabled(s.bar_width_enabled);
}

void LinearPane::writeTo(BarcodeSettings& s) const
{
    s.bar_height = float(HeightStepper->value());
    s.bar_width_mils = float(widthStepper->value());
    s.bar_height_enabled = HeightText->isEnabled();
    s.bar_width_enabled = widthText->isEnabled();
}

void LinearPane::enableLinearControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{HeightStepper, HeightText, widthStepper, widthText})
        w->setEnabled(true);
}

void LinearPane::heightChanged(QObject* sender)
{
    syncPair(sender, HeightText, HeightStepper, false, m_unit);
    report(PaneNeed::Redraw);
}

void LinearPane::widthChanged(QObject* sender)
{
    syncPair(sender, widthText, widthStepper, false);
    report(PaneNeed::Redraw);
}

// ---------------------------------------------------------------- margins

MarginPane::MarginPane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    QGridLayout* g = nullptr;
    margin_box = Box(this, "margin_box", QString(), &g);
    auto pair = [&](const char* text, const char* stepper, QLineEdit** t, Stepper** s) {
        *t = lengthField(margin_box, text);
        *s = makeStepper(margin_box, stepper, kMarginMin, kMarginMax, 0.1, 0.1);
    };
    pair("val_mar_Text", "val_mar_Stepper", &val_mar_Text, &val_mar_Stepper);
    pair("hdr_mar_Text", "hdr_mar_Stepper", &hdr_mar_Text, &hdr_mar_Stepper);
    pair("ftr_mar_Text", "ftr_mar_Stepper", &ftr_mar_Text, &ftr_mar_Stepper);
    pair("TB_mar_Text", "TB_mar_Stepper", &TB_mar_Text, &TB_mar_Stepper);
    pair("LR_mar_Text", "LR_mar_Stepper", &LR_mar_Text, &LR_mar_Stepper);
    val_mar_label = new QLabel(tr("Value:"), margin_box);
    val_mar_label->setObjectName("val_mar_label");
    addPairRow(g, 0, val_mar_label, val_mar_Text, val_mar_Stepper);
    addPairRow(g, 1, new QLabel(tr("Header:"), margin_box), hdr_mar_Text, hdr_mar_Stepper);
    addPairRow(g, 2, new QLabel(tr("Footer:"), margin_box), ftr_mar_Text, ftr_mar_Stepper);
    addPairRow(g, 3, new QLabel(tr("Top and bottom:"), margin_box), TB_mar_Text, TB_mar_Stepper);
    addPairRow(g, 4, new QLabel(tr("Left and right:"), margin_box), LR_mar_Text, LR_mar_Stepper);
    connectPair(val_mar_Text, val_mar_Stepper, &MarginPane::Value_Margin_Changed);
    connectPair(hdr_mar_Text, hdr_mar_Stepper, &MarginPane::Header_Margin_Changed);
    connectPair(ftr_mar_Text, ftr_mar_Stepper, &MarginPane::Footer_Margin_Changed);
    connectPair(TB_mar_Text, TB_mar_Stepper, &MarginPane::TB_Margin_Changed);
    connectPair(LR_mar_Text, LR_mar_Stepper, &MarginPane::LR_Margin_Changed);
    setUnit(1);
}

void MarginPane::setUnit(int unit)
{
    m_unit = unit;
    margin_box->setTitle(tr("Margins (%1)").arg(Unit_Name(unit)));
}

void MarginPane::loadControls(const BarcodeSettings& s)
{
    setUnit(s.unit);
    setPair(val_mar_Text, val_mar_Stepper, s.val_mar, false, m_unit);
    setPair(hdr_mar_Text, hdr_mar_Stepper, s.hdr_mar, false, m_unit);
    setPair(ftr_mar_Text, ftr_mar_Stepper, s.ftr_mar, false, m_unit);
    setPair(TB_mar_Text, TB_mar_Stepper, s.TB_mar, false, m_unit);
    setPair(LR_mar_Text, LR_mar_Stepper, s.LR_mar, false, m_unit);
}

void MarginPane::writeTo(BarcodeSettings& s) const
{
    s.val_mar = float(val_mar_Stepper->value());
    s.hdr_mar = float(hdr_mar_Stepper->value());
    s.ftr_mar = float(ftr_mar_Stepper->value());
    s.TB_mar = float(TB_mar_Stepper->value());
    s.LR_mar = float(LR_mar_Stepper->value());
}

void MarginPane::twoDChanged()
{
    // A 2D symbol has no value text, so no value margin.
    for (QWidget* w : std::initializer_list<QWidget*>{val_mar_Text, val_mar_Stepper, val_mar_label})
        w->setVisible(!twoD());
}

void MarginPane::enableLinearControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{val_mar_Text, hdr_mar_Text, ftr_mar_Text, val_mar_Stepper,
                                                     hdr_mar_Stepper, ftr_mar_Stepper})
        w->setEnabled(true);
}

void MarginPane::Value_Margin_Changed(QObject* sender)
{
    syncPair(sender, val_mar_Text, val_mar_Stepper, false, m_unit);
    report(twoD() ? PaneNeed::Nothing : PaneNeed::Redraw);
}

void MarginPane::Header_Margin_Changed(QObject* sender)
{
    syncPair(sender, hdr_mar_Text, hdr_mar_Stepper, false, m_unit);
    report(PaneNeed::Redraw);
}

void MarginPane::Footer_Margin_Changed(QObject* sender)
{
    syncPair(sender, ftr_mar_Text, ftr_mar_Stepper, false, m_unit);
    report(PaneNeed::Redraw);
}

void MarginPane::TB_Margin_Changed(QObject* sender)
{
    syncPair(sender, TB_mar_Text, TB_mar_Stepper, false, m_unit);
    report(PaneNeed::Redraw);
}

void MarginPane::LR_Margin_Changed(QObject* sender)
{
    syncPair(sender, LR_mar_Text, LR_mar_Stepper, false, m_unit);
    report(PaneNeed::Redraw);
}

// ---------------------------------------------------------------- QR Code

QrPane::QrPane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    QGridLayout* g = nullptr;
    two_d_sett_box = Box(this, "two_d_sett_box", tr("QR Code"), &g);
    HeightText_2D = numberField(two_d_sett_box, "HeightText_2D");
    HeightStepper_2D = makeStepper(two_d_sett_box, "HeightStepper_2D", kQrSizeMin, kQrSizeMax, 1, 60);
    addPairRow(g, 0, new QLabel(tr("Size:"), two_d_sett_box), HeightText_2D, HeightStepper_2D, tr("pt"));
    qr_enc_mode_ComboBox = Combo(two_d_sett_box, "qr_enc_mode_ComboBox",
                                 {QStringLiteral("Auto"), QStringLiteral("Numeric"),
                                  QStringLiteral("Alphanumeric"), QStringLiteral("Byte")});
    qr_version_ComboBox = Combo(two_d_sett_box, "qr_version_ComboBox", QR_Version_Items());
    qr_ec_lvl_ComboBox = Combo(two_d_sett_box, "qr_ec_lvl_ComboBox", QR_EC_Level_Items());
    g->addWidget(new QLabel(tr("Encoding:"), two_d_sett_box), 1, 0);
    g->addWidget(qr_enc_mode_ComboBox, 1, 1);
    g->addWidget(new QLabel(tr("Version:"), two_d_sett_box), 2, 0);
    g->addWidget(qr_version_ComboBox, 2, 1);
    g->addWidget(helpButton("QR_Version_Help_Btn", QStringLiteral("Version :"),
                            QStringLiteral("Version is configuration or number of modules (combination of "
                                           "black and white dots).")),
                 2, 2);
    g->addWidget(new QLabel(tr("EC level:"), two_d_sett_box), 3, 0);
    g->addWidget(qr_ec_lvl_ComboBox, 3, 1);
    g->addWidget(helpButton("QR_EC_Lvl_Help_Btn", QStringLiteral("Error correction (EC) level :"),
                            QStringLiteral("An error-correction mechanism is built in each symbol so that "
                                           "the symbol can still be decoded even if it is damaged.")),
                 3, 2);
    connectPair(HeightText_2D, HeightStepper_2D, &QrPane::heightChanged);
    for (QComboBox* c : {qr_enc_mode_ComboBox, qr_version_ComboBox, qr_ec_lvl_ComboBox})
        connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, c] { comboBoxSelectionDidChange(c); });
}

void QrPane::loadControls(const BarcodeSettings& s)
{
    Select(qr_enc_mode_ComboBox, s.qr_enc_mode);
    Select(qr_version_ComboBox, s.QR_Version_Val);
    Select(qr_ec_lvl_ComboBox, s.QR_EC_Level_Val);
    HeightStepper_2D->setMinimum(QR_Min_Size_For_Version(qr_version_ComboBox->currentIndex()));
    setPair(HeightText_2D, HeightStepper_2D, s.qr_size, true);
}

void QrPane::writeTo(BarcodeSettings& s) const
{
    s.qr_size = HeightStepper_2D->intValue();
    s.qr_enc_mode = qr_enc_mode_ComboBox->currentIndex();
    s.QR_Version_Val = qr_version_ComboBox->currentIndex();
    s.QR_EC_Level_Val = qr_ec_lvl_ComboBox->currentIndex();
}

void QrPane::heightChanged(QObject* sender)
{
    syncPair(sender, HeightText_2D, HeightStepper_2D, true);
    report(PaneNeed::Encode);
}

void QrPane::Check_And_Set_QR_size_Acc_Version(int position)
{
    const int s = QR_Min_Size_For_Version(position);
    HeightStepper_2D->setMinimum(s);
    if (intOf(HeightText_2D->text()) < s)
        setPair(HeightText_2D, HeightStepper_2D, s, true);
}

void QrPane::comboBoxSelectionDidChange(QComboBox* combo)
{
    if (combo == qr_version_ComboBox)
        Check_And_Set_QR_size_Acc_Version(qr_version_ComboBox->currentIndex());
    report(PaneNeed::Encode);
}

// ---------------------------------------------------------------- PDF417

Pdf417Pane::Pdf417Pane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    QGridLayout* g = nullptr;
    pdf_2d_sett_box = Box(this, "pdf_2d_sett_box", tr("PDF417"), &g);
    QWidget* b = pdf_2d_sett_box;
    Pdf_widthText_2D = numberField(b, "Pdf_widthText_2D");
    Pdf_widthStepper_2D = makeStepper(b, "Pdf_widthStepper_2D", kPdfWidthMin, kPdfWidthMax, 1, 100);
    pdf_HeightText_2D = numberField(b, "pdf_HeightText_2D");
    pdf_HeightStepper_2D = makeStepper(b, "pdf_HeightStepper_2D", kPdfHeightMin, kPdfHeightMax, 1, 20);
    pdf_row_Text = numberField(b, "pdf_row_Text");
    pdf_row_Stepper = makeStepper(b, "pdf_row_Stepper", 0, 90, 1, 0);
    pdf_col_Text = numberField(b, "pdf_col_Text");
    pdf_col_Stepper = makeStepper(b, "pdf_col_Stepper", 0, 30, 1, 0);
    pdf_ec_lvl_Text = numberField(b, "pdf_ec_lvl_Text");
    pdf_ec_lvl_Stepper = makeStepper(b, "pdf_ec_lvl_Stepper", 0, 8, 1, 2);
    addPairRow(g, 0, new QLabel(tr("Width:"), b), Pdf_widthText_2D, Pdf_widthStepper_2D, tr("pt"));
    addPairRow(g, 1, new QLabel(tr("Height:"), b), pdf_HeightText_2D, pdf_HeightStepper_2D, tr("pt"));
    addPairRow(g, 2, new QLabel(tr("Rows:"), b), pdf_row_Text, pdf_row_Stepper);
    addPairRow(g, 3, new QLabel(tr("Columns:"), b), pdf_col_Text, pdf_col_Stepper);
    addPairRow(g, 4, new QLabel(tr("EC level:"), b), pdf_ec_lvl_Text, pdf_ec_lvl_Stepper);
    g->addWidget(helpButton("PDF_row_Help_btn", QStringLiteral("PDF Rows :"),
                            QStringLiteral("Number of rows in the PDF barcode.")),
                 2, 2);
    g->addWidget(helpButton("PDF_col_Help_btn", QStringLiteral("PDF Columns :"),
                            QStringLiteral("Number of columns in the PDF barcode.")),
                 3, 2);
    g->addWidget(helpButton("PDF_ec_lvl_Help_btn", QStringLiteral("PDF EC Level :"),
                            QStringLiteral("An error-correction mechanism is built in each symbol so that "
                                           "the symbol can still be decoded even if it is damaged in PDF "
                                           "barcode.")),
                 4, 2);
    connectPair(Pdf_widthText_2D, Pdf_widthStepper_2D, &Pdf417Pane::widthChanged);
    connectPair(pdf_HeightText_2D, pdf_HeightStepper_2D, &Pdf417Pane::pdf_heightChanged);
    connectPair(pdf_row_Text, pdf_row_Stepper, &Pdf417Pane::PDF_Row_Changed);
    connectPair(pdf_col_Text, pdf_col_Stepper, &Pdf417Pane::PDF_Col_Changed);
    connectPair(pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, &Pdf417Pane::PDF_EC_Lvl_Changed);
}

void Pdf417Pane::loadControls(const BarcodeSettings& s)
{
    setPair(Pdf_widthText_2D, Pdf_widthStepper_2D, s.pdf_width, true);
    setPair(pdf_HeightText_2D, pdf_HeightStepper_2D, s.pdf_height, true);
    setPair(pdf_row_Text, pdf_row_Stepper, s.pdf_rows, true);
    setPair(pdf_col_Text, pdf_col_Stepper, s.pdf_cols, true);
    setPair(pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, s.pdf_ec_level, true);
}

void Pdf417Pane::writeTo(BarcodeSettings& s) const
{
    s.pdf_width = Pdf_widthStepper_2D->intValue();
    s.pdf_height = pdf_HeightStepper_2D->intValue();
    s.pdf_rows = pdf_row_Stepper->intValue();
    s.pdf_cols = pdf_col_Stepper->intValue();
    s.pdf_ec_level = pdf_ec_lvl_Stepper->intValue();
}

void Pdf417Pane::widthChanged(QObject* sender)
{
    syncPair(sender, Pdf_widthText_2D, Pdf_widthStepper_2D, true);
    report(PaneNeed::Encode);
}

void Pdf417Pane::pdf_heightChanged(QObject* sender)
{
    syncPair(sender, pdf_HeightText_2D, pdf_HeightStepper_2D, true);
    report(PaneNeed::Encode);
}

void Pdf417Pane::PDF_Row_Changed(QObject* sender)
{
    syncPair(sender, pdf_row_Text, pdf_row_Stepper, true);
    report(PaneNeed::Encode);
}

void Pdf417Pane::PDF_Col_Changed(QObject* sender)
{
    syncPair(sender, pdf_col_Text, pdf_col_Stepper, true);
    report(PaneNeed::Encode);
}

void Pdf417Pane::PDF_EC_Lvl_Changed(QObject* sender)
{
    syncPair(sender, pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, true);
    report(PaneNeed::Encode);
}

// ---------------------------------------------------------------- Data Matrix

DataMatrixPane::DataMatrixPane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    QGridLayout* g = nullptr;
    dm_2d_sett_box = Box(this, "dm_2d_sett_box", tr("Data Matrix"), &g);
    QWidget* b = dm_2d_sett_box;
    dm_widthText_2D = numberField(b, "dm_widthText_2D");
    dm_widthStepper_2D = makeStepper(b, "dm_widthStepper_2D", kDmSideMin, kDmSideMax, 1, 60);
    dm_HeightText_2D = numberField(b, "dm_HeightText_2D");
    dm_HeightStepper_2D = makeStepper(b, "dm_HeightStepper_2D", kDmSideMin, kDmSideMax, 1, 60);
    dm_moduleText_2D = numberField(b, "dm_moduleText_2D");
    dm_moduleStepper_2D = makeStepper(b, "dm_moduleStepper_2D", kDmModuleMin, kDmModuleMax, 1, 2);
    dm_moduleText_2D->setToolTip(tr("%1 to %2 points a module").arg(kDmModuleMin).arg(kDmModuleMax));
    addPairRow(g, 0, new QLabel(tr("Width:"), b), dm_widthText_2D, dm_widthStepper_2D, tr("pt"));
    addPairRow(g, 1, new QLabel(tr("Height:"), b), dm_HeightText_2D, dm_HeightStepper_2D, tr("pt"));
    addPairRow(g, 2, new QLabel(tr("Module size:"), b), dm_moduleText_2D, dm_moduleStepper_2D, tr("pt"));
    dm_format_ComboBox = Combo(b, "dm_format_ComboBox", DM_Format_Items());
    dm_encoding_ComboBox = Combo(b, "dm_encoding_ComboBox", DM_Encoding_Items());
    g->addWidget(new QLabel(tr("Preferred format:"), b), 3, 0);
    g->addWidget(dm_format_ComboBox, 3, 1);
    g->addWidget(helpButton("DM_format_Help_btn", QStringLiteral("Preferred Format :"),
                            QStringLiteral("Preferred Mode determines the smallest size of the symbol.")),
                 3, 2);
    g->addWidget(new QLabel(tr("Encoding mode:"), b), 4, 0);
    g->addWidget(dm_encoding_ComboBox, 4, 1);
    g->addWidget(helpButton("DM_Encoding_Help_btn", QStringLiteral("Encoding Mode :"),
                            QStringLiteral("Encoding Mode is mode of compaction to encode data in the symbol.")),
                 4, 2);
    connectPair(dm_widthText_2D, dm_widthStepper_2D, &DataMatrixPane::dm_widthChanged);
    connectPair(dm_HeightText_2D, dm_HeightStepper_2D, &DataMatrixPane::dm_heightChanged);
    connectPair(dm_moduleText_2D, dm_moduleStepper_2D, &DataMatrixPane::dm_modulesizeChanged);
    for (QComboBox* c : {dm_format_ComboBox, dm_encoding_ComboBox})
        connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, c] { comboBoxSelectionDidChange(c); });
}

void DataMatrixPane::loadControls(const BarcodeSettings& s)
{
    setPair(dm_widthText_2D, dm_widthStepper_2D, s.dm_width, true);
    setPair(dm_HeightText_2D, dm_HeightStepper_2D, s.dm_height, true);
    setPair(dm_moduleText_2D, dm_moduleStepper_2D, s.dm_module, true);
    Select(dm_format_ComboBox, s.dm_format);
    Select(dm_encoding_ComboBox, s.dm_encoding);
}

void DataMatrixPane::writeTo(BarcodeSettings& s) const
{
    s.dm_width = dm_widthStepper_2D->intValue();
    s.dm_height = dm_HeightStepper_2D->intValue();
    s.dm_module = dm_moduleStepper_2D->intValue();
    s.dm_format = dm_format_ComboBox->currentIndex();
    s.dm_encoding = dm_encoding_ComboBox->currentIndex();
}

void DataMatrixPane::dm_widthChanged(QObject* sender)
{
    syncPair(sender, dm_widthText_2D, dm_widthStepper_2D, true);
    report(PaneNeed::Encode);
}

void DataMatrixPane::dm_heightChanged(QObject* sender)
{
    syncPair(sender, dm_HeightText_2D, dm_HeightStepper_2D, true);
    report(PaneNeed::Encode);
}

void DataMatrixPane::dm_modulesizeChanged(QObject* sender)
{
    syncPair(sender, dm_moduleText_2D, dm_moduleStepper_2D, true);
    if (sender == dm_moduleStepper_2D)
        data_matrix_barcode_size_acc_format();
    report(PaneNeed::Encode);
}

void DataMatrixPane::data_matrix_barcode_size_acc_format()
{
    const int m = dm_moduleStepper_2D->intValue();
    int b = 0, a = 0;   // columns, rows
    DM_Size_From_Format(dm_format_ComboBox->currentText(), b, a);
    if (dm_widthStepper_2D->intValue() < b * m)
        setPair(dm_widthText_2D, dm_widthStepper_2D, b * m, true);
    if (dm_HeightStepper_2D->intValue() < a * m)
        setPair(dm_HeightText_2D, dm_HeightStepper_2D, a * m, true);
}

void DataMatrixPane::comboBoxSelectionDidChange(QComboBox* combo)
{
    if (combo == dm_format_ComboBox)
        data_matrix_barcode_size_acc_format();
    report(PaneNeed::Encode);
}
