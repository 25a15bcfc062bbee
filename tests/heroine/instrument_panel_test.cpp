// The instrument panel: the items a level builds and where, the blink of new
// items, charges with their order numbers, selection, the training's disabled
// and highlighted states, the charge indicators and the computer in the shop.
#include "heroine/instrument_panel.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device_world.h"
#include "shopfloor/item_codes.h"

namespace {

using device_test::At;
using device_test::Away;
using device_test::DeviceWorldTest;
using device_test::ONE;
using device_test::PressAt;
using device_test::Source;

// Inside the hit areas of location 1.
constexpr Vec2 OVER_SAND = {600, 60};
constexpr Vec2 OVER_GREEN_GRASS = {600, 110};
constexpr Vec2 OVER_BLUE_GRASS = {650, 110};
constexpr Vec2 OVER_COMPUTER = {350, 170};

class InstrumentPanelTest : public DeviceWorldTest {
protected:
    CInstrumentPanel& panel = g_instrumentPanel;

    std::vector<std::uint32_t> Kinds() const {
        std::vector<std::uint32_t> kinds;
        for (const CInstrumentItem& item : panel.GetItems()) {
            kinds.push_back(item.kind);
        }
        return kinds;
    }

    const CInstrumentItem& Item(std::uint32_t kind) const {
        const auto& items = panel.GetItems();
        return *std::find_if(items.begin(), items.end(),
                             [kind](const CInstrumentItem& item) { return item.kind == kind; });
    }

    std::vector<std::int32_t> Numbers(std::initializer_list<std::uint32_t> kinds) const {
        std::vector<std::int32_t> numbers;
        for (std::uint32_t kind : kinds) {
            numbers.push_back(Item(kind).orderNumber);
        }
        return numbers;
    }

    void Run(float seconds, float step = 0.05f, InputState input = Away()) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += step) {
            panel.Update(input, ONE, step);
        }
    }

    // A level whose items were all known before: nothing blinks.
    void BuildKnown(std::int32_t location, std::int32_t computerLevel, std::int32_t foodTypes,
                    std::int32_t ingredients, std::int32_t brushes, std::int32_t medicines) {
        panel.SetKnownItemCounts(foodTypes, ingredients, brushes, medicines);
        panel.Build(location, computerLevel, foodTypes, ingredients, brushes, medicines);
    }

    void Hover(Vec2 at) { panel.Update(At(at.x, at.y), ONE, 0.0f); }
};

