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

    // The base-aquarium count of the level played before, against which the
    // next Setup lets a new slot blink in.
    void SetBaseCount(std::int32_t count) { m_previousBaseCount = count; }
    std::int32_t GetPreviousBaseCount() const { return m_previousBaseCount; }
    // No aquarium holds a fish (also with no aquariums at all).
    bool AllEmpty() const {
        for (const CAquarium& aquarium : m_aquariums) {
            if (!aquarium.IsEmpty()) {
                return false;
            }
        }
        return true;
    }
    // Every aquarium is empty or furnished; these slots are never furnished
    // yet, so only empty ones count.
    bool AllEmptyOrFurnished() const { return AllEmpty(); }

private:
    std::vector<CAquarium> m_aquariums;
    std::int32_t m_previousBaseCount = 0;
};
