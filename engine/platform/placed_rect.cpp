#include "engine/platform/placed_rect.h"

#include <cmath>

CPlacedRect::CPlacedRect(float posX, float posY, std::int32_t leftEdge, std::int32_t rightEdge,
                         std::int32_t topEdge, std::int32_t bottomEdge)
    : x(posX), y(posY), left(leftEdge), top(topEdge), right(rightEdge), bottom(bottomEdge) {}

bool CPlacedRect::Contains(Vec2 point, Vec2 scale) const {
    const float px = point.x * scale.x;
    const float py = point.y * scale.y;
    return (x + static_cast<float>(left)) * scale.x < px &&
           px < (x + static_cast<float>(right)) * scale.x &&
           (y + static_cast<float>(top)) * scale.y < py &&
           py < (y + static_cast<float>(bottom)) * scale.y;
}

Vec2 CPlacedRect::FindDetourPoint(Vec2 p, Vec2 q, bool forward, Vec2 scale, float leftShift,
                                  float rightShift, float topShift, float bottomShift,
                                  int steps) const {
    const int count = steps < 1 ? 20 : steps;
    const Vec2 origin = forward ? p : q;
    const Vec2 target = forward ? q : p;
    const float length = Length(q - p);
    // A walk that goes nowhere has a zero step (Normalize keeps it finite), so it
    // tests its origin every time and still finds a box it stands in.
    const Vec2 step = Normalize(target - origin) * (length / static_cast<float>(count));

    Vec2 position = origin;
    bool entered = false;
    for (int i = 1; i < count; ++i) {
        position = position + step;
        if (Contains(position, scale)) {
            entered = true;
            break;
        }
    }
    if (!entered || position == Vec2{}) {
        return Vec2{};
    }

    const float right_ = static_cast<float>(right);
    const float bottom_ = static_cast<float>(bottom);
    const Vec2 corners[4] = {
        {x + leftShift, y + topShift},
        {x + right_ + rightShift, y + topShift},
        {x + leftShift, y + bottom_ + bottomShift},
        {x + right_ + rightShift, y + bottom_ + bottomShift},
    };
    float weight[4];
    for (int i = 0; i < 4; ++i) {
        weight[i] = LengthSquared(corners[i] - position);
    }

    bool allRight = true;  // no corner left of p
    bool allLeft = true;   // no corner right of p
    bool allBelow = true;  // no corner above q
    bool allAbove = true;  // no corner below q
    if (forward) {
        // Corners outside the span of the walk are the long way round.
        for (int i = 0; i < 4; ++i) {
            const Vec2 c = corners[i];
            const bool beyondX = (c.x > p.x && c.x > q.x) || (c.x < p.x && c.x < q.x);
            const bool beyondY = (c.y > p.y && c.y > q.y) || (c.y < p.y && c.y < q.y);
            if (beyondX || beyondY) {
                weight[i] += 1000000.0f;
            }
            allRight = allRight && !(c.x < p.x);
            allLeft = allLeft && !(c.x > p.x);
            allBelow = allBelow && !(c.y < q.y);
            allAbove = allAbove && !(c.y > q.y);
        }
    } else {
        const float sum = weight[0] + weight[1] + weight[2] + weight[3];
        for (int i = 0; i < 4; ++i) {
            if (corners[i].x != p.x && corners[i].y != p.y) {
                weight[i] = sum;
                break;
            }
        }
    }

    int chosen = 0;
    for (int i = 1; i < 4; ++i) {
        if (weight[i] < weight[chosen]) {
            chosen = i;
        }
    }

    if (forward && (allBelow || allAbove)) {
        // On the side of the box where the walk starts, prefer the corner of the
        // same column that is nearer to the goal's height.
        int alternatives[2] = {-1, -1};
        if (allRight && !allLeft) {
            alternatives[0] = 0;
            alternatives[1] = 2;
        } else if (allLeft && !allRight) {
            alternatives[0] = 1;
            alternatives[1] = 3;
        }
        for (int candidate : alternatives) {
            if (candidate < 0 || candidate == chosen) {
                continue;
            }
            if (corners[candidate].x == corners[chosen].x &&
                std::fabs(q.y - corners[candidate].y) < std::fabs(q.y - corners[chosen].y)) {
                chosen = candidate;
                break;
            }
        }
    }
    return corners[chosen];
}
