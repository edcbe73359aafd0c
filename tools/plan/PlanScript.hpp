#pragma once
// A printed plan read back: per week, the goal steps and the action a player takes, and the state the
// plan says the week leaves. Plain values, made by TPlanText::Read and played by TPlanReplay.

#include "tools/plan/Plan.hpp"

#include <array>
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
