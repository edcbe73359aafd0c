#include "panels/Prompt.hpp"
#include "panels/GlobalGadgets.hpp"
#include "panels/Widget.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/Item.hpp"
#include "scene/RadialItem.hpp"
#include "scene/TimeBar.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const std::string PassedText =
    "   You and your Gorum celebrate as he has accomplished his goal.  This furthers your "
    "Gorum's resolve to complete his final goal.  ";
const std::string FinalPassedText =
    "   You celebrate your ability to accomplish this goal.  Your Gorum worked "
    "hard and you didn't give up!  ";

class PromptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset();
        WidgetRegistry.clear();
        ItemList.clear();
        GoalList.clear();
        PanelLocked = false;
        CurrentPanel = nullptr;
        PromptGroup = nullptr;
        CurrentWeek = 1;
        MainWindow = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, StyleTitleBar);
        GameCanvas = AddCanvas(0, 0, 800, 600, MainWindow, 0);
        TItem* medal = TItem::Create();
        medal->tag = "medal";
        medal->name = "Golden Medal";
        TPrompt::Build();
    }
    void TearDown() override {
        GoalList.clear();
        ItemList.clear();
    }

    static TGoalRef Goal(int skill, int level, int deadline, const std::string& itemTag = "") {
        auto goal = std::make_shared<TGoal>();
        goal->skill = skill;
        goal->targetLevel = level;
        goal->deadline = deadline;
        goal->itemTag = itemTag;
        return goal;
    }
    // Which of help, close, primary and secondary the player can see, as four letters or dots.
    static std::string Buttons() {
        std::string seen;
        seen += PromptHelp->visible ? 'H' : '.';
        seen += PromptClose->visible ? 'C' : '.';
        seen += PromptPrimary->visible ? 'P' : '.';
        seen += PromptSecondary->visible ? 'S' : '.';
        return seen;
    }
    static void ExpectShown(const std::string& kind, const std::string& title, const std::string& info1,
                            const std::string& info2, const std::string& primary,
                            const std::string& secondary, const std::string& buttons) {
        EXPECT_EQ(Prompt.Kind, kind);
        EXPECT_EQ(PromptTitle->text, title);
        EXPECT_EQ(PromptInfo1->text, info1);
        EXPECT_EQ(PromptInfo2->text, info2);
        EXPECT_EQ(PromptPrimary->text, primary);
        EXPECT_EQ(PromptSecondary->text, secondary);
        EXPECT_EQ(Buttons(), buttons);
        EXPECT_TRUE(PromptPanel->visible);
        EXPECT_TRUE(PanelLocked);
        EXPECT_EQ(CurrentPanel, PromptPanel);
    }
};

TEST_F(PromptTest, BuildMakesTheControlsInOrderAtTheirPlacesAndClosed) {
    struct TPlace {
        TGadget gadget;
        const char* tag;
        TGadgetKind kind;
        int x, y, w, h, style;
        const char* text;
    };
    const TPlace places[] = {
        {PromptPanel, "PROMPT_PANEL", TGadgetKind::Panel, 225, 0, 350, 250, 1, "Prompt"},
        {PromptClose, "PROMPT_CLOSE", TGadgetKind::Button, 329, 2, 16, 16, 1, "X"},
        {PromptHelp, "PROMPT_HELP", TGadgetKind::Button, 313, 2, 16, 16, 1, "?"},
        {PromptTitle, "PROMPT_TITLE", TGadgetKind::Label, 55, 25, 240, 15, 16, "TITLE"},
        {PromptInfo1, "PROMPT_INFO1", TGadgetKind::Label, 15, 50, 320, 70, 0, "Main Information."},
        {PromptInfo2, "PROMPT_INFO2", TGadgetKind::Label, 15, 135, 210, 60, 0,
         "Secondary data and information."},
        {PromptPrimary, "PROMPT_PRIMARY", TGadgetKind::Button, 20, 210, 90, 25, 1, "Primary"},
        {PromptSecondary, "PROMPT_SECONDARY", TGadgetKind::Button, 130, 210, 90, 25, 1, "Secondary"},
        {PromptImage, "PROMPT_IMAGE", TGadgetKind::Panel, 235, 135, 100, 100, 1, "PromptImage"},
    };
    ASSERT_NE(PromptGroup, nullptr);
    EXPECT_EQ(PromptGroup->Tag, "PROMPT_PANEL");
    ASSERT_EQ(PromptGroup->Members.size(), 9u);
    auto member = PromptGroup->Members.begin();
    for (const TPlace& p : places) {
        ASSERT_NE(p.gadget, nullptr) << p.tag;
        EXPECT_EQ((*member)->Tag, p.tag);
        EXPECT_EQ((*member)->Gadget, p.gadget) << p.tag;
        ++member;
        EXPECT_EQ(p.gadget->kind, p.kind) << p.tag;
        EXPECT_EQ(p.gadget->x, p.x) << p.tag;
        EXPECT_EQ(p.gadget->y, p.y) << p.tag;
        EXPECT_EQ(p.gadget->w, p.w) << p.tag;
        EXPECT_EQ(p.gadget->h, p.h) << p.tag;
        EXPECT_EQ(p.gadget->style, p.style) << p.tag;
        EXPECT_EQ(p.gadget->text, p.text) << p.tag;
        EXPECT_EQ(p.gadget->parent, p.gadget == PromptPanel ? GameCanvas : PromptPanel) << p.tag;
        EXPECT_FALSE(p.gadget->visible) << p.tag;
    }
    EXPECT_EQ(Prompt.Kind, "");
    EXPECT_EQ(Prompt.Title, "");
    EXPECT_EQ(Prompt.ShowHelp, 0);
    EXPECT_EQ(Prompt.Subject, nullptr);
    EXPECT_FALSE(PanelLocked);
}

