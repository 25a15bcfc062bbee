// Customer orders: arrivals and their sounds, the column of at most six
// cards, drag and drop onto aquariums, the warning and the timeout with its
// fine, the audio effect, held timers, training and bonus time, the computer
// call, the level's end test, and orders that could never leave the list.
#include "shopfloor/order_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "game/game_session.h"
#include "heroine/instrument_panel.h"
#include "shop_world.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr Vec2 SCALE{1.0f, 1.0f};

class OrderListTest : public shop_test::ShopWorldTest {
protected:
    void SetUp() override {
        ShopWorldTest::SetUp();
        items = AddImage("ITEMS", 256, 256);
        // FISH_1 waits 40 s per fish and wants stone and green grass; FISH_2
        // has no waiting time.
        resource_test::WriteFile(
            "Resources/Data/fishes.xml",
            "<Fishes><Fish type=\"FISH_1\" waiting_time=\"40\"><InteriorConst ground=\"STONE\" "
            "algae=\"GREEN_GRASS\"/></Fish><Fish type=\"FISH_2\"/><Fish type=\"CRAB\" "
            "waiting_time=\"100\"/></Fishes>");
        ASSERT_EQ(g_fishBase.Load(), 3);
        g_aquariumSet.Clear();
        g_aquariumSet.AddAquarium(0, 1, 0, 0, 100.0f, 300.0f, 1.0f, 1.0f, false);
        g_aquariumSet.AddAquarium(0, 1, 0, 0, 400.0f, 300.0f, 1.0f, 1.0f, false);
        orders.Clear();
    }

    void TearDown() override {
        orders.Clear();
        g_instrumentPanel.Build(0, 0, 0, 0, 0, 0);
        g_aquariumSet.Clear();
        g_fishBase.Load("Resources/Data/none.xml");
        ShopWorldTest::TearDown();
    }

    // One frame; the buttons' press edges last this frame only.
    void Step(float dt, float effect = 0.0f) {
        orders.Update(input, SCALE, dt, effect);
        input.previousMouse = input.currentMouse;
        LetSoundsRun(dt);
    }

    // Frames of `dt` for `seconds`.
    void Run(float seconds, float dt = 0.05f, float effect = 0.0f) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += dt) {
            Step(dt, effect);
        }
    }

    void Press(int button) {
        input.previousMouse.buttons[static_cast<std::size_t>(button)] = 0;
        input.currentMouse.buttons[static_cast<std::size_t>(button)] = 0x80;
        Step(0.01f);
        input.currentMouse.buttons[static_cast<std::size_t>(button)] = 0;
        input.previousMouse.buttons[static_cast<std::size_t>(button)] = 0;
    }

    // Points at the middle of the order's card.
    void PointAtCard(std::int32_t index) {
        const OrderEntry* entry = orders.GetEntry(index);
        input.cursorX = entry->card.x + 45.0f;
        input.cursorY = entry->card.y + 40.0f;
        for (std::int32_t i = 0; i < g_aquariumSet.GetCount(); ++i) {
            g_aquariumSet.GetAquarium(i)->GetBody().hovered = false;
        }
    }

    void PointAtAquarium(std::int32_t index) {
        input.cursorX = 10.0f;
        input.cursorY = 10.0f;
        for (std::int32_t i = 0; i < g_aquariumSet.GetCount(); ++i) {
            g_aquariumSet.GetAquarium(i)->GetBody().hovered = i == index;
        }
    }

    // The texts the cards show.
    std::vector<std::u16string> CardTexts() {
        device.draws.clear();
        orders.Render(&device, Vec2{input.cursorX, input.cursorY}, SCALE);
        std::vector<std::u16string> texts;
        for (const panel_test::DrawnText& text : DrawnTexts()) {
            texts.push_back(text.text);
        }
        return texts;
    }

    COrderList orders;
    std::int32_t items = -1;
};

TEST_F(OrderListTest, ArrivalSoundDependsOnHowLongAgoTheLastOrderArrived) {
    orders.AddOrder(FISH_1, 1, 0.0f, false);
    orders.AddOrder(FISH_1, 1, 0.0f, false);
    orders.AddOrder(FISH_1, 1, 1.0f, false);
    orders.AddOrder(FISH_1, 1, 3.0f, false);
    // Nothing shows before the first update.
    EXPECT_EQ(orders.CountActive(), 0);
    Step(0.01f);
    EXPECT_EQ(orders.CountActive(), 2);
    EXPECT_EQ(Plays(21), 1);
    EXPECT_EQ(Plays(45), 0);
    Run(1.5f);
    EXPECT_EQ(orders.CountActive(), 3);
    EXPECT_EQ(Plays(21), 1);
    EXPECT_EQ(Plays(45), 1);
    Run(2.0f);
    EXPECT_EQ(orders.CountActive(), 4);
    EXPECT_EQ(Plays(21), 2);
    EXPECT_EQ(Plays(45), 1);
}

