#include "tools/plan/PlanReport.hpp"

#include "tools/plan/PlanBound.hpp"
#include "tools/plan/PlanSearch.hpp"
#include "tools/plan/PlanText.hpp"

#include <array>
#include <ostream>
#include <string>

namespace {

// Turns each player's search may play, which leaves room under the ten seconds a level may take for
// start-up and the single-action check. Every player gets as many, so that the difficulty line reads the
// same whichever player's plan is printed.
constexpr long SearchPlays = 500000;
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

// The player's plan, or the proof that he has none: his own bound may rule the level out at once.
TSearchResult SearchFor(TPlanWorld& world, TPlayerKind kind, const TPlanBound& bound, long plays,
                        const std::vector<TPlan>& hints) {
    TPlayerModel model(world, kind);
    const int fewest = bound.SequentialTurns(world.Start().player, world.Turns(), model.Freedom());
    if (fewest > world.Turns()) return {{}, true, false};
    TPlanSearch search(world, model, bound);
    return search.Search(plays, fewest, hints);
}

// A player's weeks to spare; "lost" when he has no plan, "not found" when none was found or ruled out.
std::string SpareText(const TPlanWorld& world, const TSearchResult& result) {
    if (result.plan.won) return std::to_string(SpareWeeks(world, result.plan));
    return result.proven ? "lost" : "not found";
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
    const TPlayer& start = world.Start().player;
    if (bound.FewestTurns(start, world.Turns()) == TPlanBound::Never) {
        out << "gorum-plan: no plan: " << bound.WhyNever(start) << "\n";
        return ExitNoPlan;
    }
    const int fewest = bound.SequentialTurns(start, world.Turns());
    if (fewest > world.Turns()) {
        out << "gorum-plan: no plan: the final goal needs more than " << TurnsText(world.Turns())
            << " of one action each, even with the most motivation the rules allow, and the level gives "
            << world.Turns() << "\n";
        return ExitNoPlan;
    }

    // The best player's plan goes first: the others try its actions before searching on their own.
    std::array<TSearchResult, Players.size()> results;
    std::vector<TPlan> hints;
    for (size_t i = 0; i < Players.size(); ++i) {
        results[i] = SearchFor(world, Players[i], bound, SearchPlays, hints);
        if (results[i].plan.won) hints.push_back(results[i].plan);
    }
    const TSearchResult& result = results[static_cast<size_t>(player)];
    const std::string name = player == TPlayerKind::None
                                 ? "player without goals"
                                 : std::string(TPlayerModel::Name(player)) + " player";
    int status = ExitPlan;
    if (result.plan.won) {
        TPlanText::Write(out, world, result.plan);
        out << "Won at the end of week " << result.plan.weeks.size() << ": " << Spare(world, result.plan)
            << ".\n";
    } else if (result.proven) {
        out << "gorum-plan: no plan: no play of the " << name << " wins within " << TurnsText(world.Turns())
            << (result.searchedAll ? " (every one was tried)\n"
                                   : ", one action a turn with the most motivation he can have\n");
        status = ExitNoPlan;
    } else {
        out << "gorum-plan: no plan found for the " << name << ", though the bound allows one in "
            << TurnsText(fewest) << "; not proven impossible\n";
        status = ExitUndecided;
    }

    out << "Difficulty: weeks to spare:";
    for (size_t i = 0; i < Players.size(); ++i)
        out << (i == 0 ? " " : ", ") << TPlayerModel::Name(Players[i]) << " " << SpareText(world, results[i]);
    out << "; no plan can win in fewer than " << TurnsText(fewest) << "; ";
    WriteSingles(world, bound, out);
    return status;
}
