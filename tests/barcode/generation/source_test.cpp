// Barcode mode's source as a value, with no widget: the rows and labels a
// job counts, the texts and copies of each row it prints, and the row it
// starts from (the first whose value encodes), for the barcode list with
// print quantities, for series of unequal lengths, and for a typed barcode.
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeRows.h"
#include "barcode/generation/BarcodeSource.h"
#include "barcode/generation/list/BarcodeList.h"
#include "common/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

BarcodeSettings Settings_For(const QString& type)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, type);
    return s;
}

const Batch_Row_Texts kTyped{QStringLiteral("typed"), QStringLiteral(" typed head "), QStringLiteral("  typed foot ")};

void Expect_Texts(const Batch_Row_Source& rows, int row, const Batch_Row_Texts& want)
{
    SCOPED_TRACE(row);
    const Batch_Row_Texts t = rows.texts(row);
    EXPECT_EQ(t.value, want.value);
    EXPECT_EQ(t.header, want.header);
    EXPECT_EQ(t.footer, want.footer);
}

// What a decoder reads in the label of a row.
QString Decoded(const Batch_Row_Source& rows, int row)
{
    const PtImage image = rows.image(row);
    if (image.isNull())
        return QStringLiteral("(no image)");
    const QImage px = image.toImage(300);
    QImage flat(px.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, px);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath("row.png");
    if (!flat.save(file))
        return QStringLiteral("(not saved)");
    return QString::fromUtf8(testsupport::ZXing_Decode(file)).trimmed();
}

Barcode_Source List_Source(std::array<bool, 3> fed)
{
    Barcode_Source s;
    s.dataSource = true;
    s.kind = Barcode_Source::Kind::List;
    s.fed = fed;
    return s;
}

} // namespace

TEST(BarcodeSource, AJobOfTheListTakesEveryRowByItsQuantity)
{
    if (!testsupport::Tool_Available(QStringLiteral("ZXingReader")))
        FAIL() << "ZXingReader missing";
    BarcodeListModel list;
    list.Load_Rows({{"123", "h0", "f0", "2"},
                    {" 590123412345 ", "h1", "f1", "3"},
                    {"400638133393", "h2", "f2", "1"},
                    {QStringLiteral("59012341234é"), "h3", "f3", "4"}});
    const BarcodeSettings ean = Settings_For(QStringLiteral("EAN-13"));
    // The list feeds value and header; the footer is typed.
    const Barcode_Source source = List_Source({true, true, false});

    const Batch_Row_Count count = source.Count_Rows(list.rows());
    EXPECT_TRUE(count.Use_Data_Sheet_Values);
    EXPECT_FALSE(count.seriesFeeds);
    EXPECT_EQ(count.Total_Barcode_Label_wd_Batch, 4);
    EXPECT_EQ(count.Total_Batch_Excel_Card, 4);
    EXPECT_EQ(count.Total_Label_Wd_PQ, 2 + 3 + 1 + 4);
    EXPECT_EQ(source.Get_PQ_Count_Of_Index(list.rows(), 4), 0);   // past the rows

    const Batch_Rows rows = source.Make_Rows(list.rows(), ean, kTyped);
    ASSERT_EQ(rows->rowCount(), 4);
    Expect_Texts(*rows, 1, {"590123412345", "h1", "typed foot"});
    Expect_Texts(*rows, 4, {"", "", ""});
    const int copies[] = {2, 3, 1, 4};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(rows->printQuantity(r), copies[r]) << r;
    // The first row that encodes: "123" is too short, row 1 is a good EAN-13.
    EXPECT_EQ(Find_Valid_Barcode_Value_For_Batch_Processing(*rows), 1);
    const auto& barcodeRows = static_cast<const Barcode_Rows&>(*rows);
    EXPECT_FALSE(barcodeRows.Check_Barcode_Value_is_Valid_in_Series(0));
    EXPECT_TRUE(barcodeRows.Check_Barcode_Value_is_Valid_in_Series(2));
    EXPECT_FALSE(barcodeRows.Check_Barcode_Value_is_Valid_in_Series(3));   // not ASCII
    EXPECT_TRUE(Decoded(*rows, 1).startsWith(QStringLiteral("590123412345")));

    // The rows are the job's: a list changed afterwards changes nothing in them.
    list.Replace_Item_List("999", "", "", "7", 1);
    Expect_Texts(*rows, 1, {"590123412345", "h1", "typed foot"});
    EXPECT_EQ(rows->printQuantity(1), 3);

    // No row encodes: there is no row to start from.
    list.Load_Rows({{"12", "", "", "1"}, {"", "h", "", "1"}});
    EXPECT_EQ(Find_Valid_Barcode_Value_For_Batch_Processing(*source.Make_Rows(list.rows(), ean, kTyped)), -1);
}

