#include "barcode/engines/grid/ModuleGrid.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>

ModuleGrid::ModuleGrid(int c, int r) : columns(std::max(0, c)), rows(std::max(0, r))
{
    cells.assign(size_t(columns) * size_t(rows), 0);
}

ModuleGrid ModuleGrid::withBorder(int modules) const
{
    modules = std::max(0, modules);
    ModuleGrid out(columns + 2 * modules, rows + 2 * modules);
    for (int y = 0; y < rows; ++y)
        std::memcpy(&out.cells[size_t(y + modules) * size_t(out.columns) + size_t(modules)],
                    &cells[size_t(y) * size_t(columns)], size_t(columns));
    return out;
}

QString Symbol_Too_Large_Reason(QSize pixels, double dpi)
{
    return QStringLiteral("At %1 DPI the symbol would be %2 x %3 pixels, more than the %4 million "
                          "pixels a symbol image may have: choose a lower DPI or a smaller size.")
        .arg(dpi > 0.0 ? dpi : 72.0, 0, 'f', 0)
        .arg(pixels.width())
        .arg(pixels.height())
        .arg(kMaxSymbolImagePixels / 1.0e6, 0, 'f', 0);
}

int Pixels_For(double points, double dpi)
{
    if (!(points > 0.0) || !std::isfinite(points))
        return 0;
    const double px = dpi > 0.0 ? std::ceil(double(float(dpi * points / 72.0))) : std::ceil(points);
    return px > 1.0e9 ? 1000000000 : int(px);
}

PtImage Module_Grid_Image(const ModuleGrid& grid, QSize pixels, QRect symbol, QSizeF points,
                          const ModuleColours& colours, QString* refused, double dpi)
{
    if (grid.isNull() || pixels.isEmpty() || !(points.width() > 0.0) || !(points.height() > 0.0))
        return {};
    const double count = double(pixels.width()) * double(pixels.height());
    if (count > kMaxSymbolImagePixels) {
        if (refused)
            *refused = Symbol_Too_Large_Reason(pixels, dpi > 0.0 ? dpi : 72.0 * pixels.width() / points.width());
        return {};
    }
    symbol = symbol.intersected(QRect(QPoint(0, 0), pixels));
    if (symbol.isEmpty())
        return {};

    // One byte a pixel: 0 margin, 1 light, 2 dark.
    QImage img(pixels, QImage::Format_Indexed8);
    if (img.isNull())
        return {};
    img.setColorTable({colours.margin, colours.light, colours.dark});
    img.fill(0);

    const int sw = symbol.width();
    const int sh = symbol.height();
    // Pixel spans of the columns, as palette indexes of one grid row.
    std::vector<int> colStart(size_t(grid.columns) + 1);
    for (int x = 0; x <= grid.columns; ++x)
        colStart[size_t(x)] = int((long long)x * sw / grid.columns);
    std::vector<uchar> line(static_cast<size_t>(sw));
    for (int y = 0; y < grid.rows; ++y) {
        const int top = int((long long)y * sh / grid.rows);
        const int bottom = int((long long)(y + 1) * sh / grid.rows);
        if (bottom <= top)
            continue;
        for (int x = 0; x < grid.columns; ++x) {
            const int a = colStart[size_t(x)];
            const int b = colStart[size_t(x) + 1];
            std::fill(line.begin() + a, line.begin() + b, uchar(grid.dark(x, y) ? 2 : 1));
        }
        for (int py = top; py < bottom; ++py)
            std::memcpy(img.scanLine(symbol.y() + py) + symbol.x(), line.data(), size_t(sw));
    }
    const double pxPerPoint = pixels.width() / points.width();
    const int dpm = int(std::lround(pxPerPoint * 72.0 / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    return PtImage(img, points);
}
