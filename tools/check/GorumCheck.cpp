// gorum-check [DIR]: loads a game folder's content exactly as the game does, on the headless backend, and
// prints every mistake it finds as "FILE: what is wrong". Exit 0 clean, 1 problems, 2 not a game folder
// or bad arguments.
#include "shell/CommandLine.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

namespace {

const TProgramUsage Usage{
    .name = "gorum-check",
    .synopsis = "[DIR]",
    .help = "Loads the game content under DIR exactly as the game does and prints every problem it\n"
            "finds, one line each: FILE: what is wrong. It reports the game's own warnings while loading;\n"
            "levels whose name, length, item choices, final goal, station layout, menu links or tutorial\n"
            "are wrong; tags defined twice or naming nothing; unknown item types; jobs without work; a\n"
            "home without its upgrade pictures; and every picture that is missing, does not decode or\n"
            "holds too few frames. Without DIR it checks the working directory when that is a game\n"
            "folder (one holding content/), else the installed game.\n"
            "\n"
            "Exit status: 0 when the content is clean, 1 when problems were found, 2 when DIR is not a\n"
            "game folder or the arguments are wrong.\n",
    .fewestOperands = 0,
    .mostOperands = 1,
    .valueOptions = {},
};

} // namespace

int main(int argc, char** argv) {
    const TCommandLine line = ReadCommandLine(argc, argv, Usage);
    if (line.exitStatus >= 0) return line.exitStatus;
    if (!EnterGameFolder(Usage, line.operands.empty() ? "" : line.operands[0])) return ExitUsageError;
    TContentRun run;
    run.Run();
    TCheckReport report;
    CheckLogLines(run, report);
    CheckDuplicateTags(run, report);
    CheckItems(run, report);
    CheckActions(run, report);
    CheckStations(run, report);
    CheckLevels(run, report);
    CheckFinalGoals(run, report);
    CheckLayout(run, report);
    CheckMenuLinks(run, report);
    CheckPages(run, report);
    CheckMedia(run, report);
    return report.Print() == 0 ? 0 : 1;
}
