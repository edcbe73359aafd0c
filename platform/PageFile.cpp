#include "platform/PageFile.hpp"

#include "platform/FileBytes.hpp"
#include "platform/LinkLocation.hpp"
#include "platform/Platform.hpp"

#include <array>
#include <utility>

std::string PageFileType(const std::string& path) {
    static const std::array<std::pair<const char*, const char*>, 14> types = {{
        {".html", "text/html"},
        {".htm", "text/html"},
        {".css", "text/css"},
        {".js", "text/javascript"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".gif", "image/gif"},
        {".bmp", "image/bmp"},
        {".svg", "image/svg+xml"},
        {".txt", "text/plain"},
        {".ttf", "font/ttf"},
        {".woff", "font/woff"},
        {".woff2", "font/woff2"},
    }};
    std::string lower =
        path.substr(path.find_last_of("/.") == std::string::npos ? path.size() : path.find_last_of("/."));
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (const auto& [ending, type] : types) {
        if (lower == ending) return type;
    }
    return "";
}

bool ReadPageFile(const std::string& folder, const std::string& uriPath, std::string& bytes,
                  std::string& type) {
    bytes.clear();
    const std::string path = PagePath(uriPath);
    const std::string top = path.substr(0, path.find('/'));
    type = PageFileType(path);
    if ((top != "content" && top != "media") || path.size() == top.size() || type.empty()) return false;
    const std::string file = folder + "/" + path;
    return PathWithin(folder + "/" + top, file) && ReadFileBytes(file, MaxPageFileBytes, bytes);
}