TEST_F(InstrumentPanelTest, BuildMakesTheItemsTheCountsOffer) {
    const std::vector<std::uint32_t> tools = {
        ITEM_DISCARD_SPOT, ITEM_COMPUTER,   ITEM_BRUSH_1,      ITEM_BRUSH_2,
        ITEM_MEDICINE_2,   ITEM_MEDICINE_1, ITEM_VITAMIN_COST, ITEM_VITAMIN_GROWTH,
        ITEM_FOOD_4,       ITEM_FOOD_3,     ITEM_FOOD_2,       ITEM_FOOD_1};
    std::vector<std::uint32_t> everything = {SAND,       STONE,     ROCK,         GREEN_GRASS,
                                             BLUE_GRASS, RED_GRASS, CHEST,        CASTLE,
                                             SEA_SHELL,  RED_CORAL, YELLOW_CORAL, BLUE_CORAL};
    everything.insert(everything.end(), tools.begin(), tools.end());
    struct Case {
        const char* what;
        std::int32_t location, food, ingredients, brushes, medicines;
        std::vector<std::uint32_t> kinds;
    };
    const Case cases[] = {
        {"the least", 1, 2, 0, 0, 0, {ITEM_DISCARD_SPOT, ITEM_COMPUTER, ITEM_FOOD_2, ITEM_FOOD_1}},
        {"the ground only",
         2,
         1,
         1,
         1,
         1,
         {SAND, STONE, ROCK, ITEM_DISCARD_SPOT, ITEM_COMPUTER, ITEM_BRUSH_1, ITEM_MEDICINE_1,
          ITEM_FOOD_1}},
        {"everything", 3, 6, 4, 2, 2, everything},
        {"counts above the most", 1, 9, 5, 3, 3, everything},
        {"a location outside 1 to 3", 4, 6, 4, 2, 2, {}},
        {"location 0", 0, 6, 4, 2, 2, {}},
    };
    for (const Case& c : cases) {
        panel.Build(c.location, 1, c.food, c.ingredients, c.brushes, c.medicines);
        EXPECT_EQ(Kinds(), c.kinds) << c.what;
    }
    // The computer has its upgrade level, every other item 1; only the
    // ingredients carry their category.
    panel.Build(2, 0, 6, 4, 2, 2);
    EXPECT_EQ(Item(ITEM_COMPUTER).level, 0);
    EXPECT_EQ(Item(ITEM_FOOD_1).level, 1);
    EXPECT_EQ(Item(CHEST).category, 3);
    EXPECT_EQ(Item(ITEM_BRUSH_1).category, 0);
    // Location 2 moves the ingredients by (75, -7) and mirrors the medicines.
    const CInstrumentItem& sand = Item(SAND);
    EXPECT_EQ(sand.tagPoint, (Vec2{662, 43}));
    EXPECT_EQ(sand.picture.x, 651.0f);
    EXPECT_EQ(sand.picture.hoverY, 43.0f);
    EXPECT_TRUE(sand.ingredient);
    EXPECT_EQ(sand.stationPoint, (Vec2{0, 0}));
    EXPECT_EQ(Item(ITEM_MEDICINE_1).picture.scaleX, -1.0f);
    EXPECT_EQ(Item(ITEM_FOOD_3).stationPoint, (Vec2{250, 410}));
    EXPECT_EQ(panel.GetItemPosition(ITEM_COMPUTER), (Vec2{815, 118}));
    EXPECT_EQ(panel.GetItemPosition(ITEM_PET), (Vec2{0, 0}));
    // A level without the growth vitamin has no charge of it.
    panel.Build(1, 0, 4, 0, 0, 0);
    panel.StartCharging(ITEM_VITAMIN_GROWTH, 20.0f);
    EXPECT_EQ(panel.GetChargeLeft(ITEM_VITAMIN_GROWTH), 0.0f);
}

TEST_F(InstrumentPanelTest, ItemsAboveTheKnownCountsBlinkAfterTheStartDelay) {
    panel.SetKnownItemCounts(2, 1, 0, 0);
    panel.Build(1, 1, 4, 2, 1, 0);
    std::vector<std::uint32_t> blinking;
    for (const CInstrumentItem& item : panel.GetItems()) {
        if (item.blink) {
            blinking.push_back(item.kind);
        }
    }
    EXPECT_EQ(blinking, (std::vector<std::uint32_t>{GREEN_GRASS, BLUE_GRASS, RED_GRASS,
                                                    ITEM_BRUSH_1, ITEM_FOOD_4, ITEM_FOOD_3}));
    // Hidden and not hoverable while the start delay runs.
    g_gameSession.SetLevelStartDelay(1.2f);
    Run(1.0f, 0.05f, At(OVER_GREEN_GRASS.x, OVER_GREEN_GRASS.y));
    EXPECT_EQ(panel.GetBlinkTimer(), 0.0f);
    EXPECT_EQ(panel.GetHoveredItem(), nullptr);
    panel.Render(&device, ONE);
    const std::size_t steady = device.draws.size();
    EXPECT_EQ(steady, panel.GetItems().size() - 6 - 1);  // the discard spot has no picture
    // Shown from timer 1, after one second.
    g_gameSession.SetLevelStartDelay(0.0f);
    Run(0.95f);
    device.draws.clear();
    panel.Render(&device, ONE);
    EXPECT_EQ(device.draws.size(), steady);
    Run(0.1f, 0.05f, At(OVER_GREEN_GRASS.x, OVER_GREEN_GRASS.y));
    device.draws.clear();
    panel.Render(&device, ONE);
    EXPECT_EQ(device.draws.size(), steady + 6 + 1);  // and the hovered one's glow
    ASSERT_NE(panel.GetHoveredItem(), nullptr);
    EXPECT_EQ(panel.GetHoveredItem()->kind, GREEN_GRASS);
    // The whole run takes about 5.4 s; then the blink is over for good.
    Run(4.2f);
    EXPECT_GE(panel.GetBlinkTimer(), 0.0f);
    Run(0.4f);
    EXPECT_EQ(panel.GetBlinkTimer(), -1.0f);
    EXPECT_TRUE(std::none_of(panel.GetItems().begin(), panel.GetItems().end(),
                             [](const CInstrumentItem& item) { return item.blink; }));
    // In the first level the counts are the level's own: nothing blinks.
    panel.SetKnownItemCounts(4, 2, 1, 0);
    panel.Build(1, 1, 4, 2, 1, 0);
    EXPECT_TRUE(std::none_of(panel.GetItems().begin(), panel.GetItems().end(),
                             [](const CInstrumentItem& item) { return item.blink; }));
}

