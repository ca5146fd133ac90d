// The QR encoder's tables, segmentation, version choice, grid and masks.
#include "barcode/engines/qr/QR_Encode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

using namespace qr;

namespace {

std::unique_ptr<CQR_Encode> NewEncoder()
{
    return std::make_unique<CQR_Encode>();
}

// Penalty of the grid computed the plain way, module by module, as a
// reference for the encoder's own (bit-parallel) computation.
int64_t ReferencePenalty(const CQR_Encode& e)
{
    const int n = int(e.m_nSymbleSize);
    auto dark = [&](int x, int y) { return (e.m_byModuleData[x][y] & 0x11) != 0; };
    int64_t score = 0;
    for (int dir = 0; dir < 2; ++dir) {
        for (int line = 0; line < n; ++line) {
            auto at = [&](int p) { return dir == 0 ? dark(p, line) : dark(line, p); };
            int i = 0;
            while (i < n - 4) {
                int j = i + 1;
                while (j < n && at(j) == at(i))
                    ++j;
                if (j - i >= 5)
                    score += (j - i) - 2;
                i = j;
            }
            auto lightOrOut = [&](int p) { return p < 0 || p >= n || !at(p); };
            static const bool kPattern[7] = {true, false, true, true, true, false, true};
            for (int p = 0; p <= n - 7; ++p) {
                if (p > 0 && at(p - 1))
                    continue;
                bool match = true;
                for (int k = 0; k < 7 && match; ++k)
                    match = at(p + k) == kPattern[k];
                if (!match || (p != n - 7 && at(p + 7)))
                    continue;
                if (lightOrOut(p - 2) && lightOrOut(p - 3) && lightOrOut(p - 4))
                    score += 40;
                else if (lightOrOut(p + 8) && lightOrOut(p + 9) && lightOrOut(p + 10))
                    score += 40;
            }
        }
    }
    for (int x = 0; x + 1 < n; ++x)
        for (int y = 0; y + 1 < n; ++y) {
            const bool c = dark(x, y);
            if (dark(x + 1, y) == c && dark(x, y + 1) == c && dark(x + 1, y + 1) == c)
                score += 3;
        }
    int64_t light = 0;
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y)
            light += dark(x, y) ? 0 : 1;
    const int64_t pct = 100 * light / (int64_t(n) * n);
    score += ((pct > 50 ? pct - 50 : 50 - pct) / 5) * 10;
    return score;
}

// The 15 format bits read back from the top-left copy.
uint16_t ReadFormatBits(const CQR_Encode& e)
{
    uint16_t bits = 0;
    auto put = [&](int k, int x, int y) {
        if (e.m_byModuleData[x][y])
            bits |= uint16_t(1u << k);
    };
    for (int k = 0; k <= 5; ++k)
        put(k, 8, k);
    put(6, 8, 7);
    put(7, 8, 8);
    put(8, 7, 8);
    for (int k = 9; k <= 14; ++k)
        put(k, 14 - k, 8);
    return bits;
}

} // namespace

TEST(QrTables, GaloisFieldAndGenerators)
{
    EXPECT_EQ(byExpToInt[0], 1);
    EXPECT_EQ(byExpToInt[8], 0x1D);    // x^8 reduced by 0x11D
    EXPECT_EQ(byExpToInt[255], 1);
    EXPECT_EQ(byIntToExp[0], 0);
    EXPECT_EQ(byIntToExp[1], 0);
    for (int v = 1; v < 256; ++v)
        EXPECT_EQ(byExpToInt[byIntToExp[v]], v) << v;

    const uint8_t g7[] = {87, 229, 146, 149, 238, 102, 21};
    const uint8_t* gen = RSGeneratorExponents(7);
    ASSERT_NE(gen, nullptr);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(gen[i], g7[i]) << i;
    // The generator for 10 as printed in the standard's annex.
    const uint8_t g10[] = {251, 67, 46, 61, 118, 70, 64, 94, 32, 45};
    gen = RSGeneratorExponents(10);
    ASSERT_NE(gen, nullptr);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(gen[i], g10[i]) << i;

    for (int n : {7, 10, 13, 15, 16, 17, 18, 20, 22, 30, 40, 68})
        EXPECT_NE(RSGeneratorExponents(n), nullptr) << n;
    for (int n : {0, 8, 19, 21, 69, 200})
        EXPECT_EQ(RSGeneratorExponents(n), nullptr) << n;
}

