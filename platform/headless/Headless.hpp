#pragma once
// Test controls of the headless backend: a manual clock, injected events, and the draw calls it recorded.
// Nothing is shown; gadgets exist only as records (platform/GadgetRecord.hpp).
// Timers tick only when the clock is moved; repaints are delivered by the next NextEvent.
// EndProgram ends the process with exit code 0, as the real one does (tests use death tests for it).

#include "platform/DrawState.hpp"
#include "platform/GadgetRecord.hpp"
#include "platform/Platform.hpp"

#include <cstdint>
#include <string>
#include <vector>

enum class TDrawKind { Clear, Present, Image, Rect, Line, Oval, Text, Grab };

struct TDrawCall {
    TDrawKind kind = TDrawKind::Clear;
    TGadget target = nullptr;
    TDrawState state;
    TImage image;
    int frame = 0;
    float x = 0, y = 0, w = 0, h = 0; // a line keeps its end point in (w, h)
    std::string text;
};

// Back to a clean machine: no gadgets' events queued, no hooks, clock at 0, no draw calls, no timers.
void HeadlessReset();
void HeadlessSetClock(uint64_t ms);
// The screen's work area that WorkArea reports for every window: 1280 x 1024 from (0, 0) after a reset.
void HeadlessSetWorkArea(const TBounds& area);
// Moves the clock on; each timer emits one tick per period that elapsed, through the hook chain.
void HeadlessAdvanceClock(uint64_t ms);
// Emits an event through the hook chain, as the machine would.
void HeadlessEmit(const TEvent& event);
// A player's acts on controls.
void HeadlessPressButton(TGadget button);
void HeadlessSelectItem(TGadget listBox, int index);
void HeadlessFollowLink(TGadget htmlView, const std::string& location);
void HeadlessCloseWindow(TGadget window);

const std::vector<TDrawCall>& HeadlessDrawCalls();
void HeadlessClearDrawCalls();
