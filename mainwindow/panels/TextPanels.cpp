#include "mainwindow/panels/ItemPanels.h"

#include "core/model/LMNGraphic.h"
#include "core/model/LMNLine.h"
#include "core/util/Helpers.h"
#include "mainwindow/panels/ItemPanelParts.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/units/Units.h"
#include "platform/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

// ---------------------------------------------------------------- text: letters

TextEditingPanel::TextEditingPanel(QWidget* parent) : PropertyPanel(QStringLiteral("text_edtng_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    auto* box = addBox(tr("Letters"), QStringLiteral("Text_Letters_Box"));
    QGridLayout* g = Panel_Grid(box);
    Text_font_value = new QLabel(box);
    Text_font_value->setObjectName(QStringLiteral("Text_font_value"));
    Text_font_value->setWordWrap(true);
    Text_font_btn = new QPushButton(tr("Font..."), box);
    Text_font_btn->setObjectName(QStringLiteral("Text_font_btn"));
    connect(Text_font_btn, &QPushButton::clicked, this, &TextEditingPanel::Text_Font_Changed);
    g->addWidget(Panel_Caption(box, tr("Font")), 0, 0);
    g->addWidget(Text_font_value, 0, 1, 1, 2);
    g->addWidget(Text_font_btn, 1, 1, 1, 2, Qt::AlignLeft);
    Text_clr = newWell(box, QStringLiteral("Text_clr"));
    g->addWidget(Panel_Caption(box, tr("Colour")), 2, 0);
    g->addWidget(Text_clr, 2, 1);
    Text_align_combo = watchCombo(New_List_Combo(box, QStringLiteral("Text_align_combo"),
                                                 {tr("Left"), tr("Right"), tr("Centre"), tr("Justified"),
                                                  tr("Natural")}),
                                  emitChanged);
    g->addWidget(Panel_Caption(box, tr("Across")), 3, 0);
    g->addWidget(Text_align_combo, 3, 1, 1, 2);
    Text_vert_align_combo = watchCombo(New_List_Combo(box, QStringLiteral("Text_vert_align_combo"),
                                                      {tr("Top"), tr("Bottom"), tr("Middle")}),
                                       emitChanged);
    g->addWidget(Panel_Caption(box, tr("Down")), 4, 0);
    g->addWidget(Text_vert_align_combo, 4, 1, 1, 2);
    Text_case_combo = watchCombo(New_List_Combo(box, QStringLiteral("Text_case_combo"),
                                                {tr("As typed"), tr("UPPER CASE"), tr("lower case"),
                                                 tr("Capitalised")}),
                                 emitChanged);
    g->addWidget(Panel_Caption(box, tr("Case")), 5, 0);
    g->addWidget(Text_case_combo, 5, 1, 1, 2);
    Text_Kern = newPair(box, QStringLiteral("Text_Kern"), -20, 50, 0.5, false, emitChanged);
    g->addWidget(Panel_Caption(box, tr("Spacing (pt)")), 6, 0);
    g->addLayout(Text_Kern->row(), 6, 1, 1, 2);
    txt_rotation_slidr = Rotation_Slider(box, QStringLiteral("txt_rotation_slidr"));
    txt_rotation_slidr_val = new QLabel(QStringLiteral("0"), box);
    txt_rotation_slidr_val->setObjectName(QStringLiteral("txt_rotation_slidr_val"));
    txt_rotation_slidr_val->setMinimumWidth(30);
    g->addWidget(Panel_Caption(box, tr("Rotation (\u00b0)")), 7, 0);
    g->addWidget(txt_rotation_slidr, 7, 1, 1, 2);
    g->addWidget(txt_rotation_slidr_val, 7, 3);
    connect(txt_rotation_slidr, &QSlider::sliderMoved, this,
            [this](int v) { txt_rotation_slidr_val->setText(QString::number(v)); });
    connect(txt_rotation_slidr, &QSlider::sliderReleased, this, [this] { Txt_Rotate_Slider_Changed(); });
    connect(txt_rotation_slidr, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            QMetaObject::invokeMethod(this, [this] { Txt_Rotate_Slider_Changed(); }, Qt::QueuedConnection);
    });
    txt_ctrl_id_val = new QLabel(this);
    txt_ctrl_id_val->setObjectName(QStringLiteral("txt_ctrl_id_val"));
    txt_ctrl_id_val->hide();
    column()->addStretch(1);
}

