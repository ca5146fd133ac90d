#pragma once
// Rectangle rules of the drawing code. They differ from QRectF's own:
// a point is inside when left <= x < right and top <= y < bottom; a rectangle
// with no width or no height is empty, intersects nothing and is ignored by a
// union. Coordinates are flipped (y grows downward), in points.
#include <QPointF>
#include <QRectF>
#include <cmath>

namespace pt {

inline bool Rect_Is_Empty(const QRectF& r) { return !(r.width() > 0.0) || !(r.height() > 0.0); }

inline bool Point_In_Rect(const QPointF& p, const QRectF& r)
{
    return !Rect_Is_Empty(r) && p.x() >= r.left() && p.x() < r.left() + r.width()
        && p.y() >= r.top() && p.y() < r.top() + r.height();
}

inline bool Rects_Intersect(const QRectF& a, const QRectF& b)
{
    if (Rect_Is_Empty(a) || Rect_Is_Empty(b))
        return false;
    return a.left() < b.left() + b.width() && b.left() < a.left() + a.width()
        && a.top() < b.top() + b.height() && b.top() < a.top() + a.height();
}

inline QRectF Rect_Intersection(const QRectF& a, const QRectF& b)
{
    if (!Rects_Intersect(a, b))
        return QRectF();
    const double l = std::max(a.left(), b.left());
    const double t = std::max(a.top(), b.top());
    const double r = std::min(a.left() + a.width(), b.left() + b.width());
    const double btm = std::min(a.top() + a.height(), b.top() + b.height());
    return QRectF(l, t, r - l, btm - t);
}

inline QRectF Rect_Union(const QRectF& a, const QRectF& b)
{
    if (Rect_Is_Empty(a))
        return Rect_Is_Empty(b) ? QRectF() : b;
    if (Rect_Is_Empty(b))
        return a;
    const double l = std::min(a.left(), b.left());
    const double t = std::min(a.top(), b.top());
    const double r = std::max(a.left() + a.width(), b.left() + b.width());
    const double btm = std::max(a.top() + a.height(), b.top() + b.height());
    return QRectF(l, t, r - l, btm - t);
}

// True when b lies wholly inside a (a non-empty b inside a non-empty a).
inline bool Rect_Contains_Rect(const QRectF& a, const QRectF& b)
{
    if (Rect_Is_Empty(a) || Rect_Is_Empty(b))
        return false;
    return b.left() >= a.left() && b.top() >= a.top()
        && b.left() + b.width() <= a.left() + a.width()
        && b.top() + b.height() <= a.top() + a.height();
}

// Shrinks (positive) or grows (negative) by dx on each side and dy at top and bottom.
inline QRectF Rect_Inset(const QRectF& r, double dx, double dy)
{
    return QRectF(r.left() + dx, r.top() + dy, r.width() - 2 * dx, r.height() - 2 * dy);
}

// The smallest rectangle with whole-number edges that holds r; empty stays empty.
inline QRectF Rect_Integral(const QRectF& r)
{
    if (Rect_Is_Empty(r))
        return QRectF();
    const double l = std::floor(r.left()), t = std::floor(r.top());
    const double rt = std::ceil(r.left() + r.width()), b = std::ceil(r.top() + r.height());
    return QRectF(l, t, rt - l, b - t);
}

} // namespace pt
