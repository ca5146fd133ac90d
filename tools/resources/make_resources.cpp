// Draws the pictures and writes the default files that Zorv Label ships in
// resources/, and the application icon. Run it after changing a drawing and
// commit what it writes:
//
//   cmake -B build -DZL_TOOLS=ON && cmake --build build --target make-resources
//   QT_QPA_PLATFORM=offscreen build/tools/resources/make-resources resources app/zorv-label.png
//
// Every picture is drawn here from shapes; nothing is taken from elsewhere.
#include "barcode/generation/BarcodeRoad.h"
#include "platform/Plist.h"

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <QVariantList>

#include <cmath>
#include <cstdio>

namespace {

QString g_out;
int g_failures = 0;

QImage canvas(int w, int h, QColor fill = Qt::transparent)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void save(const QImage& img, const QString& name, const char* format = nullptr, int quality = -1)
{
    const QString path = QDir(g_out).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage out = img;
    out.setDotsPerMeterX(2835);   // 72 dpi: one pixel a point
    out.setDotsPerMeterY(2835);
    if (!out.save(path, format, quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
    }
}

// The placeholder of a picture item whose file is missing.
QImage noPicture()
{
    QImage img = canvas(160, 120, QColor(238, 240, 244));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(170, 176, 186), 2, Qt::DashLine));
    p.drawRect(QRectF(3, 3, 154, 114));
    // A landscape: sun and two hills.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 80));
    p.drawEllipse(QPointF(110, 38), 12, 12);
    QPainterPath hills;
    hills.moveTo(20, 96);
    hills.lineTo(58, 48);
    hills.lineTo(84, 80);
    hills.lineTo(100, 62);
    hills.lineTo(140, 96);
    hills.closeSubpath();
    p.setBrush(QColor(120, 150, 190));
    p.drawPath(hills);
    // Struck through: no picture.
    p.setPen(QPen(QColor(200, 60, 60), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 24), QPointF(130, 104));
    return img;
}

// A handwritten-looking stroke on a clear background.
QImage signature()
{
    QImage img = canvas(300, 100);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 40, 110), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath s;
    s.moveTo(18, 70);
    s.cubicTo(30, 10, 62, 12, 48, 52);
    s.cubicTo(38, 82, 78, 78, 90, 48);
    s.cubicTo(98, 28, 104, 70, 118, 58);
    s.cubicTo(128, 48, 134, 36, 142, 60);
    s.cubicTo(150, 82, 166, 30, 176, 50);
    s.cubicTo(184, 66, 196, 66, 206, 46);
    s.cubicTo(214, 30, 222, 74, 236, 56);
    s.cubicTo(246, 44, 262, 40, 284, 44);
    p.drawPath(s);
    p.setPen(QPen(QColor(20, 40, 110), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 84), QPointF(250, 78));
    return img;
}

// Concentric broken ridges, like a fingertip's print.
QImage fingerprint()
{
    QImage img = canvas(150, 200);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(75, 104);
    for (int i = 0; i < 13; ++i) {
        const double rx = 8 + i * 5.0, ry = 11 + i * 6.8;
        QPen pen(QColor(40, 40, 48), 2.4, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        // Each ridge leaves a gap that wanders around the centre.
        const int gapAt = (i * 67) % 360;
        const int span = 360 - 28 - (i % 3) * 10;
        p.drawArc(QRectF(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), (gapAt + 20) * 16, span * 16);
    }
    return img;
}

// A strip that tiles across the top of a window.
QImage banner()
{
    QImage img = canvas(16, 64);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0.0, QColor(46, 86, 150));
    g.setColorAt(1.0, QColor(28, 56, 104));
    p.fillRect(img.rect(), g);
    p.fillRect(QRect(0, 62, 16, 2), QColor(250, 190, 60));
    return img;
}

// A quiet diagonal weave for promotion backgrounds.
QImage pattern()
{
    QImage img = canvas(48, 48, QColor(236, 241, 250));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(214, 224, 242), 6));
    for (int k = -48; k <= 96; k += 24)
        p.drawLine(k, 0, k + 48, 48);
    p.setPen(QPen(QColor(224, 232, 246), 2));
    for (int k = -48; k <= 96; k += 24)
        p.drawLine(k + 48, 0, k, 48);
    return img;
}

// The picture a new barcode item shows: a real Code 128 symbol of "0123".
QImage barcodeSample()
{
    BarcodeSettings settings;
    settings.barcodeType = QStringLiteral("Code 128");
    const BarcodeMakeResult r = Make_Barcode(settings, QStringLiteral("0123"), QString(), QString());
    if (!r.image.isNull()) {
        QImage img = r.image.toImage(72.0);
        if (!img.isNull())
            return img;
    }
    std::fprintf(stderr, "the barcode road gave no sample; drawing plain bars\n");
    QImage img = canvas(120, 60, Qt::white);
    QPainter p(&img);
    for (int x = 8; x < 112; x += 5)
        p.fillRect(QRect(x, 6, (x / 5) % 3 + 1, 44), Qt::black);
    return img;
}

