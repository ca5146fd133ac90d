// Item records: text forms of colours, fonts and rectangles, the record of
// every kind written and read back, the older picture record, signatures
// without a path, barcodes rendered again, and refusal of bad records.
#include "FilesTestSupport.h"

#include "mainwindow/files/ItemRecord.h"

using namespace filestest;

namespace {

class ItemRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        picture = Write_Picture(dir, QStringLiteral("photo.png"), Qt::yellow);
    }
    QTemporaryDir dir;
    QString picture;
};

TEST(RecordTextForms, ColourStringsRoundToATenthAndToleratePartialStrings)
{
    EXPECT_EQ(Convert_Color_to_String(Qt::white), QStringLiteral("1.0:1.0:1.0:1.0"));
    EXPECT_EQ(Convert_Color_to_String(QColor::fromRgbF(0.26f, 0.5f, 0.04f, 0.76f)),
              QStringLiteral("0.3:0.5:0.0:0.8"));
    // An invalid colour still writes something that reads back.
    EXPECT_EQ(Convert_String_to_Color(Convert_Color_to_String(QColor())), QColor(Qt::black));

    // Three fields: red with alpha 0; five: the fifth is ignored.
    const QColor red = Convert_String_to_Color(QStringLiteral("1.0:0.0:0.0"));
    EXPECT_EQ(red.red(), 255);
    EXPECT_EQ(red.alpha(), 0);
    const QColor grey = Convert_String_to_Color(QStringLiteral("0.5:0.5:0.5:1.0:9"));
    EXPECT_NEAR(grey.redF(), 0.5, 0.01);
    EXPECT_EQ(grey.alpha(), 255);

    for (const char* bad : {"nan:0:0:1", "inf:0:0:1", "0.5:x:0:1", "2.0:0:0:1", "-0.1:0:0:1"})
        EXPECT_THROW(Convert_String_to_Color(QString::fromLatin1(bad)), File_Format_Error) << bad;
}

TEST(RecordTextForms, FontStringsKeepFamilySizeAndStyle)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(11.5);
    f.setBold(true);
    f.setItalic(true);
    const QString s = Convert_Font_to_String(f);
    EXPECT_EQ(s, QStringLiteral("DejaVu Sans-BoldItalic::::11.50"));
    const QFont back = Convert_String_to_Font(s);
    EXPECT_EQ(back.family(), f.family());
    EXPECT_TRUE(back.bold() && back.italic());
    EXPECT_DOUBLE_EQ(back.pointSizeF(), 11.5);

    // A family the system lacks is kept by name, so saving again loses nothing.
    EXPECT_EQ(Convert_String_to_Font(QStringLiteral("No Such Face::::9.00")).family(), QStringLiteral("No Such Face"));
    for (const char* bad : {"Helvetica 12", "Helvetica::::", "Helvetica::::0", "Helvetica::::nan", "Helvetica::::1e9"})
        EXPECT_THROW(Convert_String_to_Font(QString::fromLatin1(bad)), File_Format_Error) << bad;
}

TEST(RecordTextForms, RectsPointsAndSizesReadOnlyTheirOwnForm)
{
    const QRectF r(1.5, -2.25, 70, 0.125);
    EXPECT_EQ(Rect_Text(r), QStringLiteral("{{1.5, -2.25}, {70, 0.125}}"));
    EXPECT_EQ(Read_Rect(Rect_Text(r), 1e5, "r"), r);
    EXPECT_EQ(Read_Rect(QStringLiteral(" {{ 0,0 },{ 50 , 50}} "), 1e5, "r"), QRectF(0, 0, 50, 50));
    EXPECT_EQ(Read_Size(Size_Text(QSizeF(284, 142)), 1e5, "s"), QSizeF(284, 142));
    EXPECT_EQ(Read_Point(Point_Text(QPointF(-3, 4.5)), 1e5, "p"), QPointF(-3, 4.5));
    for (const char* bad : {"{{0, 0}, {50}}", "{{0, 0}, {50, 50}} x", "{{nan, 0}, {5, 5}}", "{{0, 0}, {-5, 5}}",
                            "{{0, 0}, {1e300, 5}}", "", "{{0, 0} {5, 5}}"})
        EXPECT_THROW(Read_Rect(QString::fromLatin1(bad), 1e5, "r"), File_Format_Error) << bad;
}

TEST(RecordTextForms, FieldNumbersAreLenientButNeverInfinite)
{
    EXPECT_DOUBLE_EQ(Read_Field_Number(QStringLiteral("12.5 mm"), 1e6, "f"), 12.5);
    EXPECT_DOUBLE_EQ(Read_Field_Number(QStringLiteral("abc"), 1e6, "f"), 0.0);
    EXPECT_DOUBLE_EQ(Read_Field_Number(QString(), 1e6, "f"), 0.0);
    EXPECT_DOUBLE_EQ(Read_Field_Number(QStringLiteral("1e-400"), 1e6, "f"), 0.0);
    for (const char* bad : {"nan", "-inf", "1e999", "Infinity", "5e7"})
        EXPECT_THROW(Read_Field_Number(QString::fromLatin1(bad), 1e6, "f"), File_Format_Error) << bad;
}

