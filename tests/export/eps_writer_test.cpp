// The EPS paint device: a drawing made with QPainter comes out as an EPS file
// of the device's size that Ghostscript renders as Qt renders the same drawing.
#include "ExportTestSupport.h"
#include "platform/EpsWriter.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace exporttest;

QByteArray Header_Line(const QByteArray& eps, const QByteArray& key)
{
    for (const QByteArray& line : eps.left(2048).split('\n'))
        if (line.startsWith(key)) return line.trimmed();
    return {};
}

TEST(EpsWriter, OneInchCardHasItsBoundingBoxAndItsBarcodeScans)
{
    QTemporaryDir dir;
    const PtImage card = Card_With(Code128(QStringLiteral("ZL-42")), QSizeF(72, 72));
    QString error;
    const QByteArray eps = Eps_Data_Of_Image(card, &error);
    ASSERT_FALSE(eps.isEmpty()) << error.toStdString();
    EXPECT_TRUE(eps.startsWith("%!PS-Adobe-3.0 EPSF-3.0"));
    EXPECT_EQ(Header_Line(eps, "%%BoundingBox:"), QByteArray("%%BoundingBox: 0 0 72 72"));

    const QString path = dir.filePath(QStringLiteral("card.eps"));
    ASSERT_TRUE(Write_Eps_File(path, card, &error)) << error.toStdString();
    QString log;
    const QString png = Render_Eps(path, 600, &log);
    ASSERT_FALSE(png.isEmpty()) << log.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(600, 600));
    EXPECT_EQ(testsupport::Zbar_Decode(png), QByteArray("ZL-42"));
}

TEST(EpsWriter, BoundingBoxIsTheDeviceEvenWhenTheDrawingCoversLess)
{
    // A small mark in one corner of a 2 x 1 inch device with a fractional height.
    EpsDevice device(QSizeF(144, 71.5));
    QPainter p(&device);
    p.fillRect(QRectF(10, 10, 5, 5), Qt::black);
    p.end();
    const QByteArray eps = device.data();
    EXPECT_EQ(Header_Line(eps, "%%BoundingBox:"), QByteArray("%%BoundingBox: 0 0 144 72"));
    EXPECT_TRUE(Eps_Data_Of_Image(PtImage(), nullptr).isEmpty());
}

// Paints the same scene on any device: fills, a gradient, a dashed stroke,
// a transformed picture, a clip and text.
void Paint_Scene(QPainter& p)
{
    p.fillRect(QRectF(0, 0, 200, 100), Qt::white);
    p.fillRect(QRectF(0, 0, 100, 50), QColor(200, 30, 30));
    QLinearGradient g(100, 0, 200, 0);
    g.setColorAt(0, Qt::blue);
    g.setColorAt(1, Qt::green);
    p.fillRect(QRectF(100, 0, 100, 50), g);
    p.setPen(QPen(Qt::black, 3, Qt::DashLine));
    p.drawLine(QPointF(5, 60), QPointF(195, 60));
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::yellow);
    img.setPixel(0, 0, qRgb(0, 0, 0));
    p.save();
    p.translate(20, 70);
    p.scale(5, 5);
    p.drawImage(QPointF(0, 0), img);  // 20 x 10 points, one black corner
    p.restore();
    p.save();
    p.setClipRect(QRectF(120, 65, 30, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 120, 0));
    p.drawEllipse(QRectF(110, 55, 60, 60));  // only the clipped square shows
    p.restore();
    p.setPen(Qt::black);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(14);
    p.setFont(f);
    p.drawText(QRectF(160, 70, 40, 30), Qt::AlignCenter, QStringLiteral("Zv"));
}

TEST(EpsWriter, GhostscriptShowsWhatQtShows)
{
    QTemporaryDir dir;
    EpsDevice device(QSizeF(200, 100));
    {
        QPainter p(&device);
        Paint_Scene(p);
    }
    const QString path = dir.filePath(QStringLiteral("scene.eps"));
    ASSERT_TRUE(testsupport::Write_File(path, device.data()));
    const QString png = Render_Eps(path, 144);
    ASSERT_FALSE(png.isEmpty());
    const QImage got = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(got.size(), QSize(400, 200));

    QImage want(400, 200, QImage::Format_RGB32);
    {
        QPainter p(&want);
        p.scale(2, 2);
        Paint_Scene(p);
    }
    struct Probe { const char* what; QPointF pt; };  // points, sampled away from edges
    const Probe probes[] = {
        {"red fill", {50, 25}}, {"gradient start", {103, 25}}, {"gradient middle", {150, 25}},
        {"gradient end", {197, 25}}, {"dash", {7, 60}}, {"gap", {14, 60}},
        {"picture corner", {22, 72}}, {"picture body", {35, 77}}, {"clipped ellipse", {135, 80}},
        {"clipped away", {115, 80}}, {"below the clip", {140, 97}}, {"white", {80, 90}},
    };
    for (const Probe& pr : probes) {
        const QPoint px(int(pr.pt.x() * 2), int(pr.pt.y() * 2));
        const QRgb a = got.pixel(px), b = want.pixel(px);
        const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        EXPECT_LT(d, 60) << pr.what << ": gs " << std::hex << a << " qt " << b;
    }
    // The text is there: dark pixels inside its box.
    int dark = 0;
    for (int y = 140; y < 200; ++y)
        for (int x = 320; x < 400; ++x)
            if (qGray(got.pixel(x, y)) < 100) ++dark;
    EXPECT_GT(dark, 40);
}

} // namespace
