#pragma once
// Fixed tables of the PDF417 symbology: codeword patterns, text sub-mode
// sets, start and stop patterns, and the Reed-Solomon generator coefficients
// of the nine error-correction levels (computed at compile time).
#include <array>

namespace pdf417 {

constexpr int START_PATTERN = 0x1FEA8;   // 17 modules
constexpr int STOP_PATTERN = 0x3FA29;    // 18 modules
constexpr int PDF417_MOD = 929;

extern const int CLUSTERS[3][929];
extern const char MIXED_SET[26];         // 25 characters, values 0-24
extern const char PUNCTUATION_SET[30];   // 29 characters, values 0-28

// Level L has 2 << L coefficients; they are stored one level after the other.
constexpr int errorLevelOffset(int level) { return (2 << level) - 2; }
constexpr int ERROR_LEVEL_TOTAL = errorLevelOffset(9);   // 1022

// Coefficients a_0 .. a_{k-1} of the generator (x - 3)(x - 3^2)...(x - 3^k)
// without its leading 1, modulo 929, for every level.
constexpr std::array<int, ERROR_LEVEL_TOTAL> makeErrorLevels()
{
    std::array<int, ERROR_LEVEL_TOTAL> all{};
    for (int level = 0; level < 9; ++level) {
        const int k = 2 << level;
        std::array<int, 513> g{};   // g[i] = coefficient of x^i
        g[0] = 1;
        int root = 1;
        for (int n = 1; n <= k; ++n) {
            root = root * 3 % PDF417_MOD;
            // multiply by (x - root)
            for (int i = n; i >= 1; --i)
                g[i] = (g[i - 1] + PDF417_MOD - g[i] * root % PDF417_MOD) % PDF417_MOD;
            g[0] = (PDF417_MOD - g[0] * root % PDF417_MOD) % PDF417_MOD;
        }
        for (int i = 0; i < k; ++i)
            all[errorLevelOffset(level) + i] = g[i];
    }
    return all;
}

inline constexpr std::array<int, ERROR_LEVEL_TOTAL> ERROR_LEVEL_COEFFS = makeErrorLevels();

// The coefficients of one level (2 << level of them).
constexpr const int* ERROR_LEVEL(int level) { return ERROR_LEVEL_COEFFS.data() + errorLevelOffset(level); }

// Values of the standard's table, checked when this header is compiled.
static_assert(ERROR_LEVEL_COEFFS[errorLevelOffset(0) + 0] == 27 && ERROR_LEVEL_COEFFS[errorLevelOffset(0) + 1] == 917);
static_assert(ERROR_LEVEL_COEFFS[errorLevelOffset(1) + 0] == 522 && ERROR_LEVEL_COEFFS[errorLevelOffset(1) + 3] == 809);

} // namespace pdf417
