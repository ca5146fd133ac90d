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

QString Check_Exist_Path_and_Create_New(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.path();
    const QString base = info.completeBaseName();
    const QString ext = info.suffix().toUpper();
    auto candidate = [&](const QString& name) {
        return Path_Join(folder, ext.isEmpty() ? name : name + QLatin1Char('.') + ext);
    };
    QString out = candidate(base);
    for (int n = 1; QFileInfo::exists(out); ++n)
        out = candidate(QStringLiteral("%1 (%2)").arg(base).arg(n));
    return out;
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

// ---------------------------------------------------------------- series

QString Series_File_Path(const QString& name)
{
    return Path_Join(Data_Folder_Path, name + QLatin1Char('.') + batch_file_EXT);
}

QString Existing_Series_File(const QString& name)
{
    const QString exact = Series_File_Path(name);
    if (QFileInfo(exact).isFile())
        return exact;
    const QDir dir(Data_Folder_Path);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo& info : entries) {
        if (info.suffix().toLower() == batch_file_EXT
            && info.completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return info.filePath();
    }
    return QString();
}

QString Existing_Series_Name(const QString& name)
{
    const QString file = Existing_Series_File(name);
    return file.isEmpty() ? QString() : QFileInfo(file).completeBaseName();
}

QStringList Read_Series_Lines(const QString& name, bool* ok)
{
    if (ok) *ok = false;
    // A series written elsewhere may carry its name or extension in other capitals.
    const QString file = Existing_Series_File(name);
    if (file.isEmpty())
        return {};
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = Trim_Str(QString::fromUtf8(f.readAll()));
    if (ok) *ok = true;
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

QString Free_Series_Name(const QString& name)
{
    if (Existing_Series_Name(name).isEmpty())
        return name;
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
        if (Existing_Series_Name(candidate).isEmpty())
            return candidate;
    }
}

SeriesFileWriter::SeriesFileWriter(const QString& path) : m_file(std::make_unique<QSaveFile>(path)) {}

bool SeriesFileWriter::open()
{
    return m_file->open(QIODevice::WriteOnly);
}

bool SeriesFileWriter::appendLine(const QString& line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    if (m_file->write(bytes) != bytes.size())
        return false;
    ++m_lines;
    return true;
}

bool SeriesFileWriter::commit()
{
    return m_file->commit();
}

void SeriesFileWriter::cancel()
{
    m_file->cancelWriting();
    m_file->commit();  // discards the temporary file; the old series stays
}

QString SeriesFileWriter::errorString() const
{
    return m_file->errorString();
}
