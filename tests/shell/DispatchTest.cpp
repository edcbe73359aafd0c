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
#include "rules/GoalMenu.hpp"
#include "scene/Radial.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Level.hpp"
#include "shell/Main.hpp"
#include "shell/SceneAssembly.hpp"
#include "shell/WorldTick.hpp"

#include <gtest/gtest.h>

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

    // Level 01 running, its introduction closed.
    static void PlayFirstLevel() {
        Follow("levelnum01.html");
        ASSERT_EQ(Prompt.Kind, "CUSTOM");
        Press(PromptPrimary);
        ASSERT_FALSE(PanelLocked);
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
