#include "platform/Fonts.h"

#include <QImage>
#include <QPaintDevice>

const QPaintDevice* Points_Device()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(72.0 / 0.0254);
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        return img;
    }();
    return &device;
}

QFont Font_In_Points(const QFont& font, const QPaintDevice* device)
{
    QFont f = font;
    const int dpi = device ? device->logicalDpiY() : 72;
    if (dpi > 0 && font.pointSizeF() > 0)
        f.setPointSizeF(font.pointSizeF() * 72.0 / dpi);
    return f;
}

QFontMetricsF Font_Metrics_In_Points(const QFont& font)
{
    return QFontMetricsF(font, Points_Device());
}
