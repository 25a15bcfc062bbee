// The heroine's record: her direction index, her start points and her
// level-complete pose.
#include "heroine/heroine.h"

#include "game/game_session.h"

int CHeroine::DirectionOf(std::int32_t walkState) {
    switch (walkState) {
        case WALK_DOWN:
            return 0;
        case WALK_DOWN | WALK_RIGHT:
            return 1;
        case WALK_RIGHT:
            return 2;
        case WALK_UP | WALK_RIGHT:
            return 3;
        case WALK_UP:
            return 4;
        case WALK_UP | WALK_LEFT:
            return 5;
        case WALK_LEFT:
            return 6;
        case WALK_DOWN | WALK_LEFT:
            return 7;
        default:
            return -1;
    }
}

void CHeroine::Reset(std::int32_t location, bool levelStart) {
    atStation = false;
    tasks.clear();
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
    legStart = position;
    state = STATE_IDLE;
    firstHandItem = 0;
    secondHandItem = 0;
    firstHandPicture.Clear();
    secondHandPicture.Clear();
    ResetFigure();
}

void CHeroine::PlayLevelCompletePose() {
    if (firstHandItem != 0 || secondHandItem != 0) {
        return;
    }
    PlayStanding(14, 0, 0.1f);
    state = STATE_IDLE;
}
