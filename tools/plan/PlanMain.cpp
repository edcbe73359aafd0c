// gorum-plan [DIR] LEVEL [--player best|steady|none]: finds a plan that wins a level with the game's own
// rules for a player model, or proves there is none.

#include "tools/plan/PlanReport.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* Usage =
    "Usage: gorum-plan [DIR] LEVEL [--player best|steady|none]\n"
    "Plans the level named LEVEL (its two-character NAME) of the game in DIR (default: the working\n"
    "directory) with the game's own rules: the action of every week and the goals to set and focus.\n"
    "The player sets goals as the model says: best, the goals that leave the Gorum most motivated\n"
    "(the default); steady, one focused goal at a time for the milestone he works toward next, due the\n"
    "week he reaches it, an item's goal set before the week that gets it; none, no goals at all.\n"
    "Prints the plan week by week with the skills, items and motivation after each week, the weeks to\n"
    "spare, and the level's difficulty (the weeks to spare of every player model, the fewest turns any\n"
    "play needs, and whether one action taken every week wins).\n"
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

} // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> args(argv + 1, argv + argc);
    TPlayerKind player = TPlayerKind::Best;
    const auto option = std::find(args.begin(), args.end(), "--player");
    if (option != args.end()) {
        if (option + 1 == args.end() || !TPlayerModel::Parse(*(option + 1), player))
            return Fail(ExitUsage, "--player takes best, steady or none\n" + std::string(Usage));
        args.erase(option, option + 2);
    }
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

    const int status = ReportLevel(world, player, std::cout);
    std::printf("Planned in %.2f s.\n", SecondsSince(start));
    return status;
}
