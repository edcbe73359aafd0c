// Whole screens of the game on the headless backend with the shipped content: level links on the menu
// page, the click tables of the world, and the panels' buttons.

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "panels/StatsPanel.hpp"
#include "panels/TutorialWindow.hpp"
#include "panels/Widget.hpp"
#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/Goal.hpp"
#include "rules/GoalMenu.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Radial.hpp"
#include "scene/TextSprite.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Level.hpp"
#include "shell/Main.hpp"
#include "shell/SceneAssembly.hpp"
#include "shell/WorldTick.hpp"
#include "tests/scene/SceneSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class DispatchTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;

    void SetUp() override {
        // The tutorial's own state goes first; its window then goes with its widget.
        TTutorialWindow::Close();
        while (!WidgetRegistry.empty())
            WidgetRegistry.front()->Destroy();
        HeadlessReset();
        // Every case starts from an empty world, as the program does, even when one process runs them all.
        ResetSceneState();
        ItemPages = {};
        GoalList.clear();
        GoalCount = 0;
        EvalCursor.reset();
        PlanningTemplate.reset();
        FocusedTemplate.reset();
        FinalTemplate.reset();
        ItemList.clear();
        ActionList.clear();
        StationList.clear();
        LevelRegistry.clear();
        CurrentLevel = nullptr;
        Player = TPlayer{};
        SetDebugLogSink([this](const std::string& line) { log.push_back(line); });
        QuitRequested = false;
        PanelLocked = false;
        CurrentPanel = nullptr;
        ASSERT_EQ(Main(), 0);
        ASSERT_FALSE(LevelRegistry.empty()) << "the shipped levels did not load";
    }

    static void Follow(const std::string& redirect) {
        HeadlessFollowLink(MenuView, CurrentDirectory() + "/content/html\\redirects\\" + redirect);
        HeadlessAdvanceClock(16);
        RunMainLoop();
    }

    static void Press(TGadget button) {
        HeadlessPressButton(button);
        RunMainLoop();
    }

    // A level running, its introduction closed.
    static void PlayLevel(const std::string& name) {
        Follow("levelnum" + name + ".html");
        ASSERT_EQ(Prompt.Kind, "CUSTOM");
        Press(PromptPrimary);
        ASSERT_FALSE(PanelLocked);
    }
    static void PlayFirstLevel() { PlayLevel("01"); }

    // Frames of the game: the frame timer ticks and the loop runs dry, painting included.
    static void Tick(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            HeadlessAdvanceClock(16);
            RunMainLoop();
        }
        HeadlessClearDrawCalls();
    }

    static void Pointer(int id, int button, int x, int y) {
        HeadlessEmit(TEvent{.id = id, .source = GameCanvas, .data = button, .x = x, .y = y});
        Tick();
    }

    // The player moves onto the shown hotspot with the tag, presses and lets go, a frame each.
    static void ClickOn(const std::string& tag, int button = 1) {
        THotspotRef target;
        for (const THotspotRef& hotspot : HotspotList) {
            if (hotspot->Tag == tag && hotspot->Inactive == 0) {
                target = hotspot;
                break;
            }
        }
        ASSERT_NE(target, nullptr) << tag << " is not there to be clicked";
        ClickAt(static_cast<int>(target->X) + target->Width / 2,
                static_cast<int>(target->Y) + target->Height / 2, button);
    }
    static void ClickAt(int x, int y, int button = 1) {
        Pointer(MouseMove, 0, x, y);
        Pointer(MouseDown, button, x, y);
        Pointer(MouseUp, button, x, y);
    }
    // The statistics button's corner that the time bar's mechanism does not cover.
    static void ClickPlayerStats() {
        ClickAt(10, 10);
        ASSERT_TRUE(PanelLocked);
        ASSERT_EQ(StatsMode, 0);
    }

    // A week at the gym of level 01, up to its weekly review.
    static void TrainAWeek() {
        ClickOn("station_gym");
        ASSERT_NE(OpenRadial, nullptr);
        ClickOn(OpenRadial->Items.front()->Hotspot->Tag);
        ASSERT_EQ(StatsMode, 1);
        ASSERT_TRUE(PanelLocked);
    }

    // A focused goal the week at the gym cannot reach, missed at its deadline next week.
    static TGoalRef MissAGoal() {
        TGoalRef goal = TGoal::CreateSkillGoal(1, 9);
        goal->Focus();
        TrainAWeek();
        Press(StatsConfirm);
        EXPECT_EQ(Prompt.Kind, "GOALFAIL");
        EXPECT_EQ(Prompt.Subject, goal);
        return goal;
    }
};

