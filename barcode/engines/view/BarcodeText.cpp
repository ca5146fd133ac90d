#include "barcode/engines/view/BarcodeText.h"

#include "platform/DrawingRecord.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

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
struct Layout_Cache {
    std::mutex lock;
    QHash<QString, FontLayout> fonts;
    QHash<QString, LineLayout> lines;
};
Layout_Cache layouts;
constexpr qsizetype kMaxCachedLines = 4096;

QString Font_Key(const QFont& font, double points, double kern)
{
    // The last keys made on this thread: a job draws every label's texts in
    // the same few fonts, and spelling a font out costs more than its text.
    struct Made {
        QFont font;
        double points;
        double kern;
        QString key;
    };
    thread_local std::vector<Made> made;
    for (const Made& m : made)
        if (m.points == points && m.kern == kern && m.font == font)
            return m.key;
    QString key = font.key() + QLatin1Char('|') + QString::number(points, 'g', 10) + QLatin1Char('|')
        + QString::number(kern, 'g', 10);
    if (made.size() >= 8)
        made.erase(made.begin());
    made.push_back({font, points, kern, key});
    return key;
}

FontLayout Font_Layout(const QFont& font, double points, double kern, const QString& key)
{
    {
        std::lock_guard<std::mutex> lock(layouts.lock);
        auto it = layouts.fonts.constFind(key);
        if (it != layouts.fonts.constEnd())
            return *it;
    }
    QFontMetricsF fm(Reference_Font(font, points, kern));
    FontLayout f{fm.ascent(), fm.height(), fm.capHeight()};
    std::lock_guard<std::mutex> lock(layouts.lock);
    if (layouts.fonts.size() > 256)
        layouts.fonts.clear();
    layouts.fonts.insert(key, f);
    return f;
}

// A line laid out without extra spacing, at the reference size: its advance
// and ascent, and its glyphs with where they go when they are one run of one
// glyph a character of the Latin-1 letters and signs. Spacing between the
// characters adds the same to each glyph's advance and leaves the glyphs as
// they are (a line of ligatures is not such a line), so a spaced line of
// those is this one with its glyphs moved along: one layout serves the
// line's measure and its drawing.
struct Plain_Line {
    QString key;
    double advance = 0.0;
    double ascent = 0.0;
    bool plainGlyphs = false;
    QRawFont face;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

bool Latin1_Letters(const QString& line)
{
    for (QChar c : line) {
        const char16_t u = c.unicode();
        if (!((u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF)))
            return false;
    }
    return true;
}

// The line laid out plain, kept on the thread for the next few asks: a label
// measures its texts and then draws them.
Plain_Line Plain_Layout(const QFont& font, double points, const QString& plainKey, const QString& line)
{
    thread_local std::vector<Plain_Line> recent;
    thread_local size_t next = 0;
    const QString lineKey = plainKey + QLatin1Char('|') + line;
    for (const Plain_Line& p : recent)
        if (p.key == lineKey)
            return p;
    QTextLayout layout(line, Reference_Font(font, points, 0.0));
    layout.setCacheEnabled(true);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine tl = layout.createLine();
    if (tl.isValid())
        tl.setLineWidth(1.0e6);
    layout.endLayout();
    Plain_Line p;
    p.key = lineKey;
    if (tl.isValid()) {
        p.advance = tl.horizontalAdvance();
        p.ascent = tl.ascent();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.size() == 1 && !runs[0].isRightToLeft() && Latin1_Letters(line)) {
            p.glyphs = runs[0].glyphIndexes();
            p.positions = runs[0].positions();
            p.face = runs[0].rawFont();
            p.plainGlyphs = p.glyphs.size() == line.size() && p.positions.size() == line.size();
        }
    }
    constexpr size_t kept = 16;
    if (recent.size() < kept) {
        recent.push_back(p);
    } else {
        recent[next] = p;
        next = (next + 1) % kept;
    }
    return p;
}

LineLayout Line_Layout(const QFont& font, double points, double kern, const QString& key,
                       const QString& line)
{
    const QString lineKey = key + QLatin1Char('|') + line;
    {
        std::lock_guard<std::mutex> lock(layouts.lock);
        auto it = layouts.lines.constFind(lineKey);
        if (it != layouts.lines.constEnd())
            return *it;
    }
    LineLayout l;
    // (A plain line is laid out as its drawing lays it out, and kept for it.)
    l.advance = kern == 0.0 ? Plain_Layout(font, points, key, line).advance
                            : QFontMetricsF(Reference_Font(font, points, kern)).horizontalAdvance(line);
    std::lock_guard<std::mutex> lock(layouts.lock);
    if (layouts.lines.size() > kMaxCachedLines)
        layouts.lines.clear();
    layouts.lines.insert(lineKey, l);
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

double Text_Height(const QString& text, const QFont& font)
{
    if (text.isEmpty())
        return 0.0;
    const double pts = Font_Points(font);
    const FontLayout f = Font_Layout(font, pts, 0.0, Font_Key(font, pts, 0.0));
    return f.height * (pts / kRefPixels) * double(Lines_Of(text).size());
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
    const QFont plainRef = Reference_Font(font, pts, 0.0);
    const QString plainKey = Font_Key(font, pts, 0.0);
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
        const Plain_Line plain = Plain_Layout(font, pts, plainKey, line);
        if (plain.plainGlyphs) {
            // The spaced line is the plain one with each glyph moved along by
            // the spacing (as the font holds it, in 64ths of a pixel).
            const double spacing = kern != 0.0 && pts > 0.0 ? double(int(kern * kRefPixels / pts * 64.0)) / 64.0 : 0.0;
            QList<QPointF> at = plain.positions;
            for (qsizetype i = 1; i < at.size(); ++i)
                at[i].rx() += double(i) * spacing;
            const double advance = plain.advance + double(at.size()) * spacing;
            const double w = advance * scale - kern;
            double x = topLeft.x();
            if (align == Align::Center)
                x += (boxWidth - w) / 2.0;
            else if (align == Align::Right)
                x += boxWidth - w;
            QGlyphRun run;
            run.setRawFont(plain.face);
            run.setGlyphIndexes(plain.glyphs);
            run.setPositions(at);
            painter.save();
            painter.translate(x, y - plain.ascent * scale);
            painter.scale(scale, scale);
            Draw_Glyph_Run(painter, QPointF(0, 0), run, plainRef);
            painter.restore();
            y += f.height * scale;
            continue;
        }
        QTextLayout layout(line, ref);
        // The glyphs are kept from the layout to the runs (otherwise the line
        // is laid out once more for them).
        layout.setCacheEnabled(true);
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
                Draw_Glyph_Run(painter, QPointF(0, 0), run, ref);
            painter.restore();
        }
        y += f.height * scale;
    }
    painter.restore();
}

} // namespace zbtext
