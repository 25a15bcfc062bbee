#include "shopfloor/pet.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/backend/clock.h"
#include "engine/media/popup_texts.h"
#include "engine/platform/geometry.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/number_text.h"
#include "engine/platform/random_float.h"
#include "engine/platform/text_storage.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "heroine/audio_system.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/picture_desc.h"
#include "shopfloor/shop_sounds.h"

namespace {

namespace sound {
constexpr unsigned ABILITY_ARRIVED = 8;
constexpr unsigned WISH_MET = 39;
constexpr unsigned WISH_EXPIRED = 40;
constexpr unsigned ABILITY_STARTED = 41;
}  // namespace sound

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t GREEN = 0xFF00FF00;
constexpr std::int32_t FAST_BONUS = 5;
constexpr float FAST_PATIENCE = 85.0f;
constexpr float BUTTON_HIDDEN = -300.0f;
constexpr float BUTTON_SHOWN = 255.0f;
constexpr float BUTTON_FADE_OUT = 2000.0f;
constexpr float BUTTON_FADE_IN = 500.0f;
constexpr float GLOW_FADE = 1000.0f;
constexpr float GLOW_GROWTH = 2.0f;
constexpr float GLOW_TURN = 0.05f;
constexpr float TURTLE_GLOW_ACCELERATION = 120.0f;
// The turtle's glow flies to the level clock.
constexpr Vec2 LEVEL_CLOCK{535.0f, 0.0f};
constexpr Vec2 GLOW_CENTRE{40.0f, 45.0f};
// A clip plays once and stops on its last frame: its play time runs out
// before its first pass ends.
constexpr float CLIP_PLAY_TIME = 0.1f;

struct Placement {
    Vec2 base;
    Vec2 station;
    Vec2 tag;
    Vec2 gauge;  // from the base point
};

constexpr std::array<Placement, 3> PLACEMENTS = {{
    {{755, 121}, {755, 335}, {800, 145}, {122, 96}},
    {{263, 89}, {400, 330}, {308, 114}, {-8, 95}},
    {{460, 378}, {610, 610}, {505, 402}, {51, 135}},
}};

struct PetPicture {
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
    float dx;
    float dy;
};

constexpr std::array<PetPicture, CPet::MAX_LEVEL> LEVEL_PICTURES = {{
    {0, 130, 0, 131, 0, 0},
    {131, 261, 0, 131, 0, 0},
    {262, 392, 0, 131, 0, 0},
    {0, 131, 130, 262, 0, -1},
    {131, 261, 131, 262, 0, 0},
    {261, 391, 131, 262, -1, 0},
}};

// Levels 1 to 3, 4 and 5, and 6 share an overlay.
constexpr std::array<PetPicture, 3> FRONT_OVERLAYS = {{
    {341, 426, 394, 434, 24, 12},
    {426, 511, 386, 426, 23, 13},
    {112, 197, 418, 458, 24, 13},
}};

struct FigureClip {
    const char* animation;
    std::int32_t first;
    std::int32_t last;
    float frameTime;
    float dx;
    float dy;
};

// By kind, then by clip.
constexpr std::array<std::array<FigureClip, CPet::CLIP_COUNT>, 2> FIGURE_CLIPS = {{
    {{
        {"A_PET_FISH_1", 60, 119, 0.04f, -114, -106},
        {"A_PET_FISH_1", 0, 59, 0.06f, -112, -109},
        {"A_PET_FISH_3", 0, 39, 0.04f, -112, -109},
        {"A_PET_FISH_2", 0, 39, 0.04f, -111, -108},
        {"A_PET_FISH_1", 120, 219, 0.04f, -108, -109},
    }},
    {{
        {"A_PET_TURTLE_1", 50, 139, 0.04f, 4, -4},
        {"A_PET_TURTLE_1", 0, 49, 0.06f, 2, 10},
        {"A_PET_TURTLE_3", 0, 39, 0.04f, -2, -33},
        {"A_PET_TURTLE_1", 140, 209, 0.04f, 0, 0},
        {"A_PET_TURTLE_2", 0, 49, 0.033f, 1, 1},
    }},
}};

// Where the figure stands from the base point, by kind.
constexpr std::array<Vec2, 2> FIGURE_PLACES = {{{27, 32}, {22, 46}}};

// The ability button and its hover cell on "GUI", by kind.
constexpr std::array<std::int32_t, 2> ABILITY_BUTTON_LEFT = {75, 225};
constexpr std::array<std::int32_t, 2> ABILITY_HOVER_LEFT = {0, 150};

std::uint32_t Opacity(float alpha) {
    return (static_cast<std::uint32_t>(std::clamp(alpha, 0.0f, 255.0f)) << 24) | 0xFFFFFF;
}

bool InTraining() {
    return g_gameSession.HasModeBits(MODE_TRAINING);
}

// "+m:ss" of whole seconds.
std::u16string MinutesText(std::int32_t seconds) {
    const std::int32_t minutes = seconds / 60;
    const std::int32_t rest = seconds % 60;
    return u"+" + NumberText(minutes) + (rest < 10 ? u":0" : u":") + NumberText(rest);
}

void ShowPopup(const std::u16string& text, float x, float y, std::uint32_t colour) {
    PopupTexts::Instance().Add(1, text, 0, colour, x, y, 1.0f, 0.0f, -1.0f, 1.0f, 0.5f, 0.0f, -1);
}

// Moves a glow by `step` towards `target` and turns it, clockwise in
// location 1 and the other way elsewhere.
void FlyGlow(CGuiImage& glow, Vec2 target, float step) {
    const Vec2 direction = Normalize(target - Vec2{glow.x, glow.y});
    glow.x += direction.x * step;
    glow.y += direction.y * step;
    glow.rotation += (g_location.GetLocation() == 1 ? 1.0f : -1.0f) * step * GLOW_TURN;
}

}  // namespace

