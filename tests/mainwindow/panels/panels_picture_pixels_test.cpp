// The picture panel as the user sees its work: a picture of four coloured
// quarters on the card, a control of the panel used (a box ticked, a slider
// moved by a key), and the card looked at where each quarter lands, both on
// the design and as a job prints it. Flip across mirrors left and right,
// Flip down top and bottom, a turn moves the quarters round, and each filter
// changes the colours as its name says.
#include "PanelsTestSupport.h"

#include "core/canvas/LMNRenderingView.h"
#include "core/model/LMNImage.h"
#include "mainwindow/panels/PanelSupport.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <functional>

namespace {

const QColor kTL(0xD3, 0x2F, 0x2F);   // red
const QColor kTR(0x38, 0x8E, 0x3C);   // green
const QColor kBL(0x19, 0x76, 0xD2);   // blue
const QColor kBR(0xFB, 0xC0, 0x2D);   // yellow

// What lands in the four quarters of the item: top left, top right, bottom
// left, bottom right.
struct Quarters {
    QColor tl, tr, bl, br;
};

class PicturePixelsTest : public PanelsTest {
protected:
    void SetUp() override
    {
        PanelsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        QImage img(200, 200, QImage::Format_RGB32);
        QPainter p(&img);
        p.fillRect(0, 0, 100, 100, kTL);
        p.fillRect(100, 0, 100, 100, kTR);
        p.fillRect(0, 100, 100, 100, kBL);
        p.fillRect(100, 100, 100, 100, kBR);
        p.end();
        path = dir.filePath(QStringLiteral("quarters.png"));
        ASSERT_TRUE(img.save(path));
    }

    // A picture item of 100 x 100 points at (50, 50), chosen by a click.
    LMNImage* placed()
    {
        auto* picture = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(50, 50, 100, 100)));
        picture->setFilePath(path);
        select({picture});
        return picture;
    }

    // A slider moved by the user (a key or a click on its groove).
    static void slide(Fraction_Slider* slider, double value)
    {
        slider->setValue(int(std::lround(value * slider->scale())));
    }

    // Takes every item off the card, nothing left selected.
    void clearCard()
    {
        select({});
        QList<int> all;
        for (int i = 0; i < doc->graphicsPointers().size(); ++i)
            all << i;
        doc->removeGraphicsAtIndexes(all);
    }

    static Quarters at(const QImage& card)
    {
        // The card at 144 DPI: the item's quarters are 100 pixels a side,
        // sampled in the middle of each.
        auto px = [&](int x, int y) { return QColor(card.pixel(x, y)); };
        return {px(150, 150), px(250, 150), px(150, 250), px(250, 250)};
    }

    // The design as the canvas draws it, and the card as a job prints it.
    Quarters onDesign()
    {
        return at(LMNRenderingView::image_From_Card_Graphics(w->Get_Front_Controls_Array(), false)
                      .toImage(144)
                      .convertToFormat(QImage::Format_ARGB32));
    }
    Quarters printed() { return at(printedCard(144).convertToFormat(QImage::Format_ARGB32)); }

    QTemporaryDir dir;
    QString path;
};

bool Near(const QColor& a, const QColor& b, int tolerance = 10)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

std::string Show(const QColor& c)
{
    return c.name().toStdString();
}

void Expect_Quarters(const Quarters& seen, const Quarters& want, const char* where)
{
    SCOPED_TRACE(where);
    EXPECT_TRUE(Near(seen.tl, want.tl)) << "top left " << Show(seen.tl) << ", expected " << Show(want.tl);
    EXPECT_TRUE(Near(seen.tr, want.tr)) << "top right " << Show(seen.tr) << ", expected " << Show(want.tr);
    EXPECT_TRUE(Near(seen.bl, want.bl)) << "bottom left " << Show(seen.bl) << ", expected " << Show(want.bl);
    EXPECT_TRUE(Near(seen.br, want.br)) << "bottom right " << Show(seen.br) << ", expected " << Show(want.br);
}

// Each quarter's colour through a function of its own.
Quarters Each(const std::function<QColor(const QColor&)>& f)
{
    return {f(kTL), f(kTR), f(kBL), f(kBR)};
}

double Luma(const QColor& c)
{
    return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
}

} // namespace

