#include <algorithm>
#include <cmath>
#include <string>

#include "engine/media/resource_manager.h"
#include "engine/platform/text_storage.h"
#include "frontend/menu.h"

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr const char16_t* VERSION_NUMBER = u" 1.04";

CResourceManager& Resources() {
    return ResourceManager::Instance();
}

// The blinker's value as the alpha byte over white.
std::uint32_t BlinkAlpha(const CBlinker& blinker) {
    return (static_cast<std::uint32_t>(static_cast<std::int32_t>(blinker.value)) << 24) |
           0x00FFFFFFu;
}

std::u16string Widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

}  // namespace

bool CMenu::Draw() const {
    if (m_items.empty()) {
        return false;
    }
    for (const MenuItem& item : m_items) {
        if (!item.hidden && item.parentId == m_currentId) {
            DrawItem(item);
        }
    }
    return true;
}

void CMenu::DrawItem(const MenuItem& item) const {
    const Vec2 scaling{item.scale * m_scaleX, item.scale * m_scaleY};
    const float half = static_cast<float>(item.width) * item.scale / 2.0f;
    const std::uint32_t buttonColour = BlinkAlpha(item.blinker);
    const std::uint32_t textColour = item.blink ? item.colour & buttonColour : item.colour;
    const float p = item.pressed ? 1.0f : 0.0f;
    const std::u16string caption = TextStorage().GetTextAt(item.textIndex);
    const auto image = [&](std::int32_t index, const MenuRect& source, Vec2 position,
                           std::uint32_t colour) {
        Resources().DrawImage(index, &source, &scaling, nullptr, 0.0f, position, colour);
    };
    const auto text = [&](const std::u16string& line, Vec2 position, std::uint32_t colour,
                          bool centreX) {
        Resources().DrawText(item.font, line, scaling, position, colour, centreX, false, 0.0f, 0.0f,
                             true);
    };
    // Check boxes and sliders anchor at the centred caption when asked.
    const float anchorX = item.centered ? item.textX : item.x;
    const Vec2 secondCaption{(anchorX + static_cast<float>(item.xDisp)) * m_scaleX,
                             (item.textY + static_cast<float>(item.yDisp)) * m_scaleY};
    const Vec2 buttonAt{(item.x - half) * m_scaleX + p, item.y * m_scaleY + p};

    const std::string& type = item.type;
    if (type == "_SIMPLE") {
        if (item.state != 0 && item.hoverImage >= 0) {
            image(item.hoverImage, item.rect1, buttonAt, buttonColour);
        } else {
            image(item.image, item.sourceRect, buttonAt, buttonColour);
        }
        text(caption, {item.textX * m_scaleX + p, item.textY * m_scaleY + p}, textColour, false);
    } else if (type == "_HEADER") {
        image(item.image, item.sourceRect, buttonAt, WHITE);
        if (!item.disabled) {
            text(caption, {item.textX * m_scaleX, item.textY * m_scaleY}, textColour, false);
        }
    } else if (type == "_COMBO") {
        image(item.image, item.sourceRect, buttonAt, item.colour);
        text(caption,
             {(item.x + static_cast<float>(item.xDisp)) * m_scaleX,
              (item.textY + static_cast<float>(item.yDisp)) * m_scaleY},
             WHITE, false);
    } else if (type == "_CHECK") {
        image(item.image, item.sourceRect, {(anchorX - half) * m_scaleX + p, item.y * m_scaleY + p},
              item.colour);
        text(caption, secondCaption, WHITE, false);
    } else if (type == "_SCROLL") {
        // The fill and the knob stop at the track's ends, whatever the value.
        const auto percent = static_cast<float>(std::clamp(item.value, 0, 100));
        const float fill = percent * static_cast<float>(item.width) / 100.0f;
        const float trackWidth = static_cast<float>(RectWidth(item.rect1));
        image(item.image, item.rect1,
              {(item.x - (trackWidth + 1.0f) * item.scale / 2.0f) * m_scaleX, item.y * m_scaleY},
              item.colour);
        MenuRect filled = item.sourceRect;
        filled.right = SaturateToInt32(std::int64_t{filled.left} + TruncateToInt32(fill));
        const auto rise =
            static_cast<float>(std::int64_t{RectHeight(item.sourceRect)} - RectHeight(item.rect1)) *
            item.scale;
        image(item.image, filled, {(item.x - half) * m_scaleX, (item.y - rise / 2.0f) * m_scaleY},
              item.colour);
        const auto knobWidth = static_cast<float>(RectWidth(item.rect2));
        const auto knobHeight = static_cast<float>(RectHeight(item.rect2));
        const float knobX =
            (item.x - (knobWidth + static_cast<float>(item.width)) * item.scale / 2.0f + fill) *
            m_scaleX;
        const float knobY =
            (item.y + (static_cast<float>(item.height) - knobHeight + 1.0f) * item.scale / 2.0f) *
            m_scaleY;
        image(item.image, item.rect2, {std::trunc(knobX), std::trunc(knobY)}, item.colour);
        text(caption, secondCaption, WHITE, false);
    } else if (type == "_DISPLAYMODE") {
        const float d1 = item.pressed && item.state == 1 ? 1.0f : 0.0f;
        const float d2 = item.pressed && item.state == 2 ? 1.0f : 0.0f;
        image(item.image, item.sourceRect,
              {(item.x - half) * m_scaleX + d1, item.y * m_scaleY + d1}, item.colour);
        image(item.image, item.rect1,
              {(item.x - half + static_cast<float>(item.xDisp)) * m_scaleX + d2,
               item.y * m_scaleY + d2},
              item.colour);
        if (item.value >= 0 && static_cast<std::size_t>(item.value) < m_displayModes.size()) {
            const backend::DisplayMode& mode = m_displayModes[static_cast<std::size_t>(item.value)];
            const std::u16string line =
                Widen(std::to_string(mode.width) + "x" + std::to_string(mode.height));
            text(line,
                 {(item.textX + static_cast<float>(item.xDisp) * 0.5f) * m_scaleX,
                  (item.y + static_cast<float>(item.yDisp)) * m_scaleY},
                 textColour, true);
        }
    } else if (type == "_PROFILE") {
        image(item.image, item.sourceRect, {(item.x - half) * m_scaleX, item.y * m_scaleY + p},
              WHITE);
        if (!item.disabled) {
            // textX holds half the name's width in screen pixels here.
            const float nameHalf = item.centered ? item.textX * item.scale : 0.0f;
            text(item.text,
                 {(item.x + static_cast<float>(item.xDisp)) * m_scaleX - nameHalf + p,
                  (item.textY * item.scale + static_cast<float>(item.yDisp)) * m_scaleY + p},
                 textColour, false);
        }
    } else if (type == "_GREETING") {
        const std::u16string name = GetSelectedProfileName() + u"!";
        const float nameWidth = Resources().GetTextWidth(item.font, name, 0.0f, false, -1);
        text(caption + name,
             {(item.textX - nameWidth * 0.5f * item.scale) * m_scaleX, item.textY * m_scaleY},
             textColour, false);
    }
}

