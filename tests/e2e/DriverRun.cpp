#include "tests/e2e/DriverRun.hpp"

#include "tests/e2e/TraceLog.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Resident kilobytes of a process and all of its descendants, read from /proc.
long TreeKb(pid_t top) {
    std::map<pid_t, std::vector<pid_t>> children;
    std::map<pid_t, long> resident;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(line.substr(close + 2));
        std::string state;
        pid_t parent = 0;
        fields >> state >> parent;
        const pid_t pid = std::stoi(name);
        children[parent].push_back(pid);
        std::ifstream statm(entry.path() / "statm");
        long size = 0, pages = 0;
        statm >> size >> pages;
        resident[pid] = pages * (sysconf(_SC_PAGESIZE) / 1024);
    }
    long total = 0;
    for (std::vector<pid_t> open = {top}; !open.empty();) {
        const pid_t pid = open.back();
        open.pop_back();
        total += resident[pid];
        open.insert(open.end(), children[pid].begin(), children[pid].end());
    }
    return total;
}

void Drain(int fd, std::string& into) {
    char buffer[4096];
    for (pollfd ready{fd, POLLIN, 0}; poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN) != 0;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        into.append(buffer, static_cast<size_t>(got));
    }
}

// In the child: the private environment, then the driver.
[[noreturn]] void Start(const TGameFolder& folder, std::vector<std::string> command,
                        const TRunOptions& options, int out, int err) {
    setpgid(0, 0);
    if (chdir(folder.game.c_str()) != 0) _exit(126);
    // Pipes, not files: a full disk must not silence the driver.
    dup2(out, 1);
    dup2(err, 2);
    const fs::path& s = folder.scratch;
    setenv("HOME", (s / "home").c_str(), 1);
    setenv("TMPDIR", options.tmpdir.empty() ? folder.temporary.c_str() : options.tmpdir.c_str(), 1);
    setenv("XDG_CACHE_HOME", (s / "cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (s / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (s / "data").c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 1);
    // The GL driver's shader cache is the driver's own business.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    if (options.fullDisk) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
    }
    std::vector<char*> argv;
    for (std::string& part : command)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

} // namespace

TGameFolder::TGameFolder() {
    std::string pattern = (fs::path(testing::TempDir()) / "gorum_sealed_XXXXXX").string();
    root = mkdtemp(pattern.data());
    game = root / "game";
    scratch = root / "scratch";
    temporary = scratch / "tmp";
    for (const char* folder : {"content/html", "content/tut", "media"})
        fs::create_directories(game / folder);
    for (const char* folder : {"home", "tmp", "cache", "config", "data"})
        fs::create_directories(scratch / folder);
}

TGameFolder::~TGameFolder() {
    fs::remove_all(root);
}

void TGameFolder::Page(const std::string& name, const std::string& head, const std::string& body) const {
    std::ofstream(game / "content/html" / (name + ".html"))
        << "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" << name << "</title>" << head
        << "</head><body>" << body << "</body></html>";
}

std::vector<std::string> TGameFolder::LeftBehind() const {
    std::vector<std::string> left;
    for (const auto& folder : fs::directory_iterator(scratch)) {
        for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
            left.push_back(entry.path().string());
    }
    return left;
}

TRun RunDriver(const TGameFolder& folder, const std::vector<std::string>& arguments,
               const TRunOptions& options) {
    std::vector<std::string> command;
    if (options.traced) {
        command = {"strace",
                   "-f",
                   "-qq",
                   "-y",
                   "--seccomp-bpf",
                   "-s",
                   "300",
                   "-o",
                   (folder.root / "trace").string(),
                   "-e",
                   "trace=" + TraceLog::TracedCalls,
                   "-e",
                   "signal=none",
                   "--"};
    }
    command.push_back(GORUM_SEAL_DRIVER);
    command.insert(command.end(), arguments.begin(), arguments.end());
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return {};
    const pid_t child = fork();
    if (child == 0) Start(folder, command, options, out[1], err[1]);
    close(out[1]);
    close(err[1]);
    TRun run;
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        Drain(out[0], run.out);
        Drain(err[0], run.err);
        run.peakKb = std::max(run.peakKb, TreeKb(child));
        run.timedOut =
            std::chrono::steady_clock::now() - start > std::chrono::milliseconds(options.timeoutMs);
        if (run.timedOut || (options.killAboveKb > 0 && run.peakKb > options.killAboveKb)) {
            kill(-child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        usleep(20000);
    }
    kill(-child, SIGKILL);
    Drain(out[0], run.out);
    Drain(err[0], run.err);
    close(out[0]);
    close(err[0]);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
