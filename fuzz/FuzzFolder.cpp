#include "fuzz/FuzzFolder.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <unistd.h>

namespace {

std::filesystem::path Root;

void RemoveRoot() {
    std::error_code ignored;
    std::filesystem::current_path(GORUM_SOURCE_DIR, ignored);
    std::filesystem::remove_all(Root, ignored);
}

} // namespace

void TFuzzFolder::Enter() {
    std::string pattern = (std::filesystem::temp_directory_path() / "gorum-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    Root = pattern;
    std::atexit(RemoveRoot);
    for (const char* kind : {"items", "actions", "stations", "levels"})
        std::filesystem::create_directories(Root / "content" / kind);
    std::filesystem::create_directory_symlink(std::filesystem::path(GORUM_SOURCE_DIR) / "media",
                                              Root / "media");
    std::filesystem::current_path(Root);
}

void TFuzzFolder::LoadShipped(void (*load)()) {
    std::filesystem::current_path(GORUM_SOURCE_DIR);
    load();
    std::filesystem::current_path(Root);
}

std::string TFuzzFolder::Write(const std::string& name, const uint8_t* data, size_t size) {
    const std::filesystem::path path = Root / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path.string();
}

void TFuzzFolder::WriteKind(const std::string& kind, const uint8_t* data, size_t size) {
    const std::filesystem::path folder = Root / "content" / kind;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        std::filesystem::remove(entry.path());
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view cut(FileBreak);
    size_t from = 0;
    for (int file = 0; file < MaxFiles && from <= input.size(); ++file) {
        size_t to = input.find(cut, from);
        if (to == std::string_view::npos || file == MaxFiles - 1) to = input.size();
        const std::string name = "content/" + kind + "/f" + std::to_string(file) + ".txt";
        Write(name, data + from, to - from);
        from = to + cut.size();
    }
}
