#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNZoomingScrollView.h"

#include "core/canvas/CanvasMessages.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/CanvasBounds.h"
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


namespace {

// How many times the clipboard changed, standing in for the pasteboard's
// change count. The clipboard is the process's one; its count is kept on it.
QClipboard* App_Clipboard()
{
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

qint64 Clipboard_Change_Count()
{
    const QClipboard* c = App_Clipboard();
    return c ? c->property("zlChangeCount").toLongLong() : 0;
}

void Count_Clipboard_Change()
{
    if (QClipboard* c = App_Clipboard())
        c->setProperty("zlChangeCount", Clipboard_Change_Count() + 1);
}

void Watch_Clipboard()
{
    QClipboard* c = App_Clipboard();
    if (!c || c->property("zlWatched").toBool())
        return;
    c->setProperty("zlWatched", true);
    QObject::connect(c, &QClipboard::dataChanged, c, [] { Count_Clipboard_Change(); });
}

bool Is_Kind(const LMNGraphic* g, LMNKind k)
{
    return g && g->kind() == k;
}

constexpr double Points_Per_Millimetre = 2.834645669291;

const char* const Locked_Message = "Selected control is locked.";

// The indexes start, start + 1, ... of count items.
QList<int> Index_Run(int start, qsizetype count)
{
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out.append(start + i);
    return out;
}

// The rule that moves an item along one axis so that the point at `fraction` of
// its extent (0 the leading edge, 0.5 the centre, 1 the trailing edge) meets the
// same point of the reference item, or of the card when one item is selected.
std::function<QRectF(LMNGraphic*, LMNGraphic*, bool)> Align_Rule(Qt::Orientation axis, double fraction,
                                                                 double cardExtent)
{
    return [axis, fraction, cardExtent](LMNGraphic* g, LMNGraphic* ref, bool single) {
        const bool across = axis == Qt::Horizontal;
        auto start = [across](const QRectF& b) { return across ? b.x() : b.y(); };
        auto extent = [across](const QRectF& b) { return across ? b.width() : b.height(); };
        QRectF r = g->bounds();
        const double target = single ? fraction * cardExtent
                                     : start(ref->bounds()) + fraction * extent(ref->bounds());
        if (start(r) + fraction * extent(r) != target) {
            const double to = target - fraction * extent(r);
            if (across)
                r.moveLeft(to);
            else
                r.moveTop(to);
        }
        return r;
    };
}

} // namespace

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
LMNGraphicView::LMNGraphicView(QWidget* parent)
    : QWidget(parent)
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
    if (App_Services().Main_App_wnd) {
        const bool two = _selection.size() >= 2;
        App_Services().Main_App_wnd->Set_Align_Buttons_Enabled(two, two, _grid && _grid->isAlwaysShown());
    }
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
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Card_Base_Drawing(painter, rect);
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
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Card_Border_Drawing(painter, rect);
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
    setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics()));
}

void LMNGraphicView::unhideHandlesForTimer()
{
    _isHidingHandles = false;
    if (_handleShowingTimer)
        _handleShowingTimer->stop();
    setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics()));
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
    const int tool = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Selected_Control_Tool() : 0;
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
        if (_Selected_Graphic && App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Show_RHS_Properties(_Selected_Graphic);
        return;
    }
    if (track == Track::Marquee) {
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Show_RHS_Properties(_Selected_Graphic);
    } else if (_trackedItem && (track == Track::Move || track == Track::Resize || track == Track::Consume)) {
        _Selected_Graphic = _trackedItem;
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Show_RHS_Properties(_trackedItem);
    }
    _trackedItem = nullptr;
}

void LMNGraphicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    stopEditing();
    const int tool = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Selected_Control_Tool() : 0;
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
    if (Is_Kind(g, LMNKind::Barcode) && App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Open_Barcode_Window();
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
        setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics()));
    }
    QPointF loc = location;
    if (_grid)
        loc = _grid->constrainedPoint(loc - _moveOffset) + _moveOffset;
    if (loc != _lastLocation) {
        LMNGraphic::translateGraphics(selectedGraphics(), loc.x() - _lastLocation.x(), loc.y() - _lastLocation.y());
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
        setNeedsDisplayInRect(LMNGraphic::drawingBoundsOfGraphics(selectedGraphics()));
        if (_didMove && App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Insert_In_Undo_Redo();
    }
    _moveStarted = false;
    if (_didMove && App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Refresh_Canvas();
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
    _resizeHandle = _resizing->resizeByMovingHandle(_resizeHandle, loc);
    continueEchoingMoveToRulers(_resizing->bounds());
}

void LMNGraphicView::endResize()
{
    _track = Track::None;
    stopEchoingMoveToRulers();
    LMNGraphic* g = _resizing;
    _resizing = nullptr;
    // Every resize that changed the bounds is one undo step; a creation takes its own.
    if (g && g != _creatingGraphic && g->bounds() != _resizeStartBounds && App_Services().Main_App_wnd) {
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
        App_Services().Main_App_wnd->Refresh_Canvas();
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
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Refresh_Canvas();
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

// ===========================================================================
// Creating

LMNGraphic* LMNGraphicView::createGraphicOfClass(LMNKind kind, const QPointF* atPoint, bool use_rect,
                                                 const QRectF& bound_rect, const QString& card_side,
                                                 const QString& ctrl_value, const QString& ctrl_ID)
{
    if (kind == LMNKind::Graphic || !_document)
        return nullptr;
    if (Selcect_Ctrl_With_ID(ctrl_ID))
        return nullptr;
    if (App_Services().Main_App_wnd) {
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
        if (kind == LMNKind::Text)
            App_Services().Main_App_wnd->Set_Selected_Control_Tool(2);
    }
    const int tool = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Selected_Control_Tool() : 0;
    changeSelectionIndexes({});

    // Place and size.
    QRectF r;
    if (atPoint) {
        QPointF origin = *atPoint;
        if (_grid)
            origin = _grid->constrainedPoint(origin);
        r = QRectF(origin, QSizeF(0, 0));
    } else {
        QSizeF size = use_rect ? bound_rect.size() : QSizeF(50, 50);
        if (kind == LMNKind::Text)
            size = QSizeF(70, 20);
        QPointF origin;
        if (use_rect && !ctrl_ID.isEmpty())
            origin = bound_rect.topLeft();
        else
            origin = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Control_New_Point(card_side) : QPointF(10, 10);
        if (_grid) {
            const QPointF o = _grid->constrainedPoint(origin);
            const QPointF far = _grid->constrainedPoint(origin + QPointF(size.width(), size.height()));
            origin = o;
            size = QSizeF(far.x() - o.x(), far.y() - o.y());
        }
        r = QRectF(origin, size);
    }

    // Make the item by the tool.
    std::unique_ptr<LMNGraphic> item;
    const QPointF pos = r.topLeft();
    QString value = ctrl_value;
    auto exists = [](const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); };
    switch (kind) {
    case LMNKind::Line:
        item = std::make_unique<LMNLine>();
        break;
    case LMNKind::Text: {
        auto text = std::make_unique<LMNText>();
        if (!value.isEmpty()) {
            text->Set_text_value(value);
            text->_isDrawingStroke = false;
            text->_isDrawingFill = false;
        }
        item = std::move(text);
        break;
    }
    case LMNKind::Shape: {
        auto shape = std::make_unique<Shape_Control>();
        static const QHash<int, QString> codes = {{3, "R"}, {4, "C"}, {5, "RR"}, {6, "T"},
                                                  {7, "D"}, {13, "S"}, {14, "DS"}, {15, "P"}};
        shape->Set_Shape_Type(codes.value(tool, QStringLiteral("R")));
        item = std::move(shape);
        break;
    }
    case LMNKind::Image: {
        std::unique_ptr<LMNImage> picture;
        // The library tool takes its picture as the file tool does; without
        // one (a cancelled choice) both show the placeholder picture.
        const QString chosen = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Library_Selected_Image : QString();
        if (exists(chosen)) {
            // No picture is too large, so the library's picture is never kept whole.
            picture = LMNImage::initWithPath(pos, chosen, App_Services().Main_App_wnd->Use_Org_image_Or_Shred_it != 0);
            value = chosen;
        } else if (exists(value)) {
            picture = LMNImage::initWithPath_With_ID(pos, value, ctrl_ID);
        } else {
            picture = LMNImage::initWithPosition(pos, PtImage(App_Services().Main_App_wnd ? App_Services().Main_App_wnd->no_image() : QImage()));
            // The placeholder by its file, so that the item draws it, prints
            // it and shows it again when the design is reopened.
            if (picture)
                picture->setFilePath(LMNImage::Placeholder_Path());
        }
        if (picture && !value.isEmpty())
            picture->Set_text_value(value);
        item = std::move(picture);
        break;
    }
    case LMNKind::Barcode:
        item = LMNBarcode::initWithPosition(pos, PtImage(App_Services().Main_App_wnd ? App_Services().Main_App_wnd->barcode_sample_img() : QImage()));
        break;
    case LMNKind::Signature:
        if (tool == 12) {
            auto fingerprint = LMNSignature::initWithPosition(
                pos, PtImage(App_Services().Main_App_wnd ? App_Services().Main_App_wnd->fp_sample_img() : QImage()), QStringLiteral("F"));
            // A fingerprint shows the fingerprint sample, whatever picture the
            // library last chose: its path is its own sample's from the start.
            fingerprint->Set_Control_File_path(fingerprint->file_path);
            item = std::move(fingerprint);
        } else {
            if (App_Services().Main_App_wnd)
                App_Services().Main_App_wnd->Library_Selected_Image = Folders.Resource_Path + QStringLiteral("/sign_sample.png");
            item = LMNSignature::initWithPosition(
                pos, PtImage(App_Services().Main_App_wnd ? App_Services().Main_App_wnd->sign_sample_img() : QImage()), QStringLiteral("S"));
        }
        break;
    default:
        break;
    }
    if (!item)
        return nullptr;
    item->control_ID = ctrl_ID;
    item->setBounds(r);
    LMNGraphicPtr shared(std::move(item));
    LMNGraphic* raw = shared.get();
    insertGraphics({shared}, {0});
    _creatingGraphic = raw;

    if (atPoint) {
        // The mouse sizes the new item; the release finishes the creation.
        _track = Track::Resize;
        _resizing = raw;
        _resizeHandle = raw->creationSizingHandle();
        _resizeStartBounds = raw->bounds();
        _trackedItem = nullptr;
        return raw;
    }
    finishCreation();
    return sharedGraphic(raw) ? raw : nullptr;
}

void LMNGraphicView::finishCreation()
{
    LMNGraphic* raw = _creatingGraphic;
    if (!raw)
        return;
    const int tool = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Selected_Control_Tool() : 0;
    bool kept = true;
    if (raw->width() == 0 && raw->height() == 0 && tool != 10) {
        // A click without a drag takes the new item back.
        const int i = indexOfGraphic(raw);
        if (i >= 0)
            removeGraphicsAtIndexes({i});
        kept = false;
    } else {
        changeSelectionIndexes({indexOfGraphic(raw)});
        startEditingGraphic(raw);
    }
    if (kept && tool == 10 && App_Services().Barcode_Gen_Var) {
        App_Services().Barcode_Gen_Var->Set_Barcode_Prop_To_Control(raw);
        const PtImage image = App_Services().Barcode_Gen_Var->Get_Image_From_Val(QStringLiteral("0123"), raw->header_val,
                                                                  raw->footer_val);
        raw->Set_Barcode_image(image);
        check_barcode_and_set_control_bounds(raw);
    }
    _creatingGraphic = nullptr;
    _Selected_Graphic = kept ? raw : nullptr;
    if (App_Services().Main_App_wnd) {
        App_Services().Main_App_wnd->Set_Selected_Control_Tool(0);
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
        App_Services().Main_App_wnd->Refresh_Canvas();
    }
}

void LMNGraphicView::ReplaceGraphicText(LMNKind kind, bool use_rect, const QRectF& bound_rect,
                                        const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID)
{
    LMNGraphic* g = Selcect_Ctrl_With_ID(ctrl_ID);
    if (!g) {
        createGraphicOfClass(kind, nullptr, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
        return;
    }
    g->ctrl_is_visible = true;
    if (Is_Kind(g, LMNKind::Text) && !ctrl_value.isEmpty()) {
        g->Set_text_value(ctrl_value);
        g->_isDrawingStroke = false;
        g->_isDrawingFill = false;
    } else if (Is_Kind(g, LMNKind::Image)) {
        if (QFileInfo(ctrl_value).isFile()) {
            g->ctrl_is_visible = true;
            static_cast<LMNImage*>(g)->setFilePath(ctrl_value);
        } else {
            Canvas_Log(ctrl_value);
            g->ctrl_is_visible = false;
        }
    }
    startEditingGraphic(g);
    _Selected_Graphic = g;
    setNeedsDisplayInRect(g->drawingBounds());
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
}

// ===========================================================================
// Commands

// The commands end by asking the window to bring its undo buttons and the
// canvas up to date; the window's redraw request serves both.
void LMNGraphicView::Undo_Redo_Button_state()
{
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Refresh_Canvas();
}

bool LMNGraphicView::selectionHasLockedItem() const
{
    for (LMNGraphic* g : selectedGraphics())
        if (g->ctrl_is_locked)
            return true;
    return false;
}

bool LMNGraphicView::There_Is_Any_Lock_Contrl() const
{
    return selectionHasLockedItem();
}

bool LMNGraphicView::There_Is_Frame_Pic_Or_Frame_Photo() const
{
    for (LMNGraphic* g : selectedGraphics())
        if (g->control_ID == QLatin1String("PARTY_IMAGE") || g->control_ID == QLatin1String("PARTY_IMAGE_BG"))
            return true;
    return false;
}

// Whether the clipboard data names local files (which Paste takes before a
// picture, and makes nothing of).
static bool Clipboard_Holds_File_Names(const QMimeData* data);

void LMNGraphicView::copy()
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.isEmpty())
        return;
    auto* data = new QMimeData;
    data->setData(LMNGraphicViewPasteboardType, LMNGraphic::pasteboardDataWithGraphics(items));
    data->setData(LMNGraphicViewPdfType, LMNRenderingView::pdfDataWithGraphics_data(items));
    data->setData(LMNGraphicViewTiffType, LMNRenderingView::tiffDataWithGraphics(items));
    QGuiApplication::clipboard()->setMimeData(data);
    Count_Clipboard_Change(); // counted even when the platform reports the change late
    _pasteboardChangeCount = Clipboard_Change_Count();
    _pasteCascadeNumber = 1;
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Set_Paste_Button_Status();
}

void LMNGraphicView::cut()
{
    if (!selectionMayChange())
        return;
    copy();
    delete_();
    Undo_Redo_Button_state();
}

void LMNGraphicView::paste()
{
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    if (data->hasFormat(LMNGraphicViewPasteboardType)) {
        LMNError error;
        int skipped = 0;
        const QList<LMNGraphicPtr> items =
            LMNGraphic::graphicsWithPasteboardData(data->data(LMNGraphicViewPasteboardType), &error, &skipped);
        if (error.code != 0) {
            Canvas_Show_Message(error.description);
            return;
        }
        if (skipped > 0)
            Canvas_Show_Message(skipped == 1 ? tr("One of the copied items could not be read and was left out.")
                                             : tr("%1 of the copied items could not be read and were left out.")
                                                   .arg(skipped));
        if (_pasteboardChangeCount != Clipboard_Change_Count()) {
            _pasteboardChangeCount = Clipboard_Change_Count();
            _pasteCascadeNumber = 0;
        }
        if (items.isEmpty())
            return;
        QList<LMNGraphic*> raw;
        QList<int> indexes;
        for (const LMNGraphicPtr& g : items) {
            raw.append(g.get());
            indexes.append(static_cast<int>(indexes.size()));
        }
        _Selected_Graphic = raw.first();
        if (_pasteCascadeNumber > 0 && App_Services().Main_App_wnd) {
            const QPointF p = App_Services().Main_App_wnd->Control_New_Point(QStringLiteral("F"));
            LMNGraphic::Paste_Location_Of_Graphics(raw, p.x(), p.y(), QStringLiteral("F"));
        }
        ++_pasteCascadeNumber;
        insertGraphics(items, indexes);
        changeSelectionIndexes(indexes);
        _Selected_Graphic = raw.first();
        Undo_Redo_Button_state();
        if (App_Services().Main_App_wnd) {
            App_Services().Main_App_wnd->Show_RHS_Properties(_Selected_Graphic);
            // The pasted state is an undo step of its own.
            App_Services().Main_App_wnd->Insert_In_Undo_Redo();
        }
        return;
    }
    if (Clipboard_Holds_File_Names(data))
        return;
    if (makeNewImageFromPasteboard(data, QPointF(50, 50)) && App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
}

void LMNGraphicView::delete_()
{
    if (!selectionMayChange())
        return;
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
    const QList<int> indexes = _selection;
    changeSelectionIndexes({});
    removeGraphicsAtIndexes(indexes);
    _Selected_Graphic = nullptr;
    Undo_Redo_Button_state();
    if (App_Services().Main_App_wnd) {
        App_Services().Main_App_wnd->Show_RHS_Properties(nullptr);
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
    }
}

void LMNGraphicView::moveSelectedGraphicsByX(double x, double y)
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (!items.isEmpty()) {
        hideHandlesMomentarily();
        LMNGraphic::translateGraphics(items, x, y);
    }
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Insert_In_Undo_Redo();
}

void LMNGraphicView::alignEach(const std::function<QRectF(LMNGraphic*, LMNGraphic*, bool)>& rule, bool refMoves)
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.isEmpty())
        return;
    auto moveTo = [](LMNGraphic* g, const QRectF& r) {
        if (r != g->bounds()) {
            g->setBounds(r);
            check_barcode_and_set_control_bounds(g);
        }
    };
    if (items.size() == 1) {
        LMNGraphic* g = items.first();
        if (!g->ctrl_is_locked)
            moveTo(g, rule(g, nullptr, true));
    } else {
        LMNGraphic* ref = items.first();
        for (int i = refMoves ? 0 : 1; i < items.size(); ++i) {
            LMNGraphic* g = items.at(i);
            if (!g->ctrl_is_locked)
                moveTo(g, rule(g, ref, false));
        }
    }
    Undo_Redo_Button_state();
}

