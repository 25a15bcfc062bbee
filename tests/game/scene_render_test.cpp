// When the scene draws the game's cursor, with which cell and where, read back
// from the draws on the fake render device.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/panel_world.h"
#include "game/scene.h"
#include "game/session_test_support.h"

namespace {

class SceneRenderTest : public panel_test::PanelWorldTest {
protected:
    void SetUp() override {
        PanelWorldTest::SetUp();
        StartWorld("English", {});
        cursor = AddImage("CURSOR", 55, 118);
        session_test::ResetGlobalSession();
        session_test::ResetWorld();
        ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
        g_scene.Init();
        input.cursorX = 300.0f;
        input.cursorY = 200.0f;
    }
    void TearDown() override {
        session_test::ResetGlobalSession();
        PanelWorldTest::TearDown();
    }

    std::vector<media_test::RecordedDraw> CursorDraws(std::uint32_t mode) {
        device.draws.clear();
        g_gameSession.SetGameMode(mode);
        g_scene.Render(&device, input, Vec2{1.0f, 1.0f});
        return DrawsOf(cursor);
    }

    std::int32_t cursor = -1;
    InputState input;
};

TEST_F(SceneRenderTest, TheCursorIsLeftOutOnlyWhereAnotherPictureOrNothingServes) {
    struct Case {
        std::uint32_t mode;
        bool bonus;
        bool pauseHovered;
        bool drawn;
    };
    const Case cases[] = {
        {MODE_GAME, false, false, true},
        // On a bonus level the hand serves, except over the pause button.
        {MODE_GAME, true, false, false},
        {MODE_GAME, true, true, true},
        {MODE_GAME | MODE_PAUSED, true, false, true},
        {MODE_GAME | MODE_GAME_OVER_PAGE, false, false, false},
        {MODE_GAME | MODE_GAME_OVER_PAGE | MODE_GAME_COMPLETED, false, false, true},
        {MODE_GAME | MODE_EXIT_TO_MENU, false, false, false},
        {MODE_GAME | MODE_EXIT_TO_MENU | MODE_PAUSED, false, false, true},
        // While the loading screen waits, only the pages before it show it.
        {MODE_GAME | MODE_LOAD_TEXTURES, false, false, false},
        {MODE_GAME | MODE_LOAD_TEXTURES | MODE_COMICS_2, false, false, true},
        {MODE_GAME | MODE_LOAD_TEXTURES | MODE_PET_CHOICE, false, false, true},
        {MODE_GAME | MODE_LOAD_TEXTURES | MODE_MAP, false, false, false},
    };
    for (const Case& c : cases) {
        g_gameSession.GetLevel().bonus = c.bonus;
        g_gameSession.GetButton(BTN_PAUSE).hovered = c.pauseHovered;
        EXPECT_EQ(CursorDraws(c.mode).size(), c.drawn ? 1u : 0u) << std::hex << c.mode;
    }
}

TEST_F(SceneRenderTest, TheCursorCellFollowsTheLeftButtonAndSitsAtThePointerMinusEleven) {
    g_gameSession.SetGameMode(MODE_GAME | MODE_PAUSED);
    g_gameSession.UpdateFade(1.0f);
    ASSERT_EQ(g_gameSession.GetFadeLevel(), 127.0f);

    std::vector<media_test::RecordedDraw> draws = CursorDraws(MODE_GAME);
    ASSERT_EQ(draws.size(), 1u);
    ASSERT_TRUE(draws[0].source.has_value());
    EXPECT_EQ(draws[0].source->top, 59);
    EXPECT_EQ(draws[0].source->bottom, 118);
    EXPECT_EQ(draws[0].translation.x, 289.0f);
    EXPECT_EQ(draws[0].translation.y, 189.0f);
    EXPECT_EQ(draws[0].colour, 0xFFFFFFFFu) << "at full brightness whatever the fade";
    EXPECT_EQ(Resources().GetColourMask(), 0xFF7F7F7Fu) << "and back to the fade";

    input.currentMouse.buttons[0] = 0x80;
    draws = CursorDraws(MODE_GAME);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].source->top, 0);
    EXPECT_EQ(draws[0].source->bottom, 59);
}

}  // namespace
