#pragma once
// The small vector and matrix types of the game's own arithmetic.
#include <cstdint>
#include <limits>

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Row-major 4x4 matrix for row vectors (a point is multiplied from the left),
// so a translation sits in the last row.
struct Matrix4 {
    float m[4][4] = {};
};

inline bool operator==(Vec2 a, Vec2 b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(Vec2 a, Vec2 b) {
    return !(a == b);
}
inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
    return {a.x * s, a.y * s};
}

float Length(Vec2 v);
float LengthSquared(Vec2 v);
// The unit vector of v; a zero vector stays (0, 0) instead of turning into NaN.
Vec2 Normalize(Vec2 v);

// Fill `out` with a scaling by the three components of v.
void MatrixScalingFromVector(Matrix4* out, const Vec3& v);
// Fill `out` with a translation by v.
void MatrixTranslationFromVector(Matrix4* out, const Vec3& v);

// A result worked out in 64 bits, brought back to 32 by stopping at the ends of
// the range. Sums of numbers read from data files go through it, so a file with
// absurd values gives absurd but defined rectangles, never an overflow.
constexpr std::int32_t SaturateToInt32(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < low ? low : (value > high ? high : value));
}

// A float cut toward zero; beyond the range of int32 it stays at the nearest
// end instead of being undefined, and NaN gives 0.
constexpr std::int32_t TruncateToInt32(float value) {
    if (!(value == value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}
