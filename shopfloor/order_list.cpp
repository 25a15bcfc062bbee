#include "shopfloor/order_list.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/number_text.h"
#include "game/game_session.h"
#include "heroine/instrument_panel.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/picture_desc.h"
#include "shopfloor/shop_sounds.h"

namespace {

namespace sound {
constexpr unsigned ORDER_TIMED_OUT = 4;
constexpr unsigned ORDER_WARNING = 5;
constexpr unsigned COMPUTER_CALL = 19;
constexpr unsigned COMPUTER_ORDER_TAKEN = 20;
constexpr unsigned ORDER_ARRIVED = 21;
constexpr unsigned CARD_PICKED = 23;
constexpr unsigned REFUSED = 24;
constexpr unsigned CARD_LANDED = 42;
constexpr unsigned ORDER_ARRIVED_SOON_AFTER = 45;
}  // namespace sound

constexpr float SLOT_HEIGHT =
    COrderList::CARD_SOURCE_HEIGHT * COrderList::CARD_SCALE_Y + COrderList::CARD_GAP;
constexpr float BAR_LENGTH = 76.0f;
constexpr std::int32_t BAR_LEFT = 189;
constexpr float BAR_X = 7.0f;
constexpr float BAR_Y = 3.0f;
constexpr float SLIDE_SPEED = 600.0f;
constexpr float SLIDE_IN_SPEED = 300.0f;
constexpr float LEAVE_SPEED = 500.0f;
constexpr float FADE_SPEED = 1000.0f;
constexpr float FLASH_SPEED = 750.0f;
constexpr float SETTLE_TIME = 0.5f;
// An arrival within this much of the cooldown's start stays silent; after it
// the shorter sound plays until the cooldown is over.
constexpr float ARRIVAL_COOLDOWN = 1.95f;
constexpr float SILENT_ARRIVAL_ABOVE = 1.9f;
constexpr float BONUS_PER_SECOND = 100.0f;
constexpr float WARNING_SHARE = 0.2f;
constexpr float DRAG_OFFSET = -50.0f;
constexpr float INTERIOR_ICON_SCALE = 0.5f;
constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t YELLOW = 0xFFFFFF00;

// Where the wanted fish stands on the card, by kind.
constexpr std::array<Vec2, FISH_KIND_COUNT> FISH_ICON_OFFSETS = {{
    {10, 14},
    {10, 2},
    {14, 16},
    {10, 24},
    {0, -4},
    {4, 6},
    {4, 26},
    {4, 18},
    {10, 12},
    {4, 20},
    {10, 22},
    {0, 18},
    {8, 16},
    {16, 16},
    {10, 12},
    {14, 22},
    {16, 26},
}};

struct InteriorIcon {
    std::uint32_t item;
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
    float dx;
    float dy;
};

// One picture per interior item, in bit order; three items per category.
constexpr std::array<InteriorIcon, INTERIOR_ITEM_COUNT> INTERIOR_ICONS = {{
    {STONE, 171, 231, 0, 42, 4, 58},
    {ROCK, 154, 228, 79, 115, 0, 59},
    {SAND, 140, 205, 47, 82, 3, 61},
    {GREEN_GRASS, 70, 108, 11, 41, 27, 63},
    {BLUE_GRASS, 99, 139, 60, 97, 25, 59},
    {RED_GRASS, 157, 196, 129, 164, 27, 60},
    {CASTLE, 117, 173, 0, 49, 40, 56},
    {CHEST, 59, 97, 52, 100, 45, 57},
    {SEA_SHELL, 112, 154, 104, 147, 43, 58},
    {RED_CORAL, 102, 157, 193, 242, 59, 57},
    {BLUE_CORAL, 94, 144, 148, 195, 59, 58},
    {YELLOW_CORAL, 57, 114, 104, 150, 58, 57},
}};

// A colour channel from 0 to 255, cut to a whole number.
constexpr std::uint32_t Channel(float value) {
    return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f));
}

constexpr std::uint32_t WithAlpha(float alpha, std::uint32_t rgb) {
    return (Channel(alpha) << 24) | (rgb & 0xFFFFFF);
}

std::uint32_t Opacity(float alpha) {
    return WithAlpha(alpha, WHITE);
}

