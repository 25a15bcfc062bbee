#pragma once
// An eased back-and-forth value: five times faster through the middle of its
// range than near the turning points. Swimming, bobbing and pulsing use it.

class COscillator {
public:
    float value = 0.0f;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float speed = 0.0f;      // units per second at full pace
    float direction = 0.0f;  // +1 or -1
    // Derived: 0 halfway between the bounds, 1 at either end.
    float distanceFromCentre = 0.0f;
    float halfRange = 0.0f;

    COscillator() = default;
    COscillator(const COscillator& other);
    COscillator& operator=(const COscillator& other);

    void Clear();
    void Set(float newMinimum, float newMaximum, float newValue, float newSpeed,
             float newDirection);
    void Update(float elapsedSeconds);

private:
    void Derive();
};
