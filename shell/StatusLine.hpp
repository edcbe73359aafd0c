#pragma once
// The main window's status bar during a level: the week and the Gorum's motivation, as in
// "Week 3 of 10 · Motivation 62"; empty while the menu page covers the world.

#include <string>

// The line for the state the game is in now.
std::string StatusLine();
// Writes the line into the status bar; the platform only redraws the bar when the line changed.
void UpdateStatusLine();
