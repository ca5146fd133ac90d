#pragma once
// Off-screen maker of PDF417 symbol images.
//
// The barcode windows own one each: they give it the frame size the user
// chose, call drawWithText() with the value and, when that returns 0, take
// the image with getImage(). The symbol is stretched over the frame: one
// pixel a module across and one a codeword row down while the user types,
// else the frame's pixels at the output resolution of the settings.
#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "barcode/engines/pdf417/Pdf417.h"
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

class QPainter;

class pdf417View {
public:
    enum State { ImageReady = 0, NothingToShow = 1, EncodingFailed = 2 };

    // initWithFrame: error level 2, nothing to show.
    explicit pdf417View(QSizeF frame = QSizeF());
    ~pdf417View();
    pdf417View(const pdf417View&) = delete;
    pdf417View& operator=(const pdf417View&) = delete;

    void setFrameSize(QSizeF size) { m_frame = size; }
    QSizeF frameSize() const { return m_frame; }

    // Encodes the text (Latin-1; other characters fail) with the output
    // resolution and typing flag of `settings`; returns the image state.
    int drawWithText(const QString& text, const BarcodeSettings& settings);
    // The same for raw bytes.
    int drawWithBytes(const QByteArray& bytes, const BarcodeSettings& settings);

    // Paints the view: the image, light grey when empty, the failure text.
    void drawRect(QPainter& painter, const QRectF& bounds) const;

    PtImage getImage() const { return pdf417Image; }
    void setErrorLevel(int level);
    int getErrorLevel() const { return errorLevel; }
    // Why the last drawing gave no image although the text was encoded (the
    // image would have been too large); empty otherwise.
    QString refusedReason() const { return m_refused; }
    int imageState() const { return m_imageState; }

    void toggleTargetState();
    void toggleSourceState();
    bool getTargetState() const { return isDragTarget; }
    bool getSourceState() const { return isDragSource; }

    // The encoder record of the last encoding (rows, columns, level, bits).
    const pdf417::pdf417param& param() const { return p; }

    // The symbol as Encapsulated PostScript (the bit matrix as an image operator).
    QByteArray makeEPS() const;

    static const char* failureText() { return "There was a problem drawing the barcode."; }

private:
    void _drawEmptyString();
    void _eraseOldDrawing();

    PtImage pdf417Image;
    pdf417::pdf417param p;
    bool dragSessionInProgress = false;
    int errorLevel = 2;
    bool isDragTarget = false;
    bool isDragSource = false;
    int m_imageState = NothingToShow;
    QSizeF m_frame;
    QByteArray m_bits;   // copy of the bit matrix the image was made from
    int m_bitColumns = 0;
    int m_rows = 0;
    QString m_refused;
};
