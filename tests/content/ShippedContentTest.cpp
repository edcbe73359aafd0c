// The game's own content, loaded from content/ through the real loaders: every tag one file names must
// resolve, every level must be winnable in principle, and nothing may produce a content message.
#include "panels/GlobalGadgets.hpp"
#include "panels/Prompt.hpp"
#include "panels/Widget.hpp"
#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/ContentFile.hpp"
#include "rules/Goal.hpp"
#include "rules/GoalMenu.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Layer.hpp"
#include "scene/Radial.hpp"
#include "scene/RadialItem.hpp"
#include "scene/TextSprite.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Level.hpp"
#include "tests/rules/TempContent.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct TRect {
    int x, y, w, h;
    bool Overlaps(const TRect& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

// The display buttons along the canvas edges, the strip of the time bar and the motivation meter.
const std::vector<TRect> Reserved = {{0, 0, 50, 50},     {750, 0, 50, 50},     {350, 505, 100, 75},
                                     {10, 550, 100, 50}, {550, 450, 250, 150}, {0, 0, 800, 60},
                                     {300, 580, 200, 20}};
// While a station's ring is open the job button is hidden (a Gorum with a job cannot open it), and the
// ring may reach down to the strip's lower edge, where the tokens hang from.
const std::vector<TRect> ReservedForRings = {{0, 0, 50, 50},     {750, 0, 50, 50},    {350, 505, 100, 75},
                                             {10, 550, 100, 50}, {300, 580, 200, 20}, {0, 0, 800, 50}};

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool RealTag(const std::string& tag) {
    return !tag.empty() && tag != "NULL";
}

class ShippedContentTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;

    void SetUp() override {
        HeadlessReset();
        SetDebugLogSink([this](const std::string& line) { log.push_back(line); });
        WidgetRegistry.clear();
        PanelLocked = false;
        CurrentPanel = nullptr;
        PromptGroup = nullptr;
        MainWindow = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, StyleTitleBar);
        GameCanvas = AddCanvas(0, 0, 800, 600, MainWindow, 0);
        TPrompt::Build();
        for (const char* tag :
             {"timebar", "stations", "goalstrings", "goals", "iconlayer", "displays", "radials", "text"})
            TLayer::Create(tag);
        TLayer::Select("timebar");
        TTimeBar::Setup();
        Player = TPlayer{};
        TPlayer::InitSkills();
        items = TItem::LoadAll();
        actions = TAction::LoadAll();
        stations = TStation::LoadAll();
        levels = TLevel::LoadAll();
    }
    void TearDown() override {
        SetDebugLogSink(nullptr);
        GoalList.clear();
        GoalCount = 0;
        EvalCursor.reset();
        ItemPages = {};
        LevelRegistry.clear();
        CurrentLevel = nullptr;
        StationList.clear();
        ActionList.clear();
        ItemList.clear();
        OpenRadial.reset();
        RadialList.clear();
        HotspotList.clear();
        for (const TLayerRef& layer : LayerList)
            layer->Sprites.clear();
        CurrentLayer.reset();
        LayerList.clear();
    }

    int items = 0, actions = 0, stations = 0, levels = 0;

    // The loaded levels' names in the order the level list offers them, which is the order of the names.
    static std::vector<std::string> LevelNames() {
        std::vector<std::string> names;
        for (const auto& level : LevelRegistry) {
            // A level file without a name is loaded but never offered, so it has no name to list.
            if (level->Name != "NULL") names.push_back(level->Name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static bool OnAStation(const TAction* action) {
        for (const auto& station : StationList) {
            if (std::find(station->actions.begin(), station->actions.end(), action) != station->actions.end())
                return true;
        }
        return false;
    }
    // The action that a held item runs: a job's work, an asset's weekly turn.
    static const TItem* RunBy(const TAction* action) {
        for (const auto& item : ItemList) {
            if ((item->itemType == "JOB" || item->itemType == "ASSET") && item->actionTag == action->tag)
                return item.get();
        }
        return nullptr;
    }

    // What the Gorum can ever reach in the level, ignoring time: the highest level per skill and every item
    // some usable action hands out, grown until nothing changes.
    struct TReach {
        std::array<int, SkillCount> level{1, 1, 1, 1, 1};
        std::set<std::string> items;
    };
    static TReach Reachable(const TLevel& level) {
        TReach reach;
        for (bool grew = true; grew;) {
            grew = false;
            for (const std::string& tag : level.ActionTags) {
                const TAction* action = TAction::FindByTag(tag);
                const TItem* runner = RunBy(action);
                if (!OnAStation(action) && (runner == nullptr || reach.items.count(runner->tag) == 0))
                    continue;
                bool can = true;
                for (int s = 0; s < SkillCount; ++s)
                    can = can && reach.level[s] >= action->requiredLevels[s];
                for (const std::string& need : action->requiredItems)
                    can = can && (TItem::FindByTag(need) == nullptr || reach.items.count(need) != 0);
                if (!can) continue;
                for (int s = 0; s < SkillCount; ++s) {
                    const int cap = std::min(action->skillCap[s], MaxSkillLevel);
                    if (action->skillBase[s] > 0 && cap > reach.level[s]) {
                        reach.level[s] = cap;
                        grew = true;
                    }
                }
                for (const std::string& given : action->giveItems) {
                    if (TItem::FindByTag(given) != nullptr && reach.items.insert(given).second) grew = true;
                }
            }
        }
        return reach;
    }
};

// An open ring: its buttons clear of the display buttons and of each other, its captions on the canvas.
void CheckRing(const TRadial& radial, const std::string& where) {
    std::vector<TRect> buttons;
    for (const THotspotRef& centre : {radial.CloseButton, radial.HelpButton}) {
        if (centre) buttons.push_back({static_cast<int>(centre->X), static_cast<int>(centre->Y), 25, 25});
    }
    for (const TRadialItemRef& item : radial.Items) {
        if (!item) continue;
        const THotspot& h = *item->Hotspot;
        const TRect r{static_cast<int>(h.X), static_cast<int>(h.Y), h.Width, h.Height};
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= 800 && r.y + r.h <= 600) << where;
        for (const TRect& button : ReservedForRings)
            EXPECT_FALSE(r.Overlaps(button)) << where << " " << h.Tag;
        for (const TRect& other : buttons)
            EXPECT_FALSE(r.Overlaps(other)) << where << " " << h.Tag;
        buttons.push_back(r);
        if (item->Label) {
            EXPECT_GE(item->Label->X, 0.0f) << where << " " << h.Tag;
            EXPECT_LE(item->Label->X + TextWidth(item->Label->Text), 800.0f) << where << " " << h.Tag;
        }
    }
}

TEST_F(ShippedContentTest, LoadsEveryKindWithoutAnyMessage) {
    EXPECT_GE(items, 20);
    EXPECT_LE(items, 30);
    EXPECT_GE(actions, 40);
    EXPECT_LE(actions, 55);
    EXPECT_GE(stations, 9);
    EXPECT_LE(stations, 12);
    EXPECT_GE(levels, 10);
    const std::vector<std::string> names = LevelNames();
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << "two levels share a name";
    EXPECT_EQ(static_cast<int>(StationList.size()), stations); // every station file set its image
    EXPECT_EQ(log, std::vector<std::string>{});
}

TEST_F(ShippedContentTest, TagsAreUniqueAndItemsCoverEveryType) {
    std::set<std::string> seen;
    std::set<std::string> types;
    for (const auto& item : ItemList) {
        EXPECT_TRUE(RealTag(item->tag) && RealTag(item->name)) << item->tag;
        EXPECT_TRUE(seen.insert(item->tag).second) << "item " << item->tag;
        types.insert(item->itemType);
    }
    EXPECT_EQ(types, (std::set<std::string>{"JOB", "ASSET", "NOMINAL", "BUILD"}));
    for (const auto& action : ActionList) {
        EXPECT_TRUE(RealTag(action->tag) && RealTag(action->name)) << action->tag;
        EXPECT_TRUE(seen.insert(action->tag).second) << "action " << action->tag;
    }
    for (const auto& station : StationList) {
        EXPECT_EQ(station->tag.rfind("station_", 0), 0u) << station->tag; // only these open when clicked
        EXPECT_TRUE(seen.insert(station->tag).second) << "station " << station->tag;
    }
    for (const auto& level : LevelRegistry)
        EXPECT_TRUE(seen.insert("level " + level->Name).second) << level->Name;
}

TEST_F(ShippedContentTest, ItemsActionsAndStationsReferToEachOther) {
    for (const auto& item : ItemList) {
        if (item->itemType == "JOB" || item->itemType == "ASSET") {
            // Held items act only through offered actions, and every level offers the auto-add ones.
            const TAction* run = TAction::FindByTag(item->actionTag);
            ASSERT_NE(run, nullptr) << item->tag;
            EXPECT_EQ(run->autoAdd, 1) << item->tag;
        }
        if (item->itemType == "JOB") {
            const TAction* quit = TAction::FindByTag(item->quitActionTag);
            ASSERT_NE(quit, nullptr) << item->tag;
            EXPECT_EQ(quit->autoAdd, 1) << item->tag;
            EXPECT_NE(std::find(quit->takeItems.begin(), quit->takeItems.end(), item->tag),
                      quit->takeItems.end())
                << "quitting " << item->tag << " must hand the job back";
            EXPECT_GT(item->wealthCap, 0) << item->tag;
            EXPECT_NE(item->FindGivingAction(), nullptr) << item->tag;
            // The goal menu warns beyond the cap, so working the job must reach exactly that far.
            const int wealth = 3; // skill kinds: Fitness, Mental, Social, Wealth, Leadership
            const TAction* work = TAction::FindByTag(item->actionTag);
            EXPECT_EQ(work->skillBase[wealth] > 0 ? work->skillCap[wealth] : 0, item->wealthCap) << item->tag;
        }
        if (item->itemType == "BUILD") {
            EXPECT_TRUE(item->tag == "home_manor" || item->tag == "home_castle") << item->tag;
        }
    }
    for (const auto& action : ActionList) {
        for (const auto* list : {&action->giveItems, &action->takeItems, &action->requiredItems}) {
            for (const std::string& tag : *list) {
                if (RealTag(tag)) {
                    EXPECT_NE(TItem::FindByTag(tag), nullptr) << action->tag << " names " << tag;
                }
            }
        }
        for (int s = 0; s < SkillCount; ++s) {
            if (action->skillBase[s] > 0) {
                EXPECT_GE(action->skillCap[s], 2) << action->tag;
                EXPECT_LE(action->skillCap[s], MaxSkillLevel) << action->tag;
            }
        }
        if (action->tag.rfind("action_jobapply", 0) == 0) {
            const TItem* job = TItem::FindByTag(action->giveItems[0]);
            ASSERT_NE(job, nullptr) << action->tag;
            EXPECT_EQ(job->itemType, "JOB") << action->tag;
        }
        // Every action is either picked at a station or run by a held item.
        EXPECT_TRUE(OnAStation(action.get()) || RunBy(action.get()) != nullptr ||
                    action->tag == "action_quit_job")
            << action->tag;
    }
    // The jobs the Leadership warning names lead exactly as far as it lets a goal reach without a cross.
    const std::vector<std::pair<std::string, int>> leaders = {
        {"job_councilmember", 5}, {"job_masterhuntsman", 5}, {"job_executive", 8},
        {"job_guildmaster", 8},   {"job_villageelder", 9},   {"job_chancellor", 10}};
    for (const auto& [tag, reach] : leaders) {
        const TItem* job = TItem::FindByTag(tag);
        ASSERT_NE(job, nullptr) << tag;
        EXPECT_EQ(job->itemType, "JOB") << tag;
        const TAction* work = TAction::FindByTag(job->actionTag);
        ASSERT_NE(work, nullptr) << tag;
        EXPECT_EQ(work->skillCap[4], reach) << tag;
    }
    const TStation* home = TStation::FindByTag("station_home");
    ASSERT_NE(home, nullptr);
    EXPECT_NE(home->images[1], nullptr);
    EXPECT_NE(home->images[2], nullptr);
}

TEST_F(ShippedContentTest, EveryStationActionLineNamesAnAction) {
    // The station loader drops unknown action tags silently, so the lines are counted here.
    int files = 0;
    TContentFile::LoadDirectory("content/stations", [&](const std::string& path) {
        ++files;
        TContentFile file = TContentFile::Open(path);
        const std::string tag = TContentFile::QuotedArg(file.FindSingle("TAG="), 0);
        std::vector<std::string> named;
        for (std::string line = file.FindLine("SetAction"); line != "NULL"; line = file.FindLine("SetAction"))
            named.push_back(TContentFile::QuotedArg(line, 0));
        file.Close();
        const TStation* station = TStation::FindByTag(tag);
        ASSERT_NE(station, nullptr) << path;
        ASSERT_EQ(station->actions.size(), named.size()) << path;
        for (size_t i = 0; i < named.size(); ++i)
            EXPECT_EQ(station->actions[i]->tag, named[i]) << path;
    });
    EXPECT_EQ(files, stations);
}

TEST_F(ShippedContentTest, LevelsGrowInLengthAndEachFinalGoalIsReachable) {
    int previousLength = 0;
    for (const std::string& name : LevelNames()) {
        const TLevel* level = TLevel::FindByName(name);
        ASSERT_NE(level, nullptr) << name;
        EXPECT_GT(level->Length, previousLength) << name;
        previousLength = level->Length;
        EXPECT_LE(level->ItemTags.size(), static_cast<size_t>(MaxItemChoices)) << name;
        EXPECT_NE(level->IntroPrompt.Title, "NULL") << name;
        EXPECT_NE(level->IntroPrompt.Text, "NULL") << name;
        // The intro prompt shows four lines of about this width; more is cut off.
        int lines = 0;
        for (size_t start = 0; start != std::string::npos; ++lines) {
            const size_t end = level->IntroPrompt.Text.find("~n", start);
            const std::string line = level->IntroPrompt.Text.substr(start, end - start);
            EXPECT_LE(line.size(), 46u) << name << ": " << line;
            start = end == std::string::npos ? end : end + 2;
        }
        EXPECT_LE(lines, 4) << name;

        const TReach reach = Reachable(*level);
        // The goal menu offers each item once, and only what the level can give.
        std::set<std::string> offered;
        for (const std::string& tag : level->ItemTags) {
            EXPECT_TRUE(offered.insert(tag).second) << name << " offers " << tag << " twice";
            EXPECT_EQ(reach.items.count(tag), 1u) << name << " offers " << tag << ", which it cannot give";
        }
        if (TItem::FindByTag(level->ItemGoal) != nullptr) {
            EXPECT_EQ(reach.items.count(level->ItemGoal), 1u) << name << " cannot give " << level->ItemGoal;
        } else {
            ASSERT_GE(level->SkillGoalKind, 0) << name;
            ASSERT_LT(level->SkillGoalKind, SkillCount) << name;
            EXPECT_GT(level->SkillGoalLevel, 1) << name;
            EXPECT_GE(reach.level[level->SkillGoalKind], level->SkillGoalLevel) << name;
        }
    }
    const std::vector<std::string> names = LevelNames();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string path = TLevel::FindByName(names[i])->TutorialPath;
        EXPECT_EQ(path, CurrentDirectory() + "/content/tut/Tutorial" + std::to_string(i + 1) + ".html");
        EXPECT_EQ(FileKind(path), 1) << path;
    }
}

