#pragma once
// The generation road: from a value, a header text, a footer text and a
// barcode settings value to a finished barcode image.
//
// Make_Barcode() is the whole road as one function of its inputs: it works on
// a copy of the settings, runs on any thread and the same inputs give the
// same picture everywhere. The symbology comes from the symbology table by
// the settings' type name. For a linear or postal symbology it creates the
// engine object, validates the value, gives it every setting and has the
// off-screen barcode view draw it with caption, header and footer. For a 2D
// symbology it fills the copy with the texts and text settings, draws the
// symbol image at the settings' resolution (screen resolution while the user
// types) and frames it.
//
// SettingsOwnerRoad (SettingsOwnerRoad.h) is the one stateful wrapper over
// it that the barcode windows and batch jobs use.
#include "barcode/engines/view/ZBBarcodeOffscreenView.h"
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QString>

#include <memory>

class ZBBarcode;

// The message of a value that gives no barcode.
extern const QString invalid_barcode_msg;  // "Invalid barcode value or value is too long."

// What the road makes of one value.
struct BarcodeMakeResult {
    PtImage image;                       // the finished image; null when none
    // The finished barcode laid out, ready to draw into any painter; null
    // when none. The image shows this drawing (a linear symbol's image draws
    // it afresh wherever it is drawn).
    std::shared_ptr<const ZBBarcodeOffscreenView> drawing;
    std::shared_ptr<ZBBarcode> barcode;  // the engine object of a linear symbol
    PtImage image_2d;                    // the 2D symbol image before framing
    BarcodeSettings settings;            // the copy as the road filled it
    QString reason;                      // one line saying why there is no image
    // One line about a value not encoded as typed (cut to the symbol's
    // capacity), saying what to change; empty when it was encoded whole.
    QString note;
    QString diagnostics;                 // the library's account of a Data Matrix that did not fit
};

// The road for `settings.barcodeType`. A length outside the range the
// settings panes accept (Length_Out_Of_Range()), an empty value, an unknown
// type name or a value the symbology rejects gives a null image (and no
// object); then `reason` names the cause for the user. With `recordImage` false a linear
// symbol is laid out and left as its drawing (the preview paints what is
// seen of it); `image` is then null and Image_Of_View() makes it when wanted.
BarcodeMakeResult Make_Barcode(const BarcodeSettings& settings, const QString& value,
                               const QString& header, const QString& footer,
                               bool recordImage = true);

// The image alone.
PtImage Make_Barcode_Image(const BarcodeSettings& settings, const QString& value,
                           const QString& header, const QString& footer);

// Chooses a type name and, for a name of the symbology table, the linear /
// 2D branch that goes with it.
void Set_Barcode_Type(BarcodeSettings& settings, const QString& name);

// Whether the settings choose the 2D branch: the table's family for a type
// name it holds, else the settings' linear / 2D flag.
bool Is_TwoD_Branch(const BarcodeSettings& settings);

// The value text is printed unless it is hidden (the hide-value box is only
// consulted while it is enabled).
bool Get_Print_State(const BarcodeSettings& s);

// Lays out a linear symbol with the settings (texts, flags, module width,
// text heights, height, width) without encoding it again; `s` receives the
// margins in points.
void Lay_Out_Linear_Symbol(BarcodeSettings& s, ZBBarcode& barcode, const QString& header,
                           const QString& footer, bool printsCaption);

// Frames a ready 2D symbol image with the settings' 2D texts, after writing
// the texts, print flags and font sizes given into `s` and sizing the frame
// (height before width).
PtImage Frame_2D(BarcodeSettings& s, const PtImage& image_2d, const QString& value,
                 const QString& header, const QString& footer);

// The reason a value is refused, in one line for the user: the value is
// empty, which characters cannot be encoded, or what the symbology accepts.
QString Invalid_Value_Reason(const BarcodeSettings& settings, const QString& value);
