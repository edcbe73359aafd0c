#pragma once
// The seam between the GTK widgets and the GL renderer: every canvas draws into its own offscreen
// framebuffer (its back buffer), which the canvas widget copies to the screen when it is painted.
// Returns false, and the renderer draws nothing, while no GL context can be had.

#include "platform/Platform.hpp"

// Agreed between the two sides: one GL context serves every canvas, so the renderer's program, vertex
// array and textures work on all of them. The back buffer keeps the canvas's top row in framebuffer
// row 0: the renderer's projection puts y = 0 there and grabs read rows straight; the copy to the screen
// flips them.

// Makes the shared GL context current, binds the canvas's back-buffer framebuffer and sets the viewport
// to the canvas size (creating or resizing the framebuffer on first use). The context belongs to the
// canvases alone, so nothing needs restoring afterwards.
bool GlCanvasBind(TGadget canvas);
// Whether the canvas has its back buffer yet; before the first drawing it has none and shows black.
bool GlCanvasStarted(TGadget canvas);
// Asks the canvas widget to copy its back buffer to the screen at its next paint.
void GlCanvasPresent(TGadget canvas);
