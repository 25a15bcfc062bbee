// The gulls and turtles of the bonus game: target choice, dives and water
// lines, a dodged dive, a dropped turtle, their pictures from the shipped
// data set, and a whole bonus level of levels.xml won by a scripted player.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bonus_world.h"
#include "engine/platform/xml_reader.h"
#include "game/data_file_test_support.h"

namespace bonus_test {
namespace {

class BonusCreaturesTest : public BonusWorldTest {
protected:
    // Runs frames until the gull's state changes; the frames it took.
    int RunWhileState(const CBonusGull& gull, std::int32_t state, int limit = 1000) {
        int frames = 0;
        while (gull.state == state && frames < limit) {
            Frame();
            ++frames;
        }
        return frames;
    }

    // Replaces the test's animations by the shipped ones of the data set.
    void UseShippedAnimations() {
        const std::filesystem::path data = data_test::ShippedDataFolder();
        Resources().Animations2D().clear();
        CXmlReader reader;
        ASSERT_TRUE(reader.Open((data / "resources.xml").string()));
        XmlNode node;
        while (reader.Read(node)) {
            if (node.type != XML_START_ELEMENT || node.name != "Animation2D") {
                continue;
            }
            Animation2DRecord record;
            record.id = node.attributes["id"];
            record.image = sheet;
            record.width = std::atoi(node.attributes["width"].c_str());
            record.height = std::atoi(node.attributes["height"].c_str());
            ASSERT_GT(ReadAnimationFrames(record.frames, (data / node.attributes["path"]).string(),
                                          sheet, 0, 0, static_cast<float>(record.width),
                                          static_cast<float>(record.height)),
                      0)
                << record.id;
            Resources().Animations2D().push_back(record);
        }
    }

