#pragma once
// The off-screen barcode view: lays out and draws one finished barcode, either
// a linear or postal symbol (drawn module by module from its bar string) or a
// ready 2D symbol image, framed with the caption, a header and a footer.
//
// The view never reads a window: it draws with the settings value it is given
// (a copy taken by the generation road), so it works on any thread. It is
// never shown; callers ask it for a picture, PDF data or pixels.
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QPicture;
class ZBBarcode;

// What the view reads of a linear symbol, gathered once (lengths in points,
// text heights in inches).
struct LinearSymbol {
    QByteArray bars;            // complete bar string: '1' bar module, '0' space module
    double barWidth = 0.0;      // points per module
    double width = 0.0;         // outer width of the symbol
    double height = 0.0;        // outer height, texts included
    bool printsCaption = false;
    bool printsHeader = false;
    bool printsFooter = false;
    double captionHeight = 0.0;
    double headerHeight = 0.0;
    double footerHeight = 0.0;
    double headerWidth = 0.0;
    double footerWidth = 0.0;
    QString caption;
    QString leftCaption;
    QString rightCaption;
    QString header;
    QString footer;
    // Top of the bars and raised foot, by the index of the last module of a run.
    std::vector<double> barTop;
    std::vector<double> barBottom;
    // Four-state postal symbols: every bar stands on its own foot.
    bool raiseFeet = false;
};

// Reads everything the view needs from an engine object; the margins that
// place the bars are those of `settings`.
LinearSymbol Linear_Symbol_From_Barcode(const ZBBarcode& barcode, const BarcodeSettings& settings);

class ZBBarcodeOffscreenView {
public:
    // A linear symbol. The frame is as wide as the widest of the printed
    // header, the printed footer and the symbol, and as high as the symbol.
    ZBBarcodeOffscreenView(const LinearSymbol& symbol, const BarcodeSettings& settings);
    // A ready 2D symbol image framed by the settings' `width` x `height`.
    ZBBarcodeOffscreenView(const PtImage& image_2d, const BarcodeSettings& settings);

    static ZBBarcodeOffscreenView initWithBarcode(const ZBBarcode& barcode,
                                                  const BarcodeSettings& settings);
    static ZBBarcodeOffscreenView initWithBarcodeImage(const PtImage& image,
                                                       const BarcodeSettings& settings);

    QRectF bounds() const { return m_bounds; }
    bool fromImageOrBarcode() const { return m_fromImage; }
    const PtImage& barcode_Image_2D() const { return m_image2d; }
    void setBarcode_Image_2D(const PtImage& image) { m_image2d = image; }
    const LinearSymbol& barcode() const { return m_symbol; }
    void setBarcode(const LinearSymbol& symbol) { m_symbol = symbol; }

    // Draws the whole view into a painter whose coordinates are points with
    // the origin at the view's top-left corner (y downward).
    void drawRect(QPainter& painter) const;

    // The drawing recorded as a vector picture, in points.
    QPicture picture() const;

    // The view in pixels at `dpi`, as raster images are made: every bar and
    // every 2D module on whole pixels. A module takes max(1, round(module x
    // dpi / 72)) pixels, the same for all; where the modules need more
    // pixels than the frame gives, the image grows (the margins and texts
    // keep their sizes); else it is ceil(dpi x points / 72) pixels a side.
    // Null for an empty view or more than 100 million pixels.
    QImage rasterAt(double dpi) const;

    // A one-page PDF of the given rectangle of the view (normally its bounds);
    // empty when it could not be made.
    QByteArray dataWithPDFInsideRect(const QRectF& rect) const;

    // Printing: always one page; the page of a linear symbol is the symbol's
    // own width and height, that of a 2D image is empty.
    bool knowsPageRange(int& first, int& count) const;
    QRectF rectForPage(int page) const;

private:
    // Where the view is laid out: the frame in points and, when drawn for
    // pixels, the whole-pixel placement of the bars or the 2D symbol.
    struct Geometry {
        double BW = 0.0;        // frame width, points
        double H = 0.0;         // frame height, points
        double m = 0.0;         // module width of a linear symbol, points
        double x0 = 0.0;        // left edge of a linear symbol, points
        double pxPerPt = 0.0;   // > 0: the painter is scaled by this many pixels a point
        int x0px = 0;           // left edge of a linear symbol, pixels
        int modulePx = 0;       // module width of a linear symbol, pixels
        QImage symbolPixels;    // the 2D symbol, made for the pixels
        QPoint symbolAt;        // its top-left corner, pixels
    };
    Geometry nominalGeometry() const;
    void drawLinear(QPainter& painter, const Geometry& g) const;
    void draw2D(QPainter& painter, const Geometry& g) const;

    LinearSymbol m_symbol;
    PtImage m_image2d;
    BarcodeSettings m_settings;
    QRectF m_bounds;
    bool m_fromImage = false;
};
