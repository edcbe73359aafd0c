#include "tests/rules/GoalFixture.hpp"

#include "platform/DrawState.hpp"
#include "scene/Numeric.hpp"

#include <algorithm>

namespace {

using GoalLifeTest = GoalTest;
using GoalStackTest = GoalTest;
using GoalFocusTest = GoalTest;
using GoalTokenTest = GoalTest;
using GoalWeekTest = GoalTest;
using GoalMotivationTest = GoalTest;
using GoalStringTest = GoalTest;

TEST_F(GoalLifeTest, ANewGoalIsAPlanningTokenDueNextWeekAtTheFrontOfTheHotspots) {
    TGoalRef goal = TGoal::Create();
    ASSERT_NE(goal, nullptr);
    EXPECT_EQ(goal->hotspot->Tag, "GOAL_1");
    EXPECT_EQ(goal->hotspot->Kind, "_GOALS");
    EXPECT_EQ(HotspotList.front(), goal->hotspot);
    EXPECT_EQ(goal->hotspot->Inactive, 0);
    EXPECT_EQ(goal->hotspot->Sprite->Hidden, 0);
    EXPECT_EQ(goal->hotspot->Width, 40);
    EXPECT_EQ(goal->focused, 0);
    EXPECT_EQ(goal->final, 0);
    EXPECT_EQ(goal->stackPriority, 1);
    EXPECT_EQ(goal->deadline, 2);
    // Placed at week 1's home, then hung on week 2 without being moved.
    EXPECT_EQ(goal->hotspot->X, 75.0f);
    EXPECT_EQ(goal->hotspot->Y, 105.0f);
    EXPECT_EQ(goal->hotspot->AnchorX, 147);
    EXPECT_EQ(goal->hotspot->AnchorY, 30);
    EXPECT_EQ(goal->hotspot->HomeX, 147);
    EXPECT_EQ(goal->hotspot->HomeY, 105);
    EXPECT_EQ(GoalCount, 1);
    EXPECT_EQ(GoalSerial, 2);
    ASSERT_NE(PlanningTemplate, nullptr);
    EXPECT_EQ(PlanningTemplate->Tag, "GOAL_OBJECT");
    EXPECT_EQ(PlanningTemplate->Kind, "_ABSTRACT");
    EXPECT_EQ(PlanningTemplate->Inactive, 1);
    EXPECT_TRUE(InLayer("goals", goal->hotspot->Sprite));

    TGoalRef second = TGoal::Create();
    EXPECT_EQ(HotspotList.front(), second->hotspot);
    EXPECT_EQ(GoalList.back(), second);
}

TEST_F(GoalLifeTest, FifteenGoalsAtMostAndTheSerialIsNeverReset) {
    for (int i = 0; i < MaxGoals; ++i)
        ASSERT_NE(TGoal::Create(), nullptr);
    const size_t hotspots = HotspotList.size();
    EXPECT_EQ(TGoal::Create(), nullptr);
    EXPECT_EQ(TGoal::CreateSkillGoal(1, 4), nullptr);
    EXPECT_EQ(TGoal::CreateItemGoal("medal"), nullptr);
    EXPECT_EQ(GoalCount, 15);
    EXPECT_EQ(HotspotList.size(), hotspots);

    TGoal::DestroyAll();
    EXPECT_EQ(GoalCount, 0);
    EXPECT_TRUE(GoalList.empty());
    EXPECT_EQ(HotspotList.size(), 3u); // the templates stay
    EXPECT_EQ(TGoal::Create()->hotspot->Tag, "GOAL_16");
}

TEST_F(GoalLifeTest, SkillAndItemGoalsAndWhenTheyAreReached) {
    Item("medal");
    TGoalRef skill = TGoal::CreateSkillGoal(2, 3);
    ASSERT_NE(skill->icon, nullptr);
    EXPECT_TRUE(InLayer("iconlayer", skill->icon));
    EXPECT_EQ(skill->icon->X, skill->hotspot->X);
    EXPECT_FALSE(skill->IsItemGoal());
    EXPECT_EQ(skill->IsReached(), 0);
    Player.skillLevel[2] = 3;
    EXPECT_EQ(skill->IsReached(), 1);

    TGoalRef item = TGoal::CreateItemGoal("medal");
    EXPECT_EQ(item->icon, nullptr);
    EXPECT_TRUE(item->IsItemGoal());
    EXPECT_EQ(item->IsReached(), 0);
    TPlayer::GiveItemTag("medal");
    EXPECT_EQ(item->IsReached(), 1);

    // Naming no item and asking for level 0, a goal is met at once; an unknown skill has no level.
    EXPECT_EQ(TGoal::CreateItemGoal("ghost")->IsReached(), 1);
    EXPECT_EQ(TGoal::CreateSkillGoal(7, 2)->IsReached(), 0);
    EXPECT_EQ(TGoal::CreateSkillGoal(-1, 0)->IsReached(), 1);
}

// An item goal's token shows its item's icon made small in its middle, there wherever the token goes.
TEST_F(GoalLifeTest, AnItemGoalsTokenCarriesItsItemsIconSmallInItsMiddle) {
    Item("medal")->icon = CreateImage(50, 50);
    TGoalRef goal = TGoal::CreateItemGoal("medal");
    ASSERT_NE(goal->icon, nullptr);
    EXPECT_EQ(goal->icon->Image, ItemList.front()->icon);
    EXPECT_TRUE(InLayer("iconlayer", goal->icon));
    const auto centred = [&] {
        const THotspot& token = *goal->hotspot;
        EXPECT_FLOAT_EQ(goal->icon->X + goal->icon->DrawnWidth() / 2, token.X + token.Width / 2.0f);
        EXPECT_FLOAT_EQ(goal->icon->Y + goal->icon->DrawnHeight() / 2, token.Y + token.Height / 2.0f);
    };
    EXPECT_LT(goal->icon->DrawnWidth(), static_cast<float>(goal->hotspot->Width));
    centred();
    goal->hotspot->SetPosition(300.0f, 150.0f);
    TGoal::UpdateAll("NULL", "NULL");
    centred();
    const TSpriteRef icon = goal->icon;
    goal->Destroy();
    EXPECT_FALSE(InLayer("iconlayer", icon));
}

TEST_F(GoalLifeTest, DestroyTakesTheTokenAndIconAlong) {
    TGoalRef goal = TGoal::CreateSkillGoal(0, 4);
    const THotspotRef token = goal->hotspot;
    const TSpriteRef sprite = token->Sprite;
    goal->Destroy();
    EXPECT_TRUE(GoalList.empty());
    EXPECT_EQ(GoalCount, 0);
    EXPECT_FALSE(InHotspotList(token));
    EXPECT_FALSE(InLayer("goals", sprite));
    EXPECT_FALSE(InLayer("iconlayer", goal->icon));
    goal->Destroy(); // twice is harmless
    EXPECT_EQ(GoalCount, 0);
    EXPECT_EQ(TGoal::FindByHotspotTag("GOAL_1"), nullptr);
}

TEST_F(GoalLifeTest, FindByHotspotTagFindsTheGoalOfAToken) {
    TGoal::Create();
    TGoalRef second = TGoal::Create();
    EXPECT_EQ(TGoal::FindByHotspotTag("GOAL_2"), second);
    EXPECT_EQ(TGoal::FindByHotspotTag("GOAL_3"), nullptr);
}

TEST_F(GoalLifeTest, DeadlinesAreClampedToAfterNowAndWithinTheLevel) {
    TGoalRef goal = TGoal::Create();
    CurrentWeek = 3;
    goal->SetDeadline(1, 0);
    EXPECT_EQ(goal->deadline, 4);
    goal->SetDeadline(3, 0);
    EXPECT_EQ(goal->deadline, 4);
    goal->SetDeadline(7, 0);
    EXPECT_EQ(goal->deadline, 7);
    goal->SetDeadline(25, 0);
    EXPECT_EQ(goal->deadline, 10);
    EXPECT_EQ(goal->hotspot->AnchorX, 725);
    CurrentWeek = 10;
    goal->SetDeadline(0, 0);
    EXPECT_EQ(goal->deadline, 10);

    // Place 1 centres the token on its new home; place 0 leaves it where it is.
    CurrentWeek = 1;
    const float x = goal->hotspot->X;
    goal->SetDeadline(5, 0);
    EXPECT_EQ(goal->hotspot->X, x);
    goal->SetDeadline(5, 1);
    EXPECT_EQ(goal->hotspot->HomeX, 363);
    EXPECT_EQ(goal->hotspot->HomeY, 105);
    EXPECT_EQ(goal->hotspot->X, 343.0f);
    EXPECT_EQ(goal->hotspot->Y, 85.0f);
}

TEST_F(GoalStackTest, ThreeTokensAtOneWeekStackByPriority) {
    TGoalRef planning = SkillGoal(0, 5, 5);
    TGoalRef focused = FocusedSkillGoal(1, 5, 5);
    TGoalRef final = TGoal::Create();
    final->SetDeadline(5, 1);
    final->MakeFinal();
    Settle();
    EXPECT_EQ(final->hotspot->HomeY, 100);
    EXPECT_EQ(focused->hotspot->HomeY, 140);
    EXPECT_EQ(planning->hotspot->HomeY, 180);
    // A leashed token's leash follows its place.
    EXPECT_EQ(final->hotspot->Leash, 150);
    EXPECT_EQ(focused->hotspot->Leash, 190);
    EXPECT_EQ(planning->hotspot->Leash, -1);
}

TEST_F(GoalStackTest, BetweenEqualsTheTokenThatHungHigherKeepsTheTop) {
    TGoalRef first = SkillGoal(0, 5, 5);
    TGoalRef second = SkillGoal(1, 5, 5);
    first->hotspot->HomeY = 140;
    second->hotspot->HomeY = 100;
    Settle();
    EXPECT_EQ(first->hotspot->HomeY, 140);
    EXPECT_EQ(second->hotspot->HomeY, 100);

    first->hotspot->HomeY = 100;
    second->hotspot->HomeY = 140;
    Settle();
    EXPECT_EQ(first->hotspot->HomeY, 100);
    EXPECT_EQ(second->hotspot->HomeY, 140);

    // Two tokens hanging equally high part: neither may claim a place the other holds.
    TGoalRef a = SkillGoal(2, 5, 8);
    TGoalRef b = SkillGoal(3, 5, 8);
    ASSERT_EQ(a->hotspot->HomeY, b->hotspot->HomeY);
    Settle();
    EXPECT_EQ(std::min(a->hotspot->HomeY, b->hotspot->HomeY), 100);
    EXPECT_EQ(std::max(a->hotspot->HomeY, b->hotspot->HomeY), 140);
}

TEST_F(GoalStackTest, ADraggedTokenYieldsItsPlace) {
    TGoalRef top = SkillGoal(0, 5, 5);
    TGoalRef below = SkillGoal(1, 5, 5);
    top->hotspot->HomeY = 100;
    below->hotspot->HomeY = 140;
    top->hotspot->GrabState = GrabHeld;
    top->hotspot->SetPosition(343.0f, 85.0f); // its centre stays over week 5
    Settle(3);
    EXPECT_EQ(below->hotspot->HomeY, 100);
}

TEST_F(GoalStackTest, TokensAtOtherWeeksDoNotStack) {
    TGoalRef a = SkillGoal(0, 5, 5);
    TGoalRef b = SkillGoal(1, 5, 6);
    Settle();
    EXPECT_EQ(a->hotspot->HomeY, 100);
    EXPECT_EQ(b->hotspot->HomeY, 100);
}

TEST_F(GoalStackTest, SixPlacesAtOneWeekAndASeventhTokenKeepsItsHome) {
    std::vector<TGoalRef> focused;
    for (int i = 0; i < 6; ++i) {
        const std::string tag = "thing" + std::to_string(i);
        Item(tag);
        TGoalRef goal = TGoal::CreateItemGoal(tag);
        goal->SetDeadline(5, 1);
        goal->Focus();
        focused.push_back(goal);
    }
    Settle();
    TGoalRef seventh = SkillGoal(0, 5, 5);
    Settle();
    std::vector<int> homes;
    for (const TGoalRef& goal : focused)
        homes.push_back(goal->hotspot->HomeY);
    std::sort(homes.begin(), homes.end());
    EXPECT_EQ(homes, (std::vector<int>{100, 140, 180, 220, 260, 300}));
    EXPECT_EQ(seventh->hotspot->HomeY, 105);
}

TEST_F(GoalFocusTest, FocusSwapsTheTokenAndUnfocusSwapsItBack) {
    TGoalRef goal = SkillGoal(0, 5, 4);
    goal->hotspot->SetPosition(120.7f, 90.2f);
    const TSpriteRef planningSprite = goal->hotspot->Sprite;
    goal->Focus();
    EXPECT_EQ(goal->focused, 1);
    EXPECT_EQ(goal->stackPriority, 3);
    EXPECT_EQ(goal->hotspot->Leash, 100);
    EXPECT_NE(goal->hotspot->Sprite, planningSprite);
    EXPECT_FALSE(InLayer("goals", planningSprite));
    EXPECT_TRUE(InLayer("goals", goal->hotspot->Sprite));
    EXPECT_EQ(goal->hotspot->Sprite->Image, FocusedTemplate->Sprite->Image);
    EXPECT_EQ(goal->hotspot->Sprite->Tag, "nullcopy");
    EXPECT_EQ(goal->hotspot->Sprite->Hidden, 0);
    EXPECT_EQ(goal->hotspot->Sprite->X, 120.0f);
    EXPECT_EQ(goal->hotspot->Sprite->Y, 90.0f);

    goal->Unfocus();
    EXPECT_EQ(goal->focused, 0);
    EXPECT_EQ(goal->stackPriority, 1);
    EXPECT_EQ(goal->hotspot->Leash, -1);
    EXPECT_EQ(goal->hotspot->Sprite->Image, PlanningTemplate->Sprite->Image);

    goal->MakeFinal();
    EXPECT_EQ(goal->final, 1);
    EXPECT_EQ(goal->stackPriority, 5);
    EXPECT_EQ(goal->hotspot->Leash, 100);
    EXPECT_EQ(goal->hotspot->Sprite->Image, FinalTemplate->Sprite->Image);
    // A final goal keeps its look and its place when focused or unfocused.
    const TSpriteRef finalSprite = goal->hotspot->Sprite;
    goal->Focus();
    EXPECT_EQ(goal->focused, 1);
    EXPECT_EQ(goal->hotspot->Sprite, finalSprite);
    EXPECT_EQ(goal->stackPriority, 5);
    goal->Unfocus();
    EXPECT_EQ(goal->focused, 0);
    EXPECT_EQ(goal->hotspot->Sprite, finalSprite);
    EXPECT_EQ(goal->hotspot->Leash, 100);
}

TEST_F(GoalFocusTest, OneFocusedGoalPerSkillAndPerItem) {
    Item("medal");
    Item("sword");
    TGoalRef fitness = FocusedSkillGoal(0, 5, 4);
    TGoalRef again = SkillGoal(0, 7, 6);
    EXPECT_EQ(again->CanFocus(), 0);
    const TSpriteRef before = again->hotspot->Sprite;
    again->Focus();
    EXPECT_EQ(again->focused, 0);
    EXPECT_EQ(again->hotspot->Sprite, before);
    EXPECT_EQ(SkillGoal(1, 5, 4)->CanFocus(), 1);

    TGoalRef medal = TGoal::CreateItemGoal("medal");
    EXPECT_EQ(medal->CanFocus(), 1); // beside a focused skill goal of kind 0
    medal->Focus();
    EXPECT_EQ(TGoal::CreateItemGoal("medal")->CanFocus(), 0);
    EXPECT_EQ(TGoal::CreateItemGoal("sword")->CanFocus(), 1);

    // Unfocusing frees the skill again.
    fitness->Unfocus();
    EXPECT_EQ(again->CanFocus(), 1);
}

TEST_F(GoalFocusTest, TheFinalGoalNeverBlocksFocusing) {
    TGoalRef final = SkillGoal(2, 8, 10);
    final->MakeFinal();
    final->Focus();
    ASSERT_EQ(final->focused, 1);
    TGoalRef social = SkillGoal(2, 4, 3);
    EXPECT_EQ(social->CanFocus(), 1);
    social->Focus();
    EXPECT_EQ(social->focused, 1);
}

TEST_F(GoalTokenTest, SqueezingWithTheLeftButtonTogglesFocus) {
    TGoalRef goal = SkillGoal(0, 5, 4);
    TGoal::CreateSkillGoal(1, 5);
    PointerButton = 1;
    TGoal::UpdateAll("SQUEEZE", "GOAL_1");
    EXPECT_EQ(goal->focused, 1);
    EXPECT_EQ(TGoal::FindByHotspotTag("GOAL_2")->focused, 0);
    TGoal::UpdateAll("SQUEEZE", "GOAL_1");
    EXPECT_EQ(goal->focused, 0);
    PointerButton = 2;
    TGoal::UpdateAll("SQUEEZE", "GOAL_1");
    EXPECT_EQ(goal->focused, 0);
    PointerButton = 1;
    TGoal::UpdateAll("HOLD", "GOAL_1");
    EXPECT_EQ(goal->focused, 0);
}

TEST_F(GoalTokenTest, AHeldPlanningTokenTakesTheWeekUnderItsCentre) {
    TGoalRef goal = SkillGoal(0, 5, 4);
    goal->hotspot->GrabState = GrabHeld;
    goal->hotspot->SetPosition(TTimeBar::WeekX(6) - 20.0f, 120.0f);
    TGoal::UpdateAll("NULL", "NULL");
    EXPECT_EQ(goal->deadline, 6);
    EXPECT_EQ(goal->hotspot->AnchorX, 436);
    EXPECT_EQ(goal->hotspot->Y, 120.0f);

    // A focused token keeps its deadline wherever it is carried.
    goal->Focus();
    goal->hotspot->SetPosition(TTimeBar::WeekX(9) - 20.0f, 120.0f);
    TGoal::UpdateAll("NULL", "NULL");
    EXPECT_EQ(goal->deadline, 6);
}

TEST_F(GoalTokenTest, APlanningTokenBelowThreeHundredIsReleasedAndFallsOffTheCanvas) {
    TGoalRef goal = SkillGoal(0, 5, 4);
    const TSpriteRef icon = goal->icon;
    goal->hotspot->SetPosition(200.0f, 300.0f);
    TGoal::UpdateAll("NULL", "NULL");
    EXPECT_EQ(goal->deadline, 4); // its top edge is on the line, not below it

    goal->hotspot->SetPosition(200.0f, 301.0f);
    TGoal::UpdateAll("NULL", "NULL");
    EXPECT_EQ(goal->deadline, -1);
    EXPECT_EQ(goal->hotspot->HomeY, 900);
    EXPECT_EQ(goal->hotspot->HomeX, 220);
    EXPECT_EQ(goal->hotspot->AnchorX, -1);
    EXPECT_EQ(goal->hotspot->AnchorY, -1);
    EXPECT_EQ(goal->hotspot->ScaleReturn, 0);

    float lastY = 0.0f;
    for (int tick = 0; tick < 2000 && goal->GoalEntry; ++tick) {
        lastY = goal->hotspot->Y;
        EXPECT_EQ(icon->Y, goal->hotspot->Y);
        THotspot::PollAll();
        TGoal::UpdateAll("NULL", "NULL");
    }
    EXPECT_FALSE(goal->GoalEntry);
    EXPECT_GT(goal->hotspot->Y, 840.0f);
    EXPECT_LE(lastY, 840.0f);
    EXPECT_EQ(GoalCount, 0);
    EXPECT_FALSE(InLayer("iconlayer", icon));
    EXPECT_FALSE(InHotspotList(goal->hotspot));
}

TEST_F(GoalTokenTest, AReleasedTokenCannotBeFocusedAndBlocksNoOther) {
    TGoalRef released = SkillGoal(0, 5, 4);
    TGoalRef other = SkillGoal(0, 6, 5);
    released->hotspot->SetPosition(200.0f, 301.0f);
    TGoal::UpdateAll("NULL", "NULL");
    ASSERT_EQ(released->deadline, -1);
    PointerButton = 1;
    TGoal::UpdateAll("SQUEEZE", released->hotspot->Tag);
    EXPECT_EQ(released->focused, 0);
    released->Focus();
    EXPECT_EQ(released->focused, 0);
    other->Focus();
    EXPECT_EQ(other->focused, 1);
}

TEST_F(GoalTokenTest, FocusedAndFinalTokensAreNeverReleased) {
    TGoalRef focused = FocusedSkillGoal(0, 5, 4);
    TGoalRef final = SkillGoal(1, 5, 8);
    final->MakeFinal();
    focused->hotspot->SetPosition(200.0f, 500.0f);
    final->hotspot->SetPosition(300.0f, 700.0f);
    TGoal::UpdateAll("NULL", "NULL");
    EXPECT_EQ(focused->deadline, 4);
    EXPECT_EQ(final->deadline, 8);
    EXPECT_EQ(focused->hotspot->HomeY, 100);
    EXPECT_EQ(GoalCount, 2);
}

TEST_F(GoalWeekTest, WeeklyCheckMovesPlanningGoalsOnAndDropsReachedOnesSilently) {
    TGoalRef due = SkillGoal(2, 5, 3);
    TGoalRef reached = SkillGoal(0, 1, 5);
    TGoalRef focused = FocusedSkillGoal(1, 5, 3);
    TGoalRef released = SkillGoal(3, 5, 6);
    released->deadline = -1;
    const THotspotRef reachedToken = reached->hotspot;
    CurrentWeek = 3;
    TGoal::WeeklyCheck();
    EXPECT_EQ(due->deadline, 4);
    EXPECT_EQ(released->deadline, 4);
    EXPECT_EQ(released->hotspot->AnchorX, TruncInt(TTimeBar::WeekX(4)));
    EXPECT_FALSE(reached->GoalEntry);
    EXPECT_FALSE(InHotspotList(reachedToken));
    EXPECT_EQ(focused->deadline, 3);
    EXPECT_EQ(GoalCount, 3);
    EXPECT_TRUE(prompts.empty());
}

TEST_F(GoalWeekTest, TheEvaluationReportsOneGoalPerCallInListOrder) {
    Player.skillLevel[0] = 3;
    TGoalRef passed = FocusedSkillGoal(0, 3, 4);
    TGoalRef planning = SkillGoal(1, 5, 6);
    TGoalRef missed = FocusedSkillGoal(2, 5, 3);
    TGoalRef final = SkillGoal(4, 9, 3);
    final->MakeFinal();
    CurrentWeek = 3;

    EvalCursor = GoalList.front();
    TGoal::EvaluateNext();
    EXPECT_EQ(prompts, (std::vector<std::string>{"GOALPASS:GOAL_1"}));
    EXPECT_FALSE(passed->GoalEntry);
    EXPECT_EQ(EvalCursor, planning);
    EXPECT_FLOAT_EQ(Player.motivation, 65.0f); // one week to spare: three quarters of 20

    TGoal::EvaluateNext();
    EXPECT_EQ(prompts.back(), "GOALFAIL:GOAL_3");
    EXPECT_TRUE(missed->GoalEntry); // the prompt's answer decides
    EXPECT_EQ(EvalCursor, final);
    EXPECT_FLOAT_EQ(Player.motivation, 39.0f);

    TGoal::EvaluateNext();
    EXPECT_EQ(prompts.back(), "FINALFAIL:GOAL_4");
    EXPECT_FALSE(final->GoalEntry);
    EXPECT_EQ(EvalCursor, nullptr);

    TGoal::EvaluateNext();
    EXPECT_EQ(prompts.size(), 3u);
    EXPECT_TRUE(planning->GoalEntry);
    EXPECT_FLOAT_EQ(Player.motivation, 39.0f);
}

TEST_F(GoalWeekTest, AReachedFinalGoalPassesWithoutAReward) {
    Player.skillLevel[4] = 6;
    TGoalRef final = SkillGoal(4, 6, 9);
    final->MakeFinal();
    EvalCursor = final;
    TGoal::EvaluateNext();
    EXPECT_EQ(prompts, (std::vector<std::string>{"FINALPASS:GOAL_1"}));
    EXPECT_FALSE(final->GoalEntry);
    EXPECT_FLOAT_EQ(Player.motivation, 50.0f);
}

TEST_F(GoalWeekTest, AGoalRemovedWhileAPromptIsOpenDoesNotLoseTheRest) {
    Player.skillLevel[0] = 3;
    FocusedSkillGoal(0, 3, 4);
    TGoalRef next = FocusedSkillGoal(1, 5, 6);
    FocusedSkillGoal(2, 5, 3);
    CurrentWeek = 3;
    EvalCursor = GoalList.front();
    TGoal::EvaluateNext();
    ASSERT_EQ(EvalCursor, next);
    next->Destroy();
    TGoal::EvaluateNext();
    EXPECT_EQ(prompts.back(), "GOALFAIL:GOAL_3");
}

TEST_F(GoalWeekTest, AReleasedTokenIsNotReportedAsMissed) {
    TGoalRef released = SkillGoal(1, 5, 6);
    released->deadline = -1;
    EvalCursor = released;
    TGoal::EvaluateNext();
    EXPECT_TRUE(prompts.empty());
    EXPECT_FLOAT_EQ(Player.motivation, 50.0f);
    EXPECT_EQ(EvalCursor, nullptr);
}

TEST_F(GoalMotivationTest, AWeekWithOneFocusedSkillGoalAtHalfMotivation) {
    WeekGoalsGatherer = TGoal::GatherWeekGoals;
    FocusedSkillGoal(0, 5, 6);
    TAction* fitness = Unlocked("GiveSkill(\"Fitness\",\"\",\"\",\"10\")\n");
    TAction* social = Unlocked("GiveSkill(\"Social\",\"\",\"\",\"10\")\n");

    TPlayer::DoWeek(fitness, true);
    EXPECT_FLOAT_EQ(Player.motivation, 52.5f);
    EXPECT_EQ(Player.lastMotivationChange, 2);
    EXPECT_EQ(Player.lastMotivationCause, TMotivationCause::GoalSkill);
    EXPECT_EQ(Player.lastFocusedGoals, 1);

    Player.motivation = 50.0f;
    TPlayer::DoWeek(social, true);
    EXPECT_FLOAT_EQ(Player.motivation, 37.5f);
    EXPECT_EQ(Player.lastMotivationChange, -12);

    Player.motivation = 50.0f;
    TPlayer::DoWeek(nullptr, true);
    EXPECT_FLOAT_EQ(Player.motivation, 25.0f);
    EXPECT_EQ(Player.lastMotivationChange, -25);
    EXPECT_EQ(Player.lastMotivationCause, TMotivationCause::NoGain);
}

TEST_F(GoalMotivationTest, OnlyFocusedAndFinalGoalsCountInTheWeek) {
    Item("medal");
    TGoalRef planning = SkillGoal(0, 5, 6);
    TGoalRef item = TGoal::CreateItemGoal("medal");
    std::array<TItem*, InventorySlots> week{};
    week[4] = TItem::FindByTag("medal");

    TWeekGoals goals = TGoal::GatherWeekGoals(week);
    EXPECT_EQ(goals.focusedCount, 0);
    EXPECT_FALSE(goals.goalItemReceived);
    EXPECT_FALSE(goals.goalSkills[0]);

    item->Focus();
    planning->MakeFinal();
    goals = TGoal::GatherWeekGoals(week);
    EXPECT_EQ(goals.focusedCount, 1);
    EXPECT_TRUE(goals.goalItemReceived);
    EXPECT_TRUE(goals.goalSkills[0]);
    EXPECT_FALSE(TGoal::GatherWeekGoals({}).goalItemReceived);
}

TEST_F(GoalMotivationTest, AGoalItemArrivingGivesTheBonusEvenFromZero) {
    WeekGoalsGatherer = TGoal::GatherWeekGoals;
    Item("medal");
    TAction* win = Unlocked("GiveItem(\"medal\")\n");
    TGoal::CreateItemGoal("medal")->Focus();
    TPlayer::DoWeek(win, true);
    EXPECT_FLOAT_EQ(Player.motivation, 51.0f); // 5 / (1 x 0.5 x 10)
    EXPECT_EQ(Player.lastMotivationChange, 1);

    // Low motivation makes a big bonus, 5 / (1 x 0.02 x 10) = 25 at 2; at 0 it has no bound: motivation
    // fills up and the week reports the whole 100.
    const TWeekGoals goals = TGoal::GatherWeekGoals(Player.weekItems);
    Player.motivation = 2.0f;
    EXPECT_EQ(TMotivation::WeeklyChange({}, goals), 25);
    EXPECT_FLOAT_EQ(Player.motivation, 27.0f);
    Player.motivation = 0.0f;
    EXPECT_EQ(TMotivation::WeeklyChange({}, goals), 100);
    EXPECT_FLOAT_EQ(Player.motivation, 100.0f);
}

TEST_F(GoalMotivationTest, RewardsShrinkWithWeeksToSpareAndMissesCostFortyPercent) {
    Player.skillLevel[0] = 5;
    const int spare[] = {0, 2, 4, 6};
    const float after[] = {70.0f, 60.0f, 50.0f, 50.0f};
    for (int i = 0; i < 4; ++i) {
        Player.motivation = 50.0f;
        CurrentWeek = 1;
        TGoalRef goal = FocusedSkillGoal(0, 5, 2 + spare[i]);
        CurrentWeek = 2;
        EvalCursor = goal;
        TGoal::EvaluateNext();
        EXPECT_FLOAT_EQ(Player.motivation, after[i]) << spare[i] << " weeks to spare";
    }

    Player.motivation = 60.0f;
    TGoalRef missed = FocusedSkillGoal(1, 5, 3);
    CurrentWeek = 3;
    EvalCursor = missed;
    TGoal::EvaluateNext();
    EXPECT_FLOAT_EQ(Player.motivation, 36.0f);
}

TEST_F(GoalMotivationTest, ActionsServeOnlyFocusedAndFinalGoals) {
    ActiveGoalWalker = TGoal::WalkActive;
    TAction* fitness = Unlocked("GiveSkill(\"Fitness\",\"\",\"\",\"10\")\n");
    TGoalRef goal = SkillGoal(0, 5, 6);
    EXPECT_EQ(fitness->ServesActiveGoal(), 0);
    goal->Focus();
    EXPECT_EQ(fitness->ServesActiveGoal(), 1);
}

TEST_F(GoalStringTest, PlanningGoalsHangByBlackLinesAndOthersByGoldChains) {
    TGadget window = OpenWindow("Gorum", 0, 0, 800, 600, nullptr, StyleTitleBar);
    SetDrawTarget(AddCanvas(0, 0, 800, 600, window));
    GoldLinkImage = CreateImage(5, 5);
    SkillGoal(0, 5, 5);        // centre (363, 105), strip point (363, 30)
    FocusedSkillGoal(1, 5, 2); // centre (147, 105), strip point (147, 30)
    SkillGoal(2, 5, 7)->deadline = -1;
    HeadlessClearDrawCalls();

    TGoal::DrawStrings();
    std::vector<TDrawCall> lines;
    std::vector<TDrawCall> links;
    for (const TDrawCall& call : HeadlessDrawCalls()) {
        if (call.kind == TDrawKind::Line) lines.push_back(call);
        if (call.kind == TDrawKind::Image) links.push_back(call);
    }
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, 363.0f);
    EXPECT_EQ(lines[0].y, 105.0f);
    EXPECT_EQ(lines[0].w, 366.0f);
    EXPECT_EQ(lines[0].h, 33.0f);
    EXPECT_EQ(lines[0].state.r + lines[0].state.g + lines[0].state.b, 0);

    ASSERT_EQ(links.size(), 15u); // 75 pixels, one link every 5
    for (size_t i = 0; i < links.size(); ++i) {
        EXPECT_EQ(links[i].x, 145.0f);
        EXPECT_EQ(links[i].y, static_cast<float>(105 - 5 * static_cast<int>(i + 1) - 2));
        EXPECT_EQ(links[i].state.r + links[i].state.g + links[i].state.b, 3 * 255);
    }
    EXPECT_EQ(CurrentDrawTarget()->draw.r, 255);
    EXPECT_EQ(CurrentDrawTarget()->draw.b, 255);
}

} // namespace
