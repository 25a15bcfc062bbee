#include "game/shop_station.h"

#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/hint_manager.h"

bool IsShopClick(const InputState& input) {
    return (input.ButtonWentDown(0) && !g_gameSession.IsBuyButtonHovered()) ||
           (input.ButtonWentUp(0) && g_gameSession.IsBuyButtonHovered());
}

void ShopStation::Deselect(std::uint32_t code) {
    selected = false;
    g_gameSession.CancelPurchase(code, index);
    g_hintManager.CloseHint(hintId);
    hintId = -1;
}

void ShopStation::Update(const InputState& input, bool hovered, std::uint32_t code,
                         const HintDesc* hint) {
    if (IsShopClick(input)) {
        if (hovered && !selected) {
            selected = true;
            // The session answers whether it is affordable; BUY tells anyway.
            g_gameSession.TryPurchase(true, code, index);
            g_hintManager.showFirstArrow = true;
        } else if (!hovered && selected) {
            Deselect(code);
        }
    }
    if (input.ButtonWentUp(0) && g_gameSession.IsFinishButtonHovered() && !hovered && selected) {
        Deselect(code);
    }
    if (selected) {
        return;
    }
    if (!hovered) {
        if (hintId != -1) {
            g_hintManager.CloseHint(hintId);
            hintId = -1;
        }
        return;
    }
    if (hintId != -1) {
        return;
    }
    if (!g_hintManager.IsFirstHintOpen()) {
        g_hintManager.showFirstArrow = false;
    }
    if (hint != nullptr) {
        hintId = g_hintManager.AddHint(*hint);
    }
}
