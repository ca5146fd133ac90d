#pragma once
// The barcode tab of the main window: barcode mode.
//
// It owns the controls of the barcode settings, the symbology choice with its
// option panes, the preview and the window's hold on the generation road, and
// it is the settings owner of barcode mode: its controls write its
// BarcodeSettings value, which it registers as the settings source of mode 0.
// The main window frame keeps one pointer to it and forwards what the rest of
// the program asks of barcode mode.
#include "core/util/BarcodeSettings.h"
#include "mainwindow/PreviewRoad.h"
#include "platform/PtImage.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <mutex>

class ColorWell;
class Stepper;
class QCheckBox;
class QComboBox;
class QFontDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;

// ---- Process-wide values of barcode mode ----
extern int Measument_Unit_Is_Barcode;     // unit of barcode mode
extern int last_unit_val_Barcode;
extern QString def_barcode_hdr_str;       // "HEADER"

class BarcodeModeView : public QWidget {
    Q_OBJECT
public:
    explicit BarcodeModeView(QWidget* parent = nullptr);
    ~BarcodeModeView() override;

    // Start-up of the tab once the frame stands: defaults, lists, panes and
    // the first barcode.
    void awakeFromNib();
    void _setLabels_Barcode();

    // ---- Settings owner of barcode mode ----
    // A copy of the window's barcode settings (the mode-0 settings source).
    // On another thread it is the copy taken after the last change.
    BarcodeSettings Barcode_Settings() const;
    // Reads every barcode control into the window's settings value.
    void Write_Controls_To_Settings();
    // The barcode type name chosen in the popup.
    QString Barcode_Type_Name() const;

    // ---- Preview road ----
    void goButtonActionPerformed();
    void Encode_btn() { goButtonActionPerformed(); }
    void Generate_Barcode_Thread_Function();
    bool Check_And_Validat_Barcode(bool showMessage, bool checkImage);
    int Get_Print_State();
    void Set_Barcode_On_Panel(const PtImage& image);
    void Set_Blank_Image();
    // Draws the existing linear barcode again without encoding (redraw).
    void Redraw_Linear();
    // Frames the last 2D symbol again without encoding (re-frame).
    void Get_2d_barcode_from_image(bool draw);
    bool testBarcodeExists() const { return m_road.hasLinear(); }
    const PtImage& Preview_Image() const { return m_previewImage; }
    bool Preview_Is_Blank() const;

    // Counters of the encodings and redraws done for the preview (diagnostics).
    int Encode_Count() const { return m_road.encodeCount(); }
    int Draw_Count() const { return m_drawCount; }

    // ---- Barcode settings controls ----
    void Value_Font_Changed();
    void Header_Font_Changed();
    void Footer_Font_Changed();
    void changeFont(const QFont& font);
    void header_changeFont(const QFont& font);
    void footer_changeFont(const QFont& font);
    void Set_Font_Clr();
    void Header_Color_Changed();
    void Barcode_Back_Color_rd_clicked();
    void Barcode_Back_Color_Transp_rd_clicked();
    void Transparent_Bkngd_Clicked();
    void Value_Margin_Changed(QObject* sender);
    void Header_Margin_Changed(QObject* sender);
    void Footer_Margin_Changed(QObject* sender);
    void TB_Margin_Changed(QObject* sender);
    void LR_Margin_Changed(QObject* sender);
    void heightChanged(QObject* sender);
    void widthChanged(QObject* sender);
    void pdf_heightChanged(QObject* sender);
    void PDF_Row_Changed(QObject* sender);
    void PDF_Col_Changed(QObject* sender);
    void PDF_EC_Lvl_Changed(QObject* sender);
    void dm_widthChanged(QObject* sender);
    void dm_heightChanged(QObject* sender);
    void dm_modulesizeChanged(QObject* sender);
    void data_matrix_barcode_size_acc_format();
    void DPI_Value_Changed(QObject* sender);
    void captionChanged();
    void showinTopChanged();
    void hideHeaderChanged();
    void hideFooterChanged();
    void kerningChanged();
    void comboBoxSelectionDidChange(QComboBox* combo);
    void controlTextDidChange(QObject* field);
    void Check_And_Set_QR_size_Acc_Version(int position);

    // Help buttons: each shows its title and text in the long-text box.
    void Barcode_Data_Source_Help_Button();
    void Batch_Help_Button();
    void QR_Version_Help_Btn();
    void QR_EC_Lvl_Help_Btn();
    void PDF_row_Help_btn();
    void PDF_col_Help_btn();
    void PDF_ec_lvl_Help_btn();
    void DM_format_Help_btn();
    void DM_Encoding_Help_btn();
    void DPI_Help_Label();

    // ---- Symbology choice and option panes ----
    void barcodeTypeChanged();
    void Liner_Barcode_Opt_Select();
    void two_d_barcode_Opt_Select();
    void Linear_Barcode_Select();
    void TwoD_Barcode_Select();


    // ---- Working members ----
    int liner_or_2D_font = 0;
    QRect bar_image_frame_rect;
    QFont value_font, header_font, footer_font;

