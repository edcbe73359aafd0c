// The frame of the busiest real scene on the real renderer, against the minimal GL program drawing the
// same pictures (bench/MinimalGl) from the draw list that scene_bench wrote of the same scene:
// - the whole frame while a goal token moves, rasterised and read back, as a ratio to the minimal
//   program's;
// - the processor time the game's thread spends issuing one frame, as a share of the frame budget;
// - the processor time of the whole process (the driver's threads included) at rest in the level, bare
//   and with a prompt open over the world as a level starts, against the same game showing its main menu,
//   and the same at rest drawing every tick as the game once did;
// - while a token flies to its week and while one is carried, the ticks that changed the world against
//   the frames shown of them, and the frames shown a second;
// - the resident size of the game in the level against the menu's bare window plus the minimal program
//   holding the same pictures, each in a process of its own (this program run with "resident").
// Rounds alternate between the game, its menu and the minimal program; every figure is the median of the
// rounds.
// Usage: frame_bench RUNS DRAW_LIST

#include "bench/Measure.hpp"

#include "bench/BusyScene.hpp"
#include "bench/MinimalGl.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "platform/EventChain.hpp"
#include "platform/FrameRecord.hpp"
#include "platform/GadgetRecord.hpp"
#include "platform/Platform.hpp"
#include "rules/Goal.hpp"
#include "scene/FrameRate.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Layer.hpp"
#include "scene/Radial.hpp"
#include "shell/Hooks.hpp"
#include "shell/Main.hpp"

#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <webkit2/webkit2.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Frames = 60;
constexpr double BudgetMs = 1000.0 / 60.0;
constexpr double RestSeconds = 3.0;
constexpr int Width = 800, Height = 600;

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

double ProcessCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1000.0 + t.tv_usec / 1000.0;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct TGameFrame {
    double wholeMs = 0;
    double issueMs = 0;
};

// A goal token waiting at its place on the strip, free to be moved; none when the scene has none.
THotspotRef Token() {
    for (const TGoalRef& goal : GoalList) {
        if (goal->focused == 0 && goal->hotspot->GrabState == GrabFree) return goal->hotspot;
    }
    return nullptr;
}

// Frames of the game's renderer while a token moves a pixel each frame, each waited for by reading a
// pixel back.
TGameFrame GameFrames(const TImage& probe, const THotspotRef& token) {
    TGameFrame result;
    const auto start = Clock::now();
    for (int i = 0; i < Frames; ++i) {
        if (token != nullptr) token->Move(i % 2 == 0 ? 1.0f : -1.0f, 0.0f);
        const double before = ThreadCpuMs();
        TLayer::RenderAll();
        result.issueMs += ThreadCpuMs() - before;
        GrabImage(probe, 0, 0, 0);
    }
    result.wholeMs = Since(start) / Frames;
    result.issueMs /= Frames;
    return result;
}

// The minimal program's offscreen frames in a context of its own, waited for the same way.
struct TOffscreen {
    GdkGLContext* context = nullptr;
    TMinimalGl gl;
    GLuint fbo = 0;

    bool Init(const TDrawList& list) {
        GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_widget_realize(window);
        context = gdk_window_create_gl_context(gtk_widget_get_window(window), nullptr);
        if (context == nullptr) return false;
        gdk_gl_context_set_required_version(context, 3, 3);
        if (!gdk_gl_context_realize(context, nullptr)) return false;
        gdk_gl_context_make_current(context);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, Width, Height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        return gl.Init(list);
    }

    double FrameMs() {
        gdk_gl_context_make_current(context);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        uint8_t pixel[4];
        const auto start = Clock::now();
        for (int i = 0; i < Frames; ++i) {
            gl.Draw(Width, Height);
            glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        }
        return Since(start) / Frames;
    }
};

// The minimal program on screen: a window with a GL area that draws the list on every tick.
struct TOnScreen {
    const TDrawList* list = nullptr;
    GtkWidget* window = nullptr;
    GtkWidget* area = nullptr;
    TMinimalGl gl;
    bool ready = false;
    int frames = 0;

    static gboolean Render(GtkGLArea* area, GdkGLContext*, gpointer data) {
        auto* self = static_cast<TOnScreen*>(data);
        if (!self->ready) self->ready = self->gl.Init(*self->list);
        const int scale = gtk_widget_get_scale_factor(GTK_WIDGET(area));
        self->gl.Draw(gtk_widget_get_allocated_width(GTK_WIDGET(area)) * scale,
                      gtk_widget_get_allocated_height(GTK_WIDGET(area)) * scale);
        ++self->frames;
        return TRUE;
    }

