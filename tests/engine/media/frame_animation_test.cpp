#include "engine/media/frame_animation.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "media_test_support.h"
#include "media_world.h"

namespace {

using media_test::LogHasInOrder;

std::string Describe(const AnimationFrame& f) {
    return std::to_string(f.image) + ": " + std::to_string(f.left) + " " + std::to_string(f.right) +
           " " + std::to_string(f.top) + " " + std::to_string(f.bottom) + " | " +
           std::to_string(f.hotSpotX) + " " + std::to_string(f.hotSpotY) + " | " +
           std::to_string(f.mirroredHotSpotX) + " " + std::to_string(f.mirroredHotSpotY);
}

class FrameFileTest : public resource_test::ScratchFolderTest {};

TEST_F(FrameFileTest, LinesMakeFramesOnlyWithEightNumbersAndAPositiveRightEdge) {
    struct Case {
        const char* name;
        const char* content;
        std::vector<std::string> frames;
    };
    // Image 7, fractions of 256 x 128, frames of 64 x 32.
    const Case cases[] = {
        {"a closing quote keeps the last value",
         "\"0;0;0.25;0.5;0;0.5;10;20\"\n",
         {"7: 64 128 0 64 | 10 20 | 54 12"}},
        {"without the quote the last value reads 0",
         "0;0;0.25;0.5;0;0.5;10;20\n",
         {"7: 64 128 0 64 | 10 0 | 54 32"}},
        {"a last line without line feed",
         "0;0;0.25;0.5;0;0.5;10;20\"",
         {"7: 64 128 0 64 | 10 20 | 54 12"}},
        {"Windows line ends",
         "\"0;0;0.25;0.5;0;0.5;10;20\"\r\n\"0;0;0;1;0;1;1;2\"\r\n",
         {"7: 64 128 0 64 | 10 20 | 54 12", "7: 0 256 0 128 | 1 2 | 63 30"}},
        {"rounding by one half, then cutting",
         "\"0;0;0.25;1;0;1;0;0\"\n\"0;0;0.2501;1;0;1;0;0\"\n\"0;0;0.2520;1;0;1;0;0\"\n",
         {"7: 64 256 0 128 | 0 0 | 64 32", "7: 64 256 0 128 | 0 0 | 64 32",
          "7: 65 256 0 128 | 0 0 | 64 32"}},
        {"hot spots are cut toward zero",
         "\"0;0;0;1;0;1;-3.7;2.9\"\n",
         {"7: 0 256 0 128 | -3 2 | 67 30"}},
        {"seven values, or a right edge of 0, make no frame; later frames move up",
         "\"0;0;0.25;0.5;0;0.5;10\"\n\"0;0;0.25;0;0;0.5;10;20\"\n\"0;0;0;0.5;0;0.5;1;1\"\n",
         {"7: 0 128 0 64 | 1 1 | 63 31"}},
        {"empty pieces are skipped",
         "\"0;;0;0;0.5;0;0.5;;1;1\"\n",
         {"7: 0 128 0 64 | 1 1 | 63 31"}},
        {"nine values make no frame", "\"0;0;0;0.5;0;0.5;1;1;1\"\n", {}},
        {"numbers past the integer range stop at its ends",
         "\"0;0;0;99999999999;0;1;-99999999999;99999999999\"\n",
         {"7: 0 2147483647 0 128 | -2147483648 2147483647 | 2147483647 -2147483615"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resource_test::WriteFile("frames.txt", c.content);
        std::vector<AnimationFrame> frames(3);  // emptied first
        EXPECT_EQ(ReadAnimationFrames(frames, "frames.txt", 7, 64, 32, 256.0f, 128.0f),
                  static_cast<int>(c.frames.size()));
        std::vector<std::string> seen;
        for (const AnimationFrame& frame : frames) {
            seen.push_back(Describe(frame));
        }
        EXPECT_EQ(seen, c.frames);
    }
}

TEST_F(FrameFileTest, FilesAreLoggedAndAMissingFileGivesNoFrames) {
    resource_test::WriteFile("two.txt", "\"0;0;0;1;0;1;0;0\"\n\"0;0;0;1;0;1;0;0\"\n");
    std::filesystem::create_directory("folder.txt");
    std::vector<AnimationFrame> frames(2);
    EXPECT_EQ(ReadAnimationFrames(frames, "missing.txt", 0, 0, 0, 1.0f, 1.0f), 0);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(ReadAnimationFrames(frames, "folder.txt", 0, 0, 0, 1.0f, 1.0f), 0);
    EXPECT_EQ(ReadAnimationFrames(frames, "two.txt", 0, 0, 0, 1.0f, 1.0f), 2);
    EXPECT_TRUE(LogHasInOrder({{"Red", "Loading animation data (missing.txt): failed\n"},
                               {"Red", "Loading animation data (folder.txt): failed\n"},
                               {"Gray", "Loading animation data (two.txt): complete (2)\n"}}));
}

// Animation2D resources put straight into the resource list.
class FrameAnimationTest : public ::testing::Test {
protected:
    void TearDown() override { ResourceManager::Instance().Animations2D().clear(); }

    static void AddResource(const std::string& id, int frameCount) {
        Animation2DRecord record;
        record.id = id;
        record.frameWidth = 64;
        record.frameHeight = 32;
        for (int i = 0; i < frameCount; ++i) {
            AnimationFrame frame;
            frame.image = 0;
            frame.left = 10 * i;
            frame.right = 10 * i + 10;
            frame.bottom = 20;
            frame.hotSpotX = i;
            frame.mirroredHotSpotX = 64 - i;
            record.frames.push_back(frame);
        }
        ResourceManager::Instance().Animations2D().push_back(record);
    }

    static FrameClipDesc Clip(const std::string& id, int first, int last, float frameTime = 0.1f) {
        FrameClipDesc desc;
        desc.animationId = id;
        desc.firstFrame = first;
        desc.lastFrame = last;
        desc.frameTime = frameTime;
        return desc;
    }

    CFrameAnimation animation;
};

TEST_F(FrameAnimationTest, ClipsCopyTheFramesOfAGoodRangeOnly) {
    AddResource("SWIM", 4);
    struct Case {
        int first;
        int last;
        int frames;
    };
    const Case cases[] = {{0, 3, 4}, {1, 2, 2}, {2, 2, 1}, {0, 4, 0}, {3, 1, 0}, {-1, 2, 0}};
    for (const Case& c : cases) {
        animation.AddClip(Clip("SWIM", c.first, c.last));
    }
    animation.AddClip(Clip("NOTHING", 0, 0));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(animation.GetLastFrame(static_cast<unsigned>(i)), cases[i].frames - 1);
    }
    EXPECT_EQ(animation.GetLastFrame(6), -1);
    EXPECT_EQ(animation.GetClip(1)->frameWidth, 64);
    EXPECT_EQ(animation.GetClip(1)->frames[0].left, 10);
    // Clip 0 is current whichever was added last.
    EXPECT_EQ(animation.GetCurrentClip(), 0);

    EXPECT_TRUE(animation.AddFrames(2, "SWIM", 0, 1));
    EXPECT_EQ(animation.GetLastFrame(2), 2);
    EXPECT_TRUE(animation.AddFrames(2, "SWIM", -1, 1));
    EXPECT_EQ(animation.GetLastFrame(2), 2);
    EXPECT_FALSE(animation.AddFrames(9, "SWIM", 0, 1));
    // The clip keeps its own copy.
    ResourceManager::Instance().Animations2D()[0].frames.clear();
    EXPECT_EQ(animation.GetLastFrame(0), 3);
}

TEST_F(FrameAnimationTest, SteppingTable) {
    AddResource("SWIM", 3);
    struct Case {
        const char* name;
        bool backward;
        bool pingPong;
        float playTime;
        float dt;
        std::vector<int> frames;  // after each update
        bool playingAtEnd;
        float everyOtherDt = 0.0f;  // when set, the second, fourth, ... update's dt
    };
    const Case cases[] = {
        {"loop", false, false, -1.0f, 0.1f, {1, 2, 0, 1, 2, 0}, true},
        {"ping-pong", false, true, -1.0f, 0.1f, {1, 2, 1, 0, 1, 2, 1}, true},
        {"once", false, false, 0.0f, 0.1f, {1, 2, 2}, false},
        {"ping-pong once", false, true, 0.0f, 0.1f, {1, 2, 1, 0, 0}, false},
        {"play time runs out", false, false, 0.25f, 0.1f, {1, 2, 2}, false},
        {"backward loop", true, false, -1.0f, 0.1f, {1, 0, 2, 1}, true},
        {"backward once", true, false, 0.0f, 0.1f, {1, 0, 0}, false},
        {"one frame per update however long", false, false, -1.0f, 10.0f, {1, 2, 0, 1}, true},
        {"shorter than the frame time", false, false, -1.0f, 0.05f, {0, 1, 1, 2}, true},
        // The step after 0.25 s keeps none of its 0.15 s overshoot.
        {"the timer drops its remainder", false, false, -1.0f, 0.25f, {1, 1, 2, 2}, true, 0.05f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFrameAnimation a;
        a.AddClip(Clip("SWIM", 0, 2));
        ASSERT_TRUE(c.backward ? a.PlayBackward(0, true, true, c.playTime)
                               : a.Play(0, true, c.pingPong, c.playTime));
        std::vector<int> seen;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            a.Update(i % 2 == 1 && c.everyOtherDt > 0.0f ? c.everyOtherDt : c.dt);
            seen.push_back(a.GetCurrentFrame(0));
        }
        EXPECT_EQ(seen, c.frames);
        EXPECT_EQ(a.IsPlaying(0), c.playingAtEnd);
        EXPECT_EQ(a.IsPlaying(-1), c.playingAtEnd);
    }
}

TEST_F(FrameAnimationTest, AClipNeverPlayedTreatsEveryTickAsItsEnd) {
    AddResource("SWIM", 3);
    animation.AddClip(Clip("SWIM", 0, 2));
    animation.AddClip(Clip("SWIM", 0, 2));
    ASSERT_TRUE(animation.Play(0, true, false, -1.0f));
    animation.SetCurrentClip(1);
    EXPECT_TRUE(animation.IsPlaying(1));
    EXPECT_FALSE(animation.IsPlaying(0));
    animation.Update(0.1f);
    EXPECT_EQ(animation.GetCurrentFrame(1), 0);
    EXPECT_FALSE(animation.IsPlaying(-1));

    // Switching carries direction, play time and progress over.
    ASSERT_TRUE(animation.Play(0, true, false, -1.0f));
    animation.Update(0.1f);
    ASSERT_TRUE(animation.SwitchClip(1));
    EXPECT_EQ(animation.GetCurrentClip(), 1);
    EXPECT_EQ(animation.GetCurrentFrame(1), 1);
    animation.Update(0.1f);
    EXPECT_EQ(animation.GetCurrentFrame(1), 2);
    EXPECT_FALSE(animation.SwitchClip(2));

    // An empty clip steps without leaving frame 0 and without breaking.
    animation.AddClip(Clip("SWIM", 5, 6));
    ASSERT_TRUE(animation.Play(2, true, false, -1.0f));
    animation.Update(0.1f);
    EXPECT_EQ(animation.GetCurrentFrame(2), 0);
    EXPECT_EQ(animation.GetLastFrame(2), -1);
}

class FrameAnimationDrawTest : public media_test::MediaWorldTest {};

TEST_F(FrameAnimationDrawTest, FramesAreDrawnAtTheirHotSpotOrItsMirror) {
    Start("<Resources/>");
    const std::int32_t image = AddImage("SHEET", 256, 128);
    Animation2DRecord record;
    record.id = "SWIM";
    AnimationFrame frame;
    frame.image = image;
    frame.left = 10;
    frame.right = 40;
    frame.top = 5;
    frame.bottom = 25;
    frame.hotSpotX = 3;
    frame.hotSpotY = 4;
    frame.mirroredHotSpotX = 61;
    frame.mirroredHotSpotY = 28;
    record.frames = {frame};
    Resources().Animations2D().push_back(record);

    CFrameAnimation animation;
    FrameClipDesc desc;
    desc.animationId = "SWIM";
    desc.offsetX = 1.0f;
    desc.offsetY = 2.0f;
    animation.AddClip(desc);
    animation.SetPosition(10.7f, 20.2f);
    animation.SetClipCrop(0, 5, 1, 6, 2);
    ASSERT_EQ(animation.Draw({2.0f, 2.0f}, 0xFFFFFFFF), RESULT_OK);
    ASSERT_EQ(device.draws.size(), 1u);
    // Only the animation's position is cut to whole units.
    EXPECT_FLOAT_EQ(device.draws[0].translation.x, (10 + 1 + 3 + 5) * 2.0f);
    EXPECT_FLOAT_EQ(device.draws[0].translation.y, (20 + 2 + 6 + 4) * 2.0f);
    EXPECT_EQ(device.draws[0].source->left, 15);
    EXPECT_EQ(device.draws[0].source->top, 11);
    EXPECT_EQ(device.draws[0].source->right, 41);
    EXPECT_EQ(device.draws[0].source->bottom, 27);

    animation.SetScale(-1.0f, 1.0f);
    ASSERT_EQ(animation.DrawAdditive(&device, {1.0f, 1.0f}, 0xFFFFFFFF), RESULT_OK);
    ASSERT_EQ(device.draws.size(), 2u);
    EXPECT_FLOAT_EQ(device.draws[1].scale.x, -1.0f);
    EXPECT_FLOAT_EQ(device.draws[1].translation.x, 10 + 1 + 61 + 5);
    EXPECT_FLOAT_EQ(device.draws[1].translation.y, 20 + 2 + 6 + 4);
    EXPECT_EQ(device.draws[1].blend, backend::BlendMode::Additive);
}

TEST_F(FrameAnimationDrawTest, CropsAtTheEndsOfTheRangeStopThere) {
    // A broken frame file gives edges at the ends of the 32-bit range, where a
    // crop would overflow: the edges stop at the range's ends instead.
    constexpr std::int32_t MAX = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t MIN = std::numeric_limits<std::int32_t>::min();
    struct Case {
        backend::Rect frame;
        backend::Rect crop;
        backend::Rect drawn;
    };
    const Case cases[] = {
        {{0, 0, MAX, MAX}, {0, 0, 1, MAX}, {0, 0, MAX, MAX}},
        {{MIN, MIN, 4, 4}, {-1, MIN, 0, 0}, {MIN, MIN, 4, 4}},
        {{10, 5, 40, 25}, {MAX, MAX, MIN, MIN}, {MAX, MAX, MIN + 40, MIN + 25}},
    };
    Start("<Resources/>");
    const std::int32_t image = AddImage("SHEET", 256, 128);
    for (const Case& c : cases) {
        Animation2DRecord record;
        record.id = "BROKEN";
        AnimationFrame frame;
        frame.image = image;
        frame.left = c.frame.left;
        frame.top = c.frame.top;
        frame.right = c.frame.right;
        frame.bottom = c.frame.bottom;
        record.frames = {frame};
        Resources().Animations2D() = {record};

        CFrameAnimation animation;
        FrameClipDesc desc;
        desc.animationId = "BROKEN";
        animation.AddClip(desc);
        animation.SetClipCrop(0, c.crop.left, c.crop.right, c.crop.top, c.crop.bottom);
        device.draws.clear();
        animation.Draw({1.0f, 1.0f}, 0xFFFFFFFF);
        ASSERT_EQ(device.draws.size(), 1u);
        const backend::Rect& drawn = *device.draws[0].source;
        EXPECT_EQ(drawn.left, c.drawn.left);
        EXPECT_EQ(drawn.top, c.drawn.top);
        EXPECT_EQ(drawn.right, c.drawn.right);
        EXPECT_EQ(drawn.bottom, c.drawn.bottom);
    }
}

TEST_F(FrameAnimationDrawTest, NothingIsDrawnWithoutAFrameToShow) {
    Start("<Resources/>");
    const std::int32_t image = AddImage("SHEET", 256, 128);
    Animation2DRecord record;
    record.id = "SWIM";
    record.frames.resize(2);
    record.frames[0].image = image;
    record.frames[1].image = image;
    Resources().Animations2D().push_back(record);

    CFrameAnimation animation;
    EXPECT_EQ(animation.Draw({1.0f, 1.0f}, 0xFFFFFFFF), RESULT_FAIL);  // no clip
    FrameClipDesc desc;
    desc.animationId = "SWIM";
    desc.lastFrame = 1;
    animation.AddClip(desc);
    desc.lastFrame = 2;  // past the resource's frames
    animation.AddClip(desc);
    EXPECT_EQ(animation.Draw({1.0f, 1.0f}, 0xFFFFFFFF), RESULT_OK);

    ASSERT_TRUE(animation.SetCurrentFrame(0, 2));
    EXPECT_EQ(animation.Draw({1.0f, 1.0f}, 0xFFFFFFFF), RESULT_FAIL);
    ASSERT_TRUE(animation.SetCurrentFrame(0, -1));
    EXPECT_EQ(animation.DrawAdditive(&device, {1.0f, 1.0f}, 0xFFFFFFFF), RESULT_FAIL);
    ASSERT_TRUE(animation.Play(1, true, false, -1.0f));
    EXPECT_EQ(animation.Draw({1.0f, 1.0f}, 0xFFFFFFFF), RESULT_FAIL);
    animation.RewindToEnd();
    EXPECT_EQ(animation.GetCurrentFrame(1), -1);
    EXPECT_EQ(animation.Draw({1.0f, 1.0f}, 0xFFFFFFFF), RESULT_FAIL);
    EXPECT_EQ(device.draws.size(), 1u);
}

}  // namespace