TEST_F(DispatchTest, ALevelLinkStartsItsLevelAndClosesTheMenu) {
    Follow("levelnum01.html");
    ASSERT_NE(CurrentLevel, nullptr);
    EXPECT_EQ(CurrentLevel->Name, "01");
    EXPECT_TRUE(MenuClosed);
    EXPECT_FALSE(WorldHidden);
    EXPECT_EQ(Prompt.Kind, "CUSTOM");
    EXPECT_TRUE(PanelLocked);
}

TEST_F(DispatchTest, ALinkToNoLevelLeavesTheMenuOnItsPageAndAnotherLinkStillWorks) {
    Follow("levelnum99.html");
    EXPECT_FALSE(MenuClosed);
    EXPECT_TRUE(WorldHidden);
    EXPECT_NE(std::find(log.begin(), log.end(), "ERROR LOADING LEVEL: 99"), log.end());
    Follow("levelnum02.html");
    ASSERT_NE(CurrentLevel, nullptr);
    EXPECT_EQ(CurrentLevel->Name, "02");
}

TEST_F(DispatchTest, TheMenuWatchKeepsThePageWithoutItsAnchor) {
    HeadlessFollowLink(MenuView, CurrentDirectory() + "/content/html/MainMenu.html#levels");
    HeadlessAdvanceClock(16);
    RunMainLoop();
    EXPECT_EQ(MenuPageUrl, CurrentDirectory() + "/content/html/MainMenu.html");
}

TEST_F(DispatchTest, QuittingFromTheGameMenuReturnsToTheLevelList) {
    PlayFirstLevel();
    HandleClick("CLICK1", "GAMEMENU");
    EXPECT_EQ(Prompt.Kind, "GAMEMENU");
    Press(PromptSecondary);
    EXPECT_FALSE(MenuClosed);
    EXPECT_TRUE(WorldHidden);
    ASSERT_NE(MenuView, nullptr);
    EXPECT_NE(CurrentUrl(MenuView).find("#levels"), std::string::npos);
}

TEST_F(DispatchTest, ReturnFromTheGameMenuGoesBackToPlaying) {
    PlayFirstLevel();
    HandleClick("CLICK1", "GAMEMENU");
    Press(PromptPrimary);
    EXPECT_FALSE(PanelLocked);
    EXPECT_TRUE(MenuClosed);
}

TEST_F(DispatchTest, WithAPromptOpenALeftClickOnAStationDoesNothingButARightClickShowsItsPage) {
    Follow("levelnum01.html");
    ASSERT_TRUE(PanelLocked);
    HandleClick("CLICK1", "station_gym");
    EXPECT_EQ(OpenRadial, nullptr);
    HandleClick("CLICK2", "station_gym");
    EXPECT_EQ(InfoKind, "STATIONINFO");
    EXPECT_EQ(InfoStationTag, "station_gym");
}

