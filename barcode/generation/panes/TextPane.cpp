#include "barcode/generation/panes/TextPane.h"

#include "platform/Fonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TextPane::TextPane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    auto* tt = new QGridLayout(this);
    auto check = [this](const char* name, const QString& text) {
        auto* c = new QCheckBox(text, this);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    captionCheckbox = check("captionCheckbox", tr("Hide value text"));
    showinTopCheckbox = check("showinTopCheckbox", tr("Value text on top"));
    hideHeaderCheckbox = check("hideHeaderCheckbox", tr("Hide header"));
    hideFooterCheckbox = check("hideFooterCheckbox", tr("Hide footer"));
    kerning_value_Checkbox = check("kerning_value_Checkbox", tr("Spread value text"));
    tt->addWidget(captionCheckbox, 0, 0);
    tt->addWidget(showinTopCheckbox, 0, 1, 1, 2);
    tt->addWidget(hideHeaderCheckbox, 1, 0);
    tt->addWidget(hideFooterCheckbox, 1, 1, 1, 2);
    tt->addWidget(kerning_value_Checkbox, 2, 0);

    auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(60);
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        return l;
    };
    auto button = [this](const char* name) {
        auto* b = new QPushButton(tr("Font..."), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    val_font_label = new QLabel(tr("Value font:"), this);
    val_font_label->setObjectName("val_font_label");
    value_font_value = label("value_font_value");
    header_font_value = label("header_font_value");
    footer_font_value = label("footer_font_value");
    val_font_btn = button("val_font_btn");
    hdr_font_btn = button("hdr_font_btn");
    ftr_font_btn = button("ftr_font_btn");
    tt->addWidget(val_font_label, 3, 0);
    tt->addWidget(value_font_value, 3, 1);
    tt->addWidget(val_font_btn, 3, 2);
    tt->addWidget(new QLabel(tr("Header font:"), this), 4, 0);
    tt->addWidget(header_font_value, 4, 1);
    tt->addWidget(hdr_font_btn, 4, 2);
    tt->addWidget(new QLabel(tr("Footer font:"), this), 5, 0);
    tt->addWidget(footer_font_value, 5, 1);
    tt->addWidget(ftr_font_btn, 5, 2);
    align_hdr_combo = new QComboBox(this);
    align_hdr_combo->setObjectName("align_hdr_combo");
    align_ftr_combo = new QComboBox(this);
    align_ftr_combo->setObjectName("align_ftr_combo");
    for (QComboBox* c : {align_hdr_combo, align_ftr_combo}) {
        c->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
        c->setCurrentIndex(1);
    }
    tt->addWidget(new QLabel(tr("Header alignment:"), this), 6, 0);
    tt->addWidget(align_hdr_combo, 6, 1);
    tt->addWidget(new QLabel(tr("Footer alignment:"), this), 7, 0);
    tt->addWidget(align_ftr_combo, 7, 1);
    tt->setColumnStretch(1, 1);
    tt->setRowStretch(8, 1);

    connect(captionCheckbox, &QCheckBox::clicked, this, [this] { captionChanged(); });
    connect(showinTopCheckbox, &QCheckBox::clicked, this, [this] { showinTopChanged(); });
    connect(hideHeaderCheckbox, &QCheckBox::clicked, this, [this] { hideHeaderChanged(); });
    connect(hideFooterCheckbox, &QCheckBox::clicked, this, [this] { hideFooterChanged(); });
    connect(kerning_value_Checkbox, &QCheckBox::clicked, this, [this] { kerningChanged(); });
    connect(val_font_btn, &QPushButton::clicked, this, [this] { Value_Font_Changed(); });
    connect(hdr_font_btn, &QPushButton::clicked, this, [this] { Header_Font_Changed(); });
    connect(ftr_font_btn, &QPushButton::clicked, this, [this] { Footer_Font_Changed(); });
    for (QComboBox* c : {align_hdr_combo, align_ftr_combo})
        connect(c, QOverload<int>::of(&QComboBox::activated), this, [this] { alignmentChanged(); });
}

void TextPane::setFontLabel(QLabel* label, const QFont& font)
{
    label->setText(Font_Label_Text(font));
    label->setToolTip(label->text());
}

void TextPane::loadControls(const BarcodeSettings& s)
{
    captionCheckbox->setChecked(s.hide_value);
    captionCheckbox->setEnabled(s.caption_check_enabled);
    showinTopCheckbox->setChecked(s.showinTop != 0);
    hideHeaderCheckbox->setChecked(s.hide_header);
    hideFooterCheckbox->setChecked(s.hide_footer);
    kerning_value_Checkbox->setChecked(s.kerning_value != 0);
    value_font = s.value_font;
    header_font = s.header_font;
    footer_font = s.footer_font;
    setFontLabel(value_font_value, value_font);
    setFontLabel(header_font_value, header_font);
    setFontLabel(footer_font_value, footer_font);
    const int h = align_hdr_combo->findText(s.align_hdr);
    align_hdr_combo->setCurrentIndex(h < 0 ? 1 : h);
    const int f = align_ftr_combo->findText(s.align_ftr);
    align_ftr_combo->setCurrentIndex(f < 0 ? 1 : f);
    Get_Print_State();
}

void TextPane::writeTo(BarcodeSettings& s) const
{
    s.hide_value = captionCheckbox->isChecked();
    s.caption_check_enabled = captionCheckbox->isEnabled();
    s.showinTop = showinTopCheckbox->isChecked() ? 1 : 0;
    s.hide_header = hideHeaderCheckbox->isChecked();
    s.hide_footer = hideFooterCheckbox->isChecked();
    // A disabled box (UPC and EAN captions stand in digit groups) means no
    // spacing, whatever its tick.
    s.kerning_value = kerning_value_Checkbox->isChecked() && kerning_value_Checkbox->isEnabled() ? 1 : 0;
    s.value_font = value_font;
    s.header_font = header_font;
    s.footer_font = footer_font;
    s.align_hdr = align_hdr_combo->currentText();
    s.align_ftr = align_ftr_combo->currentText();
}

void TextPane::twoDChanged()
{
    // The value text belongs to linear symbols only.
    for (QWidget* w : std::initializer_list<QWidget*>{showinTopCheckbox, captionCheckbox, val_font_label,
                                                     val_font_btn, value_font_value})
        w->setVisible(!twoD());
}

int TextPane::Get_Print_State()
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

void TextPane::enableLinearControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{captionCheckbox, hideHeaderCheckbox, hideFooterCheckbox,
                                                     align_hdr_combo, align_ftr_combo, showinTopCheckbox,
                                                     kerning_value_Checkbox})
        w->setEnabled(true);
    Get_Print_State();
}

