// Round trip through real decoders: many symbols of one symbology are drawn
// one under the other into a single PNG, the decoder reads them all at once,
// and the set of values read must equal the set encoded.
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/linear/ZBClassicBarcodes.h"
#include "common/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace {

using ValueSet = std::set<QByteArray>;   // a reader reports a repeated symbol once

// Draws every bar string under the previous one, with white gaps.
QImage Stack(const std::vector<std::string>& barStrings)
{
    std::vector<QImage> parts;
    int width = 0, height = 0;
    for (const std::string& bars : barStrings) {
        parts.push_back(testsupport::Bars_To_Image(QByteArray::fromStdString(bars), 2, 12, 36));
        width = std::max(width, parts.back().width());
        height += parts.back().height() + 16;
    }
    QImage all(width, height, QImage::Format_RGB32);
    all.fill(Qt::white);
    QPainter p(&all);
    int y = 0;
    for (const QImage& img : parts) {
        p.drawImage(0, y, img);
        y += img.height() + 16;
    }
    return all;
}

// Every symbol ZXingReader finds, as its exact bytes (read from the hex dump,
// so control characters survive).
ValueSet ZXing_All(const QString& path, const QString& format)
{
    ValueSet found;
    const testsupport::ToolResult r = testsupport::Run_Tool("ZXingReader", {"-format", format, path});
    for (const QByteArray& line : r.out.split('\n')) {
        if (!line.startsWith("Bytes:"))
            continue;
        QByteArray bytes;
        for (const QByteArray& hex : line.mid(6).simplified().split(' '))
            if (!hex.isEmpty())
                bytes.append(char(hex.toInt(nullptr, 16)));
        found.insert(bytes);
    }
    return found;
}

// Every symbol zbarimg finds, as text (one per line, printable values only).
ValueSet Zbar_All(const QString& path)
{
    ValueSet found;
    const testsupport::ToolResult r = testsupport::Run_Tool("zbarimg", {"-q", "--raw", path});
    for (const QByteArray& line : r.out.split('\n'))
        if (!line.isEmpty())
            found.insert(line);
    return found;
}

struct Batch {
    QString type;
    std::vector<QString> values;
    // What a reader returns for a value (the value itself unless overridden).
    std::function<QByteArray(const ZBBarcode&, const QString&)> expected;
};

// Encodes the batch, draws it, decodes it; returns the values read and the
// values expected.
std::pair<ValueSet, ValueSet> Round_Trip(const Batch& batch, const std::function<ValueSet(const QString&)>& decode)
{
    std::vector<std::string> bars;
    ValueSet expected;
    for (const QString& v : batch.values) {
        auto b = Make_Linear_Barcode(batch.type, v);
        EXPECT_TRUE(b && b->isContentValid()) << batch.type.toStdString() << " " << v.toStdString();
        if (!b)
            continue;
        bars.push_back(b->completeBarcode());
        expected.insert(batch.expected ? batch.expected(*b, v) : v.toLatin1());
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("symbols.png"));
    EXPECT_TRUE(Stack(bars).save(path));
    return {decode(path), expected};
}

class Rng {
public:
    explicit Rng(unsigned seed) : m_gen(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_gen); }
    QString From(const QByteArray& alphabet, int length)
    {
        QString s;
        for (int i = 0; i < length; ++i)
            s += QLatin1Char(alphabet[Int(0, int(alphabet.size()) - 1)]);
        return s;
    }
    QString Digits(int length) { return From("0123456789", length); }

private:
    std::mt19937 m_gen;
};

QByteArray Range(int from, int to)
{
    QByteArray a;
    for (int c = from; c <= to; ++c)
        a.append(char(c));
    return a;
}

// Values covering an alphabet: first chunks that hold every character in
// turn, then random values of random lengths, and the given extras.
std::vector<QString> Values(Rng& rng, const QByteArray& alphabet, int minLen, int maxLen, int count,
                            std::vector<QString> extras = {})
{
    std::vector<QString> v = std::move(extras);
    const int chunk = std::max(minLen, std::min(maxLen, 20));
    for (int i = 0; i < alphabet.size(); i += chunk) {
        QString s = QString::fromLatin1(alphabet.mid(i, chunk));
        while (s.size() < minLen)
            s += QLatin1Char(alphabet[0]);
        v.push_back(s);
    }
    while (int(v.size()) < count)
        v.push_back(rng.From(alphabet, rng.Int(minLen, maxLen)));
    return v;
}

