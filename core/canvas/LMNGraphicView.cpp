#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/canvas/GraphicViewSupport.h"

#include "core/canvas/CanvasMessages.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/util/BarcodeServices.h"
#include "core/util/MainWindowServices.h"
#include "platform/Geometry.h"
#include "platform/PictureData.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <array>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <exception>

using namespace graphic_view;

LMNKind currentGraphicClass(int tool)
{
    switch (tool) {
    case 1:
        return LMNKind::Line;
    case 2:
        return LMNKind::Text;
    case 3: case 4: case 5: case 6: case 7: case 13: case 14: case 15:
        return LMNKind::Shape;
    case 8: case 9:
        return LMNKind::Image;
    case 10:
        return LMNKind::Barcode;
    case 11: case 12:
        return LMNKind::Signature;
    default:
        return LMNKind::Graphic;
    }
}

// ===========================================================================
LMNGraphicView::LMNGraphicView(MainWindowServices& services, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(false);
    Watch_Clipboard();
    Install_Document_Picture_Data_Source();
    updateWidgetSize();
}

LMNGraphicView::~LMNGraphicView()
{
    if (_handleShowingTimer)
        _handleShowingTimer->stop();
    stopEditing();
    unbindGraphics();
    setGrid(nullptr);
}

void LMNGraphicView::setCardSize(const QSizeF& size)
{
    _cardSize = size;
    updateWidgetSize();
    update();
}

void LMNGraphicView::setZoomFactor(double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    _zoom = factor;
    updateWidgetSize();
    update();
}

void LMNGraphicView::updateWidgetSize()
{
    const QSize px(static_cast<int>(std::ceil(_cardSize.width() * _zoom)),
                   static_cast<int>(std::ceil(_cardSize.height() * _zoom)));
    setFixedSize(px.expandedTo(QSize(1, 1)));
}

QRect LMNGraphicView::widgetRectForCanvasRect(const QRectF& r) const
{
    const QRectF z(r.x() * _zoom, r.y() * _zoom, r.width() * _zoom, r.height() * _zoom);
    return z.toAlignedRect().adjusted(-1, -1, 1, 1);
}

QPointF LMNGraphicView::canvasPointForWidgetPoint(const QPointF& p) const
{
    return QPointF(p.x() / _zoom, p.y() / _zoom);
}

void LMNGraphicView::setNeedsDisplayInRect(const QRectF& rect)
{
    if (!rect.isValid() && !(rect.width() > 0 || rect.height() > 0))
        return;
    update(widgetRectForCanvasRect(rect));
}

// ===========================================================================
// Bindings

void LMNGraphicView::bindGraphics(LMNDocument* document)
{
    unbindGraphics();
    _document = document;
    if (_document) {
        _document->addGraphicsObserver(this, [this] { graphicsChanged(); });
        startObservingGraphics(graphics());
    }
    update();
}

void LMNGraphicView::unbindGraphics()
{
    if (!_document)
        return;
    stopObservingGraphics(_observed);
    _document->removeGraphicsObserver(this);
    _document = nullptr;
    _selection.clear();
    _Selected_Graphic = nullptr;
    update();
}

QList<LMNGraphic*> LMNGraphicView::graphics() const
{
    QList<LMNGraphic*> out;
    if (!_document)
        return out;
    for (const LMNGraphicPtr& g : _document->graphics())
        out.append(g.get());
    return out;
}

LMNGraphicPtr LMNGraphicView::sharedGraphic(LMNGraphic* item) const
{
    if (!_document)
        return {};
    for (const LMNGraphicPtr& g : _document->graphics())
        if (g.get() == item)
            return g;
    return {};
}

int LMNGraphicView::indexOfGraphic(LMNGraphic* item) const
{
    return static_cast<int>(graphics().indexOf(item));
}

void LMNGraphicView::insertGraphics(const QList<LMNGraphicPtr>& items, const QList<int>& indexes)
{
    if (_document)
        _document->insertGraphics(items, indexes);
}

QList<LMNGraphicPtr> LMNGraphicView::removeGraphicsAtIndexes(const QList<int>& indexes)
{
    QList<LMNGraphicPtr> removed;
    if (!_document)
        return removed;
    const QList<LMNGraphicPtr>& all = _document->graphics();
    for (int i : indexes)
        if (i >= 0 && i < all.size())
            removed.append(all.at(i));
    _document->removeGraphicsAtIndexes(indexes);
    return removed;
}

