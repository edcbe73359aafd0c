#include "shell/GuiDispatch.hpp"

#include "panels/InfoPanel.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "panels/TutorialWindow.hpp"
#include "panels/Widget.hpp"
#include "rules/Action.hpp"
#include "rules/Goal.hpp"
#include "rules/Station.hpp"
#include "scene/Motivation.hpp"
#include "shell/Level.hpp"
#include "shell/LevelLink.hpp"
#include "shell/ScreenFlow.hpp"

#include <optional>

namespace {

// The registered widget a panel button event came from, or none.
TWidget* ActedWidget() {
    const TEvent& event = CurrentEvent();
    if (event.id != GadgetAction) return nullptr;
    return TWidget::FindWidgetByGadget(event.source);
}

void CloseAndEvaluateNext() {
    TPrompt::Close();
    TGoal::EvaluateNext();
}

void HandleEditGoal(const std::string& tag) {
    const TGoalRef goal = Prompt.Subject;
    if (tag == "PROMPT_PRIMARY" && goal != nullptr && goal->final == 0) {
        if (goal->focused != 0) {
            goal->Unfocus();
            TMotivation::GoalPenalty();
        } else {
            goal->Focus(); // refuses a goal it may not focus
        }
    }
    if (tag == "PROMPT_SECONDARY" && goal != nullptr && goal->focused == 0 && goal->final == 0)
        goal->Destroy();
    TPrompt::Close();
    // A result this prompt replaced comes back; with its goal gone, the evaluation goes on past it.
    if (TPrompt::ResumeResult() == TResumed::GoalGone) TGoal::EvaluateNext();
}

} // namespace

void DispatchGuiEvent() {
    HandlePromptEvent();
    HandleInfoEvent();
    WatchMenuPage();
    HandleWindowAndReviewEvent();
}

void HandlePromptEvent() {
    TWidget* widget = ActedWidget();
    if (widget == nullptr) return;
    const std::string kind = Prompt.Kind;
    if (kind == "FINALPASS") DebugLog("FINAL PASSED");
    const std::string& tag = widget->Tag;
    const bool close = tag == "PROMPT_CLOSE", primary = tag == "PROMPT_PRIMARY",
               secondary = tag == "PROMPT_SECONDARY";
    if (!close && !primary && !secondary) return;

    if (kind == "EDITGOAL") {
        HandleEditGoal(tag);
    } else if (kind == "GOALPASS") {
        CloseAndEvaluateNext();
    } else if (kind == "GOALFAIL") {
        const TGoalRef goal = Prompt.Subject;
        if (primary) {
            TPrompt::Close();
            if (goal != nullptr) {
                goal->Unfocus();
                goal->SetDeadline(0, 0);
            }
            TGoal::EvaluateNext();
        } else if (secondary) {
            TPrompt::Close();
            if (goal != nullptr) goal->Destroy();
            TGoal::EvaluateNext();
        }
    } else if (kind == "FINALFAIL") {
        if (primary)
            RetryLevel();
        else if (secondary)
            BackToLevelList();
    } else if (kind == "FINALPASS") {
        BackToLevelList();
    } else if (kind == "GAMEMENU") {
        if (secondary)
            BackToLevelList();
        else
            TPrompt::Close();
    } else {
        TPrompt::Close();
    }
}

void HandleInfoEvent() {
    TWidget* widget = ActedWidget();
    if (widget == nullptr || InfoKind != "STATIONINFO") return;
    if (widget->Tag == "INFO_CLOSE") {
        TInfoPanel::Close();
    } else if (widget->Tag == "INFO_GO") {
        const int index = SelectedIndex(InfoInventory);
        if (index < 0) return;
        if (TAction* action = TAction::FindByName(ItemText(InfoInventory, index))) action->infoText.Show();
    } else if (widget->Tag == "INFO_UP") {
        if (TStation* station = TStation::FindByTargetTag(InfoStationTag)) station->ShowInfo();
    }
}

void HandleWindowAndReviewEvent() {
    const TEvent& event = CurrentEvent();
    // Ticks and the rest concern no row here; they need not walk the registry.
    if (event.id != WindowClose && event.id != GadgetAction) return;
    TWidget* widget = TWidget::FindWidgetByGadget(event.source);
    if (widget == nullptr) return;
    if (event.id == WindowClose && widget->Tag == "WINMAIN") EndProgram();
    if (event.id == WindowClose && widget->Tag == "WINTUTORIAL") TTutorialWindow::Hide();
    if (event.id == GadgetAction && (widget->Tag == "STATS_CLOSE" || widget->Tag == "STATS_CONFIRM"))
        CloseStatsPanel();
    // Every panel's "?" leads to the level's tutorial.
    if (event.id == GadgetAction &&
        (widget->Tag == "PROMPT_HELP" || widget->Tag == "INFO_HELP" || widget->Tag == "STATS_HELP"))
        ShowTutorial();
}

void WatchMenuPage() {
    if (MenuClosed || MenuView == nullptr) return;
    const std::string url = CurrentUrl(MenuView);
    if (const std::optional<std::string> name = LevelLinkName(url)) {
        if (TLevel* level = TLevel::FindByName(*name)) {
            level->Start();
            TMenuBrowser::Close();
        } else {
            DebugLog("ERROR LOADING LEVEL: " + *name);
        }
        return;
    }
    const size_t hash = url.rfind('#');
    MenuPageUrl = hash != std::string::npos && hash >= 2 ? url.substr(0, hash) : url;
}
