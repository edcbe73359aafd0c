#include "scene/Pointer.hpp"

namespace {

bool PressUnseen = false;
bool ReleasePending = false;

} // namespace

void TrackPointer(const TEvent& event) {
    switch (event.id) {
    case MouseMove:
        PointerX = event.x;
        PointerY = event.y;
        PointerOnCanvas = true;
        break;
    case MouseLeave:
        PointerOnCanvas = false;
        break;
    case MouseDown:
        PointerButton = event.data;
        PressUnseen = true;
        ReleasePending = false;
        break;
    case MouseUp:
        if (PressUnseen)
            ReleasePending = true;
        else
            PointerButton = 0;
        break;
    default:
        break;
    }
}

void PointerPolled() {
    PressUnseen = false;
    if (!ReleasePending) return;
    ReleasePending = false;
    PointerButton = 0;
}
