#include "tools/plan/PlanBound.hpp"

#include <algorithm>

// The bound is a relaxation of the rules, so it can only err on the hopeful side:
// - motivation never exceeds 100, so a GiveSkill line never gives more than its base plus its full bonus,
//   and an item whose threshold is 100 or more is never handed out; every other one may be;
// - a skill's points only grow, and never beyond the cap of the action that raises them;
// - items are only handed out by actions whose requirements are met, and nothing is ever taken away;
// - every turn, each skill is raised as far as the best action for that skill alone could raise it
//   (as if all actions ran at once), then by every asset that may be held, three times each (the most
//   copies the rules accept) and in whatever order helps most.
// The real Gorum's points are therefore never above the bound's, and his items never outside its set,
// after any number of turns: the first turn at which the bound meets the final goal is a lower bound.

namespace {

constexpr int PointsPerLevel = 10;
constexpr int MaxPoints = MaxSkillLevel * PointsPerLevel; // enough for every level test
constexpr int AssetCopies = 3;
constexpr float FullMotivation = 100.0f;

int LevelOf(int points) {
    return std::min(MaxSkillLevel, points / PointsPerLevel);
}

// One run of a GiveSkill: nothing at or above the cap, otherwise the gain, landing on the cap at most.
int Raised(int points, int gain, int cap) {
    if (gain <= 0 || LevelOf(points) >= cap) return points;
    return std::min({points + gain, cap * PointsPerLevel, MaxPoints});
}

long IndexOf(const std::vector<const TItem*>& items, const TItem* item) {
    const auto found = std::find(items.begin(), items.end(), item);
    return found == items.end() ? -1 : static_cast<long>(found - items.begin());
}

} // namespace

TPlanBound::TPlanBound(const TPlanWorld& world) {
    for (const auto& item : ItemList)
        items.push_back(item.get());
    std::vector<const TAction*> offered;
    for (const auto& station : StationList) {
        for (const TAction* action : station->AvailableActions()) {
            if (std::find(offered.begin(), offered.end(), action) != offered.end()) continue;
            offered.push_back(action);
            choosable.push_back(SourceOf(*action, -1));
        }
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const TItem& item = *items[i];
        if (item.itemType == "JOB") {
            for (const std::string& tag : {item.actionTag, item.quitActionTag}) {
                if (const TAction* action = TAction::FindByTag(tag))
                    choosable.push_back(SourceOf(*action, static_cast<long>(i)));
            }
        }
        if (item.itemType == "ASSET") {
            if (const TAction* action = TAction::FindByTag(item.actionTag)) {
                assets.push_back(SourceOf(*action, -1));
                assetItem.push_back(static_cast<long>(i));
            }
        }
    }
    const TGoal& goal = world.FinalGoal();
    goalItem = IndexOf(items, TItem::FindByTag(goal.itemTag));
    goalSkill = goal.skill;
    goalLevel = goal.targetLevel;
}

TPlanBound::TSource TPlanBound::SourceOf(const TAction& action, long enabledBy) const {
    TSource source;
    source.action = &action;
    source.enabledBy = enabledBy;
    for (int s = 0; s < SkillCount; ++s) {
        const size_t i = static_cast<size_t>(s);
        source.gain[i] = action.skillBase[i] + std::max(0, action.skillBonus[i]);
        source.cap[i] = action.skillCap[i];
    }
    for (const std::string& tag : action.requiredItems) {
        const long index = IndexOf(items, TItem::FindByTag(tag));
        if (index >= 0) source.needs.push_back(static_cast<size_t>(index));
    }
    for (int i = 0; i < ActionItemSlots; ++i) {
        const long index = IndexOf(items, TItem::FindByTag(action.giveItems[static_cast<size_t>(i)]));
        if (index >= 0 && action.giveThresholds[static_cast<size_t>(i)] < FullMotivation)
            source.gives.push_back(static_cast<size_t>(index));
    }
    return source;
}

bool TPlanBound::Ready(const TSource& source, const TReach& reach) const {
    // A locked action never runs, wherever it is offered.
    if (source.action->locked != 0) return false;
    if (source.enabledBy >= 0 && reach.items[static_cast<size_t>(source.enabledBy)] == 0) return false;
    for (int s = 0; s < SkillCount; ++s) {
        const size_t i = static_cast<size_t>(s);
        if (LevelOf(reach.points[i]) < source.action->requiredLevels[i]) return false;
    }
    return std::all_of(source.needs.begin(), source.needs.end(),
                       [&](size_t item) { return reach.items[item] != 0; });
}

TPlanBound::TReach TPlanBound::ReachOf(const TPlayer& player) const {
    TReach reach;
    for (size_t s = 0; s < SkillCount; ++s)
        reach.points[s] = std::min(MaxPoints, player.skillLevel[s] * PointsPerLevel + player.skillPoints[s]);
    reach.items.assign(items.size(), 0);
    for (const TItem* held : player.inventory) {
        const long index = IndexOf(items, held);
        if (index >= 0) reach.items[static_cast<size_t>(index)] = 1;
    }
    return reach;
}

