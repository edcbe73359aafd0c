#include "tools/plan/PlanModel.hpp"

#include <algorithm>

namespace {

// Item goals tried per turn by the best player: every subset of this many items.
constexpr size_t MaxItemGoalChoices = 3;

bool Offers(const TLevel& level, const TItem* item) {
    return std::find(level.ItemTags.begin(), level.ItemTags.end(), item->tag) != level.ItemTags.end();
}

void AddOnce(std::vector<TTarget>& targets, const TTarget& target) {
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(target);
}

} // namespace

bool TTarget::MetBy(const TPlayer& player) const {
    if (item != nullptr)
        return std::find(player.inventory.begin(), player.inventory.end(), item) != player.inventory.end();
    return skill >= 0 && player.skillLevel[static_cast<size_t>(skill)] >= level;
}

TPlayerModel::TPlayerModel(TPlanWorld& world, TPlayerKind kind) : world(world), kind(kind) {
    const TGoal& final = world.FinalGoal();
    const TItem* finalItem = TItem::FindByTag(final.itemTag);
    const TTarget finalTarget =
        finalItem != nullptr ? TTarget{-1, 0, finalItem} : TTarget{final.skill, final.targetLevel, nullptr};
    // The goal menu offers an item only when one of the level's actions names it.
    const auto addItem = [&](const TItem* item) {
        if (item != nullptr && Offers(*world.Level(), item)) AddOnce(milestones, {-1, 0, item});
    };
    for (const TAction* action : world.Offered()) {
        for (int s = 0; s < SkillCount; ++s) {
            const int level = action->requiredLevels[static_cast<size_t>(s)];
            if (level > 1 && level <= MaxSkillLevel) AddOnce(milestones, {s, level, nullptr});
        }
        for (const std::string& tag : action->requiredItems)
            addItem(TItem::FindByTag(tag));
        for (const std::string& tag : action->giveItems) {
            const TItem* item = TItem::FindByTag(tag);
            if (item != nullptr && (item->itemType == "JOB" || item->itemType == "ASSET")) addItem(item);
        }
    }
    std::erase(milestones, finalTarget);
}

bool TPlayerModel::Parse(const std::string& name, TPlayerKind& kind) {
    for (const TPlayerKind k : {TPlayerKind::Best, TPlayerKind::Steady, TPlayerKind::None}) {
        if (name == Name(k)) {
            kind = k;
            return true;
        }
    }
    return false;
}

const char* TPlayerModel::Name(TPlayerKind kind) {
    switch (kind) {
    case TPlayerKind::Steady:
        return "steady";
    case TPlayerKind::None:
        return "none";
    case TPlayerKind::Best:
        break;
    }
    return "best";
}

TGoalFreedom TPlayerModel::Freedom() const {
    switch (kind) {
    case TPlayerKind::Steady:
        return TGoalFreedom::OneFocused;
    case TPlayerKind::None:
        return TGoalFreedom::None;
    case TPlayerKind::Best:
        break;
    }
    return TGoalFreedom::Any;
}

std::vector<TMove> TPlayerModel::Moves(const TPlanState& state) {
    std::vector<TMove> moves;
    for (const TTurnChoice& choice : world.Choices(state))
        Variants(state, choice, moves);
    return moves;
}

void TPlayerModel::Variants(const TPlanState& state, const TTurnChoice& choice, std::vector<TMove>& moves) {
    const size_t first = moves.size();
    switch (kind) {
    case TPlayerKind::Best:
        BestMoves(state, choice, moves);
        break;
    case TPlayerKind::Steady:
        SteadyMoves(state, choice, moves);
        break;
    case TPlayerKind::None:
        moves.push_back({choice, world.Play(state, choice)});
        break;
    }
    for (size_t i = first; i < moves.size(); ++i)
        Carry(moves[i].choice, state.player, moves[i].outcome.after);
    moves.erase(std::remove_if(moves.begin() + static_cast<long>(first), moves.end(),
                               [](const TMove& move) { return move.outcome.goalMissed; }),
                moves.end());
}

