#pragma once
// A sound lower bound on the turns a level still needs, for proving that no plan exists and for ranking
// the search. It reads the level's actions as loaded and assumes every turn goes as well as the rules
// could possibly let it; it never plays a turn. Built once per level from the set-up world.

#include "tools/plan/PlanWorld.hpp"

#include <array>
#include <climits>
#include <string>
#include <vector>

class TPlanBound {
  public:
    static constexpr int Never = INT_MAX;

    explicit TPlanBound(const TPlanWorld& world);
    // Fewest turns from this Gorum to the final goal; Never when no number of turns reaches it, and
    // limit + 1 once it is known to take more than limit.
    int FewestTurns(const TPlayer& player, int limit) const;
    // Why the final goal can never be reached from the level's start, in words; call when FewestTurns
    // answered Never.
    std::string WhyNever(const TPlayer& player) const;

  private:
    // An action as the bound sees it: its best gains, its requirements and what it can hand out.
    struct TSource {
        const TAction* action = nullptr;
        std::array<int, SkillCount> gain{};
        std::array<int, SkillCount> cap{};
        std::vector<size_t> needs; // items it requires that exist
        std::vector<size_t> gives; // items it can hand out at some motivation
        long enabledBy = -1;       // the job item that offers it (work and quit), or -1 for a station
    };
    // Upper bounds of what the Gorum may have: total points by skill, and every item he may hold.
    struct TReach {
        std::array<int, SkillCount> points{};
        std::vector<char> items;
    };

    TSource SourceOf(const TAction& action, long enabledBy) const;
    bool Ready(const TSource& source, const TReach& reach) const;
    TReach ReachOf(const TPlayer& player) const;
    bool GoalMet(const TReach& reach) const;
    // One turn of the relaxation; false when nothing could change any more.
    bool Step(TReach& reach) const;
    std::string Explain(size_t item, const TReach& reach, std::vector<char>& seen) const;
    std::string ExplainSkill(int skill, int level) const;

    std::vector<const TItem*> items;
    std::vector<TSource> choosable;
    std::vector<TSource> assets; // one per asset item, run after the chosen action
    std::vector<long> assetItem;
    long goalItem = -1;
    int goalSkill = 0;
    int goalLevel = 0;
};
