#pragma once
#include "core/util/Services.h"
// What the drawing core uses of the barcode dialog of designing mode.
// The barcode generation subsystem implements it and stores the one dialog in
// App_Services().Barcode_Gen_Var; tests install a fake.
#include <QString>
#include "platform/PtImage.h"

class LMNGraphic;

class BarcodeDialogServices {
public:
    virtual ~BarcodeDialogServices() = default;
    // Loads a barcode item's stored settings into the dialog (redrawing suppressed).
    virtual void Set_Barcode_Prop_To_Control(LMNGraphic* item) = 0;
    // The barcode picture for the texts, with the dialog's current settings;
    // a null image when the value is empty or invalid.
    virtual PtImage Get_Image_From_Val(const QString& value, const QString& header,
                                       const QString& footer) = 0;
};

