// Binary property lists (the pasteboard, the document's data). The input is
// read as it stands; its seeds are binary lists.
#include "fuzz/targets/plist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return Fuzz_Plist(data, size); }
