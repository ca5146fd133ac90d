// Opening a file or folder in another program: a launcher that takes it
// opens it and nothing is said; a desktop with no program for it, a launcher
// that fails, no launcher at all, or a file that is gone each end in one
// message that names the path, so the user can open it by hand.
#include "core/FakeMainWindow.h"
#include "common/TestSupport.h"

#include "core/util/DesktopOpen.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

class DesktopOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        testsupport::touch(dir.filePath("label 1.png"), "png");
        ASSERT_TRUE(QDir(dir.path()).mkpath("export"));
    }
    // A launcher script that writes its argument beside itself and then runs `then`.
    QString launcher(const QByteArray& then)
    {
        const QString path = dir.filePath("launcher.sh");
        testsupport::touch(path, "#!/bin/sh\nprintf '%s' \"$1\" > '" + dir.filePath("handed").toUtf8() + "'\n" + then
                                     + "\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString handed() const { return QString::fromUtf8(testsupport::readAll(dir.filePath("handed"))); }
    QString message() const
    {
        return msgs.requests.empty() ? QString() : msgs.requests.back().text;
    }

    QTemporaryDir dir;
    ScriptedMessages msgs;
};

} // namespace

TEST_F(DesktopOpen, ALauncherThatTakesTheFileOrFolderOpensItAndNothingIsSaid)
{
    const QString file = dir.filePath("label 1.png");
    EXPECT_TRUE(Open_With_Desktop(file, "The exported file", launcher("exit 0")));
    EXPECT_EQ(handed(), QFileInfo(file).absoluteFilePath());
    EXPECT_TRUE(msgs.requests.empty());

    EXPECT_TRUE(Open_With_Desktop(dir.filePath("export"), "The export folder", launcher("exit 0")));
    EXPECT_EQ(handed(), dir.filePath("export"));
    EXPECT_TRUE(msgs.requests.empty());
}

TEST_F(DesktopOpen, NoProgramForTheTypeSaysWhereTheFileOrFolderIs)
{
    // xdg-open's status when nothing on the desktop opens that type.
    const QString file = dir.filePath("label 1.png");
    EXPECT_FALSE(Open_With_Desktop(file, "The exported file", launcher("exit 3")));
    ASSERT_EQ(msgs.requests.size(), 1u);
    EXPECT_EQ(msgs.requests[0].buttons, QStringList{"OK"});
    EXPECT_TRUE(message().contains("No program to show PNG files was found.")) << message().toStdString();
    EXPECT_TRUE(message().contains("The exported file is\n" + QDir::toNativeSeparators(file) + "\n"));
    EXPECT_TRUE(message().contains("Open it with a program that shows PNG files."));

    EXPECT_FALSE(Open_With_Desktop(dir.filePath("export"), "The export folder", launcher("exit 3")));
    EXPECT_TRUE(message().contains("No file manager to show folders was found.")) << message().toStdString();
    EXPECT_TRUE(message().contains(QDir::toNativeSeparators(dir.filePath("export"))));
    EXPECT_TRUE(message().contains("Open it with a file manager."));

    // Any other failure: the program could not open it.
    EXPECT_FALSE(Open_With_Desktop(file, "The exported file", launcher("exit 4")));
    EXPECT_TRUE(message().startsWith("\nThe exported file could not be opened.")) << message().toStdString();
    EXPECT_TRUE(message().contains(QDir::toNativeSeparators(file)));
    EXPECT_EQ(msgs.requests.size(), 3u);
}

TEST_F(DesktopOpen, WithoutALauncherTheUserIsToldWhereItIs)
{
    // No launcher program: the desktop services of this platform (offscreen) open nothing.
    const QString file = dir.filePath("label 1.png");
    EXPECT_FALSE(Open_With_Desktop(file, "The exported file", QString()));
    ASSERT_EQ(msgs.requests.size(), 1u);
    EXPECT_TRUE(message().contains(QDir::toNativeSeparators(file)));
    EXPECT_TRUE(Desktop_Launcher().isEmpty()) << "no desktop here to launch programs on";

    // A launcher that is not there.
    EXPECT_FALSE(Open_With_Desktop(file, "The exported file", dir.filePath("no-such-launcher")));
    EXPECT_EQ(msgs.requests.size(), 2u);
    EXPECT_TRUE(message().contains("No program to show PNG files was found."));

    // A file that has gone: said so, with where it was looked for; nothing is launched.
    EXPECT_FALSE(Open_With_Desktop(dir.filePath("gone.pdf"), "The exported file", launcher("exit 0")));
    EXPECT_EQ(message(), "\nThe exported file was not found at\n" + QDir::toNativeSeparators(dir.filePath("gone.pdf")));
    EXPECT_TRUE(handed().isEmpty());
}

TEST_F(DesktopOpen, ALauncherThatWaitsForItsProgramHasOpenedTheFile)
{
    // A plain xdg-open runs the viewer and waits for it: still running is opened.
    const QString file = dir.filePath("label 1.png");
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(Open_With_Desktop(file, "The exported file", launcher("sleep 3; exit 1")));
    EXPECT_TRUE(msgs.requests.empty());
    // Its end, later and unsuccessful as it may be, says nothing.
    while (clock.elapsed() < 6000 && QCoreApplication::instance()->findChildren<QProcess*>().size() > 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty());
    EXPECT_TRUE(msgs.requests.empty());
}
