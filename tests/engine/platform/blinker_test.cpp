#include "engine/platform/blinker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(BlinkerTest, StepsClampAtTheBoundsAndTurn) {
    struct Step {
        float elapsed;
        float value;
        std::int8_t direction;
    };
    struct Case {
        const char* name;
        float min, max, value, speed;
        std::int8_t direction;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        // The menu items' pulse: down to 110, back up to 255.
        {"menu pulse",
         110,
         255,
         255,
         500,
         -1,
         {{0.1f, 205, -1}, {0.2f, 110, 1}, {0.2f, 210, 1}, {0.2f, 255, -1}}},
        // The overshoot beyond a bound is dropped, not reflected.
        {"overshoot", 0, 255, 250, 500, 1, {{0.1f, 255, -1}}},
        {"still", 0, 255, 100, 500, 0, {{100.0f, 100, 0}}},
        {"no time", 0, 255, 100, 500, 1, {{0.0f, 100, 1}}},
        // Longer than a whole sweep: ends on the far bound, turned once.
        {"long step", 110, 255, 200, 500, 1, {{10.0f, 255, -1}}},
        // Above the maximum while falling: set to it and turned upwards.
        {"above max", 0, 255, 300, 500, -1, {{0.01f, 255, 1}, {0.01f, 255, -1}}},
        {"double pace", 0, 255, 100, 500, 2, {{0.1f, 200, 2}, {0.1f, 255, -2}}},
        // A value exactly on a bound does not turn.
        {"on the bound", 0, 255, 155, 1000, 1, {{0.1f, 255, 1}}},
        // Bounds the wrong way round: both tests fire, the value ends on min
        // and the direction keeps the sign it had before the step.
        {"min above max", 200, 100, 150, 500, 1, {{0.1f, 200, 1}}},
    };
    for (const Case& c : cases) {
        CBlinker blinker;
        blinker.Set(c.min, c.max, c.value, c.speed, c.direction);
        int index = 0;
        for (const Step& step : c.steps) {
            blinker.Update(step.elapsed);
            EXPECT_NEAR(blinker.value, step.value, 1e-3) << c.name << " step " << index;
            EXPECT_EQ(blinker.direction, step.direction) << c.name << " step " << index;
            ++index;
        }
    }
}

TEST(BlinkerTest, StartsStill) {
    CBlinker blinker;
    blinker.Update(1.0f);
    EXPECT_EQ(blinker.value, 0.0f);
    EXPECT_EQ(blinker.direction, 0);
}

}  // namespace
