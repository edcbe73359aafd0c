#pragma once
// While one lives, the weekly turn opens no review and the goal evaluation opens no prompt: each result
// the evaluation would report is kept instead, for tools that play weeks without a player to close
// panels (the planner). The hooks it replaced are put back when it goes. One at a time.

// What the end-of-week evaluation found, as the prompts it would have opened.
struct TEvaluation {
    bool finalPassed = false;
    bool finalFailed = false;
    bool goalFailed = false; // a goal other than the final one missed its deadline
};

class TQuietWeeks {
  public:
    TQuietWeeks();
    ~TQuietWeeks();
    TQuietWeeks(const TQuietWeeks&) = delete;
    TQuietWeeks& operator=(const TQuietWeeks&) = delete;

    // The evaluation that closing the weekly review starts, through every goal, each prompt answered at
    // once by closing it; it stops at the first failed goal, or when the final goal is judged.
    TEvaluation Evaluate();
};
