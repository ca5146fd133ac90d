// The pictures of the two libraries, each drawn here from shapes and text in
// the DejaVu fonts; nothing is taken from elsewhere.
#include "library_pictures.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <functional>
#include <random>
#include <tuple>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Colours of the library: a few strong ones that print well.
const QColor kInk(34, 38, 46);
const QColor kBlue(36, 92, 170);
const QColor kRed(200, 40, 40);
const QColor kGreen(40, 140, 70);
const QColor kOrange(236, 128, 24);
const QColor kYellow(248, 196, 40);
const QColor kGrey(120, 126, 136);

QImage clearCanvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QFont font(double pixels, bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(pixels));
    f.setBold(bold);
    return f;
}

// A painter ready for drawing a picture: smooth edges, no pen or brush yet.
struct Pen {
    explicit Pen(QImage& img) : p(&img)
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
    }
    void stroke(const QColor& c, double width, Qt::PenStyle style = Qt::SolidLine)
    {
        p.setPen(QPen(c, width, style, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
    }
    void fill(const QColor& c)
    {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
    }
    QPainter p;
};

QPainterPath regularPolygon(QPointF c, double r, int sides, double turnDegrees)
{
    QPainterPath path;
    for (int i = 0; i < sides; ++i) {
        const double a = (turnDegrees + 360.0 * i / sides) * kPi / 180.0;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QPainterPath star(QPointF c, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = (-90.0 + 180.0 * i / points) * kPi / 180.0;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

// ---------------------------------------------------------------- frames (320 x 200)

constexpr int kFrameW = 320, kFrameH = 200;

QImage frameSimple()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    d.stroke(kInk, 6);
    d.p.drawRect(QRectF(6, 6, kFrameW - 12, kFrameH - 12));
    return img;
}

QImage frameDouble()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    d.stroke(kBlue, 6);
    d.p.drawRect(QRectF(6, 6, kFrameW - 12, kFrameH - 12));
    d.stroke(kBlue, 2);
    d.p.drawRect(QRectF(17, 17, kFrameW - 34, kFrameH - 34));
    return img;
}

QImage frameRounded()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    d.stroke(kGreen, 8);
    d.p.drawRoundedRect(QRectF(8, 8, kFrameW - 16, kFrameH - 16), 28, 28);
    return img;
}

QImage frameCorners()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    d.stroke(kInk, 7);
    const double m = 10, l = 46;
    const double r = kFrameW - m, b = kFrameH - m;
    for (const auto& [x, y, dx, dy] : {std::tuple{m, m, 1.0, 1.0}, std::tuple{r, m, -1.0, 1.0},
                                       std::tuple{m, b, 1.0, -1.0}, std::tuple{r, b, -1.0, -1.0}}) {
        QPainterPath corner;
        corner.moveTo(x + dx * l, y);
        corner.lineTo(x, y);
        corner.lineTo(x, y + dy * l);
        d.p.drawPath(corner);
    }
    return img;
}

QImage frameTicket()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    QPainterPath outline;
    outline.addRect(QRectF(6, 6, kFrameW - 12, kFrameH - 12));
    QPainterPath notches;
    const double r = 22;
    for (const QPointF c : {QPointF(6, 6), QPointF(kFrameW - 6, 6), QPointF(6, kFrameH - 6),
                            QPointF(kFrameW - 6, kFrameH - 6)})
        notches.addEllipse(c, r, r);
    d.stroke(kOrange, 5);
    d.p.drawPath(outline.subtracted(notches));
    d.stroke(kOrange, 3, Qt::DashLine);
    d.p.drawLine(QPointF(kFrameW - 80, 30), QPointF(kFrameW - 80, kFrameH - 30));
    return img;
}

QImage frameOval()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    d.stroke(kRed, 6);
    d.p.drawEllipse(QRectF(8, 8, kFrameW - 16, kFrameH - 16));
    d.stroke(kRed, 2);
    d.p.drawEllipse(QRectF(20, 20, kFrameW - 40, kFrameH - 40));
    return img;
}

