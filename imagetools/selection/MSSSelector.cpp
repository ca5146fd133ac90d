#include "imagetools/selection/MSSSelector.h"

#include "imagetools/selection/MSSCanvas.h"
#include "platform/Geometry.h"

#include <QPainter>
#include <QPen>

#include <cmath>

SelFrame Normalized_Frame(const SelFrame& f)
{
    SelFrame n = f;
    if (n.w < 0) {
        n.x += n.w;
        n.w = -n.w;
    }
    if (n.h < 0) {
        n.y += n.h;
        n.h = -n.h;
    }
    return n;
}

bool Frames_Intersect(const SelFrame& a, const SelFrame& b)
{
    const SelFrame na = Normalized_Frame(a), nb = Normalized_Frame(b);
    const bool aPoint = na.w == 0 && na.h == 0;
    const bool bPoint = nb.w == 0 && nb.h == 0;
    if (aPoint && bPoint)
        return false;
    if (aPoint)
        return pt::Point_In_Rect(QPointF(na.x, na.y), nb.toRect());
    if (bPoint)
        return pt::Point_In_Rect(QPointF(nb.x, nb.y), na.toRect());
    return pt::Rects_Intersect(na.toRect(), nb.toRect());
}

namespace {

MSSCanvasController* controllerOf(const MSSCanvas* canvas)
{
    return canvas ? canvas->delegate() : nullptr;
}

QPen outlinePen(const QColor& colour, double width, bool dashed)
{
    QPen pen(colour, width);
    if (dashed) {
        // Five units drawn, five blank, whatever the line width.
        const double unit = width > 0 ? width : 1.0;
        pen.setDashPattern({5.0 / unit, 5.0 / unit});
        pen.setDashOffset(0);
    }
    return pen;
}

} // namespace

// ---------------------------------------------------------------- handles

MSSHandle::MSSHandle(int type, MSSSelector* selector) : _type(type), _selector(selector)
{
    setStyle();
}

std::unique_ptr<MSSHandle> MSSHandle::handleWithType(int type, MSSSelector* selector)
{
    return std::make_unique<MSSHandle>(type, selector);
}

void MSSHandle::setStyle()
{
    const MSSCanvasController* c = _selector ? controllerOf(_selector->canvas()) : nullptr;
    handleStyle = c && c->handleStyle ? *c->handleStyle : MSSHandleStyle();
}

void MSSHandle::makeHandleFrameWithSelectorFrame()
{
    const SelFrame f = _selector->selFrame();
    const double sw = handleStyle.size.width(), sh = handleStyle.size.height();
    QPointF centre;
    switch (_type) {
    case TopLeft: centre = QPointF(f.x, f.y + f.h); break;
    case TopRight: centre = QPointF(f.x + f.w, f.y + f.h); break;
    case BottomLeft: centre = QPointF(f.x, f.y); break;
    case BottomRight: centre = QPointF(f.x + f.w, f.y); break;
    default:
        _frame = SelFrame();
        _bounds = _frame;
        updateTrackingArea();
        return;
    }
    _frame = {centre.x() - sw / 2, centre.y() - sh / 2, sw, sh};
    _bounds = _frame;
    updateTrackingArea();
}

QPainterPath MSSHandle::bezierPath() const
{
    QPainterPath path;
    path.addEllipse(_frame.toRect());
    return path;
}

Qt::CursorShape MSSHandle::cursorShape() const
{
    // With y growing downward, handles 1 and 4 sit on the rising diagonal
    // and 2 and 3 on the falling one.
    switch (_type) {
    case TopLeft:
    case BottomRight:
        return Qt::SizeBDiagCursor;
    case TopRight:
    case BottomLeft:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::CrossCursor;
    }
}

