#include "tools/plan/PlanWorld.hpp"

#include "panels/GlobalGadgets.hpp"
#include "rules/GoalMenu.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Main.hpp"
#include "shell/WorldTick.hpp"

#include <algorithm>

namespace {

constexpr int StandingTarget = MaxSkillLevel;
// Item goals tried per turn: every subset of this many received items.
constexpr size_t MaxItemGoalChoices = 3;

std::string TurnTag(const TTurnChoice& choice) {
    switch (choice.kind) {
    case TTurnKind::Work:
        return "RADITEM_WORK";
    case TTurnKind::Quit:
        return "RADITEM_QUIT";
    case TTurnKind::Station:
        break;
    }
    return "RADACTION_" + choice.action->tag;
}

bool Clickable(const TStation& station) {
    return station.target != nullptr && station.target->Inactive == 0 && station.target->Width > 0 &&
           station.target->Height > 0;
}

} // namespace

bool TPlanWorld::Open(const std::string& levelName) {
    Main();
    level = TLevel::FindByName(levelName);
    if (level == nullptr) return false;
    const size_t offered = level->ItemTags.size();
    if (offered > static_cast<size_t>(ItemsPerPage * MaxItemPages)) {
        unplayable = "the level offers " + std::to_string(offered) +
                     " items to set goals for, and the game stops with \"Too many item choices!\"";
        return true;
    }
    CurrentLevel = level;
    level->Setup();
    // The turns run without panels: a panel would lock the world's clicks, and the review only shows.
    ShowWeeklyReviewHook = nullptr;
    GoalPassedPrompt = nullptr;
    GoalFailedPrompt = [this](const TGoalRef&) { missed = true; };
    FinalPassedPrompt = [this](const TGoalRef&) { won = true; };
    FinalFailedPrompt = [this](const TGoalRef&) { lost = true; };
    PanelLocked = false;
    if (GoalList.empty()) return false;
    const TGoal& final = *GoalList.front();
    finalGoal.deadline = final.deadline;
    finalGoal.skill = final.skill;
    finalGoal.targetLevel = final.targetLevel;
    finalGoal.itemTag = final.itemTag;
    start.player = Player;
    start.week = CurrentWeek;
    return true;
}

void TPlanWorld::Restore(const TPlanState& state) {
    Player = state.player;
    CurrentWeek = state.week;
    if (GoalList.empty() || GoalList.front()->final == 0) {
        // The final goal was judged in an earlier turn: hang it up again as the level start does.
        const TGoalRef goal = TGoal::Create();
        if (goal == nullptr) return;
        goal->SetDeadline(finalGoal.deadline, 1);
        goal->skill = finalGoal.skill;
        goal->targetLevel = finalGoal.targetLevel;
        goal->itemTag = finalGoal.itemTag;
        goal->MakeFinal();
    }
}

// Goals the choice names are few, but the game refuses a goal beyond its limit: such a goal is not set.
void TPlanWorld::SetGoals(const TTurnChoice& choice) {
    if (choice.standing >= 0) {
        if (const TGoalRef goal = TGoal::Create()) {
            goal->skill = choice.standing;
            goal->targetLevel = StandingTarget;
            goal->SetDeadline(LevelLength, 1);
            goal->Focus();
        }
    }
    for (const int skill : choice.levelGoals) {
        if (const TGoalRef goal = TGoal::Create()) {
            goal->skill = skill;
            goal->targetLevel = Player.skillLevel[static_cast<size_t>(skill)] + 1;
            goal->Focus();
        }
    }
    for (const std::string& tag : choice.itemGoals) {
        if (const TGoalRef goal = TGoal::Create()) {
            goal->itemTag = tag;
            goal->Focus();
        }
    }
}

void TPlanWorld::ClearGoals() {
    for (auto it = GoalList.begin(); it != GoalList.end();) {
        const TGoalRef goal = *it++;
        if (goal->final == 0) goal->Destroy();
    }
}

