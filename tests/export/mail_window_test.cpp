// The e-mail settings window and the mailings of the e-mail window and the
// direct mail, against a real SMTP server on 127.0.0.1.
#include "ExportTestSupport.h"
#include "SmtpTestServer.h"
#include "common/FakeBatchServices.h"
#include "core/FakeMainWindow.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "export/ExportSetup.h"
#include "export/ProgressWindow.h"
#include "core/util/MessageBoxes.h"
#include "export/mail/EmailSetting.h"
#include "export/mail/MailPreferences.h"
#include "export/mail/SendMail.h"
#include "platform/MainThread.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace exporttest;
using namespace mailtest;

// A private data folder for the settings file.
class MailFixture : public PrivateDataTest {
protected:
    // Settings for a test server, as the settings window leaves them.
    void Account(int port, const QString& password = "secret", const QString& ssl = "N")
    {
        auto prefs = PreferencesStore::sharedInstance();
        prefs->setsend_email_SenderEmail("sender@zorv.test");
        prefs->setsend_email_Password(password);
        prefs->setsend_email_SMTP_server("127.0.0.1");
        prefs->setsend_email_PORT_num(QString::number(port));
        prefs->setsend_email_enable_ssl(ssl);
        ASSERT_TRUE(prefs->flush());
    }
    static MailJobReport Wait(const std::shared_ptr<Job_Handle<MailJobReport>>& job)
    {
        EXPECT_TRUE(job);
        if (!job) return {};
        EXPECT_TRUE(Pump_Until([&] { return job->done.load(); }));
        return job->report();
    }
};

int Mode_Of(const QString& path)
{
    struct stat st{};
    return ::stat(path.toLocal8Bit().constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

using EmailSettings = MailFixture;

// A port of 127.0.0.1 on which nothing listens (taken, then given back).
int Closed_Port()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof at;
    int port = -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &len) == 0)
        port = ntohs(at.sin_port);
    ::close(fd);
    return port;
}