    static gboolean Tick(gpointer data) {
        auto* self = static_cast<TOnScreen*>(data);
        if (self->window != nullptr && gtk_widget_get_visible(self->window))
            gtk_gl_area_queue_render(GTK_GL_AREA(self->area));
        return G_SOURCE_CONTINUE;
    }

    void Init(const TDrawList& drawList) {
        list = &drawList;
        window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_move(GTK_WINDOW(window), 150, 75);
        area = gtk_gl_area_new();
        gtk_gl_area_set_required_version(GTK_GL_AREA(area), 3, 3);
        gtk_gl_area_set_auto_render(GTK_GL_AREA(area), FALSE);
        gtk_widget_set_size_request(area, Width, Height);
        g_signal_connect(area, "render", G_CALLBACK(Render), this);
        gtk_container_add(GTK_CONTAINER(window), area);
        // The game's frame timer asks for 60 a second in whole milliseconds; so does this one.
        g_timeout_add(1000 / FrameRate, Tick, this);
    }
};

struct TRest {
    double cpuPercent = 0;
    double fps = 0; // frames shown a second
};

void RunLoopFor(double ms) {
    const auto start = Clock::now();
    while (Since(start) < ms) {
        if (const TEvent* event = NextEvent()) HandleLoopEvent(*event);
    }
}

// The game's own loop with nothing to do but its ticks.
TRest GameAtRest() {
    const int shownBefore = GameCanvas->framesPresented;
    const double cpu = ProcessCpuMs();
    const auto start = Clock::now();
    RunLoopFor(RestSeconds * 1000.0);
    const double ms = Since(start);
    return {100.0 * (ProcessCpuMs() - cpu) / ms, 1000.0 * (GameCanvas->framesPresented - shownBefore) / ms};
}

// The same game showing its main menu, once the page is in.
TRest MenuAtRest() {
    TMenuBrowser::Open(CurrentDirectory() + "/content/html/MainMenu.html", -1, -1, -1, -1);
    RunLoopFor(2000.0);
    const TRest rest = GameAtRest();
    TMenuBrowser::Close();
    return rest;
}

// Where everything the world shows stands, in one number.
uint64_t WorldLook() {
    uint64_t hash = 1469598103934665603ULL;
    const auto mix = [&hash](uint64_t value) { hash = (hash ^ value) * 1099511628211ULL; };
    // What is hidden may move as it likes: only what is shown counts.
    for (const TLayerRef& layer : LayerList) {
        if (layer->Hidden != 0) continue;
        for (const TSpriteRef& sprite : layer->Sprites) {
            if (sprite->Hidden != 0) continue;
            mix(static_cast<uint64_t>(static_cast<int64_t>(sprite->X)));
            mix(static_cast<uint64_t>(static_cast<int64_t>(sprite->Y)));
            mix(static_cast<uint64_t>(sprite->Frame));
        }
        mix(0); // a sprite passing from one layer to the next changes the look
    }
    return hash;
}

struct TMoving {
    int changed = 0; // ticks after which the world looked different
    int shown = 0;   // of those, the ticks whose look was shown before the next tick
    double fps = 0;
    double tps = 0; // ticks handled a second
};

// The loop while something moves: `script` runs after every tick, given the tick's number, and says
// whether to go on.
TMoving WhileMoving(const std::function<bool(int)>& script) {
    TMoving moving;
    int ticks = 0;
    bool pending = false; // the last tick changed the look
    int shownAtTick = GameCanvas->framesPresented;
    const int shownBefore = shownAtTick;
    uint64_t look = WorldLook();
    const auto start = Clock::now();
    for (bool going = true; going;) {
        const TEvent* event = NextEvent();
        if (event == nullptr) continue;
        const bool tick = event->id == TimerTick && event->source == FrameTimer;
        if (tick && pending) {
            ++moving.changed;
            if (GameCanvas->framesPresented > shownAtTick) ++moving.shown;
        }
        HandleLoopEvent(*event);
        if (!tick) continue;
        going = script(ticks++);
        const uint64_t now = WorldLook();
        pending = now != look;
        look = now;
        shownAtTick = GameCanvas->framesPresented;
    }
    const double ms = Since(start);
    moving.fps = 1000.0 * (GameCanvas->framesPresented - shownBefore) / ms;
    moving.tps = 1000.0 * ticks / ms;
    return moving;
}

