// Shapes, lines, text, pictures, signatures and barcodes: outlines, hit
// tests, dash patterns, text placement and what the kinds draw.
#include "common/ScopedFolders.h"
#include "core/FakeMainWindow.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Kinds : ::testing::Test {
    FakeMainWindow win;
    void SetUp() override { win.canvasBounds = QRectF(0, 0, 300, 300); }
};

QList<QPointF> Points_Of(const QPainterPath& p)
{
    QList<QPointF> out;
    for (int i = 0; i < p.elementCount(); ++i)
        out << QPointF(p.elementAt(i).x, p.elementAt(i).y);
    return out;
}

void Expect_Near(const QPointF& a, const QPointF& b, double eps = 0.01)
{
    EXPECT_NEAR(a.x(), b.x(), eps) << a.x() << "," << a.y();
    EXPECT_NEAR(a.y(), b.y(), eps) << a.x() << "," << a.y();
}

QImage Render(LMNGraphic& g, QSize size = {120, 120})
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    g.drawContentsInView(p, nullptr, false);
    p.end();
    return img;
}

TEST_F(Kinds, FivePointedStarWalkAndWindingFill)
{
    Shape_Control s;
    s._shape_type = "S";
    s._bounds = QRectF(0, 0, 100, 100);
    const QList<QPointF> pts = Points_Of(s.bezierPathForDrawing());
    const QPointF expected[] = {{50, 0}, {79.39, 90.45}, {2.45, 34.55}, {97.55, 34.55}, {20.61, 90.45}};
    ASSERT_GE(pts.size(), 5);
    for (int i = 0; i < 5; ++i)
        Expect_Near(pts[i], expected[i]);
    // The pentagon in the middle is inside under the non-zero winding rule.
    EXPECT_TRUE(s.isContentsUnderPoint({50, 50}));
    EXPECT_FALSE(s.isContentsUnderPoint({5, 90}));
    s._isDrawingStroke = false;
    s._fillColor = Qt::black;
    EXPECT_EQ(Render(s).pixelColor(50, 50), QColor(Qt::black));
}

TEST_F(Kinds, StarTurnsAboutTheCentreOfItsOwnOutline)
{
    Shape_Control s;
    s._shape_type = "S";
    s._bounds = QRectF(0, 0, 100, 100);
    const QPointF pivot = s.rotationPivot(s.unrotatedOutline());
    Expect_Near(pivot, {50, 45.2254});
    s.text_rotation = 180;
    const QPainterPath p = s.bezierPathForDrawing();
    Expect_Near(Points_Of(p).first(), {50, 90.45});
    EXPECT_NEAR(p.boundingRect().top(), 0, 0.01);
    EXPECT_NEAR(p.boundingRect().bottom(), 90.45, 0.01);
}

TEST_F(Kinds, PolygonsAndManyPointedStars)
{
    Shape_Control s;
    s._bounds = QRectF(0, 0, 100, 100);
    s._shape_type = "P";
    s.polygon_type = 3;   // hexagon, walked twice
    QList<QPointF> pts = Points_Of(s.bezierPathForDrawing());
    Expect_Near(pts[0], {50, 0});
    for (int i = 1; i < 6; ++i)
        EXPECT_NEAR(QLineF(QPointF(50, 50), pts[i]).length(), 50, 1e-6);
    Expect_Near(pts[1], {50 + 50 * std::cos(M_PI / 6), 50 - 50 * std::sin(M_PI / 6)});
    s.polygon_type = 1;   // four-pointed star with tips at the corners
    pts = Points_Of(s.bezierPathForDrawing());
    const QPointF star4[] = {{0, 0}, {50, 25}, {100, 0}, {75, 50}, {100, 100}, {50, 75}, {0, 100}, {25, 50}};
    for (int i = 0; i < 8; ++i)
        Expect_Near(pts[i], star4[i]);
    s._shape_type = "DS";
    s.double_star_type = 5;
    pts = Points_Of(s.bezierPathForDrawing());
    EXPECT_GE(pts.size(), 15);
    // Each step spans two fifteenths of a turn.
    const double a1 = -M_PI / 2 + 4 * M_PI / 15;
    Expect_Near(pts[1], {50 + 50 * std::cos(a1), 50 + 50 * std::sin(a1)});
    s.double_star_type = 0;
    EXPECT_TRUE(s.bezierPathForDrawing().isEmpty());
    s._shape_type = "nonsense";
    EXPECT_TRUE(s.bezierPathForDrawing().isEmpty());
    EXPECT_FALSE(s.isContentsUnderPoint({50, 50}));
}