std::size_t CPet::PictureIndex() const {
    return static_cast<std::size_t>(m_level >= 1 && m_level <= MAX_LEVEL ? m_level - 1 : 0);
}

void CPet::KeepLevelInRange() {
    if (m_level < 1 || m_level > MAX_LEVEL) {
        m_level = 1;
    }
}

std::int32_t CPet::DrawIdleLoops() const {
    return static_cast<std::int32_t>(RandomFloat(0.0f, 3.0f, 1) + 0.5f) + 2;
}

float CPet::Effect() const {
    return g_gameSession.GetUpgradeTable().Row(m_level + UPGRADE_ROW_PET_AQUARIUM - 1).effect;
}

void CPet::Init(std::int32_t location, std::int32_t kind, std::int32_t level) {
    m_wishInterval = 15.0f;
    m_wishCountdown = 15.0f;
    m_wishPatience = 60.0f;
    m_charge = 0;
    m_kind = kind;
    m_sadRepeat = false;
    m_abilityState = ABILITY_NONE;
    m_clipRepeats = 0;
    m_idleLoops = DrawIdleLoops();
    m_level = level;
    KeepLevelInRange();

    if (location >= 1 && location <= 3) {
        m_location = location;
        const Placement& place = PLACEMENTS[static_cast<std::size_t>(location - 1)];
        m_base.x = place.base.x;
        m_base.y = place.base.y;
        stationPoint = place.station;
        tagPoint = place.tag;
        if (location == 3) {
            m_stand.Create(PictureDesc("LOCATION_UPDATES_3", 0, 137, 0, 157, m_base.x - 2.0f,
                                       m_base.y + 80.0f));
            shape = CPlacedRect(m_base.x - 22.0f, m_base.y + 140.0f, 0, 170, 0, 90);
        } else {
            m_stand.Reset();
        }
        SheetClipDesc gauge;
        gauge.offsetX = m_base.x + place.gauge.x;
        gauge.offsetY = m_base.y + place.gauge.y;
        gauge.imageId = "GUI";
        gauge.cellRight = 19;
        gauge.cellBottom = 20;
        gauge.originX = 493;
        gauge.endRow = 11;
        gauge.columns = 1;
        gauge.rows = 12;
        gauge.rowStep = 1;
        gauge.frameTime = 0.05f;
        m_chargeIndicator.ClearClips();
        m_chargeIndicator.AddClip(gauge);
        m_chargeIndicator.RewindToStart();
    }
    const float x = m_base.x;
    const float y = m_base.y;

    m_upgradeButton.Create(PictureDesc("ICONS", 383, 491, 262, 323, x + 105.0f, y + 5.0f));
    for (std::size_t i = 0; i < m_levelPictures.size(); ++i) {
        const PetPicture& picture = LEVEL_PICTURES[i];
        GuiImageDesc desc = PictureDesc("UPGRADES", picture.left, picture.right, picture.top,
                                        picture.bottom, x + picture.dx, y + picture.dy);
        desc.hoverImageId = "GLOW";
        desc.hoverX = x - 8.0f;
        desc.hoverY = y - (i < 3 ? 9.0f : 10.0f);
        desc.hoverLeft = 255;
        desc.hoverRight = 400;
        desc.hoverBottom = 145;
        desc.marginLeft = 10;
        desc.marginRight = -10;
        desc.marginTop = 12;
        desc.marginBottom = -10;
        m_levelPictures[i].Create(desc);
    }
    const PetPicture& overlay = FRONT_OVERLAYS[m_level <= 3 ? 0 : (m_level <= 5 ? 1 : 2)];
    m_frontOverlay.Create(PictureDesc("UPGRADES", overlay.left, overlay.right, overlay.top,
                                      overlay.bottom, x + overlay.dx, y + overlay.dy));

    m_bubble.Reset();

    m_figure.ClearClips();
    if (kind == PET_FISH || kind == PET_TURTLE) {
        const auto k = static_cast<std::size_t>(kind);
        m_figure.SetPosition(x + FIGURE_PLACES[k].x, y + FIGURE_PLACES[k].y);
        for (const FigureClip& clip : FIGURE_CLIPS[k]) {
            FrameClipDesc desc;
            desc.offsetX = clip.dx;
            desc.offsetY = clip.dy;
            desc.animationId = clip.animation;
            desc.firstFrame = clip.first;
            desc.lastFrame = clip.last;
            desc.frameTime = clip.frameTime;
            m_figure.AddClip(desc);
        }
        GuiImageDesc button = PictureDesc("GUI", ABILITY_BUTTON_LEFT[k],
                                          ABILITY_BUTTON_LEFT[k] + 74, 0, 78, x + 24.0f, y - 65.0f);
        button.hoverImageId = "GUI";
        button.hoverX = button.x;
        button.hoverY = button.y;
        button.hoverLeft = ABILITY_HOVER_LEFT[k];
        button.hoverRight = ABILITY_HOVER_LEFT[k] + 74;
        button.hoverBottom = 78;
        m_abilityButton.Create(button);
        m_abilityButton.additiveHover = false;
    }
    StartClip(CLIP_IDLE_LOOP);
}

