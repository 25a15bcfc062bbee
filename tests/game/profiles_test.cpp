// Player profiles: the 136-byte record, profiles.sav with its accepted sizes
// and repairs, and the profile list of the session.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "engine/framework/app_test_support.h"
#include "engine/platform/html_log.h"
#include "game/data_file_test_support.h"
#include "game/game_session_base.h"
#include "game/session_test_support.h"

namespace {

namespace fs = std::filesystem;

// A little-endian 32-bit word into a record laid out by hand.
void Put32(std::string& record, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        record[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}

// A new player "Ann", byte by byte as profiles.sav stores it.
std::string AnnByHand() {
    std::string record(CProfile::RECORD_SIZE, '\0');
    const auto put32 = [&record](std::size_t at, std::uint32_t value) { Put32(record, at, value); };
    record[0] = 'A';
    record[2] = 'n';
    record[4] = 'n';
    record[34] = 1;  // current
    put32(36, 3);    // tries
    put32(40, 1);    // level index
    put32(72, 1);    // story level
    put32(76, 1);    // slots 1 0 0 1 1
    put32(88, 1);
    put32(92, 1);
    put32(104, 1);  // pet level
    put32(108, 1);  // footwear
    put32(112, 1);  // machine
    return record;
}

class ProfilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        HtmlLog().Start();
        path = HtmlLog().GetUserFolder() + "profiles.sav";
        fs::remove_all(path);
        fs::remove_all(path + ".tmp");
        fs::remove_all(path + ".bad");
    }

    static std::string Log() { return app_test::ReadFile(HtmlLog().GetLogPath()); }
    std::string Saved() const { return app_test::ReadFile(path); }

    std::string path;
    CGameSessionBase session;
};

TEST_F(ProfilesTest, ANewPlayerIsSavedByteForByte) {
    ASSERT_TRUE(session.AddProfile(u"Ann"));
    EXPECT_EQ(Saved(), AnnByHand());
    EXPECT_NE(Log().find("Save profiles data (" + path + "):"), std::string::npos);
    EXPECT_NE(Log().find("Complete"), std::string::npos);

    CGameSessionBase reloaded;
    ASSERT_EQ(reloaded.LoadProfiles("profiles.sav"), 1);
    EXPECT_EQ(reloaded.GetCurrentProfile()->GetName(), u"Ann");
}

TEST_F(ProfilesTest, EveryFieldComesBackFromTheFile) {
    // Player "Bo" well into a game, every field a value of its own, laid out
    // by hand at the offsets of the file record. The padding holds junk.
    std::string record(CProfile::RECORD_SIZE, '\0');
    const auto put32 = [&record](std::size_t at, std::uint32_t value) { Put32(record, at, value); };
    record[0] = 'B';
    record[2] = 'o';
    record[34] = 1;                              // current
    record[35] = 1;                              // game started
    put32(36, 2);                                // tries
    put32(40, 17);                               // level index
    put32(44, static_cast<std::uint32_t>(-5));   // second counter
    put32(52, 0x40200000);                       // second counter shown 2.5
    put32(56, static_cast<std::uint32_t>(-60));  // level cash
    put32(60, 123456);                           // total score
    put32(64, 789);                              // savings
    put32(68, 0x41440000);                       // shown cash 12.25
    put32(72, 44);                               // story level
    const std::int32_t slots[CProfile::SLOT_COUNT] = {2, 3, 4, 0, 1};
    for (std::size_t i = 0; i < std::size(slots); ++i) {
        put32(76 + 4 * i, static_cast<std::uint32_t>(slots[i]));
    }
    put32(100, 1);    // pet kind
    put32(104, 6);    // pet level
    put32(108, 3);    // footwear
    put32(112, 2);    // machine
    put32(116, 1);    // computer
    put32(120, 3);    // audio system
    put32(124, 7);    // growth vitamin
    put32(128, 8);    // cost vitamin
    record[132] = 1;  // bonus reward
    record[133] = 0x5A;
    record[134] = 0x5B;
    record[135] = 0x5C;
    app_test::WriteFile(path, record);

    ASSERT_EQ(session.LoadProfiles("profiles.sav"), 1);
    const CProfile& read = session.GetProfiles()[0];
    EXPECT_EQ(read.GetName(), u"Bo");
    struct Word {
        const char* field;
        std::int32_t CProfile::*word;
        std::int32_t value;
    };
    const Word words[] = {
        {"tries", &CProfile::tries, 2},
        {"level index", &CProfile::levelIndex, 17},
        {"second counter", &CProfile::secondCounter, -5},
        {"level cash", &CProfile::levelCash, -60},
        {"total score", &CProfile::totalScore, 123456},
        {"savings", &CProfile::savings, 789},
        {"story level", &CProfile::storyLevel, 44},
        {"pet kind", &CProfile::petKind, 1},
        {"pet level", &CProfile::petLevel, 6},
        {"footwear", &CProfile::footwearLevel, 3},
        {"machine", &CProfile::machineLevel, 2},
        {"computer", &CProfile::computerLevel, 1},
        {"audio system", &CProfile::audioSystemLevel, 3},
        {"growth vitamin", &CProfile::growthVitaminLevel, 7},
        {"cost vitamin", &CProfile::costVitaminLevel, 8},
    };
    for (const Word& w : words) {
        EXPECT_EQ(read.*w.word, w.value) << w.field;
    }
    EXPECT_EQ(read.current, 1);
    EXPECT_EQ(read.gameStarted, 1);
    EXPECT_FLOAT_EQ(read.secondCounterShown, 2.5f);
    EXPECT_FLOAT_EQ(read.shownCash, 12.25f);
    for (std::size_t i = 0; i < std::size(slots); ++i) {
        EXPECT_EQ(read.slotLevels[i], slots[i]) << "slot " << i;
    }
    EXPECT_EQ(read.bonusReward, 1) << "the padding after it is not the reward";

    // Written back, the file holds the same bytes up to the padding.
    ASSERT_TRUE(session.SaveProfiles("profiles.sav"));
    const std::string saved = Saved();
    ASSERT_EQ(saved.size(), CProfile::RECORD_SIZE);
    for (std::size_t at = 0; at < 133; ++at) {
        EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(saved[at])),
                  static_cast<int>(static_cast<unsigned char>(record[at])))
            << "byte " << at;
    }
}

