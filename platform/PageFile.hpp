#pragma once
// What the HTML views may load: a regular file of the game folder's content/ or media/, named by the path
// of a page address and read whole through the bounded reader. A folder, a device, a file elsewhere, one
// reached through a link that leaves those folders, or one of a kind the views do not show is refused,
// and the view shows nothing in its place.

#include <cstddef>
#include <string>

inline constexpr size_t MaxPageFileBytes = size_t{32} << 20;

// Reads the file an address's path names (see PagePath) inside the game folder `folder`, with its type.
bool ReadPageFile(const std::string& folder, const std::string& uriPath, std::string& bytes,
                  std::string& type);
// The type the engine is told for a page file, from its name; "" for a kind the views do not show.
std::string PageFileType(const std::string& path);
