// The packed rows of the barcode list: every text comes back as it went in
// (whatever characters it holds, empty or as long as a block), rows around a
// changed one stay as they were, the space given up is taken back, and a view
// keeps the rows it was taken with.
#include "barcode/generation/list/BarcodeList.h"
#include "barcode/generation/list_test_support.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

std::vector<BarcodeRow> All(const BarcodeRowStore& s)
{
    std::vector<BarcodeRow> rows;
    for (int i = 0; i < s.size(); ++i)
        rows.push_back(s.row(i));
    return rows;
}

// Texts that would break a packing that splits on a character, counts bytes
// instead of characters or drops empty pieces.
std::vector<QString> Awkward_Texts()
{
    return {QString(),
            QStringLiteral("\t"),
            QStringLiteral("a\tb\nc\rd"),
            QString(QChar(0)) + QStringLiteral("nul") + QChar(0),
            QStringLiteral("\x1f\x1e\x1d"),
            QString(QChar(0x2028)) + QChar(0x2029) + QChar(0xFEFF),
            QStringLiteral("\U0001F600 and \U00010348"),   // surrogate pairs
            QString(QChar(0xD800)),                        // a lone half
            QString(76, QLatin1Char('=')),
            QStringLiteral("Fuß Café 東京"),
            QStringLiteral(" spaced ")};
}

QString Text_Of(QRandomGenerator& rng)
{
    const std::vector<QString> awkward = Awkward_Texts();
    switch (rng.bounded(6)) {
    case 0: return {};
    case 1: return awkward[rng.bounded(int(awkward.size()))];
    case 2: {
        // About as long as the longest row that shares a block.
        const int quarter = int(BarcodeRowStore::Block_Chars / 4);
        return QString(int(rng.bounded(quarter - 8, quarter + 8)), QChar(char16_t(u'a' + rng.bounded(26))));
    }
    default: return QString::number(rng.generate());
    }
}

BarcodeRow Row_Of(QRandomGenerator& rng)
{
    return {Text_Of(rng), Text_Of(rng), Text_Of(rng), Text_Of(rng)};
}

} // namespace

TEST(BarcodeRowStore, EveryTextComesBackAsItWent)
{
    const std::vector<QString> texts = Awkward_Texts();
    BarcodeRowStore s;
    std::vector<BarcodeRow> want;
    // Each awkward text in each column, beside every other.
    for (size_t a = 0; a < texts.size(); ++a)
        for (int column = 0; column < 4; ++column) {
            BarcodeRow r{QStringLiteral("v%1").arg(a), {}, QStringLiteral("f"), {}};
            Barcode_Row_Text(r, column) = texts[a];
            Barcode_Row_Text(r, (column + 1) % 4) = texts[(a + 1) % texts.size()];
            s.append(r);
            want.push_back(r);
        }
    // Rows of nothing at all, and texts as long as a block and longer.
    s.append(BarcodeRow());
    want.push_back(BarcodeRow());
    const QString block(BarcodeRowStore::Block_Chars, QLatin1Char('b'));
    const QString quarter(BarcodeRowStore::Block_Chars / 4, QLatin1Char('q'));
    for (const BarcodeRow& r : {BarcodeRow{block, "h", "", "1"}, BarcodeRow{"", quarter, quarter + "x", ""},
                                BarcodeRow{"after", "", "", "2"}, BarcodeRow{block + block, block, "", "3"}}) {
        s.append(r);
        want.push_back(r);
    }
    ASSERT_EQ(All(s), want);

    // A copy holds the same rows, packed.
    const BarcodeRowStore copy(s);
    EXPECT_EQ(All(copy), want);
    EXPECT_LE(copy.heldBytes(), s.heldBytes());
}

