#include "tools/check/PageTarget.hpp"

#include "platform/LinkLocation.hpp"

#include <algorithm>
#include <array>

namespace {

// Schemes whose addresses load nothing from a file or a host.
constexpr std::array<const char*, 4> InPageSchemes = {"about", "data", "blob", "javascript"};

// The scheme before the first colon, in lower case; empty when the address has none.
std::string SchemeOf(const std::string& address) {
    const size_t colon = address.find(':');
    if (colon == std::string::npos || colon == 0) return "";
    std::string scheme;
    for (size_t i = 0; i < colon; ++i) {
        const char c = address[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return "";
        scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return scheme;
}

// The address as a browser's parser takes it: blanks and controls around it dropped, tabs and line breaks
// inside it too, and backslashes read as slashes.
std::string Cleaned(const std::string& address) {
    size_t start = 0;
    size_t end = address.size();
    while (start < end && static_cast<unsigned char>(address[start]) <= ' ')
        ++start;
    while (end > start && static_cast<unsigned char>(address[end - 1]) <= ' ')
        --end;
    std::string clean;
    for (size_t i = start; i < end; ++i) {
        const char c = address[i];
        if (c == '\t' || c == '\n' || c == '\r') continue;
        clean += c == '\\' ? '/' : c;
    }
    return clean;
}

} // namespace

TTarget PageTarget(const std::string& root, const std::string& page, const std::string& address) {
    const std::string clean = Cleaned(address);
    if (clean.empty() || clean.starts_with("#")) return {TReach::Page, ""};
    // A host named without a scheme takes the page's: a file on another machine.
    if (clean.starts_with("//")) return {TReach::OffMachine, ""};
    const std::string scheme = SchemeOf(clean);
    std::string path;
    if (scheme.empty()) {
        path = clean.starts_with("/") ? clean : root + page.substr(0, page.find_last_of("/\\") + 1) + clean;
    } else if (scheme == "file") {
        path = clean.substr(5);
        if (path.starts_with("//")) {
            const size_t slash = std::min(path.find('/', 2), path.size());
            const std::string host = path.substr(2, slash - 2);
            if (!host.empty() && host != "localhost") return {TReach::OffMachine, ""};
            path = path.substr(slash);
        }
    } else if (std::find(InPageSchemes.begin(), InPageSchemes.end(), scheme) != InPageSchemes.end()) {
        return {TReach::Page, ""};
    } else {
        return {TReach::OffMachine, ""};
    }
    // Resolved as the views resolve a page's address, so the checker and the game agree on where it leads.
    path = "/" + PagePath(path.substr(0, path.find_first_of("?#")));
    while (path.size() > 1 && path.ends_with('/'))
        path.pop_back();
    if (path + "/" == root) return {TReach::Game, "."};
    if (path.starts_with(root)) return {TReach::Game, path.substr(root.size())};
    return {TReach::Outside, path};
}