TEST_F(DispatchTest, ALeftClickOnAStationOpensItsMenuAndAnActionRunsTheWeek) {
    PlayFirstLevel();
    HandleClick("CLICK1", "station_gym");
    ASSERT_NE(OpenRadial, nullptr);
    EXPECT_EQ(OpenRadial->MenuKind, "STATION");
    ASSERT_FALSE(OpenRadial->Items.empty());
    ASSERT_NE(OpenRadial->Items.front(), nullptr);
    const std::string actionTag = OpenRadial->Items.front()->Hotspot->Tag;
    ASSERT_EQ(actionTag.rfind("RADACTION", 0), 0u);
    HandleClick("CLICK1", actionTag);
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_TRUE(PanelLocked) << "the weekly review is open";
}

TEST_F(DispatchTest, ARightClickOnTheGoalButtonOpensTheGoalMenuAndAMiddleClickOnWorkItsMenu) {
    PlayFirstLevel();
    HandleClick("CLICK2", "SETGOAL");
    EXPECT_NE(GoalMenuOpen, 0);
    TGoalMenu::CloseGoalMenu();
    HandleClick("CLICK3", "WORK");
    EXPECT_EQ(OpenRadial, WorkRadial);
}

TEST_F(DispatchTest, AStationPageClosedOverThePromptLeavesTheWorldLocked) {
    Follow("levelnum01.html");
    HandleClick("CLICK2", "station_gym");
    Press(InfoClose);
    EXPECT_TRUE(PanelLocked);
    HandleClick("CLICK1", "station_gym");
    EXPECT_EQ(OpenRadial, nullptr) << "the introduction is still open";
}

TEST_F(DispatchTest, QuittingWithAStationPageOpenStartsTheNextLevelUnlockedOnceItsIntroCloses) {
    PlayFirstLevel();
    HandleClick("CLICK1", "GAMEMENU");
    HandleClick("CLICK2", "station_gym");
    Press(PromptSecondary);
    ASSERT_TRUE(WorldHidden);
    Follow("levelnum02.html");
    Press(PromptPrimary);
    EXPECT_FALSE(PanelLocked);
}

TEST_F(DispatchTest, TheTutorialButtonBringsTheWindowBackEvenOverAPanel) {
    Follow("levelnum01.html");
    ASSERT_NE(TutorialWindow, nullptr) << "level 01 opens a tutorial";
    TTutorialWindow::Hide();
    EXPECT_FALSE(TutorialWindow->visible);
    ASSERT_TRUE(PanelLocked);
    HandleClick("CLICK1", "TUTORIAL");
    EXPECT_TRUE(TutorialWindow->visible);
}

// Every "?" and the Help button bring the tutorial back at the level's own page, wherever its links led.
TEST_F(DispatchTest, EveryHelpButtonShowsTheTutorialAtTheLevelsPage) {
    PlayFirstLevel();
    ASSERT_NE(TutorialWindow, nullptr);
    const std::string levelPage = TutorialUrl;
    const auto wander = [&] {
        HeadlessFollowLink(TutorialView, CurrentDirectory() + "/content/tut/Tutorial2.html");
        TTutorialWindow::Hide();
    };
    wander();
    ClickPlayerStats();
    Press(StatsHelp);
    EXPECT_TRUE(TutorialWindow->visible);
    EXPECT_EQ(TutorialView->url, levelPage);
    Press(StatsClose);

    wander();
    ClickOn("station_gym", 2);
    Press(InfoHelp);
    EXPECT_TRUE(TutorialWindow->visible);
    EXPECT_EQ(TutorialView->url, levelPage);
    Press(InfoClose);

    wander();
    ClickOn("GAMEMENU");
    ASSERT_EQ(Prompt.Kind, "GAMEMENU");
    Press(PromptHelp);
    EXPECT_TRUE(TutorialWindow->visible);
    EXPECT_EQ(TutorialView->url, levelPage);
    Press(PromptPrimary);

    wander();
    ClickOn("TUTORIAL");
    EXPECT_TRUE(TutorialWindow->visible);
    EXPECT_EQ(TutorialView->url, levelPage);
}