TEST_F(PicturePixelsTest, FlipsAndTurnsMoveTheQuartersAsTheirNamesSay)
{
    const struct {
        const char* name;
        std::function<void(PicturePanel*)> act;
        Quarters want;
    } cases[] = {
        {"as it was", [](PicturePanel*) {}, {kTL, kTR, kBL, kBR}},
        {"Flip across: left and right change places", [](PicturePanel* p) { p->Image_FIH_chk->click(); },
         {kTR, kTL, kBR, kBL}},
        {"Flip down: top and bottom change places", [](PicturePanel* p) { p->Image_FIV_chk->click(); },
         {kBL, kBR, kTL, kTR}},
        {"both flips: half a turn", [](PicturePanel* p) {
             p->Image_FIH_chk->click();
             p->Image_FIV_chk->click();
         },
         {kBR, kBL, kTR, kTL}},
        {"a half turn", [](PicturePanel* p) { slide(p->Rotate_slidr, 180); }, {kBR, kBL, kTR, kTL}},
        // A positive turn is clockwise on the card.
        {"a quarter turn clockwise", [](PicturePanel* p) { slide(p->Rotate_slidr, 90); }, {kBL, kTL, kBR, kTR}},
        {"a quarter turn anticlockwise", [](PicturePanel* p) { slide(p->Rotate_slidr, -90); },
         {kTR, kBR, kTL, kBL}},
        {"Flip across, then a quarter turn clockwise",
         [](PicturePanel* p) {
             p->Image_FIH_chk->click();
             slide(p->Rotate_slidr, 90);
         },
         {kBR, kTR, kBL, kTL}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LMNImage* picture = placed();
        c.act(host->image_tab);
        Expect_Quarters(onDesign(), c.want, "on the design");
        Expect_Quarters(printed(), c.want, "printed");
        // The panel shows what the picture holds when it is chosen again.
        w->Show_RHS_Properties(nullptr);
        select({picture});
        EXPECT_EQ(host->image_tab->Image_FIH_chk->isChecked(), picture->_isFlippedHorizontally);
        EXPECT_EQ(host->image_tab->Image_FIV_chk->isChecked(), picture->_isFlippedVertically);
        clearCard();
    }
}

TEST_F(PicturePixelsTest, FiltersChangeTheColoursAsTheirNamesSay)
{
    const auto white = QColor(Qt::white);
    const struct {
        const char* name;
        std::function<void(PicturePanel*)> act;
        std::function<void(const Quarters&)> check;
    } cases[] = {
        {"Greyscale: each quarter a grey of its own lightness",
         [](PicturePanel* p) { p->Image_Gray_Scale_chk->click(); },
         [](const Quarters& q) {
             for (const QColor& c : {q.tl, q.tr, q.bl, q.br}) {
                 EXPECT_LE(std::abs(c.red() - c.green()), 3) << Show(c);
                 EXPECT_LE(std::abs(c.green() - c.blue()), 3) << Show(c);
             }
             // The yellow quarter stays the lightest, the blue one darker than the green.
             EXPECT_GT(q.br.red(), q.tr.red());
             EXPECT_GT(q.br.red(), q.bl.red());
             EXPECT_NEAR(q.br.red(), Luma(kBR), 25);
         }},
        {"Sepia: warm browns, red over green over blue",
         [](PicturePanel* p) { p->Image_Sepia_chk->click(); },
         [](const Quarters& q) {
             for (const QColor& c : {q.tl, q.tr, q.bl, q.br}) {
                 EXPECT_GE(c.red(), c.green()) << Show(c);
                 EXPECT_GT(c.green(), c.blue()) << Show(c);
                 EXPECT_GT(c.red() - c.blue(), 20) << Show(c);
             }
         }},
        {"Invert: every level turned over",
         [](PicturePanel* p) { p->Image_Invert_chk->click(); },
         [](const Quarters& q) {
             Expect_Quarters(q, Each([](const QColor& c) {
                                 return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
                             }),
                             "inverted");
         }},
        {"Opacity 50: half way to the white card",
         [](PicturePanel* p) { slide(p->Trsp_slidr, 50); },
         [white](const Quarters& q) {
             Expect_Quarters(q, Each([white](const QColor& c) {
                                 return QColor((c.red() + white.red()) / 2, (c.green() + white.green()) / 2,
                                               (c.blue() + white.blue()) / 2);
                             }),
                             "half transparent");
         }},
        {"Saturation 0: greys",
         [](PicturePanel* p) { slide(p->Sat_slidr, 0); },
         [](const Quarters& q) {
             for (const QColor& c : {q.tl, q.tr, q.bl, q.br})
                 EXPECT_LE(std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}), 4)
                     << Show(c);
         }},
        {"Saturation 2: stronger colours",
         [](PicturePanel* p) { slide(p->Sat_slidr, 2); },
         [](const Quarters& q) {
             EXPECT_GT(q.tl.red() - q.tl.green(), kTL.red() - kTL.green());
             EXPECT_GT(q.bl.blue() - q.bl.red(), kBL.blue() - kBL.red());
         }},
        {"Brightness up: every quarter lighter",
         [](PicturePanel* p) { slide(p->Brt_slidr, 0.3); },
         [](const Quarters& q) {
             const Quarters o{kTL, kTR, kBL, kBR};
             EXPECT_GT(Luma(q.tl), Luma(o.tl) + 30);
             EXPECT_GT(Luma(q.tr), Luma(o.tr) + 30);
             EXPECT_GT(Luma(q.bl), Luma(o.bl) + 30);
         }},
        {"Brightness down: every quarter darker",
         [](PicturePanel* p) { slide(p->Brt_slidr, -0.3); },
         [](const Quarters& q) {
             EXPECT_LT(Luma(q.tl), Luma(kTL) - 30);
             EXPECT_LT(Luma(q.br), Luma(kBR) - 30);
         }},
        {"Contrast up: light quarters lighter, dark ones darker",
         [](PicturePanel* p) { slide(p->Con_slidr, 2); },
         [](const Quarters& q) {
             EXPECT_GT(Luma(q.br), Luma(kBR) + 10);
             EXPECT_LT(Luma(q.tl), Luma(kTL) - 10);
         }},
        {"Exposure up: lighter",
         [](PicturePanel* p) { slide(p->ev_slidr, 1); },
         [](const Quarters& q) {
             EXPECT_GT(Luma(q.tl), Luma(kTL) + 15);
             EXPECT_GT(Luma(q.bl), Luma(kBL) + 15);
             EXPECT_GE(q.bl.blue(), kBL.blue()) << "no channel darker";
         }},
        {"Hue half round: red goes to blue-green",
         [](PicturePanel* p) { slide(p->Hue_slidr, 3.14); },
         [](const Quarters& q) {
             EXPECT_LT(q.tl.red(), q.tl.green()) << Show(q.tl);
             EXPECT_LT(q.tl.red(), q.tl.blue()) << Show(q.tl);
             EXPECT_GT(q.bl.red(), q.bl.blue()) << Show(q.bl) << " blue goes to orange";
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        placed();
        c.act(host->image_tab);
        {
            SCOPED_TRACE("on the design");
            c.check(onDesign());
        }
        {
            SCOPED_TRACE("printed");
            c.check(printed());
        }
        clearCard();
    }
}

TEST_F(PicturePixelsTest, BlurMixesTheQuartersAtTheirEdgeAndSharpnessKeepsFlatAreas)
{
    // Across the edge between the red and the green quarter, 20 points above
    // the middle: a blur draws a run of mixed colours there, none without it.
    auto mixedAcrossEdge = [&](const QImage& card) {
        int mixed = 0;
        for (int x = 150; x < 250; ++x) {
            const QColor c(card.pixel(x, 160));
            if (!Near(c, kTL, 30) && !Near(c, kTR, 30))
                ++mixed;
        }
        return mixed;
    };
    placed();
    EXPECT_LE(mixedAcrossEdge(printedCard(144).convertToFormat(QImage::Format_ARGB32)), 3);
    clearCard();

    placed();
    slide(host->image_tab->blr_slidr, 10);
    const QImage blurred = printedCard(144).convertToFormat(QImage::Format_ARGB32);
    EXPECT_GE(mixedAcrossEdge(blurred), 6);
    // Far from the edges the colours stay.
    Expect_Quarters(at(blurred), {kTL, kTR, kBL, kBR}, "blurred");
}
