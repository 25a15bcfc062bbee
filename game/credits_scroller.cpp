#include "game/credits_scroller.h"

#include <algorithm>

#include "engine/media/resource_manager.h"
#include "engine/platform/text_storage.h"

namespace {

constexpr std::uint32_t HEADING = 0xFFFFFF88;
constexpr std::uint32_t NAME = 0xFFFFFFFF;

struct CreditSource {
    const char* id;
    float y;
    std::uint32_t colour;
};

constexpr CreditSource CREDITS[] = {
    {"CREDITS_1", 0.0f, HEADING},   {"CREDITS_2", 35.0f, NAME},
    {"CREDITS_3", 105.0f, HEADING}, {"CREDITS_4", 140.0f, HEADING},
    {"CREDITS_5", 175.0f, NAME},    {"CREDITS_6", 245.0f, HEADING},
    {"CREDITS_7", 280.0f, NAME},    {"CREDITS_8", 350.0f, HEADING},
    {"CREDITS_9", 385.0f, NAME},    {"CREDITS_10", 455.0f, HEADING},
    {"CREDITS_11", 490.0f, NAME},   {"CREDITS_12", 560.0f, HEADING},
    {"CREDITS_13", 595.0f, NAME},   {"COPYRIGHT", 700.0f, NAME},
};

}  // namespace

void CCreditsScroller::Build() {
    m_lines.clear();
    for (const CreditSource& source : CREDITS) {
        CreditLine line;
        line.text = TextStorage().FindIndex(source.id);
        line.colour = source.colour;
        line.y = source.y;
        m_lines.push_back(line);
    }
    m_startX = START_X;
    m_startY = START_Y;
    m_scrollX = m_startX;
    m_scrollY = m_startY;
}

void CCreditsScroller::Restart() {
    m_active = true;
    m_scrollX = m_startX;
    m_scrollY = m_startY;
    for (CreditLine& line : m_lines) {
        line.alpha = 0.0f;
    }
}

void CCreditsScroller::Update(float elapsed) {
    if (!m_active) {
        return;
    }
    m_scrollY -= SCROLL_SPEED * elapsed;
    const float step = FADE_SPEED * elapsed;
    for (CreditLine& line : m_lines) {
        const float y = m_scrollY + line.y;
        if (y < FADE_OUT_LINE) {
            if (line.alpha > 0.0f) {
                line.alpha = std::max(line.alpha - step, 0.0f);
            }
        } else if (y < FADE_IN_LINE) {
            if (line.alpha < 255.0f) {
                line.alpha = std::min(line.alpha + step, 255.0f);
            }
        }
    }
    if (!m_lines.empty() && m_lines.back().alpha <= 0.0f &&
        m_scrollY + m_lines.back().y < FADE_OUT_LINE) {
        Restart();
    }
}

void CCreditsScroller::Render(Vec2 screenScale) {
    if (!m_active) {
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    for (const CreditLine& line : m_lines) {
        const auto alphaByte = static_cast<std::uint32_t>(static_cast<std::int32_t>(line.alpha));
        const std::uint32_t colour = line.colour & (alphaByte * 0x1000000u + 0xFFFFFFu);
        const std::u16string text = TextStorage().GetTextAt(line.text);
        const float y = (m_scrollY + line.y) * screenScale.y;
        // The names are set smaller than the headings, a little to the right.
        if (line.colour == NAME) {
            resources.DrawText(0, text, {0.85f * screenScale.x, 0.85f * screenScale.y},
                               {(m_scrollX + line.x + 5.0f) * screenScale.x, y}, colour, true,
                               false, 0.0f, 0.0f, false);
        } else {
            resources.DrawText(1, text, screenScale, {(m_scrollX + line.x) * screenScale.x, y},
                               colour, true, false, 1.0f, 0.0f, false);
        }
    }
}
