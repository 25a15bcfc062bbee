#include "game/scene.h"

#include <algorithm>

#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/level_base.h"
#include "heroine/audio_system.h"
#include "heroine/bonus_game.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace {

// The pages drawn while the loading screen is pending still show the cursor.
constexpr std::uint32_t PAGES_BEFORE_LOADING = MODE_COMICS_1 | MODE_COMICS_2 | MODE_COMICS_3 |
                                               MODE_COMICS_4 | MODE_GAME_COMPLETED |
                                               MODE_PET_CHOICE;
// The shop's background is dimmed to this brightness behind its devices.
constexpr float SHOP_BACKGROUND_LEVEL = 170.0f;
constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr backend::Rect CURSOR_CELL{0, 59, 55, 118};
constexpr backend::Rect PRESSED_CURSOR_CELL{0, 0, 55, 59};

std::int32_t UpgradeLevel(std::uint32_t code) {
    return g_gameSession.GetUpgradeLevel(code, -1);
}

bool IsBonusLevel() {
    return g_gameSession.GetLevel().bonus;
}

}  // namespace

bool IsShopMode(std::uint32_t mode) {
    const std::uint32_t leaving = MODE_FADE_OUT | MODE_LEAVE_SCREEN;
    const std::uint32_t shop = MODE_GAME | MODE_SHOP;
    return mode == shop || mode == (shop | MODE_TRAINING) || mode == (shop | leaving) ||
           mode == (shop | MODE_TRAINING | leaving);
}

float CScene::GetDepthLine() {
    return g_heroine.GetFeetLine();
}

void CScene::Init() {
    g_bonusGame.BuildSprites();
    g_location.Build();
    g_fishBase.Load();
    g_levelBase.Load();
    g_heroine.BuildAnimations(UpgradeLevel(ITEM_FOOTWEAR));
    g_gameSession.BuildGui();
    const std::int32_t cursor = ResourceManager::Instance().GetIndex(RESOURCE_IMAGE, "CURSOR");
    m_cursorImage = cursor;
    m_pressedCursorImage = cursor;
    m_cursorSource = CURSOR_CELL;
    m_pressedCursorSource = PRESSED_CURSOR_CELL;
}

void CScene::ResetForLevel(std::int32_t location, std::int32_t locationLevel,
                           std::int32_t foodTypes, std::int32_t machineIngredients,
                           std::int32_t brushTypes, std::int32_t medicTypes,
                           std::int32_t baseAquariums) {
    g_location.Set(location, locationLevel);
    // The vitamins' levels are the instrument panel's own to read.
    g_instrumentPanel.Build(location, UpgradeLevel(ITEM_COMPUTER), foodTypes, machineIngredients,
                            brushTypes, medicTypes);
    g_instrumentPanel.SetAllDisabled(false);
    g_machine.Build(location, UpgradeLevel(ITEM_MACHINE));
    g_machine.SetDisabled(false);
    g_audioSystem.Setup(location, UpgradeLevel(ITEM_AUDIO_SYSTEM));
    g_pet.Init(location, g_gameSession.GetPetKind(), UpgradeLevel(ITEM_PET));
    g_heroine.BuildAnimations(UpgradeLevel(ITEM_FOOTWEAR));
    g_heroine.ReleaseUnusedFootwear();
    g_aquariumSet.Setup(baseAquariums);
    g_hintManager.Clear();
    g_machine.Reset();
    g_heroine.Reset(location, true);
    g_orderList.Clear();
    g_orderList.HoldArrivals(false);
    g_orderList.HoldTimers(false);
    g_instrumentPanel.ClearSelection();
}

void CScene::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    if (IsShopMode(g_gameSession.GetGameMode())) {
        UpdateShop(input, screenScale, elapsed);
    } else if (IsBonusLevel()) {
        g_bonusGame.Update(input, screenScale, elapsed);
    } else {
        UpdatePlay(input, screenScale, elapsed);
    }
}

void CScene::UpdateShop(const InputState& input, Vec2 screenScale, float elapsed) {
    g_location.UpdateShop(screenScale, elapsed);
    g_hintManager.Update(input, screenScale, elapsed);
    g_machine.UpdateShop(input, screenScale, elapsed);
    g_audioSystem.UpdateShop(input, screenScale, elapsed);
    g_instrumentPanel.UpdateShop(input, screenScale, elapsed);
    g_aquariumSet.UpdateShopHints(input, screenScale, elapsed);
    g_heroine.UpdateShop(input, screenScale, elapsed);
    g_pet.UpdateShop(input, screenScale, elapsed);
}

void CScene::UpdatePlay(const InputState& input, Vec2 screenScale, float elapsed) {
    // The heroine acts on a click after the instruments and aquariums have
    // seen it, and the orders move after her.
    const bool started = g_gameSession.GetLevelStartDelay() <= 0.0f;
    if (started) {
        g_location.Update(screenScale, elapsed);
    }
    g_pet.Update(input, screenScale, elapsed);
    g_instrumentPanel.Update(input, screenScale, elapsed);
    g_aquariumSet.Update(input, screenScale, elapsed);
    g_heroine.Update(input, screenScale, elapsed);
    if (started) {
        g_orderList.Update(input, screenScale, elapsed, g_audioSystem.GetEffect());
    }
    g_machine.Update(input, screenScale, elapsed);
    g_audioSystem.Update(input, screenScale, elapsed);
    g_hintManager.Update(input, screenScale, elapsed);
}

