#include "scene/TimeBar.hpp"

#include "scene/Layer.hpp"
#include "scene/Numeric.hpp"

void TTimeBar::Setup() {
    TimeBarSprite = TSprite::Load("media/timebar.png", -1);
    TimeBarSprite->SetPosition(50.0f, 0.0f);
    Mechanism = THotspot::CreateForSprite(TSprite::Load("media/mechanism.png", -1), "MECHANISM", "_DISPLAYS");
    Mechanism->SetPosition(25.0f, 20.0f);
    // Only a picture: in the first weeks it lies over the statistics button, and a click there is the
    // button's.
    Mechanism->Disable();
    if (TLayerRef layer = TLayer::Find("timebar")) layer->DrawRoutine = "TIMEBAR";
}

float TTimeBar::WeekX(int week) {
    if (LevelLength <= 1) return FirstWeekX;
    return MapRange(static_cast<float>(week), 1.0f, FirstWeekX, static_cast<float>(LevelLength), LastWeekX,
                    1);
}

int TTimeBar::WeekAtX(float x) {
    if (LevelLength <= 1) return 1;
    return RoundHalfUp(MapRange(x, FirstWeekX, 1.0f, LastWeekX, static_cast<float>(LevelLength), 1));
}

float TTimeBar::WeekY(int) {
    return TickY;
}

void TTimeBar::GoToWeek(int week) {
    CurrentWeek = week;
    if (Mechanism != nullptr) Mechanism->SetPosition(WeekX(CurrentWeek) - 50.0f, 20.0f);
}

void TTimeBar::NextWeek() {
    GoToWeek(CurrentWeek + 1);
}

void TTimeBar::BuildTicks() {
    TickImage = CreateImage(700, 50, 1, -1);
    ClearTarget();
    const int weeks = LevelLength < MaxTickWeeks ? LevelLength : MaxTickWeeks;
    for (int w = 1; w <= weeks; ++w) {
        const float x = static_cast<float>(TruncInt(WeekX(w)));
        const bool large = w % 4 == 0;
        const float s = large ? 6.0f : 4.0f;
        const float y = large ? 29.0f : 30.0f;
        // The rim is one step above black, which the image's mask would make transparent.
        SetColor(1, 1, 1);
        DrawOval(x, y, s, s);
        SetColor(255, 255, 255);
        DrawOval(x + 1.0f, y + 1.0f, s - 2.0f, s - 2.0f);
    }
    GrabImage(TickImage, 50, 0, 0);
}

void TTimeBar::DrawTicks() {
    if (TickImage != nullptr) DrawImage(TickImage, 50.0f, 0.0f, 0);
}
