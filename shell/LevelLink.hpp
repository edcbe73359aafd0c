#pragma once
// The rule by which a menu page's location starts a level: after the last "html\" the location must begin
// with "redirects", and its 19th and 20th characters there are the level's name. Pure text; used by the
// menu watch and by the content checker, so both read a link the same way.

#include <optional>
#include <string>

// The name a location selects, or none when the location is not a level link.
std::optional<std::string> LevelLinkName(const std::string& location);
