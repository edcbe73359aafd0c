#pragma once
// The game world on the canvas, built once at start-up: font, the twelve layers in draw order, backdrop,
// time bar, display buttons, motivation meter, goal-creation menu and the job's radial menu.
// Missing art leaves buttons without pictures and their hotspots 0 x 0; nothing here can fail.

#include "scene/Radial.hpp"

#include <string>

// The job button's menu: "WORK" and "QUIT" on a ring laid out for three.
extern TRadialRef WorkRadial;

void BuildScene();
void BuildLayers();
// The routine behind a layer's draw-routine name; an unknown name draws nothing.
void DrawCustomLayer(const std::string& name);