void TextEditingPanel::Text_Font_Changed()
{
    emit fontPanelWanted();
}

void TextEditingPanel::changeTextFont(const QFont& font)
{
    Text_font = font;
    Text_font_value->setText(Font_Label_Text(Text_font));
    emit changed();
}

void TextEditingPanel::Txt_Rotate_Slider_Changed()
{
    txt_rotation_slidr_val->setText(QString::number(txt_rotation_slidr->value()));
    emit changed();
}

void TextEditingPanel::load(const LMNGraphic& item)
{
    txt_ctrl_id_val->setText(item.control_ID);
    Text_clr->setColor(item.txt_clr);
    Text_font = item.text_ctrl_font;
    Text_font_value->setText(Font_Label_Text(Text_font));
    txt_rotation_slidr->setValue(item.text_rotation);
    txt_rotation_slidr_val->setText(QString::number(item.text_rotation));
    Text_vert_align_combo->setCurrentIndex(item.text_alignmnet_Vert);
    Text_align_combo->setCurrentIndex(item.text_alignmnet);
    Text_case_combo->setCurrentIndex(item.text_transfrom_case);
    Text_Kern->setValue(item.text_kerning);
}

void TextEditingPanel::writeTo(LMNGraphic& item) const
{
    item.txt_clr = Text_clr->color();
    item.text_ctrl_font = Text_font;
    item.text_alignmnet_Vert = Text_vert_align_combo->currentIndex();
    item.text_alignmnet = Text_align_combo->currentIndex();
    item.text_transfrom_case = Text_case_combo->currentIndex();
    item.text_kerning = static_cast<float>(Text_Kern->value());
    item.text_rotation = txt_rotation_slidr->value();
}

// ---------------------------------------------------------------- text: box and shadow

