#include "platform/Plist.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSizeF>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

QVariant sampleTree()
{
    QVariantMap inner;
    inner.insert("neg", QVariant(qint64(-5)));
    inner.insert("big", QVariant(qint64(3000000000LL)));
    inner.insert("min", QVariant(std::numeric_limits<qint64>::min() + 1));
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
    EXPECT_EQ(ints["min"].toLongLong(), std::numeric_limits<qint64>::min() + 1);
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

    // Whatever is read can be written again in both formats.
    int accepted = 0;
    auto parse = [&](const QByteArray& bytes) {
        const auto v = Plist_Parse(bytes);
        if (!v) return;
        ++accepted;
        EXPECT_FALSE(Plist_Serialize(*v, PlistFormat::Xml).isEmpty());
        EXPECT_FALSE(Plist_Serialize(*v, PlistFormat::Binary).isEmpty());
    };
    // Every truncation of both formats: either a value or nullopt, never a crash.
    for (int n = 0; n < good.size(); ++n) parse(good.left(n));
    for (int n = 0; n < goodXml.size(); n += 7) parse(goodXml.left(n));

    QRandomGenerator rng(12345);
    for (int round = 0; round < qEnvironmentVariableIntValue("ZL_FUZZ_ROUNDS") + 400; ++round) {
        QByteArray noise(int(rng.bounded(1, 300)), '\0');
        for (auto& c : noise) c = char(rng.bounded(256));
        if (round % 2) noise.prepend("bplist00");
        parse(noise);
        // Flip bytes of a good binary list.
        QByteArray flipped = good;
        for (int k = 0; k < 4; ++k) flipped[int(rng.bounded(flipped.size()))] = char(rng.bounded(256));
        parse(flipped);
        QByteArray xml = goodXml;
        for (int k = 0; k < 4; ++k) xml[int(rng.bounded(xml.size()))] = char(rng.bounded(256));
        parse(xml);
    }
    EXPECT_GT(accepted, 0);
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

QByteArray xmlDict(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body + "</dict></plist>";
}

QByteArray bigEndianDouble(double v)
{
    quint64 bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    QByteArray b(8, '\0');
    for (int k = 0; k < 8; ++k) b[k] = char((bits >> (56 - 8 * k)) & 0xFF);
    return b;
}

// A string holding U+0000 is refused by the writer and by both readers, so a
// round trip never cuts it short.
TEST(PlistValueRanges, NulCharactersAreRefusedOnBothSides)
{
    const QString nul = QStringLiteral("before") + QChar(0) + QStringLiteral("after");
    for (PlistFormat f : {PlistFormat::Xml, PlistFormat::Binary}) {
        QString err;
        EXPECT_TRUE(Plist_Serialize(QVariantList{nul}, f, &err).isEmpty());
        EXPECT_FALSE(err.isEmpty());
        EXPECT_TRUE(Plist_Serialize(QVariantMap{{nul, 1}}, f).isEmpty());
        EXPECT_FALSE(Plist_Serialize(QVariantMap{{"k", "plain"}}, f).isEmpty());
    }
    EXPECT_FALSE(Plist_Parse(xmlDict(QByteArray("<key>k</key><string>a\0b</string>", 30))).has_value());
    EXPECT_FALSE(Plist_Parse(xmlDict(QByteArray("<key>k\0x</key><string>ab</string>", 31))).has_value());
    // Control characters other than NUL survive both formats.
    const QString controls = QStringLiteral("a\x01\t\x1f<&>b");
    for (PlistFormat f : {PlistFormat::Xml, PlistFormat::Binary}) {
        auto back = Plist_Parse(Plist_Serialize(QVariantList{controls}, f));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->toList().value(0).toString(), controls);
    }
}

