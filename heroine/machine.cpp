#include "heroine/machine.h"

#include <algorithm>
#include <cmath>

#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/number_text.h"
#include "engine/platform/text_storage.h"
#include "game/game_session.h"
#include "heroine/device_parts.h"
#include "heroine/instrument_panel.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr std::uint32_t OPAQUE_WHITE = 0xFFFFFFFF;
constexpr std::uint32_t COMBO_GREEN = 0xFF00FF00;
// The door slides at this many design pixels per second.
constexpr float DOOR_SPEED = 100.0f;
// More pending sets than this and the machine cannot be clicked.
constexpr std::int32_t MAX_PENDING_SETS = 3;
// The shop's hover box from the body's top-left corner.
constexpr float SHOP_BOX_WIDTH = 120.0f;
constexpr float SHOP_BOX_HEIGHT = 195.0f;

constexpr Vec2 LOCATION_OFFSETS[] = {{-65, 2}, {10, -5}, {-154, 2}};

struct Equipment {
    PictureRect body;
    Vec2 bodyPosition;
    PictureRect bodyGlow;
    Vec2 bodyGlowPosition;
    PictureRect door;
    PictureRect progressBar;
    Vec2 progressBarPosition;
};

constexpr Equipment EQUIPMENT[CMachine::LEVELS] = {
    {{392, 511, 141, 263},
     {518, 17},
     {135, 258, 0, 128},
     {517, 15},
     {112, 190, 261, 339},
     {190, 240, 338, 346},
     {559, 80}},
    {{385, 513, 263, 384},
     {521, 18},
     {121, 255, 128, 255},
     {516, 15},
     {190, 268, 261, 338},
     {190, 240, 346, 354},
     {559, 80}},
    {{393, 513, 0, 142},
     {518, -1},
     {0, 128, 0, 148},
     {511, -4},
     {112, 190, 338, 416},
     {190, 240, 355, 363},
     {558, 82}},
};
constexpr PictureRect DOOR_GLOW = {34, 120, 150, 235};
constexpr Vec2 DOOR_GLOW_POSITION = {543, 67};

std::uint32_t PulseColour(bool highlight, const CBlinker& pulse) {
    return highlight ? (static_cast<std::uint32_t>(pulse.value) << 24) | 0xFFFFFF : OPAQUE_WHITE;
}

}  // namespace

void CMachine::Build(std::int32_t location, std::int32_t level) {
    m_level = std::clamp(level, 1, LEVELS);
    m_disabled = false;
    m_productHidden = false;
    if (location >= 1 && location <= 3) {
        m_location = location;
        m_offset = LOCATION_OFFSETS[location - 1];
    }
    m_stationPoint = Vec2{640, 333} + m_offset;
    m_deliveryTagPoint = Vec2{564, 72} + m_offset;
    m_takeTagPoint = Vec2{570, 155} + m_offset;
    m_doorRestPoint = Vec2{547, 71} + m_offset;
    m_doorLoweredPoint = Vec2{547, 127} + m_offset;
    m_queue.clear();

    m_workingClip.ClearClips();
    m_workingClip.AddClip({.offsetX = 613 + m_offset.x,
                           .offsetY = 63 + m_offset.y,
                           .imageId = "AQUARIUM_ANIMATION",
                           .cellRight = 36,
                           .cellBottom = 77,
                           .originX = 307,
                           .endColumn = 1,
                           .endRow = 5,
                           .columns = 2,
                           .rows = 6,
                           .rowStep = 1,
                           .frameTime = 0.05f});

    const Equipment& kit = EQUIPMENT[m_level - 1];
    m_body.Create(WithGlow(DevicePicture("UPGRADES", kit.body, kit.bodyPosition + m_offset),
                           "MACHINE_GLOW", kit.bodyGlow, kit.bodyGlowPosition + m_offset));
    m_door.Create(WithGlow(DevicePicture("UPGRADES", kit.door, m_doorRestPoint), "MACHINE_GLOW",
                           DOOR_GLOW, DOOR_GLOW_POSITION + m_offset));
    m_progressBar.Create(
        DevicePicture("UPGRADES", kit.progressBar, kit.progressBarPosition + m_offset));
    m_progressBarWidth = static_cast<float>(kit.progressBar.right - kit.progressBar.left);
    m_upgradeIcon.Create(DevicePicture("ICONS", {383, 491, 262, 323}, Vec2{602, 24} + m_offset));
    const UpgradeRecord& row =
        g_gameSession.GetUpgradeTable().Row(UPGRADE_ROW_MACHINE - 1 + m_level);
    m_workTime = row.work_time;
    m_chargingTime = row.charging_time;
    for (int i = 0; i < LEVELS; ++i) {
        m_shopBodies[i].Create(
            DevicePicture("UPGRADES", EQUIPMENT[i].body, EQUIPMENT[i].bodyPosition + m_offset));
        m_shopDoors[i].Create(DevicePicture("UPGRADES", EQUIPMENT[i].door, m_doorLoweredPoint));
    }
}

