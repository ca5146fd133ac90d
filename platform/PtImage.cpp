#include "platform/PtImage.h"

#include "platform/DrawingRecord.h"
#include "platform/EpsWriter.h"

#include <QPainter>

#include <cmath>
#include <mutex>

// The routine of a painted image, and its picture once somebody asked for it.
struct PtImage::Painted {
    Painting paint;
    mutable std::once_flag recorded;
    mutable QPicture picture;
};

PtImage::PtImage(Painting painting, QSizeF pointSize)
    : m_size(pointSize), m_isVector(true)
{
    if (painting) {
        auto painted = std::make_shared<Painted>();
        painted->paint = std::move(painting);
        m_painted = std::move(painted);
    }
}

const QPicture& PtImage::picture() const
{
    if (!m_painted)
        return m_picture;
    const Painted& p = *m_painted;
    std::call_once(p.recorded, [this, &p] {
        QPicture picture;
        {
            QPainter painter(&picture);
            p.paint(painter);
        }
        picture.setBoundingRect(QRectF(QPointF(0, 0), m_size).toAlignedRect());
        p.picture = picture;
    });
    return p.picture;
}

PtImage::PtImage(const QImage& image, QSizeF pointSize)
    : m_image(image),
      m_size(pointSize.isEmpty() ? QSizeF(image.size()) : pointSize),
      m_isVector(false)
{
}

PtImage::PtImage(const QPicture& picture, QSizeF pointSize)
    : m_picture(picture), m_size(pointSize), m_isVector(true)
{
}

void PtImage::setSize(QSizeF pointSize)
{
    if (pointSize != m_size)
        m_rasterMaker = nullptr;
    m_size = pointSize;
}

bool PtImage::isNull() const
{
    if (m_isVector)
        return !(m_size.width() > 0.0) || !(m_size.height() > 0.0);
    return m_image.isNull();
}

PtImage PtImage::recorded() const
{
    if (isNull() || !m_isVector || m_record)
        return *this;
    // The drawing itself, without the clip to the image's bounds that
    // draw() sets: a playback clips only where the drawing reaches out.
    auto record = std::make_shared<const Drawing_Record>(m_size, [this](QPainter& p) {
        if (m_painted)
            m_painted->paint(p);
        else
            playPicture(p);
    });
    if (!record->complete())
        return *this;
    PtImage kept = *this;
    kept.m_record = std::move(record);
    return kept;
}

void PtImage::draw(QPainter& painter, const QRectF& target, qreal opacity) const
{
    drawClipped(painter, target, opacity, nullptr);
}

void PtImage::draw(QPainter& painter, const QRectF& target, qreal opacity, const QRectF& clip) const
{
    drawClipped(painter, target, opacity, &clip);
}

void PtImage::drawClipped(QPainter& painter, const QRectF& target, qreal opacity, const QRectF* clip) const
{
    if (isNull() || target.isEmpty())
        return;
    if (m_record) {
        const double sx = target.width() / m_size.width(), sy = target.height() / m_size.height();
        const QTransform into(sx, 0, 0, sy, target.x(), target.y());
        // The image's own bounds and the clip asked for, in the image's space:
        // one clip, and none where everything drawn lies inside it anyway.
        QRectF keep(QPointF(0, 0), m_size);
        if (clip)
            keep &= QRectF((clip->x() - target.x()) / sx, (clip->y() - target.y()) / sy, clip->width() / sx,
                           clip->height() / sy);
        if (opacity == 1.0 && m_record->inside(keep)) {
            m_record->replay(painter, into);
            return;
        }
        painter.save();
        painter.setOpacity(painter.opacity() * opacity);
        painter.setWorldTransform(into * painter.worldTransform());
        painter.setClipRect(keep, Qt::IntersectClip);
        m_record->replay(painter, QTransform());
        painter.restore();
        return;
    }
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    if (m_painted || m_isVector) {
        painter.translate(target.topLeft());
        const double sx = target.width() / m_size.width(), sy = target.height() / m_size.height();
        painter.scale(sx, sy);
        // The image's own bounds, and the clip asked for in the image's space.
        QRectF own(QPointF(0, 0), m_size);
        if (clip)
            own &= QRectF((clip->x() - target.x()) / sx, (clip->y() - target.y()) / sy, clip->width() / sx,
                          clip->height() / sy);
        painter.setClipRect(own, Qt::IntersectClip);
    } else if (clip) {
        painter.setClipRect(*clip, Qt::IntersectClip);
    }
    if (m_painted) {
        m_painted->paint(painter);
    } else if (m_isVector) {
        playPicture(painter);
    } else {
        painter.drawImage(target, m_image);
    }
    painter.restore();
}