// The level of assets cannot be won without the Bank: with its actions taken away, the goal is out of reach.
TEST_F(ShippedContentTest, TheFifthLevelNeedsTheBank) {
    TLevel withoutBank = *TLevel::FindByName("05");
    const TStation* bank = TStation::FindByTag("station_bank");
    ASSERT_NE(bank, nullptr);
    std::erase_if(withoutBank.ActionTags, [&](const std::string& tag) {
        return std::find(bank->actions.begin(), bank->actions.end(), TAction::FindByTag(tag)) !=
               bank->actions.end();
    });
    ASSERT_NE(TItem::FindByTag(withoutBank.ItemGoal), nullptr) << "the fifth level's goal is a thing";
    EXPECT_EQ(Reachable(*TLevel::FindByName("05")).items.count(withoutBank.ItemGoal), 1u);
    EXPECT_EQ(Reachable(withoutBank).items.count(withoutBank.ItemGoal), 0u);
}

TEST_F(ShippedContentTest, TheLevelListCallsEachLevelByItsIntroTitleAndLength) {
    const std::string page = ReadText("content/html/MainMenu.html");
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("//"), std::string::npos) << "no remote resource";
    for (const std::string& name : LevelNames()) {
        const TLevel* level = TLevel::FindByName(name);
        ASSERT_NE(level, nullptr) << name;
        const size_t link = page.find("href=\"redirects\\levelnum" + name + ".html\"");
        ASSERT_NE(link, std::string::npos) << name;
        const std::string entry = page.substr(link, page.find("</a>", link) - link);
        EXPECT_NE(entry.find("<b>" + level->IntroPrompt.Title + "</b>"), std::string::npos) << entry;
        EXPECT_NE(entry.find(">" + std::to_string(level->Length) + " weeks<"), std::string::npos) << entry;
    }
}