void CMachine::Reset() {
    m_currentSet = 0;
    m_queue.clear();
    m_finishedSet.Clear();
    m_door.x = m_doorRestPoint.x;
    m_door.y = m_doorRestPoint.y;
    m_workingClip.Stop();
    m_workingClip.RewindToStart();
    m_working = false;
    m_progress = 0.0f;
    m_bodyHighlight = false;
    m_productHighlight = false;
    m_disabled = false;
    m_productHidden = false;
}

void CMachine::StartWork(std::uint32_t set) {
    m_progress = 0.0f;
    m_working = true;
    m_bodyHovered = false;
    m_currentSet = set;
    m_workingClip.Play(0, true, false, m_workTime);
    PlayDeviceSample(SAMPLE_WORKING);
}

void CMachine::AcceptIngredients(std::uint32_t kinds) {
    if ((kinds & MASK_GROUND) == 0 || (kinds & MASK_ALGAE) == 0) {
        PlayDeviceSample(SAMPLE_REFUSED);
        return;
    }
    const std::int32_t number = g_instrumentPanel.NextOrderNumber();
    if (number > 1) {
        const std::int32_t bonus = (number - 1) * COMBO_STEP;
        PopupTexts::Instance().Add(1, WithNumber(TextStorage().GetText("COMBO"), u" +", bonus), -1,
                                   COMBO_GREEN, m_body.x + 72, m_body.y + 100, 1.0f, 0.0f, -1.0f,
                                   1.0f, 0.5f, 0.0f, -1);
        g_gameSession.AddCash(bonus);
        ++g_gameSession.GetStatistics().combos;
        PlayDeviceSample(SAMPLE_COMBO);
        PlayDeviceSample(number == 2 ? SAMPLE_COMBO_TWO : SAMPLE_COMBO_MORE);
    }
    if (m_currentSet != 0) {
        // Its ingredients hold their charge until the set goes into work.
        m_queue.push_back(kinds);
        g_instrumentPanel.SetDisabledByKind(kinds, true);
    }
    g_instrumentPanel.StartCharging(kinds, m_chargingTime);
    g_instrumentPanel.ClearSelection();
    if (!m_working && m_currentSet == 0) {
        StartWork(kinds);
    }
}

std::uint32_t CMachine::TakeProduct() {
    if (m_working) {
        return 0;
    }
    const std::uint32_t set = m_currentSet;
    m_currentSet = 0;
    m_finishedSet.Clear();
    if (!m_queue.empty()) {
        const std::uint32_t next = m_queue.front();
        m_queue.pop_front();
        StartWork(next);
        g_instrumentPanel.SetDisabledByKind(next, false);
    }
    return set;
}

void CMachine::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    if (m_working) {
        m_progress += elapsed;
        if (m_progress >= m_workTime) {
            ResourceManager::Instance().GetSoundManager().Pause(SoundType::Sample, SAMPLE_WORKING);
            PlayDeviceSample(SAMPLE_FINISHED);
            m_working = false;
            m_progress = 0.0f;
            m_finishedSet.BuildInteriorSet(m_doorLoweredPoint.x + 1, m_doorLoweredPoint.y - 64,
                                           m_currentSet);
        }
        if (m_door.y < m_doorLoweredPoint.y) {
            m_door.y = std::min(m_doorLoweredPoint.y, m_door.y + DOOR_SPEED * elapsed);
        }
    } else if (m_door.y > m_doorRestPoint.y) {
        m_door.y = std::max(m_doorRestPoint.y, m_door.y - DOOR_SPEED * elapsed);
    }
    m_door.hoverY = m_door.y - 4;
    if (!m_disabled) {
        m_body.UpdateHover(input, screenScale);
        m_door.UpdateHover(input, screenScale);
        m_bodyHovered = m_body.hovered || m_door.hovered;
    }
    if (g_instrumentPanel.NextOrderNumber() > MAX_PENDING_SETS) {
        m_bodyHovered = false;
    }
    m_body.hovered = m_bodyHovered;
    m_door.hovered = m_bodyHovered;
    if (m_bodyHighlight || m_productHighlight) {
        m_pulse.Update(elapsed);
    }
    m_workingClip.Update(elapsed);
    if (m_currentSet != 0 && !m_productHidden) {
        m_finishedSet.UpdateHover(input, screenScale);
    }
    // A work time from the data of 0 or less leaves the bar empty.
    const float filled =
        m_workTime > 0.0f ? std::trunc(m_progress / m_workTime * m_progressBarWidth) : 0.0f;
    m_progressBar.source.right = m_progressBar.source.left + static_cast<std::int32_t>(filled);
}

