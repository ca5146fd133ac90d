// The codes no decoder here reads (Industrial 2 of 5, Modified Plessey,
// POSTNET, PLANET, Royal Mail, Japan Post): the image the road makes is
// measured bar by bar (position, width, top and foot) and compared with the
// symbol written out here from each standard's tables, independently of the
// encoders.
#include "ScanSupport.h"

#include "barcode/generation/BarcodeDimensions.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using namespace scan;

// ---------------------------------------------------------------- measuring

struct Bar {
    int x0 = 0, x1 = 0;   // columns [x0, x1)
    int top = 0, foot = 0; // rows [top, foot), y downward
};

bool Dark(const QImage& img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 128;
}

// The bars of a symbol: the dark runs of the row that crosses the most of
// them (the middle one of the rows that do), each followed up and down. A bar
// must be a solid rectangle: every column of it has the same top and foot
// (within `slack` pixels).
std::vector<Bar> Measure_Bars(const QImage& img, int slack, std::string* fault)
{
    std::vector<int> runsOf(size_t(img.height()), 0);
    int bestRuns = 0;
    for (int y = 0; y < img.height(); ++y) {
        int runs = 0;
        for (int x = 0; x < img.width(); ++x)
            if (Dark(img, x, y) && (x == 0 || !Dark(img, x - 1, y)))
                ++runs;
        runsOf[size_t(y)] = runs;
        bestRuns = std::max(bestRuns, runs);
    }
    int bestRow = -1, bestLen = 0;
    for (int y = 0; y < img.height();) {
        if (runsOf[size_t(y)] != bestRuns || bestRuns == 0) {
            ++y;
            continue;
        }
        int e = y;
        while (e < img.height() && runsOf[size_t(e)] == bestRuns)
            ++e;
        if (e - y > bestLen) {
            bestLen = e - y;
            bestRow = (y + e - 1) / 2;
        }
        y = e;
    }
    std::vector<Bar> bars;
    if (bestRow < 0)
        return bars;
    const int y = bestRow;
    for (int x = 0; x < img.width();) {
        if (!Dark(img, x, y)) {
            ++x;
            continue;
        }
        Bar b;
        b.x0 = x;
        while (x < img.width() && Dark(img, x, y))
            ++x;
        b.x1 = x;
        int minTop = img.height(), maxTop = -1, minFoot = img.height(), maxFoot = -1;
        for (int cx = b.x0; cx < b.x1; ++cx) {
            int t = y, f = y;
            while (t > 0 && Dark(img, cx, t - 1))
                --t;
            while (f < img.height() && Dark(img, cx, f))
                ++f;
            minTop = std::min(minTop, t);
            maxTop = std::max(maxTop, t);
            minFoot = std::min(minFoot, f);
            maxFoot = std::max(maxFoot, f);
        }
        if (maxTop - minTop > slack || maxFoot - minFoot > slack) {
            if (fault && fault->empty())
                *fault = "bar at x " + std::to_string(b.x0) + " is no rectangle (tops " + std::to_string(minTop) + "-"
                         + std::to_string(maxTop) + ", feet " + std::to_string(minFoot) + "-" + std::to_string(maxFoot)
                         + "): something touches it";
        }
        b.top = minTop;
        b.foot = maxFoot;
        bars.push_back(b);
    }
    return bars;
}

// Dark pixels outside every bar (texts hidden: there must be none).
int Dark_Outside(const QImage& img, const std::vector<Bar>& bars)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (!Dark(img, x, y))
                continue;
            bool in = false;
            for (const Bar& b : bars)
                in = in || (x >= b.x0 && x < b.x1 && y >= b.top && y < b.foot);
            n += !in;
        }
    return n;
}

// ------------------------------------------------- symbols from the standards

// A symbol as the standard writes it: each bar's width in modules, the space
// after it in modules, and its vertical state: 'F' full or tall, 'S' short
// (POSTNET and PLANET), 'A' ascender, 'D' descender, 'T' tracker; widths only
// for the codes whose bars are all alike in height ('F').
struct Expected {
    std::vector<int> width;   // modules
    std::vector<int> space;   // modules after each bar (the last one 0)
    std::string state;
};

void Add(Expected& e, int width, int space, char state)
{
    e.width.push_back(width);
    e.space.push_back(space);
    e.state += state;
}

