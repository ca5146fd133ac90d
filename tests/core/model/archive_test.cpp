// Item archives, the pasteboard format, and bad pasteboard data: refused when
// it is no list, read as far as it goes element by element otherwise.
#include "core/FakeMainWindow.h"
#include "core/model/KeyedArchive.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "platform/Plist.h"

#include <QPainter>
#include <QPicture>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

PtImage Small_Raster(QColor c, int w = 16, int h = 8)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(c);
    return PtImage(img, QSizeF(w * 2, h * 2));
}

PtImage Small_Vector()
{
    QPicture pic;
    QPainter p(&pic);
    p.fillRect(QRectF(0, 0, 30, 10), Qt::black);
    p.end();
    return PtImage(pic, QSizeF(30, 10));
}

// One item of every kind with values away from the defaults.
std::vector<std::unique_ptr<LMNGraphic>> Every_Kind()
{
    std::vector<std::unique_ptr<LMNGraphic>> items;
    auto text = std::make_unique<LMNText>();
    text->_bounds = QRectF(1.5, 2.5, 70, 20);
    text->Set_text_value("Grüße\nzwei");
    text->Text_contents();
    text->text_alignmnet = 0;
    text->text_transfrom_case = 3;
    text->Drawing_Shadow = true;
    text->Shadow_Color = QColor(10, 20, 30, 40);
    text->txt_clr = Qt::darkGreen;
    text->data_source_type = 2;
    text->excel_binding = true;
    text->excel_col_indx = 4;
    text->control_ID = "T1";
    text->ctrl_is_locked = true;
    items.push_back(std::move(text));

    auto line = std::make_unique<LMNLine>();
    line->setBeginPoint({10, 40});
    line->setEndPoint({60, 20});
    line->_line_cap_style = 2;
    line->_stroke_border_type = "DO";
    items.push_back(std::move(line));

    auto shape = std::make_unique<Shape_Control>();
    shape->_bounds = QRectF(5, 6, 70, 80);
    shape->_shape_type = "DS";
    shape->double_star_type = 3;
    shape->text_rotation = 33;
    shape->_fill_type = "G";
    shape->_fill_grad_angle = 45;
    shape->_fill_Grad_clr2 = Qt::red;
    shape->alpha_val = 0.5f;
    items.push_back(std::move(shape));

    auto pic = std::make_unique<LMNImage>();
    pic->_bounds = QRectF(0, 0, 32, 16);
    pic->_file_path = "/nowhere/picture.png";
    pic->_contents = Small_Raster(Qt::red);
    pic->_contents_with_settings = Small_Raster(Qt::gray);
    pic->gray_Scale = true;
    pic->hue_val = 0.25f;
    pic->_isFlippedVertically = true;
    pic->Text_Value = "caption";
    items.push_back(std::move(pic));

    auto bar = std::make_unique<LMNBarcode>();
    bar->_barcode_image = Small_Vector();
    bar->_bounds = QRectF(3, 4, 30, 10);
    bar->bar_image_ctrl_bounds = QRectF(3, 4, 30, 10);
    bar->barcode_font_index = 7;
    bar->linear_font_val = "ABC-123";
    bar->header_font_val.setPointSizeF(14);
    bar->barcode_clr_val = Qt::blue;
    bar->TB_marging_val = 2.5f;
    bar->batch_hdr_list_name = "headers";
    items.push_back(std::move(bar));

    auto sign = std::make_unique<LMNSignature>();
    sign->_bounds = QRectF(9, 9, 90, 30);
    sign->Set_Sign_Or_FP("F");
    sign->_file_path = "/nowhere/fp.png";
    items.push_back(std::move(sign));
    return items;
}

QList<LMNGraphic*> Pointers(const std::vector<std::unique_ptr<LMNGraphic>>& items)
{
    QList<LMNGraphic*> out;
    for (const auto& i : items)
        out << i.get();
    return out;
}

struct Archive : ::testing::Test {
    FakeMainWindow win;
    void SetUp() override { win.canvasBounds = QRectF(0, 0, 300, 300); }
};

