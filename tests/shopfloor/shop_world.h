#pragma once
// The shop floor's objects run for real on the fake render device and the
// fake audio: the pictures of the bubbles and badges, the fish animations
// (each frame's left edge is its number, so a draw names its frame), every
// sample up to 45, the popup texts, a fixed clock for the random draws and a
// global session with one profile and a level.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/backend/clock.h"
#include "engine/media/popup_texts.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/panel_world.h"
#include "game/session_test_support.h"

namespace shop_test {

class CFixedClock : public backend::IClock {
public:
    std::uint64_t milliseconds = 1000;
    double Seconds() override { return static_cast<double>(milliseconds) * 0.001; }
    std::uint64_t Milliseconds() override { return milliseconds; }
    void Sleep(std::uint32_t ms) override { milliseconds += ms; }
};

// The Animation2D resources of the fish, with the frames each needs.
inline const std::vector<std::pair<std::string, int>> FISH_ANIMATIONS = {
    {"A_FISH_1", 228},        {"A_FISH_2", 228},        {"A_THORN_FISH", 228},
    {"A_CAT_FISH", 228},      {"A_CRAMP_FISH", 228},    {"A_GOLD_FISH_1", 228},
    {"A_GOLD_FISH_2", 228},   {"A_SAW_FISH", 228},      {"A_SHARK_1", 228},
    {"A_SHARK_2", 228},       {"A_ANGLER_FISH", 228},   {"A_JELLY_FISH_1", 96},
    {"A_JELLY_FISH_2", 96},   {"A_SHOAL_FISHES_1", 48}, {"A_SHOAL_FISHES_2", 48},
    {"A_SHOAL_FISHES_3", 48}, {"A_OCTOPUS", 144},       {"A_CRAB", 150},
    {"A_SHELL", 145},
};

inline const std::vector<std::pair<std::string, std::string>> SHOP_TEXTS = {
    {"FAST_BONUS", "FAST"}, {"EXTRA_GROWTH", "GROWTH"}, {"EXTRA_COST", "COST"}};

class ShopWorldTest : public panel_test::PanelWorldTest {
protected:
    void SetUp() override {
        PanelWorldTest::SetUp();
        backend::SetClock(&clock);
        StartWorld("English", SHOP_TEXTS, 46);
        interiors = AddImage("AQUARIUM_INTERIORS", 512, 512);
        animation = AddImage("AQUARIUM_ANIMATION", 256, 512);
        instruments = AddImage("INSTRUMENTS", 512, 512);
        icons = AddImage("ICONS", 512, 512);
        fishImage = AddImage("FISH", 512, 512);
        AddAnimations(FISH_ANIMATIONS);
        session_test::ResetGlobalSession();
        ASSERT_TRUE(g_gameSession.AddProfile(u"Tester"));
        g_gameSession.SetGameMode(MODE_GAME);
        CLevelRecord& level = g_gameSession.GetLevel();
        level.food_types = 2;
        level.machine_ingridients = 2;
        level.brush_types = 2;
        level.medic_types = 2;
        popupsBefore = PopupTexts::Instance().GetTexts().size();
        device.draws.clear();
    }

    void TearDown() override {
        session_test::ResetGlobalSession();
        backend::SetClock(nullptr);
        PanelWorldTest::TearDown();
    }

    // Animation2D resources on the fish picture, each frame's left edge its
    // number.
    void AddAnimations(const std::vector<std::pair<std::string, int>>& animations) {
        for (const auto& [id, frames] : animations) {
            Animation2DRecord record;
            record.id = id;
            record.image = fishImage;
            for (int i = 0; i < frames; ++i) {
                AnimationFrame frame;
                frame.image = fishImage;
                frame.left = i;
                frame.right = i + 10;
                frame.bottom = 10;
                record.frames.push_back(frame);
            }
            Resources().Animations2D().push_back(record);
        }
    }

    // The popups added since the test began.
    std::vector<PopupText> NewPopups() const {
        const auto& texts = PopupTexts::Instance().GetTexts();
        return {texts.begin() + static_cast<std::ptrdiff_t>(popupsBefore), texts.end()};
    }

    static std::int32_t Cash() { return g_gameSession.GetCurrentProfile()->levelCash; }

    // Lets the samples started so far move on, as a frame of play would.
    void LetSoundsRun(float dt) {
        audio.Advance(dt);
        clock.milliseconds += static_cast<std::uint64_t>(dt * 1000.0f) + 1;
    }

    CFixedClock clock;
    InputState input;
    std::int32_t interiors = -1;
    std::int32_t animation = -1;
    std::int32_t instruments = -1;
    std::int32_t icons = -1;
    std::int32_t fishImage = -1;
    std::size_t popupsBefore = 0;
};

}  // namespace shop_test
