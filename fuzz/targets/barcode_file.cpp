// Barcode settings files (the same reader road as designs): seeds are
// barcode-mode settings with their list.
#include "fuzz/targets/design_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return Fuzz_Design_File(data, size); }
