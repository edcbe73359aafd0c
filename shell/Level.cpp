#include "shell/Level.hpp"

#include "panels/Prompt.hpp"
#include "platform/Platform.hpp"
#include "rules/ContentFile.hpp"
#include "rules/Goal.hpp"
#include "rules/GoalMenu.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/TagIndex.hpp"
#include "scene/Hotspot.hpp"
#include "scene/TimeBar.hpp"

#include <algorithm>
#include <unordered_set>

std::vector<std::unique_ptr<TLevel>> LevelRegistry;
TLevel* CurrentLevel = nullptr;
std::function<void(const std::string& path, const std::string& title)> TutorialOpener;

namespace {

std::string Field(const std::string& line, int index) {
    return TContentFile::QuotedArg(line, index);
}

int IntField(const std::string& line, int index) {
    return TContentFile::ToInt(TContentFile::QuotedArg(line, index));
}

// The actions a job or an asset runs once the Gorum holds it.
std::vector<std::string> ActionsRunBy(const TItem& item) {
    if (item.itemType == "JOB") return {item.actionTag, item.quitActionTag};
    if (item.itemType == "ASSET") return {item.actionTag};
    return {};
}

// The items the level's actions can hand out, each once, in the order of the actions and their slots. An
// offered action runs only from a station's ring or as the work, quit or weekly turn of a job or asset some
// running action gives: the auto-add work action of a job that no level action gives never runs.
std::vector<std::string> ItemsGiven(const std::vector<std::string>& actionTags) {
    std::unordered_set<const TAction*> offered;
    for (const std::string& tag : actionTags)
        offered.insert(TAction::FindByTag(tag));
    std::unordered_set<const TAction*> runs;
    std::vector<const TAction*> pending;
    const auto reach = [&](const TAction* action) {
        if (action != nullptr && offered.count(action) != 0 && runs.insert(action).second)
            pending.push_back(action);
    };
    for (const auto& station : StationList) {
        for (const TAction* action : station->actions)
            reach(action);
    }
    while (!pending.empty()) {
        const TAction* action = pending.back();
        pending.pop_back();
        for (const std::string& given : action->giveItems) {
            if (const TItem* item = TItem::FindByTag(given)) {
                for (const std::string& tag : ActionsRunBy(*item))
                    reach(TAction::FindByTag(tag));
            }
        }
    }
    std::vector<std::string> items;
    std::unordered_set<std::string> listed;
    for (const std::string& tag : actionTags) {
        const TAction* action = TAction::FindByTag(tag);
        if (runs.count(action) == 0) continue;
        for (const std::string& given : action->giveItems) {
            if (TItem::FindByTag(given) != nullptr && listed.insert(given).second) items.push_back(given);
        }
    }
    return items;
}

} // namespace

TLevel* TLevel::Create() {
    LevelRegistry.push_back(std::make_unique<TLevel>());
    TLevel* level = LevelRegistry.back().get();
    level->RegistryEntry = LevelRegistry.size() - 1;
    level->IntroPrompt.PrimaryLabel = "Okay";
    level->IntroPrompt.SecondaryLabel = "NULL";
    return level;
}

