// Every question the main window asks before it throws work away, answered
// No (or Cancel): the question was asked, in its words, and nothing changed;
// then answered Yes, and the work is gone as the question said.
#include "MainWindowFixture.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNImage.h"
#include "core/model/Shape_Control.h"
#include "export/ExportTemplate.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/files/ToolPalette.h"
#include "mainwindow/panels/PanelSupport.h"
#include "mainwindow/panels/PropertyPanels.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLineEdit>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class ConfirmationsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text.trimmed();
            return answers.isEmpty() ? 0 : answers.takeFirst();
        });
        previousPanel = Set_File_Panel_Runner([this](const File_Panel_Request&) {
            ++panelsShown;
            return QString();
        });
    }
    void TearDown() override
    {
        Set_File_Panel_Runner(previousPanel);
        MainWindowTest::TearDown();
    }

    // The list menu's command of that name.
    QAction* listCommand(const QString& text)
    {
        for (QAction* a : window->barcodeModeView()->listSide()->list_menu->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << "no list command " << text.toStdString();
        return nullptr;
    }

    // A designing window with one shape placed by the user (the design changed).
    LMNWindowController& changedDesign()
    {
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        w.toolPalette()->Rect_Tool_Clicked();
        messages.clear();
        return w;
    }

    QList<int> answers;   // button indexes: Yes 0, No 1, Cancel 2
    int panelsShown = 0;
    File_Panel_Runner previousPanel;
};

const QString kClearList = QStringLiteral(
    "This option will clear the entire list contents. Are you sure you want to continue clearing the entire list?");

} // namespace

TEST_F(ConfirmationsTest, DeletingAllRowsAsksAndNoKeepsTheList)
{
    LMNWindowController& w = make();
    BarcodeListSide& side = *w.barcodeModeView()->listSide();
    side.list().Load_Rows({{QStringLiteral("A1"), QStringLiteral("h1"), QStringLiteral("f1"), "2"},
                           {QStringLiteral("A2"), QStringLiteral("h2"), QStringLiteral("f2"), "3"}});
    side.Reload_List();
    QAction* clear = listCommand(QStringLiteral("Delete all rows"));
    ASSERT_TRUE(clear);

    answers = {1};   // No
    clear->trigger();
    EXPECT_EQ(messages, QStringList{kClearList});
    ASSERT_EQ(side.list().count(), 2) << "No keeps every row";
    EXPECT_EQ(side.list().rows()[1].Value, QStringLiteral("A2"));
    EXPECT_EQ(side.list().rows()[1].Footer, QStringLiteral("f2"));
    EXPECT_EQ(side.list().rows()[1].PQ, QStringLiteral("3"));

    messages.clear();
    answers = {0};   // Yes
    clear->trigger();
    EXPECT_EQ(messages, QStringList{kClearList});
    EXPECT_TRUE(side.list().isEmpty());
}

TEST_F(ConfirmationsTest, ResettingAPicturesAdjustmentsAsksAndNoKeepsThem)
{
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    QTemporaryDir dir;
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(QColor(200, 40, 30));
    ASSERT_TRUE(red.save(dir.filePath(QStringLiteral("red.png"))));
    auto picture = std::make_shared<LMNImage>();
    picture->setFilePath(dir.filePath(QStringLiteral("red.png")));
    picture->setBounds(QRectF(10, 10, 80, 60));
    w.designModeView()->document()->insertGraphic(picture, 0);
    w.graphicView()->changeSelectionIndexes({0});
    w.graphicView()->_Selected_Graphic = picture.get();
    w.Show_RHS_Properties(picture.get());
    PicturePanel* panel = w.designModeView()->panels->image_tab;
    panel->Image_Gray_Scale_chk->click();
    panel->Sat_slidr->setValue(150);   // 1.5
    ASSERT_TRUE(picture->gray_Scale);
    ASSERT_FLOAT_EQ(picture->sat_val, 1.5f);
    const QImage adjusted = picture->_contents_with_settings.toImage(72);

    messages.clear();
    answers = {1};   // No
    panel->reset_btn->click();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Are you sure you want to continue?")});
    EXPECT_TRUE(picture->gray_Scale);
    EXPECT_FLOAT_EQ(picture->sat_val, 1.5f);
    EXPECT_TRUE(panel->Image_Gray_Scale_chk->isChecked()) << "the panel still shows the adjustments";
    EXPECT_EQ(picture->_contents_with_settings.toImage(72), adjusted);

    answers = {0};   // Yes
    panel->reset_btn->click();
    EXPECT_FALSE(picture->gray_Scale);
    EXPECT_FLOAT_EQ(picture->sat_val, 1.0f);
}

