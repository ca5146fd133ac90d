// The main window after start-up, a start-up that cannot make its data
// folder, and the two mode tabs.
#include "MainWindowFixture.h"
#include "common/FakeServices.h"
#include "core/util/ServiceInterfaces.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/panels/PropertyPanels.h"
#include <QScrollArea>

#include "core/util/BarcodeSettings.h"
#include "core/util/SharedValues.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/units/Units.h"
#include "core/model/LMNDocument.h"
#include "core/model/Shape_Control.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>

TEST_F(MainWindowTest, StartsInBarcodeModeWithTheDefaults)
{
    LMNWindowController& w = make();
    ASSERT_TRUE(w.startupSucceeded());
    EXPECT_TRUE(exitCodes.isEmpty());
    EXPECT_EQ(App_Services().Main_App_wnd, &w);
    EXPECT_EQ(LMNWindowController::defaultInstance(), &w);

    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 0);
    EXPECT_EQ(w.Barcode_mode_tab->currentWidget(), w.Barcode_setting_tab);
    BarcodeModeView& b = *w.barcodeModeView();
    EXPECT_EQ(ctl<QLineEdit>("dataText")->text(), "123456789012");
    EXPECT_EQ(ctl<QPlainTextEdit>("dataText_2D")->toPlainText(), "123456789012");
    EXPECT_EQ(ctl<QLineEdit>("HeaderText")->text(), "HEADER");
    EXPECT_EQ(ctl<QLineEdit>("FooterText")->text(), "FOOTER");
    EXPECT_EQ(b.Measument_Unit_Is_Barcode, 1);
    EXPECT_EQ(w.designModeView()->panels->Measument_Unit_Is, 2);
    EXPECT_DOUBLE_EQ(w.zoomFactor(), 1.0);
    EXPECT_EQ(b.liner_or_2D_font, 0);
    EXPECT_TRUE(ctl<QLabel>("bar_height_label")->text().contains("(cm)"));

    // The preview was built from the defaults, and the settings source of
    // barcode mode is the window's own value.
    EXPECT_FALSE(b.Preview_Is_Blank());
    EXPECT_TRUE(b.testBarcodeExists());
    const BarcodeSettings s = Current_Barcode_Settings();
    EXPECT_EQ(s.dataText, "123456789012");
    EXPECT_EQ(s.HeaderText, "HEADER");
    EXPECT_EQ(s.barcodeType, ctl<QComboBox>("barcodeTypePopup")->currentText());
    EXPECT_EQ(s.unit, 1);

    // Per-user folders of a new project.
    ASSERT_FALSE(Folders.Created_Resource_Path.isEmpty());
    for (const char* sub : {"DataSet", "Cropped_Images", "CustomProductLabel", "PrintProfile"})
        EXPECT_TRUE(QFileInfo(QDir(Folders.Created_Resource_Path).filePath(sub)).isDir()) << sub;
    EXPECT_EQ(QDir::cleanPath(Folders.Data_Folder_Path), QDir(Folders.Created_Resource_Path).filePath("DataSet"));

    // Lists filled in code.
    EXPECT_EQ(ctl<QComboBox>("qr_version_ComboBox")->count(), 41);
    EXPECT_EQ(ctl<QComboBox>("qr_version_ComboBox")->itemText(0), "Auto");
    EXPECT_EQ(ctl<QComboBox>("qr_version_ComboBox")->itemText(40), "V40");
    EXPECT_EQ(ctl<QComboBox>("dm_format_ComboBox")->count(), 31);
    EXPECT_EQ(ctl<QComboBox>("dm_format_ComboBox")->itemText(30), "C16X48");
    EXPECT_EQ(ctl<QComboBox>("dm_encoding_ComboBox")->count(), 5);
    EXPECT_EQ(ctl<QComboBox>("align_hdr_combo")->currentText(), "Center");
    EXPECT_EQ(w.Label_List.value(0), "Custom");

    // The type popup lists the 22 names; the DPI choice is hidden for a linear type.
    EXPECT_EQ(ctl<QComboBox>("barcodeTypePopup")->count(), 22);
    EXPECT_LT(b.sett_tab_barcode->indexOf(b.dpi_tab_item), 0);
    // The four card panels under "Label Properties"; later commands are there but disabled.
    EXPECT_EQ(w.designModeView()->panels->sett_tab->count(), 4);
    EXPECT_EQ(w.designModeView()->panels->properties_title->text(), "Label Properties");
    // (Every command may have arrived: then there is none left to grey out.)
    for (QAction* a : w.later_actions)
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    // Designing mode's canvas: an empty new design at 100 %.
    ASSERT_NE(w.graphicView(), nullptr);
    EXPECT_EQ(w.Get_Front_Control_Count(), 0);
    ASSERT_NE(w._zoomingScrollView, nullptr);
    EXPECT_DOUBLE_EQ(w._zoomingScrollView->factor(), 1.0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindowTest, ResizingRegeneratesOnlyInBarcodeMode)
{
    LMNWindowController& w = make();
    int encodes = w.Encode_Count();
    w.screenResize();
    EXPECT_EQ(w.Encode_Count(), ++encodes);
    w.Designing_Mode_Select();
    w.screenResize();
    EXPECT_EQ(w.Encode_Count(), encodes);
}