TEST_F(Archive, EveryKindRoundTripsToAnEqualItem)
{
    for (const auto& item : Every_Kind()) {
        SCOPED_TRACE(item->className().toStdString());
        const QByteArray a = item->encodeWithCoder();
        auto back = LMNGraphic::initWithCoder(a);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->kind(), item->kind());
        EXPECT_EQ(back->encodeWithCoder(), a);   // every carried field came back
        EXPECT_EQ(back->_bounds, item->_bounds);
        EXPECT_EQ(back->control_ID, item->control_ID);
        EXPECT_EQ(back->ctrl_is_locked, item->ctrl_is_locked);
        EXPECT_EQ(back->_fillColor, item->_fillColor);
    }
}

TEST_F(Archive, KeyCountsAndSpellings)
{
    const auto items = Every_Kind();
    std::map<LMNKind, int> expected = {{LMNKind::Line, 23},  {LMNKind::Shape, 24}, {LMNKind::Signature, 22},
                                       {LMNKind::Text, 43},  {LMNKind::Image, 46}, {LMNKind::Barcode, 68}};
    for (const auto& item : items) {
        const QStringList keys = Item_Archive_Keys(item->encodeWithCoder());
        EXPECT_EQ(keys.size(), expected[item->kind()]) << item->className().toStdString();
        EXPECT_EQ(keys.first(), "_bounds");
        EXPECT_EQ(keys[18], "ctrl_is_visible");
    }
    const QStringList text = Item_Archive_Keys(items[0]->encodeWithCoder());
    for (const char* k : {"text_alignmnet", "text_alignmnet_Vert", "text_transfrom_case", "_Text_contents"})
        EXPECT_TRUE(text.contains(k)) << k;
    EXPECT_TRUE(Item_Archive_Keys(items[4]->encodeWithCoder()).contains("TB_marging_val"));
    const QStringList sig = Item_Archive_Keys(items[5]->encodeWithCoder());
    EXPECT_TRUE(sig.contains("sign_or_fingureprint"));
    EXPECT_FALSE(sig.contains("data_source_type"));
}

TEST_F(Archive, ReadingStartsFromABlankItem)
{
    LMNBarcode bar;
    bar.bar_image_ctrl_bounds = QRectF(1, 1, 1, 1);
    bar.Text_Value = "never carried";
    auto b = LMNGraphic::initWithCoder(bar.encodeWithCoder());
    EXPECT_EQ(b->bar_image_ctrl_bounds, QRectF());
    EXPECT_TRUE(b->Text_Value.isNull());
    EXPECT_EQ(b->header_val, "HEADER");

    LMNLine line;
    line.data_source_type = 1;
    line.batch_list_name = "x";
    auto l = LMNGraphic::initWithCoder(line.encodeWithCoder());
    EXPECT_EQ(l->data_source_type, 0);
    EXPECT_TRUE(l->batch_list_name.isNull());

    LMNText text;   // no barcode defaults, and no "Text here" on a shape
    auto t = LMNGraphic::initWithCoder(text.encodeWithCoder());
    EXPECT_TRUE(t->linear_font_val.isNull());
    auto s = LMNGraphic::initWithCoder(Shape_Control().encodeWithCoder());
    EXPECT_TRUE(s->Text_Value.isNull());
}

TEST_F(Archive, WidthsAreNarrowedToSinglePrecision)
{
    Shape_Control s;
    s._strokeWidth = 0.1;
    auto r = LMNGraphic::initWithCoder(s.encodeWithCoder());
    EXPECT_EQ(r->_strokeWidth, double(0.1f));
    EXPECT_NE(r->_strokeWidth, 0.1);
    s._strokeWidth = 2.5;
    EXPECT_EQ(LMNGraphic::initWithCoder(s.encodeWithCoder())->_strokeWidth, 2.5);
}

TEST_F(Archive, PictureCarriesPathPicturesAndEffects)
{
    auto items = Every_Kind();
    auto back = LMNGraphic::initWithCoder(items[3]->encodeWithCoder());
    EXPECT_EQ(back->_file_path, "/nowhere/picture.png");
    EXPECT_EQ(back->Text_Value, "caption");
    EXPECT_TRUE(back->gray_Scale);
    EXPECT_FLOAT_EQ(back->hue_val, 0.25f);
    // Pictures travel as PNG: the pixels come back, in straight alpha.
    auto same = [](const PtImage& a, const PtImage& b) {
        return a.raster().convertToFormat(QImage::Format_ARGB32) == b.raster().convertToFormat(QImage::Format_ARGB32);
    };
    EXPECT_TRUE(same(back->_contents, items[3]->_contents));
    EXPECT_EQ(back->_contents.size(), QSizeF(32, 16));
    EXPECT_TRUE(same(back->_contents_with_settings, items[3]->_contents_with_settings));
    // A barcode read back in the process that archived it has its very picture.
    auto bar = LMNGraphic::initWithCoder(items[4]->encodeWithCoder());
    EXPECT_TRUE(bar->_barcode_image.isVector());
    EXPECT_EQ(bar->_barcode_image.size(), QSizeF(30, 10));
    EXPECT_EQ(bar->_barcode_image.picture().data(), items[4]->_barcode_image.picture().data());
    EXPECT_DOUBLE_EQ(bar->header_font_val.pointSizeF(), 14);
}

