// Both training levels played through the session and the scene on the
// shipped levels, fishes and upgrades: the player clicks only what the
// current tip lights, at the places the lit objects report, pressing and
// releasing in frames of their own, while the heroine walks and works for
// real; each training ends by the ordinary end test in its next level.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "game/data_file_test_support.h"
#include "heroine/heroine_world.h"
#include "shopfloor/item_codes.h"
#include "training_tips.h"

namespace {

using device_test::ONE;
constexpr float FRAME = 0.05f;
constexpr Vec2 OK_AT = {512.0f, 420.0f};

class TrainingPlayTest : public heroine_test::HeroineWorldTest {
protected:
    void SetUp() override {
        HeroineWorldTest::SetUp();
        const std::filesystem::path shipped = data_test::ShippedDataFolder();
        ASSERT_GT(g_fishBase.Load((shipped / "fishes.xml").string()), 0);
        ASSERT_GT(g_levelBase.Load((shipped / "levels.xml").string()), 24);
        std::filesystem::copy_file(shipped / "upgrades.xml", "Resources/Data/upgrades.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        UseLanguage("English", training_test::TipTexts());
        g_orderList.Clear();
        g_hintManager.Clear();
        // The briefing's OK button where the player will find it.
        g_gameSession.GetButton(BTN_OK).Create(
            training_test::PlainButton(OK_AT.x - 50.0f, OK_AT.y - 20.0f));
    }

    void TearDown() override {
        g_orderList.Clear();
        g_hintManager.Clear();
        g_aquariumSet = CAquariumSet{};
        g_levelBase.Clear();
        device_test::Renew(g_fishBase);
        HeroineWorldTest::TearDown();
    }

    // A play frame as the application runs it: the session, then the world,
    // which moves only in plain play and in the shop, training or not; any
    // other mode bit (briefing, pause, fades, pending steps) freezes it.
    void Step() {
        g_gameSession.Update(nullptr, nullptr, input, ONE, Vec2{}, FRAME);
        const std::uint32_t mode = g_gameSession.GetGameMode() & ~MODE_TRAINING;
        if (mode == MODE_GAME || mode == (MODE_GAME | MODE_SHOP)) {
            g_scene.Update(input, ONE, FRAME);
        }
        for (const CHintWindow& window : g_hintManager.GetWindows()) {
            if (window.id > m_lastTipId) {
                m_lastTipId = window.id;
                tipsShown.push_back(training_test::TipId(window.text));
            }
        }
        input.previousMouse = input.currentMouse;
        vitaminTaken = vitaminTaken || (g_gameSession.GetTrainingStep() == 32 &&
                                        (g_heroine.firstHandItem == ITEM_VITAMIN_GROWTH ||
                                         g_heroine.secondHandItem == ITEM_VITAMIN_GROWTH));
    }

    // The press and the release, each in a frame of its own.
    void ClickAt(Vec2 at) {
        input.cursorX = at.x;
        input.cursorY = at.y;
        input.currentMouse.buttons[0] = 0x80;
        Step();
        input.currentMouse.buttons[0] = 0;
        Step();
    }

    // The middle of the image's hover area, margins included.
    static Vec2 Centre(const CGuiImage& image) {
        const float left = image.offsetX + image.hoverX + static_cast<float>(image.marginLeft);
        const float right =
            image.offsetX + image.hoverX +
            image.scaleX * static_cast<float>(image.hoverSource.right - image.hoverSource.left) +
            static_cast<float>(image.marginRight);
        const float top = image.offsetY + image.hoverY + static_cast<float>(image.marginTop);
        const float bottom =
            image.offsetY + image.hoverY +
            image.scaleY * static_cast<float>(image.hoverSource.bottom - image.hoverSource.top) +
            static_cast<float>(image.marginBottom);
        return {(left + right) / 2, (top + bottom) / 2};
    }

    // Where the player clicks next: the first lit object that takes a click.
    std::optional<Vec2> LitTarget() {
        for (std::size_t i = 0; i < g_orderList.GetCount(); ++i) {
            const OrderEntry* order = g_orderList.GetEntry(static_cast<std::int32_t>(i));
            if (order->active && order->highlighted && !order->picked) {
                return Vec2{order->card.x + 45.0f, order->card.y + 40.0f};
            }
        }
        for (const CInstrumentItem& item : g_instrumentPanel.GetItems()) {
            if (item.highlight && !item.disabled && !item.selected) {
                return Centre(item.picture);
            }
        }
        for (int i = 0; i < g_aquariumSet.GetCount(); ++i) {
            CAquarium& aquarium = *g_aquariumSet.GetAquarium(i);
            if (aquarium.IsHighlighted(CAquarium::PART_SELL) && !aquarium.IsEmpty()) {
                return Centre(aquarium.GetSellButton());
            }
            if (aquarium.IsHighlighted(CAquarium::PART_COMPRESSOR) &&
                !aquarium.IsDisabled(CAquarium::PART_COMPRESSOR)) {
                return Centre(aquarium.GetCompressorSwitch());
            }
            if (aquarium.IsHighlighted(CAquarium::PART_BODY) &&
                !aquarium.IsDisabled(CAquarium::PART_BODY)) {
                return Centre(aquarium.GetBody());
            }
        }
        if (g_machine.IsProductHighlighted() && g_machine.GetCurrentSet() != 0) {
            return Centre(g_machine.GetFinishedSet().GetSprite(0, 0));
        }
        if (g_machine.IsBodyHighlighted()) {
            return Centre(g_machine.GetBody());
        }
        return std::nullopt;
    }

    // Plays until the script reaches `step` or `seconds` pass: while the
    // heroine is idle, one click on whatever the open tip lights.
    void PlayTo(std::int32_t step, float seconds) {
        for (float t = 0.0f; t < seconds && g_gameSession.GetTrainingStep() != step; t += FRAME) {
            const std::optional<Vec2> target =
                g_gameSession.HasModeBits(MODE_BRIEFING) ? OK_AT : LitTarget();
            if (target && g_heroine.GetTasks().empty() && !g_heroine.IsWorking() &&
                m_cooldown <= 0.0f) {
                ClickAt(*target);
                m_cooldown = 0.5f;
            } else {
                Step();
                m_cooldown -= FRAME;
            }
        }
    }

    // What a failure needs to tell where the play stuck.
    std::string State() {
        std::ostringstream out;
        out << ::testing::PrintToString(tipsShown) << " mode " << std::hex
            << g_gameSession.GetGameMode() << std::dec << " orders " << g_orderList.CountActive()
            << " hands " << g_heroine.firstHandItem << "," << g_heroine.secondHandItem << " tasks "
            << g_heroine.GetTasks().size() << " set " << g_machine.GetCurrentSet();
        for (int i = 0; i < g_aquariumSet.GetCount(); ++i) {
            const CAquarium& aquarium = *g_aquariumSet.GetAquarium(i);
            out << " aquarium " << i << ": fish " << aquarium.GetFishKind() << " wish "
                << aquarium.GetRequest();
        }
        return out.str();
    }

    InputState input;
    std::vector<std::string> tipsShown;
    // A new level's hint windows count from 1 again.
    void ForgetTips() {
        tipsShown.clear();
        m_lastTipId = 0;
    }

    // Whether the heroine held the growth vitamin in step 32.
    bool vitaminTaken = false;

private:
    std::int32_t m_lastTipId = 0;
    float m_cooldown = 0.0f;
};

TEST_F(TrainingPlayTest, BothTrainingsByRealClicksEndInTheirNextLevel) {
    struct Case {
        std::int32_t levelIndex;
        std::int32_t storyLevel;
        int aquariums;
        std::vector<std::int32_t> steps;
        std::vector<std::string> tips;
    };
    std::vector<std::string> firstTips;
    for (int i = 1; i <= 26; ++i) {
        firstTips.push_back("TIP_" + std::to_string(i));
    }
    const Case cases[] = {
        {1, 1, 2, {1, 2, 3, 4, 5, 10, 15, 20, 25, 100}, firstTips},
        {24,
         17,
         1,
         {27, 28, 29, 30, 31, 32, 33, 34, 100},
         {"TIP_1", "TIP_27", "TIP_28", "TIP_29", "TIP_30", "TIP_31", "TIP_32", "TIP_33", "TIP_34"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levelIndex);
        CProfile& player = *g_gameSession.GetCurrentProfile();
        player.levelIndex = c.levelIndex;
        player.storyLevel = c.storyLevel;
        g_gameSession.SetGameMode(MODE_GAME | MODE_NEXT_LEVEL);
        ASSERT_TRUE(g_gameSession.StartGame(false, false));
        g_gameSession.SetGameMode(MODE_GAME | MODE_TRAINING);
        ASSERT_EQ(g_aquariumSet.GetCount(), c.aquariums);
        ForgetTips();
        input = InputState{};
        input.cursorX = -500.0f;
        input.cursorY = -500.0f;
        vitaminTaken = false;
        for (std::int32_t step : c.steps) {
            PlayTo(step, 120.0f);
            ASSERT_EQ(g_gameSession.GetTrainingStep(), step) << State();
        }
        EXPECT_EQ(tipsShown, c.tips);
        // The growth vitamin is the second training's step 32.
        EXPECT_EQ(vitaminTaken, c.levelIndex == 24);

        // The ordinary end test takes the finished training on, without the
        // level-complete overlay.
        for (float t = 0.0f; t < 30.0f && !g_gameSession.HasModeBits(MODE_NEXT_LEVEL); t += FRAME) {
            Step();
            ASSERT_FALSE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE));
        }
        ASSERT_EQ(g_gameSession.GetGameMode(),
                  MODE_GAME | MODE_TRAINING | MODE_NEXT_LEVEL | MODE_FADE_OUT);
        EXPECT_EQ(tipsShown, c.tips);
        // The fade has run out: the next level starts and is saved.
        g_gameSession.ClearModeBits(MODE_FADE_OUT);
        Step();
        EXPECT_EQ(player.levelIndex, c.levelIndex + 1);
        EXPECT_EQ(player.storyLevel, c.storyLevel);
        player.levelIndex = 0;
        player.storyLevel = 0;
        ASSERT_GT(g_gameSession.LoadProfiles(PROFILES_FILE), 0);
        EXPECT_EQ(g_gameSession.GetCurrentProfile()->levelIndex, c.levelIndex + 1);
        EXPECT_EQ(g_gameSession.GetCurrentProfile()->storyLevel, c.storyLevel);
        g_orderList.Clear();
        g_hintManager.Clear();
    }
}

}  // namespace
