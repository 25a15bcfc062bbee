// The interior machine: refused and accepted deliveries, the COMBO bonus per
// pending set, the work cycle with its door, tray and progress bar, the queue
// behind a finished set, the hover rules of the training, Build's level and
// location, and the shop preview.
#include "heroine/machine.h"

#include <gtest/gtest.h>

#include "device_world.h"
#include "engine/media/popup_texts.h"
#include "engine/platform/number_text.h"
#include "shopfloor/item_codes.h"

namespace {

using device_test::At;
using device_test::Away;
using device_test::DeviceWorldTest;
using device_test::ONE;
using device_test::Source;

// Location 1: the body at (453, 19), the finished set's tray from (484, 165).
constexpr Vec2 OVER_BODY = {500, 60};
constexpr Vec2 OVER_TRAY = {500, 180};

constexpr std::uint32_t SET_1 = SAND | GREEN_GRASS;
constexpr std::uint32_t SET_2 = STONE | BLUE_GRASS | CASTLE;
constexpr std::uint32_t SET_3 = ROCK | RED_GRASS | RED_CORAL;

class MachineTest : public DeviceWorldTest {
protected:
    void SetUp() override {
        DeviceWorldTest::SetUp();
        panel.SetKnownItemCounts(2, 4, 0, 0);
        panel.Build(1, 1, 2, 4, 0, 0);
        machine.Build(1, 1);
        machine.Reset();
    }

    void Run(float seconds, float step = 0.05f, InputState input = Away()) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += step) {
            panel.Update(input, ONE, step);
            machine.Update(input, ONE, step);
        }
    }

    std::int32_t Cash() { return g_gameSession.GetCurrentProfile()->levelCash; }

    CInstrumentPanel& panel = g_instrumentPanel;
    CMachine& machine = g_machine;
};

TEST_F(MachineTest, ADeliveryWithoutGroundOrAlgaeIsRefused) {
    struct Case {
        std::uint32_t kinds;
        bool accepted;
    };
    const Case cases[] = {
        {0, false},
        {STONE | CASTLE, false},
        {GREEN_GRASS | RED_CORAL, false},
        {SAND | GREEN_GRASS, true},
    };
    int refusals = 0;
    for (const Case& c : cases) {
        machine.Reset();
        machine.AcceptIngredients(c.kinds);
        refusals += c.accepted ? 0 : 1;
        EXPECT_EQ(Plays(CMachine::SAMPLE_REFUSED), refusals) << std::hex << c.kinds;
        EXPECT_EQ(machine.IsWorking(), c.accepted);
        EXPECT_EQ(machine.GetCurrentSet(), c.accepted ? c.kinds : 0u);
    }
    // The accepted set charges its ingredients for the level's charging time
    // and the selection is cleared.
    EXPECT_EQ(panel.GetChargeLeft(SAND), 6.0f);
    EXPECT_EQ(panel.GetChargeLeft(GREEN_GRASS), 6.0f);
    EXPECT_EQ(Plays(CMachine::SAMPLE_WORKING), 1);
    // A refusal leaves the selection as it was.
    panel.Update(At(650, 60), ONE, 0.0f);  // over STONE
    panel.ToggleSelection();
    machine.AcceptIngredients(panel.GetSelectedKinds());
    EXPECT_EQ(panel.GetSelectedKinds(), static_cast<std::uint32_t>(STONE));
}

TEST_F(MachineTest, EveryPendingSetAddsTwentyToTheCombo) {
    struct Case {
        std::uint32_t set;
        std::int32_t bonus;
        int combos;
        int sample8;
        int sample17;
        int sample18;
    };
    const Case cases[] = {
        {SET_1, 0, 0, 0, 0, 0},
        {SET_2, 20, 1, 1, 1, 0},
        {SET_3, 40, 2, 2, 1, 1},
        // A task queued before the third set blocked the machine still
        // delivers: four pending sets pay 60.
        {SAND | GREEN_GRASS, 60, 3, 3, 1, 2},
    };
    std::int32_t cash = Cash();
    for (const Case& c : cases) {
        const std::size_t popups = PopupTexts::Instance().GetTexts().size();
        machine.AcceptIngredients(c.set);
        EXPECT_EQ(Cash() - cash, c.bonus);
        cash = Cash();
        EXPECT_EQ(g_gameSession.GetStatistics().combos, c.combos);
        EXPECT_EQ(Plays(8), c.sample8);
        EXPECT_EQ(Plays(17), c.sample17);
        EXPECT_EQ(Plays(18), c.sample18);
        const auto& texts = PopupTexts::Instance().GetTexts();
        ASSERT_EQ(texts.size(), popups + (c.bonus > 0 ? 1 : 0));
        if (c.bonus > 0) {
            EXPECT_EQ(texts.back().text, u"COMBO +" + NumberText(c.bonus));
            EXPECT_EQ(texts.back().colour, 0xFF00FF00u);
            EXPECT_EQ(texts.back().x, 453.0f + 72.0f);
            EXPECT_EQ(texts.back().y, 19.0f + 100.0f);
        }
    }
    EXPECT_EQ(machine.GetCurrentSet(), SET_1);
    EXPECT_EQ(machine.GetQueuedCount(), 3);
}

