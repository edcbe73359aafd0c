#include "platform/FrameRecord.hpp"

#include "platform/Backend.hpp"
#include "platform/FrameCover.hpp"
#include "platform/ImageData.hpp"

namespace {

bool SkipUnchanged = true;

bool SameState(const TDrawState& a, const TDrawState& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.blend == b.blend && a.scaleX == b.scaleX &&
           a.scaleY == b.scaleY && a.font == b.font;
}

// Whether the kept call draws exactly what the new one would.
bool Matches(const TFrameCall& kept, const TCallView& call) {
    if (kept.op != call.op) return false;
    if (call.op == TFrameOp::Clear) return true;
    if (!SameState(kept.state, *call.state) || kept.frame != call.frame || kept.x != call.x ||
        kept.y != call.y || kept.w != call.w || kept.h != call.h)
        return false;
    if (call.op == TFrameOp::Image &&
        (kept.image != *call.image || kept.imageVersion != (*call.image)->version))
        return false;
    return call.op != TFrameOp::Text || kept.text == *call.text;
}

TFrameCall Own(const TCallView& call) {
    TFrameCall kept;
    kept.op = call.op;
    if (call.state != nullptr) kept.state = *call.state;
    if (call.image != nullptr) {
        kept.image = *call.image;
        kept.imageVersion = kept.image->version;
    }
    kept.frame = call.frame;
    kept.x = call.x;
    kept.y = call.y;
    kept.w = call.w;
    kept.h = call.h;
    if (call.text != nullptr) kept.text = *call.text;
    return kept;
}

TCallView ViewOf(const TFrameCall& kept) {
    return {kept.op, &kept.state, &kept.image, kept.frame, kept.x, kept.y, kept.w, kept.h, &kept.text};
}

void Send(TGadget canvas, const TCallView& call) {
    switch (call.op) {
    case TFrameOp::Clear:
        BackendClear(canvas);
        break;
    case TFrameOp::Image:
        BackendDrawImage(canvas, *call.state, *call.image, call.x, call.y, call.frame);
        break;
    case TFrameOp::Rect:
        BackendDrawRect(canvas, *call.state, call.x, call.y, call.w, call.h);
        break;
    case TFrameOp::Line:
        BackendDrawLine(canvas, *call.state, call.x, call.y, call.w, call.h, call.frame);
        break;
    case TFrameOp::Oval:
        BackendDrawOval(canvas, *call.state, call.x, call.y, call.w, call.h);
        break;
    case TFrameOp::Text:
        BackendDrawText(canvas, *call.state, *call.text, call.x, call.y);
        break;
    }
}

} // namespace

void SetSkipUnchangedFrames(bool skip) {
    SkipUnchanged = skip;
}

void TFrameRecord::Begin(TGadget canvas) {
    // A frame begun again before it was shown was drawn all the same: it lies in the back buffer.
    if (recording) DrawThrough(canvas);
    // Not skipping, every call goes straight to the back buffer, as the game drew once.
    recording = SkipUnchanged;
    drawnThrough = false;
    matched = 0;
    calls.clear();
}

void TFrameRecord::Take(TGadget canvas, const TCallView& call) {
    if (!recording) {
        // Drawn outside any frame: the back buffer no longer holds what the screen shows.
        shownKnown = false;
        Send(canvas, call);
        return;
    }
    if (drawnThrough) Send(canvas, call);
    if (calls.empty() && !drawnThrough && matched < shown.size() && Matches(shown[matched], call)) {
        ++matched;
        return;
    }
    Keep(call);
}

void TFrameRecord::Keep(const TCallView& call) {
    KeepMatched();
    calls.push_back(Own(call));
}

void TFrameRecord::KeepMatched() {
    if (!calls.empty() || matched == 0) return;
    calls.assign(shown.begin(), shown.begin() + static_cast<ptrdiff_t>(matched));
    matched = 0;
}

void TFrameRecord::DrawThrough(TGadget canvas) {
    KeepMatched();
    if (!drawnThrough) {
        for (const TFrameCall& call : calls)
            Send(canvas, ViewOf(call));
    }
    drawnThrough = true;
    shownKnown = false;
}

void TFrameRecord::BeforeRead(TGadget canvas) {
    if (recording) DrawThrough(canvas);
}

bool TFrameRecord::Present(TGadget canvas) {
    if (!recording) {
        shownKnown = false;
        BackendPresent(canvas);
        return true;
    }
    recording = false;
    const bool sameCalls = !drawnThrough && calls.empty() && matched == shown.size();
    if (shownW != canvas->w || shownH != canvas->h) covers = -1;
    if (SkipUnchanged && sameCalls && shownKnown && covers != 0 && shownW == canvas->w &&
        shownH == canvas->h) {
        // Drawn again over the frame it drew, a frame that paints every pixel leaves them as they are.
        if (covers < 0) covers = PaintsEveryPixel(shown, canvas->w, canvas->h) ? 1 : 0;
        if (covers == 1) return false;
    }
    if (!sameCalls) {
        KeepMatched();
        shown.swap(calls);
        covers = -1;
    }
    if (!drawnThrough) {
        for (const TFrameCall& call : shown)
            Send(canvas, ViewOf(call));
    }
    calls.clear();
    matched = 0;
    shownKnown = true;
    shownW = canvas->w;
    shownH = canvas->h;
    BackendPresent(canvas);
    return true;
}
