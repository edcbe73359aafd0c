#include "fuzz/DecoderFuzz.hpp"

#include "fuzz/FuzzCheck.hpp"
#include "platform/ImageDecoder.hpp"

#include <cstring>
#include <vector>

void DecodeAs(const std::string& signature, const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    // Compared as bytes: a signature byte above 127 is negative as a char.
    if (size < signature.size() || std::memcmp(signature.data(), data, signature.size()) != 0)
        bytes.insert(bytes.begin(), signature.begin(), signature.end());
    TImageDecoder picture;
    if (picture.DecodeBytes(bytes.data(), bytes.size())) {
        Require(TImageDecoder::SizeAllowed(picture.width, picture.height), "a decoded size is allowed");
        Require(picture.rgba.size() == size_t{4} * picture.width * picture.height, "four bytes a pixel");
    } else {
        Require(picture.rgba.empty() && picture.width == 0 && picture.height == 0,
                "a failure leaves it empty");
    }
}
