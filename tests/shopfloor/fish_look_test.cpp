// How each kind is placed and dressed, how it is drawn, and how the swim
// behaviours move it: calm and lively, at the sides, resting and idling.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shop_world.h"
#include "shopfloor/fish.h"

namespace {

constexpr float X = 300.0f;
constexpr float Y = 200.0f;
constexpr float FRAME = 1.0f / 60.0f;

class FishLookTest : public shop_test::ShopWorldTest {
protected:
    CFish Make(std::int32_t kind) { return base.CreateFish(kind, X, Y, false); }

    // A fish that swims freely: its first wish is over and none is pending.
    static void MakeLively(CFish& fish) {
        fish.type.wishesMade = 2;
        fish.type.wishCountdown = 1.0e6f;
    }

    void Step(CFish& fish, float dt = FRAME, float effect = 0.0f) {
        fish.Update(input, {1.0f, 1.0f}, dt, false, false, effect);
        LetSoundsRun(dt);
    }

    static int FirstFrame(const CFish& fish, unsigned clip) {
        const FrameClip* c = fish.body.GetClip(clip);
        return c == nullptr || c->frames.empty() ? -1 : c->frames.front().left;
    }

    CFishBase base;
};

TEST_F(FishLookTest, EveryKindStartsInItsPlaceWithItsArea) {
    struct Case {
        std::int32_t kind;
        float startX, startY;
        std::int32_t left, top, right, bottom;
        float speed, maxSpeed, bobFactor;
        std::int32_t clipsPerStage, clips;
        float timer;  // 99 for the random rest of -10 to -5 s
    };
    const Case cases[] = {
        {FISH_1, 60, 70, 5, 68, 140, 82, 20, 40, 0.5f, 7, 21, 99},
        {FISH_2, 60, 70, 15, 69, 150, 81, 20, 40, 0.5f, 7, 21, 99},
        {THORN_FISH, 60, 70, -10, 66, 130, 78, 20, 35, 0.5f, 7, 21, 99},
        {CAT_FISH, 60, 70, 0, 78, 120, 84, 20, 40, 0.25f, 7, 21, 99},
        {JELLY_FISH_1, 90, 58, 5, 54, 160, 64, 20, 15, 0.4f, 1, 3, 0},
        {JELLY_FISH_2, 90, 58, 5, 54, 160, 64, 20, 15, 0.4f, 1, 3, 0},
        {CRAMP_FISH, 60, 70, 11, 75, 119, 75, 20, 35, 0.25f, 7, 21, 99},
        {GOLD_FISH_1, 60, 70, -3, 70, 145, 90, 20, 40, 0.5f, 7, 21, 99},
        {GOLD_FISH_2, 60, 70, 12, 70, 160, 90, 20, 40, 0.5f, 7, 21, 99},
        {SAW_FISH, 80, 86, 20, 68, 135, 86, 20, 35, 0.5f, 7, 21, 99},
        {SHARK_1, 60, 70, -5, 63, 108, 75, 20, 40, 0.5f, 7, 21, 99},
        {SHARK_2, 60, 70, -5, 63, 108, 75, 20, 40, 0.5f, 7, 21, 99},
        {ANGLER_FISH, 60, 70, 15, 67, 140, 73, 20, 40, 0.25f, 7, 21, 99},
        {SHOAL_FISHES, 100, 80, 15, 70, 175, 110, 50, 40, 0.5f, 4, 4, 5},
        {OCTOPUS, 78, 71, 20, 71, 138, 71, 20, 40, 0.5f, 3, 9, 0},
        {CRAB, 90, 89, 20, 89, 158, 89, 40, 40, 0.25f, 5, 15, 1},
        {SHELL, 65, 95, 0, 95, 100, 95, 0, 40, 0.5f, 2, 6, 1},
        // Any other kind: the default place, an area of no size, no clips.
        {FISH_KIND_COUNT, 60, 70, 0, 0, 0, 0, 20, 40, 0.5f, 0, 0, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        for (std::uint64_t ms : {1000u, 1777u, 123457u}) {
            clock.milliseconds = ms;
            const CFish fish = Make(c.kind);
            if (c.kind == SHELL) {
                EXPECT_GE(fish.x, X + 65.0f);
                EXPECT_LE(fish.x, X + 75.0f);
            } else {
                EXPECT_FLOAT_EQ(fish.x, X + c.startX);
            }
            EXPECT_FLOAT_EQ(fish.y, Y + c.startY);
            EXPECT_EQ(fish.swimRect.left, 300 + c.left);
            EXPECT_EQ(fish.swimRect.top, 200 + c.top);
            EXPECT_EQ(fish.swimRect.right, 300 + c.right);
            EXPECT_EQ(fish.swimRect.bottom, 200 + c.bottom);
            EXPECT_FLOAT_EQ(fish.speed, c.speed);
            EXPECT_FLOAT_EQ(fish.maxSpeed, c.maxSpeed);
            EXPECT_FLOAT_EQ(fish.bobFactor, c.bobFactor);
            EXPECT_EQ(fish.clipsPerStage, c.clipsPerStage);
            EXPECT_EQ(fish.body.GetClipCount(), c.clips);
            if (c.timer == 99.0f) {
                EXPECT_GE(fish.type.swimTimer, -10.0f);
                EXPECT_LE(fish.type.swimTimer, -5.0f);
            } else {
                EXPECT_FLOAT_EQ(fish.type.swimTimer, c.timer);
            }
            EXPECT_FLOAT_EQ(fish.dirX, -1.0f);
            EXPECT_FLOAT_EQ(fish.bob.minimum, static_cast<float>(fish.swimRect.top));
            EXPECT_FLOAT_EQ(fish.bob.maximum, static_cast<float>(fish.swimRect.bottom));
            EXPECT_FLOAT_EQ(fish.bob.speed, 1.0f);
            EXPECT_FLOAT_EQ(std::abs(fish.bob.direction), 1.0f);
        }
    }
}

TEST_F(FishLookTest, StagesTakeTheirOwnBlockOffsetsAndCrops) {
    const CFish fish = Make(FISH_1);
    // The young fish uses the last block, the adult the first.
    EXPECT_EQ(FirstFrame(fish, 0), 152);
    EXPECT_EQ(FirstFrame(fish, 6), 152 + 70);
    EXPECT_EQ(FirstFrame(fish, 7), 76);
    EXPECT_EQ(FirstFrame(fish, 14 + 4), 48);
    EXPECT_EQ(fish.body.GetClip(20)->frames.size(), 6u);
    EXPECT_EQ(fish.body.GetClip(0)->cropLeft, 1);
    EXPECT_EQ(fish.body.GetClip(20)->cropRight, -1);
    EXPECT_FLOAT_EQ(fish.body.GetClip(0)->frameTime, 0.06f);

    const CFish thorn = Make(THORN_FISH);
    EXPECT_FLOAT_EQ(thorn.body.GetClip(0)->offsetY, -138.0f);
    EXPECT_FLOAT_EQ(thorn.body.GetClip(7)->offsetY, -136.0f);
    EXPECT_FLOAT_EQ(thorn.body.GetClip(20)->offsetY, -133.0f);

    const CFish gold = Make(GOLD_FISH_1);
    EXPECT_EQ(gold.body.GetClip(1)->cropLeft, 0);
    EXPECT_EQ(gold.body.GetClip(1)->cropBottom, -1);
    EXPECT_EQ(gold.body.GetClip(11)->cropLeft, 1);
    EXPECT_EQ(gold.body.GetClip(11)->cropRight, 0);
    EXPECT_EQ(gold.body.GetClip(8)->cropRight, -1);

    const CFish shell = Make(SHELL);
    EXPECT_EQ(FirstFrame(shell, 0), 97);
    EXPECT_EQ(FirstFrame(shell, 1), 129);
    EXPECT_EQ(FirstFrame(shell, 2), 49);
    EXPECT_EQ(FirstFrame(shell, 5), 32);
    EXPECT_EQ(shell.body.GetClip(5)->frames.size(), 17u);

    const CFish octopus = Make(OCTOPUS);
    EXPECT_FLOAT_EQ(octopus.body.GetClip(0)->frameTime, 0.07f);
    EXPECT_EQ(octopus.body.GetClip(8)->cropRight, -1);
    EXPECT_EQ(octopus.body.GetCurrentClip(), 1);
    EXPECT_TRUE(octopus.body.IsPlaying(1));

    const CFish jelly = Make(JELLY_FISH_2);
    EXPECT_EQ(FirstFrame(jelly, 0), 64);
    EXPECT_FLOAT_EQ(jelly.body.GetClip(2)->offsetX, -3.0f);
}

TEST_F(FishLookTest, FlatAreasDoNotBob) {
    for (std::int32_t kind : {CRAMP_FISH, OCTOPUS, CRAB, SHELL, FISH_1}) {
        SCOPED_TRACE(kind);
        CFish fish = Make(kind);
        MakeLively(fish);
        std::vector<float> heights;
        for (int i = 0; i < 300; ++i) {
            Step(fish);
            heights.push_back(fish.y);
        }
        const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
        if (kind == FISH_1) {
            EXPECT_GT(*high - *low, 0.5f);
        } else {
            EXPECT_FLOAT_EQ(*high - *low, 0.0f);
        }
    }
}

TEST_F(FishLookTest, AShoalShowsMoreFishAsItGrowsAndTheyShareOneTimer) {
    struct Case {
        std::int32_t stage;
        std::size_t draws;
        float timerFall;  // per second of lively swimming
    };
    const Case cases[] = {{0, 1, 1.0f}, {1, 3, 3.0f}, {2, 5, 5.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        CFish shoal = Make(SHOAL_FISHES);
        MakeLively(shoal);
        shoal.stage = c.stage;
        shoal.type.swimTimer = 100.0f;
        for (int i = 0; i < 60; ++i) {
            Step(shoal);
        }
        EXPECT_NEAR(shoal.type.swimTimer, 100.0f - c.timerFall, 0.05f);
        device.draws.clear();
        shoal.Draw(&device, {1.0f, 1.0f});
        EXPECT_EQ(device.draws.size(), c.draws);
        for (const media_test::RecordedDraw& draw : device.draws) {
            EXPECT_EQ(draw.colour, 0xFFFFFFFFu);
        }
        // The look does not change with the stage.
        EXPECT_LT(shoal.body.GetCurrentClip(), 4);
    }
}

TEST_F(FishLookTest, ACalmFishSlowsToAStandstillAndALivelyOneSpeedsUp) {
    CFish fish = Make(FISH_1);
    fish.type.wishCountdown = 1.0e6f;
    Step(fish);
    ASSERT_FALSE(fish.lively);
    for (int i = 0; i < 90; ++i) {
        Step(fish);
    }
    EXPECT_FLOAT_EQ(fish.speed, 0.0f);
    EXPECT_FLOAT_EQ(fish.body.GetClip(0)->frameTime, 0.07f);
    const float stoppedX = fish.x;
    Step(fish);
    EXPECT_FLOAT_EQ(fish.x, stoppedX);

    MakeLively(fish);
    fish.type.swimTimer = -5.0f;
    for (int i = 0; i < 30; ++i) {
        Step(fish);
    }
    EXPECT_NEAR(fish.speed, 10.0f, 0.5f);
    for (int i = 0; i < 91; ++i) {
        Step(fish);
    }
    EXPECT_FLOAT_EQ(fish.speed, 40.0f);
    EXPECT_TRUE(fish.lively);
}

TEST_F(FishLookTest, SidesTurnTheFishOnceAndSharksTurnBackwards) {
    struct Case {
        std::int32_t kind;
        float dirX;
        bool atRight;
        int clip;
        bool backward;
    };
    const Case cases[] = {
        {FISH_1, 1.0f, true, 2, false},
        {FISH_1, -1.0f, false, 3, false},
        {SHARK_1, 1.0f, true, 3, true},
        {SHARK_2, -1.0f, false, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        CFish fish = Make(c.kind);
        MakeLively(fish);
        fish.type.swimTimer = -3.0f;
        fish.dirX = c.dirX;
        fish.x = c.atRight ? static_cast<float>(fish.swimRect.right) + 5.0f
                           : static_cast<float>(fish.swimRect.left) - 5.0f;
        Step(fish);
        EXPECT_FLOAT_EQ(fish.x,
                        static_cast<float>(c.atRight ? fish.swimRect.right : fish.swimRect.left));
        EXPECT_FLOAT_EQ(fish.dirX, -c.dirX);
        EXPECT_EQ(fish.body.GetCurrentClip(), c.clip);
        EXPECT_TRUE(fish.inTransition);
        EXPECT_EQ(fish.body.GetClip(static_cast<unsigned>(c.clip))->direction, c.backward ? -1 : 1);

        // Beyond the side again while the turn plays: held there, no second turn.
        fish.x = c.atRight ? static_cast<float>(fish.swimRect.right) + 5.0f
                           : static_cast<float>(fish.swimRect.left) - 5.0f;
        Step(fish);
        EXPECT_FLOAT_EQ(fish.dirX, -c.dirX);
        EXPECT_FLOAT_EQ(fish.x,
                        static_cast<float>(c.atRight ? fish.swimRect.right : fish.swimRect.left));
    }
}

TEST_F(FishLookTest, AnOctopusIdlesAgainHalfTheTimeUntilItHasIdledTwice) {
    int idledAgain = 0;
    const int trials = 200;
    for (int trial = 0; trial < trials; ++trial) {
        for (std::int32_t counter : {0, 2}) {
            clock.milliseconds = 5000u + static_cast<std::uint64_t>(trial) * 37u;
            CFish octopus = Make(OCTOPUS);
            MakeLively(octopus);
            octopus.body.Stop();
            octopus.type.behaviourCounter = counter;
            octopus.type.swimTimer = 0.001f;
            octopus.Update(input, {1.0f, 1.0f}, FRAME, false, false, 0.0f);
            if (counter == 2) {
                // After two idles it always swims.
                EXPECT_LT(octopus.type.swimTimer, 0.0f);
                EXPECT_EQ(octopus.octopusPhase, 1);
            } else if (octopus.type.swimTimer == 0.0f) {
                ++idledAgain;
            }
        }
    }
    EXPECT_GT(idledAgain, trials / 4);
    EXPECT_LT(idledAgain, trials * 3 / 4);
}

TEST_F(FishLookTest, AShellHoldsOpenWhileItsTimeRunsAndACalmOneUntilItIsLively) {
    CFish shell = Make(SHELL);
    MakeLively(shell);
    shell.type.swimTimer = 4.0f;
    shell.body.Play(0, true, false, 0.1f);
    float open = 0.0f;
    for (int i = 0; i < 600; ++i) {
        Step(shell);
        if (!shell.body.IsPlaying(-1) && shell.body.GetCurrentFrame(0) == 16) {
            open += FRAME;
        }
    }
    // It opened after 16 frames of 0.06 s and held until its 4 s ran out.
    // (At most one frame step per update: 0.06 s frames take four updates.)
    EXPECT_NEAR(open, 4.0f - 16.0f * 4.0f * FRAME, 0.1f);

    CFish calm = Make(SHELL);
    calm.type.wishCountdown = 1.0e6f;
    calm.type.swimTimer = 0.0f;
    calm.body.Stop();
    for (int i = 0; i < 600; ++i) {
        Step(calm);
    }
    EXPECT_FALSE(calm.body.IsPlaying(-1));
    EXPECT_EQ(calm.body.GetCurrentFrame(0), 16);
    MakeLively(calm);
    for (int i = 0; i < 60; ++i) {
        Step(calm);
    }
    EXPECT_NE(calm.body.GetCurrentFrame(0), 16);
}

TEST_F(FishLookTest, ACalmCrabSitsDownAndIdles) {
    CFish crab = Make(CRAB);
    crab.type.wishCountdown = 1.0e6f;
    crab.body.Play(3, true, false, -1.0f);
    Step(crab);
    EXPECT_EQ(crab.body.GetCurrentClip(), 2);
    EXPECT_EQ(crab.body.GetClip(2)->direction, -1);
    for (int i = 0; i < 60; ++i) {
        Step(crab);
    }
    EXPECT_TRUE(crab.body.IsPlaying(1));
    const float x = crab.x;
    for (int i = 0; i < 600; ++i) {
        Step(crab);
    }
    EXPECT_FLOAT_EQ(crab.x, x);
}

TEST_F(FishLookTest, LivelyKindsMoveInsideTheirAreaAndKeepSwimmingWhileLeaving) {
    for (std::int32_t kind = 0; kind < FISH_KIND_COUNT; ++kind) {
        SCOPED_TRACE(kind);
        CFish fish = Make(kind);
        MakeLively(fish);
        fish.stage = 2;
        float lowest = fish.x;
        float highest = fish.x;
        for (int i = 0; i < 60 * 40; ++i) {
            Step(fish);
            lowest = std::min(lowest, fish.x);
            highest = std::max(highest, fish.x);
            ASSERT_GE(fish.x, std::min(static_cast<float>(fish.swimRect.left), X + 60.0f));
            ASSERT_LE(fish.x, std::max(static_cast<float>(fish.swimRect.right), X + 80.0f));
        }
        if (kind != SHELL) {
            EXPECT_GT(highest - lowest, 10.0f);
        }
        fish.leaving = true;
        fish.speed = fish.maxSpeed;
        fish.type.swimTimer = -2.0f;
        const float before = fish.x;
        bool moved = false;
        for (int i = 0; i < 31; ++i) {
            Step(fish);
            moved = moved || fish.x != before;
        }
        EXPECT_FLOAT_EQ(fish.alpha, 0.0f);
        if (kind != SHELL && kind != CRAB && kind != OCTOPUS) {
            EXPECT_TRUE(moved);
        }
    }
}

}  // namespace
