// QR symbols read back by a real decoder: every version at every level,
// every mask, text in several scripts, the rendered image, encrypted bytes.
#include "barcode/engines/qr/QREncoder.h"
#include "barcode/engines/qr/QR_Encode.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>
#include <vector>

using namespace qr;

namespace {

// Decodes several image files with one decoder run; file path -> bytes of
// the first QR symbol found in it.
QMap<QString, QByteArray> DecodeFiles(const QStringList& paths)
{
    QMap<QString, QByteArray> result;
    const testsupport::ToolResult r =
        testsupport::Run_Tool(QStringLiteral("ZXingReader"), QStringList{"-format", "QRCode"} + paths);
    QString current;
    for (const QByteArray& rawLine : r.out.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith("File:")) {
            current = QString::fromUtf8(line.mid(5).trimmed());
        } else if (line.startsWith("Bytes:") && !current.isEmpty() && !result.contains(current)) {
            result.insert(current, QByteArray::fromHex(line.mid(6).trimmed().replace(' ', "")));
        }
    }
    return result;
}

QImage GridImage(const DataMatrix& grid, int modulePx)
{
    const int n = int(grid.dimension());
    std::vector<unsigned char> cells(size_t(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            cells[size_t(y) * n + x] = grid.valueAt(x, y) ? 1 : 0;
    return testsupport::Grid_To_Image(cells.data(), n, n, modulePx, 4);
}

enum class Kind { Numeric, Alphanumeric, Bytes, Utf8 };

const char* KindName(Kind k)
{
    switch (k) {
    case Kind::Numeric: return "numeric";
    case Kind::Alphanumeric: return "alphanumeric";
    case Kind::Bytes: return "bytes";
    default: return "UTF-8";
    }
}

// `n` units of content of a kind, as the bytes the encoder receives.
QByteArray Content(Kind kind, int n, int seed)
{
    QByteArray out;
    unsigned state = 2463534242u + unsigned(seed) * 7919u;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    static const char kAlnum[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    static const QString kText = QString::fromUtf8(
        "二维码测试中文字符漢字とひらがなカタカナの文章 QR-2024 東京 北京 123 Zorv label ");
    switch (kind) {
    case Kind::Numeric:
        for (int i = 0; i < n; ++i)
            out += char('0' + next() % 10);
        break;
    case Kind::Alphanumeric:
        for (int i = 0; i < n; ++i)
            out += kAlnum[next() % 45];
        break;
    case Kind::Bytes:
        for (int i = 0; i < n; ++i)
            out += char(next() & 0xFF);  // any byte, zero included
        break;
    case Kind::Utf8: {
        QString s;
        for (int i = 0; i < n; ++i)
            s += kText.at(int((i + seed) % kText.size()));
        out = s.toUtf8();
        break;
    }
    }
    return out;
}

// The longest content of a kind that still fits version `version`: it needs
// exactly that version and fills it.
QByteArray FillVersion(Kind kind, int level, int version, int seed)
{
    auto e = std::make_unique<CQR_Encode>();
    e->m_nLevel = level;
    auto fits = [&](int n) {
        const QByteArray c = Content(kind, n, seed);
        const int64_t v = e->GetEncodeVersion(0, c.constData(), c.size());
        return v != 0 && v <= version;
    };
    int lo = 1, hi = 7100;  // fits(lo), !fits(hi)
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    return Content(kind, lo, seed);
}

struct Symbol {
    QString path;
    QByteArray expected;
    QString label;
};

void ExpectAllRead(const std::vector<Symbol>& symbols)
{
    QStringList paths;
    for (const Symbol& s : symbols)
        paths << s.path;
    const QMap<QString, QByteArray> read = DecodeFiles(paths);
    for (const Symbol& s : symbols) {
        ASSERT_TRUE(read.contains(s.path)) << "not read: " << s.label.toStdString();
        EXPECT_EQ(read.value(s.path), s.expected) << s.label.toStdString();
    }
}

class QrRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::Tool_Available(QStringLiteral("ZXingReader")))
            FAIL() << "ZXingReader is not installed";
        ASSERT_TRUE(dir.isValid());
    }
    QString Save(const QImage& image, const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

// Every version 1-40 at every level, each symbol filled to its capacity, the
// content kind changing from symbol to symbol.
TEST_F(QrRoundTrip, EveryVersionAtEveryLevel)
{
    const Kind kinds[] = {Kind::Numeric, Kind::Alphanumeric, Kind::Bytes, Kind::Utf8};
    for (int level = 0; level < 4; ++level) {
        std::vector<Symbol> symbols;
        for (int version = 1; version <= 40; ++version) {
            const Kind kind = kinds[(version + level) % 4];
            const QByteArray data = FillVersion(kind, level, version, version * 4 + level);
            const auto grid = QREncoder::encodeBytesWithECLevel(level, 0, data);
            const QString label = QStringLiteral("level %1 version %2 %3 (%4 bytes)")
                                      .arg(level).arg(version).arg(KindName(kind)).arg(data.size());
            ASSERT_TRUE(grid) << label.toStdString();
            ASSERT_EQ(grid->dimension(), 4 * version + 17) << label.toStdString();
            const QString path = Save(GridImage(*grid, version <= 20 ? 4 : 3),
                                      QStringLiteral("l%1v%2.png").arg(level).arg(version));
            symbols.push_back({path, data, label});
        }
        ExpectAllRead(symbols);
    }
}

TEST_F(QrRoundTrip, EveryMask)
{
    std::vector<Symbol> symbols;
    const QByteArray data = QByteArrayLiteral("Mask test 0123456789 ABCDEF");
    for (int mask = 0; mask < 8; ++mask) {
        for (int version : {2, 9}) {
            auto e = std::make_unique<CQR_Encode>();
            ASSERT_TRUE(e->EncodeData(mask % 4, version, true, mask, data.constData(), data.size()));
            EXPECT_EQ(e->m_nMaskingNo, mask);
            const auto grid = QREncoder::encodeBytesWithECLevel(mask % 4, version, data, mask);
            ASSERT_TRUE(grid);
            const QString path = Save(GridImage(*grid, 4), QStringLiteral("m%1v%2.png").arg(mask).arg(version));
            symbols.push_back({path, data, QStringLiteral("mask %1 version %2").arg(mask).arg(version)});
        }
    }
    ExpectAllRead(symbols);
}

// Texts through the facade, the symbol image as rendered, Shift JIS Kanji and
// encrypted bytes.
TEST_F(QrRoundTrip, TextsImagesAndCipher)
{
    std::vector<Symbol> symbols;
    const QString texts[] = {
        QString::fromUtf8("二维码是一种矩阵式条码，广泛用于移动支付。"),
        QString::fromUtf8("日本語のテキスト：漢字、ひらがな、カタカナ。"),
        QString::fromUtf8("Ünïcödé ✓ — mixed 12345678901234567890 ABC"),
        QStringLiteral("HTTPS://EXAMPLE.COM/PATH?Q=1"),
        QString(4000, QLatin1Char('9')),
    };
    int index = 0;
    for (const QString& text : texts) {
        for (int level : {0, 3}) {
            const auto grid = QREncoder::encodeWithECLevel_version_string(level, -1, text);
            if (!grid) {
                // 4000 digits need more than level H offers.
                EXPECT_EQ(level, 3);
                EXPECT_EQ(text.size(), 4000);
                continue;
            }
            const QString path = Save(GridImage(*grid, 3), QStringLiteral("t%1.png").arg(index++));
            symbols.push_back({path, text.toUtf8(), text.left(20) + QStringLiteral(" level %1").arg(level)});
        }
    }

    // Shift JIS bytes use Kanji mode and come back as the same bytes.
    const QByteArray sjis("\x93\xfa\x96\x7b\x8c\xea ABC \x8a\xbf\x8e\x9a");
    auto grid = QREncoder::encodeBytesWithECLevel(1, 0, sjis);
    ASSERT_TRUE(grid);
    symbols.push_back({Save(GridImage(*grid, 4), QStringLiteral("sjis.png")), sjis, QStringLiteral("Shift JIS")});

    // The rendered symbol image, laid on white with a quiet zone.
    grid = QREncoder::encodeWithECLevel_version_string(2, 0, QStringLiteral("Rendered image 42"));
    ASSERT_TRUE(grid);
    const PtImage symbol = Render_QR_Grid(*grid, 301, 300.0);
    ASSERT_FALSE(symbol.isNull());
    QImage canvas(symbol.raster().width() + 200, symbol.raster().height() + 200, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.drawImage(100, 100, symbol.raster());
    }
    symbols.push_back({Save(canvas, QStringLiteral("rendered.png")), QByteArray("Rendered image 42"),
                       QStringLiteral("rendered")});

    // A cipher text with a zero byte is encoded whole.
    QByteArray cipher;
    QString passphrase;
    for (int i = 0; i < 1000 && !cipher.contains('\0'); ++i) {
        passphrase = QStringLiteral("key %1").arg(i);
        cipher = QREncoder::AESEncryptString(QStringLiteral("Secret message for the QR symbol"), passphrase).value();
    }
    ASSERT_TRUE(cipher.contains('\0'));
    grid = QREncoder::encodeWithECLevel_version_string_AESPassphrase(
        1, 0, QStringLiteral("Secret message for the QR symbol"), passphrase);
    ASSERT_TRUE(grid);
    symbols.push_back({Save(GridImage(*grid, 4), QStringLiteral("aes.png")), cipher, QStringLiteral("cipher")});

    ExpectAllRead(symbols);
    EXPECT_EQ(QREncoder::AESDecryptString(cipher, passphrase).value(),
              QStringLiteral("Secret message for the QR symbol"));
}
