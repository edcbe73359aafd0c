// The shipped levels as a curve a newcomer can climb, proven by gorum-plan's three players: the steady
// player wins every level with fewer weeks to spare as the levels go on, the player who sets no goals
// wins only the first, and no level replays another's opening. And the content around it: every job,
// item and place is offered somewhere, nothing offered is a pure trap, and the texts of a level speak
// only of what it has.
#include "platform/headless/Headless.hpp"
#include "rules/Item.hpp"
#include "rules/Station.hpp"
#include "shell/Level.hpp"
#include "shell/Main.hpp"
#include "tests/tools/plan/PlanRun.hpp"
#include "tools/plan/PlanText.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <future>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// In the order the level list offers them, which is the order of their names.
std::vector<std::string> ShippedLevelNames() {
    std::vector<std::string> names = LevelNames();
    std::sort(names.begin(), names.end());
    return names;
}

struct TLevelCurve {
    std::string name;
    TPlanRun run;
    std::vector<std::string> steadyTurns; // the steady plan's actions, week by week
    std::string best, steady, none;       // weeks to spare, or "no plan found"
};

TLevelCurve Plan(const std::string& name) {
    TLevelCurve curve;
    curve.name = name;
    curve.run = TPlanRun::Of(std::string(GORUM_SOURCE_DIR) + " " + name + " --player steady");
    std::istringstream text(curve.run.output);
    for (const TScriptWeek& week : TPlanText::Read(text).weeks)
        curve.steadyTurns.push_back(week.actionTag + "@" + week.stationTag);
    std::smatch found;
    const std::regex spare("weeks to spare: best ([^,]+), steady ([^,]+), none ([^;]+);");
    if (std::regex_search(curve.run.output, found, spare)) {
        curve.best = found[1];
        curve.steady = found[2];
        curve.none = found[3];
    }
    return curve;
}

// Two at a time: the machine that runs the suite has two cores.
std::vector<TLevelCurve> PlanEveryLevel() {
    const std::vector<std::string> names = ShippedLevelNames();
    std::vector<TLevelCurve> curves;
    for (size_t i = 0; i < names.size(); i += 2) {
        auto second = std::async(std::launch::async,
                                 [&] { return i + 1 < names.size() ? Plan(names[i + 1]) : TLevelCurve{}; });
        curves.push_back(Plan(names[i]));
        if (i + 1 < names.size()) curves.push_back(second.get());
    }
    return curves;
}

bool Won(const std::string& spare) {
    return !spare.empty() && std::isdigit(static_cast<unsigned char>(spare[0])) != 0;
}

TEST(LevelCurveTest, TheSteadyPlayerWinsEveryLevelWithLessTimeToSpareAndNoLevelReplaysAnothersOpening) {
    const std::vector<TLevelCurve> curves = PlanEveryLevel();
    ASSERT_GE(curves.size(), 10u);
    std::set<std::string> earlierTurns;
    int previous = -1;
    for (size_t i = 0; i < curves.size(); ++i) {
        const TLevelCurve& level = curves[i];
        ASSERT_EQ(level.run.status, 0) << level.name << " is not won by the steady player:\n"
                                       << level.run.output;
        ASSERT_TRUE(Won(level.steady)) << level.run.output;
        EXPECT_TRUE(Won(level.best)) << level.name << ": " << level.run.output;
        const int spare = std::stoi(level.steady);
        if (i == 0) {
            EXPECT_TRUE(spare == 4 || spare == 5) << "the first level leaves " << spare << " weeks to spare";
            EXPECT_TRUE(Won(level.none)) << "the first level is won without goals:\n" << level.run.output;
        } else {
            EXPECT_LE(spare, previous) << level.name << " leaves more time to spare than the level before";
            EXPECT_TRUE(level.run.Says("no single action taken every week wins")) << level.run.output;
        }
        if (i >= 2) {
            EXPECT_FALSE(Won(level.none)) << level.name << " is won without goals:\n" << level.run.output;
        }
        previous = spare;

        // Each level asks for something no level before it did.
        const bool asksNew =
            std::any_of(level.steadyTurns.begin(), level.steadyTurns.end(),
                        [&](const std::string& turn) { return earlierTurns.count(turn) == 0; });
        EXPECT_TRUE(asksNew) << level.name << " asks for nothing new:\n" << level.run.output;
        earlierTurns.insert(level.steadyTurns.begin(), level.steadyTurns.end());

        // The first half of the shorter plan is not how the longer one starts.
        for (size_t j = 0; j < i; ++j) {
            const TLevelCurve& other = curves[j];
            const size_t half = std::min(level.steadyTurns.size(), other.steadyTurns.size()) / 2;
            EXPECT_FALSE(std::equal(other.steadyTurns.begin(),
                                    other.steadyTurns.begin() + static_cast<long>(half),
                                    level.steadyTurns.begin()))
                << other.name << " and " << level.name << " open with the same " << half << " weeks";
        }
    }
    EXPECT_TRUE(previous == 1 || previous == 2) << "the last level leaves " << previous << " weeks to spare";
}

