#pragma once
// The machine that builds aquarium interiors from the selected ingredients.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

class CMachine {
public:
    // Places and builds the machine for the location and its level 1 to 3.
    void Build(std::int32_t location, std::int32_t level) {
        m_location = location;
        m_level = level;
    }
    // An empty queue and no product.
    void Reset() { m_working = false; }
    void SetDisabled(bool disabled) { m_disabled = disabled; }
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void UpdateShop(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void Render(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderShop(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}

    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetLevel() const { return m_level; }
    bool IsDisabled() const { return m_disabled; }
    bool IsWorking() const { return m_working; }

private:
    std::int32_t m_location = 0;
    std::int32_t m_level = 0;
    bool m_disabled = false;
    bool m_working = false;
};
