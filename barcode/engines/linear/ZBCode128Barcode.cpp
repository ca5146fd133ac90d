#include "barcode/engines/linear/ZBCode128Barcode.h"

#include <array>

namespace {

// Element widths (bar, space, bar, space, bar, space[, bar]) of the symbol
// values 0-106; 103-105 are START A, B and C, 106 is STOP.
constexpr const char* kWidths[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

const std::array<std::string, 107>& Patterns()
{
    static const std::array<std::string, 107> table = [] {
        std::array<std::string, 107> t;
        for (size_t v = 0; v < 107; ++v) {
            bool bar = true;
            for (const char* w = kWidths[v]; *w; ++w) {
                t[v].append(size_t(*w - '0'), bar ? '1' : '0');
                bar = !bar;
            }
        }
        return t;
    }();
    return table;
}

constexpr int kStartA = 103;
constexpr int kStop = 106;

bool In_Set(char c, int set)
{
    const unsigned char u = static_cast<unsigned char>(c);
    switch (set) {
    case ZBCode128Barcode::SetA: return u < 96;
    case ZBCode128Barcode::SetB: return u >= 32 && u < 128;   // DEL is value 95
    case ZBCode128Barcode::SetC: return u >= '0' && u <= '9';
    default: return false;
    }
}

int Pair_Value(char a, char b)
{
    return (a - '0') * 10 + (b - '0');
}

} // namespace

ZBCode128Barcode::ZBCode128Barcode(const QString& content, bool printsCaption, int codeSet)
    : ZBBarcode(content, printsCaption), m_requestedSet(codeSet)
{
    m_className = "ZBCode128Barcode";
    resolveAndCheck();
}

void ZBCode128Barcode::resolveAndCheck()
{
    m_codeSet = m_requestedSet == Automatic ? _bestCodeSetForContent() : m_requestedSet;
    if (m_ascii)
        generateChecksum();
    calculateWidth();
}

void ZBCode128Barcode::setCodeSet(int codeSet)
{
    m_requestedSet = codeSet;
    resolveAndCheck();
}

void ZBCode128Barcode::setContent(const QString& content)
{
    ZBBarcode::setContent(content);
    resolveAndCheck();
}

int ZBCode128Barcode::_bestCodeSetForContent() const
{
    // Set C for an even number of digits only: an odd count would scan with
    // a leading '0' that was never typed. Otherwise the set that holds every
    // character (B before A); when neither does, the one the value leans to
    // (control characters against lower-case letters), which then refuses it.
    int digits = 0, controls = 0, lower = 0;
    bool inA = true, inB = true;
    for (char c : m_content) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= '0' && u <= '9')
            ++digits;
        else if (u < 32 || u == 127)
            ++controls;
        else if (u >= 'a' && u <= 'z')
            ++lower;
        inA = inA && In_Set(c, SetA);
        inB = inB && In_Set(c, SetB);
    }
    if (size_t(digits) == m_content.size() && digits % 2 == 0)
        return SetC;
    if (inB)
        return SetB;
    if (inA)
        return SetA;
    return controls > lower ? SetA : SetB;
}

bool ZBCode128Barcode::acceptsChar(char c) const
{
    return In_Set(c, m_codeSet);
}

bool ZBCode128Barcode::acceptsTypedChar(char c) const
{
    if (m_requestedSet == Automatic)
        return In_Set(c, SetA) || In_Set(c, SetB);
    return In_Set(c, m_requestedSet);
}

QString ZBCode128Barcode::acceptedCharacters() const
{
    switch (m_codeSet) {
    case SetA: return QStringLiteral("Code 128 set A takes space to '_' (upper case) and the control characters.");
    case SetB: return QStringLiteral("Code 128 set B takes space to '~' and DEL.");
    case SetC: return QStringLiteral("Code 128 set C takes the digits 0-9.");
    default: return {};
    }
}

