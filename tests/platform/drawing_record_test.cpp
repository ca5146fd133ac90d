// Drawings recorded on one thread and played back on another: the pixels
// are those of the drawing drawn directly, texts stay text in a PDF, the
// painter is left as it was, and what cannot be kept is drawn as it is.
#include "platform/DrawingRecord.h"
#include "platform/PtImage.h"

#include "common/TestSupport.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

const QSizeF kSize(160, 90);

QFont Text_Font()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    return f;
}

// A line of text as glyph runs, drawn as the barcode texts are.
void Glyphs(QPainter& p, const QString& text, QPointF at)
{
    QTextLayout layout(text, Text_Font());
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1000);
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        Draw_Glyph_Run(p, at, run, Text_Font());
}

// Something of every kind a label draws and then some: fills under a
// transform, outlines, a clip given back, a picture, half-opaque paint,
// texts laid out when drawn and texts drawn as glyphs.
void Drawing(QPainter& p)
{
    p.fillRect(QRectF(QPointF(0, 0), kSize), QColor(250, 248, 240));
    p.save();
    p.setTransform(QTransform(1.5, 0, 0, 30, 10, 5), true);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QRectF bars[] = {{0, 0, 2, 1}, {3, 0, 1, 1}, {6, 0, 3, 1}, {11, 0.2, 1, 0.8}, {14, 0, 2, 1}};
    p.drawRects(bars, 5);
    p.restore();
    QPen outline(QColor(20, 90, 200), 3);
    outline.setJoinStyle(Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(60, 10);
    path.cubicTo(90, 0, 100, 40, 130, 20);
    p.drawPath(path);
    p.drawLine(QPointF(60, 40), QPointF(150, 45));
    p.drawEllipse(QRectF(120, 50, 30, 20));
    p.save();
    p.setClipRect(QRectF(70, 48, 30, 12));
    p.setBrush(QColor(200, 30, 30));
    p.drawRect(QRectF(60, 44, 50, 20));
    p.restore();
    p.setOpacity(0.5);
    p.fillRect(QRectF(100, 30, 40, 10), Qt::darkGreen);
    p.setOpacity(1.0);
    QImage checker(4, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? 0xff000000 : 0xffffffff);
    p.drawImage(QRectF(5, 50, 16, 16), checker);
    p.setPen(Qt::black);
    p.setFont(Text_Font());
    p.drawText(QPointF(25, 80), QStringLiteral("Laid out"));
    p.setPen(QColor(120, 0, 120));
    Glyphs(p, QStringLiteral("ZL-000123"), QPointF(80, 62));
}

QImage Canvas()
{
    QImage image(int(kSize.width() * 2), int(kSize.height() * 2), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

void Prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.scale(2, 2);
}

QImage Drawn_Directly()
{
    QImage image = Canvas();
    QPainter p(&image);
    Prepare(p);
    Drawing(p);
    return image;
}

QImage Played(const Drawing_Record& record)
{
    QImage image = Canvas();
    QPainter p(&image);
    Prepare(p);
    record.replay(p, QTransform());
    return image;
}

} // namespace

TEST(DrawingRecord, PlaysBackEveryKindOfCommandAsItWasDrawnAndLeavesThePainterAsItWas)
{
    const Drawing_Record record(kSize, Drawing);
    ASSERT_TRUE(record.complete());
    EXPECT_EQ(Played(record), Drawn_Directly());

    // Into a painter with a state of its own: mapped where it is asked to
    // go, within the painter's clip, and the painter's state as it was.
    QImage direct = Canvas(), played = Canvas();
    const QTransform into = QTransform::fromTranslate(7, 3).scale(0.5, 0.5);
    for (QImage* image : {&direct, &played}) {
        QPainter p(image);
        Prepare(p);
        p.setClipRect(QRectF(10, 5, 60, 40));
        p.setPen(QPen(Qt::red, 2));
        p.setBrush(Qt::yellow);
        p.setFont(QFont(QStringLiteral("DejaVu Serif"), 9));
        const QTransform before = p.worldTransform();
        const QRegion clip = p.clipRegion();
        if (image == &direct) {
            p.save();
            p.setWorldTransform(into * p.worldTransform());
            Drawing(p);
            p.restore();
        } else {
            record.replay(p, into);
        }
        EXPECT_EQ(p.worldTransform(), before);
        EXPECT_EQ(p.pen(), QPen(Qt::red, 2));
        EXPECT_EQ(p.brush(), QBrush(Qt::yellow));
        EXPECT_EQ(p.font().family(), QFont(QStringLiteral("DejaVu Serif")).family());
        EXPECT_EQ(p.opacity(), 1.0);
        EXPECT_EQ(p.clipRegion(), clip);
        // What is drawn next is drawn with the painter's own state.
        p.drawRect(QRectF(50, 30, 10, 10));
    }
    EXPECT_EQ(played, direct);
}

TEST(DrawingRecord, RecordedOnAWorkerPlaysOnAnotherThreadAndTextStaysText)
{
    std::unique_ptr<Drawing_Record> record;
    std::thread worker([&record] { record = std::make_unique<Drawing_Record>(kSize, Drawing); });
    worker.join();
    ASSERT_TRUE(record && record->complete());
    EXPECT_EQ(Played(*record), Drawn_Directly());

    // In a PDF both texts can be found as text, as when drawn directly.
    QTemporaryDir dir;
    for (const bool recorded : {false, true}) {
        const QString path = dir.filePath(recorded ? "played.pdf" : "direct.pdf");
        {
            QPdfWriter writer(path);
            writer.setPageSize(QPageSize(kSize, QPageSize::Point));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter p(&writer);
            p.scale(writer.resolution() / 72.0, writer.resolution() / 72.0);
            if (recorded)
                record->replay(p, QTransform());
            else
                Drawing(p);
        }
        const auto text = testsupport::Run_Tool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        SCOPED_TRACE(recorded ? "played" : "drawn");
        EXPECT_TRUE(text.out.contains("Laid out")) << text.out.toStdString();
        EXPECT_TRUE(text.out.contains("ZL-000123")) << text.out.toStdString();
    }
}

TEST(DrawingRecord, AnImageRecordedIsClippedOnlyWhereItsDrawingReachesOut)
{
    // Inside its size: the recorded image draws as the image does.
    const PtImage inside([](QPainter& p) { Drawing(p); }, kSize);
    const PtImage recorded = inside.recorded();
    ASSERT_TRUE(recorded.isRecorded());
    const auto draw = [](const PtImage& image) {
        QImage out(400, 300, QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::white);
        QPainter p(&out);
        p.setRenderHint(QPainter::Antialiasing, true);
        image.draw(p, QRectF(30, 40, 240, 135));
        return out;
    };
    EXPECT_EQ(draw(recorded), draw(inside));

    // Reaching past its size: cut at its edges, as the image is.
    const PtImage beyond([](QPainter& p) { p.fillRect(QRectF(-20, -20, 400, 200), Qt::blue); }, kSize);
    ASSERT_TRUE(beyond.recorded().isRecorded());
    const QImage cut = draw(beyond.recorded());
    EXPECT_EQ(cut, draw(beyond));
    EXPECT_EQ(cut.pixel(25, 35), qRgb(255, 255, 255));
    EXPECT_EQ(cut.pixel(100, 100), qRgb(0, 0, 255));
    EXPECT_EQ(cut.pixel(275, 180), qRgb(255, 255, 255));

    // Shapes filled by the brush alone, without a pen, reach out too.
    const std::function<void(QPainter&)> filled[] = {
        [](QPainter& p) {
            QPainterPath path;
            path.addEllipse(QRectF(-20, -20, 400, 200));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::blue);
            p.drawPath(path);
        },
        [](QPainter& p) {
            const QPointF corners[] = {{-20, -20}, {380, -20}, {380, 180}, {-20, 180}};
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::blue);
            p.drawPolygon(corners, 4);
        },
    };
    for (const auto& paint : filled) {
        const PtImage shape(paint, kSize);
        ASSERT_TRUE(shape.recorded().isRecorded());
        const QImage shapeCut = draw(shape.recorded());
        EXPECT_EQ(shapeCut, draw(shape));
        EXPECT_EQ(shapeCut.pixel(25, 35), qRgb(255, 255, 255));
        EXPECT_EQ(shapeCut.pixel(275, 180), qRgb(255, 255, 255));
    }
}

TEST(DrawingRecord, GlyphsDrawnWithoutTheirFontAreNotKeptAndTheImageDrawsAsItIs)
{
    // A glyph run drawn straight through the painter gives the recording no
    // characters to lay out again: the record is not complete, and the
    // image keeps its own drawing.
    const PtImage bare(
        [](QPainter& p) {
            QTextLayout layout(QStringLiteral("glyphs"), Text_Font());
            layout.beginLayout();
            layout.createLine().setLineWidth(500);
            layout.endLayout();
            for (const QGlyphRun& run : layout.glyphRuns())
                p.drawGlyphRun(QPointF(5, 5), run);
        },
        kSize);
    EXPECT_FALSE(Drawing_Record(kSize, [&bare](QPainter& p) { bare.draw(p, QRectF(QPointF(0, 0), kSize)); }).complete());
    const PtImage kept = bare.recorded();
    EXPECT_FALSE(kept.isRecorded());
    EXPECT_EQ(kept.toImage(144), bare.toImage(144));
}
