#pragma once
// The game's one message box at the top centre of the canvas: goal results, the game menu, a goal's own
// page and a level's introduction. One record, Prompt, describes what is shown; the dispatch reads it.
// Nothing here reports an error: under another panel's lock the texts are written and the panel stays hidden.

#include "panels/WidgetGroup.hpp"
#include "platform/Platform.hpp"
#include "rules/Goal.hpp"

#include <string>

// Where a prompt opens while another panel holds the lock: a goal's result opens over a station page the
// player left open, since the level cannot go on without it; everything else waits under the lock.
enum class TPromptLayer { UnderLock, OverPanels };

// What came of bringing back a goal's result that the goal's own prompt had replaced.
enum class TResumed { Nothing, Shown, GoalGone };

struct TPrompt {
    std::string Kind;
    std::string Title;
    std::string Info1;
    std::string Info2;
    int ShowHelp = 0;
    int ShowClose = 0;
    std::string Primary;
    std::string Secondary;
    TGoalRef Subject;
    TImage Picture; // shown in PROMPT_IMAGE; none shows the Gorum

    // Creates the controls, replaces Prompt with a fresh record and closes the prompt.
    static void Build();
    static TPrompt Create();
    static bool Open(const std::string& kind, const std::string& title, const std::string& info1,
                     const std::string& info2, int showHelp, int showClose, const std::string& primary,
                     const std::string& secondary, TPromptLayer layer = TPromptLayer::UnderLock,
                     const TImage& picture = nullptr);
    static bool GoalFailed(const TGoalRef& goal);
    static bool GoalPassed(const TGoalRef& goal);
    static bool FinalFailed(const TGoalRef& goal);
    static bool FinalPassed(const TGoalRef& goal);
    // The "EDITGOAL" prompt of a token on the time strip, by the goal's state.
    static bool EditGoal(const TGoalRef& goal);
    static bool Close();
    // A right click on a token turns an open goal result into that goal's prompt; once that prompt has
    // closed, this brings the result back. A missed goal that went meanwhile is not brought back
    // (GoalGone): the evaluation goes on past it instead.
    static TResumed ResumeResult();
    static std::string DescribeGoal(int skill, int level, const std::string& itemName);
    // "Obtaining ..." or "Achieving Level ...": how the goal-result prompts name a goal.
    static std::string GoalSummary(const TGoal& goal);
    // What a goal is pictured by: its item's icon, or its skill's icon; none for neither.
    static TImage GoalPicture(const TGoal& goal);

    // Writes the record into the controls and shows the panel.
    bool Show(TPromptLayer layer = TPromptLayer::UnderLock);
};

extern TPrompt Prompt;
inline constexpr const char* PromptGorumPath = "media/PromptGorum.png";
extern TWidgetGroup* PromptGroup; // created by start-up before any widget, or by Build when it was not

extern TGadget PromptPanel;
extern TGadget PromptClose;
extern TGadget PromptHelp;
extern TGadget PromptTitle;
extern TGadget PromptInfo1;
extern TGadget PromptInfo2;
extern TGadget PromptPrimary;
extern TGadget PromptSecondary;
extern TGadget PromptImage;
