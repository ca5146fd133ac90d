// The selection canvas over a picture: the clamp table, handle centres,
// re-origin signs, drops and discards, keys, and where the picture lies.
#include "imagetools/selection/MSSCanvas.h"
#include "imagetools/selection/MSSScaledImageView.h"
#include "imagetools/selection/MSSSelector.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A canvas of a given size over a plain widget, with its controller.
struct Board {
    QWidget content;
    MSSCanvas* canvas = new MSSCanvas;
    std::unique_ptr<MSSCanvasController> controller;
    explicit Board(int w = 200, int h = 100)
    {
        content.resize(w, h);
        controller = MSSCanvasController::canvasControllerForCanvas(canvas, &content);
    }
    // Draws the canvas once, which places the handles.
    void paint()
    {
        QImage img(canvas->size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&img);
        for (MSSSelector* s : controller->selectors())
            s->drawPath(p);
    }
    void drag(QPointF from, QPointF to, bool command = false)
    {
        controller->mouseDown(from, command);
        controller->mouseDragged((from + to) / 2);
        controller->mouseDragged(to);
        controller->mouseUp(to);
    }
};

QRectF rect(const MSSSelector* s)
{
    return s->frame();
}

} // namespace

TEST(Selectors, ResizingPastTwoEdgesFollowsTheClampTable)
{
    Board b;
    b.controller->addSelectorWithFrame(QRectF(10, 10, 100, 50));
    MSSSelector* s = b.controller->currentSelector();
    b.paint();
    // The handle of type 4 is centred on (x + w, y).
    MSSHandle* h4 = s->handles()[3].get();
    EXPECT_EQ(h4->type(), 4);
    EXPECT_NEAR(h4->bounds().x + h4->bounds().w / 2, 110, 1e-9);
    EXPECT_NEAR(h4->bounds().y + h4->bounds().h / 2, 10, 1e-9);
    ASSERT_TRUE(s->touchedHandle(QRectF(110, 10, 0, 0)));
    EXPECT_EQ(s->action(), MSSSelector::ActionResize);
    EXPECT_EQ(rect(s), QRectF(110, 10, -100, 50));
    const auto& t = s->boundaries();
    EXPECT_EQ(t[MSSSelector::Left].position, 0);
    EXPECT_EQ(t[MSSSelector::Left].size, 10);
    EXPECT_EQ(t[MSSSelector::Right].position, 200);
    EXPECT_EQ(t[MSSSelector::Right].size, -190);
    EXPECT_EQ(t[MSSSelector::Bottom].position, 0);
    EXPECT_EQ(t[MSSSelector::Bottom].size, 60);
    EXPECT_EQ(t[MSSSelector::Top].position, 100);
    EXPECT_EQ(t[MSSSelector::Top].size, -40);
    s->resizeToPoint(QPointF(250, -20));
    EXPECT_EQ(rect(s), QRectF(250, -20, -240, 80));
    EXPECT_TRUE(s->touchedBoundaries());
    EXPECT_EQ(rect(s), QRectF(200, 0, -190, 60));
    ASSERT_TRUE(s->canDropOnCanvas());
    EXPECT_EQ(rect(s), QRectF(10, 0, 190, 60));
}

