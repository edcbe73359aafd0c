#pragma once
// Where the pointer is over the game canvas and which button is down, as gesture recognition reads it.
// Written by TrackPointer, which the shell's pointer hook calls for the canvas's mouse events, and by
// PointerPolled, which hands on a release that came before any poll saw its press.

#include "platform/Platform.hpp"

inline int PointerX = 0;
inline int PointerY = 0;
inline int PointerButton = 0; // 1 left, 2 right, 3 middle; 0 when released
// False once the pointer has left the canvas for a panel or another window, until it moves on the canvas
// again: nothing is under it meanwhile, though its last position stays for whatever it carries.
inline bool PointerOnCanvas = true;

// A move sets the position; a press sets the button and a release clears it, leaving the position alone;
// a leave takes the pointer off the canvas.
// A release before the gesture poll has seen its press waits for that poll: a tap shorter than a frame
// (a touchpad's, or a synthetic click) would otherwise never be a click.
void TrackPointer(const TEvent& event);
// Called by the gesture poll once it has read the button.
void PointerPolled();
