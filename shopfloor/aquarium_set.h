#pragma once
// The aquarium slots of the shop floor, rebuilt for every level; in a normal
// level the index of an aquarium here is the profile's slot number. In
// training it is not: the training layout of location 1 puts slot 3 at index 1.
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "shopfloor/aquarium.h"

struct InputState;

class CAquariumSet {
public:
    // The blink-in runs until the timer reaches this.
    static constexpr float BLINK_END = 16.0f;

    // Appends one slot: its look, upgrade level, compressor style, interior
    // bits, position, scale and whether it starts hidden.
    void AddAquarium(std::int32_t look, std::int32_t level, std::int32_t compressorStyle,
                     std::uint32_t interior, float x, float y, float scaleX, float scaleY,
                     bool hidden);
    // The base-aquarium count of the level played before the one starting.
    void SetBaseCount(std::int32_t count) { m_previousBaseCount = count; }
    std::int32_t GetPreviousBaseCount() const { return m_previousBaseCount; }
    // Rebuilds the slots of the current location for the level's base
    // aquarium count from the current profile's slot levels.
    void Setup(std::int32_t baseCount);
    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    void UpdateShopHints(const InputState& input, Vec2 screenScale, float elapsed);
    // The bodies, or the overlays, of the aquariums on one side of the line.
    void RenderByDepth(backend::IRenderDevice* device, Vec2 screenScale, float line, bool inFront);
    void RenderOverlaysByDepth(backend::IRenderDevice* device, Vec2 screenScale, float line,
                               bool inFront);
    void RenderShop(backend::IRenderDevice* device, Vec2 screenScale);

    // Delivers the heroine's item (`other` is what her other hand holds) to
    // aquarium `index`: -1 when the fish waits for nothing and the item is no
    // switch, 0 when nothing was used, 1 when the item was, 2 when both hands'
    // items were (an interior set, or a food with its vitamin).
    std::int32_t ApplyItem(std::uint32_t item, std::uint32_t other, std::int32_t index);

    // Every aquarium holds no fish (also with none).
    bool AllEmpty() const;
    // Every aquarium is empty or furnished.
    bool AllEmptyOrFurnished() const;

    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_aquariums.size()); }
    // Null for an index outside the set.
    CAquarium* GetAquarium(std::int32_t index) {
        return index >= 0 && index < GetCount() ? &m_aquariums[static_cast<std::size_t>(index)]
                                                : nullptr;
    }
    // The first aquarium in slot order whose body or switch is marked; null
    // for none.
    CAquarium* FindHovered() { return GetAquarium(FindHoveredIndex()); }
    std::int32_t FindHoveredIndex() const;
    bool NoSellButtonHovered() const;
    bool AnyBubbleHovered() const;
    float GetBlinkTimer() const { return m_blinkTimer; }

    // Empties every aquarium.
    void ClearAll();
    // No slots.
    void Clear() { m_aquariums.clear(); }

private:
    // A hidden aquarium shows while the whole part of the blink timer is odd.
    bool IsShown(const CAquarium& aquarium) const {
        return !aquarium.IsHidden() ||
               (m_blinkTimer >= 0.0f && static_cast<std::int32_t>(m_blinkTimer) % 2 == 1);
    }

    std::vector<CAquarium> m_aquariums;
    std::int32_t m_previousBaseCount = 0;
    float m_blinkTimer = 0.0f;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CAquariumSet g_aquariumSet;
