#include "platform/ImageWriter.h"

#include "platform/PtImage.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <gif_lib.h>

#include <cmath>
#include <vector>

namespace {

void setError(QString* error, const QString& text)
{
    if (error) *error = text;
}

int gifWrite(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<QByteArray*>(gif->UserData);
    out->append(reinterpret_cast<const char*>(data), length);
    return length;
}

QByteArray encodePdf(const QImage& image, double dpi, QString* error)
{
    const QSizeF points(image.width() * 72.0 / dpi, image.height() * 72.0 / dpi);
    QByteArray bytes = PtImage(image, points).toPdfData();
    if (bytes.isEmpty())
        setError(error, QStringLiteral("PDF data could not be made"));
    return bytes;
}

} // namespace

ImageFileFormat Image_Format_For_Path(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("png")) return ImageFileFormat::PNG;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return ImageFileFormat::JPEG;
    if (ext == QLatin1String("tif") || ext == QLatin1String("tiff")) return ImageFileFormat::TIFF;
    if (ext == QLatin1String("bmp")) return ImageFileFormat::BMP;
    if (ext == QLatin1String("gif")) return ImageFileFormat::GIF;
    if (ext == QLatin1String("pdf")) return ImageFileFormat::PDF;
    return ImageFileFormat::Unknown;
}

QString Image_Format_Extension(ImageFileFormat format)
{
    switch (format) {
    case ImageFileFormat::PNG: return QStringLiteral("png");
    case ImageFileFormat::JPEG: return QStringLiteral("jpg");
    case ImageFileFormat::TIFF: return QStringLiteral("tiff");
    case ImageFileFormat::BMP: return QStringLiteral("bmp");
    case ImageFileFormat::GIF: return QStringLiteral("gif");
    case ImageFileFormat::PDF: return QStringLiteral("pdf");
    case ImageFileFormat::Unknown: break;
    }
    return QString();
}

QByteArray Encode_Gif(const QImage& source, QString* error)
{
    if (source.isNull()) { setError(error, QStringLiteral("empty image")); return {}; }
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    if (w > 65535 || h > 65535) { setError(error, QStringLiteral("image too large for GIF")); return {}; }

    // Opaque pixels go through Qt's palette reduction; fully transparent ones
    // (alpha below one half) share one palette slot.
    bool anyTransparent = false;
    QImage opaque(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(src[x]) < 128) {
                anyTransparent = true;
                dst[x] = qRgb(255, 255, 255);
            } else {
                dst[x] = src[x] | 0xff000000u;
            }
        }
    }
    // Exact palette when the image has few colours; otherwise Qt's reduction.
    QHash<QRgb, int> exact;
    const int limit = anyTransparent ? 255 : 256;
    for (int y = 0; y < h && exact.size() <= limit; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(opaque.constScanLine(y));
        for (int x = 0; x < w && exact.size() <= limit; ++x)
            if (!exact.contains(row[x])) exact.insert(row[x], int(exact.size()));
    }
    QImage indexed;
    if (exact.size() <= limit) {
        QList<QRgb> table(exact.size());
        for (auto it = exact.cbegin(); it != exact.cend(); ++it) table[it.value()] = it.key();
        indexed = opaque.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
    } else {
        indexed = opaque.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::PreferDither);
    }
    if (indexed.isNull()) { setError(error, QStringLiteral("palette reduction failed")); return {}; }
    QList<QRgb> table = indexed.colorTable();
    int transparentIndex = -1;
    if (anyTransparent) {
        if (table.size() >= 256) {
            // A full palette gives up its last colour to transparency: the
            // opaque pixels that used it take the nearest of the others.
            table.resize(255);
            const QRgb lost = indexed.colorTable().at(255);
            int nearest = 0;
            long best = -1;
            for (int i = 0; i < table.size(); ++i) {
                const long dr = qRed(table[i]) - qRed(lost), dg = qGreen(table[i]) - qGreen(lost),
                           db = qBlue(table[i]) - qBlue(lost);
                const long d = dr * dr + dg * dg + db * db;
                if (best < 0 || d < best) { best = d; nearest = i; }
            }
            for (int y = 0; y < h; ++y) {
                uchar* row = indexed.scanLine(y);
                for (int x = 0; x < w; ++x)
                    if (row[x] == 255) row[x] = uchar(nearest);
            }
        }
        transparentIndex = int(table.size());
        table.append(qRgb(255, 255, 255));
    }
    int mapSize = 2;
    while (mapSize < table.size()) mapSize *= 2;
    std::vector<GifColorType> colours(size_t(mapSize), GifColorType{0, 0, 0});
    for (int i = 0; i < table.size(); ++i)
        colours[size_t(i)] = GifColorType{GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])),
                                          GifByteType(qBlue(table[i]))};

    QByteArray out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, gifWrite, &err);
    if (!gif) { setError(error, QStringLiteral("GIF writer failed to start")); return {}; }
    ColorMapObject* map = GifMakeMapObject(mapSize, colours.data());
    bool ok = map != nullptr;
    if (ok) {
        EGifSetGifVersion(gif, true);
        ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
    }
    if (ok && transparentIndex >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.UserInputFlag = false;
        gcb.DelayTime = 0;
        gcb.TransparentColor = transparentIndex;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext) == GIF_OK;
    }
    if (ok)
        ok = EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<size_t>(w));
    for (int y = 0; ok && y < h; ++y) {
        const uchar* idx = indexed.constScanLine(y);
        const QRgb* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x)
            line[size_t(x)] = (transparentIndex >= 0 && qAlpha(src[x]) < 128) ? GifPixelType(transparentIndex) : idx[x];
        ok = EGifPutLine(gif, line.data(), w) == GIF_OK;
    }
    if (EGifCloseFile(gif, &err) != GIF_OK)
        ok = false;
    if (map) GifFreeMapObject(map);
    if (!ok) { setError(error, QStringLiteral("GIF data could not be written")); return {}; }
    return out;
}

