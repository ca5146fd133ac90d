// The PDF export window and its writer: the four layouts, the names of the
// files, the page sizes, the range, print quantities and invalid rows, and
// what a job leaves behind. Pages are rasterised with pdftoppm and every
// barcode on them read back with zbarimg.
#include "ExportTestSupport.h"
#include "barcode/generation/panes/Stepper.h"
#include "common/FakeBatchServices.h"
#include "common/PdfChecks.h"
#include "common/PageSetup.h"
#include "common/PrintQueue.h"
#include "core/FakeMainWindow.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/PdfExportWindow.h"
#include "export/ProgressWindow.h"
#include "platform/MainThread.h"
#include "print/SheetJob.h"
#include "print/PrintControls.h"
#include "print/PrinterList.h"
#include "print/Sample_Preview.h"
#include "print/SheetLayout.h"
#include "print/SheetOptionsPane.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace exporttest;

// Pages of a PDF and the size of each (points), from pdfinfo.
struct PdfInfo {
    int pages = -1;
    QList<QSizeF> sizes;
};

PdfInfo Pdf_Info(const QString& path)
{
    PdfInfo info;
    const auto r = testsupport::Run_Tool("pdfinfo", {"-f", "1", "-l", "999", path});
    const QString out = QString::fromUtf8(r.out);
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    if (pages.hasMatch())
        info.pages = pages.captured(1).toInt();
    const QRegularExpression size(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = size.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        info.sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return info;
}

QImage Page_Image(const QString& pdf, int page, int dpi)
{
    QTemporaryDir out;
    const QString base = out.filePath(QStringLiteral("page"));
    testsupport::Run_Tool("pdftoppm", {"-r", QString::number(dpi), "-f", QString::number(page), "-l",
                                       QString::number(page), "-singlefile", "-png", pdf, base});
    return QImage(base + QStringLiteral(".png"));
}

QString Decode(const QImage& image)
{
    QTemporaryDir out;
    const QString png = out.filePath(QStringLiteral("cell.png"));
    if (image.isNull() || !image.save(png))
        return QStringLiteral("(no image)");
    return QString::fromUtf8(testsupport::Zbar_Decode(png));
}

// The barcodes found on a page, sorted (each value once).
QStringList Page_Barcodes(const QString& pdf, int page, int dpi = 150)
{
    QTemporaryDir out;
    const QString png = out.filePath(QStringLiteral("page.png"));
    const QImage img = Page_Image(pdf, page, dpi);
    if (img.isNull() || !img.save(png))
        return {QStringLiteral("(no page)")};
    const auto z = testsupport::Run_Tool("zbarimg", {"--raw", "-q", png});
    QStringList values = QString::fromUtf8(z.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    values.sort();
    return values;
}

// The barcode of each cell of a sheet page, row by row ("" for an empty cell).
QStringList Cell_Barcodes(const QString& pdf, int page, const Sheet_Geometry& g, int dpi = 150)
{
    const QImage img = Page_Image(pdf, page, dpi);
    const double k = dpi / 72.0;
    QStringList values;
    for (int i = 1; i <= g.rows; ++i)
        for (int j = 1; j <= g.cols; ++j) {
            const QRectF cell = To_Top_Left(Cell_Rect(g, i, j), g.H);
            const QRect px = QRectF(cell.x() * k, cell.y() * k, cell.width() * k, cell.height() * k).toAlignedRect();
            values << Decode(img.copy(px));
        }
    return values;
}

class PdfExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Test Printer")}; });
        previousInfo = MainWindowServices::printInfo();
        MainWindowServices::setPrintInfo(PrintInfo());   // A4 portrait, no margins
        msgs.onDialog = [this](QDialog& d) {
            if (auto* box = dynamic_cast<Replcae_Confirm_Box*>(&d)) {
                ++keepReplaceBoxes;
                if (onKeepReplace)
                    onKeepReplace(*box);
                else
                    box->replace_button->click();
                return;
            }
            if (auto* box = dynamic_cast<Open_Export_Log*>(&d)) {
                ++afterExportBoxes;
                afterExportPath = box->Export_File_Path;
                afterExportMessage = box->Export_File_Message;
            }
        };
        window = std::make_unique<PDF_Export>();
        window->chooseFolder = [this] { return dir.path(); };
    }

    void TearDown() override
    {
        window.reset();
        Set_Printer_Names_Provider({});
        MainWindowServices::setPrintInfo(previousInfo);
    }

    // Barcode mode with a list of `rows` rows R1..Rn (print quantity 1, or
    // as given), every row a Code 128 barcode unless `invalid` names it.
    void barcodeList(int rows, QList<int> quantities = {}, QList<int> invalid = {})
    {
        batch.mode = 0;
        batch.barcodeRows = rows;
        batch.state.dataSource = true;
        batch.state.valueChecked = true;
        batch.state.listFeeds = true;
        batch.state.value = QStringLiteral("ABC");
        Set_Barcode_Type(batch.state.settings, QStringLiteral("Code 128"));
        batch.list.clear();
        for (int r = 0; r < rows; ++r) {
            BarcodeListRow row;
            row.insert(QStringLiteral("Value"), QStringLiteral("R%1").arg(r + 1));
            row.insert(QStringLiteral("PQ"), QString::number(quantities.value(r, 1)));
            batch.list << row;
        }
        batch.rowImage = [invalid](int row) {
            return invalid.contains(row + 1) ? PtImage() : Code128(QStringLiteral("R%1").arg(row + 1));
        };
        batch.invalidImage = Code128(QStringLiteral("INVALID"));
    }

    // Label size (mm) and grid through the window's fields, as typed.
    void sheet(double wmm, double hmm, int rows, int cols)
    {
        type(window->sheetPane->width_Text, QString::number(wmm));
        window->sheetPane->Width_Changed(window->sheetPane->width_Text);
        type(window->sheetPane->height_Text, QString::number(hmm));
        window->sheetPane->Height_Changed(window->sheetPane->height_Text);
        type(window->sheetPane->Row_Text, QString::number(rows));
        window->sheetPane->Row_Changed(window->sheetPane->Row_Text);
        type(window->sheetPane->Col_Text, QString::number(cols));
        window->sheetPane->Col_Changed(window->sheetPane->Col_Text);
    }

    static void type(QLineEdit* f, const QString& text) { f->setText(text); }

    bool saw(const QString& text) const
    {
        for (const QString& t : msgs.texts())
            if (t.trimmed() == text)
                return true;
        return false;
    }

    void option(int row) { window->pdf_option[row]->click(); }

    // Presses Export and waits for the job; false when none started.
    bool runJob()
    {
        window->export_btn->click();
        const auto job = window->lastJob();
        if (!job || job == previousJob)
            return false;
        previousJob = job;
        return Pump_Until([&] { return job->done.load(); });
    }

    QString folder() const { return dir.filePath(QStringLiteral("Zorv PDF Label")); }
    QStringList files() const { return Files_In(folder()); }

    QTemporaryDir dir;
    FakeMainWindow mainWindow;
    FakeBatchServices batch;
    ScriptedMessages msgs;
    std::unique_ptr<PDF_Export> window;
    std::shared_ptr<Job_Handle<Pdf_Export_Report>> previousJob;
    PrintInfo previousInfo;
    int mode = 0;
    int keepReplaceBoxes = 0;
    int afterExportBoxes = 0;
    QString afterExportPath, afterExportMessage;
    std::function<void(Replcae_Confirm_Box&)> onKeepReplace;
};