QImage frameCoupon()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    d.stroke(kInk, 3, Qt::DashLine);
    d.p.drawRect(QRectF(14, 14, kFrameW - 28, kFrameH - 28));
    // Scissors on the top edge: two rings and two blades.
    d.p.setCompositionMode(QPainter::CompositionMode_Clear);
    d.p.fillRect(QRectF(28, 6, 46, 18), Qt::transparent);
    d.p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    d.stroke(kInk, 3);
    d.p.drawEllipse(QPointF(36, 9), 5, 5);
    d.p.drawEllipse(QPointF(36, 21), 5, 5);
    d.p.drawLine(QPointF(40, 11), QPointF(70, 19));
    d.p.drawLine(QPointF(40, 19), QPointF(70, 11));
    return img;
}

QImage frameScalloped()
{
    QImage img = clearCanvas(kFrameW, kFrameH);
    Pen d(img);
    QPainterPath edge;
    edge.addRoundedRect(QRectF(16, 16, kFrameW - 32, kFrameH - 32), 6, 6);
    const double r = 10;
    for (double x = 16; x <= kFrameW - 16; x += 2 * r) {
        edge.addEllipse(QPointF(x, 16), r, r);
        edge.addEllipse(QPointF(x, kFrameH - 16), r, r);
    }
    for (double y = 16; y <= kFrameH - 16; y += 2 * r) {
        edge.addEllipse(QPointF(16, y), r, r);
        edge.addEllipse(QPointF(kFrameW - 16, y), r, r);
    }
    edge.setFillRule(Qt::WindingFill);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(26, 26, kFrameW - 52, kFrameH - 52), 4, 4);
    d.fill(QColor(120, 70, 160));
    d.p.drawPath(edge.simplified().subtracted(inner));
    return img;
}

// ---------------------------------------------------------------- icons (256 x 256)

constexpr int kIcon = 256;
const QPointF kMid(128, 128);

QImage fragile()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    // A wine glass, cracked.
    QPainterPath bowl;
    bowl.moveTo(78, 30);
    bowl.lineTo(178, 30);
    bowl.cubicTo(182, 96, 160, 130, 128, 134);
    bowl.cubicTo(96, 130, 74, 96, 78, 30);
    d.fill(kRed);
    d.p.drawPath(bowl);
    d.p.drawRect(QRectF(122, 132, 12, 70));
    d.p.drawRoundedRect(QRectF(82, 198, 92, 16), 8, 8);
    d.stroke(Qt::white, 5);
    QPainterPath crack;
    crack.moveTo(118, 30);
    crack.lineTo(132, 58);
    crack.lineTo(116, 74);
    crack.lineTo(134, 100);
    d.p.drawPath(crack);
    return img;
}

QImage thisWayUp()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kInk);
    for (double x : {84.0, 172.0}) {
        QPainterPath arrow;
        arrow.moveTo(x, 36);
        arrow.lineTo(x + 40, 96);
        arrow.lineTo(x + 14, 96);
        arrow.lineTo(x + 14, 196);
        arrow.lineTo(x - 14, 196);
        arrow.lineTo(x - 14, 96);
        arrow.lineTo(x - 40, 96);
        arrow.closeSubpath();
        d.p.drawPath(arrow);
    }
    d.p.drawRect(QRectF(40, 212, 176, 12));
    return img;
}

QImage keepDry()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    // Umbrella with drops.
    QPainterPath canopy;
    canopy.moveTo(40, 128);
    canopy.arcTo(QRectF(40, 48, 176, 160), 180, -180);
    for (int i = 0; i < 4; ++i)
        canopy.arcTo(QRectF(172 - 44.0 * i, 112, 44, 32), 0, 180);
    canopy.closeSubpath();
    d.fill(kBlue);
    d.p.drawPath(canopy);
    d.stroke(kBlue, 10);
    QPainterPath handle;
    handle.moveTo(128, 128);
    handle.lineTo(128, 206);
    handle.arcTo(QRectF(100, 190, 28, 28), 0, -180);
    d.p.drawPath(handle);
    d.fill(kBlue);
    for (const QPointF drop : {QPointF(62, 30), QPointF(120, 20), QPointF(190, 32)}) {
        QPainterPath dr;
        dr.moveTo(drop);
        dr.cubicTo(drop + QPointF(10, 16), drop + QPointF(10, 24), drop + QPointF(0, 24));
        dr.cubicTo(drop + QPointF(-10, 24), drop + QPointF(-10, 16), drop);
        d.p.drawPath(dr);
    }
    return img;
}