TEST(BarcodeRowStore, RowsAroundSixtyFourThousandCharactersKeepTheirTexts)
{
    // A row keeps its ends in 16 bits below 65,535 characters and in its
    // block beyond: rows on both sides of that line, rewritten in place from
    // long to short and from short to long, copied and packed.
    BarcodeRowStore s;
    std::vector<BarcodeRow> want;
    for (const int total : {65533, 65534, 65535, 65536, 70000}) {
        const BarcodeRow r{QString(total - 3, QLatin1Char('v')), QStringLiteral("h"), QStringLiteral("f"),
                           QStringLiteral("7")};
        s.append(r);
        want.push_back(r);
    }
    s.append(BarcodeRow{QStringLiteral("short"), {}, {}, QStringLiteral("1")});
    want.push_back(BarcodeRow{QStringLiteral("short"), {}, {}, QStringLiteral("1")});
    ASSERT_EQ(All(s), want);
    EXPECT_EQ(s.text(3, 0).size(), 65533);
    EXPECT_EQ(s.text(3, 3), QStringLiteral("7"));

    // Long to short where it lies, short to long, long to longer.
    want[3] = BarcodeRow{QStringLiteral("now short"), QStringLiteral("h2"), {}, QStringLiteral("2")};
    want[5] = BarcodeRow{QString(80000, QLatin1Char('w')), {}, QStringLiteral("f3"), {}};
    want[4] = BarcodeRow{QString(70001, QLatin1Char('x')), QString(3, QLatin1Char('y')), {}, QStringLiteral("9")};
    for (const int r : {3, 5, 4})
        s.replace(r, want[size_t(r)]);
    ASSERT_EQ(All(s), want);
    const BarcodeRowStore copy(s);
    EXPECT_EQ(All(copy), want);
    std::vector<char> gone(want.size(), 0);
    gone[0] = gone[2] = 1;
    EXPECT_EQ(s.remove(gone), 2);
    want.erase(want.begin() + 2);
    want.erase(want.begin());
    EXPECT_EQ(All(s), want);
}

TEST(BarcodeRowStore, ChangesLeaveTheOtherRowsAsTheyWere)
{
    // Random appends, inserts, replacements (shorter, longer, emptied) and
    // removals, each checked against rows kept the plain way.
    QRandomGenerator rng(29);
    BarcodeRowStore s;
    std::vector<BarcodeRow> want;
    for (int step = 0; step < 3000; ++step) {
        const int op = int(rng.bounded(10));   // 0-2 append, 3-4 insert, 5-7 replace, 8-9 remove
        SCOPED_TRACE(testing::Message() << "step " << step << " op " << op);
        if (op < 3 || want.empty()) {
            const BarcodeRow r = Row_Of(rng);
            s.append(r);
            want.push_back(r);
        } else if (op < 5) {
            const int at = int(rng.bounded(int(want.size()) + 1));
            const BarcodeRow r = Row_Of(rng);
            s.insert(at, r);
            want.insert(want.begin() + at, r);
        } else if (op < 8) {
            const int at = int(rng.bounded(int(want.size())));
            BarcodeRow r = want[size_t(at)];
            // Mostly a shorter or equal row (rewritten where it lies), else a new one.
            if (rng.bounded(2)) {
                for (int k = 0; k < 4; ++k)
                    Barcode_Row_Text(r, k).truncate(int(rng.bounded(int(Barcode_Row_Text(r, k).size()) + 1)));
            } else {
                r = Row_Of(rng);
            }
            s.replace(at, r);
            want[size_t(at)] = r;
        } else {
            std::vector<char> gone(want.size() + 3, 0);
            for (char& g : gone)
                g = rng.bounded(16) == 0;
            std::vector<BarcodeRow> kept;
            for (size_t i = 0; i < want.size(); ++i)
                if (!gone[i])
                    kept.push_back(want[i]);
            EXPECT_EQ(s.remove(gone), int(want.size() - kept.size()));
            want = kept;
        }
        ASSERT_EQ(s.size(), int(want.size()));
        if (step % 50 == 0 || op >= 8) {
            ASSERT_EQ(All(s), want);
        }
    }
    ASSERT_EQ(All(s), want);
    // The space given up does not pile up: what is held stays within twice
    // what the rows hold plus a few blocks.
    qint64 live = 0;
    for (const BarcodeRow& r : want)
        live += 2 * (r.Value.size() + r.Header.size() + r.Footer.size() + r.PQ.size()) + 24;
    EXPECT_LT(s.heldBytes(), 2 * live + 6 * 2 * BarcodeRowStore::Block_Chars);

    s.clear();
    EXPECT_EQ(s.size(), 0);
    EXPECT_EQ(s.heldBytes(), 0);
}