void MSSHandle::drawPath(QPainter& painter)
{
    makeHandleFrameWithSelectorFrame();
    const QPainterPath path = bezierPath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(handleStyle.strokeColor, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.fillPath(path, handleStyle.fillColor);
    painter.restore();
}

void MSSHandle::removeTrackingArea()
{
    MSSCanvas* canvas = _selector ? _selector->canvas() : nullptr;
    if (canvas && _trackingArea > 0)
        canvas->removeTrackingArea(_trackingArea);
    _trackingArea = -1;
}

void MSSHandle::updateTrackingArea()
{
    removeTrackingArea();
    MSSCanvas* canvas = _selector ? _selector->canvas() : nullptr;
    if (!canvas)
        return;
    _trackingArea = canvas->addTrackingArea(Normalized_Frame(_frame).toRect(), cursorShape());
}

// ---------------------------------------------------------------- selectors

MSSSelector::MSSSelector(const QRectF& frame, MSSCanvas* canvas, bool asPicker)
{
    draw_selector_or_not = true;
    _frame = SelFrame::from(frame);
    _canvas = canvas;
    setStyle();
    _isPicker = asPicker;
    prepareAction(ActionCreate);
    _currentHandle = nullptr;
    setSelected();
    for (int type = 1; type <= 4; ++type)
        _handles.push_back(MSSHandle::handleWithType(type, this));
}

MSSSelector::~MSSSelector()
{
    removeTrackingAreas();
}

std::unique_ptr<MSSSelector> MSSSelector::selectorWithFrame(const QRectF& frame, MSSCanvas* canvas, bool asPicker)
{
    return std::make_unique<MSSSelector>(frame, canvas, asPicker);
}

void MSSSelector::setStyle()
{
    const MSSCanvasController* c = controllerOf(_canvas);
    selectorStyle = c && c->selectorStyle ? *c->selectorStyle : MSSSelectorStyle();
}

void MSSSelector::setSelected()
{
    _strokeColor = _isPicker ? selectorStyle.strokeColorPicker : selectorStyle.strokeColorSelected;
    _fillColor = _isPicker ? selectorStyle.fillColorPicker : selectorStyle.fillColorSelected;
    _isSelected = true;
}

void MSSSelector::setUnselected()
{
    _strokeColor = _isPicker ? selectorStyle.strokeColorPicker : selectorStyle.strokeColorUnselected;
    _fillColor = _isPicker ? selectorStyle.fillColorPicker : selectorStyle.fillColorUnselected;
    _isSelected = false;
}

void MSSSelector::prepareAction(int action)
{
    _action = action;
    if (action == ActionResize)
        makeOriginAtHandle();
    else if (action == ActionMove || action == ActionCreate)
        prepareBoundaries();
}

bool MSSSelector::intersectsFrame(const QRectF& rect)
{
    if (Frames_Intersect(SelFrame::from(rect), _frame)) {
        setSelected();
        return true;
    }
    if (touchedHandle(rect)) {
        setSelected();
        return true;
    }
    return false;
}

bool MSSSelector::touchedHandle(const QRectF& rect)
{
    const SelFrame probe = SelFrame::from(rect);
    for (const auto& handle : _handles) {
        if (Frames_Intersect(handle->bounds(), probe)) {
            _currentHandle = handle.get();
            prepareAction(ActionResize);
            return true;
        }
    }
    prepareAction(ActionMove);
    return false;
}

void MSSSelector::restoreOrigin()
{
    const MSSCanvasController* c = controllerOf(_canvas);
    _frame = c ? SelFrame::from(c->defaultRectForFrame(_frame.toRect())) : Normalized_Frame(_frame);
}

std::array<MSSSelector::Boundary, 4> MSSSelector::canvasBoundaries() const
{
    const QSizeF size = _canvas ? _canvas->canvasFrame().size() : QSizeF();
    std::array<Boundary, 4> b{};
    b[Top].position = size.height();
    b[Bottom].position = 0;
    b[Left].position = 0;
    b[Right].position = size.width();
    return b;
}

void MSSSelector::prepareBoundaries()
{
    const std::array<Boundary, 4> edges = canvasBoundaries();
    const double W = edges[Right].position, H = edges[Top].position;
    const double x = _frame.x, y = _frame.y, w = _frame.w, h = _frame.h;
    switch (_action) {
    case ActionCreate:
        _boundaries[Left] = {x, -x};
        _boundaries[Right] = {x, W - x};
        _boundaries[Bottom] = {y, -y};
        _boundaries[Top] = {y, H - y};
        break;
    case ActionResize: {
        const double fx = x + w, fy = y + h;
        _boundaries[Left] = {0, fx};
        _boundaries[Right] = {W, fx - W};
        _boundaries[Bottom] = {0, fy};
        _boundaries[Top] = {H, fy - H};
        break;
    }
    case ActionMove:
        _boundaries[Left] = {0, w};
        _boundaries[Right] = {W - w, w};
        _boundaries[Bottom] = {0, h};
        _boundaries[Top] = {H - h, h};
        break;
    default:
        break;
    }
}

void MSSSelector::makeOriginAtHandle()
{
    if (_currentHandle) {
        const int type = _currentHandle->type();
        if (type >= 1 && type <= 4) {
            const SelFrame b = _currentHandle->bounds();
            const double aw = std::abs(_frame.w), ah = std::abs(_frame.h);
            _frame.x = b.x + b.w / 2;
            _frame.y = b.y + b.h / 2;
            switch (type) {
            case MSSHandle::TopLeft: _frame.w = aw; _frame.h = -ah; break;
            case MSSHandle::TopRight: _frame.w = -aw; _frame.h = -ah; break;
            case MSSHandle::BottomLeft: _frame.w = aw; _frame.h = ah; break;
            case MSSHandle::BottomRight: _frame.w = -aw; _frame.h = ah; break;
            }
        }
    }
    prepareBoundaries();
}

void MSSSelector::resizeToPoint(QPointF p)
{
    const double dx = p.x() - _frame.x, dy = p.y() - _frame.y;
    if (!_currentHandle || _currentHandle->type() == 0) {
        _frame.w = dx;
        _frame.h = dy;
    } else {
        _frame = {p.x(), p.y(), _frame.w - dx, _frame.h - dy};
    }
}

void MSSSelector::moveSelectorToPoint(QPointF p)
{
    _frame.x = p.x() - _frame.w / 2;
    _frame.y = p.y() - _frame.h / 2;
}

int MSSSelector::verticalInBounds(const SelFrame& f) const
{
    const QRectF n = controllerOf(_canvas) ? controllerOf(_canvas)->defaultRectForFrame(f.toRect())
                                           : Normalized_Frame(f).toRect();
    const double W = canvasBoundaries()[Right].position;
    if (n.x() + n.width() > W)
        return 2;
    if (n.x() < 0)
        return 1;
    return 0;
}

int MSSSelector::horizontalInBounds(const SelFrame& f) const
{
    const QRectF n = controllerOf(_canvas) ? controllerOf(_canvas)->defaultRectForFrame(f.toRect())
                                           : Normalized_Frame(f).toRect();
    const double H = canvasBoundaries()[Top].position;
    if (n.y() + n.height() > H)
        return 3;
    if (n.y() < 0)
        return 4;
    return 0;
}

bool MSSSelector::touchedBoundaries()
{
    if (_isPicker)
        return false;
    const int v = verticalInBounds(_frame);
    const int h = horizontalInBounds(_frame);
    if (v == 2) {
        _frame.x = _boundaries[Right].position;
        _frame.w = _boundaries[Right].size;
    } else if (v == 1) {
        _frame.x = _boundaries[Left].position;
        _frame.w = _boundaries[Left].size;
    }
    if (h == 3) {
        _frame.y = _boundaries[Top].position;
        _frame.h = _boundaries[Top].size;
    } else if (h == 4) {
        _frame.y = _boundaries[Bottom].position;
        _frame.h = _boundaries[Bottom].size;
    }
    selectorHasChanged();
    return v != 0 || h != 0;
}

void MSSSelector::selectorHasChanged()
{
    updateTrackingArea();
}

bool MSSSelector::isBigEnough() const
{
    return std::abs(_frame.w) >= selectorStyle.minWidth && std::abs(_frame.h) >= selectorStyle.minHeight;
}

bool MSSSelector::intersectsOthers(const std::vector<MSSSelector*>& others)
{
    for (MSSSelector* other : others) {
        if (!other || other->_frame == _frame)
            continue;
        if (intersectsFrame(other->frame()))
            return true;
    }
    return false;
}

bool MSSSelector::canDropOnCanvas()
{
    std::vector<MSSSelector*> others;
    if (const MSSCanvasController* c = controllerOf(_canvas)) {
        for (MSSSelector* s : c->selectors())
            if (s != this)
                others.push_back(s);
    }
    if (!isBigEnough())
        return false;
    if (_canvas && !_canvas->allowIntersections() && intersectsOthers(others))
        return false;
    restoreOrigin();
    return true;
}

void MSSSelector::removeTrackingAreas()
{
    for (const auto& handle : _handles)
        handle->removeTrackingArea();
    if (_canvas && _trackingArea > 0)
        _canvas->removeTrackingArea(_trackingArea);
    _trackingArea = -1;
}

void MSSSelector::updateTrackingArea()
{
    if (_canvas && _trackingArea > 0)
        _canvas->removeTrackingArea(_trackingArea);
    _trackingArea = -1;
    if (!_canvas)
        return;
    QRectF area = Normalized_Frame(_frame).toRect();
    if (!_handles.empty()) {
        const SelFrame hf = _handles.front()->frame();
        area.adjust(hf.w, hf.h, -hf.w, -hf.h);
    }
    _trackingArea = _canvas->addTrackingArea(area, Qt::OpenHandCursor);
}

QPainterPath MSSSelector::outlinePath() const
{
    QPainterPath path;
    path.addRect(Normalized_Frame(_frame).toRect());
    return path;
}

void MSSSelector::drawPath(QPainter& painter)
{
    if (!draw_selector_or_not)
        return;
    const QPainterPath path = outlinePath();
    const double width = _isSelected ? selectorStyle.lineWidthSelected : selectorStyle.lineWidthUnselected;
    const bool dashed = _isSelected ? selectorStyle.lineDashedSelected : selectorStyle.lineDashedUnselected;
    painter.save();
    painter.setPen(outlinePen(_strokeColor, width, dashed));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.fillPath(path, _fillColor);
    painter.restore();
    drawHandles(painter);
}

void MSSSelector::drawHandles(QPainter& painter)
{
    if (!_isSelected || _isPicker)
        return;
    for (const auto& handle : _handles)
        handle->drawPath(painter);
}
