// Keyboard and mouse polls over the backend's live input, which the tests
// write directly.
#include <gtest/gtest.h>

#include "engine/backend/input.h"
#include "engine/platform/input_devices.h"

namespace {

class InputDevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend::LiveInput() = backend::InputSnapshot{};
        ASSERT_EQ(input.CreateMouse(1024, 768), RESULT_OK);
        ASSERT_EQ(input.CreateKeyboard(), RESULT_OK);
    }
    void TearDown() override { backend::LiveInput() = backend::InputSnapshot{}; }

    void Poll(bool windowed = false, float scale = 1.0f) {
        input.PollKeyboard(0.02f);
        input.PollMouse(windowed, 0.02f, scale, scale);
    }

    CInputDevices input;
};

TEST_F(InputDevicesTest, HeldButtonsAndKeysGiveOneEdgeEachWay) {
    struct Frame {
        std::uint8_t left;
        std::uint8_t middle;
        std::uint8_t escape;
        bool leftDown;
        bool leftUp;
        bool leftHeld;
        bool escapeDown;
    };
    // A key held at the first poll is a press in that frame: the previous
    // state starts all up. The middle button never makes an edge.
    const Frame frames[] = {
        {0x00, 0x80, 0x80, false, false, false, true},
        {0x80, 0x80, 0x80, true, false, true, false},
        {0x80, 0x00, 0x80, false, false, true, false},
        {0x80, 0x80, 0x00, false, false, true, false},
        {0x00, 0x80, 0x80, false, true, false, true},
        {0x00, 0x00, 0x00, false, false, false, false},
    };
    int index = 0;
    for (const Frame& frame : frames) {
        backend::LiveInput().buttons[0] = frame.left;
        backend::LiveInput().buttons[2] = frame.middle;
        backend::LiveInput().keys[backend::SCAN_ESCAPE] = frame.escape;
        Poll();
        const InputState& state = input.GetState();
        EXPECT_EQ(state.ButtonWentDown(0), frame.leftDown) << index;
        EXPECT_EQ(state.ButtonWentUp(0), frame.leftUp) << index;
        EXPECT_EQ(state.IsButtonDown(0), frame.leftHeld) << index;
        EXPECT_EQ(state.KeyWentDown(backend::SCAN_ESCAPE), frame.escapeDown) << index;
        EXPECT_FALSE(state.ButtonWentDown(2)) << index;
        EXPECT_FALSE(state.IsButtonDown(2)) << index;
        EXPECT_FALSE(state.ButtonWentDown(-1)) << index;
        ++index;
    }
}

TEST_F(InputDevicesTest, FullscreenCursorFollowsTheMouseFasterAndStaysOnScreen) {
    const InputState& state = input.GetState();
    EXPECT_FLOAT_EQ(state.cursorX, 512.0f);
    EXPECT_FLOAT_EQ(state.cursorY, 384.0f);

    struct Move {
        int dx;
        int dy;
        float x;
        float y;
    };
    const Move moves[] = {
        {100, 0, 632.0f, 384.0f},                                   // 100 counts are 120 pixels
        {0, -50, 632.0f, 324.0f},   {1000, 1000, 1024.0f, 768.0f},  // held at the far edges
        {-2000, -2000, 0.0f, 0.0f}, {10, 5, 12.0f, 6.0f},
    };
    for (const Move& move : moves) {
        backend::LiveInput().relativeX = move.dx;
        backend::LiveInput().relativeY = move.dy;
        Poll();
        EXPECT_FLOAT_EQ(state.cursorX, move.x) << move.dx << "," << move.dy;
        EXPECT_FLOAT_EQ(state.cursorY, move.y) << move.dx << "," << move.dy;
        EXPECT_FLOAT_EQ(state.rawDeltaX, static_cast<float>(move.dx));
        // The backend's motion is taken once, by the mouse poll.
        EXPECT_EQ(backend::LiveInput().relativeX, 0);
    }
}

