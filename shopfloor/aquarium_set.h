#pragma once
// The aquarium slots of the shop floor, rebuilt for every level; the index of
// an aquarium here is the profile's slot number.
#include <cstdint>
#include <vector>

#include "shopfloor/aquarium.h"

class CAquariumSet {
public:
    // Appends one slot: its look, upgrade level, compressor style, interior
    // bits, position, scale and whether it starts hidden.
    void AddAquarium(std::int32_t /*look*/, std::int32_t level, std::int32_t /*compressorStyle*/,
                     std::uint32_t /*interior*/, float /*x*/, float /*y*/, float /*scaleX*/,
                     float /*scaleY*/, bool /*hidden*/) {
        m_aquariums.emplace_back().SetLevel(level);
    }
    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_aquariums.size()); }
    // Null for an index outside the set.
    CAquarium* GetAquarium(std::int32_t index) {
        return index >= 0 && index < GetCount() ? &m_aquariums[static_cast<std::size_t>(index)]
                                                : nullptr;
    }

    // The first aquarium in slot order under the cursor; null for none.
    CAquarium* FindHovered() {
        for (CAquarium& aquarium : m_aquariums) {
            if (aquarium.hovered) {
                return &aquarium;
            }
        }
        return nullptr;
    }
    // No slots.
    void Clear() { m_aquariums.clear(); }

private:
    std::vector<CAquarium> m_aquariums;
};
