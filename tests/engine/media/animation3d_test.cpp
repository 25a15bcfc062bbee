#include "engine/media/animation3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "media_test_support.h"

namespace {

constexpr float kHalfSqrt2 = 0.70710678f;

// Loads a MaxAnimation file made of `body` inside the root element.
class Animation3DTest : public resource_test::ScratchFolderTest {
protected:
    int Load(const std::string& body) {
        resource_test::WriteFile("anim.xml", "<MaxAnimation>\n" + body + "</MaxAnimation>\n");
        return animation.LoadMaxAnimation("anim.xml");
    }
    const AnimationNode& Node(int i) const { return animation.GetNodes().at(i); }

    CAnimation3D animation;
};

// A node with one position and one rotation sample per frame in `frames`,
// position x = frame, and the given extra elements inside Samples and Keys.
std::string TrackNode(const std::string& attributes, const std::vector<int>& frames,
                      const std::string& samples, const std::string& keys) {
    std::string text = "<Node " + attributes + "><Controller><Samples>";
    for (int frame : frames) {
        const std::string t = std::to_string(frame);
        text += "<P3Val t=\"" + t + "\" v=\"" + t + " 0 0\"/><RVal t=\"" + t + "\" v=\"0 0 0 1\"/>";
    }
    return text + samples + "</Samples><Keys>" + keys + "</Keys></Controller></Node>\n";
}

std::string Keys(const std::vector<int>& frames) {
    std::string text;
    for (int frame : frames) {
        text += "<Key t=\"" + std::to_string(frame) + "\"/>";
    }
    return text;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> frames;
    for (int frame = first; frame <= last; ++frame) {
        frames.push_back(frame);
    }
    return frames;
}

bool IsIdentity(const Matrix4& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (std::fabs(m.m[r][c] - (r == c ? 1.0f : 0.0f)) > 1e-5f) {
                return false;
            }
        }
    }
    return true;
}

bool IsFinite(const Matrix4& m) {
    for (const auto& row : m.m) {
        for (float value : row) {
            if (!std::isfinite(value)) {
                return false;
            }
        }
    }
    return true;
}

// A row vector times a matrix.
Vec3 Transform(const Vec3& p, const Matrix4& m) {
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

TEST(NodeMathTest, RotationsFollowTheRowVectorConvention) {
    // A quarter turn about z takes x to y; multiplying applies the left one first.
    const Quaternion quarter{0.0f, 0.0f, kHalfSqrt2, kHalfSqrt2};
    const Vec3 turned = Transform({1.0f, 0.0f, 0.0f}, MatrixRotationQuaternion(quarter));
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 1.0f, 1e-6f);
    const Matrix4 turnThenMove =
        MatrixMultiply(MatrixRotationQuaternion(quarter), MatrixTranslation(5.0f, 0.0f, 0.0f));
    const Vec3 moved = Transform({1.0f, 0.0f, 0.0f}, turnThenMove);
    EXPECT_NEAR(moved.x, 5.0f, 1e-6f);
    EXPECT_NEAR(moved.y, 1.0f, 1e-6f);

    const Quaternion half = QuaternionSlerp({0, 0, 0, 1}, quarter, 0.5f);
    EXPECT_NEAR(half.z, std::sin(3.14159265f / 8.0f), 1e-5f);
    EXPECT_NEAR(half.w, std::cos(3.14159265f / 8.0f), 1e-5f);
    // q and -q are one rotation: the shorter arc is taken, not the turn the
    // long way round.
    const Quaternion flipped =
        QuaternionSlerp({0, 0, 0, 1}, {0, 0, -kHalfSqrt2, -kHalfSqrt2}, 0.5f);
    EXPECT_NEAR(flipped.z, half.z, 1e-5f);
    EXPECT_NEAR(flipped.w, half.w, 1e-5f);
    const Quaternion zero = QuaternionNormalize({0, 0, 0, 0});
    EXPECT_EQ(zero.w, 0.0f);
}

