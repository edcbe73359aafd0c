#pragma once
// Small numeric helpers that the scene and the rules share, all in single precision, angles in degrees.
// Pure functions of their arguments; none fails: angle helpers always answer within [0, 360) or a sweep.
// A real turned into an integer truncates toward zero; out-of-range or NaN input saturates instead of
// trapping.

// x truncated toward zero; NaN gives 0 and values beyond int's range give its nearest end.
int TruncInt(double x);

// x kept between a and b, whichever of them is the lower.
float Clamp(float x, float a, float b);

// The straight line through (inA, outA) and (inB, outB) at v; with clamp != 0 kept between outA and outB.
float MapRange(float v, float inA, float outA, float inB, float outB, int clamp);

// Truncates, then rounds up when the dropped part is at least one half (so negatives truncate).
int RoundHalfUp(float x);

// The coterminal angle in [0, 360).
float WrapAngle(float a);

// Sweep counter-clockwise from a to b; equal angles sweep a full turn (360).
float AngleSpan(float a, float b);

// The angle halfway along the sweep from a up to b.
float AngleMid(float a, float b);
