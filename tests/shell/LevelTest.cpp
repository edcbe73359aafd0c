#include "shell/Level.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/Prompt.hpp"
#include "panels/Widget.hpp"
#include "scene/TimeBar.hpp"
#include "tests/rules/GoalFixture.hpp"

#include <string>
#include <vector>

namespace {

class LevelTest : public GoalTest {
  protected:
    THotspotRef tutorialButton;
    std::vector<std::string> tutorials;

    void SetUp() override {
        GoalTest::SetUp();
        LevelRegistry.clear();
        CurrentLevel = nullptr;
        WidgetRegistry.clear();
        PanelLocked = false;
        CurrentPanel = nullptr;
        PromptGroup = nullptr;
        MainWindow = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, StyleTitleBar);
        GameCanvas = AddCanvas(0, 0, 800, 600, MainWindow, 0);
        TPrompt::Build();
        ItemPages = {};
        TLayer::Create("timebar");
        TTimeBar::Setup();
        TLayer::Select("text");
        tutorialButton = THotspot::CreateForSprite(TSprite::Create(1), "TUTORIAL", "_DISPLAY");
        TutorialOpener = [this](const std::string& path, const std::string& title) {
            tutorials.push_back(path + "|" + title);
        };
        dir.WriteBmp("art/s.bmp", 100, 100);
        dir.WriteBmp("art/alt.bmp", 100, 100);
        Item("shoes");
        Item("medal");
        Unlocked("TAG=\"jog\"\nNAME=\"Jog\"\nGiveSkill(\"Fitness\",\"\",\"\",\"5\")\nGiveItem(\"shoes\")\n"
                 "GiveItem(\"ghost\")\nGiveItem(\"medal\")\n");
        Action("TAG=\"read\"\nNAME=\"Read\"\nGiveSkill(\"Mental\",\"\",\"\",\"5\")\n");
        Action("TAG=\"rest\"\nNAME=\"Rest\"\nAutoAdd\nGiveItem(\"medal\")\n");
        Action("TAG=\"nap\"\nNAME=\"Nap\"\n");
        Station("station_gym", "jog", "SetAlternate(\"art/alt.bmp\",\"100\",\"100\",\"0\",\"1\")\n");
        Station("station_library", "read", "");
        Station("station_bed", "nap", "");
        log.clear();
    }
    void TearDown() override {
        TutorialOpener = nullptr;
        tutorialButton.reset();
        ItemPages = {};
        LevelRegistry.clear();
        CurrentLevel = nullptr;
        GoalTest::TearDown();
    }
    void Station(const std::string& tag, const std::string& action, const std::string& extra) {
        TStation::Load(
            dir.Write(NextName("stations"), "SetImage(\"art/s.bmp\",\"100\",\"100\",\"0\",\"1\")\nTAG=\"" +
                                                tag + "\"\nSetPosition(\"7\",\"9\")\nSetAction(\"" + action +
                                                "\")\n" + extra));
    }
    TLevel* Level(const std::string& text) { return TLevel::Load(dir.Write(NextName("levels"), text)); }
    static bool Shown(const TStation* station) { return station->target->Inactive == 0; }
    // Slots that hold an entry; every menu keeps one slot more than it has entries.
    static size_t Filled(const TRadialRef& radial) {
        size_t n = 0;
        for (const TRadialItemRef& item : radial->Items)
            n += item != nullptr ? 1 : 0;
        return n;
    }
};

TEST_F(LevelTest, LoadsEveryKeyAndResolvesTags) {
    TLevel* level =
        Level("NAME=\"01\"\nTITLE=\"First~nSteps\"\nINFO=\"Run!\"\nLENGTH=\"12\"\n"
              "SetItemGoal(\"medal\")\nSetSkillGoal(\"2\", \"6\")\n"
              "SetStation(\"station_gym\", \"300\", \"$20\")\nSetStation(\"station_none\", \"1\", \"1\")\n"
              "SetStation(\"NULL\")\nAddAction(\"jog\")\nAddAction(\"fly\")\nAddAction(\"NULL\")\n"
              "Tutorial(\"T1.html\")\n");
    EXPECT_EQ(level->Name, "01");
    EXPECT_EQ(level->IntroPrompt.Title, "First~nSteps"); // converted only when shown
    EXPECT_EQ(level->IntroPrompt.Text, "Run!");
    EXPECT_EQ(level->IntroPrompt.PrimaryLabel, "Okay");
    EXPECT_EQ(level->IntroPrompt.SecondaryLabel, "NULL");
    EXPECT_EQ(level->IntroPrompt.ShowClose, 0);
    EXPECT_EQ(level->IntroPrompt.ShowHelp, 0);
    EXPECT_EQ(level->Length, 12);
    EXPECT_EQ(level->TutorialPath, CurrentDirectory() + "/content/tut/T1.html");
    EXPECT_EQ(level->ItemGoal, "medal");
    EXPECT_EQ(level->SkillGoalKind, 2);
    EXPECT_EQ(level->SkillGoalLevel, 6);
    ASSERT_EQ(level->Placements.size(), 1u);
    EXPECT_EQ(level->Placements[0].Station, TStation::FindByTag("station_gym"));
    EXPECT_EQ(level->Placements[0].X, 300);
    EXPECT_EQ(level->Placements[0].Y, 32);
    // The auto-add action comes before the level's own list.
    EXPECT_EQ(level->ActionTags, (std::vector<std::string>{"rest", "jog"}));
    // Given items in slot order, each once, unknown tags and the closing "NULL" dropped; the auto-add
    // action's medal counts only because the jog gives one too, as no station runs it.
    EXPECT_EQ(level->ItemTags, (std::vector<std::string>{"shoes", "medal"}));
    EXPECT_EQ(log, (std::vector<std::string>{"WARNING: station_none is not a valid station tag!",
                                             "WARNING: fly is not a valid action tag!"}));
    EXPECT_EQ(LevelRegistry.size(), 1u);
    EXPECT_EQ(LevelRegistry[0].get(), level);
}

