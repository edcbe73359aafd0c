#include "rules/Action.hpp"

#include "rules/ContentFile.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/TagIndex.hpp"
#include "scene/Motivation.hpp"
#include "scene/Numeric.hpp"
#include "scene/RadialItem.hpp"

#include <algorithm>
#include <limits>

std::vector<std::unique_ptr<TAction>> ActionList;
std::function<void(const TGoalVisitor& visit)> ActiveGoalWalker;

namespace {

constexpr const char* SkillWords[SkillCount] = {"fitness", "mental", "social", "wealth", "leadership"};

// The skill kind a content file names, -1 for "NULL" (skipped quietly) and -2 for anything unknown.
int SkillKindOf(const std::string& text) {
    if (text == "0" || text == "Fitness" || text == "Physical") return 0;
    if (text == "1" || text == "Mind" || text == "Mental") return 1;
    if (text == "2" || text == "Social") return 2;
    if (text == "3" || text == "Wealth") return 3;
    if (text == "4" || text == "Leadership") return 4;
    if (text == "NULL") return -1;
    DebugLog("Error: Unrecognizable Skill Type: " + text);
    return -2;
}

bool Shown(const std::string& tag) {
    const std::string hidden = "_noshow";
    const bool isHidden =
        tag.size() >= hidden.size() && tag.compare(tag.size() - hidden.size(), hidden.size(), hidden) == 0;
    return NamesEntry(tag) && !isHidden;
}

// Reads repeated item commands into entries; a short list closes with the "NULL" of the failed search.
template <typename OnLine>
void ReadItemLines(TContentFile& file, const std::string& key,
                   std::array<std::string, ActionItemSlots>& entries, OnLine onLine) {
    for (int i = 0; i < ActionItemSlots; ++i) {
        const std::string line = file.FindLine(key);
        entries[i] = TContentFile::QuotedArg(line, 0);
        if (line == "NULL") break;
        onLine(i, line);
    }
    file.Rewind();
}

std::string GeneratedData(const TAction& action) {
    std::string text;
    for (int s = 0; s < SkillCount; ++s) {
        if (action.skillBase[s] != 0 || action.skillBonus[s] > 0) {
            text += "Improves " + std::string(SkillWords[s]) + " up to skill level " +
                    std::to_string(action.skillCap[s]) + ".\n";
        }
    }
    for (const std::string& tag : action.giveItems) {
        if (Shown(tag)) text += "Gives:  " + TItem::NameOfTag(tag) + "\n";
    }
    text += "\n";
    for (int s = 0; s < SkillCount; ++s) {
        if (action.requiredLevels[s] > 0) {
            text += "Requires level:  " + std::to_string(action.requiredLevels[s]) + " " + SkillWords[s] +
                    " skill.\n";
        }
    }
    for (const std::string& tag : action.requiredItems) {
        if (Shown(tag)) text += "Requires:  " + TItem::NameOfTag(tag) + "\n";
    }
    return text;
}

// A double beyond a float's range would convert to nothing defined; it saturates as the real field did.
float ToFloat(double value) {
    constexpr double Largest = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -Largest, Largest));
}

} // namespace

namespace {
size_t ActionsCreated = 0;
} // namespace

std::unique_ptr<TAction> TAction::Create() {
    ++ActionsCreated;
    auto action = std::make_unique<TAction>();
    action->infoText = TInfoText::Create();
    action->infoText.ShowClose = 1;
    action->infoText.ShowHelp = 1;
    action->infoText.ShowBack = 1;
    action->infoText.ShowList = 0;
    action->infoText.Kind = "STATIONINFO";
    return action;
}

TAction* TAction::Load(const std::string& path) {
    ActionList.push_back(Create());
    TAction& action = *ActionList.back();
    TContentFile file = TContentFile::Open(path);
    action.name = TContentFile::QuotedArg(file.FindSingle("NAME="), 0);
    action.infoText.Title = action.name;
    action.tag = TContentFile::QuotedArg(file.FindSingle("TAG="), 0);
    action.infoText.Info = TContentFile::QuotedArg(file.FindSingle("DESCRIPTION="), 0);
    const std::string data = file.FindSingle("DATA=");
    if (file.FindSingle("AutoAdd") != "NULL") action.autoAdd = 1;

    for (std::string line = file.FindLine("GiveSkill"); line != "NULL"; line = file.FindLine("GiveSkill")) {
        const int s = SkillKindOf(TContentFile::QuotedArg(line, 0));
        if (s < 0) continue;
        action.skillBase[s] = 3;
        action.skillBonus[s] = 9;
        action.skillCap[s] = TContentFile::ToInt(TContentFile::QuotedArg(line, 3));
    }
    file.Rewind();
    for (std::string line = file.FindLine("RequireSkill"); line != "NULL";
         line = file.FindLine("RequireSkill")) {
        const int s = SkillKindOf(TContentFile::QuotedArg(line, 0));
        if (s >= 0) action.requiredLevels[s] = TContentFile::ToInt(TContentFile::QuotedArg(line, 1));
    }
    file.Rewind();
    ReadItemLines(file, "GiveItem", action.giveItems, [&](int i, const std::string& line) {
        const std::string threshold = TContentFile::QuotedArg(line, 1);
        if (threshold != "NULL") action.giveThresholds[i] = ToFloat(TContentFile::ToReal(threshold));
    });
    ReadItemLines(file, "TakeItem", action.takeItems, [](int, const std::string&) {});
    ReadItemLines(file, "RequireItem", action.requiredItems, [](int, const std::string&) {});
    for (std::string& entry : action.requiredItems) {
        if (entry == "NULL") entry.clear();
    }
    file.Close();

    action.infoText.Data = data != "NULL" ? TContentFile::QuotedArg(data, 0) : GeneratedData(action);
    action.infoText.Picture = action.GivenItemIcon();
    if (action.infoText.Picture == nullptr && action.SkillIconNumber() > 0)
        action.infoText.Picture = LoadImage(SkillIconPaths[action.SkillIconNumber() - 1]);
    return &action;
}

