#pragma once
// The game keeps its world in module-level state that only a fresh start sets up cleanly, so a test that
// starts the game more than once runs each start in a process of its own: the child resets the headless
// backend and runs the call, the parent reads what it reported. Empty when the child ended without a word.

#include "platform/headless/Headless.hpp"

#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

inline std::string InFreshProcess(const std::function<std::string()>& call) {
    int ends[2];
    if (pipe(ends) != 0) return "";
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        HeadlessReset();
        const std::string report = call();
        [[maybe_unused]] const ssize_t written = write(ends[1], report.data(), report.size());
        _exit(0);
    }
    close(ends[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<size_t>(n));
    close(ends[0]);
    waitpid(child, nullptr, 0);
    return report;
}
