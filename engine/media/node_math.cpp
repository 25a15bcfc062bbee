#include "engine/media/node_math.h"

#include <cmath>

Quaternion QuaternionNormalize(const Quaternion& q) {
    const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (length == 0.0f) {
        return {0.0f, 0.0f, 0.0f, 0.0f};
    }
    return {q.x / length, q.y / length, q.z / length, q.w / length};
}

Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t) {
    float dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    // q and -q are the same rotation: turn b round so the shorter arc is taken.
    float sign = 1.0f;
    if (dot < 0.0f) {
        sign = -1.0f;
        dot = -dot;
    }
    float weightA = 1.0f - t;
    float weightB = t;
    // Nearly equal rotations: the sine below would vanish, and a straight
    // blend is as good.
    if (1.0f - dot > 0.001f) {
        const float theta = std::acos(dot);
        const float sine = std::sin(theta);
        weightA = std::sin((1.0f - t) * theta) / sine;
        weightB = std::sin(t * theta) / sine;
    }
    weightB *= sign;
    return {weightA * a.x + weightB * b.x, weightA * a.y + weightB * b.y,
            weightA * a.z + weightB * b.z, weightA * a.w + weightB * b.w};
}

Matrix4 MatrixIdentity() {
    Matrix4 m;
    for (int i = 0; i < 4; ++i) {
        m.m[i][i] = 1.0f;
    }
    return m;
}

Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 out;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[row][k] * b.m[k][column];
            }
            out.m[row][column] = sum;
        }
    }
    return out;
}

Matrix4 MatrixScaling(float x, float y, float z) {
    Matrix4 m;
    m.m[0][0] = x;
    m.m[1][1] = y;
    m.m[2][2] = z;
    m.m[3][3] = 1.0f;
    return m;
}

Matrix4 MatrixTranslation(float x, float y, float z) {
    Matrix4 m = MatrixIdentity();
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

Matrix4 MatrixRotationQuaternion(const Quaternion& q) {
    Matrix4 m = MatrixIdentity();
    m.m[0][0] = 1.0f - 2.0f * (q.y * q.y + q.z * q.z);
    m.m[0][1] = 2.0f * (q.x * q.y + q.z * q.w);
    m.m[0][2] = 2.0f * (q.x * q.z - q.y * q.w);
    m.m[1][0] = 2.0f * (q.x * q.y - q.z * q.w);
    m.m[1][1] = 1.0f - 2.0f * (q.x * q.x + q.z * q.z);
    m.m[1][2] = 2.0f * (q.y * q.z + q.x * q.w);
    m.m[2][0] = 2.0f * (q.x * q.z + q.y * q.w);
    m.m[2][1] = 2.0f * (q.y * q.z - q.x * q.w);
    m.m[2][2] = 1.0f - 2.0f * (q.x * q.x + q.y * q.y);
    return m;
}