HResult CScene::Render(backend::IRenderDevice* device, const InputState& input, Vec2 screenScale) {
    const std::uint32_t mode = g_gameSession.GetGameMode();
    if ((mode & MODE_SCREENS) == 0) {
        RenderWorld(device, input, screenScale);
    }
    if (IsShopMode(mode)) {
        RenderShop(device, screenScale);
    }
    g_gameSession.RenderHud(device, screenScale);
    if ((mode & MODE_LOAD_TEXTURES) == 0) {
        g_orderList.Render(device, input, screenScale);
        RenderCursor(input, screenScale);
    } else if ((mode & PAGES_BEFORE_LOADING) != 0) {
        RenderCursor(input, screenScale);
    }
    const bool handShown = IsBonusLevel() && !g_gameSession.IsPauseButtonHovered() &&
                           (mode & (MODE_FADE_OUT | MODE_LOAD_TEXTURES)) == 0;
    if (handShown) {
        g_bonusGame.RenderHand(device, screenScale);
    }
    return RESULT_OK;
}

void CScene::RenderWorld(backend::IRenderDevice* device, const InputState& input,
                         Vec2 screenScale) {
    if (IsBonusLevel()) {
        if (!g_gameSession.HasModeBits(MODE_FADE_OUT)) {
            g_location.Render(device, screenScale, true);
            g_bonusGame.Render(device, screenScale);
        }
        return;
    }
    g_location.Render(device, screenScale, false);
    g_instrumentPanel.Render(device, screenScale);
    g_orderList.RenderComputerCall(device, screenScale);
    g_machine.Render(device, screenScale);
    g_audioSystem.Render(device, screenScale);
    g_heroine.RenderShadow(device, screenScale);
    // Behind her, herself, then in front of her; the line is read anew at
    // every call, as each pass sees it.
    g_aquariumSet.RenderByDepth(device, screenScale, GetDepthLine(), false);
    g_aquariumSet.RenderOverlaysByDepth(device, screenScale, GetDepthLine(), false);
    g_pet.RenderByDepth(device, screenScale, GetDepthLine() + PET_LINE_OFFSET, false);
    g_heroine.RenderTaskTags(device, screenScale, false);
    g_heroine.RenderBody(device, screenScale);
    g_aquariumSet.RenderByDepth(device, screenScale, GetDepthLine(), true);
    g_heroine.RenderWorkEffects(device, screenScale);
    g_aquariumSet.RenderOverlaysByDepth(device, screenScale, GetDepthLine(), true);
    g_pet.RenderByDepth(device, screenScale, GetDepthLine() + PET_LINE_OFFSET, true);
    g_heroine.RenderTaskTags(device, screenScale, true);
    g_pet.RenderAbility(device, screenScale);
    g_hintManager.Render(device, screenScale);
    g_orderList.Render(device, input, screenScale);
}

void CScene::RenderShop(backend::IRenderDevice* device, Vec2 screenScale) {
    CResourceManager& resources = ResourceManager::Instance();
    const float fade = g_gameSession.GetFadeLevel();
    resources.SetBrightness(std::min(fade, SHOP_BACKGROUND_LEVEL));
    g_location.Render(device, screenScale, false);
    resources.SetBrightness(fade);
    g_pet.RenderShopLevel(device, screenScale);
    g_instrumentPanel.RenderShop(device, screenScale);
    g_machine.RenderShop(device, screenScale);
    g_audioSystem.RenderShop(device, screenScale);
    g_aquariumSet.RenderShop(device, screenScale);
    g_heroine.RenderShadow(device, screenScale);
    g_heroine.RenderShop(device, screenScale);
    g_pet.RenderUpgradeButton(device, screenScale);
    g_hintManager.Render(device, screenScale);
}

void CScene::RenderCursor(const InputState& input, Vec2 screenScale) {
    const std::uint32_t mode = g_gameSession.GetGameMode();
    // On a bonus level in plain play the bonus game's hand is the cursor,
    // except over the pause button.
    const bool handInstead =
        IsBonusLevel() && mode == MODE_GAME && !g_gameSession.IsPauseButtonHovered();
    const bool gameOverPage =
        (mode & MODE_GAME_OVER_PAGE) != 0 && (mode & MODE_GAME_COMPLETED) == 0;
    const bool leavingForMenu = (mode & MODE_EXIT_TO_MENU) != 0 && (mode & MODE_PAUSED) == 0;
    if (handInstead || gameOverPage || leavingForMenu) {
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    const bool pressed = input.IsButtonDown(0);
    resources.SetBrightness(255.0f);
    resources.DrawImage(
        pressed ? m_pressedCursorImage : m_cursorImage,
        pressed ? &m_pressedCursorSource : &m_cursorSource, &screenScale, nullptr, 0.0f,
        Vec2{input.cursorX - CURSOR_HOT_SPOT, input.cursorY - CURSOR_HOT_SPOT}, WHITE);
    resources.SetBrightness(g_gameSession.GetFadeLevel());
}
