#pragma once
// What every scene test needs on either backend: an empty scene, and pictures written on the spot
// into a directory of the test's own (the game's art is never read by the tests).

#include "scene/Backdrop.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Layer.hpp"
#include "scene/Motivation.hpp"
#include "scene/Pointer.hpp"
#include "scene/Radial.hpp"
#include "scene/TextSprite.hpp"
#include "scene/TimeBar.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// An uncompressed 24-bit picture of one colour; the decoder goes by the bytes, so any name will do.
inline void WriteBmp(const std::filesystem::path& path, int width, int height, uint8_t r, uint8_t g,
                     uint8_t b) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t dataBytes = static_cast<uint32_t>(rowBytes * height);
    std::vector<uint8_t> out(54 + dataBytes, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, 54 + dataBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    out[26] = 1;
    out[28] = 24;
    put32(34, dataBytes);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = 54 + static_cast<size_t>(y * rowBytes + x * 3);
            out[at] = b;
            out[at + 1] = g;
            out[at + 2] = r;
        }
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

// Runs a test inside a fresh directory with its own media/ folder, and goes back afterwards.
class MediaDir {
  public:
    MediaDir() : previous(std::filesystem::current_path()) {
        root = std::filesystem::temp_directory_path() /
               ("gorum_scene_" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "media");
        std::filesystem::current_path(root);
    }
    ~MediaDir() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }
    MediaDir(const MediaDir&) = delete;
    MediaDir& operator=(const MediaDir&) = delete;

    void Picture(const std::string& name, int width, int height, uint8_t r = 200, uint8_t g = 100,
                 uint8_t b = 50) const {
        WriteBmp(root / "media" / name, width, height, r, g, b);
    }

    std::filesystem::path root;

  private:
    std::filesystem::path previous;
};

// Every list and module variable of the scene back at its start-up value.
inline void ResetSceneState() {
    // A sprite refers back to its layer; emptying the layers first lets both go.
    for (const TLayerRef& layer : LayerList) layer->Sprites.clear();
    LayerList.clear();
    CurrentLayer.reset();
    TextSpriteList.clear();
    TextBackImage.reset();
    TextFont.reset();
    HotspotList.clear();
    GrabbedHotspot.reset();
    RadialList.clear();
    OpenRadial.reset();
    LevelLength = 10;
    CurrentWeek = 1;
    TimeBarSprite.reset();
    Mechanism.reset();
    TickImage.reset();
    CurrentBackdrop.reset();
    MotivationFrame.reset();
    MotivationValue = nullptr;
    CustomLayerHook = nullptr;
    SceneCanvas = nullptr;
    PointerX = 0;
    PointerY = 0;
    PointerButton = 0;
    PointerOnCanvas = true;
}
