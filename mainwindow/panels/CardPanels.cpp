#include "mainwindow/panels/CardPanels.h"

#include "core/model/Card_Property.h"
#include "core/util/Helpers.h"
#include "mainwindow/Stepper.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>


// ---------------------------------------------------------------- info

CardInfoPanel::CardInfoPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_info_tab"), parent)
{
    auto* label = addBox(tr("Label"), QStringLiteral("card_label_box"));
    {
        QGridLayout* g = Panel_Grid(label);
        card_name = new QLineEdit(label);
        card_name->setObjectName(QStringLiteral("card_name"));
        card_name->setMaxLength(250);
        connect(card_name, &QLineEdit::textEdited, this, [this] { emit textEdited(card_name); });
        g->addWidget(Panel_Caption(label, tr("Name")), 0, 0);
        g->addWidget(card_name, 0, 1, 1, 2);
        matrix_card_shape = new QButtonGroup(this);
        matrix_card_shape->setObjectName(QStringLiteral("matrix_card_shape"));
        card_shape_rect_rd = new QRadioButton(tr("Rectangle"), label);
        card_shape_round_rd = new QRadioButton(tr("Rounded"), label);
        card_shape_ellipse_rd = new QRadioButton(tr("Ellipse"), label);
        auto* shapes = new QVBoxLayout;
        int row = 0;
        for (QRadioButton* r : {card_shape_rect_rd, card_shape_round_rd, card_shape_ellipse_rd}) {
            matrix_card_shape->addButton(r, row++);
            shapes->addWidget(r);
        }
        connect(matrix_card_shape, &QButtonGroup::idClicked, this, [this](int) { emit shapeChosen(); });
        g->addWidget(Panel_Caption(label, tr("Shape")), 1, 0, Qt::AlignTop);
        g->addLayout(shapes, 1, 1, 1, 2);
    }
    auto* content = addBox(tr("All texts"), QStringLiteral("card_content_box"));
    {
        QGridLayout* g = Panel_Grid(content);
        All_Text_font_value = new QLabel(content);
        All_Text_font_value->setObjectName(QStringLiteral("All_Text_font_value"));
        All_Text_font_value->setWordWrap(true);
        Content_Font_btn = new QPushButton(tr("Font..."), content);
        Content_Font_btn->setObjectName(QStringLiteral("Content_Font_btn"));
        connect(Content_Font_btn, &QPushButton::clicked, this, &CardInfoPanel::contentFontWanted);
        g->addWidget(Panel_Caption(content, tr("Font")), 0, 0);
        g->addWidget(All_Text_font_value, 0, 1, 1, 2);
        g->addWidget(Content_Font_btn, 1, 1, 1, 2, Qt::AlignLeft);
        All_Text_clr = new ColorWell(Qt::black, content);
        All_Text_clr->setObjectName(QStringLiteral("All_Text_clr"));
        connect(All_Text_clr, &ColorWell::colorChanged, this, &CardInfoPanel::contentColorChosen);
        g->addWidget(Panel_Caption(content, tr("Colour")), 2, 0);
        g->addWidget(All_Text_clr, 2, 1);
    }
    enable_watermark_chk = newCheck(this, QStringLiteral("enable_watermark_chk"), tr("Watermark"),
                                    [this] { Enable_Watermark_Clicked(); });
    column()->addWidget(enable_watermark_chk);
    watermark_box = addBox(QString(), QStringLiteral("watermark_box"));
    {
        QGridLayout* g = Panel_Grid(watermark_box);
        watermark_text = new QLineEdit(watermark_box);
        watermark_text->setObjectName(QStringLiteral("watermark_text"));
        connect(watermark_text, &QLineEdit::textEdited, this, [this] { emit textEdited(watermark_text); });
        g->addWidget(Panel_Caption(watermark_box, tr("Text")), 0, 0);
        g->addWidget(watermark_text, 0, 1, 1, 2);
        watermark_color = newWell(watermark_box, QStringLiteral("watermark_color"));
        g->addWidget(Panel_Caption(watermark_box, tr("Colour")), 1, 0);
        g->addWidget(watermark_color, 1, 1);
        wm_font_value = new QLabel(watermark_box);
        wm_font_value->setObjectName(QStringLiteral("wm_font_value"));
        wm_font_value->setWordWrap(true);
        WM_Font_btn = new QPushButton(tr("Font..."), watermark_box);
        WM_Font_btn->setObjectName(QStringLiteral("WM_Font_btn"));
        connect(WM_Font_btn, &QPushButton::clicked, this, &CardInfoPanel::watermarkFontWanted);
        g->addWidget(Panel_Caption(watermark_box, tr("Font")), 2, 0);
        g->addWidget(wm_font_value, 2, 1, 1, 2);
        g->addWidget(WM_Font_btn, 3, 1, 1, 2, Qt::AlignLeft);
        wm_alignment_combo = New_List_Combo(watermark_box, QStringLiteral("wm_alignment_combo"),
                                            {tr("Top"), tr("Middle"), tr("Bottom")});
        g->addWidget(Panel_Caption(watermark_box, tr("Place")), 4, 0);
        g->addWidget(wm_alignment_combo, 4, 1, 1, 2);
        wm_transp_slider = new Fraction_Slider(watermark_box, QStringLiteral("wm_transp_slider"), 0, 100, 1);
        wm_transp_val = new QLabel(watermark_box);
        wm_transp_val->setObjectName(QStringLiteral("wm_transp_val"));
        wm_transp_val->setMinimumWidth(40);
        connect(wm_transp_slider, &Fraction_Slider::dragging, this,
                [this] { wm_transp_val->setText(Slider_Label_Text(wm_transp_slider->fraction())); });
        connect(wm_transp_slider, &Fraction_Slider::moved, this, &CardInfoPanel::WM_transp_slider_changed);
        g->addWidget(Panel_Caption(watermark_box, tr("Opacity")), 5, 0);
        g->addWidget(wm_transp_slider, 5, 1, 1, 2);
        g->addWidget(wm_transp_val, 5, 3);
    }
    column()->addStretch(1);
}

