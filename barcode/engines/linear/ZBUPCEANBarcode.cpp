#include "barcode/engines/linear/ZBUPCEANBarcode.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

constexpr const char* kLPatterns[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                        "0110001", "0101111", "0111011", "0110111", "0001011"};

struct DigitTables {
    std::array<std::string, 10> l, r, g;
};

const DigitTables& Tables()
{
    static const DigitTables t = [] {
        DigitTables d;
        for (size_t i = 0; i < 10; ++i) {
            d.l[i] = kLPatterns[i];
            d.r[i] = Swap_Handedness(d.l[i]);
            d.g[i] = Swap_Parity(d.l[i]);
        }
        return d;
    }();
    return t;
}

bool Is_Digit(char c)
{
    return c >= '0' && c <= '9';
}

// EAN-13 parity of the left-half digits 2-7 by the first digit ('G' even).
constexpr const char* kEan13Parity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                          "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

// UPC-E parity of its six digits by the check digit, number system 0 ('E' even).
constexpr const char* kUpceParity[10] = {"EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO",
                                         "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE"};

constexpr float kGuardFoot = 3.6f;   // points above the base line

} // namespace

std::string_view UPCEAN_L_Pattern(char digit)
{
    return Is_Digit(digit) ? std::string_view(Tables().l[size_t(digit - '0')]) : std::string_view();
}

std::string_view UPCEAN_R_Pattern(char digit)
{
    return Is_Digit(digit) ? std::string_view(Tables().r[size_t(digit - '0')]) : std::string_view();
}

std::string_view UPCEAN_G_Pattern(char digit)
{
    return Is_Digit(digit) ? std::string_view(Tables().g[size_t(digit - '0')]) : std::string_view();
}

std::string Swap_Handedness(std::string_view s)
{
    std::string out(s.size(), '0');
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '0')
            out[i] = '1';
    return out;
}

std::string Swap_Parity(std::string_view s)
{
    std::string reversed(s.rbegin(), s.rend());
    return Swap_Handedness(reversed);
}

// ------------------------------------------------------------ shared part

ZBAbstractUPCEANBarcode::ZBAbstractUPCEANBarcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
}

void ZBAbstractUPCEANBarcode::calculateWidth()
{
    // The bars take 5/6 of the width; the rest holds the outer digits.
    m_width = isContentValid() ? float(moduleCount()) * m_barWidth * 1.2f : 0.0f;
}

QString ZBAbstractUPCEANBarcode::rightCaption() const
{
    return m_checkDigit ? QString(QLatin1Char(m_checkDigit)) : QString();
}

void ZBAbstractUPCEANBarcode::computeCheck(size_t count)
{
    m_checkDigit = m_content.size() == count ? Mod10_Check_Digit(m_content) : char(0);
}

void ZBAbstractUPCEANBarcode::generateChecksum()
{
    if (m_content.size() == 11)
        computeCheck(11);
}

float ZBAbstractUPCEANBarcode::barBottom(int n) const
{
    const int len = moduleCount();
    if (n < 7 || n > len - 7 || (n >= 45 && n <= 49))
        return kGuardFoot;
    return captionHeight() * 72.0f;
}

std::vector<ZBAbstractUPCEANBarcode::CaptionPiece> ZBAbstractUPCEANBarcode::captionPieces() const
{
    std::vector<CaptionPiece> pieces;
    if (!isContentValid())
        return pieces;
    const float x0 = firstBar();
    const QString left = leftCaption();
    if (!left.isEmpty())
        pieces.push_back({left, 0.0f, x0});
    int l0 = 0, l1 = 0, r0 = 0, r1 = 0;
    captionHalves(l0, l1, r0, r1);
    const QStringList halves = caption().split(QLatin1Char('\t'));
    if (!halves.isEmpty() && !halves[0].trimmed().isEmpty())
        pieces.push_back({halves[0].trimmed(), x0 + float(l0) * m_barWidth, float(l1 - l0 + 1) * m_barWidth});
    if (halves.size() > 1 && !halves[1].trimmed().isEmpty())
        pieces.push_back({halves[1].trimmed(), x0 + float(r0) * m_barWidth, float(r1 - r0 + 1) * m_barWidth});
    const QString right = rightCaption();
    if (!right.isEmpty()) {
        const float xr = x0 + float(moduleCount()) * m_barWidth;
        pieces.push_back({right, xr, std::max(0.0f, m_width - xr)});
    }
    return pieces;
}

// ------------------------------------------------------------------ UPC-A

