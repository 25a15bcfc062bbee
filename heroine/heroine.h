#pragma once
// The player's character, who walks between the stations and carries at most
// two items, one per hand.
#include <cstdint>

class CHeroine {
public:
    // Her walking speed and animations for footwear level 1 to 3.
    void BuildAnimations(std::int32_t /*footwearLevel*/) {}
};
