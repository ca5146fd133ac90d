// Designing mode in the real main window: the card drawn from the window's
// card model, the grid dialog, the rulers, the new project, undo and redo,
// the panels, the document's undo groups and the question before exiting.
#include "MainWindowFixture.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "common/TestSupport.h"
#include "core/canvas/LMNPrintOperation.h"
#include "core/model/Card_Property.h"
#include "core/model/KeyedArchive.h"
#include "core/model/LMNDocument.h"
#include "core/model/Shape_Control.h"
#include "core/util/MainWindowServices.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/design/GridWizard.h"
#include "mainwindow/files/EditCommands.h"
#include "mainwindow/panels/PropertyPanels.h"
#include "platform/Plist.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QTimer>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSlider>
#include <QTabWidget>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The canvas of the real window rendered into an image at zoom 1.
QImage Render_Canvas(LMNWindowController& w)
{
    LMNGraphicView* view = w.graphicView();
    QImage img(view->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    view->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

std::shared_ptr<Shape_Control> Rect_Item(const QRectF& r)
{
    auto s = std::make_shared<Shape_Control>();
    s->Set_Shape_Type(QStringLiteral("R"));
    s->_isDrawingFill = true;
    s->_fillColor = Qt::green;
    s->alpha_val = 1.0f;
    s->_bounds = r;
    return s;
}

bool Reddish(QRgb c) { return qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100; }
bool Bluish(QRgb c) { return qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 100; }

class DesignSideTest : public MainWindowTest {};

} // namespace

TEST_F(DesignSideTest, TheCardModelIsMadeAndTheCanvasIsTheCard)
{
    LMNWindowController& w = make();
    Card_Property* card = w.Front_card_Prop();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->Card_Name, QStringLiteral("Untitled"));
    // A new design is 100 x 100 mm; the canvas bounds are the card's.
    const double side = 100.0 * 72.0 / 25.4;
    EXPECT_NEAR(card->Card_Size.width(), side, 0.01);
    EXPECT_EQ(w.graphicViewBounds().size(), card->Card_Size);
    EXPECT_EQ(w.graphicViewBounds().topLeft(), QPointF(0, 0));

    // A new project replaces the model and starts the placement cascade over.
    card->Card_Name = QStringLiteral("Changed");
    w.last_ctrl_X = 120.0f;
    w.last_ctrl_Y = 90.0f;
    w.last_ctrl_X_Exeed_Count = 17.0f;
    w.last_ctrl_Y_Exeed_Count = 22.0f;
    w.New_Project_Setting_Reset(1);
    EXPECT_EQ(w.Front_card_Prop()->Card_Name, QStringLiteral("Untitled"));
    EXPECT_EQ(w.last_ctrl_X, 10.0f);
    EXPECT_EQ(w.last_ctrl_Y, 10.0f);
    EXPECT_EQ(w.last_ctrl_X_Exeed_Count, 2.0f);
    EXPECT_EQ(w.last_ctrl_Y_Exeed_Count, 2.0f);
    // So the next new item goes to (30, 30).
    EXPECT_EQ(w.Control_New_Point(QStringLiteral("F")), QPointF(30, 30));
}

