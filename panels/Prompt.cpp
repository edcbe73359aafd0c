#include "panels/Prompt.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/Widget.hpp"
#include "rules/Item.hpp"
#include "scene/RadialItem.hpp"
#include "scene/TimeBar.hpp"

#include <optional>

TPrompt Prompt;
TWidgetGroup* PromptGroup = nullptr;

TGadget PromptPanel = nullptr;
TGadget PromptClose = nullptr;
TGadget PromptHelp = nullptr;
TGadget PromptTitle = nullptr;
TGadget PromptInfo1 = nullptr;
TGadget PromptInfo2 = nullptr;
TGadget PromptPrimary = nullptr;
TGadget PromptSecondary = nullptr;
TGadget PromptImage = nullptr;

namespace {

// The goal result that a goal's own prompt replaced, waiting for that prompt to close.
std::optional<TPrompt> InterruptedResult;

// Skill names as a goal's description says them, by skill kind.
constexpr const char* DescribedSkillNames[] = {"Fitness", "Mind", "Social", "Wealth", "Leadership"};

int WeeksLeft(const TGoal& goal) {
    return goal.deadline - CurrentWeek;
}

std::string PassedRemark(int weeksLeft) {
    switch (weeksLeft) {
    case 0:
        return "This was a very challenging goal for you.  This success really motivates your Gorum to "
               "continue!";
    case 1:
        return "This was a challenging goal for you.  Good work!";
    case 2:
        return "";
    case 3:
        return "This goal was a bit too easy.  You will need to set more challenging goals to really push "
               "your "
               "Gorum.";
    default:
        return "This goal was far too easy.  If you don't push your Gorum you won't reach your final goal!";
    }
}

std::string FinalPassedRemark(int weeksLeft) {
    switch (weeksLeft) {
    case 0:
        return "You finished just in time!  That was close, but you made it!";
    case 1:
        return "A very difficult goal, but you made it.";
    case 2:
    case 3:
        return "Congradulations!";
    case 4:
    case 5:
        return "A relatively easy goal, for someone such as yourself, no doubt?";
    default:
        return "You breezed through this goal.  What can't you do?";
    }
}

bool OpenResult(const TGoalRef& goal, const std::string& kind, const std::string& title,
                const std::string& info1, const std::string& heading, int showClose,
                const std::string& primary, const std::string& secondary) {
    Prompt.Subject = goal;
    const std::string summary = goal != nullptr ? TPrompt::GoalSummary(*goal) : "";
    return TPrompt::Open(kind, title, info1, heading + "\n" + summary, 1, showClose, primary, secondary,
                         TPromptLayer::OverPanels, goal != nullptr ? TPrompt::GoalPicture(*goal) : nullptr);
}

} // namespace

void TPrompt::Build() {
    if (PromptGroup == nullptr) PromptGroup = TWidgetGroup::Create("PROMPT_PANEL");
    PromptPanel = PromptGroup->Register("PROMPT_PANEL", AddPanel(225, 0, 350, 250, GameCanvas, 1, "Prompt"));
    PromptClose = PromptGroup->Register("PROMPT_CLOSE", AddButton("X", 329, 2, 16, 16, PromptPanel, 1));
    PromptHelp = PromptGroup->Register("PROMPT_HELP", AddButton("?", 313, 2, 16, 16, PromptPanel, 1));
    PromptTitle =
        PromptGroup->Register("PROMPT_TITLE", AddLabel("TITLE", 55, 25, 240, 15, PromptPanel, LabelCentred));
    PromptInfo1 = PromptGroup->Register(
        "PROMPT_INFO1", AddLabel("Main Information.", 15, 50, 320, 70, PromptPanel, LabelLeft));
    PromptInfo2 = PromptGroup->Register("PROMPT_INFO2", AddLabel("Secondary data and information.", 15, 135,
                                                                 210, 60, PromptPanel, LabelLeft));
    PromptPrimary =
        PromptGroup->Register("PROMPT_PRIMARY", AddButton("Primary", 20, 210, 90, 25, PromptPanel, 1));
    PromptSecondary =
        PromptGroup->Register("PROMPT_SECONDARY", AddButton("Secondary", 130, 210, 90, 25, PromptPanel, 1));
    PromptImage =
        PromptGroup->Register("PROMPT_IMAGE", AddPanel(235, 135, 100, 100, PromptPanel, 1, "PromptImage"));
    Prompt = Create();
    InterruptedResult.reset();
    Close();
}