TEST_F(MachineTest, ThreePendingSetsMakeTheMachineUnclickable) {
    machine.Update(At(OVER_BODY.x, OVER_BODY.y), ONE, 0.0f);
    EXPECT_TRUE(machine.IsBodyHovered());
    machine.AcceptIngredients(SET_1);
    machine.AcceptIngredients(SET_2);
    machine.Update(At(OVER_BODY.x, OVER_BODY.y), ONE, 0.0f);
    EXPECT_TRUE(machine.IsBodyHovered());
    machine.AcceptIngredients(SET_3);
    machine.Update(At(OVER_BODY.x, OVER_BODY.y), ONE, 0.0f);
    EXPECT_FALSE(machine.IsBodyHovered());
    // Two waiting sets show their count.
    device.draws.clear();
    machine.Render(&device, ONE);
    const auto texts = DrawnTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text.back(), u'2');
    EXPECT_FLOAT_EQ(texts[0].scale, 0.8f);
    // The door and the body share one hover state.
    panel.Build(1, 1, 2, 4, 0, 0);
    machine.Reset();
    machine.Update(At(500, 148), ONE, 0.0f);  // on the door's glow only
    EXPECT_TRUE(machine.IsBodyHovered());
    EXPECT_TRUE(machine.GetBody().hovered);
}

TEST_F(MachineTest, AFinishedSetWaitsOnTheTrayUntilTaken) {
    machine.AcceptIngredients(SET_1);
    EXPECT_EQ(machine.TakeProduct(), 0u);
    EXPECT_TRUE(machine.IsWorking());
    // The door lowers at 100 px/s while working.
    Run(0.3f, 0.1f);
    EXPECT_NEAR(machine.GetDoor().y, 73.0f + 30.0f, 1e-3f);
    // Progress reaching the work time exactly finishes the set in that frame.
    machine.Update(Away(), ONE, 3.7f);
    machine.Update(Away(), ONE, 4.0f);
    EXPECT_FALSE(machine.IsWorking());
    EXPECT_EQ(SampleState(CMachine::SAMPLE_WORKING), backend::ChannelState::Paused);
    EXPECT_EQ(Plays(CMachine::SAMPLE_FINISHED), 1);
    EXPECT_EQ(machine.GetFinishedSet().GetSprite(0, 0).offsetX, 483.0f);
    EXPECT_EQ(machine.GetFinishedSet().GetSprite(0, 0).offsetY, 65.0f);
    machine.Update(At(OVER_TRAY.x, OVER_TRAY.y), ONE, 0.05f);
    EXPECT_TRUE(machine.IsProductHovered());

    // A set delivered now queues though the machine is idle; its ingredients
    // wait disabled with their charge held.
    machine.AcceptIngredients(SET_2);
    EXPECT_EQ(machine.GetQueuedCount(), 1);
    EXPECT_FALSE(machine.IsWorking());
    Run(1.0f);
    EXPECT_EQ(panel.GetChargeLeft(STONE), 6.0f);
    // Taking the set starts the next one and lets its charge run.
    EXPECT_EQ(machine.TakeProduct(), SET_1);
    EXPECT_FALSE(machine.IsProductHovered());
    EXPECT_TRUE(machine.IsWorking());
    EXPECT_EQ(machine.GetCurrentSet(), SET_2);
    EXPECT_EQ(Plays(CMachine::SAMPLE_WORKING), 2);
    Run(1.0f);
    EXPECT_NEAR(panel.GetChargeLeft(STONE), 5.0f, 1e-3f);
    // Taken twice, the second call finds the machine at work.
    EXPECT_EQ(machine.TakeProduct(), 0u);
    // Idle again, the door goes back up.
    Run(7.0f);
    EXPECT_EQ(machine.TakeProduct(), SET_2);
    EXPECT_EQ(machine.TakeProduct(), 0u);
    Run(1.0f);
    EXPECT_EQ(machine.GetDoor().y, 73.0f);
}