TEST_F(DispatchTest, TheStatusBarTellsTheWeekAndTheMotivationDuringALevelOnly) {
    Tick();
    EXPECT_EQ(MainWindow->statusText, "");
    PlayFirstLevel();
    Tick();
    EXPECT_EQ(MainWindow->statusText, "Week 1 of 10 \u00b7 Motivation 50");
    Player.motivation = 61.5f;
    TrainAWeek();
    Tick();
    const int shown = static_cast<int>(Player.motivation + 0.5f);
    EXPECT_EQ(MainWindow->statusText, "Week 2 of 10 \u00b7 Motivation " + std::to_string(shown));
    Press(StatsConfirm);
    ClickOn("GAMEMENU");
    Press(PromptSecondary);
    Tick();
    EXPECT_EQ(MainWindow->statusText, "");
}

// The shown labels that read the text, as the text layer would draw them.
std::vector<TTextSpriteRef> LabelsReading(const std::string& text) {
    std::vector<TTextSpriteRef> found;
    for (const TTextSpriteRef& label : TextSpriteList)
        if (label->Text == text && label->Hidden == 0) found.push_back(label);
    return found;
}

TEST_F(DispatchTest, ThePlaceUnderThePointerShowsItsNameAboveItUntilThePointerLeavesOrARingOpens) {
    PlayFirstLevel();
    const TStation* gym = TStation::FindByTag("station_gym");
    const std::string name = gym->infoText.Title;
    ASSERT_FALSE(name.empty());
    const THotspot& place = *gym->target;
    Pointer(MouseMove, 0, static_cast<int>(place.X) + place.Width / 2,
            static_cast<int>(place.Y) + place.Height / 2);
    std::vector<TTextSpriteRef> labels = LabelsReading(name);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_LE(labels[0]->Y + static_cast<float>(labels[0]->Height()), place.Y);
    EXPECT_GT(labels[0]->Y, place.Y - 40.0f) << "close above the place";
    const float middle = labels[0]->X + static_cast<float>(labels[0]->Width()) / 2;
    EXPECT_NEAR(middle, place.X + static_cast<float>(place.Width) / 2, 2.0f);

    Pointer(MouseMove, 0, 650, 450);
    EXPECT_TRUE(LabelsReading(name).empty()) << "the pointer left the place";
    ClickOn("station_gym");
    ASSERT_NE(OpenRadial, nullptr);
    EXPECT_TRUE(LabelsReading(name).empty()) << "the open ring stands for the place";
    const TStation* library = TStation::FindByTag("station_library");
    Pointer(MouseMove, 0, static_cast<int>(library->target->X) + 5, static_cast<int>(library->target->Y) + 5);
    EXPECT_TRUE(LabelsReading(library->infoText.Title).empty()) << "the ring has the pointer";
    OpenRadial->Close(1);
    HandleClick("CLICK2", library->target->Tag);
    ASSERT_TRUE(PanelLocked);
    Pointer(MouseMove, 0, static_cast<int>(library->target->X) + 5, static_cast<int>(library->target->Y) + 5);
    EXPECT_TRUE(LabelsReading(library->infoText.Title).empty()) << "the place's page covers it";
}

TEST_F(DispatchTest, TheStatisticsButtonTakesAClickInItsMiddleWhileTheTimeBarsMechanismIsBesideIt) {
    PlayFirstLevel();
    ClickAt(25, 25);
    EXPECT_TRUE(PanelLocked);
    EXPECT_EQ(StatsMode, 0);
}

// An action's page read from a station's ring goes "Back" to that station, not to one read before.
TEST_F(DispatchTest, BackOnAnActionPageReturnsToTheStationOfItsRing) {
    PlayFirstLevel();
    ClickOn("station_gym", 2);
    Press(InfoClose);
    ClickOn("station_cafe");
    ASSERT_NE(OpenRadial, nullptr);
    ClickOn(OpenRadial->Items.front()->Hotspot->Tag, 2);
    ASSERT_EQ(InfoShown.ShowBack, 1);
    Press(InfoUp);
    EXPECT_EQ(InfoShown.Title, TStation::FindByTag("station_cafe")->infoText.Title);
}

} // namespace

