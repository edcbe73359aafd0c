#pragma once
// A target the player sets for the Gorum: hold an item, or reach a skill level, by a deadline week; shown as
// a token hanging from the time strip. GoalList owns every live goal; a goal's token and icon go with it.
// Create yields none once 15 goals live; results are reported through prompt hooks the shell connects.

#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Sprite.hpp"
#include "scene/WeekGoals.hpp"

#include <array>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>

struct TGoal;

using TGoalRef = std::shared_ptr<TGoal>;
using TGoalList = std::list<TGoalRef>;

inline constexpr int MaxGoals = 15;
inline constexpr int PlanningPriority = 1;
inline constexpr int FocusedPriority = 3;
inline constexpr int FinalPriority = 5;
// A token whose top edge is below this line leaves the strip; homes are stacked only down to it.
inline constexpr int StackBottom = 300;

// Display names by skill kind.
inline constexpr const char* SkillNames[] = {"Fitness", "Mental", "Social", "Wealth", "Leadership"};

struct TGoal {
    THotspotRef hotspot;
    TSpriteRef icon;
    int deadline = 1;
    int focused = 0;
    int final = 0;
    int stackPriority = PlanningPriority;
    int skill = 0;
    int targetLevel = 0;
    std::string itemTag;
    std::optional<TGoalList::iterator> GoalEntry;

    // The three hidden token templates, in the "goals" layer.
    static void LoadTemplates();
    static TGoalRef Create();
    static TGoalRef CreateSkillGoal(int skill, int level);
    static TGoalRef CreateItemGoal(const std::string& tag);
    static void UpdateAll(const std::string& gestureKind, const std::string& tag);
    static TGoalRef FindByHotspotTag(const std::string& tag);
    static void WeeklyCheck();
    // Closing the weekly review: the evaluation starts at the first goal.
    static void StartEvaluation();
    static void EvaluateNext();
    // The draw routine "STRINGS".
    static void DrawStrings();
    // Level start: every goal goes.
    static void DestroyAll();
    // What the weekly motivation evaluation needs of the goals and this week's items.
    static TWeekGoals GatherWeekGoals(const std::array<TItem*, InventorySlots>& weekItems);
    // Hands each focused or final goal's skill, target level and item tag to the visitor, in goal order.
    static void WalkActive(const TGoalVisitor& visit);

    bool IsItemGoal() const;
    int CanFocus() const;
    // Does nothing when CanFocus refuses or the token has been released from the strip.
    void Focus();
    void Unfocus();
    void MakeFinal();
    void SetDeadline(int week, int place);
    void Update(const std::string& gestureKind, const std::string& tag);
    void StackAt(int y);
    int IsReached() const;
    void Destroy();

  private:
    void SwapSprite(const THotspotRef& source);
    int Priority() const;
};

extern TGoalList GoalList;
extern int GoalCount;
extern int GoalSerial;
extern TGoalRef EvalCursor;
extern THotspotRef PlanningTemplate;
extern THotspotRef FocusedTemplate;
extern THotspotRef FinalTemplate;
// The link of the gold chains, loaded at start-up from GoldLinkPath; none draws no chain.
extern TImage GoldLinkImage;
inline constexpr const char* GoldLinkPath = "media/GoldLink.png";

// The goal-result prompts, connected by the shell to the prompt panel; unconnected, nothing is shown but
// the evaluation still stops at the goal that would have opened one.
using TGoalPromptHook = std::function<void(const TGoalRef& goal)>;
extern TGoalPromptHook GoalPassedPrompt;
extern TGoalPromptHook GoalFailedPrompt;
extern TGoalPromptHook FinalPassedPrompt;
extern TGoalPromptHook FinalFailedPrompt;
