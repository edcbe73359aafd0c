// The PNG decoder over the input.
#include "fuzz/DecoderFuzz.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodeAs({"\x89PNG\r\n\x1A\n", 8}, data, size);
    return 0;
}