TEST_F(OrderListTest, SixCardsStackInTheirSlotsAndTheSeventhWaitsForARoom) {
    for (int i = 0; i < 7; ++i) {
        orders.AddOrder(CRAB, 1, 0.0f, false);
    }
    Step(0.01f);
    EXPECT_EQ(orders.CountActive(), 6);
    Run(2.0f);
    const std::vector<float> slots = {675.0f, 584.2f, 493.4f, 402.6f, 311.8f, 221.0f};
    for (std::int32_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(orders.GetEntry(i)->card.x, COrderList::CARD_REST_X, 1e-3f);
        EXPECT_NEAR(orders.GetEntry(i)->card.y, slots[static_cast<std::size_t>(i)], 1e-3f);
    }
    // The bottom card goes into an aquarium; the others move down one by one
    // and the seventh comes only half a second after the last movement.
    PointAtCard(0);
    Press(0);
    PointAtAquarium(0);
    Press(0);
    EXPECT_EQ(orders.CountActive(), 5);
    EXPECT_EQ(g_aquariumSet.GetAquarium(0)->GetFishKind(), CRAB);
    float waited = 0.0f;
    bool moved = false;
    float lastMove = 0.0f;
    while (orders.CountActive() < 6 && waited < 5.0f) {
        const float top = orders.GetEntry(4)->card.y;
        Step(0.02f);
        waited += 0.02f;
        if (orders.CountActive() < 6 && orders.GetEntry(4)->card.y != top) {
            moved = true;
            lastMove = waited;
        }
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(orders.CountActive(), 6);
    EXPECT_NEAR(waited - lastMove, 0.5f, 0.05f);
}

TEST_F(OrderListTest, CardOfThreeCountsDownAsItsFishAreDropped) {
    orders.AddOrder(CRAB, 3, 0.0f, false);
    Run(1.0f);
    EXPECT_EQ(CardTexts(), std::vector<std::u16string>{u"3"});
    PointAtCard(0);
    Press(0);
    EXPECT_TRUE(orders.IsDragging());
    EXPECT_EQ(Plays(23), 1);
    // The card in place shows what is left after the drop; the copy none.
    EXPECT_EQ(CardTexts(), std::vector<std::u16string>{u"2"});
    PointAtAquarium(0);
    Press(0);
    EXPECT_FALSE(orders.IsDragging());
    EXPECT_EQ(CardTexts(), std::vector<std::u16string>{u"2"});
    // An occupied aquarium refuses the order and keeps it.
    PointAtCard(0);
    Press(0);
    PointAtAquarium(0);
    Press(0);
    EXPECT_EQ(Plays(24), 1);
    EXPECT_EQ(orders.GetEntry(0)->amount, 2);
    PointAtCard(0);
    Press(0);
    PointAtAquarium(1);
    Press(0);
    EXPECT_TRUE(CardTexts().empty());
    g_aquariumSet.AddAquarium(0, 1, 0, 0, 700.0f, 300.0f, 1.0f, 1.0f, false);
    PointAtCard(0);
    Press(0);
    PointAtAquarium(2);
    Press(0);
    EXPECT_EQ(orders.GetCount(), 0u);
    EXPECT_TRUE(orders.IsDone());
}

TEST_F(OrderListTest, DropAwayFromAquariumsAndRightClickPutTheCardBackSilently) {
    orders.AddOrder(CRAB, 1, 0.0f, false);
    Run(1.0f);
    const int sounds = Plays(24) + Plays(23);
    PointAtCard(0);
    Press(0);
    PointAtAquarium(-1);
    Press(0);
    EXPECT_FALSE(orders.IsDragging());
    Run(0.5f);
    PointAtCard(0);
    Press(0);
    PointAtAquarium(0);
    Press(1);
    EXPECT_FALSE(orders.IsDragging());
    EXPECT_EQ(orders.GetEntry(0)->dragX, 0.0f);
    EXPECT_EQ(Plays(24) + Plays(23), sounds + 2);
    EXPECT_TRUE(g_aquariumSet.GetAquarium(0)->IsEmpty());
}

TEST_F(OrderListTest, OrderWarnsBelowAFifthAndTimesOutWithAFine) {
    orders.AddOrder(FISH_1, 2, 0.0f, false);
    Step(0.01f);
    const OrderEntry* entry = orders.GetEntry(0);
    EXPECT_FLOAT_EQ(entry->total, 80.0f);
    const std::int32_t cash = Cash();
    float previous = entry->remaining;
    bool warned = false;
    while (orders.GetEntry(0)->remaining > 0.0f) {
        const float before = orders.GetEntry(0)->remaining;
        Step(before > 1.0f ? 0.1f : 0.01f);
        if (!warned && Plays(5) > 0) {
            warned = true;
            // The first frame that starts with less than 16 s left.
            EXPECT_LT(before, 16.0f);
            EXPECT_GE(previous, 16.0f);
        }
        previous = before;
    }
    EXPECT_EQ(Plays(5), 1);
    EXPECT_EQ(Plays(4), 1);
    EXPECT_EQ(Cash(), cash - 100);
    EXPECT_EQ(g_gameSession.GetStatistics().deadFishAndMissedOrders, 1);
    const std::vector<PopupText> popups = NewPopups();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].colour, 0xFFFFFF00u);
    // The card fades away within 0.255 s of the timeout.
    Run(0.24f, 0.01f);
    EXPECT_EQ(orders.GetCount(), 1u);
    Run(0.02f, 0.01f);
    EXPECT_EQ(orders.GetCount(), 0u);
    EXPECT_EQ(Plays(4), 1);
}

