// The adjustment chain of picture items: identity at the defaults, the
// colour matrices on known pixels, the blur against a plain reference,
// flips and turns.
#include "core/model/LMNImage.h"
#include "imagetools/filters/ImageProcesser.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage randomPicture(int w, int h, bool withAlpha, quint32 seed)
{
    QRandomGenerator rng(seed);
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgba(int(rng.bounded(256)), int(rng.bounded(256)), int(rng.bounded(256)),
                                     withAlpha ? int(rng.bounded(256)) : 255));
    return img;
}

QImage defaults(const QImage& img, int rotate = 0, bool fh = false, bool fv = false)
{
    return ImageProcesser::Get_Processed_Image_Full_Combined(img, false, false, false, 0.0f, 1.0f, 0.0f, 1.0f,
                                                             rotate, 0.0f, 0.0f, 0.0f, 100.0f, true, fh, fv,
                                                             false, QRectF(5, 5, 30, 40));
}

// Largest difference of two pictures, compared unpremultiplied where opaque enough.
int maxDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            worst = std::max(worst, std::abs(qAlpha(p) - qAlpha(q)));
            if (qAlpha(p) >= 128) {
                worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                  std::abs(qBlue(p) - qBlue(q))});
            }
        }
    return worst;
}

QRgb onePixel(QRgb in, const FilterSettings& s)
{
    QImage img(1, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, in);
    return Apply_Filter_Chain(img, s).convertToFormat(QImage::Format_ARGB32).pixel(0, 0);
}

int byte(double v)
{
    return int(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5);
}

} // namespace

TEST(FilterChain, DefaultsGiveTheSamePictureWithinOneLevel)
{
    for (bool alpha : {false, true}) {
        const QImage src = randomPicture(97, 61, alpha, alpha ? 7 : 3);
        const QImage out = defaults(src);
        ASSERT_EQ(out.size(), src.size());
        EXPECT_LE(maxDifference(src, out), 1) << (alpha ? "with alpha" : "opaque");
    }
    // Transparency is carried but changes nothing (the item draws it); the
    // bounds neither. Invert gives each colour's complement and keeps alpha.
    const QImage src = randomPicture(40, 30, false, 11);
    const QImage a = ImageProcesser::Get_Processed_Image_Full_Combined(src, false, false, false, 0, 1, 0, 1, 0, 0, 0,
                                                                       0, 20, true, false, false, false, QRectF(1, 2, 3, 4));
    EXPECT_LE(maxDifference(src, a), 1);
    QImage complement = src.convertToFormat(QImage::Format_ARGB32);
    complement.invertPixels(QImage::InvertRgb);
    const QImage inverted = ImageProcesser::Get_Processed_Image_Full_Combined(
        src, false, false, true, 0, 1, 0, 1, 0, 0, 0, 0, 100, true, false, false, false, QRectF());
    EXPECT_LE(maxDifference(complement, inverted), 1);
    const QImage halfClear = randomPicture(20, 20, true, 5);
    const QImage halfInverted = ImageProcesser::Get_Processed_Image_Full_Combined(
        halfClear, false, false, true, 0, 1, 0, 1, 0, 0, 0, 0, 100, true, false, false, false, QRectF());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(qAlpha(halfInverted.pixel(x, y)), qAlpha(halfClear.pixel(x, y)));
    EXPECT_TRUE(ImageProcesser::Get_Processed_Image_Full_Combined(QImage(), true, true, false, 1, 1, 0, 1, 30, 0,
                                                                  0, 0, 100, true, true, true, false, QRectF())
                    .isNull());
}

