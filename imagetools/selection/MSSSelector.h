#pragma once
// One rectangular selection on the selection canvas, with four round corner
// handles for resizing, and the styles they are drawn with.
//
// A frame is (x, y, w, h) in canvas units with y growing downward; while a
// selector is created or resized, w and h may be negative (the origin is then
// the anchor or the grabbed corner and the size points to the opposite
// corner). "Top" in the boundary table is the side at y = canvas height and
// "bottom" the side at y = 0: the arithmetic never depends on which way is up.
#include <QColor>
#include <QCursor>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

#include <array>
#include <memory>
#include <vector>

class MSSCanvas;
class MSSSelector;
class QPainter;

struct MSSSelectorStyle {
    bool lineDashedSelected = true;
    bool lineDashedUnselected = true;
    double minHeight = 20.0;
    double minWidth = 20.0;
    QColor strokeColorPicker{170, 170, 170};
    QColor fillColorPicker = QColor::fromRgbF(0.0f, 0.2f, 1.0f, 0.1f);
    QColor strokeColorSelected{170, 170, 170};    // light grey
    QColor strokeColorUnselected{170, 170, 170};
    QColor fillColorSelected = QColor::fromRgbF(0.0f, 0.2f, 1.0f, 0.1f);
    QColor fillColorUnselected = Qt::transparent;
    double lineWidthSelected = 1.0;
    double lineWidthUnselected = 1.0;
};

struct MSSHandleStyle {
    QColor strokeColor = Qt::white;
    QColor fillColor = QColor::fromRgbF(0.1054f, 0.4531f, 0.7929f, 1.0f);
    QSizeF size{8.5, 8.5};
};

// A frame that keeps the sign of its width and height (QRectF would too,
// but its helpers normalise; this one never does behind our back).
struct SelFrame {
    double x = 0, y = 0, w = 0, h = 0;
    QRectF toRect() const { return QRectF(x, y, w, h); }
    static SelFrame from(const QRectF& r) { return {r.x(), r.y(), r.width(), r.height()}; }
    bool operator==(const SelFrame& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// The frame made positive: a negative width moves x left, a negative height y up.
SelFrame Normalized_Frame(const SelFrame& f);
// Rectangle intersection as hit tests need it: the normalised rectangles
// overlap, or one is a zero-sized probe whose point lies inside the other.
bool Frames_Intersect(const SelFrame& a, const SelFrame& b);

class MSSHandle {
public:
    enum Type { TopLeft = 1, TopRight = 2, BottomLeft = 3, BottomRight = 4 };

    MSSHandle(int type, MSSSelector* selector);
    static std::unique_ptr<MSSHandle> handleWithType(int type, MSSSelector* selector);

    void setStyle();
    void drawPath(QPainter& painter);
    void updateTrackingArea();
    void removeTrackingArea();
    // The handle's frame: its style's size centred on its corner of the
    // selector's frame; bounds follow the frame.
    void makeHandleFrameWithSelectorFrame();
    QPainterPath bezierPath() const;
    // The cursor over the handle: a diagonal along the handle's corner.
    Qt::CursorShape cursorShape() const;

    int type() const { return _type; }
    SelFrame frame() const { return _frame; }
    SelFrame bounds() const { return _bounds; }
    MSSSelector* selector() const { return _selector; }
    int trackingArea() const { return _trackingArea; }
    MSSHandleStyle handleStyle;

private:
    int _type;
    MSSSelector* _selector;
    int _trackingArea = -1;
    SelFrame _frame;
    SelFrame _bounds;
};

class MSSSelector {
public:
    enum Action { ActionNone = 0, ActionResize = 1, ActionMove = 2, ActionCreate = 3 };
    // One side of the clamp table: where the moving edge goes and the extent
    // that keeps the fixed edge where it is.
    struct Boundary {
        double position = 0;
        double size = 0;
    };
    enum Side { Top = 0, Bottom = 1, Left = 2, Right = 3 };

    MSSSelector(const QRectF& frame, MSSCanvas* canvas, bool asPicker);
    ~MSSSelector();
    static std::unique_ptr<MSSSelector> selectorWithFrame(const QRectF& frame, MSSCanvas* canvas, bool asPicker);

    void setStyle();
    // Stores the frame as given: no normalising, clamping or redisplay.
    void Set_Selector_frame(const QRectF& frame) { _frame = SelFrame::from(frame); }
    void Set_selector_show_or_not(bool show) { draw_selector_or_not = show; }
    bool isShown() const { return draw_selector_or_not; }
    void drawPath(QPainter& painter);
    void setSelected();
    void setUnselected();
    // Hit test; selects the selector on a hit (its frame or one of its handles).
    bool intersectsFrame(const QRectF& rect);
    // Handle test; chooses the action: resize from the touched handle, else move.
    bool touchedHandle(const QRectF& rect);
    void restoreOrigin();
    void prepareBoundaries();
    void makeOriginAtHandle();
    void resizeToPoint(QPointF p);
    bool touchedBoundaries();
    void selectorHasChanged();
    void moveSelectorToPoint(QPointF p);
    bool canDropOnCanvas();
    void removeTrackingAreas();
    void updateTrackingArea();
    std::array<Boundary, 4> canvasBoundaries() const;
    // 0 inside, 1 beyond the left edge, 2 beyond the right edge.
    int verticalInBounds(const SelFrame& f) const;
    // 0 inside, 3 beyond the top edge (y > height), 4 beyond the bottom edge (y < 0).
    int horizontalInBounds(const SelFrame& f) const;
    void drawHandles(QPainter& painter);
    bool intersectsOthers(const std::vector<MSSSelector*>& others);
    bool isBigEnough() const;
    void prepareAction(int action);

    QRectF frame() const { return _frame.toRect(); }
    SelFrame selFrame() const { return _frame; }
    bool isSelected() const { return _isSelected; }
    bool isPicker() const { return _isPicker; }
    int action() const { return _action; }
    const std::vector<std::unique_ptr<MSSHandle>>& handles() const { return _handles; }
    MSSHandle* currentHandle() const { return _currentHandle; }
    MSSCanvas* canvas() const { return _canvas; }
    int trackingArea() const { return _trackingArea; }
    const std::array<Boundary, 4>& boundaries() const { return _boundaries; }
    void setBoundaries(const std::array<Boundary, 4>& b) { _boundaries = b; }
    QColor strokeColor() const { return _strokeColor; }
    QColor fillColor() const { return _fillColor; }
    MSSSelectorStyle selectorStyle;

private:
    QPainterPath outlinePath() const;

    bool draw_selector_or_not = true;
    bool _isSelected = false;
    bool _isPicker = false;
    std::vector<std::unique_ptr<MSSHandle>> _handles;
    int _action = ActionNone;
    MSSHandle* _currentHandle = nullptr;
    MSSCanvas* _canvas = nullptr;
    int _trackingArea = -1;
    QColor _strokeColor;
    QColor _fillColor;
    SelFrame _frame;
    std::array<Boundary, 4> _boundaries{};
};
