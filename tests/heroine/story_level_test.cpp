// The first story level played by a scripted player on the shipped data, in
// the order of the application's frame: the player only moves the cursor and
// presses the left button where the objects on the shop floor say they are,
// and the heroine, the machine and the level flow do the rest, up to the
// level-complete overlay and the profile saved with the level's cash. In the
// upgrade shop a purchase is on file once FINISH is clicked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/framework/app_test_support.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "game/data_file_test_support.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/scene.h"
#include "game/session_test_support.h"
#include "game/shipped_screen.h"
#include "heroine/bonus_game.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/order_list.h"

namespace {

constexpr Vec2 SCALE{1.0f, 1.0f};
constexpr float FRAME = 0.05f;
// levels.xml: the first training, then story level 1.
constexpr std::int32_t STORY_LEVEL_1_INDEX = 2;
// A gull's click box spans this much from its position.
constexpr Vec2 GULL_BOX{200.0f, 130.0f};

Vec2 Centre(const CGuiImage& image) {
    return {image.offsetX + image.hoverX +
                image.scaleX *
                    static_cast<float>(image.hoverSource.right - image.hoverSource.left) * 0.5f,
            image.offsetY + image.hoverY +
                image.scaleY *
                    static_cast<float>(image.hoverSource.bottom - image.hoverSource.top) * 0.5f};
}

Vec2 Centre(const CGuiButton& button) {
    return {
        button.x + button.scaleX *
                       static_cast<float>(button.normalSource.right - button.normalSource.left) *
                       0.5f,
        button.y + button.scaleY *
                       static_cast<float>(button.normalSource.bottom - button.normalSource.top) *
                       0.5f};
}

class StoryLevelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_test::PrivateFolder();
        HtmlLog().Start();
        s_screen.OpenFolder();
        // The pictures load level by level, as the game loads them.
        ASSERT_NO_FATAL_FAILURE(s_screen.Start(1024, 768, 1.0f, "story level", 0));
    }

    static void TearDownTestSuite() { s_screen.Close(); }

    void SetUp() override {
        std::filesystem::remove(HtmlLog().GetUserFolder() + PROFILES_FILE);
        session_test::ResetGlobalSession();
        g_orderList.Clear();
        g_aquariumSet = CAquariumSet{};
        g_scene.Init();
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
        input.cursorX = 5.0f;
        input.cursorY = 760.0f;
    }

    void TearDown() override {
        g_orderList.Clear();
        g_aquariumSet = CAquariumSet{};
        g_hintManager.Clear();
        session_test::ResetGlobalSession();
    }

    static CProfile& Player() { return *g_gameSession.GetCurrentProfile(); }

    // One frame as the application runs it.
    void Frame() {
        clock.Advance(FRAME);
        s_screen.audio->Advance(FRAME);
        g_gameSession.UpdateFade(FRAME);
        g_gameSession.Update(nullptr, s_screen.device.get(), input, SCALE, Vec2{}, FRAME);
        g_gameSession.HandleKeys(s_screen.device.get(), input, FRAME);
        const std::uint32_t mode = g_gameSession.GetGameMode();
        if ((mode & MODE_GAME) != 0 && (mode & ~(MODE_GAME | MODE_TRAINING | MODE_SHOP)) == 0) {
            g_scene.Update(input, SCALE, FRAME);
        }
        input.previousMouse = input.currentMouse;
        input.currentMouse.buttons[0] = 0;
        seconds += FRAME;
    }

    // The cursor moves there in one frame, the button goes down in the next
    // and comes up in the one after.
    void ClickAt(Vec2 at) {
        input.cursorX = at.x;
        input.cursorY = at.y;
        Frame();
        input.currentMouse.buttons[0] = 0x80;
        Frame();
        Frame();
    }

    template <typename Condition>
    bool RunUntil(Condition condition, float limit) {
        const float end = seconds + limit;
        while (!condition() && seconds < end) {
            Frame();
        }
        return condition();
    }

    static bool HeroineIdle() {
        return g_heroine.GetTasks().empty() && !g_heroine.IsWorking() &&
               g_heroine.state == CHeroine::STATE_IDLE;
    }

    static const CInstrumentItem* Item(std::uint32_t kind) {
        for (const CInstrumentItem& item : g_instrumentPanel.GetItems()) {
            if (item.kind == kind && item.level > 0) {
                return &item;
            }
        }
        return nullptr;
    }

    // Starts the level at `index` as the next level after the one before,
    // and plays through the loading and the briefing with its OK button.
    void StartLevel(std::int32_t index, std::int32_t story) {
        Player().levelIndex = index;
        Player().storyLevel = story;
        g_gameSession.SetGameMode(MODE_GAME);
        ASSERT_TRUE(g_gameSession.StartGame(false, false));
        ASSERT_TRUE(RunUntil([] { return g_gameSession.HasModeBits(MODE_BRIEFING); }, 20.0f))
            << std::hex << g_gameSession.GetGameMode();
        Frame();
        ClickAt(Centre(g_gameSession.GetButton(BTN_OK)));
        ASSERT_EQ(g_gameSession.GetGameMode(), MODE_GAME);
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

    // Drops a waiting order into the first empty aquarium.
    bool PlaceOrder() {
        for (std::int32_t i = 0; OrderEntry* entry = g_orderList.GetEntry(i); ++i) {
            if (!entry->active) {
                continue;
            }
            for (std::int32_t a = 0; a < g_aquariumSet.GetCount(); ++a) {
                CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
                if (aquarium.GetLevel() == 0 || !aquarium.IsEmpty()) {
                    continue;
                }
                ClickAt(Centre(entry->card));
                ClickAt(Centre(aquarium.GetBody()));
                return true;
            }
        }
        return false;
    }

    // The heroine brings what the fish in aquarium `a` wishes for.
    void Serve(std::int32_t a) {
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
        const std::uint32_t wish = aquarium.GetRequest();
        if ((wish & WISH_STATE_ON) != 0 || (wish & WISH_STATE_OFF) != 0) {
            const bool lamp = (wish & ITEM_LAMP_SWITCH) != 0;
            ClickAt(Centre(lamp ? aquarium.GetLampSwitch() : aquarium.GetCompressorSwitch()));
        } else if ((wish & MASK_INTERIOR) != 0) {
            for (std::uint32_t bit = 1; bit <= YELLOW_CORAL; bit <<= 1) {
                if ((wish & bit) != 0) {
                    const CInstrumentItem* item = Item(bit);
                    ASSERT_NE(item, nullptr) << std::hex << bit;
                    ClickAt(Centre(item->picture));
                }
            }
            ClickAt(Centre(g_machine.GetBody()));
            ASSERT_TRUE(RunUntil(
                [] {
                    return HeroineIdle() && g_machine.GetCurrentSet() != 0 &&
                           !g_machine.IsWorking();
                },
                30.0f));
            ++setsBuilt;
            ClickAt(Centre(g_machine.GetFinishedSet().GetSprite(0, 0)));
            ASSERT_TRUE(RunUntil([] { return HeroineIdle(); }, 20.0f));
            ASSERT_EQ(g_heroine.firstHandItem, wish & MASK_INTERIOR) << "she carries the set";
            ClickAt(Centre(aquarium.GetBody()));
            ASSERT_TRUE(RunUntil([] { return HeroineIdle(); }, 20.0f));
            EXPECT_EQ(g_heroine.firstHandItem, 0u) << "the set went into the aquarium";
        } else {
            const CInstrumentItem* item = Item(wish);
            ASSERT_NE(item, nullptr) << std::hex << wish;
            ClickAt(Centre(item->picture));
            ClickAt(Centre(aquarium.GetBody()));
        }
        RunUntil([] { return HeroineIdle(); }, 20.0f);
        ++served;
    }

    static screen_test::ShippedScreen s_screen;

    app_test::CManualClock clock;
    InputState input;
    float seconds = 0.0f;
    int served = 0;
    int setsBuilt = 0;
};

