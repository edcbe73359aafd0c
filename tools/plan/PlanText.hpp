#pragma once
// A plan as gorum-plan prints it, week by week, and the same text read back into steps a player takes.
// The printed text is the contract: the replay plays exactly what was read from it. Reading is
// forgiving: lines it does not know are skipped.

#include "tools/plan/PlanWorld.hpp"

#include <array>
#include <iosfwd>
#include <string>
#include <vector>

enum class TGoalStepKind { New, Focus, Unfocus };

// One thing done with a goal before the week's action: a new goal (then focused), or a squeeze on one.
struct TGoalStep {
    TGoalStepKind kind = TGoalStepKind::New;
    int skill = -1;      // a skill goal's skill, -1 for an item goal
    int level = 0;       // a skill goal's level
    std::string itemTag; // an item goal's item
    int due = 0;         // the deadline week
};

struct TScriptWeek {
    int week = 0;
    std::vector<TGoalStep> goals;
    TTurnKind kind = TTurnKind::Station;
    std::string actionTag;
    std::string stationTag;
    // As printed after the week.
    std::array<int, SkillCount> levels{};
    std::array<int, SkillCount> points{};
    std::string items;
    double motivation = 0.0;
};

struct TPlanScript {
    std::vector<TScriptWeek> weeks;
    bool won = false;
};

struct TPlanText {
    static void Write(std::ostream& out, const TPlanWorld& world, const TPlan& plan);
    static TPlanScript Read(std::istream& in);
    // "Fitness 2:3, Mental 1:0, ...; items: Diploma, Office Clerk; motivation 71.50"
    static std::string DescribeState(const TPlayer& player);
    static std::string ItemNames(const TPlayer& player);
};
