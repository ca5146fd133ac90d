#pragma once
// The panels of the items of designing mode, one class per tab of the
// property side. A panel owns its controls (public members named as the rest
// of the window knows them), loads them from an item (load, run by the
// switcher while writing back is suppressed) and writes them into an item
// (writeTo). Its controls' actions first bring the panel itself up to date
// (a stepper into its field, a check box enabling its group, radio buttons)
// and then emit changed(); the host answers with the panel's update, which
// writes the panel into every selected item of exactly its kind.
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

#include "mainwindow/panels/PanelSupport.h"

class ColorWell;
class Fraction_Slider;
class LMNGraphic;
class Number_Pair;
class PropertyPanelHost;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QVBoxLayout;

// A panel of the property side.
class PropertyPanel : public QWidget {
    Q_OBJECT
public:
    PropertyPanel(const QString& objectName, QWidget* parent = nullptr);

signals:
    // The user changed a control: the panel's update is due.
    void changed();
    // The user chose a colour in one of the panel's colour wells.
    void colorChosen(const QColor& color);

protected:
    QVBoxLayout* column() const { return m_column; }
    // A titled group box added to the column.
    QGroupBox* addBox(const QString& title, const QString& objectName);
    // A colour well that reports the user's choice through colorChosen.
    ColorWell* newWell(QWidget* parent, const QString& objectName, const QColor& color = Qt::black);
    // A check box whose click runs `action` (a user's click only).
    QCheckBox* newCheck(QWidget* parent, const QString& objectName, const QString& text,
                        const std::function<void()>& action);
    QRadioButton* newRadio(QWidget* parent, const QString& objectName, const QString& text,
                           const std::function<void()>& action);
    // A list whose choice by the user runs `action`.
    QComboBox* watchCombo(QComboBox* combo, const std::function<void()>& action);
    Number_Pair* newPair(QWidget* box, const QString& name, double min, double max, double step, bool whole,
                         const std::function<void()>& action);
    // A border's colour, width (pt) and style in `box`, named "<prefix>bordr_clr",
    // "<prefix>bor" and "<prefix>border_style"; a change emits changed().
    struct Border_Controls {
        ColorWell* colour = nullptr;
        Number_Pair* width = nullptr;
        QComboBox* style = nullptr;
    };
    Border_Controls addBorderControls(QGroupBox* box, const QString& prefix);

private:
    QVBoxLayout* m_column = nullptr;
};

// ---- Shape (shape_tab) ----
class ShapePanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit ShapePanel(QWidget* parent = nullptr);
    // "Rectangle Settings", "Star Settings"... by shape code; "" for an unknown code.
    static QString Shape_Title(const QString& shapeCode);

    // Fills the controls from a shape; `locked` keeps the shape-specific
    // rows hidden (a locked item shows only its lock tab).
    void load(const LMNGraphic& item, bool locked);
    // The panel's fields into a shape (all but print_object).
    void writeTo(LMNGraphic& item) const;

    // Actions (each ends in changed()).
    void Shape_Border_ChkBox();
    void Shape_Fill_Chk_Box();
    void Shape_Solid_RD_Sel();
    void Shape_Gradient_RD_Sel();
    void Shape_Hatch_RD_Sel();
    void Shape_Rotate_Slider_Changed();
    void Show_Hide_Shape_Transp_Ctrl(bool hide);

    QLabel* Shape_prop_title = nullptr;
    QCheckBox* Shape_border_chk = nullptr;
    QGroupBox* Shape_Border_Box = nullptr;
    ColorWell* shape_bordr_clr = nullptr;
    Number_Pair* shape_bor = nullptr;
    QComboBox* shape_border_style = nullptr;
    QCheckBox* Shape_fill_chk = nullptr;
    QGroupBox* Shape_Fill_Box = nullptr;
    QRadioButton* Shape_solid_fill_rd = nullptr;
    QRadioButton* Shape_gradient_fill_rd = nullptr;
    QRadioButton* Shape_Style_fill_rd = nullptr;
    ColorWell* shape_fill_clr = nullptr;
    ColorWell* shape_fill_Grd_1_clr = nullptr;
    ColorWell* shape_fill_Grd_2_clr = nullptr;
    Number_Pair* shape_grad = nullptr;
    QComboBox* shape_hatch_style = nullptr;
    ColorWell* shape_hatch_bk_clr = nullptr;
    QLabel* shape_alpha_lbl = nullptr;
    Number_Pair* shape_alpha = nullptr;
    QLabel* shape_cor_radius_Label = nullptr;
    Number_Pair* shape_cor_radius = nullptr;
    QLabel* double_star_Label = nullptr;
    Number_Pair* double_star = nullptr;
    QLabel* polygon_Label = nullptr;
    Number_Pair* polygon = nullptr;
    QSlider* shape_rotation_slidr = nullptr;
    QLabel* shape_rotation_slidr_val = nullptr;

