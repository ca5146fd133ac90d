// Raster images put every bar and module on whole device pixels: a module is
// max(1, round(module x dpi / 72)) pixels, the same for all, and a symbol
// that needs more pixels than its frame gives grows rather than merge
// modules. Vector images keep their sizes in points.
#include "ScanSupport.h"

#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace scan;

// Widths of the dark and light runs along a row, from the first dark pixel to
// the last.
std::vector<int> Runs(const QImage& img, int y)
{
    std::vector<int> runs;
    int x = 0;
    while (x < img.width() && qGray(img.pixel(x, y)) >= 128)
        ++x;
    int last = img.width() - 1;
    while (last > x && qGray(img.pixel(last, y)) >= 128)
        --last;
    while (x <= last) {
        const bool dark = qGray(img.pixel(x, y)) < 128;
        int w = 0;
        while (x <= last && (qGray(img.pixel(x, y)) < 128) == dark)
            ++w, ++x;
        runs.push_back(w);
    }
    return runs;
}

TEST(PixelPlacement, LinearModulesAreWholePixelsAlike)
{
    // 25 mils is 1.8 points: 1.8 pixels at 72 DPI (2 each, the symbol grows),
    // 3.75 at 150 (4), 7.5 at 300 (8), 15 at 600.
    for (int dpi : Sweep_Dpis()) {
        SCOPED_TRACE(dpi);
        BarcodeSettings s = Sweep_Settings(QStringLiteral("Code 128 SET B"), false, dpi);
        s.bar_width_mils = 25.0f;
        const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("Zorv 42"), QString(), QString());
        ASSERT_FALSE(r.image.isNull());
        EXPECT_TRUE(r.image.isVector());   // PDF and EPS keep the sizes in points
        const int modulePx = std::max(1, int(std::lround(1.8 * dpi / 72.0)));
        const QImage img = Render_Through_Road(s, QStringLiteral("Zorv 42"), dpi);
        ASSERT_FALSE(img.isNull());
        const std::vector<int> runs = Runs(img, img.height() / 2);
        int modules = 0;
        for (int w : runs) {
            EXPECT_EQ(w % modulePx, 0) << "a bar or space of " << w << " pixels";
            modules += w / modulePx;
        }
        // START B, 7 characters, check, STOP: 11 x 9 + 13 modules.
        EXPECT_EQ(modules, 11 * 9 + 13);
        // Grown rather than merged: the image holds every module and margin.
        const double nominal = r.image.size().width() * dpi / 72.0;
        EXPECT_GE(img.width(), int(std::ceil(nominal)) + modules * (modulePx - 1.8 * dpi / 72.0) - 1);
    }
}

TEST(PixelPlacement, TwoDSymbolsGrowRatherThanMergeModules)
{
    // A PDF417 of many columns in its 100 x 20 point frame: below one pixel a
    // module at 72 DPI, so the symbol takes one pixel a module, wider than
    // its frame; the framed image holds it pixel for pixel.
    BarcodeSettings s = Sweep_Settings(QStringLiteral("PDF417"), false, 72);
    QString value;
    for (int i = 0; i < 12; ++i)
        value += QStringLiteral("Zorv Label PDF417 %1, ").arg(i);
    const BarcodeMakeResult r = Make_Barcode(s, value, QString(), QString());
    ASSERT_FALSE(r.image_2d.isNull());
    const QImage symbol = r.image_2d.raster();
    EXPECT_GT(symbol.width(), 100);
    EXPECT_GT(symbol.height(), 20);
    const QImage framed = r.image.toImage(72).convertToFormat(QImage::Format_RGB32);
    EXPECT_GE(framed.width(), symbol.width());

    // Data Matrix framed at 72 and 150 DPI: the symbol made for that
    // resolution appears in the framed image unchanged (no row or column
    // resampled away).
    for (int dpi : {72, 150}) {
        SCOPED_TRACE(dpi);
        BarcodeSettings d = Sweep_Settings(QStringLiteral("DataMatrix"), true, 600);
        const BarcodeMakeResult m = Make_Barcode(d, QStringLiteral("Zorv DM 42 \u00e9"), d.HeaderText, d.FooterText);
        ASSERT_FALSE(m.image.isNull());
        const QImage sym = m.image_2d.toImage(dpi).convertToFormat(QImage::Format_RGB32);
        const QImage all = m.image.toImage(dpi).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(sym.isNull());
        bool found = false;
        for (int y0 = 0; y0 + sym.height() <= all.height() && !found; ++y0)
            for (int x0 = 0; x0 + sym.width() <= all.width() && !found; ++x0) {
                bool same = true;
                for (int y = 0; y < sym.height() && same; ++y)
                    for (int x = 0; x < sym.width() && same; ++x)
                        same = all.pixel(x0 + x, y0 + y) == sym.pixel(x, y);
                found = same;
            }
        EXPECT_TRUE(found) << "the symbol is not in the framed image pixel for pixel";
    }
}

} // namespace
