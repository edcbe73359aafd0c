#include "tools/plan/PlanBound.hpp"

#include "scene/Motivation.hpp"

#include <algorithm>

// The quick bound is a relaxation of the rules, so it can only err on the hopeful side:
// - motivation never exceeds full, so a GiveSkill run never gives more than at full motivation, and an
//   item whose threshold is full or more is never handed out; every other one may be;
// - a skill's points only grow, and never beyond the cap of the action that raises them;
// - items are only handed out by actions whose requirements are met, and nothing is ever taken away;
// - every turn, each skill is raised as far as the best action for that skill alone could raise it
//   (as if all actions ran at once), then by every asset that may be held, as often as the rules let an
//   asset be held and in whatever order helps most.
// The real Gorum's points are therefore never above the bound's, and his items never outside its set,
// after any number of turns: the first turn at which the bound meets the final goal is a lower bound.

namespace {

constexpr int MaxPoints = MaxSkillLevel * PointsPerLevel; // enough for every level test

int FullGain(const TAction& action, size_t skill) {
    return action.skillBase[skill] > 0 ? action.Gain(static_cast<int>(skill), FullMotivation) : 0;
}

} // namespace

int TotalPoints(int level, int points) {
    return std::min(MaxPoints, level * PointsPerLevel + points);
}

int LevelOfTotal(int total) {
    return std::min(MaxSkillLevel, total / PointsPerLevel);
}

int Raised(int total, int gain, int cap) {
    const int level = LevelOfTotal(total);
    return std::min(MaxPoints, total + TAction::Amount(level, total - level * PointsPerLevel, gain, cap));
}

TPlanBound::TPlanBound(const TPlanWorld& world) : reach(*world.Level()), sequential(reach, world) {
    const TGoal& goal = world.FinalGoal();
    goalItem = reach.IndexOf(TItem::FindByTag(goal.itemTag));
    goalSkill = goal.skill;
    goalLevel = goal.targetLevel;
}

TPlanBound::TPoints TPlanBound::PointsOf(const TPlayer& player) const {
    TPoints points;
    for (size_t s = 0; s < SkillCount; ++s)
        points.points[s] = TotalPoints(player.skillLevel[s], player.skillPoints[s]);
    points.items = reach.Start({}, {player.inventory.begin(), player.inventory.end()}).items;
    return points;
}

TReach TPlanBound::LevelsOf(const TPoints& points) const {
    TReach levels;
    for (size_t s = 0; s < SkillCount; ++s)
        levels.level[s] = LevelOfTotal(points.points[s]);
    levels.items = points.items;
    return levels;
}

bool TPlanBound::GoalMet(const TPoints& points) const {
    if (goalItem >= 0) return points.items[static_cast<size_t>(goalItem)] != 0;
    if (goalSkill < 0 || goalSkill >= SkillCount) return goalLevel <= 0;
    return LevelOfTotal(points.points[static_cast<size_t>(goalSkill)]) >= goalLevel;
}

bool TPlanBound::Step(TPoints& points) const {
    TPoints next = points;
    const TReach before = LevelsOf(points);
    for (const TSource& source : reach.Sources()) {
        if (source.kind == TSource::TKind::Asset || !reach.Ready(source, before)) continue;
        for (size_t s = 0; s < SkillCount; ++s) {
            next.points[s] = std::max(next.points[s], Raised(points.points[s], FullGain(*source.action, s),
                                                             source.action->skillCap[s]));
        }
        for (const TSource::TGive& give : source.gives)
            next.items[give.item] = 1;
    }
    // Assets: each run adds at most its gain and never lifts a skill past the highest cap among them. An
    // asset can be handed out, or have its requirements met, by another asset in the same week, so the
    // set of acting assets grows until it settles.
    const TPoints afterAction = next;
    for (size_t round = 0; round <= reach.Sources().size(); ++round) {
        std::array<int, SkillCount> assetGain{};
        std::array<int, SkillCount> assetCap{};
        TPoints grown = next;
        const TReach acting = LevelsOf(next);
        for (const TSource& asset : reach.Sources()) {
            if (asset.kind != TSource::TKind::Asset || !reach.Ready(asset, acting)) continue;
            for (size_t s = 0; s < SkillCount; ++s) {
                if (FullGain(*asset.action, s) <= 0) continue;
                assetGain[s] += AssetLimit * FullGain(*asset.action, s);
                assetCap[s] = std::max(assetCap[s], asset.action->skillCap[s]);
            }
            for (const TSource::TGive& give : asset.gives)
                grown.items[give.item] = 1;
        }
        for (size_t s = 0; s < SkillCount; ++s)
            grown.points[s] = Raised(afterAction.points[s], assetGain[s], assetCap[s]);
        if (grown.points == next.points && grown.items == next.items) break;
        next = grown;
    }
    const bool changed = next.points != points.points || next.items != points.items;
    points = next;
    return changed;
}

int TPlanBound::FewestTurns(const TPlayer& player, int limit) const {
    // The final goal is judged only after a turn, and a turn needs something to click.
    const bool anything = std::any_of(reach.Sources().begin(), reach.Sources().end(),
                                      [](const TSource& s) { return s.kind == TSource::TKind::Station; });
    if (!anything && player.currentJob == nullptr) return Never;
    TPoints points = PointsOf(player);
    for (int turns = 0; turns <= limit; ++turns) {
        if (GoalMet(points)) return std::max(turns, 1);
        if (!Step(points)) return Never;
    }
    return limit + 1;
}

std::string TPlanBound::WhyNever(const TPlayer& player) const {
    const bool anything = std::any_of(reach.Sources().begin(), reach.Sources().end(),
                                      [](const TSource& s) { return s.kind == TSource::TKind::Station; });
    if (!anything) return "no station of the level offers anything to do";
    TPoints points = PointsOf(player);
    while (Step(points)) {
    }
    if (goalItem < 0) return "the final goal needs " + SkillOutOfReach(goalSkill, goalLevel);
    return "the final goal can never be reached: " +
           reach.WhyNot(static_cast<size_t>(goalItem), LevelsOf(points));
}

bool TPlanBound::FinalItemCanBeTaken() const {
    if (goalItem < 0) return false;
    const std::string& tag = reach.Items()[static_cast<size_t>(goalItem)]->tag;
    return std::any_of(reach.Sources().begin(), reach.Sources().end(), [&](const TSource& source) {
        const auto& takes = source.action->takeItems;
        return std::find(takes.begin(), takes.end(), tag) != takes.end();
    });
}
