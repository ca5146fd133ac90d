#include "fuzz/FuzzSupport.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "core/model/BarcodeItemImage.h"

void Fuzz_Install_Barcode_Road()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    Install_Barcode_Item_Road(
        [](BarcodeSettings s, const QString& v, const QString& h, const QString& f) {
            if (!Find_Symbology(s.barcodeType))
                Set_Barcode_Type(s, Symbology_Titles().value(0));
            Apply_DPI_Choice(s);
            return Make_Barcode_Image(s, v, h, f);
        },
        Symbology_Titles());
}
