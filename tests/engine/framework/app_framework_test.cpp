// The framework driven message by message and frame by frame on the headless
// backend: the nestable pause, frames without elapsed time, device loss and
// reset, the framework commands and the close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/app_framework.h"
#include "engine/framework/app_test_support.h"
#include "engine/framework/app_timer.h"
#include "engine/framework/framework_test_app.h"
#include "engine/platform/html_log.h"

namespace {

using Calls = std::vector<std::string>;

class AppFrameworkTest : public ::testing::Test {
protected:
    void SetUp() override { app_test::PrivateFolder(); }

    void Start() {
        app = std::make_unique<CRecordingApp>();
        ASSERT_EQ(app->Create(), RESULT_OK);
        app->calls.clear();
        // Settle the frame measurement on the test's clock.
        AppTimer(TIMER_GET_ELAPSED_TIME);
    }

    HResult Frame(double seconds) {
        clock.Advance(seconds);
        return app->RenderFrame();
    }

    std::string Log() const { return app_test::ReadFile(HtmlLog().GetLogPath()); }

    app_test::CManualClock clock;
    app_test::CCountingAudio audio;
    std::unique_ptr<CRecordingApp> app;
};

TEST_F(AppFrameworkTest, StartsFullscreenAtTheDefaultModeAndActive) {
    app = std::make_unique<CRecordingApp>();
    EXPECT_EQ(CAppFramework::GetPauseCount(), 1);
    EXPECT_FALSE(app->IsActive());
    ASSERT_EQ(app->Create(), RESULT_OK);

    EXPECT_EQ(app->calls, (Calls{"OnInitOnce", "OnDeviceCreated", "OnDeviceReset"}));
    EXPECT_EQ(CAppFramework::GetPauseCount(), 0);
    EXPECT_TRUE(app->IsActive());
    EXPECT_FALSE(app->IsWindowed());
    EXPECT_EQ(app->GetBackBufferWidth(), 1024);
    EXPECT_EQ(app->GetBackBufferHeight(), 768);
    EXPECT_EQ(app->GetPresentParameters().backBufferFormat, FORMAT_X8R8G8B8);
    // The constructor's pause reached the sound output, and Create's end let it go.
    EXPECT_EQ(audio.pauses, 1);
    EXPECT_EQ(audio.resumes, 1);

    const std::string log = Log();
    const char* const inOrder[] = {"Desktop resolution:",      "1024x768<BR>",
                                   "Available display modes:", "1024x768x22 <BR>",
                                   "Creating window",          "Creating Direct3D device",
                                   "Complete (VPT 128)"};
    std::size_t at = 0;
    for (const char* line : inOrder) {
        const std::size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found;
    }
}

TEST_F(AppFrameworkTest, PauseCounterFollowsFocusMinimiseAndUnpairedMessages) {
    Start();
    struct Step {
        const char* what;
        std::uint32_t message;
        std::uintptr_t wParam;
        int count;
        int pauses;
        int resumes;
    };
    // Counts of the sound output start at 1 and 1 from Create.
    const Step steps[] = {
        {"focus lost", WM_ACTIVATEAPP, 0, 1, 2, 1},
        {"focus lost again (already inactive)", WM_ACTIVATE, 0, 1, 2, 1},
        {"minimised", WM_SIZE, SIZE_MINIMIZED, 2, 2, 1},
        {"restored", WM_SIZE, SIZE_RESTORED, 1, 2, 1},
        {"focus back", WM_ACTIVATEAPP, 1, 0, 2, 2},
        {"focus back again (already active)", WM_ACTIVATE, 2, 0, 2, 2},
        {"restore without minimise", WM_SIZE, SIZE_RESTORED, 0, 2, 2},
        {"menu loop left, never entered", WM_EXITMENULOOP, 0, -1, 2, 2},
        {"size loop entered", WM_ENTERSIZEMOVE, 0, 0, 2, 3},
        {"size loop entered", WM_ENTERSIZEMOVE, 0, 1, 3, 3},
        {"size loop left", WM_EXITSIZEMOVE, 0, 0, 3, 4},
    };
    for (const Step& step : steps) {
        app->SendMessage(step.message, step.wParam);
        EXPECT_EQ(CAppFramework::GetPauseCount(), step.count) << step.what;
        EXPECT_EQ(app->IsActive(), step.count == 0) << step.what;
        EXPECT_EQ(audio.pauses, step.pauses) << step.what;
        EXPECT_EQ(audio.resumes, step.resumes) << step.what;
    }
}

TEST_F(AppFrameworkTest, PausedTimeNeverReachesTheGame) {
    Start();
    ASSERT_EQ(Frame(0.5), RESULT_OK);
    const float before = app->GetAppTime();
    app->SendMessage(WM_ACTIVATEAPP, 0);
    clock.Advance(5.0);
    app->SendMessage(WM_ACTIVATEAPP, 1);
    ASSERT_EQ(Frame(0.25), RESULT_OK);
    EXPECT_NEAR(app->GetElapsedTime(), 0.25f, 1e-4f);
    EXPECT_NEAR(app->GetAppTime() - before, 0.25f, 1e-4f);
}

TEST_F(AppFrameworkTest, FrameWithoutElapsedTimeDoesNothing) {
    Start();
    ASSERT_EQ(app->RenderFrame(), RESULT_OK);
    EXPECT_EQ(app->updates, 0);
    EXPECT_EQ(app->renders, 0);
    EXPECT_EQ(app->presents, 0);

    ASSERT_EQ(Frame(0.02), RESULT_OK);
    EXPECT_EQ(app->updates, 1);
    EXPECT_EQ(app->renders, 1);
    EXPECT_EQ(app->presents, 1);
    EXPECT_NEAR(app->GetElapsedTime(), 0.02f, 1e-5f);
}

TEST_F(AppFrameworkTest, FramesThatPresentEarlyWaitOutTheRefreshPeriod) {
    // The dummy display gives no refresh rate: 60 Hz is assumed. Each frame
    // here takes 1 ms of work, so the loop would spin without the wait.
    constexpr double PERIOD = 1.0 / 60.0;
    Start();
    ASSERT_EQ(Frame(0.001), RESULT_OK);
    const double start = clock.Seconds();
    constexpr int FRAMES = 30;
    for (int i = 0; i < FRAMES; ++i) {
        ASSERT_EQ(Frame(0.001), RESULT_OK);
        if (i > 0) {
            // The wait after the previous frame is part of this one's step.
            EXPECT_NEAR(app->GetElapsedTime(), PERIOD, 0.0015) << "frame " << i;
        }
    }
    // Slept in whole milliseconds, yet not a frame too many over the run.
    EXPECT_NEAR(clock.Seconds() - start, FRAMES * PERIOD, 0.0015);
    EXPECT_EQ(app->presents, FRAMES + 1);

    // A frame slower than the period is not held up further.
    const double before = clock.Seconds();
    ASSERT_EQ(Frame(0.05), RESULT_OK);
    EXPECT_NEAR(clock.Seconds() - before, 0.05, 1e-9);
}

TEST_F(AppFrameworkTest, FrameMovingOffDrawsWithoutUpdatesExceptSingleSteps) {
    Start();
    app->SendMessage(WM_COMMAND, COMMAND_TOGGLE_FRAME_MOVING);
    EXPECT_FALSE(app->IsFrameMoving());
    ASSERT_EQ(Frame(0.5), RESULT_OK);
    EXPECT_EQ(app->updates, 0);
    EXPECT_EQ(app->renders, 1);

    // A single step moves the stopped clock on by a tenth of a second.
    app->SendMessage(WM_COMMAND, COMMAND_SINGLE_STEP);
    ASSERT_EQ(Frame(0.5), RESULT_OK);
    EXPECT_EQ(app->updates, 1);
    EXPECT_NEAR(app->GetElapsedTime(), 0.1f, 1e-5f);
    ASSERT_EQ(Frame(0.5), RESULT_OK);
    EXPECT_EQ(app->updates, 1);

    app->SendMessage(WM_COMMAND, COMMAND_TOGGLE_FRAME_MOVING);
    ASSERT_EQ(Frame(0.25), RESULT_OK);
    EXPECT_EQ(app->updates, 2);
    EXPECT_NEAR(app->GetElapsedTime(), 0.25f, 1e-5f);
}

TEST_F(AppFrameworkTest, SingleStepWhileMovingStopsTheClock) {
    Start();
    app->SendMessage(WM_COMMAND, COMMAND_SINGLE_STEP);
    EXPECT_FALSE(app->IsFrameMoving());
    EXPECT_TRUE(app->IsSingleStep());
    ASSERT_EQ(Frame(1.0), RESULT_OK);
    EXPECT_EQ(app->updates, 1);
    EXPECT_FLOAT_EQ(app->GetElapsedTime(), 0.0f);
    EXPECT_FALSE(app->IsSingleStep());
}

TEST_F(AppFrameworkTest, LostDeviceSkipsFramesUntilItCanBeReset) {
    Start();
    app->GetDevice()->SimulateStatus(backend::DeviceStatus::Lost);
    ASSERT_EQ(Frame(0.1), RESULT_OK);  // the present finds the device lost
    EXPECT_TRUE(app->IsDeviceLost());
    EXPECT_EQ(app->updates, 1);

    ASSERT_EQ(Frame(0.1), RESULT_OK);
    EXPECT_EQ(app->updates, 1);
    EXPECT_EQ(app->renders, 1);
    EXPECT_TRUE(app->calls.empty());

    // Ready for a reset: this frame only resets.
    app->GetDevice()->SimulateStatus(backend::DeviceStatus::NeedsReset);
    ASSERT_EQ(Frame(0.1), RESULT_OK);
    EXPECT_EQ(app->calls, (Calls{"OnDeviceLost", "OnDeviceReset"}));
    EXPECT_EQ(app->updates, 1);
    EXPECT_EQ(app->renders, 1);

    ASSERT_EQ(Frame(0.1), RESULT_OK);
    EXPECT_FALSE(app->IsDeviceLost());
    EXPECT_EQ(app->updates, 2);
    EXPECT_EQ(app->renders, 2);
}

TEST_F(AppFrameworkTest, FailedResetClosesTheProgramFromTheLoop) {
    Start();
    app->GetDevice()->SimulateStatus(backend::DeviceStatus::Lost);
    ASSERT_EQ(Frame(0.1), RESULT_OK);
    app->GetDevice()->SimulateStatus(backend::DeviceStatus::NeedsReset, true);
    clock.Advance(0.1);

    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app->calls, (Calls{"OnDeviceLost", "OnDeviceDestroyed", "OnShutdown"}));
    EXPECT_EQ(app->GetWindow(), nullptr);
    EXPECT_EQ(app->GetDevice(), nullptr);
}