TLevel* TLevel::Load(const std::string& path) {
    TLevel* level = Create();
    TContentFile file = TContentFile::Open(path);

    level->Name = Field(file.FindSingle("NAME="), 0);
    level->IntroPrompt.Title = Field(file.FindSingle("TITLE="), 0);
    level->IntroPrompt.Text = Field(file.FindSingle("INFO="), 0);
    level->Length = IntField(file.FindSingle("LENGTH="), 0);
    const std::string tutorial = file.FindSingle("Tutorial");
    if (tutorial != "NULL") level->TutorialPath = CurrentDirectory() + "/content/tut/" + Field(tutorial, 0);
    level->ItemGoal = Field(file.FindSingle("SetItemGoal"), 0);
    const std::string skillGoal = file.FindSingle("SetSkillGoal");
    level->SkillGoalKind = IntField(skillGoal, 0);
    level->SkillGoalLevel = IntField(skillGoal, 1);
    if (file.FindSingle("AddAllActions") != "NULL") {
        for (const auto& action : ActionList)
            level->ActionTags.push_back(action->tag);
    }
    for (const TAction* action : TAction::AutoAdded())
        level->ActionTags.push_back(action->tag);

    for (std::string line = file.FindLine("SetStation"); line != "NULL"; line = file.FindLine("SetStation")) {
        const std::string tag = Field(line, 0);
        if (TStation* station = TStation::FindByTag(tag)) {
            level->Placements.push_back({IntField(line, 1), IntField(line, 2), station});
        } else if (tag != "NULL") {
            DebugLog("WARNING: " + tag + " is not a valid station tag!");
        }
    }
    file.Rewind();
    for (std::string line = file.FindLine("AddAction"); line != "NULL"; line = file.FindLine("AddAction")) {
        const std::string tag = Field(line, 0);
        if (TAction::FindByTag(tag) != nullptr) {
            level->ActionTags.push_back(tag);
        } else if (tag != "NULL") {
            DebugLog("WARNING: " + tag + " is not a valid action tag!");
        }
    }
    file.Rewind();
    for (std::string line = file.FindLine("RemoveAction"); line != "NULL";
         line = file.FindLine("RemoveAction")) {
        auto& tags = level->ActionTags;
        const auto found = std::find(tags.begin(), tags.end(), Field(line, 0));
        if (found != tags.end()) tags.erase(found);
    }
    file.Rewind();
    file.Close();

    level->ItemTags = ItemsGiven(level->ActionTags);
    return level;
}

int TLevel::LoadAll() {
    return TContentFile::LoadDirectory("content/levels", [](const std::string& path) { Load(path); });
}

TLevel* TLevel::FindByName(const std::string& name) {
    if (!NamesEntry(name)) return nullptr;
    for (const auto& level : LevelRegistry) {
        if (level->Name == name) return level.get();
    }
    return nullptr;
}

void TLevel::Start() {
    CurrentLevel = this;
    Setup();
    OpenTutorial();
    LevelLength = Length;
    TTimeBar::BuildTicks();
    IntroPrompt.Show();
}

void TLevel::Setup() {
    TStation::DeactivateAll();
    LevelLength = Length;
    TTimeBar::GoToWeek(1);
    TGoal::DestroyAll();
    TPlayer::ResetPlayer();

    for (const auto& action : ActionList)
        action->locked = 1;
    for (const std::string& tag : ActionTags) {
        if (TAction* action = TAction::FindByTag(tag)) action->locked = 0;
    }

    for (const TStationPlacement& placement : Placements) {
        placement.Station->SetPosition(placement.X, placement.Y);
        placement.Station->UseAlternate(0);
    }
    for (const auto& station : StationList) {
        // A placement shows the station's image; one with nothing to offer here must go out of sight
        // again, or closing its radial would make it clickable.
        if (station->AvailableActions().empty())
            TStation::Deactivate(station.get());
        else
            TStation::Activate(station.get());
        station->BuildRadial();
    }
    TPlayer::ClearJob();

    const TGoalRef goal = TGoal::Create();
    if (goal) {
        goal->SetDeadline(Length, 1);
        goal->itemTag = ItemGoal;
        if (TItem::FindByTag(ItemGoal) == nullptr) {
            goal->skill = SkillGoalKind;
            goal->targetLevel = SkillGoalLevel;
            goal->itemTag = "";
        }
        goal->MakeFinal();
    }
    TGoalMenu::BuildItemPages(ItemTags);
    if (goal) {
        const std::string itemName = goal->itemTag.empty() ? "" : TItem::NameOfTag(goal->itemTag);
        IntroPrompt.Note = TPrompt::DescribeGoal(goal->skill, goal->targetLevel, itemName) + " by week " +
                           std::to_string(goal->deadline);
        IntroPrompt.Picture = TPrompt::GoalPicture(*goal);
    }
}

void TLevel::OpenTutorial() {
    const THotspotRef button = THotspot::FindByTag("TUTORIAL");
    if (button) button->Hide();
    if (TutorialPath == "NULL") {
        DebugLog("Level does not have a tutorial");
        return;
    }
    // A page outside the tutorials' folder is none of the game's tutorials, whatever the line names.
    if (FileKind(TutorialPath) != 1 || !PathWithin(CurrentDirectory() + "/content/tut", TutorialPath)) {
        DebugLog("Tutorial: " + TutorialPath + " is not a valid filename!");
        return;
    }
    if (TutorialOpener) TutorialOpener(TutorialPath, "Tutorial " + IntroPrompt.Title);
    if (button) button->Show();
}