TEST_F(ShippedContentTest, EveryItemNamesAnIconThatExists) {
    TContentFile::LoadDirectory("content/items", [&](const std::string& path) {
        TContentFile file = TContentFile::Open(path);
        const std::string icon = TContentFile::QuotedArg(file.FindSingle("SetIcon"), 0);
        file.Close();
        EXPECT_EQ(FileKind(icon), 1) << path << ": " << icon;
    });
}

TEST_F(ShippedContentTest, StartedLevelsShowPlacedStationsClearOfButtonsAndEachOther) {
    for (const std::string& name : LevelNames()) {
        TLevel* level = TLevel::FindByName(name);
        ASSERT_NE(level, nullptr);
        level->Start();
        EXPECT_EQ(CurrentLevel, level);
        EXPECT_EQ(Prompt.Kind, "CUSTOM");
        ASSERT_EQ(GoalList.size(), 1u) << name;
        EXPECT_EQ(GoalList.front()->deadline, level->Length) << name;

        std::vector<TRect> shown;
        for (const auto& station : StationList) {
            const bool active = station->target->Inactive == 0;
            const bool placed =
                std::any_of(level->Placements.begin(), level->Placements.end(),
                            [&](const TStationPlacement& p) { return p.Station == station.get(); });
            // A shown station must stand where this level put it, not where an earlier level left it.
            EXPECT_EQ(active, placed) << name << " " << station->tag;
            if (!active) continue;
            const TRect r{static_cast<int>(station->target->X), static_cast<int>(station->target->Y),
                          station->target->Width, station->target->Height};
            EXPECT_GT(r.w, 0) << station->tag;
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= 800 && r.y + r.h <= 600)
                << name << " " << station->tag;
            for (const TRect& button : Reserved)
                EXPECT_FALSE(r.Overlaps(button)) << name << " " << station->tag;
            for (const TRect& other : shown)
                EXPECT_FALSE(r.Overlaps(other)) << name << " " << station->tag;
            shown.push_back(r);
            CheckRing(*station->radial, name + " " + station->tag);
        }
        EXPECT_GE(shown.size(), 3u) << name;
    }
}

