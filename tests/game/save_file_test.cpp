// The little-endian record reader and writer, the safe and durable
// replacement of a save file, and the keeping of a file that could not be read.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/framework/app_test_support.h"
#include "engine/platform/html_log.h"
#include "game/data_file_test_support.h"
#include "game/file_step_faults.h"
#include "game/save_file.h"

namespace {

namespace fs = std::filesystem;
using file_steps::Call;
using file_steps::CScopedHook;
using file_steps::Step;

TEST(SaveRecordTest, FieldsAreLittleEndianAtTheirOffsetsAndTheRestStaysZero) {
    CSaveWriter writer(16);
    writer.U8(1, 0xAB);
    writer.U16(2, u'\u20AC');
    writer.I32(4, -2);
    writer.F32(8, 1.0f);
    const std::vector<std::uint8_t> expected = {0x00, 0xAB, 0xAC, 0x20, 0xFE, 0xFF, 0xFF, 0xFF,
                                                0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(writer.Bytes(), expected);
    EXPECT_FALSE(writer.Overflowed());

    CSaveReader reader(expected.data(), expected.size());
    EXPECT_EQ(reader.U8(1), 0xAB);
    EXPECT_EQ(reader.U16(2), u'\u20AC');
    EXPECT_EQ(reader.I32(4), -2);
    EXPECT_EQ(reader.U32(4), 0xFFFFFFFEu);
    EXPECT_FLOAT_EQ(reader.F32(8), 1.0f);
    EXPECT_FALSE(reader.Overflowed());
}

TEST(SaveRecordTest, AccessBeyondTheEndIsRefusedAndFlagged) {
    CSaveWriter writer(6);
    writer.I32(4, 0x01020304);  // two bytes would fall outside
    EXPECT_TRUE(writer.Overflowed());
    EXPECT_EQ(writer.Bytes(), std::vector<std::uint8_t>(6, 0));

    const std::uint8_t bytes[6] = {1, 2, 3, 4, 5, 6};
    CSaveReader reader(bytes, sizeof bytes);
    EXPECT_EQ(reader.U32(2), 0x06050403u);
    EXPECT_FALSE(reader.Overflowed());
    EXPECT_EQ(reader.U32(3), 0u);
    EXPECT_TRUE(reader.Overflowed());
    CSaveReader far(bytes, sizeof bytes);
    EXPECT_EQ(far.U8(SIZE_MAX), 0);
    EXPECT_TRUE(far.Overflowed());
}

class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = app_test::PrivateFolder() / ("save-" + std::to_string(++counter));
        fs::create_directories(folder);
        path = (folder / "game.sav").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    static inline int counter = 0;
    fs::path folder;
    std::string path;
};

TEST_F(SaveFileTest, WriteReplacesTheFileAndLeavesNoTemporaryFile) {
    app_test::WriteFile(path, "old contents that are longer");
    ASSERT_TRUE(WriteSaveFile(path, {'n', 'e', 'w'}));
    EXPECT_EQ(app_test::ReadFile(path), "new");
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    ASSERT_TRUE(WriteSaveFile(path, {}));
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(SaveFileTest, AFailedTemporaryWriteKeepsTheOldFile) {
    app_test::WriteFile(path, "old");
    // A folder where the temporary file should go: it cannot be created.
    fs::create_directory(path + ".tmp");
    EXPECT_FALSE(WriteSaveFile(path, {'n', 'e', 'w'}));
    EXPECT_EQ(app_test::ReadFile(path), "old");
    EXPECT_TRUE(fs::is_directory(path + ".tmp"));
}

TEST_F(SaveFileTest, AFailedRenameRemovesTheTemporaryFile) {
    // A folder holding a file under the save's name: the rename fails.
    fs::create_directories(path);
    app_test::WriteFile(path + "/inside", "x");
    EXPECT_FALSE(WriteSaveFile(path, {'n'}));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_TRUE(fs::is_directory(path));
}

TEST_F(SaveFileTest, TheNewFileIsSyncedBeforeTheRenameAndTheFolderAfterIt) {
    app_test::WriteFile(path, "old");
    std::vector<std::string> seen;
    const CScopedHook hook([&](const Step& step) {
        const bool renamed = app_test::ReadFile(path) == "new";
        if (step.call == Call::Sync && step.target == fs::canonical(folder) / "game.sav.tmp") {
            seen.push_back(renamed ? "file after the rename" : "file");
        } else if (step.call == Call::Sync && step.target == fs::canonical(folder)) {
            seen.push_back(renamed && !fs::exists(path + ".tmp") ? "folder" : "folder too early");
        }
        return 0;
    });
    ASSERT_TRUE(WriteSaveFile(path, {'n', 'e', 'w'}));
    EXPECT_EQ(seen, (std::vector<std::string>{"file", "folder"}));
}

TEST_F(SaveFileTest, AFailedFileSyncFailsTheSaveAndAFailedFolderSyncIsOnlyLogged) {
    struct Case {
        const char* failing;
        bool written;  // the new file went in before the failure
    };
    for (const Case c : {Case{"file", false}, Case{"folder", true}}) {
        SCOPED_TRACE(c.failing);
        HtmlLog().Start();
        app_test::WriteFile(path, "old");
        const bool file = std::string(c.failing) == "file";
        const fs::path failing =
            file ? fs::canonical(folder) / "game.sav.tmp" : fs::canonical(folder);
        const CScopedHook hook([&](const Step& step) {
            return step.call == Call::Sync && step.target == failing ? ENOSPC : 0;
        });
        // A new file under the save's name is the save, synced or not: a caller
        // told otherwise would act on the old file being there.
        EXPECT_EQ(WriteSaveFile(path, {'n', 'e', 'w'}), c.written);
        EXPECT_EQ(app_test::ReadFile(path), c.written ? "new" : "old");
        EXPECT_FALSE(fs::exists(path + ".tmp"));
        const auto red = data_test::LogTextsIn("Red");
        if (c.written) {
            EXPECT_EQ(red, std::vector<std::string>{"Saved " + path +
                                                    ", but its folder could not be synced"});
        } else {
            EXPECT_TRUE(red.empty());
        }
    }
}

TEST_F(SaveFileTest, ReadTellsMissingTooLargeAndRead) {
    std::vector<std::uint8_t> bytes;
    std::uintmax_t size = 99;
    EXPECT_EQ(ReadSaveFile(path, 8, &bytes, &size), SaveFileRead::Missing);

    fs::create_directory(path);
    EXPECT_EQ(ReadSaveFile(path, 8, &bytes, &size), SaveFileRead::Missing) << "a folder";
    fs::remove(path);

    app_test::WriteFile(path, "123456789");
    EXPECT_EQ(ReadSaveFile(path, 8, &bytes, &size), SaveFileRead::TooLarge);
    EXPECT_EQ(size, 9u);
    EXPECT_TRUE(bytes.empty());

    EXPECT_EQ(ReadSaveFile(path, 9, &bytes, &size), SaveFileRead::Read);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "123456789");

    // The start of a larger file, with the whole file's size.
    EXPECT_EQ(ReadSaveFileStart(path, 4, &bytes, &size), SaveFileRead::Read);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "1234");
    EXPECT_EQ(ReadSaveFileStart(path, 20, &bytes, &size), SaveFileRead::Read);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "123456789");
}

