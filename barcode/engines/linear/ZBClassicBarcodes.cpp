#include "barcode/engines/linear/ZBClassicBarcodes.h"

#include <array>

namespace {

using PatternTable = std::array<std::string, 128>;

// Renders alternating bar/space elements: '1' in `wide` marks a wide element.
// The first element is a bar.
std::string Render_Elements(std::string_view wide, int narrowModules, int wideModules)
{
    std::string out;
    bool bar = true;
    for (char w : wide) {
        out.append(size_t(w == '1' ? wideModules : narrowModules), bar ? '1' : '0');
        bar = !bar;
    }
    return out;
}

// Code 39: nine elements (5 bars, 4 spaces), three of them wide.
struct WideEntry {
    char c;
    const char* wide;
};
constexpr WideEntry kCode39Wide[] = {
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'$', "010101000"},
    {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"}, {'*', "010010100"},
};

const PatternTable& Code39_Table()
{
    static const PatternTable table = [] {
        PatternTable t;
        for (const WideEntry& e : kCode39Wide)
            t[size_t(e.c)] = Render_Elements(e.wide, 1, 2) + '0';   // narrow inter-character gap
        return t;
    }();
    return table;
}

// Full-ASCII pairs of Extended Code 39 for every code 0-127.
const std::array<std::string_view, 128>& Full_Ascii_Pairs()
{
    static const std::array<std::array<char, 3>, 128> storage = [] {
        std::array<std::array<char, 3>, 128> t{};
        auto set = [&](int code, char a, char b) {
            t[size_t(code)][0] = a;
            t[size_t(code)][1] = b;
        };
        set(0, '%', 'U');
        for (int c = 1; c <= 26; ++c)
            set(c, '$', char('A' + c - 1));
        for (int c = 27; c <= 31; ++c)
            set(c, '%', char('A' + c - 27));
        set(' ', ' ', 0);
        for (int c = '!'; c <= ','; ++c)
            set(c, '/', char('A' + c - '!'));
        set('-', '-', 0);
        set('.', '.', 0);
        set('/', '/', 'O');
        for (int c = '0'; c <= '9'; ++c)
            set(c, char(c), 0);
        set(':', '/', 'Z');
        for (int c = ';'; c <= '?'; ++c)
            set(c, '%', char('F' + c - ';'));
        set('@', '%', 'V');
        for (int c = 'A'; c <= 'Z'; ++c)
            set(c, char(c), 0);
        for (int c = '['; c <= '_'; ++c)
            set(c, '%', char('K' + c - '['));
        set('`', '%', 'W');
        for (int c = 'a'; c <= 'z'; ++c)
            set(c, '+', char('A' + c - 'a'));
        for (int c = '{'; c <= 127; ++c)
            set(c, '%', char('P' + c - '{'));
        return t;
    }();
    static const std::array<std::string_view, 128> pairs = [] {
        std::array<std::string_view, 128> p{};
        for (size_t c = 0; c < p.size(); ++c)
            p[c] = std::string_view(storage[c].data(), storage[c][1] ? 2 : 1);
        return p;
    }();
    return pairs;
}

const PatternTable& Extended_Code39_Table()
{
    static const PatternTable table = [] {
        PatternTable t;
        const auto& pairs = Full_Ascii_Pairs();
        for (size_t c = 0; c < 128; ++c)
            for (char k : pairs[c])
                t[c] += ZBCode39Barcode::Pattern(k);
        return t;
    }();
    return table;
}

// Codabar: seven elements (4 bars, 3 spaces), narrow 1 module, wide 3. The
// standard allows 2 : 1 to 3 : 1 and asks for 2.25 : 1 or more below 0.020
// inch; two-module wides drawn at one pixel a module do not scan.
constexpr WideEntry kCodabarWide[] = {
    {'0', "0000011"}, {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"},
    {'5', "1000010"}, {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"}, {'9', "1001000"},
    {'-', "0001100"}, {'$', "0011000"}, {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"},
    {'+', "0010101"}, {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},
};

const PatternTable& Codabar_Table()
{
    static const PatternTable table = [] {
        PatternTable t;
        for (const WideEntry& e : kCodabarWide)
            t[size_t(e.c)] = Render_Elements(e.wide, 1, 3);
        return t;
    }();
    return table;
}

bool Is_Codabar_Start_Stop(char c)
{
    return c >= 'A' && c <= 'D';
}

// 2 of 5: five elements per digit, 'W' wide.
constexpr const char* kTwoOfFive[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                        "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

// Modified Plessey: a 0 bit is a narrow bar and a wide space, a 1 bit a wide
// bar and a narrow space (3:1), four modules per bit. A digit is sent as its
// four binary bits, the most significant first: 1 is 0001, 8 is 1000.
constexpr std::string_view kPlesseyBit0 = "1000";
constexpr std::string_view kPlesseyBit1 = "1110";

const std::array<std::string, 16>& Plessey_Nibbles()
{
    static const std::array<std::string, 16> table = [] {
        std::array<std::string, 16> t;
        for (int v = 0; v < 16; ++v)
            for (int bit = 3; bit >= 0; --bit)
                t[size_t(v)] += (v >> bit) & 1 ? kPlesseyBit1 : kPlesseyBit0;
        return t;
    }();
    return table;
}

} // namespace

// ---------------------------------------------------------------- Code 39

ZBCode39Barcode::ZBCode39Barcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
    m_className = "ZBCode39Barcode";
    upperCaseContent();
}

ZBCode39Barcode::ZBCode39Barcode(const QString& content, bool printsCaption, KeepCase)
    : ZBBarcode(content, printsCaption)
{
    m_className = "ZBCode39Barcode";
}

std::string_view ZBCode39Barcode::Pattern(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 128 ? std::string_view(Code39_Table()[u]) : std::string_view();
}

// Code 39 data characters in the order of their check values 0-42.
constexpr std::string_view kCode39Values = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

int ZBCode39Barcode::Value(char c)
{
    const size_t i = kCode39Values.find(c);
    return i == std::string_view::npos ? -1 : int(i);
}

bool ZBCode39Barcode::isContentValid() const
{
    if (!m_ascii || m_content.empty())
        return false;
    for (char c : m_content)
        if (c == '*' || Pattern(c).empty())
            return false;
    return true;
}

std::string_view ZBCode39Barcode::_encodeChar(char c) const
{
    return Pattern(c);
}

QString ZBCode39Barcode::acceptedCharacters() const
{
    return QStringLiteral("Code 39 takes 0-9, A-Z, space and - . $ / + %.");
}

void ZBCode39Barcode::generateChecksum()
{
    int sum = 0;
    for (char c : m_content) {
        const int v = Value(c);
        if (v >= 0)
            sum += v;
    }
    m_checkDigit = kCode39Values[size_t(sum % 43)];
    calculateWidth();
}

void ZBCode39Barcode::appendInitiator(std::string& out) const
{
    out += Pattern('*');
}

void ZBCode39Barcode::appendTerminator(std::string& out) const
{
    out += Pattern('*');
}

// ------------------------------------------------------- Extended Code 39

ZBExtendedCode39Barcode::ZBExtendedCode39Barcode(const QString& content, bool printsCaption)
    : ZBCode39Barcode(content, printsCaption, KeepCase{})
{
    m_className = "ZBExtendedCode39Barcode";
}

std::string_view ZBExtendedCode39Barcode::FullAsciiPair(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 128 ? Full_Ascii_Pairs()[u] : std::string_view();
}

bool ZBExtendedCode39Barcode::isContentValid() const
{
    if (!m_ascii || m_content.empty())
        return false;
    for (char c : m_content)
        if (static_cast<unsigned char>(c) >= 128)
            return false;
    return true;
}

QString ZBExtendedCode39Barcode::acceptedCharacters() const
{
    return QStringLiteral("Extended Code 39 takes the ASCII characters.");
}

std::string_view ZBExtendedCode39Barcode::_encodeChar(char c) const
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 128 ? std::string_view(Extended_Code39_Table()[u]) : std::string_view();
}

// ---------------------------------------------------------------- Codabar

ZBCodabarBarcode::ZBCodabarBarcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
    m_className = "ZBCodabarBarcode";
}

std::string_view ZBCodabarBarcode::_encodeChar(char c) const
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 128 ? std::string_view(Codabar_Table()[u]) : std::string_view();
}

