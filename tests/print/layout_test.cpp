// The sheet geometry: the cell grid, fitting to the paper, crop marks, page
// counts, paper names and the catalogue's units, with the worked values.
#include "print/LabelCatalogue.h"
#include "print/PrintTestSupport.h"
#include "print/Printing_View.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"
#include "platform/Numbers.h"

using namespace printtest;

namespace {

Sheet_Geometry letterSheet()
{
    Sheet_Geometry g;
    g.W = 612;
    g.H = 792;
    g.L = g.R = g.T = g.B = 18;
    return g;
}

} // namespace

TEST(SheetLayout, AlignmentsPlaceTheGridOnThePrintableArea)
{
    Sheet_Geometry g = letterSheet();
    g.rows = 2;
    g.cols = 3;
    g.lw = 50;
    g.lh = 30;
    g.hg = g.vg = 10;
    g.align = 5;
    EXPECT_FLOAT_EQ(Cell_Origin(g, 1, 1).x(), 221);
    EXPECT_FLOAT_EQ(Cell_Origin(g, 1, 1).y(), 401);
    // Each column one cell and one gap on, each row one down.
    EXPECT_FLOAT_EQ(Cell_Origin(g, 2, 3).x(), 221 + 2 * 60);
    EXPECT_FLOAT_EQ(Cell_Origin(g, 2, 3).y(), 401 - 40);

    struct Case { int align; double x, y; } cases[] = {
        {1, 18, 792 - 30 - 18}, {3, 612 - 170 - 18, 792 - 30 - 18},
        {7, 18, 70 - 30 + 18}, {9, 612 - 170 - 18, 70 - 30 + 18},
        {0, 18, 792 - 30 - 18}, {12, 18, 792 - 30 - 18},   // unknown values: top-left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        g.align = c.align;
        EXPECT_FLOAT_EQ(Cell_Origin(g, 1, 1).x(), c.x);
        EXPECT_FLOAT_EQ(Cell_Origin(g, 1, 1).y(), c.y);
    }
}

TEST(SheetLayout, AutoCentreSpreadsTheGapsEvenly)
{
    Sheet_Geometry g = letterSheet();
    g.cols = 3;
    g.rows = 4;
    g.lw = 150;
    g.lh = 100;
    const Grid_Fit fit = Fit_Grid_To_Paper(g, true);
    EXPECT_FLOAT_EQ(fit.hg, 31.5f);
    EXPECT_FLOAT_EQ(fit.vg, (756.0f - 400.0f) / 5.0f);
    g.hg = fit.hg;
    g.vg = fit.vg;
    g.autoCenter = true;
    g.align = 9;   // not used with auto-centre
    EXPECT_FLOAT_EQ(Cell_Origin(g, 1, 1).x(), 18 + 31.5f);
    // The right gap equals the inner gaps.
    EXPECT_NEAR(612 - 18 - (Cell_Origin(g, 1, 3).x() + 150), 31.5, 1e-3);
    EXPECT_NEAR(Cell_Origin(g, 4, 1).y() - 18, g.vg, 1e-3);
}

TEST(SheetLayout, FittingLowersCountsThatDoNotFit)
{
    Sheet_Geometry g;
    g.W = 595;   // A4 at zero margins
    g.H = 842;
    g.lw = 100 * 2.834645669291f;
    g.lh = 20;
    g.cols = 5;
    g.rows = 3;
    Grid_Fit fit = Fit_Grid_To_Paper(g, false);
    EXPECT_EQ(fit.cols, 2);
    EXPECT_TRUE(fit.colsLowered);
    EXPECT_EQ(fit.rows, 3);
    EXPECT_FALSE(fit.rowsLowered);

    // A label wider than the paper still gets one column; so does auto-centre.
    g.lw = 700;
    EXPECT_EQ(Fit_Grid_To_Paper(g, false).cols, 1);
    EXPECT_EQ(Fit_Grid_To_Paper(g, true).cols, 1);
    EXPECT_FLOAT_EQ(Fit_Grid_To_Paper(g, true).hg, 0);

    // A grid that ends exactly at the paper edge keeps its last column.
    g.W = 595.2756f;
    g.lw = 595.2756f / 3;
    g.cols = 3;
    EXPECT_EQ(Fit_Grid_To_Paper(g, false).cols, 3);
    // A zero-sized label never divides by zero.
    g.lw = 0;
    EXPECT_EQ(Fit_Grid_To_Paper(g, false).cols, 3);
}

TEST(SheetLayout, CropMarksRunOutwardsFromEachCorner)
{
    const QList<QLineF> lines = Crop_Mark_Lines(QRectF(100, 100, 50, 30));
    const QList<QPointF> ends{{80, 100}, {100, 80}, {170, 100}, {150, 80},
                              {80, 130}, {100, 150}, {170, 130}, {150, 150}};
    ASSERT_EQ(lines.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(lines[i].p2(), ends[i]) << i;
        EXPECT_DOUBLE_EQ(lines[i].length(), 20);
    }
}

