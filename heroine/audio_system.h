#pragma once
// The audio system, whose music holds back the wishes of the fish while it plays.
#include <cstdint>

class CAudioSystem {
public:
    // Places and builds the device for the location and its level 0 to 3.
    void Setup(std::int32_t /*location*/, std::int32_t /*level*/) {}
    bool IsWorking() const { return m_working; }
    // How strongly the running music holds the wishes back; 0 while it is off.
    float GetEffect() const { return m_effect; }

private:
    bool m_working = false;
    float m_effect = 0.0f;
};