// What the turn does does not depend on the goals, only what motivation makes of it afterwards: the turn
// is played plain first, and then with every set of goals that could reward it. The plain turn stays a
// move too: more motivation is not always better (it can hand out an unwanted job, and the bonus for a
// goal's item is largest when motivation is lowest).
void TPlayerModel::BestMoves(const TPlanState& state, TTurnChoice choice, std::vector<TMove>& moves) {
    TTurnOutcome best = world.Play(state, choice);
    moves.push_back({choice, best});
    if (best.won || best.lost) return;
    const TGoal& final = world.FinalGoal();
    const bool finalIsSkill = TItem::FindByTag(final.itemTag) == nullptr && final.targetLevel > 0;
    const TPlayer& plain = best.after.player;
    TTurnChoice goals = choice;
    std::vector<int> gained;
    for (int s = 0; s < SkillCount; ++s) {
        const size_t i = static_cast<size_t>(s);
        if (plain.weekLevel[i] > 0 && state.player.skillLevel[i] < MaxSkillLevel)
            goals.levelGoals.push_back(s);
        if (plain.weekGain[i] > 0 && state.player.skillLevel[i] < MaxSkillLevel) gained.push_back(s);
    }
    // A goal in a skill that made progress keeps motivation up; a reached one rewards it too. Without a
    // reached one, one standing goal does the first job, unless the final goal already does.
    const bool covered = finalIsSkill && std::find(gained.begin(), gained.end(), final.skill) != gained.end();
    if (goals.levelGoals.empty() && !covered && !gained.empty()) {
        const bool keep = std::find(gained.begin(), gained.end(), state.standing) != gained.end();
        goals.standing = keep ? state.standing : gained.front();
    }
    // A goal for an item held after the turn is reached at once: those received this turn first (they
    // bring the bonus too), then any other held.
    std::vector<std::string> received;
    for (const auto* slots : {&plain.weekItems, &plain.inventory}) {
        for (const TItem* item : *slots) {
            if (item == nullptr || item->tag == final.itemTag || !Offers(*world.Level(), item)) continue;
            if (std::find(received.begin(), received.end(), item->tag) == received.end() &&
                received.size() < MaxItemGoalChoices)
                received.push_back(item->tag);
        }
    }
    for (size_t mask = 0; mask < (size_t{1} << received.size()); ++mask) {
        TTurnChoice tried = goals;
        for (size_t i = 0; i < received.size(); ++i) {
            if ((mask >> i & 1) != 0) tried.itemGoals.push_back(received[i]);
        }
        if (tried.standing < 0 && tried.levelGoals.empty() && tried.itemGoals.empty()) continue;
        const TTurnOutcome outcome = world.Play(state, tried);
        if (outcome.goalMissed || outcome.after.player.motivation <= best.after.player.motivation) continue;
        best = outcome;
        choice = tried;
    }
    if (choice.standing >= 0 || !choice.levelGoals.empty() || !choice.itemGoals.empty())
        moves.push_back({choice, best});
}

bool TPlayerModel::MeetsAnother(const TTarget& target, const TPlayer& before, const TPlayer& after) const {
    return std::any_of(milestones.begin(), milestones.end(), [&](const TTarget& m) {
        return !(m == target) && !m.MetBy(before) && m.MetBy(after);
    });
}

// A goal for an item changes nothing until the item comes, so it is claimed then, as set the week before
// (which must have gone by without another goal and without a milestone); a skill's goal is set at once.
void TPlayerModel::SteadyMoves(const TPlanState& state, const TTurnChoice& choice,
                               std::vector<TMove>& moves) {
    const TTurnOutcome plain = world.Play(state, choice);
    struct TCandidate {
        TTarget target;
        bool set;
    };
    std::vector<TCandidate> targets;
    if (state.target.Live()) {
        targets.push_back({state.target, false});
    } else {
        moves.push_back({choice, plain});
        for (const TTarget& m : milestones) {
            if (m.MetBy(state.player)) continue;
            if (m.item != nullptr) {
                if (state.quiet && m.MetBy(plain.after.player)) targets.push_back({m, false});
                continue;
            }
            // Of a skill's milestones, the goal can only be for the lowest one not met: a higher one would
            // come after it, or with it, and then the lower one serves the same.
            const bool lower = std::any_of(milestones.begin(), milestones.end(), [&](const TTarget& o) {
                return o.item == nullptr && o.skill == m.skill && o.level < m.level && !o.MetBy(state.player);
            });
            if (!lower) targets.push_back({m, true});
        }
    }
    for (const auto& [target, set] : targets) {
        // A goal not reached this turn must be the next thing the plan reaches, and the plan must not end
        // before it.
        const bool reached = target.MetBy(plain.after.player);
        if (!reached && (plain.won || MeetsAnother(target, state.player, plain.after.player))) continue;
        TTurnChoice tried = choice;
        tried.target = target;
        tried.targetSet = set;
        tried.targetDue = reached ? state.week + 1 : world.Level()->Length;
        moves.push_back({tried, world.Play(state, tried)});
    }
}

void TPlayerModel::Carry(const TTurnChoice& choice, const TPlayer& before, TPlanState& after) const {
    after.standing = choice.standing;
    const bool kept = choice.target.Live() && !choice.target.MetBy(after.player);
    after.target = kept ? choice.target : TTarget{};
    // Quiet: no goal of his, and no milestone met or lost, so one not met now was not met a week ago.
    const bool changed = std::any_of(milestones.begin(), milestones.end(), [&](const TTarget& m) {
        return m.MetBy(before) != m.MetBy(after.player);
    });
    after.quiet = kind == TPlayerKind::Steady && !choice.target.Live() && !changed;
}

void TPlayerModel::Settle(std::vector<TTurnChoice>& choices) {
    for (size_t i = 1; i < choices.size(); ++i) {
        TTurnChoice& claimed = choices[i];
        TTurnChoice& before = choices[i - 1];
        if (!claimed.target.Live() || claimed.targetSet || before.target.Live()) continue;
        before.target = claimed.target;
        before.targetSet = true;
        before.targetDue = claimed.targetDue;
    }
}

void TPlayerModel::Finish(TPlan& plan) {
    for (size_t set = 0; set < plan.weeks.size(); ++set) {
        TTurnChoice& choice = plan.weeks[set].choice;
        if (!choice.targetSet) continue;
        for (size_t at = set; at < plan.weeks.size(); ++at) {
            if (!plan.weeks[at].after.target.Live()) {
                choice.targetDue = plan.weeks[at].after.week;
                break;
            }
        }
    }
}