TEST_F(EmailSettings, FirstOpeningShowsEmptyFieldsAndLeavesAnOwnerOnlyFile)
{
    ScriptedMessages msgs;
    msgs.onDialog = [](QDialog& d) { dynamic_cast<Email_Setting&>(d).Close_Button(); };
    Email_Setting* w = Email_Setting::defaultInstance();
    EXPECT_EQ(w->Open_Wnd(), 0);
    const QString path = PreferencesStore::Preferences_Path();
    EXPECT_TRUE(path.endsWith("/com.velquist.plist"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(Mode_Of(path), 0600);
    EXPECT_TRUE(w->_send_mail_sender_mail->text().isEmpty());
    EXPECT_TRUE(w->_send_mail_tls->isChecked());
    EXPECT_FALSE(w->_send_mail_ssl->isChecked());
}

TEST_F(EmailSettings, SaveChecksThenWritesTheFileOwnerOnlyAndAFailedSaveKeepsIt)
{
    ScriptedMessages msgs;
    Email_Setting* w = Email_Setting::defaultInstance();
    msgs.onDialog = [&](QDialog&) {
        w->_send_mail_sender_mail->setText("Sender@zorvtest");
        w->_send_mail_password->setText(QString::fromUtf8("pä ss"));
        w->_send_mail_smtp->setText("smtp.zorv.test");
        w->_send_mail_port->setText("587");
        w->save_btn->click();  // no "." in the sender
        w->_send_mail_sender_mail->setText("Sender@zorv.test");
        w->SSL_Selected();
        w->save_btn->click();  // no recipient needed to save
    };
    EXPECT_EQ(w->Open_Wnd(), 1);
    EXPECT_EQ(msgs.texts(), QStringList{"\nPlease enter valid sender E-mail address."});
    const QString path = PreferencesStore::Preferences_Path();
    EXPECT_EQ(Mode_Of(path), 0600);
    auto prefs = PreferencesStore::sharedInstance();
    EXPECT_EQ(prefs->send_email_SenderEmail(), "Sender@zorv.test");  // as typed
    EXPECT_EQ(prefs->send_email_Password(), QString::fromUtf8("pä ss"));
    EXPECT_EQ(prefs->send_email_enable_ssl(), "Y");
    EXPECT_EQ(prefs->send_email_PORT_num(), "587");

    // A save that cannot be written says so and leaves the file as it was.
    const QByteArray before = testsupport::readAll(path);
    auto locked = std::make_unique<testsupport::Read_Only_Path>(m_data.path());
    ASSERT_TRUE(locked->ok());
    msgs.requests.clear();
    msgs.onDialog = [&](QDialog&) {
        w->_send_mail_password->setText("changed");
        w->TLS_Selected();
        w->save_btn->click();
        w->close_btn->click();
    };
    EXPECT_EQ(w->Open_Wnd(), 0);
    locked.reset();
    ASSERT_EQ(msgs.requests.size(), 1u);
    EXPECT_TRUE(msgs.requests[0].text.contains("The e-mail settings could not be saved."));
    EXPECT_EQ(testsupport::readAll(path), before);
    EXPECT_EQ(Mode_Of(path), 0600);

    // Reset, then Close: the next opening shows nothing saved.
    msgs.push(0);  // "Yes"
    msgs.onDialog = [&](QDialog&) {
        w->reset_btn->click();
        EXPECT_TRUE(w->_send_mail_password->text().isEmpty());
        w->close_btn->click();
    };
    w->Open_Wnd();
    msgs.onDialog = [&](QDialog&) { w->close_btn->click(); };
    w->Open_Wnd();
    EXPECT_TRUE(w->_send_mail_sender_mail->text().isEmpty());
    EXPECT_TRUE(w->_send_mail_tls->isChecked());
    EXPECT_TRUE(MainWindowServices::Get_Email_Details().sender_pwd.isEmpty());

    // A file that is no dictionary counts as missing.
    testsupport::Write_File(path, "<plist><array/></plist>");
    EXPECT_TRUE(PreferencesStore::sharedInstance()->send_email_SenderEmail().isEmpty());
}

TEST_F(EmailSettings, TestMailNeedsARecipientAndSendsWhatIsTyped)
{
    SmtpTestServer server("starttls", "sender@zorv.test", "secret");
    ASSERT_GT(server.port(), 0);
    ScriptedMessages msgs;
    Email_Setting* w = Email_Setting::defaultInstance();
    msgs.onDialog = [&](QDialog&) {
        w->_send_mail_sender_mail->setText("SENDER@zorv.test");
        w->_send_mail_password->setText("secret");
        w->_send_mail_smtp->setText("127.0.0.1");
        w->_send_mail_port->setText(QString::number(server.port()));
        w->test_btn->click();
        w->_send_mail_to->setText("Friend@Zorv.test");
        w->test_btn->click();
        w->close_btn->click();
    };
    w->Open_Wnd();
    EXPECT_EQ(msgs.texts(), (QStringList{"\nPlease enter recipient E-mail address.", "\nE-mail has been sent successfully."}));
    EXPECT_EQ(w->_send_mail_result_status->text(), "E-mail has been sent successfully.");
    const QList<ReceivedMail> mails = server.mails();
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(mails[0].subject, "Zorv Label Test Mail");
    EXPECT_EQ(mails[0].recipients, QStringList{"friend@zorv.test"});
    EXPECT_EQ(mails[0].login, QByteArray("sender@zorv.test"));
    EXPECT_EQ(testsupport::readAll(PreferencesStore::Preferences_Path()).size(), 0);  // a test saves nothing
}

namespace {

// Each showing and hiding of a widget, with what `state` says then.
class Show_Watch : public QObject {
public:
    Show_Watch(QWidget* w, std::function<QString()> state) : m_state(std::move(state)) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            seen << QStringLiteral("shown ") + m_state();
        else if (e->type() == QEvent::Hide)
            seen << QStringLiteral("hidden ") + m_state();
        return false;
    }
    QStringList seen;

private:
    std::function<QString()> m_state;
};

} // namespace

// The test mail goes under the window's please-wait sheet: up before the
// mail leaves, down when it has arrived, before the window says so.
TEST_F(EmailSettings, TheTestMailGoesUnderThePleaseWaitSheet)
{
    SmtpTestServer server("starttls", "sender@zorv.test", "secret");
    ASSERT_GT(server.port(), 0);
    ScriptedMessages msgs;
    Email_Setting* w = Email_Setting::defaultInstance();
    ASSERT_NE(w->plz_wait_Window, nullptr);
    EXPECT_EQ(w->plz_wait_Window->parentWidget(), w) << "a sheet of the settings window";
    Show_Watch watch(w->plz_wait_Window, [&] {
        return QString::number(server.mails().size()) + QStringLiteral(" ") + QString::number(msgs.requests.size());
    });
    msgs.onDialog = [&](QDialog&) {
        w->_send_mail_sender_mail->setText("sender@zorv.test");
        w->_send_mail_password->setText("secret");
        w->_send_mail_smtp->setText("127.0.0.1");
        w->_send_mail_port->setText(QString::number(server.port()));
        w->_send_mail_to->setText("friend@zorv.test");
        w->test_btn->click();
        w->close_btn->click();
    };
    w->Open_Wnd();
    EXPECT_EQ(watch.seen, (QStringList{"shown 0 0", "hidden 1 0"}));
    EXPECT_EQ(msgs.texts(), QStringList{"\nE-mail has been sent successfully."});
    EXPECT_FALSE(w->plz_wait_Window->isVisible());
}

// A failed test mail explains itself in several lines under the fields: the
// window grows to show them all, squeezing neither the fields nor the text.
TEST_F(EmailSettings, AFailedTestMailShowsItsWholeExplanation)
{
    const int port = Closed_Port();
    ASSERT_GT(port, 0);
    ScriptedMessages msgs;
    Email_Setting* w = Email_Setting::defaultInstance();
    QLabel* status = w->_send_mail_result_status;
    int shown = 0, needed = 0, fieldHeight = 0, fieldNeeds = 0;
    msgs.onDialog = [&](QDialog& d) {
        d.show();
        QCoreApplication::processEvents();
        w->_send_mail_sender_mail->setText("sender@zorv.test");
        w->_send_mail_password->setText("secret");
        w->_send_mail_smtp->setText("127.0.0.1");
        w->_send_mail_port->setText(QString::number(port));
        w->_send_mail_to->setText("friend@zorv.test");
        w->test_btn->click();
        QCoreApplication::processEvents();
        shown = status->height();
        needed = status->heightForWidth(status->width());
        fieldHeight = w->_send_mail_to->height();
        fieldNeeds = w->_send_mail_to->minimumSizeHint().height();
        w->close_btn->click();
    };
    w->Open_Wnd();
    ASSERT_FALSE(msgs.texts().isEmpty());
    EXPECT_TRUE(msgs.texts().last().contains("Could not send email.")) << msgs.texts().join("|").toStdString();
    EXPECT_TRUE(status->text().contains("Could not send email."));
    EXPECT_GE(shown, needed) << "the explanation is cut";
    EXPECT_GE(fieldHeight, fieldNeeds) << "the fields are squeezed";
}

using Mailing = MailFixture;

// Barcode mode with a list of five Code 128 rows.
struct FiveRows {
    FakeBatchServices batch;
    FiveRows()
    {
        for (int i = 0; i < 5; ++i)
            batch.list << BarcodeListRow{{"Value", QStringLiteral("ROW-%1").arg(i + 1)}};
        batch.barcodeRows = 5;
        batch.state.dataSource = batch.state.valueChecked = true;   // the list feeds the values
        batch.rowImage = [](int row) { return Card_With(Code128(QStringLiteral("ROW-%1").arg(row + 1)), QSizeF(180, 90)); };
    }
};

TEST_F(Mailing, OneRowPerRecipientSendsTwoMailsWithPdfsThatOpenAndScan)
{
    SmtpTestServer server("starttls");
    ASSERT_GT(server.port(), 0);
    Account(server.port());
    ScriptedMessages msgs;
    FiveRows rows;
    Send_Mail* w = Send_Mail::defaultInstance();
    w->Reset_Controls();
    EXPECT_EQ(w->from_txt->text(), "sender@zorv.test");
    w->to_txt->setPlainText("one@zorv.test, two@zorv.test");
    w->subject_txt->setText("Your labels");
    w->file_name_txt->setText("Labels");
    w->send_with_batch_chk->click();
    w->rd_one_per_recp->click();
    const MailJobReport r = Wait(w->Send_Button());
    EXPECT_EQ(r.message, "E-mail has been sent successfully.");
    EXPECT_EQ(msgs.texts().last(), "\nE-mail has been sent successfully.");
    const QList<ReceivedMail> mails = server.mails();
    ASSERT_EQ(mails.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(mails[i].recipients, QStringList{i == 0 ? "one@zorv.test" : "two@zorv.test"});
        ASSERT_EQ(mails[i].attachments.size(), 1);
        const ReceivedAttachment& a = mails[i].attachments[0];
        EXPECT_EQ(a.fileName, "Labels.pdf");
        EXPECT_EQ(a.contentType, "application/pdf");
        const testsupport::ToolResult info = testsupport::Run_Tool("pdfinfo", {a.path});
        EXPECT_EQ(info.exitCode, 0);
        EXPECT_TRUE(QRegularExpression("Pages:\\s+1\\n").match(QString::fromUtf8(info.out)).hasMatch()) << info.out.toStdString();
        ASSERT_EQ(testsupport::Run_Tool("pdftoppm", {"-r", "300", "-png", "-singlefile", a.path, a.path}).exitCode, 0);
        EXPECT_EQ(testsupport::Zbar_Decode(a.path + ".png"), QStringLiteral("ROW-%1").arg(i + 1).toUtf8());
    }
    EXPECT_EQ(rows.batch.imageRows, (QList<int>{0, 1}));
    EXPECT_FALSE(Send_Modeless_Dialog::defaultInstance()->isVisible());
}

TEST_F(Mailing, AFailureThenASuccessSaysOneOfTwoNotSent)
{
    SmtpTestServer server("starttls", "sender@zorv.test", "secret", 1);  // the first mail gets 554
    ASSERT_GT(server.port(), 0);
    Account(server.port());
    ScriptedMessages msgs;
    FiveRows rows;
    MailJob job;
    job.batchRows = rows.batch.jobRows(false);
    job.kase = MailCase::Range;
    job.Print_Start = 2;
    job.Print_End = 4;  // rows 3 and 4
    job.rows = 5;
    job.sender = "sender@zorv.test";
    job.recipients = "friend@zorv.test";
    job.password = "secret";
    job.server = "127.0.0.1";
    job.port = QString::number(server.port());
    job.enable_ssl = "N";
    const MailJobReport r = Run_Mail_Job(job, nullptr);
    EXPECT_EQ(r.planned, 2);
    EXPECT_EQ(r.sent, 1);
    EXPECT_TRUE(r.message.startsWith("1 of 2 not sent.")) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains("Could not send email message.\nEither Label not generated."));
    ASSERT_EQ(server.mails().size(), 1);
    EXPECT_EQ(rows.batch.imageRows, (QList<int>{2, 3}));

    // Wrong settings: every mail refused with 535, none sent.
    job.password = "wrong";
    const MailJobReport r2 = Run_Mail_Job(job, nullptr);
    EXPECT_EQ(r2.sent, 0);
    EXPECT_TRUE(r2.message.startsWith("2 of 2 not sent.")) << r2.message.toStdString();
}

