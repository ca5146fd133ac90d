// Barcode sizes, units, DPI choice, type names and the settings owner's metrics.
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/view/BarcodeText.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeSettingsOwner.h"
#include "barcode/engines/SymbologyTable.h"

#include <gtest/gtest.h>

TEST(BarcodeUnits, LengthsBecomePoints)
{
    // 0.393701, not 1 / 2.54: one centimetre is 28.346472 points.
    EXPECT_FLOAT_EQ(Unit_To_Points(1.0f, Unit_Centimetre), 28.346472f);
    EXPECT_FLOAT_EQ(Unit_To_Points(10.0f, Unit_Millimetre), 28.346472f);
    EXPECT_FLOAT_EQ(Unit_To_Points(0.1f, Unit_Inch), 7.2f);
    EXPECT_FLOAT_EQ(Unit_To_Points(1.0f, 7), 72.0f);  // unknown codes count as inch
    EXPECT_FLOAT_EQ(Mils_To_Points(10.0f), 0.72f);
}

namespace {

BarcodeSettings Sized(int unit, float bar, float lr)
{
    BarcodeSettings s;
    s.unit = unit;
    s.bar_height = bar;
    s.val_mar = s.hdr_mar = s.ftr_mar = s.TB_mar = 0.0f;
    s.LR_mar = lr;
    s.hide_value = s.hide_header = s.hide_footer = true;
    return s;
}

} // namespace

TEST(BarcodeDimensions, LinearWorkedValues)
{
    // 10 mm of bars with every text hidden and no margins: 28.346472 points;
    // a left-right margin of 0.1 inch adds 2 x 7.2 + 15 points.
    BarcodeSettings s = Sized(Unit_Millimetre, 10.0f, 0.0f);
    Set_Barcode_Type(s, QStringLiteral("Code 128"));
    const auto b = Make_Barcode(s, QStringLiteral("ABC123"), QStringLiteral("HEADER"), QStringLiteral("FOOTER")).barcode;
    ASSERT_TRUE(b);
    EXPECT_FLOAT_EQ(b->height(), 28.346472f);
    const float bars = float(b->completeBarcode().size()) * b->barWidth();
    EXPECT_FLOAT_EQ(b->width(), bars);

    BarcodeSettings t = Sized(Unit_Inch, 10.0f / 25.4f, 0.1f);
    Set_Barcode_Type(t, QStringLiteral("Code 128"));
    const BarcodeMakeResult c = Make_Barcode(t, QStringLiteral("ABC123"), QString(), QString());
    ASSERT_TRUE(c.barcode);
    EXPECT_FLOAT_EQ(c.barcode->width(), bars + 14.4f + 15.0f);
    EXPECT_FLOAT_EQ(c.settings.LR_margin, 7.2f);
}

TEST(BarcodeDimensions, HiddenTextsTakeNoRoom)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("Code 39"));
    s.unit = Unit_Inch;
    s.bar_height = 1.0f;
    s.val_mar = 0.5f;  // a value margin, but the caption hidden
    s.hdr_mar = 0.25f;
    s.ftr_mar = 0.125f;
    s.TB_mar = 0.0f;
    s.LR_mar = 0.0f;
    s.hide_value = true;
    s.hide_header = true;
    s.HeaderText = QStringLiteral("A VERY LONG HEADER THAT IS WIDER THAN THE BARS OF THE SYMBOL");
    const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("12"), s.HeaderText, QStringLiteral("F"));
    const auto& b = r.barcode;
    ASSERT_TRUE(b);
    const double fh = zbtext::Text_Height_Inches(s.footer_font) * 72.0;
    EXPECT_NEAR(b->height(), 72.0 + fh + 9.0, 1e-3);
    EXPECT_FLOAT_EQ(r.settings.value_margin, 0.0f);
    EXPECT_FLOAT_EQ(r.settings.header_margin, 0.0f);
    // The hidden header's width takes no part either.
    EXPECT_FLOAT_EQ(b->width(), float(b->completeBarcode().size()) * b->barWidth());
}

