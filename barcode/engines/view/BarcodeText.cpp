#include "barcode/engines/view/BarcodeText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace zbtext {

namespace {

// Reference pixel size at which texts are laid out before scaling.
constexpr double kRefPixels = 1000.0;

QFont Reference_Font(const QFont& font, double points, double kern)
{
    QFont ref(font);
    ref.setPixelSize(int(kRefPixels));
    ref.setHintingPreference(QFont::PreferNoHinting);
    ref.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::ForceOutline));
    if (kern != 0.0 && points > 0.0)
        ref.setLetterSpacing(QFont::AbsoluteSpacing, kern * kRefPixels / points);
    else
        ref.setLetterSpacing(QFont::AbsoluteSpacing, 0.0);
    return ref;
}

// Laid-out lines at the reference size, kept for the next use: previews are
// redrawn at every keystroke with the same header, footer and fonts.
struct LineLayout {
    double advance = 0.0;   // reference pixels
};
struct FontLayout {
    double ascent = 0.0;
    double height = 0.0;
    double capHeight = 0.0;
};

// Layouts of fonts and lines cached for the process: each is a pure function
// of its key, so every road and thread may share them (guarded).
std::mutex cacheMutex;
QHash<QString, FontLayout> fontCache;
QHash<QString, LineLayout> lineCache;
constexpr qsizetype kMaxCachedLines = 4096;

QString Font_Key(const QFont& font, double points, double kern)
{
    return font.key() + QLatin1Char('|') + QString::number(points, 'g', 10) + QLatin1Char('|')
        + QString::number(kern, 'g', 10);
}

FontLayout Font_Layout(const QFont& font, double points, double kern, const QString& key)
{
    {
        std::lock_guard<std::mutex> lock(cacheMutex);
        auto it = fontCache.constFind(key);
        if (it != fontCache.constEnd())
            return *it;
    }
    QFontMetricsF fm(Reference_Font(font, points, kern));
    FontLayout f{fm.ascent(), fm.height(), fm.capHeight()};
    std::lock_guard<std::mutex> lock(cacheMutex);
    if (fontCache.size() > 256)
        fontCache.clear();
    fontCache.insert(key, f);
    return f;
}

LineLayout Line_Layout(const QFont& font, double points, double kern, const QString& key,
                       const QString& line)
{
    const QString lineKey = key + QLatin1Char('|') + line;
    {
        std::lock_guard<std::mutex> lock(cacheMutex);
        auto it = lineCache.constFind(lineKey);
        if (it != lineCache.constEnd())
            return *it;
    }
    LineLayout l;
    l.advance = QFontMetricsF(Reference_Font(font, points, kern)).horizontalAdvance(line);
    std::lock_guard<std::mutex> lock(cacheMutex);
    if (lineCache.size() > kMaxCachedLines)
        lineCache.clear();
    lineCache.insert(lineKey, l);
    return l;
}

QStringList Lines_Of(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

} // namespace

double Font_Points(const QFont& font)
{
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return 12.0;
}

double Cap_Height(const QFont& font)
{
    const double pts = Font_Points(font);
    return Font_Layout(font, pts, 0.0, Font_Key(font, pts, 0.0)).capHeight * pts / kRefPixels;
}

double Text_Height_Inches(const QFont& font)
{
    const double c = Cap_Height(font);
    return c / 72.0 + 0.35 * (c / 72.0);
}

QSizeF Text_Size(const QString& text, const QFont& font, double kern)
{
    if (text.isEmpty())
        return {0.0, 0.0};
    const double pts = Font_Points(font);
    const double scale = pts / kRefPixels;
    const QString key = Font_Key(font, pts, kern);
    const FontLayout f = Font_Layout(font, pts, kern, key);
    const QStringList lines = Lines_Of(text);
    double w = 0.0;
    for (const QString& line : lines)
        w = std::max(w, Line_Layout(font, pts, kern, key, line).advance);
    return {w * scale, f.height * scale * lines.size()};
}

double Text_Width(const QString& text, const QFont& font)
{
    if (text.isEmpty())
        return 0.0;
    const double pts = Font_Points(font);
    const QString key = Font_Key(font, pts, 0.0);
    return Line_Layout(font, pts, 0.0, key, Lines_Of(text).constFirst()).advance * pts / kRefPixels;
}

Align Align_From_Name(const QString& name, Align fallback)
{
    if (name == QLatin1String("Center"))
        return Align::Center;
    if (name == QLatin1String("Left"))
        return Align::Left;
    if (name == QLatin1String("Right"))
        return Align::Right;
    return fallback;
}

void Draw_Text(QPainter& painter, const QString& text, const QFont& font, const QColor& color,
               double kern, Align align, QPointF topLeft, double boxWidth)
{
    if (text.isEmpty())
        return;
    const double pts = Font_Points(font);
    const double scale = pts / kRefPixels;
    const FontLayout f = Font_Layout(font, pts, kern, Font_Key(font, pts, kern));
    const QFont ref = Reference_Font(font, pts, kern);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);

    painter.save();
    painter.setPen(color);
    double y = topLeft.y() + f.ascent * scale;   // baseline of the line
    for (const QString& line : Lines_Of(text)) {
        if (line.isEmpty()) {
            y += f.height * scale;
            continue;
        }
        // The glyphs as the measurement lays them out, at the reference size
        // scaled down to the font's: the same on every device, whatever its
        // resolution.
        QTextLayout layout(line, ref);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine tl = layout.createLine();
        if (tl.isValid())
            tl.setLineWidth(1.0e6);
        layout.endLayout();
        if (tl.isValid()) {
            // The spacing after the last character is not part of the ink.
            const double w = tl.horizontalAdvance() * scale - kern;
            double x = topLeft.x();
            if (align == Align::Center)
                x += (boxWidth - w) / 2.0;
            else if (align == Align::Right)
                x += boxWidth - w;
            painter.save();
            painter.translate(x, y - tl.ascent() * scale);
            painter.scale(scale, scale);
            for (const QGlyphRun& run : layout.glyphRuns())
                painter.drawGlyphRun(QPointF(0, 0), run);
            painter.restore();
        }
        y += f.height * scale;
    }
    painter.restore();
}

} // namespace zbtext
