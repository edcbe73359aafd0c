#include "tools/plan/PlanWorld.hpp"

#include "rules/GoalMenu.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Main.hpp"
#include "shell/WorldTick.hpp"

#include <algorithm>

namespace {

constexpr int StandingTarget = MaxSkillLevel;

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

TTurnChoice Choice(TTurnKind kind, TAction* action, TStation* station) {
    TTurnChoice choice;
    choice.kind = kind;
    choice.action = action;
    choice.station = station;
    return choice;
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
    if (offered > static_cast<size_t>(MaxItemChoices)) {
        unplayable = "the level offers " + std::to_string(offered) +
                     " items to set goals for, and the game stops with \"Too many item choices!\"";
        return true;
    }
    level->Setup();
    // The turns run without panels: a panel would lock the world's clicks, and the review only shows.
    quiet = std::make_unique<TQuietWeeks>();
    if (GoalList.empty()) return false;
    const TGoal& final = *GoalList.front();
    finalGoal.deadline = final.deadline;
    finalGoal.skill = final.skill;
    finalGoal.targetLevel = final.targetLevel;
    finalGoal.itemTag = final.itemTag;
    static_cast<TWeekState&>(start) = TWeekState::Save();
    return true;
}

void TPlanWorld::Restore(const TPlanState& state) {
    state.TWeekState::Restore();
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
    if (choice.target.Live()) {
        if (const TGoalRef goal = TGoal::Create()) {
            if (choice.target.item != nullptr) {
                goal->itemTag = choice.target.item->tag;
            } else {
                goal->skill = choice.target.skill;
                goal->targetLevel = choice.target.level;
            }
            goal->SetDeadline(choice.targetDue, 1);
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
            choices.push_back(Choice(TTurnKind::Work, Player.workAction, nullptr));
        choices.push_back(Choice(TTurnKind::Quit, Player.quitAction, nullptr));
        return choices;
    }
    for (const auto& station : StationList) {
        if (!Clickable(*station)) continue;
        for (TAction* action : station->AvailableActions()) {
            const bool seen = std::any_of(choices.begin(), choices.end(),
                                          [&](const TTurnChoice& c) { return c.action == action; });
            if (!seen && action->CanRun() != 0)
                choices.push_back(Choice(TTurnKind::Station, action, station.get()));
        }
    }
    return choices;
}

TTurnOutcome TPlanWorld::Play(const TPlanState& state, const TTurnChoice& choice) {
    ++plays;
    Restore(state);
    SetGoals(choice);
    HandleClick("CLICK1", TurnTag(choice));
    const TEvaluation evaluation = quiet->Evaluate();
    TTurnOutcome outcome;
    static_cast<TWeekState&>(outcome.after) = TWeekState::Save();
    outcome.won = evaluation.finalPassed;
    outcome.lost = evaluation.finalFailed;
    outcome.goalMissed = evaluation.goalFailed;
    ClearGoals();
    return outcome;
}

std::vector<TAction*> TPlanWorld::Offered() const {
    std::vector<TAction*> offered;
    const auto add = [&offered](TAction* action) {
        if (action != nullptr && std::find(offered.begin(), offered.end(), action) == offered.end())
            offered.push_back(action);
    };
    for (const auto& station : StationList) {
        for (TAction* action : station->AvailableActions())
            add(action);
    }
    for (const auto& item : ItemList) {
        if (item->itemType != "JOB") continue;
        add(TAction::FindByTag(item->actionTag));
        add(TAction::FindByTag(item->quitActionTag));
    }
    return offered;
}
