// Asks a window to close the way a window manager's close box does: a WM_DELETE_WINDOW message.
// Xvfb has no window manager, so the end-to-end tests press the close box with this.
// Usage: send-close WINDOW-ID; exits 1 when the display or the window cannot be reached.

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: send-close WINDOW-ID\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const Window window = std::strtoul(argv[1], nullptr, 0);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &message);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}