TEST_F(ProfilesTest, OnlyWholeRecordsUpToThirteenAreRead) {
    struct Case {
        std::size_t size;
        int profiles;
        bool incorrect;
    };
    const Case cases[] = {{0, 0, false},  {136, 1, false}, {1768, 13, false},
                          {137, 0, true}, {1904, 0, true}, {135, 0, true}};
    for (const Case& c : cases) {
        HtmlLog().Start();
        std::string bytes;
        for (std::size_t n = 0; n < c.size / CProfile::RECORD_SIZE; ++n) {
            bytes += session_test::ProfileFile({CProfile(u"P" + std::u16string(1, u'a' + n))});
        }
        bytes.resize(c.size, '\0');
        app_test::WriteFile(path, bytes);
        EXPECT_EQ(session.LoadProfiles("profiles.sav"), c.profiles) << c.size;
        EXPECT_EQ(session.GetProfileCount(), c.profiles) << c.size;
        const std::string log = Log();
        EXPECT_NE(log.find("Load profiles data (" + path + "):"), std::string::npos);
        EXPECT_EQ(log.find("Incorrect profiles data") != std::string::npos, c.incorrect) << c.size;
        EXPECT_NE(log.find("Complete"), std::string::npos) << c.size;
        EXPECT_EQ(log.find("Color = Red"), std::string::npos) << c.size;
        // A rejected file stays as it was.
        EXPECT_EQ(fs::file_size(path), c.size);
    }
}

TEST_F(ProfilesTest, AFileOfAWrongSizeIsKeptBesideTheFirstNewSave) {
    const std::string two = session_test::ProfileFile({CProfile(u"Ann"), CProfile(u"Bo")});
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"one byte short", two.substr(0, two.size() - 1)},
        {"one byte over", two + '\x7f'},
        {"fourteen records", std::string(14 * CProfile::RECORD_SIZE, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path + ".bad");
        HtmlLog().Start();
        app_test::WriteFile(path, c.bytes);
        ASSERT_EQ(session.LoadProfiles("profiles.sav"), 0);
        ASSERT_TRUE(session.AddProfile(u"New"));
        EXPECT_EQ(Saved(), session_test::ProfileFile({CProfile(u"New")}));
        EXPECT_EQ(app_test::ReadFile(path + ".bad"), c.bytes);
        EXPECT_EQ(data_test::LogTextsIn("Red"),
                  std::vector<std::string>{"Unreadable file kept as " + path + ".bad"});

        // Later saves write over the new file only.
        ASSERT_TRUE(session.AddProfile(u"Next"));
        EXPECT_EQ(app_test::ReadFile(path + ".bad"), c.bytes);
        EXPECT_EQ(fs::file_size(path), 2 * CProfile::RECORD_SIZE);
    }

    // A file that was read is replaced as before.
    app_test::WriteFile(path, two);
    ASSERT_EQ(session.LoadProfiles("profiles.sav"), 2);
    fs::remove(path + ".bad");
    ASSERT_TRUE(session.AddProfile(u"Cy"));
    EXPECT_FALSE(fs::exists(path + ".bad"));
}