bool TPlanBound::GoalMet(const TReach& reach) const {
    if (goalItem >= 0) return reach.items[static_cast<size_t>(goalItem)] != 0;
    if (goalSkill < 0 || goalSkill >= SkillCount) return goalLevel <= 0;
    return LevelOf(reach.points[static_cast<size_t>(goalSkill)]) >= goalLevel;
}

bool TPlanBound::Step(TReach& reach) const {
    TReach next = reach;
    for (const TSource& source : choosable) {
        if (!Ready(source, reach)) continue;
        for (size_t s = 0; s < SkillCount; ++s)
            next.points[s] = std::max(next.points[s], Raised(reach.points[s], source.gain[s], source.cap[s]));
        for (const size_t item : source.gives)
            next.items[item] = 1;
    }
    // Assets: each run adds at most its gain and never lifts a skill past the highest cap among them. An
    // asset can be handed out, or have its requirements met, by another asset in the same week, so the
    // set of acting assets grows until it settles.
    const TReach afterAction = next;
    for (size_t round = 0; round <= assets.size(); ++round) {
        std::array<int, SkillCount> assetGain{};
        std::array<int, SkillCount> assetCap{};
        TReach grown = next;
        for (size_t a = 0; a < assets.size(); ++a) {
            if (next.items[static_cast<size_t>(assetItem[a])] == 0 || !Ready(assets[a], next)) continue;
            for (size_t s = 0; s < SkillCount; ++s) {
                if (assets[a].gain[s] <= 0) continue;
                assetGain[s] += AssetCopies * assets[a].gain[s];
                assetCap[s] = std::max(assetCap[s], assets[a].cap[s]);
            }
            for (const size_t item : assets[a].gives)
                grown.items[item] = 1;
        }
        for (size_t s = 0; s < SkillCount; ++s)
            grown.points[s] = Raised(afterAction.points[s], assetGain[s], assetCap[s]);
        if (grown.points == next.points && grown.items == next.items) break;
        next = grown;
    }
    const bool changed = next.points != reach.points || next.items != reach.items;
    reach = next;
    return changed;
}

int TPlanBound::FewestTurns(const TPlayer& player, int limit) const {
    // The final goal is judged only after a turn, and a turn needs something to click.
    if (choosable.empty()) return Never;
    TReach reach = ReachOf(player);
    for (int turns = 0; turns <= limit; ++turns) {
        if (GoalMet(reach)) return std::max(turns, 1);
        if (!Step(reach)) return Never;
    }
    return limit + 1;
}

std::string TPlanBound::ExplainSkill(int skill, int level) const {
    const std::string name = skill >= 0 && skill < SkillCount ? SkillNames[skill] : "an unknown skill";
    return name + " level " + std::to_string(level) + ", which no action of the level reaches";
}

std::string TPlanBound::Explain(size_t item, const TReach& reach, std::vector<char>& seen) const {
    const std::string name = items[item]->name;
    if (seen[item] != 0) return name;
    seen[item] = 1;
    std::vector<const TSource*> givers;
    for (const auto* list : {&choosable, &assets}) {
        for (const TSource& source : *list) {
            if (std::find(source.gives.begin(), source.gives.end(), item) != source.gives.end())
                givers.push_back(&source);
        }
    }
    const auto offered = [&](const TSource& s) { return s.action->locked == 0; };
    if (std::none_of(givers.begin(), givers.end(), [&](const TSource* s) { return offered(*s); }))
        return name + ", which nothing in the level gives";
    for (const TSource* giver : givers) {
        if (!offered(*giver)) continue;
        const std::string action = giver->action->name;
        if (giver->enabledBy >= 0 && reach.items[static_cast<size_t>(giver->enabledBy)] == 0)
            return name + ": " + action + " needs the job " +
                   Explain(static_cast<size_t>(giver->enabledBy), reach, seen);
        for (const size_t need : giver->needs) {
            if (reach.items[need] == 0) return name + ": " + action + " needs " + Explain(need, reach, seen);
        }
        for (int s = 0; s < SkillCount; ++s) {
            const int required = giver->action->requiredLevels[static_cast<size_t>(s)];
            if (LevelOf(reach.points[static_cast<size_t>(s)]) < required)
                return name + ": " + action + " needs " + ExplainSkill(s, required);
        }
    }
    return name;
}

std::string TPlanBound::WhyNever(const TPlayer& player) const {
    if (choosable.empty()) return "no station of the level offers anything to do";
    TReach reach = ReachOf(player);
    while (Step(reach)) {
    }
    if (goalItem < 0) return "the final goal needs " + ExplainSkill(goalSkill, goalLevel);
    std::vector<char> seen(items.size(), 0);
    return "the final goal can never be reached: " + Explain(static_cast<size_t>(goalItem), reach, seen);
}