// The card-side buttons: the front side chosen, the back side not.
QImage sideButton(bool front)
{
    QImage img = canvas(48, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(front ? QColor(30, 80, 160) : QColor(150, 154, 162), 2));
    p.setBrush(front ? QColor(200, 222, 250) : QColor(232, 234, 238));
    p.drawRoundedRect(QRectF(3, 3, 42, 26), 4, 4);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(front ? QColor(30, 80, 160) : QColor(120, 124, 132));
    p.drawText(QRectF(3, 3, 42, 26), Qt::AlignCenter, front ? QStringLiteral("F") : QStringLiteral("B"));
    return img;
}

// Hatch tiles: black lines on a clear 16 x 16 tile, laid over the hatch colour.
QImage hatch(const QString& kind)
{
    QImage img = canvas(16, 16);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 1));
    auto diag = [&p](bool up) {
        for (int k = -16; k <= 16; k += 8) {
            if (up)
                p.drawLine(QPointF(k, 16), QPointF(k + 16, 0));
            else
                p.drawLine(QPointF(k, 0), QPointF(k + 16, 16));
        }
    };
    if (kind == QLatin1String("Horizontal") || kind == QLatin1String("Cross")) {
        p.drawLine(0, 3, 15, 3);
        p.drawLine(0, 11, 15, 11);
    }
    if (kind == QLatin1String("Vertical") || kind == QLatin1String("Cross")) {
        p.drawLine(3, 0, 3, 15);
        p.drawLine(11, 0, 11, 15);
    }
    if (kind == QLatin1String("Diagonal_Up") || kind == QLatin1String("Diagonal_Cross"))
        diag(true);
    if (kind == QLatin1String("Diagonal_Down") || kind == QLatin1String("Diagonal_Cross"))
        diag(false);
    if (kind == QLatin1String("Dots")) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::black);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(4, 4), 1.6, 1.6);
        p.drawEllipse(QPointF(12, 12), 1.6, 1.6);
    }
    if (kind == QLatin1String("Checker")) {
        p.fillRect(QRect(0, 0, 8, 8), QColor(0, 0, 0, 90));
        p.fillRect(QRect(8, 8, 8, 8), QColor(0, 0, 0, 90));
    }
    if (kind == QLatin1String("Brick")) {
        p.drawLine(0, 0, 15, 0);
        p.drawLine(0, 8, 15, 8);
        p.drawLine(0, 0, 0, 8);
        p.drawLine(8, 8, 8, 15);
    }
    return img;
}

// The application icon: a label with bars and a folded corner.
QImage appIcon()
{
    QImage img = canvas(256, 256);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 20, 0, 236);
    g.setColorAt(0, QColor(70, 120, 200));
    g.setColorAt(1, QColor(36, 70, 140));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 36, 36);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(44, 60, 168, 136), 14, 14);
    const int widths[] = {4, 2, 6, 2, 2, 4, 6, 2, 4, 2, 6, 4, 2, 2, 4};
    int x = 64;
    bool bar = true;
    for (int w : widths) {
        if (bar)
            p.fillRect(QRectF(x, 80, w * 2.2, 76), QColor(20, 24, 32));
        x += int(w * 2.2) + 3;
        bar = !bar;
    }
    p.setBrush(QColor(250, 190, 60));
    p.drawEllipse(QPointF(188, 172), 10, 10);
    return img;
}

void writeList(const QString& name, const QStringList& strings)
{
    const QString path = QDir(g_out).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVariantList list;
    for (const QString& s : strings)
        list << s;
    QString error;
    if (!Plist_Write_File(path, list, PlistFormat::Xml, &error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(error));
        ++g_failures;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-resources <resources folder> [icon.png]\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);

    save(noPicture(), QStringLiteral("no.png"));
    save(signature(), QStringLiteral("sign_sample.png"));
    save(fingerprint(), QStringLiteral("fingerprints.png"));
    save(banner(), QStringLiteral("banner.png"));
    save(pattern(), QStringLiteral("pattern_1.jpg"), "JPG", 92);
    save(barcodeSample(), QStringLiteral("barcode_sample.png"));
    save(sideButton(false), QStringLiteral("back-2.png"));
    save(sideButton(true), QStringLiteral("front-sel.png"));
    for (const char* kind : {"Horizontal", "Vertical", "Cross", "Diagonal_Up", "Diagonal_Down", "Diagonal_Cross",
                             "Dots", "Checker", "Brick"})
        save(hatch(QString::fromLatin1(kind)), QStringLiteral("Fill_Style_Image/%1.png").arg(QString::fromLatin1(kind)));

    // The default custom label sheet: A4, 3 x 8 labels of 70 x 37 mm.
    writeList(QStringLiteral("CustomProductLabel/Custom1.zvp"),
              {"3", "8", "0.00", "0.50", "0.00", "0.00", "70.00", "37.00", "A4", "Portrait", "210.00 x 297.00",
               "210.00", "297.00", "", "A4 sheet, 3 x 8 labels of 70 x 37 mm"});
    // The default print profile: one label a page, centred, label outlines
    // shown. Its paper and orientation (positions 11 to 15) stay empty, so
    // the printer's paper is kept.
    writeList(QStringLiteral("PrintProfile/Default.zvp"),
              {"1", "1", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "5", "Y", "", "", "", "", "", "", "Y", "N",
               "N", "N", "N", "N"});

    if (argc >= 3) {
        const QString icon = QString::fromLocal8Bit(argv[2]);
        if (!appIcon().save(icon)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(icon));
            ++g_failures;
        }
    }
    return g_failures == 0 ? 0 : 1;
}
