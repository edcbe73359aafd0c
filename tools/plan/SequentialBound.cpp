#include "tools/plan/SequentialBound.hpp"

#include "rules/Goal.hpp"
#include "scene/Motivation.hpp"
#include "tools/plan/PlanWorld.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <unordered_map>

namespace {

// A hair above what float arithmetic could add to motivation, so that the bound stays above the game.
constexpr float Slack = 0.001f;

bool NoWorse(const std::array<int, SkillCount>& a, float ma, const std::array<int, SkillCount>& b, float mb) {
    for (size_t s = 0; s < SkillCount; ++s) {
        if (a[s] < b[s]) return false;
    }
    return ma >= mb;
}

} // namespace

TSequentialBound::TSequentialBound(const TLevelReach& reach, const TParallelBound& quick,
                                   const TPlanWorld& world)
    : reach(reach), quick(quick) {
    const std::vector<const TItem*>& items = reach.Items();
    jobs.resize(items.size());
    goalItems.assign(items.size(), 0);
    for (const TSource& source : reach.Sources()) {
        if (source.kind == TSource::TKind::Station) stations.push_back(&source);
        if (source.kind == TSource::TKind::Asset) assets.push_back(&source);
        if (source.kind == TSource::TKind::Work) jobs[static_cast<size_t>(source.item)].work = &source;
        if (source.kind == TSource::TKind::Quit) jobs[static_cast<size_t>(source.item)].quit = &source;
        for (size_t s = 0; s < SkillCount; ++s)
            most[s] = std::max(most[s], source.action->requiredLevels[s]);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i]->itemType == "JOB")
            jobs[i].becomesCurrent = TAction::FindByTag(items[i]->actionTag) != nullptr;
    }
    for (const std::string& tag : world.Level()->ItemTags) {
        const long index = reach.IndexOf(TItem::FindByTag(tag));
        if (index >= 0) goalItems[static_cast<size_t>(index)] = 1;
    }
    const TGoal& goal = world.FinalGoal();
    goalItem = reach.IndexOf(TItem::FindByTag(goal.itemTag));
    if (goalItem >= 0) {
        goalItems[static_cast<size_t>(goalItem)] = 1;
        for (const TSource& source : reach.Sources()) {
            const auto& takes = source.action->takeItems;
            if (std::find(takes.begin(), takes.end(), goal.itemTag) != takes.end()) goalItemTaken = true;
        }
    } else if (goal.skill >= 0 && goal.skill < SkillCount) {
        goalSkill = goal.skill;
        goalLevel = goal.targetLevel;
        most[static_cast<size_t>(goalSkill)] = std::max(most[static_cast<size_t>(goalSkill)], goalLevel);
    }
    // Points beyond the highest level anything asks for change nothing.
    for (size_t s = 0; s < SkillCount; ++s)
        most[s] = TotalPoints(std::clamp(most[s], 1, MaxSkillLevel), 0);
}

bool TSequentialBound::GoalMet(const TState& state) const {
    if (goalItem >= 0) return state.held[static_cast<size_t>(goalItem)] > 0;
    if (goalSkill < 0) return goalLevel <= 0;
    return LevelOfTotal(state.points[static_cast<size_t>(goalSkill)]) >= goalLevel;
}

bool TSequentialBound::Ready(const TSource& source, const TState& state) const {
    if (source.item >= 0 && state.held[static_cast<size_t>(source.item)] == 0) return false;
    for (size_t s = 0; s < SkillCount; ++s) {
        if (LevelOfTotal(state.points[s]) < source.action->requiredLevels[s]) return false;
    }
    return std::all_of(source.needs.begin(), source.needs.end(),
                       [&](size_t item) { return state.held[item] > 0; });
}

void TSequentialBound::Give(size_t item, TState& state, TTurnEvents& events, bool certain) const {
    const TItem& given = *reach.Items()[item];
    if (certain && jobs[item].becomesCurrent && state.held[item] == 0) events.jobCertain = true;
    const int most = given.itemType == "ASSET" ? AssetLimit : 1;
    state.held[item] = static_cast<uint8_t>(std::min(most, state.held[item] + 1));
    if (goalItems[item] != 0) events.goalItemGiven = true;
    if (static_cast<long>(item) == goalItem) events.finalItemGiven = true;
    if (jobs[item].becomesCurrent) events.jobsGiven.push_back(item);
}

void TSequentialBound::Run(const TSource& source, float motivation, TState& state, TTurnEvents& events,
                           bool certain) const {
    for (int s = 0; s < SkillCount; ++s) {
        const size_t i = static_cast<size_t>(s);
        const int gain = GainAt(*source.action, s, motivation);
        if (gain <= 0) continue;
        events.raised[i] = true;
        state.points[i] = std::min(most[i], Raised(state.points[i], gain, source.action->skillCap[i]));
    }
    for (const TSource::TGive& give : source.gives) {
        if (motivation > give.threshold) Give(give.item, state, events, certain);
    }
}

