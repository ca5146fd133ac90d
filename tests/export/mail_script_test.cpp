// The mail script against a real SMTP server on 127.0.0.1: what arrives,
// how failures end, and that the password goes nowhere but the server.
#include "SmtpTestServer.h"
#include "core/util/SharedValues.h"
#include "export/mail/MailScript.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMutex>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace mailtest;

MailRequest Request(int port, const QString& password, const QString& ssl = "N")
{
    MailRequest r;
    r.sender = "sender@zorv.test";
    r.recipient = "friend@zorv.test";
    r.subject = "Labels";
    r.body = "Here they are.\nSecond line.";
    r.server = "127.0.0.1";
    r.port = QString::number(port);
    r.password = password;
    r.enable_ssl = ssl;
    return r;
}

TEST(MailScript, AddressCheck)
{
    EXPECT_TRUE(isValidEmail("a@b.co"));  // six characters, one "@", one "."
    EXPECT_TRUE(isValidEmail("  a@b.co\n"));
    EXPECT_FALSE(isValidEmail("a@b.c"));
    EXPECT_FALSE(isValidEmail("ab@cdef"));
    EXPECT_FALSE(isValidEmail("a@b@c.org"));
    EXPECT_FALSE(isValidEmail(""));
}

TEST(MailScript, StartTlsCarriesTheLoginANonAsciiPasswordAndTheAttachments)
{
    const QString password = QString::fromUtf8("pässwörd ✓ 密");
    SmtpTestServer server("starttls", "sender@zorv.test", password);
    ASSERT_GT(server.port(), 0);
    QTemporaryDir dir;
    testsupport::Write_File(dir.filePath("notes.txt"), "a note");
    testsupport::Write_File(dir.filePath("Shelf Labels.pdf"), "%PDF-1.4\n%fake\n");
    MailRequest r = Request(server.port(), password);
    r.subject = QString::fromUtf8("Étiquettes № 5");
    r.attachments = {dir.filePath("notes.txt"), dir.filePath("Shelf Labels.pdf")};
    const MailSendResult result = sendEmail_pyth(r);
    EXPECT_TRUE(result.sent) << result.error.toStdString();
    EXPECT_EQ(result.exitStatus, 0);
    const QList<ReceivedMail> mails = server.mails();
    ASSERT_EQ(mails.size(), 1);
    const ReceivedMail& m = mails[0];
    EXPECT_TRUE(m.encrypted);
    EXPECT_EQ(m.login, QByteArray("sender@zorv.test"));
    EXPECT_EQ(m.password, password.toUtf8());
    EXPECT_EQ(m.mailFrom, "sender@zorv.test");
    EXPECT_EQ(m.recipients, QStringList{"friend@zorv.test"});
    EXPECT_EQ(m.subject, QString::fromUtf8("Étiquettes № 5"));
    EXPECT_EQ(m.body.trimmed().replace("\r\n", "\n"), "Here they are.\nSecond line.");
    ASSERT_EQ(m.attachments.size(), 2);
    EXPECT_EQ(m.attachments[0].fileName, "notes.txt");
    EXPECT_EQ(m.attachments[0].contentType, "text/plain");
    EXPECT_EQ(m.attachments[1].fileName, "Shelf Labels.pdf");
    EXPECT_EQ(m.attachments[1].contentType, "application/pdf");
    EXPECT_EQ(testsupport::readAll(m.attachments[1].path), QByteArray("%PDF-1.4\n%fake\n"));
}

