#include "platform/EpsWriter.h"

#include "platform/ImageWriter.h"
#include "platform/PtImage.h"

#include <QGradient>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

cairo_status_t appendToBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data), int(length));
    return CAIRO_STATUS_SUCCESS;
}

cairo_matrix_t toCairo(const QTransform& t)
{
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
    return m;
}

bool invertible(const QTransform& t)
{
    return std::abs(t.determinant()) > 1e-12 && std::isfinite(t.determinant());
}

void appendPath(cairo_t* cr, const QPainterPath& path)
{
    cairo_new_path(cr);
    const int n = path.elementCount();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            cairo_move_to(cr, e.x, e.y);
            break;
        case QPainterPath::LineToElement:
            cairo_line_to(cr, e.x, e.y);
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < n) {
                const QPainterPath::Element c2 = path.elementAt(i + 1);
                const QPainterPath::Element end = path.elementAt(i + 2);
                cairo_curve_to(cr, e.x, e.y, c2.x, c2.y, end.x, end.y);
                i += 2;
            }
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
}

// A cairo image surface holding a copy of the pixels (cairo may keep its
// sources until the page is emitted, so it must own them).
cairo_surface_t* surfaceOf(const QImage& source)
{
    const QImage img = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width(), img.height());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
        return s;
    cairo_surface_flush(s);
    unsigned char* dst = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const size_t row = size_t(img.width()) * 4;
    for (int y = 0; y < img.height(); ++y)
        std::memcpy(dst + size_t(y) * size_t(stride), img.constScanLine(y), row);
    cairo_surface_mark_dirty(s);
    return s;
}

// Bounding box lines of the header and page set-up say the device's size,
// not the extent of what was drawn.
QByteArray fixBoundingBox(const QByteArray& eps, QSizeF size)
{
    const qsizetype end = eps.indexOf("%%EndPageSetup");
    const qsizetype limit = end < 0 ? std::min<qsizetype>(eps.size(), 4096) : end;
    const QByteArray box = "0 0 " + QByteArray::number(int(std::ceil(size.width() - 1e-9))) + ' '
        + QByteArray::number(int(std::ceil(size.height() - 1e-9)));
    const QByteArray hires = "0 0 " + QByteArray::number(size.width(), 'f', 6) + ' '
        + QByteArray::number(size.height(), 'f', 6);
    QByteArray head = eps.left(limit);
    const QByteArray tail = eps.mid(limit);
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines) {
        if (line.startsWith("%%BoundingBox:"))
            line = "%%BoundingBox: " + box;
        else if (line.startsWith("%%HiResBoundingBox:"))
            line = "%%HiResBoundingBox: " + hires;
        else if (line.startsWith("%%PageBoundingBox:"))
            line = "%%PageBoundingBox: " + box;
    }
    return lines.join('\n') + tail;
}

} // namespace

class CairoPaintEngine : public QPaintEngine {
public:
    CairoPaintEngine(QSizeF size, VectorDevice::Format format, const QString& title)
        : QPaintEngine(PrimitiveTransform | PatternTransform | PixmapTransform | PatternBrush
                       | LinearGradientFill | RadialGradientFill | ConicalGradientFill | AlphaBlend
                       | PorterDuff | PainterPaths | Antialiasing | BrushStroke | ConstantOpacity
                       | MaskedBrush | ObjectBoundingModeGradients
                       ),
          m_size(size), m_format(format), m_title(title)
    {
    }
    ~CairoPaintEngine() override { release(); }

    bool begin(QPaintDevice*) override
    {
        release();
        m_data.clear();
        m_result.clear();
        m_error.clear();
        if (m_format == VectorDevice::Format::Pdf) {
            // A page of the exact size: cairo keeps fractions of a point.
            m_surface = cairo_pdf_surface_create_for_stream(appendToBytes, &m_data, m_size.width(), m_size.height());
            cairo_pdf_surface_set_metadata(m_surface, CAIRO_PDF_METADATA_CREATOR, "Zorv Label");
            if (!m_title.isEmpty())
                cairo_pdf_surface_set_metadata(m_surface, CAIRO_PDF_METADATA_TITLE, m_title.toUtf8().constData());
        } else {
            m_surface = cairo_ps_surface_create_for_stream(appendToBytes, &m_data, m_size.width(), m_size.height());
            cairo_ps_surface_set_eps(m_surface, 1);
            cairo_ps_surface_dsc_comment(m_surface, "%%Creator: Zorv Label");
        }
        m_cr = cairo_create(m_surface);
        if (cairo_status(m_cr) != CAIRO_STATUS_SUCCESS) {
            m_error = QString::fromUtf8(cairo_status_to_string(cairo_status(m_cr)));
            release();
            return false;
        }
        m_pen = QPen();
        m_brush = QBrush();
        m_transform = QTransform();
        m_opacity = 1.0;
        m_clipOn = false;
        setActive(true);
        return true;
    }

