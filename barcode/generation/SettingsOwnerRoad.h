#pragma once
// The road of a settings owner: the one stateful wrapper over Make_Barcode().
//
// A settings owner (barcode mode of the main window, the barcode properties
// dialog of designing mode) keeps one. It holds the owner's settings value,
// which the owner's panes load from and write into, and the working state
// between two changes: the linear symbol of the last encoding and the last
// 2D symbol image (so a change of look draws again without encoding) and the
// preview image. Every image it makes comes from Make_Barcode() or from the
// road's own layout steps; there is no other copy of the road. The images of
// batch rows are made for the job from a copy of the settings and share
// nothing with that working state.
//
// One thread uses an object at a time. The owner shows the preview: it
// installs a listener that is told after every change of the preview.
#include "barcode/generation/BarcodeRoad.h"

#include <functional>
#include <memory>

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

class SettingsOwnerRoad {
public:
    SettingsOwnerRoad();
    ~SettingsOwnerRoad();
    SettingsOwnerRoad(const SettingsOwnerRoad&) = delete;
    SettingsOwnerRoad& operator=(const SettingsOwnerRoad&) = delete;

    // The owner's settings: its panes write into them.
    BarcodeSettings& settings() { return m_settings; }
    const BarcodeSettings& settings() const { return m_settings; }
    void setSettings(const BarcodeSettings& s) { m_settings = s; }

    // While set, generation hands back the current barcode and changes nothing.
    bool Not_Draw_Only_Prop_Change = false;

    // ---- Generation ----
    // Generates for value V, header H and footer F with the owner's settings;
    // `draw` shows the result in the preview, `fromBatch` skips validation of
    // the typed value. Answers the linear engine object (null for 2D).
    std::shared_ptr<ZBBarcode> Generate_Barcode_Variable(bool draw, const QString& V,
                                                         const QString& H, const QString& F,
                                                         bool fromBatch = false);
    // The preview road: validates the typed value and regenerates.
    void goButtonActionPerformed();
    // Validation of the typed value; `show` raises the message box (with the
    // cause on a second line), `checkImage` also asks for a valid current
    // barcode and a preview image.
    bool Check_And_Validat_Barcode(bool show, bool checkImage);

    // ---- Drawing again without encoding ----
    // Redraw: the kept linear symbol laid out again with the settings as they
    // stand. With `draw` it is shown (previewImage() records its image when
    // asked) and nothing is answered; else its image is answered. Null (and
    // nothing shown) without a symbol or a valid typed value.
    PtImage Get_Image_From_Barcode(const std::shared_ptr<ZBBarcode>& barcode, bool draw,
                                   bool fromBatch);
    PtImage Redraw_Linear();
    // Re-frame: the kept 2D symbol framed again with the typed value, header
    // and footer and the look as they stand; a blank preview without one.
    PtImage Get_2d_barcode_from_image(bool draw);

    // ---- The preview ----
    void Set_Barcode_On_Panel(const PtImage& image);
    // The same for a laid-out barcode: its image is recorded when asked for.
    void Set_Barcode_On_Panel(const std::shared_ptr<const ZBBarcodeOffscreenView>& drawing);
    // Blank preview; `reason` is what the error label says beside it.
    void Set_Blank_Image(const QString& reason = QString());
    // The preview's image (recorded from its drawing on first use).
    const PtImage& previewImage() const;
    // The preview's drawing (null for an image shown as it was given).
    std::shared_ptr<const ZBBarcodeOffscreenView> previewDrawing() const { return m_drawing; }
    bool previewIsBlank() const { return !m_drawing && m_preview.isNull(); }
    bool barcodeErrorLabelVisible() const { return m_errorLabelVisible; }
    QString blankReason() const { return m_blankReason; }
    // True while the preview holds a 2D symbol made at screen resolution
    // because the user was typing; the next generation makes it at the DPI.
    bool previewIsDraft() const { return m_draft; }
    void setPreviewListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // ---- Designing mode ----
    // The image for the texts with the current settings (null for an empty or
    // invalid value); the caller owns it. The preview is not touched.
    PtImage Get_Image_From_Val(const QString& value, const QString& header, const QString& footer);

    // ---- Batches of barcode mode ----
    // The image of row `row` of the row source; past the last row, the image
    // of the typed texts (what the preview shows). Null when the row gives no
    // barcode. Each image is made anew from a copy of the settings, for the
    // job alone: the preview, its symbol and lastSettings() are not touched.
    void setRowSource(const BarcodeRowSource* source) { m_rows = source; }
    PtImage Get_Image_From_List_Val(int row);

    // ---- Working members ----
    std::shared_ptr<ZBBarcode> testBarcode() const { return m_testBarcode; }
    void setTestBarcode(std::shared_ptr<ZBBarcode> b) { m_testBarcode = std::move(b); }
    // The linear symbol of the last batch row (the job's own object).
    std::shared_ptr<ZBBarcode> testBarcode_EXP() const { return m_testBarcodeExp; }
    const PtImage& image_2d() const { return m_image2d; }
    int Barcode_module_size() const { return m_moduleSize; }
    bool invalid_barcode_image_flag = false;
    // The settings as the last generation or framing filled them (2D texts,
    // frame, margins in points).
    const BarcodeSettings& lastSettings() const { return m_last; }
    // Why the last generation gave no image (empty after a success).
    QString lastReason() const { return m_lastReason; }
    // What the preview's barcode leaves out of the value typed (a value cut
    // to the symbol's capacity); empty when it holds all of it.
    QString previewNote() const { return previewIsBlank() ? QString() : m_previewNote; }

    // How many encodings and preview images the road has made.
    int encodeCount() const { return m_encodeCount; }
    int drawCount() const { return m_drawCount; }

private:
    BarcodeMakeResult make(const QString& V, const QString& H, const QString& F, bool recordImage = true);
    void notify();

    BarcodeSettings m_settings;
    BarcodeSettings m_last;
    std::shared_ptr<ZBBarcode> m_testBarcode;
    std::shared_ptr<ZBBarcode> m_testBarcodeExp;
    PtImage m_image2d;
    std::shared_ptr<const ZBBarcodeOffscreenView> m_drawing;
    mutable PtImage m_preview;
    QString m_blankReason;
    QString m_lastReason;
    QString m_previewNote;
    bool m_errorLabelVisible = false;
    bool m_draft = false;
    int m_moduleSize = 1;
    int m_encodeCount = 0;
    int m_drawCount = 0;
    const BarcodeRowSource* m_rows = nullptr;
    std::function<void()> m_listener;
};