TEST(QrTables, FormatAndVersionInformation)
{
    struct {
        int level, mask;
        uint16_t bits;
    } const formats[] = {
        {QR_LEVEL_L, 0, 0x77C4}, {QR_LEVEL_L, 1, 0x72F3}, {QR_LEVEL_L, 7, 0x6976},
        {QR_LEVEL_M, 0, 0x5412}, {QR_LEVEL_M, 5, 0x40CE}, {QR_LEVEL_Q, 0, 0x355F},
        {QR_LEVEL_Q, 7, 0x2BED}, {QR_LEVEL_H, 0, 0x1689}, {QR_LEVEL_H, 7, 0x083B},
    };
    for (const auto& f : formats)
        EXPECT_EQ(FormatInfoBits(f.level, f.mask), f.bits) << f.level << "/" << f.mask;

    EXPECT_EQ(VersionInfoBits(7), 0x07C94u);
    EXPECT_EQ(VersionInfoBits(8), 0x085BCu);
    EXPECT_EQ(VersionInfoBits(21), 0x15683u);
    EXPECT_EQ(VersionInfoBits(40), 0x28C69u);
    EXPECT_EQ(VersionInfoBits(6), 0u);
}

// Every version's blocks add up to its codewords, and the grid leaves exactly
// room for them plus the remainder bits.
TEST(QrTables, VersionTableMatchesTheGrid)
{
    const int remainder[41] = {0, 0, 7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3, 3, 3, 3, 3,
                               4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 0, 0, 0, 0, 0, 0};
    for (int v = 1; v <= 40; ++v) {
        const QR_VERSIONINFO& info = QR_VersonInfo[v];
        EXPECT_EQ(info.nVersionNo, v);
        for (int level = 0; level < 4; ++level) {
            const RS_BLOCKINFO& g1 = info.RS_BlockInfo1[level];
            const RS_BLOCKINFO& g2 = info.RS_BlockInfo2[level];
            EXPECT_EQ(g1.ncRSBlock * g1.ncAllCodeWord + g2.ncRSBlock * g2.ncAllCodeWord, info.ncAllCodeWord)
                << v << "/" << level;
            EXPECT_EQ(g1.ncRSBlock * g1.ncDataCodeWord + g2.ncRSBlock * g2.ncDataCodeWord,
                      info.ncDataCodeWord[level]) << v << "/" << level;
            EXPECT_LE(g1.ncAllCodeWord, MAX_CODEBLOCK);
            EXPECT_NE(RSGeneratorExponents(g1.ncAllCodeWord - g1.ncDataCodeWord), nullptr);
            if (g2.ncRSBlock) {
                EXPECT_EQ(g2.ncDataCodeWord, g1.ncDataCodeWord + 1);
                EXPECT_EQ(g2.ncAllCodeWord - g2.ncDataCodeWord, g1.ncAllCodeWord - g1.ncDataCodeWord);
            }
        }
        auto e = NewEncoder();
        e->m_nVersion = v;
        e->m_nSymbleSize = 4 * v + 17;
        e->SetFunctionModule();
        int free = 0;
        for (int x = 0; x < e->m_nSymbleSize; ++x)
            for (int y = 0; y < e->m_nSymbleSize; ++y)
                free += (e->m_byModuleData[x][y] & 0x20) ? 0 : 1;
        EXPECT_EQ(free, info.ncAllCodeWord * 8 + remainder[v]) << "version " << v;
    }
    EXPECT_EQ(QR_VersonInfo[40].ncDataCodeWord[QR_LEVEL_L], 2956);
    EXPECT_EQ(QR_VersonInfo[40].ncAllCodeWord, 3706);
}

