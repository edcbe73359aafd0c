// The frame of the busiest real scene on the real renderer, against the minimal GL program drawing the
// same pictures (bench/MinimalGl) from the draw list that scene_bench wrote of the same scene:
// - the whole frame, rasterised and read back, as a ratio to the minimal program's;
// - the processor time the game's thread spends issuing one frame, as a share of the frame budget;
// - the processor time of the whole process (the driver's threads included) at rest in the level at
//   the game's frame rate, as a ratio to the minimal program shown in a window of its own at that rate;
//   and the same with a prompt open over the world, as a level starts.
// - the resident size of the game in the level against the menu's bare window plus the minimal program
//   holding the same pictures, each in a process of its own (this program run with "resident").
// Rounds alternate between the game and the minimal program; every figure is the median of the rounds.
// Usage: frame_bench RUNS DRAW_LIST

#include "bench/Measure.hpp"

#include "bench/BusyScene.hpp"
#include "bench/MinimalGl.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/Prompt.hpp"
#include "platform/Platform.hpp"
#include "scene/FrameRate.hpp"
#include "scene/Layer.hpp"
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

// Frames of the game's renderer, each waited for by reading a pixel back.
TGameFrame GameFrames(const TImage& probe) {
    TGameFrame result;
    const auto start = Clock::now();
    for (int i = 0; i < Frames; ++i) {
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
    double fps = 0;
};

int CanvasPaints = 0; // counted by a hook ahead of the game's

// The game's own loop with nothing to do but its frames.
TRest GameAtRest() {
    const int paintsBefore = CanvasPaints;
    const double cpu = ProcessCpuMs();
    const auto start = Clock::now();
    while (Since(start) < RestSeconds * 1000.0) {
        if (const TEvent* event = NextEvent()) HandleLoopEvent(*event);
    }
    const double ms = Since(start);
    return {100.0 * (ProcessCpuMs() - cpu) / ms, 1000.0 * (CanvasPaints - paintsBefore) / ms};
}

TRest MinimalAtRest(TOnScreen& screen) {
    gtk_widget_show_all(screen.window);
    for (int i = 0; i < 50; ++i)
        g_main_context_iteration(nullptr, FALSE);
    screen.frames = 0;
    const double cpu = ProcessCpuMs();
    const auto start = Clock::now();
    while (Since(start) < RestSeconds * 1000.0)
        g_main_context_iteration(nullptr, TRUE);
    const double ms = Since(start);
    const TRest rest{100.0 * (ProcessCpuMs() - cpu) / ms, 1000.0 * screen.frames / ms};
    gtk_widget_hide(screen.window);
    return rest;
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
    AddEventHook(
        [](TEvent* event) {
            if (event != nullptr && event->id == GadgetPaint && event->source == GameCanvas) ++CanvasPaints;
            return event;
        },
        1);
    for (int i = 0; i < 30; ++i) { // on screen and painted, as in play
        if (const TEvent* event = NextEvent()) HandleLoopEvent(*event);
    }
    const TImage probe = CreateImage(1, 1, 1, 0);
    TOffscreen offscreen;
    TOnScreen screen;
    if (!offscreen.Init(list)) {
        std::fprintf(stderr, "frame_bench: no GL context for the minimal program\n");
        return 1;
    }
    screen.Init(list);

    std::vector<double> whole, issue, rest, restPrompted, gameFps, minimalFps;
    for (int i = 0; i < runs; ++i) {
        SetDrawTarget(GameCanvas);
        const TGameFrame game = GameFrames(probe);
        const double minimal = offscreen.FrameMs();
        whole.push_back(game.wholeMs / minimal);
        issue.push_back(100.0 * game.issueMs / BudgetMs);
        SetVisible(MainWindow, true);
        const TRest gameRest = GameAtRest();
        TPrompt::Open("CUSTOM", "Lord of the Castle", "Everything at once: a castle needs a manor.",
                      "Reach Wealth 8 and Leadership 6 by the last week.", 1, 0, "Okay", "");
        const TRest promptedRest = GameAtRest();
        TPrompt::Close();
        SetVisible(MainWindow, false);
        const TRest minimalRest = MinimalAtRest(screen);
        SetVisible(MainWindow, true);
        rest.push_back(gameRest.cpuPercent / minimalRest.cpuPercent);
        restPrompted.push_back(promptedRest.cpuPercent / minimalRest.cpuPercent);
        gameFps.push_back(gameRest.fps);
        minimalFps.push_back(minimalRest.fps);
        std::fprintf(
            stderr,
            "run %d: frame %.2f ms (issue %.2f ms), minimal %.2f ms; at rest %.0f %% at %.1f fps (with the "
            "prompt %.0f %%), minimal %.0f %% at %.1f fps\n",
            i + 1, game.wholeMs, game.issueMs, minimal, gameRest.cpuPercent, gameRest.fps,
            promptedRest.cpuPercent, minimalRest.cpuPercent, minimalRest.fps);
    }
    std::printf(
        "frame issue (processor time of one frame's drawing calls): %.1f %% of the frame budget (<= 5 %%)\n",
        Median(issue));
    std::printf("whole frame vs the minimal GL program: %.2f (<= 1.05)\n", Median(whole));
    std::printf("process at rest in the level vs the minimal GL program: %.2f (<= 1.1) [%.1f and %.1f fps]\n",
                Median(rest), Median(gameFps), Median(minimalFps));
    std::printf("process at rest with a prompt over the level vs the minimal GL program: %.2f (<= 1.1)\n",
                Median(restPrompted));

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
