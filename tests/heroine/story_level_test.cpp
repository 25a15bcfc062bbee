// The first story level played by the scripted player on the shipped data, up
// to the level-complete overlay and the profile saved with the level's cash;
// a bonus level won by clicks on the gulls. In the upgrade shop a purchase is
// on file once FINISH is clicked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/session_test_support.h"
#include "game/shipped_screen.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "heroine/scripted_player.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/order_list.h"

namespace {

using scripted_player::Centre;

constexpr float FRAME = scripted_player::CPlayer::FRAME;
// levels.xml: the first training, then story level 1.
constexpr std::int32_t STORY_LEVEL_1_INDEX = 2;

class StoryLevelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { scripted_player::OpenShippedScreen(s_screen, "story level"); }

    static void TearDownTestSuite() { s_screen.Close(); }

    void SetUp() override { ASSERT_NO_FATAL_FAILURE(player.NewProfile()); }

    void TearDown() override {
        g_orderList.Clear();
        g_aquariumSet = CAquariumSet{};
        g_hintManager.Clear();
        session_test::ResetGlobalSession();
    }

    static CProfile& Player() { return *g_gameSession.GetCurrentProfile(); }

    void Frame() { player.Frame(); }
    void ClickAt(Vec2 at) { player.ClickAt(at); }
    template <typename Condition>
    bool RunUntil(Condition condition, float limit) {
        return player.RunUntil(condition, limit);
    }
    static const CInstrumentItem* Item(std::uint32_t kind) {
        return scripted_player::CPlayer::Item(kind);
    }

    // Story level 1 won with 5000 in savings: the game continues through
    // the map into the upgrade shop before story level 2.
    void EnterTheShopBeforeStoryLevelTwo() {
        Player().levelIndex = STORY_LEVEL_1_INDEX + 1;
        Player().storyLevel = 2;
        Player().savings = 5000;
        g_gameSession.SetGameMode(MODE_GAME);
        ASSERT_TRUE(g_gameSession.StartGame(false, false));
        const auto shown = [](std::uint32_t screen) {
            return g_gameSession.HasModeBits(screen) &&
                   !g_gameSession.HasModeBits(MODE_LOAD_TEXTURES | MODE_FADE_OUT);
        };
        ASSERT_TRUE(RunUntil([&] { return shown(MODE_MAP); }, 20.0f));
        ClickAt(Centre(g_gameSession.GetButton(BTN_PLAY)));
        ASSERT_TRUE(RunUntil(
            [&] { return shown(MODE_SHOP) && !g_gameSession.HasModeBits(MODE_MAP); }, 20.0f))
            << std::hex << g_gameSession.GetGameMode();
    }

    static screen_test::ShippedScreen s_screen;

    scripted_player::CPlayer player{s_screen};
    InputState& input = player.input;
};

screen_test::ShippedScreen StoryLevelTest::s_screen;

TEST_F(StoryLevelTest, AScriptedPlayerWinsStoryLevelOneByClicksAlone) {
    ASSERT_NO_FATAL_FAILURE(player.StartLevel(STORY_LEVEL_1_INDEX, 1));
    const CLevelStatistics& statistics = g_gameSession.GetStatistics();
    player.PlayStoryLevel(400.0f);
    if (HasFatalFailure()) {
        return;
    }
    const scripted_player::Counts& counts = player.counts;
    ASSERT_TRUE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE))
        << std::hex << g_gameSession.GetGameMode() << std::dec << " after " << player.seconds
        << " s, cash " << Player().levelCash << ", placed " << counts.placed << ", sold "
        << counts.sold << ", served " << counts.served << ", sets " << counts.setsBuilt;
    EXPECT_EQ(counts.placed, 3);
    EXPECT_GE(counts.sold, 3);
    EXPECT_EQ(statistics.fishSold, 3);
    EXPECT_GT(counts.served, 3);
    EXPECT_GE(counts.setsBuilt, 1) << "the fish wished for a set";
    const std::int32_t cash = Player().levelCash;
    EXPECT_GE(cash, g_gameSession.GetLevel().need);

    // OK shows every line of the statistics, then goes on to the next level.
    while (Player().levelIndex == STORY_LEVEL_1_INDEX && player.seconds < 500.0f) {
        ClickAt(Centre(g_gameSession.GetButton(BTN_OK)));
    }
    EXPECT_EQ(Player().levelIndex, STORY_LEVEL_1_INDEX + 1);
    EXPECT_EQ(Player().storyLevel, 2);

    session_test::ResetGlobalSession();
    ASSERT_EQ(g_gameSession.LoadProfiles(PROFILES_FILE), 1);
    EXPECT_EQ(Player().savings, cash);
    EXPECT_EQ(Player().totalScore, cash);
    EXPECT_EQ(Player().levelIndex, STORY_LEVEL_1_INDEX + 1);
}