void LMNGraphicView::startObservingGraphics(const QList<LMNGraphic*>& list)
{
    for (LMNGraphic* g : list) {
        if (!g || _observed.contains(g))
            continue;
        _observed.append(g);
        _lastDrawingBounds.insert(g, g->drawingBounds());
        g->addObserver(this, [this](LMNGraphic* item, const QString& key, const QVariant&, const QVariant&) {
            itemChanged(item, key);
        });
        setNeedsDisplayInRect(g->drawingBounds());
    }
}

void LMNGraphicView::stopObservingGraphics(const QList<LMNGraphic*>& list)
{
    const QList<LMNGraphic*> copy = list;
    for (LMNGraphic* g : copy) {
        if (!_observed.contains(g))
            continue;
        g->removeObserver(this);
        _observed.removeAll(g);
        setNeedsDisplayInRect(_lastDrawingBounds.take(g));
    }
}

void LMNGraphicView::graphicsChanged()
{
    const QList<LMNGraphic*> now = graphics();
    QList<LMNGraphic*> gone;
    for (LMNGraphic* g : _observed)
        if (!now.contains(g))
            gone.append(g);
    stopObservingGraphics(gone);
    startObservingGraphics(now);
    if (_Selected_Graphic && !now.contains(_Selected_Graphic))
        _Selected_Graphic = nullptr;
    if (_creatingGraphic && !now.contains(_creatingGraphic))
        _creatingGraphic = nullptr;
    // An item removed while the mouse drags it (a delete key, an undo) is
    // no longer touched: the rest of the gesture is consumed.
    if (_resizing && !now.contains(_resizing)) {
        _resizing = nullptr;
        if (_track == Track::Resize)
            _track = Track::Consume;
    }
    if (_trackedItem && !now.contains(_trackedItem))
        _trackedItem = nullptr;
    // Indexes beyond the list are dropped.
    QList<int> kept;
    for (int i : _selection)
        if (i < now.size())
            kept.append(i);
    if (kept != _selection)
        changeSelectionIndexes(kept);
}

void LMNGraphicView::itemChanged(LMNGraphic* item, const QString& key)
{
    // The window's position and size fields follow the item's frame.
    if (key == LMNGraphicBoundsKey)
        m_services.Set_Control_Pos_And_Size(item);
    // The area the item leaves and the area it enters.
    const QRectF oldArea = _lastDrawingBounds.value(item);
    const QRectF newArea = item->drawingBounds();
    if (oldArea != newArea) {
        setNeedsDisplayInRect(oldArea);
        _lastDrawingBounds.insert(item, newArea);
    }
    setNeedsDisplayInRect(newArea);
}

void LMNGraphicView::setGrid(LMNGrid* grid)
{
    if (grid == _grid)
        return;
    if (_grid)
        disconnect(_grid, nullptr, this, nullptr);
    _grid = grid;
    if (_grid) {
        connect(_grid, &LMNGrid::anyChanged, this, [this] { update(); });
        connect(_grid, &LMNGrid::alignWithGridButtonEnabled, this, [this](bool) { updateAlignButtons(); });
        connect(_grid, &QObject::destroyed, this, [this] { _grid = nullptr; });
    }
    update();
}

// ===========================================================================
// Selection

void LMNGraphicView::changeSelectionIndexes(QList<int> indexes)
{
    const int count = static_cast<int>(graphics().size());
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [count](int i) { return i < 0 || i >= count; }),
                  indexes.end());
    const QList<LMNGraphic*> all = graphics();
    // Redisplay only the items whose selection state changed.
    for (int i : _selection)
        if (!indexes.contains(i) && i < all.size())
            setNeedsDisplayInRect(all.at(i)->drawingBounds());
    for (int i : indexes)
        if (!_selection.contains(i))
            setNeedsDisplayInRect(all.at(i)->drawingBounds());
    _selection = indexes;
    updateAlignButtons();
    emit selectionChanged();
}

void LMNGraphicView::updateAlignButtons()
{
    const bool two = _selection.size() >= 2;
    m_services.Set_Align_Buttons_Enabled(two, two, _grid && _grid->isAlwaysShown());
}

QList<LMNGraphic*> LMNGraphicView::selectedGraphics() const
{
    QList<LMNGraphic*> out;
    const QList<LMNGraphic*> all = graphics();
    for (int i : _selection)
        if (i >= 0 && i < all.size())
            out.append(all.at(i));
    return out;
}

void LMNGraphicView::selectAll()
{
    changeSelectionIndexes(Index_Run(0, graphics().size()));
}

