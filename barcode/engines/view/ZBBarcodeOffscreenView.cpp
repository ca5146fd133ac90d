#include "barcode/engines/view/ZBBarcodeOffscreenView.h"

#include "barcode/engines/view/BarcodeText.h"
#include "platform/EpsWriter.h"

#include <QPainter>
#include <QPicture>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

// Letter spacing of the kerned texts, in points after every character.
constexpr double kTextKern = 2.0;

// The spacing that keeps a kerned text inside `boxWidth`: at most `kern`, and
// never below none. The widths of the frame are measured without spacing, so
// a header as wide as the frame is drawn unspaced rather than cut off.
double Fitting_Kern(const QString& text, const QFont& font, double kern, double boxWidth)
{
    if (text.isEmpty() || kern <= 0.0)
        return kern;
    const double plain = zbtext::Text_Size(text, font, 0.0).width();
    const qsizetype n = text.size();
    const double room = (boxWidth - plain) / double(n);
    return std::clamp(room, 0.0, kern);
}

} // namespace

ZBBarcodeOffscreenView::ZBBarcodeOffscreenView(const LinearSymbol& symbol,
                                               const BarcodeSettings& settings)
    : m_symbol(symbol), m_settings(settings), m_fromImage(false)
{
    const double hw = symbol.printsHeader ? symbol.headerWidth : 0.0;
    const double fw = symbol.printsFooter ? symbol.footerWidth : 0.0;
    m_bounds = QRectF(0.0, 0.0, std::max({hw, fw, symbol.width}), symbol.height);
}

ZBBarcodeOffscreenView::ZBBarcodeOffscreenView(const PtImage& image_2d,
                                               const BarcodeSettings& settings)
    : m_image2d(image_2d), m_settings(settings), m_fromImage(true)
{
    m_bounds = QRectF(0.0, 0.0, settings.width, settings.height);
}

ZBBarcodeOffscreenView ZBBarcodeOffscreenView::initWithBarcode(const ZBBarcode& barcode,
                                                               const BarcodeSettings& settings)
{
    return ZBBarcodeOffscreenView(Linear_Symbol_From_Barcode(barcode, settings), settings);
}

ZBBarcodeOffscreenView ZBBarcodeOffscreenView::initWithBarcodeImage(const PtImage& image,
                                                                    const BarcodeSettings& settings)
{
    return ZBBarcodeOffscreenView(image, settings);
}

namespace {

// Drawing helper working in the layout's own coordinates: points, origin at
// the bottom-left corner, y upward.
struct Canvas {
    QPainter& p;
    double H;  // bounds height

    QRectF toQt(double x, double y, double w, double h) const { return QRectF(x, H - y - h, w, h); }

    void fill(double x, double y, double w, double h, const QColor& c) const
    {
        if (w > 0.0 && h > 0.0)
            p.fillRect(toQt(x, y, w, h), c);
    }

    // Draws `text` into the rectangle whose bottom-left corner is (x, y), as
    // wide as `w` and as high as the text; the text starts at the top.
    void text(const QString& s, const QFont& font, const QColor& color, double kern,
              zbtext::Align align, double x, double y, double w) const
    {
        if (s.isEmpty())
            return;
        const double h = zbtext::Text_Height(s, font);
        zbtext::Draw_Text(p, s, font, color, kern, align, toQt(x, y, w, h).topLeft(), w);
    }
};

} // namespace

ZBBarcodeOffscreenView::Geometry ZBBarcodeOffscreenView::nominalGeometry() const
{
    Geometry g;
    g.BW = m_bounds.width();
    g.H = m_bounds.height();
    g.m = m_symbol.barWidth;
    g.x0 = (g.BW - double(m_symbol.bars.size()) * g.m) / 2.0;
    return g;
}

void ZBBarcodeOffscreenView::drawRect(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    if (m_fromImage)
        draw2D(painter, nominalGeometry());
    else
        drawLinear(painter, nominalGeometry());
    painter.restore();
}

