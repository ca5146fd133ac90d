#pragma once
// The scroll view around the design canvas: it zooms the canvas by a factor
// chosen in a pop-up at the left end of the horizontal scroll bar, and keeps
// the canvas centred (over a grey backdrop with the card's outline and shadow)
// when the canvas is smaller than the visible area.
#include <QAbstractScrollArea>
#include <QLabel>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

class QComboBox;
class QFileDialog;
class QPainter;
class MainWindowServices;

// The zoom table: factor and label of each pop-up entry, in order.
inline constexpr int LMNZoomingScrollViewFactorCount = 8;
extern const double LMNZoomingScrollViewFactors[LMNZoomingScrollViewFactorCount];
extern const char* const LMNZoomingScrollViewLabels[LMNZoomingScrollViewFactorCount];
inline constexpr const char* LMNZoomingScrollViewFactor = "factor";

// The viewport of the zooming scroll view: it paints the backdrop and holds
// the centring rules. Coordinates are the viewport's pixels.
class SWCenteringClipView : public QWidget {
    Q_OBJECT
public:
    explicit SWCenteringClipView(QWidget* parent = nullptr);

    // The backdrop over `bounds`: a grey gradient, lighter at the top, and the
    // card outline (by `cardShape`) filled white with a soft shadow 3 right, 3 down.
    static void drawRect(QPainter& painter, const QRectF& bounds, const QRectF& cardRect, int cardShape);

    // The origin for a document of size `documentSize` shown in a view of
    // `viewSize`: centred (rounded, halves away from zero) on each axis where the
    // view is larger, else `current` on that axis.
    static QPointF centerDocument(QSizeF documentSize, QSizeF viewSize, QPointF current);

    // The origin the view may scroll to for a proposed one: centred where the
    // view is larger than the document, else limited to 0 .. D - V and rounded.
    static QPointF constrainScrollPoint(QPointF proposed, QSizeF documentSize, QSizeF viewSize);

    // An optional backdrop pattern; nothing in the application sets it.
    QPixmap bgImagePattern() const { return _bgImagePattern; }
    void setBgImagePattern(const QPixmap& pattern) { _bgImagePattern = pattern; }

private:
    QPixmap _bgImagePattern;
};

class LMNZoomingScrollView;

// One mark of a ruler: its place along the ruler in pixels, its length as a
// share of the ruler's thickness (1 long, 2 half, 4 quarter) and its label
// ("" for none).
struct Ruler_Mark {
    double at = 0.0;
    int share = 4;
    QString label;
};

// The marks of a ruler in the unit of lengths (0 inch, 1 centimetre, any
// other millimetre) at `pxPerPoint` pixels per point, with the card's origin
// at `zero` and the ruler `length` pixels long. Marks thin out as the zoom
// shrinks so that labels never crowd.
QList<Ruler_Mark> Ruler_Marks(int unit, double pxPerPoint, double zero, int length);

// A ruler along the top (horizontal) or the left (vertical) of the zooming
// scroll view, marked in the unit of lengths from the card's origin, with the marker
// lines the canvas places while items are moved or resized.
class LMNRulerView : public QWidget {
    Q_OBJECT
public:
    LMNRulerView(Qt::Orientation orientation, LMNZoomingScrollView* scrollView);

    Qt::Orientation orientation() const { return _orientation; }
    // Thickness of a ruler in pixels.
    static int ruleThickness();

    // Moves a marker line from `from` to `to` (document points along the
    // ruler); -1 as `from` adds a line, -1 as `to` removes one.
    void moveRulerlineFromLocation(double from, double to);
    QList<double> markerLocations() const { return _markers; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation _orientation;
    LMNZoomingScrollView* _scrollView;
    QList<double> _markers;
};

class LMNZoomingScrollView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // `card` is the window whose card shape the backdrop outlines (none: a
    // rectangle, unless an override is set).
    explicit LMNZoomingScrollView(const MainWindowServices* card = nullptr, QWidget* parent = nullptr);

    // The view scrolled and centred. It is told the zoom factor through its
    // `setZoomFactor(double)` slot when it has one, and its size is its zoomed size.
    void setDocumentView(QWidget* view);
    QWidget* documentView() const { return _documentView; }

