// The live fish: its wishes one at a time, growth and value from wishes met,
// the price of wishes missed, death, stages, training and the fast bonus, with
// cash and popups checked through the session.
#include "shopfloor/fish.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "game/data_file_test_support.h"
#include "shop_world.h"

namespace {

constexpr float X = 200.0f;
constexpr float Y = 100.0f;
constexpr float FRAME = 1.0f / 60.0f;

class FishTest : public shop_test::ShopWorldTest {
protected:
    // A fish of the kind with the care parameters of the worked example.
    CFish MakeFish(std::int32_t kind = FISH_1) {
        CFish fish = base.CreateFish(kind, X, Y, false);
        fish.type.finalCost = 100.0f;
        fish.type.extraPercentPer15 = 10.0f;
        fish.type.vitaminPercent = 5.0f;
        fish.type.penaltyPercent = 10.0f;
        fish.type.growthPercent = 20.0f;
        fish.type.feedTypes = {1, 2};
        fish.type.feedWaitingTime = 30.0f;
        fish.type.interiorConst = ROCK | GREEN_GRASS;
        fish.type.interiorConstWaitingTime = 60.0f;
        fish.type.timeBetweenRequests = 3.0f;
        fish.lamp = -1;
        fish.compressor = -1;
        return fish;
    }

    void Step(CFish& fish, float dt = FRAME, bool lampOn = false, bool compressorOn = false,
              float effect = 0.0f) {
        fish.Update(input, {1.0f, 1.0f}, dt, lampOn, compressorOn, effect);
        LetSoundsRun(dt);
    }

    // Raises the fish's next wish at once; the code it raised, or 0.
    std::uint32_t NextWish(CFish& fish, bool lampOn = false, bool compressorOn = false) {
        fish.bubble.Reset();
        fish.type.wishCountdown = 0.0f;
        Step(fish, 0.001f, lampOn, compressorOn);
        LetSoundsRun(0.1f);
        return fish.bubble.GetStoredRequest();
    }

    // Raises a wish and lets its waiting time run to the given patience.
    void Wish(CFish& fish, std::uint32_t code, float patience) {
        fish.bubble.SetRequest(code, 10.0f, X, Y);
        for (int i = 0; i < 600 && fish.bubble.GetRequest() == 0; ++i) {
            fish.bubble.Update(input, {1.0f, 1.0f}, FRAME, 0.0f);
        }
        // Wound back to the start, then on to the asked patience.
        fish.bubble.Update(input, {1.0f, 1.0f}, 100.0f, 1.0f);
        const float elapsed = (100.0f - patience) * 0.1f;
        if (elapsed > 0.0f) {
            fish.bubble.Update(input, {1.0f, 1.0f}, elapsed, 0.0f);
        }
        LetSoundsRun(0.1f);
    }

