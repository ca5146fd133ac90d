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

// Where the pixels of a grid image go at a resolution.
struct ModuleGridLayout {
    QSize pixels;        // the whole image
    QRect symbol;        // the grid's pixels within it
    int modulePxX = 0;   // pixels a module across
    int modulePxY = 0;   // pixels a module down
};

// The layout of `grid` drawn as the rectangle `symbol` (points) of an image
// of `points`, at `dpi` (one pixel a point when 0 or less, a draft while the
// user types). Every module is made of whole pixels and all are alike:
// max(1, round(module x dpi / 72)) pixels each way, the module being the
// symbol's size over the grid's; so no two modules merge and none is wider
// than another. The margins keep their size in points, rounded to pixels. The
// image is as large as that needs: near the points at dpi, larger where the
// modules need more pixels than the points give.
ModuleGridLayout Module_Grid_Layout(const ModuleGrid& grid, QSizeF points, QRectF symbol, double dpi);

// Paints `grid` by that layout: dark and light modules, the margin colour
// outside the symbol. The image is `points` in size; it keeps a routine that
// paints it the same way at any other resolution, so toImage() at another
// DPI still has whole pixels a module. Null for an empty grid or size; null,
// with `refused` set to the reason, when the image would have more than
// kMaxSymbolImagePixels (the reason names `dpi`).
PtImage Module_Grid_Image(const ModuleGrid& grid, QSizeF points, QRectF symbol, double dpi,
                          const ModuleColours& colours = {}, QString* refused = nullptr);

// Pixels of a side of `points` at `dpi` (ceil(dpi x points / 72)); one
// pixel a point, rounded up, when `dpi` is 0 or less (a draft while typing).
int Pixels_For(double points, double dpi);
