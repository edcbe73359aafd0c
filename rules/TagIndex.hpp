#pragma once
// Finds the first entry of a registry with a given tag without walking the list: loading a level looks
// up every action and station it names, and walking lists of thousands for each made loading grow with
// the square of the content. The list stays the owner and keeps its order; the index remembers, for each
// tag, the position of its first entry, and catches up with entries appended since the last lookup.
// A list that was emptied or refilled is noticed (shorter, or another object or tag at either end of
// what was indexed) and indexed afresh. Entries get their tag when they are made, before anything looks
// them up.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

template <typename T, std::string T::*Field> class TTagIndex {
  public:
    T* Find(const std::vector<std::unique_ptr<T>>& list, const std::string& tag) {
        if (list.size() < covered ||
            (covered > 0 &&
             (list[0].get() != front || list[covered - 1].get() != last || last->*Field != lastTag)))
            Reset();
        if (covered < list.size()) {
            for (; covered < list.size(); ++covered)
                first.emplace((*list[covered]).*Field, covered);
            front = list[0].get();
            last = list[covered - 1].get();
            lastTag = last->*Field;
        }
        const auto found = first.find(tag);
        if (found == first.end()) return nullptr;
        T* entry = list[found->second].get();
        if (entry->*Field == tag) return entry;
        // A tag changed after it was indexed: start again from the list as it is now.
        Reset();
        return Find(list, tag);
    }

  private:
    std::unordered_map<std::string, size_t> first;
    size_t covered = 0;
    const T* front = nullptr;
    const T* last = nullptr;
    std::string lastTag;

    void Reset() {
        first.clear();
        covered = 0;
    }
};
