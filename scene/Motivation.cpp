#include "scene/Motivation.hpp"

#include "scene/Numeric.hpp"
#include "scene/TimeBar.hpp"

void TMotivation::Setup() {
    MotivationFrame = TSprite::Load("media/Motivation.png", -1);
    MotivationFrame->SetPosition(300.0f, 580.0f);
}

void TMotivation::DrawMeter() {
    if (MotivationValue == nullptr) return;
    const float m = *MotivationValue;
    const int red = TruncInt(MapRange(m, 0.0f, 255.0f, 50.0f, 0.0f, 1));
    const int green = TruncInt(MapRange(m, 0.0f, 0.0f, FullMotivation, 255.0f, 1));
    SetColor(red, green, 0);
    const int w = TruncInt(MapRange(m, 0.0f, 0.0f, FullMotivation, 160.0f, 1));
    DrawRect(320.0f, 585.0f, static_cast<float>(w), 10.0f);
    SetColor(255, 255, 255);
}

void TMotivation::AddMotivation(float delta) {
    if (MotivationValue == nullptr) return;
    float m = *MotivationValue + delta;
    if (!(m >= 0.0f)) m = 0.0f;
    if (!(m <= FullMotivation)) m = FullMotivation;
    *MotivationValue = m;
}

int TMotivation::WeeklyChange(const std::array<int, 5>& weekGain, const TWeekGoals& goals,
                              TMotivationCause* cause) {
    if (MotivationValue == nullptr) return 0;
    const float delta = WeeklyDelta(*MotivationValue, weekGain, goals, cause);
    AddMotivation(delta);
    return TruncInt(delta);
}

float TMotivation::WeeklyDelta(float motivation, const std::array<int, 5>& weekGain, const TWeekGoals& goals,
                               TMotivationCause* cause) {
    TMotivationCause found = TMotivationCause::Even;
    const float delta = [&] {
        const float g = static_cast<float>(goals.focusedCount > 0 ? goals.focusedCount : 1);
        const float m = motivation / FullMotivation;

        if (goals.goalItemReceived) {
            found = TMotivationCause::GoalItem;
            // At motivation 0 the bonus has no bound: motivation fills up, and that is the week's change.
            if (!(m > 0.0f)) return FullMotivation;
            return 5.0f / (g * m * 10.0f);
        }

        int total = 0;
        float s = 0.0f;
        for (size_t kind = 0; kind < weekGain.size(); ++kind) {
            total += weekGain[kind];
            if (goals.goalSkills[kind]) s += static_cast<float>(weekGain[kind]);
        }
        if (total <= 0) {
            found = TMotivationCause::NoGain;
            return -25.0f;
        }
        if (s > 0.0f) s = 1.0f;

        float c = 0.0f;
        if (s > m) {
            found = TMotivationCause::GoalSkill;
            c = (s - m) / g * 5.0f;
        } else if (s < m) {
            found = TMotivationCause::OtherSkill;
            c = (m - s) * g * -25.0f;
        } else {
            return 0.0f;
        }
        return Clamp(c, -25.0f, 5.0f);
    }();
    if (cause != nullptr) *cause = found;
    return delta;
}

void TMotivation::GoalReward(int deadline) {
    if (MotivationValue == nullptr) return;
    AddMotivation(RewardAt(*MotivationValue, deadline - CurrentWeek));
}

float TMotivation::RewardAt(float motivation, int weeksToSpare) {
    const float r0 = MapRange(motivation, 0.0f, 40.0f, FullMotivation, 0.0f, 1);
    return MapRange(static_cast<float>(weeksToSpare), 0.0f, r0, 4.0f, 0.0f, 1);
}

void TMotivation::GoalPenalty() {
    if (MotivationValue == nullptr) return;
    AddMotivation(MapRange(*MotivationValue, 0.0f, 0.0f, FullMotivation, -40.0f, 1));
}

int TMotivation::Shown() {
    return MotivationValue != nullptr ? RoundHalfUp(*MotivationValue) : 0;
}
