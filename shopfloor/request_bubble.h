#pragma once
// The thought bubble through which a fish or the pet wishes for one thing at a
// time. Raising a wish plays the opening (a small bubble rises, the body opens
// and the icons fade in); the bubble then fills with water as the waiting time
// runs down, warns once when little patience is left and reports the expiry
// once. While the audio system plays, its effect runs the waiting time back.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"

struct InputState;

class CRequestBubble {
public:
    // The single icon stands in the ground slot.
    enum IconSlot { ICON_GROUND = 0, ICON_ALGAE = 1, ICON_HOUSE = 2, ICON_CORAL = 3 };
    // Below this much patience in percent the bubble warns.
    static constexpr float WARNING_PATIENCE = 15.0f;

    CRequestBubble() = default;

    // Raises a new wish at once, whatever the bubble showed; its waiting time
    // runs from now, but the wish is readable only once the opening is over.
    void SetRequest(std::uint32_t request, float limit, float x, float y);
    // effect above 0 runs the waiting time back at effect seconds per second.
    void Update(const InputState& input, Vec2 screenScale, float elapsedSeconds, float effect);
    void Render(backend::IRenderDevice* device, Vec2 screenScale);

    // The wish while it waits and the bubble shows it; 0 during the opening,
    // after the expiry, after Clear and when empty.
    std::uint32_t GetRequest() const;
    // The wish as raised, also once it has run out or been cleared.
    std::uint32_t GetStoredRequest() const { return m_request; }
    // Percent of the waiting time left; 0 without a wish.
    float GetPatience() const;
    // True once per run-out wish.
    bool TakeExpired();
    // Ends the wish (met or withdrawn): a visible bubble fades out and empties
    // itself.
    void Clear() { m_limit = 0.0f; }
    // Only a bubble with a wish can be under the cursor.
    bool IsHovered() const { return m_limit != 0.0f && m_body.hovered; }
    // Empties the bubble at once; a pending expiry stays to be taken.
    void Reset();
    void ClearAnimations();

    float GetElapsed() const { return m_elapsed; }
    float GetLimit() const { return m_limit; }
    float GetAlpha() const { return m_alpha; }
    bool IsWarned() const { return m_warned; }
    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    // The pictures, for the owners' tests of what is shown where.
    const CGuiImage& GetBody() const { return m_body; }
    const CGuiImage& GetIcon(IconSlot slot) const { return m_icons[slot]; }
    const CGuiImage& GetFill() const { return m_fill; }
    const CSheetAnimation& GetSurface() const { return m_surface; }
    std::size_t GetAirBubbleCount() const { return m_airBubbles.size(); }

private:
    bool IsInteriorSize() const { return m_request < 0x1000u; }
    void BuildParts();
    void BuildIcons();
    void UpdateOpening(float dt);
    void UpdateWaitingTime(float dt, float effect);
    void UpdateWater(float dt);
    void AddAirBubble(float waterHeight, std::int32_t fullWidth);

    float m_x = 0.0f;
    float m_y = 0.0f;
    std::uint32_t m_request = 0;
    float m_elapsed = 0.0f;
    float m_limit = 0.0f;
    float m_alpha = 0.0f;
    float m_riseFade = 0.0f;
    float m_fillX = 0.0f;
    float m_fillY = 0.0f;
    bool m_expired = false;
    bool m_warned = false;
    CBlinker m_warnPulse;
    CSheetAnimation m_surface;
    std::vector<CSheetAnimation> m_airBubbles;
    float m_airBubbleCountdown = 0.0f;
    float m_riseScale = 1.0f;
    float m_bodyScale = 1.0f;
    float m_riseTargetY = 0.0f;
    CGuiImage m_risingBubble;
    CGuiImage m_body;
    CGuiImage m_topEdge;
    CGuiImage m_bottomEdge;
    CGuiImage m_fill;
    std::array<CGuiImage, 4> m_icons;
};
