// Palette PNG writer and module grids.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <thread>
#include <vector>
#include <zlib.h>

#include "barcode/engines/grid/ModuleGridImage.h"
#include "common/TestSupport.h"

extern "C" {
#include <iec16022/iec16022ecc200.h>
}

using namespace grid;

namespace {

struct Chunk {
    QByteArray type;
    QByteArray data;
    bool crcOk;
};

uint32_t be32(const QByteArray& b, int at)
{
    return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16)
        | (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}

std::vector<Chunk> chunks(const QByteArray& png)
{
    std::vector<Chunk> out;
    if (!png.startsWith(QByteArray::fromHex("89504e470d0a1a0a")))
        return out;
    int at = 8;
    while (at + 12 <= png.size()) {
        const int len = int(be32(png, at));
        const QByteArray typeAndData = png.mid(at + 4, 4 + len);
        const uint32_t crc = be32(png, at + 8 + len);
        out.push_back({typeAndData.left(4), typeAndData.mid(4),
                       crc == uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typeAndData.constData()), uInt(typeAndData.size())))});
        at += 12 + len;
    }
    return out;
}

QStringList types(const std::vector<Chunk>& cs)
{
    QStringList t;
    for (const auto& c : cs)
        t << QString::fromLatin1(c.type);
    return t;
}

struct ImageHolder {
    Image* img;
    ~ImageHolder() { ImageFree(img); }
};

} // namespace

TEST(ModuleGridImage, TenByTenGridGivesTwelveByTwelvePng)
{
    std::vector<unsigned char> grid(100, 0);
    for (int i = 0; i < 10; ++i) {
        grid[i * 10 + i] = 1;      // diagonal
        grid[0 * 10 + i] = 1;      // grid row 0 (bottom of the image)
    }
    ImageHolder h{ImageFromModuleGrid(grid.data(), 10, 10, 1, true)};
    ASSERT_NE(h.img, nullptr);
    EXPECT_EQ(h.img->width, 12);
    EXPECT_EQ(h.img->height, 12);
    EXPECT_EQ(h.img->lineLength, 13);
    const QByteArray png = ImagePNGData(h.img, -1, -1, "hello", 9);
    const auto cs = chunks(png);
    EXPECT_EQ(types(cs), (QStringList{"IHDR", "PLTE", "tEXt", "tRNS", "IDAT", "IEND"}));
    for (const auto& c : cs)
        EXPECT_TRUE(c.crcOk) << c.type.constData();
    EXPECT_EQ(cs[0].data, QByteArray::fromHex("0000000c0000000c0803000000"));
    EXPECT_EQ(cs[1].data, QByteArray::fromHex("ffffff000000"));
    EXPECT_EQ(cs[2].data.size(), 13);                       // "Comment", NUL, 5 bytes
    EXPECT_EQ(cs[2].data, QByteArray("Comment\0hello", 13));
    EXPECT_EQ(cs[3].data, QByteArray::fromHex("ffff"));     // both opaque

    QImage img;
    ASSERT_TRUE(img.loadFromData(png, "PNG"));
    ASSERT_EQ(img.size(), QSize(12, 12));
    for (int i = 0; i < 12; ++i) {   // white border
        EXPECT_EQ(img.pixel(i, 0), qRgb(255, 255, 255));
        EXPECT_EQ(img.pixel(i, 11), qRgb(255, 255, 255));
        EXPECT_EQ(img.pixel(0, i), qRgb(255, 255, 255));
        EXPECT_EQ(img.pixel(11, i), qRgb(255, 255, 255));
    }
    for (int x = 0; x < 10; ++x)   // grid row 0 is the image's bottom module row
        EXPECT_EQ(img.pixel(1 + x, 10), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1 + 3, 1 + (9 - 3)), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1 + 3, 1 + 2), qRgb(255, 255, 255));
}