    CFishBase base;
};

TEST_F(FishTest, MetWishesPayByPatienceAndVitamins) {
    struct Case {
        const char* name;
        std::uint32_t code;
        float patience;
        bool training;
        float startGrowth;
        float growth;
        float value;
        int sample;  // -1 none besides the stage sample
        std::int32_t cash;
        std::vector<std::u16string> popups;
    };
    const Case cases[] = {
        {"food at 70 %", ITEM_FOOD_1, 70.0f, false, 0, 20, 40, 14, 0, {}},
        {"cost vitamin",
         ITEM_FOOD_1 | ITEM_VITAMIN_COST,
         70.0f,
         false,
         0,
         20,
         45,
         14,
         0,
         {u"COST +45"}},
        {"growth vitamin",
         ITEM_FOOD_2 | ITEM_VITAMIN_GROWTH,
         70.0f,
         false,
         0,
         40,
         40,
         14,
         0,
         {u"GROWTH +20"}},
        {"below a fifth", ITEM_FOOD_1, 19.0f, false, 0, 20, 10, 14, 0, {}},
        {"fast at 99.9 %", ITEM_FOOD_1, 99.9f, false, 0, 20, 50, 15, 5, {u"FAST +5"}},
        {"exactly full in training", ITEM_FOOD_1, 100.0f, true, 0, 20, 60, 15, 0, {}},
        {"brush", ITEM_BRUSH_2, 50.0f, false, 0, 20, 30, 44, 0, {}},
        {"medicine", ITEM_MEDICINE_1, 50.0f, false, 0, 20, 30, 14, 0, {}},
        {"switch", WISH_LAMP_ON, 50.0f, false, 0, 20, 30, 6, 0, {}},
        // Crossing a stage mark leaves the sound to the stage change.
        {"switch across 40", WISH_COMPRESSOR_OFF, 50.0f, false, 30, 50, 30, -1, 0, {}},
        {"interior", STONE | GREEN_GRASS, 50.0f, false, 0, 0, 0, 14, 0, {}},
        {"reaching 100", ITEM_FOOD_3, 50.0f, false, 90, 100, 130, 14, 0, {}},
        {"met again at 100", ITEM_FOOD_3, 50.0f, false, 100, 100, 130, 14, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_gameSession.SetGameMode(c.training ? MODE_GAME | MODE_TRAINING : MODE_GAME);
        CFish fish = MakeFish();
        fish.growth = c.startGrowth;
        Wish(fish, c.code, c.patience);
        const std::int32_t cash = Cash();
        const std::size_t popups = PopupTexts::Instance().GetTexts().size();
        std::vector<int> plays;
        for (int sample : {6, 14, 15, 44}) {
            plays.push_back(Plays(sample));
        }
        fish.ApplyItem(c.code);
        EXPECT_FLOAT_EQ(fish.growth, c.growth);
        EXPECT_FLOAT_EQ(fish.value, c.value);
        EXPECT_EQ(Cash() - cash, c.cash);
        EXPECT_EQ(fish.bubble.GetRequest(), 0u);
        int i = 0;
        for (int sample : {6, 14, 15, 44}) {
            EXPECT_EQ(Plays(sample) - plays[static_cast<std::size_t>(i++)],
                      sample == c.sample ? 1 : 0)
                << sample;
        }
        const auto& texts = PopupTexts::Instance().GetTexts();
        ASSERT_EQ(texts.size() - popups, c.popups.size());
        for (std::size_t p = 0; p < c.popups.size(); ++p) {
            const PopupText& popup = texts[popups + p];
            EXPECT_EQ(popup.text, c.popups[p]);
            EXPECT_FLOAT_EQ(popup.x, X + 130.0f);
            const bool fast = c.cash > 0;
            EXPECT_FLOAT_EQ(popup.y, Y + (fast ? 90.0f : 110.0f));
            EXPECT_EQ(popup.colour, fast ? 0xFFFFFFFFu : 0xFF00FF00u);
        }
    }
}

TEST_F(FishTest, AbsurdPricesSaturateTheGainInsteadOfOverflowing) {
    CFish fish = MakeFish();
    fish.type.finalCost = 3.0e38f;
    fish.type.vitaminPercent = 100.0f;
    Wish(fish, ITEM_FOOD_1, 50.0f);
    fish.ApplyItem(ITEM_FOOD_1 | ITEM_VITAMIN_COST);
    EXPECT_FLOAT_EQ(fish.value, static_cast<float>(std::numeric_limits<std::int32_t>::max()));
    const std::vector<PopupText> popups = NewPopups();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].text, u"COST +2147483647");
}

TEST_F(FishTest, MissedWishesCostGrowthAndValueAndAMissedMedicineKills) {
    CFish fish = MakeFish();
    fish.growth = 10.0f;
    fish.shownGrowth = 10.0f;
    fish.type.wishCountdown = 1000.0f;
    fish.bubble.SetRequest(ITEM_FOOD_1, 2.0f, X, Y);
    for (int i = 0; i < 600 && fish.growth == 10.0f; ++i) {
        Step(fish);
    }
    // Growth below growthPercent goes negative, and the fish dies.
    EXPECT_FLOAT_EQ(fish.growth, -10.0f);
    EXPECT_FLOAT_EQ(fish.value, -10.0f);
    const int deaths = Plays(4);
    for (int i = 0; i < 60 && fish.state != FISH_DEAD; ++i) {
        Step(fish);
    }
    EXPECT_EQ(fish.state, FISH_DEAD);
    EXPECT_EQ(Plays(4), deaths + 1);

    // A fish at 90 % dies 1.8 s after its medicine runs out, a stage down at
    // each mark it passes.
    CFish ill = MakeFish();
    ill.growth = 90.0f;
    ill.shownGrowth = 90.0f;
    ill.stage = 2;
    ill.type.wishesMade = 5;
    ill.type.wishCountdown = 1000.0f;
    ill.bubble.SetRequest(ITEM_MEDICINE_2, 2.0f, X, Y);
    for (int i = 0; i < 600 && ill.growth != 0.0f; ++i) {
        Step(ill);
    }
    EXPECT_FLOAT_EQ(ill.value, 0.0f);
    const int downs = Plays(7);
    const int diedBefore = Plays(4);
    float seconds = 0.0f;
    while (ill.state != FISH_DEAD && seconds < 5.0f) {
        Step(ill);
        seconds += FRAME;
    }
    EXPECT_NEAR(seconds, 1.8f, 2.0f * FRAME);
    EXPECT_EQ(ill.stage, 0);
    EXPECT_EQ(Plays(7), downs + 2);
    EXPECT_EQ(Plays(4), diedBefore + 1);
    EXPECT_EQ(ill.bubble.GetLimit(), 0.0f);
}

