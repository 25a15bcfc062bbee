// The shop floor of the first location on the headless software renderer with
// the shipped pictures: a furnished aquarium with a fish and its wish bubble
// over the location backdrop, saved as build/shop-floor-location-1.png for a
// look by eye, and checked for the pictures where they belong.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/backend/image.h"
#include "engine/backend/video.h"
#include "engine/framework/app_test_support.h"
#include "engine/media/fake_audio.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "game/data_file_test_support.h"
#include "game/globals.h"
#include "game/session_test_support.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr Vec2 SCALE{1.0f, 1.0f};
constexpr float X = 350.0f;
constexpr float Y = 280.0f;

// The build folder: the test program lives in its tests folder.
std::filesystem::path BuildFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

TEST(ShopFloorScreenshotTest, AFurnishedAquariumWithAFishAndItsBubble) {
    app_test::PrivateFolder();
    app_test::CScopedWorkingFolder folder;
    const std::filesystem::path data = folder.Path() / "Resources" / "Data";
    std::filesystem::create_directories(data);
    for (const auto& entry : std::filesystem::directory_iterator(data_test::ShippedDataFolder())) {
        std::filesystem::create_symlink(entry.path(), data / entry.path().filename());
    }
    ASSERT_TRUE(TextStorage().Initialize());
    media_test::CFakeAudio audio;
    ASSERT_TRUE(backend::Video().Init());
    backend::WindowDesc desc;
    desc.title = "shop floor";
    desc.clientWidth = WIDTH;
    desc.clientHeight = HEIGHT;
    std::unique_ptr<backend::IWindow> window = backend::Video().CreateWindow(desc);
    ASSERT_NE(window, nullptr);
    window->Show();
    std::unique_ptr<backend::IRenderDevice> device = window->CreateDevice();
    ASSERT_NE(device, nullptr);
    CResourceManager& resources = ResourceManager::Instance();
    resources.Initialize(window.get(), device.get(), 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
                         0.0f);
    // The pictures of the first location.
    resources.LoadImages(device.get(), CoverageBit(1));

    session_test::ResetGlobalSession();
    ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
    g_gameSession.SetGameMode(MODE_GAME);
    g_scene.Init();
    ASSERT_TRUE(g_gameSession.LoadUpgrades());
    g_location.Set(1, 0);
    g_aquariumSet.Clear();
    g_aquariumSet.AddAquarium(0, 2, 0, STONE | BLUE_GRASS | RED_CORAL, X, Y, 1.0f, 1.0f, false);
    CAquarium& aquarium = *g_aquariumSet.GetAquarium(0);
    aquarium.PutFish(SHOAL_FISHES, false);
    aquarium.GetFish().type.wishCountdown = 0.5f;
    InputState input;
    input.cursorX = 5.0f;
    input.cursorY = 760.0f;
    // Long enough for the fish and the interior to fade in and a wish to open.
    for (int i = 0; i < 60 && aquarium.GetFish().bubble.GetAlpha() < 255.0f; ++i) {
        g_aquariumSet.Update(input, SCALE, 0.05f);
        audio.Advance(0.05f);
    }
    for (int i = 0; i < 60; ++i) {
        g_aquariumSet.Update(input, SCALE, 0.05f);
    }
    ASSERT_NE(aquarium.GetRequest(), 0u);
    EXPECT_EQ(aquarium.GetInteriorAlpha(), 255.0f);

    device->Clear(0xFF000000);
    g_location.Render(device.get(), SCALE, false);
    g_aquariumSet.RenderByDepth(device.get(), SCALE, 0.0f, true);
    g_aquariumSet.RenderOverlaysByDepth(device.get(), SCALE, 0.0f, true);
    std::vector<std::uint32_t> pixels;
    device->ReadPixels(pixels);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(WIDTH * HEIGHT));
    backend::DecodedImage picture;
    picture.width = WIDTH;
    picture.height = HEIGHT;
    picture.pixels = pixels;
    EXPECT_TRUE(backend::SavePng((BuildFolder() / "shop-floor-location-1.png").string(), picture));

    // Something is drawn in the aquarium's water and over the backdrop's
    // plain wall where the bubble stands.
    std::vector<std::uint32_t> backdropOnly;
    device->Clear(0xFF000000);
    g_location.Render(device.get(), SCALE, false);
    device->ReadPixels(backdropOnly);
    int changed = 0;
    for (int y = static_cast<int>(Y) + 20; y < static_cast<int>(Y) + 140; ++y) {
        for (int x = static_cast<int>(X) + 10; x < static_cast<int>(X) + 230; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * WIDTH + x);
            changed += pixels[i] != backdropOnly[i] ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 20000);

    g_aquariumSet.Clear();
    resources.Release();
    session_test::ResetGlobalSession();
    TextStorage().Clear();
}

}  // namespace