namespace {

// Plays the first level by training at the gym every week and answering every prompt with its first
// button, as a player who only wants the level's goal would.
TEST_F(DispatchTest, TrainingEveryWeekWinsTheFirstLevel) {
    PlayFirstLevel();
    for (int week = 0; week < 12 && Prompt.Kind != "FINALPASS" && Prompt.Kind != "FINALFAIL"; ++week) {
        HandleClick("CLICK1", "station_gym");
        ASSERT_NE(OpenRadial, nullptr) << "week " << week;
        HandleClick("CLICK1", OpenRadial->Items.front()->Hotspot->Tag);
        Press(StatsConfirm);
        while (PanelLocked && (Prompt.Kind == "GOALPASS" || Prompt.Kind == "GOALFAIL"))
            Press(PromptPrimary);
    }
    EXPECT_EQ(Prompt.Kind, "FINALPASS");
    EXPECT_GT(CurrentWeek, 3) << "four levels of fitness take more than a few weeks";
    Press(PromptPrimary);
    EXPECT_FALSE(MenuClosed) << "a won level goes back to the level list";
    EXPECT_TRUE(WorldHidden);
}

} // namespace

namespace {

// The goal prompt a right click on a token opens, each of its buttons, through the real dispatch.
TEST_F(DispatchTest, TheGoalPromptsButtonsActOnItsGoal) {
    struct TCase {
        const char* label; // the caption of the button pressed, empty for the close box
        bool focused;
        TGadget* button;
        bool kept;
        bool focusedAfter;
        float motivation;
    };
    const TCase cases[] = {
        {"Focus", false, &PromptPrimary, true, true, 60.0f},
        {"Unfocus", true, &PromptPrimary, true, false, 36.0f}, // unfocusing costs 40 % of motivation
        {"Remove", false, &PromptSecondary, false, false, 60.0f},
        {"Cancel", true, &PromptSecondary, true, true, 60.0f},
        {"", true, &PromptClose, true, true, 60.0f},
    };
    PlayFirstLevel();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.label);
        TGoalRef goal = TGoal::CreateSkillGoal(1, 5);
        if (c.focused) goal->Focus();
        Player.motivation = 60.0f;
        Tick(120); // the token settles under its week
        ClickOn(goal->hotspot->Tag, 2);
        ASSERT_EQ(Prompt.Kind, "EDITGOAL");
        ASSERT_EQ(Prompt.Subject, goal);
        if (*c.label != '\0') {
            EXPECT_EQ(c.button == &PromptPrimary ? Prompt.Primary : Prompt.Secondary, c.label);
        }
        Press(*c.button);
        EXPECT_FALSE(PanelLocked);
        EXPECT_EQ(TGoal::FindByHotspotTag(goal->hotspot->Tag) != nullptr, c.kept);
        EXPECT_EQ(goal->focused != 0, c.focusedAfter);
        EXPECT_FLOAT_EQ(Player.motivation, c.motivation);
        if (c.kept) goal->Destroy();
    }
}

TEST_F(DispatchTest, AMissedGoalsPromptIgnoresItsCloseBoxAndRemoveDropsTheGoal) {
    PlayFirstLevel();
    const TGoalRef goal = MissAGoal();
    Press(PromptClose);
    EXPECT_EQ(Prompt.Kind, "GOALFAIL");
    EXPECT_TRUE(PanelLocked);
    EXPECT_TRUE(PromptPanel->visible);
    Press(PromptSecondary);
    EXPECT_EQ(TGoal::FindByHotspotTag(goal->hotspot->Tag), nullptr);
    EXPECT_FALSE(PanelLocked);
}