TEST_F(Mailing, StopDuringAPauseEndsTheJobAtOnce)
{
    SmtpTestServer server("starttls");
    ASSERT_GT(server.port(), 0);
    Account(server.port());
    ScriptedMessages msgs({0});  // "Yes" to stopping
    FakeBatchServices batch;
    Send_Mail* w = Send_Mail::defaultInstance();
    w->Reset_Controls();
    w->to_txt->setPlainText("one@zorv.test,two@zorv.test");
    w->rd_without_barcode->click();
    w->delayed_delv_chk->setChecked(true);
    w->mail_count_txt->setValue(1);
    w->hour_txt->setValue(1);
    const auto job = w->Send_Button();
    ASSERT_TRUE(job);
    auto* progress = Send_Modeless_Dialog::defaultInstance();
    // The window shows this job's pause (a hidden window may keep the text
    // of an earlier job's last pause until a job shows it again).
    ASSERT_TRUE(Pump_Until([&] {
        return progress->isVisible() && progress->pause_label->text().startsWith("Pausing the process for 1 Hour");
    }, 60));
    QElapsedTimer t;
    t.start();
    progress->_stop_btn->click();
    ASSERT_TRUE(Pump_Until([&] { return job->done.load(); }, 30));
    EXPECT_LT(t.elapsed(), 30000);  // the pause would last an hour
    const MailJobReport r = job->report();
    EXPECT_EQ(r.sent, 1);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.message, "1 of 2 not sent.\n\nSending was stopped.");
    EXPECT_EQ(server.mails().size(), 1);
    EXPECT_TRUE(progress->pause_label->text().isEmpty() || !progress->isVisible());
}

