// The shipped levels as a difficulty curve, proven by gorum-plan's search: every level is won, the best
// plan's weeks to spare shrink or stay from one level to the next, and from the second level on no single
// action taken every week wins. (The 21 item choices per level are checked with the loaded levels.)
#include "tests/tools/plan/PlanRun.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

// In the order the level list offers them, which is the order of their names.
std::vector<std::string> ShippedLevelNames() {
    std::vector<std::string> names = LevelNames();
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LevelCurveTest, EveryLevelIsWonWithNoMoreTimeToSpareThanTheOneBefore) {
    const std::vector<std::string> names = ShippedLevelNames();
    ASSERT_GE(names.size(), 8u);
    const std::regex spare("weeks to spare: best (-?[0-9]+)");
    int previous = -1;
    for (size_t i = 0; i < names.size(); ++i) {
        const TPlanRun plan = TPlanRun::Of(std::string(GORUM_SOURCE_DIR) + " " + names[i]);
        ASSERT_EQ(plan.status, 0) << names[i] << " is not won:\n" << plan.output;
        std::smatch found;
        ASSERT_TRUE(std::regex_search(plan.output, found, spare)) << plan.output;
        const int weeks = std::stoi(found[1]);
        EXPECT_GE(weeks, 0) << names[i];
        if (previous >= 0) {
            EXPECT_LE(weeks, previous) << names[i] << " leaves more time to spare than the level before";
        }
        previous = weeks;
        if (i > 0) {
            EXPECT_TRUE(plan.Says("no single action taken every week wins")) << names[i] << ":\n"
                                                                             << plan.output;
        }
    }
}

} // namespace
