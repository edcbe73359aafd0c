#pragma once
// A quick lower bound on the turns to a level's final goal, for pruning searches: a relaxation of the
// rules in which every ready action runs at once each turn. It can only err on the hopeful side:
// - no GiveSkill run gives more than at the motivation it is told (full, unless the Gorum's motivation is
//   known never to rise), and an item comes only from a give whose threshold is below it;
// - a skill's points only grow, and never beyond the cap of the action that raises them;
// - items are only handed out by actions whose requirements are met, and nothing is ever taken away;
// - every turn, each skill is raised as far as the best action for that skill alone could raise it
//   (as if all actions ran at once), then by every asset that may be held, as often as the rules let an
//   asset be held and in whatever order helps most.
// The real Gorum's points are therefore never above the bound's, and his items never outside its set,
// after any number of turns: the first turn at which the bound meets the final goal is a lower bound.

#include "rules/Goal.hpp"
#include "tools/reach/LevelReach.hpp"

#include <array>
#include <climits>
#include <vector>

// Upper bounds of what the Gorum may have: total points by skill, and every item he may hold.
struct TPoints {
    std::array<int, SkillCount> points{};
    std::vector<char> items;
};

// The final goal as the relaxation reads it: the index of its item among the level's items (-1 when it
// asks for a skill), or its skill and level.
struct TFinalTarget {
    long item = -1;
    int skill = 0;
    int level = 0;
};

class TParallelBound {
  public:
    static constexpr int Never = INT_MAX;

    TParallelBound(const TLevelReach& reach, const TGoal& finalGoal);
    // Fewest turns from the points to the final goal at no more than the motivation; Never when no number
    // of turns reaches it, and limit + 1 once it is known to take more than limit.
    int Turns(TPoints points, int limit, float motivation) const;
    // Everything the relaxation reaches in any number of turns.
    TReach Closure(TPoints points) const;
    bool GoalMet(const TPoints& points) const;
    const TFinalTarget& Target() const { return target; }

  private:
    // One turn of the relaxation; false when nothing could change any more.
    bool Step(TPoints& points, float motivation) const;
    TReach LevelsOf(const TPoints& points) const;

    const TLevelReach& reach;
    TFinalTarget target;
};

// A skill's total points: ten a level and the points toward the next; and the level they make.
int TotalPoints(int level, int points);
int LevelOfTotal(int total);
// A GiveSkill run on a skill's total points, as the rules add it.
int Raised(int total, int gain, int cap);
// The points one run of the action gives the skill at the motivation; none without a GiveSkill for it.
int GainAt(const TAction& action, int skill, float motivation);
