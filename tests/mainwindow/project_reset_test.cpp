// What a new project, Close and start-up leave in the real main window: New
// in barcode mode chooses no series, Close and its card wizard keep the mode
// the user is in, a design saved from the start-up canvas keeps the start
// option "T", the window fills the screen's available area, and the link
// buttons and commands show exactly when the installation gives an address.
#include "MainWindowFixture.h"

#include "barcode/generation/panes/ValuePane.h"
#include "common/ScopedFolders.h"
#include "common/TestSupport.h"
#include "core/model/Card_Property.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/help/HelpWindows.h"
#include "platform/Paths.h"
#include "platform/Plist.h"
#include "platform/WindowFit.h"
#include "print/Card_Wizard.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

namespace {

class ProjectResetTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        // Message boxes answer from `answers` (0 Yes, 1 No, 2 Cancel), the
        // first button when none is left.
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text;
            return answers.isEmpty() ? 0 : answers.takeFirst();
        });
        previousPanel = Set_File_Panel_Runner([this](const File_Panel_Request&) {
            return paths.isEmpty() ? QString() : paths.takeFirst();
        });
        previousRunner = Set_Modal_Runner([this](QDialog& d) {
            dialogs << QString::fromLatin1(d.metaObject()->className());
            return wizard ? wizard(d) : 0;
        });
    }
    void TearDown() override
    {
        Set_File_Panel_Runner(previousPanel);
        Set_Modal_Runner(previousRunner);
        MainWindowTest::TearDown();
    }

    // A series list chosen as the user does: the entry clicked.
    static void Choose(QComboBox* combo, const QString& text)
    {
        const int at = combo->findText(text);
        ASSERT_GE(at, 0) << text.toStdString();
        combo->setCurrentIndex(at);
        emit combo->activated(at);
    }

    // What the series side shows: each list's entry, each item list's row
    // and whether it can be opened, and the value field.
    std::string Series_Shown() const
    {
        const BarcodeListSide& side = *window->barcodeModeView()->listSide();
        QStringList parts;
        for (QComboBox* names : {side.val_combo_list, side.hdr_combo_list, side.ftr_combo_list})
            parts << names->currentText();
        for (QComboBox* items : {side.val_combo_value, side.hdr_combo_value, side.ftr_combo_value})
            parts << QStringLiteral("%1%2").arg(items->currentIndex()).arg(items->isEnabled() ? "" : "(off)");
        parts << window->barcodeModeView()->valuePane()->fieldText(ValuePane::Field::Value);
        return parts.join(QLatin1Char('|')).toStdString();
    }

    QTemporaryDir dir;
    QList<int> answers;
    QStringList paths;
    QStringList dialogs;
    std::function<int(QDialog&)> wizard;
    File_Panel_Runner previousPanel;
    ModalRunner previousRunner;
};

// A resources folder as shipped but for its links.ini, given to the windows
// made while it lives.
class Configured_Resources {
public:
    explicit Configured_Resources(const QByteArray& links)
    {
        const QDir shipped(Folders.Resource_Path.isEmpty() ? Default_Resource_Path() : Folders.Resource_Path);
        for (const QString& name : shipped.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            if (name != QLatin1String("links.ini"))
                QFile::link(shipped.filePath(name), dir.filePath(name));
        testsupport::touch(dir.filePath(QStringLiteral("links.ini")), links);
        saved = qgetenv("ZL_RESOURCE_DIR");
        qputenv("ZL_RESOURCE_DIR", dir.path().toLocal8Bit());
    }
    ~Configured_Resources()
    {
        if (saved.isEmpty())
            qunsetenv("ZL_RESOURCE_DIR");
        else
            qputenv("ZL_RESOURCE_DIR", saved);
    }

private:
    QTemporaryDir dir;
    QByteArray saved;
    testsupport::Scoped_Folders folders;
};

} // namespace

