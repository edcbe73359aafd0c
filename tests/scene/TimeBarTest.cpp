#include "SceneFixture.hpp"

#include "platform/ImageData.hpp"

#include <random>
#include <tuple>

using TimeBarTest = SceneFixture;

TEST_F(TimeBarTest, TenWeeksSpreadEvenlyFrom75To725) {
    LevelLength = 10;
    EXPECT_FLOAT_EQ(TTimeBar::WeekX(1), 75.0f);
    EXPECT_NEAR(TTimeBar::WeekX(2), 147.222f, 1e-3f);
    EXPECT_NEAR(TTimeBar::WeekX(3), 219.444f, 1e-3f);
    EXPECT_FLOAT_EQ(TTimeBar::WeekX(10), 725.0f);
    EXPECT_FLOAT_EQ(TTimeBar::WeekX(0), 75.0f);
    EXPECT_FLOAT_EQ(TTimeBar::WeekX(14), 725.0f);
    EXPECT_EQ(TTimeBar::WeekAtX(111), 1);
    EXPECT_EQ(TTimeBar::WeekAtX(112), 2);
    EXPECT_EQ(TTimeBar::WeekAtX(-40), 1);
    EXPECT_EQ(TTimeBar::WeekAtX(900), 10);
    for (int w = 1; w <= 10; ++w)
        EXPECT_EQ(TTimeBar::WeekAtX(TTimeBar::WeekX(w)), w);
    EXPECT_FLOAT_EQ(TTimeBar::WeekY(3), 30.0f);
}

TEST_F(TimeBarTest, AOneWeekLevelHasAOnePointStrip) {
    for (int length : {1, 0, -3}) {
        LevelLength = length;
        EXPECT_FLOAT_EQ(TTimeBar::WeekX(1), 75.0f);
        EXPECT_FLOAT_EQ(TTimeBar::WeekX(2), 75.0f);
        EXPECT_EQ(TTimeBar::WeekAtX(75), 1);
        EXPECT_EQ(TTimeBar::WeekAtX(725), 1);
    }
    LevelLength = 1;
    TTimeBar::BuildTicks();
    const auto ovals = Calls(TDrawKind::Oval);
    ASSERT_EQ(ovals.size(), 2u);
    EXPECT_FLOAT_EQ(ovals[0].x, 75.0f);
}

TEST_F(TimeBarTest, TicksAreDrawnThenGrabbedWithLargerOnesEveryFourthWeek) {
    LevelLength = 10;
    TTimeBar::BuildTicks();
    ASSERT_NE(TickImage, nullptr);
    EXPECT_EQ(ImageWidth(TickImage), 700);
    EXPECT_EQ(ImageHeight(TickImage), 50);
    EXPECT_NE(TickImage->flags & ImageDynamic, 0);
    EXPECT_NE(TickImage->flags & ImageMasked, 0);

    const auto& calls = HeadlessDrawCalls();
    ASSERT_EQ(calls.size(), 22u);
    EXPECT_EQ(calls.front().kind, TDrawKind::Clear);
    EXPECT_EQ(calls.back().kind, TDrawKind::Grab);
    EXPECT_EQ(calls.back().image, TickImage);
    EXPECT_FLOAT_EQ(calls.back().x, 50.0f);
    EXPECT_FLOAT_EQ(calls.back().y, 0.0f);
    for (int w = 1; w <= 10; ++w) {
        const TDrawCall& rim = calls[static_cast<size_t>(2 * w - 1)];
        const TDrawCall& dot = calls[static_cast<size_t>(2 * w)];
        const bool large = w == 4 || w == 8;
        const float s = large ? 6.0f : 4.0f;
        const float y = large ? 29.0f : 30.0f;
        const float x = static_cast<float>(static_cast<int>(TTimeBar::WeekX(w)));
        EXPECT_FLOAT_EQ(rim.x, x) << w;
        EXPECT_FLOAT_EQ(rim.y, y) << w;
        EXPECT_FLOAT_EQ(rim.w, s) << w;
        EXPECT_EQ(rim.state.r, 1);
        EXPECT_EQ(rim.state.g, 1);
        EXPECT_FLOAT_EQ(dot.x, x + 1.0f) << w;
        EXPECT_FLOAT_EQ(dot.y, y + 1.0f) << w;
        EXPECT_FLOAT_EQ(dot.h, s - 2.0f) << w;
        EXPECT_EQ(dot.state.r, 255);
    }

    HeadlessClearDrawCalls();
    TTimeBar::DrawTicks();
    const auto images = Calls(TDrawKind::Image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].image, TickImage);
    EXPECT_FLOAT_EQ(images[0].x, 50.0f);
}

