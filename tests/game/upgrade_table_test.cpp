// The upgrade table: upgrades.xml into the 22 rows, and the row accessor that
// never reads beside them.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "data_file_test_support.h"
#include "game/upgrade_table.h"

namespace {

struct Row {
    std::int32_t cost;
    float speed;
    float effect;
    float workTime;
    float chargingTime;
    std::int32_t max;
};

void ExpectRow(const UpgradeTable& table, std::int32_t index, const Row& expected) {
    SCOPED_TRACE("row " + std::to_string(index));
    const UpgradeRecord& row = table.Row(index);
    EXPECT_EQ(row.cost, expected.cost);
    EXPECT_FLOAT_EQ(row.speed, expected.speed);
    EXPECT_FLOAT_EQ(row.effect, expected.effect);
    EXPECT_FLOAT_EQ(row.work_time, expected.workTime);
    EXPECT_FLOAT_EQ(row.charging_time, expected.chargingTime);
    EXPECT_EQ(row.max, expected.max);
}

void ExpectAllZero(const UpgradeTable& table) {
    for (std::int32_t index = 0; index < UPGRADE_ROW_COUNT; ++index) {
        ExpectRow(table, index, {});
    }
}

// Every element with every attribute it reads, plus the suffixes beyond each
// element's last level and attributes that belong to other elements, which must
// all stay out of the table.
const char* const FULL_UPGRADES =
    "<Upgrades>"
    "<Footwear cost_1=\"1\" cost_2=\"2\" cost_3=\"3\" speed_1=\"1.5\" speed_2=\"2.5\""
    " speed_3=\"3.5\" cost_4=\"99\" speed_4=\"99\" effect_1=\"99\"/>"
    "<Shop><PetAquarium cost_1=\"11\" cost_2=\"12\" cost_3=\"13\" cost_4=\"14\" cost_5=\"15\""
    " cost_6=\"16\" effect_1=\"0.1\" effect_2=\"0.2\" effect_3=\"0.3\" effect_4=\"0.4\""
    " effect_5=\"0.5\" effect_6=\"0.6\" cost_7=\"99\" effect_7=\"99\"/></Shop>"
    "<Aquarium cost_1=\"21\" cost_2=\"22\" cost_3=\"23\" cost_4=\"24\" effect_1=\"1\""
    " effect_2=\"2\" effect_3=\"3\" effect_4=\"4\" cost_5=\"99\" effect_5=\"99\"/>"
    "<Machine cost_1=\"31\" cost_2=\"32\" cost_3=\"33\" work_time_1=\"8\" work_time_2=\"6\""
    " work_time_3=\"4\" charging_time_1=\"6\" charging_time_2=\"4,5\" charging_time_3=\"3\""
    " cost_4=\"99\" work_time_4=\"99\"/>"
    "<AudioSystem cost_1=\"41\" cost_2=\"42\" cost_3=\"43\" effect_1=\"1\" effect_2=\"1.5\""
    " effect_3=\"2\" work_time_1=\"10\" work_time_2=\"12\" work_time_3=\"15\""
    " charging_time_1=\"45\" charging_time_2=\"38\" charging_time_3=\"30\" cost_4=\"99\"/>"
    "<Computer cost=\"800\" cost_1=\"99\" max=\"99\"/>"
    "<VitaminCost cost=\"60\" max=\"5\"/>"
    "<VitaminGrowth cost=\"70\" max=\"4\"/>"
    "<footwear cost_1=\"99\"/>"
    "</Upgrades>";

class UpgradeTableTest : public data_test::DataFileTest {
protected:
    bool LoadUpgrades(const std::string& text) {
        WriteData("upgrades.xml", text);
        return table.Load();
    }

