#include "common/TestSupport.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

using testsupport::pumpUntil;

TEST(MainThread, RunsDirectlyOnTheGuiThreadAndQueuedFromAWorker)
{
    int calls = 0;
    Run_On_Main_Thread_And_Wait([&] { ++calls; });
    EXPECT_EQ(calls, 1);  // no event loop needed: no deadlock

    std::atomic<bool> done{false};
    bool ranOnMain = false;
    bool sawException = false;
    std::thread worker([&] {
        Run_On_Main_Thread_And_Wait([&] { ranOnMain = Is_Main_Thread(); });
        try {
            Run_On_Main_Thread_And_Wait([] { throw std::runtime_error("boom"); });
        } catch (const std::runtime_error&) {
            sawException = true;
        }
        done = true;
    });
    pumpUntil(done);
    worker.join();
    EXPECT_TRUE(ranOnMain);
    EXPECT_TRUE(sawException);
}

TEST(MainThread, AQuittingApplicationReleasesWaitingWorkers)
{
    // The GUI thread is busy (no events served) when the application stops
    // serving calls, as it does when its event loop ends.
    std::atomic<bool> ran{false};
    std::atomic<bool> returned{false};
    bool result = true;
    std::thread worker([&] {
        result = Run_On_Main_Thread_And_Wait([&] { ran = true; });
        returned = true;
    });
    QThread::msleep(60);
    EXPECT_FALSE(returned);  // still waiting for the GUI thread
    Set_Main_Thread_Calls_Stopped(true);
    worker.join();           // released, not blocked forever
    EXPECT_FALSE(result);
    // Its request, still queued, never runs against the worker's gone stack.
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);

    // While stopped a worker's call returns at once; a message box answers
    // as closed. The GUI thread itself still runs its own calls.
    int answer = 0;
    std::thread late([&] {
        result = Run_On_Main_Thread_And_Wait([&] { ran = true; });
        MessageRequest r;
        r.buttons = {"OK"};
        answer = Raise_Message(r);
    });
    late.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(ran);
    EXPECT_EQ(answer, -1);
    EXPECT_TRUE(Run_On_Main_Thread_And_Wait([&] { ran = true; }));
    EXPECT_TRUE(ran);
    Set_Main_Thread_Calls_Stopped(false);
    EXPECT_FALSE(Main_Thread_Calls_Stopped());

    // A call the GUI thread has already started is waited for to its end.
    std::atomic<bool> done{false};
    bool finished = false;
    std::thread started([&] {
        result = Run_On_Main_Thread_And_Wait([&] {
            Set_Main_Thread_Calls_Stopped(true);
            QThread::msleep(40);
            finished = true;
        });
        done = true;
    });
    pumpUntil(done);
    started.join();
    Set_Main_Thread_Calls_Stopped(false);
    EXPECT_TRUE(result);
    EXPECT_TRUE(finished);

    // The end of the application's event loop is what stops the calls.
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    EXPECT_TRUE(Main_Thread_Calls_Stopped());
    Set_Main_Thread_Calls_Stopped(false);
}

TEST(MessageSink, ResponderAnswersOnTheGuiThreadWhileTheWorkerWaits)
{
    std::atomic<int> answered{0};
    std::atomic<bool> workerSawAnswerFirst{false};
    auto prev = Set_Message_Responder([&](const MessageRequest& r) {
        EXPECT_TRUE(Is_Main_Thread());
        QThread::msleep(30);  // the worker must still be waiting
        answered = 1;
        return int(r.buttons.size()) - 1;
    });
    std::atomic<bool> done{false};
    int result = -5;
    std::thread worker([&] {
        MessageRequest r;
        r.text = "Question";
        r.buttons = {"Yes", "No"};
        result = Raise_Message(r);
        workerSawAnswerFirst = answered == 1;
        done = true;
    });
    pumpUntil(done);
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(workerSawAnswerFirst);
    Set_Message_Responder(prev);
}

