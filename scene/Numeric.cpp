#include "scene/Numeric.hpp"

#include <climits>
#include <cmath>

int TruncInt(double x) {
    if (std::isnan(x)) return 0;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(x);
}

float Clamp(float x, float a, float b) {
    const float low = a < b ? a : b;
    const float high = a < b ? b : a;
    if (x < low) return low;
    if (x > high) return high;
    return x;
}

float MapRange(float v, float inA, float outA, float inB, float outB, int clamp) {
    const float y = outA + (v - inA) * (outA - outB) / (inA - inB);
    return clamp != 0 ? Clamp(y, outA, outB) : y;
}

int RoundHalfUp(float x) {
    const int t = TruncInt(x);
    return x - static_cast<float>(t) >= 0.5f && t < INT_MAX ? t + 1 : t;
}

float WrapAngle(float a) {
    float r = static_cast<float>(std::fmod(static_cast<double>(a), 360.0));
    if (!(r >= 0.0f)) r = r + 360.0f;
    // A remainder a hair below 0 (or below 360) rounds up to exactly 360 in single precision;
    // 0 is its coterminal angle. NaN lands here as well.
    if (!(r >= 0.0f && r < 360.0f)) return 0.0f;
    return r;
}

namespace {

// Both angles wrapped, with the start moved one turn back when the sweep passes 0.
void SweepEnds(float a, float b, float& start, float& end) {
    start = WrapAngle(a);
    end = WrapAngle(b);
    if (start > end) start -= 360.0f;
}

} // namespace

float AngleSpan(float a, float b) {
    float start = 0.0f;
    float end = 0.0f;
    SweepEnds(a, b, start, end);
    if (start == end) return 360.0f;
    return end - start;
}

float AngleMid(float a, float b) {
    float start = 0.0f;
    float end = 0.0f;
    SweepEnds(a, b, start, end);
    return WrapAngle((start + end) / 2.0f);
}
