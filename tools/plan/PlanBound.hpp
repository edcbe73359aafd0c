#pragma once
// Sound lower bounds on the turns a level still needs, for proving that no plan exists and for ranking
// the search. They read the level's actions as loaded and assume every turn goes as well as the rules
// could possibly let it; they never play a turn. Built once per level from the set-up world.
// - FewestTurns runs every ready action at once each turn (TParallelBound): quick, for pruning;
// - SequentialTurns plays one action a turn (TSequentialBound): slower and much closer to the truth.

#include "tools/plan/ParallelBound.hpp"
#include "tools/plan/PlanWorld.hpp"
#include "tools/plan/SequentialBound.hpp"
#include "tools/reach/LevelReach.hpp"

#include <string>

class TPlanBound {
  public:
    static constexpr int Never = TParallelBound::Never;

    explicit TPlanBound(const TPlanWorld& world);
    // Fewest turns from this Gorum to the final goal; Never when no number of turns reaches it, and
    // limit + 1 once it is known to take more than limit.
    int FewestTurns(const TPlayer& player, int limit) const;
    // The same, one action a turn, for a player with the freedom to set goals; limit + 1 also when it is
    // Never.
    int SequentialTurns(const TPlayer& player, int limit, TGoalFreedom freedom = TGoalFreedom::Any) const {
        return sequential.Turns(player, limit, freedom);
    }
    // Why the final goal can never be reached from the level's start, in words; call when FewestTurns
    // answered Never.
    std::string WhyNever(const TPlayer& player) const;
    // Whether anything the level runs takes the final goal's item away.
    bool FinalItemCanBeTaken() const { return sequential.FinalItemCanBeTaken(); }

  private:
    TPoints PointsOf(const TPlayer& player) const;

    TLevelReach reach;
    TParallelBound parallel;
    TSequentialBound sequential;
};
