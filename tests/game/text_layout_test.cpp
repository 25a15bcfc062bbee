// Every text the player reads on the play HUD, the briefings, the pause, the
// statistics pages of story and bonus levels, the training's tip windows and
// the upgrade shop's hints, drawn from the shipped data and texts on the
// headless software renderer at the window's 800 x 600: it lies inside the
// screen and inside its panel, and stands out from what is drawn behind it by
// a contrast of at least 4.5.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/level_base.h"
#include "game/scene.h"
#include "layout_checks.h"
#include "shipped_screen.h"

namespace {

using layout_test::Box;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr float kScale = 0.78125f;
const Box kScreen{0.0f, 0.0f, static_cast<float>(kWidth), static_cast<float>(kHeight)};

// What a frame shows: the mode word and the level it is drawn for.
struct Screen {
    std::uint32_t mode = MODE_GAME;
    std::int32_t storyLevel = 7;
    std::int32_t levelIndex = 8;
    bool bonus = false;
    std::int32_t trainingStep = -1;
};

// The faults that none of the expected patterns names, and the patterns that
// name no fault any more (their mark is to go).
std::vector<std::string> Unexpected(const std::vector<std::string>& faults,
                                    const std::vector<std::string>& expected) {
    std::vector<std::string> left;
    for (const std::string& fault : faults) {
        if (std::none_of(expected.begin(), expected.end(), [&](const std::string& pattern) {
                return fault.find(pattern) != std::string::npos;
            })) {
            left.push_back(fault);
        }
    }
    for (const std::string& pattern : expected) {
        if (std::none_of(faults.begin(), faults.end(), [&](const std::string& fault) {
                return fault.find(pattern) != std::string::npos;
            })) {
            left.push_back("no fault any more: " + pattern);
        }
    }
    return left;
}

class TextLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_screen.OpenFolder();
        s_screen.Start(kWidth, kHeight, kScale, "text layout");
        ASSERT_GT(g_levelBase.GetCount(), 24);
    }

    static void TearDownTestSuite() { s_screen.Close(); }

    void TearDown() override { g_hintManager.Clear(); }

    static void Apply(const Screen& screen) {
        CProfile& profile = *g_gameSession.GetCurrentProfile();
        profile.storyLevel = screen.storyLevel;
        profile.levelIndex = screen.levelIndex;
        profile.shownCash = 4700.0f;
        g_gameSession.GetLevel() =
            g_levelBase.GetLevel(static_cast<std::uint32_t>(screen.levelIndex));
        g_gameSession.GetLevel().bonus = screen.bonus;
        g_gameSession.SetTimeLeft(0.0f);  // CLOSED shows too
        g_gameSession.SetTotalTime(60.0f);
        // The goal bar a third full; the time bar, its time out, empty.
        g_gameSession.GetImage(IMG_GOAL_BAR).source.right = 8 + 100;
        g_gameSession.GetImage(IMG_TIME_BAR).source.right = 92;
        g_gameSession.SetTrainingStep(screen.trainingStep);
        // At full brightness, reached the way the game reaches it.
        g_gameSession.SetGameMode(MODE_GAME);
        g_gameSession.UpdateFade(1.0f);
        ASSERT_EQ(g_gameSession.GetFadeLevel(), 255.0f);
        g_gameSession.SetGameMode(screen.mode);
    }

    static layout_test::Frame Draw(const Screen& screen) {
        Apply(screen);
        s_screen.device->Clear(0xFF000000);
        EXPECT_TRUE(s_screen.device->BeginScene());
        if (g_hintManager.GetWindows().empty()) {
            g_scene.Render(s_screen.device.get(), InputState{}, Vec2{kScale, kScale});
        } else {
            g_hintManager.Render(s_screen.device.get(), Vec2{kScale, kScale});
        }
        s_screen.device->EndScene();
        layout_test::Frame frame{{}, kWidth, kHeight};
        EXPECT_TRUE(s_screen.device->ReadPixels(frame.pixels));
        return frame;
    }

    // The faults of the texts a frame draws after the first `skip` of them,
    // against `panel` (design units).
    static std::vector<std::string> Faults(const Screen& screen, const Box& panel,
                                           std::size_t skip = 0) {
        layout_test::Frame behind;
        {
            layout_test::TextRecorder hidden(false);
            behind = Draw(screen);
        }
        layout_test::TextRecorder recorder;
        const layout_test::Frame drawn = Draw(screen);
        std::vector<layout_test::PlacedText> texts = recorder.Texts();
        EXPECT_GT(texts.size(), skip) << "no texts drawn";
        texts.erase(texts.begin(),
                    texts.begin() + static_cast<std::ptrdiff_t>(std::min(skip, texts.size())));
        return layout_test::TextFaults(texts, panel.Scaled(kScale), behind, drawn);
    }

    // How many texts the play HUD draws under an overlay of this screen.
    static std::size_t HudTexts(Screen screen) {
        screen.mode = MODE_GAME;
        layout_test::TextRecorder hidden(false);
        Draw(screen);
        return hidden.Texts().size();
    }

    static Box MessagePanel() {
        return layout_test::PictureBox(g_gameSession.GetImage(IMG_MESSAGE_PANEL));
    }

    static screen_test::ShippedScreen s_screen;
};