// A clock for the pauses between mails of the e-mail window under which a
// whole pause goes by at once. As each pause begins it notes what the user
// sees then: how many mails the server has received, and the progress
// window's count and pause texts.
class Pause_Watch {
public:
    struct Seen {
        int mails = 0;
        bool shown = false;
        QString count, pause;
    };

    Pause_Watch(Send_Mail* window, const SmtpTestServer& server) : m_window(window)
    {
        // Shared with the job, which keeps its copy of the clock.
        const auto state = m_state;
        const QString outDir = server.outDir();
        m_window->pauseClock = [state, outDir](int) -> long long {
            Seen s;
            s.mails = int(QDir(outDir).entryList({QStringLiteral("mail-*.json")}, QDir::Files).size());
            Run_On_Main_Thread_And_Wait([&] {
                Send_Modeless_Dialog* progress = Send_Modeless_Dialog::defaultInstance();
                progress->update_sending_progress_bar();
                s.shown = progress->isVisible();
                s.count = progress->_curr_msg_cnt->text().trimmed();
                s.pause = progress->pause_label->text();
            });
            std::lock_guard lock(state->mutex);
            state->seen.push_back(s);
            return 24 * 3600000LL;  // a day goes by
        };
    }
    ~Pause_Watch() { m_window->pauseClock = nullptr; }
    Pause_Watch(const Pause_Watch&) = delete;
    Pause_Watch& operator=(const Pause_Watch&) = delete;

