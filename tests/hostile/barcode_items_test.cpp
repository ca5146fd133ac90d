// Barcode items pasted from another process are drawn again by the real road
// from their settings and value, and read back by a decoder.
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "common/TestSupport.h"
#include "core/FakeMainWindow.h"
#include "core/model/BarcodeItemImage.h"
#include "core/model/KeyedArchive.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphicArchive.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct PastedBarcodes : ::testing::Test {
    FakeMainWindow win;
    QTemporaryDir dir;
    void SetUp() override
    {
        win.canvasBounds = QRectF(0, 0, 600, 600);
        Install_Barcode_Item_Road(
            [](BarcodeSettings s, const QString& v, const QString& h, const QString& f) {
                if (!Find_Symbology(s.barcodeType))
                    Set_Barcode_Type(s, Symbology_Titles().value(0));
                Apply_DPI_Choice(s);
                return Make_Barcode_Image(s, v, h, f);
            },
            Symbology_Titles());
    }
    void TearDown() override { Install_Barcode_Item_Road(nullptr, {}); }
};

TEST_F(PastedBarcodes, AreDrawnAgainAndScan)
{
    struct Case {
        const char* type;
        const char* value;
        const char* format;
        const char* read;
    };
    for (const Case& c : {Case{"Code 128", "ZORV-42", "Code128", "ZORV-42"},
                          Case{"QR Code", "hostile paste", "QRCode", "hostile paste"},
                          Case{"EAN-13", "590123412345", "EAN-13", "5901234123457"}}) {
        SCOPED_TRACE(c.type);
        LMNBarcode bar;
        bar.init();
        bar.barcode_font_index = Symbology_Index(QString::fromLatin1(c.type));
        ASSERT_GE(bar.barcode_font_index, 0);
        bar.linear_or_2d = Is_TwoD_Symbology(QString::fromLatin1(c.type)) ? 1 : 0;
        (bar.linear_or_2d ? bar.two_d_font_val : bar.linear_font_val) = QString::fromLatin1(c.value);
        bar.Set_Barcode_image(Barcode_Item_Image(bar));
        ASSERT_FALSE(bar._barcode_image.isNull());
        const QByteArray data = LMNGraphic::pasteboardDataWithGraphics({&bar});

        Keyed_Archive_Forget_References();   // as in another process
        const auto pasted = LMNGraphic::graphicsWithPasteboardData(data);
        ASSERT_EQ(pasted.size(), 1);
        const PtImage& image = pasted[0]->_barcode_image;
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), bar._barcode_image.size());
        QImage pixels = image.toImage(300);
        QImage flat(pixels.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, pixels);
        }
        const QString path = dir.filePath(QStringLiteral("%1.png").arg(c.format));
        ASSERT_TRUE(flat.save(path));
        EXPECT_EQ(testsupport::ZXing_Decode(path, QString::fromLatin1(c.format)), QByteArray(c.read));
    }
}

} // namespace
