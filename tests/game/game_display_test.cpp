// The game on real X servers, each with one display mode: the fullscreen
// cursor, driven through the game's own message and frame loop, where relative
// mouse motion takes the cursor to both edges of a mode narrower than the
// design width and the pointer is confined again after the window was
// unmapped, mapped and focused (a minimise and restore, as alt-tab gives); and
// the letterbox band of the splash pictures on a desktop narrower than 4:3.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/backend/video.h"
#include "engine/framework/app_test_support.h"
#include "engine/platform/input_devices.h"
#include "game/game_app.h"
#include "game/game_app_fixture.h"

namespace {

// Runs one step of a script at every frame's update, once the frames asked for
// by the step before have passed. The last step closes the window.
class CScriptedGameApp : public game_test::CTestGameApp {
public:
    struct Step {
        std::function<void()> action;
        int framesAfter = 0;
    };

    HResult OnUpdate() override {
        const HResult result = CGameApp::OnUpdate();
        if (m_wait > 0) {
            --m_wait;
        } else if (m_next < steps.size()) {
            const Step& step = steps[m_next++];
            step.action();
            m_wait = step.framesAfter;
        } else {
            SendMessage(WM_CLOSE);
        }
        return result;
    }

    std::intptr_t MsgProc(std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override {
        const std::intptr_t result = CGameApp::MsgProc(message, wParam, lParam);
        if (message == WM_SIZE && wParam == SIZE_MINIMIZED && GetWindow() != nullptr) {
            minimised = true;
            confinedWhileMinimised = GetWindow()->IsCursorConfined();
        }
        return result;
    }

    std::vector<Step> steps;
    bool minimised = false;
    bool confinedWhileMinimised = false;

private:
    std::size_t m_next = 0;
    int m_wait = 0;
};

int Xdotool(const std::string& arguments) {
    const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

// Needs a real X display with one 800 x 600 mode:
// tests/scripts/app_display_xvfb.sh runs it under Xvfb with CORVALEN_XVFB_800 set.
TEST(GameAppCursorTest, FullscreenCursorReachesTheEdgesAndTheClipReturnsAfterARestore) {
    if (std::getenv("CORVALEN_XVFB_800") == nullptr || std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "runs under Xvfb from tests/scripts/app_display_xvfb.sh";
    }
    app_test::PrivateFolder();
    g_inputDevices.GetState() = InputState{};
    CScriptedGameApp app;
    ASSERT_EQ(app.Create(), RESULT_OK);
    // The default request of 1024 x 768 falls back to the only mode there is.
    ASSERT_FALSE(app.IsWindowed());
    ASSERT_EQ(app.GetBackBufferWidth(), 800);
    ASSERT_EQ(app.GetBackBufferHeight(), 600);

    const InputState& input = g_inputDevices.GetState();
    std::string window;
    std::vector<std::pair<float, float>> cursors;
    bool confinedAtStart = false;
    bool confinedAtEnd = false;
    const auto noteCursor = [&] { cursors.emplace_back(input.cursorX, input.cursorY); };
    constexpr int SETTLE = 20;
    app.steps = {
        {[&] {
             // The window's id, found by its title.
             std::FILE* search = popen("xdotool search --name '^Corvalen$' 2>/dev/null", "r");
             char line[64] = {};
             if (search != nullptr && std::fgets(line, sizeof line, search) != nullptr) {
                 window = std::string(line, std::strcspn(line, "\n"));
             }
             if (search != nullptr) {
                 pclose(search);
             }
             Xdotool("windowfocus --sync " + window);
         },
         SETTLE},
        {[&] {
             confinedAtStart = app.GetWindow()->IsCursorConfined();
             noteCursor();
             // Far more than the screen is wide: the system pointer stops at
             // the edge, the relative motion does not.
             Xdotool("mousemove_relative -- 2000 2000");
         },
         SETTLE},
        {[&] {
             noteCursor();
             Xdotool("mousemove_relative -- -4000 -4000");
         },
         SETTLE},
        {[&] {
             noteCursor();
             Xdotool("windowunmap --sync " + window);
             Xdotool("windowmap --sync " + window);
             Xdotool("windowfocus --sync " + window);
         },
         SETTLE},
        {[&] { confinedAtEnd = app.GetWindow()->IsCursorConfined(); }, 0},
    };
    EXPECT_EQ(app.Run(), 0);

    ASSERT_FALSE(window.empty()) << "no window titled Corvalen";
    ASSERT_EQ(cursors.size(), 3u) << "the script did not run to its end";
    EXPECT_FLOAT_EQ(cursors[0].first, 400.0f) << "starts in the middle";
    EXPECT_FLOAT_EQ(cursors[0].second, 300.0f);
    EXPECT_FLOAT_EQ(cursors[1].first, 800.0f);
    EXPECT_FLOAT_EQ(cursors[1].second, 600.0f);
    EXPECT_FLOAT_EQ(cursors[2].first, 0.0f);
    EXPECT_FLOAT_EQ(cursors[2].second, 0.0f);
    EXPECT_TRUE(confinedAtStart);
    EXPECT_TRUE(app.minimised) << "the unmap was not seen as a minimise";
    EXPECT_FALSE(app.confinedWhileMinimised);
    EXPECT_TRUE(confinedAtEnd) << "the clip was not taken up again after the restore";
}

// Needs a real X display with one 1280 x 1024 mode (5:4):
// tests/scripts/app_display_xvfb.sh runs it under Xvfb with CORVALEN_XVFB_1280 set.
TEST(GameAppDesktopTest, LetterboxBandOnANarrowDesktopOnlyInFullscreen) {
    if (std::getenv("CORVALEN_XVFB_1280") == nullptr || std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "runs under Xvfb from tests/scripts/app_display_xvfb.sh";
    }
    app_test::PrivateFolder();
    CScriptedGameApp app;
    ASSERT_EQ(app.Create(), RESULT_OK);
    ASSERT_FALSE(app.IsWindowed());
    ASSERT_EQ(app.GetBackBufferWidth(), 1280);
    ASSERT_EQ(app.GetBackBufferHeight(), 1024);
    // Band = (1024 / 1280 - 0.75) x 1280 / 2 = 32 rows at the top and bottom.
    EXPECT_FLOAT_EQ(app.GetSplashOffsetY(), 32.0f);
    EXPECT_FLOAT_EQ(app.GetSplashScaleY(), (1024.0f - 64.0f) / 768.0f);
    EXPECT_FLOAT_EQ(app.GetSplashScaleX(), 1280.0f / 1024.0f);
    EXPECT_FLOAT_EQ(app.GetSplashOffsetX(), 0.0f);
    // Everything but the splash is drawn without a band.
    EXPECT_FLOAT_EQ(app.GetScaleY(), 1024.0f / 768.0f);
    EXPECT_FLOAT_EQ(app.GetOffsetY(), 0.0f);

    app.SendMessage(WM_COMMAND, COMMAND_TOGGLE_FULLSCREEN);
    ASSERT_TRUE(app.IsWindowed());
    EXPECT_FLOAT_EQ(app.GetSplashOffsetY(), 0.0f);
    EXPECT_FLOAT_EQ(app.GetSplashScaleY(), 600.0f / 768.0f);
    app.SendMessage(WM_CLOSE);
}

}  // namespace
