#pragma once
// The main window of a benchmark program: made on first use on the offscreen
// platform, with the program's data in a temporary folder and every box
// answered with its first button. Close_Bench_Window() ends it before main
// returns (Qt's own globals are gone by the time static destructors run).
#include "mainwindow/AppLifetime.h"
#include "mainwindow/LMNWindowController.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace benchwindow {

struct State {
    int argc = 1;
    char name[32] = "bench";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<LMNWindowController> window;
};

inline State& state()
{
    static State s;
    return s;
}

} // namespace benchwindow

// The window, made the first time with `prepare` run on it once shown.
inline LMNWindowController& Bench_Window(const std::function<void(LMNWindowController&)>& prepare = {})
{
    benchwindow::State& s = benchwindow::state();
    if (!s.window) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        s.home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", s.home->path().toLocal8Bit());
        s.app = std::make_unique<QApplication>(s.argc, s.argv);
        QApplication::setApplicationName("Zorv Label");
        QApplication::setOrganizationName("Zorv");
        Set_Message_Responder([](const MessageRequest&) { return 0; });
        App_Services().Terminate_Application_Hook = [](int) {};
        s.window = std::make_unique<LMNWindowController>();
        if (prepare)
            prepare(*s.window);
        else
            s.window->show();
    }
    return *s.window;
}

// The temporary data folder of the window.
inline QTemporaryDir& Bench_Home()
{
    Bench_Window();
    return *benchwindow::state().home;
}

inline void Close_Bench_Window()
{
    benchwindow::State& s = benchwindow::state();
    s.window.reset();
    s.app.reset();
    s.home.reset();
}