void CPet::StartClip(std::int32_t clip) {
    m_figure.Play(static_cast<unsigned>(clip), true, false, CLIP_PLAY_TIME);
    m_animState = clip;
}

void CPet::SetAnimState(std::int32_t state) {
    if (state >= 0 && state < CLIP_COUNT) {
        StartClip(state);
    }
}

void CPet::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    KeepLevelInRange();
    CGuiImage& picture = m_levelPictures[PictureIndex()];

    // The gauge runs to the frame of the charge and stops there.
    const int frame = m_chargeIndicator.GetFrameIndex(0);
    if (frame + 1 == m_charge || (frame == 0 && m_charge == 0)) {
        m_chargeIndicator.Stop();
    }
    m_chargeIndicator.Update(elapsed);

    if (!InTraining()) {
        picture.UpdateHover(input, screenScale);
        m_bubble.Update(input, screenScale, elapsed, g_audioSystem.IsWorking() ? 1.0f : 0.0f);
        if (m_bubble.IsHovered()) {
            picture.hovered = true;
        }
        // A fully charged pet wants nothing from the heroine.
        if (m_charge >= FULL_CHARGE) {
            picture.hovered = false;
        }
    }

    if (m_bubble.TakeExpired()) {
        if (m_charge > 0) {
            m_charge = std::max(m_charge - CHARGE_STEP, 0);
            m_chargeIndicator.PlayBackward(0, false, false, -1.0f);
        }
        m_sadRepeat = true;
        shop_sound::Play(sound::WISH_EXPIRED);
        StartClip(CLIP_SAD);
        m_clipRepeats = 1;
    }

    if (m_charge < FULL_CHARGE) {
        if (m_bubble.GetRequest() == 0 && !InTraining()) {
            m_wishCountdown -= elapsed;
            if (m_wishCountdown < 0.0f) {
                m_wishCountdown = m_wishInterval;
                RaiseWish();
            }
        }
        m_buttonAlpha = std::max(m_buttonAlpha - BUTTON_FADE_OUT * elapsed, BUTTON_HIDDEN);
    } else {
        m_buttonAlpha = std::min(m_buttonAlpha + BUTTON_FADE_IN * elapsed, BUTTON_SHOWN);
        m_abilityButton.UpdateHover(input, screenScale);
        // The button takes the click while it is still fading in.
        if (m_abilityButton.hovered && input.ButtonWentDown(0)) {
            StartAbility(screenScale);
        }
    }

    if (m_kind == PET_TURTLE) {
        UpdateTurtleAbility(elapsed);
    } else if (m_kind == PET_FISH) {
        UpdateFishAbility(elapsed);
    }

    if (!m_figure.IsPlaying(-1)) {
        ChooseNextClip();
    }
    m_figure.Update(elapsed);
}