void LMNGraphicView::deselectAll()
{
    changeSelectionIndexes({});
}

// ===========================================================================
// Display

void LMNGraphicView::paintEvent(QPaintEvent* event)
{
    _lastPaintedRegion = event->region();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(_zoom, _zoom);
    const QRectF dirty = QRectF(event->rect()).adjusted(0, 0, 0, 0);
    drawRect(painter, QRectF(dirty.x() / _zoom, dirty.y() / _zoom, dirty.width() / _zoom, dirty.height() / _zoom));
}

void LMNGraphicView::drawRect(QPainter& painter, const QRectF& rect)
{
    try {
        painter.save();
        m_services.Card_Base_Drawing(painter, rect);
        const QList<LMNGraphic*> all = graphics();
        for (qsizetype i = all.size() - 1; i >= 0; --i) {
            LMNGraphic* item = all.at(i);
            if (!item)
                continue;
            const QRectF area = item->drawingBounds();
            if (!pt::Rects_Intersect(area, rect))
                continue;
            const bool handles = !_isHidingHandles && item != _creatingGraphic && _selection.contains(int(i));
            painter.save();
            painter.setClipRect(area, Qt::IntersectClip);
            item->drawContentsInView(painter, this, item == _creatingGraphic);
            if (handles) {
                item->drawHandlesInView(painter, this, item->ctrl_is_locked);
                _Selected_Graphic = item;
            }
            painter.restore();
        }
        m_services.Card_Border_Drawing(painter, rect);
        painter.restore();
        if (_grid)
            _grid->drawRect(painter, rect);
        if (!_marqueeSelectionBounds.isNull()) {
            painter.save();
            QPen pen(palette().color(QPalette::Highlight));
            pen.setCosmetic(true);
            pen.setWidthF(1.0);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(_marqueeSelectionBounds);
            painter.restore();
        }
    } catch (const std::exception& e) {
        Canvas_Log(QString::fromUtf8(e.what()));
    }
}

LMNZoomingScrollView* LMNGraphicView::enclosingScrollView() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* scroll = qobject_cast<LMNZoomingScrollView*>(w))
            return scroll;
    return nullptr;
}

void LMNGraphicView::showOrHideRulers()
{
    if (LMNZoomingScrollView* scroll = enclosingScrollView())
        scroll->setRulersVisible(!scroll->rulersVisible());
}

bool LMNGraphicView::rulersVisible() const
{
    const LMNZoomingScrollView* scroll = enclosingScrollView();
    return scroll && scroll->rulersVisible();
}

void LMNGraphicView::Refresh_ScrollView()
{
    if (LMNZoomingScrollView* scroll = enclosingScrollView()) {
        scroll->viewport()->update();
        scroll->update();
    }
}

namespace {

// Marker positions of a rectangle along one ruler: minimum, middle, maximum.
std::array<double, 3> Ruler_Marks(const QRectF& r, Qt::Orientation o)
{
    if (o == Qt::Horizontal)
        return {r.x(), r.x() + r.width() * 0.5, r.x() + r.width()};
    return {r.y(), r.y() + r.height() * 0.5, r.y() + r.height()};
}

// Moves the three markers of each ruler from `from`'s places to `to`'s; a
// null rectangle stands for "no line".
void Echo_To_Rulers(LMNZoomingScrollView* scroll, const QRectF* from, const QRectF* to)
{
    for (LMNRulerView* ruler : {scroll->horizontalRulerView(), scroll->verticalRulerView()}) {
        if (!ruler)
            continue;
        const auto a = from ? Ruler_Marks(*from, ruler->orientation()) : std::array<double, 3>{-1, -1, -1};
        const auto b = to ? Ruler_Marks(*to, ruler->orientation()) : std::array<double, 3>{-1, -1, -1};
        for (int i = 0; i < 3; ++i)
            ruler->moveRulerlineFromLocation(a[i], b[i]);
    }
}

} // namespace

void LMNGraphicView::beginEchoingMoveToRulers(const QRectF& rect)
{
    LMNZoomingScrollView* scroll = enclosingScrollView();
    if (!scroll || !scroll->rulersVisible())
        return;
    if (_rulerEchoing)
        stopEchoingMoveToRulers();
    Echo_To_Rulers(scroll, nullptr, &rect);
    _rulerEchoedBounds = rect;
    _rulerEchoing = true;
}

