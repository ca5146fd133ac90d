// The output commands as the user reaches them in the main window: the
// toolbar's Export, PDF, Copy, E-mail and Pictures, and the canvas menu.
#include "MainWindowFixture.h"
#include "common/FakeServices.h"
#include "common/TestSupport.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/ServiceInterfaces.h"
#include "core/util/SharedValues.h"
#include "export/ProgressWindow.h"
#include "export/mail/EmailSetting.h"
#include "export/mail/SendMail.h"
#include "core/util/Helpers.h"
#include "imagetools/crop/Cropping_Tool.h"
#include "imagetools/library/Image_Library.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Dialogs run by the scripted runner: each is handed to the first handler
// that takes its class; anything else ends with 0.
class DialogScript {
public:
    DialogScript()
    {
        m_previous = Set_Modal_Runner([this](QDialog& d) {
            seen << QString::fromLatin1(d.metaObject()->className());
            for (auto& h : handlers)
                if (h(d))
                    return d.result();
            return 0;
        });
    }
    ~DialogScript() { Set_Modal_Runner(m_previous); }
    template <class T>
    void on(std::function<void(T&)> f)
    {
        handlers.push_back([f](QDialog& d) {
            if (auto* t = qobject_cast<T*>(&d)) {
                f(*t);
                return true;
            }
            return false;
        });
    }
    QStringList seen;
    std::vector<std::function<bool(QDialog&)>> handlers;

private:
    ModalRunner m_previous;
};

class OutputCommandsTest : public MainWindowTest {};

TEST_F(OutputCommandsTest, ToolbarOffersTheOutputCommandsAndCopyOnlyInBarcodeMode)
{
    LMNWindowController& w = make();
    for (QAction* a : {w.print_btn, w.pdf_btn, w.export_btn, w.copy_btn, w.mail_btn, w.pictures_btn}) {
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
        EXPECT_FALSE(w.later_actions.contains(a)) << a->text().toStdString();
    }
    w.Designing_Mode_Select();
    EXPECT_FALSE(w.copy_btn->isEnabled());
    w.Barcode_Mode_Select();
    EXPECT_TRUE(w.copy_btn->isEnabled());
    // The invalid-data picture the jobs put in place of a row without a barcode:
    // "Invalid Data" in red on 200 x 100 points.
    const PtImage invalid = w.Invalid_Barcode_Data_Image();
    EXPECT_EQ(invalid.size(), QSizeF(200, 100));
    const QImage pixels = invalid.toImage(72);
    int red = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            red += qAlpha(pixels.pixel(x, y)) > 128 && qRed(pixels.pixel(x, y)) > 150 && qGreen(pixels.pixel(x, y)) < 80;
    EXPECT_GT(red, 20);
    // The Export button's menu holds the template command, E-mail's the settings.
    ASSERT_NE(w.export_btn->menu(), nullptr);
    EXPECT_EQ(w.export_btn->menu()->actions().value(1)->text(), "Save Design as Template...");
    EXPECT_EQ(w.mail_btn->menu()->actions().value(1)->text(), "E-mail Settings...");
}

TEST_F(OutputCommandsTest, CopyPutsTheCurrentBarcodeOnTheClipboard)
{
    LMNWindowController& w = make();
    chooseType(QStringLiteral("Code 128"));
    ctl<QLineEdit>("dataText")->setText(QStringLiteral("CLIP-42"));
    w.goButtonActionPerformed();
    QApplication::clipboard()->clear();
    w.copy_btn->trigger();
    ASSERT_TRUE(sawMessage(QStringLiteral("Barcode is copied successfully.")));
    // It names the kinds of program it pastes into, not another system's.
    EXPECT_TRUE(sawMessage(QStringLiteral("word processor, a spreadsheet or a drawing program")));
    EXPECT_FALSE(sawMessage(QStringLiteral("TextEdit")));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->data(QStringLiteral("application/pdf")).startsWith("%PDF"));
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::Write_File(dir.filePath("clip.png"), data->data(QStringLiteral("image/png"))));
    EXPECT_EQ(testsupport::Zbar_Decode(dir.filePath("clip.png")), QByteArray("CLIP-42"));
    ASSERT_EQ(data->urls().size(), 1);
    EXPECT_EQ(QFileInfo(data->urls().first().toLocalFile()).fileName(), "barcode.pdf");

    // An invalid value copies nothing and says why.
    messages.clear();
    ctl<QLineEdit>("dataText")->setText(QString());
    w.goButtonActionPerformed();
    QApplication::clipboard()->clear();
    w.copy_btn->trigger();
    EXPECT_FALSE(sawMessage(QStringLiteral("Barcode is copied successfully.")));
    EXPECT_TRUE(sawMessage(QStringLiteral("Invalid barcode value or value is too long.")));
    const QMimeData* after = QApplication::clipboard()->mimeData();
    EXPECT_TRUE(!after || !after->hasFormat(QStringLiteral("application/pdf")));
}

