#include "game/hint_manager.h"

#include <algorithm>
#include <numbers>

#include "engine/media/resource_manager.h"
#include "engine/platform/text_storage.h"

namespace {

// The arrow's cell in "UPGRADES".
constexpr std::int32_t ARROW_LEFT = 390;
constexpr std::int32_t ARROW_RIGHT = 467;
constexpr std::int32_t ARROW_TOP = 433;
constexpr std::int32_t ARROW_BOTTOM = 490;
constexpr float ARROW_W = static_cast<float>(ARROW_RIGHT - ARROW_LEFT);
constexpr float ARROW_H = static_cast<float>(ARROW_BOTTOM - ARROW_TOP);
// How far an arrow bobs along its direction, and how fast.
constexpr float ARROW_BOB = 7.0f;
constexpr float ARROW_BOB_SPEED = 100.0f;

constexpr Vec2 HEADER_OFFSET{22.0f, 7.0f};
// The Japanese font needs the header lower in its band.
constexpr Vec2 HEADER_OFFSET_JAPANESE{22.0f, 13.0f};
constexpr Vec2 TEXT_OFFSET{30.0f, 55.0f};
constexpr float TEXT_SIZE = 0.65f;
constexpr float TEXT_LINE_SPACING = -6.0f;

bool IsHorizontal(Vec2 direction) {
    return direction.y == 0.0f && (direction.x == 1.0f || direction.x == -1.0f);
}
bool IsVertical(Vec2 direction) {
    return direction.x == 0.0f && (direction.y == 1.0f || direction.y == -1.0f);
}

// An arrow at `position` for `direction`, turned and moved so that its picture
// lies on the side the direction names. The picture points left: the middle of
// its left edge is the point. The sprite turns clockwise for a positive angle,
// so an arrow below its point (0, 1) is turned by a quarter clockwise and one
// above it by a quarter the other way; both then lie centred on the point.
void PlaceArrow(CGuiImage& arrow, Vec2 position, Vec2 direction) {
    arrow.scaleX = CHintManager::ARROW_POP_SCALE;
    arrow.scaleY = CHintManager::ARROW_POP_SCALE;
    if (direction == Vec2{0.0f, 0.0f}) {
        return;
    }
    GuiImageDesc desc;
    desc.x = position.x;
    desc.y = position.y;
    desc.scaleX = CHintManager::ARROW_POP_SCALE;
    desc.scaleY = CHintManager::ARROW_POP_SCALE;
    desc.imageId = "UPGRADES";
    desc.left = ARROW_LEFT;
    desc.right = ARROW_RIGHT;
    desc.top = ARROW_TOP;
    desc.bottom = ARROW_BOTTOM;
    arrow.Create(desc);
    constexpr float pi = std::numbers::pi_v<float>;
    if (direction == Vec2{1.0f, 0.0f}) {
        arrow.x -= ARROW_W;
        arrow.y -= ARROW_H * 0.5f;
    } else if (direction == Vec2{-1.0f, 0.0f}) {
        arrow.rotation = pi;
        arrow.x += ARROW_W;
        arrow.y += ARROW_H * 0.5f;
    } else if (direction == Vec2{0.0f, 1.0f}) {
        arrow.rotation = pi * 0.5f;
        arrow.x += ARROW_H * 0.5f;
    } else if (direction == Vec2{0.0f, -1.0f}) {
        arrow.rotation = -pi * 0.5f;
        arrow.x -= ARROW_H * 0.5f;
    }
}

// The bob along the direction, corrected so that the tip stays in place while
// the arrow pops in or out.
void MoveArrow(CGuiImage& arrow, Vec2 direction, float bob) {
    arrow.offsetX = bob * direction.x;
    arrow.offsetY = bob * direction.y;
    const float growX = arrow.scaleX - 1.0f;
    const float growY = arrow.scaleY - 1.0f;
    if (IsHorizontal(direction)) {
        const float d = direction.x;
        arrow.offsetX -= d * 0.5f * ARROW_W * growX;
        arrow.offsetY -= d * 0.5f * ARROW_H * growY;
    } else if (IsVertical(direction)) {
        const float d = direction.y;
        arrow.offsetX += d * 0.5f * ARROW_H * growY;
        arrow.offsetY -= d * 0.5f * ARROW_W * growX;
    }
}

// An arrow shown fades in while it shrinks to its size; one hidden fades out
// while it grows.
void FadeArrow(CGuiImage& arrow, float& alpha, bool shown, float elapsed) {
    const float fade = CHintManager::FADE_SPEED * elapsed;
    const float pop = CHintManager::ARROW_POP_SPEED * elapsed;
    if (shown) {
        alpha = std::min(alpha + fade, 255.0f);
        if (arrow.scaleX > 1.0f) {
            arrow.scaleX = std::max(arrow.scaleX - pop, 1.0f);
            arrow.scaleY = arrow.scaleX;
        }
    } else {
        alpha = std::max(alpha - fade, 0.0f);
        arrow.scaleX = std::min(arrow.scaleX + pop, CHintManager::ARROW_POP_SCALE);
        arrow.scaleY = arrow.scaleX;
    }
}

std::uint32_t WhiteWithAlpha(float alpha) {
    return (static_cast<std::uint32_t>(static_cast<std::int32_t>(alpha)) << 24) | 0xFFFFFFu;
}

CSoundManager& Sounds() {
    return ResourceManager::Instance().GetSoundManager();
}

}  // namespace