private:
    void enableFillKind(const QString& type);
};

// ---- Line (line_tab) ----
class LinePanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit LinePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item);
    void writeTo(LMNGraphic& item) const;

    Number_Pair* Line_Wdt = nullptr;
    ColorWell* Line_clr = nullptr;
    QComboBox* Line_border_style = nullptr;
    QComboBox* Line_cap_style = nullptr;
    QComboBox* Line_ori_style = nullptr;
    Number_Pair* Line_alpha = nullptr;

    // The user chose a direction: the lines written next turn to it. After
    // the panel wrote the selected lines it has been applied (the next change
    // of another control turns no line).
    void Direction_Chosen() { m_turn = true; }
    void Direction_Applied() { m_turn = false; }

private:
    bool m_turn = false;
};

// ---- Text: letters (text_edtng_tab) ----
class TextEditingPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit TextEditingPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item);
    void writeTo(LMNGraphic& item) const;

    // The font button: the font chooser opens on Text_font (and the text
    // items are written at once, as they stand).
    void Text_Font_Changed();
    // A font chosen in the font chooser.
    void changeTextFont(const QFont& font);
    void Txt_Rotate_Slider_Changed();

    QFont Text_font;
    QLabel* Text_font_value = nullptr;
    QPushButton* Text_font_btn = nullptr;
    ColorWell* Text_clr = nullptr;
    QComboBox* Text_align_combo = nullptr;
    QComboBox* Text_vert_align_combo = nullptr;
    QComboBox* Text_case_combo = nullptr;
    Number_Pair* Text_Kern = nullptr;
    QSlider* txt_rotation_slidr = nullptr;
    QLabel* txt_rotation_slidr_val = nullptr;
    QLabel* txt_ctrl_id_val = nullptr;

signals:
    // The font button asks for the font chooser.
    void fontPanelWanted();
};

// ---- Text: box and shadow (text_prop_tab) ----
class TextPropertiesPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit TextPropertiesPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item);
    void writeTo(LMNGraphic& item) const;

    void Text_Border_ChkBox();
    void Text_Fill_Chk_Box();
    void Text_Solid_RD_Sel();
    void Text_Gradient_RD_Sel();
    void Draw_Shadow_ChkBox();
    void Show_Hide_Text_Transp_Ctrl(bool hide);

    QCheckBox* Text_border_chk = nullptr;
    QGroupBox* Text_Border_Box = nullptr;
    ColorWell* Text_bordr_clr = nullptr;
    Number_Pair* Text_bor = nullptr;
    QComboBox* Text_border_style = nullptr;
    QCheckBox* Text_fill_chk = nullptr;
    QGroupBox* Text_Fill_Box = nullptr;
    QRadioButton* Text_solid_fill_rd = nullptr;
    QRadioButton* Text_gradient_fill_rd = nullptr;
    ColorWell* Text_fill_clr = nullptr;
    ColorWell* Text_fill_Grd_1_clr = nullptr;
    ColorWell* Text_fill_Grd_2_clr = nullptr;
    Number_Pair* Text_grad = nullptr;
    QLabel* text_alpha_lbl = nullptr;
    Number_Pair* Text_alpha = nullptr;
    QCheckBox* draw_shadow_chkbox = nullptr;
    QGroupBox* shadow_box = nullptr;
    ColorWell* Shadow_clr = nullptr;
    Number_Pair* shadow_x = nullptr;
    Number_Pair* shadow_y = nullptr;
    Number_Pair* shadow_blur = nullptr;
    Number_Pair* shadow_transp = nullptr;