TEST_F(OrderListTest, EffectHeldTimersAndTrainingStopTheTimeAndLoseTheBonus) {
    struct Case {
        const char* name;
        float effect;
        bool hold;
        bool training;
    };
    for (const Case& c : {Case{"effect", 1.0f, false, false}, Case{"held", 0.0f, true, false},
                          Case{"training", 0.0f, false, true}}) {
        SCOPED_TRACE(c.name);
        orders.Clear();
        orders.AddOrder(CRAB, 1, 0.0f, false);
        Run(1.0f);
        const float before = orders.GetEntry(0)->remaining;
        orders.HoldTimers(c.hold);
        g_gameSession.SetGameMode(c.training ? MODE_GAME | MODE_TRAINING : MODE_GAME);
        orders.AddBonusTime(20.0f);
        Run(5.0f, 0.05f, c.effect);
        EXPECT_FLOAT_EQ(orders.GetEntry(0)->remaining, before);
        // The bonus ran out meanwhile and is not handed out later.
        EXPECT_EQ(orders.GetBonusPool(), 0.0f);
        orders.HoldTimers(false);
        g_gameSession.SetGameMode(MODE_GAME);
        Run(1.0f);
        EXPECT_NEAR(orders.GetEntry(0)->remaining, before - 1.0f, 1e-3f);
    }
}

TEST_F(OrderListTest, BonusTimeFillsEveryCardUpToItsTotalAndFlashesThem) {
    for (int i = 0; i < 5; ++i) {
        orders.AddOrder(CRAB, 1, 0.0f, false);
    }
    Run(40.0f, 0.1f);
    ASSERT_EQ(orders.CountActive(), 5);
    // One card has only 10 s to gain.
    orders.GetEntry(4)->remaining = 90.0f;
    orders.AddBonusTime(30.0f);
    Step(0.1f);
    EXPECT_TRUE(orders.IsBonusFlashing());
    EXPECT_LT(orders.GetEntry(0)->colourR, 255.0f);
    EXPECT_EQ(orders.GetEntry(0)->colourB, orders.GetEntry(0)->colourR);
    EXPECT_EQ(orders.GetEntry(0)->colourG, 255.0f);
    Run(0.2f, 0.1f);
    for (std::int32_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(orders.GetEntry(i)->remaining, 60.0f + 30.0f - 0.3f, 1e-2f);
    }
    EXPECT_FLOAT_EQ(orders.GetEntry(4)->remaining, 100.0f);
    EXPECT_EQ(orders.GetBonusPool(), 0.0f);
    Run(1.0f, 0.1f);
    EXPECT_FALSE(orders.IsBonusFlashing());
    EXPECT_EQ(orders.GetEntry(0)->colourR, 255.0f);
}

