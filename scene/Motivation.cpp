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
    const int green = TruncInt(MapRange(m, 0.0f, 0.0f, 100.0f, 255.0f, 1));
    SetColor(red, green, 0);
    const int w = TruncInt(MapRange(m, 0.0f, 0.0f, 100.0f, 160.0f, 1));
    DrawRect(320.0f, 585.0f, static_cast<float>(w), 10.0f);
    SetColor(255, 255, 255);
}

void TMotivation::AddMotivation(float delta) {
    if (MotivationValue == nullptr) return;
    float m = *MotivationValue + delta;
    if (!(m >= 0.0f)) m = 0.0f;
    if (!(m <= 100.0f)) m = 100.0f;
    *MotivationValue = m;
}

int TMotivation::WeeklyChange(const std::array<int, 5>& weekGain, const TWeekGoals& goals) {
    if (MotivationValue == nullptr) return 0;
    const float g = static_cast<float>(goals.focusedCount > 0 ? goals.focusedCount : 1);
    const float m = *MotivationValue / 100.0f;

    if (goals.goalItemReceived) {
        // At motivation 0 the bonus has no bound: motivation fills up, and that is the week's change.
        if (!(m > 0.0f)) {
            AddMotivation(100.0f);
            return 100;
        }
        const float b = 5.0f / (g * m * 10.0f);
        AddMotivation(b);
        return TruncInt(b);
    }

    int total = 0;
    float s = 0.0f;
    for (size_t kind = 0; kind < weekGain.size(); ++kind) {
        total += weekGain[kind];
        if (goals.goalSkills[kind]) s += static_cast<float>(weekGain[kind]);
    }
    if (total <= 0) {
        AddMotivation(-25.0f);
        return -25;
    }
    if (s > 0.0f) s = 1.0f;

    float c = 0.0f;
    if (s > m) {
        c = (s - m) / g * 5.0f;
    } else if (s < m) {
        c = (m - s) * g * -25.0f;
    } else {
        return 0;
    }
    c = Clamp(c, -25.0f, 5.0f);
    AddMotivation(c);
    return TruncInt(c);
}

void TMotivation::GoalReward(int deadline) {
    if (MotivationValue == nullptr) return;
    const float r0 = MapRange(*MotivationValue, 0.0f, 40.0f, 100.0f, 0.0f, 1);
    const float r = MapRange(static_cast<float>(deadline - CurrentWeek), 0.0f, r0, 4.0f, 0.0f, 1);
    AddMotivation(r);
}

void TMotivation::GoalPenalty() {
    if (MotivationValue == nullptr) return;
    AddMotivation(MapRange(*MotivationValue, 0.0f, 0.0f, 100.0f, -40.0f, 1));
}

int TMotivation::Shown() {
    return MotivationValue != nullptr ? RoundHalfUp(*MotivationValue) : 0;
}