TEST(MessageSink, ModalRunnerReplacesExec)
{
    // A window with a field the caller filled and the runner changes.
    QDialog d;
    d.setWindowTitle(QStringLiteral("Units"));
    auto* field = new QLineEdit(QStringLiteral("10"), &d);

    // With a runner: the very window, as the caller left it, is handed over
    // and never shown; what the runner did to it and the code it answered
    // are what the caller gets.
    bool shownWhileRun = true;
    QString seenText;
    auto prev = Set_Modal_Runner([&](QDialog& dlg) {
        shownWhileRun = dlg.isVisible();
        seenText = dlg.findChild<QLineEdit*>()->text();
        dlg.findChild<QLineEdit*>()->setText(QStringLiteral("25.4"));
        dlg.done(7);
        return dlg.result();
    });
    EXPECT_EQ(Run_Modal_Dialog(d), 7);
    EXPECT_FALSE(shownWhileRun);
    EXPECT_EQ(seenText, QStringLiteral("10"));
    EXPECT_EQ(field->text(), QStringLiteral("25.4"));
    EXPECT_FALSE(d.isVisible());

    // Without one the window runs as the application runs it: shown, in its
    // own event loop, until it ends with its code.
    Set_Modal_Runner({});
    bool shownInLoop = false;
    QTimer::singleShot(0, &d, [&] {
        shownInLoop = d.isVisible();
        field->setText(QStringLiteral("typed"));
        d.done(3);
    });
    EXPECT_EQ(Run_Modal_Dialog(d), 3);
    EXPECT_TRUE(shownInLoop);
    EXPECT_EQ(field->text(), QStringLiteral("typed"));
    EXPECT_FALSE(d.isVisible());
    Set_Modal_Runner(prev);
}

TEST(Numbers, CLocaleWhateverTheUserLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Format_Fixed_C(1234.5, 1), "1234.5");
    EXPECT_EQ(Format_Fixed_C(0.05, 1), "0.1");
    EXPECT_EQ(Format_Double_C(0.1), "0.1");
    EXPECT_EQ(Format_Double_C(2.834645669291), "2.834645669291");
    bool ok = false;
    EXPECT_DOUBLE_EQ(Parse_Double_C(" 3.25 ", &ok), 3.25);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(Parse_Double_C("3,25", &ok), 0.0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Parse_Int_C("-12", &ok), -12);
    EXPECT_TRUE(ok);
    QLocale::setDefault(saved);

    struct { const char* text; double value; } lenient[] = {
        {"12.5mm", 12.5}, {"  -3", -3}, {".5", 0.5}, {"abc", 0}, {"", 0}, {"1e3x", 1000},
        {"1e", 1}, {"+", 0}, {"-.", 0}, {"7.", 7}, {"1e999", 0},
    };
    for (const auto& c : lenient)
        EXPECT_DOUBLE_EQ(Leading_Double_C(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_EQ(Leading_Int_C("42 labels"), 42);
    EXPECT_EQ(Leading_Int_C("4.9"), 4);
    EXPECT_EQ(Leading_Int_C("99999999999"), 2147483647);
    EXPECT_EQ(Leading_Int_C("x"), 0);
}

TEST(Paths, ResourcesComeFromTheSourceTreeInABuildAndJoinCleanly)
{
    const QString res = Default_Resource_Path();
    EXPECT_TRUE(res.endsWith("/resources") || res.endsWith("/zorv-label")) << res.toStdString();
    EXPECT_FALSE(Default_Created_Resource_Path().isEmpty());
    EXPECT_EQ(Path_Join("/a/", "/b"), "/a/b");
    EXPECT_EQ(Path_Join("/", "b"), "/b");
    EXPECT_EQ(Path_Join("", "b"), "b");
    EXPECT_EQ(Path_Join("a", ""), "a");
}

} // namespace
