#pragma once
// The backdrop of the shop floor: the room of the current location with its
// decoration. Other parts ask it which location is being played.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/media_result.h"
#include "engine/platform/geometry.h"

class CLocation {
public:
    // The location and its decoration level for the level about to start.
    void Set(std::int32_t location, std::int32_t decorationLevel) {
        m_location = location;
        m_decorationLevel = decorationLevel;
    }
    // The background pictures of every location, once the device exists.
    void Build() {}
    void Update(Vec2 /*screenScale*/, float /*elapsed*/) {}
    void UpdateShop(Vec2 /*screenScale*/, float /*elapsed*/) {}
    // With `bonus` only the bonus level's picture.
    HResult Render(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/, bool /*bonus*/) {
        return RESULT_OK;
    }

    // 1 to 3, as last set for the level.
    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetDecorationLevel() const { return m_decorationLevel; }

private:
    std::int32_t m_location = 1;
    std::int32_t m_decorationLevel = 0;
};
