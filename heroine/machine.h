#pragma once
// The machine that builds aquarium interiors from the selected ingredients.
// It works on one set at a time for its level's work time, shows the finished
// set on a tray below its door until the heroine takes it, and queues the
// sets delivered meanwhile; a delivery while other sets are pending pays a
// COMBO bonus. In the upgrade shop it previews and offers its next level.
#include <cstdint>
#include <deque>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"
#include "game/shop_station.h"
#include "heroine/carry_sprites.h"

struct InputState;

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

class CMachine {
public:
    static constexpr int LEVELS = 3;
    static constexpr unsigned SAMPLE_COMBO = 8;
    static constexpr unsigned SAMPLE_COMBO_TWO = 17;
    static constexpr unsigned SAMPLE_COMBO_MORE = 18;
    static constexpr unsigned SAMPLE_REFUSED = 24;
    static constexpr unsigned SAMPLE_WORKING = 31;
    static constexpr unsigned SAMPLE_FINISHED = 32;
    // Cash per set already pending when another is delivered.
    static constexpr std::int32_t COMBO_STEP = 20;

    // Places the machine for the location (1 to 3; any other keeps it where it
    // is) and equips it for its level, held to 1 to 3. The set in work stays;
    // the queue is emptied.
    void Build(std::int32_t location, std::int32_t level);
    // No set, no queue, door up, every flag cleared.
    void Reset();

    // The heroine's delivery of the selected ingredients; refused without a
    // ground or an algae piece.
    void AcceptIngredients(std::uint32_t kinds);
    // The finished set, which leaves the tray; 0 while working or without one.
    std::uint32_t TakeProduct();

    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    void Render(backend::IRenderDevice* device, Vec2 screenScale);
    void UpdateShop(const InputState& input, Vec2 screenScale, float elapsed);
    void RenderShop(backend::IRenderDevice* device, Vec2 screenScale);

    // Only disabling clears the hover state: the level logic enables the
    // machine every play frame, and the heroine reads the hover state before
    // the machine's update.
    void SetDisabled(bool disabled);
    // A hidden finished set is still drawn but cannot be hovered.
    void SetProductHidden(bool hidden);
    void SetHighlight(bool body, bool product, bool on);

    bool IsBodyHovered() const { return m_bodyHovered; }
    bool IsBodyHighlighted() const { return m_bodyHighlight; }
    bool IsProductHighlighted() const { return m_productHighlight; }
    bool IsProductHovered() const { return m_finishedSet.IsHovered(); }
    Vec2 GetStationPoint() const { return m_stationPoint; }
    Vec2 GetDeliveryTagPoint() const { return m_deliveryTagPoint; }
    Vec2 GetTakeTagPoint() const { return m_takeTagPoint; }
    std::uint32_t GetCurrentSet() const { return m_currentSet; }
    std::int32_t GetQueuedCount() const { return static_cast<std::int32_t>(m_queue.size()); }
    bool IsWorking() const { return m_working; }

    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetLevel() const { return m_level; }
    bool IsDisabled() const { return m_disabled; }
    bool IsProductHidden() const { return m_productHidden; }
    float GetProgress() const { return m_progress; }
    float GetWorkTime() const { return m_workTime; }
    float GetChargingTime() const { return m_chargingTime; }
    bool IsShopHovered() const { return m_shopHovered; }
    bool IsShopSelected() const { return m_shop.selected; }
    const CGuiImage& GetBody() const { return m_body; }
    const CGuiImage& GetDoor() const { return m_door; }
    const CGuiImage& GetProgressBar() const { return m_progressBar; }
    const CCarrySprites& GetFinishedSet() const { return m_finishedSet; }

private:
    // The first set of the queue, or a fresh delivery, goes into work.
    void StartWork(std::uint32_t set);

    Vec2 m_stationPoint;
    Vec2 m_deliveryTagPoint;
    Vec2 m_takeTagPoint;
    Vec2 m_doorRestPoint;
    Vec2 m_doorLoweredPoint;
    std::uint32_t m_currentSet = 0;
    std::deque<std::uint32_t> m_queue;
    std::int32_t m_level = 0;
    float m_progress = 0.0f;
    float m_workTime = 0.0f;
    bool m_working = false;
    float m_progressBarWidth = 0.0f;
    bool m_shopHovered = false;
    ShopStation m_shop;
    bool m_disabled = false;
    bool m_productHidden = false;
    bool m_bodyHighlight = false;
    bool m_productHighlight = false;
    float m_chargingTime = 0.0f;
    CBlinker m_pulse;
    CGuiImage m_body;
    CGuiImage m_door;
    CGuiImage m_progressBar;
    CGuiImage m_upgradeIcon;
    CSheetAnimation m_workingClip;
    CCarrySprites m_finishedSet;
    CGuiImage m_shopBodies[LEVELS];
    CGuiImage m_shopDoors[LEVELS];
    // Shared by the body and the door.
    bool m_bodyHovered = false;
    std::int32_t m_location = 0;
    Vec2 m_offset;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CMachine g_machine;
