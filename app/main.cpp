// Zorv Label: start-up of the application.
//
// The main window controller sets up the program's folders, its controls and
// the first barcode; when the per-user data folder cannot be made it says
// "Can not access Data file." and start-up ends here.
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "core/model/BarcodeItemImage.h"
#include "export/ExportSetup.h"
#include "mainwindow/LMNWindowController.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorv Label");
    QApplication::setOrganizationName("Zorv");
    // Barcode items read from archives of another process are drawn anew by the road.
    Install_Barcode_Item_Road([](BarcodeSettings s, const QString& v, const QString& h, const QString& f) {
        if (!Find_Symbology(s.barcodeType))   // as the barcode dialog loads an item
            Set_Barcode_Type(s, Symbology_Titles().value(0));
        Apply_DPI_Choice(s);
        return Make_Barcode_Image(s, v, h, f);
    }, Symbology_Titles());

    // The e-mail settings store and the progress window, before the main
    // window reads the e-mail settings.
    Install_Export_Services();

    LMNWindowController window;
    if (!window.startupSucceeded())
        return 1;
    window.show();
    // Once the event loop runs: the window comes to the front.
    QTimer::singleShot(0, &window, [&window] { window.applicationDidFinishLaunching(); });
    return app.exec();
}
