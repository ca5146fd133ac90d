#pragma once
// The text forms of values inside design and barcode settings files, and the
// strict readers that turn them back. Every number is written and read in the
// C locale. A reader that meets a value it cannot take throws File_Format_Error;
// the file readers catch it and refuse the whole file, so a damaged file never
// changes what is open.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariant>

#include <stdexcept>

class File_Format_Error : public std::runtime_error {
public:
    explicit File_Format_Error(const QString& reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};

// ---- Writing ----
QString Flag_Text(bool v);                 // "Y" / "N"
QString Int_Text(qint64 v);                // "%d"
QString Real_Text(double v);               // "%0.2f"
// "{x, y}", "{w, h}" and "{{x, y}, {w, h}}" with the shortest exact numbers.
QString Point_Text(const QPointF& p);
QString Size_Text(const QSizeF& s);
QString Rect_Text(const QRectF& r);

// Colour string: red, green, blue and alpha of the colour's 8-bit channels,
// each as a fraction with three decimals ("%0.3f"), joined by ":", so every
// channel reads back exactly. A colour that is not valid is written as
// opaque black.
QString Convert_Color_to_String(const QColor& colour);
// The reader of colour strings. Fields are split at ":"; a field that is
// missing reads as 0 (so "1.0:0.0:0.0" is red with alpha 0) and fields after
// the fourth are ignored. Each channel is taken to the nearest 8-bit level
// (older files wrote one decimal; they read as before). A field that is no
// number, or lies outside 0..1, makes the string unreadable (File_Format_Error).
QColor Convert_String_to_Color(const QString& text);

// Font string: "<name>::::<size %0.2f>". The name is the family with a
// "-Bold", "-Italic" or "-BoldItalic" suffix for a styled face.
QString Convert_Font_to_String(const QFont& font);
// Throws for a string without "::::" or a size that is not a positive number
// of at most 4000 points. A family the system lacks is kept by name (the
// drawing substitutes a similar face), so saving again loses nothing.
QFont Convert_String_to_Font(const QString& text);

// ---- Strict reading of one element ----
// The element as a string; throws when it is of another type.
QString Element_String(const QVariant& v, const char* what);
bool Read_Flag(const QString& text);       // exactly "Y"
// Whole trimmed text as a decimal integer within [lo, hi].
qint64 Read_Int(const QString& text, qint64 lo, qint64 hi, const char* what);
// Whole trimmed text as a finite number within [lo, hi].
double Read_Real(const QString& text, double lo, double hi, const char* what);
QPointF Read_Point(const QString& text, double limit, const char* what);
// Sizes and rects: coordinates within +-limit, width and height in 0..limit.
QSizeF Read_Size(const QString& text, double limit, const char* what);
QRectF Read_Rect(const QString& text, double limit, const char* what);

// Lenient reading of a number typed into a field ("12 mm" reads 12, "" and
// "abc" read 0), as the barcode settings file stores field texts. Throws for a
// number that is not finite ("nan", "inf", "1e999") or lies outside +-limit.
double Read_Field_Number(const QString& text, double limit, const char* what);
