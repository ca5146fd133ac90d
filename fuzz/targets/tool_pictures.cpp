// Pictures for the image tools: decoded whole and as a reduced preview, with
// the camera's orientation applied.
#include "fuzz/FuzzSupport.h"
#include "imagetools/picture/PictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    const QByteArray bytes = Fuzz_Bytes(data, size);
    for (int maxSide : {0, 200}) {
        const DecodedPicture p = Decode_Picture_Data(bytes, maxSide);
        if (!p.ok())
            continue;
        Fuzz_Check(qint64(p.image.width()) * p.image.height() <= Picture_Pixel_Limit, "pictures keep the limit");
        if (maxSide > 0)
            Fuzz_Check(std::max(p.image.width(), p.image.height()) <= maxSide, "a preview keeps its size");
    }
    (void)Exif_Orientation(reinterpret_cast<const uchar*>(data), qsizetype(size));
    return 0;
}
