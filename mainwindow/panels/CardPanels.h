#pragma once
// The four tabs of the card panel of designing mode: the card's name, shape,
// text defaults and watermark (Info), its size and label stock (Size), its
// background (Background) and its border (Border). The host loads them from
// the front card model and writes them all back into it at every change.
#include <QColor>
#include <QFont>
#include <QString>

#include "mainwindow/panels/ItemPanels.h"

class Card_Property;
class QButtonGroup;
class Stepper;

// ---- Info: name, shape, text defaults, watermark (card_info_tab) ----
class CardInfoPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit CardInfoPanel(QWidget* parent = nullptr);

    // The chosen row of the shape matrix: 0 rectangle, 1 rounded, 2 ellipse.
    int shapeRow() const;
    void setShapeRow(int row);
    void Enable_Watermark_Clicked();
    void WM_transp_slider_changed();

    QLineEdit* card_name = nullptr;
    QButtonGroup* matrix_card_shape = nullptr;
    QRadioButton* card_shape_rect_rd = nullptr;
    QRadioButton* card_shape_round_rd = nullptr;
    QRadioButton* card_shape_ellipse_rd = nullptr;

    // Font and colour of all text items.
    QFont All_Text_font;
    QFont All_Text_font_COPY;          // baseline taken when the panel is loaded
    QColor All_Text_clr_COPY;          // baseline taken when the panel is loaded
    ColorWell* All_Text_clr = nullptr;
    QLabel* All_Text_font_value = nullptr;
    QPushButton* Content_Font_btn = nullptr;

    QCheckBox* enable_watermark_chk = nullptr;
    QGroupBox* watermark_box = nullptr;
    QLineEdit* watermark_text = nullptr;
    ColorWell* watermark_color = nullptr;
    QComboBox* wm_alignment_combo = nullptr;
    Fraction_Slider* wm_transp_slider = nullptr;
    QLabel* wm_transp_val = nullptr;
    QFont WM_Text_font;
    QLabel* wm_font_value = nullptr;
    QPushButton* WM_Font_btn = nullptr;

signals:
    void shapeChosen();
    void contentFontWanted();
    void contentColorChosen();
    void watermarkFontWanted();
    // The card name or the watermark text was edited.
    void textEdited(QObject* field);
};

// ---- Size and label stock (card_size_tab) ----
class CardSizePanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit CardSizePanel(QWidget* parent = nullptr);

    QGroupBox* card_size_box = nullptr;
    QComboBox* Label_ComboBox = nullptr;
    QComboBox* Product_num_ComboBox = nullptr;
    QLineEdit* width_Text = nullptr;
    Stepper* width_Stepper = nullptr;
    QLineEdit* height_Text = nullptr;
    Stepper* height_Stepper = nullptr;
    QLabel* unit_width_label = nullptr;
    QLabel* unit_height_label = nullptr;
    QPushButton* Apply_Size_btn = nullptr;
    QPushButton* page_frm_printer_btn = nullptr;
    QPushButton* preset_size_btn = nullptr;
    QPushButton* units_btn = nullptr;

signals:
    void labelChosen();
    void productChosen();
    // A stepper moved (the field shows it; the size is applied with Apply).
    void widthStepped();
    void heightStepped();
    // Per-keystroke and end-of-edit notices of the two fields.
    void sizeTextEdited(QObject* field);
    void sizeEditingEnded(QObject* field);
    void applyWanted();
    void pageFromPrinterWanted();
    void presetSizeWanted();
    void unitsWanted();
};

// ---- Background (card_bkgd_tab) ----
class CardBackgroundPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit CardBackgroundPanel(QWidget* parent = nullptr);

    // Fill kind to controls: radio buttons, the opacity controls and the
    // enabling of the groups, for "S", "G", "H" or "I" (any other: "S").
    // `fillOn` and `borderOn` are the states of the two check boxes.
    void card_prop_set(const QString& style, bool fillOn);
    void Show_Hide_Card_Transp_Ctrl(bool hide);
    // The code of the radio button that is on.
    QString fillStyle() const;

    void Card_Fill_Chk_Box(const QString& modelStyle);
    void Card_Solid_RD_Sel();
    void Card_Gradient_RD_Sel();
    void Card_Hatch_RD_Sel();
    void Card_Image_RD_Sel();

    QCheckBox* Card_fill_chk = nullptr;
    QGroupBox* Card_Fill_Box = nullptr;
    QRadioButton* Card_solid_fill_rd = nullptr;
    QRadioButton* Card_gradient_fill_rd = nullptr;
    QRadioButton* Card_Style_fill_rd = nullptr;
    QRadioButton* Card_Image_fill_rd = nullptr;
    ColorWell* Card_fill_clr = nullptr;
    ColorWell* Card_fill_Grd_1_clr = nullptr;
    ColorWell* Card_fill_Grd_2_clr = nullptr;
    Number_Pair* Card_grad = nullptr;
    QComboBox* Card_hatch_style = nullptr;
    ColorWell* Card_hatch_bk_clr = nullptr;
    QLabel* Card_alpha_lbl = nullptr;
    Number_Pair* Card_alpha = nullptr;
    QGroupBox* Card_image_box = nullptr;
    QLineEdit* Card_Image_path = nullptr;
    QPushButton* Card_Image_Browse_Btn = nullptr;
    QPushButton* Card_Image_Library_Btn = nullptr;
    QComboBox* Card_image_layout = nullptr;

signals:
    void fillCheckClicked();
    void browseWanted();
    void libraryWanted();
    void layoutChosen();

private:
    void setRadio(QRadioButton* on);
    void enableKind(const QString& style);
};

// ---- Border (card_brdr_tab) ----
class CardBorderPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit CardBorderPanel(QWidget* parent = nullptr);
    void Card_Border_ChkBox();

    QCheckBox* Card_border_chk = nullptr;
    QGroupBox* Card_Border_Box = nullptr;
    ColorWell* Card_bordr_clr = nullptr;
    Number_Pair* Card_bor = nullptr;
    QComboBox* Card_border_style = nullptr;
};

// The former card setting tab: the card's name, shown under the Info tab's
// title when the host asks for it (kept so that every tab item exists).
class CardSettingPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit CardSettingPanel(QWidget* parent = nullptr);
    void load(const Card_Property& card);

private:
    QLabel* m_name = nullptr;
};
