#include "platform/DrawingRecord.h"

#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRawFont>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr QPaintEngine::Type Recording_Engine_Type = QPaintEngine::Type(QPaintEngine::User + 44);

// The painter's state a command is drawn with. `clip` indexes the clip
// chains of the record (-1: no clip of the drawing's own).
struct Draw_State {
    QPen pen;
    QBrush brush;
    QPointF brushOrigin;
    QFont font;
    QBrush background;
    Qt::BGMode backgroundMode = Qt::TransparentMode;
    qreal opacity = 1.0;
    QPainter::RenderHints hints;
    QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
    QTransform transform;
    int clip = -1;
};

enum class Kind : quint8 { Rects, Lines, Ellipse, Path, Points, Polygon, Pixmap, TiledPixmap, Image, Text, Glyphs };

struct Command {
    Kind kind;
    quint8 mode = 0;   // the polygon's drawing mode
    int state = 0;
    int first = 0;     // first rectangle, line, point or object of the command
    int count = 0;
    int flags = 0;     // image conversion flags
};

// A text kept as text: laid out again when played.
struct Kept_Text {
    QString text;
    QFont font;
};

// A glyph run kept as glyphs, from `first` in `glyphs` and `glyphPoints`.
struct Kept_Glyphs {
    QPointF origin;
    int font = 0;
    int first = 0;
    int count = 0;
    bool overline = false, underline = false, strikeOut = false, rightToLeft = false;
};

// The primary face of a font on the calling thread (a run in that face can
// be drawn again on any thread from the font alone).
QRawFont Primary_Face(const QFont& font)
{
    struct Entry {
        QFont font;
        QRawFont raw;
    };
    thread_local std::vector<Entry> faces;
    for (const Entry& e : faces)
        if (e.font == font)
            return e.raw;
    if (faces.size() >= 16)
        faces.erase(faces.begin());
    faces.push_back({font, QRawFont::fromFont(font)});
    return faces.back().raw;
}

// The ink of a glyph in its face (cached for the thread: a job draws the
// same few glyphs over and over).
QRectF Glyph_Box(const QRawFont& face, quint32 glyph)
{
    struct Entry {
        QRawFont face;
        QHash<quint32, QRectF> boxes;
    };
    thread_local std::vector<Entry> cache;
    Entry* entry = nullptr;
    for (Entry& e : cache)
        if (e.face == face) {
            entry = &e;
            break;
        }
    if (!entry) {
        if (cache.size() >= 8)
            cache.erase(cache.begin());
        cache.push_back({face, {}});
        entry = &cache.back();
    }
    auto it = entry->boxes.constFind(glyph);
    if (it != entry->boxes.constEnd())
        return *it;
    const QRectF box = face.boundingRect(glyph);
    entry->boxes.insert(glyph, box);
    return box;
}

} // namespace

struct Drawing_Record::Data {
    QSizeF size;
    std::vector<Draw_State> states;
    std::vector<Command> commands;
    std::vector<QRectF> rects;
    std::vector<QLineF> lines;
    std::vector<QPointF> points;
    std::vector<QPainterPath> paths;
    std::vector<QImage> images;
    std::vector<QPixmap> pixmaps;
    std::vector<Kept_Text> texts;
    std::vector<Kept_Glyphs> runs;
    std::vector<quint32> glyphs;
    std::vector<QPointF> glyphPoints;   // beside `glyphs`
    std::vector<QFont> fonts;
    // Clip chains: each drawn clipped to all the paths of its chain
    // (recording units).
    std::vector<std::vector<QPainterPath>> clips;
    QPainter::RenderHints initialHints;
    QRectF ink;             // what is drawn, recording units
    bool inkKnown = true;
    bool complete = true;

    void addInk(const QRectF& r)
    {
        if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !std::isfinite(r.width()) || !std::isfinite(r.height())) {
            inkKnown = false;
            return;
        }
        ink = ink.isNull() ? r : ink.united(r);
    }
};

namespace {

class Recording_Engine final : public QPaintEngine {
public:
    explicit Recording_Engine(Drawing_Record::Data& data) : QPaintEngine(AllFeatures), m(data) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return Recording_Engine_Type; }

