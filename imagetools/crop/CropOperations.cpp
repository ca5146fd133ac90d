#include "imagetools/crop/CropOperations.h"

#include "core/util/Helpers.h"
#include "core/util/SharedValues.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>

QString Crop_Output_Extension(int formatIndex)
{
    switch (formatIndex) {
    case 1: return QStringLiteral("BMP");
    case 2: return QStringLiteral("PNG");
    case 3: return QStringLiteral("TIFF");
    default: return QStringLiteral("JPG");
    }
}

const QStringList& Allowd_Image_fileTypes()
{
    static const QStringList types = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe"),
                                      QStringLiteral("jfif"), QStringLiteral("gif"), QStringLiteral("bmp"),
                                      QStringLiteral("png"), QStringLiteral("tif"), QStringLiteral("tiff")};
    return types;
}

bool Is_Allowed_Image_File(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir() && Allowd_Image_fileTypes().contains(info.suffix().toLower());
}

QString Crop_Output_Name(const QString& folder, const QString& base, int cropNum, int formatIndex)
{
    QString name = base;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (cropNum > 0)
        name = QStringLiteral("%1_%2").arg(name).arg(cropNum);
    return Path_Join(folder, name + QLatin1Char('.') + Crop_Output_Extension(formatIndex));
}

QSizeF Crop_Resize_Size(QSizeF picture, double width, double height, bool keepAspect)
{
    if (!keepAspect || !(picture.width() > 0) || !(picture.height() > 0))
        return QSizeF(width, height);
    const float r = std::min(float(width / picture.width()), float(height / picture.height()));
    return QSizeF(picture.width() * r, picture.height() * r);
}

QRect Crop_Full_Rect(const QRectF& previewRect, QSize previewSize, QSize fullSize)
{
    if (previewSize.isEmpty() || fullSize.isEmpty() || !(previewRect.width() > 0) || !(previewRect.height() > 0))
        return QRect();
    const double fx = double(fullSize.width()) / previewSize.width();
    const double fy = double(fullSize.height()) / previewSize.height();
    const int left = int(std::lround(previewRect.left() * fx));
    const int top = int(std::lround(previewRect.top() * fy));
    const int right = int(std::lround((previewRect.left() + previewRect.width()) * fx));
    const int bottom = int(std::lround((previewRect.top() + previewRect.height()) * fy));
    const QRect r = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(QRect(QPoint(0, 0), fullSize));
    return r.isValid() ? r : QRect();
}

ImageFileFormat Crop_File_Format(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe")
        || ext == QLatin1String("jfif"))
        return ImageFileFormat::JPEG;
    if (ext == QLatin1String("tif") || ext == QLatin1String("tiff"))
        return ImageFileFormat::TIFF;
    if (ext == QLatin1String("bmp"))
        return ImageFileFormat::BMP;
    if (ext == QLatin1String("gif"))
        return ImageFileFormat::GIF;
    return ImageFileFormat::PNG;
}

bool Write_Cropped_Picture(const QString& path, const QImage& picture, QString* error)
{
    if (picture.isNull()) {
        if (error) *error = QStringLiteral("There is no picture to write.");
        return false;
    }
    const ImageFileFormat format = Crop_File_Format(path);
    QImage out = picture;
    if (format != ImageFileFormat::PNG && picture.hasAlphaChannel()) {
        QImage flat(picture.size(), QImage::Format_RGB32);
        flat.setDotsPerMeterX(picture.dotsPerMeterX());
        flat.setDotsPerMeterY(picture.dotsPerMeterY());
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, picture);
        p.end();
        out = flat;
    }
    const double dpm = picture.dotsPerMeterX();
    const double dpi = dpm > 100 ? dpm * 0.0254 : 72.0;
    return Write_Image_File(path, out, dpi, format, error, format == ImageFileFormat::JPEG ? 100 : -1);
}
