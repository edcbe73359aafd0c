#include "tools/plan/PlanSearch.hpp"

#include <algorithm>
#include <map>
#include <numeric>

namespace {

constexpr size_t FirstWidth = 32;
constexpr size_t WidthGrowth = 4;
constexpr size_t MaxWidth = 8192;
// The complete search is for small levels: those it can finish in this many turns played.
constexpr long CompletePlays = 50000;

// States with the same skills, inventory slots, job and goals kept play on alike; only motivation tells
// them apart.
std::string KeyOf(const TPlanState& state) {
    const TPlayer& player = state.player;
    std::string key;
    for (size_t s = 0; s < SkillCount; ++s) {
        key += static_cast<char>(player.skillLevel[s]);
        key += static_cast<char>(player.skillPoints[s]);
    }
    const auto add = [&key](const void* p) { key.append(reinterpret_cast<const char*>(&p), sizeof p); };
    for (const TItem* item : player.inventory)
        add(item);
    add(player.currentJob);
    add(player.workAction);
    add(player.quitAction);
    key += static_cast<char>(state.standing);
    key += static_cast<char>(state.target.skill);
    key += static_cast<char>(state.target.level);
    add(state.target.item);
    key += static_cast<char>(state.quiet);
    return key;
}

int PointsOf(const TPlayer& player) {
    int total = 0;
    for (size_t s = 0; s < SkillCount; ++s)
        total += TotalPoints(player.skillLevel[s], player.skillPoints[s]);
    return total;
}

template <typename TChild> bool Closer(const TChild& a, const TChild& b) {
    if (a.bound != b.bound) return a.bound < b.bound;
    if (a.state.player.motivation != b.state.player.motivation)
        return a.state.player.motivation > b.state.player.motivation;
    return PointsOf(a.state.player) > PointsOf(b.state.player);
}

} // namespace

TPlan TPlanSearch::PathTo(const std::vector<TNode>& nodes, long last, const TTurnChoice& choice) {
    std::vector<TTurnChoice> choices{choice};
    for (long at = last; at >= 0 && nodes[static_cast<size_t>(at)].parent >= 0;
         at = nodes[static_cast<size_t>(at)].parent)
        choices.push_back(nodes[static_cast<size_t>(at)].choice);
    std::reverse(choices.begin(), choices.end());
    TPlayerModel::Settle(choices);
    TPlan plan;
    TPlanState state = world.Start();
    for (const TTurnChoice& turn : choices) {
        const TTurnOutcome outcome = world.Play(state, turn);
        const TPlayer before = state.player;
        state = outcome.after;
        model.Carry(turn, before, state);
        plan.weeks.push_back({turn, state});
        plan.won = outcome.won;
    }
    TPlayerModel::Finish(plan);
    return plan;
}

bool TPlanSearch::MoreMotivationHelps() const {
    return model.Kind() == TPlayerKind::None && !bound.FinalItemCanBeTaken();
}

TPlanSearch::TExpansion TPlanSearch::Expand(const std::vector<TLayerNode>& layer, const TMoveSource& movesOf,
                                            bool byKeyOnly, long stopAt) {
    TExpansion expansion;
    std::map<std::pair<std::string, float>, size_t> seen;
    for (const TLayerNode& parent : layer) {
        if (world.Plays() >= stopAt) {
            expansion.outOfTurns = true;
            return expansion;
        }
        for (const TMove& move : movesOf(parent.state)) {
            const TTurnOutcome& outcome = move.outcome;
            if (outcome.lost) continue;
            const float motivation = outcome.after.player.motivation;
            if (outcome.won) {
                if (expansion.won && expansion.win.state.player.motivation >= motivation) continue;
                expansion.won = true;
                expansion.win = {outcome.after, move.choice, parent.node};
                continue;
            }
            const auto key = std::pair{KeyOf(outcome.after), byKeyOnly ? 0.0f : motivation};
            const auto [found, fresh] = seen.emplace(key, expansion.children.size());
            if (fresh) {
                expansion.children.push_back({outcome.after, move.choice, parent.node});
            } else if (expansion.children[found->second].state.player.motivation < motivation) {
                expansion.children[found->second] = {outcome.after, move.choice, parent.node};
            }
        }
    }
    return expansion;
}

std::vector<TPlanSearch::TLayerNode> TPlanSearch::Adopt(std::vector<TChild>& children,
                                                        const std::vector<size_t>& which,
                                                        std::vector<TNode>& nodes) {
    std::vector<TLayerNode> layer;
    for (const size_t i : which) {
        nodes.push_back({children[i].choice, children[i].parent});
        layer.push_back({std::move(children[i].state), static_cast<long>(nodes.size() - 1)});
    }
    return layer;
}

std::vector<size_t> TPlanSearch::InTime(std::vector<TChild>& children, int left) const {
    std::vector<size_t> kept;
    for (size_t i = 0; i < children.size(); ++i) {
        children[i].bound = bound.FewestTurns(children[i].state.player, left);
        if (children[i].bound <= left) kept.push_back(i);
    }
    return kept;
}