TEST(MailScript, FailuresEndWithTheirOwnStatusWithinTheTimeOut)
{
    SmtpTestServer tls("starttls");
    SmtpTestServer plain("none");
    SmtpTestServer implicit("implicit");
    ASSERT_GT(tls.port(), 0);
    ASSERT_GT(plain.port(), 0);
    ASSERT_GT(implicit.port(), 0);
    const auto Request = [](int port, const QString& password, const QString& ssl = "N") {
        MailRequest r = ::Request(port, password, ssl);
        r.timeoutMs = 20000;
        return r;
    };

    // 535: a wrong password is a failure.
    MailSendResult r = sendEmail_pyth(Request(tls.port(), "wrong"));
    EXPECT_FALSE(r.sent);
    EXPECT_EQ(r.exitStatus, 5);
    EXPECT_TRUE(r.error.contains("535")) << r.error.toStdString();

    // Nothing listening: refused at once.
    QElapsedTimer t;
    t.start();
    r = sendEmail_pyth(Request(1, "secret"));
    EXPECT_FALSE(r.sent);
    EXPECT_EQ(r.exitStatus, 3);
    EXPECT_FALSE(r.timedOut);

    // SSL asked of a server that speaks plain SMTP.
    r = sendEmail_pyth(Request(plain.port(), "secret", "Y"));
    EXPECT_FALSE(r.sent);
    EXPECT_EQ(r.exitStatus, 4) << r.error.toStdString();
    EXPECT_LT(t.elapsed(), 20000);

    // SSL from the start where the server offers it.
    r = sendEmail_pyth(Request(implicit.port(), "secret", "Y"));
    EXPECT_TRUE(r.sent) << r.error.toStdString();
    ASSERT_EQ(implicit.mails().size(), 1);
    EXPECT_TRUE(implicit.mails()[0].encrypted);

    // A plain loopback server may be given the password; a bad port is a usage error.
    r = sendEmail_pyth(Request(plain.port(), "secret"));
    EXPECT_TRUE(r.sent) << r.error.toStdString();
    MailRequest bad = Request(plain.port(), "secret");
    bad.port = "smtp";
    EXPECT_EQ(sendEmail_pyth(bad).exitStatus, 2);
}

TEST(MailScript, TimeOutAndStopEndARunThatHangs)
{
    SmtpTestServer slow("starttls", "sender@zorv.test", "secret", 0, 30.0);  // DATA answered after 30 s
    ASSERT_GT(slow.port(), 0);
    MailRequest hanging = Request(slow.port(), "secret");
    hanging.timeoutMs = 1500;
    QElapsedTimer t;
    t.start();
    MailSendResult r = sendEmail_pyth(hanging);
    EXPECT_TRUE(r.timedOut);
    EXPECT_FALSE(r.sent);
    EXPECT_LT(t.elapsed(), 15000);  // ten times the time-out; the server hangs for 30 s

    hanging.timeoutMs = 60000;
    std::atomic<bool> stop{false};
    t.restart();
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        stop = true;
    });
    r = sendEmail_pyth(hanging, &stop);
    stopper.join();
    EXPECT_TRUE(r.stopped);
    EXPECT_LT(t.elapsed(), 20000);  // well within the 60 s time-out and the 30 s hang
}

// Every message Qt logs while a test runs.
QMutex g_logLock;
QStringList g_log;
void collect(QtMsgType, const QMessageLogContext&, const QString& text)
{
    QMutexLocker lock(&g_logLock);
    g_log << text;
}

TEST(MailScript, ThePasswordIsInNoCommandLineAndNoLog)
{
    const QString password = QString::fromUtf8("Zx9-ünique-ßecret");
    SmtpTestServer server("starttls", "sender@zorv.test", password, 0, 1.5);
    ASSERT_GT(server.port(), 0);
    std::atomic<bool> sending{true};
    std::atomic<int> scriptSeen{0}, passwordSeen{0};
    const QByteArray needle = password.toUtf8();
    std::thread scanner([&] {
        while (sending) {
            for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                QFile f("/proc/" + pid + "/cmdline");
                if (!f.open(QIODevice::ReadOnly)) continue;
                const QByteArray cmd = f.readAll();
                if (cmd.contains("pyth_mail.py")) ++scriptSeen;
                if (cmd.contains(needle)) ++passwordSeen;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    g_log.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    const MailSendResult ok = sendEmail_pyth(Request(server.port(), password));
    const MailSendResult refused = sendEmail_pyth(Request(server.port(), password + "x"));
    qInstallMessageHandler(previous);
    sending = false;
    scanner.join();
    EXPECT_TRUE(ok.sent) << ok.error.toStdString();
    EXPECT_FALSE(refused.sent);
    EXPECT_GT(scriptSeen.load(), 0);  // the scan did see the script running
    EXPECT_EQ(passwordSeen.load(), 0);
    QMutexLocker lock(&g_logLock);
    EXPECT_FALSE(g_log.isEmpty());  // the refusal was logged...
    for (const QString& line : g_log)
        EXPECT_FALSE(line.contains(password)) << line.toStdString();  // ...without the password
    EXPECT_FALSE(refused.error.contains(password));
}

} // namespace
