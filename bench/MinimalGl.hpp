#pragma once
// The minimal GL program the frame figures are measured against: it draws a draw list as directly as
// OpenGL 3.3 allows, all of a frame's vertices in one upload and one draw call per change of picture,
// blend mode or colour, glyphs from one atlas, nearest sampling wherever a picture lands unscaled on
// whole pixels. Either into an offscreen framebuffer of its own context, or into whatever framebuffer
// is bound (a GL area's) with the context the caller made current.

#include "bench/DrawList.hpp"

#include <epoxy/gl.h>

#include <vector>

class TMinimalGl {
  public:
    // Needs a current GL 3.3 context; uploads every picture. False when the program cannot be built.
    bool Init(const TDrawList& list);
    // Draws the whole list into the bound framebuffer, which has the canvas's size.
    void Draw(int width, int height);

  private:
    struct TVertex {
        float x, y, u, v;
    };
    struct TPlace {
        GLuint texture = 0;
        float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
        bool coverage = false;
        bool filtered = false;
    };
    const TDrawList* list = nullptr;
    std::vector<TPlace> places;
    std::vector<TVertex> vertices;
    GLuint program = 0, vao = 0, vbo = 0, nearest = 0, linear = 0;
    GLint canvasSize = -1, colour = -1, paint = -1, blend = -1;
};