void LMNGraphicView::alignLeftEdges()
{
    alignEach(Align_Rule(Qt::Horizontal, 0.0, bounds().width()), false);
}

void LMNGraphicView::alignRightEdges()
{
    alignEach(Align_Rule(Qt::Horizontal, 1.0, bounds().width()), false);
}

void LMNGraphicView::alignTopEdges()
{
    alignEach(Align_Rule(Qt::Vertical, 0.0, bounds().height()), false);
}

void LMNGraphicView::alignBottomEdges()
{
    alignEach(Align_Rule(Qt::Vertical, 1.0, bounds().height()), false);
}

void LMNGraphicView::alignHorizontalCenters()
{
    alignEach(Align_Rule(Qt::Horizontal, 0.5, bounds().width()), false);
}

void LMNGraphicView::alignVerticalCenters()
{
    alignEach(Align_Rule(Qt::Vertical, 0.5, bounds().height()), false);
}

void LMNGraphicView::alignformCenter()
{
    const QSizeF card = bounds().size();
    alignEach([card](LMNGraphic* g, LMNGraphic*, bool) {
        QRectF r = g->bounds();
        r.moveTopLeft(QPointF(card.width() / 2.0 - r.width() / 2.0, card.height() / 2.0 - r.height() / 2.0));
        return r;
    }, true);
}