class SaveFileGuardTest : public SaveFileTest {
protected:
    void SetUp() override {
        SaveFileTest::SetUp();
        HtmlLog().Start();
        bad = path + ".bad";
    }
    std::string bad;
    CSaveFileGuard guard;
};

TEST_F(SaveFileGuardTest, OnlyTheFirstWriteOverAnUnreadFileKeepsItBeside) {
    app_test::WriteFile(bad, "older bad file");
    app_test::WriteFile(path, "unread");
    guard.Found(path, false);
    ASSERT_TRUE(guard.Write(path, {'1'}));
    EXPECT_EQ(app_test::ReadFile(path), "1");
    EXPECT_EQ(app_test::ReadFile(bad), "unread") << "the older one is replaced";
    EXPECT_EQ(data_test::LogTextsIn("Red"),
              std::vector<std::string>{"Unreadable file kept as " + bad});

    ASSERT_TRUE(guard.Write(path, {'2'}));
    EXPECT_EQ(app_test::ReadFile(path), "2");
    EXPECT_EQ(app_test::ReadFile(bad), "unread");
    EXPECT_EQ(data_test::LogTextsIn("Red").size(), 1u);
}

TEST_F(SaveFileGuardTest, NothingIsKeptAfterAWholeReadOrWhenTheFileHasGone) {
    struct Case {
        const char* name;
        bool readWhole;
        bool fileThere;
    };
    for (const Case c : {Case{"read whole", true, true}, Case{"gone since", false, false}}) {
        SCOPED_TRACE(c.name);
        HtmlLog().Start();
        fs::remove(bad);
        app_test::WriteFile(path, "before");
        guard.Found(path, false);
        guard.Found(path, c.readWhole);
        if (!c.fileThere) {
            fs::remove(path);
        }
        ASSERT_TRUE(guard.Write(path, {'n'}));
        EXPECT_EQ(app_test::ReadFile(path), "n");
        EXPECT_FALSE(fs::exists(bad));
        EXPECT_TRUE(data_test::LogTextsIn("Red").empty());
    }
    // Another file of the same guard is never moved.
    const std::string other = (folder / "other.sav").string();
    app_test::WriteFile(other, "other");
    guard.Found(path, false);
    ASSERT_TRUE(guard.Write(other, {'o'}));
    EXPECT_FALSE(fs::exists(other + ".bad"));
}

