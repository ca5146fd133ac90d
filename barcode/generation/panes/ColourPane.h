#pragma once
// Colours of the bars, the background, the value text, the header and the
// footer, and the transparent background (a check box for 2D symbols; in
// the main window also a radio pair for linear ones; both always agree).
#include "barcode/generation/panes/BarcodeSettingsPane.h"

class ColorWell;
class QCheckBox;
class QLabel;
class QRadioButton;

class ColourPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    // `withBackgroundRadios`: the main window's radio pair coloured / transparent.
    explicit ColourPane(bool withBackgroundRadios, QWidget* parent = nullptr);

    void writeTo(BarcodeSettings& s) const override;

    // Sets a colour as the user's choice in the colour chooser would.
    void chooseColour(const char* well, const QColor& colour);

    void Set_Font_Clr();
    void Header_Color_Changed();
    void Barcode_Back_Color_rd_clicked();
    void Barcode_Back_Color_Transp_rd_clicked();
    void Transparent_Bkngd_Clicked();

protected:
    void loadControls(const BarcodeSettings& s) override;
    void twoDChanged() override;

private:
    void showTransparency(bool on);

    ColorWell* barcode_clr = nullptr;
    ColorWell* bar_back_clr = nullptr;
    ColorWell* bar_val_clr = nullptr;
    ColorWell* bar_hdr_clr = nullptr;
    ColorWell* bar_ftr_clr = nullptr;
    QLabel* bar_clr_label = nullptr;
    QLabel* bar_bk_clr_label = nullptr;
    QLabel* val_clr_label = nullptr;
    QRadioButton* brcd_bk_clr_rd = nullptr;
    QRadioButton* brcd_bk_clr_trnsp_rd = nullptr;
    QCheckBox* transparent_bkgnd = nullptr;
};

// The resolution of 2D symbol images: "Auto" (600), fixed numbers, or a
// custom value in 72-2400.
class QComboBox;
class QLineEdit;
class Stepper;

class DpiPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit DpiPane(QWidget* parent = nullptr);

    void writeTo(BarcodeSettings& s) const override;

    void comboBoxSelectionDidChange(QComboBox* combo);
    void DPI_Value_Changed(QObject* sender);

protected:
    void loadControls(const BarcodeSettings& s) override;

private:
    void showCustom();

    QComboBox* DPI_ComboBox = nullptr;
    Stepper* dpi_Stepper = nullptr;
    QLineEdit* dpi_Text = nullptr;
};
