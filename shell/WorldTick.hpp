#pragma once
// Once per frame tick while the world is shown: takes at most one finished pointer gesture and acts on it
// by the tag of the hotspot it happened on. Tags that no row names are ignored without a word.

#include <string>

void WorldTick();
// The rows of the click tables for one clicked tag; gestureKind is "CLICK1", "CLICK2" or "CLICK3".
void HandleClick(const std::string& gestureKind, const std::string& tag);