TEST_F(Kinds, OtherOutlines)
{
    Shape_Control s;
    s._bounds = QRectF(10, 20, 40, 60);
    s._shape_type = "T";
    QList<QPointF> pts = Points_Of(s.bezierPathForDrawing());
    Expect_Near(pts[0], {10, 80});
    Expect_Near(pts[1], {30, 20});
    Expect_Near(pts[2], {50, 80});
    s._shape_type = "D";
    pts = Points_Of(s.bezierPathForDrawing());
    Expect_Near(pts[0], {10, 50});
    Expect_Near(pts[1], {30, 20});
    s._shape_type = "RR";
    s.cor_rad_val = 0;
    QPainterPath rect;
    rect.addRect(s._bounds);
    EXPECT_EQ(s.bezierPathForDrawing().boundingRect(), rect.boundingRect());
    EXPECT_TRUE(s.isContentsUnderPoint({10.5, 20.5}));   // square corner
    s.cor_rad_val = 10;
    EXPECT_FALSE(s.isContentsUnderPoint({10.5, 20.5}));  // rounded away
    // Each corner radius is limited to half the side it rounds, not both
    // to half the shorter side.
    s._bounds = QRectF(0, 0, 200, 10);
    EXPECT_FALSE(s.isContentsUnderPoint({3, 0.5}));
    EXPECT_TRUE(s.isContentsUnderPoint({10, 0.5}));
    s._bounds = QRectF(10, 20, 40, 60);
    s._shape_type = "C";
    EXPECT_TRUE(s.isContentsUnderPoint({30, 50}));
    EXPECT_FALSE(s.isContentsUnderPoint({11, 21}));
}

TEST_F(Kinds, RotatedRectangleHitRegion)
{
    Shape_Control s;
    s._bounds = QRectF(0, 0, 100, 100);
    s.text_rotation = 45;
    EXPECT_TRUE(s.isContentsUnderPoint({50, 50}));
    EXPECT_TRUE(s.isContentsUnderPoint({50, -15}));   // a tip of the turned square
    EXPECT_FALSE(s.isContentsUnderPoint({3, 3}));     // corner of the bounds
}

TEST_F(Kinds, InvisibleItemsDrawNothing)
{
    Shape_Control s;
    s._bounds = QRectF(10, 10, 50, 50);
    s._fillColor = Qt::black;
    s.ctrl_is_visible = false;
    EXPECT_EQ(Render(s).pixelColor(30, 30), QColor(Qt::white));
    s.ctrl_is_visible = true;
    EXPECT_EQ(Render(s).pixelColor(30, 30), QColor(Qt::black));
    EXPECT_EQ(win.refreshCount, 0);   // drawing never asks for a redraw
}

