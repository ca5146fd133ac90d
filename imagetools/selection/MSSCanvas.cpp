#include "imagetools/selection/MSSCanvas.h"

#include "imagetools/selection/MSSScaledImageView.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

// ---------------------------------------------------------------- canvas

MSSCanvas::MSSCanvas(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void MSSCanvas::setCanvasFrame(const QRectF& frame)
{
    m_frame = frame;
    setGeometry(frame.toAlignedRect());
}

int MSSCanvas::addTrackingArea(const QRectF& rect, Qt::CursorShape cursor)
{
    const int id = m_nextArea++;
    m_areas.insert(id, Area{rect, cursor});
    return id;
}

void MSSCanvas::removeTrackingArea(int id)
{
    m_areas.remove(id);
    if (m_hoverArea == id)
        m_hoverArea = 0;
}

void MSSCanvas::paintEvent(QPaintEvent*)
{
    if (!m_delegate)
        return;
    QPainter p(this);
    // The selector being handled (or the rubber band) is drawn last, on top, and once.
    MSSSelector* current = m_delegate->currentSelector();
    for (MSSSelector* s : m_delegate->selectors())
        if (s != current)
            s->drawPath(p);
    if (current)
        current->drawPath(p);
}

void MSSCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_delegate) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_delegate->mouseDown(event->position(), event->modifiers() & Qt::ControlModifier);
}

void MSSCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_delegate)
        return;
    if (event->buttons() & Qt::LeftButton) {
        m_delegate->mouseDragged(event->position());
        return;
    }
    // Hover: the last area placed under the pointer wins (handles are placed after their selector).
    int hit = 0;
    for (auto it = m_areas.constBegin(); it != m_areas.constEnd(); ++it)
        if (it->rect.contains(event->position()))
            hit = it.key();
    if (hit == m_hoverArea)
        return;
    m_hoverArea = hit;
    if (hit)
        m_delegate->mouseEntered(m_areas.value(hit).cursor);
    else
        m_delegate->mouseExited();
}

void MSSCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_delegate) {
        event->ignore();
        return;
    }
    m_delegate->mouseUp(event->position());
}

void MSSCanvas::keyPressEvent(QKeyEvent* event)
{
    if (!m_delegate) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_delegate->keyDown(event->key(), event->modifiers());
}

void MSSCanvas::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_hoverArea && m_delegate)
        m_delegate->mouseExited();
    m_hoverArea = 0;
}

// ---------------------------------------------------------------- controller

MSSCanvasController::MSSCanvasController(MSSCanvas* canvas, QWidget* contentView, QObject* parent)
    : QObject(parent), m_canvas(canvas), m_contentView(contentView)
{
    prepareController();
}

MSSCanvasController::~MSSCanvasController()
{
    m_current = nullptr;
    m_picker.reset();
    m_selectors.clear();
    if (m_canvas && m_canvas->delegate() == this)
        m_canvas->setDelegate(nullptr);
}

std::unique_ptr<MSSCanvasController> MSSCanvasController::canvasControllerForCanvas(MSSCanvas* canvas,
                                                                                   QWidget* contentView)
{
    return std::make_unique<MSSCanvasController>(canvas, contentView);
}

void MSSCanvasController::prepareController()
{
    cursorCanBeChanged = true;
    if (m_canvas)
        m_canvas->setDelegate(this);
    if (m_contentView) {
        m_contentView->installEventFilter(this);
        if (auto* view = qobject_cast<MSSScaledImageView*>(m_contentView.data())) {
            view->setFocusPolicy(Qt::NoFocus);
            connect(view, &MSSScaledImageView::displayChanged, this, &MSSCanvasController::resetCanvas,
                    Qt::UniqueConnection);
        }
    }
    m_current = nullptr;
    m_picker.reset();
    m_selectors.clear();
    arrangeCanvas();
}

bool MSSCanvasController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_contentView && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        arrangeCanvas();
    return QObject::eventFilter(watched, event);
}

QRectF MSSCanvasController::canvasFrame() const
{
    if (!m_contentView)
        return QRectF();
    if (auto* view = qobject_cast<MSSScaledImageView*>(m_contentView.data()))
        return view->scaledImageRect();
    return QRectF(m_contentView->rect());
}

void MSSCanvasController::arrangeCanvas()
{
    if (!m_canvas)
        return;
    if (m_contentView && m_canvas->parentWidget() != m_contentView) {
        m_canvas->setParent(m_contentView);
        m_canvas->show();
    }
    m_canvas->setCanvasFrame(canvasFrame());
    m_canvas->raise();
}

void MSSCanvasController::redisplay()
{
    if (m_canvas)
        m_canvas->update();
}

