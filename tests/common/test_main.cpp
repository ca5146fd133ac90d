// Shared entry point of every test executable: a real QApplication on the
// offscreen platform, so fonts, images, painters and widgets all work headless.
// Its one screen is 1366 x 768, the smallest our windows must fit.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdlib>

// Options of the address and leak checker for every test program.
//
// The leak checker of the toolchain records the thread-local storage that
// libraries loaded at run time reach through __tls_get_addr; in some link
// layouts it records a bogus block for the JPEG library (which the windows
// load their pictures with) and then stops with a fatal error while scanning
// at exit, failing every test that makes a window. Not following those calls
// avoids it; the storage of the program and of the libraries it links is
// still scanned. (Defined here because this file is in every test program.)
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

int main(int argc, char** argv)
{
    QTemporaryDir runtimeDir;
    const QString screens = runtimeDir.filePath(QStringLiteral("screens.json"));
    QFile config(screens);
    if (config.open(QIODevice::WriteOnly)) {
        config.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1366, "height": 768,
                        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
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
