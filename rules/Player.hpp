#pragma once
// The Gorum's state during a level (skills, motivation, inventory, job, this week's record) and the weekly
// turn. One instance, Player, lives for the whole run; TPlayer's type-level operations are the only writers.
// Nothing fails loudly: refused items return 0 and are lost without a message.

#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "scene/Motivation.hpp"
#include "scene/WeekGoals.hpp"

#include <array>
#include <functional>

inline constexpr int InventorySlots = 25;
inline constexpr int MaxSkillLevel = 10;
inline constexpr int PointsPerLevel = 10;
// A held asset is handed out again only while the Gorum holds fewer asset items than this, so no asset is
// ever held more often.
inline constexpr int AssetLimit = 3;

struct TPlayer {
    std::array<int, SkillCount> skillLevel{1, 1, 1, 1, 1};
    std::array<int, SkillCount> skillPoints{};
    std::array<int, SkillCount> weekGain{};
    std::array<int, SkillCount> weekLevel{};
    std::array<TItem*, InventorySlots> inventory{};
    std::array<TItem*, InventorySlots> weekItems{};
    int lastMotivationChange = 0;
    // Why the last week's change was what it was, and over how many focused goals it was shared.
    TMotivationCause lastMotivationCause = TMotivationCause::Even;
    int lastFocusedGoals = 0;
    TItem* currentJob = nullptr;
    TAction* quitAction = nullptr;
    TAction* workAction = nullptr;
    float motivation = 50.0f;

    // Start-up: every skill at level 1, and the motivation meter reading this player's motivation.
    static void InitSkills();
    static void ResetPlayer();
    static int HasItem(const TItem* item);
    // -1 when no item has the tag, else HasItem of it.
    static int HasItemTag(const std::string& tag);
    static int CountType(const std::string& type);
    static int GiveItem(TItem* item);
    static int GiveItemTag(const std::string& tag);
    static int TakeItem(const TItem* item);
    static int TakeItemTag(const std::string& tag);
    static int AddSkillPoints(int skill, int amount);
    // Ten points make a level up to the top level, which keeps any points beyond.
    static void CarrySkill(int skill);
    static void ShowJob();
    static void ClearJob();
    static void UpdateWorkButton();
    static void DoWeek(TAction* action, bool withMotivation);
};

extern TPlayer Player;

// The steps of the weekly turn that live above or beside the player; each is skipped while unconnected.
// The gatherer tells the motivation evaluation about the goals and this week's items; unconnected, there
// are no goals.
extern std::function<TWeekGoals(const std::array<TItem*, InventorySlots>& weekItems)> WeekGoalsGatherer;
extern std::function<void()> ShowWeeklyReviewHook;
extern std::function<void()> WeeklyGoalCheckHook;