TEST_F(AppFrameworkTest, UpdateFailureClosesTheProgramFromTheLoop) {
    Start();
    app->failures["OnUpdate"] = RESULT_FAIL;
    clock.Advance(0.1);
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app->updates, 1);
    EXPECT_EQ(app->renders, 0);
    EXPECT_EQ(app->calls, (Calls{"OnDeviceLost", "OnDeviceDestroyed", "OnShutdown"}));
}

TEST_F(AppFrameworkTest, ResetAndDisplayCommandsResetTheDeviceAndLeaveThePauseBalanced) {
    Start();
    struct Case {
        const char* what;
        std::uint32_t command;
        bool preferWindowed;
        bool windowed;
        int width;
        int height;
    };
    const Case cases[] = {
        {"reset device", COMMAND_RESET_DEVICE, false, false, 1024, 768},
        {"toggle to windowed", COMMAND_TOGGLE_FULLSCREEN, false, true, 800, 600},
        {"toggle to fullscreen", COMMAND_TOGGLE_FULLSCREEN, false, false, 1024, 768},
        {"new settings: windowed", COMMAND_APPLY_SETTINGS, true, true, 800, 600},
        {"reset device in a window", COMMAND_RESET_DEVICE, true, true, 800, 600},
        {"new settings: fullscreen", COMMAND_APPLY_SETTINGS, false, false, 1024, 768},
    };
    for (const Case& c : cases) {
        app->calls.clear();
        app->GetSettings().preferWindowed = c.preferWindowed;
        EXPECT_EQ(app->SendMessage(WM_COMMAND, c.command), 0) << c.what;
        EXPECT_EQ(app->calls, (Calls{"OnDeviceLost", "OnDeviceReset"})) << c.what;
        EXPECT_EQ(app->IsWindowed(), c.windowed) << c.what;
        EXPECT_EQ(app->GetWindow()->IsFullscreen(), !c.windowed) << c.what;
        EXPECT_EQ(app->GetBackBufferWidth(), c.width) << c.what;
        EXPECT_EQ(app->GetBackBufferHeight(), c.height) << c.what;
        EXPECT_EQ(app->GetPresentParameters().backBufferWidth, c.width) << c.what;
        EXPECT_EQ(CAppFramework::GetPauseCount(), 0) << c.what;
        EXPECT_TRUE(app->IsActive()) << c.what;
        EXPECT_FALSE(app->IsClosing()) << c.what;
    }
}