TEST_F(DesignSideTest, RealWindowDrawsGradientRoundedBorderAndWatermark)
{
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    Card_Property* card = w.Front_card_Prop();
    card->Card_fill_chk = true;
    card->Card_fill_style = QStringLiteral("G");
    card->Card_fill_Grd_1_clr = QColor(255, 0, 0);
    card->Card_fill_Grd_2_clr = QColor(0, 0, 255);
    card->Card_grad_Stepper = 0;
    QImage img = Render_Canvas(w);
    const int W = img.width(), H = img.height();
    ASSERT_EQ(W, 284);
    EXPECT_TRUE(Reddish(img.pixel(6, H / 2))) << std::hex << img.pixel(6, H / 2);
    EXPECT_TRUE(Bluish(img.pixel(W - 7, H / 2))) << std::hex << img.pixel(W - 7, H / 2);

    // A rounded card with a thick border: the corner stays undrawn, the edge is the border.
    w.Card_Shape = 1;
    card->Card_fill_style = QStringLiteral("S");
    card->Card_fill_clr = Qt::white;
    card->Card_border_chk = true;
    card->Card_bor_Stepper = 8;
    card->Card_bordr_clr = Qt::black;
    img = Render_Canvas(w);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);                  // outside the rounded outline
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0);
    const QRgb edge = img.pixel(W / 2, 1);                   // half the border shows inside
    EXPECT_LT(qGray(edge), 60) << std::hex << edge;
    EXPECT_GT(qGray(img.pixel(W / 2, 12)), 200);            // inside the border: the white fill
    w.Card_Shape = 0;
    img = Render_Canvas(w);
    EXPECT_LT(qGray(img.pixel(1, 1)), 60);                   // a plain rectangle has its corner
    card->Card_border_chk = false;

    // A watermark in the middle: red text across the middle band, nothing at the top.
    card->Watermark_Used = true;
    card->Watermark_Text = QStringLiteral("MMMM");
    card->Watermark_Color = Qt::red;
    card->Watermark_Transp = 1.0f;
    card->Watermark_Font = QFont(QStringLiteral("DejaVu Sans"), 40);
    card->Watermark_Alignment = 1;
    img = Render_Canvas(w);
    auto redIn = [&img](int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < img.width(); ++x)
                n += Reddish(img.pixel(x, y));
        return n;
    };
    EXPECT_GT(redIn(H / 2 - 20, H / 2 + 20), 200);
    EXPECT_EQ(redIn(0, 60), 0);
    card->Watermark_Alignment = 0;
    img = Render_Canvas(w);
    EXPECT_GT(redIn(0, 60), 200);

    // Items lie between the base and the watermark.
    w.designModeView()->document()->insertGraphic(Rect_Item(QRectF(100, 100, 40, 40)), 0);
    img = Render_Canvas(w);
    EXPECT_EQ(img.pixel(120, 120), qRgb(0, 255, 0));
}

TEST_F(DesignSideTest, GridDialogChangesSpacingShowingAndSnapping)
{
    LMNWindowController& w = make();
    DesignModeView* d = w.designModeView();
    LMNGrid* grid = d->grid();
    ASSERT_EQ(grid, w._grid);
    EXPECT_DOUBLE_EQ(grid->_spacing, 9.0);
    EXPECT_FALSE(grid->isAlwaysShown());
    EXPECT_FALSE(grid->isConstraining());

    int opened = 0;
    ModalRunner previous = Set_Modal_Runner([&](QDialog& dialog) {
        auto* wizard = qobject_cast<Grid_Wizard*>(&dialog);
        EXPECT_NE(wizard, nullptr);
        if (!wizard)
            return 0;
        ++opened;
        // Filled from the grid; the options box follows the show check box.
        EXPECT_EQ(wizard->Grid_Space_slidr->value(), 9);
        EXPECT_FALSE(wizard->Show_hide_grid_chk->isChecked());
        EXPECT_FALSE(wizard->Grid_Opt_box->findChild<QSlider*>()->isEnabled());
        wizard->Show_hide_grid_chk->setChecked(true);
        EXPECT_TRUE(wizard->Grid_Space_slidr->isEnabled());
        wizard->Grid_Space_slidr->setValue(18);
        wizard->Grid_clr->setColor(QColor(0, 128, 255), true);
        wizard->Snap_to_grid_chk->setChecked(true);
        wizard->Cancel_Btn_Clicked();   // Cancel keeps what was chosen
        return dialog.result();
    });
    d->toggleGridShowing();
    Set_Modal_Runner(previous);
    EXPECT_EQ(opened, 1);
    EXPECT_DOUBLE_EQ(grid->_spacing, 18.0);
    EXPECT_TRUE(grid->isAlwaysShown());
    EXPECT_TRUE(grid->isConstraining());
    EXPECT_EQ(grid->_color, QColor(0, 128, 255));
    EXPECT_TRUE(d->Snap_To_Grid_chk->isChecked());
    EXPECT_EQ(grid->constrainedPoint(QPointF(10, 26)), QPointF(18, 18));

    // The grid lines show on the real canvas.
    w.Front_card_Prop()->Card_fill_clr = Qt::white;
    const QImage img = Render_Canvas(w);
    const QRgb line = img.pixel(18, 40);
    EXPECT_TRUE(qBlue(line) > 200 && qRed(line) < 160) << std::hex << line;
    EXPECT_EQ(img.pixel(27, 40), qRgb(255, 255, 255));

    // The toolbar's snap switch turns snapping off again; a new project hides the grid.
    d->Snap_To_Grid_chk->trigger();
    EXPECT_FALSE(grid->isConstraining());
    EXPECT_EQ(grid->constrainedPoint(QPointF(10, 26)), QPointF(10, 26));
    w.New_Project_Setting_Reset(1);
    EXPECT_FALSE(grid->isAlwaysShown());
}

