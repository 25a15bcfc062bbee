#pragma once
// The audio system, whose music holds back the wishes of the fish while it
// plays. The heroine switches it on at its stand: the level music pauses, the
// stand plays its level's tune, glows, shows its level meter and lets notes
// rise, and for its work time it publishes its effect. Then the level music
// resumes and the device recharges. In the upgrade shop it is bought and
// upgraded to level 3 (0 means not bought).
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/platform/geometry.h"
#include "game/shop_station.h"
#include "heroine/note_emitter.h"

struct InputState;

class CAudioSystem {
public:
    static constexpr int LEVELS = 3;
    static constexpr unsigned SAMPLE_READY = 34;
    // The tune of level 1; levels 2 and 3 follow.
    static constexpr unsigned SAMPLE_FIRST_TUNE = 35;

    CAudioSystem() = default;

    // Places and builds the device for the location (1 to 3; another keeps
    // the places) and its level 0 to 3 (anything else counts as 0). The
    // device is ready afterwards and its notes are gone.
    void Setup(std::int32_t location, std::int32_t level);
    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    void UpdateShop(const InputState& input, Vec2 screenScale, float elapsed);
    void Render(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderShop(backend::IRenderDevice* device, Vec2 screenScale);

    // Switches the device on when it is ready.
    void Activate();
    bool IsStandHovered() const;

    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetLevel() const { return m_level; }
    // Exactly 0 unless it works.
    float GetEffect() const { return m_effect; }
    bool IsWorking() const { return m_working; }
    bool IsReady() const { return m_ready; }
    // The work time left while working, the charging time passed while charging.
    float GetTimer() const { return m_timer; }
    float GetGlow() const { return m_glow; }
    Vec2 GetStationPoint() const { return m_stationPoint; }
    Vec2 GetTagPoint() const { return m_tagPoint; }
    bool IsShopSelected() const { return m_shop.selected; }
    const CGuiImage& GetStand(int level) const { return m_stands[level - 1]; }
    const CGuiImage& GetMeterFill() const { return m_meterFill; }
    const CNoteEmitter& GetNotes() const { return m_notes; }

private:
    // The stand whose hover box counts: the level's, the first one below it.
    CGuiImage& HoverStand() { return m_stands[m_level > 1 ? m_level - 1 : 0]; }
    void SetMeter(float fraction);

    Vec2 m_stationPoint;
    Vec2 m_tagPoint;
    std::int32_t m_level = 0;
    float m_timer = 0.0f;
    float m_workTime = 0.0f;
    float m_chargingTime = 0.0f;
    float m_effect = 0.0f;
    bool m_working = false;
    bool m_ready = true;
    // 0 to 255, the opacity of the meter.
    float m_glow = 0.0f;
    ShopStation m_shop;
    CGuiImage m_stands[LEVELS];
    CGuiImage m_meterFill;
    CGuiImage m_meterBack;
    CGuiImage m_buyIcon;
    CGuiImage m_upgradeIcon;
    CNoteEmitter m_notes;
    std::int32_t m_location = 0;
    // The stand positions of the location, levels 1 to 3.
    Vec2 m_standPositions[LEVELS];
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CAudioSystem g_audioSystem;