TEST_F(PdfExportTest, SheetsInOneFileFillThreePagesForTenLabelsAndEveryBarcodeReads)
{
    barcodeList(10);
    window->Reset_For_Opening();
    EXPECT_EQ(window->sheetPane->Total_Text->text(), "10");
    EXPECT_TRUE(window->sheetPane->print_with_batch_chk->isChecked());
    EXPECT_EQ(window->file_name_save_txt->text(), "ZorvLabel");
    sheet(90, 40, 2, 2);
    type(window->file_name_save_txt, QStringLiteral("N"));
    const float rowsBefore = window->sheet.Print_Row, widthBefore = window->sheet.label_width;
    ASSERT_TRUE(runJob());

    EXPECT_EQ(files(), QStringList{"N.PDF"});
    const PdfInfo info = Pdf_Info(QDir(folder()).filePath("N.PDF"));
    ASSERT_EQ(info.pages, 3);
    EXPECT_NEAR(info.sizes.value(0).width(), 595.0, 1.0);   // A4
    EXPECT_NEAR(info.sizes.value(0).height(), 842.0, 1.0);
    const QString pdf = QDir(folder()).filePath("N.PDF");
    const Sheet_Geometry g = window->acceptedJob().geometry();
    EXPECT_EQ(Cell_Barcodes(pdf, 1, g), (QStringList{"R1", "R2", "R3", "R4"}));
    EXPECT_EQ(Cell_Barcodes(pdf, 2, g), (QStringList{"R5", "R6", "R7", "R8"}));
    EXPECT_EQ(Cell_Barcodes(pdf, 3, g), (QStringList{"R9", "R10", "", ""}));
    // The captions are text: each row's once.
    const QString text = QString::fromUtf8(testsupport::Run_Tool("pdftotext", {"-layout", pdf, "-"}).out);
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("\\bR\\d+\\b"))), 10) << text.toStdString();
    for (int r = 1; r <= 10; ++r)
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\bR%1\\b").arg(r)))) << r;
    // Its font embedded and named as the subset it is ("ABCDEF+Name"); the
    // file still reads whole (its cross-references moved with the names).
    EXPECT_TRUE(testsupport::Fonts_Are_Tagged_Subsets(pdf));
    EXPECT_TRUE(testsupport::Cross_References_Hold(testsupport::readAll(pdf)));
    // The job asked the rows in order, once each (after the look at the
    // first sheet's and the longest rows that checks their size); the window
    // is as it was.
    EXPECT_EQ(batch.imageRows.mid(batch.imageRows.size() - 10), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(window->sheet.Print_Row, rowsBefore);
    EXPECT_EQ(window->sheet.label_width, widthBefore);
    EXPECT_EQ(window->pdf_export_opt, 0);
    EXPECT_EQ(afterExportBoxes, 1);
    EXPECT_EQ(afterExportPath, folder());
    EXPECT_EQ(afterExportMessage, "Label has been exported successfully.");

    // Exactly eight labels: two pages, no empty third one.
    barcodeList(8);
    window->Reset_For_Opening();
    sheet(90, 40, 2, 2);
    type(window->file_name_save_txt, QStringLiteral("Eight"));
    ASSERT_TRUE(runJob());
    EXPECT_EQ(Pdf_Info(QDir(folder()).filePath("Eight.PDF")).pages, 2);
}