    std::vector<Seen> seen() const
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->seen;
    }
    // The mails the server had as each pause began.
    QList<int> mailsAtPauses() const
    {
        QList<int> out;
        for (const Seen& s : seen())
            out << s.mails;
        return out;
    }
    // The progress window's counts as each pause began, "2 / 5, 4 / 5".
    std::string countsAtPauses() const
    {
        QStringList out;
        for (const Seen& s : seen())
            out << s.count;
        return out.join(QStringLiteral(", ")).toStdString();
    }
    void clear()
    {
        std::lock_guard lock(m_state->mutex);
        m_state->seen.clear();
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<Seen> seen;
    };
    Send_Mail* m_window;
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

// The window set to pause for an hour after every `every` mails.
void Pause_For_An_Hour(Send_Mail* w, int every)
{
    w->delayed_delv_chk->setChecked(true);
    w->mail_count_txt->setValue(every);
    w->hour_txt->setValue(1);
}

TEST_F(Mailing, APauseComesAfterEveryNMailsAndOnlyAfterTheNextNOnceItHasPaused)
{
    SmtpTestServer server("starttls");
    ASSERT_GT(server.port(), 0);
    Account(server.port());
    ScriptedMessages msgs;
    FiveRows rows;
    Send_Mail* w = Send_Mail::defaultInstance();
    Pause_Watch watch(w, server);
    w->Reset_Controls();
    w->to_txt->setPlainText("one@zorv.test,two@zorv.test,three@zorv.test,four@zorv.test,five@zorv.test");
    w->rd_without_barcode->click();
    Pause_For_An_Hour(w, 2);
    const MailJobReport r = Wait(w->Send_Button());
    EXPECT_EQ(r.sent, 5);
    EXPECT_EQ(watch.mailsAtPauses(), (QList<int>{2, 4}));
    EXPECT_EQ(watch.countsAtPauses(), "2 / 5, 4 / 5");
    for (const Pause_Watch::Seen& s : watch.seen()) {
        EXPECT_TRUE(s.shown);
        EXPECT_EQ(s.pause.toStdString(), "Pausing the process for 1 Hour 0 Minute 0 Second.");
    }

    // One label a row to both recipients: the passes are rows, and a row
    // without a label sends nothing and does not count.
    rows.batch.rowImage = [](int row) {
        return row == 2 ? PtImage() : Card_With(Code128(QStringLiteral("ROW-%1").arg(row + 1)), QSizeF(180, 90));
    };
    watch.clear();
    w->Reset_Controls();
    w->to_txt->setPlainText("one@zorv.test,two@zorv.test");
    w->send_with_batch_chk->click();
    w->rd_all_to_every->click();
    Pause_For_An_Hour(w, 2);
    const MailJobReport rowsSent = Wait(w->Send_Button());
    EXPECT_EQ(rowsSent.sent, 8);
    EXPECT_EQ(rowsSent.skippedRows, 1);
    // Rows 1 and 2, a pause; row 3 has no label; rows 4 and 5 are the last.
    EXPECT_EQ(watch.mailsAtPauses(), (QList<int>{5 + 4}));
    EXPECT_EQ(watch.countsAtPauses(), "2 / 5");
}

