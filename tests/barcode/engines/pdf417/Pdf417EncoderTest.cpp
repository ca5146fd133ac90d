// PDF417 encoder: layout, compaction, error correction and bad input.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "barcode/engines/pdf417/Pdf417.h"
#include "barcode/engines/pdf417/Pdf417Tables.h"

using namespace pdf417;

namespace {

// Encodes with the settings the symbol view uses.
struct Encoded {
    pdf417param p;
    explicit Encoded(const QByteArray& data, int level = 2, int options = PDF417_USE_ERROR_LEVEL, float ratio = 1.0f)
    {
        pdf417init(&p);
        p.text = data.constData();
        p.lenText = int(data.size());
        p.options = options;
        p.errorLevel = level;
        p.aspectRatio = ratio;
        paintCode(&p);
    }
    ~Encoded() { pdf417free(&p); }
    std::vector<int> data() const { return std::vector<int>(p.codewords + 1, p.codewords + p.codewords[0]); }
};

int powmod(int b, int e)
{
    int r = 1;
    while (e-- > 0)
        r = r * b % 929;
    return r;
}

// Bits of one row from `start`, as an integer (n <= 18).
int rowBits(const pdf417param& p, int row, int start, int n)
{
    const int bytesPerRow = p.lenBits / p.codeRows;
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const int bit = start + i;
        v = (v << 1) | ((p.outBits[row * bytesPerRow + bit / 8] >> (7 - bit % 8)) & 1);
    }
    return v;
}

} // namespace

TEST(Pdf417Encoder, FiveCapitalsLayout)
{
    Encoded e("ABCDE", 2, PDF417_USE_ERROR_LEVEL | PDF417_INVERT_BITMAP);
    ASSERT_EQ(e.p.error, 0);
    EXPECT_EQ(e.p.codewords[0], 4);                          // descriptor + 3 data codewords
    EXPECT_EQ((std::vector<int>{1, 63, 149}), e.data());    // AB, CD, E + pad
    EXPECT_EQ(e.p.lenCodewords, 12);                         // 4 + 8 EC codewords
    EXPECT_EQ(e.p.errorLevel, 2);
    EXPECT_EQ(e.p.codeColumns, 1);
    EXPECT_EQ(e.p.codeRows, 12);
    EXPECT_EQ(e.p.bitColumns, 86);
    EXPECT_EQ(e.p.lenBits, 11 * 12);
}

