#include "heroine/instrument_panel.h"

#include <algorithm>
#include <cmath>

#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/number_text.h"
#include "game/game_session.h"
#include "heroine/device_parts.h"
#include "heroine/instrument_places.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr std::uint32_t OPAQUE_WHITE = 0xFFFFFFFF;
// Charging or disabled items are drawn faded.
constexpr std::uint32_t FADED_WHITE = 0xBBFFFFFF;
// The computer in the shop before it is bought.
constexpr std::uint32_t NOT_BOUGHT = 0x88FFFFFF;
constexpr std::uint32_t SELECTION_GREEN = 0xFF00FF00;
constexpr float CHARGE_FADE_SPEED = 1000.0f;
constexpr float BLINK_END = 16.0f;

GuiImageDesc PictureDesc(const InstrumentPlace& place, Vec2 offset) {
    GuiImageDesc desc =
        WithGlow(DevicePicture(place.image != nullptr ? place.image : "", place.source,
                               place.position + offset),
                 place.glowImage, place.glow, place.glowPosition + offset, place.margins);
    desc.scaleX = place.mirrored ? -1.0f : 1.0f;
    return desc;
}

bool IsVitamin(std::uint32_t kind) {
    return kind == ITEM_VITAMIN_GROWTH || kind == ITEM_VITAMIN_COST;
}

// The clock that runs down while the item charges.
void AddChargeClip(CInstrumentItem& item) {
    SheetClipDesc clip;
    if (item.ingredient) {
        clip = {.offsetX = item.tagPoint.x + 5,
                .offsetY = item.tagPoint.y + 4,
                .scaleX = 1.7f,
                .scaleY = 1.7f,
                .imageId = "GUI",
                .cellRight = 18,
                .cellBottom = 20,
                .originX = 494,
                .endRow = 11,
                .columns = 1,
                .rows = 12,
                .rowStep = 1,
                .frameTime = 0.05f};
    } else if (IsVitamin(item.kind)) {
        clip = {.offsetX = item.tagPoint.x + 8,
                .offsetY = item.tagPoint.y + 23,
                .imageId = "TIME_BAR",
                .cellRight = 24,
                .cellBottom = 24,
                .endColumn = 4,
                .endRow = 9,
                .columns = 5,
                .rows = 10,
                .rowStep = 1,
                .frameTime = 0.05f};
    } else {
        return;
    }
    item.chargeClip.AddClip(clip);
    item.chargeClip.RewindToStart();
}

CInstrumentItem MakeItem(const InstrumentPlace& place, Vec2 offset, bool ingredient,
                         std::int32_t level, bool blink) {
    CInstrumentItem item;
    item.picture.Create(PictureDesc(place, offset));
    item.stationPoint = place.station;
    item.tagPoint = place.tag + offset;
    item.ingredient = ingredient;
    item.kind = place.kind;
    item.category = place.category;
    item.level = level;
    item.blink = blink;
    AddChargeClip(item);
    return item;
}

// Whether a tool is offered by the level's counts, and whether it is new
// against the counts of the level before.
struct ToolRule {
    std::uint32_t kind;
    int count;  // 0 food, 1 brush, 2 medicine; -1 always there, never new
    std::int32_t needed;
};

constexpr ToolRule TOOL_RULES[TOOL_COUNT] = {
    {ITEM_DISCARD_SPOT, -1, 0}, {ITEM_COMPUTER, -1, 0},      {ITEM_BRUSH_1, 1, 1},
    {ITEM_BRUSH_2, 1, 2},       {ITEM_MEDICINE_2, 2, 2},     {ITEM_MEDICINE_1, 2, 1},
    {ITEM_VITAMIN_COST, 0, 6},  {ITEM_VITAMIN_GROWTH, 0, 5}, {ITEM_FOOD_4, 0, 4},
    {ITEM_FOOD_3, 0, 3},        {ITEM_FOOD_2, 0, 2},         {ITEM_FOOD_1, 0, 1},
};

}  // namespace

