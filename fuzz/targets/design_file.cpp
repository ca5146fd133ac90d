// Design files: seeds are card designs.
#include "fuzz/targets/design_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return Fuzz_Design_File(data, size); }