TEST(BarcodeDimensions, TwoDFrame)
{
    BarcodeSettings s;
    s.unit = Unit_Inch;
    s.val_mar = 1.0f;  // never part of a 2D frame
    s.hdr_mar = 0.1f;
    s.ftr_mar = 0.2f;
    s.TB_mar = 0.05f;
    s.LR_mar = 0.0f;
    s.header = QStringLiteral("H");
    s.footer = QStringLiteral("F");
    s.printsHeader = true;
    s.printsFooter = false;
    s.hide_footer = true;
    setHeaderFontSize(s, 10);
    setFooterFontSize(s, 10);
    Set_2d_Barcode_Height(s, QSizeF(60, 60));
    Set_2d_Barcode_Width(s, QSizeF(60, 60));
    EXPECT_NEAR(s.height, 60.0 + s.headerHeight * 72.0 + 7.2 + 7.2, 1e-4);
    EXPECT_FLOAT_EQ(s.width, 60.0f);
    s.LR_mar = 0.1f;
    Set_2d_Barcode_Width(s, QSizeF(60, 60));
    EXPECT_FLOAT_EQ(s.width, 60.0f + 14.4f + 15.0f);
}

TEST(BarcodeDimensions, DpiChoice)
{
    const QStringList& items = DPI_Choice_Items();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items.first(), QStringLiteral("Auto"));
    EXPECT_EQ(items.last(), QStringLiteral("Custom"));
    EXPECT_EQ(DPI_For_Choice(0, 100), 600);
    const int custom = int(items.size()) - 1;
    EXPECT_EQ(DPI_For_Choice(custom, 300), 300);
    EXPECT_EQ(DPI_For_Choice(custom, 10), 72);
    EXPECT_EQ(DPI_For_Choice(custom, 100000), 2400);
    for (int i = 1; i < custom; ++i)
        EXPECT_EQ(DPI_For_Choice(i, 0), items[i].toInt());
    BarcodeSettings s;
    s.dpi_choice = custom;
    s.custom_dpi = 5000;
    Apply_DPI_Choice(s);
    EXPECT_EQ(s.USED_DPI_VALUE, 2400);
    EXPECT_EQ(DPI_Help_Title(), QStringLiteral("DPI (Dots Per Inch) :"));
}

