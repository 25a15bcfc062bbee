#include "engine/framework/app_timer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "engine/backend/clock.h"

namespace {

// A clock the test moves by hand. With highResolution false it answers 0 to
// Seconds(), as a machine without a high-resolution counter would.
class FakeClock : public backend::IClock {
public:
    double seconds = 1000.0;
    std::uint64_t milliseconds = 1000000;
    bool highResolution = true;

    double Seconds() override { return highResolution ? seconds : 0.0; }
    std::uint64_t Milliseconds() override { return milliseconds; }
    void Sleep(std::uint32_t ms) override { Advance(ms * 0.001); }

    void Advance(double by) {
        seconds += by;
        milliseconds += static_cast<std::uint64_t>(by * 1000.0 + 0.5);
    }
};

constexpr double kTolerance = 1e-6;

class AppTimerTest : public ::testing::Test {
protected:
    void SetUp() override { backend::SetClock(&clock); }
    void TearDown() override { backend::SetClock(nullptr); }

    // The timer's state lives for the whole process; a check of how it starts
    // runs in a fresh copy of the test program.
    void InFreshProcess(const std::function<std::string()>& check) {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(
            {
                const std::string failure = check();
                if (!failure.empty()) {
                    std::fprintf(stderr, "%s\n", failure.c_str());
                    std::exit(1);
                }
                std::exit(0);
            },
            ::testing::ExitedWithCode(0), "");
    }

    // A running timer whose application time is 0 now, whatever earlier
    // tests left behind (a reset while stopped would read the frozen clock).
    void RunningFromZero() {
        AppTimer(TIMER_START);
        AppTimer(TIMER_RESET);
    }

    FakeClock clock;
};

std::string Near(const char* what, double actual, double expected, double tolerance) {
    if (std::abs(actual - expected) <= tolerance) {
        return std::string();
    }
    return std::string(what) + ": got " + std::to_string(actual) + ", expected " +
           std::to_string(expected);
}

TEST_F(AppTimerTest, FirstStartBeginsApplicationTimeAtZero) {
    InFreshProcess([this]() -> std::string {
        clock.Advance(12.5);
        AppTimer(TIMER_START);
        std::string failure =
            Near("app time after start", AppTimer(TIMER_GET_APP_TIME), 0.0, kTolerance);
        clock.Advance(0.25);
        failure += Near("elapsed", AppTimer(TIMER_GET_ELAPSED_TIME), 0.25, kTolerance);
        failure += Near("app time", AppTimer(TIMER_GET_APP_TIME), 0.25, kTolerance);
        failure += Near("absolute", AppTimer(TIMER_GET_ABSOLUTE_TIME), 1012.75, kTolerance);
        return failure;
    });
}

TEST_F(AppTimerTest, BeforeAnyStopTheInitialStateReadsTheClockLive) {
    InFreshProcess([this]() -> std::string {
        AppTimer(TIMER_GET_ELAPSED_TIME);
        clock.Advance(2.0);
        return Near("elapsed while initially stopped", AppTimer(TIMER_GET_ELAPSED_TIME), 2.0,
                    kTolerance);
    });
}

TEST_F(AppTimerTest, StoppedTimeCountsNeitherAsApplicationNorAsElapsedTime) {
    RunningFromZero();
    clock.Advance(2.0);
    AppTimer(TIMER_STOP);
    EXPECT_NEAR(AppTimer(TIMER_GET_APP_TIME), 2.0, kTolerance);
    clock.Advance(5.0);
    EXPECT_NEAR(AppTimer(TIMER_GET_APP_TIME), 2.0, kTolerance) << "frozen while stopped";
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.0, kTolerance);
    EXPECT_NEAR(AppTimer(TIMER_GET_ABSOLUTE_TIME), clock.seconds, kTolerance)
        << "the absolute time keeps running";

    AppTimer(TIMER_START);
    clock.Advance(0.5);
    EXPECT_NEAR(AppTimer(TIMER_GET_APP_TIME), 2.5, kTolerance);
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.5, kTolerance);
}

