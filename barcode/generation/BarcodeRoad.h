#pragma once
// The generation road: from a value, a header text, a footer text and a
// barcode settings value to a finished barcode image.
//
// The road works on a copy of the settings. For a linear or postal symbology
// it creates the engine object, validates the value, gives it every setting
// and has the off-screen barcode view draw it with caption, header and
// footer. For a 2D symbology it fills the copy with the texts and text
// settings, draws the symbol image and frames it. Make_Barcode() is the
// whole road as one function of its inputs: it runs on any thread and the
// same inputs give the same picture everywhere.
//
// Barcode_Generation_Road keeps the working state of one settings owner (the
// main window in barcode mode, the barcode dialog in designing mode): the
// current barcode, the last 2D image, the preview and the batch row image.
// One thread uses an object at a time.
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QSizeF>
#include <QString>

#include <memory>

class ZBBarcode;

// The message of a value that gives no barcode.
extern const QString invalid_barcode_msg;  // "Invalid barcode value or value is too long."

// What the road makes of one value.
struct BarcodeMakeResult {
    PtImage image;                       // the finished image; null when none
    std::shared_ptr<ZBBarcode> barcode;  // the engine object of a linear symbol
    PtImage image_2d;                    // the 2D symbol image before framing
    BarcodeSettings settings;            // the copy as the road filled it
    QString diagnostics;                 // why a Data Matrix value did not fit
};

// The road for `settings.barcodeType`. An empty value, an unknown type name
// or a value the symbology rejects gives a null image (and no object).
BarcodeMakeResult Make_Barcode(const BarcodeSettings& settings, const QString& value,
                               const QString& header, const QString& footer);

// The image alone.
PtImage Make_Barcode_Image(const BarcodeSettings& settings, const QString& value,
                           const QString& header, const QString& footer);

// The settings' own texts (the typed value of the chosen branch, header and
// footer).
PtImage Make_Barcode_Image(const BarcodeSettings& settings);

// The engine object of a linear symbol, configured as the road does it
// (texts, flags, module width, text heights, height, width); null for a name
// without an engine class or a value the symbology rejects. `s` receives the
// margins in points.
std::shared_ptr<ZBBarcode> Make_Linear_Symbol(BarcodeSettings& s, const QString& value,
                                              const QString& header, const QString& footer,
                                              bool printsCaption);

// Lays out an existing linear symbol again with the settings (texts, flags,
// module width, text heights, height, width) without encoding it again.
void Lay_Out_Linear_Symbol(BarcodeSettings& s, ZBBarcode& barcode, const QString& header,
                           const QString& footer, bool printsCaption);

// Sizes the frame around a ready 2D symbol image (height before width) and
// frames it with the settings' texts as they stand.
PtImage Frame_2D(BarcodeSettings& s, const PtImage& image_2d);

// Frames a kept 2D symbol image again after a change of look: the typed 2D
// value, header, footer, their visibility and font sizes are taken from `s`.
PtImage Reframe_2D(BarcodeSettings& s, const PtImage& image_2d);

// The value text is printed unless it is hidden (the hide-value box is only
// consulted while it is enabled).
bool Get_Print_State(const BarcodeSettings& s);

// Size of the preview after showing an image of `image` points in a preview
// frame of `frame` points: as wide as the image when it is at least as wide
// as the frame (horizontal scroller), else the frame (vertical scroller); as
// high as the larger of both plus 10.
QSizeF Preview_Size_For_Image(QSizeF image, QSizeF frame, bool* horizontalScroller,
                              bool* verticalScroller);

// Texts of the rows of a batch (the barcode list, or the chosen series).
class BarcodeRowSource {
public:
    virtual ~BarcodeRowSource() = default;
    // Number of rows of the batch.
    virtual int rowCount() const = 0;
    // Value, header and footer of row `row` as the batch gives them (the
    // typed texts where the batch does not feed them); false when the row
    // cannot be read.
    virtual bool rowTexts(int row, QString& value, QString& header, QString& footer) const = 0;
};

class Barcode_Generation_Road {
public:
    Barcode_Generation_Road();
    ~Barcode_Generation_Road();

    // The owner's settings; its controls write into them.
    BarcodeSettings& settings() { return m_settings; }
    const BarcodeSettings& settings() const { return m_settings; }
    void setSettings(const BarcodeSettings& s) { m_settings = s; }

    // While set, generation hands back the current barcode and changes nothing.
    bool Not_Draw_Only_Prop_Change = false;

    // The heart of the road: generates for value V, header H and footer F;
    // `draw` shows the result in the preview, `fromBatch` skips validation of
    // the typed value. Answers the linear engine object (null for 2D).
    std::shared_ptr<ZBBarcode> Generate_Barcode_Variable(bool draw, const QString& V,
                                                         const QString& H, const QString& F,
                                                         bool fromBatch = false);

    // The preview road: validates the typed value and regenerates.
    void goButtonActionPerformed();

    // Validation of the typed value; `show` raises the message box on failure,
    // `checkImage` also asks for a valid current barcode and a preview image.
    bool Check_And_Validat_Barcode(bool show, bool checkImage);

    // The image of a linear engine object (validated unless `fromBatch`).
    PtImage Get_Image_From_Barcode(const std::shared_ptr<ZBBarcode>& barcode, bool draw,
                                   bool fromBatch);
    // The framed image of the last 2D symbol (null and a blank preview when
    // none), with the texts it was drawn for and the look as it stands now.
    PtImage Get_2d_barcode_from_image(bool draw);
    PtImage Get_Image_From_barcode_image(const PtImage& image, bool draw);

    // The preview.
    void Set_Barcode_On_Panel(const PtImage& image);
    void Set_Blank_Image();
    const PtImage& previewImage() const { return m_preview; }
    bool barcodeErrorLabelVisible() const { return m_errorLabelVisible; }

    // Designing mode: the image for the texts with the current settings
    // (null for an empty or invalid value); the caller owns it.
    PtImage Get_Image_From_Val(const QString& value, const QString& header, const QString& footer);

    // Barcode mode batches: the image of row `row` of the row source; past
    // the last row, the image of the current barcode. Null when the row
    // gives no barcode. The image stays in batch_value_image until the next
    // request.
    void setRowSource(const BarcodeRowSource* source) { m_rows = source; }
    PtImage Get_Image_From_List_Val(int row);

    // Working members.
    std::shared_ptr<ZBBarcode> testBarcode() const { return m_testBarcode; }
    void setTestBarcode(std::shared_ptr<ZBBarcode> b) { m_testBarcode = std::move(b); }
    std::shared_ptr<ZBBarcode> testBarcode_EXP() const { return m_testBarcodeExp; }
    const PtImage& image_2d() const { return m_image2d; }
    const PtImage& batch_value_image() const { return m_batchImage; }
    int Barcode_module_size() const { return m_moduleSize; }
    bool invalid_barcode_image_flag = false;
    // The settings as the last generation filled them (2D texts, frame, margins).
    const BarcodeSettings& lastSettings() const { return m_last; }

private:
    BarcodeSettings framingSettings() const;
    PtImage Frame_Kept_2D();

    BarcodeSettings m_settings;
    BarcodeSettings m_last;
    std::shared_ptr<ZBBarcode> m_testBarcode;
    std::shared_ptr<ZBBarcode> m_testBarcodeExp;
    PtImage m_image2d;
    PtImage m_preview;
    PtImage m_batchImage;
    bool m_errorLabelVisible = false;
    int m_moduleSize = 1;
    const BarcodeRowSource* m_rows = nullptr;
};