    double factor() const { return _factor; }
    // The visible area in document points: the viewport's size over the factor.
    QSizeF clipBoundsSize() const;
    // The document's top-left corner in viewport pixels.
    QPoint documentOrigin() const;

    // Makes the zoom pop-up when it is missing.
    void validateFactorPopUpButton();
    QComboBox* factorPopUpButton() const { return _factorPopUpButton; }

    // Card outline of the backdrop (0 rectangle, 1 rounded, 2 ellipse); by
    // default the card window's shape is read at each drawing.
    void setCardShapeOverride(int shape) { _cardShapeOverride = shape; }

    // ---- Rulers ----
    // Gives (or takes away) the horizontal and the vertical ruler; they show
    // only while the rulers are visible.
    void setHasHorizontalRuler(bool has);
    void setHasVerticalRuler(bool has);
    bool hasHorizontalRuler() const { return _horizontalRuler != nullptr; }
    bool hasVerticalRuler() const { return _verticalRuler != nullptr; }
    LMNRulerView* horizontalRulerView() const { return _horizontalRuler; }
    LMNRulerView* verticalRulerView() const { return _verticalRuler; }
    void setRulersVisible(bool visible);
    bool rulersVisible() const { return _rulersVisible; }
    // The unit the rulers count in (0 inch, 1 centimetre, 2 millimetre).
    void setRulerUnit(int unit);
    int rulerUnit() const { return _rulerUnit; }

    // The document's point `p` in viewport pixels (zoom and scrolling applied).
    QPointF viewportPointForDocumentPoint(QPointF p) const;
    // The document point shown at the middle of the viewport.
    QPointF visibleCentre() const;
    // Scrolls so that document point `p` shows at the middle of the viewport
    // (as far as the document allows).
    void centreOn(QPointF p);

public slots:
    void setFactor(double factor);

signals:
    // The user chose a factor in the pop-up, or setFactor changed it.
    void factorChanged(double factor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void updateScrollBars();
    void layoutDocument();
    void syncPopUp();
    void layoutRulers();

    QComboBox* _factorPopUpButton = nullptr;
    double _factor = 1.0;
    QWidget* _documentView = nullptr;
    SWCenteringClipView* _clipView = nullptr;
    int _cardShapeOverride = -1;
    const MainWindowServices* _card = nullptr;
    bool _layingOut = false;
    LMNRulerView* _horizontalRuler = nullptr;
    LMNRulerView* _verticalRuler = nullptr;
    bool _rulersVisible = false;
    int _rulerUnit = 2;
};

// Tiles the main window's banner picture from the view's top-left corner,
// under the view's own picture.
class Repeat_Image : public QLabel {
    Q_OBJECT
public:
    explicit Repeat_Image(QWidget* parent = nullptr);
    void setBannerImage(const QPixmap& banner);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap _banner;
};

// A text label centred vertically: the title rectangle moves down by half the
// free height and shrinks by the same amount.
class VerticallyCenteredTextFieldCell : public QLabel {
    Q_OBJECT
public:
    explicit VerticallyCenteredTextFieldCell(QWidget* parent = nullptr);
    static QRectF titleRectForBounds(const QRectF& baseTitleRect, const QRectF& bounds, double textHeight);
};

// The accessory of the list-export save panels: a pop-up choosing between
// spreadsheet ("xlsx", item 0) and text ("txt", any other item).
class AccessoryViewController : public QWidget {
    Q_OBJECT
public:
    explicit AccessoryViewController(QWidget* parent = nullptr);

    QComboBox* ext_btn = nullptr;
    QFileDialog* savePanel() const { return _savePanel; }
    void setSavePanel(QFileDialog* panel) { _savePanel = panel; }
    // The extension of the chosen item.
    QString extension() const;
    // Rewrites the panel's file name with the chosen extension and limits the
    // panel to that one type.
    void selectFormat();
    // Becomes the accessory of `panel` (a panel of our own, not the desktop's):
    // a "Format:" row under the panel's controls, and the panel given to it.
    void placeIn(QFileDialog* panel);

private:
    QFileDialog* _savePanel = nullptr;
};
