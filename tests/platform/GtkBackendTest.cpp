#include "GtkTestSupport.hpp"

#include "platform/ImageData.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <signal.h>

namespace {

constexpr int MainStyle = StyleTitleBar | StyleStatusBar | StyleClientCoords;

// The game's own layout: a main window whose canvas fills the client area, a panel with a button on it.
struct TScene {
    TGadget window = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, MainStyle);
    TGadget canvas = AddCanvas(0, 0, 800, 600, window);
    TGadget panel = AddPanel(500, 100, 200, 150, canvas, 1);
    TGadget button = AddButton("Continue", 20, 20, 100, 25, panel);
    TScene() {
        SetDrawTarget(canvas);
        ClearTarget();
        Present();
    }
};

// The window on screen and every event of getting there handled and forgotten.
bool SettleOnScreen(TGadget window, TEventLog& log, int ms) {
    if (!WaitMapped(window)) return false;
    PumpFor(ms);
    while (QueuedEventCount() > 0)
        NextEvent();
    log.events.clear();
    return true;
}

TEST_F(GtkTest, GtkWindow_ClientAreaIsTheAskedSizeAtTheAskedPlace) {
    TScene scene;
    ASSERT_TRUE(WaitMapped(scene.window));
    PumpFor(200);
    GtkWidget* client = NativeOf(scene.window)->fixed;
    EXPECT_EQ(gtk_widget_get_allocated_width(client), 800);
    EXPECT_EQ(gtk_widget_get_allocated_height(client), 600);
    EXPECT_EQ(ScreenPoint(scene.canvas, 0, 0), std::make_pair(150, 75));
    // The X window itself: as wide as the client area, taller by the status bar only.
    GdkWindow* x = gtk_widget_get_window(NativeOf(scene.window)->outer);
    EXPECT_EQ(gdk_window_get_width(x), 800);
    EXPECT_GT(gdk_window_get_height(x), 600);
    EXPECT_LE(gdk_window_get_height(x), 640);
    EXPECT_EQ(ClientWidth(scene.window), 800);
    EXPECT_EQ(ClientHeight(scene.window), 600);
}

TEST_F(GtkTest, GtkWindow_CloseBoxReportsAndLeavesTheWindowOpen) {
    TScene scene;
    TEventLog log;
    log.Watch({WindowClose}, false);
    ASSERT_TRUE(WaitMapped(scene.window));
    GdkEvent* close = gdk_event_new(GDK_DELETE);
    close->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(NativeOf(scene.window)->outer)));
    gtk_main_do_event(close);
    gdk_event_free(close);
    PumpFor(100);
    EXPECT_EQ(log.Count(WindowClose, scene.window), 1);
    EXPECT_TRUE(gtk_widget_get_visible(NativeOf(scene.window)->outer));
}

TEST_F(GtkTest, GtkWindow_SetTextRetitlesAndHidingKeepsTheControls) {
    TScene scene;
    SetText(scene.window, "Other");
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(NativeOf(scene.window)->outer)), "Other");
    SetVisible(scene.window, false);
    TGadget label = AddLabel("Built while hidden", 10, 60, 150, 20, scene.panel);
    SetVisible(scene.window, true);
    ASSERT_TRUE(WaitMapped(scene.window));
    EXPECT_TRUE(gtk_widget_get_mapped(WidgetOf(label)));
    EXPECT_TRUE(gtk_widget_get_mapped(WidgetOf(scene.button)));
}

TEST_F(GtkTest, GtkButton_RealClickIsAnActionOfThatButtonAndNotAPointerEventOfTheCanvas) {
    TScene scene;
    TEventLog log;
    log.Watch({GadgetAction, MouseDown, MouseUp}, false);
    ASSERT_TRUE(WaitMapped(scene.window));
    PumpFor(200);
    ASSERT_TRUE(ClickAt(ScreenPoint(scene.button, 50, 12)));
    EXPECT_TRUE(PumpUntil([&] { return log.Count(GadgetAction) > 0; }, 2000));
    EXPECT_EQ(log.Count(GadgetAction, scene.button), 1);
    EXPECT_EQ(log.Count(MouseDown), 0);
    // The panel's own area, away from the button, is the panel's too.
    ASSERT_TRUE(ClickAt(ScreenPoint(scene.panel, 150, 120)));
    PumpFor(200);
    EXPECT_EQ(log.Count(MouseDown), 0);
}

