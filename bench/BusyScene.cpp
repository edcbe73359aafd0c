#include "bench/BusyScene.hpp"

#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "rules/Goal.hpp"
#include "rules/Station.hpp"
#include "scene/Radial.hpp"
#include "shell/Level.hpp"
#include "shell/Main.hpp"
#include "shell/WorldTick.hpp"

void BuildBusyScene() {
    StartUp();

    TLevel* longest = nullptr;
    for (const auto& level : LevelRegistry) {
        if (longest == nullptr || level->Length > longest->Length) longest = level.get();
    }
    if (longest == nullptr) return;
    longest->Start();
    TMenuBrowser::Close();
    TPrompt::Close();

    for (const auto& station : StationList)
        TStation::Activate(station.get());
    for (int i = 0; TGoal::CreateSkillGoal(i % 5, 2 + i % 8) != nullptr; ++i) {
        const TGoalRef goal = GoalList.back();
        goal->SetDeadline(2 + i * (longest->Length - 2) / MaxGoals, 1);
        if (i % 3 != 0) goal->Focus();
    }
    for (const auto& station : StationList) {
        if (!station->AvailableActions().empty()) {
            HandleClick("CLICK1", station->tag);
            break;
        }
    }
}
