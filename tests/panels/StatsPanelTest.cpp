#include "panels/StatsPanel.hpp"
#include "panels/GlobalGadgets.hpp"
#include "panels/Widget.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/GoalMenu.hpp"
#include "rules/Player.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class StatsPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset();
        WidgetRegistry.clear();
        ItemList.clear();
        PanelLocked = false;
        CurrentPanel = nullptr;
        StatsGroup = nullptr;
        StatsMode = 0;
        Player = TPlayer{};
        MotivationValue = &Player.motivation;
        MainWindow = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, StyleTitleBar);
        GameCanvas = AddCanvas(0, 0, 800, 600, MainWindow, 0);
        for (size_t i = 0; i < LevelStrips.size(); ++i) {
            LevelStrips[i] = CreateImage(200, 20, 10);
            TokenStrips[i] = CreateImage(70, 10, 10);
        }
        TStatsPanel::Build();
        // Tests read their own mark; the artwork may be missing where they run.
        LevelUpImage = CreateImage(40, 20, 1);
        // A canvas's first use as a target clears it; the tests look at what the panel draws after.
        SetDrawTarget(StatsSkills);
        SetDrawTarget(StatsInventory);
        HeadlessClearDrawCalls();
    }
    void TearDown() override {
        MotivationValue = nullptr;
        ItemList.clear();
        Player = TPlayer{};
    }

    // The images drawn on one canvas since the last clear, in order.
    static std::vector<TDrawCall> Images(TGadget canvas) {
        std::vector<TDrawCall> images;
        for (const TDrawCall& call : HeadlessDrawCalls())
            if (call.target == canvas && call.kind == TDrawKind::Image) images.push_back(call);
        return images;
    }
    static std::vector<TDrawCall> Drawn(TGadget canvas) {
        std::vector<TDrawCall> calls;
        for (const TDrawCall& call : HeadlessDrawCalls())
            if (call.target == canvas) calls.push_back(call);
        return calls;
    }
    // What a skill row shows: bar frame + 1, token frame + 1 and the level-up mark, 0 when absent.
    struct TRow {
        int bars = 0;
        int tokens = 0;
        bool levelUp = false;
    };
    static TRow Row(int skill) {
        TRow row;
        const auto top = static_cast<float>(45 * skill);
        for (const TDrawCall& call : Images(StatsSkills)) {
            if (call.image == LevelStrips[static_cast<size_t>(skill)] && call.x == 0 && call.y == top)
                row.bars = call.frame + 1;
            if (call.image == TokenStrips[static_cast<size_t>(skill)] && call.x == 5 && call.y == top + 22)
                row.tokens = call.frame + 1;
            if (call.image == LevelUpImage && call.x == 150 && call.y == top) row.levelUp = true;
        }
        return row;
    }
    static TItem* Item(const std::string& tag) {
        TItem* item = TItem::Create();
        item->tag = tag;
        item->icon = CreateImage(50, 50, 1);
        return item;
    }
};

TEST_F(StatsPanelTest, BuildCreatesTheControlsInOrderAtTheirPlacesHidden) {
    struct TPlace {
        const char* tag;
        TGadget gadget;
        TGadgetKind kind;
        int x, y, w, h, style;
        const char* text;
    };
    const TPlace places[] = {
        {"STATS_PANEL", StatsPanelGadget, TGadgetKind::Panel, 175, 100, 450, 400, 1, "Information"},
        {"STATS_TITLE", StatsTitle, TGadgetKind::Label, 10, 10, 250, 15, 16, "Weekly Review:"},
        {"STATS_MOTIVATION", StatsMotivation, TGadgetKind::Label, 200, 280, 250, 50, 0, "Motivation:\n"},
        {"STATS_INVENTORY", StatsInventory, TGadgetKind::Canvas, 10, 30, 150, 150, 0, ""},
        {"STATS_SKILLS", StatsSkills, TGadgetKind::Canvas, 200, 30, 200, 230, 0, ""},
        {"STATS_CONFIRM", StatsConfirm, TGadgetKind::Button, 185, 350, 80, 20, 1, "Continue"},
        {"STATS_HELP", StatsHelp, TGadgetKind::Button, 405, 2, 20, 20, 1, "?"},
        {"STATS_CLOSE", StatsClose, TGadgetKind::Button, 426, 2, 20, 20, 1, "X"},
    };
    ASSERT_EQ(StatsGroup->Members.size(), std::size(places));
    EXPECT_EQ(StatsGroup->Tag, "STATS_PANEL");
    auto member = StatsGroup->Members.begin();
    for (const TPlace& p : places) {
        ASSERT_NE(p.gadget, nullptr) << p.tag;
        EXPECT_EQ((*member)->Tag, p.tag);
        EXPECT_EQ((*member)->Gadget, p.gadget) << p.tag;
        EXPECT_EQ(p.gadget->kind, p.kind) << p.tag;
        EXPECT_EQ(p.gadget->parent, p.gadget == StatsPanelGadget ? GameCanvas : StatsPanelGadget) << p.tag;
        EXPECT_EQ(p.gadget->x, p.x) << p.tag;
        EXPECT_EQ(p.gadget->y, p.y) << p.tag;
        EXPECT_EQ(p.gadget->w, p.w) << p.tag;
        EXPECT_EQ(p.gadget->h, p.h) << p.tag;
        EXPECT_EQ(p.gadget->style, p.style) << p.tag;
        EXPECT_EQ(p.gadget->text, p.text) << p.tag;
        EXPECT_FALSE(p.gadget->visible) << p.tag;
        ++member;
    }
    EXPECT_FALSE(PanelLocked);
}

