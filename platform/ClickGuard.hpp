#pragma once
// A click acts only on what it was made on: the second press of a quick pair at one spot that lands on
// another control, or on a page its view has left since the first, is dropped with all of its reports.
// Otherwise the second click of a double-click on "Play" would pick whatever level card the new page
// shows under the pointer. Owned by the backend that sees the toolkit's button events; it never fails.

#include <cstdint>
#include <string>

class TClickGuard {
  public:
    TClickGuard(uint32_t pairMs, int pairDistance) : pairMs(pairMs), pairDistance(pairDistance) {}

    // A button went down at a screen point on a control showing a page ("" for all but HTML views);
    // whether the press goes on to the toolkit.
    bool Press(uint32_t timeMs, int button, int x, int y, const void* control, const std::string& page);
    // The toolkit's reports of a double or triple press, and the release: they follow their press.
    bool Repeat(int button) const;
    bool Release(int button);

  private:
    uint32_t pairMs;
    int pairDistance;
    bool pressed = false; // a press has been seen
    uint32_t lastMs = 0;
    int lastButton = 0;
    int lastX = 0, lastY = 0;
    const void* lastControl = nullptr;
    std::string lastPage;
    int dropping = 0; // the button whose press was dropped, until its release
};
