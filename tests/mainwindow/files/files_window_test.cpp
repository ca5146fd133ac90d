// The project commands, tool palette, undo, zoom and edit commands driven in
// the real main window: designs and barcode settings saved and opened
// through the toolbar's commands, damaged files refused with nothing changed,
// saves that fail or are cancelled losing nothing.
#include "FilesTestSupport.h"
#include "mainwindow/MainWindowFixture.h"

#include "common/TestSupport.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNDocument.h"
#include "core/util/BatchServices.h"
#include "core/util/MessageBoxes.h"
#include "data/BatchBinding.h"
#include "data/ExcelRows.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/EditCommands.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/files/SafeSave.h"
#include "mainwindow/files/ToolPalette.h"
#include "mainwindow/help/HelpWindows.h"
#include "mainwindow/panels/PropertyPanels.h"
#include "platform/Plist.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QComboBox>
#include <QDialog>
#include <QRadioButton>

#include <cstdlib>

using namespace filestest;

namespace {

class FilesWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        // Message boxes: answered from `answers` (the first button when none is left).
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text.trimmed();
            return answers.isEmpty() ? 0 : answers.takeFirst();
        });
        previousPanel = Set_File_Panel_Runner([this](const File_Panel_Request& r) {
            panels << r;
            return paths.isEmpty() ? QString() : paths.takeFirst();
        });
        previousRunner = Set_Modal_Runner([this](QDialog& d) {
            dialogs << QString::fromLatin1(d.metaObject()->className());
            return dialogAnswer;
        });
    }
    void TearDown() override
    {
        Set_File_Panel_Runner(previousPanel);
        Set_Modal_Runner(previousRunner);
        MainWindowTest::TearDown();
    }

    LMNWindowController& designWindow()
    {
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        messages.clear();
        return w;
    }
    QList<LMNGraphic*> items() { return window->Get_Front_Controls_Array(); }
    bool saw(const QString& text) const { return messages.contains(text); }

    QTemporaryDir dir;
    QList<int> answers;           // 0 Yes, 1 No, 2 Cancel
    QStringList paths;            // what the file panels answer
    QList<File_Panel_Request> panels;
    QStringList dialogs;          // the dialogs that were run
    int dialogAnswer = 1;
    File_Panel_Runner previousPanel;
    ModalRunner previousRunner;
};

TEST_F(FilesWindowTest, RectToolMakesOne50By50ItemAndReselectsTheArrow)
{
    LMNWindowController& w = designWindow();
    w.toolPalette()->Rect_Tool_Clicked();
    ASSERT_EQ(items().size(), 1);
    EXPECT_EQ(items().first()->kind(), LMNKind::Shape);
    EXPECT_EQ(items().first()->_shape_type, QStringLiteral("R"));
    EXPECT_EQ(items().first()->bounds().size(), QSizeF(50, 50));
    EXPECT_EQ(w.Selected_Control_Tool(), 0);
    EXPECT_TRUE(w.toolPalette()->toolActions().first()->isChecked());
    // The canvas going back to the arrow (a creation it ended) shows in the palette.
    w.Set_Selected_Control_Tool(5);
    EXPECT_TRUE(w.toolPalette()->toolActions().at(5)->isChecked());
    w.Set_Selected_Control_Tool(0);
    EXPECT_TRUE(w.toolPalette()->toolActions().first()->isChecked());
    // The arrow alone makes nothing.
    w.toolPalette()->Arrow_Tool_Clicked();
    w.toolPalette()->selectArrowTool();
    EXPECT_EQ(items().size(), 1);
}

