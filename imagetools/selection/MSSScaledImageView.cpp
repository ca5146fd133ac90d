#include "imagetools/selection/MSSScaledImageView.h"

#include "imagetools/picture/PictureDecoder.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

MSSScaledImageView::MSSScaledImageView(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::NoFocus);  // the canvas over it takes the keys
}

void MSSScaledImageView::setImage(const QImage& image)
{
    m_image = image;
    update();
    emit displayChanged();
}

void MSSScaledImageView::setImageScaling(int scaling)
{
    m_scaling = scaling;
    update();
    emit displayChanged();
}

void MSSScaledImageView::setImageAlignment(int alignment)
{
    m_alignment = alignment;
    update();
    emit displayChanged();
}

void MSSScaledImageView::setFrameInset(int inset)
{
    m_inset = std::max(0, inset);
    update();
    emit displayChanged();
}

QRectF MSSScaledImageView::drawingRectForBounds() const
{
    return QRectF(rect()).adjusted(m_inset, m_inset, -m_inset, -m_inset);
}

QSizeF MSSScaledImageView::ratioFor(QSizeF s) const
{
    if (!(s.width() > 0) || !(s.height() > 0))
        return QSizeF(1, 1);
    const QRectF d = drawingRectForBounds();
    const double rx = d.width() / s.width();
    const double ry = d.height() / s.height();
    switch (m_scaling) {
    case ScaleProportionallyDown: {
        const float m = std::min(1.0f, std::min(float(rx), float(ry)));
        return QSizeF(m, m);
    }
    case ScaleAxesIndependently:
        return QSizeF(rx, ry);
    case ScaleProportionallyUpOrDown: {
        const float m = std::min(float(rx), float(ry));
        return QSizeF(m, m);
    }
    default:
        return QSizeF(1, 1);
    }
}

QSizeF MSSScaledImageView::imageRatio() const
{
    return ratioFor(m_image.size());
}

QSizeF MSSScaledImageView::originalImageRatio() const
{
    return ratioFor(originalImage().size());
}

QImage MSSScaledImageView::originalImage() const
{
    if (m_fileURL.isLocalFile()) {
        const DecodedPicture whole = Decode_Picture_File(m_fileURL.toLocalFile(), 0);
        if (whole.ok())
            return whole.image;
    }
    return m_image;
}

QRectF MSSScaledImageView::scaledImageRect() const
{
    const QSizeF s = m_image.size();
    if (s.width() < 1 || s.height() < 1)
        return QRectF();
    const QRectF d = drawingRectForBounds();
    const QSizeF r = imageRatio();
    const double sw = s.width() * r.width(), sh = s.height() * r.height();
    const double left = 0, hCentre = (d.width() - sw) / 2, right = d.width() - sw;
    const double top = 0, vCentre = (d.height() - sh) / 2, bottom = d.height() - sh;
    double x = 0, y = 0;
    switch (m_alignment) {
    case AlignCenter: x = hCentre; y = vCentre; break;
    case AlignTop: x = hCentre; y = top; break;
    case AlignTopLeft: x = left; y = top; break;
    case AlignTopRight: x = right; y = top; break;
    case AlignLeft: x = left; y = vCentre; break;
    case AlignBottom: x = hCentre; y = bottom; break;
    case AlignBottomLeft: x = left; y = bottom; break;
    case AlignBottomRight: x = right; y = bottom; break;
    case AlignRight: x = right; y = vCentre; break;
    default: return QRectF(d.topLeft(), QSizeF(0, 0));
    }
    return QRectF(x + d.x(), y + d.y(), sw, sh);
}

void MSSScaledImageView::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime && mime->hasUrls() && !mime->urls().isEmpty()
        && (event->possibleActions() & ~Qt::CopyAction)) {
        m_fileURL = mime->urls().constFirst();
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    event->ignore();
}

void MSSScaledImageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF target = scaledImageRect();
    if (!target.isEmpty()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, m_image);
    }
}

void MSSScaledImageView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit displayChanged();
}
