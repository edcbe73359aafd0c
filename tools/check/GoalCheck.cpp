// Final goals that no play can reach: what a level's actions can ever give, ignoring time (the analysis
// gorum-plan shares). Whether the weeks suffice is the planner's question.
#include "rules/Goal.hpp"
#include "rules/Item.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"
#include "tools/reach/LevelReach.hpp"

namespace {

TReach FromTheStart(const TLevelReach& reach) {
    return reach.Closure(reach.Start({1, 1, 1, 1, 1}, {}));
}

void CheckItemGoal(const TLevel& level, const std::string& file, TCheckReport& report) {
    const TLevelReach reach(level);
    const std::string& goal = level.ItemGoal;
    const size_t item = static_cast<size_t>(reach.IndexOf(TItem::FindByTag(goal)));
    if (FromTheStart(reach).items[item] != 0) return;
    if (!reach.Gives(item)) {
        report.Add(file, "final goal item " + Quoted(goal) + " is given by no action the level offers");
    } else {
        report.Add(file,
                   "final goal item " + Quoted(goal) +
                       " is out of reach: the actions that give it need skill levels or items the level "
                       "never gives");
    }
}

void CheckSkillGoal(const TLevel& level, const std::string& file, TCheckReport& report) {
    const int kind = level.SkillGoalKind;
    const int target = level.SkillGoalLevel;
    if (kind < 0 || kind >= SkillCount) {
        report.Add(file, "SetSkillGoal names skill " + std::to_string(kind) + ", which is none of 0 to 4");
        return;
    }
    const TLevelReach reach(level);
    const std::string goal =
        "final goal " + std::string(SkillNames[kind]) + " level " + std::to_string(target);
    if (target <= 1) {
        report.Add(file, goal + " is met from the start");
    } else if (reach.HighestCap(kind) < target) {
        report.Add(file, goal + " is above every cap the level's actions raise it to (at most " +
                             std::to_string(reach.HighestCap(kind)) + ")");
    } else if (FromTheStart(reach).level[static_cast<size_t>(kind)] < target) {
        report.Add(file, goal + " is out of reach: the actions that raise it that far need skill levels or "
                                "items the level never gives");
    }
}

} // namespace

void CheckFinalGoals(const TContentRun& run, TCheckReport& report) {
    for (const auto& level : LevelRegistry) {
        const std::string file = run.FileOf(level.get());
        if (TItem::FindByTag(level->ItemGoal) != nullptr) {
            CheckItemGoal(*level, file, report);
            continue;
        }
        if (level->ItemGoal != "NULL") {
            report.Add(file, "SetItemGoal names " + Quoted(level->ItemGoal) +
                                 ", which is no item: the final goal falls back to SetSkillGoal");
        }
        CheckSkillGoal(*level, file, report);
    }
}
