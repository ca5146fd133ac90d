#include "barcode/generation/panes/ColourPane.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/panes/Stepper.h"
#include "core/util/MessageBoxes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

ColourPane::ColourPane(bool withBackgroundRadios, QWidget* parent) : BarcodeSettingsPane(parent)
{
    auto* ct = new QGridLayout(this);
    auto well = [this](const char* name, const QColor& c) {
        auto* w = new ColorWell(c, this);
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    barcode_clr = well("barcode_clr", Qt::black);
    bar_back_clr = well("bar_back_clr", Qt::white);
    bar_val_clr = well("bar_val_clr", Qt::black);
    bar_hdr_clr = well("bar_hdr_clr", Qt::black);
    bar_ftr_clr = well("bar_ftr_clr", Qt::black);
    bar_clr_label = label("bar_clr_label", tr("Bars:"));
    bar_bk_clr_label = label("bar_bk_clr_label", tr("Background:"));
    val_clr_label = label("val_clr_label", tr("Value text:"));
    ct->addWidget(bar_clr_label, 0, 0);
    ct->addWidget(barcode_clr, 0, 1);
    ct->addWidget(bar_bk_clr_label, 1, 0);
    ct->addWidget(bar_back_clr, 1, 1);
    ct->addWidget(val_clr_label, 2, 0);
    ct->addWidget(bar_val_clr, 2, 1);
    ct->addWidget(new QLabel(tr("Header:"), this), 3, 0);
    ct->addWidget(bar_hdr_clr, 3, 1);
    ct->addWidget(new QLabel(tr("Footer:"), this), 4, 0);
    ct->addWidget(bar_ftr_clr, 4, 1);
    if (withBackgroundRadios) {
        brcd_bk_clr_rd = new QRadioButton(tr("Coloured background"), this);
        brcd_bk_clr_rd->setObjectName("brcd_bk_clr_rd");
        brcd_bk_clr_trnsp_rd = new QRadioButton(tr("Transparent background"), this);
        brcd_bk_clr_trnsp_rd->setObjectName("brcd_bk_clr_trnsp_rd");
        auto* group = new QButtonGroup(this);
        group->addButton(brcd_bk_clr_rd);
        group->addButton(brcd_bk_clr_trnsp_rd);
        brcd_bk_clr_rd->setChecked(true);
        ct->addWidget(brcd_bk_clr_rd, 5, 0, 1, 3);
        ct->addWidget(brcd_bk_clr_trnsp_rd, 6, 0, 1, 3);
        connect(brcd_bk_clr_rd, &QRadioButton::clicked, this, [this] { Barcode_Back_Color_rd_clicked(); });
        connect(brcd_bk_clr_trnsp_rd, &QRadioButton::clicked, this,
                [this] { Barcode_Back_Color_Transp_rd_clicked(); });
    }
    transparent_bkgnd = new QCheckBox(tr("Transparent background"), this);
    transparent_bkgnd->setObjectName("transparent_bkgnd");
    ct->addWidget(transparent_bkgnd, 7, 0, 1, 3);
    ct->setColumnStretch(2, 1);
    ct->setRowStretch(8, 1);

    for (ColorWell* w : {barcode_clr, bar_back_clr, bar_val_clr})
        connect(w, &ColorWell::colorChanged, this, [this] { Set_Font_Clr(); });
    for (ColorWell* w : {bar_hdr_clr, bar_ftr_clr})
        connect(w, &ColorWell::colorChanged, this, [this] { Header_Color_Changed(); });
    connect(transparent_bkgnd, &QCheckBox::clicked, this, [this] { Transparent_Bkngd_Clicked(); });
}

void ColourPane::loadControls(const BarcodeSettings& s)
{
    barcode_clr->setColor(s.barcode_clr);
    bar_back_clr->setColor(s.bar_back_clr);
    bar_val_clr->setColor(s.bar_val_clr);
    bar_hdr_clr->setColor(s.bar_hdr_clr);
    bar_ftr_clr->setColor(s.bar_ftr_clr);
    showTransparency(s.fill_transparent);
}

void ColourPane::writeTo(BarcodeSettings& s) const
{
    s.barcode_clr = barcode_clr->color();
    s.bar_back_clr = bar_back_clr->color();
    s.bar_val_clr = bar_val_clr->color();
    s.bar_hdr_clr = bar_hdr_clr->color();
    s.bar_ftr_clr = bar_ftr_clr->color();
    s.fill_transparent = transparent_bkgnd->isChecked();
}

// The check box and the radio pair show the same choice; the background
// well is only available for a coloured background.
void ColourPane::showTransparency(bool on)
{
    transparent_bkgnd->setChecked(on);
    if (brcd_bk_clr_rd) {
        brcd_bk_clr_rd->setChecked(!on);
        brcd_bk_clr_trnsp_rd->setChecked(on);
    }
    bar_bk_clr_label->setEnabled(!on);
    bar_back_clr->setEnabled(!on);
}

void ColourPane::twoDChanged()
{
    const bool linear = !twoD();
    for (QWidget* w : std::initializer_list<QWidget*>{barcode_clr, bar_back_clr, bar_val_clr, val_clr_label,
                                                     bar_clr_label, bar_bk_clr_label})
        w->setVisible(linear);
    if (brcd_bk_clr_rd) {
        brcd_bk_clr_rd->setVisible(linear);
        brcd_bk_clr_trnsp_rd->setVisible(linear);
        transparent_bkgnd->setVisible(!linear);
    }
}

void ColourPane::chooseColour(const char* name, const QColor& colour)
{
    if (auto* w = findChild<ColorWell*>(QString::fromLatin1(name)))
        w->setColor(colour, true);
}

void ColourPane::Set_Font_Clr() { report(PaneNeed::Redraw); }

void ColourPane::Header_Color_Changed() { Set_Font_Clr(); }

void ColourPane::Barcode_Back_Color_rd_clicked()
{
    showTransparency(false);
    bar_back_clr->setColor(Qt::white);
    Set_Font_Clr();
}

void ColourPane::Barcode_Back_Color_Transp_rd_clicked()
{
    showTransparency(true);
    bar_back_clr->setColor(Qt::transparent);
    Set_Font_Clr();
}

void ColourPane::Transparent_Bkngd_Clicked()
{
    showTransparency(transparent_bkgnd->isChecked());
    report(PaneNeed::Redraw);
}

// ---------------------------------------------------------------- DPI

DpiPane::DpiPane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    auto* g = new QGridLayout(this);
    DPI_ComboBox = new QComboBox(this);
    DPI_ComboBox->setObjectName("DPI_ComboBox");
    DPI_ComboBox->addItems(DPI_Choice_Items());
    dpi_Text = numberField(this, "dpi_Text");
    dpi_Stepper = makeStepper(this, "dpi_Stepper", kMinCustomDpi, kMaxCustomDpi, 1, 600);
    dpi_Text->setText(QStringLiteral("600"));
    g->addWidget(new QLabel(tr("DPI:"), this), 0, 0);
    g->addWidget(DPI_ComboBox, 0, 1);
    g->addWidget(helpButton("DPI_Help_Label", DPI_Help_Title(), DPI_Help_Text()), 0, 2);
    auto* h = new QHBoxLayout;
    h->addWidget(dpi_Text);
    h->addWidget(dpi_Stepper);
    h->addStretch(1);
    g->addLayout(h, 1, 1);
    g->setRowStretch(2, 1);
    g->setColumnStretch(3, 1);
    connect(DPI_ComboBox, QOverload<int>::of(&QComboBox::activated), this,
            [this] { comboBoxSelectionDidChange(DPI_ComboBox); });
    connectPair(dpi_Text, dpi_Stepper, &DpiPane::DPI_Value_Changed);
    showCustom();
}

