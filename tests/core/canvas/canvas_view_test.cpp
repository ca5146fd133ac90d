// The design canvas driven as a user would: mouse and keys on an offscreen
// widget, commands, clipboard, menu validation and partial redisplay.
#include "CanvasTestSupport.h"
#include "common/ScopedFolders.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNText.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct CanvasFixture : ::testing::Test {
    CanvasWindow win;
    LMNDocument doc;
    LMNGrid grid;
    std::unique_ptr<LMNGraphicView> view;

    void Reset_Cascade()
    {
        win.last_ctrl_X = 10.0f;
        win.last_ctrl_Y = 10.0f;
        win.last_ctrl_X_Exeed_Count = 2.0f;
        win.last_ctrl_Y_Exeed_Count = 2.0f;
    }
    // The new-item point the window gives first after a reset.
    QPointF First_New_Point()
    {
        Reset_Cascade();
        const QPointF p = win.Control_New_Point(QStringLiteral("F"));
        Reset_Cascade();
        return p;
    }
    void SetUp() override
    {
        win.last_ctrl_X = 10.0f;
        win.last_ctrl_Y = 10.0f;
        win.last_ctrl_X_Exeed_Count = 2.0f;
        win.last_ctrl_Y_Exeed_Count = 2.0f;
        view = std::make_unique<LMNGraphicView>();
        win.view = view.get();
        view->setCardSize(QSizeF(300, 200));
        view->bindGraphics(&doc);
        view->setGrid(&grid);
        view->show();
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        view->unbindGraphics();
        win.view = nullptr;
        view.reset();
    }
    LMNGraphic* add(const QRectF& r, QColor c = Qt::red)
    {
        auto item = Make_Rect_Item(r, c);
        doc.insertGraphics({item}, {int(doc.graphics().size())});
        return item.get();
    }
    QRectF b(int i) const { return doc.graphics().at(i)->bounds(); }
};

} // namespace

TEST_F(CanvasFixture, MoveNeedsTwoPointsOfTravel)
{
    add(QRectF(50, 50, 40, 40));
    Drag(view.get(), {60, 60}, {61.9, 60}, 2);
    EXPECT_EQ(b(0), QRectF(50, 50, 40, 40));
    EXPECT_EQ(win.undoSnapshots, 0);
    EXPECT_FALSE(view->_isHidingHandles);
    EXPECT_EQ(view->selectionIndexes(), QList<int>{0});
    Drag(view.get(), {60, 60}, {62, 60}, 1);
    EXPECT_EQ(b(0), QRectF(52, 50, 40, 40));
    EXPECT_EQ(win.undoSnapshots, 1);
    EXPECT_EQ(win.shownProperties.last(), doc.graphics().at(0).get());
}

TEST_F(CanvasFixture, GridSnapsSelectionOrigin)
{
    grid.setConstraining(true);
    add(QRectF(3, 4, 30, 30));
    Drag(view.get(), {10, 10}, {20, 10}, 3);
    EXPECT_EQ(b(0).topLeft(), QPointF(9, 0));
}

TEST_F(CanvasFixture, CtrlClickTogglesAndDeselectedItemDoesNotMove)
{
    add(QRectF(10, 10, 30, 30));
    add(QRectF(100, 10, 30, 30));
    Click(view.get(), {20, 20});
    Click(view.get(), {110, 20}, Qt::ControlModifier);
    EXPECT_EQ(view->selectionIndexes(), (QList<int>{0, 1}));
    Drag(view.get(), {20, 20}, {40, 40}, 3, Qt::ControlModifier); // deselects, then nothing moves
    EXPECT_EQ(view->selectionIndexes(), QList<int>{1});
    EXPECT_EQ(b(0), QRectF(10, 10, 30, 30));
    EXPECT_EQ(b(1), QRectF(100, 10, 30, 30));
    Drag(view.get(), {20, 20}, {30, 20}, 3, Qt::ControlModifier); // adds and drags both
    EXPECT_EQ(b(0).x(), 20);
    EXPECT_EQ(b(1).x(), 110);
}

