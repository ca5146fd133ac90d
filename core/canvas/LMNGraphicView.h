#pragma once
// The design canvas: the items of the open design drawn between the card base
// and the card border, with the selection, handles, grid and rubber band;
// creating, moving and resizing items with the mouse (a press, move and
// release state machine); and the editing commands on the selection.
//
// Coordinates are canvas points, flipped (origin top left, y downward); the
// widget shows them scaled by the zoom factor. The item list belongs to the
// document; the view keeps the selection (indexes into that list).
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <memory>

#include "core/model/LMNGraphic.h"
#include "core/model/LMNGraphicArchive.h" // LMNGraphicViewPasteboardType

class LMNDocument;
class LMNGrid;
class LMNZoomingScrollView;
class QMenu;
class QMimeData;
class QTimer;

inline const QString LMNGraphicViewGraphicsBindingName = QStringLiteral("graphics");
inline const QString LMNGraphicViewSelectionIndexesBindingName = QStringLiteral("selectionIndexes");
inline const QString LMNGraphicViewGridBindingName = QStringLiteral("grid");
inline const QString LMNGraphicViewPdfType = QStringLiteral("application/pdf");
inline const QString LMNGraphicViewTiffType = QStringLiteral("image/tiff");

// The item kind a tool number creates; Graphic for the arrow (0) and unknown numbers.
LMNKind currentGraphicClass(int tool);

class LMNGraphicView : public QWidget {
    Q_OBJECT
public:
    explicit LMNGraphicView(QWidget* parent = nullptr);
    ~LMNGraphicView() override;

    // ---- Card size and zoom ----
    // The canvas rectangle (the card) in points.
    QRectF bounds() const { return QRectF(QPointF(0, 0), _cardSize); }
    void setCardSize(const QSizeF& size);
    double zoomFactor() const { return _zoom; }

    // ---- Bindings ----
    void bindGraphics(LMNDocument* document);
    void unbindGraphics();
    LMNDocument* document() const { return _document; }
    void setGrid(LMNGrid* grid);
    LMNGrid* grid() const { return _grid; }

    // The bound items, index 0 the frontmost; empty when unbound.
    QList<LMNGraphic*> graphics() const;
    QList<int> selectionIndexes() const { return _selection; }
    // Every selection change of the canvas goes through here.
    void changeSelectionIndexes(QList<int> indexes);
    // Selected items in index order (front first).
    QList<LMNGraphic*> selectedGraphics() const;

    // ---- Display ----
    void drawRect(QPainter& painter, const QRectF& rect);
    void hideHandlesMomentarily();
    void unhideHandlesForTimer();
    void invalidateHandlesOfGraphics(const QList<LMNGraphic*>& graphics);
    // Marks a rectangle of canvas points for redisplay.
    void setNeedsDisplayInRect(const QRectF& rect);
    // The region of widget pixels a canvas rectangle covers (zoom applied, grown to whole pixels).
    QRect widgetRectForCanvasRect(const QRectF& rect) const;
    QPointF canvasPointForWidgetPoint(const QPointF& p) const;

    void startEditingGraphic(LMNGraphic* graphic);
    void stopEditing();

    // ---- Hit testing ----
    // Near the segment AB: |d(A,B) - d(P,A) - d(P,B)| < margin, in single precision.
    static bool isPoint(const QPointF& point, const QPointF& pointA, const QPointF& pointB, double margin);
    static double distanceBetweenPointA(const QPointF& a, const QPointF& b);
    LMNGraphic* graphicUnderPoint(const QPointF& point, int* index = nullptr, bool* isSelected = nullptr,
                                  int* handle = nullptr) const;
    QList<int> indexesOfGraphicsIntersectingRect(const QRectF& rect);

    // ---- Creating ----
    // Creates an item of the kind (Text, Line, Shape...), made by the current
    // tool number. With `atPoint` the item starts there with no size and the
    // mouse sizes it (the caller then drives the resize); without it the
    // rectangle or the next new-item point places it.
    LMNGraphic* createGraphicOfClass(LMNKind kind, const QPointF* atPoint, bool use_rect, const QRectF& bound_rect,
                                     const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID);
    void ReplaceGraphicText(LMNKind kind, bool use_rect, const QRectF& bound_rect, const QString& card_side,
                            const QString& ctrl_value, const QString& ctrl_ID);

    // ---- Commands ----
    void copy();
    void cut();
    void paste();
    void delete_();
    void deleteBackward() { delete_(); }
    void deleteForward() { delete_(); }
    void moveSelectedGraphicsByX(double x, double y);
    void moveLeft() { moveSelectedGraphicsByX(-1, 0); }
    void moveRight() { moveSelectedGraphicsByX(1, 0); }
    void moveUp() { moveSelectedGraphicsByX(0, -1); }
    void moveDown() { moveSelectedGraphicsByX(0, 1); }
    void alignformCenter();
    void alignLeftEdges();
    void alignRightEdges();
    void alignTopEdges();
    void alignBottomEdges();
    void alignHorizontalCenters();
    void alignVerticalCenters();
    void alignWithGrid();
    void print_contol_or_not(int value);
    void bringToFront();
    void sendToBack();
    void Frame_main_Pic_X_Pos_Changed(double x);
    void Frame_main_Pic_Y_Pos_Changed(double y);
    // Width and height in millimetres, converted to points.
    void Frame_main_Pic_Wdith_Changed(double millimetres);
    void Frame_main_Pic_Height_Changed(double millimetres);
    void makeSameWidth();
    void makeSameHeight();
    void makeSameAsLabelSize();
    void makeNaturalSize();
    void selectAll();
    void deselectAll();
    void Clear_Control_Selection() { deselectAll(); }
    void undo();
    void redo();
    // Turns the rulers of the enclosing scroll view to their opposite visibility.
    void showOrHideRulers();
    bool rulersVisible() const;
    // Marks the enclosing scroll view for redisplay.
    void Refresh_ScrollView();
    // The zooming scroll view around the canvas; null when there is none.
    LMNZoomingScrollView* enclosingScrollView() const;