// The goal menu offers what the level can hand out: an auto-add work action's item only where the job is
// given, an asset's weekly turn only where the asset is, and nothing twice.
TEST_F(LevelTest, ItemChoicesComeFromActionsThatCanRunInTheLevel) {
    Item("coin");
    Item("plot", "ASSET", "AutoAction(\"grow\")\n");
    Item("job_cook", "JOB", "LockAction(\"cook\", \"nap\")\n");
    Action("TAG=\"cook\"\nAutoAdd\nGiveItem(\"coin\")\nGiveItem(\"plot\")\n");
    Action("TAG=\"grow\"\nAutoAdd\nGiveItem(\"shoes\")\n");
    Action("TAG=\"apply\"\nGiveItem(\"job_cook\")\nGiveItem(\"coin\")\n");
    Station("station_kitchen", "apply", "");
    EXPECT_EQ(Level("AddAction(\"nap\")\n")->ItemTags, std::vector<std::string>{});
    EXPECT_EQ(Level("AddAction(\"apply\")\n")->ItemTags,
              (std::vector<std::string>{"coin", "plot", "shoes", "job_cook"}));
}

TEST_F(LevelTest, UnreadableFileStillYieldsALevelOfAbsentKeys) {
    TLevel* level = TLevel::Load("content/levels/missing.txt");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Name, "NULL");
    EXPECT_EQ(level->IntroPrompt.Title, "NULL");
    EXPECT_EQ(level->IntroPrompt.Text, "NULL");
    EXPECT_EQ(level->ItemGoal, "NULL");
    EXPECT_EQ(level->Length, 0);
    EXPECT_EQ(level->SkillGoalKind, 0);
    EXPECT_EQ(level->SkillGoalLevel, 0);
    EXPECT_EQ(level->TutorialPath, "NULL");
    EXPECT_EQ(level->ActionTags, (std::vector<std::string>{"rest"}));
    EXPECT_TRUE(level->Placements.empty());
    // "NULL" is the name of no level, so a lookup by a missing name cannot start this one.
    EXPECT_EQ(TLevel::FindByName("NULL"), nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(LevelTest, AddAllActionsTwiceListsAutoAddAndOneRemovalKeepsOneCopy) {
    TLevel* level = Level("AddAllActions()\nRemoveAction(\"rest\")\nRemoveAction(\"read\")\n"
                          "RemoveAction(\"fly\")\nRemoveAction(\"read\")\n");
    EXPECT_EQ(level->ActionTags, (std::vector<std::string>{"jog", "nap", "rest"}));
    EXPECT_TRUE(log.empty()); // unknown removals are silent
    level->Start();
    EXPECT_EQ(TAction::FindByTag("rest")->locked, 0);
    EXPECT_EQ(TAction::FindByTag("read")->locked, 1);
}

TEST_F(LevelTest, TutorialWordInAnEarlierLineIsTakenAsTheTutorialLine) {
    TLevel* level = Level("TITLE=\"The Tutorial Level\"\nTutorial(\"real.html\")\n");
    EXPECT_EQ(level->TutorialPath, CurrentDirectory() + "/content/tut/The Tutorial Level");
}

TEST_F(LevelTest, FindByNameIsExactAndFirstLoadedWins) {
    TLevel* first = Level("NAME=\"02\"\nLENGTH=\"5\"\n");
    Level("NAME=\"02\"\nLENGTH=\"9\"\n");
    EXPECT_EQ(TLevel::FindByName("02"), first);
    EXPECT_EQ(TLevel::FindByName("2"), nullptr);
    EXPECT_EQ(TLevel::FindByName("02 "), nullptr);
    EXPECT_EQ(TLevel::LoadAll(), 0); // no content/levels folder here
}

TEST_F(LevelTest, LoadAllReadsOnlyTxtFilesOfTheLevelsFolder) {
    dir.Write("content/levels/a.txt", "NAME=\"01\"\n");
    dir.Write("content/levels/b.TXT", "NAME=\"02\"\n");
    EXPECT_EQ(TLevel::LoadAll(), 1);
    ASSERT_NE(TLevel::FindByName("01"), nullptr);
    EXPECT_EQ(TLevel::FindByName("02"), nullptr);
}

TEST_F(LevelTest, StartResetsTheWorldForTheLevel) {
    TLevel* level = Level("NAME=\"01\"\nTITLE=\"Run~nFast\"\nINFO=\"Go~n!\"\nLENGTH=\"8\"\n"
                          "SetItemGoal(\"medal\")\nSetStation(\"station_gym\",\"200\",\"150\")\n"
                          "SetStation(\"station_gym\",\"400\",\"250\")\nAddAction(\"jog\")\n");
    TStation* gym = TStation::FindByTag("station_gym");
    TStation* library = TStation::FindByTag("station_library");
    gym->UseAlternate(1);
    TStation::Activate(library);
    CurrentWeek = 5;
    Player.skillLevel[0] = 4;
    TPlayer::GiveItemTag("shoes");
    TGoal::CreateSkillGoal(1, 3);
    Mechanism->SetPosition(400, 20);

    level->Start();

    EXPECT_EQ(CurrentLevel, level);
    EXPECT_EQ(LevelLength, 8);
    EXPECT_EQ(CurrentWeek, 1);
    EXPECT_FLOAT_EQ(Mechanism->X, TTimeBar::WeekX(1) - 50.0f);
    EXPECT_FLOAT_EQ(Mechanism->Y, 20.0f);
    EXPECT_EQ(Player.skillLevel[0], 1);
    EXPECT_EQ(TPlayer::HasItemTag("shoes"), 0);
    // The later placement wins; the library's own position stays as loaded but it offers nothing here.
    EXPECT_FLOAT_EQ(gym->target->X, 400.0f);
    EXPECT_FLOAT_EQ(gym->target->Y, 250.0f);
    EXPECT_EQ(gym->x, 7);
    EXPECT_EQ(gym->imageIndex, 0);
    EXPECT_EQ(gym->target->Sprite, gym->images[0]);
    EXPECT_TRUE(Shown(gym));
    EXPECT_FALSE(Shown(library));
    EXPECT_FALSE(Shown(TStation::FindByTag("station_bed")));
    ASSERT_NE(gym->radial, nullptr);
    EXPECT_EQ(Filled(gym->radial), 1u);
    ASSERT_NE(library->radial, nullptr);
    EXPECT_EQ(Filled(library->radial), 0u);
    EXPECT_EQ(TAction::FindByTag("jog")->locked, 0);
    EXPECT_EQ(TAction::FindByTag("rest")->locked, 0);
    EXPECT_EQ(TAction::FindByTag("read")->locked, 1);

    ASSERT_EQ(GoalList.size(), 1u);
    const TGoalRef& goal = GoalList.front();
    EXPECT_EQ(goal->final, 1);
    EXPECT_EQ(goal->deadline, 8);
    EXPECT_EQ(goal->itemTag, "medal");

    EXPECT_EQ(Prompt.Kind, "CUSTOM");
    EXPECT_EQ(Prompt.Title, "Run\nFast");
    EXPECT_EQ(Prompt.Info1, "Go\n!");
    EXPECT_EQ(Prompt.Info2, TPrompt::DescribeGoal(0, 0, "Name of medal") + " by week 8");
    EXPECT_EQ(Prompt.Primary, "Okay");
    EXPECT_EQ(Prompt.Secondary, "NULL");
    EXPECT_EQ(Prompt.ShowClose, 0);
    EXPECT_EQ(Prompt.ShowHelp, 0);
    EXPECT_EQ(level->IntroPrompt.Title, "Run\nFast");
    // Item choices: jog's shoes and medal, once each.
    EXPECT_EQ(LastPage, 0);
    ASSERT_NE(ItemPages[0], nullptr);
    EXPECT_EQ(Filled(ItemPages[0]), 2u);
}

TEST_F(LevelTest, APlacedStationWithEveryActionLockedIsNeitherDrawnNorClickable) {
    TLevel* level = Level("LENGTH=\"4\"\nSetStation(\"station_library\",\"300\",\"200\")\n"
                          "SetStation(\"station_gym\",\"100\",\"200\")\nAddAction(\"jog\")\n");
    TStation* library = TStation::FindByTag("station_library");
    TStation* gym = TStation::FindByTag("station_gym");
    level->Start();
    EXPECT_FALSE(Shown(library));
    EXPECT_EQ(library->target->Sprite->Hidden, 1);
    // Opening and closing another station's menu hands control back to that station only.
    gym->radial->Open();
    gym->radial->Close(1);
    library->radial->Close(1);
    EXPECT_FALSE(Shown(library));
    EXPECT_TRUE(Shown(gym));
    EXPECT_EQ(gym->target->Sprite->Hidden, 0);
}

TEST_F(LevelTest, UnknownItemGoalBecomesTheSkillGoal) {
    TLevel* level = Level("NAME=\"03\"\nLENGTH=\"20\"\nSetItemGoal(\"crown\")\nSetSkillGoal(\"4\",\"7\")\n");
    level->Start();
    ASSERT_EQ(GoalList.size(), 1u);
    const TGoalRef& goal = GoalList.front();
    EXPECT_EQ(goal->itemTag, "");
    EXPECT_EQ(goal->skill, 4);
    EXPECT_EQ(goal->targetLevel, 7);
    EXPECT_EQ(goal->deadline, 20);
    EXPECT_EQ(Prompt.Info2, TPrompt::DescribeGoal(4, 7, "") + " by week 20");
}

TEST_F(LevelTest, LevelWithoutGivenItemsOffersOneEmptyItemPage) {
    TLevel* level = Level("LENGTH=\"4\"\nAddAction(\"nap\")\n");
    Action("TAG=\"spare\"\n"); // loaded after the level: the level never saw it
    TAction::FindByTag("rest")->giveItems = {};
    level->ItemTags.clear();
    level->Start();
    EXPECT_EQ(LastPage, 0);
    ASSERT_NE(ItemPages[0], nullptr);
    EXPECT_EQ(Filled(ItemPages[0]), 0u);
    EXPECT_EQ(ItemPages[1], nullptr);
}

TEST_F(LevelTest, TutorialOpensOnlyForAnExistingPage) {
    TLevel* none = Level("TITLE=\"A\"\n");
    TLevel* missing = Level("TITLE=\"B\"\nTutorial(\"gone.html\")\n");
    TLevel* present = Level("TITLE=\"C\"\nTutorial(\"T1.html\")\n");
    dir.Write("content/tut/T1.html", "<html></html>");
    dir.Dir("content/tut/gone.html"); // a folder is not a page

    present->Start();
    EXPECT_EQ(tutorials, (std::vector<std::string>{present->TutorialPath + "|Tutorial C"}));
    EXPECT_EQ(tutorialButton->Inactive, 0);

    log.clear();
    none->Start();
    EXPECT_TRUE(Logged("Level does not have a tutorial"));
    EXPECT_EQ(tutorialButton->Inactive, 1);

    missing->Start();
    EXPECT_TRUE(Logged("Tutorial: " + missing->TutorialPath + " is not a valid filename!"));
    EXPECT_EQ(tutorialButton->Inactive, 1);
    EXPECT_EQ(tutorials.size(), 1u);
}

TEST_F(LevelTest, RestartAfterPlayingResetsExactlyAsTheFirstStart) {
    TLevel* level =
        Level("LENGTH=\"6\"\nSetSkillGoal(\"0\",\"3\")\nSetStation(\"station_gym\",\"50\",\"60\")\n"
              "AddAction(\"jog\")\n");
    level->Start();
    const int firstSerial = GoalSerial;
    TGoal::CreateSkillGoal(1, 2);
    TAction* jog = TAction::FindByTag("jog");
    TPlayer::DoWeek(jog, true);
    TPlayer::DoWeek(jog, true);
    TStation::FindByTag("station_gym")->SetPosition(600, 400);
    ASSERT_EQ(CurrentWeek, 3);
    ASSERT_GT(Player.skillPoints[0] + (Player.skillLevel[0] - 1) * 10, 0);

    level->Start();
    EXPECT_EQ(CurrentWeek, 1);
    EXPECT_EQ(Player.skillLevel[0], 1);
    EXPECT_EQ(Player.skillPoints[0], 0);
    EXPECT_EQ(TPlayer::HasItemTag("shoes"), 0);
    EXPECT_FLOAT_EQ(Player.motivation, 50.0f);
    ASSERT_EQ(GoalList.size(), 1u);
    EXPECT_EQ(GoalList.front()->final, 1);
    EXPECT_EQ(GoalList.front()->deadline, 6);
    EXPECT_EQ(GoalList.front()->skill, 0);
    EXPECT_EQ(GoalList.front()->targetLevel, 3);
    EXPECT_GT(GoalSerial, firstSerial); // token numbers keep counting
    EXPECT_FLOAT_EQ(TStation::FindByTag("station_gym")->target->X, 50.0f);
    EXPECT_FLOAT_EQ(TStation::FindByTag("station_gym")->target->Y, 60.0f);
}

} // namespace