TEST_F(CanvasFixture, RubberBandSelectsAndStaysSelectedWithCardPanel)
{
    add(QRectF(10, 10, 20, 20));
    add(QRectF(60, 60, 20, 20));
    add(QRectF(200, 150, 20, 20));
    Drag(view.get(), {150, 140}, {2, 2}, 5);
    EXPECT_EQ(view->selectionIndexes(), (QList<int>{0, 1}));
    EXPECT_TRUE(view->_marqueeSelectionBounds.isNull());
    ASSERT_FALSE(win.shownProperties.isEmpty());
    EXPECT_EQ(win.shownProperties.last(), nullptr);
    EXPECT_GE(win.refreshCount, 1);
    // A band that covers an item and then shrinks away leaves its toggled state.
    Click(view.get(), {290, 5});
    EXPECT_TRUE(view->selectionIndexes().isEmpty());
    Send_Mouse(view.get(), QEvent::MouseButtonPress, {150, 5}, Qt::LeftButton);
    Send_Mouse(view.get(), QEvent::MouseMove, {5, 40}, Qt::LeftButton);
    Send_Mouse(view.get(), QEvent::MouseMove, {140, 8}, Qt::LeftButton);
    Send_Mouse(view.get(), QEvent::MouseButtonRelease, {140, 8}, Qt::NoButton);
    EXPECT_EQ(view->selectionIndexes(), QList<int>{0});
}

TEST_F(CanvasFixture, CreationForEveryToolNumber)
{
    FakeBarcodeDialog barcodes;
    struct Case { int tool; LMNKind kind; const char* shape; };
    const Case cases[] = {
        {1, LMNKind::Line, nullptr}, {2, LMNKind::Text, nullptr}, {3, LMNKind::Shape, "R"},
        {4, LMNKind::Shape, "C"}, {5, LMNKind::Shape, "RR"}, {6, LMNKind::Shape, "T"},
        {7, LMNKind::Shape, "D"}, {8, LMNKind::Image, nullptr}, {9, LMNKind::Image, nullptr},
        {10, LMNKind::Barcode, nullptr}, {11, LMNKind::Signature, nullptr}, {12, LMNKind::Signature, nullptr},
        {13, LMNKind::Shape, "S"}, {14, LMNKind::Shape, "DS"}, {15, LMNKind::Shape, "P"},
    };
    for (const Case& c : cases) {
        win.selectedTool = c.tool;
        const int before = win.undoSnapshots;
        Drag(view.get(), {20, 20}, {80, 60}, 3);
        ASSERT_EQ(doc.graphics().size(), 1) << c.tool;
        LMNGraphic* g = doc.graphics().at(0).get();
        EXPECT_EQ(g->kind(), c.kind) << c.tool;
        if (c.shape) {
            EXPECT_EQ(g->Get_shape_type(), QString::fromLatin1(c.shape)) << c.tool;
        }
        if (c.tool == 10) {
            EXPECT_EQ(g->bounds().size(), QSizeF(120, 60)); // the rendered image's size
        } else if (c.tool == 1) {
            EXPECT_EQ(static_cast<LMNLine*>(g)->endPoint(), QPointF(80, 60));
        } else {
            EXPECT_EQ(g->bounds(), QRectF(20, 20, 60, 40)) << c.tool;
        }
        if (c.tool == 11 || c.tool == 12) {
            EXPECT_EQ(g->sign_or_fingureprint, QString::fromLatin1(c.tool == 12 ? "F" : "S"));
        }
        EXPECT_EQ(win.selectedTool, 0) << c.tool;
        EXPECT_EQ(win.undoSnapshots - before, 2) << c.tool;
        EXPECT_EQ(view->selectionIndexes(), QList<int>{0});
        view->selectAll();
        view->delete_();
    }
    // A click without a drag leaves no item.
    win.selectedTool = 3;
    Click(view.get(), {30, 30});
    EXPECT_TRUE(doc.graphics().isEmpty());
    EXPECT_EQ(win.selectedTool, 0);
}