TEST(BarcodePictureData, PicturesOfAnyNumberOfColoursComeBackPixelForPixel)
{
    // Two colours, one of them clear; three colours; a gradient of many.
    QImage two(70, 9, QImage::Format_ARGB32_Premultiplied);
    two.fill(Qt::transparent);
    for (int x = 0; x < 70; x += 3)
        for (int y = 0; y < 9; ++y)
            two.setPixel(x, y, qRgba(0, 0, 0, 255));
    QImage three = two.convertToFormat(QImage::Format_ARGB32);
    three.setPixel(1, 1, qRgba(200, 10, 10, 128));
    QImage many(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            many.setPixel(x, y, qRgba(x * 6, y * 8, (x * y) % 256, 255));
    for (const QImage& img : {two, three, many}) {
        const PtImage in(img, QSizeF(img.width() / 2.0, img.height() / 2.0));
        const PtImage out = Barcode_Picture_From_Data(Barcode_Picture_To_Data(in));
        ASSERT_FALSE(out.isNull());
        EXPECT_EQ(out.size(), in.size());
        EXPECT_EQ(out.raster().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    EXPECT_TRUE(Barcode_Picture_From_Data(Barcode_Picture_To_Data(PtImage())).isNull());
    const PtImage vec = Vector_Picture();
    // A vector drawing is not stored (the reader draws the barcode again).
    EXPECT_TRUE(Barcode_Picture_From_Data(Barcode_Picture_To_Data(vec)).isNull());
}

TEST_F(ItemRecordTest, EveryKindComesBackEqualWithItsRecordLength)
{
    const std::map<QString, int> lengths{{"L", 24}, {"T", 43}, {"D", 25}, {"I", 45}, {"B", 69}, {"S", 22}};
    for (const LMNGraphicPtr& item : Every_Kind(picture)) {
        const QVariantList record = Get_Control_Prop_To_Array(*item);
        const QString code = record.at(0).toString();
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(record.size(), lengths.at(code));
        for (int i = 0; i < record.size(); ++i) {
            const bool picture = code == "B" && i == 29;
            EXPECT_EQ(record.at(i).typeId(), picture ? QMetaType::QByteArray : QMetaType::QString) << i;
        }
        Item_Record_Context ctx;
        ctx.renderBarcode = Render_Like_Every_Kind;
        const auto back = Create_Control_From_Array(record, ctx);
        ASSERT_TRUE(back);
        Expect_Item_Equal(*item, *back);
        // Writing what was read gives the same record.
        EXPECT_EQ(Get_Control_Prop_To_Array(*back), record);
    }
}

TEST_F(ItemRecordTest, KindFieldsStartAfterTheBindingOnlyForBoundKinds)
{
    const auto items = Every_Kind(picture);
    for (const LMNGraphicPtr& item : items) {
        const QVariantList r = Get_Control_Prop_To_Array(*item);
        const QString code = r.at(0).toString();
        if (code == "L") {
            EXPECT_EQ(r.at(20), QStringLiteral("1"));              // _line_ori
        }
        if (code == "D") {
            EXPECT_EQ(r.at(20), QStringLiteral("DS"));             // _shape_type
        }
        if (code == "S") {
            EXPECT_EQ(r.at(20), QStringLiteral("F"));
        }
        if (code == "T") {
            EXPECT_TRUE(r.at(29).toString().contains("::::"));     // font first
        }
        if (code == "I") {
            EXPECT_EQ(r.at(29), QStringLiteral("Y"));              // flipped
        }
    }
    // print_object 2 is written "Y" and comes back as 1.
    const QVariantList t = Get_Control_Prop_To_Array(*items.front());
    EXPECT_EQ(t.at(17), QStringLiteral("Y"));
    EXPECT_EQ(Create_Control_From_Array(t)->print_object, 1);
}

TEST_F(ItemRecordTest, OlderPictureRecordsTakeThePathAsTheirValue)
{
    LMNImage img;
    img.setFilePath(picture);
    img._bounds = QRectF(0, 0, 40, 30);
    QVariantList r = Get_Control_Prop_To_Array(img);
    ASSERT_EQ(r.size(), 45);
    r[44] = QStringLiteral("Text here");
    auto a = Create_Control_From_Array(r);
    EXPECT_EQ(a->Text_Value, picture);
    EXPECT_FALSE(a->_contents.isNull()) << "the picture is loaded from its path";
    r.removeLast();
    EXPECT_EQ(Create_Control_From_Array(r)->Text_Value, picture);
    r.removeLast();
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error);
}

TEST_F(ItemRecordTest, SignatureWithoutPathIsWrittenWithTheSampleOfItsKind)
{
    const QString saved = Resource_Path;
    Resource_Path = dir.path();
    LMNSignature sign;
    sign._file_path.clear();
    sign.sign_or_fingureprint = "S";
    EXPECT_EQ(Get_Control_Prop_To_Array(sign).at(21), dir.filePath("sign_sample.png"));
    // A fingerprint keeps showing a fingerprint.
    sign.sign_or_fingureprint = "F";
    EXPECT_EQ(Get_Control_Prop_To_Array(sign).at(21), dir.filePath("fingerprints.png"));
    EXPECT_TRUE(sign._file_path.isEmpty()) << "the item itself is not changed";
    Resource_Path = saved;
}

TEST_F(ItemRecordTest, BarcodeWithoutPictureIsRenderedAgainFromItsOwnValue)
{
    LMNBarcode b;
    b._bounds = QRectF(7, 8, 10, 10);
    b.linear_font_val = QStringLiteral("  LIN  ");
    b.two_d_font_val = QStringLiteral("2D");
    QVariantList r = Get_Control_Prop_To_Array(b);
    ASSERT_TRUE(Barcode_Picture_From_Data(r.at(29).toByteArray()).isNull());

    QStringList asked;
    Item_Record_Context ctx;
    ctx.renderBarcode = [&asked](const LMNGraphic& item, const QString& value) {
        asked << value + "|" + item.header_val;
        return Vector_Picture(90, 40);
    };
    ctx.firstSeriesValue = [](const QString& series) { return series == "full" ? QStringLiteral(" 42 ") : QString(); };
    auto a = Create_Control_From_Array(r, ctx);
    EXPECT_EQ(asked.value(0), QStringLiteral("LIN|HEADER"));
    EXPECT_EQ(a->_bounds, QRectF(7, 8, 90, 40)) << "the item takes the new picture's size";
    EXPECT_EQ(a->bar_image_ctrl_bounds, a->_bounds);

    // A series whose first value is empty falls back on the item's own value;
    // a series with a value gives it (trimmed); 2D takes the 2D value.
    b.data_source_type = 1;
    b.batch_list_name = "empty";
    Create_Control_From_Array(Get_Control_Prop_To_Array(b), ctx);
    b.batch_list_name = "full";
    Create_Control_From_Array(Get_Control_Prop_To_Array(b), ctx);
    b.data_source_type = 0;
    b.linear_or_2d = 1;
    Create_Control_From_Array(Get_Control_Prop_To_Array(b), ctx);
    EXPECT_EQ(asked, (QStringList{"LIN|HEADER", "LIN|HEADER", "42|HEADER", "2D|HEADER"}));

    // With a stored picture nothing is rendered.
    b.Set_Barcode_image(Raster_Picture());
    Create_Control_From_Array(Get_Control_Prop_To_Array(b), ctx);
    EXPECT_EQ(asked.size(), 4);
}

TEST_F(ItemRecordTest, BadRecordsAreRefused)
{
    const auto items = Every_Kind(picture);
    const QVariantList text = Get_Control_Prop_To_Array(*items.at(0));
    const QVariantList barcode = Get_Control_Prop_To_Array(*items.at(4));

    QVariantList r = text;
    r[0] = QStringLiteral("X");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "unknown kind";
    r = text;
    r.resize(31);
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "cut after the colour";
    r = text;
    r[5] = QVariant(qint64(1));
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "wrong element type";
    r = text;
    r[7] = QStringLiteral("nan");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "border width NaN";
    r = text;
    r[1] = QStringLiteral("{{0, 0}, {1e12, 4}}");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "absurd size";
    r = text;
    r[20] = QStringLiteral("7");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "data source out of range";
    r = Get_Control_Prop_To_Array(*items.at(2));
    r[22] = QStringLiteral("2000000000");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "star with two billion points";

    r = barcode;
    r[29] = QByteArray("\x89PNG not a picture");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "picture blob that is no picture";
    QByteArray blob = barcode.at(29).toByteArray();
    blob[blob.size() / 2] = char(blob[blob.size() / 2] ^ 0x40);
    r[29] = blob;
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "damaged picture header";
    r = barcode;
    r[29] = QStringLiteral("text instead of data");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error);
    r = barcode;
    r[31] = QStringLiteral("99");
    EXPECT_THROW(Create_Control_From_Array(r), File_Format_Error) << "symbology out of range";
}

TEST_F(ItemRecordTest, TemplateRecordsLoseTheirBindingOnly)
{
    const auto items = Every_Kind(picture);
    QVariantList r = Get_Control_Prop_To_Array(*items.at(0));
    const QVariantList before = r;
    Clear_Record_Binding(r);
    auto t = Create_Control_From_Array(r);
    EXPECT_EQ(t->data_source_type, 0);
    EXPECT_EQ(t->batch_list_name, QString(""));
    EXPECT_EQ(t->batch_list_index, -1);
    EXPECT_FALSE(t->excel_binding);
    EXPECT_EQ(t->excel_col_indx, -1);
    EXPECT_EQ(t->batch_ftr_list_index, -1);
    for (int i = 0; i < r.size(); ++i)
        if (i < 20 || i > 28) {
            EXPECT_EQ(r.at(i), before.at(i)) << i;
        }
    // A line has no binding to clear.
    QVariantList line = Get_Control_Prop_To_Array(*items.at(1));
    const QVariantList lineBefore = line;
    Clear_Record_Binding(line);
    EXPECT_EQ(line, lineBefore);
}

} // namespace
