#include "shopfloor/fish.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/backend/clock.h"
#include "engine/media/popup_texts.h"
#include "engine/platform/number_text.h"
#include "engine/platform/random_float.h"
#include "engine/platform/text_storage.h"
#include "game/game_session.h"
#include "shopfloor/shop_sounds.h"

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t GREEN = 0xFF00FF00;
// Where the popups of a fish stand, from its bubble's anchor.
constexpr float POPUP_X = 130.0f;
constexpr float FAST_BONUS_Y = 90.0f;
constexpr float VITAMIN_Y = 110.0f;

bool InTraining() {
    return g_gameSession.HasModeBits(MODE_TRAINING);
}

// A number from a list, drawn with the generator as it stands.
std::int32_t DrawFrom(const std::vector<std::int32_t>& list) {
    return list[static_cast<std::size_t>(NextRandom()) % list.size()];
}

// A cleaning or illness wish, drawn with its chance (a whole number 0..99
// against the float percentage: 0 never, 100 always) while the fish has had
// fewer than its limit. Item 1 or 2 of the list, 0 when the level lacks the
// item drawn.
std::uint32_t DrawCareWish(const std::vector<std::int32_t>& items, std::int32_t made,
                           std::int32_t limit, float percent, std::int32_t levelTypes,
                           std::uint32_t first, std::uint32_t second) {
    if (items.empty() || made >= limit || static_cast<float>(NextRandom() % 100) >= percent) {
        return 0;
    }
    const std::int32_t item = DrawFrom(items);
    if (item == 1 && levelTypes >= 1) {
        return first;
    }
    if (item == 2 && levelTypes >= 2) {
        return second;
    }
    return 0;
}

}  // namespace

void CFish::Update(const InputState& input, Vec2 scale, float dt, bool lampOn, bool compressorOn,
                   float audioEffect) {
    bubble.Update(input, scale, dt, audioEffect);
    TakeExpiredWish();
    if (kind < 0) {
        return;
    }
    UpdateFade(dt);
    UpdateShownGrowth(dt);
    UpdateWishCountdown(dt, lampOn, compressorOn);
    lively = !IsCalmed(audioEffect);
    switch (kind) {
        case JELLY_FISH_1:
        case JELLY_FISH_2:
            SwimJelly(input, scale, dt);
            break;
        case SHOAL_FISHES:
            SwimShoal(input, scale, dt);
            break;
        case OCTOPUS:
            SwimOctopus(input, scale, dt);
            break;
        case CRAB:
            SwimCrab(input, scale, dt);
            break;
        case SHELL:
            SwimShell(input, scale, dt);
            break;
        default:
            if (kind < FISH_KIND_COUNT) {
                SwimDefault(input, scale, dt);
            }
            break;
    }
    body.SetPosition(x, y);
    body.Update(dt);
}

void CFish::TakeExpiredWish() {
    if (!bubble.TakeExpired()) {
        return;
    }
    // A missed medicine is fatal whatever the growth.
    if ((bubble.GetStoredRequest() & MASK_MEDICINE) != 0) {
        growth = 0.0f;
        return;
    }
    growth -= type.growthPercent;
    value -= type.penaltyPercent * type.finalCost * 0.01f;
}

void CFish::UpdateFade(float dt) {
    if (leaving) {
        if (alpha > 0.0f) {
            alpha = std::max(alpha - FADE_SPEED * dt, 0.0f);
        }
    } else if (alpha < 255.0f) {
        alpha = std::min(alpha + FADE_SPEED * dt, 255.0f);
    }
}

void CFish::UpdateShownGrowth(float dt) {
    if (shownGrowth < growth) {
        shownGrowth = std::min(shownGrowth + GROWTH_SHOW_SPEED * dt, growth);
        if (shownGrowth >= FULL_GROWTH) {
            shop_sound::Play(shop_sound::FISH_GROWN);
            state = FISH_GROWN;
        }
        if (shownGrowth >= ADULT) {
            SetStage(2, shop_sound::STAGE_UP);
        } else if (shownGrowth >= HALF_GROWN) {
            SetStage(1, shop_sound::STAGE_UP);
        }
    } else if (shownGrowth > growth) {
        shownGrowth = std::max(shownGrowth - GROWTH_SHOW_SPEED * dt, growth);
        if (shownGrowth <= 0.0f) {
            state = FISH_DEAD;
            bubble.Clear();
            shop_sound::Play(shop_sound::FISH_DIED);
        }
        if (shownGrowth < HALF_GROWN) {
            SetStage(0, shop_sound::STAGE_DOWN);
        } else if (shownGrowth < ADULT) {
            SetStage(1, shop_sound::STAGE_DOWN);
        }
    }
}

