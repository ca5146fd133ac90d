// Reading pictures: upright whatever the camera wrote, bounded in size and
// memory, and a clear answer for anything that is not a good picture.
#include "ImageToolsSupport.h"

#include "core/util/ServiceInterfaces.h"
#include "imagetools/picture/PictureDecoder.h"
#include "imagetools/picture/Thumbnails.h"

#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace imgtest;

namespace {

const QRgb kTL = qRgb(230, 20, 20), kTR = qRgb(20, 200, 20), kBL = qRgb(20, 20, 230), kBR = qRgb(240, 240, 20);

// An upright picture with four coloured quarters, wider than high.
QImage uprightQuarters(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h / 2, QColor(kTL));
    p.fillRect(w / 2, 0, w - w / 2, h / 2, QColor(kTR));
    p.fillRect(0, h / 2, w / 2, h - h / 2, QColor(kBL));
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(kBR));
    return img;
}

// Where the stored pixel (x, y) is shown for an orientation, as the EXIF
// standard defines the place of row 0 and column 0.
QPoint shownAt(int o, int x, int y, int sw, int sh)
{
    switch (o) {
    case 2: return {sw - 1 - x, y};
    case 3: return {sw - 1 - x, sh - 1 - y};
    case 4: return {x, sh - 1 - y};
    case 5: return {y, x};
    case 6: return {sh - 1 - y, x};
    case 7: return {sh - 1 - y, sw - 1 - x};
    case 8: return {y, sw - 1 - x};
    default: return {x, y};
    }
}

// The picture a camera stores so that orientation o shows `upright`.
QImage storedFor(const QImage& upright, int o)
{
    const bool swap = o >= 5;
    const int sw = swap ? upright.height() : upright.width();
    const int sh = swap ? upright.width() : upright.height();
    QImage stored(sw, sh, QImage::Format_RGB32);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
            stored.setPixel(x, y, upright.pixel(shownAt(o, x, y, sw, sh)));
    return stored;
}

void expectQuarters(const QImage& img, const char* what)
{
    ASSERT_FALSE(img.isNull()) << what;
    ASSERT_GT(img.width(), img.height()) << what;
    const int w = img.width(), h = img.height();
    EXPECT_TRUE(near(img.pixel(w / 4, h / 4), kTL, 40)) << what;
    EXPECT_TRUE(near(img.pixel(3 * w / 4, h / 4), kTR, 40)) << what;
    EXPECT_TRUE(near(img.pixel(w / 4, 3 * h / 4), kBL, 40)) << what;
    EXPECT_TRUE(near(img.pixel(3 * w / 4, 3 * h / 4), kBR, 40)) << what;
}

bool hasRed(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (qAlpha(p) > 128 && qRed(p) > 150 && qGreen(p) < 80 && qBlue(p) < 80) return true;
        }
    return false;
}

} // namespace

TEST(PictureFiles, EveryExifOrientationComesOutUpright)
{
    Temp_Folders dirs;
    const QImage upright = uprightQuarters(160, 80);
    for (int o = 1; o <= 8; ++o) {
        const QString path = dirs.path(QStringLiteral("o%1.jpg").arg(o));
        ASSERT_TRUE(writeFile(path, jpegWithExif(storedFor(upright, o), exifSegment(o))));
        const std::string what = "orientation " + std::to_string(o);
        const DecodedPicture whole = Decode_Picture_File(path, 0);
        EXPECT_EQ(whole.fullSize, QSize(160, 80)) << what;
        expectQuarters(whole.image, what.c_str());
        // The thumbnail the core asks for, through its QuickLook entry.
        Install_Image_Tools_Services();
        expectQuarters(QuickLook::imageWithPreviewOfFileAtPath(path, QSize(100, 100), false), what.c_str());
        EXPECT_EQ(Picture_File_Size(path), QSize(160, 80)) << what;
    }
}