int CardInfoPanel::shapeRow() const
{
    return matrix_card_shape->checkedId();
}

void CardInfoPanel::setShapeRow(int row)
{
    if (QAbstractButton* b = matrix_card_shape->button(row))
        b->setChecked(true);
}

void CardInfoPanel::Enable_Watermark_Clicked()
{
    SetObjEnabled(watermark_box, enable_watermark_chk->isChecked());
    emit changed();
}

void CardInfoPanel::WM_transp_slider_changed()
{
    wm_transp_val->setText(Slider_Label_Text(wm_transp_slider->fraction()));
    emit changed();
}

// ---------------------------------------------------------------- size

CardSizePanel::CardSizePanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_size_tab"), parent)
{
    card_size_box = addBox(tr("Label Size (mm)"), QStringLiteral("card_size_box"));
    QGridLayout* g = Panel_Grid(card_size_box);
    Label_ComboBox = New_List_Combo(card_size_box, QStringLiteral("Label_ComboBox"), {QStringLiteral("Custom")});
    connect(Label_ComboBox, &QComboBox::activated, this, &CardSizePanel::labelChosen);
    g->addWidget(Panel_Caption(card_size_box, tr("Stock")), 0, 0);
    g->addWidget(Label_ComboBox, 0, 1, 1, 3);
    Product_num_ComboBox = New_List_Combo(card_size_box, QStringLiteral("Product_num_ComboBox"), {});
    Product_num_ComboBox->setEnabled(false);
    connect(Product_num_ComboBox, &QComboBox::activated, this, &CardSizePanel::productChosen);
    g->addWidget(Panel_Caption(card_size_box, tr("Product")), 1, 0);
    g->addWidget(Product_num_ComboBox, 1, 1, 1, 3);

    auto sizeRow = [&](int row, const QString& caption, const QString& name, QLineEdit** text, Stepper** stepper,
                       QLabel** unit) {
        auto* t = new QLineEdit(card_size_box);
        t->setObjectName(name + QStringLiteral("_Text"));
        // Room for a length with four decimals.
        t->setFixedWidth(std::max(72, t->fontMetrics().horizontalAdvance(QStringLiteral("1000.0000")) + 14));
        t->setAlignment(Qt::AlignRight);
        auto* s = new Stepper(card_size_box);
        s->setObjectName(name + QStringLiteral("_Stepper"));
        s->setRange(0.1, 100000);
        s->setIncrement(1);
        auto* u = new QLabel(QStringLiteral("(mm)"), card_size_box);
        g->addWidget(Panel_Caption(card_size_box, caption), row, 0);
        g->addWidget(t, row, 1);
        g->addWidget(s, row, 2, Qt::AlignLeft);
        g->addWidget(u, row, 3);
        connect(t, &QLineEdit::textEdited, this, [this, t] { emit sizeTextEdited(t); });
        connect(t, &QLineEdit::editingFinished, this, [this, t] {
            if (t->isModified()) {
                t->setModified(false);
                emit sizeEditingEnded(t);
            }
        });
        *text = t;
        *stepper = s;
        *unit = u;
    };
    sizeRow(2, tr("Width"), QStringLiteral("width"), &width_Text, &width_Stepper, &unit_width_label);
    sizeRow(3, tr("Height"), QStringLiteral("height"), &height_Text, &height_Stepper, &unit_height_label);
    unit_width_label->setObjectName(QStringLiteral("unit_width_label"));
    unit_height_label->setObjectName(QStringLiteral("unit_height_label"));
    connect(width_Stepper, &Stepper::stepped, this, &CardSizePanel::widthStepped);
    connect(height_Stepper, &Stepper::stepped, this, &CardSizePanel::heightStepped);

    auto* buttons = new QHBoxLayout;
    Apply_Size_btn = new QPushButton(tr("Apply"), card_size_box);
    Apply_Size_btn->setObjectName(QStringLiteral("Apply_Size_btn"));
    connect(Apply_Size_btn, &QPushButton::clicked, this, &CardSizePanel::applyWanted);
    page_frm_printer_btn = new QPushButton(tr("From Paper..."), card_size_box);
    page_frm_printer_btn->setObjectName(QStringLiteral("page_frm_printer_btn"));
    page_frm_printer_btn->setToolTip(tr("Take the size of a paper chosen in the page set-up"));
    connect(page_frm_printer_btn, &QPushButton::clicked, this, &CardSizePanel::pageFromPrinterWanted);
    preset_size_btn = new QPushButton(tr("Presets..."), card_size_box);
    preset_size_btn->setObjectName(QStringLiteral("preset_size_btn"));
    preset_size_btn->setToolTip(tr("A common card or label size"));
    connect(preset_size_btn, &QPushButton::clicked, this, &CardSizePanel::presetSizeWanted);
    buttons->addWidget(Apply_Size_btn);
    buttons->addWidget(page_frm_printer_btn);
    buttons->addWidget(preset_size_btn);
    buttons->addStretch(1);
    g->addLayout(buttons, 4, 0, 1, 4);

    units_btn = new QPushButton(tr("Units..."), this);
    units_btn->setObjectName(QStringLiteral("units_btn"));
    units_btn->setToolTip(tr("Inches, centimetres or millimetres"));
    connect(units_btn, &QPushButton::clicked, this, &CardSizePanel::unitsWanted);
    column()->addWidget(units_btn, 0, Qt::AlignLeft);
    column()->addStretch(1);
}