TEST(FilterChain, MonochromeAndSepiaFollowTheirMatricesOnKnownPixels)
{
    FilterSettings mono;
    mono.grayscale = true;
    // Luminance grey: 0.2126 R + 0.7152 G + 0.0722 B.
    const QRgb red = onePixel(qRgb(255, 0, 0), mono);
    EXPECT_NEAR(qRed(red), byte(0.2126), 1);
    EXPECT_EQ(qRed(red), qGreen(red));
    EXPECT_EQ(qGreen(red), qBlue(red));
    const QRgb mixed = onePixel(qRgb(100, 150, 200), mono);
    EXPECT_NEAR(qGreen(mixed), byte((0.2126 * 100 + 0.7152 * 150 + 0.0722 * 200) / 255.0), 1);

    FilterSettings sepia;
    sepia.sepia = true;
    const QRgb s = onePixel(qRgb(100, 150, 200), sepia);
    const double r = 100 / 255.0, g = 150 / 255.0, b = 200 / 255.0;
    EXPECT_NEAR(qRed(s), byte(0.393 * r + 0.769 * g + 0.189 * b), 1);
    EXPECT_NEAR(qGreen(s), byte(0.349 * r + 0.686 * g + 0.168 * b), 1);
    EXPECT_NEAR(qBlue(s), byte(0.272 * r + 0.534 * g + 0.131 * b), 1);
    // Unclamped until the end: white goes past 1 in red and green and is clamped once.
    const QRgb white = onePixel(qRgb(255, 255, 255), sepia);
    EXPECT_EQ(qRed(white), 255);
    EXPECT_NEAR(qBlue(white), byte(0.937), 1);

    // Both on: sepia is applied to the grey.
    FilterSettings both;
    both.grayscale = true;
    both.sepia = true;
    const QRgb grey = onePixel(qRgb(255, 0, 0), mono);
    const QRgb expected = onePixel(grey, sepia);
    const QRgb got = onePixel(qRgb(255, 0, 0), both);
    EXPECT_NEAR(qRed(got), qRed(expected), 1);
    EXPECT_NEAR(qBlue(got), qBlue(expected), 1);
}

TEST(FilterChain, ColourControlsHueAndExposureHaveTheirUsualMeanings)
{
    const QRgb p = qRgb(200, 80, 40);
    FilterSettings noSat;
    noSat.saturation = 0;
    const QRgb grey = onePixel(p, noSat);
    EXPECT_NEAR(qRed(grey), qGreen(grey), 1);
    EXPECT_NEAR(qGreen(grey), qBlue(grey), 1);

    FilterSettings fullTurn;
    fullTurn.hue = float(2 * M_PI);
    const QRgb same = onePixel(p, fullTurn);
    EXPECT_NEAR(qRed(same), 200, 1);
    EXPECT_NEAR(qBlue(same), 40, 1);
    FilterSettings turn;
    turn.hue = float(M_PI / 2);
    EXPECT_NE(onePixel(p, turn), onePixel(p, FilterSettings()));

    FilterSettings brighter;
    brighter.brightness = 0.2f;
    EXPECT_NEAR(qRed(onePixel(qRgb(100, 100, 100), brighter)), byte(100 / 255.0 + 0.2), 1);
    FilterSettings flat;
    flat.contrast = 0;
    EXPECT_NEAR(qRed(onePixel(qRgb(10, 240, 90), flat)), 128, 1);

    FilterSettings stop;
    stop.exposure = 1.0f;
    EXPECT_NEAR(qRed(onePixel(qRgb(60, 60, 60), stop)), byte(60 / 255.0 * std::exp2(1 / 2.2)), 1);
}

