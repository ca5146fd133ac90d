#include "common/TestSupport.h"
#include "core/FakeMainWindow.h"
#include "core/util/BarcodeServices.h"
#include "core/util/JobControl.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/MainThread.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using testsupport::pumpUntil;

TEST(Alerts, TextsAndButtonsAreTheProgramsOwn)
{
    ScriptedMessages msgs({0, 0, 1, -1, 0, 1, 2, -1});
    Show_MessageBox("Saved.");
    EXPECT_TRUE(Show_YES_NO_MessageBox("Delete?"));
    EXPECT_FALSE(Show_YES_NO_MessageBox("Delete?"));
    EXPECT_FALSE(Show_YES_NO_MessageBox("Closed?"));  // closed: not Yes
    EXPECT_EQ(Show_YES_NO_Cancel_MessageBox("Save?"), 1000);
    EXPECT_EQ(Show_YES_NO_Cancel_MessageBox("Save?"), 1001);
    EXPECT_EQ(Show_YES_NO_Cancel_MessageBox("Save?"), 1002);
    EXPECT_EQ(Show_YES_NO_Cancel_MessageBox("Save?"), 1002);  // closed counts as Cancel
    ASSERT_EQ(msgs.requests.size(), 8u);
    EXPECT_EQ(msgs.requests[0].text, "\nSaved.");  // one line down
    EXPECT_EQ(msgs.requests[0].buttons, QStringList{"OK"});
    EXPECT_EQ(msgs.requests[1].text, "Delete?");   // no line break added
    EXPECT_EQ(msgs.requests[1].buttons, (QStringList{"Yes", "No"}));
    EXPECT_EQ(msgs.requests[1].defaultButton, 0);
    EXPECT_EQ(msgs.requests[4].buttons, (QStringList{"Yes", "No", "Cancel"}));
    Show_MessageBox_No_Thread("Direct");
    EXPECT_EQ(msgs.requests.back().text, "\nDirect");
}

TEST(Alerts, AWorkerWaitsForTheAnswerAndTheGuiThreadDoesNotDeadlock)
{
    ScriptedMessages msgs;
    std::atomic<int> answeredAt{0};
    std::atomic<int> step{0};
    Set_Message_Responder([&](const MessageRequest& r) {
        QThread::msleep(40);  // the user thinks
        const int n = ++step;
        if (answeredAt == 0) answeredAt = n;
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        return 0;
    });
    std::atomic<bool> done{false};
    std::atomic<int> returnedAt{0};
    bool answer = false;
    std::thread worker([&] {
        answer = Show_YES_NO_MessageBox("Replace all files?");
        returnedAt = ++step;
        Show_MessageBox("Done.");
        done = true;
    });
    pumpUntil(done);
    worker.join();
    EXPECT_TRUE(answer);
    EXPECT_EQ(answeredAt.load(), 1);
    EXPECT_EQ(returnedAt.load(), 2);  // the worker resumed only after the answer

    // On the GUI thread the same call answers at once.
    EXPECT_TRUE(Show_YES_NO_MessageBox("Again?"));
}

TEST(Alerts, LogLineOnlyForText)
{
    static QStringList logged;
    logged.clear();
    auto prev = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { logged << m; });
    Show_NSLog_Message(QString());
    Show_NSLog_Message("");
    Show_NSLog_Message("written %@ as is");
    qInstallMessageHandler(prev);
    EXPECT_EQ(logged, QStringList{"written %@ as is"});
}

class KeepOrReplace : public ::testing::Test {
protected:
    void SetUp() override
    {
        box = Replcae_Confirm_Box::defaultInstance();
        box->apply_all = false;
        box->answer = 4;
        box->title_val = "File already exists :";
        box->msg_val_str = "label.png already exists.";
        box->file_path_str = "/tmp/out/label.png";
        box->apply_chk_show = true;
    }
    Replcae_Confirm_Box* box = nullptr;
};

