#pragma once
// One aquarium slot of the shop floor: its upgrade level, its art, its
// interior, its lamp and compressor, the one fish it can hold and the sale
// badge that remembers the last sales.
#include <array>
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"
#include "engine/platform/placed_rect.h"
#include "game/shop_station.h"
#include "shopfloor/fish.h"
#include "shopfloor/sale_badge.h"

struct InputState;

class CAquarium {
public:
    // The state of the fish inside.
    static constexpr std::int32_t FISH_GROWING = ::FISH_GROWING;
    static constexpr std::int32_t FISH_GROWN = ::FISH_GROWN;
    static constexpr std::int32_t FISH_DEAD = ::FISH_DEAD;

    static constexpr std::int32_t MAX_LEVEL = 4;
    // Cash lost with a dead fish.
    static constexpr std::int32_t DEATH_COST = 100;
    // Cash per chain step when a fish of the last sold kind goes in.
    static constexpr std::int32_t COMBO_STEP = 20;
    static constexpr float GROWTH_BAR_WIDTH = 108.0f;

    // The parts that can be disabled or highlighted.
    enum Part : std::size_t { PART_BODY, PART_COMPRESSOR, PART_LAMP, PART_SELL, PART_COUNT };

    CAquarium() = default;

    // Builds the pictures and animations of a slot of the look at (x, y).
    void Build(std::int32_t look, std::int32_t level, std::int32_t compressorStyle,
               std::uint32_t interior, float x, float y, float scaleX, float scaleY, bool hidden);

    // 0 not bought, 1 to 4.
    std::int32_t GetLevel() const { return m_level; }
    void SetLevel(std::int32_t level) { m_level = level; }
    std::int32_t GetLook() const { return m_look; }

    // A young fish of the kind goes into the aquarium; `computer` tells
    // whether it came from a computer order.
    void PutFish(std::int32_t kind, bool computer);
    // The pet fish's ability: the fish grows by `growth` percent.
    void ApplyPetFishAbility(std::int32_t growth);
    // Furnishes the aquarium with the interior bits and places their pictures.
    void SetInterior(std::uint32_t bits);
    // Empties the aquarium after a sale or a death; the badge stays.
    void Reset();
    // Empties it and stops every animation.
    void Clear();

    // The training's controls over the parts (a mask of ITEM_AQUARIUM for the
    // body, ITEM_COMPRESSOR_SWITCH and ITEM_LAMP_SWITCH).
    void SetPartsHighlighted(std::uint32_t parts, bool sell, bool on);
    void SetPartsDisabled(std::uint32_t parts, bool on);
    void SetSellDisabled(bool on);

    void Update(const InputState& input, Vec2 screenScale, float elapsed, bool noSellButtonHovered,
                bool anyBubbleHovered);
    // The upgrade shop: the slot's hint and its purchase.
    void UpdateShop(const InputState& input, Vec2 screenScale, float elapsed, std::int32_t slot);

