#include "rules/TagIndex.hpp"

#include <gtest/gtest.h>

namespace {

struct TEntry {
    std::string tag;
};

using TList = std::vector<std::unique_ptr<TEntry>>;

TEntry* Add(TList& list, const std::string& tag) {
    list.push_back(std::make_unique<TEntry>(TEntry{tag}));
    return list.back().get();
}

} // namespace

TEST(TagIndexTest, FirstMatchInListOrderAsTheListGrowsAndIsRefilled) {
    TList list;
    TTagIndex<TEntry, &TEntry::tag> index;
    EXPECT_EQ(index.Find(list, "a"), nullptr);
    TEntry* first = Add(list, "a");
    Add(list, "b");
    Add(list, "a");
    EXPECT_EQ(index.Find(list, "a"), first);
    EXPECT_EQ(index.Find(list, "c"), nullptr);
    TEntry* late = Add(list, "c"); // appended after the index was built
    EXPECT_EQ(index.Find(list, "c"), late);

    // Emptied and refilled with as many entries: the old positions must not answer.
    list.clear();
    Add(list, "x");
    TEntry* y = Add(list, "y");
    TEntry* a = Add(list, "a");
    Add(list, "z");
    EXPECT_EQ(index.Find(list, "a"), a);
    EXPECT_EQ(index.Find(list, "y"), y);
    EXPECT_EQ(index.Find(list, "b"), nullptr);

    // Looking up an entry whose tag changed since it was indexed notices it and indexes afresh.
    y->tag = "w";
    EXPECT_EQ(index.Find(list, "y"), nullptr);
    EXPECT_EQ(index.Find(list, "w"), y);
}