TPrompt TPrompt::Create() {
    return TPrompt{};
}

bool TPrompt::Show(TPromptLayer layer) {
    SetText(PromptTitle, Title);
    SetText(PromptInfo1, Info1);
    SetText(PromptInfo2, Info2);
    SetText(PromptPrimary, Primary);
    SetText(PromptSecondary, Secondary);
    SetPicture(PromptImage, Picture != nullptr ? Picture : LoadImage(PromptGorumPath));
    // Over itself the prompt only changes its texts, as any prompt does.
    if (layer == TPromptLayer::OverPanels && !PromptGroup->HoldsLock())
        PromptGroup->ShowOverOthers();
    else
        PromptGroup->Show(true);
    if (ShowHelp == 0) SetVisible(PromptHelp, false);
    if (ShowClose == 0) SetVisible(PromptClose, false);
    if (Primary == "NULL") SetVisible(PromptPrimary, false);
    if (Secondary == "NULL") SetVisible(PromptSecondary, false);
    CurrentPanel = PromptPanel;
    return true;
}

bool TPrompt::Open(const std::string& kind, const std::string& title, const std::string& info1,
                   const std::string& info2, int showHelp, int showClose, const std::string& primary,
                   const std::string& secondary, TPromptLayer layer, const TImage& picture) {
    Prompt.Kind = kind;
    Prompt.Title = title;
    Prompt.Info1 = info1;
    Prompt.Info2 = info2;
    Prompt.ShowHelp = showHelp;
    Prompt.ShowClose = showClose;
    Prompt.Primary = primary;
    Prompt.Secondary = secondary;
    Prompt.Picture = picture;
    return Prompt.Show(layer);
}

bool TPrompt::GoalFailed(const TGoalRef& goal) {
    return OpenResult(
        goal, "GOALFAIL", "You Missed the Deadline!",
        "   Your Gorum failed to reach his goal.  You can either choose to remove the goal entirely, "
        "or unfocus the goal to reschedule it.  Determine the best course of action and get to it!",
        "Failed goal of:", 0, "Unfocus", "Remove");
}

bool TPrompt::GoalPassed(const TGoalRef& goal) {
    const std::string remark = goal != nullptr ? PassedRemark(WeeksLeft(*goal)) : "";
    return OpenResult(goal, "GOALPASS", "You Completed Your Goal!",
                      "   You and your Gorum celebrate as he has accomplished his goal.  This furthers your "
                      "Gorum's resolve to complete his final goal.  " +
                          remark,
                      "Completed goal of:", 1, "Okay", "NULL");
}

bool TPrompt::FinalFailed(const TGoalRef& goal) {
    return OpenResult(
        goal, "FINALFAIL", "Final Goal Failed!",
        "   You failed to reach your final goal.  Your Gorum looks at you and sighs.  You may have "
        "failed this time, but with the knowledge from your future you are sure you can make it "
        "work next time!",
        "Failed goal of:", 0, "Retry", "Quit");
}

bool TPrompt::FinalPassed(const TGoalRef& goal) {
    const std::string remark = goal != nullptr ? FinalPassedRemark(WeeksLeft(*goal)) : "";
    return OpenResult(
        goal, "FINALPASS", "You Completed Your Final Goal!",
        "   You celebrate your ability to accomplish this goal.  Your Gorum worked hard and you "
        "didn't give up!  " +
            remark,
        "Completed goal of:", 1, "Okay", "NULL");
}

