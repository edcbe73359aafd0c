#include "rules/TagIndex.hpp"

#include <gtest/gtest.h>

namespace {

struct TEntry {
    std::string tag;
};

using TList = std::vector<std::unique_ptr<TEntry>>;

// Every entry ever made, as the registries count them.
size_t Made = 0;

std::unique_ptr<TEntry> Make(const std::string& tag) {
    ++Made;
    return std::make_unique<TEntry>(TEntry{tag});
}

TEntry* Add(TList& list, const std::string& tag) {
    list.push_back(Make(tag));
    return list.back().get();
}

} // namespace

TEST(TagIndexTest, FirstMatchInListOrderAsTheListGrowsAndIsRefilled) {
    TList list;
    TTagIndex<TEntry, &TEntry::tag> index;
    EXPECT_EQ(index.Find(list, Made, "a"), nullptr);
    TEntry* first = Add(list, "a");
    Add(list, "b");
    Add(list, "a");
    EXPECT_EQ(index.Find(list, Made, "a"), first);
    EXPECT_EQ(index.Find(list, Made, "c"), nullptr);
    TEntry* late = Add(list, "c"); // appended after the index was built
    EXPECT_EQ(index.Find(list, Made, "c"), late);

    // Emptied and refilled with as many entries: the old positions must not answer.
    list.clear();
    Add(list, "x");
    TEntry* y = Add(list, "y");
    TEntry* a = Add(list, "a");
    Add(list, "z");
    EXPECT_EQ(index.Find(list, Made, "a"), a);
    EXPECT_EQ(index.Find(list, Made, "y"), y);
    EXPECT_EQ(index.Find(list, Made, "b"), nullptr);

    // Looking up an entry whose tag changed since it was indexed notices it and indexes afresh.
    y->tag = "w";
    EXPECT_EQ(index.Find(list, Made, "y"), nullptr);
    EXPECT_EQ(index.Find(list, Made, "w"), y);

    // Replaced in place, first and last entry kept: only the count of entries made tells.
    list[1] = Make("v");
    EXPECT_EQ(index.Find(list, Made, "v"), list[1].get());
    EXPECT_EQ(index.Find(list, Made, "w"), nullptr);
}

TEST(TagIndexTest, ARefilledListIsIndexedAfreshEvenWhereItsEndsAreTheOldObjects) {
    TList list;
    TTagIndex<TEntry, &TEntry::tag> index;
    Add(list, "a");
    Add(list, "b");
    Add(list, "z");
    ASSERT_NE(index.Find(list, Made, "b"), nullptr);
    // Emptied and refilled where the allocator handed back the very same memory for both ends.
    std::unique_ptr<TEntry> front = std::move(list.front());
    std::unique_ptr<TEntry> back = std::move(list.back());
    list.clear();
    list.push_back(std::move(front));
    list.push_back(Make("c"));
    list.push_back(std::move(back));
    EXPECT_EQ(index.Find(list, Made, "c"), list[1].get());
    EXPECT_EQ(index.Find(list, Made, "b"), nullptr);
    EXPECT_EQ(index.Find(list, Made, "z"), list[2].get());
}
