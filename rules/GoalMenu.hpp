#pragma once
// The goal-creation dialog on the canvas: goal type, then a skill and a level on a slider (with a warning
// when the level is out of reach), or an item from pages of seven. Built once; item pages per level.
// Nothing here fails, except a level offering more than 21 items, which stops the program.

#include "scene/Hotspot.hpp"
#include "scene/Radial.hpp"
#include "scene/Sprite.hpp"
#include "scene/TextSprite.hpp"

#include <array>
#include <string>
#include <vector>

inline constexpr int ItemsPerPage = 7;
inline constexpr int MaxItemPages = 3;
// The most item choices a level may offer; one more stops the program.
inline constexpr int MaxItemChoices = ItemsPerPage * MaxItemPages;

struct TGoalMenu {
    // The goal button's hotspot is disabled while the dialog asks and owns every question's radial.
    static void Build(const THotspotRef& goalButton);
    // The item choices of a level, in list order; more than 21 ends the program with an error.
    static void BuildItemPages(const std::vector<std::string>& itemTags);
    static void OpenGoalMenu();
    static void ChooseSkillGoal();
    static void ChooseItemGoal();
    static void TurnItemPage(int delta);
    // The whole "RADITEM_SKILL_..." tag of the entry clicked.
    static void ChooseSkill(const std::string& tag);
    static void UpdateLevelSlider();
    static void SetSkillGoal();
    static void SetItemGoal(const std::string& itemTag);
    static void CloseGoalMenu();
};

extern THotspotRef GoalButton;
extern TRadialRef TypeRadial;
extern TRadialRef SkillRadial;
extern std::array<TRadialRef, MaxItemPages> ItemPages;
extern int LastPage;
extern int CurrentPage;
extern TTextSpriteRef Caption;
extern TTextSpriteRef AmountText;
extern THotspotRef WarningMark;
extern THotspotRef LevelSlider;
extern TSpriteRef LevelIndicator;
extern THotspotRef GoalCloseButton;
extern THotspotRef GoalSetButton;
extern THotspotRef ItemLeftButton;
extern THotspotRef ItemRightButton;
extern int ChosenSkill;
extern int ChosenLevel;
extern int GoalMenuOpen;
extern std::array<TImage, 5> LevelStrips;
extern std::array<TImage, 5> TokenStrips;