void LMNGraphicView::alignWithGrid()
{
    if (!_grid || !_grid->canAlign())
        return;
    for (LMNGraphic* g : selectedGraphics()) {
        if (g->ctrl_is_locked)
            continue;
        g->setBounds(_grid->alignedRect(g->bounds()));
        check_barcode_and_set_control_bounds(g);
    }
    Undo_Redo_Button_state();
}

void LMNGraphicView::print_contol_or_not(int value)
{
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            g->print_object = value;
}

// False, after telling why, when a selected item is locked; false when nothing is selected.
bool LMNGraphicView::selectionMayChange()
{
    if (selectionHasLockedItem()) {
        Canvas_Show_Message(QString::fromLatin1(Locked_Message));
        return false;
    }
    return !_selection.isEmpty();
}

void LMNGraphicView::restackSelection(bool toFront)
{
    if (!selectionMayChange())
        return;
    const QList<int> old = _selection;
    changeSelectionIndexes({});
    const QList<LMNGraphicPtr> moved = removeGraphicsAtIndexes(old);
    const QList<int> indexes = Index_Run(toFront ? 0 : static_cast<int>(graphics().size()), moved.size());
    insertGraphics(moved, indexes);
    changeSelectionIndexes(indexes);
    Undo_Redo_Button_state();
}

