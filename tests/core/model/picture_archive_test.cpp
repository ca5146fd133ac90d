// Pictures inside item and card archives: raster pictures travel as checked
// PNG bytes, barcode pictures are made again from the item's settings, and
// picture data that does not check is not taken.
#include "core/FakeMainWindow.h"
#include "core/model/BarcodeItemImage.h"
#include "core/model/Card_Property.h"
#include "core/model/KeyedArchive.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/model/LMNImage.h"
#include "platform/PictureData.h"
#include "platform/Plist.h"

#include <QBuffer>
#include <QPainter>
#include <QPicture>
#include <QPolygonF>
#include <QtEndian>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

struct PictureArchive : ::testing::Test {
    FakeMainWindow win;
    void SetUp() override
    {
        win.canvasBounds = QRectF(0, 0, 300, 300);
        Keyed_Archive_Forget_References();
    }
    void TearDown() override { Install_Barcode_Item_Road(nullptr, {}); }
};

template <class T>
void Put(QByteArray& d, T v)
{
    d.append(reinterpret_cast<const char*>(&v), sizeof(T));
}

// An archive of one image entry written by hand, in the layout of `version`.
QByteArray One_Image_Archive(quint8 version, const char* key, quint8 kind, const QByteArray& payload,
                             const QString& className = QStringLiteral("LMNBarcode"))
{
    QByteArray a("ZLKA");
    Put<quint8>(a, version);
    Put<quint8>(a, quint8(className.size()));
    a += className.toLatin1();
    Put<quint16>(a, 1);
    Put<quint8>(a, quint8(qstrlen(key)));
    a += key;
    Put<quint8>(a, KeyedUnarchiver::Image);
    Put<quint8>(a, kind);
    Put<double>(a, 40);
    Put<double>(a, 20);
    return a + payload;
}

QByteArray Pasteboard_Of(const QByteArray& archive)
{
    return Plist_Serialize(QVariantList{archive}, PlistFormat::Binary);
}

// 153 bytes of recorded painting whose one polygon claims 2^28 points: played
// by Qt's picture reader, it asks for 4 GB.
QByteArray Hostile_Picture_Bytes()
{
    QPicture pic;
    {
        QPainter p(&pic);
        QPolygonF poly;
        for (int i = 0; i < 7; ++i)
            poly << QPointF(1234.5 + i, 77.25);
        p.drawPolygon(poly);
    }
    QByteArray d(pic.data(), pic.size());
    const qsizetype at = d.indexOf(QByteArray("\x00\x00\x00\x07\x40\x93\x4a", 7));
    if (at < 0)
        return {};
    d[at] = 0x10;
    const quint16 cs = qChecksum(QByteArrayView(d.constData() + 6, d.size() - 6));
    d[4] = char(cs >> 8);
    d[5] = char(cs & 0xFF);
    return d;
}

// A small PNG whose header states another size (its checksum made right).
QByteArray Png_Stating(int width, int height)
{
    QImage img(4, 4, QImage::Format_ARGB32);
    img.fill(Qt::red);
    QByteArray png = Picture_To_Png(img);
    // Signature (8), IHDR length (4), "IHDR" (4), width, height.
    qToBigEndian<quint32>(quint32(width), png.data() + 16);
    qToBigEndian<quint32>(quint32(height), png.data() + 20);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17);
    qToBigEndian<quint32>(quint32(crc), png.data() + 29);
    return png;
}

// The picture is not taken: the paste gives the item without it, or nothing
// when the archive itself does not check.
void Expect_Paste_Refused(const QByteArray& data, const char* what)
{
    SCOPED_TRACE(what);
    LMNError err;
    int skipped = 0;
    const auto items = LMNGraphic::graphicsWithPasteboardData(data, &err, &skipped);
    // Drawing what was pasted is where a recorded picture would be played.
    for (const auto& item : items) {
        QImage out(60, 30, QImage::Format_ARGB32);
        QPainter p(&out);
        item->drawContentsInView(p, nullptr, false);
        EXPECT_TRUE(item->_contents.isNull());
        EXPECT_TRUE(item->_barcode_image.isNull());
    }
    EXPECT_EQ(items.size() + skipped, 1);
    EXPECT_EQ(err.code, 0);
}

TEST_F(PictureArchive, RecordedPaintingNeverTravels)
{
    const QByteArray hostile = Hostile_Picture_Bytes();
    ASSERT_FALSE(hostile.isEmpty());
    QByteArray payload;
    Put<quint32>(payload, quint32(hostile.size()));
    payload += hostile;
    // The earlier layout carried recorded painting; the current one has no such form.
    Expect_Paste_Refused(Pasteboard_Of(One_Image_Archive(1, "_barcode_image", 2, payload)), "layout 1");
    Expect_Paste_Refused(Pasteboard_Of(One_Image_Archive(2, "_barcode_image", 2, payload)), "layout 2, kind 2");
    Expect_Paste_Refused(Pasteboard_Of(One_Image_Archive(2, "_contents", 2, payload, "LMNImage")), "picture item");
}

