#pragma once
// The emission side of the event chain, for backends and tests: every produced event goes through here.
// Hooks run at once, on the caller's thread; the queue at the end keeps at most QueueCapacity events.

#include "platform/Platform.hpp"

#include <cstddef>

inline constexpr int QueuePriority = -10000;
inline constexpr size_t QueueCapacity = 256;

struct TTimerData {
    int periodMs = 0;
    void* native = nullptr;
};

void EmitEvent(const TEvent& event);
size_t QueuedEventCount();
// Forget every hook and queued event; tests start from here.
void ResetEventChain();
// Where DebugLog lines go; the game leaves the sink empty, so they are discarded.
void SetDebugLogSink(std::function<void(const std::string&)> sink);