TEST_F(GtkTest, GtkCanvas_PointerOutsideThePanelsArrivesInCanvasCoordinates) {
    TScene scene;
    TEventLog log;
    log.Watch({MouseMove, MouseDown, MouseUp}, true);
    ASSERT_TRUE(WaitMapped(scene.window));
    PumpFor(200);
    const auto point = ScreenPoint(scene.canvas, 300, 400);
    // The pointer may already rest on that very spot from an earlier test, and staying put moves nothing.
    ASSERT_TRUE(Xdotool("mousemove --sync " + std::to_string(point.first + 7) + " " +
                        std::to_string(point.second + 7)));
    ASSERT_TRUE(
        Xdotool("mousemove --sync " + std::to_string(point.first) + " " + std::to_string(point.second)));
    // Moves on the way there, or from where an earlier test left the pointer, may come first.
    PumpUntil([&] { return log.Count(MouseMove, scene.canvas) > 0 && log.Last(MouseMove)->y == 400; }, 2000);
    ASSERT_GT(log.Count(MouseMove, scene.canvas), 0);
    EXPECT_EQ(log.Last(MouseMove)->x, 300);
    EXPECT_EQ(log.Last(MouseMove)->y, 400);
    ASSERT_TRUE(Xdotool("click 1"));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(MouseUp, scene.canvas) > 0; }, 2000));
    EXPECT_EQ(log.Last(MouseDown)->data, 1);
    EXPECT_EQ(log.Last(MouseDown)->source, scene.canvas);
    ASSERT_TRUE(Xdotool("click 3"));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(MouseUp) == 2; }, 2000));
    EXPECT_EQ(log.Last(MouseDown)->data, 2);
    ASSERT_TRUE(Xdotool("click 2"));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(MouseUp) == 3; }, 2000));
    EXPECT_EQ(log.Last(MouseDown)->data, 3);
    // Consumed by the hook: none of it reached the queue.
    EXPECT_EQ(QueuedEventCount(), 0u);
    // Over the panel the canvas hears nothing.
    const int moves = log.Count(MouseMove);
    ASSERT_TRUE(ClickAt(ScreenPoint(scene.panel, 150, 120)));
    PumpFor(200);
    EXPECT_EQ(log.Count(MouseDown), 3);
    for (size_t i = static_cast<size_t>(moves); i < log.events.size(); ++i) {
        const TEvent& event = log.events[i];
        EXPECT_FALSE(event.id == MouseMove && event.x >= 500 && event.x < 700 && event.y >= 100 &&
                     event.y < 250)
            << "canvas saw the pointer over the panel at " << event.x << "," << event.y;
    }
}

// Onto a panel the canvas hears that the pointer left; when the panel goes, that it is back, and where.
TEST_F(GtkTest, GtkCanvas_LeavingForAPanelAndThePanelGoingAreReported) {
    TScene scene;
    TEventLog log;
    log.Watch({MouseMove, MouseLeave}, true);
    ASSERT_TRUE(WaitMapped(scene.window));
    const auto onCanvas = ScreenPoint(scene.canvas, 450, 150);
    ASSERT_TRUE(Xdotool("mousemove --sync " + std::to_string(onCanvas.first) + " " +
                        std::to_string(onCanvas.second)));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(MouseMove, scene.canvas) > 0; }, 2000));
    const auto onPanel = ScreenPoint(scene.panel, 100, 60);
    ASSERT_TRUE(
        Xdotool("mousemove --sync " + std::to_string(onPanel.first) + " " + std::to_string(onPanel.second)));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(MouseLeave, scene.canvas) > 0; }, 2000));
    log.events.clear();
    SetVisible(scene.panel, false);
    ASSERT_TRUE(PumpUntil([&] { return log.Count(MouseMove, scene.canvas) > 0; }, 2000));
    EXPECT_EQ(log.Last(MouseMove)->x, 600);
    EXPECT_EQ(log.Last(MouseMove)->y, 160);
}