TEST_F(PictureArchive, PngStatingAnAbsurdSizeIsRefusedBeforeDecoding)
{
    auto archive = [](const QByteArray& png) {
        QByteArray payload;
        Put<quint32>(payload, quint32(png.size()));
        return Pasteboard_Of(One_Image_Archive(2, "_contents", 3, payload + png, "LMNImage"));
    };
    // The well-formed PNG itself is read.
    EXPECT_EQ(LMNGraphic::graphicsWithPasteboardData(archive(Png_Stating(4, 4))).size(), 1);
    Expect_Paste_Refused(archive(Png_Stating(30000, 30000)), "900 million pixels");
    Expect_Paste_Refused(archive(Png_Stating(40000, 10)), "a side over 32767");
    Expect_Paste_Refused(archive(Png_Stating(4000, 4000)), "stated size the data does not hold");
    Expect_Paste_Refused(archive(QByteArray("GIF89a") + QByteArray(40, '\1')), "not PNG");
    EXPECT_TRUE(Picture_From_Data(Png_Stating(30000, 30000)).isNull());
}

TEST_F(PictureArchive, VectorPictureOfAPictureItemTravelsAsPixels)
{
    QPicture pic;
    {
        QPainter p(&pic);
        p.fillRect(QRectF(0, 0, 15, 10), Qt::black);
    }
    LMNImage item;
    item._contents = PtImage(pic, QSizeF(30, 10));
    const QByteArray a = item.encodeWithCoder();
    EXPECT_TRUE(a.contains("\x89PNG"));
    auto back = LMNGraphic::initWithCoder(a);
    ASSERT_TRUE(back);
    ASSERT_FALSE(back->_contents.isVector());
    EXPECT_EQ(back->_contents.size(), QSizeF(30, 10));
    EXPECT_EQ(back->_contents.raster().size(), QSize(125, 42));   // 300 dpi
    EXPECT_EQ(back->_contents.raster().pixelColor(10, 20), QColor(Qt::black));
    EXPECT_EQ(back->_contents.raster().pixelColor(110, 20).alpha(), 0);
}

struct Road_Call {
    BarcodeSettings settings;
    QString value, header, footer;
};

