#include "platform/Backend.hpp"
#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"

#include <cstdlib>

namespace {

uint64_t Clock = 0;
std::vector<TTimer> Timers;
std::vector<uint64_t> TimerDue;
std::vector<TDrawCall> Calls;
// A common screen, all of it free for windows, until a test says otherwise.
constexpr TBounds DefaultWorkArea{0, 0, 1280, 1024};
TBounds Screen = DefaultWorkArea;

void Record(TDrawKind kind, TGadget canvas, const TDrawState& state, float x = 0, float y = 0, float w = 0,
            float h = 0) {
    TDrawCall call;
    call.kind = kind;
    call.target = canvas;
    call.state = state;
    call.x = x;
    call.y = y;
    call.w = w;
    call.h = h;
    Calls.push_back(call);
}

} // namespace

void BackendGadgetCreated(TGadget) {}
void BackendGadgetDestroyed(TGadget) {}
void BackendVisibilityChanged(TGadget) {}
void BackendBoundsChanged(TGadget) {}
void BackendTextChanged(TGadget) {}
void BackendItemsChanged(TGadget) {}
void BackendStatusTextChanged(TGadget) {}
void BackendPictureChanged(TGadget) {}
TBounds BackendWorkArea(TGadget) {
    return Screen;
}
void BackendNavigate(TGadget, const std::string&) {}
void BackendRepaintRequested(TGadget) {}
bool BackendCanvasReady(TGadget) {
    return true;
}
void BackendWhileLoading() {}

bool BackendWaitForMessages() {
    // Serve the repaints asked for since the last wait, as a real machine does while it waits.
    ServePendingRepaints();
    return false;
}

uint64_t BackendClockMs() {
    return Clock;
}

void BackendStartTimer(TTimer timer, int periodMs) {
    Timers.push_back(timer);
    TimerDue.push_back(Clock + static_cast<uint64_t>(periodMs));
}

void BackendEndProgram() {
    std::exit(0);
}

void BackendBeginTarget(TGadget) {}

void BackendClear(TGadget canvas) {
    Record(TDrawKind::Clear, canvas, canvas->draw);
}

void BackendPresent(TGadget canvas) {
    Record(TDrawKind::Present, canvas, canvas->draw);
}

void BackendDrawImage(TGadget canvas, const TDrawState& state, const TImage& image, float x, float y,
                      int frame) {
    Record(TDrawKind::Image, canvas, state, x, y, static_cast<float>(ImageWidth(image)),
           static_cast<float>(ImageHeight(image)));
    Calls.back().image = image;
    Calls.back().frame = frame;
}

void BackendDrawRect(TGadget canvas, const TDrawState& state, float x, float y, float w, float h) {
    Record(TDrawKind::Rect, canvas, state, x, y, w, h);
}

void BackendDrawLine(TGadget canvas, const TDrawState& state, float x1, float y1, float x2, float y2, int) {
    Record(TDrawKind::Line, canvas, state, x1, y1, x2, y2);
}

void BackendDrawOval(TGadget canvas, const TDrawState& state, float x, float y, float w, float h) {
    Record(TDrawKind::Oval, canvas, state, x, y, w, h);
}

void BackendDrawText(TGadget canvas, const TDrawState& state, const std::string& text, float x, float y) {
    Record(TDrawKind::Text, canvas, state, x, y);
    Calls.back().text = text;
}

void BackendGrabImage(TGadget canvas, const TImage& image, int x, int y, int frame) {
    Record(TDrawKind::Grab, canvas, canvas->draw, static_cast<float>(x), static_cast<float>(y));
    Calls.back().image = image;
    Calls.back().frame = frame;
}

void HeadlessReset() {
    ResetEventChain();
    while (!AllGadgets().empty())
        DestroyGadget(AllGadgets().front());
    Clock = 0;
    Timers.clear(); // the platform keeps the timers themselves; they just stop ticking here
    TimerDue.clear();
    Calls.clear();
    Screen = DefaultWorkArea;
    SetDebugLogSink(nullptr);
}

void HeadlessSetWorkArea(const TBounds& area) {
    Screen = area;
}

void HeadlessSetClock(uint64_t ms) {
    Clock = ms;
}

void HeadlessAdvanceClock(uint64_t ms) {
    const uint64_t until = Clock + ms;
    // Step from due time to due time so that ticks arrive in the order a real clock would give them.
    for (;;) {
        size_t next = Timers.size();
        for (size_t i = 0; i < Timers.size(); ++i) {
            if (TimerDue[i] <= until && (next == Timers.size() || TimerDue[i] < TimerDue[next])) next = i;
        }
        if (next == Timers.size()) break;
        Clock = TimerDue[next];
        TimerDue[next] += static_cast<uint64_t>(Timers[next]->periodMs);
        TEvent tick;
        tick.id = TimerTick;
        tick.source = Timers[next];
        EmitEvent(tick);
    }
    Clock = until;
}

void HeadlessEmit(const TEvent& event) {
    EmitEvent(event);
}

void HeadlessPressButton(TGadget button) {
    if (button == nullptr) return;
    TEvent action;
    action.id = GadgetAction;
    action.source = button;
    EmitEvent(action);
}

void HeadlessSelectItem(TGadget listBox, int index) {
    if (listBox == nullptr) return;
    listBox->selected = index >= 0 && index < static_cast<int>(listBox->items.size()) ? index : -1;
}

void HeadlessFollowLink(TGadget htmlView, const std::string& location) {
    if (htmlView != nullptr) htmlView->url = location;
}

void HeadlessCloseWindow(TGadget window) {
    if (window == nullptr) return;
    TEvent close;
    close.id = WindowClose;
    close.source = window;
    EmitEvent(close);
}

const std::vector<TDrawCall>& HeadlessDrawCalls() {
    return Calls;
}

void HeadlessClearDrawCalls() {
    Calls.clear();
}
