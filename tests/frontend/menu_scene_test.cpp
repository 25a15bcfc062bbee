#include "frontend/menu_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/platform/input_devices.h"
#include "frontend_world.h"

namespace {

using resource_test::LogHas;

constexpr float DEGREE = 0.017453292f;

class MenuSceneTest : public frontend_test::FrontendWorldTest {
protected:
    void SetUp() override {
        FrontendWorldTest::SetUp();
        picture = AddImage("PIC", 256, 256);
    }

    static void WriteScene(const std::string& body) {
        resource_test::WriteFile("Resources/Data/menu scene.xml", body);
    }

    static void Update(CSceneObject& object, const std::string& path, float elapsed,
                       float scaleX = 1.0f, float scaleY = 1.0f) {
        object.Update(path, InputState{}, scaleX, scaleY, elapsed);
    }

    std::int32_t picture = -1;
};

TEST_F(MenuSceneTest, LoadReadsRulesObjectsAndAnimations) {
    WriteScene(R"(<Base>
        <object type="0" image="PIC" x="1"/>
        <show menu_item="A, B" menu_root="R"/>
        <object type="2" image="PIC" r="90" min_angle="-10" max_angle="10" speed_r="-0.5"
                r_left="4" r_top="8" r_right="20" r_bottom="24" color="0x80FF0000" s_x="2"/>
        <object type="4" image="PIC" r_left="16" r_top="32" r_right="48" r_bottom="64">
            <animation max_frame_x="4" max_frame_y="1" last_frame_x="3" anim_dir_x="1"
                       anim_delay="0,25" loop="1"/>
            <animation max_frame_x="9"/>
        </object>
        <hide/>
        <object type="1" image="MISSING" x="5" speed_x="3"/>
        <object image="PIC" x="5"/>
        <object type="3" image="PIC" speed_x="64"/>
        <other type="0" image="PIC"/>
    </Base>)");
    CMenuScene scene;
    ASSERT_TRUE(scene.Load());
    EXPECT_TRUE(LogHas("Initializing menu scene", "Blue"));
    EXPECT_TRUE(LogHas("Initialization is completed", "Green"));
    ASSERT_EQ(scene.objects.size(), 6u);

    const CSceneObject& early = scene.objects[0];
    EXPECT_TRUE(early.rules.empty());
    EXPECT_FALSE(early.defaultVisible);
    EXPECT_EQ(early.x, 1.0f);

    const CSceneObject& swaying = scene.objects[1];
    ASSERT_EQ(swaying.rules.size(), 3u);
    const std::vector<std::pair<std::string, bool>> rules{
        {"R", true}, {"A/", false}, {"B/", false}};
    for (std::size_t i = 0; i < rules.size(); ++i) {
        EXPECT_EQ(swaying.rules[i].name, rules[i].first);
        EXPECT_EQ(swaying.rules[i].isRoot, rules[i].second);
        EXPECT_TRUE(swaying.rules[i].show);
    }
    EXPECT_TRUE(swaying.defaultVisible);
    EXPECT_FALSE(swaying.visible) << "an object with rules waits for its first update";
    EXPECT_EQ(swaying.image, picture);
    EXPECT_EQ(swaying.color, 0x80FF0000u);
    EXPECT_EQ(swaying.s_x, 2.0f);
    EXPECT_EQ(swaying.s_y, 1.0f);
    EXPECT_FLOAT_EQ(swaying.r, 90.0f * DEGREE);
    EXPECT_FLOAT_EQ(swaying.oscillator.minimum, -10.0f * DEGREE);
    EXPECT_FLOAT_EQ(swaying.oscillator.maximum, 10.0f * DEGREE);
    EXPECT_EQ(swaying.oscillator.value, swaying.r);
    EXPECT_EQ(swaying.oscillator.speed, -0.5f) << "the speed stays as given, in radians";
    EXPECT_EQ(swaying.oscillator.direction, -1.0f);

    const CSceneObject& animated = scene.objects[2];
    ASSERT_EQ(animated.animations.size(), 2u);
    EXPECT_EQ(animated.currentAnimation, 0);
    EXPECT_EQ(animated.animations[0].max_frame_x, 4);
    EXPECT_EQ(animated.animations[0].anim_delay, 0.25f);
    EXPECT_EQ(animated.animations[0].loop, 1);
    EXPECT_EQ(animated.animations[1].max_frame_x, 9);
    for (const SceneAnimation& animation : animated.animations) {
        EXPECT_EQ(animation.originX, 16);
        EXPECT_EQ(animation.originY, 32);
        EXPECT_EQ(animation.currentDelay, 0.0f);
    }
    scene.Update("", InputState{}, 1.0f, 1.0f, 0.5f);
    EXPECT_EQ(scene.objects[2].animations[0].cur_frame_x, 1);
    EXPECT_EQ(scene.objects[2].animations[1].cur_frame_x, 0) << "only the first animation plays";
    EXPECT_EQ(scene.objects[2].animations[1].elapsed, 0.0f);

    // Dead objects stay in the list with their reset values.
    const CSceneObject& noPicture = scene.objects[3];
    EXPECT_EQ(noPicture.image, -1);
    EXPECT_EQ(noPicture.type, 1);
    EXPECT_EQ(noPicture.x, 0.0f);
    EXPECT_EQ(noPicture.speed_x, 0.0f);
    EXPECT_FALSE(noPicture.visible);
    const CSceneObject& noType = scene.objects[4];
    EXPECT_EQ(noType.type, -1);
    EXPECT_EQ(noType.x, 0.0f);

    const CSceneObject& scrolling = scene.objects[5];
    EXPECT_TRUE(scrolling.rules.empty());
    EXPECT_FALSE(scrolling.defaultVisible);
    EXPECT_EQ(scrolling.speed_x, 64.0f);
}

TEST_F(MenuSceneTest, AMissingFileKeepsTheObjectsAndASyntaxErrorKeepsWhatWasRead) {
    CMenuScene scene;
    WriteScene("<Base><show/><object type=\"0\" image=\"PIC\"/></Base>");
    ASSERT_TRUE(scene.Load());
    ASSERT_EQ(scene.objects.size(), 1u);

    std::filesystem::remove("Resources/Data/menu scene.xml");
    HtmlLog().Start();
    EXPECT_FALSE(scene.Load());
    EXPECT_TRUE(LogHas("Couldn't open menu scene file (Resources/Data/menu scene.xml)", "Red"));
    EXPECT_FALSE(LogHas("Initialization is completed"));
    EXPECT_EQ(scene.objects.size(), 1u);

    WriteScene(
        "<Base><show/><object type=\"0\" image=\"PIC\"/><object type=\"1\" image=\"PIC\"/>"
        "<object type=\"2\" <<</Base>");
    HtmlLog().Start();
    EXPECT_TRUE(scene.Load());
    EXPECT_EQ(scene.objects.size(), 2u);
    EXPECT_TRUE(LogHas("Initialization is completed", "Green"));
}

TEST_F(MenuSceneTest, RulesMatchByPosition) {
    struct Case {
        ShowHideRule rule;
        const char* path;
        bool matches;
    };
    const Case cases[] = {
        {{"A", true, true}, "A/B/", true},   {{"A", true, true}, "X/A/", true},
        {{"B/", false, true}, "A/B/", true}, {{"A/", false, true}, "A/B/", false},
        {{"A/", false, true}, "X/A/", true}, {{"A", true, true}, "", false},
        {{"A/", false, true}, "", false},    {{"a/", false, true}, "A/", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule.name) + " in \"" + c.path + "\"");
        EXPECT_EQ(CSceneObject::RuleMatches(c.rule, c.path), c.matches);
    }
}

