// The training script: its tips and their places, the rules every step keeps,
// the cases in which a step must keep waiting, SKIP, and the frames in which
// the script must not run at all.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "heroine/device_world.h"
#include "shopfloor/item_codes.h"
#include "training_tips.h"

namespace {

using device_test::At;
using device_test::Away;
using device_test::ONE;

constexpr std::uint32_t PARTS = ITEM_AQUARIUM | ITEM_COMPRESSOR_SWITCH | ITEM_LAMP_SWITCH;
constexpr std::uint32_t PLAY_IN_TRAINING = MODE_GAME | MODE_TRAINING;
constexpr std::uint32_t LEAVE = MODE_NEXT_LEVEL | MODE_FADE_OUT;
// Inside the hit areas of location 1's ingredients and of SKIP.
constexpr Vec2 OVER_ROCK = {700, 65};
constexpr Vec2 OVER_GREEN_GRASS = {600, 110};
constexpr Vec2 OVER_CHEST = {600, 145};
constexpr Vec2 OVER_STONE = {645, 65};
constexpr Vec2 OVER_BLUE_GRASS = {650, 110};
constexpr Vec2 OVER_SKIP = {800, 705};

class TrainingScriptTest : public device_test::DeviceWorldTest {
protected:
    void SetUp() override {
        DeviceWorldTest::SetUp();
        UseLanguage("English", training_test::TipTexts());
        session.SetGameMode(PLAY_IN_TRAINING);
        session.SetLevelStartDelay(0.0f);
        session.GetButton(BTN_SKIP).Create(training_test::PlainButton(765.0f, 690.0f));
        device_test::Renew(g_heroine);
        BuildAquariums(2);
        g_orderList.Clear();
        // The ground and algae of the training, and houses that only a test
        // can reach.
        BuildPanel(3);
        g_machine.Build(1, 1);
        g_machine.Reset();
        g_hintManager.Clear();
        g_hintManager.showFirstArrow = true;
        g_hintManager.showSecondArrow = true;
    }

    void TearDown() override {
        g_orderList.Clear();
        g_aquariumSet.Clear();
        g_hintManager.Clear();
        device_test::Renew(g_heroine);
        DeviceWorldTest::TearDown();
    }

    static void BuildAquariums(int count) {
        g_aquariumSet.Clear();
        for (int i = 0; i < count; ++i) {
            g_aquariumSet.AddAquarium(0, 1, 0, 0, 370.0f + 300.0f * i, 300.0f, 1.0f, 1.0f, false);
        }
    }

    static void BuildPanel(std::int32_t ingredients) {
        g_instrumentPanel.SetKnownItemCounts(5, ingredients, 0, 0);
        g_instrumentPanel.Build(1, 0, 5, ingredients, 0, 0);
    }

    // One frame: the script, then the world in the scene's order.
    void Tick(const InputState& input = Away(), float dt = 0.05f) {
        session.RunTrainingScript(input, ONE, dt);
        g_orderList.Update(input, ONE, dt, 0.0f);
        g_machine.Update(input, ONE, dt);
        g_instrumentPanel.Update(input, ONE, dt);
        g_hintManager.Update(input, ONE, dt);
        for (int i = 0; i < g_aquariumSet.GetCount(); ++i) {
            Aquarium(i).GetFish().bubble.Update(input, ONE, dt, 0.0f);
        }
        for (const CHintWindow& window : g_hintManager.GetWindows()) {
            if (window.id > m_lastTipId) {
                m_lastTipId = window.id;
                tipsShown.push_back(training_test::TipId(window.text));
            }
        }
    }

