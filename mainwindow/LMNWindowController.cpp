// Start-up, layout, modes and lifetime of the main window.
#include "mainwindow/LMNWindowController.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/model/LMNImage.h"
#include "imagetools/filters/ImageProcesser.h"
#include "core/util/BatchServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/ServiceInterfaces.h"
#include "data/series/BatchWizard.h"
#include "data/series/Generate_List.h"
#include "data/series/Import_Wizard.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/EditCommands.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/files/FrameHooks.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/files/ToolPalette.h"
#include "mainwindow/help/HelpWindows.h"
#include "mainwindow/panels/PropertyPanels.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/LMNDocument.h"
#include "core/util/Helpers.h"
#include "platform/Paths.h"
#include "platform/WindowFit.h"
#include "mainwindow/AppLifetime.h"
#include "mainwindow/BarcodeListSide.h"
#include "barcode/generation/Barcode_Gen.h"
#include "data/BatchBinding.h"
#include "data/Data_From_Excel.h"
#include "data/SeriesStore.h"
#include "mainwindow/MainWindowSupport.h"
#include "imagetools/picture/Thumbnails.h"
#include "mainwindow/Stepper.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMimeData>
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
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QBoxLayout>

LMNWindowController* LMNWindowController::defaultInstance()
{
    return app_DefaultInstance(App_Services());
}

LMNWindowController* LMNWindowController::app_DefaultInstance(const Services& services)
{
    return dynamic_cast<LMNWindowController*>(services.Main_App_wnd);
}

LMNWindowController::LMNWindowController(Services& services, QWidget* parent)
    : QMainWindow(parent), m_services(services)
{
    init();
    buildWindow();
    awakeFromNib();
}

LMNWindowController::~LMNWindowController()
{
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance())
        disconnect(d, nullptr, this, nullptr);
    if (m_services.Main_App_wnd == this)
        m_services.Main_App_wnd = nullptr;
    if (m_services.Batch_Services == this)
        m_services.Batch_Services = nullptr;
}

