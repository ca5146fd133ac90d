#include "platform/ImageWriter.h"
#include "platform/PtImage.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage sampleImage(bool withTransparency = false)
{
    QImage img(40, 20, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, 20, 20, Qt::black);
    p.fillRect(20, 0, 10, 10, QColor(200, 30, 30));
    p.end();
    if (withTransparency)
        for (int y = 0; y < 20; ++y) img.setPixel(39, y, qRgba(0, 0, 0, 0));
    return img;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct FormatCase {
    const char* file;
    ImageFileFormat format;
    QByteArray magic;
    bool recordsDpi;
};

class ImageFileFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ImageFileFormats, WritesTheBytesItsExtensionNamesWithTheResolution)
{
    const FormatCase c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(c.file));
    EXPECT_EQ(Image_Format_For_Path(path), c.format);
    QString error;
    ASSERT_TRUE(Write_Image_File(path, sampleImage(true), 300.0, ImageFileFormat::Unknown, &error))
        << error.toStdString();
    const QByteArray bytes = readAll(path);
    ASSERT_TRUE(bytes.startsWith(c.magic)) << c.file << " starts with " << bytes.left(8).toHex().toStdString();
    if (c.format == ImageFileFormat::PDF) {
        // 40 x 20 pixels at 300 dpi make a page of 9.6 x 4.8 points.
        EXPECT_TRUE(bytes.contains("/MediaBox")) << "no page box";
        return;
    }
    QImageReader reader(path);
    const QImage back = reader.read();
    ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(back.size(), QSize(40, 20));
    // Colours survive (JPEG loosely).
    const QColor dark = back.pixelColor(5, 5);
    EXPECT_LT(dark.red() + dark.green() + dark.blue(), 60);
    if (c.recordsDpi) {
        EXPECT_NEAR(back.dotsPerMeterX() * 0.0254, 300.0, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, ImageFileFormats,
    ::testing::Values(FormatCase{"x.png", ImageFileFormat::PNG, QByteArray("\x89PNG", 4), true},
                      FormatCase{"x.jpg", ImageFileFormat::JPEG, QByteArray("\xFF\xD8\xFF", 3), true},
                      FormatCase{"x.JPEG", ImageFileFormat::JPEG, QByteArray("\xFF\xD8\xFF", 3), true},
                      FormatCase{"x.tif", ImageFileFormat::TIFF, QByteArray("II*\0", 4), true},
                      FormatCase{"x.bmp", ImageFileFormat::BMP, QByteArray("BM"), true},
                      FormatCase{"x.gif", ImageFileFormat::GIF, QByteArray("GIF89a"), false},
                      FormatCase{"x.PDF", ImageFileFormat::PDF, QByteArray("%PDF"), false}));

TEST(ImageWriter, GifKeepsTransparencyAndManyColours)
{
    QImage img = sampleImage(true);
    const QByteArray gif = Encode_Gif(img);
    ASSERT_TRUE(gif.startsWith("GIF89a"));
    QImage back = QImage::fromData(gif, "GIF");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(qAlpha(back.pixel(39, 3)), 0);
    EXPECT_EQ(back.pixelColor(25, 5), QColor(200, 30, 30));  // exact palette for few colours

    // A gradient of far more than 256 colours still encodes and stays close.
    QImage grad(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) grad.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    back = QImage::fromData(Encode_Gif(grad), "GIF");
    ASSERT_FALSE(back.isNull());
    const QColor c = back.pixelColor(32, 32);
    EXPECT_NEAR(c.red(), 128, 40);
    EXPECT_NEAR(c.green(), 128, 40);
}

TEST(ImageWriter, GifWithAFullPaletteAndTransparencyKeepsOpaquePixelsOpaque)
{
    // Far more than 256 colours, and a transparent column.
    QImage img(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) img.setPixel(x, y, qRgba(x * 4, y * 4, (x * y) & 0xFF, x == 0 ? 0 : 255));
    const QImage back = QImage::fromData(Encode_Gif(img), "GIF").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(back.size(), img.size());
    int lost = 0;
    for (int y = 0; y < 64; ++y) {
        EXPECT_EQ(qAlpha(back.pixel(0, y)), 0);
        for (int x = 1; x < 64; ++x) lost += qAlpha(back.pixel(x, y)) != 255;
    }
    EXPECT_EQ(lost, 0);
}

TEST(ImageWriter, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.png");
    ASSERT_TRUE(Write_Image_File(path, sampleImage(), 72));
    const QByteArray before = readAll(path);
    QString error;
    EXPECT_FALSE(Write_Image_File(path, QImage(), 72, ImageFileFormat::Unknown, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), before);
    EXPECT_FALSE(Write_Image_File(dir.filePath("no/such/folder/x.png"), sampleImage(), 72));
}

TEST(PtImage, RaisedToADpiKeepsPointsAndCountsPixelsUp)
{
    const PtImage img(sampleImage(), QSizeF(100, 50));
    const QImage px = img.toImage(300);
    EXPECT_EQ(px.size(), QSize(417, 209));
    EXPECT_EQ(img.toImage(72).size(), QSize(100, 50));
    EXPECT_EQ(PtImage(sampleImage(), QSizeF(10.2, 3.01)).toImage(72).size(), QSize(11, 4));
    EXPECT_TRUE(img.toImage(0).isNull());
    EXPECT_TRUE(img.toImage(std::nan("")).isNull());
    EXPECT_TRUE(PtImage().toImage(300).isNull());
    EXPECT_TRUE(PtImage().isNull());
    EXPECT_TRUE(PtImage().toPdfData().isEmpty());
}

TEST(PtImage, VectorImageDrawsAndStaysVectorInPdf)
{
    QPicture pic;
    {
        QPainter p(&pic);
        p.fillRect(QRectF(0, 0, 36, 36), Qt::black);
    }
    const PtImage vec(pic, QSizeF(72, 36));
    ASSERT_TRUE(vec.isVector());
    const QImage px = vec.toImage(144);
    ASSERT_EQ(px.size(), QSize(144, 72));
    EXPECT_EQ(qGray(px.pixel(10, 10)), 0);
    EXPECT_EQ(qAlpha(px.pixel(100, 10)), 0);  // nothing drawn there: transparent
    const QByteArray pdf = vec.toPdfData();
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
}

} // namespace