TEST(Pdf417Encoder, RowsCarryPatternsAndIndicators)
{
    Encoded e("Row indicators and clusters", 3, PDF417_USE_ERROR_LEVEL);
    ASSERT_EQ(e.p.error, 0);
    const pdf417param& p = e.p;
    const int rows = p.codeRows, cols = p.codeColumns;
    // The standard's start (8 1 1 1 1 1 1 3) and stop (7 1 1 3 1 1 1 2 1)
    // patterns, written out here rather than taken from the encoder's table.
    const int start = 0b11111111010101000;
    const int stop = 0b111111101000101001;
    // The cluster of a 17-module codeword from its bar and space widths
    // (b1 - b2 + b3 - b4 + 9) mod 9, which must be 0, 3, 6 for rows 1, 2, 3.
    auto clusterOf = [](int pattern) {
        int widths[8] = {}, n = 0, bit = 1;
        for (int i = 16; i >= 0; --i) {
            const int b = (pattern >> i) & 1;
            if (b != bit) {
                ++n;
                bit = b;
            }
            if (n < 8)
                ++widths[n];
        }
        return (widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9;
    };
    for (int r = 0; r < rows; ++r) {
        SCOPED_TRACE(r);
        const int* cl = CLUSTERS[r % 3];
        const int q = 30 * (r / 3);
        const int left[3] = {q + (rows - 1) / 3, q + 3 * p.errorLevel + (rows - 1) % 3, q + cols - 1};
        const int right[3] = {q + cols - 1, q + (rows - 1) / 3, q + 3 * p.errorLevel + (rows - 1) % 3};
        EXPECT_EQ(rowBits(p, r, 0, 17), start);
        EXPECT_EQ(rowBits(p, r, 17, 17), cl[left[r % 3]]);
        for (int c = 0; c < cols + 2; ++c)
            EXPECT_EQ(clusterOf(rowBits(p, r, 17 + 17 * c, 17)), 3 * (r % 3)) << "codeword " << c;
        for (int c = 0; c < cols; ++c)
            EXPECT_EQ(rowBits(p, r, 34 + 17 * c, 17), cl[p.codewords[r * cols + c]]);
        EXPECT_EQ(rowBits(p, r, 34 + 17 * cols, 17), cl[right[r % 3]]);
        EXPECT_EQ(rowBits(p, r, 51 + 17 * cols, 18), stop);
    }
}

TEST(Pdf417Encoder, CodewordPatternsAreWellFormed)
{
    // 17 modules, four bars and four spaces of 1-6 modules, in the cluster's class.
    for (int c = 0; c < 3; ++c) {
        std::vector<bool> seen(1 << 17);
        for (int v = 0; v < 929; ++v) {
            const int pat = CLUSTERS[c][v];
            ASSERT_FALSE(seen[pat]) << c << ' ' << v;
            seen[pat] = true;
            int widths[8] = {}, n = 0, bit = 1;
            for (int i = 16; i >= 0; --i) {
                const int b = (pat >> i) & 1;
                if (i == 16) {
                    ASSERT_EQ(b, 1);
                }
                if (b != bit) {
                    ++n;
                    bit = b;
                }
                ASSERT_LT(n, 8);
                ++widths[n];
            }
            ASSERT_EQ(n, 7) << c << ' ' << v;
            for (int w : widths)
                ASSERT_TRUE(w >= 1 && w <= 6);
            EXPECT_EQ((widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9, 3 * c) << v;
        }
    }
}

TEST(Pdf417Encoder, ErrorCorrectionCoefficients)
{
    // The standard's table begins with these values.
    EXPECT_EQ(ERROR_LEVEL(0)[0], 27);
    EXPECT_EQ(ERROR_LEVEL(0)[1], 917);
    const int level1[] = {522, 568, 723, 809};
    const int level2[] = {237, 308, 436, 284, 646, 653, 428, 379};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ERROR_LEVEL(1)[i], level1[i]);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ERROR_LEVEL(2)[i], level2[i]);
    // Every level's generator has the roots 3^1 .. 3^k.
    for (int level = 0; level <= 8; ++level) {
        const int k = 2 << level;
        const int* a = ERROR_LEVEL(level);
        for (int i = 1; i <= k; i += (level > 4 ? 37 : 1)) {
            const int x = powmod(3, i);
            long long v = 1;   // leading coefficient
            for (int j = k - 1; j >= 0; --j)
                v = (v * x + a[j]) % 929;
            EXPECT_EQ(v, 0) << "level " << level << " root " << i;
        }
    }
}

TEST(Pdf417Encoder, SymbolIsAReedSolomonCodeword)
{
    // The whole codeword sequence, read as a polynomial, vanishes at 3^1 .. 3^k
    // (the check symbols are stored negated).
    for (int level : {0, 3, 6}) {
        Encoded e(QByteArray("Error correction at level ") + QByteArray::number(level), level);
        ASSERT_EQ(e.p.error, 0);
        const int k = 2 << e.p.errorLevel;
        for (int i = 1; i <= k; ++i) {
            const int x = powmod(3, i);
            long long v = 0;
            for (int n = 0; n < e.p.lenCodewords; ++n)
                v = (v * x + e.p.codewords[n]) % 929;
            ASSERT_EQ(v, 0) << "level " << level << " root " << i;
        }
    }
}

struct SegmentCase {
    const char* name;
    QByteArray data;
    std::vector<char> types;
};