void Expect_Same(const std::pair<ValueSet, ValueSet>& result)
{
    const auto& [found, expected] = result;
    EXPECT_EQ(found.size(), expected.size());
    std::vector<QByteArray> missing, extra;
    std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(), std::back_inserter(missing));
    std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    for (const QByteArray& m : missing)
        ADD_FAILURE() << "not read back: " << m.toPercentEncoding().toStdString();
    for (const QByteArray& e : extra)
        ADD_FAILURE() << "read but not encoded: " << e.toPercentEncoding().toStdString();
}

class LinearDecode : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::Tool_Available("ZXingReader")) << "ZXingReader (zxing-cpp-tools) is needed";
        ASSERT_TRUE(testsupport::Tool_Available("zbarimg")) << "zbarimg (zbar-tools) is needed";
    }
    static ValueSet ZX(const QString& path, const char* format) { return ZXing_All(path, QString::fromLatin1(format)); }
};

const QByteArray kCode39Data = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

TEST_F(LinearDecode, Code39)
{
    Rng rng(39);
    Batch b{"Code 39", Values(rng, kCode39Data, 1, 40, 60, {"A", "-", "%", "abc-xyz"}), {}};
    b.expected = [](const ZBBarcode& s, const QString&) { return s.content().toLatin1(); };
    Expect_Same(Round_Trip(b, [](const QString& p) { return ZX(p, "Code39"); }));
}

TEST_F(LinearDecode, ExtendedCode39)
{
    // The readers return the Code 39 characters; the pairs are read back here.
    Rng rng(3939);
    Batch b{"Extended Code 39", Values(rng, Range(0, 127), 1, 30, 60, {"abc", "Hello, World!", "a\rb\nc"}), {}};
    std::pair<ValueSet, ValueSet> r = Round_Trip(b, [](const QString& p) {
        ValueSet raw = ZX(p, "Code39"), ascii;
        for (const QByteArray& v : raw)
            ascii.insert(testsupport::From_Full_Ascii(v));
        return ascii;
    });
    Expect_Same(r);
}

TEST_F(LinearDecode, Code128EachSetAndAutomatic)
{
    Rng rng(128);
    const QByteArray setA = Range(0, 95), setB = Range(32, 127);   // DEL is in set B
    std::vector<QString> even, odd;
    for (int i = 0; i < 45; ++i)
        even.push_back(rng.Digits(2 * rng.Int(1, 20)));
    for (int i = 0; i < 10; ++i)
        odd.push_back(rng.Digits(2 * rng.Int(0, 10) + 1));

    auto read = [](const QString& p) { return ZX(p, "Code128"); };
    // Shortest values (one character, NUL and DEL's neighbours included) beside long ones.
    const std::vector<QString> shortA = {QString(QChar(0)), QStringLiteral("\x1f"), QStringLiteral("_"),
                                         QString(60, QLatin1Char('A'))};
    const std::vector<QString> shortB = {QStringLiteral(" "), QStringLiteral("~"), QStringLiteral("a"),
                                         QStringLiteral("\x7f"), QStringLiteral("a\x7f~"),
                                         QString(60, QLatin1Char('~'))};
    Expect_Same(Round_Trip({"Code 128 SET A", Values(rng, setA, 1, 40, 55, shortA), {}}, read));
    Expect_Same(Round_Trip({"Code 128 SET B", Values(rng, setB, 1, 40, 55, shortB), {}}, read));

    // Fixed set C puts a '0' in front of an odd number of digits.
    std::vector<QString> c = even;
    c.insert(c.end(), odd.begin(), odd.end());
    Batch setC{"Code 128 SET C", c, [](const ZBBarcode&, const QString& v) {
                   return (v.size() % 2 ? QStringLiteral("0") + v : v).toLatin1();
               }};
    Expect_Same(Round_Trip(setC, read));

    // Automatic: every value scans exactly as typed, odd digit counts included.
    std::vector<QString> automatic = odd;
    for (int i = 0; i < 10; ++i)
        automatic.push_back(even[size_t(i)]);
    // Every printable character, in chunks and at random.
    for (const QString& v : Values(rng, setB, 1, 40, 20))
        automatic.push_back(v);
    for (int i = 0; i < 15; ++i)
        automatic.push_back(rng.From(Range(0, 95), rng.Int(1, 12)) + QStringLiteral("\t\x01"));
    automatic.push_back(QStringLiteral("0"));
    automatic.push_back(QStringLiteral("DEL\x7f"));   // set B, which holds DEL
    Expect_Same(Round_Trip({"Code 128", automatic, {}}, read));
}

