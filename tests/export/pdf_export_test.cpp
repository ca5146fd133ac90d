// The PDF export window and its writer: the four layouts, the names of the
// files, the page sizes, the range, print quantities and invalid rows, and
// what a job leaves behind. Pages are rasterised with pdftoppm and every
// barcode on them read back with zbarimg.
#include "ExportTestSupport.h"
#include "common/FakeBatchServices.h"
#include "core/FakeMainWindow.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/PdfExportWindow.h"
#include "export/ProgressWindow.h"
#include "print/PrintGlobals.h"
#include "print/PrinterList.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
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

// The values of every barcode on a page, sorted.
QStringList Page_Barcodes(const QString& pdf, int page, int dpi = 150)
{
    QTemporaryDir out;
    const QString base = out.filePath(QStringLiteral("page"));
    testsupport::Run_Tool("pdftoppm", {"-r", QString::number(dpi), "-f", QString::number(page), "-l",
                                       QString::number(page), "-singlefile", "-png", pdf, base});
    const QString png = base + QStringLiteral(".png");
    if (!QFileInfo::exists(png))
        return {QStringLiteral("(no page)")};
    const auto r = testsupport::Run_Tool("zbarimg", {"--raw", "-q", png});
    QStringList values = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    values.sort();
    return values;
}

QStringList Labels(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QStringLiteral("R%1").arg(i);
    out.sort();
    return out;
}

class PdfExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Test Printer")}; });
        previousInfo = MainWindowServices::printInfo();
        MainWindowServices::setPrintInfo(PrintInfo());   // A4 portrait, no margins
        mode = Barcode_Setting_Or_Designing_Mode;
        msgs.onDialog = [this](QDialog& d) {
            if (auto* box = dynamic_cast<Replcae_Confirm_Box*>(&d)) {
                ++keepReplaceBoxes;
                if (onKeepReplace)
                    onKeepReplace(*box);
                else
                    box->replace_button->click();
                return;
            }
            if (dynamic_cast<Open_Export_Log*>(&d)) {
                ++afterExportBoxes;
                afterExportPath = Export_File_Path;
                afterExportMessage = Export_File_Message;
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
        Barcode_Setting_Or_Designing_Mode = mode;
        Use_Data_Sheet_Values = 0;
        Use_Excel_Binding_Values = 0;
        Total_Batch_Excel_Card = 1;
        Total_Barcode_Label_wd_Batch = 0;
        Stop_Processing_Now = false;
        replace_keep_file_flag = 0;
        Msg_Apply_All_Chk = false;
    }

    // Barcode mode with a list of `rows` rows R1..Rn (print quantity 1, or
    // as given), every row a Code 128 barcode unless `invalid` names it.
    void barcodeList(int rows, QList<int> quantities = {}, QList<int> invalid = {})
    {
        Barcode_Setting_Or_Designing_Mode = 0;
        batch.barcodeRows = rows;
        batch.state.dataSource = true;
        batch.state.valueChecked = true;
        batch.state.listFeeds = true;
        batch.state.value = QStringLiteral("ABC");
        Set_Barcode_Type(batch.state.settings, QStringLiteral("Code 128"));
        batch.state.list.clear();
        for (int r = 0; r < rows; ++r) {
            BarcodeListRow row;
            row.insert(QStringLiteral("Value"), QStringLiteral("R%1").arg(r + 1));
            row.insert(QStringLiteral("PQ"), QString::number(quantities.value(r, 1)));
            batch.state.list << row;
        }
        batch.rowImage = [invalid](int row) {
            return invalid.contains(row + 1) ? PtImage() : Code128(QStringLiteral("R%1").arg(row + 1));
        };
        batch.invalidImage = Code128(QStringLiteral("INVALID"));
        batch.Get_Barcode_Batch_Count();
        Use_Data_Sheet_Values = 1;
    }

    // Label size (mm) and grid through the window's fields, as typed.
    void sheet(double wmm, double hmm, int rows, int cols)
    {
        type(window->width_Text, QString::number(wmm));
        window->Width_Changed(window->width_Text);
        type(window->height_Text, QString::number(hmm));
        window->Height_Changed(window->height_Text);
        type(window->Row_Text, QString::number(rows));
        window->Row_Changed(window->Row_Text);
        type(window->Col_Text, QString::number(cols));
        window->Col_Changed(window->Col_Text);
    }

    static void type(QLineEdit* f, const QString& text) { f->setText(text); }

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
    std::shared_ptr<Pdf_Export_Handle> previousJob;
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
    EXPECT_EQ(window->Total_Text->text(), "10");
    EXPECT_TRUE(window->print_with_batch_chk->isChecked());
    EXPECT_EQ(window->file_name_save_txt->text(), "ZorvLabel");
    sheet(90, 40, 2, 2);
    type(window->file_name_save_txt, QStringLiteral("N"));
    const float rowsBefore = Print_Row, widthBefore = label_width;
    ASSERT_TRUE(runJob());

    EXPECT_EQ(files(), QStringList{"N.PDF"});
    const PdfInfo info = Pdf_Info(QDir(folder()).filePath("N.PDF"));
    ASSERT_EQ(info.pages, 3);
    EXPECT_NEAR(info.sizes.value(0).width(), 595.0, 1.0);   // A4
    EXPECT_NEAR(info.sizes.value(0).height(), 842.0, 1.0);
    const QString pdf = QDir(folder()).filePath("N.PDF");
    EXPECT_EQ(Page_Barcodes(pdf, 1), Labels(1, 4));
    EXPECT_EQ(Page_Barcodes(pdf, 2), Labels(5, 8));
    EXPECT_EQ(Page_Barcodes(pdf, 3), Labels(9, 10));
    // The rows were asked in order, once each; the window is as it was.
    EXPECT_EQ(batch.imageRows, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Print_Row, rowsBefore);
    EXPECT_EQ(label_width, widthBefore);
    EXPECT_EQ(pdf_export_opt, 0);
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
    EXPECT_EQ(Page_Barcodes(QDir(folder()).filePath("N (2).PDF"), 1), Labels(9, 10));
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
    window->Auto_Center_chk_bx->click();
    const int alignBefore = label_align_val;
    afterExportBoxes = 0;
    ASSERT_TRUE(runJob());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(testsupport::readAll(QDir(folder()).filePath("N (1).PDF")), second);
    EXPECT_EQ(files().size(), 3);
    EXPECT_TRUE(window->lastJob()->report().cancelled);
    EXPECT_EQ(auto_center_flag, 1);
    EXPECT_EQ(label_align_val, alignBefore);
    EXPECT_EQ(pdf_export_opt, 1);
    EXPECT_EQ(afterExportBoxes, 1);   // one file was written
    EXPECT_FALSE(Send_Modeless_Dialog::defaultInstance()->isVisible());
}

} // namespace
