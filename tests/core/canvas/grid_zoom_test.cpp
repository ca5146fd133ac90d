// Grid snapping and drawing; the zoom table and the centring rules.
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Wait_Ms(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QTest::qWait(10);
}

} // namespace

TEST(LMNGridTest, ConstrainedPointRoundsToNearestLineHalvesUp)
{
    LMNGrid grid;
    grid.setConstraining(true);
    struct { QPointF in, out; } cases[] = {
        {{4.4, 4.5}, {0, 9}},
        {{13.5, -4.6}, {18, -9}},
        {{-4.5, 22.4}, {0, 18}},
        {{9, 9}, {9, 9}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(grid.constrainedPoint(c.in), c.out) << c.in.x() << "," << c.in.y();
}

TEST(LMNGridTest, NoSnappingWhenOffOrUnusable)
{
    LMNGrid grid;
    grid.setAlwaysShown(true);
    EXPECT_EQ(grid.constrainedPoint({4.4, 4.5}), QPointF(4.4, 4.5)); // shown but not constraining
    grid.setConstraining(true);
    grid._spacing = 0.0;
    EXPECT_FALSE(grid.isUsable());
    EXPECT_FALSE(grid.canAlign());
    EXPECT_EQ(grid.constrainedPoint({4.4, 4.5}), QPointF(4.4, 4.5));
}

TEST(LMNGridTest, AlignedRectRoundsOriginAndFarCorner)
{
    LMNGrid grid; // aligns whatever the constraining flag
    EXPECT_EQ(grid.alignedRect(QRectF(3, 3, 10, 10)), QRectF(0, 0, 9, 9));
    EXPECT_EQ(grid.alignedRect(QRectF(5, 5, 10, 10)), QRectF(9, 9, 9, 9));
    EXPECT_EQ(grid.alignedRect(QRectF(5, 5, 2, 2)), QRectF(9, 9, 0, 0));
}

TEST(LMNGridTest, KeyDependencies)
{
    LMNGrid grid;
    EXPECT_FALSE(grid.canSetColor());
    EXPECT_FALSE(grid.canSetSpacing());
    grid.setConstraining(true);
    EXPECT_TRUE(grid.canSetSpacing());
    EXPECT_FALSE(grid.canSetColor());
    grid.setAlwaysShown(true);
    EXPECT_TRUE(grid.canSetColor());
    grid._spacing = 0;
    EXPECT_FALSE(grid.canSetColor());
}

TEST(LMNGridTest, SetAlwaysShownSignalsEvenWhenUnchanged)
{
    LMNGrid grid;
    QSignalSpy any(&grid, &LMNGrid::anyChanged);
    QSignalSpy button(&grid, &LMNGrid::alignWithGridButtonEnabled);
    grid.setAlwaysShown(true);
    grid.setAlwaysShown(true);
    EXPECT_EQ(any.count(), 2);
    ASSERT_EQ(button.count(), 1);
    EXPECT_TRUE(button.at(0).at(0).toBool());
    grid.setAlwaysShown(false);
    EXPECT_FALSE(button.at(1).at(0).toBool());
}

static int Dark_Pixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 250)
                ++n;
    return n;
}

static QImage Draw_Grid(const LMNGrid& grid, QRectF rect = QRectF(0, 0, 40, 40))
{
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    grid.drawRect(p, rect);
    return img;
}

TEST(LMNGridTest, DrawsLinesOnlyWhenShownAndUsable)
{
    LMNGrid grid;
    grid._color = Qt::black;
    EXPECT_EQ(Dark_Pixels(Draw_Grid(grid)), 0);
    grid.setAlwaysShown(true);
    const QImage img = Draw_Grid(grid);
    EXPECT_LT(qGray(img.pixel(9, 20)), 128);
    EXPECT_LT(qGray(img.pixel(20, 18)), 128);
    EXPECT_GT(qGray(img.pixel(13, 13)), 250);
    grid._spacing = 0;
    EXPECT_EQ(Dark_Pixels(Draw_Grid(grid)), 0);
    grid._spacing = 1e-9; // absurdly dense: refused, never a huge path
    EXPECT_EQ(Dark_Pixels(Draw_Grid(grid)), 0);
}

TEST(LMNGridTest, SpacingChangeShowsGridForAMoment)
{
    LMNGrid grid;
    grid.setSpacing(10);
    EXPECT_TRUE(grid.isShown());
    Wait_Ms(600);
    grid.setSpacing(12); // restarts the 1 s
    Wait_Ms(600);
    EXPECT_TRUE(grid.isShown());
    QSignalSpy any(&grid, &LMNGrid::anyChanged);
    Wait_Ms(600);
    EXPECT_FALSE(grid.isShown());
    EXPECT_GE(any.count(), 1);
    grid.setSpacing(12); // same value: nothing
    EXPECT_FALSE(grid.isShown());
}

TEST(LMNGridTest, AlwaysShownCancelsTemporaryShowing)
{
    LMNGrid grid;
    grid.setSpacing(5);
    grid.setAlwaysShown(true);
    EXPECT_FALSE(grid.isTemporarilyShown());
    Wait_Ms(1100);
    EXPECT_TRUE(grid.isShown());
}

// --------------------------------------------------------------------------

TEST(ZoomingTest, FactorTableInOrder)
{
    const double factors[] = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 4.0};
    const char* labels[] = {"25%", "50%", "75%", "100%", "125%", "150%", "200%", "400%"};
    LMNZoomingScrollView view;
    QComboBox* pop = view.factorPopUpButton();
    ASSERT_NE(pop, nullptr);
    ASSERT_EQ(pop->count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(LMNZoomingScrollViewFactors[i], factors[i]);
        EXPECT_EQ(pop->itemText(i), QString::fromLatin1(labels[i]));
        EXPECT_EQ(pop->itemData(i).toDouble(), factors[i]);
    }
    EXPECT_EQ(pop->currentIndex(), 3);
}

