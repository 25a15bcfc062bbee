// The audio system: switched on at its stand it pauses the level music,
// plays its tune, publishes its effect once its glow has risen, and resumes
// the music when the work time is over; then it recharges. Notes rise while
// it works. In the shop it is bought and upgraded with a preview.
#include "heroine/audio_system.h"

#include <gtest/gtest.h>

#include "device_world.h"
#include "shopfloor/item_codes.h"

namespace {

using backend::ChannelState;
using device_test::At;
using device_test::Away;
using device_test::DeviceWorldTest;
using device_test::ONE;
using device_test::PressAt;
using device_test::Source;

// Location 1: the level-1 stand's hit box is 44..148 x 340..452, level 2's
// stand stands at (48, 360).
constexpr Vec2 OVER_STAND = {100, 400};
constexpr float STEP = 0.05f;

class AudioSystemTest : public DeviceWorldTest {
protected:
    void SetUp() override {
        DeviceWorldTest::SetUp();
        audioSystem.Setup(1, 1);
        g_gameSession.PlayLevelMusic(true);
    }

    void Step(InputState input = Away(), float step = STEP) {
        audioSystem.Update(input, ONE, step);
    }

    bool FillShown() {
        device.draws.clear();
        audioSystem.Render(&device, ONE);
        for (const auto& draw : DrawsOf("ICONS")) {
            if (Source(draw)[0] == 253) {
                return true;
            }
        }
        return false;
    }