// The standard's own example: "01234567" at 1-M.
TEST(QrEncoder, WorkedNumericExample)
{
    auto e = NewEncoder();
    ASSERT_TRUE(e->EncodeSourceData("01234567", 8, 0));
    ASSERT_EQ(e->m_ncDataBlock, 1);
    EXPECT_EQ(e->m_byBlockMode[0], QR_MODE_NUMERAL);
    EXPECT_EQ(e->m_nBlockLength[0], 8);
    // 0001 0000001000 0000001100 0101011001 1000011
    EXPECT_EQ(e->m_ncDataCodeWordBit, 4 + 10 + 10 + 10 + 7);
    const uint8_t stream[] = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80};
    EXPECT_EQ(std::memcmp(e->m_byDataCodeWord, stream, sizeof stream), 0);

    ASSERT_TRUE(e->EncodeData(QR_LEVEL_M, 0, true, -1, "01234567", 0));
    EXPECT_EQ(e->m_nVersion, 1);
    EXPECT_EQ(e->m_nSymbleSize, 21);
    const uint8_t codewords[26] = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC,
                                   0x11, 0xEC, 0x11, 0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55};
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(e->m_byAllCodeWord[i], codewords[i]) << i;
}

TEST(QrEncoder, BitLengths)
{
    CQR_Encode* e = nullptr;
    auto owner = NewEncoder();
    e = owner.get();
    EXPECT_EQ(e->GetBitLength(QR_MODE_NUMERAL, 8, 0), 41);
    EXPECT_EQ(e->GetBitLength(QR_MODE_NUMERAL, 3, 1), 4 + 12 + 10);
    EXPECT_EQ(e->GetBitLength(QR_MODE_NUMERAL, 1, 2), 4 + 14 + 4);
    EXPECT_EQ(e->GetBitLength(QR_MODE_ALPHABET, 3, 0), 4 + 9 + 11 + 6);
    EXPECT_EQ(e->GetBitLength(QR_MODE_8BIT, 2953, 2), 4 + 16 + 23624);
    EXPECT_EQ(e->GetBitLength(QR_MODE_KANJI, 4, 1), 4 + 10 + 26);
    EXPECT_EQ(CQR_Encode::KanjiToBinaly(0x935F), 0x0D9F);
    EXPECT_EQ(CQR_Encode::KanjiToBinaly(0xE4AA), 0x1AAA);
    EXPECT_EQ(CQR_Encode::AlphabetToBinaly(':'), 44);
    EXPECT_EQ(CQR_Encode::AlphabetToBinaly('Z'), 35);
    EXPECT_TRUE(CQR_Encode::IsKanjiData(0x9F, 0xFC));
    EXPECT_FALSE(CQR_Encode::IsKanjiData(0x9F, 0xFD));
    EXPECT_TRUE(CQR_Encode::IsKanjiData(0xEB, 0xBF));
    EXPECT_FALSE(CQR_Encode::IsKanjiData(0xEB, 0xC0));
    EXPECT_FALSE(CQR_Encode::IsKanjiData(0xA0, 0x40));
    EXPECT_EQ(CQR_Encode::Get_Encoding_Mode("0123", 0), QR_MODE_NUMERAL);
    EXPECT_EQ(CQR_Encode::Get_Encoding_Mode("AB 12", 0), QR_MODE_ALPHABET);
    EXPECT_EQ(CQR_Encode::Get_Encoding_Mode("ab", 0), QR_MODE_8BIT);
}

