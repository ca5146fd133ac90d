// 2D symbols: QR size rule, Data Matrix sizes, encodations and images.
#include "barcode/generation/TwoDSymbols.h"
#include "common/TestSupport.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(QrSize, VersionSetsTheSmallestSide)
{
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(1, 10), 21);
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(40, 60), 177);
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(0, 25), 25);
    EXPECT_EQ(Check_And_Set_QR_size_Acc_Version(0, 5), 21);
    ASSERT_EQ(QR_Version_Items().size(), 41);
    EXPECT_EQ(QR_Version_Items()[40], QStringLiteral("V40"));
    EXPECT_EQ(QR_EC_Level_Items().size(), 4);
}

TEST(QrSymbol, ChosenVersionIsAMinimum)
{
    BarcodeSettings s;
    s.Type_draw_2d_flag = true;  // one point, one pixel
    s.qr_size = 200;
    s.QR_Version_Val = 2;
    const PtImage small = Draw_QR_Barcode(QStringLiteral("A"), s);
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.size(), QSizeF(200, 200));
    // Data needing a larger version still gives a symbol.
    const PtImage big = Draw_QR_Barcode(QString(120, QLatin1Char('x')), s);
    EXPECT_FALSE(big.isNull());
    EXPECT_TRUE(Draw_QR_Barcode(QString(), s).isNull());
    // Raised to the output resolution unless typing.
    s.Type_draw_2d_flag = false;
    s.USED_DPI_VALUE = 300;
    s.qr_size = 72;
    const PtImage hi = Draw_QR_Barcode(QStringLiteral("A"), s);
    ASSERT_FALSE(hi.isNull());
    EXPECT_EQ(hi.size(), QSizeF(72, 72));
    // Whole pixels a module, the same for all: near the 300 pixels of 72
    // points at 300 DPI.
    EXPECT_NEAR(hi.raster().width(), 300, 12);
}

TEST(DataMatrix, SizeItemsAndEncodations)
{
    const QStringList& items = DM_Format_Items();
    ASSERT_EQ(items.size(), 31);
    int W = -1, H = -1;
    DM_Size_From_Format(QStringLiteral("C8X18"), W, H);
    EXPECT_EQ(W, 18);
    EXPECT_EQ(H, 8);
    DM_Size_From_Format(QStringLiteral("Auto"), W, H);
    EXPECT_EQ(W, 0);
    EXPECT_EQ(H, 0);
    DM_Size_From_Format(QStringLiteral("C12"), W, H);
    EXPECT_EQ(W, 0);
    EXPECT_EQ(DM_Encodation_String(4, 5), QByteArray("BBBBB"));
    EXPECT_EQ(DM_Encodation_String(2, 3), QByteArray("CCC"));
    EXPECT_TRUE(DM_Encodation_String(0, 5).isEmpty());
    EXPECT_EQ(DM_Encoding_Items().size(), 5);
}

