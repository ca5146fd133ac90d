// Design and barcode settings files on disk: written, read back, classified,
// refused when damaged, and never lost by a failed save.
#include "FilesTestSupport.h"

#include "mainwindow/files/BarcodeFile.h"
#include "mainwindow/files/CardPresets.h"
#include "mainwindow/files/DesignFile.h"
#include "mainwindow/files/SafeSave.h"
#include "common/TestSupport.h"
#include "platform/Plist.h"

#include <QDir>

#include <QFile>

#include <sys/stat.h>

using namespace filestest;

namespace {

Design_File_Content Sample_Design(const QString& picture)
{
    Design_File_Content d;
    d.startOption = QStringLiteral("W");
    Card_Property& c = d.card;
    c.Card_border_chk = true;
    c.Card_bordr_clr = QColor::fromRgbF(0.2f, 0.3f, 0.4f, 1);
    c.Card_bor_Stepper = 3;
    c.Card_border_style = QStringLiteral("DO");
    c.Card_fill_style = QStringLiteral("I");
    c.Card_fill_clr = QColor::fromRgbF(0.9f, 0.9f, 0.8f, 1);
    c.Card_grad_Stepper = 45;
    c.Card_hatch_style = QStringLiteral("pattern_1");
    c.Card_alpha_Stepper = 0.75f;
    c.Card_Shape = QStringLiteral("RR");
    c.Card_Name = QStringLiteral("Members card");
    c.Card_Location = QPointF(0, 0);
    c.Card_Size = QSizeF(242.65, 153.36);
    c.Card_Preset = QStringLiteral("PVC Card");
    c.Card_Category = QStringLiteral("Vendor");
    c.Card_Sub_Category = QStringLiteral("CR80");
    c.Card_Cat_index = 2;
    c.Card_BG_Image_Path = picture;
    c.Card_BG_Image_Layout = QStringLiteral("Stretch");
    c.Watermark_Used = true;
    c.Watermark_Alignment = 1;
    c.Watermark_Transp = 0.35f;
    c.Watermark_Text = QStringLiteral("COPY");
    c.Watermark_Color = QColor::fromRgbF(1, 0, 0, 1);
    d.excelBindingUse = true;
    d.excelSourcePath = QStringLiteral("/home/me/people.xlsx");
    d.columnTitles = {QStringLiteral("#"), QStringLiteral("Name"), QStringLiteral("Code")};
    d.sheetRows = {QVariantMap{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "A-1"}},
                   QVariantMap{{"Extension", "2"}, {"Column1", "Bo"}, {"Column2", ""}}};
    for (const LMNGraphicPtr& g : Every_Kind(picture))
        d.items << g;
    return d;
}

class DesignFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        picture = Write_Picture(dir, QStringLiteral("card.png"), Qt::cyan);
        path = dir.filePath(QStringLiteral("design.dbs"));
    }
    Design_File_Read readBack(const QString& p, Item_Record_Context ctx = {}, bool sheet = true)
    {
        if (!ctx.renderBarcode)
            ctx.renderBarcode = Render_Like_Every_Kind;
        const auto root = Read_Design_Root(p);
        EXPECT_TRUE(root.has_value());
        EXPECT_EQ(Classify_Design_Root(*root), Design_File_Kind::Design);
        return Read_Design_Content(*root, ctx, sheet);
    }
    QTemporaryDir dir;
    QString picture;
    QString path;
};