void LMNGraphicView::bringToFront()
{
    restackSelection(true);
}

void LMNGraphicView::sendToBack()
{
    restackSelection(false);
}

void LMNGraphicView::Frame_main_Pic_X_Pos_Changed(double x)
{
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            g->setXPosition(x);
}

void LMNGraphicView::Frame_main_Pic_Y_Pos_Changed(double y)
{
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            g->setYPosition(y);
}

void LMNGraphicView::setSelectedExtent(double millimetres, void (LMNGraphic::*set)(double))
{
    if (!std::isfinite(millimetres) || millimetres < 0)
        return;
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked && !Is_Kind(g, LMNKind::Barcode))
            (g->*set)(millimetres * Points_Per_Millimetre);
}

void LMNGraphicView::Frame_main_Pic_Wdith_Changed(double millimetres)
{
    setSelectedExtent(millimetres, &LMNGraphic::setWidth);
}

void LMNGraphicView::Frame_main_Pic_Height_Changed(double millimetres)
{
    setSelectedExtent(millimetres, &LMNGraphic::setHeight);
}

// The first selected item gives the extent to the others.
void LMNGraphicView::makeSameExtent(double (LMNGraphic::*get)() const, void (LMNGraphic::*set)(double))
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.size() < 2)
        return;
    const double extent = (items.first()->*get)();
    for (int i = 1; i < items.size(); ++i) {
        LMNGraphic* g = items.at(i);
        if (!g->ctrl_is_locked && !Is_Kind(g, LMNKind::Barcode) && (g->*get)() != extent)
            (g->*set)(extent);
    }
    Undo_Redo_Button_state();
}

void LMNGraphicView::makeSameWidth()
{
    makeSameExtent(&LMNGraphic::width, &LMNGraphic::setWidth);
}

