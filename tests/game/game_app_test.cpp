// The game application on the headless backend: start-up with the language
// texts, the per-frame input poll, the windowed cursor and the close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/backend/input.h"
#include "engine/framework/app_test_support.h"
#include "engine/platform/html_log.h"
#include "engine/platform/text_storage.h"
#include "game/game_app.h"

namespace {

class CTestGameApp : public CGameApp {
public:
    CTestGameApp() { m_instanceName = app_test::UniqueInstanceName(); }
    ~CTestGameApp() override { app_test::BalancePauses(*this); }
};

class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        backend::LiveInput() = backend::InputSnapshot{};
        // The global keeps its state from one application to the next.
        g_inputDevices.GetState() = InputState{};
        folder = std::make_unique<app_test::CScopedWorkingFolder>();
        folder->WriteData("language.xml",
                          "<Languages><Language current=\"English\"/>"
                          "<English text_data=\"english.xml\"/></Languages>");
        folder->WriteData("english.xml",
                          "<texts><text id=\"HELLO\" data=\"H\xC3\xA4llo \xF0\x9D\x84\x9E\"/>"
                          "</texts>");
    }
    void TearDown() override {
        app.reset();
        TextStorage().Clear();
        folder.reset();
    }

    void Start() {
        app = std::make_unique<CTestGameApp>();
        ASSERT_EQ(app->Create(), RESULT_OK);
    }

    // One frame with time moving on.
    HResult Frame() {
        clock.Advance(0.02);
        return app->RenderFrame();
    }

    static std::string Log() { return app_test::ReadFile(HtmlLog().GetLogPath()); }

    app_test::CManualClock clock;
    app_test::CCountingAudio audio;
    std::unique_ptr<app_test::CScopedWorkingFolder> folder;
    std::unique_ptr<CTestGameApp> app;
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

// Needs a real X display: tests/scripts/app_window_xvfb.sh runs it under Xvfb
// with CORVALEN_SCREENSHOT_DIR set, and checks the pictures it takes.
TEST(GameAppWindowTest, ScreenshotsOfFullscreenAndWindowed) {
    const char* shots = std::getenv("CORVALEN_SCREENSHOT_DIR");
    if (shots == nullptr || std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "runs under Xvfb from tests/scripts/app_window_xvfb.sh";
    }
    app_test::PrivateFolder();
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