// A card without a time limit stays white; the others show the bonus flash
// and the fade.
std::uint32_t CardColour(const OrderEntry& entry) {
    if (entry.total <= 0.0f) {
        return WHITE;
    }
    return (Channel(entry.colourA) << 24) | (Channel(entry.colourR) << 16) |
           (Channel(entry.colourG) << 8) | Channel(entry.colourB);
}

CGuiImage MakePicture(const char* image, std::int32_t left, std::int32_t right, std::int32_t top,
                      std::int32_t bottom, float x, float y, float scale = 1.0f) {
    GuiImageDesc desc = PictureDesc(image, left, right, top, bottom, x, y);
    desc.scaleX = scale;
    desc.scaleY = scale;
    CGuiImage picture;
    picture.Create(desc);
    return picture;
}

CGuiImage MakeCard(bool computer) {
    // The computer order's card lies below the customer's on the sheet.
    const std::int32_t top = computer ? 135 : 1;
    GuiImageDesc desc;
    desc.x = COrderList::CARD_START_X;
    desc.scaleY = COrderList::CARD_SCALE_Y;
    desc.imageId = "ICONS";
    desc.right = 90;
    desc.top = top;
    desc.bottom = top + 66;
    desc.hoverImageId = "ICONS";
    desc.hoverX = COrderList::CARD_START_X;
    desc.hoverRight = 90;
    desc.hoverTop = computer ? 203 : 68;
    desc.hoverBottom = computer ? 270 : 133;
    CGuiImage card;
    card.Create(desc);
    card.additiveHover = false;
    return card;
}

void ResetPulse(CBlinker& pulse) {
    pulse.Set(127.0f, 255.0f, 255.0f, 400.0f, -1);
}

bool InTraining() {
    return g_gameSession.HasModeBits(MODE_TRAINING);
}

bool HasComputer() {
    return g_gameSession.GetUpgradeLevel(ITEM_COMPUTER, -1) > 0;
}

// The pictures that ride on the card are placed relative to it and moved with
// it through their offsets.
void FollowCard(OrderEntry& entry) {
    entry.fishIcon.offsetX = entry.card.x;
    entry.fishIcon.offsetY = entry.card.y;
    entry.barBack.offsetX = entry.barFill.offsetX = entry.card.x;
    entry.barBack.offsetY = entry.barFill.offsetY = entry.card.y;
    for (CGuiImage& icon : entry.interiorIcons) {
        icon.offsetX = entry.card.x;
        icon.offsetY = entry.card.y;
    }
}

void SetCardY(OrderEntry& entry, float y) {
    entry.card.y = y;
    entry.card.hoverY = y;
}

}  // namespace

float COrderList::SlotY(std::int32_t slot) {
    return BOTTOM_SLOT_Y - static_cast<float>(slot) * SLOT_HEIGHT;
}

void COrderList::Clear() {
    m_bonusFlash = false;
    m_bonusPool = 0.0f;
    std::vector<OrderEntry>().swap(m_entries);
    m_callShown = false;
    m_saleBadge.Reset();
}

void COrderList::AddOrder(std::int32_t kind, std::int32_t amount, float delay, bool computer) {
    // Such an order could never leave the list: no fish of it would ever
    // grow, sell or die, and the level could not end.
    if (kind < 0 || kind >= FISH_KIND_COUNT || amount < 0) {
        return;
    }
    OrderEntry entry;
    entry.kind = kind;
    entry.amount = amount;
    entry.arrivalDelay = delay;
    entry.computer = computer;
    entry.total = g_fishBase.GetWaitingTime(kind) * static_cast<float>(amount);
    entry.remaining = entry.total;
    entry.card = MakeCard(computer);
    ResetPulse(entry.pulse);
    entry.slideSpeed = SLIDE_SPEED;
    entry.slideDirX = 0.0f;
    entry.slideDirY = 1.0f;
    entry.barLength = BAR_LENGTH;
    entry.barBack = MakePicture("INSTRUMENTS", BAR_LEFT, 265, 359, 369, BAR_X, BAR_Y);
    entry.barFill = MakePicture("INSTRUMENTS", BAR_LEFT, 265, 349, 359, BAR_X, BAR_Y);
    const Vec2 iconOffset = FISH_ICON_OFFSETS[static_cast<std::size_t>(kind)];
    entry.fishIcon = CSaleBadge::MakeFishIcon(kind, iconOffset.x, iconOffset.y, 1.0f, 1.0f);
    const std::uint32_t interior = g_fishBase.GetInteriorConst(kind);
    for (std::size_t item = 0; item < INTERIOR_ICONS.size(); ++item) {
        const InteriorIcon& icon = INTERIOR_ICONS[item];
        CGuiImage& slot = entry.interiorIcons[item / 3];
        if ((interior & icon.item) != 0 && slot.image < 0) {
            slot = MakePicture("ITEMS", icon.left, icon.right, icon.top, icon.bottom, icon.dx,
                               icon.dy, INTERIOR_ICON_SCALE);
        }
    }
    FollowCard(entry);
    m_entries.push_back(std::move(entry));
    Arrange();
    m_arrivalSoundCooldown = 0.0f;
}