TEST(ZoomingTest, ChoosingFactorScalesClipBounds)
{
    LMNZoomingScrollView view;
    view.resize(400, 300);
    view.show();
    QSignalSpy spy(&view, &LMNZoomingScrollView::factorChanged);
    QComboBox* pop = view.factorPopUpButton();
    pop->setCurrentIndex(7);
    emit pop->activated(7);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toDouble(), 4.0);
    const QSize frame = view.viewport()->size();
    EXPECT_DOUBLE_EQ(view.clipBoundsSize().width(), frame.width() / 4.0);
    EXPECT_DOUBLE_EQ(view.clipBoundsSize().height(), frame.height() / 4.0);
    view.setFactor(1.0);
    EXPECT_EQ(pop->currentIndex(), 3);
    EXPECT_DOUBLE_EQ(view.clipBoundsSize().width(), frame.width());
    view.setFactor(0.0); // refused
    view.setFactor(-2.0);
    EXPECT_EQ(view.factor(), 1.0);
}

TEST(ZoomingTest, CenterDocumentRoundsHalvesAwayFromZero)
{
    const QPointF o = SWCenteringClipView::centerDocument(QSizeF(100, 500), QSizeF(151, 200), QPointF(7, 33));
    EXPECT_EQ(o.x(), -26.0);
    EXPECT_EQ(o.y(), 33.0); // larger document on this axis: origin kept
}

TEST(ZoomingTest, ConstrainScrollPoint)
{
    const QSizeF doc(500, 100), view(200, 150);
    // Beyond the far edge is pulled back to D - V; negative becomes 0.
    EXPECT_EQ(SWCenteringClipView::constrainScrollPoint({900, 0}, doc, view).x(), 300.0);
    EXPECT_EQ(SWCenteringClipView::constrainScrollPoint({-40, 0}, doc, view).x(), 0.0);
    // Smaller document: centred whatever is proposed.
    EXPECT_EQ(SWCenteringClipView::constrainScrollPoint({0, 77}, doc, view).y(), -25.0);
    EXPECT_EQ(SWCenteringClipView::constrainScrollPoint({0, -9}, doc, view).y(), -25.0);
}

TEST(ZoomingTest, DocumentCentredOnOneAxisAndScrollsOnTheOther)
{
    LMNZoomingScrollView view;
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view.resize(300, 300);
    view.show();
    auto* doc = new QWidget;
    doc->resize(100, 1000);
    view.setDocumentView(doc);
    QApplication::processEvents();
    const QSize v = view.viewport()->size();
    EXPECT_EQ(doc->pos().x(), static_cast<int>(std::round((v.width() - 100) / 2.0f)));
    EXPECT_EQ(doc->pos().y(), 0);
    view.verticalScrollBar()->setValue(250);
    EXPECT_EQ(doc->pos().y(), -250);
    view.verticalScrollBar()->setValue(100000);
    EXPECT_EQ(doc->pos().y(), -(1000 - v.height()));
}

TEST(ZoomingTest, BackdropDrawsCardOutlineByShape)
{
    auto render = [](int shape) {
        QImage img(200, 200, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        SWCenteringClipView::drawRect(p, QRectF(0, 0, 200, 200), QRectF(40, 40, 120, 120), shape);
        return img;
    };
    const QImage rect = render(0), rounded = render(1), oval = render(2), other = render(7);
    // The corner of the card is white only for a plain rectangle.
    EXPECT_EQ(rect.pixel(41, 41), qRgb(255, 255, 255));
    EXPECT_EQ(other.pixel(41, 41), qRgb(255, 255, 255));
    EXPECT_NE(rounded.pixel(41, 41), qRgb(255, 255, 255));
    EXPECT_NE(oval.pixel(45, 45), qRgb(255, 255, 255));
    EXPECT_EQ(rounded.pixel(100, 100), qRgb(255, 255, 255));
    // Lighter grey at the top of the backdrop.
    EXPECT_GT(qGray(rect.pixel(5, 2)), qGray(rect.pixel(5, 197)));
}

TEST(ZoomingTest, VerticallyCentredTitleRect)
{
    const QRectF bounds(0, 10, 100, 20);
    // Exactly as tall as the cell: height kept, top at the bounds' top.
    QRectF r = VerticallyCenteredTextFieldCell::titleRectForBounds(QRectF(2, 10, 96, 20), bounds, 20);
    EXPECT_EQ(r, QRectF(2, 10, 96, 20));
    // Taller text moves up and the rectangle grows by half the difference.
    r = VerticallyCenteredTextFieldCell::titleRectForBounds(QRectF(2, 10, 96, 20), bounds, 30);
    EXPECT_EQ(r, QRectF(2, 5, 96, 25));
}

TEST(ZoomingTest, AccessoryRewritesExtension)
{
    QFileDialog panel;
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.selectFile(QStringLiteral("list.txt"));
    AccessoryViewController acc;
    acc.setSavePanel(&panel);
    acc.ext_btn->setCurrentIndex(0);
    acc.selectFormat();
    ASSERT_FALSE(panel.selectedFiles().isEmpty());
    EXPECT_TRUE(panel.selectedFiles().first().endsWith(QStringLiteral("/list.xlsx")));
    acc.ext_btn->setCurrentIndex(1);
    acc.selectFormat();
    EXPECT_TRUE(panel.selectedFiles().first().endsWith(QStringLiteral("/list.txt")));
}
