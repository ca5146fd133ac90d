#include "barcode/engines/view/BarcodeImage.h"

#include "barcode/engines/grid/ModuleGrid.h"

#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <cmath>

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
    const PtImage& symbol = view.barcode_Image_2D();
    if (view.fromImageOrBarcode() && !symbol.isVector() && !symbol.isNull()
        && symbol.size().width() > 0.0) {
        // A raster symbol is framed at its own resolution: the frame becomes a
        // bitmap with as many pixels per point as the symbol has.
        double scale = std::max(1.0, symbol.raster().width() / symbol.size().width());
        double pw = std::ceil(b.width() * scale);
        double ph = std::ceil(b.height() * scale);
        if (pw * ph > kMaxFramePixels) {
            scale = std::max(1.0, std::sqrt(kMaxFramePixels / (b.width() * b.height())));
            pw = std::ceil(b.width() * scale);
            ph = std::ceil(b.height() * scale);
        }
        if (pw * ph > kMaxFramePixels * 1.05)
            return {};
        QImage out(int(pw), int(ph), QImage::Format_ARGB32_Premultiplied);
        if (out.isNull())
            return {};
        out.fill(Qt::transparent);
        const int dpm = int(std::lround(scale * 72.0 / 0.0254));
        out.setDotsPerMeterX(dpm);
        out.setDotsPerMeterY(dpm);
        {
            QPainter p(&out);
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
            p.scale(scale, scale);
            view.drawRect(p);
        }
        return PtImage(out, b.size());
    }
    return PtImage(view.picture(), b.size());
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
