// Every level in content/levels: the plan gorum-plan prints, played in the real game on the headless
// backend by pointer events and button presses only, must end in the "FINALPASS" prompt. New levels are
// picked up by themselves.

#include "tools/plan/PlanReplay.hpp"
#include "panels/GlobalGadgets.hpp"
#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/ContentFile.hpp"
#include "shell/Main.hpp"
#include "tests/tools/plan/PlanRun.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The shipped levels' names, read as the game reads them.
std::vector<std::string> ShippedLevels() {
    std::vector<std::string> names;
    TContentFile::LoadDirectory("content/levels", [&](const std::string& path) {
        TContentFile file = TContentFile::Open(path);
        names.push_back(TContentFile::QuotedArg(file.FindSingle("NAME="), 0));
        file.Close();
    });
    return names;
}

class ShippedLevelReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedLevelReplay, ThePrintedPlanWinsTheLevelInTheGame) {
    const std::string level = GetParam();
    const TPlanRun plan = TPlanRun::Of(std::string(GORUM_SOURCE_DIR) + " " + level);
    ASSERT_EQ(plan.status, 0) << plan.output;
    std::istringstream text(plan.output);
    const TPlanScript script = TPlanText::Read(text);
    ASSERT_TRUE(script.won) << plan.output;
    ASSERT_FALSE(script.weeks.empty());

    HeadlessReset();
    ASSERT_EQ(Main(), 0);
    const TReplayResult result = TPlanReplay::Play(level, script);
    EXPECT_EQ(result.failure, "") << plan.output;
    EXPECT_TRUE(result.finalPassed);
    EXPECT_EQ(result.weeksPlayed, static_cast<int>(script.weeks.size()));
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLevelReplay, ::testing::ValuesIn(ShippedLevels()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return "Level" + info.param;
                         });

} // namespace