QString ZBCode128Barcode::invalidReason() const
{
    if (m_requestedSet == Automatic && m_ascii && !isContentValid() && !m_content.empty()) {
        bool inA = true, inB = true;
        for (char c : m_content) {
            inA = inA && In_Set(c, SetA);
            inB = inB && In_Set(c, SetB);
        }
        if (!inA && !inB) {
            const QString a = Refused_Character_List(content(), [](char16_t c) { return !In_Set(char(c), SetB); });
            const QString b = Refused_Character_List(content(), [](char16_t c) { return !In_Set(char(c), SetA); });
            return QStringLiteral("One Code 128 symbol uses one code set: %1 (set A only) and %2 "
                                  "(set B only) cannot be mixed.").arg(a, b);
        }
    }
    return ZBBarcode::invalidReason();
}

bool ZBCode128Barcode::isContentValid() const
{
    if (!m_ascii || m_content.empty())
        return false;
    for (char c : m_content)
        if (!In_Set(c, m_codeSet))
            return false;
    return true;
}

int ZBCode128Barcode::_valueForChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 32 ? u + 64 : u - 32;
}

std::string_view ZBCode128Barcode::Pattern(int value)
{
    if (value < 0 || value > kStop)
        return {};
    return Patterns()[size_t(value)];
}

std::string_view ZBCode128Barcode::_encodeChar_withSet(char c, int set) const
{
    if (set == SetC) {
        // Set C encodes pairs; a single character has a pattern only as the
        // value code - 32 for the codes 32-95.
        const unsigned char u = static_cast<unsigned char>(c);
        return u >= 32 && u < 96 ? Pattern(u - 32) : std::string_view();
    }
    return In_Set(c, set) ? Pattern(_valueForChar(c)) : std::string_view();
}

std::string_view ZBCode128Barcode::_encodeNumberPair(std::string_view pair)
{
    int v = 0;
    size_t i = 0;
    for (; i < pair.size() && i < 2 && pair[i] >= '0' && pair[i] <= '9'; ++i)
        v = v * 10 + (pair[i] - '0');
    return i == 0 ? std::string_view() : Pattern(v);
}

void ZBCode128Barcode::generateChecksum()
{
    int sum = kStartA + (m_codeSet >= SetA && m_codeSet <= SetC ? m_codeSet : 0);
    if (m_codeSet == SetC) {
        const bool odd = m_content.size() % 2 == 1;
        int p = 1;
        size_t i = 0;
        if (odd) {
            // A leading '0' makes the first pair of an odd-length value.
            if (In_Set(m_content[0], SetC))
                sum += p * (m_content[0] - '0');
            ++p;
            i = 1;
        }
        for (; i + 1 < m_content.size(); i += 2, ++p)
            if (In_Set(m_content[i], SetC) && In_Set(m_content[i + 1], SetC))
                sum += p * Pair_Value(m_content[i], m_content[i + 1]);
    } else {
        int p = 1;
        for (char c : m_content) {
            if (In_Set(c, m_codeSet))
                sum += p * _valueForChar(c);
            ++p;
        }
    }
    m_checkDigit = char(sum % 103);
}

void ZBCode128Barcode::appendInitiator(std::string& out) const
{
    if (m_codeSet >= SetA && m_codeSet <= SetC)
        out += Pattern(kStartA + m_codeSet);
}

void ZBCode128Barcode::appendTerminator(std::string& out) const
{
    out += Pattern(kStop);
}

void ZBCode128Barcode::appendBarcode(std::string& out) const
{
    if (m_codeSet == SetC) {
        size_t i = 0;
        if (m_content.size() % 2 == 1) {
            const char pair[2] = {'0', m_content[0]};
            out += _encodeNumberPair(std::string_view(pair, 2));
            i = 1;
        }
        for (; i + 1 < m_content.size(); i += 2)
            out += _encodeNumberPair(std::string_view(m_content).substr(i, 2));
    } else {
        for (char c : m_content)
            out += _encodeChar_withSet(c, m_codeSet);
    }
    out += Pattern(static_cast<unsigned char>(m_checkDigit));
}
