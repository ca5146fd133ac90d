#include "imagetools/filters/ImageProcesser.h"

#include "core/model/LMNGraphic.h"
#include "core/util/MessageBoxes.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>
#include <vector>

namespace {

// Luminance weights (Rec. 709) of the monochrome step and of sharpening.
constexpr float kLumR = 0.2126f, kLumG = 0.7152f, kLumB = 0.0722f;

// 3 x 3 matrices, row-major.
struct M3 {
    float m[9];
};

M3 mul(const M3& a, const M3& b)
{
    M3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[3 * i + j] = a.m[3 * i] * b.m[j] + a.m[3 * i + 1] * b.m[3 + j] + a.m[3 * i + 2] * b.m[6 + j];
    return r;
}

constexpr M3 kIdentity{{1, 0, 0, 0, 1, 0, 0, 0, 1}};

M3 monochromeMatrix()
{
    return {{kLumR, kLumG, kLumB, kLumR, kLumG, kLumB, kLumR, kLumG, kLumB}};
}

M3 sepiaMatrix()
{
    return {{0.393f, 0.769f, 0.189f, 0.349f, 0.686f, 0.168f, 0.272f, 0.534f, 0.131f}};
}

// Rotation of the hue about the grey axis, keeping luminance.
M3 hueMatrix(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return {{0.213f + c * 0.787f - s * 0.213f, 0.715f - c * 0.715f - s * 0.715f, 0.072f - c * 0.072f + s * 0.928f,
             0.213f - c * 0.213f + s * 0.143f, 0.715f + c * 0.285f + s * 0.140f, 0.072f - c * 0.072f - s * 0.283f,
             0.213f - c * 0.213f - s * 0.787f, 0.715f - c * 0.715f + s * 0.715f, 0.072f + c * 0.928f + s * 0.072f}};
}

M3 saturationMatrix(float s)
{
    return {{0.213f + 0.787f * s, 0.715f - 0.715f * s, 0.072f - 0.072f * s,
             0.213f - 0.213f * s, 0.715f + 0.285f * s, 0.072f - 0.072f * s,
             0.213f - 0.213f * s, 0.715f - 0.715f * s, 0.072f + 0.928f * s}};
}

inline int clampIndex(int i, int n)
{
    return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

inline float clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

inline uint toByte(float v)
{
    return uint(clamp01(v) * 255.0f + 0.5f);
}

// One run of the chain over a picture; each band of rows is worked by one
// thread with its own row buffers.
class Chain {
public:
    Chain(const QImage& src, const FilterSettings& s, QImage& dst, bool flipH, bool flipV)
        : m_flipH(flipH), m_flipV(flipV), m_srcBits(src.constBits()), m_srcStride(src.bytesPerLine()), m_dstBits(dst.bits()),
          m_dstStride(dst.bytesPerLine())
    {
        Filter_Colour_Matrix(s, m_m);
        for (int j = 0; j < 4; ++j)
            m_lum[j] = kLumR * m_m[j] + kLumG * m_m[4 + j] + kLumB * m_m[8 + j];
        m_sharp = s.sharpness;
        m_gain = s.exposure == 0.0f ? 1.0f : std::exp2(s.exposure / 2.2f);
        const double r = std::isfinite(s.blurRadius) ? std::round(double(s.blurRadius)) : 0.0;
        m_radius = int(std::clamp(r, 0.0, 500.0));
        m_w = src.width();
        m_h = src.height();
        m_opaque = src.format() == QImage::Format_RGB32;
    }

    void run()
    {
        const int hw = std::max(1u, std::thread::hardware_concurrency());
        const int bands = std::clamp(m_h / 64, 1, hw);
        std::vector<std::thread> threads;
        const int per = (m_h + bands - 1) / bands;
        for (int b = 1; b < bands; ++b) {
            const int y0 = b * per, y1 = std::min(m_h, y0 + per);
            if (y0 < y1)
                threads.emplace_back([this, y0, y1] { band(y0, std::min(y1, m_h)); });
        }
        band(0, std::min(per, m_h));
        for (std::thread& t : threads)
            t.join();
    }

private:
    // Luminance after the colour steps, summed over three columns.
    struct LumaRows {
        int rows[3] = {-1, -1, -1};
        std::vector<float> data[3];
        int next = 0;
        std::vector<float> scratch;
    };

    const QRgb* srcRow(int y) const { return reinterpret_cast<const QRgb*>(m_srcBits + qsizetype(y) * m_srcStride); }

    const float* lumaSum3(LumaRows& cache, int y) const
    {
        for (int i = 0; i < 3; ++i)
            if (cache.rows[i] == y)
                return cache.data[i].data();
        const int slot = cache.next;
        cache.next = (cache.next + 1) % 3;
        std::vector<float>& sum = cache.data[slot];
        sum.resize(size_t(m_w));
        std::vector<float>& lum = cache.scratch;
        lum.resize(static_cast<size_t>(m_w));
        const QRgb* row = srcRow(y);
        for (int x = 0; x < m_w; ++x) {
            const QRgb p = row[x];
            lum[size_t(x)] = (m_lum[0] * qRed(p) + m_lum[1] * qGreen(p) + m_lum[2] * qBlue(p)) * (1.0f / 255.0f)
                + m_lum[3];
        }
        for (int x = 0; x < m_w; ++x)
            sum[size_t(x)] = lum[size_t(clampIndex(x - 1, m_w))] + lum[size_t(x)] + lum[size_t(clampIndex(x + 1, m_w))];
        cache.rows[slot] = y;
        return sum.data();
    }

    // Row y after every per-pixel step and sharpening, as premultiplied RGBA
    // floats (unclamped colour) in out[4 * x].
    void colourRow(int y, float* out, LumaRows& cache) const
    {
        const QRgb* row = srcRow(y);
        const float* up = nullptr;
        const float* mid = nullptr;
        const float* down = nullptr;
        if (m_sharp != 0.0f) {
            up = lumaSum3(cache, clampIndex(y - 1, m_h));
            mid = lumaSum3(cache, y);
            down = lumaSum3(cache, clampIndex(y + 1, m_h));
        }
        const float* m = m_m;
        for (int x = 0; x < m_w; ++x) {
            const QRgb p = row[x];
            const float r = qRed(p) * (1.0f / 255.0f), g = qGreen(p) * (1.0f / 255.0f), b = qBlue(p) * (1.0f / 255.0f);
            float cr = m[0] * r + m[1] * g + m[2] * b + m[3];
            float cg = m[4] * r + m[5] * g + m[6] * b + m[7];
            float cb = m[8] * r + m[9] * g + m[10] * b + m[11];
            if (up) {
                const float lum = m_lum[0] * r + m_lum[1] * g + m_lum[2] * b + m_lum[3];
                const float mean = (up[x] + mid[x] + down[x]) * (1.0f / 9.0f);
                const float d = m_sharp * (lum - mean);
                cr += d; cg += d; cb += d;
            }
            const float a = m_opaque ? 1.0f : qAlpha(p) * (1.0f / 255.0f);
            const float k = m_gain * a;
            out[4 * x] = cr * k;
            out[4 * x + 1] = cg * k;
            out[4 * x + 2] = cb * k;
            out[4 * x + 3] = a;
        }
    }

    // Writes row y of the result, mirrored as asked on the way.
    void writeRow(int y, const float* px, float scale = 1.0f) const
    {
        const int row = m_flipV ? m_h - 1 - y : y;
        QRgb* base = reinterpret_cast<QRgb*>(m_dstBits + qsizetype(row) * m_dstStride);
        const int step = m_flipH ? -1 : 1;
        QRgb* out = m_flipH ? base + (m_w - 1) : base;
        for (int x = 0; x < m_w; ++x, out += step) {
            const float alpha = px[4 * x + 3] * scale;
            if (!(alpha > 0.0f)) {
                *out = 0;
                continue;
            }
            if (alpha >= 1.0f) {
                *out = qRgb(int(toByte(px[4 * x] * scale)), int(toByte(px[4 * x + 1] * scale)),
                            int(toByte(px[4 * x + 2] * scale)));
                continue;
            }
            // Unpremultiply, clamp, and premultiply again for the result.
            const float inv = scale / alpha;
            const float r = clamp01(px[4 * x] * inv), g = clamp01(px[4 * x + 1] * inv), b = clamp01(px[4 * x + 2] * inv);
            const uint ab = toByte(alpha);
            const float af = ab * (1.0f / 255.0f);
            *out = qRgba(int(toByte(r * af)), int(toByte(g * af)), int(toByte(b * af)), int(ab));
        }
    }

    void horizontalBox(const float* in, float* out) const
    {
        const int R = m_radius;
        const float norm = 1.0f / float(2 * R + 1);
        float s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        for (int i = -R; i <= R; ++i) {
            const float* p = in + 4 * clampIndex(i, m_w);
            s0 += p[0]; s1 += p[1]; s2 += p[2]; s3 += p[3];
        }
        for (int x = 0; x < m_w; ++x) {
            float* o = out + 4 * x;
            o[0] = s0 * norm; o[1] = s1 * norm; o[2] = s2 * norm; o[3] = s3 * norm;
            const int ai = x + R + 1, si = x - R;
            const float* add = in + 4 * (ai < m_w ? ai : m_w - 1);
            const float* sub = in + 4 * (si > 0 ? si : 0);
            s0 += add[0] - sub[0]; s1 += add[1] - sub[1]; s2 += add[2] - sub[2]; s3 += add[3] - sub[3];
        }
    }

    void band(int y0, int y1)
    {
        LumaRows cache;
        std::vector<float> row(size_t(m_w) * 4);
        if (m_radius == 0) {
            for (int y = y0; y < y1; ++y) {
                colourRow(y, row.data(), cache);
                writeRow(y, row.data());
            }
            return;
        }
        // Vertical box by a running sum over a ring of horizontally blurred rows.
        const int R = m_radius, K = 2 * R + 1;
        std::vector<float> ring(size_t(K) * size_t(m_w) * 4);
        std::vector<float> column(size_t(m_w) * 4, 0.0f);
        auto slot = [&](int v) { return ring.data() + size_t(((v % K) + K) % K) * size_t(m_w) * 4; };
        auto fill = [&](int v) {
            colourRow(clampIndex(v, m_h), row.data(), cache);
            horizontalBox(row.data(), slot(v));
        };
        for (int v = y0 - R; v <= y0 + R; ++v) {
            fill(v);
            const float* p = slot(v);
            for (size_t i = 0; i < column.size(); ++i) column[i] += p[i];
        }
        std::vector<float> fresh(size_t(m_w) * 4);
        const float norm = 1.0f / float(K);
        const size_t n = column.size();
        for (int y = y0; y < y1; ++y) {
            if (y > y0) {
                // Row y + R takes the slot of row y - 1 - R, which leaves the window.
                colourRow(clampIndex(y + R, m_h), row.data(), cache);
                horizontalBox(row.data(), fresh.data());
                float* ringRow = slot(y + R);
                float* col = column.data();
                const float* add = fresh.data();
                for (size_t i = 0; i < n; ++i) {
                    col[i] += add[i] - ringRow[i];
                    ringRow[i] = add[i];
                }
                if ((y - y0) % 512 == 0) {
                    // Sums kept by adding and taking away drift; start them afresh now and then.
                    std::fill(column.begin(), column.end(), 0.0f);
                    for (int v = y - R; v <= y + R; ++v) {
                        const float* p = slot(v);
                        for (size_t i = 0; i < n; ++i) col[i] += p[i];
                    }
                }
            }
            writeRow(y, column.data(), norm);
        }
    }

    bool m_flipH = false;
    bool m_flipV = false;
    const uchar* m_srcBits;
    qsizetype m_srcStride;
    uchar* m_dstBits;
    qsizetype m_dstStride;
    float m_m[12];
    float m_lum[4];
    float m_sharp = 0.0f;
    float m_gain = 1.0f;
    int m_radius = 0;
    int m_w = 0, m_h = 0;
    bool m_opaque = false;
};

QImage asArgb(const QImage& image)
{
    if (image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32)
        return image;
    return image.convertToFormat(QImage::Format_ARGB32);
}

QSize rotatedBox(QSizeF size, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const double c = std::abs(std::cos(a)), s = std::abs(std::sin(a));
    const double w = size.width() * c + size.height() * s;
    const double h = size.width() * s + size.height() * c;
    return QSize(std::max(1, int(std::ceil(w - 1e-6))), std::max(1, int(std::ceil(h - 1e-6))));
}

} // namespace

void Filter_Colour_Matrix(const FilterSettings& s, float out[12])
{
    M3 m = kIdentity;
    if (s.grayscale)
        m = mul(monochromeMatrix(), m);
    if (s.sepia)
        m = mul(sepiaMatrix(), m);
    if (s.hue != 0.0f && std::isfinite(s.hue))
        m = mul(hueMatrix(s.hue), m);
    if (s.saturation != 1.0f && std::isfinite(s.saturation))
        m = mul(saturationMatrix(s.saturation), m);
    const float brt = std::isfinite(s.brightness) ? s.brightness : 0.0f;
    const float con = std::isfinite(s.contrast) ? s.contrast : 1.0f;
    // out = con * (m * c + brt - 0.5) + 0.5
    const float offset = con * (brt - 0.5f) + 0.5f;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            out[4 * i + j] = con * m.m[3 * i + j];
        out[4 * i + 3] = offset;
    }
}

