#pragma once
// The shop's pet: a fish or a turtle that asks for food, charges and helps
// with its ability, and whose aquarium can be upgraded.
#include <cstdint>

class CPet {
public:
    // Places and builds the pet for its location, kind and level 1 to 6.
    void Init(std::int32_t /*location*/, std::int32_t /*kind*/, std::int32_t /*level*/) {}
};