void LMNGraphicView::continueEchoingMoveToRulers(const QRectF& rect)
{
    LMNZoomingScrollView* scroll = enclosingScrollView();
    if (!scroll || !_rulerEchoing)
        return;
    Echo_To_Rulers(scroll, &_rulerEchoedBounds, &rect);
    _rulerEchoedBounds = rect;
}

void LMNGraphicView::stopEchoingMoveToRulers()
{
    LMNZoomingScrollView* scroll = enclosingScrollView();
    if (scroll && _rulerEchoing)
        Echo_To_Rulers(scroll, &_rulerEchoedBounds, nullptr);
    _rulerEchoedBounds = QRectF();
    _rulerEchoing = false;
}

void LMNGraphicView::hideHandlesMomentarily()
{
    if (!_handleShowingTimer) {
        _handleShowingTimer = new QTimer(this);
        _handleShowingTimer->setSingleShot(true);
        connect(_handleShowingTimer, &QTimer::timeout, this, &LMNGraphicView::unhideHandlesForTimer);
    }
    _handleShowingTimer->start(500);
    _isHidingHandles = true;
    setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics(), bounds()));
}

void LMNGraphicView::unhideHandlesForTimer()
{
    _isHidingHandles = false;
    if (_handleShowingTimer)
        _handleShowingTimer->stop();
    setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics(), bounds()));
}

void LMNGraphicView::invalidateHandlesOfGraphics(const QList<LMNGraphic*>& list)
{
    for (LMNGraphic* g : list)
        if (g)
            setNeedsDisplayInRect(g->drawingBounds());
}

// Items offer no editing view of their own, so editing starts nothing.
void LMNGraphicView::startEditingGraphic(LMNGraphic*) {}
void LMNGraphicView::stopEditing() {}

// ===========================================================================
// Hit testing

double LMNGraphicView::distanceBetweenPointA(const QPointF& a, const QPointF& b)
{
    const float dx = static_cast<float>(a.x() - b.x());
    const float dy = static_cast<float>(a.y() - b.y());
    return std::sqrt(dx * dx + dy * dy);
}

bool LMNGraphicView::isPoint(const QPointF& p, const QPointF& a, const QPointF& b, double margin)
{
    const float ab = static_cast<float>(distanceBetweenPointA(a, b));
    const float pa = static_cast<float>(distanceBetweenPointA(p, a));
    const float pb = static_cast<float>(distanceBetweenPointA(p, b));
    return std::fabs(ab - pa - pb) < margin;
}

LMNGraphic* LMNGraphicView::graphicUnderPoint(const QPointF& point, int* outIndex, bool* outSelected,
                                              int* outHandle) const
{
    const QList<LMNGraphic*> all = graphics();
    for (int i = 0; i < all.size(); ++i) {
        LMNGraphic* g = all.at(i);
        if (!g || !g->ctrl_is_visible)
            continue;
        bool hit = false;
        bool lineBody = false;
        if (Is_Kind(g, LMNKind::Line)) {
            auto* line = static_cast<LMNLine*>(g);
            // Within max(0.5, stroke / 2 + 2) points of the segment, or on a handle.
            lineBody = Distance_To_Segment(point, line->beginPoint(), line->endPoint())
                <= LMNLine::Hit_Tolerance(line->strokeWidth());
            hit = lineBody || line->handleUnderPoint(point) != LMNGraphicNoHandle;
        } else {
            hit = pt::Point_In_Rect(point, g->drawingBounds());
        }
        if (!hit)
            continue;
        const bool selected = _selection.contains(i);
        int handle = LMNGraphicNoHandle;
        if (selected)
            handle = g->handleUnderPoint(point);
        if (handle == LMNGraphicNoHandle && !(lineBody || g->isContentsUnderPoint(point)))
            continue;
        if (outIndex)
            *outIndex = i;
        if (outSelected)
            *outSelected = selected;
        if (outHandle)
            *outHandle = handle;
        return g;
    }
    return nullptr;
}

QList<int> LMNGraphicView::indexesOfGraphicsIntersectingRect(const QRectF& rect)
{
    QList<int> out;
    const QList<LMNGraphic*> all = graphics();
    for (int i = 0; i < all.size(); ++i) {
        LMNGraphic* g = all.at(i);
        if (!g || !g->ctrl_is_visible)
            continue;
        if (pt::Rects_Intersect(g->drawingBounds(), rect)) {
            out.append(i);
            if (_selection.isEmpty())
                _Selected_Graphic = g;
        }
    }
    return out;
}

// ===========================================================================
// Mouse

