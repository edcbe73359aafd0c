#include "shell/CommandLine.hpp"

#include "platform/Platform.hpp"

#include <cstdio>
#include <filesystem>

namespace {

// The name and what follows it, as the usage line shows them.
std::string Synopsis(const TProgramUsage& usage) {
    return usage.synopsis.empty() ? usage.name : usage.name + " " + usage.synopsis;
}

void PrintHelp(const TProgramUsage& usage) {
    std::printf("Usage: %s\n%s\nOptions:\n  -h, --help     print this help and exit\n"
                "      --version  print the version and exit\n",
                Synopsis(usage).c_str(), usage.help.c_str());
}

void PrintVersion(const TProgramUsage& usage) {
    std::printf(
        "%s (Gorum) %s\n"
        "Copyright (C) 2026 the Gorum team\n"
        "License GPL-3.0-or-later <https://gnu.org/licenses/gpl.html>; art and content CC-BY-SA-4.0.\n"
        "This is free software: you are free to change and redistribute it.\n"
        "There is NO WARRANTY, to the extent permitted by law.\n",
        usage.name.c_str(), GORUM_VERSION);
}

bool TakesValue(const TProgramUsage& usage, const std::string& option) {
    for (const std::string& known : usage.valueOptions)
        if (known == option) return true;
    return false;
}

// The installed game's data folder, found from where this program lies, as the launcher finds it.
std::string InstalledGameFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "";
    return (self.parent_path().parent_path() / "share" / "gorum").string();
}

} // namespace

std::string TCommandLine::Value(const std::string& option, const std::string& fallback) const {
    std::string value = fallback;
    for (const auto& [name, given] : values)
        if (name == option) value = given;
    return value;
}

TCommandLine ReadCommandLine(int argc, char** argv, const TProgramUsage& usage) {
    TCommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            PrintHelp(usage);
            line.exitStatus = 0;
            return line;
        } else if (arg == "--version") {
            PrintVersion(usage);
            line.exitStatus = 0;
            return line;
        } else if (const size_t equals = arg.find('='); TakesValue(usage, arg.substr(0, equals))) {
            if (equals != std::string::npos) {
                line.values.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
            } else if (i + 1 < argc) {
                line.values.emplace_back(arg, argv[++i]);
            } else {
                line.exitStatus = UsageError(usage, "option " + arg + " needs a value");
                return line;
            }
        } else {
            line.exitStatus = UsageError(usage, "unknown option " + arg);
            return line;
        }
    }
    if (line.operands.size() < usage.fewestOperands) {
        line.exitStatus = UsageError(usage, "too few arguments");
    } else if (line.operands.size() > usage.mostOperands) {
        line.exitStatus = UsageError(usage, "too many arguments");
    }
    return line;
}

int UsageError(const TProgramUsage& usage, const std::string& message) {
    std::fprintf(stderr, "%s: %s\nUsage: %s\nTry '%s --help' for more information.\n", usage.name.c_str(),
                 message.c_str(), Synopsis(usage).c_str(), usage.name.c_str());
    return ExitUsageError;
}

bool IsGameFolder(const std::string& dir) {
    return FileKind(dir + "/content") == 2;
}

std::string GameFolder(const std::string& given) {
    if (!given.empty()) return given;
    if (IsGameFolder(".")) return ".";
    const std::string installed = InstalledGameFolder();
    return !installed.empty() && IsGameFolder(installed) ? installed : "";
}

bool EnterGameFolder(const TProgramUsage& usage, const std::string& given) {
    const std::string dir = GameFolder(given);
    if (dir.empty()) {
        std::fprintf(stderr,
                     "%s: no game folder: the working directory has no content/ folder and no installed "
                     "game was found at %s\n",
                     usage.name.c_str(), InstalledGameFolder().c_str());
        return false;
    }
    // The game's loaders read everything relative to the working directory.
    const bool isGame = IsGameFolder(dir);
    std::error_code error;
    if (isGame) std::filesystem::current_path(dir, error);
    if (!isGame || error) {
        std::fprintf(stderr, "%s: %s is not a game folder: it has no content/ folder\n", usage.name.c_str(),
                     dir.c_str());
        return false;
    }
    return true;
}