TEST(QrEncoder, SegmentSplits)
{
    struct Case {
        const char* text;
        int group;
        std::vector<std::pair<uint8_t, int>> segments;
        int64_t bits;
    };
    const Case cases[] = {
        // Two segments would take 30 + 24 bits; one alphanumeric 46.
        {"ABC123", 0, {{QR_MODE_ALPHABET, 6}}, 46},
        {"123ABC", 0, {{QR_MODE_ALPHABET, 6}}, 46},
        // A long digit run keeps its own numeric segment between bytes.
        {"abc12345678901234567890xyz", 0, {{QR_MODE_8BIT, 3}, {QR_MODE_NUMERAL, 20}, {QR_MODE_8BIT, 3}}, 36 + 81 + 36},
        // A short one is cheaper inside one 8-bit segment.
        {"a1b", 0, {{QR_MODE_8BIT, 3}}, 36},
        {"HELLO WORLD", 0, {{QR_MODE_ALPHABET, 11}}, 4 + 9 + 55 + 6},
        // A numeric/alphanumeric pair next to 8-bit data: joining the letter
        // to the bytes in front (52 bits) beats one alphanumeric run (55).
        {"aA123", 0, {{QR_MODE_8BIT, 2}, {QR_MODE_NUMERAL, 3}}, 52},
        // ... and joining it to the bytes behind.
        {"123Aa", 0, {{QR_MODE_NUMERAL, 3}, {QR_MODE_8BIT, 2}}, 52},
        // Shift JIS bytes (not UTF-8) keep Kanji compaction.
        {"\x93\xfa\x96\x7b", 0, {{QR_MODE_KANJI, 4}}, 4 + 8 + 26},
        // One Kanji pair and a byte: one 8-bit run (36 bits) beats 25 + 20.
        {"\x93\xfa\x80", 0, {{QR_MODE_8BIT, 3}}, 36},
        // UTF-8 text is never read as Shift JIS, although pairs such as
        // E6 BC fall in the Kanji ranges: one 8-bit segment, so decoders give
        // back the same UTF-8 bytes instead of Shift JIS characters.
        {"\xe6\xbc\xa2", 0, {{QR_MODE_8BIT, 3}}, 36},
        {"\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3\x83\x88", 1, {{QR_MODE_8BIT, 12}}, 4 + 16 + 96},
    };
    for (const Case& c : cases) {
        auto e = NewEncoder();
        ASSERT_TRUE(e->EncodeSourceData(c.text, int64_t(std::strlen(c.text)), c.group)) << c.text;
        ASSERT_EQ(e->m_ncDataBlock, int64_t(c.segments.size())) << c.text;
        for (size_t i = 0; i < c.segments.size(); ++i) {
            EXPECT_EQ(e->m_byBlockMode[i], c.segments[i].first) << c.text << " #" << i;
            EXPECT_EQ(e->m_nBlockLength[i], c.segments[i].second) << c.text << " #" << i;
        }
        EXPECT_EQ(e->m_ncDataCodeWordBit, c.bits) << c.text;
    }
}

TEST(QrEncoder, VersionChoice)
{
    auto e = NewEncoder();
    const std::string v2(30, 'A');  // fits version 2 at M
    ASSERT_TRUE(e->EncodeData(QR_LEVEL_M, 0, true, -1, v2.c_str()));
    EXPECT_EQ(e->m_nVersion, 2);
    ASSERT_TRUE(e->EncodeData(QR_LEVEL_M, -1, true, -1, v2.c_str()));
    EXPECT_EQ(e->m_nVersion, 2);

    // A larger request is honoured, still with the short count indicators.
    ASSERT_TRUE(e->EncodeData(QR_LEVEL_M, 5, true, -1, v2.c_str()));
    EXPECT_EQ(e->m_nVersion, 5);
    EXPECT_EQ(e->m_nSymbleSize, 37);
    EXPECT_EQ(e->m_nVersion_pass, 5);
    EXPECT_EQ(e->m_byDataCodeWord[0] >> 4, 0x2);                       // alphanumeric
    EXPECT_EQ(((e->m_byDataCodeWord[0] & 0x0F) << 5) | (e->m_byDataCodeWord[1] >> 3), 30);  // 9-bit count

    // Data needing version 12 at M.
    const std::string v12(280, 'x');
    ASSERT_TRUE(e->EncodeData(QR_LEVEL_M, 0, true, -1, v12.c_str()));
    EXPECT_EQ(e->m_nVersion, 12);
    ASSERT_TRUE(e->EncodeData(QR_LEVEL_M, 9, true, -1, v12.c_str()));
    EXPECT_EQ(e->m_nVersion, 12);
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, 9, false, -1, v12.c_str()));

    // A request of 10 counts with the 10-26 indicator widths and never goes below.
    const std::string digits = "12345";
    ASSERT_TRUE(e->EncodeData(QR_LEVEL_L, 10, true, -1, digits.c_str()));
    EXPECT_EQ(e->m_nVersion, 10);
    EXPECT_EQ(e->m_ncDataCodeWordBit >= 4 + 12 + 10 + 7, true);
    EXPECT_EQ(e->GetEncodeVersion(10, digits.c_str(), 5), 10);
    EXPECT_EQ(e->GetEncodeVersion(0, digits.c_str(), 5), 1);
}

