// Item records: text forms of colours, fonts and rectangles, the record of
// every kind written and read back, the older picture record, signatures
// without a path, barcodes rendered again, and refusal of bad records.
#include "FilesTestSupport.h"

#include "barcode/engines/SymbologyTable.h"
#include "core/model/BarcodeItemImage.h"
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

TEST(RecordTextForms, ColourStringsKeepEvery8BitLevelAndToleratePartialStrings)
{
    EXPECT_EQ(Convert_Color_to_String(Qt::white), QStringLiteral("1.000:1.000:1.000:1.000"));
    EXPECT_EQ(Convert_Color_to_String(QColor(0xA5, 0xD6, 0xA7)), QStringLiteral("0.647:0.839:0.655:1.000"));
    // Every level of every channel comes back as it was, and writes the same again.
    for (int v = 0; v < 256; ++v) {
        const QColor c(v, 255 - v, (v * 7) % 256, (v * 13) % 256);
        const QString text = Convert_Color_to_String(c);
        const QColor back = Convert_String_to_Color(text);
        ASSERT_EQ(back.rgba(), c.rgba()) << v;
        ASSERT_EQ(Convert_Color_to_String(back), text) << v;
    }
    // Older files wrote one decimal; they read to the nearest level.
    EXPECT_EQ(Convert_String_to_Color(QStringLiteral("0.6:0.8:0.7:1.0")), QColor(153, 204, 179));
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
    // Without its path the picture item has no picture, and says why.
    r.removeLast();
    const Item_Record_Read cut = Read_Item_Record(r);
    ASSERT_TRUE(cut.item);
    EXPECT_TRUE(cut.item->_contents.isNull());
    EXPECT_TRUE(cut.problem.contains("picture path")) << cut.problem.toStdString();
}

TEST_F(ItemRecordTest, SignatureWithoutPathIsWrittenWithTheSampleOfItsKind)
{
    const QString saved = Folders.Resource_Path;
    Folders.Resource_Path = dir.path();
    Write_Picture(dir, "sign_sample.png", Qt::blue);
    LMNSignature sign;
    sign._file_path.clear();
    sign.sign_or_fingureprint = "S";
    // Shipped pictures are stored relative to the resource folder.
    const QVariantList r = Get_Control_Prop_To_Array(sign);
    EXPECT_EQ(r.at(21), QStringLiteral("sign_sample.png"));
    EXPECT_EQ(Create_Control_From_Array(r)->_file_path, dir.filePath("sign_sample.png"));
    // A fingerprint keeps showing a fingerprint.
    sign.sign_or_fingureprint = "F";
    EXPECT_EQ(Get_Control_Prop_To_Array(sign).at(21), QStringLiteral("fingerprints.png"));
    EXPECT_TRUE(sign._file_path.isEmpty()) << "the item itself is not changed";
    Folders.Resource_Path = saved;
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

TEST_F(ItemRecordTest, DamagedRecordsGiveWhatWasReadAndSayWhere)
{
    const auto items = Every_Kind(picture);
    const QVariantList text = Get_Control_Prop_To_Array(*items.at(0));
    const QVariantList barcode = Get_Control_Prop_To_Array(*items.at(4));
    const LMNText fresh;

    // An unknown kind makes no item.
    QVariantList r = text;
    r[0] = QStringLiteral("X");
    Item_Record_Read read = Read_Item_Record(r);
    EXPECT_FALSE(read.item);
    EXPECT_TRUE(read.problem.contains("\"X\" is no kind of item")) << read.problem.toStdString();
    r[0] = QVariant(qint64(3));
    EXPECT_FALSE(Read_Item_Record(r).item) << "a kind that is no text";

    // A text record cut after element 30: the stored font and colour, the
    // values of a new text item for the rest.
    r = text;
    r.resize(31);
    read = Read_Item_Record(r);
    ASSERT_TRUE(read.item);
    EXPECT_EQ(read.item->kind(), LMNKind::Text);
    EXPECT_EQ(read.item->_bounds, items.at(0)->_bounds);
    Expect_Font_Same(read.item->text_ctrl_font, items.at(0)->text_ctrl_font, "font");
    EXPECT_EQ(read.item->txt_clr.rgba(), items.at(0)->txt_clr.rgba());
    EXPECT_EQ(read.item->Text_Value, fresh.Text_Value);
    EXPECT_EQ(read.item->text_alignmnet, fresh.text_alignmnet);
    EXPECT_TRUE(read.problem.contains("ends before vertical alignment")) << read.problem.toStdString();

    // An element that cannot be taken stops the reading there.
    struct Case {
        int index;
        QVariant value;
        const char* said;
    };
    for (const Case& c : {Case{5, QVariant(qint64(1)), "border on"}, Case{7, QStringLiteral("nan"), "border width"},
                          Case{1, QStringLiteral("{{0, 0}, {1e12, 4}}"), "item bounds"},
                          Case{20, QStringLiteral("7"), "data source"}}) {
        SCOPED_TRACE(c.said);
        r = text;
        r[c.index] = c.value;
        read = Read_Item_Record(r);
        ASSERT_TRUE(read.item);
        EXPECT_TRUE(read.problem.contains(QLatin1String(c.said))) << read.problem.toStdString();
        EXPECT_EQ(read.item->Text_Value, fresh.Text_Value) << "nothing after it was taken";
    }
    r = Get_Control_Prop_To_Array(*items.at(2));
    r[22] = QStringLiteral("2000000000");
    read = Read_Item_Record(r);
    ASSERT_TRUE(read.item);
    EXPECT_EQ(read.item->_shape_type, QStringLiteral("DS")) << "what came before the star points";
    EXPECT_EQ(read.item->double_star_type, 1);

    // A barcode picture this program cannot read (another program's form,
    // damage, a text instead of data) is drawn again from the settings.
    QStringList drawn;
    Item_Record_Context ctx;
    ctx.renderBarcode = [&drawn](const LMNGraphic& item, const QString& value) {
        drawn << value;
        return item.linear_font_val == QLatin1String("ABC-123") ? Vector_Picture(77, 33) : PtImage();
    };
    QByteArray damaged = barcode.at(29).toByteArray();
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x40);
    for (const QVariant& picture :
         {QVariant(QByteArray("bplist00 another program's picture")), QVariant(damaged)}) {
        r = barcode;
        r[29] = picture;
        read = Read_Item_Record(r, ctx);
        ASSERT_TRUE(read.item);
        EXPECT_TRUE(read.problem.contains("drawn again from its settings")) << read.problem.toStdString();
        EXPECT_EQ(read.item->linear_font_val, QStringLiteral("ABC-123"));
        EXPECT_EQ(read.item->barcode_unit_val, 2) << "the record was read to its end";
        EXPECT_EQ(read.item->_barcode_image.size(), QSizeF(77, 33));
    }
    r = barcode;
    r[29] = QStringLiteral("text instead of data");
    read = Read_Item_Record(r, ctx);
    ASSERT_TRUE(read.item);
    EXPECT_TRUE(read.problem.contains("picture data was expected")) << read.problem.toStdString();
    EXPECT_EQ(read.item->linear_font_val, QStringLiteral("ABC-123")) << "the rest is read";

    // A barcode cut short is drawn from what it has, so it can be seen and edited.
    r = barcode;
    r.resize(40);
    r[29] = QByteArray();
    drawn.clear();
    read = Read_Item_Record(r, ctx);
    ASSERT_TRUE(read.item);
    EXPECT_EQ(drawn, QStringList{"ABC-123"});
    EXPECT_FALSE(read.item->_barcode_image.isNull());
    r = barcode;
    r[31] = QStringLiteral("99");
    read = Read_Item_Record(r, ctx);
    ASSERT_TRUE(read.item);
    EXPECT_TRUE(read.problem.contains("symbology")) << read.problem.toStdString();
    EXPECT_EQ(read.item->barcode_font_index, 0);

    // A whole record has nothing to say.
    EXPECT_TRUE(Read_Item_Record(text).problem.isEmpty());
}

