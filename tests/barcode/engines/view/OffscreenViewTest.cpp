// The off-screen barcode view: bar runs, frame sizes, 2D framing, colours and
// the PDF data it makes.
#include "barcode/engines/view/BarcodeImage.h"
#include "barcode/engines/view/BarcodeText.h"
#include "barcode/engines/view/ZBBarcodeOffscreenView.h"
#include "common/TestSupport.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <zlib.h>

namespace {

// Settings with no margins and the texts off, so the bars fill the frame.
BarcodeSettings Bare_Settings()
{
    BarcodeSettings s;
    s.value_margin = s.header_margin = s.footer_margin = s.TB_margin = s.LR_margin = 0.0f;
    return s;
}

LinearSymbol Symbol_Of(const QByteArray& bars, double module, double frameWidth, double height)
{
    LinearSymbol b;
    b.bars = bars;
    b.barWidth = module;
    b.width = frameWidth;
    b.height = height;
    b.barTop.assign(size_t(bars.size()), height);
    b.barBottom.assign(size_t(bars.size()), 0.0);
    return b;
}

// Renders a view one pixel a point, white under it.
QImage Render(const ZBBarcodeOffscreenView& view, double scale = 1.0)
{
    const QRectF b = view.bounds();
    QImage img(int(std::ceil(b.width() * scale)), int(std::ceil(b.height() * scale)),
               QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(scale, scale);
    view.drawRect(p);
    return img;
}

bool Dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 100; }

// Dark pixels along one row, as a string of '1' and '0'.
QByteArray Row_Of(const QImage& img, int y)
{
    QByteArray out;
    for (int x = 0; x < img.width(); ++x)
        out += Dark(img, x, y) ? '1' : '0';
    return out;
}

QByteArray Inflate(const QByteArray& in)
{
    QByteArray out(int(in.size()) * 20 + 4096, 0);
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return {};
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = uInt(in.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    inflate(&zs, Z_FINISH);
    out.resize(qsizetype(zs.total_out));
    inflateEnd(&zs);
    return out;
}

// The content streams of a PDF, inflated.
QByteArray Pdf_Content(const QByteArray& pdf)
{
    QByteArray all;
    qsizetype pos = 0;
    while ((pos = pdf.indexOf("stream\n", pos)) >= 0) {
        const qsizetype start = pos + 7;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        const QByteArray raw = pdf.mid(start, end - start);
        const QByteArray dict = pdf.mid(std::max<qsizetype>(0, pos - 300), 300);
        all += dict.contains("FlateDecode") ? Inflate(raw) : raw;
        all += '\n';
        pos = end;
    }
    return all;
}

} // namespace

TEST(OffscreenView, BarRunsFollowTheBarString)
{
    // 1101 at 2 points a module: width 4 at x0, width 2 at x0 + 6; a string
    // ending in '0' draws nothing for its trailing spaces.
    const BarcodeSettings s = Bare_Settings();
    struct Case { QByteArray bars; QByteArray row; };
    const Case cases[] = {
        {"1101", "000000" "1111" "00" "11" "000000"},
        {"11010", "00000" "1111" "00" "11" "00" "00000"},
        {"0111", "000000" "00" "111111" "000000"},
    };
    for (const Case& c : cases) {
        const double W = c.bars.size() * 2.0;
        const LinearSymbol b = Symbol_Of(c.bars, 2.0, W + 12.0 - (c.bars.size() == 5 ? 2.0 : 0.0), 20.0);
        ZBBarcodeOffscreenView view(b, s);
        const QImage img = Render(view);
        EXPECT_EQ(Row_Of(img, 10), c.row) << c.bars.constData();
    }
}

TEST(OffscreenView, LinearFrameIgnoresUnprintedTexts)
{
    const BarcodeSettings s = Bare_Settings();
    LinearSymbol b = Symbol_Of("1010", 1.0, 30.0, 40.0);
    b.headerWidth = 80.0;
    b.footerWidth = 60.0;
    EXPECT_DOUBLE_EQ(ZBBarcodeOffscreenView(b, s).bounds().width(), 30.0);
    b.printsFooter = true;
    EXPECT_DOUBLE_EQ(ZBBarcodeOffscreenView(b, s).bounds().width(), 60.0);
    b.printsHeader = true;
    EXPECT_DOUBLE_EQ(ZBBarcodeOffscreenView(b, s).bounds().width(), 80.0);
    EXPECT_DOUBLE_EQ(ZBBarcodeOffscreenView(b, s).bounds().height(), 40.0);
    // The page of a linear view is the symbol's own size; a 2D view has none.
    ZBBarcodeOffscreenView v(b, s);
    EXPECT_EQ(v.rectForPage(3), QRectF(0, 0, 30.0, 40.0));
    int first = 0, count = 0;
    EXPECT_TRUE(v.knowsPageRange(first, count));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(ZBBarcodeOffscreenView(PtImage(QImage(4, 4, QImage::Format_RGB32)), s).rectForPage(1),
              QRectF(0, 0, 0, 0));
}

TEST(OffscreenView, TwoDImageIsCentredBelowTheTopMargin)
{
    BarcodeSettings s = Bare_Settings();
    s.printsHeader = false;
    s.printsFooter = false;
    s.TB_margin = 5.0f;
    s.header_margin = 3.0f;
    s.width = 40.0f;
    s.height = 40.0f;
    QImage sym(10, 10, QImage::Format_RGB32);
    sym.fill(Qt::black);
    const QImage img = Render(ZBBarcodeOffscreenView(PtImage(sym), s));
    // Centred across (x 15..24) and 8 points below the top (y 8..17).
    EXPECT_EQ(Row_Of(img, 12), QByteArray(15, '0') + QByteArray(10, '1') + QByteArray(15, '0'));
    EXPECT_FALSE(Dark(img, 20, 7));
    EXPECT_TRUE(Dark(img, 20, 8));
    EXPECT_TRUE(Dark(img, 20, 17));
    EXPECT_FALSE(Dark(img, 20, 18));

    // A wider image starts left of the bounds.
    s.width = 6.0f;
    const QImage narrow = Render(ZBBarcodeOffscreenView(PtImage(sym), s));
    EXPECT_TRUE(Dark(narrow, 0, 12));
    EXPECT_TRUE(Dark(narrow, 5, 12));
}

TEST(OffscreenView, TextsTakeTheirOwnColoursAndAlignment)
{
    // The header is drawn in the chosen header colour, the footer in its own.
    BarcodeSettings s = Bare_Settings();
    s.bar_hdr_clr = QColor(255, 0, 0);
    s.bar_ftr_clr = QColor(0, 0, 255);
    s.align_hdr = QStringLiteral("Left");
    s.align_ftr = QStringLiteral("Right");
    s.header_font = QFont(QStringLiteral("DejaVu Sans"));
    s.header_font.setPointSizeF(12);
    s.footer_font = s.header_font;
    LinearSymbol b = Symbol_Of("101", 2.0, 200.0, 80.0);
    b.printsHeader = b.printsFooter = true;
    b.header = QStringLiteral("HH");
    b.footer = QStringLiteral("FF");
    b.headerHeight = zbtext::Text_Height_Inches(s.header_font);
    b.footerHeight = b.headerHeight;
    for (double& t : b.barTop)
        t = 20.0;
    const QImage img = Render(ZBBarcodeOffscreenView(b, s), 2.0);
    int redMin = img.width(), redMax = -1, blueMin = img.width(), blueMax = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) {
                redMin = std::min(redMin, x);
                redMax = std::max(redMax, x);
                EXPECT_LT(y, img.height() / 2);
            } else if (c.blue() > 200 && c.red() < 80 && c.green() < 80) {
                blueMin = std::min(blueMin, x);
                blueMax = std::max(blueMax, x);
                EXPECT_GT(y, img.height() / 2);
            }
        }
    ASSERT_GE(redMax, 0) << "no header in its colour";
    ASSERT_GE(blueMax, 0) << "no footer in its colour";
    EXPECT_LT(redMin, img.width() / 4);    // left
    EXPECT_GT(blueMax, img.width() * 3 / 4);  // right
    // An unknown alignment name leaves the left default.
    EXPECT_EQ(zbtext::Align_From_Name(QStringLiteral("Middle")), zbtext::Align::Left);
}