bool TPrompt::EditGoal(const TGoalRef& goal) {
    if (goal == nullptr) return false;
    const std::string& kind = Prompt.Kind;
    const bool result =
        kind == "GOALPASS" || kind == "GOALFAIL" || kind == "FINALPASS" || kind == "FINALFAIL";
    if (result && !InterruptedResult) InterruptedResult = Prompt;
    const TItem* item = TItem::FindByTag(goal->itemTag);
    const std::string details =
        DescribeGoal(goal->skill, goal->targetLevel, item != nullptr ? item->name : "NOITEM!!") +
        " by week " + std::to_string(goal->deadline);
    const TImage picture = GoalPicture(*goal);
    const std::string planning =
        "  This is a planning goal.  It won't have any effect on the game until you focus on it.  ";
    if (goal->final != 0) {
        Open("EDITGOAL", "View Final Goal", "  This is your final goal for the game.  Good Luck!", details, 1,
             1, "Okay", "NULL", TPromptLayer::UnderLock, picture);
    } else if (goal->focused != 0) {
        Open("EDITGOAL", "Edit Current Goal",
             "  This is one of your current goals.  You should apply your actions towards these goals to "
             "accomplish them.  You can unfocus a current goal by squeezing it, but remember that will cost "
             "you "
             "motivation.",
             details, 1, 1, "Unfocus", "Cancel", TPromptLayer::UnderLock, picture);
    } else if (goal->CanFocus() != 0) {
        Open("EDITGOAL", "Edit Planning Goal",
             planning +
                 "You can focus goals more quickly by squeezing them with the left mouse button.  You can "
                 "remove goals more quickly by dragging them away from the timebar.  Adjust the deadline "
                 "by moving it left and right.",
             details, 1, 1, "Focus", "Remove", TPromptLayer::UnderLock, picture);
    } else {
        Open("EDITGOAL", "Edit Planning Goal",
             planning +
                 "You can't focus this one because you already have a similar goal that is focused (e.g. "
                 "Two fitness goals can't be focused at the same time.",
             details, 1, 1, "Okay", "Remove", TPromptLayer::UnderLock, picture);
    }
    Prompt.Subject = goal;
    return true;
}

bool TPrompt::Close() {
    PromptGroup->Hide();
    Prompt.Kind = "";
    return true;
}

TResumed TPrompt::ResumeResult() {
    if (!InterruptedResult) return TResumed::Nothing;
    TPrompt result = std::move(*InterruptedResult);
    InterruptedResult.reset();
    // A missed goal's prompt acts on its goal; a passed one's goal went when it was reported.
    if (result.Kind == "GOALFAIL" && (result.Subject == nullptr || !result.Subject->GoalEntry))
        return TResumed::GoalGone;
    Prompt = std::move(result);
    Prompt.Show(TPromptLayer::OverPanels);
    return TResumed::Shown;
}

std::string TPrompt::DescribeGoal(int skill, int level, const std::string& itemName) {
    if (!itemName.empty() && itemName != "NOITEM!!") return "My Goal is:\nI Have " + itemName;
    if (skill >= 0 && skill < SkillCount) {
        return "My Goal is:\nI Have " + std::to_string(level) + "/10 " + DescribedSkillNames[skill] +
               " Skill";
    }
    if (skill >= SkillCount) return "My Goal is:\n";
    return "";
}

std::string TPrompt::GoalSummary(const TGoal& goal) {
    if (!goal.itemTag.empty()) return "Obtaining " + TItem::NameOfTag(goal.itemTag) + ".";
    const std::string name = goal.skill >= 0 && goal.skill < SkillCount ? SkillNames[goal.skill] : "";
    return "Achieving Level " + std::to_string(goal.targetLevel) + " " + name + " skill.";
}

TImage TPrompt::GoalPicture(const TGoal& goal) {
    if (const TItem* item = TItem::FindByTag(goal.itemTag)) return item->icon;
    if (goal.skill >= 0 && goal.skill < SkillCount) return LoadImage(SkillIconPaths[goal.skill]);
    return nullptr;
}
