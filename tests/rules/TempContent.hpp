#pragma once
// A scratch directory for content files written by a test; removed with everything in it when it goes.
// Tests create one per case so that no file leaks from one case into another.

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

struct TTempContent {
    std::filesystem::path root;

    // In the system's temporary folder, or in `base` (a memory-backed one, for tests that make many files).
    explicit TTempContent(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string pattern = (base / "gorum-content-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) root = pattern;
    }
    ~TTempContent() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TTempContent(const TTempContent&) = delete;
    TTempContent& operator=(const TTempContent&) = delete;

    // Writes the bytes as given (no line-end translation) and returns the file's path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = root / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        return file.string();
    }
    // A plain 24-bit picture of the given size, enough for tests that tell images apart by size.
    std::string WriteBmp(const std::string& name, int width, int height) const {
        const int row = (width * 3 + 3) / 4 * 4;
        const int size = 54 + row * height;
        std::string bytes(static_cast<size_t>(size), '\0');
        auto put = [&](int at, int value, int count) {
            for (int i = 0; i < count; ++i)
                bytes[static_cast<size_t>(at + i)] = static_cast<char>(value >> (8 * i));
        };
        bytes[0] = 'B';
        bytes[1] = 'M';
        put(2, size, 4);
        put(10, 54, 4);
        put(14, 40, 4);
        put(18, width, 4);
        put(22, height, 4);
        put(26, 1, 2);
        put(28, 24, 2);
        put(34, row * height, 4);
        return Write(name, bytes);
    }
    std::string Dir(const std::string& name) const {
        std::filesystem::create_directories(root / name);
        return (root / name).string();
    }
};
