// The off-screen renderer: print flags and visibility across the whole-card
// image, PDF and TIFF data, stacking order and the TIFF geometry.
#include "CanvasTestSupport.h"
#include "common/TestSupport.h"
#include "core/canvas/LMNRenderingView.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct RenderFixture : ::testing::Test {
    CanvasWindow win;
    std::shared_ptr<Shape_Control> red = Make_Rect_Item(QRectF(20, 20, 60, 60), Qt::red);
    std::shared_ptr<Shape_Control> blue = Make_Rect_Item(QRectF(50, 50, 60, 60), Qt::blue);
    QList<LMNGraphic*> list() const { return {red.get(), blue.get()}; }
    void SetUp() override { win.canvasBounds = QRectF(0, 0, 200, 150); }
};

QImage Card_Image(const QList<LMNGraphic*>& items)
{
    const PtImage img = LMNRenderingView::image_From_Card_Graphics(items, false);
    EXPECT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSizeF(200, 150));
    return img.toImage(72);
}

QImage Pdf_Image(const QByteArray& pdf)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("c.pdf");
    testsupport::Write_File(in, pdf);
    const auto r = testsupport::Run_Tool("pdftoppm", {"-r", "72", "-png", "-singlefile", in, dir.filePath("out")});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    return QImage(dir.filePath("out.png"));
}

bool Is(QRgb p, QColor c)
{
    return std::abs(qRed(p) - c.red()) < 20 && std::abs(qGreen(p) - c.green()) < 20 && std::abs(qBlue(p) - c.blue()) < 20;
}

} // namespace

TEST_F(RenderFixture, IndexZeroDrawnOnTop)
{
    const QImage img = Card_Image(list());
    EXPECT_TRUE(Is(img.pixel(65, 65), Qt::red)); // overlap: the first item wins
    EXPECT_TRUE(Is(img.pixel(100, 100), Qt::blue));
    EXPECT_TRUE(Is(img.pixel(150, 20), Qt::white)); // card base
    const QImage swapped = Card_Image({blue.get(), red.get()});
    EXPECT_TRUE(Is(swapped.pixel(65, 65), Qt::blue));
}

TEST_F(RenderFixture, EmptyListGivesBaseAndBorder)
{
    win.card.Card_fill_clr = Qt::green;
    win.card.Card_border_chk = true;
    win.card.Card_bor_Stepper = 4;
    const QImage img = Card_Image({});
    EXPECT_TRUE(Is(img.pixel(100, 75), Qt::green));
    EXPECT_TRUE(Is(img.pixel(100, 0), Qt::black));
}