TEST_F(LinearDecode, Codabar)
{
    // zbarimg keeps the start and stop characters in what it returns.
    Rng rng(27);
    const QByteArray data = "0123456789-$:/.+";
    const QString ends = QStringLiteral("ABCD");
    // Each start and stop character appears, and short values (zbarimg reads no
    // Codabar symbol of fewer than four characters in all, so "A1B" is left out).
    std::vector<QString> values = {QStringLiteral("A12B"), QStringLiteral("C-$D"), QStringLiteral("D+.:/A")};
    for (QString v : Values(rng, data, 2, 30, 52))
        values.push_back(ends[rng.Int(0, 3)] + v + ends[rng.Int(0, 3)]);
    Expect_Same(Round_Trip({"Codabar", values, {}}, Zbar_All));
}

TEST_F(LinearDecode, InterleavedTwoOfFive)
{
    Rng rng(25);
    std::vector<QString> values;
    for (int i = 0; i < 50; ++i)
        values.push_back(rng.Digits(2 * rng.Int(3, 20)));
    values.push_back(QStringLiteral("0123456789"));
    // An odd length is read with the leading '0' the symbol carries.
    for (int i = 0; i < 5; ++i)
        values.push_back(rng.Digits(2 * rng.Int(3, 10) + 1));
    Batch b{"Interleaved 2 of 5", values, [](const ZBBarcode&, const QString& v) {
                return (v.size() % 2 ? QStringLiteral("0") + v : v).toLatin1();
            }};
    Expect_Same(Round_Trip(b, [](const QString& p) { return ZX(p, "ITF"); }));
}

TEST_F(LinearDecode, UPCAndEAN)
{
    Rng rng(13);
    auto withCheck = [](const ZBBarcode& b, const QString&) {
        return (b.content() + QLatin1Char(b.checkDigit())).toLatin1();
    };
    std::vector<QString> upca, upce, ean13, ean8;
    for (int i = 0; i < 50; ++i) {
        upca.push_back(rng.Digits(11));
        // A UPC-E value with a UPC-E form: the digit before the suppressed
        // zeros is one no shorter form would take.
        QString e = QString::number(rng.Int(0, 1)) + rng.Digits(6);
        const char last = e.at(6).toLatin1();
        if (last == '3' && e.at(3) < QLatin1Char('3'))
            e[3] = QLatin1Char('3');
        else if (last == '4' && e.at(4) == QLatin1Char('0'))
            e[4] = QLatin1Char('7');
        else if (last >= '5' && e.at(5) == QLatin1Char('0'))
            e[5] = QLatin1Char('1');
        upce.push_back(e);
        ean13.push_back(rng.Digits(12));
        ean8.push_back(rng.Digits(7));
    }
    upca.push_back(QStringLiteral("036000291452"));   // with its check digit typed
    ean13.push_back(QStringLiteral("400638133393"));
    ean8.push_back(QStringLiteral("12345670"));
    upce.push_back(QStringLiteral("0123456"));

    Expect_Same(Round_Trip({"UPCA", upca, [](const ZBBarcode& b, const QString&) {
                                return (b.content().left(11) + QLatin1Char(b.checkDigit())).toLatin1();
                            }},
                           [](const QString& p) { return ZX(p, "UPC-A"); }));
    Expect_Same(Round_Trip({"UPCE", upce, withCheck}, [](const QString& p) { return ZX(p, "UPC-E"); }));
    Expect_Same(Round_Trip({"EAN-13", ean13, withCheck}, [](const QString& p) { return ZX(p, "EAN-13"); }));
    Expect_Same(Round_Trip({"EAN-8", ean8, withCheck}, [](const QString& p) { return ZX(p, "EAN-8"); }));
}

} // namespace