bool ZBCodabarBarcode::isContentValid() const
{
    // A start character, at least one data character and a stop character;
    // A-D only at the two ends, where a reader looks for them.
    const size_t n = m_content.size();
    if (!m_ascii || n < 3)
        return false;
    if (!Is_Codabar_Start_Stop(m_content.front()) || !Is_Codabar_Start_Stop(m_content.back()))
        return false;
    for (size_t i = 1; i + 1 < n; ++i)
        if (Is_Codabar_Start_Stop(m_content[i]) || _encodeChar(m_content[i]).empty())
            return false;
    return true;
}

QString ZBCodabarBarcode::acceptedCharacters() const
{
    return QStringLiteral("Codabar takes 0-9 and - $ : / . + between a start and a stop character A-D.");
}

QString ZBCodabarBarcode::structureReason() const
{
    const size_t n = m_content.size();
    if (n < 3 || !Is_Codabar_Start_Stop(m_content.front()) || !Is_Codabar_Start_Stop(m_content.back()))
        return QStringLiteral("A Codabar value starts and ends with one of A, B, C, D "
                              "and has at least one character between them.");
    for (size_t i = 1; i + 1 < n; ++i)
        if (Is_Codabar_Start_Stop(m_content[i]))
            return QStringLiteral("A, B, C and D may only start and end a Codabar value.");
    return {};
}

