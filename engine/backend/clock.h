#pragma once
// Monotonic time for the timer, the random seeds and the log.
#include <cstdint>

namespace backend {

class IClock {
public:
    virtual ~IClock() = default;
    // Seconds since an arbitrary start; never 0 (the timer reads 0 as "not stopped").
    virtual double Seconds() = 0;
    // Milliseconds on the same base, 64-bit so it never wraps in a run; never 0.
    virtual std::uint64_t Milliseconds() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// The process clock. Tests install their own with SetClock and restore the
// real one with SetClock(nullptr).
IClock& Clock();
void SetClock(IClock* clock);

}  // namespace backend