    // The painter's state when recording begins.
    void start(const QPainter& p)
    {
        cur.pen = p.pen();
        cur.brush = p.brush();
        cur.brushOrigin = p.brushOrigin();
        cur.font = p.font();
        cur.background = p.background();
        cur.backgroundMode = p.backgroundMode();
        cur.opacity = p.opacity();
        cur.hints = p.renderHints();
        cur.composition = p.compositionMode();
        cur.transform = p.combinedTransform();
        m.initialHints = cur.hints;
        changed = true;
    }

    void updateState(const QPaintEngineState& s) override
    {
        const DirtyFlags f = s.state();
        const QTransform t = s.transform();
        if (t != cur.transform) {
            cur.transform = t;
            changed = true;
        }
        if (f & DirtyPen) {
            cur.pen = s.pen();
            changed = true;
        }
        if (f & DirtyBrush) {
            cur.brush = s.brush();
            changed = true;
        }
        if (f & DirtyBrushOrigin) {
            cur.brushOrigin = s.brushOrigin();
            changed = true;
        }
        if (f & DirtyFont) {
            cur.font = s.font();
            changed = true;
        }
        if (f & DirtyBackground) {
            cur.background = s.backgroundBrush();
            changed = true;
        }
        if (f & DirtyBackgroundMode) {
            cur.backgroundMode = s.backgroundMode();
            changed = true;
        }
        if (f & DirtyOpacity) {
            cur.opacity = s.opacity();
            changed = true;
        }
        if (f & DirtyHints) {
            cur.hints = s.renderHints();
            changed = true;
        }
        if (f & DirtyCompositionMode) {
            cur.composition = s.compositionMode();
            changed = true;
        }
        // Clips as the painter hands them to an engine: a path or region in
        // the coordinates of the state's transform with how it combines, then
        // whether clipping is on.
        bool clipChanged = false;
        if (f & (DirtyClipPath | DirtyClipRegion)) {
            QPainterPath path;
            if (f & DirtyClipPath)
                path = s.clipPath();
            else
                path.addRegion(s.clipRegion());
            switch (s.clipOperation()) {
            case Qt::NoClip:
                chain.clear();
                clipOn = false;
                break;
            case Qt::ReplaceClip:
                chain = {t.map(path)};
                clipOn = true;
                break;
            case Qt::IntersectClip:
                if (!clipOn)
                    chain.clear();
                chain.push_back(t.map(path));
                clipOn = true;
                break;
            }
            clipChanged = true;
        }
        if (f & DirtyClipEnabled) {
            clipOn = s.isClipEnabled();
            clipChanged = true;
        }
        if (clipChanged) {
            if (clipOn && !chain.empty()) {
                m.clips.push_back(chain);
                cur.clip = int(m.clips.size()) - 1;
            } else {
                cur.clip = -1;
            }
            changed = true;
        }
    }

