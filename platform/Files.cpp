#include "platform/Backend.hpp"
#include "platform/FileBytes.hpp"
#include "platform/Platform.hpp"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

struct TTextFileData {
    std::string bytes; // the whole file, read at opening
    size_t pos = 0;
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

bool PathWithin(const std::string& folder, const std::string& path) {
    char* realFolder = realpath(folder.c_str(), nullptr);
    char* realPath = realpath(path.c_str(), nullptr);
    const bool within = realFolder != nullptr && realPath != nullptr &&
                        std::string(realPath).starts_with(std::string(realFolder) + "/");
    free(realFolder);
    free(realPath);
    return within;
}

TTextFile OpenTextFile(const std::string& path) {
    BackendWhileLoading();
    auto file = std::make_shared<TTextFileData>();
    if (!ReadFileBytes(path, MaxTextFileBytes, file->bytes)) return nullptr;
    return file;
}

std::string ReadLine(const TTextFile& file) {
    if (file == nullptr || file->pos >= file->bytes.size()) return "";
    const size_t end = std::min(file->bytes.find('\n', file->pos), file->bytes.size());
    std::string line = file->bytes.substr(file->pos, end - file->pos);
    file->pos = end + 1;
    return line;
}

bool EndOfFile(const TTextFile& file) {
    return file == nullptr || file->pos >= file->bytes.size();
}

void SeekStart(const TTextFile& file) {
    if (file != nullptr) file->pos = 0;
}

void CloseFile(const TTextFile& file) {
    if (file == nullptr) return;
    file->bytes = {};
    file->pos = 0;
}
