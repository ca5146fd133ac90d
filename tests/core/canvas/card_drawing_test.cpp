// The card's base, watermark and border, checked by pixel probes.
#include "core/canvas/CardDrawing.h"
#include "core/model/Card_Property.h"
#include "core/util/MainWindowServices.h"
#include "platform/PtImage.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage Render(const Card_Property& card, int shape, QSize size = QSize(100, 100), bool withBorder = true)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    img.setDotsPerMeterX(2835);
    img.setDotsPerMeterY(2835);
    QPainter p(&img);
    const QRectF r(0, 0, size.width(), size.height());
    Card_Base_Drawing(p, card, r, shape);
    if (withBorder)
        Card_Border_Drawing(p, card, r, shape);
    return img;
}

QRgb Px(const QImage& img, int x, int y)
{
    return img.pixel(x, y);
}

bool Near(QRgb a, QColor b, int tol = 12)
{
    return std::abs(qRed(a) - b.red()) <= tol && std::abs(qGreen(a) - b.green()) <= tol
        && std::abs(qBlue(a) - b.blue()) <= tol;
}

int Dark_Rows_First(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 0 && qGray(img.pixel(x, y)) < 100)
                return y;
    return -1;
}

} // namespace

TEST(CardDrawingTest, ShapesLeaveOutsideUndrawnAndClipLaterLayers)
{
    Card_Property card;
    card.Card_fill_clr = Qt::blue;
    for (int shape : {0, 1, 2, 9}) {
        const QImage img = Render(card, shape);
        EXPECT_TRUE(Near(Px(img, 50, 50), Qt::blue)) << shape;
        const bool cornerDrawn = qAlpha(Px(img, 0, 0)) > 0;
        EXPECT_EQ(cornerDrawn, shape == 0 || shape == 9) << shape;
    }
    // The clip stays: a later fill over everything lands only inside the ellipse.
    QImage img(100, 100, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        Card_Base_Drawing(p, card, QRectF(0, 0, 100, 100), 2);
        p.fillRect(QRectF(0, 0, 100, 100), Qt::red);
    }
    EXPECT_EQ(qAlpha(Px(img, 2, 2)), 0);
    EXPECT_TRUE(Near(Px(img, 50, 50), Qt::red));
}

TEST(CardDrawingTest, FillOffIsWhiteAndSolidUsesColour)
{
    Card_Property card;
    card.Card_fill_clr = Qt::green;
    card.Card_fill_chk = false;
    EXPECT_TRUE(Near(Px(Render(card, 0), 50, 50), Qt::white));
    card.Card_fill_chk = true;
    card.Card_fill_style = QStringLiteral("unknown");
    EXPECT_TRUE(Near(Px(Render(card, 0), 50, 50), Qt::green));
    // A translucent fill shows white beneath it.
    card.Card_fill_clr = QColor(0, 0, 0, 128);
    EXPECT_TRUE(Near(Px(Render(card, 0), 50, 50), QColor(127, 127, 127), 3));
}

TEST(CardDrawingTest, GradientFollowsAngle)
{
    Card_Property card;
    card.Card_fill_style = QStringLiteral("G");
    card.Card_fill_Grd_1_clr = Qt::black;
    card.Card_fill_Grd_2_clr = Qt::white;
    card.Card_grad_Stepper = 0; // left to right
    QImage img = Render(card, 0);
    EXPECT_LT(qGray(Px(img, 2, 50)), 30);
    EXPECT_GT(qGray(Px(img, 97, 50)), 225);
    card.Card_grad_Stepper = 90; // top to bottom in the flipped card
    img = Render(card, 0);
    EXPECT_LT(qGray(Px(img, 50, 2)), 30);
    EXPECT_GT(qGray(Px(img, 50, 97)), 225);
}

TEST(CardDrawingTest, HatchTilesOverBackgroundAndMissingFileShowsBackground)
{
    QTemporaryDir dir;
    const QString saved = Folders.Resource_Path, savedUser = Folders.Created_Resource_Path;
    Folders.Resource_Path = dir.path();
    Folders.Created_Resource_Path = dir.path() + QStringLiteral("/user");
    QDir().mkpath(dir.path() + QStringLiteral("/Fill_Style_Image"));
    QImage pattern(10, 10, QImage::Format_ARGB32);
    pattern.fill(Qt::transparent);
    for (int i = 0; i < 10; ++i)
        pattern.setPixel(i, 0, qRgb(0, 0, 0)); // one dark row every 10 points
    ASSERT_TRUE(pattern.save(dir.path() + QStringLiteral("/Fill_Style_Image/lines.png")));

    Card_Property card;
    card.Card_fill_style = QStringLiteral("H");
    card.Card_hatch_bk_clr = Qt::yellow;
    card.Card_hatch_style = QStringLiteral("lines");
    QImage img = Render(card, 0);
    int darkRows = 0;
    for (int y = 0; y < 100; ++y)
        if (qGray(Px(img, 50, y)) < 40)
            ++darkRows;
    EXPECT_GE(darkRows, 9);
    EXPECT_LE(darkRows, 11);
    EXPECT_TRUE(Near(Px(img, 50, 5), Qt::yellow));

    card.Card_hatch_style = QStringLiteral("missing");
    img = Render(card, 0);
    for (int y = 0; y < 100; y += 7)
        EXPECT_TRUE(Near(Px(img, 50, y), Qt::yellow)) << y;
    Folders.Resource_Path = saved;
    Folders.Created_Resource_Path = savedUser;
}