    UpgradeTable table;
};

TEST_F(UpgradeTableTest, EveryElementFillsTheRowsOfItsLevelsOnly) {
    ASSERT_TRUE(LoadUpgrades(FULL_UPGRADES));
    const Row expected[UPGRADE_ROW_COUNT] = {
        {1, 1.5f, 0, 0, 0, 0},  {2, 2.5f, 0, 0, 0, 0},  {3, 3.5f, 0, 0, 0, 0},
        {11, 0, 0.1f, 0, 0, 0}, {12, 0, 0.2f, 0, 0, 0}, {13, 0, 0.3f, 0, 0, 0},
        {14, 0, 0.4f, 0, 0, 0}, {15, 0, 0.5f, 0, 0, 0}, {16, 0, 0.6f, 0, 0, 0},
        {21, 0, 1, 0, 0, 0},    {22, 0, 2, 0, 0, 0},    {23, 0, 3, 0, 0, 0},
        {24, 0, 4, 0, 0, 0},    {31, 0, 0, 8, 6, 0},    {32, 0, 0, 6, 4.5f, 0},
        {33, 0, 0, 4, 3, 0},    {41, 0, 1, 10, 45, 0},  {42, 0, 1.5f, 12, 38, 0},
        {43, 0, 2, 15, 30, 0},  {800, 0, 0, 0, 0, 0},   {60, 0, 0, 0, 0, 5},
        {70, 0, 0, 0, 0, 4},
    };
    for (std::int32_t index = 0; index < UPGRADE_ROW_COUNT; ++index) {
        ExpectRow(table, index, expected[index]);
    }
    EXPECT_EQ(data_test::LogTextsIn("Blue"),
              std::vector<std::string>{"Initializing upgrades data"});
    EXPECT_EQ(data_test::LogTextsIn("Green"),
              std::vector<std::string>{"Initialization is completed"});
    EXPECT_TRUE(data_test::LogTextsIn("Red").empty());
}

TEST_F(UpgradeTableTest, RowsOutsideTheTableReadAsZero) {
    ASSERT_TRUE(LoadUpgrades(FULL_UPGRADES));
    for (const std::int32_t index : {-1, 22, 23, INT_MIN, INT_MAX}) {
        ExpectRow(table, index, {});
    }
}

TEST_F(UpgradeTableTest, ElementGivenTwiceOverwritesWhatItGivesAgain) {
    ASSERT_TRUE(
        LoadUpgrades("<Upgrades>"
                     "<Footwear cost_1=\"5\" cost_2=\"6\" speed_2=\"7\"/>"
                     "<VitaminCost cost=\"60\" max=\"5\"/>"
                     "<Footwear cost_2=\"16\" speed_2=\"bad\"/>"
                     "<VitaminCost max=\"9\"/>"
                     "</Upgrades>"));
    // An attribute given again wins, even when it does not read (0); one left
    // out keeps the first value.
    ExpectRow(table, 0, {5, 0, 0, 0, 0, 0});
    ExpectRow(table, 1, {16, 0, 0, 0, 0, 0});
    ExpectRow(table, UPGRADE_ROW_VITAMIN_COST, {60, 0, 0, 0, 0, 9});
}

TEST_F(UpgradeTableTest, MissingFileIsReportedAndLeavesEverythingZero) {
    ASSERT_TRUE(LoadUpgrades(FULL_UPGRADES));
    HtmlLog().Start();
    std::filesystem::remove("Resources/Data/upgrades.xml");
    EXPECT_FALSE(table.Load());
    ExpectAllZero(table);
    EXPECT_EQ(data_test::LogTextsIn("Blue"),
              std::vector<std::string>{"Initializing upgrades data"});
    EXPECT_EQ(
        data_test::LogTextsIn("Red"),
        std::vector<std::string>{"Couldn't open upgrades data (Resources/Data/upgrades.xml)"});
    EXPECT_TRUE(data_test::LogTextsIn("Green").empty());
}

TEST_F(UpgradeTableTest, SyntaxErrorKeepsWhatWasReadBeforeIt) {
    ASSERT_TRUE(LoadUpgrades("<Upgrades><Computer cost=\"800\"/><Machine cost_1=\"1\" <"));
    EXPECT_EQ(table.Row(UPGRADE_ROW_COMPUTER).cost, 800);
    EXPECT_EQ(table.Row(UPGRADE_ROW_MACHINE).cost, 0);
}

TEST_F(UpgradeTableTest, ClearZeroesEveryRow) {
    ASSERT_TRUE(LoadUpgrades(FULL_UPGRADES));
    table.Clear();
    ExpectAllZero(table);
}

TEST_F(UpgradeTableTest, ShippedUpgradesReadWithoutAnError) {
    ASSERT_TRUE(table.Load((data_test::ShippedDataFolder() / "upgrades.xml").string()));
    EXPECT_TRUE(data_test::LogTextsIn("Red").empty());
    // Every level above the first of each upgrade has a price.
    for (const std::int32_t index :
         {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21}) {
        EXPECT_GT(table.Row(index).cost, 0) << "row " << index;
    }
    EXPECT_GT(table.Row(UPGRADE_ROW_VITAMIN_COST).max, 0);
    EXPECT_GT(table.Row(UPGRADE_ROW_VITAMIN_GROWTH).max, 0);
}

}  // namespace