// 2953 bytes are the most that version 40-L holds.
TEST(QrEncoder, CapacityLimitAtLevelL)
{
    std::string data(2954, 'a');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char('a' + i % 26);
    auto e = NewEncoder();
    ASSERT_TRUE(e->EncodeSourceData(data.c_str(), 2953, 2));
    EXPECT_EQ(e->m_ncDataCodeWordBit, 4 + 16 + 23624);
    ASSERT_TRUE(e->EncodeData(QR_LEVEL_L, 0, true, -1, data.c_str(), 2953));
    EXPECT_EQ(e->m_nVersion, 40);
    EXPECT_EQ(e->m_nSymbleSize, 177);
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_L, 0, true, -1, data.c_str(), 2954));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, 0, true, -1, data.c_str(), 2332));
    EXPECT_TRUE(e->EncodeData(QR_LEVEL_M, 0, true, -1, data.c_str(), 2331));
    EXPECT_TRUE(e->EncodeData(QR_LEVEL_H, 0, true, -1, data.c_str(), 1273));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_H, 0, true, -1, data.c_str(), 1274));

    const std::string digits(7090, '7');
    EXPECT_TRUE(e->EncodeData(QR_LEVEL_L, 0, true, -1, digits.c_str(), 7089));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_L, 0, true, -1, digits.c_str(), 7090));
}

// Bad input fails cleanly and never writes past the fixed buffers.
TEST(QrEncoder, BadInputFails)
{
    auto e = NewEncoder();
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, 0, true, -1, "", 0));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, 0, true, -1, nullptr, 4));
    EXPECT_FALSE(e->EncodeData(-1, 0, true, -1, "123", 0));
    EXPECT_FALSE(e->EncodeData(4, 0, true, -1, "123", 0));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, -2, true, -1, "123", 0));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, 41, true, -1, "123", 0));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, 0, true, -2, "123", 0));
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_M, 0, true, 8, "123", 0));

    // More class changes than the segment table holds.
    std::string alternating;
    for (int i = 0; i < 3000; ++i)
        alternating += "a1";
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_L, 0, true, -1, alternating.c_str(), 0));
    EXPECT_FALSE(e->EncodeSourceData(alternating.c_str(), int64_t(alternating.size()), 2));

    // Far beyond any capacity, of every class.
    for (char c : {'7', 'A', 'a'}) {
        const std::string huge(200000, c);
        EXPECT_FALSE(e->EncodeData(QR_LEVEL_L, 0, true, -1, huge.c_str(), int64_t(huge.size()))) << c;
    }
    const std::string kanji = [] {
        std::string s;
        for (int i = 0; i < 5000; ++i)
            s += "\x93\xfa";
        return s;
    }();
    EXPECT_FALSE(e->EncodeData(QR_LEVEL_L, 0, true, -1, kanji.c_str(), 0));

    EXPECT_EQ(e->SetBitStream(-1, 1, 1), -1);
    EXPECT_EQ(e->SetBitStream(MAX_DATABITS - 3, 0xF, 4), -1);
    EXPECT_EQ(e->SetBitStream(MAX_DATABITS - 4, 0xF, 4), MAX_DATABITS);

    // The encoder still works after all that.
    EXPECT_TRUE(e->EncodeData(QR_LEVEL_Q, 0, true, -1, "OK", 0));
    EXPECT_EQ(e->m_nVersion, 1);
}

