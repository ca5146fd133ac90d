#pragma once
// A small palette image (one palette index a pixel) and its PNG writer,
// used to turn 2D module grids into image files.
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace grid {

struct Image {
    int width = 0;        // pixels per row
    int lineLength = 0;   // width + 1: each row starts with the PNG filter byte
    int height = 0;       // rows
    uint8_t* pixels = nullptr;    // lineLength x height bytes, rows from the top
    int colourCount = 0;          // palette entries, at most 256
    uint32_t* palette = nullptr;  // 0xTTRRGGBB; TT 0 opaque, 255 fully transparent
};

// A new image, all pixels 0, palette zeroed (none for a count of 0); null for
// a zero or negative size, more than 256 colours, or a failed allocation.
Image* ImageNew(int width, int height, int colourCount);
void ImageFree(Image* image);

// Pixel (x, y) is at y x lineLength + 1 + x.
inline uint8_t* ImagePixel(Image* image, int x, int y) { return image->pixels + y * image->lineLength + 1 + x; }

// Fills a rectangle, clipped to the image, with one palette index.
void ImageRect(Image* image, int x, int y, int w, int h, uint8_t colour);

// Writes a complete PNG file to the descriptor: IHDR, PLTE, bKGD (when
// background is an index of the palette), tEXt "Comment" (when the comment is not empty), tRNS,
// IDAT, IEND. Level 0 writes stored blocks; other levels compress with zlib.
// Returns the number of bytes written, or -1 when a write or the compression
// failed, or when the image has no palette (a palette PNG without one is
// not a valid file) and nothing was written.
long ImageWritePNGz(Image* image, int fd, int background, int transparent, const char* comment, int level);

// The same into memory.
QByteArray ImagePNGData(Image* image, int background, int transparent, const char* comment, int level);

// Running Adler-32 as zlib streams use it.
uint32_t adlersum(const uint8_t* data, size_t length, uint32_t adler);

// ---- Module grids ----

// An image of a module grid: (W x s + 2) x (H x s + 2) pixels, palette 0 white
// and 1 black (both opaque), a one-pixel light border round the symbol.
// `grid` holds W x H bytes, non-zero dark; with `rowZeroAtBottom` its row 0 is
// the bottom row of the image (as the Data Matrix library makes them).
Image* ImageFromModuleGrid(const unsigned char* grid, int width, int height, int moduleSize, bool rowZeroAtBottom);

// Writes a module grid as the file "DM.png" in `folder`; returns the path,
// empty on failure. The text goes into the file's comment.
QString Write_Module_Grid_PNG(const unsigned char* grid, int width, int height, int moduleSize,
                              bool rowZeroAtBottom, const QByteArray& text, const QString& folder);

// The private temporary folder of this process that holds "DM.png"; made on
// first use, removed at exit. Empty when it cannot be made.
QString Module_Grid_Temp_Folder();

} // namespace grid
