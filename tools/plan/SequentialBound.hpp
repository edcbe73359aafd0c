#pragma once
// A lower bound on the turns to a level's final goal that plays one action a turn, as the game does: a
// search over a relaxation of the rules in which nothing can turn out worse than in the game.
// - Every turn runs one station action, or, while a job is current, its work or its quit; a job becomes
//   current when it is handed out (or may stay as it was, when the Gorum may already hold it).
// - Items are never taken away and never refused; an action's requirements are met by any item the
//   Gorum may hold; job applications are never barred.
// - Each held asset acts once a copy per turn, copies counted as handed out (at most the rules' asset
//   limit), and every asset that may act in a turn acts in the order that raises skills most.
// - Motivation is an upper bound: exactly the Gorum's own for the first turn; after a turn it rises at
//   most as a goal in a skill that progressed would raise it, then by one full reward for every goal that
//   turn could reach (a skill that may have levelled, an item that may be held), within the goal limit;
//   and to full whenever a goal's item may arrive, since the bonus for one is unbounded at motivation 0.
// A player who sets fewer goals gets a tighter bound: with one focused goal at a time, one reward a turn;
// with none, no reward, and progress counts only in the final goal's skill.
// Gains and thresholds only grow with motivation, points and items, so the bound keeps, of states alike
// in items and job, only those not worse in every skill and in motivation.

#include "rules/Player.hpp"
#include "tools/plan/ParallelBound.hpp"
#include "tools/reach/LevelReach.hpp"

#include <array>
#include <cstdint>
#include <vector>

class TPlanWorld;

// The goals a player may set, as far as the bound's motivation is concerned.
enum class TGoalFreedom { Any, OneFocused, None };

class TSequentialBound {
  public:
    // The quick bound prunes the states that cannot make it in the turns left.
    TSequentialBound(const TLevelReach& reach, const TParallelBound& quick, const TPlanWorld& world);
    // The fewest turns from the Gorum to the final goal; limit + 1 when it takes more, or never comes.
    int Turns(const TPlayer& player, int limit, TGoalFreedom freedom) const;
    // Whether anything the level runs takes the final goal's item away.
    bool FinalItemCanBeTaken() const { return goalItemTaken; }

  private:
    struct TState {
        std::array<int, SkillCount> points{}; // total points, no more than any requirement asks
        float motivation = 0.0f;
        std::vector<uint8_t> held; // by item: copies that may be held
        long job = -1;             // the current job's item
    };
    struct TJob {
        const TSource* work = nullptr;
        const TSource* quit = nullptr;
        bool becomesCurrent = false; // its work action exists, so handing it out makes it the job
    };
    // What a turn did, for the motivation bound.
    struct TTurnEvents {
        std::array<bool, SkillCount> raised{};
        std::vector<size_t> jobsGiven;
        bool jobCertain = false; // a job surely handed out that the Gorum surely did not hold
        bool goalItemGiven = false;
        bool finalItemGiven = false;
    };

    bool Ready(const TSource& source, const TState& state) const;
    void Run(const TSource& source, float motivation, TState& state, TTurnEvents& events, bool certain) const;
    void Give(size_t item, TState& state, TTurnEvents& events, bool certain) const;
    void RunAssets(float motivation, TState& state, TTurnEvents& events) const;
    // The turn after a choice (none for quit): every state the relaxation allows.
    struct TTurnTerms {
        bool quit = false;
        bool first = false;
        TGoalFreedom freedom = TGoalFreedom::Any;
    };
    void Turn(const TState& from, const TSource* source, TTurnTerms terms, std::vector<TState>& out) const;
    float NextMotivation(const TState& before, const TState& after, const TTurnEvents& events,
                         TTurnTerms terms) const;
    // The most the end-of-week evaluation can leave.
    float WeekEnd(float motivation, const TTurnEvents& events, TTurnTerms terms) const;
    bool GoalMet(const TState& state) const;

    // Whether the state can still meet the goal in the turns left, by the quick bound at its own
    // motivation when that can never rise for the player.
    bool InTime(const TState& state, int turnsLeft, TGoalFreedom freedom) const;

    const TLevelReach& reach;
    const TParallelBound& quick;
    std::vector<const TSource*> stations;
    std::vector<const TSource*> assets;
    std::vector<TJob> jobs;      // by item; empty for items that are no job
    std::vector<char> goalItems; // items a goal can be set for: the level's choices and the final item
    std::array<int, SkillCount> most{};
    long goalItem = -1;
    bool goalItemTaken = false; // something the level runs takes the final goal's item away
    int goalSkill = -1;
    int goalLevel = 0;
};
