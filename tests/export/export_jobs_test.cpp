// Image export: the file writer's formats and sizes, the progress window, and
// the batch jobs end to end through a fake main window, with decoders reading
// back the files.
#include "ExportTestSupport.h"
#include "common/FakeBatchServices.h"
#include "core/FakeMainWindow.h"
#include "barcode/generation/BarcodeRoad.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportJobs.h"
#include "export/ExportWriter.h"
#include "export/ProgressWindow.h"
#include "platform/MainThread.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>


namespace {

using namespace exporttest;

TEST(ExportWriter, OneInchCardIs600PixelsInEveryRasterFormatWithItsResolution)
{
    QTemporaryDir dir;
    // A 1-inch card with a transparent corner: every format but PNG fills it white.
    QPicture pic;
    {
        QPainter p(&pic);
        p.fillRect(QRectF(10, 10, 62, 62), Qt::white);
        Code128(QStringLiteral("A1")).draw(p, QRectF(12, 20, 58, 40));
    }
    const PtImage card(pic, QSizeF(72, 72));
    for (const char* ext : {"png", "jpg", "bmp", "tiff", "gif"}) {
        const QString path = dir.filePath(QStringLiteral("card.") + ext);
        ASSERT_EQ(Export_File_Function(path, card, false, true, true), ExportWriteResult::Written) << ext;
        QImageReader reader(path);
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << ext;
        EXPECT_EQ(img.size(), QSize(600, 600)) << ext;
        if (QByteArray(ext) != "gif") {  // GIF has no field for it
            EXPECT_NEAR(img.dotsPerMeterX(), 23622, 2) << ext;
        }
        const QRgb corner = img.pixel(2, 2);
        if (QByteArray(ext) == "png") {
            EXPECT_EQ(qAlpha(corner), 0);
        } else {
            EXPECT_EQ(corner | 0xff000000u, qRgb(255, 255, 255)) << ext;
        }
        EXPECT_EQ(testsupport::Zbar_Decode(path), QByteArray("A1")) << ext;
    }
    const QString eps = dir.filePath("card.EPS");  // the road is chosen without case
    ASSERT_EQ(Export_File_Function(eps, card, false, true, true), ExportWriteResult::Written);
    EXPECT_TRUE(testsupport::readAll(eps).contains("%%BoundingBox: 0 0 72 72"));
    EXPECT_EQ(Export_File_Function(dir.filePath("none.png"), PtImage(), false, true, true), ExportWriteResult::Failed);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.png")));
}

TEST(ExportWriter, ALinearSymbolTooLargeForItsPixelsIsRefusedWithTheReason)
{
    // 5000 letters of Code 128: some 660 thousand pixels wide at 600 DPI.
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("Code 128"));
    QString value;
    for (int i = 0; i < 5000; ++i)
        value += QChar(u'A' + i % 26);
    const PtImage symbol = Make_Barcode_Image(s, value, QString(), QString());
    ASSERT_FALSE(symbol.isNull());
    QTemporaryDir dir;
    QString error;
    EXPECT_TRUE(Encode_Export_File(symbol, dir.filePath("long.png"), true, &error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("At 600 DPI the image would be"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("100 million pixels")));
    EXPECT_TRUE(error.contains(QStringLiteral("EPS or PDF")));
    EXPECT_TRUE(symbol.toImage(600.0).isNull());
    EXPECT_EQ(Export_File_Function(dir.filePath("long.tiff"), symbol, false, true, true), ExportWriteResult::Failed);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("long.tiff")));
    // As drawing it is written.
    EXPECT_EQ(Export_File_Function(dir.filePath("long.eps"), symbol, false, true, true), ExportWriteResult::Written);
    // A short value is made as ever.
    EXPECT_TRUE(Make_Barcode_Image(s, QStringLiteral("ABC"), QString(), QString()).Raster_Refusal(600.0).isEmpty());
}

