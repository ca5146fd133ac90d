#pragma once
// The grid of the design canvas: evenly spaced lines drawn over the items,
// and the rule that snaps points and rectangles to them.
#include <QColor>
#include <QObject>
#include <QPointF>
#include <QRectF>

class QPainter;
class QTimer;

// How long a spacing change shows a hidden grid.
inline constexpr int LMNGridTemporaryShowingTime = 1000; // milliseconds
inline constexpr const char* LMNGridAnyKey = "any";

class LMNGrid : public QObject {
    Q_OBJECT
public:
    explicit LMNGrid(QObject* parent = nullptr);
    ~LMNGrid() override;

    // The main window reads and writes the colour and the spacing directly.
    QColor _color;
    double _spacing = 9.0;

    void setSpacing(double spacing);
    bool canSetColor() const { return isAlwaysShown() && isUsable(); }
    bool canSetSpacing() const { return isAlwaysShown() || isConstraining(); }
    bool isAlwaysShown() const { return _isAlwaysShown; }
    bool isConstraining() const { return _isConstraining; }
    void setConstraining(bool constraining);
    bool isUsable() const { return _spacing > 0.0; }
    void setAlwaysShown(bool shown);
    // Shown now: always, or for a moment after a spacing change.
    bool isShown() const;
    bool isTemporarilyShown() const;

    // The nearest grid point when usable and constraining, else the point itself.
    QPointF constrainedPoint(QPointF point) const;
    bool canAlign() const { return isUsable(); }
    // Origin and far corner each rounded to the nearest grid point.
    QRectF alignedRect(const QRectF& rect) const;

    // Draws the grid lines inside `rect` (canvas points) when usable and shown.
    void drawRect(QPainter& painter, const QRectF& rect) const;

    void stopShowingGridForTimer();

signals:
    // Any of colour, spacing, always-shown or constraining changed (the "any" key).
    void anyChanged();
    // The align-with-grid button follows whether the grid is always shown.
    void alignWithGridButtonEnabled(bool enabled);

private:
    bool _isAlwaysShown = false;
    bool _isConstraining = false;
    QTimer* _hidingTimer = nullptr;
};
