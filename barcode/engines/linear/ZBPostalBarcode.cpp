#include "barcode/engines/linear/ZBPostalBarcode.h"

#include <algorithm>

namespace {

constexpr float kPointsPerMm = 72.0f / 25.4f;

bool Is_Digit(char c)
{
    return c >= '0' && c <= '9';
}

// POSTNET: the two tall bars (1-5) of each digit.
constexpr int kPostnetTall[10][2] = {{1, 2}, {4, 5}, {3, 5}, {3, 4}, {2, 5},
                                     {2, 4}, {2, 3}, {1, 5}, {1, 4}, {1, 3}};
constexpr float kTallInches = 0.125f;
constexpr float kShortInches = 0.05f;
constexpr float kFramePoints = 9.0f;

// Royal Mail: index of a character in the 6 x 6 grid, -1 when outside.
constexpr std::string_view kRoyalMailChars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// Bar pairs, by row (ascending bars) and by column (descending bars).
constexpr int kRoyalMailPairs[6][2] = {{3, 4}, {2, 4}, {2, 3}, {1, 4}, {1, 3}, {1, 2}};

int Royal_Mail_Index(char c)
{
    const size_t i = kRoyalMailChars.find(c);
    return i == std::string_view::npos ? -1 : int(i);
}

// Japan Post symbols and their bars (F full, A ascender, D descender, T tracker).
constexpr std::string_view kJapanSymbols = "0123456789-:;<=>?./";
constexpr const char* kJapanBars[19] = {"FTT", "FFT", "FDA", "DFA", "FAD", "FTF", "DAF",
                                        "AFD", "ADF", "TFF", "TFT", "DAT", "DTA", "ADT",
                                        "TDA", "ATD", "TAD", "TTF", "FFF"};

int State_Of(char bar)
{
    switch (bar) {
    case 'F': return ZBBarcode::Full;
    case 'A': return ZBBarcode::Ascender;
    case 'D': return ZBBarcode::Descender;
    default: return ZBBarcode::Tracker;
    }
}

} // namespace

// ---------------------------------------------------------------- POSTNET

ZBPostnetBarcode::ZBPostnetBarcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
    m_className = "ZBPostnetBarcode";
    m_barWidth = 1.08f;
    generateChecksum();
    m_height = 9.0f;
    calculateWidth();
}

ZBPlanetBarcode::ZBPlanetBarcode(const QString& content, bool printsCaption)
    : ZBPostnetBarcode(content, printsCaption)
{
    m_className = "ZBPlanetBarcode";
    calculateWidth();   // the accepted lengths differ from POSTNET's
}

bool ZBPostnetBarcode::isContentValid() const
{
    return m_ascii && lengthAccepted(m_content.size()) && All_Digits(m_content);
}

void ZBPostnetBarcode::generateChecksum()
{
    if (!m_ascii || !All_Digits(m_content)) {
        m_checkDigit = 0;
        return;
    }
    int sum = 0;
    for (char c : m_content)
        sum += c - '0';
    m_checkDigit = char('0' + (10 - sum % 10) % 10);
}

std::string_view ZBPostnetBarcode::_encodeChar(char c) const
{
    return Is_Digit(c) ? std::string_view("100100100100100") : std::string_view();
}

bool ZBPostnetBarcode::Tall(char digit, int b)
{
    if (!Is_Digit(digit))
        return false;
    const int* pair = kPostnetTall[digit - '0'];
    return b == pair[0] || b == pair[1];
}

float ZBPostnetBarcode::_heightForDigit_andBar(int k, int b) const
{
    char c = 0;
    if (k >= 0 && size_t(k) < m_content.size())
        c = m_content[size_t(k)];
    else if (size_t(k) == m_content.size())
        c = m_checkDigit;
    if (!Is_Digit(c) || b < 1 || b > 5)
        return 0.0f;
    const bool tall = Tall(c, b) != exchanged();
    return tall ? kTallInches : kShortInches;
}

QString ZBPostnetBarcode::acceptedCharacters() const
{
    return QStringLiteral("POSTNET takes the digits 0-9.");
}

QString ZBPostnetBarcode::structureReason() const
{
    if (!lengthAccepted(m_content.size()))
        return QStringLiteral("POSTNET takes 5, 9 or 11 digits; this value has %1.").arg(m_content.size());
    return {};
}

QString ZBPlanetBarcode::acceptedCharacters() const
{
    return QStringLiteral("PLANET takes the digits 0-9.");
}

QString ZBPlanetBarcode::structureReason() const
{
    if (!lengthAccepted(m_content.size()))
        return QStringLiteral("PLANET takes 5, 9, 11 or 13 digits; this value has %1.").arg(m_content.size());
    return {};
}

