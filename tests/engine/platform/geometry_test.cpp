#include "engine/platform/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(GeometryTest, NormalizeGivesUnitVectorsAndLeavesZeroAlone) {
    const Vec2 unit = Normalize({3.0f, -4.0f});
    EXPECT_FLOAT_EQ(unit.x, 0.6f);
    EXPECT_FLOAT_EQ(unit.y, -0.8f);

    const Vec2 zero = Normalize({0.0f, 0.0f});
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_FALSE(std::isnan(zero.x) || std::isnan(zero.y));
}

// A point as a row vector (x, y, z, 1) times the matrix.
Vec3 Transform(const Matrix4& m, const Vec3& p) {
    const float in[4] = {p.x, p.y, p.z, 1.0f};
    float out[4] = {};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            out[column] += in[row] * m.m[row][column];
        }
    }
    return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

TEST(GeometryTest, MatrixBuildersScaleAndTranslatePoints) {
    Matrix4 scaling;
    MatrixScalingFromVector(&scaling, {2.0f, 3.0f, 4.0f});
    const Vec3 scaled = Transform(scaling, {1.0f, 1.0f, 1.0f});
    EXPECT_FLOAT_EQ(scaled.x, 2.0f);
    EXPECT_FLOAT_EQ(scaled.y, 3.0f);
    EXPECT_FLOAT_EQ(scaled.z, 4.0f);

    Matrix4 translation;
    MatrixTranslationFromVector(&translation, {5.0f, -6.0f, 7.0f});
    const Vec3 moved = Transform(translation, {1.0f, 2.0f, 3.0f});
    EXPECT_FLOAT_EQ(moved.x, 6.0f);
    EXPECT_FLOAT_EQ(moved.y, -4.0f);
    EXPECT_FLOAT_EQ(moved.z, 10.0f);
}

}  // namespace
