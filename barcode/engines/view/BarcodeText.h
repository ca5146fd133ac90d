#pragma once
// Text of barcode captions, headers and footers, measured and drawn in points.
//
// Barcode pictures are recorded once and replayed at any resolution, on any
// thread. Text drawn through a painter would be laid out for the resolution
// of whatever device records it, so the barcode texts are turned into outline
// paths instead: the font is laid out at a large reference size and the
// outlines scaled down to its point size. Metrics come from the same layout,
// unhinted, so a 10-point font measures the same everywhere.
#include <QFont>
#include <QPainterPath>
#include <QSizeF>
#include <QString>

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

// Width of the text's first line without extra spacing.
double Text_Width(const QString& text, const QFont& font);

// Horizontal placement of the lines inside their rectangle.
enum class Align { Left, Center, Right };

// Alignment named "Center", "Left" or "Right"; anything else leaves `fallback`.
Align Align_From_Name(const QString& name, Align fallback = Align::Left);

// Outline of the text laid out in a rectangle whose top-left corner is at the
// origin (y downward) and whose width is `boxWidth`; each line is placed by
// `align`, one line height below the other.
QPainterPath Text_Path(const QString& text, const QFont& font, double kern, Align align,
                       double boxWidth);

} // namespace zbtext
