// Start-up of the toolkit, the wait for events, the frame timer, the clock and the end of the program.
#include "platform/Backend.hpp"
#include "platform/EventChain.hpp"
#include "platform/gtk/GtkNative.hpp"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

bool Started = false;
const gint64 StartUs = g_get_monotonic_time();

// Panels are opaque so that their texts stay readable over the canvas picture; controls keep to the
// sizes the game gives them instead of the theme's generous minimums.
constexpr const char* Css = R"css(
.gorum-panel { background-color: #dcdcdc; }
.gorum-sunken { border-style: solid; border-width: 1px; border-color: #808080 #ffffff #ffffff #808080; }
.gorum-button { padding: 0px 2px; min-height: 0px; min-width: 0px; }
.gorum-label { padding: 0px; }
.gorum-label-box { background: transparent; border: none; }
)css";

// A timer source that steps its deadline by whole periods from the previous deadline, so that the
// rate does not drift with the time the loop takes to come round.
struct TTickSource {
    GSource base;
    TTimer timer;
    gint64 periodUs;
    gint64 deadlineUs;
};

gboolean DispatchTick(GSource* source, GSourceFunc, gpointer) {
    auto* tick = reinterpret_cast<TTickSource*>(source);
    const gint64 now = g_source_get_time(source);
    tick->deadlineUs += tick->periodUs;
    // After a stall, no burst of catch-up ticks: the next one keeps the phase but lies ahead.
    while (tick->deadlineUs <= now)
        tick->deadlineUs += tick->periodUs;
    g_source_set_ready_time(source, tick->deadlineUs);
    TEvent event;
    event.id = TimerTick;
    event.source = tick->timer;
    EmitEvent(event);
    return G_SOURCE_CONTINUE;
}

GSourceFuncs TickFuncs = {nullptr, nullptr, DispatchTick, nullptr, nullptr, nullptr};

} // namespace

void GtkEnsureStarted() {
    if (Started) return;
    Started = true;
    // Without this the web views paint nothing on a plain X server; a user's own choice wins.
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "gorum: cannot open the display (is DISPLAY set?)\n");
        std::exit(1);
    }
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, Css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

bool BackendWaitForMessages() {
    GtkEnsureStarted();
    for (;;) {
        ServePendingRepaints();
        if (QueuedEventCount() > 0) return true;
        g_main_context_iteration(nullptr, TRUE);
    }
}

uint64_t BackendClockMs() {
    return static_cast<uint64_t>((g_get_monotonic_time() - StartUs) / 1000);
}

void BackendStartTimer(TTimer timer, int periodMs) {
    GtkEnsureStarted();
    GSource* source = g_source_new(&TickFuncs, sizeof(TTickSource));
    auto* tick = reinterpret_cast<TTickSource*>(source);
    tick->timer = timer;
    tick->periodUs = static_cast<gint64>(periodMs) * 1000;
    tick->deadlineUs = g_get_monotonic_time() + tick->periodUs;
    g_source_set_ready_time(source, tick->deadlineUs);
    // Below the toolkit's redraw: on a machine too slow for the frame rate a tick is always due, and at
    // a higher priority the windows would never be drawn again.
    g_source_set_priority(source, GDK_PRIORITY_REDRAW + 1);
    g_source_attach(source, nullptr);
    timer->native = source;
}

// The request is served by the next wait, which emits the canvas's paint event before it blocks.
void BackendRepaintRequested(TGadget) {}

void BackendEndProgram() {
    // The engine's helper processes leave with their views; then leave at once, without running the
    // toolkit's exit handlers, which can take seconds.
    if (Started) GtkFreeAllHtmlViews();
    std::fflush(nullptr);
    _exit(0);
}