TEST_F(KeepOrReplace, ButtonsLeaveTheirAnswer)
{
    ASSERT_EQ(box, Replcae_Confirm_Box::defaultInstance());
    const struct { bool ticked; int button; int flag; } cases[] = {
        {false, 0, 1}, {true, 0, 3}, {false, 1, 0}, {true, 1, 2},
    };
    for (const auto& c : cases) {
        ScriptedMessages msgs;
        box->apply_all = c.ticked;
        msgs.onDialog = [&](QDialog&) {
            EXPECT_EQ(box->apply_chk->isChecked(), c.ticked);  // opens as last left
            if (c.button == 0) box->Keep_Pressed();
            else box->Replace_Pressed();
        };
        const int code = box->Open_Replace_Dialog();
        EXPECT_EQ(code, c.button == 0 ? 1 : 0);
        EXPECT_EQ(box->answer, c.flag);
        EXPECT_EQ(box->apply_all, c.ticked);
        EXPECT_EQ(box->_Msg_Title->text(), "File already exists :");
        EXPECT_EQ(box->path_control->text(), "/tmp/out/label.png");
        EXPECT_TRUE(box->path_control->isHidden());
    }
}

TEST_F(KeepOrReplace, CancelFromAWorkerStopsTheJobAndReturnsControl)
{
    ScriptedMessages msgs;
    bool ranOnMain = false;
    msgs.onDialog = [&](QDialog&) {
        ranOnMain = QThread::currentThread() == QCoreApplication::instance()->thread();
        box->CancelPressed();
    };
    std::atomic<bool> done{false};
    Job_Control job;
    Job_Control other;  // a second job running beside it hears nothing
    std::thread worker([&] {
        box->Open_box_in_thread(job);
        done = true;
    });
    pumpUntil(done);
    worker.join();
    EXPECT_TRUE(ranOnMain);
    EXPECT_EQ(job.replace_keep_file_flag.load(), 4);
    EXPECT_TRUE(job.Stop_Processing_Now);
    EXPECT_FALSE(other.Stop_Processing_Now);
    EXPECT_EQ(other.replace_keep_file_flag.load(), 0);
    // Closing the box by its window is a Cancel too.
    box->answer = 0;
    box->reject();
    EXPECT_EQ(box->answer, 4);
    Job_Control closed;
    msgs.onDialog = [&](QDialog&) { box->reject(); };
    done = false;
    std::thread closer([&] {
        box->Open_box_in_thread(closed);
        done = true;
    });
    pumpUntil(done);
    closer.join();
    EXPECT_EQ(closed.replace_keep_file_flag.load(), 4);
    EXPECT_TRUE(closed.Stop_Processing_Now);

    // The job's "Apply to all" opens the box and comes back with the answer.
    Job_Control ticked;
    ticked.Msg_Apply_All_Chk = true;
    msgs.onDialog = [&](QDialog&) {
        EXPECT_TRUE(box->apply_chk->isChecked());
        box->Keep_Pressed();
    };
    done = false;
    std::thread keeper([&] {
        box->Open_box_in_thread(ticked);
        done = true;
    });
    pumpUntil(done);
    keeper.join();
    EXPECT_EQ(ticked.replace_keep_file_flag.load(), 3);
    EXPECT_TRUE(ticked.Msg_Apply_All_Chk);
    EXPECT_FALSE(ticked.Stop_Processing_Now);

    // A box that can no longer be shown because the application is quitting
    // stops the job rather than leaving it to write on unasked; the worker
    // is not left waiting.
    Job_Control late_job;
    msgs.onDialog = [&](QDialog&) { box->Replace_Pressed(); };
    Set_Main_Thread_Calls_Stopped(true);
    bool yes = true;
    std::thread late([&] {
        box->Open_box_in_thread(late_job);
        yes = Show_YES_NO_MessageBox("Go on?");
    });
    late.join();
    Set_Main_Thread_Calls_Stopped(false);
    EXPECT_EQ(late_job.replace_keep_file_flag.load(), 4);
    EXPECT_TRUE(late_job.Stop_Processing_Now);
    EXPECT_FALSE(yes);
}

TEST(KeepOrReplacePath, TheAnswerOfTheJobChoosesThePath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("label.png");
    ASSERT_TRUE(testsupport::Write_File(path, "png"));
    Job_Control job;
    job.replace_keep_file_flag = 0;
    EXPECT_EQ(Path_After_Keep_Or_Replace(path, job), path);
    job.replace_keep_file_flag = 3;
    const QString kept = Path_After_Keep_Or_Replace(path, job);
    EXPECT_NE(kept, path);
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_FALSE(job.Stop_Processing_Now);
    job.replace_keep_file_flag = 4;
    EXPECT_TRUE(Path_After_Keep_Or_Replace(path, job).isEmpty());
    EXPECT_TRUE(job.Stop_Processing_Now);
}