TEST_F(FishTest, WishesFollowTheFirstRuleThatApplies) {
    CLevelRecord& level = g_gameSession.GetLevel();
    level.machine_ingridients = 1;
    level.food_types = 2;
    level.brush_types = 1;
    level.medic_types = 1;
    CFish fish = MakeFish();
    fish.type.interiorConst = SAND | RED_GRASS | CHEST;
    fish.lamp = 1;
    fish.compressor = 0;
    fish.type.feedTypes = {3};
    fish.type.brushes = {2};
    fish.type.dirtLimit = 3;
    fish.type.dirtProbabilityPercent = 100.0f;
    fish.type.medicines = {1};
    fish.type.illnessLimit = 1;
    fish.type.illnessProbabilityPercent = 100.0f;

    // The interior without what this level's machine cannot build, for good.
    EXPECT_EQ(NextWish(fish), static_cast<std::uint32_t>(SAND));
    EXPECT_EQ(fish.type.interiorConst, static_cast<std::uint32_t>(SAND));
    // Both switches wrong: the compressor first, then the lamp.
    EXPECT_EQ(NextWish(fish, false, true), static_cast<std::uint32_t>(WISH_COMPRESSOR_OFF));
    EXPECT_EQ(NextWish(fish, false, false), static_cast<std::uint32_t>(WISH_LAMP_ON));
    // Brush 2 is not in this level: no cleaning; the illness comes once.
    EXPECT_EQ(NextWish(fish, true, false), static_cast<std::uint32_t>(ITEM_MEDICINE_1));
    EXPECT_EQ(fish.type.dirtWishes, 0);
    EXPECT_EQ(fish.type.illnessWishes, 1);
    // Food 3 is not offered either, so the first food stands for it.
    EXPECT_EQ(NextWish(fish, true, false), static_cast<std::uint32_t>(ITEM_FOOD_1));
    EXPECT_EQ(fish.type.wishesMade, 5);

    level.brush_types = 2;
    level.food_types = 3;
    EXPECT_EQ(NextWish(fish, true, false), static_cast<std::uint32_t>(ITEM_BRUSH_2));
    EXPECT_EQ(fish.type.dirtWishes, 1);
    fish.type.dirtProbabilityPercent = 0.0f;
    EXPECT_EQ(NextWish(fish, true, false), static_cast<std::uint32_t>(ITEM_FOOD_3));

    // Without foods the countdown still counts wishes but raises none.
    fish.type.feedTypes.clear();
    EXPECT_EQ(NextWish(fish, true, false), 0u);
    EXPECT_EQ(fish.type.wishesMade, 8);
}

TEST_F(FishTest, SwitchWishesFollowTheWantedState) {
    struct Case {
        std::int32_t lamp;
        bool lampOn;
        std::uint32_t wish;
    };
    const Case cases[] = {
        {1, false, WISH_LAMP_ON},
        {1, true, ITEM_FOOD_1},
        {0, true, WISH_LAMP_OFF},
        {-1, true, ITEM_FOOD_1},
        {-1, false, ITEM_FOOD_1},
        // A state the switch never has: the fish always wants the other one.
        {2, true, WISH_LAMP_OFF},
        {2, false, WISH_LAMP_ON},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lamp);
        CFish fish = MakeFish();
        fish.type.feedTypes = {1};
        fish.type.wishesMade = 1;
        fish.lamp = c.lamp;
        EXPECT_EQ(NextWish(fish, c.lampOn, false), c.wish);
    }
}

