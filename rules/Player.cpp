#include "rules/Player.hpp"

#include "rules/Station.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Layer.hpp"
#include "scene/Motivation.hpp"
#include "scene/TimeBar.hpp"

TPlayer Player;
std::function<TWeekGoals(const std::array<TItem*, InventorySlots>& weekItems)> WeekGoalsGatherer;
std::function<void()> ShowWeeklyReviewHook;
std::function<void()> WeeklyGoalCheckHook;

namespace {

TSpriteRef JobIconSprite() {
    return TSprite::Find("JOBICON", TLayer::Find("displays"));
}

// The WORK entry of the job button's menu; its owner is the action that working runs.
THotspotRef WorkEntry() {
    return THotspot::FindByTag("RADITEM_WORK");
}

// The WORK entry runs the work action; UpdateWorkButton reads it back from there.
void BindWorkEntry() {
    if (const THotspotRef entry = WorkEntry()) entry->Owner = Player.workAction;
}

void SwitchHome(const std::string& tag) {
    TStation* home = TStation::FindByTag("station_home");
    if (home == nullptr) return;
    if (tag == "home_manor")
        home->UseAlternate(1);
    else if (tag == "home_castle")
        home->UseAlternate(2);
}

} // namespace

void TPlayer::InitSkills() {
    Player.skillLevel.fill(1);
    MotivationValue = &Player.motivation;
}

void TPlayer::ResetPlayer() {
    Player.weekGain.fill(0);
    Player.weekLevel.fill(0);
    Player.skillPoints.fill(0);
    Player.skillLevel.fill(1);
    Player.inventory.fill(nullptr);
    Player.weekItems.fill(nullptr);
    Player.lastMotivationChange = 0;
    Player.lastMotivationCause = TMotivationCause::Even;
    Player.lastFocusedGoals = 0;
    Player.motivation = 50.0f;
}

int TPlayer::HasItem(const TItem* item) {
    if (item == nullptr) return 0;
    for (const TItem* held : Player.inventory) {
        if (held == item) return 1;
    }
    return 0;
}

int TPlayer::HasItemTag(const std::string& tag) {
    const TItem* item = TItem::FindByTag(tag);
    return item == nullptr ? -1 : HasItem(item);
}

int TPlayer::CountType(const std::string& type) {
    int count = 0;
    for (const TItem* held : Player.inventory) {
        if (held != nullptr && held->itemType == type) ++count;
    }
    return count;
}

int TPlayer::GiveItem(TItem* item) {
    if (item == nullptr) return 0;
    // Only an asset may be held more than once, and only while fewer than AssetLimit assets are held.
    const bool accepted =
        HasItem(item) == 0 || (item->itemType == "ASSET" && CountType("ASSET") < AssetLimit);
    if (!accepted) return 0;
    int slot = 0;
    while (slot < InventorySlots && Player.inventory[slot] != nullptr)
        ++slot;
    if (slot == InventorySlots) return 0;
    if (item->itemType == "BUILD") SwitchHome(item->tag);
    Player.inventory[slot] = item;
    Player.weekItems[slot] = item;
    if (item->itemType == "JOB") {
        Player.workAction = TAction::FindByTag(item->actionTag);
        Player.quitAction = TAction::FindByTag(item->quitActionTag);
        if (Player.workAction != nullptr) {
            Player.currentJob = item;
            ShowJob();
        } else {
            // The job shown keeps its button, but WORK has nothing left to run.
            BindWorkEntry();
        }
    }
    return 1;
}

int TPlayer::GiveItemTag(const std::string& tag) {
    return GiveItem(TItem::FindByTag(tag));
}

int TPlayer::TakeItem(const TItem* item) {
    if (item == nullptr) return 0;
    for (TItem*& held : Player.inventory) {
        if (held == item) {
            held = nullptr;
            return 1;
        }
    }
    return 0;
}

int TPlayer::TakeItemTag(const std::string& tag) {
    return TakeItem(TItem::FindByTag(tag));
}

int TPlayer::AddSkillPoints(int skill, int amount) {
    if (skill < 0 || skill >= SkillCount) return 0;
    Player.skillPoints[skill] += amount;
    Player.weekGain[skill] += amount;
    CarrySkill(skill);
    return 1;
}

void TPlayer::CarrySkill(int skill) {
    int& level = Player.skillLevel[skill];
    int& points = Player.skillPoints[skill];
    // The top level keeps whatever points are left over, then and at every later gain.
    while (points >= PointsPerLevel && level < MaxSkillLevel) {
        points -= PointsPerLevel;
        ++level;
        Player.weekLevel[skill] = level;
    }
}

void TPlayer::ShowJob() {
    if (const TSpriteRef icon = JobIconSprite()) {
        icon->Image = Player.currentJob != nullptr ? Player.currentJob->icon : nullptr;
        icon->Show();
        icon->SizeFromImage();
    }
    if (const THotspotRef button = THotspot::FindByTag("WORK")) button->Show();
    BindWorkEntry();
}

void TPlayer::ClearJob() {
    if (const TSpriteRef icon = JobIconSprite()) icon->Hide();
    if (const THotspotRef button = THotspot::FindByTag("WORK")) button->Hide();
    Player.currentJob = nullptr;
    Player.workAction = nullptr;
    Player.quitAction = nullptr;
}

void TPlayer::UpdateWorkButton() {
    const THotspotRef entry = WorkEntry();
    if (entry == nullptr) return;
    TAction* const* owner = std::any_cast<TAction*>(&entry->Owner);
    const TAction* action = owner != nullptr ? *owner : nullptr;
    // Without a work action there is nothing to run, so the entry is unavailable.
    if (action == nullptr || action->CanRun() == 0) {
        entry->Disable();
        entry->SetVariant(2);
    } else {
        entry->SetVariant(action->ServesActiveGoal() == 1 ? 1 : 0);
    }
}

void TPlayer::DoWeek(TAction* action, bool withMotivation) {
    Player.weekGain.fill(0);
    Player.weekLevel.fill(0);
    Player.weekItems.fill(nullptr);
    TAction::RunWithAssets(action);
    if (withMotivation) {
        const TWeekGoals goals = WeekGoalsGatherer ? WeekGoalsGatherer(Player.weekItems) : TWeekGoals{};
        Player.lastMotivationChange =
            TMotivation::WeeklyChange(Player.weekGain, goals, &Player.lastMotivationCause);
        Player.lastFocusedGoals = goals.focusedCount;
    }
    TTimeBar::NextWeek();
    if (ShowWeeklyReviewHook) ShowWeeklyReviewHook();
    if (WeeklyGoalCheckHook) WeeklyGoalCheckHook();
}
