#pragma once
// The credits of the menu's credits page: lines of language texts that scroll
// up at a steady pace, fade in once they rise above the lower line, fade out
// above the upper line, and start again from the bottom when the last line has
// gone.
#include <cstdint>
#include <vector>

#include "engine/platform/geometry.h"

struct CreditLine {
    std::int32_t text = -1;  // index into the language table; -1 when absent
    float alpha = 0.0f;
    std::uint32_t colour = 0;
    // Offset from the scroll position, design units.
    float x = 0.0f;
    float y = 0.0f;
};

class CCreditsScroller {
public:
    static constexpr float START_X = 512.0f;
    static constexpr float START_Y = 580.0f;
    // Design pixels per second, upwards.
    static constexpr float SCROLL_SPEED = 25.0f;
    // Alpha units per second of both fades.
    static constexpr float FADE_SPEED = 200.0f;
    // Lines fade in above the lower line and out above the upper one.
    static constexpr float FADE_IN_LINE = 580.0f;
    static constexpr float FADE_OUT_LINE = 220.0f;

    // The lines in the current language, from the start position. Leaves the
    // scroller running or stopped as it was.
    void Build();
    // From the start position, every line invisible.
    void Restart();
    void Stop() { m_active = false; }
    void Update(float elapsed);
    void Render(Vec2 screenScale);

    bool IsActive() const { return m_active; }
    const std::vector<CreditLine>& GetLines() const { return m_lines; }
    Vec2 GetScrollPosition() const { return {m_scrollX, m_scrollY}; }

private:
    std::vector<CreditLine> m_lines;
    float m_scrollX = 0.0f;
    float m_scrollY = 0.0f;
    float m_startX = START_X;
    float m_startY = START_Y;
    bool m_active = false;
};