// ---------------------------------------------------------------- background

CardBackgroundPanel::CardBackgroundPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_bkgd_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    Card_fill_chk = new QCheckBox(tr("Fill"), this);
    Card_fill_chk->setObjectName(QStringLiteral("Card_fill_chk"));
    connect(Card_fill_chk, &QCheckBox::clicked, this, &CardBackgroundPanel::fillCheckClicked);
    column()->addWidget(Card_fill_chk);
    Card_Fill_Box = addBox(QString(), QStringLiteral("Card_Fill_Box"));
    {
        QGridLayout* g = Panel_Grid(Card_Fill_Box);
        Card_solid_fill_rd = newRadio(Card_Fill_Box, QStringLiteral("Card_solid_fill_rd"), tr("Solid"),
                                      [this] { Card_Solid_RD_Sel(); });
        Card_gradient_fill_rd = newRadio(Card_Fill_Box, QStringLiteral("Card_gradient_fill_rd"), tr("Gradient"),
                                         [this] { Card_Gradient_RD_Sel(); });
        Card_Style_fill_rd = newRadio(Card_Fill_Box, QStringLiteral("Card_Style_fill_rd"), tr("Pattern"),
                                      [this] { Card_Hatch_RD_Sel(); });
        Card_Image_fill_rd = newRadio(Card_Fill_Box, QStringLiteral("Card_Image_fill_rd"), tr("Picture"),
                                      [this] { Card_Image_RD_Sel(); });
        auto* radios = new QGridLayout;
        radios->addWidget(Card_solid_fill_rd, 0, 0);
        radios->addWidget(Card_gradient_fill_rd, 0, 1);
        radios->addWidget(Card_Style_fill_rd, 1, 0);
        radios->addWidget(Card_Image_fill_rd, 1, 1);
        g->addLayout(radios, 0, 0, 1, 3);
        Card_fill_clr = newWell(Card_Fill_Box, QStringLiteral("Card_fill_clr"), Qt::white);
        g->addWidget(Panel_Caption(Card_Fill_Box, tr("Colour")), 1, 0);
        g->addWidget(Card_fill_clr, 1, 1);
        Card_fill_Grd_1_clr = newWell(Card_Fill_Box, QStringLiteral("Card_fill_Grd_1_clr"), Qt::white);
        Card_fill_Grd_2_clr = newWell(Card_Fill_Box, QStringLiteral("Card_fill_Grd_2_clr"), Qt::white);
        auto* wells = new QHBoxLayout;
        wells->addWidget(Card_fill_Grd_1_clr);
        wells->addWidget(Card_fill_Grd_2_clr);
        wells->addStretch(1);
        g->addWidget(Panel_Caption(Card_Fill_Box, tr("Gradient")), 2, 0);
        g->addLayout(wells, 2, 1, 1, 2);
        Card_grad = newPair(Card_Fill_Box, QStringLiteral("Card_grad"), 0, 360, 1, true, emitChanged);
        g->addWidget(Panel_Caption(Card_Fill_Box, tr("Angle (\u00b0)")), 3, 0);
        g->addLayout(Card_grad->row(), 3, 1, 1, 2);
        Card_hatch_style = New_List_Combo(Card_Fill_Box, QStringLiteral("Card_hatch_style"), {});
        g->addWidget(Panel_Caption(Card_Fill_Box, tr("Pattern")), 4, 0);
        g->addWidget(Card_hatch_style, 4, 1, 1, 2);
        Card_hatch_bk_clr = newWell(Card_Fill_Box, QStringLiteral("Card_hatch_bk_clr"), Qt::white);
        g->addWidget(Panel_Caption(Card_Fill_Box, tr("Behind")), 5, 0);
        g->addWidget(Card_hatch_bk_clr, 5, 1);
        Card_alpha_lbl = Panel_Caption(Card_Fill_Box, tr("Opacity (%)"));
        Card_alpha_lbl->setObjectName(QStringLiteral("Card_alpha_lbl"));
        Card_alpha = newPair(Card_Fill_Box, QStringLiteral("Card_alpha"), 0, 100, 1, true, emitChanged);
        g->addWidget(Card_alpha_lbl, 6, 0);
        g->addLayout(Card_alpha->row(), 6, 1, 1, 2);
    }
    Card_image_box = addBox(tr("Picture"), QStringLiteral("Card_image_box"));
    {
        QGridLayout* g = Panel_Grid(Card_image_box);
        const Picture_Path_Row row =
            Add_Picture_Path_Row(Card_image_box, g, QStringLiteral("Card_Image_path"),
                                 QStringLiteral("Card_Image_Browse_Btn"), QStringLiteral("Card_Image_Library_Btn"));
        Card_Image_path = row.path;
        Card_Image_Browse_Btn = row.browse;
        Card_Image_Library_Btn = row.library;
        connect(Card_Image_Browse_Btn, &QPushButton::clicked, this, &CardBackgroundPanel::browseWanted);
        connect(Card_Image_Library_Btn, &QPushButton::clicked, this, &CardBackgroundPanel::libraryWanted);
        Card_image_layout = New_List_Combo(Card_image_box, QStringLiteral("Card_image_layout"),
                                           {QStringLiteral("Tile"), QStringLiteral("Stretch")});
        connect(Card_image_layout, &QComboBox::activated, this, &CardBackgroundPanel::layoutChosen);
        g->addWidget(Panel_Caption(Card_image_box, tr("Layout")), 2, 0);
        g->addWidget(Card_image_layout, 2, 1, 1, 2);
    }
    column()->addStretch(1);
}