    void RenderBody(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderOverlay(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderShop(backend::IRenderDevice* device, Vec2 screenScale);

    // A switch delivered by the heroine. It moves only toward the state the
    // request names; answers the code of the switch's state afterwards.
    std::uint32_t DeliverCompressorSwitch(std::uint32_t request);
    std::uint32_t DeliverLampSwitch(std::uint32_t request);

    bool IsEmpty() const { return m_empty; }
    std::int32_t GetFishKind() const { return m_empty ? -1 : m_fish.kind; }
    bool IsComputerFish() const { return m_fish.computerOrder; }
    std::int32_t GetFishState() const { return m_fish.state; }
    void SetFishState(std::int32_t state) { m_fish.state = state; }
    CFish& GetFish() { return m_fish; }
    const CFish& GetFish() const { return m_fish; }
    // The fish's pending wish; 0 when it waits for nothing.
    std::uint32_t GetRequest() const { return m_fish.bubble.GetRequest(); }
    std::uint32_t GetInterior() const { return m_interior; }
    bool IsLampOn() const { return m_lampOn; }
    bool IsCompressorOn() const { return m_compressorOn; }
    bool IsHidden() const { return m_hidden; }
    void SetHidden(bool hidden) { m_hidden = hidden; }
    bool IsChosen() const { return m_shop.selected; }
    std::int32_t GetHintId() const { return m_shop.hintId; }

    // The top-left corner of the body picture.
    Vec2 GetPosition() const { return {m_body.x, m_body.y}; }
    // The body picture's y plus the height of its rectangle.
    float GetBottomEdge() const {
        return m_body.y + static_cast<float>(m_body.source.bottom - m_body.source.top);
    }
    // Whether the body, the compressor switch or the lamp switch is marked.
    bool IsHovered() const {
        return m_body.hovered || m_compressorSwitch.hovered || m_lampSwitch.hovered;
    }
    bool IsSellButtonHovered() const { return m_sellButton.hovered; }
    // The training's states of a part.
    bool IsDisabled(Part part) const { return m_disabled[part]; }
    bool IsHighlighted(Part part) const { return m_highlighted[part]; }

    // The pictures, for whoever marks or inspects them.
    CGuiImage& GetBody() { return m_body; }
    CGuiImage& GetCompressorSwitch() { return m_compressorSwitch; }
    CGuiImage& GetLampSwitch() { return m_lampSwitch; }
    CGuiImage& GetSellButton() { return m_sellButton; }
    const CSaleBadge& GetBadge() const { return m_badge; }
    CSaleBadge& GetBadge() { return m_badge; }
    float GetSellAlpha() const { return m_sellAlpha; }
    float GetInteriorAlpha() const { return m_interiorAlpha; }
    float GetBadgeAlpha() const { return m_badgeAlpha; }
    float GetDirtAlpha() const { return m_dirtAlpha; }
    std::int32_t GetDirtKind() const { return m_dirtKind; }
    const CSheetAnimation& GetCompressorAnimation() const { return m_compressorAnimation; }
    const CSheetAnimation& GetBubblesAnimation() const { return m_bubblesAnimation; }
    const CGuiImage& GetGround() const { return m_ground; }
    const CGuiImage& GetHouse() const { return m_house; }
    // Row 0 is the front row.
    const CGuiImage& GetAlgae(std::size_t row, std::size_t place) const {
        return m_algae[row * 3 + place];
    }
    const CGuiImage& GetCoral(std::size_t row, std::size_t place) const {
        return m_corals[row * 3 + place];
    }

    // Where the heroine stands to serve the aquarium, and where her task tag
    // for the body, the lamp switch and the compressor switch is shown.
    Vec2 stationPoint;
    Vec2 bodyTagPoint;
    Vec2 lampTagPoint;
    Vec2 compressorTagPoint;
    // The box that the heroine's paths go around.
    CPlacedRect shape;

private:
    void UpdateHoverMarks(const InputState& input, Vec2 screenScale, bool noSellButtonHovered,
                          bool anyBubbleHovered);
    void UpdateAnimations(float elapsed);
    void UpdateFades(float elapsed);
    void UpdateBadge(float elapsed);
    void Sell();
    void Die();
    std::uint32_t BodyColour() const;
    void DrawLevelMark(backend::IRenderDevice* device, Vec2 screenScale, std::int32_t level);
    void PlaceAlgae(std::uint32_t bits, bool houseLeft, bool coral);
    void PlaceCorals(std::uint32_t bits, bool houseLeft);

    CGuiImage m_body;
    // A purchase of this slot pending in the upgrade shop, and its hint.
    ShopStation m_shop;
    std::int32_t m_look = -1;
    std::int32_t m_level = 0;
    std::uint32_t m_interior = 0;
    bool m_empty = true;
    bool m_lampOn = false;
    bool m_compressorOn = false;
    bool m_stopClipPlayed = true;
    bool m_hidden = false;
    float m_growthBarWidth = 0.0f;
    float m_bubblesTimer = 0.0f;
    float m_sellAlpha = 0.0f;
    float m_interiorAlpha = 0.0f;
    float m_dirtAlpha = 0.0f;
    float m_badgeAlpha = 0.0f;
    std::int32_t m_dirtKind = -1;
    std::array<bool, PART_COUNT> m_disabled{};
    std::array<bool, PART_COUNT> m_highlighted{};
    CBlinker m_pulse;
    CSaleBadge m_badge;

    CGuiImage m_lampGlow;
    CGuiImage m_compressorSwitch;
    CGuiImage m_lampLight;
    CGuiImage m_lampSwitch;
    CGuiImage m_growthBar;
    CGuiImage m_dirt1;
    CGuiImage m_dirt2;
    CGuiImage m_shadow;
    CGuiImage m_sellButton;
    std::array<CGuiImage, 3> m_levelMarks;
    CGuiImage m_buyIcon;
    CGuiImage m_upgradeIcon;
    CGuiImage m_ground;
    CGuiImage m_house;
    std::array<CGuiImage, 9> m_algae;
    std::array<CGuiImage, 9> m_corals;
    std::array<float, 9> m_algaePlaceX{};

    CSheetAnimation m_bubblesAnimation;
    CSheetAnimation m_compressorAnimation;
    CSheetAnimation m_causticAnimation;
    CSheetAnimation m_volumeLight;

    CFish m_fish;
};