TEST_F(PdfExportTest, FilePerSheetIsNumberedAndCancelInKeepOrReplaceEndsTheJob)
{
    barcodeList(10);
    window->Reset_For_Opening();
    sheet(90, 40, 2, 2);
    option(1);
    type(window->file_name_save_txt, QStringLiteral("N"));
    ASSERT_TRUE(runJob());
    EXPECT_EQ(files(), (QStringList{"N (1).PDF", "N (2).PDF", "N.PDF"}));
    for (const QString& f : files())
        EXPECT_EQ(Pdf_Info(QDir(folder()).filePath(f)).pages, 1) << f.toStdString();
    EXPECT_EQ(Cell_Barcodes(QDir(folder()).filePath("N (2).PDF"), 1, window->acceptedJob().geometry()),
              (QStringList{"R9", "R10", "", ""}));
    EXPECT_EQ(keepReplaceBoxes, 0);

    // Again into the same folder: the first file is replaced, Cancel at the
    // second ends the job with the window and its geometry as they were.
    const QByteArray second = testsupport::readAll(QDir(folder()).filePath("N (1).PDF"));
    int asked = 0;
    onKeepReplace = [&asked](Replcae_Confirm_Box& box) {
        if (++asked == 1)
            box.replace_button->click();
        else
            box.cancel_button->click();
    };
    window->sheetPane->Auto_Center_chk_bx->click();
    const int alignBefore = window->sheet.label_align_val;
    afterExportBoxes = 0;
    ASSERT_TRUE(runJob());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(testsupport::readAll(QDir(folder()).filePath("N (1).PDF")), second);
    EXPECT_EQ(files().size(), 3);
    EXPECT_TRUE(window->lastJob()->report().cancelled);
    EXPECT_EQ(window->sheet.auto_center_flag, 1);
    EXPECT_EQ(window->sheet.label_align_val, alignBefore);
    EXPECT_EQ(window->pdf_export_opt, 1);
    EXPECT_EQ(afterExportBoxes, 1);   // one file was written
    EXPECT_FALSE(Send_Modeless_Dialog::defaultInstance()->isVisible());
}


