#pragma once
// The texts' look: which of value, header and footer are printed, the value
// on top, its letter spacing, the three fonts and the header and footer
// alignments.
#include "barcode/generation/panes/BarcodeSettingsPane.h"

#include <QFont>

class QCheckBox;
class QComboBox;
class QFontDialog;
class QLabel;
class QPushButton;

class TextPane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit TextPane(QWidget* parent = nullptr);

    void writeTo(BarcodeSettings& s) const override;

    // Whether the value text is printed; the value-on-top box is only
    // available while it is.
    int Get_Print_State();
    // A linear symbology enables the controls of the value text; UPC and EAN
    // captions get no letter spacing.
    void enableLinearControls();
    void setKerningAllowed(bool allowed);

    // Font buttons open the font panel for their font; the panel's changes go
    // to the font of the button pressed last.
    void Value_Font_Changed();
    void Header_Font_Changed();
    void Footer_Font_Changed();
    void changeFont(const QFont& font);
    void header_changeFont(const QFont& font);
    void footer_changeFont(const QFont& font);
    QFontDialog* fontPanel() const { return m_fontPanel; }

    void captionChanged();
    void showinTopChanged();
    void hideHeaderChanged();
    void hideFooterChanged();
    void kerningChanged();
    void alignmentChanged();

protected:
    void loadControls(const BarcodeSettings& s) override;
    void twoDChanged() override;

private:
    void openFontPanel(QPushButton* button, const QFont& font, int target);
    static void setFontLabel(QLabel* label, const QFont& font);

    QCheckBox* captionCheckbox = nullptr;
    QCheckBox* showinTopCheckbox = nullptr;
    QCheckBox* hideHeaderCheckbox = nullptr;
    QCheckBox* hideFooterCheckbox = nullptr;
    QCheckBox* kerning_value_Checkbox = nullptr;
    QLabel* val_font_label = nullptr;
    QLabel* value_font_value = nullptr;
    QLabel* header_font_value = nullptr;
    QLabel* footer_font_value = nullptr;
    QPushButton* val_font_btn = nullptr;
    QPushButton* hdr_font_btn = nullptr;
    QPushButton* ftr_font_btn = nullptr;
    QComboBox* align_hdr_combo = nullptr;
    QComboBox* align_ftr_combo = nullptr;
    QFontDialog* m_fontPanel = nullptr;
    QFont value_font, header_font, footer_font;
    int m_fontTarget = 0;   // 0 value, 1 header, 2 footer
};
