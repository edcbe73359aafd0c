#pragma once
// Finds the first entry of a registry with a given tag without walking the list: loading a level looks
// up every action and station it names, and walking lists of thousands for each made loading grow with
// the square of the content. The list stays the owner and keeps its order; the index remembers, for each
// tag, the position of its first entry, and catches up with entries appended since the last lookup.
// The caller counts every entry it ever made for the list: when the list grew by anything but the entries
// made since (it was emptied and refilled, or an entry was replaced), it is indexed afresh. Addresses
// alone cannot tell, since a refilled list may get its old memory back. An entry whose tag changed after
// it was indexed is noticed when it is looked up, or when it is the last one indexed.

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Whether a tag names an entry at all. "NULL" is an absent field and an empty tag one that was never set:
// an entry whose file had no tag line (an empty, unreadable or foreign file) carries one, and a lookup by
// them, which the loaders make for every short item list and every missing key, must not find it.
inline bool NamesEntry(const std::string& tag) {
    return !tag.empty() && tag != "NULL";
}

// Whether a registry list changed since `covered` of its entries were taken in, when `madeThen` entries
// had been made, by anything but appending the entries made since: then it must be taken in afresh.
inline bool RefilledSince(size_t size, size_t covered, size_t made, size_t madeThen) {
    return size < covered || size - covered != made - madeThen;
}

template <typename T, std::string T::*Field> class TTagIndex {
  public:
    T* Find(const std::vector<std::unique_ptr<T>>& list, size_t made, const std::string& tag) {
        if (!NamesEntry(tag)) return nullptr;
        if (RefilledSince(list.size(), covered, made, madeThen) ||
            (covered > 0 && (*list[covered - 1]).*Field != lastTag))
            Reset();
        if (covered < list.size()) {
            for (; covered < list.size(); ++covered)
                first.emplace((*list[covered]).*Field, covered);
            lastTag = (*list[covered - 1]).*Field;
        }
        madeThen = made;
        const auto found = first.find(tag);
        if (found == first.end()) return nullptr;
        T* entry = list[found->second].get();
        if (entry->*Field == tag) return entry;
        // A tag changed after it was indexed: start again from the list as it is now.
        Reset();
        return Find(list, made, tag);
    }

  private:
    std::unordered_map<std::string, size_t> first;
    size_t covered = 0;
    size_t madeThen = 0;
    std::string lastTag;

    void Reset() {
        first.clear();
        covered = 0;
    }
};
