// The card panel and the selection in the real main window: every command
// that brings the card panel leaves nothing selected and the toolbar offering
// nothing for an item, a rubber band's selection stays under the card panel,
// lock gives its selection back, and "To the grid" is offered only while the
// grid shows.
#include "MainWindowFixture.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNGrid.h"
#include "core/model/LMNDocument.h"
#include "core/model/Shape_Control.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/design/GridWizard.h"
#include "mainwindow/files/EditCommands.h"
#include "mainwindow/files/ToolPalette.h"
#include "mainwindow/panels/ItemPanels.h"
#include "mainwindow/panels/PropertyPanels.h"
#include "mainwindow/units/Units.h"
#include "platform/MessageSink.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>

#include <functional>
#include <memory>
#include <string>

namespace {

const QStringList Card_Tabs{"card_info_tab", "card_size_tab", "card_bkgd_tab", "card_brdr_tab"};

class CardPanelSelectionTest : public MainWindowTest {
protected:
    LMNWindowController& designWindow()
    {
        LMNWindowController& w = make();
        w.show();
        w.Designing_Mode_Select();
        // The background library answers "nothing chosen".
        w.designModeView()->panels->Picture_Library = [](const QString&) { return QString(); };
        return w;
    }
    LMNGraphicView* canvas() { return window->graphicView(); }
    PropertyPanelHost* host() { return window->designModeView()->panels; }
    Edit_Commands* edit() { return window->editCommands(); }

    std::shared_ptr<Shape_Control> addRect(const QRectF& r)
    {
        auto s = std::make_shared<Shape_Control>();
        s->Set_Shape_Type(QStringLiteral("R"));
        s->_isDrawingFill = true;
        s->_fillColor = Qt::green;
        s->_bounds = r;
        LMNDocument* doc = window->designModeView()->document();
        doc->insertGraphic(s, int(doc->graphics().size()));
        return s;
    }

    // One mouse event on the canvas at a point of the card.
    void mouse(QEvent::Type type, QPointF cardPoint, Qt::MouseButtons buttons)
    {
        const QPointF at = cardPoint * canvas()->zoomFactor();
        QMouseEvent ev(type, at, canvas()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                       buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &ev);
    }
    void click(QPointF cardPoint)
    {
        mouse(QEvent::MouseButtonPress, cardPoint, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, cardPoint, Qt::NoButton);
        QCoreApplication::processEvents();
    }
    void band(QPointF from, QPointF to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int i = 1; i <= 4; ++i)
            mouse(QEvent::MouseMove, from + (to - from) * (i / 4.0), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        QCoreApplication::processEvents();
    }

    // The toolbar's item commands, by their titles, that are offered now.
    QStringList offeredItemCommands()
    {
        QStringList on;
        for (QAction* a : {edit()->Cut_btn, edit()->Copy_btn, edit()->Delete_btn, edit()->Begin_Front_btn,
                           edit()->Send_Back_btn, edit()->Lock_btn, edit()->Unlock_btn})
            if (a->isEnabled())
                on << a->text();
        return on;
    }

    ::testing::AssertionResult cardShownWithNothingSelected()
    {
        if (host()->shownTabTitles() != Card_Tabs)
            return ::testing::AssertionFailure() << "the panel shows " << host()->shownTabTitles().join(' ').toStdString();
        if (!canvas()->selectionIndexes().isEmpty())
            return ::testing::AssertionFailure() << canvas()->selectionIndexes().size() << " item(s) still selected";
        if (canvas()->_Selected_Graphic)
            return ::testing::AssertionFailure() << "the canvas keeps a current item";
        if (!offeredItemCommands().isEmpty())
            return ::testing::AssertionFailure() << "the toolbar offers " << offeredItemCommands().join(", ").toStdString();
        return ::testing::AssertionSuccess();
    }

    void triggerCanvasMenu(const char* name)
    {
        std::unique_ptr<QMenu> menu = canvas()->contextMenu();
        QAction* a = menu->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_TRUE(a && a->isEnabled()) << name;
        a->trigger();
    }
};

} // namespace

// A rectangle selected by a click, then each command that shows the card
// panel: the rectangle is no longer selected, and Cut, Delete, To Front and
// Lock are no longer offered (Delete would remove an item the panel does not
// show).
TEST_F(CardPanelSelectionTest, EveryCommandThatShowsTheCardPanelLeavesNothingSelected)
{
    designWindow();
    auto rect = addRect(QRectF(20, 20, 60, 40));
    int unitsAsked = 0;
    const ModalRunner previous = Set_Modal_Runner([&unitsAsked](QDialog& d) {
        ++unitsAsked;
        EXPECT_TRUE(qobject_cast<Unit_PrefWindow*>(&d)) << d.metaObject()->className();
        return 1;   // OK
    });
    const auto restore = qScopeGuard([previous] { Set_Modal_Runner(previous); });

    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Front", [&] { window->designModeView()->Front_Side_btn->trigger(); }},
        {"Units then OK", [&] { window->Units_btn->trigger(); }},
        {"Label Properties", [&] { triggerCanvasMenu("card_properties"); }},
        {"Label Background", [&] { triggerCanvasMenu("select_card"); }},
        {"Watermark", [&] { window->toolPalette()->watermarkAction()->trigger(); }},
    };
    for (const auto& [name, run] : commands) {
        SCOPED_TRACE(name);
        click(rect->_bounds.center());
        ASSERT_EQ(canvas()->selectedGraphics(), QList<LMNGraphic*>{rect.get()});
        ASSERT_TRUE(edit()->Delete_btn->isEnabled());
        ASSERT_TRUE(edit()->Lock_btn->isEnabled());
        run();
        EXPECT_TRUE(cardShownWithNothingSelected());
        // Delete now removes nothing.
        edit()->Delete_btn->trigger();
        EXPECT_EQ(window->Get_Front_Control_Count(), 1);
    }
    EXPECT_EQ(unitsAsked, 1);
}