TEST_F(StoryLevelTest, AWonBonusLevelGivesTheNextStoryLevelFasterShoes) {
    // levels.xml: the first bonus level follows story level 4.
    constexpr std::int32_t BONUS_INDEX = 6;
    Player().footwearLevel = 1;
    ASSERT_NO_FATAL_FAILURE(player.StartLevel(BONUS_INDEX, 5));
    ASSERT_TRUE(g_gameSession.GetLevel().bonus);
    player.PlayBonusLevel(400.0f);
    ASSERT_TRUE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE))
        << std::hex << g_gameSession.GetGameMode() << std::dec << " after " << player.seconds
        << " s";
    EXPECT_TRUE(g_gameSession.HasBonusReward());
    EXPECT_EQ(g_gameSession.GetStatistics().totalLines, 4);

    while (Player().levelIndex == BONUS_INDEX && player.seconds < 500.0f) {
        ClickAt(Centre(g_gameSession.GetButton(BTN_OK)));
    }
    ASSERT_EQ(Player().levelIndex, BONUS_INDEX + 1);
    EXPECT_EQ(Player().storyLevel, 5) << "a bonus level is no story level";
    // The map and the shop come before the next story level.
    while (g_gameSession.HasModeBits(MODE_MAP | MODE_SHOP | MODE_LOAD_TEXTURES | MODE_FADE_OUT) &&
           player.seconds < 600.0f) {
        const SessionButton button = g_gameSession.HasModeBits(MODE_MAP) ? BTN_PLAY : BTN_FINISH;
        if (g_gameSession.HasModeBits(MODE_LOAD_TEXTURES | MODE_FADE_OUT)) {
            Frame();
        } else {
            ClickAt(Centre(g_gameSession.GetButton(button)));
        }
    }
    ASSERT_TRUE(RunUntil([] { return g_gameSession.HasModeBits(MODE_BRIEFING); }, 20.0f))
        << std::hex << g_gameSession.GetGameMode();
    Frame();
    ClickAt(Centre(g_gameSession.GetButton(BTN_OK)));
    ASSERT_EQ(g_gameSession.GetGameMode(), MODE_GAME);
    EXPECT_FALSE(g_gameSession.GetLevel().bonus);
    EXPECT_TRUE(g_gameSession.HasBonusReward());

    const float speed2 = g_gameSession.GetUpgradeTable().Row(UPGRADE_ROW_FOOTWEAR + 1).speed;
    EXPECT_EQ(g_heroine.GetFootwearLevel(), 1);
    EXPECT_EQ(g_heroine.GetSpeed(), speed2);
    // She walks to the first food at that speed along one axis at least.
    const CInstrumentItem* food = Item(ITEM_FOOD_1);
    ASSERT_NE(food, nullptr);
    ClickAt(Centre(food->picture));
    float fastest = 0.0f;
    for (int i = 0; i < 10; ++i) {
        const Vec2 before = g_heroine.position;
        Frame();
        fastest = std::max({fastest, std::fabs(g_heroine.position.x - before.x),
                            std::fabs(g_heroine.position.y - before.y)});
    }
    EXPECT_NEAR(fastest, speed2 * FRAME, 0.01f);
}

