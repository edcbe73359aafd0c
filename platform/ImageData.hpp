#pragma once
// Pixels of an image: frames of equal size, RGBA, straight alpha, rows top to bottom.
// Shared by reference; the renderer keeps its texture beside the pixels and re-uploads after a grab.

#include <cstdint>
#include <vector>

struct TImageData {
    int width = 0;  // of one frame
    int height = 0; // of one frame
    int frames = 0;
    int flags = 0;
    std::vector<std::vector<uint8_t>> pixels; // one RGBA buffer per frame
    unsigned texture = 0;                     // renderer's texture name, 0 until uploaded
    bool dirty = true;                        // pixels changed since the upload
};
