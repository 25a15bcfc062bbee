#include "engine/platform/input_devices.h"

#include <algorithm>

#include "engine/backend/input.h"
#include "engine/platform/html_log.h"

namespace {

// The fullscreen cursor moves a little faster than the raw mouse counts.
constexpr float MOUSE_SPEED = 1.2f;
constexpr float DESIGN_WIDTH = 1024.0f;
constexpr float DESIGN_HEIGHT = 768.0f;

bool ValidButton(int button) {
    return button == 0 || button == 1;
}

}  // namespace

bool InputState::ButtonWentDown(int button) const {
    return ValidButton(button) && !IsDownByte(previousMouse.buttons[button]) &&
           IsDownByte(currentMouse.buttons[button]);
}

bool InputState::ButtonWentUp(int button) const {
    return ValidButton(button) && IsDownByte(previousMouse.buttons[button]) &&
           !IsDownByte(currentMouse.buttons[button]);
}

bool InputState::IsButtonDown(int button) const {
    return ValidButton(button) && IsDownByte(currentMouse.buttons[button]);
}

bool InputState::KeyWentDown(std::uint8_t scanCode) const {
    return IsDownByte(currentKeys[scanCode]) && !IsDownByte(previousKeys[scanCode]);
}

HResult CInputDevices::Init(int backBufferWidth, int backBufferHeight) {
    CHtmlLog& log = HtmlLog();
    log.Write("Blue", "Initializing DirectInput8 devices");
    HResult result = CreateMouse(backBufferWidth, backBufferHeight);
    if (Failed(result)) {
        return result;
    }
    result = CreateKeyboard();
    if (Failed(result)) {
        return result;
    }
    log.Write("Green", "Complete");
    return RESULT_OK;
}

HResult CInputDevices::CreateMouse(int backBufferWidth, int backBufferHeight) {
    ReleaseMouse();
    m_mouseCreated = true;
    m_mouseExclusive = false;
    InputState& state = m_state;
    if (state.cursorX * state.cursorX + state.cursorY * state.cursorY < 0.001f) {
        state.cursorX = static_cast<float>(backBufferWidth / 2);
        state.cursorY = static_cast<float>(backBufferHeight / 2);
        state.accumulatorX = state.cursorX;
        state.accumulatorY = state.cursorY;
    }
    return RESULT_OK;
}

HResult CInputDevices::CreateKeyboard() {
    ReleaseKeyboard();
    m_keyboardCreated = true;
    return RESULT_OK;
}

HResult CInputDevices::PollKeyboard(float elapsed) {
    m_state.previousKeys = m_state.currentKeys;
    if (!m_keyboardCreated) {
        return RESULT_FAIL;
    }
    // The backend's keyboard cannot be taken away by another program, so a
    // read never fails and there is nothing to acquire again. The live array, not a snapshot:
    // taking a snapshot would swallow the mouse movement the mouse poll is about to read.
    m_state.currentKeys = backend::LiveInput().keys;
    m_state.keyRepeatTimer -= elapsed;
    if (std::none_of(m_state.currentKeys.begin(), m_state.currentKeys.end(), IsDownByte)) {
        m_state.keyRepeatTimer = 0.0f;
    }
    return RESULT_OK;
}

HResult CInputDevices::PollMouse(bool windowed, float elapsed, float scaleX, float scaleY) {
    InputState& state = m_state;
    state.previousMouse = state.currentMouse;
    if (!m_mouseCreated) {
        return RESULT_FAIL;
    }
    const backend::InputSnapshot snapshot = backend::TakeInputSnapshot();
    MouseState& mouse = state.currentMouse;
    mouse.deltaX = snapshot.relativeX;
    mouse.deltaY = snapshot.relativeY;
    mouse.deltaWheel = snapshot.wheel;
    mouse.buttons = snapshot.buttons;

    if (!windowed) {
        state.accumulatorX += static_cast<float>(mouse.deltaX) * scaleX * MOUSE_SPEED;
        state.accumulatorY += static_cast<float>(mouse.deltaY) * scaleY * MOUSE_SPEED;
        state.wheelAccumulator += static_cast<float>(mouse.deltaWheel) * MOUSE_SPEED;
        state.accumulatorX = std::min(state.accumulatorX, DESIGN_WIDTH * scaleX);
        state.accumulatorY = std::min(state.accumulatorY, DESIGN_HEIGHT * scaleY);
        state.accumulatorX = std::max(state.accumulatorX, 0.0f);
        state.accumulatorY = std::max(state.accumulatorY, 0.0f);
        state.cursorX = state.accumulatorX;
        state.cursorY = state.accumulatorY;
    }
    state.rawDeltaX = static_cast<float>(mouse.deltaX);
    state.rawDeltaY = static_cast<float>(mouse.deltaY);
    state.rawDeltaWheel = static_cast<float>(mouse.deltaWheel);

    state.buttonRepeatTimer -= elapsed;
    if (!IsDownByte(mouse.buttons[0]) && !IsDownByte(mouse.buttons[1])) {
        state.buttonRepeatTimer = 0.0f;
    }
    return RESULT_OK;
}

void CInputDevices::SetMouseCooperation(bool windowed, bool exclusive) {
    if (!m_mouseCreated) {
        return;
    }
    if (exclusive) {
        m_mouseExclusive = true;
    } else if (windowed) {
        m_mouseExclusive = false;
    }
}

void CInputDevices::ReleaseMouse() {
    m_mouseCreated = false;
}

void CInputDevices::ReleaseKeyboard() {
    m_keyboardCreated = false;
}