// The shipped game as the game loads it; the game starts once per process.
class ShippedLevels : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static const bool started = [] {
            HeadlessReset();
            Main();
            return true;
        }();
        (void)started;
    }

    static bool Lists(const TStation& station, const TAction* action) {
        return std::find(station.actions.begin(), station.actions.end(), action) != station.actions.end();
    }
    static bool Offers(const TLevel& level, const TAction* action) {
        return std::find(level.ActionTags.begin(), level.ActionTags.end(), action->tag) !=
               level.ActionTags.end();
    }
    static bool Gives(const TLevel& level, const TItem* item) {
        return std::find(level.ItemTags.begin(), level.ItemTags.end(), item->tag) != level.ItemTags.end();
    }
    // The level's actions a station's ring offers.
    static std::vector<const TAction*> StationActions(const TLevel& level) {
        std::vector<const TAction*> found;
        for (const auto& station : StationList) {
            for (const TAction* action : station->actions) {
                if (Offers(level, action) && std::find(found.begin(), found.end(), action) == found.end())
                    found.push_back(action);
            }
        }
        return found;
    }
    static bool Shown(const TLevel& level, const TStation& station) {
        return std::any_of(station.actions.begin(), station.actions.end(),
                           [&](const TAction* action) { return Offers(level, action); });
    }
    // What the level runs: its stations' actions, and the work, quit and weekly turns of what it gives.
    static bool Runs(const TLevel& level, const TAction* action) {
        const std::vector<const TAction*> offered = StationActions(level);
        if (std::find(offered.begin(), offered.end(), action) != offered.end()) return true;
        return std::any_of(level.ItemTags.begin(), level.ItemTags.end(), [&](const std::string& tag) {
            const TItem* item = TItem::FindByTag(tag);
            return item->actionTag == action->tag || item->quitActionTag == action->tag;
        });
    }
    static std::string TextOf(const TLevel& level) {
        std::ifstream file(level.TutorialPath);
        std::stringstream page;
        page << file.rdbuf();
        std::string text = std::regex_replace(page.str(), std::regex("<[^>]*>|&[a-z]+;"), " ");
        return level.IntroPrompt.Text + " " + std::regex_replace(text, std::regex("\\s+"), " ");
    }
    static bool Names(const std::string& text, const std::string& name, bool anyCase) {
        const auto flags = anyCase ? std::regex::icase : std::regex::ECMAScript;
        return std::regex_search(text, std::regex("\\b" + name + "\\b", flags));
    }
};

TEST_F(ShippedLevels, EveryJobItemAndPlaceIsOfferedByALevel) {
    for (const auto& item : ItemList) {
        EXPECT_TRUE(std::any_of(LevelRegistry.begin(), LevelRegistry.end(),
                                [&](const auto& level) { return Gives(*level, item.get()); }))
            << "no level gives " << item->tag;
    }
    for (const auto& station : StationList) {
        EXPECT_TRUE(std::any_of(LevelRegistry.begin(), LevelRegistry.end(),
                                [&](const auto& level) { return Shown(*level, *station); }))
            << "no level shows " << station->tag;
    }
}