void CardBackgroundPanel::Show_Hide_Card_Transp_Ctrl(bool hide)
{
    Card_alpha_lbl->setVisible(!hide);
    Card_alpha->setVisible(!hide);
}

QString CardBackgroundPanel::fillStyle() const
{
    if (Card_gradient_fill_rd->isChecked())
        return QStringLiteral("G");
    if (Card_Style_fill_rd->isChecked())
        return QStringLiteral("H");
    if (Card_Image_fill_rd->isChecked())
        return QStringLiteral("I");
    return QStringLiteral("S");
}

void CardBackgroundPanel::setRadio(QRadioButton* on)
{
    for (QRadioButton* r : {Card_solid_fill_rd, Card_gradient_fill_rd, Card_Style_fill_rd, Card_Image_fill_rd})
        r->setChecked(r == on);
}

// The background controls of one fill kind on, the others off.
void CardBackgroundPanel::enableKind(const QString& style)
{
    const bool g = style == QLatin1String("G");
    const bool h = style == QLatin1String("H");
    const bool i = style == QLatin1String("I");
    Card_fill_clr->setEnabled(!g && !h && !i);
    for (QWidget* w : {static_cast<QWidget*>(Card_fill_Grd_1_clr), static_cast<QWidget*>(Card_fill_Grd_2_clr),
                       static_cast<QWidget*>(Card_grad->text), static_cast<QWidget*>(Card_grad->stepper)})
        w->setEnabled(g);
    Card_hatch_style->setEnabled(h);
    Card_hatch_bk_clr->setEnabled(h);
}