// Runs of inked pixels (in device pixels) along the row band around canvas
// y `y` of an item drawn at `scale` device pixels per point.
QList<int> Inked_Runs(LMNGraphic& g, double y, double scale)
{
    QImage img(int(130 * scale), int(130 * scale), QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(scale, scale);
    g.drawContentsInView(p, nullptr, false);
    p.end();
    const int row = int(y * scale);
    QList<int> runs;
    int run = 0;
    for (int x = 0; x < img.width(); ++x) {
        bool inked = false;
        for (int r = std::max(0, row - 3); r <= std::min(img.height() - 1, row + 3); ++r)
            inked = inked || qGray(img.pixel(x, r)) < 200;
        if (inked) {
            ++run;
        } else if (run) {
            runs << run;
            run = 0;
        }
    }
    if (run)
        runs << run;
    return runs;
}

void Expect_Runs(const QList<int>& runs, const QList<double>& expected, double tolerance)
{
    ASSERT_EQ(runs.size(), expected.size()) << QStringList([&] {
        QStringList s;
        for (int r : runs) s << QString::number(r);
        return s;
    }()).join(' ').toStdString();
    for (qsizetype i = 0; i < runs.size(); ++i)
        EXPECT_NEAR(runs[i], expected[i], tolerance) << i;
}

TEST_F(Kinds, DashLengthsAreInPointsWhateverTheWidthAndZoom)
{
    EXPECT_EQ(Border_Dash_Lengths("DA"), QList<qreal>({8, 2}));
    EXPECT_EQ(Border_Dash_Lengths("DO"), QList<qreal>({4, 6}));
    EXPECT_EQ(Border_Dash_Lengths("DD"), QList<qreal>({24, 10, 6, 10}));
    EXPECT_EQ(Border_Dash_Lengths("DDD"), QList<qreal>({24, 8, 8, 8, 8, 8}));
    EXPECT_TRUE(Border_Dash_Lengths("S").isEmpty());
    EXPECT_TRUE(Border_Dash_Lengths("dd").isEmpty());

    // Thin and zero widths too: a pen under one device pixel would be dashed
    // in pixels by the paint engine.
    for (double width : {0.0, 0.5, 1.0, 3.0}) {
        for (double scale : {1.0, 2.0}) {
            SCOPED_TRACE(QStringLiteral("width %1 scale %2").arg(width).arg(scale).toStdString());
            LMNLine line;   // a 100-point line: ten dashes of 8 with gaps of 2
            line.setBeginPoint({10, 60});
            line.setEndPoint({110, 60});
            line._strokeWidth = width;
            line._stroke_border_type = "DA";
            Expect_Runs(Inked_Runs(line, 60, scale), QList<double>(10, 8 * scale), 1);

            Shape_Control box;   // the top edge of a framed shape
            box._bounds = QRectF(10, 20, 100, 50);
            box._isDrawingFill = false;
            box._strokeWidth = width;
            box._stroke_border_type = "DDD";
            // 24 on, 8 off, 8 on, 8 off, 8 on, 8 off, then 24 on again.
            const QList<double> top = {24, 8, 8, 24};
            QList<double> px;
            for (double d : top)
                px << d * scale;
            const QList<int> runs = Inked_Runs(box, 20, scale);
            ASSERT_GE(runs.size(), 4);
            Expect_Runs(runs.mid(0, 4), px, 1.5);
        }
    }
    LMNLine solid;
    solid.setBeginPoint({10, 60});
    solid.setEndPoint({110, 60});
    solid._stroke_border_type = "unknown";
    Expect_Runs(Inked_Runs(solid, 60, 1), {100}, 1);
}

TEST_F(Kinds, DashedPathFollowsCornersAndRestartsAtEachSubpath)
{
    QPainterPath p;
    p.moveTo(0, 0);
    p.lineTo(5, 0);
    p.lineTo(5, 10);   // the first dash of 8 turns the corner
    p.moveTo(20, 0);
    p.lineTo(40, 0);   // a new sub-path starts the pattern again
    const QPainterPath d = Dashed_Path(p, {8, 2});
    const QList<QPolygonF> dashes = d.toSubpathPolygons();
    ASSERT_EQ(dashes.size(), 4);
    EXPECT_EQ(dashes[0], QPolygonF({{0, 0}, {5, 0}, {5, 3}}));
    EXPECT_EQ(dashes[1], QPolygonF({{5, 5}, {5, 10}}));
    EXPECT_EQ(dashes[2], QPolygonF({{20, 0}, {28, 0}}));
    EXPECT_EQ(dashes[3], QPolygonF({{30, 0}, {38, 0}}));
    // A pattern that cannot be cut leaves the path whole.
    EXPECT_EQ(Dashed_Path(p, {0, 0}), p);
    QPainterPath huge;
    huge.moveTo(0, 0);
    huge.lineTo(1e12, 0);
    EXPECT_EQ(Dashed_Path(huge, {8, 2}), huge);
}

TEST_F(Kinds, LineEndPointTable)
{
    LMNLine l;
    EXPECT_FALSE(l._pointsRight);
    EXPECT_FALSE(l._pointsDown);
    l._bounds = QRectF(10, 20, 30, 40);
    EXPECT_EQ(l.beginPoint(), QPointF(40, 60));   // bottom-right until a point is set
    EXPECT_EQ(l.endPoint(), QPointF(10, 20));

    l.setBeginPoint({10, 40});
    l.setEndPoint({60, 20});
    EXPECT_EQ(l._bounds, QRectF(10, 20, 50, 20));
    EXPECT_TRUE(l._pointsRight);
    EXPECT_FALSE(l._pointsDown);
    EXPECT_EQ(l.beginPoint(), QPointF(10, 40));
    EXPECT_EQ(l.endPoint(), QPointF(60, 20));

    EXPECT_EQ(l.resizeByMovingHandle(2, {0, 60}), 2);
    EXPECT_EQ(l._bounds, QRectF(0, 40, 10, 20));
    EXPECT_FALSE(l._pointsRight);
    EXPECT_TRUE(l._pointsDown);
    EXPECT_EQ(l.resizeByMovingHandle(5, {99, 99}), 5);
    EXPECT_EQ(l._bounds, QRectF(0, 40, 10, 20));

    LMNLine same;
    same.setBeginPoint({7, 8});
    same.setEndPoint({7, 8});
    EXPECT_EQ(same._bounds, QRectF(7, 8, 0, 0));
    EXPECT_FALSE(same._pointsRight);
    EXPECT_EQ(same.beginPoint(), QPointF(7, 8));
    EXPECT_EQ(same.endPoint(), QPointF(7, 8));
    EXPECT_EQ(same.handleUnderPoint({7, 8}), 1);   // the begin point wins
}

TEST_F(Kinds, LinesAreHitNearTheirSegment)
{
    LMNLine v;
    v.setBeginPoint({30, 10});
    v.setEndPoint({30, 90});
    EXPECT_TRUE(v.isContentsUnderPoint({30, 50}));
    EXPECT_TRUE(v.isContentsUnderPoint({32.4, 50}));   // width 1: within 2.5
    EXPECT_FALSE(v.isContentsUnderPoint({33, 50}));
    v._strokeWidth = 10;
    EXPECT_TRUE(v.isContentsUnderPoint({36.9, 50}));
    EXPECT_DOUBLE_EQ(LMNLine::Hit_Tolerance(0), 2.0);
    LMNLine d;
    d.setBeginPoint({0, 0});
    d.setEndPoint({100, 100});
    EXPECT_TRUE(d.isContentsUnderPoint({50, 51}));
    EXPECT_FALSE(d.isContentsUnderPoint({90, 10}));     // inside the box, far from the line
    EXPECT_EQ(d.keysForValuesToObserveForUndo().contains("bounds"), false);
    EXPECT_EQ(d.presentablePropertyNameForKey("endPoint"), "Endpoint");
}

TEST_F(Kinds, LineIsStrokedEvenWithStrokeOffAndNeverFilled)
{
    LMNLine l;
    l.setBeginPoint({10, 60});
    l.setEndPoint({110, 60});
    l._strokeWidth = 4;
    l._isDrawingStroke = false;
    l._isDrawingFill = true;
    l._fillColor = Qt::red;
    const QImage img = Render(l);
    EXPECT_EQ(img.pixelColor(50, 60), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(50, 40), QColor(Qt::white));
    l._line_cap_style = 1;   // round ends stick out by half the width
    EXPECT_EQ(Render(l).pixelColor(111, 60), QColor(Qt::black));
}

TEST_F(Kinds, TextTrimAndCase)
{
    LMNText t;
    t.Set_text_value("  Hello \n");
    t.Text_contents();
    EXPECT_EQ(t.displayString(), "Hello");
    t.text_transfrom_case = 1;
    EXPECT_EQ(t.displayString(), "HELLO");
    t.Set_text_value("hello wORLD");
    t.text_transfrom_case = 3;
    EXPECT_EQ(t.displayString(), "Hello World");
    t.text_transfrom_case = 2;
    EXPECT_EQ(t.displayString(), "hello world");
    t.text_transfrom_case = 9;
    EXPECT_EQ(t.displayString(), "hello wORLD");
}

TEST_F(Kinds, TextVerticalPlacement)
{
    LMNText t;
    t._bounds = QRectF(0, 0, 100, 50);
    const int expected[] = {0, 36, 18, 0};
    for (int v = 0; v < 4; ++v) {
        t.text_alignmnet_Vert = v;
        EXPECT_DOUBLE_EQ(t.textRect(14).y(), expected[v]) << v;
    }
    EXPECT_EQ(t.alignmentFlags(), int(Qt::AlignHCenter));
    t.text_alignmnet = 1;
    EXPECT_EQ(t.alignmentFlags(), int(Qt::AlignRight));
    const double one = t.unwrappedTextHeight("a");
    EXPECT_GT(t.unwrappedTextHeight("a\nb"), one * 1.5);
}

TEST_F(Kinds, TextDrawingFillBorderAndShadow)
{
    LMNText t;
    t._bounds = QRectF(10, 10, 100, 40);
    t._isDrawingFill = true;
    t._fillColor = Qt::yellow;
    t._fill_type = "H";               // hatch fills text plainly
    t._isDrawingStroke = true;
    t.Set_text_value(" \n  ");
    t.Text_contents();
    QImage img = Render(t);
    EXPECT_EQ(img.pixelColor(60, 30), QColor(Qt::yellow));
    EXPECT_EQ(img.pixelColor(10, 30), QColor(Qt::yellow));   // no border when empty
    t.Set_text_value("WWWW");
    t.txt_clr = Qt::black;
    t.Drawing_Shadow = true;
    t.Shadow_transparency = 0.5f;
    img = Render(t);
    EXPECT_EQ(img.pixelColor(10, 30), QColor(Qt::black));      // border drawn
    EXPECT_NEAR(t.Shadow_Color.alphaF(), 0.5, 1e-3);           // kept by the item
    int dark = 0;
    for (int y = 11; y < 49; ++y)
        for (int x = 11; x < 109; ++x)
            dark += img.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, 20);
    // A blur far beyond any picture size (a damaged file) leaves the shadow
    // out instead of overflowing its pixel counts; the text still draws.
    t.Shadow_blur = 1e30f;
    img = Render(t);
    EXPECT_EQ(img.pixelColor(10, 30), QColor(Qt::black));
}

