// config.cfg: the 24-byte record of the fullscreen mode, the window choice and
// the two volumes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/framework/app_test_support.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "game/config_record.h"
#include "game/data_file_test_support.h"
#include "game/game_session_base.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// 22, 1024, 768, windowed 1, three zero bytes, music 40, sound 60.
std::string WindowedConfig() {
    return std::string("\x16\0\0\0\0\x04\0\0\0\x03\0\0\x01\0\0\0\x28\0\0\0\x3c\0\0\0", 24);
}

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        HtmlLog().Start();
        path = HtmlLog().GetUserFolder() + "config.cfg";
        fs::remove_all(path);
        fs::remove_all(path + ".bad");
        Sound().SetStoredVolumes(CSoundManager::DEFAULT_MUSIC_VOLUME,
                                 CSoundManager::DEFAULT_SOUND_VOLUME);
    }
    void TearDown() override {
        Sound().SetStoredVolumes(CSoundManager::DEFAULT_MUSIC_VOLUME,
                                 CSoundManager::DEFAULT_SOUND_VOLUME);
    }

    static CSoundManager& Sound() { return ResourceManager::Instance().GetSoundManager(); }
    static std::string Log() { return app_test::ReadFile(HtmlLog().GetLogPath()); }

    std::string path;
    CGameSessionBase session;
    backend::DisplayMode mode{640, 480, 60, backend::FORMAT_R5G6B5};
    bool windowed = false;
};

TEST_F(ConfigTest, DefaultsAreSavedAsTwentyFourBytes) {
    ASSERT_TRUE(session.SaveConfig("config.cfg", backend::DisplayMode{1024, 768, 75}, false));
    const std::string expected("\x16\0\0\0\0\x04\0\0\0\x03\0\0\0\0\0\0\x46\0\0\0\x5f\0\0\0", 24);
    EXPECT_EQ(app_test::ReadFile(path), expected);
    const std::string log = Log();
    EXPECT_NE(log.find("Save config data (" + path + "):"), std::string::npos);
    EXPECT_NE(log.find("Complete"), std::string::npos);
}

TEST_F(ConfigTest, LoadingSetsModeWindowAndVolumesAndSavingGivesTheSameBytes) {
    app_test::WriteFile(path, WindowedConfig());
    ASSERT_TRUE(session.LoadConfig("config.cfg", &mode, &windowed));
    EXPECT_EQ(mode.width, 1024);
    EXPECT_EQ(mode.height, 768);
    EXPECT_EQ(mode.format, backend::FORMAT_X8R8G8B8);
    EXPECT_EQ(mode.refreshRate, 60) << "the refresh rate is not stored";
    EXPECT_TRUE(windowed);
    EXPECT_EQ(Sound().GetVolume(SoundType::Stream), 40);
    EXPECT_EQ(Sound().GetVolume(SoundType::Sample), 60);
    EXPECT_NE(Log().find("Load config data (" + path + "):"), std::string::npos);

    ASSERT_TRUE(session.SaveConfig("config.cfg", mode, windowed));
    EXPECT_EQ(app_test::ReadFile(path), WindowedConfig());
}

TEST_F(ConfigTest, AWrongSizeOrNoFileChangesNothing) {
    struct Case {
        std::string bytes;
        bool exists;
        const char* line;
    };
    const Case cases[] = {{WindowedConfig().substr(0, 23), true, "Incorrect config data"},
                          {WindowedConfig() + '\0', true, "Incorrect config data"},
                          {"", false, "No config data"}};
    for (const Case& c : cases) {
        HtmlLog().Start();
        fs::remove(path);
        if (c.exists) {
            app_test::WriteFile(path, c.bytes);
        }
        EXPECT_FALSE(session.LoadConfig("config.cfg", &mode, &windowed)) << c.bytes.size();
        EXPECT_EQ(mode.width, 640);
        EXPECT_EQ(mode.format, backend::FORMAT_R5G6B5);
        EXPECT_FALSE(windowed);
        EXPECT_EQ(Sound().GetVolume(SoundType::Stream), CSoundManager::DEFAULT_MUSIC_VOLUME);
        const std::string log = Log();
        EXPECT_NE(log.find(c.line), std::string::npos) << c.bytes.size();
        EXPECT_EQ(log.find("Color = Red"), std::string::npos);
    }
}

