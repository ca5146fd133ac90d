#pragma once
// Fonts on a drawing surface whose units are points.
//
// Canvas items, cards and barcodes are laid out in points, while Qt scales a
// font's point size by the resolution of whatever device it paints on (96 dpi
// for a screen or a plain QImage, 72 for our PDF writers). These helpers keep a
// 10-point font 10 units high on every device.
#include <QFont>
#include <QFontMetricsF>
#include <QString>

class QPaintDevice;

// The font to set on a painter of `device` so that it renders `font`'s point
// size as that many painter units. A null device is taken as 72 dpi.
QFont Font_In_Points(const QFont& font, const QPaintDevice* device);

// A device of 72 dots per inch, where one pixel is one point: text laid out
// for it (QTextLayout, QFontMetricsF) is measured in points.
const QPaintDevice* Points_Device();

// Metrics of the font measured in points.
QFontMetricsF Font_Metrics_In_Points(const QFont& font);

// The name a font is shown by: its family, followed by its style when that is
// not the plain one ("DejaVu Sans Bold", "DejaVu Sans Oblique", "Lato").
// The style is the one the font names, else that of the face drawn for it.
QString Font_Display_Name(const QFont& font);

// "Name ( 12.00 )": a font's display name and its point size with two
// decimals, as the panels' font labels show it.
QString Font_Label_Text(const QFont& font);

// `font` with the name of its face's style that matches its weight and slant
// ("Book" for a plain DejaVu Sans), so that a font dialog opened on it shows
// that face: given no style name, the dialog picks one by its own guess and
// can land on the slanted face of a plain font.
QFont Font_For_Font_Panel(const QFont& font);
