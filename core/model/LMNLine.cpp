#include "core/model/LMNLine.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

double Distance_To_Segment(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    double t = 0;
    if (len2 > 0)
        t = std::clamp(((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / len2, 0.0, 1.0);
    return std::hypot(p.x() - (a.x() + t * dx), p.y() - (a.y() + t * dy));
}

QPointF LMNLine::beginPoint() const
{
    const QRectF b = _bounds;
    return {_pointsRight ? b.x() : b.x() + b.width(), _pointsDown ? b.y() : b.y() + b.height()};
}

QPointF LMNLine::endPoint() const
{
    const QRectF b = _bounds;
    return {_pointsRight ? b.x() + b.width() : b.x(), _pointsDown ? b.y() + b.height() : b.y()};
}

QRectF LMNLine::boundsWithBeginPoint(const QPointF& begin, const QPointF& end, bool* pointsRight, bool* pointsDown)
{
    if (pointsRight)
        *pointsRight = end.x() > begin.x();
    if (pointsDown)
        *pointsDown = end.y() > begin.y();
    return QRectF(std::min(begin.x(), end.x()), std::min(begin.y(), end.y()), std::fabs(end.x() - begin.x()),
                  std::fabs(end.y() - begin.y()));
}

void LMNLine::setPoints(const QPointF& begin, const QPointF& end)
{
    const QVariantList old = captureBoundsKeys();
    const QRectF r = boundsWithBeginPoint(begin, end, &_pointsRight, &_pointsDown);
    storeBounds(r);
    notifyBoundsKeys(old);
}

int LMNLine::Line_Direction() const
{
    constexpr double flat = 1e-6;
    if (_bounds.height() <= flat)
        return 0;
    if (_bounds.width() <= flat)
        return 1;
    return 2;
}

void LMNLine::Turn_To_Direction(int direction)
{
    if (direction < 0 || direction > 2 || direction == Line_Direction())
        return;
    const QPointF c = _bounds.center();
    const double half = std::hypot(_bounds.width(), _bounds.height()) / 2.0;
    // The sense along each axis stays where the line had one.
    const double sx = _pointsRight || _bounds.width() <= 1e-6 ? 1.0 : -1.0;
    const double sy = _pointsDown || _bounds.height() <= 1e-6 ? 1.0 : -1.0;
    QPointF step;
    if (direction == 0)
        step = QPointF(sx * half, 0);
    else if (direction == 1)
        step = QPointF(0, sy * half);
    else
        step = QPointF(sx * half / std::sqrt(2.0), sy * half / std::sqrt(2.0));
    setPoints(c - step, c + step);
}

void LMNLine::setBeginPoint(const QPointF& p) { setPoints(p, endPoint()); }
void LMNLine::setEndPoint(const QPointF& p) { setPoints(beginPoint(), p); }

QPainterPath LMNLine::bezierPathForDrawing() const
{
    QPainterPath p;
    p.moveTo(beginPoint());
    p.lineTo(endPoint());
    return p;
}

static Qt::PenCapStyle Cap_Style(int code)
{
    switch (code) {
    case 1: return Qt::RoundCap;
    case 2: return Qt::SquareCap;
    default: return Qt::FlatCap;
    }
}

void LMNLine::drawContentsInView(QPainter& painter, LMNGraphicView*, bool)
{
    if (!ctrl_is_visible)
        return;
    Stroke_Border(painter, bezierPathForDrawing(), strokeColor(), _strokeWidth, _stroke_border_type, Qt::MiterJoin,
                  Cap_Style(Get_Line_Cap_Style()));
}

double LMNLine::Hit_Tolerance(double strokeWidth)
{
    return std::max(0.5, strokeWidth / 2 + 2);
}

bool LMNLine::isContentsUnderPoint(const QPointF& point) const
{
    return Distance_To_Segment(point, beginPoint(), endPoint()) <= Hit_Tolerance(_strokeWidth);
}

int LMNLine::handleUnderPoint(const QPointF& point) const
{
    if (isHandleAtPoint(beginPoint(), point))
        return 1;
    if (isHandleAtPoint(endPoint(), point))
        return 2;
    return LMNGraphicNoHandle;
}

void LMNLine::drawHandlesInView(QPainter& painter, LMNGraphicView* view, bool lock_hai) const
{
    drawHandleInView(painter, view, beginPoint(), lock_hai);
    drawHandleInView(painter, view, endPoint(), lock_hai);
}

int LMNLine::resizeByMovingHandle(int handle, const QPointF& point, const QRectF&)
{
    if (handle == 1)
        setBeginPoint(point);
    else if (handle == 2)
        setEndPoint(point);
    return handle;
}

void LMNLine::setColor(const QColor& color) { setValueForKey(LMNGraphicStrokeColorKey, color); }

std::unique_ptr<LMNGraphic> LMNLine::copyWithZone() const
{
    auto c = std::make_unique<LMNLine>();
    copyBaseFieldsTo(*c);
    c->_pointsRight = _pointsRight;
    c->_pointsDown = _pointsDown;
    return c;
}

QVariant LMNLine::valueForKey(const QString& key) const
{
    if (key == LMNLineBeginPointKey)
        return beginPoint();
    if (key == LMNLineEndPointKey)
        return endPoint();
    return LMNGraphic::valueForKey(key);
}

bool LMNLine::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == LMNLineBeginPointKey) {
        setBeginPoint(value.toPointF());
        return true;
    }
    if (key == LMNLineEndPointKey) {
        setEndPoint(value.toPointF());
        return true;
    }
    return LMNGraphic::setValueForKey(key, value);
}

QStringList LMNLine::keysForValuesToObserveForUndo() const
{
    QStringList keys = LMNGraphic::keysForValuesToObserveForUndo();
    keys.removeAll(LMNGraphicBoundsKey);
    keys << LMNLineBeginPointKey << LMNLineEndPointKey;
    return keys;
}

QString LMNLine::presentablePropertyNameForKey(const QString& key) const
{
    if (key == LMNLineBeginPointKey)
        return QStringLiteral("Beginpoint");
    if (key == LMNLineEndPointKey)
        return QStringLiteral("Endpoint");
    return LMNGraphic::presentablePropertyNameForKey(key);
}