    void Run(float seconds) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += 0.05f) {
            Tick();
        }
    }

    // A left click: the press, then the release.
    void Click(Vec2 at) {
        Tick(At(at.x, at.y, false, true));
        Tick(At(at.x, at.y, true, false));
    }

    void Select(Vec2 at) {
        g_instrumentPanel.Update(At(at.x, at.y), ONE, 0.0f);
        g_instrumentPanel.ToggleSelection();
    }

    // The text id of the open tip; empty when none is open.
    static std::string OpenTip() {
        for (const CHintWindow& window : g_hintManager.GetWindows()) {
            if (window.open) {
                return training_test::TipId(window.text);
            }
        }
        return {};
    }

    static const CInstrumentItem& Item(std::uint32_t kind) {
        for (const CInstrumentItem& item : g_instrumentPanel.GetItems()) {
            if (item.kind == kind) {
                return item;
            }
        }
        throw std::logic_error("no such item");
    }

    static CAquarium& Aquarium(int index) { return *g_aquariumSet.GetAquarium(index); }

    // An order that arrives at once, and the frames until its card rests.
    void ArriveOrder() {
        g_orderList.AddOrder(FISH_1, 1, 0.0f, false);
        Run(1.0f);
        ASSERT_EQ(g_orderList.CountActive(), 1);
    }

    Vec2 CardCentre() {
        const OrderEntry* order = g_orderList.GetEntry(0);
        return {order->card.x + 45.0f, order->card.y + 40.0f};
    }

    // The order list drops a dragged card on the aquarium marked hovered.
    void DropOn(int aquarium) {
        for (int i = 0; i < g_aquariumSet.GetCount(); ++i) {
            Aquarium(i).GetBody().hovered = i == aquarium;
        }
        g_orderList.Update(At(10, 10, false, true), ONE, 0.0f, 0.0f);
    }

    // A step of the script as the step before would leave it, its tip gone.
    void JumpTo(std::int32_t step) {
        g_hintManager.Clear();
        session.StartTraining(step);
    }

    // --- What the heroine and the fish do, for the steps that wait on them ---

    void Hold(std::uint32_t item) {
        (g_heroine.firstHandItem == 0 ? g_heroine.firstHandItem : g_heroine.secondHandItem) = item;
    }

    static void EmptyHands() {
        g_heroine.firstHandItem = 0;
        g_heroine.secondHandItem = 0;
    }

    static void TakeSet() {
        const std::uint32_t set = g_machine.TakeProduct();
        ASSERT_NE(set, 0u);
        g_heroine.firstHandItem = set;
        g_heroine.secondHandItem = set;
    }

    static void DeliverIngredients() {
        g_machine.AcceptIngredients(g_instrumentPanel.GetSelectedKinds());
    }

    static void RaiseWish(int aquarium, std::uint32_t wish) {
        Aquarium(aquarium).GetFish().bubble.SetRequest(wish, 30.0f, 0.0f, 0.0f);
    }

    static void MeetWish(int aquarium) { Aquarium(aquarium).GetFish().bubble.Clear(); }

    // Frames until the script reaches `step`, at most `seconds` long.
    void RunTo(std::int32_t step, float seconds = 12.0f) {
        for (float t = 0.0f; t < seconds && session.GetTrainingStep() != step; t += 0.05f) {
            Tick();
        }
        ASSERT_EQ(session.GetTrainingStep(), step);
    }

    // Frames until the current step shows `tip`.
    void RunToTip(const std::string& tip, float seconds = 4.0f) {
        for (float t = 0.0f; t < seconds && OpenTip() != tip; t += 0.05f) {
            Tick();
        }
        ASSERT_EQ(OpenTip(), tip);
    }

    void PlaceOrderIn(int aquarium) {
        Click(CardCentre());
        DropOn(aquarium);
    }

    void SelectPair(Vec2 first, Vec2 second) {
        Select(first);
        Select(second);
    }

    CGameSession& session = g_gameSession;
    std::vector<std::string> tipsShown;

private:
    std::int32_t m_lastTipId = 0;
};

// --- Tips ---

TEST_F(TrainingScriptTest, FirstTipWaitsForAnOrderAndShowsTheCentredTipWithBothArrows) {
    session.StartTraining(0);
    Run(5.0f);
    EXPECT_EQ(OpenTip(), "");
    EXPECT_EQ(session.GetTrainingSubState(), 0);
    ArriveOrder();
    ASSERT_EQ(OpenTip(), "TIP_1");
    const CHintWindow& tip = g_hintManager.GetWindows().front();
    EXPECT_TRUE(tip.centred);
    EXPECT_EQ(tip.headerFont, 1);
    EXPECT_EQ(tip.headerText, TextStorage().FindIndex("TIP_HEADER"));
    EXPECT_EQ(tip.textFont, 0);
    EXPECT_EQ(tip.panel.x, 335.0f);
    EXPECT_EQ(tip.panel.y, 560.0f);
    EXPECT_EQ(tip.panel.bodyColumns, 11);
    EXPECT_EQ(tip.panel.bodyRows, 3);
    EXPECT_EQ(tip.firstDirection.y, 1.0f);
    EXPECT_EQ(tip.secondDirection.x, -1.0f);
    // The first order is held until the first fish is sold, and lit.
    EXPECT_TRUE(g_orderList.AreArrivalsHeld());
    EXPECT_TRUE(g_orderList.GetEntry(0)->highlighted);
    EXPECT_TRUE(g_instrumentPanel.AreAllDisabled());
}