TEST(QrEncoder, PenaltyRules)
{
    auto e = NewEncoder();
    e->m_nSymbleSize = 21;
    // All light: 42 runs of 21 (19 each), 400 blocks, 100 % light.
    std::memset(e->m_byModuleData, 0, sizeof e->m_byModuleData);
    EXPECT_EQ(e->CountPenalty(), 42 * 19 + 400 * 3 + 100);
    // Checkerboard: nothing but a 49 % balance.
    for (int x = 0; x < 21; ++x)
        for (int y = 0; y < 21; ++y)
            e->m_byModuleData[x][y] = ((x + y) & 1) ? 0x01 : 0x00;
    EXPECT_EQ(e->CountPenalty(), ReferencePenalty(*e));
    EXPECT_EQ(e->CountPenalty(), 0);
    // Random grids against the plain computation.
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        const int n = 21 + 4 * int(rng() % 40);
        e->m_nSymbleSize = n;
        for (int x = 0; x < n; ++x)
            for (int y = 0; y < n; ++y) {
                const unsigned r = rng() % 16;
                e->m_byModuleData[x][y] = r < 6 ? 0x00 : r < 12 ? 0x01 : r < 14 ? 0x30 : 0x20;
            }
        EXPECT_EQ(e->CountPenalty(), ReferencePenalty(*e)) << "size " << n;
    }
}

// The chosen mask has the lowest penalty, the lowest number among equals;
// a forced mask is used as given and written into the format information.
TEST(QrEncoder, MaskChoice)
{
    const char* inputs[] = {"01234567", "HELLO WORLD", "https://example.com/a?b=c", "QR Code \xe6\xbc\xa2\xe5\xad\x97"};
    for (const char* text : inputs) {
        for (int64_t level = 0; level < 4; ++level) {
            auto e = NewEncoder();
            ASSERT_TRUE(e->EncodeData(level, 0, true, -1, text, 0));
            const int64_t chosen = e->m_nMaskingNo;
            ASSERT_GE(chosen, 0);
            ASSERT_LE(chosen, 7);
            int64_t penalties[8];
            for (int k = 0; k < 8; ++k) {
                auto f = NewEncoder();
                ASSERT_TRUE(f->EncodeData(level, 0, true, k, text, 0));
                EXPECT_EQ(f->m_nMaskingNo, k);
                EXPECT_EQ(ReadFormatBits(*f), FormatInfoBits(int(level), k));
                // Penalty of the finished grid (function patterns, format info included).
                penalties[k] = ReferencePenalty(*f);
                if (k == chosen) {
                    for (int x = 0; x < f->m_nSymbleSize; ++x)
                        EXPECT_EQ(std::memcmp(f->m_byModuleData[x], e->m_byModuleData[x], size_t(f->m_nSymbleSize)), 0);
                }
            }
            for (int k = 0; k < 8; ++k) {
                if (k < chosen)
                    EXPECT_GT(penalties[k], penalties[chosen]) << text << " mask " << k;
                else
                    EXPECT_GE(penalties[k], penalties[chosen]) << text << " mask " << k;
            }
        }
    }
}

// A second encoding on the same object starts afresh.
TEST(QrEncoder, ReusedEncoderMatchesFreshOne)
{
    auto reused = NewEncoder();
    ASSERT_TRUE(reused->EncodeData(QR_LEVEL_H, 0, true, -1, std::string(500, 'z').c_str(), 0));
    ASSERT_TRUE(reused->EncodeData(QR_LEVEL_L, 0, true, -1, "12345", 0));
    auto fresh = NewEncoder();
    ASSERT_TRUE(fresh->EncodeData(QR_LEVEL_L, 0, true, -1, "12345", 0));
    ASSERT_EQ(reused->m_nSymbleSize, fresh->m_nSymbleSize);
    for (int x = 0; x < fresh->m_nSymbleSize; ++x)
        EXPECT_EQ(std::memcmp(reused->m_byModuleData[x], fresh->m_byModuleData[x], size_t(fresh->m_nSymbleSize)), 0);
}