void CPet::RaiseWish() {
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    const std::int32_t r = NextRandom() % 4;
    // A food the level does not offer falls back to food 1.
    const std::int32_t foodTypes = g_gameSession.GetLevel().food_types;
    const std::uint32_t food = r + 1 <= foodTypes ? FoodItem(r + 1) : ITEM_FOOD_1;
    const CGuiImage& picture = m_levelPictures[PictureIndex()];
    m_bubble.SetRequest(food, m_wishPatience, picture.x - 58.0f, picture.y - 4.0f);
}

CGuiImage CPet::MakeGlow(Vec2 screenScale) const {
    CGuiImage glow = m_abilityButton;
    glow.hovered = false;
    glow.centreX = GLOW_CENTRE.x * screenScale.x;
    glow.centreY = GLOW_CENTRE.y * screenScale.y;
    return glow;
}

void CPet::StartAbility(Vec2 screenScale) {
    m_abilityState = ABILITY_FLIGHT;
    m_charge = 0;
    m_chargeIndicator.PlayBackward(0, false, false, -1.0f);
    shop_sound::Play(sound::ABILITY_STARTED);
    m_glowAlpha = 255.0f;
    if (m_kind == PET_TURTLE) {
        m_glows[0] = MakeGlow(screenScale);
        m_glowSpeeds[0] = TURTLE_GLOW_ACCELERATION;
        return;
    }
    for (CGuiImage& glow : m_glows) {
        glow.Reset();
    }
    m_glowSpeeds.fill(0.0f);
    m_glowDistances.fill(0.0f);
    bool any = false;
    const Vec2 button{m_abilityButton.x, m_abilityButton.y};
    const std::size_t count = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(g_aquariumSet.GetCount(), 0)), GLOW_COUNT);
    for (std::size_t k = 0; k < count; ++k) {
        const CAquarium* aquarium = g_aquariumSet.GetAquarium(static_cast<std::int32_t>(k));
        if (aquarium->IsEmpty() || aquarium->GetFishState() == CAquarium::FISH_GROWN) {
            continue;
        }
        m_glows[k] = MakeGlow(screenScale);
        m_glowTargets[k] = aquarium->GetPosition() + Vec2{85.0f, 45.0f};
        m_glowDistances[k] = Length(m_glowTargets[k] - button);
        m_glowSpeeds[k] = m_glowDistances[k] * 0.5f;
        any = true;
    }
    if (!any) {
        // Nothing to grow: one glow only fades at the button.
        m_glows[0] = MakeGlow(screenScale);
        m_abilityState = ABILITY_FADE;
    }
}

