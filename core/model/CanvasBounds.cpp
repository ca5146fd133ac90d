#include "core/model/CanvasBounds.h"

#include "platform/Geometry.h"

bool Rect_Lies_On_Canvas(const QRectF& r, const QRectF& canvas)
{
    if (pt::Rect_Is_Empty(canvas) || r.width() < 0 || r.height() < 0)
        return false;
    if (!(r.width() == 0 || r.height() == 0))
        return pt::Rects_Intersect(r, canvas);
    const double cr = canvas.left() + canvas.width();
    const double cb = canvas.top() + canvas.height();
    const bool xOk = r.width() > 0 ? (r.left() < cr && canvas.left() < r.left() + r.width())
                                   : (r.left() >= canvas.left() && r.left() < cr);
    const bool yOk = r.height() > 0 ? (r.top() < cb && canvas.top() < r.top() + r.height())
                                    : (r.top() >= canvas.top() && r.top() < cb);
    return xOk && yOk;
}
