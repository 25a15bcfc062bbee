#pragma once
// The bonus level's mini-game: gulls carry off the turtles crossing the beach
// and the player's hand chases them away.
#include <cstdint>
#include <utility>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "game/level_base.h"

struct InputState;

class CBonusGame {
public:
    // The score bar and the hand cursor, once the device exists.
    void BuildSprites() {}
    // A copy of the level; its clock, counters and score start at 0.
    void StartLevel(CLevelRecord level) {
        m_level = std::move(level);
        m_clock = 0.0f;
        m_score = 0;
    }
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void Render(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    // The hand at the pointer; it stands in for the cursor on a bonus level.
    void RenderHand(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}

    const CLevelRecord& GetLevel() const { return m_level; }
    float GetClock() const { return m_clock; }
    std::int32_t GetScore() const { return m_score; }

private:
    CLevelRecord m_level;
    float m_clock = 0.0f;
    std::int32_t m_score = 0;
};
