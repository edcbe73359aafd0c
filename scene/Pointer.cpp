#include "scene/Pointer.hpp"

void TrackPointer(const TEvent& event) {
    switch (event.id) {
    case MouseMove:
        PointerX = event.x;
        PointerY = event.y;
        break;
    case MouseDown:
        PointerButton = event.data;
        break;
    case MouseUp:
        PointerButton = 0;
        break;
    default:
        break;
    }
}