// --- Whole trainings, the heroine's and the fish's part played by the test ---

TEST_F(TrainingScriptTest, FirstTrainingShowsItsTipsInOrderAndFinishes) {
    session.StartTraining(0);
    g_orderList.AddOrder(FISH_1, 1, 0.0f, false);
    g_orderList.AddOrder(FISH_1, 1, 1.0f, false);
    g_orderList.AddOrder(SHOAL_FISHES, 1, 1.0f, false);
    RunToTip("TIP_1");
    PlaceOrderIn(0);
    RunToTip("TIP_2");
    SelectPair(OVER_ROCK, OVER_GREEN_GRASS);
    RunToTip("TIP_3");
    DeliverIngredients();
    RunToTip("TIP_4");
    RunToTip("TIP_5", 10.0f);
    TakeSet();
    Tick();
    EXPECT_FALSE(Aquarium(0).IsDisabled(CAquarium::PART_BODY));
    EmptyHands();
    RunToTip("TIP_6");
    RaiseWish(0, ITEM_FOOD_2);
    RunToTip("TIP_7");
    Hold(ITEM_FOOD_2);
    Tick();
    EXPECT_TRUE(Item(ITEM_FOOD_2).disabled);
    EXPECT_TRUE(Aquarium(0).IsHighlighted(CAquarium::PART_BODY));
    EmptyHands();
    MeetWish(0);
    RunToTip("TIP_8");
    RaiseWish(0, ITEM_FOOD_1);
    RunToTip("TIP_9");
    Hold(ITEM_FOOD_1);
    Tick();
    EmptyHands();
    MeetWish(0);
    RunToTip("TIP_10");
    EXPECT_TRUE(Aquarium(0).IsHighlighted(CAquarium::PART_SELL));
    Aquarium(0).GetFish().leaving = true;
    RunTo(10);
    EXPECT_FALSE(g_orderList.AreArrivalsHeld());
    Aquarium(0).Reset();
    RunToTip("TIP_11");
    PlaceOrderIn(0);
    RunToTip("TIP_12");
    PlaceOrderIn(1);
    RunToTip("TIP_13");
    SelectPair(OVER_STONE, OVER_BLUE_GRASS);
    RunToTip("TIP_14");
    EXPECT_TRUE(g_machine.IsProductHidden());
    DeliverIngredients();
    RunToTip("TIP_15");
    SelectPair(OVER_ROCK, OVER_GREEN_GRASS);
    RunToTip("TIP_16");
    DeliverIngredients();
    Tick();
    EXPECT_TRUE(g_machine.IsDisabled());
    RunToTip("TIP_17", 10.0f);
    EXPECT_FALSE(g_machine.IsProductHidden());
    TakeSet();
    Tick();
    EXPECT_FALSE(Aquarium(1).IsDisabled(CAquarium::PART_BODY));
    EmptyHands();
    RunToTip("TIP_18", 10.0f);
    TakeSet();
    Tick();
    EmptyHands();
    RaiseWish(1, WISH_COMPRESSOR_ON);
    RunToTip("TIP_19");
    Tick();
    EXPECT_TRUE(Aquarium(1).IsHighlighted(CAquarium::PART_COMPRESSOR));
    EXPECT_FALSE(Aquarium(1).IsDisabled(CAquarium::PART_COMPRESSOR));
    MeetWish(1);
    RunToTip("TIP_20");
    RaiseWish(1, ITEM_FOOD_1);
    RaiseWish(0, ITEM_FOOD_2);
    RunToTip("TIP_21");
    Hold(ITEM_FOOD_1);
    Hold(ITEM_FOOD_2);
    RunToTip("TIP_22");
    MeetWish(0);
    Tick();
    EXPECT_FALSE(g_hintManager.showFirstArrow);
    EXPECT_TRUE(g_hintManager.showSecondArrow);
    MeetWish(1);
    EmptyHands();
    RunToTip("TIP_23");
    RaiseWish(0, ITEM_FOOD_1);
    RaiseWish(1, ITEM_FOOD_2);
    RunToTip("TIP_24");
    Hold(ITEM_FOOD_2);
    Hold(ITEM_FOOD_1);
    RunToTip("TIP_25");
    MeetWish(0);
    MeetWish(1);
    EmptyHands();
    RunToTip("TIP_26");
    EXPECT_FALSE(Aquarium(0).IsDisabled(CAquarium::PART_SELL));
    Aquarium(1).GetFish().leaving = true;
    Run(0.5f);
    EXPECT_EQ(session.GetTrainingStep(), 25);
    Aquarium(0).Reset();
    RunTo(100);

    std::vector<std::string> expected;
    for (int i = 1; i <= 26; ++i) {
        expected.push_back("TIP_" + std::to_string(i));
    }
    EXPECT_EQ(tipsShown, expected);
    Run(2.0f);
    EXPECT_EQ(tipsShown.size(), expected.size());
    EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING);
}