TEST_F(DesignSideTest, RulersShowAtStartAndTheCheckBoxHidesAndShowsThem)
{
    LMNWindowController& w = make();
    DesignModeView* d = w.designModeView();
    LMNZoomingScrollView* scroll = w._zoomingScrollView;
    ASSERT_TRUE(scroll->hasHorizontalRuler());
    ASSERT_TRUE(scroll->hasVerticalRuler());
    EXPECT_TRUE(scroll->rulersVisible());
    EXPECT_FALSE(scroll->horizontalRulerView()->isHidden());
    EXPECT_TRUE(d->Show_Hide_Ruler_chk->isChecked());
    d->Show_Hide_Ruler_chk->trigger();
    EXPECT_FALSE(scroll->rulersVisible());
    EXPECT_TRUE(scroll->horizontalRulerView()->isHidden());
    EXPECT_TRUE(scroll->verticalRulerView()->isHidden());
    EXPECT_FALSE(d->Show_Hide_Ruler_chk->isChecked());
    d->Show_Hide_Ruler_ChkBox();
    EXPECT_TRUE(scroll->rulersVisible());
    EXPECT_TRUE(d->Show_Hide_Ruler_chk->isChecked());

    // Zoom commands walk the table and stop at its ends.
    d->Set_Canvas_to_100_percent();
    d->Zoom_In_Toolbar_btn();
    EXPECT_DOUBLE_EQ(scroll->factor(), 1.25);
    EXPECT_DOUBLE_EQ(w.zoomFactor(), 1.25);
    for (int i = 0; i < 6; ++i)
        d->Zoom_In_Toolbar_btn();
    EXPECT_DOUBLE_EQ(scroll->factor(), 4.0);
    for (int i = 0; i < 9; ++i)
        d->Zoom_Out_Toolbar_btn();
    EXPECT_DOUBLE_EQ(scroll->factor(), 0.25);
    d->Actual_Size_Toolbar_btn();
    EXPECT_DOUBLE_EQ(scroll->factor(), 1.0);
    EXPECT_FLOAT_EQ(DesignModeView::Get_Factor_According_Index(7), 4.0f);
    EXPECT_FLOAT_EQ(DesignModeView::Get_Factor_According_Index(8), 0.0f);
}

TEST_F(DesignSideTest, UndoTakesBackTheLastStepAndRedoBringsItAgain)
{
    LMNWindowController& w = make();
    DesignModeView* d = w.designModeView();
    LMNDocument* doc = d->document();
    EXPECT_FALSE(d->Undo_btn->isEnabled());
    doc->insertGraphic(Rect_Item(QRectF(10, 10, 30, 30)), 0);
    w.Insert_In_Undo_Redo();
    doc->insertGraphic(Rect_Item(QRectF(60, 10, 30, 30)), 1);
    w.Insert_In_Undo_Redo();
    EXPECT_TRUE(d->Undo_btn->isEnabled());

    w.Undo_Action_Perform();   // the second item goes
    ASSERT_EQ(w.Get_Front_Control_Count(), 1);
    EXPECT_EQ(w.Get_Front_Controls_Array().at(0)->bounds(), QRectF(10, 10, 30, 30));
    EXPECT_TRUE(d->Redo_btn->isEnabled());
    w.Undo_Action_Perform();   // back to the empty new design
    EXPECT_EQ(w.Get_Front_Control_Count(), 0);
    EXPECT_FALSE(d->Undo_btn->isEnabled());
    w.Undo_Action_Perform();   // nothing more to undo
    EXPECT_EQ(w.Get_Front_Control_Count(), 0);

    w.Redo_Action_Perform();
    EXPECT_EQ(w.Get_Front_Control_Count(), 1);
    w.Redo_Action_Perform();
    ASSERT_EQ(w.Get_Front_Control_Count(), 2);
    EXPECT_EQ(w.Get_Front_Controls_Array().at(1)->bounds(), QRectF(60, 10, 30, 30));
    EXPECT_FALSE(d->Redo_btn->isEnabled());
    // A new step forgets what could be redone.
    w.Undo_Action_Perform();
    w.Insert_In_Undo_Redo();
    EXPECT_FALSE(d->Redo_btn->isEnabled());
    // A new project forgets the history.
    w.New_Project_Setting_Reset(1);
    EXPECT_EQ(d->Get_Undo_Count(), 0);
    EXPECT_EQ(w.Get_Front_Control_Count(), 0);
}

