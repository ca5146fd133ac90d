// Print jobs through the print window into PDF files: which row lands in
// which cell, on which sheet, with print quantities, ranges, skipped rows,
// crop marks and the preview's sheet limit. The PDF is read back: its pages,
// its text and its pictures.
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"
#include "print/Printing_View.h"
#include "print/SheetLayout.h"

#include <QLineEdit>
#include <QCheckBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

using namespace printtest;

namespace {

struct Sheet {
    QList<int> rows;               // data rows in cell order
    QList<Printing_View::Placed_Label> labels;
};

class PrintJobTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        pdf = dir.filePath("job.pdf");
        usePdf(pdf);
        batch.state.value = QStringLiteral("123456");
    }

    // A window opened in the current mode, recording each sheet's labels.
    std::unique_ptr<Print_Wnd> open()
    {
        auto w = std::make_unique<Print_Wnd>();
        w->Reset_For_Opening();
        w->on_sheet = [this](int, const QList<Printing_View::Placed_Label>& placed) {
            Sheet s;
            s.labels = placed;
            for (const auto& l : placed)
                s.rows << l.dataRow;
            sheets << s;
        };
        return w;
    }

    static void grid(Print_Wnd& w, int rows, int cols)
    {
        w.sheetPane->Row_Text->setText(QString::number(rows));
        w.sheetPane->Row_Changed(w.sheetPane->Row_Text);
        w.sheetPane->Col_Text->setText(QString::number(cols));
        w.sheetPane->Col_Changed(w.sheetPane->Col_Text);
    }

    static void field(Print_Wnd& w, QLineEdit* f, const QString& text, void (Sheet_Options_Pane::*action)(QObject*))
    {
        f->setText(text);
        (w.sheetPane->*action)(f);
    }

    // A barcode list of coloured labels with the given print quantities.
    void barcodeList(const QList<int>& quantities, QSizeF size = QSizeF(100, 40))
    {
        batch.list.clear();
        for (int q : quantities)
            batch.list << BarcodeListRow{{"Value", "v"}, {"Header", ""}, {"Footer", ""},
                                               {"PQ", QString::number(q)}};
        batch.state.dataSource = batch.state.valueChecked = true;
        batch.barcodeRows = int(quantities.size());
        batch.rowImage = [size](int row) { return Colour_Label(size, Row_Colour(row)); };
    }

    QString pdf;
    QList<Sheet> sheets;
};

bool dark(const QImage& img, QPointF pt, double scale)
{
    const int x = int(pt.x() * scale), y = int(pt.y() * scale);
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (img.rect().contains(x + dx, y + dy) && qGray(img.pixel(x + dx, y + dy)) < 100)
                return true;
    return false;
}

} // namespace