TEST_F(DesignFileTest, ADesignComesBackWholeFromAnXmlFile)
{
    const Design_File_Content d = Sample_Design(picture);
    const QVariantList elements = Design_File_Elements(d, false);
    ASSERT_TRUE(Write_Design_Elements(path, elements));
    EXPECT_TRUE(testsupport::readAll(path).startsWith("<?xml"));

    ASSERT_EQ(elements.at(41), QString::number(d.items.size())) << "element 41 counts the records written";
    EXPECT_EQ(elements.size(), 42 + d.items.size());
    EXPECT_EQ(elements.at(16), QStringLiteral("1")) << "a saved design is one-sided";

    const Design_File_Read r = readBack(path);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.content.startOption, QStringLiteral("W"));
    const Card_Property& a = d.card;
    const Card_Property& b = r.content.card;
    EXPECT_EQ(b.Card_border_chk, a.Card_border_chk);
    Expect_Colour_Near(b.Card_bordr_clr, a.Card_bordr_clr, "border");
    EXPECT_EQ(b.Card_bor_Stepper, a.Card_bor_Stepper);
    EXPECT_EQ(b.Card_border_style, a.Card_border_style);
    EXPECT_EQ(b.Card_fill_style, a.Card_fill_style);
    EXPECT_EQ(b.Card_grad_Stepper, a.Card_grad_Stepper);
    EXPECT_NEAR(b.Card_alpha_Stepper, a.Card_alpha_Stepper, 0.0051);
    EXPECT_EQ(b.Card_Side, QStringLiteral("1"));
    EXPECT_EQ(b.Card_Shape, a.Card_Shape);
    EXPECT_EQ(b.Card_Name, a.Card_Name);
    EXPECT_EQ(b.Card_Size, a.Card_Size);
    EXPECT_EQ(b.Card_Sub_Category, a.Card_Sub_Category);
    EXPECT_EQ(b.Card_Cat_index, a.Card_Cat_index);
    EXPECT_EQ(b.Card_BG_Image_Path, picture);
    EXPECT_EQ(b.Card_BG_Image_Layout, a.Card_BG_Image_Layout);
    Expect_Font_Same(b.Card_Content_font, a.Card_Content_font, "content font");
    EXPECT_TRUE(b.Watermark_Used);
    EXPECT_EQ(b.Watermark_Alignment, 1);
    EXPECT_NEAR(b.Watermark_Transp, 0.35, 0.0051);
    EXPECT_EQ(b.Watermark_Text, a.Watermark_Text);
    EXPECT_TRUE(r.content.excelBindingUse);
    EXPECT_EQ(r.content.excelSourcePath, d.excelSourcePath);
    EXPECT_EQ(r.content.columnTitles, d.columnTitles);
    EXPECT_EQ(r.content.sheetRows, d.sheetRows);
    ASSERT_EQ(r.content.items.size(), d.items.size());
    for (int i = 0; i < d.items.size(); ++i)
        Expect_Item_Equal(*d.items.at(i), *r.content.items.at(i));

    // Binary property lists are read as well.
    const QString bin = dir.filePath("binary.dbs");
    ASSERT_TRUE(Plist_Write_File(bin, QVariant(elements), PlistFormat::Binary));
    const Design_File_Read rb = readBack(bin);
    ASSERT_TRUE(rb.ok);
    EXPECT_EQ(rb.content.items.size(), d.items.size());
}

TEST_F(DesignFileTest, AnEmptyDesignEndsWithZeroAndReadsBackAsAnEmptyCard)
{
    Design_File_Content d = Sample_Design(picture);
    d.items.clear();
    d.card.Card_fill_style = QStringLiteral("S");
    const QVariantList e = Design_File_Elements(d, false);
    ASSERT_EQ(e.size(), 42);
    EXPECT_EQ(e.last(), QStringLiteral("0"));
    EXPECT_EQ(e.at(27), QString("")) << "no picture path without a picture fill";
    ASSERT_TRUE(Write_Design_Elements(path, e));
    const Design_File_Read r = readBack(path);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.content.items.isEmpty());
    EXPECT_EQ(r.content.card.Card_Name, QStringLiteral("Members card"));
}

TEST_F(DesignFileTest, TemplatesStoreNoSheetAndNoBindings)
{
    const Design_File_Content d = Sample_Design(picture);
    const QVariantList e = Design_File_Elements(d, true);
    EXPECT_EQ(e.at(2), QStringLiteral("T"));
    EXPECT_TRUE(e.at(39).toList().isEmpty());
    EXPECT_TRUE(e.at(40).toList().isEmpty());
    ASSERT_TRUE(Write_Design_Elements(path, e));
    const Design_File_Read r = readBack(path);
    ASSERT_TRUE(r.ok);
    for (const LMNGraphicPtr& g : r.content.items)
        EXPECT_EQ(g->data_source_type, 0);
    // The open design keeps its bindings.
    EXPECT_EQ(d.items.at(0)->data_source_type, 1);
    EXPECT_EQ(d.items.at(0)->batch_list_name, QStringLiteral("names"));
}

TEST_F(DesignFileTest, BarcodesBoundToAColumnAreRenderedFromTheFilesOwnFirstRow)
{
    Design_File_Content d = Sample_Design(picture);
    auto b = std::make_shared<LMNBarcode>();
    b->data_source_type = 2;
    b->excel_col_indx = 2;
    d.items = {b};
    ASSERT_TRUE(Write_Design_Elements(path, Design_File_Elements(d, false)));
    QStringList values;
    Item_Record_Context ctx;
    ctx.renderBarcode = [&values](const LMNGraphic&, const QString& v) {
        values << v;
        return Vector_Picture();
    };
    ctx.firstSheetValue = [](int) { return QStringLiteral("from the open sheet"); };
    ASSERT_TRUE(readBack(path, ctx, true).ok);
    ASSERT_TRUE(readBack(path, ctx, false).ok);
    EXPECT_EQ(values, (QStringList{"A-1", "from the open sheet"}));
    EXPECT_EQ(First_Sheet_Value(d.sheetRows, 0), QStringLiteral("1"));
    EXPECT_EQ(First_Sheet_Value(QVariantList{QVariantMap{{"Column1", ""}}}, 1), QStringLiteral(" "));
    EXPECT_EQ(First_Sheet_Value({}, 1), QString(""));
}