QImage Apply_Filter_Chain(const QImage& source, const FilterSettings& settings)
{
    return Apply_Filter_Chain_Mirrored(source, settings, false, false);
}

QImage Apply_Filter_Chain_Mirrored(const QImage& source, const FilterSettings& settings, bool flipH, bool flipV)
{
    if (source.isNull())
        return {};
    const QImage src = asArgb(source);
    QImage dst(src.size(), QImage::Format_ARGB32_Premultiplied);
    if (dst.isNull())
        return {};
    dst.setDotsPerMeterX(source.dotsPerMeterX());
    dst.setDotsPerMeterY(source.dotsPerMeterY());
    FilterSettings s = settings;
    if (!std::isfinite(s.sharpness)) s.sharpness = 0.0f;
    if (!std::isfinite(s.exposure)) s.exposure = 0.0f;
    s.exposure = std::clamp(s.exposure, -20.0f, 20.0f);
    Chain chain(src, s, dst, flipH, flipV);
    chain.run();
    return dst;
}

QImage ImageProcesser::imageRotatedByDegrees_On_Ctrl_Bound(const QImage& image, double degrees, const QRectF&)
{
    if (image.isNull())
        return {};
    try {
        if (!std::isfinite(degrees))
            return image;
        const double turns = degrees / 90.0;
        if (std::abs(turns - std::round(turns)) < 1e-9) {
            // Quarter turns move whole pixels; no resampling.
            const int quarter = ((int(std::lround(turns)) % 4) + 4) % 4;
            if (quarter == 0)
                return image.copy();
            return image.transformed(QTransform().rotate(-90.0 * quarter));
        }
        const QSize box = rotatedBox(image.size(), degrees);
        QImage canvas(box, QImage::Format_ARGB32_Premultiplied);
        if (canvas.isNull())
            return image;
        canvas.fill(Qt::transparent);
        canvas.setDotsPerMeterX(image.dotsPerMeterX());
        canvas.setDotsPerMeterY(image.dotsPerMeterY());
        QPainter p(&canvas);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(box.width() / 2.0, box.height() / 2.0);
        p.rotate(-degrees);  // counter-clockwise on a y-down surface
        p.translate(-image.width() / 2.0, -image.height() / 2.0);
        p.drawImage(QPointF(0, 0), image);
        return canvas;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return image;
    }
}

