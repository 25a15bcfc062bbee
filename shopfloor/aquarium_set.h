#pragma once
// The aquarium slots of the shop floor, rebuilt for every level; the index of
// an aquarium here is the profile's slot number.
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "shopfloor/aquarium.h"

struct InputState;

class CAquariumSet {
public:
    // Appends one slot: its look, upgrade level, compressor style, interior
    // bits, position, scale and whether it starts hidden.
    void AddAquarium(std::int32_t /*look*/, std::int32_t level, std::int32_t /*compressorStyle*/,
                     std::uint32_t /*interior*/, float /*x*/, float /*y*/, float /*scaleX*/,
                     float /*scaleY*/, bool /*hidden*/) {
        m_aquariums.emplace_back().SetLevel(level);
    }
    // Rebuilds the slots of the current location for the level's base
    // aquarium count.
    void Setup(std::int32_t /*baseCount*/) {}
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void UpdateShopHints(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    // The bodies, or the overlays, of the aquariums on one side of the line.
    void RenderByDepth(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/, float /*line*/,
                       bool /*inFront*/) {}
    void RenderOverlaysByDepth(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/,
                               float /*line*/, bool /*inFront*/) {}
    void RenderShop(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_aquariums.size()); }
    // Null for an index outside the set.
    CAquarium* GetAquarium(std::int32_t index) {
        return index >= 0 && index < GetCount() ? &m_aquariums[static_cast<std::size_t>(index)]
                                                : nullptr;
    }

    // The first aquarium in slot order whose body or switch is under the
    // cursor; null for none.
    CAquarium* FindHovered() { return GetAquarium(FindHoveredIndex()); }
    // Its slot index, -1 for none.
    std::int32_t FindHoveredIndex() const {
        for (std::size_t i = 0; i < m_aquariums.size(); ++i) {
            const CAquarium& aquarium = m_aquariums[i];
            if (aquarium.hovered || aquarium.lampHovered || aquarium.compressorHovered) {
                return static_cast<std::int32_t>(i);
            }
        }
        return -1;
    }
    // Delivers a carried item to the fish of slot `index`, `other` being what
    // the carrier's other hand holds: -1 when the fish waits for nothing and
    // the item is no switch, 0 when nothing was used (or no such slot), 1 when
    // the item was used, 2 when both hands' items were (an interior set, or a
    // food with a vitamin in the other hand).
    std::int32_t ApplyItem(std::uint32_t item, std::uint32_t other, std::int32_t index) {
        CAquarium* aquarium = GetAquarium(index);
        if (aquarium == nullptr || item == 0) {
            return 0;
        }
        const bool isSwitch = item == 0x10000000u || item == 0x8000000u;
        if (aquarium->wish == 0) {
            return isSwitch ? 0 : -1;
        }
        std::int32_t used = 0;
        if (isSwitch) {
            used = other == 0 && (aquarium->wish & item) != 0 ? 1 : 0;
        } else if ((other == 0x10000u || other == 0x20000u) && (item | other) == aquarium->wish) {
            used = 2;
        } else if (item == aquarium->wish) {
            used = item < 0x1000u ? 2 : 1;
        }
        if (used > 0) {
            aquarium->wish = 0;
        }
        return used;
    }
    // No slots.
    void Clear() { m_aquariums.clear(); }

private:
    std::vector<CAquarium> m_aquariums;
};
