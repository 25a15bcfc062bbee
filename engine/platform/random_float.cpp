#include "engine/platform/random_float.h"

#include "engine/backend/clock.h"

namespace {

std::uint32_t g_randomState = 1;

}  // namespace

void SeedRandom(std::uint32_t seed) {
    g_randomState = seed;
}

int NextRandom() {
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int>((g_randomState >> 16) & 0x7FFFu);
}

float RandomFloat(float minimum, float maximum, int factor) {
    const auto milliseconds = static_cast<std::uint32_t>(backend::Clock().Milliseconds());
    SeedRandom(static_cast<std::uint32_t>(factor) * milliseconds);
    const float r = static_cast<float>(NextRandom());
    return minimum + r * (1.0f / 32767.0f) * (maximum - minimum);
}
