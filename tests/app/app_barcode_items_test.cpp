// Barcode items read from an archive (a design pasted from another window,
// an undo step) are drawn again by the road start-up installs: the picture
// scans as the item's value, a 2D item is made at the DPI chosen for it, and
// an item whose type the popup no longer knows is drawn as the first type
// rather than not at all.
#include "app/AppServices.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/Barcode_Gen.h"
#include "common/TestSupport.h"
#include "core/model/BarcodeItemImage.h"
#include "core/model/LMNBarcode.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// An item of `type` and `value` as the barcode dialog stores it.
std::shared_ptr<LMNBarcode> Item(const QString& type, const QString& value, int dpiChoice = 0)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, type);
    s.dataText = s.dataText_2D = value;
    s.dpi_choice = dpiChoice;
    auto item = std::make_shared<LMNBarcode>();
    Store_Barcode_Settings_In_Item(s, Symbology_Titles(), *item);
    return item;
}

// The picture on white at 300 DPI, decoded by zbar.
QByteArray Scan(const PtImage& image, const QTemporaryDir& dir, const QString& name)
{
    const QImage px = image.toImage(300);
    QImage flat(px.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, px);
    p.end();
    const QString path = dir.filePath(name);
    EXPECT_TRUE(flat.save(path));
    return testsupport::Zbar_Decode(path);
}

} // namespace

TEST(AppServices, BarcodeItemsFromArchivesAreDrawnAgainByTheRoad)
{
    Install_Application_Services();
    QTemporaryDir dir;

    const PtImage code128 = Barcode_Item_Image(*Item(QStringLiteral("Code 128"), QStringLiteral("APP-128")));
    ASSERT_FALSE(code128.isNull());
    EXPECT_EQ(Scan(code128, dir, QStringLiteral("c128.png")), QByteArray("APP-128"));

    // A type index the popup does not hold: the first type, Code 39.
    auto unknown = Item(QStringLiteral("Code 128"), QStringLiteral("OLD-39"));
    unknown->barcode_font_index = 97;
    const PtImage first = Barcode_Item_Image(*unknown);
    ASSERT_FALSE(first.isNull()) << "an unknown type is drawn, not left blank";
    QImage px = first.toImage(300);
    QImage flat(px.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, px);
    }
    ASSERT_TRUE(flat.save(dir.filePath(QStringLiteral("c39.png"))));
    EXPECT_EQ(testsupport::ZXing_Decode(dir.filePath(QStringLiteral("c39.png")), QStringLiteral("Code39")),
              QByteArray("OLD-39"));

    // A QR item at 150 and at 1200 DPI: its pixels follow the DPI chosen.
    for (const auto& [choice, dpi] : {std::pair{2, 150}, std::pair{5, 1200}}) {
        SCOPED_TRACE(dpi);
        const PtImage qr = Barcode_Item_Image(*Item(QStringLiteral("QR Code"), QStringLiteral("QR-APP"), choice));
        ASSERT_FALSE(qr.isNull());
        ASSERT_FALSE(qr.raster().isNull()) << "a 2D symbol is made in pixels";
        EXPECT_NEAR(qr.raster().width() / (qr.size().width() / 72.0), dpi, dpi * 0.1);
        EXPECT_EQ(Scan(qr, dir, QStringLiteral("qr%1.png").arg(dpi)), QByteArray("QR-APP"));
    }
}