// The bounding box of the dark pixels of a page rendered at 72 DPI (points).
QRect Dark_Box(const QString& pdf, int page)
{
    QTemporaryDir out;
    const QString base = out.filePath(QStringLiteral("page"));
    testsupport::Run_Tool("pdftoppm", {"-r", "72", "-f", QString::number(page), "-l", QString::number(page),
                                       "-singlefile", "-png", pdf, base});
    const QImage img = QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(PdfExportTest, LabelSizedPagesAreTheSizeOfEachLabelAndAFilePerLabelIsNumbered)
{
    barcodeList(3);
    window->Reset_For_Opening();
    option(3);
    EXPECT_TRUE(window->use_label_size_chk_box->isVisibleTo(window.get()));
    window->use_label_size_chk_box->click();
    EXPECT_EQ(window->sheet.PDF_Use_Label_Size, 1);
    EXPECT_FALSE(window->sheetPane->Auto_Center_chk_bx->isEnabled());
    type(window->file_name_save_txt, QStringLiteral("Pages"));
    ASSERT_TRUE(runJob());
    const QString pdf = QDir(folder()).filePath("Pages.PDF");
    const PdfInfo info = Pdf_Info(pdf);
    ASSERT_EQ(info.pages, 3);
    for (int i = 0; i < 3; ++i) {
        const QSizeF want = Code128(QStringLiteral("R%1").arg(i + 1)).size();
        EXPECT_NEAR(info.sizes.value(i).width(), want.width(), 1.0) << i;
        EXPECT_NEAR(info.sizes.value(i).height(), want.height(), 1.0) << i;
        EXPECT_EQ(Page_Barcodes(pdf, i + 1, 300), QStringList{QStringLiteral("R%1").arg(i + 1)}) << i;
    }

    option(2);
    type(window->file_name_save_txt, QStringLiteral("One"));
    ASSERT_TRUE(runJob());
    EXPECT_TRUE(files().contains("One.PDF") && files().contains("One (1).PDF") && files().contains("One (2).PDF"));
    EXPECT_EQ(Page_Barcodes(QDir(folder()).filePath("One (2).PDF"), 1, 300), QStringList{"R3"});

    // Back to sheets: the box hides, the setting stays until it is turned off.
    option(0);
    EXPECT_FALSE(window->use_label_size_chk_box->isVisibleTo(window.get()));
    EXPECT_EQ(window->sheet.PDF_Use_Label_Size, 1);
}

TEST_F(PdfExportTest, WithoutBatchValuesEveryPageShowsTheOneLabelAndNoPrinterGivesTheDefaultPage)
{
    Set_Printer_Names_Provider([] { return QStringList(); });
    batch.mode = 0;
    batch.state.value = QStringLiteral("SAME");
    Set_Barcode_Type(batch.state.settings, QStringLiteral("Code 128"));
    window->Reset_For_Opening();
    EXPECT_FALSE(window->sheetPane->print_with_batch_chk->isEnabled());
    EXPECT_FALSE(window->sheetPane->export_range_box->isEnabled() && window->sheetPane->Sel_print_rd->isEnabled());
    // The page without a printer: A4 in a locale that measures in metres.
    EXPECT_EQ(window->Page_width_txt->text(), "210.00");
    EXPECT_EQ(window->Page_height_txt->text(), "297.00");
    sheet(60, 30, 3, 2);
    EXPECT_EQ(window->sheetPane->Total_Text->text(), "6");   // rows x columns
    type(window->sheetPane->Total_Text, QStringLiteral("8"));
    window->sheetPane->Total_Val_Changed(window->sheetPane->Total_Text);
    type(window->file_name_save_txt, QStringLiteral("Same"));
    ASSERT_TRUE(runJob());
    const QString pdf = QDir(folder()).filePath("Same.PDF");
    const PdfInfo info = Pdf_Info(pdf);
    ASSERT_EQ(info.pages, 2);
    EXPECT_NEAR(info.sizes.value(0).width(), 595.0, 1.0);
    const Sheet_Geometry g = window->acceptedJob().geometry();
    EXPECT_EQ(Cell_Barcodes(pdf, 1, g), QStringList(6, QStringLiteral("SAME")));
    EXPECT_EQ(Cell_Barcodes(pdf, 2, g), (QStringList{"SAME", "SAME", "", "", "", ""}));
    EXPECT_TRUE(batch.imageRows.isEmpty());
}

TEST_F(PdfExportTest, RangeQuantitiesAndInvalidRows)
{
    // Row 2 three times, row 4 gives no barcode.
    barcodeList(6, {1, 3, 1, 1, 1, 1}, {4});
    window->Reset_For_Opening();
    EXPECT_TRUE(window->sheetPane->skip_inavlid_chk->isChecked());
    EXPECT_TRUE(window->sheetPane->print_qty_chk->isChecked());
    sheet(90, 40, 5, 2);
    option(0);

    // From 5 to 3 is refused; nothing starts.
    window->sheetPane->Sel_print_rd->click();
    type(window->sheetPane->from_Text, QStringLiteral("5"));
    window->sheetPane->From_Stepper_Changed(window->sheetPane->from_Text);
    type(window->sheetPane->To_Text, QStringLiteral("3"));
    window->sheetPane->To_Stepper_Changed(window->sheetPane->To_Text);
    type(window->file_name_save_txt, QStringLiteral("Range"));
    EXPECT_FALSE(runJob());
    EXPECT_TRUE(saw("Please select valid range."));

    // Rows 2 to 5: row 2 three times, row 4 left out without a gap.
    type(window->sheetPane->from_Text, QStringLiteral("2"));
    window->sheetPane->From_Stepper_Changed(window->sheetPane->from_Text);
    type(window->sheetPane->To_Text, QStringLiteral("5"));
    window->sheetPane->To_Stepper_Changed(window->sheetPane->To_Text);
    ASSERT_TRUE(runJob());
    const QString pdf = QDir(folder()).filePath("Range.PDF");
    EXPECT_EQ(Pdf_Info(pdf).pages, 1);
    EXPECT_EQ(Cell_Barcodes(pdf, 1, window->acceptedJob().geometry()),
              (QStringList{"R2", "R2", "R2", "R3", "R5", "", "", "", "", ""}));
    const Pdf_Export_Report report = window->lastJob()->report();
    EXPECT_EQ(report.labels, 5);
    EXPECT_EQ(report.skippedRows, QList<int>{4});
    EXPECT_EQ(window->acceptedJob().sheet.Total_Label, 5);   // the labels written: row 4 gives none
    EXPECT_EQ(window->acceptedJob().sheet.Print_Start, 1);

    // Skip-invalid off: the invalid row shows the invalid-data image.
    window->sheetPane->skip_inavlid_chk->click();
    type(window->file_name_save_txt, QStringLiteral("Shown"));
    ASSERT_TRUE(runJob());
    EXPECT_EQ(Cell_Barcodes(QDir(folder()).filePath("Shown.PDF"), 1, window->acceptedJob().geometry()),
              (QStringList{"R2", "R2", "R2", "R3", "INVALID", "R5", "", "", "", ""}));
}

TEST_F(PdfExportTest, OptionsKeepTheGridAndASheetOfOneLabelIsAPagePerLabel)
{
    barcodeList(4);
    window->Reset_For_Opening();
    sheet(60, 30, 3, 2);
    type(window->sheetPane->horz_mar_Text, QStringLiteral("4"));
    window->sheetPane->Horz_Margin_Changed(window->sheetPane->horz_mar_Text);
    option(2);
    EXPECT_EQ(window->sheetPane->Row_Text->text(), "1");
    EXPECT_EQ(window->sheetPane->Col_Text->text(), "1");
    EXPECT_FALSE(window->sheetPane->Row_Stepper->isEnabled());
    option(3);
    EXPECT_EQ(window->sheetPane->Row_Text->text(), "1");
    option(0);
    EXPECT_EQ(window->sheetPane->Row_Text->text(), "3");
    EXPECT_EQ(window->sheetPane->Col_Text->text(), "2");
    EXPECT_EQ(window->sheetPane->horz_mar_Text->text(), "4");
    EXPECT_EQ(window->sheet.Print_Row, 3);

    // A 1 x 1 sheet with option 0 is a page per label; the option is 0 again after.
    sheet(60, 30, 1, 1);
    window->sheetPane->Mid_center_btn_clicked();
    type(window->file_name_save_txt, QStringLiteral("Single"));
    ASSERT_TRUE(runJob());
    EXPECT_EQ(window->acceptedJob().option, 3);
    EXPECT_EQ(window->pdf_export_opt, 0);
    const QString pdf = QDir(folder()).filePath("Single.PDF");
    ASSERT_EQ(Pdf_Info(pdf).pages, 4);
    // Each page holds its label in the middle of the paper (its own size as the cell).
    const QRect box = Dark_Box(pdf, 2);
    EXPECT_NEAR(box.center().x(), 595 / 2.0, 3.0);
    EXPECT_NEAR(box.center().y(), 842 / 2.0, 40.0);
    EXPECT_EQ(Page_Barcodes(pdf, 2), QStringList{"R2"});
}

TEST_F(PdfExportTest, ChecksBeforeTheJobAndNamesCleanedOfReservedCharacters)
{
    barcodeList(2);
    window->Reset_For_Opening();
    type(window->file_name_save_txt, QStringLiteral("   "));
    EXPECT_FALSE(runJob());
    EXPECT_EQ(msgs.texts().value(0).trimmed(), "Please enter file to export.");
    type(window->sheetPane->Total_Text, QStringLiteral("0"));   // typed without the field's correction
    type(window->file_name_save_txt, QStringLiteral("a"));
    EXPECT_FALSE(runJob());
    EXPECT_EQ(msgs.texts().value(1).trimmed(), "There is no barcode to export.");
    type(window->sheetPane->Total_Text, QStringLiteral("2"));
    type(window->file_name_save_txt, QStringLiteral("a/b*"));
    ASSERT_TRUE(runJob());
    EXPECT_EQ(files(), QStringList{"a_b.PDF"});
    // Cancel in the folder chooser starts nothing.
    window->chooseFolder = [] { return QString(); };
    EXPECT_FALSE(runJob());
}

TEST_F(PdfExportTest, StopKeepsTheFinishedPagesAndAFileThatCannotBeWrittenIsReported)
{
    barcodeList(12);
    batch.rowValid = [](int) { return true; };
    batch.rowImage = [](int row) {
        if (row == 5) {
            // The user stops while row 6 is made: Stop in the progress window, then Yes.
            Run_On_Main_Thread_And_Wait([] { Send_Modeless_Dialog::defaultInstance()->_stop_btn->click(); });
        }
        return Code128(QStringLiteral("R%1").arg(row + 1));
    };
    window->Reset_For_Opening();
    sheet(90, 40, 2, 2);
    type(window->file_name_save_txt, QStringLiteral("Stopped"));
    ASSERT_TRUE(runJob());
    const QString pdf = QDir(folder()).filePath("Stopped.PDF");
    const PdfInfo info = Pdf_Info(pdf);
    EXPECT_EQ(info.pages, 2);   // the page in work ends at its next cell
    EXPECT_EQ(Cell_Barcodes(pdf, 1, window->acceptedJob().geometry()), (QStringList{"R1", "R2", "R3", "R4"}));
    EXPECT_EQ(Cell_Barcodes(pdf, 2, window->acceptedJob().geometry()), (QStringList{"R5", "R6", "", ""}));
    EXPECT_TRUE(window->lastJob()->report().stopped);
    EXPECT_NE(afterExportMessage, "Label has been exported successfully.");

    // A folder where the file should go: nothing is claimed as written.
    barcodeList(2);
    window->Reset_For_Opening();
    ASSERT_TRUE(QDir(folder()).mkpath("Blocked.PDF"));
    type(window->file_name_save_txt, QStringLiteral("Blocked"));
    msgs.requests.clear();
    afterExportBoxes = 0;
    ASSERT_TRUE(runJob());
    EXPECT_EQ(afterExportBoxes, 0);
    EXPECT_TRUE(msgs.texts().join("\n").contains("could not be written")) << msgs.texts().join("|").toStdString();
}

TEST_F(PdfExportTest, DesignBatchPutsEachRowsCardInItsCellAndRestoresTheDesign)
{
    batch.mode = 1;
    batch.designRows(5);
    batch.cardSize = QSizeF(180, 90);
    batch.cardImage = [](int row) { return Card_With(Code128(QStringLiteral("C%1").arg(row + 1)), QSizeF(180, 90)); };
    window->Reset_For_Opening();
    EXPECT_EQ(window->sheetPane->Total_Text->text(), "5");
    EXPECT_FALSE(window->sheetPane->width_Stepper->isEnabled());
    EXPECT_EQ(window->sheetPane->width_Text->text(), "63.50");
    EXPECT_TRUE(window->sheetPane->skip_inavlid_chk->isHidden());
    type(window->sheetPane->Row_Text, QStringLiteral("3"));
    window->sheetPane->Row_Changed(window->sheetPane->Row_Text);
    type(window->sheetPane->Col_Text, QStringLiteral("2"));
    window->sheetPane->Col_Changed(window->sheetPane->Col_Text);
    type(window->file_name_save_txt, QStringLiteral("Cards"));
    const int restores = batch.restores;
    ASSERT_TRUE(runJob());
    const QString pdf = QDir(folder()).filePath("Cards.PDF");
    EXPECT_EQ(Pdf_Info(pdf).pages, 1);
    EXPECT_EQ(Cell_Barcodes(pdf, 1, window->acceptedJob().geometry(), 200),
              (QStringList{"C1", "C2", "C3", "C4", "C5", ""}));
    EXPECT_EQ(batch.cardRows, (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(batch.restores, restores + 1);

    // Opening without a binding: one card, the label-size box hidden.
    batch.designRows(1, false);
    window->Reset_For_Opening();
    EXPECT_EQ(window->sheetPane->Total_Text->text(), "1");
    EXPECT_FALSE(window->sheetPane->print_with_batch_chk->isChecked());
    EXPECT_EQ(window->pdf_matrix->checkedId(), 0);
    EXPECT_FALSE(window->use_label_size_chk_box->isVisibleTo(window.get()));
    EXPECT_EQ(window->sheetPane->Row_Text->text(), "1");
}

TEST(PdfPages, ImagesWrittenAsPagesOfTheirOwnSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mail.pdf");
    const PtImage a = Code128(QStringLiteral("A1")), b = Card_With(Code128(QStringLiteral("B2")), QSizeF(200.5, 100.25));
    ASSERT_TRUE(Write_Image_Pages_Pdf(path, {a, b}));
    const PdfInfo info = Pdf_Info(path);
    ASSERT_EQ(info.pages, 2);
    // Whole points rounded up: the page holds the whole picture.
    EXPECT_EQ(info.sizes.value(1), QSizeF(201, 101));
    EXPECT_EQ(Page_Barcodes(path, 2, 300), QStringList{"B2"});
    // Nothing to write: no file, and an old one stays.
    QString error;
    EXPECT_FALSE(Write_Image_Pages_Pdf(path, {PtImage()}, &error));
    EXPECT_EQ(Pdf_Info(path).pages, 2);
}

} // namespace


// A barcode wider than its 70 mm cell is cut at the cell: its neighbours
// keep their own pixels and scan, whether the labels are drawn on the job's
// thread or (as the rows of a linear barcode are) made on workers and played
// back. The question before the job names both sizes; No writes nothing.
TEST_F(PdfExportTest, AWideBarcodeIsCutAtItsCellAndItsNeighboursScan)
{
    for (const bool workers : {false, true}) {
        SCOPED_TRACE(workers ? "made on workers" : "drawn on the job's thread");
        QDir(folder()).removeRecursively();
        barcodeList(3);
        batch.imagesOnAnyThread = workers;
        const QStringList values{QStringLiteral("ZORVLABELWIDEX"), QStringLiteral("AB12"), QStringLiteral("CD34")};
        batch.rowImage = [values](int row) { return Code128(values.value(row)); };
        window->Reset_For_Opening();
        sheet(70, 40, 2, 3);
        ASSERT_EQ(window->sheet.Print_Col, 3);

        const int asked = int(msgs.texts().filter("larger than its label").size());
        const auto before = window->lastJob();
        msgs.push(1);   // No
        window->export_btn->click();
        ASSERT_EQ(msgs.texts().filter("larger than its label").size(), asked + 1);
        EXPECT_TRUE(msgs.texts().last().contains("Label: 70.00 x 40.00 mm")) << msgs.texts().last().toStdString();
        EXPECT_EQ(window->lastJob(), before);
        EXPECT_TRUE(files().isEmpty());

        msgs.push(0);   // Yes
        ASSERT_TRUE(runJob());
        ASSERT_EQ(files().size(), 1);
        const QString pdf = QDir(folder()).filePath(files().first());
        const QImage page = Page_Image(pdf, 1, 150).convertToFormat(QImage::Format_RGB32);
        const Sheet_Geometry g = window->acceptedJob().geometry();
        const double k = 150 / 72.0;
        for (int col = 2; col <= 3; ++col) {
            SCOPED_TRACE(col);
            const QRectF cell = To_Top_Left(Cell_Rect(g, 1, col), g.H);
            const QSizeF size = Code128(values[col - 1]).size();
            // Centred across the cell, on its foot (the writer does not centre
            // a barcode upright).
            const QRectF own(cell.center().x() - size.width() / 2, cell.bottom() - size.height(), size.width(),
                             size.height());
            // No dark pixel of the cell lies outside its own barcode.
            const QRect c = QRectF(cell.topLeft() * k, cell.size() * k).toAlignedRect().adjusted(2, 2, -2, -2);
            const QRect o = QRectF(own.topLeft() * k, own.size() * k).toAlignedRect().adjusted(-2, -2, 2, 2);
            int stray = 0;
            for (int y = c.top(); y <= c.bottom(); ++y)
                for (int x = c.left(); x <= c.right(); ++x)
                    stray += !o.contains(x, y) && qGray(page.pixel(x, y)) < 128;
            EXPECT_EQ(stray, 0);
            EXPECT_EQ(Decode(page.copy(c)).trimmed(), values[col - 1]);
        }
    }
}

// Three 70 mm labels fill a 210 mm page exactly: A4 or a custom page of
// 210 mm, with and without Auto Center, give three columns; 70.01 mm two.
TEST_F(PdfExportTest, AnExactFitKeepsItsLastColumn)
{
    barcodeList(3);
    const QPageSize pages[] = {QPageSize(QPageSize::A4), QPageSize(QSizeF(210, 297), QPageSize::Millimeter)};
    for (const QPageSize& page : pages) {
        for (bool centre : {false, true}) {
            SCOPED_TRACE(page.name().toStdString() + (centre ? " centred" : ""));
            PrintInfo info;
            info.pageLayout = QPageLayout(page, QPageLayout::Portrait, QMarginsF());
            MainWindowServices::setPrintInfo(info);
            window->Reset_For_Opening();
            window->sheetPane->Auto_Center_chk_bx->setChecked(centre);
            window->sheetPane->Auto_Center_Checked();
            sheet(70, 40, 1, 3);
            EXPECT_EQ(window->sheet.Print_Col, 3);
            EXPECT_EQ(window->sheetPane->Col_Text->text(), "3");
            sheet(70.01, 40, 1, 3);
            EXPECT_EQ(window->sheet.Print_Col, 2);
        }
    }
}

// The window opened again starts afresh: the rows of one export are gone at
// the next opening, which exports the whole list.
TEST_F(PdfExportTest, ARangeOfOneExportIsGoneWhenTheWindowOpensAgain)
{
    barcodeList(5);
    batch.state.value = QStringLiteral("R1");   // the window's label: as large as every row's
    std::function<void(PDF_Export&)> inWindow;
    const auto boxes = msgs.onDialog;
    msgs.onDialog = [&](QDialog& d) {
        if (auto* w = qobject_cast<PDF_Export*>(&d))
            inWindow(*w);
        else
            boxes(d);
    };
    // The barcodes of a file, page by page.
    const auto exported = [this](const QString& name) {
        const QString pdf = QDir(folder()).filePath(name);
        QStringList read;
        for (int p = 1; p <= Pdf_Info(pdf).pages; ++p)
            read << Page_Barcodes(pdf, p).join(QLatin1Char('+'));
        return read;
    };

    inWindow = [&](PDF_Export& w) {
        EXPECT_TRUE(w.sheetPane->All_print_rd->isChecked());
        w.sheetPane->Sel_print_rd->click();
        type(w.sheetPane->from_Text, QStringLiteral("3"));
        w.sheetPane->From_Stepper_Changed(w.sheetPane->from_Text);
        type(w.sheetPane->To_Text, QStringLiteral("4"));
        w.sheetPane->To_Stepper_Changed(w.sheetPane->To_Text);
        type(w.file_name_save_txt, QStringLiteral("First"));
        EXPECT_TRUE(runJob());
        w.cancel_btn->click();
    };
    window->Open_Pdf_Export_Wnd();
    EXPECT_EQ(exported("First.PDF"), (QStringList{"R3", "R4"}));

    inWindow = [&](PDF_Export& w) {
        EXPECT_TRUE(w.sheetPane->All_print_rd->isChecked());
        EXPECT_FALSE(w.sheetPane->Sel_print_rd->isChecked());
        EXPECT_EQ(w.sheetPane->from_Text->text(), "1");
        EXPECT_EQ(w.sheetPane->Total_Text->text(), "5");
        type(w.file_name_save_txt, QStringLiteral("Second"));
        EXPECT_TRUE(runJob());
        w.cancel_btn->click();
    };
    window->Open_Pdf_Export_Wnd();
    EXPECT_EQ(exported("Second.PDF"), (QStringList{"R1", "R2", "R3", "R4", "R5"}));
}

// Page Setup on a real printer (the private queue) starts from the page the
// window shows: a Letter page opens as Letter, and margins typed there show
// in the window and move the labels on the written page by as much.
TEST_F(PdfExportTest, PageSetupOpensOnThePageShownAndKeepsTheMarginsTyped)
{
    const QString queue = testsupport::Test_Print_Queue();
    ASSERT_FALSE(queue.isEmpty());
    Set_Printer_Names_Provider({});
    PrintInfo info;
    info.printerName = queue;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    MainWindowServices::setPrintInfo(info);
    barcodeList(4);
    window->Reset_For_Opening();
    EXPECT_EQ(window->Page_name_txt->text(), "Letter");
    EXPECT_EQ(window->Page_width_txt->text(), "215.90");
    sheet(90, 40, 2, 2);
    type(window->file_name_save_txt, QStringLiteral("Before"));
    ASSERT_TRUE(runJob());

    testsupport::Page_Setup_Seen seen;
    const auto boxes = msgs.onDialog;
    msgs.onDialog = [&](QDialog& d) {
        if (auto* setup = qobject_cast<QPageSetupDialog*>(&d))
            seen = testsupport::Type_Margins_Into_Page_Setup(*setup, 20, 15);
        else
            boxes(d);
    };
    window->page_setup_btn->click();
    EXPECT_NEAR(seen.paper.width(), 612, 0.5) << seen.paperName.toStdString();
    EXPECT_NEAR(seen.paper.height(), 792, 0.5) << seen.paperName.toStdString();
    EXPECT_EQ(window->Page_name_txt->text(), "Letter");
    EXPECT_EQ(window->sheetPane->l_mar_id->text(), "20.00");
    EXPECT_EQ(window->sheetPane->t_mar_id->text(), "15.00");

    type(window->file_name_save_txt, QStringLiteral("After"));
    ASSERT_TRUE(runJob());
    const QString before = QDir(folder()).filePath("Before.PDF"), after = QDir(folder()).filePath("After.PDF");
    const PdfInfo written = Pdf_Info(after);
    ASSERT_GE(written.pages, 1);
    EXPECT_NEAR(written.sizes.value(0).width(), 612, 1);
    EXPECT_NEAR(written.sizes.value(0).height(), 792, 1);
    const QRect was = Dark_Box(before, 1), is = Dark_Box(after, 1);
    ASSERT_FALSE(was.isEmpty());
    ASSERT_FALSE(is.isEmpty());
    const double mm = 72 / 25.4;
    EXPECT_NEAR(is.left() - was.left(), 20 * mm, 1.5);
    EXPECT_NEAR(is.top() - was.top(), 15 * mm, 1.5);
    EXPECT_EQ(Cell_Barcodes(after, 1, window->acceptedJob().geometry()), (QStringList{"R1", "R2", "R3", "R4"}));
}

// One label a page or a file holds the grid at one label without gaps:
// Auto Center ticked and unticked again still places that one label, and
// the gap steppers and fields stay locked at 0 (the row and column ones
// too). Back on sheets, the grid entered before comes back, editable.
TEST_F(PdfExportTest, OneLabelAPageKeepsItsGapsLockedWhateverAutoCenterSays)
{
    barcodeList(4);
    window->Reset_For_Opening();
    sheet(60, 30, 3, 2);
    type(window->sheetPane->horz_mar_Text, QStringLiteral("4"));
    window->sheetPane->Horz_Margin_Changed(window->sheetPane->horz_mar_Text);
    Sheet_Options_Pane& p = *window->sheetPane;
    for (int layout : {2, 3}) {
        SCOPED_TRACE(layout);
        option(layout);
        for (int clicks = 0; clicks < 2; ++clicks) {
            p.Auto_Center_chk_bx->click();
            SCOPED_TRACE(p.Auto_Center_chk_bx->isChecked() ? "Auto Center on" : "Auto Center off");
            for (Stepper* s : {p.horz_mar_Stepper, p.vert_mar_Stepper, p.Row_Stepper, p.Col_Stepper})
                EXPECT_FALSE(s->isEnabled());
            for (QLineEdit* f : {p.horz_mar_Text, p.vert_mar_Text}) {
                EXPECT_TRUE(f->isReadOnly());
                EXPECT_EQ(f->text(), "0");
            }
            EXPECT_EQ(p.Row_Text->text(), "1");
            EXPECT_EQ(window->sheet.Print_Row, 1);
        }
        EXPECT_FALSE(p.Auto_Center_chk_bx->isChecked());
    }
    option(0);
    EXPECT_TRUE(p.horz_mar_Stepper->isEnabled());
    EXPECT_TRUE(p.vert_mar_Stepper->isEnabled());
    EXPECT_FALSE(p.horz_mar_Text->isReadOnly());
    EXPECT_EQ(p.horz_mar_Text->text(), "4");
    EXPECT_EQ(p.Row_Text->text(), "3");
}

// Cancel in the keep-or-replace box ends the job as the user asked: no
// message says anything failed. Cancelled at the first file, nothing is
// written and nothing is shown; cancelled at the second, the after-export
// box names what was written and no message follows it.
TEST_F(PdfExportTest, CancelInTheKeepOrReplaceBoxEndsTheJobWithoutAFailureMessage)
{
    barcodeList(8);
    window->Reset_For_Opening();
    sheet(90, 40, 2, 2);
    option(1);
    type(window->file_name_save_txt, QStringLiteral("N"));
    ASSERT_TRUE(runJob());
    ASSERT_EQ(files(), (QStringList{"N (1).PDF", "N.PDF"}));

    for (int cancelAt : {1, 2}) {
        SCOPED_TRACE(cancelAt);
        int asked = 0;
        onKeepReplace = [&asked, cancelAt](Replcae_Confirm_Box& box) {
            if (++asked == cancelAt)
                box.cancel_button->click();
            else
                box.replace_button->click();
        };
        msgs.requests.clear();
        afterExportBoxes = 0;
        ASSERT_TRUE(runJob());
        EXPECT_EQ(asked, cancelAt);
        EXPECT_TRUE(window->lastJob()->report().cancelled);
        EXPECT_EQ(window->lastJob()->report().failed, 0);
        EXPECT_TRUE(msgs.texts().isEmpty()) << msgs.texts().join('|').toStdString();
        EXPECT_EQ(afterExportBoxes, cancelAt - 1);   // a box only when a file was written
        EXPECT_FALSE(afterExportMessage.contains("could not")) << afterExportMessage.toStdString();
        EXPECT_FALSE(Send_Modeless_Dialog::defaultInstance()->isVisible());
        EXPECT_EQ(files(), (QStringList{"N (1).PDF", "N.PDF"}));
    }
}

// Without a printer the window shows the default page whatever the print
// settings hold: Page Setup opens on that page (A4 here, not the settings'
// Letter), and after OK the window shows the page and the margins typed
// there. The margin fields only show: typing into them changes nothing.
TEST_F(PdfExportTest, WithoutAPrinterPageSetupOpensOnThePageShownAndTheMarginsOnlyShow)
{
    Set_Printer_Names_Provider([] { return QStringList(); });
    PrintInfo info;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    MainWindowServices::setPrintInfo(info);
    barcodeList(4);
    window->Reset_For_Opening();
    ASSERT_EQ(window->Page_width_txt->text(), "210.00");   // the default page: A4 where metres are used
    ASSERT_EQ(window->Page_height_txt->text(), "297.00");

    Sheet_Options_Pane& p = *window->sheetPane;
    const QList<QLineEdit*> margins{p.l_mar_id, p.r_mar_id, p.t_mar_id, p.b_mar_id};
    window->show();
    for (QLineEdit* f : margins) {
        EXPECT_TRUE(f->isReadOnly());
        const QString before = f->text();
        f->setFocus();
        QTest::keyClick(f, Qt::Key_End);
        QTest::keyClicks(f, QStringLiteral("9"));
        QTest::keyClick(f, Qt::Key_Home);
        QTest::keyClick(f, Qt::Key_Delete);
        EXPECT_EQ(f->text(), before);
        QTest::keyClick(f, Qt::Key_Tab);
        EXPECT_EQ(f->text(), before);
    }
    window->hide();

    testsupport::Page_Setup_Seen seen;
    const auto boxes = msgs.onDialog;
    msgs.onDialog = [&](QDialog& d) {
        if (auto* setup = qobject_cast<QPageSetupDialog*>(&d))
            seen = testsupport::Type_Margins_Into_Page_Setup(*setup, 12, 8);
        else
            boxes(d);
    };
    window->page_setup_btn->click();
    EXPECT_NEAR(seen.paper.width(), 595, 1) << seen.paperName.toStdString();
    EXPECT_NEAR(seen.paper.height(), 842, 1) << seen.paperName.toStdString();
    EXPECT_EQ(window->Page_width_txt->text(), "210.00");
    EXPECT_EQ(window->Page_height_txt->text(), "297.00");
    EXPECT_EQ(p.l_mar_id->text(), "12.00");
    EXPECT_EQ(p.t_mar_id->text(), "8.00");
    for (QLineEdit* f : margins)
        EXPECT_TRUE(f->isReadOnly());
}