// A week spent applying or buying earns nothing, so it must bring what the final goal needs, worked back
// from the goal: an item the goal or a needed action requires, a job whose work takes a needed skill
// further than any place of the level does, an asset that raises a needed skill. A level's tutorial may
// warn of one that does not by naming it.
TEST_F(ShippedLevels, NoPurchaseOrApplicationIsAPureTrapUnlessTheTutorialWarnsOfIt) {
    for (const auto& level : LevelRegistry) {
        std::array<int, SkillCount> needLevel{};
        std::set<std::string> needItems;
        if (TItem::FindByTag(level->ItemGoal) != nullptr)
            needItems.insert(level->ItemGoal);
        else
            needLevel[static_cast<size_t>(level->SkillGoalKind)] = level->SkillGoalLevel;
        std::array<int, SkillCount> placeCap{};
        const std::vector<const TAction*> offered = StationActions(*level);
        for (const TAction* action : offered) {
            for (size_t s = 0; s < SkillCount; ++s) {
                if (action->skillBase[s] > 0) placeCap[s] = std::max(placeCap[s], action->skillCap[s]);
            }
        }
        const auto raisesNeeded = [&](const TAction* action, const std::array<int, SkillCount>& above) {
            for (size_t s = 0; s < SkillCount; ++s) {
                if (action->skillBase[s] > 0 && needLevel[s] > 1 && action->skillCap[s] > above[s])
                    return true;
            }
            return false;
        };
        const auto serves = [&](const TAction* action) {
            return raisesNeeded(action, {1, 1, 1, 1, 1}) ||
                   std::any_of(action->giveItems.begin(), action->giveItems.end(),
                               [&](const std::string& tag) { return needItems.count(tag) != 0; });
        };
        for (size_t grown = 0, before = 1; grown != before;) {
            before = grown;
            for (const std::string& tag : level->ItemTags) {
                const TItem* item = TItem::FindByTag(tag);
                const TAction* run = TAction::FindByTag(item->actionTag);
                if (run == nullptr) continue;
                if ((item->itemType == "JOB" && raisesNeeded(run, placeCap)) ||
                    (item->itemType == "ASSET" && raisesNeeded(run, {1, 1, 1, 1, 1})))
                    needItems.insert(tag);
            }
            for (const TAction* action : offered) {
                if (!serves(action)) continue;
                for (size_t s = 0; s < SkillCount; ++s)
                    needLevel[s] = std::max(needLevel[s], action->requiredLevels[s]);
                for (const std::string& tag : action->requiredItems) {
                    if (TItem::FindByTag(tag) != nullptr) needItems.insert(tag);
                }
            }
            grown = needItems.size();
            for (const int need : needLevel)
                grown = grown * 11 + static_cast<size_t>(need);
        }
        const std::string text = TextOf(*level);
        for (const TAction* action : offered) {
            const bool earns = std::any_of(action->skillBase.begin(), action->skillBase.end(),
                                           [](int base) { return base > 0; });
            EXPECT_TRUE(earns || serves(action) || Names(text, action->name, false))
                << level->Name << ": " << action->name << " is a pure trap";
        }
    }
}

TEST_F(ShippedLevels, IntroductionsAndTutorialsSpeakOnlyOfWhatTheirLevelHas) {
    for (const auto& level : LevelRegistry) {
        const std::string text = TextOf(*level);
        ASSERT_GT(text.size(), 200u) << level->Name << " has no tutorial";
        for (const auto& station : StationList) {
            if (Names(text, station->infoText.Title, false)) {
                EXPECT_TRUE(Shown(*level, *station))
                    << level->Name << " speaks of " << station->infoText.Title;
            }
        }
        for (const auto& action : ActionList) {
            if (Names(text, action->name, false)) {
                EXPECT_TRUE(Runs(*level, action.get())) << level->Name << " speaks of " << action->name;
            }
        }
        for (const auto& item : ItemList) {
            if (Names(text, item->name, true)) {
                EXPECT_TRUE(Gives(*level, item.get())) << level->Name << " speaks of " << item->name;
            }
        }
    }
}

} // namespace
