#pragma once
// Encapsulated PostScript from ordinary QPainter drawing.
//
// EpsDevice is a paint device whose engine draws through cairo's PostScript
// surface in EPS mode, so the code that paints the screen, PNG and PDF paints
// EPS too. One unit is one point; the bounding box is the device's size
// (0 0 width height), whatever part of it the drawing covers. Paths, text
// (as outlines), solid colours, gradients, images and clipping are kept as
// vector PostScript; what PostScript cannot show (partial transparency) is
// rasterised by cairo at its fallback resolution.
#include <QByteArray>
#include <QPaintDevice>
#include <QSizeF>
#include <QString>

#include <memory>

class PtImage;
class EpsPaintEngine;

class EpsDevice : public QPaintDevice {
public:
    // A device of `points` (each side above 0). Draw into it with one QPainter,
    // end the painter, then take data().
    explicit EpsDevice(QSizeF points);
    ~EpsDevice() override;

    QPaintEngine* paintEngine() const override;
    QSizeF pointSize() const { return m_size; }
    // The EPS file once the painter has ended; empty before, or when cairo failed.
    QByteArray data() const;
    QString errorString() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSizeF m_size;
    std::unique_ptr<EpsPaintEngine> m_engine;
};

// The EPS drawing of an image at its size in points (vector content stays
// vector); empty on failure with the reason in *error.
QByteArray Eps_Data_Of_Image(const PtImage& image, QString* error = nullptr);

// The same written to a file atomically.
bool Write_Eps_File(const QString& path, const PtImage& image, QString* error = nullptr);
