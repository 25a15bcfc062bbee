#include "shopfloor/aquarium.h"

#include <algorithm>
#include <string>

#include "engine/backend/clock.h"
#include "engine/media/popup_texts.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/number_text.h"
#include "engine/platform/random_float.h"
#include "engine/platform/text_storage.h"
#include "game/game_session.h"
#include "game/shop_station.h"
#include "heroine/audio_system.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/order_list.h"
#include "shopfloor/shop_sounds.h"

namespace {

namespace sound {
constexpr unsigned FISH_PUT_IN = 3;
constexpr unsigned COMBO = 8;
constexpr unsigned COMPRESSOR = 9;
constexpr unsigned LAMP = 10;
constexpr unsigned SALE = 30;
}  // namespace sound

constexpr std::uint32_t GREEN = 0xFF00FF00;
constexpr std::uint32_t YELLOW = 0xFFFFFF00;
constexpr std::uint32_t BIT_COMPRESSOR_WISH = ITEM_COMPRESSOR_SWITCH;
constexpr std::uint32_t BIT_LAMP_WISH = ITEM_LAMP_SWITCH;
// A clip given this play time runs its cells once and stops on the last.
constexpr float ONE_PASS = 0.1f;
constexpr float ENDLESS = -1.0f;

constexpr float SELL_FADE = 1000.0f;
constexpr float BADGE_FADE_IN = 1000.0f;
constexpr float BADGE_FADE_SAME_KIND = 500.0f;
constexpr float BADGE_FADE_OTHER_KIND = 1000.0f;
constexpr float BADGE_RISE = 75.0f;
constexpr float INTERIOR_FADE_IN = 100.0f;
constexpr float DIRT_FADE_IN = 500.0f;
constexpr float DIRT_FADE_OUT = 100.0f;

void ShowPopup(const char* textId, std::u16string_view separator, std::int32_t amount, float x,
               float y, std::uint32_t colour) {
    PopupTexts::Instance().Add(1, WithNumber(TextStorage().GetText(textId), separator, amount), 0,
                               colour, x, y, 1.0f, 0.0f, -1.0f, 1.0f, 0.5f, 0.0f, -1);
}

void Reseed() {
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
}

// Rises toward 255 or falls toward 0 by `speed` x dt, never past either end.
void FadeIn(float& alpha, float speed, float dt) {
    if (alpha < 255.0f) {
        alpha = std::min(alpha + speed * dt, 255.0f);
    }
}

void FadeOut(float& alpha, float speed, float dt) {
    if (alpha > 0.0f) {
        alpha = std::max(alpha - speed * dt, 0.0f);
    }
}

std::array<bool, CAquarium::PART_COUNT> PartsOf(std::uint32_t mask) {
    return {(mask & ITEM_AQUARIUM) != 0, (mask & ITEM_COMPRESSOR_SWITCH) != 0,
            (mask & ITEM_LAMP_SWITCH) != 0, false};
}

}  // namespace

void CAquarium::PutFish(std::int32_t kind, bool computer) {
    shop_sound::Play(sound::FISH_PUT_IN);
    m_fish = g_fishBase.CreateFish(kind, m_body.x, m_body.y, computer);
    m_empty = false;
    if (kind == m_badge.kind && m_badge.count > 0) {
        const std::int32_t bonus = COMBO_STEP * m_badge.count;
        ShowPopup("COMBO", u" +", bonus, m_body.x + 130.0f, m_body.y + 70.0f, GREEN);
        g_gameSession.AddCash(bonus);
        ++g_gameSession.GetStatistics().combos;
        shop_sound::Play(sound::COMBO);
    }
    Reseed();
    Reseed();
    m_bubblesTimer = 7.0f * (1.0f + static_cast<float>(NextRandom()) / 32767.0f);
}

void CAquarium::ApplyPetFishAbility(std::int32_t growth) {
    ShowPopup("PET_FISH_ABILITY", u" +", growth, m_body.x + 120.0f, m_body.y + 90.0f, GREEN);
    if (m_fish.growth >= CFish::FULL_GROWTH) {
        return;
    }
    const float percent = m_fish.type.growthPercent;
    const auto p = static_cast<float>(growth);
    std::int32_t k = 0;
    if (p >= 2.0f * percent) {
        k = 2;
    } else if (p >= static_cast<float>(TruncateToInt32(percent))) {
        k = 1;
    }
    m_fish.growth += p;
    m_fish.value += static_cast<float>(
        k * TruncateToInt32(m_fish.type.extraPercentPer15 * m_fish.type.finalCost * 0.05f));
    if (m_fish.growth >= CFish::FULL_GROWTH) {
        m_fish.growth = CFish::FULL_GROWTH;
        m_fish.value += m_fish.type.finalCost;
        m_fish.bubble.Clear();
    }
}

