// Worked values of the linear symbologies: check characters, bar strings,
// module counts, caption pieces and bar extents, and the refusal of bad input.
#include "barcode/engines/view/BarcodeText.h"
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/linear/ZBClassicBarcodes.h"
#include "barcode/engines/linear/ZBCode128Barcode.h"
#include "barcode/engines/linear/ZBPostalBarcode.h"
#include "barcode/engines/linear/ZBUPCEANBarcode.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string Cat(std::initializer_list<std::string_view> parts)
{
    std::string s;
    for (auto p : parts)
        s += p;
    return s;
}

std::string C39(char c)
{
    return std::string(ZBCode39Barcode::Pattern(c));
}

// --------------------------------------------------------------- base model

TEST(LinearModel, NonAsciiContentGivesNoSymbol)
{
    for (const char* type : {"Code 39", "Extended Code 39", "Codabar", "Interleaved 2 of 5", "Industrial 2 of 5",
                             "Modified Plessey", "Modified Plessey (Hex)", "Code 128", "Code 128 SET A",
                             "Code 128 SET B", "Code 128 SET C", "UPCA", "UPCE", "EAN-13", "EAN-8", "PostNet",
                             "Planet", "Royal Mail Barcode (RM4SCC / CBC)", "Japan Post Barcode"}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(Is_Linear_Barcode_Type(type));
        EXPECT_EQ(Make_Linear_Barcode(type, QStringLiteral("12345\u00e9")), nullptr);
        EXPECT_EQ(Make_Linear_Barcode(type, QStringLiteral("\u4e2d\u6587")), nullptr);
        EXPECT_NE(Make_Linear_Barcode(type, QStringLiteral("1")), nullptr);
    }
    EXPECT_EQ(Make_Linear_Barcode(QStringLiteral("QR Code"), QStringLiteral("1")), nullptr);

    // Made directly, such an object refuses itself and has no bars.
    ZBCode128Barcode b(QStringLiteral("abc\u00fc"));
    EXPECT_FALSE(b.isContentValid());
    EXPECT_TRUE(b.completeBarcode().empty());
    EXPECT_EQ(b.content(), QStringLiteral("abc\u00fc"));
}

TEST(LinearModel, CheckDigitMinusOneMeansNone)
{
    ZBCode39Barcode b(QStringLiteral("A"));
    b.setCheckDigit(-1);
    EXPECT_EQ(b.checkDigit(), 0);
    EXPECT_EQ(b.completeBarcode(), C39('*') + C39('A') + C39('*'));
    EXPECT_EQ(b.header(), QString());
    EXPECT_EQ(b.footer(), QString());
}

TEST(LinearModel, BarExtentsFollowTextsAndMargins)
{
    BarcodeSettings s;
    s.value_font = QFont(QStringLiteral("DejaVu Sans"), 10);
    s.header_font = QFont(QStringLiteral("DejaVu Sans"), 14);
    s.footer_font = QFont(QStringLiteral("DejaVu Sans"), 8);
    s.value_margin = 2;
    s.header_margin = 3;
    s.footer_margin = 4;
    s.TB_margin = 5;

    ZBCode39Barcode b(QStringLiteral("ABC"));
    b.setSettings(s);
    b.setHeader(QStringLiteral("HEADER"));
    b.setFooter(QStringLiteral("FOOTER"));
    b.setHeight(100);
    b.setPrintsHeader(true);
    b.setPrintsFooter(true);
    // The height follows the settings' font, not the size passed.
    b.setCaptionFontSize(100);
    b.setHeaderFontSize(1);
    b.setFooterFontSize(1);
    EXPECT_EQ(b.caption_fontSize(), 100.0f);
    const double cap10 = zbtext::Cap_Height(s.value_font);  // cap height in points
    EXPECT_NEAR(b.captionHeight(), 1.35 * cap10 / 72.0, 1e-5);
    EXPECT_GT(b.headerHeight(), b.captionHeight());
    EXPECT_LT(b.footerHeight(), b.captionHeight());
    EXPECT_GT(b.headerWidth(), 0.0f);
    EXPECT_GT(b.footerWidth(), 0.0f);

    const float texts = 72.0f * (b.captionHeight() + b.headerHeight() + b.footerHeight());
    EXPECT_NEAR(b.barTop(0), 100.0f - texts - (2 + 3 + 4) - 2 * 5, 1e-3);
    EXPECT_NEAR(b.barBottom(7), texts, 1e-3);

    b.setPrintsCaption(false);
    b.setPrintsHeader(false);
    b.setPrintsFooter(false);
    EXPECT_NEAR(b.barTop(3), 100.0f - 2 * 5, 1e-4);
    EXPECT_EQ(b.barBottom(3), 0.0f);

    // A copy keeps class, content and configuration.
    std::unique_ptr<ZBBarcode> copy = b.clone();
    EXPECT_TRUE(copy->isEqual(b));
    EXPECT_STREQ(copy->className(), "ZBCode39Barcode");
    EXPECT_TRUE(copy->description().contains(QStringLiteral("Barcode Class: ZBCode39Barcode")));
}

// A symbology with one outer digit on each side, to check the base caption rule.
class OuterDigits : public ZBBarcode {
public:
    using ZBBarcode::ZBBarcode;
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<OuterDigits>(*this); }
    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
};

TEST(LinearModel, CaptionPiecesAndEquality)
{
    OuterDigits b(QStringLiteral("12345678901"));
    EXPECT_EQ(b.leftCaption(), QStringLiteral("1"));
    EXPECT_EQ(b.rightCaption(), QStringLiteral("1"));
    EXPECT_EQ(b.caption(), QStringLiteral("234567890"));
    EXPECT_EQ(OuterDigits(QStringLiteral("12")).caption(), QString());
    EXPECT_EQ(ZBCode39Barcode(QStringLiteral("12345678901")).caption(), QStringLiteral("12345678901"));

    // Equality is equality of the contents, also for values without an ASCII form.
    EXPECT_TRUE(ZBCode128Barcode(QStringLiteral("abc")).isEqual(ZBCode128Barcode(QStringLiteral("abc"))));
    EXPECT_FALSE(ZBCode128Barcode(QStringLiteral("abc")).isEqual(ZBCode128Barcode(QStringLiteral("abd"))));
    EXPECT_FALSE(ZBCode128Barcode(QStringLiteral("\u00e9")).isEqual(ZBCode128Barcode(QStringLiteral("\u00fc"))));
}