TEST(Pdf417Encoder, Segmentation)
{
    const std::vector<SegmentCase> cases = {
        {"13 digits in text are numeric", "abc1234567890123def", {'T', 'N', 'T'}},
        {"12 digits in text stay text", "abc123456789012def", {'T'}},
        {"only digits, 8 or more", "12345678", {'N'}},
        {"only digits, fewer than 8", "1234567", {'T'}},
        {"single byte between text runs", QByteArray("ab\x01" "c"), {'T'}},
        {"single byte between too short text", QByteArray("a\x01" "b"), {'B'}},
        {"bytes absorb short text", QByteArray("\x80\x81" "ab" "\x82"), {'B'}},
        {"long text keeps its own", QByteArray("\x80\x81\x82" "abcdefg"), {'B', 'T'}},
        {"final digit run", "Total 12345678901234", {'T', 'N'}},
    };
    for (const auto& c : cases) {
        pdf417param p;
        pdf417init(&p);
        p.text = c.data.constData();
        p.lenText = int(c.data.size());
        segmentList list;
        listInit(&list);
        breakString(&p, &list);
        std::vector<char> types;
        int covered = 0;
        for (int k = 0; k < list.size; ++k) {
            types.push_back(listGet(&list, k)->type);
            EXPECT_EQ(listGet(&list, k)->start, covered) << c.name;
            covered = listGet(&list, k)->end;
        }
        EXPECT_EQ(covered, c.data.size()) << c.name;
        EXPECT_EQ(types, c.types) << c.name;
        EXPECT_EQ(listGet(&list, list.size), nullptr);
        EXPECT_FALSE(checkElementType(listGet(&list, -1), 'T'));
        EXPECT_EQ(getElementLength(listGet(&list, 99)), 0);
        listFree(&list);
    }
}

TEST(Pdf417Encoder, CompactionCounts)
{
    {   // a single non-text byte inside text is shifted: 913 and the byte
        Encoded e(QByteArray("AB\x01" "CD"));
        ASSERT_EQ(e.p.error, 0);
        EXPECT_EQ((std::vector<int>{1, 913, 1, 63}), e.data());
    }
    {   // 12 bytes: 924 and two groups of five
        Encoded e(QByteArray(12, '\x90'));
        EXPECT_EQ(e.p.codewords[1], 924);
        EXPECT_EQ(int(e.data().size()), 11);
    }
    {   // 7 bytes: 901, one group of five and one byte
        Encoded e(QByteArray(7, '\x90'));
        EXPECT_EQ(e.p.codewords[1], 901);
        EXPECT_EQ(int(e.data().size()), 7);
        EXPECT_EQ(e.data().back(), 0x90);
    }
    {   // 44 digits make 15 codewords after the latch
        Encoded e(QByteArray(44, '7'));
        EXPECT_EQ(e.p.codewords[1], 902);
        EXPECT_EQ(int(e.data().size()), 16);
    }
    {   // "000123" style: numeric compaction of "1" + digits: 1000 = 1*900 + 100
        Encoded e("000000000");   // 9 digits: "1000000000" = 1111 * 900 + 100 ... in base 900
        ASSERT_EQ(e.p.codewords[1], 902);
        const std::vector<int> d = e.data();
        long long v = 0;
        for (size_t i = 1; i < d.size(); ++i)
            v = v * 900 + d[i];
        EXPECT_EQ(v, 1000000000LL);
    }
    {   // lower case, mixed and punctuation sub-modes
        Encoded e("aB1;");
        ASSERT_EQ(e.p.error, 0);
        // Alpha->ll a, as B, ml 1, ps ;  -> (27,0)(27,1)(28,1)(29,0)
        EXPECT_EQ((std::vector<int>{27 * 30 + 0, 27 * 30 + 1, 28 * 30 + 1, 29 * 30 + 0}), e.data());
    }
}

TEST(Pdf417Encoder, LevelIsRaisedWhenTheGridHasRoom)
{
    pdf417param p;
    pdf417init(&p);
    p.text = "HELLO";
    p.lenText = 5;
    p.options = PDF417_FIXED_RECTANGLE | PDF417_USE_ERROR_LEVEL;
    p.errorLevel = 0;
    p.codeColumns = 10;
    p.codeRows = 20;
    paintCode(&p);
    ASSERT_EQ(p.error, 0);
    EXPECT_EQ(p.codeColumns, 10);
    EXPECT_EQ(p.codeRows, 20);
    EXPECT_EQ(p.errorLevel, 6);   // 200 - 4 data codewords leave room for 128
    EXPECT_EQ(p.lenCodewords, 200);
    // The row indicator of row 1 carries the raised level.
    EXPECT_EQ(rowBits(p, 1, 17, 17), CLUSTERS[1][3 * 6 + (20 - 1) % 3]);
    pdf417free(&p);
}