TEST(PlistValueRanges, DatesOutsideThirtyTwoBitSecondsAreRefused)
{
    const QDateTime last(QDate(2069, 1, 19), QTime(3, 14, 7), QTimeZone::utc());
    const QDateTime first(QDate(1932, 12, 13), QTime(20, 45, 52), QTimeZone::utc());
    for (PlistFormat f : {PlistFormat::Xml, PlistFormat::Binary}) {
        for (const QDateTime& d : {first, last}) {
            auto back = Plist_Parse(Plist_Serialize(QVariantList{d}, f));
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(back->toList().value(0).toDateTime(), d);
        }
        EXPECT_TRUE(Plist_Serialize(QVariantList{last.addSecs(1)}, f).isEmpty());
        EXPECT_TRUE(Plist_Serialize(QVariantList{first.addSecs(-1)}, f).isEmpty());
    }
    EXPECT_TRUE(Plist_Parse(xmlDict("<key>d</key><date>2069-01-19T03:14:07Z</date>")).has_value());
    for (const char* text : {"2069-01-19T03:14:08Z", "9999-12-31T00:00:00Z", "0001-01-01T00:00:00Z",
                             "garbage", "2020-01-01", "2020-01-01T00:00:00+01:00", ""}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Plist_Parse(xmlDict("<key>d</key><date>" + QByteArray(text) + "</date>")).has_value());
    }
    EXPECT_FALSE(Plist_Parse(xmlDict("<key>d</key><date/>")).has_value());
    // Binary dates carry a double: too large, or not a number at all.
    for (double sec : {1.0e12, -3.0e9, std::nan(""), 4.0e9}) {
        SCOPED_TRACE(sec);
        EXPECT_FALSE(Plist_Parse(binaryList({QByteArray("\x33", 1) + bigEndianDouble(sec)})).has_value());
    }
    EXPECT_TRUE(Plist_Parse(binaryList({QByteArray("\x33", 1) + bigEndianDouble(86400.5)})).has_value());
}

// Milliseconds survive any number of binary round trips (they drifted by one
// at each when the fraction was cut rather than rounded).
TEST(PlistValueRanges, DateMillisecondsDoNotDrift)
{
    for (const QDateTime& d : {QDateTime(QDate(2001, 1, 12), QTime(21, 38, 1, 223), QTimeZone::utc()),
                               QDateTime(QDate(1990, 2, 3), QTime(4, 5, 6, 789), QTimeZone::utc()),
                               QDateTime(QDate(2000, 12, 31), QTime(23, 59, 59, 999), QTimeZone::utc())}) {
        QVariant v = QVariantList{d};
        for (int round = 0; round < 5; ++round)
            v = *Plist_Parse(Plist_Serialize(v, PlistFormat::Binary));
        EXPECT_EQ(v.toList().value(0).toDateTime(), d) << d.toString(Qt::ISODateWithMs).toStdString();
    }
}

// Whatever a list holds, it can be written back as XML: reals beyond 2^63
// and INT64_MIN are refused when read, as when written.
TEST(PlistValueRanges, NumbersXmlCannotCarryAreRefusedOnBothSides)
{
    const double below = 9223372036854774784.0;   // the largest double under 2^63
    for (PlistFormat f : {PlistFormat::Xml, PlistFormat::Binary}) {
        for (double bad : {1.0e300, -9223372036854775808.0, std::numeric_limits<double>::infinity(), std::nan("")})
            EXPECT_TRUE(Plist_Serialize(QVariantList{bad}, f).isEmpty()) << bad;
        EXPECT_TRUE(Plist_Serialize(QVariantList{std::numeric_limits<qint64>::min()}, f).isEmpty());
        EXPECT_TRUE(Plist_Serialize(QVariantList{quint64(1) << 63}, f).isEmpty());
        auto back = Plist_Parse(Plist_Serialize(QVariantList{below, -below, std::numeric_limits<qint64>::max()}, f));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->toList().value(1).toDouble(), -below);
        EXPECT_EQ(back->toList().value(2).toLongLong(), std::numeric_limits<qint64>::max());
    }
    EXPECT_FALSE(Plist_Parse(xmlDict("<key>r</key><real>1e300</real>")).has_value());
    EXPECT_FALSE(Plist_Parse(xmlDict("<key>r</key><real>nan</real>")).has_value());
    EXPECT_FALSE(Plist_Parse(xmlDict("<key>i</key><integer>-9223372036854775808</integer>")).has_value());
    // Binary: a real of 1e300, and the unsigned integer 2^63 (a 16-byte integer).
    EXPECT_FALSE(Plist_Parse(binaryList({QByteArray("\x23", 1) + bigEndianDouble(1.0e300)})).has_value());
    QByteArray u63("\x14", 1);
    u63 += QByteArray(8, '\0') + QByteArray("\x80", 1) + QByteArray(7, '\0');
    EXPECT_FALSE(Plist_Parse(binaryList({u63})).has_value());
    // A dictionary whose key is a number.
    QByteArray dict("\xD1\x00\x00\x00\x01\x00\x00\x00\x02", 9);
    EXPECT_FALSE(Plist_Parse(binaryList({dict, QByteArray("\x10\x05", 2), QByteArray("\x10\x06", 2)})).has_value());
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
