#pragma once
// A plan as gorum-plan prints it, week by week, and the same text read back into steps a player takes.
// The printed text is the contract: the replay plays exactly what was read from it. Reading is
// forgiving: lines it does not know are skipped.

#include "tools/plan/PlanScript.hpp"
#include "tools/plan/PlanWorld.hpp"

#include <iosfwd>
#include <string>

struct TPlanText {
    static void Write(std::ostream& out, const TPlanWorld& world, const TPlan& plan);
    static TPlanScript Read(std::istream& in);
    // "Fitness 2:3, Mental 1:0, ...; items: Diploma, Office Clerk; motivation 71.50"
    static std::string DescribeState(const TPlayer& player);
    static std::string ItemNames(const TPlayer& player);
};
