#pragma once
// The motivation meter at the bottom of the canvas and the rules that move the Gorum's motivation (0..100).
// The value itself belongs to the player's record; MotivationValue points at it once the rules connect it.
// Unconnected, the rules change nothing and the meter draws nothing; motivation never leaves 0..100.

#include "scene/Sprite.hpp"
#include "scene/WeekGoals.hpp"

#include <array>

// Motivation runs from 0 to this; at it, a GiveSkill gives its whole bonus and every item above a lower
// threshold is handed out.
inline constexpr float FullMotivation = 100.0f;

inline TSpriteRef MotivationFrame;
inline float* MotivationValue = nullptr;

// Which rule decided the end-of-week change, so the weekly review can say why in words.
enum class TMotivationCause {
    NoGain,     // no skill points at all
    GoalItem,   // a focused or final goal's item arrived
    GoalSkill,  // points in a goal's skill lift motivation towards full
    OtherSkill, // points only outside the goals' skills pull it down
    Even,       // the week's drive matched the motivation
};

struct TMotivation {
    // The meter's frame picture at (300, 580), in the current layer.
    static void Setup();
    // The draw routine "MOTIVATION".
    static void DrawMeter();
    static void AddMotivation(float delta);
    // The end-of-week evaluation; returns the week's change as reported to the player.
    static int WeeklyChange(const std::array<int, 5>& weekGain, const TWeekGoals& goals,
                            TMotivationCause* cause = nullptr);
    // The change the end-of-week evaluation makes at a motivation, before it is kept within 0..100.
    static float WeeklyDelta(float motivation, const std::array<int, 5>& weekGain, const TWeekGoals& goals,
                             TMotivationCause* cause = nullptr);
    // A focused goal reached with the given deadline week.
    static void GoalReward(int deadline);
    // The reward for a focused goal reached at a motivation with weeks to spare before its deadline.
    static float RewardAt(float motivation, int weeksToSpare);
    // A focused goal missed, or unfocused by the player.
    static void GoalPenalty();
    // Motivation as the screens show it, a whole number rounded half up; 0 while unconnected.
    static int Shown();
};
