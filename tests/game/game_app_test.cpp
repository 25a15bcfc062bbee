// The game application on the headless backend: start-up with the language
// texts, the per-frame input poll, the windowed cursor and the close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/backend/input.h"
#include "engine/framework/app_test_support.h"
#include "engine/media/fake_audio.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "frontend/menu_command.h"
#include "game/game_app.h"
#include "game/game_app_fixture.h"
#include "game/session_test_support.h"

namespace {

using game_test::CTestGameApp;

class GameAppTest : public game_test::GameAppFixture {
protected:
    void SetUp() override {
        GameAppFixture::SetUp();
        folder->WriteData("language.xml",
                          "<Languages><Language current=\"English\"/>"
                          "<English text_data=\"english.xml\"/></Languages>");
        folder->WriteData("english.xml",
                          "<texts><text id=\"HELLO\" data=\"H\xC3\xA4llo \xF0\x9D\x84\x9E\"/>"
                          "</texts>");
    }

    // One frame with time moving on.
    HResult Frame() {
        clock.Advance(0.02);
        return app->RenderFrame();
    }

    void Command(std::uint32_t command, std::intptr_t value = 0) {
        app->SendMessage(WM_COMMAND, command, value);
    }
    void Type(std::u16string_view units) {
        for (const char16_t unit : units) {
            app->SendMessage(WM_CHAR, unit);
        }
    }