void CAquarium::Reset() {
    m_fish.kind = FISH_NONE;
    m_fish.growth = 0.0f;
    m_fish.shownGrowth = 0.0f;
    m_fish.alpha = 0.0f;
    m_fish.state = FISH_GROWING;
    m_fish.leaving = false;
    m_fish.bubble.Clear();
    m_interior = 0;
    m_empty = true;
    m_lampOn = false;
    m_compressorOn = false;
    m_interiorAlpha = 0.0f;
    m_bubblesAnimation.StopAtEnd();
    m_compressorAnimation.StopAtEnd();
    SetInterior(0);
}

void CAquarium::Clear() {
    Reset();
    m_bubblesAnimation.Stop();
    m_bubblesAnimation.RewindToEnd();
    m_stopClipPlayed = true;
    for (CSheetAnimation* animation :
         {&m_compressorAnimation, &m_causticAnimation, &m_volumeLight}) {
        animation->Stop();
        animation->RewindToStart();
    }
    m_fish.bubble.Reset();
    m_highlighted.fill(false);
}

void CAquarium::SetPartsHighlighted(std::uint32_t parts, bool sell, bool on) {
    std::array<bool, PART_COUNT> chosen = PartsOf(parts);
    chosen[PART_SELL] = sell;
    bool switchedOn = false;
    for (std::size_t i = 0; i < PART_COUNT; ++i) {
        if (chosen[i]) {
            switchedOn = switchedOn || (on && !m_highlighted[i]);
            m_highlighted[i] = on;
        }
    }
    if (switchedOn) {
        m_pulse.Set(150.0f, 255.0f, 255.0f, 400.0f, -1);
    }
}

void CAquarium::SetPartsDisabled(std::uint32_t parts, bool on) {
    const std::array<bool, PART_COUNT> chosen = PartsOf(parts);
    CGuiImage* const sprites[] = {&m_body, &m_compressorSwitch, &m_lampSwitch};
    for (std::size_t i = 0; i < PART_SELL; ++i) {
        if (chosen[i]) {
            m_disabled[i] = on;
            if (on) {
                sprites[i]->hovered = false;
            }
        }
    }
}

void CAquarium::SetSellDisabled(bool on) {
    m_disabled[PART_SELL] = on;
    if (on) {
        m_sellButton.hovered = false;
    }
}

std::uint32_t CAquarium::DeliverCompressorSwitch(std::uint32_t request) {
    if ((request == WISH_COMPRESSOR_ON && !m_compressorOn) ||
        (request == WISH_COMPRESSOR_OFF && m_compressorOn)) {
        shop_sound::Play(sound::COMPRESSOR);
        m_compressorOn = !m_compressorOn;
    }
    if (m_compressorOn) {
        m_compressorAnimation.Play(1, true, false, ONE_PASS);
        m_stopClipPlayed = false;
    } else {
        m_compressorAnimation.StopAtEnd();
    }
    return m_compressorOn ? WISH_COMPRESSOR_ON : WISH_COMPRESSOR_OFF;
}

std::uint32_t CAquarium::DeliverLampSwitch(std::uint32_t request) {
    if ((request == WISH_LAMP_ON && !m_lampOn) || (request == WISH_LAMP_OFF && m_lampOn)) {
        shop_sound::Play(sound::LAMP);
        m_lampOn = !m_lampOn;
    }
    return m_lampOn ? WISH_LAMP_ON : WISH_LAMP_OFF;
}

