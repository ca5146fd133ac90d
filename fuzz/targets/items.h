#pragma once
// What the program does with an item it has read: draw it, hit-test it, take
// its drawing bounds, and archive it again (the next undo step); the archive
// written must read back to the same archive.
#include "core/model/LMNGraphic.h"
#include "fuzz/FuzzSupport.h"

#include <QImage>
#include <QPainter>

inline void Fuzz_Use_Item(LMNGraphic& item)
{
    static QImage canvas(48, 48, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&canvas);
        p.scale(0.25, 0.25);
        item.drawContentsInView(p, nullptr, false);
    }
    (void)item.drawingBounds();
    (void)item.isContentsUnderPoint(QPointF(10, 10));
    (void)item.handleUnderPoint(item._bounds.topLeft());
    const QByteArray again = item.encodeWithCoder();
    std::unique_ptr<LMNGraphic> back = LMNGraphic::initWithCoder(again);
    Fuzz_Check(back != nullptr, "an archive written reads back");
    Fuzz_Check(back->encodeWithCoder() == again, "an archive read back writes the same archive");
}
