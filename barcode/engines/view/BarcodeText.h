#pragma once
// Text of barcode captions, headers and footers, measured and drawn in points.
//
// Texts are measured once, unhinted, at a large reference size and scaled
// down to their point size, so a 10-point font measures the same on every
// device and thread. They are drawn as text (a PDF or a printer gets the
// font and the characters, not outlines) with the same unhinted font at its
// point size on whatever device is painted, each line placed where the
// measurement puts it.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace zbtext {

// Point size of a font (a pixel-sized font counts one point a pixel).
double Font_Points(const QFont& font);

// Cap height of the font in points.
double Cap_Height(const QFont& font);

// Height of a caption, header or footer line in inches from the font's cap
// height c in points: c / 72 + 0.35 * (c / 72).
double Text_Height_Inches(const QFont& font);

// Natural size in points of a text laid out with the font and `kern` points of
// extra space after every character; lines break at "\n" only.
QSizeF Text_Size(const QString& text, const QFont& font, double kern = 0.0);

// The height Text_Size gives, without laying the lines out.
double Text_Height(const QString& text, const QFont& font);

// Width of the text's first line without extra spacing.
double Text_Width(const QString& text, const QFont& font);

// Horizontal placement of the lines inside their rectangle.
enum class Align { Left, Center, Right };

// Alignment named "Center", "Left" or "Right"; anything else leaves `fallback`.
Align Align_From_Name(const QString& name, Align fallback = Align::Left);

// Draws the text in a rectangle whose top-left corner is `topLeft` (painter
// units are points, y downward) and whose width is `boxWidth`; each line is
// placed by `align`, one line height below the other, with `kern` points of
// extra space after every character.
void Draw_Text(QPainter& painter, const QString& text, const QFont& font, const QColor& color,
               double kern, Align align, QPointF topLeft, double boxWidth);

} // namespace zbtext
