// One item archive (undo steps, the design back-up, the document's data).
#include "fuzz/targets/items.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    Fuzz_Install_Barcode_Road();
    std::unique_ptr<LMNGraphic> item = LMNGraphic::initWithCoder(Fuzz_Bytes(data, size));
    if (item)
        Fuzz_Use_Item(*item);
    return 0;
}
