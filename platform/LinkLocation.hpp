#pragma once
// Locations of an HTML view as the game sees them: a followed link keeps the backslashes its page
// wrote ("redirects\page.html"), while the engine is given a plain URI with forward slashes.
// Pure text functions; an odd location comes back unchanged rather than refused.

#include <string>

// What the engine can load: backslashes become slashes, a plain absolute path becomes a file URI.
std::string LoadableUri(const std::string& location);
// Where a link written as `href` leads from `page`, keeping the link's own spelling. A link written
// with backslashes is joined to the page's folder with a backslash, as a local path would be.
std::string FollowedLink(const std::string& page, const std::string& href);
// The text with its %XX escapes undone.
std::string Unescape(const std::string& text);
// Whether two locations name the same place once both are loadable (escapes and dot segments aside).
bool SameLocation(const std::string& a, const std::string& b);
// The engine is given the game's pages under a scheme of their own, "gorum://game/" followed by the page's
// path inside the game folder, and never a file: URI: so it loads nothing but what the game answers.
inline constexpr const char* PageScheme = "gorum";
inline constexpr const char* PageRoot = "gorum://game/";
// The engine's address of a location (a path or a file: URI) that lies inside `folder`, anchor kept;
// "" for a location outside it or of another kind, which the views refuse.
std::string PageUri(const std::string& location, const std::string& folder);
// The location the game knows (a file: URI) for an engine address of a page; other addresses unchanged.
std::string PageLocation(const std::string& uri, const std::string& folder);
// The path inside the game folder that an address's path names, as a local path would read it: escapes
// undone, backslashes as slashes, dot segments resolved without climbing above the folder.
std::string PagePath(const std::string& uriPath);
