// The information panel's action list in the real window: the icon each entry shows is, pixel by pixel,
// the icon of the skill its action raises, shrunk to the list's size.
#include "tests/platform/GtkTestSupport.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "platform/ImageData.hpp"
#include "rules/Station.hpp"
#include "scene/RadialItem.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using TRgb = std::array<double, 3>;

// The skill's own icon laid on the row's colour and shrunk to size x size by area averaging.
std::vector<TRgb> Shrunk(const TImage& icon, const TRgb& row, int size) {
    const int w = icon->width, h = icon->height;
    const std::vector<uint8_t>& rgba = icon->pixels[0];
    std::vector<TRgb> out(static_cast<size_t>(size * size), TRgb{});
    const double sx = static_cast<double>(w) / size, sy = static_cast<double>(h) / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            TRgb sum{};
            double weights = 0;
            for (int j = static_cast<int>(y * sy); j < std::ceil((y + 1) * sy) && j < h; ++j) {
                const double wy = std::min(j + 1.0, (y + 1) * sy) - std::max<double>(j, y * sy);
                for (int i = static_cast<int>(x * sx); i < std::ceil((x + 1) * sx) && i < w; ++i) {
                    const double wx = std::min(i + 1.0, (x + 1) * sx) - std::max<double>(i, x * sx);
                    const uint8_t* p = &rgba[static_cast<size_t>((j * w + i) * 4)];
                    const double a = p[3] / 255.0;
                    for (int c = 0; c < 3; ++c)
                        sum[static_cast<size_t>(c)] +=
                            wx * wy * (p[c] * a + row[static_cast<size_t>(c)] * (1 - a));
                    weights += wx * wy;
                }
            }
            for (double& c : sum)
                c /= weights;
            out[static_cast<size_t>(y * size + x)] = sum;
        }
    }
    return out;
}

// The smallest mean difference per channel between the icon and any size x size block of the area.
double BestMatch(const std::vector<guchar>& area, int areaW, int areaH, const std::vector<TRgb>& icon,
                 int size) {
    double best = std::numeric_limits<double>::max();
    for (int top = 0; top + size <= areaH; ++top) {
        for (int left = 0; left + size <= areaW; ++left) {
            double diff = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const guchar* p = &area[static_cast<size_t>(((top + y) * areaW + left + x) * 3)];
                    const TRgb& q = icon[static_cast<size_t>(y * size + x)];
                    for (size_t c = 0; c < 3; ++c)
                        diff += std::abs(p[c] - q[c]);
                }
            }
            best = std::min(best, diff / (size * size * 3));
        }
    }
    return best;
}

TEST_F(GtkTest, InfoList_EachEntryShowsTheIconOfTheSkillItsActionRaises) {
    TGlobalGadgets::Create();
    TInfoPanel::Build();
    InfoPageShower = TInfoPanel::ShowPage;
    StationInfoFiller = TInfoPanel::ShowStationList;
    ASSERT_NE(SkillIcons, nullptr);
    const int size = SkillIcons->height;

    // One action per skill, each also raising a lower skill a little, and one raising none.
    TStation* station = TStation::Create();
    std::vector<std::unique_ptr<TAction>> actions;
    for (int kind = 0; kind <= SkillCount; ++kind) {
        auto action = TAction::Create();
        action->name = "Action " + std::to_string(kind);
        action->locked = 0;
        if (kind < SkillCount) action->skillBase[static_cast<size_t>(kind)] = 2;
        if (kind > 0 && kind < SkillCount) action->skillBonus[0] = 1;
        station->actions.push_back(action.get());
        actions.push_back(std::move(action));
    }
    station->ShowInfo();
    ASSERT_TRUE(WaitMapped(MainWindow));
    Xdotool("mousemove 0 0"); // no row under the pointer
    PumpFor(400);

    GtkTreeView* tree = GTK_TREE_VIEW(WidgetOf(InfoInventory));
    for (int kind = 0; kind <= SkillCount; ++kind) {
        GdkRectangle row{};
        GtkTreePath* path = gtk_tree_path_new_from_indices(kind, -1);
        gtk_tree_view_get_background_area(tree, path, gtk_tree_view_get_column(tree, 0), &row);
        gtk_tree_path_free(path);
        ASSERT_GT(row.width, size) << "row " << kind;
        ASSERT_GE(row.height, size) << "row " << kind;
        int x = 0, y = 0;
        gtk_tree_view_convert_bin_window_to_widget_coords(tree, row.x, row.y, &x, &y);
        const std::vector<guchar> area = ScreenArea(ScreenPoint(InfoInventory, x, y), row.width, row.height);
        ASSERT_EQ(area.size(), static_cast<size_t>(row.width * row.height * 3)) << "row " << kind;
        const guchar* last = &area[static_cast<size_t>((row.height / 2 * row.width + row.width - 2) * 3)];
        const TRgb background{double(last[0]), double(last[1]), double(last[2])};

        std::array<double, SkillCount> apart{};
        for (int skill = 0; skill < SkillCount; ++skill) {
            const TImage own = LoadImage(SkillIconPaths[skill], 0);
            ASSERT_NE(own, nullptr);
            apart[static_cast<size_t>(skill)] =
                BestMatch(area, row.width, row.height, Shrunk(own, background, size), size);
        }
        const auto closest = std::min_element(apart.begin(), apart.end());
        if (kind == SkillCount) {
            EXPECT_GT(*closest, 10.0) << "the entry that raises no skill shows a skill's icon";
            continue;
        }
        EXPECT_EQ(closest - apart.begin(), kind) << "row " << kind;
        EXPECT_LT(apart[static_cast<size_t>(kind)], 6.0) << "row " << kind;
    }
}

} // namespace
