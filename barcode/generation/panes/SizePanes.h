#pragma once
// The sizes of a barcode: the bars of a linear symbol, the margins, and the
// option panes of the three 2D symbologies (QR Code, PDF417, Data Matrix).
// Every number is a text field with a stepper beside it; the two always show
// the same value, within the stepper's range.
#include "barcode/generation/panes/BarcodeSettingsPane.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class Stepper;

// Bar height (in the barcode unit) and module width (mils) of a linear symbol.
class LinearPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit LinearPane(QWidget* parent = nullptr);
    void writeTo(BarcodeSettings& s) const override;
    void setUnit(int unit);
    void enableLinearControls();
    void heightChanged(QObject* sender);
    void widthChanged(QObject* sender);

protected:
    void loadControls(const BarcodeSettings& s) override;

private:
    QGroupBox* linear_sett_box = nullptr;
    QLineEdit* HeightText = nullptr;
    Stepper* HeightStepper = nullptr;
    QLineEdit* widthText = nullptr;
    Stepper* widthStepper = nullptr;
    QLabel* bar_height_label = nullptr;
    QLabel* bar_width_label = nullptr;
    int m_unit = 1;   // the unit the bar height is shown in
};

// The five margins, in the barcode unit.
class MarginPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit MarginPane(QWidget* parent = nullptr);
    void writeTo(BarcodeSettings& s) const override;
    void setUnit(int unit);
    void enableLinearControls();
    void Value_Margin_Changed(QObject* sender);
    void Header_Margin_Changed(QObject* sender);
    void Footer_Margin_Changed(QObject* sender);
    void TB_Margin_Changed(QObject* sender);
    void LR_Margin_Changed(QObject* sender);

protected:
    void loadControls(const BarcodeSettings& s) override;
    void twoDChanged() override;

private:
    QGroupBox* margin_box = nullptr;
    QLabel* val_mar_label = nullptr;
    QLineEdit* val_mar_Text = nullptr;
    Stepper* val_mar_Stepper = nullptr;
    QLineEdit* hdr_mar_Text = nullptr;
    Stepper* hdr_mar_Stepper = nullptr;
    QLineEdit* ftr_mar_Text = nullptr;
    Stepper* ftr_mar_Stepper = nullptr;
    QLineEdit* TB_mar_Text = nullptr;
    Stepper* TB_mar_Stepper = nullptr;
    QLineEdit* LR_mar_Text = nullptr;
    Stepper* LR_mar_Stepper = nullptr;
    int m_unit = 1;   // the unit the margins are shown in
};

// QR Code: image side, encoding mode, version (a minimum), error correction.
class QrPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit QrPane(QWidget* parent = nullptr);
    void writeTo(BarcodeSettings& s) const override;
    void heightChanged(QObject* sender);
    // The side is never smaller than the chosen version's module count.
    void Check_And_Set_QR_size_Acc_Version(int position);
    void comboBoxSelectionDidChange(QComboBox* combo);

protected:
    void loadControls(const BarcodeSettings& s) override;

private:
    QGroupBox* two_d_sett_box = nullptr;
    QLineEdit* HeightText_2D = nullptr;
    Stepper* HeightStepper_2D = nullptr;
    QComboBox* qr_enc_mode_ComboBox = nullptr;
    QComboBox* qr_version_ComboBox = nullptr;
    QComboBox* qr_ec_lvl_ComboBox = nullptr;
};

// PDF417: image width and height, rows, columns, error correction level.
class Pdf417Pane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit Pdf417Pane(QWidget* parent = nullptr);
    void writeTo(BarcodeSettings& s) const override;
    void widthChanged(QObject* sender);
    void pdf_heightChanged(QObject* sender);
    void PDF_Row_Changed(QObject* sender);
    void PDF_Col_Changed(QObject* sender);
    void PDF_EC_Lvl_Changed(QObject* sender);

protected:
    void loadControls(const BarcodeSettings& s) override;

private:
    QGroupBox* pdf_2d_sett_box = nullptr;
    QLineEdit* Pdf_widthText_2D = nullptr;
    Stepper* Pdf_widthStepper_2D = nullptr;
    QLineEdit* pdf_HeightText_2D = nullptr;
    Stepper* pdf_HeightStepper_2D = nullptr;
    QLineEdit* pdf_row_Text = nullptr;
    Stepper* pdf_row_Stepper = nullptr;
    QLineEdit* pdf_col_Text = nullptr;
    Stepper* pdf_col_Stepper = nullptr;
    QLineEdit* pdf_ec_lvl_Text = nullptr;
    Stepper* pdf_ec_lvl_Stepper = nullptr;
};

// Data Matrix: width and height (grown to the size format), module size,
// size format and encodation.
class DataMatrixPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit DataMatrixPane(QWidget* parent = nullptr);
    void writeTo(BarcodeSettings& s) const override;
    void dm_widthChanged(QObject* sender);
    void dm_heightChanged(QObject* sender);
    void dm_modulesizeChanged(QObject* sender);
    // Grows width and height to the chosen size format at the module size;
    // larger values stay.
    void data_matrix_barcode_size_acc_format();
    void comboBoxSelectionDidChange(QComboBox* combo);

protected:
    void loadControls(const BarcodeSettings& s) override;

private:
    QGroupBox* dm_2d_sett_box = nullptr;
    QLineEdit* dm_widthText_2D = nullptr;
    Stepper* dm_widthStepper_2D = nullptr;
    QLineEdit* dm_HeightText_2D = nullptr;
    Stepper* dm_HeightStepper_2D = nullptr;
    QLineEdit* dm_moduleText_2D = nullptr;
    Stepper* dm_moduleStepper_2D = nullptr;
    QComboBox* dm_format_ComboBox = nullptr;
    QComboBox* dm_encoding_ComboBox = nullptr;
};