TEST_F(Animation3DTest, FramesAreTicksDividedByTicksPerFrame) {
    struct Case {
        const char* sceneInfo;
        int t;
        float frame;
    };
    const Case cases[] = {
        {"ticksPerFrame=\"160\"", 480, 3.0f},
        {"ticksPerFrame=\"160\"", 500, 3.0f},
        {"ticksPerFrame=\"160\"", 600, 3.0f},  // 3.75 is cut, not rounded
        {"", 7, 7.0f},
        // Zero or a negative value would divide by nothing or turn time round.
        {"ticksPerFrame=\"0\"", 7, 7.0f},
        {"ticksPerFrame=\"-4\"", 7, 7.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sceneInfo);
        const std::string t = std::to_string(c.t);
        ASSERT_EQ(Load("<SceneInfo " + std::string(c.sceneInfo) + "/>" +
                       "<Node name=\"n\"><Controller><Samples><P3Val t=\"0\" v=\"0 0 0\"/>"
                       "<RVal t=\"0\" v=\"0 0 0 1\"/><P3Val t=\"" +
                       t +
                       "\" v=\"1 0 0\"/>"
                       "<RVal t=\"" +
                       t +
                       "\" v=\"0 0 0 1\"/></Samples><Keys><Key t=\"0\"/>"
                       "</Keys></Controller></Node>"),
                  1);
        ASSERT_EQ(Node(0).keys.size(), 2u);
        EXPECT_EQ(Node(0).keys[1].startFrame, c.frame);
        EXPECT_EQ(Node(0).keys[0].duration, c.frame);
    }
}

TEST_F(Animation3DTest, FramesAtTheEndsOfTheRangeGiveWholeDurations) {
    // Two samples as far apart as a file can put them, either way round: the
    // durations and the scale steps span the whole distance.
    struct Case {
        const char* first;
        const char* second;
        float duration;
    };
    const Case cases[] = {
        {"-2147483648", "2147483647", 4294967295.0f},
        {"2147483647", "-2147483648", -4294967295.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        const std::string first = c.first;
        const std::string second = c.second;
        ASSERT_EQ(Load("<Node name=\"n\"><Controller><Samples>"
                       "<P3Val t=\"" +
                       first + "\" v=\"0 0 0\"/><RVal t=\"" + first +
                       "\" v=\"0 0 0 1\"/><SVal t=\"" + first +
                       "\" v=\"1 1 1\"/>"
                       "<P3Val t=\"" +
                       second + "\" v=\"1 0 0\"/><RVal t=\"" + second +
                       "\" v=\"0 0 0 1\"/><SVal t=\"" + second +
                       "\" v=\"3 3 3\"/>"
                       "</Samples><Keys><Key t=\"0\"/></Keys></Controller></Node>"),
                  1);
        ASSERT_EQ(Node(0).keys.size(), 2u);
        EXPECT_FLOAT_EQ(Node(0).keys[0].duration, c.duration);
        EXPECT_FLOAT_EQ(Node(0).keys[0].scale.x, 1.0f);
        EXPECT_FLOAT_EQ(Node(0).keys[1].scale.x, 3.0f);
        EXPECT_FLOAT_EQ(Node(0).keys[0].scaleDelta.x, 2.0f);
    }
}

TEST_F(Animation3DTest, OnlySamplesOnKeyTimesBecomeKeys) {
    ASSERT_EQ(Load(TrackNode("name=\"n\"", Range(0, 10), "", Keys({5, 0, 10, 5}))), 1);
    const std::vector<AnimationKey>& keys = Node(0).keys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].duration, 5.0f);
    EXPECT_EQ(keys[1].duration, 5.0f);
    EXPECT_EQ(keys[2].duration, 0.0f);
    EXPECT_EQ(keys[1].position.x, 5.0f);
    EXPECT_EQ(keys[1].positionDelta.x, 5.0f);
    EXPECT_EQ(keys[2].positionDelta.x, 0.0f);
    EXPECT_EQ(keys[2].rotationDelta.w, 1.0f);
    EXPECT_EQ(keys[2].nextRotation.w, keys[2].rotation.w);

    // The first and last samples stay whatever the key times say.
    ASSERT_EQ(Load(TrackNode("name=\"n\"", Range(2, 8), "", Keys({4}))), 1);
    ASSERT_EQ(Node(0).keys.size(), 3u);
    EXPECT_EQ(Node(0).keys[0].startFrame, 2.0f);
    EXPECT_EQ(Node(0).keys[2].startFrame, 8.0f);

    // No key time at all: no keys, identity matrices.
    ASSERT_EQ(Load(TrackNode("name=\"n\"", Range(0, 3), "", "")), 1);
    EXPECT_TRUE(Node(0).keys.empty());
    EXPECT_TRUE(IsIdentity(Node(0).inverseBind));
    EXPECT_TRUE(IsIdentity(Node(0).chain));
}