// The controller's own state, before any widget exists.
void LMNWindowController::init()
{
    m_textCtrlFont = QApplication::font("QMenuBar").family();
    if (m_textCtrlFont.isEmpty())
        m_textCtrlFont = QStringLiteral("Arial");
    Folders.Resource_Path = Find_Resource_Path();
    Folders.Created_Resource_Path = Default_Created_Resource_Path();
    Create_Folder(Folders.Created_Resource_Path);   // checked when the window is set up

    Allowd_Image_fileTypes = {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"};
    m_selectedTool = 0;

    m_services.Main_App_wnd = this;
    m_services.Batch_Services = this;
    m_displayFilter = std::make_unique<Picture_Display_Filter_In_Place>(&Picture_Item_Displayed_Image);

    const QString res = Folders.Resource_Path + QStringLiteral("/");
    m_noImage = QImage(res + "no.png");
    banner_image = QImage(res + "banner.png");
    promotion_pattern_image = QImage(res + "pattern_1.jpg");
    m_signSampleImg = QImage(res + "sign_sample.png");
    m_fpSampleImg = QImage(res + "fingerprints.png");
    m_barcodeSampleImg = QImage(res + "barcode_sample.png");
    back_btn_image = QImage(res + "back-2.png");
    front_btn_image_sel = QImage(res + "front-sel.png");

}

// ---------------------------------------------------------------- layout

void LMNWindowController::buildWindow()
{
    setWindowTitle(App_Name());
    buildToolbar();

    Barcode_mode_tab = new QTabWidget(this);
    Barcode_mode_tab->setObjectName("Barcode_mode_tab");
    // The barcode tab scrolls its settings side itself on a low screen.
    m_barcodeView = new BarcodeModeView(Barcode_mode_tab);
    m_barcodeView->setObjectName("Barcode_setting_tab");
    Barcode_setting_tab = m_barcodeView;
    m_designView = new DesignModeView(*this, Barcode_mode_tab);
    m_designView->panels->Set_Log_Name_In_Title = [this] { Set_Log_Name_In_Title(); };
    m_designView->panels->Picture_Library = [this](const QString& mode) { return Open_Image_Library_Window(mode); };
    connect(this, &LMNWindowController::Series_List_Changed, m_designView->panels,
            &PropertyPanelHost::Refresh_Series_List);
    Barcode_Design_tab = m_designView;
    _graphicView = m_designView->_graphicView;
    _zoomingScrollView = m_designView->_zoomingScrollView;
    _grid = m_designView->grid();
    // The tool palette is a row under the design's own toolbar.
    m_tools = new Tool_Palette(*this, *m_designView, m_designView->myTargetView);
    if (auto* rows = qobject_cast<QBoxLayout*>(m_designView->myTargetView->layout()))
        rows->insertWidget(1, m_tools);
    m_tools->Browse_User_Image_Manually = [this] {
        File_Panel_Request r;
        r.kind = File_Panel_Request::Open;
        r.title = tr("Picture");
        r.extensions = Allowd_Image_fileTypes;
        r.filterName = tr("Pictures");
        const QString path = Run_File_Panel(r);
        return Image_Is_Over_Size(path, true, false) ? QString() : path;
    };
    connect(_graphicView, &LMNGraphicView::selectionChanged, m_tools, [this] {
        if (m_selectedTool == 0)
            m_tools->toolActions().first()->setChecked(true);
    });
    // The card's side at the end of the palette row: the card has one, the front.
    {
        auto* spacer = new QWidget(m_tools);
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        m_tools->addWidget(spacer);
        m_designView->Front_back_label = new QLabel(tr("Front"), m_tools);
        m_designView->Front_back_label->setObjectName(QStringLiteral("Front_back_label"));
        m_tools->addWidget(m_designView->Front_back_label);
        QAction* front = m_tools->addAction(QIcon(QPixmap::fromImage(front_btn_image_sel)), tr("Front side"));
        front->setObjectName(QStringLiteral("Front_Side_btn"));
        front->setToolTip(tr("Front side: the label's properties, on the tab shown last"));
        connect(front, &QAction::triggered, m_designView, &DesignModeView::Select_front_side);
        m_designView->Front_Side_btn = front;
    }
    m_edit = new Edit_Commands(*m_designView);
    Install_File_Command_Hooks(*this);
    Barcode_mode_tab->addTab(Barcode_setting_tab, tr("Barcode Settings"));
    Barcode_mode_tab->addTab(Barcode_Design_tab, tr("Designing"));
    setCentralWidget(Barcode_mode_tab);

    // Barcode mode's series lists follow the series folder.
    connect(this, &LMNWindowController::Series_List_Changed, m_barcodeView,
            [this] { m_barcodeView->listSide()->Refresh_All_Series_Combobox(); });

    connect(Barcode_mode_tab, &QTabWidget::currentChanged, this,
            [this](int index) { tabView_didSelectTabViewItem(Barcode_mode_tab, index); });
    installOutputCommands();
    // The canvas menu's "Label Background": the card's panel and the
    // background library; a picture chosen becomes the card's background.
    Card_Background_Command = [this] {
        Card_Prop_Clicked();
        m_designView->panels->Card_Image_Library_Btn();
    };
}

void LMNWindowController::buildToolbar()
{
    m_project = new Project_Commands(*this);
    Save_Current_Work = [this] { return m_project->Save_Current_Mode(); };
    main_toolbar = addToolBar(tr("Commands"));
    main_toolbar->setObjectName("main_toolbar");
    main_toolbar->setMovable(false);
    main_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    main_toolbar->setIconSize(QSize(22, 22));
    // The project commands of both modes.
    const auto project = [this](QAction*& a, const char* icon, const QString& text, const char* name,
                                QKeySequence keys, void (Project_Commands::*command)()) {
        a = main_toolbar->addAction(QIcon::fromTheme(QLatin1String(icon)), text);
        a->setObjectName(QLatin1String(name));
        if (!keys.isEmpty()) {
            a->setShortcut(keys);
            a->setToolTip(QStringLiteral("%1 (%2)").arg(text, keys.toString(QKeySequence::NativeText)));
        }
        connect(a, &QAction::triggered, m_project, command);
    };
    project(New_btn, "document-new", tr("New"), "New_btn", QKeySequence::New, &Project_Commands::New_Btn_Clicked);
    project(Open_btn, "document-open", tr("Open"), "Open_btn", QKeySequence::Open, &Project_Commands::Open_Btn_Clicked);
    project(Save_btn, "document-save", tr("Save"), "Save_btn", QKeySequence::Save, &Project_Commands::Save_Btn_Clicked);
    // Spelled out: desktops without a key scheme of their own (openbox and
    // other plain window managers) have no standard key for Save As.
    project(SaveAs_btn, "document-save-as", tr("Save As"), "SaveAs_btn", QKeySequence(tr("Ctrl+Shift+S")),
            &Project_Commands::SaveAs_Btn_Clicked);
    project(Close_btn, "document-close", tr("Close"), "Close_btn", QKeySequence(),
            &Project_Commands::Close_Document_Clicked);
    main_toolbar->addSeparator();
    // Commands that arrive with the printing, export, mail and picture
    // subsystems: present, and disabled until they are connected.
    const struct { const char* icon; const char* text; } commands[] = {
        {"document-print", "Print"},
        {"x-office-document", "PDF"},     {"document-export", "Export"},
        {"edit-copy", "Copy"},            {"mail-send", "E-mail"},
        {"view-list-details", "Series"},  {"insert-image", "Pictures"},
    };
    for (const auto& c : commands) {
        QAction* a = main_toolbar->addAction(QIcon::fromTheme(c.icon), tr(c.text));
        if (QLatin1String(c.text) == QLatin1String("Series")) {
            // The series manager, with the import wizard and the generator on its menu.
            series_btn = a;
            series_btn->setObjectName(QStringLiteral("series_btn"));
            series_btn->setToolTip(tr("Series: create, import, generate, edit and export series of values"));
            auto* menu = new QMenu(this);
            menu->addAction(tr("Series Manager..."), this, &LMNWindowController::Batch_Series_Button);
            menu->addAction(tr("Import Series..."), this, &LMNWindowController::Import_Wizard_Button);
            menu->addAction(tr("Generate Series..."), this, &LMNWindowController::Create_Series_Button);
            series_btn->setMenu(menu);
            if (auto* button = qobject_cast<QToolButton*>(main_toolbar->widgetForAction(series_btn)))
                button->setPopupMode(QToolButton::MenuButtonPopup);
            connect(series_btn, &QAction::triggered, this, &LMNWindowController::Batch_Series_Button);
            continue;
        }
        if (installOutputAction(a, QLatin1String(c.text)))
            continue;
        a->setEnabled(false);
        a->setToolTip(tr("%1 (not available yet)").arg(tr(c.text)));
        later_actions << a;
    }
    Units_btn = main_toolbar->addAction(QIcon::fromTheme(QStringLiteral("preferences-desktop")), tr("Units"));
    Units_btn->setObjectName(QStringLiteral("Units_btn"));
    Units_btn->setToolTip(tr("Measure in inches, centimetres or millimetres"));
    connect(Units_btn, &QAction::triggered, this, &LMNWindowController::doPreferences);
    main_toolbar->addSeparator();
    Help_btn = main_toolbar->addAction(QIcon::fromTheme(QStringLiteral("help-contents")), tr("Help"));
    Help_btn->setObjectName(QStringLiteral("Help_btn"));
    Help_btn->setShortcut(QKeySequence::HelpContents);
    connect(Help_btn, &QAction::triggered, this, &LMNWindowController::Help_Button);
    buildHelpMenu();
    if (QWidget* b = main_toolbar->widgetForAction(Help_btn))
        b->setMinimumSize(Toolbar_help::minSize());
    Exit_btn = main_toolbar->addAction(QIcon::fromTheme(QStringLiteral("application-exit")), tr("Exit"));
    Exit_btn->setObjectName(QStringLiteral("Exit_btn"));
    // Spelled out for the same reason as Save As: plain window managers have no standard Quit key.
    const QKeySequence quit(tr("Ctrl+Q"));
    Exit_btn->setShortcut(quit);
    Exit_btn->setShortcutContext(Qt::ApplicationShortcut);
    Exit_btn->setToolTip(tr("Exit (%1)").arg(quit.toString(QKeySequence::NativeText)));
    connect(Exit_btn, &QAction::triggered, this, &LMNWindowController::Exit_Btn_Clicked);
    buildLinkButtons();
}

void LMNWindowController::buildLinkButtons()
{
    auto* spacer = new QWidget(main_toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    main_toolbar->addWidget(spacer);
    const auto link = [this](QPushButton*& b, QAction*& place, const char* name, const QString& text,
                             const QString& tip, void (*open)()) {
        b = new QPushButton(text, main_toolbar);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        Style_Link_Button(b, QColor(219, 219, 219));
        connect(b, &QPushButton::clicked, this, [open] { open(); });
        place = main_toolbar->addWidget(b);
    };
    link(website_1, m_websiteAction, "website_1", tr("Web site"), tr("The maker's web site"), &Open_Website_1);
    link(support_id, m_supportAction, "support_id", tr("Support"), tr("Write to support"), &Open_Support_Mail);
    Refresh_Links();
}

void LMNWindowController::Refresh_Links()
{
    // Hidden through the toolbar's places: a toolbar shows its widgets as
    // its actions say.
    m_websiteAction->setVisible(!Help_Link(QStringLiteral("Help"), QStringLiteral("Website")).isEmpty());
    m_supportAction->setVisible(!Help_Link(QStringLiteral("Help"), QStringLiteral("Support")).isEmpty());
}

void LMNWindowController::Share_It_Button_Clicked()
{
    Open_Share_It_Dl();
}

void LMNWindowController::buildHelpMenu()
{
    // The help commands, and the maker's other products where the
    // installation names them (links.ini); a product not set up is hidden.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("Help_menu"));
    menu->addAction(tr("Help and Support..."), this, &LMNWindowController::Help_Button)
        ->setObjectName(QStringLiteral("Help_Support_btn"));
    menu->addAction(tr("User Help (PDF)"), this, [] { Help_Support::defaultInstance()->HelpFilePressed(); })
        ->setObjectName(QStringLiteral("User_Help_btn"));
    // The product's web pages, where the installation names them (its
    // addresses are read once: the resources do not change while it runs).
    QAction* pages = menu->addSeparator();
    const struct { const char* name; const char* key; const char* text; std::function<void()> open; } links[] = {
        {"Open_Website_2", "Website2", QT_TR_NOOP("Product Web Site"), &Open_Website_2},
        {"Open_Website_3", "Website3", QT_TR_NOOP("More from the Maker"), &Open_Website_3},
        {"Open_Share_It_Dl", "Comments", QT_TR_NOOP("Comments and Reviews"), [this] { Share_It_Button_Clicked(); }},
    };
    bool anyPage = false;
    for (const auto& l : links) {
        QAction* a = menu->addAction(tr(l.text), this, l.open);
        a->setObjectName(QLatin1String(l.name));
        a->setVisible(!Help_Link(QStringLiteral("Help"), QLatin1String(l.key)).isEmpty());
        anyPage = anyPage || a->isVisible();
    }
    pages->setVisible(anyPage);
    QAction* products = menu->addSeparator();
    const struct { const char* kind; const char* name; int (*open)(); } kinds[] = {
        {"S", "ZORV_SMS_Prmotion", &ZORV_SMS_Prmotion},
        {"R", "ZORV_Recovery_Prmotion", &ZORV_Recovery_Prmotion},
        {"B", "ZORV_Barcode_Prmotion", &ZORV_Barcode_Prmotion},
    };
    QList<QAction*> productActions;
    for (const auto& k : kinds) {
        QAction* a = menu->addAction(QString(), this, [open = k.open] { open(); });
        a->setObjectName(QLatin1String(k.name));
        a->setData(QLatin1String(k.kind));
        productActions << a;
    }
    connect(menu, &QMenu::aboutToShow, this, [products, productActions] {
        bool any = false;
        for (QAction* a : productActions) {
            const QString title = Promotion_Title(a->data().toString());
            a->setText(tr("%1...").arg(title));
            a->setVisible(!title.isEmpty());
            any = any || !title.isEmpty();
        }
        products->setVisible(any);
    });
    Help_btn->setMenu(menu);
    if (auto* button = qobject_cast<QToolButton*>(main_toolbar->widgetForAction(Help_btn)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

// ---------------------------------------------------------------- start-up

void LMNWindowController::awakeFromNib()
{
    setStyleSheet(QStringLiteral("QMainWindow { background: rgb(241, 244, 250); }"));
    // The window's frame takes the main screen's whole available area (what
    // the desktop's panels leave); the window manager fits the frame to it.
    // Restored from that, the window keeps a size that fits beside a panel.
    const QSize usable = Usable_Inside_Size();
    resize(qMin(1366, usable.width()), qMin(768, usable.height()));
    if (QGuiApplication::primaryScreen())
        setWindowState(windowState() | Qt::WindowMaximized);

    // The per-user data folder must exist: nothing can be kept without it.
    if (Folders.Created_Resource_Path.isEmpty() || !Create_Folder(Folders.Created_Resource_Path)
        || !QFileInfo(Folders.Created_Resource_Path).isWritable()) {
        m_startupOk = false;
        Main_Show_Message(QStringLiteral("Can not access Data file."));
        Terminate_Application(1);
        return;
    }
    Set_Data_Folder_Path(QDir(Folders.Created_Resource_Path).filePath(QStringLiteral("DataSet")));
    data_table_content.clear();

    // The rulers flip once to show (the canvas starts without them showing).
    m_designView->Show_Hide_Ruler_ChkBox();

    Not_Draw_Only_Prop_Change_Set(true);
    fillStartLists();
    {
        QComboBox* labels = m_designView->panels->card_size_tab->Label_ComboBox;
        labels->clear();
        labels->addItems(Label_List);
        labels->setCurrentIndex(0);
    }
    m_barcodeView->awakeFromNib();

    m_designView->panels->Measument_Unit_Is = 2;
    m_designView->panels->last_unit_val = 2;
    _setLabels();

    Not_Draw_Only_Prop_Change_Set(false);
    setPrintInfo(printInfo());
    // The canvas's scroll view gets its two rulers.
    m_designView->Give_Rulers();

    // The document's undo groups close at the end of each pass of the event loop.
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance())
        connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &LMNWindowController::Close_Document_Undo_Group);

    goButtonActionPerformed();
    New_Project_Setting_Reset(1);
    Show_RHS_Properties(nullptr);
    m_designView->Zoom_In_Toolbar_btn();
    m_designView->Set_Canvas_to_100_percent();
    Refresh_Canvas();
    changeViewController(0);
    Show_Hide_Main_Window(1);
    Invalid_Barcode_Data_Image_Picture = Image_For_invalid_Data(QRectF(0, 0, 200, 100));
    Install_Barcode_Dialog_Hooks();
}

// Lists the start-up code fills: label stock.
void LMNWindowController::fillStartLists()
{
    Label_List = QStringList{QStringLiteral("Custom")};
    const QDir pages(Folders.Resource_Path + QStringLiteral("/Formats/pages/"));
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
    if (!m_startupOk || m_mode != 0)
        return;
    goButtonActionPerformed();
}

void LMNWindowController::New_Project_Setting_Reset(int)
{
    try {
        Not_Draw_Only_Prop_Change_Set(true);
        // Only our own items leave the clipboard; what other programs put there stays.
        if (QClipboard* clipboard = QGuiApplication::clipboard()) {
            const QMimeData* data = clipboard->mimeData();
            if (data && data->hasFormat(LMNGraphicViewPasteboardType))
                clipboard->clear();
        }
        Check_Path_And_Create_Files_Now();
        m_designView->Reset_Design();
        m_project->Project_File_Name = QString("");
        Library_Selected_Image.clear();
        // A new design has no spreadsheet rows.
        if (Batch_Binding* b = binding()) {
            b->Clear_Delete_Excel_table_rows();
            b->setExcel_Source_Path(QString());
        }
        // The start option stays as it is: "T" from start-up until the
        // wizard, a file or a template sets another.
        Set_Log_Name_In_Title();
        Not_Draw_Only_Prop_Change_Set(false);
        Show_RHS_Properties(nullptr);
    } catch (const std::exception& e) {
        Not_Draw_Only_Prop_Change_Set(false);
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void LMNWindowController::changeViewController(int index)
{
    m_designView->changeViewController(index);
    if (index == 0)
        myCurrentViewController = m_designView->first_view;
}

void LMNWindowController::Show_Hide_Main_Window(int flag)
{
    m_designView->Show_Hide_Main_Window(flag);
}

void LMNWindowController::Show_Canvas_And_Right_Prop()
{
    Show_Hide_Main_Window(1);
}

QWidget* LMNWindowController::myTargetViewWidget() const
{
    return m_designView->myTargetView;
}

void LMNWindowController::doPreferences()
{
    if (m_mode != 0) {
        m_designView->doPreferences();
        return;
    }
    const int unit = Run_Units_Window(this, m_barcodeView->Measument_Unit_Is_Barcode);
    if (unit >= 0)
        OK_Unit_Change_For_Barcode(*m_barcodeView, unit);
}

void LMNWindowController::_setLabels()
{
    m_designView->panels->_setLabels();
    m_barcodeView->_setLabels_Barcode();
}

void LMNWindowController::Close_Document_Undo_Group()
{
    if (m_designView)
        m_designView->Close_Document_Undo_Group();
}

// ---------------------------------------------------------------- exit

bool LMNWindowController::Exit_App()
{
    if (Save_Current_Work) {
        const int answer = Show_YES_NO_Cancel_MessageBox(QStringLiteral("Do you want to save changes before closing?"));
        if (answer == Alert_First_Button) {
            // A save that was cancelled or failed keeps the window open.
            if (!Save_Current_Work())
                return false;
        } else if (answer != Alert_Second_Button) {
            return false;
        }
    }
    return Show_YES_NO_MessageBox(QStringLiteral("\nDo you really want to exit?"));
}

void LMNWindowController::Terminate_Application_Now()
{
    m_exitConfirmed = true;
    Terminate_Application(0);
}

void LMNWindowController::closeEvent(QCloseEvent* event)
{
    // The title bar's close button asks as Exit does.
    if (m_exitConfirmed || !m_startupOk) {
        event->accept();
        return;
    }
    if (Exit_App()) {
        m_exitConfirmed = true;
        event->accept();
        Terminate_Application(0);
    } else {
        event->ignore();
    }
}

// ---------------------------------------------------------------- services

Card_Property* LMNWindowController::Front_card_Prop() const
{
    return m_designView->Front_card_Prop();
}

double LMNWindowController::zoomFactor() const
{
    return m_designView->_zoomFactor;
}

void LMNWindowController::Card_Base_Drawing(QPainter& painter, const QRectF& rect)
{
    m_designView->Card_Base_Drawing(painter, rect);
}

void LMNWindowController::Card_Border_Drawing(QPainter& painter, const QRectF& rect)
{
    m_designView->Card_Border_Drawing(painter, rect);
}

QRectF LMNWindowController::graphicViewBounds() const
{
    return m_designView->graphicViewBounds();
}

void LMNWindowController::Set_Selected_Control_Tool(int tool)
{
    m_selectedTool = tool;
    // The palette shows the tool in force, also when the canvas ends a
    // creation by going back to the arrow.
    if (m_tools)
        m_tools->Show_Tool(tool);
    // A tool waiting for a mouse-down on the canvas shows the cross.
    if (LMNGraphicView* view = graphicView())
        view->setCursor(currentGraphicClass(tool) == LMNKind::Graphic ? Qt::ArrowCursor : Qt::CrossCursor);
}

void LMNWindowController::Refresh_Canvas()
{
    if (Card_Value_In_Process)
        return;
    m_designView->Refresh_Canvas();
}

QList<LMNGraphic*> LMNWindowController::Get_Front_Controls_Array() const
{
    return m_designView->document()->graphicsPointers();
}

QFont LMNWindowController::All_Text_font() const
{
    return m_designView->panels->card_info_tab->All_Text_font;
}

QColor LMNWindowController::All_Text_clr() const
{
    return m_designView->panels->card_info_tab->All_Text_clr->color();
}

void LMNWindowController::Reset_Image_Editing_Controls()
{
    m_designView->panels->Reset_Image_Editing_Controls();
}

void LMNWindowController::Set_Control_Pos_And_Size(LMNGraphic* item)
{
    // The fields show the item whose panel is shown.
    if (item && item == m_designView->panels->Last_Selected_Graphic)
        m_designView->panels->Set_Control_Pos_And_Size(*item);
}

void LMNWindowController::Insert_In_Undo_Redo()
{
    m_designView->Insert_In_Undo_Redo();
}

void LMNWindowController::Undo_Action_Perform()
{
    m_designView->Undo_Action_Perform();
}

void LMNWindowController::Redo_Action_Perform()
{
    m_designView->Redo_Action_Perform();
}

void LMNWindowController::Show_RHS_Properties(LMNGraphic* item)
{
    // Barcode mode draws no rubber band: the card panel shown from there
    // (after a print or PDF window) leaves nothing of the design selected.
    if (!item && m_mode == 0 && _graphicView)
        _graphicView->Clear_Control_Selection();
    m_designView->Show_RHS_Properties(item);
}

void LMNWindowController::Open_Barcode_Window()
{
    if (Barcode_Window_Command) {
        Barcode_Window_Command();
        return;
    }
    // The canvas's selected barcode item, edited as a copy in the barcode dialog.
    LMNGraphic* item = _graphicView ? _graphicView->_Selected_Graphic : nullptr;
    if (!item)
        item = m_designView->panels->Last_Selected_Graphic;
    if (!item || item->kind() != LMNKind::Barcode || item->Is_Control_Locked())
        return;
    Barcode_Gen* dialog = Barcode_Gen::defaultInstance();
    const std::unique_ptr<LMNGraphic> edited = dialog->Open_Wnd(*item);
    if (!edited) {
        Show_RHS_Properties(item);
        return;
    }
    Update_Barcode_Graphics(item, *edited, dialog->Barcode_Output_Image());
}

void LMNWindowController::Update_Barcode_Graphics(LMNGraphic* item, const LMNGraphic& edited,
                                                  const PtImage& Barcode_output_image)
{
    // The barcode panel writes the edited settings into every selected barcode
    // (the edited one included) and draws each again.
    if (item && _graphicView && !_graphicView->_Selected_Graphic)
        _graphicView->_Selected_Graphic = item;
    m_designView->panels->Update_Barcode_Graphics(edited, Barcode_output_image);
}

void LMNWindowController::Install_Barcode_Dialog_Hooks()
{
    Barcode_Gen* dialog = Barcode_Gen::defaultInstance();
    dialog->hooks.seriesNames = [] { return Series_Names(); };
    dialog->hooks.firstValueOfSeries = [](const QString& name) { return Get_First_Value_Of_Dataset(name); };
    dialog->hooks.offersSpreadsheet = [this](int itemSource) {
        return binding() && binding()->Offers_Spreadsheet_Source(itemSource);
    };
    dialog->hooks.spreadsheetColumns = [this] {
        return binding() ? binding()->excelRows().columnTitles() : QStringList();
    };
    dialog->hooks.firstValueOfColumn = [this](int column) {
        return binding() ? binding()->Get_First_Value_Of_Excel_Binding(column) : QString();
    };
    dialog->hooks.openSeries = [this](const QString& name) { Open_Series_Value_Box(name); };
    dialog->hooks.openSpreadsheet = [this] {
        Data_From_Excel* viewer = Data_From_Excel::defaultInstance();
        viewer->setRows(binding() ? &binding()->excelRows() : nullptr);
        viewer->Open_Wnd();
    };
}

void LMNWindowController::Set_Paste_Button_Status()
{
    m_designView->panels->Set_Paste_Button_Status();
}

void LMNWindowController::Set_Align_Buttons_Enabled(bool sameWidth, bool sameHeight, bool alignGrid)
{
    m_designView->Set_Align_Buttons_Enabled(sameWidth, sameHeight, alignGrid);
}

void LMNWindowController::Card_Prop_Clicked()
{
    Designing_Mode_Select();
    Show_RHS_Properties(nullptr);
}

void LMNWindowController::Card_Bckgrnd_Clicked()
{
    if (Card_Background_Command)
        Card_Background_Command();
}

void LMNWindowController::Lock_Clicked()
{
    m_designView->Lock_Clicked();
}

void LMNWindowController::Unlock_Clicked()
{
    m_designView->Unlock_Clicked();
}

void LMNWindowController::Export_Button()
{
    if (Export_Command)
        Export_Command();
}

void LMNWindowController::Print_Button()
{
    if (Print_Command)
        Print_Command();
}

void LMNWindowController::Barcode_Mail_Send()
{
    if (Mail_Command)
        Mail_Command();
}

bool LMNWindowController::isWindowCommandAvailable(WindowCommand command) const
{
    switch (command) {
    case WindowCommand::CardProperties: return true;
    case WindowCommand::CardBackground: return bool(Card_Background_Command);
    case WindowCommand::Export: return bool(Export_Command);
    case WindowCommand::Mail: return bool(Mail_Command);
    case WindowCommand::Print: return bool(Print_Command);
    }
    return false;
}

QWidget* LMNWindowController::Send_Models_Window() const
{
    return m_services.Send_Modeless_Var ? m_services.Send_Modeless_Var->Send_Models_Window() : nullptr;
}

QStringList LMNWindowController::Barcode_Mode_Series_Names() const
{
    return m_barcodeView->listSide()->Series_Names_In_Use();
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
    if (m_project && m_designView)
        setWindowTitle(m_project->Window_Title());
    else
        setWindowTitle(App_Name());
}

void LMNWindowController::Help_Button()
{
    try {
        Help_Support::defaultInstance()->Open_Wnd();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- modes

void LMNWindowController::tabView_didSelectTabViewItem(QTabWidget* tabView, int index)
{
    if (tabView != Barcode_mode_tab)
        return;
    QWidget* t = Barcode_mode_tab->widget(index);
    if (t == Barcode_setting_tab) {
        m_mode = 0;
        Set_Log_Name_In_Title();
        goButtonActionPerformed();
    } else if (t == Barcode_Design_tab) {
        m_mode = 1;
        Set_Log_Name_In_Title();
    }
}

void LMNWindowController::Barcode_Mode_Select()
{
    m_mode = 0;
    Barcode_mode_tab->setCurrentIndex(0);
    Set_Log_Name_In_Title();
}

void LMNWindowController::Designing_Mode_Select()
{
    m_mode = 1;
    Barcode_mode_tab->setCurrentIndex(Barcode_mode_tab->count() - 1);
    Set_Log_Name_In_Title();
}

// ---------------------------------------------------------------- series tools

void LMNWindowController::Batch_Series_Button()
{
    BatchWizard::defaultInstance()->Open_Wnd();
    Refresh_All_Series_Combobox();
}

void LMNWindowController::Import_Wizard_Button()
{
    Import_Wizard* wizard = Import_Wizard::defaultInstance();
    wizard->file_name_required = 1;
    wizard->file_name_Insert = 0;
    wizard->Open_Wnd();
    Refresh_All_Series_Combobox();
}

void LMNWindowController::Create_Series_Button()
{
    Generate_List* generator = Generate_List::defaultInstance();
    generator->file_name_required = 1;
    generator->file_name_Insert = 0;
    generator->Open_Wnd();
    Refresh_All_Series_Combobox();
}

void LMNWindowController::Refresh_All_Series_Combobox()
{
    emit Series_List_Changed();
}
