#include "tests/soak/Invariants.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "panels/Prompt.hpp"
#include "panels/StatsPanel.hpp"
#include "platform/GadgetRecord.hpp"
#include "rules/Goal.hpp"
#include "rules/Player.hpp"
#include "scene/Radial.hpp"
#include "scene/TimeBar.hpp"

#include <algorithm>
#include <sstream>

namespace {

bool ShowsSprite(const THotspotRef& hotspot) {
    return hotspot != nullptr && hotspot->Sprite != nullptr && hotspot->Sprite->Hidden == 0;
}

// A menu is open while any of its buttons shows.
bool ShowsButtons(const TRadial& radial) {
    if (ShowsSprite(radial.CloseButton) || ShowsSprite(radial.HelpButton)) return true;
    for (const TRadialItemRef& item : radial.Items) {
        if (item != nullptr && ShowsSprite(item->Hotspot)) return true;
    }
    return false;
}

std::string CheckSkills() {
    std::ostringstream out;
    for (int skill = 0; skill < SkillCount; ++skill) {
        const int level = Player.skillLevel[static_cast<size_t>(skill)];
        const int points = Player.skillPoints[static_cast<size_t>(skill)];
        const bool levelOk = level >= 1 && level <= MaxSkillLevel;
        const bool pointsOk = points >= 0 && (points <= 9 || level == MaxSkillLevel);
        if (levelOk && pointsOk) continue;
        if (out.tellp() > 0) out << "; ";
        out << "skill " << skill << " at level " << level << " with " << points << " points";
    }
    return out.str();
}

std::string CheckGoalsAndItems() {
    std::ostringstream out;
    if (GoalCount != static_cast<int>(GoalList.size()) || GoalList.size() > MaxGoals)
        out << "goal count " << GoalCount << " with " << GoalList.size() << " goals listed";
    // Only an asset is held more than once, and none more often than the rules hand one out again.
    for (const TItem* item : Player.inventory) {
        if (item == nullptr) continue;
        const long copies = std::count(Player.inventory.begin(), Player.inventory.end(), item);
        if (copies > (item->itemType == "ASSET" ? AssetLimit : 1)) {
            out << item->tag << " held " << copies << " times";
            break;
        }
    }
    return out.str();
}

std::string CheckRadials() {
    int open = 0;
    bool openOneIsOpenRadial = true;
    for (const TRadialRef& radial : RadialList) {
        if (!ShowsButtons(*radial)) continue;
        ++open;
        openOneIsOpenRadial = openOneIsOpenRadial && radial == OpenRadial;
    }
    std::ostringstream out;
    if (open > 1) out << open << " radial menus open";
    if (open == 1 && !openOneIsOpenRadial) out << "a radial menu shows but is not the open one";
    return out.str();
}

// Both ways: a panel in sight holds the lock, and the lock has a panel in sight that can release it.
std::string CheckPanelLock() {
    if (WorldHidden) return "";
    const std::pair<const char*, TGadget> panels[] = {
        {"prompt", PromptPanel}, {"information", InfoPanelGadget}, {"statistics", StatsPanelGadget}};
    bool anyShown = false;
    for (const auto& [name, gadget] : panels) {
        if (!InSight(gadget)) continue;
        if (!PanelLocked) return std::string("the ") + name + " panel shows without the panel lock";
        anyShown = true;
    }
    if (PanelLocked && !anyShown) return "the panel lock is set with no panel in sight";
    return "";
}

} // namespace

// The level ends with its final goal's week; a week beyond it means the final result went unseen.
std::string CheckWeek() {
    if (WorldHidden || CurrentWeek <= LevelLength) return "";
    return "week " + std::to_string(CurrentWeek) + " of a level of " + std::to_string(LevelLength);
}

bool InSight(TGadget gadget) {
    if (gadget == nullptr) return false;
    for (; gadget != nullptr; gadget = gadget->parent) {
        if (!gadget->visible) return false;
    }
    return true;
}

std::string CheckInvariants() {
    std::string broken = CheckSkills();
    const float motivation = Player.motivation;
    if (!(motivation >= 0.0f && motivation <= 100.0f)) broken += "motivation " + std::to_string(motivation);
    for (const std::string& part : {CheckGoalsAndItems(), CheckRadials(), CheckPanelLock(), CheckWeek()}) {
        if (part.empty()) continue;
        if (!broken.empty()) broken += "; ";
        broken += part;
    }
    return broken;
}