TEST(ProgressWindow, TextsFollowTheCountersAndStopAsksFirst)
{
    ScriptedMessages msgs({1, 0});  // No, then Yes
    Send_Modeless_Dialog* w = Send_Modeless_Dialog::defaultInstance();
    const Job_Control_Ptr job = New_Job_Control();
    std::atomic<int>& current = job->curr_card_count;
    std::atomic<int>& total = job->show_count;
    total = 5;
    w->Prepare(5, QStringLiteral("%d / %d Barcode"));
    EXPECT_EQ(w->_curr_msg_cnt->text(), "0 / 5 Barcode");
    EXPECT_EQ(w->_tot_msg_cnt->text(), "5");
    w->Start_Refresh({job, true, false});
    current = 1;
    w->update_sending_progress_bar();
    EXPECT_EQ(w->_Curr_Progress->value(), 1);
    EXPECT_EQ(w->_curr_msg_cnt->text(), "2 / 5 ");
    current = 5;
    w->update_sending_progress_bar();
    EXPECT_EQ(w->_curr_msg_cnt->text(), "5 / 5 ");  // never 6 of 5
    total = 1;
    current = 0;
    w->update_sending_progress_bar();
    EXPECT_EQ(w->_curr_msg_cnt->text(), "1 / 1 ");
    // E-mail shows the mails begun and the pause left.
    job->Pause_Delay_Time = 3000;
    w->Start_Refresh({job, false, true});
    current = 1;
    w->update_sending_progress_bar();
    EXPECT_EQ(w->_curr_msg_cnt->text(), "1 / 1 ");
    EXPECT_EQ(w->pause_label->text(), "Pausing the process for 3 Seconds.");
    job->Pause_Delay_Time = 1200;
    w->update_sending_progress_bar();
    EXPECT_EQ(w->pause_label->text(), "Pausing the process for 2 Seconds.");
    w->Stop_Refresh();
    EXPECT_FALSE(w->Refreshing());

    // Stop asks the job shown, and no other, to stop.
    const Job_Control_Ptr other = New_Job_Control();
    w->Start_Refresh({job, true, false});
    w->_stop_btn->click();
    EXPECT_FALSE(job->Stop_Processing_Now);  // "No" changes nothing
    w->_stop_btn->click();
    EXPECT_TRUE(job->Stop_Processing_Now);
    EXPECT_FALSE(other->Stop_Processing_Now);
    ASSERT_EQ(msgs.requests.size(), 2u);
    EXPECT_EQ(msgs.requests[0].text, "Are you sure you want to stop?");
    w->Stop_Refresh();

    EXPECT_EQ(Calculate_Pause_Time(3723000), "Pausing the process for 1 Hour 2 Minutes 3 Seconds.");
    EXPECT_EQ(Calculate_Pause_Time(7201000), "Pausing the process for 2 Hours 0 Minute 1 Second.");
    EXPECT_EQ(Calculate_Pause_Time(61000), "Pausing the process for 1 Minute 1 Second.");
    EXPECT_EQ(Calculate_Pause_Time(999), "Pausing the process for 0 Second.");
}

// A fake main window whose rows are real Code 128 barcodes of "ROW-<n>".
struct BarcodeRows {
    FakeBatchServices batch;
    QStringList values;
    explicit BarcodeRows(int n, int invalidRow = -1)
    {
        for (int i = 0; i < n; ++i) {
            values << QStringLiteral("ROW-%1").arg(i + 1);
            batch.list << BarcodeListRow{{"Value", i == invalidRow ? QString() : values[i]},
                                               {"Header", ""}, {"Footer", ""}, {"PQ", "1"}};
        }
        batch.state.dataSource = true;
        batch.state.valueChecked = true;
        batch.barcodeRows = n;
        batch.rowImage = [this](int row) {
            const QString v = batch.list.value(row).value("Value");
            return v.isEmpty() ? PtImage() : Code128(v);
        };
    }
};

