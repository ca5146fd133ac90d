#include "imagetools/picture/PictureDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace {

bool looksLikeJpeg(const uchar* p, qsizetype n)
{
    return n >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF;
}

// ---------------------------------------------------------------- EXIF

struct TiffReader {
    const uchar* base;
    qsizetype size;
    bool little;

    bool u16(qsizetype at, quint32& v) const
    {
        if (at < 0 || at + 2 > size) return false;
        v = little ? quint32(base[at]) | quint32(base[at + 1]) << 8
                   : quint32(base[at]) << 8 | quint32(base[at + 1]);
        return true;
    }
    bool u32(qsizetype at, quint32& v) const
    {
        if (at < 0 || at + 4 > size) return false;
        v = little ? quint32(base[at]) | quint32(base[at + 1]) << 8 | quint32(base[at + 2]) << 16
                         | quint32(base[at + 3]) << 24
                   : quint32(base[at]) << 24 | quint32(base[at + 1]) << 16 | quint32(base[at + 2]) << 8
                         | quint32(base[at + 3]);
        return true;
    }
};

// ---------------------------------------------------------------- JPEG

struct JpegError {
    jpeg_error_mgr pub;
    jmp_buf jump;
    bool truncated;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    if (level < 0) {
        // A stream that ends before its last scan is a cut-off file, not a
        // picture with a grey lower part.
        if (cinfo->err->msg_code == JWRN_JPEG_EOF)
            err->truncated = true;
        cinfo->err->num_warnings++;
    }
}

struct JpegOutcome {
    QImage image;
    QSize storedSize;
    int orientation = 1;
    PictureStatus status = PictureStatus::Broken;
    QString reason;
};

// Adobe writes CMYK inverted; other writers straight. Either way the
// conversion is the naive one, which is what a screen preview needs.
void cmykRowToRgb(const JSAMPLE* in, QRgb* out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x) {
        int c = in[4 * x], m = in[4 * x + 1], y = in[4 * x + 2], k = in[4 * x + 3];
        if (!inverted) {
            c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Decodes JPEG data at the smallest DCT scale whose result still has a
// longer side of at least maxSide (0: full size).
void decodeJpeg(const uchar* data, qsizetype size, int maxSide, JpegOutcome* out)
{
    jpeg_decompress_struct cinfo;
    JpegError jerr;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&jerr, 0, sizeof jerr);
    cinfo.err = jpeg_std_error(&jerr.pub);
    jerr.pub.error_exit = jpegErrorExit;
    jerr.pub.emit_message = jpegEmitMessage;
    jerr.truncated = false;

    if (setjmp(jerr.jump)) {
        out->image = QImage();
        out->status = PictureStatus::Broken;
        out->reason = QString::fromLocal8Bit(jerr.message);
        jpeg_destroy_decompress(&cinfo);
        return;
    }

    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);

    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && std::memcmp(m->data, "Exif\0\0", 6) == 0) {
            out->orientation = Exif_Orientation(m->data, m->data_length);
            break;
        }
    }

    const qint64 w = cinfo.image_width;
    const qint64 h = cinfo.image_height;
    out->storedSize = QSize(int(std::min<qint64>(w, INT_MAX)), int(std::min<qint64>(h, INT_MAX)));
    if (w <= 0 || h <= 0) {
        out->status = PictureStatus::Broken;
        out->reason = QStringLiteral("The picture has no pixels.");
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    if (w * h > Picture_Pixel_Limit) {
        out->status = PictureStatus::TooLarge;
        out->reason = QStringLiteral("%1 x %2 pixels is more than we read.").arg(w).arg(h);
        jpeg_destroy_decompress(&cinfo);
        return;
    }

    const qint64 longer = std::max(w, h);
    if (maxSide > 0 && longer > maxSide) {
        int num = 8;
        for (int m = 1; m <= 8; ++m) {
            if ((longer * m + 7) / 8 >= maxSide) {
                num = m;
                break;
            }
        }
        cinfo.scale_num = num;
        cinfo.scale_denom = 8;
    }

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    const bool adobeInverted = cmyk && cinfo.saw_Adobe_marker;

    jpeg_start_decompress(&cinfo);
    const int ow = int(cinfo.output_width);
    const int oh = int(cinfo.output_height);
    out->image = QImage(ow, oh, QImage::Format_RGB32);
    if (out->image.isNull()) {
        out->status = PictureStatus::TooLarge;
        out->reason = QStringLiteral("Not enough memory for the picture.");
        jpeg_destroy_decompress(&cinfo);
        return;
    }

    JSAMPARRAY rowBuffer = nullptr;
    if (cmyk)
        rowBuffer = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                               JDIMENSION(ow) * 4, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        if (cmyk) {
            jpeg_read_scanlines(&cinfo, rowBuffer, 1);
            cmykRowToRgb(rowBuffer[0], reinterpret_cast<QRgb*>(out->image.scanLine(y)), ow, adobeInverted);
        } else {
            JSAMPROW row = out->image.scanLine(y);
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
    }
    jpeg_finish_decompress(&cinfo);
    const bool truncated = jerr.truncated;
    jpeg_destroy_decompress(&cinfo);

    if (truncated) {
        out->image = QImage();
        out->status = PictureStatus::Broken;
        out->reason = QStringLiteral("The picture file ends before its last pixels.");
        return;
    }
    out->status = PictureStatus::Ok;
}