TEST(ModuleGridImage, OptionalChunksAndTransparency)
{
    ImageHolder h{ImageNew(3, 2, 3)};
    ASSERT_NE(h.img, nullptr);
    h.img->palette[0] = 0x00102030;
    h.img->palette[1] = 0x80405060;
    h.img->palette[2] = 0xFF708090;
    {
        const auto cs = chunks(ImagePNGData(h.img, 1, 0, "", 9));
        EXPECT_EQ(types(cs), (QStringList{"IHDR", "PLTE", "bKGD", "tRNS", "IDAT", "IEND"}));
        EXPECT_EQ(cs[2].data, QByteArray::fromHex("01"));
        EXPECT_EQ(cs[3].data, QByteArray::fromHex("007f00"));   // index 0 made transparent
    }
    for (int transparent : {-1, 3, 99}) {
        // A background outside the palette is left out like a negative one.
        const auto cs = chunks(ImagePNGData(h.img, transparent == 3 ? 3 : -1, transparent, nullptr, 9));
        EXPECT_EQ(types(cs), (QStringList{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
        EXPECT_EQ(cs[2].data, QByteArray::fromHex("ff7f00"));
    }
}

TEST(ModuleGridImage, NoImageForZeroSize)
{
    EXPECT_EQ(ImageNew(0, 5, 2), nullptr);
    EXPECT_EQ(ImageNew(5, 0, 2), nullptr);
    EXPECT_EQ(ImageNew(-1, 5, 2), nullptr);
    EXPECT_EQ(ImageNew(5, 5, 257), nullptr);
    ImageHolder noPalette{ImageNew(4, 4, 0)};
    ASSERT_NE(noPalette.img, nullptr);
    EXPECT_EQ(noPalette.img->palette, nullptr);
    ImageFree(nullptr);
    EXPECT_EQ(ImageFromModuleGrid(nullptr, 3, 3, 1, false), nullptr);
    EXPECT_LT(ImageWritePNGz(nullptr, 1, -1, -1, "", 9), 0);
    ImageHolder small{ImageNew(4, 4, 2)};
    ASSERT_NE(small.img, nullptr);
    EXPECT_LT(ImageWritePNGz(small.img, -1, -1, -1, "", 9), 0);        // bad descriptor is reported
    // A palette PNG without a palette would be invalid: nothing is written.
    EXPECT_TRUE(ImagePNGData(noPalette.img, -1, -1, "", 9).isEmpty());
    {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("none.png"));
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        EXPECT_LT(ImageWritePNGz(noPalette.img, fd, -1, -1, "", 0), 0);
        ::close(fd);
        EXPECT_EQ(QFileInfo(path).size(), 0);
    }
    ImageRect(noPalette.img, -10, -10, 100, 100, 7);                   // clipped
    EXPECT_EQ(*ImagePixel(noPalette.img, 3, 3), 7);
}

TEST(ModuleGridImage, StoredAndCompressedFilesPassPngcheckAndLoad)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<unsigned char> grid(37 * 23);
    for (size_t i = 0; i < grid.size(); ++i)
        grid[i] = (i * 7 + i / 37) % 3 == 0;
    for (int level : {0, 1, 9}) {
        ImageHolder h{ImageFromModuleGrid(grid.data(), 37, 23, 3, false)};
        ASSERT_NE(h.img, nullptr);
        const QString path = dir.filePath(QStringLiteral("g%1.png").arg(level));
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const long n = ImageWritePNGz(h.img, fd, 0, -1, "grid", level);
        ::close(fd);
        EXPECT_EQ(n, QFileInfo(path).size());
        if (level == 0) {
            const auto cs = chunks(ImagePNGData(h.img, -1, -1, "", 0));
            ASSERT_EQ(cs.size(), 5u);
            EXPECT_EQ(cs[3].data.size(), h.img->height * (h.img->lineLength + 5) + 6);
        }
        QImage img(path);
        ASSERT_FALSE(img.isNull()) << level;
        EXPECT_EQ(img.size(), QSize(37 * 3 + 2, 23 * 3 + 2));
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(img.pixel(1 + 3 * x + 1, 1 + 3 * y + 1), grid[y * 37 + x] ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        ASSERT_TRUE(testsupport::Tool_Available("pngcheck")) << "pngcheck missing";
        {
            const auto r = testsupport::Run_Tool("pngcheck", {"-q", path});
            EXPECT_EQ(r.exitCode, 0) << r.out.constData() << r.err.constData();
        }
    }
}

TEST(ModuleGridImage, DataMatrixGridIsReadBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray cases[] = {QByteArray("Zorv Label 0123456789"), QByteArray("https://example.org/a?b=c&d=e"),
                                QByteArray("LOT 42 / 2024-06")};
    int n = 0;
    for (const QByteArray& text : cases) {
        for (int square : {0, 1}) {
            int w = 0, h = 0;
            if (square) {
                w = h = 32;
            }
            char* encoding = nullptr;
            QByteArray copy = text;
            unsigned char* g = iec16022ecc200(&w, &h, &encoding, int(copy.size()),
                                              reinterpret_cast<unsigned char*>(copy.data()), nullptr, nullptr, nullptr);
            if (!g)
                std::free(encoding);
            ASSERT_NE(g, nullptr) << n;
            const QString sub = dir.filePath(QString::number(n++));
            ASSERT_TRUE(QDir().mkpath(sub));
            const QString path = Write_Module_Grid_PNG(g, w, h, 6, true, text, sub);
            std::free(g);
            std::free(encoding);
            ASSERT_EQ(path, sub + "/DM.png");
            ASSERT_TRUE(testsupport::Tool_Available("pngcheck")) << "pngcheck missing";
            {
                const auto r = testsupport::Run_Tool("pngcheck", {"-q", path});
                EXPECT_EQ(r.exitCode, 0) << r.out.constData() << r.err.constData();
            }
            ASSERT_TRUE(testsupport::Tool_Available("dmtxread")) << "dmtxread missing";
            {
                // The file keeps a one-pixel border; give the reader a quiet zone.
                QImage img(path);
                ASSERT_FALSE(img.isNull());
                QImage framed(img.width() + 40, img.height() + 40, QImage::Format_RGB32);
                framed.fill(Qt::white);
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x)
                        framed.setPixel(x + 20, y + 20, img.pixel(x, y));
                const QString framedPath = sub + "/framed.png";
                ASSERT_TRUE(framed.save(framedPath));
                auto read = [](const QString& file) {
                    QByteArray out = testsupport::Dmtx_Decode(file);
                    if (out.endsWith('\n'))
                        out.chop(1);
                    return out;
                };
                EXPECT_EQ(read(path), text) << "as written, " << w << "x" << h;
                EXPECT_EQ(read(framedPath), text) << w << "x" << h;
            }
        }
    }
    EXPECT_FALSE(Module_Grid_Temp_Folder().isEmpty());
    EXPECT_TRUE(QDir(Module_Grid_Temp_Folder()).exists());
}

// Writers of the same folder at once: every path answered holds a whole
// picture of one of the grids, never a mixture or a cut file, and no stray
// file stays behind.
TEST(ModuleGridImage, WritersAtOnceEachLeaveAWholeFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::atomic<int> whole{0}, broken{0};
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&, t] {
            const int side = 10 + 4 * t;
            std::vector<unsigned char> grid(size_t(side * side));
            for (size_t i = 0; i < grid.size(); ++i)
                grid[i] = (i + size_t(t)) % 3 == 0;
            for (int k = 0; k < 15; ++k) {
                const QString path = Write_Module_Grid_PNG(grid.data(), side, side, 3, false, "x", dir.path());
                const QImage img(path);
                const bool ok = !path.isEmpty() && !img.isNull() && img.width() % 3 == 2 &&
                                (img.width() - 2) / 3 >= 10 && img.width() == img.height();
                (ok ? whole : broken)++;
            }
        });
    for (std::thread& w : writers)
        w.join();
    EXPECT_EQ(broken.load(), 0);
    EXPECT_EQ(whole.load(), 60);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"DM.png"});
}
