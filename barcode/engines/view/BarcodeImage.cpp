#include "barcode/engines/view/BarcodeImage.h"

#include "barcode/engines/grid/ModuleGrid.h"

#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Largest frame a 2D picture is drawn into, in pixels: a symbol image of
// the largest size with room for its texts.
constexpr double kMaxFramePixels = 2.0 * kMaxSymbolImagePixels;

} // namespace

PtImage Image_Of_View(const ZBBarcodeOffscreenView& view)
{
    const QRectF b = view.bounds();
    if (!(b.width() > 0.0) || !(b.height() > 0.0) || !std::isfinite(b.width())
        || !std::isfinite(b.height()))
        return {};
    // Raster images of the barcode are made from the view itself at the
    // resolution asked, so that bars and modules fall on whole pixels there;
    // a copy of the view goes with the image for that.
    auto kept = std::make_shared<const ZBBarcodeOffscreenView>(view);
    const auto maker = [kept](double dpi) { return kept->rasterAt(dpi); };
    const PtImage& symbol = view.barcode_Image_2D();
    if (view.fromImageOrBarcode() && !symbol.isVector() && !symbol.isNull()
        && symbol.size().width() > 0.0) {
        // A raster symbol is framed at its own resolution: the frame becomes a
        // bitmap with as many pixels per point as the symbol has.
        double scale = std::max(1.0, symbol.raster().width() / symbol.size().width());
        if (std::ceil(b.width() * scale) * std::ceil(b.height() * scale) > kMaxFramePixels)
            scale = std::max(1.0, std::sqrt(kMaxFramePixels / (b.width() * b.height())));
        const QImage out = view.rasterAt(72.0 * scale);
        if (out.isNull() || double(out.width()) * out.height() > kMaxFramePixels * 1.05)
            return {};
        PtImage framed(out, b.size());
        framed.setRasterMaker(maker);
        return framed;
    }
    // Vector: the view draws itself into every painter the image is drawn
    // into, bars as rectangles and texts as text.
    PtImage drawn([kept](QPainter& painter) { kept->drawRect(painter); }, b.size());
    drawn.setRasterMaker(maker);
    return drawn;
}

PtImage imageFromBarcode(const LinearSymbol& symbol, const BarcodeSettings& settings)
{
    return Image_Of_View(ZBBarcodeOffscreenView(symbol, settings));
}

PtImage imageFromBarcode(const ZBBarcode& barcode, const BarcodeSettings& settings)
{
    return Image_Of_View(ZBBarcodeOffscreenView::initWithBarcode(barcode, settings));
}

PtImage imageFromBarcodeImage(const PtImage& image, const BarcodeSettings& settings)
{
    if (image.isNull())
        return {};
    return Image_Of_View(ZBBarcodeOffscreenView::initWithBarcodeImage(image, settings));
}

QByteArray pdfFromBarcode(const ZBBarcode& barcode, const BarcodeSettings& settings)
{
    const ZBBarcodeOffscreenView view = ZBBarcodeOffscreenView::initWithBarcode(barcode, settings);
    return view.dataWithPDFInsideRect(view.bounds());
}