std::vector<TTurnChoice> TPlanWorld::Choices(const TPlanState& state) {
    Restore(state);
    std::vector<TTurnChoice> choices;
    if (Player.currentJob != nullptr) {
        if (Player.workAction != nullptr && Player.workAction->CanRun() != 0)
            choices.push_back({TTurnKind::Work, Player.workAction, nullptr, -1, {}, {}});
        choices.push_back({TTurnKind::Quit, Player.quitAction, nullptr, -1, {}, {}});
        return choices;
    }
    for (const auto& station : StationList) {
        if (!Clickable(*station)) continue;
        for (TAction* action : station->AvailableActions()) {
            const bool seen = std::any_of(choices.begin(), choices.end(),
                                          [&](const TTurnChoice& c) { return c.action == action; });
            if (!seen && action->CanRun() != 0)
                choices.push_back({TTurnKind::Station, action, station.get(), -1, {}, {}});
        }
    }
    return choices;
}

TTurnOutcome TPlanWorld::Play(const TPlanState& state, const TTurnChoice& choice) {
    Restore(state);
    SetGoals(choice);
    won = lost = missed = false;
    HandleClick("CLICK1", TurnTag(choice));
    // Closing the review starts the evaluation; closing each goal's prompt asks for the next.
    EvalCursor = GoalList.empty() ? nullptr : GoalList.front();
    while (EvalCursor != nullptr && !won && !lost && !missed)
        TGoal::EvaluateNext();
    EvalCursor = nullptr;
    TTurnOutcome outcome;
    outcome.after.player = Player;
    outcome.after.week = CurrentWeek;
    outcome.won = won;
    outcome.lost = lost;
    outcome.goalMissed = missed;
    ClearGoals();
    return outcome;
}

bool TPlanWorld::FinalGoalCovers(int skill) const {
    return TItem::FindByTag(finalGoal.itemTag) == nullptr && finalGoal.skill == skill &&
           finalGoal.targetLevel > 0;
}

TTurnOutcome TPlanWorld::PlayWithBestGoals(const TPlanState& state, TTurnChoice& choice, int standingBefore) {
    choice.standing = -1;
    choice.levelGoals.clear();
    choice.itemGoals.clear();
    TTurnOutcome best = Play(state, choice);
    if (best.won || best.lost) return best;

    // What the turn does does not depend on the goals, only what motivation makes of it afterwards.
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
    const bool covered = std::any_of(gained.begin(), gained.end(), [&](int s) { return FinalGoalCovers(s); });
    if (goals.levelGoals.empty() && !covered && !gained.empty()) {
        const bool keep = std::find(gained.begin(), gained.end(), standingBefore) != gained.end();
        goals.standing = keep ? standingBefore : gained.front();
    }
    std::vector<std::string> received;
    for (const TItem* item : plain.weekItems) {
        if (item == nullptr || item->tag == finalGoal.itemTag) continue;
        const auto& offered = level->ItemTags;
        if (std::find(offered.begin(), offered.end(), item->tag) == offered.end()) continue;
        if (std::find(received.begin(), received.end(), item->tag) == received.end() &&
            received.size() < MaxItemGoalChoices)
            received.push_back(item->tag);
    }
    for (size_t mask = 0; mask < (size_t{1} << received.size()); ++mask) {
        TTurnChoice tried = goals;
        for (size_t i = 0; i < received.size(); ++i) {
            if ((mask >> i & 1) != 0) tried.itemGoals.push_back(received[i]);
        }
        if (tried.standing < 0 && tried.levelGoals.empty() && tried.itemGoals.empty()) continue;
        const TTurnOutcome outcome = Play(state, tried);
        if (outcome.goalMissed || outcome.after.player.motivation <= best.after.player.motivation) continue;
        best = outcome;
        choice = tried;
    }
    return best;
}
