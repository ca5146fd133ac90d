#include "platform/PictureData.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace {

bool Size_Acceptable(QSize size, qint64 maxPixels)
{
    return size.isValid() && size.width() > 0 && size.height() > 0 && size.width() <= Picture_Max_Side
        && size.height() <= Picture_Max_Side && qint64(size.width()) * size.height() <= maxPixels;
}

} // namespace

QByteArray Picture_To_Png(const QImage& image)
{
    if (image.isNull() || !Size_Acceptable(image.size(), Picture_Max_Pixels))
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // zlib's fastest level: archives are made at every undo step.
    writer.setCompression(1);
    if (!writer.write(image))
        return {};
    return bytes;
}

QImage Picture_From_Data(const QByteArray& data, const char* format, qint64 maxPixels)
{
    if (data.isEmpty())
        return {};
    QByteArray copy = data;   // the reader must not see a buffer that changes
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    if (format && reader.format() != QByteArray(format))
        return {};
    const QSize stated = reader.size();
    if (!Size_Acceptable(stated, maxPixels))
        return {};
    QImage image = reader.read();
    if (image.isNull() || image.size() != stated)
        return {};
    return image;
}
