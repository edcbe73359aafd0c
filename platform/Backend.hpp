#pragma once
// What a backend provides under the shared platform code; exactly one backend is linked.
// The shared code keeps gadget records, the event chain, images and fonts; a backend mirrors the records
// in real widgets (or not at all) and renders or records the draw calls.

#include "platform/DrawState.hpp"
#include "platform/GadgetRecord.hpp"
#include "platform/Platform.hpp"

#include <cstdint>

void BackendGadgetCreated(TGadget gadget);
void BackendGadgetDestroyed(TGadget gadget); // called children first
void BackendVisibilityChanged(TGadget gadget);
void BackendBoundsChanged(TGadget gadget);
void BackendTextChanged(TGadget gadget);
void BackendItemsChanged(TGadget listBox);
void BackendStatusTextChanged(TGadget window);
void BackendPictureChanged(TGadget panel);
TBounds BackendWorkArea(TGadget window);
void BackendNavigate(TGadget htmlView, const std::string& location);
void BackendRepaintRequested(TGadget canvas);
// Whether a canvas may be painted again: the picture it presented last has reached the screen (or has
// been waiting too long to wait for). A frame drawn before then would never be seen.
bool BackendCanvasReady(TGadget canvas);

// Runs the machine until at least one event may have been queued. Returns false when waiting again could
// never produce one (the headless backend, which never blocks).
bool BackendWaitForMessages();
// Called by the loading operations: a backend whose toolkit has work of its own to show (a page being
// loaded while the game is still starting) may let it run here. Events that arrive meanwhile are only
// queued; the game takes them once it waits for events.
void BackendWhileLoading();
uint64_t BackendClockMs();
void BackendStartTimer(TTimer timer, int periodMs);
[[noreturn]] void BackendEndProgram();

// Drawing on the current target; state holds colour, blend, scale and font.
void BackendBeginTarget(TGadget canvas);
void BackendClear(TGadget canvas);
void BackendPresent(TGadget canvas);
void BackendDrawImage(TGadget canvas, const TDrawState& state, const TImage& image, float x, float y,
                      int frame);
void BackendDrawRect(TGadget canvas, const TDrawState& state, float x, float y, float w, float h);
void BackendDrawLine(TGadget canvas, const TDrawState& state, float x1, float y1, float x2, float y2,
                     int lastPixel);
void BackendDrawOval(TGadget canvas, const TDrawState& state, float x, float y, float w, float h);
void BackendDrawText(TGadget canvas, const TDrawState& state, const std::string& text, float x, float y);
void BackendGrabImage(TGadget canvas, const TImage& image, int x, int y, int frame);