    // Keeps the sound closed: the game runs without it.
    app_test::CCountingAudio audio;
};

TEST_F(GameAppTest, StartUpLoadsTheLanguageAndLogsInOrder) {
    Start();
    EXPECT_EQ(TextStorage().GetText("HELLO"), u"H\u00E4llo \U0001D11E");
    EXPECT_FLOAT_EQ(app->GetScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(app->GetScaleY(), 1.0f);
    EXPECT_FLOAT_EQ(app->GetSplashOffsetY(), 0.0f);  // a 4:3 desktop has no band
    EXPECT_TRUE(g_inputDevices.HasMouse());
    EXPECT_TRUE(g_inputDevices.HasKeyboard());
    EXPECT_FLOAT_EQ(g_inputDevices.GetState().cursorX, 512.0f);

    const std::string log = Log();
    const char* const inOrder[] = {"Creating window",
                                   "Initializing language",
                                   "Current language: English (english.xml)",
                                   "Initializing text data",
                                   "Initialization is completed (1)",
                                   "Run mode: fullscreen (1024x768x22)",
                                   "Creating Direct3D device",
                                   "Complete (VPT 128)",
                                   "Initializing DirectInput8 devices",
                                   "Complete<BR>"};
    std::size_t at = 0;
    for (const char* line : inOrder) {
        const std::size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found;
    }
    EXPECT_NE(log.find("<Font Size = 2 Color = 884400 Face = Verdana>"), std::string::npos);
}

TEST_F(GameAppTest, EveryFrameStartsWithOnePollOfKeyboardAndMouse) {
    Start();
    backend::LiveInput().buttons[0] = 0x80;
    backend::LiveInput().keys[backend::SCAN_RETURN] = 0x80;
    backend::LiveInput().relativeX = 10;
    ASSERT_EQ(Frame(), RESULT_OK);
    const InputState& state = g_inputDevices.GetState();
    EXPECT_TRUE(state.ButtonWentDown(0));
    EXPECT_TRUE(state.KeyWentDown(backend::SCAN_RETURN));
    EXPECT_FLOAT_EQ(state.cursorX, 524.0f);  // fullscreen: the poll moves the cursor

    ASSERT_EQ(Frame(), RESULT_OK);
    EXPECT_FALSE(state.ButtonWentDown(0));
    EXPECT_TRUE(state.IsButtonDown(0));
    EXPECT_FALSE(state.KeyWentDown(backend::SCAN_RETURN));

    // No time, no frame: the poll waits too.
    backend::LiveInput().buttons[0] = 0x00;
    ASSERT_EQ(app->RenderFrame(), RESULT_OK);
    EXPECT_TRUE(state.IsButtonDown(0));
}

TEST_F(GameAppTest, MouseMovesSetTheCursorOnlyInAnActiveWindow) {
    Start();
    InputState& state = g_inputDevices.GetState();
    app->SendMessage(WM_MOUSEMOVE, 0, PointLParam(10, 20));
    EXPECT_FLOAT_EQ(state.cursorX, 512.0f) << "fullscreen";
    EXPECT_FLOAT_EQ(state.cursorY, 384.0f) << "fullscreen";

    app->SendMessage(WM_COMMAND, COMMAND_TOGGLE_FULLSCREEN);
    ASSERT_TRUE(app->IsWindowed());
    EXPECT_FLOAT_EQ(app->GetScaleX(), 800.0f / 1024.0f);
    EXPECT_FLOAT_EQ(app->GetScaleY(), 600.0f / 768.0f);
    app->SendMessage(WM_MOUSEMOVE, 0, PointLParam(10, 20));
    EXPECT_FLOAT_EQ(state.cursorX, 10.0f);
    EXPECT_FLOAT_EQ(state.cursorY, 20.0f);

    // The window's own pixels, not scaled; a frame's poll leaves them alone.
    ASSERT_EQ(Frame(), RESULT_OK);
    EXPECT_FLOAT_EQ(state.cursorX, 10.0f);

    app->SendMessage(WM_ACTIVATEAPP, 0);
    app->SendMessage(WM_MOUSEMOVE, 0, PointLParam(30, 40));
    EXPECT_FLOAT_EQ(state.cursorX, 10.0f) << "paused";
}

TEST_F(GameAppTest, CloseOpensTheLinksOnceThenShutsDown) {
    Start();
    ::testing::internal::CaptureStderr();
    app->SendMessage(WM_CLOSE);
    app->SendMessage(WM_COMMAND, COMMAND_CLOSE);
    app->SendMessage(WM_CLOSE);
    const std::string requests = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(app_test::CountOf(requests, "\"play.url\""), 1u);
    EXPECT_EQ(app_test::CountOf(requests, "\"fscommand/tovask.exe\""), 1u);
    EXPECT_LT(requests.find("play.url"), requests.find("fscommand/tovask.exe"));
    EXPECT_FALSE(g_inputDevices.HasMouse());
    EXPECT_FALSE(g_inputDevices.HasKeyboard());
    EXPECT_EQ(app->GetWindow(), nullptr);
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app_test::CountOf(Log(), "Log is finished"), 1u);
}

TEST_F(GameAppTest, AFirstStartFadesToTheMenuWithTheNameEntryOpen) {
    Start();
    EXPECT_TRUE(g_gameSession.HadNoProfilesAtStart());
    EXPECT_EQ(g_gameSession.GetGameMode(), MODE_LOADING | MODE_FADE_OUT);
    const std::string log = Log();
    EXPECT_LT(log.find("Load config data ("), log.find("Initializing language"));
    EXPECT_LT(log.find("Initializing language"), log.find("Load profiles data ("));
    EXPECT_LT(log.find("No profiles data"), log.find("Run mode: fullscreen (1024x768x22)"));

    ASSERT_EQ(Frame(), RESULT_OK);
    EXPECT_TRUE(g_gameSession.IsNameEntryOpen()) << "asked for by the first frame";
    // 255 to black at 500 a second, one more frame to see it, then the menu.
    for (int i = 0; i < 30 && g_gameSession.GetGameMode() != MODE_MENU; ++i) {
        ASSERT_EQ(Frame(), RESULT_OK);
    }
    EXPECT_EQ(g_gameSession.GetGameMode(), MODE_MENU);

    Type(u" Ann\r");
    EXPECT_FALSE(g_gameSession.IsNameEntryOpen());
    EXPECT_FALSE(g_gameSession.HadNoProfilesAtStart());
    ASSERT_EQ(g_gameSession.GetProfileCount(), 1);
    EXPECT_EQ(g_gameSession.GetCurrentProfile()->GetName(), u"Ann");
    EXPECT_EQ(std::filesystem::file_size(UserFile("profiles.sav")), CProfile::RECORD_SIZE);
    ASSERT_EQ(Frame(), RESULT_OK);
    EXPECT_FALSE(g_gameSession.IsNameEntryOpen()) << "a player exists now";
}

TEST_F(GameAppTest, PlayerCommandsOpenClearAddAndRefuse) {
    app_test::WriteFile(UserFile("profiles.sav"), session_test::ProfileFile({CProfile(u"Bo")}));
    Start();
    EXPECT_FALSE(g_gameSession.HadNoProfilesAtStart());
    Type(u"x");
    EXPECT_TRUE(g_gameSession.GetTypedName().empty()) << "the entry is closed";

    Command(COMMAND_EDIT_PLAYER_NAME);
    EXPECT_TRUE(g_gameSession.IsNameEntryOpen());
    Type(u"Bo");
    Command(COMMAND_CANCEL_EDIT_PLAYER_NAME);
    EXPECT_FALSE(g_gameSession.IsNameEntryOpen());
    Command(COMMAND_EDIT_PLAYER_NAME);
    EXPECT_TRUE(g_gameSession.GetTypedName().empty()) << "opening clears the name";

    Command(COMMAND_NEW_PLAYER);
    EXPECT_TRUE(g_gameSession.IsNameEntryOpen()) << "an empty name adds nobody";
    EXPECT_EQ(g_gameSession.GetProfileCount(), 1);
    Type(u"Bo\r");
    EXPECT_TRUE(g_gameSession.IsNameEntryOpen()) << "a taken name is refused";
    EXPECT_EQ(g_gameSession.GetProfileCount(), 1);
    Type(u"b");
    Command(COMMAND_NEW_PLAYER);
    EXPECT_FALSE(g_gameSession.IsNameEntryOpen());
    ASSERT_EQ(g_gameSession.GetProfileCount(), 2);
    EXPECT_EQ(g_gameSession.GetCurrentProfile()->GetName(), u"Bob");
}

TEST_F(GameAppTest, ProfileCommandsActOnTheChosenSlot) {
    // Four slots at y 0, 100, 200 and 300, 206 x 61 each, centred on x 103.
    std::string slots;
    for (int i = 1; i <= 4; ++i) {
        slots += "<item id=\"S" + std::to_string(i) +
                 "\" type=\"_PROFILE\" group_id=\"G\" x=\"103\" y=\"" +
                 std::to_string((i - 1) * 100) + "\"/>";
    }
    folder->WriteData("menu.xml", "<Menu><item id=\"PLAYERS\" func=\"_select_player\">" + slots +
                                      "</item></Menu>");
    app_test::WriteFile(
        UserFile("profiles.sav"),
        session_test::ProfileFile({CProfile(u"Ann"), CProfile(u"Bo"), CProfile(u"Cy")}));
    Start();
    ASSERT_TRUE(g_menu.OpenSubmenu("PLAYERS"));
    // A slot clicked twice: selected, then confirmed through the window.
    const auto click = [this](float y) {
        for (const bool down : {true, false}) {
            InputState input;
            input.cursorX = 50.0f;
            input.cursorY = y;
            input.currentMouse.buttons[0] = down ? 0x80 : 0;
            input.previousMouse.buttons[0] = down ? 0 : 0x80;
            ASSERT_TRUE(g_menu.Update(*app, input, 0.0f));
        }
    };
    click(130.0f);
    click(130.0f);
    ASSERT_NE(g_gameSession.GetCurrentProfile(), nullptr);
    EXPECT_EQ(g_gameSession.GetCurrentProfile()->GetName(), u"Bo");
    EXPECT_EQ(g_menu.GetCurrentId(), "") << "confirming goes back a page";

    // Delete the first slot's player: the slots are filled again.
    g_menu.SetGroupValue("G", 0);
    g_menu.FindItem("S1")->value = 1;
    Command(COMMAND_DELETE_PLAYER);
    ASSERT_EQ(g_gameSession.GetProfileCount(), 2);
    EXPECT_EQ(g_menu.FindItem("S1")->text, u"Bo");
    EXPECT_EQ(g_menu.FindItem("S2")->text, u"Cy");
    EXPECT_TRUE(g_menu.FindItem("S3")->disabled);
    EXPECT_EQ(g_menu.GetSelectedProfileName(), u"Bo") << "the current player's slot";
    EXPECT_EQ(std::filesystem::file_size(UserFile("profiles.sav")), 2 * CProfile::RECORD_SIZE);

    // Select through the command: the second slot's player becomes current.
    g_menu.SetGroupValue("G", 0);
    g_menu.FindItem("S2")->value = 1;
    Command(COMMAND_SELECT_PLAYER);
    EXPECT_EQ(g_gameSession.GetCurrentProfile()->GetName(), u"Cy");

    // Without a chosen slot nothing is deleted.
    g_menu.SetGroupValue("G", 0);
    Command(COMMAND_DELETE_PLAYER);
    EXPECT_EQ(g_gameSession.GetProfileCount(), 2);
}

TEST_F(GameAppTest, VolumeCommandsSetTheVolumesThatTheCloseSaves) {
    Start();
    Command(COMMAND_SET_MUSIC_VOLUME, 33);
    Command(COMMAND_SET_SOUND_VOLUME, 44);
    EXPECT_EQ(Sound().GetVolume(SoundType::Stream), 33);
    EXPECT_EQ(Sound().GetVolume(SoundType::Sample), 44);
    app->SendMessage(WM_CLOSE);
    const std::string expected("\x16\0\0\0\0\x04\0\0\0\x03\0\0\0\0\0\0\x21\0\0\0\x2c\0\0\0", 24);
    EXPECT_EQ(app_test::ReadFile(UserFile("config.cfg")), expected);
}

TEST_F(GameAppTest, AWindowedConfigStartsWindowedAndIsSavedUnchanged) {
    const std::string config("\x16\0\0\0\0\x04\0\0\0\x03\0\0\x01\0\0\0\x28\0\0\0\x3c\0\0\0", 24);
    app_test::WriteFile(UserFile("config.cfg"), config);
    Start();
    EXPECT_TRUE(app->IsWindowed());
    EXPECT_EQ(app->GetBackBufferWidth(), 800);
    EXPECT_NE(Log().find("Run mode: windowed"), std::string::npos);
    EXPECT_EQ(Sound().GetVolume(SoundType::Stream), 40);
    EXPECT_EQ(Sound().GetVolume(SoundType::Sample), 60);
    app->SendMessage(WM_CLOSE);
    EXPECT_EQ(app_test::ReadFile(UserFile("config.cfg")), config);
    EXPECT_NE(Log().find("Save config data ("), std::string::npos);
}

TEST_F(GameAppTest, MenuCommandsShowTheScoresAndSwitchBetweenCreditsAndMenuMusic) {
    // Two streams on an audio device whose channels the test can read.
    media_test::CFakeAudio streams;
    folder->WriteData("resources.xml",
                      "<Resources><Stream id=\"MENU\" path=\"menu.ogg\"/>"
                      "<Stream id=\"CREDITS\" path=\"credits.ogg\"/></Resources>");
    Start();
    for (int i = 0; i < 30 && g_gameSession.GetGameMode() != MODE_MENU; ++i) {
        ASSERT_EQ(Frame(), RESULT_OK);
    }
    ASSERT_EQ(g_gameSession.GetGameMode(), MODE_MENU);
    const auto playing = [&](int stream) {
        const backend::AudioHandle handle =
            ResourceManager::Instance().Streams().at(static_cast<std::size_t>(stream)).stream;
        return streams.channels[handle].state == backend::ChannelState::Playing;
    };
    CCreditsScroller& credits = g_gameSession.GetCredits();

    Command(COMMAND_SHOW_HIGH_SCORES);
    EXPECT_TRUE(g_highScores.IsVisible());
    Command(COMMAND_HIDE_HIGH_SCORES);
    EXPECT_FALSE(g_highScores.IsVisible());

    Command(COMMAND_SHOW_CREDITS);
    EXPECT_TRUE(playing(1));
    EXPECT_FALSE(playing(0));
    EXPECT_TRUE(credits.IsActive());
    EXPECT_EQ(credits.GetScrollPosition(),
              (Vec2{CCreditsScroller::START_X, CCreditsScroller::START_Y}));
    ASSERT_EQ(Frame(), RESULT_OK);
    EXPECT_LT(credits.GetScrollPosition().y, CCreditsScroller::START_Y) << "the menu frame scrolls";

    Command(COMMAND_HIDE_CREDITS);
    EXPECT_TRUE(playing(0));
    EXPECT_FALSE(playing(1));
    EXPECT_FALSE(credits.IsActive());
    // The application goes before the audio device it plays on.
    app.reset();
}

TEST_F(GameAppTest, TheWorldMovesOnlyInPlayAndInTheShopNotUnderAnyOtherBit) {
    Start();
    ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
    struct Case {
        std::uint32_t mode;
        bool moves;
    };
    const Case cases[] = {
        {MODE_GAME, true},
        {MODE_GAME | MODE_TRAINING | MODE_SHOP, true},
        {MODE_GAME | MODE_PAUSED, false},
        {MODE_GAME | MODE_SHOP | MODE_FADE_OUT | MODE_LEAVE_SCREEN, false},
        {MODE_GAME | MODE_MAP, false},
    };
    // An order still to come keeps the level from ending under the world.
    g_orderList.Clear();
    g_orderList.AddOrder(0, 1, 1000.0f, false);
    for (const Case& c : cases) {
        g_hintManager.Clear();
        g_hintManager.AddHint(HintDesc{});
        g_gameSession.SetGameMode(c.mode);
        ASSERT_EQ(Frame(), RESULT_OK);
        EXPECT_EQ(g_hintManager.GetWindows().front().panelAlpha > 0.0f, c.moves)
            << std::hex << c.mode;
    }
    g_hintManager.Clear();
    g_orderList.Clear();
}

// Needs a real X display: tests/scripts/app_window_xvfb.sh runs it under Xvfb
// with CORVALEN_SCREENSHOT_DIR set, and checks the pictures it takes.
TEST(GameAppWindowTest, ScreenshotsOfFullscreenAndWindowed) {
    const char* shots = std::getenv("CORVALEN_SCREENSHOT_DIR");
    if (shots == nullptr || std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "runs under Xvfb from tests/scripts/app_window_xvfb.sh";
    }
    app_test::PrivateFolder();
    // A player exists, so the name entry stays closed and the root page shows.
    app_test::WriteFile(HtmlLog().GetUserFolder() + "profiles.sav",
                        session_test::ProfileFile({CProfile(u"Window")}));
    CTestGameApp app;
    ASSERT_EQ(app.Create(), RESULT_OK);
    const auto runFor = [&app](int frames) {
        for (int i = 0; i < frames; ++i) {
            backend::Event event;
            while (app.GetWindow()->PollEvent(event)) {
            }
            app.RenderFrame();
            backend::Clock().Sleep(10);
        }
    };
    const auto screenshot = [shots](const char* name) {
        const std::string command =
            std::string("import -window root '") + shots + "/" + name + "' 2>/dev/null";
        return std::system(command.c_str());
    };

    runFor(50);
    EXPECT_TRUE(app.GetWindow()->IsFullscreen());
    EXPECT_EQ(app.GetBackBufferWidth(), 1024);
    EXPECT_EQ(app.GetBackBufferHeight(), 768);
    EXPECT_EQ(screenshot("fullscreen.png"), 0);

    app.SendMessage(WM_COMMAND, COMMAND_TOGGLE_FULLSCREEN);
    runFor(50);
    int width = 0;
    int height = 0;
    app.GetWindow()->ClientSize(width, height);
    EXPECT_FALSE(app.GetWindow()->IsFullscreen());
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(app.GetBackBufferWidth(), 800);
    EXPECT_EQ(app.GetBackBufferHeight(), 600);
    EXPECT_EQ(screenshot("windowed.png"), 0);

    app.SendMessage(WM_CLOSE);
}

}  // namespace
