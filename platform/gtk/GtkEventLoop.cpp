// Start-up of the toolkit, the wait for events, the frame timer, the clock and the end of the program.
#include "platform/Backend.hpp"
#include "platform/EventChain.hpp"
#include "platform/gtk/GtkNative.hpp"
#include "platform/gtk/WebSeal.hpp"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

bool Started = false;
bool Waited = false; // the game has waited for events at least once
const gint64 StartUs = g_get_monotonic_time();

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

// Until the first page is on screen the engine's processes need the processors more than start-up's
// loaders, which would only put the menu off by competing with them. So loading waits for that page, up to
// FirstPageWaitLimitMs after start.
void WaitForFirstPage() {
    constexpr gint64 LongestUs = gint64{FirstPageWaitLimitMs} * 1000;
    const auto waited = [] { return g_get_monotonic_time() - StartUs; };
    if (GtkHtmlPageShown() || waited() >= LongestUs) return;
    const guint wakeUp = g_timeout_add(
        static_cast<guint>((LongestUs - waited()) / 1000 + 1), [](gpointer) { return G_SOURCE_REMOVE; },
        nullptr);
    while (!GtkHtmlPageShown() && waited() < LongestUs)
        g_main_context_iteration(nullptr, TRUE);
    if (g_main_context_find_source_by_id(nullptr, wakeUp) != nullptr) g_source_remove(wakeUp);
}

} // namespace

void GtkEnsureStarted() {
    if (Started) return;
    Started = true;
    // Without this the web views paint nothing on a plain X server; a user's own choice wins.
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
    PrepareProcessForPages();
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "gorum: cannot open the display (is DISPLAY set?)\n");
        std::exit(1);
    }
    GtkInstallPanelStyle();
    GtkInstallClickGuard();
}

// The menu page that start-up opens is drawn by the engine's own process while the game still assembles
// its scene and loads content; letting the toolkit take the finished page now and then shows it as
// soon as it is ready instead of after all of start-up. Only until the game first waits for events:
// from then on its loop serves the toolkit.
void BackendWhileLoading() {
    constexpr gint64 PeriodUs = 4000;
    static gint64 nextUs = 0;
    if (!Started || Waited || !GtkHtmlViewsExist()) return;
    WaitForFirstPage();
    const gint64 now = g_get_monotonic_time();
    if (now < nextUs) return;
    nextUs = now + PeriodUs;
    for (int i = 0; i < 64 && g_main_context_iteration(nullptr, FALSE); ++i) {
    }
}

bool BackendWaitForMessages() {
    GtkEnsureStarted();
    Waited = true;
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
    // Below the toolkit's redraw: on a loaded machine a tick is always due, and at the default
    // priority it would starve the painting of the windows and the web views for good.
    g_source_set_priority(source, GDK_PRIORITY_REDRAW + 10);
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
