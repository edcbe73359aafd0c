// The weekly review in the real window: its canvases take the panel's own colour, so no blank box shows,
// and every skill row carries its words.
#include "tests/platform/GtkTestSupport.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/StatsPanel.hpp"
#include "rules/Player.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// Pixels of the area within `tolerance` per channel of the colour.
int CountNear(const std::vector<guchar>& area, int r, int g, int b, int tolerance) {
    int count = 0;
    for (size_t i = 0; i + 2 < area.size(); i += 3) {
        if (std::abs(area[i] - r) <= tolerance && std::abs(area[i + 1] - g) <= tolerance &&
            std::abs(area[i + 2] - b) <= tolerance)
            ++count;
    }
    return count;
}

TEST_F(GtkTest, WeeklyReview_ItsCanvasesWearThePanelsColourAndEachSkillRowHasWords) {
    TGlobalGadgets::Create();
    TStatsPanel::Build();
    Player = TPlayer{};
    Player.weekGain = {8, 0, 0, 0, 0};
    TStatsPanel::ShowWeeklyReview();
    TStatsPanel::DrawSkills();
    TStatsPanel::DrawInventory();
    ASSERT_TRUE(WaitMapped(MainWindow));
    Xdotool("mousemove 0 0");
    // The panel's own colour, once the panel is on the screen.
    std::vector<int> panel;
    PumpUntil(
        [&] {
            panel = ScreenPixel(ScreenPoint(StatsPanelGadget, 5, 250));
            return panel.size() == 3 && std::abs(panel[0] - panel[2]) > 10;
        },
        3000);
    PumpFor(200);
    ASSERT_EQ(panel.size(), 3u);
    for (TGadget canvas : {StatsInventory, StatsSkills}) {
        const std::vector<guchar> area = ScreenArea(ScreenPoint(canvas, 0, 0), 150, 150);
        ASSERT_EQ(area.size(), 150u * 150u * 3u);
        EXPECT_EQ(CountNear(area, 255, 255, 255, 2), 0) << "a blank white box";
        EXPECT_GT(CountNear(area, panel[0], panel[1], panel[2], 2), 150 * 150 / 2)
            << "not the panel's colour";
    }
    // The words of each row lie right of its point tokens: dark ink on every row.
    for (int skill = 0; skill < SkillCount; ++skill) {
        const std::vector<guchar> words = ScreenArea(ScreenPoint(StatsSkills, 78, 45 * skill + 20), 120, 25);
        ASSERT_EQ(words.size(), 120u * 25u * 3u);
        EXPECT_GT(CountNear(words, 45, 42, 38, 60), 20) << "row " << skill;
    }
}

} // namespace