void CFish::SetStage(std::int32_t newStage, unsigned sample) {
    if (stage == newStage) {
        return;
    }
    shop_sound::Play(sample);
    stage = newStage;
    // The body keeps its role in the new stage's clips; a shoal looks the
    // same at every stage, and a fish without clips has nothing to switch.
    if (kind != SHOAL_FISHES && clipsPerStage > 0) {
        const int role = body.GetCurrentClip() % clipsPerStage;
        body.SwitchClip(static_cast<unsigned>(role + clipsPerStage * stage));
    }
}

void CFish::UpdateWishCountdown(float dt, bool lampOn, bool compressorOn) {
    // Time passes only between wishes, and a grown fish wishes for nothing.
    if (bubble.GetRequest() != 0 || state != FISH_GROWING) {
        return;
    }
    type.wishCountdown -= dt;
    if (type.wishCountdown < 0.0f) {
        type.wishCountdown = type.timeBetweenRequests;
        if (InTraining()) {
            RaiseTrainingWish();
        } else {
            RaiseNextWish(lampOn, compressorOn);
        }
        ++type.wishesMade;
    }
}

void CFish::RaiseNextWish(bool lampOn, bool compressorOn) {
    const CLevelRecord& level = g_gameSession.GetLevel();
    if (type.wishesMade == 0) {
        // Categories the level's machine cannot build are dropped for good.
        if (level.machine_ingridients < 2) {
            type.interiorConst &= ~static_cast<std::uint32_t>(MASK_ALGAE);
        }
        if (level.machine_ingridients < 3) {
            type.interiorConst &= ~static_cast<std::uint32_t>(MASK_HOUSE);
        }
        if (level.machine_ingridients < 4) {
            type.interiorConst &= ~static_cast<std::uint32_t>(MASK_CORAL);
        }
        bubble.SetRequest(type.interiorConst, type.interiorConstWaitingTime, bubbleX, bubbleY);
        return;
    }
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    if (compressor != -1 && (compressorOn ? 1 : 0) != compressor) {
        bubble.SetRequest(compressorOn ? WISH_COMPRESSOR_OFF : WISH_COMPRESSOR_ON,
                          type.feedWaitingTime, bubbleX, bubbleY);
        return;
    }
    if (lamp != -1 && (lampOn ? 1 : 0) != lamp) {
        bubble.SetRequest(lampOn ? WISH_LAMP_OFF : WISH_LAMP_ON, type.feedWaitingTime, bubbleX,
                          bubbleY);
        return;
    }
    if (const std::uint32_t code =
            DrawCareWish(type.brushes, type.dirtWishes, type.dirtLimit, type.dirtProbabilityPercent,
                         level.brush_types, ITEM_BRUSH_1, ITEM_BRUSH_2)) {
        ++type.dirtWishes;
        bubble.SetRequest(code, type.dirtWaitingTime, bubbleX, bubbleY);
        return;
    }
    if (const std::uint32_t code = DrawCareWish(
            type.medicines, type.illnessWishes, type.illnessLimit, type.illnessProbabilityPercent,
            level.medic_types, ITEM_MEDICINE_1, ITEM_MEDICINE_2)) {
        ++type.illnessWishes;
        bubble.SetRequest(code, type.illnessWaitingTime, bubbleX, bubbleY);
        return;
    }
    if (!type.feedTypes.empty()) {
        const std::int32_t food = DrawFrom(type.feedTypes);
        // A food the level does not offer becomes the first one.
        const std::uint32_t code =
            (food >= 1 && food <= 4 && level.food_types >= food) ? FoodItem(food) : ITEM_FOOD_1;
        bubble.SetRequest(code, type.feedWaitingTime, bubbleX, bubbleY);
    }
}

void CFish::RaiseTrainingWish() {
    const std::int32_t wish = type.wishesMade;
    if (wish == 0 && (kind == FISH_1 || kind == SHOAL_FISHES)) {
        bubble.SetRequest(type.interiorConst, type.interiorConstWaitingTime, bubbleX, bubbleY);
        return;
    }
    std::uint32_t code = 0;
    if (kind == FISH_1) {
        const std::uint32_t script[] = {ITEM_FOOD_2, ITEM_FOOD_1};
        if (wish <= 2) {
            code = script[wish - 1];
        }
    } else if (kind == SHOAL_FISHES) {
        const std::uint32_t script[] = {WISH_COMPRESSOR_ON, ITEM_FOOD_1, ITEM_FOOD_2};
        if (wish <= 3) {
            code = script[wish - 1];
        }
    }
    if (code != 0) {
        bubble.SetRequest(code, type.feedWaitingTime, bubbleX, bubbleY);
    }
}

