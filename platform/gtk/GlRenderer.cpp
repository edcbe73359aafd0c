// The 2D renderer: images, primitives and text drawn with OpenGL 3.3 into a canvas's back buffer.
// One program draws everything; what a fragment is made of (flat colour, image, glyph coverage, oval) and
// how it meets the buffer (the five blend modes) are set per call. Draws nothing while no GL can be had.

#include "platform/Backend.hpp"
#include "platform/FontData.hpp"
#include "platform/ImageData.hpp"
#include "platform/gtk/GlCanvas.hpp"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct TVertex {
    float x, y, u, v;
};

enum TPaint : int { PaintColour = 0, PaintImage = 1, PaintGlyphs = 2, PaintOval = 3 };

constexpr int AtlasSize = 1024;
constexpr GLsizeiptr VertexRingBytes = GLsizeiptr{4} << 20;

constexpr const char* VertexSource = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texel;
uniform vec2 canvasSize;
out vec2 uv;
void main() {
    uv = texel;
    // The back buffer keeps GL's row order: the canvas's top row is the framebuffer's last.
    gl_Position = vec4(position.x / canvasSize.x * 2.0 - 1.0, 1.0 - position.y / canvasSize.y * 2.0, 0.0, 1.0);
}
)";

constexpr const char* FragmentSource = R"(#version 330 core
in vec2 uv;
uniform sampler2D picture;
uniform vec4 colour;
uniform int paint;
uniform int blend;
out vec4 result;
void main() {
    vec4 c = colour;
    if (paint == 1) {
        c *= texture(picture, uv);
    } else if (paint == 2) {
        c.a *= texture(picture, uv).r;
    } else if (paint == 3) {
        vec2 d = uv * 2.0 - 1.0;
        if (dot(d, d) > 1.0) discard;
    }
    if (blend == 1) {
        if (c.a <= 0.5) discard;
        c.a = 1.0;
    } else if (blend == 2) {
        c.a = 1.0;
    } else if (blend == 5) {
        // Multiplying by a transparent pixel leaves the buffer as it was.
        c.rgb = mix(vec3(1.0), c.rgb, c.a);
    }
    result = c;
}
)";

struct TGl {
    bool tried = false;
    // A picture drawn unscaled at whole pixels shows the same pixels with nearest sampling as with
    // linear, and a software GL fills them much faster; other draws sample as their texture says.
    GLuint nearest = 0;
    GLuint program = 0;
    GLuint vao = 0;
    GLuint vbo = 0;
    GLsizeiptr ringOffset = VertexRingBytes; // full: the first Send allocates the ring
    GLint canvasSize = -1;
    GLint colour = -1;
    GLint paint = -1;
    GLint blend = -1;
    // What the program was last given: the context is ours alone, so it stays set, and a software GL
    // pays for every change of a uniform or the blend state at the next draw.
    int setColour = -1;
    int setPaint = -1;
    int setBlend = -1;
};

TGl Gl;
// Textures of images and fonts that went away while no context was current; deleted at the next bind.
// Never destroyed itself: images and fonts held in other files' statics still hand theirs in at exit.
std::vector<unsigned>& DoomedTextures() {
    static auto* doomed = new std::vector<unsigned>;
    return *doomed;
}

void Doom(const std::vector<unsigned>& textures) {
    for (unsigned texture : textures) {
        if (texture != 0) DoomedTextures().push_back(texture);
    }
}

GLuint CompileShader(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    glDeleteShader(shader);
    return 0;
}

