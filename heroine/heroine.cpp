#include "heroine/heroine.h"

#include "game/globals.h"

void CHeroine::Reset(std::int32_t location, bool levelStart) {
    switch (location) {
        case 1:
            position = g_gameSession.HasModeBits(MODE_TRAINING) ? Vec2{660.0f, 200.0f}
                                                                : Vec2{550.0f, 430.0f};
            break;
        case 2:
            position = levelStart ? Vec2{690.0f, 80.0f} : Vec2{430.0f, 30.0f};
            break;
        case 3:
            position = Vec2{660.0f, 20.0f};
            break;
        default:
            // An unknown location keeps her where she stands.
            break;
    }
    state = STATE_IDLE;
    firstHandItem = 0;
    secondHandItem = 0;
}

void CHeroine::PlayLevelCompletePose() {
    if (firstHandItem == 0 && secondHandItem == 0) {
        state = STATE_IDLE;
    }
}
