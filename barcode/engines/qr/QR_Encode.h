#pragma once
// QR Code (model 2) encoder.
//
// Plain procedural code on fixed buffers sized for the largest symbol
// (version 40: 177 modules a side, 2956 data codewords, 3706 codewords in
// all). One object encodes one symbol: EncodeData() splits the bytes into mode
// segments, picks the smallest version that holds them at the chosen
// error-correction level, adds terminator, pad and Reed-Solomon codewords,
// interleaves the blocks, lays out the function patterns and the data and
// picks a mask by penalty. Failures are reported by a false result only.
#include <cstdint>

namespace qr {

constexpr int MAX_MODULESIZE = 177;        // modules a side at version 40
constexpr int MAX_DATACODEWORD = 2956;     // data codewords at version 40-L
constexpr int MAX_ALLCODEWORD = 3706;      // all codewords at version 40
constexpr int MAX_CODEBLOCK = 153;         // largest block, data plus EC
constexpr int MAX_DATABITS = MAX_DATACODEWORD * 8;
constexpr int64_t MAX_SOURCE_LENGTH = 7089;  // digits at version 40-L

// Error-correction levels.
enum : int64_t { QR_LEVEL_L = 0, QR_LEVEL_M = 1, QR_LEVEL_Q = 2, QR_LEVEL_H = 3 };

// Segment modes.
enum : uint8_t { QR_MODE_NUMERAL = 0, QR_MODE_ALPHABET = 1, QR_MODE_8BIT = 2, QR_MODE_KANJI = 3 };

struct RS_BLOCKINFO {
    int ncRSBlock;       // number of blocks in the group
    int ncAllCodeWord;   // codewords a block
    int ncDataCodeWord;  // data codewords a block
};

struct QR_VERSIONINFO {
    int nVersionNo;
    int ncAllCodeWord;
    int ncDataCodeWord[4];        // by level L, M, Q, H
    int ncAlignPoint;             // alignment coordinates besides 6
    int nAlignPoint[6];           // ascending
    RS_BLOCKINFO RS_BlockInfo1[4];  // by level: the shorter blocks
    RS_BLOCKINFO RS_BlockInfo2[4];  // by level: the longer blocks, or all zero
};

// Version table, record 0 all zero.
extern const QR_VERSIONINFO QR_VersonInfo[41];

// Character-count indicator widths by version group (1-9, 10-26, 27-40).
extern const int nIndicatorLenNumeral[3];
extern const int nIndicatorLenAlphabet[3];
extern const int nIndicatorLen8Bit[3];
extern const int nIndicatorLenKanji[3];

// GF(256) over x^8 + x^4 + x^3 + x^2 + 1.
extern const uint8_t byExpToInt[256];   // alpha^i, entry 255 is 1
extern const uint8_t byIntToExp[256];   // logarithm, entries 0 and 1 are 0

// Exponents of the generator polynomial's coefficients after the leading
// term, highest degree first, for `n` EC codewords; null when there is none.
const uint8_t* RSGeneratorExponents(int n);

// 15-bit format information (already XORed with 0x5412) for level bits and mask.
uint16_t FormatInfoBits(int levelCode, int mask);
// 18-bit version information for versions 7 to 40 (0 otherwise).
uint32_t VersionInfoBits(int version);

class CQR_Encode {
public:
    CQR_Encode();

    // level 0-3 (L, M, Q, H); version 0 or -1 to choose, 1-40 the smallest
    // allowed; autoExtent lets a larger version than asked be used; mask -1 to
    // choose, 0-7 to force; ncSource below 1 means up to the terminating NUL.
    // True when m_byModuleData holds m_nSymbleSize modules a side.
    bool EncodeData(int64_t nLevel, int64_t nVersion, bool bAutoExtent, int64_t nMaskingNo,
                    const char* lpsSource, int64_t ncSource = 0);

    // Smallest version from the request's group on that holds the data; 0 when none.
    int64_t GetEncodeVersion(int64_t nVersion, const char* lpsSource, int64_t ncLength);
    // Segments the input and writes the data bit stream for a version group.
    bool EncodeSourceData(const char* lpsSource, int64_t ncLength, int64_t nVerGroup);
    // Bits a segment takes with its mode and count indicators.
    int64_t GetBitLength(uint8_t nMode, int64_t ncData, int64_t nVerGroup) const;
    // ORs the low `ncData` bits of wData into the stream; the new position or -1.
    int64_t SetBitStream(int64_t nIndex, uint16_t wData, int64_t ncData);

    static bool IsNumeralData(unsigned char c);
    static bool IsAlphabetData(unsigned char c);
    static bool IsKanjiData(unsigned char c1, unsigned char c2);
    static uint8_t AlphabetToBinaly(unsigned char c);
    static uint16_t KanjiToBinaly(uint16_t wc);
    static int64_t min(int64_t a, int64_t b) { return a < b ? a : b; }

    // Leaves the EC codewords at the start of the work buffer, which holds the
    // data codewords followed by zeros on entry.
    void GetRSCodeWord(uint8_t* lpbyRSWork, int64_t ncDataCodeWord, int64_t ncRSCodeWord);

    void FormatModule();
    void SetFunctionModule();
    void SetFinderPattern(int x, int y);
    void SetAlignmentPattern(int x, int y);
    void SetVersionPattern();
    void SetCodeWordPattern();
    void SetMaskingPattern(int64_t nPatternNo);
    void SetFormatInfoPattern(int64_t nPatternNo);
    int64_t CountPenalty();

    // One mode for a whole string: numeric, alphanumeric or 8-bit.
    static uint8_t Get_Encoding_Mode(const char* lpsSource, int64_t ncLength);

    // ---- State (read by the facade) ----
    int64_t m_nLevel = 0;
    int64_t m_nVersion = 0;
    int64_t m_nVersion_pass = 0;
    char m_bAutoExtent = 0;
    int64_t m_nMaskingNo = -1;
    int64_t m_nSymbleSize = 0;
    uint8_t m_byModuleData[MAX_MODULESIZE][MAX_MODULESIZE];  // [x][y]

    int64_t m_ncDataCodeWordBit = 0;
    uint8_t m_byDataCodeWord[MAX_DATACODEWORD];

    int64_t m_ncDataBlock = 0;
    uint8_t m_byBlockMode[MAX_DATACODEWORD];
    int64_t m_nBlockLength[MAX_DATACODEWORD];

    int64_t m_ncAllCodeWord = 0;
    uint8_t m_byAllCodeWord[MAX_ALLCODEWORD];
    uint8_t m_byRSWork[MAX_CODEBLOCK];

private:
    bool m_bKanjiAllowed = false;  // true only for input that is not UTF-8
    void AbsorbSegment(int64_t into, int64_t from);
};

} // namespace qr

using qr::CQR_Encode;
