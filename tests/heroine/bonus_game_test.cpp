// The bonus game's frame: score and bar, cries, spawning, the chain, the end
// of the level, the hand cursor and the drawing.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bonus_world.h"

namespace bonus_test {
namespace {

using Popup = std::pair<std::u16string, std::uint32_t>;
constexpr std::uint32_t GREEN = 0xFF00FF00;
constexpr std::uint32_t YELLOW = 0xFFFFFF00;

class BonusGameTest : public BonusWorldTest {
protected:
    // Clicks `length` diving gulls one after the other, so that the chain
    // stands at `length` and the score at 10 + 20 + ... points.
    void BuildChain(int length) {
        for (int k = 0; k < length; ++k) {
            PlaceGull(100.0f, 100.0f, GULL_DIVE);
            Frame(Press(150.0f, 150.0f));
            game.Gulls().clear();
        }
    }

public:
    // Score events: each lays out the creatures that raise one.
    // A gull diving at a turtle of row 0 that reaches the water in its next
    // frame.
    void SetUpCatch() {
        CBonusTurtle& turtle = PlaceTurtle(400.0f);
        CBonusGull& gull = PlaceGull(322.0f, 509.0f, GULL_DIVE);
        gull.targetId = turtle.id;
        gull.direction = {0.0f, 1.0f};
    }

    void SetUpSave() { PlaceTurtle(1023.9f); }