QImage ImageProcesser::imageRotatedByDegrees(const QImage& image, double degrees)
{
    return imageRotatedByDegrees_On_Ctrl_Bound(image, degrees, QRectF(QPointF(0, 0), image.size()));
}

QImage ImageProcesser::adjust_Rotate(const QImage& image, double degrees)
{
    if (degrees == 0.0)
        return image;
    return imageRotatedByDegrees(image, degrees);
}

PtImage ImageProcesser::Set_Dimaension(const PtImage& image)
{
    if (image.isNull())
        return image;
    PtImage out = image;
    const QSizeF s = image.size();
    const QSizeF limited(std::min(s.width(), 724.0), std::min(s.height(), 468.0));
    if (limited != s)
        out.setSize(limited);
    return out;
}

QImage ImageProcesser::Get_Processed_Image_Full_Combined(const QImage& image, bool grayscale, bool sepia,
                                                         bool invrtclr, float hue, float sat, float brt,
                                                         float con, int rotate, float r, float g, float b,
                                                         float tranprency, bool yes_rotate_on_box, bool flip_H,
                                                         bool flip_V, bool use_img_rect,
                                                         const QRectF& img_bound_rect)
{
    Q_UNUSED(tranprency);
    if (image.isNull())
        return {};
    QImage current = image;
    try {
        FilterSettings s;
        s.grayscale = grayscale;
        s.sepia = sepia;
        s.hue = hue;
        s.saturation = sat;
        s.brightness = brt;
        s.contrast = con;
        s.sharpness = r;
        s.exposure = g;
        s.blurRadius = b;
        // The flips are made while the result is written.
        current = Apply_Filter_Chain_Mirrored(image, s, flip_H, flip_V);
        if (current.isNull())
            return image;
        if (invrtclr) {
            // The complement of each colour, on straight (not premultiplied) values.
            QImage straight = current.convertToFormat(QImage::Format_ARGB32);
            straight.invertPixels(QImage::InvertRgb);
            current = straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
        if (!yes_rotate_on_box)
            return current;
        const QRectF rect = use_img_rect ? QRectF(QPointF(0, 0), current.size()) : img_bound_rect;
        return imageRotatedByDegrees_On_Ctrl_Bound(current, -double(rotate), rect);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return current;
    }
}

QImage Picture_Item_Displayed_Image(const LMNGraphic& item)
{
    if (item._contents.isNull())
        return {};
    const QImage source = item._contents.isVector() ? item._contents.toImage(72.0) : item._contents.raster();
    const float turn = std::isfinite(item.rotate_image) ? std::clamp(item.rotate_image, -1.0e6f, 1.0e6f) : 0.0f;
    return ImageProcesser::Get_Processed_Image_Full_Combined(
        source, item.gray_Scale, item.Sepia, item.invert_clr, item.hue_val, item.sat_val, item.brt_val,
        item.con_val, int(turn), item.srp_val, item.ev_val, item.blr_val, item.img_trnsp_val, true,
        item._isFlippedHorizontally, item._isFlippedVertically, false, item._bounds);
}