TEST_F(InputDevicesTest, FullscreenCursorScalesWithTheBackBuffer) {
    // An 800 x 600 back buffer: limits and movement are scaled by 800 / 1024.
    const float scale = 800.0f / 1024.0f;
    backend::LiveInput().relativeX = 100;
    Poll(false, scale);
    EXPECT_FLOAT_EQ(input.GetState().cursorX, 512.0f + 100.0f * scale * 1.2f);
    backend::LiveInput().relativeX = 5000;
    backend::LiveInput().relativeY = 5000;
    Poll(false, scale);
    EXPECT_FLOAT_EQ(input.GetState().cursorX, 800.0f);
    EXPECT_FLOAT_EQ(input.GetState().cursorY, 600.0f);
}

TEST_F(InputDevicesTest, WindowedPollLeavesTheCursorToTheWindow) {
    InputState& state = input.GetState();
    state.cursorX = 10.0f;
    state.cursorY = 20.0f;
    backend::LiveInput().relativeX = 30;
    backend::LiveInput().buttons[1] = 0x80;
    Poll(true);
    EXPECT_FLOAT_EQ(state.cursorX, 10.0f);
    EXPECT_FLOAT_EQ(state.cursorY, 20.0f);
    EXPECT_FLOAT_EQ(state.rawDeltaX, 30.0f);
    EXPECT_TRUE(state.ButtonWentDown(1));
}

TEST_F(InputDevicesTest, OnlyACursorAtTheOriginIsCentredByANewMouse) {
    InputState& state = input.GetState();
    state.cursorX = 100.0f;
    state.cursorY = 50.0f;
    ASSERT_EQ(input.CreateMouse(800, 600), RESULT_OK);
    EXPECT_FLOAT_EQ(state.cursorX, 100.0f);
    EXPECT_FLOAT_EQ(state.cursorY, 50.0f);

    state.cursorX = 0.0f;
    state.cursorY = 0.0f;
    ASSERT_EQ(input.CreateMouse(800, 600), RESULT_OK);
    EXPECT_FLOAT_EQ(state.cursorX, 400.0f);
    EXPECT_FLOAT_EQ(state.cursorY, 300.0f);
}

TEST_F(InputDevicesTest, PollsWithoutDevicesFailAndReportNoEdges) {
    backend::LiveInput().buttons[0] = 0x80;
    backend::LiveInput().keys[backend::SCAN_SPACE] = 0x80;
    Poll();
    ASSERT_TRUE(input.GetState().ButtonWentDown(0));
    input.ReleaseKeyboard();
    input.ReleaseMouse();
    backend::LiveInput().buttons[0] = 0x00;

    EXPECT_LT(input.PollKeyboard(0.02f), 0);
    EXPECT_LT(input.PollMouse(false, 0.02f, 1.0f, 1.0f), 0);
    const InputState& state = input.GetState();
    EXPECT_FALSE(state.ButtonWentDown(0));
    EXPECT_FALSE(state.ButtonWentUp(0));
    EXPECT_TRUE(state.IsButtonDown(0));
    EXPECT_FALSE(state.KeyWentDown(backend::SCAN_SPACE));
}

TEST_F(InputDevicesTest, RepeatTimersRunDownWhileHeldAndResetWhenReleased) {
    InputState& state = input.GetState();
    state.keyRepeatTimer = 0.5f;
    state.buttonRepeatTimer = 0.5f;
    backend::LiveInput().keys[backend::SCAN_LEFT] = 0x80;
    backend::LiveInput().buttons[1] = 0x80;
    Poll();
    EXPECT_FLOAT_EQ(state.keyRepeatTimer, 0.48f);
    EXPECT_FLOAT_EQ(state.buttonRepeatTimer, 0.48f);
    backend::LiveInput().keys[backend::SCAN_LEFT] = 0x00;
    backend::LiveInput().buttons[1] = 0x00;
    backend::LiveInput().buttons[2] = 0x80;  // the middle button does not hold the timer
    Poll();
    EXPECT_FLOAT_EQ(state.keyRepeatTimer, 0.0f);
    EXPECT_FLOAT_EQ(state.buttonRepeatTimer, 0.0f);
}

}  // namespace
