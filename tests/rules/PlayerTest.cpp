#include "tests/rules/RulesFixture.hpp"

#include "scene/TimeBar.hpp"

namespace {

using PlayerTest = RulesTest;

TEST_F(PlayerTest, ResetEmptiesTheLevelRecord) {
    TItem* coin = Item("coin");
    TPlayer::GiveItem(coin);
    Player.skillLevel = {4, 5, 6, 7, 8};
    Player.skillPoints[1] = 6;
    Player.weekGain[2] = 3;
    Player.weekLevel[3] = 4;
    Player.lastMotivationChange = -12;
    Player.motivation = 80.0f;
    TPlayer::ResetPlayer();
    EXPECT_EQ(Player.skillLevel, (std::array<int, 5>{1, 1, 1, 1, 1}));
    EXPECT_EQ(Player.skillPoints, (std::array<int, 5>{}));
    EXPECT_EQ(Player.weekGain, (std::array<int, 5>{}));
    EXPECT_EQ(Player.weekLevel, (std::array<int, 5>{}));
    EXPECT_EQ(TPlayer::HasItem(coin), 0);
    EXPECT_EQ(Player.weekItems[0], nullptr);
    EXPECT_EQ(Player.lastMotivationChange, 0);
    EXPECT_FLOAT_EQ(Player.motivation, 50.0f);
}

TEST_F(PlayerTest, HoldingQuestions) {
    TItem* coin = Item("coin");
    Item("gem", "ASSET");
    EXPECT_EQ(TPlayer::HasItem(nullptr), 0);
    EXPECT_EQ(TPlayer::HasItemTag("coin"), 0);
    EXPECT_EQ(TPlayer::HasItemTag("unknown"), -1);
    TPlayer::GiveItem(coin);
    EXPECT_EQ(TPlayer::HasItemTag("coin"), 1);
    TPlayer::GiveItemTag("gem");
    TPlayer::GiveItemTag("gem");
    EXPECT_EQ(TPlayer::CountType("ASSET"), 2);
    EXPECT_EQ(TPlayer::CountType("NOMINAL"), 1);
    EXPECT_EQ(TPlayer::CountType("JOB"), 0);
}

TEST_F(PlayerTest, OnlyAssetsAreGivenTwiceAndOnlyBelowThreeAssets) {
    TItem* a = Item("a", "ASSET");
    TItem* b = Item("b", "ASSET");
    TItem* c = Item("c", "ASSET");
    TItem* d = Item("d", "ASSET");
    TItem* plain = Item("plain");
    EXPECT_EQ(TPlayer::GiveItem(plain), 1);
    EXPECT_EQ(TPlayer::GiveItem(plain), 0);
    EXPECT_EQ(TPlayer::GiveItem(a), 1);
    EXPECT_EQ(TPlayer::GiveItem(b), 1);
    EXPECT_EQ(TPlayer::GiveItem(a), 1); // A and B held: A again is accepted
    EXPECT_EQ(TPlayer::GiveItem(a), 0); // A, A and B held: refused
    EXPECT_EQ(TPlayer::GiveItem(c), 1); // a different asset still goes in
    EXPECT_EQ(TPlayer::GiveItem(d), 1);
    EXPECT_EQ(TPlayer::CountType("ASSET"), 5);
    EXPECT_EQ(TPlayer::GiveItemTag("nobody"), 0);
    EXPECT_EQ(TPlayer::GiveItem(nullptr), 0);
}

TEST_F(PlayerTest, TwentyFiveSlotsThenItemsAreLost) {
    std::vector<TItem*> items;
    for (int i = 0; i < 26; ++i)
        items.push_back(Item("i" + std::to_string(i)));
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(TPlayer::GiveItem(items[i]), 1);
    EXPECT_EQ(TPlayer::GiveItem(items[25]), 0);
    EXPECT_EQ(TPlayer::HasItem(items[25]), 0);
    EXPECT_EQ(Player.inventory[24], items[24]);
    EXPECT_EQ(Player.weekItems[24], items[24]);
}

TEST_F(PlayerTest, TakingEmptiesTheFirstSlotAndGivingRefillsIt) {
    TItem* cow = Item("cow", "ASSET");
    TItem* x = Item("x");
    TItem* y = Item("y");
    TItem* z = Item("z");
    TPlayer::GiveItem(x);
    TPlayer::GiveItem(y);
    TPlayer::GiveItem(cow); // slot 2
    TPlayer::GiveItem(z);
    TPlayer::GiveItem(Item("w"));
    TPlayer::GiveItem(cow); // slot 5
    Player.weekItems.fill(nullptr);
    EXPECT_EQ(TPlayer::TakeItem(cow), 1);
    EXPECT_EQ(Player.inventory[2], nullptr);
    EXPECT_EQ(Player.inventory[5], cow);
    EXPECT_EQ(TPlayer::GiveItemTag("cow"), 1);
    EXPECT_EQ(Player.inventory[2], cow);
    EXPECT_EQ(Player.weekItems[2], cow);
    EXPECT_EQ(TPlayer::TakeItemTag("nobody"), 0);
    EXPECT_EQ(TPlayer::TakeItem(Item("never")), 0);
}

TEST_F(PlayerTest, CarryingPointsIntoLevels) {
    Player.skillLevel[1] = 3;
    Player.skillPoints[1] = 9;
    EXPECT_EQ(TPlayer::AddSkillPoints(1, 12), 1);
    EXPECT_EQ(Player.skillLevel[1], 5);
    EXPECT_EQ(Player.skillPoints[1], 1);
    EXPECT_EQ(Player.weekLevel[1], 5);
    EXPECT_EQ(Player.weekGain[1], 12);

    Player.skillLevel[4] = 9;
    Player.skillPoints[4] = 8;
    TPlayer::AddSkillPoints(4, 15);
    EXPECT_EQ(Player.skillLevel[4], 10);
    EXPECT_EQ(Player.skillPoints[4], 13);
    EXPECT_EQ(Player.weekLevel[4], 10);
    // At the top level points no longer carry: later gains, even of nothing, are no level-up.
    for (const int gain : {0, 4}) {
        Player.weekLevel.fill(0);
        TPlayer::AddSkillPoints(4, gain);
        EXPECT_EQ(Player.skillLevel[4], 10);
        EXPECT_EQ(Player.weekLevel[4], 0) << gain;
    }
    EXPECT_EQ(Player.skillPoints[4], 17);

    TPlayer::AddSkillPoints(0, 9);
    EXPECT_EQ(Player.skillLevel[0], 1);
    EXPECT_EQ(Player.skillPoints[0], 9);
    EXPECT_EQ(Player.weekLevel[0], 0);
}

class PlayerJobTest : public RulesTest {
  protected:
    TSpriteRef jobIcon;
    THotspotRef workButton;
    THotspotRef workEntry;

