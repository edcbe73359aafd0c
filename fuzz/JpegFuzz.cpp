// The JPEG decoder over the input.
#include "fuzz/DecoderFuzz.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodeAs({"\xFF\xD8\xFF", 3}, data, size);
    return 0;
}