TEST_F(DispatchTest, ARightClickOnATokenTurnsAnOpenResultPromptIntoItsGoalPrompt) {
    PlayFirstLevel();
    const TGoalRef goal = MissAGoal();
    Tick(120);
    ClickOn(goal->hotspot->Tag, 2);
    EXPECT_EQ(Prompt.Kind, "EDITGOAL");
    EXPECT_EQ(Prompt.Title, "Edit Current Goal");
    EXPECT_EQ(Prompt.Subject, goal);
    EXPECT_TRUE(PromptPanel->visible);
    // Lost, the result would leave the evaluation stopped: a missed final goal would never end the level.
    Press(PromptClose);
    EXPECT_EQ(Prompt.Kind, "GOALFAIL");
    EXPECT_EQ(Prompt.Subject, goal);
    EXPECT_TRUE(PromptPanel->visible);
    EXPECT_TRUE(PanelLocked);
}

TEST_F(DispatchTest, AFailedFinalGoalRetriesTheLevelOrQuitsToTheLevelList) {
    PlayFirstLevel();
    for (TGadget* answer : {&PromptPrimary, &PromptSecondary}) {
        const bool retry = answer == &PromptPrimary;
        SCOPED_TRACE(retry ? "Retry" : "Quit");
        TTutorialWindow::Hide();
        CurrentWeek = LevelLength - 1;
        TrainAWeek();
        Press(StatsConfirm);
        ASSERT_EQ(Prompt.Kind, "FINALFAIL");
        EXPECT_EQ(Prompt.Primary, "Retry");
        Press(*answer);
        EXPECT_EQ(MenuClosed, retry);
        EXPECT_EQ(WorldHidden, !retry);
        if (retry) {
            // The level starts over at once, its introduction up and its tutorial back.
            EXPECT_EQ(CurrentWeek, 1);
            EXPECT_EQ(Prompt.Kind, "CUSTOM");
            ASSERT_NE(TutorialWindow, nullptr);
            EXPECT_TRUE(TutorialWindow->visible);
            Press(PromptPrimary);
        } else {
            EXPECT_NE(CurrentUrl(MenuView).find("#levels"), std::string::npos);
            EXPECT_EQ(TutorialWindow, nullptr);
        }
    }
}

TEST_F(DispatchTest, TheInformationButtonsBrowseFromAStationToItsActionsAndBack) {
    PlayFirstLevel();
    ClickOn("station_gym", 2);
    ASSERT_EQ(InfoShown.ShowList, 1);
    const std::string stationTitle = InfoShown.Title;
    ASSERT_FALSE(InfoInventory->items.empty());
    Press(InfoGo); // nothing selected: the page stays
    EXPECT_EQ(InfoShown.Title, stationTitle);
    HeadlessSelectItem(InfoInventory, 0);
    Press(InfoGo);
    EXPECT_EQ(InfoShown.Title, InfoInventory->items[0].text);
    EXPECT_EQ(InfoShown.ShowBack, 1);
    Press(InfoUp);
    EXPECT_EQ(InfoShown.Title, stationTitle);
    EXPECT_EQ(InfoShown.ShowList, 1);
    EXPECT_TRUE(PanelLocked);
    Press(InfoClose);
    EXPECT_FALSE(PanelLocked);
    EXPECT_FALSE(InfoPanelGadget->visible);
}

TEST_F(DispatchTest, ARadialsCentreButtonsCloseItOrExplainItsStation) {
    PlayFirstLevel();
    const TStation* gym = TStation::FindByTag("station_gym");
    ClickOn("station_gym");
    ASSERT_NE(OpenRadial, nullptr);
    ClickOn("RADIALCLOSE");
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_EQ(gym->target->Inactive, 0) << "the station answers clicks again";
    ClickOn("station_gym");
    ClickOn("RADIALHELP");
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_EQ(InfoStationTag, "station_gym");
    EXPECT_TRUE(InfoPanelGadget->visible);
}

