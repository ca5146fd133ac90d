// Shared entry point of every test executable: a real QApplication on the
// offscreen platform, so fonts, images, painters and widgets all work headless.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdlib>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    // Keep the per-user data of a test run out of the real home folder.
    QTemporaryDir homeDir;
    qputenv("XDG_DATA_HOME", homeDir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", homeDir.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorv Label");
    QApplication::setOrganizationName("Zorv");
    return RUN_ALL_TESTS();
}
