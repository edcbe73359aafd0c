// Every level in content/levels: the plan gorum-plan prints for the best and the steady player, played in
// the real game on the headless backend by pointer events and button presses only, must end in the
// "FINALPASS" prompt. New levels are picked up by themselves.

#include "tests/tools/plan/PlanReplay.hpp"
#include "shell/Main.hpp"
#include "tests/tools/plan/FreshProcess.hpp"
#include "tests/tools/plan/PlanRun.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Every replay starts the game afresh: the child starts it and replays, the parent reads the result.
TReplayResult ReplayInFreshGame(const std::string& level, const TPlanScript& script) {
    const std::string report = InFreshProcess([&] {
        Main();
        const TReplayResult played = TPlanReplay::Play(level, script);
        return std::to_string(played.finalPassed) + " " + std::to_string(played.weeksPlayed) + " " +
               played.failure;
    });
    TReplayResult result;
    std::istringstream fields(report);
    fields >> result.finalPassed >> result.weeksPlayed;
    std::getline(fields >> std::ws, result.failure);
    if (report.empty()) result.failure = "the replay ended the game";
    return result;
}

class ShippedLevelReplay : public ::testing::TestWithParam<std::tuple<std::string, std::string>> {};

TEST_P(ShippedLevelReplay, ThePrintedPlanWinsTheLevelInTheGame) {
    const auto& [level, player] = GetParam();
    const TPlanRun plan = TPlanRun::Of(std::string(GORUM_SOURCE_DIR) + " " + level + " --player " + player);
    ASSERT_EQ(plan.status, 0) << plan.output;
    std::istringstream text(plan.output);
    const TPlanScript script = TPlanText::Read(text);
    ASSERT_TRUE(script.won) << plan.output;
    ASSERT_FALSE(script.weeks.empty());
    // The bound that proves levels hopeless must never ask for more turns than a plan found takes.
    const size_t bound = plan.output.find("no plan can win in fewer than ");
    ASSERT_NE(bound, std::string::npos) << plan.output;
    EXPECT_LE(std::atoi(plan.output.c_str() + bound + 30), static_cast<int>(script.weeks.size()));

    const TReplayResult result = ReplayInFreshGame(level, script);
    EXPECT_EQ(result.failure, "") << plan.output;
    EXPECT_TRUE(result.finalPassed);
    EXPECT_EQ(result.weeksPlayed, static_cast<int>(script.weeks.size()));
}

// A plan written by hand for level 01, as a player might squeeze standing goals in and out of focus:
// Mental +8 (standing goal focused: 50 + 2.5), then Social +8 (52.5 + 2.375), then Mental again through
// its goal focused once more: +8 lands on 2:6, and 54.875 + 5 * (1 - 0.54875) = 57.13. Three weeks do
// not win, and the replay says so after checking each of them.
TEST(PlanReplay, SqueezesStandingGoalsInAndOutOfFocusAndReportsAPlanThatDoesNotWin) {
    std::istringstream text(
        "Week 1:\n"
        "  new goal: Mental 10 by week 10, focused\n"
        "  action: Study [action_study] at Library [station_library]\n"
        "  after: Fitness 1:0, Mental 1:8, Social 1:0, Wealth 1:0, Leadership 1:0; items: none; "
        "motivation 52.50\n"
        "Week 2:\n"
        "  unfocus goal: Mental 10 by week 10\n"
        "  new goal: Social 10 by week 10, focused\n"
        "  action: Chat with Friends [action_chat] at Cafe [station_cafe]\n"
        "  after: Fitness 1:0, Mental 1:8, Social 1:8, Wealth 1:0, Leadership 1:0; items: none; "
        "motivation 54.88\n"
        "Week 3:\n"
        "  unfocus goal: Social 10 by week 10\n"
        "  focus goal: Mental 10 by week 10\n"
        "  action: Study [action_study] at Library [station_library]\n"
        "  after: Fitness 1:0, Mental 2:6, Social 1:8, Wealth 1:0, Leadership 1:0; items: none; "
        "motivation 57.13\n");
    const TPlanScript script = TPlanText::Read(text);
    const TReplayResult result = ReplayInFreshGame("01", script);
    EXPECT_EQ(result.weeksPlayed, 3);
    EXPECT_FALSE(result.finalPassed);
    EXPECT_EQ(result.failure, "week 4: the plan ended without winning");
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLevelReplay,
                         ::testing::Combine(::testing::ValuesIn(LevelNames()),
                                            ::testing::Values("best", "steady")),
                         [](const auto& info) {
                             return "Level" + std::get<0>(info.param) + "_" + std::get<1>(info.param);
                         });

} // namespace
