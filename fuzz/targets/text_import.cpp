// Text, CSV and RTF files imported into series and lists.
#include "data/TextImport.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    const QByteArray bytes = Fuzz_Bytes(data, size);
    QString text;
    if (Decode_Text_File(bytes, &text)) {
        (void)Split_Text_Lines(text);
        (void)Parse_CSV(text);
    }
    bool ok = false;
    (void)Rtf_To_Plain_Text(bytes, &ok);
    return 0;
}
