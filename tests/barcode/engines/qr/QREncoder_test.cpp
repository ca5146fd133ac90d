// The QR facade: module grids, the symbol image, encryption, colours.
#include "barcode/engines/qr/QREncoder.h"

#include "core/util/BarcodeSettings.h"

#include <gtest/gtest.h>

#include <utility>

#include <QColor>
#include <QImage>

#include <cmath>

namespace {

DataMatrix Checker(int n)
{
    DataMatrix m(n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            m.set(((x + y) & 1) == 0, x, y);
    return m;
}

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

Rgba PixelAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return {c.red(), c.green(), c.blue(), c.alpha()};
}

const Rgba kDark{0, 0, 0, 255};
const Rgba kLight{255, 255, 255, 255};

} // namespace

TEST(DataMatrixGrid, CellsAndDescription)
{
    DataMatrix m(3);
    EXPECT_EQ(m.dimension(), 3);
    m.set(true, 2, 0);
    m.set(true, 0, 1);
    m.set(true, 7, 7);    // outside: ignored
    m.set(true, -1, 0);   // outside: ignored
    EXPECT_TRUE(m.valueAt(2, 0));
    EXPECT_FALSE(m.valueAt(0, 2));
    EXPECT_FALSE(m.valueAt(3, 0));
    EXPECT_EQ(m.description(), QStringLiteral("001\n100\n000\n"));
    EXPECT_EQ(DataMatrix(-5).dimension(), 0);
    EXPECT_EQ(DataMatrix(100000).dimension(), 177);
}

TEST(QrFacade, EncodesTextWithSmallestVersion)
{
    for (int version : {0, -1}) {
        auto grid = QREncoder::encodeWithECLevel_version_string(1, version, QStringLiteral("01234567"));
        ASSERT_TRUE(grid);
        EXPECT_EQ(grid->dimension(), 21);
    }
    // A version that is too small is raised, never refused.
    auto grid = QREncoder::encodeWithECLevel_version_string(3, 1, QString(200, QLatin1Char('q')));
    ASSERT_TRUE(grid);
    EXPECT_GT(grid->dimension(), 21);
    // A larger version is kept.
    grid = QREncoder::encodeWithECLevel_version_string(0, 7, QStringLiteral("A"));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->dimension(), 45);
    // Finder pattern in the corner: a dark ring with a light ring inside.
    EXPECT_TRUE(grid->valueAt(0, 0));
    EXPECT_TRUE(grid->valueAt(6, 6));
    EXPECT_FALSE(grid->valueAt(1, 1));
    EXPECT_TRUE(grid->valueAt(3, 3));
    EXPECT_FALSE(grid->valueAt(7, 7));
}

TEST(QrFacade, FailuresGiveNoGrid)
{
    EXPECT_FALSE(QREncoder::encodeWithECLevel_version_string(1, 0, QString()));
    EXPECT_FALSE(QREncoder::encodeWithECLevel_version_string(0, 0, QString(2954, QLatin1Char('a'))));
    EXPECT_FALSE(QREncoder::encodeWithECLevel_version_string(7, 0, QStringLiteral("x")));
    EXPECT_FALSE(QREncoder::encodeWithECLevel_version_string(0, 41, QStringLiteral("x")));
    EXPECT_FALSE(QREncoder::encodeCStringWithECLevel(0, 0, nullptr));
    EXPECT_FALSE(QREncoder::encodeBytesWithECLevel(0, 0, QByteArray()));
    EXPECT_FALSE(QREncoder::encodeBytesWithECLevel(0, 0, QByteArray("x"), 9));
    // Text up to a NUL character.
    auto grid = QREncoder::encodeWithECLevel_version_string(0, 0, QString::fromUtf8("ab\0cd", 5));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->dimension(), 21);
}

