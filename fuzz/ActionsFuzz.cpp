// The action loader over a content folder built from the input, against the game's own items.
#include "fuzz/FuzzCheck.hpp"
#include "fuzz/LoaderFuzz.hpp"
#include "rules/Action.hpp"
#include "rules/TagIndex.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareLoaderWorld(1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int count = LoadKindFromInput("actions", TAction::LoadAll, data, size);
    Require(ActionList.size() == static_cast<size_t>(count), "one action per file");
    // "NULL" is what a file without a tag line gets, and like an empty tag stands for no action at all.
    for (const auto& action : ActionList)
        Require((TAction::FindByTag(action->tag) != nullptr) == NamesEntry(action->tag),
                "an action is found by its tag, if it has one");
    ActionList.clear();
    return 0;
}