private:
    void enableFillKind(bool gradient);
};

// ---- Picture adjustments (image_tab) ----
class PicturePanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit PicturePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item);
    // Border, flips, filters and sliders (not the path, not the picture).
    void writeTo(LMNGraphic& item) const;
    // The adjustment controls at their neutral values; items are not touched.
    void Reset_Image_Editing_Controls();

    QCheckBox* Image_border_chk = nullptr;
    QGroupBox* Image_Border_Box = nullptr;
    ColorWell* Image_bordr_clr = nullptr;
    Number_Pair* Image_bor = nullptr;
    QComboBox* Image_border_style = nullptr;
    QCheckBox* Image_Gray_Scale_chk = nullptr;
    QCheckBox* Image_Sepia_chk = nullptr;
    QCheckBox* Image_Invert_chk = nullptr;
    QCheckBox* Image_FIV_chk = nullptr;
    QCheckBox* Image_FIH_chk = nullptr;
    Fraction_Slider* Rotate_slidr = nullptr;   QLabel* Rotate_slidr_val = nullptr;
    Fraction_Slider* Trsp_slidr = nullptr;     QLabel* Trsp_slidr_val = nullptr;
    Fraction_Slider* Hue_slidr = nullptr;      QLabel* Hue_slidr_val = nullptr;
    Fraction_Slider* Sat_slidr = nullptr;      QLabel* Sat_slidr_val = nullptr;
    Fraction_Slider* Brt_slidr = nullptr;      QLabel* Brt_slidr_val = nullptr;
    Fraction_Slider* Con_slidr = nullptr;      QLabel* Con_slidr_val = nullptr;
    Fraction_Slider* shrp_slidr = nullptr;     QLabel* shrp_slidr_val = nullptr;
    Fraction_Slider* ev_slidr = nullptr;       QLabel* ev_slidr_val = nullptr;
    Fraction_Slider* blr_slidr = nullptr;      QLabel* blr_slidr_val = nullptr;
    QPushButton* reset_btn = nullptr;
    QPushButton* crop_btn = nullptr;
    QLabel* image_error_label = nullptr;
    QLabel* img_ctrl_id_val = nullptr;

signals:
    void resetWanted();
    void cropWanted();

private:
    Fraction_Slider* addSlider(QFormLayout* form, const QString& caption, const QString& name, double min,
                               double max, int scale, QLabel** label);
    QList<std::pair<Fraction_Slider*, QLabel*>> sliders() const;
};

// ---- Data source of text and picture items (datasource_tab) ----
// Also holds the text editor of a text item and the file of a picture.
class DataSourcePanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit DataSourcePanel(QWidget* parent = nullptr);

    // Shows the text editor from the text of an item (no signal).
    void setEditorText(const QString& text);

    QLabel* data_source_title = nullptr;
    QComboBox* Data_source_type = nullptr;     // "Manual", "Series", "Excel"
    QComboBox* Batch_Series = nullptr;
    QPushButton* view_series_btn = nullptr;
    QPushButton* Data_Source_Help_btn = nullptr;
    QGroupBox* manual_brws_box = nullptr;
    QLineEdit* Manual_image_path = nullptr;
    QPushButton* Manual_Image_Browse_Btn = nullptr;
    QPushButton* Manual_Library_Browse_Btn = nullptr;
    QLabel* text_value_lbl = nullptr;
    QPlainTextEdit* Text_value_Edit = nullptr;
    QPlainTextEdit* text_value_scrollView = nullptr;   // the editor scrolls itself
    QGroupBox* Text_Date_Time_Box = nullptr;
    QComboBox* Text_Date_style = nullptr;
    QComboBox* Text_Time_style = nullptr;
    QPushButton* Text_Insert_Date_btn = nullptr;
    QPushButton* Text_Insert_Time_btn = nullptr;

