#pragma once
// Plays a printed plan in the real game on the headless backend with nothing but what a player does: the
// level's link on the menu page, pointer moves, presses and releases on the canvas (clicks, squeezes,
// drags of goal tokens and of the level slider) and presses of the panels' buttons. After every week the
// game's state is compared with what the plan printed. The game must have been started (Main) in the
// working directory, with its menu page open; one replay per start.

#include "tools/plan/PlanText.hpp"

#include <string>

struct TReplayResult {
    bool finalPassed = false; // the evaluation ended in the "FINALPASS" prompt
    int weeksPlayed = 0;
    std::string failure; // what went wrong, empty when nothing did
};

struct TPlanReplay {
    static TReplayResult Play(const std::string& levelName, const TPlanScript& script);
};
