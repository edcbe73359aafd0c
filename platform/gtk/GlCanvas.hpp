#pragma once
// The seam between the GTK widgets and the GL renderer: every canvas draws into its own offscreen
// framebuffer (its back buffer), which the canvas widget copies to the screen when it is painted.
// Returns false, and the renderer draws nothing, while no GL context can be had.

#include "platform/Platform.hpp"

// Makes the shared GL context current, binds the canvas's back-buffer framebuffer and sets the viewport
// to the canvas size (creating or resizing the framebuffer on first use).
bool GlCanvasBind(TGadget canvas);
// Restores whatever framebuffer GTK had bound before GlCanvasBind.
void GlCanvasRelease(TGadget canvas);
// Asks the canvas widget to copy its back buffer to the screen at its next paint.
void GlCanvasPresent(TGadget canvas);