TEST_F(CanvasFixture, CreationWithoutEventAndById)
{
    win.selectedTool = 2;
    const QPointF expected = First_New_Point();
    LMNGraphic* t = view->createGraphicOfClass(LMNKind::Text, nullptr, true, QRectF(0, 0, 50, 50),
                                               QStringLiteral("F"), QString(), QString());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->bounds().size(), QSizeF(70, 20));
    EXPECT_EQ(t->bounds().topLeft(), expected); // the next new-item point
    win.selectedTool = 2;
    LMNGraphic* bound = view->createGraphicOfClass(LMNKind::Text, nullptr, false, QRectF(), QStringLiteral("F"),
                                                   QStringLiteral("Hello"), QStringLiteral("ID1"));
    ASSERT_NE(bound, nullptr);
    EXPECT_EQ(bound->Text_Value, QStringLiteral("Hello"));
    EXPECT_FALSE(bound->_isDrawingFill);
    // The same ID again creates nothing.
    EXPECT_EQ(view->createGraphicOfClass(LMNKind::Text, nullptr, false, QRectF(), QStringLiteral("F"),
                                         QStringLiteral("x"), QStringLiteral("ID1")), nullptr);
    EXPECT_EQ(doc.graphics().size(), 2);
    EXPECT_EQ(view->Selcect_Ctrl_With_ID(QStringLiteral("ID1")), bound);
    EXPECT_EQ(view->Selcect_Ctrl_With_ID(QString()), nullptr);
}

TEST_F(CanvasFixture, CopyPasteCascades)
{
    add(QRectF(100, 100, 20, 20));
    add(QRectF(150, 100, 20, 20));
    view->selectAll();
    view->copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(LMNGraphicViewPasteboardType));
    EXPECT_TRUE(data->data(LMNGraphicViewPdfType).startsWith("%PDF"));
    EXPECT_FALSE(data->data(LMNGraphicViewTiffType).isEmpty());
    EXPECT_EQ(win.pasteButtonUpdates, 1);

    const QPointF expected = First_New_Point();
    int before = win.undoSnapshots;
    view->paste();
    EXPECT_EQ(win.undoSnapshots - before, 2); // before and after the paste
    ASSERT_EQ(doc.graphics().size(), 4);
    EXPECT_EQ(view->selectionIndexes(), (QList<int>{0, 1}));
    const QPointF first = b(0).topLeft();
    EXPECT_EQ(first, expected);
    view->paste();
    ASSERT_EQ(doc.graphics().size(), 6);
    EXPECT_EQ(view->selectionIndexes(), (QList<int>{0, 1}));
    EXPECT_NE(b(0).topLeft(), first); // the next new-item point
    EXPECT_NE(b(1).topLeft(), b(0).topLeft());
    EXPECT_EQ(b(0).size(), QSizeF(20, 20));

    // Items put on the clipboard elsewhere keep their stored place on the
    // first paste and cascade from the second on.
    auto* foreign = new QMimeData;
    foreign->setData(LMNGraphicViewPasteboardType,
                     LMNGraphic::pasteboardDataWithGraphics({doc.graphics().at(5).get()}));
    const QRectF stored = b(5);
    QGuiApplication::clipboard()->setMimeData(foreign);
    view->paste();
    ASSERT_EQ(doc.graphics().size(), 7);
    EXPECT_EQ(b(0), stored);
    view->paste();
    EXPECT_NE(b(0).topLeft(), stored.topLeft());

    // Cut: the copy, then the delete with its two snapshots.
    view->changeSelectionIndexes({0});
    before = win.undoSnapshots;
    view->cut();
    EXPECT_EQ(doc.graphics().size(), 7);
    EXPECT_EQ(win.undoSnapshots - before, 2);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(LMNGraphicViewPasteboardType));
}

