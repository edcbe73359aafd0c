#pragma once
// The panel over the centre of the canvas that pictures the Gorum's skills, items and motivation: the
// weekly review after every turn, or the player's statistics on request. Built once, lives for the run.
// Nothing here reports an error: under another panel's lock the texts are written and the panel stays hidden.

#include "panels/WidgetGroup.hpp"
#include "platform/Platform.hpp"
#include "scene/Motivation.hpp"

#include <string>

struct TStatsPanel {
    // Creates the controls, loads the level-up mark and closes the panel.
    static void Build();
    static void ShowWeeklyReview();
    static void ShowPlayerStats();
    static bool Show();
    static bool Close();
    // Repaint the two canvases from the player state as it is now.
    static void DrawSkills();
    static void DrawInventory();
    // How the weekly review words a week's motivation change.
    static std::string MotivationRemark(int change);
    // The rule behind the week's change in words, naming the focused goals it was shared or multiplied by.
    static std::string MotivationReason(TMotivationCause cause, int focusedGoals);
    // The line under a skill's name: its level and points, or this week's gain and the level in the review.
    static std::string SkillLine(int skill);
};

extern int StatsMode; // 0 player statistics, 1 weekly review
extern TImage LevelUpImage;
extern TWidgetGroup* StatsGroup; // created by start-up before any widget, or by Build when it was not

extern TGadget StatsPanelGadget;
extern TGadget StatsTitle;
extern TGadget StatsMotivation;
extern TGadget StatsInventory;
extern TGadget StatsSkills;
extern TGadget StatsConfirm;
extern TGadget StatsHelp;
extern TGadget StatsClose;
