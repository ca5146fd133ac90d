#pragma once
// The one main window of Zorv Label and its controller.
//
// It carries both working modes in a top-level tab view: barcode mode (a
// barcode built from value, header, footer and settings, shown at once in a
// preview) and designing mode (the card canvas). The windows it opens
// are handed the services struct it was made with. Barcode mode is the barcode tab (BarcodeModeView),
// which owns the barcode settings of mode 0; the controller forwards what the
// rest of the program asks of it.
//
// The widgets are built in code; the members below are its outlets, named as
// the rest of the program knows them.
#include "core/util/BarcodeSettings.h"
#include "core/util/BatchServices.h"
#include "core/util/MainWindowServices.h"
#include "mainwindow/AppLifetime.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/units/Units.h"
#include "platform/PtImage.h"

#include <QAction>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>

class Batch_Binding;
class BarcodeListModel;
class Edit_Commands;
class Project_Commands;
class Tool_Palette;
class BarcodeModeView;
class DesignModeView;
class QFileDialog;
class QPushButton;
class QCloseEvent;
class QTabWidget;
class QToolBar;
class QWidget;
class LMNGraphicView;
class LMNGrid;
class LMNZoomingScrollView;
class Picture_Display_Filter_In_Place;

class LMNWindowController : public QMainWindow, public MainWindowServices, public BatchServices {
    Q_OBJECT
public:
    // `services` is the struct app/ fills: the window enters itself in it as
    // the main-window and batch services while it lives, and reaches the
    // progress window and the barcode dialog through it.
    explicit LMNWindowController(Services& services = App_Services(), QWidget* parent = nullptr);
    ~LMNWindowController() override;

    // The one controller (null before it is made and after it is gone).
    static LMNWindowController* defaultInstance();
    // The controller that entered itself in `services` when it was made
    // (null before, and after it has gone); defaultInstance() asks the
    // services app/ fills.
    static LMNWindowController* app_DefaultInstance(const Services& services);

    // False when start-up stopped because the data folder could not be made.
    bool startupSucceeded() const { return m_startupOk; }
    // Set while controls load: nothing is regenerated or written back.
    bool notDrawOnlyPropChange = false;
    // The design's batch binding (the design view keeps it).
    Batch_Binding* binding() const;

    // ---- The panes ----
    BarcodeModeView* barcodeModeView() const { return m_barcodeView; }
    DesignModeView* designModeView() const { return m_designView; }
    // The project commands (New, Open, Close, Save, Save As), the tool
    // palette and the edit commands of designing mode.
    Project_Commands* projectCommands() const { return m_project; }
    Tool_Palette* toolPalette() const { return m_tools; }
    Edit_Commands* editCommands() const { return m_edit; }

    // ---- Start-up and lifetime ----
    void awakeFromNib();
    void applicationDidFinishLaunching();
    void screenResize();
    // Starts an empty design: card model, size, items, undo, grid, zoom,
    // placement, folders.
    void New_Project_Setting_Reset(int flag);
    void changeViewController(int index);
    void Show_Hide_Main_Window(int flag);
    void Show_Canvas_And_Right_Prop();
    void _setLabels();
    void Set_Log_Name_In_Title();
    // Closes the document's undo group at the end of each pass of the event
    // loop (the canvas's removed items are freed then).
    void Close_Document_Undo_Group();

    // ---- Help ----
    // Runs the help and support window.
    void Help_Button();
    // The social-comments page of the product's web site.
    void Share_It_Button_Clicked();
    // Shows the link buttons whose address the installation configures
    // (links.ini); hides the others. (The help menu's link commands are
    // shown or hidden so when the menu is made.)
    void Refresh_Links();

    // ---- Exit ----
    // Asks "Do you want to save changes before closing?" and "Do you really
    // want to exit?"; true
    // when the application is to end.
    bool Exit_App();
    void Exit_Btn_Clicked() { if (Exit_App()) Terminate_Application_Now(); }
    // Saving the current mode's work, installed by the file commands; while
    // none is installed there is nothing to save and the question is not asked.
    std::function<bool()> Save_Current_Work;

    // ---- Units ----
    // The units window for the mode shown; OK converts that mode's lengths.
    void doPreferences();
    QAction* Units_btn = nullptr;

    // ---- Modes ----
    void tabView_didSelectTabViewItem(QTabWidget* tabView, int index);
    void Barcode_Mode_Select();
    void Designing_Mode_Select();

    // ---- Barcode mode (the barcode tab) ----
    // A copy of barcode mode's settings (the mode-0 settings source).
    BarcodeSettings Barcode_Settings() const;
    // Regenerates the barcode of barcode mode (on the GUI thread; a worker waits).
    void goButtonActionPerformed();
    // How many encodings barcode mode has run (diagnostics).
    int Encode_Count() const;