TEST_F(AppFrameworkTest, ResetWithFrameMovingOffLetsOneFrameThrough) {
    Start();
    app->SendMessage(WM_COMMAND, COMMAND_TOGGLE_FRAME_MOVING);
    app->SendMessage(WM_COMMAND, COMMAND_RESET_DEVICE);
    EXPECT_TRUE(app->IsSingleStep());
    ASSERT_EQ(Frame(0.3), RESULT_OK);
    EXPECT_EQ(app->updates, 1);
    ASSERT_EQ(Frame(0.3), RESULT_OK);
    EXPECT_EQ(app->updates, 1);
}

TEST_F(AppFrameworkTest, PaintRedrawsOnlyAPausedWindow) {
    Start();
    app->SendMessage(WM_ACTIVATEAPP, 0);
    app->SendMessage(WM_PAINT);
    EXPECT_EQ(app->renders, 0) << "fullscreen";

    app->SendMessage(WM_COMMAND, COMMAND_TOGGLE_FULLSCREEN);
    ASSERT_TRUE(app->IsWindowed());
    app->SendMessage(WM_PAINT);
    EXPECT_EQ(app->renders, 1) << "paused window";
    EXPECT_EQ(app->updates, 0);

    app->SendMessage(WM_ACTIVATEAPP, 1);
    app->SendMessage(WM_PAINT);
    EXPECT_EQ(app->renders, 1) << "active window";
}

