#pragma once
// The level's customer orders, shown as a column of cards at the right edge of
// the play screen, with the sale badge that gives the cards their fish icons.
// A customer order slides in by itself once its delay is over; a computer
// order calls at the shop's computer and comes in when the heroine gets there.
// A card is picked up with a click and dropped on an empty aquarium, which
// receives a young fish of the kind; a card whose time runs out costs a fine
// and fades away.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"
#include "shopfloor/sale_badge.h"

struct InputState;

// One order: `amount` fish of one kind within a time limit. The card's
// position is the position of the whole entry.
struct OrderEntry {
    CGuiImage card;
    std::int32_t kind = -1;
    std::int32_t amount = 0;
    bool active = false;
    bool computer = false;
    bool picked = false;
    bool highlighted = false;
    float arrivalDelay = 0.0f;
    float remaining = 0.0f;
    // 0: no time limit.
    float total = 0.0f;
    bool warned = false;
    float barLength = 0.0f;
    CGuiImage fishIcon;
    CGuiImage barBack;
    CGuiImage barFill;
    // Ground, algae, house and coral; a slot the kind does not need is empty.
    std::array<CGuiImage, 4> interiorIcons;
    float slideSpeed = 0.0f;
    float slideDirX = 0.0f;
    float slideDirY = 0.0f;
    // While picked, the dragged copy's offset from the cursor; after the order
    // ran out while picked, the copy's own position.
    float dragX = 0.0f;
    float dragY = 0.0f;
    // Where the card last stood still.
    float restX = 0.0f;
    float restY = 0.0f;
    CBlinker pulse;
    float colourA = 255.0f;
    float colourR = 255.0f;
    float colourG = 255.0f;
    float colourB = 255.0f;

    bool HasTimedOut() const { return total > 0.0f && remaining <= 0.0f; }
};

class COrderList {
public:
    static constexpr std::int32_t MAX_ACTIVE = 6;
    static constexpr float CARD_REST_X = 930.0f;
    static constexpr float CARD_START_X = 1024.0f;
    static constexpr float BOTTOM_SLOT_Y = 675.0f;
    static constexpr float CARD_SCALE_Y = 1.3f;
    static constexpr float CARD_SOURCE_HEIGHT = 66.0f;
    static constexpr float CARD_GAP = 5.0f;
    static constexpr std::int32_t TIMEOUT_FINE = 100;

    // No orders, no bonus time waiting, no computer call; the badge reset.
    void Clear();
    // An order of `amount` fish of `kind` that arrives `delay` seconds from
    // now; it becomes visible in a later Update. An order that could never
    // leave the list (a negative amount, or a kind that is no fish) is not
    // added.
    void AddOrder(std::int32_t kind, std::int32_t amount, float delay, bool computer);
    // An order that arrives at once: a customer's fish died, so the customer
    // asks again.
    void ReturnOrder(std::int32_t kind, std::int32_t amount) {
        AddOrder(kind, amount, 0.0f, false);
    }
    // True stops the arrival countdowns of the orders still on their way.
    void HoldArrivals(bool hold) { m_holdArrivals = hold; }
    // True stops the time of the orders on screen.
    void HoldTimers(bool hold) { m_holdTimers = hold; }
    // Arrivals, layout, drag and drop, warnings, time and timeouts. `effect`
    // is the audio system's: above 0 it stops every order's time.
    void Update(const InputState& input, Vec2 screenScale, float elapsed, float effect);
    // The cards in place, then the one being dragged at the cursor (screen
    // pixels).
    void Render(backend::IRenderDevice* device, Vec2 cursor, Vec2 screenScale);
    void Render(backend::IRenderDevice* device, const InputState& input, Vec2 screenScale);
    // The blinking sign at the computer while a computer order calls.
    void RenderComputerCall(backend::IRenderDevice* device, Vec2 screenScale);
    // The heroine reached the computer: the calling order comes in, unless
    // the column is full.
    void TakeAtComputer();
    // Every order on screen receives the whole amount, 100 seconds per second,
    // while its time runs.
    void AddBonusTime(float seconds);
    // The topmost card on screen; (0, 0) when none is.
    Vec2 GetTopActiveOrderPosition() const;
    // Null beyond the list.
    OrderEntry* GetEntry(std::int32_t index);
    std::int32_t CountActive() const;
    // The training makes a card pulse.
    void SetHighlighted(std::int32_t index, bool on);
    bool IsDragging() const;
    // Puts every picked card back.
    void DropAll();
    // Drops the orders that never arrived.
    void RemoveInactive();
    // Whether no order is left that the level could still serve.
    bool IsDone() const;

    bool AreArrivalsHeld() const { return m_holdArrivals; }
    bool AreTimersHeld() const { return m_holdTimers; }
    float GetBonusPool() const { return m_bonusPool; }
    bool IsBonusFlashing() const { return m_bonusFlash; }
    bool IsCallShown() const { return m_callShown; }
    std::size_t GetCount() const { return m_entries.size(); }
    // Reset with the list; nothing on the shop floor feeds it.
    CSaleBadge& GetSaleBadge() { return m_saleBadge; }

    // The top of slot `slot` of the column (0 at the bottom).
    static float SlotY(std::int32_t slot);

private:
    void Arrange();
    void ShowComputerCall(Vec2 computer);
    // The per-frame work of one entry; false when it was erased.
    bool UpdateEntry(std::size_t i, const InputState& input, Vec2 screenScale, float dt,
                     float effect, float share);
    void SlideIntoSlot(OrderEntry& entry, std::size_t slot, float dt);
    void HandleClicks(OrderEntry& entry, const InputState& input, Vec2 screenScale);
    void RunTime(OrderEntry& entry, const InputState& input, Vec2 screenScale, float dt,
                 float share);
    void DrawDraggedCopy(const OrderEntry& entry, Vec2 cursor, Vec2 screenScale) const;

    CGuiImage m_callIndicator;
    bool m_callShown = false;
    float m_arrivalSoundCooldown = 0.0f;
    float m_settleCooldown = 0.0f;
    CBlinker m_callPulse;
    std::vector<OrderEntry> m_entries;
    bool m_holdTimers = false;
    bool m_holdArrivals = false;
    bool m_bonusFlash = false;
    float m_bonusPool = 0.0f;
    CSaleBadge m_saleBadge;

    // Per-frame flags of Update.
    bool m_callAllowed = true;
    bool m_mayMove = true;
    bool m_noFarCard = true;
    std::int32_t m_activeSoFar = 0;
};

// The customer orders of the level being played. One for the whole game, defined in
// game/globals.cpp.
extern COrderList g_orderList;
