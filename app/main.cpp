// Zorv Label: start-up of the application.
//
// The main window controller sets up the program's folders, its controls and
// the first barcode; when the per-user data folder cannot be made it says
// "Can not access Data file." and start-up ends here.
#include "app/AppServices.h"
#include "mainwindow/LMNWindowController.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    Set_Heap_Policy();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorv Label");
    QApplication::setOrganizationName("Zorv");
    Install_Application_Services();

    LMNWindowController window(App_Services());
    if (!window.startupSucceeded())
        return 1;
    window.show();
    // Once the event loop runs: the window comes to the front.
    QTimer::singleShot(0, &window, [&window] { window.applicationDidFinishLaunching(); });
    return app.exec();
}
