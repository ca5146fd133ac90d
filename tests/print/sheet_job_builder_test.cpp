// The sheet-job builder without a window: what a print or PDF window opens
// with for each kind of rows, the totals its range box may hold, the rows
// and labels a job takes from the range, and the cells a page holds.
#include "print/PrintTestSupport.h"
#include "print/SheetJobBuilder.h"

#include <QSet>

#include <memory>
#include <numeric>

using namespace printtest;

namespace {

// Rows of a batch: each row's print quantity, and the rows that give no label.
class Test_Rows : public Batch_Row_Source {
public:
    Test_Rows(const Batch_Row_Count& count, QList<int> quantities, QSet<int> invalid = {})
        : Batch_Row_Source(count), m_quantities(std::move(quantities)), m_invalid(std::move(invalid))
    {
    }
    Batch_Row_Texts texts(int) const override { return {}; }
    int printQuantity(int row) const override { return row < m_quantities.size() ? m_quantities[row] : 0; }
    PtImage image(int row) const override
    {
        return m_invalid.contains(row) ? PtImage() : Colour_Label(QSizeF(90, 40), Qt::black);
    }
    PtImage currentImage() const override { return Colour_Label(QSizeF(90, 40), Qt::black); }

private:
    QList<int> m_quantities;
    QSet<int> m_invalid;
};

// Barcode mode's list (or a series, one label a row) of rows with these quantities.
Batch_Rows Barcode_Rows(QList<int> quantities, bool series = false, QSet<int> invalid = {})
{
    Batch_Row_Count c;
    c.Use_Data_Sheet_Values = true;
    c.seriesFeeds = series;
    c.Total_Barcode_Label_wd_Batch = c.Total_Batch_Excel_Card = int(quantities.size());
    c.Total_Label_Wd_PQ = series ? int(quantities.size()) : std::accumulate(quantities.begin(), quantities.end(), 0);
    if (series)
        quantities.fill(1);
    return std::make_shared<const Test_Rows>(c, quantities, invalid);
}

// Designing mode: `rows` rows of a bound series or of the spreadsheet only.
Batch_Rows Design_Rows(int rows, bool series)
{
    Batch_Row_Count c{true};
    c.Use_Data_Sheet_Values = series;
    c.Use_Excel_Binding_Values = !series;
    (series ? c.Data_table_rows : c.Excel_table_rows) = rows;
    c.Get_total_Card_count();
    return std::make_shared<const Test_Rows>(c, QList<int>(rows, 1));
}

Sheet_Job Opening(Batch_Rows rows, bool designing)
{
    return Opening_Sheet_Job(std::move(rows), designing, Colour_Label(QSizeF(90, 40), Qt::black), QSizeF(90, 40));
}

} // namespace

