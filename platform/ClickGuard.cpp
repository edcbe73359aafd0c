#include "platform/ClickGuard.hpp"

#include <cstdlib>

bool TClickGuard::Press(uint32_t timeMs, int button, int x, int y, const void* control,
                        const std::string& page) {
    const bool paired = pressed && button == lastButton && timeMs - lastMs <= pairMs &&
                        std::abs(x - lastX) <= pairDistance && std::abs(y - lastY) <= pairDistance;
    if (paired && (control != lastControl || page != lastPage)) {
        dropping = button;
        // A third click of the quick run is measured from this one, and dropped the same way.
        lastMs = timeMs;
        return false;
    }
    pressed = true;
    lastMs = timeMs;
    lastButton = button;
    lastX = x;
    lastY = y;
    lastControl = control;
    lastPage = page;
    dropping = 0;
    return true;
}

bool TClickGuard::Repeat(int button) const {
    return dropping != button;
}

bool TClickGuard::Release(int button) {
    if (dropping != button) return true;
    dropping = 0;
    return false;
}