QPointF LMNGraphicView::eventLocation(const QMouseEvent* event) const
{
    return canvasPointForWidgetPoint(event->position());
}

void LMNGraphicView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    stopEditing();
    const QPointF location = eventLocation(event);
    // A gesture whose release never came (the grab was lost) ends here, so
    // the canvas never stays stuck in it.
    if (_track != Track::None || _creatingGraphic)
        endTracking(_lastMouse);
    _lastMouse = location;
    const int tool = m_services.Selected_Control_Tool();
    const LMNKind kind = currentGraphicClass(tool);
    if (kind != LMNKind::Graphic) {
        LMNGraphic* created = createGraphicOfClass(kind, &location, false, QRectF(), QStringLiteral("F"),
                                                   QString(), QString());
        if (!created)
            return;
        _Selected_Graphic = nullptr;
        return;
    }
    _Selected_Graphic = nullptr;

    // Selecting and tracking.
    mouse_select_point = QPointF();
    const bool command = event->modifiers() & Qt::ControlModifier;
    mouse_select_point = location;
    int index = -1;
    bool selected = false;
    int handle = LMNGraphicNoHandle;
    LMNGraphic* hit = graphicUnderPoint(location, &index, &selected, &handle);
    _mouseDown = location;
    if (hit) {
        _Selected_Graphic = hit;
        _trackedItem = hit;
        if (handle == LMNGraphicNoHandle) {
            QList<int> sel = _selection;
            if (command) {
                if (selected)
                    sel.removeAll(index);
                else
                    sel.append(index);
                changeSelectionIndexes(sel);
            } else if (!selected) {
                changeSelectionIndexes({index});
            }
            if (_selection.contains(index))
                beginMove(location);
            else
                _track = Track::Consume;
        } else {
            beginResize(hit, handle);
        }
    } else {
        _trackedItem = nullptr;
        if (!command)
            changeSelectionIndexes({});
        beginMarquee(location);
    }
}

void LMNGraphicView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPointF location = eventLocation(event);
    _lastMouse = location;
    switch (_track) {
    case Track::Move:
        continueMove(location);
        break;
    case Track::Resize:
        continueResize(location);
        break;
    case Track::Marquee:
        continueMarquee(location);
        break;
    default:
        break;
    }
}

void LMNGraphicView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    endTracking(eventLocation(event));
}

void LMNGraphicView::endTracking(const QPointF& location)
{
    const Track track = _track;
    switch (track) {
    case Track::Move:
        continueMove(location);
        endMove();
        break;
    case Track::Resize:
        continueResize(location);
        endResize();
        break;
    case Track::Marquee:
        continueMarquee(location);
        endMarquee();
        break;
    default:
        _track = Track::None;
        break;
    }
    if (_creatingGraphic) {
        // An item drawn with the mouse: its panel shows, as after a click on it.
        finishCreation();
        if (_Selected_Graphic)
            m_services.Show_RHS_Properties(_Selected_Graphic);
        return;
    }
    if (track == Track::Marquee) {
        m_services.Show_RHS_Properties(_Selected_Graphic);
    } else if (_trackedItem && (track == Track::Move || track == Track::Resize || track == Track::Consume)) {
        _Selected_Graphic = _trackedItem;
        m_services.Show_RHS_Properties(_trackedItem);
    }
    _trackedItem = nullptr;
}

void LMNGraphicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    stopEditing();
    const int tool = m_services.Selected_Control_Tool();
    if (currentGraphicClass(tool) != LMNKind::Graphic) {
        mousePressEvent(event);
        return;
    }
    _Selected_Graphic = nullptr;
    LMNGraphic* g = graphicUnderPoint(eventLocation(event));
    if (!g) {
        mousePressEvent(event);
        return;
    }
    _Selected_Graphic = g;
    if (!g->ctrl_is_visible || g->ctrl_is_locked)
        return;
    startEditingGraphic(g);
    if (Is_Kind(g, LMNKind::Barcode))
        m_services.Open_Barcode_Window();
}

void LMNGraphicView::beginMove(const QPointF& location)
{
    _track = Track::Move;
    _moveStarted = false;
    _didMove = false;
    const QRectF box = LMNGraphic::boundsOfGraphics(selectedGraphics());
    _moveOffset = location - box.topLeft();
    _lastLocation = location;
    beginEchoingMoveToRulers(box);
}