TEST_F(TimeBarTest, AnAbsurdLevelLengthStillBuildsQuickly) {
    LevelLength = 2000000000;
    TTimeBar::BuildTicks();
    EXPECT_EQ(Calls(TDrawKind::Oval).size(), static_cast<size_t>(2 * MaxTickWeeks));
}

TEST_F(TimeBarTest, SetupPlacesTheStripAndTheMarkerAndNextWeekMovesIt) {
    TLayerRef backdrop = TLayer::Create("backdrop");
    TLayerRef timebar = TLayer::Create("timebar");
    backdrop->MakeCurrent();
    TTimeBar::Setup();
    EXPECT_EQ(timebar->DrawRoutine, "TIMEBAR");
    EXPECT_TRUE(timebar->Sprites.empty());
    ASSERT_EQ(backdrop->Sprites.size(), 2u);
    EXPECT_EQ(backdrop->Sprites.front(), TimeBarSprite);
    EXPECT_FLOAT_EQ(TimeBarSprite->X, 50.0f);
    ASSERT_NE(Mechanism, nullptr);
    EXPECT_EQ(Mechanism->Tag, "MECHANISM");
    EXPECT_EQ(Mechanism->Kind, "_DISPLAYS");
    EXPECT_EQ(Mechanism->GrabState, GrabFixed);
    EXPECT_FLOAT_EQ(Mechanism->Sprite->X, 25.0f);
    EXPECT_FLOAT_EQ(Mechanism->Y, 20.0f);
    EXPECT_EQ(log.size(), 2u); // both pictures are missing here

    LevelLength = 10;
    CurrentWeek = 1;
    TTimeBar::NextWeek();
    EXPECT_EQ(CurrentWeek, 2);
    EXPECT_NEAR(Mechanism->X, 97.222f, 1e-3f);
    for (int i = 0; i < 20; ++i)
        TTimeBar::NextWeek();
    EXPECT_EQ(CurrentWeek, 22);
    EXPECT_FLOAT_EQ(Mechanism->X, 675.0f);
}

TEST_F(TimeBarTest, TheBackdropTilesThreePicturesInTheBackdropLayer) {
    media->Picture("Grassy_BACK.jpg", 400, 300);
    TLayerRef backdrop = TLayer::Create("backdrop");
    TLayer::Create("stations");
    TBackdropRef made = TBackdrop::Create("media/Grassy");
    EXPECT_EQ(CurrentBackdrop, made);
    EXPECT_EQ(CurrentLayer, backdrop);
    ASSERT_EQ(backdrop->Sprites.size(), 3u);
    EXPECT_EQ(backdrop->Sprites.front(), made->Back);
    EXPECT_EQ(backdrop->Sprites.back(), made->Over2);
    EXPECT_EQ(made->Back->Tiled, 1);
    EXPECT_EQ(made->Over1->Tiled, 1);
    EXPECT_EQ(made->Over2->Tiled, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"LOG: Failed to load image: media/Grassy_OVER1.png",
                                             "LOG: Failed to load image: media/Grassy_OVER2.png"}));
    TLayer::RenderAll();
    // 800/400+1 and 600/300+1, both ends included: a 4 x 4 tiling of the one picture that loaded.
    EXPECT_EQ(Calls(TDrawKind::Image).size(), 16u);
}

