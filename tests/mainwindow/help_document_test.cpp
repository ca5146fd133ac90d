// The user help teaches the program as it is: it names every window the
// program opens (by its title), has a task-first section for each common
// task, shows pictures of both modes, and every picture it shows is one of
// the program's windows taken by this test. With ZL_HELP_SHOTS set to a
// folder the pictures are taken there, from the windows as the test sets
// them up (docs/help/shots/ holds the ones the help shows).
#include "AllWindows.h"
#include "panels/PanelsTestSupport.h"

#include "common/TestSupport.h"
#include "core/model/LMNImage.h"
#include "imagetools/library/Image_Library.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "barcode/generation/BarcodeRoad.h"
#include "mainwindow/files/ToolPalette.h"
#include "barcode/generation/list/BarcodeList.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "platform/Paths.h"
#include "print/Print_Wnd.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>
#include <QWidget>

namespace {

QString Source_Path(const QString& relative)
{
    // The help's source and pictures live beside the resources in the tree.
    return QDir(Folders.Resource_Path).filePath(QStringLiteral("../") + relative);
}

QString Help_Text()
{
    const QString pdf = QDir(Folders.Resource_Path).filePath(QStringLiteral("Help.pdf"));
    const testsupport::ToolResult text = testsupport::Run_Tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    // One space between words, whatever the lines; ligatures of the
    // typeface ("fi") as their letters.
    return QString::fromUtf8(text.out).normalized(QString::NormalizationForm_KC).simplified();
}

class HelpDocumentTest : public PanelsTest {
protected:
    void SetUp() override
    {
        PanelsTest::SetUp();
        // The series of the pictures live in a folder of the test's own.
        previousDataFolder = Folders.Data_Folder_Path;
        Folders.Data_Folder_Path = seriesDir.path();
        previousRunner = Set_Modal_Runner([](QDialog& d) {
            // The library tool's picker chooses a leaf.
            if (auto* library = qobject_cast<Image_Library*>(&d)) {
                for (int i = 0; i < library->images.size(); ++i)
                    if (library->images[i].image_Name == QLatin1String("Leaf.png")) {
                        library->imageBrowser->setCurrentIndex(library->model->index(i));
                        library->OK_Clicked();
                        return d.result();
                    }
            }
            return 0;
        });
    }
    void TearDown() override
    {
        Set_Modal_Runner(previousRunner);
        Folders.Data_Folder_Path = previousDataFolder;
        PanelsTest::TearDown();
    }

    // A shelf label in designing mode and a list of values in barcode mode,
    // made with the tools as a user makes them, so that the pictures show
    // the program at work.
    void Sample_Work()
    {
        w->resize(1364, 711);
        Write_Series_File(QStringLiteral("Tea shelves"), {QStringLiteral("Shelf 1"), QStringLiteral("Shelf 2"),
                                                          QStringLiteral("Shelf 3")});
        Write_Series_File(QStringLiteral("Prices"), {QStringLiteral("2.40"), QStringLiteral("3.10"),
                                                     QStringLiteral("4.75")});
        w->Designing_Mode_Select();
        Tool_Palette* tools = w->toolPalette();
        tools->Rect_Tool_Clicked();
        tools->Text_Tool_Clicked();
        tools->Barcode_Tool_Clicked();
        tools->Image_Library_Tool_Clicked();
        const QList<LMNGraphic*> items = doc->graphicsPointers();
        for (LMNGraphic* g : items) {
            switch (g->kind()) {
            case LMNKind::Shape: g->_bounds = QRectF(8, 8, 268, 268); break;
            case LMNKind::Text:
                g->_bounds = QRectF(24, 24, 236, 40);
                g->Set_text_value(QStringLiteral("Green Tea, 100 g"));
                break;
            case LMNKind::Barcode: g->_bounds = QRectF(40, 150, g->bounds().width(), g->bounds().height()); break;
            case LMNKind::Image: g->_bounds = QRectF(190, 70, 70, 70); break;
            default: break;
            }
        }
        select({items.last()});
        w->Refresh_Canvas();

        w->Barcode_Mode_Select();
        BarcodeModeView* barcode = w->barcodeModeView();
        BarcodeSettings settings = barcode->Barcode_Settings();
        Set_Barcode_Type(settings, QStringLiteral("EAN-13"));
        settings.dataText = QStringLiteral("400638133393");
        settings.HeaderText = QStringLiteral("Shelf 1");
        settings.FooterText = QStringLiteral("Green Tea");
        barcode->Load_Barcode_Settings(settings);
        BarcodeListSide* list = barcode->listSide();
        list->data_source_chkbox->setChecked(true);
        list->barcodeData_SourceChanged();
        const char* values[] = {"400638133394", "400638133395", "400638133396"};
        for (int i = 0; i < 3; ++i)
            w->ListData_barcode().Create_Item_List(QString::fromLatin1(values[i]), QStringLiteral("Shelf %1").arg(i + 2),
                                                   QStringLiteral("Green Tea"), QStringLiteral("2"), w->ListData_barcode().count());
        // The first row is the value typed when the list became the source.
        w->ListData_barcode().Replace_Item_List(QStringLiteral("400638133393"), QStringLiteral("Shelf 1"),
                                                QStringLiteral("Green Tea"), QStringLiteral("2"), 0);
        list->Reload_List();
        list->List->selectRow(1);
        list->List->selectRow(0);
        w->goButtonActionPerformed();
    }

