// How much of a frame tick one full redraw of a busy scene takes on the real renderer, and what the
// parts of it cost against each other. Prints ratios measured in this one run; the numbers of another
// machine or another run are not comparable, their ratios are.
// Fails only when the scene cannot be drawn at all.

#include "platform/ImageData.hpp"
#include "platform/Platform.hpp"
#include "scene/Layer.hpp"
#include "scene/TextSprite.hpp"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr int Frames = 120;
constexpr double TickMs = 16.0;

TImage SolidImage(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    TImage image = CreateImage(width, height, 1, 0);
    std::vector<uint8_t>& pixels = image->pixels[0];
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = r;
        pixels[i + 1] = g;
        pixels[i + 2] = b;
        pixels[i + 3] = a;
    }
    image->dirty = true;
    return image;
}

// Mean milliseconds of one RenderAll, each frame waited for by reading a pixel back.
double MeanFrameMs() {
    TImage probe = CreateImage(1, 1, 1, 0);
    TLayer::RenderAll();
    GrabImage(probe, 0, 0, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Frames; ++i) {
        TLayer::RenderAll();
        GrabImage(probe, 0, 0, 0);
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / Frames;
}

void Fill(const std::string& layer, const TImage& image, int count, int step) {
    TLayer::Select(layer);
    for (int i = 0; i < count; ++i) {
        TSpriteRef sprite = TSprite::FromImage(image);
        sprite->SetPosition(static_cast<float>((i * step) % 760),
                            static_cast<float>((i * step / 760 * 37) % 560));
    }
}

} // namespace

int main() {
    TGadget window = OpenWindow("Gorum bench", 0, 0, 800, 600, nullptr, 41);
    TGadget canvas = AddCanvas(0, 0, 800, 600, window);
    SetDrawTarget(canvas);
    SceneCanvas = canvas;
    TTextSprite::SetupFont();
    for (const char* tag : {"backdrop", "sprites", "labels", "textback", "text"})
        TLayer::Create(tag);
    TLayer::Find("textback")->DrawRoutine = "TEXT";
    CustomLayerHook = [](const std::string& name) {
        if (name == "TEXT") TTextSprite::DrawBacks();
    };

    // A few frames of the real loop, so that the window is on screen and painted as in play.
    CreateTimer(60);
    for (int i = 0; i < 20; ++i) {
        RequestRepaint(canvas);
        NextEvent();
    }

    const double empty = MeanFrameMs();

    // A backdrop of 64 x 48 tiles covering the canvas, as the game draws it.
    TLayer::Select("backdrop");
    TSpriteRef back = TSprite::FromImage(SolidImage(64, 48, 30, 90, 30, 255));
    back->SizeFromImage();
    back->Tiled = 1;
    const double backdrop = MeanFrameMs();

    Fill("sprites", SolidImage(48, 48, 200, 40, 40, 160), 300, 53);
    const double sprites = MeanFrameMs();

    TLayer::Select("text");
    for (int i = 0; i < 40; ++i) {
        TTextSpriteRef label = TTextSprite::CreateText("Label number " + std::to_string(i));
        label->SetPosition(static_cast<float>(20 + (i % 4) * 190), static_cast<float>(20 + (i / 4) * 55));
    }
    const double full = MeanFrameMs();

    if (!(full > 0.0)) {
        std::fprintf(stderr, "the scene could not be drawn\n");
        return 1;
    }
    std::printf("full frame (backdrop, 300 sprites, 40 labels): %.2f ms = %.0f%% of a %.0f ms tick\n", full,
                100.0 * full / TickMs, TickMs);
    std::printf(
        "share of the full frame: empty canvas %.0f%%, backdrop %.0f%%, sprites %.0f%%, labels %.0f%%\n",
        100.0 * empty / full, 100.0 * (backdrop - empty) / full, 100.0 * (sprites - backdrop) / full,
        100.0 * (full - sprites) / full);
    std::printf("one sprite costs %.2f%% of a tick, one label %.2f%%\n",
                100.0 * (sprites - backdrop) / 300 / TickMs, 100.0 * (full - sprites) / 40 / TickMs);
    return 0;
}
