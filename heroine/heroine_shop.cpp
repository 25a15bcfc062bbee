// The heroine in the upgrade shop: hovering her previews the next footwear
// and explains it, clicking her offers it to the session's BUY button.
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "heroine/heroine.h"
#include "shopfloor/item_codes.h"

namespace {

// The hover band leaves out her hair above the shelves.
constexpr float HOVER_TOP_MARGIN = 20.0f;

}  // namespace

void CHeroine::KeepStandingFrame(std::int32_t level) {
    const int frame = mainLayer.GetCurrentFrame(0);
    const SheetCell cell = standFootwear.GetCurrentCell(0);
    BuildAnimations(level);
    mainLayer.SetCurrentFrame(0, frame);
    standFootwear.SetCurrentCell(0, cell.column, cell.row);
}

void CHeroine::ShowFootwear(bool next) {
    if (next) {
        const std::int32_t owned = footwearLevel;
        KeepStandingFrame(owned + 1);
        // She keeps naming the owned level while the next one is shown.
        footwearLevel = owned;
    } else {
        KeepStandingFrame(footwearLevel);
    }
}

void CHeroine::UpdateShop(const InputState& input, Vec2 screenScale, float elapsed) {
    const float width = static_cast<float>(box.right - box.left);
    const float height = static_cast<float>(box.bottom - box.top);
    shopHovered = footwearLevel < LAST_FOOTWEAR_LEVEL &&
                  position.x * screenScale.x <= input.cursorX &&
                  input.cursorX <= (position.x + width) * screenScale.x &&
                  (position.y + HOVER_TOP_MARGIN) * screenScale.y <= input.cursorY &&
                  input.cursorY <= (position.y + height) * screenScale.y;
    if (!m_shop.selected && shopHovered != shopWasHovered) {
        ShowFootwear(shopHovered);
    }
    if (!mainLayer.IsPlaying(0)) {
        PlayStanding(0, 0, -1.0f);
    }
    mainLayer.Update(elapsed);
    standFootwear.Update(elapsed);
    mainLayer.SetPosition(position.x, position.y);
    standFootwear.SetPosition(position.x, position.y);
    for (CGuiImage& still : footwearStills) {
        still.x = position.x;
        still.y = position.y;
    }
    for (CGuiImage& shadow : standShadows) {
        shadow.x = position.x;
        shadow.y = position.y;
    }
    shopWasHovered = shopHovered;

    HintDesc hint;
    hint.firstArrowPosition = {position.x + 40.0f, position.y + 220.0f};
    hint.firstArrowDirection = {0, -1};
    hint.panelPosition = {10, 540};
    hint.headerFont = 1;
    hint.headerId = "UPGRADE_FOOTWEAR_HEADER";
    hint.textFont = 0;
    hint.textId = footwearLevel == 1 ? "UPGRADE_FOOTWEAR_TEXT_1" : "UPGRADE_FOOTWEAR_TEXT_2";
    hint.columns = 13;
    hint.rows = 5;
    hint.centred = true;
    const bool wasSelected = m_shop.selected;
    const bool explained = footwearLevel == 1 || footwearLevel == 2;
    m_shop.Update(input, shopHovered, ITEM_FOOTWEAR, explained ? &hint : nullptr);
    if (wasSelected && !m_shop.selected) {
        // Dropping the offer takes the preview off her feet.
        KeepStandingFrame(footwearLevel);
    }
}

void CHeroine::RenderShop(backend::IRenderDevice* device, Vec2 screenScale) {
    constexpr std::uint32_t WHITE = 0xFFFFFFFFu;
    if (standFootwear.GetCurrentClip() == 0) {
        footwearStills[0].Draw(device, screenScale, true, WHITE, true);
    }
    standFootwear.Draw(screenScale, WHITE);
    mainLayer.Draw(screenScale, WHITE);
    if (g_gameSession.GetUpgradeLevel(ITEM_FOOTWEAR, -1) < LAST_FOOTWEAR_LEVEL) {
        nextFootwearIcon.Draw(device, screenScale, true, WHITE, true);
    }
}
