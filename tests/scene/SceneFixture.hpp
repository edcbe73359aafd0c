#pragma once
// A clean headless machine and an empty scene for every test: one 800 x 600 canvas as the draw target,
// the manual clock at 0, the pointer at rest, motivation at 50, and the diagnostics collected.

#include "SceneSupport.hpp"

#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"

#include <memory>
#include <string>
#include <vector>

class SceneFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        media = std::make_unique<MediaDir>();
        HeadlessReset();
        ResetSceneState();
        motivation = 50.0f;
        MotivationValue = &motivation;
        SetDebugLogSink([this](const std::string& line) { log.push_back(line); });
        window = OpenWindow("Scene", 0, 0, 800, 600, nullptr, 41);
        canvas = AddCanvas(0, 0, 800, 600, window);
        SetDrawTarget(canvas);
        SceneCanvas = canvas;
        HeadlessClearDrawCalls();
    }

    void TearDown() override {
        MotivationValue = nullptr;
        SetDebugLogSink(nullptr);
        media.reset();
    }

    // The pointer as the shell's hook would leave it.
    static void MoveTo(int x, int y) {
        TEvent e;
        e.id = MouseMove;
        e.x = x;
        e.y = y;
        TrackPointer(e);
    }
    static void Press(int button) {
        TEvent e;
        e.id = MouseDown;
        e.data = button;
        TrackPointer(e);
    }
    static void Release() {
        TEvent e;
        e.id = MouseUp;
        TrackPointer(e);
    }

    static std::vector<TDrawCall> Calls(TDrawKind kind) {
        std::vector<TDrawCall> out;
        for (const TDrawCall& call : HeadlessDrawCalls()) {
            if (call.kind == kind) out.push_back(call);
        }
        return out;
    }

    // Every test runs in its own directory with an empty media/ folder, whatever art the game has.
    std::unique_ptr<MediaDir> media;
    float motivation = 50.0f;
    std::vector<std::string> log;
    TGadget window = nullptr;
    TGadget canvas = nullptr;
};
