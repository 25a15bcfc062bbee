#pragma once
// The game's screen on the headless software renderer with the shipped data:
// a private working folder that links the shipped files, a window of the
// size asked for, the resource manager at a screen scale with the pictures of
// the groups asked for (the first location's unless told), and the session
// with its players ("Ann" unless told) and the scene. The room and the
// heroine stay unbuilt, so only the session's own pictures and texts show.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>

#include "engine/backend/video.h"
#include "engine/framework/app_test_support.h"
#include "engine/media/fake_audio.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/text_storage.h"
#include "game/data_file_test_support.h"
#include "game/game_session.h"
#include "game/scene.h"
#include "game/session_test_support.h"

namespace screen_test {

struct ShippedScreen {
    // The folder with every shipped file but those named; the test may write
    // its own in their place before Start.
    void OpenFolder(const std::set<std::string>& except = {}) {
        // Found from here before the working folder changes.
        const std::filesystem::path shipped =
            std::filesystem::absolute(data_test::ShippedDataFolder());
        app_test::PrivateFolder();
        folder = std::make_unique<app_test::CScopedWorkingFolder>();
        const std::filesystem::path data = folder->Path() / "Resources" / "Data";
        std::filesystem::create_directories(data);
        for (const auto& entry : std::filesystem::directory_iterator(shipped)) {
            const std::string name = entry.path().filename().string();
            if (except.count(name) == 0) {
                std::filesystem::create_symlink(entry.path(), data / name);
            }
        }
    }

    void Start(int width, int height, float scale, const char* title,
               CoverageMask pictures = CoverageBit(1),
               std::initializer_list<const char16_t*> players = {u"Ann"}) {
        ASSERT_TRUE(TextStorage().Initialize());
        audio = std::make_unique<media_test::CFakeAudio>();
        ASSERT_TRUE(backend::Video().Init());
        backend::WindowDesc desc;
        desc.title = title;
        desc.clientWidth = width;
        desc.clientHeight = height;
        window = backend::Video().CreateWindow(desc);
        ASSERT_NE(window, nullptr);
        window->Show();
        device = window->CreateDevice();
        ASSERT_NE(device, nullptr);
        ASSERT_EQ(device->BackBufferWidth(), width);

        CResourceManager& resources = ResourceManager::Instance();
        resources.Initialize(window.get(), device.get(), scale, scale, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
                             0.0f);
        resources.LoadImages(device.get(), pictures);

        session_test::ResetGlobalSession();
        for (const char16_t* player : players) {
            ASSERT_TRUE(g_gameSession.AddProfile(player));
        }
        g_scene.Init();
        // Nothing an earlier test built stays on the floor.
        session_test::ResetWorld();
    }

    void Close() {
        ResourceManager::Instance().Release();
        session_test::ResetGlobalSession();
        TextStorage().Clear();
        device.reset();
        window.reset();
        audio.reset();
        folder.reset();
    }

    std::unique_ptr<app_test::CScopedWorkingFolder> folder;
    std::unique_ptr<media_test::CFakeAudio> audio;
    std::unique_ptr<backend::IWindow> window;
    std::unique_ptr<backend::IRenderDevice> device;
};

}  // namespace screen_test