TEST_F(TrainingScriptTest, SecondTrainingUsesTheGrowthVitaminAndFinishes) {
    BuildAquariums(1);
    session.StartTraining(26);
    g_orderList.AddOrder(FISH_1, 1, 0.0f, false);
    RunToTip("TIP_1");
    PlaceOrderIn(0);
    RunTo(27);
    EXPECT_EQ(session.GetTrainingTimer(), 3.0f);
    RunToTip("TIP_27");
    SelectPair(OVER_ROCK, OVER_GREEN_GRASS);
    RunToTip("TIP_28");
    DeliverIngredients();
    RunToTip("TIP_29");
    RunToTip("TIP_30", 10.0f);
    TakeSet();
    Tick();
    EmptyHands();
    RunToTip("TIP_31");
    RaiseWish(0, ITEM_FOOD_2);
    RunToTip("TIP_32");
    EXPECT_FALSE(Item(ITEM_VITAMIN_GROWTH).disabled);
    EXPECT_TRUE(Item(ITEM_VITAMIN_GROWTH).highlight);
    Hold(ITEM_VITAMIN_GROWTH);
    g_instrumentPanel.StartCharging(ITEM_VITAMIN_GROWTH, 20.0f);
    Tick();
    // Its charge runs while it is in hand.
    EXPECT_FALSE(Item(ITEM_VITAMIN_GROWTH).disabled);
    EXPECT_FALSE(Item(ITEM_VITAMIN_GROWTH).highlight);
    Hold(ITEM_FOOD_2);
    RunToTip("TIP_33");
    EmptyHands();
    MeetWish(0);
    RunToTip("TIP_34");
    Aquarium(0).GetFish().leaving = true;
    RunTo(100);
    EXPECT_EQ(tipsShown, (std::vector<std::string>{"TIP_1", "TIP_27", "TIP_28", "TIP_29", "TIP_30",
                                                   "TIP_31", "TIP_32", "TIP_33", "TIP_34"}));
}

// --- Placing the order ---

