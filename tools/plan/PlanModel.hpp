#pragma once
// The players gorum-plan plans for, each a way of setting goals around the turns it plays:
// - best: before every turn, the goals that leave the Gorum most motivated after it (a standing goal for
//   a skill the turn raises, goals for the levels the turn reaches and the items he holds after it, due
//   next week), or none;
// - steady: at most one focused goal besides the final goal, for the milestone the plan reaches next (a
//   skill level some action requires, or an item some action requires, a job or an asset), due the week
//   it is reached; an item's goal is set before the week that gets it; set only while no other is
//   focused, and never dropped;
// - none: never sets or focuses a goal.
// Every turn is played by the world, so a model only chooses; the rules decide what the choice does.

#include "tools/plan/PlanWorld.hpp"
#include "tools/plan/SequentialBound.hpp"

#include <string>
#include <vector>

enum class TPlayerKind { Best, Steady, None };

struct TMove {
    TTurnChoice choice;
    TTurnOutcome outcome;
};

class TPlayerModel {
  public:
    TPlayerModel(TPlanWorld& world, TPlayerKind kind);
    TPlayerKind Kind() const { return kind; }
    // How freely this player sets goals, for the bound on his motivation.
    TGoalFreedom Freedom() const;
    // Every turn this player may take from the state, played; a turn that misses a goal of its own is
    // left out, one that loses the level is not.
    std::vector<TMove> Moves(const TPlanState& state);
    // The turns of this player that run the choice's action: one per way of setting goals around it.
    void Variants(const TPlanState& state, const TTurnChoice& choice, std::vector<TMove>& moves);
    // What only the whole plan tells: the week each steady goal is due.
    static void Finish(TPlan& plan);
    // The goals the player keeps after a turn with the choice from the Gorum before it: the standing goal,
    // a steady goal not reached yet, and whether the turn went by quietly.
    void Carry(const TTurnChoice& choice, const TPlayer& before, TPlanState& after) const;
    // Puts each item goal the steady player claims when its item comes into the week before, where it
    // was set; the choices of a whole plan, in order.
    static void Settle(std::vector<TTurnChoice>& choices);
    const std::vector<TTarget>& Milestones() const { return milestones; }

    // "best", "steady", "none"; false for any other text.
    static bool Parse(const std::string& name, TPlayerKind& kind);
    static const char* Name(TPlayerKind kind);

  private:
    void BestMoves(const TPlanState& state, TTurnChoice choice, std::vector<TMove>& moves);
    void SteadyMoves(const TPlanState& state, const TTurnChoice& choice, std::vector<TMove>& moves);
    // Whether the turn from one player to the next meets a milestone other than the target.
    bool MeetsAnother(const TTarget& target, const TPlayer& before, const TPlayer& after) const;

    TPlanWorld& world;
    TPlayerKind kind;
    std::vector<TTarget> milestones;
};
