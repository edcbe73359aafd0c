#pragma once
// The command-line manners the game and its two tools share: --help and --version answered on stdout
// before anything else starts (no window, no display), usage mistakes on stderr with status 2, and the
// game folder a tool reads when none is named. No option changes how the game plays.

#include <string>
#include <vector>

constexpr int ExitUsageError = 2;

struct TProgramUsage {
    std::string name;     // as the user types it: "gorum-check"
    std::string synopsis; // what follows the name on the usage line: "[DIR]"
    std::string help;     // what --help prints after the usage line
    size_t fewestOperands = 0;
    size_t mostOperands = 0;
    std::vector<std::string> valueOptions; // options that take a value: "--name VALUE" or "--name=VALUE"
};

struct TCommandLine {
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> values; // value options in the order given
    int exitStatus = -1; // 0 or ExitUsageError when the program must end at once; -1 to go on

    // The value given last for the option, or the fallback.
    std::string Value(const std::string& option, const std::string& fallback) const;
};

// Reads argv; answers --help and --version, and reports a usage mistake, by itself.
TCommandLine ReadCommandLine(int argc, char** argv, const TProgramUsage& usage);
// Prints "NAME: message", the usage line and a pointer to --help on stderr; returns ExitUsageError.
int UsageError(const TProgramUsage& usage, const std::string& message);

// A game folder holds content/ (and media/): the game reads both relative to its working directory.
bool IsGameFolder(const std::string& dir);
// The folder a tool reads: the given one; without one, the working directory when it is a game folder,
// else the installed game's data folder (PREFIX/share/gorum for a program in PREFIX/games); empty when
// there is none.
std::string GameFolder(const std::string& given);
// GameFolder, entered as the working directory; on failure says why on stderr and returns false.
bool EnterGameFolder(const TProgramUsage& usage, const std::string& given);