// Random input of every byte class, lengths, levels, versions and masks, in
// and out of range. Under the address sanitizer any write past the fixed
// buffers fails the run; the checks below catch silent corruption.
TEST(QrEncoder, RandomInputNeverOverruns)
{
    std::mt19937 rng(18004);
    auto pick = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
    static const char kAlnum[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    auto e = NewEncoder();
    for (int round = 0; round < 800; ++round) {
        // Mostly short inputs; some near and beyond the largest capacity.
        const int len = round % 10 == 0 ? pick(2900, 7200) : round % 3 == 0 ? pick(200, 1500) : pick(0, 120);
        std::string data;
        while (int(data.size()) < len) {
            // Runs of one class so that every segment merge gets exercised.
            const int run = pick(1, 15);
            const int kind = pick(0, 5);
            for (int k = 0; k < run; ++k) {
                switch (kind) {
                case 0: data += char('0' + pick(0, 9)); break;
                case 1: data += kAlnum[pick(0, 44)]; break;
                case 2: data += char(pick(1, 255)); break;
                case 3: data += char(pick(0x81, 0x9F)); data += char(pick(0x40, 0xFC)); break;
                case 4: data += "\xe6\xbc\xa2"; break;
                default: data += char(pick(0xE0, 0xEB)); data += char(pick(0x40, 0xFF)); break;
                }
            }
        }
        data.resize(size_t(len));
        const int64_t level = pick(-1, 4);
        const int64_t version = pick(-2, 41);
        const int64_t mask = round % 4 == 0 ? pick(-2, 8) : -1;
        const bool autoExtent = round % 5 != 0;
        // Zero bytes inside the data are kept by length; length 0 reads up to the NUL.
        const int64_t ncSource = round % 7 == 0 ? 0 : len;

        const bool valid = level >= 0 && level <= 3 && version >= -1 && version <= 40 && mask >= -1 && mask <= 7;
        const bool ok = e->EncodeData(level, version, autoExtent, mask, data.c_str(), ncSource);
        const std::string label = "round " + std::to_string(round) + " length " + std::to_string(len);
        if (!valid) {
            EXPECT_FALSE(ok) << label;
            continue;
        }
        const int64_t used = ncSource > 0 ? ncSource : int64_t(std::strlen(data.c_str()));
        if (!ok) {
            // Small inputs always fit when the version may grow.
            EXPECT_FALSE(used > 0 && used <= 500 && autoExtent) << label;
            continue;
        }
        ASSERT_GE(e->m_nVersion, 1) << label;
        ASSERT_LE(e->m_nVersion, 40) << label;
        if (version > 0) {
            EXPECT_GE(e->m_nVersion, version) << label;
        }
        EXPECT_EQ(e->m_nSymbleSize, 4 * e->m_nVersion + 17) << label;
        EXPECT_LE(e->m_ncDataCodeWordBit, 8 * QR_VersonInfo[e->m_nVersion].ncDataCodeWord[level]) << label;
        EXPECT_GE(e->m_nMaskingNo, 0) << label;
        EXPECT_LE(e->m_nMaskingNo, 7) << label;
        if (mask >= 0) {
            EXPECT_EQ(e->m_nMaskingNo, mask) << label;
        }
        EXPECT_EQ(ReadFormatBits(*e), FormatInfoBits(int(level), int(e->m_nMaskingNo))) << label;
        int odd = 0;
        for (int x = 0; x < MAX_MODULESIZE; ++x)
            for (int y = 0; y < MAX_MODULESIZE; ++y)
                odd += (x < e->m_nSymbleSize && y < e->m_nSymbleSize) ? (e->m_byModuleData[x][y] > 1)
                                                                       : (e->m_byModuleData[x][y] != 0);
        EXPECT_EQ(odd, 0) << label;
    }
}
