#pragma once
// The game set up for planning one level: the game's own start-up on the headless backend, the level set
// up, and the weeks played quietly (no review, no prompts) so that a turn runs without panels. A turn is
// played from a state put back by the rules, through the game's dispatch and rules; nothing here decides
// a rule of its own.
// One world per process: the rules keep their state in module-level variables.

#include "rules/Goal.hpp"
#include "rules/QuietWeeks.hpp"
#include "shell/Level.hpp"
#include "tools/plan/Plan.hpp"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

struct TTurnOutcome {
    TPlanState after;
    bool won = false;        // the final goal passed at this turn's evaluation
    bool lost = false;       // the final goal failed
    bool goalMissed = false; // a goal of the turn's choice failed: the choice is no good
};

class TPlanWorld {
  public:
    // Starts the game in the working directory and sets the named level up; false when no level has it.
    bool Open(const std::string& levelName);
    // Why the game cannot even start the level, or empty: the goal menu stops the game when it is offered
    // more items than its pages hold.
    const std::string& Unplayable() const { return unplayable; }
    TLevel* Level() const { return level; }
    // The turns a player has: the final goal is judged after every turn and fails once the week after the
    // turn is its deadline week, so a level of length L gives L - 1 turns (but always a first one).
    int Turns() const { return std::max(1, finalGoal.deadline - 1); }
    const TGoal& FinalGoal() const { return finalGoal; }
    TPlanState Start() const { return start; }

    // What the player can click this turn: a runnable station action, or work and quit while he has a job.
    std::vector<TTurnChoice> Choices(const TPlanState& state);
    // One turn exactly as the game runs it, with the choice's goals set and focused before it.
    TTurnOutcome Play(const TPlanState& state, const TTurnChoice& choice);
    // Turns played so far: the measure of a search's work, the same on any machine.
    long Plays() const { return plays; }
    // Every action the level lets the Gorum run at some point: those of its stations, and the work and
    // quit of every job; each once, in that order.
    std::vector<TAction*> Offered() const;

  private:
    void Restore(const TPlanState& state);
    void SetGoals(const TTurnChoice& choice);
    void ClearGoals();

    TLevel* level = nullptr;
    std::string unplayable;
    TPlanState start;
    TGoal finalGoal; // a copy of the level's final goal, to set it up again after it was judged
    std::unique_ptr<TQuietWeeks> quiet;
    long plays = 0;
};