float ZBPostnetBarcode::barTop(int n) const
{
    const int len = int(15 * (m_content.size() + 1) + 4);
    if (n == 0 || n >= len - 1)
        return kFramePoints;
    const int k = (n - 3) / 15;
    const int b = (n - 15 * k) / 3;
    return _heightForDigit_andBar(k, b) * 72.0f;
}

// ------------------------------------------------------------- Royal Mail

ZBRoyalMailBarcode::ZBRoyalMailBarcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
    m_className = "ZBRoyalMailBarcode";
    upperCaseContent();
    m_barWidth = 1.4173229f;   // 0.5 mm
    generateChecksum();
    m_height = 14.3149605f;    // 5.05 mm
    calculateWidth();
}

std::array<int, 4> ZBRoyalMailBarcode::Character_States(char c)
{
    std::array<int, 4> s{Tracker, Tracker, Tracker, Tracker};
    const int i = Royal_Mail_Index(c);
    if (i < 0)
        return s;
    const int* up = kRoyalMailPairs[i / 6];
    const int* down = kRoyalMailPairs[i % 6];
    for (int b = 1; b <= 4; ++b) {
        int state = Tracker;
        if (b == up[0] || b == up[1])
            state |= Ascender;
        if (b == down[0] || b == down[1])
            state |= Descender;
        s[size_t(b - 1)] = state;
    }
    return s;
}

bool ZBRoyalMailBarcode::isContentValid() const
{
    if (!m_ascii || m_content.empty())
        return false;
    for (char c : m_content)
        if (Royal_Mail_Index(c) < 0)
            return false;
    return true;
}

void ZBRoyalMailBarcode::generateChecksum()
{
    // Each character's row (1-6) and column (1-6) are summed modulo 6; the
    // check character sits at the row and column those sums give (0 is 6).
    int rows = 0, cols = 0;
    for (char c : m_content) {
        const int i = Royal_Mail_Index(c);
        if (i < 0)
            continue;
        rows = (rows + i / 6 + 1) % 6;
        cols = (cols + i % 6 + 1) % 6;
    }
    const int r = rows == 0 ? 5 : rows - 1;
    const int col = cols == 0 ? 5 : cols - 1;
    m_checkDigit = kRoyalMailChars[size_t(6 * r + col)];
}

QString ZBRoyalMailBarcode::acceptedCharacters() const
{
    return QStringLiteral("Royal Mail takes 0-9 and A-Z.");
}

std::string_view ZBRoyalMailBarcode::_encodeChar(char c) const
{
    return Royal_Mail_Index(c) >= 0 ? std::string_view("10101010") : std::string_view();
}

int ZBRoyalMailBarcode::_barDescriptor(int n) const
{
    const int L = int(m_content.size());
    if (n <= 0)
        return Ascender;                       // start bar
    if (n >= (L + 1) * 8 + 2)
        return Full;                           // stop bar
    const int k = (n - 2) / 8;
    const int m = (n - 2) % 8;
    const char c = k < L ? m_content[size_t(k)] : m_checkDigit;
    return Character_States(c)[size_t(std::clamp(m / 2, 0, 3))];
}

float ZBRoyalMailBarcode::barTop(int n) const
{
    return (_barDescriptor(n) & Ascender ? 5.05f : 3.15f) * kPointsPerMm;
}

float ZBRoyalMailBarcode::barBottom(int n) const
{
    return (_barDescriptor(n) & Descender ? 0.0f : 1.9f) * kPointsPerMm;
}

// ------------------------------------------------------------- Japan Post

JapanPostBarcode::JapanPostBarcode(const QString& content, bool printsCaption)
    : ZBBarcode(content, printsCaption)
{
    m_className = "JapanPostBarcode";
    JapanPostBarcode::setContent(content);
    setSize(10.0f);
    // Until the caller lays it out, the symbol is as high as its full bars.
    m_height = barTop(0);
}

bool JapanPostBarcode::Is_Control_Symbol(char s)
{
    return s == ':' || s == ';' || s == '<';
}

QString JapanPostBarcode::contentNote() const
{
    if (!m_cut || !isContentValid())
        return QString();
    return QStringLiteral("Japan Post holds 20 symbols (a letter takes two): only \"%1\" is encoded. Shorten the "
                          "value to the postcode and the first part of the address to encode all of it.")
        .arg(content());
}

