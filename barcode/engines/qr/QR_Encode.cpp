#include "barcode/engines/qr/QR_Encode.h"

#include <array>
#include <cstring>

namespace qr {

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

// Error-correction characteristics and alignment-pattern centres of every
// version (ISO/IEC 18004). Per level: (blocks, codewords a block, data
// codewords a block) for the shorter and the longer blocks.
const QR_VERSIONINFO QR_VersonInfo[41] = {
    {0, 0, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {1, 26, {19, 16, 13, 9}, 0, {0, 0, 0, 0, 0, 0},
     {{1, 26, 19}, {1, 26, 16}, {1, 26, 13}, {1, 26, 9}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {2, 44, {34, 28, 22, 16}, 1, {18, 0, 0, 0, 0, 0},
     {{1, 44, 34}, {1, 44, 28}, {1, 44, 22}, {1, 44, 16}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {3, 70, {55, 44, 34, 26}, 1, {22, 0, 0, 0, 0, 0},
     {{1, 70, 55}, {1, 70, 44}, {2, 35, 17}, {2, 35, 13}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {4, 100, {80, 64, 48, 36}, 1, {26, 0, 0, 0, 0, 0},
     {{1, 100, 80}, {2, 50, 32}, {2, 50, 24}, {4, 25, 9}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {5, 134, {108, 86, 62, 46}, 1, {30, 0, 0, 0, 0, 0},
     {{1, 134, 108}, {2, 67, 43}, {2, 33, 15}, {2, 33, 11}},
     {{0, 0, 0}, {0, 0, 0}, {2, 34, 16}, {2, 34, 12}}},
    {6, 172, {136, 108, 76, 60}, 1, {34, 0, 0, 0, 0, 0},
     {{2, 86, 68}, {4, 43, 27}, {4, 43, 19}, {4, 43, 15}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {7, 196, {156, 124, 88, 66}, 2, {22, 38, 0, 0, 0, 0},
     {{2, 98, 78}, {4, 49, 31}, {2, 32, 14}, {4, 39, 13}},
     {{0, 0, 0}, {0, 0, 0}, {4, 33, 15}, {1, 40, 14}}},
    {8, 242, {194, 154, 110, 86}, 2, {24, 42, 0, 0, 0, 0},
     {{2, 121, 97}, {2, 60, 38}, {4, 40, 18}, {4, 40, 14}},
     {{0, 0, 0}, {2, 61, 39}, {2, 41, 19}, {2, 41, 15}}},
    {9, 292, {232, 182, 132, 100}, 2, {26, 46, 0, 0, 0, 0},
     {{2, 146, 116}, {3, 58, 36}, {4, 36, 16}, {4, 36, 12}},
     {{0, 0, 0}, {2, 59, 37}, {4, 37, 17}, {4, 37, 13}}},
    {10, 346, {274, 216, 154, 122}, 2, {28, 50, 0, 0, 0, 0},
     {{2, 86, 68}, {4, 69, 43}, {6, 43, 19}, {6, 43, 15}},
     {{2, 87, 69}, {1, 70, 44}, {2, 44, 20}, {2, 44, 16}}},
    {11, 404, {324, 254, 180, 140}, 2, {30, 54, 0, 0, 0, 0},
     {{4, 101, 81}, {1, 80, 50}, {4, 50, 22}, {3, 36, 12}},
     {{0, 0, 0}, {4, 81, 51}, {4, 51, 23}, {8, 37, 13}}},
    {12, 466, {370, 290, 206, 158}, 2, {32, 58, 0, 0, 0, 0},
     {{2, 116, 92}, {6, 58, 36}, {4, 46, 20}, {7, 42, 14}},
     {{2, 117, 93}, {2, 59, 37}, {6, 47, 21}, {4, 43, 15}}},
    {13, 532, {428, 334, 244, 180}, 2, {34, 62, 0, 0, 0, 0},
     {{4, 133, 107}, {8, 59, 37}, {8, 44, 20}, {12, 33, 11}},
     {{0, 0, 0}, {1, 60, 38}, {4, 45, 21}, {4, 34, 12}}},
    {14, 581, {461, 365, 261, 197}, 3, {26, 46, 66, 0, 0, 0},
     {{3, 145, 115}, {4, 64, 40}, {11, 36, 16}, {11, 36, 12}},
     {{1, 146, 116}, {5, 65, 41}, {5, 37, 17}, {5, 37, 13}}},
    {15, 655, {523, 415, 295, 223}, 3, {26, 48, 70, 0, 0, 0},
     {{5, 109, 87}, {5, 65, 41}, {5, 54, 24}, {11, 36, 12}},
     {{1, 110, 88}, {5, 66, 42}, {7, 55, 25}, {7, 37, 13}}},
    {16, 733, {589, 453, 325, 253}, 3, {26, 50, 74, 0, 0, 0},
     {{5, 122, 98}, {7, 73, 45}, {15, 43, 19}, {3, 45, 15}},
     {{1, 123, 99}, {3, 74, 46}, {2, 44, 20}, {13, 46, 16}}},
    {17, 815, {647, 507, 367, 283}, 3, {30, 54, 78, 0, 0, 0},
     {{1, 135, 107}, {10, 74, 46}, {1, 50, 22}, {2, 42, 14}},
     {{5, 136, 108}, {1, 75, 47}, {15, 51, 23}, {17, 43, 15}}},
    {18, 901, {721, 563, 397, 313}, 3, {30, 56, 82, 0, 0, 0},
     {{5, 150, 120}, {9, 69, 43}, {17, 50, 22}, {2, 42, 14}},
     {{1, 151, 121}, {4, 70, 44}, {1, 51, 23}, {19, 43, 15}}},
    {19, 991, {795, 627, 445, 341}, 3, {30, 58, 86, 0, 0, 0},
     {{3, 141, 113}, {3, 70, 44}, {17, 47, 21}, {9, 39, 13}},
     {{4, 142, 114}, {11, 71, 45}, {4, 48, 22}, {16, 40, 14}}},
    {20, 1085, {861, 669, 485, 385}, 3, {34, 62, 90, 0, 0, 0},
     {{3, 135, 107}, {3, 67, 41}, {15, 54, 24}, {15, 43, 15}},
     {{5, 136, 108}, {13, 68, 42}, {5, 55, 25}, {10, 44, 16}}},
    {21, 1156, {932, 714, 512, 406}, 4, {28, 50, 72, 94, 0, 0},
     {{4, 144, 116}, {17, 68, 42}, {17, 50, 22}, {19, 46, 16}},
     {{4, 145, 117}, {0, 0, 0}, {6, 51, 23}, {6, 47, 17}}},
    {22, 1258, {1006, 782, 568, 442}, 4, {26, 50, 74, 98, 0, 0},
     {{2, 139, 111}, {17, 74, 46}, {7, 54, 24}, {34, 37, 13}},
     {{7, 140, 112}, {0, 0, 0}, {16, 55, 25}, {0, 0, 0}}},
    {23, 1364, {1094, 860, 614, 464}, 4, {30, 54, 78, 102, 0, 0},
     {{4, 151, 121}, {4, 75, 47}, {11, 54, 24}, {16, 45, 15}},
     {{5, 152, 122}, {14, 76, 48}, {14, 55, 25}, {14, 46, 16}}},
    {24, 1474, {1174, 914, 664, 514}, 4, {28, 54, 80, 106, 0, 0},
     {{6, 147, 117}, {6, 73, 45}, {11, 54, 24}, {30, 46, 16}},
     {{4, 148, 118}, {14, 74, 46}, {16, 55, 25}, {2, 47, 17}}},
    {25, 1588, {1276, 1000, 718, 538}, 4, {32, 58, 84, 110, 0, 0},
     {{8, 132, 106}, {8, 75, 47}, {7, 54, 24}, {22, 45, 15}},
     {{4, 133, 107}, {13, 76, 48}, {22, 55, 25}, {13, 46, 16}}},
    {26, 1706, {1370, 1062, 754, 596}, 4, {30, 58, 86, 114, 0, 0},
     {{10, 142, 114}, {19, 74, 46}, {28, 50, 22}, {33, 46, 16}},
     {{2, 143, 115}, {4, 75, 47}, {6, 51, 23}, {4, 47, 17}}},
    {27, 1828, {1468, 1128, 808, 628}, 4, {34, 62, 90, 118, 0, 0},
     {{8, 152, 122}, {22, 73, 45}, {8, 53, 23}, {12, 45, 15}},
     {{4, 153, 123}, {3, 74, 46}, {26, 54, 24}, {28, 46, 16}}},
    {28, 1921, {1531, 1193, 871, 661}, 5, {26, 50, 74, 98, 122, 0},
     {{3, 147, 117}, {3, 73, 45}, {4, 54, 24}, {11, 45, 15}},
     {{10, 148, 118}, {23, 74, 46}, {31, 55, 25}, {31, 46, 16}}},
    {29, 2051, {1631, 1267, 911, 701}, 5, {30, 54, 78, 102, 126, 0},
     {{7, 146, 116}, {21, 73, 45}, {1, 53, 23}, {19, 45, 15}},
     {{7, 147, 117}, {7, 74, 46}, {37, 54, 24}, {26, 46, 16}}},
    {30, 2185, {1735, 1373, 985, 745}, 5, {26, 52, 78, 104, 130, 0},
     {{5, 145, 115}, {19, 75, 47}, {15, 54, 24}, {23, 45, 15}},
     {{10, 146, 116}, {10, 76, 48}, {25, 55, 25}, {25, 46, 16}}},
    {31, 2323, {1843, 1455, 1033, 793}, 5, {30, 56, 82, 108, 134, 0},
     {{13, 145, 115}, {2, 74, 46}, {42, 54, 24}, {23, 45, 15}},
     {{3, 146, 116}, {29, 75, 47}, {1, 55, 25}, {28, 46, 16}}},
    {32, 2465, {1955, 1541, 1115, 845}, 5, {34, 60, 86, 112, 138, 0},
     {{17, 145, 115}, {10, 74, 46}, {10, 54, 24}, {19, 45, 15}},
     {{0, 0, 0}, {23, 75, 47}, {35, 55, 25}, {35, 46, 16}}},
    {33, 2611, {2071, 1631, 1171, 901}, 5, {30, 58, 86, 114, 142, 0},
     {{17, 145, 115}, {14, 74, 46}, {29, 54, 24}, {11, 45, 15}},
     {{1, 146, 116}, {21, 75, 47}, {19, 55, 25}, {46, 46, 16}}},
    {34, 2761, {2191, 1725, 1231, 961}, 5, {34, 62, 90, 118, 146, 0},
     {{13, 145, 115}, {14, 74, 46}, {44, 54, 24}, {59, 46, 16}},
     {{6, 146, 116}, {23, 75, 47}, {7, 55, 25}, {1, 47, 17}}},
    {35, 2876, {2306, 1812, 1286, 986}, 6, {30, 54, 78, 102, 126, 150},
     {{12, 151, 121}, {12, 75, 47}, {39, 54, 24}, {22, 45, 15}},
     {{7, 152, 122}, {26, 76, 48}, {14, 55, 25}, {41, 46, 16}}},
    {36, 3034, {2434, 1914, 1354, 1054}, 6, {24, 50, 76, 102, 128, 154},
     {{6, 151, 121}, {6, 75, 47}, {46, 54, 24}, {2, 45, 15}},
     {{14, 152, 122}, {34, 76, 48}, {10, 55, 25}, {64, 46, 16}}},
    {37, 3196, {2566, 1992, 1426, 1096}, 6, {28, 54, 80, 106, 132, 158},
     {{17, 152, 122}, {29, 74, 46}, {49, 54, 24}, {24, 45, 15}},
     {{4, 153, 123}, {14, 75, 47}, {10, 55, 25}, {46, 46, 16}}},
    {38, 3362, {2702, 2102, 1502, 1142}, 6, {32, 58, 84, 110, 136, 162},
     {{4, 152, 122}, {13, 74, 46}, {48, 54, 24}, {42, 45, 15}},
     {{18, 153, 123}, {32, 75, 47}, {14, 55, 25}, {32, 46, 16}}},
    {39, 3532, {2812, 2216, 1582, 1222}, 6, {26, 54, 82, 110, 138, 166},
     {{20, 147, 117}, {40, 75, 47}, {43, 54, 24}, {10, 45, 15}},
     {{4, 148, 118}, {7, 76, 48}, {22, 55, 25}, {67, 46, 16}}},
    {40, 3706, {2956, 2334, 1666, 1276}, 6, {30, 58, 86, 114, 142, 170},
     {{19, 148, 118}, {18, 75, 47}, {34, 54, 24}, {20, 45, 15}},
     {{6, 149, 119}, {31, 76, 48}, {34, 55, 25}, {61, 46, 16}}},
};

const int nIndicatorLenNumeral[3] = {10, 12, 14};
const int nIndicatorLenAlphabet[3] = {9, 11, 13};
const int nIndicatorLen8Bit[3] = {8, 16, 16};
const int nIndicatorLenKanji[3] = {8, 10, 12};

namespace {

struct GaloisTables {
    uint8_t exp[256] = {};
    uint8_t log[256] = {};
};

constexpr GaloisTables MakeGalois()
{
    GaloisTables t;
    unsigned v = 1;
    for (int i = 0; i < 255; ++i) {
        t.exp[i] = uint8_t(v);
        t.log[v] = uint8_t(i);
        v <<= 1;
        if (v & 0x100)
            v ^= 0x11D;
    }
    t.exp[255] = 1;
    t.log[0] = 0;
    t.log[1] = 0;
    return t;
}

constexpr GaloisTables kGalois = MakeGalois();

constexpr uint8_t GfMul(uint8_t a, uint8_t b)
{
    if (a == 0 || b == 0)
        return 0;
    return kGalois.exp[(kGalois.log[a] + kGalois.log[b]) % 255];
}

constexpr int kMaxGenerator = 68;

struct GeneratorTables {
    // exps[n][j]: exponent of the coefficient of x^(n-1-j).
    uint8_t exps[kMaxGenerator + 1][kMaxGenerator] = {};
    bool present[kMaxGenerator + 1] = {};
};

constexpr bool GeneratorStored(int n)
{
    return n == 7 || n == 10 || n == 13 || n == 15 || n == 16 || n == 17 || n == 18
        || (n >= 20 && n <= 68 && n % 2 == 0);
}

// g(x) = (x - a^0)(x - a^1)...(x - a^(n-1)).
constexpr GeneratorTables MakeGenerators()
{
    GeneratorTables t;
    for (int n = 1; n <= kMaxGenerator; ++n) {
        if (!GeneratorStored(n))
            continue;
        uint8_t c[kMaxGenerator + 1] = {};  // c[k]: coefficient of x^k
        c[0] = 1;
        for (int i = 0; i < n; ++i) {
            const uint8_t root = kGalois.exp[i];
            // multiply by (x + root)
            for (int k = i + 1; k >= 1; --k)
                c[k] = uint8_t(c[k - 1] ^ GfMul(c[k], root));
            c[0] = GfMul(c[0], root);
        }
        for (int j = 0; j < n; ++j)
            t.exps[n][j] = kGalois.log[c[n - 1 - j]];
        t.present[n] = true;
    }
    return t;
}

constexpr GeneratorTables kGenerators = MakeGenerators();

static_assert(kGenerators.exps[7][0] == 87 && kGenerators.exps[7][1] == 229
              && kGenerators.exps[7][6] == 21, "generator polynomial for 7 EC codewords");

constexpr uint32_t BchRemainder(uint32_t value, uint32_t poly, int polyDegree, int valueBits)
{
    for (int bit = valueBits - 1; bit >= polyDegree; --bit)
        if (value & (1u << bit))
            value ^= poly << (bit - polyDegree);
    return value;
}

struct FormatTables {
    uint16_t format[32] = {};   // index: level bits << 3 | mask
    uint32_t version[41] = {};
};

constexpr FormatTables MakeFormatTables()
{
    FormatTables t;
    for (uint32_t d = 0; d < 32; ++d) {
        const uint32_t v = d << 10;
        t.format[d] = uint16_t((v | BchRemainder(v, 0x537, 10, 15)) ^ 0x5412);
    }
    for (uint32_t ver = 7; ver <= 40; ++ver) {
        const uint32_t v = ver << 12;
        t.version[ver] = v | BchRemainder(v, 0x1F25, 12, 18);
    }
    return t;
}

constexpr FormatTables kFormat = MakeFormatTables();
static_assert(kFormat.format[(1 << 3) | 0] == 0x77C4, "format information of L, mask 0");
static_assert(kFormat.version[7] == 0x07C94, "version information of version 7");

// Level code to its two format bits: L 01, M 00, Q 11, H 10.
constexpr int kLevelBits[4] = {1, 0, 3, 2};

constexpr uint8_t kFinderRows[7] = {0x7F, 0x41, 0x5D, 0x5D, 0x5D, 0x41, 0x7F};
constexpr uint8_t kAlignmentRows[5] = {0x1F, 0x11, 0x15, 0x11, 0x1F};

int VersionGroup(int64_t version)
{
    if (version >= 27)
        return 2;
    if (version >= 10)
        return 1;
    return 0;
}

// Well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsWellFormedUtf8(const unsigned char* s, int64_t n)
{
    int64_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        if (s[i + 1] < lo || s[i + 1] > hi)
            return false;
        for (int k = 2; k <= extra; ++k)
            if (s[i + k] < 0x80 || s[i + k] > 0xBF)
                return false;
        i += extra + 1;
    }
    return true;
}

// Mode indicators.
constexpr uint16_t kModeIndicator[4] = {0x1, 0x2, 0x4, 0x8};

// Mask condition at row i, column j.
inline bool MaskCondition(int mask, int i, int j)
{
    switch (mask) {
    case 0: return ((i + j) & 1) == 0;
    case 1: return (i & 1) == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return (((i / 2) + (j / 3)) & 1) == 0;
    case 5: return ((i * j) % 2) + ((i * j) % 3) == 0;
    case 6: return ((((i * j) % 2) + ((i * j) % 3)) & 1) == 0;
    default: return ((((i * j) % 3) + ((i + j) % 2)) & 1) == 0;
    }
}

// The two modules (x, y) of format bit k (0 least significant).
struct FormatPlaces {
    int x1, y1, x2, y2;
};

FormatPlaces FormatBitPlaces(int size, int k)
{
    FormatPlaces p{};
    if (k <= 5) {
        p.x1 = 8; p.y1 = k;
    } else if (k == 6) {
        p.x1 = 8; p.y1 = 7;
    } else if (k == 7) {
        p.x1 = 8; p.y1 = 8;
    } else if (k == 8) {
        p.x1 = 7; p.y1 = 8;
    } else {
        p.x1 = 14 - k; p.y1 = 8;
    }
    if (k <= 7) {
        p.x2 = size - 1 - k; p.y2 = 8;
    } else {
        p.x2 = 8; p.y2 = size - 15 + k;
    }
    return p;
}

// ---- Penalty on bit lines ----
// A line of modules is 256 bits; module p sits at bit kOff + p, every bit
// outside the line is light, so "light or outside" needs no special case.
constexpr int kOff = 16;

struct Line {
    uint64_t w[4];
};

inline Line And(const Line& a, const Line& b)
{
    return {{a.w[0] & b.w[0], a.w[1] & b.w[1], a.w[2] & b.w[2], a.w[3] & b.w[3]}};
}
inline Line Or(const Line& a, const Line& b)
{
    return {{a.w[0] | b.w[0], a.w[1] | b.w[1], a.w[2] | b.w[2], a.w[3] | b.w[3]}};
}
inline Line Not(const Line& a)
{
    return {{~a.w[0], ~a.w[1], ~a.w[2], ~a.w[3]}};
}
inline Line Xor(const Line& a, const Line& b)
{
    return {{a.w[0] ^ b.w[0], a.w[1] ^ b.w[1], a.w[2] ^ b.w[2], a.w[3] ^ b.w[3]}};
}
// Bit b of the result is bit b + k of a (0 < k < 64).
inline Line Ahead(const Line& a, int k)
{
    return {{(a.w[0] >> k) | (a.w[1] << (64 - k)), (a.w[1] >> k) | (a.w[2] << (64 - k)),
             (a.w[2] >> k) | (a.w[3] << (64 - k)), a.w[3] >> k}};
}
// Bit b of the result is bit b - k of a (0 < k < 64).
inline Line Behind(const Line& a, int k)
{
    return {{a.w[0] << k, (a.w[1] << k) | (a.w[0] >> (64 - k)), (a.w[2] << k) | (a.w[1] >> (64 - k)),
             (a.w[3] << k) | (a.w[2] >> (64 - k))}};
}
// Bits set in a word, without a library call on CPUs lacking a popcount instruction.
inline int Ones(uint64_t v)
{
    v = v - ((v >> 1) & 0x5555555555555555ull);
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((v * 0x0101010101010101ull) >> 56);
}
inline int Count(const Line& a)
{
    return Ones(a.w[0]) + Ones(a.w[1]) + Ones(a.w[2]) + Ones(a.w[3]);
}
inline bool Any(const Line& a)
{
    return (a.w[0] | a.w[1] | a.w[2] | a.w[3]) != 0;
}
inline void SetBit(Line& a, int bit)
{
    a.w[bit >> 6] |= uint64_t(1) << (bit & 63);
}
inline void ClearBit(Line& a, int bit)
{
    a.w[bit >> 6] &= ~(uint64_t(1) << (bit & 63));
}

// Bits kOff .. kOff + count - 1.
Line Range(int count)
{
    Line r{};
    for (int p = 0; p < count; ++p)
        SetBit(r, kOff + p);
    return r;
}

// Runs of five or more (n - 2 each) and finder-like patterns (40 each) of a line.
int64_t LineScore(const Line& d, const Line& valid1)
{
    const Line l = Not(d);
    // eq at p: modules p and p + 1 alike; e5 at p: modules p .. p + 4 alike.
    const Line eq = And(Not(Xor(d, Ahead(d, 1))), valid1);
    const Line e5 = And(And(eq, Ahead(eq, 1)), And(Ahead(eq, 2), Ahead(eq, 3)));
    const Line starts = And(e5, Not(Behind(e5, 1)));
    int64_t score = Count(e5) + 2 * int64_t(Count(starts));

    // dark light dark dark dark light dark, light (or outside) on both sides.
    Line m = And(And(d, Ahead(l, 1)), And(Ahead(d, 2), Ahead(d, 3)));
    m = And(m, And(And(Ahead(d, 4), Ahead(l, 5)), And(Ahead(d, 6), Ahead(l, 7))));
    m = And(m, Behind(l, 1));
    if (Any(m)) {
        const Line left = And(And(Behind(l, 2), Behind(l, 3)), Behind(l, 4));
        const Line right = And(And(Ahead(l, 8), Ahead(l, 9)), Ahead(l, 10));
        score += 40 * int64_t(Count(And(m, Or(left, right))));
    }
    return score;
}

// The four penalty rules over a grid given as its rows and its columns.
int64_t PenaltyOfLines(const Line* rows, const Line* cols, int size)
{
    const Line valid1 = Range(size - 1);
    int64_t score = 0;
    int64_t dark = 0;
    for (int k = 0; k < size; ++k) {
        score += LineScore(rows[k], valid1);
        score += LineScore(cols[k], valid1);
        dark += Count(rows[k]);
    }
    for (int y = 0; y + 1 < size; ++y) {
        const Line& r0 = rows[y];
        const Line& r1 = rows[y + 1];
        const Line same = Not(Xor(r0, r1));
        const Line across = Not(Xor(r0, Ahead(r0, 1)));
        score += 3 * int64_t(Count(And(And(same, Ahead(same, 1)), And(across, valid1))));
    }
    const int64_t total = int64_t(size) * size;
    const int64_t pct = (100 * (total - dark)) / total;
    const int64_t diff = pct > 50 ? pct - 50 : 50 - pct;
    return score + (diff / 5) * 10;
}

// Mask conditions as bit lines, by rows (bit: column) and by columns (bit: row).
struct MaskLineTables {
    Line rows[8][MAX_MODULESIZE];
    Line cols[8][MAX_MODULESIZE];
};

const MaskLineTables& MaskLines()
{
    static const MaskLineTables tables = [] {
        MaskLineTables t{};
        for (int k = 0; k < 8; ++k)
            for (int i = 0; i < MAX_MODULESIZE; ++i)
                for (int j = 0; j < MAX_MODULESIZE; ++j)
                    if (MaskCondition(k, i, j)) {
                        SetBit(t.rows[k][i], kOff + j);
                        SetBit(t.cols[k][j], kOff + i);
                    }
        return t;
    }();
    return tables;
}

} // namespace

// The 256 entries of a table of kGalois, eight to a row.
#define QR_ROW(t, i) t[i], t[i + 1], t[i + 2], t[i + 3], t[i + 4], t[i + 5], t[i + 6], t[i + 7]
#define QR_TABLE(t)                                                                                     \
    QR_ROW(t, 0), QR_ROW(t, 8), QR_ROW(t, 16), QR_ROW(t, 24), QR_ROW(t, 32), QR_ROW(t, 40), QR_ROW(t, 48), \
    QR_ROW(t, 56), QR_ROW(t, 64), QR_ROW(t, 72), QR_ROW(t, 80), QR_ROW(t, 88), QR_ROW(t, 96),             \
    QR_ROW(t, 104), QR_ROW(t, 112), QR_ROW(t, 120), QR_ROW(t, 128), QR_ROW(t, 136), QR_ROW(t, 144),       \
    QR_ROW(t, 152), QR_ROW(t, 160), QR_ROW(t, 168), QR_ROW(t, 176), QR_ROW(t, 184), QR_ROW(t, 192),       \
    QR_ROW(t, 200), QR_ROW(t, 208), QR_ROW(t, 216), QR_ROW(t, 224), QR_ROW(t, 232), QR_ROW(t, 240),       \
    QR_ROW(t, 248)

const uint8_t byExpToInt[256] = {QR_TABLE(kGalois.exp)};
const uint8_t byIntToExp[256] = {QR_TABLE(kGalois.log)};

#undef QR_TABLE
#undef QR_ROW

const uint8_t* RSGeneratorExponents(int n)
{
    if (n < 1 || n > kMaxGenerator || !kGenerators.present[n])
        return nullptr;
    return kGenerators.exps[n];
}

uint16_t FormatInfoBits(int levelCode, int mask)
{
    if (levelCode < 0 || levelCode > 3 || mask < 0 || mask > 7)
        return 0;
    return kFormat.format[(kLevelBits[levelCode] << 3) | mask];
}

uint32_t VersionInfoBits(int version)
{
    if (version < 7 || version > 40)
        return 0;
    return kFormat.version[version];
}

// ---------------------------------------------------------------------------
// Encoder
// ---------------------------------------------------------------------------

CQR_Encode::CQR_Encode()
{
    std::memset(m_byModuleData, 0, sizeof m_byModuleData);
    std::memset(m_byDataCodeWord, 0, sizeof m_byDataCodeWord);
    std::memset(m_byBlockMode, 0, sizeof m_byBlockMode);
    std::memset(m_nBlockLength, 0, sizeof m_nBlockLength);
    std::memset(m_byAllCodeWord, 0, sizeof m_byAllCodeWord);
    std::memset(m_byRSWork, 0, sizeof m_byRSWork);
}

bool CQR_Encode::EncodeData(int64_t nLevel, int64_t nVersion, bool bAutoExtent, int64_t nMaskingNo,
                            const char* lpsSource, int64_t ncSource)
{
    if (nLevel < QR_LEVEL_L || nLevel > QR_LEVEL_H || nVersion < -1 || nVersion > 40
        || nMaskingNo < -1 || nMaskingNo > 7 || lpsSource == nullptr)
        return false;

    m_nLevel = nLevel;
    m_nVersion_pass = nVersion;
    m_bAutoExtent = bAutoExtent ? 1 : 0;
    m_nMaskingNo = nMaskingNo;

    const int64_t ncLength = ncSource > 0 ? ncSource : int64_t(std::strlen(lpsSource));
    if (ncLength == 0)
        return false;

    const int64_t nEncodeVersion = GetEncodeVersion(nVersion, lpsSource, ncLength);
    if (nEncodeVersion == 0)
        return false;
    if (nVersion <= 0) {
        m_nVersion = nEncodeVersion;
    } else {
        if (nEncodeVersion > nVersion && !bAutoExtent)
            return false;
        m_nVersion = nEncodeVersion > nVersion ? nEncodeVersion : nVersion;
    }

    const QR_VERSIONINFO& info = QR_VersonInfo[m_nVersion];
    const int64_t ncDataCodeWord = info.ncDataCodeWord[m_nLevel];

    // Terminator: up to four zero bits.
    const int64_t ncTerminator = min(4, ncDataCodeWord * 8 - m_ncDataCodeWordBit);
    if (ncTerminator > 0)
        m_ncDataCodeWordBit = SetBitStream(m_ncDataCodeWordBit, 0, ncTerminator);
    if (m_ncDataCodeWordBit < 0)
        return false;

    // Pad codewords.
    uint8_t byPaddingCode = 0xEC;
    for (int64_t i = (m_ncDataCodeWordBit + 7) / 8; i < ncDataCodeWord; ++i) {
        m_byDataCodeWord[i] = byPaddingCode;
        byPaddingCode = byPaddingCode == 0xEC ? 0x11 : 0xEC;
    }

    // Interleave the data codewords.
    m_ncAllCodeWord = info.ncAllCodeWord;
    std::memset(m_byAllCodeWord, 0, sizeof m_byAllCodeWord);

    const RS_BLOCKINFO& g1 = info.RS_BlockInfo1[m_nLevel];
    const RS_BLOCKINFO& g2 = info.RS_BlockInfo2[m_nLevel];
    const int64_t ncBlock1 = g1.ncRSBlock;
    const int64_t ncBlock2 = g2.ncRSBlock;
    const int64_t ncBlockSum = ncBlock1 + ncBlock2;
    const int64_t ncDataCw1 = g1.ncDataCodeWord;
    const int64_t ncDataCw2 = g2.ncDataCodeWord;

    int64_t nDataCwIndex = 0;
    for (int64_t b = 0; b < ncBlock1; ++b)
        for (int64_t k = 0; k < ncDataCw1; ++k)
            m_byAllCodeWord[k * ncBlockSum + b] = m_byDataCodeWord[nDataCwIndex++];
    for (int64_t b = 0; b < ncBlock2; ++b) {
        for (int64_t k = 0; k < ncDataCw2; ++k) {
            if (k < ncDataCw1)
                m_byAllCodeWord[k * ncBlockSum + ncBlock1 + b] = m_byDataCodeWord[nDataCwIndex++];
            else
                m_byAllCodeWord[ncDataCw1 * ncBlockSum + b] = m_byDataCodeWord[nDataCwIndex++];
        }
    }

    // Reed-Solomon codewords of every block.
    const int64_t ncRSCw1 = g1.ncAllCodeWord - g1.ncDataCodeWord;
    nDataCwIndex = 0;
    for (int64_t b = 0; b < ncBlockSum; ++b) {
        const bool second = b >= ncBlock1;
        const int64_t ncData = second ? ncDataCw2 : ncDataCw1;
        const int64_t ncRS = ncRSCw1;  // the same in both groups
        std::memset(m_byRSWork, 0, sizeof m_byRSWork);
        std::memcpy(m_byRSWork, m_byDataCodeWord + nDataCwIndex, size_t(ncData));
        GetRSCodeWord(m_byRSWork, ncData, ncRS);
        for (int64_t k = 0; k < ncRS; ++k)
            m_byAllCodeWord[ncDataCodeWord + k * ncBlockSum + b] = m_byRSWork[k];
        nDataCwIndex += ncData;
    }

    m_nSymbleSize = m_nVersion * 4 + 17;
    FormatModule();
    return true;
}

int64_t CQR_Encode::GetEncodeVersion(int64_t nVersion, const char* lpsSource, int64_t ncLength)
{
    if (m_nLevel < QR_LEVEL_L || m_nLevel > QR_LEVEL_H)
        return 0;
    const int nStartGroup = VersionGroup(nVersion);
    static constexpr int kGroupFirst[3] = {1, 10, 27};
    static constexpr int kGroupLast[3] = {9, 26, 40};
    for (int g = nStartGroup; g < 3; ++g) {
        if (!EncodeSourceData(lpsSource, ncLength, g))
            continue;
        const int64_t ncNeeded = (m_ncDataCodeWordBit + 7) / 8;
        for (int v = kGroupFirst[g]; v <= kGroupLast[g]; ++v)
            if (QR_VersonInfo[v].ncDataCodeWord[m_nLevel] >= ncNeeded)
                return v;
    }
    return 0;
}

void CQR_Encode::AbsorbSegment(int64_t into, int64_t from)
{
    m_nBlockLength[into] += m_nBlockLength[from];
    const int64_t tail = m_ncDataBlock - from - 1;
    if (tail > 0) {
        std::memmove(m_byBlockMode + from, m_byBlockMode + from + 1, size_t(tail));
        std::memmove(m_nBlockLength + from, m_nBlockLength + from + 1, size_t(tail) * sizeof(int64_t));
    }
    --m_ncDataBlock;
}

bool CQR_Encode::EncodeSourceData(const char* lpsSource, int64_t ncLength, int64_t nVerGroup)
{
    std::memset(m_byDataCodeWord, 0, sizeof m_byDataCodeWord);
    m_ncDataCodeWordBit = 0;
    m_ncDataBlock = 0;
    if (lpsSource == nullptr || ncLength <= 0 || nVerGroup < 0 || nVerGroup > 2)
        return false;

    // Digits are the densest input (10 bits for three): 7089 of them fill
    // version 40-L, so anything longer never fits.
    if (ncLength > MAX_SOURCE_LENGTH) {
        m_ncDataCodeWordBit = -1;
        return false;
    }

    const auto* src = reinterpret_cast<const unsigned char*>(lpsSource);
    // Text that reads as UTF-8 is never taken for Shift JIS Kanji pairs.
    m_bKanjiAllowed = !IsWellFormedUtf8(src, ncLength);

    // 1. Runs of one class.
    int64_t i = 0;
    while (i < ncLength) {
        uint8_t mode;
        int64_t step = 1;
        if (m_bKanjiAllowed && i + 1 < ncLength && IsKanjiData(src[i], src[i + 1])) {
            mode = QR_MODE_KANJI;
            step = 2;
        } else if (IsNumeralData(src[i])) {
            mode = QR_MODE_NUMERAL;
        } else if (IsAlphabetData(src[i])) {
            mode = QR_MODE_ALPHABET;
        } else {
            mode = QR_MODE_8BIT;
        }
        if (m_ncDataBlock > 0 && m_byBlockMode[m_ncDataBlock - 1] == mode) {
            m_nBlockLength[m_ncDataBlock - 1] += step;
        } else {
            // More segments than the table holds never fit any version.
            if (m_ncDataBlock >= MAX_DATACODEWORD) {
                m_ncDataCodeWordBit = -1;
                m_ncDataBlock = 0;
                return false;
            }
            m_byBlockMode[m_ncDataBlock] = mode;
            m_nBlockLength[m_ncDataBlock] = step;
            ++m_ncDataBlock;
        }
        i += step;
    }

    auto bits = [&](int64_t seg) { return GetBitLength(m_byBlockMode[seg], m_nBlockLength[seg], nVerGroup); };

    // 2. Numeric and alphanumeric neighbours.
    i = 0;
    while (i < m_ncDataBlock - 1) {
        const uint8_t m0 = m_byBlockMode[i], m1 = m_byBlockMode[i + 1];
        const bool pair = (m0 == QR_MODE_NUMERAL && m1 == QR_MODE_ALPHABET)
                       || (m0 == QR_MODE_ALPHABET && m1 == QR_MODE_NUMERAL);
        if (!pair) {
            ++i;
            continue;
        }
        const int64_t ncSrcBits = bits(i) + bits(i + 1);
        const int64_t ncDstBits = GetBitLength(QR_MODE_ALPHABET, m_nBlockLength[i] + m_nBlockLength[i + 1], nVerGroup);
        if (ncSrcBits <= ncDstBits) {
            ++i;
            continue;
        }
        int64_t ncJoinFront = -1, ncJoinBehind = -1;
        if (i >= 1 && m_byBlockMode[i - 1] == QR_MODE_8BIT) {
            ncJoinFront = GetBitLength(QR_MODE_8BIT, m_nBlockLength[i - 1] + m_nBlockLength[i], nVerGroup) + bits(i + 1);
            if (ncJoinFront > ncDstBits + GetBitLength(QR_MODE_8BIT, m_nBlockLength[i - 1], nVerGroup))
                ncJoinFront = -1;
        }
        if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_8BIT) {
            ncJoinBehind = bits(i) + GetBitLength(QR_MODE_8BIT, m_nBlockLength[i + 1] + m_nBlockLength[i + 2], nVerGroup);
            if (ncJoinBehind > ncDstBits + GetBitLength(QR_MODE_8BIT, m_nBlockLength[i + 2], nVerGroup))
                ncJoinBehind = -1;
        }
        bool front = false, behind = false;
        if (ncJoinFront >= 0 && ncJoinBehind >= 0)
            (ncJoinFront < ncJoinBehind ? front : behind) = true;
        else if (ncJoinFront >= 0)
            front = true;
        else if (ncJoinBehind >= 0)
            behind = true;

        if (front) {
            AbsorbSegment(i - 1, i);
        } else if (behind) {
            m_byBlockMode[i + 1] = QR_MODE_8BIT;
            AbsorbSegment(i + 1, i + 2);
        } else {
            if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_ALPHABET)
                AbsorbSegment(i + 1, i + 2);
            m_byBlockMode[i] = QR_MODE_ALPHABET;
            AbsorbSegment(i, i + 1);
            if (i >= 1 && m_byBlockMode[i - 1] == QR_MODE_ALPHABET)
                AbsorbSegment(i - 1, i);
        }
    }

    // 3. 8-bit merging.
    const int64_t nByteHeader = 4 + nIndicatorLen8Bit[nVerGroup];
    i = 0;
    while (i < m_ncDataBlock - 1) {
        const int64_t ncSrcBits = bits(i) + bits(i + 1);
        int64_t ncDstBits = GetBitLength(QR_MODE_8BIT, m_nBlockLength[i] + m_nBlockLength[i + 1], nVerGroup);
        if (i >= 1 && m_byBlockMode[i - 1] == QR_MODE_8BIT)
            ncDstBits -= nByteHeader;
        if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_8BIT)
            ncDstBits -= nByteHeader;
        if (ncSrcBits <= ncDstBits) {
            ++i;
            continue;
        }
        if (i >= 1 && m_byBlockMode[i - 1] == QR_MODE_8BIT) {
            AbsorbSegment(i - 1, i);
            --i;
        }
        if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_8BIT)
            AbsorbSegment(i + 1, i + 2);
        m_byBlockMode[i] = QR_MODE_8BIT;
        AbsorbSegment(i, i + 1);
        if (i > 0)
            --i;
    }

    // 4. The bit stream.
    int64_t nPos = 0;
    int64_t nSrc = 0;
    for (int64_t seg = 0; seg < m_ncDataBlock && nPos != -1; ++seg) {
        const uint8_t mode = m_byBlockMode[seg];
        const int64_t len = m_nBlockLength[seg];
        int width;
        int64_t count;
        switch (mode) {
        case QR_MODE_NUMERAL: width = nIndicatorLenNumeral[nVerGroup]; count = len; break;
        case QR_MODE_ALPHABET: width = nIndicatorLenAlphabet[nVerGroup]; count = len; break;
        case QR_MODE_8BIT: width = nIndicatorLen8Bit[nVerGroup]; count = len; break;
        default: width = nIndicatorLenKanji[nVerGroup]; count = len / 2; break;
        }
        // A count that its indicator cannot hold would be read back wrong:
        // this version group cannot carry the segment.
        if (count >= (int64_t(1) << width)) {
            nPos = -1;
            break;
        }
        nPos = SetBitStream(nPos, kModeIndicator[mode], 4);
        nPos = SetBitStream(nPos, uint16_t(count), width);
        const unsigned char* p = src + nSrc;
        switch (mode) {
        case QR_MODE_NUMERAL: {
            int64_t k = 0;
            for (; k + 3 <= len && nPos != -1; k += 3)
                nPos = SetBitStream(nPos, uint16_t((p[k] - '0') * 100 + (p[k + 1] - '0') * 10 + (p[k + 2] - '0')), 10);
            if (len - k == 2)
                nPos = SetBitStream(nPos, uint16_t((p[k] - '0') * 10 + (p[k + 1] - '0')), 7);
            else if (len - k == 1)
                nPos = SetBitStream(nPos, uint16_t(p[k] - '0'), 4);
            break;
        }
        case QR_MODE_ALPHABET: {
            int64_t k = 0;
            for (; k + 2 <= len && nPos != -1; k += 2)
                nPos = SetBitStream(nPos, uint16_t(AlphabetToBinaly(p[k]) * 45 + AlphabetToBinaly(p[k + 1])), 11);
            if (len - k == 1)
                nPos = SetBitStream(nPos, AlphabetToBinaly(p[k]), 6);
            break;
        }
        case QR_MODE_8BIT:
            for (int64_t k = 0; k < len && nPos != -1; ++k)
                nPos = SetBitStream(nPos, p[k], 8);
            break;
        default:
            for (int64_t k = 0; k + 1 < len && nPos != -1; k += 2)
                nPos = SetBitStream(nPos, KanjiToBinaly(uint16_t((p[k] << 8) | p[k + 1])), 13);
            break;
        }
        nSrc += len;
    }
    m_ncDataCodeWordBit = nPos;
    return nPos != -1;
}

int64_t CQR_Encode::GetBitLength(uint8_t nMode, int64_t ncData, int64_t nVerGroup) const
{
    if (nVerGroup < 0 || nVerGroup > 2)
        return 0;
    switch (nMode) {
    case QR_MODE_NUMERAL: {
        int64_t n = 4 + nIndicatorLenNumeral[nVerGroup] + 10 * (ncData / 3);
        if (ncData % 3 == 1)
            n += 4;
        else if (ncData % 3 == 2)
            n += 7;
        return n;
    }
    case QR_MODE_ALPHABET:
        return 4 + nIndicatorLenAlphabet[nVerGroup] + 11 * (ncData / 2) + 6 * (ncData % 2);
    case QR_MODE_8BIT:
        return 4 + nIndicatorLen8Bit[nVerGroup] + 8 * ncData;
    default:
        return 4 + nIndicatorLenKanji[nVerGroup] + 13 * (ncData / 2);
    }
}

int64_t CQR_Encode::SetBitStream(int64_t nIndex, uint16_t wData, int64_t ncData)
{
    if (nIndex < 0 || ncData < 0 || ncData > 16 || nIndex + ncData > MAX_DATABITS)
        return -1;
    int64_t pos = nIndex;
    int remaining = int(ncData);
    while (remaining > 0) {
        const int room = 8 - int(pos % 8);
        const int take = remaining < room ? remaining : room;
        const unsigned chunk = (unsigned(wData) >> (remaining - take)) & ((1u << take) - 1u);
        m_byDataCodeWord[pos / 8] |= uint8_t(chunk << (room - take));
        pos += take;
        remaining -= take;
    }
    return pos;
}

bool CQR_Encode::IsNumeralData(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool CQR_Encode::IsAlphabetData(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return true;
    if (c >= 'A' && c <= 'Z')
        return true;
    return c == ' ' || c == '$' || c == '%' || c == '*' || c == '+' || c == '-' || c == '.'
        || c == '/' || c == ':';
}

bool CQR_Encode::IsKanjiData(unsigned char c1, unsigned char c2)
{
    if (((c1 >= 0x81 && c1 <= 0x9F) || (c1 >= 0xE0 && c1 <= 0xEB)) && c2 >= 0x40) {
        if ((c1 == 0x9F && c2 > 0xFC) || (c1 == 0xEB && c2 > 0xBF))
            return false;
        return true;
    }
    return false;
}

uint8_t CQR_Encode::AlphabetToBinaly(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return uint8_t(c - '0');
    if (c >= 'A' && c <= 'Z')
        return uint8_t(c - 'A' + 10);
    switch (c) {
    case ' ': return 36;
    case '$': return 37;
    case '%': return 38;
    case '*': return 39;
    case '+': return 40;
    case '-': return 41;
    case '.': return 42;
    case '/': return 43;
    default: return 44;  // ':'
    }
}

uint16_t CQR_Encode::KanjiToBinaly(uint16_t wc)
{
    if (wc >= 0x8140 && wc <= 0x9FFC)
        wc = uint16_t(wc - 0x8140);
    else
        wc = uint16_t(wc - 0xC140);
    return uint16_t(((wc >> 8) * 0xC0) + (wc & 0xFF));
}

void CQR_Encode::GetRSCodeWord(uint8_t* lpbyRSWork, int64_t ncDataCodeWord, int64_t ncRSCodeWord)
{
    const uint8_t* gen = RSGeneratorExponents(int(ncRSCodeWord));
    if (gen == nullptr || ncDataCodeWord < 0 || ncDataCodeWord + ncRSCodeWord > MAX_CODEBLOCK)
        return;
    // Polynomial division by the generator, remainder kept in a shift register.
    uint8_t rem[kMaxGenerator] = {};
    const int n = int(ncRSCodeWord);
    for (int64_t i = 0; i < ncDataCodeWord; ++i) {
        const uint8_t factor = uint8_t(lpbyRSWork[i] ^ rem[0]);
        std::memmove(rem, rem + 1, size_t(n - 1));
        rem[n - 1] = 0;
        if (factor != 0) {
            const int e = kGalois.log[factor];
            for (int j = 0; j < n; ++j) {
                int s = gen[j] + e;
                if (s >= 255)
                    s -= 255;
                rem[j] ^= kGalois.exp[s];
            }
        }
    }
    std::memset(lpbyRSWork, 0, size_t(ncDataCodeWord + ncRSCodeWord));
    std::memcpy(lpbyRSWork, rem, size_t(n));
}

// ---------------------------------------------------------------------------
// Module grid
// ---------------------------------------------------------------------------

void CQR_Encode::FormatModule()
{
    std::memset(m_byModuleData, 0, sizeof m_byModuleData);
    SetFunctionModule();
    SetCodeWordPattern();

    const int size = int(m_nSymbleSize);
    if (m_nMaskingNo == -1) {
        // The grid as bit lines: function modules, their dark ones, data bits.
        Line fnRow[MAX_MODULESIZE] = {}, fnCol[MAX_MODULESIZE] = {};
        Line fdRow[MAX_MODULESIZE] = {}, fdCol[MAX_MODULESIZE] = {};
        Line dbRow[MAX_MODULESIZE] = {}, dbCol[MAX_MODULESIZE] = {};
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                const uint8_t v = m_byModuleData[x][y];
                if (v & 0x20) {
                    SetBit(fnRow[y], kOff + x);
                    SetBit(fnCol[x], kOff + y);
                    if (v & 0x10) {
                        SetBit(fdRow[y], kOff + x);
                        SetBit(fdCol[x], kOff + y);
                    }
                } else if (v & 0x02) {
                    SetBit(dbRow[y], kOff + x);
                    SetBit(dbCol[x], kOff + y);
                }
            }
        }
        const Line valid = Range(size);
        const MaskLineTables& masks = MaskLines();
        Line rows[MAX_MODULESIZE], cols[MAX_MODULESIZE];
        int64_t nMinPenalty = -1;
        for (int k = 0; k < 8; ++k) {
            for (int n = 0; n < size; ++n) {
                rows[n] = And(Or(fdRow[n], And(Not(fnRow[n]), Xor(dbRow[n], masks.rows[k][n]))), valid);
                cols[n] = And(Or(fdCol[n], And(Not(fnCol[n]), Xor(dbCol[n], masks.cols[k][n]))), valid);
            }
            // Format information of this mask.
            const uint16_t format = FormatInfoBits(int(m_nLevel), k);
            for (int b = 0; b < 15; ++b) {
                const FormatPlaces pl = FormatBitPlaces(size, b);
                const bool dark = format & (1u << b);
                for (int c = 0; c < 2; ++c) {
                    const int x = c == 0 ? pl.x1 : pl.x2;
                    const int y = c == 0 ? pl.y1 : pl.y2;
                    if (dark) {
                        SetBit(rows[y], kOff + x);
                        SetBit(cols[x], kOff + y);
                    } else {
                        ClearBit(rows[y], kOff + x);
                        ClearBit(cols[x], kOff + y);
                    }
                }
            }
            SetBit(rows[size - 8], kOff + 8);
            SetBit(cols[8], kOff + size - 8);

            const int64_t nPenalty = PenaltyOfLines(rows, cols, size);
            if (nMinPenalty < 0 || nPenalty < nMinPenalty) {
                nMinPenalty = nPenalty;
                m_nMaskingNo = k;
            }
        }
    }
    SetMaskingPattern(m_nMaskingNo);
    SetFormatInfoPattern(m_nMaskingNo);

    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y)
            m_byModuleData[x][y] = (m_byModuleData[x][y] & 0x11) ? 1 : 0;
}
void CQR_Encode::SetFunctionModule()
{
    const int size = int(m_nSymbleSize);

    SetFinderPattern(0, 0);
    SetFinderPattern(size - 7, 0);
    SetFinderPattern(0, size - 7);

    for (int i = 0; i < 8; ++i) {
        m_byModuleData[i][7] = m_byModuleData[7][i] = 0x20;
        m_byModuleData[size - 8][i] = m_byModuleData[size - 8 + i][7] = 0x20;
        m_byModuleData[i][size - 8] = m_byModuleData[7][size - 8 + i] = 0x20;
    }

    for (int i = 0; i < 9; ++i)
        m_byModuleData[i][8] = m_byModuleData[8][i] = 0x20;
    for (int i = 0; i < 8; ++i)
        m_byModuleData[size - 8 + i][8] = m_byModuleData[8][size - 8 + i] = 0x20;

    SetVersionPattern();

    const QR_VERSIONINFO& info = QR_VersonInfo[m_nVersion];
    for (int i = 0; i < info.ncAlignPoint; ++i) {
        const int a = info.nAlignPoint[i];
        SetAlignmentPattern(a, 6);
        SetAlignmentPattern(6, a);
        for (int j = 0; j < info.ncAlignPoint; ++j)
            SetAlignmentPattern(a, info.nAlignPoint[j]);
    }

    for (int i = 8; i <= size - 9; ++i) {
        m_byModuleData[i][6] = (i % 2) == 0 ? 0x30 : 0x20;
        m_byModuleData[6][i] = (i % 2) == 0 ? 0x30 : 0x20;
    }
}

void CQR_Encode::SetFinderPattern(int x, int y)
{
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            m_byModuleData[x + j][y + i] = (kFinderRows[i] & (1 << (6 - j))) ? 0x30 : 0x20;
}

void CQR_Encode::SetAlignmentPattern(int x, int y)
{
    if (m_byModuleData[x][y] & 0x20)
        return;
    x -= 2;
    y -= 2;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            m_byModuleData[x + j][y + i] = (kAlignmentRows[i] & (1 << (4 - j))) ? 0x30 : 0x20;
}

void CQR_Encode::SetVersionPattern()
{
    if (m_nVersion <= 6)
        return;
    const uint32_t nVerData = VersionInfoBits(int(m_nVersion));
    const int size = int(m_nSymbleSize);
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 3; ++j) {
            const uint8_t v = (nVerData & (1u << (i * 3 + j))) ? 0x30 : 0x20;
            m_byModuleData[i][size - 11 + j] = v;
            m_byModuleData[size - 11 + j][i] = v;
        }
    }
}

void CQR_Encode::SetCodeWordPattern()
{
    const int size = int(m_nSymbleSize);
    int x = size;
    int y = size - 1;
    int nCoef_x = 1;
    int nCoef_y = 1;
    for (int64_t i = 0; i < m_ncAllCodeWord; ++i) {
        for (int j = 0; j < 8; ++j) {
            do {
                x += nCoef_x;
                nCoef_x = -nCoef_x;
                if (nCoef_x < 0) {
                    y += nCoef_y;
                    if (y < 0 || y == size) {
                        y = (y < 0) ? 0 : size - 1;
                        nCoef_y = -nCoef_y;
                        x -= 2;
                        if (x == 6)
                            --x;
                    }
                }
                if (x < 0)
                    return;  // the path left the grid: nothing more fits
            } while (m_byModuleData[x][y] & 0x20);
            m_byModuleData[x][y] = (m_byAllCodeWord[i] & (1 << (7 - j))) ? 0x02 : 0x00;
        }
    }
}

void CQR_Encode::SetMaskingPattern(int64_t nPatternNo)
{
    const int size = int(m_nSymbleSize);
    const int mask = int(nPatternNo);
    for (int j = 0; j < size; ++j) {      // column
        uint8_t* col = m_byModuleData[j];
        for (int i = 0; i < size; ++i) {  // row
            const uint8_t v = col[i];
            if (v & 0x20)
                continue;
            const uint8_t cond = MaskCondition(mask, i, j) ? 1 : 0;
            col[i] = uint8_t((v & 0xFE) | (((v & 0x02) >> 1) ^ cond));
        }
    }
}

void CQR_Encode::SetFormatInfoPattern(int64_t nPatternNo)
{
    const int size = int(m_nSymbleSize);
    const uint16_t nFormatData = FormatInfoBits(int(m_nLevel), int(nPatternNo));
    for (int k = 0; k < 15; ++k) {
        const uint8_t v = (nFormatData & (1u << k)) ? 0x30 : 0x20;
        const FormatPlaces places = FormatBitPlaces(size, k);
        m_byModuleData[places.x1][places.y1] = v;
        m_byModuleData[places.x2][places.y2] = v;
    }
    m_byModuleData[8][size - 8] = 0x30;
}

int64_t CQR_Encode::CountPenalty()
{
    const int size = int(m_nSymbleSize);
    if (size <= 0 || size > MAX_MODULESIZE)
        return 0;
    Line rows[MAX_MODULESIZE] = {}, cols[MAX_MODULESIZE] = {};
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y)
            if (m_byModuleData[x][y] & 0x11) {
                SetBit(rows[y], kOff + x);
                SetBit(cols[x], kOff + y);
            }
    return PenaltyOfLines(rows, cols, size);
}

uint8_t CQR_Encode::Get_Encoding_Mode(const char* lpsSource, int64_t ncLength)
{
    if (lpsSource == nullptr)
        return QR_MODE_8BIT;
    if (ncLength < 1)
        ncLength = int64_t(std::strlen(lpsSource));
    bool numeric = ncLength > 0, alpha = ncLength > 0;
    for (int64_t i = 0; i < ncLength; ++i) {
        const auto c = static_cast<unsigned char>(lpsSource[i]);
        numeric = numeric && IsNumeralData(c);
        alpha = alpha && IsAlphabetData(c);
    }
    if (numeric)
        return QR_MODE_NUMERAL;
    if (alpha)
        return QR_MODE_ALPHABET;
    return QR_MODE_8BIT;
}

} // namespace qr