TEST(Selectors, HandleCentresAndReOriginSigns)
{
    Board b;
    const QPointF centres[4] = {{10, 60}, {110, 60}, {10, 10}, {110, 10}};
    // Each grabbed corner becomes the origin, the size pointing to the opposite corner.
    const QRectF reOrigin[4] = {{10, 60, 100, -50}, {110, 60, -100, -50}, {10, 10, 100, 50}, {110, 10, -100, 50}};
    for (int type = 1; type <= 4; ++type) {
        b.controller->addSelectorWithFrame(QRectF(10, 10, 100, 50));
        MSSSelector* s = b.controller->currentSelector();
        b.paint();
        const SelFrame hb = s->handles()[type - 1]->bounds();
        EXPECT_EQ(QPointF(hb.x + hb.w / 2, hb.y + hb.h / 2), centres[type - 1]) << "type " << type;
        EXPECT_NEAR(hb.w, 8.5, 1e-9);
        ASSERT_TRUE(s->touchedHandle(QRectF(centres[type - 1], QSizeF(0, 0))));
        EXPECT_EQ(s->currentHandle()->type(), type);
        EXPECT_EQ(rect(s), reOrigin[type - 1]) << "type " << type;
        // Dragging the grabbed corner keeps the opposite one.
        const QPointF opposite = reOrigin[type - 1].topLeft()
            + QPointF(reOrigin[type - 1].width(), reOrigin[type - 1].height());
        s->resizeToPoint(QPointF(60, 30));
        const QRectF r = rect(s);
        EXPECT_EQ(r.topLeft(), QPointF(60, 30)) << "type " << type;
        EXPECT_EQ(QPointF(r.x() + r.width(), r.y() + r.height()), opposite) << "type " << type;
    }
}

TEST(Selectors, CreatingMovingAndTheMinimumSize)
{
    Board b;
    // A plain click makes a zero selector that is dropped on release.
    b.drag(QPointF(50, 50), QPointF(50, 50));
    EXPECT_FALSE(b.controller->hasSelectors());
    // 20 x 20 is kept, 20 x 19 discarded.
    b.drag(QPointF(30, 30), QPointF(50, 49));
    EXPECT_FALSE(b.controller->hasSelectors());
    b.drag(QPointF(30, 30), QPointF(50, 50));
    ASSERT_TRUE(b.controller->hasSelectors());
    EXPECT_EQ(rect(b.controller->selectors()[0]), QRectF(30, 30, 20, 20));

    // Created past the right edge it ends on the edge, the press point one corner.
    Board c;
    c.drag(QPointF(150, 20), QPointF(400, 70));
    ASSERT_EQ(c.controller->selectors().size(), 1u);
    EXPECT_EQ(rect(c.controller->selectors()[0]), QRectF(150, 20, 50, 50));
    // Past the left edge it starts at 0.
    c.drag(QPointF(60, 20), QPointF(-30, 70), true);
    ASSERT_EQ(c.controller->selectors().size(), 1u);
    EXPECT_EQ(rect(c.controller->selectors()[0]), QRectF(0, 20, 60, 50));

    // A press inside moves it, centred on the pointer and pinned inside the canvas.
    c.paint();
    c.controller->mouseDown(QPointF(30, 40), false);
    EXPECT_EQ(c.controller->currentSelector()->action(), MSSSelector::ActionMove);
    c.controller->mouseDragged(QPointF(500, 500));
    c.controller->mouseUp(QPointF(500, 500));
    EXPECT_EQ(rect(c.controller->selectors()[0]), QRectF(140, 50, 60, 50));
}