    ModalRunner previousRunner;
    QTemporaryDir seriesDir;
    QString previousDataFolder;
};

} // namespace

TEST_F(HelpDocumentTest, EveryWindowTheProgramOpensIsNamedInTheHelp)
{
    const QString help = Help_Text();
    ASSERT_FALSE(help.isEmpty());
    QStringList missing;
    int titles = 0;
    Visit_Every_Window(*w, [&](const Window_Visit& v) {
        // The main window's title names the open design after the program's name.
        const QString title = v.window == w ? w->App_Name() : v.window->windowTitle().simplified();
        if (!v.opened || title.isEmpty())
            return;
        ++titles;
        if (!help.contains(title, Qt::CaseSensitive))
            missing << QStringLiteral("%1 (\"%2\")").arg(v.id, title);
    });
    EXPECT_GE(titles, 40);
    EXPECT_TRUE(missing.isEmpty()) << "windows the help does not name: " << missing.join(", ").toStdString();
}

TEST_F(HelpDocumentTest, TheHelpTeachesTheTasksWithPicturesOfBothModes)
{
    const QString help = Help_Text();
    for (const char* task : {"Make a barcode", "Import a list", "Design a card", "Bind a series or a spreadsheet",
                             "Print on a vendor's label sheet", "Export images and PDF", "Send by e-mail",
                             "Series", "Pictures"})
        EXPECT_TRUE(help.contains(QLatin1String(task))) << "no section: " << task;
    // Nothing the program does not do: a text is typed in the panel, not on the canvas.
    EXPECT_FALSE(help.contains(QStringLiteral("double-click it to type")));

    // The pictures: the source names them, the PDF holds them.
    QFile source(Source_Path(QStringLiteral("docs/help/Help.md")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString md = QString::fromUtf8(source.readAll());
    QSet<QString> shown;
    const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(shots/([a-z0-9-]+)\.png\))"));
    for (auto it = image.globalMatch(md); it.hasNext();)
        shown.insert(it.next().captured(1));
    EXPECT_TRUE(shown.contains(QStringLiteral("main-barcode"))) << "a picture of barcode mode";
    EXPECT_TRUE(shown.contains(QStringLiteral("main-designing"))) << "a picture of designing mode";
    const testsupport::ToolResult images = testsupport::Run_Tool(
        QStringLiteral("pdfimages"), {QStringLiteral("-list"), QDir(Folders.Resource_Path).filePath(QStringLiteral("Help.pdf"))});
    ASSERT_EQ(images.exitCode, 0);
    EXPECT_GE(images.out.count('\n') - 2, shown.size()) << "every picture is in the PDF";

    // Each picture is a window of the program, taken by this test.
    QSet<QString> windows;
    Visit_Every_Window(*w, [&windows](const Window_Visit& v) { windows.insert(v.id); });
    for (const QString& id : shown) {
        EXPECT_TRUE(windows.contains(id)) << id.toStdString() << " is no window of the program";
        EXPECT_TRUE(QFileInfo::exists(Source_Path(QStringLiteral("docs/help/shots/%1.png").arg(id))))
            << id.toStdString();
    }
}

TEST_F(HelpDocumentTest, PicturesOfTheWindowsForTheHelp)
{
    const QString folder = qEnvironmentVariable("ZL_HELP_SHOTS");
    Sample_Work();
    int taken = 0;
    Visit_Every_Window(*w, [&](const Window_Visit& v) {
        if (!v.opened)
            return;
        // The main window as the user left it in that mode, with the text
        // item's panel in designing mode.
        if (v.id == QLatin1String("main-designing")) {
            for (LMNGraphic* g : doc->graphicsPointers())
                if (g->kind() == LMNKind::Text)
                    select({g});
        }
        v.window->show();
        QApplication::processEvents();
        // The print window on a vendor's label sheet.
        if (auto* print = qobject_cast<Print_Wnd*>(v.window)) {
            print->rd_predefined->click();
            print->Label_ComboBox->setCurrentIndex(1);
            print->comboBoxSelectionDidChange(print->Label_ComboBox);
            QApplication::processEvents();
        }
        const QImage shot = v.window->grab().toImage();
        EXPECT_FALSE(shot.isNull()) << v.id.toStdString();
        if (!folder.isEmpty() && !shot.isNull() && shot.save(QDir(folder).filePath(v.id + QStringLiteral(".png"))))
            ++taken;
        if (v.window != w)
            v.window->hide();
    });
    if (!folder.isEmpty()) {
        EXPECT_GE(taken, 40);
    }
}
