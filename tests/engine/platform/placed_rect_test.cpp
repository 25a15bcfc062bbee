#include "engine/platform/placed_rect.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr Vec2 kUnitScale{1.0f, 1.0f};

TEST(PlacedRectTest, ConstructorTakesHorizontalEdgesFirst) {
    const CPlacedRect box(1.0f, 2.0f, 3, 4, 5, 6);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.bottom, 6);
}

TEST(PlacedRectTest, ContainsIsStrict) {
    const CPlacedRect box(100.0f, 100.0f, 0, 50, 0, 30);
    struct Case {
        Vec2 point;
        Vec2 scale;
        bool inside;
    };
    const Case cases[] = {
        {{120, 110}, kUnitScale, true},
        {{150, 110}, kUnitScale, false},  // on the right edge
        {{100, 100}, kUnitScale, false},  // the position itself, left edge 0
        {{120, 130}, kUnitScale, false},  // on the bottom edge
        {{149.9f, 129.9f}, kUnitScale, true},
        {{120, 110}, {2.0f, 0.5f}, true},    // a positive scale changes nothing
        {{120, 110}, {-1.0f, 1.0f}, false},  // a negative one leaves nothing inside
        {{-120, 110}, {-1.0f, 1.0f}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(box.Contains(c.point, c.scale), c.inside)
            << c.point.x << "," << c.point.y << " scale " << c.scale.x << "," << c.scale.y;
    }
}

struct DetourCase {
    const char* name;
    Vec2 p;
    Vec2 q;
    bool forward;
    int steps;
    Vec2 expected;
};

TEST(PlacedRectTest, FindDetourPoint) {
    // With zero shifts the corners are (100, 100), (150, 100), (100, 130), (150, 130).
    const CPlacedRect box(100.0f, 100.0f, 0, 50, 0, 30);
    const DetourCase cases[] = {
        {"clear walk", {0, 0}, {90, 200}, true, 40, {0, 0}},
        {"straight through, ties to the lower corner", {50, 115}, {200, 115}, true, 40, {100, 100}},
        {"into the near column", {90, 110}, {175, 135}, true, 40, {100, 130}},
        // The nearest corner is the top-left one, but the goal lies below the
        // box: the corner of the same column nearer the goal wins.
        {"same column nearer the goal", {90, 95}, {175, 160}, true, 40, {100, 130}},
        {"backward walk", {90, 95}, {175, 160}, false, 40, {150, 130}},
        // A walk that goes nowhere tests its origin at every step.
        {"zero-length walk inside", {120, 110}, {120, 110}, true, 40, {100, 100}},
        {"zero-length walk inside, backward", {120, 110}, {120, 110}, false, 40, {100, 130}},
        {"zero-length walk outside", {90, 110}, {90, 110}, true, 40, {0, 0}},
        // Steps below 1 mean 20: a thin slice of the box slips between them.
        {"default steps", {0, 115}, {200, 115}, true, 0, {100, 100}},
    };
    for (const DetourCase& c : cases) {
        const Vec2 result =
            box.FindDetourPoint(c.p, c.q, c.forward, kUnitScale, 0, 0, 0, 0, c.steps);
        EXPECT_FLOAT_EQ(result.x, c.expected.x) << c.name;
        EXPECT_FLOAT_EQ(result.y, c.expected.y) << c.name;
    }

    const CPlacedRect slice(100.0f, 0.0f, 0, 8, 0, 200);
    EXPECT_EQ(slice.FindDetourPoint({0, 115}, {200, 115}, true, kUnitScale, 0, 0, 0, 0, 0),
              (Vec2{0, 0}))
        << "20 steps of 10 never land inside a box 8 wide";
    EXPECT_NE(slice.FindDetourPoint({0, 115}, {200, 115}, true, kUnitScale, 0, 0, 0, 0, 40),
              (Vec2{0, 0}));
}

TEST(PlacedRectTest, ShiftsMoveTheCorners) {
    const CPlacedRect box(100.0f, 100.0f, 0, 50, 0, 30);
    // Straight through: the top-left corner, moved by the left and top shifts.
    const Vec2 result =
        box.FindDetourPoint({50, 115}, {200, 115}, true, kUnitScale, -5, 7, -3, 9, 40);
    EXPECT_FLOAT_EQ(result.x, 95);
    EXPECT_FLOAT_EQ(result.y, 97);
}

TEST(PlacedRectTest, CornersComeFromThePositionNotTheLeftAndTopEdges) {
    // The box spans 80..150 x 90..130, but the corners to walk to start at
    // the position: (100, 100), (150, 100), (100, 130), (150, 130).
    const CPlacedRect box(100.0f, 100.0f, -20, 50, -10, 30);
    EXPECT_EQ(box.FindDetourPoint({50, 115}, {200, 115}, true, kUnitScale, 0, 0, 0, 0, 40),
              (Vec2{100, 100}));
    EXPECT_EQ(box.FindDetourPoint({50, 115}, {200, 115}, false, kUnitScale, 0, 0, 0, 0, 40),
              (Vec2{150, 100}));
}

TEST(PlacedRectTest, AnEntryExactlyAtTheOriginReadsAsClear) {
    // (0, 0) is the "clear" answer, so an entry there cannot be told apart.
    const CPlacedRect box(-10.0f, -10.0f, 0, 20, 0, 20);
    const Vec2 result = box.FindDetourPoint({-1, 0}, {19, 0}, true, kUnitScale, 0, 0, 0, 0, 20);
    EXPECT_EQ(result, (Vec2{0, 0}));
}

TEST(PlacedRectTest, NoNaNFromDegenerateInput) {
    const CPlacedRect box(100.0f, 100.0f, 0, 50, 0, 30);
    const Vec2 result =
        box.FindDetourPoint({120, 110}, {120, 110}, false, kUnitScale, 0, 0, 0, 0, 0);
    EXPECT_FALSE(std::isnan(result.x) || std::isnan(result.y));
}

}  // namespace
