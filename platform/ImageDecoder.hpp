#pragma once
// Reads a PNG, JPEG or BMP file into one RGBA picture (straight alpha, rows top to bottom).
// The format is told by the file's first bytes, never by its name. Owned by whoever decodes.
// A missing, empty, truncated, corrupt or oversized file gives false and leaves the decoder empty;
// sizes beyond MaxImageSide or MaxImagePixels are refused before any pixel memory is taken. DecodeFile reads
// only a regular file of at most 64 MiB; it warns of any other (see FileBytes.hpp). Whatever a file holds,
// a decode takes no more than the file, the picture (32 MiB at most) and a fixed budget of the library's
// own (64 MiB for libjpeg, a few for libpng), and the decoder's first warning goes to the debug log.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TImageDecoder {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // width * height * 4 bytes

    bool DecodeFile(const std::string& path);
    // The name is what the warnings call the picture.
    bool DecodeBytes(const uint8_t* data, size_t size, const std::string& name = "picture");
    // Whether a picture of this size may be decoded at all.
    static bool SizeAllowed(int64_t width, int64_t height);
};