TEST(SheetLayout, PageCountsAndPaperNames)
{
    EXPECT_EQ(Page_Count(7, 2, 2), 2);
    EXPECT_EQ(Page_Count(120, 1, 2), 60);
    EXPECT_EQ(Page_Count(8, 2, 2), 2);
    EXPECT_EQ(Page_Count(5, 0, 0), 5);   // counts below 1 count as 1
    EXPECT_EQ(Page_Count(0, 3, 3), 0);

    EXPECT_EQ(Find_Papaer_Name_From_Size("210.00", "297.00"), "A4");
    EXPECT_EQ(Find_Papaer_Name_From_Size("297.00", "210.00"), "A4");
    EXPECT_EQ(Find_Papaer_Name_From_Size("216.00", "279.00"), "US Letter");
    EXPECT_EQ(Find_Papaer_Name_From_Size("215.90", "279.40"), "Letter");
    EXPECT_EQ(Find_Papaer_Name_From_Size("200.00", "300.00"), "");
    EXPECT_EQ(Find_Papaer_Name_From_Size("148.00", "105.00"), "A6");

    EXPECT_DOUBLE_EQ(1800000 / Catalogue_Unit_Factor("emu"), 50);
    EXPECT_NEAR(1 / Catalogue_Unit_Factor(" IN "), 25.39999, 1e-4);
    EXPECT_DOUBLE_EQ(Catalogue_Unit_Factor("furlong"), 1);
    EXPECT_DOUBLE_EQ(Catalogue_Unit_Factor("cm"), 0.1);
}

// The sheet job answers where a label's cell lies and how large its image
// is; the printed sheet puts its labels in those very cells.
TEST(SheetJob, CellsAndImageSizesComeFromTheJob)
{
    Sheet_Job job;
    job.paper = QSizeF(612, 792);
    job.Left_Mar = job.Rite_Mar = job.Top_Mar = job.Bot_Mar = 18;
    job.Print_Row = 2;
    job.Print_Col = 3;
    job.label_width = 50;
    job.label_hight = 30;
    job.horz_mar = job.vert_mar = 10;
    job.label_align_val = 5;
    job.Total_Label = job.Total_Label_Real = 6;
    job.Barcode_Image = PtImage(QImage(40, 20, QImage::Format_ARGB32), QSizeF(40, 20));
    EXPECT_EQ(job.Sheet_Size(), QSizeF(612, 792));
    EXPECT_EQ(job.Label_Image_Size(), QSizeF(40, 20));
    EXPECT_FALSE(job.Image_Larger_Than_Cell());

    QImage page(612, 792, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&page);
    Printing_View view(job, QRectF(0, 0, 612, 792), true);
    view.drawRect(p, QRectF(0, 0, 612, 792));
    ASSERT_EQ(view.sheetLabels().size(), 6);
    for (const Printing_View::Placed_Label& placed : view.sheetLabels()) {
        const int row = (placed.cellNumber - 1) / 3 + 1, col = (placed.cellNumber - 1) % 3 + 1;
        EXPECT_EQ(placed.cell, To_Top_Left(job.Cell_Rect(job.paper, row, col), 792)) << placed.cellNumber;
    }

    // A larger image than its cell, and a predefined sheet's own page.
    job.Barcode_Image = PtImage(QImage(60, 40, QImage::Format_ARGB32), QSizeF(60, 40));
    EXPECT_TRUE(job.Image_Larger_Than_Cell());
    job.Manual_or_Pre = 1;
    job.predef_page_wdt = 596;
    job.predef_page_hgt = 842;
    EXPECT_EQ(job.Sheet_Size(), QSizeF(596, 842));
}

TEST_F(PrintTest, TheCataloguesSampleProductGivesItsSheet)
{
    const QList<Product_Details> herma = Read_Catalogue_File(Catalogue_File_Path("Herma"));
    const auto it = std::find_if(herma.begin(), herma.end(),
                                 [](const Product_Details& p) { return p.productID == "4103"; });
    ASSERT_NE(it, herma.end());
    const Predefined_Sheet s = Predefined_Sheet_From_Product(*it);
    EXPECT_EQ(Format_Fixed_C(s.widthMM, 2) + " x " + Format_Fixed_C(s.heightMM, 2), "63.50 x 38.10");
    EXPECT_EQ(s.rows + " x " + s.cols, "7 x 3");
    EXPECT_EQ(s.paper, "A4");
    EXPECT_EQ(s.orientation, "Portrait");
    EXPECT_EQ(s.pageSize, "210.00 x 297.00");
    EXPECT_EQ(Page_Points_Rounded_Up(s.pageWidthMM), 596);
    EXPECT_EQ(Page_Points_Rounded_Up(s.pageHeightMM), 842);
}
