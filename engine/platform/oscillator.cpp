#include "engine/platform/oscillator.h"

#include <cmath>

COscillator::COscillator(const COscillator& other) {
    *this = other;
}

COscillator& COscillator::operator=(const COscillator& other) {
    value = other.value;
    minimum = other.minimum;
    maximum = other.maximum;
    speed = other.speed;
    direction = other.direction;
    Derive();
    return *this;
}

void COscillator::Clear() {
    *this = COscillator();
}

void COscillator::Set(float newMinimum, float newMaximum, float newValue, float newSpeed,
                      float newDirection) {
    minimum = newMinimum;
    maximum = newMaximum;
    value = newValue;
    speed = newSpeed;
    direction = newDirection;
    Derive();
}

void COscillator::Derive() {
    halfRange = (maximum - minimum) * 0.5f;
    distanceFromCentre = halfRange == 0.0f ? 0.0f : std::fabs((value - minimum) / halfRange - 1.0f);
}

void COscillator::Update(float elapsedSeconds) {
    if (halfRange == 0.0f) {
        return;
    }
    // 1.25 at the centre and 0.25 at the ends: the motion eases into each turn.
    value += (1.25f - distanceFromCentre) * speed * direction * elapsedSeconds;
    if (value > maximum) {
        value = maximum;
        direction = -direction;
    }
    if (value < minimum) {
        value = minimum;
        direction = -direction;
    }
    Derive();
}
