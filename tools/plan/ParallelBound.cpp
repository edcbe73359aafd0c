#include "tools/plan/ParallelBound.hpp"

#include "rules/Player.hpp"
#include "scene/Motivation.hpp"

#include <algorithm>

namespace {

constexpr int MaxPoints = MaxSkillLevel * PointsPerLevel; // enough for every level test

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

int GainAt(const TAction& action, int skill, float motivation) {
    const size_t s = static_cast<size_t>(skill);
    return action.skillBase[s] > 0 || action.skillBonus[s] > 0 ? action.Gain(skill, motivation) : 0;
}

TParallelBound::TParallelBound(const TLevelReach& reach, const TGoal& finalGoal) : reach(reach) {
    target.item = reach.IndexOf(TItem::FindByTag(finalGoal.itemTag));
    target.skill = finalGoal.skill;
    target.level = finalGoal.targetLevel;
}

TReach TParallelBound::LevelsOf(const TPoints& points) const {
    TReach levels;
    for (size_t s = 0; s < SkillCount; ++s)
        levels.level[s] = LevelOfTotal(points.points[s]);
    levels.items = points.items;
    return levels;
}

bool TParallelBound::GoalMet(const TPoints& points) const {
    if (target.item >= 0) return points.items[static_cast<size_t>(target.item)] != 0;
    if (target.skill < 0 || target.skill >= SkillCount) return target.level <= 0;
    return LevelOfTotal(points.points[static_cast<size_t>(target.skill)]) >= target.level;
}

bool TParallelBound::Step(TPoints& points, float motivation) const {
    TPoints next = points;
    const TReach before = LevelsOf(points);
    const auto give = [&](const TSource& source, TPoints& into) {
        for (const TSource::TGive& gift : source.gives) {
            if (motivation > gift.threshold) into.items[gift.item] = 1;
        }
    };
    for (const TSource& source : reach.Sources()) {
        if (source.kind == TSource::TKind::Asset || !reach.Ready(source, before)) continue;
        for (size_t s = 0; s < SkillCount; ++s) {
            const int gain = GainAt(*source.action, static_cast<int>(s), motivation);
            next.points[s] =
                std::max(next.points[s], Raised(points.points[s], gain, source.action->skillCap[s]));
        }
        give(source, next);
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
                const int gain = GainAt(*asset.action, static_cast<int>(s), motivation);
                if (gain <= 0) continue;
                assetGain[s] += AssetLimit * gain;
                assetCap[s] = std::max(assetCap[s], asset.action->skillCap[s]);
            }
            give(asset, grown);
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

int TParallelBound::Turns(TPoints points, int limit, float motivation) const {
    for (int turns = 0; turns <= limit; ++turns) {
        if (GoalMet(points)) return std::max(turns, 1);
        if (!Step(points, motivation)) return Never;
    }
    return limit + 1;
}

TReach TParallelBound::Closure(TPoints points) const {
    while (Step(points, FullMotivation)) {
    }
    return LevelsOf(points);
}
