#pragma once
// Where an address written on a page leads, seen from the game folder: the game's views load only the
// folder's own files, so anything else a page points to is a mistake. Pure text: an address is read as a
// browser reads it against a file page (backslashes as slashes, escapes and dot segments undone); links
// through symbolic links are not followed.

#include <string>

enum class TReach {
    Page,       // no load at all: an anchor on the page, "javascript:", "data:", "about:"
    Game,       // a file of the game folder
    Outside,    // a file of this machine outside the game folder
    OffMachine, // a host or a scheme that leaves the machine ("http:", "ws:", "//host/" ...)
};

struct TTarget {
    TReach reach = TReach::Page;
    std::string
        file; // relative to the game folder for Game ("." for the folder itself), absolute for Outside
};

// `root` is the game folder's absolute path ending in a slash; `page` is relative to it.
TTarget PageTarget(const std::string& root, const std::string& page, const std::string& address);