    // ---- MainWindowServices ----
    LMNGraphicView* graphicView() const override { return _graphicView; }
    Card_Property* Front_card_Prop() const override;
    int Selected_Control_Tool() const override { return m_selectedTool; }
    void Set_Selected_Control_Tool(int tool) override;
    double zoomFactor() const override;
    // The font and colour of all texts (the card panel's).
    QFont All_Text_font() const override;
    QString Text_Ctrl_Font() const override { return m_textCtrlFont; }
    QColor All_Text_clr() const override;
    QImage no_image() const override { return m_noImage; }
    QImage barcode_sample_img() const override { return m_barcodeSampleImg; }
    QImage sign_sample_img() const override { return m_signSampleImg; }
    QImage fp_sample_img() const override { return m_fpSampleImg; }
    void Card_Base_Drawing(QPainter& painter, const QRectF& rect) override;
    void Card_Border_Drawing(QPainter& painter, const QRectF& rect) override;
    void Refresh_Canvas() override;
    QList<LMNGraphic*> Get_Front_Controls_Array() const override;
    int Get_Front_Control_Count() const override { return int(Get_Front_Controls_Array().size()); }
    void Reset_Image_Editing_Controls() override;
    void Set_Control_Pos_And_Size(LMNGraphic* item) override;
    void Insert_In_Undo_Redo() override;
    void Undo_Action_Perform() override;
    void Redo_Action_Perform() override;
    void Show_RHS_Properties(LMNGraphic* item) override;
    // Edits the selected barcode item in the barcode dialog; OK applies the
    // edited copy to the item (Update_Barcode_Graphics).
    void Open_Barcode_Window() override;
    void Update_Barcode_Graphics(LMNGraphic* item, const LMNGraphic& edited,
                                 const PtImage& Barcode_output_image = PtImage());
    // What the barcode dialog needs of the series and the spreadsheet.
    void Install_Barcode_Dialog_Hooks();
    void Set_Paste_Button_Status() override;
    void Set_Align_Buttons_Enabled(bool sameWidth, bool sameHeight, bool alignGrid) override;
    void Card_Prop_Clicked() override;
    void Card_Bckgrnd_Clicked() override;
    void Lock_Clicked() override;
    void Unlock_Clicked() override;
    void Export_Button() override;
    void Print_Button() override;
    void Barcode_Mail_Send() override;
    bool isWindowCommandAvailable(WindowCommand command) const override;
    QWidget* mainWidget() const override { return const_cast<LMNWindowController*>(this); }
    QRectF graphicViewBounds() const override;
    QWidget* Send_Models_Window() const override;
    BarcodeDialogServices* Barcode_Dialog() const override { return m_services.Barcode_Gen_Var; }
    QStringList Barcode_Mode_Series_Names() const override;

    // ---- BatchServices: barcode mode (mainwindow/BarcodeBatchServices.cpp) ----
    // Each runs on the GUI thread; called from a worker it waits for it.
    void Select_First_Value_For_Barcode_Setting_Mode() override;
    BarcodeModeState Barcode_Mode_State() const override;
    PtImage Invalid_Barcode_Data_Image() const override;
    bool Check_And_Validat_Barcode(bool showMessage, bool checkImage) override;
    void Draw_2d_barcode_again_for_manual() override;
    int Selected_Barcode_Row() const override;
    void Select_Valid_Value_For_Barcode_Setting_Mode(int row) override;
    void Focus_Barcode_List() override;

    // ---- BatchServices: designing mode and neighbours (mainwindow/DesignBatchServices.cpp) ----
    // The batch binding of the design, its back-up, the card size, the
    // picture library and the design file writer.
    Batch_Row_Count Check_Series_Or_Excel_Use_or_not() const override;
    Batch_Rows Make_Batch_Rows_Of(bool series, bool excel) const override;
    void Open_Series_Value_Box(const QString& name) override;
    void Select_first_row_value_for_design() override;
    void Set_Front_Back_Value_To_Print_Export_Mail() override;
    void Create_Card_Design_Again() override;
    void Set_Graphic_Array_According_Side() override;
    bool Save_project_file(const QString& path, bool showMessage, const QString& logOrTemplate) override;
    QSizeF Card_Size() const override;
    void SetDocumentCanvasSize(QSizeF points) override;
    QString Open_Image_Library_Window(const QString& mode) override;
    QWidget* Main_wnd() const override;
    int Barcode_Setting_Or_Designing_Mode() const override { return m_mode; }
    QString Start_Card_Option() const override { return m_startCardOption; }
    void Set_Start_Card_Option(const QString& option) { m_startCardOption = option; }

