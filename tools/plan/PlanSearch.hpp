#pragma once
// Looks for the plan of one player model that wins a level soonest, one layer of states per week:
// - a beam keeps the states closest to the goal, merging those that hold the same skills, items, job and
//   goals (keeping the most motivated), and widens while its budget lasts;
// - a complete search keeps every state, merging only those that play on alike: the same skills, items,
//   job and goals, and the same motivation, or, for a player whose motivation can only help, more of it;
//   it ends in the soonest win or in the proof that this player has none.
// Both drop every state the bound proves too slow. Work is counted in turns played, so a search goes as
// far on any machine. Every turn is played by the world: a plan found is one the game itself would play.

#include "tools/plan/PlanBound.hpp"
#include "tools/plan/PlanModel.hpp"

#include <functional>
#include <vector>

struct TSearchResult {
    TPlan plan;               // won when a plan was found
    bool proven = false;      // the plan is this player's soonest, or there is none
    bool searchedAll = false; // proven by the complete search, not by the bound
};

class TPlanSearch {
  public:
    TPlanSearch(TPlanWorld& world, TPlayerModel& model, const TPlanBound& bound)
        : world(world), model(model), bound(bound) {}
    // The best plan found within about the given number of turns played: the earliest win, then the
    // most motivated. fewest is a lower bound on the turns of any plan; the hints are plans of other
    // players, whose actions this player tries first with goals of his own.
    TSearchResult Search(long plays, int fewest, const std::vector<TPlan>& hints = {});
    // The actions that win the level when the Gorum takes the same one every week (with the goals that
    // suit it), and the plan of each.
    std::vector<TPlan> SingleActionWins();
    // The complete search alone, within the given number of turns played; not proven when they ran out.
    TSearchResult Complete(long plays);

  private:
    struct TNode {
        TTurnChoice choice; // the turn that led here
        long parent = -1;
    };
    struct TLayerNode {
        TPlanState state;
        long node = 0;
    };
    // A state after a move, not yet a node.
    struct TChild {
        TPlanState state;
        TTurnChoice choice;
        long parent = -1;
        int bound = 0;
    };
    struct TExpansion {
        std::vector<TChild> children;
        TChild win; // the most motivated win, when won
        bool won = false;
        bool outOfTurns = false; // the budget ran out before every state was expanded
    };
    using TMoveSource = std::function<std::vector<TMove>(const TPlanState&)>;

    // Every move from every state of the layer: the most motivated win, and the states after, merged where
    // they play on alike (byKeyOnly: whatever their motivation, keeping the most motivated).
    TExpansion Expand(const std::vector<TLayerNode>& layer, const TMoveSource& movesOf, bool byKeyOnly,
                      long stopAt);
    // The children a search keeps become nodes and the next layer.
    static std::vector<TLayerNode> Adopt(std::vector<TChild>& children, const std::vector<size_t>& which,
                                         std::vector<TNode>& nodes);
    // The children the bound lets reach the goal in the turns left, with each one's bound filled in.
    std::vector<size_t> InTime(std::vector<TChild>& children, int left) const;

    // Gives up (no plan) once the world has played the given number of turns.
    TPlan Beam(size_t width, int turnsToBeat, long stopAt);
    TSearchResult CompleteUntil(long stopAt);
    // The hint's actions, turn by turn, with every way this player may set goals around them: the most
    // motivated that wins soonest, or no plan.
    TPlan Follow(const TPlan& hint, long stopAt);
    // The plan that ends with the choice, played again from the start.
    TPlan PathTo(const std::vector<TNode>& nodes, long last, const TTurnChoice& choice);
    // Whether more motivation is never worse for this player in this level: true when no goal's item can
    // arrive but the one that wins, whose bonus is the only rule that favours less.
    bool MoreMotivationHelps() const;

    TPlanWorld& world;
    TPlayerModel& model;
    const TPlanBound& bound;
};