bool InitGl() {
    if (Gl.tried) return Gl.program != 0;
    Gl.tried = true;
    const GLuint vertex = CompileShader(GL_VERTEX_SHADER, VertexSource);
    const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, FragmentSource);
    if (vertex != 0 && fragment != 0) {
        const GLuint program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glLinkProgram(program);
        GLint ok = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (ok == GL_TRUE)
            Gl.program = program;
        else
            glDeleteProgram(program);
    }
    if (vertex != 0) glDeleteShader(vertex);
    if (fragment != 0) glDeleteShader(fragment);
    if (Gl.program == 0) return false;
    Gl.canvasSize = glGetUniformLocation(Gl.program, "canvasSize");
    Gl.colour = glGetUniformLocation(Gl.program, "colour");
    Gl.paint = glGetUniformLocation(Gl.program, "paint");
    Gl.blend = glGetUniformLocation(Gl.program, "blend");
    glUseProgram(Gl.program);
    glUniform1i(glGetUniformLocation(Gl.program, "picture"), 0);
    glGenVertexArrays(1, &Gl.vao);
    glGenBuffers(1, &Gl.vbo);
    glBindVertexArray(Gl.vao);
    glBindBuffer(GL_ARRAY_BUFFER, Gl.vbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(TVertex), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(TVertex),
                          reinterpret_cast<const void*>(2 * sizeof(float)));
    glGenSamplers(1, &Gl.nearest);
    glSamplerParameteri(Gl.nearest, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(Gl.nearest, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(Gl.nearest, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(Gl.nearest, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    ReleaseTextures = Doom;
    return true;
}

// Binds the canvas's back buffer with the program ready; false (and nothing bound) when GL is missing.
// The context current on the canvas with GL ready: all that queueing a draw needs.
bool Ready(TGadget canvas) {
    return GlCanvasBind(canvas) && InitGl();
}

bool Begin(TGadget canvas) {
    if (!Ready(canvas)) return false;
    glUseProgram(Gl.program);
    glBindVertexArray(Gl.vao);
    glBindBuffer(GL_ARRAY_BUFFER, Gl.vbo);
    glActiveTexture(GL_TEXTURE0);
    glUniform2f(Gl.canvasSize, static_cast<float>(std::max(canvas->w, 1)),
                static_cast<float>(std::max(canvas->h, 1)));
    return true;
}

void SetBlendState(int mode) {
    switch (mode) {
    case BlendAlpha:
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BlendLight:
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ZERO, GL_ONE);
        break;
    case BlendShade:
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_DST_COLOR, GL_ZERO, GL_ZERO, GL_ONE);
        break;
    default: // masked and solid write the colour as it is; the shader drops the masked-out pixels
        glDisable(GL_BLEND);
        break;
    }
}

void SetPaint(const TDrawState& state, TPaint paint, int blend) {
    const int colour = (state.r & 255) << 16 | (state.g & 255) << 8 | (state.b & 255);
    if (colour != Gl.setColour) {
        glUniform4f(Gl.colour, static_cast<float>(state.r) / 255.0f, static_cast<float>(state.g) / 255.0f,
                    static_cast<float>(state.b) / 255.0f, 1.0f);
        Gl.setColour = colour;
    }
    if (paint != Gl.setPaint) {
        glUniform1i(Gl.paint, paint);
        Gl.setPaint = paint;
    }
    if (blend != Gl.setBlend) {
        glUniform1i(Gl.blend, blend);
        SetBlendState(blend);
        Gl.setBlend = blend;
    }
}

// Vertices go to ever later places of one large buffer, written without waiting for the draws still
// reading its earlier part. Re-specifying a small buffer for every call made a software GL finish the
// whole frame drawn so far before each sprite.
void Send(const std::vector<TVertex>& vertices, GLenum primitive) {
    if (vertices.empty()) return;
    const auto bytes = static_cast<GLsizeiptr>(vertices.size() * sizeof(TVertex));
    if (bytes > VertexRingBytes) {
        glBufferData(GL_ARRAY_BUFFER, bytes, vertices.data(), GL_STREAM_DRAW);
        glDrawArrays(primitive, 0, static_cast<GLsizei>(vertices.size()));
        Gl.ringOffset = VertexRingBytes; // the next call starts a fresh ring of the usual size
        return;
    }
    if (Gl.ringOffset + bytes > VertexRingBytes) {
        glBufferData(GL_ARRAY_BUFFER, VertexRingBytes, nullptr, GL_STREAM_DRAW);
        Gl.ringOffset = 0;
    }
    glBufferSubData(GL_ARRAY_BUFFER, Gl.ringOffset, bytes, vertices.data());
    glDrawArrays(primitive, static_cast<GLint>(Gl.ringOffset / static_cast<GLsizeiptr>(sizeof(TVertex))),
                 static_cast<GLsizei>(vertices.size()));
    Gl.ringOffset += bytes;
}

void AddQuad(std::vector<TVertex>& out, float x0, float y0, float x1, float y1, float u0, float v0, float u1,
             float v1) {
    out.push_back({x0, y0, u0, v0});
    out.push_back({x1, y0, u1, v0});
    out.push_back({x0, y1, u0, v1});
    out.push_back({x1, y0, u1, v0});
    out.push_back({x1, y1, u1, v1});
    out.push_back({x0, y1, u0, v1});
}

// Consecutive draws that differ only in their vertices go to GL as one call: a software GL pays far
// more per call than per pixel, and a tiled backdrop alone is a couple of hundred equal images.
struct TBatch {
    TGadget canvas = nullptr;
    GLuint texture = 0;
    GLuint sampler = 0; // 0: as the texture says
    int paint = -1;
    int blend = -1;
    int r = 0, g = 0, b = 0;
    GLenum primitive = GL_TRIANGLES;
    std::vector<TVertex> vertices;

    bool Takes(TGadget c, GLuint t, GLuint s2, int p, int m, const TDrawState& s, GLenum kind) const {
        return canvas == c && texture == t && sampler == s2 && paint == p && blend == m && r == s.r &&
               g == s.g && b == s.b && primitive == kind;
    }
};

TBatch Pending;

// Textures may only go once no queued draw can still use them.
void DeleteDoomedTextures() {
    std::vector<unsigned>& doomed = DoomedTextures();
    if (doomed.empty()) return;
    glDeleteTextures(static_cast<GLsizei>(doomed.size()), doomed.data());
    doomed.clear();
}

void Flush() {
    if (!Pending.vertices.empty()) {
        // The canvas may have been destroyed since its draws were queued; then they have nowhere to go.
        const std::vector<TGadget>& live = AllGadgets();
        if (std::find(live.begin(), live.end(), Pending.canvas) != live.end() && Begin(Pending.canvas)) {
            glBindTexture(GL_TEXTURE_2D, Pending.texture);
            glBindSampler(0, Pending.sampler);
            TDrawState colour;
            colour.r = Pending.r;
            colour.g = Pending.g;
            colour.b = Pending.b;
            SetPaint(colour, static_cast<TPaint>(Pending.paint), Pending.blend);
            Send(Pending.vertices, Pending.primitive);
        }
        Pending.vertices.clear();
    }
    if (Gl.program != 0) DeleteDoomedTextures();
}

void Queue(TGadget canvas, GLuint texture, TPaint paint, int blend, const TDrawState& state, GLenum primitive,
           const std::vector<TVertex>& vertices, GLuint sampler = 0) {
    if (vertices.empty()) return;
    if (!Pending.Takes(canvas, texture, sampler, paint, blend, state, primitive)) {
        Flush();
        Pending.canvas = canvas;
        Pending.texture = texture;
        Pending.sampler = sampler;
        Pending.paint = paint;
        Pending.blend = blend;
        Pending.r = state.r;
        Pending.g = state.g;
        Pending.b = state.b;
        Pending.primitive = primitive;
    }
    Pending.vertices.insert(Pending.vertices.end(), vertices.begin(), vertices.end());
}

// The frame's texture, uploaded when first drawn and again after the pixels changed.
GLuint FrameTexture(TImageData& image, int frame) {
    if (image.dirty || image.textures.size() != static_cast<size_t>(image.frames)) {
        Doom(image.textures);
        image.textures.assign(static_cast<size_t>(image.frames), 0);
        image.dirty = false;
    }
    GLuint& texture = image.textures[static_cast<size_t>(frame)];
    if (texture != 0) return texture;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.pixels[static_cast<size_t>(frame)].data());
    const bool filtered = (image.flags & ImageFiltered) != 0;
    const bool mipmapped = (image.flags & ImageMipmapped) != 0;
    GLint shrink = filtered ? GL_LINEAR : GL_NEAREST;
    if (mipmapped) {
        glGenerateMipmap(GL_TEXTURE_2D);
        shrink = filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, shrink);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

void ResetAtlas(TFontData& font) {
    for (auto& [code, glyph] : font.glyphs)
        glyph.atlasX = glyph.atlasY = -1;
    font.shelfX = font.shelfY = font.shelfHeight = 0;
}

void EnsureAtlas(TFontData& font) {
    if (font.atlas != 0) return;
    glGenTextures(1, &font.atlas);
    glBindTexture(GL_TEXTURE_2D, font.atlas);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, AtlasSize, AtlasSize, 0, GL_RED, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    font.atlasSize = AtlasSize;
    ResetAtlas(font);
}

// Finds the glyph a place on the atlas's shelves and uploads it; false when the atlas is full.
bool PackGlyph(TFontData& font, TGlyph& glyph) {
    if (glyph.atlasX >= 0) return true;
    if (glyph.width > font.atlasSize || glyph.height > font.atlasSize) return false;
    if (font.shelfX + glyph.width > font.atlasSize) {
        font.shelfY += font.shelfHeight + 1;
        font.shelfX = 0;
        font.shelfHeight = 0;
    }
    if (font.shelfY + glyph.height > font.atlasSize) return false;
    glyph.atlasX = font.shelfX;
    glyph.atlasY = font.shelfY;
    font.shelfX += glyph.width + 1;
    font.shelfHeight = std::max(font.shelfHeight, glyph.height);
    glBindTexture(GL_TEXTURE_2D, font.atlas);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, glyph.atlasX, glyph.atlasY, glyph.width, glyph.height, GL_RED,
                    GL_UNSIGNED_BYTE, glyph.coverage.data());
    return true;
}