TEST_F(SaveFileGuardTest, AFileThatCannotBeKeptIsNotOverwritten) {
    app_test::WriteFile(path, "unread");
    // A folder with something in it cannot be replaced by the kept file.
    app_test::WriteFile(bad + "/inside", "x");
    guard.Found(path, false);
    EXPECT_FALSE(guard.Write(path, {'n'}));
    EXPECT_EQ(app_test::ReadFile(path), "unread");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_EQ(data_test::LogTextsIn("Red"),
              std::vector<std::string>{"Couldn't keep the unreadable file as " + bad});

    // Once the way is free, the next write keeps it.
    fs::remove_all(bad);
    ASSERT_TRUE(guard.Write(path, {'n'}));
    EXPECT_EQ(app_test::ReadFile(bad), "unread");
}

TEST_F(SaveFileGuardTest, TheSaveKeepsItsNameAtEveryStepOfKeepingAnUnreadFile) {
    struct Case {
        const char* name;
        int linkError;  // a file system without hard links gets a copy
        bool olderBad;
    };
    const Case cases[] = {{"linked", 0, false}, {"copied", EPERM, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(bad);
        if (c.olderBad) {
            app_test::WriteFile(bad, "older bad file");
        }
        app_test::WriteFile(path, "unread");
        CSaveFileGuard fresh;
        fresh.Found(path, false);
        // A stop just before a step leaves the files as they are when it is
        // asked for.
        std::vector<std::string> onDisk;
        {
            const CScopedHook hook([&](const Step& step) {
                onDisk.push_back(fs::exists(path) ? app_test::ReadFile(path) : "no file");
                return step.call == Call::Link ? c.linkError : 0;
            });
            ASSERT_TRUE(fresh.Write(path, {'n', 'e', 'w'}));
        }
        EXPECT_GE(onDisk.size(), 3u);
        for (std::size_t i = 0; i < onDisk.size(); ++i) {
            EXPECT_TRUE(onDisk[i] == "unread" || onDisk[i] == "new") << i << ": " << onDisk[i];
        }
        EXPECT_EQ(app_test::ReadFile(path), "new");
        EXPECT_EQ(app_test::ReadFile(bad), "unread");
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "game.sav" || name == "game.sav.bad") << name << " left over";
        }
    }
}

}  // namespace
