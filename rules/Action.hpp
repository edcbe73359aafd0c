#pragma once
// What the Gorum spends a week doing: raises skills up to caps, gives and takes items, may need levels and
// items. ActionList owns every action for the whole run; stations, items and menus refer to them. Loading
// never fails: unknown skill texts are logged and skipped, unknown item tags do nothing.

#include "platform/Platform.hpp"
#include "rules/InfoText.hpp"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

inline constexpr int SkillCount = 5;
inline constexpr int ActionItemSlots = 10;

struct TAction {
    TInfoText infoText;
    std::string tag;
    std::string name;
    std::array<int, SkillCount> skillBase{};
    std::array<int, SkillCount> skillBonus{};
    std::array<int, SkillCount> skillCap{};
    std::array<std::string, ActionItemSlots> giveItems;
    std::array<std::string, ActionItemSlots> takeItems;
    std::array<float, ActionItemSlots> giveThresholds{};
    int autoAdd = 0;
    int locked = 1;
    std::array<int, SkillCount> requiredLevels{};
    std::array<std::string, ActionItemSlots> requiredItems;

    static std::unique_ptr<TAction> Create();
    static TAction* Load(const std::string& path);
    static int LoadAll();
    // The first action loaded with the tag; none for "NULL", which stands for an absent tag.
    static TAction* FindByTag(const std::string& tag);
    static TAction* FindByName(const std::string& name);
    // The actions marked AutoAdd, in list order.
    static const std::vector<TAction*>& AutoAdded();
    // The weekly turn's actions: the chosen one (if any), then one run per held asset in slot order.
    static void RunWithAssets(TAction* action);

    int CanRun() const;
    int Run();
    // The points one run gives a skill below its cap at the motivation: the base and the bonus it scales.
    int Gain(int skill, float motivation) const;
    // The points a run adds to a skill at the level and points: none at or above the cap, else the gain,
    // or what lands the skill exactly on the cap when the gain would pass it.
    static int Amount(int level, int points, int gain, int cap);
    int ServesActiveGoal() const;
    // Whether a real giveItems entry names the tag; the closing "NULL" and empty entries name nothing.
    bool GivesTag(const std::string& itemTag) const;
    // 1 + the highest skill kind the action raises, or 0 when it raises none: the skill icon it shows.
    int SkillIconNumber() const;
    // The icon of the first item it gives, or none: what its ring button and its page show.
    TImage GivenItemIcon() const;
};

// Every action in load order.
extern std::vector<std::unique_ptr<TAction>> ActionList;

// Walks the focused and final goals in goal order, handing each one's skill, target level and item tag
// to the visitor. Connected when the goals are; unconnected, no action serves a goal.
using TGoalVisitor = std::function<void(int skill, int targetLevel, const std::string& itemTag)>;
extern std::function<void(const TGoalVisitor& visit)> ActiveGoalWalker;