// A renderer draws the card of the window it is handed, whichever window is
// entered in the services; with none handed, the entered one's; with a null
// window, the items alone.
TEST_F(RenderFixture, CardComesFromTheWindowHanded)
{
    win.card.Card_fill_clr = Qt::green;
    CanvasWindow entered; // now the window in the services, until it goes
    entered.canvasBounds = win.canvasBounds;
    entered.card.Card_fill_clr = Qt::blue;
    const auto draw = [](LMNRenderingView& view) {
        QImage img(200, 150, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        view.drawRect(p, view.bounds());
        return img;
    };
    LMNRenderingView handed(&win, win.canvasBounds, {red.get()});
    QImage img = draw(handed);
    EXPECT_TRUE(Is(img.pixel(150, 20), Qt::green));
    EXPECT_TRUE(Is(img.pixel(40, 40), Qt::red));
    LMNRenderingView byDefault(win.canvasBounds, {red.get()});
    img = draw(byDefault);
    EXPECT_TRUE(Is(img.pixel(150, 20), Qt::blue));
    EXPECT_TRUE(Is(img.pixel(40, 40), Qt::red));
    LMNRenderingView bare(nullptr, win.canvasBounds, {red.get()});
    img = draw(bare);
    EXPECT_EQ(qAlpha(img.pixel(150, 20)), 0);
    EXPECT_TRUE(Is(img.pixel(40, 40), Qt::red));
}

TEST_F(RenderFixture, PrintFlagAndVisibilityAcrossImagePdfAndTiff)
{
    red->print_object = 1;
    blue->ctrl_is_visible = false;
    const QImage img = Card_Image(list());
    EXPECT_TRUE(Is(img.pixel(40, 40), Qt::white));
    EXPECT_TRUE(Is(img.pixel(100, 100), Qt::white));

    ASSERT_TRUE(testsupport::Tool_Available("pdftoppm")) << "pdftoppm missing";
    {
        const QImage pdf = Pdf_Image(LMNRenderingView::pdfDataWithGraphics_data(list()));
        ASSERT_EQ(pdf.size(), QSize(200, 150));
        EXPECT_TRUE(Is(pdf.pixel(40, 40), Qt::white));
        EXPECT_TRUE(Is(pdf.pixel(100, 100), Qt::white));
        red->print_object = 0;
        const QImage pdf2 = Pdf_Image(LMNRenderingView::pdfDataWithGraphics_data(list()));
        EXPECT_TRUE(Is(pdf2.pixel(40, 40), Qt::red));
        red->print_object = 1;
    }

    // TIFF: the unprinted item is there; the invisible one draws nothing.
    const QByteArray tiff = LMNRenderingView::tiffDataWithGraphics(list());
    const QImage t = QImage::fromData(tiff, "TIFF");
    ASSERT_FALSE(t.isNull());
    const QRectF box = LMNGraphic::drawingBoundsOfGraphics(list(), win.graphicViewBounds());
    const QPoint redCentre = (QPointF(40, 40) - box.topLeft()).toPoint();
    const QPoint blueOnly = (QPointF(100, 100) - box.topLeft()).toPoint();
    EXPECT_TRUE(Is(t.pixel(redCentre), Qt::red));
    EXPECT_EQ(qAlpha(t.pixel(blueOnly)), 0);
}

TEST_F(RenderFixture, TiffOfOneItemIs59PointsWithItemFourIn)
{
    auto item = Make_Rect_Item(QRectF(100, 100, 50, 50), Qt::black);
    LMNError error;
    const QByteArray tiff = LMNRenderingView::tiffDataWithGraphics({item.get()}, &error);
    EXPECT_EQ(error.code, 0);
    const QImage t = QImage::fromData(tiff, "TIFF");
    ASSERT_EQ(t.size(), QSize(59, 59));
    EXPECT_NEAR(t.dotsPerMeterX(), 2835, 2); // 72 dpi: 59 pixels are 59 points
    // The item lies exactly 4 points in from the top-left corner: 4 .. 54.
    for (int at : {0, 3, 54, 58}) {
        EXPECT_EQ(qAlpha(t.pixel(at, 30)), 0) << at;
        EXPECT_EQ(qAlpha(t.pixel(30, at)), 0) << at;
    }
    for (int at : {4, 30, 53}) {
        EXPECT_EQ(qAlpha(t.pixel(at, 30)), 255) << at;
        EXPECT_EQ(qAlpha(t.pixel(30, at)), 255) << at;
    }
}

TEST_F(RenderFixture, EmptyTiffGivesErrorThree)
{
    LMNError error;
    EXPECT_TRUE(LMNRenderingView::tiffDataWithGraphics({}, &error).isEmpty());
    EXPECT_EQ(error.code, 3);
    EXPECT_TRUE(image_From_Card_Graphics(nullptr).isNull());
    const QList<LMNGraphic*> none;
    EXPECT_FALSE(image_From_Card_Graphics(&none).isNull());
}

TEST_F(RenderFixture, CardShapesFillsAndWatermarkInRenderedCard)
{
    win.Card_Shape = 2;
    win.card.Card_fill_style = QStringLiteral("G");
    win.card.Card_fill_Grd_1_clr = Qt::black;
    win.card.Card_fill_Grd_2_clr = Qt::white;
    win.card.Watermark_Used = true;
    win.card.Watermark_Alignment = 2;
    win.card.Watermark_Font = QFont(QStringLiteral("DejaVu Sans"), 18);
    win.card.Watermark_Color = Qt::red;
    const QImage img = Card_Image({});
    win.Card_Shape = 0;
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0); // outside the ellipse
    EXPECT_LT(qGray(img.pixel(15, 75)), qGray(img.pixel(185, 75)));
    bool redNearBottom = false;
    for (int y = 120; y < 150 && !redNearBottom; ++y)
        for (int x = 60; x < 140; ++x)
            if (qRed(img.pixel(x, y)) > 200 && qGreen(img.pixel(x, y)) < 80)
                redNearBottom = true;
    EXPECT_TRUE(redNearBottom);
}

namespace {
// An item whose drawing fails.
class Failing_Item : public LMNGraphic {
public:
    void drawContentsInView(QPainter&, LMNGraphicView*, bool) override { throw std::runtime_error("boom"); }
};
} // namespace

TEST_F(RenderFixture, FailingItemIsReportedAndDrawingStops)
{
    win.card.Card_border_chk = true;
    win.card.Card_bor_Stepper = 6;
    Failing_Item failing;
    failing._bounds = QRectF(10, 10, 10, 10);
    ScriptedMessages msgs;
    // The backmost item is drawn first and fails: the reason is shown, and
    // neither the items above it nor the border are drawn.
    const QImage img = Card_Image({blue.get(), &failing});
    ASSERT_EQ(msgs.requests.size(), 1u);
    EXPECT_EQ(msgs.requests[0].text, QStringLiteral("\nboom"));
    EXPECT_TRUE(Is(img.pixel(100, 100), Qt::white));
    EXPECT_TRUE(Is(img.pixel(100, 1), Qt::white));
    // Without the failing item both are there.
    const QImage good = Card_Image({blue.get()});
    EXPECT_TRUE(Is(good.pixel(100, 100), Qt::blue));
    EXPECT_TRUE(Is(good.pixel(100, 1), Qt::black));
}