TEST(QrImage, ModuleSizeAndMargins)
{
    struct Case {
        int side, module, topLeft, bottomRight;
    } const cases[] = {
        {100, 4, 8, 8},
        {101, 4, 8, 9},
        {21, 1, 0, 0},
        {84, 4, 0, 0},
        {200, 9, 5, 6},
    };
    const DataMatrix grid = Checker(21);
    for (const Case& c : cases) {
        const PtImage image = Render_QR_Grid(grid, c.side, 0.0);
        ASSERT_FALSE(image.isNull()) << c.side;
        const QImage& px = image.raster();
        ASSERT_EQ(px.width(), c.side);
        ASSERT_EQ(px.height(), c.side);
        EXPECT_EQ(image.size(), QSizeF(c.side, c.side));
        const int m = c.topLeft, s = c.module;
        // Corners of the margin are transparent.
        if (m > 0) {
            EXPECT_EQ(PixelAt(px, 0, 0).a, 0);
            EXPECT_EQ(PixelAt(px, m - 1, m - 1).a, 0);
        }
        if (c.bottomRight > 0) {
            EXPECT_EQ(PixelAt(px, c.side - 1, c.side - 1).a, 0);
            EXPECT_EQ(PixelAt(px, c.side - c.bottomRight, c.side - c.bottomRight).a, 0);
        }
        // Module (0, 0) is dark, (1, 0) light, each s pixels wide.
        EXPECT_EQ(PixelAt(px, m, m), kDark) << c.side;
        EXPECT_EQ(PixelAt(px, m + s - 1, m + s - 1), kDark) << c.side;
        EXPECT_EQ(PixelAt(px, m + s, m), kLight) << c.side;
        EXPECT_EQ(PixelAt(px, m, m + s), kLight) << c.side;
        // The last module of the grid ends where the bottom-right margin starts.
        EXPECT_EQ(PixelAt(px, m + 21 * s - 1, m + 21 * s - 1), kDark) << c.side;
    }
}

// A side smaller than the grid gets one pixel a module.
TEST(QrImage, TooSmallSideGetsOnePixelPerModule)
{
    const DataMatrix grid = Checker(25);
    for (int side : {24, 10, 1}) {
        const PtImage image = Render_QR_Grid(grid, side, 0.0);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.raster().width(), 25);
        EXPECT_EQ(PixelAt(image.raster(), 0, 0), kDark);
        EXPECT_EQ(PixelAt(image.raster(), 1, 0), kLight);
    }
    EXPECT_TRUE(Render_QR_Grid(grid, 0, 0.0).isNull());
    EXPECT_TRUE(Render_QR_Grid(grid, -3, 0.0).isNull());
    EXPECT_TRUE(Render_QR_Grid(DataMatrix(0), 100, 0.0).isNull());
    EXPECT_TRUE(QREncoder::renderDataMatrix(nullptr, 100, 0.0).isNull());
    // Over the pixels a symbol image may have: refused, and the reason says
    // what to change.
    QString refused;
    EXPECT_TRUE(Render_QR_Grid(grid, 10001, 0.0, &refused).isNull());
    EXPECT_TRUE(refused.contains(QStringLiteral("lower DPI")));
    EXPECT_TRUE(Render_QR_Grid(grid, 500, 600.0).isNull());
    EXPECT_FALSE(Render_QR_Grid(grid, 400, 600.0).isNull());
}

TEST(QrImage, MadeAtTheResolutionItIsGiven)
{
    const auto grid = QREncoder::encodeWithECLevel_version_string(1, 0, QStringLiteral("01234567"));
    ASSERT_TRUE(grid);
    const int n = int(grid->dimension());

    PtImage image = QREncoder::renderDataMatrix(grid.get(), 100, 600.0);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSizeF(100, 100));
    // Every module the same whole number of pixels: 4 points a module is
    // round(33.3) = 33 pixels, the 8-point margins 67 pixels each: 827 pixels,
    // not the 834 that 100 points make at 600 DPI.
    EXPECT_EQ(image.raster().width(), 67 + 33 * n + 67);
    EXPECT_EQ(image.raster().height(), 67 + 33 * n + 67);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{32, 32}, std::pair{0, 32}})
                EXPECT_EQ(PixelAt(image.raster(), 67 + 33 * x + dx, 67 + 33 * y + dy),
                          grid->valueAt(x, y) ? kDark : kLight) << x << "," << y;

    EXPECT_EQ(QREncoder::renderDataMatrix(grid.get(), 100, 300.0).raster().width(), 33 + 17 * n + 33);
    // A DPI above 2400 is brought into the range; 0 means one pixel a point.
    EXPECT_EQ(QREncoder::renderDataMatrix(grid.get(), 100, 100000.0).raster().width(), 267 + 133 * n + 267);
    image = QREncoder::renderDataMatrix(grid.get(), 100, 0.0);
    EXPECT_EQ(image.raster().width(), 100);
    EXPECT_EQ(image.size(), QSizeF(100, 100));
}