    // ---- Ruler echo of a move or resize (only while the rulers show) ----
    void beginEchoingMoveToRulers(const QRectF& rect);
    void continueEchoingMoveToRulers(const QRectF& rect);
    void stopEchoingMoveToRulers();
    void show_hide_grid_lines();
    void delete_all_control();
    void delete_all_Text_control();
    LMNGraphic* Selcect_Ctrl_With_ID(const QString& id) const;
    void Set_Selection_Index_According_ID(const QString& id);
    void Display_Control_Position_and_Size();
    static void check_barcode_and_set_control_bounds(LMNGraphic* graphic);
    bool There_Is_Any_Lock_Contrl() const;
    bool There_Is_Frame_Pic_Or_Frame_Photo() const;
    // A pasted picture (one of another program: no items of ours) is kept as
    // a file (Keep_Picture_As_File) and the new item shows it from there; a
    // picture over the pixel limit is refused with the program's message.
    bool makeNewImageFromPasteboard(const QMimeData* data, const QPointF& point);
    // Whether the clipboard holds what Paste makes something of: our own
    // items, or a picture without file names beside it.
    static bool Clipboard_Offers_Paste();
    bool makeNewImageFromContentsOfFile(const QString& path, const QPointF& point);
    bool acceptsFirstMouse() const { return _selection.isEmpty(); }

    // Whether the command (named as its method, e.g. "cut", "alignLeftEdges")
    // is enabled now; `title` receives a changed title ("Show Ruler"/"Hide Ruler").
    bool validateMenuItem(const QString& action, QString* title = nullptr) const;
    // Runs a command by that name; false for an unknown name.
    bool performAction(const QString& action);
    // The contextual menu, built anew, its items enabled by validateMenuItem.
    std::unique_ptr<QMenu> contextMenu();

    // ---- State ----
    LMNGraphic* _creatingGraphic = nullptr;
    LMNGraphic* _Selected_Graphic = nullptr;
    // Canvas location of the last mouse-down that went to selection.
    QPointF mouse_select_point;
    QRectF _marqueeSelectionBounds;
    QRectF _rulerEchoedBounds;
    bool _isHidingHandles = false;
    qint64 _pasteboardChangeCount = -1;
    qint64 _pasteCascadeNumber = 0;

    // Region painted by the last paint event (widget pixels); for checks of
    // partial redisplay.
    QRegion lastPaintedRegion() const { return _lastPaintedRegion; }

public slots:
    void setZoomFactor(double factor);

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class Track { None, Move, Resize, Marquee, Consume };

    void startObservingGraphics(const QList<LMNGraphic*>& graphics);
    void stopObservingGraphics(const QList<LMNGraphic*>& graphics);
    void graphicsChanged();
    void itemChanged(LMNGraphic* item, const QString& key);
    void updateWidgetSize();
    void insertGraphics(const QList<LMNGraphicPtr>& items, const QList<int>& indexes);
    QList<LMNGraphicPtr> removeGraphicsAtIndexes(const QList<int>& indexes);
    LMNGraphicPtr sharedGraphic(LMNGraphic* item) const;
    int indexOfGraphic(LMNGraphic* item) const;
    bool selectionHasLockedItem() const;
    void alignEach(const std::function<QRectF(LMNGraphic*, LMNGraphic* ref, bool single)>& rule, bool refMoves);
    bool selectionMayChange();
    void restackSelection(bool toFront);
    void setSelectedExtent(double millimetres, void (LMNGraphic::*set)(double));
    void makeSameExtent(double (LMNGraphic::*get)() const, void (LMNGraphic::*set)(double));
    void applyToSelection(void (LMNGraphic::*apply)());
    void finishCreation();
    void beginMove(const QPointF& location);
    void continueMove(const QPointF& location);
    void endMove();
    void beginResize(LMNGraphic* graphic, int handle);
    void continueResize(const QPointF& location);
    void endResize();
    void beginMarquee(const QPointF& location);
    void continueMarquee(const QPointF& location);
    void endMarquee();
    // Ends the gesture in progress at `location`, as a left-button release does.
    void endTracking(const QPointF& location);
    void Undo_Redo_Button_state();
    void updateAlignButtons();
    QPointF eventLocation(const QMouseEvent* event) const;

    LMNDocument* _document = nullptr;
    QList<LMNGraphic*> _observed;
    QHash<LMNGraphic*, QRectF> _lastDrawingBounds;
    QList<int> _selection;
    LMNGrid* _grid = nullptr;
    QSizeF _cardSize{284, 284};
    double _zoom = 1.0;
    bool _rulerEchoing = false;
    QTimer* _handleShowingTimer = nullptr;
    QRegion _lastPaintedRegion;

    // Mouse tracking state.
    Track _track = Track::None;
    QPointF _mouseDown;
    QPointF _lastMouse; // where the mouse was last seen while pressed
    QPointF _lastLocation;
    QPointF _moveOffset;
    bool _moveStarted = false;
    bool _didMove = false;
    LMNGraphic* _resizing = nullptr;
    int _resizeHandle = 0;
    QRectF _resizeStartBounds;
    QList<int> _marqueeStartSelection;
    QPointF _marqueeOrigin;
    LMNGraphic* _trackedItem = nullptr;
};
