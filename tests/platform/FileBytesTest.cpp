// The whole-file reader when the path is swapped between the check and the open: this test's own open()
// swaps it at that very moment, so the race a loader could lose is played every time.

#include "platform/FileBytes.hpp"
#include "tests/rules/TempContent.hpp"

#include <gtest/gtest.h>

#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace {

std::string SwappedPath;
std::function<void()> Swap;

} // namespace

// Every open() of this program goes through here first.
extern "C" int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    if (Swap && path == SwappedPath) std::exchange(Swap, nullptr)();
    using TOpen = int (*)(const char*, int, ...);
    static const auto real = reinterpret_cast<TOpen>(dlsym(RTLD_NEXT, "open"));
    return real(path, flags, mode);
}

namespace {

class FileBytesTest : public ::testing::Test {
  protected:
    TTempContent dir;
    std::string path = dir.Write("swapped.txt", "short");

    bool ReadSwappedFor(const std::function<void()>& swap, std::string& bytes) {
        SwappedPath = path;
        Swap = swap;
        return ReadFileBytes(path, 64, bytes);
    }
};

TEST_F(FileBytesTest, APathSwappedForAFifoOrAFileTooLargeAfterTheCheckIsNotRead) {
    std::string bytes;
    ASSERT_TRUE(ReadSwappedFor([] {}, bytes));
    EXPECT_EQ(bytes, "short");
    EXPECT_FALSE(ReadSwappedFor(
        [&] {
            std::filesystem::remove(path);
            mkfifo(path.c_str(), 0600);
        },
        bytes));
    std::filesystem::remove(path);
    dir.Write("swapped.txt", "short");
    EXPECT_FALSE(ReadSwappedFor([&] { dir.Write("swapped.txt", std::string(65, 'x')); }, bytes));
}

} // namespace
