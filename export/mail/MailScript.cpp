#include "export/mail/MailScript.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/Paths.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

const QString mail_send_err_msg = QStringLiteral(
    "Please make sure that:\n1. Entered E-mail settings are correct.\n2. Internet connectivity to E-mail server is "
    "not interrupted and E-mail server is not down.\n3. Your Firewall or Security software (if any) is not blocking "
    "the software to communicate with your E-mail server.");


namespace {
const QString scriptPath = QStringLiteral("/bin:/usr/bin:/usr/local/bin");
}

bool isValidEmail(const QString& address)
{
    const QString s = Trim_Str(address);
    if (s.size() < 6)
        return false;
    return s.split(QLatin1Char('@')).size() == 2 && s.split(QLatin1Char('.')).size() >= 2;
}

QString Mail_Script_Path()
{
    const QString base = Folders.Resource_Path.isEmpty() ? Default_Resource_Path() : Folders.Resource_Path;
    return Path_Join(base, QStringLiteral("pyth_mail.py"));
}

QString Mail_Python_Path()
{
    return QStandardPaths::findExecutable(QStringLiteral("python3"), scriptPath.split(QLatin1Char(':')));
}

MailSendResult sendEmail_pyth(const MailRequest& request, const std::atomic<bool>* stop)
{
    MailSendResult result;
    const QString python = Mail_Python_Path();
    const QString script = Mail_Script_Path();
    if (python.isEmpty() || !QFileInfo(script).isFile()) {
        result.notStarted = true;
        result.error = python.isEmpty() ? QStringLiteral("python3 was not found on %1").arg(scriptPath)
                                        : QStringLiteral("the mail script %1 is missing").arg(script);
        Show_NSLog_Message(result.error);
        return result;
    }

    // A fixed environment: nothing of ours leaks into the script, but the
    // certificates the system (or a test) names are trusted, and text is UTF-8.
    QProcessEnvironment env;
    env.insert(QStringLiteral("PYTHONPATH"), QString());
    env.insert(QStringLiteral("PATH"), scriptPath);
    env.insert(QStringLiteral("PYTHONUTF8"), QStringLiteral("1"));
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    const QProcessEnvironment ours = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"SSL_CERT_FILE", "SSL_CERT_DIR", "ZL_MAIL_TIMEOUT"}) {
        const QString n = QString::fromLatin1(name);
        if (ours.contains(n))
            env.insert(n, ours.value(n));
    }

    QStringList args{script, request.sender, request.server, request.port, request.sender, request.recipient,
                     request.subject, request.body,
                     request.enable_ssl == QLatin1String("Y") ? QStringLiteral("Y") : QStringLiteral("N")};
    args += request.attachments;

    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(python);
    process.setArguments(args);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(10000)) {
        result.notStarted = true;
        result.error = process.errorString();
        Show_NSLog_Message(QStringLiteral("The mail script did not start: %1").arg(result.error));
        return result;
    }
    QByteArray input = request.password.toUtf8();
    input += "\nDescription";
    process.write(input);
    process.waitForBytesWritten(5000);
    process.closeWriteChannel();
    input.fill('\0');

    QDeadlineTimer deadline(request.timeoutMs);
    while (!process.waitForFinished(50)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (stop && stop->load()) {
            result.stopped = true;
            break;
        }
        if (deadline.hasExpired()) {
            result.timedOut = true;
            break;
        }
    }
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(2000)) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
    const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (!result.timedOut && !result.stopped && process.exitStatus() == QProcess::NormalExit) {
        result.exitStatus = process.exitCode();
        result.sent = result.exitStatus == 0;
    }
    if (!result.sent) {
        if (result.timedOut)
            result.error = QStringLiteral("the mail script took longer than %1 seconds").arg(request.timeoutMs / 1000);
        else if (result.stopped)
            result.error = QStringLiteral("stopped");
        else
            result.error = err.section(QLatin1Char('\n'), -1);
        Show_NSLog_Message(QStringLiteral("error in mail: %1").arg(result.error));
    }
    return result;
}
