// PDF417 symbols read back by a real decoder, and the symbol view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <vector>

#include "barcode/engines/pdf417/Pdf417.h"
#include "barcode/engines/pdf417/pdf417View.h"
#include "common/TestSupport.h"

using namespace pdf417;
using testsupport::ZXing_Decode;

namespace {

QByteArray makeData(int kind, int len, QRandomGenerator& rng)
{
    QByteArray d(len, '\0');
    static const char textChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 &\r\t,:#-.$/+%*=^;<>@[\\]_`~!\n\"|()?{}'";
    for (int i = 0; i < len; ++i) {
        switch (kind) {
        case 0: d[i] = textChars[rng.bounded(int(sizeof(textChars) - 1))]; break;
        case 1: d[i] = char('0' + rng.bounded(10)); break;
        default: d[i] = char(rng.bounded(256)); break;
        }
    }
    return d;
}

// Encodes as the view does (own level, rows and columns from the ratio).
bool encode(pdf417param& p, const QByteArray& data, int level)
{
    pdf417init(&p);
    p.text = data.constData();
    p.lenText = int(data.size());
    p.options = PDF417_USE_ERROR_LEVEL;
    p.errorLevel = level;
    p.aspectRatio = 1.0f;
    paintCode(&p);
    return p.error == 0;
}

// The bit matrix as a picture: 2 pixels a module, rows 3 modules high.
QImage symbolImage(const pdf417param& p)
{
    const int bytesPerRow = p.lenBits / p.codeRows;
    std::vector<unsigned char> grid(size_t(p.bitColumns) * p.codeRows * 3);
    for (int r = 0; r < p.codeRows; ++r)
        for (int x = 0; x < p.bitColumns; ++x) {
            const unsigned char bit = (p.outBits[r * bytesPerRow + x / 8] >> (7 - x % 8)) & 1;
            for (int k = 0; k < 3; ++k)
                grid[size_t(r * 3 + k) * p.bitColumns + x] = bit;
        }
    return testsupport::Grid_To_Image(grid.data(), p.bitColumns, p.codeRows * 3, 2, 4);
}

// The longest input of a kind that still fits at a level.
int largestFitting(const QByteArray& pool, int level)
{
    int lo = 1, hi = MAX_TEXT;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        pdf417param p;
        const bool ok = encode(p, pool.left(mid), level);
        pdf417free(&p);
        if (ok)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

} // namespace

TEST(Pdf417RoundTrip, DecoderReadsEveryKindSizeAndLevel)
{
    if (!testsupport::Tool_Available("ZXingReader"))
        FAIL() << "ZXingReader not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int decodes = 0;
    for (int kind = 0; kind < 3; ++kind) {
        for (int level = 0; level <= 8; ++level) {
            QRandomGenerator dataRng(kind * 100 + level);
            const QByteArray pool = makeData(kind, MAX_TEXT, dataRng);
            const int largest = largestFitting(pool, level);
            QRandomGenerator rng(1000 + kind * 10 + level);
            // Sizes: 1 byte, the largest that fits, and two between.
            std::vector<int> sizes = {1, largest};
            if (level % 3 == kind % 3)
                sizes.push_back(int(rng.bounded(2, largest)));
            if (level == 2 || level == 5)
                sizes.push_back(int(rng.bounded(2, 60)));
            for (int size : sizes) {
                const QByteArray data = pool.left(size);
                pdf417param p;
                ASSERT_TRUE(encode(p, data, level)) << kind << ' ' << level << ' ' << size;
                const QImage img = symbolImage(p);
                pdf417free(&p);
                const QString path = dir.filePath(QStringLiteral("s%1_%2_%3.png").arg(kind).arg(level).arg(size));
                ASSERT_TRUE(img.save(path));
                EXPECT_EQ(ZXing_Decode(path, "PDF417"), data) << "kind " << kind << " level " << level << " size " << size;
                ++decodes;
            }
        }
    }
    EXPECT_LT(decodes, 200);
}

TEST(Pdf417RoundTrip, MixedTextAndBytes)
{
    if (!testsupport::Tool_Available("ZXingReader"))
        FAIL() << "ZXingReader not installed";
    QTemporaryDir dir;
    const std::vector<QByteArray> cases = {
        QByteArray("Caf\xe9 au lait, 3.50 EUR"),
        QByteArray("Order 12345678901234567890 shipped; ref #A-77"),
        QByteArray("lower UPPER mixed 123 punct;<>@ back to ABC\x01" "def"),
        QByteArray("\x80\x81\x82\x83\x84\x85" "then text follows here" "\xff\xfe"),
        QByteArray("1234567"),
        QByteArray("12345678"),
        QByteArray("a;;;b"),
        QByteArray("x\x01y"),
    };
    int n = 0;
    for (const QByteArray& data : cases) {
        pdf417param p;
        ASSERT_TRUE(encode(p, data, 2));
        const QImage img = symbolImage(p);
        pdf417free(&p);
        const QString path = dir.filePath(QStringLiteral("m%1.png").arg(n++));
        ASSERT_TRUE(img.save(path));
        EXPECT_EQ(ZXing_Decode(path, "PDF417"), data) << data.toHex().constData();
    }
}

TEST(Pdf417View, ImageStatesAndSize)
{
    pdf417View view(QSizeF(300, 100));
    BarcodeSettings s;
    s.USED_DPI_VALUE = 144;
    EXPECT_EQ(view.imageState(), pdf417View::NothingToShow);
    EXPECT_EQ(view.getErrorLevel(), 2);

    EXPECT_EQ(view.drawWithText(QString(), s), 1);
    EXPECT_TRUE(view.getImage().isNull());

    ASSERT_EQ(view.drawWithText(QStringLiteral("ABCDE"), s), 0);
    EXPECT_EQ(view.param().codeRows, 12);
    EXPECT_EQ(view.param().bitColumns, 86);
    const PtImage img = view.getImage();
    EXPECT_EQ(img.size(), QSizeF(300, 100));
    // At 144 dpi a module of 300 / 86 points is round(6.98) = 7 pixels and a
    // row of 100 / 12 points round(16.7) = 17, the same for all.
    EXPECT_EQ(img.raster().width(), 86 * 7);
    EXPECT_EQ(img.raster().height(), 12 * 17);

    // While typing, one pixel a point, whole pixels a module and a row.
    s.Type_draw_2d_flag = true;
    ASSERT_EQ(view.drawWithText(QStringLiteral("ABCDE"), s), 0);
    EXPECT_EQ(view.getImage().raster().size(), QSize(86 * 3, 12 * 8));
    EXPECT_EQ(view.getImage().size(), QSizeF(300, 100));
    // Row 0 is black at the start pattern, and white after its 8 bar modules.
    const QImage raster = view.getImage().raster().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(raster.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(raster.pixel(8 * 3 - 1, 7), qRgb(0, 0, 0));
    EXPECT_EQ(raster.pixel(8 * 3, 0), qRgb(255, 255, 255));

    // Too long: failure state, the last image stays.
    EXPECT_EQ(view.drawWithText(QString(5421, QLatin1Char('A')), s), 2);
    EXPECT_FALSE(view.getImage().isNull());
    // Characters outside Latin-1 are refused.
    EXPECT_EQ(view.drawWithText(QStringLiteral("\u20ac"), s), 2);

    // A level above what fits is lowered, a negative one becomes 0.
    view.setErrorLevel(12);
    ASSERT_EQ(view.drawWithText(QString(400, QLatin1Char('Z')), s), 0);
    EXPECT_LE(view.param().errorLevel, 8);
    view.setErrorLevel(-3);
    ASSERT_EQ(view.drawWithText(QString(800, QLatin1Char('z')), s), 0);
    EXPECT_GE(view.param().errorLevel, 0);

    // Painting each state.
    QImage canvas(100, 40, QImage::Format_RGB32);
    QPainter painter(&canvas);
    view.drawRect(painter, QRectF(0, 0, 100, 40));
    EXPECT_FALSE(view.makeEPS().isEmpty());
    pdf417View empty;
    empty.drawRect(painter, QRectF(0, 0, 100, 40));
    EXPECT_EQ(canvas.pixel(50, 20), QColor(Qt::lightGray).rgb());
}

TEST(Pdf417View, HugeImageIsRefusedWithItsReason)
{
    pdf417View view(QSizeF(4000, 4000));
    BarcodeSettings s;
    s.USED_DPI_VALUE = 100000;   // limited to 2400: far more pixels than a symbol image may have
    EXPECT_EQ(view.drawWithText(QStringLiteral("limit"), s), pdf417View::EncodingFailed);
    EXPECT_TRUE(view.refusedReason().contains(QStringLiteral("2400 DPI")));
    // The same frame at a resolution that fits gives an image.
    view.setFrameSize(QSizeF(400, 100));
    s.USED_DPI_VALUE = 600;
    ASSERT_EQ(view.drawWithText(QStringLiteral("limit"), s), pdf417View::ImageReady);
    EXPECT_TRUE(view.refusedReason().isEmpty());
    // Whole pixels a module, the same for all (at least one).
    const int cols = view.param().bitColumns;
    EXPECT_EQ(view.getImage().raster().width(), cols * std::max(1, int(std::lround(400.0 / cols * 600.0 / 72.0))));
}

TEST(Pdf417View, ViewImageIsReadBack)
{
    if (!testsupport::Tool_Available("ZXingReader"))
        FAIL() << "ZXingReader not installed";
    QTemporaryDir dir;
    pdf417View view(QSizeF(240, 120));
    BarcodeSettings s;
    s.USED_DPI_VALUE = 300;
    const QString value = QStringLiteral("Zorv Label \u00e9t\u00e9 2024-06-01");
    ASSERT_EQ(view.drawWithText(value, s), 0);
    const QImage sym = view.getImage().raster().convertToFormat(QImage::Format_RGB32);
    QImage framed(sym.width() + 80, sym.height() + 80, QImage::Format_RGB32);
    framed.fill(Qt::white);
    QPainter(&framed).drawImage(40, 40, sym);
    const QString path = dir.filePath("view.png");
    ASSERT_TRUE(framed.save(path));
    EXPECT_EQ(ZXing_Decode(path, "PDF417"), value.toLatin1());
}
