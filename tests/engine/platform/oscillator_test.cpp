#include "engine/platform/oscillator.h"

#include <gtest/gtest.h>

namespace {

TEST(OscillatorTest, MovesFastestThroughTheCentre) {
    COscillator atCentre;
    atCentre.Set(0, 100, 50, 40, 1);
    EXPECT_FLOAT_EQ(atCentre.halfRange, 50);
    EXPECT_FLOAT_EQ(atCentre.distanceFromCentre, 0);
    atCentre.Update(0.1f);
    EXPECT_FLOAT_EQ(atCentre.value, 55) << "1.25 of the speed at the centre";
    EXPECT_FLOAT_EQ(atCentre.distanceFromCentre, 0.1f);

    COscillator atMinimum;
    atMinimum.Set(0, 100, 0, 40, 1);
    EXPECT_FLOAT_EQ(atMinimum.distanceFromCentre, 1);
    atMinimum.Update(0.1f);
    EXPECT_FLOAT_EQ(atMinimum.value, 1) << "a quarter of the speed at an end";
}

TEST(OscillatorTest, LargeStepsClampAndTurnOncePerCall) {
    COscillator oscillator;
    oscillator.Set(0, 100, 50, 40, 1);
    oscillator.Update(100);
    EXPECT_EQ(oscillator.value, 100);
    EXPECT_EQ(oscillator.direction, -1);
    oscillator.Update(100);
    EXPECT_EQ(oscillator.value, 0);
    EXPECT_EQ(oscillator.direction, 1);
}

TEST(OscillatorTest, AnEmptyRangeNeverMoves) {
    COscillator oscillator;
    oscillator.Set(30, 30, 30, 40, 1);
    oscillator.Update(5);
    EXPECT_EQ(oscillator.value, 30);
    EXPECT_EQ(oscillator.distanceFromCentre, 0);
}

TEST(OscillatorTest, AssignmentDerivesAgainAndClearEmpties) {
    COscillator source;
    source.Set(-10, 10, 5, 3, -1);
    source.distanceFromCentre = 99;  // stale: assignment derives it anew
    COscillator copy;
    copy = source;
    EXPECT_EQ(copy.value, 5);
    EXPECT_EQ(copy.direction, -1);
    EXPECT_FLOAT_EQ(copy.halfRange, 10);
    EXPECT_FLOAT_EQ(copy.distanceFromCentre, 0.5f);

    copy.Clear();
    EXPECT_EQ(copy.value, 0);
    EXPECT_EQ(copy.maximum, 0);
    EXPECT_EQ(copy.speed, 0);
    EXPECT_EQ(copy.halfRange, 0);
}

}  // namespace
