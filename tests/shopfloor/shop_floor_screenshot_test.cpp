// The shop floor of the first location on the headless software renderer with
// the shipped pictures: an aquarium over the location backdrop, checked for
// its fish, its wish bubble and its interior where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/backend/image.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "game/data_file_test_support.h"
#include "game/game_session.h"
#include "game/scene.h"
#include "game/session_test_support.h"
#include "game/shipped_screen.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"

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

using Pixels = std::vector<std::uint32_t>;

// A design-screen box: left, top, right, bottom.
struct Box {
    int left;
    int top;
    int right;
    int bottom;
};

// How many pixels of the box differ between two screens.
int Differing(const Pixels& a, const Pixels& b, Box box) {
    int count = 0;
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, HEIGHT); ++y) {
        for (int x = std::max(box.left, 0); x < std::min(box.right, WIDTH); ++x) {
            const std::size_t i = static_cast<std::size_t>(y * WIDTH + x);
            count += a[i] != b[i] ? 1 : 0;
        }
    }
    return count;
}

// The first location's backdrop with one aquarium at (X, Y), drawn as the
// shop floor draws it, and drawn again with its fish faded out.
struct AquariumScreens {
    Pixels shown;
    Pixels withoutFish;
    Vec2 fish;
};

class ShopFloorScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen.OpenFolder();
        // The pictures of the first location.
        ASSERT_NO_FATAL_FAILURE(screen.Start(WIDTH, HEIGHT, 1.0f, "shop floor", CoverageBit(1)));
        g_gameSession.SetGameMode(MODE_GAME);
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        g_location.Build();
        g_location.Set(1, 0);
    }

    void TearDown() override {
        g_aquariumSet.Clear();
        screen.Close();
    }

    Pixels Screen(bool withAquariums) {
        screen.device->Clear(0xFF000000);
        g_location.Render(screen.device.get(), SCALE, false);
        if (withAquariums) {
            g_aquariumSet.RenderByDepth(screen.device.get(), SCALE, 0.0f, true);
            g_aquariumSet.RenderOverlaysByDepth(screen.device.get(), SCALE, 0.0f, true);
        }
        Pixels pixels;
        screen.device->ReadPixels(pixels);
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(WIDTH * HEIGHT));
        pixels.resize(static_cast<std::size_t>(WIDTH * HEIGHT));
        return pixels;
    }

    // A furnished aquarium gets a fish that soon wishes; an empty one has
    // neither interior nor fish. Played long enough for the fish and the
    // interior to fade in and a wish to open.
    AquariumScreens Aquarium(bool furnished) {
        g_aquariumSet.Clear();
        g_aquariumSet.AddAquarium(0, 2, 0, furnished ? STONE | BLUE_GRASS | RED_CORAL : 0u, X, Y,
                                  1.0f, 1.0f, false);
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(0);
        if (furnished) {
            aquarium.PutFish(SHOAL_FISHES, false);
            aquarium.GetFish().type.wishCountdown = 0.5f;
        }
        InputState input;
        input.cursorX = 5.0f;
        input.cursorY = 760.0f;
        for (int i = 0; i < 60 && aquarium.GetFish().bubble.GetAlpha() < 255.0f; ++i) {
            g_aquariumSet.Update(input, SCALE, 0.05f);
            screen.audio->Advance(0.05f);
        }
        for (int i = 0; i < 60; ++i) {
            g_aquariumSet.Update(input, SCALE, 0.05f);
        }
        EXPECT_EQ(aquarium.GetRequest() != 0u, furnished);
        EXPECT_EQ(aquarium.GetInteriorAlpha(), furnished ? 255.0f : 0.0f);

        AquariumScreens screens;
        screens.shown = Screen(true);
        CFish& fish = aquarium.GetFish();
        screens.fish = {fish.x, fish.y};
        fish.alpha = 0.0f;
        for (ShoalFish& mate : fish.shoalFish) {
            mate.alpha = 0.0f;
        }
        screens.withoutFish = Screen(true);
        return screens;
    }

    screen_test::ShippedScreen screen;
};

// Saved as build/shop-floor-location-1.png for a look by eye. The fish shows
// where it swims, the wish bubble over the wall above the aquarium, the
// interior on the water's floor; an empty aquarium shows none of them.
TEST_F(ShopFloorScreenshotTest, AFurnishedAquariumShowsItsFishItsBubbleAndItsInterior) {
    const Pixels backdrop = Screen(false);
    const AquariumScreens empty = Aquarium(false);
    const AquariumScreens furnished = Aquarium(true);
    backend::DecodedImage picture;
    picture.width = WIDTH;
    picture.height = HEIGHT;
    picture.pixels = furnished.shown;
    EXPECT_TRUE(backend::SavePng((BuildFolder() / "shop-floor-location-1.png").string(), picture));

    const int x = static_cast<int>(X);
    const int y = static_cast<int>(Y);
    // The water, the wall above the rim, and the bottom of the water.
    const Box water{x + 10, y + 20, x + 230, y + 140};
    const Box bubble{x + 60, y - 60, x + 190, y - 8};
    const Box floor{x + 10, y + 95, x + 230, y + 135};
    const struct {
        const char* name;
        const AquariumScreens& screens;
        bool seen;
    } cases[] = {{"furnished", furnished, true}, {"empty", empty, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int fx = static_cast<int>(furnished.fish.x);
        const int fy = static_cast<int>(furnished.fish.y);
        const Box fish{fx - 40, fy - 40, fx + 80, fy + 20};
        // The glass and the water are drawn either way.
        EXPECT_GT(Differing(c.screens.shown, backdrop, water), 20000);
        const int fishPixels = Differing(c.screens.shown, c.screens.withoutFish, fish);
        const int bubblePixels = Differing(c.screens.shown, backdrop, bubble);
        const int floorPixels = Differing(c.screens.withoutFish, empty.withoutFish, floor);
        EXPECT_EQ(fishPixels > 150, c.seen) << fishPixels << " fish pixels";
        EXPECT_EQ(bubblePixels > 2000, c.seen) << bubblePixels << " bubble pixels";
        EXPECT_EQ(floorPixels > 3000, c.seen) << floorPixels << " interior pixels";
    }
}

}  // namespace
