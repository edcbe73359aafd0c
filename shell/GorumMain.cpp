#include "shell/CommandLine.hpp"
#include "shell/Main.hpp"

namespace {

const TProgramUsage Usage{
    .name = "gorum",
    .synopsis = "",
    .help = "Starts Gorum, a game about setting goals and reaching them. The game reads its content/\n"
            "and media/ folders from the working directory; the installed gorum starts it from the\n"
            "game's data folder. Escape or the window's close box ends it. Nothing on the command line\n"
            "changes how it plays.\n",
    .fewestOperands = 0,
    .mostOperands = 0,
    .valueOptions = {},
};

} // namespace

int main(int argc, char** argv) {
    // Before anything opens a window, so that --help and --version need no display.
    if (const TCommandLine line = ReadCommandLine(argc, argv, Usage); line.exitStatus >= 0)
        return line.exitStatus;
    Main();
    EndProgram();
}