TEST_F(Archive, CanvasOfEveryKindRoundTripsThroughThePasteboard)
{
    const auto items = Every_Kind();
    const QByteArray data = LMNGraphic::pasteboardDataWithGraphics(Pointers(items));
    ASSERT_TRUE(data.startsWith("bplist00"));
    const auto root = Plist_Parse(data);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->toList().size(), 6);

    LMNError err;
    err.code = -1;
    const QList<LMNGraphicPtr> pasted = LMNGraphic::graphicsWithPasteboardData(data, &err);
    EXPECT_EQ(err.code, -1);
    ASSERT_EQ(pasted.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(pasted[i]->kind(), items[i]->kind());
        EXPECT_EQ(pasted[i]->control_ID, "");   // pasting clears the identifier
        EXPECT_FALSE(pasted[i]->ctrl_is_locked); // and unlocks
        EXPECT_EQ(pasted[i]->_bounds, items[i]->_bounds);
    }
    for (int i = 0; i < 6; ++i) {
        // Apart from the identifier and the lock, each pasted item carries
        // exactly what was copied.
        pasted[i]->control_ID = items[i]->control_ID;
        pasted[i]->ctrl_is_locked = items[i]->ctrl_is_locked;
        EXPECT_EQ(pasted[i]->encodeWithCoder(), items[i]->encodeWithCoder()) << i;
    }
    EXPECT_EQ(pasted[0]->Text_contents().string, "Grüße\nzwei");
    EXPECT_EQ(static_cast<LMNLine&>(*pasted[1]).beginPoint(), QPointF(10, 40));
    // The undo road reads archives as they are: identifier and lock stay.
    auto undo = LMNGraphic::initWithCoder(LMNGraphic::propertiesWithGraphics(Pointers(items))[0]);
    EXPECT_EQ(undo->control_ID, "T1");
    EXPECT_TRUE(undo->ctrl_is_locked);
}

