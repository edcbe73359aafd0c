// The planner on many small random worlds: the bound never asks for more turns than the soonest plan that
// trying every play finds, for any player, and the plans of the steady player and of the player without
// goals keep to their models. Each world is planned in a process of its own, since the game keeps its
// world in module-level state.

#include "tests/rules/TempContent.hpp"
#include "tests/tools/plan/FreshProcess.hpp"
#include "tools/plan/PlanSearch.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <unistd.h>

namespace {

constexpr int Worlds = 60;
constexpr long SearchPlays = 200000;

// A world of a few items (plain things, assets, jobs), a few actions on one station that raise the first
// three skills, require levels and items, and hand items out and take them, and one short level whose
// final goal is an item some action hands out or a level some action raises a skill to.
void WriteWorld(const TTempContent& dir, unsigned seed) {
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<std::string> goals;
    const auto skill = [&](int cap) {
        const std::string kind = std::to_string(pick(0, 2));
        goals.push_back("SetSkillGoal(\"" + kind + "\", \"" + std::to_string(pick(2, cap)) + "\")\n");
        return "GiveSkill(\"" + kind + "\", \"\", \"\", \"" + std::to_string(cap) + "\")\n";
    };
    dir.WriteBmp("media/s.bmp", 100, 100);
    const int items = pick(1, 3);
    std::string station = "SetImage(\"media/s.bmp\", \"100\", \"100\", \"0\", \"1\")\nTAG=\"station_s\"\n";
    std::string level = "NAME=\"T1\"\nTITLE=\"T\"\nLENGTH=\"" + std::to_string(pick(3, 8)) + "\"\n";
    for (int i = 0; i < items; ++i) {
        const std::string tag = "i" + std::to_string(i);
        const int type = pick(0, 3);
        std::string item = "NAME=\"" + tag + "\"\nTAG=\"" + tag + "\"\n";
        if (type >= 2) {
            item += "SetItemType(\"ASSET\")\nAutoAction(\"run" + tag + "\")\n";
            dir.Write("content/actions/run" + tag + ".txt",
                      "TAG=\"run" + tag + "\"\nAutoAdd\n" + skill(pick(2, 5)));
        }
        if (type == 1) {
            item += "SetItemType(\"JOB\")\nLockAction(\"work" + tag + "\", \"quit" + tag + "\")\n";
            dir.Write("content/actions/work" + tag + ".txt",
                      "TAG=\"work" + tag + "\"\nAutoAdd\n" + skill(pick(2, 5)));
            dir.Write("content/actions/quit" + tag + ".txt",
                      "TAG=\"quit" + tag + "\"\nAutoAdd\nTakeItem(\"" + tag + "\")\n");
        }
        dir.Write("content/items/" + tag + ".txt", item);
    }
    const auto anItem = [&] { return "i" + std::to_string(pick(0, items - 1)); };
    const int actions = pick(2, 4);
    for (int a = 0; a < actions; ++a) {
        const std::string tag = "a" + std::to_string(a);
        std::string action = "NAME=\"" + tag + "\"\nTAG=\"" + tag + "\"\n";
        if (pick(0, 2) > 0) action += skill(pick(2, 4));
        if (pick(0, 3) == 0)
            action += "RequireSkill(\"" + std::to_string(pick(0, 2)) + "\", \"" + std::to_string(pick(2, 3)) +
                      "\")\n";
        if (pick(0, 3) == 0) action += "RequireItem(\"" + anItem() + "\")\n";
        if (pick(0, 2) > 0) {
            const std::string item = anItem();
            const int threshold = pick(0, 3) * 20;
            action += "GiveItem(\"" + item + "\"" +
                      (threshold > 0 ? ", \"" + std::to_string(threshold) + "\"" : "") + ")\n";
            goals.push_back("SetItemGoal(\"" + item + "\")\n");
        }
        if (pick(0, 5) == 0) action += "TakeItem(\"" + anItem() + "\")\n";
        dir.Write("content/actions/" + tag + ".txt", action);
        station += "SetAction(\"" + tag + "\")\n";
        level += "AddAction(\"" + tag + "\")\n";
    }
    level += goals.empty() ? "SetSkillGoal(\"0\", \"2\")\n"
                           : goals[static_cast<size_t>(pick(0, static_cast<int>(goals.size()) - 1))];
    dir.Write("content/stations/s.txt", station);
    dir.Write("content/levels/t1.txt", level);
}

// What a steady plan must keep to, read from the plan alone: the player's only goals are steady goals,
// each set while no other lives, for a milestone not met yet; it stays focused until the week it is due,
// when it is met for the first time, and no other milestone is met before; an item's goal is set before
// the week that gets it. Empty when the plan keeps to it.
std::string SteadyFault(const TPlanWorld& world, const std::vector<TTarget>& milestones, const TPlan& plan) {
    TTarget live;
    int due = 0;
    TPlanState before = world.Start();
    for (const TPlanWeek& week : plan.weeks) {
        const TTurnChoice& c = week.choice;
        const std::string at = "week " + std::to_string(before.week) + ": ";
        if (c.standing >= 0 || !c.levelGoals.empty() || !c.itemGoals.empty())
            return at + "a goal of the best";
        if (c.targetSet) {
            if (live.Live()) return at + "a second goal";
            if (std::find(milestones.begin(), milestones.end(), c.target) == milestones.end())
                return at + "a goal for no milestone";
            if (c.target.MetBy(before.player)) return at + "a goal already met";
            live = c.target;
            due = c.targetDue;
            const int getsIt = due - 1;
            if (live.item != nullptr && getsIt <= before.week)
                return at + "an item's goal set the week it comes";
        }
        if (!(c.target == live)) return at + "the goal was dropped";
        if (live.Live()) {
            const bool met = live.MetBy(week.after.player);
            if (met != (week.after.week == due))
                return at + "the goal is met in another week than its due one";
            for (const TTarget& other : milestones) {
                if (!met && !(other == live) && !other.MetBy(before.player) && other.MetBy(week.after.player))
                    return at + "another milestone came first";
            }
            if (met) live = {};
        }
        before = week.after;
    }
    return live.Live() ? "a goal outlives the plan" : "";
}

std::string NoneFault(const TPlan& plan) {
    for (const TPlanWeek& week : plan.weeks) {
        const TTurnChoice& c = week.choice;
        if (c.standing >= 0 || !c.levelGoals.empty() || !c.itemGoals.empty() || c.target.Live())
            return "the player without goals set one";
    }
    return "";
}

struct TWorldCheck {
    std::string faults;
    int wins = 0; // players with a soonest plan, checked against the bound
};

// Plans the world in the working directory for every player: what broke, and how much was checked.
TWorldCheck CheckWorld() {
    TPlanWorld world;
    if (!world.Open("T1") || !world.Unplayable().empty()) return {};
    const TPlanBound bound(world);
    const TPlayer& start = world.Start().player;
    const int anyone = bound.SequentialTurns(start, world.Turns());
    std::ostringstream faults;
    int wins = 0;
    for (const TPlayerKind kind : {TPlayerKind::Best, TPlayerKind::Steady, TPlayerKind::None}) {
        TPlayerModel model(world, kind);
        const int own = bound.SequentialTurns(start, world.Turns(), model.Freedom());
        TPlanSearch search(world, model, bound);
        const TSearchResult all = search.Complete(SearchPlays);
        const std::string who = std::string(TPlayerModel::Name(kind)) + ": ";
        if (!all.proven) continue;
        const int turns = static_cast<int>(all.plan.weeks.size());
        if (all.plan.won &&
            (own > turns || anyone > turns || bound.FewestTurns(start, world.Turns()) > turns))
            faults << who << "the bound " << own << " (any player " << anyone << ") above a win in " << turns
                   << "; ";
        if (!all.plan.won) continue;
        ++wins;
        // The plan the beams find as well as the soonest one.
        for (const TPlan& plan : {all.plan, search.Search(SearchPlays, own).plan}) {
            const std::string fault = kind == TPlayerKind::Steady
                                          ? SteadyFault(world, model.Milestones(), plan)
                                      : kind == TPlayerKind::None ? NoneFault(plan)
                                                                  : "";
            if (!fault.empty()) faults << who << fault << "; ";
        }
    }
    return {faults.str(), wins};
}

TWorldCheck CheckInFreshProcess(const TTempContent& dir) {
    const std::string found = InFreshProcess([&] {
        if (chdir(dir.root.c_str()) != 0) return std::string();
        const TWorldCheck check = CheckWorld();
        return std::to_string(check.wins) + " " + check.faults;
    });
    TWorldCheck check;
    std::istringstream fields(found);
    if (!(fields >> check.wins)) return {"the planner ended the process"};
    std::getline(fields >> std::ws, check.faults);
    return check;
}

TEST(PlanProperty, TheBoundNeverExceedsTheSoonestWinAndPlayersKeepToTheirModels) {
    int wins = 0;
    for (unsigned seed = 1; seed <= Worlds; ++seed) {
        TTempContent dir;
        WriteWorld(dir, seed);
        const TWorldCheck check = CheckInFreshProcess(dir);
        EXPECT_EQ(check.faults, "") << "world " << seed;
        wins += check.wins;
    }
    // Enough of the worlds are won, by enough players, for the checks to mean something.
    EXPECT_GE(wins, Worlds / 2);
}

} // namespace
