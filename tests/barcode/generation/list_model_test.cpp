// The barcode list model: the print-quantity rule, the separator line, the
// two row operations, the whole-list changes of the list commands, cells
// typed into the table and rows placed by imports.
#include "barcode/generation/list/BarcodeList.h"
#include "barcode/generation/list_test_support.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

void Fill(BarcodeListModel& m, int n)
{
    for (int i = 0; i < n; ++i)
        m.Create_Item_List(QStringLiteral("V%1").arg(i), QStringLiteral("H%1").arg(i), QStringLiteral("F%1").arg(i),
                           QString::number(i + 1), m.count());
}

QStringList Values(const BarcodeListModel& m)
{
    QStringList v;
    for (const BarcodeRow& r : m.rows())
        v << r.Value;
    return v;
}

} // namespace

TEST(BarcodeListModel, PrintQuantityRuleInBothRowOperations)
{
    struct Case { const char* typed; const char* stored; };
    const Case cases[] = {{"5", "5"},   {"05", "05"}, {"999", "999"}, {" 7 ", "7"}, {"", "1"},  {"0", "1"},
                          {"000", "1"}, {"1000", "1"}, {"1a", "1"},   {"-1", "1"},  {"+5", "1"}, {"1.5", "1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(Check_PQ_Number(QString::fromLatin1(c.typed)), QString::fromLatin1(c.typed) != QLatin1String(c.stored)
                                                                  && QString::fromLatin1(c.typed).trimmed() != QLatin1String(c.stored));
        BarcodeListModel m;
        ASSERT_TRUE(m.Create_Item_List("v", "h", "f", QString::fromLatin1(c.typed), 0));
        EXPECT_EQ(m.rows()[0].PQ, QLatin1String(c.stored));
        ASSERT_TRUE(m.Replace_Item_List("w", "h", "f", QString::fromLatin1(c.typed), 0));
        EXPECT_EQ(m.rows()[0].PQ, QLatin1String(c.stored));
    }
    // Texts are trimmed; a row of three empty texts: inserted with "1", replaced with "".
    BarcodeListModel m;
    ASSERT_TRUE(m.Create_Item_List("  a \t", "\n b ", " c ", "", 0));
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"a", "b", "c", "1"}));
    ASSERT_TRUE(m.Create_Item_List("", "", "", "", 1));
    EXPECT_EQ(m.rows()[1], (BarcodeRow{"", "", "", "1"}));
    ASSERT_TRUE(m.Replace_Item_List(" ", "", "", "4", 1));
    EXPECT_EQ(m.rows()[1], (BarcodeRow{"", "", "", ""}));
    EXPECT_FALSE(m.Replace_Item_List("x", "", "", "1", 2));   // no such row
    EXPECT_FALSE(m.Replace_Item_List("x", "", "", "1", -1));
    EXPECT_EQ(m.count(), 2);
    EXPECT_EQ(PQ_Value(" 12 "), 12);
    EXPECT_EQ(PQ_Value(""), 0);
}

TEST(BarcodeListModel, SeparatorLineAndInsertPositions)
{
    BarcodeListModel m;
    EXPECT_FALSE(m.Create_Item_List(QString(76, '='), "h", "f", "1", 0));
    EXPECT_FALSE(m.Create_Item_List("  " + QString(76, '=') + " ", "h", "f", "1", 0));
    EXPECT_TRUE(m.Create_Item_List(QString(75, '='), "h", "f", "1", 0));
    EXPECT_TRUE(m.Create_Item_List(QString(77, '='), "h", "f", "1", 1));
    EXPECT_EQ(m.count(), 2);

    // Any index appends to an empty list; past the end is refused.
    BarcodeListModel e;
    EXPECT_TRUE(e.Create_Item_List("a", "", "", "1", 17));
    EXPECT_FALSE(e.Create_Item_List("b", "", "", "1", 5));
    EXPECT_TRUE(e.Create_Item_List("b", "", "", "1", 1));
    EXPECT_TRUE(e.Create_Item_List("c", "", "", "1", 0));
    EXPECT_EQ(Values(e), QStringList({"c", "a", "b"}));
}