TEST_F(PrintJobTest, ABatchFillsTheCellsInRowOrderAndLeavesTheRestEmpty)
{
    batch.mode = 1;
    batch.designRows(25);
    batch.cardSize = QSizeF(60 * 2.834645669291, 25 * 2.834645669291);
    batch.cardImage = [this](int row) { return Colour_Label(batch.cardSize, Row_Colour(row)); };
    auto w = open();
    EXPECT_TRUE(w->sheetPane->print_with_batch_chk->isChecked());
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "25");
    grid(*w, 10, 3);
    field(*w, w->sheetPane->horz_mar_Text, "3", &Sheet_Options_Pane::Horz_Margin_Changed);
    field(*w, w->sheetPane->vert_mar_Text, "2", &Sheet_Options_Pane::Vert_Margin_Changed);
    w->crop_mark_chk->setChecked(true);
    w->Enable_Crop_Mark_clicked();
    w->sheetPane->Mid_center_btn_clicked();   // centred, so marks at every edge fall on the page
    w->Execute_Printing(false);

    ASSERT_EQ(Pdf_Pages(pdf), 1);
    ASSERT_EQ(sheets.size(), 1);
    ASSERT_EQ(sheets[0].labels.size(), 25);
    const double mm = 2.834645669291, lw = 60 * mm, lh = 25 * mm, hg = 3 * mm, vg = 2 * mm;
    const double BW = 3 * lw + 2 * hg, BH = 10 * lh + 9 * vg;
    // A4 in exact points, not the 595 x 842 a driver rounds it to.
    const double ox = (595.2756 - BW) / 2, oy = (841.8898 - BH) / 2;
    for (int n = 0; n < 25; ++n) {
        SCOPED_TRACE(n);
        const auto& l = sheets[0].labels[n];
        EXPECT_EQ(l.dataRow, n);
        EXPECT_EQ(l.cellNumber, n + 1);
        EXPECT_NEAR(l.cell.x(), ox + (n % 3) * (lw + hg), 1e-3);
        EXPECT_NEAR(l.cell.y(), oy + (n / 3) * (lh + vg), 1e-3);
        EXPECT_NEAR(l.image.width(), lw, 1e-3);
        EXPECT_NEAR(l.image.x(), l.cell.x(), 1e-3);
        EXPECT_NEAR(l.image.y(), l.cell.y(), 1e-3);
    }

    // The page itself: each cell in its row's colour, the last five white,
    // crop marks only around the filled cells.
    const double scale = 2.0;
    const QImage page = Pdf_Page_Image(pdf, 1, 144);
    ASSERT_FALSE(page.isNull());
    for (int n = 0; n < 30; ++n) {
        SCOPED_TRACE(n);
        const QPointF centre(ox + (n % 3) * (lw + hg) + lw / 2, oy + (n / 3) * (lh + vg) + lh / 2);
        const QRgb px = page.pixel(int(centre.x() * scale), int(centre.y() * scale));
        const QColor want = n < 25 ? Row_Colour(n) : QColor(Qt::white);
        EXPECT_NEAR(qRed(px), want.red(), 3);
        EXPECT_NEAR(qGreen(px), want.green(), 3);
        EXPECT_NEAR(qBlue(px), want.blue(), 3);
    }
    // Marks below the last row (all empty) and right of cell 27 (empty): none.
    for (int j = 0; j < 3; ++j) {
        EXPECT_FALSE(dark(page, QPointF(ox + j * (lw + hg), oy + BH + 12), scale)) << j;
        EXPECT_FALSE(dark(page, QPointF(ox + j * (lw + hg) + lw, oy + BH + 12), scale)) << j;
    }
    EXPECT_FALSE(dark(page, QPointF(ox + BW + 12, oy + 9 * (lh + vg) - vg), scale));
    // Marks above the first row and right of cell 24: there.
    for (int j = 0; j < 3; ++j)
        EXPECT_TRUE(dark(page, QPointF(ox + j * (lw + hg), oy - 12), scale)) << j;
    EXPECT_TRUE(dark(page, QPointF(ox + BW + 12, oy + 8 * (lh + vg) - vg), scale));
    EXPECT_TRUE(dark(page, QPointF(ox - 12, oy + BH - lh - vg), scale));
}

TEST_F(PrintJobTest, CopiesOfOneLabelFillSheetAfterSheet)
{
    auto w = open();
    grid(*w, 2, 2);
    field(*w, w->sheetPane->width_Text, "60", &Sheet_Options_Pane::Width_Changed);
    field(*w, w->sheetPane->height_Text, "40", &Sheet_Options_Pane::Height_Changed);
    w->sheetPane->Total_Text->setText("7");
    w->sheetPane->Total_Val_Changed(w->sheetPane->Total_Text);
    w->Copies_Text->setText("2");
    w->Execute_Printing(false);
    EXPECT_EQ(Pdf_Pages(pdf), 2);
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0].labels.size(), 4);
    EXPECT_EQ(sheets[1].labels.size(), 3);
    EXPECT_EQ(sheets[1].rows, QList<int>({-1, -1, -1}));
    EXPECT_EQ(w->last_job_copies, 2);
}

TEST_F(PrintJobTest, PrintQuantitiesRepeatRowsAcrossSheets)
{
    barcodeList({3, 2});
    auto w = open();
    EXPECT_TRUE(w->sheetPane->print_qty_chk->isChecked());
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "5");
    grid(*w, 2, 2);
    w->Execute_Printing(false);
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0].rows, QList<int>({0, 0, 0, 1}));
    EXPECT_EQ(sheets[1].rows, QList<int>({1}));
    EXPECT_EQ(Pdf_Pages(pdf), 2);
    // Each row's image is made once, not once a copy (after the size check
    // before the job looked at the rows of the first sheet).
    EXPECT_EQ(batch.imageRows.mid(batch.imageRows.size() - 2), QList<int>({0, 1}));
    EXPECT_EQ(batch.imageRows.size(), 4);
}