TEST_F(OrderListTest, ComputerOrderCallsOnlyWithAComputerAndComesWhenTaken) {
    orders.AddOrder(CRAB, 1, 0.0f, true);
    Run(1.0f);
    EXPECT_FALSE(orders.IsCallShown());
    // Without a computer its orders cannot be served: the level may end.
    EXPECT_TRUE(orders.IsDone());
    orders.TakeAtComputer();
    EXPECT_EQ(orders.CountActive(), 0);

    g_gameSession.SetUpgradeLevel(ITEM_COMPUTER, 1, -1);
    g_instrumentPanel.Build(1, 1, 1, 0, 0, 0);
    const Vec2 computer = g_instrumentPanel.GetItemPosition(ITEM_COMPUTER);
    ASSERT_NE(computer, Vec2{});
    EXPECT_FALSE(orders.IsDone());
    Step(0.01f);
    EXPECT_TRUE(orders.IsCallShown());
    EXPECT_EQ(Plays(19), 1);
    device.draws.clear();
    orders.RenderComputerCall(&device, SCALE);
    // The sign blinks beside the computer.
    const auto signs = DrawsOf(gui);
    ASSERT_EQ(signs.size(), 1u);
    EXPECT_EQ(signs[0].translation.x, std::floor(computer.x + 14.0f));
    EXPECT_EQ(signs[0].translation.y, std::floor(computer.y + 15.0f));
    // Its pulse rose from 127 at 400 a second for the frame.
    EXPECT_EQ(signs[0].colour >> 24, 131u);
    orders.TakeAtComputer();
    EXPECT_FALSE(orders.IsCallShown());
    EXPECT_EQ(Plays(20), 1);
    EXPECT_EQ(orders.CountActive(), 1);
    EXPECT_TRUE(orders.GetEntry(0)->computer);
}

TEST_F(OrderListTest, FullColumnRefusesTheComputerOrderWhichCallsAgainLater) {
    g_gameSession.SetUpgradeLevel(ITEM_COMPUTER, 1, -1);
    for (int i = 0; i < 5; ++i) {
        orders.AddOrder(CRAB, 1, 0.0f, false);
    }
    orders.AddOrder(CRAB, 1, 0.0f, true);
    orders.AddOrder(CRAB, 1, 0.0f, false);
    Step(0.01f);
    ASSERT_TRUE(orders.IsCallShown());
    EXPECT_EQ(orders.CountActive(), 6);
    orders.TakeAtComputer();
    EXPECT_EQ(Plays(24), 1);
    EXPECT_FALSE(orders.IsCallShown());
    EXPECT_EQ(orders.CountActive(), 6);
    // A free slot lets it call again.
    PointAtCard(0);
    Press(0);
    PointAtAquarium(0);
    Press(0);
    Run(3.0f);
    EXPECT_TRUE(orders.IsCallShown());
    EXPECT_EQ(orders.CountActive(), 5);
}

TEST_F(OrderListTest, RemoveInactiveDropsOnlyOrdersThatNeverArrived) {
    orders.AddOrder(CRAB, 1, 0.0f, false);
    orders.AddOrder(CRAB, 1, 50.0f, false);
    orders.AddOrder(CRAB, 1, 0.0f, true);
    Step(0.01f);
    orders.RemoveInactive();
    EXPECT_EQ(orders.GetCount(), 1u);
    EXPECT_TRUE(orders.GetEntry(0)->active);
}

TEST_F(OrderListTest, OrdersThatCouldNeverLeaveTheListAreNotAdded) {
    // A negative amount would never reach 0; a kind that is no fish would put
    // a fish that never grows, sells or dies.
    orders.AddOrder(CRAB, -1, 0.0f, false);
    orders.AddOrder(-1, 1, 0.0f, false);
    orders.AddOrder(FISH_KIND_COUNT, 1, 0.0f, false);
    Run(1.0f);
    EXPECT_EQ(orders.GetCount(), 0u);
    EXPECT_TRUE(orders.IsDone());
    orders.ReturnOrder(CRAB, 1);
    Step(0.01f);
    EXPECT_EQ(orders.CountActive(), 1);
}

