#include "tools/plan/PlanSearch.hpp"

#include <algorithm>
#include <chrono>
#include <unordered_map>

namespace {

constexpr size_t FirstWidth = 32;
constexpr size_t WidthGrowth = 4;
constexpr size_t MaxWidth = 4096;

struct TNode {
    TPlanState state;
    TTurnChoice choice; // the turn that led here
    long parent = -1;
    int bound = 0;
};

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
    key += static_cast<char>(state.standing);
    key += static_cast<char>(state.target.skill);
    key += static_cast<char>(state.target.level);
    add(state.target.item);
    return key;
}

int TotalPoints(const TPlayer& player) {
    int total = 0;
    for (size_t s = 0; s < SkillCount; ++s)
        total += player.skillLevel[s] * 10 + player.skillPoints[s];
    return total;
}

bool Closer(const TNode& a, const TNode& b) {
    if (a.bound != b.bound) return a.bound < b.bound;
    if (a.state.player.motivation != b.state.player.motivation)
        return a.state.player.motivation > b.state.player.motivation;
    return TotalPoints(a.state.player) > TotalPoints(b.state.player);
}

TPlan PathTo(const std::vector<TNode>& nodes, long last, const TTurnChoice& choice, const TPlanState& after) {
    TPlan plan;
    plan.won = true;
    plan.weeks.push_back({choice, after});
    for (long at = last; at >= 0 && nodes[static_cast<size_t>(at)].parent >= 0;
         at = nodes[static_cast<size_t>(at)].parent)
        plan.weeks.push_back({nodes[static_cast<size_t>(at)].choice, nodes[static_cast<size_t>(at)].state});
    std::reverse(plan.weeks.begin(), plan.weeks.end());
    TPlayerModel::Finish(plan);
    return plan;
}

} // namespace

TPlan TPlanSearch::Beam(size_t width, int turnsToBeat, std::chrono::steady_clock::time_point end) {
    std::vector<TNode> nodes;
    nodes.push_back({world.Start(), {}, -1, 0});
    std::vector<long> layer{0};
    const int turns = std::min(world.Turns(), turnsToBeat - 1);
    for (int turn = 1; turn <= turns && !layer.empty() && std::chrono::steady_clock::now() < end; ++turn) {
        std::vector<TNode> children;
        std::unordered_map<std::string, size_t> seen;
        TPlan best;
        for (const long parentIndex : layer) {
            const TPlanState parent = nodes[static_cast<size_t>(parentIndex)].state;
            for (const TMove& move : model.Moves(parent)) {
                const TTurnChoice& choice = move.choice;
                const TTurnOutcome& outcome = move.outcome;
                if (outcome.lost) continue;
                if (outcome.won) {
                    const bool better = !best.won || outcome.after.player.motivation >
                                                         best.weeks.back().after.player.motivation;
                    if (better) best = PathTo(nodes, parentIndex, choice, outcome.after);
                    continue;
                }
                const std::string key = KeyOf(outcome.after);
                const auto found = seen.find(key);
                if (found != seen.end()) {
                    TNode& kept = children[found->second];
                    if (kept.state.player.motivation >= outcome.after.player.motivation) continue;
                    kept = {outcome.after, choice, parentIndex, 0};
                    continue;
                }
                seen.emplace(key, children.size());
                children.push_back({outcome.after, choice, parentIndex, 0});
            }
        }
        if (best.won) return best;
        // A state that cannot reach the goal in the turns left, even at the bound's pace, is dropped.
        const int left = turns - turn;
        std::vector<TNode> kept;
        for (TNode& child : children) {
            child.bound = bound.FewestTurns(child.state.player, left);
            if (child.bound <= left) kept.push_back(std::move(child));
        }
        if (kept.size() > width) {
            std::partial_sort(kept.begin(), kept.begin() + static_cast<long>(width), kept.end(), Closer);
            kept.resize(width);
        }
        layer.clear();
        for (TNode& child : kept) {
            layer.push_back(static_cast<long>(nodes.size()));
            nodes.push_back(std::move(child));
        }
    }
    return {};
}

TPlan TPlanSearch::Search(double seconds) {
    const auto began = std::chrono::steady_clock::now();
    const auto spent = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    };
    const auto end = began + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                 std::chrono::duration<double>(seconds));
    const int fewest = bound.FewestTurns(world.Start().player, world.Turns());
    TPlan best;
    for (size_t width = FirstWidth; width <= MaxWidth; width *= WidthGrowth) {
        const double before = spent();
        const int toBeat = best.won ? static_cast<int>(best.weeks.size()) : world.Turns() + 1;
        TPlan plan = Beam(width, toBeat, end);
        if (plan.won) best = std::move(plan);
        if (best.won && static_cast<int>(best.weeks.size()) <= fewest) break;
        // The next width takes about WidthGrowth times as long as this one did.
        const double last = spent() - before;
        if (spent() + last * WidthGrowth > seconds) break;
    }
    return best;
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
