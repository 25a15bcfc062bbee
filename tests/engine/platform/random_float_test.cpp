#include "engine/platform/random_float.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/backend/clock.h"

namespace {

class FixedClock : public backend::IClock {
public:
    std::uint64_t milliseconds = 1;
    double Seconds() override { return static_cast<double>(milliseconds) * 0.001; }
    std::uint64_t Milliseconds() override { return milliseconds; }
    void Sleep(std::uint32_t ms) override { milliseconds += ms; }
};

class RandomFloatTest : public ::testing::Test {
protected:
    void SetUp() override { backend::SetClock(&clock); }
    void TearDown() override { backend::SetClock(nullptr); }
    FixedClock clock;
};

TEST(RandomGeneratorTest, IsTheClassicFifteenBitSequence) {
    SeedRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) {
        EXPECT_EQ(NextRandom(), value);
    }
    SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        const int r = NextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RANDOM_MAX);
    }
}

TEST_F(RandomFloatTest, ReseedsFromFactorTimesTheMillisecondClock) {
    clock.milliseconds = 1;  // seed 1: the first draw is 41
    EXPECT_FLOAT_EQ(RandomFloat(0, 32767, 1), 41.0f);
    EXPECT_FLOAT_EQ(RandomFloat(0, 32767, 1), 41.0f) << "same millisecond, same draw";

    clock.milliseconds = 0x80000001ull;  // 2 x that wraps to seed 2
    const float wrapped = RandomFloat(0, 32767, 2);
    SeedRandom(2);
    EXPECT_FLOAT_EQ(wrapped, static_cast<float>(NextRandom()));
}

TEST_F(RandomFloatTest, CallsInOneMillisecondDrawTheSameNumber) {
    clock.milliseconds = 123456;
    const float a = RandomFloat(0, 160, 1);
    const float b = RandomFloat(7, 14, 1);
    EXPECT_NEAR(a / 160.0f, (b - 7.0f) / 7.0f, 1e-5f);

    const float other = RandomFloat(0, 160, 5);
    EXPECT_NE(a, other) << "another factor draws another number";
}

TEST_F(RandomFloatTest, StaysInsideTheRange) {
    for (std::uint64_t ms = 1; ms < 3000; ms += 7) {
        clock.milliseconds = ms;
        const float value = RandomFloat(-2.5f, 4.0f, 3);
        ASSERT_GE(value, -2.5f);
        ASSERT_LE(value, 4.0f);
    }
}

}  // namespace