namespace {

// Pixels of a length in points at `k` pixels a point, rounded up as images
// are sized (the quotient in double, its ceiling in float, so exact
// multiples stay exact).
int Ceil_Pixels(double points, double k)
{
    return int(std::ceil(double(float(points * k))));
}

// Most pixels a view is drawn into for one raster image.
constexpr double kMaxRasterPixels = 100.0e6;

} // namespace

QImage ZBBarcodeOffscreenView::rasterAt(double dpi) const
{
    if (!(dpi > 0.0) || !std::isfinite(dpi) || !(m_bounds.width() > 0.0) || !(m_bounds.height() > 0.0))
        return {};
    const double k = dpi / 72.0;
    Geometry g = nominalGeometry();
    g.pxPerPt = k;
    int w = Ceil_Pixels(g.BW, k);
    int h = Ceil_Pixels(g.H, k);
    if (m_fromImage) {
        // The symbol at the resolution (whole pixels a module), placed on
        // whole pixels; the frame grows with a symbol that needs more pixels.
        if (!m_image2d.isNull()) {
            // At the resolution the symbol was made for, its own pixels.
            const QSizeF made = m_image2d.size();
            const QImage& own = m_image2d.raster();
            const bool native = !own.isNull() && std::abs(72.0 * own.width() / made.width() - dpi) < 1e-9;
            g.symbolPixels = native ? own : m_image2d.toImage(dpi);
            const QSizeF is = m_image2d.size();
            const int sw = g.symbolPixels.width();
            const int sh = g.symbolPixels.height();
            w = std::max(w, sw + int(std::lround((g.BW - is.width()) * k)));
            h = std::max(h, sh + int(std::lround((g.H - is.height()) * k)));
            // Centred across, below the header band and its margin.
            const BarcodeSettings& s = m_settings;
            const double above = (s.printsHeader ? s.headerHeight * 72.0 : 0.0) + s.TB_margin + s.header_margin;
            g.symbolAt = QPoint((w - sw) / 2, int(std::lround(above * k)));
        }
    } else {
        // Bars of whole pixels a module, all alike; the symbol centred.
        const int n = int(m_symbol.bars.size());
        g.modulePx = std::max(1, int(std::lround(g.m * k)));
        const int symbolPx = n * g.modulePx;
        w = std::max(w, symbolPx + int(std::lround((g.BW - n * g.m) * k)));
        g.x0px = (w - symbolPx) / 2;
        g.m = g.modulePx / k;
        g.x0 = g.x0px / k;
    }
    if (w <= 0 || h <= 0 || double(w) * double(h) > kMaxRasterPixels)
        return {};
    g.BW = w / k;
    g.H = h / k;
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    const int dpm = int(std::lround(dpi / 0.0254));
    out.setDotsPerMeterX(dpm);
    out.setDotsPerMeterY(dpm);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setPen(Qt::NoPen);
    p.scale(k, k);
    if (m_fromImage)
        draw2D(p, g);
    else
        drawLinear(p, g);
    p.end();
    return out;
}

void ZBBarcodeOffscreenView::draw2D(QPainter& painter, const Geometry& g) const
{
    const BarcodeSettings& s = m_settings;
    const Canvas c{painter, g.H};
    const double W = g.BW;

    // A clear background leaves the picture's pixels untouched (transparent).
    if (!s.Fill_transparent())
        c.fill(0.0, 0.0, W, g.H, Qt::white);

    const double top = g.H;
    double bandY = top - s.TB_margin;
    if (s.printsHeader) {
        const double hh = s.headerHeight * 72.0;
        bandY = top - hh - s.TB_margin;
        c.text(s.header, s.header_font, s.bar_hdr_clr,
               Fitting_Kern(s.header, s.header_font, kTextKern, W),
               zbtext::Align_From_Name(s.align_hdr), 0.0, bandY, W);
    }
    if (g.pxPerPt > 0.0 && !g.symbolPixels.isNull()) {
        // One pixel of the symbol on one pixel of the device.
        painter.save();
        painter.resetTransform();
        painter.drawImage(g.symbolAt, g.symbolPixels);
        painter.restore();
    } else if (!m_image2d.isNull()) {
        const QSizeF is = m_image2d.size();
        const double x = (s.width - is.width()) / 2.0;
        const double y = bandY - is.height() - s.header_margin;
        m_image2d.draw(painter, c.toQt(x, y, is.width(), is.height()));
    }
    if (s.printsFooter)
        c.text(s.footer, s.footer_font, s.bar_ftr_clr,
               Fitting_Kern(s.footer, s.footer_font, kTextKern, W),
               zbtext::Align_From_Name(s.align_ftr), 0.0, s.TB_margin, W);
}