void LMNGraphicView::makeSameHeight()
{
    makeSameExtent(&LMNGraphic::height, &LMNGraphic::setHeight);
}

void LMNGraphicView::applyToSelection(void (LMNGraphic::*apply)())
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.isEmpty())
        return;
    for (LMNGraphic* g : items)
        (g->*apply)();
    Undo_Redo_Button_state();
}

void LMNGraphicView::makeSameAsLabelSize()
{
    applyToSelection(&LMNGraphic::makeSameAsLabelSize);
}

void LMNGraphicView::makeNaturalSize()
{
    applyToSelection(&LMNGraphic::makeNaturalSize);
}

void LMNGraphicView::undo()
{
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Undo_Action_Perform();
}

void LMNGraphicView::redo()
{
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Redo_Action_Perform();
}

void LMNGraphicView::show_hide_grid_lines()
{
    if (_grid)
        _grid->setAlwaysShown(!_grid->isAlwaysShown());
}

void LMNGraphicView::delete_all_control()
{
    const QList<int> all = Index_Run(0, graphics().size());
    changeSelectionIndexes({});
    if (!all.isEmpty())
        removeGraphicsAtIndexes(all);
    _Selected_Graphic = nullptr;
}

void LMNGraphicView::delete_all_Text_control()
{
    const QList<LMNGraphic*> all = graphics();
    QList<int> doomed;
    for (qsizetype i = all.size() - 1; i >= 1; --i)
        if (Is_Kind(all.at(i), LMNKind::Text) || Is_Kind(all.at(i), LMNKind::Image))
            doomed.append(static_cast<int>(i));
    if (doomed.isEmpty())
        return;
    std::sort(doomed.begin(), doomed.end());
    changeSelectionIndexes({});
    removeGraphicsAtIndexes(doomed);
}

LMNGraphic* LMNGraphicView::Selcect_Ctrl_With_ID(const QString& id) const
{
    if (id.isEmpty())
        return nullptr;
    for (LMNGraphic* g : graphics())
        if ((Is_Kind(g, LMNKind::Text) || Is_Kind(g, LMNKind::Image)) && g->control_ID == id)
            return g;
    return nullptr;
}

void LMNGraphicView::Set_Selection_Index_According_ID(const QString& id)
{
    const QList<LMNGraphic*> all = graphics();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i)->control_ID == id) {
            _Selected_Graphic = all.at(i);
            changeSelectionIndexes({i});
            return;
        }
    }
}

void LMNGraphicView::Display_Control_Position_and_Size()
{
    if (!App_Services().Main_App_wnd)
        return;
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            App_Services().Main_App_wnd->Set_Control_Pos_And_Size(g);
}

void LMNGraphicView::check_barcode_and_set_control_bounds(LMNGraphic* graphic)
{
    if (Is_Kind(graphic, LMNKind::Barcode))
        graphic->Set_Barcode_image_control_bounds();
}

namespace {

// Whether the clipboard data holds a picture: Qt's own picture form, or the
// picture data of another program.
bool Holds_Picture(const QMimeData* data)
{
    if (data->hasImage())
        return true;
    for (const QString& format : data->formats())
        if (format.startsWith(QLatin1String("image/")) && !format.contains(QLatin1String("svg")))
            return true;
    return false;
}

// The picture on the clipboard. Picture data of another program is checked
// by the size its header states before anything is decoded; vector data is
// never played back. *tooLarge when the picture is over the pixel limit.
QImage Clipboard_Picture(const QMimeData* data, bool* tooLarge)
{
    *tooLarge = false;
    for (const QString& format : data->formats()) {
        if (!format.startsWith(QLatin1String("image/")) || format.contains(QLatin1String("svg")))
            continue;
        QByteArray bytes = data->data(format);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        const QSize stated = reader.size();
        if (stated.isValid() && !Picture_Within_Limit(stated)) {
            *tooLarge = true;
            return {};
        }
        const QImage image = Picture_From_Data(bytes);
        if (!image.isNull())
            return image;
    }
    if (!data->hasImage())
        return {};
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (!image.isNull() && !Picture_Within_Limit(image.size())) {
        *tooLarge = true;
        return {};
    }
    return image;
}

} // namespace

static bool Clipboard_Holds_File_Names(const QMimeData* data)
{
    if (!data->hasUrls())
        return false;
    // A web page's address beside a copied picture names no file.
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); });
}

bool LMNGraphicView::Clipboard_Offers_Paste()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data)
        return false;
    if (data->hasFormat(LMNGraphicViewPasteboardType))
        return true;
    // File names come before a picture, and make nothing.
    return !Clipboard_Holds_File_Names(data) && Holds_Picture(data);
}