TEST_F(OrderListTest, KindWithoutWaitingTimeHasNoBarNoWarningAndNoTimeout) {
    orders.AddOrder(FISH_2, 2, 0.0f, false);
    Run(300.0f, 0.5f);
    const OrderEntry* entry = orders.GetEntry(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->total, 0.0f);
    EXPECT_FALSE(entry->warned);
    EXPECT_EQ(Plays(5), 0);
    EXPECT_EQ(entry->barFill.source.right, 265);
    device.draws.clear();
    orders.Render(&device, Vec2{}, SCALE);
    EXPECT_TRUE(DrawsOf(instruments).empty());
    // The card is white.
    for (const media_test::RecordedDraw& draw : DrawsOf(icons)) {
        EXPECT_EQ(draw.colour, 0xFFFFFFFFu);
    }
}

// More digits than a float holds read as an infinite waiting time: the card
// never runs out and keeps its bar full.
TEST_F(OrderListTest, EndlessWaitingTimeKeepsAFullBarAndNeverTimesOut) {
    resource_test::WriteFile(
        "Resources/Data/fishes.xml",
        "<Fishes><Fish type=\"FISH_2\" waiting_time=\"" + std::string(41, '9') + "\"/></Fishes>");
    ASSERT_EQ(g_fishBase.Load(), 1);
    orders.AddOrder(FISH_2, 2, 0.0f, false);
    Run(10.0f, 0.5f);
    const OrderEntry* entry = orders.GetEntry(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(std::isinf(entry->total));
    EXPECT_EQ(entry->barFill.source.right, 189 + 76);
    EXPECT_FALSE(entry->warned);
    EXPECT_EQ(orders.CountActive(), 1);
}

TEST_F(OrderListTest, CardShowsTheKindsIconAndInteriorAndTheBarShrinks) {
    orders.AddOrder(FISH_1, 1, 0.0f, false);
    Run(20.0f, 0.1f);
    device.draws.clear();
    orders.Render(&device, Vec2{}, SCALE);
    // Card, then the fish icon at its offset.
    const auto cards = DrawsOf(icons);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].translation.x, 930.0f);
    EXPECT_EQ(cards[0].translation.y, 675.0f);
    EXPECT_EQ(cards[1].translation.x, 940.0f);
    EXPECT_EQ(cards[1].translation.y, 689.0f);
    // Stone and green grass, at half size.
    const auto interior = DrawsOf(items);
    ASSERT_EQ(interior.size(), 2u);
    EXPECT_EQ(interior[0].source->left, 171);
    EXPECT_EQ(interior[1].source->left, 70);
    EXPECT_EQ(interior[0].scale.x, 0.5f);
    // Half the time left: half a bar.
    const auto bars = DrawsOf(instruments);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_NEAR(bars[1].source->right, 189 + 38, 1);
    EXPECT_EQ(orders.GetTopActiveOrderPosition(), (Vec2{930.0f, 675.0f}));
}

TEST_F(OrderListTest, DraggedCopyFollowsTheCursorAtItsOffset) {
    orders.AddOrder(CRAB, 1, 0.0f, false);
    Run(1.0f);
    PointAtCard(0);
    Press(0);
    PointAtAquarium(-1);
    Step(0.01f);
    device.draws.clear();
    orders.Render(&device, Vec2{300.0f, 200.0f}, SCALE);
    const auto cards = DrawsOf(icons);
    // The card in place at half alpha, its icon, then the copy and its icon.
    ASSERT_EQ(cards.size(), 4u);
    EXPECT_EQ(cards[0].colour >> 24, 127u);
    EXPECT_EQ(cards[2].translation.x, 250.0f);
    EXPECT_EQ(cards[2].translation.y, 150.0f);
    EXPECT_EQ(cards[2].colour, 0xFFFFFFFFu);
}

TEST_F(OrderListTest, HighlightedCardPulsesAndClearEmptiesEverything) {
    orders.AddOrder(CRAB, 1, 0.0f, false);
    Run(1.0f);
    orders.SetHighlighted(5, true);
    orders.SetHighlighted(0, true);
    Run(0.5f);
    EXPECT_LT(orders.GetEntry(0)->pulse.value, 255.0f);
    orders.AddBonusTime(5.0f);
    orders.GetSaleBadge().Add(CRAB, 0.0f, 0.0f);
    orders.Clear();
    EXPECT_EQ(orders.GetCount(), 0u);
    EXPECT_EQ(orders.GetBonusPool(), 0.0f);
    EXPECT_FALSE(orders.IsBonusFlashing());
    EXPECT_EQ(orders.GetSaleBadge().kind, -1);
    EXPECT_EQ(orders.GetTopActiveOrderPosition(), Vec2{});
}

}  // namespace