TEST_F(FilesWindowTest, EveryToolMakesItsKind)
{
    LMNWindowController& w = designWindow();
    const QString picture = Write_Picture(dir, "tool.png", Qt::red);
    w.toolPalette()->Open_Image_Library_Window = [picture] { return picture; };
    struct Want {
        LMNKind kind;
        const char* shape;
        QSizeF size;
    };
    const std::map<int, Want> want = {
        {1, {LMNKind::Line, "", {50, 50}}},       {2, {LMNKind::Text, "", {70, 20}}},
        {3, {LMNKind::Shape, "R", {50, 50}}},     {4, {LMNKind::Shape, "C", {50, 50}}},
        {5, {LMNKind::Shape, "RR", {50, 50}}},    {6, {LMNKind::Shape, "T", {50, 50}}},
        {7, {LMNKind::Shape, "D", {50, 50}}},     {8, {LMNKind::Image, "", {}}},
        {9, {LMNKind::Image, "", {}}},            {10, {LMNKind::Barcode, "", {}}},
        {11, {LMNKind::Signature, "", {100, 50}}}, {12, {LMNKind::Signature, "", {50, 50}}},
        {13, {LMNKind::Shape, "S", {50, 50}}},    {14, {LMNKind::Shape, "DS", {50, 50}}},
        {15, {LMNKind::Shape, "P", {50, 50}}},
    };
    for (const auto& [tool, wanted] : want) {
        SCOPED_TRACE(tool);
        if (tool == 8)
            paths << picture;
        const int before = int(items().size());
        w.toolPalette()->Choose(tool);
        ASSERT_EQ(items().size(), before + 1);
        LMNGraphic* made = items().first();   // new items go in front
        EXPECT_EQ(made->kind(), wanted.kind);
        if (*wanted.shape) {
            EXPECT_EQ(made->_shape_type, QLatin1String(wanted.shape));
        }
        if (!wanted.size.isEmpty()) {
            EXPECT_EQ(made->bounds().size(), wanted.size);
        }
        if (tool == 8 || tool == 9) {
            EXPECT_EQ(made->FilePath(), picture);
            EXPECT_FALSE(made->_contents.isNull());
        }
        if (tool == 10) {
            // Made at 120 x 60, then the size of the picture drawn for it.
            ASSERT_FALSE(made->_barcode_image.isNull());
            EXPECT_EQ(made->bounds().size(), made->_barcode_image.size());
        }
        if (tool == 11 || tool == 12) {
            EXPECT_EQ(made->sign_or_fingureprint, tool == 12 ? QStringLiteral("F") : QStringLiteral("S"));
        }
        EXPECT_EQ(w.Selected_Control_Tool(), 0);
    }
    // A cancelled picture chooser makes nothing yet: the picture tool stays
    // chosen, and a press and a drag on the canvas make the picture item,
    // sized by the drag, with the placeholder picture until one is chosen;
    // then the arrow again.
    const int before = int(items().size());
    QAction* pictureTool = w.toolPalette()->toolActions().at(8);
    pictureTool->trigger();
    EXPECT_EQ(items().size(), before);
    EXPECT_EQ(w.Selected_Control_Tool(), 8);
    EXPECT_TRUE(pictureTool->isChecked());
    LMNGraphicView* canvas = w.graphicView();
    EXPECT_EQ(canvas->cursor().shape(), Qt::CrossCursor);
    const QPointF corner = canvas->canvasPointForWidgetPoint(QPointF(0, 0));   // at 100 %
    const auto mouse = [canvas, corner](QEvent::Type type, double x, double y) {
        const QPointF at = QPointF(x, y) - corner;
        QMouseEvent e(type, at, canvas->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &e);
    };
    mouse(QEvent::MouseButtonPress, 150, 160);
    mouse(QEvent::MouseMove, 170, 170);
    mouse(QEvent::MouseMove, 190, 180);
    mouse(QEvent::MouseButtonRelease, 190, 180);
    ASSERT_EQ(items().size(), before + 1);
    LMNGraphic* drawn = items().first();
    EXPECT_EQ(drawn->kind(), LMNKind::Image);
    EXPECT_EQ(drawn->bounds(), QRectF(150, 160, 40, 20));
    ASSERT_FALSE(drawn->_contents.isNull());
    EXPECT_EQ(drawn->_contents.raster().size(), w.no_image().size()) << "the placeholder picture";
    EXPECT_EQ(canvas->selectionIndexes(), QList<int>{0});
    EXPECT_EQ(w.designModeView()->panels->Last_Selected_Graphic, drawn) << "its panel shows, to choose the file";
    EXPECT_EQ(w.Selected_Control_Tool(), 0);
    EXPECT_TRUE(w.toolPalette()->toolActions().first()->isChecked());
    EXPECT_EQ(canvas->cursor().shape(), Qt::ArrowCursor);
    // The library tool alike; a click without a drag makes nothing.
    w.toolPalette()->Open_Image_Library_Window = [] { return QString(); };
    w.toolPalette()->toolActions().at(9)->trigger();
    EXPECT_EQ(w.Selected_Control_Tool(), 9);
    mouse(QEvent::MouseButtonPress, 20, 200);
    mouse(QEvent::MouseButtonRelease, 20, 200);
    EXPECT_EQ(items().size(), before + 1);
    EXPECT_EQ(w.Selected_Control_Tool(), 0);
    // The library tool shows only while a library is installed.
    w.toolPalette()->Open_Image_Library_Window = nullptr;
    w.toolPalette()->Refresh_Tools();
    EXPECT_FALSE(w.toolPalette()->toolActions().at(9)->isVisible());
}

