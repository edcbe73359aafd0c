// Final goals that no play can reach: what a level's usable actions can ever give, ignoring time. An
// action is usable when the level offers it and a station lists it or a held job or asset runs it; it can
// run once its skill levels and items are reachable. Whether the weeks suffice is the planner's question.
#include "rules/Action.hpp"
#include "rules/Goal.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

#include <algorithm>
#include <array>
#include <set>

namespace {

// Motivation never exceeds this, and an item is given only above its threshold.
constexpr double MostMotivation = 100.0;

struct TReach {
    std::array<int, SkillCount> level{1, 1, 1, 1, 1};
    std::set<std::string> items;
};

bool OnAStation(const TAction* action) {
    return std::any_of(StationList.begin(), StationList.end(), [&](const auto& station) {
        return std::find(station->actions.begin(), station->actions.end(), action) != station->actions.end();
    });
}

// Whether a held item of the reach runs the action: a job's work or quit, an asset's weekly turn.
bool RunByHeldItem(const TAction* action, const TReach& reach) {
    for (const std::string& tag : reach.items) {
        const TItem* item = TItem::FindByTag(tag);
        if (item->itemType == "JOB" && (item->actionTag == action->tag || item->quitActionTag == action->tag))
            return true;
        if (item->itemType == "ASSET" && item->actionTag == action->tag) return true;
    }
    return false;
}

bool CanRun(const TAction* action, const TReach& reach) {
    if (!OnAStation(action) && !RunByHeldItem(action, reach)) return false;
    for (int s = 0; s < SkillCount; ++s) {
        if (reach.level[s] < action->requiredLevels[s]) return false;
    }
    return std::all_of(action->requiredItems.begin(), action->requiredItems.end(),
                       [&](const std::string& need) {
                           return TItem::FindByTag(need) == nullptr || reach.items.count(need) != 0;
                       });
}

// Grows what the level's actions can reach until nothing changes.
TReach Reachable(const TLevel& level) {
    TReach reach;
    for (bool grew = true; grew;) {
        grew = false;
        for (const std::string& tag : level.ActionTags) {
            const TAction* action = TAction::FindByTag(tag);
            if (action == nullptr || !CanRun(action, reach)) continue;
            for (int s = 0; s < SkillCount; ++s) {
                const int cap = std::min(action->skillCap[s], MaxSkillLevel);
                if (action->skillBase[s] > 0 && cap > reach.level[s]) {
                    reach.level[s] = cap;
                    grew = true;
                }
            }
            for (size_t i = 0; i < action->giveItems.size(); ++i) {
                const std::string& given = action->giveItems[i];
                if (TItem::FindByTag(given) == nullptr || action->giveThresholds[i] >= MostMotivation)
                    continue;
                if (reach.items.insert(given).second) grew = true;
            }
        }
    }
    return reach;
}

bool LevelGives(const TLevel& level, const std::string& item) {
    return std::any_of(level.ActionTags.begin(), level.ActionTags.end(), [&](const std::string& tag) {
        const TAction* action = TAction::FindByTag(tag);
        if (action == nullptr) return false;
        for (size_t i = 0; i < action->giveItems.size(); ++i) {
            if (action->giveItems[i] == item && action->giveThresholds[i] < MostMotivation) return true;
        }
        return false;
    });
}

int HighestCap(const TLevel& level, int skill) {
    int highest = 1;
    for (const std::string& tag : level.ActionTags) {
        const TAction* action = TAction::FindByTag(tag);
        if (action != nullptr && action->skillBase[skill] > 0)
            highest = std::max(highest, action->skillCap[skill]);
    }
    return std::min(highest, MaxSkillLevel);
}

void CheckItemGoal(const TLevel& level, const std::string& file, TCheckReport& report) {
    const std::string& goal = level.ItemGoal;
    if (Reachable(level).items.count(goal) != 0) return;
    if (!LevelGives(level, goal)) {
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
    const std::string goal =
        "final goal " + std::string(SkillNames[kind]) + " level " + std::to_string(target);
    if (target <= 1) {
        report.Add(file, goal + " is met from the start");
    } else if (HighestCap(level, kind) < target) {
        report.Add(file, goal + " is above every cap the level's actions raise it to (at most " +
                             std::to_string(HighestCap(level, kind)) + ")");
    } else if (Reachable(level).level[kind] < target) {
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
