// The on-screen sheet: numbered cells, outlines by mode and card shape, the
// page-margin rectangle, and the "Invalid Data" cells without an image.
#include "print/PrintTestSupport.h"
#include "print/Sample_Preview.h"

using namespace printtest;

namespace {

class PreviewTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        PrintInfo info;
        info.pageLayout = QPageLayout(QPageSize(QSizeF(300, 200), QPageSize::Point, "s",
                                                QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF(10, 10, 10, 10));
        MainWindowServices::setPrintInfo(info);
        job.paper = QSizeF(300, 200);
        job.Left_Mar = job.Rite_Mar = job.Top_Mar = job.Bot_Mar = 10;
        job.Print_Row = 3;
        job.Print_Col = 2;
        job.label_width = 100;
        job.label_hight = 40;
        job.horz_mar = job.vert_mar = 10;
        job.Barcode_Image = Colour_Label(QSizeF(10, 10), Qt::black);
        view.setJob(&job);
    }
    Sheet_Job job;
    Sample_Preview view;
    static bool redAt(const QImage& img, int x, int y)
    {
        for (int dy = -6; dy <= 6; ++dy)
            for (int dx = -40; dx <= 40; ++dx) {
                const QColor c = img.pixelColor(x + dx, y + dy);
                if (c.red() > 150 && c.green() < 80 && c.blue() < 80)
                    return true;
            }
        return false;
    }
    static bool inkAt(const QImage& img, int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (qGray(img.pixel(x + dx, y + dy)) < 230)
                    return true;
        return false;
    }
};

} // namespace

TEST_F(PreviewTest, CellsAreNumberedRowByRowWithOutlines)
{
    const QImage img = view.imageRepresentation();
    ASSERT_EQ(img.size(), QSize(300, 200));
    // Cell 1 at top-left (10, 10), cell 2 right of it; outlines on their edges.
    EXPECT_TRUE(inkAt(img, 60, 10));
    EXPECT_TRUE(inkAt(img, 170, 10));
    EXPECT_FALSE(redAt(img, 60, 30));
    // The page-margin rectangle of the manual source.
    EXPECT_TRUE(inkAt(img, 10, 190));

    job.Show_margin_rect = 0;
    const QImage bare = view.imageRepresentation();
    EXPECT_FALSE(inkAt(bare, 60, 60));    // no outline between rows 1 and 2
    EXPECT_TRUE(inkAt(bare, 10, 190));    // the margin rectangle stays

    // A label sheet has no margin rectangle.
    job.Manual_or_Pre = 1;
    job.predef_page_wdt = 300;
    job.predef_page_hgt = 200;
    EXPECT_FALSE(inkAt(view.imageRepresentation(), 290, 190));
}

TEST_F(PreviewTest, WithoutAnImageEveryCellReadsInvalidData)
{
    job.Barcode_Image = PtImage();
    const QImage img = view.imageRepresentation();
    EXPECT_TRUE(redAt(img, 60, 30));
    EXPECT_TRUE(redAt(img, 170, 130));
}

TEST_F(PreviewTest, DesignOutlinesFollowTheCardShape)
{
    job.designing = true;
    job.label_align_val = 5;   // centred: the first cell's corner at (45, 30), off the margins
    job.Card_Shape = 0;
    EXPECT_TRUE(inkAt(view.imageRepresentation(), 45, 30));    // a square corner
    job.Card_Shape = 1;
    EXPECT_FALSE(inkAt(view.imageRepresentation(), 45, 30));   // rounded away
    job.Card_Shape = 2;
    const QImage ellipse = view.imageRepresentation();
    EXPECT_FALSE(inkAt(ellipse, 45, 30));
    EXPECT_TRUE(inkAt(ellipse, 95, 30));
    // Barcode mode: always rectangles.
    job.designing = false;
    EXPECT_TRUE(inkAt(view.imageRepresentation(), 45, 30));
}
