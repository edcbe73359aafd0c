#pragma once
// Ticks per second asked of the frame timer; motions that step once per tick divide by it.

inline constexpr int FrameRate = 60;
