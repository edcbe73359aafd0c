#pragma once
// What a level's actions can ever bring about, however many weeks it takes, read from the loaded content
// with the rules' own formulas and limits. An action counts when the level unlocks it and a station lists
// it, or when a job or an asset that the Gorum may hold runs it; it runs once the skill levels and items
// it requires are in reach. An item comes only from a give whose threshold is below full motivation.
// Shared by gorum-check (final goals no play reaches) and gorum-plan (levels no plan wins, and the turns
// a plan needs at the least). Reads the game state; changes nothing.

#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "shell/Level.hpp"

#include <array>
#include <string>
#include <vector>

// An action as the analyses see it, with the items it names as indexes into TLevelReach::Items.
struct TSource {
    enum class TKind { Station, Work, Quit, Asset };
    struct TGive {
        size_t item = 0;
        float threshold = 0.0f;
    };
    const TAction* action = nullptr;
    TKind kind = TKind::Station;
    long item = -1; // the job or asset that runs it; -1 for a station's action
    std::vector<size_t> needs;
    std::vector<TGive> gives; // only those below full motivation
};

// Skill levels and the items that may be held.
struct TReach {
    std::array<int, SkillCount> level{1, 1, 1, 1, 1};
    std::vector<char> items;
};

class TLevelReach {
  public:
    explicit TLevelReach(const TLevel& level);

    // Every item, in load order.
    const std::vector<const TItem*>& Items() const { return items; }
    long IndexOf(const TItem* item) const;
    const std::vector<TSource>& Sources() const { return sources; }

    // The start for a reach: the Gorum's levels and the items he holds.
    TReach Start(const std::array<int, SkillCount>& levels, const std::vector<const TItem*>& held) const;
    // Whether the source can run with what the reach holds (its job or asset among the items).
    bool Ready(const TSource& source, const TReach& reach) const;
    // Everything within reach from the start, in any number of weeks.
    TReach Closure(TReach reach) const;
    // Whether any source hands the item out at all.
    bool Gives(size_t item) const;
    // The highest level any source raises the skill to (at least 1).
    int HighestCap(int skill) const;
    // Why an item is out of the reach, in words, beginning with its name; follows what it needs.
    std::string WhyNot(size_t item, const TReach& reach) const;

  private:
    std::string WhyNot(size_t item, const TReach& reach, std::vector<char>& seen) const;
    void Add(const TAction* action, TSource::TKind kind, long item);

    std::vector<const TItem*> items;
    std::vector<TSource> sources;
};

// "Fitness level 4, which no action of the level reaches", or the like for an unknown skill kind.
std::string SkillOutOfReach(int skill, int level);