TEST(FilterChain, BoxBlurMatchesAPlainReferenceAcrossBands)
{
    // Tall enough to be worked in several bands.
    const QImage src = randomPicture(70, 400, true, 5);
    FilterSettings s;
    s.blurRadius = 3.4f;  // radius 3: 7 x 7
    const QImage out = Apply_Filter_Chain(src, s).convertToFormat(QImage::Format_ARGB32);
    const int R = 3, W = src.width(), H = src.height();
    int worst = 0;
    for (int y = 0; y < H; y += 7)
        for (int x = 0; x < W; x += 3) {
            double acc[4] = {0, 0, 0, 0};
            for (int dy = -R; dy <= R; ++dy)
                for (int dx = -R; dx <= R; ++dx) {
                    const QRgb q = src.pixel(std::clamp(x + dx, 0, W - 1), std::clamp(y + dy, 0, H - 1));
                    const double a = qAlpha(q) / 255.0;
                    acc[0] += qRed(q) / 255.0 * a;
                    acc[1] += qGreen(q) / 255.0 * a;
                    acc[2] += qBlue(q) / 255.0 * a;
                    acc[3] += a;
                }
            const double n = (2 * R + 1) * (2 * R + 1);
            const double a = acc[3] / n;
            const QRgb got = out.pixel(x, y);
            worst = std::max(worst, std::abs(qAlpha(got) - byte(a)));
            if (a > 0.5) {
                worst = std::max(worst, std::abs(qRed(got) - byte(acc[0] / n / a)));
                worst = std::max(worst, std::abs(qBlue(got) - byte(acc[2] / n / a)));
            }
        }
    EXPECT_LE(worst, 2);
}

TEST(FilterChain, SharpeningLeavesFlatAreasAndRaisesEdges)
{
    QImage src(40, 20, QImage::Format_RGB32);
    src.fill(qRgb(100, 100, 100));
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            src.setPixel(x, y, qRgb(160, 160, 160));
    FilterSettings s;
    s.sharpness = 2.0f;
    const QImage out = Apply_Filter_Chain(src, s).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(qRed(out.pixel(5, 10)), 100);
    EXPECT_EQ(qRed(out.pixel(35, 10)), 160);
    EXPECT_GT(qRed(out.pixel(20, 10)), 160);   // bright side of the edge brighter
    EXPECT_LT(qRed(out.pixel(19, 10)), 100);   // dark side darker
}

TEST(FilterChain, FlipsAndTurns)
{
    const QImage src = randomPicture(200, 100, false, 9);
    const QImage both = defaults(src, 0, true, true);
    const QImage half = defaults(src, 180);
    EXPECT_EQ(maxDifference(both, half), 0);
    EXPECT_EQ(maxDifference(defaults(src, 0, true, false), src.mirrored(true, false)), 0);

    // A positive field turns clockwise; the canvas is the rotated box.
    const QImage quarter = defaults(src, 90);
    ASSERT_EQ(quarter.size(), QSize(100, 200));
    EXPECT_EQ(quarter.convertToFormat(QImage::Format_ARGB32).pixel(99, 0),
              src.convertToFormat(QImage::Format_ARGB32).pixel(0, 0));
    EXPECT_EQ(defaults(src, -90).convertToFormat(QImage::Format_ARGB32).pixel(0, 199),
              src.convertToFormat(QImage::Format_ARGB32).pixel(0, 0));

    // 45 degrees: the box of the turned picture, transparent corners.
    const QImage diagonal = defaults(src, 45);
    EXPECT_EQ(diagonal.size(), QSize(213, 213));
    EXPECT_EQ(qAlpha(diagonal.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(diagonal.pixel(106, 106)), 255);
}

TEST(FilterChain, PictureItemsPassTheirFieldsWithTheTurnCutToWholeDegrees)
{
    LMNImage item;
    item._contents = PtImage(randomPicture(200, 100, false, 13));
    item.sat_val = 1;
    item.con_val = 1;
    item.img_trnsp_val = 100;
    item.rotate_image = 90.9f;
    const QImage shown = Picture_Item_Displayed_Image(item);
    EXPECT_EQ(shown.size(), QSize(100, 200));
    item.rotate_image = -45.9f;
    EXPECT_EQ(Picture_Item_Displayed_Image(item).size(), QSize(213, 213));
    item._contents = PtImage();
    EXPECT_TRUE(Picture_Item_Displayed_Image(item).isNull());
}
