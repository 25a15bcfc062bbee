#pragma once
// The level's tools and ingredients on the shop floor.
#include <cstdint>

#include "engine/platform/geometry.h"

class CInstrumentPanel {
public:
    // The level of every item of exactly that kind (the computer and the
    // vitamins after a purchase).
    void SetLevelByKind(std::uint32_t /*kind*/, std::int32_t /*level*/) {}
    // Where the first item of that kind stands; (0, 0) while none has it.
    Vec2 GetItemPosition(std::uint32_t /*kind*/) const { return {}; }
};