bool LMNGraphicView::makeNewImageFromPasteboard(const QMimeData* data, const QPointF& point)
{
    if (!data || !_document || !Holds_Picture(data))
        return false;
    bool tooLarge = false;
    const QImage image = Clipboard_Picture(data, &tooLarge);
    if (tooLarge) {
        Canvas_Show_Message(Picture_Too_Large_Message);
        return false;
    }
    if (image.isNull())
        return false;
    // The item names its picture by a file, as every picture item does: the
    // drawing, the jobs and a saved design all read it from there.
    QString why;
    const QString path = Keep_Picture_As_File(image, &why);
    if (path.isEmpty()) {
        Canvas_Show_Message(why);
        return false;
    }
    auto picture = LMNImage::initWithPosition(point, PtImage(image));
    if (!picture)
        return false;
    picture->setFilePath(path);
    picture->Set_text_value(picture->_file_path);   // its value, as for a chosen file
    // Its top left corner at the point: on our top-down canvas a picture whose
    // bottom edge sat there would hang above the card, out of sight.
    picture->setBounds(QRectF(point, picture->bounds().size()));
    LMNGraphicPtr shared(std::move(picture));
    insertGraphics({shared}, {0});
    changeSelectionIndexes({0});
    return true;
}

bool LMNGraphicView::makeNewImageFromContentsOfFile(const QString& path, const QPointF& point)
{
    const QByteArray format = QImageReader::imageFormat(path);
    if (format.isEmpty() || !_document)
        return false;
    QImage image(path);
    if (image.isNull())
        return false;
    auto picture = LMNImage::initWithPosition(point, PtImage(image));
    if (!picture)
        return false;
    picture->setFilePath(path);   // shown from its file, as a chosen picture
    LMNGraphicPtr shared(std::move(picture));
    insertGraphics({shared}, {0});
    changeSelectionIndexes({0});
    return true;
}

// ===========================================================================
// Menu validation and the contextual menu

bool LMNGraphicView::validateMenuItem(const QString& a, QString* title) const
{
    // 1. The current item's lock.
    if (_Selected_Graphic) {
        if (_Selected_Graphic->ctrl_is_locked) {
            static const QStringList lockedOff = {"cut", "paste", "delete", "bringToFront", "sendToBack", "lock_ctrl"};
            if (lockedOff.contains(a))
                return false;
        } else if (a == QLatin1String("unlock_ctrl")) {
            return false;
        }
    }
    const QList<LMNGraphic*> selected = selectedGraphics();
    // 2. Natural size.
    if (a == QLatin1String("makeNaturalSize")) {
        for (LMNGraphic* g : selected)
            if (g->canMakeNaturalSize())
                return true;
        return false;
    }
    // 3. Paste: our own items, or a picture of another program.
    if (a == QLatin1String("paste"))
        return Clipboard_Offers_Paste();
    // 4. Two or more selected.
    static const QStringList needTwo = {"alignLeftEdges", "alignRightEdges", "alignTopEdges",
                                        "alignBottomEdges", "alignHorizontalCenters", "alignVerticalCenters",
                                        "makeSameWidth", "makeSameHeight"};
    if (needTwo.contains(a))
        return selected.size() >= 2;
    // 5. Undo and redo: the window decides.
    if (a == QLatin1String("undo") || a == QLatin1String("redo"))
        return true;
    // 6. Rulers.
    if (a == QLatin1String("showOrHideRulers")) {
        if (title)
            *title = rulersVisible() ? tr("Hide Ruler") : tr("Show Ruler");
        return true;
    }
    // 7. Grid alignment.
    if (a == QLatin1String("alignWithGrid"))
        return _grid && _grid->canAlign() && !selected.isEmpty();
    // 8. Something selected.
    static const QStringList needOne = {"delete", "bringToFront", "sendToBack", "cut", "copy", "lock_ctrl",
                                        "unlock_ctrl"};
    if (needOne.contains(a))
        return !selected.isEmpty();
    // 9. The window's commands: offered while the window can carry them out.
    static const QHash<QString, WindowCommand> windowCommands = {
        {"card_properties", WindowCommand::CardProperties}, {"select_card", WindowCommand::CardBackground},
        {"export_id_card", WindowCommand::Export},          {"mail_id_card", WindowCommand::Mail},
        {"print_id_card", WindowCommand::Print},
    };
    if (auto it = windowCommands.find(a); it != windowCommands.end())
        return App_Services().Main_App_wnd && App_Services().Main_App_wnd->isWindowCommandAvailable(it.value());
    // 10. Everything else.
    return true;
}