// The list feeding the value alone: every row's label carries the header and
// footer typed in the value pane, whether the row leaves its own empty or has
// some (they are not what the batch takes). So does the road of one row (its
// preview, an export of rows).
TEST(BarcodeSource, TheListFeedingOnlyTheValueKeepsTheTypedHeaderAndFooter)
{
    BarcodeListModel list;
    list.Load_Rows({{"ROW-A", "", "", "1"}, {"ROW-B", "own head", "", "1"}, {"ROW-C", "", "own foot", "2"}});
    BarcodeSettings code128 = Settings_For(QStringLiteral("Code 128"));
    code128.hide_header = code128.hide_footer = false;
    const Barcode_Source source = List_Source({true, false, false});
    const Batch_Rows rows = source.Make_Rows(list.rows(), code128, kTyped);
    ASSERT_EQ(rows->rowCount(), 3);
    const QStringList values{"ROW-A", "ROW-B", "ROW-C"};
    const auto pixels = [](const PtImage& image) { return image.isNull() ? QImage() : image.toImage(150); };
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        Expect_Texts(*rows, r, {values[r], "typed head", "typed foot"});
        // The printed label is the typed barcode's with the row's value.
        const QImage label = pixels(rows->image(r));
        ASSERT_FALSE(label.isNull());
        EXPECT_EQ(label, pixels(Make_Barcode_Image(code128, values[r], "typed head", "typed foot")));
        EXPECT_NE(label, pixels(Make_Barcode_Image(code128, values[r], "", "")));

        Batch_Row_Texts one = kTyped;
        ASSERT_TRUE(source.rowTexts(list.rows(), r, one));
        EXPECT_EQ(one.value, values[r]);
        EXPECT_EQ(one.header, kTyped.header);
        EXPECT_EQ(one.footer, kTyped.footer);
    }
}

TEST(BarcodeSource, ATypedBarcodeIsOneLabelWhateverTheList)
{
    BarcodeListModel list;
    list.Load_Rows({{"A", "h", "f", "5"}, {"B", "h", "f", "6"}});
    const BarcodeSettings code128 = Settings_For(QStringLiteral("Code 128"));
    for (int off = 0; off < 2; ++off) {
        SCOPED_TRACE(off);
        // Batch data off, or on with none of the three texts taken from it.
        Barcode_Source source = List_Source(off == 0 ? std::array<bool, 3>{true, true, true} : std::array<bool, 3>{});
        source.dataSource = off != 0;
        EXPECT_FALSE(source.Check_Data_Sheet_Value_Use_or_Not_Barcode());
        const Batch_Row_Count count = source.Count_Rows(list.rows());
        EXPECT_EQ(count.Total_Barcode_Label_wd_Batch, 1);
        EXPECT_EQ(count.Total_Label_Wd_PQ, 1);
        const Batch_Rows rows = source.Make_Rows(list.rows(), code128, kTyped);
        ASSERT_EQ(rows->rowCount(), 1);
        Expect_Texts(*rows, 0, {"typed", "typed head", "typed foot"});
        EXPECT_EQ(rows->printQuantity(0), 1);
    }
}

TEST(BarcodeSource, SeriesOfUnequalLengthsGiveOneLabelARowOnOneRowTogether)
{
    Barcode_Source source;
    source.dataSource = true;
    source.kind = Barcode_Source::Kind::Series;
    source.fed = {true, true, true};
    source.series[0] = {QStringLiteral("Codes"), {"x1", "x2", "C3", "C4", "C5"}};
    source.series[1] = {QStringLiteral("heads"), {"h1", "h2", "h3"}};
    source.series[2] = {QString(), {QString()}};   // fed, but no series chosen
    source.Last_Selected_Index = 6;                  // a row of a longer series read before

    // The series in use are padded to the longest; a chosen row past it goes.
    EXPECT_EQ(source.balance(), 5);
    EXPECT_EQ(source.series[1].rows, QStringList({"h1", "h2", "h3", "", ""}));
    EXPECT_EQ(source.series[2].rows, QStringList({""}));
    EXPECT_EQ(source.Last_Selected_Index, -1);
    EXPECT_EQ(source.seriesText(0), "x1");   // none chosen: the first row shows
    source.Last_Selected_Index = 4;
    EXPECT_EQ(source.seriesText(0), "C5");
    EXPECT_EQ(source.seriesText(1), "");
    EXPECT_EQ(source.Series_Names_In_Use(), QStringList({"Codes", "heads"}));
    const Barcode_Source_State saved = source.Source_State();
    EXPECT_FALSE(saved.customList);
    EXPECT_EQ(saved.valueItem, "C5");
    EXPECT_EQ(saved.headerItem, "");
    EXPECT_EQ(saved.footerSeries, "");

    // Series count one label a row, whatever quantities the list holds.
    BarcodeListModel list;
    list.Load_Rows({{"L", "", "", "9"}});
    const Batch_Row_Count count = source.Count_Rows(list.rows());
    EXPECT_TRUE(count.seriesFeeds);
    EXPECT_EQ(count.Total_Barcode_Label_wd_Batch, 5);
    EXPECT_EQ(count.Total_Label_Wd_PQ, 5);
    const Batch_Rows rows = source.Make_Rows(list.rows(), Settings_For(QStringLiteral("Code 128")), kTyped);
    ASSERT_EQ(rows->rowCount(), 5);
    Expect_Texts(*rows, 2, {"C3", "h3", ""});
    Expect_Texts(*rows, 4, {"C5", "", ""});
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(rows->printQuantity(r), 1) << r;
    // Code 128 takes any ASCII value: the job starts from row 0. EAN-13
    // takes none of "x1", "x2": it starts from none.
    EXPECT_EQ(Find_Valid_Barcode_Value_For_Batch_Processing(*rows), 0);
    source.series[0].rows[2] = QStringLiteral("590123412345");
    EXPECT_EQ(Find_Valid_Barcode_Value_For_Batch_Processing(
                  *source.Make_Rows(list.rows(), Settings_For(QStringLiteral("EAN-13")), kTyped)),
              2);

    // A header no longer fed is typed, and the value series alone counts.
    source.fed[1] = false;
    source.series[0].rows = QStringList({"A", "B"});
    EXPECT_EQ(source.seriesRowCount(), 2);
    const Batch_Rows fewer = source.Make_Rows(list.rows(), Settings_For(QStringLiteral("Code 128")), kTyped);
    ASSERT_EQ(fewer->rowCount(), 2);
    Expect_Texts(*fewer, 1, {"B", "typed head", ""});
}
