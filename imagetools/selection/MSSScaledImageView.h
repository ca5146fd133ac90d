#pragma once
// A picture view that shows its picture scaled and aligned inside its frame
// and can tell where the picture is drawn and at what scale, so that a
// selection canvas can lie exactly over the picture.
//
// Coordinates are the widget's own: origin at the top-left, y growing
// downward, like the rows of the picture. Nothing is flipped anywhere.
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QUrl>
#include <QWidget>

class MSSScaledImageView : public QWidget {
    Q_OBJECT
public:
    // Scaling modes.
    enum { ScaleProportionallyDown = 0, ScaleAxesIndependently = 1, ScaleNone = 2, ScaleProportionallyUpOrDown = 3 };
    // Alignments.
    enum {
        AlignCenter = 0, AlignTop = 1, AlignTopLeft = 2, AlignTopRight = 3, AlignLeft = 4,
        AlignBottom = 5, AlignBottomLeft = 6, AlignBottomRight = 7, AlignRight = 8
    };

    explicit MSSScaledImageView(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    void setImageScaling(int scaling);
    int imageScaling() const { return m_scaling; }
    void setImageAlignment(int alignment);
    int imageAlignment() const { return m_alignment; }
    // Width of the frame drawn around the picture; the drawing rectangle is
    // the bounds less this on every side.
    void setFrameInset(int inset);

    // The file the picture was dragged from (set when a file drag enters).
    void setFileURL(const QUrl& url) { m_fileURL = url; }
    QUrl fileURL() const { return m_fileURL; }

    // The bounds less the frame.
    QRectF drawingRectForBounds() const;
    // How much the shown picture is scaled on each axis.
    QSizeF imageRatio() const;
    // The same for the picture at its full resolution.
    QSizeF originalImageRatio() const;
    // The shown picture at its full resolution: the file of fileURL read
    // whole when it is a picture, else the shown picture itself.
    QImage originalImage() const;
    // Where the picture is drawn, in the view's coordinates; the zero
    // rectangle when there is no picture or it is less than one pixel.
    QRectF scaledImageRect() const;

    // Drag entry: a drag that carries file URLs and offers more than a copy
    // is accepted as a copy and its first URL remembered.
    void dragEnterEvent(QDragEnterEvent* event) override;

signals:
    // The picture, its size, the scaling, the alignment or the view's size changed.
    void displayChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSizeF ratioFor(QSizeF pictureSize) const;

    QImage m_image;
    int m_scaling = ScaleProportionallyDown;
    int m_alignment = AlignCenter;
    int m_inset = 0;
    QUrl m_fileURL;
};