QImage recycle()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    // Three arrows chasing each other around a triangle.
    for (int k = 0; k < 3; ++k) {
        d.p.save();
        d.p.translate(kMid);
        d.p.rotate(120.0 * k);
        d.stroke(kGreen, 22);
        d.p.drawLine(QPointF(-60, 62), QPointF(38, 62));
        d.fill(kGreen);
        QPainterPath head;
        head.moveTo(76, 62);
        head.lineTo(36, 30);
        head.lineTo(36, 94);
        head.closeSubpath();
        d.p.drawPath(head);
        d.p.restore();
    }
    return img;
}

QImage signTriangle(const QColor& fill, const std::function<void(Pen&)>& inside)
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    QPainterPath tri;
    tri.moveTo(128, 22);
    tri.lineTo(236, 220);
    tri.lineTo(20, 220);
    tri.closeSubpath();
    d.p.setPen(QPen(kInk, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    d.p.setBrush(fill);
    d.p.drawPath(tri);
    inside(d);
    return img;
}

QImage warning()
{
    return signTriangle(kYellow, [](Pen& d) {
        d.fill(kInk);
        d.p.drawRoundedRect(QRectF(116, 80, 24, 84), 10, 10);
        d.p.drawEllipse(QPointF(128, 190), 14, 14);
    });
}

QImage highVoltage()
{
    return signTriangle(kYellow, [](Pen& d) {
        d.fill(kInk);
        QPainterPath bolt;
        bolt.moveTo(140, 74);
        bolt.lineTo(100, 150);
        bolt.lineTo(128, 150);
        bolt.lineTo(112, 204);
        bolt.lineTo(158, 126);
        bolt.lineTo(130, 126);
        bolt.lineTo(148, 74);
        bolt.closeSubpath();
        d.p.drawPath(bolt);
    });
}

QImage flammable()
{
    return signTriangle(QColor(250, 120, 40), [](Pen& d) {
        d.fill(kInk);
        QPainterPath flame;
        flame.moveTo(128, 84);
        flame.cubicTo(160, 120, 176, 150, 160, 186);
        flame.cubicTo(150, 204, 106, 204, 96, 186);
        flame.cubicTo(84, 162, 100, 140, 112, 128);
        flame.cubicTo(112, 146, 120, 156, 128, 156);
        flame.cubicTo(138, 136, 136, 110, 128, 84);
        d.p.drawPath(flame);
    });
}

QImage circleSign(const QColor& fill, const QString& letter)
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(fill);
    d.p.drawEllipse(kMid, 110, 110);
    d.p.setPen(Qt::white);
    d.p.setFont(font(150));
    d.p.drawText(QRectF(0, 0, kIcon, kIcon), Qt::AlignCenter, letter);
    return img;
}

QImage keepFrozen()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.stroke(kBlue, 14);
    for (int k = 0; k < 3; ++k) {
        d.p.save();
        d.p.translate(kMid);
        d.p.rotate(60.0 * k);
        d.p.drawLine(QPointF(0, -104), QPointF(0, 104));
        for (int s : {-1, 1}) {
            d.p.drawLine(QPointF(0, s * 62.0), QPointF(-28, s * 90.0));
            d.p.drawLine(QPointF(0, s * 62.0), QPointF(28, s * 90.0));
        }
        d.p.restore();
    }
    return img;
}

QImage priceTag()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    QPainterPath tag;
    tag.moveTo(40, 100);
    tag.lineTo(100, 40);
    tag.lineTo(216, 40);
    tag.lineTo(216, 216);
    tag.lineTo(100, 216);
    tag.lineTo(40, 156);
    tag.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(84, 128), 14, 14);
    d.fill(kOrange);
    d.p.save();
    d.p.translate(kMid);
    d.p.rotate(-30);
    d.p.translate(-kMid);
    d.p.drawPath(tag.subtracted(hole));
    d.p.setPen(Qt::white);
    d.p.setFont(font(72));
    d.p.drawText(QRectF(100, 40, 116, 176), Qt::AlignCenter, QStringLiteral("$"));
    d.p.restore();
    return img;
}

