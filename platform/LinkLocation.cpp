#include "platform/LinkLocation.hpp"

#include <algorithm>
#include <vector>

namespace {

bool HasScheme(const std::string& text) {
    // "file:", "http:" ...; a single letter before the colon would be a drive, which we never see.
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        (i > 0 && (c == '+' || c == '-' || c == '.'));
        if (!ok) return false;
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string WithoutDotSegments(const std::string& path) {
    std::vector<std::string> kept;
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('/', start);
        const std::string part =
            path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") {
            if (kept.size() > 1) kept.pop_back();
        } else if (part != ".") {
            kept.push_back(part);
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    std::string joined;
    for (size_t i = 0; i < kept.size(); ++i)
        joined += (i == 0 ? "" : "/") + kept[i];
    // A path that ended in a dot segment still names a folder.
    if (path.ends_with("/.") || path.ends_with("/..")) joined += "/";
    return joined;
}

std::string Comparable(const std::string& location) {
    std::string uri = Unescape(LoadableUri(location));
    if (uri.starts_with("file://localhost/")) uri.erase(7, 9);
    const size_t hash = uri.find('#');
    const std::string fragment = hash == std::string::npos ? "" : uri.substr(hash);
    const std::string body = uri.substr(0, hash);
    const size_t authority = body.find("://");
    const size_t pathStart = authority == std::string::npos ? 0 : body.find('/', authority + 3);
    if (pathStart == std::string::npos) return uri;
    return body.substr(0, pathStart) + WithoutDotSegments(body.substr(pathStart)) + fragment;
}

} // namespace

std::string Unescape(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            plain += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

std::string LoadableUri(const std::string& location) {
    std::string uri = location;
    for (char& c : uri) {
        if (c == '\\') c = '/';
    }
    if (uri.starts_with("/")) uri = "file://" + uri;
    return uri;
}

std::string FollowedLink(const std::string& page, const std::string& href) {
    if (HasScheme(href)) return href;
    const size_t hash = page.find('#');
    const std::string document = page.substr(0, hash);
    if (href.starts_with("#")) return document + href;
    if (href.starts_with("/") || href.starts_with("\\")) {
        return (HasScheme(document) ? std::string("file://") : std::string()) + href;
    }
    const size_t query = document.find('?');
    const std::string path = document.substr(0, query);
    const size_t cut = path.find_last_of("/\\");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
    const char separator = href.find('\\') != std::string::npos ? '\\' : '/';
    return folder + separator + href;
}

bool SameLocation(const std::string& a, const std::string& b) {
    return Comparable(a) == Comparable(b);
}

bool IsLocalLocation(const std::string& location) {
    if (!HasScheme(location)) return true;
    std::string scheme = location.substr(0, location.find(':'));
    for (char& c : scheme) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return std::find(LocalSchemes.begin(), LocalSchemes.end(), scheme) != LocalSchemes.end();
}
