#pragma once
// A value pulsing linearly between two bounds: the alpha of every blinking
// highlight. Owners embed it by value, set it up and step it once per frame.
#include <cstdint>

class CBlinker {
public:
    float value = 0.0f;
    float min = 0.0f;
    float max = 0.0f;
    float speed = 0.0f;  // units per second
    // 0 still, +1 rising, -1 falling; a factor of the speed, so +2 moves twice
    // as fast. Only its sign is flipped at the bounds.
    std::int8_t direction = 0;

    void Set(float minimum, float maximum, float startValue, float unitsPerSecond,
             std::int8_t startDirection);
    // A step that passes a bound ends on it (the overshoot is dropped) and turns.
    void Update(float elapsedSeconds);
};
