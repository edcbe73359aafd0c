// Start-up and memory on the main menu, measured from outside against the reference window: each run
// execs a program, polls one screen pixel of the menu's Play button until the page is painted there,
// then reads the resident size of the UI process once it has settled. Runs alternate between the game
// and the reference so that both meet the same load on a shared machine; the figures are the medians of
// the per-pair ratios.
// Usage: menu_bench GAME REFERENCE [RUNS]

#include "bench/Measure.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Inside the Play button, left of its caption, with the window's client area at (150, 75).
constexpr int ProbeX = 430, ProbeY = 300;
constexpr unsigned long Painted = 0xfff8e6;
constexpr double GiveUpSeconds = 30.0;

unsigned long ProbePixel(Display* display) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), ProbeX, ProbeY, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return pixel;
}

struct TRun {
    double ms = -1;
    long rssKb = 0;
};

TRun RunOnce(Display* display, const char* program) {
    TRun run;
    while (ProbePixel(display) == Painted) // the previous window has not gone yet
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    setpgid(child, child);
    while (std::chrono::duration<double>(Clock::now() - start).count() < GiveUpSeconds) {
        if (ProbePixel(display) == Painted) {
            run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    // Settled: the page is shown and nothing else is due.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    run.rssKb = ResidentKb(std::to_string(child));
    kill(-child, SIGTERM);
    waitpid(child, nullptr, 0);
    return run;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: menu_bench GAME REFERENCE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "menu_bench: no display\n");
        return 2;
    }
    std::vector<double> time, memory, gameMs, referenceMs;
    for (int i = 0; i < runs; ++i) {
        const TRun game = RunOnce(display, argv[1]);
        const TRun reference = RunOnce(display, argv[2]);
        if (game.ms < 0 || reference.ms < 0) {
            std::fprintf(stderr, "menu_bench: the menu was not painted (game %.0f ms, reference %.0f ms)\n",
                         game.ms, reference.ms);
            return 1;
        }
        gameMs.push_back(game.ms);
        referenceMs.push_back(reference.ms);
        time.push_back(game.ms / reference.ms);
        memory.push_back(static_cast<double>(game.rssKb) / static_cast<double>(reference.rssKb));
        std::fprintf(stderr, "run %d: game %.0f ms %ld kB, reference %.0f ms %ld kB\n", i + 1, game.ms,
                     game.rssKb, reference.ms, reference.rssKb);
    }
    std::printf("startup to menu painted: %.2f (<= 1.15) [game %.0f ms, reference %.0f ms]\n", Median(time),
                Median(gameMs), Median(referenceMs));
    std::printf("UI process memory on menu: %.2f (<= 1.15)\n", Median(memory));
    XCloseDisplay(display);
    return 0;
}
