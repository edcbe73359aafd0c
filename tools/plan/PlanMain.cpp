// gorum-plan [DIR] LEVEL [--player best|steady|none]: finds a plan that wins a level with the game's own
// rules for a player model, or proves there is none.

#include "shell/CommandLine.hpp"
#include "tools/plan/PlanReport.hpp"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

const TProgramUsage Usage{
    .name = "gorum-plan",
    .synopsis = "[DIR] LEVEL [--player best|steady|none]",
    .help = "Plans the level named LEVEL (its two-character NAME) of the game in DIR with the game's\n"
            "own rules: the action of every week and the goals to set and focus. The player sets goals\n"
            "as the model says: best, the goals that leave the Gorum most motivated (the default);\n"
            "steady, one focused goal at a time for the milestone he works toward next, due the week he\n"
            "reaches it, an item's goal set before the week that gets it; none, no goals at all.\n"
            "Prints the plan week by week with the skills, items and motivation after each week, the\n"
            "weeks to spare, and the level's difficulty (the weeks to spare of every player model, the\n"
            "fewest turns any play needs, and whether one action taken every week wins). Without DIR it\n"
            "reads the working directory when that is a game folder (one holding content/), else the\n"
            "installed game.\n"
            "\n"
            "Options:\n"
            "      --player MODEL  best, steady or none (default best)\n"
            "\n"
            "Exit status: 0 a plan was found; 1 no plan exists within the level's length (the reason is\n"
            "printed); 2 bad arguments, DIR is not a game folder or no level has that name; 3 no plan was\n"
            "found, but none was proven impossible either.\n",
    .fewestOperands = 1,
    .mostOperands = 2,
    .valueOptions = {"--player"},
};

int Fail(int status, const std::string& message) {
    (status == ExitUsage ? std::cerr : std::cout) << "gorum-plan: " << message << "\n";
    return status;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The goal as the introduction words it, on one line.
std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool breakMark = text.compare(at, 2, "~n") == 0;
        line += breakMark || text[at] == '\n' ? ' ' : text[at];
        at += breakMark;
    }
    return line;
}

std::string TurnsText(int turns) {
    return std::to_string(turns) + (turns == 1 ? " turn" : " turns");
}

} // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    const TCommandLine line = ReadCommandLine(argc, argv, Usage);
    if (line.exitStatus >= 0) return line.exitStatus;
    TPlayerKind player = TPlayerKind::Best;
    if (!TPlayerModel::Parse(line.Value("--player", "best"), player))
        return UsageError(Usage, "--player takes best, steady or none");
    if (!EnterGameFolder(Usage, line.operands.size() == 2 ? line.operands[0] : "")) return ExitUsage;
    const std::string name = line.operands.back();

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
