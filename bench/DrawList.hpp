#pragma once
// One frame's drawing as plain data: the pictures it uses and the quads drawn with them, in order.
// Written by the scene bench from what the game drew on the headless backend, read by the minimal GL
// program that the frame bench measures the game's renderer against.

#include <cstdint>
#include <string>
#include <vector>

struct TListImage {
    int width = 0;
    int height = 0;
    bool filtered = false;       // linear sampling; else nearest
    bool coverage = false;       // one byte a pixel (a glyph); else RGBA
    std::vector<uint8_t> pixels; // rows top to bottom
};

enum class TListShape : int { Quad = 0, Oval = 1, Line = 2 };

struct TListDraw {
    int image = -1; // index into images, -1 for flat colour
    TListShape shape = TListShape::Quad;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0; // the quad's corners, or a line's ends
    int blend = 3;                        // the game's blend mode numbers
    uint8_t r = 255, g = 255, b = 255;
};

struct TDrawList {
    std::vector<TListImage> images;
    std::vector<TListDraw> draws;

    bool Write(const std::string& path) const;
    bool Read(const std::string& path);
};
