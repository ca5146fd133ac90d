// The streaming XML reader on its own: whatever the bytes, and wherever the
// pieces they arrive in end, it hears the same elements and text, and gives
// the same verdict, as when it is given the bytes whole. The first byte of
// the input chooses the piece sizes; the rest is the part.
#include "fuzz/FuzzSupport.h"
#include "tests/data/XmlEvents.h"

#include <vector>

using xmlevents::Read_In_Pieces;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    if (size < 1)
        return 0;
    // Pieces of 1 to 16 bytes in a cycle of four sizes.
    const uint8_t choice = data[0];
    const std::vector<int> sizes = {1 + (choice & 3), 1 + ((choice >> 2) & 7), 1 + (choice >> 5), 13};
    const QByteArray bytes = Fuzz_Bytes(data + 1, size - 1);
    const xmlevents::Read whole = Read_In_Pieces(bytes);
    const xmlevents::Read cut = Read_In_Pieces(bytes, sizes);
    Fuzz_Check(whole.ok == cut.ok, "the verdict does not depend on the pieces");
    Fuzz_Check(whole.error == cut.error, "the fault found does not depend on the pieces");
    if (whole.ok)
        Fuzz_Check(whole.events == cut.events, "what is read does not depend on the pieces");
    return 0;
}
