// The barcode road: a type name of the 22, settings within the ranges of the
// barcode controls, and any value, header and footer. The finished picture is
// drawn as the preview draws it.
#include "barcode/generation/BarcodeRoad.h"
#include "fuzz/targets/road_input.h"

#include <QImage>
#include <QPainter>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    FuzzReader reader(data, size);
    const RoadInput in = Read_Road_Input(reader);
    const BarcodeMakeResult r = Make_Barcode(in.s, in.value, in.header, in.footer);
    if (!r.image.isNull()) {
        static QImage preview(64, 64, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&preview);
        r.image.draw(p, QRectF(0, 0, 64, 64));
    }
    return 0;
}