TEST_F(DesignFileTest, FilesAreSortedByTheirMagicAndKind)
{
    const auto kindOf = [](const QVariantList& l) { return Classify_Design_Root(QVariant(l)); };
    EXPECT_EQ(kindOf({Design_File_Magic, Design_Kind}), Design_File_Kind::Design);
    EXPECT_EQ(kindOf({Design_File_Magic, QStringLiteral("<XYZ>")}), Design_File_Kind::Design);
    EXPECT_EQ(kindOf({Design_File_Magic, Barcode_Kind}), Design_File_Kind::Barcode);
    EXPECT_EQ(kindOf({Older_Barcode_File_Magic, QStringLiteral("Code 39")}), Design_File_Kind::OlderBarcode);
    EXPECT_EQ(kindOf({Older_Barcode_File_Magic, Design_Kind}), Design_File_Kind::Corrupt)
        << "an older-magic file claiming a design passes between no readers";
    EXPECT_EQ(kindOf({QStringLiteral("SOMETHING"), Design_Kind}), Design_File_Kind::Corrupt);
    EXPECT_EQ(kindOf({}), Design_File_Kind::Corrupt);
    EXPECT_EQ(Classify_Design_Root(QVariant(QVariantMap())), Design_File_Kind::Corrupt);

    // A file that is no property list at all.
    testsupport::touch(path, "this is not a property list");
    EXPECT_FALSE(Read_Design_Root(path).has_value());
    // An empty array is refused with no element taken.
    const Design_File_Read r = Read_Design_Content(QVariant(QVariantList()), {}, true);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.elementsTaken, 0);
}

TEST_F(DesignFileTest, DamagedRecordsAreReadAsFarAsTheyGoAndNamed)
{
    const Design_File_Content d = Sample_Design(picture);
    const QVariantList e = Design_File_Elements(d, false);
    const int n = int(d.items.size());
    Item_Record_Context ctx;
    ctx.renderBarcode = Render_Like_Every_Kind;

    // A count above the records the file holds: those there are read.
    QVariantList cut = e;
    cut.removeLast();
    Design_File_Read r = Read_Design_Content(QVariant(cut), ctx, true);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.content.items.size(), n - 1);
    EXPECT_EQ(r.itemProblems, QStringList{QStringLiteral("The design counts %1 items but holds %2.").arg(n).arg(n - 1)});
    // A count that is no count, or an absurd one: every record there.
    for (const char* count : {"4000000000", "many"}) {
        QVariantList big = e;
        big[41] = QString::fromLatin1(count);
        r = Read_Design_Content(QVariant(big), ctx, true);
        ASSERT_TRUE(r.ok) << count;
        EXPECT_EQ(r.content.items.size(), n) << count;
        ASSERT_EQ(r.itemProblems.size(), 1) << count;
        EXPECT_TRUE(r.itemProblems.first().contains("cannot be read")) << count;
    }

    // A cut record, a record of an unknown kind, one that is no record:
    // a partial item, no item, no item; the others whole; each named.
    QVariantList damaged = e;
    QVariantList text = damaged[42].toList();
    text.resize(31);
    damaged[42] = text;
    QVariantList unknown = damaged[43].toList();
    unknown[0] = QStringLiteral("Q");
    damaged[43] = unknown;
    damaged[44] = QStringLiteral("no record");
    r = Read_Design_Content(QVariant(damaged), ctx, true);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    ASSERT_EQ(r.content.items.size(), n - 2);
    EXPECT_EQ(r.content.items.first()->kind(), LMNKind::Text);
    EXPECT_EQ(r.content.items.first()->txt_clr.rgba(), d.items.first()->txt_clr.rgba());
    for (int i = 1; i < n - 2; ++i)
        Expect_Item_Equal(*d.items.at(i + 2), *r.content.items.at(i));
    ASSERT_EQ(r.itemProblems.size(), 3);
    EXPECT_TRUE(r.itemProblems.at(0).startsWith("Item 1: the item record ends before vertical alignment"))
        << r.itemProblems.at(0).toStdString();
    EXPECT_TRUE(r.itemProblems.at(1).startsWith("Item 2: \"Q\" is no kind of item")) << r.itemProblems.at(1).toStdString();
    EXPECT_EQ(r.itemProblems.at(2), QStringLiteral("Item 3 is not an item record; it was left out."));
    // Written again, the design reads back whole.
    r = Read_Design_Content(QVariant(Design_File_Elements(r.content, false)), ctx, true);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.itemProblems.isEmpty());
    EXPECT_EQ(r.content.items.size(), n - 2);

    // What is no design at all is refused whole.
    QVariantList rows = e;
    rows[40] = QVariantList{QVariantMap{{"Column1", QVariantList()}}};
    EXPECT_FALSE(Read_Design_Content(QVariant(rows), {}, true).ok) << "a cell that is no text";
    QVariantList size = e;
    size[21] = QStringLiteral("{1e9, 5}");
    EXPECT_FALSE(Read_Design_Content(QVariant(size), {}, true).ok) << "an absurd card size";
    EXPECT_FALSE(Read_Design_Content(QVariant(e.mid(0, 41)), {}, true).ok) << "no item count";
}