TEST_F(MainWindowTest, DataFolderThatCannotBeMadeEndsCleanly)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // A plain file where a parent folder should be: the data folder cannot be made.
    const QString blocker = tmp.filePath("not-a-folder");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (blocker + "/data").toLocal8Bit());

    LMNWindowController& w = make();

    qputenv("XDG_DATA_HOME", oldHome);
    EXPECT_FALSE(w.startupSucceeded());
    ASSERT_EQ(exitCodes.size(), 1);
    EXPECT_NE(exitCodes.first(), 0);
    EXPECT_TRUE(sawMessage("Can not access Data file."));
    // Nothing after the failure ran: no barcode was made.
    EXPECT_EQ(w.Encode_Count(), 0);
}

// What one window leaves behind never reaches the next: mode, units, undo
// history, file name, start option, card shape, the library's picture and
// the new-item cascade belong to the window.
TEST_F(MainWindowTest, AWindowMadeAfterAnotherStartsFromItsOwnState)
{
    struct State {
        int mode, barcodeUnit, designUnit, undo, shape;
        QString file, start, picture;
        QPointF next;
        int settingsUnit;   // of the settings the engines are given
        bool operator==(const State&) const = default;
    };
    const auto state = [](LMNWindowController& w) {
        return State{w.Barcode_Setting_Or_Designing_Mode(), w.barcodeModeView()->Measument_Unit_Is_Barcode,
                     w.designModeView()->panels->Measument_Unit_Is, w.designModeView()->Get_Undo_Count(),
                     w.Card_Shape, w.projectCommands()->Project_File_Name, w.Start_Card_Option(),
                     w.Library_Selected_Image, QPointF(w.last_ctrl_X, w.last_ctrl_Y), Current_Barcode_Settings().unit};
    };
    const State fresh = state(make());

    LMNWindowController& first = *window;
    OK_Unit_Change_For_Barcode(*first.barcodeModeView(), 2);
    first.Designing_Mode_Select();
    first.designModeView()->Apply_Unit_Choice(0);
    first.designModeView()->document()->insertGraphic(std::make_shared<Shape_Control>(), 0);
    first.Insert_In_Undo_Redo();
    first.Card_Shape = 2;
    first.projectCommands()->Project_File_Name = QStringLiteral("/tmp/first.dbs");
    first.Set_Start_Card_Option(QStringLiteral("G"));
    first.Library_Selected_Image = QStringLiteral("/tmp/picture.png");
    first.Control_New_Point(QStringLiteral("F"));
    ASSERT_FALSE(state(first) == fresh);

    window.reset();
    LMNWindowController& second = make();
    const State now = state(second);
    EXPECT_EQ(now.mode, fresh.mode);
    EXPECT_EQ(now.barcodeUnit, fresh.barcodeUnit);
    EXPECT_EQ(now.designUnit, fresh.designUnit);
    EXPECT_EQ(now.undo, fresh.undo);
    EXPECT_EQ(now.shape, fresh.shape);
    EXPECT_EQ(now.file, fresh.file);
    EXPECT_EQ(now.start, fresh.start);
    EXPECT_EQ(now.picture, fresh.picture);
    EXPECT_EQ(now.next, fresh.next);
    EXPECT_EQ(now.settingsUnit, fresh.settingsUnit);
}

TEST_F(MainWindowTest, ModeTabsSwitchTheModeFlag)
{
    LMNWindowController& w = make();
    const int encodes = w.Encode_Count();

    w.Barcode_mode_tab->setCurrentWidget(w.Barcode_Design_tab);
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 1);
    EXPECT_EQ(w.Encode_Count(), encodes);          // the design tab regenerates nothing

    w.Barcode_mode_tab->setCurrentWidget(w.Barcode_setting_tab);
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 0);
    EXPECT_EQ(w.Encode_Count(), encodes + 1);      // the barcode tab regenerates

    w.Designing_Mode_Select();
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 1);
    EXPECT_EQ(w.Barcode_mode_tab->currentWidget(), w.Barcode_Design_tab);
    w.Barcode_Mode_Select();
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 0);
    EXPECT_EQ(w.Barcode_mode_tab->currentWidget(), w.Barcode_setting_tab);

    w.Show_Hide_Main_Window(2);
    EXPECT_TRUE(w.designModeView()->myTargetView->isHidden());
    EXPECT_TRUE(w.designModeView()->Right_Prop_Box->isHidden());
    w.Show_Canvas_And_Right_Prop();
    EXPECT_FALSE(w.designModeView()->myTargetView->isHidden());
}

namespace {
class Progress_Double : public Send_Modeless {
public:
    QWidget* Send_Models_Window() override { return &sheet; }
    QWidget sheet;
};
}

// The main window works from the services struct it is handed: it enters
// itself there while it lives, shows jobs' progress in the struct's progress
// window, and leaves nothing of itself behind when it is closed.
TEST_F(MainWindowTest, TheWindowEntersTheServicesItIsHandedAndLeavesThemClean)
{
    Progress_Double progress;
    services->Send_Modeless_Var = &progress;
    services->Main_App_wnd = nullptr;
    services->Batch_Services = nullptr;

    LMNWindowController& w = make();
    EXPECT_EQ(services->Main_App_wnd, static_cast<MainWindowServices*>(&w));
    EXPECT_EQ(services->Batch_Services, static_cast<BatchServices*>(&w));
    EXPECT_EQ(w.Send_Models_Window(), &progress.sheet);

    window.reset();
    EXPECT_EQ(services->Main_App_wnd, nullptr);
    EXPECT_EQ(services->Batch_Services, nullptr);
    EXPECT_EQ(services->Send_Modeless_Var, &progress);   // not the window's to clear
}
