// config.cfg: the 24-byte record of the fullscreen mode, the window choice and
// the two volumes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/framework/app_test_support.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "game/game_session_base.h"

namespace {

namespace fs = std::filesystem;

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

TEST_F(ConfigTest, AFailedSaveKeepsThePreviousFile) {
    app_test::WriteFile(path, WindowedConfig());
    fs::create_directory(path + ".tmp");
    EXPECT_FALSE(session.SaveConfig("config.cfg", mode, false));
    EXPECT_EQ(app_test::ReadFile(path), WindowedConfig());
    EXPECT_NE(Log().find("Couldn't save config data"), std::string::npos);
    fs::remove(path + ".tmp");
}

}  // namespace