bool LMNGraphicView::performAction(const QString& a)
{
    static const QHash<QString, void (LMNGraphicView::*)()> actions = {
        {"cut", &LMNGraphicView::cut},
        {"copy", &LMNGraphicView::copy},
        {"paste", &LMNGraphicView::paste},
        {"delete", &LMNGraphicView::delete_},
        {"bringToFront", &LMNGraphicView::bringToFront},
        {"sendToBack", &LMNGraphicView::sendToBack},
        {"alignformCenter", &LMNGraphicView::alignformCenter},
        {"alignLeftEdges", &LMNGraphicView::alignLeftEdges},
        {"alignRightEdges", &LMNGraphicView::alignRightEdges},
        {"alignTopEdges", &LMNGraphicView::alignTopEdges},
        {"alignBottomEdges", &LMNGraphicView::alignBottomEdges},
        {"alignHorizontalCenters", &LMNGraphicView::alignHorizontalCenters},
        {"alignVerticalCenters", &LMNGraphicView::alignVerticalCenters},
        {"alignWithGrid", &LMNGraphicView::alignWithGrid},
        {"makeSameWidth", &LMNGraphicView::makeSameWidth},
        {"makeSameHeight", &LMNGraphicView::makeSameHeight},
        {"makeSameAsLabelSize", &LMNGraphicView::makeSameAsLabelSize},
        {"makeNaturalSize", &LMNGraphicView::makeNaturalSize},
        {"selectAll", &LMNGraphicView::selectAll},
        {"deselectAll", &LMNGraphicView::deselectAll},
        {"undo", &LMNGraphicView::undo},
        {"redo", &LMNGraphicView::redo},
        {"showOrHideRulers", &LMNGraphicView::showOrHideRulers},
        {"show_hide_grid_lines", &LMNGraphicView::show_hide_grid_lines},
    };
    if (auto it = actions.find(a); it != actions.end()) {
        (this->*it.value())();
        return true;
    }
    if (!App_Services().Main_App_wnd)
        return false;
    if (a == QLatin1String("lock_ctrl"))
        App_Services().Main_App_wnd->Lock_Clicked();
    else if (a == QLatin1String("unlock_ctrl"))
        App_Services().Main_App_wnd->Unlock_Clicked();
    else if (a == QLatin1String("card_properties"))
        App_Services().Main_App_wnd->Card_Prop_Clicked();
    else if (a == QLatin1String("select_card"))
        App_Services().Main_App_wnd->Card_Bckgrnd_Clicked();
    else if (a == QLatin1String("export_id_card"))
        App_Services().Main_App_wnd->Export_Button();
    else if (a == QLatin1String("mail_id_card"))
        App_Services().Main_App_wnd->Barcode_Mail_Send();
    else if (a == QLatin1String("print_id_card"))
        App_Services().Main_App_wnd->Print_Button();
    else
        return false;
    return true;
}

std::unique_ptr<QMenu> LMNGraphicView::contextMenu()
{
    auto menu = std::make_unique<QMenu>(QStringLiteral("Contextual Menu"));
    struct Entry { const char* title; const char* action; };
    static const Entry entries[] = {
        {"Cut", "cut"}, {"Copy", "copy"}, {"Paste", "paste"}, {nullptr, nullptr},
        {"Delete", "delete"}, {nullptr, nullptr},
        {"Bring to Front", "bringToFront"}, {"Send to Back", "sendToBack"}, {nullptr, nullptr},
        {"Lock", "lock_ctrl"}, {"Unlock", "unlock_ctrl"}, {nullptr, nullptr},
        {"Label Properties", "card_properties"}, {"Label Background", "select_card"}, {nullptr, nullptr},
        {"Show/Hide Grid", "show_hide_grid_lines"}, {nullptr, nullptr},
        {"Export Label", "export_id_card"}, {"Mail Label", "mail_id_card"}, {"Print Label", "print_id_card"},
    };
    // Commands that change items record an undo step, as the window's buttons do.
    static const QStringList recorded = {"bringToFront", "sendToBack"};
    for (const Entry& e : entries) {
        if (!e.title) {
            menu->addSeparator();
            continue;
        }
        QAction* act = menu->addAction(QString::fromLatin1(e.title));
        const QString name = QString::fromLatin1(e.action);
        act->setObjectName(name);
        act->setEnabled(validateMenuItem(name));
        connect(act, &QAction::triggered, this, [this, name] {
            performAction(name);
            if (recorded.contains(name) && App_Services().Main_App_wnd) {
                App_Services().Main_App_wnd->Insert_In_Undo_Redo();
                App_Services().Main_App_wnd->Refresh_Canvas();
            }
        });
    }
    return menu;
}
