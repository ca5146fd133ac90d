// A PDF job whose labels are made on worker threads while one thread writes
// the pages: the labels land in the order of their rows, with their print
// quantities and without the rows left out, whatever order the workers
// finish in; Stop ends the job at a label with its pages readable, the
// progress counts what was written, and the workers end with the job.
#include "ExportTestSupport.h"
#include "common/FakeBatchServices.h"
#include "core/FakeMainWindow.h"
#include "export/PdfExport.h"
#include "print/SheetLayout.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>

namespace {

using namespace exporttest;

// The barcodes of the cells of a page, row by row ("" for a cell without one).
QStringList Cell_Barcodes(const QString& pdf, int page, const Sheet_Geometry& g)
{
    QTemporaryDir out;
    const QString base = out.filePath(QStringLiteral("page"));
    testsupport::Run_Tool(QStringLiteral("pdftoppm"), {"-r", "150", "-f", QString::number(page), "-l",
                                                      QString::number(page), "-singlefile", "-png", pdf, base});
    const QImage img(base + QStringLiteral(".png"));
    QStringList values;
    if (img.isNull())
        return {QStringLiteral("(no page %1)").arg(page)};
    const double k = 150.0 / 72.0;
    for (int i = 1; i <= g.rows; ++i)
        for (int j = 1; j <= g.cols; ++j) {
            const QRectF cell = To_Top_Left(Cell_Rect(g, i, j), g.H);
            const QString png = out.filePath(QStringLiteral("cell-%1-%2.png").arg(i).arg(j));
            img.copy(QRectF(cell.x() * k, cell.y() * k, cell.width() * k, cell.height() * k).toAlignedRect())
                .save(png);
            values << QString::fromUtf8(testsupport::Zbar_Decode(png)).trimmed();
        }
    return values;
}

int Pdf_Pages(const QString& pdf)
{
    const auto r = testsupport::Run_Tool(QStringLiteral("pdfinfo"), {pdf});
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(r.out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class PdfWorkersTest : public ::testing::Test {
protected:
    // Barcode mode with `rows` rows R1..Rn made on any thread; rows named in
    // `invalid` give no barcode; every third row takes longer to make.
    void rows(int rows, QList<int> quantities, QList<int> invalid)
    {
        batch.mode = 0;
        batch.barcodeRows = rows;
        batch.state.dataSource = true;
        batch.state.valueChecked = true;
        batch.state.listFeeds = true;
        batch.imagesOnAnyThread = true;
        batch.list.clear();
        for (int r = 0; r < rows; ++r) {
            BarcodeListRow row;
            row.insert(QStringLiteral("Value"), QStringLiteral("R%1").arg(r + 1));
            row.insert(QStringLiteral("PQ"), QString::number(quantities.value(r, 1)));
            batch.list << row;
        }
        batch.rowImage = [this, invalid](int row) {
            ++busy;
            if (onRow)
                onRow(row);
            PtImage image;
            for (int n = 0; n < (row % 3 == 0 ? 4 : 1); ++n)
                image = Code128(QStringLiteral("R%1").arg(row + 1));
            ++made;
            --busy;
            return invalid.contains(row + 1) ? PtImage() : image;
        };
    }

    // One file of sheets of 3 rows of 2 labels on A4, for `labels` labels.
    Pdf_Export_Job job(int labels, bool quantities)
    {
        Pdf_Export_Job j;
        j.option = 0;
        j.folder = dir.path();
        j.baseName = QStringLiteral("Rows");
        Sheet_Job& s = j.sheet;
        s.paper = QSizeF(595, 842);
        s.label_width = 270;
        s.label_hight = 240;
        s.Left_Mar = s.Top_Mar = 20;
        s.horz_mar = s.vert_mar = 10;
        s.Print_Row = 3;
        s.Print_Col = 2;
        s.Use_Barocde_In_Center = 1;
        s.Use_Data_Sheet_Values = true;
        s.print_wd_pq_opt = quantities ? 1 : 0;
        s.skip_invalid_barcode = 1;
        s.Print_Start = 0;
        s.Print_End = batch.barcodeRows;
        s.Total_Label = s.Total_Label_Real = labels;
        s.rows = batch.jobRows(false);
        return j;
    }

    // The barcodes of every page of the file, in the order of the cells.
    QStringList written(const Pdf_Export_Job& j)
    {
        const QString pdf = QDir(dir.path()).filePath(QStringLiteral("Rows.PDF"));
        QStringList all;
        const int pages = Pdf_Pages(pdf);
        for (int p = 1; p <= pages; ++p)
            all << Cell_Barcodes(pdf, p, j.geometry());
        while (!all.isEmpty() && all.back().isEmpty())
            all.removeLast();
        return all;
    }

    QTemporaryDir dir;
    FakeMainWindow mainWindow;
    FakeBatchServices batch;
    std::atomic<int> made{0};
    std::atomic<int> busy{0};
    std::function<void(int)> onRow;
};

} // namespace

TEST_F(PdfWorkersTest, LabelsComeInTheOrderOfTheirRowsWithQuantitiesAndRowsLeftOut)
{
    rows(14, {1, 2, 1, 1, 3}, {4, 9});
    const Pdf_Export_Job j = job(15, true);
    Job_Control control;
    const Pdf_Export_Report report = Run_Pdf_Export(j, &control);
    EXPECT_FALSE(report.stopped);
    EXPECT_EQ(report.labels, 15);
    EXPECT_EQ(report.skippedRows, (QList<int>{4, 9}));
    EXPECT_EQ(control.curr_card_count.load(), 15);
    EXPECT_EQ(written(j), (QStringList{"R1", "R2", "R2", "R3", "R5", "R5",     //
                                       "R5", "R6", "R7", "R8", "R10", "R11",   //
                                       "R12", "R13", "R14"}));
    // Each row was made once.
    EXPECT_EQ(made.load(), 14);
}

TEST_F(PdfWorkersTest, StopEndsTheJobAtALabelWithItsPagesReadableAndTheWorkersWithIt)
{
    rows(2000, {}, {});
    Job_Control control;
    // The user stops while the workers make row 41 (the pages are behind).
    onRow = [&control](int row) {
        if (row == 40)
            control.Stop_Processing_Now = true;
    };
    const Pdf_Export_Job j = job(2000, false);
    const Pdf_Export_Report report = Run_Pdf_Export(j, &control);
    EXPECT_TRUE(report.stopped);
    ASSERT_GE(report.labels, 0);
    EXPECT_LE(report.labels, 40);
    EXPECT_EQ(control.curr_card_count.load(), report.labels);
    // The labels written are the first rows, in order, on readable pages.
    QStringList want;
    for (int r = 1; r <= report.labels; ++r)
        want << QStringLiteral("R%1").arg(r);
    if (report.labels > 0) {
        EXPECT_EQ(written(j), want);
    }
    // The workers ended with the job, long before the last row.
    EXPECT_EQ(busy.load(), 0);
    const int afterJob = made.load();
    EXPECT_LT(afterJob, 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(made.load(), afterJob);
}