TEST(BarcodeListModel, AViewKeepsTheRowsItWasTakenWith)
{
    BarcodeListModel m;
    m.Load_Rows({{"A", "h", "f", "2"}, {"B", "", "", "1"}});
    const BarcodeRowsView before = m.rows();
    m.Replace_Item_List("A2", "h2", "", "3", 0);
    m.setData(m.index(1, 1), QStringLiteral("typed"));
    m.Create_Item_List("C", "", "", "", 2);
    m.Remove_Rows({1});
    EXPECT_EQ(before, (std::vector<BarcodeRow>{{"A", "h", "f", "2"}, {"B", "", "", "1"}}));
    EXPECT_EQ(m.rows(), (std::vector<BarcodeRow>{{"A2", "h2", "", "3"}, {"C", "", "", "1"}}));
    // Past the rows a view gives empty rows and texts.
    EXPECT_EQ(before[7], BarcodeRow());
    EXPECT_TRUE(before.text(2, 0).isEmpty());
    EXPECT_TRUE(m.textAt(5, 0).isEmpty());
    EXPECT_EQ(m.textAt(1, 0).toString(), "C");
    // Emptied, the list keeps nothing and an old view still reads.
    m.Remove_All_Rows();
    EXPECT_TRUE(m.rows().empty());
    EXPECT_EQ(before.back().Value, "B");
}

TEST(BarcodeListModel, CommandsOverManyRowsKeepTheirNeighbours)
{
    // A list of rows of every length; each command is checked against the
    // same command done on plain rows.
    QRandomGenerator rng(7);
    std::vector<BarcodeRow> rows;
    for (int i = 0; i < 400; ++i) {
        BarcodeRow r = Row_Of(rng);
        if (i % 5 == 0)
            r = BarcodeRow{"", "", "", i % 10 == 0 ? "1" : ""};   // blank rows
        rows.push_back(r);
    }
    BarcodeListModel m;
    m.Load_Rows(rows);
    std::vector<BarcodeRow> want;
    for (BarcodeRow r : rows)
        if (BarcodeListModel::Normalise_New_Row(r))
            want.push_back(r);
    ASSERT_EQ(m.rows(), want);

    ASSERT_TRUE(m.Move_And_Replace_List_Item(3, 250));
    std::swap(want[3], want[250]);
    for (const int i : {3, 250})
        BarcodeListModel::Normalise_Replaced_Row(want[size_t(i)]);
    EXPECT_EQ(m.rows(), want);

    const int removed = m.Remove_Blank_Rows();
    const auto blank = std::remove_if(want.begin(), want.end(), BarcodeListModel::Is_Blank_Row);
    EXPECT_EQ(removed, int(want.end() - blank));
    want.erase(blank, want.end());
    EXPECT_EQ(m.rows(), want);

    m.Clear_Column(1);
    for (BarcodeRow& r : want) {
        r.Header.clear();
        BarcodeListModel::Normalise_Replaced_Row(r);
    }
    EXPECT_EQ(m.rows(), want);
}