TEST_F(DesignFileTest, AFailedSaveKeepsTheOldFileByteForByte)
{
    Design_File_Content big = Sample_Design(picture);
    for (int i = 0; i < 200; ++i) {
        auto t = std::make_shared<LMNText>();
        t->Text_Value = QString(200, QChar('a' + i % 26));
        big.items << t;
    }
    ASSERT_TRUE(Write_Design_Elements(path, Design_File_Elements(big, false)));
    const QByteArray before = testsupport::readAll(path);
    ASSERT_GT(before.size(), 1 << 16) << "large enough to be written in several pieces";

    Design_File_Content& other = big;
    other.card.Card_Name = QStringLiteral("Changed");
    // The disk fills up after the first piece.
    const Save_Fault old = Set_Save_Fault([](qint64 offset) { return offset == 0; });
    QString why;
    EXPECT_FALSE(Write_Design_Elements(path, Design_File_Elements(other, false), &why));
    Set_Save_Fault(old);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(testsupport::readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no leftover temporary file";

    // A folder that cannot hold the file: a plain file stands where it should be.
    testsupport::touch(dir.filePath("plain"));
    EXPECT_FALSE(Write_Design_Elements(dir.filePath("plain/design.dbs"), Design_File_Elements(other, false), &why));
}

TEST_F(DesignFileTest, APictureThatNamesAPipeIsNotReadFrom)
{
    const QString fifo = dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    Design_File_Content d = Sample_Design(picture);
    auto img = std::make_shared<LMNImage>();
    img->_bounds = QRectF(0, 0, 20, 20);
    img->_file_path = fifo;
    d.items = {img};
    ASSERT_TRUE(Write_Design_Elements(path, Design_File_Elements(d, false)));
    const Design_File_Read r = readBack(path);   // would block forever on the pipe
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.content.items.first()->_file_path, fifo);
    EXPECT_TRUE(r.content.items.first()->_contents.isNull());
}

TEST(CardPresets, TableLookupAndOrientation)
{
    const QSizeF pvc = Get_My_card_Size("PVC Card", "H", 0);
    EXPECT_NEAR(pvc.width(), 85.598, 1e-3);
    EXPECT_NEAR(pvc.height(), 54.102, 1e-3);
    EXPECT_EQ(pvc.width(), double(float(double(3.37f) * 25.4))) << "rounded back to a single float";
    const QSizeF v = Get_My_card_Size("PVC Card", "V", 0);
    EXPECT_EQ(v, pvc.transposed());
    EXPECT_EQ(Get_My_card_Size("PVC Card", "H", -1), QSizeF(30, 30));
    EXPECT_NEAR(Get_My_card_Size("PVC Card", "H", 7).width(), 762, 1e-3);
    EXPECT_NEAR(Get_My_card_Size("pvc card", "H", 7).width(), 150.114, 1e-3) << "the stock is matched exactly";
    EXPECT_EQ(Get_My_card_Size("Paper", "H", 2), Get_My_card_Size("Paper", "H", 3));
    EXPECT_NEAR(Get_My_card_Size("Paper", "H", 8).height(), 762, 1e-3);
    EXPECT_EQ(Card_Preset_Count("PVC Card"), 7);
    EXPECT_EQ(Card_Preset_Count("Paper"), 8);
}

} // namespace