TEST(LinearModel, WidthIsModulesTimesModuleWidth)
{
    ZBCode39Barcode b(QStringLiteral("AB"));
    EXPECT_EQ(b.width(), 0.0f);   // module width not set yet
    b.setBarWidth(0.5f);
    b.calculateWidth();
    EXPECT_FLOAT_EQ(b.width(), 4 * 13 * 0.5f);
}

// ---------------------------------------------------- Code 39 and Codabar

TEST(Code39, PatternsAndCase)
{
    EXPECT_EQ(C39('*'), "1001011011010");
    EXPECT_EQ(C39('0'), "1010011011010");
    EXPECT_EQ(C39('A'), "1101010010110");

    ZBCode39Barcode b(QStringLiteral("abc"));
    EXPECT_EQ(b.content(), QStringLiteral("ABC"));
    EXPECT_EQ(b.caption(), QStringLiteral("ABC"));
    EXPECT_EQ(b.completeBarcode(), C39('*') + C39('A') + C39('B') + C39('C') + C39('*'));
    EXPECT_EQ(b.checkDigit(), 0);

    // '*' is the start and stop character: as data it would end the symbol
    // early when read, so it is refused (rather than accepted as in the older rule).
    EXPECT_FALSE(ZBCode39Barcode(QStringLiteral("A*B")).isContentValid());

    // The modulo-43 routine nobody calls: A+B+C = 10+11+12 = 33, 'X'.
    ZBCode39Barcode checked(QStringLiteral("ABC"));
    checked.setBarWidth(1);
    checked.generateChecksum();
    EXPECT_EQ(checked.checkDigit(), 'X');
    EXPECT_FLOAT_EQ(checked.width(), 6 * 13);
}

TEST(Code39, ExtendedUsesFullAsciiPairs)
{
    ZBExtendedCode39Barcode b(QStringLiteral("abc"));
    EXPECT_EQ(b.caption(), QStringLiteral("abc"));
    EXPECT_EQ(b.completeBarcode(),
              Cat({C39('*'), C39('+'), C39('A'), C39('+'), C39('B'), C39('+'), C39('C'), C39('*')}));

    struct Pair { char c; const char* pair; };
    // Line feed is "$J" and carriage return "$M" in the full-ASCII table (the
    // older rule gave line feed the carriage return's pair and refused CR).
    for (Pair p : {Pair{'$', "/D"}, Pair{'/', "/O"}, Pair{'*', "/J"}, Pair{'_', "%O"}, Pair{'\n', "$J"},
                   Pair{'\r', "$M"}, Pair{'\0', "%U"}, Pair{'\x7f', "%T"}, Pair{'@', "%V"}, Pair{'`', "%W"},
                   Pair{'~', "%S"}, Pair{' ', " "}, Pair{'-', "-"}, Pair{'Q', "Q"}}) {
        SCOPED_TRACE(int(p.c));
        EXPECT_EQ(ZBExtendedCode39Barcode::FullAsciiPair(p.c), p.pair);
        std::string expected;
        for (const char* k = p.pair; *k; ++k)
            expected += C39(*k);
        EXPECT_EQ(b._encodeChar(p.c), expected);
    }
    EXPECT_TRUE(ZBExtendedCode39Barcode(QStringLiteral("a\rb\x01")).isContentValid());
}

// Bars and spaces of Codabar elements (bar first): narrow 1 module, wide 3.
std::string Codabar_Elements(const char* nw)
{
    std::string out;
    bool bar = true;
    for (const char* p = nw; *p; ++p, bar = !bar)
        out.append(*p == 'W' ? 3 : 1, bar ? '1' : '0');
    return out;
}

TEST(Codabar, StandardPatternsWithGaps)
{
    // The standard's elements (B and C as the standard has them; the older
    // table had them exchanged, so its B and C symbols read as the other
    // character). Wide elements are three modules: the standard asks for at
    // least 2.25 : 1 below 0.020 inch, and two-module wides drawn at one pixel
    // a module (72 DPI) did not scan.
    ZBCodabarBarcode b(QStringLiteral("A12B"));
    const std::string A = Codabar_Elements("NNWWNWN"), one = Codabar_Elements("NNNNWWN"),
                      two = Codabar_Elements("NNNWNNW"), B = Codabar_Elements("NWNWNNW");
    EXPECT_EQ(b.completeBarcode(), A + "0" + one + "0" + two + "0" + B);
    EXPECT_EQ(b.completeBarcode().size(), A.size() + one.size() + two.size() + B.size() + 3);
    EXPECT_EQ(b._encodeChar('C'), Codabar_Elements("NNNWNWW"));
    EXPECT_EQ(b._encodeChar('D'), Codabar_Elements("NNNWWWN"));
    EXPECT_EQ(b._encodeChar('+'), Codabar_Elements("NNWNWNW"));
    EXPECT_EQ(b._encodeChar('0'), "10101000111");
    EXPECT_EQ(b.checkDigit(), 0);
}

// ------------------------------------------------------------- 2 of 5

TEST(TwoOfFive, InterleavedPadsOddLength)
{
    ZBInterleavedTwoOfFiveBarcode b(QStringLiteral("123"));
    // Pairs 0-1 and 2-3: bars from the first digit, spaces from the second,
    // wide elements 3 modules.
    EXPECT_EQ(b.completeBarcode(), "1010" "100010111011101000" "100011100010101110" "11101");
    EXPECT_EQ(b.caption(), QStringLiteral("123"));
    EXPECT_EQ(b.checkDigit(), 0);
}