void CInstrumentPanel::Build(std::int32_t location, std::int32_t computerLevel,
                             std::int32_t foodTypes, std::int32_t machineIngredients,
                             std::int32_t brushTypes, std::int32_t medicTypes) {
    m_location = location;
    m_computerLevel = computerLevel;
    m_foodTypes = foodTypes;
    m_machineIngredients = machineIngredients;
    m_brushTypes = brushTypes;
    m_medicTypes = medicTypes;

    m_vitaminBackdrop.Create(DevicePicture("INSTRUMENTS", {332, 384, 432, 484}, {}));
    m_selectionSign.Create(DevicePicture("INSTRUMENTS", {379, 422, 180, 222}, {}));
    m_chargingSign.Create(DevicePicture("INSTRUMENTS", {379, 422, 264, 306}, {}));
    m_buyIcon.Create(DevicePicture("ICONS", {319, 420, 145, 204}, {}, 0.8f));
    m_items.clear();
    m_blinkTimer = 0.0f;
    if (location < 1 || location > LOCATION_COUNT) {
        return;
    }
    const std::size_t place = static_cast<std::size_t>(location - 1);

    const Vec2 offset = INGREDIENT_OFFSETS[place];
    for (const InstrumentPlace& ingredient : INGREDIENT_PLACES) {
        if (machineIngredients >= ingredient.category) {
            m_items.push_back(
                MakeItem(ingredient, offset, true, 1, m_knownIngredients < ingredient.category));
        }
    }
    const std::int32_t offered[] = {foodTypes, brushTypes, medicTypes};
    const std::int32_t known[] = {m_knownFoodTypes, m_knownBrushTypes, m_knownMedicTypes};
    for (int i = 0; i < TOOL_COUNT; ++i) {
        const ToolRule& rule = TOOL_RULES[i];
        const InstrumentPlace& tool = TOOL_PLACES[place][i];
        if (rule.count < 0) {
            m_items.push_back(
                MakeItem(tool, {}, false, rule.kind == ITEM_COMPUTER ? computerLevel : 1, false));
        } else if (offered[rule.count] >= rule.needed) {
            m_items.push_back(MakeItem(tool, {}, false, 1, known[rule.count] < rule.needed));
        }
    }
}

void CInstrumentPanel::SetKnownItemCounts(std::int32_t foodTypes, std::int32_t machineIngredients,
                                          std::int32_t brushTypes, std::int32_t medicTypes) {
    m_knownFoodTypes = foodTypes;
    m_knownIngredients = machineIngredients;
    m_knownBrushTypes = brushTypes;
    m_knownMedicTypes = medicTypes;
}

bool CInstrumentPanel::IsBlinkedOut(const CInstrumentItem& item) const {
    return item.blink && static_cast<std::int32_t>(m_blinkTimer) % 2 == 0;
}

void CInstrumentPanel::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    if (m_blinkTimer >= 0.0f && g_gameSession.GetLevelStartDelay() <= 0.0f) {
        // The blink quickens as it goes: 1 unit per second below 2, 2 from 2
        // to 4, up to 8 from 14 to 16.
        m_blinkTimer += std::trunc(m_blinkTimer * 0.5f + 1.0f) * elapsed;
        if (m_blinkTimer >= BLINK_END) {
            m_blinkTimer = -1.0f;
            for (CInstrumentItem& item : m_items) {
                item.blink = false;
            }
        }
    }
    for (CInstrumentItem& item : m_items) {
        if (item.chargeLeft > 0.0f && !item.disabled) {
            item.chargeLeft -= elapsed;
            if (item.chargeLeft <= 0.0f) {
                item.chargeLeft = 0.0f;
                item.orderNumber = 0;
                // The last ingredient of a set to end moves the waiting sets
                // (and vitamins) down a number.
                const bool numberOneLeft = std::any_of(
                    m_items.begin(), m_items.end(),
                    [](const CInstrumentItem& other) { return other.orderNumber == 1; });
                if (item.ingredient && !numberOneLeft) {
                    for (CInstrumentItem& other : m_items) {
                        if (other.orderNumber > 0) {
                            --other.orderNumber;
                        }
                    }
                }
                PlayDeviceSample(SAMPLE_CHARGED);
            }
        }
        if (item.chargeTotal > 0.0f && (item.chargeLeft > 0.0f || item.chargeAlpha > 0.0f)) {
            const float cells = static_cast<float>(item.chargeClip.GetFrameCount(0) + 2);
            const float done = (1.0f - item.chargeLeft / item.chargeTotal) * cells;
            if (static_cast<float>(item.chargeClip.GetFrameIndex(0)) < done - 2.0f) {
                item.chargeClip.StepForward();
            }
            if (done < cells) {
                item.chargeAlpha = std::min(255.0f, item.chargeAlpha + CHARGE_FADE_SPEED * elapsed);
            } else {
                item.chargeAlpha = std::max(0.0f, item.chargeAlpha - CHARGE_FADE_SPEED * elapsed);
            }
        }
        if (item.level != 0 && item.chargeLeft <= 0.0f && !item.disabled && !IsBlinkedOut(item)) {
            item.picture.UpdateHover(input, screenScale);
        }
    }
    m_pulse.Update(elapsed);
}

