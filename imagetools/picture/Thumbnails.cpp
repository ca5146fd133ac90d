#include "imagetools/picture/Thumbnails.h"

#include "core/util/MessageBoxes.h"
#include "core/util/ServiceInterfaces.h"
#include "imagetools/picture/PictureDecoder.h"
#include "platform/Fonts.h"

#include <QCoreApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPicture>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

bool onGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

QImage plainPageIcon(QSize size)
{
    const int side = std::clamp(size.width() > 0 ? size.width() : 128, 16, 800);
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 120, 120), std::max(1.0, side / 64.0)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(side * 0.2, side * 0.1, side * 0.6, side * 0.8));
    return img;
}

// The invalid-data image as pixels, for callers that want a raster.
QImage invalidDataRaster()
{
    return Image_For_invalid_Data(QRectF(0, 0, 200, 100)).toImage(72.0);
}

} // namespace

QImage File_Icon_Image(const QString& path, QSize size)
{
    const QSize want = size.isValid() && !size.isEmpty() ? size.boundedTo(QSize(800, 800)) : QSize(128, 128);
    // The icon theme is a GUI-thread service; a worker draws a plain page.
    if (onGuiThread()) {
        QFileIconProvider provider;
        const QIcon icon = provider.icon(QFileInfo(path));
        const QImage img = icon.pixmap(want).toImage();
        if (!img.isNull())
            return img.size() == want ? img : img.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return plainPageIcon(want);
}

QImage Thimbnail_Using_CG_Image(const QString& path, QSize size)
{
    const int limit = size.width() > 0 ? size.width() : 800;
    const DecodedPicture picture = Decode_Picture_File(path, limit);
    switch (picture.status) {
    case PictureStatus::Ok:
        return picture.image;
    case PictureStatus::Missing:
        return {};
    case PictureStatus::NotAPicture:
        return File_Icon_Image(path, size);
    case PictureStatus::Broken:
    case PictureStatus::TooLarge:
        Show_NSLog_Message(QStringLiteral("%1: %2").arg(path, picture.reason));
        return invalidDataRaster();
    }
    return {};
}

QImage Thimbnail_Using_CG_Image_With_data(const QByteArray& data, QSize size)
{
    const int limit = size.width() > 0 ? size.width() : 800;
    const DecodedPicture picture = Decode_Picture_Data(data, limit);
    return picture.ok() ? picture.image : QImage();
}

QImage imageWithPreviewOfFileAtPath(const QString& path, QSize size, bool)
{
    return Thimbnail_Using_CG_Image(path, size);
}

QImage imageWithPreviewOfFile_With_Data(const QByteArray& data, QSize size, bool)
{
    return Thimbnail_Using_CG_Image_With_data(data, size);
}

QList<QImage> Thumbnails_Of_Files(const QStringList& paths, int maxSide)
{
    QList<QImage> out(paths.size());
    const int n = int(paths.size());
    if (n == 0)
        return out;
    const int workers = std::clamp(int(std::thread::hardware_concurrency()), 1, n);
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i = next++; i < n; i = next++) {
            const DecodedPicture picture = Decode_Picture_File(paths[i], maxSide);
            if (picture.ok())
                out[i] = picture.image;
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(workers - 1);
    for (int t = 1; t < workers; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    return out;
}

PtImage Image_For_invalid_Data(const QRectF& rect)
{
    const QSizeF size = rect.size();
    if (!(size.width() > 0) || !(size.height() > 0))
        return {};
    QPicture picture;
    {
        QPainter p(&picture);
        QFont font = QFont();
        font.setPointSizeF(11.0);
        font.setBold(true);
        const QFont used = Font_In_Points(font, &picture);
        p.setFont(used);
        p.setPen(Qt::red);
        p.setRenderHint(QPainter::TextAntialiasing);
        const QString text = QStringLiteral("Invalid Data");
        const QFontMetricsF fm = Font_Metrics_In_Points(font);
        const double tw = fm.horizontalAdvance(text);
        const double th = fm.height();
        const QRectF box(rect.x() + size.width() * 0.5 - tw / 2, rect.y() + size.height() * 0.5 - th / 2, tw, th);
        p.drawText(box, Qt::AlignCenter, text);
    }
    return PtImage(picture, size);
}

void Install_Image_Tools_Services()
{
    // Qt's readers refuse images above their allocation limit (256 MB); a
    // picture of up to Picture_Pixel_Limit pixels at four bytes a pixel must pass.
    const int neededMb = int(Picture_Pixel_Limit * 4 / (1024 * 1024)) + 1;
    if (QImageReader::allocationLimit() > 0 && QImageReader::allocationLimit() < neededMb)
        QImageReader::setAllocationLimit(neededMb);
    QuickLook::Set_Providers(
        [](const QString& path, QSize size) { return Thimbnail_Using_CG_Image(path, size); },
        [](const QByteArray& data, QSize size) { return Thimbnail_Using_CG_Image_With_data(data, size); });
}
