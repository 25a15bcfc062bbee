#pragma once
// The shop's pet: a fish or a turtle in its own small aquarium that wishes for
// food, gains charge for every wish the heroine meets and at full charge
// offers its ability: the pet fish makes every growing fish grow at once, the
// pet turtle adds time to the level and to every customer order. Its six
// levels are bought in the upgrade shop.
#include <array>
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/frame_animation.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/geometry.h"
#include "engine/platform/placed_rect.h"
#include "shopfloor/depth_pass.h"
#include "shopfloor/request_bubble.h"

struct InputState;

class CPet {
public:
    enum Kind : std::int32_t { PET_FISH = 0, PET_TURTLE = 1 };
    // The figure's clips.
    enum Clip : std::int32_t {
        CLIP_IDLE_A = 0,
        CLIP_SAD = 1,
        CLIP_HAPPY = 2,
        CLIP_IDLE_LOOP = 3,
        CLIP_IDLE_B = 4,
        CLIP_COUNT = 5,
    };
    // The ability: glows in flight, their effect, then their fade.
    enum Ability : std::int32_t {
        ABILITY_NONE = 0,
        ABILITY_FLIGHT = 1,
        ABILITY_EFFECT = 2,
        ABILITY_FADE = 3,
    };
    static constexpr std::int32_t MAX_LEVEL = 6;
    static constexpr std::int32_t CHARGE_STEP = 4;
    static constexpr std::int32_t FULL_CHARGE = 12;
    static constexpr std::size_t GLOW_COUNT = 6;
    // From the top of the pet's stand to the edge the depth passes compare.
    static constexpr float DEPTH_BELOW_STAND = 108.0f;

    CPet() = default;

    // Places and builds the pet for its location 1 to 3, kind and level 1 to
    // 6. The button's fade, the glows and the shop's purchase and hint stay.
    void Init(std::int32_t location, std::int32_t kind, std::int32_t level);
    // Starts clip 0 to 4; any other value is ignored.
    void SetAnimState(std::int32_t state);
    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    // The heroine hands an item; true when it is the pending wish.
    bool SatisfyRequest(std::uint32_t item);
    void UpdateShop(const InputState& input, Vec2 screenScale, float elapsed);
    void Render(backend::IRenderDevice* device, Vec2 screenScale);
    // The pet in the pass that IsDrawnInPass chooses for the line.
    void RenderByDepth(backend::IRenderDevice* device, Vec2 screenScale, float line, bool inFront);
    void RenderAbility(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderShopLevel(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderUpgradeButton(backend::IRenderDevice* device, Vec2 screenScale);

    float GetBottomEdge() const { return m_stand.y + DEPTH_BELOW_STAND; }
    bool IsDrawnInPass(float line, bool inFront) const {
        return IsInDepthPass(GetBottomEdge(), line, inFront);
    }
    // The pet's click area: the current level's picture.
    bool IsHovered() const { return m_levelPictures[PictureIndex()].hovered; }

    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetKind() const { return m_kind; }
    std::int32_t GetLevel() const { return m_level; }
    std::int32_t GetAnimState() const { return m_animState; }
    std::int32_t GetCharge() const { return m_charge; }
    std::int32_t GetAbilityState() const { return m_abilityState; }
    std::int32_t GetClipRepeats() const { return m_clipRepeats; }
    std::int32_t GetIdleLoops() const { return m_idleLoops; }
    bool IsSadRepeat() const { return m_sadRepeat; }
    float GetButtonAlpha() const { return m_buttonAlpha; }
    float GetGlowAlpha() const { return m_glowAlpha; }
    float GetWishCountdown() const { return m_wishCountdown; }
    bool IsPurchasePending() const { return m_purchasePending; }
    std::int32_t GetHintId() const { return m_hintId; }
    Vec2 GetBasePoint() const { return {m_base.x, m_base.y}; }
    const CGuiImage& GetLevelPicture(std::int32_t level) const {
        return m_levelPictures[static_cast<std::size_t>(level - 1)];
    }
    const CGuiImage& GetAbilityButton() const { return m_abilityButton; }
    const CGuiImage& GetGlow(std::size_t glow) const { return m_glows[glow]; }
    const CRequestBubble& GetBubble() const { return m_bubble; }
    const CSheetAnimation& GetChargeIndicator() const { return m_chargeIndicator; }
    const CFrameAnimation& GetFigure() const { return m_figure; }

    // Read by the heroine: where she stands to serve the pet, where her task
    // tag shows, and in location 3 the box she walks around.
    Vec2 stationPoint;
    Vec2 tagPoint;
    CPlacedRect shape;

private:
    std::size_t PictureIndex() const;
    // A level outside 1..6 counts as 1.
    void KeepLevelInRange();
    void StartClip(std::int32_t clip);
    std::int32_t DrawIdleLoops() const;
    void RaiseWish();
    void StartAbility(Vec2 screenScale);
    void UpdateTurtleAbility(float elapsed);
    void UpdateFishAbility(float elapsed);
    void FadeGlows(float elapsed, std::size_t glowCount);
    void GrantTimeBonus();
    void ChooseNextClip();
    void DropPurchase();
    // The strength of the ability at the pet's level.
    float Effect() const;
    CGuiImage MakeGlow(Vec2 screenScale) const;

    CGuiImage m_base;
    bool m_purchasePending = false;
    std::int32_t m_location = 0;
    std::int32_t m_kind = -1;
    std::int32_t m_level = -1;
    std::int32_t m_animState = 0;
    std::int32_t m_clipRepeats = 0;
    std::int32_t m_idleLoops = 0;
    bool m_sadRepeat = false;
    std::int32_t m_abilityState = ABILITY_NONE;
    std::int32_t m_charge = 0;
    float m_buttonAlpha = 0.0f;
    CSheetAnimation m_chargeIndicator;
    CFrameAnimation m_figure;
    std::array<CGuiImage, MAX_LEVEL> m_levelPictures;
    CGuiImage m_frontOverlay;
    CGuiImage m_stand;
    CGuiImage m_upgradeButton;
    CGuiImage m_abilityButton;
    std::array<CGuiImage, GLOW_COUNT> m_glows;
    std::array<float, GLOW_COUNT> m_glowSpeeds{};
    std::array<float, GLOW_COUNT> m_glowDistances{};
    // Where each glow of the pet fish flies to.
    std::array<Vec2, GLOW_COUNT> m_glowTargets{};
    float m_glowAlpha = 0.0f;
    CRequestBubble m_bubble;
    float m_wishInterval = 0.0f;
    float m_wishPatience = 0.0f;
    float m_wishCountdown = 0.0f;
    std::int32_t m_hintId = -1;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CPet g_pet;
