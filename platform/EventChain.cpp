#include "platform/EventChain.hpp"

#include "platform/Backend.hpp"

#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct THookEntry {
    TEventHook hook;
    int priority = 0;
};

std::vector<THookEntry> Hooks;
std::deque<TEvent> Queue;
TEvent Current;
std::function<void(const std::string&)> LogSink;

bool Coalesces(int id) {
    return id == TimerTick || id == GadgetAction || id == WindowMove || id == WindowSize;
}

void QueueEvent(const TEvent& event) {
    if (Coalesces(event.id)) {
        for (TEvent& waiting : Queue) {
            if (waiting.id == event.id && waiting.source == event.source) {
                waiting.data = event.data;
                waiting.mods = event.mods;
                waiting.x = event.x;
                waiting.y = event.y;
                waiting.extra = event.extra;
                return;
            }
        }
    }
    if (Queue.size() >= QueueCapacity) return;
    Queue.push_back(event);
}

} // namespace

void EmitEvent(const TEvent& event) {
    TEvent copy = event;
    TEvent* passed = &copy;
    // A hook may add hooks while it runs; walk by index over a snapshot of the size.
    const size_t count = Hooks.size();
    for (size_t i = 0; i < count && passed != nullptr; ++i) {
        TEventHook hook = Hooks[i].hook;
        passed = hook(passed);
    }
    if (passed != nullptr) QueueEvent(*passed);
}

void AddEventHook(TEventHook hook, int priority) {
    // Highest priority first; equal priorities keep the order they were added in.
    auto at = Hooks.begin();
    while (at != Hooks.end() && at->priority >= priority)
        ++at;
    Hooks.insert(at, THookEntry{std::move(hook), priority});
}

TEvent* NextEvent() {
    while (Queue.empty()) {
        if (!BackendWaitForMessages() && Queue.empty()) return nullptr;
    }
    Current = Queue.front();
    Queue.pop_front();
    return &Current;
}

const TEvent& CurrentEvent() {
    return Current;
}

size_t QueuedEventCount() {
    return Queue.size();
}

void ResetEventChain() {
    Hooks.clear();
    Queue.clear();
    Current = TEvent{};
}

TTimer CreateTimer(int ticksPerSecond) {
    if (ticksPerSecond <= 0) return nullptr;
    // Timers run until the program ends; the store keeps them, and is itself never destroyed.
    static auto& store = *new std::vector<std::unique_ptr<TTimerData>>;
    TTimer timer = store.emplace_back(std::make_unique<TTimerData>()).get();
    timer->periodMs = 1000 / ticksPerSecond;
    if (timer->periodMs < 1) timer->periodMs = 1;
    BackendStartTimer(timer, timer->periodMs);
    return timer;
}

uint32_t Milliseconds() {
    return static_cast<uint32_t>(BackendClockMs());
}

void EndProgram() {
    BackendEndProgram();
}

void SetDebugLogSink(std::function<void(const std::string&)> sink) {
    LogSink = std::move(sink);
}

void DebugLog(const std::string& text) {
    if (LogSink) LogSink(text);
}