class MotivationTest : public SceneFixture {
  protected:
    TDrawCall MeterAt(float m) {
        motivation = m;
        HeadlessClearDrawCalls();
        TMotivation::DrawMeter();
        const auto rects = Calls(TDrawKind::Rect);
        EXPECT_EQ(rects.size(), 1u);
        EXPECT_EQ(canvas->draw.r + canvas->draw.g + canvas->draw.b, 3 * 255);
        return rects.empty() ? TDrawCall{} : rects[0];
    }

    static void ExpectBar(const TDrawCall& bar, int r, int g, float w) {
        EXPECT_EQ(bar.state.r, r);
        EXPECT_EQ(bar.state.g, g);
        EXPECT_EQ(bar.state.b, 0);
        EXPECT_FLOAT_EQ(bar.w, w);
        EXPECT_FLOAT_EQ(bar.h, 10.0f);
        EXPECT_FLOAT_EQ(bar.x, 320.0f);
        EXPECT_FLOAT_EQ(bar.y, 585.0f);
    }

    static std::array<int, 5> Gain(int kind, int points) {
        std::array<int, 5> gain{};
        gain[static_cast<size_t>(kind)] = points;
        return gain;
    }

    static TWeekGoals OneSkillGoal(int kind) {
        TWeekGoals goals;
        goals.focusedCount = 1;
        goals.goalSkills[static_cast<size_t>(kind)] = true;
        return goals;
    }
};

TEST_F(MotivationTest, TheMeterGrowsAndTurnsFromRedToGreen) {
    ExpectBar(MeterAt(0), 255, 0, 0.0f);
    ExpectBar(MeterAt(25), 127, 63, 40.0f);
    ExpectBar(MeterAt(50), 0, 127, 80.0f);
    ExpectBar(MeterAt(100), 0, 255, 160.0f);
}

TEST_F(MotivationTest, SetupPutsTheFrameInTheCurrentLayer) {
    TLayerRef displays = TLayer::Create("displays");
    TMotivation::Setup();
    ASSERT_EQ(displays->Sprites.size(), 1u);
    EXPECT_EQ(displays->Sprites.front(), MotivationFrame);
    EXPECT_FLOAT_EQ(MotivationFrame->X, 300.0f);
    EXPECT_FLOAT_EQ(MotivationFrame->Y, 580.0f);
}

TEST_F(MotivationTest, MotivationNeverLeavesItsRange) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> delta(-80.0f, 80.0f);
    for (int i = 0; i < 1000; ++i) {
        TMotivation::AddMotivation(delta(random));
        ASSERT_GE(motivation, 0.0f);
        ASSERT_LE(motivation, 100.0f);
    }
    TMotivation::AddMotivation(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(motivation, 0.0f);
    TMotivation::AddMotivation(std::numeric_limits<float>::infinity());
    EXPECT_FLOAT_EQ(motivation, 100.0f);
}

TEST_F(MotivationTest, AWeekWithProgressInAGoalSkillRaisesIt) {
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(2, 8), OneSkillGoal(2)), 2);
    EXPECT_FLOAT_EQ(motivation, 52.5f);
    motivation = 50;
    TWeekGoals two = OneSkillGoal(2);
    two.focusedCount = 2;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(2, 1), two), 1);
    EXPECT_FLOAT_EQ(motivation, 51.25f);
    motivation = 100;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(2, 8), OneSkillGoal(2)), 0);
    EXPECT_FLOAT_EQ(motivation, 100.0f);
    motivation = 0;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(2, 8), OneSkillGoal(2)), 5);
    EXPECT_FLOAT_EQ(motivation, 5.0f);
}

TEST_F(MotivationTest, AWeekWithProgressOnlyElsewhereOrNoneLowersIt) {
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(0, 8), OneSkillGoal(2)), -12);
    EXPECT_FLOAT_EQ(motivation, 37.5f);
    motivation = 50;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(0, 8), TWeekGoals{}), -12);
    EXPECT_FLOAT_EQ(motivation, 37.5f);
    motivation = 50;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(2, 0), OneSkillGoal(2)), -25);
    EXPECT_FLOAT_EQ(motivation, 25.0f);
    motivation = 50;
    std::array<int, 5> mixed{5, 0, -5, 0, 0};
    EXPECT_EQ(TMotivation::WeeklyChange(mixed, OneSkillGoal(0)), -25);
    motivation = 100;
    TWeekGoals three = OneSkillGoal(2);
    three.focusedCount = 3;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(1, 8), three), -25); // 25 x 3 x 1, capped at 25
    EXPECT_FLOAT_EQ(motivation, 75.0f);
}