void CMenu::DrawVersion(std::int32_t font, float x, float y, float scale,
                        std::uint32_t colour) const {
    if (!m_currentId.empty()) {
        return;
    }
    Resources().DrawText(font, TextStorage().GetText("VERSION") + VERSION_NUMBER,
                         {scale * m_scaleX, scale * m_scaleY}, {x * m_scaleX, y * m_scaleY}, colour,
                         false, false, 0.0f, 0.0f, true);
}

void CMenu::DrawCopyright(std::int32_t font, float x, float y, float scale,
                          std::uint32_t colour) const {
    if (!m_currentId.empty()) {
        return;
    }
    Resources().DrawText(font, TextStorage().GetText("COPYRIGHT"),
                         {scale * m_scaleX, scale * m_scaleY}, {x * m_scaleX, y * m_scaleY}, colour,
                         false, false, 0.0f, 0.0f, true);
}

void CMenu::DrawCursor() const {
    if (m_cursors.empty()) {
        return;
    }
    const MenuCursor& cursor = m_cursors.front();
    const MenuRect& source = cursor.pressed ? cursor.pressedRect : cursor.rect;
    const Vec2 scaling{m_scaleX, m_scaleY};
    Resources().DrawImage(cursor.image, &source, &scaling, nullptr, 0.0f, {m_cursorX, m_cursorY},
                          WHITE);
}
