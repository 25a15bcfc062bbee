#pragma once
// The game's random numbers: the classic 15-bit linear congruential generator
// (state := state * 214013 + 2531011, result bits 16 to 30), one state for the
// whole process. Every formula that divides by RANDOM_MAX relies on its range,
// and a coin is the parity of a draw.
#include <cstdint>

constexpr int RANDOM_MAX = 32767;

void SeedRandom(std::uint32_t seed);
// The next number of the generator, 0 to RANDOM_MAX.
int NextRandom();

// minimum + r / 32767 * (maximum - minimum) with r drawn right after reseeding
// with factor * the millisecond clock. Two calls in the same millisecond with
// the same factor draw the same r; callers wanting different values in one
// frame pass different factors.
float RandomFloat(float minimum, float maximum, int factor);