// A picture item dragged out after a cancelled picture choice draws the
// placeholder picture (the picture an earlier choice left is forgotten).
TEST_F(FilesWindowTest, APictureDraggedAfterACancelledChoiceDrawsThePlaceholder)
{
    LMNWindowController& w = designWindow();
    w.designModeView()->Set_Canvas_to_100_percent();
    paths << Write_Picture(dir, "earlier.png", Qt::red);
    w.toolPalette()->toolActions().at(8)->trigger();   // a picture chosen
    ASSERT_EQ(items().size(), 1);
    w.designModeView()->document()->removeGraphicAtIndex(0);
    w.toolPalette()->toolActions().at(8)->trigger();   // the chooser cancelled
    ASSERT_EQ(items().size(), 0);
    ASSERT_EQ(w.Selected_Control_Tool(), 8);

    LMNGraphicView* canvas = w.graphicView();
    const auto render = [canvas] {
        QImage img(canvas->size(), QImage::Format_ARGB32);
        img.fill(Qt::white);
        canvas->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
        return img;
    };
    const QRectF area(40, 40, 160, 120);   // the placeholder's own size
    ASSERT_DOUBLE_EQ(canvas->zoomFactor(), 1.0);
    const QRect pixels = area.toRect();   // widget pixels at 100 %
    const QImage before = render().copy(pixels);
    const auto mouse = [canvas](QEvent::Type type, const QPointF& canvasPoint) {
        const QPointF at = canvasPoint;   // at 100 %
        QMouseEvent e(type, at, canvas->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &e);
    };
    mouse(QEvent::MouseButtonPress, area.topLeft());
    mouse(QEvent::MouseMove, area.center());
    mouse(QEvent::MouseMove, area.bottomRight());
    mouse(QEvent::MouseButtonRelease, area.bottomRight());
    ASSERT_EQ(items().size(), 1);
    ASSERT_EQ(items().first()->kind(), LMNKind::Image);
    ASSERT_EQ(items().first()->bounds(), area);
    canvas->changeSelectionIndexes({});   // no handles over the picture
    const QImage after = render().copy(pixels);

    const QImage placeholder = w.no_image().convertToFormat(QImage::Format_ARGB32).scaled(
        pixels.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The share of pixels that look like the placeholder's (over white).
    const auto likePlaceholder = [&placeholder](const QImage& shot) {
        int alike = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb p = placeholder.pixel(x, y), q = shot.pixel(x, y);
                const double a = qAlpha(p) / 255.0;
                const auto over = [a](int c) { return int(c * a + 255 * (1 - a)); };
                if (std::abs(over(qRed(p)) - qRed(q)) < 40 && std::abs(over(qGreen(p)) - qGreen(q)) < 40
                    && std::abs(over(qBlue(p)) - qBlue(q)) < 40)
                    ++alike;
            }
        return double(alike) / (shot.width() * shot.height());
    };
    EXPECT_LT(likePlaceholder(before), 0.9) << "the empty card is no placeholder";
    EXPECT_GT(likePlaceholder(after), 0.97) << "the new item draws the placeholder picture";
}