TEST(TwoOfFive, IndustrialFollowsTheStandard)
{
    // Bars carry the digits (narrow 1 module, wide 3), every space is narrow;
    // start is wide-wide-narrow and stop wide-narrow-wide. The older layout used
    // the interleaved start and stop and 2-module spaces, which no reader of
    // this symbology frames as a symbol.
    const std::string start = "1110" "1110" "10";
    const std::string stop = "1110" "10" "111";
    EXPECT_EQ(ZBIndustrialTwoOfFiveBarcode(QStringLiteral("1")).completeBarcode(),
              start + "1110" "10" "10" "10" "1110" + stop);   // 1 = WNNNW
    EXPECT_EQ(ZBIndustrialTwoOfFiveBarcode(QStringLiteral("90")).completeBarcode(),
              start + "10" "1110" "10" "1110" "10"            // 9 = NWNWN
                      "10" "10" "1110" "1110" "10" + stop);   // 0 = NNWWN
}

// ------------------------------------------------------- Modified Plessey

// Check digit by the doubling rule, written independently: the odd positions
// from the right form a number that is doubled in decimal.
char Plessey_Reference(const std::string& digits)
{
    std::string odd, even;
    int pos = 1;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, ++pos)
        (pos % 2 ? odd : even).insert(0, 1, *it);
    int carry = 0;
    std::string doubled;
    for (auto it = odd.rbegin(); it != odd.rend(); ++it) {
        const int v = 2 * (*it - '0') + carry;
        doubled.insert(0, 1, char('0' + v % 10));
        carry = v / 10;
    }
    if (carry)
        doubled.insert(0, 1, '1');
    int sum = 0;
    for (char c : doubled + even)
        sum += c - '0';
    return char('0' + (10 - sum % 10) % 10);
}

TEST(ModifiedPlessey, CheckDigitAndStandardSymbol)
{
    EXPECT_EQ(ZBModifiedPlesseyBarcode(QStringLiteral("1234567")).checkDigit(), '4');
    const std::string thirty = "987654321098765432109876543219";
    EXPECT_EQ(ZBModifiedPlesseyBarcode(QString::fromStdString(thirty)).checkDigit(), Plessey_Reference(thirty));
    for (const char* v : {"80523", "1", "99999999999999999999", "0000"})
        EXPECT_EQ(ZBModifiedPlesseyBarcode(QString::fromLatin1(v)).checkDigit(), Plessey_Reference(v)) << v;

    EXPECT_EQ(ZBModifiedPlesseyBarcode(QStringLiteral("977888925")).checkDigit(), '4');

    // Bits most significant first, as the standard sends them (1 is 0001, 8
    // is 1000; the older order scanned every digit but 0, 6 and 9 as another
    // one); 0 = narrow bar + wide space, 1 = wide bar + narrow space; start
    // is a 1 bit, stop a 0 bit and a final bar.
    const std::string b0 = "1000", b1 = "1110";
    ZBModifiedPlesseyBarcode one(QStringLiteral("1"));
    EXPECT_EQ(one.checkDigit(), '8');
    EXPECT_EQ(one.completeBarcode(), b1 + (b0 + b0 + b0 + b1) + (b1 + b0 + b0 + b0) + b0 + "1");
    EXPECT_EQ(one._encodeChar('4'), b0 + b1 + b0 + b0);

    ZBModifiedPlesseyHexBarcode hex(QStringLiteral("af"));
    EXPECT_EQ(hex.content(), QStringLiteral("AF"));
    EXPECT_TRUE(hex.isContentValid());
    EXPECT_EQ(hex._encodeChar('A'), b1 + b0 + b1 + b0);
    EXPECT_EQ(hex._encodeChar('B'), b1 + b0 + b1 + b1);
    EXPECT_EQ(hex._encodeChar('F'), b1 + b1 + b1 + b1);
    EXPECT_FALSE(ZBModifiedPlesseyBarcode(QStringLiteral("12A")).isContentValid());
}

// ---------------------------------------------------------------- Code 128

TEST(Code128, PatternTableIsWellFormed)
{
    for (int v = 0; v < 106; ++v) {
        const std::string_view p = ZBCode128Barcode::Pattern(v);
        ASSERT_EQ(p.size(), 11u) << v;
        EXPECT_EQ(p.front(), '1');
        EXPECT_EQ(p.back(), '0');
    }
    EXPECT_EQ(ZBCode128Barcode::Pattern(0), "11011001100");
    EXPECT_EQ(ZBCode128Barcode::Pattern(27), "11101100100");
    EXPECT_EQ(ZBCode128Barcode::Pattern(84), "10011110100");
    EXPECT_EQ(ZBCode128Barcode::Pattern(103), "11010000100");
    EXPECT_EQ(ZBCode128Barcode::Pattern(104), "11010010000");
    EXPECT_EQ(ZBCode128Barcode::Pattern(105), "11010011100");
    EXPECT_EQ(ZBCode128Barcode::Pattern(106), "1100011101011");
    EXPECT_TRUE(ZBCode128Barcode::Pattern(107).empty());
}

TEST(Code128, SetChoiceAndCheckValues)
{
    struct Case {
        const char* value;
        int set;
        int expectedSet;
        int check;
    };
    const Case cases[] = {
        // An odd number of digits goes to set B so it scans as typed; the
        // older rule chose set C and a leading '0' (check 81, still right for
        // fixed set C below).
        {"12345", 3, 1, (104 + 17 + 2 * 18 + 3 * 19 + 4 * 20 + 5 * 21) % 103},
        {"12345", 2, 2, 81},
        {"123456", 3, 2, (105 + 12 + 2 * 34 + 3 * 56) % 103},
        {"AB", 3, 1, 102},
        {"A B", 3, 1, 33},
        {"A\tB", 3, 0, (103 + 33 + 2 * 73 + 3 * 34) % 103},
        {"a\tb", 3, 1, -1},   // as many lower-case as control: set B, where tab is not
        {"", 3, 2, 2},        // empty: set C, START C, check 105 mod 103
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ZBCode128Barcode b(QString::fromLatin1(c.value), true, c.set);
        EXPECT_EQ(b.codeSet(), c.expectedSet);
        if (c.check >= 0) {
            EXPECT_EQ(int(b.checkDigit()), c.check);
        }
    }
    EXPECT_EQ(ZBCode128Barcode(QStringLiteral("12345")).caption(), QStringLiteral("12345"));
}