TEST_F(DesignSideTest, RemovedItemsAreFreedOnceTheEventIsOver)
{
    LMNWindowController& w = make();
    LMNDocument* doc = w.designModeView()->document();
    std::weak_ptr<Shape_Control> watch;
    {
        auto item = Rect_Item(QRectF(10, 10, 30, 30));
        watch = item;
        doc->insertGraphic(item, 0);
    }
    w.graphicView()->selectAll();
    w.graphicView()->delete_();
    EXPECT_EQ(w.Get_Front_Control_Count(), 0);
    // The snapshot history holds archives, not the item; the document's open
    // undo group still holds it until the event is over.
    w.Close_Document_Undo_Group();
    EXPECT_TRUE(watch.expired());
    // The event loop closes the group by itself once the event is over.
    {
        auto item = Rect_Item(QRectF(10, 10, 30, 30));
        watch = item;
        doc->insertGraphic(item, 0);
    }
    doc->removeGraphicAtIndex(0);
    EXPECT_FALSE(watch.expired());
    QCoreApplication::processEvents();
    EXPECT_TRUE(watch.expired());
}

TEST_F(DesignSideTest, PanelsFollowTheSelection)
{
    LMNWindowController& w = make();
    PropertyPanelHost* host = w.designModeView()->panels;
    auto shape = Rect_Item(QRectF(20, 30, 40, 50));
    w.designModeView()->document()->insertGraphic(shape, 0);
    w.Show_RHS_Properties(shape.get());
    EXPECT_EQ(host->properties_title->text(), QStringLiteral("Shape Properties"));
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"shape_tab", "aligmnt_tab"}));
    EXPECT_EQ(host->sett_tab->tabText(0), QStringLiteral("General"));

    // A locked double star shows only the lock tab, under its shape's title.
    shape->Set_Shape_Type(QStringLiteral("DS"));
    shape->ctrl_is_locked = true;
    w.Show_RHS_Properties(shape.get());
    EXPECT_EQ(host->shownTabTitles(), QStringList{"Lock_tab"});
    EXPECT_EQ(host->sett_tab->tabText(0), QStringLiteral("Double Star Settings"));
    // Its unlock button unlocks the selection.
    w.graphicView()->selectAll();
    host->Lock_tab->unlockButton()->click();
    EXPECT_FALSE(shape->ctrl_is_locked);
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"shape_tab", "aligmnt_tab"}));

    // Lock with nothing selected says so.
    w.graphicView()->deselectAll();
    w.Lock_Clicked();
    EXPECT_TRUE(sawMessage(QStringLiteral("Please select a control to Lock.")));

    // Nothing: the card's four tabs.
    w.Show_RHS_Properties(nullptr);
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"card_info_tab", "card_size_tab", "card_bkgd_tab", "card_brdr_tab"}));
    EXPECT_EQ(host->properties_title->text(), QStringLiteral("Label Properties"));
}

TEST_F(DesignSideTest, ContextMenuOffersOnlyWhatTheWindowCanDo)
{
    LMNWindowController& w = make();
    std::unique_ptr<QMenu> menu = w.graphicView()->contextMenu();
    auto act = [&menu](const char* name) { return menu->findChild<QAction*>(QString::fromLatin1(name)); };
    EXPECT_TRUE(act("card_properties")->isEnabled());
    // The label background, export, mail and print are wired; a command
    // without its function is not offered.
    for (const char* name : {"select_card", "export_id_card", "mail_id_card", "print_id_card"})
        EXPECT_TRUE(act(name)->isEnabled()) << name;
    const auto mail = w.Mail_Command;
    w.Mail_Command = nullptr;
    EXPECT_FALSE(w.graphicView()->contextMenu()->findChild<QAction*>(QStringLiteral("mail_id_card"))->isEnabled());
    w.Mail_Command = mail;

    int exported = 0;
    w.Export_Command = [&exported] { ++exported; };
    menu = w.graphicView()->contextMenu();
    ASSERT_TRUE(act("export_id_card")->isEnabled());
    act("export_id_card")->trigger();
    EXPECT_EQ(exported, 1);

    // Label Properties shows the card's panel in designing mode.
    w.Barcode_Mode_Select();
    act("card_properties")->trigger();
    EXPECT_EQ(w.Barcode_Setting_Or_Designing_Mode(), 1);
    EXPECT_EQ(w.designModeView()->panels->sett_tab->count(), 4);
}