    bool end() override
    {
        if (!m_cr)
            return false;
        cairo_show_page(m_cr);
        const cairo_status_t st = cairo_status(m_cr);
        cairo_destroy(m_cr);
        m_cr = nullptr;
        cairo_surface_finish(m_surface);
        const cairo_status_t sst = cairo_surface_status(m_surface);
        cairo_surface_destroy(m_surface);
        m_surface = nullptr;
        setActive(false);
        if (st != CAIRO_STATUS_SUCCESS || sst != CAIRO_STATUS_SUCCESS) {
            m_error = QString::fromUtf8(cairo_status_to_string(st != CAIRO_STATUS_SUCCESS ? st : sst));
            return false;
        }
        m_result = m_format == VectorDevice::Format::Eps ? fixBoundingBox(m_data, m_size) : m_data;
        m_data.clear();
        return true;
    }

    void updateState(const QPaintEngineState& state) override
    {
        const DirtyFlags f = state.state();
        if (f & DirtyPen)
            m_pen = state.pen();
        if (f & DirtyBrush)
            m_brush = state.brush();
        if (f & DirtyBrushOrigin)
            m_brushOrigin = state.brushOrigin();
        if (f & DirtyTransform)
            m_transform = state.transform();
        if (f & DirtyOpacity)
            m_opacity = state.opacity();
        if (f & DirtyHints)
            m_hints = state.renderHints();
        if (f & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled | DirtyTransform)) {
            QPainter* p = painter();
            m_clipOn = p && p->hasClipping();
            if (m_clipOn)
                m_clip = p->combinedTransform().map(p->clipPath());
        }
    }

    void drawPath(const QPainterPath& path) override
    {
        if (!m_cr || path.isEmpty())
            return;
        cairo_save(m_cr);
        applyClip();
        if (m_brush.style() != Qt::NoBrush) {
            setMatrix(m_transform);
            appendPath(m_cr, path);
            cairo_set_fill_rule(m_cr, path.fillRule() == Qt::WindingFill ? CAIRO_FILL_RULE_WINDING
                                                                           : CAIRO_FILL_RULE_EVEN_ODD);
            if (setSource(m_brush, path.boundingRect()))
                cairo_fill(m_cr);
        }
        if (m_pen.style() != Qt::NoPen && m_pen.brush().style() != Qt::NoBrush)
            stroke(path);
        cairo_restore(m_cr);
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (count < 2)
            return;
        QPainterPath path;
        path.moveTo(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        if (mode == PolylineMode) {
            const QBrush keep = m_brush;
            m_brush = Qt::NoBrush;
            drawPath(path);
            m_brush = keep;
            return;
        }
        path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        drawPath(path);
    }

    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        QList<QPointF> f;
        f.reserve(count);
        for (int i = 0; i < count; ++i)
            f << QPointF(points[i]);
        drawPolygon(f.constData(), count, mode);
    }

    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawTiledPixmap(const QRectF& r, const QPixmap& pixmap, const QPointF& s) override
    {
        if (!m_cr || pixmap.isNull())
            return;
        cairo_save(m_cr);
        applyClip();
        setMatrix(m_transform);
        cairo_surface_t* surf = surfaceOf(pixmap.toImage());
        cairo_pattern_t* pat = cairo_pattern_create_for_surface(surf);
        cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
        cairo_matrix_t m;
        cairo_matrix_init_translate(&m, s.x() - r.x(), s.y() - r.y());
        cairo_pattern_set_matrix(pat, &m);
        cairo_set_source(m_cr, pat);
        cairo_rectangle(m_cr, r.x(), r.y(), r.width(), r.height());
        cairo_clip(m_cr);
        cairo_paint_with_alpha(m_cr, m_opacity);
        cairo_pattern_destroy(pat);
        cairo_surface_destroy(surf);
        cairo_restore(m_cr);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        if (!m_cr || image.isNull() || sr.isEmpty() || r.isEmpty())
            return;
        cairo_save(m_cr);
        applyClip();
        setMatrix(m_transform);
        cairo_rectangle(m_cr, r.x(), r.y(), r.width(), r.height());
        cairo_clip(m_cr);
        cairo_translate(m_cr, r.x(), r.y());
        cairo_scale(m_cr, r.width() / sr.width(), r.height() / sr.height());
        cairo_translate(m_cr, -sr.x(), -sr.y());
        cairo_surface_t* surf = surfaceOf(image);
        cairo_set_source_surface(m_cr, surf, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(m_cr),
                                 (m_hints & QPainter::SmoothPixmapTransform) ? CAIRO_FILTER_GOOD
                                                                             : CAIRO_FILTER_NEAREST);
        cairo_paint_with_alpha(m_cr, m_opacity);
        cairo_surface_destroy(surf);
        cairo_restore(m_cr);
    }

    Type type() const override { return User; }

    QByteArray result() const { return m_result; }
    QString error() const { return m_error; }