signals:
    void sourceChosen();          // Data_source_type
    void seriesChosen();          // Batch_Series
    void viewSeriesWanted();
    void helpWanted();            // Data_Source_Help_btn
    void browseWanted();
    void libraryWanted();
    void editorTextEdited();      // the user typed into Text_value_Edit
    void insertDateWanted();
    void insertTimeWanted();
};

// ---- Signature and fingerprint (sign_tab) ----
class SignaturePanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit SignaturePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item);
    void writeTo(LMNGraphic& item) const;

    void Sign_Border_ChkBox();

    QLabel* sel_kind = nullptr;
    QLineEdit* Sign_image_path = nullptr;
    QPushButton* Sign_Browse_Btn = nullptr;
    QCheckBox* Sign_border_chk = nullptr;
    QGroupBox* Sign_Border_Box = nullptr;
    ColorWell* Sign_bordr_clr = nullptr;
    Number_Pair* Sign_bor = nullptr;
    QComboBox* Sign_border_style = nullptr;

signals:
    void browseWanted();
};

// ---- Barcode item (barcode_tab) ----
class BarcodeItemPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit BarcodeItemPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item);

    QLabel* barcode_kind = nullptr;
    QLabel* barcode_value = nullptr;
    QPushButton* View_barcode_prop_Button = nullptr;

signals:
    void propertiesWanted();
};

// ---- Alignment, position and size, print flag (aligmnt_tab) ----
class AlignmentPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit AlignmentPanel(QWidget* parent = nullptr);
    // The buttons, by the canvas command each runs ("alignLeftEdges"...).
    QList<QPushButton*> buttons() const { return m_buttons; }
    QPushButton* button(const QString& action) const;

    QPushButton* align_left_btn = nullptr;
    QPushButton* align_right_btn = nullptr;
    QPushButton* align_top_btn = nullptr;
    QPushButton* align_bottom_btn = nullptr;
    QPushButton* align_horzontal_btn = nullptr;
    QPushButton* align_vertical_btn = nullptr;
    QPushButton* align_center_btn = nullptr;
    QPushButton* Make_same_width_btn = nullptr;
    QPushButton* Make_same_height_btn = nullptr;
    QPushButton* fit_to_label_btn = nullptr;
    QPushButton* Make_natural_size_btn = nullptr;
    QPushButton* Align_with_grid_btn = nullptr;

    QGroupBox* position_box = nullptr;
    QLineEdit* frame_main_pic_X_pos = nullptr;   Stepper* frame_main_pic_X_pos_val = nullptr;
    QLineEdit* frame_main_pic_Y_pos = nullptr;   Stepper* frame_main_pic_Y_pos_val = nullptr;
    QWidget* ctrl_width_height_box = nullptr;
    QLineEdit* frame_main_pic_width = nullptr;   Stepper* frame_main_pic_width_val = nullptr;
    QLineEdit* frame_main_pic_height = nullptr;  Stepper* frame_main_pic_height_val = nullptr;
    QLabel* ctrl_x_pos_unit_lbl = nullptr;
    QLabel* ctrl_y_pos_unit_lbl = nullptr;
    QLabel* ctrl_width_unit_lbl = nullptr;
    QLabel* ctrl_height_unit_lbl = nullptr;
    QCheckBox* print_object_chk = nullptr;
    QLabel* sel_control_name = nullptr;

    // The unit of the four fields (0 inch, 1 centimetre, 2 millimetre): their
    // captions, decimals and arrow steps.
    void setUnit(int unit);
    int unit() const { return m_unit; }

signals:
    // A button asks for the canvas command of that name.
    void commandRequested(const QString& action);
    // The user changed a position or size field (0 X, 1 Y, 2 width, 3 height).
    void fieldChanged(int which);
    void printFlagChanged();

private:
    // The steps of the constructor, in order.
    void addAlignButtons();
    void addPositionFields();

    int m_unit = 2;
    QList<QPushButton*> m_buttons;
};

// ---- A locked item (Lock_tab) ----
class LockPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit LockPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item, const QString& title);
    QPushButton* unlockButton() const { return m_unlock; }

signals:
    void unlockRequested();

private:
    QLabel* m_what = nullptr;
    QPushButton* m_unlock = nullptr;
};