void CAquarium::Update(const InputState& input, Vec2 screenScale, float elapsed,
                       bool noSellButtonHovered, bool anyBubbleHovered) {
    if (m_level <= 0) {
        return;
    }
    if (std::find(m_highlighted.begin(), m_highlighted.end(), true) != m_highlighted.end()) {
        m_pulse.Update(elapsed);
    }
    UpdateHoverMarks(input, screenScale, noSellButtonHovered, anyBubbleHovered);
    UpdateAnimations(elapsed);
    UpdateFades(elapsed);
    UpdateBadge(elapsed);

    const bool grownAndStaying = !m_empty && m_fish.state == FISH_GROWN && !m_fish.leaving;
    if (input.ButtonWentDown(0) && m_sellButton.hovered && grownAndStaying) {
        Sell();
    }
    m_fish.Update(input, screenScale, elapsed, m_lampOn, m_compressorOn, g_audioSystem.GetEffect());
    if (m_fish.leaving) {
        m_interiorAlpha = m_fish.alpha;
        if (m_fish.alpha <= 0.0f) {
            Reset();
        }
    }
    if (m_fish.state == FISH_DEAD) {
        Die();
    }
    if (!m_empty && m_fish.state == FISH_GROWN && !m_fish.leaving && !m_disabled[PART_SELL]) {
        m_sellButton.UpdateHover(input, screenScale);
    }
    m_growthBar.source.right =
        m_growthBar.source.left + TruncateToInt32(m_fish.shownGrowth * m_growthBarWidth * 0.01f);
}

void CAquarium::UpdateHoverMarks(const InputState& input, Vec2 screenScale,
                                 bool noSellButtonHovered, bool anyBubbleHovered) {
    const bool ownBubble = m_fish.bubble.IsHovered();
    if ((anyBubbleHovered && !ownBubble) || !noSellButtonHovered) {
        m_body.hovered = false;
        m_compressorSwitch.hovered = false;
        m_lampSwitch.hovered = false;
        return;
    }
    if (!m_disabled[PART_BODY]) {
        m_body.UpdateHover(input, screenScale);
    }
    m_compressorSwitch.hovered = false;
    m_lampSwitch.hovered = false;
    if (ownBubble || m_body.hovered) {
        const std::uint32_t request = GetRequest();
        if (!m_disabled[PART_COMPRESSOR] && (request & BIT_COMPRESSOR_WISH) != 0) {
            m_compressorSwitch.hovered = true;
        } else if (!m_disabled[PART_LAMP] && (request & BIT_LAMP_WISH) != 0) {
            m_lampSwitch.hovered = true;
        } else if (!m_disabled[PART_BODY] && request != 0) {
            m_body.hovered = true;
        }
    }
    if (m_compressorSwitch.hovered || m_lampSwitch.hovered) {
        m_body.hovered = false;
    }
}

void CAquarium::UpdateAnimations(float elapsed) {
    if (m_compressorOn && !m_compressorAnimation.IsPlaying(-1)) {
        m_compressorAnimation.Play(0, true, false, ENDLESS);
    } else if (!m_compressorOn && !m_stopClipPlayed && !m_compressorAnimation.IsPlaying(-1)) {
        m_compressorAnimation.Play(2, true, false, ONE_PASS);
        m_stopClipPlayed = true;
    }
    m_compressorAnimation.Update(elapsed);
    m_bubblesAnimation.Update(elapsed);
    m_causticAnimation.Update(elapsed);
    m_volumeLight.Update(elapsed);

    if (m_interior != 0) {
        m_bubblesTimer -= elapsed;
        if (m_bubblesTimer < 0.0f) {
            Reseed();
            m_bubblesTimer = RandomFloat(7.0f, 14.0f, 1);
            m_bubblesAnimation.SetPosition(RandomFloat(0.0f, 160.0f, 1), 0.0f);
            m_bubblesAnimation.Play(0, true, false, ONE_PASS);
        }
        FadeIn(m_interiorAlpha, INTERIOR_FADE_IN, elapsed);
    }
}

void CAquarium::UpdateFades(float elapsed) {
    const std::uint32_t request = GetRequest();
    if (request == ITEM_BRUSH_1 || request == ITEM_BRUSH_2) {
        m_dirtKind = static_cast<std::int32_t>(request);
        FadeIn(m_dirtAlpha, DIRT_FADE_IN, elapsed);
    } else if (m_dirtAlpha > 0.0f) {
        m_dirtAlpha -= DIRT_FADE_OUT * elapsed;
        if (m_dirtAlpha < 0.0f) {
            m_dirtAlpha = 0.0f;
            m_dirtKind = -1;
        }
    }
    if (!m_empty && m_fish.state == FISH_GROWN && !m_fish.leaving) {
        FadeIn(m_sellAlpha, SELL_FADE, elapsed);
    } else {
        FadeOut(m_sellAlpha, SELL_FADE, elapsed);
    }
}