TEST(Code128, BarStringLayout)
{
    ZBCode128Barcode c(QStringLiteral("12345"), true, ZBCode128Barcode::SetC);
    const std::string expected = Cat({ZBCode128Barcode::Pattern(105), ZBCode128Barcode::Pattern(1),
                                      ZBCode128Barcode::Pattern(23), ZBCode128Barcode::Pattern(45),
                                      ZBCode128Barcode::Pattern(81), ZBCode128Barcode::Pattern(106)});
    EXPECT_EQ(c.completeBarcode(), expected);
    EXPECT_EQ(c.completeBarcode().size(), size_t(11 * (3 + 2) + 13));

    ZBCode128Barcode a(QString::fromLatin1("\x13\x14;"), true, ZBCode128Barcode::SetA);
    ASSERT_TRUE(a.isContentValid());
    const std::string bars = a.barcode();
    EXPECT_EQ(bars.substr(0, 11), ZBCode128Barcode::Pattern(83));
    EXPECT_EQ(bars.substr(11, 11), ZBCode128Barcode::Pattern(84));
    EXPECT_EQ(bars.substr(22, 11), ZBCode128Barcode::Pattern(27));
    EXPECT_EQ(a.completeBarcode().size(), size_t(11 * (3 + 2) + 13));

    // The empty value has no symbol at all: an empty value is refused like any
    // other bad input, rather than drawn as a bare start, check and stop.
    ZBCode128Barcode empty(QString{});
    EXPECT_FALSE(empty.isContentValid());
    EXPECT_TRUE(empty.completeBarcode().empty());
    EXPECT_EQ(empty.initiator(), ZBCode128Barcode::Pattern(105));
}

// ---------------------------------------------------------- UPC and EAN

std::string Digits_Parity(const std::string& bars, size_t from, int count)
{
    // Reads 7-module digit patterns back as L or G.
    std::string parity;
    for (int i = 0; i < count; ++i) {
        const std::string p = bars.substr(from + 7 * size_t(i), 7);
        char kind = '?';
        for (char d = '0'; d <= '9'; ++d) {
            if (p == UPCEAN_L_Pattern(d))
                kind = 'L';
            else if (p == UPCEAN_G_Pattern(d))
                kind = 'G';
        }
        parity += kind;
    }
    return parity;
}

TEST(UPCEAN, UPCAChecksCaptionAndWidth)
{
    ZBUPCABarcode a(QStringLiteral("03600029145"));
    EXPECT_EQ(a.checkDigit(), '2');
    EXPECT_EQ(a.caption(), QStringLiteral("36000\t29145"));
    EXPECT_EQ(a.leftCaption(), QStringLiteral("0"));
    EXPECT_EQ(a.rightCaption(), QStringLiteral("2"));
    EXPECT_EQ(a.completeBarcode().size(), 95u);
    a.setBarWidth(1);
    a.calculateWidth();
    EXPECT_FLOAT_EQ(a.width(), 114.0f);
    EXPECT_FLOAT_EQ(a.firstBar(), 11.4f);

    EXPECT_TRUE(ZBUPCABarcode(QStringLiteral("036000291452")).isContentValid());
    EXPECT_EQ(ZBUPCABarcode(QStringLiteral("036000291452")).checkDigit(), '2');
    EXPECT_FALSE(ZBUPCABarcode(QStringLiteral("036000291453")).isContentValid());

    // Guards, the outer digits' bars and the centre guard reach down to 3.6
    // points; the other data bars stop at the caption.
    a.setCaptionHeight(0.2f);
    for (int n : {0, 2, 6, 45, 47, 49, 89, 92, 94})
        EXPECT_FLOAT_EQ(a.barBottom(n), 3.6f) << n;
    for (int n : {7, 20, 44, 50, 70, 88})
        EXPECT_FLOAT_EQ(a.barBottom(n), 0.2f * 72) << n;

    ZBUPCABarcode empty(QString{});
    empty.setBarWidth(1);
    empty.calculateWidth();
    EXPECT_EQ(empty.width(), 0.0f);

    // Caption pieces sit beside and under the bars they belong to.
    const auto pieces = a.captionPieces();
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].text, QStringLiteral("0"));
    EXPECT_FLOAT_EQ(pieces[0].x + pieces[0].width, a.firstBar());
    EXPECT_EQ(pieces[1].text, QStringLiteral("36000"));
    EXPECT_FLOAT_EQ(pieces[1].x, a.firstBar() + 10);
    EXPECT_EQ(pieces[2].text, QStringLiteral("29145"));
    EXPECT_FLOAT_EQ(pieces[2].x, a.firstBar() + 50);
    EXPECT_EQ(pieces[3].text, QStringLiteral("2"));
    EXPECT_FLOAT_EQ(pieces[3].x, a.firstBar() + 95);
}