int TAction::LoadAll() {
    return TContentFile::LoadDirectory("content/actions", [](const std::string& path) { Load(path); });
}

TAction* TAction::FindByTag(const std::string& tag) {
    static TTagIndex<TAction, &TAction::tag> index;
    return index.Find(ActionList, ActionsCreated, tag);
}

// Gathered as the list grows rather than walked again for every level loaded: with thousands of actions
// that walk was most of what a level's loading cost. When the list grew by anything but the actions
// made since (it was emptied or refilled), it is gathered afresh.
const std::vector<TAction*>& TAction::AutoAdded() {
    static std::vector<TAction*> found;
    static size_t covered = 0;
    static size_t createdThen = 0;
    if (RefilledSince(ActionList.size(), covered, ActionsCreated, createdThen)) {
        found.clear();
        covered = 0;
    }
    for (; covered < ActionList.size(); ++covered) {
        if (ActionList[covered]->autoAdd != 0) found.push_back(ActionList[covered].get());
    }
    createdThen = ActionsCreated;
    return found;
}

TAction* TAction::FindByName(const std::string& name) {
    if (!NamesEntry(name)) return nullptr;
    for (const auto& action : ActionList) {
        if (action->name == name) return action.get();
    }
    return nullptr;
}

bool TAction::GivesTag(const std::string& itemTag) const {
    if (!NamesEntry(itemTag)) return false;
    for (const std::string& entry : giveItems) {
        if (entry == itemTag) return true;
    }
    return false;
}

int TAction::SkillIconNumber() const {
    for (int s = SkillCount - 1; s >= 0; --s) {
        if (skillBase[s] > 0 || skillBonus[s] > 0) return s + 1;
    }
    return 0;
}

TImage TAction::GivenItemIcon() const {
    for (const std::string& tag : giveItems) {
        if (const TItem* item = TItem::FindByTag(tag)) return item->icon;
    }
    return nullptr;
}

int TAction::CanRun() const {
    if (locked == 1) return 0;
    for (int s = 0; s < SkillCount; ++s) {
        if (Player.skillLevel[s] < requiredLevels[s]) return 0;
    }
    // A requirement that names no item (-1) does not block.
    for (const std::string& entry : requiredItems) {
        if (!entry.empty() && TPlayer::HasItemTag(entry) == 0) return 0;
    }
    // Nobody applies for a job he already has.
    if (tag.compare(0, 15, "action_jobapply") == 0) {
        for (const std::string& entry : giveItems) {
            if (NamesEntry(entry) && TPlayer::HasItemTag(entry) == 1) return 0;
        }
    }
    return 1;
}

int TAction::Run() {
    if (CanRun() == 0) return 0;
    const float motivation = Player.motivation;
    for (int s = 0; s < SkillCount; ++s) {
        const int level = Player.skillLevel[s];
        if (level >= skillCap[s]) continue;
        TPlayer::AddSkillPoints(s, Amount(level, Player.skillPoints[s], Gain(s, motivation), skillCap[s]));
    }
    for (int i = 0; i < ActionItemSlots; ++i) {
        if (NamesEntry(giveItems[i]) && motivation > giveThresholds[i]) TPlayer::GiveItemTag(giveItems[i]);
    }
    for (const std::string& entry : takeItems) {
        if (NamesEntry(entry)) TPlayer::TakeItemTag(entry);
    }
    return 1;
}

int TAction::Gain(int skill, float motivation) const {
    const float product = static_cast<float>(skillBonus[skill] * (motivation / double{FullMotivation}));
    return skillBase[skill] + RoundHalfUp(product);
}

int TAction::Amount(int level, int points, int gain, int cap) {
    if (level >= cap) return 0;
    // A gain that would pass the cap lands exactly on it, with no points left over.
    const bool reachesCap =
        level + gain / PointsPerLevel + (points + gain % PointsPerLevel) / PointsPerLevel >= cap;
    return reachesCap ? (cap - level) * PointsPerLevel - points : gain;
}

int TAction::ServesActiveGoal() const {
    if (!ActiveGoalWalker) return 0;
    int serves = 0;
    ActiveGoalWalker([&](int skill, int targetLevel, const std::string& itemTag) {
        if (serves == 1) return;
        const bool knownSkill = skill >= 0 && skill < SkillCount;
        if (knownSkill && skillBase[skill] > 0 && targetLevel > 0 &&
            skillCap[skill] > Player.skillLevel[skill]) {
            serves = 1;
        }
        if (GivesTag(itemTag) && TItem::FindByTag(itemTag) != nullptr) serves = 1;
    });
    return serves;
}

void TAction::RunWithAssets(TAction* action) {
    if (action != nullptr) {
        action->Run();
        DebugLog(action->tag + " was run");
    }
    if (TPlayer::CountType("ASSET") < 1) return;
    // Each slot is read when it is reached, so an asset given by an earlier one in a later slot acts too.
    for (int slot = 0; slot < InventorySlots; ++slot) {
        const TItem* item = Player.inventory[slot];
        if (item == nullptr || item->itemType != "ASSET") continue;
        TAction* assetAction = FindByTag(item->actionTag);
        if (assetAction != nullptr)
            assetAction->Run();
        else
            DebugLog("LOG: Asset does not have an appropriate action!");
    }
}