QImage burst(const QColor& fill, const QString& text, double textPixels)
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(fill);
    d.p.drawPath(star(kMid, 122, 96, 16));
    d.p.setPen(Qt::white);
    d.p.setFont(font(textPixels));
    d.p.drawText(QRectF(0, 0, kIcon, kIcon), Qt::AlignCenter, text);
    return img;
}

QImage shoppingCart()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.stroke(kInk, 14);
    QPainterPath cart;
    cart.moveTo(20, 44);
    cart.lineTo(56, 44);
    cart.lineTo(84, 164);
    cart.lineTo(204, 164);
    d.p.drawPath(cart);
    d.fill(kBlue);
    QPainterPath basket;
    basket.moveTo(62, 68);
    basket.lineTo(232, 68);
    basket.lineTo(212, 144);
    basket.lineTo(80, 144);
    basket.closeSubpath();
    d.p.drawPath(basket);
    d.fill(kInk);
    d.p.drawEllipse(QPointF(100, 200), 18, 18);
    d.p.drawEllipse(QPointF(188, 200), 18, 18);
    return img;
}

QImage starIcon()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.p.setPen(QPen(QColor(200, 140, 0), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    d.p.setBrush(kYellow);
    d.p.drawPath(star(QPointF(128, 136), 112, 46, 5));
    return img;
}

QImage heart()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    QPainterPath h;
    h.moveTo(128, 224);
    h.cubicTo(40, 160, 10, 110, 30, 70);
    h.cubicTo(50, 30, 110, 30, 128, 76);
    h.cubicTo(146, 30, 206, 30, 226, 70);
    h.cubicTo(246, 110, 216, 160, 128, 224);
    d.fill(kRed);
    d.p.drawPath(h);
    return img;
}

QImage checkMark()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kGreen);
    d.p.drawEllipse(kMid, 112, 112);
    d.stroke(Qt::white, 28);
    QPainterPath tick;
    tick.moveTo(70, 132);
    tick.lineTo(112, 174);
    tick.lineTo(190, 88);
    d.p.drawPath(tick);
    return img;
}

QImage crossMark()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kRed);
    d.p.drawEllipse(kMid, 112, 112);
    d.stroke(Qt::white, 28);
    d.p.drawLine(QPointF(84, 84), QPointF(172, 172));
    d.p.drawLine(QPointF(172, 84), QPointF(84, 172));
    return img;
}

QImage gift()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kRed);
    d.p.drawRect(QRectF(40, 110, 176, 116));
    d.fill(QColor(220, 60, 60));
    d.p.drawRect(QRectF(28, 80, 200, 36));
    d.fill(kYellow);
    d.p.drawRect(QRectF(114, 80, 28, 146));
    d.stroke(kYellow, 12);
    d.p.drawEllipse(QRectF(72, 36, 56, 44));
    d.p.drawEllipse(QRectF(128, 36, 56, 44));
    return img;
}

QImage leaf()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    QPainterPath l;
    l.moveTo(40, 216);
    l.cubicTo(30, 110, 100, 40, 224, 32);
    l.cubicTo(220, 150, 150, 222, 40, 216);
    d.fill(kGreen);
    d.p.drawPath(l);
    d.stroke(QColor(220, 240, 220), 8);
    QPainterPath vein;
    vein.moveTo(40, 216);
    vein.cubicTo(90, 160, 140, 110, 196, 64);
    d.p.drawPath(vein);
    return img;
}

QImage envelope()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.p.setPen(QPen(kBlue, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    d.p.setBrush(Qt::white);
    d.p.drawRoundedRect(QRectF(24, 56, 208, 144), 10, 10);
    QPainterPath flap;
    flap.moveTo(28, 62);
    flap.lineTo(128, 140);
    flap.lineTo(228, 62);
    d.stroke(kBlue, 10);
    d.p.drawPath(flap);
    return img;
}

QImage phone()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kInk);
    QPainterPath handset;
    handset.moveTo(58, 30);
    handset.lineTo(96, 30);
    handset.lineTo(110, 84);
    handset.lineTo(86, 104);
    handset.cubicTo(100, 140, 116, 156, 152, 170);
    handset.lineTo(172, 146);
    handset.lineTo(226, 160);
    handset.lineTo(226, 198);
    handset.cubicTo(226, 214, 212, 226, 196, 226);
    handset.cubicTo(110, 220, 36, 146, 30, 60);
    handset.cubicTo(30, 44, 42, 30, 58, 30);
    d.p.drawPath(handset);
    return img;
}

