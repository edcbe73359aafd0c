#pragma once
// What the display tests of the GTK backend share: running the loop for a while, finding a widget on
// the screen, driving the real pointer and keyboard with xdotool, and keeping the events emitted.

#include "platform/EventChain.hpp"
#include "platform/Platform.hpp"
#include "platform/gtk/GtkNative.hpp"

#include <gtest/gtest.h>
// After the test framework: the X headers define names such as None that it uses.
#include <gdk/gdkx.h>
#undef None
#undef Bool
#undef Status

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Runs the toolkit until `done` holds or `timeoutMs` passes; true when `done` held.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const gint64 until = g_get_monotonic_time() + static_cast<gint64>(timeoutMs) * 1000;
    while (!done()) {
        if (g_get_monotonic_time() > until) return false;
        while (g_main_context_pending(nullptr))
            g_main_context_iteration(nullptr, FALSE);
        g_usleep(2000);
    }
    return true;
}

inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

inline GtkWidget* WidgetOf(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    return native->control != nullptr ? native->control : native->outer;
}

// Root coordinates of the point (x, y) of a gadget's widget.
inline std::pair<int, int> ScreenPoint(TGadget gadget, int x, int y) {
    GtkWidget* widget = WidgetOf(gadget);
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int inTop = 0, inTopY = 0, originX = 0, originY = 0;
    gtk_widget_translate_coordinates(widget, top, x, y, &inTop, &inTopY);
    gdk_window_get_origin(gtk_widget_get_window(top), &originX, &originY);
    return {originX + inTop, originY + inTopY};
}

// Colour of one screen pixel, read back from the X server.
inline std::vector<int> ScreenPixel(std::pair<int, int> point) {
    GdkPixbuf* shot =
        gdk_pixbuf_get_from_window(gdk_get_default_root_window(), point.first, point.second, 1, 1);
    if (shot == nullptr) return {};
    const guchar* p = gdk_pixbuf_get_pixels(shot);
    std::vector<int> rgb = {p[0], p[1], p[2]};
    g_object_unref(shot);
    return rgb;
}

// A rectangle of the screen, three bytes a pixel.
inline std::vector<guchar> ScreenArea(std::pair<int, int> at, int w, int h) {
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), at.first, at.second, w, h);
    if (shot == nullptr) return {};
    std::vector<guchar> rgb;
    for (int row = 0; row < h; ++row) {
        const guchar* from =
            gdk_pixbuf_get_pixels(shot) + static_cast<ptrdiff_t>(row) * gdk_pixbuf_get_rowstride(shot);
        for (int column = 0; column < w; ++column, from += gdk_pixbuf_get_n_channels(shot))
            rgb.insert(rgb.end(), from, from + 3);
    }
    g_object_unref(shot);
    return rgb;
}

inline bool Xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// A pointer asked to move with --sync to where it already is waits for a move that never comes.
// Clicks come apart as a person's do: two quick clicks at one spot are a double-click, whose second
// half the click guard drops when the page under it has changed.
inline bool ClickAt(std::pair<int, int> point, int button = 1) {
    static auto lastClick = std::chrono::steady_clock::time_point();
    gint pairMs = 400;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &pairMs, nullptr);
    const auto since =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - lastClick);
    if (since.count() <= pairMs) PumpFor(pairMs + 50 - static_cast<int>(since.count()));
    int x = 0, y = 0;
    gdk_device_get_position(gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())),
                            nullptr, &x, &y);
    const std::string move = std::pair(x, y) == point ? ""
                                                      : "mousemove --sync " + std::to_string(point.first) +
                                                            " " + std::to_string(point.second) + " ";
    const bool clicked = Xdotool(move + "click " + std::to_string(button));
    lastClick = std::chrono::steady_clock::now();
    return clicked;
}

inline unsigned long XidOf(TGadget window) {
    return gdk_x11_window_get_xid(gtk_widget_get_window(NativeOf(window)->outer));
}

inline bool WaitMapped(TGadget window) {
    return PumpUntil([&] { return gtk_widget_get_mapped(NativeOf(window)->outer); }, 3000);
}

// Keeps a copy of every emitted event of the given ids; consumed ones never reach the queue.
struct TEventLog {
    std::vector<TEvent> events;
    void Watch(std::vector<int> ids, bool consume) {
        AddEventHook(
            [this, ids, consume](TEvent* event) -> TEvent* {
                for (int id : ids) {
                    if (event->id == id) {
                        events.push_back(*event);
                        return consume ? nullptr : event;
                    }
                }
                return event;
            },
            1);
    }
    int Count(int id, const void* source = nullptr) const {
        int count = 0;
        for (const TEvent& event : events)
            count += event.id == id && (source == nullptr || event.source == source);
        return count;
    }
    const TEvent* Last(int id) const {
        for (auto at = events.rbegin(); at != events.rend(); ++at) {
            if (at->id == id) return &*at;
        }
        return nullptr;
    }
};

// Every test starts on a clean machine: no gadgets, hooks, queued events or running timers.
class GtkTest : public testing::Test {
  protected:
    void SetUp() override { GtkEnsureStarted(); }
    void TearDown() override {
        while (!AllGadgets().empty())
            DestroyGadget(AllGadgets().front());
        for (TTimer timer : timers) {
            g_source_destroy(static_cast<GSource*>(timer->native));
            g_source_unref(static_cast<GSource*>(timer->native));
        }
        ResetEventChain();
        PumpFor(50);
    }
    TTimer Timer(int rate) { return timers.emplace_back(CreateTimer(rate)); }
    std::vector<TTimer> timers;
};