TEST_F(MotivationTest, AGoalItemArrivingGivesTheBonusFirst) {
    TWeekGoals goals;
    goals.goalItemReceived = true;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(0, 0), goals), 1); // before the no-progress penalty
    EXPECT_FLOAT_EQ(motivation, 51.0f);
    motivation = 20;
    goals.focusedCount = 2;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(0, 0), goals), 1); // 5 / (2 x 0.2 x 10)
    EXPECT_FLOAT_EQ(motivation, 21.25f);
    // At zero the bonus has no bound: motivation fills up and the week reports that.
    motivation = 0;
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(0, 0), goals), 100);
    EXPECT_FLOAT_EQ(motivation, 100.0f);
}

TEST_F(MotivationTest, EachWeekNamesTheRuleThatDecidedItsChange) {
    TWeekGoals item;
    item.goalItemReceived = true;
    std::array<int, 5> mixed{5, 0, -5, 0, 0};
    const std::tuple<float, std::array<int, 5>, TWeekGoals, TMotivationCause> cases[] = {
        {50, Gain(2, 8), OneSkillGoal(2), TMotivationCause::GoalSkill},
        {50, Gain(0, 8), OneSkillGoal(2), TMotivationCause::OtherSkill},
        {50, Gain(0, 8), TWeekGoals{}, TMotivationCause::OtherSkill},
        {50, Gain(2, 0), OneSkillGoal(2), TMotivationCause::NoGain},
        {50, mixed, OneSkillGoal(0), TMotivationCause::NoGain},
        {50, Gain(0, 0), item, TMotivationCause::GoalItem},
        {0, Gain(0, 0), item, TMotivationCause::GoalItem},
        {100, Gain(2, 8), OneSkillGoal(2), TMotivationCause::Even},
    };
    for (const auto& [start, gain, goals, cause] : cases) {
        motivation = start;
        TMotivationCause found = TMotivationCause::Even;
        TMotivation::WeeklyChange(gain, goals, &found);
        EXPECT_EQ(found, cause) << start;
    }
}

TEST_F(MotivationTest, RewardsShrinkWithTimeToSpareAndPenaltiesTakeFortyPercent) {
    CurrentWeek = 5;
    TMotivation::GoalReward(5);
    EXPECT_FLOAT_EQ(motivation, 70.0f);
    motivation = 50;
    TMotivation::GoalReward(7);
    EXPECT_FLOAT_EQ(motivation, 60.0f);
    motivation = 50;
    TMotivation::GoalReward(9);
    EXPECT_FLOAT_EQ(motivation, 50.0f);
    TMotivation::GoalReward(20);
    EXPECT_FLOAT_EQ(motivation, 50.0f);
    motivation = 0;
    TMotivation::GoalReward(5);
    EXPECT_FLOAT_EQ(motivation, 40.0f);

    motivation = 60;
    TMotivation::GoalPenalty();
    EXPECT_FLOAT_EQ(motivation, 36.0f);
    motivation = 100;
    TMotivation::GoalPenalty();
    EXPECT_FLOAT_EQ(motivation, 60.0f);
}

TEST_F(MotivationTest, UnconnectedTheRulesChangeNothingAndTheMeterIsNotDrawn) {
    MotivationValue = nullptr;
    TMotivation::AddMotivation(10);
    TMotivation::GoalPenalty();
    EXPECT_EQ(TMotivation::WeeklyChange(Gain(0, 5), TWeekGoals{}), 0);
    TMotivation::DrawMeter();
    EXPECT_TRUE(HeadlessDrawCalls().empty());
    EXPECT_FLOAT_EQ(motivation, 50.0f);
}