QImage clockFace()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.p.setPen(QPen(kInk, 14));
    d.p.setBrush(Qt::white);
    d.p.drawEllipse(kMid, 104, 104);
    d.stroke(kInk, 8);
    for (int h = 0; h < 12; ++h) {
        const double a = h * 30.0 * kPi / 180.0;
        d.p.drawLine(QPointF(128 + 80 * std::sin(a), 128 - 80 * std::cos(a)),
                     QPointF(128 + 90 * std::sin(a), 128 - 90 * std::cos(a)));
    }
    d.stroke(kInk, 12);
    d.p.drawLine(kMid, QPointF(128, 68));
    d.p.drawLine(kMid, QPointF(176, 150));
    return img;
}

QImage calendar()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.p.setPen(QPen(kInk, 8));
    d.p.setBrush(Qt::white);
    d.p.drawRoundedRect(QRectF(28, 44, 200, 184), 12, 12);
    d.fill(kRed);
    d.p.drawRect(QRectF(32, 48, 192, 44));
    d.fill(kInk);
    d.p.drawRoundedRect(QRectF(70, 24, 16, 44), 6, 6);
    d.p.drawRoundedRect(QRectF(170, 24, 16, 44), 6, 6);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            d.p.drawRect(QRectF(52 + col * 42, 110 + row * 36, 26, 22));
    return img;
}

QImage locationPin()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    QPainterPath pin;
    pin.moveTo(128, 236);
    pin.cubicTo(90, 180, 50, 140, 50, 98);
    pin.arcTo(QRectF(50, 20, 156, 156), 180, -180);
    pin.cubicTo(206, 140, 166, 180, 128, 236);
    QPainterPath hole;
    hole.addEllipse(QPointF(128, 98), 32, 32);
    d.fill(kRed);
    d.p.drawPath(pin.subtracted(hole));
    return img;
}

QImage home()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kBlue);
    QPainterPath roof;
    roof.moveTo(128, 24);
    roof.lineTo(236, 124);
    roof.lineTo(20, 124);
    roof.closeSubpath();
    d.p.drawPath(roof);
    d.p.drawRect(QRectF(52, 118, 152, 108));
    d.fill(Qt::white);
    d.p.drawRect(QRectF(108, 152, 40, 74));
    return img;
}

QImage person()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kGrey);
    d.p.drawEllipse(QPointF(128, 78), 50, 50);
    QPainterPath body;
    body.moveTo(36, 232);
    body.cubicTo(36, 160, 80, 140, 128, 140);
    body.cubicTo(176, 140, 220, 160, 220, 232);
    body.closeSubpath();
    d.p.drawPath(body);
    return img;
}

QImage folder()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(QColor(226, 170, 50));
    QPainterPath back;
    back.moveTo(24, 60);
    back.lineTo(100, 60);
    back.lineTo(118, 80);
    back.lineTo(232, 80);
    back.lineTo(232, 210);
    back.lineTo(24, 210);
    back.closeSubpath();
    d.p.drawPath(back);
    d.fill(kYellow);
    d.p.drawRoundedRect(QRectF(24, 100, 208, 110), 8, 8);
    return img;
}