void COrderList::Arrange() {
    bool swapped = !m_entries.empty();
    while (swapped) {
        swapped = false;
        std::ptrdiff_t last = -1;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (!m_entries[i].active) {
                last = static_cast<std::ptrdiff_t>(i);
            } else if (last != -1) {
                std::swap(m_entries[i], m_entries[static_cast<std::size_t>(last)]);
                swapped = true;
            }
        }
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        OrderEntry& entry = m_entries[i];
        if (entry.card.x > CARD_START_X - 4.0f) {
            SetCardY(entry, SlotY(static_cast<std::int32_t>(i)));
            entry.restY = entry.card.y;
            FollowCard(entry);
        }
    }
}

void COrderList::Update(const InputState& input, Vec2 screenScale, float elapsed, float effect) {
    const float dt = elapsed;
    m_arrivalSoundCooldown = std::max(m_arrivalSoundCooldown - dt, 0.0f);
    m_settleCooldown = std::max(m_settleCooldown - dt, 0.0f);
    // The bonus runs out at its own pace whether or not an order takes it.
    float share = 0.0f;
    if (m_bonusPool > 0.0f) {
        share = std::min(BONUS_PER_SECOND * dt, m_bonusPool);
        m_bonusPool -= share;
    }
    m_callAllowed = true;
    m_mayMove = true;
    m_noFarCard = true;
    m_activeSoFar = 0;
    std::size_t i = 0;
    while (i < m_entries.size()) {
        if (UpdateEntry(i, input, screenScale, dt, effect, share)) {
            ++i;
        }
    }
    if (m_callShown) {
        m_callPulse.Update(dt);
    }
}

