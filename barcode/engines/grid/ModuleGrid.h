#pragma once
// The one image routine of the 2D symbols: a grid of modules (QR Code,
// PDF417, Data Matrix) painted into an image of whole pixels.
#include "platform/PtImage.h"

#include <QRect>
#include <QRgb>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <vector>

// A grid of modules addressed as (column x, row y), row 0 at the top.
struct ModuleGrid {
    int columns = 0;
    int rows = 0;
    std::vector<uint8_t> cells;   // columns x rows, row after row; non-zero dark

    ModuleGrid() = default;
    ModuleGrid(int columns, int rows);
    bool isNull() const { return columns <= 0 || rows <= 0 || cells.empty(); }
    bool dark(int x, int y) const { return cells[size_t(y) * size_t(columns) + size_t(x)] != 0; }
    void set(int x, int y, bool dark) { cells[size_t(y) * size_t(columns) + size_t(x)] = dark ? 1 : 0; }
    // The grid with `modules` light modules added on every side.
    ModuleGrid withBorder(int modules) const;
};

// Most pixels one symbol image may have. The image is kept at one byte a
// pixel, framed once into a 32-bit image and shown scaled down, so a symbol
// at this bound stays far below the program's 100-million-pixel limit.
constexpr double kMaxSymbolImagePixels = 16.0e6;

// The reason a symbol image of `pixels` is refused at `dpi`, for the user.
QString Symbol_Too_Large_Reason(QSize pixels, double dpi);

struct ModuleColours {
    QRgb dark = qRgba(0, 0, 0, 255);
    QRgb light = qRgba(255, 255, 255, 255);
    QRgb margin = qRgba(255, 255, 255, 0);   // pixels outside the symbol
};

// Paints `grid` into an image of `pixels`, the grid filling the rectangle
// `symbol` (pixels) and everything outside it in the margin colour. Grid
// column x spans the pixels from floor(x * w / columns) to floor((x + 1) * w
// / columns) of the rectangle's width w, rows alike, so every module is made
// of whole pixels. The image is `points` in size and records the resolution
// that gives. Null for an empty grid or size; null, with `refused` set to the
// reason, when the image would have more than kMaxSymbolImagePixels (the
// reason names `dpi`, the resolution the user chose, when it is given).
PtImage Module_Grid_Image(const ModuleGrid& grid, QSize pixels, QRect symbol, QSizeF points,
                          const ModuleColours& colours = {}, QString* refused = nullptr,
                          double dpi = 0.0);

// Pixels of a side of `points` at `dpi` (ceil(dpi x points / 72)); one
// pixel a point, rounded up, when `dpi` is 0 or less (a draft while typing).
int Pixels_For(double points, double dpi);