void CAquarium::UpdateBadge(float elapsed) {
    if (m_empty || m_fish.leaving) {
        FadeIn(m_badgeAlpha, BADGE_FADE_IN, elapsed);
        return;
    }
    const bool sameKind = m_fish.kind == m_badge.kind;
    if (m_badgeAlpha > 0.0f) {
        m_badgeAlpha -= (sameKind ? BADGE_FADE_SAME_KIND : BADGE_FADE_OTHER_KIND) * elapsed;
        if (m_badgeAlpha < 0.0f) {
            if (!sameKind) {
                m_badge.Reset();
            }
            m_badgeAlpha = 0.0f;
            m_badge.ResetOffsets();
        }
    }
    if (m_badgeAlpha > 0.0f && sameKind) {
        m_badge.icon.offsetY -= BADGE_RISE * elapsed;
        m_badge.frame.offsetY -= BADGE_RISE * elapsed;
    }
}

void CAquarium::Sell() {
    m_badge.Add(m_fish.kind, m_body.x + 98.0f, m_body.y + 7.0f);
    m_badgeAlpha = 0.0f;
    shop_sound::Play(sound::SALE);
    // Only a level of the aquarium's own rows earns a bonus; any other level
    // would read a neighbouring upgrade's row.
    const float bonusPercent =
        m_level >= 1 && m_level <= MAX_LEVEL
            ? g_gameSession.GetUpgradeTable().Row(UPGRADE_ROW_AQUARIUM + m_level - 1).effect
            : 0.0f;
    m_fish.value += bonusPercent * m_fish.type.finalCost * 0.01f;
    PopupTexts::Instance().Add(
        1, WithRoundedNumber(TextStorage().GetText("SELL"), u" +", m_fish.value), 0, GREEN,
        m_body.x + 130.0f, m_body.y - 45.0f, 1.0f, 0.0f, -1.0f, 1.0f, 0.5f, 0.0f, -1);
    g_gameSession.AddCash(TruncateToInt32(m_fish.value));
    CLevelStatistics& statistics = g_gameSession.GetStatistics();
    ++statistics.fishSold;
    if (m_fish.computerOrder) {
        ++statistics.computerFishSold;
    } else {
        ++statistics.orderFishSold;
    }
    m_sellButton.hovered = false;
    m_fish.leaving = true;
}

void CAquarium::Die() {
    const std::int32_t kind = m_fish.kind;
    if (kind >= 0) {
        m_badge.Reset();
        ShowPopup("FISH_DIE", u" -", DEATH_COST, m_body.x + 130.0f, m_body.y + 110.0f, YELLOW);
        g_gameSession.AddCash(-DEATH_COST);
        CLevelStatistics& statistics = g_gameSession.GetStatistics();
        ++statistics.deadFishAndMissedOrders;
        if (m_fish.computerOrder) {
            ++statistics.computerFishDied;
        } else {
            g_orderList.ReturnOrder(kind, 1);
            ++statistics.orderFishDied;
        }
    }
    Reset();
}

void CAquarium::UpdateShop(const InputState& input, Vec2 screenScale, float /*elapsed*/,
                           std::int32_t slot) {
    static constexpr const char* TEXTS[] = {"BUY_AQUARIUM_TEXT_1", "UPGRADE_AQUARIUM_TEXT_1",
                                            "UPGRADE_AQUARIUM_TEXT_2", "UPGRADE_AQUARIUM_TEXT_3"};
    m_body.UpdateHover(input, screenScale);
    m_shop.index = slot;
    HintDesc hint;
    const bool upgradeable = m_level >= 0 && m_level < MAX_LEVEL;
    if (upgradeable) {
        hint.firstArrowPosition = {m_body.x + 123.0f, m_body.y + 30.0f};
        hint.firstArrowDirection = {0.0f, -1.0f};
        hint.panelPosition = {10.0f, 510.0f};
        hint.headerFont = 1;
        hint.headerId = m_level == 0 ? "BUY_AQUARIUM_HEADER" : "UPGRADE_AQUARIUM_HEADER";
        hint.textFont = 0;
        hint.textId = TEXTS[m_level];
        hint.columns = 14;
        hint.rows = 6;
        hint.centred = true;
    }
    m_shop.Update(input, m_body.hovered, ITEM_AQUARIUM, upgradeable ? &hint : nullptr);
}
