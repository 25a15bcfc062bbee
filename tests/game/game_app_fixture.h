#pragma once
// The whole game in one test process: the real application on the headless
// backend, started on demand in a working folder of the test's own, after the
// globals the application leaves behind (input, shell notices, session, menu,
// stored volumes, picture group) and the saved files of the player folder are
// back to how a first start finds them; a clock that moves only when told.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/backend/input.h"
#include "engine/backend/system.h"
#include "engine/framework/app_test_support.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "frontend/menu.h"
#include "game/game_app.h"
#include "game/session_test_support.h"

namespace game_test {

// The application with a lock of its own, leaving the pause count at zero.
class CTestGameApp : public CGameApp {
public:
    CTestGameApp() { m_instanceName = app_test::UniqueInstanceName(); }
    ~CTestGameApp() override { app_test::BalancePauses(*this); }
};

class GameAppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        backend::LiveInput() = backend::InputSnapshot{};
        // A close says what a first close says, whatever closed before it.
        backend::ForgetShellNotices();
        // The globals keep their state from one application to the next.
        g_inputDevices.GetState() = InputState{};
        session_test::ResetGlobalSession();
        g_menu = CMenu{};
        for (const char* file : {"profiles.sav", "config.cfg", "high_scores.sav"}) {
            std::filesystem::remove(UserFile(file));
        }
        Sound().SetStoredVolumes(CSoundManager::DEFAULT_MUSIC_VOLUME,
                                 CSoundManager::DEFAULT_SOUND_VOLUME);
        // No resource records and no picture group yet: a start that finds no
        // resources.xml keeps the records it finds, and a leftover loading
        // picture would hold the start in its fade on a clock that stands.
        ResourceManager::Instance().Release();
        ResourceManager::Instance().SetCurrentGroup(0);
        folder = std::make_unique<app_test::CScopedWorkingFolder>();
    }
    void TearDown() override {
        // What a close releases, for an application the test left running: a
        // later start that finds no resources.xml would keep these records,
        // splash pictures and all.
        if (app != nullptr) {
            ResourceManager::Instance().Release();
        }
        app.reset();
        TextStorage().Clear();
        folder.reset();
    }

    void Start() {
        app = std::make_unique<CTestGameApp>();
        ASSERT_EQ(app->Create(), RESULT_OK);
    }

    static std::string Log() { return app_test::ReadFile(HtmlLog().GetLogPath()); }
    static std::string UserFile(const char* name) { return HtmlLog().GetUserFolder() + name; }
    static CSoundManager& Sound() { return ResourceManager::Instance().GetSoundManager(); }

    app_test::CManualClock clock;
    std::unique_ptr<app_test::CScopedWorkingFolder> folder;
    std::unique_ptr<CTestGameApp> app;
};

}  // namespace game_test
