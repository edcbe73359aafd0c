#include "platform/LinkLocation.hpp"

#include <algorithm>
#include <string_view>
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

// Escapes what would end or change a URI path: the path keeps its meaning once the engine reads it back.
std::string Escaped(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string_view("-._~/!$&'()*+,;=:@").find(c) != std::string_view::npos;
        if (plain) {
            escaped += c;
        } else {
            escaped += '%';
            escaped += hex[byte >> 4];
            escaped += hex[byte & 15];
        }
    }
    return escaped;
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

std::string PageUri(const std::string& location, const std::string& folder) {
    std::string uri = LoadableUri(location);
    if (uri.starts_with("file://localhost/")) uri.erase(7, 9);
    if (!uri.starts_with("file:///")) return "";
    const size_t end = uri.find_first_of("?#");
    const std::string path = WithoutDotSegments(Unescape(uri.substr(7, end - 7)));
    const std::string base = WithoutDotSegments(folder) + (folder.ends_with("/") ? "" : "/");
    if (!path.starts_with(base) || path.size() == base.size()) return "";
    return PageRoot + Escaped(path.substr(base.size())) + (end == std::string::npos ? "" : uri.substr(end));
}

std::string PageLocation(const std::string& uri, const std::string& folder) {
    if (!uri.starts_with(PageRoot)) return uri;
    return "file://" + Escaped(folder) + (folder.ends_with("/") ? "" : "/") +
           uri.substr(std::string(PageRoot).size());
}

std::string PagePath(const std::string& uriPath) {
    std::string path = Unescape(uriPath);
    if (path.find('\0') != std::string::npos) return "";
    std::replace(path.begin(), path.end(), '\\', '/');
    path = WithoutDotSegments("/" + path);
    const size_t start = path.find_first_not_of('/');
    return start == std::string::npos ? "" : path.substr(start);
}