TEST_F(PromptTest, APassedGoalIsPraisedByHowHardItWas) {
    const std::pair<int, std::string> remarks[] = {
        {0,
         "This was a very challenging goal for you.  This success really motivates your Gorum to continue!"},
        {1, "This was a challenging goal for you.  Good work!"},
        {2, ""},
        {3, "This goal was a bit too easy.  You will need to set more challenging goals to really push your "
            "Gorum."},
        {4, "This goal was far too easy.  If you don't push your Gorum you won't reach your final goal!"},
        {-1, "This goal was far too easy.  If you don't push your Gorum you won't reach your final goal!"},
    };
    CurrentWeek = 3;
    for (const auto& [weeksLeft, remark] : remarks) {
        const TGoalRef goal = Goal(2, 4, 3 + weeksLeft);
        EXPECT_TRUE(TPrompt::GoalPassed(goal));
        ExpectShown("GOALPASS", "You Completed Your Goal!", PassedText + remark,
                    "Completed goal of:\nAchieving Level 4 Social skill.", "Okay", "NULL", "HCP.");
        EXPECT_EQ(Prompt.Subject, goal);
        TPrompt::Close();
    }
}

TEST_F(PromptTest, APassedFinalGoalIsPraisedByHowCloseItWas) {
    const std::pair<int, std::string> remarks[] = {
        {0, "You finished just in time!  That was close, but you made it!"},
        {1, "A very difficult goal, but you made it."},
        {2, "Congradulations!"},
        {3, "Congradulations!"},
        {4, "A relatively easy goal, for someone such as yourself, no doubt?"},
        {5, "A relatively easy goal, for someone such as yourself, no doubt?"},
        {6, "You breezed through this goal.  What can't you do?"},
        {9, "You breezed through this goal.  What can't you do?"},
    };
    for (const auto& [weeksLeft, remark] : remarks) {
        const TGoalRef goal = Goal(0, 0, 1 + weeksLeft, "medal");
        TPrompt::FinalPassed(goal);
        ExpectShown("FINALPASS", "You Completed Your Final Goal!", FinalPassedText + remark,
                    "Completed goal of:\nObtaining Golden Medal.", "Okay", "NULL", "HCP.");
        TPrompt::Close();
    }
}

TEST_F(PromptTest, MissedGoalsMustBeAnsweredWithOneOfTwoButtons) {
    const TGoalRef goal = Goal(4, 7, 1);
    TPrompt::GoalFailed(goal);
    ExpectShown(
        "GOALFAIL", "You Missed the Deadline!",
        "   Your Gorum failed to reach his goal.  You can either choose to remove the goal entirely, or "
        "unfocus the goal to reschedule it.  Determine the best course of action and get to it!",
        "Failed goal of:\nAchieving Level 7 Leadership skill.", "Unfocus", "Remove", "H.PS");
    EXPECT_EQ(Prompt.Subject, goal);
    TPrompt::Close();

    TPrompt::FinalFailed(Goal(0, 0, 1, "medal"));
    ExpectShown(
        "FINALFAIL", "Final Goal Failed!",
        "   You failed to reach your final goal.  Your Gorum looks at you and sighs.  You may have failed "
        "this time, but with the knowledge from your future you are sure you can make it work next time!",
        "Failed goal of:\nObtaining Golden Medal.", "Retry", "Quit", "H.PS");
}