void DpiPane::showCustom()
{
    const bool custom = DPI_ComboBox->currentText() == QLatin1String("Custom");
    dpi_Stepper->setVisible(custom);
    dpi_Text->setVisible(custom);
}

void DpiPane::loadControls(const BarcodeSettings& s)
{
    DPI_ComboBox->setCurrentIndex(s.dpi_choice >= 0 && s.dpi_choice < DPI_ComboBox->count() ? s.dpi_choice : 0);
    setPair(dpi_Text, dpi_Stepper, Clamp_Dpi(s.custom_dpi), true);
    showCustom();
}

void DpiPane::writeTo(BarcodeSettings& s) const
{
    s.dpi_choice = DPI_ComboBox->currentIndex();
    s.custom_dpi = dpi_Stepper->intValue();
    s.USED_DPI_VALUE = DPI_For_Choice(s.dpi_choice, s.custom_dpi);
}

void DpiPane::comboBoxSelectionDidChange(QComboBox* combo)
{
    if (combo != DPI_ComboBox)
        return;
    // "Custom" shows the custom value; the resolution serves the next
    // generation, nothing is drawn now.
    showCustom();
    report(PaneNeed::Nothing);
}

void DpiPane::DPI_Value_Changed(QObject* sender)
{
    const int typed = intOf(dpi_Text->text());
    const bool outside = sender == dpi_Text && !dpi_Text->text().trimmed().isEmpty()
                         && (typed < kMinCustomDpi || typed > kMaxCustomDpi);
    syncPair(sender, dpi_Text, dpi_Stepper, true);
    report(PaneNeed::Nothing);
    // A resolution outside the range is replaced by its limit: say so.
    if (outside && !loading())
        Show_MessageBox(Range_Message(QStringLiteral("resolution"), kMinCustomDpi, kMaxCustomDpi, QStringLiteral("DPI"))
                        + QStringLiteral(": %1 DPI is used instead of %2. Type a value in that range to use another.")
                              .arg(dpi_Stepper->intValue())
                              .arg(typed));
}