TEST_F(TrainingScriptTest, OrderDroppedAnywhereButAquariumZeroKeepsStepZero) {
    session.StartTraining(0);
    ArriveOrder();
    Run(0.5f);
    ASSERT_EQ(OpenTip(), "TIP_1");

    // Picked up: the aquarium is lit and takes clicks, the card and its
    // arrow go dark.
    Click(CardCentre());
    ASSERT_TRUE(g_orderList.IsDragging());
    Tick();
    EXPECT_FALSE(g_orderList.GetEntry(0)->highlighted);
    EXPECT_FALSE(g_hintManager.showSecondArrow);
    EXPECT_FALSE(Aquarium(0).IsDisabled(CAquarium::PART_BODY));
    EXPECT_TRUE(Aquarium(0).IsHighlighted(CAquarium::PART_BODY));
    EXPECT_TRUE(Aquarium(1).IsDisabled(CAquarium::PART_BODY));

    // Dropped on the floor: back to the lit card.
    DropOn(-1);
    Tick();
    EXPECT_TRUE(g_orderList.GetEntry(0)->highlighted);
    EXPECT_TRUE(g_hintManager.showSecondArrow);
    EXPECT_FALSE(Aquarium(0).IsHighlighted(CAquarium::PART_BODY));
    EXPECT_EQ(session.GetTrainingStep(), 0);

    // Even a fish in aquarium 1 does not end the step.
    Click(CardCentre());
    DropOn(1);
    ASSERT_FALSE(Aquarium(1).IsEmpty());
    Run(1.0f);
    EXPECT_EQ(session.GetTrainingStep(), 0);
    EXPECT_EQ(OpenTip(), "TIP_1");

    g_orderList.AddOrder(FISH_1, 1, 0.0f, false);
    Run(1.0f);
    Click(CardCentre());
    DropOn(0);
    Tick();
    EXPECT_EQ(session.GetTrainingStep(), 1);
    EXPECT_EQ(session.GetTrainingTimer(), 3.0f);
    EXPECT_EQ(OpenTip(), "");
    EXPECT_FALSE(Aquarium(0).IsHighlighted(CAquarium::PART_BODY));
}

// --- Ingredients ---

TEST_F(TrainingScriptTest, ThirdIngredientKeepsTheIngredientStepWaiting) {
    session.StartTraining(1);
    Run(0.5f);
    ASSERT_EQ(OpenTip(), "TIP_2");
    EXPECT_TRUE(Item(ROCK).highlight);
    EXPECT_FALSE(Item(ROCK).disabled);

    Select(OVER_ROCK);
    Tick();
    EXPECT_FALSE(Item(ROCK).highlight);
    EXPECT_FALSE(g_hintManager.showFirstArrow);
    EXPECT_TRUE(Item(GREEN_GRASS).highlight);
    EXPECT_TRUE(g_hintManager.showSecondArrow);

    // A house that real input could not have reached in training.
    g_instrumentPanel.SetDisabledByKind(CHEST, false);
    Select(OVER_CHEST);
    Select(OVER_GREEN_GRASS);
    ASSERT_EQ(g_instrumentPanel.GetSelectedKinds(), ROCK | GREEN_GRASS | CHEST);
    Run(1.0f);
    EXPECT_EQ(session.GetTrainingStep(), 1);
    EXPECT_FALSE(g_hintManager.showSecondArrow);

    // Unselecting the house gives exactly the two asked for.
    Select(OVER_CHEST);
    Tick();
    EXPECT_EQ(session.GetTrainingStep(), 2);
    EXPECT_TRUE(Item(SAND).disabled);
    EXPECT_FALSE(Item(ROCK).highlight);
    EXPECT_FALSE(Item(GREEN_GRASS).highlight);
}

// --- SKIP ---

TEST_F(TrainingScriptTest, SkipLeavesTheTrainingOnlyWhileItIsVisible) {
    session.StartTraining(0);
    ArriveOrder();
    Run(0.5f);
    ASSERT_EQ(OpenTip(), "TIP_1");
    Click(OVER_SKIP);
    EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING);

    // Step 1 before its tip: still invisible.
    JumpTo(1);
    Click(OVER_SKIP);
    EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING);

    // Step 10 fades it out; step 11 keeps it out.
    JumpTo(10);
    session.SetTipAlpha(255.0f);
    Run(0.55f);
    EXPECT_EQ(session.GetTipAlpha(), 0.0f);
    Click(OVER_SKIP);
    EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING);
    JumpTo(11);
    Click(OVER_SKIP);
    EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING);

    // With step 1's tip it fades in and works.
    JumpTo(1);
    Run(0.5f);
    ASSERT_EQ(OpenTip(), "TIP_2");
    Run(0.2f);
    EXPECT_GT(session.GetTipAlpha(), 0.0f);
    EXPECT_LT(session.GetTipAlpha(), 255.0f);
    Click(OVER_SKIP);
    EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING | LEAVE);
    EXPECT_EQ(OpenTip(), "");
}

// --- The rules of every step ---