TEST(PictureFiles, ThumbnailsAreBoundedByTheWidthAloneAndKeepProportions)
{
    Temp_Folders dirs;
    const QString jpg = dirs.path("big.jpg");
    const QString png = dirs.path("big.png");
    const QImage big = uprightQuarters(2400, 1200);
    ASSERT_TRUE(writeFile(jpg, encode(big, "jpg")));
    ASSERT_TRUE(writeFile(png, encode(big, "png")));
    for (const QString& path : {jpg, png}) {
        const QImage thumb = Thimbnail_Using_CG_Image(path, QSize(800, 10));
        EXPECT_EQ(thumb.size(), QSize(800, 400)) << path.toStdString();
        expectQuarters(thumb, "thumbnail");
    }
    // Small pictures are not enlarged.
    const QString small = dirs.path("small.png");
    ASSERT_TRUE(writeFile(small, encode(uprightQuarters(120, 60), "png")));
    EXPECT_EQ(Thimbnail_Using_CG_Image(small, QSize(800, 800)).size(), QSize(120, 60));
    // Many at once keep their order.
    const QList<QImage> many = Thumbnails_Of_Files({jpg, small, dirs.path("missing.jpg"), png}, 200);
    ASSERT_EQ(many.size(), 4);
    EXPECT_EQ(many[0].size(), QSize(200, 100));
    EXPECT_EQ(many[1].size(), QSize(120, 60));
    EXPECT_TRUE(many[2].isNull());
    EXPECT_EQ(many[3].size(), QSize(200, 100));
}

TEST(PictureFiles, BadFilesGiveTheInvalidDataImageOrTheirIconWithinBoundedMemory)
{
    Temp_Folders dirs;
    // A JPEG cut off halfway is not shown as a picture with a grey lower part.
    const QByteArray jpeg = encode(uprightQuarters(640, 480), "jpg");
    const QString cut = dirs.path("cut.jpg");
    ASSERT_TRUE(writeFile(cut, jpeg.left(jpeg.size() / 2)));
    const DecodedPicture cutPicture = Decode_Picture_File(cut, 0);
    EXPECT_EQ(cutPicture.status, PictureStatus::Broken);
    const QImage cutThumb = Thimbnail_Using_CG_Image(cut, QSize(800, 800));
    EXPECT_EQ(cutThumb.size(), QSize(200, 100));
    EXPECT_TRUE(hasRed(cutThumb)) << "the invalid-data image";

    // A PNG whose header claims 100,000 x 100,000 pixels is refused before
    // anything is allocated for it.
    QByteArray png = encode(QImage(4, 4, QImage::Format_RGB32), "png");
    auto put32 = [&png](int at, quint32 v) {
        png[at] = char(v >> 24); png[at + 1] = char(v >> 16); png[at + 2] = char(v >> 8); png[at + 3] = char(v);
    };
    put32(16, 100000);
    put32(20, 100000);
    put32(29, quint32(crc32(0, reinterpret_cast<const Bytef*>(png.constData()) + 12, 17)));
    const QString huge = dirs.path("huge.png");
    ASSERT_TRUE(writeFile(huge, png));
    // (The checked build stops at once on an allocation of that size.)
    EXPECT_EQ(Decode_Picture_File(huge, 800).status, PictureStatus::TooLarge);
    EXPECT_EQ(Decode_Picture_File(huge, 0).status, PictureStatus::TooLarge);
    EXPECT_EQ(Thimbnail_Using_CG_Image(huge, QSize(800, 800)).size(), QSize(200, 100));

    // A text file is no picture: its icon, never the text read as pixels.
    const QString text = dirs.path("notes.txt");
    ASSERT_TRUE(writeFile(text, "hello, this is not a picture\n"));
    EXPECT_EQ(Decode_Picture_File(text, 800).status, PictureStatus::NotAPicture);
    const QImage icon = Thimbnail_Using_CG_Image(text, QSize(64, 64));
    EXPECT_FALSE(icon.isNull());
    EXPECT_FALSE(hasRed(icon));

    // A missing file gives nothing; the data variant has no icon.
    EXPECT_TRUE(Thimbnail_Using_CG_Image(dirs.path("gone.jpg"), QSize(800, 800)).isNull());
    EXPECT_TRUE(Thimbnail_Using_CG_Image_With_data("not a picture", QSize(800, 800)).isNull());
    EXPECT_FALSE(Thimbnail_Using_CG_Image_With_data(jpeg, QSize(800, 800)).isNull());

    for (PictureStatus s : {PictureStatus::Missing, PictureStatus::NotAPicture, PictureStatus::Broken,
                            PictureStatus::TooLarge})
        EXPECT_FALSE(Picture_Status_Message(s).isEmpty());
}