TEST_F(StatsPanelTest, MotivationRemarksFollowTheWeeksChange) {
    const std::pair<int, const char*> cases[] = {
        {40, "   Massive Drive!"},
        {8, "   Massive Drive!"},
        {7, "   Drive Up!"},
        {5, "   Drive Up!"},
        {4, "   Motivated!"},
        {1, "   Motivated!"},
        {0, "   No change..."},
        {-1, "   Losing drive..."},
        {-2, "   Big Slump..."},
        {-5, "   Big Slump..."},
        {-6, "   Very de-motivated..."},
        {-90, "   Very de-motivated..."},
    };
    for (const auto& [change, remark] : cases)
        EXPECT_EQ(TStatsPanel::MotivationRemark(change), remark) << change;
}

TEST_F(StatsPanelTest, WeeklyReviewWritesItsTextsAndShowsLocked) {
    Player.motivation = 52.5f;
    Player.lastMotivationChange = 5;
    Player.lastMotivationCause = TMotivationCause::GoalSkill;
    SetText(StatsTitle, "Player Stats:");
    TStatsPanel::ShowWeeklyReview();
    EXPECT_EQ(StatsMode, 1);
    EXPECT_EQ(StatsTitle->text, "Weekly Review:");
    EXPECT_EQ(StatsMotivation->text, "Motivation: 53 (+5)\n   Drive Up!\n   Points for a goal's skill");
    EXPECT_TRUE(PanelLocked);
    for (const TWidget* widget : StatsGroup->Members)
        EXPECT_TRUE(widget->Gadget->visible) << widget->Tag;
    // Unlike the prompt, this panel does not come back with the world.
    EXPECT_EQ(CurrentPanel, nullptr);

    TStatsPanel::Close();
    EXPECT_FALSE(PanelLocked);
    for (const TWidget* widget : StatsGroup->Members)
        EXPECT_FALSE(widget->Gadget->visible) << widget->Tag;
    EXPECT_EQ(StatsMode, 1) << "closing keeps the mode the dispatch reads";
}

TEST_F(StatsPanelTest, PlayerStatsClearTheMotivationAndRetitle) {
    Player.motivation = 41.0f;
    Player.lastMotivationChange = -9;
    TStatsPanel::ShowWeeklyReview();
    TStatsPanel::Close();
    TStatsPanel::ShowPlayerStats();
    EXPECT_EQ(StatsMode, 0);
    EXPECT_EQ(StatsTitle->text, "Player Stats:");
    EXPECT_EQ(StatsMotivation->text, "Motivation: 41");
    EXPECT_TRUE(StatsPanelGadget->visible);
    EXPECT_TRUE(PanelLocked);
}

TEST_F(StatsPanelTest, UnderAnotherPanelsLockTheTextsAndModeChangeButNothingShows) {
    PanelLocked = true;
    Player.lastMotivationChange = -1;
    Player.lastMotivationCause = TMotivationCause::OtherSkill;
    Player.lastFocusedGoals = 3;
    TStatsPanel::ShowWeeklyReview();
    EXPECT_EQ(StatsMode, 1);
    EXPECT_EQ(
        StatsMotivation->text,
        "Motivation: 50 (-1)\n   Losing drive...\n   Points for no goal's skill, loss times 3 focused goals");
    EXPECT_FALSE(StatsPanelGadget->visible);
    TStatsPanel::ShowPlayerStats();
    EXPECT_EQ(StatsMode, 0);
    EXPECT_EQ(StatsTitle->text, "Player Stats:");
    EXPECT_FALSE(StatsPanelGadget->visible);
}