// A text longer than its box is set smaller until it fits whole; a short one keeps its size.
TEST_F(GtkTest, GtkLabel_ATextTooLongForItsBoxIsSetSmallerToFitWhole) {
    TGadget window = OpenWindow("Label", 100, 100, 400, 300, nullptr, MainStyle);
    TGadget panel = AddPanel(0, 0, 350, 250, window, 1);
    const std::string longText =
        "  This is a planning goal.  It won't have any effect on the game until you focus on it.  You can "
        "focus goals more quickly by squeezing them with the left mouse button.  You can remove goals more "
        "quickly by dragging them away from the timebar.  Adjust the deadline by moving it left and right.";
    TGadget label = AddLabel("Short.", 15, 50, 320, 70, panel);
    ASSERT_TRUE(WaitMapped(window));
    PumpFor(100);
    const auto laidOut = [&] {
        int h = 0;
        pango_layout_get_pixel_size(gtk_label_get_layout(GTK_LABEL(WidgetOf(label))), nullptr, &h);
        return h;
    };
    const int shortHeight = laidOut();
    SetText(label, longText);
    PumpFor(100);
    EXPECT_LE(laidOut(), 70);
    EXPECT_GT(laidOut(), 3 * shortHeight); // still all of it, on several lines
    SetText(label, "Short.");
    PumpFor(100);
    EXPECT_EQ(laidOut(), shortHeight);
}

// A panel's picture sits in its middle, grown to fill it up to twice its size, and goes when taken away.
TEST_F(GtkTest, GtkPanel_APictureSitsInTheMiddleAndGoesWhenTakenAway) {
    TGadget window = OpenWindow("Picture", 100, 100, 300, 300, nullptr, MainStyle);
    TGadget panel = AddPanel(50, 50, 150, 150, window, 1);
    const TImage red = CreateImage(40, 40, 1, 0);
    for (size_t i = 0; i < red->pixels[0].size(); i += 4) {
        red->pixels[0][i] = 220;
        red->pixels[0][i + 3] = 255;
    }
    SetPicture(panel, red);
    ASSERT_TRUE(WaitMapped(window));
    PumpFor(300);
    EXPECT_EQ(ScreenPixel(ScreenPoint(panel, 75, 75)), (std::vector<int>{220, 0, 0}));
    EXPECT_EQ(ScreenPixel(ScreenPoint(panel, 36, 36)), (std::vector<int>{220, 0, 0})); // 80 x 80 now
    EXPECT_NE(ScreenPixel(ScreenPoint(panel, 20, 75)), (std::vector<int>{220, 0, 0}));
    SetPicture(panel, nullptr);
    PumpFor(300);
    EXPECT_NE(ScreenPixel(ScreenPoint(panel, 75, 75)), (std::vector<int>{220, 0, 0}));
}

TEST_F(GtkTest, GtkWindow_TheStatusBarShowsItsLineAndTheWorkAreaHoldsTheWindow) {
    TGadget window = OpenWindow("Gorum", 150, 75, 400, 300, nullptr, MainStyle);
    ASSERT_TRUE(WaitMapped(window));
    SetStatusText(window, "Week 3 of 10 · Motivation 62");
    PumpFor(100);
    GtkWidget* box = gtk_bin_get_child(GTK_BIN(NativeOf(window)->outer));
    GList* children = gtk_container_get_children(GTK_CONTAINER(box));
    GtkWidget* bar = GTK_WIDGET(g_list_last(children)->data);
    g_list_free(children);
    ASSERT_TRUE(GTK_IS_STATUSBAR(bar));
    GList* parts =
        gtk_container_get_children(GTK_CONTAINER(gtk_statusbar_get_message_area(GTK_STATUSBAR(bar))));
    ASSERT_NE(parts, nullptr);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(parts->data)), "Week 3 of 10 · Motivation 62");
    g_list_free(parts);
    const TBounds area = WorkArea(window);
    EXPECT_GE(area.w, 400);
    EXPECT_GE(area.h, 300);
    EXPECT_EQ(window->x, 150);
    EXPECT_EQ(window->y, 75);
}