TEST_F(PromptTest, TheGameMenuKeepsTheLastSubject) {
    const TGoalRef goal = Goal(1, 3, 2);
    TPrompt::GoalPassed(goal);
    TPrompt::Close();
    EXPECT_EQ(Prompt.Kind, "");
    EXPECT_EQ(Prompt.Subject, goal);
    EXPECT_FALSE(PromptPanel->visible);
    EXPECT_FALSE(PanelLocked);

    TPrompt::Open("GAMEMENU", "Main Menu",
                  "Quit will take you back to the level select, return will allow you to continue the game",
                  "", 1, 1, "Return", "Quit");
    ExpectShown("GAMEMENU", "Main Menu",
                "Quit will take you back to the level select, return will allow you to continue the game", "",
                "Return", "Quit", "HCPS");
    EXPECT_EQ(Prompt.Subject, goal);
    EXPECT_EQ(Prompt.ShowHelp, 1);
}

TEST_F(PromptTest, OpeningOverAnOpenPromptCannotBringHiddenButtonsBack) {
    TPrompt::GoalFailed(Goal(0, 3, 1));
    TPrompt::GoalPassed(Goal(0, 3, 1));
    EXPECT_EQ(Prompt.Kind, "GOALPASS");
    EXPECT_EQ(PromptPrimary->text, "Okay");
    EXPECT_EQ(Buttons(), "H.P.") << "close stays hidden from the first prompt";
}

TEST_F(PromptTest, UnderAnotherPanelsLockTheTextsAreWrittenButThePanelStaysHidden) {
    PanelLocked = true;
    TPrompt::EditGoal(Goal(0, 3, 1));
    EXPECT_EQ(Prompt.Kind, "EDITGOAL");
    EXPECT_EQ(PromptTitle->text, "Edit Planning Goal");
    EXPECT_FALSE(PromptPanel->visible);
    EXPECT_EQ(CurrentPanel, PromptPanel);
}

// Unseen, a result would leave the evaluation waiting for ever and the level running past its end.
TEST_F(PromptTest, AGoalsResultOpensOverAnotherPanelAndKeepsTheLockWhenThatCloses) {
    TWidgetGroup* other = TWidgetGroup::Create("INFO_PANEL");
    other->Register("INFO_PANEL", AddPanel(0, 0, 350, 600, GameCanvas, 1));
    other->Show(true);
    TPrompt::FinalFailed(Goal(0, 3, 1));
    EXPECT_TRUE(PromptPanel->visible);
    other->Hide();
    EXPECT_TRUE(PanelLocked);
    TPrompt::Close();
    EXPECT_FALSE(PanelLocked);
}

// The frame beside the secondary text pictures the goal a prompt is about, and the Gorum otherwise.
TEST_F(PromptTest, ThePictureFrameShowsTheGoalsItemOrSkillOrElseTheGorum) {
    ItemList.front()->icon = CreateImage(50, 50);
    TPrompt::GoalPassed(Goal(0, 0, 1, "medal"));
    EXPECT_EQ(PromptImage->picture, ItemList.front()->icon);
    const TImage mental = LoadImage(SkillIconPaths[1]);
    ASSERT_NE(mental, nullptr);
    TPrompt::Close();
    TPrompt::GoalFailed(Goal(1, 4, 1));
    EXPECT_EQ(PromptImage->picture, mental);
    TPrompt::Close();
    TPrompt::EditGoal(Goal(1, 4, 3));
    EXPECT_EQ(PromptImage->picture, mental);
    TPrompt::Close();
    TPrompt::Open("GAMEMENU", "Main Menu", "", "", 1, 1, "Return", "Quit");
    ASSERT_NE(PromptImage->picture, nullptr);
    EXPECT_EQ(PromptImage->picture, LoadImage(PromptGorumPath));
}