// New in barcode mode leaves every series list on "<--Select-->" and every
// item list without a row and closed: a series chosen before is gone when
// the user takes series again, and a settings file that names one brings it.
TEST_F(ProjectResetTest, NewInBarcodeModeChoosesNoSeries)
{
    testsupport::Scoped_Folders folders;
    LMNWindowController& w = make();
    folders->Data_Folder_Path = dir.filePath(QStringLiteral("series"));
    QDir().mkpath(folders->Data_Folder_Path);
    testsupport::touch(QDir(folders->Data_Folder_Path).filePath("A.txt"), "A1\nA2\n");
    testsupport::touch(QDir(folders->Data_Folder_Path).filePath("B.txt"), "B1\nB2\nB3\n");
    w.Barcode_Mode_Select();
    w.Refresh_All_Series_Combobox();
    BarcodeListSide& side = *w.barcodeModeView()->listSide();
    side.data_source_chkbox->click();
    side.Data_Set_Sheet_RD->click();
    Choose(side.val_combo_list, "A");
    Choose(side.hdr_combo_list, "B");
    ASSERT_EQ(Series_Shown(), "A|B|<--Select-->|0|0|-1|A1");
    const QString saved = dir.filePath(QStringLiteral("series.dbs"));
    paths << saved;
    w.Save_btn->trigger();
    ASSERT_TRUE(QFile::exists(saved));

    answers = {1};   // no saving
    w.New_btn->trigger();
    EXPECT_TRUE(dialogs.isEmpty()) << "New in barcode mode opens no wizard";
    EXPECT_FALSE(side.data_source_chkbox->isChecked());
    EXPECT_EQ(Series_Shown(), "<--Select-->|<--Select-->|<--Select-->|-1(off)|-1(off)|-1(off)|123456789012");
    EXPECT_EQ(side.Source_State().valueSeries, QString());
    EXPECT_EQ(side.Source_State().headerSeries, QString());

    // Batch on, series: nothing is chosen, the value is no series' value.
    side.data_source_chkbox->click();
    side.Data_Set_Sheet_RD->click();
    EXPECT_EQ(Series_Shown(), "<--Select-->|<--Select-->|<--Select-->|-1(off)|-1(off)|-1(off)|");
    EXPECT_TRUE(w.Barcode_Mode_Series_Names().isEmpty());
    // A series chosen opens its item list.
    Choose(side.val_combo_list, "B");
    EXPECT_EQ(Series_Shown(), "B|<--Select-->|<--Select-->|0|-1(off)|-1(off)|B1");

    // The file saved before brings its series back, their items open.
    answers = {1};
    w.New_btn->trigger();
    answers = {1};
    paths << saved;
    w.Open_btn->trigger();
    EXPECT_EQ(Series_Shown(), "A|B|<--Select-->|0|0|-1(off)|A1");
}

// Close (and its card wizard, OK or Cancel) starts a new design and leaves
// the mode as it was: from barcode mode the barcode tab stays in front.
TEST_F(ProjectResetTest, CloseKeepsTheModeTheUserIsIn)
{
    LMNWindowController& w = make();
    w.Barcode_Mode_Select();
    w.Front_card_Prop()->Card_Name = QStringLiteral("Old");
    wizard = [](QDialog& d) {
        auto* cards = qobject_cast<Card_Wizard*>(&d);
        if (!cards)
            return 0;
        cards->card_name->setText(QStringLiteral("Shelf"));
        return 1;
    };
    answers = {1};
    w.Close_btn->trigger();
    EXPECT_EQ(dialogs, QStringList{"Card_Wizard"});
    EXPECT_EQ(w.Front_card_Prop()->Card_Name, QStringLiteral("Shelf")) << "the wizard's card is the design";
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 0);
    EXPECT_EQ(w.Barcode_mode_tab->currentWidget(), w.Barcode_setting_tab);
    EXPECT_EQ(w.windowTitle(), w.App_Name()) << "the barcode mode's title";

    // Cancel in the wizard: the empty new design, still barcode mode.
    wizard = [](QDialog&) { return 0; };
    answers = {1};
    w.Close_btn->trigger();
    EXPECT_EQ(w.Front_card_Prop()->Card_Name, QStringLiteral("Untitled"));
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 0);
    EXPECT_EQ(w.Barcode_mode_tab->currentWidget(), w.Barcode_setting_tab);

    // The design tab then shows the new design's area.
    w.Barcode_mode_tab->setCurrentWidget(w.Barcode_Design_tab);
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 1);
    EXPECT_TRUE(w.designModeView()->myTargetView->isVisibleTo(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("%1 ( Untitled )").arg(w.App_Name()));
}