TEST_F(FishTest, TrainingFollowsTheScriptAndNeverRunsOut) {
    g_gameSession.SetGameMode(MODE_GAME | MODE_TRAINING);
    struct Case {
        std::int32_t kind;
        std::vector<std::uint32_t> wishes;
    };
    const Case cases[] = {
        {FISH_1, {ROCK | GREEN_GRASS, ITEM_FOOD_2, ITEM_FOOD_1, 0}},
        {SHOAL_FISHES, {ROCK | GREEN_GRASS, WISH_COMPRESSOR_ON, ITEM_FOOD_1, ITEM_FOOD_2, 0}},
        {CRAB, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        CFish fish = MakeFish(c.kind);
        // The level would take the interior apart; training does not ask it.
        g_gameSession.GetLevel().machine_ingridients = 1;
        fish.compressor = 1;
        for (std::uint32_t wish : c.wishes) {
            EXPECT_EQ(NextWish(fish, false, true), wish);
        }
    }
    CFish fish = MakeFish();
    NextWish(fish);
    for (int i = 0; i < 600; ++i) {
        Step(fish, 1.0f);
    }
    EXPECT_EQ(fish.bubble.GetRequest(), static_cast<std::uint32_t>(ROCK | GREEN_GRASS));
    EXPECT_FLOAT_EQ(fish.bubble.GetElapsed(), 0.0f);
}

TEST_F(FishTest, CalmBeforeTheFirstWishInDirtyWaterAndWithMusic) {
    struct Case {
        const char* name;
        std::int32_t wishesMade;
        std::uint32_t pending;
        float effect;
        bool lively;
    };
    const Case cases[] = {
        {"no wish yet", 0, 0, 0.0f, false},
        {"first wish pending", 1, ROCK | GREEN_GRASS, 0.0f, false},
        {"first wish over", 1, 0, 0.0f, true},
        {"food pending", 2, ITEM_FOOD_1, 0.0f, true},
        {"brush pending", 3, ITEM_BRUSH_1, 0.0f, false},
        {"music", 3, ITEM_FOOD_1, 0.5f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFish fish = MakeFish();
        fish.type.wishesMade = c.wishesMade;
        fish.type.wishCountdown = 100.0f;
        if (c.pending != 0) {
            Wish(fish, c.pending, 50.0f);
        }
        Step(fish, FRAME, false, false, c.effect);
        EXPECT_EQ(fish.lively, c.lively);
    }
}

TEST_F(FishTest, ShownGrowthSetsTheStageAndTheBodyKeepsItsRole) {
    CFish fish = MakeFish();
    fish.type.wishCountdown = 1000.0f;
    fish.body.Play(3, true, false, -1.0f);
    const int ups = Plays(6);
    fish.growth = 100.0f;
    float seconds = 0.0f;
    while (fish.state != FISH_GROWN && seconds < 5.0f) {
        Step(fish);
        seconds += FRAME;
        if (fish.stage == 1) {
            EXPECT_EQ(fish.body.GetCurrentClip(), 7 + 3);
        }
    }
    EXPECT_NEAR(seconds, 2.0f, 2.0f * FRAME);
    EXPECT_EQ(fish.stage, 2);
    EXPECT_EQ(fish.body.GetCurrentClip(), 14 + 3);
    EXPECT_EQ(Plays(6), ups + 2);
    // A grown fish wishes for nothing more.
    for (int i = 0; i < 300; ++i) {
        Step(fish);
    }
    EXPECT_EQ(fish.bubble.GetStoredRequest(), 0u);

    // A kind without body clips changes its stage without switching any.
    CFish odd = MakeFish(FISH_KIND_COUNT);
    EXPECT_EQ(odd.clipsPerStage, 0);
    odd.growth = 50.0f;
    for (int i = 0; i < 120; ++i) {
        Step(odd);
    }
    EXPECT_EQ(odd.stage, 1);
    device.draws.clear();
    odd.Draw(&device, {1.0f, 1.0f});
    EXPECT_TRUE(device.draws.empty());
}

TEST_F(FishTest, TheStageChangesExactlyAtFortyAndEighty) {
    struct Case {
        float from;  // growth the shown growth has reached first
        float to;
        std::int32_t stage;
    };
    const Case cases[] = {
        {0.0f, 39.0f, 0},  {0.0f, 40.0f, 1},  {0.0f, 79.0f, 1},  {0.0f, 80.0f, 2},
        {90.0f, 80.0f, 2}, {90.0f, 79.0f, 1}, {90.0f, 40.0f, 1}, {90.0f, 39.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to);
        CFish fish = MakeFish();
        fish.type.wishCountdown = 1000.0f;
        for (const float growth : {c.from, c.to}) {
            fish.growth = growth;
            for (int i = 0; i < 180 && fish.shownGrowth != growth; ++i) {
                Step(fish);
            }
            ASSERT_EQ(fish.shownGrowth, growth);
        }
        EXPECT_EQ(fish.stage, c.stage);
    }
}

TEST_F(FishTest, TheFirstWishAsksOnlyForWhatTheMachineCanBuild) {
    struct Case {
        std::int32_t ingredients;
        std::uint32_t wish;
    };
    const Case cases[] = {
        {1, SAND},
        {2, SAND | GREEN_GRASS},
        {3, SAND | GREEN_GRASS | CASTLE},
        {4, SAND | GREEN_GRASS | CASTLE | RED_CORAL},
    };
    for (const Case& c : cases) {
        g_gameSession.GetLevel().machine_ingridients = c.ingredients;
        CFish fish = MakeFish();
        fish.type.interiorConst = SAND | GREEN_GRASS | CASTLE | RED_CORAL;
        EXPECT_EQ(NextWish(fish), c.wish) << c.ingredients << " ingredient groups";
    }
}

TEST_F(FishTest, FadesInWhenNewAndOutWhenLeaving) {
    CFish fish = MakeFish();
    Step(fish, 0.25f);
    EXPECT_FLOAT_EQ(fish.alpha, 125.0f);
    Step(fish, 1.0f);
    EXPECT_FLOAT_EQ(fish.alpha, 255.0f);
    fish.leaving = true;
    Step(fish, 0.1f);
    EXPECT_FLOAT_EQ(fish.alpha, 205.0f);
    Step(fish, 1.0f);
    EXPECT_FLOAT_EQ(fish.alpha, 0.0f);
    // An empty aquarium's fish only runs its bubble.
    CFish empty;
    Step(empty, 1.0f);
    EXPECT_FLOAT_EQ(empty.alpha, 0.0f);
}

TEST_F(FishTest, ShippedFishOneGrowsOnTwoFoodsToSixtySix) {
    ASSERT_EQ(base.Load((data_test::ShippedDataFolder() / "fishes.xml").string()), 17);
    CLevelRecord& level = g_gameSession.GetLevel();
    level.food_types = 2;
    level.machine_ingridients = 2;
    CFish fish = base.CreateFish(FISH_1, X, Y, false);
    float seconds = 0.0f;
    while (fish.bubble.GetStoredRequest() == 0 && seconds < 2.0f) {
        Step(fish);
        seconds += FRAME;
    }
    EXPECT_NEAR(seconds, 1.0f, 2.0f * FRAME);
    EXPECT_EQ(fish.bubble.GetStoredRequest(), 0xau);
    std::vector<std::uint32_t> met;
    for (int i = 0; i < 20000 && fish.state == FISH_GROWING; ++i) {
        Step(fish);
        const std::uint32_t wish = fish.bubble.GetRequest();
        if (wish != 0 && fish.bubble.GetPatience() <= 70.0f) {
            met.push_back(wish);
            fish.ApplyItem(wish);
        }
    }
    ASSERT_EQ(met.size(), 3u);
    EXPECT_EQ(met[0], 0xau);
    EXPECT_NE(met[1] & MASK_FOOD, 0u);
    EXPECT_NE(met[2] & MASK_FOOD, 0u);
    EXPECT_EQ(fish.state, FISH_GROWN);
    EXPECT_FLOAT_EQ(fish.growth, 100.0f);
    EXPECT_FLOAT_EQ(fish.value, 66.0f);
    EXPECT_EQ(Cash(), 0);
}

}  // namespace