TEST_F(ProfilesTest, AMissingFileOrAFolderGivesNoProfiles) {
    EXPECT_EQ(session.LoadProfiles("profiles.sav"), 0);
    EXPECT_NE(Log().find("No profiles data"), std::string::npos);
    fs::create_directory(path);
    HtmlLog().Start();
    EXPECT_EQ(session.LoadProfiles("profiles.sav"), 0);
    EXPECT_NE(Log().find("No profiles data"), std::string::npos);
    fs::remove(path);
}

TEST_F(ProfilesTest, AnUnterminatedNameEndsAtSixteenUnits) {
    std::string bytes = session_test::ProfileFile({CProfile(u"x")});
    for (std::size_t unit = 0; unit < CProfile::NAME_UNITS; ++unit) {
        bytes[2 * unit] = 'Z';
    }
    app_test::WriteFile(path, bytes);
    ASSERT_EQ(session.LoadProfiles("profiles.sav"), 1);
    EXPECT_EQ(session.GetProfiles()[0].GetName(), std::u16string(16, u'Z'));
}

TEST_F(ProfilesTest, WordsUsedAsIndexesAndMoneyAreClampedWithOneRedLineEach) {
    struct Case {
        const char* field;
        std::int32_t CProfile::*word;
        std::int32_t stored;
        std::int32_t kept;
    };
    const Case cases[] = {
        {"pet kind", &CProfile::petKind, 2, 1},
        {"pet kind", &CProfile::petKind, -1, 0},
        {"pet level", &CProfile::petLevel, 0, 1},
        {"pet level", &CProfile::petLevel, 7, 6},
        {"footwear level", &CProfile::footwearLevel, 4, 3},
        {"machine level", &CProfile::machineLevel, 0, 1},
        {"machine level", &CProfile::machineLevel, 9, 3},
        {"computer level", &CProfile::computerLevel, 2, 1},
        {"audio system level", &CProfile::audioSystemLevel, -3, 0},
        {"audio system level", &CProfile::audioSystemLevel, 4, 3},
        {"story level", &CProfile::storyLevel, 0, 1},
        {"level index", &CProfile::levelIndex, -7, 1},
        {"growth vitamin level", &CProfile::growthVitaminLevel, -1, 0},
        {"cost vitamin level", &CProfile::costVitaminLevel, -1, 0},
        {"total score", &CProfile::totalScore, -2147483476, 0},
        {"savings", &CProfile::savings, -1, 0},
    };
    for (const Case& c : cases) {
        HtmlLog().Start();
        CProfile profile(u"Cy");
        profile.*c.word = c.stored;
        app_test::WriteFile(path, session_test::ProfileFile({CProfile(u"ok"), profile}));
        ASSERT_EQ(session.LoadProfiles("profiles.sav"), 2);
        EXPECT_EQ(session.GetProfiles()[1].*c.word, c.kept) << c.field << " " << c.stored;
        const std::string log = Log();
        EXPECT_EQ(app_test::CountOf(log, "Color = Red"), 1u) << c.field;
        EXPECT_NE(log.find("Profile 2: " + std::string(c.field) + " " + std::to_string(c.stored)),
                  std::string::npos)
            << log;
    }

    // Every slot level stays within 0..4, each repair logged.
    CProfile slots(u"Di");
    slots.slotLevels[0] = -1;
    slots.slotLevels[4] = 5;
    app_test::WriteFile(path, session_test::ProfileFile({slots}));
    HtmlLog().Start();
    ASSERT_EQ(session.LoadProfiles("profiles.sav"), 1);
    EXPECT_EQ(session.GetProfiles()[0].slotLevels[0], 0);
    EXPECT_EQ(session.GetProfiles()[0].slotLevels[4], 4);
    EXPECT_EQ(app_test::CountOf(Log(), "aquarium slot level"), 2u);
}