void CMachine::Render(backend::IRenderDevice* device, Vec2 screenScale) {
    const std::uint32_t bodyColour = PulseColour(m_bodyHighlight, m_pulse);
    if (m_currentSet != 0) {
        m_finishedSet.Render(device, screenScale, 0, PulseColour(m_productHighlight, m_pulse));
    }
    // The door shows only where it comes out from under the body.
    m_body.Draw(device, screenScale, true, bodyColour, true);
    m_door.Draw(device, screenScale, true, bodyColour, true);
    m_body.Draw(device, screenScale, true, bodyColour, false);
    m_workingClip.Draw(screenScale, OPAQUE_WHITE);
    if (m_working) {
        m_progressBar.Draw(device, screenScale, true, bodyColour, false);
    }
    if (!m_queue.empty()) {
        ResourceManager::Instance().DrawText(
            1, WithNumber(u"", u"x", GetQueuedCount()),
            {0.8f * screenScale.x, 0.8f * screenScale.y},
            {(m_body.x + 64) * screenScale.x, (m_body.y + 31) * screenScale.y}, OPAQUE_WHITE, true,
            false, 0.0f, 0.0f, true);
    }
}

void CMachine::UpdateShop(const InputState& input, Vec2 screenScale, float /*elapsed*/) {
    const float left = m_body.x * screenScale.x;
    const float top = m_body.y * screenScale.y;
    const float right = (m_body.x + SHOP_BOX_WIDTH) * screenScale.x;
    const float bottom = (m_body.y + SHOP_BOX_HEIGHT) * screenScale.y;
    m_shopHovered = input.cursorX >= left && input.cursorX <= right && input.cursorY >= top &&
                    input.cursorY <= bottom;
    HintDesc hint;
    hint.firstArrowPosition = {m_body.x + (m_level == 1 ? 65.0f : 62.0f), m_body.y + 60};
    hint.firstArrowDirection = {0, -1};
    hint.panelPosition = {10, 540};
    hint.headerFont = 1;
    hint.headerId = "UPGRADE_MACHINE_HEADER";
    hint.textFont = 0;
    hint.textId = m_level == 1 ? "UPGRADE_MACHINE_TEXT_1" : "UPGRADE_MACHINE_TEXT_2";
    hint.columns = 16;
    hint.rows = 5;
    hint.centred = true;
    m_shop.Update(input, m_shopHovered, ITEM_MACHINE, m_level < LEVELS ? &hint : nullptr);
}

void CMachine::RenderShop(backend::IRenderDevice* device, Vec2 screenScale) {
    // A machine not built yet (level 0) has no pictures of its own to show.
    if (m_level < 1) {
        return;
    }
    int shown = m_level - 1;
    if (m_shopHovered || m_shop.selected) {
        shown = std::min(m_level, LEVELS - 1);
    }
    m_shopDoors[shown].Draw(device, screenScale, true, OPAQUE_WHITE, false);
    m_shopBodies[shown].Draw(device, screenScale, true, OPAQUE_WHITE, false);
    if (m_level < LEVELS) {
        m_upgradeIcon.Draw(device, screenScale, true, OPAQUE_WHITE, false);
    }
}

void CMachine::SetDisabled(bool disabled) {
    m_disabled = disabled;
    if (disabled) {
        m_shopHovered = false;
        m_bodyHovered = false;
        m_body.hovered = false;
        m_door.hovered = false;
    }
}

void CMachine::SetProductHidden(bool hidden) {
    m_productHidden = hidden;
    if (hidden) {
        m_finishedSet.ClearHover();
    }
}

void CMachine::SetHighlight(bool body, bool product, bool on) {
    const bool newlyLit = on && ((body && !m_bodyHighlight) || (product && !m_productHighlight));
    if (body) {
        m_bodyHighlight = on;
    }
    if (product) {
        m_productHighlight = on;
    }
    if (newlyLit) {
        m_pulse.Set(150.0f, 255.0f, 255.0f, 400.0f, -1);
    }
}