TEST_F(Archive, PastedPictureReloadsFromAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.png");
    QImage onDisk(10, 5, QImage::Format_RGB32);
    onDisk.fill(Qt::green);
    ASSERT_TRUE(onDisk.save(path));
    LMNImage pic;
    pic._file_path = path;
    pic._contents = Small_Raster(Qt::red);
    LMNImage gone;
    gone._file_path = dir.filePath("missing.png");
    gone._contents = Small_Raster(Qt::red);
    const auto pasted = LMNGraphic::graphicsWithPasteboardData(LMNGraphic::pasteboardDataWithGraphics({&pic, &gone}));
    ASSERT_EQ(pasted.size(), 2);
    EXPECT_EQ(pasted[0]->_contents.raster().pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(pasted[1]->_contents.raster().pixelColor(0, 0), QColor(Qt::red));
}

void Expect_Refused(const QByteArray& data, const char* what)
{
    SCOPED_TRACE(what);
    LMNError err;
    const auto items = LMNGraphic::graphicsWithPasteboardData(data, &err);
    EXPECT_TRUE(items.isEmpty());
    EXPECT_EQ(err.code, 2);
    EXPECT_EQ(err.domain, "LimnorErrorDomain");
}

// The pasted items of a list of elements, with how many gave no item.
QList<LMNGraphicPtr> Paste_List(const QVariantList& elements, int* skipped, LMNError* err)
{
    err->code = 0;
    return LMNGraphic::graphicsWithPasteboardData(Plist_Serialize(elements, PlistFormat::Binary), err, skipped);
}

TEST_F(Archive, DataThatIsNoListGivesErrorTwoAndNoItem)
{
    const auto items = Every_Kind();
    Expect_Refused(QByteArray(), "empty");
    QRandomGenerator rng(12345);
    for (int i = 0; i < 50; ++i) {
        QByteArray junk(int(rng.bounded(1, 400)), Qt::Uninitialized);
        for (auto& c : junk)
            c = char(rng.bounded(256));
        if (i % 2)
            junk.prepend("bplist00");
        Expect_Refused(junk, "random bytes");
    }
    Expect_Refused(Plist_Serialize(QVariantMap{{"a", QByteArray("x")}}, PlistFormat::Binary), "dictionary root");
    const QByteArray whole = LMNGraphic::pasteboardDataWithGraphics(Pointers(items));
    for (int n = 0; n < whole.size(); n += 97)
        Expect_Refused(whole.left(n), "truncated pasteboard data");
    // The empty list is a valid paste of nothing.
    int skipped = -1;
    LMNError err;
    EXPECT_TRUE(Paste_List({}, &skipped, &err).isEmpty());
    EXPECT_EQ(err.code, 0);
    EXPECT_EQ(skipped, 0);
}

// One element that gives no item costs only that element: the others are
// pasted in their order.
TEST_F(Archive, AnElementThatGivesNoItemIsLeftOutOfThePaste)
{
    const auto items = Every_Kind();
    const QByteArray text = items[0]->encodeWithCoder();
    const QByteArray bar = items[4]->encodeWithCoder();
    QByteArray unknown = bar;
    const int at = int(unknown.indexOf("LMNBarcode"));
    ASSERT_GT(at, 0);
    unknown.replace(at, 10, "LMNBarcodX");
    struct Case {
        const char* what;
        QVariant bad;
    };
    const Case cases[] = {{"unknown kind", unknown},
                          {"string element", QString("not data")},
                          {"integer element", qint64(3)},
                          {"truncated archive", bar.left(bar.size() / 2)},
                          {"no archive at all", QByteArray("ZLKA")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int skipped = 0;
        LMNError err;
        const auto pasted = Paste_List({text, c.bad, bar}, &skipped, &err);
        EXPECT_EQ(err.code, 0);
        EXPECT_EQ(skipped, 1);
        ASSERT_EQ(pasted.size(), 2);
        EXPECT_EQ(pasted[0]->kind(), LMNKind::Text);
        EXPECT_EQ(pasted[1]->kind(), LMNKind::Barcode);
        EXPECT_EQ(pasted[1]->_bounds, items[4]->_bounds);
    }
    // Every truncation of a good archive: an item or nothing, never a crash.
    for (int n = 0; n < bar.size(); n += 7) {
        int skipped = 0;
        LMNError err;
        const auto pasted = Paste_List({bar.left(n)}, &skipped, &err);
        EXPECT_EQ(pasted.size() + skipped, 1);
    }
}

// A value that does not read ends the reading: the item comes back with the
// fields read before it and blank ones after, in a paste and an undo step.
TEST_F(Archive, ADamagedValueGivesTheItemAsFarAsItWasRead)
{
    KeyedArchiver a(QStringLiteral("Shape_Control"));
    a.encodeRect("_bounds", QRectF(5, 6, 70, 80));
    a.encodeBool("ctrl_is_locked", true);
    a.encodeBool("_isDrawingFill", true);
    a.encodeInt32("_fillColor", 7);   // a colour written as a number
    a.encodeColor("_strokeColor", Qt::red);
    a.encodeString("control_ID", QStringLiteral("S9"));
    a.encodeString("_shape_type", QStringLiteral("DS"));
    const QByteArray damaged = a.finish();

    QString why;
    const auto undo = LMNGraphic::initWithCoder(damaged, &why);
    ASSERT_TRUE(undo);
    EXPECT_TRUE(why.contains("_fillColor")) << why.toStdString();
    EXPECT_EQ(undo->kind(), LMNKind::Shape);
    EXPECT_EQ(undo->_bounds, QRectF(5, 6, 70, 80));
    EXPECT_TRUE(undo->ctrl_is_locked);
    EXPECT_TRUE(undo->_isDrawingFill);
    EXPECT_FALSE(undo->_fillColor.isValid());
    EXPECT_FALSE(undo->_strokeColor.isValid()) << "nothing after the damaged value is read";
    EXPECT_TRUE(undo->control_ID.isNull());
    EXPECT_TRUE(undo->_shape_type.isNull());

    int skipped = -1;
    LMNError err;
    const auto pasted = Paste_List({damaged}, &skipped, &err);
    ASSERT_EQ(pasted.size(), 1);
    EXPECT_EQ(skipped, 0);
    EXPECT_EQ(pasted[0]->_bounds, QRectF(5, 6, 70, 80));
    EXPECT_FALSE(pasted[0]->ctrl_is_locked) << "a paste unlocks";

    // A value that is not a number leaves its field blank, not NaN.
    KeyedArchiver nan(QStringLiteral("Shape_Control"));
    nan.encodeRect("_bounds", QRectF(0, 0, qQNaN(), 1));
    const auto blank = LMNGraphic::initWithCoder(nan.finish());
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->_bounds, QRectF());

    // Damaged bytes inside an archive never crash; they read or give nothing.
    const QByteArray good = Every_Kind()[4]->encodeWithCoder();
    QRandomGenerator rng(4242);
    for (int i = 0; i < 300; ++i) {
        QByteArray bent = good;
        bent[int(rng.bounded(bent.size()))] = char(rng.bounded(256));
        const auto r = Paste_List({bent}, &skipped, &err);
        EXPECT_EQ(r.size() + skipped, 1);
    }
}

// A picture whose archive breaks after its picture shows that picture with
// the effects read so far, made again by the display filter.
TEST_F(Archive, ADamagedPictureIsShownWithItsSettingsMadeAgain)
{
    const Picture_Display_Filter_In_Place filter([](const LMNGraphic&) {
        QImage grey(16, 8, QImage::Format_ARGB32);
        grey.fill(Qt::gray);
        return grey;
    });
    KeyedArchiver a(QStringLiteral("LMNImage"));
    a.encodeRect("_bounds", QRectF(0, 0, 32, 16));
    a.encodeBool("gray_Scale", true);
    a.encodeString("_file_path", QStringLiteral("/nowhere/p.png"));
    a.encodeImage("_contents", Small_Raster(Qt::red));
    a.encodeInt32("_contents_with_settings", 1);   // damaged
    const auto pasted = LMNGraphic::graphicsWithPasteboardData(
        Plist_Serialize(QVariantList{a.finish()}, PlistFormat::Binary));
    ASSERT_EQ(pasted.size(), 1);
    EXPECT_TRUE(pasted[0]->gray_Scale);
    EXPECT_EQ(pasted[0]->_contents.raster().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(pasted[0]->_contents_with_settings.raster().pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(pasted[0]->_contents_with_settings.size(), QSizeF(32, 16));
}

} // namespace

namespace {

// A star or polygon whose point count came from a pasted or restored archive
// is bounded: an absurd count is not read, instead of having drawing build
// billions of points.
TEST_F(Archive, StarAndPolygonCountsAreBounded)
{
    for (const char* code : {"DS", "P"}) {
        SCOPED_TRACE(code);
        Shape_Control s;
        s._shape_type = QString::fromLatin1(code);
        s._bounds = QRectF(0, 0, 100, 100);
        int& field = s._shape_type == "DS" ? s.double_star_type : s.polygon_type;
        field = 2147483647;
        // The count is refused: the shape is pasted without it, and draws nothing.
        const auto absurd = LMNGraphic::graphicsWithPasteboardData(LMNGraphic::pasteboardDataWithGraphics({&s}));
        ASSERT_EQ(absurd.size(), 1);
        EXPECT_EQ(absurd[0]->_bounds, s._bounds);
        EXPECT_EQ(s._shape_type == "DS" ? absurd[0]->double_star_type : absurd[0]->polygon_type, 0);
        EXPECT_TRUE(absurd[0]->bezierPathForDrawing().isEmpty());
        // A value set by other means draws nothing rather than 2^31 points.
        EXPECT_TRUE(s.bezierPathForDrawing().isEmpty());

        field = Shape_Max_Point_Count;
        const auto pasted = LMNGraphic::graphicsWithPasteboardData(LMNGraphic::pasteboardDataWithGraphics({&s}));
        ASSERT_EQ(pasted.size(), 1);
        EXPECT_EQ(pasted[0]->bezierPathForDrawing().elementCount(), Shape_Max_Point_Count + 1);
        // Zero and negative counts keep their empty outline.
        field = -3;
        const auto empty = LMNGraphic::graphicsWithPasteboardData(LMNGraphic::pasteboardDataWithGraphics({&s}));
        ASSERT_EQ(empty.size(), 1);
        EXPECT_TRUE(empty[0]->bezierPathForDrawing().isEmpty());
    }
}

} // namespace
