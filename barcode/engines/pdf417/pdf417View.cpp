#include "barcode/engines/pdf417/pdf417View.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "barcode/engines/grid/ModuleGrid.h"


pdf417View::pdf417View(QSizeF frame)
    : m_frame(frame)
{
    pdf417::pdf417init(&p);
    errorLevel = 2;
    _drawEmptyString();
}

pdf417View::~pdf417View()
{
    pdf417::pdf417free(&p);
}

void pdf417View::_drawEmptyString()
{
    m_imageState = NothingToShow;
}

void pdf417View::_eraseOldDrawing()
{
    pdf417Image = PtImage();
    pdf417::pdf417free(&p);
}

void pdf417View::setErrorLevel(int level)
{
    errorLevel = level;
    qInfo("ErrorLevel set to %d", level);
}

void pdf417View::toggleTargetState()
{
    isDragTarget = !isDragTarget;
    qInfo("TargetState set to %d", int(isDragTarget));
}

void pdf417View::toggleSourceState()
{
    isDragSource = !isDragSource;
    qInfo("SourceState set to %d", int(isDragSource));
}

int pdf417View::drawWithText(const QString& text, const BarcodeSettings& settings)
{
    if (text.isEmpty()) {
        _drawEmptyString();
        return m_imageState;
    }
    for (QChar c : text) {
        if (c.unicode() > 0xff) {
            qWarning("Error encountered while drawing barcode: the value has characters outside Latin-1.");
            m_imageState = EncodingFailed;
            return m_imageState;
        }
    }
    return drawWithBytes(text.toLatin1(), settings);
}

int pdf417View::drawWithBytes(const QByteArray& bytes, const BarcodeSettings& settings)
{
    if (bytes.isEmpty()) {
        _drawEmptyString();
        return m_imageState;
    }
    // The bits of the previous image were copied into it: free them now.
    pdf417::pdf417free(&p);
    pdf417::pdf417init(&p);
    p.text = bytes.constData();
    p.lenText = int(std::min<qsizetype>(bytes.size(), pdf417::MAX_TEXT + 1));
    p.options = pdf417::PDF417_USE_ERROR_LEVEL | pdf417::PDF417_INVERT_BITMAP;
    p.errorLevel = errorLevel;
    p.aspectRatio = 1.0f;
    pdf417::paintCode(&p);
    p.text = "";   // the bytes belong to the caller
    if (p.error) {
        qWarning("Error encountered while drawing barcode, error %d.", p.error);
        pdf417::pdf417free(&p);
        m_imageState = EncodingFailed;
        return m_imageState;
    }

    const int bytesPerRow = p.lenBits / p.codeRows;
    // The matrix is inverted: a 0 bit is a bar (dark), a 1 bit a space.
    ModuleGrid grid(p.bitColumns, p.codeRows);
    for (int y = 0; y < p.codeRows; ++y) {
        const unsigned char* row = reinterpret_cast<const unsigned char*>(p.outBits) + y * bytesPerRow;
        for (int x = 0; x < p.bitColumns; ++x)
            grid.set(x, y, (row[x >> 3] & (0x80 >> (x & 7))) == 0);
    }
    m_bits = QByteArray(reinterpret_cast<const char*>(p.outBits), p.lenBits);
    m_bitColumns = p.bitColumns;
    m_rows = p.codeRows;

    QSizeF size = m_frame;
    if (!(size.width() > 0.0) || !(size.height() > 0.0))
        size = QSizeF(p.bitColumns, p.codeRows * double(p.yHeight));
    // Every module and row of whole pixels, alike, at the resolution (one
    // pixel a point while typing); never below one pixel a module: the
    // symbol grows past its frame rather than merge modules.
    const double dpi = settings.Type_draw_2d_flag ? 0.0 : double(std::clamp(settings.USED_DPI_VALUE, 72, 2400));
    m_refused.clear();
    const PtImage image = Module_Grid_Image(grid, size, QRectF(QPointF(0, 0), size), dpi,
                                            ModuleColours{}, &m_refused);
    if (image.isNull()) {
        m_imageState = EncodingFailed;
        return m_imageState;
    }
    pdf417Image = image;
    m_imageState = ImageReady;
    return m_imageState;
}

void pdf417View::drawRect(QPainter& painter, const QRectF& bounds) const
{
    switch (m_imageState) {
    case ImageReady:
        pdf417Image.draw(painter, bounds);
        break;
    case NothingToShow:
        painter.fillRect(bounds, QColor(Qt::lightGray));
        break;
    default:
        painter.fillRect(bounds, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(bounds, Qt::TextWordWrap, QString::fromLatin1(failureText()));
        break;
    }
    if (dragSessionInProgress) {
        painter.setPen(Qt::red);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

QByteArray pdf417View::makeEPS() const
{
    if (m_imageState != ImageReady || m_bits.isEmpty())
        return {};
    const QSizeF b = pdf417Image.size();
    const int bytesPerRow = m_bits.size() / m_rows;
    QByteArray eps;
    eps += "%!PS-Adobe-3.0 EPSF-3.0\n";
    eps += "%%BoundingBox: 0 0 " + QByteArray::number(int(std::ceil(b.width()))) + ' ' + QByteArray::number(int(std::ceil(b.height()))) + '\n';
    eps += "%%Title: PDF417\n%%Creator: Zorv Label\n";
    eps += "%%CreationDate: " + QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1() + '\n';
    eps += "%%EndComments\n";
    eps += QByteArray::number(b.width()) + ' ' + QByteArray::number(b.height()) + " scale\n";
    eps += QByteArray::number(m_bitColumns) + ' ' + QByteArray::number(m_rows) + " 1 [" + QByteArray::number(m_bitColumns)
        + " 0 0 -" + QByteArray::number(m_rows) + " 0 " + QByteArray::number(m_rows) + "]\n{<\n";
    for (int y = 0; y < m_rows; ++y)
        eps += m_bits.mid(y * bytesPerRow, bytesPerRow).toHex() + '\n';
    eps += ">} image\nshowpage\n%%EOF\n";
    return eps;
}