bool COrderList::UpdateEntry(std::size_t i, const InputState& input, Vec2 screenScale, float dt,
                             float effect, float share) {
    if (m_entries[i].active) {
        ++m_activeSoFar;
    } else if (m_activeSoFar < MAX_ACTIVE && m_settleCooldown == 0.0f) {
        OrderEntry& waiting = m_entries[i];
        if (!waiting.computer || (m_callAllowed && !m_callShown)) {
            if (!m_holdArrivals) {
                waiting.arrivalDelay -= dt;
            }
            if (waiting.arrivalDelay <= 0.0f) {
                waiting.arrivalDelay = 0.0f;
                if (!waiting.computer) {
                    if (m_arrivalSoundCooldown == 0.0f) {
                        shop_sound::Play(sound::ORDER_ARRIVED);
                    } else if (m_arrivalSoundCooldown <= SILENT_ARRIVAL_ABOVE) {
                        shop_sound::Play(sound::ORDER_ARRIVED_SOON_AFTER);
                    }
                    m_arrivalSoundCooldown = ARRIVAL_COOLDOWN;
                    waiting.active = true;
                    ++m_activeSoFar;
                    // The arrived card moves up the list; the entry now at
                    // this place waits on.
                    Arrange();
                } else if (HasComputer()) {
                    shop_sound::Play(sound::COMPUTER_CALL);
                    ShowComputerCall(g_instrumentPanel.GetItemPosition(ITEM_COMPUTER));
                    m_callAllowed = false;
                }
            }
        }
    }
    OrderEntry& entry = m_entries[i];
    if (!entry.active) {
        return true;
    }
    if (m_bonusFlash) {
        entry.colourR -= FLASH_SPEED * dt;
        entry.colourB = entry.colourR;
        if (entry.colourR <= 100.0f) {
            m_bonusFlash = false;
        }
    } else if (entry.colourR < 255.0f) {
        entry.colourR = std::min(entry.colourR + FLASH_SPEED * dt, 255.0f);
        entry.colourB = std::min(entry.colourB + FLASH_SPEED * dt, 255.0f);
    }
    entry.card.UpdateHover(input, screenScale);
    SlideIntoSlot(entry, i, dt);
    if (entry.card.x > CARD_REST_X) {
        entry.card.x = std::max(entry.card.x - SLIDE_IN_SPEED * dt, CARD_REST_X);
        entry.card.hoverX = entry.card.x;
    }
    FollowCard(entry);
    HandleClicks(entry, input, screenScale);
    if (!entry.warned && entry.total * WARNING_SHARE > entry.remaining) {
        shop_sound::Play(sound::ORDER_WARNING);
        ResetPulse(entry.pulse);
        entry.warned = true;
    }
    if (entry.highlighted || entry.warned) {
        entry.pulse.Update(dt);
    }
    if (entry.total > 0.0f && !InTraining()) {
        if (effect <= 0.0f && entry.remaining > 0.0f && !m_holdTimers) {
            RunTime(entry, input, screenScale, dt, share);
        }
        if (entry.remaining <= 0.0f) {
            // The customer leaves: the card drifts left and fades.
            entry.card.x -= LEAVE_SPEED * dt;
            entry.card.hoverX = entry.card.x;
            entry.dragX -= LEAVE_SPEED * dt;
            entry.colourA -= FADE_SPEED * dt;
            if (entry.colourA <= 0.0f) {
                m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
                m_mayMove = true;
                return false;
            }
        }
    }
    FollowCard(entry);
    if (entry.amount == 0) {
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
        return false;
    }
    return true;
}

void COrderList::SlideIntoSlot(OrderEntry& entry, std::size_t slot, float dt) {
    const float slotY = SlotY(static_cast<std::int32_t>(slot));
    const float aboveY = slotY - SLOT_HEIGHT;
    bool slide = m_mayMove;
    // The first card far above its slot moves whatever the cards below do.
    if (entry.card.y < aboveY && m_noFarCard) {
        m_mayMove = true;
        m_noFarCard = false;
        slide = true;
    }
    if (!slide || entry.card.y >= slotY) {
        entry.restX = entry.card.x;
        entry.restY = entry.card.y;
        return;
    }
    // Fast from where the card stood, slowing down towards its slot.
    const float fall = slotY - entry.restY;
    const float ratio = fall > 0.0f ? (slotY + 150.0f - entry.card.y) / fall : 1.0f;
    const float k = std::min(ratio * ratio, 0.5f);
    entry.card.x += dt * entry.slideSpeed * k * entry.slideDirX;
    SetCardY(entry, entry.card.y + dt * entry.slideSpeed * k * entry.slideDirY);
    entry.card.hoverX = entry.card.x;
    if (entry.card.y >= slotY) {
        SetCardY(entry, slotY);
        shop_sound::Play(sound::CARD_LANDED);
    }
    if (k > 0.45f || (!m_noFarCard && entry.card.y >= aboveY)) {
        m_mayMove = false;
    }
    m_settleCooldown = SETTLE_TIME;
}

void COrderList::HandleClicks(OrderEntry& entry, const InputState& input, Vec2 screenScale) {
    if (input.ButtonWentDown(0)) {
        if (entry.picked) {
            if (CAquarium* aquarium = g_aquariumSet.FindHovered()) {
                if (aquarium->IsEmpty()) {
                    --entry.amount;
                    aquarium->PutFish(entry.kind, entry.computer);
                    m_settleCooldown = SETTLE_TIME;
                } else {
                    shop_sound::Play(sound::REFUSED);
                }
            }
            entry.picked = false;
            entry.dragX = entry.dragY = 0.0f;
        } else if (entry.card.hovered) {
            shop_sound::Play(sound::CARD_PICKED);
            entry.picked = true;
            entry.dragX = DRAG_OFFSET * screenScale.x;
            entry.dragY = DRAG_OFFSET * screenScale.y;
        }
    }
    if (input.ButtonWentDown(1)) {
        entry.picked = false;
        entry.dragX = entry.dragY = 0.0f;
    }
}