// A rubber band's selection stays selected under the card panel, and the
// toolbar follows it; a click on the empty card then clears it.
TEST_F(CardPanelSelectionTest, ARubberBandSelectionStaysUnderTheCardPanel)
{
    designWindow();
    auto a = addRect(QRectF(20, 20, 40, 30));
    auto b = addRect(QRectF(80, 20, 40, 30));
    click(a->_bounds.center());
    ASSERT_EQ(host()->shownTabTitles(), (QStringList{"shape_tab", "aligmnt_tab"}));
    band(QPointF(150, 90), QPointF(10, 10));
    EXPECT_EQ(canvas()->selectedGraphics(), (QList<LMNGraphic*>{a.get(), b.get()}));
    EXPECT_EQ(host()->shownTabTitles(), Card_Tabs);
    EXPECT_TRUE(edit()->Delete_btn->isEnabled());
    EXPECT_TRUE(edit()->Lock_btn->isEnabled());
    // Lock keeps the band's selection and locks both.
    edit()->Lock_btn->trigger();
    EXPECT_TRUE(a->ctrl_is_locked);
    EXPECT_TRUE(b->ctrl_is_locked);
    EXPECT_EQ(canvas()->selectedGraphics(), (QList<LMNGraphic*>{a.get(), b.get()}));
    edit()->Unlock_btn->trigger();
    EXPECT_FALSE(a->ctrl_is_locked);
    EXPECT_EQ(canvas()->selectedGraphics(), (QList<LMNGraphic*>{a.get(), b.get()}));

    click(QPointF(200, 150));   // the empty card
    EXPECT_TRUE(cardShownWithNothingSelected());
}

// Lock and unlock of a rectangle selected by a click give the selection back
// with the item's panel; the card panel shown afterwards still clears it.
TEST_F(CardPanelSelectionTest, LockGivesTheSelectionBackAndTheCardPanelStillClearsIt)
{
    designWindow();
    auto rect = addRect(QRectF(20, 20, 60, 40));
    click(rect->_bounds.center());
    edit()->Lock_btn->trigger();
    ASSERT_TRUE(rect->ctrl_is_locked);
    EXPECT_EQ(canvas()->selectedGraphics(), QList<LMNGraphic*>{rect.get()});
    EXPECT_EQ(host()->shownTabTitles(), QStringList{"Lock_tab"});
    EXPECT_TRUE(edit()->Unlock_btn->isEnabled());
    EXPECT_FALSE(edit()->Delete_btn->isEnabled());
    window->designModeView()->Front_Side_btn->trigger();
    EXPECT_TRUE(cardShownWithNothingSelected());

    click(rect->_bounds.center());
    edit()->Unlock_btn->trigger();
    EXPECT_FALSE(rect->ctrl_is_locked);
    EXPECT_EQ(canvas()->selectedGraphics(), QList<LMNGraphic*>{rect.get()});
    EXPECT_EQ(host()->shownTabTitles(), (QStringList{"shape_tab", "aligmnt_tab"}));
    window->toolPalette()->watermarkAction()->trigger();
    EXPECT_TRUE(cardShownWithNothingSelected());
}

// "To the grid" is offered exactly while the grid shows, whatever the
// selection does meanwhile; a new project hides the grid and the button.
TEST_F(CardPanelSelectionTest, ToTheGridIsOfferedExactlyWhileTheGridShows)
{
    LMNWindowController& w = designWindow();
    DesignModeView* d = w.designModeView();
    ASSERT_GT(d->grid()->_spacing, 0.0);
    QPushButton* toGrid = host()->aligmnt_tab->findChild<QPushButton*>(QStringLiteral("alignWithGrid"));
    ASSERT_TRUE(toGrid);
    auto a = addRect(QRectF(20, 20, 40, 30));
    auto b = addRect(QRectF(80, 20, 40, 30));
    click(a->_bounds.center());
    ASSERT_EQ(host()->shownTabTitles().last(), QStringLiteral("aligmnt_tab"));
    EXPECT_FALSE(toGrid->isEnabled()) << "grid hidden";

    // The grid dialog's show check box.
    bool show = true;
    const ModalRunner previous = Set_Modal_Runner([&show](QDialog& dialog) {
        auto* wizard = qobject_cast<Grid_Wizard*>(&dialog);
        EXPECT_TRUE(wizard);
        if (wizard) {
            wizard->Show_hide_grid_chk->setChecked(show);
            wizard->OK_Btn_Clicked();
        }
        return dialog.result();
    });
    const auto restore = qScopeGuard([previous] { Set_Modal_Runner(previous); });
    d->toggleGridShowing();
    ASSERT_TRUE(d->grid()->isAlwaysShown());
    EXPECT_TRUE(toGrid->isEnabled()) << "grid shown";
    click(b->_bounds.center());
    EXPECT_TRUE(toGrid->isEnabled()) << "grid shown, another item selected";

    show = false;
    d->toggleGridShowing();
    ASSERT_FALSE(d->grid()->isAlwaysShown());
    EXPECT_FALSE(toGrid->isEnabled()) << "grid hidden again";
    click(a->_bounds.center());
    EXPECT_FALSE(toGrid->isEnabled()) << "grid hidden, another item selected";

    show = true;
    d->toggleGridShowing();
    EXPECT_TRUE(toGrid->isEnabled());
    w.New_Project_Setting_Reset(1);
    EXPECT_FALSE(toGrid->isEnabled()) << "a new project hides the grid";
}