TEST_F(PromptTest, GoalsAreDescribedByTheirItemOrTheirSkill) {
    EXPECT_EQ(TPrompt::DescribeGoal(2, 5, "Golden Medal"), "My Goal is:\nI Have Golden Medal");
    EXPECT_EQ(TPrompt::DescribeGoal(1, 3, ""), "My Goal is:\nI Have 3/10 Mind Skill");
    EXPECT_EQ(TPrompt::DescribeGoal(0, 0, "NOITEM!!"), "My Goal is:\nI Have 0/10 Fitness Skill");
    EXPECT_EQ(TPrompt::DescribeGoal(4, 10, ""), "My Goal is:\nI Have 10/10 Leadership Skill");
    EXPECT_EQ(TPrompt::DescribeGoal(5, 3, ""), "My Goal is:\n");
    EXPECT_EQ(TPrompt::DescribeGoal(-1, 3, ""), "");

    EXPECT_EQ(TPrompt::GoalSummary(*Goal(2, 4, 3)), "Achieving Level 4 Social skill.");
    EXPECT_EQ(TPrompt::GoalSummary(*Goal(6, 4, 3)), "Achieving Level 4  skill.");
    EXPECT_EQ(TPrompt::GoalSummary(*Goal(0, 0, 3, "medal")), "Obtaining Golden Medal.");
    EXPECT_EQ(TPrompt::GoalSummary(*Goal(0, 0, 3, "ghost")), "Obtaining .");
}

TEST_F(PromptTest, TheGoalPromptOffersWhatTheGoalsStateAllows) {
    const std::string planning =
        "  This is a planning goal.  It won't have any effect on the game until you focus on it.  ";
    TGoalRef final = Goal(4, 8, 10);
    final->final = 1;
    final->focused = 1;
    TPrompt::EditGoal(final);
    ExpectShown("EDITGOAL", "View Final Goal", "  This is your final goal for the game.  Good Luck!",
                "My Goal is:\nI Have 8/10 Leadership Skill by week 10", "Okay", "NULL", "HCP.");
    EXPECT_EQ(Prompt.Subject, final);
    TPrompt::Close();

    TGoalRef focused = Goal(0, 6, 4);
    focused->focused = 1;
    GoalList.push_back(focused);
    TPrompt::EditGoal(focused);
    ExpectShown(
        "EDITGOAL", "Edit Current Goal",
        "  This is one of your current goals.  You should apply your actions towards these goals to "
        "accomplish them.  You can unfocus a current goal by squeezing it, but remember that will cost "
        "you motivation.",
        "My Goal is:\nI Have 6/10 Fitness Skill by week 4", "Unfocus", "Cancel", "HCPS");
    TPrompt::Close();

    TGoalRef item = Goal(0, 0, 5, "medal");
    TPrompt::EditGoal(item);
    ExpectShown("EDITGOAL", "Edit Planning Goal",
                planning +
                    "You can focus goals more quickly by squeezing them with the left mouse button.  You "
                    "can remove goals more quickly by dragging them away from the timebar.  Adjust the "
                    "deadline by moving it left and right.",
                "My Goal is:\nI Have Golden Medal by week 5", "Focus", "Remove", "HCPS");
    TPrompt::Close();

    TGoalRef blocked = Goal(0, 9, 7);
    TPrompt::EditGoal(blocked);
    ExpectShown("EDITGOAL", "Edit Planning Goal",
                planning + "You can't focus this one because you already have a similar goal that is focused "
                           "(e.g. Two fitness goals can't be focused at the same time.",
                "My Goal is:\nI Have 9/10 Fitness Skill by week 7", "Okay", "Remove", "HCPS");
    EXPECT_EQ(Prompt.Subject, blocked);
    TPrompt::Close();

    // An item goal whose item is gone reads as its skill fields.
    TPrompt::EditGoal(Goal(0, 0, 3, "ghost"));
    EXPECT_EQ(PromptInfo2->text, "My Goal is:\nI Have 0/10 Fitness Skill by week 3");
}

TEST_F(PromptTest, TheGoalPromptTakesOverAnOpenResultPrompt) {
    const TGoalRef passed = Goal(1, 3, 1);
    TPrompt::GoalPassed(passed);
    const TGoalRef other = Goal(2, 5, 6);
    TPrompt::EditGoal(other);
    EXPECT_EQ(Prompt.Kind, "EDITGOAL");
    EXPECT_EQ(Prompt.Subject, other);
    EXPECT_EQ(PromptTitle->text, "Edit Planning Goal");
}

TEST_F(PromptTest, TheResultPromptsFitTheGoalRulesHooks) {
    GoalPassedPrompt = TPrompt::GoalPassed;
    const TGoalRef goal = Goal(3, 2, 3);
    GoalPassedPrompt(goal);
    GoalPassedPrompt = nullptr;
    EXPECT_EQ(Prompt.Kind, "GOALPASS");
    EXPECT_EQ(Prompt.Subject, goal);
}

} // namespace
