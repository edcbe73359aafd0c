// The soak: a seeded monkey plays the shipped game headless and every frame is checked.
// Usage: gorum_soak SEED TICKS, from the project root. Exit 0 when every check held; 1 with the seed and
// the tick of the first failure; a crash names its seed and tick on the way down.

#include "tests/soak/Invariants.hpp"
#include "tests/soak/Monkey.hpp"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

// Written before the run so that a crash, where nothing else may be called, can still name them.
char CrashLine[96];
volatile long CurrentTick = 0;

// Only calls that are safe in a signal handler: the tick is formatted by hand.
void SayWhereItDied() {
    char digits[24];
    int n = 0;
    for (long t = CurrentTick; n == 0 || t > 0; t /= 10)
        digits[n++] = static_cast<char>('0' + t % 10);
    (void)!write(2, CrashLine, std::strlen(CrashLine));
    while (n > 0)
        (void)!write(2, &digits[--n], 1);
    (void)!write(2, "\n", 1);
}

extern "C" void OnFatalSignal(int signal) {
    SayWhereItDied();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

bool ParseCount(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0' && text[0] != '-';
}

} // namespace

int main(int argc, char** argv) {
    unsigned long long seed = 0;
    unsigned long long ticks = 0;
    if (argc != 3 || !ParseCount(argv[1], seed) || !ParseCount(argv[2], ticks)) {
        std::fprintf(stderr, "usage: %s SEED TICKS\n", argv[0]);
        return 2;
    }
    std::snprintf(CrashLine, sizeof CrashLine, "soak: seed %llu died at tick ", seed);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(SayWhereItDied);
#endif
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL})
        std::signal(signal, OnFatalSignal);

    std::printf("soak: seed %llu, %llu ticks\n", seed, ticks);
    std::fflush(stdout);
    const auto begin = std::chrono::steady_clock::now();
    TMonkey::StartGame();
    TMonkey monkey(seed);
    for (unsigned long long tick = 1; tick <= ticks; ++tick) {
        CurrentTick = static_cast<long>(tick);
        monkey.Tick();
        const std::string broken = CheckInvariants();
        if (!broken.empty()) {
            std::printf("soak: seed %llu failed at tick %llu: %s\nthe last inputs:\n%s", seed, tick,
                        broken.c_str(), monkey.RecentInputs().c_str());
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const TMonkeyCounts& counts = monkey.Counts();
    std::printf("soak: seed %llu passed %llu ticks in %.1f s; level starts", seed, ticks, seconds);
    for (const auto& [name, starts] : counts.levelStarts)
        std::printf(" %s:%ld", name.c_str(), starts);
    std::printf(", weeks %ld, final results %ld, panel presses %ld, holds %ld, drags %ld\n", counts.weeks,
                counts.finals, counts.panelPresses, counts.holds, counts.drags);
    return 0;
}