ZBUPCABarcode::ZBUPCABarcode(const QString& content, bool printsCaption, NoInit)
    : ZBAbstractUPCEANBarcode(content, printsCaption)
{
    m_className = "ZBUPCABarcode";
}

ZBUPCABarcode::ZBUPCABarcode(const QString& content, bool printsCaption)
    : ZBUPCABarcode(content, printsCaption, NoInit{})
{
    if (m_content.size() < 12)
        generateChecksum();
    else
        m_checkDigit = m_content[11];
    calculateWidth();
}

bool ZBUPCABarcode::isContentValid() const
{
    const size_t n = m_content.size();
    if (!m_ascii || (n != 11 && n != 12) || !All_Digits(m_content))
        return false;
    if (n == 12)
        return m_content[11] == Mod10_Check_Digit(std::string_view(m_content).substr(0, 11))
               && m_checkDigit == m_content[11];
    return m_checkDigit != 0;
}

QString ZBUPCABarcode::acceptedCharacters() const
{
    return QStringLiteral("UPC-A takes the digits 0-9.");
}

QString ZBUPCABarcode::structureReason() const
{
    const size_t n = m_content.size();
    if (n != 11 && n != 12)
        return QStringLiteral("UPC-A takes 11 digits, or 12 with the right check digit; this value has %1.").arg(n);
    const char check = Mod10_Check_Digit(std::string_view(m_content).substr(0, 11));
    if (n == 12 && m_content[11] != check)
        return QStringLiteral("The check digit of %1 is %2, not %3.")
            .arg(content().left(11), QChar(QLatin1Char(check)), QChar(QLatin1Char(m_content[11])));
    return {};
}

QString ZBUPCABarcode::caption() const
{
    const QString c = content();
    return c.mid(1, 5) + QLatin1Char('\t') + c.mid(6, 5);
}

void ZBUPCABarcode::appendBarcode(std::string& out) const
{
    for (size_t i = 0; i < 6; ++i)
        out += UPCEAN_L_Pattern(m_content[i]);
    out += "01010";
    for (size_t i = 6; i < 11; ++i)
        out += UPCEAN_R_Pattern(m_content[i]);
    out += UPCEAN_R_Pattern(m_checkDigit);
}

void ZBUPCABarcode::captionHalves(int& l0, int& l1, int& r0, int& r1) const
{
    l0 = 10, l1 = 44, r0 = 50, r1 = 84;
}

// ------------------------------------------------------------------ UPC-E

ZBUPCEBarcode::ZBUPCEBarcode(const QString& content, bool printsCaption)
    : ZBUPCABarcode(content, printsCaption, NoInit{})
{
    m_className = "ZBUPCEBarcode";
    generateChecksum();
    calculateWidth();
}

std::string ZBUPCEBarcode::Expand_To_UPCA(std::string_view e)
{
    if (e.size() != 7)
        return {};
    const char s = e[0], d1 = e[1], d2 = e[2], d3 = e[3], d4 = e[4], d5 = e[5], d6 = e[6];
    switch (d6) {
    case '0': case '1': case '2':
        return {s, d1, d2, d6, '0', '0', '0', '0', d3, d4, d5};
    case '3':
        return {s, d1, d2, d3, '0', '0', '0', '0', '0', d4, d5};
    case '4':
        return {s, d1, d2, d3, d4, '0', '0', '0', '0', '0', d5};
    default:
        return {s, d1, d2, d3, d4, d5, '0', '0', '0', '0', d6};
    }
}

QString ZBUPCEBarcode::UPCAToUPCE(const QString& upca)
{
    if (upca.size() < 12)
        return QString();
    const QString mid35 = upca.mid(3, 3);
    if (mid35 == QLatin1String("000") || mid35 == QLatin1String("100") || mid35 == QLatin1String("200"))
        return upca.mid(1, 2) + upca.mid(8, 3) + upca.at(3);
    if (upca.mid(4, 2) == QLatin1String("00"))
        return upca.mid(1, 3) + upca.mid(9, 2) + QLatin1Char('3');
    if (upca.at(5) == QLatin1Char('0'))
        return upca.mid(1, 4) + upca.at(10) + QLatin1Char('4');
    if (upca.at(10) >= QLatin1Char('5'))
        return upca.mid(1, 5) + upca.at(10);
    return QString();
}

void ZBUPCEBarcode::generateChecksum()
{
    m_checkDigit = m_content.size() == 7 ? Mod10_Check_Digit(Expand_To_UPCA(m_content)) : char(0);
}