void CardBackgroundPanel::card_prop_set(const QString& style, bool fillOn)
{
    QString code = style;
    if (code != QLatin1String("G") && code != QLatin1String("H") && code != QLatin1String("I"))
        code = QStringLiteral("S");
    setRadio(code == QLatin1String("G")   ? Card_gradient_fill_rd
             : code == QLatin1String("H") ? Card_Style_fill_rd
             : code == QLatin1String("I") ? Card_Image_fill_rd
                                          : Card_solid_fill_rd);
    if (code == QLatin1String("G"))
        Show_Hide_Card_Transp_Ctrl(true);
    else if (code == QLatin1String("I"))
        Show_Hide_Card_Transp_Ctrl(Card_image_layout->currentText() == QLatin1String("Tile"));
    else
        Show_Hide_Card_Transp_Ctrl(false);
    SetObjEnabled(Card_Fill_Box, fillOn);
    enableKind(code);
    SetObjEnabled(Card_image_box, code == QLatin1String("I"));
}

void CardBackgroundPanel::Card_Fill_Chk_Box(const QString& modelStyle)
{
    card_prop_set(modelStyle, Card_fill_chk->isChecked());
    if (!Card_fill_chk->isChecked()) {
        SetObjEnabled(Card_Fill_Box, false);
        SetObjEnabled(Card_image_box, false);
    } else {
        SetObjEnabled(Card_Fill_Box, true);
        enableKind(fillStyle());
        if (!Card_Image_fill_rd->isChecked())
            SetObjEnabled(Card_image_box, false);
    }
    emit changed();
}

