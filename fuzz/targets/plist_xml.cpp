// Property lists in XML (design files, settings files).
#include "fuzz/targets/plist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return Fuzz_Plist(data, size); }
