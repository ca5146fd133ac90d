#pragma once
// The presentation settings of a barcode: a plain value.
//
// Two owners hold one each: the main window in barcode mode and the barcode
// dialog in designing mode. Their controls write into it. Readers never reach
// a widget: they take a copy through Current_Barcode_Settings(), which picks
// the owner of the active mode at every call, and pass that copy down to the
// engines and the off-screen barcode view. The same value is stored in design
// files and in barcode items.
#include <QColor>
#include <QFont>
#include <QString>

#include <functional>

struct BarcodeSettings {
    // Texts of a 2D symbol (a linear symbol carries its own in its engine object).
    QString content;          // value text of a 2D symbol
    QString header;           // "" when none
    QString footer;           // "" when none
    bool printsCaption = true;
    bool printsHeader = true;
    bool printsFooter = true;
    bool fill_transparent = false;   // clear background instead of white

    // Frame of a framed 2D image, in points.
    float width = 0.0f;
    float height = 0.0f;

    // Font sizes in points and derived text heights (inches) and widths (points).
    float caption_fontSize = 0.0f;
    float header_fontSize = 0.0f;
    float footer_fontSize = 0.0f;
    float captionHeight = 0.0f;
    float headerHeight = 0.0f;
    float footerHeight = 0.0f;
    float headerWidth = 0.0f;
    float footerWidth = 0.0f;

    // Fonts of the value text (caption), the header and the footer.
    QFont value_font{QStringLiteral("Helvetica"), 10};
    QFont header_font{QStringLiteral("Helvetica"), 10};
    QFont footer_font{QStringLiteral("Helvetica"), 10};

    // Margins in points (already converted from the owner's unit).
    float value_margin = 0.0f;   // gap between the bars and the caption
    float header_margin = 0.0f;  // gap under the header
    float footer_margin = 0.0f;  // gap above the footer band
    float TB_margin = 0.0f;      // top and bottom edge
    float LR_margin = 0.0f;      // left and right edge

    // Colours.
    QColor barcode_clr{Qt::black};   // bars
    QColor bar_back_clr{Qt::white};  // background of a linear symbol
    QColor bar_val_clr{Qt::black};   // caption
    QColor bar_hdr_clr{Qt::black};   // header
    QColor bar_ftr_clr{Qt::black};   // footer

    // "Center", "Left" or "Right".
    QString align_hdr{QStringLiteral("Center")};
    QString align_ftr{QStringLiteral("Center")};
    // Where the preview shows the image ("Center", "Top", "TopLeft", ...) and
    // the orientation choice.
    QString bar_align{QStringLiteral("Center")};
    QString bar_orient{QStringLiteral("Horizontal")};

    int showinTop = 0;       // caption above the bars when non-zero
    int kerning_value = 0;   // letter spacing of the caption when non-zero

    // Output resolution of 2D symbol images, dots per inch (the value in use,
    // from the DPI choice below; kept within 72..2400 by the generation road).
    int USED_DPI_VALUE = 600;

    // ---- What the user typed and chose (the windows' controls) ----
    // Barcode type name: the title chosen in the type popup.
    QString barcodeType{QStringLiteral("Code 39")};
    int liner_or_2D_font = 0;                 // 0 linear or postal, 1 two-dimensional
    QString dataText{QStringLiteral("123456789012")};     // linear value
    QString dataText_2D{QStringLiteral("123456789012")};  // 2D value
    QString HeaderText{QStringLiteral("HEADER")};
    QString FooterText{QStringLiteral("FOOTER")};
    bool hide_value = false;      // the value text (caption) is not printed
    bool hide_header = false;
    bool hide_footer = false;
    bool caption_check_enabled = true;  // the hide-value box is enabled
    bool bar_width_enabled = true;      // the module width field is enabled
    bool bar_height_enabled = true;     // the bar height field is enabled

    // Lengths in the barcode unit: 0 inch, 1 centimetre, 2 millimetre.
    int unit = 1;
    float bar_height = 1.0f;          // bar height of a linear symbol
    float bar_width_mils = 20.0f;     // module width in mils (whatever the unit)
    float val_mar = 0.1f;             // value margin
    float hdr_mar = 0.1f;             // header margin
    float ftr_mar = 0.1f;             // footer margin
    float TB_mar = 0.1f;              // top and bottom margin
    float LR_mar = 0.1f;              // left and right margin

    // QR Code: image side in points, version position (0 "Auto", 1..40),
    // error correction level position (0 L, 1 M, 2 Q, 3 H), encoding mode
    // position (kept, not used for drawing).
    int qr_size = 60;
    int QR_Version_Val = 0;
    int QR_EC_Level_Val = 0;
    int qr_enc_mode = 0;
    // PDF417: image width and height in points, rows, columns (stored,
    // not used for drawing) and error correction level.
    int pdf_width = 100;
    int pdf_height = 20;
    int pdf_rows = 0;
    int pdf_cols = 0;
    int pdf_ec_level = 2;
    // Data Matrix: module size in points, size choice and encodation choice
    // as positions in their lists ("Auto" first).
    int dm_module = 2;
    int dm_format = 0;
    int dm_encoding = 0;
    int dm_width = 60;    // width and height fields (points; grown to the size format)
    int dm_height = 60;
    bool dm_frame_border = true;  // barcode mode adds 2 points to the image size; the dialog not

    // DPI choice: position in the DPI list ("Auto" first, "Custom" last) and
    // the custom value.
    int dpi_choice = 0;
    int custom_dpi = 600;

    // Set while the user types a 2D value: 2D images are made at screen
    // resolution instead of `USED_DPI_VALUE`; cleared by every 2D generation.
    bool Type_draw_2d_flag = false;

    bool operator==(const BarcodeSettings&) const = default;

    // The value of the chosen branch.
    const QString& typedValue() const { return liner_or_2D_font ? dataText_2D : dataText; }

    // Accessors under the names the drawing code uses.
    const QString& caption() const { return content; }
    bool Fill_transparent() const { return fill_transparent; }
};

// The owners register how to read their settings; 0 is barcode mode, 1 designing mode.
using BarcodeSettingsSource = std::function<BarcodeSettings()>;
void Set_Barcode_Settings_Source(int mode, BarcodeSettingsSource source);

// A copy of the active owner's settings, chosen by the main window's mode at
// this call (barcode mode while there is no main window). Default settings when the owner has registered nothing.
BarcodeSettings Current_Barcode_Settings();
