#include "core/util/ServiceInterfaces.h"
#include "core/util/Services.h"
#include "core/util/SharedServices.h"

#include <QBuffer>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QThread>
#include <QCoreApplication>

// ---------------------------------------------------------------- preferences

Preferences::~Preferences() = default;

std::shared_ptr<Preferences> Preferences::sharedInstance()
{
    const Loader loader = Current_Shared_Services().preferencesLoader;
    return loader ? loader() : nullptr;
}

void Preferences::Set_Loader(Loader loader)
{
    Change_Shared_Services([&](Shared_Services& s) { s.preferencesLoader = std::move(loader); });
}

// ---------------------------------------------------------------- progress window

Send_Modeless::~Send_Modeless() = default;

// ---------------------------------------------------------------- thumbnails

namespace {

QImage readScaled(QImageReader& reader, QSize size)
{
    reader.setAutoTransform(true);
    const int limit = size.width() > 0 ? size.width() : 800;
    QSize full = reader.size();
    if (full.isValid()) {
        // The reader reports the stored size; a rotated picture swaps sides,
        // which does not change the longer one.
        const int longer = qMax(full.width(), full.height());
        if (longer > limit) {
            full.scale(limit, limit, Qt::KeepAspectRatio);
            reader.setScaledSize(full.expandedTo(QSize(1, 1)));
        }
    }
    QImage image = reader.read();
    if (image.isNull()) return {};
    if (qMax(image.width(), image.height()) > limit)
        image = image.scaled(limit, limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

// A plain document icon when the desktop has none to give.
QImage genericIcon(QSize size)
{
    const int side = qMax(16, qMin(size.width() > 0 ? size.width() : 128, 512));
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF page(side * 0.2, side * 0.1, side * 0.6, side * 0.8);
    p.setPen(QPen(QColor(120, 120, 120), qMax(1.0, side / 64.0)));
    p.setBrush(Qt::white);
    p.drawRect(page);
    return img;
}

QImage fileIcon(const QString& path, QSize size)
{
    const bool gui = QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
    if (gui) {
        QFileIconProvider provider;
        const QIcon icon = provider.icon(QFileInfo(path));
        const QSize want = size.isValid() && !size.isEmpty() ? size.boundedTo(QSize(512, 512)) : QSize(128, 128);
        const QImage img = icon.pixmap(want).toImage();
        if (!img.isNull()) return img;
    }
    return genericIcon(size);
}


} // namespace

namespace QuickLook {

void Set_Providers(FileProvider file, DataProvider data)
{
    Change_Shared_Services([&](Shared_Services& s) {
        s.thumbnailOfFile = std::move(file);
        s.thumbnailOfData = std::move(data);
    });
}

QImage imageWithPreviewOfFileAtPath(const QString& path, QSize size, bool asIcon)
{
    Q_UNUSED(asIcon);
    if (path.isEmpty()) return {};
    const FileProvider provider = Current_Shared_Services().thumbnailOfFile;
    if (provider) return provider(path, size);
    QImageReader reader(path);
    QImage img = readScaled(reader, size);
    if (!img.isNull()) return img;
    return fileIcon(path, size);
}

QImage imageWithPreviewOfFile_With_Data(const QByteArray& data, QSize size, bool asIcon)
{
    Q_UNUSED(asIcon);
    if (data.isEmpty()) return {};
    const DataProvider provider = Current_Shared_Services().thumbnailOfData;
    if (provider) return provider(data, size);
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage img = readScaled(reader, size);
    if (!img.isNull()) return img;
    return genericIcon(size);
}

} // namespace QuickLook
