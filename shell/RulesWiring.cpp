#include "shell/RulesWiring.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "panels/Prompt.hpp"
#include "rules/Action.hpp"
#include "rules/Goal.hpp"
#include "rules/InfoText.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Layer.hpp"
#include "shell/SceneAssembly.hpp"

void ConnectRules() {
    SceneCanvas = GameCanvas;
    CustomLayerHook = DrawCustomLayer;

    InfoPageShower = TInfoPanel::ShowPage;
    StationInfoFiller = TInfoPanel::ShowStationList;

    GoalPassedPrompt = [](const TGoalRef& goal) { TPrompt::GoalPassed(goal); };
    GoalFailedPrompt = [](const TGoalRef& goal) { TPrompt::GoalFailed(goal); };
    FinalPassedPrompt = [](const TGoalRef& goal) { TPrompt::FinalPassed(goal); };
    FinalFailedPrompt = [](const TGoalRef& goal) { TPrompt::FinalFailed(goal); };

    WeekGoalsGatherer = TGoal::GatherWeekGoals;
    WeeklyGoalCheckHook = TGoal::WeeklyCheck;
    ActiveGoalWalker = TGoal::WalkActive;
}