TEST(OffscreenView, CaptionAboveOrBelowTheBars)
{
    BarcodeSettings s = Bare_Settings();
    s.value_font = QFont(QStringLiteral("DejaVu Sans"));
    s.value_font.setPointSizeF(10);
    LinearSymbol b = Symbol_Of(QByteArray(40, '1'), 1.0, 60.0, 60.0);
    b.printsCaption = true;
    b.caption = QStringLiteral("8888");
    b.captionHeight = zbtext::Text_Height_Inches(s.value_font);
    const double ch = b.captionHeight * 72.0;
    for (double& t : b.barTop)
        t = 60.0 - ch;
    // Below: the bars end ch points above the bottom; the caption lies under them.
    QImage below = Render(ZBBarcodeOffscreenView(b, s));
    EXPECT_TRUE(Dark(below, 30, 1));
    EXPECT_TRUE(Dark(below, 30, int(60 - ch) - 2));
    EXPECT_FALSE(Dark(below, 55, 1));
    s.showinTop = 1;
    QImage above = Render(ZBBarcodeOffscreenView(b, s));
    EXPECT_TRUE(Dark(above, 30, 58));
    // The caption is drawn in the top band, outside the bars' columns too.
    bool inkAbove = false;
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < int(ch); ++y)
            inkAbove = inkAbove || Dark(above, x, y);
    bool inkBelow = false;
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < int(ch); ++y)
            inkBelow = inkBelow || Dark(below, x, y);
    EXPECT_FALSE(inkAbove);  // the caption (4 digits, about 28 pt) is centred, clear of x < 10
    EXPECT_FALSE(inkBelow);
}

