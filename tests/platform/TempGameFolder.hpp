#pragma once
// A game folder of a test's own, the working directory while it lives: the HTML views show only pages
// under the working directory's content/ and media/. The shipped pictures are linked in as its media/.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

struct TTempGameFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path root;
    explicit TTempGameFolder(const std::string& name)
        : root(std::filesystem::path(testing::TempDir()) / name) {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "content");
        std::filesystem::create_directory_symlink(previous / "media", root / "media");
        std::filesystem::current_path(root);
    }
    ~TTempGameFolder() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }
    // Writes a file at a path relative to the folder, and returns its full path.
    std::string Write(const std::string& path, const std::string& text) const {
        std::filesystem::create_directories((root / path).parent_path());
        std::ofstream(root / path) << text;
        return (root / path).string();
    }
};