// The shipped game with broken files among its content: each loads as an entry without a tag or name. No
// lookup by "NULL" may find one, or every action's short item list would give it and the levels would
// offer it until the goal menu stops the game with "Too many item choices!".
class BrokenContentFilesTest : public ShippedContentTest {
  protected:
    TTempContent scratch;
    std::filesystem::path home = std::filesystem::current_path();

    void SetUp() override {
        std::filesystem::copy(home / "content", scratch.root / "content",
                              std::filesystem::copy_options::recursive);
        std::filesystem::create_directory_symlink(home / "media", scratch.root / "media");
        std::string utf16 = "\xFF\xFE"; // a byte-order mark, then each character and a zero byte
        for (const char c : std::string("TAG=\"x\"\n")) {
            utf16 += c;
            utf16 += '\0';
        }
        for (const char* kind : {"items", "actions", "stations", "levels"}) {
            const std::filesystem::path dir = scratch.root / "content" / kind;
            scratch.Write(std::string("content/") + kind + "/Empty.txt", "");
            scratch.Write(std::string("content/") + kind + "/Utf16.txt", utf16);
            mkfifo((dir / "Fifo.txt").c_str(), 0600);
            std::filesystem::create_directory(dir / "Folder.txt");
            std::filesystem::create_symlink("/dev/zero", dir / "Device.txt");
            std::filesystem::create_symlink("Loop.txt", dir / "Loop.txt");
        }
        // A station needs only its picture to be made.
        scratch.Write("content/stations/Untagged.txt",
                      "SetImage(\"media/stations/Bank.png\", \"100\", \"100\")\n");
        std::filesystem::current_path(scratch.root);
        ShippedContentTest::SetUp();
    }
    void TearDown() override {
        ShippedContentTest::TearDown();
        std::filesystem::current_path(home);
    }
};

