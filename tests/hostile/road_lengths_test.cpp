// Lengths the settings panes would never take, handed straight to the road
// (a caller, a file reader that forgot a bound, a hand-made settings value):
// the road makes no barcode and says which length is wrong and what it
// accepts, in every unit, and nothing overflows on the way (the sanitizers
// of ./test stop the program at the first undefined conversion).
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

struct LengthSetting {
    const char* what;      // as the message names it
    const char* type;      // a symbology that uses the length
    double min, max;       // the range of the pane's control
    bool inUnit;           // typed in the settings' unit (else its own: mils or points)
    bool whole;            // an integer setting
    std::function<void(BarcodeSettings&, double)> set;
};

template <class T>
T Whole(double v)
{
    // An integer setting holds the nearest integer it can.
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    if (v <= double(std::numeric_limits<T>::lowest()))
        return std::numeric_limits<T>::lowest();
    return T(v);
}

std::vector<LengthSetting> Lengths()
{
    return {
        {"bar height", "Code 128", 0.1, 100, true, false, [](BarcodeSettings& s, double v) { s.bar_height = float(v); }},
        {"bar width", "Code 128", 5, 200, false, false, [](BarcodeSettings& s, double v) { s.bar_width_mils = float(v); }},
        {"value margin", "Code 128", 0, 20, true, false, [](BarcodeSettings& s, double v) { s.val_mar = float(v); }},
        {"header margin", "Code 128", 0, 20, true, false, [](BarcodeSettings& s, double v) { s.hdr_mar = float(v); }},
        {"footer margin", "Code 128", 0, 20, true, false, [](BarcodeSettings& s, double v) { s.ftr_mar = float(v); }},
        {"top and bottom margin", "QR Code", 0, 20, true, false, [](BarcodeSettings& s, double v) { s.TB_mar = float(v); }},
        {"left and right margin", "Code 128", 0, 20, true, false, [](BarcodeSettings& s, double v) { s.LR_mar = float(v); }},
        {"QR Code size", "QR Code", 21, 2000, false, true, [](BarcodeSettings& s, double v) { s.qr_size = Whole<int>(v); }},
        {"PDF417 width", "PDF417", 20, 2000, false, true, [](BarcodeSettings& s, double v) { s.pdf_width = Whole<int>(v); }},
        {"PDF417 height", "PDF417", 5, 1000, false, true, [](BarcodeSettings& s, double v) { s.pdf_height = Whole<int>(v); }},
        {"Data Matrix width", "DataMatrix", 10, 2000, false, true, [](BarcodeSettings& s, double v) { s.dm_width = Whole<int>(v); }},
        {"Data Matrix height", "DataMatrix", 10, 2000, false, true, [](BarcodeSettings& s, double v) { s.dm_height = Whole<int>(v); }},
        {"Data Matrix module size", "DataMatrix", 1, 20, false, true, [](BarcodeSettings& s, double v) { s.dm_module = Whole<int>(v); }},
    };
}

BarcodeSettings Settings(const char* type, int unit)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QString::fromLatin1(type));
    s.unit = unit;
    s.USED_DPI_VALUE = 72;   // small symbol images: the lengths are what is tested
    return s;
}

QString Unit_Of(const LengthSetting& l, int unit)
{
    if (l.inUnit)
        return QStringList{"in", "cm", "mm"}.at(unit);
    return l.whole ? QStringLiteral("pt") : QStringLiteral("mils");
}

QString Expected(const LengthSetting& l, int unit)
{
    return QStringLiteral("The %1 must be between %2 and %3 %4.")
        .arg(QString::fromLatin1(l.what), QString::number(l.min), QString::number(l.max), Unit_Of(l, unit));
}

TEST(RoadLengths, ExtremeLengthsGiveNoBarcodeAndSayWhichLengthAndItsRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const LengthSetting& l : Lengths()) {
        for (int unit : {0, 1, 2}) {
            const double past = l.whole ? l.max + 1 : l.max * 1.01;
            const double below = l.min > 0 ? (l.whole ? l.min - 1 : l.min * 0.5) : -0.01;
            for (double v : {6.9e34, -6.9e34, 1e300, -1.0, nan, inf, -inf, double(INT_MAX), double(INT_MIN), past,
                             below}) {
                SCOPED_TRACE(testing::Message() << l.what << " = " << v << " unit " << unit);
                BarcodeSettings s = Settings(l.type, unit);
                l.set(s, v);
                const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("ZORV42"), QStringLiteral("HEADER"),
                                                         QStringLiteral("FOOTER"));
                EXPECT_TRUE(r.image.isNull());
                EXPECT_FALSE(r.drawing);
                EXPECT_EQ(r.reason, Expected(l, unit));
            }
        }
    }
}

TEST(RoadLengths, EveryLengthAtTheEndsOfItsRangeIsDrawn)
{
    // The bounds are the panes' own: both ends still give a barcode.
    for (const LengthSetting& l : Lengths()) {
        for (double v : {l.min, l.max}) {
            SCOPED_TRACE(testing::Message() << l.what << " = " << v);
            BarcodeSettings s = Settings(l.type, 2);
            l.set(s, v);
            const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("ZORV42"), QStringLiteral("HEADER"),
                                                     QStringLiteral("FOOTER"));
            EXPECT_FALSE(r.image.isNull()) << r.reason.toStdString();
            EXPECT_FALSE(r.reason.startsWith(QStringLiteral("The "))) << r.reason.toStdString();
        }
    }
}

TEST(RoadLengths, TheMarginOfTheReportIsRefusedInMillimetres)
{
    // A value margin of 6.9e34 mm once reached the image size as a float
    // beyond every integer.
    BarcodeSettings s = Settings("Code 128", 2);
    s.val_mar = 6.9e34f;
    const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("ZORV42"), {}, {});
    EXPECT_TRUE(r.image.isNull());
    EXPECT_EQ(r.reason, QStringLiteral("The value margin must be between 0 and 20 mm."));
    // The same settings within the range draw again.
    s.val_mar = 20.0f;
    EXPECT_FALSE(Make_Barcode(s, QStringLiteral("ZORV42"), {}, {}).image.isNull());
}

} // namespace
