// Runs a fuzz target's entry point once on every file named on the command line, or directly in a folder
// named there, so that the normal build tests the shipped files and the inputs that once broke a target.
// Of libFuzzer's flags it heeds -rss_limit_mb: an input kept because it took too much memory fails again
// when it does again. The others are left to the fuzzer, whose machine is not the one under test.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

long PeakMegabytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv) {
    // Named before the target starts, since it may change the working directory.
    std::vector<std::filesystem::path> files;
    long rssLimit = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("-")) {
            if (arg.starts_with("-rss_limit_mb=")) rssLimit = std::stol(arg.substr(14));
            continue;
        }
        const std::filesystem::path named = std::filesystem::absolute(arg);
        if (!std::filesystem::is_directory(named)) {
            files.push_back(named);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(named)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
    }
    LLVMFuzzerInitialize(&argc, &argv);
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::printf("%s\n", file.c_str());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (rssLimit > 0 && PeakMegabytes() > rssLimit) {
            std::printf("over the memory limit: %ld MB, more than %ld MB\n", PeakMegabytes(), rssLimit);
            return 1;
        }
    }
    std::printf("%zu inputs ran\n", files.size());
    return files.empty() ? 1 : 0;
}