TEST(UPCEAN, EAN13ParityAndCaption)
{
    ZBEAN13Barcode e(QStringLiteral("400638133393"));
    EXPECT_EQ(e.checkDigit(), '1');
    const std::string bars = e.completeBarcode();
    ASSERT_EQ(bars.size(), 95u);
    EXPECT_EQ(Digits_Parity(bars, 3, 6), "LGLLGG");
    EXPECT_EQ(bars.substr(45, 5), "01010");
    EXPECT_EQ(bars.substr(85, 7), UPCEAN_R_Pattern('1'));
    EXPECT_EQ(e.caption(), QStringLiteral("  006381\t333931"));
    EXPECT_EQ(e.leftCaption(), QStringLiteral("4"));
    EXPECT_EQ(e.rightCaption(), QString());

    // Typed with its check digit: the same symbol, the same caption.
    ZBEAN13Barcode typed(QStringLiteral("4006381333931"));
    EXPECT_TRUE(typed.isContentValid());
    EXPECT_EQ(typed.content(), QStringLiteral("400638133393"));
    EXPECT_EQ(typed.completeBarcode(), bars);
    EXPECT_EQ(typed.caption(), e.caption());
    // A wrong check digit would make a symbol no reader accepts.
    EXPECT_FALSE(ZBEAN13Barcode(QStringLiteral("4006381333932")).isContentValid());
}

TEST(UPCEAN, EAN8KeepsTypedCheckDigitOnlyWhenRight)
{
    ZBEAN8Barcode e(QStringLiteral("1234567"));
    EXPECT_EQ(e.checkDigit(), '0');
    EXPECT_EQ(e.completeBarcode().size(), 67u);
    EXPECT_EQ(e.caption(), QStringLiteral(" 1234\t5670"));
    EXPECT_EQ(e.leftCaption(), QString());

    ZBEAN8Barcode typed(QStringLiteral("12345670"));
    EXPECT_EQ(typed.content(), QStringLiteral("1234567"));
    EXPECT_EQ(typed.checkDigit(), '0');
    EXPECT_TRUE(typed.isContentValid());
    // A wrong typed check digit would make a symbol no reader accepts.
    EXPECT_FALSE(ZBEAN8Barcode(QStringLiteral("12345679")).isContentValid());

    // The start, end and centre guards reach down; data bars do not.
    e.setCaptionHeight(0.2f);
    EXPECT_FLOAT_EQ(e.barBottom(2), 3.6f);
    EXPECT_FLOAT_EQ(e.barBottom(32), 3.6f);
    EXPECT_FLOAT_EQ(e.barBottom(34), 3.6f);
    EXPECT_FLOAT_EQ(e.barBottom(66), 3.6f);
    EXPECT_FLOAT_EQ(e.barBottom(20), 0.2f * 72);
}

TEST(UPCEAN, UPCEExpansionAndParity)
{
    EXPECT_EQ(ZBUPCEBarcode::Expand_To_UPCA("0123456"), "01234500006");
    EXPECT_EQ(ZBUPCEBarcode::Expand_To_UPCA("0123450"), "01200000345");
    EXPECT_EQ(ZBUPCEBarcode::Expand_To_UPCA("0123453"), "01230000045");
    EXPECT_EQ(ZBUPCEBarcode::Expand_To_UPCA("0123454"), "01234000005");
    ZBUPCEBarcode e(QStringLiteral("0123456"));
    EXPECT_EQ(e.checkDigit(), '5');
    const std::string bars = e.completeBarcode();
    ASSERT_EQ(bars.size(), 51u);
    EXPECT_EQ(Digits_Parity(bars, 3, 6), "GLLGGL");   // EOOEEO
    EXPECT_EQ(bars.substr(45), "010101");
    EXPECT_EQ(e.caption(), QStringLiteral("123456"));
    EXPECT_EQ(e.leftCaption(), QStringLiteral("0"));
    EXPECT_EQ(e.rightCaption(), QStringLiteral("5"));

    // Check digit 1: EEOEOO for number system 0, OOEOEE for number system 1.
    auto findWithCheck = [](char system, char check) {
        for (int v = 0; v < 1000000; ++v) {
            const QString s = QLatin1Char(system) + QStringLiteral("%1").arg(v, 6, 10, QLatin1Char('0'));
            if (ZBUPCEBarcode(s).checkDigit() == check)
                return s;
        }
        return QString();
    };
    const QString ns0 = findWithCheck('0', '1');
    const QString ns1 = findWithCheck('1', '1');
    EXPECT_EQ(Digits_Parity(ZBUPCEBarcode(ns0).completeBarcode(), 3, 6), "GGLGLL");
    EXPECT_EQ(Digits_Parity(ZBUPCEBarcode(ns1).completeBarcode(), 3, 6), "LLGLGG");

    // The last two bars of the end guard reach down, its first does not.
    e.setCaptionHeight(0.25f);
    EXPECT_FLOAT_EQ(e.barBottom(46), 0.25f * 72);
    EXPECT_FLOAT_EQ(e.barBottom(48), 3.6f);
    EXPECT_FLOAT_EQ(e.barBottom(50), 3.6f);
    EXPECT_EQ(ZBUPCEBarcode::UPCAToUPCE(QStringLiteral("012000003455")), QStringLiteral("123450"));
}

// ------------------------------------------------------------------ postal

// Bar heights (points) of a POSTNET/PLANET symbol, one per bar.
std::vector<float> Bar_Heights(const ZBBarcode& b)
{
    std::vector<float> h;
    const std::string bars = b.completeBarcode();
    for (size_t n = 0; n < bars.size(); ++n)
        if (bars[n] == '1')
            h.push_back(b.barTop(int(n)));
    return h;
}