namespace {

// Centres of the places where the parts of a split caption go: the stretches
// of short (raised) bars between the long bars that reach lower, widest
// first, in reading order. Without long bars the symbol is cut in equal parts
// (all at x0 when there are no bars), so there is always one centre a part.
std::vector<double> Caption_Slots(const LinearSymbol& b, int parts, double x0, double m)
{
    std::vector<double> centres;
    const int n = int(b.bars.size());
    if (parts <= 0)
        return centres;
    auto foot = [&](int k) { return k < int(b.barBottom.size()) ? b.barBottom[size_t(k)] : 0.0; };
    double high = 0.0;
    for (int k = 0; k < n; ++k)
        if (b.bars[k] == '1')
            high = std::max(high, foot(k));
    // Mark the modules of long runs.
    std::vector<bool> longModule(size_t(n), false);
    for (int k = 0; k < n;) {
        if (b.bars[k] != '1') {
            ++k;
            continue;
        }
        int e = k;
        while (e + 1 < n && b.bars[e + 1] == '1')
            ++e;
        if (foot(e) < high - 1e-6)
            for (int i = k; i <= e; ++i)
                longModule[size_t(i)] = true;
        k = e + 1;
    }
    struct Stretch { int from; int to; };
    std::vector<Stretch> stretches;
    int firstLong = -1, lastLong = -1;
    for (int k = 0; k < n; ++k)
        if (longModule[size_t(k)]) {
            if (firstLong < 0)
                firstLong = k;
            lastLong = k;
        }
    if (firstLong >= 0) {
        for (int k = firstLong; k <= lastLong;) {
            if (longModule[size_t(k)]) {
                ++k;
                continue;
            }
            int e = k;
            while (e + 1 <= lastLong && !longModule[size_t(e + 1)])
                ++e;
            stretches.push_back({k, e + 1});
            k = e + 1;
        }
    }
    if (int(stretches.size()) >= parts) {
        std::stable_sort(stretches.begin(), stretches.end(),
                         [](const Stretch& a, const Stretch& c) { return a.to - a.from > c.to - c.from; });
        stretches.resize(size_t(parts));
        std::sort(stretches.begin(), stretches.end(),
                  [](const Stretch& a, const Stretch& c) { return a.from < c.from; });
        for (const Stretch& s : stretches)
            centres.push_back(x0 + m * (s.from + s.to) / 2.0);
        return centres;
    }
    const double W = n * m;
    for (int i = 0; i < parts; ++i)
        centres.push_back(x0 + W * (i + 0.5) / parts);
    return centres;
}

} // namespace

