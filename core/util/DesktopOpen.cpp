#include "core/util/DesktopOpen.h"

#include "core/util/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// How long a launcher is watched for a failure. A desktop's launcher hands
// the file on and ends at once; a plain xdg-open runs the program and waits
// for it, so one still running after this has opened the file.
constexpr int kWatchMs = 2000;

// xdg-open's status when no program for the file's type was found.
constexpr int kNoProgramStatus = 3;

enum class Failure { NoProgram, NotOpened, Missing };

QString Shown_Path(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

void Tell_Where(const QString& path, const QString& what, Failure failure)
{
    const QFileInfo info(path);
    const QString shown = Shown_Path(path);
    if (failure == Failure::Missing) {
        Show_MessageBox(QStringLiteral("%1 was not found at\n%2").arg(what, shown));
        return;
    }
    const bool folder = info.isDir();
    const QString type = info.suffix().toUpper();
    QString problem;
    if (failure == Failure::NotOpened)
        problem = QStringLiteral("%1 could not be opened.").arg(what);
    else if (folder)
        problem = QStringLiteral("No file manager to show folders was found.");
    else if (!type.isEmpty())
        problem = QStringLiteral("No program to show %1 files was found.").arg(type);
    else
        problem = QStringLiteral("No program to open this file was found.");
    QString how;
    if (folder)
        how = QStringLiteral("Open it with a file manager.");
    else if (!type.isEmpty())
        how = QStringLiteral("Open it with a program that shows %1 files.").arg(type);
    else
        how = QStringLiteral("Open it with a program of your choice.");
    Show_MessageBox(QStringLiteral("%1\n\n%2 is\n%3\n%4").arg(problem, what, shown, how));
}

// Runs the launcher and watches it for a moment; a launcher still running
// is left to run and its process freed when it ends.
bool Launch(const QString& launcher, const QString& path, Failure* failure)
{
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(launcher);
    process->setArguments({path});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        *failure = Failure::NoProgram;
        return false;
    }
    if (!process->waitForFinished(kWatchMs)) {
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    *failure = process->exitStatus() == QProcess::NormalExit && process->exitCode() == kNoProgramStatus
                   ? Failure::NoProgram
                   : Failure::NotOpened;
    delete process;
    return ok;
}

} // namespace

QString Desktop_Launcher()
{
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland")))
        return QString();
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
}

bool Open_With_Desktop(const QString& path, const QString& what)
{
    return Open_With_Desktop(path, what, Desktop_Launcher());
}

bool Open_With_Desktop(const QString& path, const QString& what, const QString& launcher)
{
    if (path.isEmpty())
        return false;
    Failure failure = Failure::NoProgram;
    bool opened = false;
    if (!QFileInfo::exists(path)) {
        failure = Failure::Missing;
    } else if (launcher.isEmpty()) {
        // Qt's services answer false when they find no launcher (and the
        // offscreen platform never has one).
        opened = QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    } else {
        opened = Launch(launcher, QFileInfo(path).absoluteFilePath(), &failure);
    }
    if (!opened)
        Tell_Where(path, what, failure);
    return opened;
}