// Every copy of every asset that may act this turn acts once, those handed out this turn included, and the
// runs on each skill go from the lowest cap to the highest, which no order of the game's slots beats.
void TSequentialBound::RunAssets(float motivation, TState& state, TTurnEvents& events) const {
    const bool anyHeld = std::any_of(assets.begin(), assets.end(), [&](const TSource* asset) {
        return state.held[static_cast<size_t>(asset->item)] > 0;
    });
    if (!anyHeld) return;
    const TState afterAction = state;
    const TTurnEvents eventsAfterAction = events;
    TState grown = state;
    for (bool changed = true; changed;) {
        TState next = afterAction;
        TTurnEvents nextEvents = eventsAfterAction;
        struct TRun {
            int cap;
            int gain;
        };
        std::array<std::vector<TRun>, SkillCount> runs;
        for (const TSource* asset : assets) {
            if (!Ready(*asset, grown)) continue;
            for (int copy = 0; copy < grown.held[static_cast<size_t>(asset->item)]; ++copy) {
                for (int s = 0; s < SkillCount; ++s) {
                    const int gain = GainAt(*asset->action, s, motivation);
                    if (gain <= 0) continue;
                    nextEvents.raised[static_cast<size_t>(s)] = true;
                    runs[static_cast<size_t>(s)].push_back(
                        {asset->action->skillCap[static_cast<size_t>(s)], gain});
                }
                for (const TSource::TGive& give : asset->gives) {
                    if (motivation > give.threshold) Give(give.item, next, nextEvents, false);
                }
            }
        }
        for (size_t s = 0; s < SkillCount; ++s) {
            std::sort(runs[s].begin(), runs[s].end(),
                      [](const TRun& a, const TRun& b) { return a.cap < b.cap; });
            for (const TRun& run : runs[s])
                next.points[s] = std::min(most[s], Raised(next.points[s], run.gain, run.cap));
        }
        changed = next.points != grown.points || next.held != grown.held;
        grown = next;
        events = nextEvents;
    }
    state = grown;
}

float TSequentialBound::WeekEnd(float m, const TTurnEvents& events, TTurnTerms terms) const {
    if (terms.quit) return m;
    const bool progress = std::find(events.raised.begin(), events.raised.end(), true) != events.raised.end();
    // A player with goals may have one focused in a skill that progressed; one without has only the final
    // goal's skill.
    TWeekGoals goals;
    std::array<int, SkillCount> gain{};
    if (terms.freedom != TGoalFreedom::None) {
        goals.focusedCount = 1;
        if (progress) {
            gain[0] = 1;
            goals.goalSkills[0] = true;
        }
    } else if (goalSkill >= 0 && events.raised[static_cast<size_t>(goalSkill)]) {
        gain[static_cast<size_t>(goalSkill)] = 1;
        goals.goalSkills[static_cast<size_t>(goalSkill)] = true;
    } else if (progress) {
        gain[0] = 1;
    }
    float best = m + TMotivation::WeeklyDelta(m, gain, goals);
    // A goal's item arriving may bring the bonus instead: the final goal's item only wins, unless something
    // takes it away the same week. Only the first turn knows the motivation the bonus is divided by.
    const bool bonus =
        terms.freedom != TGoalFreedom::None ? events.goalItemGiven : events.finalItemGiven && goalItemTaken;
    if (bonus) {
        goals.goalItemReceived = true;
        best = std::max(best, terms.first ? m + TMotivation::WeeklyDelta(m, gain, goals) : FullMotivation);
    }
    return std::clamp(best, 0.0f, FullMotivation);
}

float TSequentialBound::NextMotivation(const TState& before, const TState& after, const TTurnEvents& events,
                                       TTurnTerms terms) const {
    float best = WeekEnd(before.motivation, events, terms);
    // Every goal the evaluation could pass rewards it: one a skill that may have levelled, one a held item;
    // as many as the goals the player may have focused.
    int goals = 0;
    for (size_t s = 0; s < SkillCount; ++s) {
        const bool levelled = LevelOfTotal(after.points[s]) > LevelOfTotal(before.points[s]) ||
                              (events.raised[s] && before.points[s] >= most[s]);
        if (terms.first ? levelled : events.raised[s]) ++goals;
    }
    for (size_t i = 0; i < after.held.size(); ++i) {
        if (after.held[i] > 0 && goalItems[i] != 0) ++goals;
    }
    const int most = terms.freedom == TGoalFreedom::Any          ? MaxGoals - 1
                     : terms.freedom == TGoalFreedom::OneFocused ? 1
                                                                 : 0;
    for (int g = 0; g < std::min(goals, most) && best < FullMotivation; ++g)
        best = std::min(FullMotivation, best + TMotivation::RewardAt(best, 0));
    // Rounded up to a quarter, so that states alike but for a hair of motivation merge.
    return std::min(FullMotivation, std::ceil((best + Slack) * 4.0f) / 4.0f);
}