screen_test::ShippedScreen TextLayoutTest::s_screen;

TEST_F(TextLayoutTest, HudAndOverlayTextsStayInTheirPanelsAndStandOut) {
    constexpr std::uint32_t OVERLAY = MODE_GAME | MODE_PAUSED;
    struct Case {
        std::string name;
        Screen screen;
        bool onPanel;
        std::vector<std::string> known = {};
    };
    std::vector<Case> cases = {
        {"play HUD", {}, false},
        {"pause", {.mode = OVERLAY}, true},
        {"training briefing",
         {.mode = OVERLAY | MODE_BRIEFING | MODE_TRAINING,
          .storyLevel = 1,
          .levelIndex = 1,
          .trainingStep = 0},
         true},
        {"second training briefing",
         {.mode = OVERLAY | MODE_BRIEFING | MODE_TRAINING,
          .storyLevel = 17,
          .levelIndex = 24,
          .trainingStep = 26},
         true},
    };
    for (std::int32_t index = 0; index < g_levelBase.GetCount(); ++index) {
        const CLevelRecord level = g_levelBase.GetLevel(static_cast<std::uint32_t>(index));
        if (level.bonus) {
            cases.push_back({"bonus briefing of level " + std::to_string(index),
                             {.mode = OVERLAY | MODE_BRIEFING, .levelIndex = index, .bonus = true},
                             true});
        }
    }
    for (std::int32_t story = 1; story <= 45; ++story) {
        cases.push_back({"briefing of story level " + std::to_string(story),
                         {.mode = OVERLAY | MODE_BRIEFING, .storyLevel = story},
                         true});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t hud = c.onPanel ? HudTexts(c.screen) : 0;
        const std::vector<std::string> faults =
            Faults(c.screen, c.onPanel ? MessagePanel() : kScreen.Scaled(1.0f / kScale), hud);
        EXPECT_EQ(Unexpected(faults, c.known), std::vector<std::string>{});
    }
}

