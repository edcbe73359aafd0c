#pragma once
// The records a plan is made of: the state between two turns, one turn's choice (the action and the goals
// set for it), and the plan itself. Plain values; the player state they hold refers to the game's items
// and actions, which live for the whole run.

#include "rules/Player.hpp"
#include "rules/Station.hpp"

#include <string>
#include <vector>

// Everything the rules carry from one turn to the next: the Gorum and the week.
struct TPlanState {
    TPlayer player;
    int week = 1;
};

enum class TTurnKind { Station, Work, Quit };

struct TTurnChoice {
    TTurnKind kind = TTurnKind::Station;
    TAction* action = nullptr;   // the action the turn runs
    TStation* station = nullptr; // where it is clicked; none for work and quit
    // The skill whose standing goal (level 10, due the last week) is focused for this turn; -1 for none.
    int standing = -1;
    // Skills given a focused goal of their next level, due next week: this turn reaches them.
    std::vector<int> levelGoals;
    // Items given a focused goal, due next week: this turn hands them out.
    std::vector<std::string> itemGoals;
};

struct TPlanWeek {
    TTurnChoice choice;
    TPlanState after;
};

struct TPlan {
    std::vector<TPlanWeek> weeks;
    bool won = false;
};
