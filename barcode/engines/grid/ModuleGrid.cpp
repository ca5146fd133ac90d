#include "barcode/engines/grid/ModuleGrid.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

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

ModuleGridLayout Module_Grid_Layout(const ModuleGrid& grid, QSizeF points, QRectF symbol, double dpi)
{
    ModuleGridLayout l;
    if (grid.isNull() || !(points.width() > 0.0) || !(points.height() > 0.0) || !(symbol.width() > 0.0)
        || !(symbol.height() > 0.0))
        return l;
    const double k = dpi > 0.0 ? dpi / 72.0 : 1.0;
    auto px = [&](double pt) { return int(std::lround(std::max(0.0, pt) * k)); };
    l.modulePxX = std::max(1, px(symbol.width() / grid.columns));
    l.modulePxY = std::max(1, px(symbol.height() / grid.rows));
    const int left = px(symbol.left());
    const int top = px(symbol.top());
    const int right = px(points.width() - symbol.right());
    const int bottom = px(points.height() - symbol.bottom());
    l.symbol = QRect(left, top, grid.columns * l.modulePxX, grid.rows * l.modulePxY);
    l.pixels = QSize(left + l.symbol.width() + right, top + l.symbol.height() + bottom);
    return l;
}

namespace {

// The pixels of a layout: one byte a pixel (0 margin, 1 light, 2 dark).
QImage Paint_Grid(const ModuleGrid& grid, const ModuleGridLayout& l, const ModuleColours& colours)
{
    QImage img(l.pixels, QImage::Format_Indexed8);
    if (img.isNull())
        return {};
    img.setColorTable({colours.margin, colours.light, colours.dark});
    img.fill(0);
    const int mx = l.modulePxX;
    std::vector<uchar> line(static_cast<size_t>(l.symbol.width()));
    for (int y = 0; y < grid.rows; ++y) {
        for (int x = 0; x < grid.columns; ++x)
            std::fill(line.begin() + x * mx, line.begin() + (x + 1) * mx, uchar(grid.dark(x, y) ? 2 : 1));
        for (int py = 0; py < l.modulePxY; ++py)
            std::memcpy(img.scanLine(l.symbol.y() + y * l.modulePxY + py) + l.symbol.x(), line.data(), line.size());
    }
    return img;
}

// Most pixels an image made again at another resolution may have (the
// program's limit for a symbol image).
constexpr double kMaxRemadePixels = 100.0e6;

} // namespace

PtImage Module_Grid_Image(const ModuleGrid& grid, QSizeF points, QRectF symbol, double dpi,
                          const ModuleColours& colours, QString* refused)
{
    const ModuleGridLayout l = Module_Grid_Layout(grid, points, symbol, dpi);
    if (l.pixels.isEmpty())
        return {};
    if (double(l.pixels.width()) * double(l.pixels.height()) > kMaxSymbolImagePixels) {
        if (refused)
            *refused = Symbol_Too_Large_Reason(l.pixels, dpi > 0.0 ? dpi : 72.0);
        return {};
    }
    QImage img = Paint_Grid(grid, l, colours);
    if (img.isNull())
        return {};
    const double pxPerPoint = l.pixels.width() / points.width();
    const int dpm = int(std::lround(pxPerPoint * 72.0 / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    PtImage out(img, points);
    auto kept = std::make_shared<const ModuleGrid>(grid);
    out.setRasterMaker([kept, points, symbol, colours](double at) -> QImage {
        const ModuleGridLayout l2 = Module_Grid_Layout(*kept, points, symbol, at);
        if (l2.pixels.isEmpty() || double(l2.pixels.width()) * double(l2.pixels.height()) > kMaxRemadePixels)
            return {};
        return Paint_Grid(*kept, l2, colours).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    });
    return out;
}
