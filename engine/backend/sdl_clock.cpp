// The process clock on SDL's performance counter (the system's monotonic
// clock, counted from boot, so random seeds taken from it differ between runs).
#include <SDL.h>

#include "engine/backend/clock.h"

namespace backend {

namespace {

// One second on top of the counter keeps both readings above zero even on a
// counter that starts at 0.
constexpr std::uint64_t kOffsetMilliseconds = 1000;

class CSdlClock : public IClock {
public:
    CSdlClock() : m_frequency(SDL_GetPerformanceFrequency()) {
        if (m_frequency == 0) {
            m_frequency = 1000;
        }
    }

    double Seconds() override {
        const std::uint64_t counter = SDL_GetPerformanceCounter();
        const std::uint64_t whole = counter / m_frequency;
        const std::uint64_t part = counter % m_frequency;
        return static_cast<double>(whole) +
               static_cast<double>(part) / static_cast<double>(m_frequency) +
               static_cast<double>(kOffsetMilliseconds) / 1000.0;
    }

    std::uint64_t Milliseconds() override {
        // Split so the multiplication cannot overflow after a long uptime.
        const std::uint64_t counter = SDL_GetPerformanceCounter();
        const std::uint64_t whole = counter / m_frequency;
        const std::uint64_t part = counter % m_frequency;
        return whole * 1000 + part * 1000 / m_frequency + kOffsetMilliseconds;
    }

    void Sleep(std::uint32_t milliseconds) override { SDL_Delay(milliseconds); }

private:
    std::uint64_t m_frequency;
};

IClock* g_override = nullptr;

}  // namespace

IClock& Clock() {
    // Never destroyed: the log may still ask for the time while exiting.
    static CSdlClock* clock = new CSdlClock;
    return g_override != nullptr ? *g_override : *clock;
}

void SetClock(IClock* clock) {
    g_override = clock;
}

}  // namespace backend
