#pragma once
// The level's tools and ingredients on the shop floor: the twelve machine
// ingredients, the discard spot, the computer, the brushes, medicines, foods
// and vitamins, each a clickable picture at a fixed place of the location.
// Besides the pictures the panel blinks the items new in this level, runs the
// charge timers and order numbers of delivered ingredients and taken
// vitamins, keeps the training's disabled and highlighted states, and shows
// the computer in the upgrade shop.
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"
#include "game/shop_station.h"

struct InputState;

struct CInstrumentItem {
    // Its hovered flag is the item's hover state; the hover image is its glow.
    CGuiImage picture;
    bool selected = false;
    // Where the heroine stands to use it; (0, 0) for ingredients.
    Vec2 stationPoint;
    // The anchor of its markers and of the heroine's task tag.
    Vec2 tagPoint;
    float stationSeconds = 0.0f;
    bool ingredient = false;
    // 0: none.
    std::int32_t orderNumber = 0;
    std::uint32_t kind = 0;
    // 1 ground, 2 algae, 3 house, 4 coral; 0 for every other item.
    std::int32_t category = 0;
    // 0: hidden, neither drawn nor hovered.
    std::int32_t level = 1;
    bool blink = false;
    bool highlight = false;
    // Not hovered, and its charge holds.
    bool disabled = false;
    float chargeLeft = 0.0f;
    float chargeTotal = 0.0f;
    // 0 to 255, of the charge indicators and the order number.
    float chargeAlpha = 0.0f;
    CSheetAnimation chargeClip;
};

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

class CInstrumentPanel {
public:
    static constexpr unsigned SAMPLE_SELECT = 33;
    static constexpr unsigned SAMPLE_CHARGED = 42;

    // The level's items at the location's places (1 to 3; any other location
    // has none): the ingredient categories up to machineIngredients, the
    // discard spot, the computer at its level, and the brushes, medicines,
    // foods and vitamins the counts offer. Items above the known counts blink.
    void Build(std::int32_t location, std::int32_t computerLevel, std::int32_t foodTypes,
               std::int32_t machineIngredients, std::int32_t brushTypes, std::int32_t medicTypes);
    // The counts of the level before, against which the next Build blinks.
    void SetKnownItemCounts(std::int32_t foodTypes, std::int32_t machineIngredients,
                            std::int32_t brushTypes, std::int32_t medicTypes);

    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    void Render(backend::IRenderDevice* device, Vec2 screenScale);
    // The computer, offered for purchase.
    void UpdateShop(const InputState& input, Vec2 screenScale, float elapsed);
    void RenderShop(backend::IRenderDevice* device, Vec2 screenScale);

    // Toggles the hovered ingredient; at most one is selected per category.
    void ToggleSelection();
    // The first hovered item, null for none.
    const CInstrumentItem* GetHoveredItem() const;
    // The kinds of the selected items together.
    std::uint32_t GetSelectedKinds() const;
    void ClearSelection();
    // 1 + the highest order number among the ingredients.
    std::int32_t NextOrderNumber() const;
    // Every item sharing a bit with the mask charges for `seconds` under the
    // next order number.
    void StartCharging(std::uint32_t mask, float seconds);
    // Of the first item of exactly that kind; 0 for none.
    float GetChargeLeft(std::uint32_t kind) const;
    // Disabling also clears the hover state.
    void SetDisabledByKind(std::uint32_t mask, bool disabled);
    void SetAllDisabled(bool disabled);
    // A newly lit item restarts the shared pulse.
    void SetHighlight(std::uint32_t mask, bool on);
    // The computer and the vitamins after a purchase.
    void SetLevelByKind(std::uint32_t kind, std::int32_t level);
    // The picture position of the first item of exactly that kind; (0, 0) for none.
    Vec2 GetItemPosition(std::uint32_t kind) const;

    const std::vector<CInstrumentItem>& GetItems() const { return m_items; }
    float GetBlinkTimer() const { return m_blinkTimer; }
    const CBlinker& GetPulse() const { return m_pulse; }
    bool IsComputerSelected() const { return m_shop.selected; }

    // What the last Build was given.
    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetComputerLevel() const { return m_computerLevel; }
    std::int32_t GetFoodTypes() const { return m_foodTypes; }
    std::int32_t GetMachineIngredients() const { return m_machineIngredients; }
    std::int32_t GetBrushTypes() const { return m_brushTypes; }
    std::int32_t GetMedicTypes() const { return m_medicTypes; }
    // What the last SetAllDisabled set.
    bool AreAllDisabled() const { return m_allDisabled; }

private:
    // A blinking item is hidden while the blink timer's whole part is even.
    bool IsBlinkedOut(const CInstrumentItem& item) const;
    void DrawMarker(const CGuiImage& marker, Vec2 point, Vec2 screenScale, std::uint32_t colour);
    CInstrumentItem* FindComputer();

    CGuiImage m_vitaminBackdrop;
    CGuiImage m_selectionSign;
    CGuiImage m_chargingSign;
    CGuiImage m_buyIcon;
    std::vector<CInstrumentItem> m_items;
    CBlinker m_pulse;
    // -1 when no blink runs.
    float m_blinkTimer = 0.0f;
    std::int32_t m_knownFoodTypes = 2;
    std::int32_t m_knownBrushTypes = 0;
    std::int32_t m_knownMedicTypes = 0;
    std::int32_t m_knownIngredients = 0;
    ShopStation m_shop;

    std::int32_t m_location = 0;
    std::int32_t m_computerLevel = 0;
    std::int32_t m_foodTypes = 0;
    std::int32_t m_machineIngredients = 0;
    std::int32_t m_brushTypes = 0;
    std::int32_t m_medicTypes = 0;
    bool m_allDisabled = false;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CInstrumentPanel g_instrumentPanel;
