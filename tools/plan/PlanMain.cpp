// gorum-plan [DIR] LEVEL: finds a plan that wins a level with the game's own rules, or proves there is none.

#include "tools/plan/PlanBound.hpp"
#include "tools/plan/PlanSearch.hpp"
#include "tools/plan/PlanText.hpp"
#include "tools/plan/PlanWorld.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int ExitPlan = 0;
constexpr int ExitNoPlan = 1;
constexpr int ExitUsage = 2;
constexpr int ExitUndecided = 3;
// Leaves room under the ten seconds a level may take, for start-up and the single-action check.
constexpr double SearchSeconds = 6.0;

constexpr const char* Usage =
    "Usage: gorum-plan [DIR] LEVEL\n"
    "Plans the level named LEVEL (its two-character NAME) of the game in DIR (default: the working\n"
    "directory) with the game's own rules: the action of every week and the goals to set and focus.\n"
    "Prints the plan week by week with the skills, items and motivation after each week, the weeks to\n"
    "spare, and the level's difficulty (the best plan's weeks to spare, and whether one action taken\n"
    "every week wins).\n"
    "Exit status: 0 a plan was found; 1 no plan exists within the level's length (the reason is printed);\n"
    "2 bad arguments, DIR is not a game folder or no level has that name; 3 no plan was found, but none\n"
    "was proven impossible either.\n";

int Fail(int status, const std::string& message) {
    std::cout << "gorum-plan: " << message << "\n";
    return status;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The goal as the introduction words it, on one line.
std::string OneLine(std::string text) {
    for (size_t at = text.find("~n"); at != std::string::npos; at = text.find("~n", at))
        text.replace(at, 2, " ");
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string TurnsText(int turns) {
    return std::to_string(turns) + (turns == 1 ? " turn" : " turns");
}

std::string Spare(const TPlanWorld& world, const TPlan& plan) {
    const int spare = world.Turns() - static_cast<int>(plan.weeks.size());
    return std::to_string(spare) + (spare == 1 ? " week" : " weeks") + " to spare";
}

} // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return ExitPlan;
        }
        if (arg.rfind("-", 0) == 0) return Fail(ExitUsage, "unknown option " + arg + "\n" + Usage);
    }
    if (args.empty() || args.size() > 2) return Fail(ExitUsage, "wrong arguments\n" + std::string(Usage));
    const std::string dir = args.size() == 2 ? args[0] : ".";
    const std::string name = args.back();
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(dir) / "content", error))
        return Fail(ExitUsage, dir + " is not a game folder (no content/)");
    std::filesystem::current_path(dir, error);
    if (error) return Fail(ExitUsage, "cannot enter " + dir);

    TPlanWorld world;
    if (!world.Open(name)) return Fail(ExitUsage, "no level is named \"" + name + "\"");
    if (!world.Unplayable().empty()) return Fail(ExitNoPlan, "no plan: " + world.Unplayable());
    const TLevel& level = *world.Level();
    std::cout << "Level " << level.Name << " \"" << level.IntroPrompt.Title
              << "\": " << OneLine(level.IntroPrompt.Note) << ", " << TurnsText(world.Turns()) << ".\n";

    const TPlanBound bound(world);
    const int fewest = bound.FewestTurns(world.Start().player, world.Turns());
    if (fewest == TPlanBound::Never)
        return Fail(ExitNoPlan, "no plan: " + bound.WhyNever(world.Start().player));
    if (fewest > world.Turns()) {
        return Fail(ExitNoPlan, "no plan: the final goal needs more than " + std::to_string(world.Turns()) +
                                    " turns even at full motivation, and the level gives " +
                                    std::to_string(world.Turns()));
    }

    TPlanSearch search(world, bound);
    const TPlan plan = search.Search(SearchSeconds);
    if (!plan.won) {
        return Fail(ExitUndecided, "no plan found, though the bound allows one in " + TurnsText(fewest) +
                                       "; not proven impossible");
    }
    TPlanText::Write(std::cout, world, plan);
    std::cout << "Won "
              << "at the end of week " << plan.weeks.size() << ": " << Spare(world, plan) << ".\n";

    const std::vector<TPlan> singles = search.SingleActionWins();
    std::cout << "Difficulty: the best plan found has " << Spare(world, plan)
              << " (no plan can win in fewer than " << fewest << " turns); ";
    if (singles.empty()) {
        std::cout << "no single action taken every week wins.\n";
    } else {
        std::cout << "taken every week, these actions win alone:";
        for (const TPlan& single : singles) {
            std::cout << " " << single.weeks.front().choice.action->name << " ["
                      << single.weeks.front().choice.action->tag << "] (" << Spare(world, single) << ")";
        }
        std::cout << ".\n";
    }
    std::printf("Planned in %.2f s.\n", SecondsSince(start));
    return ExitPlan;
}