TEST_F(MenuSceneTest, VisibilityFollowsThePage) {
    WriteScene(R"(<Base>
        <object type="0" image="PIC"/>
        <show/><object type="0" image="PIC"/>
        <show menu_item="A, B"/><object type="0" image="PIC"/>
        <hide menu_item="A, B"/><object type="0" image="PIC"/>
        <hide menu_root="A"/><object type="0" image="PIC"/>
        <hide/><object type="0" image="PIC"/>
    </Base>)");
    CMenuScene scene;
    ASSERT_TRUE(scene.Load());
    ASSERT_EQ(scene.objects.size(), 6u);
    struct Case {
        const char* path;
        // before any rule, <show/>, show A B, hide A B, hide root A, <hide/>
        std::vector<bool> visible;
    };
    const Case cases[] = {
        {"", {false, true, false, true, true, false}},
        {"A/", {false, true, true, false, false, false}},
        {"B/", {false, true, true, false, true, false}},
        {"X/A/", {false, true, true, false, false, false}},
        {"X/", {false, true, false, true, true, false}},
        {"A/X/", {false, true, false, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("path \"") + c.path + "\"");
        scene.Update(c.path, InputState{}, 1.0f, 1.0f, 0.1f);
        for (std::size_t i = 0; i < c.visible.size(); ++i) {
            EXPECT_EQ(scene.objects[i].visible, c.visible[i]) << "object " << i;
        }
    }
}

TEST_F(MenuSceneTest, MovingObjectsWrapAndOnlyMoveForward) {
    struct Case {
        const char* name;
        float start;
        float speed;
        float elapsed;
        float expected;
    };
    const Case cases[] = {
        {"past the maximum it jumps to the minimum", 1099.5f, 30.0f, 0.1f, -100.0f},
        {"within the limits it moves", 500.0f, 30.0f, 0.5f, 515.0f},
        {"below the minimum it jumps to the maximum", -150.0f, 30.0f, 0.1f, 1100.0f},
        {"a negative speed stays still", 1099.5f, -30.0f, 0.1f, 1099.5f},
        {"a negative speed does not even wrap", 1500.0f, -30.0f, 0.1f, 1500.0f},
        {"a speed of 1e-6 stays still", 1500.0f, 0.000001f, 0.1f, 1500.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSceneObject object;
        object.type = SCENE_OBJECT_MOVING;
        object.x = c.start;
        object.y = c.start;
        object.speed_x = c.speed;
        object.speed_y = c.speed;
        object.min_x = object.min_y = -100.0f;
        object.max_x = object.max_y = 1100.0f;
        Update(object, "", c.elapsed);
        EXPECT_FLOAT_EQ(object.x, c.expected);
        EXPECT_FLOAT_EQ(object.y, c.expected);
    }
}

TEST_F(MenuSceneTest, ARotatingObjectSwingsTowardsItsMaximumFirst) {
    WriteScene(R"(<Base><show/>
        <object type="2" image="PIC" min_angle="-10" max_angle="10" speed_r="-0.5"/>
        <object type="2" image="PIC" min_angle="-10" max_angle="10" speed_r="0.5"/>
        <object type="2" image="PIC" r="5" min_angle="-10" max_angle="10"/>
    </Base>)");
    CMenuScene scene;
    ASSERT_TRUE(scene.Load());
    ASSERT_EQ(scene.objects.size(), 3u);
    scene.Update("", InputState{}, 1.0f, 1.0f, 0.1f);
    // (1.25 - 0) x 0.5 x 0.1 either way: the speed's sign and the direction cancel.
    EXPECT_FLOAT_EQ(scene.objects[0].r, 0.0625f);
    EXPECT_FLOAT_EQ(scene.objects[1].r, 0.0625f);
    for (int i = 0; i < 100; ++i) {
        scene.Update("", InputState{}, 1.0f, 1.0f, 0.1f);
        EXPECT_LE(scene.objects[0].r, 10.0f * DEGREE + 1e-6f);
        EXPECT_GE(scene.objects[0].r, -10.0f * DEGREE - 1e-6f);
    }
    // Without a speed the oscillator never took the angle over.
    EXPECT_EQ(scene.objects[2].r, 0.0f);
}

TEST_F(MenuSceneTest, AScrollingTextureCutsFourPieces) {
    CSceneObject object;
    object.type = SCENE_OBJECT_SCROLLING;
    object.image = picture;
    object.visible = true;
    object.defaultVisible = true;
    object.r_right = 256;
    object.r_bottom = 128;
    object.dr_left = 10;
    object.dr_top = 20;
    object.dr_right = 266;
    object.dr_bottom = 148;
    object.x = 5.0f;
    object.y = 7.0f;
    object.s_x = 2.0f;
    object.speed_x = 64.0f;
    object.speed_y = 32.0f;
    // Scale (0.5, 2): the pieces' size factors are (1, 2).
    Update(object, "", 0.3f, 0.5f, 2.0f);
    EXPECT_FLOAT_EQ(object.scrollOffsetX, 19.2f);
    EXPECT_FLOAT_EQ(object.scrollOffsetY, 9.6f);
    const backend::Rect rects[] = {
        {10, 20, 247, 138}, {10, 20, 19, 10}, {10, 20, 19, 138}, {10, 20, 247, 10}};
    const Vec2 scales[] = {{1, 2}, {-1, -2}, {-1, 2}, {1, -2}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(object.pieceRects[i].left, rects[i].left);
        EXPECT_EQ(object.pieceRects[i].top, rects[i].top);
        EXPECT_EQ(object.pieceRects[i].right, rects[i].right);
        EXPECT_EQ(object.pieceRects[i].bottom, rects[i].bottom);
        EXPECT_EQ(object.pieceScales[i], scales[i]);
    }
    EXPECT_FLOAT_EQ(object.anchorX, 24.2f);
    EXPECT_FLOAT_EQ(object.anchorY, 33.2f);

    device.draws.clear();
    EXPECT_EQ(object.Render(0.5f, 2.0f), RESULT_OK);
    ASSERT_EQ(device.draws.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(device.draws[i].source);
        EXPECT_EQ(device.draws[i].source->right, rects[i].right);
        EXPECT_EQ(device.draws[i].source->bottom, rects[i].bottom);
        EXPECT_EQ(device.draws[i].scale.x, scales[i].x);
        EXPECT_EQ(device.draws[i].scale.y, scales[i].y);
        EXPECT_FLOAT_EQ(device.draws[i].translation.x, 24.2f);
        EXPECT_FLOAT_EQ(device.draws[i].translation.y, 33.2f);
    }
}

TEST_F(MenuSceneTest, AScrollReturnsToZeroAfterOnePeriod) {
    struct Case {
        const char* name;
        float speed;
        float elapsed;
        int steps;
        float expected;
    };
    const Case cases[] = {
        {"256 texels at 64 per second: 0 after 4 s", 64.0f, 0.5f, 8, 0.0f},
        {"halfway after 2 s", 64.0f, 0.5f, 4, 128.0f},
        {"backwards it starts over at the far end", -64.0f, 0.25f, 1, 256.0f},
        {"and then runs down", -64.0f, 0.25f, 2, 240.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSceneObject object;
        object.type = SCENE_OBJECT_SCROLLING;
        object.r_right = 256;
        object.speed_x = c.speed;
        for (int i = 0; i < c.steps; ++i) {
            Update(object, "", c.elapsed);
        }
        EXPECT_FLOAT_EQ(object.scrollOffsetX, c.expected);
    }
}

// Steps a frame animation once per frame delay and lists the frames shown
// (column + row x columns) and the delay each one got.
class SceneAnimationTest : public MenuSceneTest {
protected:
    void SetUp() override {
        MenuSceneTest::SetUp();
        object.type = SCENE_OBJECT_FRAME_ANIMATION;
        object.image = picture;
        object.defaultVisible = true;
        object.r_left = 8;
        object.r_top = 16;
        object.r_right = 8 + 20;
        object.r_bottom = 16 + 10;
    }

    SceneAnimation& Animation(int columns, int rows, int lastX, int lastY, int backAnim, int loop,
                              int every) {
        object.r_left = 8;
        object.r_top = 16;
        object.r_right = 8 + 20;
        object.r_bottom = 16 + 10;
        SceneAnimation animation;
        animation.max_frame_x = columns;
        animation.max_frame_y = rows;
        animation.last_frame_x = lastX;
        animation.last_frame_y = lastY;
        animation.anim_dir_x = 1;
        animation.back_anim = backAnim;
        animation.loop = loop;
        animation.double_action_every_iteration = every;
        animation.anim_delay = 0.1f;
        animation.iteration_delay = 1.0f;
        animation.originX = object.r_left;
        animation.originY = object.r_top;
        object.animations = {animation};
        return object.animations[0];
    }

    std::pair<std::vector<int>, std::vector<float>> Run(int frames) {
        std::vector<int> shown;
        std::vector<float> delays;
        const SceneAnimation& a = object.animations[0];
        const int columns = a.max_frame_x;
        for (int i = 0; i < frames; ++i) {
            Update(object, "", a.currentDelay);
            shown.push_back(a.cur_frame_x + a.cur_frame_y * columns);
            delays.push_back(a.currentDelay);
        }
        return {shown, delays};
    }

    CSceneObject object;
    resource_test::CSteppingClock clock{100.0, 0.0};
    resource_test::ScopedClock fixedClock{&clock};
};

TEST_F(SceneAnimationTest, RunsTable) {
    constexpr float P = 1.0f;  // the pause between runs
    constexpr float D = 0.1f;  // one frame
    struct Case {
        const char* name;
        int columns, rows, lastX, lastY, backAnim, loop, every;
        std::vector<int> frames;
        std::vector<float> delays;
    };
    const Case cases[] = {
        {"forward looping: a pause on the last and the first frame, none on every 2nd run",
         4,
         1,
         3,
         0,
         0,
         1,
         2,
         {1, 2, 3, 0, 1, 2, 3, 0, 1},
         {D, D, P, P, D, D, P, D, D}},
        {"forward looping with n 0 never leaves the pause out",
         4,
         1,
         3,
         0,
         0,
         1,
         0,
         {1, 2, 3, 0, 1, 2, 3, 0},
         {D, D, P, P, D, D, P, P}},
        {"forward over rows, one column a step",
         2,
         2,
         1,
         1,
         0,
         1,
         1,
         {1, 2, 3, 0, 1},
         {D, D, P, D, D}},
        {"ping-pong looping pauses only at the first frame",
         2,
         2,
         1,
         1,
         1,
         1,
         2,
         {1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1},
         {D, D, D, D, D, P, D, D, D, D, D, D, D}},
        {"forward once rests on the last frame", 3, 1, 2, 0, 0, 0, 0, {1, 2, 2, 2}, {D, D, D, D}},
        {"ping-pong once rests on the first frame",
         3,
         1,
         2,
         0,
         1,
         0,
         0,
         {1, 2, 1, 0, 0, 0},
         {D, D, D, D, D, D}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Animation(c.columns, c.rows, c.lastX, c.lastY, c.backAnim, c.loop, c.every);
        const auto [frames, delays] = Run(static_cast<int>(c.frames.size()));
        EXPECT_EQ(frames, c.frames);
        EXPECT_EQ(delays, c.delays);
        // The rectangle follows the frame across the grid.
        const SceneAnimation& a = object.animations[0];
        EXPECT_EQ(object.r_left, 8 + a.cur_frame_x * 20);
        EXPECT_EQ(object.r_right, 8 + (a.cur_frame_x + 1) * 20);
        EXPECT_EQ(object.r_top, 16 + a.cur_frame_y * 10);
        EXPECT_EQ(object.r_bottom, 16 + (a.cur_frame_y + 1) * 10);
    }
}

// Frame numbers, steps and cell sizes from the file may sit at the ends of the
// int32 range: the frame and its rectangle then stop at those ends.
TEST_F(SceneAnimationTest, ExtremeNumbersGiveDefinedFrames) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Case {
        const char* name;
        std::int32_t columns, lastX, backAnim, curX, dirX;
        std::int32_t pictureLeft, pictureRight;  // the cell's columns on the picture
        std::int32_t frameX, frameY;             // after one step
        std::int32_t left, right;                // the cell's columns after it
    };
    const Case cases[] = {
        {"a step past the last number", 4, 3, 0, 1, kMax, 8, 28, kMax - 4, 0, kMax, kMax},
        {"turning back from the lowest step", 4, 3, 1, 3, kMin, 8, 28, kMax - 4, 0, kMax, kMax},
        {"a grid of the lowest width", kMin, 5, 0, 1, 1, 8, 28, kMax, 0, kMax, kMax},
        {"a frame far along the row", kMax, kMax - 1, 0, 1000000000, 1, 8, 28, 1000000001, 0, kMax,
         kMax},
        {"a cell as wide as the range", 4, 3, 0, 1, 1, kMin, kMax, 2, 0, kMax, kMax},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SceneAnimation& a = Animation(c.columns, 1, c.lastX, 0, c.backAnim, 1, 0);
        a.cur_frame_x = c.curX;
        a.anim_dir_x = c.dirX;
        object.r_left = c.pictureLeft;
        object.r_right = c.pictureRight;
        Update(object, "", a.currentDelay);
        EXPECT_EQ(object.animations[0].cur_frame_x, c.frameX);
        EXPECT_EQ(object.animations[0].cur_frame_y, c.frameY);
        EXPECT_EQ(object.r_left, c.left);
        EXPECT_EQ(object.r_right, c.right);
        EXPECT_EQ(object.r_top, 16);
        EXPECT_EQ(object.r_bottom, 26);
    }

    // Cuts added to a cell at the end of the range stop there too.
    SceneAnimation& a = Animation(4, 1, 3, 0, 0, 1, 0);
    a.cut_left = a.cut_right = kMax;
    a.cut_top = a.cut_bottom = kMin;
    object.r_left = kMax - 10;
    object.visible = true;
    device.draws.clear();
    EXPECT_EQ(object.Render(1.0f, 1.0f), RESULT_OK);
    ASSERT_EQ(device.draws.size(), 1u);
    ASSERT_TRUE(device.draws[0].source);
    EXPECT_EQ(device.draws[0].source->left, kMax);
    EXPECT_EQ(device.draws[0].source->right, kMax);
    EXPECT_EQ(device.draws[0].source->top, kMin + 16);
    EXPECT_EQ(device.draws[0].source->bottom, kMin + 26);
}

TEST_F(SceneAnimationTest, AFrameStaysUntilItsDelayIsOver) {
    Animation(4, 1, 3, 0, 0, 1, 2);
    Update(object, "", 0.0f);
    ASSERT_EQ(object.animations[0].cur_frame_x, 1);
    Update(object, "", 0.06f);
    EXPECT_EQ(object.animations[0].cur_frame_x, 1);
    Update(object, "", 0.06f);
    EXPECT_EQ(object.animations[0].cur_frame_x, 2);
    EXPECT_EQ(object.animations[0].elapsed, 0.0f);
}

TEST_F(SceneAnimationTest, ARandomPauseStaysWithinItsRange) {
    SceneAnimation& a = Animation(4, 1, 3, 0, 0, 1, 2);
    a.add_random_iteration_delay = 0.5f;
    Run(3);
    EXPECT_GE(object.animations[0].currentDelay, 1.0f);
    EXPECT_LE(object.animations[0].currentDelay, 1.5f);
}

TEST_F(SceneAnimationTest, WithoutAnAnimationItIsAStillPicture) {
    object.animations.clear();
    object.x = 3.7f;
    object.y = 4.2f;
    Update(object, "", 1.0f);
    EXPECT_TRUE(object.visible);
    EXPECT_EQ(object.r_left, 8);
    device.draws.clear();
    EXPECT_EQ(object.Render(1.0f, 1.0f), RESULT_OK);
    ASSERT_EQ(device.draws.size(), 1u);
    ASSERT_TRUE(device.draws[0].source);
    EXPECT_EQ(device.draws[0].source->left, 8);
    EXPECT_EQ(device.draws[0].source->right, 28);
    EXPECT_EQ(device.draws[0].translation.x, 3.0f);
    EXPECT_EQ(device.draws[0].translation.y, 4.0f);
}

TEST_F(MenuSceneTest, RenderPlacesEachType) {
    struct Case {
        const char* name;
        std::int32_t type;
        std::int32_t rightEdge;  // 0: the whole picture
        bool animated;
        Vec2 position;
        backend::Rect source;
    };
    // x 10.7, y 20.9, size factors (2, 1) at the screen scale (0.5, 1.5).
    const Case cases[] = {
        {"a still picture is cut to whole pixels",
         SCENE_OBJECT_STILL,
         30,
         false,
         {10, 31},
         {4, 6, 30, 40}},
        {"a still picture without a rectangle is drawn whole",
         SCENE_OBJECT_STILL,
         0,
         false,
         {10, 31},
         {}},
        {"a swaying picture is cut too",
         SCENE_OBJECT_ROTATING,
         30,
         false,
         {10, 31},
         {4, 6, 30, 40}},
        {"a drifting picture keeps its fractions",
         SCENE_OBJECT_MOVING,
         30,
         false,
         {10.7f, 31.35f},
         {4, 6, 30, 40}},
        {"a frame is moved by its cuts and not by the size factors",
         SCENE_OBJECT_FRAME_ANIMATION,
         30,
         true,
         {1, 28},
         {-4, 4, 33, 41}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSceneObject object;
        object.type = c.type;
        object.image = picture;
        object.visible = true;
        object.x = 10.7f;
        object.y = 20.9f;
        object.s_x = 2.0f;
        object.r_c_x = 4.0f;
        object.r_c_y = 6.0f;
        object.r = 0.25f;
        object.color = 0xC0FFEE00;
        object.r_left = 4;
        object.r_top = 6;
        object.r_right = c.rightEdge;
        object.r_bottom = 40;
        if (c.animated) {
            SceneAnimation animation;
            animation.cut_left = -8;
            animation.cut_top = -2;
            animation.cut_right = 3;
            animation.cut_bottom = 1;
            object.animations = {animation};
        }
        device.draws.clear();
        EXPECT_EQ(object.Render(0.5f, 1.5f), RESULT_OK);
        ASSERT_EQ(device.draws.size(), 1u);
        const media_test::RecordedDraw& draw = device.draws[0];
        EXPECT_FLOAT_EQ(draw.translation.x, c.position.x);
        EXPECT_FLOAT_EQ(draw.translation.y, c.position.y);
        if (c.rightEdge == 0) {
            EXPECT_FALSE(draw.source);
        } else {
            ASSERT_TRUE(draw.source);
            EXPECT_EQ(draw.source->left, c.source.left);
            EXPECT_EQ(draw.source->top, c.source.top);
            EXPECT_EQ(draw.source->right, c.source.right);
            EXPECT_EQ(draw.source->bottom, c.source.bottom);
        }
        EXPECT_EQ(draw.scale.x, 1.0f);
        EXPECT_EQ(draw.scale.y, 1.5f);
        EXPECT_EQ(draw.centre.x, 2.0f);
        EXPECT_EQ(draw.centre.y, 9.0f);
        EXPECT_EQ(draw.rotation, 0.25f);
        EXPECT_EQ(draw.colour, 0xC0FFEE00u);
    }
}

TEST_F(MenuSceneTest, HiddenAndDeadObjectsDrawNothing) {
    CMenuScene scene;
    scene.objects.resize(3);
    scene.objects[0].type = SCENE_OBJECT_STILL;
    scene.objects[0].image = picture;  // hidden
    scene.objects[1].type = SCENE_OBJECT_STILL;
    scene.objects[1].visible = true;  // no picture: its draw fails quietly
    scene.objects[2].type = SCENE_OBJECT_STILL;
    scene.objects[2].image = picture;
    scene.objects[2].visible = true;
    device.draws.clear();
    EXPECT_EQ(scene.objects[0].Render(1.0f, 1.0f), RESULT_OK);
    EXPECT_TRUE(Failed(scene.objects[1].Render(1.0f, 1.0f)));
    EXPECT_EQ(scene.Render(1.0f, 1.0f), RESULT_OK);
    EXPECT_EQ(device.draws.size(), 1u);

    // A dead object is never updated, so it never becomes visible.
    CSceneObject dead;
    dead.image = picture;
    dead.defaultVisible = true;
    Update(dead, "", 0.1f);
    EXPECT_FALSE(dead.visible);
}

}  // namespace
