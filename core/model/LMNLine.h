#pragma once
// A straight line segment. Its two end points are opposite corners of its
// bounds; _pointsRight and _pointsDown say which diagonal it runs along and
// in which direction. Handle 1 is the begin point, 2 the end point.
#include "core/model/LMNGraphic.h"

inline const QString LMNLineBeginPointKey = QStringLiteral("beginPoint");
inline const QString LMNLineEndPointKey = QStringLiteral("endPoint");

class LMNLine : public LMNGraphic {
public:
    LMNLine() : LMNGraphic(LMNBlank{}) { init(); }
    explicit LMNLine(LMNBlank b) : LMNGraphic(b) {}
    LMNKind kind() const override { return LMNKind::Line; }

    bool _pointsRight = false;
    bool _pointsDown = false;

    QPointF beginPoint() const;
    QPointF endPoint() const;
    void setBeginPoint(const QPointF& p);
    void setEndPoint(const QPointF& p);
    static QRectF boundsWithBeginPoint(const QPointF& begin, const QPointF& end, bool* pointsRight = nullptr,
                                       bool* pointsDown = nullptr);

    // The direction the line runs in, as the line panel's Direction list
    // names it: 0 horizontal (no height), 1 vertical (no width), 2 diagonal.
    int Line_Direction() const;
    // Turns the line about its centre so that it runs in `direction`,
    // keeping its length (a diagonal at 45 degrees, in the sense it had).
    void Turn_To_Direction(int direction);

    // A line is always stroked and never filled.
    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return true; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    bool canMakeNaturalSize() const override { return false; }
    int creationSizingHandle() const override { return 2; }

    QPainterPath bezierPathForDrawing() const override;
    void drawContentsInView(QPainter& painter, LMNGraphicView* view, bool isBeingCreateOrEdited) override;
    // Hit within max(0.5, stroke width / 2 + 2) points of the segment, so
    // horizontal and vertical lines can be clicked too.
    bool isContentsUnderPoint(const QPointF& point) const override;
    static double Hit_Tolerance(double strokeWidth);
    int handleUnderPoint(const QPointF& point) const override;
    void drawHandlesInView(QPainter& painter, LMNGraphicView* view, bool lock_hai) const override;
    // Moves the begin (1) or end (2) point; the handle is returned unchanged.
    int resizeByMovingHandle(int handle, const QPointF& point, const QRectF& canvas) override;
    void setColor(const QColor& color) override;
    std::unique_ptr<LMNGraphic> copyWithZone() const override;

    QVariant valueForKey(const QString& key) const override;
    bool setValueForKey(const QString& key, const QVariant& value) override;
    QStringList keysForValuesToObserveForUndo() const override;
    QString presentablePropertyNameForKey(const QString& key) const override;

protected:
    QStringList keysAffectedByBounds() const override
    {
        return {LMNGraphicBoundsKey, LMNLineBeginPointKey, LMNLineEndPointKey};
    }

private:
    void setPoints(const QPointF& begin, const QPointF& end);
};

// Distance from a point to the segment a-b.
double Distance_To_Segment(const QPointF& p, const QPointF& a, const QPointF& b);