TextPropertiesPanel::TextPropertiesPanel(QWidget* parent) : PropertyPanel(QStringLiteral("text_prop_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    Text_border_chk = newCheck(this, QStringLiteral("Text_border_chk"), tr("Border"), [this] { Text_Border_ChkBox(); });
    column()->addWidget(Text_border_chk);
    Text_Border_Box = addBox(QString(), QStringLiteral("Text_Border_Box"));
    {
        const Border_Controls border = addBorderControls(Text_Border_Box, QStringLiteral("Text_"));
        Text_bordr_clr = border.colour;
        Text_bor = border.width;
        Text_border_style = border.style;
    }
    Text_fill_chk = newCheck(this, QStringLiteral("Text_fill_chk"), tr("Fill"), [this] { Text_Fill_Chk_Box(); });
    column()->addWidget(Text_fill_chk);
    // The kind of fill stays choosable while the fill is off.
    Text_solid_fill_rd = newRadio(this, QStringLiteral("Text_solid_fill_rd"), tr("Solid"),
                                  [this] { Text_Solid_RD_Sel(); });
    Text_gradient_fill_rd = newRadio(this, QStringLiteral("Text_gradient_fill_rd"), tr("Gradient"),
                                     [this] { Text_Gradient_RD_Sel(); });
    {
        auto* radios = new QHBoxLayout;
        radios->setContentsMargins(18, 0, 0, 0);
        radios->addWidget(Text_solid_fill_rd);
        radios->addWidget(Text_gradient_fill_rd);
        radios->addStretch(1);
        column()->addLayout(radios);
    }
    Text_Fill_Box = addBox(QString(), QStringLiteral("Text_Fill_Box"));
    {
        QGridLayout* g = Panel_Grid(Text_Fill_Box);
        Text_fill_clr = newWell(Text_Fill_Box, QStringLiteral("Text_fill_clr"), Qt::white);
        g->addWidget(Panel_Caption(Text_Fill_Box, tr("Colour")), 1, 0);
        g->addWidget(Text_fill_clr, 1, 1);
        Text_fill_Grd_1_clr = newWell(Text_Fill_Box, QStringLiteral("Text_fill_Grd_1_clr"), Qt::white);
        Text_fill_Grd_2_clr = newWell(Text_Fill_Box, QStringLiteral("Text_fill_Grd_2_clr"));
        auto* wells = new QHBoxLayout;
        wells->addWidget(Text_fill_Grd_1_clr);
        wells->addWidget(Text_fill_Grd_2_clr);
        wells->addStretch(1);
        g->addWidget(Panel_Caption(Text_Fill_Box, tr("Gradient")), 2, 0);
        g->addLayout(wells, 2, 1, 1, 2);
        Text_grad = newPair(Text_Fill_Box, QStringLiteral("Text_grad"), 0, 360, 1, true, emitChanged);
        g->addWidget(Panel_Caption(Text_Fill_Box, tr("Angle (\u00b0)")), 3, 0);
        g->addLayout(Text_grad->row(), 3, 1, 1, 2);
    }
    auto* opacity = new QHBoxLayout;
    text_alpha_lbl = Panel_Caption(this, tr("Opacity (%)"));
    text_alpha_lbl->setObjectName(QStringLiteral("text_alpha_lbl"));
    Text_alpha = newPair(this, QStringLiteral("Text_alpha"), 0, 100, 1, true, emitChanged);
    opacity->addWidget(text_alpha_lbl);
    opacity->addLayout(Text_alpha->row(), 1);
    column()->addLayout(opacity);

    draw_shadow_chkbox = newCheck(this, QStringLiteral("draw_shadow_chkbox"), tr("Shadow"),
                                  [this] { Draw_Shadow_ChkBox(); });
    column()->addWidget(draw_shadow_chkbox);
    shadow_box = addBox(QString(), QStringLiteral("shadow_box"));
    {
        QGridLayout* g = Panel_Grid(shadow_box);
        Shadow_clr = newWell(shadow_box, QStringLiteral("Shadow_clr"));
        // The shadow's colour is the text's own: it is not handed to other items.
        disconnect(Shadow_clr, &ColorWell::colorChanged, this, nullptr);
        connect(Shadow_clr, &ColorWell::colorChanged, this, [this] { emit changed(); });
        g->addWidget(Panel_Caption(shadow_box, tr("Colour")), 0, 0);
        g->addWidget(Shadow_clr, 0, 1);
        shadow_x = newPair(shadow_box, QStringLiteral("shadow_x"), -50, 50, 1, false, emitChanged);
        g->addWidget(Panel_Caption(shadow_box, tr("Across (pt)")), 1, 0);
        g->addLayout(shadow_x->row(), 1, 1, 1, 2);
        shadow_y = newPair(shadow_box, QStringLiteral("shadow_y"), -50, 50, 1, false, emitChanged);
        g->addWidget(Panel_Caption(shadow_box, tr("Down (pt)")), 2, 0);
        g->addLayout(shadow_y->row(), 2, 1, 1, 2);
        shadow_blur = newPair(shadow_box, QStringLiteral("shadow_blur"), 0, 50, 1, false, emitChanged);
        g->addWidget(Panel_Caption(shadow_box, tr("Blur (pt)")), 3, 0);
        g->addLayout(shadow_blur->row(), 3, 1, 1, 2);
        shadow_transp = newPair(shadow_box, QStringLiteral("shadow_transp"), 0, 100, 5, false, emitChanged);
        g->addWidget(Panel_Caption(shadow_box, tr("Opacity (%)")), 4, 0);
        g->addLayout(shadow_transp->row(), 4, 1, 1, 2);
    }
    column()->addStretch(1);
    Text_alpha->setValue(100);
    shadow_transp->setValue(50);
}

void TextPropertiesPanel::Show_Hide_Text_Transp_Ctrl(bool hide)
{
    text_alpha_lbl->setVisible(!hide);
    Text_alpha->setVisible(!hide);
}

void TextPropertiesPanel::Text_Border_ChkBox()
{
    SetObjEnabled(Text_Border_Box, Text_border_chk->isChecked());
    emit changed();
}

void TextPropertiesPanel::enableFillKind(bool gradient)
{
    Text_fill_clr->setEnabled(!gradient);
    for (QWidget* w : {static_cast<QWidget*>(Text_fill_Grd_1_clr), static_cast<QWidget*>(Text_fill_Grd_2_clr),
                       static_cast<QWidget*>(Text_grad->text), static_cast<QWidget*>(Text_grad->stepper)})
        w->setEnabled(gradient);
}

void TextPropertiesPanel::Text_Fill_Chk_Box()
{
    if (Text_fill_chk->isChecked()) {
        SetObjEnabled(Text_Fill_Box, true);
        enableFillKind(Text_gradient_fill_rd->isChecked());
    } else {
        SetObjEnabled(Text_Fill_Box, false);
    }
    emit changed();
}

void TextPropertiesPanel::Text_Solid_RD_Sel()
{
    Show_Hide_Text_Transp_Ctrl(false);
    Text_solid_fill_rd->setChecked(true);
    Text_gradient_fill_rd->setChecked(false);
    enableFillKind(false);
    emit changed();
}

void TextPropertiesPanel::Text_Gradient_RD_Sel()
{
    Show_Hide_Text_Transp_Ctrl(true);
    Text_solid_fill_rd->setChecked(false);
    Text_gradient_fill_rd->setChecked(true);
    enableFillKind(true);
    emit changed();
}

void TextPropertiesPanel::Draw_Shadow_ChkBox()
{
    SetObjEnabled(shadow_box, draw_shadow_chkbox->isChecked());
    emit changed();
}

void TextPropertiesPanel::load(const LMNGraphic& item)
{
    Text_border_chk->setChecked(item._isDrawingStroke);
    Text_fill_chk->setChecked(item._isDrawingFill);
    Text_bor->setValue(static_cast<int>(item._strokeWidth));
    Text_bordr_clr->setColor(item._strokeColor);
    Select_Border_Style(Text_border_style, item._stroke_border_type);
    Text_fill_clr->setColor(item._fillColor);
    const bool gradient = item._fill_type == QLatin1String("G");
    Text_gradient_fill_rd->setChecked(gradient);
    Text_solid_fill_rd->setChecked(!gradient);
    Show_Hide_Text_Transp_Ctrl(gradient);
    Text_fill_Grd_1_clr->setColor(item._fill_Grad_clr1);
    Text_fill_Grd_2_clr->setColor(item._fill_Grad_clr2);
    Text_grad->setValue(item._fill_grad_angle);
    Text_alpha->setValue(double(item.alpha_val) * 100.0);
    draw_shadow_chkbox->setChecked(item.Drawing_Shadow);
    Shadow_clr->setColor(item.Shadow_Color);
    shadow_x->setValue(item.Shadow_offset_X);
    shadow_y->setValue(item.Shadow_offset_Y);
    shadow_blur->setValue(item.Shadow_blur);
    shadow_transp->setValue(double(item.Shadow_transparency) * 100.0);

    if (item._isDrawingFill) {
        SetObjEnabled(Text_Fill_Box, true);
        enableFillKind(gradient);
    } else {
        SetObjEnabled(Text_Fill_Box, false);
    }
    SetObjEnabled(Text_Border_Box, item._isDrawingStroke);
    SetObjEnabled(shadow_box, item.Drawing_Shadow);
}

void TextPropertiesPanel::writeTo(LMNGraphic& item) const
{
    if (Text_border_chk->isChecked()) {
        item._isDrawingStroke = true;
        item._strokeColor = Text_bordr_clr->color();
        item._strokeWidth = Text_bor->intValue();
    } else {
        item._isDrawingStroke = false;
    }
    item._stroke_border_type = Return_Border_Style_Str_On_index(Text_border_style->currentIndex());
    if (Text_fill_chk->isChecked()) {
        item._isDrawingFill = true;
        item._fillColor = Text_fill_clr->color();
    } else {
        item._isDrawingFill = false;
    }
    // A text box has no pattern fill; the gradient radio decides even with the fill off.
    item._fill_type = Text_gradient_fill_rd->isChecked() ? QStringLiteral("G") : QStringLiteral("S");
    item._fill_Grad_clr1 = Text_fill_Grd_1_clr->color();
    item._fill_Grad_clr2 = Text_fill_Grd_2_clr->color();
    item._fill_grad_angle = Text_grad->value();
    item.alpha_val = static_cast<float>(Text_alpha->value() / 100.0);
    item.Drawing_Shadow = draw_shadow_chkbox->isChecked();
    item.Shadow_Color = Shadow_clr->color();
    item.Shadow_offset_X = static_cast<float>(shadow_x->value());
    item.Shadow_offset_Y = static_cast<float>(shadow_y->value());
    item.Shadow_blur = static_cast<float>(shadow_blur->value());
    item.Shadow_transparency = static_cast<float>(shadow_transp->value() / 100.0);
}