TEST_F(GtkTest, GtkKeys_EscapeReachesTheGameWhileAButtonHasTheFocus) {
    TScene scene;
    TEventLog log;
    log.Watch({KeyDown, KeyUp, GadgetAction}, false);
    ASSERT_TRUE(WaitMapped(scene.window));
    PumpFor(200);
    gtk_widget_grab_focus(WidgetOf(scene.button));
    ASSERT_TRUE(gtk_widget_has_focus(WidgetOf(scene.button)));
    ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(XidOf(scene.window))));
    PumpFor(100);
    ASSERT_TRUE(Xdotool("key Escape"));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(KeyUp) > 0; }, 2000));
    ASSERT_NE(log.Last(KeyDown), nullptr);
    EXPECT_EQ(log.Last(KeyDown)->data, KeyEscape);
    ASSERT_TRUE(Xdotool("key a space Return"));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(KeyDown) == 4; }, 2000));
    EXPECT_EQ(log.events.size() >= 2 ? log.Count(KeyDown) : 0, 4);
    std::vector<int> codes;
    for (const TEvent& event : log.events) {
        if (event.id == KeyDown) codes.push_back(event.data);
    }
    EXPECT_EQ(codes, (std::vector<int>{27, 'A', 32, 13}));
    // Space and Enter press a focused button; Escape must not have been eaten by it.
    EXPECT_GE(log.Count(GadgetAction, scene.button), 1);
}

TEST_F(GtkTest, GtkTimer_TicksAtSixtyTwoAndAHalfASecond) {
    TTimer timer = Timer(60);
    int ticks = 0;
    NextEvent();
    const gint64 start = g_get_monotonic_time();
    while (g_get_monotonic_time() - start < 1500000) {
        TEvent* event = NextEvent();
        if (event->id == TimerTick && event->source == timer) ++ticks;
    }
    const double perSecond = ticks * 1e6 / static_cast<double>(g_get_monotonic_time() - start);
    EXPECT_GE(perSecond, 55.0);
    EXPECT_LE(perSecond, 66.0);
    RecordProperty("ticks_per_second", std::to_string(perSecond));
}

TEST_F(GtkTest, GtkTimer_TicksWhileBusyLeaveOneQueuedAndNoBurstAfterAStall) {
    TTimer timer = Timer(60);
    TEventLog log;
    log.Watch({TimerTick}, false);
    // Nobody takes the ticks: the toolkit runs, several ticks are emitted, one waits.
    PumpFor(100);
    EXPECT_GE(log.Count(TimerTick, timer), 4);
    EXPECT_EQ(QueuedEventCount(), 1u);
    EXPECT_EQ(NextEvent()->id, TimerTick);
    // A stall of many periods, then one tick; the ones that follow keep the plain rate.
    g_usleep(300000);
    const int before = log.Count(TimerTick);
    EXPECT_EQ(NextEvent()->id, TimerTick);
    const gint64 resumed = g_get_monotonic_time();
    while (g_get_monotonic_time() - resumed < 160000)
        NextEvent();
    EXPECT_LE(log.Count(TimerTick) - before, 12);
}