TEST_F(FilesWindowTest, ZoomStepsAndStopsAtItsEnds)
{
    LMNWindowController& w = designWindow();
    DesignModeView* d = w.designModeView();
    d->Set_Canvas_to_100_percent();
    QList<double> seen;
    for (int i = 0; i < 5; ++i) {
        d->Zoom_In_Toolbar_btn();
        seen << w._zoomingScrollView->factor();
    }
    EXPECT_EQ(seen, (QList<double>{1.25, 1.5, 2.0, 4.0, 4.0}));
    for (int i = 0; i < 10; ++i)
        d->Zoom_Out_Toolbar_btn();
    EXPECT_DOUBLE_EQ(w._zoomingScrollView->factor(), 0.25);
    d->Actual_Size_Toolbar_btn();
    EXPECT_DOUBLE_EQ(w._zoomingScrollView->factor(), 1.0);
}

TEST_F(FilesWindowTest, OneUndoTakesAnEditBackAndRedoBringsItAgain)
{
    LMNWindowController& w = designWindow();
    DesignModeView* d = w.designModeView();
    w.toolPalette()->Rect_Tool_Clicked();
    w.toolPalette()->Circle_Tool_Clicked();
    ASSERT_EQ(items().size(), 2);
    const QRectF circle = items().first()->bounds();
    w.Undo_Action_Perform();
    ASSERT_EQ(items().size(), 1);
    EXPECT_EQ(items().first()->_shape_type, QStringLiteral("R"));
    w.Redo_Action_Perform();
    ASSERT_EQ(items().size(), 2);
    EXPECT_EQ(items().first()->bounds(), circle);

    // Cut and paste are one step each.
    w.graphicView()->changeSelectionIndexes({0});
    w.editCommands()->Cut_Clicked();
    EXPECT_EQ(items().size(), 1);
    w.Undo_Action_Perform();
    EXPECT_EQ(items().size(), 2);
    w.Redo_Action_Perform();
    EXPECT_EQ(items().size(), 1);
    w.editCommands()->Paste_Clicked();
    EXPECT_EQ(items().size(), 2);
    w.Undo_Action_Perform();
    EXPECT_EQ(items().size(), 1);

    // The history keeps its last 100 steps.
    for (int i = 0; i < 130; ++i) {
        items().first()->setXPosition(i);
        w.Insert_In_Undo_Redo();
    }
    EXPECT_EQ(d->Get_Undo_Count(), DesignModeView::Undo_Max_Steps);
    while (d->Get_Undo_Count() > 0)
        w.Undo_Action_Perform();
    EXPECT_EQ(items().size(), 1) << "undoing everything ends at the oldest kept step";
}

TEST_F(FilesWindowTest, LockWithNothingSelectedSaysSoAndChangesNothing)
{
    LMNWindowController& w = designWindow();
    w.toolPalette()->Rect_Tool_Clicked();
    w.graphicView()->changeSelectionIndexes({});
    Edit_Commands* e = w.editCommands();
    e->Refresh_Enabled();
    const bool cut = e->Cut_btn->isEnabled(), unlock = e->Unlock_btn->isEnabled();
    e->Lock_Clicked();
    EXPECT_TRUE(saw("Please select a control to Lock."));
    EXPECT_FALSE(items().first()->ctrl_is_locked);
    EXPECT_EQ(e->Cut_btn->isEnabled(), cut);
    EXPECT_EQ(e->Unlock_btn->isEnabled(), unlock);
    // With the item selected it is locked, and the buttons follow.
    w.graphicView()->changeSelectionIndexes({0});
    w.graphicView()->_Selected_Graphic = items().first();
    e->Lock_Clicked();
    EXPECT_TRUE(items().first()->ctrl_is_locked);
    EXPECT_FALSE(e->Cut_btn->isEnabled());
    EXPECT_TRUE(e->Unlock_btn->isEnabled());
}

