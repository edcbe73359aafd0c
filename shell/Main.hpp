#pragma once
// The program's entry and heartbeat: start-up in its fixed order, then one thread waiting for events.
// Owns the frame timer and the quit request; start-up checks no results and never stops on a failure.

#include "platform/Platform.hpp"

extern TTimer FrameTimer;
extern bool QuitRequested; // set by Escape; the loop ends after the iteration that set it

int Main();
// Start-up before the content: the program's state, the GUI, the rules' hooks and the scene.
void BuildProgram();
// Everything Main does before its loop: the above, the content, the player, the timer and the hooks.
void StartUp();
void BuildGui();
void LoadContent();
void ResetPlayerState();
// One pass of the loop for an event already taken from the queue; false once the loop should end.
bool HandleLoopEvent(const TEvent& event);
// Takes events until the loop should end; returns when Escape was pressed or nothing can ever arrive.
void RunMainLoop();
