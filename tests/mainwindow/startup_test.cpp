// The main window after start-up, a start-up that cannot make its data
// folder, and the two mode tabs.
#include "MainWindowFixture.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/panels/PropertyPanels.h"
#include <QScrollArea>

#include "core/util/BarcodeSettings.h"
#include "core/util/SharedValues.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "mainwindow/MainWindowSupport.h"

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
    EXPECT_EQ(Main_App_wnd, &w);
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