QImage document()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    QPainterPath page;
    page.moveTo(56, 20);
    page.lineTo(160, 20);
    page.lineTo(204, 64);
    page.lineTo(204, 236);
    page.lineTo(56, 236);
    page.closeSubpath();
    d.p.setPen(QPen(kInk, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    d.p.setBrush(Qt::white);
    d.p.drawPath(page);
    d.stroke(kInk, 8);
    QPainterPath fold;
    fold.moveTo(160, 20);
    fold.lineTo(160, 64);
    fold.lineTo(204, 64);
    d.p.drawPath(fold);
    d.stroke(kGrey, 8);
    for (int y = 96; y <= 200; y += 26)
        d.p.drawLine(QPointF(80, y), QPointF(y == 200 ? 140 : 180, y));
    return img;
}

QImage padlock()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.stroke(kGrey, 22);
    d.p.drawArc(QRectF(72, 28, 112, 120), 0, 180 * 16);
    d.p.drawLine(QPointF(72, 88), QPointF(72, 116));
    d.p.drawLine(QPointF(184, 88), QPointF(184, 116));
    d.fill(kOrange);
    d.p.drawRoundedRect(QRectF(44, 110, 168, 124), 16, 16);
    d.fill(kInk);
    d.p.drawEllipse(QPointF(128, 160), 16, 16);
    d.p.drawRect(QRectF(121, 164, 14, 40));
    return img;
}

QImage globe()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.p.setPen(QPen(kBlue, 10));
    d.p.setBrush(QColor(220, 234, 250));
    d.p.drawEllipse(kMid, 106, 106);
    d.stroke(kBlue, 8);
    d.p.drawEllipse(QRectF(80, 22, 96, 212));
    d.p.drawLine(QPointF(128, 22), QPointF(128, 234));
    d.p.drawLine(QPointF(22, 128), QPointF(234, 128));
    d.p.drawLine(QPointF(40, 76), QPointF(216, 76));
    d.p.drawLine(QPointF(40, 180), QPointF(216, 180));
    return img;
}

QImage arrowRight()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.fill(kGreen);
    QPainterPath a;
    a.moveTo(24, 96);
    a.lineTo(136, 96);
    a.lineTo(136, 40);
    a.lineTo(232, 128);
    a.lineTo(136, 216);
    a.lineTo(136, 160);
    a.lineTo(24, 160);
    a.closeSubpath();
    d.p.drawPath(a);
    return img;
}

QImage scissors()
{
    QImage img = clearCanvas(kIcon, kIcon);
    Pen d(img);
    d.stroke(kInk, 14);
    d.p.drawEllipse(QPointF(64, 84), 30, 30);
    d.p.drawEllipse(QPointF(64, 172), 30, 30);
    d.fill(kGrey);
    QPainterPath blades;
    blades.moveTo(88, 100);
    blades.lineTo(236, 180);
    blades.lineTo(228, 192);
    blades.lineTo(84, 116);
    blades.closeSubpath();
    blades.moveTo(88, 156);
    blades.lineTo(236, 76);
    blades.lineTo(228, 64);
    blades.lineTo(84, 140);
    blades.closeSubpath();
    d.p.drawPath(blades);
    return img;
}

// ---------------------------------------------------------------- backgrounds (1012 x 638, a plastic card at 300 DPI)

constexpr int kBgW = 1012, kBgH = 638;

QImage bgCanvas(const QColor& fill)
{
    QImage img(kBgW, kBgH, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

QImage gradientBackground(const QColor& a, const QColor& b, double angleDegrees)
{
    QImage img = bgCanvas(a);
    QPainter p(&img);
    const double rad = angleDegrees * kPi / 180.0;
    const QPointF dir(std::cos(rad), std::sin(rad));
    const double half = 0.5 * (std::abs(dir.x()) * kBgW + std::abs(dir.y()) * kBgH);
    const QPointF c(kBgW / 2.0, kBgH / 2.0);
    QLinearGradient g(c - dir * half, c + dir * half);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(img.rect(), g);
    return img;
}

QImage stripes()
{
    QImage img = bgCanvas(QColor(244, 247, 252));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(206, 222, 244), 28));
    for (int k = -kBgH; k < kBgW + kBgH; k += 72)
        p.drawLine(QPointF(k, kBgH), QPointF(k + kBgH, 0));
    return img;
}

QImage polkaDots()
{
    QImage img = bgCanvas(QColor(255, 248, 236));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 214, 160));
    for (int row = 0; row * 48 < kBgH + 48; ++row)
        for (int col = 0; col * 56 < kBgW + 56; ++col)
            p.drawEllipse(QPointF(col * 56 + (row % 2) * 28, row * 48), 11, 11);
    return img;
}

