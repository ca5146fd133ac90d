#include "platform/Plist.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSizeF>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <vector>

namespace {

QVariant sampleTree()
{
    QVariantMap inner;
    inner.insert("neg", QVariant(qint64(-5)));
    inner.insert("big", QVariant(qint64(3000000000LL)));
    inner.insert("min", QVariant(std::numeric_limits<qint64>::min()));
    inner.insert("zero", QVariant(qint64(0)));
    QVariantMap root;
    root.insert("string", QString::fromUtf8("Zorv \xc3\xa9t\xc3\xa9 <&> \"q\""));
    root.insert("empty string", QString());
    root.insert("data", QByteArray("\x00\x01\xff binary", 10));
    root.insert("real", 3.25);
    root.insert("negative real", -0.125);
    root.insert("yes", true);
    root.insert("no", false);
    root.insert("ints", inner);
    root.insert("date", QDateTime(QDate(2023, 5, 17), QTime(13, 45, 12), QTimeZone::utc()));
    root.insert("old date", QDateTime(QDate(1990, 2, 3), QTime(4, 5, 6), QTimeZone::utc()));
    root.insert("list", QVariantList{1LL, "two", QVariantList{}, QVariantMap{}});
    return root;
}

class PlistRoundTrip : public ::testing::TestWithParam<PlistFormat> {};

TEST_P(PlistRoundTrip, EveryTypeSurvives)
{
    const QVariant tree = sampleTree();
    const QByteArray bytes = Plist_Serialize(tree, GetParam());
    ASSERT_FALSE(bytes.isEmpty());
    if (GetParam() == PlistFormat::Binary) EXPECT_TRUE(bytes.startsWith("bplist00"));
    else EXPECT_TRUE(bytes.contains("<plist"));
    QString err;
    auto back = Plist_Parse(bytes, &err);
    ASSERT_TRUE(back.has_value()) << err.toStdString();
    const QVariantMap m = back->toMap();
    const QVariantMap src = tree.toMap();
    EXPECT_EQ(m.keys(), src.keys());
    EXPECT_EQ(m["string"].toString(), src["string"].toString());
    EXPECT_EQ(m["empty string"].toString(), QString());
    EXPECT_EQ(m["data"].toByteArray(), src["data"].toByteArray());
    EXPECT_EQ(m["data"].typeId(), QMetaType::QByteArray);
    EXPECT_DOUBLE_EQ(m["real"].toDouble(), 3.25);
    EXPECT_DOUBLE_EQ(m["negative real"].toDouble(), -0.125);
    EXPECT_EQ(m["yes"].typeId(), QMetaType::Bool);
    EXPECT_TRUE(m["yes"].toBool());
    EXPECT_FALSE(m["no"].toBool());
    const QVariantMap ints = m["ints"].toMap();
    EXPECT_EQ(ints["neg"].toLongLong(), -5);
    EXPECT_EQ(ints["big"].toLongLong(), 3000000000LL);
    EXPECT_EQ(ints["min"].toLongLong(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(ints["zero"].toLongLong(), 0);
    EXPECT_EQ(m["date"].toDateTime(), src["date"].toDateTime());
    EXPECT_EQ(m["old date"].toDateTime(), src["old date"].toDateTime());
    const QVariantList list = m["list"].toList();
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].toLongLong(), 1);
    EXPECT_EQ(list[1].toString(), "two");
    EXPECT_EQ(list[2].typeId(), QMetaType::QVariantList);
    EXPECT_EQ(list[3].typeId(), QMetaType::QVariantMap);
}

INSTANTIATE_TEST_SUITE_P(Formats, PlistRoundTrip,
                         ::testing::Values(PlistFormat::Xml, PlistFormat::Binary));

TEST(Plist, ReadsHandWrittenXml)
{
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>n</key><integer>-7</integer><key>d</key><date>2001-01-01T00:00:10Z</date>"
        "<key>r</key><real>1.5</real><key>b</key><data>AAEC</data></dict></plist>";
    auto v = Plist_Parse(xml);
    ASSERT_TRUE(v.has_value());
    const QVariantMap m = v->toMap();
    EXPECT_EQ(m["n"].toLongLong(), -7);
    EXPECT_EQ(m["d"].toDateTime(), QDateTime(QDate(2001, 1, 1), QTime(0, 0, 10), QTimeZone::utc()));
    EXPECT_DOUBLE_EQ(m["r"].toDouble(), 1.5);
    EXPECT_EQ(m["b"].toByteArray(), QByteArray("\x00\x01\x02", 3));
}

TEST(Plist, UnstorableValueGivesEmptyData)
{
    EXPECT_TRUE(Plist_Serialize(QVariant(), PlistFormat::Xml).isEmpty());
    EXPECT_TRUE(Plist_Serialize(QVariantList{QVariant::fromValue(QSizeF(1, 2))}, PlistFormat::Binary).isEmpty());
}

TEST(Plist, HostileInputIsRefusedWithoutCrash)
{
    const QByteArray good = Plist_Serialize(sampleTree(), PlistFormat::Binary);
    const QByteArray goodXml = Plist_Serialize(sampleTree(), PlistFormat::Xml);
    EXPECT_FALSE(Plist_Parse(QByteArray()).has_value());
    EXPECT_FALSE(Plist_Parse("bplist00").has_value());
    EXPECT_FALSE(Plist_Parse("<plist><dict><key>a</key>").has_value());
    EXPECT_FALSE(Plist_Parse("not a plist at all").has_value());
    // Deep nesting must not exhaust the stack.
    EXPECT_FALSE(Plist_Parse("<plist>" + QByteArray(200000, '\0').replace('\0', "<array>") + "</plist>").has_value());

    // An array that holds itself.
    QByteArray cyclic("bplist00\xA1\x00\x08", 11);
    cyclic += QByteArray(6, '\0') + QByteArray("\x01\x01", 2);
    cyclic += QByteArray(7, '\0') + '\x01' + QByteArray(8, '\0') + QByteArray(7, '\0') + '\x0A';
    EXPECT_FALSE(Plist_Parse(cyclic).has_value());
    // A key with a NUL byte inside.
    QByteArray nulKey("bplist00\xD1\x01\x02\x53" "a\0b\x09\x08\x0B\x0F", 19);
    nulKey += QByteArray(6, '\0') + QByteArray("\x01\x01", 2);
    nulKey += QByteArray(7, '\0') + '\x03' + QByteArray(8, '\0') + QByteArray(7, '\0') + '\x10';
    EXPECT_FALSE(Plist_Parse(nulKey).has_value());

    // Every truncation of both formats: either a value or nullopt, never a crash.
    for (int n = 0; n < good.size(); ++n) (void)Plist_Parse(good.left(n));
    for (int n = 0; n < goodXml.size(); n += 7) (void)Plist_Parse(goodXml.left(n));

    QRandomGenerator rng(12345);
    for (int round = 0; round < qEnvironmentVariableIntValue("ZL_FUZZ_ROUNDS") + 400; ++round) {
        QByteArray noise(int(rng.bounded(1, 300)), '\0');
        for (auto& c : noise) c = char(rng.bounded(256));
        if (round % 2) noise.prepend("bplist00");
        (void)Plist_Parse(noise);
        // Flip bytes of a good binary list.
        QByteArray flipped = good;
        for (int k = 0; k < 4; ++k) flipped[int(rng.bounded(flipped.size()))] = char(rng.bounded(256));
        (void)Plist_Parse(flipped);
        QByteArray xml = goodXml;
        for (int k = 0; k < 4; ++k) xml[int(rng.bounded(xml.size()))] = char(rng.bounded(256));
        (void)Plist_Parse(xml);
    }
    SUCCEED();
}

// A binary list of the given objects (object 0 at the top), references and
// offsets four bytes wide.
QByteArray binaryList(const std::vector<QByteArray>& objects)
{
    auto be32 = [](quint32 v) {
        QByteArray b(4, '\0');
        for (int k = 0; k < 4; ++k) b[k] = char((v >> (24 - 8 * k)) & 0xFF);
        return b;
    };
    QByteArray out("bplist00");
    QByteArray table;
    for (const QByteArray& o : objects) {
        table += be32(quint32(out.size()));
        out += o;
    }
    const quint32 tableStart = quint32(out.size());
    out += table;
    QByteArray trailer(32, '\0');
    trailer[6] = 4;
    trailer[7] = 4;
    trailer.replace(12, 4, be32(quint32(objects.size())));
    trailer.replace(28, 4, be32(tableStart));
    return out + trailer;
}

// An array object of `n` references, each to `ref`.
QByteArray arrayOf(int n, quint32 ref)
{
    QByteArray o(1, char(0xA0 | n));
    for (int i = 0; i < n; ++i)
        o += QByteArray(1, char(ref >> 24)) + char(ref >> 16) + char(ref >> 8) + char(ref);
    return o;
}

TEST(Plist, BinaryNestingAndSharedReferencesAreBounded)
{
    // The builder itself makes lists libplist reads.
    std::vector<QByteArray> small{arrayOf(2, 1), arrayOf(1, 2), arrayOf(0, 0)};
    auto v = Plist_Parse(binaryList(small));
    ASSERT_TRUE(v.has_value());
    ASSERT_EQ(v->toList().size(), 2);
    EXPECT_EQ(v->toList()[1].toList().size(), 1);

    // A chain of a hundred thousand one-element arrays would overflow the
    // reader's stack.
    std::vector<QByteArray> chain;
    const int depth = 100000;
    for (int i = 0; i < depth - 1; ++i) chain.push_back(arrayOf(1, quint32(i + 1)));
    chain.push_back(arrayOf(0, 0));
    QString err;
    EXPECT_FALSE(Plist_Parse(binaryList(chain), &err).has_value());
    EXPECT_FALSE(err.isEmpty());

    // Forty levels of two references to the same array would expand to 2^40 nodes.
    std::vector<QByteArray> laughs;
    for (int i = 0; i < 40; ++i) laughs.push_back(arrayOf(2, quint32(i + 1)));
    laughs.push_back(arrayOf(0, 0));
    EXPECT_FALSE(Plist_Parse(binaryList(laughs)).has_value());

    // A reference past the object table.
    EXPECT_FALSE(Plist_Parse(binaryList({arrayOf(1, 7)})).has_value());

    // Shared values written once by the writer still read back in full.
    QVariantList same;
    for (int i = 0; i < 2000; ++i) {
        same.append(QStringLiteral("same"));
        same.append(QVariant(QVariantList{1LL, 2LL}));
    }
    auto back = Plist_Parse(Plist_Serialize(same, PlistFormat::Binary));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->toList().size(), 4000);
    EXPECT_EQ(back->toList()[3999].toList()[1].toLongLong(), 2);
}

TEST(Plist, FilesAreWrittenAtomicallyAndReadBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.plist");
    EXPECT_FALSE(Plist_Read_File(path).has_value());
    ASSERT_TRUE(Plist_Write_File(path, sampleTree(), PlistFormat::Binary));
    auto v = Plist_Read_File(path);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->toMap()["real"].toDouble(), 3.25);
    // An unstorable value leaves the old file in place.
    QString err;
    EXPECT_FALSE(Plist_Write_File(path, QVariant::fromValue(QSizeF(1, 1)), PlistFormat::Xml, &err));
    EXPECT_FALSE(err.isEmpty());
    ASSERT_TRUE(Plist_Read_File(path).has_value());
}

} // namespace
