#include "barcode/engines/grid/ModuleGridImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace grid {

namespace {

// Where the PNG bytes go: a file descriptor or a byte array.
struct Sink {
    int fd = -1;
    QByteArray* buffer = nullptr;
    long written = 0;
    bool failed = false;

    void write(const void* data, size_t length)
    {
        if (failed || length == 0)
            return;
        if (buffer) {
            buffer->append(static_cast<const char*>(data), qsizetype(length));
            written += long(length);
            return;
        }
        const auto* p = static_cast<const char*>(data);
        while (length > 0) {
            const ssize_t n = ::write(fd, p, length);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                failed = true;
                return;
            }
            p += n;
            length -= size_t(n);
            written += long(n);
        }
    }
};

void putBE32(uint8_t* out, uint32_t v)
{
    out[0] = uint8_t(v >> 24);
    out[1] = uint8_t(v >> 16);
    out[2] = uint8_t(v >> 8);
    out[3] = uint8_t(v);
}

// Writes bytes and returns the running CRC over them.
uint32_t writecrc(Sink& sink, const void* data, size_t length, uint32_t crc)
{
    sink.write(data, length);
    return uint32_t(crc32(crc, static_cast<const Bytef*>(data), uInt(length)));
}

// Length, type, data and the CRC-32 over type and data.
void writechunk(Sink& sink, const char type[4], const void* data, size_t length)
{
    uint8_t len[4];
    putBE32(len, uint32_t(length));
    sink.write(len, 4);
    uint32_t crc = uint32_t(crc32(0, Z_NULL, 0));
    crc = writecrc(sink, type, 4, crc);
    if (length)
        crc = writecrc(sink, data, length, crc);
    uint8_t c[4];
    putBE32(c, crc);
    sink.write(c, 4);
}

long writePNG(Image* image, Sink& sink, int background, int transparent, const char* comment, int level)
{
    if (!image || !image->pixels || image->width <= 0 || image->height <= 0)
        return -1;
    // A palette image needs a palette of 1 to 256 entries; stored blocks hold
    // at most 65535 bytes, one row each. Refuse before writing anything.
    if (image->colourCount < 1 || image->colourCount > 256 || !image->palette)
        return -1;
    if (level == 0 && image->lineLength > 65535)
        return -1;
    static const uint8_t signature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    sink.write(signature, 8);

    uint8_t ihdr[13];
    putBE32(ihdr, uint32_t(image->width));
    putBE32(ihdr + 4, uint32_t(image->height));
    ihdr[8] = 8;    // bit depth
    ihdr[9] = 3;    // palette
    ihdr[10] = 0;   // deflate
    ihdr[11] = 0;   // adaptive filtering
    ihdr[12] = 0;   // no interlace
    writechunk(sink, "IHDR", ihdr, 13);

    const int colours = image->colourCount;
    {
        QByteArray plte(3 * colours, '\0');
        for (int i = 0; i < colours; ++i) {
            const uint32_t c = image->palette[i];
            plte[3 * i] = char((c >> 16) & 0xff);
            plte[3 * i + 1] = char((c >> 8) & 0xff);
            plte[3 * i + 2] = char(c & 0xff);
        }
        writechunk(sink, "PLTE", plte.constData(), size_t(plte.size()));
    }
    // An index outside the palette would make the file invalid.
    if (background >= 0 && background < colours) {
        const uint8_t b = uint8_t(background);
        writechunk(sink, "bKGD", &b, 1);
    }
    if (comment && *comment) {
        QByteArray text("Comment");
        text.append('\0');
        text.append(comment);
        writechunk(sink, "tEXt", text.constData(), size_t(text.size()));
    }
    {
        QByteArray trns(colours, '\0');
        for (int i = 0; i < colours; ++i)
            trns[i] = char(255 - ((image->palette[i] >> 24) & 0xff));
        if (transparent >= 0 && transparent < colours)
            trns[transparent] = 0;
        writechunk(sink, "tRNS", trns.constData(), size_t(trns.size()));
    }

    const size_t line = size_t(image->lineLength);
    const size_t raw = line * size_t(image->height);
    for (int y = 0; y < image->height; ++y)
        image->pixels[size_t(y) * line] = 0;   // no filter
    if (level != 0) {
        uLongf outLen = compressBound(uLong(raw));
        auto* out = static_cast<Bytef*>(std::malloc(outLen));
        const int rc = out ? compress2(out, &outLen, image->pixels, uLong(raw), level) : Z_MEM_ERROR;
        if (rc != Z_OK) {
            std::free(out);
            std::fputs("Deflate error\n", stderr);
            return -1;
        }
        writechunk(sink, "IDAT", out, outLen);
        std::free(out);
    } else {
        // A zlib stream of stored blocks, one per row.
        QByteArray idat;
        idat.reserve(qsizetype(size_t(image->height) * (line + 5) + 6));
        idat.append(char(0x78));
        idat.append(char(0x01));
        uint32_t adler = 1;
        for (int y = 0; y < image->height; ++y) {
            const uint8_t* row = image->pixels + size_t(y) * line;
            idat.append(char(y == image->height - 1 ? 1 : 0));
            idat.append(char(line & 0xff));
            idat.append(char((line >> 8) & 0xff));
            idat.append(char(~line & 0xff));
            idat.append(char((~line >> 8) & 0xff));
            idat.append(reinterpret_cast<const char*>(row), qsizetype(line));
            adler = adlersum(row, line, adler);
        }
        uint8_t a[4];
        putBE32(a, adler);
        idat.append(reinterpret_cast<const char*>(a), 4);
        writechunk(sink, "IDAT", idat.constData(), size_t(idat.size()));
    }
    writechunk(sink, "IEND", nullptr, 0);
    return sink.failed ? -1 : sink.written;
}

} // namespace