TEST_F(InstrumentPanelTest, SetsEndingTogetherMoveTheWaitingNumbersDown) {
    BuildKnown(1, 1, 6, 4, 0, 0);
    panel.StartCharging(SAND | GREEN_GRASS, 6.0f);
    panel.StartCharging(STONE | BLUE_GRASS, 10.0f);
    panel.StartCharging(ROCK | RED_GRASS, 14.0f);
    EXPECT_EQ(Numbers({SAND, GREEN_GRASS, STONE, BLUE_GRASS, ROCK, RED_GRASS}),
              (std::vector<std::int32_t>{1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(panel.NextOrderNumber(), 4);
    // A vitamin takes the next number; the ingredients' next stays.
    panel.StartCharging(ITEM_VITAMIN_GROWTH, 20.0f);
    EXPECT_EQ(Item(ITEM_VITAMIN_GROWTH).orderNumber, 4);
    EXPECT_EQ(panel.NextOrderNumber(), 4);
    Run(6.0f);
    EXPECT_EQ(Numbers({SAND, GREEN_GRASS, STONE, BLUE_GRASS, ROCK, RED_GRASS, ITEM_VITAMIN_GROWTH}),
              (std::vector<std::int32_t>{0, 0, 1, 1, 2, 2, 3}));
    EXPECT_EQ(panel.NextOrderNumber(), 3);
    EXPECT_EQ(panel.GetChargeLeft(SAND), 0.0f);
    EXPECT_GE(Plays(42), 1);
    Run(8.0f);
    EXPECT_EQ(Numbers({STONE, ROCK, ITEM_VITAMIN_GROWTH}), (std::vector<std::int32_t>{0, 0, 1}));
    // The vitamin's own end renumbers nothing.
    panel.StartCharging(SAND | GREEN_GRASS, 30.0f);
    EXPECT_EQ(Item(SAND).orderNumber, 1);
    Run(6.5f);
    EXPECT_EQ(Item(ITEM_VITAMIN_GROWTH).orderNumber, 0);
    EXPECT_EQ(Item(SAND).orderNumber, 1);
    // A mask that matches nothing changes nothing.
    panel.StartCharging(ITEM_PET, 5.0f);
    EXPECT_EQ(panel.NextOrderNumber(), 2);
    EXPECT_EQ(panel.GetChargeLeft(ITEM_VITAMIN_COST), 0.0f);
}

TEST_F(InstrumentPanelTest, OneIngredientPerCategoryIsSelected) {
    BuildKnown(1, 1, 2, 4, 0, 0);
    Hover(OVER_GREEN_GRASS);
    panel.ToggleSelection();
    EXPECT_EQ(panel.GetSelectedKinds(), static_cast<std::uint32_t>(GREEN_GRASS));
    EXPECT_EQ(Plays(33), 1);
    Hover(OVER_SAND);
    panel.ToggleSelection();
    Hover(OVER_BLUE_GRASS);
    panel.ToggleSelection();
    EXPECT_EQ(panel.GetSelectedKinds(), static_cast<std::uint32_t>(SAND | BLUE_GRASS));
    panel.ToggleSelection();
    EXPECT_EQ(panel.GetSelectedKinds(), static_cast<std::uint32_t>(SAND));
    // A charging, disabled or hidden ingredient is never hovered.
    panel.StartCharging(BLUE_GRASS, 5.0f);
    Hover(OVER_BLUE_GRASS);
    EXPECT_EQ(panel.GetHoveredItem(), nullptr);
    panel.ToggleSelection();
    EXPECT_EQ(Plays(33), 4);
    panel.SetDisabledByKind(GREEN_GRASS, true);
    Hover(OVER_GREEN_GRASS);
    EXPECT_EQ(panel.GetHoveredItem(), nullptr);
    panel.SetLevelByKind(SAND, 0);
    Hover(OVER_SAND);
    EXPECT_EQ(panel.GetHoveredItem(), nullptr);
    panel.ClearSelection();
    EXPECT_EQ(panel.GetSelectedKinds(), 0u);
    // A tool hovers but is not selected.
    Hover(OVER_COMPUTER);
    ASSERT_NE(panel.GetHoveredItem(), nullptr);
    EXPECT_EQ(panel.GetHoveredItem()->kind, static_cast<std::uint32_t>(ITEM_COMPUTER));
    panel.ToggleSelection();
    EXPECT_EQ(panel.GetSelectedKinds(), 0u);
}

TEST_F(InstrumentPanelTest, DisablingHoldsTheChargeAndHighlightsPulse) {
    BuildKnown(1, 1, 2, 1, 0, 0);
    Hover(OVER_SAND);
    panel.SetDisabledByKind(SAND, true);
    EXPECT_FALSE(Item(SAND).picture.hovered);
    panel.StartCharging(SAND, 5.0f);
    Run(1.0f);
    EXPECT_EQ(panel.GetChargeLeft(SAND), 5.0f);
    EXPECT_EQ(Item(SAND).chargeAlpha, 255.0f);
    // Enabling keeps the hover state as it was, and the charge runs on.
    panel.SetAllDisabled(false);
    EXPECT_FALSE(panel.AreAllDisabled());
    Run(1.0f);
    EXPECT_NEAR(panel.GetChargeLeft(SAND), 4.0f, 1e-4f);

    panel.SetHighlight(SAND | STONE, true);
    EXPECT_EQ(panel.GetPulse().value, 255.0f);
    Run(0.1f);
    EXPECT_NEAR(panel.GetPulse().value, 215.0f, 1e-3f);
    // Already lit: no restart. A newly lit item restarts the pulse.
    panel.SetHighlight(SAND, true);
    EXPECT_NEAR(panel.GetPulse().value, 215.0f, 1e-3f);
    panel.SetHighlight(ROCK, true);
    EXPECT_EQ(panel.GetPulse().value, 255.0f);
    Run(0.1f);
    panel.SetDisabledByKind(SAND, true);
    device.draws.clear();
    panel.Render(&device, ONE);
    const auto items = DrawsOf("ITEMS");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].colour, 0xD7FFFFFFu);  // SAND: charging and disabled, and lit
}

TEST_F(InstrumentPanelTest, ChargeIndicatorsShowOnlyForACharge) {
    BuildKnown(1, 1, 6, 1, 0, 0);
    // Nothing was ever charged: each item draws its picture and nothing else.
    panel.Update(Away(), ONE, 0.05f);
    panel.Render(&device, ONE);
    EXPECT_EQ(device.draws.size(), panel.GetItems().size() - 1);
    EXPECT_TRUE(DrawsOf("GUI").empty());
    EXPECT_TRUE(DrawsOf("TIME_BAR").empty());

    panel.StartCharging(SAND, 6.0f);
    panel.StartCharging(ITEM_VITAMIN_COST, 30.0f);
    Run(2.0f);
    device.draws.clear();
    panel.Render(&device, ONE);
    // The ingredient: faded picture, its clock, the red charging sign and
    // its number beside the tag point.
    const auto items = DrawsOf("ITEMS");
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].colour, 0xBBFFFFFFu);
    const auto clock = DrawsOf("GUI");
    ASSERT_EQ(clock.size(), 1u);
    EXPECT_EQ(clock[0].colour, 0xFFFFFFFFu);
    EXPECT_EQ(clock[0].translation.x, 592.0f);
    const auto markers = DrawsOf("INSTRUMENTS");
    std::vector<std::vector<int>> sources;
    for (const auto& draw : markers) {
        sources.push_back(Source(draw));
    }
    EXPECT_NE(std::find(sources.begin(), sources.end(), std::vector<int>{379, 422, 264, 306}),
              sources.end());
    EXPECT_NE(std::find(sources.begin(), sources.end(), std::vector<int>{332, 384, 432, 484}),
              sources.end());
    EXPECT_EQ(DrawsOf("TIME_BAR").size(), 1u);
    const auto texts = DrawnTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"1");
    EXPECT_EQ(texts[0].x, 599.0f);
    EXPECT_EQ(texts[0].y, 50.0f);
    // The clock steps on with the charge: a third of 12 + 2 cells is 4.67,
    // and it steps while its cell is below that less 2.
    EXPECT_EQ(Item(SAND).chargeClip.GetFrameIndex(0), 3);
    // Ended, the indicators fade out and stay away.
    Run(5.0f);
    device.draws.clear();
    panel.Render(&device, ONE);
    EXPECT_TRUE(DrawsOf("GUI").empty() || DrawsOf("GUI")[0].colour >> 24 == 0);
    EXPECT_TRUE(DrawnTexts().empty());
}