TEST_F(FilesWindowTest, ADesignSavedThroughTheWindowOpensWholeAndUndoesToItsLoadedState)
{
    LMNWindowController& w = designWindow();
    const QString picture = Write_Picture(dir, "photo.png", Qt::blue);
    w.toolPalette()->Rect_Tool_Clicked();
    paths << picture;
    w.toolPalette()->Image_Tool_Clicked();
    w.toolPalette()->Text_Tool_Clicked();
    w.toolPalette()->Barcode_Tool_Clicked();
    w.Front_card_Prop()->Card_Name = QStringLiteral("Staff");
    w.Set_Start_Card_Option(QStringLiteral("V"));
    const QList<LMNGraphic*> before = items();
    ASSERT_EQ(before.size(), 4);
    const QImage barcodePixels = before.first()->_barcode_image.toImage(144);
    const QSizeF barcodeSize = before.first()->_barcode_image.size();
    ASSERT_FALSE(barcodePixels.isNull());

    const QString path = dir.filePath("staff.dbs");
    paths << path;
    w.Save_btn->trigger();
    EXPECT_TRUE(saw("Barcode Label Design has been saved successfully."));
    EXPECT_EQ(w.projectCommands()->Project_File_Name, path);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("%1 ( Staff - staff.dbs )").arg(w.App_Name()));
    std::vector<QVariantList> records;
    for (LMNGraphic* g : before)
        records.push_back(Get_Control_Prop_To_Array(*g));

    // A new design (No to saving), then the file again.
    answers = {1};
    w.New_btn->trigger();
    EXPECT_EQ(dialogs.value(0), QStringLiteral("Card_Wizard"));
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(w.projectCommands()->Project_File_Name, QString());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("%1 ( Untitled )").arg(w.App_Name()));

    answers = {1};
    paths << path;
    w.Open_btn->trigger();
    ASSERT_EQ(items().size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Get_Control_Prop_To_Array(*items().at(i)), records.at(size_t(i))) << i;
    // The barcode's picture is drawn again from its settings, as it was.
    EXPECT_EQ(items().first()->_barcode_image.toImage(144), barcodePixels);
    EXPECT_EQ(w.Front_card_Prop()->Card_Name, QStringLiteral("Staff"));
    EXPECT_EQ(w.projectCommands()->Project_File_Name, path);
    EXPECT_EQ(w.Start_Card_Option(), QStringLiteral("V")) << "the file's start option";
    EXPECT_FALSE(w.designModeView()->Undo_btn->isEnabled());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("%1 ( Staff - staff.dbs )").arg(w.App_Name()));

    // An edit, then undo back to the design as loaded, its picture included.
    items().at(0)->setXPosition(200);
    w.Insert_In_Undo_Redo();
    w.Undo_Action_Perform();
    w.Undo_Action_Perform();
    ASSERT_EQ(items().size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Get_Control_Prop_To_Array(*items().at(i)), records.at(size_t(i))) << i;
    ASSERT_FALSE(items().first()->_barcode_image.isNull());
    EXPECT_EQ(items().first()->_barcode_image.size(), barcodeSize);
    LMNGraphic* photo = nullptr;
    for (LMNGraphic* g : items())
        if (g->kind() == LMNKind::Image)
            photo = g;
    ASSERT_TRUE(photo);
    EXPECT_FALSE(photo->_contents.isNull());
}

TEST_F(FilesWindowTest, TheSpreadsheetBindingOfADesignComesBackWithIt)
{
    LMNWindowController& w = designWindow();
    ASSERT_TRUE(w.binding());
    Batch_Binding& b = *w.binding();
    const QStringList titles{"#", "Name", "Code"};
    const QList<ExcelRow> rows{{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "A-1"}},
                               {{"Extension", "2"}, {"Column1", "Bo"}, {"Column2", "B-2"}}};
    b.excelRows().Restore(titles, rows);
    b.setExcel_Binding_Use(true);
    b.setExcel_Source_Path(QStringLiteral("/data/people.xlsx"));
    w.toolPalette()->Text_Tool_Clicked();
    const QString path = dir.filePath("bound.dbs");
    paths << path;
    ASSERT_TRUE(w.projectCommands()->Save_project_file(false, false, "L"));

    answers = {1};
    dialogAnswer = 1;
    w.New_btn->trigger();
    EXPECT_EQ(b.excelRows().rowCount(), 0) << "a new design has no rows";

    answers = {1};
    paths << path;
    w.Open_btn->trigger();
    EXPECT_TRUE(b.Excel_Binding_Use());
    EXPECT_EQ(b.Excel_Source_Path(), QStringLiteral("/data/people.xlsx"));
    EXPECT_EQ(b.excelRows().columnTitles().mid(1), titles.mid(1));
    EXPECT_EQ(b.excelRows().ListData(), rows);
}