TEST_F(GtkTest, GtkCanvas_RequestRepaintGivesExactlyOnePaintInTheNextWait) {
    TScene scene;
    TTimer timer = Timer(60);
    TEventLog log;
    log.Watch({GadgetPaint}, true);
    ASSERT_TRUE(WaitMapped(scene.window));
    PumpFor(200);
    for (int i = 0; i < 5; ++i)
        NextEvent();
    log.events.clear();
    RequestRepaint(scene.canvas);
    RequestRepaint(scene.canvas);
    EXPECT_EQ(log.Count(GadgetPaint), 0);
    while (NextEvent()->source != timer) {
    }
    EXPECT_EQ(log.Count(GadgetPaint, scene.canvas), 1);
    for (int i = 0; i < 5; ++i)
        NextEvent();
    EXPECT_EQ(log.Count(GadgetPaint, scene.canvas), 1);
}

// A frame is painted only once the one before it reached the screen, as with a display's retrace; a
// window that stops painting holds the next frame up for a few frames' time, never for good.
TEST_F(GtkTest, GtkCanvas_TheNextPaintWaitsForThePresentedPictureToReachTheScreen) {
    TScene scene;
    Timer(60); // keeps the waits short whatever happens
    TEventLog log;
    log.Watch({GadgetPaint}, false);
    ASSERT_TRUE(SettleOnScreen(scene.window, log, 200));
    SetDrawTarget(scene.canvas);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 800, 600);
    Present();
    RequestRepaint(scene.canvas);
    for (int i = 0; i < 100 && log.Count(GadgetPaint, scene.canvas) == 0; ++i)
        NextEvent();
    ASSERT_EQ(log.Count(GadgetPaint, scene.canvas), 1);
    EXPECT_EQ(ScreenPixel(ScreenPoint(scene.canvas, 10, 10)), (std::vector<int>{255, 0, 0}));

    SetColor(0, 0, 255);
    DrawRect(0, 0, 800, 600);
    Present();
    SetVisible(scene.window, false); // the picture will not be painted now
    SetVisible(scene.window, true);
    log.events.clear();
    const uint64_t start = Milliseconds();
    RequestRepaint(scene.canvas);
    while (log.Count(GadgetPaint, scene.canvas) == 0 && Milliseconds() - start < 2000)
        NextEvent();
    EXPECT_EQ(log.Count(GadgetPaint, scene.canvas), 1);
    EXPECT_LT(Milliseconds() - start, 500u);
}