TEST(QrImage, SymbolImageForTheGenerationRoad)
{
    BarcodeSettings settings;
    settings.USED_DPI_VALUE = 300;
    PtImage image = QR_Symbol_Image(QStringLiteral("HELLO"), 2, -1, 72, settings);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSizeF(72, 72));
    // 21 modules of 3 points at 300 DPI: 12.5 pixels, rounded to 13 each; the
    // margins of 4 and 5 points 17 and 21 pixels.
    EXPECT_EQ(image.raster().width(), 17 + 13 * 21 + 21);
    // While the user types: one pixel a point.
    settings.Type_draw_2d_flag = true;
    image = QR_Symbol_Image(QStringLiteral("HELLO"), 2, -1, 72, settings);
    EXPECT_EQ(image.raster().width(), 72);
    EXPECT_TRUE(QR_Symbol_Image(QString(), 2, -1, 72, settings).isNull());
    QString why;
    EXPECT_TRUE(QR_Symbol_Image(QString(3000, QLatin1Char('x')), 3, -1, 72, settings, &why).isNull());
    EXPECT_TRUE(why.contains(QStringLiteral("too long")));
}

TEST(QrCrypto, RoundTripAndFailures)
{
    const QString texts[] = {QStringLiteral("hello"), QString(), QStringLiteral("0123456789abcdef"),
                             QString::fromUtf8("漢字とカナ — ünïcødé")};
    for (const QString& text : texts) {
        const auto cipher = QREncoder::AESEncryptString(text, QStringLiteral("secret"));
        ASSERT_TRUE(cipher.has_value());
        // PKCS#7 always pads: a whole number of blocks, at least one more byte.
        EXPECT_EQ(cipher->size() % 16, 0);
        EXPECT_GT(cipher->size(), text.toUtf8().size());
        const auto plain = QREncoder::AESDecryptString(*cipher, QStringLiteral("secret"));
        ASSERT_TRUE(plain.has_value());
        EXPECT_EQ(*plain, text);
        // Another key does not give the text back.
        const auto wrong = QREncoder::AESDecryptString(*cipher, QStringLiteral("secreT"));
        EXPECT_TRUE(!wrong.has_value() || *wrong != text);
    }
    // AES-256-CBC, zero IV, key zero-filled: one known block.
    const auto known = QREncoder::AESEncryptString(QString(), QString());
    ASSERT_TRUE(known.has_value());
    EXPECT_EQ(known->toHex(), QByteArray("1f788fe6d86c317549697fbf0c07fa43"));

    const QString key32(32, QLatin1Char('k'));
    EXPECT_TRUE(QREncoder::AESEncryptString(QStringLiteral("x"), key32).has_value());
    EXPECT_FALSE(QREncoder::AESEncryptString(QStringLiteral("x"), key32 + QLatin1Char('k')).has_value());
    EXPECT_FALSE(QREncoder::AESDecryptString(QByteArray(16, 'a'), key32 + QLatin1Char('k')).has_value());
    EXPECT_FALSE(QREncoder::AESDecryptString(QByteArray("short"), QStringLiteral("k")).has_value());
}

TEST(QrColour, HexadecimalValue)
{
    EXPECT_EQ(QREncoder::hexadecimalValueOfAnNSColor(QColor(255, 0, 0)), 0xFFFF0000u);
    EXPECT_EQ(QREncoder::hexadecimalValueOfAnNSColor(QColor(0x12, 0x34, 0x56, 0x78)), 0x78123456u);
    EXPECT_EQ(QREncoder::hexadecimalValueOfAnNSColor(QColor(Qt::transparent)), 0x00000000u);
    EXPECT_EQ(QREncoder::hexadecimalValueOfAnNSColor(QColor::fromRgbF(0.5f, 0.5f, 0.5f, 1.0f)), 0xFF7F7F7Fu);
}