TEST_F(CanvasFixture, PasteOfForeignOrBadData)
{
    add(QRectF(10, 10, 20, 20));
    auto* urls = new QMimeData;
    urls->setUrls({QUrl::fromLocalFile("/tmp/x.png")});
    QGuiApplication::clipboard()->setMimeData(urls);
    const int before = win.undoSnapshots;
    view->paste();
    EXPECT_EQ(doc.graphics().size(), 1);
    EXPECT_EQ(win.undoSnapshots, before + 1);

    auto* bad = new QMimeData;
    bad->setData(LMNGraphicViewPasteboardType, QByteArray("not a property list"));
    QGuiApplication::clipboard()->setMimeData(bad);
    ScriptedMessages msgs;
    view->paste();
    EXPECT_EQ(doc.graphics().size(), 1);
    EXPECT_EQ(msgs.requests.size(), 1u);

    // A picture of another program: kept as a file that the new item names,
    // so that it draws the picture (its top left corner at 50, 50).
    QTemporaryDir dir;
    testsupport::Scoped_Folders folders(dir.path());
    Folders.Cropped_Img_Path = dir.filePath("kept");
    auto* image = new QMimeData;
    QImage pic(30, 20, QImage::Format_RGB32);
    pic.fill(Qt::green);
    image->setImageData(pic);
    QGuiApplication::clipboard()->setMimeData(image);
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("paste")));
    view->paste();
    ASSERT_EQ(doc.graphics().size(), 2);
    LMNGraphic* pasted = doc.graphics().at(0).get();
    EXPECT_EQ(pasted->kind(), LMNKind::Image);
    EXPECT_EQ(pasted->bounds(), QRectF(50, 50, 30, 20));
    EXPECT_EQ(QFileInfo(pasted->_file_path).absolutePath(), QFileInfo(Folders.Cropped_Img_Path).absoluteFilePath());
    EXPECT_EQ(QImage(pasted->_file_path).convertToFormat(QImage::Format_RGB32), pic);
    view->changeSelectionIndexes({});
    QImage shot(view->size(), QImage::Format_ARGB32);
    shot.fill(Qt::white);
    view->render(&shot);
    const QPoint inside = view->widgetRectForCanvasRect(QRectF(65, 60, 1, 1)).center();
    EXPECT_EQ(shot.pixelColor(inside), QColor(Qt::green));

    // File names beside a picture come first: Paste is not offered.
    auto* both = new QMimeData;
    both->setImageData(pic);
    both->setUrls({QUrl::fromLocalFile("/tmp/x.png")});
    QGuiApplication::clipboard()->setMimeData(both);
    EXPECT_FALSE(view->validateMenuItem(QStringLiteral("paste")));
    view->paste();
    EXPECT_EQ(doc.graphics().size(), 2);
    // A web page's address beside a copied picture names no file.
    auto* web = new QMimeData;
    web->setImageData(pic);
    web->setUrls({QUrl(QStringLiteral("https://example.org/pic.png"))});
    QGuiApplication::clipboard()->setMimeData(web);
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("paste")));
    view->paste();
    ASSERT_EQ(doc.graphics().size(), 3);
    EXPECT_EQ(doc.graphics().at(0)->_file_path, pasted->_file_path) << "the same picture, the same file";
}

TEST_F(CanvasFixture, AlignmentWorkedValues)
{
    LMNGraphic* a = add(QRectF(10, 10, 40, 30));
    LMNGraphic* c = add(QRectF(70, 80, 20, 10));
    view->selectAll();
    view->alignRightEdges();
    EXPECT_EQ(c->bounds(), QRectF(30, 80, 20, 10));
    view->alignLeftEdges();
    EXPECT_EQ(c->bounds().x(), 10);
    view->alignTopEdges();
    EXPECT_EQ(c->bounds().y(), 10);
    view->alignBottomEdges();
    EXPECT_EQ(c->bounds().y(), 30);
    view->alignHorizontalCenters();
    EXPECT_EQ(c->bounds().x(), 20);
    view->alignVerticalCenters();
    EXPECT_EQ(c->bounds().y(), 20);
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 40, 30)); // the reference never moves
    view->alignformCenter();
    EXPECT_EQ(a->bounds().topLeft(), QPointF(130, 85));
    EXPECT_EQ(c->bounds().topLeft(), QPointF(140, 95));
    EXPECT_EQ(c->bounds().size(), QSizeF(20, 10));

    view->changeSelectionIndexes({1});
    view->alignLeftEdges();
    EXPECT_EQ(c->bounds().x(), 0);
    view->alignRightEdges();
    EXPECT_EQ(c->bounds().x(), 280);
    view->alignBottomEdges();
    EXPECT_EQ(c->bounds().y(), 190);
    c->ctrl_is_locked = true;
    view->alignTopEdges();
    EXPECT_EQ(c->bounds().y(), 190);
}

