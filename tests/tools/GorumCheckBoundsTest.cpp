// gorum-check on hostile game folders, timed and weighed: a page that is no file, and a folder of a hundred
// thousand content files. Run alone, since a second test on the same cores would be timed with it.
#include "tests/rules/TempContent.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// gorum-check on a folder, watched: killed once it outlives `limitSeconds` or holds more than `limitMb`, so
// that a check that hangs or grows ends the test rather than the machine. Its peak is the kernel's count.
struct TWatchedRun {
    int exitCode = -1;
    std::string output;
    double seconds = 0;
    long peakMb = 0;
    bool killed = false;
};

long ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) return std::stol(line.substr(6)) / 1024;
    }
    return 0;
}

TWatchedRun RunWatched(const std::string& dir, double limitSeconds, long limitMb) {
    TWatchedRun run;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        dup2(pipeEnds[1], 2);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(GORUM_CHECK, GORUM_CHECK, dir.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    int status = 0;
    struct rusage usage {};
    for (bool open = true; open;) {
        pollfd reader{pipeEnds[0], POLLIN, 0};
        if (poll(&reader, 1, 10) > 0) {
            std::array<char, 65536> buffer{};
            const ssize_t got = read(pipeEnds[0], buffer.data(), buffer.size());
            if (got > 0) run.output.append(buffer.data(), static_cast<size_t>(got));
            open = got > 0;
        }
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (open && (run.seconds > limitSeconds || ResidentMb(child) > limitMb)) {
            kill(child, SIGKILL);
            run.killed = true;
            open = false;
        }
    }
    close(pipeEnds[0]);
    wait4(child, &status, 0, &usage);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMb = usage.ru_maxrss / 1024;
    return run;
}

// A copy of the shipped game's content in `folder`, with the shipped art linked in.
void CopyShippedGame(const std::filesystem::path& folder) {
    const std::filesystem::path source = GORUM_SOURCE_DIR;
    std::filesystem::copy(source / "content", folder / "content", std::filesystem::copy_options::recursive);
    std::filesystem::create_directory_symlink(source / "media", folder / "media");
}

const std::string Refused = "content/html/MainMenu.html: is not a regular file; it is not read.\n";

// A FIFO as the main menu made the checker wait forever for a writer, and /dev/zero there made it read
// without end (4.6 GB and growing): pages go through the game's own reader, which refuses both.
TEST(GorumCheckBounds, MainMenuThatIsNoFileIsRefusedAtOnce) {
    const TTempContent game;
    CopyShippedGame(game.root);
    const std::filesystem::path menu = game.root / "content/html/MainMenu.html";
    std::filesystem::remove(menu);
    ASSERT_EQ(mkfifo(menu.c_str(), 0600), 0);
    TWatchedRun run = RunWatched(game.root.string(), 10, 1024);
    EXPECT_FALSE(run.killed);
    EXPECT_LT(run.seconds, 5);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(Refused), std::string::npos) << run.output;

    std::filesystem::remove(menu);
    std::filesystem::create_symlink("/dev/zero", menu);
    run = RunWatched(game.root.string(), 10, 512);
    EXPECT_FALSE(run.killed);
    EXPECT_LT(run.peakMb, 256);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(Refused), std::string::npos) << run.output;
}

// Each empty item file is two problems; printing them grouped by file took 101 s for 100,000 files. The
// sanitizers' unoptimised build runs the checker several times slower: it checks a fifth of the files
// against the same bound, which a report growing with the square of the files still overruns.
#if defined(__SANITIZE_ADDRESS__)
constexpr int Files = 20000;
#else
constexpr int Files = 100000;
#endif

TEST(GorumCheckBounds, AHundredThousandItemFilesAreCheckedWithinSeconds) {
    // Made in memory where the machine has it: on disk, making and removing them took longer than the check.
    const TTempContent game(access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                          : std::filesystem::temp_directory_path());
    CopyShippedGame(game.root);
    const std::string items = (game.root / "content/items/").string();
    for (int i = 0; i < Files; ++i) {
        const std::string name = items + "Empty" + std::to_string(100000 + i) + ".txt";
        close(open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    const TWatchedRun run = RunWatched(game.root.string(), 60, 2048);
    EXPECT_LT(run.seconds, 5);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 2 * Files);
    const std::string last = "content/items/Empty" + std::to_string(100000 + Files - 1) + ".txt: ";
    EXPECT_NE(run.output.find(last + "no TAG= line\n" + last +
                              "no SetItemType line: the item is held as a plain object\n"),
              std::string::npos);
}

} // namespace