QString ZBUPCEBarcode::Zero_Suppression_Fault(std::string_view e)
{
    // The UPC-A value behind a UPC-E value has only one UPC-E form; the last
    // digit says how many zeros were suppressed, and the digit before the
    // suppressed zeros must not be one that a shorter form would have taken.
    if (e.size() != 7)
        return {};
    const char d3 = e[3], d4 = e[4], d5 = e[5], d6 = e[6];
    if (d6 == '3' && d3 >= '0' && d3 <= '2')
        return QStringLiteral("A UPC-E value ending in 3 needs 3-9 as its fourth digit (zero-suppression rules).");
    if (d6 == '4' && d4 == '0')
        return QStringLiteral("A UPC-E value ending in 4 cannot have 0 as its fifth digit (zero-suppression rules).");
    if (d6 >= '5' && d6 <= '9' && d5 == '0')
        return QStringLiteral("A UPC-E value ending in 5-9 cannot have 0 as its sixth digit (zero-suppression rules).");
    return {};
}

bool ZBUPCEBarcode::isContentValid() const
{
    return m_ascii && m_content.size() == 7 && All_Digits(m_content)
           && (m_content[0] == '0' || m_content[0] == '1') && Is_Digit(m_checkDigit)
           && Zero_Suppression_Fault(m_content).isEmpty();
}

QString ZBUPCEBarcode::acceptedCharacters() const
{
    return QStringLiteral("UPC-E takes the digits 0-9.");
}

QString ZBUPCEBarcode::structureReason() const
{
    if (m_content.size() != 7)
        return QStringLiteral("UPC-E takes 7 digits (number system 0 or 1 and six digits); this value has %1.")
            .arg(m_content.size());
    if (m_content[0] != '0' && m_content[0] != '1')
        return QStringLiteral("A UPC-E value starts with its number system, 0 or 1.");
    return Zero_Suppression_Fault(m_content);
}

QString ZBUPCEBarcode::caption() const
{
    return content().mid(1, 6);
}

bool ZBUPCEBarcode::parityForDigit(int i) const
{
    if (i < 1 || i > 6 || !Is_Digit(m_checkDigit))
        return false;
    const bool even = kUpceParity[m_checkDigit - '0'][i - 1] == 'E';
    return (m_content.empty() || m_content[0] == '0') ? even : !even;
}

void ZBUPCEBarcode::appendBarcode(std::string& out) const
{
    for (int i = 1; i <= 6; ++i) {
        const char c = m_content[size_t(i)];
        out += parityForDigit(i) ? UPCEAN_G_Pattern(c) : UPCEAN_L_Pattern(c);
    }
}

float ZBUPCEBarcode::barBottom(int n) const
{
    const int len = moduleCount();
    if (n < 7 || n > len - 4)
        return kGuardFoot;
    return captionHeight() * 72.0f;
}

void ZBUPCEBarcode::captionHalves(int& l0, int& l1, int& r0, int& r1) const
{
    l0 = 3, l1 = 44, r0 = 0, r1 = -1;
}

// ----------------------------------------------------------------- EAN-13

ZBEAN13Barcode::ZBEAN13Barcode(const QString& content, bool printsCaption, NoInit)
    : ZBAbstractUPCEANBarcode(content, printsCaption)
{
    m_className = "ZBEAN13Barcode";
}

ZBEAN13Barcode::ZBEAN13Barcode(const QString& content, bool printsCaption)
    : ZBEAN13Barcode(content, printsCaption, NoInit{})
{
    if (m_content.size() == 13 && All_Digits(m_content)) {
        // A value that comes with its check digit (as codes in a workbook
        // do): the digit is kept and must agree with the computed one.
        const char typed = m_content[12];
        m_content.resize(12);
        generateChecksum();
        m_checkMismatch = typed != m_checkDigit;
        m_typedCheck = typed;
        m_checkDigit = typed;
    } else {
        generateChecksum();
    }
    calculateWidth();
}

void ZBEAN13Barcode::generateChecksum()
{
    if (m_content.size() == 12)
        computeCheck(12);
}

bool ZBEAN13Barcode::_parityForSystemDigit(char first, int i)
{
    if (!Is_Digit(first) || i < 1 || i > 6)
        return false;
    return kEan13Parity[first - '0'][i - 1] == 'G';
}

bool ZBEAN13Barcode::isContentValid() const
{
    return m_ascii && m_content.size() == 12 && All_Digits(m_content) && !m_checkMismatch
           && Is_Digit(m_checkDigit);
}

