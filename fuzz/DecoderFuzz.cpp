#include "fuzz/DecoderFuzz.hpp"

#include "fuzz/FuzzCheck.hpp"
#include "platform/ImageDecoder.hpp"

#include <vector>

void DecodeAs(const std::string& signature, const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    if (size < signature.size() || !std::equal(signature.begin(), signature.end(), data))
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