TEST(Selectors, RubberBandCommandDragKeysAndOverlap)
{
    Board b;
    b.drag(QPointF(10, 10), QPointF(60, 60));
    ASSERT_TRUE(b.controller->hasSelectors());
    b.paint();
    // A click outside starts a rubber band; its release selects what it touches and leaves no picker.
    b.controller->mouseDown(QPointF(150, 80), false);
    ASSERT_TRUE(b.controller->currentSelector());
    EXPECT_TRUE(b.controller->currentSelector()->isPicker());
    EXPECT_FALSE(b.controller->selectors()[0]->isSelected());
    b.controller->mouseDragged(QPointF(40, 40));
    b.controller->mouseUp(QPointF(40, 40));
    EXPECT_EQ(b.controller->currentSelector(), nullptr);
    EXPECT_TRUE(b.controller->selectors()[0]->isSelected());
    // Escape deselects, Ctrl+A selects, Delete removes the selected.
    b.controller->keyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(b.controller->selectors()[0]->isSelected());
    b.controller->keyDown(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_TRUE(b.controller->hasSelectors());
    b.controller->keyDown(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(b.controller->selectors()[0]->isSelected());
    // A Command-drag over it replaces it: the canvas holds one selector.
    b.drag(QPointF(20, 20), QPointF(90, 80), true);
    ASSERT_EQ(b.controller->selectors().size(), 1u);
    EXPECT_EQ(rect(b.controller->selectors()[0]), QRectF(20, 20, 70, 60));
    b.controller->keyDown(Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_FALSE(b.controller->hasSelectors());
    EXPECT_EQ(b.canvas->trackingAreaCount(), 0);

    // Identical frames do not count as overlapping; touching ones do.
    MSSSelector a(QRectF(10, 10, 50, 50), b.canvas, false);
    MSSSelector same(QRectF(10, 10, 50, 50), b.canvas, false);
    MSSSelector other(QRectF(40, 40, 50, 50), b.canvas, false);
    EXPECT_FALSE(a.intersectsOthers({&same}));
    EXPECT_TRUE(a.intersectsOthers({&other}));
    // A picker is never clamped.
    MSSSelector picker(QRectF(10, 10, 0, 0), b.canvas, true);
    picker.resizeToPoint(QPointF(500, -50));
    EXPECT_FALSE(picker.touchedBoundaries());
    EXPECT_EQ(picker.frame(), QRectF(10, 10, 490, -60));
}

TEST(Selectors, HiddenSelectorsDrawNothingButStillHit)
{
    Board b;
    b.controller->addSelectorWithFrame(QRectF(20, 20, 60, 40));
    MSSSelector* s = b.controller->currentSelector();
    s->Set_selector_show_or_not(false);
    QImage img(200, 100, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        s->drawPath(p);
    }
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(qAlpha(img.pixel(x, y)), 0);
    EXPECT_TRUE(s->intersectsFrame(QRectF(30, 30, 0, 0)));
}

TEST(ScaledView, PictureRectangleRatiosAndTheCanvasOverIt)
{
    MSSScaledImageView view;
    view.resize(200, 200);
    EXPECT_EQ(view.scaledImageRect(), QRectF());
    view.setImage(QImage(400, 200, QImage::Format_RGB32));
    EXPECT_EQ(view.imageRatio(), QSizeF(0.5, 0.5));
    EXPECT_EQ(view.scaledImageRect(), QRectF(0, 50, 200, 100));
    view.setImageAlignment(MSSScaledImageView::AlignTop);
    EXPECT_EQ(view.scaledImageRect(), QRectF(0, 0, 200, 100));
    view.setImageAlignment(MSSScaledImageView::AlignBottomRight);
    EXPECT_EQ(view.scaledImageRect(), QRectF(0, 100, 200, 100));
    view.setImageAlignment(MSSScaledImageView::AlignCenter);

    view.resize(1000, 1000);
    EXPECT_EQ(view.imageRatio(), QSizeF(1, 1));
    view.setImageScaling(MSSScaledImageView::ScaleProportionallyUpOrDown);
    EXPECT_EQ(view.imageRatio(), QSizeF(2.5, 2.5));
    view.setImageScaling(MSSScaledImageView::ScaleAxesIndependently);
    EXPECT_EQ(view.scaledImageRect(), QRectF(0, 0, 1000, 1000));
    view.setImage(QImage(1, 0, QImage::Format_RGB32));
    EXPECT_EQ(view.scaledImageRect(), QRectF());

    // The canvas follows the picture whenever it or the view changes.
    MSSScaledImageView pictureView;
    pictureView.resize(300, 300);
    pictureView.show();
    auto* canvas = new MSSCanvas;
    MSSCanvasController controller(canvas, &pictureView);
    EXPECT_EQ(controller.canvasFrame(), QRectF());
    pictureView.setImage(QImage(600, 300, QImage::Format_RGB32));
    EXPECT_EQ(canvas->parentWidget(), &pictureView);
    EXPECT_EQ(canvas->canvasFrame(), QRectF(0, 75, 300, 150));
    EXPECT_EQ(canvas->geometry(), QRect(0, 75, 300, 150));
    pictureView.resize(600, 600);
    EXPECT_EQ(canvas->canvasFrame(), QRectF(0, 150, 600, 300));
}
