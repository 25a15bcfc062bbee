// The little-endian record reader and writer, and the safe replacement of a
// save file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/framework/app_test_support.h"
#include "game/save_file.h"

namespace {

namespace fs = std::filesystem;

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
}

}  // namespace