TEST_F(DesignSideTest, ClosingAndQuitAskAsExitDoes)
{
    LMNWindowController& w = make();
    QList<int> answers;
    QStringList asked;
    MessageResponder prev = Set_Message_Responder([&](const MessageRequest& r) {
        asked << r.text;
        return answers.isEmpty() ? 1 : answers.takeFirst();
    });
    // Even with nothing changed since start-up both questions come, each
    // time: No to saving, No to exiting; the window stays.
    for (int time = 0; time < 2; ++time) {
        asked.clear();
        answers = {1, 1};
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(exitCodes.isEmpty());
        ASSERT_EQ(asked.size(), 2);
        EXPECT_EQ(asked.at(0), QStringLiteral("Do you want to save changes before closing?"));
        EXPECT_TRUE(asked.at(1).contains(QStringLiteral("Do you really want to exit?")));
    }

    // With work that can be saved, Cancel in the save question ends nothing.
    int saves = 0;
    w.Save_Current_Work = [&saves] { ++saves; return true; };
    asked.clear();
    answers = {2};
    w.Exit_btn->trigger();
    EXPECT_TRUE(exitCodes.isEmpty());
    EXPECT_EQ(asked, QStringList{"Do you want to save changes before closing?"});
    // Yes saves, then Yes to the exit question ends the application.
    answers = {0, 0};
    EXPECT_EQ(w.Exit_btn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    w.Exit_btn->trigger();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(exitCodes, QList<int>{0});
    Set_Message_Responder(prev);
}

namespace {

// An item archive that breaks at "_fillColor" (written as a number): what
// comes before it reads, what comes after does not.
QByteArray Damaged_Shape_Archive()
{
    KeyedArchiver a(QStringLiteral("Shape_Control"));
    a.encodeRect("_bounds", QRectF(120, 30, 40, 20));
    a.encodeBool("_isDrawingFill", true);
    a.encodeInt32("_fillColor", 7);
    a.encodeString("_shape_type", QStringLiteral("C"));
    return a.finish();
}

// One field of pdfinfo's answer ("Title", "Pages", ...).
QString Pdf_Info_Field(const QByteArray& out, const char* name)
{
    for (const QString& line : QString::fromUtf8(out).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String(name) + QLatin1Char(':')))
            return line.mid(int(qstrlen(name)) + 1).trimmed();
    return QString();
}

} // namespace

// Pasted data with an element that gives no item and one that is damaged:
// the paste keeps every item it can read, and says what it left out.
TEST_F(DesignSideTest, APasteWithADamagedItemPastesWhatCanBeRead)
{
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    auto good = Rect_Item(QRectF(10, 10, 30, 30));
    QByteArray unknown = good->encodeWithCoder();
    unknown.replace(unknown.indexOf("Shape_Control"), 13, "Shape_Cxntrol");
    auto* data = new QMimeData;
    data->setData(LMNGraphicViewPasteboardType,
                  Plist_Serialize(QVariantList{good->encodeWithCoder(), unknown, Damaged_Shape_Archive()},
                                  PlistFormat::Binary));
    QGuiApplication::clipboard()->setMimeData(data);
    w.editCommands()->Refresh_Enabled();
    ASSERT_TRUE(w.editCommands()->Paste_btn->isEnabled());
    messages.clear();
    w.editCommands()->Paste_btn->trigger();
    const QList<LMNGraphic*> pasted = w.Get_Front_Controls_Array();
    ASSERT_EQ(pasted.size(), 2);
    EXPECT_EQ(pasted.at(0)->_fillColor, QColor(Qt::green));
    EXPECT_EQ(pasted.at(1)->kind(), LMNKind::Shape);
    EXPECT_TRUE(pasted.at(1)->_isDrawingFill);
    EXPECT_EQ(pasted.at(1)->_bounds.size(), QSizeF(40, 20));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(sawMessage("One of the copied items could not be read and was left out."));
    QGuiApplication::clipboard()->clear();
}

