#pragma once
// One aquarium slot of the shop floor: its upgrade level and the fish it holds.
#include <cstdint>

#include "engine/platform/geometry.h"
#include "engine/platform/placed_rect.h"

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
    std::int32_t GetFishKind() const { return m_fishKind; }
    bool IsComputerFish() const { return m_computerFish; }
    std::int32_t GetFishState() const { return m_fishState; }
    void SetFishState(std::int32_t state) { m_fishState = state; }
    // The pet fish's ability: the fish grows by `growth` percent.
    void ApplyPetFishAbility(std::int32_t growth) { m_petGrowth += growth; }
    std::int32_t GetPetGrowth() const { return m_petGrowth; }

    // Set by the hover tests of its body and of its two switches.
    bool hovered = false;
    bool lampHovered = false;
    bool compressorHovered = false;
    // The top-left corner of the body picture.
    Vec2 bodyPosition;
    // Where the heroine's feet stand for its three tasks, and where the tags
    // of her body, lamp and compressor tasks are drawn.
    Vec2 stationPoint;
    Vec2 bodyTagPoint;
    Vec2 lampTagPoint;
    Vec2 compressorTagPoint;
    // The box her paths go around.
    CPlacedRect shape;
    // The item its fish waits for; 0 while it waits for nothing.
    std::uint32_t wish = 0;

private:
    std::int32_t m_level = 0;
    std::int32_t m_fishKind = -1;
    bool m_computerFish = false;
    std::int32_t m_fishState = FISH_GROWING;
    std::int32_t m_petGrowth = 0;
};
