#pragma once
// A canvas's drawing kept as calls, frame by frame, so that a frame looking exactly like the one on screen
// is neither drawn nor presented. Held in the canvas's record; every drawing operation goes through it.
// It errs only on the safe side: a frame it cannot prove unchanged is drawn and presented as always.

#include "platform/DrawState.hpp"

#include <cstdint>
#include <string>
#include <vector>

enum class TFrameOp : uint8_t { Clear, Image, Rect, Line, Oval, Text };

// One drawing call as the backend gets it. A line keeps its end in (w, h) and its last-pixel flag in frame.
struct TFrameCall {
    TFrameOp op = TFrameOp::Clear;
    TDrawState state;
    TImage image;
    uint64_t imageVersion = 0; // the image's pixels as they were when drawn
    int frame = 0;
    float x = 0, y = 0, w = 0, h = 0;
    std::string text;
};

// A call not yet kept: what the drawing operation was given, borrowed for as long as it runs.
struct TCallView {
    TFrameOp op = TFrameOp::Clear;
    const TDrawState* state = nullptr;
    const TImage* image = nullptr;
    int frame = 0;
    float x = 0, y = 0, w = 0, h = 0;
    const std::string* text = nullptr;
};

class TFrameRecord {
  public:
    // The drawing up to the next Present is one whole frame.
    void Begin(TGadget canvas);
    // Draws at once outside a frame; inside one, keeps the call for Present.
    void Take(TGadget canvas, const TCallView& call);
    // The canvas's back buffer is about to be read: what the frame drew so far must be in it.
    void BeforeRead(TGadget canvas);
    // Shows the frame, unless it is begun, equal to the one on screen, and would look the same whatever
    // lay beneath it. Returns whether it was presented.
    bool Present(TGadget canvas);

  private:
    void Keep(const TCallView& call);
    void KeepMatched(); // the calls that matched the shown frame so far become the frame's own
    void DrawThrough(TGadget canvas);

    bool recording = false;
    bool drawnThrough = false; // the frame's calls so far went to the back buffer as they came
    size_t matched = 0;        // while `calls` is empty: the frame so far equals this many shown calls
    std::vector<TFrameCall> calls;
    // What the screen shows, when it shows a recorded frame drawn on nothing else since.
    bool shownKnown = false;
    std::vector<TFrameCall> shown;
    int shownW = 0, shownH = 0;
    int covers = -1; // whether the shown frame paints every pixel of the canvas; -1 not worked out yet
};

// Whether frames equal to the one on screen are skipped (the default), or drawn and presented all the
// same, as the game did once; for comparing the two.
void SetSkipUnchangedFrames(bool skip);