TEST_F(FilesWindowTest, ADamagedFileLeavesTheOpenDesignExactlyAsItWas)
{
    LMNWindowController& w = designWindow();
    w.toolPalette()->Rect_Tool_Clicked();
    w.toolPalette()->Line_Tool_Clicked();
    w.Front_card_Prop()->Card_Name = QStringLiteral("Keep");
    w.projectCommands()->Project_File_Name = dir.filePath("kept.dbs");
    const QVariantList before = Design_File_Elements(w.projectCommands()->Current_Design(), false);

    const QString good = dir.filePath("good.dbs");
    ASSERT_TRUE(Write_Design_Elements(good, before));
    const QByteArray bytes = testsupport::readAll(good);
    QVariantList olderDesign = before;
    olderDesign[0] = Older_Barcode_File_Magic;
    const QString olderPath = dir.filePath("older.dbs");
    ASSERT_TRUE(Plist_Write_File(olderPath, QVariant(olderDesign), PlistFormat::Xml));
    const QString truncated = dir.filePath("truncated.dbs");
    testsupport::touch(truncated, bytes.left(bytes.size() / 2));
    // A design whose card part cannot be read is no design to open.
    QVariantList noCard = before;
    noCard[4] = QStringLiteral("red");
    const QString noCardPath = dir.filePath("nocard.dbs");
    ASSERT_TRUE(Plist_Write_File(noCardPath, QVariant(noCard), PlistFormat::Binary));
    const QString notPlist = dir.filePath("picture.dbs");
    testsupport::touch(notPlist, "GIF89a not a property list");

    // (Damaged item records open as far as they go: files_roundtrip_test.)
    for (const QString& p : {olderPath, truncated, noCardPath, notPlist}) {
        SCOPED_TRACE(p.toStdString());
        messages.clear();
        answers = {1};
        paths << p;
        w.Open_btn->trigger();
        EXPECT_TRUE(saw(File_Corrupt_Message));
        EXPECT_EQ(Design_File_Elements(w.projectCommands()->Current_Design(), false), before);
        EXPECT_EQ(w.projectCommands()->Project_File_Name, dir.filePath("kept.dbs"));
        EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 1);
    }
    // Cancel in the open panel keeps the design too, and opens no wizard.
    answers = {1};
    w.Open_btn->trigger();
    EXPECT_EQ(items().size(), 2);
    EXPECT_TRUE(dialogs.isEmpty());
}

TEST_F(FilesWindowTest, YesToSavingThenACancelledSaveKeepsTheDesign)
{
    LMNWindowController& w = designWindow();
    w.toolPalette()->Rect_Tool_Clicked();
    answers = {0};   // Yes; the save panel is cancelled (no path)
    w.New_btn->trigger();
    EXPECT_EQ(items().size(), 1);
    EXPECT_TRUE(dialogs.isEmpty()) << "no new card was started";
    answers = {0};
    w.Open_btn->trigger();
    EXPECT_EQ(items().size(), 1);
    EXPECT_EQ(panels.size(), 2) << "two save panels, no open panel";
    EXPECT_EQ(panels.at(1).kind, File_Panel_Request::Save);
    answers = {0};
    w.Exit_btn->trigger();
    EXPECT_TRUE(exitCodes.isEmpty());
    // Cancel in the question ends the command too.
    answers = {2};
    w.Close_btn->trigger();
    EXPECT_EQ(items().size(), 1);
}

