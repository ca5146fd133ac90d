#pragma once
// Geometric shapes: rectangle "R", ellipse "C", rounded rectangle "RR",
// triangle "T", diamond "D", five-pointed star "S", many-pointed star "DS"
// and polygon "P". The outline is built in the unrotated bounds and turned by
// text_rotation degrees about the centre of its own bounding box. Fill and
// hit-testing use the non-zero winding rule.
#include "core/model/LMNGraphic.h"

// The most points a star walk takes. double_star_type and polygon_type above
// it are refused by the item archive and draw nothing, so a hostile value
// cannot have drawing build billions of path points.
inline constexpr int Shape_Max_Point_Count = 1000;

class Shape_Control : public LMNGraphic {
public:
    Shape_Control() : LMNGraphic(LMNBlank{}) { init(); }
    explicit Shape_Control(LMNBlank b) : LMNGraphic(b) {}
    LMNKind kind() const override { return LMNKind::Shape; }

    QPainterPath bezierPathForDrawing() const override;
    bool isContentsUnderPoint(const QPointF& point) const override;
    void drawContentsInView(QPainter& painter, LMNGraphicView* view, bool isBeingCreateOrEdited) override;

    // Outline builders over the unrotated bounds.
    QPainterPath Rectangle_path() const;
    QPainterPath Circle_path() const;
    QPainterPath Rounded_Rectangle_path() const;
    QPainterPath Triangle_path() const;
    QPainterPath Diamond_path() const;
    QPainterPath Custom_Polygon() const;   // the four-pointed star
    // Walk of `count` points on the inscribed ellipse, each two n-th parts of
    // a turn after the last, starting at the middle of the top edge; empty
    // for a count of 0 or less or above Shape_Max_Point_Count.
    QPainterPath Polygon_With_Diffrent_Sides(int count) const;

    // The unrotated outline of the shape code; empty for an unknown code.
    QPainterPath unrotatedOutline() const;
    // The point the outline turns about.
    QPointF rotationPivot(const QPainterPath& outline) const;
    // Point counts chosen by double_star_type and polygon_type.
    static int Double_Star_Count(int type);
    static int Polygon_Count(int type);
};
