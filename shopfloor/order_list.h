#pragma once
// The level's customer orders, shown as a column of cards at the right edge of
// the play screen, with the sale badge that gives the cards their fish icons.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "shopfloor/sale_badge.h"

struct InputState;

class COrderList {
public:
    // No orders, no bonus time waiting, no computer call; the badge reset.
    void Clear() {
        m_bonusFlash = false;
        m_bonusPool = 0.0f;
        m_callShown = false;
        m_saleBadge.Reset();
    }
    // True stops the arrival countdowns of the orders still on their way.
    void HoldArrivals(bool hold) { m_holdArrivals = hold; }
    // True stops the time of the orders on screen.
    void HoldTimers(bool hold) { m_holdTimers = hold; }
    // `effect` is the audio system's: above 0 it stops every order's time.
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/,
                float /*effect*/) {}
    // The cards in place, then the one being dragged at the cursor.
    void Render(backend::IRenderDevice* /*device*/, const InputState& /*input*/,
                Vec2 /*screenScale*/) {}
    void RenderComputerCall(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}

    bool AreArrivalsHeld() const { return m_holdArrivals; }
    bool AreTimersHeld() const { return m_holdTimers; }
    float GetBonusPool() const { return m_bonusPool; }
    bool IsCallShown() const { return m_callShown; }
    CSaleBadge& GetSaleBadge() { return m_saleBadge; }

private:
    bool m_callShown = false;
    bool m_holdTimers = false;
    bool m_holdArrivals = false;
    bool m_bonusFlash = false;
    float m_bonusPool = 0.0f;
    CSaleBadge m_saleBadge;
};
