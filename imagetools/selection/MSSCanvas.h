#pragma once
// The selection canvas: a transparent view laid exactly over the picture of
// a picture view, and its controller, which keeps the selectors and reads
// the mouse and the keyboard.
//
// Canvas coordinates: origin at the top-left corner of the displayed
// picture, y growing downward, one unit a pixel of the view. Dividing by the
// view's ratio gives the picture's own pixel coordinates, which also grow
// downward, so a selection is never flipped on its way to the picture.
#include "imagetools/selection/MSSSelector.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <optional>

class MSSCanvasController;

class MSSCanvas : public QWidget {
    Q_OBJECT
public:
    explicit MSSCanvas(QWidget* parent = nullptr);

    MSSCanvasController* delegate() const { return m_delegate; }
    void setDelegate(MSSCanvasController* d) { m_delegate = d; }
    bool allowIntersections() const { return m_allowIntersections; }
    void setAllowIntersections(bool allow) { m_allowIntersections = allow; }

    // The canvas's frame in its content view (fractional; the widget itself
    // sits on whole pixels). Its size is the clamp limit of the selectors.
    void setCanvasFrame(const QRectF& frame);
    QRectF canvasFrame() const { return m_frame; }

    // Cursor areas: the cursor shown while the pointer is inside.
    int addTrackingArea(const QRectF& rect, Qt::CursorShape cursor);
    void removeTrackingArea(int id);
    int trackingAreaCount() const { return int(m_areas.size()); }
    bool hasTrackingArea(int id) const { return m_areas.contains(id); }
    QRectF trackingAreaRect(int id) const { return m_areas.value(id).rect; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Area {
        QRectF rect;
        Qt::CursorShape cursor = Qt::ArrowCursor;
    };
    MSSCanvasController* m_delegate = nullptr;
    bool m_allowIntersections = false;
    QRectF m_frame;
    QMap<int, Area> m_areas;
    int m_nextArea = 1;
    int m_hoverArea = 0;
};

class MSSCanvasController : public QObject {
    Q_OBJECT
public:
    // The canvas is laid over the content view (a MSSScaledImageView: over
    // its picture; any other widget: over its whole bounds).
    MSSCanvasController(MSSCanvas* canvas, QWidget* contentView, QObject* parent = nullptr);
    ~MSSCanvasController() override;
    static std::unique_ptr<MSSCanvasController> canvasControllerForCanvas(MSSCanvas* canvas, QWidget* contentView);

    void prepareController();
    void resetCanvas() { arrangeCanvas(); }
    void arrangeCanvas();
    QRectF canvasFrame() const;

    // Events, in canvas coordinates. `command`: the add modifier is held.
    void mouseDown(QPointF location, bool command);
    void mouseDragged(QPointF location);
    void mouseUp(QPointF location);
    // Qt key codes: Backspace or Delete remove the selected selectors,
    // Ctrl+A selects all, Escape deselects all.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void mouseEntered(Qt::CursorShape cursor);
    void mouseExited();

    QRectF defaultRectForFrame(const QRectF& r) const;
    void removeAllSelectorsFromCanvas();
    bool hasSelectors() const { return !m_selectors.empty(); }
    bool hasSelector() const { return m_current != nullptr; }
    void markAllUnselected(bool redisplay);
    void markAllSelected(bool redisplay);
    void removeMarkedSelectorsFromCanvas();
    void canvasHasChanged() {}
    void addSelectorWithFrame(const QRectF& frame);
    void setPickerWithFrame(const QRectF& frame);

    std::vector<MSSSelector*> selectors() const;
    MSSSelector* currentSelector() const { return m_current; }
    MSSCanvas* view() const { return m_canvas; }
    QWidget* contentView() const { return m_contentView; }

    bool singleSelectionMode = false;
    bool cursorCanBeChanged = true;
    std::optional<MSSSelectorStyle> selectorStyle;
    std::optional<MSSHandleStyle> handleStyle;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void redisplay();
    void dropFromList(MSSSelector* selector);

    QPointer<MSSCanvas> m_canvas;
    QPointer<QWidget> m_contentView;
    std::vector<std::unique_ptr<MSSSelector>> m_selectors;
    std::unique_ptr<MSSSelector> m_picker;
    MSSSelector* m_current = nullptr;
};