TEST(PictureFiles, ExifBlocksWithAbsurdOffsetsAreIgnored)
{
    const QImage upright = uprightQuarters(160, 80);
    auto segmentWith = [](const QByteArray& tiff) {
        const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
        const int length = int(payload.size()) + 2;
        QByteArray seg("\xFF\xE1", 2);
        seg += char((length >> 8) & 0xFF);
        seg += char(length & 0xFF);
        return seg + payload;
    };
    const QList<QByteArray> bad = {
        QByteArray("II\x2a\x00\xf0\xff\xff\xff", 8),                                  // IFD far past the end
        QByteArray("II\x2a\x00\x08\x00\x00\x00\xff\xff", 10),                          // 65535 entries, none there
        QByteArray("MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03", 14),         // entry cut short
        QByteArray("II\x2a\x00\x08\x00\x00\x00\x01\x00\x12\x01\x03\x00\x01\x00\x00\x00\x09\x00\x00\x00", 22),
        QByteArray("XX\x2a\x00\x08\x00\x00\x00", 8),                                  // no byte order
        QByteArray("II", 2),
    };
    for (const QByteArray& tiff : bad) {
        const QByteArray seg = segmentWith(tiff);
        EXPECT_EQ(Exif_Orientation(reinterpret_cast<const uchar*>(seg.constData()) + 4, seg.size() - 4), 1);
        const DecodedPicture d = Decode_Picture_Data(jpegWithExif(upright, seg), 0);
        ASSERT_TRUE(d.ok());
        expectQuarters(d.image, "absurd EXIF");
    }
    // Big-endian blocks are read too.
    const QByteArray mm("Exif\0\0MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                        "\x00\x00\x00\x00", 32);
    EXPECT_EQ(Exif_Orientation(reinterpret_cast<const uchar*>(mm.constData()), mm.size()), 6);
}

TEST(PictureFiles, MutatedPictureDataNeverCrashes)
{
    QRandomGenerator rng(20261206);
    const QImage source = uprightQuarters(96, 64);
    const QList<QByteArray> seeds = {jpegWithExif(storedFor(source, 6), exifSegment(6)), encode(source, "png"),
                                     encode(source, "bmp"), encode(source, "tiff")};
    for (const QByteArray& seed : seeds)
        ASSERT_FALSE(seed.isEmpty());
    int decoded = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray data = seeds[round % seeds.size()];
        const int edits = 1 + int(rng.bounded(8));
        for (int e = 0; e < edits; ++e) {
            const int at = int(rng.bounded(quint32(data.size())));
            switch (rng.bounded(3)) {
            case 0: data[at] = char(rng.bounded(256)); break;
            case 1: data.truncate(at + 1); break;
            default: data.insert(at, QByteArray(int(rng.bounded(16)), char(rng.bounded(256)))); break;
            }
            if (data.isEmpty()) break;
        }
        const DecodedPicture d = Decode_Picture_Data(data, round % 2 ? 40 : 0);
        if (d.ok()) {
            ++decoded;
            EXPECT_LE(qint64(d.image.width()) * d.image.height(), Picture_Pixel_Limit);
        }
        const QByteArray seg = data.left(200);
        Exif_Orientation(reinterpret_cast<const uchar*>(seg.constData()), seg.size());
    }
    EXPECT_GT(decoded, 0);
}

TEST(PictureFiles, InvalidDataImageIsTheAskedSizeWithRedTextInTheMiddle)
{
    const PtImage image = Image_For_invalid_Data(QRectF(0, 0, 200, 100));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSizeF(200, 100));
    const QImage pixels = image.toImage(72.0);
    ASSERT_EQ(pixels.size(), QSize(200, 100));
    // Red ink only in the middle band, none at the edges.
    int minX = 200, maxX = 0, minY = 100, maxY = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = pixels.pixel(x, y);
            if (qAlpha(p) > 128 && qRed(p) > 150 && qGreen(p) < 80) {
                minX = std::min(minX, x); maxX = std::max(maxX, x);
                minY = std::min(minY, y); maxY = std::max(maxY, y);
            }
        }
    ASSERT_LT(minX, maxX);
    EXPECT_NEAR((minX + maxX) / 2.0, 100.0, 4.0);
    EXPECT_NEAR((minY + maxY) / 2.0, 50.0, 4.0);
    EXPECT_LT(maxY - minY, 20);   // 11-point type
    EXPECT_TRUE(Image_For_invalid_Data(QRectF(0, 0, 0, 10)).isNull());
}
