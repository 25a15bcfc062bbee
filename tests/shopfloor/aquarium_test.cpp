// The aquariums: the slots each location builds and the blink-in of a new
// one, deliveries, a fish put in with its COMBO, the sale and the death with
// their cash, popups, samples and counters, the hover marks that send the
// heroine, the pet fish's growth, the interior's places, and the draw passes.
#include "shopfloor/aquarium.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/platform/number_text.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "shop_world.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"

namespace {

constexpr Vec2 SCALE{1.0f, 1.0f};
constexpr float FRAME = 1.0f / 60.0f;
constexpr float X = 300.0f;
constexpr float Y = 200.0f;

class AquariumTest : public shop_test::ShopWorldTest {
protected:
    void SetUp() override {
        ShopWorldTest::SetUp();
        UseLanguage("English", {{"COMBO", "COMBO"},
                                {"SELL", "SELL"},
                                {"FISH_DIE", "DIED"},
                                {"PET_FISH_ABILITY", "GROWTH"},
                                {"FAST_BONUS", "FAST"}});
        for (const char* id : {"AQUARIUM_1", "AQUARIUM_2", "AQUARIUM_3", "AQUARIUM_ADD"}) {
            bodies.push_back(AddImage(id, 256, 512));
        }
        for (const char* id : {"LOCATION_1_GLOW", "LOCATION_2_GLOW", "LOCATION_3_GLOW", "GLOW",
                               "LIGHT_ADD", "WORK_CLOUD", "VOLUME_LIGHT"}) {
            AddImage(id, 512, 512);
        }
        shadow = AddImage("AQUARIUM_SHADOW", 256, 128);
        caustic = AddImage("CAUSTIC", 512, 1024);
        resource_test::WriteFile("Resources/Data/upgrades.xml",
                                 "<Upgrades><Aquarium cost_1=\"0\" cost_2=\"100\" cost_3=\"200\" "
                                 "cost_4=\"300\" effect_1=\"0\" effect_2=\"10\" effect_3=\"20\" "
                                 "effect_4=\"100000000000\"/></Upgrades>");
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        g_aquariumSet = CAquariumSet{};
        g_orderList.Clear();
        g_hintManager.Clear();
        g_location.Set(1, 0);
        Away();
    }

    void TearDown() override {
        g_aquariumSet = CAquariumSet{};
        g_orderList.Clear();
        g_hintManager.Clear();
        ShopWorldTest::TearDown();
    }

    // One aquarium of the level at (X, Y) holding a fish of the kind.
    CAquarium& WithFish(std::int32_t level, std::int32_t kind = FISH_1, bool computer = false) {
        g_aquariumSet.AddAquarium(0, level, 0, 0, X, Y, 1.0f, 1.0f, false);
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(g_aquariumSet.GetCount() - 1);
        if (kind >= 0) {
            aquarium.PutFish(kind, computer);
            CFish& fish = aquarium.GetFish();
            fish.type.finalCost = 100.0f;
            fish.type.extraPercentPer15 = 10.0f;
            fish.type.growthPercent = 20.0f;
            fish.type.feedTypes = {1};
            fish.type.feedWaitingTime = 30.0f;
            // No wish of its own during the test.
            fish.type.wishCountdown = 1000.0f;
            fish.lamp = -1;
            fish.compressor = -1;
        }
        return aquarium;
    }

    // The fish shows a wish that the aquarium can read.
    void Wish(CAquarium& aquarium, std::uint32_t code) {
        CRequestBubble& bubble = aquarium.GetFish().bubble;
        bubble.SetRequest(code, 30.0f, X, Y);
        for (int i = 0; i < 600 && bubble.GetRequest() == 0; ++i) {
            bubble.Update(input, SCALE, FRAME, 0.0f);
        }
        ASSERT_EQ(bubble.GetRequest(), code);
    }

    void Grown(CAquarium& aquarium, float value) {
        CFish& fish = aquarium.GetFish();
        fish.state = FISH_GROWN;
        fish.growth = 100.0f;
        fish.value = value;
        fish.alpha = 255.0f;
    }

    void Frame(float dt = FRAME) {
        g_aquariumSet.Update(input, SCALE, dt);
        input.previousMouse = input.currentMouse;
        LetSoundsRun(dt);
    }

    void Press() {
        input.previousMouse.buttons[0] = 0;
        input.currentMouse.buttons[0] = 0x80;
        g_aquariumSet.Update(input, SCALE, FRAME);
        LetSoundsRun(FRAME);
        input.currentMouse.buttons[0] = 0;
        input.previousMouse.buttons[0] = 0;
    }

    void PointAt(float x, float y) {
        input.cursorX = x;
        input.cursorY = y;
    }
    void Away() { PointAt(5.0f, 760.0f); }
    void AtSellButton() { PointAt(X + 120.0f, Y - 30.0f); }
    void AtBody() { PointAt(X + 120.0f, Y + 100.0f); }

    std::vector<std::u16string> PopupTexts() const {
        std::vector<std::u16string> texts;
        for (const PopupText& popup : NewPopups()) {
            texts.push_back(popup.text);
        }
        return texts;
    }

