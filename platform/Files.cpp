#include "platform/Backend.hpp"
#include "platform/Platform.hpp"

#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

struct TTextFileData {
    FILE* stream = nullptr;
    bool atEnd = false;
    ~TTextFileData() {
        if (stream != nullptr) std::fclose(stream);
    }
};

std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    return names;
}

int FileKind(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return 0;
    if (S_ISDIR(info.st_mode)) return 2;
    return 1;
}

std::string CurrentDirectory() {
    std::vector<char> buffer(4096);
    if (getcwd(buffer.data(), buffer.size()) == nullptr) return "";
    return buffer.data();
}

TTextFile OpenTextFile(const std::string& path) {
    BackendWhileLoading();
    if (FileKind(path) != 1) return nullptr;
    FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) return nullptr;
    auto file = std::make_shared<TTextFileData>();
    file->stream = stream;
    return file;
}

std::string ReadLine(const TTextFile& file) {
    std::string line;
    if (file == nullptr || file->stream == nullptr || file->atEnd) return line;
    int c = 0;
    // Unlocked: one thread reads, and a locked read per character was a good part of loading content.
    while ((c = getc_unlocked(file->stream)) != EOF && c != '\n') {
        if (line.size() < MaxLineBytes) line.push_back(static_cast<char>(c));
    }
    // Peek so that EndOfFile is true right after the last line, as a line reader expects.
    if (c == EOF) {
        file->atEnd = true;
    } else {
        const int next = std::fgetc(file->stream);
        if (next == EOF)
            file->atEnd = true;
        else
            std::ungetc(next, file->stream);
    }
    return line;
}

bool EndOfFile(const TTextFile& file) {
    if (file == nullptr || file->stream == nullptr) return true;
    if (file->atEnd) return true;
    const int next = std::fgetc(file->stream);
    if (next == EOF) {
        file->atEnd = true;
        return true;
    }
    std::ungetc(next, file->stream);
    return false;
}

void SeekStart(const TTextFile& file) {
    if (file == nullptr || file->stream == nullptr) return;
    std::rewind(file->stream);
    file->atEnd = false;
}

void CloseFile(const TTextFile& file) {
    if (file == nullptr || file->stream == nullptr) return;
    std::fclose(file->stream);
    file->stream = nullptr;
    file->atEnd = true;
}
