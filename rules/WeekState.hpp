#pragma once
// What the rules carry from one week of a level to the next, apart from the goals: the Gorum and the week.
// Saved and put back by tools that play weeks ahead and come back (the planner); the game itself never
// goes back. Putting it back moves the time bar's marker with the week.

#include "rules/Player.hpp"

struct TWeekState {
    TPlayer player;
    int week = 1;

    static TWeekState Save();
    void Restore() const;
};