TEST(CardDrawingTest, PictureTiledOrStretchedWithOpacity)
{
    QImage pic(20, 20, QImage::Format_ARGB32);
    pic.fill(Qt::white);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            pic.setPixel(x, y, qRgb(255, 0, 0)); // red top half, white bottom half
    Card_Property card;
    card.Card_fill_style = QStringLiteral("I");
    // Without a picture the card stays white.
    EXPECT_TRUE(Near(Px(Render(card, 0), 50, 50), Qt::white));

    card.Card_BG_Image = PtImage(pic, QSizeF(20, 20));
    card.Card_BG_Image_Layout = QStringLiteral("Tile");
    card.Card_alpha_Stepper = 0.0f; // ignored when tiled
    QImage img = Render(card, 0);
    EXPECT_TRUE(Near(Px(img, 5, 5), Qt::red));
    EXPECT_TRUE(Near(Px(img, 5, 25), Qt::red)); // second row of tiles
    EXPECT_TRUE(Near(Px(img, 5, 35), Qt::white));

    card.Card_BG_Image_Layout = QStringLiteral("Stretch");
    card.Card_alpha_Stepper = 100.0f; // a new model's 100 acts as 1
    img = Render(card, 0);
    EXPECT_TRUE(Near(Px(img, 50, 25), Qt::red)); // stretched: top half red
    EXPECT_TRUE(Near(Px(img, 50, 75), Qt::white));
    card.Card_alpha_Stepper = 0.5f;
    img = Render(card, 0);
    EXPECT_TRUE(Near(Px(img, 50, 25), QColor(255, 127, 127), 4));
}

TEST(CardDrawingTest, WatermarkTopByAlignment)
{
    const QRectF r(0, 0, 100, 100);
    EXPECT_EQ(Watermark_Top(r, 0, 20), 0.0);
    EXPECT_EQ(Watermark_Top(r, 1, 20), 40.0);
    EXPECT_EQ(Watermark_Top(r, 2, 20), 80.0);
    EXPECT_EQ(Watermark_Top(r, 5, 20), 0.0);
}

TEST(CardDrawingTest, WatermarkDrawnInItsThreePlaces)
{
    Card_Property card;
    card.Watermark_Used = true;
    card.Watermark_Text = QStringLiteral("MARK");
    card.Watermark_Color = Qt::black;
    card.Watermark_Transp = 1.0f;
    card.Watermark_Font = QFont(QStringLiteral("DejaVu Sans"), 20);
    int tops[3];
    for (int a = 0; a < 3; ++a) {
        card.Watermark_Alignment = a;
        tops[a] = Dark_Rows_First(Render(card, 0, QSize(200, 200)));
    }
    EXPECT_GE(tops[0], 0);
    EXPECT_LT(tops[0], 15);
    EXPECT_GT(tops[1], 80);
    EXPECT_LT(tops[1], 105);
    EXPECT_GT(tops[2], 170);
    // Opacity 0 draws nothing visible.
    card.Watermark_Transp = 0.0f;
    EXPECT_EQ(Dark_Rows_First(Render(card, 0, QSize(200, 200))), -1);
}

TEST(CardDrawingTest, BorderShowsHalfInsideAndDashes)
{
    Card_Property card;
    card.Card_border_chk = true;
    card.Card_bordr_clr = Qt::black;
    card.Card_bor_Stepper = 4;
    card.Card_border_style = QStringLiteral("S");
    QImage img = Render(card, 0);
    // Width 4: two points show inside the edge.
    EXPECT_LT(qGray(Px(img, 50, 0)), 40);
    EXPECT_LT(qGray(Px(img, 50, 1)), 40);
    EXPECT_GT(qGray(Px(img, 50, 3)), 200);

    card.Card_bor_Stepper = 2;
    auto gapsOnTop = [&](const QString& code) {
        card.Card_border_style = code;
        const QImage i = Render(card, 0, QSize(200, 100));
        int gaps = 0;
        bool prevDark = true;
        for (int x = 12; x < 188; ++x) {
            const bool dark = qGray(i.pixel(x, 0)) < 128;
            if (!dark && prevDark)
                ++gaps;
            prevDark = dark;
        }
        return gaps;
    };
    EXPECT_EQ(gapsOnTop(QStringLiteral("S")), 0);
    EXPECT_EQ(gapsOnTop(QStringLiteral("bogus")), 0);
    // "DA" 8 on, 2 off: a gap every 10 points, whatever the width.
    EXPECT_GE(gapsOnTop(QStringLiteral("DA")), 16);
    EXPECT_GE(gapsOnTop(QStringLiteral("DO")), 16);
    EXPECT_GE(gapsOnTop(QStringLiteral("DD")), 6); // two gaps every 50 points
}