void CPet::UpdateTurtleAbility(float elapsed) {
    if (m_abilityState == ABILITY_FLIGHT) {
        CGuiImage& glow = m_glows[0];
        m_glowSpeeds[0] += TURTLE_GLOW_ACCELERATION * elapsed;
        FlyGlow(glow, LEVEL_CLOCK, m_glowSpeeds[0] * elapsed);
        const Vec2 button{m_abilityButton.x, m_abilityButton.y};
        if (LengthSquared(Vec2{glow.x, glow.y} - button) >= LengthSquared(LEVEL_CLOCK - button)) {
            glow.x = LEVEL_CLOCK.x;
            glow.y = LEVEL_CLOCK.y;
            m_abilityState = ABILITY_EFFECT;
            GrantTimeBonus();
            shop_sound::Play(sound::ABILITY_ARRIVED);
        }
    } else if (m_abilityState == ABILITY_EFFECT) {
        FadeGlows(elapsed, 1);
    }
}

void CPet::GrantTimeBonus() {
    const float bonus = (Effect() + 100.0f) * 0.3f;
    // Rounded, so a bonus a hair below a whole minute shows the minute. The
    // effect comes from the upgrade table; an absurd one stops at the range's end.
    const std::int32_t seconds = TruncateToInt32(bonus + 0.5f);
    const std::u16string time = MinutesText(seconds);
    ShowPopup(std::u16string(TextStorage().GetText("PET_TURTLE_ABILITY")) + u" " + time, 570.0f,
              45.0f, GREEN);
    const Vec2 top = g_orderList.GetTopActiveOrderPosition();
    if (top != Vec2{}) {
        ShowPopup(time, top.x + 43.0f, top.y - 23.0f, GREEN);
    }
    g_gameSession.SetTimeBonus(bonus);
    g_orderList.AddBonusTime(bonus);
}

void CPet::UpdateFishAbility(float elapsed) {
    const std::size_t count = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(g_aquariumSet.GetCount(), 0)), GLOW_COUNT);
    if (m_abilityState == ABILITY_FLIGHT) {
        const Vec2 button{m_abilityButton.x, m_abilityButton.y};
        for (std::size_t k = 0; k < count; ++k) {
            if (m_glowDistances[k] <= 0.0f) {
                continue;
            }
            CGuiImage& glow = m_glows[k];
            m_glowSpeeds[k] += m_glowDistances[k] * elapsed;
            FlyGlow(glow, m_glowTargets[k], m_glowSpeeds[k] * elapsed);
            // The glows start at half their distance per second and gain
            // their whole distance every second: they all land together.
            if (Length(Vec2{glow.x, glow.y} - button) >= m_glowDistances[k]) {
                glow.x = m_glowTargets[k].x;
                glow.y = m_glowTargets[k].y;
                m_abilityState = ABILITY_EFFECT;
                break;
            }
        }
    }
    if (m_abilityState == ABILITY_EFFECT) {
        m_abilityState = ABILITY_FADE;
        shop_sound::Play(sound::ABILITY_ARRIVED);
        const std::int32_t growth = TruncateToInt32((Effect() + 100.0f) * 0.25f);
        for (std::size_t k = 0; k < count; ++k) {
            if (m_glowDistances[k] > 0.0f) {
                g_aquariumSet.GetAquarium(static_cast<std::int32_t>(k))
                    ->ApplyPetFishAbility(growth);
            }
        }
    } else if (m_abilityState == ABILITY_FADE) {
        FadeGlows(elapsed, count);
    }
}