void LMNGraphicView::continueMove(const QPointF& location)
{
    if (!_moveStarted) {
        if (std::fabs(location.x() - _mouseDown.x()) < 2.0 && std::fabs(location.y() - _mouseDown.y()) < 2.0)
            return;
        _moveStarted = true;
        _isHidingHandles = true;
        setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics(), bounds()));
    }
    QPointF loc = location;
    if (_grid)
        loc = _grid->constrainedPoint(loc - _moveOffset) + _moveOffset;
    if (loc != _lastLocation) {
        LMNGraphic::translateGraphics(selectedGraphics(), loc.x() - _lastLocation.x(), loc.y() - _lastLocation.y(),
                                      bounds());
        _didMove = true;
        if (_rulerEchoing) {
            QRectF moved = _rulerEchoedBounds;
            moved.moveTopLeft(loc - _moveOffset);
            continueEchoingMoveToRulers(moved);
        }
    }
    _lastLocation = loc;
}

void LMNGraphicView::endMove()
{
    _track = Track::None;
    stopEchoingMoveToRulers();
    if (_moveStarted) {
        _isHidingHandles = false;
        setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics(), bounds()));
        if (_didMove)
            m_services.Insert_In_Undo_Redo();
    }
    _moveStarted = false;
    if (_didMove)
        m_services.Refresh_Canvas();
    _didMove = false;
}

void LMNGraphicView::beginResize(LMNGraphic* graphic, int handle)
{
    if (!graphic || graphic->ctrl_is_locked || Is_Kind(graphic, LMNKind::Barcode)) {
        _track = Track::Consume;
        return;
    }
    _track = Track::Resize;
    _resizing = graphic;
    _resizeHandle = handle;
    _resizeStartBounds = graphic->bounds();
    beginEchoingMoveToRulers(graphic->bounds());
}

void LMNGraphicView::continueResize(const QPointF& location)
{
    if (!_resizing)
        return;
    QPointF loc = location;
    if (_grid)
        loc = _grid->constrainedPoint(loc);
    _resizeHandle = _resizing->resizeByMovingHandle(_resizeHandle, loc, bounds());
    continueEchoingMoveToRulers(_resizing->bounds());
}

void LMNGraphicView::endResize()
{
    _track = Track::None;
    stopEchoingMoveToRulers();
    LMNGraphic* g = _resizing;
    _resizing = nullptr;
    // Every resize that changed the bounds is one undo step; a creation takes its own.
    if (g && g != _creatingGraphic && g->bounds() != _resizeStartBounds) {
        m_services.Insert_In_Undo_Redo();
        m_services.Refresh_Canvas();
    }
}

void LMNGraphicView::beginMarquee(const QPointF& location)
{
    _track = Track::Marquee;
    _marqueeStartSelection = _selection;
    _marqueeOrigin = location;
}

void LMNGraphicView::continueMarquee(const QPointF& location)
{
    const QRectF band(std::min(_marqueeOrigin.x(), location.x()), std::min(_marqueeOrigin.y(), location.y()),
                      std::fabs(location.x() - _marqueeOrigin.x()), std::fabs(location.y() - _marqueeOrigin.y()));
    if (band == _marqueeSelectionBounds)
        return;
    setNeedsDisplayInRect(_marqueeSelectionBounds.adjusted(-1, -1, 1, 1));
    _marqueeSelectionBounds = band;
    setNeedsDisplayInRect(band.adjusted(-1, -1, 1, 1));
    const QList<int> touched = indexesOfGraphicsIntersectingRect(band);
    if (touched.isEmpty())
        return;
    QList<int> sel = _marqueeStartSelection;
    for (int i : touched) {
        if (sel.contains(i))
            sel.removeAll(i);
        else
            sel.append(i);
    }
    changeSelectionIndexes(sel);
}

void LMNGraphicView::endMarquee()
{
    _track = Track::None;
    setNeedsDisplayInRect(_marqueeSelectionBounds.adjusted(-1, -1, 1, 1));
    _marqueeSelectionBounds = QRectF();
    // The band's selection stays selected; the card's panel shows.
    _Selected_Graphic = nullptr;
    m_services.Refresh_Canvas();
}

void LMNGraphicView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveLeft();
        break;
    case Qt::Key_Right:
        moveRight();
        break;
    case Qt::Key_Up:
        moveUp();
        break;
    case Qt::Key_Down:
        moveDown();
        break;
    case Qt::Key_Backspace:
        deleteBackward();
        break;
    case Qt::Key_Delete:
        deleteForward();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void LMNGraphicView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu = contextMenu();
    menu->exec(event->globalPos());
}
