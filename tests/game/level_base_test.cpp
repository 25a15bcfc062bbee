// The level base: levels.xml with its carried Setup values, tasks and enemies,
// the default record of a missing level and the bonus level count.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data_file_test_support.h"
#include "game/level_base.h"

namespace {

const char* const FULL_SETUP =
    "<Setup location=\"2\" location_level=\"3\" food_types=\"4\" brush_types=\"1\""
    " medic_types=\"2\" machine_ingridients=\"3\" base_aquariums=\"4\"/>";

// The seven carried values of a record, in the file's order.
std::vector<std::int32_t> SetupOf(const CLevelRecord& level) {
    return {level.location,    level.location_level,      level.food_types,    level.brush_types,
            level.medic_types, level.machine_ingridients, level.base_aquariums};
}

const std::vector<std::int32_t> DEFAULT_SETUP = {1, 0, 2, 0, 0, 2, 2};

class LevelBaseTest : public data_test::DataFileTest {
protected:
    std::int32_t LoadLevels(const std::string& body) {
        WriteData("levels.xml", "<?xml version=\"1.0\"?>\n<Levels>" + body + "</Levels>");
        return base.Load();
    }

    CLevelBase base;
};

TEST_F(LevelBaseTest, SetupValuesCarryToEveryLaterLevel) {
    ASSERT_EQ(LoadLevels(std::string(FULL_SETUP) +
                         "<Level need_time=\"4.5\" expert_time=\"3,5\" need=\"90\" expert=\"190\"/>"
                         "<Level></Level>"
                         "<Setup food_types=\"1\"/>"
                         "<Level><Setup location=\"3\"/></Level>"
                         "<Level/>"),
              4);
    EXPECT_EQ(data_test::LogTextsIn("Green"),
              std::vector<std::string>{"Initialization is completed (4)"});
    EXPECT_EQ(data_test::LogTextsIn("Blue"), std::vector<std::string>{"Initializing level base"});
    EXPECT_TRUE(data_test::LogTextsIn("Red").empty());

    const CLevelRecord first = base.GetLevel(1);
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(SetupOf(first), (std::vector<std::int32_t>{2, 3, 4, 1, 2, 3, 4}));
    EXPECT_FLOAT_EQ(first.need_time, 4.5f);
    EXPECT_FLOAT_EQ(first.expert_time, 3.5f);
    EXPECT_EQ(first.need, 90);
    EXPECT_EQ(first.expert, 190);
    EXPECT_FALSE(first.bonus);

    const CLevelRecord second = base.GetLevel(2);
    EXPECT_EQ(second.number, 2);
    EXPECT_EQ(SetupOf(second), SetupOf(first));
    EXPECT_EQ(second.need, 0);
    EXPECT_FLOAT_EQ(second.need_time, 0.0f);

    // A Setup changing one value leaves the others carried; one inside a level
    // is for the levels after it.
    const CLevelRecord third = base.GetLevel(3);
    EXPECT_EQ(third.number, 3);
    EXPECT_EQ(SetupOf(third), (std::vector<std::int32_t>{2, 3, 1, 1, 2, 3, 4}));
    const CLevelRecord fourth = base.GetLevel(4);
    EXPECT_EQ(SetupOf(fourth), (std::vector<std::int32_t>{3, 3, 1, 1, 2, 3, 4}));
}

TEST_F(LevelBaseTest, LevelsBeforeAnySetupTakeTheValuesOfAMissingLevel) {
    ASSERT_EQ(LoadLevels("<Level/><Setup brush_types=\"2\" base_aquariums=\"5\"/><Level/>"), 2);
    EXPECT_EQ(SetupOf(base.GetLevel(1)), DEFAULT_SETUP);
    EXPECT_EQ(SetupOf(base.GetLevel(2)), (std::vector<std::int32_t>{1, 0, 2, 2, 0, 2, 5}));
}

TEST_F(LevelBaseTest, LocationOutsideTheThreeShopsIsClampedWithAnError) {
    struct Case {
        const char* location;
        std::int32_t expected;
        bool error;
    };
    const Case cases[] = {
        {"1", 1, false}, {"3", 3, false}, {"", 1, false},  {"0", 1, true},
        {"4", 3, true},  {"-7", 1, true}, {"x2", 1, true}, {"0x7FFFFFFF", 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        HtmlLog().Start();
        ASSERT_EQ(LoadLevels("<Setup location=\"" + std::string(c.location) + "\"/><Level/>"), 1);
        EXPECT_EQ(base.GetLevel(1).location, c.expected);
        EXPECT_EQ(data_test::LogTextsIn("Red").size(), c.error ? 1u : 0u);
    }
    HtmlLog().Start();
    LoadLevels("<Setup location=\"9\"/><Level/>");
    EXPECT_EQ(data_test::LogTextsIn("Red"),
              std::vector<std::string>{"Level location 9 is out of range, 3 is used"});
}

TEST_F(LevelBaseTest, TasksTakeTheirKindByExactNameAndJoinTheLatestLevel) {
    ASSERT_EQ(LoadLevels("<Task fish_type=\"SHARK_1\" amount=\"9\"/>"
                         "<Level>"
                         "<Task fish_type=\"FISH_1\" amount=\"2\" creation_time=\"28.7\"/>"
                         "<BonusTask fish_type=\"SHELL\" amount=\"1\"/>"
                         "<Task fish_type=\"fish_1\" amount=\"3\"/>"
                         "<Task amount=\"x\"/>"
                         "</Level>"
                         "<Task fish_type=\"CRAB\"/>"
                         "<Level><Task fish_type=\"SHOAL_FISHES\"/></Level>"),
              2);
    const std::vector<CLevelTask> tasks = base.GetLevel(1).tasks;
    ASSERT_EQ(tasks.size(), 4u);
    struct Expected {
        FishKind kind;
        std::int32_t amount;
        float creationTime;
        bool computerOrder;
    };
    const Expected expected[] = {
        {FISH_1, 2, 28.7f, false},
        {SHELL, 1, 0.0f, true},
        {FISH_NONE, 3, 0.0f, false},
        {FISH_NONE, 0, 0.0f, false},
    };
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tasks[i].kind, expected[i].kind);
        EXPECT_EQ(tasks[i].amount, expected[i].amount);
        EXPECT_FLOAT_EQ(tasks[i].creation_time, expected[i].creationTime);
        EXPECT_EQ(tasks[i].computer_order, expected[i].computerOrder);
    }
    // Orders outside a level are lost when the next level starts.
    const std::vector<CLevelTask> next = base.GetLevel(2).tasks;
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].kind, SHOAL_FISHES);
}

