// The document's own data: read, written again, read again.
#include "core/model/LMNDocument.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    Fuzz_Install_Barcode_Road();
    LMNDocument doc;
    if (!doc.readFromData(Fuzz_Bytes(data, size), LMNDocumentNewTypeName))
        return 0;
    const QByteArray again = doc.dataOfType(LMNDocumentNewTypeName);
    LMNDocument other;
    Fuzz_Check(other.readFromData(again, LMNDocumentOldTypeName), "the document's data written reads back");
    Fuzz_Check(other.graphics().size() == doc.graphics().size(), "every item reads back");
    return 0;
}
