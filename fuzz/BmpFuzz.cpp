// The BMP decoder over the input.
#include "fuzz/DecoderFuzz.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodeAs({"BM", 2}, data, size);
    return 0;
}
