#include "tools/plan/PlanReport.hpp"

#include "tools/plan/PlanBound.hpp"
#include "tools/plan/PlanSearch.hpp"
#include "tools/plan/PlanText.hpp"

#include <array>
#include <ostream>
#include <string>

namespace {

// Leaves room under the ten seconds a level may take, for start-up and the single-action check: the
// chosen player's search gets the most.
constexpr double ChosenSeconds = 3.5;
constexpr double OtherSeconds = 1.75;
constexpr std::array<TPlayerKind, 3> Players = {TPlayerKind::Best, TPlayerKind::Steady, TPlayerKind::None};

std::string TurnsText(int turns) {
    return std::to_string(turns) + (turns == 1 ? " turn" : " turns");
}

int SpareWeeks(const TPlanWorld& world, const TPlan& plan) {
    return world.Turns() - static_cast<int>(plan.weeks.size());
}

std::string Spare(const TPlanWorld& world, const TPlan& plan) {
    const int spare = SpareWeeks(world, plan);
    return std::to_string(spare) + (spare == 1 ? " week" : " weeks") + " to spare";
}

TPlan SearchFor(TPlanWorld& world, TPlayerKind kind, const TPlanBound& bound, double seconds) {
    TPlayerModel model(world, kind);
    TPlanSearch search(world, model, bound);
    return search.Search(seconds);
}

void WriteSingles(TPlanWorld& world, const TPlanBound& bound, std::ostream& out) {
    TPlayerModel best(world, TPlayerKind::Best);
    const std::vector<TPlan> singles = TPlanSearch(world, best, bound).SingleActionWins();
    if (singles.empty()) {
        out << "no single action taken every week wins.\n";
        return;
    }
    out << "taken every week, these actions win alone:";
    for (const TPlan& single : singles) {
        out << " " << single.weeks.front().choice.action->name << " ["
            << single.weeks.front().choice.action->tag << "] (" << Spare(world, single) << ")";
    }
    out << ".\n";
}

} // namespace

int ReportLevel(TPlanWorld& world, TPlayerKind player, std::ostream& out) {
    const TPlanBound bound(world);
    const int fewest = bound.FewestTurns(world.Start().player, world.Turns());
    if (fewest == TPlanBound::Never) {
        out << "gorum-plan: no plan: " << bound.WhyNever(world.Start().player) << "\n";
        return ExitNoPlan;
    }
    if (fewest > world.Turns()) {
        out << "gorum-plan: no plan: the final goal needs more than " << TurnsText(world.Turns())
            << " even at full motivation, and the level gives " << world.Turns() << "\n";
        return ExitNoPlan;
    }

    std::array<TPlan, Players.size()> plans;
    for (size_t i = 0; i < Players.size(); ++i)
        plans[i] = SearchFor(world, Players[i], bound, Players[i] == player ? ChosenSeconds : OtherSeconds);
    const TPlan& plan = plans[static_cast<size_t>(player)];
    int status = ExitPlan;
    if (plan.won) {
        TPlanText::Write(out, world, plan);
        out << "Won at the end of week " << plan.weeks.size() << ": " << Spare(world, plan) << ".\n";
    } else {
        out << "gorum-plan: no plan found for the " << TPlayerModel::Name(player)
            << " player, though the bound allows one in " << TurnsText(fewest) << "; not proven impossible\n";
        status = ExitUndecided;
    }

    out << "Difficulty: weeks to spare:";
    for (size_t i = 0; i < Players.size(); ++i) {
        out << (i == 0 ? " " : ", ") << TPlayerModel::Name(Players[i]) << " "
            << (plans[i].won ? std::to_string(SpareWeeks(world, plans[i])) : std::string("no plan found"));
    }
    out << "; no plan can win in fewer than " << TurnsText(fewest) << "; ";
    WriteSingles(world, bound, out);
    return status;
}
