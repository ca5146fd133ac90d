#pragma once
// Barcode sizes: lengths from the barcode unit to points, the outer size of a
// linear symbol and the frame around a 2D symbol image, and the DPI of 2D
// images. Every operation works on a settings value (a copy owned by the
// caller), so it runs on any thread.
#include "core/util/BarcodeSettings.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

class ZBBarcode;

// Length units of the barcode settings.
enum BarcodeUnit { Unit_Inch = 0, Unit_Centimetre = 1, Unit_Millimetre = 2 };

// A length in the unit to points: x 72 (inch and any unknown code),
// x 0.393701 x 72 (centimetre), x 0.393701 x 72 / 10 (millimetre); the
// product in double precision, the result as float.
float Unit_To_Points(float value, int unit);

// Module width in points from mils: mils / 1000 x 72.
float Mils_To_Points(float mils);

// Converts the five margins of `s` from the unit into its point margins; the
// value, header and footer margins are 0 where their text is hidden.
void Convert_Margins(BarcodeSettings& s);

// Height of a linear symbol: the bar height plus the caption, header and
// footer bands that are printed with their margins, plus twice the top and
// bottom margin. Writes the point margins into `s` and the height into `b`.
void Set_Barcode_Height(BarcodeSettings& s, ZBBarcode& b);

// Width of a linear symbol: the widest of the bars, the printed header and
// the printed footer, plus twice the left-and-right margin, plus 15 points
// when that margin is positive. Writes `s.LR_margin`; returns the width.
float Set_Linear_Barcode_Width(BarcodeSettings& s, const ZBBarcode& b);

// Frame height and width around a 2D symbol image of `imageSize` points:
// image + printed header band and margin + printed footer band and margin +
// twice the top and bottom margin; the width as for a linear symbol. They
// write `s.height` and `s.width` (and the point margins).
void Set_2d_Barcode_Height(BarcodeSettings& s, QSizeF imageSize);
void Set_2d_Barcode_Width(BarcodeSettings& s, QSizeF imageSize);

// The lengths the settings panes accept: the ranges of their steppers, in
// the unit of the settings (bar height, margins) or in mils (module width).
constexpr float kBarHeightMin = 0.1f;
constexpr float kBarHeightMax = 100.0f;
constexpr float kBarWidthMilsMin = 5.0f;
constexpr float kBarWidthMilsMax = 200.0f;
constexpr float kMarginMin = 0.0f;
constexpr float kMarginMax = 20.0f;

// "in", "cm" or "mm": the short name of a length unit (inch for any code
// other than centimetre and millimetre).
QString Unit_Name(int unit);

// What a settings pane and the road say of a number outside its range:
// "The left and right margin must be between 0 and 20 mm" (the caller ends
// the sentence).
QString Range_Message(const QString& what, double min, double max, const QString& unitName);

// The first length of `s` outside what the panes accept (a value that is not
// a number included), said as Range_Message() says it; empty when every
// length is within its range. The road makes no barcode of such settings.
QString Length_Out_Of_Range(const BarcodeSettings& s);

// DPI of 2D images.
constexpr int kMinCustomDpi = 72;
constexpr int kMaxCustomDpi = 2400;
// Items of the DPI choice: "Auto" first, "Custom" last, numbers between.
const QStringList& DPI_Choice_Items();
// The DPI an item gives: "Auto" 600, a number itself, "Custom" the custom
// value kept within 72..2400.
int DPI_For_Choice(int choice, int customDpi);
int Clamp_Dpi(int dpi);
// Sets `s.USED_DPI_VALUE` from the choice and custom value of `s`.
void Apply_DPI_Choice(BarcodeSettings& s);

// Title and text of the DPI help box.
QString DPI_Help_Title();
QString DPI_Help_Text();
