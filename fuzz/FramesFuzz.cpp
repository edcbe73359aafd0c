// LoadFrames over an image file: the input's first bytes give the frame width and height, the first frame,
// the frame count (each a signed 16-bit number, least significant byte first) and the flags; the rest is
// the file.
#include "fuzz/FuzzCheck.hpp"
#include "fuzz/FuzzFolder.hpp"
#include "platform/ImageData.hpp"
#include "platform/Platform.hpp"

namespace {

constexpr size_t Header = 9;

int Signed16(const uint8_t* p) {
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TFuzzFolder::Enter();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < Header) return 0;
    const int width = Signed16(data);
    const int height = Signed16(data + 2);
    const int first = Signed16(data + 4);
    const int count = Signed16(data + 6);
    const int flags = static_cast<int8_t>(data[8]);
    const std::string path = TFuzzFolder::Write("input.img", data + Header, size - Header);
    const TImage image = LoadFrames(path, width, height, first, count, flags);
    if (image == nullptr) return 0;
    Require(image->width == width && image->height == height && image->frames == count, "the asked frames");
    for (const auto& frame : image->pixels)
        Require(frame.size() == size_t{4} * width * height, "four bytes a pixel in every frame");
    return 0;
}
