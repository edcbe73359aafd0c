// gorum-check [DIR]: loads a game folder's content exactly as the game does, on the headless backend, and
// prints every mistake it finds as "FILE: what is wrong". Exit 0 clean, 1 problems, 2 not a game folder
// or bad arguments.
#include "platform/Platform.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* Usage =
    "Usage: gorum-check [DIR]\n"
    "\n"
    "Loads the game content under DIR (default: the working directory) exactly as the game does and\n"
    "prints every problem it finds, one line each: FILE: what is wrong. It reports the game's own\n"
    "warnings while loading; levels whose name, length, item choices, final goal, station layout, menu\n"
    "links or tutorial are wrong; tags defined twice or naming nothing; unknown item types; jobs\n"
    "without work; a home without its upgrade pictures; and every picture that is missing, does not\n"
    "decode or holds too few frames.\n"
    "\n"
    "Exit status: 0 when the content is clean, 1 when problems were found, 2 when DIR is not a game\n"
    "folder (no content/ in it) or the arguments are wrong.\n";

} // namespace

int main(int argc, char** argv) {
    std::string dir = ".";
    if (argc > 2) {
        std::fputs(Usage, stderr);
        return 2;
    }
    if (argc == 2) {
        if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (argv[1][0] == '-') {
            std::fprintf(stderr, "gorum-check: unknown option %s\n%s", argv[1], Usage);
            return 2;
        }
        dir = argv[1];
    }
    // The game reads everything relative to its working directory.
    if (chdir(dir.c_str()) != 0 || FileKind("content") != 2) {
        std::fprintf(stderr, "gorum-check: %s is not a game folder: it has no content/ folder\n",
                     dir.c_str());
        return 2;
    }
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