    // A gull about to carry its turtle off the top of the screen.
    void SetUpCarryOff() {
        CBonusTurtle& turtle = PlaceTurtle(400.0f);
        turtle.taken = true;
        CBonusGull& gull = PlaceGull(322.0f, -299.0f, GULL_CARRY);
        gull.targetId = turtle.id;
        gull.direction = {0.0f, -1.0f};
        gull.animation.Play(GULL_CLIP_CARRY, true, false, -1.0f);
    }

protected:
    // Keeps the level from ending while a test looks at a single frame.
    static CLevelEnemy LateTurtle() { return Turtle(1000.0f); }
};

// --- Score, bar and pulse ---

TEST_F(BonusGameTest, ScoreIsHeldBetweenZeroAndTheGoal) {
    struct Case {
        const char* name;
        std::int32_t need;
        int saves;
        int catches;
        std::int32_t score;
    };
    const Case cases[] = {
        {"stacked saves stop at the goal", 1000, 6, 0, 1000},
        {"a catch at 0 stops at 0", 300, 0, 1, 0},
        {"a negative goal keeps the score at 0", -100, 1, 0, 0},
        {"a goal of 0 keeps the score at 0", 0, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartBonus(c.need, {LateTurtle()});
        for (int i = 0; i < c.saves; ++i) {
            PlaceTurtle(1023.9f);
        }
        if (c.catches > 0) {
            SetUpCatch();
        }
        Frame();
        Frame();
        Frame();
        EXPECT_EQ(game.GetScore(), c.score);
        EXPECT_GE(game.GetShownScore(), 0.0f);
        EXPECT_LE(game.GetShownScore(), std::max(0.0f, static_cast<float>(c.need)));
    }
}

TEST_F(BonusGameTest, TheBarClimbsToTheGoalAndSoundsOnceWhenItArrives) {
    StartBonus(1000, {LateTurtle()});
    for (int i = 0; i < 6; ++i) {
        PlaceTurtle(1023.9f);
    }
    Frame();  // 1200 points, held at 1000 in the next frame
    Frame();
    EXPECT_EQ(game.GetScore(), 1000);
    EXPECT_FLOAT_EQ(game.GetShownScore(), 300.0f * FRAME);
    // floor(277 x (1 - 6 / 1000)) pixels of the cover are left.
    EXPECT_EQ(game.GetBarCover().source.bottom - game.GetBarCover().source.top, 275);

    float shown = game.GetShownScore();
    int frames = 0;
    while (game.GetShownScore() < 1000.0f && frames < 1000) {
        Frame();
        // It never passes the score.
        EXPECT_NEAR(game.GetShownScore() - shown, std::min(300.0f * FRAME, 1000.0f - shown), 0.01f);
        shown = game.GetShownScore();
        ++frames;
    }
    EXPECT_NEAR(static_cast<float>(frames + 1) * FRAME, 1000.0f / 300.0f, FRAME);
    EXPECT_EQ(Plays(29), 1);
    EXPECT_EQ(game.GetBarCover().source.bottom, game.GetBarCover().source.top);
    Run(1.0f);
    EXPECT_EQ(Plays(29), 1);
    EXPECT_FLOAT_EQ(game.GetPulse(), 0.0f);
}

TEST_F(BonusGameTest, TheBarSwellsTwiceAndShrinksBack) {
    StartBonus(100, {LateTurtle()});
    PlaceTurtle(1023.9f);
    Frame();
    std::vector<float> pulses;
    for (int i = 0; i < 60; ++i) {
        Frame();
        pulses.push_back(game.GetPulse());
    }
    int peaks = 0;
    for (std::size_t i = 1; i < pulses.size(); ++i) {
        EXPECT_LE(pulses[i], 0.1f);
        if (pulses[i] == 0.1f && pulses[i - 1] < 0.1f) {
            ++peaks;
        }
    }
    EXPECT_EQ(peaks, 2);
    EXPECT_EQ(pulses.back(), 0.0f);
}

// --- Cries ---

TEST_F(BonusGameTest, GullsCryAfterTenSecondsThenEveryTwentyAlsoInTheStartDelay) {
    StartBonus(100, {LateTurtle()});
    g_gameSession.SetLevelStartDelay(1000.0f);
    std::vector<float> cries;
    int heard = 0;
    for (int frame = 1; frame <= 130; ++frame) {
        Frame(0.5f);
        const int now = Plays(56) + Plays(57);
        if (now != heard) {
            cries.push_back(static_cast<float>(frame) * 0.5f);
            heard = now;
        }
    }
    EXPECT_EQ(cries, (std::vector<float>{10.0f, 30.0f, 50.0f}));
    EXPECT_TRUE(game.Gulls().empty());
    EXPECT_TRUE(game.Turtles().empty());
}

// --- Spawning ---

TEST_F(BonusGameTest, EntriesSpawnInTheFirstFrameAfterTheDelayInListOrder) {
    StartBonus(100, {Turtle(0.1f, 2), Gull(0.0f), Turtle(0.1f, 0), Gull(5.0f)});
    g_gameSession.SetLevelStartDelay(0.5f);
    Frame(0.1f);
    EXPECT_TRUE(game.Turtles().empty());
    EXPECT_FLOAT_EQ(game.GetClock(), 0.0f);

    g_gameSession.SetLevelStartDelay(0.0f);
    Frame(0.1f);
    ASSERT_EQ(game.Turtles().size(), 2u);
    EXPECT_EQ(game.Turtles()[0].row, 2);
    EXPECT_EQ(game.Turtles()[0].id, 0);
    EXPECT_EQ(game.Turtles()[1].row, 0);
    EXPECT_EQ(game.Turtles()[1].id, 1);
    ASSERT_EQ(game.Gulls().size(), 1u);
    EXPECT_EQ(game.Gulls()[0].state, GULL_FLY);
    EXPECT_EQ(game.GetLevel().enemies.size(), 1u);
    EXPECT_EQ(Plays(48), 1);
}

TEST_F(BonusGameTest, TurtleEntriesTakeTheirRowOrSpawnNothing) {
    struct Case {
        const char* name;
        CLevelEnemy entry;
        bool spawns;
        std::int32_t row;
    };
    CLevelEnemy odd = Turtle();
    odd.kind = 5;
    const Case cases[] = {
        {"path 1", Turtle(0.0f, 1), true, 1},
        {"path 4 folds onto row 1", Turtle(0.0f, 4), true, 1},
        {"path -1 lands on row 2", Turtle(0.0f, -1), true, 2},
        {"path -5 lands on row 1", Turtle(0.0f, -5), true, 1},
        {"speed 0", Turtle(0.0f, 0, 0.0f), false, 0},
        {"negative speed", Turtle(0.0f, 0, -20.0f), false, 0},
        {"energy 0", Turtle(0.0f, 0, 50.0f, 0.0f), false, 0},
        {"an unknown kind", odd, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_gameSession.ClearModeBits(MODE_LEVEL_COMPLETE | MODE_PAUSED);
        StartBonus(100, {c.entry});
        Frame();
        EXPECT_TRUE(game.GetLevel().enemies.empty());
        ASSERT_EQ(game.Turtles().size(), c.spawns ? 1u : 0u);
        if (c.spawns) {
            const CBonusTurtle& turtle = game.Turtles()[0];
            EXPECT_EQ(turtle.row, c.row);
            EXPECT_FLOAT_EQ(turtle.base.y, 615.0f + 25.0f * static_cast<float>(c.row));
            EXPECT_FLOAT_EQ(turtle.base.x, -75.0f + 50.0f * FRAME);
        } else {
            // Nothing is left to wait for: the level is over at once.
            EXPECT_TRUE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE));
        }
    }
}

// --- Chain ---

TEST_F(BonusGameTest, APressKeepsOrBreaksTheChain) {
    struct Case {
        const char* name;
        std::int32_t gullState;  // 0: no gull
        bool turtle;
        float pressX;
        float pressY;
        std::int32_t chainAfter;
        std::int32_t chainNextFrame;
        std::int32_t points;
    };
    const Case cases[] = {
        {"empty water", 0, false, 500.0f, 700.0f, 0, 0, 0},
        {"a flying gull", GULL_FLY, false, 350.0f, 150.0f, 0, 0, 0},
        {"a gliding gull", GULL_GLIDE, false, 350.0f, 150.0f, 0, 0, 0},
        {"a diving gull", GULL_DIVE, false, 350.0f, 150.0f, 3, 3, 30},
        {"a carrying gull", GULL_CARRY, false, 350.0f, 150.0f, 3, 3, 30},
        {"a turtle no gull dives at", 0, true, 420.0f, 630.0f, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartBonus(10000, {LateTurtle()});
        BuildChain(2);
        ASSERT_EQ(game.GetChain(), 2);
        ASSERT_EQ(game.GetScore(), 30);
        if (c.gullState != 0) {
            PlaceGull(300.0f, 100.0f, c.gullState);
        }
        if (c.turtle) {
            PlaceTurtle(400.0f);
        }
        Frame(Press(c.pressX, c.pressY));
        EXPECT_EQ(game.GetChain(), c.chainAfter);
        EXPECT_EQ(game.GetScore(), 30 + c.points);
        Frame();
        EXPECT_EQ(game.GetChain(), c.chainNextFrame);
    }
}

TEST_F(BonusGameTest, ScoreEventsPayAndCountTheTurtles) {
    struct Case {
        const char* name;
        void (BonusGameTest::*setUp)();
        std::int32_t score;
        Popup text;
        unsigned sample;
        std::int32_t saved;
        std::int32_t lost;
    };
    const Case cases[] = {
        {"a turtle crosses the right edge",
         &BonusGameTest::SetUpSave,
         230,
         {u"+200", GREEN},
         52,
         1,
         0},
        {"a gull catches a turtle", &BonusGameTest::SetUpCatch, 0, {u"-50", YELLOW}, 53, 0, 0},
        {"a carried turtle leaves the screen",
         &BonusGameTest::SetUpCarryOff,
         0,
         {u"-200", YELLOW},
         51,
         0,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartBonus(10000, {LateTurtle()});
        g_gameSession.GetStatistics().Reset(true);
        BuildChain(2);
        const int plays = Plays(static_cast<int>(c.sample));
        (this->*c.setUp)();
        Frame();
        Frame();
        EXPECT_EQ(game.GetScore(), c.score);
        EXPECT_EQ(Popups().back(), c.text);
        EXPECT_EQ(Plays(static_cast<int>(c.sample)), plays + 1);
        EXPECT_EQ(game.GetSaved(), c.saved);
        EXPECT_EQ(g_gameSession.GetStatistics().turtlesSaved, c.saved);
        EXPECT_EQ(g_gameSession.GetStatistics().turtlesLost, c.lost);
    }
}

// --- End of the level ---

TEST_F(BonusGameTest, TheLevelEndsOnlyWhenTheLastGullHasLeft) {
    StartBonus(200, {});
    PlaceTurtle(1023.9f);
    PlaceGull(500.0f, 100.0f, GULL_FLY).direction = {1.0f, 0.0f};
    Frame();
    EXPECT_TRUE(game.Turtles().empty());
    int frames = 0;
    while (!game.Gulls().empty() && frames < 1000) {
        EXPECT_FALSE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE));
        Frame();
        if (!game.Gulls().empty()) {
            EXPECT_EQ(game.Gulls()[0].state, GULL_LEAVE);
        }
        ++frames;
    }
    EXPECT_GT(frames, 10);
    EXPECT_EQ(g_gameSession.GetGameMode(), MODE_GAME | MODE_LEVEL_COMPLETE | MODE_PAUSED);
    EXPECT_GE(Plays(27), 1);
    EXPECT_TRUE(g_gameSession.HasBonusReward());
    EXPECT_EQ(g_gameSession.GetStatistics().totalLines, 4);
    // A further frame changes nothing.
    Frame();
    EXPECT_EQ(g_gameSession.GetStatistics().totalLines, 4);
}

TEST_F(BonusGameTest, ALevelWithoutTurtlesEndsInItsFirstFrameUnwon) {
    StartBonus(100, {Gull(30.0f)});
    Frame();
    EXPECT_EQ(g_gameSession.GetGameMode(), MODE_GAME | MODE_LEVEL_COMPLETE | MODE_PAUSED);
    EXPECT_FALSE(g_gameSession.HasBonusReward());
    EXPECT_EQ(g_gameSession.GetStatistics().totalLines, 3);
}

// --- Hand ---

TEST_F(BonusGameTest, APressPlaysTheHandsSkyOrWaterClipByItsHeight) {
    struct Case {
        float scale;
        float y;
        std::int32_t clip;
    };
    const Case cases[] = {
        {1.0f, 599.0f, 3}, {1.0f, 600.0f, 4}, {2.0f, 1199.0f, 3}, {2.0f, 1200.0f, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        scale = {c.scale, c.scale};
        StartBonus(100, {LateTurtle()});
        Frame(Press(20.0f, c.y));
        EXPECT_EQ(game.GetHandClip(), c.clip);
        EXPECT_EQ(game.GetHand().GetPosition(), (Vec2{20.0f / c.scale, c.y / c.scale}));
    }
}

TEST_F(BonusGameTest, TheHandAlternatesItsIdleAndItsMovingClips) {
    struct Case {
        const char* name;
        float move;
        std::vector<std::int32_t> clips;
    };
    const Case cases[] = {
        {"idle", 0.0f, {0, 2, 0, 2}},
        {"moving", 3.0f, {0, 1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        game = CBonusGame();
        StartBonus(100, {LateTurtle()});
        std::vector<std::int32_t> clips;
        float idleSince = 0.0f;
        std::vector<float> idleTimes;
        for (int frame = 0; frame < 1000 && clips.size() < c.clips.size(); ++frame) {
            Frame(Pointer(300.0f, 300.0f, c.move));
            if (clips.empty() || clips.back() != game.GetHandClip()) {
                if (!clips.empty() && clips.back() == 0) {
                    idleTimes.push_back(static_cast<float>(frame) * FRAME - idleSince);
                }
                if (game.GetHandClip() == 0) {
                    idleSince = static_cast<float>(frame) * FRAME;
                }
                clips.push_back(game.GetHandClip());
            }
        }
        EXPECT_EQ(clips, c.clips);
        if (c.move == 0.0f) {
            // Three seconds of play, rounded up to the end of a pass.
            ASSERT_FALSE(idleTimes.empty());
            EXPECT_GE(idleTimes[0], 3.0f);
            EXPECT_LT(idleTimes[0], 3.0f + 24 * 3 * FRAME);
        }
    }
}

// --- Drawing ---

TEST_F(BonusGameTest, RenderDrawsTurtlesByRowThenGullsGoalAndBar) {
    StartBonus(1000, {Turtle(0.0f, 2), Turtle(0.0f, 0), Turtle(0.0f, 1), Gull(0.0f)});
    Frame();
    device.draws.clear();
    game.Render(nullptr, scale);

    // The turtles' pictures, row 0 first, then the gull's.
    const std::vector<media_test::RecordedDraw> creatures = DrawsOf(sheet);
    ASSERT_EQ(creatures.size(), 4u);
    EXPECT_EQ(creatures[0].translation.y, 615.0f - 122.0f);
    EXPECT_EQ(creatures[1].translation.y, 640.0f - 122.0f);
    EXPECT_EQ(creatures[2].translation.y, 665.0f - 122.0f);
    EXPECT_LT(creatures[3].translation.y, 0.0f);
    const std::vector<panel_test::DrawnText> texts = DrawnTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"GOAL0/3");
    EXPECT_EQ(texts[0].colour, YELLOW);
    const std::vector<media_test::RecordedDraw> bars = DrawsOf(bar);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].translation.x, 935.0f);
    EXPECT_EQ(bars[1].translation.x, 989.0f);
    EXPECT_EQ(bars[1].source->bottom - bars[1].source->top, 277);
}

TEST_F(BonusGameTest, TheCoverIsLeftOutWithoutAGoalAndTheHandWhilePaused) {
    StartBonus(0, {LateTurtle()});
    Frame(Pointer(300.0f, 300.0f));
    device.draws.clear();
    game.Render(nullptr, scale);
    EXPECT_EQ(DrawsOf(bar).size(), 1u);

    device.draws.clear();
    game.RenderHand(nullptr, scale);
    EXPECT_EQ(DrawsOf(sheet).size(), 1u);
    g_gameSession.AddModeBits(MODE_PAUSED);
    device.draws.clear();
    game.RenderHand(nullptr, scale);
    EXPECT_TRUE(DrawsOf(sheet).empty());
}

}  // namespace
}  // namespace bonus_test
