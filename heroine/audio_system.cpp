#include "heroine/audio_system.h"

#include <algorithm>
#include <cmath>

#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "game/game_session.h"
#include "heroine/device_parts.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr std::uint32_t OPAQUE_WHITE = 0xFFFFFFFF;
// The stand in the shop before it is bought.
constexpr std::uint32_t NOT_BOUGHT = 0x88FFFFFF;
// Glow units per second, up while it works and down once it is ready.
constexpr float GLOW_SPEED = 500.0f;
// The work time runs once the glow has risen this far.
constexpr float GLOW_RUNNING = 200.0f;
constexpr float GLOW_FULL = 255.0f;
// The meter fill shows this many pixels at least, and up to this many more.
constexpr std::int32_t METER_MIN = 35;
constexpr float METER_RANGE = 78.0f;
constexpr int LOCATIONS = 3;

struct StandLayout {
    Vec2 tag;
    Vec2 stand;
    Vec2 glow;
};

struct LocationLayout {
    Vec2 station;
    StandLayout levels[CAudioSystem::LEVELS];
};

constexpr LocationLayout LAYOUTS[LOCATIONS] = {
    {{200, 520},
     {{{87, 370}, {48, 347}, {40, 338}},
      {{86, 378}, {48, 360}, {42, 357}},
      {{91, 370}, {40, 340}, {33, 330}}}},
    {{180, 630},
     {{{41, 480}, {2, 457}, {-6, 448}},
      {{41, 488}, {3, 470}, {-3, 467}},
      {{50, 487}, {-1, 457}, {-8, 447}}}},
    {{160, 420},
     {{{60, 260}, {21, 237}, {13, 228}},
      {{60, 264}, {22, 246}, {16, 243}},
      {{69, 263}, {18, 235}, {11, 225}}}},
};

struct StandPicture {
    PictureRect source;
    PictureRect glow;
    PictureRect margins;
};

constexpr StandPicture STANDS[CAudioSystem::LEVELS] = {
    {{0, 112, 263, 377}, {124, 234, 355, 471}, {4, -2, 2, -2}},
    {{0, 112, 375, 478}, {401, 510, 133, 236}, {3, -1, 3, -6}},
    {{268, 386, 262, 391}, {0, 126, 337, 471}, {2, -2, 2, -2}},
};

}  // namespace

void CAudioSystem::Setup(std::int32_t location, std::int32_t level) {
    m_level = level < 0 || level > LEVELS ? 0 : level;
    m_effect = 0.0f;
    if (location >= 1 && location <= LOCATIONS) {
        m_location = location;
        const LocationLayout& layout = LAYOUTS[location - 1];
        m_stationPoint = layout.station;
        if (m_level != 0) {
            m_tagPoint = layout.levels[m_level - 1].tag;
        }
        for (int i = 0; i < LEVELS; ++i) {
            const StandLayout& stand = layout.levels[i];
            m_stands[i].Create(WithGlow(DevicePicture("UPGRADES", STANDS[i].source, stand.stand),
                                        "GLOW", STANDS[i].glow, stand.glow, STANDS[i].margins));
            m_standPositions[i] = stand.stand;
        }
    }
    m_glow = 0.0f;
    m_working = false;
    m_ready = true;
    const Vec2 first = m_standPositions[0];
    m_buyIcon.Create(DevicePicture("ICONS", {319, 420, 145, 204}, first + Vec2{81, 8}));
    m_upgradeIcon.Create(DevicePicture("ICONS", {383, 491, 262, 323}, {}));
    if (m_level != 0) {
        constexpr Vec2 METER_PLACES[LEVELS] = {{80, -20}, {82, -20}, {94, -32}};
        const Vec2 meter = m_standPositions[m_level - 1] + METER_PLACES[m_level - 1];
        m_meterFill.Create(DevicePicture("ICONS", {253, 298, 205, 323}, meter));
        m_meterBack.Create(DevicePicture("ICONS", {298, 343, 204, 322}, meter));
    }
    // The notes rise beside the first stand whatever the level.
    m_notes.Setup(first.x + 50, first.y + 40, 0, -1, 50, 0.5f, 0.75f, 1.0f, 2.0f);
}

void CAudioSystem::Activate() {
    if (m_working || !m_ready) {
        return;
    }
    ResourceManager::Instance().GetSoundManager().PauseAll(SoundType::Stream, false);
    if (m_level >= 1 && m_level <= LEVELS) {
        const UpgradeRecord& row =
            g_gameSession.GetUpgradeTable().Row(UPGRADE_ROW_AUDIO_SYSTEM - 1 + m_level);
        m_effect = row.effect;
        m_workTime = row.work_time;
        m_chargingTime = row.charging_time;
        PlayDeviceSample(SAMPLE_FIRST_TUNE + static_cast<unsigned>(m_level - 1));
    }
    m_timer = m_workTime;
    m_notes.on = true;
    m_working = true;
    m_ready = false;
    for (CGuiImage& stand : m_stands) {
        stand.hovered = false;
    }
}

bool CAudioSystem::IsStandHovered() const {
    return m_level >= 1 && m_level <= LEVELS && m_stands[m_level - 1].hovered;
}

