// The canvas in its zooming scroll view: rulers and the echo of a move,
// zooming about the middle of the view, the contextual menu's separators and
// window commands, and the fingerprint tool's picture.
#include "CanvasTestSupport.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/LMNSignature.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ScrollFixture : ::testing::Test {
    CanvasWindow win;
    LMNDocument doc;
    LMNGrid grid;
    LMNZoomingScrollView scroll;
    LMNGraphicView* view = nullptr;   // owned by the scroll view

    void SetUp() override
    {
        view = new LMNGraphicView(win);
        win.view = view;
        view->setCardSize(QSizeF(600, 400));
        view->bindGraphics(&doc);
        view->setGrid(&grid);
        scroll.setDocumentView(view);
        scroll.resize(320, 240);
        scroll.show();
    }
    void TearDown() override
    {
        view->unbindGraphics();
        win.view = nullptr;
    }
    LMNGraphic* add(const QRectF& r)
    {
        auto item = Make_Rect_Item(r, Qt::red);
        doc.insertGraphics({item}, {int(doc.graphics().size())});
        return item.get();
    }
};

QList<double> Sorted(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST_F(ScrollFixture, RulersShowAndHideAndTakeRoomFromTheViewport)
{
    EXPECT_FALSE(view->rulersVisible());
    const QRect bare = scroll.viewport()->geometry();
    // Visibility set before the rulers exist takes effect when they come.
    view->showOrHideRulers();
    EXPECT_TRUE(view->rulersVisible());
    EXPECT_EQ(scroll.viewport()->geometry(), bare);
    scroll.setHasHorizontalRuler(true);
    scroll.setHasVerticalRuler(true);
    ASSERT_NE(scroll.horizontalRulerView(), nullptr);
    EXPECT_FALSE(scroll.horizontalRulerView()->isHidden());
    EXPECT_FALSE(scroll.verticalRulerView()->isHidden());
    const int t = LMNRulerView::ruleThickness();
    const QRect withRulers = scroll.viewport()->geometry();
    EXPECT_EQ(withRulers.left(), bare.left() + t);
    EXPECT_EQ(withRulers.top(), bare.top() + t);
    // The rulers sit beside the viewport, not over it.
    EXPECT_FALSE(scroll.horizontalRulerView()->geometry().intersects(withRulers));
    EXPECT_FALSE(scroll.verticalRulerView()->geometry().intersects(withRulers));

    view->showOrHideRulers();
    EXPECT_FALSE(view->rulersVisible());
    EXPECT_TRUE(scroll.horizontalRulerView()->isHidden());
    EXPECT_EQ(scroll.viewport()->geometry(), bare);
    QString title;
    view->validateMenuItem(QStringLiteral("showOrHideRulers"), &title);
    EXPECT_EQ(title, QStringLiteral("Show Ruler"));
}

// The rulers count in the unit the user measures lengths in: labelled
// millimetres, centimetres or whole inches, at their true places from the
// card's origin, thinning out when the zoom shrinks.
TEST(RulerMarks, CountInTheChosenUnitAtTheirTruePlaces)
{
    auto labelled = [](const QList<Ruler_Mark>& marks) {
        QList<QPair<double, QString>> out;
        for (const Ruler_Mark& m : marks)
            if (!m.label.isEmpty())
                out << qMakePair(m.at, m.label);
        return out;
    };
    // Where the label `text` stands; NaN when there is none.
    auto at = [&](const QList<Ruler_Mark>& marks, const char* text) {
        for (const auto& l : labelled(marks))
            if (l.second == QLatin1String(text))
                return l.first;
        return std::nan("");
    };
    const double mm = 72.0 / 25.4;
    // 100 %: the origin 20 px in, 300 px of ruler.
    const QList<Ruler_Mark> inMm = Ruler_Marks(2, 1.0, 20.0, 300);
    EXPECT_DOUBLE_EQ(at(inMm, "0"), 20.0);
    EXPECT_NEAR(at(inMm, "10"), 20.0 + 10 * mm, 1e-9);
    EXPECT_NEAR(at(inMm, "-10"), 20.0 - 10 * mm, 1e-9);

    const QList<Ruler_Mark> inCm = Ruler_Marks(1, 1.0, 20.0, 300);
    EXPECT_NEAR(at(inCm, "1"), 20.0 + 10 * mm, 1e-9);
    EXPECT_NEAR(at(inCm, "5"), 20.0 + 50 * mm, 1e-9);
    EXPECT_TRUE(std::isnan(at(inCm, "10"))) << "10 cm lies beyond this ruler";

    const QList<Ruler_Mark> inInch = Ruler_Marks(0, 1.0, 20.0, 300);
    EXPECT_DOUBLE_EQ(at(inInch, "1"), 20.0 + 72.0);
    EXPECT_DOUBLE_EQ(at(inInch, "3"), 20.0 + 216.0);
    // Eighths of an inch between the labels, the half inch longer.
    const QList<Ruler_Mark> all = Ruler_Marks(0, 1.0, 20.0, 300);
    int inFirstInch = 0;
    for (const Ruler_Mark& m : all)
        if (m.at > 20.0 && m.at < 92.0) {
            ++inFirstInch;
            EXPECT_EQ(m.share, std::abs(m.at - 56.0) < 1e-9 ? 2 : 4) << m.at;
        }
    EXPECT_EQ(inFirstInch, 7);
    // Positions to the left of the card count below zero.
    EXPECT_DOUBLE_EQ(at(Ruler_Marks(0, 1.0, 200.0, 300), "-2"), 200.0 - 144.0);
    // Zoomed far out, labels never come closer than 24 px.
    for (int unit : {0, 1, 2}) {
        const auto sparse = labelled(Ruler_Marks(unit, 0.1, 0.0, 2000));
        for (int i = 1; i < sparse.size(); ++i)
            EXPECT_GE(sparse[i].first - sparse[i - 1].first, 24.0) << unit;
    }
}

TEST_F(ScrollFixture, TheRulersTakeTheUnitTheyAreGiven)
{
    EXPECT_EQ(scroll.rulerUnit(), 2);   // millimetres, the designing default
    scroll.setRulerUnit(0);
    EXPECT_EQ(scroll.rulerUnit(), 0);
}

TEST_F(ScrollFixture, MovingEchoesMinMiddleAndMaxToTheRulersOnlyWhileTheyShow)
{
    scroll.setHasHorizontalRuler(true);
    scroll.setHasVerticalRuler(true);
    LMNRulerView* h = scroll.horizontalRulerView();
    LMNRulerView* v = scroll.verticalRulerView();
    // Hidden rulers: nothing is echoed.
    view->beginEchoingMoveToRulers(QRectF(10, 20, 40, 60));
    EXPECT_TRUE(h->markerLocations().isEmpty());
    view->stopEchoingMoveToRulers();

    scroll.setRulersVisible(true);
    view->beginEchoingMoveToRulers(QRectF(10, 20, 40, 60));
    EXPECT_EQ(Sorted(h->markerLocations()), (QList<double>{10, 30, 50}));
    EXPECT_EQ(Sorted(v->markerLocations()), (QList<double>{20, 50, 80}));
    view->continueEchoingMoveToRulers(QRectF(15, 20, 40, 60));
    EXPECT_EQ(Sorted(h->markerLocations()), (QList<double>{15, 35, 55}));
    EXPECT_EQ(Sorted(v->markerLocations()), (QList<double>{20, 50, 80}));
    view->stopEchoingMoveToRulers();
    EXPECT_TRUE(h->markerLocations().isEmpty());
    EXPECT_TRUE(v->markerLocations().isEmpty());
    EXPECT_TRUE(view->_rulerEchoedBounds.isNull());

    // A drag by mouse echoes while it runs and leaves no line behind.
    add(QRectF(10, 10, 40, 30));
    const QPointF at = view->mapFromParent(QPoint(0, 0));
    Q_UNUSED(at);
    Send_Mouse(view, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
    Send_Mouse(view, QEvent::MouseMove, {30, 25}, Qt::LeftButton);
    Send_Mouse(view, QEvent::MouseMove, {40, 30}, Qt::LeftButton);
    EXPECT_EQ(Sorted(h->markerLocations()), (QList<double>{30, 50, 70}));
    Send_Mouse(view, QEvent::MouseButtonRelease, {40, 30}, Qt::NoButton);
    EXPECT_TRUE(h->markerLocations().isEmpty());
    EXPECT_EQ(doc.graphics().at(0)->bounds(), QRectF(30, 20, 40, 30));
}

TEST_F(ScrollFixture, ZoomingKeepsTheMiddleOfTheView)
{
    scroll.setFactor(1.0);
    // Look at the card's point (300, 200): the middle of a 600 x 400 card.
    scroll.centreOn(QPointF(300, 200));
    const QPointF before = scroll.visibleCentre();
    EXPECT_NEAR(before.x(), 300, 1.0);
    EXPECT_NEAR(before.y(), 200, 1.0);
    for (double f : {2.0, 4.0, 1.25, 0.75}) {
        scroll.setFactor(f);
        const QPointF now = scroll.visibleCentre();
        // Where the document is larger than the view, the middle stays put.
        if (view->width() > scroll.viewport()->width()) {
            EXPECT_NEAR(now.x(), 300, 1.0 / f + 0.5) << f;
        }
        if (view->height() > scroll.viewport()->height()) {
            EXPECT_NEAR(now.y(), 200, 1.0 / f + 0.5) << f;
        }
    }
    // Off-centre: zooming in about (100, 80) keeps (100, 80) in the middle.
    scroll.setFactor(1.0);
    scroll.centreOn(QPointF(180, 140));
    const QPointF c = scroll.visibleCentre();
    scroll.setFactor(2.0);
    EXPECT_NEAR(scroll.visibleCentre().x(), c.x(), 1.0);
    EXPECT_NEAR(scroll.visibleCentre().y(), c.y(), 1.0);
    EXPECT_GT(scroll.horizontalScrollBar()->value(), 0);
    EXPECT_LT(scroll.horizontalScrollBar()->value(), scroll.horizontalScrollBar()->maximum());
}

TEST_F(ScrollFixture, MenuSeparatorsAreSeparatorsAndWindowCommandsFollowTheWindow)
{
    add(QRectF(10, 10, 40, 30));
    std::unique_ptr<QMenu> menu = view->contextMenu();
    const QList<QAction*> acts = menu->actions();
    ASSERT_EQ(acts.size(), 20);
    for (int i : {3, 5, 8, 11, 14, 16}) {
        EXPECT_TRUE(acts[i]->isSeparator()) << i;
        EXPECT_TRUE(acts[i]->text().isEmpty()) << i;
    }
    QStringList titles;
    for (QAction* a : acts)
        if (!a->isSeparator())
            titles << a->text();
    EXPECT_FALSE(titles.join(' ').contains("---"));

    // Commands the window cannot carry out yet are disabled, not silent.
    win.commandsAvailable = false;
    menu = view->contextMenu();
    for (const char* name : {"card_properties", "select_card", "export_id_card", "mail_id_card", "print_id_card"}) {
        QAction* a = menu->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->isEnabled()) << name;
    }
    win.commandsAvailable = true;
    menu = view->contextMenu();
    for (const char* name : {"card_properties", "select_card", "export_id_card", "mail_id_card", "print_id_card"}) {
        QAction* a = menu->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_TRUE(a && a->isEnabled()) << name;
        a->trigger();
    }
    EXPECT_EQ(win.commands, (QStringList{"card_properties", "select_card", "export_id_card", "mail_id_card",
                                         "print_id_card"}));
}

TEST_F(ScrollFixture, FingerprintToolShowsTheFingerprintWhateverTheLibraryChose)
{
    QImage fp(30, 40, QImage::Format_ARGB32_Premultiplied);
    fp.fill(Qt::darkGray);
    win.fpSample = fp;
    // A signature made just before leaves the library pointing at its sample.
    win.Library_Selected_Image = QStringLiteral("/somewhere/sign_sample.png");
    win.selectedTool = 12;
    Drag(view, {20, 20}, {80, 60}, 3);
    ASSERT_EQ(doc.graphics().size(), 1);
    auto* item = static_cast<LMNSignature*>(doc.graphics().at(0).get());
    EXPECT_EQ(item->sign_or_fingureprint, QStringLiteral("F"));
    EXPECT_EQ(item->_file_path, LMNSignature::Sample_Path(QStringLiteral("F")));
    // Drawing keeps the fingerprint: the item's path is its own sample's.
    QImage img(600, 400, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    view->drawRect(p, QRectF(0, 0, 600, 400));
    p.end();
    EXPECT_TRUE(item->file_path.endsWith(QStringLiteral("fingerprints.png")));
    win.Library_Selected_Image.clear();
}
