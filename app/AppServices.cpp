#include "app/AppServices.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "core/model/BarcodeItemImage.h"
#include "export/ExportSetup.h"
#include "imagetools/picture/Thumbnails.h"


void Install_Application_Services()
{
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

    // Pictures are read through the image tools.
    Install_Image_Tools_Services();
}