void TextPane::setKerningAllowed(bool allowed)
{
    kerning_value_Checkbox->setEnabled(allowed);
}

void TextPane::openFontPanel(QPushButton* button, const QFont& font, int target)
{
    button->setFocus();
    if (!m_fontPanel) {
        m_fontPanel = new QFontDialog(this);
        m_fontPanel->setObjectName("fontPanel");
        m_fontPanel->setOption(QFontDialog::NoButtons, true);
        m_fontPanel->setWindowTitle(tr("Fonts"));
        connect(m_fontPanel, &QFontDialog::currentFontChanged, this, [this](const QFont& f) {
            switch (m_fontTarget) {
            case 1: header_changeFont(f); break;
            case 2: footer_changeFont(f); break;
            default: changeFont(f); break;
            }
        });
    }
    m_fontTarget = target;
    QSignalBlocker block(m_fontPanel);
    m_fontPanel->setCurrentFont(Font_For_Font_Panel(font));
    m_fontPanel->show();
    m_fontPanel->raise();
}

void TextPane::Value_Font_Changed() { openFontPanel(val_font_btn, value_font, 0); }
void TextPane::Header_Font_Changed() { openFontPanel(hdr_font_btn, header_font, 1); }
void TextPane::Footer_Font_Changed() { openFontPanel(ftr_font_btn, footer_font, 2); }

void TextPane::changeFont(const QFont& font)
{
    value_font = font;
    setFontLabel(value_font_value, value_font);
    report(PaneNeed::Redraw);
}

void TextPane::header_changeFont(const QFont& font)
{
    header_font = font;
    setFontLabel(header_font_value, header_font);
    report(PaneNeed::Redraw);
}

void TextPane::footer_changeFont(const QFont& font)
{
    footer_font = font;
    setFontLabel(footer_font_value, footer_font);
    report(PaneNeed::Redraw);
}

void TextPane::captionChanged()
{
    Get_Print_State();
    report(PaneNeed::Redraw);
}

void TextPane::showinTopChanged() { report(twoD() ? PaneNeed::Nothing : PaneNeed::Redraw); }
void TextPane::hideHeaderChanged() { report(PaneNeed::Redraw); }
void TextPane::hideFooterChanged() { report(PaneNeed::Redraw); }
void TextPane::kerningChanged() { report(twoD() ? PaneNeed::Nothing : PaneNeed::Redraw); }
void TextPane::alignmentChanged() { report(PaneNeed::Redraw); }