TEST_F(Animation3DTest, TheScaleTrackIsResampledOnThePositionFrames) {
    // Without scale samples a track starting at frame 0 takes the added zero
    // sample; one starting later keeps the neutral scale.
    ASSERT_EQ(Load(TrackNode("name=\"a\"", Range(0, 2), "", Keys({1}))), 1);
    for (const AnimationKey& key : Node(0).keys) {
        EXPECT_EQ(key.scale.x, 0.0f);
    }
    ASSERT_EQ(Load(TrackNode("name=\"b\"", Range(3, 5), "", Keys({4}))), 1);
    for (const AnimationKey& key : Node(0).keys) {
        EXPECT_EQ(key.scale.x, 1.0f);
    }

    // Scale 1 at frame 0 and 3 at frame 10, sampled every frame.
    ASSERT_EQ(Load(TrackNode("name=\"c\"", Range(0, 10), "<SVal t=\"0\" v=\"1 1 1\"/>",
                             Keys({0, 5}) + "<K t=\"10\" v=\"3 3 3\"/>")),
              1);
    ASSERT_EQ(Node(0).keys.size(), 3u);
    EXPECT_NEAR(Node(0).keys[0].scale.y, 1.0f, 1e-5f);
    EXPECT_NEAR(Node(0).keys[1].scale.y, 2.0f, 1e-5f);
    EXPECT_NEAR(Node(0).keys[2].scale.y, 3.0f, 1e-5f);
    EXPECT_NEAR(Node(0).keys[0].scaleDelta.z, 1.0f, 1e-5f);

    // Two scale samples on one frame: the later one counts and no step
    // divides by nothing.
    ASSERT_EQ(Load(TrackNode("name=\"d\"", Range(0, 10),
                             "<SVal t=\"0\" v=\"1 1 1\"/><SVal t=\"0\" v=\"2 2 2\"/>"
                             "<SVal t=\"10\" v=\"3 3 3\"/>",
                             Keys({0, 5, 10}))),
              1);
    ASSERT_EQ(Node(0).keys.size(), 3u);
    EXPECT_NEAR(Node(0).keys[0].scale.x, 2.0f, 1e-5f);
    EXPECT_NEAR(Node(0).keys[1].scale.x, 2.5f, 1e-5f);
    EXPECT_NEAR(Node(0).keys[2].scale.x, 3.0f, 1e-5f);
}

TEST_F(Animation3DTest, ShortValuesArePaddedWithZero) {
    ASSERT_EQ(Load("<Node name=\"n\"><Controller><Samples><P3Val t=\"0\" v=\"4 5\"/>"
                   "<RVal t=\"0\" v=\"0 0 2\"/></Samples><Keys><Key t=\"0\"/></Keys>"
                   "</Controller></Node>"),
              1);
    ASSERT_EQ(Node(0).keys.size(), 1u);
    const AnimationKey& key = Node(0).keys[0];
    EXPECT_EQ(key.position.x, 4.0f);
    EXPECT_EQ(key.position.y, 5.0f);
    EXPECT_EQ(key.position.z, 0.0f);
    EXPECT_EQ(key.rotation.z, 1.0f);
    EXPECT_EQ(key.rotation.w, 0.0f);
}

TEST_F(Animation3DTest, TheWorldAxesReorderEveryVector) {
    ASSERT_EQ(Load("<CustomData world_axes=\"x,z,-y\"/>"
                   "<Node name=\"n\"><Controller><Samples><P3Val t=\"0\" v=\"1 2 3\"/>"
                   "<RVal t=\"0\" v=\"0.1 0.2 0.3 0.9\"/></Samples><Keys><Key t=\"0\"/></Keys>"
                   "</Controller></Node>"),
              1);
    const AnimationKey& key = Node(0).keys.at(0);
    EXPECT_EQ(key.position.x, 1.0f);
    EXPECT_EQ(key.position.y, 3.0f);
    EXPECT_EQ(key.position.z, -2.0f);
    const Quaternion unit = QuaternionNormalize({0.1f, 0.2f, 0.3f, 0.9f});
    EXPECT_FLOAT_EQ(key.rotation.y, unit.z);
    EXPECT_FLOAT_EQ(key.rotation.z, -unit.y);
    EXPECT_FLOAT_EQ(key.rotation.w, unit.w);
}