bool CFish::IsCalmed(float audioEffect) const {
    const std::uint32_t pending = bubble.GetRequest();
    // Before and during the first wish (the interior) the fish waits quietly,
    // as it does in dirty water and while music plays.
    return type.wishesMade == 0 || (type.wishesMade == 1 && bubble.GetPatience() > 0.0f) ||
           pending == ITEM_BRUSH_1 || pending == ITEM_BRUSH_2 || audioEffect > 0.0f;
}

void CFish::ShowGain(const char* textId, std::int32_t amount, float dy,
                     std::uint32_t colour) const {
    PopupTexts::Instance().Add(1, WithNumber(TextStorage().GetText(textId), u" +", amount), 0,
                               colour, bubbleX + POPUP_X, bubbleY + dy, 1.0f, 0.0f, -1.0f, 1.0f,
                               0.5f, 0.0f, -1);
}

void CFish::ApplyItem(std::uint32_t code) {
    const float patience = bubble.GetPatience();
    // One more for each fifth of the patience left: 1 to 6.
    const std::int32_t k = TruncateToInt32(patience * 0.05f) + 1;
    const bool fast = patience > FAST_PATIENCE;
    if (fast && !InTraining()) {
        ShowGain("FAST_BONUS", FAST_BONUS, FAST_BONUS_Y, WHITE);
        g_gameSession.AddCash(FAST_BONUS);
    }
    const bool brush = (code & MASK_BRUSH) != 0;
    const bool switchWish = (code & MASK_SWITCH_WISH) != 0;
    if (brush) {
        shop_sound::Play(shop_sound::WATER_CLEANED);
    } else if (!switchWish) {
        shop_sound::Play(fast ? shop_sound::WISH_MET_FAST : shop_sound::WISH_MET);
    }
    bubble.Clear();

    const bool food = (code & MASK_FOOD) != 0;
    const bool care = food || brush || (code & MASK_MEDICINE) != 0;
    std::int32_t gain = 0;
    if (switchWish || care) {
        gain = TruncateToInt32(type.extraPercentPer15 * type.finalCost * static_cast<float>(k) *
                               0.01f);
    }
    if (switchWish) {
        // The stage change of the update plays its own sound.
        const auto crosses = [this](float mark) {
            return growth < mark && growth + type.growthPercent >= mark;
        };
        if (!crosses(HALF_GROWN) && !crosses(ADULT)) {
            shop_sound::Play(shop_sound::STAGE_UP);
        }
        growth += type.growthPercent;
    } else if (care) {
        growth += type.growthPercent;
        if (food && (code & ITEM_VITAMIN_GROWTH) != 0) {
            growth += type.growthPercent;
            ShowGain("EXTRA_GROWTH", TruncateToInt32(type.growthPercent), VITAMIN_Y, GREEN);
        }
        if (food && (code & ITEM_VITAMIN_COST) != 0) {
            const std::int32_t extra =
                TruncateToInt32(type.vitaminPercent * type.finalCost * 0.01f);
            // Both can be near the int32 end with absurd prices.
            gain = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                static_cast<std::int64_t>(gain) + extra, std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max()));
            ShowGain("EXTRA_COST", gain, VITAMIN_Y, GREEN);
        }
    }
    if (gain > 0) {
        value += static_cast<float>(gain);
    }
    if (growth >= FULL_GROWTH) {
        growth = FULL_GROWTH;
        value += type.finalCost;
    }
}

void CFish::Draw(backend::IRenderDevice* /*device*/, Vec2 scale) {
    if (kind == FISH_NONE) {
        return;
    }
    const auto colour = [](float opacity) {
        return (static_cast<std::uint32_t>(opacity) << 24) | 0xFFFFFFu;
    };
    body.Draw(scale, colour(alpha));
    if (kind == SHOAL_FISHES) {
        const int shown = std::min(2 * stage, SHOAL_EXTRA_FISH);
        for (int i = 0; i < shown; ++i) {
            ShoalFish& extra = shoalFish[static_cast<std::size_t>(i)];
            extra.body.Draw(scale, colour(extra.alpha));
        }
    }
}
