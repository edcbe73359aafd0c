#pragma once
// Looks for the plan of one player model that wins a level soonest: a beam search over the turns, one layer
// per week, that merges states holding the same skills, items and job (keeping the most motivated), drops
// every state the bound proves too slow, and keeps the states closest to the goal. The beam widens while time
// is left. Every turn is played by the world, so a plan found is one the game itself would play out.

#include "tools/plan/PlanBound.hpp"
#include "tools/plan/PlanModel.hpp"

#include <chrono>
#include <vector>

class TPlanSearch {
  public:
    TPlanSearch(TPlanWorld& world, TPlayerModel& model, const TPlanBound& bound)
        : world(world), model(model), bound(bound) {}
    // The best plan found within about the given seconds: the earliest win, then the most motivated.
    // Not won when none was found; that proves nothing.
    TPlan Search(double seconds);
    // The actions that win the level when the Gorum takes the same one every week (with the goals that
    // suit it), and the plan of each.
    std::vector<TPlan> SingleActionWins();

  private:
    // Gives up (no plan) once the clock passes the end; a wide beam over a long level can take a while.
    TPlan Beam(size_t width, int turnsToBeat, std::chrono::steady_clock::time_point end);

    TPlanWorld& world;
    TPlayerModel& model;
    const TPlanBound& bound;
};
