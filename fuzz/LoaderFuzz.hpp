#pragma once
// What the loader targets share: the world a loader runs in, and one input loaded as a content folder.

#include <cstddef>
#include <cstdint>
#include <string>

// The scratch folder, the scene's layers and the headless machine, then the game's own content of the
// kinds that load before this one (items, actions, stations, in that order).
void PrepareLoaderWorld(int earlierKinds);
// The input written as the files of content/<kind>, then the kind's LoadAll; returns what it counted.
int LoadKindFromInput(const std::string& kind, int (*loadAll)(), const uint8_t* data, size_t size);