TEST_F(Mailing, NoPauseFollowsTheLastMailTheProgressClosesAndSentShowsAtOnce)
{
    SmtpTestServer server("starttls");
    ASSERT_GT(server.port(), 0);
    Account(server.port());
    ScriptedMessages msgs;
    FiveRows rows;
    Send_Mail* w = Send_Mail::defaultInstance();
    Send_Modeless_Dialog* progress = Send_Modeless_Dialog::defaultInstance();
    Pause_Watch watch(w, server);
    w->Reset_Controls();
    w->to_txt->setPlainText("one@zorv.test,two@zorv.test,three@zorv.test,four@zorv.test");
    w->rd_without_barcode->click();
    Pause_For_An_Hour(w, 2);
    const MailJobReport r = Wait(w->Send_Button());
    EXPECT_EQ(watch.mailsAtPauses(), (QList<int>{2}));
    EXPECT_EQ(r.message, "E-mail has been sent successfully.");
    ASSERT_FALSE(msgs.texts().isEmpty());
    EXPECT_EQ(msgs.texts().last(), "\nE-mail has been sent successfully.");
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(server.mails().size(), 4);

    // Row i to recipient i with more recipients than rows: the second mail
    // is the last, the third recipient has no row.
    rows.batch.barcodeRows = 2;
    watch.clear();
    msgs.requests.clear();
    w->Reset_Controls();
    w->to_txt->setPlainText("five@zorv.test,six@zorv.test,seven@zorv.test");
    w->send_with_batch_chk->click();
    w->rd_one_per_recp->click();
    Pause_For_An_Hour(w, 1);
    const MailJobReport perRecipient = Wait(w->Send_Button());
    EXPECT_EQ(perRecipient.sent, 2);
    EXPECT_EQ(watch.mailsAtPauses(), (QList<int>{4 + 1}));
    EXPECT_EQ(watch.countsAtPauses(), "1 / 3");
    EXPECT_EQ(msgs.texts().join("|").toStdString(), "\nE-mail has been sent successfully.");
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(server.mails().size(), 6);
}