// Drawing goes on in the back buffer; until the next present the screen keeps the picture presented,
// however often the window is painted meanwhile.
TEST_F(GtkTest, GtkCanvas_TheScreenKeepsThePresentedPictureWhileTheNextIsDrawn) {
    TScene scene;
    ASSERT_TRUE(WaitMapped(scene.window));
    SetDrawTarget(scene.canvas);
    SetColor(0, 255, 0);
    DrawRect(0, 0, 800, 600);
    Present();
    PumpFor(200);
    ASSERT_EQ(ScreenPixel(ScreenPoint(scene.canvas, 10, 10)), (std::vector<int>{0, 255, 0}));
    SetColor(255, 0, 0);
    DrawRect(0, 0, 400, 600);
    const TImage probe = CreateImage(1, 1, 1, 0);
    GrabImage(probe, 10, 10, 0); // the drawing has reached the back buffer
    gtk_widget_queue_draw(NativeOf(scene.window)->outer);
    PumpFor(200);
    EXPECT_EQ(ScreenPixel(ScreenPoint(scene.canvas, 10, 10)), (std::vector<int>{0, 255, 0}));
    Present();
    PumpFor(200);
    EXPECT_EQ(ScreenPixel(ScreenPoint(scene.canvas, 10, 10)), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(ScreenPixel(ScreenPoint(scene.canvas, 600, 10)), (std::vector<int>{0, 255, 0}));
}

// The strip below the client area, as it is on the screen.
std::vector<guchar> StatusStrip(TGadget window, TGadget canvas) {
    GtkWidget* top = NativeOf(window)->outer;
    const int h = gtk_widget_get_allocated_height(top) - canvas->h;
    if (h <= 0) return {};
    return ScreenArea(ScreenPoint(canvas, 0, canvas->h), gtk_widget_get_allocated_width(top), h);
}

// Once the canvas draws, the status bar is painted through GL from a picture of itself: that picture must
// look exactly as GTK paints the strip, upright and in place, and follow a change of the bar's style.
TEST_F(GtkTest, GtkStatusBar_LooksAsGtkPaintsItOnceTheWindowPaintsThroughGl) {
    TGadget window = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, MainStyle);
    TGadget canvas = AddCanvas(0, 0, 800, 600, window);
    ASSERT_TRUE(WaitMapped(window));
    Xdotool("mousemove 0 0"); // no window with the focus, before and after
    PumpFor(300);
    const std::vector<guchar> byCairo = StatusStrip(window, canvas);
    ASSERT_FALSE(byCairo.empty());

    SetDrawTarget(canvas);
    SetColor(0, 0, 255);
    DrawRect(0, 0, 800, 600);
    Present();
    PumpFor(300);
    ASSERT_EQ(ScreenPixel(ScreenPoint(canvas, 10, 599)), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(StatusStrip(window, canvas), byCairo);

    // A bar half dark, half light: a picture turned upside down or left stale shows at once.
    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(
        style, "statusbar { background-image: linear-gradient(to bottom, #102030 50%, #f0e0d0 50%); }", -1,
        nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style),
                                              GTK_STYLE_PROVIDER_PRIORITY_USER);
    PumpFor(300);
    const std::vector<guchar> restyled = StatusStrip(window, canvas);
    gtk_style_context_remove_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style));
    g_object_unref(style);
    ASSERT_EQ(restyled.size(), byCairo.size());
    EXPECT_NE(restyled, byCairo);
    const size_t rowBytes = 3 * static_cast<size_t>(gtk_widget_get_allocated_width(NativeOf(window)->outer));
    const size_t rows = restyled.size() / rowBytes;
    const size_t middle = rowBytes / 2 - rowBytes / 2 % 3;
    const std::vector<guchar> upper(restyled.begin() + (rows / 2 - 3) * rowBytes + middle,
                                    restyled.begin() + (rows / 2 - 3) * rowBytes + middle + 3);
    const std::vector<guchar> lower(restyled.begin() + (rows / 2 + 3) * rowBytes + middle,
                                    restyled.begin() + (rows / 2 + 3) * rowBytes + middle + 3);
    EXPECT_EQ(upper, (std::vector<guchar>{0x10, 0x20, 0x30}));
    EXPECT_EQ(lower, (std::vector<guchar>{0xf0, 0xe0, 0xd0}));
}

// How far apart two screen areas are: the largest difference of any channel; 256 when their sizes differ.
int MostApart(const std::vector<guchar>& a, const std::vector<guchar>& b) {
    if (a.size() != b.size()) return 256;
    int most = 0;
    for (size_t i = 0; i < a.size(); ++i)
        most = std::max(most, std::abs(a[i] - b[i]));
    return most;
}

// A panel on the canvas is painted through GL from a picture of itself: it must look as GTK paints it,
// change with what is inside it, and show the canvas's newest picture round its corners.
TEST_F(GtkTest, GtkPanel_OnACanvasPaintedThroughGlLooksAsGtkPaintsIt) {
    struct {
        TGadget window = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, MainStyle);
        TGadget canvas = AddCanvas(0, 0, 800, 600, window);
        TGadget panel = AddPanel(500, 100, 200, 150, canvas, 1);
        TGadget button = AddButton("Continue", 20, 20, 100, 25, panel);
    } scene; // nothing drawn yet: GTK paints the panel itself over a black canvas
    ASSERT_TRUE(WaitMapped(scene.window));
    Xdotool("mousemove 0 0"); // no hover, and no window with the focus
    PumpFor(300);
    const auto at = ScreenPoint(scene.panel, 0, 0);
    const std::vector<guchar> byCairo = ScreenArea(at, scene.panel->w, scene.panel->h);
    ASSERT_FALSE(byCairo.empty());

    SetDrawTarget(scene.canvas);
    SetColor(0, 0, 0);
    DrawRect(0, 0, 800, 600);
    Present();
    PumpFor(300);
    const std::vector<guchar> byGl = ScreenArea(at, scene.panel->w, scene.panel->h);
    EXPECT_LE(MostApart(byGl, byCairo), 2); // cairo rounds the blend of a smoothed edge its own way

    SetText(scene.button, "Onward to the next week");
    PumpFor(300);
    EXPECT_GT(MostApart(ScreenArea(at, scene.panel->w, scene.panel->h), byGl), 100);

    SetColor(0, 255, 0);
    DrawRect(0, 0, 800, 600);
    Present();
    PumpFor(300);
    EXPECT_EQ(ScreenPixel(at), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(ScreenPixel(ScreenPoint(scene.panel, 100, 75)), (std::vector<int>{0xff, 0xf8, 0xe6}));
}