    void drawRects(const QRect* rects, int n) override
    {
        std::vector<QRectF> r(rects, rects + n);
        drawRects(r.data(), n);
    }
    void drawRects(const QRectF* rects, int n) override
    {
        if (n <= 0)
            return;
        const int first = int(m.rects.size());
        m.rects.insert(m.rects.end(), rects, rects + n);
        QRectF box = rects[0].normalized();
        for (int i = 1; i < n; ++i)
            box = box.united(rects[i].normalized());
        add(Kind::Rects, first, n);
        geometryInk(box);
    }
    void drawLines(const QLine* lines, int n) override
    {
        std::vector<QLineF> l(lines, lines + n);
        drawLines(l.data(), n);
    }
    void drawLines(const QLineF* lines, int n) override
    {
        if (n <= 0)
            return;
        const int first = int(m.lines.size());
        m.lines.insert(m.lines.end(), lines, lines + n);
        QRectF box;
        for (int i = 0; i < n; ++i) {
            const QRectF b = QRectF(lines[i].p1(), lines[i].p2()).normalized();
            box = i == 0 ? b : box.united(b);
        }
        add(Kind::Lines, first, n);
        geometryInk(box, true);
    }
    void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }
    void drawEllipse(const QRectF& r) override
    {
        m.rects.push_back(r);
        add(Kind::Ellipse, int(m.rects.size()) - 1, 1);
        geometryInk(r.normalized());
    }
    void drawPath(const QPainterPath& path) override
    {
        m.paths.push_back(path);
        add(Kind::Path, int(m.paths.size()) - 1, 1);
        // A path is filled by the brush, outlined by the pen.
        geometryInk(path.controlPointRect(), cur.brush.style() == Qt::NoBrush);
    }
    void drawPoints(const QPoint* points, int n) override
    {
        std::vector<QPointF> p(points, points + n);
        drawPoints(p.data(), n);
    }
    void drawPoints(const QPointF* points, int n) override
    {
        if (n <= 0)
            return;
        const int first = int(m.points.size());
        m.points.insert(m.points.end(), points, points + n);
        add(Kind::Points, first, n);
        geometryInk(pointBox(points, n), true);
    }
    void drawPolygon(const QPoint* points, int n, PolygonDrawMode mode) override
    {
        std::vector<QPointF> p(points, points + n);
        drawPolygon(p.data(), n, mode);
    }
    void drawPolygon(const QPointF* points, int n, PolygonDrawMode mode) override
    {
        if (n <= 0)
            return;
        const int first = int(m.points.size());
        m.points.insert(m.points.end(), points, points + n);
        add(Kind::Polygon, first, n);
        m.commands.back().mode = quint8(mode);
        // A polyline is only outlined; a polygon is filled by the brush too.
        geometryInk(pointBox(points, n), mode == PolylineMode || cur.brush.style() == Qt::NoBrush);
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        m.pixmaps.push_back(pm);
        m.rects.push_back(r);
        m.rects.push_back(sr);
        add(Kind::Pixmap, int(m.pixmaps.size()) - 1, int(m.rects.size()) - 2);
        m.addInk(cur.transform.mapRect(r.normalized()));
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& s) override
    {
        m.pixmaps.push_back(pm);
        m.rects.push_back(r);
        m.points.push_back(s);
        add(Kind::TiledPixmap, int(m.pixmaps.size()) - 1, int(m.rects.size()) - 1);
        m.commands.back().flags = int(m.points.size()) - 1;
        m.addInk(cur.transform.mapRect(r.normalized()));
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags flags) override
    {
        m.images.push_back(image);
        m.rects.push_back(r);
        m.rects.push_back(sr);
        add(Kind::Image, int(m.images.size()) - 1, int(m.rects.size()) - 2);
        m.commands.back().flags = int(flags);
        m.addInk(cur.transform.mapRect(r.normalized()));
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        if (pendingRun) {
            keepGlyphs();
            return;
        }
        const QString text = item.text();
        if (text.isEmpty()) {
            // Glyphs without their characters cannot be drawn again here.
            m.complete = false;
            return;
        }
        m.texts.push_back({text, item.font()});
        m.points.push_back(p);
        add(Kind::Text, int(m.texts.size()) - 1, int(m.points.size()) - 1);
        m.inkKnown = false;
    }

    // The run Draw_Glyph_Run is about to draw through the painter.
    const QGlyphRun* pendingRun = nullptr;
    QPointF pendingOrigin;
    QRawFont pendingFace;
    const QFont* pendingFont = nullptr;

