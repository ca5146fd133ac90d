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
    QFont value_font{QStringLiteral("Helvetica"), 12};
    QFont header_font{QStringLiteral("Helvetica"), 12};
    QFont footer_font{QStringLiteral("Helvetica"), 12};

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

    int showinTop = 0;       // caption above the bars when non-zero
    int kerning_value = 0;   // letter spacing of the caption when non-zero

    // Output resolution of 2D symbol images, dots per inch.
    int dpi = 600;

    // Accessors under the names the drawing code uses.
    const QString& caption() const { return content; }
    bool Fill_transparent() const { return fill_transparent; }
};

// Mode flag: 0 barcode mode (the main window owns the settings), other values
// designing mode (the barcode dialog owns them). Starts at 0.
extern int Barcode_Setting_Or_Designing_Mode;

// Non-zero while the user is typing a 2D value; the 2D renderers then skip
// raising their image to the output resolution.
extern unsigned char Type_draw_2d_flag;

// Output resolution of 2D symbol images, 600 at start.
extern int USED_DPI_VALUE;

// The owners register how to read their settings; 0 is barcode mode, 1 designing mode.
using BarcodeSettingsSource = std::function<BarcodeSettings()>;
void Set_Barcode_Settings_Source(int mode, BarcodeSettingsSource source);

// A copy of the active owner's settings, chosen by Barcode_Setting_Or_Designing_Mode
// at this call. Default settings when the owner has registered nothing.
BarcodeSettings Current_Barcode_Settings();