TEST(SymbologyTable, PopupOrderFamiliesAndSamples)
{
    // The order of the barcode type names of the design file format; stored
    // indexes refer to it.
    const QStringList& names = Symbology_Titles();
    ASSERT_EQ(names.size(), 22);
    EXPECT_EQ(names.first(), QStringLiteral("Code 39"));
    EXPECT_EQ(names[2], QStringLiteral("Interleaved 2 of 5"));
    EXPECT_EQ(names[3], QStringLiteral("UPCA"));
    EXPECT_EQ(names[9], QStringLiteral("Code 128"));
    EXPECT_EQ(names[13], QStringLiteral("Codabar"));
    EXPECT_EQ(names[16], QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"));
    EXPECT_EQ(Symbology_Index(QStringLiteral("PDF417")), 20);
    EXPECT_EQ(names.last(), QStringLiteral("DataMatrix"));
    EXPECT_EQ(Symbology_Index(QStringLiteral("Code 93")), -1);
    EXPECT_EQ(Symbology_At(22), nullptr);
    int linear = 0;
    for (const Symbology& s : Symbology_Table()) {
        SCOPED_TRACE(s.title);
        EXPECT_EQ(&Symbology_Of(s.id), &s);
        EXPECT_EQ(Is_Linear_Barcode_Type(s.name()), !s.isTwoD());
        EXPECT_EQ(s.pane == OptionPane::Linear, !s.isTwoD());
        linear += s.isTwoD() ? 0 : 1;
        // Every sample is made of characters the symbology takes.
        for (QChar c : s.sampleValue())
            EXPECT_TRUE(s.allows(c)) << QString(c).toStdString();
    }
    EXPECT_EQ(linear, 19);
    EXPECT_TRUE(Is_Accepted_2D_Title(QStringLiteral("AZTEC")));
    EXPECT_FALSE(Is_TwoD_Symbology(QStringLiteral("AZTEC")));
    EXPECT_FALSE(Is_Accepted_2D_Title(QStringLiteral("Code 39")));
    // The character sets that explain a refusal.
    const Symbology& code39 = Symbology_Of(SymbologyId::Code39);
    EXPECT_TRUE(code39.allows(QLatin1Char('-')));
    EXPECT_TRUE(code39.allows(QLatin1Char(' ')));
    EXPECT_FALSE(code39.allows(QLatin1Char('a')));
    EXPECT_FALSE(code39.allows(QLatin1Char('#')));
    EXPECT_FALSE(Symbology_Of(SymbologyId::Code128A).allows(QLatin1Char('a')));
    EXPECT_TRUE(Symbology_Of(SymbologyId::Codabar).allows(QLatin1Char('$')));
    EXPECT_FALSE(Symbology_Of(SymbologyId::Code128).allows(QChar(0xe9)));
    EXPECT_TRUE(Symbology_Of(SymbologyId::QRCode).allows(QChar(0x4e2d)));
}

TEST(BarcodeSettingsOwner, FontSizeSettersDeriveMetrics)
{
    BarcodeSettings s;
    s.value_font = QFont(QStringLiteral("DejaVu Sans"));
    s.value_font.setPointSizeF(20);
    setCaptionFontSize(s, 100.0f);  // the size passed plays no part in the height
    EXPECT_FLOAT_EQ(s.caption_fontSize, 100.0f);
    const double cap = zbtext::Cap_Height(s.value_font);
    EXPECT_NEAR(cap, 20 * 0.729, 0.5);  // DejaVu Sans: cap height 0.729 em
    EXPECT_NEAR(s.captionHeight, cap / 72.0 * 1.35, 1e-6);
    // Header width from the text held at the time of the call.
    s.header = QString();
    setHeaderFontSize(s, 10);
    EXPECT_FLOAT_EQ(s.headerWidth, 0.0f);
    s.header = QStringLiteral("HEADER");
    setHeaderFontSize(s, 10);
    EXPECT_GT(s.headerWidth, 20.0f);
    EXPECT_LT(s.headerWidth, 80.0f);
    // A fresh value answers an empty header.
    EXPECT_TRUE(BarcodeSettings().header.isEmpty());
}


// Royal Mail and Japan Post bars have lengths of their own: a bar height set
// lower than them still leaves room for the longest bar between the caption
// below and the header above, so the header is never drawn over the bars.
TEST(BarcodeDimensions, FourStateBarsFitUnderTheHeaderAtAnyBarHeight)
{
    const struct {
        const char* type;
        const char* value;
    } cases[] = {{"Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A"}, {"Japan Post Barcode", "1234567"}};
    for (const auto& c : cases) {
        for (const float cm : {0.1f, 0.3f, 1.0f, 2.0f}) {
            BarcodeSettings s;
            Set_Barcode_Type(s, QString::fromLatin1(c.type));
            s.unit = Unit_Centimetre;
            s.bar_height = cm;
            const BarcodeMakeResult r =
                Make_Barcode(s, QString::fromLatin1(c.value), QStringLiteral("HEADER"), QStringLiteral("FOOTER"));
            ASSERT_TRUE(r.barcode) << c.type << " " << r.reason.toStdString();
            const ZBBarcode& b = *r.barcode;
            const BarcodeSettings& t = r.settings;
            double longest = 0.0;
            const std::string bars = b.completeBarcode();
            for (size_t i = 0; i < bars.size(); ++i)
                if (bars[i] == '1')
                    longest = std::max(longest, double(b.barTop(int(i))));
            const double below = b.captionHeight() * 72.0 + t.value_margin + b.footerHeight() * 72.0
                + t.footer_margin + t.TB_margin;
            const double above = b.headerHeight() * 72.0 + t.header_margin + t.TB_margin;
            EXPECT_GE(b.height() + 1e-3, below + longest + above) << c.type << " at " << cm << " cm";
            // A bar height above the bars' own length is kept as set.
            const double set = Unit_To_Points(cm, Unit_Centimetre);
            if (set > longest) {
                EXPECT_NEAR(b.height(), below + set + above, 1e-3) << c.type << " at " << cm << " cm";
            }
            EXPECT_FALSE(r.image.isNull());
        }
    }
}