    // The rectangle of the last picture drawn, in design pixels.
    struct Box {
        float left;
        float right;
        float top;
        float bottom;
    };
    Box LastDrawn() {
        const media_test::RecordedDraw& draw = device.draws.back();
        return {draw.translation.x,
                draw.translation.x + static_cast<float>(draw.source->right - draw.source->left),
                draw.translation.y,
                draw.translation.y + static_cast<float>(draw.source->bottom - draw.source->top)};
    }
};

TEST_F(BonusCreaturesTest, HuntingGullsChooseTheirTurtles) {
    struct Case {
        const char* name;
        std::vector<float> turtles;
        std::vector<float> gulls;
        // Per gull: the index of the turtle it aims at, -1 none.
        std::vector<int> targets;
        std::vector<std::int32_t> states;
    };
    const Case cases[] = {
        {"two gulls share one lone turtle",
         {500.0f},
         {200.0f, 700.0f},
         {0, 0},
         {GULL_HUNT, GULL_HUNT}},
        {"the nearer turtle goes to the first gull only",
         {300.0f, 600.0f},
         {560.0f, 580.0f},
         {1, 0},
         {GULL_HUNT, GULL_HUNT}},
        {"turtles beyond 30..950 are never chosen", {29.0f, 951.0f}, {400.0f}, {-1}, {GULL_FLY}},
        {"turtles at 30 and 950 are", {30.0f, 950.0f}, {400.0f}, {0}, {GULL_HUNT}},
        {"a caught turtle is passed over", {500.0f, 700.0f}, {480.0f}, {1}, {GULL_HUNT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartBonus(1000, {Turtle(1000.0f)});
        for (float x : c.turtles) {
            PlaceTurtle(x);
        }
        if (std::string(c.name) == "a caught turtle is passed over") {
            game.Turtles()[0].taken = true;
        }
        for (float x : c.gulls) {
            PlaceGull(x, 100.0f, GULL_HUNT);
        }
        // Turtles swim at 50 pixels per second: stand them still.
        for (CBonusTurtle& turtle : game.Turtles()) {
            turtle.speed = 0.0f;
        }
        Frame();
        for (std::size_t g = 0; g < c.gulls.size(); ++g) {
            const CBonusGull& gull = game.Gulls()[g];
            const int target = c.targets[g];
            EXPECT_EQ(gull.targetId, target < 0 ? -1 : game.Turtles()[target].id) << g;
            EXPECT_EQ(gull.state, c.states[g]) << g;
            if (target >= 0) {
                const float aim = c.turtles[target] - 78.0f;
                EXPECT_EQ(gull.direction.x, aim > c.gulls[g] ? 1.0f : -1.0f) << g;
            } else {
                EXPECT_FLOAT_EQ(gull.timer, 1.0f);
            }
        }
    }
}

TEST_F(BonusCreaturesTest, AGullAboveItsTurtleDivesToItsRowsWaterLine) {
    for (std::int32_t row : {0, 1, 2}) {
        SCOPED_TRACE(row);
        StartBonus(1000, {Turtle(1000.0f)});
        CBonusTurtle& turtle = PlaceTurtle(400.0f, row);
        turtle.speed = 0.0f;
        CBonusGull& gull = PlaceGull(322.0f, 300.0f, GULL_HUNT);
        gull.speed = 0.0f;
        const int dives = Plays(50);
        Frame();
        ASSERT_EQ(gull.state, GULL_DIVE);
        EXPECT_EQ(Plays(50), dives + 1);
        RunWhileState(gull, GULL_DIVE);
        const float waterLine = 510.0f + 25.0f * static_cast<float>(row);
        EXPECT_EQ(gull.state, GULL_CARRY);
        EXPECT_GE(gull.base.y, waterLine);
        EXPECT_LT(gull.base.y, waterLine + 300.0f * FRAME);
        EXPECT_FLOAT_EQ(gull.base.x, 322.0f);
        EXPECT_TRUE(game.Turtles()[0].taken);
        EXPECT_EQ(game.GetChain(), 0);
        // Once the grab is over the gull rises with its turtle.
        RunWhileState(gull, GULL_CARRY, 60);
        EXPECT_EQ(gull.direction, (Vec2{0.0f, -1.0f}));
        EXPECT_FLOAT_EQ(gull.carried.x, gull.base.x + 85.0f);
    }
}

TEST_F(BonusCreaturesTest, ATurtleClickedUnderADiveMakesTheGullMissAndScores) {
    StartBonus(1000, {Turtle(1000.0f)});
    CBonusTurtle& turtle = PlaceTurtle(400.0f);
    CBonusGull& gull = PlaceGull(322.0f, 300.0f, GULL_DIVE);
    gull.targetId = turtle.id;
    Frame(Press(420.0f, 630.0f));
    EXPECT_EQ(Plays(47), 1);
    Frame();
    EXPECT_EQ(gull.state, GULL_DIVE | GULL_LOST);
    EXPECT_EQ(game.GetScore(), 10);
    EXPECT_EQ(game.GetChain(), 1);
    RunWhileState(gull, GULL_DIVE | GULL_LOST);
    EXPECT_EQ(gull.state, GULL_MISSED);
    EXPECT_GE(gull.base.y, 510.0f);
    EXPECT_FALSE(game.Turtles()[0].taken);
    RunWhileState(gull, GULL_MISSED);
    EXPECT_EQ(gull.state, GULL_FLY);
    EXPECT_FLOAT_EQ(gull.timer, 3.5f);
    EXPECT_EQ(gull.direction.y, -1.0f);
}

TEST_F(BonusCreaturesTest, AClickedTurtleSpeedsUpAndARestingOneWakesWithHalfItsEnergy) {
    struct Case {
        const char* name;
        float energy;
        float energyAfter;
    };
    const Case cases[] = {
        {"resting", 0.0f, 2.5f - FRAME},
        {"swimming", 3.0f, 3.0f - FRAME},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartBonus(1000, {Turtle(1000.0f)});
        CBonusTurtle& turtle = PlaceTurtle(400.0f);
        turtle.energy = c.energy;
        turtle.rest = 0.5f;
        Frame(Press(420.0f, 630.0f));
        EXPECT_FLOAT_EQ(turtle.energy, c.energyAfter);
        EXPECT_FLOAT_EQ(turtle.rest, turtle.restMax);
        // 100 extra, less what fell off in the frame, moved it on.
        EXPECT_FLOAT_EQ(turtle.boost, 100.0f - 150.0f * FRAME);
        EXPECT_FLOAT_EQ(turtle.base.x, 400.0f + (50.0f + turtle.boost) * FRAME);
        EXPECT_TRUE(turtle.dodge);
    }
}

TEST_F(BonusCreaturesTest, ALeavingGullClickedTurnsBackAndLeavesAgain) {
    StartBonus(1000, {});
    CBonusGull& gull = PlaceGull(300.0f, 100.0f, GULL_LEAVE);
    gull.direction = {0.0f, -1.0f};
    Frame(Press(350.0f, 150.0f));
    EXPECT_EQ(gull.state, GULL_LEAVE);
    EXPECT_EQ(gull.boost, 200.0f);
    EXPECT_LT(gull.direction.y, 0.0f);
    EXPECT_EQ(Plays(46), 1);
}

TEST_F(BonusCreaturesTest, ADroppedTurtleBouncesOnceAndRests) {
    StartBonus(1000, {Turtle(1000.0f)});
    CBonusTurtle& turtle = PlaceTurtle(400.0f);
    CBonusGull& gull = PlaceGull(315.0f, 500.0f, GULL_DIVE);
    gull.targetId = turtle.id;
    gull.direction = {0.0f, 1.0f};
    RunWhileState(gull, GULL_DIVE);
    ASSERT_EQ(gull.state, GULL_CARRY);
    // Past the grab, the gull rises with the turtle hanging from its feet.
    Run(1.0f);
    ASSERT_TRUE(gull.animation.IsPlaying(GULL_CLIP_CARRY));
    const float restMax = game.Turtles()[0].restMax;

    Frame(Press(gull.base.x + 100.0f, gull.base.y + 65.0f));
    ASSERT_EQ(gull.state, GULL_FLY);
    EXPECT_EQ(game.GetScore(), 10);  // -50 for the catch held at 0, then +10
    const CBonusTurtle& dropped = game.Turtles()[0];
    EXPECT_TRUE(dropped.falling);
    EXPECT_GT(dropped.Lift(), 0.0f);
    // The chased gull must not come back for it while the test watches.
    game.Gulls().clear();

    float bounce = 0.0f;
    int frames = 0;
    // Short frames, so that the bounce comes close to its height in
    // continuous time.
    while (dropped.bounces < 2 && frames < 5000) {
        Frame(InputState{}, 0.002f);
        if (dropped.bounces == 1) {
            bounce = std::max(bounce, dropped.Lift());
        }
        ++frames;
    }
    EXPECT_NEAR(bounce, 350.0f * 350.0f / (2.0f * 2000.0f), 3.0f);
    EXPECT_EQ(Plays(54), 2);
    EXPECT_FALSE(dropped.taken);
    EXPECT_FALSE(dropped.falling);
    EXPECT_EQ(dropped.energy, 0.0f);

    float rested = 0.0f;
    while (dropped.energy == 0.0f && rested < 10.0f) {
        Frame();
        rested += FRAME;
    }
    EXPECT_NEAR(rested, restMax, 1.5f * FRAME);
    EXPECT_EQ(dropped.energy, dropped.energyMax);
}

TEST_F(BonusCreaturesTest, ShippedPicturesCoverTheirClickBoxes) {
    UseShippedAnimations();
    StartBonus(1000, {Turtle(1000.0f)});
    PlaceTurtle(400.0f, 1);
    CBonusTurtle& turtle = game.Turtles()[0];
    turtle.animation.SetPosition(turtle.base.x, turtle.base.y);
    const FrameClip* swim = turtle.animation.GetClip(TURTLE_CLIP_SWIM);
    ASSERT_NE(swim, nullptr);
    ASSERT_FALSE(swim->frames.empty());
    for (int frame = 0; frame < static_cast<int>(swim->frames.size()); ++frame) {
        SCOPED_TRACE(frame);
        turtle.animation.SetCurrentFrame(TURTLE_CLIP_SWIM, frame);
        turtle.Render(scale);
        const Box box = LastDrawn();
        EXPECT_GE(box.left, turtle.base.x - 10.0f);
        EXPECT_LE(box.right, turtle.base.x + 70.0f);
        EXPECT_GE(box.top, turtle.base.y - 10.0f);
        EXPECT_LE(box.bottom, turtle.base.y + 50.0f);
    }

    CBonusGull& gull = PlaceGull(300.0f, 200.0f, GULL_FLY);
    gull.animation.SetPosition(gull.base.x, gull.base.y);
    for (unsigned clip : {GULL_CLIP_FLY, GULL_CLIP_GLIDE}) {
        gull.animation.Play(clip, true, false, -1.0f);
        const int frames = static_cast<int>(gull.animation.GetClip(clip)->frames.size());
        ASSERT_GT(frames, 0);
        for (int frame = 0; frame < frames; ++frame) {
            SCOPED_TRACE(frame);
            gull.animation.SetCurrentFrame(clip, frame);
            gull.Render(scale);
            const Box box = LastDrawn();
            EXPECT_LT(box.left, 500.0f);
            EXPECT_GT(box.right, 300.0f);
            EXPECT_LT(box.top, 330.0f);
            EXPECT_GT(box.bottom, 200.0f);
        }
    }
}

TEST_F(BonusCreaturesTest, APlayerWhoClicksEveryDivingGullWinsTheFirstBonusLevel) {
    CLevelBase levels;
    ASSERT_GT(levels.Load((data_test::ShippedDataFolder() / "levels.xml").string()), 0);
    CLevelRecord level;
    for (std::int32_t n = 1; n <= levels.GetCount() && !level.bonus; ++n) {
        level = levels.GetLevel(static_cast<std::uint32_t>(n));
    }
    ASSERT_TRUE(level.bonus);
    const std::int32_t turtles = level.CountTurtles();
    game.StartLevel(level);

    const float frame = 1.0f / 60.0f;
    float played = 0.0f;
    while (!g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE) && played < 900.0f) {
        InputState input;
        for (const CBonusGull& gull : game.Gulls()) {
            if (gull.Is(GULL_DIVE) && !gull.Is(GULL_LOST)) {
                input = Press(gull.base.x + 100.0f, gull.base.y + 65.0f);
                break;
            }
        }
        Frame(input, frame);
        played += frame;
    }
    ASSERT_TRUE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE));
    EXPECT_EQ(g_gameSession.GetStatistics().turtlesSaved, turtles);
    EXPECT_EQ(g_gameSession.GetStatistics().turtlesLost, 0);
    EXPECT_EQ(game.GetSaved(), turtles);
    EXPECT_GE(game.GetScore(), level.need);
    EXPECT_TRUE(g_gameSession.HasBonusReward());
    EXPECT_EQ(g_gameSession.GetStatistics().totalLines, 4);
}

}  // namespace
}  // namespace bonus_test