QImage waves()
{
    QImage img = gradientBackground(QColor(226, 242, 252), QColor(196, 226, 248), 90);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int band = 0; band < 4; ++band) {
        QPainterPath w;
        const double base = 330 + band * 80;
        w.moveTo(0, base);
        for (int x = 0; x <= kBgW; x += 8)
            w.lineTo(x, base + 26 * std::sin((x / 1012.0) * 4 * kPi + band));
        w.lineTo(kBgW, kBgH);
        w.lineTo(0, kBgH);
        w.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 120, 190, 40 + band * 16));
        p.drawPath(w);
    }
    return img;
}

QImage hexagons()
{
    QImage img = bgCanvas(QColor(240, 244, 240));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(190, 214, 196), 3));
    p.setBrush(Qt::NoBrush);
    const double r = 40, w = std::sqrt(3.0) * r;
    for (int row = -1; row * 1.5 * r < kBgH + r; ++row)
        for (int col = -1; col * w < kBgW + w; ++col)
            p.drawPath(regularPolygon(QPointF(col * w + (row % 2 ? w / 2 : 0), row * 1.5 * r), r, 6, 30));
    return img;
}

QImage graphPaper()
{
    QImage img = bgCanvas(Qt::white);
    QPainter p(&img);
    for (int x = 0; x <= kBgW; x += 20) {
        p.setPen(QPen(QColor(200, 222, 236), x % 100 == 0 ? 2 : 1));
        p.drawLine(x, 0, x, kBgH);
    }
    for (int y = 0; y <= kBgH; y += 20) {
        p.setPen(QPen(QColor(200, 222, 236), y % 100 == 0 ? 2 : 1));
        p.drawLine(0, y, kBgW, y);
    }
    return img;
}

QImage confetti()
{
    QImage img = bgCanvas(QColor(252, 252, 250));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    std::mt19937 rng(20240611);   // the same picture on every run
    std::uniform_real_distribution<double> x(0, kBgW), y(0, kBgH), turn(0, 180);
    const QColor colours[] = {QColor(240, 120, 120), QColor(120, 180, 240), QColor(250, 200, 90),
                              QColor(130, 200, 140), QColor(190, 140, 220)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 220; ++i) {
        p.save();
        p.translate(x(rng), y(rng));
        p.rotate(turn(rng));
        p.setBrush(colours[i % 5]);
        p.drawRoundedRect(QRectF(-9, -4, 18, 8), 2, 2);
        p.restore();
    }
    return img;
}

QImage cornerSwoosh()
{
    QImage img = bgCanvas(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath s;
    s.moveTo(0, kBgH);
    s.cubicTo(300, 520, 600, 640, kBgW, 360);
    s.lineTo(kBgW, kBgH);
    s.closeSubpath();
    QLinearGradient g(0, kBgH, kBgW, 360);
    g.setColorAt(0, QColor(36, 92, 170));
    g.setColorAt(1, QColor(80, 170, 220));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(s);
    QPainterPath t;
    t.moveTo(kBgW, 0);
    t.cubicTo(800, 80, 700, 20, 560, 0);
    t.closeSubpath();
    p.setBrush(QColor(80, 170, 220, 120));
    p.drawPath(t);
    return img;
}

QImage sunburst()
{
    QImage img = bgCanvas(QColor(255, 236, 190));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(kBgW / 2.0, kBgH / 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 222, 150));
    for (int k = 0; k < 24; k += 2) {
        QPainterPath ray;
        ray.moveTo(c);
        ray.arcTo(QRectF(c.x() - 1200, c.y() - 1200, 2400, 2400), k * 15.0, 15.0);
        ray.closeSubpath();
        p.drawPath(ray);
    }
    QRadialGradient glow(c, 260);
    glow.setColorAt(0, QColor(255, 250, 230, 230));
    glow.setColorAt(1, QColor(255, 250, 230, 0));
    p.setBrush(glow);
    p.drawEllipse(c, 260, 260);
    return img;
}

