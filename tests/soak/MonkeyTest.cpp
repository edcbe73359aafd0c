// The soak's own parts: the checks must see a broken game, and the monkey must really play every level.

#include "tests/soak/Monkey.hpp"
#include "panels/GlobalGadgets.hpp"
#include "panels/StatsPanel.hpp"
#include "rules/Goal.hpp"
#include "rules/Player.hpp"
#include "scene/Radial.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Level.hpp"
#include "tests/soak/Invariants.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class MonkeyTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { TMonkey::StartGame(); }
};

template <typename T> void ExpectFlagged(T& field, T broken, const char* what) {
    const T kept = field;
    field = broken;
    EXPECT_NE(CheckInvariants(), "") << what;
    field = kept;
}

TEST_F(MonkeyTest, TheChecksSeeEveryKindOfBrokenState) {
    ASSERT_EQ(CheckInvariants(), "");
    ExpectFlagged(Player.skillLevel[2], 11, "level above the top");
    ExpectFlagged(Player.skillLevel[2], 0, "level below the first");
    ExpectFlagged(Player.skillPoints[0], 10, "ten points below the top level");
    ExpectFlagged(Player.skillPoints[0], -1, "negative points");
    ExpectFlagged(Player.motivation, 100.5f, "motivation above 100");
    ExpectFlagged(Player.motivation, std::nanf(""), "motivation not a number");
    ExpectFlagged(GoalCount, GoalCount + 1, "goal count beside the list");

    Player.skillLevel[0] = MaxSkillLevel;
    Player.skillPoints[0] = 14;
    EXPECT_EQ(CheckInvariants(), "") << "points may pile up at the top level";
    Player.skillLevel[0] = 1;
    Player.skillPoints[0] = 0;

    ASSERT_GE(RadialList.size(), 2u);
    const TRadialRef first = RadialList.front();
    const TRadialRef second = *std::next(RadialList.begin());
    first->Open();
    EXPECT_EQ(CheckInvariants(), "");
    ASSERT_NE(second->CloseButton, nullptr);
    second->CloseButton->Show();
    EXPECT_NE(CheckInvariants(), "") << "two menus open";
    first->Close(0);
    EXPECT_NE(CheckInvariants(), "") << "a menu shows that is not the open one";
    second->Close(0);

    const bool hidden = WorldHidden;
    WorldHidden = false;
    SetVisible(GameCanvas, true);
    SetVisible(StatsPanelGadget, true);
    EXPECT_NE(CheckInvariants(), "") << "a panel without the lock";
    PanelLocked = true;
    EXPECT_EQ(CheckInvariants(), "");
    SetVisible(StatsPanelGadget, false);
    EXPECT_NE(CheckInvariants(), "") << "the lock without a panel";
    PanelLocked = false;
    SetVisible(GameCanvas, !hidden);
    WorldHidden = hidden;
}

// A week past the level's end while the world shows; an item held twice that is no asset, and an asset
// held more often than the rules hand one out again.
TEST_F(MonkeyTest, TheChecksSeeAWeekPastTheEndAndItemsHeldTooOften) {
    const bool hidden = WorldHidden;
    WorldHidden = false;
    EXPECT_EQ(CheckInvariants(), "");
    ExpectFlagged(CurrentWeek, LevelLength + 1, "a week past the level's end");
    WorldHidden = hidden;

    const auto ofType = [](bool asset) {
        for (const auto& item : ItemList) {
            if ((item->itemType == "ASSET") == asset) return item.get();
        }
        return static_cast<TItem*>(nullptr);
    };
    TItem* plain = ofType(false);
    TItem* asset = ofType(true);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(asset, nullptr);
    const auto kept = Player.inventory;
    Player.inventory.fill(nullptr);
    Player.inventory[0] = plain;
    Player.inventory[3] = plain;
    EXPECT_NE(CheckInvariants(), "") << "a plain item held twice";
    Player.inventory.fill(nullptr);
    for (int i = 0; i < AssetLimit; ++i)
        Player.inventory[static_cast<size_t>(i)] = asset;
    EXPECT_EQ(CheckInvariants(), "");
    Player.inventory[10] = asset;
    EXPECT_NE(CheckInvariants(), "") << "an asset held once too often";
    Player.inventory = kept;
}

TEST_F(MonkeyTest, AShortRunPlaysEveryShippedLevelToItsEnd) {
    TMonkey monkey(7);
    for (int tick = 0; tick < 400000; ++tick)
        monkey.Tick();
    const TMonkeyCounts& counts = monkey.Counts();
    for (const auto& level : LevelRegistry)
        EXPECT_GT(counts.levelStarts.count(level->Name), 0u) << "level " << level->Name;
    EXPECT_GT(counts.weeks, 20);
    EXPECT_GT(counts.finals, 2);
    EXPECT_GT(counts.holds, 0);
    EXPECT_GT(counts.drags, 0);
}

} // namespace
