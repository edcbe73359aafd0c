#pragma once
// Pixels of an image: frames of equal size, RGBA, straight alpha, rows top to bottom.
// Shared by reference; the renderer keeps one texture per frame beside the pixels and uploads them again
// after a grab. An image that goes away hands its textures back through ReleaseTextures.

#include <cstdint>
#include <vector>

struct TImageData {
    int width = 0;  // of one frame
    int height = 0; // of one frame
    int frames = 0;
    int flags = 0;
    std::vector<std::vector<uint8_t>> pixels; // one RGBA buffer per frame
    std::vector<unsigned> textures;           // renderer's texture of each frame, 0 until first drawn
    bool dirty = true;                        // pixels changed since the uploads: upload again when drawn
    uint64_t version = 0;                     // raised whenever the pixels change after the image is made

    TImageData() = default;
    TImageData(const TImageData&) = delete;
    TImageData& operator=(const TImageData&) = delete;
    ~TImageData();

    // With the masked flag, makes every pure black pixel of the frame fully transparent.
    void ApplyMask(int frame);
    // Whether no pixel of the frame lets anything beneath show through; worked out once per version.
    bool Opaque(int frame) const;

  private:
    mutable std::vector<int8_t> opaque; // per frame: -1 not worked out yet
    mutable uint64_t opaqueVersion = 0;
};

// Set by the renderer: takes back texture names of images and fonts that are gone. None on headless.
extern void (*ReleaseTextures)(const std::vector<unsigned>& textures);
