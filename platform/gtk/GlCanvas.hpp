#pragma once
// The seam between the GTK widgets and the GL renderer: every canvas draws into its own offscreen
// framebuffer (its back buffer), which the canvas widget shows when it is painted.
// Returns false, and the renderer draws nothing, while no GL context can be had.

#include "platform/Platform.hpp"

// Agreed between the two sides: one GL context serves every canvas, so the renderer's program, vertex
// array and textures work on all of them. The back buffer keeps GL's row order, the canvas's top row
// last, as GDK expects of the textures it draws: the renderer's projection puts y = 0 there, and grabs
// turn the rows they read around.

// Makes the shared GL context current, binds the canvas's back-buffer framebuffer and sets the viewport
// to the canvas size (creating or resizing the framebuffer on first use). The context belongs to the
// canvases alone, so nothing needs restoring afterwards.
bool GlCanvasBind(TGadget canvas);
// Whether the canvas has its back buffer yet; before the first drawing it has none and shows black.
bool GlCanvasStarted(TGadget canvas);
// Asks the canvas widget to show its back buffer at its next paint. Drawing on it again later leaves
// the picture on screen as it was presented.
void GlCanvasPresent(TGadget canvas);