uint32_t adlersum(const uint8_t* data, size_t length, uint32_t adler)
{
    uint32_t s1 = adler & 0xffff;
    uint32_t s2 = (adler >> 16) & 0xffff;
    for (size_t i = 0; i < length; ++i) {
        s1 = (s1 + data[i]) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    return (s2 << 16) | s1;
}

Image* ImageNew(int width, int height, int colourCount)
{
    if (width <= 0 || height <= 0 || colourCount < 0 || colourCount > 256 || width >= 0x7fffffff)
        return nullptr;
    const size_t line = size_t(width) + 1;
    if (line * size_t(height) > size_t(1) << 31)
        return nullptr;
    auto* image = static_cast<Image*>(std::calloc(1, sizeof(Image)));
    if (!image)
        return nullptr;
    image->width = width;
    image->lineLength = width + 1;
    image->height = height;
    image->pixels = static_cast<uint8_t*>(std::calloc(line * size_t(height), 1));
    if (!image->pixels) {
        std::free(image);
        return nullptr;
    }
    image->colourCount = colourCount;
    if (colourCount > 0) {
        image->palette = static_cast<uint32_t*>(std::calloc(size_t(colourCount), sizeof(uint32_t)));
        if (!image->palette) {
            std::free(image->pixels);
            std::free(image);
            return nullptr;
        }
    }
    return image;
}

void ImageFree(Image* image)
{
    if (!image)
        return;
    std::free(image->pixels);
    std::free(image->palette);
    std::free(image);
}

void ImageRect(Image* image, int x, int y, int w, int h, uint8_t colour)
{
    if (!image)
        return;
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min<long long>(static_cast<long long>(x) + w, image->width);
    const int y1 = std::min<long long>(static_cast<long long>(y) + h, image->height);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx)
            *ImagePixel(image, xx, yy) = colour;
}

long ImageWritePNGz(Image* image, int fd, int background, int transparent, const char* comment, int level)
{
    Sink sink;
    sink.fd = fd;
    return writePNG(image, sink, background, transparent, comment, level);
}

QByteArray ImagePNGData(Image* image, int background, int transparent, const char* comment, int level)
{
    QByteArray out;
    Sink sink;
    sink.buffer = &out;
    if (writePNG(image, sink, background, transparent, comment, level) < 0)
        return {};
    return out;
}

Image* ImageFromModuleGrid(const unsigned char* grid, int width, int height, int moduleSize, bool rowZeroAtBottom)
{
    if (!grid || width <= 0 || height <= 0 || moduleSize <= 0 || width > 10000 || height > 10000 || moduleSize > 1000)
        return nullptr;
    Image* image = ImageNew(width * moduleSize + 2, height * moduleSize + 2, 2);
    if (!image)
        return nullptr;
    image->palette[0] = 0x00FFFFFF;   // white
    image->palette[1] = 0x00000000;   // black
    for (int gy = 0; gy < height; ++gy) {
        const int iy = rowZeroAtBottom ? height - 1 - gy : gy;
        for (int gx = 0; gx < width; ++gx) {
            if (grid[gy * width + gx])
                ImageRect(image, 1 + gx * moduleSize, 1 + iy * moduleSize, moduleSize, moduleSize, 1);
        }
    }
    return image;
}

QString Module_Grid_Temp_Folder()
{
    // Made once, never changed after; removed at exit.
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/zorv-label-XXXXXX"));
    return folder.isValid() ? folder.path() : QString();
}

QString Write_Module_Grid_PNG(const unsigned char* grid, int width, int height, int moduleSize,
                              bool rowZeroAtBottom, const QByteArray& text, const QString& folder)
{
    if (folder.isEmpty())
        return {};
    Image* image = ImageFromModuleGrid(grid, width, height, moduleSize, rowZeroAtBottom);
    if (!image)
        return {};
    // Written under a name of its own, then put in place at once: writers
    // at the same time each leave a whole file, never a mixture.
    const QString path = QDir(folder).filePath(QStringLiteral("DM.png"));
    QByteArray temp = QFile::encodeName(path + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        ImageFree(image);
        return {};
    }
    // The comment stops at the first NUL of the text.
    const QByteArray comment(text.constData());
    const long n = ImageWritePNGz(image, fd, -1, -1, comment.constData(), 9);
    const bool closed = ::close(fd) == 0;
    ImageFree(image);
    if (n > 0 && closed && ::rename(temp.constData(), QFile::encodeName(path).constData()) == 0)
        return path;
    ::unlink(temp.constData());
    return {};
}

} // namespace grid
