#include "tools/plan/PlanBound.hpp"

#include "scene/Motivation.hpp"

#include <algorithm>

namespace {

// The final goal is judged only after a turn, and a turn needs something to click.
bool AnythingToClick(const TLevelReach& reach) {
    return std::any_of(reach.Sources().begin(), reach.Sources().end(),
                       [](const TSource& s) { return s.kind == TSource::TKind::Station; });
}

} // namespace

TPlanBound::TPlanBound(const TPlanWorld& world)
    : reach(*world.Level()), parallel(reach, world.FinalGoal()), sequential(reach, parallel, world) {}

TPoints TPlanBound::PointsOf(const TPlayer& player) const {
    TPoints points;
    for (size_t s = 0; s < SkillCount; ++s)
        points.points[s] = TotalPoints(player.skillLevel[s], player.skillPoints[s]);
    points.items = reach.Start({}, {player.inventory.begin(), player.inventory.end()}).items;
    return points;
}

int TPlanBound::FewestTurns(const TPlayer& player, int limit) const {
    if (!AnythingToClick(reach) && player.currentJob == nullptr) return Never;
    return parallel.Turns(PointsOf(player), limit, FullMotivation);
}

std::string TPlanBound::WhyNever(const TPlayer& player) const {
    if (!AnythingToClick(reach)) return "no station of the level offers anything to do";
    const TFinalTarget& target = parallel.Target();
    if (target.item < 0) return "the final goal needs " + SkillOutOfReach(target.skill, target.level);
    return "the final goal can never be reached: " +
           reach.WhyNot(static_cast<size_t>(target.item), parallel.Closure(PointsOf(player)));
}
