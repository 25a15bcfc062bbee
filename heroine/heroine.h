#pragma once
// The player's character, who walks between the stations and carries at most
// two items, one per hand.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

class CHeroine {
public:
    // Idle: standing, no task under way.
    static constexpr std::int32_t STATE_IDLE = 0x10;

    // Her walking speed and animations for footwear level 1 to 3; her box
    // becomes the size of the built figure.
    void BuildAnimations(std::int32_t footwearLevel) {
        m_footwearLevel = footwearLevel;
        box = backend::Rect{0, 0, 83, 256};
    }
    // Empty hands, idle, at the start point of the location; a level start
    // puts her elsewhere in location 2 than a game start or the shop's end.
    void Reset(std::int32_t location, bool levelStart);
    // A won level: with both hands empty she strikes her pose and stands idle.
    void PlayLevelCompletePose();
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void UpdateShop(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void RenderShadow(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderBody(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderTaskTags(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/,
                        bool /*inFront*/) {}
    void RenderWorkEffects(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderShop(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}

    // The y of her feet, around which the shop floor is drawn in two passes.
    float GetFeetLine() const { return position.y + static_cast<float>(box.bottom - box.top); }
    std::int32_t GetFootwearLevel() const { return m_footwearLevel; }

    // Read by the scene and the training: the top-left corner of her box, the
    // box relative to it, her state word and what each hand holds.
    Vec2 position;
    backend::Rect box{0, 0, 128, 280};
    std::int32_t state = 0;
    std::uint32_t firstHandItem = 0;
    std::uint32_t secondHandItem = 0;

private:
    std::int32_t m_footwearLevel = 0;
};