TPlan TPlanSearch::Beam(size_t width, int turnsToBeat, long stopAt) {
    std::vector<TNode> nodes{{}};
    std::vector<TLayerNode> layer{{world.Start(), 0}};
    const int turns = std::min(world.Turns(), turnsToBeat - 1);
    const TMoveSource moves = [this](const TPlanState& state) { return model.Moves(state); };
    for (int turn = 1; turn <= turns && !layer.empty(); ++turn) {
        TExpansion next = Expand(layer, moves, true, stopAt);
        if (next.won) return PathTo(nodes, next.win.parent, next.win.choice);
        if (next.outOfTurns) return {};
        // A state that cannot reach the goal in the turns left, even at the bound's pace, is dropped; of
        // the rest, those closest to the goal are kept.
        std::vector<size_t> kept = InTime(next.children, turns - turn);
        const auto closer = [&](size_t a, size_t b) { return Closer(next.children[a], next.children[b]); };
        if (kept.size() > width) {
            std::partial_sort(kept.begin(), kept.begin() + static_cast<long>(width), kept.end(), closer);
            kept.resize(width);
        }
        layer = Adopt(next.children, kept, nodes);
    }
    return {};
}

TSearchResult TPlanSearch::Complete(long plays) {
    return CompleteUntil(world.Plays() + plays);
}

TSearchResult TPlanSearch::CompleteUntil(long stopAt) {
    const bool monotone = MoreMotivationHelps();
    std::vector<TNode> nodes{{}};
    std::vector<TLayerNode> layer{{world.Start(), 0}};
    const TMoveSource moves = [this](const TPlanState& state) { return model.Moves(state); };
    for (int turn = 1; turn <= world.Turns() && !layer.empty(); ++turn) {
        TExpansion next = Expand(layer, moves, monotone, stopAt);
        if (next.outOfTurns) return {};
        if (next.won) return {PathTo(nodes, next.win.parent, next.win.choice), true, true};
        layer = Adopt(next.children, InTime(next.children, world.Turns() - turn), nodes);
    }
    return {{}, true, true};
}

TPlan TPlanSearch::Follow(const TPlan& hint, long stopAt) {
    std::vector<TNode> nodes{{}};
    std::vector<TLayerNode> layer{{world.Start(), 0}};
    for (const TPlanWeek& week : hint.weeks) {
        const TMoveSource moves = [&](const TPlanState& state) {
            std::vector<TMove> found;
            for (const TTurnChoice& choice : world.Choices(state)) {
                if (choice.kind == week.choice.kind && choice.action == week.choice.action) {
                    model.Variants(state, choice, found);
                    break;
                }
            }
            return found;
        };
        TExpansion next = Expand(layer, moves, false, stopAt);
        if (next.won) return PathTo(nodes, next.win.parent, next.win.choice);
        if (next.outOfTurns) return {};
        std::vector<size_t> all(next.children.size());
        std::iota(all.begin(), all.end(), size_t{0});
        layer = Adopt(next.children, all, nodes);
    }
    return {};
}

TSearchResult TPlanSearch::Search(long plays, int fewest, const std::vector<TPlan>& hints) {
    const long stopAt = world.Plays() + plays;
    TSearchResult result;
    const auto done = [&] { return result.plan.won && static_cast<int>(result.plan.weeks.size()) <= fewest; };
    // Other players' plans first, then narrow beams: when one meets the bound, nothing can be sooner. Then
    // the complete search, as far as a small level needs, then wider beams on what is left.
    for (const TPlan& hint : hints) {
        TPlan plan = Follow(hint, stopAt);
        if (plan.won && (!result.plan.won || plan.weeks.size() < result.plan.weeks.size()))
            result.plan = std::move(plan);
    }
    if (done()) {
        result.proven = true;
        return result;
    }
    for (size_t width = FirstWidth; width <= FirstWidth * WidthGrowth; width *= WidthGrowth) {
        const int toBeat = result.plan.won ? static_cast<int>(result.plan.weeks.size()) : world.Turns() + 1;
        TPlan plan = Beam(width, toBeat, stopAt);
        if (plan.won) result.plan = std::move(plan);
        if (done()) {
            result.proven = true;
            return result;
        }
    }
    const TSearchResult complete = CompleteUntil(std::min(stopAt, world.Plays() + CompletePlays));
    if (complete.proven) return complete;
    for (size_t width = FirstWidth * WidthGrowth * WidthGrowth; width <= MaxWidth; width *= WidthGrowth) {
        const long before = world.Plays();
        const int toBeat = result.plan.won ? static_cast<int>(result.plan.weeks.size()) : world.Turns() + 1;
        TPlan plan = Beam(width, toBeat, stopAt);
        if (plan.won) result.plan = std::move(plan);
        if (done()) {
            result.proven = true;
            break;
        }
        // The next width takes about WidthGrowth times as many turns as this one did.
        if (world.Plays() + (world.Plays() - before) * static_cast<long>(WidthGrowth) > stopAt) break;
    }
    return result;
}

std::vector<TPlan> TPlanSearch::SingleActionWins() {
    std::vector<TPlan> wins;
    for (const TTurnChoice& first : world.Choices(world.Start())) {
        TPlan plan;
        TPlanState state = world.Start();
        for (int turn = 1; turn <= world.Turns(); ++turn) {
            // The same action again, with the goals that leave the Gorum most motivated.
            const TMove* same = nullptr;
            const std::vector<TMove> moves = model.Moves(state);
            for (const TMove& move : moves) {
                if (move.choice.kind != first.kind || move.choice.action != first.action) continue;
                if (same == nullptr ||
                    move.outcome.after.player.motivation > same->outcome.after.player.motivation)
                    same = &move;
            }
            if (same == nullptr || same->outcome.lost) break;
            plan.weeks.push_back({same->choice, same->outcome.after});
            if (same->outcome.won) {
                plan.won = true;
                break;
            }
            state = same->outcome.after;
        }
        TPlayerModel::Finish(plan);
        if (plan.won) wins.push_back(std::move(plan));
    }
    return wins;
}