TEST(Postal, PostnetAndPlanetBarHeights)
{
    // 12345 and its check digit 5, bar by bar from the POSTNET table:
    // frame, 1 sssTT, 2 ssTsT, 3 ssTTs, 4 sTssT, 5 sTsTs, 5 sTsTs, frame.
    const std::string tallShort = "T" "sssTT" "ssTsT" "ssTTs" "sTssT" "sTsTs" "sTsTs" "T";
    ZBPostnetBarcode p(QStringLiteral("12345"));
    EXPECT_EQ(p.checkDigit(), '5');
    EXPECT_EQ(p.completeBarcode().size(), 94u);
    EXPECT_FLOAT_EQ(p.barWidth(), 1.08f);
    EXPECT_FLOAT_EQ(p.height(), 9.0f);
    const std::vector<float> h = Bar_Heights(p);
    ASSERT_EQ(h.size(), tallShort.size());
    for (size_t i = 0; i < h.size(); ++i)
        EXPECT_FLOAT_EQ(h[i], tallShort[i] == 'T' ? 9.0f : 3.6f) << i;

    ZBPlanetBarcode planet(QStringLiteral("12345"));
    EXPECT_EQ(planet.checkDigit(), '5');
    const std::vector<float> hp = Bar_Heights(planet);
    ASSERT_EQ(hp.size(), tallShort.size());
    EXPECT_FLOAT_EQ(hp.front(), 9.0f);
    EXPECT_FLOAT_EQ(hp.back(), 9.0f);
    for (size_t i = 1; i + 1 < hp.size(); ++i)
        EXPECT_FLOAT_EQ(hp[i], tallShort[i] == 'T' ? 3.6f : 9.0f) << i;

    EXPECT_TRUE(ZBPlanetBarcode(QStringLiteral("1234567890123")).isContentValid());
    EXPECT_FALSE(ZBPostnetBarcode(QStringLiteral("1234567890123")).isContentValid());
    for (const char* v : {"123456", "1234567890", "1234-5678", "12345678901"})
        EXPECT_EQ(ZBPostnetBarcode(QString::fromLatin1(v)).isContentValid(), std::string(v).size() == 11) << v;
}

// Bar states (F A D T) of a four-state symbol, one per bar.
std::string States(const ZBBarcode& b, float topFull, float bottomNone)
{
    std::string s;
    const std::string bars = b.completeBarcode();
    for (size_t n = 0; n < bars.size(); ++n) {
        if (bars[n] != '1')
            continue;
        const bool up = b.barTop(int(n)) >= topFull - 1e-3f;
        const bool down = b.barBottom(int(n)) <= bottomNone + 1e-3f;
        s += up && down ? 'F' : up ? 'A' : down ? 'D' : 'T';
    }
    return s;
}

TEST(Postal, RoyalMailFourStates)
{
    ZBRoyalMailBarcode rm(QStringLiteral("SN34RD1A"));
    EXPECT_EQ(rm.checkDigit(), 'K');
    // Lower case is upper-cased (the older rule drew its letters as trackers,
    // which reads as other data).
    ZBRoyalMailBarcode lower(QStringLiteral("sn34rd1a"));
    EXPECT_TRUE(lower.isContentValid());
    EXPECT_EQ(lower.completeBarcode(), rm.completeBarcode());
    EXPECT_EQ(lower.checkDigit(), 'K');

    // "1A" by hand from the RM4SCC table: start ascender; '1' TDAF; 'A' DADA;
    // check 'C' (rows 1+2, columns 2+5) TAFD; stop full.
    ZBRoyalMailBarcode s(QStringLiteral("1A"));
    EXPECT_EQ(s.checkDigit(), 'C');
    const float mm = 72.0f / 25.4f;
    EXPECT_EQ(States(s, 5.05f * mm, 0.0f), "A" "TDAF" "DADA" "TAFD" "F");
    EXPECT_NEAR(s.barTop(3), 3.15f * mm, 1e-4);    // the descender stops at 3.15 mm
    EXPECT_NEAR(s.barBottom(2), 1.9f * mm, 1e-4);  // the tracker starts at 1.9 mm
    EXPECT_EQ(s.completeBarcode().size(), size_t(2 + 8 * 3 + 1));
    EXPECT_TRUE(s.isFourState());
    // Caption, header and footer follow the settings (hidden texts used to be
    // drawn anyway, the caption touching the bars).
    s.setPrintsCaption(false);
    s.setPrintsHeader(false);
    s.setPrintsFooter(false);
    EXPECT_FALSE(s.printsCaption() || s.printsHeader() || s.printsFooter());
    EXPECT_FALSE(ZBPostnetBarcode(QStringLiteral("12345")).isFourState());

    EXPECT_EQ(ZBRoyalMailBarcode::Character_States('0'), (std::array<int, 4>{0, 0, 3, 3}));
    EXPECT_EQ(ZBRoyalMailBarcode::Character_States('Z'), (std::array<int, 4>{3, 3, 0, 0}));
}

