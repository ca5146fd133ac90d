#pragma once
// The symbology choice: the type popup and, in the main window, the radio
// pair linear / 2D. The radios never contradict the popup: choosing a kind
// picks the symbology of that kind chosen last (at first its first one).
#include "barcode/generation/panes/BarcodeSettingsPane.h"

class QComboBox;
class QRadioButton;

class SymbologyPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    // `withKindRadios`: the main window's radio pair linear / 2D.
    explicit SymbologyPane(bool withKindRadios, QWidget* parent = nullptr);

    void writeTo(BarcodeSettings& s) const override;

    // The chosen type name.
    QString Barcode_Type_Name() const;
    // Chooses a type name as the user would (emits symbologyChanged()).
    void chooseType(const QString& name);

    // Actions of the popup and the radios.
    void barcodeTypeChanged();
    void Linear_Barcode_Select();
    void TwoD_Barcode_Select();

signals:
    // The user chose another symbology (the owner switches its panes and
    // encodes again).
    void symbologyChanged();

protected:
    void loadControls(const BarcodeSettings& s) override;
    void twoDChanged() override;

private:
    void selectKind(bool twoD);

    QComboBox* barcodeTypePopup = nullptr;
    QRadioButton* Linear_Barcode_RD = nullptr;
    QRadioButton* TwoD_Barcode_RD = nullptr;
    int m_lastLinear = 0;   // popup positions chosen last of each kind
    int m_lastTwoD = -1;
};