TEST_F(MachineTest, OnlyDisablingClearsTheHoverState) {
    machine.AcceptIngredients(SET_1);
    Run(8.0f);
    machine.Update(At(OVER_BODY.x, OVER_BODY.y), ONE, 0.0f);
    ASSERT_TRUE(machine.IsBodyHovered());
    machine.SetDisabled(false);
    EXPECT_TRUE(machine.IsBodyHovered());
    machine.SetDisabled(true);
    EXPECT_FALSE(machine.IsBodyHovered());
    machine.Update(At(OVER_BODY.x, OVER_BODY.y), ONE, 0.0f);
    EXPECT_FALSE(machine.IsBodyHovered());

    machine.Update(At(OVER_TRAY.x, OVER_TRAY.y), ONE, 0.0f);
    ASSERT_TRUE(machine.IsProductHovered());
    machine.SetProductHidden(false);
    EXPECT_TRUE(machine.IsProductHovered());
    machine.SetProductHidden(true);
    EXPECT_FALSE(machine.IsProductHovered());
    machine.Update(At(OVER_TRAY.x, OVER_TRAY.y), ONE, 0.0f);
    EXPECT_FALSE(machine.IsProductHovered());
    // Still drawn: the tray comes first.
    device.draws.clear();
    machine.Render(&device, ONE);
    ASSERT_FALSE(device.draws.empty());
    EXPECT_EQ(Source(device.draws[0]), (std::vector<int>{299, 378, 180, 227}));
}

TEST_F(MachineTest, TheProgressBarGrowsWithTheWorkAndStaysEmptyWithoutAWorkTime) {
    machine.AcceptIngredients(SET_1);
    Run(4.0f, 0.5f);
    EXPECT_EQ(machine.GetProgressBar().source.right - machine.GetProgressBar().source.left, 25);
    for (const char* workTime : {"0", "-2"}) {
        resource_test::WriteFile(
            "Resources/Data/upgrades.xml",
            std::string("<Upgrades><Machine work_time_1=\"") + workTime + "\"/></Upgrades>");
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        machine.Build(1, 1);
        machine.Reset();
        machine.AcceptIngredients(SET_2);
        machine.Update(Away(), ONE, 0.0f);
        EXPECT_FALSE(machine.IsWorking()) << workTime;
        EXPECT_EQ(machine.GetProgressBar().source.right, machine.GetProgressBar().source.left);
    }
}

TEST_F(MachineTest, BuildHoldsTheLevelAndKeepsTheWorkButNotTheQueue) {
    machine.AcceptIngredients(SET_1);
    machine.AcceptIngredients(SET_2);
    machine.Build(1, 2);
    EXPECT_EQ(machine.GetCurrentSet(), SET_1);
    EXPECT_EQ(machine.GetQueuedCount(), 0);
    EXPECT_EQ(machine.GetWorkTime(), 6.0f);
    struct Case {
        std::int32_t location;
        std::int32_t level;
        std::int32_t builtLevel;
        float workTime;
        Vec2 station;
    };
    const Case cases[] = {
        {2, 7, 3, 4.0f, {650, 328}},
        {3, 0, 1, 8.0f, {486, 335}},
        {-1, -3, 1, 8.0f, {486, 335}},  // stays where it was
        {4, 2, 2, 6.0f, {486, 335}},
    };
    for (const Case& c : cases) {
        machine.Build(c.location, c.level);
        EXPECT_EQ(machine.GetLevel(), c.builtLevel);
        EXPECT_EQ(machine.GetWorkTime(), c.workTime);
        EXPECT_EQ(machine.GetStationPoint(), c.station);
    }
    EXPECT_EQ(machine.GetLocation(), 3);
}