TEST_F(TrainingScriptTest, FirstTrainingWithoutTwoAquariumsGoesOnAtOnce) {
    for (int count : {0, 1}) {
        SCOPED_TRACE(count);
        BuildAquariums(count);
        session.SetGameMode(PLAY_IN_TRAINING);
        session.StartTraining(0);
        Tick();
        EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING | LEAVE);
    }
    // The second training plays with one.
    BuildAquariums(1);
    session.SetGameMode(PLAY_IN_TRAINING);
    session.StartTraining(26);
    Tick();
    EXPECT_EQ(session.GetGameMode(), PLAY_IN_TRAINING);
}

TEST_F(TrainingScriptTest, FinishedTrainingKeepsMachineIngredientsAndAquariumsDisabled) {
    session.StartTraining(100);
    g_machine.SetDisabled(false);
    g_instrumentPanel.SetAllDisabled(false);
    Aquarium(0).SetPartsDisabled(PARTS, false);
    Aquarium(1).SetPartsDisabled(PARTS, false);
    // A charging ingredient stays enabled, or its charge would stand still.
    g_instrumentPanel.StartCharging(STONE, 5.0f);
    Run(2.0f);
    EXPECT_TRUE(g_machine.IsDisabled());
    for (std::uint32_t kind : {ROCK, GREEN_GRASS, BLUE_GRASS, ITEM_VITAMIN_GROWTH}) {
        EXPECT_TRUE(Item(kind).disabled) << kind;
    }
    EXPECT_FALSE(Item(STONE).disabled);
    EXPECT_LT(Item(STONE).chargeLeft, 5.0f);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(Aquarium(i).IsDisabled(CAquarium::PART_BODY));
        EXPECT_TRUE(Aquarium(i).IsDisabled(CAquarium::PART_COMPRESSOR));
        EXPECT_TRUE(Aquarium(i).IsDisabled(CAquarium::PART_LAMP));
    }
    EXPECT_TRUE(g_hintManager.GetWindows().empty());
    EXPECT_EQ(session.GetTrainingStep(), 100);
}

TEST_F(TrainingScriptTest, ScriptRunsOnlyInUncoveredTrainingPlayAfterTheStartDelay) {
    struct Case {
        const char* name;
        std::uint32_t mode;
        float startDelay;
        bool runs;
    };
    const Case cases[] = {
        {"training play", PLAY_IN_TRAINING, 0.0f, true},
        {"retried training level", MODE_GAME, 0.0f, false},
        {"start delay running", PLAY_IN_TRAINING, 0.3f, false},
        {"paused", PLAY_IN_TRAINING | MODE_PAUSED, 0.0f, false},
        {"briefing", PLAY_IN_TRAINING | MODE_PAUSED | MODE_BRIEFING, 0.0f, false},
    };
    // An order still to come keeps the level from ending.
    g_orderList.AddOrder(FISH_1, 1, 100.0f, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_hintManager.Clear();
        session.SetGameMode(c.mode);
        session.SetLevelStartDelay(c.startDelay);
        session.StartTraining(1);
        session.Update(nullptr, nullptr, Away(), ONE, {}, 1.0f);
        EXPECT_EQ(OpenTip(), c.runs ? "TIP_2" : "");
        EXPECT_EQ(session.GetTrainingSubState(), c.runs ? 1 : 0);
    }
}

// --- Missing aquariums ---

TEST_F(TrainingScriptTest, StepWhoseAquariumIsMissingWaits) {
    // The second training's steps that work on aquarium 0.
    for (std::int32_t step : {26, 30, 31, 33, 34}) {
        SCOPED_TRACE(step);
        BuildAquariums(0);
        g_orderList.Clear();
        g_hintManager.Clear();
        session.StartTraining(step);
        ArriveOrder();
        Run(4.0f);
        EXPECT_EQ(session.GetTrainingStep(), step);
        EXPECT_EQ(session.GetTrainingSubState(), 0);
        EXPECT_TRUE(g_hintManager.GetWindows().empty());
    }
    // An aquarium lost after the tip: the step keeps waiting.
    BuildAquariums(1);
    session.StartTraining(30);
    Tick();
    ASSERT_EQ(OpenTip(), "TIP_30");
    BuildAquariums(0);
    Run(1.0f);
    EXPECT_EQ(session.GetTrainingStep(), 30);
    EXPECT_EQ(OpenTip(), "TIP_30");
}

}  // namespace
