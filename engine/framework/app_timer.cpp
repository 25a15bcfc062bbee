#include "engine/framework/app_timer.h"

#include <cmath>
#include <cstdint>

#include "engine/backend/clock.h"

namespace {

// The high-resolution source counts whole ticks so that the single step of
// 0.1 s is an exact tick count, as with a hardware counter.
constexpr std::int64_t TICKS_PER_SECOND = 1000000000;

struct TimerState {
    bool initialised = false;
    bool usesTicks = false;
    std::int64_t frequency = 0;
    // Tick source; a stop time of 0 means "not stopped" when reading the clock.
    std::int64_t baseTicks = 0;
    std::int64_t lastTicks = 0;
    std::int64_t stopTicks = 0;
    // Millisecond source, in seconds.
    double baseSeconds = 0.0;
    double lastSeconds = 0.0;
    double stopSeconds = 0.0;
    bool stopped = true;
};

TimerState g_timer;

double TicksCommand(TimerCommand command) {
    std::int64_t now;
    if (g_timer.stopTicks != 0 && command != TIMER_START && command != TIMER_GET_ABSOLUTE_TIME) {
        now = g_timer.stopTicks;
    } else {
        now = std::llround(backend::Clock().Seconds() * static_cast<double>(g_timer.frequency));
    }
    const double frequency = static_cast<double>(g_timer.frequency);
    switch (command) {
        case TIMER_RESET:
            g_timer.baseTicks = now;
            g_timer.lastTicks = now;
            g_timer.stopTicks = 0;
            g_timer.stopped = false;
            return 0.0;
        case TIMER_START:
            if (g_timer.stopped) {
                g_timer.baseTicks += now - g_timer.stopTicks;
            }
            g_timer.stopTicks = 0;
            g_timer.lastTicks = now;
            g_timer.stopped = false;
            return 0.0;
        case TIMER_STOP:
            if (!g_timer.stopped) {
                g_timer.stopTicks = now;
                g_timer.lastTicks = now;
                g_timer.stopped = true;
            }
            return 0.0;
        case TIMER_ADVANCE:
            g_timer.stopTicks += g_timer.frequency / 10;
            return 0.0;
        case TIMER_GET_ABSOLUTE_TIME:
            return static_cast<double>(now) / frequency;
        case TIMER_GET_APP_TIME:
            return static_cast<double>(now - g_timer.baseTicks) / frequency;
        case TIMER_GET_ELAPSED_TIME: {
            const double elapsed = static_cast<double>(now - g_timer.lastTicks) / frequency;
            g_timer.lastTicks = now;
            return elapsed;
        }
    }
    return -1.0;
}

double SecondsCommand(TimerCommand command) {
    double now;
    if (g_timer.stopSeconds != 0.0 && command != TIMER_START &&
        command != TIMER_GET_ABSOLUTE_TIME) {
        now = g_timer.stopSeconds;
    } else {
        // The 64-bit count never wraps in a run.
        now = static_cast<double>(backend::Clock().Milliseconds()) * 0.001;
    }
    switch (command) {
        case TIMER_RESET:
            g_timer.baseSeconds = now;
            g_timer.lastSeconds = now;
            g_timer.stopSeconds = 0.0;
            g_timer.stopped = false;
            return 0.0;
        case TIMER_START:
            if (g_timer.stopped) {
                g_timer.baseSeconds += now - g_timer.stopSeconds;
            }
            g_timer.stopSeconds = 0.0;
            g_timer.lastSeconds = now;
            g_timer.stopped = false;
            return 0.0;
        case TIMER_STOP:
            if (!g_timer.stopped) {
                g_timer.stopSeconds = now;
                g_timer.lastSeconds = now;
                g_timer.stopped = true;
            }
            return 0.0;
        case TIMER_ADVANCE:
            g_timer.stopSeconds += 0.1;
            return 0.0;
        case TIMER_GET_ABSOLUTE_TIME:
            return now;
        case TIMER_GET_APP_TIME:
            return now - g_timer.baseSeconds;
        case TIMER_GET_ELAPSED_TIME: {
            const double elapsed = now - g_timer.lastSeconds;
            g_timer.lastSeconds = now;
            return elapsed;
        }
    }
    return -1.0;
}

}  // namespace

double AppTimer(TimerCommand command) {
    if (command < TIMER_RESET || command > TIMER_GET_ELAPSED_TIME) {
        return -1.0;
    }
    if (!g_timer.initialised) {
        // A clock without a high-resolution reading answers 0 here; the
        // millisecond count then serves for the rest of the run.
        g_timer.initialised = true;
        const double probe = backend::Clock().Seconds();
        g_timer.usesTicks = std::isfinite(probe) && probe > 0.0;
        g_timer.frequency = TICKS_PER_SECOND;
    }
    return g_timer.usesTicks ? TicksCommand(command) : SecondsCommand(command);
}
