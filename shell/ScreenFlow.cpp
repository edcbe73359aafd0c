#include "shell/ScreenFlow.hpp"

#include "panels/InfoPanel.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/StatsPanel.hpp"
#include "panels/TutorialWindow.hpp"
#include "rules/Goal.hpp"
#include "shell/Level.hpp"

void BackToLevelList() {
    // The prompt stays as it is: it hides with the world and keeps the lock until the next one closes.
    // A station's page open over it goes, or its lock would outlive the level with nothing to close it.
    TInfoPanel::Close();
    TMenuBrowser::OpenPage("#levels");
    TTutorialWindow::Close();
}

void RetryLevel() {
    if (CurrentLevel == nullptr) {
        BackToLevelList();
        return;
    }
    CurrentLevel->Start();
}

void CloseStatsPanel() {
    const bool wasReview = StatsMode == 1;
    TStatsPanel::Close();
    if (!wasReview) return;
    TGoal::StartEvaluation();
}

void ShowTutorial() {
    // At the level's own page: the player may have followed the tutorial's links anywhere.
    if (TutorialWindow != nullptr) TTutorialWindow::ShowPage(TutorialUrl);
}