TEST_F(PrintJobTest, ARangeCountsRowsEachRepeatedByItsQuantity)
{
    barcodeList({1, 1, 2, 2, 1, 3});
    auto w = open();
    grid(*w, 3, 3);
    w->sheetPane->Sel_Print_RD_Clicked();
    field(*w, w->sheetPane->from_Text, "3", &Sheet_Options_Pane::From_Stepper_Changed);
    field(*w, w->sheetPane->To_Text, "5", &Sheet_Options_Pane::To_Stepper_Changed);
    w->Execute_Printing(false);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].rows, QList<int>({2, 2, 3, 3, 4}));
    EXPECT_EQ(w->sheet.Print_Start, 2);
    EXPECT_EQ(w->sheet.Total_Label, 5);

    // From after To prints nothing.
    sheets.clear();
    field(*w, w->sheetPane->from_Text, "5", &Sheet_Options_Pane::From_Stepper_Changed);
    field(*w, w->sheetPane->To_Text, "3", &Sheet_Options_Pane::To_Stepper_Changed);
    w->Execute_Printing(false);
    EXPECT_TRUE(saw("Please select valid range."));
    EXPECT_TRUE(sheets.isEmpty());
}

TEST_F(PrintJobTest, TheRangeNeverReachesPastTheLastRow)
{
    // Five labels from two rows: the total counts labels, the range rows.
    // A range ending past the last row would print the current barcode for
    // rows that do not exist.
    barcodeList({3, 2});
    auto w = open();
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "5");
    EXPECT_EQ(w->sheetPane->To_Text->text(), "2");
    grid(*w, 2, 3);
    w->sheetPane->Sel_Print_RD_Clicked();
    w->Execute_Printing(false);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].rows, QList<int>({0, 0, 0, 1, 1}));

    // Typing a larger last row gives back the last one.
    w->sheetPane->To_Text->setText("9");
    w->sheetPane->controlTextDidChange(w->sheetPane->To_Text);
    EXPECT_EQ(w->sheetPane->To_Text->text(), "2");
}

TEST_F(PrintJobTest, RowsWithoutABarcodeAreSkippedOrCaptioned)
{
    barcodeList({1, 1, 1});
    batch.rowImage = [](int row) {
        return row == 1 ? PtImage() : Colour_Label(QSizeF(100, 40), Row_Colour(row));
    };
    auto w = open();
    grid(*w, 1, 3);
    EXPECT_TRUE(w->sheetPane->skip_inavlid_chk->isChecked());
    w->Execute_Printing(false);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].rows, QList<int>({0, 2}));

    sheets.clear();
    w->sheetPane->skip_inavlid_chk->setChecked(false);
    w->sheetPane->Skip_Inavlid_Checked();
    w->Execute_Printing(false);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].rows, QList<int>({0, 1, 2}));
    EXPECT_TRUE(sheets[0].labels[1].invalid);
    EXPECT_TRUE(Pdf_Text(pdf, 1).contains("Invalid Data")) << Pdf_Text(pdf, 1).toStdString() << testsupport::Run_Tool("pdffonts", {pdf}).out.constData();
}

TEST_F(PrintJobTest, CardsThatCannotBeMadeUseNoCellAndNoEmptySheet)
{
    batch.mode = 1;
    batch.designRows(5);
    batch.cardImage = [this](int row) {
        return row == 3 ? PtImage() : Colour_Label(batch.cardSize, Row_Colour(row));
    };
    auto w = open();
    grid(*w, 2, 2);
    w->Execute_Printing(false);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].rows, QList<int>({0, 1, 2, 4}));
    EXPECT_EQ(Pdf_Pages(pdf), 1);
    // The design is put back after the job.
    EXPECT_EQ(batch.restores, 1);
}

TEST_F(PrintJobTest, ASpreadsheetBindingPrintsOneCardARow)
{
    batch.mode = 1;
    batch.designRows(3, false, true);
    batch.cardImage = [this](int row) { return Colour_Label(batch.cardSize, Row_Colour(row)); };
    auto w = open();
    EXPECT_TRUE(w->sheetPane->print_with_batch_chk->isEnabled());
    EXPECT_TRUE(w->sheetPane->print_with_batch_chk->isChecked());
    grid(*w, 3, 1);
    w->Execute_Printing(false);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].rows, QList<int>({0, 1, 2}));
}