void CAudioSystem::SetMeter(float fraction) {
    const float height =
        static_cast<float>(METER_MIN) + std::floor(METER_RANGE * (1.0f - fraction));
    // An infinite work time from the upgrade table makes the fraction NaN; the
    // conversion then gives 0 instead of nonsense.
    m_meterFill.source.bottom = m_meterFill.source.top + TruncateToInt32(height);
}

void CAudioSystem::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    if (m_level < 1 || m_level > LEVELS) {
        return;
    }
    if (m_ready) {
        m_stands[m_level - 1].UpdateHover(input, screenScale);
    }
    if (m_working) {
        if (m_glow >= GLOW_RUNNING) {
            m_timer -= elapsed;
            if (m_timer <= 0.0f) {
                m_effect = 0.0f;
                m_working = false;
                m_ready = false;
                m_timer = 0.0f;
                m_notes.on = false;
                g_gameSession.PlayLevelMusic(false);
            }
        }
        if (m_workTime != 0.0f) {
            SetMeter(m_timer / m_workTime);
        }
    } else if (!m_ready) {
        m_timer += elapsed;
        if (m_timer >= m_chargingTime) {
            PlayDeviceSample(SAMPLE_READY);
            m_working = false;
            m_ready = true;
            m_timer = m_chargingTime;
            m_notes.on = false;
        }
        if (m_chargingTime != 0.0f) {
            SetMeter(m_timer / m_chargingTime);
        }
    }
    if (m_working || (!m_ready && m_glow < GLOW_FULL)) {
        m_glow = std::min(GLOW_FULL, m_glow + GLOW_SPEED * elapsed);
    } else if (m_ready) {
        m_glow = std::max(0.0f, m_glow - GLOW_SPEED * elapsed);
    }
    m_notes.Update(screenScale, elapsed);
}

void CAudioSystem::Render(backend::IRenderDevice* device, Vec2 screenScale) {
    if (m_level < 1 || m_level > LEVELS) {
        return;
    }
    m_stands[m_level - 1].Draw(device, screenScale, true, OPAQUE_WHITE, true);
    if (m_glow != 0.0f) {
        const std::uint32_t colour = (static_cast<std::uint32_t>(m_glow) << 24) | 0xFFFFFF;
        m_meterBack.Draw(device, screenScale, true, colour, false);
        if (m_glow == GLOW_FULL) {
            m_meterFill.Draw(device, screenScale, true, colour, false);
        }
    }
    m_notes.Render(device, screenScale);
}

void CAudioSystem::UpdateShop(const InputState& input, Vec2 screenScale, float /*elapsed*/) {
    CGuiImage& stand = HoverStand();
    stand.UpdateHover(input, screenScale);
    constexpr Vec2 ARROWS[LEVELS] = {{52, 45}, {52, 40}, {60, 55}};
    constexpr const char* TEXTS[LEVELS] = {"BUY_AUDIO_SYSTEM_TEXT_1", "UPGRADE_AUDIO_SYSTEM_TEXT_1",
                                           "UPGRADE_AUDIO_SYSTEM_TEXT_2"};
    HintDesc hint;
    if (m_level < LEVELS) {
        // The arrow points at the stand the purchase brings.
        hint.firstArrowPosition = m_standPositions[m_level] + ARROWS[m_level];
        hint.firstArrowDirection = {0, -1};
        hint.panelPosition = {10, 510};
        hint.headerFont = 1;
        hint.headerId = m_level == 0 ? "BUY_AUDIO_SYSTEM_HEADER" : "UPGRADE_AUDIO_SYSTEM_HEADER";
        hint.textFont = 0;
        hint.textId = TEXTS[m_level];
        hint.columns = 16;
        hint.rows = 6;
        hint.centred = true;
    }
    m_shop.Update(input, stand.hovered, ITEM_AUDIO_SYSTEM, m_level < LEVELS ? &hint : nullptr);
}

void CAudioSystem::RenderShop(backend::IRenderDevice* device, Vec2 screenScale) {
    const bool preview = HoverStand().hovered || m_shop.selected;
    const std::int32_t shown = m_level + (preview ? 1 : 0);
    // Where the upgrade icon stands beside each stand; the fourth keeps it.
    constexpr Vec2 ICON_PLACES[LEVELS] = {{81, 6}, {80, -16}, {88, -20}};
    const int stand = std::clamp(shown, 1, LEVELS) - 1;
    if (shown >= 1 && shown <= LEVELS) {
        const Vec2 icon = m_standPositions[stand] + ICON_PLACES[stand];
        m_upgradeIcon.x = icon.x;
        m_upgradeIcon.y = icon.y;
    }
    m_stands[stand].Draw(device, screenScale, true, shown == 0 ? NOT_BOUGHT : OPAQUE_WHITE, false);
    if (m_level == 0) {
        m_buyIcon.Draw(device, screenScale, true, OPAQUE_WHITE, false);
    } else if (m_level < LEVELS) {
        m_upgradeIcon.Draw(device, screenScale, true, OPAQUE_WHITE, false);
    }
}
