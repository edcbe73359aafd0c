#include "scene/Numeric.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

TEST(Numeric, ClampPutsItsBoundsInOrder) {
    EXPECT_FLOAT_EQ(Clamp(5.0f, 10.0f, 0.0f), 5.0f);
    EXPECT_FLOAT_EQ(Clamp(-1.0f, 10.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(Clamp(11.0f, 10.0f, 0.0f), 10.0f);
    EXPECT_FLOAT_EQ(Clamp(11.0f, 0.0f, 10.0f), 10.0f);
}

TEST(Numeric, MapRangeIsTheLineThroughBothPointsAndClampsOnRequest) {
    EXPECT_FLOAT_EQ(MapRange(25.0f, 0.0f, 255.0f, 50.0f, 0.0f, 0), 127.5f);
    EXPECT_FLOAT_EQ(MapRange(75.0f, 0.0f, 255.0f, 50.0f, 0.0f, 0), -127.5f);
    EXPECT_FLOAT_EQ(MapRange(75.0f, 0.0f, 255.0f, 50.0f, 0.0f, 1), 0.0f);
    EXPECT_FLOAT_EQ(MapRange(-10.0f, 0.0f, 0.0f, 100.0f, 160.0f, 1), 0.0f);
    EXPECT_NEAR(MapRange(2.0f, 1.0f, 75.0f, 10.0f, 725.0f, 1), 147.2222f, 1e-3f);
}

TEST(Numeric, RoundHalfUpTruncatesNegatives) {
    EXPECT_EQ(RoundHalfUp(2.5f), 3);
    EXPECT_EQ(RoundHalfUp(2.49f), 2);
    EXPECT_EQ(RoundHalfUp(-2.7f), -2);
    EXPECT_EQ(RoundHalfUp(0.0f), 0);
}

TEST(Numeric, TruncIntSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(TruncInt(-3.9), -3);
    EXPECT_EQ(TruncInt(3.9), 3);
    EXPECT_EQ(TruncInt(1e20), INT_MAX);
    EXPECT_EQ(TruncInt(-1e20), INT_MIN);
    EXPECT_EQ(TruncInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundHalfUp(std::numeric_limits<float>::infinity()), INT_MAX);
}

TEST(Numeric, WrapAngleAlwaysLandsInOneTurn) {
    EXPECT_FLOAT_EQ(WrapAngle(-90.0f), 270.0f);
    EXPECT_FLOAT_EQ(WrapAngle(720.0f), 0.0f);
    EXPECT_FLOAT_EQ(WrapAngle(359.5f), 359.5f);
    EXPECT_FLOAT_EQ(WrapAngle(-450.0f), 270.0f);
    // A hair below zero: adding a turn would round to exactly 360.
    const float tiny = WrapAngle(-1e-6f);
    EXPECT_GE(tiny, 0.0f);
    EXPECT_LT(tiny, 360.0f);
    EXPECT_FLOAT_EQ(tiny, 0.0f);
    EXPECT_FLOAT_EQ(WrapAngle(std::nanf("")), 0.0f);
}

TEST(Numeric, AngleSpanSweepsCounterClockwiseAndEqualAnglesMakeAFullTurn) {
    EXPECT_FLOAT_EQ(AngleSpan(350.0f, 10.0f), 20.0f);
    EXPECT_FLOAT_EQ(AngleSpan(10.0f, 350.0f), 340.0f);
    EXPECT_FLOAT_EQ(AngleSpan(30.0f, 30.0f), 360.0f);
    EXPECT_FLOAT_EQ(AngleSpan(0.0f, 360.0f), 360.0f);
    EXPECT_FLOAT_EQ(AngleSpan(300.0f, 0.0f), 60.0f);
}

TEST(Numeric, AngleMidIsHalfwayAlongTheSweep) {
    EXPECT_FLOAT_EQ(AngleMid(350.0f, 10.0f), 0.0f);
    EXPECT_FLOAT_EQ(AngleMid(90.0f, 90.0f), 90.0f);
    EXPECT_FLOAT_EQ(AngleMid(60.0f, 180.0f), 120.0f);
    EXPECT_FLOAT_EQ(AngleMid(300.0f, 60.0f), 0.0f);
    EXPECT_FLOAT_EQ(AngleMid(270.0f, 0.0f), 315.0f);
}