QImage linen()
{
    QImage img = bgCanvas(QColor(242, 238, 228));
    QPainter p(&img);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> shade(-10, 10);
    for (int y = 0; y < kBgH; y += 2) {
        const int s = shade(rng);
        p.setPen(QColor(232 + s / 2, 228 + s / 2, 216 + s / 2, 120));
        p.drawLine(0, y, kBgW, y);
    }
    for (int x = 0; x < kBgW; x += 3) {
        const int s = shade(rng);
        p.setPen(QColor(236 + s / 2, 230 + s / 2, 218 + s / 2, 90));
        p.drawLine(x, 0, x, kBgH);
    }
    return img;
}

} // namespace

QString Picture_Library_Licence()
{
    return QStringLiteral(
        "The pictures in this folder were drawn for Zorv Label by the program\n"
        "tools/resources/make_resources (library_pictures.cpp) of its source: each is\n"
        "made from shapes and text set in the DejaVu fonts, and nothing in them is\n"
        "taken from elsewhere.\n"
        "\n"
        "Copyright (C) the Zorv Label authors.\n"
        "\n"
        "They are free to use, copy, change and share under the terms of the GNU\n"
        "General Public License, version 3 or (at your option) any later version,\n"
        "as Zorv Label itself. Labels and cards you make with them are yours.\n");
}

void Draw_Picture_Libraries(const Picture_Saver& save)
{
    const auto library = [&save](const QImage& img, const char* name) {
        save(img, QStringLiteral("LibraryImage/%1.png").arg(QLatin1String(name)), "PNG", -1, 72);
    };
    library(frameSimple(), "Frame_Simple");
    library(frameDouble(), "Frame_Double");
    library(frameRounded(), "Frame_Rounded");
    library(frameCorners(), "Frame_Corners");
    library(frameTicket(), "Frame_Ticket");
    library(frameOval(), "Frame_Oval");
    library(frameCoupon(), "Frame_Coupon");
    library(frameScalloped(), "Frame_Scalloped");
    library(fragile(), "Fragile");
    library(thisWayUp(), "This_Way_Up");
    library(keepDry(), "Keep_Dry");
    library(keepFrozen(), "Keep_Frozen");
    library(recycle(), "Recycle");
    library(warning(), "Warning");
    library(highVoltage(), "High_Voltage");
    library(flammable(), "Flammable");
    library(circleSign(kBlue, QStringLiteral("i")), "Information");
    library(circleSign(kGreen, QStringLiteral("?")), "Question");
    library(priceTag(), "Price_Tag");
    library(burst(kRed, QStringLiteral("%"), 120), "Sale");
    library(burst(kOrange, QStringLiteral("NEW"), 64), "New");
    library(shoppingCart(), "Shopping_Cart");
    library(starIcon(), "Star");
    library(heart(), "Heart");
    library(checkMark(), "Check");
    library(crossMark(), "Cross");
    library(gift(), "Gift");
    library(leaf(), "Leaf");
    library(envelope(), "Mail");
    library(phone(), "Phone");
    library(clockFace(), "Clock");
    library(calendar(), "Calendar");
    library(locationPin(), "Location");
    library(home(), "Home");
    library(person(), "Person");
    library(folder(), "Folder");
    library(document(), "Document");
    library(padlock(), "Confidential");
    library(globe(), "Web");
    library(arrowRight(), "Arrow");
    library(scissors(), "Scissors");

    const auto background = [&save](const QImage& img, const char* name) {
        save(img, QStringLiteral("Background/%1.jpg").arg(QLatin1String(name)), "JPG", 90, 300);
    };
    background(gradientBackground(QColor(214, 232, 252), QColor(120, 170, 230), 30), "Blue_Gradient");
    background(gradientBackground(QColor(226, 246, 224), QColor(120, 196, 132), 120), "Green_Gradient");
    background(gradientBackground(QColor(255, 226, 180), QColor(240, 120, 90), 0), "Sunset_Gradient");
    background(gradientBackground(QColor(246, 246, 248), QColor(180, 186, 196), 90), "Steel");
    background(stripes(), "Stripes");
    background(polkaDots(), "Dots");
    background(waves(), "Waves");
    background(hexagons(), "Hexagons");
    background(graphPaper(), "Graph_Paper");
    background(confetti(), "Confetti");
    background(cornerSwoosh(), "Swoosh");
    background(sunburst(), "Sunburst");
    background(linen(), "Linen");
}