TEST_F(StatsPanelTest, PlayerStatsPictureLevelsAndPoints) {
    Player.skillLevel = {1, 10, 3, 1, 7};
    Player.skillPoints = {0, 9, 4, 0, 1};
    Player.weekLevel = {3, 3, 3, 3, 3};
    StatsMode = 0;
    TStatsPanel::DrawSkills();
    const int bars[] = {1, 10, 3, 1, 7};
    const int tokens[] = {0, 9, 4, 0, 1};
    for (int skill = 0; skill < 5; ++skill) {
        const TRow row = Row(skill);
        EXPECT_EQ(row.bars, bars[skill]) << skill;
        EXPECT_EQ(row.tokens, tokens[skill]) << skill;
        EXPECT_FALSE(row.levelUp) << "the level-up mark belongs to the weekly review only";
    }
    // A level-1 skill with no points shows one bar and nothing else: 5 skills, 3 with points.
    EXPECT_EQ(Images(StatsSkills).size(), 8u);
}

TEST_F(StatsPanelTest, WeeklyReviewShowsTensAsBarsOnesAsTokensAndTheLevelUps) {
    Player.skillLevel = {9, 9, 9, 9, 9};
    Player.weekGain = {13, 10, 9, 0, 27};
    Player.weekLevel = {2, 0, 0, 0, 4};
    StatsMode = 1;
    TStatsPanel::DrawSkills();
    EXPECT_EQ(Row(0).bars, 1);
    EXPECT_EQ(Row(0).tokens, 3);
    EXPECT_TRUE(Row(0).levelUp);
    EXPECT_EQ(Row(1).bars, 1);
    EXPECT_EQ(Row(1).tokens, 0);
    EXPECT_FALSE(Row(1).levelUp);
    EXPECT_EQ(Row(2).bars, 0);
    EXPECT_EQ(Row(2).tokens, 9);
    EXPECT_EQ(Row(3).bars, 0);
    EXPECT_EQ(Row(3).tokens, 0);
    EXPECT_EQ(Row(4).bars, 2);
    EXPECT_EQ(Row(4).tokens, 7);
    EXPECT_TRUE(Row(4).levelUp);
}

TEST_F(StatsPanelTest, HugeOrNegativeGainsStayInsideTheStrips) {
    Player.weekGain = {250, -7, 0, 0, 0};
    StatsMode = 1;
    TStatsPanel::DrawSkills();
    EXPECT_EQ(Row(0).bars, 10) << "more than a hundred points still fill the strip";
    EXPECT_EQ(Row(1).bars, 0);
    EXPECT_EQ(Row(1).tokens, 0);
}

TEST_F(StatsPanelTest, SkillsCanvasIsClearedToThePanelsCreamThenPresented) {
    StatsMode = 0;
    TStatsPanel::DrawSkills();
    const std::vector<TDrawCall> calls = Drawn(StatsSkills);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().kind, TDrawKind::Rect);
    EXPECT_EQ(calls.front().w, 200);
    EXPECT_EQ(calls.front().h, 250);
    EXPECT_EQ(calls.front().state.blend, BlendAlpha);
    EXPECT_EQ(calls.front().state.r, 255);
    EXPECT_EQ(calls.front().state.g, 248);
    EXPECT_EQ(calls.front().state.b, 230);
    EXPECT_EQ(calls.back().kind, TDrawKind::Present);
    // The colour tints pictures: the strips are drawn untinted.
    for (const TDrawCall& call : Images(StatsSkills))
        EXPECT_EQ(call.state.r + call.state.g + call.state.b, 3 * 255);
}

TEST_F(StatsPanelTest, EachSkillRowNamesTheSkillWithItsLevelAndPointsOrTheWeeksGain) {
    Player.skillLevel = {2, 1, 10, 1, 4};
    Player.skillPoints = {3, 0, 12, 0, 9};
    Player.weekGain = {8, 0, 0, 0, 11};
    const auto texts = [] {
        std::vector<std::string> out;
        for (const TDrawCall& call : Drawn(StatsSkills))
            if (call.kind == TDrawKind::Text) out.push_back(call.text + "@" + std::to_string(call.y));
        return out;
    };
    StatsMode = 0;
    TStatsPanel::DrawSkills();
    const std::vector<std::string> stats = texts();
    ASSERT_EQ(stats.size(), 10u);
    EXPECT_EQ(stats[0], "Fitness@20.000000");
    EXPECT_EQ(stats[1], "level 2 \xC2\xB7 3 pts@32.000000");
    EXPECT_EQ(stats[5], "level 10 \xC2\xB7 12 pts@122.000000");
    EXPECT_EQ(stats[8], "Leadership@200.000000");
    HeadlessClearDrawCalls();
    StatsMode = 1;
    TStatsPanel::DrawSkills();
    const std::vector<std::string> review = texts();
    ASSERT_EQ(review.size(), 10u);
    EXPECT_EQ(review[1], "+8 pts \xC2\xB7 level 2@32.000000");
    EXPECT_EQ(review[3], "0 pts \xC2\xB7 level 1@77.000000");
    EXPECT_EQ(review[9], "+11 pts \xC2\xB7 level 4@212.000000");
}