TEST_F(Kinds, TextBeingCreatedDrawsOnlyAFrame)
{
    LMNText t;
    t._bounds = QRectF(20, 20, 60, 30);
    t._isDrawingFill = true;
    t._fillColor = Qt::black;
    QImage img(120, 120, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    t.drawContentsInView(p, nullptr, true);
    p.end();
    EXPECT_EQ(img.pixelColor(50, 35), QColor(Qt::white));
    EXPECT_NE(img.pixelColor(19, 35), QColor(Qt::white));
}

TEST_F(Kinds, TextNaturalSizeAndLock)
{
    LMNText t;
    t._bounds = QRectF(5, 5, 200, 10);
    t.makeNaturalSize();
    EXPECT_EQ(t._bounds.topLeft(), QPointF(5, 5));
    EXPECT_GT(t._bounds.height(), 5);
    EXPECT_LT(t._bounds.width(), 200);
    const QRectF before = t._bounds;
    t.ctrl_is_locked = true;
    t.Set_text_value("a much longer text than before");
    t.makeNaturalSize();
    EXPECT_EQ(t._bounds, before);
}

TEST_F(Kinds, PictureDrawsSqueezedWithItsOpacityAndFlips)
{
    QImage src(40, 20, QImage::Format_ARGB32);
    src.fill(Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            src.setPixelColor(x, y, Qt::red);   // left half red
    auto pic = LMNImage::initWithPosition({50, 50}, PtImage(src));
    EXPECT_EQ(pic->_bounds, QRectF(30, 40, 40, 20));
    pic->_file_path = "somewhere.png";
    pic->setFileNSImage_Variable(PtImage(src));
    pic->setBounds(QRectF(0, 0, 20, 20));   // half the width
    QImage img = Render(*pic);
    EXPECT_EQ(img.pixelColor(4, 10), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(16, 10), QColor(Qt::blue));
    pic->img_trnsp_val = 50;
    img = Render(*pic);
    EXPECT_NEAR(img.pixelColor(16, 10).blueF(), 1.0, 0.02);
    EXPECT_NEAR(img.pixelColor(16, 10).redF(), 0.5, 0.05);
    pic->_file_path = "";
    pic->_isDrawingStroke = true;
    img = Render(*pic);
    EXPECT_EQ(img.pixelColor(10, 10), QColor(Qt::white));   // border only

    pic->flipHorizontally();
    pic->flipHorizontally();
    EXPECT_FALSE(pic->_isFlippedHorizontally);
    pic->flipVertically();
    pic->flipHorizontally();
    pic->makeNaturalSize();
    EXPECT_EQ(pic->_bounds, QRectF(0, 0, 40, 20));
    EXPECT_FALSE(pic->_isFlippedVertically) << "natural size is the picture as loaded";
    EXPECT_FALSE(pic->_isFlippedHorizontally);
}

TEST_F(Kinds, SignatureLoadsItsSampleAndFollowsItsPath)
{
    QTemporaryDir dir;
    const QString saved = Folders.Resource_Path;
    Folders.Resource_Path = dir.path();
    QImage fp(30, 10, QImage::Format_RGB32);
    fp.fill(Qt::black);
    ASSERT_TRUE(fp.save(dir.filePath("fingerprints.png")));
    QImage other(300, 100, QImage::Format_RGB32);
    other.fill(Qt::red);
    ASSERT_TRUE(other.save(dir.filePath("other.png")));

    LMNSignature s;
    s.Set_Sign_Or_FP("F");
    s.setFilePath("Default");
    EXPECT_EQ(s._file_path, dir.filePath("fingerprints.png"));
    EXPECT_EQ(s._contents_img.size(), QSizeF(30, 10));
    s.setBounds(QRectF(0, 0, 150, 100));
    s._isDrawingStroke = false;
    s._file_path = dir.filePath("other.png");   // changed from outside
    const QImage img = Render(s, {200, 120});
    EXPECT_EQ(s.file_path, dir.filePath("other.png"));
    EXPECT_EQ(img.pixelColor(140, 90), QColor(Qt::red));   // squeezed into the bounds
    EXPECT_EQ(img.pixelColor(160, 50), QColor(Qt::white));
    s.ctrl_is_locked = true;
    s.makeNaturalSize();
    EXPECT_EQ(s._bounds, QRectF(0, 0, 150, 100));
    Folders.Resource_Path = saved;
}

TEST_F(Kinds, BarcodeDrawsAtItsOwnSizeFromTheTopLeft)
{
    auto b = LMNBarcode::initWithPosition({40, 40}, PtImage());
    EXPECT_EQ(b->_bounds, QRectF(40, 40, 0, 0));
    QImage bars(20, 10, QImage::Format_RGB32);
    bars.fill(Qt::black);
    b->Set_Barcode_image(PtImage(bars));
    EXPECT_EQ(b->_bounds, QRectF(40, 40, 20, 10));
    b->setBounds(QRectF(10, 10, 40, 20));   // twice the image size
    const QImage img = Render(*b);
    EXPECT_EQ(img.pixelColor(15, 15), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(40, 25), QColor(Qt::white));
    LMNBarcode empty;
    empty._bounds = QRectF(0, 0, 50, 50);
    EXPECT_EQ(Render(empty).pixelColor(10, 10), QColor(Qt::white));
}

} // namespace

namespace {

// Hatch names come from files and the pasteboard; only the names of the
// pattern pictures that are there are looked up, so "../name" never loads
// another picture.
TEST_F(Kinds, HatchNamesAreTakenOnlyFromThePatternList)
{
    QTemporaryDir dir;
    testsupport::Scoped_Folders folders;
    Folders.Resource_Path = dir.filePath("res");
    Folders.Created_Resource_Path = dir.filePath("user");
    QDir().mkpath(Folders.Resource_Path + "/Fill_Style_Image");
    QDir().mkpath(Folders.Created_Resource_Path + "/Fill_Style_Image");
    QImage black(4, 4, QImage::Format_ARGB32);
    black.fill(Qt::black);
    ASSERT_TRUE(black.save(Folders.Resource_Path + "/Fill_Style_Image/dots.png"));
    ASSERT_TRUE(black.save(Folders.Created_Resource_Path + "/Fill_Style_Image/mine.png"));
    ASSERT_TRUE(black.save(Folders.Resource_Path + "/secret.png"));
    ASSERT_TRUE(black.save(dir.filePath("outside.png")));

    EXPECT_EQ(Hatch_Style_Names(), QStringList({"dots", "mine"}));
    EXPECT_FALSE(Hatch_Pattern_Image("dots").isNull());
    EXPECT_FALSE(Hatch_Pattern_Image("mine").isNull());
    for (const QString& bad : {QString("../secret"), QString("../../outside"), dir.filePath("outside"),
                               QString("../Fill_Style_Image/dots"), QString("./dots"), QString("dots.png")})
        EXPECT_TRUE(Hatch_Pattern_Image(bad).isNull()) << bad.toStdString();

    // Drawn: a hatch that names a picture outside the list shows only its background.
    Shape_Control s;
    s._bounds = QRectF(10, 10, 100, 100);
    s._isDrawingStroke = false;
    s._fill_type = "H";
    s._fill_htch_clr = Qt::yellow;
    s._fill_hatch_type = "../secret";
    EXPECT_EQ(Render(s).pixelColor(60, 60), QColor(Qt::yellow));
    s._fill_hatch_type = "dots";
    EXPECT_EQ(Render(s).pixelColor(60, 60), QColor(Qt::black));
}

} // namespace

namespace {

// A picture without a file (a pasted one) is kept as a PNG file, named after
// its contents: the same picture is one file, another picture another, and a
// file of that name with other contents is never replaced.
TEST(KeptPictures, OneFileAPictureAndNothingOverwritten)
{
    QTemporaryDir dir;
    testsupport::Scoped_Folders folders(dir.filePath("user"));
    Folders.Cropped_Img_Path.clear();   // the data folder's picture folder is made when needed
    QImage red(12, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QImage blue = red.copy();
    blue.fill(Qt::blue);

    QString error;
    const QString first = Keep_Picture_As_File(red, &error);
    ASSERT_FALSE(first.isEmpty()) << error.toStdString();
    EXPECT_EQ(QFileInfo(first).absolutePath(), QDir(dir.filePath("user/Cropped_Images")).absolutePath());
    EXPECT_EQ(QImage(first).convertToFormat(QImage::Format_ARGB32), red);
    EXPECT_EQ(Keep_Picture_As_File(red), first);
    const QString other = Keep_Picture_As_File(blue);
    EXPECT_NE(other, first);
    EXPECT_EQ(QImage(other).convertToFormat(QImage::Format_ARGB32), blue);
    EXPECT_EQ(QDir(QFileInfo(first).absolutePath()).entryList(QDir::Files).size(), 2);

    // Another file where the red picture's file was: left alone.
    QFile::remove(first);
    {
        QFile f(first);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("mine");
    }
    const QString again = Keep_Picture_As_File(red);
    ASSERT_FALSE(again.isEmpty());
    EXPECT_NE(again, first);
    EXPECT_EQ(QImage(again).convertToFormat(QImage::Format_ARGB32), red);
    QFile mine(first);
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("mine"));
}

TEST(KeptPictures, OverTheLimitOrNowhereToKeepIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    testsupport::Scoped_Folders folders(dir.path());
    Folders.Cropped_Img_Path = dir.filePath("kept");
    // One pixel a bit, so the test holds no large picture.
    for (const QSize size : {QSize(10001, 10000), QSize(40000, 1)}) {
        QImage big(size, QImage::Format_Mono);
        ASSERT_FALSE(big.isNull());
        QString error;
        EXPECT_TRUE(Keep_Picture_As_File(big, &error).isEmpty());
        EXPECT_EQ(error, Picture_Too_Large_Message);
    }
    EXPECT_FALSE(QFileInfo::exists(Folders.Cropped_Img_Path)) << "nothing written";
    QImage fits(10000, 10000, QImage::Format_Mono);
    EXPECT_TRUE(Picture_Within_Limit(fits.size()));

    // A plain file where the folder should be.
    {
        QFile f(Folders.Cropped_Img_Path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::green);
    QString error;
    EXPECT_TRUE(Keep_Picture_As_File(small, &error).isEmpty());
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(Folders.Cropped_Img_Path))) << error.toStdString();
}

} // namespace