void PtImage::playPicture(QPainter& painter) const
{
    painter.save();
    // QPainter rescales a picture by the ratio of the device's resolution
    // to the picture's; the picture is in points already, so undo that.
    if (QPaintDevice* dev = painter.device()) {
        const double dx = dev->logicalDpiX();
        const double dy = dev->logicalDpiY();
        if (dx > 0 && dy > 0)
            painter.scale(m_picture.logicalDpiX() / dx, m_picture.logicalDpiY() / dy);
    }
    // Copies of a QPicture share one buffer and its read position, so two
    // threads playing copies of one picture (a job on a worker and the
    // window on the GUI thread) would read each other's commands: each
    // drawing plays a private copy of the bytes.
    QPicture own;
    own.setData(m_picture.data(), m_picture.size());
    painter.drawPicture(QPointF(0, 0), own);
    painter.restore();
}

QImage PtImage::toImage(double dpi) const
{
    if (isNull() || !(dpi > 0.0) || !std::isfinite(dpi))
        return {};
    if (m_rasterMaker) {
        QImage made = m_rasterMaker(dpi);
        if (!made.isNull()) {
            const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
            made.setDotsPerMeterX(dpm);
            made.setDotsPerMeterY(dpm);
            return made;
        }
    }
    // The quotient is taken in double and its ceiling in float, so that exact
    // multiples (72 dpi of a whole number of points) stay exact.
    const float fw = static_cast<float>(dpi * m_size.width() / 72.0);
    const float fh = static_cast<float>(dpi * m_size.height() / 72.0);
    const double pw = std::ceil(fw);
    const double ph = std::ceil(fh);
    if (pw < 1.0 || ph < 1.0 || pw > 1.0e6 || ph > 1.0e6 || pw * ph > Max_Raster_Pixels)
        return {};
    QImage out(static_cast<int>(pw), static_cast<int>(ph), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    out.setDotsPerMeterX(dpm);
    out.setDotsPerMeterY(dpm);
    {
        QPainter p(&out);
        // Nearest-neighbour: module edges of symbols must stay sharp.
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (m_isVector) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setRenderHint(QPainter::TextAntialiasing, true);
        }
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        draw(p, QRectF(0, 0, pw, ph));
    }
    return out;
}

QString PtImage::Raster_Refusal(double dpi) const
{
    if (isNull() || !(dpi > 0.0) || !std::isfinite(dpi))
        return {};
    const double pw = std::ceil(dpi * m_size.width() / 72.0);
    const double ph = std::ceil(dpi * m_size.height() / 72.0);
    if (pw * ph <= Max_Raster_Pixels && pw <= 1.0e6 && ph <= 1.0e6)
        return {};
    return QStringLiteral("At %1 DPI the image would be %2 x %3 pixels, more than the %4 million pixels an image "
                          "may have. Make it smaller (a shorter value, narrower bars or a lower height), or export "
                          "it as EPS or PDF, which keep it as drawing.")
        .arg(dpi, 0, 'f', 0)
        .arg(pw, 0, 'f', 0)
        .arg(ph, 0, 'f', 0)
        .arg(Max_Raster_Pixels / 1.0e6, 0, 'f', 0);
}

QByteArray PtImage::toPdfData() const
{
    if (isNull())
        return {};
    // A page of the image's exact size.
    return Pdf_Page_Of_Drawing(m_size, [this](QPainter& p) { draw(p, QRectF(QPointF(0, 0), m_size)); });
}