// An undo step holding a damaged item gives the item back as far as it reads
// instead of dropping it.
TEST_F(DesignSideTest, UndoRestoresADamagedItemAsFarAsItReads)
{
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    DesignModeView* d = w.designModeView();
    LMNDocument* doc = d->document();
    doc->insertGraphic(Rect_Item(QRectF(10, 10, 30, 30)), 0);
    doc->insertGraphic(Rect_Item(QRectF(60, 10, 30, 30)), 1);
    w.Insert_In_Undo_Redo();
    doc->insertGraphic(Rect_Item(QRectF(10, 60, 30, 30)), 2);
    w.Insert_In_Undo_Redo();
    ASSERT_GE(d->Ucontrol.size(), 2);
    d->Ucontrol[d->Ucontrol.size() - 2][1] = Damaged_Shape_Archive();
    d->Undo_btn->trigger();
    const QList<LMNGraphic*> back = w.Get_Front_Controls_Array();
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back.at(0)->bounds(), QRectF(10, 10, 30, 30));
    EXPECT_EQ(back.at(1)->_bounds, QRectF(120, 30, 40, 20));
    EXPECT_TRUE(back.at(1)->_isDrawingFill);
    EXPECT_FALSE(back.at(1)->_fillColor.isValid());
}

// The document's print run: the card at 284 x 284 points from the page's
// corner, whatever the card's size, under the document's name.
TEST_F(DesignSideTest, TheDocumentPrintsTheCardAtItsFixedSizeUnderItsName)
{
    QTemporaryDir dir;
    // The print settings' paper: A4 upright (another test may have left others).
    const PrintInfo savedInfo = MainWindowServices::printInfo();
    const auto restoreInfo = qScopeGuard([&] { MainWindowServices::setPrintInfo(savedInfo); });
    PrintInfo upright = savedInfo;
    upright.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    MainWindowServices::setPrintInfo(upright);
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    Card_Property* card = w.Front_card_Prop();
    card->Card_fill_chk = true;
    card->Card_fill_style = QStringLiteral("S");
    card->Card_fill_clr = Qt::blue;
    w.designModeView()->Apply_Card_Size(QSizeF(400, 300));
    LMNDocument* doc = w.designModeView()->document();
    doc->insertGraphic(Rect_Item(QRectF(250, 250, 100, 40)), 0);   // green, half beyond 284
    const auto run = [&](const QString& name) {
        const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
        std::unique_ptr<LMNPrintOperation> op = doc->printOperationWithSettings(
            {{QStringLiteral("jobDisposition"), QStringLiteral("save")}, {QStringLiteral("savePath"), pdf}});
        EXPECT_EQ(op->view().bounds(), QRectF(0, 0, 284, 284));
        EXPECT_TRUE(op->canSpawnSeparateThread());
        QString why;
        EXPECT_TRUE(op->runOperation(&why)) << why.toStdString();
        return pdf;
    };
    const QString pdf = run(QStringLiteral("untitled"));
    const testsupport::ToolResult info = testsupport::Run_Tool("pdfinfo", {pdf});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_EQ(Pdf_Info_Field(info.out, "Title"), w.App_Name());
    EXPECT_EQ(Pdf_Info_Field(info.out, "Pages"), QStringLiteral("1"));
    EXPECT_TRUE(Pdf_Info_Field(info.out, "Page size").startsWith(QStringLiteral("595"))) << "A4 paper";
    ASSERT_EQ(testsupport::Run_Tool("pdftocairo", {"-png", "-r", "72", "-singlefile", pdf, pdf}).exitCode, 0);
    const QImage page(pdf + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    const auto blue = [&](int x, int y) { return qBlue(page.pixel(x, y)) > 200 && qRed(page.pixel(x, y)) < 60; };
    const auto green = [&](int x, int y) { return qGreen(page.pixel(x, y)) > 100 && qBlue(page.pixel(x, y)) < 60; };
    EXPECT_TRUE(blue(2, 2));
    EXPECT_TRUE(blue(281, 200));
    EXPECT_FALSE(blue(287, 200)) << "the card stops at 284 points";
    EXPECT_FALSE(blue(200, 287));
    EXPECT_TRUE(green(270, 270));
    EXPECT_FALSE(green(290, 270));
    // A document with a file prints under the file's name without its extension.
    doc->fileURL = dir.filePath(QStringLiteral("Shelf label.v2.dbs"));
    const testsupport::ToolResult named = testsupport::Run_Tool("pdfinfo", {run(QStringLiteral("named"))});
    EXPECT_EQ(Pdf_Info_Field(named.out, "Title"), QStringLiteral("Shelf label.v2"));
    // Without a printer or a file, it says why.
    std::unique_ptr<LMNPrintOperation> nowhere = doc->printOperationWithSettings(
        {{QStringLiteral("jobDisposition"), QStringLiteral("save")}});
    QString why;
    EXPECT_FALSE(nowhere->runOperation(&why));
    EXPECT_FALSE(why.isEmpty());
}