    std::vector<std::int32_t> bodies;
    std::int32_t shadow = -1;
    std::int32_t caustic = -1;
};

TEST_F(AquariumTest, EachLocationBuildsItsSlotsFromTheProfile) {
    struct Case {
        const char* name;
        std::int32_t location;
        bool training;
        std::int32_t previousBase;
        std::int32_t base;
        std::vector<std::int32_t> levels;  // by index
        std::vector<Vec2> positions;
        std::int32_t hiddenIndex;  // -1 none
    };
    // Profile slots 0..4 hold levels 1, 2, 3, 4, 0.
    const Case cases[] = {
        {"location 1, base 2",
         1,
         false,
         2,
         2,
         {1, 2, 3, 4},
         {{350, 280}, {640, 340}, {210, 440}, {690, 500}},
         -1},
        {"location 1, base 3 after 3",
         1,
         false,
         3,
         3,
         {1, 2, 3, 4, 0},
         {{350, 280}, {640, 340}, {210, 440}, {690, 500}, {250, 600}},
         -1},
        {"location 1, base 3 after 2",
         1,
         false,
         2,
         3,
         {1, 2, 3, 4, 0},
         {{350, 280}, {640, 340}, {210, 440}, {690, 500}, {250, 600}},
         4},
        {"location 2",
         2,
         false,
         0,
         2,
         {1, 2, 3, 4, 0},
         {{300, 280}, {585, 340}, {200, 440}, {650, 510}, {250, 600}},
         -1},
        {"location 3",
         3,
         false,
         0,
         2,
         {1, 2, 3, 4, 0},
         {{200, 280}, {610, 280}, {150, 440}, {640, 470}, {220, 600}},
         -1},
        {"training, location 1", 1, true, 0, 3, {1, 4}, {{370, 300}, {670, 470}}, -1},
        {"training, location 2", 2, true, 0, 2, {1}, {{420, 330}}, -1},
        {"training, location 3",
         3,
         true,
         0,
         2,
         {1, 2, 3, 4, 0},
         {{200, 280}, {610, 280}, {150, 440}, {640, 470}, {220, 600}},
         -1},
        {"no such location", 4, false, 0, 2, {}, {}, -1},
    };
    CProfile& profile = *g_gameSession.GetCurrentProfile();
    for (std::int32_t i = 0; i < 5; ++i) {
        profile.slotLevels[i] = (i + 1) % 5;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_gameSession.SetGameMode(c.training ? MODE_GAME | MODE_TRAINING : MODE_GAME);
        g_location.Set(c.location, 0);
        g_aquariumSet.SetBaseCount(c.previousBase);
        g_aquariumSet.Setup(c.base);
        // Only the level start writes the count, never Setup.
        EXPECT_EQ(g_aquariumSet.GetPreviousBaseCount(), c.previousBase);
        ASSERT_EQ(g_aquariumSet.GetCount(), static_cast<std::int32_t>(c.levels.size()));
        for (std::int32_t i = 0; i < g_aquariumSet.GetCount(); ++i) {
            const CAquarium& aquarium = *g_aquariumSet.GetAquarium(i);
            EXPECT_EQ(aquarium.GetLevel(), c.levels[static_cast<std::size_t>(i)]);
            EXPECT_EQ(aquarium.GetPosition(), c.positions[static_cast<std::size_t>(i)]);
            EXPECT_EQ(aquarium.IsHidden(), i == c.hiddenIndex);
            EXPECT_TRUE(aquarium.IsEmpty());
            EXPECT_EQ(aquarium.GetInterior(), 0u);
        }
        EXPECT_TRUE(g_aquariumSet.AllEmpty());
        EXPECT_TRUE(g_aquariumSet.AllEmptyOrFurnished());
        EXPECT_EQ(g_aquariumSet.FindHovered(), nullptr);
        EXPECT_EQ(g_aquariumSet.FindHoveredIndex(), -1);
    }
    // Without a profile the slots stay as they are.
    session_test::ResetGlobalSession();
    g_aquariumSet.Setup(3);
    EXPECT_EQ(g_aquariumSet.GetCount(), 0);
}

TEST_F(AquariumTest, ANewSlotBlinksInAfterTheStartDelayAndThenStays) {
    g_gameSession.GetCurrentProfile()->slotLevels[4] = 1;
    g_aquariumSet.SetBaseCount(2);
    g_aquariumSet.Setup(3);
    CAquarium& fifth = *g_aquariumSet.GetAquarium(4);
    ASSERT_TRUE(fifth.IsHidden());
    const auto fifthDrawn = [&] {
        device.draws.clear();
        g_aquariumSet.RenderByDepth(&device, SCALE, 0.0f, true);
        for (const media_test::RecordedDraw& draw : DrawsOf(shadow)) {
            if (draw.translation.y == 740.0f) {
                return true;
            }
        }
        return false;
    };
    // Not during the start delay, and a frame without time moves nothing.
    g_gameSession.SetLevelStartDelay(1.0f);
    Frame(1.5f);
    EXPECT_EQ(g_aquariumSet.GetBlinkTimer(), 0.0f);
    g_gameSession.SetLevelStartDelay(0.0f);
    Frame(0.0f);
    EXPECT_EQ(g_aquariumSet.GetBlinkTimer(), 0.0f);
    EXPECT_FALSE(fifthDrawn());

    // Pointing at the hidden slot marks nothing: it is not updated.
    PointAt(250.0f + 120.0f, 600.0f + 100.0f);
    Frame(0.5f);
    EXPECT_EQ(g_aquariumSet.FindHovered(), nullptr);
    EXPECT_FALSE(fifthDrawn());
    Frame(0.6f);  // timer 1.1: odd
    EXPECT_TRUE(fifthDrawn());
    g_hintManager.Clear();
    device.draws.clear();
    g_aquariumSet.RenderShop(&device, SCALE);
    EXPECT_EQ(DrawsOf(shadow).size(), 4u);

    float seconds = 1.1f;
    while (fifth.IsHidden() && seconds < 10.0f) {
        Frame(0.01f);
        seconds += 0.01f;
    }
    EXPECT_NEAR(seconds, 5.4f, 0.1f);
    EXPECT_EQ(g_aquariumSet.GetBlinkTimer(), -1.0f);
    EXPECT_TRUE(fifthDrawn());
    Frame(1.0f);
    EXPECT_TRUE(fifthDrawn());
    EXPECT_EQ(g_aquariumSet.FindHovered(), &fifth);
}

TEST_F(AquariumTest, DeliveriesUseOnlyWhatTheFishWants) {
    struct Case {
        const char* name;
        std::uint32_t wish;  // 0: waits for nothing
        bool lampOn;
        std::uint32_t item;
        std::uint32_t other;
        std::int32_t result;
        bool lampAfter;
        int lampSamples;
        std::uint32_t interiorAfter;
    };
    const Case cases[] = {
        {"lamp wanted on", WISH_LAMP_ON, false, ITEM_LAMP_SWITCH, 0, 1, true, 1, 0},
        {"lamp already on", WISH_LAMP_ON, true, ITEM_LAMP_SWITCH, 0, 1, true, 0, 0},
        {"lamp wanted off", WISH_LAMP_OFF, true, ITEM_LAMP_SWITCH, 0, 1, false, 1, 0},
        {"lamp, fish wants food", ITEM_FOOD_1, false, ITEM_LAMP_SWITCH, 0, 0, false, 0, 0},
        {"lamp, no wish", 0, false, ITEM_LAMP_SWITCH, 0, 0, false, 0, 0},
        {"food with growth vitamin", ITEM_FOOD_1, false, ITEM_FOOD_1, ITEM_VITAMIN_GROWTH, 2, false,
         0, 0},
        {"food alone", ITEM_FOOD_1, false, ITEM_FOOD_1, 0, 1, false, 0, 0},
        {"wrong food", ITEM_FOOD_1, false, ITEM_FOOD_2, 0, 0, false, 0, 0},
        {"the interior asked", ROCK | GREEN_GRASS, false, ROCK | GREEN_GRASS, 0, 2, false, 0,
         ROCK | GREEN_GRASS},
        {"an interior one bit off", ROCK | GREEN_GRASS, false, ROCK | BLUE_GRASS, 0, 0, false, 0,
         0},
        {"food to a fish without wish", 0, false, ITEM_FOOD_1, 0, -1, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_aquariumSet.Clear();
        CAquarium& aquarium = WithFish(1);
        if (c.wish != 0) {
            Wish(aquarium, c.wish);
        }
        if (c.lampOn) {
            Wish(aquarium, WISH_LAMP_ON);
            g_aquariumSet.ApplyItem(ITEM_LAMP_SWITCH, 0, 0);
            if (c.wish != 0) {
                Wish(aquarium, c.wish);
            }
        }
        const int lampBefore = Plays(10);
        const float growthBefore = aquarium.GetFish().growth;
        EXPECT_EQ(g_aquariumSet.ApplyItem(c.item, c.other, 0), c.result);
        EXPECT_EQ(aquarium.IsLampOn(), c.lampAfter);
        EXPECT_EQ(Plays(10) - lampBefore, c.lampSamples);
        EXPECT_EQ(aquarium.GetInterior(), c.interiorAfter);
        if (c.result > 0 && (c.item & MASK_FOOD) != 0) {
            const float growth = c.other == ITEM_VITAMIN_GROWTH ? 40.0f : 20.0f;
            EXPECT_EQ(aquarium.GetFish().growth - growthBefore, growth);
        }
    }
    // An empty aquarium and an index outside the set.
    g_aquariumSet.Clear();
    WithFish(1, FISH_NONE);
    EXPECT_EQ(g_aquariumSet.ApplyItem(ITEM_FOOD_1, 0, 0), -1);
    EXPECT_EQ(g_aquariumSet.ApplyItem(ITEM_FOOD_1, 0, 1), 0);
    EXPECT_EQ(g_aquariumSet.ApplyItem(ITEM_FOOD_1, 0, -1), 0);
}

TEST_F(AquariumTest, TheCompressorPlaysItsStartAndItsStopClipOncePerSwitch) {
    CAquarium& aquarium = WithFish(1);
    Wish(aquarium, WISH_COMPRESSOR_ON);
    EXPECT_EQ(g_aquariumSet.ApplyItem(ITEM_COMPRESSOR_SWITCH, 0, 0), 1);
    EXPECT_EQ(Plays(9), 1);
    EXPECT_TRUE(aquarium.GetCompressorAnimation().IsPlaying(1));
    for (int i = 0; i < 60; ++i) {
        Frame();
    }
    EXPECT_TRUE(aquarium.GetCompressorAnimation().IsPlaying(0));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Wish(aquarium, WISH_COMPRESSOR_OFF);
        EXPECT_EQ(g_aquariumSet.ApplyItem(ITEM_COMPRESSOR_SWITCH, 0, 0), 1);
        int stopClipStarts = 0;
        bool wasPlaying = false;
        // The running clip ends its pass first.
        for (int i = 0; i < 240; ++i) {
            Frame();
            const bool playing = aquarium.GetCompressorAnimation().IsPlaying(2);
            stopClipStarts += playing && !wasPlaying ? 1 : 0;
            wasPlaying = playing;
        }
        EXPECT_EQ(stopClipStarts, 1);
        EXPECT_FALSE(aquarium.GetCompressorAnimation().IsPlaying(-1));
        Wish(aquarium, WISH_COMPRESSOR_ON);
        g_aquariumSet.ApplyItem(ITEM_COMPRESSOR_SWITCH, 0, 0);
    }
}

TEST_F(AquariumTest, AFishOfTheLastSoldKindPaysItsCombo) {
    struct Case {
        std::int32_t kind;
        std::int32_t cash;
        std::vector<std::u16string> popups;
        int comboSamples;
    };
    for (const Case& c : {Case{CRAB, 60, {u"COMBO +60"}, 1}, Case{FISH_1, 0, {}, 0}}) {
        SCOPED_TRACE(c.kind);
        g_aquariumSet.Clear();
        CAquarium& aquarium = WithFish(1, FISH_NONE);
        aquarium.GetBadge().kind = CRAB;
        aquarium.GetBadge().count = 3;
        const std::int32_t cash = Cash();
        const std::int32_t combos = g_gameSession.GetStatistics().combos;
        const int puts = Plays(3);
        const int comboSamples = Plays(8);
        popupsBefore = PopupTexts::Instance().GetTexts().size();
        aquarium.PutFish(c.kind, false);
        EXPECT_FALSE(aquarium.IsEmpty());
        EXPECT_EQ(aquarium.GetFishKind(), c.kind);
        EXPECT_EQ(Cash() - cash, c.cash);
        EXPECT_EQ(PopupTexts(), c.popups);
        EXPECT_EQ(g_gameSession.GetStatistics().combos - combos, c.comboSamples);
        EXPECT_EQ(Plays(3) - puts, 1);
        EXPECT_EQ(Plays(8) - comboSamples, c.comboSamples);
        // The badge is changed only by a sale or a death.
        EXPECT_EQ(aquarium.GetBadge().count, 3);
    }
}

TEST_F(AquariumTest, ASalePaysTheValueAndTheLevelsBonusTruncated) {
    struct Case {
        const char* name;
        std::int32_t level;
        float value;
        bool computer;
        std::int32_t cash;
        std::u16string popup;
    };
    const Case cases[] = {
        {"worked example", 2, 150.0f, false, 160, u"SELL +160"},
        {"shown rounded, paid truncated", 1, 150.6f, true, 150, u"SELL +151"},
        // A bonus beyond any cash stops at the largest amount.
        {"absurd bonus", 4, 0.0f, false, std::numeric_limits<std::int32_t>::max(), u""},
        // A level beyond the aquarium's rows reads no other upgrade's row.
        {"level out of range", 6, 50.0f, false, 50, u"SELL +50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_aquariumSet.Clear();
        g_gameSession.GetCurrentProfile()->levelCash = 0;
        g_gameSession.GetStatistics() = CLevelStatistics();
        CAquarium& aquarium = WithFish(c.level, FISH_1, c.computer);
        // Grown in this frame: the press finds no hovered sell button yet.
        AtSellButton();
        Grown(aquarium, c.value);
        Press();
        EXPECT_EQ(Cash(), 0);
        EXPECT_TRUE(aquarium.IsSellButtonHovered());
        popupsBefore = PopupTexts::Instance().GetTexts().size();
        const int sales = Plays(30);
        Press();
        EXPECT_EQ(Cash(), c.cash);
        if (!c.popup.empty()) {
            EXPECT_EQ(PopupTexts(), std::vector<std::u16string>{c.popup});
        }
        EXPECT_EQ(Plays(30) - sales, 1);
        const CLevelStatistics& statistics = g_gameSession.GetStatistics();
        EXPECT_EQ(statistics.fishSold, 1);
        EXPECT_EQ(statistics.computerFishSold, c.computer ? 1 : 0);
        EXPECT_EQ(statistics.orderFishSold, c.computer ? 0 : 1);
        EXPECT_EQ(aquarium.GetBadge().kind, FISH_1);
        EXPECT_EQ(aquarium.GetBadge().count, 1);
        // Leaving: no second sale, and the fish, the interior and the button
        // fade until the aquarium is empty.
        EXPECT_TRUE(aquarium.GetFish().leaving);
        EXPECT_FALSE(aquarium.IsSellButtonHovered());
        Press();
        EXPECT_EQ(Cash(), c.cash);
        EXPECT_EQ(statistics.fishSold, 1);
        for (int i = 0; i < 60 && !aquarium.IsEmpty(); ++i) {
            Frame();
        }
        EXPECT_TRUE(aquarium.IsEmpty());
        Frame(0.5f);
        EXPECT_EQ(aquarium.GetSellAlpha(), 0.0f);
        EXPECT_EQ(aquarium.GetBadgeAlpha(), 255.0f);
    }
}

TEST_F(AquariumTest, TheTrainingCanHoldTheSaleBackAndClearEmptiesEverything) {
    CAquarium& aquarium = WithFish(1);
    Grown(aquarium, 40.0f);
    AtSellButton();
    Frame();
    ASSERT_TRUE(aquarium.IsSellButtonHovered());
    aquarium.SetSellDisabled(true);
    EXPECT_FALSE(aquarium.IsSellButtonHovered());
    Press();
    Press();
    EXPECT_EQ(Cash(), 0);
    aquarium.SetSellDisabled(false);
    Frame();
    Press();
    EXPECT_EQ(Cash(), 40);

    aquarium.SetPartsHighlighted(ITEM_AQUARIUM | ITEM_LAMP_SWITCH, true, true);
    aquarium.SetInterior(SAND);
    g_aquariumSet.ClearAll();
    EXPECT_TRUE(aquarium.IsEmpty());
    EXPECT_EQ(aquarium.GetInterior(), 0u);
    EXPECT_EQ(aquarium.GetGround().image, -1);
    EXPECT_FALSE(aquarium.GetCompressorAnimation().IsPlaying(-1));
    // The badge of the sale stays for the next fish.
    EXPECT_EQ(aquarium.GetBadge().kind, FISH_1);
    device.draws.clear();
    g_aquariumSet.RenderByDepth(&device, SCALE, 0.0f, true);
    ASSERT_FALSE(DrawsOf(bodies[0]).empty());
    EXPECT_EQ(DrawsOf(bodies[0])[0].colour, 0xFFFFFFFFu);
}

TEST_F(AquariumTest, ADeadFishCostsAHundredAndAnOrdinaryOneComesBack) {
    for (const bool computer : {false, true}) {
        SCOPED_TRACE(computer);
        g_aquariumSet.Clear();
        g_orderList.Clear();
        g_gameSession.GetCurrentProfile()->levelCash = 0;
        g_gameSession.GetStatistics() = CLevelStatistics();
        popupsBefore = PopupTexts::Instance().GetTexts().size();
        CAquarium& aquarium = WithFish(1, SHARK_1, computer);
        aquarium.GetBadge().kind = SHARK_1;
        aquarium.GetBadge().count = 2;
        aquarium.GetFish().state = FISH_DEAD;
        Frame();
        EXPECT_EQ(Cash(), -100);
        EXPECT_EQ(PopupTexts(), std::vector<std::u16string>{u"DIED -100"});
        const CLevelStatistics& statistics = g_gameSession.GetStatistics();
        EXPECT_EQ(statistics.deadFishAndMissedOrders, 1);
        EXPECT_EQ(statistics.computerFishDied, computer ? 1 : 0);
        EXPECT_EQ(statistics.orderFishDied, computer ? 0 : 1);
        EXPECT_EQ(g_orderList.IsDone(), computer);
        if (!computer) {
            ASSERT_NE(g_orderList.GetEntry(0), nullptr);
            EXPECT_EQ(g_orderList.GetEntry(0)->kind, SHARK_1);
            EXPECT_FALSE(g_orderList.GetEntry(0)->computer);
        }
        EXPECT_TRUE(aquarium.IsEmpty());
        EXPECT_EQ(aquarium.GetBadge().count, 0);
        EXPECT_TRUE(g_aquariumSet.AllEmpty());
    }
}

TEST_F(AquariumTest, PointingMarksThePartThatAnswersTheWish) {
    struct Case {
        const char* name;
        std::uint32_t wish;
        std::uint32_t disabled;
        bool otherBubble;
        bool body;
        bool lamp;
        bool compressor;
    };
    const Case cases[] = {
        {"no wish", 0, 0, false, true, false, false},
        {"food", ITEM_FOOD_1, 0, false, true, false, false},
        {"lamp", WISH_LAMP_OFF, 0, false, false, true, false},
        {"compressor", WISH_COMPRESSOR_ON, 0, false, false, false, true},
        {"lamp disabled", WISH_LAMP_ON, ITEM_LAMP_SWITCH, false, true, false, false},
        {"body disabled", ITEM_FOOD_1, ITEM_AQUARIUM, false, false, false, false},
        {"another fish's bubble", ITEM_FOOD_1, 0, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_aquariumSet.Clear();
        CAquarium& aquarium = WithFish(1);
        if (c.wish != 0) {
            Wish(aquarium, c.wish);
        }
        aquarium.SetPartsDisabled(c.disabled, true);
        AtBody();
        g_aquariumSet.Update(input, SCALE, 0.0f);
        // The aquarium's own update is what the set runs; the other bubble
        // stands for a fish elsewhere under the cursor.
        aquarium.Update(input, SCALE, 0.0f, true, c.otherBubble);
        EXPECT_EQ(aquarium.GetBody().hovered, c.body);
        EXPECT_EQ(aquarium.GetLampSwitch().hovered, c.lamp);
        EXPECT_EQ(aquarium.GetCompressorSwitch().hovered, c.compressor);
        EXPECT_EQ(g_aquariumSet.FindHoveredIndex(), c.body || c.lamp || c.compressor ? 0 : -1);
    }
    // Disabling the marked lamp switch takes its mark at once.
    g_aquariumSet.Clear();
    CAquarium& aquarium = WithFish(1);
    Wish(aquarium, WISH_LAMP_ON);
    AtBody();
    Frame(0.0f);
    ASSERT_TRUE(aquarium.GetLampSwitch().hovered);
    aquarium.SetPartsDisabled(ITEM_LAMP_SWITCH, true);
    EXPECT_EQ(g_aquariumSet.FindHovered(), nullptr);
    // A sell button under the cursor wins over every other aquarium.
    // The second slot moves the first in memory: both are looked up anew.
    WithFish(1);
    CAquarium& first = *g_aquariumSet.GetAquarium(0);
    CAquarium& other = *g_aquariumSet.GetAquarium(1);
    Grown(other, 10.0f);
    AtSellButton();
    Frame();
    Frame();
    ASSERT_TRUE(other.IsSellButtonHovered());
    first.Update(input, SCALE, FRAME, g_aquariumSet.NoSellButtonHovered(), false);
    EXPECT_FALSE(first.IsHovered());
}

TEST_F(AquariumTest, ThePetFishGrowsAFishByItsStrength) {
    struct Case {
        std::int32_t percent;
        float growthBefore;
        float growth;
        float value;
        bool wishCancelled;
    };
    // growthPercent 20; one bonus is 10 x 100 x 0.05 = 50.
    const Case cases[] = {
        {25, 90.0f, 100.0f, 10.0f + 50.0f + 100.0f, true},
        {10, 0.0f, 10.0f, 10.0f, false},
        {40, 0.0f, 40.0f, 10.0f + 100.0f, false},
        {25, 100.0f, 100.0f, 10.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        g_aquariumSet.Clear();
        CAquarium& aquarium = WithFish(1);
        aquarium.GetFish().growth = c.growthBefore;
        aquarium.GetFish().value = 10.0f;
        Wish(aquarium, ITEM_FOOD_1);
        popupsBefore = PopupTexts::Instance().GetTexts().size();
        aquarium.ApplyPetFishAbility(c.percent);
        EXPECT_EQ(aquarium.GetFish().growth, c.growth);
        EXPECT_EQ(aquarium.GetFish().value, c.value);
        EXPECT_EQ(aquarium.GetRequest() == 0, c.wishCancelled);
        EXPECT_EQ(PopupTexts(), std::vector<std::u16string>{u"GROWTH +" + NumberText(c.percent)});
    }
}

TEST_F(AquariumTest, TheInteriorTakesItsPlacesByHouseAndCoral) {
    g_aquariumSet.AddAquarium(0, 1, 0, ROCK | GREEN_GRASS, X, Y, 1.0f, 1.0f, false);
    CAquarium& aquarium = *g_aquariumSet.GetAquarium(0);
    const auto placed = [&](bool coral, std::size_t row) {
        int count = 0;
        for (std::size_t place = 0; place < 3; ++place) {
            const CGuiImage& picture =
                coral ? aquarium.GetCoral(row, place) : aquarium.GetAlgae(row, place);
            count += picture.image != -1 ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(aquarium.GetGround().image, interiors);
    EXPECT_EQ(aquarium.GetGround().x, X + 8.0f);
    EXPECT_EQ(aquarium.GetHouse().image, -1);
    EXPECT_EQ(placed(false, 0), 1);
    EXPECT_EQ(placed(false, 1), 2);
    EXPECT_EQ(placed(false, 2), 2);
    // Row 1 stands at 27 and 170; a green clump of the third kind 12 further left.
    for (std::size_t place = 0; place < 2; ++place) {
        const float x = aquarium.GetAlgae(1, place).x - X;
        const float expected = place == 0 ? 27.0f : 170.0f;
        EXPECT_TRUE(x == expected || x == expected - 12.0f) << x;
    }

    aquarium.SetInterior(ROCK | GREEN_GRASS | RED_CORAL);
    EXPECT_EQ(placed(false, 0), 2);
    EXPECT_EQ(placed(false, 1), 1);
    EXPECT_EQ(aquarium.GetAlgae(1, 1).image, -1);
    EXPECT_EQ(placed(false, 2), 0);
    EXPECT_EQ(placed(true, 1), 1);
    EXPECT_EQ(aquarium.GetCoral(1, 0).x, X + 160.0f);
    EXPECT_GE(placed(true, 2), 1);
    EXPECT_LE(placed(true, 2), 2);

    // A castle at 120 stands right of the middle, at 85 left.
    for (int i = 0; i < 8; ++i) {
        clock.milliseconds += 1;
        aquarium.SetInterior(CASTLE | BLUE_GRASS);
        const float x = aquarium.GetHouse().x - X;
        ASSERT_TRUE(x == 120.0f || x == 85.0f) << x;
        const float clump = aquarium.GetAlgae(0, 0).x - X;
        if (x == 120.0f) {
            EXPECT_GE(clump, 57.0f);
        } else {
            EXPECT_LE(clump, 37.0f);
        }
    }
    aquarium.SetInterior(0);
    EXPECT_EQ(aquarium.GetGround().image, -1);
    EXPECT_EQ(placed(false, 0) + placed(false, 1) + placed(false, 2), 0);
}

TEST_F(AquariumTest, TheBodyPassDrawsInItsOrderAndTheOverlayAfter) {
    CAquarium& aquarium = WithFish(3);
    Wish(aquarium, ROCK | GREEN_GRASS);
    g_aquariumSet.ApplyItem(ROCK | GREEN_GRASS, 0, 0);
    Frame(1.0f);  // the interior fades in to 100
    device.draws.clear();
    g_aquariumSet.RenderByDepth(&device, SCALE, 0.0f, true);
    std::vector<std::int32_t> images;
    std::vector<std::uint32_t> colours;
    for (const media_test::RecordedDraw& draw : device.draws) {
        for (std::size_t i = 0; i < Resources().Images().size(); ++i) {
            if (Resources().Images()[i].texture == draw.texture) {
                images.push_back(static_cast<std::int32_t>(i));
                colours.push_back(draw.colour);
            }
        }
    }
    ASSERT_GE(images.size(), 6u);
    EXPECT_EQ(images[0], shadow);
    EXPECT_EQ(images[1], bodies[0]);
    EXPECT_EQ(colours[1], 0xFFFFFFFFu);
    // Ground, then the back row capped at 179 (the interior is at 100).
    EXPECT_EQ(images[2], interiors);
    const std::uint32_t interiorAlpha = colours[2] >> 24;
    EXPECT_NEAR(static_cast<double>(interiorAlpha), 100.0, 2.0);
    // The level mark of level 3 follows the growth bar, the caustic is
    // added, the volume light drawn at 0x99.
    bool mark = false;
    bool causticAdded = false;
    for (const media_test::RecordedDraw& draw : device.draws) {
        if (draw.texture == Resources().Images()[static_cast<std::size_t>(gui)].texture &&
            draw.source && draw.source->top == 140) {
            mark = true;
        }
        if (draw.texture == Resources().Images()[static_cast<std::size_t>(caustic)].texture) {
            causticAdded = draw.blend == backend::BlendMode::Additive;
        }
    }
    EXPECT_TRUE(mark);
    EXPECT_TRUE(causticAdded);
    EXPECT_EQ(device.draws.back().colour >> 24, 0x99u);

    // Level 0 draws nothing in play; the overlay pass draws for every level.
    aquarium.SetLevel(0);
    device.draws.clear();
    g_aquariumSet.RenderByDepth(&device, SCALE, 0.0f, true);
    EXPECT_TRUE(device.draws.empty());
    Grown(aquarium, 10.0f);
    aquarium.SetLevel(1);
    Frame(1.0f);
    aquarium.SetLevel(0);
    device.draws.clear();
    g_aquariumSet.RenderOverlaysByDepth(&device, SCALE, 0.0f, true);
    ASSERT_FALSE(DrawsOf(icons).empty());
    EXPECT_EQ(DrawsOf(icons).front().source->top, 339);
}

TEST_F(AquariumTest, RowsFurtherBackAreFainterAndAHighlightPulsesTheBody) {
    CAquarium& aquarium = WithFish(1);
    aquarium.SetInterior(ROCK | GREEN_GRASS | RED_CORAL);
    Frame(3.0f);
    ASSERT_EQ(aquarium.GetInteriorAlpha(), 255.0f);
    const auto alphaOf = [&](const CGuiImage& picture) -> std::int32_t {
        for (const media_test::RecordedDraw& draw : DrawsOf(interiors)) {
            if (draw.source && draw.source->left == picture.source.left &&
                draw.source->top == picture.source.top &&
                draw.translation.x == static_cast<float>(static_cast<std::int32_t>(picture.x))) {
                return static_cast<std::int32_t>(draw.colour >> 24);
            }
        }
        return -1;
    };
    device.draws.clear();
    g_aquariumSet.RenderByDepth(&device, SCALE, 0.0f, true);
    EXPECT_EQ(alphaOf(aquarium.GetGround()), 255);
    EXPECT_EQ(alphaOf(aquarium.GetAlgae(0, 0)), 255);
    EXPECT_EQ(alphaOf(aquarium.GetAlgae(1, 0)), 204);
    EXPECT_EQ(alphaOf(aquarium.GetCoral(1, 0)), 204);
    EXPECT_EQ(alphaOf(aquarium.GetCoral(2, 0)), 179);

    // The highlight starts at 255 and swings down toward 150.
    aquarium.SetPartsHighlighted(ITEM_AQUARIUM, false, true);
    Frame(0.1f);
    device.draws.clear();
    g_aquariumSet.RenderByDepth(&device, SCALE, 0.0f, true);
    ASSERT_FALSE(DrawsOf(bodies[0]).empty());
    EXPECT_EQ(DrawsOf(bodies[0])[0].colour >> 24, 215u);
    // A brush wish fades its dirt in over everything.
    Wish(aquarium, ITEM_BRUSH_2);
    Frame(1.0f);
    device.draws.clear();
    g_aquariumSet.RenderByDepth(&device, SCALE, 0.0f, true);
    EXPECT_EQ(aquarium.GetDirtKind(), static_cast<std::int32_t>(ITEM_BRUSH_2));
    EXPECT_EQ(device.draws.back().texture, DrawsOf(bodies[0]).back().texture);
    EXPECT_EQ(device.draws.back().source->top, 391);
    EXPECT_EQ(device.draws.back().colour >> 24, 255u);
}

TEST_F(AquariumTest, TheDepthLineOnTheBottomEdgePutsTheAquariumInFront) {
    WithFish(1);
    const float bottom = Y + 158.0f;
    struct Case {
        float line;
        bool inFront;
    };
    for (const Case c : {Case{bottom, true}, Case{bottom + 1.0f, false}}) {
        SCOPED_TRACE(c.line);
        device.draws.clear();
        g_aquariumSet.RenderByDepth(&device, SCALE, c.line, c.inFront);
        EXPECT_FALSE(DrawsOf(shadow).empty());
        device.draws.clear();
        g_aquariumSet.RenderByDepth(&device, SCALE, c.line, !c.inFront);
        EXPECT_TRUE(DrawsOf(shadow).empty());
    }
}

TEST_F(AquariumTest, TheShopShowsEachSlotWithItsNextLevelAndIcon) {
    struct Case {
        std::int32_t level;
        bool pointed;
        std::uint32_t bodyAlpha;
        std::int32_t markTop;  // -1 none
        std::int32_t iconTop;  // -1 none
    };
    const Case cases[] = {
        {0, false, 0x88, -1, 145}, {0, true, 0xFF, -1, 145},  {1, false, 0xFF, -1, 262},
        {1, true, 0xFF, 71, 262},  {3, true, 0xFF, 213, 262}, {4, false, 0xFF, 213, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level * 10 + (c.pointed ? 1 : 0));
        g_aquariumSet.Clear();
        g_hintManager.Clear();
        WithFish(c.level, FISH_NONE);
        c.pointed ? AtBody() : Away();
        g_aquariumSet.UpdateShopHints(input, SCALE, FRAME);
        device.draws.clear();
        g_aquariumSet.RenderShop(&device, SCALE);
        ASSERT_EQ(DrawsOf(bodies[0]).size(), 1u);
        EXPECT_EQ(DrawsOf(bodies[0])[0].colour >> 24, c.bodyAlpha);
        std::int32_t markTop = -1;
        for (const media_test::RecordedDraw& draw : DrawsOf(gui)) {
            markTop = draw.source->top;
        }
        EXPECT_EQ(markTop, c.markTop);
        const std::vector<media_test::RecordedDraw> iconDraws = DrawsOf(icons);
        EXPECT_EQ(iconDraws.empty() ? -1 : iconDraws.back().source->top, c.iconTop);
        // A hint opens while pointed at a slot below the highest level.
        EXPECT_EQ(g_hintManager.GetWindows().size(), c.pointed && c.level < 4 ? 1u : 0u);
    }
}

TEST_F(AquariumTest, AShopClickChoosesTheSlotAndAClickAwayDropsIt) {
    g_gameSession.GetCurrentProfile()->savings = 10000;
    g_gameSession.LoadUpgrades();
    WithFish(1, FISH_NONE);
    AtBody();
    input.currentMouse.buttons[0] = 0x80;
    g_aquariumSet.UpdateShopHints(input, SCALE, FRAME);
    input.previousMouse = input.currentMouse;
    EXPECT_TRUE(g_aquariumSet.GetAquarium(0)->IsChosen());
    EXPECT_EQ(Plays(25), 1);
    input.currentMouse.buttons[0] = 0;
    g_aquariumSet.UpdateShopHints(input, SCALE, FRAME);
    input.previousMouse = input.currentMouse;
    Away();
    input.currentMouse.buttons[0] = 0x80;
    g_aquariumSet.UpdateShopHints(input, SCALE, FRAME);
    EXPECT_FALSE(g_aquariumSet.GetAquarium(0)->IsChosen());
    EXPECT_EQ(g_aquariumSet.GetAquarium(0)->GetHintId(), -1);
}

}  // namespace