    CAudioSystem& audioSystem = g_audioSystem;
};

TEST_F(AudioSystemTest, TheWorkTimeRunsOnceTheGlowHasRisen) {
    Step(At(OVER_STAND.x, OVER_STAND.y));
    ASSERT_TRUE(audioSystem.IsStandHovered());
    ASSERT_EQ(StreamState(2), ChannelState::Playing);
    audioSystem.Activate();
    EXPECT_TRUE(audioSystem.IsWorking());
    EXPECT_FALSE(audioSystem.IsStandHovered());
    EXPECT_EQ(audioSystem.GetEffect(), 1.0f);
    EXPECT_EQ(StreamState(2), ChannelState::Paused);
    EXPECT_EQ(Plays(35), 1);
    // A second switch-on changes nothing.
    audioSystem.Activate();
    EXPECT_EQ(Plays(35), 1);
    EXPECT_EQ(audioSystem.GetTimer(), 10.0f);
    // 0.4 s of glow before the time runs.
    for (int frame = 0; frame < 8; ++frame) {
        Step(At(OVER_STAND.x, OVER_STAND.y));
    }
    EXPECT_EQ(audioSystem.GetTimer(), 10.0f);
    EXPECT_FALSE(audioSystem.IsStandHovered());
    Step();
    EXPECT_FLOAT_EQ(audioSystem.GetTimer(), 9.95f);
    // The fill shows once the glow is full, from 0.51 s.
    Step();
    EXPECT_FALSE(FillShown());
    Step();
    EXPECT_TRUE(FillShown());
    // The effect holds to the frame in which the time runs out, and is 0 there.
    int frames = 11;
    while (audioSystem.IsWorking() && frames < 1000) {
        EXPECT_EQ(audioSystem.GetEffect(), 1.0f);
        Step();
        ++frames;
    }
    EXPECT_EQ(audioSystem.GetEffect(), 0.0f);
    EXPECT_FALSE(audioSystem.IsReady());
    EXPECT_NEAR(frames * STEP, 10.4f, 0.051f);
    EXPECT_EQ(StreamState(2), ChannelState::Playing);
}

TEST_F(AudioSystemTest, EachLevelPlaysItsOwnTuneWithItsOwnRow) {
    struct Case {
        std::int32_t level;
        int tune;
        float effect;
        float workTime;
    };
    const Case cases[] = {{1, 35, 1.0f, 10.0f}, {2, 36, 1.5f, 12.0f}, {3, 37, 2.0f, 15.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        audioSystem.Setup(1, c.level);
        const int before[] = {Plays(35), Plays(36), Plays(37)};
        audioSystem.Activate();
        for (int tune = 35; tune <= 37; ++tune) {
            EXPECT_EQ(Plays(tune), before[tune - 35] + (tune == c.tune ? 1 : 0)) << tune;
        }
        EXPECT_EQ(audioSystem.GetEffect(), c.effect);
        EXPECT_EQ(audioSystem.GetTimer(), c.workTime);
    }
}

TEST_F(AudioSystemTest, ItIsReadyAgainAfterItsChargingTime) {
    audioSystem.Activate();
    while (audioSystem.IsWorking()) {
        Step();
    }
    // Charging: no effect, no clicks, and the meter shrinks back; after the
    // 20 s of charging sample 34 sounds.
    int frames = 0;
    while (!audioSystem.IsReady() && frames < 1000) {
        ASSERT_FALSE(audioSystem.IsStandHovered());
        ASSERT_EQ(audioSystem.GetEffect(), 0.0f);
        Step(At(OVER_STAND.x, OVER_STAND.y));
        ++frames;
    }
    EXPECT_NEAR(frames * STEP, 20.0f, 0.051f);
    EXPECT_EQ(Plays(CAudioSystem::SAMPLE_READY), 1);
    EXPECT_EQ(audioSystem.GetMeterFill().source.bottom - audioSystem.GetMeterFill().source.top, 35);
    // The stand can be clicked from the next frame on.
    EXPECT_FALSE(audioSystem.IsStandHovered());
    Step(At(OVER_STAND.x, OVER_STAND.y));
    EXPECT_TRUE(audioSystem.IsStandHovered());
    // A new level's setup makes it ready whatever it was doing.
    audioSystem.Activate();
    audioSystem.Setup(1, 1);
    EXPECT_TRUE(audioSystem.IsReady());
    EXPECT_FALSE(audioSystem.IsWorking());
    EXPECT_EQ(audioSystem.GetEffect(), 0.0f);
}

TEST_F(AudioSystemTest, NotesRiseWhileItWorksAndFadeAfterwards) {
    audioSystem.Activate();
    for (int frame = 0; frame < 9; ++frame) {
        Step();
    }
    EXPECT_TRUE(audioSystem.GetNotes().GetParticles().empty());
    Step();
    ASSERT_EQ(audioSystem.GetNotes().GetParticles().size(), 1u);
    // Born beside the first stand, it moves in its first frame already.
    const CNoteParticle& note = audioSystem.GetNotes().GetParticles()[0];
    EXPECT_NEAR(note.x, 98.0f, 0.5f);  // swaying already
    EXPECT_FLOAT_EQ(note.y, 387.0f - 50.0f * STEP);
    EXPECT_FLOAT_EQ(note.scaleX, 0.75f - 0.25f * (2.0f - STEP) / 2.0f);
    constexpr int LEFT_EDGES[] = {236, 261, 300, 235, 256};
    ASSERT_GE(note.templateIndex, 0);
    ASSERT_LT(note.templateIndex, 5);
    EXPECT_EQ(note.source.left, LEFT_EDGES[note.templateIndex]);
    EXPECT_EQ(note.image, Image("GUI"));
    // At most one note per frame, even for a long frame.
    Step(Away(), 1.0f);
    EXPECT_EQ(audioSystem.GetNotes().GetParticles().size(), 2u);
    // Stopped, the notes in the air fade and go.
    while (audioSystem.IsWorking()) {
        Step();
    }
    const std::size_t left = audioSystem.GetNotes().GetParticles().size();
    EXPECT_GT(left, 0u);
    for (int frame = 0; frame < 60; ++frame) {
        Step();
    }
    EXPECT_TRUE(audioSystem.GetNotes().GetParticles().empty());
    // A new setup clears them at once.
    audioSystem.Setup(1, 1);
    audioSystem.Activate();
    for (int frame = 0; frame < 10; ++frame) {
        Step();
    }
    audioSystem.Setup(1, 1);
    EXPECT_TRUE(audioSystem.GetNotes().GetParticles().empty());
}

TEST_F(AudioSystemTest, OutsideItsLevelsAndLocationsItStaysPut) {
    audioSystem.Setup(2, 2);
    EXPECT_EQ(audioSystem.GetStationPoint(), (Vec2{180, 630}));
    EXPECT_EQ(audioSystem.GetTagPoint(), (Vec2{41, 488}));
    audioSystem.Setup(7, 3);
    EXPECT_EQ(audioSystem.GetLevel(), 3);
    EXPECT_EQ(audioSystem.GetStationPoint(), (Vec2{180, 630}));
    EXPECT_EQ(audioSystem.GetStand(3).x, -1.0f);
    // A level above 3 is not bought: nothing updates or draws.
    audioSystem.Setup(1, 4);
    EXPECT_EQ(audioSystem.GetLevel(), 0);
    Step(At(OVER_STAND.x, OVER_STAND.y));
    EXPECT_FALSE(audioSystem.IsStandHovered());
    device.draws.clear();
    audioSystem.Render(&device, ONE);
    EXPECT_TRUE(device.draws.empty());
}

TEST_F(AudioSystemTest, TheShopOffersTheNextLevel) {
    struct Case {
        std::int32_t level;
        bool hovered;
        std::vector<int> stand;
        std::uint32_t colour;
        std::vector<int> icon;  // its source's left edge and where it is drawn
        const char* hint;
    };
    const Case cases[] = {
        {0, false, {0, 112, 263, 377}, 0x88FFFFFF, {319, 129, 355}, nullptr},
        {0, true, {0, 112, 263, 377}, 0xFFFFFFFF, {319, 129, 355}, "BUY_AUDIO_SYSTEM_TEXT_1"},
        {1, true, {0, 112, 375, 478}, 0xFFFFFFFF, {383, 128, 344}, "UPGRADE_AUDIO_SYSTEM_TEXT_1"},
        {2, false, {0, 112, 375, 478}, 0xFFFFFFFF, {383, 128, 344}, nullptr},
        {3, true, {268, 386, 262, 391}, 0xFFFFFFFF, {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        g_hintManager.Clear();
        audioSystem.Setup(1, c.level);
        audioSystem.UpdateShop(c.hovered ? At(OVER_STAND.x, OVER_STAND.y) : Away(), ONE, STEP);
        device.draws.clear();
        audioSystem.RenderShop(&device, ONE);
        const auto stands = DrawsOf("UPGRADES");
        ASSERT_EQ(stands.size(), 1u);
        EXPECT_EQ(Source(stands[0]), c.stand);
        EXPECT_EQ(stands[0].colour, c.colour);
        const auto icons = DrawsOf("ICONS");
        if (c.icon.empty()) {
            EXPECT_TRUE(icons.empty());
        } else {
            ASSERT_EQ(icons.size(), 1u);
            EXPECT_EQ(
                (std::vector<int>{Source(icons[0])[0], static_cast<int>(icons[0].translation.x),
                                  static_cast<int>(icons[0].translation.y)}),
                c.icon);
        }
        EXPECT_EQ(g_hintManager.IsFirstHintOpen(), c.hint != nullptr);
        if (c.hint != nullptr) {
            const CHintWindow& window = g_hintManager.GetWindows().front();
            EXPECT_EQ(window.text, TextStorage().FindIndex(c.hint));
        }
        audioSystem.UpdateShop(Away(), ONE, STEP);
    }
    // At level 1 the arrow points at the level-2 stand, 8 pixels below the
    // level-1 arrow.
    const auto arrowY = [&](std::int32_t level) {
        audioSystem.UpdateShop(Away(), ONE, STEP);
        g_hintManager.Clear();
        audioSystem.Setup(1, level);
        audioSystem.UpdateShop(At(OVER_STAND.x, OVER_STAND.y), ONE, STEP);
        return g_hintManager.GetWindows().empty() ? 0.0f
                                                  : g_hintManager.GetWindows().front().firstArrow.y;
    };
    const float first = arrowY(0);
    EXPECT_EQ(arrowY(1) - first, 8.0f);
    // A press selects it and keeps the hint while the cursor leaves; a
    // press elsewhere deselects it and closes the hint.
    audioSystem.UpdateShop(PressAt(OVER_STAND.x, OVER_STAND.y), ONE, STEP);
    EXPECT_TRUE(audioSystem.IsShopSelected());
    EXPECT_EQ(Plays(25), 1);
    audioSystem.UpdateShop(Away(), ONE, STEP);
    EXPECT_TRUE(g_hintManager.IsFirstHintOpen());
    audioSystem.UpdateShop(PressAt(900, 10), ONE, STEP);
    EXPECT_FALSE(audioSystem.IsShopSelected());
    EXPECT_FALSE(g_hintManager.IsFirstHintOpen());
    // At level 3 a press on its own stand still selects it, without a hint.
    g_hintManager.Clear();
    audioSystem.Setup(1, 3);
    audioSystem.UpdateShop(PressAt(100, 400), ONE, STEP);
    EXPECT_TRUE(audioSystem.IsShopSelected());
    EXPECT_TRUE(g_hintManager.GetWindows().empty());
}

}  // namespace