TEST_F(CanvasFixture, SameSizeCommands)
{
    LMNGraphic* a = add(QRectF(10, 10, 40, 30));
    LMNGraphic* c = add(QRectF(70, 80, 20, 10));
    auto bar = std::make_shared<LMNBarcode>();
    bar->_bounds = QRectF(100, 100, 60, 25);
    doc.insertGraphics({bar}, {2});
    view->selectAll();
    view->makeSameWidth();
    view->makeSameHeight();
    EXPECT_EQ(c->bounds(), QRectF(70, 80, 40, 30));
    EXPECT_EQ(bar->bounds(), QRectF(100, 100, 60, 25));
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 40, 30));
    view->changeSelectionIndexes({1});
    view->makeSameWidth(); // one item: nothing
    EXPECT_EQ(c->bounds().width(), 40);
    view->Frame_main_Pic_Wdith_Changed(10.0);
    EXPECT_NEAR(c->bounds().width(), 28.34645669291, 1e-9);
    view->Frame_main_Pic_X_Pos_Changed(5);
    EXPECT_EQ(c->bounds().x(), 5);
}

TEST_F(CanvasFixture, BringToFrontAndSendToBack)
{
    QList<LMNGraphic*> items;
    for (int i = 0; i < 6; ++i)
        items.append(add(QRectF(10 * i, 10, 5, 5)));
    view->changeSelectionIndexes({2, 5});
    view->bringToFront();
    EXPECT_EQ(doc.graphics().at(0).get(), items[2]);
    EXPECT_EQ(doc.graphics().at(1).get(), items[5]);
    EXPECT_EQ(view->selectionIndexes(), (QList<int>{0, 1}));
    view->sendToBack();
    EXPECT_EQ(doc.graphics().at(4).get(), items[2]);
    EXPECT_EQ(doc.graphics().at(5).get(), items[5]);
    EXPECT_EQ(view->selectionIndexes(), (QList<int>{4, 5}));
}

TEST_F(CanvasFixture, ArrowKeysNudgeAndHideHandles)
{
    LMNGraphic* a = add(QRectF(10, 10, 40, 30));
    view->changeSelectionIndexes({0});
    QTest::keyClick(view.get(), Qt::Key_Right);
    QTest::keyClick(view.get(), Qt::Key_Down);
    QTest::keyClick(view.get(), Qt::Key_Down);
    QTest::keyClick(view.get(), Qt::Key_Left);
    QTest::keyClick(view.get(), Qt::Key_Left);
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(a->bounds().topLeft(), QPointF(9, 11));
    EXPECT_TRUE(view->_isHidingHandles);
    EXPECT_EQ(win.undoSnapshots, 6);
    QTest::qWait(700);
    EXPECT_FALSE(view->_isHidingHandles);
    view->deselectAll();
    QTest::keyClick(view.get(), Qt::Key_Left); // nothing selected: nothing moves, still a snapshot
    EXPECT_EQ(a->bounds().topLeft(), QPointF(9, 11));
    EXPECT_EQ(win.undoSnapshots, 7);
    view->changeSelectionIndexes({0});
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_TRUE(doc.graphics().isEmpty());
}

TEST_F(CanvasFixture, MenuValidationInOrder)
{
    LMNGraphic* a = add(QRectF(10, 10, 40, 30));
    add(QRectF(100, 10, 40, 30));
    // Nothing selected.
    for (const char* act : {"cut", "copy", "delete", "bringToFront", "lock_ctrl", "alignLeftEdges", "makeSameWidth",
                            "alignWithGrid", "makeNaturalSize", "paste"})
        EXPECT_FALSE(view->validateMenuItem(QString::fromLatin1(act))) << act;
    for (const char* act : {"alignformCenter", "selectAll", "card_properties", "undo", "print_id_card"})
        EXPECT_TRUE(view->validateMenuItem(QString::fromLatin1(act))) << act;
    QString title;
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("showOrHideRulers"), &title));
    EXPECT_EQ(title, QStringLiteral("Show Ruler"));

    view->selectAll();
    view->copy();
    Click(view.get(), {20, 20}); // current item a, both still selected
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("paste")));
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("alignLeftEdges")));
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("makeNaturalSize")));
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("alignWithGrid")));
    EXPECT_FALSE(view->validateMenuItem(QStringLiteral("unlock_ctrl")));
    a->ctrl_is_locked = true;
    // A locked current item disables paste even with our items on the clipboard.
    for (const char* act : {"cut", "paste", "delete", "bringToFront", "sendToBack", "lock_ctrl"})
        EXPECT_FALSE(view->validateMenuItem(QString::fromLatin1(act))) << act;
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("unlock_ctrl")));
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("copy")));

    std::unique_ptr<QMenu> menu = view->contextMenu();
    const QList<QAction*> acts = menu->actions();
    ASSERT_EQ(acts.size(), 20);
    EXPECT_EQ(acts[0]->text(), QStringLiteral("Cut"));
    EXPECT_EQ(acts[6]->text(), QStringLiteral("Bring to Front"));
    EXPECT_EQ(acts[15]->text(), QStringLiteral("Show/Hide Grid"));
    EXPECT_EQ(acts[19]->text(), QStringLiteral("Print Label"));
    EXPECT_FALSE(acts[0]->isEnabled());
    acts[15]->trigger();
    EXPECT_TRUE(grid.isAlwaysShown());
}

