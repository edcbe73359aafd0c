// gorum-plan [DIR] LEVEL: finds a plan that wins a level with the game's own rules, or proves there is none.

#include "shell/CommandLine.hpp"
#include "tools/plan/PlanBound.hpp"
#include "tools/plan/PlanSearch.hpp"
#include "tools/plan/PlanText.hpp"
#include "tools/plan/PlanWorld.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
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

const TProgramUsage Usage{
    .name = "gorum-plan",
    .synopsis = "[DIR] LEVEL",
    .help = "Plans the level named LEVEL (its two-character NAME) of the game in DIR with the game's\n"
            "own rules: the action of every week and the goals to set and focus. Prints the plan week by\n"
            "week with the skills, items and motivation after each week, the weeks to spare, and the\n"
            "level's difficulty (the best plan's weeks to spare, and whether one action taken every week\n"
            "wins). Without DIR it reads the working directory when that is a game folder (one holding\n"
            "content/), else the installed game.\n"
            "\n"
            "Exit status: 0 a plan was found; 1 no plan exists within the level's length (the reason is\n"
            "printed); 2 bad arguments, DIR is not a game folder or no level has that name; 3 no plan was\n"
            "found, but none was proven impossible either.\n",
    .fewestOperands = 1,
    .mostOperands = 2,
    .valueOptions = {},
};

int Fail(int status, const std::string& message) {
    (status == ExitUsage ? std::cerr : std::cout) << "gorum-plan: " << message << "\n";
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
    const TCommandLine line = ReadCommandLine(argc, argv, Usage);
    if (line.exitStatus >= 0) return line.exitStatus;
    if (!EnterGameFolder(Usage, line.operands.size() == 2 ? line.operands[0] : "")) return ExitUsage;
    const std::string name = line.operands.back();

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