void End(Expected& e)
{
    if (!e.space.empty())
        e.space.back() = 0;
}

// Modified Plessey (MSI): each digit is its four bits, most significant
// first; a 1 bit is a wide bar and a narrow space, a 0 bit a narrow bar and a
// wide space (wide three times narrow); start is a 1 bit, stop a narrow bar,
// a wide space and a narrow bar. The check digit is the doubling modulo 10
// check.
char MSI_Check(const QByteArray& value)
{
    // The digits at the odd positions from the right make a number that is
    // doubled; the digits of the double and those at the even positions are
    // summed. (For the hex kind the number ends at the first letter, and a
    // letter at an even position counts its code less '0'.)
    QByteArray odd;
    int evenSum = 0;
    bool run = true;
    for (qsizetype i = value.size() - 1, pos = 1; i >= 0; --i, ++pos) {
        const char c = value[i];
        if (pos % 2 == 0)
            evenSum += c - '0';
        else if (run && c >= '0' && c <= '9')
            odd.prepend(c);
        else
            run = false;
    }
    QByteArray doubled;
    int carry = 0;
    for (qsizetype i = odd.size() - 1; i >= 0; --i) {
        const int v = 2 * (odd[i] - '0') + carry;
        doubled.prepend(char('0' + v % 10));
        carry = v / 10;
    }
    if (carry)
        doubled.prepend('1');
    int sum = evenSum;
    for (char c : doubled)
        sum += c - '0';
    return char('0' + (10 - sum % 10) % 10);
}

Expected MSI(const QByteArray& value)
{
    Expected e;
    auto bit = [&](bool one) { Add(e, one ? 3 : 1, one ? 1 : 3, 'F'); };
    bit(true);
    for (char c : value + MSI_Check(value)) {
        const int v = c >= 'A' ? c - 'A' + 10 : c - '0';
        for (int b = 3; b >= 0; --b)
            bit((v >> b) & 1);
    }
    Add(e, 1, 3, 'F');
    Add(e, 1, 0, 'F');
    return e;
}

