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