TEST_F(FilesWindowTest, AFailedSaveIsReportedAndKeepsTheOldFile)
{
    LMNWindowController& w = designWindow();
    for (int i = 0; i < 120; ++i)
        w.toolPalette()->Text_Tool_Clicked();
    const QString path = dir.filePath("old.dbs");
    paths << path;
    ASSERT_TRUE(w.projectCommands()->Save_project_file(false, true, "L"));
    const QByteArray old = testsupport::readAll(path);
    ASSERT_GT(old.size(), 1 << 16);
    w.Front_card_Prop()->Card_Name = QStringLiteral("Changed");
    messages.clear();
    const Save_Fault previous = Set_Save_Fault([](qint64 offset) { return offset == 0; });
    EXPECT_FALSE(w.projectCommands()->Save_project_file(false, true, "L"));
    Set_Save_Fault(previous);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains("could not be saved")) << messages.first().toStdString();
    EXPECT_FALSE(saw("Barcode Label Design has been saved successfully."));
    EXPECT_EQ(testsupport::readAll(path), old);
    EXPECT_EQ(w.projectCommands()->Project_File_Name, path);
}

TEST_F(FilesWindowTest, BarcodeSettingsSavedAndOpenedInBarcodeMode)
{
    LMNWindowController& w = make();
    w.Barcode_Mode_Select();
    BarcodeSettings s = w.Barcode_Settings();
    s.barcodeType = QStringLiteral("Code 128");
    s.dataText = QStringLiteral("ZL-2026");
    s.HeaderText = QStringLiteral("Parts");
    s.unit = 2;
    w.barcodeModeView()->Load_Barcode_Settings(s);
    BarcodeListModel& list = w.barcodeModeView()->listSide()->list();
    list.Load_Rows({{"A1", "h", "f", "2"}});
    const QString path = dir.filePath("codes.dbs");
    paths << path;
    messages.clear();
    w.Save_btn->trigger();
    EXPECT_TRUE(saw("Barcode Log has been saved successfully."));
    EXPECT_EQ(w.projectCommands()->Project_File_Name_Barcode, path);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("%1 ( codes.dbs )").arg(w.App_Name()));

    answers = {1};
    w.New_btn->trigger();
    EXPECT_EQ(w.windowTitle(), w.App_Name());
    EXPECT_TRUE(list.isEmpty());
    EXPECT_NE(w.Barcode_Settings().dataText, QStringLiteral("ZL-2026"));

    answers = {1};
    paths << path;
    w.Open_btn->trigger();
    EXPECT_EQ(w.Barcode_Settings().barcodeType, QStringLiteral("Code 128"));
    EXPECT_EQ(w.Barcode_Settings().dataText, QStringLiteral("ZL-2026"));
    EXPECT_EQ(w.Barcode_Settings().HeaderText, QStringLiteral("Parts"));
    EXPECT_EQ(w.barcodeModeView()->Measument_Unit_Is_Barcode, 2);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.rows().front(), (BarcodeRow{"A1", "h", "f", "2"}));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("%1 ( codes.dbs )").arg(w.App_Name()));
    EXPECT_FALSE(w.barcodeModeView()->Preview_Is_Blank());
}

TEST_F(FilesWindowTest, EachModeOpensTheOtherKindAndSwitchesToIt)
{
    LMNWindowController& w = designWindow();
    w.toolPalette()->Rect_Tool_Clicked();
    const QString design = dir.filePath("design.dbs");
    paths << design;
    ASSERT_TRUE(w.projectCommands()->Save_project_file(false, false, "L"));

    // A design opened from barcode mode: designing mode, no wizard.
    w.Barcode_Mode_Select();
    answers = {1};
    paths << design;
    w.Open_btn->trigger();
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 1);
    EXPECT_EQ(items().size(), 1);
    EXPECT_TRUE(dialogs.isEmpty());

    // Barcode settings opened from designing mode: barcode mode, the design kept.
    Barcode_File_Content c;
    c.settings.barcodeType = QStringLiteral("EAN-13");
    c.settings.dataText = QStringLiteral("590123412345");
    const QString codes = dir.filePath("codes.dbs");
    ASSERT_TRUE(Write_Barcode_Elements(codes, Barcode_File_Elements(c)));
    answers = {1};
    paths << codes;
    w.Open_btn->trigger();
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 0);
    EXPECT_EQ(w.Barcode_Settings().dataText, QStringLiteral("590123412345"));
    EXPECT_EQ(items().size(), 1);
    EXPECT_TRUE(dialogs.isEmpty());
}