BarcodeExportJob Barcode_Job(const QString& dest, const QString& tag, const QString& ext, int from, int to)
{
    BarcodeExportJob job;
    job.rows = static_cast<const FakeBatchServices*>(App_Services().Batch_Services)->jobRows(false);
    job.destination = dest;
    job.Print_Start = from - 1;
    job.Total_Label = to;
    job.naming.file_name_exported = tag;
    job.naming.file_path_ext = ext;
    return job;
}

ExportJobReport Wait_For(const std::shared_ptr<ExportJob>& job)
{
    EXPECT_TRUE(Pump_Until([&] { return job->done.load(); }));
    return job->report();
}

TEST(BarcodeExport, EveryFileDecodesToItsRowAndAnInvalidRowIsSkippedAndReported)
{
    QTemporaryDir dir;
    ScriptedMessages msgs;
    BarcodeRows rows(5, 2);
    BarcodeExportJob job = Barcode_Job(dir.path(), "<BV>", "png", 1, 5);
    job.skipInvalid = true;
    const ExportJobReport r = Wait_For(Export_Batch_File_Barcode(job));
    const QString folder = dir.filePath("Zorv Barcode");
    EXPECT_EQ(Files_In(folder), (QStringList{"ROW-1.PNG", "ROW-2.PNG", "ROW-4.PNG", "ROW-5.PNG"}));
    for (const QString& f : Files_In(folder))
        EXPECT_EQ(testsupport::Zbar_Decode(folder + "/" + f), QFileInfo(f).completeBaseName().toUtf8()) << f.toStdString();
    EXPECT_EQ(r.written, 4);
    EXPECT_EQ(r.skipped, QList<int>{3});
    ASSERT_FALSE(msgs.requests.empty());
    const QString said = msgs.requests.back().text;
    EXPECT_TRUE(said.contains("4 of 5 barcodes exported.")) << said.toStdString();
    EXPECT_TRUE(said.contains("1 rows skipped: their values give no barcode (rows 3).")) << said.toStdString();
    EXPECT_FALSE(Send_Modeless_Dialog::defaultInstance()->isVisible());
    EXPECT_EQ(rows.batch.imageRows, (QList<int>{0, 1, 2, 3, 4}));

    // Without the skip check the row gets the invalid-data picture at its own size.
    QTemporaryDir dir2;
    QImage bad(200, 100, QImage::Format_RGB32);
    bad.fill(Qt::red);
    job = Barcode_Job(dir2.path(), "<DEF>", "jpg", 2, 3);
    job.invalidImage = PtImage(bad);
    const ExportJobReport r2 = Wait_For(Export_Batch_File_Barcode(job));
    EXPECT_EQ(Files_In(dir2.filePath("Zorv Barcode")), (QStringList{"Barcode (1).JPG", "Barcode.JPG"}));
    EXPECT_EQ(r2.invalid, QList<int>{3});
    EXPECT_EQ(QImage(dir2.filePath("Zorv Barcode/Barcode (1).JPG")).size(), QSize(200, 100));
    EXPECT_EQ(msgs.requests.back().text, "\nLabel has been exported successfully.");
}

TEST(CardExport, ARangeOfRowsGivesOneFileEachAndTheDesignIsRestored)
{
    QTemporaryDir dir;
    ScriptedMessages msgs;
    FakeBatchServices batch;
    batch.seriesNames = {"Names"};
    batch.seriesColumns = {{"Ann", "Bob", "Cy", "Di", "Ed"}};
    batch.cardImage = [&](int row) { return Card_With(Code128(batch.seriesColumns[0][row]), QSizeF(144, 72)); };
    CardExportJob job;
    job.rows = batch.jobRows(true);
    job.destination = dir.path();
    job.Print_Start = 1;
    job.Total_Label = 4;  // From 2 To 4
    job.naming.file_name_exported = "<SV>";
    job.naming.file_series_exported = "Names";
    job.naming.file_path_ext = "tiff";
    const std::shared_ptr<ExportJob> handle = Export_Batch_File(job);
    const ExportJobReport r = Wait_For(handle);
    const QString folder = dir.filePath("Zorv Label");
    EXPECT_EQ(Files_In(folder), (QStringList{"Bob.tiff", "Cy.tiff", "Di.tiff"}));
    EXPECT_EQ(batch.cardRows, (QList<int>{1, 2, 3}));
    EXPECT_EQ(QImage(folder + "/Cy.tiff").size(), QSize(1200, 600));
    EXPECT_EQ(testsupport::Zbar_Decode(folder + "/Cy.tiff"), QByteArray("Cy"));
    EXPECT_EQ(r.rows, 3);
    ASSERT_TRUE(handle->control);
    EXPECT_EQ(handle->control->show_count.load(), 3);
    EXPECT_EQ(handle->control->curr_card_count.load(), 3);
    EXPECT_EQ(handle->control->Export_File_Path, folder);
    EXPECT_EQ(batch.restores, 1);
    EXPECT_EQ(batch.sideResets, 1);
    EXPECT_EQ(msgs.requests.back().text, "\nLabel has been exported successfully.");
}