TEST(KeepOrReplacePath, TwoJobsAskingAtOnceEachSeeTheirOwnFile)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.png"), b = dir.filePath("b.png");
    ASSERT_TRUE(testsupport::Write_File(a, "a"));
    ASSERT_TRUE(testsupport::Write_File(b, "b"));
    ScriptedMessages msgs;
    Replcae_Confirm_Box* box = Replcae_Confirm_Box::defaultInstance();
    QStringList shown;
    // Keep the file a.png, replace b.png: the answer follows the file the box shows.
    msgs.onDialog = [&](QDialog&) {
        shown << box->_Msg_Val->text().section('\n', 0, 0);
        if (box->path_control->text() == a)
            box->Keep_Pressed();
        else
            box->Replace_Pressed();
    };
    for (int round = 0; round < 10; ++round) {
        Job_Control jobA, jobB;
        QString gotA, gotB;
        std::atomic<bool> doneA{false}, doneB{false};
        std::thread ta([&] { gotA = Ask_Keep_Or_Replace(a, true, nullptr, jobA); doneA = true; });
        std::thread tb([&] { gotB = Ask_Keep_Or_Replace(b, true, nullptr, jobB); doneB = true; });
        pumpUntil(doneA);
        pumpUntil(doneB);
        ta.join();
        tb.join();
        EXPECT_EQ(jobA.replace_keep_file_flag.load(), 1) << "round " << round;
        EXPECT_NE(gotA, a);
        EXPECT_EQ(QFileInfo(gotA).absolutePath(), QFileInfo(a).absolutePath());
        EXPECT_EQ(jobB.replace_keep_file_flag.load(), 0) << "round " << round;
        EXPECT_EQ(gotB, b);
    }
    EXPECT_EQ(shown.size(), 20);
    EXPECT_EQ(shown.count("a.png"), 10);
}

TEST(Alerts, TwoWorkersAskingAtOnceAreServedOneAfterTheOther)
{
    ScriptedMessages msgs;
    std::atomic<int> inside{0};
    std::atomic<int> most{0};
    Set_Message_Responder([&](const MessageRequest& r) {
        most = std::max(most.load(), ++inside);
        QThread::msleep(20);
        --inside;
        return r.text == "A?" ? 0 : 1;
    });
    std::atomic<bool> doneA{false}, doneB{false};
    bool a = false, b = true;
    std::thread ta([&] { a = Show_YES_NO_MessageBox("A?"); doneA = true; });
    std::thread tb([&] { b = Show_YES_NO_MessageBox("B?"); doneB = true; });
    pumpUntil(doneA);
    pumpUntil(doneB);
    ta.join();
    tb.join();
    EXPECT_TRUE(a);   // each worker gets its own answer
    EXPECT_FALSE(b);
    EXPECT_EQ(most.load(), 1);
}

TEST(LongTextBox, HelpFormShowsTheGlobalsAndStoresTheHiddenCheckBox)
{
    Long_SMS_Dlg* dlg = Long_SMS_Dlg::defaultInstance();
    dlg->Cutom_Msg_Title = "Margins";
    dlg->Cutom_Msg_Val = "Margins are measured from the edge.";
    dlg->title_val = QString();
    dlg->apply_chk_show = false;
    dlg->apply_chk->setChecked(true);
    dlg->apply_all = false;
    ScriptedMessages msgs;
    msgs.onDialog = [&](QDialog&) { dlg->OKPressed(); };
    EXPECT_EQ(dlg->Open_Long_sms_Dialog(), 1);
    EXPECT_EQ(dlg->_Msg_Title->text(), "Margins");
    EXPECT_EQ(dlg->_Msg_Val->toPlainText(), "Margins are measured from the edge.");
    EXPECT_EQ(dlg->yes_button->text(), "OK");
    EXPECT_TRUE(dlg->no_button->isHidden());
    EXPECT_TRUE(dlg->apply_chk->isHidden());
    EXPECT_TRUE(dlg->apply_all);  // the hidden box's state is kept all the same

    dlg->title_val = "Question";
    dlg->msg_val_str = "Apply?";
    dlg->show_single_button = false;
    msgs.onDialog = [&](QDialog&) { dlg->CancelPressed(); };
    EXPECT_EQ(dlg->Open_Long_sms_Dialog(), 0);
    EXPECT_EQ(dlg->yes_button->text(), "Yes");
    EXPECT_FALSE(dlg->no_button->isHidden());
}

