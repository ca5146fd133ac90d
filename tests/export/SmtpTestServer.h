#pragma once
// A real SMTP server on 127.0.0.1 for the mail tests: tests/export/smtp_server.py
// (aiosmtpd) started by the test on a free port and stopped with it. STARTTLS
// and SSL use a self-signed certificate made once per test run with openssl
// and trusted through SSL_CERT_FILE. What the server accepted is read back
// from its output folder.
#include "common/TestSupport.h"
#include "platform/Paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mailtest {

struct ReceivedAttachment {
    QString fileName, contentType, path;
};

struct ReceivedMail {
    QString subject, body;
    QList<ReceivedAttachment> attachments;
    QString mailFrom;
    QStringList recipients;
    QByteArray login, password;  // as the client sent them
    bool encrypted = false;
    QByteArray content;          // the message as received
};

// The certificate and key of the test servers; SSL_CERT_FILE points at it.
inline const QTemporaryDir& Certificate_Dir()
{
    static QTemporaryDir dir;
    static bool made = [] {
        const testsupport::ToolResult r = testsupport::Run_Tool(
            "openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                        "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout",
                        dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
        qputenv("SSL_CERT_FILE", dir.filePath("cert.pem").toUtf8());
        return r.exitCode == 0;
    }();
    EXPECT_TRUE(made) << "openssl could not make the test certificate";
    return dir;
}

class SmtpTestServer {
public:
    // tls: "none", "starttls" or "implicit".
    explicit SmtpTestServer(const QString& tls = "starttls", const QString& user = "sender@zorv.test",
                            const QString& password = "secret", int rejectFirst = 0, double delay = 0.0,
                            const QStringList& rejectRecipients = {})
    {
        const QTemporaryDir& certs = Certificate_Dir();
        QJsonObject config{{"tls", tls}, {"user", user}, {"password", password},
                           {"cert", certs.filePath("cert.pem")}, {"key", certs.filePath("key.pem")},
                           {"reject_first", rejectFirst}, {"delay", delay},
                           {"reject_rcpt", QJsonArray::fromStringList(rejectRecipients)}};
        const QString configPath = m_dir.filePath("config.json");
        testsupport::Write_File(configPath, QJsonDocument(config).toJson());
        QDir().mkpath(outDir());
        const QString script = QDir(Default_Resource_Path()).filePath("../tests/export/smtp_server.py");
        m_process.setProgram("/usr/bin/python3");
        m_process.setArguments({QDir::cleanPath(script), configPath, outDir()});
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        EXPECT_TRUE(m_process.waitForStarted(10000)) << "python3 did not start";
        QByteArray line;
        for (int i = 0; i < 200 && !line.contains('\n'); ++i) {
            m_process.waitForReadyRead(100);
            line += m_process.readAllStandardOutput();
            if (m_process.state() == QProcess::NotRunning) break;
        }
        if (line.startsWith("PORT "))
            m_port = line.mid(5).trimmed().toInt();
        EXPECT_GT(m_port, 0) << "the SMTP test server did not start (python3-aiosmtpd missing?): "
                             << m_process.readAllStandardError().toStdString();
    }
    ~SmtpTestServer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
    int port() const { return m_port; }
    QString outDir() const { return m_dir.filePath("out"); }

    // The mails accepted so far, in order.
    QList<ReceivedMail> mails() const
    {
        QList<ReceivedMail> out;
        for (int n = 1;; ++n) {
            const QString base = QStringLiteral("%1/mail-%2").arg(outDir()).arg(n);
            if (!QFileInfo::exists(base + ".json")) break;
            const QJsonObject o = QJsonDocument::fromJson(testsupport::readAll(base + ".json")).object();
            ReceivedMail m;
            m.mailFrom = o["mail_from"].toString();
            for (const auto& v : o["rcpt_tos"].toArray()) m.recipients << v.toString();
            m.login = QByteArray::fromBase64(o["login"].toString().toLatin1());
            m.password = QByteArray::fromBase64(o["password"].toString().toLatin1());
            m.encrypted = o["encrypted"].toBool();
            m.content = testsupport::readAll(base + ".eml");
            m.subject = o["subject"].toString();
            m.body = o["body"].toString();
            for (const auto& v : o["attachments"].toArray()) {
                const QJsonObject a = v.toObject();
                m.attachments << ReceivedAttachment{a["filename"].toString(), a["content_type"].toString(),
                                                    a["file"].toString()};
            }
            out << m;
        }
        return out;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

} // namespace mailtest