TEST_F(Animation3DTest, ChildrenSortBehindTheirParents) {
    ASSERT_EQ(Load(TrackNode("name=\"body\" parentNodeIndex=\"5\"", {0}, "", Keys({0})) +
                   TrackNode("name=\"arm\" parentNodeIndex=\"1\" parentNode=\"body\"", {0}, "",
                             Keys({0})) +
                   TrackNode("name=\"leg\" parentNode=\"body\"", {0}, "", Keys({0})) +
                   TrackNode("name=\"lamp\" parentNodeIndex=\"0\"", {0}, "", Keys({0}))),
              4);
    std::vector<std::string> order;
    for (const AnimationNode& node : animation.GetNodes()) {
        order.push_back(node.name + " " + node.sortKey + " " + std::to_string(node.parent));
    }
    // leg has no index of its own and takes arm's.
    EXPECT_EQ(order,
              (std::vector<std::string>{"lamp 0 -1", "body 5 -1", "arm 5.1 1", "leg 5.1 1"}));
}

TEST_F(Animation3DTest, BadNodesAndFilesLeaveTheRestLoaded) {
    // One position without its rotation: the node is dropped but counted.
    EXPECT_EQ(Load("<Node name=\"bad\"><Controller><Samples><P3Val t=\"0\" v=\"0 0 0\"/>"
                   "</Samples></Controller></Node>" +
                   TrackNode("name=\"good\"", {0}, "", Keys({0}))),
              2);
    ASSERT_EQ(animation.GetNodes().size(), 1u);
    EXPECT_EQ(Node(0).name, "good");
    EXPECT_TRUE(media_test::LogHasInOrder({{"Red", "Animation sets is difference"},
                                           {"Gray", "Loading animation: (anim.xml) complete"}}));

    EXPECT_EQ(animation.LoadMaxAnimation("missing.xml"), 0);
    EXPECT_TRUE(animation.GetNodes().empty());
}

TEST_F(Animation3DTest, PlaybackMovesFromTheBindPose) {
    // Frame 0 at (1, 2, 3) turned a quarter about z; frame 10 five further on x.
    ASSERT_EQ(Load("<Node name=\"n\"><Controller><Samples>"
                   "<P3Val t=\"0\" v=\"1 2 3\"/><RVal t=\"0\" v=\"0 0 0.70710678 0.70710678\"/>"
                   "<P3Val t=\"10\" v=\"6 2 3\"/><RVal t=\"10\" v=\"0 0 0.70710678 0.70710678\"/>"
                   "<SVal t=\"0\" v=\"1 1 1\"/></Samples><Keys><Key t=\"0\"/><Key "
                   "t=\"10\"/></Keys></Controller></Node>"),
              1);
    // The inverse bind pose takes the first key's place back to the origin.
    const Vec3 origin = Transform({1.0f, 2.0f, 3.0f}, Node(0).inverseBind);
    EXPECT_NEAR(origin.x, 0.0f, 1e-5f);
    EXPECT_NEAR(origin.y, 0.0f, 1e-5f);
    const Vec3 along = Transform({2.0f, 2.0f, 3.0f}, Node(0).inverseBind);
    EXPECT_NEAR(along.x, 0.0f, 1e-5f);
    EXPECT_NEAR(along.y, -1.0f, 1e-5f);

    animation.PlayAll(true, false, false);
    animation.Update(0.0f, 1.0f);
    EXPECT_TRUE(IsIdentity(Node(0).world));
    // Rate 20 frames per second: a quarter second is half of the 10 frames.
    animation.Update(0.25f, 1.0f);
    EXPECT_NEAR(Node(0).world.m[3][0], 2.5f, 1e-4f);
    EXPECT_NEAR(Node(0).world.m[3][1], 0.0f, 1e-4f);
}