void CardBackgroundPanel::Card_Solid_RD_Sel()
{
    setRadio(Card_solid_fill_rd);
    Show_Hide_Card_Transp_Ctrl(false);
    enableKind(QStringLiteral("S"));
    SetObjEnabled(Card_image_box, false);
    emit changed();
}

void CardBackgroundPanel::Card_Gradient_RD_Sel()
{
    setRadio(Card_gradient_fill_rd);
    Show_Hide_Card_Transp_Ctrl(true);
    enableKind(QStringLiteral("G"));
    SetObjEnabled(Card_image_box, false);
    emit changed();
}

void CardBackgroundPanel::Card_Hatch_RD_Sel()
{
    setRadio(Card_Style_fill_rd);
    Show_Hide_Card_Transp_Ctrl(false);
    enableKind(QStringLiteral("H"));
    SetObjEnabled(Card_image_box, false);
    emit changed();
}

void CardBackgroundPanel::Card_Image_RD_Sel()
{
    setRadio(Card_Image_fill_rd);
    Show_Hide_Card_Transp_Ctrl(Card_image_layout->currentText() == QLatin1String("Tile"));
    enableKind(QStringLiteral("I"));
    SetObjEnabled(Card_image_box, true);
    emit changed();
}

// ---------------------------------------------------------------- border

CardBorderPanel::CardBorderPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_brdr_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    Card_border_chk = newCheck(this, QStringLiteral("Card_border_chk"), tr("Border"), [this] { Card_Border_ChkBox(); });
    column()->addWidget(Card_border_chk);
    Card_Border_Box = addBox(QString(), QStringLiteral("Card_Border_Box"));
    QGridLayout* g = Panel_Grid(Card_Border_Box);
    Card_bordr_clr = newWell(Card_Border_Box, QStringLiteral("Card_bordr_clr"));
    g->addWidget(Panel_Caption(Card_Border_Box, tr("Colour")), 0, 0);
    g->addWidget(Card_bordr_clr, 0, 1);
    Card_bor = newPair(Card_Border_Box, QStringLiteral("Card_bor"), 1, 50, 1, true, emitChanged);
    g->addWidget(Panel_Caption(Card_Border_Box, tr("Width (pt)")), 1, 0);
    g->addLayout(Card_bor->row(), 1, 1, 1, 2);
    Card_border_style = New_Border_Style_Combo(Card_Border_Box, QStringLiteral("Card_border_style"));
    g->addWidget(Panel_Caption(Card_Border_Box, tr("Style")), 2, 0);
    g->addWidget(Card_border_style, 2, 1, 1, 2);
    column()->addStretch(1);
}

void CardBorderPanel::Card_Border_ChkBox()
{
    SetObjEnabled(Card_Border_Box, Card_border_chk->isChecked());
    emit changed();
}

// ---------------------------------------------------------------- setting

CardSettingPanel::CardSettingPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_setting_tab"), parent)
{
    m_name = new QLabel(this);
    column()->addWidget(m_name);
    column()->addStretch(1);
}

void CardSettingPanel::load(const Card_Property& card)
{
    m_name->setText(card.Card_Name);
}