TEST_F(BrokenContentFilesTest, AreNeverFoundAndEveryLevelStartsWithItsOwnItems) {
    // The shipped levels are the ones in the game's own folder; the broken files are loaded without a name.
    const std::vector<std::string> shipped = LevelNames();
    const auto files = std::distance(std::filesystem::directory_iterator(home / "content" / "levels"), {});
    ASSERT_EQ(static_cast<long>(shipped.size()), files);
    ASSERT_EQ(levels, files + 6);
    const auto untagged = [](const auto& list, auto field) {
        return std::count_if(list.begin(), list.end(), [&](const auto& e) { return (*e).*field == "NULL"; });
    };
    EXPECT_EQ(untagged(ItemList, &TItem::tag), 6);
    EXPECT_EQ(untagged(ActionList, &TAction::name), 6);
    EXPECT_EQ(untagged(LevelRegistry, &TLevel::Name), 6);
    EXPECT_EQ(untagged(StationList, &TStation::tag), 1);
    EXPECT_EQ(TStation::FindByTag("NULL"), nullptr);
    EXPECT_EQ(TStation::FindByTargetTag("NULL"), nullptr);
    EXPECT_EQ(TItem::FindByTag("NULL"), nullptr);
    EXPECT_EQ(TAction::FindByTag("NULL"), nullptr);
    EXPECT_EQ(TAction::FindByName("NULL"), nullptr);
    EXPECT_EQ(TLevel::FindByName("NULL"), nullptr);
    for (const std::string& name : shipped) {
        TLevel* level = TLevel::FindByName(name);
        ASSERT_NE(level, nullptr);
        for (const std::string& tag : level->ItemTags)
            EXPECT_NE(tag, "NULL") << name;
        ASSERT_LE(level->ItemTags.size(), static_cast<size_t>(ItemsPerPage * MaxItemPages)) << name;
        level->Start(); // ends the program when the goal menu cannot hold the level's items
        EXPECT_EQ(level->IntroPrompt.Note.find("NULL"), std::string::npos) << level->IntroPrompt.Note;
    }
}

} // namespace
