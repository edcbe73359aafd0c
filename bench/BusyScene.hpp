#pragma once
// The busiest real scene, built by the game's own start-up and rules from the shipped content: the
// longest level started, every station shown, 15 goal tokens hanging from the time bar with their strings
// and gold chains, a station's radial menu open with its labels, and the motivation meter. The same on
// every backend, so that what one bench measures another can replay.

// Start-up as the game does it, without entering the loop; then the level and the scene.
void BuildBusyScene();
