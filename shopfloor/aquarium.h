#pragma once
// One aquarium slot of the shop floor: its upgrade level and the fish it holds.
#include <cstdint>

#include "engine/platform/geometry.h"
#include "shopfloor/fish.h"
#include "shopfloor/item_codes.h"

class CAquarium {
public:
    // The state of the fish inside.
    static constexpr std::int32_t FISH_GROWING = 0;
    static constexpr std::int32_t FISH_GROWN = 1;
    static constexpr std::int32_t FISH_DEAD = 2;

    // 0 not bought, 1 to 4.
    std::int32_t GetLevel() const { return m_level; }
    void SetLevel(std::int32_t level) { m_level = level; }

    // A young fish of the kind goes into the empty aquarium; `computer` tells
    // whether it came from a computer order.
    void PutFish(std::int32_t kind, bool computer) {
        m_fishKind = kind;
        m_computerFish = computer;
        m_fishState = FISH_GROWING;
    }
    bool IsEmpty() const { return m_fishKind < 0; }
    // Empties the aquarium after a sale or a death.
    void Reset() {
        m_fishKind = -1;
        fish = CFish();
    }
    std::int32_t GetFishKind() const { return m_fishKind; }
    bool IsComputerFish() const { return m_computerFish; }
    std::int32_t GetFishState() const { return m_fishState; }
    void SetFishState(std::int32_t state) { m_fishState = state; }
    // The pet fish's ability: the fish grows by `growth` percent.
    void ApplyPetFishAbility(std::int32_t growth) { m_petGrowth += growth; }
    std::int32_t GetPetGrowth() const { return m_petGrowth; }

    // The training's controls. `parts` is a mask of ITEM_AQUARIUM (the body),
    // ITEM_COMPRESSOR_SWITCH and ITEM_LAMP_SWITCH; `sell` adds the sell button.
    void SetPartsHighlighted(std::uint32_t parts, bool sell, bool on) {
        m_highlightedParts = on ? m_highlightedParts | parts : m_highlightedParts & ~parts;
        if (sell) {
            m_sellHighlighted = on;
        }
    }
    // A disabled part loses its hover mark and cannot be clicked.
    void SetPartsDisabled(std::uint32_t parts, bool on) {
        m_disabledParts = on ? m_disabledParts | parts : m_disabledParts & ~parts;
        if (on && (parts & ITEM_AQUARIUM) != 0) {
            hovered = false;
        }
    }
    // A disabled sell button cannot sell the fish.
    void SetSellDisabled(bool on) { m_sellDisabled = on; }
    bool IsPartHighlighted(std::uint32_t part) const { return (m_highlightedParts & part) != 0; }
    bool IsPartDisabled(std::uint32_t part) const { return (m_disabledParts & part) != 0; }
    bool IsSellHighlighted() const { return m_sellHighlighted; }
    bool IsSellDisabled() const { return m_sellDisabled; }

    // Set by the hover test of its body or one of its switches.
    bool hovered = false;
    // Its fish, meaningful while the aquarium is not empty; its bubble holds
    // the pending wish and `leaving` tells that it has been sold.
    CFish fish;
    // The top-left corner of the body picture.
    Vec2 bodyPosition;

private:
    std::int32_t m_level = 0;
    std::int32_t m_fishKind = -1;
    bool m_computerFish = false;
    std::int32_t m_fishState = FISH_GROWING;
    std::int32_t m_petGrowth = 0;
    std::uint32_t m_highlightedParts = 0;
    std::uint32_t m_disabledParts = 0;
    bool m_sellHighlighted = false;
    bool m_sellDisabled = false;
};