TEST_F(LevelBaseTest, BonusLevelKeepsItsGullsAndTurtlesInFileOrder) {
    ASSERT_EQ(LoadLevels("<BonusLevel need=\"300\">"
                         "<Turtle type=\"1\" path=\"4\" speed=\"80\" energy=\"3\" rest=\"1.5\""
                         " creation_time=\"2\"/>"
                         "<Gull type=\"0\" path=\"1\" speed=\"120\" attack_speed=\"300\"/>"
                         "<Turtle type=\"0\"/>"
                         "<Turtle type=\"7\"/>"
                         "<Gull type=\"1\"/>"
                         "</BonusLevel>"),
              1);
    const CLevelRecord level = base.GetLevel(1);
    EXPECT_TRUE(level.bonus);
    EXPECT_EQ(level.need, 300);
    ASSERT_EQ(level.enemies.size(), 5u);
    std::vector<std::int32_t> kinds;
    for (const CLevelEnemy& enemy : level.enemies) {
        kinds.push_back(enemy.kind);
    }
    EXPECT_EQ(kinds, (std::vector<std::int32_t>{3, 0, 2, 7, 1}));
    EXPECT_EQ(level.CountTurtles(), 2);

    const CLevelEnemy& turtle = level.enemies[0];
    EXPECT_EQ(turtle.path, 4);
    EXPECT_FLOAT_EQ(turtle.speed, 80.0f);
    EXPECT_FLOAT_EQ(turtle.energy, 3.0f);
    EXPECT_FLOAT_EQ(turtle.rest, 1.5f);
    EXPECT_FLOAT_EQ(turtle.creation_time, 2.0f);
    EXPECT_FLOAT_EQ(level.enemies[1].attack_speed, 300.0f);
}