TEST_F(GtkTest, GtkCanvas_ShowingACanvasAsksForItsPicture) {
    TScene scene;
    TGadget small = AddCanvas(10, 10, 100, 100, scene.panel);
    TEventLog log;
    log.Watch({GadgetPaint}, false);
    ASSERT_TRUE(SettleOnScreen(scene.window, log, 100));
    SetVisible(scene.panel, false);
    SetVisible(scene.panel, true);
    EXPECT_EQ(NextEvent()->id, GadgetPaint);
    EXPECT_EQ(log.Count(GadgetPaint, small), 1);
}

TEST_F(GtkTest, GtkCanvas_PictureDrawnBeforeTheWindowShowsIsUprightUnderItsPanels) {
    TGadget window = OpenWindow("Picture", 100, 100, 300, 200, nullptr, MainStyle);
    SetVisible(window, false);
    TGadget canvas = AddCanvas(0, 0, 300, 200, window);
    TGadget panel = AddPanel(200, 100, 80, 80, canvas, 0);
    SetDrawTarget(canvas);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 300, 20);
    SetColor(0, 0, 255);
    DrawRect(0, 180, 300, 20);
    Present();
    SetVisible(window, true);
    ASSERT_TRUE(WaitMapped(window));
    PumpFor(400);
    EXPECT_EQ(ScreenPixel(ScreenPoint(canvas, 10, 5)), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(ScreenPixel(ScreenPoint(canvas, 10, 190)), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(ScreenPixel(ScreenPoint(canvas, 10, 100)), (std::vector<int>{0, 0, 0}));
    // The panel covers the blue strip with its own opaque, light background.
    const std::vector<int> overPanel = ScreenPixel(ScreenPoint(panel, 40, 75));
    ASSERT_EQ(overPanel.size(), 3u);
    for (int channel : overPanel)
        EXPECT_GT(channel, 150);
    // A canvas of a second window cannot share the first one's textures; its picture must show all the same.
    TGadget second = OpenWindow("Second", 450, 100, 100, 100, nullptr, MainStyle);
    TGadget other = AddCanvas(0, 0, 100, 100, second);
    SetDrawTarget(other);
    SetColor(0, 255, 0);
    DrawRect(0, 0, 100, 50);
    Present();
    ASSERT_TRUE(WaitMapped(second));
    PumpFor(400);
    EXPECT_EQ(ScreenPixel(ScreenPoint(other, 50, 10)), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(ScreenPixel(ScreenPoint(other, 50, 90)), (std::vector<int>{0, 0, 0}));
}

TEST_F(GtkTest, GtkListBox_SelectionFollowsTheClickedRowAndSurvivesAppends) {
    TGadget window = OpenWindow("List", 100, 100, 300, 300, nullptr, MainStyle);
    TGadget list = AddListBox(10, 10, 150, 200, window);
    AddItem(list, "Run");
    AddItem(list, "Read");
    AddItem(list, "Rest");
    ASSERT_TRUE(WaitMapped(window));
    PumpFor(200);
    EXPECT_EQ(SelectedIndex(list), -1);
    GdkRectangle row{};
    GtkTreePath* path = gtk_tree_path_new_from_indices(1, -1);
    gtk_tree_view_get_cell_area(GTK_TREE_VIEW(WidgetOf(list)), path, nullptr, &row);
    gtk_tree_path_free(path);
    int widgetX = 0, widgetY = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(GTK_TREE_VIEW(WidgetOf(list)), row.x + 20,
                                                      row.y + row.height / 2, &widgetX, &widgetY);
    ASSERT_TRUE(ClickAt(ScreenPoint(list, widgetX, widgetY)));
    EXPECT_TRUE(PumpUntil([&] { return SelectedIndex(list) != -1; }, 2000));
    EXPECT_EQ(SelectedIndex(list), 1);
    EXPECT_EQ(ItemText(list, 1), "Read");
    AddItem(list, "Work");
    EXPECT_EQ(SelectedIndex(list), 1);
    ClearItems(list);
    EXPECT_EQ(SelectedIndex(list), -1);
    AddItem(list, "Again");
    EXPECT_EQ(gtk_tree_model_iter_n_children(GTK_TREE_MODEL(NativeOf(list)->store), nullptr), 1);
}

TEST_F(GtkTest, GtkGadgets_DestroyingAParentTakesItsWidgetsAlong) {
    TScene scene;
    GtkWidget* panelWidget = NativeOf(scene.panel)->outer;
    g_object_ref(panelWidget);
    DestroyGadget(scene.panel);
    EXPECT_EQ(gtk_widget_get_parent(panelWidget), nullptr);
    g_object_unref(panelWidget);
    DestroyGadget(scene.window);
    EXPECT_TRUE(AllGadgets().empty());
}

// Pids of this process's children that belong to the web engine.
std::vector<int> WebHelpers() {
    std::vector<int> pids;
    for (const std::string& name : ListDirectory("/proc")) {
        if (name.empty() || name[0] < '0' || name[0] > '9') continue;
        std::ifstream stat("/proc/" + name + "/stat");
        std::string pid, comm, state;
        int parent = 0;
        stat >> pid >> comm >> state >> parent;
        if (parent == getpid() && comm.find("WebKit") != std::string::npos) pids.push_back(std::stoi(name));
    }
    return pids;
}

TEST_F(GtkTest, GtkEndProgram_EndsAtOnceWithCodeZeroAndTakesTheWebEngineAlong) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Named by this process: the child runs this body again with a temporary folder of its own, which goes
    // with it, and inherits the name.
    setenv("GORUM_WEB_HELPERS_FILE", (testing::TempDir() + "gorum_web_helpers").c_str(), 0);
    const std::string pidFile = std::getenv("GORUM_WEB_HELPERS_FILE");
    EXPECT_EXIT(
        {
            TGadget window = OpenWindow("Ending", 100, 100, 300, 200, nullptr, MainStyle);
            TGadget view = AddHtmlView(0, 0, 300, 200, window);
            Navigate(view, "about:blank");
            PumpUntil([] { return !WebHelpers().empty(); }, 5000);
            PumpFor(300);
            std::ofstream out(pidFile);
            out << g_get_monotonic_time() << "\n";
            for (int pid : WebHelpers())
                out << pid << "\n";
            out.close();
            EndProgram();
        },
        testing::ExitedWithCode(0), "");
    const gint64 ended = g_get_monotonic_time();
    std::ifstream in(pidFile);
    gint64 asked = 0;
    in >> asked;
    EXPECT_LT(ended - asked, 1000000) << "ending took more than 1 s";
    std::vector<int> helpers;
    for (int pid = 0; in >> pid;)
        helpers.push_back(pid);
    EXPECT_FALSE(helpers.empty());
    const gint64 start = g_get_monotonic_time();
    bool gone = false;
    while (!gone && g_get_monotonic_time() - start < 1000000) {
        gone = true;
        for (int pid : helpers)
            gone = gone && kill(pid, 0) != 0;
        if (!gone) g_usleep(10000);
    }
    EXPECT_TRUE(gone) << "a web engine helper outlived the program by more than 1 s";
}

} // namespace
