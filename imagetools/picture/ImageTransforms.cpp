#include "imagetools/picture/ImageTransforms.h"

#include "imagetools/filters/ImageProcesser.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace ImageTransforms {

QImage flipImage(const QImage& image)
{
    return image.mirrored(true, true);
}

QImage flipImageVertically(const QImage& image)
{
    return image.mirrored(false, true);
}

QImage Flip_Horz_Mirror_Image(const QImage& image)
{
    return image.mirrored(true, false);
}

QImage Create_Mirror_Image_With_CG_Image_Function(const QImage& image, bool vertical)
{
    return vertical ? flipImageVertically(image) : Flip_Horz_Mirror_Image(image);
}

QImage Create_Mirror_Image_With_CG_Image(const QImage& image, bool)
{
    return Create_Mirror_Image_With_CG_Image_Function(image, false);
}

QImage image_rotate_using_cg_context_method(const QImage& image)
{
    return flipImage(image);
}

QImage imageRotatedByDegrees_Angle(const QImage& image, double, const QRectF&)
{
    return image_rotate_using_cg_context_method(image);
}

QImage imageRotatedByDegrees(const QImage& image, double degrees)
{
    return ImageProcesser::imageRotatedByDegrees(image, degrees);
}

QImage imageRotatedByDegrees_opt_2(const QImage& image, double degrees)
{
    return imageRotatedByDegrees(image, degrees);
}

QImage imageRotated(const QImage& image, float degrees)
{
    if (image.isNull())
        return image;
    const float angle = std::fmod(degrees, 360.0f);
    if (angle == 0.0f || !std::isfinite(angle))
        return image;
    const int w = image.width(), h = image.height();
    if (std::abs(angle) == 90.0f || std::abs(angle) == 180.0f || std::abs(angle) == 270.0f)
        return image.transformed(QTransform().rotate(-angle));  // whole pixels, no resampling
    QSize canvas;
    if (std::abs(angle) == 90.0f || std::abs(angle) == 270.0f)
        canvas = QSize(h, w);
    else if (std::abs(angle) == 180.0f)
        canvas = QSize(w, h);
    else
        canvas = QSize(std::max(w, h) + 20, std::max(w, h) + 20);
    QImage out(canvas, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(canvas.width() / 2.0, canvas.height() / 2.0);
    p.rotate(-angle);  // counter-clockwise on a y-down surface
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPointF(-w / 2.0, -h / 2.0), image);
    return out;
}

QImage image_for_data_matrix_font(const QImage& image)
{
    if (image.isNull())
        return image;
    return image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage bitmap(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage maskImage_usingMaskImage(const QImage& image, const QImage& mask)
{
    if (image.isNull() || mask.isNull())
        return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QImage grey = mask.size() == image.size()
        ? mask.convertToFormat(QImage::Format_Grayscale8)
        : mask.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
              .convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* m = grey.constScanLine(y);
        for (int x = 0; x < out.width(); ++x) {
            const int keep = 255 - m[x];
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), qAlpha(row[x]) * keep / 255);
        }
    }
    return out;
}

PtImage normalizeSize(const PtImage& image)
{
    if (image.isNull() || image.isVector())
        return image;
    PtImage out = image;
    out.setSize(QSizeF(image.raster().size()));
    return out;
}

PtImage setDPI(const PtImage& image, int dpi)
{
    if (image.isNull() || image.isVector() || dpi <= 0)
        return image;
    PtImage out = image;
    const QSize px = image.raster().size();
    out.setSize(QSizeF(float(px.width()) / float(dpi) * 72.0f, float(px.height()) / float(dpi) * 72.0f));
    return out;
}

} // namespace ImageTransforms