private:
    void add(Kind kind, int first, int count)
    {
        if (changed) {
            m.states.push_back(cur);
            changed = false;
        }
        m.commands.push_back({kind, 0, int(m.states.size()) - 1, first, count, 0});
    }

    static QRectF pointBox(const QPointF* points, int n)
    {
        double x0 = points[0].x(), x1 = x0, y0 = points[0].y(), y1 = y0;
        for (int i = 1; i < n; ++i) {
            x0 = std::min(x0, points[i].x());
            x1 = std::max(x1, points[i].x());
            y0 = std::min(y0, points[i].y());
            y1 = std::max(y1, points[i].y());
        }
        return QRectF(QPointF(x0, y0), QPointF(x1, y1));
    }

    // What a shape covers, its outline's pen included (joins that reach out
    // as far as the miter limit lets them).
    void geometryInk(const QRectF& box, bool stroked = false)
    {
        QRectF r = box;
        if (cur.pen.style() != Qt::NoPen) {
            double pad = cur.pen.widthF();
            if (cur.pen.isCosmetic() || pad <= 0.0) {
                // A cosmetic pen is as wide in the recording's units whatever
                // the transform.
                const double w = std::max(1.0, cur.pen.widthF()) * std::max(1.0, cur.pen.miterLimit());
                m.addInk(cur.transform.mapRect(r).adjusted(-w, -w, w, w));
                return;
            }
            if (cur.pen.joinStyle() == Qt::MiterJoin || cur.pen.joinStyle() == Qt::SvgMiterJoin)
                pad *= std::max(1.0, cur.pen.miterLimit());
            if (cur.pen.capStyle() == Qt::SquareCap)
                pad *= 1.5;
            r = r.adjusted(-pad, -pad, pad, pad);
        } else if (stroked) {
            // Lines, points and unfilled outlines drawn without a pen draw
            // nothing.
            return;
        }
        m.addInk(cur.transform.mapRect(r));
    }

    void keepGlyphs()
    {
        const QGlyphRun& run = *pendingRun;
        const QList<quint32> ids = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        const int n = int(std::min(ids.size(), at.size()));
        int font = -1;
        for (int i = int(m.fonts.size()) - 1; i >= 0 && font < 0; --i)
            if (m.fonts[size_t(i)] == *pendingFont)
                font = i;
        if (font < 0) {
            m.fonts.push_back(*pendingFont);
            font = int(m.fonts.size()) - 1;
        }
        Kept_Glyphs k;
        k.origin = pendingOrigin;
        k.font = font;
        k.first = int(m.glyphs.size());
        k.count = n;
        k.overline = run.overline();
        k.underline = run.underline();
        k.strikeOut = run.strikeOut();
        k.rightToLeft = run.isRightToLeft();
        QRectF box;
        for (int i = 0; i < n; ++i) {
            m.glyphs.push_back(ids[i]);
            m.glyphPoints.push_back(at[i]);
            const QRectF g = Glyph_Box(pendingFace, ids[i]).translated(pendingOrigin + at[i]);
            box = box.isNull() ? g : box.united(g);
        }
        m.runs.push_back(k);
        add(Kind::Glyphs, int(m.runs.size()) - 1, n);
        if (k.overline || k.underline || k.strikeOut)
            m.inkKnown = false;
        else if (!box.isNull())
            m.addInk(cur.transform.mapRect(box));
    }

    Drawing_Record::Data& m;
    Draw_State cur;
    bool changed = true;
    std::vector<QPainterPath> chain;
    bool clipOn = false;
};

class Recording_Device final : public QPaintDevice {
public:
    Recording_Device(QSizeF size, Drawing_Record::Data& data) : m_size(size), m_engine(data) {}
    ~Recording_Device() override = default;
    QPaintEngine* paintEngine() const override { return &m_engine; }
    Recording_Engine& engine() const { return m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return std::max(1, int(std::ceil(m_size.width())));
        case PdmHeight:
            return std::max(1, int(std::ceil(m_size.height())));
        case PdmWidthMM:
            return std::max(1, int(std::lround(m_size.width() * 25.4 / 72.0)));
        case PdmHeightMM:
            return std::max(1, int(std::lround(m_size.height() * 25.4 / 72.0)));
        case PdmNumColors:
            return std::numeric_limits<int>::max();
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    QSizeF m_size;
    mutable Recording_Engine m_engine;
};

} // namespace

Drawing_Record::Drawing_Record(QSizeF size, const std::function<void(QPainter&)>& paint) : d(new Data)
{
    d->size = size;
    Recording_Device device(size, *d);
    QPainter painter;
    if (!painter.begin(&device)) {
        d->complete = false;
        return;
    }
    device.engine().start(painter);
    if (paint)
        paint(painter);
    painter.end();
}

Drawing_Record::~Drawing_Record() = default;

bool Drawing_Record::complete() const
{
    return d->complete;
}

bool Drawing_Record::inside(const QRectF& area) const
{
    if (!d->inkKnown)
        return false;
    if (d->ink.isNull())
        return true;
    constexpr double slack = 1e-9;
    return d->ink.left() >= area.left() - slack && d->ink.top() >= area.top() - slack
        && d->ink.right() <= area.right() + slack && d->ink.bottom() <= area.bottom() + slack;
}

