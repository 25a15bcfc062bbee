#pragma once
// An axis-aligned box placed at a point: obstacles of the heroine's walk and
// hit areas of the shop floor.
#include <cstdint>

#include "engine/platform/geometry.h"

class CPlacedRect {
public:
    float x = 0.0f;
    float y = 0.0f;
    // Edges relative to (x, y): the box spans x + left to x + right and
    // y + top to y + bottom.
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    CPlacedRect() = default;
    // Note the order: the horizontal edges come first.
    CPlacedRect(float posX, float posY, std::int32_t leftEdge, std::int32_t rightEdge,
                std::int32_t topEdge, std::int32_t bottomEdge);

    // Strictly inside, box and point both multiplied by the scale: a point on an
    // edge is outside, and a negative scale component leaves nothing inside.
    bool Contains(Vec2 point, Vec2 scale) const;

    // Where the straight walk from p to q (forward) or from q to p (not
    // forward) would enter the box, the corner to walk to first; (0, 0) when the
    // walk stays clear. The shifts move the corners outwards; steps below 1 mean
    // 20 test points.
    Vec2 FindDetourPoint(Vec2 p, Vec2 q, bool forward, Vec2 scale, float leftShift,
                         float rightShift, float topShift, float bottomShift, int steps) const;
};