// The start-up canvas is a template start: saved, its start option is "T",
// and so it reads back.
TEST_F(ProjectResetTest, ADesignSavedAtStartUpKeepsTheStartOptionT)
{
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    const QString path = dir.filePath(QStringLiteral("first.dbs"));
    paths << path;
    w.Save_btn->trigger();
    const std::optional<QVariant> root = Plist_Read_File(path);
    ASSERT_TRUE(root.has_value());
    ASSERT_GE(root->toList().size(), 3);
    EXPECT_EQ(root->toList().at(2).toString(), QStringLiteral("T"));

    // Opened in a window made afresh, the design says "T" too.
    window.reset();
    LMNWindowController& again = make();
    again.Designing_Mode_Select();
    again.Set_Start_Card_Option(QStringLiteral("W"));
    answers = {1};
    paths << path;
    again.Open_btn->trigger();
    EXPECT_EQ(again.Start_Card_Option(), QStringLiteral("T"));
}

// The main window's frame is the main screen's available area.
TEST_F(ProjectResetTest, TheWindowFillsTheScreensAvailableArea)
{
    LMNWindowController& w = make();
    w.applicationDidFinishLaunching();
    QApplication::processEvents();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(w.frameGeometry(), screen->availableGeometry());
    w.hide();
}

// As shipped no address is set: no link button and no link command shows.
TEST_F(ProjectResetTest, WithoutAddressesNoLinkShows)
{
    LMNWindowController& w = make();
    w.show();
    EXPECT_FALSE(w.website_1->isVisibleTo(&w));
    EXPECT_FALSE(w.support_id->isVisibleTo(&w));
    QMenu* menu = w.Help_btn->menu();
    emit menu->aboutToShow();
    for (const char* name : {"Open_Website_2", "Open_Website_3", "Open_Share_It_Dl"}) {
        QAction* a = menu->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->isVisible()) << name;
    }
    w.hide();
}

// An installation that gives addresses: the web site and support buttons
// show beside the toolbar and the help menu offers the product's pages;
// each opens its own address.
TEST_F(ProjectResetTest, ConfiguredAddressesShowTheirLinksAndOpenThem)
{
    Configured_Resources resources("[Help]\nWebsite=https://example.org/\nSupport=help@example.org\n"
                                   "Website2=https://example.org/label\nComments=https://example.org/comments\n");
    LMNWindowController& w = make();
    w.show();
    QStringList opened;
    const auto savedOpen = Open_Link_Address;
    Open_Link_Address = [&opened](const QString& a) {
        opened << a;
        return true;
    };
    ASSERT_TRUE(w.website_1->isVisibleTo(&w));
    ASSERT_TRUE(w.support_id->isVisibleTo(&w));
    // Beside every command: at its normal size (a 1366 x 768 screen) the
    // toolbar hides none behind its extension arrow.
    w.setWindowState(Qt::WindowNoState);
    QApplication::processEvents();
    ASSERT_LE(Frame_Size_Of(w.size()).height(), 768 - Desktop_Panel_Height);
    const auto* more = w.main_toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    EXPECT_TRUE(!more || !more->isVisible());
    EXPECT_TRUE(w.website_1->isVisible());
    EXPECT_EQ(w.website_1->cursor().shape(), Qt::OpenHandCursor);
    w.website_1->click();
    w.support_id->click();
    QMenu* menu = w.Help_btn->menu();
    emit menu->aboutToShow();
    const auto action = [menu](const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); };
    EXPECT_TRUE(action("Open_Website_2")->isVisible());
    EXPECT_FALSE(action("Open_Website_3")->isVisible()) << "its address is empty";
    EXPECT_TRUE(action("Open_Share_It_Dl")->isVisible());
    action("Open_Website_2")->trigger();
    action("Open_Share_It_Dl")->trigger();
    Open_Link_Address = savedOpen;
    EXPECT_EQ(opened, (QStringList{"https://example.org/", "mailto:help@example.org", "https://example.org/label",
                                   "https://example.org/comments"}));
    w.hide();
}