TEST_F(Animation3DTest, PlaybackSteppingTable) {
    // Keys at frames 0, 10 and 20; each update is one frame of 10 (0.05 s at
    // rate 20, times 10).
    struct Case {
        const char* name;
        bool pingPong;
        bool loop;
        std::vector<int> keys;  // current key after each update
        int finalDirection;
    };
    const Case cases[] = {
        {"once", false, false, {1, 2, 2, 2}, 0},
        {"loop", false, true, {1, 2, 0, 1, 2, 0}, 1},
        {"ping-pong", true, false, {1, 2, 1, 0, 0}, 0},
        {"ping-pong loop", true, true, {1, 2, 1, 0, 0, 1, 2}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Load(TrackNode("name=\"n\"", {0, 10, 20}, "", Keys({0, 10, 20}))), 1);
        animation.PlayAll(true, c.pingPong, c.loop);
        std::vector<int> seen;
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            animation.Update(0.05f, 10.0f);
            seen.push_back(Node(0).currentKey);
            EXPECT_TRUE(IsFinite(Node(0).world));
        }
        EXPECT_EQ(seen, c.keys);
        EXPECT_EQ(Node(0).direction, c.finalDirection);
        EXPECT_EQ(animation.IsPlaying(0), c.finalDirection != 0);
    }
}

TEST_F(Animation3DTest, KeysWithoutDurationAndSingleKeysNeverBreakPlayback) {
    // The last key has no duration; standing on it must not divide by zero,
    // not even in an update without elapsed time.
    ASSERT_EQ(Load(TrackNode("name=\"n\"", {0, 10}, "", Keys({0, 10}))), 1);
    animation.PlayAll(true, false, true);
    animation.Update(1.0f, 1.0f);
    ASSERT_EQ(Node(0).currentKey, 1);
    animation.Update(0.0f, 0.0f);
    EXPECT_EQ(Node(0).currentKey, 0);
    EXPECT_TRUE(IsFinite(Node(0).world));

    // A single key turning in ping-pong stays on that key.
    ASSERT_EQ(Load(TrackNode("name=\"n\"", {0}, "", Keys({0}))), 1);
    animation.PlayAll(true, true, false);
    for (int i = 0; i < 3; ++i) {
        animation.Update(0.05f, 1.0f);
        EXPECT_EQ(Node(0).currentKey, 0);
        EXPECT_TRUE(IsFinite(Node(0).world));
    }
}

TEST_F(Animation3DTest, ParentsChainTheirMatricesAndALoopedChainIsCut) {
    const std::string unitScale = "<SVal t=\"0\" v=\"1 1 1\"/>";
    ASSERT_EQ(Load(TrackNode("name=\"root\"", {0, 10}, unitScale, Keys({0, 10})) +
                   TrackNode("name=\"child\" parentNodeIndex=\"1\" parentNode=\"root\"", {0, 10},
                             unitScale, Keys({0, 10}))),
              2);
    ASSERT_EQ(Node(1).parent, 0);
    animation.PlayAll(true, false, false);
    animation.Update(0.25f, 1.0f);
    // Each node moves 5 along x from its bind pose; the child moves with its
    // parent as well.
    EXPECT_NEAR(Node(0).world.m[3][0], 5.0f, 1e-4f);
    EXPECT_NEAR(Node(1).world.m[3][0], 10.0f, 1e-4f);

    // Two nodes naming each other as parent.
    ASSERT_EQ(Load(TrackNode("name=\"a\" parentNode=\"b\"", {0, 10}, "", Keys({0, 10})) +
                   TrackNode("name=\"b\" parentNode=\"a\"", {0, 10}, "", Keys({0, 10}))),
              2);
    EXPECT_EQ(Node(0).parent, 1);
    EXPECT_EQ(Node(1).parent, 0);
    animation.PlayAll(true, false, true);
    animation.Update(0.25f, 1.0f);
    EXPECT_TRUE(IsFinite(Node(0).world));
    EXPECT_TRUE(animation.IsPlaying(-1));
    animation.PauseAll();
    EXPECT_FALSE(animation.IsPlaying(-1));
    EXPECT_FALSE(animation.IsPlaying(2));
    animation.Reset();
    EXPECT_TRUE(animation.GetNodes().empty());
    EXPECT_TRUE(animation.IsPlaying(-1));
}

}  // namespace