TEST_F(StoryLevelTest, WhatIsBoughtInTheShopIsOnFileOnceFinishIsClicked) {
    ASSERT_NO_FATAL_FAILURE(EnterTheShopBeforeStoryLevelTwo());

    // The machine, then BUY.
    ClickAt(Centre(g_machine.GetBody()));
    ASSERT_EQ(g_gameSession.GetPendingCode(), static_cast<std::uint32_t>(ITEM_MACHINE));
    ClickAt(Centre(g_gameSession.GetButton(BTN_BUY)));
    ASSERT_EQ(Player().machineLevel, 2);
    const std::int32_t savings = Player().savings;
    ASSERT_LT(savings, 5000);

    ClickAt(Centre(g_gameSession.GetButton(BTN_FINISH)));
    ASSERT_TRUE(RunUntil([] { return !g_gameSession.HasModeBits(MODE_SHOP); }, 5.0f));
    // The program is closed during the level and started again.
    session_test::ResetGlobalSession();
    ASSERT_EQ(g_gameSession.LoadProfiles(PROFILES_FILE), 1);
    EXPECT_EQ(Player().machineLevel, 2);
    EXPECT_EQ(Player().savings, savings);
}

// The footwear sheets are the largest pictures of a location, and a level
// draws one pair: the pairs she does not wear are released once the
// location is loaded, the next pair is read when she shows it off in the
// shop, and leaving the shop keeps only the pair bought.
TEST_F(StoryLevelTest, OnlyTheShoesSheWearsStayInMemory) {
    const auto sheets = [] {
        std::string loaded;
        for (const char* id :
             {"SLIPPERS_1", "SLIPPERS_2", "SANDALS_1", "SANDALS_2", "BOOTS_1", "BOOTS_2"}) {
            const ImageRecord* image = nullptr;
            for (const ImageRecord& record : ResourceManager::Instance().Images()) {
                if (record.id == id) {
                    image = &record;
                }
            }
            if (image != nullptr && image->texture != nullptr) {
                loaded += loaded.empty() ? id : std::string(" ") + id;
            }
        }
        return loaded;
    };
    ASSERT_NO_FATAL_FAILURE(EnterTheShopBeforeStoryLevelTwo());
    EXPECT_EQ(sheets(), "SLIPPERS_1 SLIPPERS_2");

    const Vec2 onHer{g_heroine.position.x + 40.0f, g_heroine.position.y + 150.0f};
    input.cursorX = onHer.x;
    input.cursorY = onHer.y;
    Frame();
    ASSERT_TRUE(g_heroine.IsShopHovered());
    EXPECT_EQ(sheets(), "SLIPPERS_1 SLIPPERS_2 SANDALS_1 SANDALS_2");
    const std::int32_t sandals = ResourceManager::Instance().GetIndex(RESOURCE_IMAGE, "SANDALS_2");
    EXPECT_EQ(g_heroine.GetStandFootwear().GetClip(0)->image, sandals) << "she shows them off";

    ClickAt(onHer);
    ASSERT_EQ(g_gameSession.GetPendingCode(), static_cast<std::uint32_t>(ITEM_FOOTWEAR));
    ClickAt(Centre(g_gameSession.GetButton(BTN_BUY)));
    ASSERT_EQ(Player().footwearLevel, 2);
    ClickAt(Centre(g_gameSession.GetButton(BTN_FINISH)));
    ASSERT_TRUE(RunUntil([] { return !g_gameSession.HasModeBits(MODE_SHOP); }, 5.0f));
    EXPECT_EQ(sheets(), "SANDALS_1 SANDALS_2");
    EXPECT_EQ(g_heroine.GetStandFootwear().GetClip(0)->image, sandals);
}

}  // namespace
