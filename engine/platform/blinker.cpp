#include "engine/platform/blinker.h"

void CBlinker::Set(float minimum, float maximum, float startValue, float unitsPerSecond,
                   std::int8_t startDirection) {
    min = minimum;
    max = maximum;
    value = startValue;
    speed = unitsPerSecond;
    direction = startDirection;
}

void CBlinker::Update(float elapsedSeconds) {
    if (direction == 0) {
        return;
    }
    value += static_cast<float>(direction) * speed * elapsedSeconds;
    if (value > max) {
        value = max;
        direction = static_cast<std::int8_t>(-direction);
    }
    if (value < min) {
        value = min;
        direction = static_cast<std::int8_t>(-direction);
    }
}