TEST_F(TextLayoutTest, StatisticsPagesKeepTheirLinesOnThePanel) {
    CLevelStatistics& statistics = g_gameSession.GetStatistics();
    struct Case {
        const char* name;
        Screen screen;
        std::int32_t cash;
    };
    const Case cases[] = {
        {"level complete at the expert goal",
         {.mode = MODE_GAME | MODE_PAUSED | MODE_LEVEL_COMPLETE},
         4700},
        {"level failed in debt", {.mode = MODE_GAME | MODE_PAUSED | MODE_LEVEL_FAILED}, -350},
        {"bonus level won",
         {.mode = MODE_GAME | MODE_PAUSED | MODE_LEVEL_COMPLETE, .bonus = true},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        statistics.Reset(c.screen.bonus);
        statistics.expertReached = c.cash > 0;
        statistics.playTime = 599.0f;
        statistics.combos = statistics.orderFishSold = statistics.computerFishSold = 99;
        statistics.fishSold = statistics.deadFishAndMissedOrders = 999;
        statistics.turtlesSaved = statistics.turtlesLost = 99;
        statistics.totalLines += c.screen.bonus ? 1 : 0;  // the mini-game's line
        statistics.ShowAll(c.cash);
        EXPECT_EQ(Unexpected(Faults(c.screen, MessagePanel(), HudTexts(c.screen)), {}),
                  std::vector<std::string>{});
    }
}

// The panel of a hint window: the header band of two tiles, the body rows and
// their rims.
Box HintPanel(const HintDesc& hint) {
    return {hint.panelPosition.x, hint.panelPosition.y,
            hint.panelPosition.x + 28.0f * static_cast<float>(hint.columns),
            hint.panelPosition.y + 56.0f + 28.0f * static_cast<float>(hint.rows) + 28.0f};
}

TEST_F(TextLayoutTest, ShopHintsHoldTheirTextsWithThePrice) {
    // Each shop station's hint: its header and text, panel point and size.
    struct ShopHint {
        const char* header;
        const char* text;
        Vec2 panel;
        std::int32_t columns;
        std::int32_t rows;
    };
    const ShopHint hints[] = {
        {"BUY_AQUARIUM_HEADER", "BUY_AQUARIUM_TEXT_1", {10, 510}, 14, 6},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_AQUARIUM_TEXT_1", {10, 510}, 14, 6},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_AQUARIUM_TEXT_2", {10, 510}, 14, 6},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_AQUARIUM_TEXT_3", {10, 510}, 14, 6},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_PET_TEXT_1", {10, 540}, 14, 5},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_PET_TEXT_2", {10, 540}, 14, 5},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_PET_TEXT_3", {10, 540}, 14, 5},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_PET_TEXT_4", {10, 540}, 14, 5},
        {"UPGRADE_AQUARIUM_HEADER", "UPGRADE_PET_TEXT_5", {10, 540}, 14, 5},
        {"BUY_COMPUTER_HEADER", "BUY_COMPUTER_TEXT_1", {10, 510}, 14, 6},
        {"UPGRADE_MACHINE_HEADER", "UPGRADE_MACHINE_TEXT_1", {10, 540}, 16, 5},
        {"UPGRADE_MACHINE_HEADER", "UPGRADE_MACHINE_TEXT_2", {10, 540}, 16, 5},
        {"BUY_AUDIO_SYSTEM_HEADER", "BUY_AUDIO_SYSTEM_TEXT_1", {10, 510}, 16, 6},
        {"UPGRADE_AUDIO_SYSTEM_HEADER", "UPGRADE_AUDIO_SYSTEM_TEXT_1", {10, 510}, 16, 6},
        {"UPGRADE_AUDIO_SYSTEM_HEADER", "UPGRADE_AUDIO_SYSTEM_TEXT_2", {10, 510}, 16, 6},
        {"UPGRADE_FOOTWEAR_HEADER", "UPGRADE_FOOTWEAR_TEXT_1", {10, 540}, 13, 5},
        {"UPGRADE_FOOTWEAR_HEADER", "UPGRADE_FOOTWEAR_TEXT_2", {10, 540}, 13, 5},
    };
    for (const ShopHint& shop : hints) {
        SCOPED_TRACE(shop.text);
        g_hintManager.Clear();
        HintDesc hint;
        hint.firstArrowPosition = {200.0f, 300.0f};
        hint.firstArrowDirection = {0.0f, -1.0f};
        hint.panelPosition = shop.panel;
        hint.headerFont = 1;
        hint.headerId = shop.header;
        hint.textId = shop.text;
        hint.columns = shop.columns;
        hint.rows = shop.rows;
        hint.centred = true;
        g_hintManager.AddHint(hint);
        g_hintManager.Update(InputState{}, Vec2{kScale, kScale}, 1.0f);
        EXPECT_EQ(Faults({.mode = MODE_GAME | MODE_SHOP}, HintPanel(hint)),
                  std::vector<std::string>{});
    }
}

TEST_F(TextLayoutTest, TipWindowsHoldTheirTexts) {
    for (std::int32_t step = 0; step <= 34; ++step) {
        SCOPED_TRACE("training step " + std::to_string(step));
        g_hintManager.Clear();
        const HintDesc tip = CGameSession::TrainingTip(step);
        g_hintManager.AddHint(tip);
        g_hintManager.Update(InputState{}, Vec2{kScale, kScale}, 1.0f);
        EXPECT_EQ(Faults({.mode = MODE_GAME | MODE_TRAINING}, HintPanel(tip)),
                  std::vector<std::string>{});
    }
}

}  // namespace