void CPet::FadeGlows(float elapsed, std::size_t glowCount) {
    m_glowAlpha -= GLOW_FADE * elapsed;
    if (m_glowAlpha <= 0.0f) {
        m_glowAlpha = 0.0f;
        m_abilityState = ABILITY_NONE;
    }
    // Each glow swells about its centre while it turns.
    for (std::size_t k = 0; k < glowCount; ++k) {
        CGuiImage& glow = m_glows[k];
        glow.scaleX += GLOW_GROWTH * elapsed;
        glow.scaleY += GLOW_GROWTH * elapsed;
        const float width = static_cast<float>(glow.source.right - glow.source.left);
        const float height = static_cast<float>(glow.source.bottom - glow.source.top);
        const float dx = -(glow.scaleX - 1.0f) * width * 0.5f;
        const float dy = -(glow.scaleY - 1.0f) * height * 0.5f;
        const float c = std::cos(glow.rotation);
        const float s = std::sin(glow.rotation);
        glow.offsetX = dx * c - dy * s;
        glow.offsetY = dx * s + dy * c;
    }
}

void CPet::ChooseNextClip() {
    if (m_sadRepeat) {
        StartClip(CLIP_SAD);
        if (++m_clipRepeats > 2) {
            m_sadRepeat = false;
            m_clipRepeats = 0;
        }
        return;
    }
    const auto toIdleLoop = [this] {
        StartClip(CLIP_IDLE_LOOP);
        m_clipRepeats = 0;
        m_idleLoops = DrawIdleLoops();
    };
    if (m_animState == CLIP_IDLE_LOOP) {
        if (++m_clipRepeats < m_idleLoops) {
            StartClip(CLIP_IDLE_LOOP);
        } else {
            m_clipRepeats = 0;
            m_idleLoops = DrawIdleLoops();
            StartClip(RandomFloat(0.0f, 100.0f, 1) > 50.0f ? CLIP_IDLE_A : CLIP_IDLE_B);
        }
    } else if (m_animState == CLIP_IDLE_B) {
        if (RandomFloat(0.0f, 100.0f, 1) > 50.0f) {
            toIdleLoop();
        } else {
            StartClip(CLIP_IDLE_A);
        }
    } else if (RandomFloat(0.0f, 100.0f, 1) > 50.0f) {
        toIdleLoop();
    } else {
        StartClip(CLIP_IDLE_B);
    }
}

bool CPet::SatisfyRequest(std::uint32_t item) {
    if (item == 0 || item != m_bubble.GetRequest()) {
        return false;
    }
    if (m_bubble.GetPatience() > FAST_PATIENCE) {
        ShowPopup(WithNumber(TextStorage().GetText("FAST_BONUS"), u" +", FAST_BONUS),
                  m_base.x + 65.0f, m_base.y + 60.0f, WHITE);
        g_gameSession.AddCash(FAST_BONUS);
    }
    m_bubble.Clear();
    shop_sound::Play(sound::WISH_MET);
    StartClip(CLIP_HAPPY);
    if ((item & MASK_FOOD) != 0 && m_charge < FULL_CHARGE) {
        m_chargeIndicator.Play(0, false, false, -1.0f);
        m_charge = std::min(m_charge + CHARGE_STEP, FULL_CHARGE);
    }
    return true;
}

void CPet::DropPurchase() {
    if (!m_purchasePending) {
        return;
    }
    m_purchasePending = false;
    g_gameSession.CancelPurchase(ITEM_PET, -1);
    g_hintManager.CloseHint(m_hintId);
    m_hintId = -1;
}