private:
    void release()
    {
        if (m_cr) cairo_destroy(m_cr);
        if (m_surface) cairo_surface_destroy(m_surface);
        m_cr = nullptr;
        m_surface = nullptr;
    }

    void setMatrix(const QTransform& t)
    {
        cairo_matrix_t m = toCairo(invertible(t) ? t : QTransform());
        cairo_set_matrix(m_cr, &m);
    }

    void applyClip()
    {
        if (!m_clipOn)
            return;
        cairo_identity_matrix(m_cr);
        appendPath(m_cr, m_clip);
        cairo_set_fill_rule(m_cr, m_clip.fillRule() == Qt::WindingFill ? CAIRO_FILL_RULE_WINDING
                                                                        : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(m_cr);
    }

    // Sets the cairo source from a brush; false when nothing is to be drawn.
    bool setSource(const QBrush& brush, const QRectF& bounds)
    {
        const Qt::BrushStyle style = brush.style();
        if (style == Qt::NoBrush)
            return false;
        if (style == Qt::LinearGradientPattern || style == Qt::RadialGradientPattern
            || style == Qt::ConicalGradientPattern) {
            const QGradient* g = brush.gradient();
            cairo_pattern_t* pat = nullptr;
            if (g->type() == QGradient::LinearGradient) {
                const auto* lg = static_cast<const QLinearGradient*>(g);
                pat = cairo_pattern_create_linear(lg->start().x(), lg->start().y(), lg->finalStop().x(),
                                                  lg->finalStop().y());
            } else if (g->type() == QGradient::RadialGradient) {
                const auto* rg = static_cast<const QRadialGradient*>(g);
                pat = cairo_pattern_create_radial(rg->focalPoint().x(), rg->focalPoint().y(), rg->focalRadius(),
                                                  rg->center().x(), rg->center().y(), rg->radius());
            } else {
                // A conical gradient has no PostScript form: its first colour.
                const QGradientStops stops = g->stops();
                const QColor c = stops.isEmpty() ? QColor(Qt::black) : stops.first().second;
                cairo_set_source_rgba(m_cr, c.redF(), c.greenF(), c.blueF(), c.alphaF() * m_opacity);
                return true;
            }
            for (const QGradientStop& s : g->stops())
                cairo_pattern_add_color_stop_rgba(pat, s.first, s.second.redF(), s.second.greenF(),
                                                  s.second.blueF(), s.second.alphaF() * m_opacity);
            cairo_pattern_set_extend(pat, g->spread() == QGradient::RepeatSpread ? CAIRO_EXTEND_REPEAT
                                          : g->spread() == QGradient::ReflectSpread ? CAIRO_EXTEND_REFLECT
                                                                                    : CAIRO_EXTEND_PAD);
            QTransform space = brush.transform();
            if (g->coordinateMode() == QGradient::ObjectBoundingMode
                || g->coordinateMode() == QGradient::ObjectMode)
                space = space * QTransform(bounds.width(), 0, 0, bounds.height(), bounds.x(), bounds.y());
            if (invertible(space)) {
                cairo_matrix_t m = toCairo(space.inverted());
                cairo_pattern_set_matrix(pat, &m);
            }
            cairo_set_source(m_cr, pat);
            cairo_pattern_destroy(pat);
            return true;
        }
        if (style == Qt::TexturePattern) {
            const QImage tex = brush.textureImage();
            if (tex.isNull())
                return false;
            cairo_surface_t* surf = surfaceOf(tex);
            cairo_pattern_t* pat = cairo_pattern_create_for_surface(surf);
            cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
            const QTransform space = brush.transform() * QTransform::fromTranslate(m_brushOrigin.x(), m_brushOrigin.y());
            if (invertible(space)) {
                cairo_matrix_t m = toCairo(space.inverted());
                cairo_pattern_set_matrix(pat, &m);
            }
            cairo_set_source(m_cr, pat);
            cairo_pattern_destroy(pat);
            cairo_surface_destroy(surf);
            return true;
        }
        // Solid colours; the hatch and dot patterns are drawn in their colour.
        const QColor c = brush.color();
        cairo_set_source_rgba(m_cr, c.redF(), c.greenF(), c.blueF(), c.alphaF() * m_opacity);
        return true;
    }

    void stroke(const QPainterPath& path)
    {
        const bool cosmetic = m_pen.isCosmetic();
        setMatrix(m_transform);
        appendPath(m_cr, path);
        double width = m_pen.widthF();
        if (width <= 0.0)
            width = 1.0;  // a cosmetic hairline: one device unit (a point)
        if (cosmetic)
            cairo_identity_matrix(m_cr);
        cairo_set_line_width(m_cr, width);
        switch (m_pen.capStyle()) {
        case Qt::FlatCap: cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_BUTT); break;
        case Qt::RoundCap: cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_ROUND); break;
        default: cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_SQUARE); break;
        }
        switch (m_pen.joinStyle()) {
        case Qt::RoundJoin: cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND); break;
        case Qt::BevelJoin: cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_BEVEL); break;
        default:
            cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_MITER);
            cairo_set_miter_limit(m_cr, std::max(1.0, m_pen.miterLimit()));
            break;
        }
        if (m_pen.style() != Qt::SolidLine) {
            const QList<qreal> pattern = m_pen.dashPattern();
            std::vector<double> dashes;
            for (qreal d : pattern)
                dashes.push_back(std::max(0.0, double(d)) * width);
            const bool any = std::any_of(dashes.begin(), dashes.end(), [](double d) { return d > 0.0; });
            if (!dashes.empty() && any)
                cairo_set_dash(m_cr, dashes.data(), int(dashes.size()), m_pen.dashOffset() * width);
        } else {
            cairo_set_dash(m_cr, nullptr, 0, 0);
        }
        if (setSource(m_pen.brush(), path.boundingRect()))
            cairo_stroke(m_cr);
        else
            cairo_new_path(m_cr);
    }

    QSizeF m_size;
    VectorDevice::Format m_format;
    QString m_title;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
    QByteArray m_data;
    QByteArray m_result;
    QString m_error;
    QPen m_pen;
    QBrush m_brush;
    QPointF m_brushOrigin;
    QTransform m_transform;
    qreal m_opacity = 1.0;
    QPainter::RenderHints m_hints;
    bool m_clipOn = false;
    QPainterPath m_clip;
};