QSize uprightSize(QSize stored, int orientation)
{
    return orientation >= 5 && orientation <= 8 ? stored.transposed() : stored;
}

QImage fitInside(const QImage& image, int maxSide)
{
    if (maxSide <= 0 || std::max(image.width(), image.height()) <= maxSide)
        return image;
    return image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

DecodedPicture decodeJpegBytes(const uchar* data, qsizetype size, int maxSide)
{
    JpegOutcome outcome;
    decodeJpeg(data, size, maxSide, &outcome);
    DecodedPicture result;
    result.status = outcome.status;
    result.reason = outcome.reason;
    if (outcome.storedSize.isValid())
        result.fullSize = uprightSize(outcome.storedSize, outcome.orientation);
    if (outcome.status == PictureStatus::Ok)
        result.image = Apply_Exif_Orientation(fitInside(outcome.image, maxSide), outcome.orientation);
    return result;
}

// Every other format through Qt's readers, with the size checked first.
DecodedPicture decodeWithQt(QIODevice* device, int maxSide)
{
    DecodedPicture result;
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        result.status = PictureStatus::NotAPicture;
        result.reason = QStringLiteral("Not a picture format we read.");
        return result;
    }
    const QSize stored = reader.size();
    if (stored.isValid()) {
        if (qint64(stored.width()) * stored.height() > Picture_Pixel_Limit) {
            result.status = PictureStatus::TooLarge;
            result.reason = QStringLiteral("%1 x %2 pixels is more than we read.")
                                .arg(stored.width()).arg(stored.height());
            return result;
        }
        // The reader turns the picture upright after scaling; the longer side
        // is the same either way.
        if (maxSide > 0 && std::max(stored.width(), stored.height()) > maxSide)
            reader.setScaledSize(stored.scaled(maxSide, maxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        result.status = PictureStatus::Broken;
        result.reason = reader.errorString();
        return result;
    }
    result.image = fitInside(image, maxSide);
    result.fullSize = stored.isValid()
        ? (reader.transformation() & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored)
        : image.size();
    result.status = PictureStatus::Ok;
    return result;
}

} // namespace

int Exif_Orientation(const uchar* payload, qsizetype size)
{
    if (!payload || size < 6 + 8 || std::memcmp(payload, "Exif\0\0", 6) != 0)
        return 1;
    TiffReader t{payload + 6, size - 6, true};
    if (t.base[0] == 'I' && t.base[1] == 'I') t.little = true;
    else if (t.base[0] == 'M' && t.base[1] == 'M') t.little = false;
    else return 1;
    quint32 magic = 0, ifd = 0, count = 0;
    if (!t.u16(2, magic) || magic != 42 || !t.u32(4, ifd))
        return 1;
    if (ifd < 8 || qint64(ifd) + 2 > t.size || !t.u16(qsizetype(ifd), count))
        return 1;
    // Twelve bytes an entry; entries past the end of the block are not read.
    const qint64 fits = (t.size - qint64(ifd) - 2) / 12;
    const qint64 n = std::min<qint64>(count, fits);
    for (qint64 i = 0; i < n; ++i) {
        const qsizetype entry = qsizetype(ifd + 2 + 12 * i);
        quint32 tag = 0, type = 0, value = 0;
        if (!t.u16(entry, tag) || !t.u16(entry + 2, type))
            return 1;
        if (tag != 0x0112)
            continue;
        if (type != 3 || !t.u16(entry + 8, value))  // SHORT, stored in place
            return 1;
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

QImage Apply_Exif_Orientation(const QImage& image, int orientation)
{
    if (image.isNull())
        return image;
    const QTransform quarter = QTransform().rotate(90);  // clockwise on the screen
    switch (orientation) {
    case 2: return image.mirrored(true, false);
    case 3: return image.mirrored(true, true);
    case 4: return image.mirrored(false, true);
    case 5: return image.transformed(quarter).mirrored(true, false);  // transpose
    case 6: return image.transformed(quarter);
    case 7: return image.transformed(quarter).mirrored(false, true);  // transverse
    case 8: return image.transformed(QTransform().rotate(270));
    default: return image;
    }
}

DecodedPicture Decode_Picture_Data(const QByteArray& data, int maxSide)
{
    if (data.isEmpty())
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    if (looksLikeJpeg(bytes, data.size()))
        return decodeJpegBytes(bytes, data.size(), maxSide);
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return decodeWithQt(&buffer, maxSide);
}

DecodedPicture Decode_Picture_File(const QString& path, int maxSide)
{
    DecodedPicture result;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        result.reason = QStringLiteral("No file at %1.").arg(path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = PictureStatus::Broken;
        result.reason = file.errorString();
        return result;
    }
    uchar head[3] = {0, 0, 0};
    const qint64 got = file.peek(reinterpret_cast<char*>(head), 3);
    if (got == 3 && looksLikeJpeg(head, 3)) {
        // Mapped, not read: the bytes stay in the page cache.
        const qint64 size = file.size();
        if (uchar* mapped = file.map(0, size)) {
            result = decodeJpegBytes(mapped, size, maxSide);
            file.unmap(mapped);
            return result;
        }
        const QByteArray bytes = file.readAll();
        return decodeJpegBytes(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size(), maxSide);
    }
    if (file.size() == 0) {
        result.status = PictureStatus::NotAPicture;
        result.reason = QStringLiteral("The file is empty.");
        return result;
    }
    return decodeWithQt(&file, maxSide);
}

QSize Picture_File_Size(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    uchar head[3] = {0, 0, 0};
    if (file.peek(reinterpret_cast<char*>(head), 3) == 3 && looksLikeJpeg(head, 3)) {
        // The header and the EXIF block come first; a few hundred kilobytes hold them.
        const QByteArray bytes = file.read(1 << 20);
        jpeg_decompress_struct cinfo;
        JpegError jerr;
        std::memset(&cinfo, 0, sizeof cinfo);
        std::memset(&jerr, 0, sizeof jerr);
        cinfo.err = jpeg_std_error(&jerr.pub);
        jerr.pub.error_exit = jpegErrorExit;
        jerr.pub.emit_message = jpegEmitMessage;
        QSize stored;
        volatile int orientation = 1;
        if (setjmp(jerr.jump)) {
            jpeg_destroy_decompress(&cinfo);
            return {};
        }
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
        jpeg_read_header(&cinfo, TRUE);
        for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
            if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && std::memcmp(m->data, "Exif\0\0", 6) == 0) {
                orientation = Exif_Orientation(m->data, m->data_length);
                break;
            }
        }
        stored = QSize(int(cinfo.image_width), int(cinfo.image_height));
        jpeg_destroy_decompress(&cinfo);
        return uprightSize(stored, orientation);
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid())
        return {};
    return reader.transformation() & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
}

QString Picture_Status_Message(PictureStatus status)
{
    switch (status) {
    case PictureStatus::Ok:
        return QString();
    case PictureStatus::Missing:
        return QStringLiteral("The picture file does not exist.");
    case PictureStatus::NotAPicture:
        return QStringLiteral("The file is not a picture in a format Zorv Label reads.");
    case PictureStatus::Broken:
        return QStringLiteral("File cannot be opened. Selected File is corrupt or invalid.");
    case PictureStatus::TooLarge:
        return QStringLiteral("The picture is too large: pictures of up to 100 million pixels can be used.");
    }
    return QString();
}
