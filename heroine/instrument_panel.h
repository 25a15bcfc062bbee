#pragma once
// The level's tools and ingredients on the shop floor.
#include <cstdint>

class CInstrumentPanel {
public:
    // The level of every item of exactly that kind (the computer and the
    // vitamins after a purchase).
    void SetLevelByKind(std::uint32_t /*kind*/, std::int32_t /*level*/) {}
};