TEST_F(OutputCommandsTest, EmailCommandOpensTheMailWindowWhoseSettingsButtonOpensTheSettings)
{
    LMNWindowController& w = make();
    DialogScript dialogs;
    bool settingsShown = false;
    dialogs.on<Email_Setting>([&settingsShown](Email_Setting&) { settingsShown = true; });
    dialogs.on<Send_Mail>([](Send_Mail& mail) { mail.setting_btn->click(); });
    w.mail_btn->trigger();
    EXPECT_EQ(dialogs.seen, (QStringList{"Send_Mail", "Email_Setting"}));
    EXPECT_TRUE(settingsShown);

    // The canvas menu's mail item and the toolbar's settings entry reach the same windows.
    dialogs.seen.clear();
    w.Designing_Mode_Select();
    std::unique_ptr<QMenu> menu = w.graphicView()->contextMenu();
    menu->findChild<QAction*>(QStringLiteral("mail_id_card"))->trigger();
    w.mail_btn->menu()->actions().value(1)->trigger();
    EXPECT_EQ(dialogs.seen, (QStringList{"Send_Mail", "Email_Setting", "Email_Setting"}));
}

TEST_F(OutputCommandsTest, PicturesOpensTheCropWizardAndABatchCropShowsTheSharedProgressWindow)
{
    LMNWindowController& w = make();
    QTemporaryDir dir;
    const QString in = dir.filePath("in"), out = dir.filePath("out");
    QDir().mkpath(in);
    QDir().mkpath(out);
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        QImage img(120, 80, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        ASSERT_TRUE(img.save(QDir(in).filePath(QString::fromLatin1(name))));
    }
    // The one progress window, entered in the struct the fixture gives back.
    Send_Modeless_Dialog* progress = Send_Modeless_Dialog::defaultInstance();
    services->Send_Modeless_Var = progress;
    progress->_tot_msg_cnt->clear();
    int seriesRefreshes = 0;
    QObject::connect(&w, &LMNWindowController::Series_List_Changed, [&seriesRefreshes] { ++seriesRefreshes; });

    DialogScript dialogs;
    dialogs.on<Cropping_Tool>([&](Cropping_Tool& tool) {
        tool.input_option_matrix->button(1)->setChecked(true);
        tool.folder_path->setText(in);
        tool.output_path->setText(out);
        tool.OK_Btn_Clicked();
        tool.cropping_option_matrix->button(1)->setChecked(true);   // resize
        tool.Crop_All_Clicked();
        tool.Wait_For_Job();
    });
    w.pictures_btn->trigger();

    EXPECT_EQ(dialogs.seen.value(0), "Cropping_Tool");
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 3);
    // The job prepared the shared window for its three pictures and hid it at the end.
    EXPECT_EQ(progress->_tot_msg_cnt->text(), "3");
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(progress->Refreshing());
    EXPECT_EQ(seriesRefreshes, 1);
}

TEST_F(OutputCommandsTest, PictureLibraryAnswersThePictureChosenOrNothing)
{
    LMNWindowController& w = make();
    const QString folder = User_Resource_Folder(QStringLiteral("Background"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString picture = QDir(folder).filePath(QStringLiteral("sky.png"));
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::cyan);
    ASSERT_TRUE(img.save(picture));
    DialogScript dialogs;
    QString modeSeen;
    bool choose = true;
    dialogs.on<Image_Library>([&](Image_Library& lib) {
        modeSeen = lib.control_or_BG;
        if (!choose) {
            lib.Cancel_Clicked();
            return;
        }
        for (int i = 0; i < lib.images.size(); ++i)
            if (lib.images[i].path == picture)
                lib.imageBrowser->setCurrentIndex(lib.model->index(i, 0));
        lib.imageBrowserSelectionDidChange();
        lib.OK_Clicked();
    });
    EXPECT_EQ(w.Open_Image_Library_Window(QStringLiteral("B")), picture);
    EXPECT_EQ(modeSeen, "B");
    choose = false;
    EXPECT_EQ(w.Open_Image_Library_Window(QStringLiteral("C")), QString());
    EXPECT_EQ(modeSeen, "C");
    QFile::remove(picture);
}

} // namespace
