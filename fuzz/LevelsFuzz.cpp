// The level loader over a content folder built from the input, against the game's own items, actions and
// stations.
#include "fuzz/FuzzCheck.hpp"
#include "fuzz/LoaderFuzz.hpp"
#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "shell/Level.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareLoaderWorld(3);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int count = LoadKindFromInput("levels", TLevel::LoadAll, data, size);
    Require(LevelRegistry.size() == static_cast<size_t>(count), "one level per file");
    for (const auto& level : LevelRegistry) {
        for (const std::string& tag : level->ActionTags)
            Require(TAction::FindByTag(tag) != nullptr, "a level offers only actions that exist");
        for (const std::string& tag : level->ItemTags)
            Require(TItem::FindByTag(tag) != nullptr, "a level offers only items that exist");
    }
    LevelRegistry.clear();
    return 0;
}