TEST_F(CanvasFixture, BadInputNeverCrashes)
{
    ScriptedMessages msgs;
    // Empty selection.
    for (const char* act : {"cut", "copy", "delete", "bringToFront", "sendToBack", "alignLeftEdges", "alignRightEdges",
                            "alignformCenter", "alignWithGrid", "makeSameWidth", "makeNaturalSize",
                            "makeSameAsLabelSize", "selectAll", "deselectAll", "paste"})
        EXPECT_TRUE(view->performAction(QString::fromLatin1(act))) << act;
    EXPECT_FALSE(view->performAction(QStringLiteral("noSuchCommand")));
    EXPECT_TRUE(msgs.requests.empty());
    // Locked items refuse cut, delete and the order commands with the message.
    LMNGraphic* a = add(QRectF(10, 10, 40, 30));
    a->ctrl_is_locked = true;
    view->changeSelectionIndexes({0});
    for (const char* act : {"cut", "delete", "bringToFront", "sendToBack"})
        view->performAction(QString::fromLatin1(act));
    ASSERT_EQ(msgs.requests.size(), 4u);
    EXPECT_EQ(msgs.requests[0].text, QStringLiteral("\nSelected control is locked."));
    EXPECT_EQ(doc.graphics().size(), 1);
    // Locked items neither move nor resize; others skip them.
    view->moveSelectedGraphicsByX(5, 5);
    view->alignformCenter();
    view->Frame_main_Pic_Height_Changed(-3);
    view->Frame_main_Pic_Height_Changed(std::nan(""));
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 40, 30));
    // Out-of-range indexes are dropped.
    view->changeSelectionIndexes({-1, 0, 7});
    EXPECT_EQ(view->selectionIndexes(), QList<int>{0});
}

TEST_F(CanvasFixture, ResizeByHandleTakesSnapshotAndBarcodeRefuses)
{
    LMNGraphic* a = add(QRectF(10, 10, 40, 30));
    view->changeSelectionIndexes({0});
    Drag(view.get(), {50, 40}, {70, 60}, 3); // handle 8
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 60, 50));
    EXPECT_EQ(win.undoSnapshots, 1);
    auto bar = std::make_shared<LMNBarcode>();
    bar->_bounds = QRectF(150, 100, 60, 25);
    doc.insertGraphics({bar}, {0});
    view->changeSelectionIndexes({0});
    Drag(view.get(), {210, 125}, {250, 160}, 3);
    EXPECT_EQ(bar->bounds(), QRectF(150, 100, 60, 25));
    // A double-click on a barcode opens the barcode window.
    QTest::mouseDClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(170, 110));
    EXPECT_EQ(win.barcodeWindowOpened, 1);
}

TEST_F(CanvasFixture, LineHitTesting)
{
    EXPECT_TRUE(LMNGraphicView::isPoint({50, 5}, {0, 0}, {100, 0}, 0.5));
    EXPECT_FALSE(LMNGraphicView::isPoint({50, 5.1}, {0, 0}, {100, 0}, 0.5));
    auto line = std::make_shared<LMNLine>();
    line->setBeginPoint({20, 100});
    line->setEndPoint({200, 100});
    line->_strokeWidth = 1.0;
    doc.insertGraphics({line}, {0});
    // A horizontal line is hit within 2.5 points of its segment.
    EXPECT_EQ(view->graphicUnderPoint({100, 102.4}), line.get());
    EXPECT_EQ(view->graphicUnderPoint({100, 103.5}), nullptr);
    Drag(view.get(), {100, 101}, {100, 121}, 4);
    EXPECT_EQ(line->beginPoint(), QPointF(20, 120));
}

