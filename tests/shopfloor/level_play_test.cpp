// Story level 1 played on the shipped levels, fishes and upgrades: the test
// clicks the order cards and the aquariums and plays the heroine's part by
// delivering what each fish asks for, then follows the cash through a sale, a
// COMBO, a death and a missed order to the end of the level.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "game/data_file_test_support.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/level_base.h"
#include "game/scene.h"
#include "shop_world.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/order_list.h"

namespace {

constexpr Vec2 SCALE{1.0f, 1.0f};
constexpr float FRAME = 0.05f;
// Story level 1 comes after the first training level.
constexpr std::uint32_t STORY_LEVEL_1 = 2;

class LevelPlayTest : public shop_test::ShopWorldTest {
protected:
    void SetUp() override {
        ShopWorldTest::SetUp();
        const std::filesystem::path shipped = data_test::ShippedDataFolder();
        ASSERT_GT(g_fishBase.Load((shipped / "fishes.xml").string()), 0);
        ASSERT_GT(g_levelBase.Load((shipped / "levels.xml").string()), 2);
        std::filesystem::copy_file(shipped / "upgrades.xml", "Resources/Data/upgrades.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        CProfile& profile = *g_gameSession.GetCurrentProfile();
        profile.slotLevels[0] = 2;
        profile.slotLevels[1] = 1;
        profile.slotLevels[2] = 1;
        profile.slotLevels[3] = 1;
        g_orderList.Clear();
        input.cursorX = 5.0f;
        input.cursorY = 760.0f;
    }

    void TearDown() override {
        g_aquariumSet = CAquariumSet{};
        g_orderList.Clear();
        g_hintManager.Clear();
        std::destroy_at(&g_fishBase);
        std::construct_at(&g_fishBase);
        g_levelBase.Clear();
        ShopWorldTest::TearDown();
    }

    // What the level flow does at a level start.
    void StartStoryLevel1() {
        const CLevelRecord level = g_levelBase.GetLevel(STORY_LEVEL_1);
        ASSERT_EQ(level.tasks.size(), 3u);
        g_gameSession.GetLevel() = level;
        g_aquariumSet.SetBaseCount(level.base_aquariums);
        g_scene.ResetForLevel(level.location, level.location_level, level.food_types,
                              level.machine_ingridients, level.brush_types, level.medic_types,
                              level.base_aquariums);
        for (const CLevelTask& task : level.tasks) {
            g_orderList.AddOrder(task.kind, task.amount, task.creation_time, task.computer_order);
        }
        g_gameSession.SetLevelStartDelay(0.0f);
    }

    void Frame() {
        g_scene.Update(input, SCALE, FRAME);
        input.previousMouse = input.currentMouse;
        input.currentMouse.buttons[0] = 0;
        LetSoundsRun(FRAME);
        seconds += FRAME;
    }

    void ClickAt(float x, float y) {
        input.cursorX = x;
        input.cursorY = y;
        Frame();
        input.currentMouse.buttons[0] = 0x80;
        Frame();
    }

    // Runs until the condition holds; false when `limit` seconds pass first.
    template <typename Condition>
    bool RunUntil(Condition condition, float limit) {
        const float end = seconds + limit;
        while (!condition() && seconds < end) {
            Frame();
        }
        return condition();
    }

    // Picks the top card and drops it on aquarium 0.
    void PutOrderIntoFirstAquarium() {
        const OrderEntry* entry = g_orderList.GetEntry(0);
        ASSERT_NE(entry, nullptr);
        ClickAt(entry->card.x + 45.0f, entry->card.y + 40.0f);
        ASSERT_TRUE(g_orderList.GetEntry(0)->picked);
        const Vec2 at = First().GetPosition();
        ClickAt(at.x + 120.0f, at.y + 100.0f);
    }

    // The heroine's part: whatever the fish asks for is brought.
    void Serve() {
        const std::uint32_t wish = First().GetRequest();
        if (wish == 0) {
            return;
        }
        std::uint32_t item = wish;
        // A switch wish names the state; the heroine brings the switch.
        if ((wish & (WISH_STATE_ON | WISH_STATE_OFF)) != 0) {
            item = (wish & ITEM_COMPRESSOR_SWITCH) != 0 ? ITEM_COMPRESSOR_SWITCH : ITEM_LAMP_SWITCH;
        }
        EXPECT_GE(g_aquariumSet.ApplyItem(item, 0, 0), 1) << std::hex << wish;
    }

    static CAquarium& First() { return *g_aquariumSet.GetAquarium(0); }

    float seconds = 0.0f;
};

TEST_F(LevelPlayTest, StoryLevelOneFromTheFirstOrderToTheEnd) {
    StartStoryLevel1();
    ASSERT_EQ(g_aquariumSet.GetCount(), 4);
    EXPECT_EQ(First().GetLevel(), 2);
    const CLevelStatistics& statistics = g_gameSession.GetStatistics();

    // The first order arrives after 4 s and slides into the bottom slot.
    ASSERT_TRUE(RunUntil([] { return g_orderList.CountActive() == 1; }, 6.0f));
    EXPECT_NEAR(seconds, 4.0f, 0.2f);
    ASSERT_TRUE(RunUntil(
        [] { return g_orderList.GetEntry(0)->card.y >= COrderList::BOTTOM_SLOT_Y; }, 5.0f));

    PutOrderIntoFirstAquarium();
    EXPECT_NEAR(seconds, 5.0f, 1.0f);
    ASSERT_FALSE(First().IsEmpty());
    EXPECT_EQ(First().GetFishKind(), SHOAL_FISHES);
    EXPECT_EQ(g_orderList.CountActive(), 0);

    // Served until grown.
    ASSERT_TRUE(RunUntil(
        [&] {
            Serve();
            return First().GetFishState() == FISH_GROWN;
        },
        60.0f));
    EXPECT_EQ(First().GetFish().growth, 100.0f);

    // The sale pays the value plus 10 % of the final cost of 60.
    const float value = First().GetFish().value;
    const std::int32_t beforeSale = Cash();
    const Vec2 at = First().GetPosition();
    ClickAt(at.x + 125.0f, at.y - 30.0f);
    EXPECT_EQ(Cash() - beforeSale, static_cast<std::int32_t>(value + 6.0f));
    EXPECT_EQ(statistics.fishSold, 1);
    EXPECT_EQ(statistics.orderFishSold, 1);
    ASSERT_TRUE(RunUntil([] { return First().IsEmpty(); }, 3.0f));

    // The second order of the same kind pays COMBO 20 when it goes in.
    ASSERT_TRUE(RunUntil([] { return g_orderList.CountActive() == 1; }, 40.0f));
    RunUntil([] { return g_orderList.GetEntry(0)->card.y >= COrderList::BOTTOM_SLOT_Y; }, 5.0f);
    const std::int32_t beforeCombo = Cash();
    PutOrderIntoFirstAquarium();
    EXPECT_EQ(Cash() - beforeCombo, 20);
    EXPECT_EQ(statistics.combos, 1);

    // That fish dies: it costs 100 and its customer orders again at once.
    const std::int32_t beforeDeath = Cash();
    First().SetFishState(FISH_DEAD);
    Frame();
    EXPECT_EQ(Cash() - beforeDeath, -100);
    EXPECT_TRUE(First().IsEmpty());
    EXPECT_EQ(statistics.orderFishDied, 1);
    bool returned = false;
    for (std::int32_t i = 0; g_orderList.GetEntry(i) != nullptr; ++i) {
        const OrderEntry& entry = *g_orderList.GetEntry(i);
        returned = returned || (entry.kind == SHOAL_FISHES && entry.amount == 1 && !entry.computer);
    }
    EXPECT_TRUE(returned);

    // Every order left times out, at 100 each.
    const std::int32_t beforeTimeOuts = Cash();
    ASSERT_TRUE(RunUntil([] { return g_orderList.IsDone(); }, 300.0f));
    EXPECT_EQ(Cash() - beforeTimeOuts, -200);
    // The FISH_1 order waited its whole time after arriving at 51.1 s.
    EXPECT_GT(seconds, 51.1f + g_fishBase.GetWaitingTime(FISH_1));
    EXPECT_TRUE(g_aquariumSet.AllEmpty());
}

}  // namespace
