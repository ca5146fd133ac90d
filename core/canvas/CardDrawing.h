#pragma once
// The card's own layers: the base below the items (white, then the card's
// fill inside its outline, which becomes the clip) and, above the items, the
// watermark and the border. Free functions over a card model and a painter,
// so any thread can draw a card without a window.
//
// Coordinates are the card's flipped points (origin top left, y downward).
// Inside a class derived from MainWindowServices call them as
// ::Card_Base_Drawing(...) so the member of the same name does not hide them.
#include <QPainterPath>
#include <QRectF>

class Card_Property;
class QPainter;

// The card outline: 1 rounded rectangle (radii 10 and 10), 2 ellipse,
// anything else the rectangle itself.
QPainterPath Card_Path(const QRectF& cardRect, int cardShape);

// Fills the outline white, makes it the painter's clip (left in force for the
// items, the watermark and the border), then draws the card's fill: solid,
// gradient, hatch pattern or background picture (tiled or stretched).
void Card_Base_Drawing(QPainter& painter, const Card_Property& card, const QRectF& cardRect, int cardShape);

// The watermark (when used) and then the border (when drawn), inside the clip
// the base left.
void Card_Border_Drawing(QPainter& painter, const Card_Property& card, const QRectF& cardRect, int cardShape);

// Top of the watermark's first line for a text of height `textHeight`:
// 0 top, 1 middle, 2 bottom of the card, any other value the top.
double Watermark_Top(const QRectF& cardRect, int alignment, double textHeight);