TEST(Pdf417Encoder, FixedColumnsAndRows)
{
    const QByteArray text(200, 'x');
    {
        Encoded e(text, 2, PDF417_USE_ERROR_LEVEL | PDF417_FIXED_COLUMNS);
        // codeColumns 0 is clamped to 1 first: a one-column symbol would pass 90 rows.
        EXPECT_LE(e.p.codeRows, 90);
        EXPECT_GE(e.p.codeRows * e.p.codeColumns, e.p.lenCodewords);
    }
    pdf417param p;
    pdf417init(&p);
    p.text = text.constData();
    p.lenText = int(text.size());
    p.options = PDF417_FIXED_ROWS;
    p.codeRows = 10;
    paintCode(&p);
    ASSERT_EQ(p.error, 0);
    EXPECT_EQ(p.codeRows, 10);
    EXPECT_EQ(p.codeRows * p.codeColumns, p.lenCodewords);
    pdf417free(&p);
}

TEST(Pdf417Encoder, BadInput)
{
    {   // too long
        const QByteArray big(5421, 'A');
        Encoded e(big);
        EXPECT_EQ(e.p.error, PDF417_ERROR_TEXT_TOO_BIG);
        EXPECT_EQ(e.p.outBits, nullptr);
    }
    {   // within the byte limit but beyond the codeword capacity
        QByteArray bin(1200, '\0');
        for (int i = 0; i < bin.size(); ++i)
            bin[i] = char(128 + i % 100);
        Encoded e(bin);
        EXPECT_EQ(e.p.error, PDF417_ERROR_TEXT_TOO_BIG);
        EXPECT_EQ(e.p.outBits, nullptr);
    }
    {   // long text whose compaction passes the capacity
        Encoded e(QByteArray(5000, 'a'));
        EXPECT_EQ(e.p.error, PDF417_ERROR_TEXT_TOO_BIG);
    }
    {   // a NUL-terminated text
        pdf417param p;
        pdf417init(&p);
        p.text = "NUL ENDED";
        paintCode(&p);
        EXPECT_EQ(p.error, 0);
        EXPECT_EQ(p.lenText, 9);
        pdf417free(&p);
    }
    // Caller-supplied codewords.
    auto raw = [](int len, int first, int value) {
        pdf417param p;
        pdf417init(&p);
        p.options = PDF417_USE_RAW_CODEWORDS;
        p.lenCodewords = len;
        p.codewords[0] = first;
        for (int i = 1; i < len && i < MAX_CODEWORDS; ++i)
            p.codewords[i] = value;
        paintCode(&p);
        const int err = p.error;
        pdf417free(&p);
        return err;
    };
    EXPECT_EQ(raw(3, 3, 100), 0);
    EXPECT_EQ(raw(3, 4, 100), PDF417_ERROR_INVALID_PARAMS);   // descriptor differs
    EXPECT_EQ(raw(0, 0, 100), PDF417_ERROR_INVALID_PARAMS);
    EXPECT_EQ(raw(927, 927, 100), PDF417_ERROR_INVALID_PARAMS);
    EXPECT_EQ(raw(926, 926, 100), 0);
    EXPECT_EQ(raw(3, 3, 929), PDF417_ERROR_INVALID_PARAMS);   // not a codeword
    EXPECT_EQ(raw(3, 3, -1), PDF417_ERROR_INVALID_PARAMS);
    {   // odd geometry parameters are clamped, an impossible module height is refused
        Encoded e("ratio", 2, PDF417_USE_ERROR_LEVEL, std::numeric_limits<float>::quiet_NaN());
        EXPECT_EQ(e.p.error, 0);
        Encoded f("ratio", -5, PDF417_USE_ERROR_LEVEL, 1e9f);
        EXPECT_EQ(f.p.error, 0);
        EXPECT_GE(f.p.errorLevel, 0);
        pdf417param p;
        pdf417init(&p);
        p.text = "height";
        p.yHeight = -1.0f;
        paintCode(&p);
        EXPECT_EQ(p.error, PDF417_ERROR_INVALID_PARAMS);
        pdf417free(&p);
    }
}