TEST_F(StatsPanelTest, TheReasonNamesTheRuleAndTheFocusedGoalsItWasSharedOrMultipliedBy) {
    EXPECT_EQ(TStatsPanel::MotivationReason(TMotivationCause::NoGain, 2), "No skill points this week: -25");
    EXPECT_EQ(TStatsPanel::MotivationReason(TMotivationCause::GoalItem, 1), "A goal's item arrived");
    EXPECT_EQ(TStatsPanel::MotivationReason(TMotivationCause::GoalItem, 2),
              "A goal's item arrived, bonus split by 2 focused goals");
    EXPECT_EQ(TStatsPanel::MotivationReason(TMotivationCause::GoalSkill, 0), "Points for a goal's skill");
    EXPECT_EQ(TStatsPanel::MotivationReason(TMotivationCause::OtherSkill, 1), "Points for no goal's skill");
    EXPECT_EQ(TStatsPanel::MotivationReason(TMotivationCause::Even, 4), "");
}

TEST_F(StatsPanelTest, InventoryShowsTheFirstNineItemsInSlotOrderOnAGrid) {
    std::vector<TItem*> items;
    for (int i = 0; i < 11; ++i) {
        items.push_back(Item("thing" + std::to_string(i)));
        TPlayer::GiveItem(items.back());
    }
    // A gap in the slots is skipped, not drawn as an empty cell.
    Player.inventory[1] = nullptr;
    StatsMode = 0;
    TStatsPanel::DrawInventory();
    const std::vector<TDrawCall> images = Images(StatsInventory);
    ASSERT_EQ(images.size(), 9u);
    std::vector<TItem*> expected;
    for (TItem* item : Player.inventory)
        if (item != nullptr) expected.push_back(item);
    for (size_t k = 0; k < images.size(); ++k) {
        EXPECT_EQ(images[k].image, expected[k]->icon) << k;
        EXPECT_EQ(images[k].x, 50.0f * static_cast<float>(k % 3)) << k;
        EXPECT_EQ(images[k].y, 50.0f * static_cast<float>(k / 3)) << k;
        EXPECT_EQ(images[k].frame, 0);
    }
    const std::vector<TDrawCall> calls = Drawn(StatsInventory);
    EXPECT_EQ(calls.front().kind, TDrawKind::Rect);
    EXPECT_EQ(calls.front().w, 150);
    EXPECT_EQ(calls.front().h, 150);
    EXPECT_EQ(calls.back().kind, TDrawKind::Present);
}

TEST_F(StatsPanelTest, WeeklyReviewInventoryShowsOnlyThisWeeksItems) {
    TItem* old = Item("old");
    TItem* fresh = Item("fresh");
    Player.inventory[0] = old;
    Player.inventory[1] = fresh;
    Player.weekItems[4] = fresh;
    StatsMode = 1;
    TStatsPanel::DrawInventory();
    const std::vector<TDrawCall> images = Images(StatsInventory);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].image, fresh->icon);
    EXPECT_EQ(images[0].x, 0);
    EXPECT_EQ(images[0].y, 0);
}

TEST_F(StatsPanelTest, PicturesFollowThePlayerWhileThePanelIsOpen) {
    TStatsPanel::ShowPlayerStats();
    TStatsPanel::DrawSkills();
    EXPECT_EQ(Row(2).bars, 1);
    HeadlessClearDrawCalls();
    Player.skillLevel[2] = 6;
    TStatsPanel::DrawSkills();
    EXPECT_EQ(Row(2).bars, 6);
}

} // namespace

namespace {

// The world lays out its labels between paints; a statistics paint must not lend them its font.
TEST_F(StatsPanelTest, PaintingTheStatisticsLeavesMeasuringToTheGameCanvasFont) {
    SetDrawTarget(GameCanvas);
    const TFont big = LoadFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 40, FontSmoothed);
    ASSERT_NE(big, nullptr);
    SetFont(big);
    const int width = TextWidth("Gorum");
    const int height = TextHeight();
    TStatsPanel::DrawSkills();
    TStatsPanel::DrawInventory();
    EXPECT_EQ(TextWidth("Gorum"), width);
    EXPECT_EQ(TextHeight(), height);
}

} // namespace