void ZBCodabarBarcode::appendBarcode(std::string& out) const
{
    bool first = true;
    for (char c : m_content) {
        const std::string_view p = _encodeChar(c);
        if (p.empty())
            continue;
        if (!first)
            out += '0';
        out += p;
        first = false;
    }
}

// ----------------------------------------------------- Interleaved 2 of 5

ZBInterleavedTwoOfFiveBarcode::ZBInterleavedTwoOfFiveBarcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
    m_className = "ZBInterleavedTwoOfFiveBarcode";
}

bool ZBInterleavedTwoOfFiveBarcode::isContentValid() const
{
    return m_ascii && All_Digits(m_content);
}

QString ZBInterleavedTwoOfFiveBarcode::acceptedCharacters() const
{
    return QStringLiteral("Interleaved 2 of 5 takes the digits 0-9.");
}

bool ZBInterleavedTwoOfFiveBarcode::_getBarForDigit(char digit, int i)
{
    if (digit < '0' || digit > '9' || i < 0 || i > 4)
        return true;
    return kTwoOfFive[digit - '0'][i] == 'N';
}

void ZBInterleavedTwoOfFiveBarcode::generateChecksum()
{
    const bool odd = m_content.size() % 2 == 1;
    int sum = 0;
    // Pairs of the padded content: 3 x first + second.
    for (size_t i = 0; i < m_content.size(); ++i) {
        const size_t padded = i + (odd ? 1 : 0);
        const int d = m_content[i] >= '0' && m_content[i] <= '9' ? m_content[i] - '0' : 0;
        sum += padded % 2 == 0 ? 3 * d : d;
    }
    m_checkDigit = char('0' + (10 - sum % 10) % 10);
    calculateWidth();
}

void ZBInterleavedTwoOfFiveBarcode::appendInitiator(std::string& out) const
{
    out += "1010";
}

void ZBInterleavedTwoOfFiveBarcode::appendTerminator(std::string& out) const
{
    out += "11101";
}

void ZBInterleavedTwoOfFiveBarcode::appendBarcode(std::string& out) const
{
    const size_t n = m_content.size() + (m_checkDigit ? 1 : 0);
    const bool pad = n % 2 == 1;
    auto at = [&](size_t i) -> char {
        // Index into the padded sequence: ['0'] content [check].
        if (pad) {
            if (i == 0)
                return '0';
            --i;
        }
        return i < m_content.size() ? m_content[i] : m_checkDigit;
    };
    const size_t total = n + (pad ? 1 : 0);
    for (size_t p = 0; p + 1 < total; p += 2) {
        const char a = at(p);
        const char b = at(p + 1);
        for (int i = 0; i < 5; ++i) {
            out += _getBarForDigit(a, i) ? "1" : "111";
            out += _getBarForDigit(b, i) ? "0" : "000";
        }
    }
}

