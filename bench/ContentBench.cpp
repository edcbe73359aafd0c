// Content scale: generated sets of content loaded by the real loaders on the headless backend, each
// run in a fresh process that assembles the scene as start-up does and then times LoadContent alone,
// by the clock and by the processor time it took (which other work on a shared machine does not
// inflate). Runs alternate between the sets; the figures are medians.
// Usage: content_bench SMALL_SET LARGE_SET [RUNS]   (each a directory holding content/ and media/)

#include "bench/Measure.hpp"

#include "shell/Main.hpp"
#include "shell/RulesWiring.hpp"
#include "shell/SceneAssembly.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct TLoadTime {
    double wallMs = -1;
    double cpuMs = -1;
};

double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// LoadContent timed in a child process working in the directory; negative times when it failed.
TLoadTime TimeLoad(const char* directory) {
    TLoadTime time;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return time;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        if (chdir(directory) == 0) {
            BuildGui();
            ConnectRules();
            BuildScene();
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = CpuMs();
            LoadContent();
            time.cpuMs = CpuMs() - cpuStart;
            time.wallMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
        const ssize_t written = write(pipeEnds[1], &time, sizeof time);
        _exit(written == sizeof time ? 0 : 1);
    }
    close(pipeEnds[1]);
    if (read(pipeEnds[0], &time, sizeof time) != sizeof time) time = TLoadTime{};
    close(pipeEnds[0]);
    waitpid(child, nullptr, 0);
    return time;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: content_bench SMALL_SET LARGE_SET [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    std::vector<double> large, largeCpu, ratio, ratioCpu;
    for (int i = 0; i < runs; ++i) {
        const TLoadTime small = TimeLoad(argv[1]);
        const TLoadTime big = TimeLoad(argv[2]);
        if (small.wallMs <= 0 || small.cpuMs <= 0 || big.wallMs < 0) {
            std::fprintf(stderr, "content_bench: a set could not be loaded\n");
            return 1;
        }
        large.push_back(big.wallMs);
        largeCpu.push_back(big.cpuMs);
        ratio.push_back(big.wallMs / small.wallMs);
        ratioCpu.push_back(big.cpuMs / small.cpuMs);
        std::fprintf(stderr, "run %d: small %.0f ms (cpu %.0f), large %.0f ms (cpu %.0f)\n", i + 1,
                     small.wallMs, small.cpuMs, big.wallMs, big.cpuMs);
    }
    std::printf("content 10k files load: %.2f s (< 1 s) [processor time %.2f s]\n", Median(large) / 1000.0,
                Median(largeCpu) / 1000.0);
    std::printf("content 10k / 1k load: %.1f (<= 11) [by processor time %.1f]\n", Median(ratio),
                Median(ratioCpu));
    return 0;
}
