#pragma once
// An image with a size in points beside its pixels.
//
// A raster image keeps a QImage whose pixel size may be larger than its size
// in points (a 600 DPI symbol of 72 x 72 pt has 600 x 600 pixels). A vector
// image either keeps a QPicture recorded in points, or a painting routine
// that draws it afresh into whatever painter it is drawn into (a barcode:
// its bars as rectangles and its texts as text, so a PDF gets text with its
// font and a printer or a picture of any resolution gets them at its own).
// Either draws into any painter at its size in points, and can be written as
// PDF data or raised to a DPI. A default-constructed PtImage is null (the
// "nil" image of the drawing code).
#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class Drawing_Record;
class QPainter;

class PtImage {
public:
    PtImage() = default;
    // A raster image shown at `pointSize`; an empty size means one point a pixel.
    explicit PtImage(const QImage& image, QSizeF pointSize = QSizeF());
    // A vector image recorded in points, of the given size.
    PtImage(const QPicture& picture, QSizeF pointSize);
    // A vector image of the given size drawn by `painting` into a painter
    // whose units are points, the origin the image's top-left corner. Copies
    // share the routine; it may run on several threads at once, so it only
    // reads what it captured.
    using Painting = std::function<void(QPainter&)>;
    PtImage(Painting painting, QSizeF pointSize);

    bool isNull() const;
    bool isVector() const { return m_isVector; }
    QSizeF size() const { return m_size; }           // in points
    // A new size in points; a raster maker laid out for the old size is dropped.
    void setSize(QSizeF pointSize);

    // The routine that makes the pixels of the image at a resolution, for
    // images laid out for the device they are made for (a barcode places
    // every bar and module on whole pixels, so its pixels at 72 DPI are not
    // its 600 DPI pixels scaled down). toImage() uses it when it gives an
    // image; drawing and PDF data keep the picture or pixels held. Copies
    // share it.
    using RasterMaker = std::function<QImage(double dpi)>;
    void setRasterMaker(RasterMaker maker) { m_rasterMaker = std::move(maker); }
    bool hasRasterMaker() const { return bool(m_rasterMaker); }
    const QImage& raster() const { return m_image; }  // null for a vector image
    // The vector image as a recorded picture (a painted one is recorded the
    // first time it is asked for); drawing never plays it.
    const QPicture& picture() const;
    // Whether the image is drawn by a painting routine.
    bool isPainted() const { return bool(m_painted); }

    // Draws the image scaled into `target` (points of the painter's space).
    void draw(QPainter& painter, const QRectF& target, qreal opacity = 1.0) const;
    // The same, cut at `clip` (the painter's space as well): one clip, the
    // image's own bounds and `clip` together.
    void draw(QPainter& painter, const QRectF& target, qreal opacity, const QRectF& clip) const;

    // The same image with its drawing recorded now, on the calling thread
    // (see platform/DrawingRecord.h): drawing it later only plays the
    // commands back, with no layout of its texts. A batch job's workers make
    // their labels so, for the one thread that draws the pages. A raster
    // image, or a drawing that cannot be recorded whole, is returned as it is.
    PtImage recorded() const;
    bool isRecorded() const { return bool(m_record); }

    // Pixels of the image at `dpi`: ceil(dpi * points / 72) pixels a side,
    // transparent where the image draws nothing. An image with a raster maker
    // is made by it, and may then be somewhat larger or smaller (whole pixels
    // a module). Null above Max_Raster_Pixels (Raster_Refusal says why).
    QImage toImage(double dpi) const;

    // The most pixels one image is made with (a picture of about 400 MB).
    static constexpr double Max_Raster_Pixels = 100.0e6;
    // Why toImage(dpi) makes no image of this size, for the user: the pixels
    // it would take and what to change; "" when it can be made.
    QString Raster_Refusal(double dpi) const;

    // A one-page PDF of the image's size in points; vector content stays vector.
    QByteArray toPdfData() const;

private:
    struct Painted;
    void drawClipped(QPainter& painter, const QRectF& target, qreal opacity, const QRectF* clip) const;
    // The vector picture into `painter`, its units points (no clip).
    void playPicture(QPainter& painter) const;
    QImage m_image;
    QPicture m_picture;
    std::shared_ptr<const Painted> m_painted;
    std::shared_ptr<const Drawing_Record> m_record;
    QSizeF m_size;
    bool m_isVector = false;
    RasterMaker m_rasterMaker;
};