TEST_F(CanvasFixture, DraggingRepaintsOnlyLeftAndEnteredArea)
{
    add(QRectF(200, 150, 60, 40), Qt::blue);
    LMNGraphic* a = add(QRectF(20, 20, 30, 30));
    view->changeSelectionIndexes({1});
    QTest::qWait(50);
    Send_Mouse(view.get(), QEvent::MouseButtonPress, {30, 30}, Qt::LeftButton);
    Send_Mouse(view.get(), QEvent::MouseMove, {35, 30}, Qt::LeftButton);
    QTest::qWait(30);
    const QRectF before = a->drawingBounds();
    Send_Mouse(view.get(), QEvent::MouseMove, {45, 34}, Qt::LeftButton);
    const QRectF after = a->drawingBounds();
    QApplication::processEvents();
    QTest::qWait(30);
    const QRegion painted = view->lastPaintedRegion();
    Send_Mouse(view.get(), QEvent::MouseButtonRelease, {45, 34}, Qt::NoButton);
    ASSERT_FALSE(painted.isEmpty());
    const QRegion allowed = QRegion(view->widgetRectForCanvasRect(before)) + view->widgetRectForCanvasRect(after);
    EXPECT_TRUE((painted - allowed).isEmpty()) << painted.boundingRect().x() << "," << painted.boundingRect().width();
    EXPECT_FALSE(painted.intersects(view->widgetRectForCanvasRect(QRectF(200, 150, 60, 40))));
}

TEST_F(CanvasFixture, ItemDeletedWhileDraggedIsNoLongerTouched)
{
    LMNGraphic* a = add(QRectF(10, 10, 40, 30));
    const LMNGraphicPtr keep = doc.graphics().at(0);
    view->changeSelectionIndexes({0});
    Send_Mouse(view.get(), QEvent::MouseButtonPress, {50, 40}, Qt::LeftButton); // handle 8
    Send_Mouse(view.get(), QEvent::MouseMove, {60, 50}, Qt::LeftButton);
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 50, 40));
    QTest::keyClick(view.get(), Qt::Key_Delete);
    ASSERT_TRUE(doc.graphics().isEmpty());
    Send_Mouse(view.get(), QEvent::MouseMove, {90, 80}, Qt::LeftButton);
    Send_Mouse(view.get(), QEvent::MouseButtonRelease, {90, 80}, Qt::NoButton);
    EXPECT_EQ(keep->bounds(), QRectF(10, 10, 50, 40));
}

TEST_F(CanvasFixture, LostReleaseDoesNotLockTheCanvas)
{
    LMNGraphic* b1 = add(QRectF(100, 10, 30, 30));
    LMNGraphic* a = add(QRectF(10, 10, 30, 30));
    Send_Mouse(view.get(), QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
    Send_Mouse(view.get(), QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    // The release never arrives; the next press ends that move and acts.
    const int before = win.undoSnapshots;
    Click(view.get(), {110, 20});
    EXPECT_EQ(a->bounds().topLeft(), QPointF(20, 10));
    EXPECT_EQ(b1->bounds().topLeft(), QPointF(100, 10));
    EXPECT_EQ(win.undoSnapshots - before, 1);
    EXPECT_EQ(view->selectedGraphics(), QList<LMNGraphic*>{b1});
}

TEST_F(CanvasFixture, ZoomScalesCanvasAndMouse)
{
    LMNGraphic* a = add(QRectF(100, 50, 20, 20));
    {
        LMNZoomingScrollView scroll;
        scroll.resize(900, 700);
        scroll.setDocumentView(view.get());
        scroll.show();
        scroll.setFactor(LMNZoomingScrollViewFactors[6]); // 200%
        EXPECT_EQ(view->zoomFactor(), 2.0);
        EXPECT_EQ(view->size(), QSize(600, 400));
        // Centred in the larger viewport.
        const QSize v = scroll.viewport()->size();
        EXPECT_EQ(view->pos(), QPoint(int(std::round((v.width() - 600) / 2.0f)),
                                      int(std::round((v.height() - 400) / 2.0f))));
        // Widget pixels map back to canvas points.
        Drag(view.get(), {220, 120}, {240, 120}, 2);
        EXPECT_EQ(a->bounds().topLeft(), QPointF(110, 50));
        view->setParent(nullptr);
    }
}
