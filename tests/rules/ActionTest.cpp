#include "tests/rules/RulesFixture.hpp"

#include <limits>

namespace {

using ActionLoadTest = RulesTest;
using ActionRunTest = RulesTest;

TEST_F(ActionLoadTest, HeaderKeysAndPageSettings) {
    TAction* a =
        Action("DESCRIPTION=\"Lift things~nand rest\"\nNAME=\"Gym\"\nTAG=\"action_gym\"\nDATA=\"given\"\n");
    EXPECT_EQ(a->name, "Gym");
    EXPECT_EQ(a->tag, "action_gym");
    EXPECT_EQ(a->infoText.Title, "Gym");
    EXPECT_EQ(a->infoText.Info, "Lift things~nand rest");
    EXPECT_EQ(a->infoText.Data, "given");
    EXPECT_EQ(a->infoText.ShowClose, 1);
    EXPECT_EQ(a->infoText.ShowHelp, 1);
    EXPECT_EQ(a->infoText.ShowBack, 1);
    EXPECT_EQ(a->infoText.ShowList, 0);
    EXPECT_EQ(a->infoText.Kind, "STATIONINFO");
    EXPECT_EQ(a->locked, 1);
    EXPECT_EQ(a->autoAdd, 0);
    EXPECT_EQ(TAction::FindByTag("action_gym"), a);
    EXPECT_EQ(TAction::FindByName("Gym"), a);
    EXPECT_EQ(TAction::FindByName("gym"), nullptr);
}

TEST_F(ActionLoadTest, MissingHeadersReadNull) {
    TAction* a = Action("");
    EXPECT_EQ(a->tag, "NULL");
    EXPECT_EQ(a->name, "NULL");
    EXPECT_EQ(a->infoText.Info, "NULL");
}

TEST_F(ActionLoadTest, AutoAddOnAnyLineCarryingIt) {
    EXPECT_EQ(Action("  call AutoAdd() please\n")->autoAdd, 1);
    Action("TAG=\"plain\"\n");
    TAction* second = Action("AutoAdd\n");
    EXPECT_EQ(TAction::AutoAdded(), (std::vector<TAction*>{ActionList[0].get(), second}));
    // Refilled with as many actions: gathered afresh, in the new list's order.
    ActionList.clear();
    TAction* first = Action("AutoAdd\n");
    Action("");
    Action("");
    EXPECT_EQ(TAction::AutoAdded(), std::vector<TAction*>{first});
}

TEST_F(ActionLoadTest, SkillNamesAndCaps) {
    TAction* a = Action(
        "GiveSkill(\"Physical\", \"x\", \"y\", \"4\")\nGiveSkill(\"Mind\", \"\", \"\", \"6\")\n"
        "GiveSkill(\"2\")\nGiveSkill(\"Wealth\",\"\",\"\",\"3\")\nGiveSkill(\"Leadership\",\"\",\"\",\"9\")\n"
        "GiveSkill(\"Fitness\", \"\", \"\", \"7\")\n");
    EXPECT_EQ(a->skillBase, (std::array<int, 5>{3, 3, 3, 3, 3}));
    EXPECT_EQ(a->skillBonus, (std::array<int, 5>{9, 9, 9, 9, 9}));
    // The later Fitness line replaces the cap of the first; a missing cap reads 0.
    EXPECT_EQ(a->skillCap, (std::array<int, 5>{7, 6, 0, 3, 9}));
}

TEST_F(ActionLoadTest, UnknownSkillTextIsLoggedAndSkipped) {
    TAction* a = Action(
        "GiveSkill(\"fitness\", \"\", \"\", \"4\")\nGiveSkill(\"NULL\")\nRequireSkill(\"Magic\", \"3\")\n"
        "RequireSkill(\"Mental\", \"4\")\nRequireSkill(\"Social\", \"$2\")\n");
    EXPECT_EQ(a->skillBase, (std::array<int, 5>{}));
    EXPECT_EQ(a->requiredLevels, (std::array<int, 5>{0, 4, 2, 0, 0}));
    EXPECT_TRUE(Logged("Error: Unrecognizable Skill Type: fitness"));
    EXPECT_TRUE(Logged("Error: Unrecognizable Skill Type: Magic"));
    EXPECT_FALSE(Logged("Error: Unrecognizable Skill Type: NULL"));
}

TEST_F(ActionLoadTest, ItemListsCloseWithNullAndStopAtTen) {
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "TakeItem(\"t" + std::to_string(i) + "\")\n";
    text += "GiveItem(\"a\", "
            "\"40.5\")\nGiveItem(\"b\")\nRequireItem(\"r\")\nRequireItem(\"NULL\")\nRequireItem(\"s\")\n";
    TAction* a = Action(text);
    EXPECT_EQ(a->giveItems[0], "a");
    EXPECT_EQ(a->giveItems[1], "b");
    EXPECT_EQ(a->giveItems[2], "NULL");
    EXPECT_EQ(a->giveItems[3], "");
    EXPECT_FLOAT_EQ(a->giveThresholds[0], 40.5f);
    EXPECT_FLOAT_EQ(a->giveThresholds[1], 0.0f);
    EXPECT_EQ(a->takeItems[0], "t0");
    EXPECT_EQ(a->takeItems[9], "t9");
    EXPECT_EQ(a->requiredItems[0], "r");
    EXPECT_EQ(a->requiredItems[1], "");
    EXPECT_EQ(a->requiredItems[2], "s");
    EXPECT_EQ(a->requiredItems[3], "");
}

TEST_F(ActionLoadTest, GeneratedDataTextWordForWord) {
    Item("key", "NOMINAL");
    Item("car", "NOMINAL");
    TAction* a = Action(
        "NAME=\"Study\"\nGiveSkill(\"Leadership\",\"\",\"\",\"5\")\nGiveSkill(\"Mind\",\"\",\"\",\"8\")\n"
        "GiveItem(\"car\")\nGiveItem(\"secret_noshow\")\nGiveItem(\"ghost\")\nTakeItem(\"car\")\n"
        "RequireSkill(\"Wealth\",\"2\")\nRequireSkill(\"Physical\",\"3\")\nRequireItem(\"key\")\n"
        "RequireItem(\"x_noshow\")\n");
    EXPECT_EQ(a->infoText.Data, "Improves mental up to skill level 8.\n"
                                "Improves leadership up to skill level 5.\n"
                                "Gives:  Name of car\n"
                                "Gives:  \n"
                                "\n"
                                "Requires level:  3 fitness skill.\n"
                                "Requires level:  2 wealth skill.\n"
                                "Requires:  Name of key\n");
    EXPECT_EQ(Action("TAG=\"bare\"\n")->infoText.Data, "\n");
}

TEST_F(ActionLoadTest, LoadAllAndTheFirstOfTwoTagsWins) {
    dir.Write("content/actions/one.txt", "TAG=\"same\"\nNAME=\"One\"\n");
    dir.Write("content/actions/two.txt", "TAG=\"same\"\nNAME=\"Two\"\n");
    EXPECT_EQ(TAction::LoadAll(), 2);
    ASSERT_EQ(ActionList.size(), 2u);
    EXPECT_EQ(TAction::FindByTag("same"), ActionList[0].get());
}

TEST_F(ActionRunTest, LockedLevelsItemsAndUnknownItemsDecideCanRun) {
    Item("pass");
    TAction* a = Action("RequireSkill(\"Social\", \"3\")\nRequireItem(\"pass\")\nRequireItem(\"nobody\")\n");
    EXPECT_EQ(a->CanRun(), 0); // locked
    a->locked = 0;
    EXPECT_EQ(a->CanRun(), 0); // level 1 < 3
    Player.skillLevel[2] = 3;
    EXPECT_EQ(a->CanRun(), 0); // no pass
    TPlayer::GiveItemTag("pass");
    EXPECT_EQ(a->CanRun(), 1); // "nobody" names no item and does not block
}

TEST_F(ActionRunTest, NobodyAppliesForAJobHeHolds) {
    Item("job_cook", "JOB");
    TAction* apply = Unlocked("TAG=\"action_jobapply_cook\"\nGiveItem(\"job_cook\")\n");
    TAction* other = Unlocked("TAG=\"action_jobapplx\"\nGiveItem(\"job_cook\")\n");
    EXPECT_EQ(apply->CanRun(), 1);
    TPlayer::GiveItemTag("job_cook");
    EXPECT_EQ(apply->CanRun(), 0);
    EXPECT_EQ(other->CanRun(), 1);
}

TEST_F(ActionRunTest, GainScalesWithMotivation) {
    TAction* a = Unlocked("GiveSkill(\"Fitness\",\"\",\"\",\"10\")\n");
    const std::pair<float, int> cases[] = {{0.0f, 3}, {50.0f, 8}, {100.0f, 12}, {16.0f, 4}, {17.0f, 5}};
    for (const auto& [motivation, points] : cases) {
        Player = TPlayer{};
        Player.motivation = motivation;
        EXPECT_EQ(a->Run(), 1);
        EXPECT_EQ(Player.skillLevel[0] * 10 + Player.skillPoints[0] - 10, points)
            << "motivation " << motivation;
        EXPECT_EQ(Player.weekGain[0], points);
    }
}

TEST_F(ActionRunTest, GainThatReachesTheCapLandsOnIt) {
    TAction* a = Unlocked("GiveSkill(\"Social\",\"\",\"\",\"4\")\n");
    Player.skillLevel[2] = 3;
    Player.skillPoints[2] = 7;
    a->Run();
    EXPECT_EQ(Player.skillLevel[2], 4);
    EXPECT_EQ(Player.skillPoints[2], 0);
    EXPECT_EQ(Player.weekGain[2], 3);
    // At the cap the skill is skipped, but the action still runs.
    EXPECT_EQ(a->Run(), 1);
    EXPECT_EQ(Player.skillLevel[2], 4);
    EXPECT_EQ(Player.weekGain[2], 3);
}

TEST_F(ActionRunTest, CapLandingAtEachMotivation) {
    TAction* a = Unlocked("GiveSkill(\"Mind\",\"\",\"\",\"2\")\n");
    for (const float motivation : {0.0f, 50.0f, 100.0f}) {
        Player = TPlayer{};
        Player.motivation = motivation;
        Player.skillPoints[1] = 8;
        a->Run();
        EXPECT_EQ(Player.skillLevel[1], 2) << motivation;
        EXPECT_EQ(Player.skillPoints[1], 0) << motivation;
        EXPECT_EQ(Player.weekGain[1], 2) << motivation;
    }
    // Just below the cap at motivation 0: 3 points from 5 make 8, still level 1.
    Player = TPlayer{};
    Player.motivation = 0.0f;
    Player.skillPoints[1] = 5;
    a->Run();
    EXPECT_EQ(Player.skillLevel[1], 1);
    EXPECT_EQ(Player.skillPoints[1], 8);
}

TEST_F(ActionRunTest, ASkillWithoutGiveSkillNeverMoves) {
    TAction* a = Unlocked("GiveSkill(\"Wealth\",\"\",\"\",\"5\")\n");
    a->Run();
    for (int s : {0, 1, 2, 4})
        EXPECT_EQ(Player.weekGain[s], 0);
    EXPECT_EQ(Player.weekGain[3], 8);
}

TEST_F(ActionRunTest, ThresholdsMustBeExceeded) {
    TItem* prize = Item("prize");
    TAction* a = Unlocked("GiveItem(\"prize\", \"50\")\n");
    Player.motivation = 50.0f;
    a->Run();
    EXPECT_EQ(TPlayer::HasItem(prize), 0);
    Player.motivation = 50.5f;
    a->Run();
    EXPECT_EQ(TPlayer::HasItem(prize), 1);
    // Without a threshold the item needs motivation above 0.
    TItem* free = Item("free");
    TAction* b = Unlocked("GiveItem(\"free\")\n");
    Player.motivation = 0.0f;
    b->Run();
    EXPECT_EQ(TPlayer::HasItem(free), 0);
    // A threshold beyond a double's range means never; one beyond a float's range is cut to it.
    TItem* never = Item("never");
    TAction* c = Unlocked("GiveItem(\"never\", \"1e999\")\nGiveItem(\"free\", \"-1e39\")\n");
    Player.motivation = 100.0f;
    c->Run();
    EXPECT_EQ(TPlayer::HasItem(never), 0);
    EXPECT_EQ(c->giveThresholds[1], -std::numeric_limits<float>::max());
}

TEST_F(ActionRunTest, GivesThenTakes) {
    TItem* ticket = Item("ticket");
    TItem* coin = Item("coin");
    TPlayer::GiveItem(coin);
    TAction* a = Unlocked("TakeItem(\"coin\")\nGiveItem(\"ticket\")\nTakeItem(\"ghost\")\n");
    EXPECT_EQ(a->Run(), 1);
    EXPECT_EQ(TPlayer::HasItem(ticket), 1);
    EXPECT_EQ(TPlayer::HasItem(coin), 0);
    // Giving comes first, so the ticket could not reuse the coin's slot.
    EXPECT_EQ(Player.inventory[0], nullptr);
    EXPECT_EQ(Player.inventory[1], ticket);
}

TEST_F(ActionRunTest, NoActionGivesOrTakesTheItemTaggedNull) {
    TItem* untagged = TItem::Load(dir.Write("items/u.txt", "NAME=\"Untagged\"\n"));
    TAction* giver = Unlocked("GiveItem(\"x\")\n");
    giver->Run();
    EXPECT_EQ(TPlayer::HasItem(untagged), 0);
    Player.inventory[4] = untagged;
    Unlocked("TakeItem(\"y\")\n")->Run();
    EXPECT_EQ(Player.inventory[4], untagged);
}

TEST_F(ActionRunTest, ARefusedRunChangesNothing) {
    Item("prize");
    TAction* a = Action("GiveSkill(\"Fitness\",\"\",\"\",\"5\")\nGiveItem(\"prize\")\n");
    EXPECT_EQ(a->Run(), 0);
    EXPECT_EQ(Player.weekGain[0], 0);
    EXPECT_EQ(Player.inventory[0], nullptr);
}

TEST_F(ActionRunTest, ServesFocusedSkillAndItemGoals) {
    Item("medal");
    TAction* train = Unlocked("GiveSkill(\"Social\",\"\",\"\",\"3\")\n");
    TAction* win = Unlocked("GiveItem(\"medal\", \"90\")\nRequireSkill(\"Fitness\", \"9\")\n");
    TAction* ghost = Unlocked("GiveItem(\"ghost\")\n");
    EXPECT_EQ(train->ServesActiveGoal(), 0);
    struct TAim {
        int skill;
        int level;
        std::string item;
    };
    std::vector<TAim> goals = {{2, 5, ""}};
    ActiveGoalWalker = [&](const TGoalVisitor& visit) {
        for (const TAim& g : goals)
            visit(g.skill, g.level, g.item);
    };
    EXPECT_EQ(train->ServesActiveGoal(), 1);
    EXPECT_EQ(win->ServesActiveGoal(), 0);
    Player.skillLevel[2] = 3; // at the cap the action no longer helps
    EXPECT_EQ(train->ServesActiveGoal(), 0);
    // Thresholds and requirements do not matter; an item nobody defines serves nothing.
    goals = {{0, 0, "medal"}, {0, 0, "ghost"}};
    EXPECT_EQ(win->ServesActiveGoal(), 1);
    EXPECT_EQ(ghost->ServesActiveGoal(), 0);
    goals = {{2, 0, ""}};
    Player.skillLevel[2] = 1;
    EXPECT_EQ(train->ServesActiveGoal(), 0); // a goal without a target level asks no skill
}

TEST_F(ActionRunTest, AssetsActInSlotOrderAfterTheChosenAction) {
    Item("farm", "ASSET", "AutoAction(\"action_farm\")\n");
    Item("mill", "ASSET", "AutoAction(\"action_mill\")\n");
    Item("flour");
    Item("bread");
    TAction* chosen = Unlocked("TAG=\"chosen\"\nGiveSkill(\"Fitness\",\"\",\"\",\"9\")\n");
    Unlocked("TAG=\"action_farm\"\nGiveItem(\"flour\")\n");
    // The mill needs the flour that the farm in an earlier slot hands out this very week.
    Unlocked("TAG=\"action_mill\"\nRequireItem(\"flour\")\nGiveItem(\"bread\")\n");
    TPlayer::GiveItemTag("farm");
    TPlayer::GiveItemTag("mill");
    TAction::RunWithAssets(chosen);
    EXPECT_EQ(TPlayer::HasItemTag("flour"), 1);
    EXPECT_EQ(TPlayer::HasItemTag("bread"), 1);
    EXPECT_EQ(Player.weekGain[0], 8);
    EXPECT_TRUE(Logged("chosen was run"));
}

TEST_F(ActionRunTest, AssetsInReverseSlotOrderWaitAWeek) {
    Item("farm", "ASSET", "AutoAction(\"action_farm\")\n");
    Item("mill", "ASSET", "AutoAction(\"action_mill\")\n");
    Item("flour");
    Item("bread");
    Unlocked("TAG=\"action_farm\"\nGiveItem(\"flour\")\n");
    Unlocked("TAG=\"action_mill\"\nRequireItem(\"flour\")\nGiveItem(\"bread\")\n");
    TPlayer::GiveItemTag("mill");
    TPlayer::GiveItemTag("farm");
    TAction* locked = Action("TAG=\"shut\"\n");
    TAction::RunWithAssets(locked); // the chosen action cannot run, the assets act all the same
    EXPECT_EQ(TPlayer::HasItemTag("flour"), 1);
    EXPECT_EQ(TPlayer::HasItemTag("bread"), 0);
}

TEST_F(ActionRunTest, AnAssetHeldTwiceActsTwiceAndOneWithoutActionLogs) {
    Item("cow", "ASSET", "AutoAction(\"action_milk\")\n");
    Item("rock", "ASSET", "AutoAction(\"nothing\")\n");
    Unlocked("TAG=\"action_milk\"\nGiveSkill(\"Wealth\",\"\",\"\",\"9\")\n");
    TPlayer::GiveItemTag("cow");
    TPlayer::GiveItemTag("cow");
    TPlayer::GiveItemTag("rock");
    TAction::RunWithAssets(nullptr);
    EXPECT_EQ(Player.weekGain[3], 16);
    EXPECT_TRUE(Logged("LOG: Asset does not have an appropriate action!"));
}

} // namespace
