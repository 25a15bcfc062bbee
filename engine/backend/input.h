#pragma once
// The keyboard and mouse as the game sees them: a 256-byte key array indexed by
// PC set-1 scan codes and eight mouse buttons (0 left, 1 right, 2 middle).
#include <array>
#include <cstdint>

namespace backend {

struct InputSnapshot {
    std::array<std::uint8_t, 256> keys{};   // 0x80 while held
    std::array<std::uint8_t, 8> buttons{};  // 0x80 while held
    float cursorX = 0.0f;                   // window (back-buffer) pixels
    float cursorY = 0.0f;
    int relativeX = 0;  // motion since the previous TakeInputSnapshot
    int relativeY = 0;
    int wheel = 0;  // notches since the previous TakeInputSnapshot, positive away from the user
};

// The live state, updated by the window's event pump. Tests write into it
// directly to inject input.
InputSnapshot& LiveInput();

// Returns the current state and clears the accumulated relative motion and wheel.
InputSnapshot TakeInputSnapshot();

// Scan codes the engine names.
enum ScanCode : std::uint8_t {
    SCAN_ESCAPE = 0x01,
    SCAN_BACKSPACE = 0x0E,
    SCAN_RETURN = 0x1C,
    SCAN_SPACE = 0x39,
    SCAN_F1 = 0x3B,
    SCAN_NUMPAD_ENTER = 0x9C,
    SCAN_UP = 0xC8,
    SCAN_LEFT = 0xCB,
    SCAN_RIGHT = 0xCD,
    SCAN_DOWN = 0xD0,
};

}  // namespace backend
