#include "core/canvas/LMNGrid.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTimer>
#include <cmath>

LMNGrid::LMNGrid(QObject* parent)
    : QObject(parent)
    , _color(QColor::fromRgbF(2.0 / 3.0, 2.0 / 3.0, 2.0 / 3.0))
{
}

LMNGrid::~LMNGrid() = default;

void LMNGrid::setSpacing(double spacing)
{
    if (spacing == _spacing)
        return;
    _spacing = spacing;
    if (_spacing > 0.0 && !_isAlwaysShown) {
        // Show the grid for a moment so the user sees the new spacing.
        if (!_hidingTimer) {
            _hidingTimer = new QTimer(this);
            _hidingTimer->setSingleShot(true);
            connect(_hidingTimer, &QTimer::timeout, this, &LMNGrid::stopShowingGridForTimer);
        }
        _hidingTimer->start(LMNGridTemporaryShowingTime);
    }
    emit anyChanged();
}

void LMNGrid::setConstraining(bool constraining)
{
    _isConstraining = constraining;
    emit anyChanged();
}

void LMNGrid::setAlwaysShown(bool shown)
{
    if (shown != _isAlwaysShown) {
        _isAlwaysShown = shown;
        emit alignWithGridButtonEnabled(_isAlwaysShown);
        if (_hidingTimer) {
            _hidingTimer->stop();
            _hidingTimer->deleteLater();
            _hidingTimer = nullptr;
        }
    }
    // Observers hear of the change even when the value stayed.
    emit anyChanged();
}

bool LMNGrid::isTemporarilyShown() const
{
    return _hidingTimer && _hidingTimer->isActive();
}

bool LMNGrid::isShown() const
{
    return _isAlwaysShown || isTemporarilyShown();
}

void LMNGrid::stopShowingGridForTimer()
{
    if (_hidingTimer) {
        _hidingTimer->deleteLater();
        _hidingTimer = nullptr;
    }
    emit anyChanged();
}

static double Snap_To(double v, double spacing)
{
    return std::floor(v / spacing + 0.5) * spacing;
}

QPointF LMNGrid::constrainedPoint(QPointF point) const
{
    if (isUsable() && _isConstraining)
        return QPointF(Snap_To(point.x(), _spacing), Snap_To(point.y(), _spacing));
    return point;
}

QRectF LMNGrid::alignedRect(const QRectF& rect) const
{
    if (!isUsable())
        return rect;
    const double x0 = Snap_To(rect.x(), _spacing);
    const double y0 = Snap_To(rect.y(), _spacing);
    const double x1 = Snap_To(rect.x() + rect.width(), _spacing);
    const double y1 = Snap_To(rect.y() + rect.height(), _spacing);
    return QRectF(x0, y0, x1 - x0, y1 - y0);
}

void LMNGrid::drawRect(QPainter& painter, const QRectF& rect) const
{
    if (!isUsable() || !isShown() || !(rect.width() > 0) || !(rect.height() > 0))
        return;
    // Every line inside the rectangle; the line count is bounded by the
    // rectangle's extent over a positive spacing.
    const double minX = rect.x(), minY = rect.y();
    const double maxX = minX + rect.width(), maxY = minY + rect.height();
    // A spacing far below a device pixel would only build a huge path.
    if (rect.width() / _spacing > 100000.0 || rect.height() / _spacing > 100000.0)
        return;
    QPainterPath path;
    const long long lastX = static_cast<long long>(std::floor(maxX / _spacing));
    for (long long n = static_cast<long long>(std::ceil(minX / _spacing)); n <= lastX; ++n) {
        path.moveTo(n * _spacing, minY);
        path.lineTo(n * _spacing, maxY);
    }
    const long long lastY = static_cast<long long>(std::floor(maxY / _spacing));
    for (long long n = static_cast<long long>(std::ceil(minY / _spacing)); n <= lastY; ++n) {
        path.moveTo(minX, n * _spacing);
        path.lineTo(maxX, n * _spacing);
    }
    painter.save();
    QPen pen(_color);
    pen.setWidthF(0.0); // cosmetic: the thinnest line the device shows
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}
