#pragma once
// The strip along the top of the canvas that maps the level's weeks to x positions, with its week ticks
// and the marker of the current week. Owns LevelLength and CurrentWeek, which level start and DoWeek set.
// A level of one week (or a nonsense length) gets a one-point strip: week 1 at x = 75, every x is week 1.

#include "scene/Hotspot.hpp"
#include "scene/Sprite.hpp"

inline int LevelLength = 10;
inline int CurrentWeek = 1;
inline TSpriteRef TimeBarSprite;
inline THotspotRef Mechanism;
inline TImage TickImage;

inline constexpr float FirstWeekX = 75.0f;
inline constexpr float LastWeekX = 725.0f;
inline constexpr float TickY = 30.0f;
// Ticks beyond this many weeks would only pile onto the same pixels; the bound keeps a bad level quick.
inline constexpr int MaxTickWeeks = 1000;

struct TTimeBar {
    // The strip picture and the marker, into the current layer; names the "timebar" layer's routine.
    static void Setup();
    static float WeekX(int week);
    static int WeekAtX(float x);
    static float WeekY(int week);
    static void NextWeek();
    // The week becomes the given one, and the marker moves to it.
    static void GoToWeek(int week);
    // Redraws the ticks on the back buffer and grabs them into TickImage.
    static void BuildTicks();
    // The draw routine "TIMEBAR".
    static void DrawTicks();
};
