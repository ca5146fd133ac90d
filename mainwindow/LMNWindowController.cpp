// Start-up, layout, modes and lifetime of the main window.
#include "mainwindow/LMNWindowController.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/LMNDocument.h"
#include "core/util/Helpers.h"
#include "platform/Paths.h"
#include "mainwindow/AppLifetime.h"
#include "mainwindow/MainWindowSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

int Measument_Unit_Is = 2;
int last_unit_val = 2;

namespace {
LMNWindowController* app_DefaultInstance = nullptr;
} // namespace

LMNWindowController* LMNWindowController::defaultInstance() { return app_DefaultInstance; }

LMNWindowController::LMNWindowController(QWidget* parent) : QMainWindow(parent)
{
    init();
    buildWindow();
    awakeFromNib();
}

LMNWindowController::~LMNWindowController()
{
    // The canvas lets go of the document and the grid before they go.
    if (_graphicView) {
        _graphicView->unbindGraphics();
        _graphicView->setGrid(nullptr);
    }
    if (Main_App_wnd == this)
        Main_App_wnd = nullptr;
    if (app_DefaultInstance == this)
        app_DefaultInstance = nullptr;
}

// The controller's own state, before any widget exists.
void LMNWindowController::init()
{
    Text_Ctrl_Font = QApplication::font("QMenuBar").family();
    if (Text_Ctrl_Font.isEmpty())
        Text_Ctrl_Font = QStringLiteral("Arial");
    Resource_Path = Find_Resource_Path();
    Created_Resource_Path = Default_Created_Resource_Path();
    Create_Folder(Created_Resource_Path);   // checked when the window is set up

    Allowd_Image_fileTypes = {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"};
    _grid = new LMNGrid(this);
    _zoomFactor = 1.0;
    m_selectedTool = 0;

    app_DefaultInstance = this;
    Main_App_wnd = defaultInstance();

    Text_font = QFont(Text_Ctrl_Font, Text_Ctrl_Font_Size);
    m_allTextFont = Text_font;
    WM_Text_font = Text_font;

    const QString res = Resource_Path + QStringLiteral("/");
    m_noImage = QImage(res + "no.png");
    m_bannerImage = QImage(res + "banner.png");
    m_patternImage = QImage(res + "pattern_1.jpg");
    m_signSampleImg = QImage(res + "sign_sample.png");
    m_fpSampleImg = QImage(res + "fingerprints.png");
    m_barcodeSampleImg = QImage(res + "barcode_sample.png");
    m_backBtnImage = QImage(res + "back-2.png");
    m_frontBtnImageSel = QImage(res + "front-sel.png");

    prev_list_item_barcode = 0;
}

// ---------------------------------------------------------------- layout

void LMNWindowController::buildWindow()
{
    setWindowTitle(App_Name());
    buildToolbar();

    Barcode_mode_tab = new QTabWidget(this);
    Barcode_mode_tab->setObjectName("Barcode_mode_tab");
    m_barcodeView = new BarcodeModeView(Barcode_mode_tab);
    m_barcodeView->setObjectName("Barcode_setting_tab");
    Barcode_setting_tab = m_barcodeView;
    Barcode_Design_tab = buildDesignTab();
    Barcode_mode_tab->addTab(Barcode_setting_tab, tr("Barcode Settings"));
    Barcode_mode_tab->addTab(Barcode_Design_tab, tr("Designing"));
    setCentralWidget(Barcode_mode_tab);

    connect(Barcode_mode_tab, &QTabWidget::currentChanged, this,
            [this](int index) { tabView_didSelectTabViewItem(Barcode_mode_tab, index); });
    connect(sett_tab, &QTabWidget::currentChanged, this,
            [this](int index) { tabView_didSelectTabViewItem(sett_tab, index); });
}

void LMNWindowController::buildToolbar()
{
    main_toolbar = addToolBar(tr("Commands"));
    main_toolbar->setObjectName("main_toolbar");
    main_toolbar->setMovable(false);
    main_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Commands that arrive with the design file, data, printing, export, mail and
    // picture subsystems: present, and disabled until they are connected.
    const struct { const char* icon; const char* text; } commands[] = {
        {"document-new", "New"},          {"document-open", "Open"},
        {"document-save", "Save"},        {"document-print", "Print"},
        {"x-office-document", "PDF"},     {"document-export", "Export"},
        {"edit-copy", "Copy"},            {"mail-send", "E-mail"},
        {"view-list-details", "Series"},  {"insert-image", "Pictures"},
    };
    for (const auto& c : commands) {
        QAction* a = main_toolbar->addAction(QIcon::fromTheme(c.icon), tr(c.text));
        a->setEnabled(false);
        a->setToolTip(tr("%1 (not available yet)").arg(tr(c.text)));
        later_actions << a;
    }
}

QWidget* LMNWindowController::buildDesignTab()
{
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    myTargetView = new QWidget(page);
    myTargetView->setObjectName("myTargetView");
    auto* tv = new QVBoxLayout(myTargetView);
    tv->setContentsMargins(0, 0, 0, 0);
    first_view = new QWidget(myTargetView);
    auto* fv = new QVBoxLayout(first_view);
    fv->setContentsMargins(0, 0, 0, 0);
    m_document = std::make_unique<LMNDocument>();
    _zoomingScrollView = new LMNZoomingScrollView(first_view);
    _graphicView = new LMNGraphicView;
    _graphicView->bindGraphics(m_document.get());
    _graphicView->setGrid(_grid);
    _graphicView->setCardSize(m_document->canvasSize(true, QSizeF()));
    _zoomingScrollView->setDocumentView(_graphicView);
    canvas_view = _zoomingScrollView;
    fv->addWidget(canvas_view);
    tv->addWidget(first_view);
    h->addWidget(myTargetView, 1);

    Right_Prop_Box = new QGroupBox(tr("Properties"), page);
    Right_Prop_Box->setObjectName("Right_Prop_Box");
    Right_Prop_Box->setFixedWidth(370);   // room for the five card tabs side by side
    auto* rv = new QVBoxLayout(Right_Prop_Box);
    sett_tab = new QTabWidget(Right_Prop_Box);
    sett_tab->setObjectName("sett_tab");
    sett_tab_titles = {tr("Card"), tr("Info"), tr("Size"), tr("Background"), tr("Border"),
                       tr("Line"), tr("Shape"), tr("Text"), tr("Text style"), tr("Picture"),
                       tr("Signature"), tr("Data source"), tr("Alignment"), tr("Barcode"), tr("Lock")};
    for (int i = 0; i < sett_tab_titles.size(); ++i) {
        auto* panel = new QWidget;
        panel->setObjectName(QStringLiteral("sett_tab_item_%1").arg(i));
        new QVBoxLayout(panel);
        sett_tab_items << panel;
        sett_tab->addTab(panel, sett_tab_titles[i]);
    }
    rv->addWidget(sett_tab);
    h->addWidget(Right_Prop_Box);
    return page;
}

// ---------------------------------------------------------------- start-up

void LMNWindowController::awakeFromNib()
{
    setStyleSheet(QStringLiteral("QMainWindow { background: rgb(241, 244, 250); }"));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        resize(qMin(1360, avail.width()), qMin(860, avail.height()));
    }

    // The per-user data folder must exist: nothing can be kept without it.
    if (Created_Resource_Path.isEmpty() || !Create_Folder(Created_Resource_Path)
        || !QFileInfo(Created_Resource_Path).isWritable()) {
        m_startupOk = false;
        Main_Show_Message(QStringLiteral("Can not access Data file."));
        Terminate_Application(1);
        return;
    }
    Set_Data_Folder_Path(QDir(Created_Resource_Path).filePath(QStringLiteral("DataSet")));
    Get_Email_Details();

    Not_Draw_Only_Prop_Change_Set(true);

    // Keep the fifteen property panels; only the five card panels stand in the view.
    for (int i = sett_tab->count() - 1; i >= 5; --i)
        sett_tab->removeTab(i);

    fillStartLists();
    m_barcodeView->awakeFromNib();

    Measument_Unit_Is = 2;
    last_unit_val = 2;
    _setLabels();

    Not_Draw_Only_Prop_Change_Set(false);

    goButtonActionPerformed();
    New_Project_Setting_Reset(1);
    Show_RHS_Properties(nullptr);
    Zoom_In_Toolbar_btn();
    Set_Canvas_to_100_percent();
    Refresh_Canvas();
    changeViewController(0);
    Show_Hide_Main_Window(1);
    Invalid_Barcode_Data_Image = Invalid_Data_Image(QSize(200, 100));
}

