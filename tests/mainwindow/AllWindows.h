#pragma once
// Every window of the program, each made and prepared as the user opens it
// (in each of its pages), for the tests that go over all of them: the fit on
// a small screen, the user help's account of each window, and the pictures
// of the help.
#include <QString>

#include <functional>

class LMNWindowController;
class QWidget;

struct Window_Visit {
    QString id;             // a short name, also the name of its picture in the help
    QWidget* window = nullptr;
    // False for a window no command of the program opens (built and tested
    // all the same); the help does not describe it.
    bool opened = true;
};

// Calls `visit` for each window in turn; the window lives until `visit`
// returns. The main window is `main`, shown in barcode mode and then in
// designing mode; `main` is left in barcode mode.
void Visit_Every_Window(LMNWindowController& main, const std::function<void(const Window_Visit&)>& visit);
