#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "engine/platform/input_devices.h"
#include "frontend/menu_scene.h"
#include "frontend_world.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// 41 digits: more than a float holds, so the speed reads as infinity.
const std::string HUGE_SPEED(41, '9');

class MenuSceneRangeTest : public frontend_test::FrontendWorldTest {
protected:
    void SetUp() override {
        FrontendWorldTest::SetUp();
        AddImage("PIC", 256, 256);
    }
};

// A scrolling texture with absurd numbers in its file still cuts pieces whose
// edges stop at the ends of the int32 range, and its scroll stays a number.
TEST_F(MenuSceneRangeTest, AScrollWithNumbersOutOfRangeCutsClampedPieces) {
    struct Case {
        const char* name;
        std::string drRight;
        std::string speed;
        float elapsed;
        float offset;        // scroll offset after the frame
        std::int32_t right;  // right edge of the pieces that run to dr_right
        std::int32_t strip;  // right edge of the uncovered strip
    };
    const Case cases[] = {
        {"an infinite speed on a frame of no length", "256", HUGE_SPEED, 0.0f, 0.0f, 256, 0},
        {"an infinite speed backwards", "256", "-" + HUGE_SPEED, 0.0f, 0.0f, 256, 0},
        {"the highest right edge", "2147483647", "64", 0.0f, 0.0f, kMax, 0},
        {"both at once", "2147483647", HUGE_SPEED, 0.0f, 0.0f, kMax, 0},
        // 200 texels left of the lowest edge is the next float below the range.
        {"the lowest right edge, moved on", "-2147483648", "200", 1.0f, 200.0f, kMin, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resource_test::WriteFile("Resources/Data/menu scene.xml",
                                 "<Base><show/><object type=\"3\" image=\"PIC\" r_right=\"256\" "
                                 "r_bottom=\"128\" dr_right=\"" +
                                     c.drRight + "\" dr_bottom=\"128\" speed_x=\"" + c.speed +
                                     "\"/></Base>");
        CMenuScene scene;
        ASSERT_TRUE(scene.Load());
        ASSERT_EQ(scene.objects.size(), 1u);
        scene.Update("", InputState{}, 1.0f, 1.0f, c.elapsed);

        const CSceneObject& object = scene.objects[0];
        EXPECT_EQ(object.scrollOffsetX, c.offset);
        EXPECT_TRUE(std::isfinite(object.anchorX));
        EXPECT_EQ(object.pieceRects[0].right, c.right);
        EXPECT_EQ(object.pieceRects[1].right, c.strip);
        EXPECT_EQ(object.pieceRects[2].right, c.strip);
        EXPECT_EQ(object.pieceRects[3].right, c.right);
        EXPECT_EQ(object.pieceRects[0].bottom, 128);

        device.draws.clear();
        EXPECT_EQ(scene.Render(1.0f, 1.0f), RESULT_OK);
        EXPECT_EQ(device.draws.size(), 4u);
    }
}

}  // namespace