TEST_F(AppFrameworkTest, CloseCommandShutsDownOnceAndEndsTheLoop) {
    Start();
    app->closeAgainInShutdown = true;
    EXPECT_EQ(app->SendMessage(WM_COMMAND, COMMAND_CLOSE), 0);
    EXPECT_EQ(app->SendMessage(WM_CLOSE), 0);

    EXPECT_EQ(app->calls, (Calls{"OnDeviceLost", "OnDeviceDestroyed", "OnShutdown"}));
    EXPECT_TRUE(app->IsClosing());
    EXPECT_EQ(app->GetWindow(), nullptr);
    EXPECT_EQ(app->GetDevice(), nullptr);
    EXPECT_EQ(app->Run(), 0);

    const std::string log = Log();
    EXPECT_EQ(app_test::CountOf(log, "<BR>Log is finished<BR>"), 1u);
    const std::string tail = log.substr(log.rfind("Complete<BR>"));
    EXPECT_NE(tail.find("Log is finished"), std::string::npos);
}

TEST_F(AppFrameworkTest, SystemMessagesAreSwallowedOnlyForTheirExactValues) {
    Start();
    struct Case {
        const char* what;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t fullscreen;  // result while fullscreen and active
        std::intptr_t windowed;    // result in an active window
    };
    // 0 is the default processing; the whole wParam is compared.
    const Case cases[] = {
        {"move", WM_SYSCOMMAND, SC_MOVE, MSG_TRUE, MSG_TRUE},
        {"caption drag", WM_SYSCOMMAND, SC_MOVE | 2, 0, 0},
        {"size", WM_SYSCOMMAND, SC_SIZE, MSG_TRUE, MSG_TRUE},
        {"maximise", WM_SYSCOMMAND, SC_MAXIMIZE, MSG_TRUE, MSG_TRUE},
        {"key menu", WM_SYSCOMMAND, SC_KEYMENU, MSG_TRUE, MSG_TRUE},
        {"monitor power", WM_SYSCOMMAND, SC_MONITORPOWER, MSG_TRUE, MSG_TRUE},
        {"close command", WM_SYSCOMMAND, 0xF060, 0, 0},
        {"suspend query", WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, MSG_TRUE, MSG_TRUE},
        {"resume", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, MSG_TRUE, MSG_TRUE},
        {"other power event", WM_POWERBROADCAST, 4, 0, 0},
        {"hit test", WM_NCHITTEST, 0, HTCLIENT, 0},
        {"cursor", WM_SETCURSOR, 0, MSG_TRUE, 0},
    };
    for (const bool windowed : {false, true}) {
        if (windowed) {
            app->SendMessage(WM_COMMAND, COMMAND_TOGGLE_FULLSCREEN);
            ASSERT_TRUE(app->IsWindowed());
        }
        for (const Case& c : cases) {
            EXPECT_EQ(app->SendMessage(c.message, c.wParam), windowed ? c.windowed : c.fullscreen)
                << c.what << (windowed ? " (windowed)" : " (fullscreen)");
        }
    }
    EXPECT_FALSE(app->IsClosing());
    EXPECT_EQ(CAppFramework::GetPauseCount(), 0);
}

