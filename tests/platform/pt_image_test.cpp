// Vector pictures drawn from several threads at once: a job on a worker
// draws copies of the very pictures the window paints.
#include "platform/PtImage.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

PtImage Bars()
{
    QPicture picture;
    {
        QPainter p(&picture);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (int i = 0; i < 200; ++i)
            p.drawRect(QRectF(i * 2.0, i % 3 == 0 ? 0.0 : 5.0, 1.0 + (i % 2), 40.0));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, 42, 400, 12), Qt::AlignCenter, QStringLiteral("123456789012"));
    }
    return PtImage(picture, QSizeF(400, 56));
}

} // namespace

TEST(PtImageTest, CopiesOfOneVectorPictureDrawAlikeOnSeveralThreadsAtOnce)
{
    const PtImage shared = Bars();
    const QImage expected = shared.toImage(144);
    ASSERT_FALSE(expected.isNull());

    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&shared, &expected, &wrong] {
            const PtImage copy = shared;   // a job's copy of the item's picture
            for (int i = 0; i < 40; ++i)
                if (copy.toImage(144) != expected)
                    ++wrong;
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
}