TEST_F(InstrumentPanelTest, TheComputerIsOfferedInTheShopUntilBought) {
    BuildKnown(1, 0, 2, 0, 0, 0);
    panel.RenderShop(&device, ONE);
    auto icons = DrawsOf("ICONS");
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ(icons[0].colour, 0x88FFFFFFu);
    EXPECT_EQ(Source(icons[1]), (std::vector<int>{319, 420, 145, 204}));
    EXPECT_EQ(icons[1].translation.x, 387.0f);
    EXPECT_EQ(icons[1].scale.x, 0.8f);
    // Hovering opens the purchase hint once; moving away closes it.
    panel.UpdateShop(At(OVER_COMPUTER.x, OVER_COMPUTER.y), ONE, 0.05f);
    panel.UpdateShop(At(OVER_COMPUTER.x, OVER_COMPUTER.y), ONE, 0.05f);
    ASSERT_EQ(g_hintManager.GetWindows().size(), 1u);
    EXPECT_TRUE(g_hintManager.IsFirstHintOpen());
    panel.UpdateShop(Away(), ONE, 0.05f);
    EXPECT_FALSE(g_hintManager.IsFirstHintOpen());
    // A click selects it and the hint stays while the cursor leaves.
    g_hintManager.Clear();
    panel.UpdateShop(At(OVER_COMPUTER.x, OVER_COMPUTER.y), ONE, 0.05f);
    panel.UpdateShop(PressAt(OVER_COMPUTER.x, OVER_COMPUTER.y), ONE, 0.05f);
    EXPECT_TRUE(panel.IsComputerSelected());
    EXPECT_EQ(Plays(25), 1);
    EXPECT_TRUE(g_hintManager.showFirstArrow);
    panel.UpdateShop(Away(), ONE, 0.05f);
    EXPECT_TRUE(g_hintManager.IsFirstHintOpen());
    // A click elsewhere deselects it and closes the hint.
    panel.UpdateShop(PressAt(10, 10), ONE, 0.05f);
    EXPECT_FALSE(panel.IsComputerSelected());
    EXPECT_FALSE(g_hintManager.IsFirstHintOpen());
    // Bought: full colour, no icon, no hint.
    g_hintManager.Clear();
    panel.SetLevelByKind(ITEM_COMPUTER, 1);
    panel.UpdateShop(At(OVER_COMPUTER.x, OVER_COMPUTER.y), ONE, 0.05f);
    EXPECT_TRUE(g_hintManager.GetWindows().empty());
    device.draws.clear();
    panel.RenderShop(&device, ONE);
    icons = DrawsOf("ICONS");
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].colour, 0xFFFFFFFFu);
}

}  // namespace
