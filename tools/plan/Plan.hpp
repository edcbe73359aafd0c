#pragma once
// The records a plan is made of: the state between two turns, one turn's choice (the action and the goals
// set for it), and the plan itself. Plain values; the player state they hold refers to the game's items
// and actions, which live for the whole run.

#include "rules/Station.hpp"
#include "rules/WeekState.hpp"

#include <string>
#include <vector>

// What a goal of the steady player asks for: a skill level, or an item; nothing when skill is -1 and
// there is no item.
struct TTarget {
    int skill = -1;
    int level = 0;
    const TItem* item = nullptr;

    bool Live() const { return skill >= 0 || item != nullptr; }
    bool MetBy(const TPlayer& player) const;
    bool operator==(const TTarget&) const = default;
};

// Everything the rules carry from one turn to the next (the Gorum and the week), and the goals a player
// model keeps from one turn to the next.
struct TPlanState : TWeekState {
    int standing = -1; // the best player's standing goal focused last turn, or -1
    TTarget target;    // the steady player's goal, set in an earlier turn and not reached yet
    bool quiet =
        false; // the steady player's last turn went by without his goal, meeting or losing no milestone
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
    // Items given a focused goal, due next week: the Gorum holds them after this turn.
    std::vector<std::string> itemGoals;
    // The steady player's focused goal during this turn, whether it was set this week, and the week it
    // is due: the week after the turn that reaches it.
    TTarget target;
    bool targetSet = false;
    int targetDue = 0;
};

struct TPlanWeek {
    TTurnChoice choice;
    TPlanState after;
};

struct TPlan {
    std::vector<TPlanWeek> weeks;
    bool won = false;
};