void CPet::UpdateShop(const InputState& input, Vec2 screenScale, float /*elapsed*/) {
    KeepLevelInRange();
    CGuiImage& picture = m_levelPictures[PictureIndex()];
    picture.UpdateHover(input, screenScale);
    const bool click =
        g_gameSession.IsBuyButtonHovered() ? input.ButtonWentUp(0) : input.ButtonWentDown(0);
    if (click) {
        if (!picture.hovered) {
            DropPurchase();
        } else if (!m_purchasePending) {
            m_purchasePending = true;
            g_gameSession.TryPurchase(true, ITEM_PET, -1);
            g_hintManager.showFirstArrow = true;
        }
    }
    if (input.ButtonWentUp(0) && g_gameSession.IsFinishButtonHovered() && !picture.hovered) {
        DropPurchase();
    }
    if (m_purchasePending) {
        return;
    }
    if (!picture.hovered && m_hintId != -1) {
        g_hintManager.CloseHint(m_hintId);
        m_hintId = -1;
    }
    if (picture.hovered && m_hintId == -1) {
        if (!g_hintManager.IsFirstHintOpen()) {
            g_hintManager.showFirstArrow = false;
        }
        if (m_level < MAX_LEVEL) {
            HintDesc hint;
            hint.firstArrowPosition = {picture.x + 66.0f, picture.y + 50.0f};
            hint.firstArrowDirection = {0.0f, -1.0f};
            hint.panelPosition = {10.0f, 540.0f};
            hint.headerFont = 1;
            hint.headerId = "UPGRADE_AQUARIUM_HEADER";
            hint.textFont = 0;
            hint.textId = "UPGRADE_PET_TEXT_" + std::to_string(m_level);
            hint.columns = 14;
            hint.rows = 5;
            hint.centred = true;
            m_hintId = g_hintManager.AddHint(hint);
        }
    }
}

void CPet::Render(backend::IRenderDevice* device, Vec2 screenScale) {
    KeepLevelInRange();
    m_stand.Draw(device, screenScale, true, WHITE, true);
    m_levelPictures[PictureIndex()].Draw(device, screenScale, true, WHITE, true);
    if (m_charge > 0 || m_chargeIndicator.IsPlaying(0)) {
        m_chargeIndicator.Draw(screenScale, WHITE);
    }
    m_bubble.Render(device, screenScale);
    m_figure.Draw(screenScale, WHITE);
    m_frontOverlay.Draw(device, screenScale, true, WHITE, true);
    if (m_buttonAlpha > 0.0f && m_abilityState == ABILITY_NONE) {
        m_abilityButton.Draw(device, screenScale, true, Opacity(m_buttonAlpha), true);
    }
}

void CPet::RenderByDepth(backend::IRenderDevice* device, Vec2 screenScale, float line,
                         bool inFront) {
    if (IsDrawnInPass(line, inFront)) {
        Render(device, screenScale);
    }
}

void CPet::RenderAbility(backend::IRenderDevice* device, Vec2 screenScale) {
    if (m_abilityState == ABILITY_NONE) {
        return;
    }
    const std::size_t count = m_kind == PET_TURTLE ? 1 : GLOW_COUNT;
    for (std::size_t k = 0; k < count; ++k) {
        m_glows[k].Draw(device, screenScale, false, Opacity(m_glowAlpha), true);
    }
}

void CPet::RenderShopLevel(backend::IRenderDevice* device, Vec2 screenScale) {
    KeepLevelInRange();
    m_stand.Draw(device, screenScale, true, WHITE, true);
    std::size_t shown = PictureIndex();
    // The next level shows while the player considers buying it.
    if ((m_levelPictures[shown].hovered || m_purchasePending) && m_level < MAX_LEVEL) {
        ++shown;
    }
    m_levelPictures[shown].Draw(device, screenScale, true, WHITE, false);
}

void CPet::RenderUpgradeButton(backend::IRenderDevice* device, Vec2 screenScale) {
    if (m_level < MAX_LEVEL) {
        m_upgradeButton.Draw(device, screenScale, true, WHITE, true);
    }
}