// Random input, options and geometry, in and out of range. Under the address
// sanitizer any write past the fixed buffers fails the run; the checks below
// catch a symbol that is inconsistent without crashing.
TEST(Pdf417Encoder, RandomInputNeverOverruns)
{
    QRandomGenerator rng(417);
    static const int kOptions[] = {0, PDF417_USE_ERROR_LEVEL, PDF417_FIXED_RECTANGLE, PDF417_FIXED_COLUMNS,
                                   PDF417_FIXED_ROWS, PDF417_FIXED_COLUMNS | PDF417_FIXED_ROWS,
                                   PDF417_FIXED_RECTANGLE | PDF417_USE_ERROR_LEVEL | PDF417_INVERT_BITMAP,
                                   PDF417_USE_RAW_CODEWORDS | PDF417_USE_ERROR_LEVEL};
    for (int round = 0; round < 1200; ++round) {
        const int len = round % 25 == 0 ? int(rng.bounded(2200, 5600)) : int(rng.bounded(0, 1200));
        QByteArray data(len, '\0');
        const int kind = round % 4;
        for (int i = 0; i < len; ++i) {
            switch (kind) {
            case 0: data[i] = char(rng.bounded(256)); break;
            case 1: data[i] = char('0' + rng.bounded(10)); break;
            case 2: data[i] = char(32 + rng.bounded(95)); break;
            default: data[i] = rng.bounded(8) ? char('0' + rng.bounded(10)) : char(rng.bounded(256)); break;
            }
        }
        pdf417param p;
        pdf417init(&p);
        p.text = data.constData();
        p.lenText = int(data.size());
        p.options = kOptions[round % 8];
        p.errorLevel = int(rng.bounded(-2, 11));
        p.aspectRatio = float(0.01 + rng.bounded(20.0));
        p.codeColumns = int(rng.bounded(-3, 40));
        p.codeRows = int(rng.bounded(-3, 100));
        if (p.options & PDF417_USE_RAW_CODEWORDS) {
            p.lenCodewords = int(rng.bounded(-2, 930));
            const int fill = std::clamp(p.lenCodewords, 0, MAX_CODEWORDS);
            for (int i = 1; i < fill; ++i)
                p.codewords[i] = int(rng.bounded(rng.bounded(20) ? 929 : 1000));
            p.codewords[0] = rng.bounded(10) ? p.lenCodewords : 5;
        }
        paintCode(&p);
        const std::string label = "round " + std::to_string(round) + " length " + std::to_string(len);
        if (p.error == 0) {
            ASSERT_NE(p.outBits, nullptr) << label;
            EXPECT_LE(p.lenCodewords, MAX_CODEWORDS) << label;
            EXPECT_EQ(p.lenCodewords, p.codeRows * p.codeColumns) << label;
            EXPECT_TRUE(p.codeRows >= 3 && p.codeRows <= 90) << label;
            EXPECT_TRUE(p.codeColumns >= 1 && p.codeColumns <= 30) << label;
            EXPECT_TRUE(p.errorLevel >= 0 && p.errorLevel <= 8) << label;
            EXPECT_EQ(p.bitColumns, 17 * (p.codeColumns + 3) + 18) << label;
            EXPECT_EQ(p.lenBits, ((p.bitColumns - 1) / 8 + 1) * p.codeRows) << label;
            for (int k = 0; k < p.lenCodewords; ++k)
                ASSERT_TRUE(p.codewords[k] >= 0 && p.codewords[k] < 929) << label << " codeword " << k;
        } else {
            EXPECT_EQ(p.outBits, nullptr) << label;
            const int expected = (p.options & PDF417_USE_RAW_CODEWORDS) ? PDF417_ERROR_INVALID_PARAMS
                                                                        : PDF417_ERROR_TEXT_TOO_BIG;
            EXPECT_EQ(p.error, expected) << label;
        }
        pdf417free(&p);
    }
}
