#include "mainwindow/AppLifetime.h"

#include <QCoreApplication>
#include <QMetaObject>

void Terminate_Application(int code)
{
    if (const auto hook = App_Services().Terminate_Application_Hook) {
        hook(code);
        return;
    }
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(app, [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
    }
}
