#include "tools/reach/LevelReach.hpp"

#include "rules/Goal.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Motivation.hpp"

#include <algorithm>

namespace {

// The item an action's line names; "NULL" closes a short list and names none.
const TItem* Named(const std::string& tag) {
    return tag.empty() || tag == "NULL" ? nullptr : TItem::FindByTag(tag);
}

bool OnAStation(const TAction* action) {
    return std::any_of(StationList.begin(), StationList.end(), [&](const auto& station) {
        return std::find(station->actions.begin(), station->actions.end(), action) != station->actions.end();
    });
}

} // namespace

std::string SkillOutOfReach(int skill, int level) {
    const std::string name = skill >= 0 && skill < SkillCount ? SkillNames[skill] : "an unknown skill";
    return name + " level " + std::to_string(level) + ", which no action of the level reaches";
}

TLevelReach::TLevelReach(const TLevel& level) {
    for (const auto& item : ItemList)
        items.push_back(item.get());
    // The level unlocks exactly the actions its list names.
    std::vector<const TAction*> unlocked;
    for (const std::string& tag : level.ActionTags) {
        const TAction* action = TAction::FindByTag(tag);
        if (action != nullptr && std::find(unlocked.begin(), unlocked.end(), action) == unlocked.end())
            unlocked.push_back(action);
    }
    const auto isUnlocked = [&](const TAction* action) {
        return action != nullptr && std::find(unlocked.begin(), unlocked.end(), action) != unlocked.end();
    };
    for (const TAction* action : unlocked) {
        if (OnAStation(action)) Add(action, TSource::TKind::Station, -1);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const TItem& item = *items[i];
        const TAction* run = TAction::FindByTag(item.actionTag);
        if (item.itemType == "JOB") {
            const TAction* quit = TAction::FindByTag(item.quitActionTag);
            if (isUnlocked(run)) Add(run, TSource::TKind::Work, static_cast<long>(i));
            if (isUnlocked(quit)) Add(quit, TSource::TKind::Quit, static_cast<long>(i));
        }
        if (item.itemType == "ASSET" && isUnlocked(run))
            Add(run, TSource::TKind::Asset, static_cast<long>(i));
    }
}

void TLevelReach::Add(const TAction* action, TSource::TKind kind, long item) {
    TSource source;
    source.action = action;
    source.kind = kind;
    source.item = item;
    for (const std::string& tag : action->requiredItems) {
        const long index = IndexOf(Named(tag));
        if (index >= 0) source.needs.push_back(static_cast<size_t>(index));
    }
    for (int i = 0; i < ActionItemSlots; ++i) {
        const long index = IndexOf(Named(action->giveItems[static_cast<size_t>(i)]));
        const float threshold = action->giveThresholds[static_cast<size_t>(i)];
        // Motivation never exceeds full, and an item is given only above its threshold.
        if (index >= 0 && threshold < FullMotivation)
            source.gives.push_back({static_cast<size_t>(index), threshold});
    }
    sources.push_back(std::move(source));
}

long TLevelReach::IndexOf(const TItem* item) const {
    const auto found = std::find(items.begin(), items.end(), item);
    return item == nullptr || found == items.end() ? -1 : static_cast<long>(found - items.begin());
}

TReach TLevelReach::Start(const std::array<int, SkillCount>& levels,
                          const std::vector<const TItem*>& held) const {
    TReach reach;
    reach.level = levels;
    reach.items.assign(items.size(), 0);
    for (const TItem* item : held) {
        const long index = IndexOf(item);
        if (index >= 0) reach.items[static_cast<size_t>(index)] = 1;
    }
    return reach;
}

bool TLevelReach::Ready(const TSource& source, const TReach& reach) const {
    if (source.item >= 0 && reach.items[static_cast<size_t>(source.item)] == 0) return false;
    for (int s = 0; s < SkillCount; ++s) {
        const size_t i = static_cast<size_t>(s);
        if (reach.level[i] < source.action->requiredLevels[i]) return false;
    }
    return std::all_of(source.needs.begin(), source.needs.end(),
                       [&](size_t item) { return reach.items[item] != 0; });
}

TReach TLevelReach::Closure(TReach reach) const {
    for (bool grew = true; grew;) {
        grew = false;
        for (const TSource& source : sources) {
            if (!Ready(source, reach)) continue;
            for (size_t s = 0; s < SkillCount; ++s) {
                const int cap = std::min(source.action->skillCap[s], MaxSkillLevel);
                if (source.action->skillBase[s] > 0 && cap > reach.level[s]) {
                    reach.level[s] = cap;
                    grew = true;
                }
            }
            for (const TSource::TGive& give : source.gives) {
                if (reach.items[give.item] != 0) continue;
                reach.items[give.item] = 1;
                grew = true;
            }
        }
    }
    return reach;
}

bool TLevelReach::Gives(size_t item) const {
    return std::any_of(sources.begin(), sources.end(), [&](const TSource& source) {
        return std::any_of(source.gives.begin(), source.gives.end(),
                           [&](const TSource::TGive& give) { return give.item == item; });
    });
}

int TLevelReach::HighestCap(int skill) const {
    int highest = 1;
    for (const TSource& source : sources) {
        if (source.action->skillBase[static_cast<size_t>(skill)] > 0)
            highest = std::max(highest, source.action->skillCap[static_cast<size_t>(skill)]);
    }
    return std::min(highest, MaxSkillLevel);
}

std::string TLevelReach::WhyNot(size_t item, const TReach& reach) const {
    std::vector<char> seen(items.size(), 0);
    return WhyNot(item, reach, seen);
}

std::string TLevelReach::WhyNot(size_t item, const TReach& reach, std::vector<char>& seen) const {
    const std::string name = items[item]->name;
    if (seen[item] != 0) return name;
    seen[item] = 1;
    if (!Gives(item)) return name + ", which nothing in the level gives";
    for (const TSource& giver : sources) {
        const bool gives = std::any_of(giver.gives.begin(), giver.gives.end(),
                                       [&](const TSource::TGive& give) { return give.item == item; });
        if (!gives) continue;
        const std::string action = giver.action->name;
        if (giver.item >= 0 && reach.items[static_cast<size_t>(giver.item)] == 0) {
            const char* holder =
                giver.kind == TSource::TKind::Asset ? " needs the asset " : " needs the job ";
            return name + ": " + action + holder + WhyNot(static_cast<size_t>(giver.item), reach, seen);
        }
        for (const size_t need : giver.needs) {
            if (reach.items[need] == 0) return name + ": " + action + " needs " + WhyNot(need, reach, seen);
        }
        for (int s = 0; s < SkillCount; ++s) {
            const int required = giver.action->requiredLevels[static_cast<size_t>(s)];
            if (reach.level[static_cast<size_t>(s)] < required)
                return name + ": " + action + " needs " + SkillOutOfReach(s, required);
        }
    }
    return name;
}