// Industrial (standard) 2 of 5: only the bars carry data, wide three times
// narrow, every space narrow. Start wide, wide, narrow; stop wide, narrow, wide.
Expected Industrial(const QByteArray& value)
{
    static const char* table[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                    "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};
    Expected e;
    for (char w : std::string("WWN"))
        Add(e, w == 'W' ? 3 : 1, 1, 'F');
    for (char c : value)
        for (const char* p = table[c - '0']; *p; ++p)
            Add(e, *p == 'W' ? 3 : 1, 1, 'F');
    for (char w : std::string("WNW"))
        Add(e, w == 'W' ? 3 : 1, 1, 'F');
    End(e);
    return e;
}

// POSTNET: a tall frame bar at each end; each digit five bars of which two
// are tall, by the weights 7 4 2 1 0; the check digit brings the digit sum to
// a multiple of ten. PLANET is the same with tall and short exchanged.
Expected Postal(const QByteArray& value, bool planet)
{
    static const char* table[10] = {"11000", "00011", "00101", "00110", "01001",
                                    "01010", "01100", "10001", "10010", "10100"};
    int sum = 0;
    for (char c : value)
        sum += c - '0';
    const QByteArray all = value + char('0' + (10 - sum % 10) % 10);
    Expected e;
    Add(e, 1, 2, 'F');
    for (char c : all)
        for (const char* p = table[c - '0']; *p; ++p)
            Add(e, 1, 2, (*p == '1') != planet ? 'F' : 'S');
    Add(e, 1, 0, 'F');
    return e;
}

// Royal Mail (RM4SCC): four bars a character; start an ascender, stop a full
// bar; the check character from the row and column sums modulo 6.
const std::map<char, const char*>& RM4SCC()
{
    static const std::map<char, const char*> t{
        {'0', "TTFF"}, {'1', "TDAF"}, {'2', "TDFA"}, {'3', "DTAF"}, {'4', "DTFA"}, {'5', "DDAA"},
        {'6', "TADF"}, {'7', "TFTF"}, {'8', "TFDA"}, {'9', "DATF"}, {'A', "DADA"}, {'B', "DFTA"},
        {'C', "TAFD"}, {'D', "TFAD"}, {'E', "TFFT"}, {'F', "DAAD"}, {'G', "DAFT"}, {'H', "DFAT"},
        {'I', "ATDF"}, {'J', "ADTF"}, {'K', "ADDA"}, {'L', "FTTF"}, {'M', "FTDA"}, {'N', "FDTA"},
        {'O', "ATFD"}, {'P', "ADAD"}, {'Q', "ADFT"}, {'R', "FTAD"}, {'S', "FTFT"}, {'T', "FDAT"},
        {'U', "AADD"}, {'V', "AFTD"}, {'W', "AFDT"}, {'X', "FATD"}, {'Y', "FADT"}, {'Z', "FFTT"}};
    return t;
}

Expected Royal_Mail(const QByteArray& typed)
{
    const QByteArray value = typed.toUpper();
    // Row: the weights 4 2 1 0 of the bars with an upper part; column: of
    // the bars with a lower part.
    int rows = 0, cols = 0;
    for (char c : value) {
        const char* bars = RM4SCC().at(c);
        const int w[4] = {4, 2, 1, 0};
        for (int i = 0; i < 4; ++i) {
            if (bars[i] == 'F' || bars[i] == 'A')
                rows += w[i];
            if (bars[i] == 'F' || bars[i] == 'D')
                cols += w[i];
        }
    }
    const int r = rows % 6 == 0 ? 6 : rows % 6;
    const int c = cols % 6 == 0 ? 6 : cols % 6;
    const char check = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[(r - 1) * 6 + (c - 1)];
    Expected e;
    Add(e, 1, 1, 'A');
    for (char ch : value + check)
        for (const char* p = RM4SCC().at(ch); *p; ++p)
            Add(e, 1, 1, *p);
    Add(e, 1, 0, 'F');
    return e;
}

// Japan Post customer barcode: three bars a symbol; letters as a control
// symbol and a digit; 20 symbols, the filler CC4 after the value, cut to 20
// (a letter whose digit does not fit is left out whole); a check symbol that
// brings the sum of the values to a multiple of 19; start F D, stop D F.
Expected Japan_Post(const QByteArray& typed)
{
    // Symbols by value: 0-9, '-' (10), CC1-CC8 (11-18).
    static const char* bars[19] = {"FTT", "FFT", "FDA", "DFA", "FAD", "FTF", "DAF", "AFD", "ADF", "TFF",
                                   "TFT", "DAT", "DTA", "ADT", "TDA", "ATD", "TAD", "TTF", "FFF"};
    std::vector<int> symbols;
    for (char c : typed.toUpper()) {
        std::vector<int> s;
        if (c >= '0' && c <= '9')
            s = {c - '0'};
        else if (c == '-')
            s = {10};
        else if (c >= 'A' && c <= 'J')
            s = {11, c - 'A'};
        else if (c >= 'K' && c <= 'T')
            s = {12, c - 'K'};
        else
            s = {13, c - 'U'};
        if (symbols.size() + s.size() > 20)
            break;
        symbols.insert(symbols.end(), s.begin(), s.end());
    }
    while (symbols.size() < 20)
        symbols.push_back(14);
    int sum = 0;
    for (int v : symbols)
        sum += v;
    symbols.push_back((19 - sum % 19) % 19);
    Expected e;
    Add(e, 1, 1, 'F');
    Add(e, 1, 1, 'D');
    for (int v : symbols)
        for (const char* p = bars[v]; *p; ++p)
            Add(e, 1, 1, *p);
    Add(e, 1, 1, 'D');
    Add(e, 1, 0, 'F');
    return e;
}

// Vertical extents of the states in points above the base line (foot, top).
struct Extents {
    std::map<char, std::pair<double, double>> byState;
};

Extents Postnet_Extents()
{
    return {{{'F', {0.0, 0.125 * 72}}, {'S', {0.0, 0.05 * 72}}}};
}

Extents Four_State_Extents(double fullMm, double upperStartMm, double lowerEndMm)
{
    const double pt = 72.0 / 25.4;
    return {{{'F', {0.0, fullMm * pt}},
             {'A', {upperStartMm * pt, fullMm * pt}},
             {'D', {0.0, lowerEndMm * pt}},
             {'T', {upperStartMm * pt, lowerEndMm * pt}}}};
}

// --------------------------------------------------------------- comparing

struct MeasureCase {
    QString type;
    QByteArray value;
    Expected expected;
    // Extents to check in points; empty for bars all of one height.
    Extents extents;
};

// Module width of the bars in points, as the settings give it.
double Module_Points(const MeasureCase& c)
{
    const double m = Mils_To_Points(Sweep_Settings(c.type, false, 72).bar_width_mils);
    if (c.type == QLatin1String("Japan Post Barcode"))
        return std::clamp(m, 4.0 / 3.0, 23.0 / 12.0);
    return m;
}

void Check(const MeasureCase& c, int dpi, bool texts)
{
    SCOPED_TRACE(c.type.toStdString() + " [" + c.value.toStdString() + "] at " + std::to_string(dpi) + " DPI, texts "
                 + (texts ? "on" : "off"));
    const BarcodeSettings s = Sweep_Settings(c.type, texts, dpi);
    const QImage img = Render_Through_Road(s, QString::fromLatin1(c.value), dpi);
    ASSERT_FALSE(img.isNull());
    std::string fault;
    const std::vector<Bar> bars = Measure_Bars(img, 1, &fault);
    EXPECT_TRUE(fault.empty()) << fault;
    const Expected& e = c.expected;
    ASSERT_EQ(bars.size(), e.width.size()) << "bars drawn";
    if (!texts) {
        EXPECT_EQ(Dark_Outside(img, bars), 0) << "texts hidden, yet something beside the bars is drawn";
    }

    // Positions and widths: every module the same whole number of pixels,
    // max(1, round(module x dpi / 72)), exactly.
    const double modulePx = std::max(1L, std::lround(Module_Points(c) * dpi / 72.0));
    const double tolerance = 0.0;
    int modules = 0;
    double worstX = 0.0, worstW = 0.0;
    size_t atX = 0, atW = 0;
    for (size_t i = 0; i < bars.size(); ++i) {
        const double dx = std::abs((bars[i].x0 - bars[0].x0) - modules * modulePx);
        const double dw = std::abs((bars[i].x1 - bars[i].x0) - e.width[i] * modulePx);
        if (dx > worstX)
            worstX = dx, atX = i;
        if (dw > worstW)
            worstW = dw, atW = i;
        modules += e.width[i] + e.space[i];
    }
    EXPECT_LE(worstX, tolerance) << "bar " << atX << " is " << worstX << " px from its place (" << modulePx
                                 << " px a module)";
    EXPECT_LE(worstW, tolerance) << "bar " << atW << " is " << worstW << " px too wide or narrow";

    // Heights: one base line; each bar's foot and top by its state.
    const double ptPx = dpi / 72.0;
    int base = 0;
    for (const Bar& b : bars)
        base = std::max(base, b.foot);
    if (c.extents.byState.empty()) {
        for (const Bar& b : bars)
            if (b.foot != bars[0].foot || b.top != bars[0].top) {
                ADD_FAILURE() << "bar at x " << b.x0 << " is not as high as the first";
                break;
            }
        return;
    }
    std::string states;
    double worst = 0.0;
    for (const Bar& b : bars) {
        // The state whose extents are nearest.
        char best = '?';
        double bestErr = 1e9;
        for (const auto& [state, ext] : c.extents.byState) {
            const double err = std::max(std::abs((base - b.foot) - ext.first * ptPx),
                                        std::abs((base - b.top) - ext.second * ptPx));
            if (err < bestErr) {
                bestErr = err;
                best = state;
            }
        }
        worst = std::max(worst, bestErr);
        states += best;
    }
    EXPECT_LE(worst, 1.0) << "a bar is " << worst << " px from the nearest bar height of the standard";
    EXPECT_EQ(states, e.state);
}

std::vector<int> Measure_Dpis()
{
    return Sweep_Dpis();
}

void Measure_All(const std::vector<MeasureCase>& cases)
{
    for (const MeasureCase& c : cases)
        for (int dpi : Measure_Dpis())
            for (bool texts : {true, false})
                Check(c, dpi, texts);
}

// Random digits for the cases below, from the sweep's seed.
QByteArray Random_Digits(Rng& rng, int minLen, int maxLen)
{
    return rng.Digits(rng.Int(minLen, maxLen));
}

TEST(BarMeasure, ModifiedPlesseyBothKinds)
{
    Rng rng(Sweep_Seed() ^ 0x4d5349u);
    std::vector<MeasureCase> cases;
    // The worked value of the standard's check: 977888925 has the check digit 4.
    ASSERT_EQ(MSI_Check("977888925"), '4');
    cases.push_back({QStringLiteral("Modified Plessey"), "977888925", MSI("977888925"), {}});
    for (int i = 0; i < 6; ++i) {
        const QByteArray v = Random_Digits(rng, 1, 14);
        cases.push_back({QStringLiteral("Modified Plessey"), v, MSI(v), {}});
        const QByteArray h = rng.From("0123456789ABCDEF", rng.Int(1, 10));
        cases.push_back({QStringLiteral("Modified Plessey (Hex)"), h, MSI(h), {}});
    }
    Measure_All(cases);
}

TEST(BarMeasure, IndustrialTwoOfFive)
{
    Rng rng(Sweep_Seed() ^ 0x493235u);
    std::vector<MeasureCase> cases{{QStringLiteral("Industrial 2 of 5"), "1", Industrial("1"), {}}};
    for (int i = 0; i < 8; ++i) {
        const QByteArray v = Random_Digits(rng, 1, 16);
        cases.push_back({QStringLiteral("Industrial 2 of 5"), v, Industrial(v), {}});
    }
    Measure_All(cases);
}

TEST(BarMeasure, PostnetAndPlanet)
{
    Rng rng(Sweep_Seed() ^ 0x504e54u);
    std::vector<MeasureCase> cases;
    for (int len : {5, 9, 11}) {
        const QByteArray v = rng.Digits(len);
        cases.push_back({QStringLiteral("PostNet"), v, Postal(v, false), Postnet_Extents()});
    }
    for (int len : {5, 9, 11, 13}) {
        const QByteArray v = rng.Digits(len);
        cases.push_back({QStringLiteral("Planet"), v, Postal(v, true), Postnet_Extents()});
    }
    Measure_All(cases);
}

TEST(BarMeasure, RoyalMail)
{
    Rng rng(Sweep_Seed() ^ 0x524d34u);
    std::vector<MeasureCase> cases{{QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"), "SN34RD1A",
                                    Royal_Mail("SN34RD1A"), Four_State_Extents(5.05, 1.9, 3.15)}};
    ASSERT_EQ(Royal_Mail("SN34RD1A").state.substr(1 + 8 * 4, 4), RM4SCC().at('K'));   // its check is K
    for (int i = 0; i < 6; ++i) {
        const QByteArray v = rng.From("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcxyz", rng.Int(1, 12));
        cases.push_back({QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"), v, Royal_Mail(v),
                         Four_State_Extents(5.05, 1.9, 3.15)});
    }
    Measure_All(cases);
}

TEST(BarMeasure, JapanPost)
{
    Rng rng(Sweep_Seed() ^ 0x4a5050u);
    // The size follows the module width (6 modules); bar lengths scale with it.
    const double size = 6.0 * std::clamp(double(Mils_To_Points(20.0f)), 4.0 / 3.0, 23.0 / 12.0);
    const Extents ext = Four_State_Extents(3.6 * size / 10, 1.2 * size / 10, 2.4 * size / 10);
    std::vector<MeasureCase> cases{
        {QStringLiteral("Japan Post Barcode"), "1234567", Japan_Post("1234567"), ext},
        // Cut to 20 symbols inside a letter: the filler takes the control symbol's place.
        {QStringLiteral("Japan Post Barcode"), "1234567ABCDEFGHIJ", Japan_Post("1234567ABCDEFGHIJ"), ext},
        {QStringLiteral("Japan Post Barcode"), "0600032-3-2-1-1AB", Japan_Post("0600032-3-2-1-1AB"), ext},
    };
    for (int i = 0; i < 5; ++i) {
        const QByteArray v = rng.Digits(7) + rng.From("0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYZ", rng.Int(0, 14));
        cases.push_back({QStringLiteral("Japan Post Barcode"), v, Japan_Post(v), ext});
    }
    Measure_All(cases);
}

} // namespace
