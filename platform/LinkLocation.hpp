#pragma once
// Locations of an HTML view as the game sees them: a followed link keeps the backslashes its page
// wrote ("redirects\page.html"), while the engine is given a plain URI with forward slashes.
// Pure text functions; an odd location comes back unchanged rather than refused.

#include <array>
#include <string>

// The schemes whose loads stay on this machine; the HTML views block every other one.
inline constexpr std::array<const char*, 5> LocalSchemes = {"file", "about", "data", "blob", "javascript"};

// What the engine can load: backslashes become slashes, a plain absolute path becomes a file URI.
std::string LoadableUri(const std::string& location);
// Where a link written as `href` leads from `page`, keeping the link's own spelling. A link written
// with backslashes is joined to the page's folder with a backslash, as a local path would be.
std::string FollowedLink(const std::string& page, const std::string& href);
// The text with its %XX escapes undone.
std::string Unescape(const std::string& text);
// Whether two locations name the same place once both are loadable (escapes and dot segments aside).
bool SameLocation(const std::string& a, const std::string& b);
// Whether a location stays on this machine: a plain path, or a URI with one of the local schemes.
bool IsLocalLocation(const std::string& location);