// The PDF of a symbol (what a copy puts on the clipboard, a page of the
// symbol's exact size): one rectangle a run of bars (adjacent modules merged)
// and one for the background; the caption's ink lies where the screen draws
// it. (Label sheets, printed or exported, carry captions as text: see the
// print and PDF export tests.)
TEST(OffscreenView, PdfDataHasARectangleABarAndTheCaptionWhereTheScreenHasIt)
{
    BarcodeSettings s = Bare_Settings();
    s.value_font = QFont(QStringLiteral("DejaVu Sans"));
    s.value_font.setPointSizeF(10);
    LinearSymbol b = Symbol_Of("1011001110001", 3.0, 60.0, 30.0);
    b.printsCaption = true;
    b.caption = QStringLiteral("AB12");
    b.captionHeight = zbtext::Text_Height_Inches(s.value_font);
    for (double& t : b.barTop)
        t = 30.0 - b.captionHeight * 72.0;
    ZBBarcodeOffscreenView view(b, s);
    const QByteArray pdf = view.dataWithPDFInsideRect(view.bounds());
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bars.pdf"));
    ASSERT_TRUE(testsupport::Write_File(path, pdf));
    const auto info = testsupport::Run_Tool(QStringLiteral("pdfinfo"), {path});
    ASSERT_EQ(info.exitCode, 0) << info.err.constData();
    EXPECT_TRUE(QString::fromLatin1(info.out).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\n"))));
    EXPECT_TRUE(QString::fromLatin1(info.out).contains(QRegularExpression("Page size:\\s+60 x 30 pts")))
        << info.out.constData();
    const QByteArray content = Pdf_Content(pdf);
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    // Four runs of bars and the background.
    EXPECT_EQ(content.count(" re f"), 5) << content.constData();
    // The caption's ink, drawn by poppler, lies under the bars, centred as on
    // the screen.
    const auto ppm = testsupport::Run_Tool(QStringLiteral("pdftoppm"),
                                           {"-r", "144", "-png", "-singlefile", path, dir.filePath("page")});
    ASSERT_EQ(ppm.exitCode, 0);
    const QImage page = QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_ARGB32);
    const QImage screen = Render(view, 2.0);
    ASSERT_EQ(page.size(), screen.size());
    auto inkBox = [](const QImage& img, int fromY) {
        QRect box;
        for (int y = fromY; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const int captionTop = int(std::ceil((30.0 - b.captionHeight * 72.0) * 2.0)) + 1;
    const QRect onPage = inkBox(page, captionTop), onScreen = inkBox(screen, captionTop);
    ASSERT_FALSE(onScreen.isEmpty());
    EXPECT_NEAR(onPage.left(), onScreen.left(), 2);
    EXPECT_NEAR(onPage.right(), onScreen.right(), 2);
    EXPECT_NEAR(onPage.top(), onScreen.top(), 2);
    EXPECT_NEAR(onPage.bottom(), onScreen.bottom(), 2);
    // Nothing for an empty rectangle.
    EXPECT_TRUE(view.dataWithPDFInsideRect(QRectF()).isEmpty());
}

TEST(OffscreenView, ImagesHaveTheViewSize)
{
    BarcodeSettings s = Bare_Settings();
    const LinearSymbol b = Symbol_Of("1011", 2.0, 25.5, 17.25);
    const PtImage img = imageFromBarcode(b, s);
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.isVector());
    EXPECT_DOUBLE_EQ(img.size().width(), 25.5);
    EXPECT_DOUBLE_EQ(img.size().height(), 17.25);
    EXPECT_TRUE(imageFromBarcodeImage(PtImage(), s).isNull());
    // A 2D symbol is framed at its own resolution.
    s.width = 30.0f;
    s.height = 20.0f;
    QImage sym(100, 100, QImage::Format_RGB32);
    sym.fill(Qt::black);
    const PtImage framed = imageFromBarcodeImage(PtImage(sym, QSizeF(10, 10)), s);
    ASSERT_FALSE(framed.isNull());
    EXPECT_EQ(framed.size(), QSizeF(30, 20));
    EXPECT_EQ(framed.raster().size(), QSize(300, 200));
}

TEST(OffscreenView, EmptyBarStringDrawsTextsOnly)
{
    // No bars, but a split caption, a left and a right caption: the
    // background and the texts, and no reach past the bar data.
    BarcodeSettings s = Bare_Settings();
    s.bar_back_clr = QColor(250, 250, 200);
    LinearSymbol b = Symbol_Of(QByteArray(), 1.0, 60.0, 30.0);
    b.printsCaption = true;
    b.captionHeight = 0.2;
    for (const QString& caption : {QStringLiteral("123\t456"), QStringLiteral("\t789")}) {
        b.caption = caption;
        b.leftCaption = QStringLiteral("0");
        b.rightCaption = QStringLiteral(">");
        const QImage img = Render(ZBBarcodeOffscreenView(b, s));
        EXPECT_EQ(img.pixelColor(1, 1), s.bar_back_clr);
    }
}