TEST_F(ItemRecordTest, StoredTypeIndexesFollowTheTypeNameOrder)
{
    // The order of the barcode type names of the file format.
    const QStringList order{"Code 39", "Extended Code 39", "Interleaved 2 of 5", "UPCA", "PostNet",
                            "Modified Plessey", "Modified Plessey (Hex)", "Industrial 2 of 5", "EAN-13",
                            "Code 128", "Code 128 SET A", "Code 128 SET B", "Code 128 SET C", "Codabar",
                            "UPCE", "EAN-8", "Royal Mail Barcode (RM4SCC / CBC)", "Planet",
                            "Japan Post Barcode", "QR Code", "PDF417", "DataMatrix"};
    ASSERT_EQ(Symbology_Titles(), order);
    LMNBarcode b;
    const QVariantList ours = Get_Control_Prop_To_Array(b);
    QStringList named;
    Item_Record_Context ctx;
    ctx.renderBarcode = [&named](const LMNGraphic& item, const QString&) {
        named << Barcode_Settings_Of_Item(item, Symbology_Titles()).barcodeType;
        return Vector_Picture();
    };
    for (int i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(i);
        // A record of another program (its own picture form) and one of ours.
        for (const QVariant& picture : {QVariant(QByteArray("bplist00...")), ours.at(29)}) {
            QVariantList r = ours;
            r[29] = picture;
            r[30] = Symbology_At(i)->isTwoD() ? QStringLiteral("1") : QStringLiteral("0");
            r[31] = QString::number(i);
            named.clear();
            const auto item = Create_Control_From_Array(r, ctx);
            ASSERT_TRUE(item);
            EXPECT_EQ(item->barcode_font_index, i);
            EXPECT_EQ(named.value(0), order.at(i)) << "drawn as that symbology";
            EXPECT_EQ(Get_Control_Prop_To_Array(*item).at(31), QString::number(i)) << "written back alike";
        }
    }
    // Records written by earlier builds of this program (picture form 1)
    // counted in the table's former order: their 2 was Code 128, 7 Interleaved 2 of 5.
    QByteArray older = ours.at(29).toByteArray();
    older[4] = char(1);
    const std::pair<int, const char*> former[] = {{0, "Code 39"},  {2, "Code 128"},      {6, "Codabar"},
                                                  {7, "Interleaved 2 of 5"}, {15, "UPCA"}, {18, "EAN-8"},
                                                  {21, "DataMatrix"}};
    for (const auto& [index, name] : former) {
        QVariantList r = ours;
        r[29] = older;
        r[31] = QString::number(index);
        const auto item = Create_Control_From_Array(r, ctx);
        ASSERT_TRUE(item);
        EXPECT_EQ(Symbology_At(item->barcode_font_index)->name(), QLatin1String(name)) << index;
        // Saved again, the record counts in today's order (and says so by its form).
        const QVariantList again = Get_Control_Prop_To_Array(*item);
        EXPECT_EQ(again.at(31), QString::number(Symbology_Index(QLatin1String(name))));
        EXPECT_EQ(again.at(29).toByteArray().at(4), char(Barcode_Picture_Form));
    }
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
