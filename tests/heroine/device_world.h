#pragma once
// The shop devices on the fake render device and the fake audio: the atlases
// they cut, 60 samples and the level tunes, fonts whose glyphs read back from
// the draws, upgrades.xml with the machine and audio rows, a current player,
// a still clock, and fresh global devices for every test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/resource_test_support.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/panel_world.h"
#include "game/session_test_support.h"
#include "heroine/audio_system.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"

namespace device_test {

using media_test::RecordedDraw;

// The cursor at (x, y) with the left button's previous and current state.
inline InputState At(float x, float y, bool wasDown = false, bool isDown = false) {
    InputState input;
    input.cursorX = x;
    input.cursorY = y;
    input.previousMouse.buttons[0] = wasDown ? 0x80 : 0;
    input.currentMouse.buttons[0] = isDown ? 0x80 : 0;
    return input;
}

// A press of the left button at (x, y).
inline InputState PressAt(float x, float y) {
    return At(x, y, false, true);
}

// Far from every device.
inline InputState Away() {
    return At(-500, -500);
}

// The draw's source rectangle as left, right, top, bottom.
inline std::vector<int> Source(const RecordedDraw& draw) {
    if (!draw.source) {
        return {};
    }
    return {draw.source->left, draw.source->right, draw.source->top, draw.source->bottom};
}

template <typename T>
void Renew(T& global) {
    std::destroy_at(&global);
    std::construct_at(&global);
}

constexpr Vec2 ONE = {1.0f, 1.0f};

class DeviceWorldTest : public panel_test::PanelWorldTest {
protected:
    static constexpr int SAMPLES = 60;
    static constexpr int STREAMS = 7;

    void SetUp() override {
        PanelWorldTest::SetUp();
        backend::SetClock(&m_clock);
        StartWorld("English", TEXTS, SAMPLES);
        for (int i = 0; i < STREAMS; ++i) {
            StreamRecord stream;
            stream.id = "M" + std::to_string(i);
            stream.stream = audio.LoadStream("m" + std::to_string(i) + ".ogg");
            Resources().Streams().push_back(stream);
        }
        for (const auto& [id, width, height] : IMAGES) {
            AddImage(id, width, height);
        }
        resource_test::WriteFile(
            "Resources/Data/upgrades.xml",
            "<Upgrades><Machine work_time_1=\"8\" work_time_2=\"6\" work_time_3=\"4\" "
            "charging_time_1=\"6\" charging_time_2=\"4.5\" charging_time_3=\"3\"/>"
            "<AudioSystem effect_1=\"1\" effect_2=\"1.5\" effect_3=\"2\" work_time_1=\"10\" "
            "work_time_2=\"12\" work_time_3=\"15\" charging_time_1=\"20\" charging_time_2=\"38\" "
            "charging_time_3=\"30\"/></Upgrades>");
        session_test::ResetGlobalSession();
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
        g_gameSession.GetCurrentProfile()->storyLevel = 1;
        Renew(g_instrumentPanel);
        Renew(g_machine);
        Renew(g_audioSystem);
        g_hintManager.Clear();
        device.draws.clear();
    }

    void TearDown() override {
        g_hintManager.Clear();
        session_test::ResetGlobalSession();
        backend::SetClock(nullptr);
        PanelWorldTest::TearDown();
    }

    static std::int32_t Image(const std::string& id) {
        return Resources().GetIndex(RESOURCE_IMAGE, id);
    }

    std::vector<RecordedDraw> DrawsOf(const std::string& id) {
        return PanelWorldTest::DrawsOf(Image(id));
    }

    backend::ChannelState StreamState(int index) {
        return audio.channels[Resources().Streams().at(static_cast<std::size_t>(index)).stream]
            .state;
    }

    backend::ChannelState SampleState(int index) {
        return audio.channels[Resources().Samples().at(static_cast<std::size_t>(index)).channel]
            .state;
    }

private:
    struct Picture {
        const char* id;
        int width;
        int height;
    };
    inline static const std::vector<std::pair<std::string, std::string>> TEXTS = {
        {"COMBO", "COMBO"},
        {"BUY_COMPUTER_HEADER", "COMPUTER"},
        {"BUY_COMPUTER_TEXT_1", "ORDERS"},
        {"UPGRADE_MACHINE_HEADER", "MACHINE"},
        {"UPGRADE_MACHINE_TEXT_1", "FASTER"},
        {"UPGRADE_MACHINE_TEXT_2", "FASTEST"},
        {"BUY_AUDIO_SYSTEM_HEADER", "MUSIC"},
        {"BUY_AUDIO_SYSTEM_TEXT_1", "CALM"},
        {"UPGRADE_AUDIO_SYSTEM_HEADER", "MUSIC"},
        {"UPGRADE_AUDIO_SYSTEM_TEXT_1", "CALMER"},
        {"UPGRADE_AUDIO_SYSTEM_TEXT_2", "CALMEST"},
    };
    static constexpr Picture IMAGES[] = {
        {"ITEMS", 256, 256},           {"GLOW", 510, 473},
        {"ICONS", 512, 511},           {"INSTRUMENTS", 481, 500},
        {"TIME_BAR", 187, 240},        {"BRUSH", 99, 462},
        {"MACHINE_GLOW", 258, 255},    {"AQUARIUM_ANIMATION", 379, 512},
        {"LOCATION_1_GLOW", 247, 314}, {"LOCATION_UPDATES_2", 512, 955},
    };

    resource_test::CSteppingClock m_clock{100.0, 0.0};
};

}  // namespace device_test