TEST_F(FilesWindowTest, TheNewLabelFlowMakesTheCardItChose)
{
    LMNWindowController& w = designWindow();
    New_Card_Choice c;
    c.stock = QStringLiteral("PVC Card");
    c.widthMM = 85.598;
    c.heightMM = 54.102;
    c.name = QStringLiteral("Badge");
    c.shape = 1;
    c.fillKind = QStringLiteral("I");
    c.imagePath = Write_Picture(dir, "back.png", Qt::green);
    c.transparency = 0.5;
    w.projectCommands()->Apply_New_Card(c);
    const Card_Property* card = w.Front_card_Prop();
    EXPECT_NEAR(card->Card_Size.width(), 85.598 / 25.4 * 72, 0.01);
    EXPECT_NEAR(card->Card_Size.height(), 54.102 / 25.4 * 72, 0.01);
    EXPECT_EQ(card->Card_Name, QStringLiteral("Badge"));
    EXPECT_EQ(card->Card_Shape, QStringLiteral("RR"));
    EXPECT_EQ(w.Card_Shape, 1);
    EXPECT_FLOAT_EQ(card->Card_alpha_Stepper, 0.5f);
    EXPECT_EQ(card->Card_fill_style, QStringLiteral("I"));
    EXPECT_EQ(card->Card_BG_Image_Path, c.imagePath);
    EXPECT_EQ(w.Start_Card_Option(), QStringLiteral("W"));
    EXPECT_EQ(w.designModeView()->Get_Undo_Count(), 1);
    EXPECT_FALSE(w.designModeView()->Undo_btn->isEnabled());
    EXPECT_DOUBLE_EQ(w._zoomingScrollView->factor(), 1.0);

    // Cancel after New leaves the empty new project.
    w.toolPalette()->Rect_Tool_Clicked();
    dialogAnswer = 0;
    answers = {1};
    w.New_btn->trigger();
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(w.Front_card_Prop()->Card_Name, QStringLiteral("Untitled"));

    // Without the card wizard the flow offers the preset sizes.
    const auto wizard = w.projectCommands()->Run_Card_Wizard;
    w.projectCommands()->Run_Card_Wizard = nullptr;
    dialogAnswer = 1;
    dialogs.clear();
    answers = {1};
    w.New_btn->trigger();
    w.projectCommands()->Run_Card_Wizard = wizard;
    EXPECT_EQ(dialogs, QStringList{"New_Label_Dialog"});
    EXPECT_TRUE(items().isEmpty());
    EXPECT_NEAR(w.Front_card_Prop()->Card_Size.width(), 85.598 / 25.4 * 72, 0.01);
    EXPECT_EQ(w.Front_card_Prop()->Card_Preset, QStringLiteral("PVC Card"));

    // The wizard's transparency: a fraction or a percentage, within 0..100.
    EXPECT_EQ(New_Label_Transparency_Percent(0.5), 50);
    EXPECT_EQ(New_Label_Transparency_Percent(0.29), 29);
    EXPECT_EQ(New_Label_Transparency_Percent(1.0), 100);
    EXPECT_EQ(New_Label_Transparency_Percent(80), 80);
    EXPECT_EQ(New_Label_Transparency_Percent(10), 10);
    EXPECT_EQ(New_Label_Transparency_Percent(1000), 100);
    EXPECT_EQ(New_Label_Transparency_Percent(-3), 0);
}

TEST_F(FilesWindowTest, TheHelpCommandRunsTheHelpWindow)
{
    LMNWindowController& w = make();
    dialogAnswer = 1;
    w.Help_btn->trigger();
    EXPECT_EQ(dialogs, QStringList{"Help_Support"});
}

} // namespace