TEST(Postal, JapanPostConversionAndSymbol)
{
    JapanPostBarcode j(QStringLiteral("1234567"));
    EXPECT_EQ(j.japanpostContents(), QStringLiteral("1234567") + QString(13, QLatin1Char('=')));
    EXPECT_TRUE(j.isContentValid());
    // 1+...+7 + 13 x 14 = 210; 19 - 210 mod 19 = 18: CC8.
    EXPECT_EQ(j.checkDigit(), '/');
    EXPECT_EQ(j.completeBarcode().size(), 133u);
    // By hand from the customer-barcode table: start FD, 1 FFT, 2 FDA,
    // 3 DFA, 4 FAD, 5 FTF, 6 DAF, 7 AFD, thirteen CC4 TDA, CC8 FFF, stop DF.
    std::string expected = "FD" "FFT" "FDA" "DFA" "FAD" "FTF" "DAF" "AFD";
    for (int i = 0; i < 13; ++i)
        expected += "TDA";
    expected += "FFF" "DF";
    const float pt = 1.0f / 0.3527777777777777f;
    EXPECT_EQ(States(j, 3.6f * pt, 0.0f), expected);
    EXPECT_NEAR(j.barTop(9), 2.4f * pt, 1e-3);
    EXPECT_TRUE(j.isFourState());

    EXPECT_EQ(JapanPostBarcode(QStringLiteral("1234567a")).japanpostContents().left(9), QStringLiteral("1234567:0"));
    EXPECT_EQ(JapanPostBarcode(QStringLiteral("1234567K")).japanpostContents().left(9), QStringLiteral("1234567;0"));
    EXPECT_EQ(JapanPostBarcode(QStringLiteral("1234567Z")).japanpostContents().left(9), QStringLiteral("1234567<5"));
    EXPECT_FALSE(JapanPostBarcode(QStringLiteral("123-4567")).isContentValid());

    // More than 20 symbols: the letter whose digit is cut leaves the content,
    // and the filler takes the place of its control symbol (a control symbol
    // without its digit reads as other data).
    JapanPostBarcode longer(QStringLiteral("1234567ABCDEFGHIJ"));
    EXPECT_EQ(longer.japanpostContents(), QStringLiteral("1234567:0:1:2:3:4:5="));
    EXPECT_EQ(longer.content(), QStringLiteral("1234567ABCDEF"));
    EXPECT_TRUE(longer.isContentValid());
    // A cut between a letter's two symbols never happens when the 20th is a digit.
    JapanPostBarcode even(QStringLiteral("12345670ABCDEFGHIJ"));
    EXPECT_EQ(even.japanpostContents(), QStringLiteral("12345670:0:1:2:3:4:5"));

    // The nominal size scales the bars; the outer height (bars and texts) is
    // the caller's and is never clamped, so texts cannot push the bars out.
    JapanPostBarcode sized(QStringLiteral("1234567"));
    EXPECT_FLOAT_EQ(sized.size(), 10.0f);
    EXPECT_NEAR(sized.height(), 3.6f * pt, 1e-4);   // as high as its full bars
    sized.setSize(20);
    EXPECT_FLOAT_EQ(sized.size(), 11.5f);
    EXPECT_FLOAT_EQ(sized.barWidth(), 11.5f / 6);
    EXPECT_NEAR(sized.barTop(0), 3.6f * 1.15f * pt, 1e-3);
    sized.setBarWidth(1.0f);
    EXPECT_FLOAT_EQ(sized.barWidth(), 4.0f / 3);
    EXPECT_FLOAT_EQ(sized.size(), 8.0f);
    EXPECT_FLOAT_EQ(sized.width(), 133 * 4.0f / 3);
    sized.setHeight(60.0f);
    EXPECT_FLOAT_EQ(sized.height(), 60.0f);
    EXPECT_FLOAT_EQ(sized.size(), 8.0f);
}

// --------------------------------------------------------------- bad input

TEST(LinearBadInput, RefusedWithoutSymbol)
{
    const struct {
        const char* type;
        std::vector<const char*> bad;
    } cases[] = {
        {"Code 39", {"", "abc*", "A_B", "A\tB", "~"}},
        {"Extended Code 39", {""}},
        {"Codabar", {"", "123", "A1", "a12b", "A1B2B", "A1E", "A1;B"}},
        {"Interleaved 2 of 5", {"", "12a4", " 1234", "12-34"}},
        {"Industrial 2 of 5", {"", "1.5", "x"}},
        {"Modified Plessey", {"", "12A", "1 2", "-1"}},
        {"Modified Plessey (Hex)", {"", "12G", "1-2"}},
        {"Code 128", {"", "a\t\tb\t", "\x7f\x01", "ab\x1f\x1e\x1d"}},
        {"Code 128 SET A", {"", "abc", "A`B", "{"}},
        {"Code 128 SET B", {"", "A\tB", "\n"}},
        {"Code 128 SET C", {"", "12a4", "1 2", "+1"}},
        {"UPCA", {"", "1234567890", "1234567890123", "0360002914a", "036000291453"}},
        {"UPCE", {"", "012345", "01234567", "2123456", "012345A", " 123456",
                  // values with no UPC-E form under the zero-suppression rules
                  "1790107", "1015109", "1107307", "0120003", "0122003", "0123004", "0123405"}},
        {"EAN-13", {"", "12345678901", "4006381333932", "40063813339a", "400638133393a", "40063813339312"}},
        {"EAN-8", {"", "123456", "123456A", "12345671", "123456789"}},
        {"PostNet", {"", "1234", "123456", "1234567890123", "1234a"}},
        {"Planet", {"", "1234", "123456789012", "12345678901234", "12 45"}},
        {"Royal Mail Barcode (RM4SCC / CBC)", {"", "AB-1", "AB 1", "A.B", "\t"}},
        {"Japan Post Barcode", {"", "123456", "123-4567", "1234567#", "abc1234567", "1234567 8"}},
    };
    for (const auto& c : cases) {
        for (const char* v : c.bad) {
            SCOPED_TRACE(std::string(c.type) + " [" + v + "]");
            auto b = Make_Linear_Barcode(QString::fromLatin1(c.type), QString::fromLatin1(v));
            ASSERT_NE(b, nullptr);
            EXPECT_FALSE(b->isContentValid());
            EXPECT_FALSE(b->invalidReason().isEmpty());
            EXPECT_TRUE(b->completeBarcode().empty());
            EXPECT_TRUE(b->barcode().empty());
            b->setBarWidth(1);
            // Reading the geometry of a refused symbol is harmless.
            for (int n = -1; n < 140; ++n) {
                (void)b->barTop(n);
                (void)b->barBottom(n);
            }
            (void)b->caption();
            (void)b->leftCaption();
            (void)b->rightCaption();
        }
    }
}