QByteArray Encode_Image(const QImage& image, ImageFileFormat format, double dpi, QString* error, int quality)
{
    if (image.isNull()) { setError(error, QStringLiteral("empty image")); return {}; }
    if (!(dpi > 0.0) || !std::isfinite(dpi)) dpi = 72.0;
    if (format == ImageFileFormat::Unknown) format = ImageFileFormat::PNG;
    if (format == ImageFileFormat::GIF) return Encode_Gif(image, error);
    if (format == ImageFileFormat::PDF) return encodePdf(image, dpi, error);

    QImage img = image;
    const int dpm = int(std::lround(dpi / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    QByteArray qtFormat;
    switch (format) {
    case ImageFileFormat::PNG: qtFormat = "png"; break;
    case ImageFileFormat::JPEG:
        qtFormat = "jpeg";
        // JPEG has no alpha: flatten onto white rather than black.
        if (img.hasAlphaChannel()) {
            QImage flat(img.size(), QImage::Format_RGB32);
            flat.fill(Qt::white);
            flat.setDotsPerMeterX(dpm);
            flat.setDotsPerMeterY(dpm);
            QPainter p(&flat);
            p.drawImage(0, 0, img);
            p.end();
            img = flat;
        }
        break;
    case ImageFileFormat::TIFF: qtFormat = "tiff"; break;
    case ImageFileFormat::BMP: qtFormat = "bmp"; break;
    default: qtFormat = "png"; break;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormat);
    if (quality >= 0) writer.setQuality(quality);
    if (format == ImageFileFormat::TIFF) writer.setCompression(1);  // LZW
    if (!writer.write(img)) {
        setError(error, writer.errorString());
        return {};
    }
    return bytes;
}

bool Write_File_Atomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) { setError(error, file.errorString()); return false; }
    if (file.write(bytes) != bytes.size()) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) { setError(error, file.errorString()); return false; }
    return true;
}

bool Write_Image_File(const QString& path, const QImage& image, double dpi, ImageFileFormat format,
                      QString* error, int quality)
{
    if (format == ImageFileFormat::Unknown) format = Image_Format_For_Path(path);
    const QByteArray bytes = Encode_Image(image, format, dpi, error, quality);
    if (bytes.isEmpty()) return false;
    return Write_File_Atomically(path, bytes, error);
}

double PtImage_Native_Dpi(const PtImage& image)
{
    if (image.isNull() || image.isVector() || !(image.size().width() > 0.0))
        return 72.0;
    return 72.0 * image.raster().width() / image.size().width();
}

bool Write_PtImage_File(const QString& path, const PtImage& image, ImageFileFormat format,
                        QString* error, double dpi)
{
    if (image.isNull()) { setError(error, QStringLiteral("empty image")); return false; }
    if (format == ImageFileFormat::Unknown) format = Image_Format_For_Path(path);
    if (format == ImageFileFormat::PDF) {
        const QByteArray pdf = image.toPdfData();
        if (pdf.isEmpty()) { setError(error, QStringLiteral("PDF data could not be made")); return false; }
        return Write_File_Atomically(path, pdf, error);
    }
    const double useDpi = dpi > 0.0 ? dpi : PtImage_Native_Dpi(image);
    QImage pixels;
    if (!image.isVector() && !(dpi > 0.0))
        pixels = image.raster();
    else
        pixels = image.toImage(useDpi);
    if (pixels.isNull()) { setError(error, QStringLiteral("image could not be drawn")); return false; }
    return Write_Image_File(path, pixels, useDpi, format, error);
}