TEST_F(MachineTest, HighlightsPulseTheBodyAndTheFinishedSet) {
    machine.AcceptIngredients(SET_1);
    Run(8.0f);
    const auto colours = [&]() {
        device.draws.clear();
        machine.Render(&device, ONE);
        // The tray first, then the body.
        return std::make_pair(device.draws.at(0).colour, DrawsOf("UPGRADES").at(0).colour);
    };
    EXPECT_EQ(colours(), std::make_pair(0xFFFFFFFFu, 0xFFFFFFFFu));
    machine.SetHighlight(true, false, true);
    machine.Update(Away(), ONE, 0.1f);
    EXPECT_EQ(colours(), std::make_pair(0xFFFFFFFFu, 0xD7FFFFFFu));
    // Lighting the set as well restarts the pulse; lighting both again does not.
    machine.SetHighlight(true, true, true);
    EXPECT_EQ(colours(), std::make_pair(0xFFFFFFFFu, 0xFFFFFFFFu));
    machine.Update(Away(), ONE, 0.1f);
    machine.SetHighlight(true, true, true);
    EXPECT_EQ(colours(), std::make_pair(0xD7FFFFFFu, 0xD7FFFFFFu));
    machine.SetHighlight(true, false, false);
    EXPECT_EQ(colours(), std::make_pair(0xD7FFFFFFu, 0xFFFFFFFFu));
    machine.Reset();
    EXPECT_EQ(colours().second, 0xFFFFFFFFu);
}

TEST_F(MachineTest, TheShopPreviewsTheNextLevel) {
    struct Case {
        std::int32_t level;
        bool hovered;
        std::vector<int> body;
        bool icon;
        bool hint;
    };
    const Case cases[] = {
        {1, false, {392, 511, 141, 263}, true, false},
        {1, true, {385, 513, 263, 384}, true, true},
        {2, true, {393, 513, 0, 142}, true, true},
        {3, true, {393, 513, 0, 142}, false, false},
    };
    for (const Case& c : cases) {
        g_hintManager.Clear();
        machine.Build(1, c.level);
        const InputState input = c.hovered ? At(OVER_BODY.x, OVER_BODY.y) : Away();
        machine.UpdateShop(input, ONE, 0.05f);
        device.draws.clear();
        machine.RenderShop(&device, ONE);
        const auto upgrades = DrawsOf("UPGRADES");
        ASSERT_EQ(upgrades.size(), 2u);
        EXPECT_EQ(Source(upgrades[1]), c.body) << c.level;
        EXPECT_EQ(DrawsOf("ICONS").size(), c.icon ? 1u : 0u);
        EXPECT_EQ(g_hintManager.IsFirstHintOpen(), c.hint);
        machine.UpdateShop(Away(), ONE, 0.05f);
    }
    // At level 3 a press still selects it; a press elsewhere lets it go.
    machine.UpdateShop(device_test::PressAt(OVER_BODY.x, OVER_BODY.y), ONE, 0.05f);
    EXPECT_TRUE(machine.IsShopSelected());
    machine.UpdateShop(device_test::PressAt(10, 10), ONE, 0.05f);
    EXPECT_FALSE(machine.IsShopSelected());
}

TEST_F(MachineTest, APressAwayFromTheMachineLeavesBuyNothingToBuy) {
    resource_test::WriteFile("Resources/Data/upgrades.xml",
                             "<Upgrades><Machine cost_1=\"401\" cost_2=\"402\" "
                             "cost_3=\"403\"/></Upgrades>");
    ASSERT_TRUE(g_gameSession.LoadUpgrades());
    CProfile& player = *g_gameSession.GetCurrentProfile();
    player.savings = 1000;
    machine.UpdateShop(device_test::PressAt(OVER_BODY.x, OVER_BODY.y), ONE, 0.05f);
    ASSERT_TRUE(machine.IsShopSelected());
    EXPECT_EQ(g_gameSession.GetPendingCode(), static_cast<std::uint32_t>(ITEM_MACHINE));

    machine.UpdateShop(device_test::PressAt(10, 10), ONE, 0.05f);
    EXPECT_EQ(g_gameSession.GetPendingCode(), 0u);
    // BUY clicked now buys nothing.
    g_gameSession.ApplyPurchase();
    EXPECT_EQ(player.machineLevel, 1);
    EXPECT_EQ(player.savings, 1000);
}

}  // namespace
