#pragma once
// One game: its length, final goal, the actions it offers, where its stations stand, its introduction and
// an optional tutorial page. LevelRegistry owns every level for the whole run; CurrentLevel is the one
// played. Loading never fails: an unreadable file still yields a level (named "NULL"); bad tags are logged
// and skipped.

#include "rules/Station.hpp"
#include "shell/CustomPrompt.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TStationPlacement {
    int X = 0;
    int Y = 0;
    TStation* Station = nullptr;
};

struct TLevel {
    // Position in LevelRegistry.
    size_t RegistryEntry = 0;
    std::string Name;
    TCustomPrompt IntroPrompt;
    std::string ItemGoal;
    int SkillGoalKind = 0;
    int SkillGoalLevel = 0;
    int Length = 0;
    std::vector<std::string> ActionTags;
    std::string TutorialPath = "NULL";
    std::vector<std::string> ItemTags;
    std::vector<TStationPlacement> Placements;

    static TLevel* Create();
    static TLevel* Load(const std::string& path);
    static int LoadAll();
    static TLevel* FindByName(const std::string& name);

    void Start();
    // Resets the world for this level: stations, week, goals, player, actions, job and the final goal.
    void Setup();
    void OpenTutorial();
};

// Every level in load order.
extern std::vector<std::unique_ptr<TLevel>> LevelRegistry;
// The level being played; set by Start and never cleared.
extern TLevel* CurrentLevel;
// Opens the tutorial window on a page with a title, at the window's own position and size. Connected by
// the shell to the tutorial window; unconnected, no window opens but the tutorial button still shows.
extern std::function<void(const std::string& path, const std::string& title)> TutorialOpener;