    // ---- Output commands (mainwindow/OutputCommands.cpp) ----
    // The PDF command: print's checks, no printer needed, the PDF export window.
    void PDF_Export_Button();
    // Barcode mode: the current barcode to the clipboard (PDF, PNG, barcode.pdf).
    void Copy_Button();
    // The crop wizard; the series lists are refreshed afterwards.
    void Cropping_Tool_Clicked();
    // The e-mail settings dialog, then the settings copies reloaded.
    void Email_Settings_Clicked();
    // Saves the design as a user template (name dialog, then the design file
    // writer in its template mode).
    void Export_As_Template_Clicked();
    // The user template the open design was read from ("" for any other design).
    QString Template_Opened_From() const;
    QAction* print_btn = nullptr;
    QAction* pdf_btn = nullptr;
    QAction* export_btn = nullptr;
    QAction* copy_btn = nullptr;
    QAction* mail_btn = nullptr;
    QAction* pictures_btn = nullptr;

    // ---- Commands that arrive with other subsystems ----
    // Each is carried out by the function installed here; while none is,
    // the command is not offered (its menu item is disabled).
    std::function<void()> Export_Command, Print_Command, Mail_Command, Card_Background_Command,
        Barcode_Window_Command;

    // ---- Series tools (the toolbar's Series command and its menu) ----
    // The series manager; afterwards the series lists are refreshed.
    void Batch_Series_Button();
    // The import wizard and the generator, each writing a new series file.
    void Import_Wizard_Button();
    void Create_Series_Button();
    // Tells the series combos of both modes that the series folder may have
    // changed (they refill themselves on Series_List_Changed).
    void Refresh_All_Series_Combobox();
    QAction* series_btn = nullptr;

    // ---- Accessors ----
    // The barcode list of barcode mode (its rows and the two row operations).
    BarcodeListModel& ListData_barcode();
    QWidget* myTargetViewWidget() const;
    QWidget* myCurrentViewController = nullptr;       // the view shown in the design area
    QVariantList data_table_content;                  // set empty at start-up
    QFileDialog* savePanel = nullptr;                 // the save panel of the save dialogs

    // ---- Working members ----
    QStringList Allowd_Image_fileTypes;
    LMNGrid* _grid = nullptr;                        // the design view's grid
    QStringList Label_List;   // label stock names: "Custom", then the catalogue files
    QImage banner_image, promotion_pattern_image, back_btn_image, front_btn_image_sel;

    // ---- Outlets ----
    QTabWidget* Barcode_mode_tab = nullptr;
    QWidget* Barcode_setting_tab = nullptr;
    QWidget* Barcode_Design_tab = nullptr;
    QToolBar* main_toolbar = nullptr;
    QAction* New_btn = nullptr;
    QAction* Open_btn = nullptr;
    QAction* Close_btn = nullptr;
    QAction* Save_btn = nullptr;
    QAction* SaveAs_btn = nullptr;
    QAction* Help_btn = nullptr;
    QAction* Exit_btn = nullptr;
    // The maker's web site and the support link, at the toolbar's end.
    QPushButton* website_1 = nullptr;
    QPushButton* support_id = nullptr;
    QList<QAction*> later_actions;    // commands that arrive with later subsystems
    LMNZoomingScrollView* _zoomingScrollView = nullptr;   // in the design view
    LMNGraphicView* _graphicView = nullptr;               // in the design view

signals:
    void Series_List_Changed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Services& m_services;
    // Wires a toolbar action of the output commands; false for another one.
    bool installOutputAction(QAction* action, const QString& text);
    // The command hooks of the canvas menu and the Copy action's mode rule.
    void installOutputCommands();
    void init();
    void buildWindow();
    void buildToolbar();
    // The help button's menu: help, the user help and the maker's products.
    void buildHelpMenu();
    // The two link buttons at the toolbar's end.
    void buildLinkButtons();
    QAction* m_websiteAction = nullptr;   // the toolbar's place of website_1
    QAction* m_supportAction = nullptr;   // of support_id
    void fillStartLists();
    void Terminate_Application_Now();

    BarcodeModeView* m_barcodeView = nullptr;
    DesignModeView* m_designView = nullptr;
    Project_Commands* m_project = nullptr;
    Tool_Palette* m_tools = nullptr;
    Edit_Commands* m_edit = nullptr;
    bool m_startupOk = true;
    int m_mode = 0;   // Barcode_Setting_Or_Designing_Mode: 0 barcode mode, 1 designing mode
    QString m_textCtrlFont;   // Text_Ctrl_Font: the default family of text content
    QString m_startCardOption = QStringLiteral("T");   // Start_Card_Option
    bool m_exitConfirmed = false;
    int m_selectedTool = 0;
    QImage m_noImage, m_signSampleImg, m_fpSampleImg, m_barcodeSampleImg;
    PtImage Invalid_Barcode_Data_Image_Picture;  // the invalid-data picture (200 x 100 points)
    // The image tools' filter makes the pictures that picture items show
    // while the window lives.
    std::unique_ptr<Picture_Display_Filter_In_Place> m_displayFilter;
};