// Pixel of a real coordinate: the one whose square holds it.
int PixelOf(double value) {
    return static_cast<int>(std::floor(value));
}

// Cuts the segment to the rectangle (Liang-Barsky), so that a line thrown far off the canvas costs no more
// than one across it. False when nothing of it is inside, or when a coordinate is not a number.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double right, double bottom) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
    constexpr double Margin = -1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    double enter = 0.0, leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - Margin, right - x1, y1 - Margin, bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave) return false;
    if (leave < 1.0) {
        x2 = x1 + leave * dx;
        y2 = y1 + leave * dy;
    }
    if (enter > 0.0) {
        x1 += enter * dx;
        y1 += enter * dy;
    }
    return true;
}

} // namespace

// GL is brought up by the first drawing, not by choosing or clearing a target: a canvas without a back
// buffer is black already, and the menu that the game opens first shows no canvas at all.
void BackendBeginTarget(TGadget) {}

void BackendClear(TGadget canvas) {
    Flush();
    if (!GlCanvasStarted(canvas) || !Begin(canvas)) return;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void BackendPresent(TGadget canvas) {
    Flush();
    GlCanvasPresent(canvas);
}

void BackendDrawImage(TGadget canvas, const TDrawState& state, const TImage& image, float x, float y,
                      int frame) {
    if (!Ready(canvas)) return;
    std::vector<TVertex> quad;
    AddQuad(quad, x, y, x + static_cast<float>(image->width) * state.scaleX,
            y + static_cast<float>(image->height) * state.scaleY, 0, 0, 1, 1);
    const bool exact =
        state.scaleX == 1.0f && state.scaleY == 1.0f && x == std::floor(x) && y == std::floor(y);
    Queue(canvas, FrameTexture(*image, frame), PaintImage, state.blend, state, GL_TRIANGLES, quad,
          exact ? Gl.nearest : 0);
}

void BackendDrawRect(TGadget canvas, const TDrawState& state, float x, float y, float w, float h) {
    if (!Ready(canvas)) return;
    std::vector<TVertex> quad;
    AddQuad(quad, x, y, x + w, y + h, 0, 0, 1, 1);
    Queue(canvas, 0, PaintColour, state.blend, state, GL_TRIANGLES, quad);
}

void BackendDrawLine(TGadget canvas, const TDrawState& state, float x1, float y1, float x2, float y2,
                     int lastPixel) {
    if (!Ready(canvas)) return;
    // Stepped on the CPU and drawn as pixel-sized points, so every driver sets the same pixels.
    double fromX = x1, fromY = y1, toX = x2, toY = y2;
    // An end that was cut lies just off the canvas, where its last pixel could not be seen anyway.
    if (!ClipSegment(fromX, fromY, toX, toY, canvas->w + 1.0, canvas->h + 1.0)) {
        return;
    }
    int x = PixelOf(fromX), y = PixelOf(fromY);
    const int endX = PixelOf(toX), endY = PixelOf(toY);
    const int dx = std::abs(endX - x), dy = -std::abs(endY - y);
    const int stepX = x < endX ? 1 : -1, stepY = y < endY ? 1 : -1;
    int error = dx + dy;
    std::vector<TVertex> points;
    for (;;) {
        const bool last = x == endX && y == endY;
        if (last && lastPixel == 0) break;
        points.push_back({static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, 0, 0});
        if (last) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
    Queue(canvas, 0, PaintColour, state.blend, state, GL_POINTS, points);
}

void BackendDrawOval(TGadget canvas, const TDrawState& state, float x, float y, float w, float h) {
    if (!Ready(canvas)) return;
    std::vector<TVertex> quad;
    AddQuad(quad, x, y, x + w, y + h, 0, 0, 1, 1);
    Queue(canvas, 0, PaintOval, state.blend, state, GL_TRIANGLES, quad);
}

void BackendDrawText(TGadget canvas, const TDrawState& state, const std::string& text, float x, float y) {
    TFontData* font = ActiveFont(state.font);
    // Text placed absurdly far away (or at no number at all) is nowhere near the canvas.
    constexpr float Far = 1e6f;
    if (font == nullptr || !(std::abs(x) < Far && std::abs(y) < Far) || !Ready(canvas)) return;
    EnsureAtlas(*font);
    // Coverage is the glyph's alpha: a copying mode would turn smoothed glyphs into blocks or jags.
    const int blend = state.blend == BlendMasked || state.blend == BlendSolid ? BlendAlpha : state.blend;
    const float size = static_cast<float>(font->atlasSize);
    int pen = static_cast<int>(std::lround(x));
    const int baseline = static_cast<int>(std::lround(y)) + font->ascent;
    std::vector<TVertex> quads;
    for (char32_t code : DecodeUtf8(text)) {
        TGlyph& glyph = font->Glyph(code);
        const int advance = glyph.advance;
        if (!glyph.coverage.empty()) {
            if (!PackGlyph(*font, glyph)) {
                // Full: draw what is queued while its glyphs are still in place, then start afresh.
                Queue(canvas, font->atlas, PaintGlyphs, blend, state, GL_TRIANGLES, quads);
                Flush();
                quads.clear();
                ResetAtlas(*font);
            }
            if (PackGlyph(*font, glyph)) {
                const auto left = static_cast<float>(pen + glyph.left);
                const auto top = static_cast<float>(baseline - glyph.top);
                AddQuad(quads, left, top, left + static_cast<float>(glyph.width),
                        top + static_cast<float>(glyph.height), static_cast<float>(glyph.atlasX) / size,
                        static_cast<float>(glyph.atlasY) / size,
                        static_cast<float>(glyph.atlasX + glyph.width) / size,
                        static_cast<float>(glyph.atlasY + glyph.height) / size);
            }
        }
        pen += advance;
    }
    Queue(canvas, font->atlas, PaintGlyphs, blend, state, GL_TRIANGLES, quads);
}

void BackendGrabImage(TGadget canvas, const TImage& image, int x, int y, int frame) {
    Flush();
    if (!Begin(canvas)) return;
    std::vector<uint8_t>& pixels = image->pixels[static_cast<size_t>(frame)];
    std::fill(pixels.begin(), pixels.end(), 0);
    // Only the part that lies on the canvas is read; the rest of the frame stays empty.
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = static_cast<int>(std::min(int64_t{x} + image->width, int64_t{std::max(canvas->w, 1)}));
    const int bottom =
        static_cast<int>(std::min(int64_t{y} + image->height, int64_t{std::max(canvas->h, 1)}));
    if (left < right && top < bottom) {
        // The framebuffer holds the canvas bottom row first; the frame's rows run from the top.
        const int width = right - left, rows = bottom - top;
        std::vector<uint8_t> read(size_t{4} * static_cast<size_t>(width) * static_cast<size_t>(rows));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(left, std::max(canvas->h, 1) - bottom, width, rows, GL_RGBA, GL_UNSIGNED_BYTE,
                     read.data());
        for (int row = 0; row < rows; ++row) {
            const uint8_t* from = read.data() + size_t{4} * static_cast<size_t>(width) * (rows - 1 - row);
            std::copy(from, from + size_t{4} * static_cast<size_t>(width),
                      pixels.begin() +
                          static_cast<ptrdiff_t>(4 * ((top - y + row) * image->width + (left - x))));
        }
    }
    image->ApplyMask(frame);
    image->dirty = true;
}
