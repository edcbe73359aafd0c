#pragma once
// What the end-of-week motivation evaluation needs to know of the goals, gathered by the goal rules
// (which the scene cannot see) from the goal list and the items received this week.
// A default record means: no goals at all.

#include <array>

struct TWeekGoals {
    int focusedCount = 0;             // focused goals in the goal list
    bool goalItemReceived = false;    // an item of a focused or final item goal arrived this week
    std::array<bool, 5> goalSkills{}; // skill kinds of focused or final skill goals
};
