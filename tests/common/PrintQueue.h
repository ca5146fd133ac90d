#pragma once
// The private print queue of the tests (tests/print/print-queue.sh, started
// by ./test): its name, and the PDF files its backend writes.
#include "common/PdfChecks.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

namespace testsupport {

// The queue's name; fails the test when no private queue runs.
inline QString Test_Print_Queue()
{
    const QString queue = qEnvironmentVariable("ZL_TEST_PRINTER");
    if (qEnvironmentVariable("CUPS_SERVER").isEmpty() || queue.isEmpty())
        ADD_FAILURE() << "no private print queue: ./test starts one with tests/print/print-queue.sh";
    return queue;
}

// The folder the PDF backend writes into, from its configuration.
inline QString Print_Queue_Output_Folder()
{
    QString out = QStringLiteral("${HOME}/PDF");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly))
        for (const QByteArray& raw : conf.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith(QLatin1String("Out ")))
                out = line.mid(4).trimmed();
        }
    const passwd* pw = getpwuid(getuid());
    const QString home = pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath();
    out.replace(QLatin1String("${HOME}"), home);
    out.replace(QLatin1String("${USER}"), pw ? QString::fromLocal8Bit(pw->pw_name) : QString());
    return out;
}

// Waits (two minutes at most) for a finished PDF of the queue whose name
// starts with `stem` (the job's title); "" when none came.
inline QString Wait_For_Print_Queue_Output(const QString& stem)
{
    const QDir folder(Print_Queue_Output_Folder());
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 120000) {
        const QStringList found = folder.entryList({stem + QStringLiteral("*.pdf")}, QDir::Files);
        if (!found.isEmpty()) {
            const QString path = folder.filePath(found.first());
            if (Pdf_Page_Count(path) > 0)
                return path;
        }
        QThread::msleep(200);
    }
    return {};
}

} // namespace testsupport