// Lists the start-up code fills: label stock.
void LMNWindowController::fillStartLists()
{
    Label_List = QStringList{QStringLiteral("Custom")};
    const QDir pages(Resource_Path + QStringLiteral("/Formats/pages/"));
    if (pages.exists()) {
        for (const QFileInfo& fi : pages.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            if (fi.suffix().toLower() == QLatin1String("xml"))
                Label_List << fi.completeBaseName();
    }
}

void LMNWindowController::applicationDidFinishLaunching()
{
    show();
    raise();
    activateWindow();
}

void LMNWindowController::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    screenResize();
}

void LMNWindowController::screenResize()
{
    if (!m_startupOk || Barcode_Setting_Or_Designing_Mode != 0)
        return;
    goButtonActionPerformed();
}

// An empty new project. The design-file, undo and series parts of the reset
// arrive with their subsystems; the folders are made here.
void LMNWindowController::New_Project_Setting_Reset(int flag)
{
    _zoomFactor = 1.0;
    if (m_document) {
        QList<int> all;
        for (int i = 0; i < m_document->graphics().size(); ++i)
            all << i;
        if (!all.isEmpty())
            m_document->removeGraphicsAtIndexes(all);
        m_document->Clear_All_Undo_Redo();
    }
    Check_Path_And_Create_Files_Now();
    Show_Hide_Main_Window(0);
}

