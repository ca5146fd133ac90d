// A card archive: read, drawn as the card's base and border, archived again.
#include "core/canvas/CardDrawing.h"
#include "core/model/Card_Property.h"
#include "fuzz/FuzzSupport.h"

#include <QImage>
#include <QPainter>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    std::unique_ptr<Card_Property> card = Card_Property::initWithCoder(Fuzz_Bytes(data, size));
    if (!card)
        return 0;
    static QImage canvas(48, 48, QImage::Format_ARGB32_Premultiplied);
    for (int shape = 0; shape < 3; ++shape) {
        QPainter p(&canvas);
        p.scale(0.25, 0.25);
        const QRectF rect(QPointF(0, 0), QSizeF(180, 120));
        Card_Base_Drawing(p, *card, rect, shape);
        Card_Border_Drawing(p, *card, rect, shape);
    }
    const QByteArray again = card->encodeWithCoder();
    std::unique_ptr<Card_Property> back = Card_Property::initWithCoder(again);
    Fuzz_Check(back && back->encodeWithCoder() == again, "a card archive written reads back the same");
    return 0;
}