TEST(AfterExportBox, TitlesFollowWhatWasExported)
{
    QTemporaryDir dir;
    FakeMainWindow win;
    const QString message = "Label has been exported successfully.";
    ScriptedMessages msgs;
    Open_Export_Log* box = Open_Export_Log::defaultInstance();
    msgs.onDialog = [&](QDialog&) {
        box->_open_log_chk->setChecked(false);  // do not launch anything
        box->OKPressed();
    };
    EXPECT_EQ(win.Open_Export_File_Box(dir.path(), message), 1);
    EXPECT_EQ(box->_open_log_chk->text(), "Open containing folder.");
    EXPECT_EQ(box->_open_log_path->text(), dir.path());
    EXPECT_EQ(box->_open_log_message->text(), "Label has been exported successfully.");
    EXPECT_TRUE(box->_open_log_chk->isChecked());  // turned back on

    msgs.onDialog = [&](QDialog&) { box->CancelPressed(); };
    EXPECT_EQ(win.Open_Export_File_Box(dir.filePath("label.png"), message), 0);
    EXPECT_EQ(box->_open_log_chk->text(), "Open exported file.");
    EXPECT_TRUE(msgs.requests.empty()) << "Cancel opens nothing";
}

// Nothing here opens files or folders (the offscreen desktop launches
// nothing): each choice of the box says where the export is instead.
TEST(AfterExportBox, WithoutAProgramToOpenItTheBoxSaysWhereTheExportIs)
{
    QTemporaryDir dir;
    FakeMainWindow win;
    ScriptedMessages msgs;
    Open_Export_Log* box = Open_Export_Log::defaultInstance();
    msgs.onDialog = [&](QDialog&) { box->OKPressed(); };

    EXPECT_EQ(win.Open_Export_File_Box(dir.path(), "Exported."), 1);
    ASSERT_EQ(msgs.requests.size(), 1u);
    EXPECT_EQ(msgs.requests[0].text, "\nNo file manager to show folders was found.\n\nThe export folder is\n"
                                         + QDir::toNativeSeparators(dir.path()) + "\nOpen it with a file manager.");

    const QString file = dir.filePath("label.png");
    ASSERT_TRUE(testsupport::Write_File(file, "png"));
    EXPECT_EQ(win.Open_Export_File_Box(file, "Exported."), 1);
    ASSERT_EQ(msgs.requests.size(), 2u);
    EXPECT_TRUE(msgs.requests[1].text.contains("No program to show PNG files was found."));
    EXPECT_TRUE(msgs.requests[1].text.contains("The exported file is\n" + QDir::toNativeSeparators(file)));
    EXPECT_FALSE(box->isVisible()) << "the message comes after the box";
}

TEST(Sheets, PleaseWaitSheetShowsItsTextAndHides)
{
    FakeMainWindow win;
    win.Show_Create_Modeless();
    Please_Wait_Sheet* sheet = Please_Wait_Sheet::defaultInstance();
    EXPECT_EQ(sheet->modeless_msg_lbl->text(), "It may take a while, Please wait..");
    EXPECT_TRUE(sheet->isVisible());
    win.Hide_Destroy_Modeless();
    EXPECT_FALSE(sheet->isVisible());

    QWidget progress;
    win.progressWindow = &progress;
    std::atomic<bool> done{false};
    bool shown = false;
    std::thread worker([&] {
        win.Show_One_By_One_Modeless();
        shown = progress.isVisible();
        win.Hide_One_By_One_Modeless();
        done = true;
    });
    pumpUntil(done);
    worker.join();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(progress.isVisible());
}

TEST(Dialogs, SmallBoxesEndWithTheirCodes)
{
    Image_Validation_msg* img = Image_Validation_msg::defaultInstance();
    img->title_val = "Picture";
    img->msg_val_str = "Use it?";
    ScriptedMessages msgs;
    msgs.onDialog = [&](QDialog&) { img->YESPressed(); };
    EXPECT_EQ(img->Open_Image_Msg_Dialog(), 1);
    msgs.onDialog = [&](QDialog&) { img->NOPressed(); };
    EXPECT_EQ(img->Open_Image_Msg_Dialog(), 0);
    Load_Num_Info info;
    info.YESPressed();
    EXPECT_EQ(info.result(), 1);
    info.NOPressed();
    EXPECT_EQ(info.result(), 0);
}

} // namespace