void Pointer(int id, int x, int y, int button = 0) {
    TEvent event;
    event.id = id;
    event.source = GameCanvas;
    event.x = x;
    event.y = y;
    event.data = button;
    EmitEvent(event);
}

// A token thrown off its place flies back to it; then one is picked up, carried along the strip and put
// down at another week, to which it then flies.
TMoving Moving(const THotspotRef& token) {
    const TRadialRef radial = OpenRadial; // while a menu is open nothing else moves
    if (radial != nullptr) radial->Close(1);
    RunLoopFor(1000.0);
    TMoving total;
    const auto add = [&total](const TMoving& part) {
        total.changed += part.changed;
        total.shown += part.shown;
        total.fps += part.fps / 2;
        total.tps += part.tps / 2;
    };
    // Goes on until the world has looked the same for a few ticks.
    uint64_t last = 0;
    int still = 0;
    const auto settled = [&](int tick) {
        const uint64_t now = WorldLook();
        still = tick == 0 || now != last ? 0 : still + 1;
        last = now;
        return still < 10;
    };
    token->Move(token->X > 400 ? -300.0f : 300.0f, 0.0f);
    add(WhileMoving(settled));
    const int x = static_cast<int>(token->X) + token->Width / 2;
    const int y = static_cast<int>(token->Y) + token->Height / 2;
    const int step = x > 400 ? -4 : 4;
    add(WhileMoving([&](int tick) {
        if (tick == 0) Pointer(MouseMove, x, y);
        if (tick == 1) Pointer(MouseDown, x, y, 1);
        if (tick == 2) Pointer(MouseUp, x, y);
        if (tick >= 3 && tick < 63) Pointer(MouseMove, x + step * (tick - 2), y);
        if (tick == 64) Pointer(MouseDown, x + step * 60, y, 1);
        if (tick == 65) Pointer(MouseUp, x + step * 60, y);
        if (tick == 66) Pointer(MouseMove, 790, 590);
        return tick < 66 || settled(tick - 66);
    }));
    if (radial != nullptr) radial->Open();
    return total;
}

void Settle() {
    const auto start = Clock::now();
    while (Since(start) < 2000.0)
        g_main_context_iteration(nullptr, FALSE);
}

// The game in the level, drawn a few times: its resident size.
long GameResident() {
    BuildBusyScene();
    const auto start = Clock::now();
    while (Since(start) < 2000.0) {
        if (const TEvent* event = NextEvent()) HandleLoopEvent(*event);
    }
    return ResidentKb();
}

// The menu's bare window with its page, and the minimal program showing the level's pictures.
long MinimalResident(const TDrawList& list) {
    gtk_init(nullptr, nullptr);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* web = webkit_web_view_new();
    gtk_widget_set_size_request(web, Width, Height);
    gtk_container_add(GTK_CONTAINER(window), web);
    gchar* cwd = g_get_current_dir();
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(web),
                             (std::string("file://") + cwd + "/content/html/MainMenu.html").c_str());
    g_free(cwd);
    gtk_widget_show_all(window);
    TOnScreen screen;
    screen.Init(list);
    gtk_widget_show_all(screen.window);
    Settle();
    return ResidentKb();
}

// Runs this program in the given mode in a child process and returns what it reports.
long ResidentOf(const char* self, const char* mode, const char* list) {
    int ends[2];
    if (pipe(ends) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], STDOUT_FILENO);
        execl(self, self, mode, list, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    char text[64] = {};
    const ssize_t got = read(ends[0], text, sizeof text - 1);
    close(ends[0]);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return got > 0 ? std::strtol(text, nullptr, 10) : 0;
}

} // namespace