TEST_F(DispatchTest, TheJobMenuWorksAWeekThenQuitsTheJobWithoutTouchingMotivation) {
    PlayLevel("02");
    ASSERT_EQ(TPlayer::GiveItemTag("job_dishwasher"), 1);
    ASSERT_NE(Player.currentJob, nullptr);
    ClickOn("WORK");
    ASSERT_EQ(OpenRadial, WorkRadial);
    ClickOn("RADITEM_WORK");
    EXPECT_EQ(CurrentWeek, 2);
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_EQ(StatsMode, 1);
    EXPECT_NE(Player.weekGain, (std::array<int, SkillCount>{})) << "the work action ran";
    Press(StatsConfirm);
    ASSERT_FALSE(PanelLocked);

    const float motivation = Player.motivation;
    ClickOn("WORK");
    ClickOn("RADITEM_QUIT");
    EXPECT_EQ(CurrentWeek, 3);
    EXPECT_EQ(Player.currentJob, nullptr);
    EXPECT_FLOAT_EQ(Player.motivation, motivation);
    EXPECT_EQ(THotspot::FindByTag("WORK")->Inactive, 1);
}

TEST_F(DispatchTest, TheGoalMenuTurnsItsItemPagesAndSetsASkillGoal) {
    PlayLevel("11");
    ASSERT_GE(LastPage, 1) << "level 11 offers more than one page of items";
    ClickOn("SETGOAL");
    ClickOn("RADITEM_THING");
    EXPECT_EQ(OpenRadial, ItemPages[0]);
    ClickOn("ITEMNEXTRIGHT");
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_EQ(OpenRadial, ItemPages[1]);
    ClickOn("ITEMNEXTLEFT");
    EXPECT_EQ(CurrentPage, 0);
    EXPECT_EQ(OpenRadial, ItemPages[0]);
    EXPECT_NE(std::find(log.begin(), log.end(), "RHit"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "LHit"), log.end());
    ClickOn("RADIALCLOSE");
    EXPECT_EQ(GoalMenuOpen, 0);

    const size_t goals = GoalList.size();
    ClickOn("SETGOAL");
    ClickOn("RADITEM_SKILL");
    ClickOn("RADITEM_SKILL_MENTAL");
    ClickOn("GOALSET");
    EXPECT_EQ(GoalMenuOpen, 0);
    ASSERT_EQ(GoalList.size(), goals + 1);
    EXPECT_EQ(GoalList.back()->skill, 1);
    EXPECT_EQ(GoalList.back()->targetLevel, 2);
}

TEST_F(DispatchTest, EscapeEndsTheGameEvenWithAPanelOpen) {
    PlayFirstLevel();
    ClickPlayerStats();
    HeadlessEmit(TEvent{.id = KeyDown, .source = MainWindow, .data = KeyEscape});
    RunMainLoop();
    EXPECT_TRUE(QuitRequested);
}

TEST_F(DispatchTest, ClosingTheMainWindowOverAPromptEndsTheProgram) {
    Follow("levelnum01.html");
    ASSERT_TRUE(PromptPanel->visible);
    EXPECT_EXIT(
        {
            HeadlessCloseWindow(MainWindow);
            RunMainLoop();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(DispatchTest, ClosingThePlayerStatsReportsNoGoalButClosingTheReviewDoes) {
    PlayFirstLevel();
    const TGoalRef reached = TGoal::CreateSkillGoal(0, 1);
    reached->Focus();
    ClickPlayerStats();
    Press(StatsClose);
    EXPECT_FALSE(PanelLocked);
    EXPECT_FALSE(PromptPanel->visible);
    EXPECT_NE(TGoal::FindByHotspotTag(reached->hotspot->Tag), nullptr);

    TrainAWeek();
    Press(StatsClose);
    EXPECT_EQ(Prompt.Kind, "GOALPASS");
    EXPECT_EQ(TGoal::FindByHotspotTag(reached->hotspot->Tag), nullptr);
}

} // namespace