void LMNWindowController::Show_RHS_Properties(LMNGraphic* item)
{
    if (item)
        return;
    // The card panel: the five card tabs.
    const bool wasLoading = Not_Draw_Only_Prop_Change_Get();
    Not_Draw_Only_Prop_Change_Set(true);
    while (sett_tab->count() > 5)
        sett_tab->removeTab(sett_tab->count() - 1);
    for (int i = 0; i < 5; ++i)
        if (sett_tab->indexOf(sett_tab_items[i]) < 0)
            sett_tab->insertTab(i, sett_tab_items[i], sett_tab_titles[i]);
    Not_Draw_Only_Prop_Change_Set(wasLoading);
}

void LMNWindowController::Zoom_In_Toolbar_btn()
{
    _zoomFactor = std::min(_zoomFactor * 2.0, 4.0);
    _zoomingScrollView->setFactor(_zoomFactor);
}

void LMNWindowController::Set_Canvas_to_100_percent()
{
    _zoomFactor = 1.0;
    _zoomingScrollView->setFactor(_zoomFactor);
}

QList<LMNGraphic*> LMNWindowController::Get_Front_Controls_Array() const
{
    return m_document ? m_document->graphicsPointers() : QList<LMNGraphic*>();
}

void LMNWindowController::Refresh_Canvas()
{
    if (Card_Value_In_Process)
        return;
    if (_graphicView)
        _graphicView->update();
    if (canvas_view)
        canvas_view->update();
}

void LMNWindowController::changeViewController(int index)
{
    if (index == 0 && first_view)
        first_view->show();
}

void LMNWindowController::Show_Hide_Main_Window(int flag)
{
    myTargetView->setVisible(flag == 1);
    Right_Prop_Box->setVisible(flag == 1);
}

void LMNWindowController::Show_Canvas_And_Right_Prop()
{
    Show_Hide_Main_Window(1);
}

void LMNWindowController::_setLabels()
{
    m_barcodeView->_setLabels_Barcode();
}

// ---------------------------------------------------------------- barcode mode

BarcodeSettings LMNWindowController::Barcode_Settings() const
{
    return m_barcodeView->Barcode_Settings();
}

void LMNWindowController::goButtonActionPerformed()
{
    m_barcodeView->goButtonActionPerformed();
}

int LMNWindowController::Encode_Count() const
{
    return m_barcodeView->Encode_Count();
}

void LMNWindowController::Set_Log_Name_In_Title()
{
    setWindowTitle(Barcode_Setting_Or_Designing_Mode == 0 ? tr("%1 - Barcode").arg(App_Name())
                                                          : tr("%1 - Design").arg(App_Name()));
}

// ---------------------------------------------------------------- modes

void LMNWindowController::tabView_didSelectTabViewItem(QTabWidget* tabView, int index)
{
    if (tabView == Barcode_mode_tab) {
        QWidget* t = Barcode_mode_tab->widget(index);
        if (t == Barcode_setting_tab) {
            Barcode_Setting_Or_Designing_Mode = 0;
            Set_Log_Name_In_Title();
            goButtonActionPerformed();
        } else if (t == Barcode_Design_tab) {
            Barcode_Setting_Or_Designing_Mode = 1;
            Set_Log_Name_In_Title();
        }
        return;
    }
    if (tabView == sett_tab && !Not_Draw_Only_Prop_Change_Get() && sett_tab->count() == 5) {
        // The card panel: remember the card tab the user chose.
        Last_Card_Sel_Tab = sett_tab->widget(index);
    }
}

void LMNWindowController::Barcode_Mode_Select()
{
    Barcode_Setting_Or_Designing_Mode = 0;
    Barcode_mode_tab->setCurrentIndex(0);
    Set_Log_Name_In_Title();
}

void LMNWindowController::Designing_Mode_Select()
{
    Barcode_Setting_Or_Designing_Mode = 1;
    Barcode_mode_tab->setCurrentIndex(Barcode_mode_tab->count() - 1);
    Set_Log_Name_In_Title();
}