TEST_F(Mailing, RecipientsAndFileNameAreCheckedBeforeAnythingIsSent)
{
    ScriptedMessages msgs;
    FakeBatchServices batch;
    MailJob job;
    job.kase = MailCase::CardNoBatch;
    job.sender = "sender@zorv.test";
    job.server = "127.0.0.1";
    job.port = "1";
    const struct {
        const char* recipients;
        const char* fileName;
        const char* said;
    } cases[] = {
        {"  \n ", "ZorvBarcode", "Please specify the Recipient E-mail address."},
        {"a@zorv.test, b@zorv.test,", "ZorvBarcode", "Recipient E-mail address is invalid or incomplete."},
        {"a@zorv.test", "///", "Please enter valid file name."},
    };
    for (const auto& c : cases) {
        job.recipients = c.recipients;
        job.fileName = c.fileName;
        const MailJobReport r = Run_Mail_Job(job, nullptr);
        EXPECT_TRUE(r.checksFailed) << c.said;
        EXPECT_EQ(r.message, c.said);
    }
    // Missing settings: the advice, then what is missing.
    job.recipients = "a@zorv.test";
    job.fileName = "ZorvBarcode";
    const QString server = job.server;
    job.server = " ";
    const MailJobReport noServer = Run_Mail_Job(job, nullptr);
    EXPECT_TRUE(noServer.checksFailed);
    EXPECT_TRUE(noServer.message.startsWith(mail_send_err_msg));
    EXPECT_TRUE(noServer.message.endsWith("No SMTP server or port is set: enter them in E-mail Settings and save."))
        << noServer.message.toStdString();
    job.server = server;
    job.sender = "  ";
    const MailJobReport noSender = Run_Mail_Job(job, nullptr);
    EXPECT_TRUE(noSender.checksFailed);
    EXPECT_EQ(noSender.message, mail_send_err_msg + "\n\nThe sender's E-mail address (From) is empty.");
    EXPECT_TRUE(batch.imageRows.isEmpty());
}

TEST_F(Mailing, DirectMailGoesOnAfterAFailureAndCountsIt)
{
    SmtpTestServer server("starttls", "sender@zorv.test", "secret", 0, 0.0, {"two@zorv.test"});
    ASSERT_GT(server.port(), 0);
    Account(server.port());
    ScriptedMessages msgs;
    QTemporaryDir dir;
    const QString visitor = dir.filePath("visitor.png");
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(visitor));
    Direct_Mail* w = Direct_Mail::defaultInstance();
    msgs.onDialog = [&](QDialog&) { w->close_btn->click(); };
    w->Open_Wnd();
    w->to_txt->setText("one@zorv.test, two@zorv.test, three@zorv.test");
    w->file_path = visitor;
    const MailJobReport r = Wait(w->Send_Button());
    EXPECT_EQ(r.sent, 2);
    EXPECT_TRUE(r.message.startsWith("1 of 3 not sent.")) << r.message.toStdString();
    const QList<ReceivedMail> mails = server.mails();
    ASSERT_EQ(mails.size(), 2);
    EXPECT_EQ(mails[1].recipients, QStringList{"three@zorv.test"});
    EXPECT_EQ(mails[0].subject, "Visitor Details");
    EXPECT_TRUE(mails[0].body.startsWith("Visitor Details sent by Zorv Label."));
    ASSERT_EQ(mails[0].attachments.size(), 1);
    EXPECT_EQ(mails[0].attachments[0].fileName, "visitor.png");
    EXPECT_EQ(mails[0].attachments[0].contentType, "image/png");
}

} // namespace
