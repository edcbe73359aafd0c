#pragma once
// Where the pointer is over the game canvas and which button is down, as gesture recognition reads it.
// Written only by TrackPointer, which the shell's pointer hook calls for the canvas's mouse events.

#include "platform/Platform.hpp"

inline int PointerX = 0;
inline int PointerY = 0;
inline int PointerButton = 0; // 1 left, 2 right, 3 middle; 0 when released

// A move sets the position; a press sets the button and a release clears it, leaving the position alone.
void TrackPointer(const TEvent& event);
