#pragma once
// A TrueType face at one pixel size, with its rasterized glyphs cached for measuring and drawing.
// Shared by reference (TFont); LoadFont gives none when the file is missing or not a font.
// The renderer packs the cached glyphs into an atlas texture of its own, kept here beside the face.

#include "platform/Platform.hpp"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;

struct TGlyph {
    int width = 0; // bitmap size in pixels
    int height = 0;
    int left = 0;                  // from the pen position to the bitmap's left edge
    int top = 0;                   // from the baseline up to the bitmap's top row
    int advance = 0;               // whole pixels to the next pen position
    std::vector<uint8_t> coverage; // width * height bytes, 0 empty .. 255 covered, rows top to bottom
    int atlasX = -1;               // renderer's place of the bitmap in the atlas, -1 until packed
    int atlasY = -1;
};

struct TFontData {
    FT_FaceRec_* face = nullptr;
    int pixelSize = 0;
    bool smoothed = true;
    int ascent = 0;     // baseline below the top of a line
    int lineHeight = 0; // TextHeight
    std::unordered_map<char32_t, TGlyph> glyphs;
    // The renderer's atlas: texture name, size, and the shelf it is filling.
    unsigned atlas = 0;
    int atlasSize = 0;
    int shelfX = 0;
    int shelfY = 0;
    int shelfHeight = 0;

    TFontData() = default;
    TFontData(const TFontData&) = delete;
    TFontData& operator=(const TFontData&) = delete;
    ~TFontData();

    // The glyph of a code point, rasterized on first use (a code point the face lacks gets its box).
    // Valid until the next call: a cache grown too large is emptied so odd texts cannot grow it for ever.
    TGlyph& Glyph(char32_t code);
};

// The font text is measured and drawn in: the current target's, else the platform's default font.
// None only when not even the default font could be loaded.
TFontData* ActiveFont(const TFont& chosen);
// Code points of UTF-8 text; a malformed byte becomes U+FFFD.
std::u32string DecodeUtf8(const std::string& text);
