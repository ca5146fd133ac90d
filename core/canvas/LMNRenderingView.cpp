#include "core/canvas/LMNRenderingView.h"

#include "core/model/LMNDocument.h"
#include "core/canvas/CanvasMessages.h"
#include "core/util/MainWindowServices.h"
#include "platform/EpsWriter.h"
#include "platform/Geometry.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QPicture>
#include <cmath>
#include <exception>

namespace {

constexpr int Dots_Per_Meter_72 = 2835; // 72 dots an inch

void Report_Drawing_Failure(const QString& reason)
{
    Canvas_Show_Message(reason);
}

// The card of the renderers made with none at hand (the free functions other
// layers call): the main window app/ entered.
MainWindowServices* App_Card_Window()
{
    return App_Services().Main_App_wnd;
}

} // namespace

LMNRenderingView::LMNRenderingView(MainWindowServices* card, const QRectF& frame, const QList<LMNGraphic*>& graphics,
                                   const QString& title)
    : _frame(frame)
    , _graphics(graphics)
    , _printJobTitle(title)
    , _card(card)
{
}

LMNRenderingView::LMNRenderingView(const QRectF& frame, const QList<LMNGraphic*>& graphics, const QString& title)
    : LMNRenderingView(App_Card_Window(), frame, graphics, title)
{
}

QRectF LMNRenderingView::Card_Frame(const MainWindowServices* card)
{
    return card ? card->graphicViewBounds() : QRectF();
}

QRectF LMNRenderingView::Card_Frame()
{
    return Card_Frame(App_Card_Window());
}

void LMNRenderingView::drawRect(QPainter& painter, const QRectF& rect)
{
    try {
        if (_card)
            _card->Card_Base_Drawing(painter, rect);
        for (qsizetype i = _graphics.size() - 1; i >= 0; --i) {
            LMNGraphic* item = _graphics.at(i);
            if (!item || item->print_object != 0 || !item->ctrl_is_visible)
                continue;
            painter.save();
            item->drawContentsInView(painter, nullptr, false);
            painter.restore();
        }
        if (_card)
            _card->Card_Border_Drawing(painter, rect);
    } catch (const std::exception& e) {
        Report_Drawing_Failure(QString::fromUtf8(e.what()));
    }
}

QByteArray LMNRenderingView::dataWithPDFInsideRect(const QRectF& rect)
{
    if (!(rect.width() > 0) || !(rect.height() > 0))
        return {};
    // The page is the rectangle's exact size (a card is seldom whole points).
    return Pdf_Page_Of_Drawing(
        rect.size(),
        [&](QPainter& painter) {
            painter.translate(-rect.topLeft());
            drawRect(painter, rect);
        },
        _printJobTitle);
}

QByteArray LMNRenderingView::pdfDataWithGraphics_data(const QList<LMNGraphic*>& graphics, MainWindowServices* card)
{
    LMNRenderingView view(card, Card_Frame(card), graphics);
    return view.dataWithPDFInsideRect(view.bounds());
}

QByteArray LMNRenderingView::pdfDataWithGraphics_data(const QList<LMNGraphic*>& graphics)
{
    return pdfDataWithGraphics_data(graphics, App_Card_Window());
}

QByteArray LMNRenderingView::tiffDataWithGraphics(const QList<LMNGraphic*>& graphics, LMNError* error)
{
    const QRectF box = LMNGraphic::drawingBoundsOfGraphics(graphics, QRectF());
    if (pt::Rect_Is_Empty(box) || graphics.isEmpty()) {
        if (error)
            *error = LMNErrorWithCode(3);
        return {};
    }
    // Far too large an area for one picture is refused like an empty one.
    const double w = std::ceil(box.width()), h = std::ceil(box.height());
    if (w * h > 100.0e6) {
        if (error)
            *error = LMNErrorWithCode(3);
        return {};
    }
    QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(Dots_Per_Meter_72);
    image.setDotsPerMeterY(Dots_Per_Meter_72);
    try {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(-box.topLeft());
        for (qsizetype i = graphics.size() - 1; i >= 0; --i) {
            LMNGraphic* item = graphics.at(i);
            if (!item)
                continue;
            painter.save();
            painter.setClipRect(item->drawingBounds(), Qt::IntersectClip);
            item->drawContentsInView(painter, nullptr, false);
            painter.restore();
        }
    } catch (const std::exception& e) {
        Canvas_Log(QString::fromUtf8(e.what()));
        if (error)
            *error = LMNErrorWithCode(3);
        return {};
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "tiff");
    if (!writer.write(image)) {
        if (error)
            *error = LMNErrorWithCode(3);
        return {};
    }
    return data;
}

PtImage LMNRenderingView::image_From_Card_Graphics(const QList<LMNGraphic*>& graphics, bool /*print_box*/)
{
    try {
        const QRectF frame = Card_Frame();
        if (pt::Rect_Is_Empty(frame))
            return {};
        LMNRenderingView view(frame, graphics);
        QPicture picture;
        {
            QPainter painter(&picture);
            view.drawRect(painter, view.bounds());
        }
        return PtImage(picture, frame.size());
    } catch (const std::exception& e) {
        Canvas_Log(QString::fromUtf8(e.what()));
        return {};
    }
}

PtImage image_From_Card_Graphics(const QList<LMNGraphic*>* graphics)
{
    if (!graphics)
        return {};
    const QRectF frame = LMNRenderingView::Card_Frame();
    if (pt::Rect_Is_Empty(frame))
        return {};
    LMNRenderingView view(frame, *graphics, QStringLiteral("Print"));
    QPicture picture;
    {
        QPainter painter(&picture);
        view.drawRect(painter, view.bounds());
    }
    return PtImage(picture, frame.size());
}

void Install_Document_Picture_Data_Source()
{
    Document_Picture_Data_Source = [](const QList<LMNGraphic*>& graphics, bool tiff, LMNError* error) {
        return tiff ? LMNRenderingView::tiffDataWithGraphics(graphics, error)
                    : LMNRenderingView::pdfDataWithGraphics_data(graphics);
    };
}

namespace {
// The document's PDF and TIFF data come from this renderer.
const bool Document_Source_Installed = (Install_Document_Picture_Data_Source(), true);
} // namespace