TEST_F(ProfilesTest, AddingRefusesAFullListAndTakenNames) {
    for (int i = 0; i < CGameSessionBase::MAX_PROFILES; ++i) {
        ASSERT_TRUE(session.AddProfile(u"P" + std::u16string(1, static_cast<char16_t>(u'a' + i))));
    }
    EXPECT_TRUE(session.IsProfileListFull());
    EXPECT_FALSE(session.AddProfile(u"Zed"));
    EXPECT_EQ(fs::file_size(path), 13 * CProfile::RECORD_SIZE);

    CGameSessionBase fresh;
    ASSERT_TRUE(fresh.AddProfile(u"Ann"));
    EXPECT_FALSE(fresh.AddProfile(u"Ann"));
    EXPECT_TRUE(fresh.AddProfile(u"ann")) << "letter case makes another name";
    EXPECT_EQ(fresh.GetCurrentProfile()->GetName(), u"ann");
    EXPECT_EQ(fresh.GetProfiles()[0].current, 0);
    // A longer name is cut to 16 units.
    ASSERT_TRUE(fresh.AddProfile(u"abcdefghijklmnopqrstu"));
    EXPECT_EQ(fresh.GetCurrentProfile()->GetName(), u"abcdefghijklmnop");
}

TEST_F(ProfilesTest, DeletingKeepsOneCurrentAndTheLastLeavesAnEmptyFile) {
    ASSERT_TRUE(session.AddProfile(u"A"));
    ASSERT_TRUE(session.AddProfile(u"B"));
    ASSERT_TRUE(session.AddProfile(u"C"));
    ASSERT_TRUE(session.SelectProfile(u"B"));
    EXPECT_FALSE(session.DeleteProfile(u"nobody"));
    EXPECT_FALSE(session.DeleteProfile(u""));

    ASSERT_TRUE(session.DeleteProfile(u"C"));
    EXPECT_EQ(session.GetCurrentProfile()->GetName(), u"B") << "another's deletion keeps it";
    ASSERT_TRUE(session.DeleteProfile(u"B"));
    EXPECT_EQ(session.GetCurrentProfile()->GetName(), u"A");
    EXPECT_EQ(fs::file_size(path), CProfile::RECORD_SIZE);

    // The player does not come back at the next start.
    ASSERT_TRUE(session.DeleteProfile(u"A"));
    EXPECT_EQ(session.GetCurrentProfile(), nullptr);
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    CGameSessionBase next;
    EXPECT_EQ(next.LoadProfiles("profiles.sav"), 0);
}

TEST_F(ProfilesTest, SelectionAndRepairOfTheCurrentFlags) {
    ASSERT_TRUE(session.AddProfile(u"A"));
    ASSERT_TRUE(session.AddProfile(u"B"));
    EXPECT_FALSE(session.SelectProfile(u"b"));
    EXPECT_EQ(session.GetCurrentProfile()->GetName(), u"B");
    EXPECT_TRUE(session.SelectProfile(u"A"));
    EXPECT_EQ(session.GetCurrentProfile()->GetName(), u"A");

    // None current, or several: only the first.
    CProfile a(u"A");
    CProfile b(u"B");
    for (const std::uint8_t flag : {0, 1}) {
        a.current = flag;
        b.current = flag;
        app_test::WriteFile(path, session_test::ProfileFile({a, b}));
        ASSERT_EQ(session.LoadProfiles("profiles.sav"), 2);
        EXPECT_EQ(session.GetCurrentProfile()->GetName(), u"A");
        EXPECT_EQ(session.GetProfiles()[0].current, 1);
        EXPECT_EQ(session.GetProfiles()[1].current, 0);
    }
}

TEST_F(ProfilesTest, AFailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(session.AddProfile(u"A"));
    const std::string before = Saved();
    fs::create_directory(path + ".tmp");
    HtmlLog().Start();
    EXPECT_TRUE(session.AddProfile(u"B")) << "the list changes even when the save fails";
    EXPECT_FALSE(session.SaveProfiles("profiles.sav"));
    EXPECT_EQ(Saved(), before);
    const std::string log = Log();
    EXPECT_NE(log.find("Couldn't save profiles data"), std::string::npos);
    EXPECT_NE(log.find("Color = Red"), std::string::npos);
    fs::remove(path + ".tmp");
}

}  // namespace
