#pragma once
// The one main window of Zorv Label and its controller.
//
// It carries both working modes in a top-level tab view: barcode mode (a
// barcode built from value, header, footer and settings, shown at once in a
// preview) and designing mode (the card canvas). Every other subsystem reaches
// it through Main_App_wnd. Barcode mode is the barcode tab (BarcodeModeView),
// which owns the barcode settings of mode 0; the controller forwards what the
// rest of the program asks of it.
//
// The widgets are built in code; the members below are its outlets, named as
// the rest of the program knows them.
#include "core/util/BarcodeSettings.h"
#include "core/util/MainWindowServices.h"
#include "mainwindow/BarcodeModeView.h"
#include "platform/PtImage.h"

#include <QAction>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class BarcodeModeView;
class QButtonGroup;
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
class QToolBar;
class QWidget;
class LMNDocument;
class LMNGraphicView;
class LMNGrid;
class LMNZoomingScrollView;

// ---- Process-wide values owned by the main window ----
extern int Measument_Unit_Is;             // unit of designing mode: 0 inch, 1 cm, 2 mm
extern int last_unit_val;

class LMNWindowController : public QMainWindow, public MainWindowServices {
    Q_OBJECT
public:
    explicit LMNWindowController(QWidget* parent = nullptr);
    ~LMNWindowController() override;

    // The one controller (null before it is made and after it is gone).
    static LMNWindowController* defaultInstance();

    // False when start-up stopped because the data folder could not be made.
    bool startupSucceeded() const { return m_startupOk; }

    // ---- Start-up and lifetime ----
    void awakeFromNib();
    void applicationDidFinishLaunching();
    void screenResize();
    void New_Project_Setting_Reset(int flag);
    void Show_RHS_Properties(LMNGraphic* item) override;
    void Zoom_In_Toolbar_btn();
    void Set_Canvas_to_100_percent();
    void Refresh_Canvas() override;
    void changeViewController(int index);
    void Show_Hide_Main_Window(int flag);
    void Show_Canvas_And_Right_Prop();
    void _setLabels();
    void Set_Log_Name_In_Title();

    // ---- Modes ----
    void tabView_didSelectTabViewItem(QTabWidget* tabView, int index);
    void Barcode_Mode_Select();
    void Designing_Mode_Select();

    // ---- Barcode mode (the barcode tab) ----
    BarcodeModeView* barcodeModeView() const { return m_barcodeView; }
    // A copy of barcode mode's settings (the mode-0 settings source).
    BarcodeSettings Barcode_Settings() const;
    // Regenerates the barcode of barcode mode (on the GUI thread; a worker waits).
    void goButtonActionPerformed();
    // How many encodings barcode mode has run (diagnostics).
    int Encode_Count() const;

    // ---- MainWindowServices ----
    LMNGraphicView* graphicView() const override { return _graphicView; }
    QList<LMNGraphic*> Get_Front_Controls_Array() const override;
    int Get_Front_Control_Count() const override { return Get_Front_Controls_Array().size(); }
    QWidget* mainWidget() const override { return const_cast<LMNWindowController*>(this); }
    double zoomFactor() const override { return _zoomFactor; }
    int Selected_Control_Tool() const override { return m_selectedTool; }
    void Set_Selected_Control_Tool(int tool) override { m_selectedTool = tool; }
    QFont All_Text_font() const override { return m_allTextFont; }
    QImage no_image() const override { return m_noImage; }
    QImage barcode_sample_img() const override { return m_barcodeSampleImg; }
    QImage sign_sample_img() const override { return m_signSampleImg; }
    QImage fp_sample_img() const override { return m_fpSampleImg; }

    // ---- Accessors ----
    QList<QMap<QString, QString>>& ListData_barcode() { return m_listDataBarcode; }
    void setListData_barcode(const QList<QMap<QString, QString>>& list) { m_listDataBarcode = list; }
    QWidget* myTargetViewWidget() const { return myTargetView; }

    // ---- Working members ----
    QStringList Allowd_Image_fileTypes;
    double _zoomFactor = 1.0;
    LMNGrid* _grid = nullptr;
    QFont Text_font, WM_Text_font;
    int prev_list_item_barcode = 0;
    QStringList Label_List;   // label stock names: "Custom", then the catalogue files

    // ---- Outlets: mode tabs ----
    QTabWidget* Barcode_mode_tab = nullptr;
    QWidget* Barcode_setting_tab = nullptr;
    QWidget* Barcode_Design_tab = nullptr;
    QToolBar* main_toolbar = nullptr;
    QList<QAction*> later_actions;    // commands that arrive with later subsystems

    // ---- Outlets: designing mode ----
    QWidget* myTargetView = nullptr;
    QWidget* first_view = nullptr;
    QWidget* canvas_view = nullptr;     // the canvas area (the zooming scroll view)
    LMNZoomingScrollView* _zoomingScrollView = nullptr;
    LMNGraphicView* _graphicView = nullptr;
    QGroupBox* Right_Prop_Box = nullptr;
    QTabWidget* sett_tab = nullptr;
    QList<QWidget*> sett_tab_items;     // the fifteen panels, by position
    QList<QString> sett_tab_titles;
    QWidget* Last_Card_Sel_Tab = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void init();
    void buildWindow();
    QWidget* buildDesignTab();
    void buildToolbar();
    void fillStartLists();

    std::unique_ptr<LMNDocument> m_document;
    BarcodeModeView* m_barcodeView = nullptr;
    bool m_startupOk = true;
    int m_selectedTool = 0;
    QFont m_allTextFont;
    QImage m_noImage, m_bannerImage, m_patternImage, m_signSampleImg, m_fpSampleImg,
        m_barcodeSampleImg, m_backBtnImage, m_frontBtnImageSel;
    QImage Invalid_Barcode_Data_Image;
    QList<QMap<QString, QString>> m_listDataBarcode;
};
