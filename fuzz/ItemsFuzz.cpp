// The item loader over a content folder built from the input.
#include "fuzz/FuzzCheck.hpp"
#include "fuzz/LoaderFuzz.hpp"
#include "rules/Item.hpp"
#include "rules/TagIndex.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareLoaderWorld(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int count = LoadKindFromInput("items", TItem::LoadAll, data, size);
    Require(ItemList.size() == static_cast<size_t>(count), "one item per file");
    for (const auto& item : ItemList) {
        const TItem* found = TItem::FindByTag(item->tag);
        // An item without a tag, as an empty file makes, is found by no lookup; any other is.
        Require((found != nullptr) == NamesEntry(item->tag), "an item is found by its tag, if it has one");
        if (found != nullptr) found->FindGivingAction();
    }
    ItemList.clear();
    return 0;
}
