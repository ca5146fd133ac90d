// The canvas's own pasteboard data: a binary property list of item archives.
#include "fuzz/targets/items.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    Fuzz_Install_Barcode_Road();
    LMNError error;
    const QList<LMNGraphicPtr> items = LMNGraphic::graphicsWithPasteboardData(Fuzz_Bytes(data, size), &error);
    for (const LMNGraphicPtr& item : items)
        Fuzz_Use_Item(*item);
    if (!items.isEmpty()) {
        QList<LMNGraphic*> raw;
        for (const LMNGraphicPtr& item : items)
            raw << item.get();
        (void)LMNGraphic::boundsOfGraphics(raw);
        Fuzz_Check(LMNGraphic::graphicsWithPasteboardData(LMNGraphic::pasteboardDataWithGraphics(raw)).size()
                       == items.size(),
                   "pasted items copy and paste again");
    }
    return 0;
}