QString ZBEAN13Barcode::acceptedCharacters() const
{
    return QStringLiteral("EAN-13 takes the digits 0-9.");
}

QString ZBEAN13Barcode::structureReason() const
{
    if (m_content.size() != 12)
        return QStringLiteral("EAN-13 takes 12 digits, or 13 with the right check digit; this value has %1.")
            .arg(m_content.size());
    if (m_checkMismatch)
        return QStringLiteral("The check digit of %1 is %2, not %3.")
            .arg(content(), QChar(QLatin1Char(Mod10_Check_Digit(m_content))), QChar(QLatin1Char(m_typedCheck)));
    return {};
}

QString ZBEAN13Barcode::caption() const
{
    const QString c = content();
    return QLatin1String("  ") + c.mid(1, 6) + QLatin1Char('\t') + c.mid(7, 5)
           + (m_checkDigit ? QString(QLatin1Char(m_checkDigit)) : QString());
}

void ZBEAN13Barcode::appendBarcode(std::string& out) const
{
    const char first = m_content[0];
    for (int i = 1; i <= 6; ++i) {
        const char c = m_content[size_t(i)];
        out += _parityForSystemDigit(first, i) ? UPCEAN_G_Pattern(c) : UPCEAN_L_Pattern(c);
    }
    out += "01010";
    for (size_t i = 7; i < 12; ++i)
        out += UPCEAN_R_Pattern(m_content[i]);
    out += UPCEAN_R_Pattern(m_checkDigit);
}

void ZBEAN13Barcode::captionHalves(int& l0, int& l1, int& r0, int& r1) const
{
    l0 = 3, l1 = 44, r0 = 50, r1 = 91;
}

// ------------------------------------------------------------------ EAN-8

ZBEAN8Barcode::ZBEAN8Barcode(const QString& content, bool printsCaption)
    : ZBEAN13Barcode(content, printsCaption, NoInit{})
{
    m_className = "ZBEAN8Barcode";
    if (m_content.size() == 8) {
        // A typed check digit is kept; it must agree with the computed one.
        const char typed = m_content[7];
        m_content.resize(7);
        generateChecksum();
        m_checkMismatch = typed != m_checkDigit;
        m_typedCheck = typed;
        m_checkDigit = typed;
    } else {
        generateChecksum();
    }
    calculateWidth();
}

void ZBEAN8Barcode::generateChecksum()
{
    computeCheck(7);
}

bool ZBEAN8Barcode::isContentValid() const
{
    return m_ascii && m_content.size() == 7 && All_Digits(m_content) && !m_checkMismatch
           && Is_Digit(m_checkDigit);
}

QString ZBEAN8Barcode::acceptedCharacters() const
{
    return QStringLiteral("EAN-8 takes the digits 0-9.");
}

QString ZBEAN8Barcode::structureReason() const
{
    if (m_content.size() != 7)
        return QStringLiteral("EAN-8 takes 7 digits, or 8 with the right check digit; this value has %1.")
            .arg(m_content.size());
    if (m_checkMismatch || !Is_Digit(m_checkDigit))
        return QStringLiteral("The check digit of %1 is %2, not %3.")
            .arg(content(), QChar(QLatin1Char(Mod10_Check_Digit(m_content))), QChar(QLatin1Char(m_typedCheck)));
    return {};
}

QString ZBEAN8Barcode::caption() const
{
    const QString c = content();
    return QLatin1String(" ") + c.mid(0, 4) + QLatin1Char('\t') + c.mid(4, 3)
           + (m_checkDigit ? QString(QLatin1Char(m_checkDigit)) : QString());
}

void ZBEAN8Barcode::appendBarcode(std::string& out) const
{
    for (size_t i = 0; i < 4; ++i)
        out += UPCEAN_L_Pattern(m_content[i]);
    out += "01010";
    for (size_t i = 4; i < 7; ++i)
        out += UPCEAN_R_Pattern(m_content[i]);
    out += UPCEAN_R_Pattern(m_checkDigit);
}

float ZBEAN8Barcode::barBottom(int n) const
{
    const int len = moduleCount();
    if (n < 4 || n > len - 4 || (n >= 31 && n <= 35))
        return kGuardFoot;
    return captionHeight() * 72.0f;
}

void ZBEAN8Barcode::captionHalves(int& l0, int& l1, int& r0, int& r1) const
{
    l0 = 3, l1 = 30, r0 = 36, r1 = 63;
}
