#include "bench/MinimalGl.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr int AtlasSize = 1024;

constexpr const char* VertexSource = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texel;
uniform vec2 canvasSize;
out vec2 uv;
void main() {
    uv = texel;
    gl_Position = vec4(position.x / canvasSize.x * 2.0 - 1.0, 1.0 - position.y / canvasSize.y * 2.0, 0.0, 1.0);
}
)";

// The game's five blend modes and four kinds of fragment need no less than this.
constexpr const char* FragmentSource = R"(#version 330 core
in vec2 uv;
uniform sampler2D picture;
uniform vec4 colour;
uniform int paint;
uniform int blend;
out vec4 result;
void main() {
    vec4 c = colour;
    if (paint == 1) c *= texture(picture, uv);
    else if (paint == 2) c.a *= texture(picture, uv).r;
    else if (paint == 3) { vec2 d = uv * 2.0 - 1.0; if (dot(d, d) > 1.0) discard; }
    if (blend == 1) { if (c.a <= 0.5) discard; c.a = 1.0; }
    else if (blend == 2) c.a = 1.0;
    else if (blend == 5) c.rgb = mix(vec3(1.0), c.rgb, c.a);
    result = c;
}
)";

GLuint Compile(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

void SetBlend(int mode) {
    if (mode == 3) {
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    } else if (mode == 4) {
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ZERO, GL_ONE);
    } else if (mode == 5) {
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_DST_COLOR, GL_ZERO, GL_ZERO, GL_ONE);
    } else {
        glDisable(GL_BLEND);
    }
}

bool Whole(float value) {
    return value == std::floor(value);
}

} // namespace

bool TMinimalGl::Init(const TDrawList& drawList) {
    list = &drawList;
    const GLuint vertex = Compile(GL_VERTEX_SHADER, VertexSource);
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, FragmentSource);
    program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) return false;
    canvasSize = glGetUniformLocation(program, "canvasSize");
    colour = glGetUniformLocation(program, "colour");
    paint = glGetUniformLocation(program, "paint");
    blend = glGetUniformLocation(program, "blend");
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(TVertex), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(TVertex), reinterpret_cast<const void*>(8));
    glGenSamplers(1, &nearest);
    glSamplerParameteri(nearest, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(nearest, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glGenSamplers(1, &linear);
    glSamplerParameteri(linear, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(linear, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    for (GLuint sampler : {nearest, linear}) {
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }

    // Pictures one texture each, glyphs on the shelves of one atlas.
    GLuint atlas = 0;
    glGenTextures(1, &atlas);
    glBindTexture(GL_TEXTURE_2D, atlas);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, AtlasSize, AtlasSize, 0, GL_RED, GL_UNSIGNED_BYTE, nullptr);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    int shelfX = 0, shelfY = 0, shelfH = 0;
    for (const TListImage& image : list->images) {
        TPlace place;
        place.coverage = image.coverage;
        place.filtered = image.filtered;
        if (image.coverage) {
            if (shelfX + image.width > AtlasSize) {
                shelfX = 0;
                shelfY += shelfH + 1;
                shelfH = 0;
            }
            glBindTexture(GL_TEXTURE_2D, atlas);
            glTexSubImage2D(GL_TEXTURE_2D, 0, shelfX, shelfY, image.width, image.height, GL_RED,
                            GL_UNSIGNED_BYTE, image.pixels.data());
            place.texture = atlas;
            place.u0 = static_cast<float>(shelfX) / AtlasSize;
            place.v0 = static_cast<float>(shelfY) / AtlasSize;
            place.u1 = static_cast<float>(shelfX + image.width) / AtlasSize;
            place.v1 = static_cast<float>(shelfY + image.height) / AtlasSize;
            shelfX += image.width + 1;
            shelfH = std::max(shelfH, image.height);
        } else {
            glGenTextures(1, &place.texture);
            glBindTexture(GL_TEXTURE_2D, place.texture);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         image.pixels.data());
        }
        places.push_back(place);
    }
    return true;
}

void TMinimalGl::Draw(int width, int height) {
    struct TRun {
        GLuint texture, sampler;
        int paint, blend;
        uint8_t r, g, b;
        GLenum primitive;
        GLint first;
        GLsizei count;
    };
    std::vector<TRun> runs;
    vertices.clear();
    for (const TListDraw& draw : list->draws) {
        TRun run{0,          nearest,      0,
                 draw.blend, draw.r,       draw.g,
                 draw.b,     GL_TRIANGLES, static_cast<GLint>(vertices.size()),
                 0};
        float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
        if (draw.image >= 0) {
            const TPlace& place = places[static_cast<size_t>(draw.image)];
            const TListImage& image = list->images[static_cast<size_t>(draw.image)];
            run.texture = place.texture;
            run.paint = place.coverage ? 2 : 1;
            const bool exact = Whole(draw.x0) && Whole(draw.y0) &&
                               draw.x1 - draw.x0 == static_cast<float>(image.width) &&
                               draw.y1 - draw.y0 == static_cast<float>(image.height);
            run.sampler = place.filtered && !exact ? linear : nearest;
            u0 = place.u0, v0 = place.v0, u1 = place.u1, v1 = place.v1;
        } else if (draw.shape == TListShape::Oval) {
            run.paint = 3;
        }
        if (draw.shape == TListShape::Line) {
            run.primitive = GL_LINES;
            vertices.push_back({draw.x0 + 0.5f, draw.y0 + 0.5f, 0, 0});
            vertices.push_back({draw.x1 + 0.5f, draw.y1 + 0.5f, 0, 0});
        } else {
            vertices.push_back({draw.x0, draw.y0, u0, v0});
            vertices.push_back({draw.x1, draw.y0, u1, v0});
            vertices.push_back({draw.x0, draw.y1, u0, v1});
            vertices.push_back({draw.x1, draw.y0, u1, v0});
            vertices.push_back({draw.x1, draw.y1, u1, v1});
            vertices.push_back({draw.x0, draw.y1, u0, v1});
        }
        run.count = static_cast<GLsizei>(vertices.size()) - run.first;
        if (!runs.empty()) {
            TRun& last = runs.back();
            if (last.texture == run.texture && last.sampler == run.sampler && last.paint == run.paint &&
                last.blend == run.blend && last.r == run.r && last.g == run.g && last.b == run.b &&
                last.primitive == run.primitive) {
                last.count += run.count;
                continue;
            }
        }
        runs.push_back(run);
    }
    glViewport(0, 0, width, height);
    glUseProgram(program);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(TVertex)), vertices.data(),
                 GL_STREAM_DRAW);
    glUniform2f(canvasSize, static_cast<float>(width), static_cast<float>(height));
    glActiveTexture(GL_TEXTURE0);
    for (const TRun& run : runs) {
        glBindTexture(GL_TEXTURE_2D, run.texture);
        glBindSampler(0, run.sampler);
        glUniform4f(colour, run.r / 255.0f, run.g / 255.0f, run.b / 255.0f, 1.0f);
        glUniform1i(paint, run.paint);
        glUniform1i(blend, run.blend);
        SetBlend(run.blend);
        glDrawArrays(run.primitive, run.first, run.count);
    }
    glBindSampler(0, 0);
}
