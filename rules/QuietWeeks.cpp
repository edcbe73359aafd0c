#include "rules/QuietWeeks.hpp"

#include "rules/Goal.hpp"
#include "rules/Player.hpp"

namespace {

struct THooks {
    std::function<void()> review;
    TGoalPromptHook passed, failed, finalPassed, finalFailed;
};

THooks Saved;
TEvaluation Found;

} // namespace

TQuietWeeks::TQuietWeeks() {
    Saved = {ShowWeeklyReviewHook, GoalPassedPrompt, GoalFailedPrompt, FinalPassedPrompt, FinalFailedPrompt};
    ShowWeeklyReviewHook = nullptr;
    GoalPassedPrompt = nullptr;
    GoalFailedPrompt = [](const TGoalRef&) { Found.goalFailed = true; };
    FinalPassedPrompt = [](const TGoalRef&) { Found.finalPassed = true; };
    FinalFailedPrompt = [](const TGoalRef&) { Found.finalFailed = true; };
}

TQuietWeeks::~TQuietWeeks() {
    ShowWeeklyReviewHook = Saved.review;
    GoalPassedPrompt = Saved.passed;
    GoalFailedPrompt = Saved.failed;
    FinalPassedPrompt = Saved.finalPassed;
    FinalFailedPrompt = Saved.finalFailed;
}

TEvaluation TQuietWeeks::Evaluate() {
    Found = {};
    TGoal::StartEvaluation();
    while (EvalCursor != nullptr && !Found.finalPassed && !Found.finalFailed && !Found.goalFailed)
        TGoal::EvaluateNext();
    EvalCursor = nullptr;
    return Found;
}
