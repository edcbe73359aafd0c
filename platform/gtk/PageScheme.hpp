#pragma once
// The game's pages as the engine loads them: the scheme of the page addresses (LinkLocation), answered in
// the game's own process with files of the game folder's content/ and media/ only (PageFile), each sent
// with a content security policy that lets it load nothing from outside that scheme. A refused request
// ends in an error, which the view shows as nothing.

#include <webkit2/webkit2.h>

void RegisterPageScheme(WebKitWebContext* context);
