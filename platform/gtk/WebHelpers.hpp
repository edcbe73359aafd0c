#pragma once
// The engine's helper processes, children of the game: a watch that ends a page's process once it holds
// more than WebMemoryCapMb (the engine's own memory handler runs between a page's scripts, so a script
// that never yields outgrows it), and their end when the game ends.

// A menu or tutorial page takes a tenth of this; the game and two pages at the cap stay under 1.5 GB.
inline constexpr int WebMemoryCapMb = 512;

// Starts the watch; later calls do nothing.
void StartMemoryWatch();
// Stops the watch, asks the helpers to leave, waits a little for them and collects them, so that neither
// a running helper nor an unreaped one is left behind when the game goes.
void EndHelpers();
