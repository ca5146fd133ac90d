#include "fuzz/FuzzSupport.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeTypes.h"
#include "core/model/BarcodeItemImage.h"

void Fuzz_Install_Barcode_Road()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    Install_Barcode_Item_Road(
        [](BarcodeSettings s, const QString& v, const QString& h, const QString& f) {
            Apply_DPI_Choice(s);
            return Make_Barcode_Image(s, v, h, f);
        },
        Barcode_Type_Names());
}