// The job can end while "Are you sure you want to stop?" is open (its last
// rows go on meanwhile): the question then closes with the progress window,
// and a late Yes stops nothing, least of all the next job.
TEST(ProgressWindow, AJobEndingDuringTheStopQuestionTakesTheQuestionAlong)
{
    Send_Modeless_Dialog* w = Send_Modeless_Dialog::defaultInstance();
    const Job_Control_Ptr job = New_Job_Control();
    std::atomic<int>& current = job->curr_card_count;
    job->show_count = 3;
    bool asked = false, closedWithTheJob = false;
    MessageResponder previous = Set_Message_Responder([&](const MessageRequest& r) {
        asked = r.text == QLatin1String("Are you sure you want to stop?");
        // The question as the application shows it, open while the job ends.
        QMessageBox box;
        box.setWindowModality(Qt::ApplicationModal);
        box.setText(r.text);
        box.show();
        QCoreApplication::processEvents();
        current = 3;
        w->End_Job_Progress();   // the worker's last row is done
        closedWithTheJob = !box.isVisible();
        return 0;                // and then "Yes" all the same
    });
    ASSERT_TRUE(w->Begin_Job_Progress(nullptr, job, QStringLiteral("%d / %d ")));
    w->_stop_btn->click();
    Set_Message_Responder(previous);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(closedWithTheJob) << "the question outlived its job";
    EXPECT_FALSE(job->Stop_Processing_Now) << "a Yes after the end stopped nothing there is";
    EXPECT_FALSE(w->isVisible());

    // A question answered while the job runs still stops it.
    ScriptedMessages msgs({0});
    const Job_Control_Ptr next = New_Job_Control();
    next->show_count = 3;
    ASSERT_TRUE(w->Begin_Job_Progress(nullptr, next, QStringLiteral("%d / %d ")));
    w->_stop_btn->click();
    EXPECT_TRUE(next->Stop_Processing_Now);
    w->End_Job_Progress();
}

TEST(CardExport, StopDuringRowTwoEndsAfterRowTwoWithTheWindowHidden)
{
    QTemporaryDir dir;
    ScriptedMessages msgs({0});  // "Yes" to "Are you sure you want to stop?"
    FakeBatchServices batch;
    batch.cardImage = [&](int row) {
        if (row == 1) {
            Run_On_Main_Thread_And_Wait([] {
                auto* w = Send_Modeless_Dialog::defaultInstance();
                EXPECT_TRUE(w->isVisible());
                EXPECT_TRUE(w->Refreshing());
                w->_stop_btn->click();
            });
        }
        return Card_With(PtImage(), QSizeF(72, 36));
    };
    CardExportJob job;
    job.rows = batch.jobRows(true);
    job.destination = dir.path();
    job.Total_Label = 5;
    job.naming.file_name_exported = "<DEF>";
    job.naming.file_path_ext = "bmp";
    const ExportJobReport r = Wait_For(Export_Batch_File(job));
    EXPECT_EQ(Files_In(dir.filePath("Zorv Label")), (QStringList{"Label (1).bmp", "Label.bmp"}));
    EXPECT_EQ(batch.cardRows, (QList<int>{0, 1}));
    EXPECT_TRUE(r.stopped);
    auto* w = Send_Modeless_Dialog::defaultInstance();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->Refreshing());
    EXPECT_TRUE(msgs.requests.back().text.contains("2 of 5 cards exported.\nThe export was stopped."));
    EXPECT_EQ(batch.restores, 1);

    // The next job clears the flag and runs in full.
    batch.cardImage = [](int) { return Card_With(PtImage(), QSizeF(72, 36)); };
    job.destination = dir.filePath("again");
    job.Total_Label = 3;
    EXPECT_EQ(Wait_For(Export_Batch_File(job)).written, 3);
}