TEST_F(PictureArchive, BarcodePictureIsMadeAgainWhenThisProcessDoesNotHoldIt)
{
    std::vector<Road_Call> calls;
    QImage made(12, 6, QImage::Format_RGB32);
    made.fill(Qt::green);
    Install_Barcode_Item_Road(
        [&](const BarcodeSettings& s, const QString& v, const QString& h, const QString& f) {
            calls.push_back({s, v, h, f});
            return PtImage(made, QSizeF(24, 12));
        },
        {"Code 39", "EAN-13", "QR Code"});

    LMNBarcode bar;
    bar.init();
    bar._bounds = QRectF(5, 5, 30, 10);
    QPicture drawn;
    {
        QPainter p(&drawn);
        p.fillRect(QRectF(0, 0, 30, 10), Qt::black);
    }
    bar._barcode_image = PtImage(drawn, QSizeF(30, 10));
    bar.barcode_font_index = 2;
    bar.linear_or_2d = 1;
    bar.two_d_font_val = "two d";
    bar.linear_font_val = "linear";
    bar.header_val = "head";
    bar.footer_val = "foot";
    bar.show_hide_ftr = 1;
    bar.qr_size_val = 2147483647;
    bar.linear_height_val = 7.5f;
    bar.align_hdr_index = 2;
    bar.dpi_custom_val = "300";
    const QByteArray data = LMNGraphic::pasteboardDataWithGraphics({&bar});
    // No recorded painting and no pixels of the barcode in the data.
    EXPECT_FALSE(data.contains(QByteArray(drawn.data(), 8)));

    // Pasted in the process that copied it: the very picture, nothing redrawn.
    auto same = LMNGraphic::graphicsWithPasteboardData(data);
    ASSERT_EQ(same.size(), 1);
    EXPECT_EQ(same[0]->_barcode_image.picture().data(), bar._barcode_image.picture().data());
    EXPECT_TRUE(calls.empty());

    // Pasted elsewhere (the process forgot the picture): drawn from the settings.
    Keyed_Archive_Forget_References();
    auto other = LMNGraphic::graphicsWithPasteboardData(data);
    ASSERT_EQ(other.size(), 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(other[0]->_barcode_image.raster(), made);
    EXPECT_EQ(other[0]->_bounds, QRectF(5, 5, 30, 10));   // the item keeps its place and size
    const Road_Call& c = calls[0];
    EXPECT_EQ(c.settings.barcodeType, "QR Code");
    EXPECT_EQ(c.settings.liner_or_2D_font, 1);
    EXPECT_EQ(c.value, "two d");
    EXPECT_EQ(c.header, "head");
    EXPECT_EQ(c.footer, "foot");
    EXPECT_TRUE(c.settings.hide_footer);
    EXPECT_FALSE(c.settings.hide_header);
    EXPECT_EQ(c.settings.unit, 2);
    EXPECT_FLOAT_EQ(c.settings.bar_height, 7.5f);
    EXPECT_EQ(c.settings.align_hdr, "Right");
    EXPECT_EQ(c.settings.custom_dpi, 300);
    EXPECT_EQ(c.settings.qr_size, 2000);   // kept within the size control's range
    EXPECT_FALSE(c.settings.dm_frame_border);

    // A reference this process never made is drawn anew too, never another picture.
    QByteArray forged = bar.encodeWithCoder();
    Keyed_Archive_Forget_References();
    const qsizetype at = forged.indexOf("_barcode_image");
    ASSERT_GT(at, 0);
    forged[at + 14 + 1 + 1 + 16 + 3] ^= 0x5A;   // a byte of the digest
    auto fromForged = LMNGraphic::initWithCoder(forged);
    ASSERT_TRUE(fromForged);
    EXPECT_EQ(calls.size(), 2u);

    // Without a road the item is pasted without a picture.
    Install_Barcode_Item_Road(nullptr, {});
    Keyed_Archive_Forget_References();
    auto bare = LMNGraphic::graphicsWithPasteboardData(data);
    ASSERT_EQ(bare.size(), 1);
    EXPECT_TRUE(bare[0]->_barcode_image.isNull());
}

TEST_F(PictureArchive, BarcodeItemSettingsStayWithinTheControlsRanges)
{
    LMNBarcode bar;
    bar.init();
    bar.barcode_font_index = 99;
    bar.pdf_hgt_val = -5;
    bar.pdf_wdt_val = 1 << 30;
    bar.dm_module_val = 1000;
    bar.linear_width_val = std::numeric_limits<float>::infinity();
    bar.LR_margin_val = 1e30f;
    bar.value_font_val.setPointSizeF(5000);
    bar.barcode_clr_val = QColor();
    bar.dpi_custom_val = "lots";
    const BarcodeSettings s = Barcode_Settings_Of_Item(bar, {"Code 39"});
    EXPECT_EQ(s.barcodeType, "");   // no such type: the road draws nothing
    EXPECT_EQ(s.pdf_height, 5);
    EXPECT_EQ(s.pdf_width, 2000);
    EXPECT_EQ(s.dm_module, 20);
    EXPECT_FLOAT_EQ(s.bar_width_mils, BarcodeSettings().bar_width_mils);
    EXPECT_FLOAT_EQ(s.LR_mar, 20.0f);
    EXPECT_LE(s.value_font.pointSizeF(), 400);
    EXPECT_EQ(s.barcode_clr, QColor(Qt::black));
    EXPECT_EQ(s.custom_dpi, BarcodeSettings().custom_dpi);
    // The defaults of a new item map to the dialog's own values.
    LMNBarcode fresh;
    fresh.init();
    const BarcodeSettings d = Barcode_Settings_Of_Item(fresh, {"Code 39"});
    EXPECT_EQ(d.barcodeType, "Code 39");
    EXPECT_EQ(d.dataText, "0123");
    EXPECT_EQ(d.align_hdr, "Center");
    EXPECT_FLOAT_EQ(d.bar_height, 6.0f);
    EXPECT_EQ(d.qr_size, 60);
}

TEST_F(PictureArchive, CardBackgroundTravelsAsPng)
{
    QImage bg(20, 10, QImage::Format_ARGB32);
    bg.fill(QColor(10, 200, 30, 128));
    Card_Property c;
    c.Card_BG_Image = PtImage(bg, QSizeF(40, 20));
    const QByteArray a = c.encodeWithCoder();
    EXPECT_TRUE(a.contains("\x89PNG"));
    auto back = Card_Property::initWithCoder(a);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Card_BG_Image.raster().convertToFormat(QImage::Format_ARGB32), bg);
    EXPECT_EQ(back->Card_BG_Image.size(), QSizeF(40, 20));
    // A damaged PNG makes the card archive unreadable, not a half picture.
    QByteArray bent = a;
    const qsizetype at = bent.indexOf("IDAT");
    ASSERT_GT(at, 0);
    bent[at + 6] = char(bent[at + 6] ^ 0xFF);
    EXPECT_FALSE(Card_Property::initWithCoder(bent));
}

} // namespace
