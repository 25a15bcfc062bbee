#pragma once
// The machine that builds aquarium interiors from the selected ingredients.
#include <cstdint>

class CMachine {
public:
    // Places and builds the machine for the location and its level 1 to 3.
    void Build(std::int32_t /*location*/, std::int32_t /*level*/) {}
};
