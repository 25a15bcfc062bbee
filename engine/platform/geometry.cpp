#include "engine/platform/geometry.h"

#include <cmath>

float LengthSquared(Vec2 v) {
    return v.x * v.x + v.y * v.y;
}

float Length(Vec2 v) {
    return std::sqrt(LengthSquared(v));
}

Vec2 Normalize(Vec2 v) {
    const float length = Length(v);
    if (length == 0.0f) {
        return Vec2{};
    }
    return Vec2{v.x / length, v.y / length};
}

void MatrixScalingFromVector(Matrix4* out, const Vec3& v) {
    *out = Matrix4{};
    out->m[0][0] = v.x;
    out->m[1][1] = v.y;
    out->m[2][2] = v.z;
    out->m[3][3] = 1.0f;
}

void MatrixTranslationFromVector(Matrix4* out, const Vec3& v) {
    *out = Matrix4{};
    for (int i = 0; i < 4; ++i) {
        out->m[i][i] = 1.0f;
    }
    out->m[3][0] = v.x;
    out->m[3][1] = v.y;
    out->m[3][2] = v.z;
}
