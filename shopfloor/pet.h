#pragma once
// The shop's pet: a fish or a turtle that asks for food, charges and helps
// with its ability, and whose aquarium can be upgraded.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "shopfloor/depth_pass.h"

struct InputState;

class CPet {
public:
    // From the top of the pet's stand to the edge the depth passes compare.
    static constexpr float DEPTH_BELOW_STAND = 108.0f;

    // Places and builds the pet for its location, kind and level 1 to 6.
    void Init(std::int32_t location, std::int32_t kind, std::int32_t level) {
        m_location = location;
        m_kind = kind;
        m_level = level;
    }
    void SetAnimState(std::int32_t state) { m_animState = state; }
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void UpdateShop(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    // The pet in the pass that IsDrawnInPass chooses for the line.
    void RenderByDepth(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/, float /*line*/,
                       bool /*inFront*/) {}
    void RenderAbility(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderShopLevel(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderUpgradeButton(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}

    float GetBottomEdge() const { return position.y + DEPTH_BELOW_STAND; }
    bool IsDrawnInPass(float line, bool inFront) const {
        return IsInDepthPass(GetBottomEdge(), line, inFront);
    }
    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetKind() const { return m_kind; }
    std::int32_t GetLevel() const { return m_level; }
    std::int32_t GetAnimState() const { return m_animState; }

    // The top-left corner of the pet's stand.
    Vec2 position;

private:
    std::int32_t m_location = 0;
    std::int32_t m_kind = 0;
    std::int32_t m_level = 0;
    std::int32_t m_animState = 0;
};
