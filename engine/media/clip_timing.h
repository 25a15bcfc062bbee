#pragma once
// The timing both sprite animations share: a clip's play time runs down, and
// its frame timer lets the clip take at most one step per update.

// Counts `playTime` down to 0 (a negative value, playing endlessly, is left
// alone) and adds `elapsed` to `timer`. True when the clip takes its step now;
// the timer then starts again, so a long frame drops the rest of its time.
inline bool TakeClipStep(float& playTime, float& timer, float frameTime, float elapsed) {
    if (playTime > 0.0f) {
        playTime -= elapsed;
        if (playTime < 0.0f) {
            playTime = 0.0f;
        }
    }
    timer += elapsed;
    if (timer < frameTime) {
        return false;
    }
    timer = 0.0f;
    return true;
}