QRectF MSSCanvasController::defaultRectForFrame(const QRectF& r) const
{
    return Normalized_Frame(SelFrame::from(r)).toRect();
}

std::vector<MSSSelector*> MSSCanvasController::selectors() const
{
    std::vector<MSSSelector*> out;
    out.reserve(m_selectors.size());
    for (const auto& s : m_selectors)
        out.push_back(s.get());
    return out;
}

void MSSCanvasController::markAllUnselected(bool redisplayNow)
{
    for (const auto& s : m_selectors)
        s->setUnselected();
    if (redisplayNow)
        redisplay();
}

void MSSCanvasController::markAllSelected(bool redisplayNow)
{
    for (const auto& s : m_selectors)
        s->setSelected();
    if (redisplayNow)
        redisplay();
}

void MSSCanvasController::removeAllSelectorsFromCanvas()
{
    markAllSelected(false);
    removeMarkedSelectorsFromCanvas();
}

void MSSCanvasController::removeMarkedSelectorsFromCanvas()
{
    m_current = nullptr;
    for (const auto& s : m_selectors)
        if (s->isSelected())
            s->removeTrackingAreas();
    m_selectors.erase(std::remove_if(m_selectors.begin(), m_selectors.end(),
                                     [](const std::unique_ptr<MSSSelector>& s) { return s->isSelected(); }),
                      m_selectors.end());
    redisplay();
    if (m_canvas)
        m_canvas->unsetCursor();
    canvasHasChanged();
}

void MSSCanvasController::addSelectorWithFrame(const QRectF& frame)
{
    removeAllSelectorsFromCanvas();
    if (singleSelectionMode && hasSelectors())
        return;
    m_selectors.push_back(MSSSelector::selectorWithFrame(frame, m_canvas, false));
    m_current = m_selectors.back().get();
}

void MSSCanvasController::setPickerWithFrame(const QRectF& frame)
{
    m_picker = MSSSelector::selectorWithFrame(frame, m_canvas, true);
    m_current = m_picker.get();
}

void MSSCanvasController::dropFromList(MSSSelector* selector)
{
    if (m_current == selector)
        m_current = nullptr;
    m_selectors.erase(std::remove_if(m_selectors.begin(), m_selectors.end(),
                                     [selector](const std::unique_ptr<MSSSelector>& s) { return s.get() == selector; }),
                      m_selectors.end());
}

void MSSCanvasController::mouseDown(QPointF location, bool command)
{
    cursorCanBeChanged = false;
    markAllUnselected(true);
    const QRectF probe(location, QSizeF(0, 0));
    m_current = nullptr;
    m_picker.reset();
    if (command || m_selectors.empty()) {
        addSelectorWithFrame(probe);
        redisplay();
        return;
    }
    bool hit = false;
    for (MSSSelector* s : selectors()) {
        if (s->intersectsFrame(probe)) {
            m_current = s;
            s->touchedHandle(probe);
            hit = true;
            break;
        }
    }
    if (!hit)
        setPickerWithFrame(probe);
    redisplay();
}

void MSSCanvasController::mouseDragged(QPointF location)
{
    if (!m_current)
        return;
    switch (m_current->action()) {
    case MSSSelector::ActionCreate:
    case MSSSelector::ActionResize:
        m_current->resizeToPoint(location);
        break;
    case MSSSelector::ActionMove:
        m_current->moveSelectorToPoint(location);
        break;
    default:
        return;
    }
    redisplay();
    if (m_current->touchedBoundaries())
        redisplay();
}

void MSSCanvasController::mouseUp(QPointF)
{
    cursorCanBeChanged = true;
    if (!m_current) {
        redisplay();
        return;
    }
    if (m_current->isPicker()) {
        const QRectF band = m_current->frame();
        for (MSSSelector* s : selectors())
            s->intersectsFrame(band);
        m_current = nullptr;
        m_picker.reset();
    } else if (m_current->canDropOnCanvas()) {
        m_current->selectorHasChanged();
        canvasHasChanged();
    } else {
        MSSSelector* gone = m_current;
        gone->removeTrackingAreas();
        dropFromList(gone);
    }
    redisplay();
}

void MSSCanvasController::keyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        removeMarkedSelectorsFromCanvas();
    } else if (key == Qt::Key_A && (modifiers & Qt::ControlModifier)) {
        markAllSelected(true);
    } else if (key == Qt::Key_Escape) {
        markAllUnselected(true);
    }
}

void MSSCanvasController::mouseEntered(Qt::CursorShape cursor)
{
    if (cursorCanBeChanged && m_canvas)
        m_canvas->setCursor(cursor);
}

void MSSCanvasController::mouseExited()
{
    if (cursorCanBeChanged && m_canvas)
        m_canvas->unsetCursor();
}
