// The offscreen platform the tests run on draws as the application does: a
// picture recorded in points becomes pixels at any resolution with its
// shapes where their points say, and its text is set in the pinned fonts at
// its size in points (35 points of text are 35 points tall whatever the
// screen's resolution).
#include "platform/Fonts.h"
#include "platform/PtImage.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

namespace {

// The rows of `img` holding a pixel darker than mid grey.
std::pair<int, int> Inked_Rows(const QImage& img)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 128 && qGray(img.pixel(x, y)) < 128) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

} // namespace

TEST(Smoke, ImageWorksOffscreen)
{
    // A card of 72 x 36 points: a red square of 18 points at (9, 9) and a
    // black "H" of 35 points at (36, 0).
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(35);
    EXPECT_TRUE(QFontInfo(font).family().startsWith(QStringLiteral("DejaVu Sans")))
        << QFontInfo(font).family().toStdString() << ": the pinned fonts are installed";
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRectF(9, 9, 18, 18), Qt::red);
        p.setFont(Font_In_Points(font, p.device()));
        p.setPen(Qt::black);
        p.drawText(QRectF(36, 0, 36, 36), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("H"));
    }
    const PtImage card(picture, QSizeF(72, 36));
    for (int dpi : {72, 144, 300}) {
        SCOPED_TRACE(dpi);
        const QImage img = card.toImage(dpi).convertToFormat(QImage::Format_ARGB32);
        const double k = dpi / 72.0;
        ASSERT_EQ(img.size(), QSize(int(72 * k), int(36 * k)));
        // Inside the square red, just outside it clear.
        EXPECT_EQ(QColor(img.pixel(int(18 * k), int(18 * k))), QColor(Qt::red));
        EXPECT_EQ(qAlpha(img.pixel(int(6 * k), int(18 * k))), 0);
        EXPECT_EQ(qAlpha(img.pixel(int(30 * k), int(18 * k))), 0);
        // The letter's height: a capital of DejaVu Sans is 0.73 of its size.
        const QImage letter = img.copy(int(36 * k), 0, int(36 * k), int(36 * k));
        const auto [top, bottom] = Inked_Rows(letter);
        ASSERT_GE(top, 0);
        EXPECT_NEAR((bottom - top + 1) / k, 35 * 0.729, 1.5);
    }
}