TEST(SheetJobBuilder, AWindowOpensWithTheBoxesItsRowsOffer)
{
    struct Case {
        const char* name;
        Batch_Rows rows;
        bool designing;
        bool batch, skip, quantity;
        int total, totalMaximum, rangeMaximum, to;
    } cases[] = {
        {"barcode, typed value", nullptr, false, false, false, false, 1, 999999, 999999, 1},
        {"barcode, list", Barcode_Rows({1, 3, 1, 2}), false, true, true, true, 7, 7, 4, 4},
        {"barcode, series", Barcode_Rows({1, 3, 1, 2}, true), false, true, true, false, 4, 4, 4, 4},
        {"designing, no binding", nullptr, true, false, false, false, 1, 999999, 999999, 1},
        {"designing, series", Design_Rows(40, true), true, true, false, false, 40, 40, 40, 40},
        {"designing, spreadsheet only", Design_Rows(3, false), true, true, false, false, 3, 3, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Sheet_Job job = Opening(c.rows, c.designing);
        EXPECT_EQ(job.designing, c.designing);
        EXPECT_EQ(job.boxes.batchOffered, c.batch);
        EXPECT_EQ(job.Use_Data_Sheet_Values, c.batch);
        EXPECT_EQ(job.boxes.skipShown, c.skip);
        EXPECT_EQ(job.skip_invalid_barcode, c.skip ? 1 : 0);
        EXPECT_EQ(job.boxes.quantityShown, c.quantity);
        EXPECT_EQ(job.print_wd_pq_opt, c.quantity ? 1 : 0);
        EXPECT_EQ(job.boxes.Total, c.total);
        EXPECT_EQ(job.Total_Label, c.total);
        EXPECT_EQ(job.boxes.totalMaximum, c.totalMaximum);
        EXPECT_EQ(job.boxes.rangeMaximum, c.rangeMaximum);
        EXPECT_TRUE(job.boxes.allLabels);
        EXPECT_EQ(job.boxes.From, 1);
        EXPECT_EQ(job.boxes.To, c.to);
        // One label of the label's size, top-left, no gaps, outlines shown.
        EXPECT_FLOAT_EQ(job.label_width, 90);
        EXPECT_FLOAT_EQ(job.Real_label_hight, 40);
        EXPECT_EQ(job.Print_Row * job.Print_Col, 1);
        EXPECT_EQ(job.horz_mar + job.vert_mar, 0);
        EXPECT_EQ(job.label_align_val, 1);
        EXPECT_EQ(job.auto_center_flag, 0);
        EXPECT_EQ(job.Show_margin_rect, 1);
    }
}

TEST(SheetJobBuilder, TotalsStayWithinWhatTheBatchGives)
{
    Sheet_Job none = Opening(nullptr, false);
    Set_Tot_Value(none, 0, 50, "A");
    EXPECT_EQ(none.boxes.Total, 1);
    EXPECT_EQ(none.boxes.To, 1);
    EXPECT_EQ(none.boxes.totalMaximum, 999999);   // no batch: the maximum given is not used
    Set_Tot_Value(none, 1000000, 5, "TOT");
    EXPECT_EQ(none.boxes.Total, 999999);
    EXPECT_EQ(none.boxes.To, 1);                  // "TOT" leaves the range alone

    // Barcode list of 4 rows, 7 labels: the Total counts labels, the range rows.
    Sheet_Job list = Opening(Barcode_Rows({1, 3, 1, 2}), false);
    Set_Tot_Value(list, 9, 9, "A");
    EXPECT_EQ(list.boxes.Total, 9);
    EXPECT_EQ(list.boxes.To, 4);
    int maximum = 0;
    EXPECT_EQ(Typed_Range_Value(list, "", true, maximum), 1);
    EXPECT_EQ(Typed_Range_Value(list, " 0 ", true, maximum), 1);
    EXPECT_EQ(Typed_Range_Value(list, "50", true, maximum), 7);
    EXPECT_EQ(maximum, 7);
    EXPECT_EQ(Typed_Range_Value(list, "9", false, maximum), 4);
    list.print_wd_pq_opt = 0;   // print quantities off: one label a row
    EXPECT_EQ(Typed_Range_Value(list, "50", true, maximum), 4);
    EXPECT_EQ(Batch_Box_Total(list, 6), 4);
    list.Use_Data_Sheet_Values = false;   // the batch box off: one sheet of the cells
    EXPECT_EQ(Batch_Box_Total(list, 6), 6);
    EXPECT_EQ(Typed_Range_Value(list, "1000", true, maximum), 1000);
    EXPECT_EQ(maximum, 999999);

    // Designing mode with 40 rows bound: typing 50 gives 40.
    const Sheet_Job design = Opening(Design_Rows(40, true), true);
    EXPECT_EQ(Typed_Range_Value(design, "50", true, maximum), 40);
    EXPECT_EQ(Typed_Range_Value(design, "50", false, maximum), 40);
    EXPECT_EQ(Batch_Box_Total(design, 6), 40);
}

TEST(SheetJobBuilder, AJobTakesTheRowsAndLabelsOfItsRange)
{
    // Rows 1..6 with quantities; row 4 (index 3) gives no barcode.
    const Sheet_Job list = Opening(Barcode_Rows({1, 1, 2, 2, 1, 3}, false, {3}), false);
    struct Case {
        const char* name;
        int from, to;          // 0: All
        bool batch, skip;
        Sheet_Job_Refusal refusal;
        int start, end, walked, laidOut;
    } cases[] = {
        {"All, the invalid row's two left out", 0, 0, true, true, Sheet_Job_Refusal::None, 0, 6, 10, 8},
        {"rows 3 to 5, row 4 left out", 3, 5, true, true, Sheet_Job_Refusal::None, 2, 5, 5, 3},
        {"rows 3 to 5, row 4 shown as invalid", 3, 5, true, false, Sheet_Job_Refusal::None, 2, 5, 5, 5},
        {"From after To", 5, 3, true, true, Sheet_Job_Refusal::Invalid_Range, 0, 0, 0, 0},
        // Without the batch box a range is copies of the one label: no rows,
        // no print quantities, nothing skipped.
        {"copies", 2, 3, false, true, Sheet_Job_Refusal::None, 0, 0, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sheet_Job job = list;
        job.boxes.allLabels = c.from == 0;
        job.boxes.From = c.from;
        job.boxes.To = c.to;
        job.Use_Data_Sheet_Values = c.batch;
        job.skip_invalid_barcode = c.skip ? 1 : 0;
        ASSERT_EQ(Range_Of_Job(job), c.refusal);
        if (c.refusal != Sheet_Job_Refusal::None)
            continue;
        EXPECT_EQ(job.Print_Start, c.start);
        EXPECT_EQ(job.Print_End, c.end);
        EXPECT_EQ(job.Total_Label_Real, c.walked);
        EXPECT_EQ(job.Total_Label, c.laidOut);
        EXPECT_EQ(job.print_wd_pq_opt, c.batch ? 1 : 0);
        EXPECT_EQ(job.skip_invalid_barcode, c.batch && c.skip ? 1 : 0);
        EXPECT_EQ(job.Use_Barocde_In_Center, 1);
    }

    Sheet_Job nothing = list;
    nothing.boxes.Total = 0;
    EXPECT_EQ(Range_Of_Job(nothing), Sheet_Job_Refusal::No_Labels);

    // Designing mode: a card a row, never skipped or repeated by the boxes.
    Sheet_Job cards = Opening(Design_Rows(5, true), true);
    cards.print_wd_pq_opt = cards.skip_invalid_barcode = 1;
    ASSERT_EQ(Range_Of_Job(cards), Sheet_Job_Refusal::None);
    EXPECT_EQ(cards.Total_Label, 5);
    EXPECT_EQ(cards.print_wd_pq_opt + cards.skip_invalid_barcode + cards.Use_Barocde_In_Center, 0);
}

TEST(SheetJobBuilder, ThePageHoldsTheCellsThatFit)
{
    const QSizeF a4(210 * 72 / 25.4, 297 * 72 / 25.4);
    Sheet_Job job = Opening(nullptr, false);
    job.label_width = MM_To_Points(70);
    job.label_hight = MM_To_Points(40);
    job.Print_Col = 4;
    job.Print_Row = 2;
    job.horz_mar = job.vert_mar = 0;
    Grid_Fit fit = Fit_Sheet_Job(job, a4, false);
    EXPECT_TRUE(fit.colsLowered);
    EXPECT_FALSE(fit.rowsLowered);
    EXPECT_EQ(job.Print_Col, 3);   // three 70 mm labels fill 210 mm exactly
    EXPECT_EQ(job.Print_Row, 2);
    EXPECT_EQ(job.auto_center_flag, 0);

    // Centred: the gaps are spread evenly, the outer ones as large as the inner.
    job.label_width = MM_To_Points(60);
    job.Print_Col = 3;
    fit = Fit_Sheet_Job(job, a4, true);
    EXPECT_EQ(job.auto_center_flag, 1);
    EXPECT_NEAR(job.horz_mar, (a4.width() - 3 * MM_To_Points(60)) / 4, 0.01);
}