TEST_F(LevelBaseTest, OnlyLevelsWhoseEndTagWasReadAreKept) {
    struct Case {
        const char* name;
        const char* body;
        std::int32_t count;
        // Read to the close of the outermost element: only then is the level
        // after the last one the end of the game.
        bool whole;
    };
    // The document is given whole here, so that an unclosed level reaches the
    // end of the file.
    const Case cases[] = {
        {"no end tag", "<Levels><Level/><Level need=\"5\">", 1, false},
        {"syntax error after two levels", "<Levels><Level/><BonusLevel/><Level <</Level>", 2,
         false},
        {"end tag of another element", "<Levels><Level><Task/></Levels>", 0, false},
        {"empty file", "", 0, false},
        {"cut after a level", "<Levels><Level/><Level/>", 2, false},
        {"whole", "<?xml version=\"1.0\"?><Levels><Level/><Level/></Levels>\n", 2, true},
        {"whole without levels", "<Levels/>", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HtmlLog().Start();
        WriteData("levels.xml", c.body);
        EXPECT_EQ(base.Load(), c.count);
        EXPECT_EQ(base.GetCount(), c.count);
        EXPECT_EQ(base.GetLevel(static_cast<std::uint32_t>(c.count) + 1).number, -1);
        EXPECT_EQ(data_test::LogTextsIn("Green"),
                  std::vector<std::string>{"Initialization is completed (" +
                                           std::to_string(c.count) + ")"});
        EXPECT_EQ(base.IsWhole(), c.whole);
        EXPECT_EQ(base.IsEndOfGame(c.count + 1), c.whole);
        EXPECT_FALSE(base.IsEndOfGame(c.count + 2));
        // A damaged file gives one line, naming the file.
        const std::vector<std::string> red = data_test::LogTextsIn("Red");
        ASSERT_EQ(red.size(), c.whole ? 0u : 1u);
        if (!c.whole) {
            EXPECT_EQ(red[0].rfind("Syntax error in Resources/Data/levels.xml, line ", 0), 0u)
                << red[0];
        }
    }
}

TEST_F(LevelBaseTest, MissingLevelsReadAsTheDefaultRecord) {
    ASSERT_EQ(LoadLevels(std::string(FULL_SETUP) + "<Level need=\"1\"><Task/><Gull/></Level>"
                                                   "<BonusLevel need=\"2\"/>"),
              2);
    for (const std::uint32_t n : {0u, 3u, 4u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(n);
        const CLevelRecord level = base.GetLevel(n);
        EXPECT_EQ(level.number, -1);
        EXPECT_EQ(SetupOf(level), DEFAULT_SETUP);
        EXPECT_EQ(level.need, 0);
        EXPECT_FALSE(level.bonus);
        EXPECT_TRUE(level.tasks.empty());
        EXPECT_TRUE(level.enemies.empty());
    }
    EXPECT_EQ(base.GetLevel(2).need, 2);
}

TEST_F(LevelBaseTest, CountsBonusLevelsUpToTheGivenNumber) {
    ASSERT_EQ(LoadLevels("<Level/><BonusLevel/><Level/><BonusLevel/>"), 4);
    struct Case {
        std::uint32_t n;
        std::int32_t bonusLevels;
    };
    // 0 wraps to the largest bound and counts them all.
    const Case cases[] = {{0, 2}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {0xFFFFFFFF, 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(base.CountBonusLevels(c.n), c.bonusLevels) << c.n;
    }
}

TEST_F(LevelBaseTest, MissingFileLeavesNoLevelsAndReportsThePath) {
    ASSERT_EQ(LoadLevels("<Level/><Level/>"), 2);
    HtmlLog().Start();
    std::filesystem::remove("Resources/Data/levels.xml");
    EXPECT_EQ(base.Load(), 0);
    EXPECT_EQ(base.GetCount(), 0);
    EXPECT_EQ(base.GetLevel(1).number, -1);
    EXPECT_FALSE(base.IsEndOfGame(1)) << "no file is no end of the game";
    EXPECT_EQ(data_test::LogTextsIn("Red"),
              std::vector<std::string>{"Couldn't open level base (Resources/Data/levels.xml)"});
    EXPECT_TRUE(data_test::LogTextsIn("Green").empty());

    // A folder in the file's place counts as missing too.
    std::filesystem::create_directories("Resources/Data/levels.xml");
    EXPECT_EQ(base.Load(), 0);
}

TEST_F(LevelBaseTest, ALaterLoadReplacesTheLevels) {
    ASSERT_EQ(LoadLevels("<Level/><BonusLevel/><Level/>"), 3);
    ASSERT_EQ(LoadLevels("<BonusLevel need=\"7\"/>"), 1);
    EXPECT_EQ(base.GetCount(), 1);
    EXPECT_EQ(base.GetLevel(1).need, 7);
    EXPECT_EQ(base.GetLevel(2).number, -1);
}

TEST_F(LevelBaseTest, ShippedLevelsReadWithoutAnError) {
    CLevelBase shipped;
    const std::int32_t count =
        shipped.Load((data_test::ShippedDataFolder() / "levels.xml").string());
    EXPECT_EQ(count, 56);
    EXPECT_TRUE(shipped.IsWhole());
    EXPECT_EQ(shipped.CountBonusLevels(0), 9);
    EXPECT_TRUE(data_test::LogTextsIn("Red").empty());
    for (std::uint32_t n = 1; n <= static_cast<std::uint32_t>(count); ++n) {
        const CLevelRecord level = shipped.GetLevel(n);
        SCOPED_TRACE(n);
        EXPECT_EQ(level.number, static_cast<std::int32_t>(n));
        EXPECT_GE(level.location, FIRST_LOCATION);
        EXPECT_LE(level.location, LAST_LOCATION);
        for (const CLevelTask& task : level.tasks) {
            EXPECT_NE(task.kind, FISH_NONE);
        }
    }
    // The two training levels.
    EXPECT_EQ(shipped.GetLevel(1).location, 1);
    EXPECT_EQ(shipped.GetLevel(24).location, 2);
}

}  // namespace