TEST_F(PrintJobTest, PreviewShowsFiftySheetsAndSaysSoOncePrintingShowsAll)
{
    auto w = open();
    grid(*w, 1, 2);
    field(*w, w->sheetPane->width_Text, "80", &Sheet_Options_Pane::Width_Changed);
    field(*w, w->sheetPane->height_Text, "30", &Sheet_Options_Pane::Height_Changed);
    w->sheetPane->Total_Text->setText("120");
    w->sheetPane->Total_Val_Changed(w->sheetPane->Total_Text);
    int previewPages = 0;
    onDialog([&](QDialog& d) {
        auto* preview = d.findChild<QPrintPreviewWidget*>();
        if (!preview)
            return 0;
        preview->updatePreview();
        preview->updatePreview();   // drawn again: the notice is not repeated
        previewPages = preview->pageCount();
        return 0;
    });
    w->Execute_Printing(true);
    EXPECT_EQ(previewPages, 50);
    EXPECT_EQ(count("only first 50 sheets"), 1);

    w->Execute_Printing(false);
    EXPECT_EQ(Pdf_Pages(pdf), 60);
    EXPECT_EQ(count("only first 50 sheets"), 1);
}

TEST_F(PrintJobTest, BarcodesArePrintedAsVectorsAndRasterPicturesRaisedTo600Dpi)
{
    auto w = open();
    ASSERT_FALSE(w->sheet.Barcode_Image.isNull());
    EXPECT_TRUE(w->sheet.Barcode_Image.isVector());
    w->Execute_Printing(false);
    const testsupport::ToolResult images = testsupport::Run_Tool("pdfimages", {"-list", pdf});
    EXPECT_EQ(images.out.count('\n'), 2) << images.out.constData();   // the table head only

    QImage small(20, 10, QImage::Format_ARGB32);
    small.fill(Qt::black);
    const PtImage raster(small, QSizeF(20, 10));
    Printing_View print(w->sheet, QRectF(0, 0, 595, 842), false), preview(w->sheet, QRectF(0, 0, 595, 842), true);
    EXPECT_EQ(print.Change_dpi_for_image(raster).raster().width(), int(std::ceil(600 * 20 / 72.0)));
    EXPECT_EQ(print.Change_dpi_for_image(raster).size(), raster.size());
    EXPECT_EQ(preview.Change_dpi_for_image(raster).raster().width(), 20);
    EXPECT_TRUE(print.Change_dpi_for_image(w->sheet.Barcode_Image).isVector());
}

// The preview's Print prints the whole job, as the window's Print does, on
// the job's own paper: 1,500 labels on a sheet of one give 1,500 Letter
// pages, though the preview showed 50; no other dialog comes between.
TEST_F(PrintJobTest, ThePreviewsPrintPrintsTheWholeJobOnTheJobsPaper)
{
    usePdf(pdf, QPageSize(QPageSize::Letter));
    barcodeList(QList<int>(1500, 1));
    auto w = open();
    ASSERT_EQ(w->sheetPane->Total_Text->text(), "1500");
    ASSERT_EQ(w->sheet.Print_Row * w->sheet.Print_Col, 1);
    int previewPages = 0;
    QString shown, afterNext;
    onDialog([&](QDialog& d) {
        auto* preview = qobject_cast<Print_Preview*>(&d);
        if (!preview)
            return 0;
        previewPages = preview->view->pageCount();
        shown = preview->page_label->text();
        // Next and Previous move the sheet the label names.
        for (QToolButton* b : preview->findChildren<QToolButton*>())
            if (b->text() == "Next")
                b->click();
        afterNext = preview->page_label->text();
        preview->print_btn->click();
        return preview->result();
    });
    bool another = false;
    onDialog([&](QDialog&) {
        another = true;
        return 0;
    });
    w->Execute_Printing(true);
    EXPECT_FALSE(another) << "a second dialog came between";
    EXPECT_EQ(previewPages, 50);
    EXPECT_EQ(shown, "Sheet 1 of 50");
    EXPECT_EQ(afterNext, "Sheet 2 of 50");
    EXPECT_EQ(count("only first 50 sheets"), 1);
    EXPECT_EQ(Pdf_Pages(pdf), 1500);
    EXPECT_EQ(w->last_job_sheets, 1500);
    const QString info = QString::fromUtf8(testsupport::Run_Tool("pdfinfo", {pdf}).out);
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+612 x 792 pts"))) << info.toStdString();
}
