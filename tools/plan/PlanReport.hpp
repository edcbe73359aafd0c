#pragma once
// What gorum-plan tells an author about a level that can start: the plan of the chosen player week by
// week, or why there is none, and the level's difficulty: the weeks every player model has to spare, the
// fewest turns any play could take, and the actions that win when taken every week.

#include "tools/plan/PlanModel.hpp"

#include <iosfwd>

inline constexpr int ExitPlan = 0;
inline constexpr int ExitNoPlan = 1;
inline constexpr int ExitUsage = 2;
inline constexpr int ExitUndecided = 3;

// Prints to out and returns the exit status: ExitPlan, ExitNoPlan or ExitUndecided.
int ReportLevel(TPlanWorld& world, TPlayerKind player, std::ostream& out);
