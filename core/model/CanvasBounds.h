#pragma once
// The rectangle that limits moving and resizing items is the card's: the
// bounds of the canvas view, in points. Whoever moves or resizes items hands
// it to them.
#include <QRectF>

// Whether an item's rectangle still touches the canvas. A rectangle of zero
// width or height (a horizontal or vertical line) counts when its segment or
// point lies on the canvas, so such lines can be moved and nudged too.
bool Rect_Lies_On_Canvas(const QRectF& rect, const QRectF& canvas);
