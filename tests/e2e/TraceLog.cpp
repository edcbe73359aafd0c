#include "tests/e2e/TraceLog.hpp"

#include <algorithm>
#include <regex>
#include <sstream>

namespace {

bool StartsWithAny(const std::string& text, const std::vector<std::string>& prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const std::string& p) { return text.starts_with(p); });
}

// What the engine's helpers may read: the system's libraries, fonts, locale and GL data, and what the
// kernel tells a process about itself and the machine. Nothing of the user's, nothing of the game's.
const std::vector<std::string> SystemPrefixes = {"/usr/",
                                                 "/lib/",
                                                 "/lib64/",
                                                 "/etc/ld.so.cache",
                                                 "/etc/fonts/",
                                                 "/etc/localtime",
                                                 "/etc/machine-id",
                                                 "/etc/glvnd/",
                                                 "/etc/drirc",
                                                 "/var/cache/fontconfig/",
                                                 "/proc/self/",
                                                 "/proc/thread-self/",
                                                 "/sys/firmware/acpi/pm_profile",
                                                 "/proc/filesystems",
                                                 "/proc/meminfo",
                                                 "/proc/sys/",
                                                 "/proc/stat",
                                                 "/proc/pressure/",
                                                 "/sys/devices/system/cpu/",
                                                 "/sys/fs/cgroup/",
                                                 "/dev/null",
                                                 "/dev/urandom",
                                                 "/dev/random",
                                                 "/dev/dri/",
                                                 "/.flatpak-info"};

} // namespace

TraceLog::TraceLog(const std::string& text, const std::string& temporary) : temporary_(temporary + "/") {
    static const std::regex call(R"(^(\d+)\s+(\w+)\((.*)\)\s+=\s+(.*)$)");
    static const std::regex resumed(R"(^(\d+)\s+<\.\.\. (\w+) resumed>(.*)$)");
    std::map<pid_t, std::string> unfinished;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (line.ends_with("<unfinished ...>")) {
            const size_t space = line.find(' ');
            unfinished[std::stoi(line.substr(0, space))] = line.substr(0, line.size() - 16);
            continue;
        }
        if (std::regex_match(line, match, resumed)) {
            const pid_t pid = std::stoi(match[1]);
            line = unfinished[pid] + std::string(match[3]);
            unfinished.erase(pid);
        }
        if (!std::regex_match(line, match, call)) continue;
        TCall made{std::stoi(match[1]), match[2], match[3], match[4]};
        if (made.name == "execve" && !made.Failed()) {
            const std::string path = made.Path();
            program_[made.pid] = path.substr(path.rfind('/') + 1);
        }
        if ((made.name.starts_with("clone") || made.name.ends_with("fork")) && !made.Failed())
            parent_[std::stoi(made.result)] = made.pid;
        calls_.push_back(made);
    }
}

std::string TraceLog::TCall::Path() const {
    const size_t open = args.find('"');
    if (open == std::string::npos) return "";
    const std::string path = args.substr(open + 1, args.find('"', open + 1) - open - 1);
    // A name relative to a folder descriptor, which strace -y spells as "16</the/folder>".
    const size_t folder = args.find('<');
    if (path.starts_with("/") || folder == std::string::npos || folder > open) return path;
    return args.substr(folder + 1, args.find('>', folder) - folder - 1) + "/" + path;
}

std::string TraceLog::TCall::Line() const {
    return std::to_string(pid) + " " + name + "(" + args.substr(0, 160) + ") = " + result;
}

std::string TraceLog::Program(pid_t pid) const {
    for (int depth = 0; depth < 64; ++depth) {
        const auto found = program_.find(pid);
        if (found != program_.end()) return found->second;
        const auto up = parent_.find(pid);
        if (up == parent_.end()) return "";
        pid = up->second;
    }
    return "";
}

bool TraceLog::Helper(pid_t pid) const {
    const std::string program = Program(pid);
    return program.starts_with("WebKit") || program == "xdg-dbus-proxy";
}

std::vector<std::string> TraceLog::Sockets() const {
    std::vector<std::string> found;
    for (const TCall& made : calls_) {
        const bool opened = made.name == "socket" && !made.args.starts_with("AF_UNIX") &&
                            !made.args.starts_with("AF_LOCAL") && !made.args.starts_with("AF_NETLINK");
        const bool addressed = (made.name == "connect" || made.name.starts_with("send")) &&
                               (made.args.find("AF_INET") != std::string::npos);
        if (opened || addressed) found.push_back(Program(made.pid) + ": " + made.Line());
    }
    return found;
}

std::vector<std::string> TraceLog::NameLookups() const {
    std::vector<std::string> found;
    for (const TCall& made : calls_) {
        if ((made.name == "connect" || made.name.starts_with("send")) &&
            made.args.find("htons(53)") != std::string::npos)
            found.push_back(Program(made.pid) + ": " + made.Line());
    }
    return found;
}

std::vector<std::string> TraceLog::HelperOpens() const {
    std::vector<std::string> found;
    for (const TCall& made : calls_) {
        if (Helper(made.pid) && (made.name.starts_with("open") || made.name == "creat") && !made.Failed())
            found.push_back(Program(made.pid) + ": " + made.Path());
    }
    return found;
}

std::vector<std::string> TraceLog::HelperReadsOutside() const {
    std::vector<std::string> found;
    for (const TCall& made : calls_) {
        if (!Helper(made.pid) || !(made.name.starts_with("open") || made.name == "creat") || made.Failed())
            continue;
        const std::string path = made.Path();
        if (!StartsWithAny(path, SystemPrefixes) && !path.starts_with(temporary_))
            found.push_back(Program(made.pid) + ": " + made.Line());
    }
    return found;
}

std::vector<std::string> TraceLog::WritesOutside() const {
    static const std::vector<std::string> changing = {"mkdir",   "rename",   "unlink", "link",
                                                      "symlink", "truncate", "creat"};
    std::vector<std::string> found;
    for (const TCall& made : calls_) {
        // The sandbox's launcher builds its root in a private mount of its own.
        if (made.Failed() || Program(made.pid) == "bwrap") continue;
        const bool writes =
            made.name.starts_with("open") &&
            (made.args.find("O_WRONLY") != std::string::npos ||
             made.args.find("O_RDWR") != std::string::npos || made.args.find("O_CREAT") != std::string::npos);
        if (!writes && !StartsWithAny(made.name, changing)) continue;
        const std::string path = made.Path();
        if (path.starts_with(temporary_) || StartsWithAny(path, {"/dev/null", "/dev/dri/", "/proc/self/"}))
            continue;
        found.push_back(Program(made.pid) + ": " + made.Line());
    }
    return found;
}
