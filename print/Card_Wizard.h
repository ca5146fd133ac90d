#pragma once
// The new-card wizard: two pages. The first chooses the card's size (a label
// product of the catalogue, a custom size in millimetres, or the paper of a
// page set-up), its shape and its name; the second its look (border, fill
// kind, colours, hatch picture, background picture, transparency). OK on the
// second page sizes the card canvas; the main window then copies the choices
// into its card controls (New_Label_Choice below carries them).
//
// Cancel leaves the open design's card shape as it was.
#include "print/LabelCatalogue.h"

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTextEdit;
class ColorWell;
class Stepper;

// What the new-label flow copies from the wizard after OK.
struct New_Label_Choice {
    int shape = 0;                 // Card_Shape: 0 rectangle, 1 rounded, 2 ellipse
    int vendorIndex = 0;           // Label_ComboBox
    int productIndex = -1;         // Product_num_ComboBox, -1 none selected
    double widthMM = 100, heightMM = 100;
    QString name;
    bool border = true;
    QColor borderColour{Qt::black};
    int borderWidth = 1;
    int borderStyle = 0;
    QColor fillColour{Qt::white};
    QString fillKind{QStringLiteral("S")};   // "S", "G", "H" or "I"
    QColor gradient1{Qt::white}, gradient2{Qt::white};
    int gradientValue = 0;
    QColor hatchBackground{Qt::white};
    int hatchIndex = -1;           // only for "H"
    int transparency = 100;        // percent
    QString imagePath;             // background picture of both sides for "I"
};

// The wizard's transparency as the card panel's percentage: times 100, and
// divided by 100 again when that exceeds 1000 (a fraction or a percentage
// both end as a percentage); truncated.
int New_Label_Transparency(double wizardValue);

class Card_Wizard : public QDialog {
    Q_OBJECT
public:
    explicit Card_Wizard(QWidget* parent = nullptr);
    static Card_Wizard* defaultInstance();

    // Resets the wizard and runs it: 1 after OK on the look page, 0 after Cancel.
    int Open_Wnd();
    // The reset of opening.
    void Reset_For_Opening();
    // The choices after OK.
    New_Label_Choice Choice() const;
    // The fill kind the radios give: "G", else "H", else "I", else "S".
    QString Fill_Kind() const;

    // Pages.
    void OK_Click();
    void Back_Click();
    void CancelClick();
    void reject() override;

    // Size.
    void comboBoxSelectionDidChange(QComboBox* combo);
    void Read_Selected_Product_Label_Value();
    void Enable_Disable_Size_Param_Acc_To_Label_Selection(bool enable);
    void Card_Width_Changed();
    void Card_Height_Changed();
    void controlTextDidChange(QLineEdit* field);
    void controlTextDidEndEditing(QLineEdit* field);
    void Apply_unit_Chaneg_Values();
    void Apply_Size_Clicked();
    void Page_From_Printer_Click();

    // Look.
    void card_shape_CellClick();
    void Card_Border_ChkBox();
    void Card_Border_Changed();
    void Card_Fill_Chk_Box();
    void card_prop_set(const QString& kind);
    void Card_Solid_RD_Sel() { card_prop_set(QStringLiteral("S")); }
    void Card_Gradient_RD_Sel() { card_prop_set(QStringLiteral("G")); }
    void Card_Hatch_RD_Sel() { card_prop_set(QStringLiteral("H")); }
    void Card_Image_RD_Sel() { card_prop_set(QStringLiteral("I")); }
    void Show_Hide_Card_Transp_Ctrl(bool hide);
    void Card_Gradient_Changed();
    void Card_Alpha_Changed();
    void Card_Image_Browse_Btn();
    void Card_Image_Library_Btn();
    void Reset_color_box();

    // ---- Outlets ----
    int next_count = 0;
    QPushButton* Back_btn = nullptr;
    QPushButton* OK_btn = nullptr;
    QPushButton* Cancel_btn = nullptr;
    QPushButton* fill_profile_btn = nullptr;
    QPushButton* page_frm_printer_btn = nullptr;
    QPushButton* apply_size_btn = nullptr;
    QGroupBox* Size_Box = nullptr;
    QGroupBox* Color_Box = nullptr;
    QLineEdit* card_name = nullptr;
    QComboBox* Label_ComboBox = nullptr;
    QComboBox* Product_num_ComboBox = nullptr;
    QList<Product_Details> prod_list;
    int prod_id_count = 0;
    QLineEdit* width_Text = nullptr;   Stepper* width_Stepper = nullptr;
    QLineEdit* height_Text = nullptr;  Stepper* height_Stepper = nullptr;
    QRadioButton* shape_rd[3] = {};    // matrix_card_shape rows
    QButtonGroup* matrix_card_shape = nullptr;
    QCheckBox* Card_border_chk = nullptr;
    QGroupBox* Card_Border_Box = nullptr;
    ColorWell* Card_bordr_clr = nullptr;
    QLineEdit* Card_bor_Text = nullptr; Stepper* Card_bor_Stepper = nullptr;
    QComboBox* Card_border_style = nullptr;
    QCheckBox* Card_fill_chk = nullptr;
    QGroupBox* Card_Fill_Box = nullptr;
    QRadioButton* Card_solid_fill_rd = nullptr;
    QRadioButton* Card_gradient_fill_rd = nullptr;
    QRadioButton* Card_Style_fill_rd = nullptr;
    QRadioButton* Card_Image_fill_rd = nullptr;
    ColorWell* Card_fill_clr = nullptr;
    ColorWell* Card_fill_Grd_1_clr = nullptr;
    ColorWell* Card_fill_Grd_2_clr = nullptr;
    QLineEdit* Card_grad_Text = nullptr; Stepper* Card_grad_Stepper = nullptr;
    QComboBox* Card_hatch_style = nullptr;
    ColorWell* Card_hatch_bk_clr = nullptr;
    QGroupBox* Card_image_box = nullptr;
    QLineEdit* Card_Image_path = nullptr;
    QPushButton* Card_Image_Browse = nullptr;
    QPushButton* Card_Image_Library = nullptr;
    QLabel* Card_alpha_lbl = nullptr;
    QLineEdit* Card_alpha_Text = nullptr; Stepper* Card_alpha_Stepper = nullptr;

    // The shape chosen in the wizard (0 rectangle, 1 rounded, 2 ellipse);
    // the open design's own shape is left alone until the choice is applied.
    int Card_Shape = 0;

private:
    void buildUi();
    QWidget* buildSizePage();
    QWidget* buildLookPage();
    void connectControls();
    QStackedWidget* m_pages = nullptr;   // Size_Box, Color_Box
    static QPointer<Card_Wizard> s_instance;
};
