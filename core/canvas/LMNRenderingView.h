#pragma once
// The off-screen renderer of cards: a list of items drawn between the card
// base (below) and the card border (above), as PDF data, as a whole-card
// image, or the items alone as TIFF data. It needs no widget and draws on the
// calling thread.
#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

#include "core/model/LMNGraphic.h"
#include "platform/PtImage.h"

class MainWindowServices;
class QPainter;

class LMNRenderingView {
public:
    // The list is copied; the items are shared, not copied. `card` draws the
    // card's base and border (none: the items alone); without it, the main
    // window entered in the services struct app/ fills draws them.
    LMNRenderingView(MainWindowServices* card, const QRectF& frame, const QList<LMNGraphic*>& graphics,
                     const QString& printJobTitle = QString());
    LMNRenderingView(const QRectF& frame, const QList<LMNGraphic*>& graphics, const QString& printJobTitle = QString());

    QRectF frame() const { return _frame; }
    QRectF bounds() const { return QRectF(QPointF(0, 0), _frame.size()); }
    bool isFlipped() const { return true; }
    bool isOpaque() const { return false; }
    QString printJobTitle() const { return _printJobTitle; }
    const QList<LMNGraphic*>& graphics() const { return _graphics; }

    // Card base, then the visible items whose print flag is 0 from the last to
    // the first (the first lies on top), then the card border. A failure is
    // shown to the user and ends the drawing there.
    void drawRect(QPainter& painter, const QRectF& rect);

    // One page of the rectangle's size in points, drawn by drawRect.
    QByteArray dataWithPDFInsideRect(const QRectF& rect);

    // PDF data of the whole card (the canvas's bounds) with these items, the
    // card drawn by `card` (by default the main window app/ entered).
    static QByteArray pdfDataWithGraphics_data(const QList<LMNGraphic*>& graphics, MainWindowServices* card);
    static QByteArray pdfDataWithGraphics_data(const QList<LMNGraphic*>& graphics);
    // TIFF data (72 dpi, one pixel a point) of the items alone over their
    // drawing bounds, whatever their print flag or visibility; empty with
    // error code 3 when those bounds are empty.
    static QByteArray tiffDataWithGraphics(const QList<LMNGraphic*>& graphics, LMNError* error = nullptr);
    // The whole card as a vector image of the canvas's size in points; null
    // after a failure. `print_box` is kept for callers; both answers are vector.
    static PtImage image_From_Card_Graphics(const QList<LMNGraphic*>& graphics, bool print_box);

    // The card rectangle: the canvas view's bounds, or the zero rectangle
    // when there is none (or no card window).
    static QRectF Card_Frame(const MainWindowServices* card);
    static QRectF Card_Frame();

private:
    QRectF _frame;
    QList<LMNGraphic*> _graphics;
    QString _printJobTitle;
    MainWindowServices* _card = nullptr;
};

// The whole card with these items, titled "Print"; null when no list is given.
PtImage image_From_Card_Graphics(const QList<LMNGraphic*>* graphics);

// Makes the document's PDF and TIFF data come from this renderer (done at
// start-up; callable again after a test replaced it).
void Install_Document_Picture_Data_Source();
