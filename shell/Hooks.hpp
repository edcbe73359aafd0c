#pragma once
// The two hooks on the event chain: drawing the canvases when they are painted, and tracking the pointer
// over the game canvas. Both consume what they handle, so those events never reach the queue.

#include "platform/Platform.hpp"

TEvent* PaintHook(TEvent* event);
TEvent* PointerHook(TEvent* event);
