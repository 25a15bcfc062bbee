#pragma once
// The samples of the bonus level, by their position in resources.xml, and the
// reseeded draws its random choices use.
#include <cstdint>

namespace bonus {

inline constexpr unsigned SAMPLE_LEVEL_WON = 27;
inline constexpr unsigned SAMPLE_NEED_REACHED = 28;
inline constexpr unsigned SAMPLE_GOAL_REACHED = 29;
inline constexpr unsigned SAMPLE_CLICK = 45;
inline constexpr unsigned SAMPLE_GULL_HIT = 46;
inline constexpr unsigned SAMPLE_TURTLE_CLICK = 47;
inline constexpr unsigned SAMPLE_GULL_FLAP = 48;
inline constexpr unsigned SAMPLE_GULL_SQUAWK = 49;
inline constexpr unsigned SAMPLE_GULL_DIVE = 50;
inline constexpr unsigned SAMPLE_TURTLE_LOST = 51;
inline constexpr unsigned SAMPLE_TURTLE_SAVED = 52;
inline constexpr unsigned SAMPLE_GULL_CATCH = 53;
inline constexpr unsigned SAMPLE_TURTLE_LANDS = 54;
inline constexpr unsigned SAMPLE_AMBIENT_1 = 56;
inline constexpr unsigned SAMPLE_AMBIENT_2 = 57;
inline constexpr unsigned SAMPLE_AMBIENT_3 = 58;

// Plays a sample from its start, without fading in.
void PlaySample(unsigned index);
bool IsSamplePlaying(unsigned index);
void PauseSample(unsigned index);

// 0 to 1, drawn right after reseeding with factor x the millisecond clock. The
// product wraps in 32 bits, as every clock value makes it overflow.
float Draw(std::uint32_t factor = 1);
// The generator's next number after reseeding with the millisecond clock.
int ReseededNumber();

}  // namespace bonus