void JapanPostBarcode::setContent(const QString& value)
{
    ZBBarcode::setContent(value);
    m_refused.clear();
    m_symbols.clear();
    m_cut = false;
    std::string filtered;
    if (m_ascii) {
        upperCaseContent();
        for (char c : m_content) {
            if (c >= 'A' && c <= 'J') {
                m_symbols += ':';
                m_symbols += char('0' + c - 'A');
            } else if (c >= 'K' && c <= 'T') {
                m_symbols += ';';
                m_symbols += char('0' + c - 'K');
            } else if (c >= 'U' && c <= 'Z') {
                m_symbols += '<';
                m_symbols += char('0' + c - 'U');
            } else if (c == '-' || Is_Digit(c)) {
                m_symbols += c;
            } else {
                if (!m_refused.contains(QLatin1Char(c)))
                    m_refused += QLatin1Char(c);
                continue;
            }
            filtered += c;
        }
    }
    if (m_symbols.size() > 20) {
        m_cut = true;
        // The content keeps the characters whose digit (or hyphen) symbol
        // is among the 20 kept. A letter cut after its control symbol leaves
        // the content, and the filler symbol takes the control symbol's place:
        // a control symbol always has its digit after it.
        m_symbols.resize(20);
        const size_t kept = size_t(std::count_if(m_symbols.begin(), m_symbols.end(),
                                                 [](char s) { return s == '-' || Is_Digit(s); }));
        filtered.resize(std::min(kept, filtered.size()));
        if (Is_Control_Symbol(m_symbols.back()))
            m_symbols.back() = '=';
    }
    m_symbols.resize(20, '=');   // CC4 pads the address part
    setContentBytes(std::move(filtered));
    generateChecksum();
    calculateWidth();
}

QString JapanPostBarcode::refusedCharacters() const
{
    if (!m_ascii)
        return ZBBarcode::refusedCharacters();
    return Refused_Character_List(m_refused, [](char16_t) { return true; });
}

QString JapanPostBarcode::acceptedCharacters() const
{
    return QStringLiteral("Japan Post takes 0-9, A-Z and -.");
}

QString JapanPostBarcode::structureReason() const
{
    if (m_content.size() < 7 || !All_Digits(std::string_view(m_content).substr(0, 7)))
        return QStringLiteral("A Japan Post value starts with the 7 digits of the postal code.");
    return {};
}

int JapanPostBarcode::Symbol_Value(char symbol)
{
    const size_t i = kJapanSymbols.find(symbol);
    return i == std::string_view::npos || symbol == 0 ? -1 : int(i);
}

std::array<int, 3> JapanPostBarcode::Symbol_States(char symbol)
{
    const int v = Symbol_Value(symbol);
    if (v < 0)
        return {Tracker, Tracker, Tracker};
    const char* bars = kJapanBars[v];
    return {State_Of(bars[0]), State_Of(bars[1]), State_Of(bars[2])};
}

void JapanPostBarcode::generateChecksum()
{
    int sum = 0;
    for (char s : m_symbols)
        sum += std::max(0, Symbol_Value(s));
    const int v = 19 - sum % 19;
    m_checkDigit = kJapanSymbols[size_t(v == 19 ? 0 : v)];
}

void JapanPostBarcode::setSize(float size)
{
    m_size = std::clamp(size, 8.5f, 11.5f);
    m_barWidth = m_size / 6.0f;
    calculateWidth();
}

void JapanPostBarcode::setBarWidth(float barWidth)
{
    m_barWidth = std::clamp(barWidth, 4.0f / 3.0f, 23.0f / 12.0f);
    m_size = 6.0f * m_barWidth;
    calculateWidth();
}

bool JapanPostBarcode::isContentValid() const
{
    if (!m_ascii || !m_refused.isEmpty() || m_content.size() < 7)
        return false;
    return All_Digits(std::string_view(m_content).substr(0, 7));
}

std::string_view JapanPostBarcode::_encodeChar(char c) const
{
    return Symbol_Value(c) >= 0 ? std::string_view("101010") : std::string_view();
}

void JapanPostBarcode::appendBarcode(std::string& out) const
{
    for (char s : m_symbols)
        out += _encodeChar(s);
    out += _encodeChar(m_checkDigit);
}

int JapanPostBarcode::_barDescriptor(int n) const
{
    static constexpr int kStart[2] = {Full, Descender};
    static constexpr int kStop[2] = {Descender, Full};
    if (n < 4)
        return kStart[std::clamp(n, 0, 3) / 2];
    if (n < 130) {
        const int k = (n - 4) / 6;
        const char s = k < 20 ? m_symbols[size_t(k)] : m_checkDigit;
        return Symbol_States(s)[size_t(((n - 4) % 6) / 2)];
    }
    return kStop[std::clamp(((n - 130) % 3) / 2, 0, 1)];
}

float JapanPostBarcode::barTop(int n) const
{
    const float mm = (_barDescriptor(n) & Ascender) ? 3.6f : 2.4f;
    return mm * m_size / 10.0f / 0.3527777777777777f;
}

float JapanPostBarcode::barBottom(int n) const
{
    const float mm = (_barDescriptor(n) & Descender) ? 0.0f : 1.2f;
    return mm * m_size / 10.0f / 0.3527777777777777f;
}