    void SetUp() override {
        RulesTest::SetUp();
        TLayer::Select("displays");
        jobIcon = TSprite::Create(1);
        jobIcon->Tag = "JOBICON";
        jobIcon->Hide();
        workButton = THotspot::CreateForSprite(TSprite::Create(1), "WORK", "_DISPLAY");
        workButton->Hide();
        workEntry = THotspot::CreateForSprite(TSprite::Create(1), "RADITEM_WORK", "_RADIAL");
        dir.WriteBmp("icons/cook.bmp", 7, 4);
    }
};

TEST_F(PlayerJobTest, AJobWithAWorkActionBecomesTheCurrentJob) {
    TItem* cook = Item("job_cook", "JOB",
                       "LockAction(\"action_cook\", \"action_quit\")\nSetIcon(\"icons/cook.bmp\")\n");
    TAction* work = Unlocked("TAG=\"action_cook\"\n");
    TAction* quit = Unlocked("TAG=\"action_quit\"\n");
    EXPECT_EQ(TPlayer::GiveItem(cook), 1);
    EXPECT_EQ(Player.currentJob, cook);
    EXPECT_EQ(Player.workAction, work);
    EXPECT_EQ(Player.quitAction, quit);
    EXPECT_EQ(jobIcon->Hidden, 0);
    EXPECT_EQ(jobIcon->Image, cook->icon);
    EXPECT_EQ(jobIcon->FrameWidth, 7);
    EXPECT_EQ(workButton->Inactive, 0);
    EXPECT_EQ(std::any_cast<TAction*>(workEntry->Owner), work);

    TPlayer::ClearJob();
    EXPECT_EQ(Player.currentJob, nullptr);
    EXPECT_EQ(Player.workAction, nullptr);
    EXPECT_EQ(Player.quitAction, nullptr);
    EXPECT_EQ(jobIcon->Hidden, 1);
    EXPECT_EQ(workButton->Inactive, 1);
    EXPECT_EQ(TPlayer::HasItem(cook), 1); // the job item stays held
}

TEST_F(PlayerJobTest, ASecondJobTakesOverAndOneWithoutWorkOnlyClearsTheWorkAction) {
    TItem* cook = Item("job_cook", "JOB", "LockAction(\"action_cook\", \"q\")\n");
    TItem* smith = Item("job_smith", "JOB", "LockAction(\"action_smith\")\n");
    TItem* ghost = Item("job_ghost", "JOB", "LockAction(\"no_such_action\", \"action_cook\")\n");
    Unlocked("TAG=\"action_cook\"\n");
    TAction* smithing = Unlocked("TAG=\"action_smith\"\n");
    TPlayer::GiveItem(cook);
    TPlayer::GiveItem(smith);
    EXPECT_EQ(Player.currentJob, smith);
    EXPECT_EQ(Player.workAction, smithing);
    EXPECT_EQ(Player.quitAction, nullptr); // "NULL" names no action
    EXPECT_EQ(TPlayer::HasItem(cook), 1);
    EXPECT_EQ(TPlayer::GiveItem(ghost), 1);
    EXPECT_EQ(Player.currentJob, smith);
    EXPECT_EQ(Player.workAction, nullptr);
    EXPECT_EQ(TPlayer::HasItem(ghost), 1);
}

TEST_F(PlayerJobTest, AJobWithoutItsWorkActionLeavesTheWorkEntryUnavailable) {
    Item("job_cook", "JOB", "LockAction(\"action_cook\")\n");
    Item("job_ghost", "JOB", "LockAction(\"no_such_action\")\n");
    Unlocked("TAG=\"action_cook\"\n");
    TPlayer::GiveItemTag("job_cook");
    TPlayer::GiveItemTag("job_ghost");
    ASSERT_EQ(Player.workAction, nullptr);
    TPlayer::UpdateWorkButton();
    EXPECT_EQ(workEntry->Inactive, 1);
}

TEST_F(PlayerJobTest, WorkButtonStateFollowsItsAction) {
    Item("medal");
    Item("job_cook", "JOB", "LockAction(\"action_cook\")\n");
    TAction* work = Unlocked("TAG=\"action_cook\"\nGiveItem(\"medal\")\n");
    TPlayer::GiveItemTag("job_cook");
    TPlayer::UpdateWorkButton();
    EXPECT_EQ(workEntry->Inactive, 0);
    ActiveGoalWalker = [](const TGoalVisitor& visit) { visit(0, 0, "medal"); };
    TPlayer::UpdateWorkButton();
    EXPECT_EQ(workEntry->Inactive, 0);
    work->locked = 1;
    TPlayer::UpdateWorkButton();
    EXPECT_EQ(workEntry->Inactive, 1);
}

TEST_F(PlayerJobTest, HomeUpgradesSwitchTheHomeImage) {
    dir.WriteBmp("art/home.bmp", 10, 10);
    dir.WriteBmp("art/manor.bmp", 20, 10);
    dir.WriteBmp("art/castle.bmp", 30, 10);
    TStation* home = TStation::Load(dir.Write(
        "stations/home.txt",
        "SetImage(\"art/home.bmp\",\"10\",\"10\",\"0\",\"1\")\nTAG=\"station_home\"\n"
        "SetAlternate(\"art/manor.bmp\",\"20\",\"10\",\"0\",\"1\")\n"
        "SetAlternate(\"art/castle.bmp\",\"30\",\"10\",\"0\",\"1\")\nSetPosition(\"40\",\"60\")\n"));
    ASSERT_NE(home, nullptr);
    TPlayer::GiveItem(Item("home_manor", "BUILD"));
    EXPECT_EQ(home->imageIndex, 1);
    EXPECT_EQ(home->target->Sprite, home->images[1]);
    EXPECT_FLOAT_EQ(home->images[1]->X, 40.0f);
    EXPECT_EQ(home->images[1]->Hidden, 0);
    EXPECT_EQ(home->images[0]->Hidden, 1);
    TPlayer::GiveItem(Item("home_castle", "BUILD"));
    EXPECT_EQ(home->imageIndex, 2);
    EXPECT_EQ(home->images[1]->Hidden, 1);
}

TEST_F(PlayerTest, AWeekRunsTheActionMovesMotivationAndTheWeek) {
    TPlayer::InitSkills();
    CurrentWeek = 1;
    int reviews = 0;
    int checks = 0;
    ShowWeeklyReviewHook = [&] { ++reviews; };
    WeeklyGoalCheckHook = [&] {
        EXPECT_EQ(reviews, 1); // the review opens before the goals move on
        ++checks;
    };
    TItem* old = Item("old");
    Player.weekItems[3] = old;
    Player.weekGain[4] = 7;
    TAction* train = Unlocked("TAG=\"t\"\nGiveSkill(\"Social\",\"\",\"\",\"9\")\n");
    TPlayer::DoWeek(train, true);
    EXPECT_EQ(Player.weekGain, (std::array<int, 5>{0, 0, 8, 0, 0}));
    EXPECT_EQ(Player.weekItems[3], nullptr);
    // Progress outside any goal skill with no goals: 25 x 1 x 0.5 is lost.
    EXPECT_EQ(Player.lastMotivationChange, -12);
    EXPECT_FLOAT_EQ(Player.motivation, 37.5f);
    EXPECT_EQ(CurrentWeek, 2);
    EXPECT_EQ(reviews, 1);
    EXPECT_EQ(checks, 1);
}

TEST_F(PlayerTest, AWeekWithoutMotivationKeepsTheLastChange) {
    TPlayer::InitSkills();
    CurrentWeek = 4;
    Player.lastMotivationChange = 2;
    TPlayer::DoWeek(Unlocked("TAG=\"quit\"\n"), false);
    EXPECT_EQ(Player.lastMotivationChange, 2);
    EXPECT_FLOAT_EQ(Player.motivation, 50.0f);
    EXPECT_EQ(CurrentWeek, 5);
}

TEST_F(PlayerTest, GoalItemsReachTheMotivationEvaluation) {
    TPlayer::InitSkills();
    TItem* medal = Item("medal");
    Unlocked("TAG=\"win\"\nGiveItem(\"medal\")\n");
    WeekGoalsGatherer = [&](const std::array<TItem*, InventorySlots>& items) {
        TWeekGoals goals;
        goals.focusedCount = 1;
        for (const TItem* item : items)
            goals.goalItemReceived = goals.goalItemReceived || item == medal;
        return goals;
    };
    TPlayer::DoWeek(TAction::FindByTag("win"), true);
    WeekGoalsGatherer = nullptr;
    EXPECT_EQ(Player.lastMotivationChange, 1); // 5 / (1 x 0.5 x 10)
    EXPECT_FLOAT_EQ(Player.motivation, 51.0f);
}

} // namespace