TEST(BarcodeListModel, ListCommandsOnWholeRows)
{
    BarcodeListModel m;
    Fill(m, 5);
    // Rows 3 and 4 removed at once: the largest removed index is 4.
    EXPECT_EQ(m.Remove_Rows({4, 3, 3, 9}), 4);
    EXPECT_EQ(Values(m), QStringList({"V0", "V1", "V2"}));
    EXPECT_EQ(m.Remove_Rows({}), -1);

    // Blank rows: empty texts with a quantity empty or "1"; "2" stays.
    BarcodeListModel b;
    b.Create_Item_List("a", "", "", "1", 0);
    b.Create_Item_List("", "", "", "1", 1);
    b.Create_Item_List("", "", "", "2", 2);
    b.Create_Item_List("", "", "", "", 3);
    b.Replace_Item_List("", "", "", "", 3);
    b.Create_Item_List("", " x", "", "1", 4);
    EXPECT_TRUE(b.Has_Blank_Row());
    EXPECT_EQ(b.Remove_Blank_Rows(), 2);
    ASSERT_EQ(b.count(), 3);
    EXPECT_EQ(b.rows()[1].PQ, "2");
    EXPECT_FALSE(b.Has_Blank_Row());

    // Moves are swaps; the rows between keep their places.
    BarcodeListModel s;
    Fill(s, 5);
    ASSERT_TRUE(s.Move_And_Replace_List_Item(4, 0));
    EXPECT_EQ(Values(s), QStringList({"V4", "V1", "V2", "V3", "V0"}));
    EXPECT_FALSE(s.Move_And_Replace_List_Item(0, 5));
    EXPECT_FALSE(s.Move_And_Replace_List_Item(-1, 0));

    // Clearing a column re-checks quantities; the quantity clear stores empty
    // ones and leaves the flag as it was.
    BarcodeListModel c;
    Fill(c, 3);
    c.Replace_Item_List("x", "", "", "1", 2);
    c.Clear_Column(0);
    EXPECT_EQ(c.rows()[0], (BarcodeRow{"", "H0", "F0", "1"}));
    EXPECT_EQ(c.rows()[2], (BarcodeRow{"", "", "", ""}));
    c.Clear_Column(3);
    EXPECT_EQ(c.rows()[1].PQ, "");
    c.Replace_Item_List("y", "", "", "bad", 1);
    EXPECT_EQ(c.rows()[1].PQ, "1") << "a replace after a clear checks the quantity again";
    c.Clear_Column(-1);
    EXPECT_EQ(c.rows()[0], BarcodeRow());
    EXPECT_EQ(c.count(), 3);
}

TEST(BarcodeListModel, TableCellsAndColumnKeys)
{
    BarcodeListModel m;
    Fill(m, 2);
    EXPECT_EQ(m.columnCount(), 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(m.headerData(c, Qt::Horizontal, BarcodeListModel::Column_Key_Role).toString(), Barcode_Row_Key(c));
    EXPECT_EQ(Barcode_Row_Key(3), "PQ");
    // Typed texts are kept as typed, but a quantity follows the rule.
    EXPECT_TRUE(m.setData(m.index(0, 0), QStringLiteral(" typed ")));
    EXPECT_EQ(m.rows()[0].Value, " typed ");
    EXPECT_TRUE(m.setData(m.index(0, 3), QStringLiteral("1a")));
    EXPECT_EQ(m.rows()[0].PQ, "1");
    EXPECT_TRUE(m.setData(m.index(1, 3), QStringLiteral("42")));
    EXPECT_EQ(m.rows()[1].PQ, "42");
    // A row outside the list gives and takes nothing.
    EXPECT_FALSE(m.data(m.index(5, 0), Qt::DisplayRole).isValid());
    BarcodeListModel longer;
    Fill(longer, 9);
    EXPECT_FALSE(m.setData(longer.index(7, 0), QStringLiteral("x")));
    // A huge text is shown cut; the whole text stays in the row.
    const QString huge(200000, QLatin1Char('7'));
    m.Replace_Item_List(huge, "", "", "1", 1);
    EXPECT_LE(m.data(m.index(1, 0), Qt::DisplayRole).toString().size(), BarcodeListModel::Display_Limit + 1);
    EXPECT_EQ(m.data(m.index(1, 0), Qt::EditRole).toString(), huge);
    // The map form carries the four keys.
    const auto maps = m.toMapList();
    ASSERT_EQ(maps.size(), 2);
    EXPECT_EQ(maps[1].value("Value"), huge);
    EXPECT_EQ(maps[0].value("PQ"), "1");
}

TEST(BarcodeListModel, ImportRowsReplaceThenAppend)
{
    BarcodeListModel m;
    Fill(m, 3);
    QSignalSpy counts(&m, &BarcodeListModel::countChanged);
    std::vector<BarcodeRow> rows{{"a", "", "", "0"}, {QString(76, '='), "", "", ""}, {"b", "", "", ""},
                                 {"c", "h", "f", "3"}, {"", "", "", ""}};
    int index = 1;
    EXPECT_EQ(m.Apply_Import_Rows(rows, &index, 3), 4);
    EXPECT_EQ(index, 5);
    // Rows 1 and 2 replaced (quantities checked), the separator used no place,
    // the rest appended in one insertion.
    EXPECT_EQ(Values(m), QStringList({"V0", "a", "b", "c", ""}));
    EXPECT_EQ(m.rows()[1].PQ, "1");
    EXPECT_EQ(m.rows()[2].PQ, "1");
    EXPECT_EQ(m.rows()[3].PQ, "3");
    EXPECT_EQ(m.rows()[4].PQ, "1");
    EXPECT_EQ(counts.count(), 1);
    // Loading a list (a settings file) goes through the insert rule.
    m.Load_Rows({{" x ", "", "", "abc"}, {QString(76, '='), "", "", ""}});
    ASSERT_EQ(m.count(), 1);
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"x", "", "", "1"}));
}

