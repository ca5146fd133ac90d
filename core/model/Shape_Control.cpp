#include "core/model/Shape_Control.h"

#include <QPainter>
#include <QPen>

#include <cmath>
#include <exception>

static QPainterPath Winding(QPainterPath p)
{
    p.setFillRule(Qt::WindingFill);
    return p;
}

QPainterPath Shape_Control::Rectangle_path() const
{
    QPainterPath p;
    p.addRect(_bounds);
    return Winding(p);
}

QPainterPath Shape_Control::Circle_path() const
{
    QPainterPath p;
    p.addEllipse(_bounds);
    return Winding(p);
}

QPainterPath Shape_Control::Rounded_Rectangle_path() const
{
    // Each radius is limited to half the side it rounds (the path does so itself).
    QPainterPath p;
    if (cor_rad_val > 0)
        p.addRoundedRect(_bounds, cor_rad_val, cor_rad_val);
    else
        p.addRect(_bounds);
    return Winding(p);
}

static QPainterPath Closed_Polygon(std::initializer_list<QPointF> pts)
{
    QPainterPath p;
    bool first = true;
    for (const QPointF& q : pts) {
        if (first)
            p.moveTo(q);
        else
            p.lineTo(q);
        first = false;
    }
    p.closeSubpath();
    return Winding(p);
}

QPainterPath Shape_Control::Triangle_path() const
{
    const double x = _bounds.x(), y = _bounds.y(), w = _bounds.width(), h = _bounds.height();
    return Closed_Polygon({{x, y + h}, {x + w / 2, y}, {x + w, y + h}});
}

QPainterPath Shape_Control::Diamond_path() const
{
    const double x = _bounds.x(), y = _bounds.y(), w = _bounds.width(), h = _bounds.height();
    return Closed_Polygon({{x, y + h / 2}, {x + w / 2, y}, {x + w, y + h / 2}, {x + w / 2, y + h}});
}

QPainterPath Shape_Control::Custom_Polygon() const
{
    const double x = _bounds.x(), y = _bounds.y(), w = _bounds.width(), h = _bounds.height();
    return Closed_Polygon({{x, y},
                           {x + w / 2, y + h / 4},
                           {x + w, y},
                           {x + 3 * w / 4, y + h / 2},
                           {x + w, y + h},
                           {x + w / 2, y + 3 * h / 4},
                           {x, y + h},
                           {x + w / 4, y + h / 2}});
}

QPainterPath Shape_Control::Polygon_With_Diffrent_Sides(int n) const
{
    QPainterPath p;
    if (n <= 0 || n > Shape_Max_Point_Count)
        return Winding(p);
    const double rx = _bounds.width() / 2, ry = _bounds.height() / 2;
    const double cx = _bounds.x() + rx, cy = _bounds.y() + ry;
    double a = -M_PI / 2;
    const double step = 4 * M_PI / n;
    for (int i = 0; i < n; ++i) {
        const QPointF q(cx + rx * std::cos(a), cy + ry * std::sin(a));
        if (i == 0)
            p.moveTo(q);
        else
            p.lineTo(q);
        a += step;
    }
    p.closeSubpath();
    return Winding(p);
}

int Shape_Control::Double_Star_Count(int type)
{
    switch (type) {
    case 1: return 7;
    case 2: return 9;
    case 3: return 11;
    case 4: return 13;
    case 5: return 15;
    default: return type;
    }
}

int Shape_Control::Polygon_Count(int type)
{
    switch (type) {
    case 1: return 8;   // the four-pointed star
    case 2: return 10;
    case 3: return 12;
    case 4: return 14;
    case 5: return 16;
    default: return type;
    }
}

QPainterPath Shape_Control::unrotatedOutline() const
{
    const QString& c = _shape_type;
    if (c == QLatin1String("R")) return Rectangle_path();
    if (c == QLatin1String("C")) return Circle_path();
    if (c == QLatin1String("RR")) return Rounded_Rectangle_path();
    if (c == QLatin1String("T")) return Triangle_path();
    if (c == QLatin1String("D")) return Diamond_path();
    if (c == QLatin1String("S")) return Polygon_With_Diffrent_Sides(5);
    if (c == QLatin1String("DS")) return Polygon_With_Diffrent_Sides(Double_Star_Count(double_star_type));
    if (c == QLatin1String("P")) {
        const int n = Polygon_Count(polygon_type);
        return n == 8 ? Custom_Polygon() : Polygon_With_Diffrent_Sides(n);
    }
    return Winding(QPainterPath());
}

QPointF Shape_Control::rotationPivot(const QPainterPath& outline) const
{
    const QRectF b = outline.boundingRect();
    return QPointF(float(b.x() + b.width() / 2), float(b.y() + b.height() / 2));
}

QPainterPath Shape_Control::bezierPathForDrawing() const
{
    const QPainterPath outline = unrotatedOutline();
    if (text_rotation == 0 || outline.isEmpty())
        return outline;
    return Winding(rotatedPath(outline, text_rotation, rotationPivot(outline)));
}

bool Shape_Control::isContentsUnderPoint(const QPointF& point) const
{
    return bezierPathForDrawing().contains(point);
}

void Shape_Control::drawContentsInView(QPainter& painter, LMNGraphicView*, bool)
{
    if (!ctrl_is_visible)
        return;
    const QPainterPath path = bezierPathForDrawing();
    if (path.isEmpty())
        return;
    painter.save();
    if (isDrawingFill())
        fillPathWithItemFill(painter, path, true);
    if (isDrawingStroke())
        Stroke_Border(painter, path, strokeColor(), _strokeWidth, _stroke_border_type, Qt::MiterJoin, Qt::FlatCap);
    painter.restore();
}
