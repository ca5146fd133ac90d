#pragma once
// Encapsulated PostScript, and PDF pages of an exact size, from ordinary
// QPainter drawing.
//
// VectorDevice is a paint device whose engine draws through cairo's
// PostScript surface in EPS mode (EpsDevice) or its PDF surface (PdfDevice),
// so the code that paints the screen and PNG paints these too. One unit is
// one point. An EPS bounding box is the device's size (0 0 width height),
// whatever part of it the drawing covers; a PDF page is the device's size to
// a fraction of a point (QPdfWriter rounds page sizes to whole points, which
// cuts or pads a card whose size is not whole). Paths, text (as outlines),
// solid colours, gradients, images and clipping are kept as vectors; what
// PostScript cannot show (partial transparency) is rasterised by cairo at its
// fallback resolution.
#include <QByteArray>
#include <QPaintDevice>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class PtImage;
class QPainter;
class CairoPaintEngine;

class VectorDevice : public QPaintDevice {
public:
    enum class Format { Eps, Pdf };
    // A device of `points` (each side above 0). Draw into it with one QPainter,
    // end the painter, then take data(). `title` names a PDF document.
    VectorDevice(QSizeF points, Format format, const QString& title = QString());
    ~VectorDevice() override;

    QPaintEngine* paintEngine() const override;
    QSizeF pointSize() const { return m_size; }
    // The file once the painter has ended; empty before, or when cairo failed.
    QByteArray data() const;
    QString errorString() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSizeF m_size;
    std::unique_ptr<CairoPaintEngine> m_engine;
};

class EpsDevice : public VectorDevice {
public:
    explicit EpsDevice(QSizeF points) : VectorDevice(points, Format::Eps) {}
};

class PdfDevice : public VectorDevice {
public:
    explicit PdfDevice(QSizeF points, const QString& title = QString()) : VectorDevice(points, Format::Pdf, title) {}
};

// A one-page PDF of exactly `points` (fractions kept), drawn by `draw` at one
// unit a point from the page's top-left corner; empty on failure with the
// reason in *error.
QByteArray Pdf_Page_Of_Drawing(QSizeF points, const std::function<void(QPainter&)>& draw,
                               const QString& title = QString(), QString* error = nullptr);

// The EPS drawing of an image at its size in points (vector content stays
// vector); empty on failure with the reason in *error.
QByteArray Eps_Data_Of_Image(const PtImage& image, QString* error = nullptr);

// The same written to a file atomically.
bool Write_Eps_File(const QString& path, const PtImage& image, QString* error = nullptr);
