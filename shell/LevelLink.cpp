#include "shell/LevelLink.hpp"

std::optional<std::string> LevelLinkName(const std::string& location) {
    const size_t marker = location.rfind("html\\");
    const std::string rest = marker == std::string::npos ? location : location.substr(marker + 5);
    if (rest.rfind("redirects", 0) != 0) return std::nullopt;
    // The 19th and 20th characters, or the last two of a shorter text.
    return rest.size() >= 20 ? rest.substr(18, 2) : rest.substr(rest.size() - 2);
}