void CInstrumentPanel::DrawMarker(const CGuiImage& marker, Vec2 point, Vec2 screenScale,
                                  std::uint32_t colour) {
    const Vec2 scaling = {marker.scaleX * screenScale.x, marker.scaleY * screenScale.y};
    ResourceManager::Instance().DrawImage(marker.image, &marker.source, &scaling, nullptr, 0.0f,
                                          {point.x * screenScale.x, point.y * screenScale.y},
                                          colour);
}

void CInstrumentPanel::Render(backend::IRenderDevice* device, Vec2 screenScale) {
    for (CInstrumentItem& item : m_items) {
        if (item.level == 0 || IsBlinkedOut(item)) {
            continue;
        }
        std::uint32_t colour = OPAQUE_WHITE;
        if (item.highlight) {
            colour = (static_cast<std::uint32_t>(m_pulse.value) << 24) | 0xFFFFFF;
        } else if ((item.chargeLeft > 0.0f || item.disabled) && !item.selected) {
            colour = FADED_WHITE;
        }
        item.picture.Draw(device, screenScale, true, colour, true);
        if (item.selected) {
            DrawMarker(m_selectionSign, item.tagPoint, screenScale, SELECTION_GREEN);
        }
        const std::uint32_t alpha = static_cast<std::uint32_t>(item.chargeAlpha) << 24;
        // An item never charged has no total and shows no charge.
        if (item.chargeTotal > 0.0f) {
            if (IsVitamin(item.kind)) {
                DrawMarker(m_vitaminBackdrop, {item.tagPoint.x - 4, item.tagPoint.y + 6},
                           screenScale, alpha | 0xFFFFFF);
                item.chargeClip.Draw(screenScale, alpha | 0xFFFFFF);
            } else {
                const float cells = static_cast<float>(item.chargeClip.GetFrameCount(0) + 2);
                const float done = (1.0f - item.chargeLeft / item.chargeTotal) * cells;
                if (done > 1.0f && done <= cells) {
                    item.chargeClip.Draw(screenScale, alpha | 0xFFFFFF);
                }
                DrawMarker(m_chargingSign, item.tagPoint, screenScale, alpha | 0xFF0000);
            }
        }
        if (item.ingredient && item.orderNumber > 0) {
            ResourceManager::Instance().DrawText(
                1, NumberText(item.orderNumber), screenScale,
                {(item.tagPoint.x + 12) * screenScale.x, item.tagPoint.y * screenScale.y},
                alpha | 0xFFFFFF, false, false, 0.0f, 0.0f, true);
        }
    }
}

CInstrumentItem* CInstrumentPanel::FindComputer() {
    for (CInstrumentItem& item : m_items) {
        if (item.kind == ITEM_COMPUTER) {
            return &item;
        }
    }
    return nullptr;
}

void CInstrumentPanel::UpdateShop(const InputState& input, Vec2 screenScale, float /*elapsed*/) {
    CInstrumentItem* computer = FindComputer();
    if (computer == nullptr) {
        return;
    }
    computer->picture.UpdateHover(input, screenScale);
    HintDesc hint;
    hint.firstArrowPosition = {computer->picture.x + 35, computer->picture.y + 30};
    hint.firstArrowDirection = {0, -1};
    hint.panelPosition = {10, 510};
    hint.headerFont = 1;
    hint.headerId = "BUY_COMPUTER_HEADER";
    hint.textFont = 0;
    hint.textId = "BUY_COMPUTER_TEXT_1";
    hint.columns = 14;
    hint.rows = 6;
    hint.centred = true;
    m_shop.selected = computer->selected;
    m_shop.Update(input, computer->picture.hovered, ITEM_COMPUTER,
                  computer->level == 0 ? &hint : nullptr);
    computer->selected = m_shop.selected;
}