    // ---- Outlets ----
    QComboBox* barcodeTypePopup = nullptr;
    QRadioButton* Linear_Barcode_RD = nullptr;
    QRadioButton* TwoD_Barcode_RD = nullptr;
    QLineEdit* dataText = nullptr;
    QPlainTextEdit* dataText_2D = nullptr;
    QWidget* dataText_2D_scl_v = nullptr;
    QLineEdit* HeaderText = nullptr;
    QLineEdit* FooterText = nullptr;
    QPushButton* encode_btn = nullptr;
    QTabWidget* sett_tab_barcode = nullptr;
    QWidget* dpi_tab_item = nullptr;
    QCheckBox* captionCheckbox = nullptr;
    QCheckBox* showinTopCheckbox = nullptr;
    QCheckBox* hideHeaderCheckbox = nullptr;
    QCheckBox* hideFooterCheckbox = nullptr;
    QCheckBox* kerning_value_Checkbox = nullptr;
    QCheckBox* transparent_bkgnd = nullptr;
    QPushButton* val_font_btn = nullptr;
    QPushButton* hdr_font_btn = nullptr;
    QPushButton* ftr_font_btn = nullptr;
    QLabel* val_font_label = nullptr;
    QLabel* value_font_value = nullptr;
    QLabel* header_font_value = nullptr;
    QLabel* footer_font_value = nullptr;
    QFontDialog* fontPanel = nullptr;
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
    QLineEdit* val_mar_Text = nullptr;   Stepper* val_mar_Stepper = nullptr;
    QLineEdit* hdr_mar_Text = nullptr;   Stepper* hdr_mar_Stepper = nullptr;
    QLineEdit* ftr_mar_Text = nullptr;   Stepper* ftr_mar_Stepper = nullptr;
    QLineEdit* TB_mar_Text = nullptr;    Stepper* TB_mar_Stepper = nullptr;
    QLineEdit* LR_mar_Text = nullptr;    Stepper* LR_mar_Stepper = nullptr;
    QLabel* val_mar_label = nullptr;
    QGroupBox* margin_box = nullptr;
    QLineEdit* HeightText = nullptr;     Stepper* HeightStepper = nullptr;
    QLineEdit* widthText = nullptr;      Stepper* widthStepper = nullptr;
    QLabel* bar_height_label = nullptr;
    QLabel* bar_width_label = nullptr;
    QGroupBox* linear_sett_box = nullptr;
    QGroupBox* two_d_sett_box = nullptr;
    QGroupBox* pdf_2d_sett_box = nullptr;
    QGroupBox* dm_2d_sett_box = nullptr;
    QLineEdit* HeightText_2D = nullptr;      Stepper* HeightStepper_2D = nullptr;
    QLineEdit* Pdf_widthText_2D = nullptr;   Stepper* Pdf_widthStepper_2D = nullptr;
    QLineEdit* pdf_HeightText_2D = nullptr;  Stepper* pdf_HeightStepper_2D = nullptr;
    QLineEdit* pdf_row_Text = nullptr;       Stepper* pdf_row_Stepper = nullptr;
    QLineEdit* pdf_col_Text = nullptr;       Stepper* pdf_col_Stepper = nullptr;
    QLineEdit* pdf_ec_lvl_Text = nullptr;    Stepper* pdf_ec_lvl_Stepper = nullptr;
    QLineEdit* dm_widthText_2D = nullptr;    Stepper* dm_widthStepper_2D = nullptr;
    QLineEdit* dm_HeightText_2D = nullptr;   Stepper* dm_HeightStepper_2D = nullptr;
    QLineEdit* dm_moduleText_2D = nullptr;   Stepper* dm_moduleStepper_2D = nullptr;
    QComboBox* DPI_ComboBox = nullptr;
    Stepper* dpi_Stepper = nullptr;
    QLineEdit* dpi_Text = nullptr;
    QComboBox* qr_enc_mode_ComboBox = nullptr;
    QComboBox* qr_version_ComboBox = nullptr;
    QComboBox* qr_ec_lvl_ComboBox = nullptr;
    QComboBox* dm_format_ComboBox = nullptr;
    QComboBox* dm_encoding_ComboBox = nullptr;
    QComboBox* align_hdr_combo = nullptr;
    QComboBox* align_ftr_combo = nullptr;
    QComboBox* bar_align_combo = nullptr;
    QComboBox* bar_orient_combo = nullptr;
    QScrollArea* image_scroll = nullptr;
    QLabel* barcodeImage = nullptr;
    QLabel* barcode_error_label = nullptr;
    // Batch sources of barcode mode (they arrive with the data subsystem).
    QGroupBox* batch_chk_Gp_Bx = nullptr;
    QGroupBox* data_Sheet_Gp_Bx = nullptr;
    QCheckBox* data_source_chkbox = nullptr;
    QCheckBox* barcode_value_chk = nullptr;
    QCheckBox* barcode_header_chk = nullptr;
    QCheckBox* barcode_footer_chk = nullptr;
    QRadioButton* Custom_Sheet_RD = nullptr;
    QRadioButton* Data_Set_Sheet_RD = nullptr;


signals:
    // The preview changed (a new image or a blank one).
    void previewChanged();

private:
    void buildTab();
    void connectBarcodeControls();
    void fillStartLists();
    void setFontLabel(QLabel* label, const QFont& font);
    bool Settings_Loading() const;

    // Refresh verbs of the settings controls.
    void Regenerate() { goButtonActionPerformed(); }
    void Refresh_Look();           // redraw (linear) or re-frame (2D)
    void Remeasure_And_Redraw();   // linear: sizes again and redraw; 2D: re-frame

    void showHelp(const QString& title, const QString& text);
    QWidget* helpButton(QWidget* parent, void (BarcodeModeView::*handler)());
    void syncPair(QObject* sender, QLineEdit* text, Stepper* stepper, bool whole);
    static QString pairText(const Stepper* stepper, bool whole);
    void showPreviewPixmap();
    // Copies the settings for readers on other threads.
    void publishSettings();

    PreviewRoad m_road;
    BarcodeSettings m_settings;           // GUI thread only
    mutable std::mutex m_publishedMutex;
    BarcodeSettings m_published;          // the last settings, for other threads
    PtImage m_previewImage;
    int m_drawCount = 0;
    int m_fontTarget = 0;          // 0 value, 1 header, 2 footer: who gets the font panel's changes
};