std::int32_t CHintManager::AddHint(HintDesc desc) {
    Sounds().Play(SoundType::Sample, SAMPLE_OPEN, true, false);
    CHintWindow window;
    window.id = ++m_lastId;
    window.open = true;
    window.centred = desc.centred;

    window.text = TextStorage().FindIndex(desc.textId);
    window.headerText = TextStorage().FindIndex(desc.headerId);
    window.textFont = desc.textFont;
    window.headerFont = desc.headerFont;
    const bool japanese = TextStorage().GetLanguage() == "Japanese";
    window.headerPosition =
        desc.panelPosition + (japanese ? HEADER_OFFSET_JAPANESE : HEADER_OFFSET);
    window.textPosition = desc.panelPosition + TEXT_OFFSET;

    window.firstDirection = desc.firstArrowDirection;
    window.secondDirection = desc.secondArrowDirection;
    PlaceArrow(window.firstArrow, desc.firstArrowPosition, desc.firstArrowDirection);
    PlaceArrow(window.secondArrow, desc.secondArrowPosition, desc.secondArrowDirection);
    window.arrowOscillator.Set(-ARROW_BOB, ARROW_BOB, 0.0f, ARROW_BOB_SPEED, 1.0f);

    window.panel.Build(desc.panelPosition.x, desc.panelPosition.y, desc.columns, desc.rows);
    m_windows.push_back(window);
    return window.id;
}

bool CHintManager::CloseHint(std::int32_t id) {
    for (CHintWindow& window : m_windows) {
        if (window.id == id) {
            window.open = false;
            return true;
        }
    }
    return false;
}

void CHintManager::CloseAll() {
    for (CHintWindow& window : m_windows) {
        window.open = false;
    }
}

bool CHintManager::IsFirstHintOpen() const {
    return !m_windows.empty() && m_windows.front().open;
}

void CHintManager::Clear() {
    m_windows.clear();
    m_lastId = 0;
}

void CHintManager::Update(const InputState& /*input*/, Vec2 /*screenScale*/, float elapsed) {
    if (m_windows.empty()) {
        return;
    }
    CHintWindow& window = m_windows.front();
    // The arrows bob only once the window is fully there.
    if (window.panelAlpha >= 255.0f) {
        window.arrowOscillator.Update(elapsed);
    }
    MoveArrow(window.firstArrow, window.firstDirection, window.arrowOscillator.value);
    MoveArrow(window.secondArrow, window.secondDirection, window.arrowOscillator.value);

    const float fade = FADE_SPEED * elapsed;
    window.panelAlpha = window.open ? std::min(window.panelAlpha + fade, 255.0f)
                                    : std::max(window.panelAlpha - fade, 0.0f);
    FadeArrow(window.firstArrow, window.firstArrowAlpha, window.open && showFirstArrow, elapsed);
    FadeArrow(window.secondArrow, window.secondArrowAlpha, window.open && showSecondArrow, elapsed);

    if (!window.open && window.panelAlpha <= 0.0f) {
        m_windows.pop_front();
    }
}

void CHintManager::Render(backend::IRenderDevice* device, Vec2 screenScale) {
    if (m_windows.empty()) {
        return;
    }
    CHintWindow& window = m_windows.front();
    window.firstArrow.Draw(device, screenScale, false, WhiteWithAlpha(window.firstArrowAlpha),
                           false);
    window.secondArrow.Draw(device, screenScale, false, WhiteWithAlpha(window.secondArrowAlpha),
                            false);
    const std::uint32_t colour = WhiteWithAlpha(window.panelAlpha);
    window.panel.Render(device, screenScale, colour);

    Vec2 header = window.headerPosition;
    Vec2 text = window.textPosition;
    if (window.centred) {
        // Both centres lie on the middle of the panel.
        const auto columns = static_cast<float>(window.panel.headerColumns);
        header.x += 14.0f * (columns - 1.5f);
        text.x += 14.0f * (columns - 1.6f);
    }
    CResourceManager& resources = ResourceManager::Instance();
    resources.DrawText(window.headerFont, TextStorage().GetTextAt(window.headerText), screenScale,
                       {header.x * screenScale.x, header.y * screenScale.y}, colour, window.centred,
                       false, 0.0f, 0.0f, true);
    resources.DrawText(window.textFont, TextStorage().GetTextAt(window.text),
                       {TEXT_SIZE * screenScale.x, TEXT_SIZE * screenScale.y},
                       {text.x * screenScale.x, text.y * screenScale.y}, colour, window.centred,
                       false, 0.0f, TEXT_LINE_SPACING, true);
}
