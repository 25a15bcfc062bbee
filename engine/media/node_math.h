#pragma once
// Quaternions and the matrix builders of the node animation. Matrices follow
// the row-vector convention of engine/platform/geometry.h: a point is
// multiplied from the left, so A x B applies A first and a translation sits in
// the last row.
#include "engine/platform/geometry.h"

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// A zero quaternion stays zero instead of turning into NaN.
Quaternion QuaternionNormalize(const Quaternion& q);
// Spherical interpolation along the shorter arc; t 0 gives a, 1 gives b.
Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t);

Matrix4 MatrixIdentity();
Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b);
Matrix4 MatrixScaling(float x, float y, float z);
Matrix4 MatrixTranslation(float x, float y, float z);
// The rotation of a unit quaternion.
Matrix4 MatrixRotationQuaternion(const Quaternion& q);
