// The fish base: fishes.xml read into prototypes with the defaults of a Fish
// element's end, the first-of-kind lookups and the fish created from them.
#include "shopfloor/fish_base.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/data_file_test_support.h"
#include "shopfloor/fish.h"

namespace {

class FishBaseTest : public data_test::DataFileTest {
protected:
    std::int32_t LoadFishes(const std::string& body) {
        WriteData("fishes.xml", "<?xml version=\"1.0\"?>\n<Fishes>" + body + "</Fishes>");
        return base.Load();
    }

    const FishType& TypeOf(std::int32_t kind) const { return base.Find(kind)->type; }

    CFishBase base;
};

TEST_F(FishBaseTest, ABareFishGetsRockGreenGrassAndTheInteriorWait) {
    ASSERT_EQ(LoadFishes("<Fish type=\"CRAB\"/>"), 1);
    const FishPrototype* crab = base.Find(CRAB);
    ASSERT_NE(crab, nullptr);
    EXPECT_EQ(crab->type.interiorConst, static_cast<std::uint32_t>(ROCK | GREEN_GRASS));
    EXPECT_EQ(crab->type.interiorConst, 0xau);
    EXPECT_FLOAT_EQ(crab->type.interiorConstWaitingTime, 90.0f);
    EXPECT_EQ(crab->lamp, 0);
    EXPECT_EQ(crab->compressor, 0);
    EXPECT_EQ(crab->nameText, -1);
    EXPECT_TRUE(crab->type.feedTypes.empty());
    EXPECT_FLOAT_EQ(crab->type.waitingTime, 0.0f);
    EXPECT_FLOAT_EQ(crab->type.timeBetweenRequests, 0.0f);
    EXPECT_FLOAT_EQ(crab->type.feedWaitingTime, 0.0f);
    EXPECT_FLOAT_EQ(crab->type.wishCountdown, 1.0f);
    EXPECT_EQ(crab->type.behaviourCounter, 2);
    EXPECT_EQ(data_test::LogTextsIn("Blue"), std::vector<std::string>{"Initializing fish base"});
    EXPECT_EQ(data_test::LogTextsIn("Green"),
              std::vector<std::string>{"Initialization is completed (1)"});
}

TEST_F(FishBaseTest, InteriorNamesCountOnlyInTheirOwnCategory) {
    struct Case {
        const char* interior;
        std::uint32_t bits;
        float wait;
    };
    const Case cases[] = {
        {"ground=\"SAND\" algae=\"RED_GRASS\" house=\"CASTLE\"", 0x64, 90.0f},
        {"ground=\"SAND\" algae=\"RED_GRASS\" house=\"CASTLE\" waiting_time=\"0\"", 0x64, 90.0f},
        {"ground=\"STONE\" waiting_time=\"45\"", STONE | GREEN_GRASS, 45.0f},
        // A ground named as algae adds nothing, so the algae default comes.
        {"algae=\"SAND\"", ROCK | GREEN_GRASS, 90.0f},
        {"house=\"RED_CORAL\" coral=\"YELLOW_CORAL\"", ROCK | GREEN_GRASS | YELLOW_CORAL, 90.0f},
        {"ground=\"sand\"", ROCK | GREEN_GRASS, 90.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interior);
        ASSERT_EQ(LoadFishes(std::string("<Fish type=\"FISH_2\"><InteriorConst ") + c.interior +
                             "/></Fish>"),
                  1);
        EXPECT_EQ(TypeOf(FISH_2).interiorConst, c.bits);
        EXPECT_FLOAT_EQ(TypeOf(FISH_2).interiorConstWaitingTime, c.wait);
    }
    // A second element adds to the first.
    LoadFishes(
        "<Fish type=\"FISH_2\"><InteriorConst ground=\"SAND\"/>"
        "<InteriorConst coral=\"BLUE_CORAL\"/></Fish>");
    EXPECT_EQ(TypeOf(FISH_2).interiorConst,
              static_cast<std::uint32_t>(SAND | GREEN_GRASS | BLUE_CORAL));
}

TEST_F(FishBaseTest, EveryAttributeReachesItsField) {
    LoadFishes(
        "<Fish name=\"NO_SUCH_TEXT\" type=\"SHOAL_FISHES\" lamp=\"-1\" compressor=\"1\""
        " time_between_requests=\"3.5\" waiting_time=\"80\">"
        "<Sell final_cost=\"60\" penalty_percent=\"10\" extra_percent_per_1_5=\"4\""
        " vitamin_percent=\"25\"/>"
        "<Interior ground=\"1\" algae=\"2\" house=\"3\" coral=\"4\" waiting_time=\"5\"/>"
        "<Feed types=\"1,3\" growth_percent=\"34\" waiting_time=\"30\"/>"
        "<Feed types=\"4\"/>"
        "<DirtRetention brushes=\"2\" probability_percent=\"20\" limit=\"1\""
        " waiting_time=\"35\"/>"
        "<Morbidity medicines=\"1,2\" probability_percent=\"15\" limit=\"2\""
        " waiting_time=\"40\"/>"
        "<Bonus type=\"1\" cost=\"2\" limit=\"3\" growth_stage=\"4\" time_generation=\"5\"/>"
        "</Fish>");
    const FishPrototype* shoal = base.Find(SHOAL_FISHES);
    ASSERT_NE(shoal, nullptr);
    const FishType& t = shoal->type;
    EXPECT_EQ(shoal->nameText, -1);
    EXPECT_EQ(shoal->lamp, -1);
    EXPECT_EQ(shoal->compressor, 1);
    EXPECT_FLOAT_EQ(t.timeBetweenRequests, 3.5f);
    EXPECT_FLOAT_EQ(t.waitingTime, 80.0f);
    EXPECT_FLOAT_EQ(t.finalCost, 60.0f);
    EXPECT_FLOAT_EQ(t.penaltyPercent, 10.0f);
    EXPECT_FLOAT_EQ(t.extraPercentPer15, 4.0f);
    EXPECT_FLOAT_EQ(t.vitaminPercent, 25.0f);
    EXPECT_EQ(t.interiorGround + t.interiorAlgae + t.interiorHouse + t.interiorCoral, 10);
    EXPECT_FLOAT_EQ(t.interiorWaitingTime, 5.0f);
    // Lists append: two Feed elements give one longer list.
    EXPECT_EQ(t.feedTypes, (std::vector<std::int32_t>{1, 3, 4}));
    EXPECT_FLOAT_EQ(t.growthPercent, 34.0f);
    EXPECT_FLOAT_EQ(t.feedWaitingTime, 30.0f);
    EXPECT_EQ(t.brushes, std::vector<std::int32_t>{2});
    EXPECT_FLOAT_EQ(t.dirtProbabilityPercent, 20.0f);
    EXPECT_EQ(t.dirtLimit, 1);
    EXPECT_FLOAT_EQ(t.dirtWaitingTime, 35.0f);
    EXPECT_EQ(t.medicines, (std::vector<std::int32_t>{1, 2}));
    EXPECT_FLOAT_EQ(t.illnessProbabilityPercent, 15.0f);
    EXPECT_EQ(t.illnessLimit, 2);
    EXPECT_FLOAT_EQ(t.illnessWaitingTime, 40.0f);
    EXPECT_EQ(t.bonusType + t.bonusCost + t.bonusLimit + t.bonusGrowthStage, 10);
    EXPECT_FLOAT_EQ(t.bonusTimeGeneration, 5.0f);
}

TEST_F(FishBaseTest, EmptyOrMalformedTextsKeepDefaultOrGiveZero) {
    LoadFishes(
        "<Fish type=\"FISH_1\" lamp=\"\" compressor=\"x\" waiting_time=\"abc\">"
        "<Feed types=\"\" growth_percent=\"\"/></Fish>");
    const FishPrototype* fish = base.Find(FISH_1);
    ASSERT_NE(fish, nullptr);
    EXPECT_EQ(fish->lamp, 0);
    EXPECT_EQ(fish->compressor, 0);
    EXPECT_FLOAT_EQ(fish->type.waitingTime, 0.0f);
    EXPECT_TRUE(fish->type.feedTypes.empty());
}

TEST_F(FishBaseTest, TheFirstFishOfAKindIsTheOneFound) {
    ASSERT_EQ(LoadFishes("<Sell final_cost=\"999\"/>"
                         "<Fish type=\"OCTOPUS\" waiting_time=\"70\"><Sell final_cost=\"10\"/>"
                         "<InteriorConst ground=\"SAND\"/></Fish>"
                         "<Fish type=\"OCTOPUS\" waiting_time=\"20\"><Sell final_cost=\"20\"/>"
                         "</Fish>"
                         "<Fish type=\"WHALE\" waiting_time=\"5\"/>"),
              3);
    EXPECT_EQ(base.GetCount(), 3);
    EXPECT_FLOAT_EQ(base.GetWaitingTime(OCTOPUS), 70.0f);
    EXPECT_EQ(base.GetInteriorConst(OCTOPUS), static_cast<std::uint32_t>(SAND | GREEN_GRASS));
    // The Sell before any Fish filled a prototype that the first Fish dropped.
    EXPECT_FLOAT_EQ(TypeOf(OCTOPUS).finalCost, 10.0f);
    EXPECT_EQ(base.GetPrototypes()[2].kind, FISH_NONE);
    EXPECT_FLOAT_EQ(base.GetWaitingTime(CRAB), 0.0f);
    EXPECT_EQ(base.GetInteriorConst(CRAB), 0u);
    EXPECT_FLOAT_EQ(base.GetWaitingTime(FISH_NONE), 0.0f);

    const CFish octopus = base.CreateFish(OCTOPUS, 100.0f, 200.0f, true);
    EXPECT_EQ(octopus.kind, OCTOPUS);
    EXPECT_FLOAT_EQ(octopus.type.finalCost, 10.0f);
    EXPECT_TRUE(octopus.computerOrder);
    EXPECT_FLOAT_EQ(octopus.bubbleX, 100.0f);
    EXPECT_FLOAT_EQ(octopus.bubbleY, 200.0f);
    EXPECT_EQ(octopus.stage, 0);
    EXPECT_EQ(octopus.state, FISH_GROWING);
    EXPECT_FLOAT_EQ(octopus.alpha, 0.0f);
    EXPECT_FLOAT_EQ(octopus.growth, 0.0f);
    EXPECT_FLOAT_EQ(octopus.value, 0.0f);
    EXPECT_EQ(octopus.bubble.GetRequest(), 0u);

    // A kind without prototype: its kind and nothing else.
    const CFish crab = base.CreateFish(CRAB, 0.0f, 0.0f, false);
    EXPECT_EQ(crab.kind, CRAB);
    EXPECT_EQ(crab.type.interiorConst, 0u);
    EXPECT_FLOAT_EQ(crab.type.finalCost, 0.0f);
}

TEST_F(FishBaseTest, ALaterLoadStartsEmptyAndASyntaxErrorKeepsWhatWasRead) {
    LoadFishes("<Fish type=\"FISH_1\"/><Fish type=\"FISH_2\"/>");
    ASSERT_EQ(LoadFishes("<Fish type=\"CRAB\"/><Fish type=\"SHELL\"></Fish><Fish <<"), 2);
    EXPECT_EQ(base.Find(FISH_1), nullptr);
    EXPECT_NE(base.Find(SHELL), nullptr);
    EXPECT_EQ(data_test::LogTextsIn("Green").back(), "Initialization is completed (2)");
}

TEST_F(FishBaseTest, MissingFileLeavesAnEmptyBaseAndReportsThePath) {
    LoadFishes("<Fish type=\"FISH_1\"/>");
    EXPECT_EQ(base.Load("Resources/Data/none.xml"), 0);
    EXPECT_EQ(base.GetCount(), 0);
    EXPECT_TRUE(base.GetPrototypes().empty());
    EXPECT_EQ(data_test::LogTextsIn("Red"),
              std::vector<std::string>{"Couldn't open fish base (Resources/Data/none.xml)"});
}

TEST_F(FishBaseTest, ShippedFishesHoldEveryKindOnce) {
    CFishBase shipped;
    ASSERT_EQ(shipped.Load((data_test::ShippedDataFolder() / "fishes.xml").string()), 17);
    EXPECT_EQ(data_test::LogTextsIn("Blue"), std::vector<std::string>{"Initializing fish base"});
    EXPECT_EQ(data_test::LogTextsIn("Green"),
              std::vector<std::string>{"Initialization is completed (17)"});
    for (std::int32_t kind = 0; kind < FISH_KIND_COUNT; ++kind) {
        SCOPED_TRACE(kind);
        const FishPrototype* fish = shipped.Find(kind);
        ASSERT_NE(fish, nullptr);
        // Every wait is well above the bubble's opening.
        EXPECT_GT(fish->type.interiorConstWaitingTime, 1.5f);
        EXPECT_GT(fish->type.feedWaitingTime, 1.5f);
        EXPECT_FALSE(fish->type.feedTypes.empty());
    }
}

}  // namespace
