#include "shell/WorldTick.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "panels/Prompt.hpp"
#include "panels/StatsPanel.hpp"
#include "rules/Goal.hpp"
#include "rules/GoalMenu.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Radial.hpp"
#include "shell/SceneAssembly.hpp"
#include "shell/ScreenFlow.hpp"

#include <any>

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

void CloseOpenRadial(int restoreOwner) {
    if (OpenRadial != nullptr) OpenRadial->Close(restoreOwner);
}

// Free rows act only while no panel holds the lock.
bool Free() {
    return !PanelLocked;
}

// A hotspot's Owner as the action it stands for, or none.
TAction* OwnerAction(const THotspotRef& hotspot) {
    if (hotspot == nullptr) return nullptr;
    TAction* const* action = std::any_cast<TAction*>(&hotspot->Owner);
    return action == nullptr ? nullptr : *action;
}

// The station whose ring the radial is, or none.
TStation* RadialStation(const TRadial& radial) {
    TStation* const* station = std::any_cast<TStation*>(&radial.OwnerObject);
    return station != nullptr ? *station : nullptr;
}

// Any click; true when the tag's row says no other table may follow.
bool AnyClick(const std::string& tag, const THotspotRef& hotspot) {
    if (tag == "SETGOAL" && Free()) TGoalMenu::OpenGoalMenu();
    if (tag == "PLAYERSTATS" && Free()) {
        TStatsPanel::ShowPlayerStats();
        return true;
    }
    if (tag == "RADIALCLOSE" && Free()) {
        CloseOpenRadial(1);
        TGoalMenu::CloseGoalMenu();
    }
    if (tag == "RADIALHELP" && Free() && OpenRadial != nullptr && OpenRadial->MenuKind == "STATION") {
        TRadialRef radial = OpenRadial;
        if (TStation* station = RadialStation(*radial)) station->ShowInfo();
        radial->Close(1);
    }
    if (tag == "WORK" && Free() && WorkRadial != nullptr) {
        WorkRadial->Open();
        if (hotspot != nullptr) hotspot->Disable();
        TPlayer::UpdateWorkButton();
    }
    if (tag == "TUTORIAL") ShowTutorial();
    return false;
}

void LeftClick(const std::string& tag, const THotspotRef& hotspot) {
    if (!Free()) return; // every left-click row is free
    if (StartsWith(tag, "station_") && Player.currentJob == nullptr) {
        TStation* station = TStation::FindByTargetTag(tag);
        if (station == nullptr) return;
        if (station->radial != nullptr) station->radial->Open();
        station->UpdateRadialStates();
        if (station->target != nullptr) station->target->Disable();
    } else if (StartsWith(tag, "RADACTION")) {
        TPlayer::DoWeek(OwnerAction(hotspot), true);
        CloseOpenRadial(1);
    } else if (tag == "RADITEM_WORK") {
        TPlayer::DoWeek(Player.workAction, true);
        CloseOpenRadial(1);
    } else if (tag == "RADITEM_QUIT") {
        TPlayer::DoWeek(Player.quitAction, false);
        TPlayer::ClearJob();
        CloseOpenRadial(1);
    } else if (tag == "RADITEM_THING") {
        CloseOpenRadial(0);
        TGoalMenu::ChooseItemGoal();
    } else if (tag == "RADITEM_SKILL") {
        CloseOpenRadial(0);
        TGoalMenu::ChooseSkillGoal();
    } else if (StartsWith(tag, "RADITEM_SKILL_")) {
        CloseOpenRadial(0);
        TGoalMenu::ChooseSkill(tag);
    } else if (tag == "GOALCLOSE") {
        TGoalMenu::CloseGoalMenu();
    } else if (tag == "GOALSET") {
        TGoalMenu::SetSkillGoal();
    } else if (tag == "ITEMNEXTLEFT") {
        TGoalMenu::TurnItemPage(-1);
        DebugLog("LHit");
    } else if (tag == "ITEMNEXTRIGHT") {
        TGoalMenu::TurnItemPage(+1);
        DebugLog("RHit");
    } else if (StartsWith(tag, "RADITEM_ITEM_")) {
        TGoalMenu::SetItemGoal(tag.substr(13));
    } else if (tag == "GAMEMENU") {
        TPrompt::Open(
            "GAMEMENU", "Main Menu",
            "Quit will take you back to the level select, return will allow you to continue the game", "", 1,
            1, "Return", "Quit");
    }
}

void RightClick(const std::string& tag, const THotspotRef& hotspot) {
    if (StartsWith(tag, "station_")) {
        if (TStation* station = TStation::FindByTargetTag(tag)) station->ShowInfo();
    } else if (StartsWith(tag, "RADACTION") && Free()) {
        // "Back" on the action's page leads to the station whose ring it was read from.
        const TStation* station = OpenRadial != nullptr ? RadialStation(*OpenRadial) : nullptr;
        CloseOpenRadial(1);
        if (TAction* action = OwnerAction(hotspot)) {
            action->infoText.Show();
            if (station != nullptr) TInfoPanel::ReturnTo(station->tag);
        }
    } else if (StartsWith(tag, "GOAL_")) {
        if (TGoalRef goal = TGoal::FindByHotspotTag(tag)) TPrompt::EditGoal(goal);
    }
}

} // namespace

void HandleClick(const std::string& gestureKind, const std::string& tag) {
    const THotspotRef hotspot = THotspot::FindByTag(tag);
    if (AnyClick(tag, hotspot)) return;
    if (gestureKind == "CLICK1") LeftClick(tag, hotspot);
    if (gestureKind == "CLICK2") RightClick(tag, hotspot);
}

void WorldTick() {
    const std::string gesture = THotspot::PollAll();
    const size_t at = gesture.find('@');
    const std::string kind = gesture.substr(0, at);
    const std::string tag = at == std::string::npos ? "" : gesture.substr(at + 1);
    const THotspotRef hotspot = THotspot::FindByTag(tag);

    TGoal::UpdateAll(kind, tag);
    if (TRadial::HandleWorldGesture(kind, hotspot) == 1) {
        if (GoalMenuOpen == 1 && (hotspot == nullptr || hotspot->Kind != "GOALMENU_RADIAL"))
            TGoalMenu::CloseGoalMenu();
        return;
    }
    if (GoalMenuOpen != 0 && LevelSlider != nullptr && LevelSlider->Inactive == 0)
        TGoalMenu::UpdateLevelSlider();
    if (kind == "CLICK1" || kind == "CLICK2" || kind == "CLICK3") HandleClick(kind, tag);
}
