#pragma once
// The audio system, whose music holds back the wishes of the fish while it plays.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

class CAudioSystem {
public:
    // Places and builds the device for the location and its level 0 to 3.
    void Setup(std::int32_t location, std::int32_t level) {
        m_location = location;
        m_level = level;
    }
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void UpdateShop(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void Render(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderShop(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}

    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetLevel() const { return m_level; }
    bool IsWorking() const { return m_working; }
    // How strongly the running music holds the wishes back; 0 while it is off.
    float GetEffect() const { return m_effect; }

private:
    std::int32_t m_location = 0;
    std::int32_t m_level = 0;
    bool m_working = false;
    float m_effect = 0.0f;
};
