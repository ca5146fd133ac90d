// Picture data: the checked reader of archives and files, and the preview of
// picture data pasted onto the canvas.
#include "core/util/MainWindowServices.h"
#include "fuzz/FuzzSupport.h"
#include "platform/PictureData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    const QByteArray bytes = Fuzz_Bytes(data, size);
    const QImage any = Picture_From_Data(bytes);
    Fuzz_Check(any.isNull() || qint64(any.width()) * any.height() <= Picture_Max_Pixels, "pictures keep the limit");
    const QImage png = Picture_From_Data(bytes, "png");
    if (!png.isNull())
        Fuzz_Check(!Picture_To_Png(png).isEmpty(), "a PNG read can be written");
    (void)MainWindowServices::Get_Image_For_Data(bytes, false);
    return 0;
}