// Each of these shows the one must-exit box of its process, so each runs in
// a process of its own and reports through its exit code.
[[noreturn]] void ExitWithResultOfFailedHook(const std::string& hook, const Calls& expected) {
    CRecordingApp failing;
    failing.failures[hook] = RESULT_FAIL;
    const HResult result = failing.Create();
    const std::string log = app_test::ReadFile(HtmlLog().GetLogPath());
    const bool ok = result == RESULT_FAIL && failing.calls == expected &&
                    failing.GetWindow() == nullptr && failing.GetDevice() == nullptr &&
                    failing.IsClosing() && app_test::CountOf(log, "Log is finished") == 1;
    std::exit(ok ? 0 : 1);
}

[[noreturn]] void ExitWithResultOfSecondInstance() {
    const std::string name = app_test::UniqueInstanceName();
    CRecordingApp first;
    first.UseInstanceName(name);
    const bool started = first.Create() == RESULT_OK;
    const std::string before = app_test::ReadFile(HtmlLog().GetLogPath());

    CRecordingApp second;
    second.UseInstanceName(name);
    const HResult refused = second.Create();
    const std::string after = app_test::ReadFile(HtmlLog().GetLogPath());
    const bool ok = started && refused == APPERR_ALREADY_STARTED && before == after &&
                    second.calls.empty() && first.GetWindow() != nullptr;
    std::exit(ok ? 0 : 1);
}

class AppFrameworkExitTest : public AppFrameworkTest {
protected:
    void SetUp() override {
        AppFrameworkTest::SetUp();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(AppFrameworkExitTest, FailedStartUpHookEndsStartUpThroughOneClose) {
    struct Case {
        const char* hook;
        Calls expected;
    };
    // A failed creation hook is followed by its counterpart before the device
    // goes; a failed reset also takes the created objects down.
    const Case cases[] = {
        {"OnInitOnce", {"OnInitOnce", "OnShutdown"}},
        {"OnDeviceCreated", {"OnInitOnce", "OnDeviceCreated", "OnDeviceDestroyed", "OnShutdown"}},
        {"OnDeviceReset",
         {"OnInitOnce", "OnDeviceCreated", "OnDeviceReset", "OnDeviceLost", "OnDeviceDestroyed",
          "OnShutdown"}},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(ExitWithResultOfFailedHook(c.hook, c.expected), ::testing::ExitedWithCode(0),
                    "Generic application error")
            << c.hook;
    }
}

TEST_F(AppFrameworkExitTest, SecondInstanceIsRefusedAndLeavesTheLogAlone) {
    EXPECT_EXIT(ExitWithResultOfSecondInstance(), ::testing::ExitedWithCode(0),
                "Game is already started");
}

}  // namespace