void ZBBarcodeOffscreenView::drawLinear(QPainter& painter, const Geometry& g) const
{
    const BarcodeSettings& s = m_settings;
    const LinearSymbol& b = m_symbol;
    const Canvas c{painter, g.H};
    const double BW = g.BW;

    // L1: split caption?
    const QStringList parts = b.caption.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
    const bool split = !b.leftCaption.isEmpty() || b.caption.count(QLatin1Char('\t')) > 0;

    // L2: background; a clear background leaves the pixels untouched, as
    // for a 2D symbol, whatever colour the background well keeps. (Filled
    // with the bars below, before them.)
    const bool background = !s.Fill_transparent() && BW > 0.0 && g.H > 0.0;

    // L3: the symbol is centred (on whole pixels when drawn for pixels).
    const int n = int(b.bars.size());
    const double m = g.m;
    const double W = n * m;
    const double x0 = g.x0;

    // L4, L5: bands and the base line of the bars.
    const bool topCaption = s.showinTop != 0;
    const double ch = b.printsCaption ? b.captionHeight * 72.0 : 0.0;
    const double hh = b.printsHeader ? b.headerHeight * 72.0 : 0.0;
    const double fh = b.printsFooter ? b.footerHeight * 72.0 : 0.0;
    const double y0 = topCaption ? fh + s.footer_margin + s.TB_margin
                                 : ch + fh + s.value_margin + s.footer_margin + s.TB_margin;

    // L6: runs of bar modules.
    auto top = [&](int k) { return k < int(b.barTop.size()) ? b.barTop[size_t(k)] : 0.0; };
    auto foot = [&](int k) { return k < int(b.barBottom.size()) ? b.barBottom[size_t(k)] : 0.0; };
    const bool raised = split || b.raiseFeet;
    double hl = 0.0;
    int k = 0;
    int r = 0;
    int start = 0;   // module index where the open run starts
    const double px = g.pxPerPt;
    // The runs are gathered and filled in one call: a long symbol stays one
    // drawing command, small in a recorded picture. For pixels each run's
    // edges are whole device pixels: across, the module grid; up and down,
    // the extents rounded.
    std::vector<QRectF> runs;
    std::vector<QRect> pixelRuns;
    runs.reserve(size_t(n) / 2 + 1);
    auto drawRun = [&]() {
        double h = top(k);
        double y = y0;
        if (raised) {
            h = top(k) - foot(k);
            y = y0 + foot(k);
        }
        if (r > 0 && h > 0.0) {
            const QRectF q = c.toQt(x0 + m * start, y, m * r, h);
            if (px > 0.0) {
                const int t = int(std::lround(q.top() * px));
                const int u = int(std::lround(q.bottom() * px));
                pixelRuns.emplace_back(g.x0px + start * g.modulePx, t, r * g.modulePx, u - t);
            } else {
                runs.push_back(q);
            }
        }
        hl = h;
    };
    for (int i = 0; i < n; ++i) {
        if (b.bars[i] == '1') {
            if (r == 0)
                start = i;
            ++r;
            k = i;
            if (i == n - 1)
                drawRun();
        } else {
            if (r > 0)
                drawRun();
            r = 0;
        }
    }
    if (!runs.empty() && m > 0.0 && runs.front().height() > 0.0) {
        // The background and the runs are given in modules across and in the
        // first run's height up and down: the same shapes, each bar a few
        // small numbers, and one transform for both (a PDF page of labels
        // keeps them as written, so it holds far fewer bytes).
        const double top = runs.front().top(), height = runs.front().height();
        const auto modules = [&](const QRectF& q) {
            return QRectF((q.left() - x0) / m, (q.top() - top) / height, q.width() / m, q.height() / height);
        };
        painter.save();
        painter.setTransform(QTransform(m, 0, 0, height, x0, top), true);
        if (background)
            painter.fillRect(modules(c.toQt(0.0, 0.0, BW, g.H)), s.bar_back_clr);
        for (QRectF& q : runs)
            q = modules(q);
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.barcode_clr);
        painter.drawRects(runs.data(), int(runs.size()));
        painter.restore();
    } else {
        if (background)
            c.fill(0.0, 0.0, BW, g.H, s.bar_back_clr);
        if (!runs.empty()) {
            painter.save();
            painter.setPen(Qt::NoPen);
            painter.setBrush(s.barcode_clr);
            painter.drawRects(runs.data(), int(runs.size()));
            painter.restore();
        }
    }
    if (!pixelRuns.empty()) {
        painter.save();
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.barcode_clr);
        painter.drawRects(pixelRuns.data(), int(pixelRuns.size()));
        painter.restore();
    }

    // L7: caption.
    if (b.printsCaption) {
        const double y = topCaption ? fh + s.footer_margin + hl + s.value_margin + s.TB_margin
                                    : fh + s.footer_margin + s.TB_margin;
        const QFont& f = s.value_font;
        if (!b.leftCaption.isEmpty()) {
            // Printed outside the bars on the left, as the right one is on the right.
            const double w = zbtext::Text_Size(b.leftCaption, f).width();
            c.text(b.leftCaption, f, s.bar_val_clr, 0.0, zbtext::Align::Left, x0 - w, y + 3.0, w);
        }
        if (!b.caption.isEmpty()) {
            if (!split || parts.size() <= 1) {
                const QString text = split ? parts.value(0) : b.caption;
                double kern = kTextKern;
                if (s.kerning_value == 1) {
                    // Spread the caption over the bars.
                    const double plain = zbtext::Text_Size(text, f, 0.0).width();
                    kern = text.isEmpty() ? 0.0 : std::max(0.0, (W - plain) / text.size());
                }
                kern = Fitting_Kern(text, f, kern, BW);
                if (split && !parts.isEmpty()) {
                    const std::vector<double> centres_ = Caption_Slots(b, 1, x0, m);
                    const double w = zbtext::Text_Size(text, f, kern).width();
                    c.text(text, f, s.bar_val_clr, kern, zbtext::Align::Center, centres_[0] - w / 2.0, y, w);
                } else {
                    c.text(text, f, s.bar_val_clr, kern, zbtext::Align::Center, 0.0, y, BW);
                }
            } else {
                // One part under each stretch of data bars.
                const std::vector<double> centres_ = Caption_Slots(b, int(parts.size()), x0, m);
                for (qsizetype i = 0; i < parts.size(); ++i) {
                    const QString part = parts[i].trimmed();
                    const double w = zbtext::Text_Size(part, f, 0.0).width();
                    c.text(part, f, s.bar_val_clr, 0.0, zbtext::Align::Center, centres_[size_t(i)] - w / 2.0, y, w);
                }
            }
        }
        if (!b.rightCaption.isEmpty()) {
            const double w = zbtext::Text_Size(b.rightCaption, f).width();
            c.text(b.rightCaption, f, s.bar_val_clr, 0.0, zbtext::Align::Left, x0 + W, y + 3.0, w);
        }
    }

    // L8, L9: header and footer.
    if (b.printsHeader)
        c.text(b.header, s.header_font, s.bar_hdr_clr,
               Fitting_Kern(b.header, s.header_font, kTextKern, BW),
               zbtext::Align_From_Name(s.align_hdr), 0.0, g.H - hh - s.TB_margin, BW);
    if (b.printsFooter)
        c.text(b.footer, s.footer_font, s.bar_ftr_clr,
               Fitting_Kern(b.footer, s.footer_font, kTextKern, BW),
               zbtext::Align_From_Name(s.align_ftr), 0.0, s.TB_margin, BW);
}

QPicture ZBBarcodeOffscreenView::picture() const
{
    QPicture pic;
    {
        QPainter p(&pic);
        drawRect(p);
    }
    pic.setBoundingRect(m_bounds.toAlignedRect());
    return pic;
}

QByteArray ZBBarcodeOffscreenView::dataWithPDFInsideRect(const QRectF& rect) const
{
    if (!(rect.width() > 0.0) || !(rect.height() > 0.0))
        return {};
    // A page of the rectangle's exact size.
    return Pdf_Page_Of_Drawing(rect.size(), [&](QPainter& p) {
        p.translate(-rect.topLeft());
        p.setClipRect(rect);
        drawRect(p);
    });
}

bool ZBBarcodeOffscreenView::knowsPageRange(int& first, int& count) const
{
    first = 1;
    count = 1;
    return true;
}

QRectF ZBBarcodeOffscreenView::rectForPage(int) const
{
    if (m_fromImage)
        return QRectF(0, 0, 0, 0);
    return QRectF(0.0, 0.0, m_symbol.width, m_symbol.height);
}