int main(int argc, char** argv) {
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
    if (argc == 3 &&
        (std::string(argv[1]) == "resident-game" || std::string(argv[1]) == "resident-minimal")) {
        TDrawList list;
        if (!list.Read(argv[2])) return 2;
        std::printf("%ld\n", argv[1][9] == 'g' ? GameResident() : MinimalResident(list));
        std::fflush(stdout);
        _exit(0);
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: frame_bench RUNS DRAW_LIST\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    TDrawList list;
    if (!list.Read(argv[2])) {
        std::fprintf(stderr, "frame_bench: no draw list in %s (scene_bench writes it)\n", argv[2]);
        return 2;
    }
    BuildBusyScene();
    RunLoopFor(1000.0); // on screen and painted, as in play, the tokens at their places
    const THotspotRef token = Token();
    if (token == nullptr) {
        std::fprintf(stderr, "frame_bench: no goal token to move in the scene\n");
        return 1;
    }
    const TImage probe = CreateImage(1, 1, 1, 0);
    TOffscreen offscreen;
    if (!offscreen.Init(list)) {
        std::fprintf(stderr, "frame_bench: no GL context for the minimal program\n");
        return 1;
    }

    std::vector<double> whole, issue, bare, drawn, prompted, menu, bareRatio, promptedRatio, bareFps,
        shownShare, movingFps, movingTps;
    for (int i = 0; i < runs; ++i) {
        SetDrawTarget(GameCanvas);
        const TGameFrame game = GameFrames(probe, token);
        const double minimal = offscreen.FrameMs();
        whole.push_back(game.wholeMs / minimal);
        issue.push_back(100.0 * game.issueMs / BudgetMs);
        RunLoopFor(500.0);
        const TRest gameRest = GameAtRest();
        SetSkipUnchangedFrames(false);
        RunLoopFor(500.0);
        const TRest everyTick = GameAtRest();
        SetSkipUnchangedFrames(true);
        TPrompt::Open("CUSTOM", "Lord of the Castle", "Everything at once: a castle needs a manor.",
                      "Reach Wealth 8 and Leadership 6 by the last week.", 1, 0, "Okay", "");
        RunLoopFor(500.0);
        const TRest promptedRest = GameAtRest();
        TPrompt::Close();
        const TRest menuRest = MenuAtRest();
        const TMoving moving = Moving(token);
        bare.push_back(gameRest.cpuPercent);
        drawn.push_back(everyTick.cpuPercent);
        prompted.push_back(promptedRest.cpuPercent);
        menu.push_back(menuRest.cpuPercent);
        bareRatio.push_back(gameRest.cpuPercent / menuRest.cpuPercent);
        promptedRatio.push_back(promptedRest.cpuPercent / menuRest.cpuPercent);
        bareFps.push_back(gameRest.fps);
        shownShare.push_back(moving.changed == 0 ? 0.0 : static_cast<double>(moving.shown) / moving.changed);
        movingFps.push_back(moving.fps);
        movingTps.push_back(moving.tps);
        std::fprintf(
            stderr,
            "run %d: frame %.2f ms (issue %.2f ms), minimal %.2f ms; at rest %.2f %% at %.1f fps (drawing "
            "every tick %.2f %% at %.1f fps), with "
            "the prompt %.2f %% at %.1f fps, menu %.2f %%; moving: %d of %d changes shown, %.1f fps "
            "at %.1f ticks a second\n",
            i + 1, game.wholeMs, game.issueMs, minimal, gameRest.cpuPercent, gameRest.fps,
            everyTick.cpuPercent, everyTick.fps, promptedRest.cpuPercent, promptedRest.fps,
            menuRest.cpuPercent, moving.shown, moving.changed, moving.fps, moving.tps);
    }
    std::printf(
        "frame issue (processor time of one frame's drawing calls): %.1f %% of the frame budget (<= 5 %%)\n",
        Median(issue));
    std::printf("whole frame while a token moves vs the minimal GL program: %.2f (<= 1.05)\n", Median(whole));
    std::printf(
        "process at rest in the level: %.2f %% of a core (<= 2 %%), %.2f x the menu's (<= 1.5) [%.1f fps]\n",
        Median(bare), Median(bareRatio), Median(bareFps));
    std::printf("process at rest in the level drawing every tick, as the game did once: %.2f %% of a core\n",
                Median(drawn));
    std::printf(
        "process at rest with a prompt over the level: %.2f %% of a core (<= 2 %%), %.2f x the menu's "
        "(<= 1.5)\n",
        Median(prompted), Median(promptedRatio));
    std::printf("process at rest on the main menu: %.2f %% of a core\n", Median(menu));
    std::printf(
        "changes shown while a token flies and is carried: %.2f (= 1) [%.1f fps at %.1f ticks a second]\n",
        Median(shownShare), Median(movingFps), Median(movingTps));

    std::vector<double> resident;
    for (int i = 0; i < runs; ++i) {
        const long game = ResidentOf(argv[0], "resident-game", argv[2]);
        const long minimal = ResidentOf(argv[0], "resident-minimal", argv[2]);
        if (game > 0 && minimal > 0)
            resident.push_back(static_cast<double>(game) / static_cast<double>(minimal));
        std::fprintf(stderr, "resident: game %ld kB, minimal %ld kB\n", game, minimal);
    }
    std::printf("UI process memory in the busiest level: %.2f (<= 1.15)\n",
                resident.empty() ? 0.0 : Median(resident));
    return 0;
}
