#pragma once
// The rectangle that limits moving and resizing items: the bounds of the
// canvas view (the card's size in points), as the main window answers it
// (graphicViewBounds).
#include <QRectF>

// Empty when there is no main window or no canvas. Items call it from deep
// inside their geometry code, which has no other way to the window: it asks
// the main-window locator.
QRectF Canvas_View_Bounds();

// Whether an item's rectangle still touches the canvas. A rectangle of zero
// width or height (a horizontal or vertical line) counts when its segment or
// point lies on the canvas, so such lines can be moved and nudged too.
bool Rect_Lies_On_Canvas(const QRectF& rect, const QRectF& canvas);