void CInstrumentPanel::RenderShop(backend::IRenderDevice* device, Vec2 screenScale) {
    CInstrumentItem* computer = FindComputer();
    if (computer == nullptr) {
        return;
    }
    const bool bought = computer->level != 0;
    const bool shown = computer->picture.hovered || computer->selected || bought;
    computer->picture.Draw(device, screenScale, true, shown ? OPAQUE_WHITE : NOT_BOUGHT, false);
    if (!bought) {
        DrawMarker(m_buyIcon, {computer->picture.x + 49, computer->picture.y - 22}, screenScale,
                   OPAQUE_WHITE);
    }
}

void CInstrumentPanel::ToggleSelection() {
    auto hovered = std::find_if(m_items.begin(), m_items.end(), [](const CInstrumentItem& item) {
        return item.picture.hovered && item.ingredient;
    });
    if (hovered == m_items.end()) {
        return;
    }
    PlayDeviceSample(SAMPLE_SELECT);
    hovered->selected = !hovered->selected;
    for (CInstrumentItem& item : m_items) {
        if (&item != &*hovered && item.category == hovered->category) {
            item.selected = false;
        }
    }
}

const CInstrumentItem* CInstrumentPanel::GetHoveredItem() const {
    for (const CInstrumentItem& item : m_items) {
        if (item.picture.hovered) {
            return &item;
        }
    }
    return nullptr;
}

std::uint32_t CInstrumentPanel::GetSelectedKinds() const {
    std::uint32_t kinds = 0;
    for (const CInstrumentItem& item : m_items) {
        if (item.selected) {
            kinds |= item.kind;
        }
    }
    return kinds;
}

void CInstrumentPanel::ClearSelection() {
    for (CInstrumentItem& item : m_items) {
        item.selected = false;
    }
    m_shop.selected = false;
}

std::int32_t CInstrumentPanel::NextOrderNumber() const {
    std::int32_t highest = 0;
    for (const CInstrumentItem& item : m_items) {
        if (item.ingredient) {
            highest = std::max(highest, item.orderNumber);
        }
    }
    return highest + 1;
}

void CInstrumentPanel::StartCharging(std::uint32_t mask, float seconds) {
    const std::int32_t number = NextOrderNumber();
    for (CInstrumentItem& item : m_items) {
        if ((item.kind & mask) == 0) {
            continue;
        }
        item.chargeLeft = seconds;
        item.chargeTotal = seconds;
        item.chargeAlpha = 0.0f;
        item.chargeClip.RewindToStart();
        item.chargeClip.Stop();
        item.orderNumber = number;
        item.picture.hovered = false;
    }
}

float CInstrumentPanel::GetChargeLeft(std::uint32_t kind) const {
    for (const CInstrumentItem& item : m_items) {
        if (item.kind == kind) {
            return item.chargeLeft;
        }
    }
    return 0.0f;
}

void CInstrumentPanel::SetDisabledByKind(std::uint32_t mask, bool disabled) {
    for (CInstrumentItem& item : m_items) {
        if ((item.kind & mask) != 0) {
            item.disabled = disabled;
            if (disabled) {
                item.picture.hovered = false;
            }
        }
    }
}

void CInstrumentPanel::SetAllDisabled(bool disabled) {
    m_allDisabled = disabled;
    SetDisabledByKind(0xFFFFFFFF, disabled);
}

void CInstrumentPanel::SetHighlight(std::uint32_t mask, bool on) {
    bool newlyLit = false;
    for (CInstrumentItem& item : m_items) {
        if ((item.kind & mask) != 0) {
            newlyLit = newlyLit || (on && !item.highlight);
            item.highlight = on;
        }
    }
    if (newlyLit) {
        m_pulse.Set(150.0f, 255.0f, 255.0f, 400.0f, -1);
    }
}

void CInstrumentPanel::SetLevelByKind(std::uint32_t kind, std::int32_t level) {
    for (CInstrumentItem& item : m_items) {
        if (item.kind == kind) {
            item.level = level;
        }
    }
}

Vec2 CInstrumentPanel::GetItemPosition(std::uint32_t kind) const {
    for (const CInstrumentItem& item : m_items) {
        if (item.kind == kind) {
            return {item.picture.x, item.picture.y};
        }
    }
    return {};
}