void COrderList::RunTime(OrderEntry& entry, const InputState& input, Vec2 screenScale, float dt,
                         float share) {
    entry.remaining = std::clamp(entry.remaining - dt + share, 0.0f, entry.total);
    // The total comes from the fish file and may be infinite, where the share
    // would be NaN: a card whose time never runs out keeps a full bar.
    const float fill = entry.remaining < entry.total ? entry.remaining / entry.total : 1.0f;
    entry.barFill.source.right = BAR_LEFT + static_cast<std::int32_t>(fill * entry.barLength);
    if (entry.remaining > 0.0f) {
        return;
    }
    entry.remaining = 0.0f;
    // A copy being dragged stays where it is while it fades.
    entry.dragX += input.cursorX;
    entry.dragY += input.cursorY;
    shop_sound::Play(sound::ORDER_TIMED_OUT);
    PopupTexts::Instance().Add(
        1, NumberText(-TIMEOUT_FINE), 0, YELLOW, entry.card.x + 45.0f * screenScale.x,
        entry.card.y + 42.0f * screenScale.y, 1.0f, 0.0f, 1.0f, 1.0f, 0.5f, 0.0f, -1);
    g_gameSession.AddCash(-TIMEOUT_FINE);
    ++g_gameSession.GetStatistics().deadFishAndMissedOrders;
}

void COrderList::TakeAtComputer() {
    if (!m_callShown) {
        return;
    }
    m_callShown = false;
    if (CountActive() >= MAX_ACTIVE) {
        shop_sound::Play(sound::REFUSED);
        return;
    }
    for (OrderEntry& entry : m_entries) {
        if (entry.computer && !entry.active && entry.arrivalDelay <= 0.0f) {
            shop_sound::Play(sound::COMPUTER_ORDER_TAKEN);
            entry.active = true;
            Arrange();
            return;
        }
    }
}

void COrderList::ShowComputerCall(Vec2 computer) {
    m_callShown = true;
    m_callPulse.Set(127.0f, 255.0f, 127.0f, 400.0f, 1);
    m_callIndicator = MakePicture("GUI", 39, 78, 300, 323, computer.x + 14.0f, computer.y + 15.0f);
}

void COrderList::AddBonusTime(float seconds) {
    m_bonusFlash = true;
    m_bonusPool += seconds;
}

Vec2 COrderList::GetTopActiveOrderPosition() const {
    const OrderEntry* top = nullptr;
    for (const OrderEntry& entry : m_entries) {
        if (entry.active && (top == nullptr || entry.card.y < top->card.y)) {
            top = &entry;
        }
    }
    return top != nullptr ? Vec2{top->card.x, top->card.y} : Vec2{};
}

OrderEntry* COrderList::GetEntry(std::int32_t index) {
    return index >= 0 && index < static_cast<std::int32_t>(m_entries.size())
               ? &m_entries[static_cast<std::size_t>(index)]
               : nullptr;
}

std::int32_t COrderList::CountActive() const {
    return static_cast<std::int32_t>(std::count_if(
        m_entries.begin(), m_entries.end(), [](const OrderEntry& entry) { return entry.active; }));
}

void COrderList::SetHighlighted(std::int32_t index, bool on) {
    OrderEntry* entry = GetEntry(index);
    if (entry == nullptr) {
        return;
    }
    if (on && !entry->highlighted) {
        ResetPulse(entry->pulse);
    }
    entry->highlighted = on;
}

bool COrderList::IsDragging() const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [](const OrderEntry& entry) { return entry.picked; });
}

void COrderList::DropAll() {
    for (OrderEntry& entry : m_entries) {
        entry.picked = false;
    }
}

void COrderList::RemoveInactive() {
    std::erase_if(m_entries, [](const OrderEntry& entry) { return !entry.active; });
}

