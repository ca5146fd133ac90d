#include "mainwindow/AppLifetime.h"

#include <QCoreApplication>
#include <QMetaObject>

std::function<void(int)> Terminate_Application_Hook;

void Terminate_Application(int code)
{
    if (Terminate_Application_Hook) {
        Terminate_Application_Hook(code);
        return;
    }
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(app, [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
    }
}
