#pragma once
// Keyboard and mouse as the game reads them: polled once at the start of every
// frame into one InputState block, so that every update of the frame sees the
// same keys, buttons and cursor.
#include <array>
#include <cstdint>

#include "engine/platform/media_result.h"

// One read of the mouse: the movement since the previous read and eight
// buttons (0 left, 1 right, 2 middle).
struct MouseState {
    std::int32_t deltaX = 0;
    std::int32_t deltaY = 0;
    std::int32_t deltaWheel = 0;
    std::array<std::uint8_t, 8> buttons{};
};

struct InputState {
    // Back-buffer pixels. In fullscreen they follow the mouse movement; in
    // windowed mode the window's mouse-move message writes them.
    float cursorX = 0.0f;
    float cursorY = 0.0f;
    // The fullscreen cursor before it is copied to the cursor, and the summed
    // wheel movement.
    float accumulatorX = 0.0f;
    float accumulatorY = 0.0f;
    float wheelAccumulator = 0.0f;
    // The movement of the last poll.
    float rawDeltaX = 0.0f;
    float rawDeltaY = 0.0f;
    float rawDeltaWheel = 0.0f;
    // Indexed by PC set-1 scan code.
    std::array<std::uint8_t, 256> previousKeys{};
    std::array<std::uint8_t, 256> currentKeys{};
    MouseState previousMouse;
    MouseState currentMouse;
    // Seconds, counted down by each poll and back at 0 whenever nothing is held.
    float keyRepeatTimer = 0.0f;
    float buttonRepeatTimer = 0.0f;

    // Buttons 0 (left) and 1 (right) only; any other answers false.
    bool ButtonWentDown(int button) const;
    bool ButtonWentUp(int button) const;
    bool IsButtonDown(int button) const;
    bool KeyWentDown(std::uint8_t scanCode) const;
};

// A key or button byte counts as down while its bit 7 is set.
inline bool IsDownByte(std::uint8_t state) {
    return (state & 0x80) != 0;
}

class CInputDevices {
public:
    // Creates both devices; the first failure is returned.
    HResult Init(int backBufferWidth, int backBufferHeight);
    // The first creation puts a cursor lying at the origin in the middle of the
    // back buffer; a later one keeps it where it is.
    HResult CreateMouse(int backBufferWidth, int backBufferHeight);
    HResult CreateKeyboard();

    HResult PollKeyboard(float elapsed);
    // scaleX and scaleY: back-buffer pixels per design unit.
    HResult PollMouse(bool windowed, float elapsed, float scaleX, float scaleY);

    // Exclusive use of the mouse, or shared use in windowed mode.
    void SetMouseCooperation(bool windowed, bool exclusive);
    bool IsMouseExclusive() const { return m_mouseExclusive; }

    void ReleaseMouse();
    void ReleaseKeyboard();
    bool HasMouse() const { return m_mouseCreated; }
    bool HasKeyboard() const { return m_keyboardCreated; }

    InputState& GetState() { return m_state; }
    const InputState& GetState() const { return m_state; }

private:
    bool m_mouseCreated = false;
    bool m_keyboardCreated = false;
    bool m_mouseExclusive = false;
    InputState m_state;
};

// The keyboard and mouse of the game, polled once per frame. One for the whole game, defined in
// game/globals.cpp.
extern CInputDevices g_inputDevices;