TEST_F(AppTimerTest, RepeatedStopsAndStartsAreIdempotent) {
    RunningFromZero();
    clock.Advance(1.0);
    AppTimer(TIMER_STOP);
    clock.Advance(3.0);
    AppTimer(TIMER_STOP);  // ignored: the first stop time stays
    AppTimer(TIMER_START);
    EXPECT_NEAR(AppTimer(TIMER_GET_APP_TIME), 1.0, kTolerance);

    clock.Advance(1.0);
    AppTimer(TIMER_START);  // only moves the elapsed measurement to now
    clock.Advance(0.5);
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.5, kTolerance);
    EXPECT_NEAR(AppTimer(TIMER_GET_APP_TIME), 2.5, kTolerance);
}

TEST_F(AppTimerTest, AdvanceStepsAStoppedClockByOneTenth) {
    RunningFromZero();
    clock.Advance(1.0);
    AppTimer(TIMER_STOP);
    AppTimer(TIMER_ADVANCE);
    AppTimer(TIMER_ADVANCE);
    AppTimer(TIMER_ADVANCE);
    EXPECT_NEAR(AppTimer(TIMER_GET_APP_TIME), 1.3, kTolerance);

    // The framework's single step: one frame of 0.1 s, then nothing.
    AppTimer(TIMER_GET_ELAPSED_TIME);
    AppTimer(TIMER_ADVANCE);
    clock.Advance(7.0);
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.1, kTolerance);
    EXPECT_EQ(AppTimer(TIMER_GET_ELAPSED_TIME), 0.0);
}

TEST_F(AppTimerTest, UnknownCommandReturnsMinusOneAndChangesNothing) {
    RunningFromZero();
    clock.Advance(1.0);
    AppTimer(TIMER_GET_ELAPSED_TIME);
    clock.Advance(0.5);
    for (int command : {7, -1, 100}) {
        EXPECT_EQ(AppTimer(static_cast<TimerCommand>(command)), -1.0) << command;
    }
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.5, kTolerance);
    EXPECT_NEAR(AppTimer(TIMER_GET_APP_TIME), 1.5, kTolerance);
}

TEST_F(AppTimerTest, MillisecondClockGivesTheSameResults) {
    InFreshProcess([this]() -> std::string {
        clock.highResolution = false;
        AppTimer(TIMER_START);
        std::string failure =
            Near("app time after start", AppTimer(TIMER_GET_APP_TIME), 0.0, kTolerance);
        clock.Advance(2.0);
        AppTimer(TIMER_STOP);
        clock.Advance(5.0);
        AppTimer(TIMER_START);
        clock.Advance(0.5);
        failure += Near("app time", AppTimer(TIMER_GET_APP_TIME), 2.5, 1e-3);
        failure += Near("elapsed", AppTimer(TIMER_GET_ELAPSED_TIME), 0.5, 1e-3);
        AppTimer(TIMER_STOP);
        AppTimer(TIMER_GET_ELAPSED_TIME);
        AppTimer(TIMER_ADVANCE);
        failure += Near("single step", AppTimer(TIMER_GET_ELAPSED_TIME), 0.1, 1e-3);
        return failure;
    });
}

TEST_F(AppTimerTest, MillisecondClockDoesNotWrapAfterFortyNineDays) {
    InFreshProcess([this]() -> std::string {
        clock.highResolution = false;
        clock.milliseconds = 0xFFFFFC00ull;  // just below 2^32 ms (49.7 days)
        AppTimer(TIMER_START);
        clock.Advance(2.0);
        std::string failure =
            Near("elapsed across 2^32 ms", AppTimer(TIMER_GET_ELAPSED_TIME), 2.0, 1e-3);
        failure += Near("app time across 2^32 ms", AppTimer(TIMER_GET_APP_TIME), 2.0, 1e-3);
        return failure;
    });
}

}  // namespace