// The cause of a refusal names what to fix; each symbology's rule has its line.
TEST(LinearBadInput, CauseNamesWhatToFix)
{
    const struct {
        const char* type;
        const char* value;
        const char* cause;
    } cases[] = {
        {"Code 39", "", "The value is empty."},
        {"Code 39", "ab*c~*", "Characters not allowed: '*', '~'. Code 39 takes 0-9, A-Z, space and - . $ / + %."},
        {"Code 39", "A\tB", "Characters not allowed: tab."},
        {"Codabar", "A12", "A Codabar value starts and ends with one of A, B, C, D and has at least one character between them."},
        {"Codabar", "A1B2C", "A, B, C and D may only start and end a Codabar value."},
        {"Interleaved 2 of 5", "12 4", "Characters not allowed: space. Interleaved 2 of 5 takes the digits 0-9."},
        {"Modified Plessey (Hex)", "12G", "Characters not allowed: 'G'. Modified Plessey (Hex) takes 0-9 and A-F."},
        {"Code 128 SET A", "Ab", "Characters not allowed: 'b'. Code 128 set A takes"},
        {"Code 128 SET B", "A\x1f", "Characters not allowed: U+001F."},
        {"Code 128 SET C", "12a4", "Characters not allowed: 'a'. Code 128 set C takes the digits 0-9."},
        {"Code 128", "a\tb", "One Code 128 symbol uses one code set: tab (set A only) and 'a', 'b' (set B only) cannot be mixed."},
        {"UPCA", "1234567890", "UPC-A takes 11 digits, or 12 with the right check digit; this value has 10."},
        {"UPCA", "036000291453", "The check digit of 03600029145 is 2, not 3."},
        {"UPCE", "1790107", "A UPC-E value ending in 5-9 cannot have 0 as its sixth digit (zero-suppression rules)."},
        {"UPCE", "0120003", "A UPC-E value ending in 3 needs 3-9 as its fourth digit"},
        {"UPCE", "0123004", "A UPC-E value ending in 4 cannot have 0 as its fifth digit"},
        {"UPCE", "2123456", "A UPC-E value starts with its number system, 0 or 1."},
        {"UPCE", "012345", "UPC-E takes 7 digits"},
        {"EAN-13", "4006381333932", "The check digit of 400638133393 is 1, not 2."},
        {"EAN-13", "40063813339312", "EAN-13 takes 12 digits, or 13 with the right check digit; this value has 14."},
        {"EAN-13", "400638133393a", "Characters not allowed: 'a'. EAN-13 takes the digits 0-9."},
        {"EAN-8", "12345671", "The check digit of 1234567 is 0, not 1."},
        {"EAN-8", "123456789", "EAN-8 takes 7 digits, or 8 with the right check digit; this value has 9."},
        {"PostNet", "123456", "POSTNET takes 5, 9 or 11 digits; this value has 6."},
        {"Planet", "1234", "PLANET takes 5, 9, 11 or 13 digits; this value has 4."},
        {"Royal Mail Barcode (RM4SCC / CBC)", "AB-1", "Characters not allowed: '-'. Royal Mail takes 0-9 and A-Z."},
        {"Japan Post Barcode", "1234567#?#", "Characters not allowed: '#', '?'. Japan Post takes 0-9, A-Z and -."},
        {"Japan Post Barcode", "abc1234567", "A Japan Post value starts with the 7 digits of the postal code."},
        {"Japan Post Barcode", "###", "Characters not allowed: '#'."},
        {"Extended Code 39", "caf\u00e9 \u4e2d", "Characters not allowed: '\u00e9', '\u4e2d'."},
        // Beyond ASCII, the other characters the symbology refuses are named too
        // (after its own case folding).
        {"EAN-13", "caf\u00e9", "Characters not allowed: 'c', 'a', 'f', '\u00e9'."},
        {"Code 39", "caf\u00e9*", "Characters not allowed: '\u00e9', '*'."},
        {"Code 128", "a\tb\u00e9", "Characters not allowed: '\u00e9'."},
        {"Japan Post Barcode", "1234567ab#\u00e9", "Characters not allowed: '#', '\u00e9'."},
        {"Code 39", "abcdefghijklmnopqrstuvwxyz~`!", "Characters not allowed: '~', '`', '!'."},
        {"Code 128 SET B", "\x01\x02\x03\x04\x05\x06\x07\x08\x0b\x0c", "Characters not allowed: U+0001, U+0002, U+0003, U+0004, U+0005, U+0006, U+0007, U+0008 and more."},
    };
    for (const auto& c : cases) {
        const QString value = QString::fromUtf8(c.value);
        SCOPED_TRACE(std::string(c.type) + " [" + c.value + "]");
        const QString cause = Linear_Invalid_Reason(QString::fromLatin1(c.type), value);
        EXPECT_TRUE(cause.startsWith(QString::fromUtf8(c.cause))) << cause.toStdString();
    }
    EXPECT_EQ(Linear_Invalid_Reason(QStringLiteral("UPCE"), QStringLiteral("0123456")), QString());
    EXPECT_EQ(Linear_Invalid_Reason(QStringLiteral("QR Code"), QStringLiteral("x")), QString());
}

// The cause and the validity never disagree, over random values of every type.
TEST(LinearBadInput, CauseIsGivenExactlyForRefusedValues)
{
    std::mt19937 gen(33);
    const QByteArray pool = "0123456789ABCDEFabcxyz-.$/+%*: \t\x01\x7f";
    for (const char* type : {"Code 39", "Extended Code 39", "Codabar", "Interleaved 2 of 5", "Industrial 2 of 5",
                             "Modified Plessey", "Modified Plessey (Hex)", "Code 128", "Code 128 SET A",
                             "Code 128 SET B", "Code 128 SET C", "UPCA", "UPCE", "EAN-13", "EAN-8", "PostNet",
                             "Planet", "Royal Mail Barcode (RM4SCC / CBC)", "Japan Post Barcode"}) {
        SCOPED_TRACE(type);
        int valid = 0;
        for (int i = 0; i < 3000; ++i) {
            // Mostly digits, so that the length rules are met now and then.
            QString v;
            const int len = std::uniform_int_distribution<int>(0, 14)(gen);
            const bool digitsOnly = i % 2 == 0;
            for (int k = 0; k < len; ++k)
                v += QLatin1Char(pool[std::uniform_int_distribution<int>(0, digitsOnly ? 9 : int(pool.size()) - 1)(gen)]);
            if (i % 7 == 0)
                v = QStringLiteral("A") + v + QStringLiteral("B");
            auto b = Make_Linear_Barcode(QString::fromLatin1(type), v);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->isContentValid(), b->invalidReason().isEmpty()) << v.toStdString();
            valid += b->isContentValid();
        }
        EXPECT_GT(valid, 0);
    }
}

} // namespace
