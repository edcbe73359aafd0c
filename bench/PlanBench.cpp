// How long gorum-plan takes on each level in content/levels, for each player: each must be planned in
// under ten seconds on this machine. Run from the game's folder; prints one line per level and player
// with the plan's result, and fails when one is too slow, or when the best player gets no plan.

#include "tests/tools/plan/PlanRun.hpp"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double LimitSeconds = 10.0;

// The line of the output that starts with the text, without its line end.
std::string LineOf(const std::string& output, const std::string& start) {
    const size_t at = output.find(start);
    if (at == std::string::npos) return "";
    return output.substr(at, output.find('\n', at) - at);
}

} // namespace

int main() {
    const std::vector<std::string> names = LevelNames();
    bool failed = names.empty();
    for (const std::string& name : names) {
        for (const std::string player : {"best", "steady", "none"}) {
            const auto start = std::chrono::steady_clock::now();
            const TPlanRun run = TPlanRun::Of(". " + name + " --player " + player);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("level %s, %s: %.2f s, exit %d; %s %s\n", name.c_str(), player.c_str(), seconds,
                        run.status, LineOf(run.output, "Won ").c_str(),
                        LineOf(run.output, "Difficulty: ").c_str());
            failed = failed || (player == std::string("best") && run.status != 0) || seconds >= LimitSeconds;
        }
    }
    return failed ? 1 : 0;
}