TEST_F(ConfirmationsTest, NewOpenAndCloseAskToSaveAndCancelKeepsTheDesign)
{
    const struct {
        const char* name;
        QAction* LMNWindowController::*command;
        QString question;
    } commands[] = {
        {"New", &LMNWindowController::New_btn, QStringLiteral("Do you want to save changes before opening new document?")},
        {"Open", &LMNWindowController::Open_btn, QStringLiteral("Do you want to save changes before opening document?")},
        {"Close", &LMNWindowController::Close_btn, QStringLiteral("Do you want to save changes?")},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        LMNWindowController& w = changedDesign();
        ASSERT_EQ(w.Get_Front_Control_Count(), 1);
        const QRectF placed = w.Get_Front_Controls_Array().first()->bounds();
        answers = {2};   // Cancel
        panelsShown = 0;
        (w.*c.command)->trigger();
        EXPECT_EQ(messages, QStringList{c.question});
        ASSERT_EQ(w.Get_Front_Control_Count(), 1) << "Cancel keeps the design";
        EXPECT_EQ(w.Get_Front_Controls_Array().first()->bounds(), placed);
        EXPECT_EQ(panelsShown, 0) << "nothing was opened or saved";
        EXPECT_TRUE(exitCodes.isEmpty());
        // Asked again: the design is still unsaved.
        messages.clear();
        answers = {2};
        (w.*c.command)->trigger();
        EXPECT_EQ(messages, QStringList{c.question});
    }
}

TEST_F(ConfirmationsTest, ExitAsksAndNoKeepsTheProgramRunning)
{
    // Whatever the save question, the exit question answered No ends nothing.
    LMNWindowController& w = make();
    answers = {1, 1};   // No (do not save), No (do not exit)
    w.Exit_btn->trigger();
    EXPECT_TRUE(messages.contains(QStringLiteral("Do you really want to exit?"))) << messages.join('|').toStdString();
    EXPECT_TRUE(exitCodes.isEmpty());
    // A changed design: save first? Cancel ends nothing either, and asks no more.
    LMNWindowController& d = changedDesign();
    answers = {2};   // Cancel
    d.Exit_btn->trigger();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Do you want to save changes before closing?")});
    EXPECT_TRUE(exitCodes.isEmpty());
    EXPECT_EQ(d.Get_Front_Control_Count(), 1);
}

TEST_F(ConfirmationsTest, SavingATemplateUnderAnExistingNameAsksAndNoKeepsTheOldOne)
{
    LMNWindowController& w = changedDesign();
    const QString path = User_Template_Path(QStringLiteral("Shelf edge"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the older template");
    }
    int asked = 0;
    ModalRunner previous = Set_Modal_Runner([&](QDialog& d) {
        if (auto* t = qobject_cast<Export_Template*>(&d)) {
            ++asked;
            t->template_name->setText(QStringLiteral("Shelf edge"));
            t->ok_btn->click();
            if (t->result() != 1)
                t->cancel_btn->click();
        }
        return d.result();
    });
    QAction* templateCommand = w.export_btn->menu()->actions().value(1);
    ASSERT_TRUE(templateCommand);
    answers = {1};   // No
    templateCommand->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(messages, QStringList{QStringLiteral(
                            "Template with this name already exists, Do you want to replace the existing template?")});
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("the older template"));
    kept.close();

    messages.clear();
    answers = {0};   // Yes
    templateCommand->trigger();
    EXPECT_TRUE(messages.contains(QStringLiteral("Template has been saved successfully.")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_NE(kept.readAll(), QByteArray("the older template"));
    Set_Modal_Runner(previous);
    QFile::remove(path);
}