TEST(DataMatrix, GridsAndImages)
{
    // A 10 x 10 symbol: a 12 x 12 pixel image at one pixel a module, 32 x 32
    // points with module 3 in barcode mode, 30 x 30 in the dialog.
    const DM_Grid g = Encode_Data_Matrix(QStringLiteral("12"), 1, 0);
    ASSERT_FALSE(g.isNull());
    EXPECT_EQ(g.W, 10);
    EXPECT_EQ(g.H, 10);
    const PtImage img = Create_Data_Matrix_Image(g, 3, true, 0.0);
    EXPECT_EQ(img.raster().size(), QSize(12, 12));
    EXPECT_EQ(img.size(), QSizeF(32, 32));
    EXPECT_EQ(Create_Data_Matrix_Image(g, 3, false, 0.0).size(), QSizeF(30, 30));
    // The border is light; grid row 0 is at the bottom (its left column is
    // the solid finder edge, and so is the bottom row).
    const QImage px = img.raster();
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(qGray(px.pixel(i, 0)), 255);
        EXPECT_EQ(qGray(px.pixel(0, i)), 255);
    }
    for (int x = 1; x <= 10; ++x)
        EXPECT_EQ(qGray(px.pixel(x, 10)), 0) << x;
    // Rectangles: 18 columns by 8 rows.
    const DM_Grid r = Encode_Data_Matrix(QStringLiteral("1"), 25, 0);
    ASSERT_FALSE(r.isNull());
    EXPECT_EQ(r.W, 18);
    EXPECT_EQ(r.H, 8);
    EXPECT_EQ(Create_Data_Matrix_Image(r, 1, true, 0.0).raster().size(), QSize(20, 10));
    // "Auto" leaves the size to the library: a square or a rectangle.
    const DM_Grid a = Encode_Data_Matrix(QStringLiteral("123456789012"), 0, 0);
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(QSize(a.W, a.H), QSize(14, 14));
    const DM_Grid rect = Encode_Data_Matrix(QStringLiteral("Zorv DM 42"), 0, 0);
    ASSERT_FALSE(rect.isNull());
    EXPECT_EQ(QSize(rect.W, rect.H), QSize(32, 8));
    // Far too long for any size, with the library left to choose the
    // encodation: nothing, the reason, and nothing lost on the way (the
    // sanitizer's leak check would fail this test).
    QString tooLong;
    EXPECT_TRUE(Encode_Data_Matrix(QString(3000, QLatin1Char('x')), 0, 0, &tooLong).isNull());
    EXPECT_TRUE(tooLong.startsWith(QStringLiteral("No barcode produced\n")));
    EXPECT_TRUE(Encode_Data_Matrix(QString(3000, QLatin1Char('x')), 5, 0).isNull());
    // Letters outside ASCII with the encodation left to choose still encode.
    EXPECT_FALSE(Encode_Data_Matrix(QStringLiteral("\u00e9t\u00e9 \u00e0 \u00c9vian"), 0, 0).isNull());
    // Too much for the size: nothing, and the reason.
    QString why;
    EXPECT_TRUE(Encode_Data_Matrix(QStringLiteral("ABCDEFGHIJ"), 1, 0, &why).isNull());
    EXPECT_TRUE(why.contains(QStringLiteral("Size    : 10x10")));
    EXPECT_TRUE(why.contains(QStringLiteral("Barcode : ABCDEFGHIJ")));
    // At 600 DPI: every module the same whole number of pixels, the nearest
    // to the resolution asked (32 / 12 points a module: 22 pixels).
    const PtImage hi = Create_Data_Matrix_Image(g, 3, true, 600.0);
    EXPECT_EQ(hi.raster().width(), 12 * 22);
    EXPECT_EQ(hi.raster().height(), 12 * 22);
}

TEST(DataMatrix, EncodationsReadBack)
{
    if (!testsupport::Tool_Available(QStringLiteral("dmtxread")))
        FAIL() << "dmtxread missing";
    QTemporaryDir dir;
    struct Case { QString value; int encoding; };
    const Case cases[] = {
        {QStringLiteral("ZORV LABEL 42"), 2},              // C40
        {QStringLiteral("zorv label"), 3},                 // Text
        {QStringLiteral("Zorv \u00e9t\u00e9"), 4},          // "Base256": every UTF-8 byte
        {QStringLiteral("ZORV LABEL 4"), 2},               // C40 ending on a whole triplet
        {QStringLiteral("Ascii 123"), 1},
        {QStringLiteral("Zorv \u00e9t\u00e9 \u00e0 \u00c9vian"), 0},  // "Auto" with UTF-8 bytes
        {QStringLiteral("Zorv DM 42"), 0},                  // "Auto": a rectangle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        BarcodeSettings s;
        s.dm_encoding = c.encoding;
        s.USED_DPI_VALUE = 300;
        const PtImage img = Draw_DataMatrix_Barcode(c.value, s);
        ASSERT_FALSE(img.isNull());
        QImage flat(img.raster().size() + QSize(40, 40), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(20, 20, img.raster());
        }
        const QString path = dir.filePath(QStringLiteral("dm.png"));
        ASSERT_TRUE(flat.save(path));
        QByteArray read = testsupport::Dmtx_Decode(path);
        if (read.endsWith('\n'))
            read.chop(1);  // the reader's own line end
        EXPECT_EQ(read, c.value.toUtf8());
    }
}