void TSequentialBound::Turn(const TState& from, const TSource* source, TTurnTerms terms,
                            std::vector<TState>& out) const {
    TState state = from;
    TTurnEvents events;
    // Only the first turn knows the motivation, and so whether a job handed out surely came; a full
    // inventory would refuse it.
    const int heldCount = std::accumulate(from.held.begin(), from.held.end(), 0);
    const bool certain = terms.first && heldCount + ActionItemSlots <= InventorySlots;
    if (source != nullptr && Ready(*source, state)) Run(*source, from.motivation, state, events, certain);
    RunAssets(from.motivation, state, events);
    state.motivation = NextMotivation(from, state, events, terms);
    if (terms.quit) {
        state.job = -1;
        out.push_back(state);
        return;
    }
    // A job handed out becomes the job, unless the Gorum held it already (then it is refused) or
    // motivation fell short of its threshold; any job handed out may be the last one.
    std::vector<long> candidates;
    for (const size_t job : events.jobsGiven) {
        if (std::find(candidates.begin(), candidates.end(), static_cast<long>(job)) == candidates.end())
            candidates.push_back(static_cast<long>(job));
    }
    if (!events.jobCertain) out.push_back(state);
    for (const long job : candidates) {
        TState hired = state;
        hired.job = job;
        out.push_back(hired);
    }
}

bool TSequentialBound::InTime(const TState& state, int turnsLeft, TGoalFreedom freedom) const {
    // Only a player whose motivation can only fall is worth the check: without goals, and with the final
    // goal an item nobody takes back. At full motivation the quick bound seldom rules a state out.
    if (freedom != TGoalFreedom::None || goalSkill >= 0 || goalItemTaken) return true;
    TPoints points{state.points, {}};
    points.items.resize(state.held.size());
    std::transform(state.held.begin(), state.held.end(), points.items.begin(),
                   [](uint8_t copies) { return static_cast<char>(copies > 0); });
    return quick.Turns(points, turnsLeft, state.motivation) <= turnsLeft;
}

int TSequentialBound::Turns(const TPlayer& player, int limit, TGoalFreedom freedom) const {
    TState start;
    for (size_t s = 0; s < SkillCount; ++s)
        start.points[s] = std::min(most[s], TotalPoints(player.skillLevel[s], player.skillPoints[s]));
    start.motivation = player.motivation;
    start.held.assign(reach.Items().size(), 0);
    for (const TItem* item : player.inventory) {
        const long index = reach.IndexOf(item);
        if (index >= 0) ++start.held[static_cast<size_t>(index)];
    }
    start.job = reach.IndexOf(player.currentJob);

    // Of the states alike in items and job, those no other beats in every skill and in motivation.
    using TLayer = std::unordered_map<std::string, std::vector<TState>>;
    TLayer layer;
    const auto keyOf = [](const TState& state) {
        std::string key(state.held.begin(), state.held.end());
        key.append(reinterpret_cast<const char*>(&state.job), sizeof state.job);
        return key;
    };
    layer[keyOf(start)].push_back(start);
    std::vector<TState> next;
    for (int turn = 1; turn <= limit; ++turn) {
        TLayer grown;
        const TTurnTerms play{false, turn == 1, freedom};
        const TTurnTerms quit{true, turn == 1, freedom};
        for (const auto& [key, states] : layer) {
            for (const TState& state : states) {
                next.clear();
                if (state.job >= 0) {
                    const TJob& job = jobs[static_cast<size_t>(state.job)];
                    if (job.work != nullptr && Ready(*job.work, state)) Turn(state, job.work, play, next);
                    Turn(state, job.quit, quit, next);
                } else {
                    for (const TSource* station : stations) {
                        if (Ready(*station, state)) Turn(state, station, play, next);
                    }
                }
                for (const TState& after : next) {
                    if (GoalMet(after)) return turn;
                    if (!InTime(after, limit - turn, freedom)) continue;
                    std::vector<TState>& front = grown[keyOf(after)];
                    const bool beaten = std::any_of(front.begin(), front.end(), [&](const TState& kept) {
                        return NoWorse(kept.points, kept.motivation, after.points, after.motivation);
                    });
                    if (beaten) continue;
                    std::erase_if(front, [&](const TState& kept) {
                        return NoWorse(after.points, after.motivation, kept.points, kept.motivation);
                    });
                    front.push_back(after);
                }
            }
        }
        if (grown.empty()) break;
        layer = std::move(grown);
    }
    return limit + 1;
}