bool COrderList::IsDone() const {
    if (m_entries.empty()) {
        return true;
    }
    if (HasComputer()) {
        return false;
    }
    // Without a computer its orders can never be served.
    return std::all_of(m_entries.begin(), m_entries.end(),
                       [](const OrderEntry& entry) { return entry.computer; });
}

void COrderList::Render(backend::IRenderDevice* device, const InputState& input, Vec2 screenScale) {
    Render(device, Vec2{input.cursorX, input.cursorY}, screenScale);
}

void COrderList::Render(backend::IRenderDevice* device, Vec2 cursor, Vec2 screenScale) {
    const OrderEntry* dragged = nullptr;
    for (OrderEntry& entry : m_entries) {
        if (!entry.active) {
            continue;
        }
        std::uint32_t colour = CardColour(entry);
        if (entry.total > 0.0f) {
            if (entry.highlighted || entry.warned) {
                colour = WithAlpha(std::min(entry.colourA, entry.pulse.value), colour);
            } else if (entry.picked) {
                colour = WithAlpha(std::min(entry.colourA, 127.0f), colour);
            }
        } else if (entry.highlighted) {
            colour = Opacity(entry.pulse.value);
        } else if (entry.picked) {
            colour = 0x7FFFFFFF;
        }
        if (entry.card.hovered) {
            colour = WithAlpha(entry.pulse.value, colour);
        }
        entry.card.Draw(device, screenScale, true, colour, true);
        const std::uint32_t opacity = Opacity(entry.colourA);
        entry.fishIcon.Draw(device, screenScale, true, opacity, true);
        if (entry.amount > 1) {
            const std::int32_t shown = entry.picked ? entry.amount - 1 : entry.amount;
            ResourceManager::Instance().DrawText(
                1, NumberText(shown), {0.75f * screenScale.x, 0.75f * screenScale.y},
                {(entry.card.x + 14.0f) * screenScale.x, (entry.card.y + 7.0f) * screenScale.y},
                opacity, true, false, 0.0f, 0.0f, true);
        }
        if (entry.total > 0.0f) {
            entry.barBack.Draw(device, screenScale, true, opacity, true);
            entry.barFill.Draw(device, screenScale, true, opacity, true);
        }
        for (CGuiImage& icon : entry.interiorIcons) {
            icon.Draw(device, screenScale, true, opacity, true);
        }
        if (entry.picked && dragged == nullptr) {
            dragged = &entry;
        }
    }
    if (dragged != nullptr) {
        DrawDraggedCopy(*dragged, cursor, screenScale);
    }
}

void COrderList::DrawDraggedCopy(const OrderEntry& entry, Vec2 cursor, Vec2 screenScale) const {
    CResourceManager& resources = ResourceManager::Instance();
    const Vec2 corner = entry.HasTimedOut() ? Vec2{entry.dragX, entry.dragY}
                                            : Vec2{cursor.x + entry.dragX, cursor.y + entry.dragY};
    const std::uint32_t opacity = Opacity(entry.colourA);
    // A picture of the card at its place relative to the card's corner.
    const auto draw = [&](const CGuiImage& picture, std::uint32_t colour) {
        if (picture.image < 0) {
            return;
        }
        const Vec2 scaling{picture.scaleX * screenScale.x, picture.scaleY * screenScale.y};
        const Vec2 position{corner.x + picture.x * screenScale.x,
                            corner.y + picture.y * screenScale.y};
        resources.DrawImage(picture.image, &picture.source, &scaling, nullptr, 0.0f, position,
                            colour);
    };
    CGuiImage card = entry.card;
    card.x = 0.0f;
    card.y = 0.0f;
    draw(card, CardColour(entry));
    draw(entry.fishIcon, opacity);
    if (entry.total > 0.0f) {
        draw(entry.barBack, opacity);
        draw(entry.barFill, opacity);
    }
    for (const CGuiImage& icon : entry.interiorIcons) {
        draw(icon, opacity);
    }
}

void COrderList::RenderComputerCall(backend::IRenderDevice* device, Vec2 screenScale) {
    if (m_callShown) {
        m_callIndicator.Draw(device, screenScale, true, Opacity(m_callPulse.value), true);
    }
}
