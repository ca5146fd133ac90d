// Gathers what the off-screen barcode view reads of a linear engine object.
#include "barcode/engines/view/ZBBarcodeOffscreenView.h"

#include "barcode/engines/linear/ZBBarcode.h"


LinearSymbol Linear_Symbol_From_Barcode(const ZBBarcode& barcode, const BarcodeSettings&)
{
    LinearSymbol s;
    const std::string bars = barcode.completeBarcode();
    s.bars = QByteArray(bars.data(), qsizetype(bars.size()));
    s.barWidth = barcode.barWidth();
    s.width = barcode.width();
    s.height = barcode.height();
    s.printsCaption = barcode.printsCaption();
    s.printsHeader = barcode.printsHeader();
    s.printsFooter = barcode.printsFooter();
    s.captionHeight = barcode.captionHeight();
    s.headerHeight = barcode.headerHeight();
    s.footerHeight = barcode.footerHeight();
    s.headerWidth = barcode.headerWidth();
    s.footerWidth = barcode.footerWidth();
    s.caption = barcode.caption();
    s.leftCaption = barcode.leftCaption();
    s.rightCaption = barcode.rightCaption();
    s.header = barcode.header();
    s.footer = barcode.footer();
    const size_t n = bars.size();
    s.barTop.assign(n, 0.0);
    s.barBottom.assign(n, 0.0);
    if (barcode.hasBarExtents()) {
        for (size_t i = 0; i < n; ++i) {
            if (bars[i] != '1')
                continue;
            s.barTop[i] = barcode.barTop(int(i));
            s.barBottom[i] = barcode.barBottom(int(i));
        }
    } else if (n > 0) {
        // Every bar alike: read the extent once.
        const double top = barcode.barTop(0);
        const double bottom = barcode.barBottom(0);
        for (size_t i = 0; i < n; ++i) {
            s.barTop[i] = top;
            s.barBottom[i] = bottom;
        }
    }
    // The four-state postal symbols stand every bar on its own foot, so that
    // trackers, ascenders and descenders all differ.
    s.raiseFeet = barcode.isFourState();
    return s;
}