// A job takes the rows as they are, without a copy, and keeps them as taken
// whatever the list does while it holds them; once the job lets go, a change
// copies nothing.
TEST(BarcodeListModel, AJobsRowsStayAsTakenWithoutACopy)
{
    const std::vector<std::pair<const char*, std::function<void(BarcodeListModel&)>>> changes{
        {"insert", [](BarcodeListModel& m) { m.Create_Item_List("N", "", "", "1", 0); }},
        {"replace", [](BarcodeListModel& m) { m.Replace_Item_List("R", "", "", "2", 1); }},
        {"cell", [](BarcodeListModel& m) { m.setData(m.index(2, 0), "C"); }},
        {"remove", [](BarcodeListModel& m) { m.Remove_Rows({0}); }},
        {"blank rows", [](BarcodeListModel& m) { m.Replace_Item_List("", "", "", "", 1), m.Remove_Blank_Rows(); }},
        {"clear column", [](BarcodeListModel& m) { m.Clear_Column(0); }},
        {"move", [](BarcodeListModel& m) { m.Move_And_Replace_List_Item(0, 2); }},
        {"import", [](BarcodeListModel& m) {
             int at = 0;
             m.Apply_Import_Rows({{"I", "", "", "1"}, {"J", "", "", "1"}, {"K", "", "", "1"}, {"L", "", "", "1"}},
                                 &at, m.count());
         }},
        {"reserve", [](BarcodeListModel& m) { m.Reserve_Rows(1000), m.Create_Item_List("N", "", "", "1", 3); }},
        {"remove all", [](BarcodeListModel& m) { m.Remove_All_Rows(); }},
        {"load", [](BarcodeListModel& m) { m.Load_Rows({{"X", "", "", "1"}}); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        BarcodeListModel m;
        Fill(m, 3);
        const std::vector<BarcodeRow> before = m.rows();
        BarcodeRowsView taken = m.rows();
        EXPECT_EQ(taken.text(0, 0).data(), m.textAt(0, 0).data()) << "the rows were copied for the job";
        change(m);
        EXPECT_TRUE(taken == before);
        EXPECT_FALSE(m.rows() == before) << "the list did not change";
        // Let go: the next change is made in place.
        taken = BarcodeRowsView();
        if (m.isEmpty())
            continue;
        // The last row's characters stay where they are (a copied store
        // would move them all).
        const int last = m.count() - 1;
        const void* storage = m.textAt(last, 0).data();
        m.Replace_Item_List("Z", "", "", "1", 0);
        EXPECT_EQ(m.textAt(last, 0).data(), storage);
        EXPECT_EQ(m.rows()[0].Value, "Z");
    }
}

