// The application reads pictures through the image tools: what start-up
// installs puts their thumbnails behind the drawing core's thumbnail calls,
// so a picture the image tools refuse (one that states more pixels than
// the program takes) shows the invalid-data picture, where the core's own
// plain reader would have shown a file icon.
#include "app/AppServices.h"
#include "core/util/ServiceInterfaces.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <zlib.h>

namespace {

// A PNG file that states a size of w x h pixels and holds no image data.
QByteArray Png_Stating(quint32 w, quint32 h)
{
    QByteArray ihdr("IHDR");
    char be[4];
    qToBigEndian(w, be);
    ihdr.append(be, 4);
    qToBigEndian(h, be);
    ihdr.append(be, 4);
    ihdr.append("\x08\x02\x00\x00\x00", 5);   // 8-bit RGB
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    qToBigEndian(quint32(13), be);
    png.append(be, 4);
    png.append(ihdr);
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(ihdr.constData()), uInt(ihdr.size()))), be);
    png.append(be, 4);
    png.append(QByteArray("\0\0\0\0IEND\xae\x42\x60\x82", 12));
    return png;
}

int Red_Pixels(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    int red = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            if (qAlpha(p) > 200 && qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80)
                ++red;
        }
    return red;
}

} // namespace

TEST(AppServices, PicturesAreReadThroughTheImageTools)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString huge = dir.filePath(QStringLiteral("huge.png"));
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Png_Stating(30000, 30000));
    f.close();
    const QString good = dir.filePath(QStringLiteral("good.png"));
    QImage blue(400, 200, QImage::Format_RGB32);
    blue.fill(QColor(20, 40, 200));
    ASSERT_TRUE(blue.save(good));

    // The core's own reader, before start-up installs anything.
    QuickLook::Set_Providers({}, {});
    EXPECT_EQ(Red_Pixels(QuickLook::imageWithPreviewOfFileAtPath(huge, QSize(200, 200), false)), 0);

    Install_Application_Services();
    const QImage refused = QuickLook::imageWithPreviewOfFileAtPath(huge, QSize(200, 200), false);
    EXPECT_GT(Red_Pixels(refused), 20) << "the invalid-data picture (\"Invalid Data\" in red)";
    const QImage thumb = QuickLook::imageWithPreviewOfFileAtPath(good, QSize(100, 100), false);
    EXPECT_EQ(thumb.size(), QSize(100, 50));
    EXPECT_EQ(thumb.pixel(50, 25), qRgb(20, 40, 200));
    QuickLook::Set_Providers({}, {});
}