TEST_F(ConfigTest, VolumesOutsideTheirRangeAreClampedAndSavedClamped) {
    struct Case {
        std::int32_t music, sound;
        std::int32_t keptMusic, keptSound;
        std::vector<std::string> red;
    };
    const Case cases[] = {
        {0, 100, 0, 100, {}},
        {2147483647, 60, 100, 60, {"Config: music volume 2147483647 out of range, 100 used"}},
        {40, -1, 40, 0, {"Config: sound volume -1 out of range, 0 used"}},
        {-2147483647 - 1,
         101,
         0,
         100,
         {"Config: music volume -2147483648 out of range, 0 used",
          "Config: sound volume 101 out of range, 100 used"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.music) + " " + std::to_string(c.sound));
        HtmlLog().Start();
        ConfigRecord stored = ConfigRecord::FromBytes(Bytes(WindowedConfig()));
        stored.musicVolume = c.music;
        stored.soundVolume = c.sound;
        const std::vector<std::uint8_t> bytes = stored.ToBytes();
        app_test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
        ASSERT_TRUE(session.LoadConfig("config.cfg", &mode, &windowed));
        EXPECT_EQ(Sound().GetVolume(SoundType::Stream), c.keptMusic);
        EXPECT_EQ(Sound().GetVolume(SoundType::Sample), c.keptSound);
        EXPECT_EQ(data_test::LogTextsIn("Red"), c.red);

        // The repaired values go back into the file at the next save.
        ASSERT_TRUE(session.SaveConfig("config.cfg", mode, windowed));
        const ConfigRecord saved = ConfigRecord::FromBytes(Bytes(app_test::ReadFile(path)));
        EXPECT_EQ(saved.musicVolume, c.keptMusic);
        EXPECT_EQ(saved.soundVolume, c.keptSound);
    }
}

TEST_F(ConfigTest, AFileOfAWrongSizeIsKeptBesideTheFirstSave) {
    for (const std::string& bytes : {WindowedConfig().substr(0, 23), WindowedConfig() + '\0'}) {
        SCOPED_TRACE(bytes.size());
        fs::remove(path + ".bad");
        HtmlLog().Start();
        app_test::WriteFile(path, bytes);
        EXPECT_FALSE(session.LoadConfig("config.cfg", &mode, &windowed));
        ASSERT_TRUE(session.SaveConfig("config.cfg", mode, windowed));
        EXPECT_EQ(fs::file_size(path), ConfigRecord::SIZE);
        EXPECT_EQ(app_test::ReadFile(path + ".bad"), bytes);
        EXPECT_EQ(data_test::LogTextsIn("Red"),
                  std::vector<std::string>{"Unreadable file kept as " + path + ".bad"});
    }
    // A file that was read is not kept.
    fs::remove(path + ".bad");
    app_test::WriteFile(path, WindowedConfig());
    ASSERT_TRUE(session.LoadConfig("config.cfg", &mode, &windowed));
    ASSERT_TRUE(session.SaveConfig("config.cfg", mode, windowed));
    EXPECT_FALSE(fs::exists(path + ".bad"));
}

TEST_F(ConfigTest, AFailedSaveKeepsThePreviousFile) {
    app_test::WriteFile(path, WindowedConfig());
    fs::create_directory(path + ".tmp");
    EXPECT_FALSE(session.SaveConfig("config.cfg", mode, false));
    EXPECT_EQ(app_test::ReadFile(path), WindowedConfig());
    EXPECT_NE(Log().find("Couldn't save config data"), std::string::npos);
    fs::remove(path + ".tmp");
}

}  // namespace