VectorDevice::VectorDevice(QSizeF points, Format format, const QString& title)
    : m_size(points), m_engine(std::make_unique<CairoPaintEngine>(points, format, title))
{
}

VectorDevice::~VectorDevice() = default;

QPaintEngine* VectorDevice::paintEngine() const
{
    return m_engine.get();
}

QByteArray VectorDevice::data() const
{
    return m_engine->result();
}

QString VectorDevice::errorString() const
{
    return m_engine->error();
}

int VectorDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return int(std::ceil(m_size.width()));
    case PdmHeight: return int(std::ceil(m_size.height()));
    case PdmWidthMM: return int(std::lround(m_size.width() * 25.4 / 72.0));
    case PdmHeightMM: return int(std::lround(m_size.height() * 25.4 / 72.0));
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 72;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return 0;
    }
}

QByteArray Eps_Data_Of_Image(const PtImage& image, QString* error)
{
    if (image.isNull() || !(image.size().width() > 0) || !(image.size().height() > 0)) {
        if (error) *error = QStringLiteral("empty image");
        return {};
    }
    EpsDevice device(image.size());
    QPainter p;
    if (!p.begin(&device)) {
        if (error) *error = device.errorString();
        return {};
    }
    image.draw(p, QRectF(QPointF(0, 0), image.size()));
    p.end();
    const QByteArray data = device.data();
    if (data.isEmpty() && error)
        *error = device.errorString().isEmpty() ? QStringLiteral("EPS data could not be made") : device.errorString();
    return data;
}

bool Write_Eps_File(const QString& path, const PtImage& image, QString* error)
{
    const QByteArray data = Eps_Data_Of_Image(image, error);
    return !data.isEmpty() && Write_File_Atomically(path, data, error);
}

QByteArray Pdf_Page_Of_Drawing(QSizeF points, const std::function<void(QPainter&)>& draw, const QString& title,
                               QString* error)
{
    if (!(points.width() > 0) || !(points.height() > 0) || !std::isfinite(points.width())
        || !std::isfinite(points.height())) {
        if (error) *error = QStringLiteral("empty page");
        return {};
    }
    PdfDevice device(points, title);
    QPainter p;
    if (!p.begin(&device)) {
        if (error) *error = device.errorString();
        return {};
    }
    draw(p);
    p.end();
    const QByteArray data = device.data();
    if (data.isEmpty() && error)
        *error = device.errorString().isEmpty() ? QStringLiteral("PDF data could not be made") : device.errorString();
    return data;
}
