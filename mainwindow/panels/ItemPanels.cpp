#include "mainwindow/panels/ItemPanels.h"

#include "core/model/LMNGraphic.h"
#include "core/model/LMNLine.h"
#include "core/util/Helpers.h"
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

namespace {

QLabel* Bold_Label(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}


// A slider of whole degrees with its value label.
QSlider* Rotation_Slider(QWidget* parent, const QString& name)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(-180, 180);
    s->setPageStep(15);
    return s;
}

} // namespace

// ---------------------------------------------------------------- base

PropertyPanel::PropertyPanel(const QString& objectName, QWidget* parent) : QWidget(parent)
{
    setObjectName(objectName);
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(6, 6, 6, 6);
    m_column->setSpacing(6);
}

QGroupBox* PropertyPanel::addBox(const QString& title, const QString& objectName)
{
    auto* box = new QGroupBox(title, this);
    box->setObjectName(objectName);
    m_column->addWidget(box);
    return box;
}

ColorWell* PropertyPanel::newWell(QWidget* parent, const QString& objectName, const QColor& color)
{
    auto* well = new ColorWell(color, parent);
    well->setObjectName(objectName);
    connect(well, &ColorWell::colorChanged, this, [this](const QColor& c) { emit colorChosen(c); });
    return well;
}

QCheckBox* PropertyPanel::newCheck(QWidget* parent, const QString& objectName, const QString& text,
                                   const std::function<void()>& action)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(objectName);
    connect(c, &QCheckBox::clicked, this, [action] { action(); });
    return c;
}

QRadioButton* PropertyPanel::newRadio(QWidget* parent, const QString& objectName, const QString& text,
                                      const std::function<void()>& action)
{
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(objectName);
    r->setAutoExclusive(false);   // the actions set all the radio buttons of a group
    connect(r, &QRadioButton::clicked, this, [action] { action(); });
    return r;
}

QComboBox* PropertyPanel::watchCombo(QComboBox* combo, const std::function<void()>& action)
{
    connect(combo, &QComboBox::activated, this, [action](int) { action(); });
    return combo;
}

PropertyPanel::Border_Controls PropertyPanel::addBorderControls(QGroupBox* box, const QString& prefix)
{
    auto emitChanged = [this] { emit changed(); };
    Border_Controls c;
    QGridLayout* g = Panel_Grid(box);
    c.colour = newWell(box, prefix + QStringLiteral("bordr_clr"));
    c.width = newPair(box, prefix + QStringLiteral("bor"), 0, 50, 1, true, emitChanged);
    c.style = watchCombo(New_Border_Style_Combo(box, prefix + QStringLiteral("border_style")), emitChanged);
    g->addWidget(Panel_Caption(box, tr("Colour")), 0, 0);
    g->addWidget(c.colour, 0, 1);
    g->addWidget(Panel_Caption(box, tr("Width (pt)")), 1, 0);
    g->addLayout(c.width->row(), 1, 1, 1, 2);
    g->addWidget(Panel_Caption(box, tr("Style")), 2, 0);
    g->addWidget(c.style, 2, 1, 1, 2);
    return c;
}

Number_Pair* PropertyPanel::newPair(QWidget* box, const QString& name, double min, double max, double step,
                                    bool whole, const std::function<void()>& action)
{
    auto* p = new Number_Pair(box, name, min, max, step, whole);
    connect(p, &Number_Pair::edited, this, [action] { action(); });
    return p;
}

// ---------------------------------------------------------------- shape