TEST(CardExport, KeepForAllAsksOnceAndCancelAtTheFirstFileWritesNothing)
{
    QTemporaryDir dir;
    ScriptedMessages msgs;
    FakeBatchServices batch;
    batch.cardImage = [](int) { return Card_With(PtImage(), QSizeF(36, 36)); };
    const QString folder = dir.filePath("Zorv Label");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* f : {"Label.png", "Label (1).png", "Label (2).png"})
        testsupport::touch(folder + "/" + f, "old");
    int boxes = 0;
    msgs.onDialog = [&](QDialog& d) {
        ++boxes;
        auto* box = dynamic_cast<Replcae_Confirm_Box*>(&d);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->apply_chk->isHidden());
        box->apply_chk->setChecked(true);
        box->keep_button->click();
    };
    CardExportJob job;
    job.rows = batch.jobRows(true);
    job.destination = dir.path();
    job.Total_Label = 3;
    job.naming.file_name_exported = "<DEF>";
    job.naming.file_path_ext = "png";
    EXPECT_EQ(Wait_For(Export_Batch_File(job)).written, 3);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(Files_In(folder).size(), 6);
    EXPECT_EQ(testsupport::readAll(folder + "/Label.png"), QByteArray("old"));

    // The next job asks again: "apply to all" was the first job's.
    boxes = 0;
    msgs.onDialog = [&](QDialog& d) {
        ++boxes;
        dynamic_cast<Replcae_Confirm_Box*>(&d)->cancel_button->click();
    };
    const size_t before = msgs.requests.size();
    const ExportJobReport r = Wait_For(Export_Batch_File(job));
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(r.written, 0);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(Files_In(folder).size(), 6);
    EXPECT_EQ(msgs.requests.size(), before);  // no after-export box, no message
}

TEST(BarcodeExport, AReadOnlyFolderFailsEveryFileAndLeavesNothingHalfWritten)
{
    QTemporaryDir dir;
    ScriptedMessages msgs;
    BarcodeRows rows(3);
    const QString folder = dir.filePath("Zorv Barcode");
    ASSERT_TRUE(QDir().mkpath(folder));
    testsupport::Read_Only_Path guard(folder);
    ASSERT_TRUE(guard.ok());
    const ExportJobReport r = Wait_For(Export_Batch_File_Barcode(Barcode_Job(dir.path(), "<BV>", "gif", 1, 3)));
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(r.failed, 3);
    EXPECT_TRUE(Files_In(folder).isEmpty());
    ASSERT_FALSE(msgs.requests.empty());
    EXPECT_TRUE(msgs.requests.back().text.contains("3 of 3 files could not be written.")) << msgs.requests.back().text.toStdString();
    EXPECT_FALSE(msgs.requests.back().text.contains("successfully"));

    // A destination where the export folder cannot be made: the job says so and shows no progress.
    testsupport::touch(dir.filePath("file"));
    const ExportJobReport r2 = Wait_For(Export_Batch_File_Barcode(Barcode_Job(dir.filePath("file"), "<BV>", "gif", 1, 3)));
    EXPECT_TRUE(r2.folderFailed);
    EXPECT_TRUE(msgs.requests.back().text.contains("Unable to continue saving barcode image."));
    EXPECT_TRUE(rows.batch.imageRows.size() == 3);  // the second job asked for no row
}

} // namespace