int Drawing_Record::commandCount() const
{
    return int(d->commands.size());
}


void Drawing_Record::replay(QPainter& painter, const QTransform& into) const
{
    const Data& m = *d;
    if (m.commands.empty())
        return;
    // The painter as it was: what the drawing does not set stays so, and
    // everything it set is put back afterwards.
    const QTransform w0 = painter.worldTransform();
    const QPen pen0 = painter.pen();
    const QBrush brush0 = painter.brush();
    const QPointF origin0 = painter.brushOrigin();
    const QFont font0 = painter.font();
    const QBrush background0 = painter.background();
    const Qt::BGMode mode0 = painter.backgroundMode();
    const qreal opacity0 = painter.opacity();
    const QPainter::RenderHints hints0 = painter.renderHints();
    const QPainter::CompositionMode composition0 = painter.compositionMode();

    QTransform transform = w0;
    QPen pen = pen0;
    QBrush brush = brush0;
    QPointF origin = origin0;
    QFont font = font0;
    QBrush background = background0;
    Qt::BGMode mode = mode0;
    qreal opacity = opacity0;
    QPainter::RenderHints hints = hints0;
    QPainter::CompositionMode composition = composition0;
    int clip = -1;
    // A drawing with clips of its own works within the painter's clip and
    // gives it back whole: the painter is saved before anything changes.
    const bool saved = !m.clips.empty();
    if (saved)
        painter.save();

    for (const Command& c : m.commands) {
        const Draw_State& s = m.states[size_t(c.state)];
        if (s.clip != clip) {
            // The painter's own clip, then the drawing's clip within it.
            painter.restore();
            painter.save();
            transform = w0;
            pen = pen0;
            brush = brush0;
            origin = origin0;
            font = font0;
            background = background0;
            mode = mode0;
            opacity = opacity0;
            hints = hints0;
            composition = composition0;
            clip = s.clip;
            if (clip >= 0) {
                transform = into * w0;
                painter.setWorldTransform(transform);
                for (const QPainterPath& path : m.clips[size_t(clip)])
                    painter.setClipPath(path, Qt::IntersectClip);
            }
        }
        // Each command in its own coordinates, as it was drawn: a label's
        // commands are then the same from cell to cell but for the transform,
        // which a PDF page compresses well.
        const QTransform want = s.transform * into * w0;
        if (want != transform) {
            painter.setWorldTransform(want);
            transform = want;
        }
        if (s.pen != pen) {
            painter.setPen(s.pen);
            pen = s.pen;
        }
        if (s.brush != brush) {
            painter.setBrush(s.brush);
            brush = s.brush;
        }
        if (s.brushOrigin != origin) {
            painter.setBrushOrigin(s.brushOrigin);
            origin = s.brushOrigin;
        }
        if (s.background != background) {
            painter.setBackground(s.background);
            background = s.background;
        }
        if (s.backgroundMode != mode) {
            painter.setBackgroundMode(s.backgroundMode);
            mode = s.backgroundMode;
        }
        const qreal o = opacity0 * s.opacity;
        if (o != opacity) {
            painter.setOpacity(o);
            opacity = o;
        }
        // Hints the drawing changed from where it began, over the painter's.
        const QPainter::RenderHints h = hints0 ^ (s.hints ^ m.initialHints);
        if (h != hints) {
            painter.setRenderHints(hints, false);
            painter.setRenderHints(h, true);
            hints = h;
        }
        const QPainter::CompositionMode cm =
            s.composition == QPainter::CompositionMode_SourceOver ? composition0 : s.composition;
        if (cm != composition) {
            painter.setCompositionMode(cm);
            composition = cm;
        }

        switch (c.kind) {
        case Kind::Rects:
            painter.drawRects(m.rects.data() + c.first, c.count);
            break;
        case Kind::Lines:
            painter.drawLines(m.lines.data() + c.first, c.count);
            break;
        case Kind::Ellipse:
            painter.drawEllipse(m.rects[size_t(c.first)]);
            break;
        case Kind::Path:
            painter.drawPath(m.paths[size_t(c.first)]);
            break;
        case Kind::Points:
            painter.drawPoints(m.points.data() + c.first, c.count);
            break;
        case Kind::Polygon: {
            const QPointF* p = m.points.data() + c.first;
            switch (QPaintEngine::PolygonDrawMode(c.mode)) {
            case QPaintEngine::PolylineMode:
                painter.drawPolyline(p, c.count);
                break;
            case QPaintEngine::ConvexMode:
                painter.drawConvexPolygon(p, c.count);
                break;
            case QPaintEngine::WindingMode:
                painter.drawPolygon(p, c.count, Qt::WindingFill);
                break;
            default:
                painter.drawPolygon(p, c.count, Qt::OddEvenFill);
                break;
            }
            break;
        }
        case Kind::Pixmap:
            painter.drawPixmap(m.rects[size_t(c.count)], m.pixmaps[size_t(c.first)], m.rects[size_t(c.count + 1)]);
            break;
        case Kind::TiledPixmap:
            painter.drawTiledPixmap(m.rects[size_t(c.count)], m.pixmaps[size_t(c.first)], m.points[size_t(c.flags)]);
            break;
        case Kind::Image:
            painter.drawImage(m.rects[size_t(c.count)], m.images[size_t(c.first)], m.rects[size_t(c.count + 1)],
                              Qt::ImageConversionFlags(c.flags));
            break;
        case Kind::Text: {
            const Kept_Text& t = m.texts[size_t(c.first)];
            if (t.font != font) {
                painter.setFont(t.font);
                font = t.font;
            }
            painter.drawText(m.points[size_t(c.count)], t.text);
            break;
        }
        case Kind::Glyphs: {
            const Kept_Glyphs& k = m.runs[size_t(c.first)];
            QGlyphRun run;
            // The face of the font on this thread: the same glyphs.
            run.setRawFont(Primary_Face(m.fonts[size_t(k.font)]));
            run.setGlyphIndexes(QList<quint32>(m.glyphs.begin() + k.first, m.glyphs.begin() + k.first + k.count));
            run.setPositions(
                QList<QPointF>(m.glyphPoints.begin() + k.first, m.glyphPoints.begin() + k.first + k.count));
            run.setOverline(k.overline);
            run.setUnderline(k.underline);
            run.setStrikeOut(k.strikeOut);
            run.setRightToLeft(k.rightToLeft);
            painter.drawGlyphRun(k.origin, run);
            break;
        }
        }
    }

    if (saved) {
        painter.restore();
        return;
    }
    if (transform != w0)
        painter.setWorldTransform(w0);
    if (pen != pen0)
        painter.setPen(pen0);
    if (brush != brush0)
        painter.setBrush(brush0);
    if (origin != origin0)
        painter.setBrushOrigin(origin0);
    if (font != font0)
        painter.setFont(font0);
    if (background != background0)
        painter.setBackground(background0);
    if (mode != mode0)
        painter.setBackgroundMode(mode0);
    if (opacity != opacity0)
        painter.setOpacity(opacity0);
    if (hints != hints0) {
        painter.setRenderHints(hints, false);
        painter.setRenderHints(hints0, true);
    }
    if (composition != composition0)
        painter.setCompositionMode(composition0);
}

void Draw_Glyph_Run(QPainter& painter, QPointF position, const QGlyphRun& run, const QFont& font)
{
    QPaintEngine* engine = painter.paintEngine();
    if (engine && engine->type() == Recording_Engine_Type) {
        auto* recording = static_cast<Recording_Engine*>(engine);
        // Glyphs of the font's own face are kept as glyphs; glyphs of a
        // fallback face are not (the record is then incomplete).
        const QRawFont face = Primary_Face(font);
        const bool plain = !run.overline() && !run.underline() && !run.strikeOut()
            && painter.combinedTransform().type() != QTransform::TxProject;
        if (plain && run.rawFont() == face) {
            recording->pendingRun = &run;
            recording->pendingOrigin = position;
            recording->pendingFace = face;
            recording->pendingFont = &font;
            painter.drawGlyphRun(position, run);
            recording->pendingRun = nullptr;
            recording->pendingFont = nullptr;
            return;
        }
    }
    painter.drawGlyphRun(position, run);
}
