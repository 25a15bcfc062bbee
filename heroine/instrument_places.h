#pragma once
// Where the instrument panel's items stand in each location, with their
// pictures, glows and hit margins (left, right, top, bottom edge moves).
#include <cstdint>

#include "engine/platform/geometry.h"
#include "heroine/device_parts.h"

struct InstrumentPlace {
    std::uint32_t kind;
    // The ingredient category, 0 for the tools.
    std::int32_t category;
    Vec2 station;
    Vec2 tag;
    // Null for the discard spot, which the backdrop shows.
    const char* image;
    PictureRect source;
    Vec2 position;
    bool mirrored;
    const char* glowImage;
    PictureRect glow;
    Vec2 glowPosition;
    PictureRect margins;
};

inline constexpr int INGREDIENT_COUNT = 12;
inline constexpr int TOOL_COUNT = 12;
inline constexpr int LOCATION_COUNT = 3;

// Location 1; the other locations move every point by INGREDIENT_OFFSETS.
extern const InstrumentPlace INGREDIENT_PLACES[INGREDIENT_COUNT];
extern const Vec2 INGREDIENT_OFFSETS[LOCATION_COUNT];
// Per location, in the panel's order: the discard spot, the computer, brush
// 1 and 2, medicine 2 and 1, the cost and the growth vitamin, foods 4 to 1.
extern const InstrumentPlace TOOL_PLACES[LOCATION_COUNT][TOOL_COUNT];