ShapePanel::ShapePanel(QWidget* parent) : PropertyPanel(QStringLiteral("shape_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    Shape_prop_title = Bold_Label(this, QStringLiteral("Shape_prop_title"));
    column()->addWidget(Shape_prop_title);

    Shape_border_chk = newCheck(this, QStringLiteral("Shape_border_chk"), tr("Border"),
                                [this] { Shape_Border_ChkBox(); });
    column()->addWidget(Shape_border_chk);
    Shape_Border_Box = addBox(QString(), QStringLiteral("Shape_Border_Box"));
    {
        const Border_Controls border = addBorderControls(Shape_Border_Box, QStringLiteral("shape_"));
        shape_bordr_clr = border.colour;
        shape_bor = border.width;
        shape_border_style = border.style;
    }

    Shape_fill_chk = newCheck(this, QStringLiteral("Shape_fill_chk"), tr("Fill"), [this] { Shape_Fill_Chk_Box(); });
    column()->addWidget(Shape_fill_chk);
    Shape_Fill_Box = addBox(QString(), QStringLiteral("Shape_Fill_Box"));
    {
        QGridLayout* g = Panel_Grid(Shape_Fill_Box);
        Shape_solid_fill_rd = newRadio(Shape_Fill_Box, QStringLiteral("Shape_solid_fill_rd"), tr("Solid"),
                                       [this] { Shape_Solid_RD_Sel(); });
        Shape_gradient_fill_rd = newRadio(Shape_Fill_Box, QStringLiteral("Shape_gradient_fill_rd"), tr("Gradient"),
                                          [this] { Shape_Gradient_RD_Sel(); });
        Shape_Style_fill_rd = newRadio(Shape_Fill_Box, QStringLiteral("Shape_Style_fill_rd"), tr("Pattern"),
                                       [this] { Shape_Hatch_RD_Sel(); });
        auto* radios = new QHBoxLayout;
        radios->addWidget(Shape_solid_fill_rd);
        radios->addWidget(Shape_gradient_fill_rd);
        radios->addWidget(Shape_Style_fill_rd);
        g->addLayout(radios, 0, 0, 1, 3);
        shape_fill_clr = newWell(Shape_Fill_Box, QStringLiteral("shape_fill_clr"), Qt::white);
        g->addWidget(Panel_Caption(Shape_Fill_Box, tr("Colour")), 1, 0);
        g->addWidget(shape_fill_clr, 1, 1);
        shape_fill_Grd_1_clr = newWell(Shape_Fill_Box, QStringLiteral("shape_fill_Grd_1_clr"), Qt::white);
        shape_fill_Grd_2_clr = newWell(Shape_Fill_Box, QStringLiteral("shape_fill_Grd_2_clr"));
        auto* wells = new QHBoxLayout;
        wells->addWidget(shape_fill_Grd_1_clr);
        wells->addWidget(shape_fill_Grd_2_clr);
        wells->addStretch(1);
        g->addWidget(Panel_Caption(Shape_Fill_Box, tr("Gradient")), 2, 0);
        g->addLayout(wells, 2, 1, 1, 2);
        shape_grad = newPair(Shape_Fill_Box, QStringLiteral("shape_grad"), 0, 360, 1, true, emitChanged);
        g->addWidget(Panel_Caption(Shape_Fill_Box, tr("Angle (\u00b0)")), 3, 0);
        g->addLayout(shape_grad->row(), 3, 1, 1, 2);
        shape_hatch_style = watchCombo(New_List_Combo(Shape_Fill_Box, QStringLiteral("shape_hatch_style"), {}),
                                       emitChanged);
        g->addWidget(Panel_Caption(Shape_Fill_Box, tr("Pattern")), 4, 0);
        g->addWidget(shape_hatch_style, 4, 1, 1, 2);
        shape_hatch_bk_clr = newWell(Shape_Fill_Box, QStringLiteral("shape_hatch_bk_clr"), Qt::white);
        g->addWidget(Panel_Caption(Shape_Fill_Box, tr("Behind")), 5, 0);
        g->addWidget(shape_hatch_bk_clr, 5, 1);
    }

    auto* more = addBox(tr("Shape"), QStringLiteral("shape_more_box"));
    {
        QGridLayout* g = Panel_Grid(more);
        shape_alpha_lbl = Panel_Caption(more, tr("Opacity (%)"));
        shape_alpha_lbl->setObjectName(QStringLiteral("shape_alpha_lbl"));
        shape_alpha = newPair(more, QStringLiteral("shape_alpha"), 0, 100, 1, true, [this] {
            emit changed();
        });
        g->addWidget(shape_alpha_lbl, 0, 0);
        g->addLayout(shape_alpha->row(), 0, 1, 1, 2);
        shape_cor_radius_Label = Panel_Caption(more, tr("Corner radius (pt)"));
        shape_cor_radius_Label->setObjectName(QStringLiteral("shape_cor_radius_Label"));
        shape_cor_radius = newPair(more, QStringLiteral("shape_cor_radius"), 0, 200, 1, false, emitChanged);
        g->addWidget(shape_cor_radius_Label, 1, 0);
        g->addLayout(shape_cor_radius->row(), 1, 1, 1, 2);
        double_star_Label = Panel_Caption(more, tr("Points"));
        double_star_Label->setObjectName(QStringLiteral("double_star_Label"));
        double_star = newPair(more, QStringLiteral("double_star"), 1, 100, 1, true, emitChanged);
        g->addWidget(double_star_Label, 2, 0);
        g->addLayout(double_star->row(), 2, 1, 1, 2);
        polygon_Label = Panel_Caption(more, tr("Sides"));
        polygon_Label->setObjectName(QStringLiteral("polygon_Label"));
        polygon = newPair(more, QStringLiteral("polygon"), 1, 100, 1, true, emitChanged);
        g->addWidget(polygon_Label, 3, 0);
        g->addLayout(polygon->row(), 3, 1, 1, 2);
        shape_rotation_slidr = Rotation_Slider(more, QStringLiteral("shape_rotation_slidr"));
        shape_rotation_slidr_val = new QLabel(QStringLiteral("0"), more);
        shape_rotation_slidr_val->setObjectName(QStringLiteral("shape_rotation_slidr_val"));
        shape_rotation_slidr_val->setMinimumWidth(30);
        g->addWidget(Panel_Caption(more, tr("Rotation (\u00b0)")), 4, 0);
        g->addWidget(shape_rotation_slidr, 4, 1, 1, 2);
        g->addWidget(shape_rotation_slidr_val, 4, 3);
        connect(shape_rotation_slidr, &QSlider::sliderMoved, this,
                [this](int v) { shape_rotation_slidr_val->setText(QString::number(v)); });
        connect(shape_rotation_slidr, &QSlider::sliderReleased, this, [this] { Shape_Rotate_Slider_Changed(); });
        connect(shape_rotation_slidr, &QSlider::actionTriggered, this, [this](int action) {
            if (action != QAbstractSlider::SliderMove)
                QMetaObject::invokeMethod(this, [this] { Shape_Rotate_Slider_Changed(); }, Qt::QueuedConnection);
        });
    }
    column()->addStretch(1);
    shape_alpha->setValue(100);
}

QString ShapePanel::Shape_Title(const QString& code)
{
    static const QList<std::pair<QString, QString>> titles = {
        {"R", "Rectangle Settings"}, {"C", "Ellipse Settings"}, {"RR", "Rounded Rectangle Settings"},
        {"T", "Triangle Settings"},  {"D", "Diamond Settings"}, {"S", "Star Settings"},
        {"DS", "Double Star Settings"}, {"P", "Polygon Settings"},
    };
    for (const auto& [c, t] : titles)
        if (c == code)
            return t;
    return {};
}

void ShapePanel::Show_Hide_Shape_Transp_Ctrl(bool hide)
{
    shape_alpha_lbl->setVisible(!hide);
    shape_alpha->setVisible(!hide);
}

void ShapePanel::Shape_Border_ChkBox()
{
    SetObjEnabled(Shape_Border_Box, Shape_border_chk->isChecked());
    emit changed();
}

// The controls of one fill kind on, those of the others off.
void ShapePanel::enableFillKind(const QString& type)
{
    const bool g = type == QLatin1String("G");
    const bool h = type == QLatin1String("H");
    shape_fill_clr->setEnabled(!g && !h);
    for (QWidget* w : {static_cast<QWidget*>(shape_fill_Grd_1_clr), static_cast<QWidget*>(shape_fill_Grd_2_clr),
                       static_cast<QWidget*>(shape_grad->text), static_cast<QWidget*>(shape_grad->stepper)})
        w->setEnabled(g);
    shape_hatch_style->setEnabled(h);
    shape_hatch_bk_clr->setEnabled(h);
}

void ShapePanel::Shape_Fill_Chk_Box()
{
    if (Shape_fill_chk->isChecked()) {
        SetObjEnabled(Shape_Fill_Box, true);
        if (Shape_gradient_fill_rd->isChecked())
            enableFillKind(QStringLiteral("G"));
        else if (Shape_Style_fill_rd->isChecked())
            enableFillKind(QStringLiteral("H"));
        else
            enableFillKind(QStringLiteral("S"));
    } else {
        SetObjEnabled(Shape_Fill_Box, false);
    }
    emit changed();
}

void ShapePanel::Shape_Solid_RD_Sel()
{
    Show_Hide_Shape_Transp_Ctrl(false);
    Shape_solid_fill_rd->setChecked(true);
    Shape_gradient_fill_rd->setChecked(false);
    Shape_Style_fill_rd->setChecked(false);
    enableFillKind(QStringLiteral("S"));
    emit changed();
}

void ShapePanel::Shape_Gradient_RD_Sel()
{
    Show_Hide_Shape_Transp_Ctrl(true);
    Shape_solid_fill_rd->setChecked(false);
    Shape_gradient_fill_rd->setChecked(true);
    Shape_Style_fill_rd->setChecked(false);
    enableFillKind(QStringLiteral("G"));
    emit changed();
}

void ShapePanel::Shape_Hatch_RD_Sel()
{
    Show_Hide_Shape_Transp_Ctrl(false);
    Shape_solid_fill_rd->setChecked(false);
    Shape_gradient_fill_rd->setChecked(false);
    Shape_Style_fill_rd->setChecked(true);
    enableFillKind(QStringLiteral("H"));
    emit changed();
}

void ShapePanel::Shape_Rotate_Slider_Changed()
{
    shape_rotation_slidr_val->setText(QString::number(shape_rotation_slidr->value()));
    emit changed();
}

void ShapePanel::load(const LMNGraphic& item, bool locked)
{
    for (QWidget* w : {static_cast<QWidget*>(shape_cor_radius_Label), static_cast<QWidget*>(double_star_Label),
                       static_cast<QWidget*>(polygon_Label)})
        w->hide();
    shape_cor_radius->setVisible(false);
    double_star->setVisible(false);
    polygon->setVisible(false);
    const QString code = item.Get_shape_type();
    const QString title = Shape_Title(code);
    if (!title.isEmpty() && !locked) {
        Shape_prop_title->setText(title);
        if (code == QLatin1String("RR")) {
            shape_cor_radius_Label->show();
            shape_cor_radius->setVisible(true);
        } else if (code == QLatin1String("DS")) {
            double_star_Label->show();
            double_star->setVisible(true);
        } else if (code == QLatin1String("P")) {
            polygon_Label->show();
            polygon->setVisible(true);
        }
    }

    shape_rotation_slidr->setValue(item.text_rotation);
    shape_rotation_slidr_val->setText(QString::number(item.text_rotation));
    Shape_border_chk->setChecked(item._isDrawingStroke);
    shape_bor->setValue(static_cast<int>(item._strokeWidth));
    shape_bordr_clr->setColor(item._strokeColor);
    Select_Border_Style(shape_border_style, item._stroke_border_type);
    Shape_fill_chk->setChecked(item._isDrawingFill);
    shape_fill_clr->setColor(item._fillColor);
    const QString type = item._fill_type;
    Shape_gradient_fill_rd->setChecked(type == QLatin1String("G"));
    Shape_Style_fill_rd->setChecked(type == QLatin1String("H"));
    Shape_solid_fill_rd->setChecked(type != QLatin1String("G") && type != QLatin1String("H"));
    Show_Hide_Shape_Transp_Ctrl(type == QLatin1String("G"));
    shape_fill_Grd_1_clr->setColor(item._fill_Grad_clr1);
    shape_fill_Grd_2_clr->setColor(item._fill_Grad_clr2);
    shape_hatch_bk_clr->setColor(item._fill_htch_clr);
    if (item._fill_hatch_type.isEmpty())
        shape_hatch_style->setCurrentIndex(-1);
    else
        Select_Combo_Text(shape_hatch_style, item._fill_hatch_type);
    shape_grad->setValue(item._fill_grad_angle);
    shape_alpha->setValue(double(item.alpha_val) * 100.0);
    shape_cor_radius->setValue(item.cor_rad_val);
    double_star->setValue(item.double_star_type);
    polygon->setValue(item.polygon_type);

    SetObjEnabled(Shape_Border_Box, item._isDrawingStroke);
    SetObjEnabled(Shape_Fill_Box, item._isDrawingFill);
    enableFillKind(type);
}

void ShapePanel::writeTo(LMNGraphic& item) const
{
    if (Shape_border_chk->isChecked()) {
        item._isDrawingStroke = true;
        item._strokeColor = shape_bordr_clr->color();
        item._strokeWidth = shape_bor->intValue();
    } else {
        item._isDrawingStroke = false;
    }
    item._stroke_border_type = Return_Border_Style_Str_On_index(shape_border_style->currentIndex());
    const bool fill = Shape_fill_chk->isChecked();
    item._isDrawingFill = fill;
    if (fill)
        item._fillColor = shape_fill_clr->color();
    if (fill && Shape_gradient_fill_rd->isChecked())
        item._fill_type = QStringLiteral("G");
    else if (fill && Shape_Style_fill_rd->isChecked())
        item._fill_type = QStringLiteral("H");
    else
        item._fill_type = QStringLiteral("S");
    item._fill_Grad_clr1 = shape_fill_Grd_1_clr->color();
    item._fill_Grad_clr2 = shape_fill_Grd_2_clr->color();
    item._fill_grad_angle = shape_grad->value();
    item._fill_htch_clr = shape_hatch_bk_clr->color();
    item._fill_hatch_type = shape_hatch_style->currentIndex() >= 0 ? shape_hatch_style->currentText() : QString();
    item.alpha_val = static_cast<float>(shape_alpha->value() / 100.0);
    item.cor_rad_val = static_cast<float>(shape_cor_radius->value());
    item.double_star_type = double_star->intValue();
    item.polygon_type = polygon->intValue();
    item.text_rotation = shape_rotation_slidr->value();
}

// ---------------------------------------------------------------- line

LinePanel::LinePanel(QWidget* parent) : PropertyPanel(QStringLiteral("line_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    auto* box = addBox(tr("Line"), QStringLiteral("Line_Box"));
    QGridLayout* g = Panel_Grid(box);
    Line_clr = newWell(box, QStringLiteral("Line_clr"));
    g->addWidget(Panel_Caption(box, tr("Colour")), 0, 0);
    g->addWidget(Line_clr, 0, 1);
    Line_Wdt = newPair(box, QStringLiteral("Line_Wdt"), 1, 50, 1, true, emitChanged);
    g->addWidget(Panel_Caption(box, tr("Width (pt)")), 1, 0);
    g->addLayout(Line_Wdt->row(), 1, 1, 1, 2);
    Line_border_style = watchCombo(New_Border_Style_Combo(box, QStringLiteral("Line_border_style")), emitChanged);
    g->addWidget(Panel_Caption(box, tr("Style")), 2, 0);
    g->addWidget(Line_border_style, 2, 1, 1, 2);
    Line_cap_style = watchCombo(New_List_Combo(box, QStringLiteral("Line_cap_style"),
                                               {tr("Butt"), tr("Round"), tr("Square")}),
                                emitChanged);
    g->addWidget(Panel_Caption(box, tr("Ends")), 3, 0);
    g->addWidget(Line_cap_style, 3, 1, 1, 2);
    Line_ori_style = watchCombo(New_List_Combo(box, QStringLiteral("Line_ori_style"),
                                               {tr("Horizontal"), tr("Vertical"), tr("Diagonal")}),
                                [this] {
                                    Direction_Chosen();
                                    emit changed();
                                });
    g->addWidget(Panel_Caption(box, tr("Direction")), 4, 0);
    g->addWidget(Line_ori_style, 4, 1, 1, 2);
    Line_alpha = newPair(box, QStringLiteral("Line_alpha"), 0, 100, 1, true, emitChanged);
    g->addWidget(Panel_Caption(box, tr("Opacity (%)")), 5, 0);
    g->addLayout(Line_alpha->row(), 5, 1, 1, 2);
    column()->addStretch(1);
    Line_alpha->setValue(100);
}

void LinePanel::load(const LMNGraphic& item)
{
    Line_Wdt->setValue(static_cast<int>(item._strokeWidth));
    Line_clr->setColor(item._strokeColor);
    Select_Border_Style(Line_border_style, item._stroke_border_type);
    // The direction the line runs in now (a handle may have turned it).
    Line_ori_style->setCurrentIndex(item.kind() == LMNKind::Line ? static_cast<const LMNLine&>(item).Line_Direction()
                                                                 : item._line_ori);
    Line_cap_style->setCurrentIndex(item._line_cap_style);
    Line_alpha->setValue(double(item.alpha_val_stroke) * 100.0);
}

void LinePanel::writeTo(LMNGraphic& item) const
{
    item._isDrawingStroke = true;
    item._strokeColor = Line_clr->color();
    item._strokeWidth = Line_Wdt->intValue();
    item._stroke_border_type = Return_Border_Style_Str_On_index(Line_border_style->currentIndex());
    item._line_cap_style = std::max(0, Line_cap_style->currentIndex());
    item._line_ori = std::max(0, Line_ori_style->currentIndex());
    // A direction chosen turns the line to run that way.
    if (m_turn && item.kind() == LMNKind::Line)
        static_cast<LMNLine&>(item).Turn_To_Direction(item._line_ori);
    item.alpha_val_stroke = static_cast<float>(Line_alpha->value() / 100.0);
}

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

// ---------------------------------------------------------------- picture

PicturePanel::PicturePanel(QWidget* parent) : PropertyPanel(QStringLiteral("image_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    image_error_label = new QLabel(tr("The picture cannot be shown: its file is missing or unreadable."), this);
    image_error_label->setObjectName(QStringLiteral("image_error_label"));
    image_error_label->setWordWrap(true);
    image_error_label->setStyleSheet(QStringLiteral("color: rgb(190, 0, 0);"));
    image_error_label->hide();
    column()->addWidget(image_error_label);

    Image_border_chk = newCheck(this, QStringLiteral("Image_border_chk"), tr("Border"), [this] {
        SetObjEnabled(Image_Border_Box, Image_border_chk->isChecked());
        emit changed();
    });
    column()->addWidget(Image_border_chk);
    Image_Border_Box = addBox(QString(), QStringLiteral("Image_Border_Box"));
    {
        const Border_Controls border = addBorderControls(Image_Border_Box, QStringLiteral("Image_"));
        Image_bordr_clr = border.colour;
        Image_bor = border.width;
        Image_border_style = border.style;
    }

    auto* filters = addBox(tr("Adjust"), QStringLiteral("Image_Filter_Box"));
    auto* fv = new QVBoxLayout(filters);
    fv->setContentsMargins(8, 6, 8, 6);
    auto* checks = new QGridLayout;
    Image_Gray_Scale_chk = newCheck(filters, QStringLiteral("Image_Gray_Scale_chk"), tr("Greyscale"), emitChanged);
    Image_Sepia_chk = newCheck(filters, QStringLiteral("Image_Sepia_chk"), tr("Sepia"), emitChanged);
    Image_Invert_chk = newCheck(filters, QStringLiteral("Image_Invert_chk"), tr("Invert"), emitChanged);
    Image_FIH_chk = newCheck(filters, QStringLiteral("Image_FIH_chk"), tr("Flip across"), emitChanged);
    Image_FIV_chk = newCheck(filters, QStringLiteral("Image_FIV_chk"), tr("Flip down"), emitChanged);
    checks->addWidget(Image_Gray_Scale_chk, 0, 0);
    checks->addWidget(Image_Sepia_chk, 0, 1);
    checks->addWidget(Image_Invert_chk, 0, 2);
    checks->addWidget(Image_FIH_chk, 1, 0);
    checks->addWidget(Image_FIV_chk, 1, 1);
    fv->addLayout(checks);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setVerticalSpacing(2);
    fv->addLayout(form);
    Rotate_slidr = addSlider(form, tr("Rotation"), QStringLiteral("Rotate_slidr"), -180, 180, 10, &Rotate_slidr_val);
    Trsp_slidr = addSlider(form, tr("Opacity"), QStringLiteral("Trsp_slidr"), 0, 100, 1, &Trsp_slidr_val);
    Hue_slidr = addSlider(form, tr("Hue"), QStringLiteral("Hue_slidr"), -3.14, 3.14, 100, &Hue_slidr_val);
    Sat_slidr = addSlider(form, tr("Saturation"), QStringLiteral("Sat_slidr"), 0, 2, 100, &Sat_slidr_val);
    Brt_slidr = addSlider(form, tr("Brightness"), QStringLiteral("Brt_slidr"), -1, 1, 100, &Brt_slidr_val);
    Con_slidr = addSlider(form, tr("Contrast"), QStringLiteral("Con_slidr"), 0.25, 4, 100, &Con_slidr_val);
    shrp_slidr = addSlider(form, tr("Sharpness"), QStringLiteral("shrp_slidr"), 0, 2, 100, &shrp_slidr_val);
    ev_slidr = addSlider(form, tr("Exposure"), QStringLiteral("ev_slidr"), -3, 3, 100, &ev_slidr_val);
    blr_slidr = addSlider(form, tr("Blur"), QStringLiteral("blr_slidr"), 0, 20, 10, &blr_slidr_val);

    auto* buttons = new QHBoxLayout;
    reset_btn = new QPushButton(tr("Reset"), this);
    reset_btn->setObjectName(QStringLiteral("Image_reset_Button"));
    connect(reset_btn, &QPushButton::clicked, this, &PicturePanel::resetWanted);
    crop_btn = new QPushButton(tr("Crop..."), this);
    crop_btn->setObjectName(QStringLiteral("Cropping_Selected_Image_btn"));
    crop_btn->setEnabled(false);
    connect(crop_btn, &QPushButton::clicked, this, &PicturePanel::cropWanted);
    buttons->addWidget(reset_btn);
    buttons->addWidget(crop_btn);
    buttons->addStretch(1);
    column()->addLayout(buttons);
    img_ctrl_id_val = new QLabel(this);
    img_ctrl_id_val->setObjectName(QStringLiteral("img_ctrl_id_val"));
    img_ctrl_id_val->hide();
    column()->addStretch(1);
    Reset_Image_Editing_Controls();
}

Fraction_Slider* PicturePanel::addSlider(QFormLayout* form, const QString& caption, const QString& name, double min,
                                         double max, int scale, QLabel** label)
{
    auto* parent = form->parentWidget();
    auto* s = new Fraction_Slider(parent, name, min, max, scale);
    auto* l = new QLabel(parent);
    l->setObjectName(name + QStringLiteral("_val"));
    l->setMinimumWidth(40);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    *label = l;
    auto* row = new QHBoxLayout;
    row->addWidget(s, 1);
    row->addWidget(l);
    form->addRow(caption, row);
    connect(s, &Fraction_Slider::dragging, this, [s, l] { l->setText(Slider_Label_Text(s->fraction())); });
    connect(s, &Fraction_Slider::moved, this, [this, s, l] {
        l->setText(Slider_Label_Text(s->fraction()));
        emit changed();
    });
    return s;
}

QList<std::pair<Fraction_Slider*, QLabel*>> PicturePanel::sliders() const
{
    return {{Rotate_slidr, Rotate_slidr_val}, {Trsp_slidr, Trsp_slidr_val}, {Hue_slidr, Hue_slidr_val},
            {Sat_slidr, Sat_slidr_val},       {Brt_slidr, Brt_slidr_val},   {Con_slidr, Con_slidr_val},
            {shrp_slidr, shrp_slidr_val},     {ev_slidr, ev_slidr_val},     {blr_slidr, blr_slidr_val}};
}

void PicturePanel::Reset_Image_Editing_Controls()
{
    const double neutral[] = {0, 100, 0, 1, 0, 1, 0, 0, 0};
    int i = 0;
    for (const auto& [slider, label] : sliders()) {
        slider->setFraction(neutral[i++]);
        label->setText(Slider_Label_Text(slider->fraction()));
    }
    for (QCheckBox* c : {Image_Gray_Scale_chk, Image_Sepia_chk, Image_Invert_chk, Image_FIV_chk, Image_FIH_chk})
        c->setChecked(false);
}

void PicturePanel::load(const LMNGraphic& item)
{
    img_ctrl_id_val->setText(item.control_ID);
    Image_border_chk->setChecked(item._isDrawingStroke);
    Image_bor->setValue(static_cast<int>(item._strokeWidth));
    Image_bordr_clr->setColor(item._strokeColor);
    Select_Border_Style(Image_border_style, item._stroke_border_type);
    const float values[] = {item.rotate_image, item.img_trnsp_val, item.hue_val, item.sat_val, item.brt_val,
                            item.con_val,      item.srp_val,       item.ev_val,  item.blr_val};
    int i = 0;
    for (const auto& [slider, label] : sliders()) {
        slider->setFraction(values[i]);
        label->setText(Slider_Label_Text(values[i]));
        ++i;
    }
    Image_Gray_Scale_chk->setChecked(item.gray_Scale);
    Image_Sepia_chk->setChecked(item.Sepia);
    Image_Invert_chk->setChecked(item.invert_clr);
    Image_FIV_chk->setChecked(item._isFlippedVertically);
    Image_FIH_chk->setChecked(item._isFlippedHorizontally);
    SetObjEnabled(Image_Border_Box, item._isDrawingStroke);
}

void PicturePanel::writeTo(LMNGraphic& item) const
{
    if (Image_border_chk->isChecked()) {
        item._isDrawingStroke = true;
        item._strokeColor = Image_bordr_clr->color();
        item._strokeWidth = Image_bor->intValue();
    } else {
        item._isDrawingStroke = false;
    }
    item._stroke_border_type = Return_Border_Style_Str_On_index(Image_border_style->currentIndex());
    item._isFlippedHorizontally = Image_FIH_chk->isChecked();
    item._isFlippedVertically = Image_FIV_chk->isChecked();
    item.invert_clr = Image_Invert_chk->isChecked();
    item.gray_Scale = Image_Gray_Scale_chk->isChecked();
    item.Sepia = Image_Sepia_chk->isChecked();
    item.img_trnsp_val = static_cast<float>(Trsp_slidr->fraction());
    item.rotate_image = static_cast<float>(Rotate_slidr->fraction());
    item.hue_val = static_cast<float>(Hue_slidr->fraction());
    item.sat_val = static_cast<float>(Sat_slidr->fraction());
    item.brt_val = static_cast<float>(Brt_slidr->fraction());
    item.con_val = static_cast<float>(Con_slidr->fraction());
    item.srp_val = static_cast<float>(shrp_slidr->fraction());
    item.ev_val = static_cast<float>(ev_slidr->fraction());
    item.blr_val = static_cast<float>(blr_slidr->fraction());
}

// ---------------------------------------------------------------- data source

DataSourcePanel::DataSourcePanel(QWidget* parent) : PropertyPanel(QStringLiteral("datasource_tab"), parent)
{
    data_source_title = Bold_Label(this, QStringLiteral("data_source_title"));
    column()->addWidget(data_source_title);
    auto* source = addBox(QString(), QStringLiteral("data_source_box"));
    {
        QGridLayout* g = Panel_Grid(source);
        Data_source_type = New_List_Combo(source, QStringLiteral("Data_source_type"),
                                          {QStringLiteral("Manual"), QStringLiteral("Series"), QStringLiteral("Excel")});
        connect(Data_source_type, &QComboBox::activated, this, &DataSourcePanel::sourceChosen);
        g->addWidget(Panel_Caption(source, tr("Source")), 0, 0);
        g->addWidget(Data_source_type, 0, 1, 1, 2);
        Batch_Series = New_List_Combo(source, QStringLiteral("Batch_Series"), {});
        Batch_Series->setEnabled(false);
        connect(Batch_Series, &QComboBox::activated, this, &DataSourcePanel::seriesChosen);
        g->addWidget(Panel_Caption(source, tr("Values")), 1, 0);
        g->addWidget(Batch_Series, 1, 1, 1, 2);
        view_series_btn = new QPushButton(tr("View..."), source);
        view_series_btn->setObjectName(QStringLiteral("view_series_btn"));
        view_series_btn->setEnabled(false);
        connect(view_series_btn, &QPushButton::clicked, this, &DataSourcePanel::viewSeriesWanted);
        g->addWidget(view_series_btn, 2, 1, Qt::AlignLeft);
        Data_Source_Help_btn = new QPushButton(QStringLiteral("?"), source);
        Data_Source_Help_btn->setObjectName(QStringLiteral("Data_Source_Help_btn"));
        Data_Source_Help_btn->setFixedSize(22, 22);
        Data_Source_Help_btn->setToolTip(tr("Help"));
        connect(Data_Source_Help_btn, &QPushButton::clicked, this, &DataSourcePanel::helpWanted);
        g->addWidget(Data_Source_Help_btn, 2, 2, Qt::AlignRight);
    }

    manual_brws_box = addBox(tr("Picture file"), QStringLiteral("manual_brws_box"));
    {
        QGridLayout* g = Panel_Grid(manual_brws_box);
        const Picture_Path_Row row =
            Add_Picture_Path_Row(manual_brws_box, g, QStringLiteral("Manual_image_path"),
                                 QStringLiteral("Manual_Image_Browse_Btn"), QStringLiteral("Manual_Library_Browse_Btn"));
        Manual_image_path = row.path;
        Manual_Image_Browse_Btn = row.browse;
        Manual_Library_Browse_Btn = row.library;
        connect(Manual_Image_Browse_Btn, &QPushButton::clicked, this, &DataSourcePanel::browseWanted);
        connect(Manual_Library_Browse_Btn, &QPushButton::clicked, this, &DataSourcePanel::libraryWanted);
    }

    text_value_lbl = new QLabel(tr("Text"), this);
    text_value_lbl->setObjectName(QStringLiteral("text_value_lbl"));
    column()->addWidget(text_value_lbl);
    Text_value_Edit = new QPlainTextEdit(this);
    Text_value_Edit->setObjectName(QStringLiteral("Text_value_Edit"));
    Text_value_Edit->setMinimumHeight(90);
    Text_value_Edit->setMaximumHeight(140);
    text_value_scrollView = Text_value_Edit;
    connect(Text_value_Edit, &QPlainTextEdit::textChanged, this, [this] {
        if (!Text_value_Edit->signalsBlocked())
            emit editorTextEdited();
    });
    column()->addWidget(Text_value_Edit);

    Text_Date_Time_Box = addBox(tr("Insert"), QStringLiteral("Text_Date_Time_Box"));
    {
        QGridLayout* g = Panel_Grid(Text_Date_Time_Box);
        Text_Date_style = New_List_Combo(Text_Date_Time_Box, QStringLiteral("Text_Date_style"),
                                         {"M-d-yyyy", "M-d-yy", "MM-dd-yy", "MM-dd-yyyy", "yy-MM-dd", "yyyy-MM-dd",
                                          "dd-MMM-yy", "dd-MM-yyyy", "d-M-yy"});
        Text_Insert_Date_btn = new QPushButton(tr("Date"), Text_Date_Time_Box);
        Text_Insert_Date_btn->setObjectName(QStringLiteral("Text_Insert_Date_btn"));
        connect(Text_Insert_Date_btn, &QPushButton::clicked, this, &DataSourcePanel::insertDateWanted);
        g->addWidget(Text_Date_style, 0, 0, 1, 2);
        g->addWidget(Text_Insert_Date_btn, 0, 2);
        Text_Time_style = New_List_Combo(Text_Date_Time_Box, QStringLiteral("Text_Time_style"),
                                         {"h:mm:ss a", "hh:mm:ss a", "H:mm:ss", "HH:mm:ss"});
        Text_Insert_Time_btn = new QPushButton(tr("Time"), Text_Date_Time_Box);
        Text_Insert_Time_btn->setObjectName(QStringLiteral("Text_Insert_Time_btn"));
        connect(Text_Insert_Time_btn, &QPushButton::clicked, this, &DataSourcePanel::insertTimeWanted);
        g->addWidget(Text_Time_style, 1, 0, 1, 2);
        g->addWidget(Text_Insert_Time_btn, 1, 2);
    }
    column()->addStretch(1);
}

void DataSourcePanel::setEditorText(const QString& text)
{
    const QSignalBlocker block(Text_value_Edit);
    Text_value_Edit->setPlainText(text);
}

// ---------------------------------------------------------------- signature

SignaturePanel::SignaturePanel(QWidget* parent) : PropertyPanel(QStringLiteral("sign_tab"), parent)
{
    sel_kind = Bold_Label(this, QStringLiteral("sign_kind"));
    column()->addWidget(sel_kind);
    auto* file = addBox(tr("Picture file (PNG)"), QStringLiteral("Sign_File_Box"));
    {
        QGridLayout* g = Panel_Grid(file);
        Sign_image_path = new QLineEdit(file);
        Sign_image_path->setObjectName(QStringLiteral("Sign_image_path"));
        Sign_image_path->setReadOnly(true);
        g->addWidget(Sign_image_path, 0, 0, 1, 3);
        Sign_Browse_Btn = new QPushButton(tr("Browse..."), file);
        Sign_Browse_Btn->setObjectName(QStringLiteral("Sign_Browse_Btn"));
        connect(Sign_Browse_Btn, &QPushButton::clicked, this, &SignaturePanel::browseWanted);
        g->addWidget(Sign_Browse_Btn, 1, 0, Qt::AlignLeft);
    }
    Sign_border_chk = newCheck(this, QStringLiteral("Sign_border_chk"), tr("Border"), [this] { Sign_Border_ChkBox(); });
    column()->addWidget(Sign_border_chk);
    Sign_Border_Box = addBox(QString(), QStringLiteral("Sign_Border_Box"));
    {
        const Border_Controls border = addBorderControls(Sign_Border_Box, QStringLiteral("Sign_"));
        Sign_bordr_clr = border.colour;
        Sign_bor = border.width;
        Sign_border_style = border.style;
    }
    column()->addStretch(1);
}

void SignaturePanel::Sign_Border_ChkBox()
{
    SetObjEnabled(Sign_Border_Box, Sign_border_chk->isChecked());
    emit changed();
}

void SignaturePanel::load(const LMNGraphic& item)
{
    sel_kind->setText(item.Sign_Or_FP_Val() == QLatin1String("F") ? tr("Fingerprint") : tr("Signature"));
    Sign_image_path->setText(item._file_path);
    Sign_border_chk->setChecked(item._isDrawingStroke);
    Sign_bor->setValue(static_cast<int>(item._strokeWidth));
    Sign_bordr_clr->setColor(item._strokeColor);
    Select_Border_Style(Sign_border_style, item._stroke_border_type);
    SetObjEnabled(Sign_Border_Box, item._isDrawingStroke);
}

void SignaturePanel::writeTo(LMNGraphic& item) const
{
    if (Sign_border_chk->isChecked()) {
        item._isDrawingStroke = true;
        item._strokeColor = Sign_bordr_clr->color();
        item._strokeWidth = Sign_bor->intValue();
    } else {
        item._isDrawingStroke = false;
    }
    item._stroke_border_type = Return_Border_Style_Str_On_index(Sign_border_style->currentIndex());
}

// ---------------------------------------------------------------- barcode item

BarcodeItemPanel::BarcodeItemPanel(QWidget* parent) : PropertyPanel(QStringLiteral("barcode_tab"), parent)
{
    auto* box = addBox(tr("Barcode"), QStringLiteral("barcode_box"));
    auto* form = new QFormLayout(box);
    barcode_kind = new QLabel(box);
    barcode_kind->setObjectName(QStringLiteral("barcode_kind"));
    barcode_value = new QLabel(box);
    barcode_value->setObjectName(QStringLiteral("barcode_value"));
    barcode_value->setWordWrap(true);
    barcode_value->setTextFormat(Qt::PlainText);
    form->addRow(tr("Kind:"), barcode_kind);
    form->addRow(tr("Value:"), barcode_value);
    View_barcode_prop_Button = new QPushButton(tr("Barcode Settings..."), box);
    View_barcode_prop_Button->setObjectName(QStringLiteral("View_barcode_prop_Button"));
    connect(View_barcode_prop_Button, &QPushButton::clicked, this, &BarcodeItemPanel::propertiesWanted);
    form->addRow(View_barcode_prop_Button);
    auto* hint = new QLabel(tr("Double-clicking the barcode opens its settings too."), this);
    hint->setWordWrap(true);
    column()->addWidget(hint);
    column()->addStretch(1);
}

void BarcodeItemPanel::load(const LMNGraphic& item)
{
    barcode_kind->setText(item.linear_or_2d == 0 ? tr("linear") : tr("two-dimensional"));
    const QString value = item.linear_or_2d == 0 ? item.linear_font_val : item.two_d_font_val;
    barcode_value->setText(value.left(120));
}

// ---------------------------------------------------------------- alignment

AlignmentPanel::AlignmentPanel(QWidget* parent) : PropertyPanel(QStringLiteral("aligmnt_tab"), parent)
{
    sel_control_name = new QLabel(this);
    sel_control_name->setObjectName(QStringLiteral("sel_control_name"));
    sel_control_name->hide();

    auto* align = addBox(tr("Align"), QStringLiteral("align_box"));
    auto* grid = new QGridLayout(align);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(4);
    const struct { const char* title; const char* action; const char* name; } commands[] = {
        {"Left edges", "alignLeftEdges", "align_left_btn"},
        {"Right edges", "alignRightEdges", "align_right_btn"},
        {"Top edges", "alignTopEdges", "align_top_btn"},
        {"Bottom edges", "alignBottomEdges", "align_bottom_btn"},
        {"Centres across", "alignHorizontalCenters", "align_horzontal_btn"},
        {"Centres down", "alignVerticalCenters", "align_vertical_btn"},
        {"Centre on label", "alignformCenter", "align_center_btn"},
        {"To the grid", "alignWithGrid", "align_grid_btn"},
        {"Same width", "makeSameWidth", "same_width_btn"},
        {"Same height", "makeSameHeight", "same_height_btn"},
        {"Fit to label", "makeSameAsLabelSize", "fit_to_label_btn"},
        {"Natural size", "makeNaturalSize", "Make_natural_size_btn"},
    };
    int i = 0;
    for (const auto& c : commands) {
        auto* b = new QPushButton(tr(c.title), align);
        const QString action = QString::fromLatin1(c.action);
        b->setObjectName(action);
        b->setProperty("outlet", QString::fromLatin1(c.name));
        connect(b, &QPushButton::clicked, this, [this, action] { emit commandRequested(action); });
        grid->addWidget(b, i / 2, i % 2);
        m_buttons << b;
        ++i;
    }
    align_left_btn = m_buttons[0];
    align_right_btn = m_buttons[1];
    align_top_btn = m_buttons[2];
    align_bottom_btn = m_buttons[3];
    align_horzontal_btn = m_buttons[4];
    align_vertical_btn = m_buttons[5];
    align_center_btn = m_buttons[6];
    align_grid_btn = m_buttons[7];
    same_width_btn = m_buttons[8];
    same_height_btn = m_buttons[9];
    fit_to_label_btn = m_buttons[10];
    Make_natural_size_btn = m_buttons[11];

    position_box = addBox(tr("Position and size"), QStringLiteral("position_box"));
    auto* g = Panel_Grid(position_box);
    auto field = [&](int row, const QString& caption, const QString& name, QLineEdit** text, Stepper** stepper,
                     QLabel** unit, QWidget* parent, QGridLayout* layout, int which, double step) {
        layout->addWidget(new QLabel(caption, parent), row, 0);
        auto* t = new QLineEdit(parent);
        t->setObjectName(name);
        // Room for a length with four decimals.
        t->setFixedWidth(std::max(72, t->fontMetrics().horizontalAdvance(QStringLiteral("1000.0000")) + 14));
        t->setAlignment(Qt::AlignRight);
        auto* s = new Stepper(parent);
        s->setObjectName(name + QStringLiteral("_val"));
        s->setRange(-100000, 100000);
        s->setIncrement(step);
        auto* u = new QLabel(parent);
        layout->addWidget(t, row, 1);
        layout->addWidget(s, row, 2, Qt::AlignLeft);
        layout->addWidget(u, row, 3);
        *text = t;
        *stepper = s;
        *unit = u;
        connect(t, &QLineEdit::editingFinished, this, [this, t, s, which] {
            if (!t->isModified())
                return;
            t->setModified(false);
            s->setValue(Leading_Double_C(t->text()));
            emit fieldChanged(which);
        });
        connect(s, &Stepper::stepped, this, [this, t, s, which] {
            // X and Y are points whatever the unit; width and height follow it.
            t->setText(which < 2 ? Points_Field_Text(s->value()) : Length_Field_Text(s->value(), m_unit));
            emit fieldChanged(which);
        });
    };
    field(0, tr("X"), QStringLiteral("frame_main_pic_X_pos"), &frame_main_pic_X_pos, &frame_main_pic_X_pos_val,
          &ctrl_x_pos_unit_lbl, position_box, g, 0, 1);
    field(1, tr("Y"), QStringLiteral("frame_main_pic_Y_pos"), &frame_main_pic_Y_pos, &frame_main_pic_Y_pos_val,
          &ctrl_y_pos_unit_lbl, position_box, g, 1, 1);
    ctrl_width_height_box = new QWidget(position_box);
    ctrl_width_height_box->setObjectName(QStringLiteral("ctrl_width_height_box"));
    auto* wh = new QGridLayout(ctrl_width_height_box);
    wh->setContentsMargins(0, 0, 0, 0);
    wh->setHorizontalSpacing(6);
    wh->setColumnStretch(3, 1);
    field(0, tr("Width"), QStringLiteral("frame_main_pic_width"), &frame_main_pic_width, &frame_main_pic_width_val,
          &ctrl_width_unit_lbl, ctrl_width_height_box, wh, 2, 0.1);
    field(1, tr("Height"), QStringLiteral("frame_main_pic_height"), &frame_main_pic_height,
          &frame_main_pic_height_val, &ctrl_height_unit_lbl, ctrl_width_height_box, wh, 3, 0.1);
    frame_main_pic_width_val->setRange(0, 100000);
    frame_main_pic_height_val->setRange(0, 100000);
    g->addWidget(ctrl_width_height_box, 2, 0, 1, 4);

    print_object_chk = new QCheckBox(tr("Leave out of printing and export"), this);
    print_object_chk->setObjectName(QStringLiteral("print_object_chk"));
    connect(print_object_chk, &QCheckBox::clicked, this, &AlignmentPanel::printFlagChanged);
    column()->addWidget(print_object_chk);
    column()->addStretch(1);
}

void AlignmentPanel::setUnit(int unit)
{
    m_unit = unit;
    const QString caption = Unit_Field_Caption(unit);
    for (QLabel* l : {ctrl_width_unit_lbl, ctrl_height_unit_lbl})
        l->setText(caption);
    for (Stepper* s : {frame_main_pic_width_val, frame_main_pic_height_val})
        s->setIncrement(Length_Field_Step(unit));
    // The position is in points in every unit.
    for (QLabel* l : {ctrl_x_pos_unit_lbl, ctrl_y_pos_unit_lbl})
        l->setText(QStringLiteral("(pt)"));
    for (Stepper* s : {frame_main_pic_X_pos_val, frame_main_pic_Y_pos_val})
        s->setIncrement(1);
}

QPushButton* AlignmentPanel::button(const QString& action) const
{
    for (QPushButton* b : m_buttons)
        if (b->objectName() == action)
            return b;
    return nullptr;
}

// ---------------------------------------------------------------- lock

LockPanel::LockPanel(QWidget* parent) : PropertyPanel(QStringLiteral("Lock_tab"), parent)
{
    m_what = new QLabel(this);
    m_what->setWordWrap(true);
    column()->addWidget(m_what);
    m_unlock = new QPushButton(tr("Unlock"), this);
    m_unlock->setObjectName(QStringLiteral("Unlock_btn"));
    column()->addWidget(m_unlock, 0, Qt::AlignLeft);
    column()->addStretch(1);
    connect(m_unlock, &QPushButton::clicked, this, &LockPanel::unlockRequested);
}

void LockPanel::load(const LMNGraphic& item, const QString& title)
{
    m_what->setText(tr("%1: locked at %2, %3 pt. Unlock it to change it.")
                        .arg(title)
                        .arg(item.bounds().x(), 0, 'f', 1)
                        .arg(item.bounds().y(), 0, 'f', 1));
}
