#include "shell/RulesWiring.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "panels/Prompt.hpp"
#include "panels/StatsPanel.hpp"
#include "panels/TutorialWindow.hpp"
#include "rules/Action.hpp"
#include "rules/Goal.hpp"
#include "rules/InfoText.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Layer.hpp"
#include "shell/Level.hpp"
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
    ShowWeeklyReviewHook = TStatsPanel::ShowWeeklyReview;
    TutorialOpener = [](const std::string& path, const std::string& title) {
        TTutorialWindow::Open(path, title, -1, -1, -1, -1);
    };
}