// ----------------------------------------------------- Industrial 2 of 5

ZBIndustrialTwoOfFiveBarcode::ZBIndustrialTwoOfFiveBarcode(const QString& content, bool printsCaption)
    : ZBInterleavedTwoOfFiveBarcode(content, printsCaption)
{
    m_className = "ZBIndustrialTwoOfFiveBarcode";
}

QString ZBIndustrialTwoOfFiveBarcode::acceptedCharacters() const
{
    return QStringLiteral("Industrial 2 of 5 takes the digits 0-9.");
}

// Bars carry the data: narrow 1 module, wide 3; every space is narrow.
// Start is wide, wide, narrow; stop is wide, narrow, wide.
void ZBIndustrialTwoOfFiveBarcode::appendInitiator(std::string& out) const
{
    out += "1110111010";
}

void ZBIndustrialTwoOfFiveBarcode::appendTerminator(std::string& out) const
{
    out += "111010111";
}

void ZBIndustrialTwoOfFiveBarcode::appendBarcode(std::string& out) const
{
    auto digit = [&](char d) {
        for (int i = 0; i < 5; ++i)
            out += _getBarForDigit(d, i) ? "10" : "1110";
    };
    for (char c : m_content)
        digit(c);
    if (m_checkDigit)
        digit(m_checkDigit);
}

// ------------------------------------------------------- Modified Plessey

ZBModifiedPlesseyBarcode::ZBModifiedPlesseyBarcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
    m_className = "ZBModifiedPlesseyBarcode";
    upperCaseContent();
    if (m_ascii)
        generateChecksum();
}

ZBModifiedPlesseyHexBarcode::ZBModifiedPlesseyHexBarcode(const QString& content, bool printsCaption)
    : ZBModifiedPlesseyBarcode(content, printsCaption)
{
    m_className = "ZBModifiedPlesseyHexBarcode";
}

std::string_view ZBModifiedPlesseyBarcode::_encodeChar(char c) const
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (acceptsHex() && c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < 0 ? std::string_view() : std::string_view(Plessey_Nibbles()[size_t(v)]);
}

QString ZBModifiedPlesseyBarcode::acceptedCharacters() const
{
    return acceptsHex() ? QStringLiteral("Modified Plessey (Hex) takes 0-9 and A-F.")
                        : QStringLiteral("Modified Plessey takes the digits 0-9.");
}

char ZBModifiedPlesseyBarcode::Check_Digit(std::string_view content)
{
    // Positions are counted from the right, the rightmost being 1. The odd
    // positions form a number N (read until the first non-digit) whose double
    // contributes its digit sum. That sum is taken digit by digit: doubling a
    // digit gives at most 18, so the carry into the next digit of N is 0 or 1
    // and lands on an even value (2d mod 10), never carrying further; the
    // digit sum of 2N is therefore the sum of the digit sums of each 2d.
    // Even positions add c - '0' (a hex letter 'A'-'F' counts 17-22).
    int sum = 0;
    bool oddRun = true;
    size_t pos = 1;
    for (size_t i = content.size(); i-- > 0; ++pos) {
        const char c = content[i];
        if (pos % 2 == 1) {
            if (!oddRun || c < '0' || c > '9') {
                oddRun = false;
                continue;
            }
            const int d2 = 2 * (c - '0');
            sum += d2 / 10 + d2 % 10;
        } else {
            sum += c - '0';
        }
    }
    sum %= 10;
    if (sum < 0)
        sum += 10;
    return char('0' + (10 - sum) % 10);
}

void ZBModifiedPlesseyBarcode::generateChecksum()
{
    m_checkDigit = Check_Digit(m_content);
    calculateWidth();
}

void ZBModifiedPlesseyBarcode::appendInitiator(std::string& out) const
{
    out += kPlesseyBit1;   // start: a wide bar and a narrow space
}

void ZBModifiedPlesseyBarcode::appendTerminator(std::string& out) const
{
    out += kPlesseyBit0;   // stop: narrow bar, wide space, narrow bar
    out += '1';
}