screen_test::ShippedScreen StoryLevelTest::s_screen;

TEST_F(StoryLevelTest, AScriptedPlayerWinsStoryLevelOneByClicksAlone) {
    StartLevel(STORY_LEVEL_1_INDEX, 1);
    const CLevelStatistics& statistics = g_gameSession.GetStatistics();
    int placed = 0;
    int sold = 0;
    while (!g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE | MODE_LEVEL_FAILED) &&
           seconds < 400.0f) {
        if (HeroineIdle() && PlaceOrder()) {
            ++placed;
            continue;
        }
        bool acted = false;
        for (std::int32_t a = 0; a < g_aquariumSet.GetCount() && !acted; ++a) {
            CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
            if (aquarium.IsEmpty()) {
                continue;
            }
            if (aquarium.GetFishState() == FISH_GROWN) {
                ClickAt(Centre(aquarium.GetSellButton()));
                ++sold;
                acted = true;
            } else if (HeroineIdle() && aquarium.GetRequest() != 0) {
                Serve(a);
                if (HasFatalFailure()) {
                    return;
                }
                acted = true;
            }
        }
        if (!acted) {
            Frame();
        }
    }
    ASSERT_TRUE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE))
        << std::hex << g_gameSession.GetGameMode() << std::dec << " after " << seconds
        << " s, cash " << Player().levelCash << ", placed " << placed << ", sold " << sold
        << ", served " << served << ", sets " << setsBuilt;
    EXPECT_EQ(placed, 3);
    EXPECT_GE(sold, 3);
    EXPECT_EQ(statistics.fishSold, 3);
    EXPECT_GT(served, 3);
    EXPECT_GE(setsBuilt, 1) << "the fish wished for a set";
    const std::int32_t cash = Player().levelCash;
    EXPECT_GE(cash, g_gameSession.GetLevel().need);

    // OK shows every line of the statistics, then goes on to the next level.
    while (Player().levelIndex == STORY_LEVEL_1_INDEX && seconds < 500.0f) {
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
    StartLevel(BONUS_INDEX, 5);
    ASSERT_TRUE(g_gameSession.GetLevel().bonus);
    // Every diving gull is clicked away before it reaches its turtle.
    while (!g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE | MODE_LEVEL_FAILED) &&
           seconds < 400.0f) {
        bool clicked = false;
        for (const CBonusGull& gull : g_bonusGame.Gulls()) {
            if (gull.Is(GULL_DIVE) && !gull.Is(GULL_LOST)) {
                ClickAt({gull.base.x + GULL_BOX.x * 0.5f, gull.base.y + GULL_BOX.y * 0.5f});
                clicked = true;
                break;
            }
        }
        if (!clicked) {
            Frame();
        }
    }
    ASSERT_TRUE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE))
        << std::hex << g_gameSession.GetGameMode() << std::dec << " after " << seconds << " s";
    EXPECT_TRUE(g_gameSession.HasBonusReward());
    EXPECT_EQ(g_gameSession.GetStatistics().totalLines, 4);

    while (Player().levelIndex == BONUS_INDEX && seconds < 500.0f) {
        ClickAt(Centre(g_gameSession.GetButton(BTN_OK)));
    }
    ASSERT_EQ(Player().levelIndex, BONUS_INDEX + 1);
    EXPECT_EQ(Player().storyLevel, 5) << "a bonus level is no story level";
    // The map and the shop come before the next story level.
    while (g_gameSession.HasModeBits(MODE_MAP | MODE_SHOP | MODE_LOAD_TEXTURES | MODE_FADE_OUT) &&
           seconds < 600.0f) {
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