TEST(BarcodeRowStore, RowsAtTheEdgesOfEachWayARowIsKeptComeBackAndChangeShape)
{
    // A text of up to 253 characters keeps its length in a byte, a longer
    // one its lengths before the row (a quarter of a block at most) or in a
    // block of its own; the quantity "1" is not stored at all. Rows on both
    // sides of each edge, in each column, with and without the quantity
    // "1", rewritten into each other's shape, copied and packed.
    const QString quarter(BarcodeRowStore::Block_Chars / 4, QLatin1Char('q'));
    std::vector<BarcodeRow> shapes;
    for (const int n : {252, 253, 254, 255, 300})
        for (int column = 0; column < 4; ++column) {
            BarcodeRow r{QStringLiteral("v%1").arg(n), {}, QStringLiteral("f"), QStringLiteral("1")};
            Barcode_Row_Text(r, column) = QString(n, QChar(char16_t(u'a' + column)));
            shapes.push_back(r);
        }
    for (const QString& pq : {QStringLiteral("1"), QStringLiteral("01"), QStringLiteral(" 1"), QString(), QStringLiteral("7")})
        shapes.push_back(BarcodeRow{QStringLiteral("ZL00000001"), {}, {}, pq});
    // A byte a character up to U+00FF, two from U+0100 on, in each column.
    for (int column = 0; column < 4; ++column)
        for (const char16_t c : {u'\u00ff', u'\u0100'}) {
            BarcodeRow r{QStringLiteral("Caf\u00e9"), QStringLiteral("h"), {}, QStringLiteral("1")};
            Barcode_Row_Text(r, column) += QChar(c);
            shapes.push_back(r);
        }
    // Rows of a quarter of a block in all, and one character more or less.
    for (const int extra : {-1, 0, 1, 2})
        shapes.push_back(BarcodeRow{QString(quarter.size() - 3 + extra, QLatin1Char('x')), QStringLiteral("h"),
                                    QStringLiteral("f"), QStringLiteral("1")});
    shapes.push_back(BarcodeRow{quarter + quarter, {}, {}, QStringLiteral("1")});
    shapes.push_back(BarcodeRow());
    shapes.push_back(BarcodeRow{{}, {}, {}, QStringLiteral("1")});

    BarcodeRowStore s;
    std::vector<BarcodeRow> want;
    for (const BarcodeRow& r : shapes) {
        s.append(r);
        want.push_back(r);
    }
    ASSERT_EQ(All(s), want);
    EXPECT_EQ(s.text(int(want.size()) - 1, 3), QStringLiteral("1"));
    EXPECT_TRUE(s.text(int(want.size()) - 1, 0).isEmpty());

    // Every row rewritten as every other shape, walking round the shapes.
    for (size_t step = 1; step < shapes.size(); step += 3) {
        for (size_t i = 0; i < want.size(); ++i) {
            want[i] = shapes[(i + step) % shapes.size()];
            s.replace(int(i), want[i]);
        }
        SCOPED_TRACE(testing::Message() << "step " << step);
        ASSERT_EQ(All(s), want);
        ASSERT_EQ(All(BarcodeRowStore(s)), want);
    }
    std::vector<char> gone(want.size(), 0);
    for (size_t i = 0; i < gone.size(); i += 2)
        gone[i] = 1;
    s.remove(gone);
    std::vector<BarcodeRow> kept;
    for (size_t i = 1; i < want.size(); i += 2)
        kept.push_back(want[i]);
    EXPECT_EQ(All(s), kept);
}

TEST(BarcodeRowStore, AMillionRowsOfATenCharacterValueHoldLittleMoreThanTheirCharacters)
{
    BarcodeRowStore s;
    s.reserve(Barcode_List_Max_Rows);
    for (int i = 0; i < Barcode_List_Max_Rows; ++i)
        s.append(QStringLiteral("ZL%1").arg(i, 8, 10, QLatin1Char('0')), {}, {}, QStringLiteral("1"));
    // 10 bytes of Latin-1 characters a row, and 8 for the row itself.
    EXPECT_LE(double(s.heldBytes()) / Barcode_List_Max_Rows, 18.5);
    EXPECT_EQ(s.text(654321, 0), QStringLiteral("ZL00654321"));
    EXPECT_EQ(s.text(654321, 3), QStringLiteral("1"));
    EXPECT_EQ(s.row(999999), (BarcodeRow{QStringLiteral("ZL00999999"), {}, {}, QStringLiteral("1")}));
}
