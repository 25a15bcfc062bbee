#pragma once
// The audio system, whose music holds back the wishes of the fish while it plays.
#include <cstdint>

class CAudioSystem {
public:
    // Places and builds the device for the location and its level 0 to 3.
    void Setup(std::int32_t /*location*/, std::int32_t /*level*/) {}
};
