// The shipped pictures drawn on the real device: the wish bubble's icons and
// water where the bubble puts them, and every frame of every fish kind inside
// its aquarium's water wherever it swims.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "engine/media/fake_audio.h"
#include "engine/media/resource_manager.h"
#include "engine/media/resource_test_support.h"
#include "engine/platform/input_devices.h"
#include "game/data_file_test_support.h"
#include "game/game_session.h"
#include "shopfloor/fish.h"

namespace {

using resource_test::SCREEN_HEIGHT;
using resource_test::SCREEN_WIDTH;

constexpr std::uint32_t BACKGROUND = 0xFF102030;
// The water of an aquarium, from its position.
constexpr int WATER_LEFT = 12;
constexpr int WATER_RIGHT = 230;
constexpr int WATER_TOP = 22;
constexpr int WATER_BOTTOM = 144;

// A pixel that something was drawn on.
bool Drawn(std::uint32_t pixel) {
    return !resource_test::RgbNear(pixel, BACKGROUND, 6);
}

class ShopDrawingTest : public resource_test::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        device = resource_test::Device();
        ASSERT_NE(device, nullptr);
        WriteShippedIndex();
        Resources().Initialize(nullptr, device, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f);
        // The pictures of the first location.
        Resources().LoadImages(device, CoverageBit(1));
        ASSERT_GE(Resources().GetIndex(RESOURCE_IMAGE, "AQUARIUM_INTERIORS"), 0);
        ASSERT_FALSE(Resources().GetAnimation2D("A_FISH_1").frames.empty());
        g_gameSession.SetGameMode(MODE_GAME);
    }

    void TearDown() override {
        Resources().Release();
        Resources().Animations2D().clear();
        ScratchFolderTest::TearDown();
    }

    static CResourceManager& Resources() { return ResourceManager::Instance(); }

    // The shipped index cut down to the aquarium's pictures and the fish
    // sheets, read from the shipped folder.
    static void WriteShippedIndex() {
        const std::filesystem::path shipped = data_test::ShippedDataFolder();
        std::ifstream in(shipped / "resources.xml");
        std::string index = "<Resources><SetDefaults path=\"" + shipped.string() + "/\"/>\n";
        for (std::string line; std::getline(in, line);) {
            const bool picture = line.find("<Image id=\"AQUARIUM_") != std::string::npos ||
                                 line.find("<Image id=\"INSTRUMENTS\"") != std::string::npos ||
                                 line.find("<Image id=\"SHEET_") != std::string::npos;
            const bool animation = line.find("<Animation2D") != std::string::npos &&
                                   line.find("image_id=\"SHEET_") != std::string::npos;
            if (picture || animation) {
                index += line + "\n";
            }
        }
        resource_test::WriteFile("Resources/Data/resources.xml",
                                 "<?xml version=\"1.0\"?>\n" + index + "</Resources>");
    }

    std::vector<std::uint32_t> Screen() {
        std::vector<std::uint32_t> pixels;
        device->ReadPixels(pixels);
        return pixels;
    }

    // Drawn pixels in a rectangle of the screen, and how many it holds.
    static int DrawnIn(const std::vector<std::uint32_t>& screen, int left, int top, int right,
                       int bottom) {
        int drawn = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                drawn += Drawn(resource_test::PixelAt(screen, x, y)) ? 1 : 0;
            }
        }
        return drawn;
    }

    void RenderBubble(CRequestBubble& bubble) {
        device->Clear(BACKGROUND);
        bubble.Render(device, {1.0f, 1.0f});
    }

    // Steps the bubble until its waiting time has run this far.
    void RunUntil(CRequestBubble& bubble, float elapsed) {
        while (bubble.GetElapsed() < elapsed) {
            bubble.Update(input, {1.0f, 1.0f}, 1.0f / 60.0f, 0.0f);
        }
    }

    media_test::CFakeAudio audio;
    backend::IRenderDevice* device = nullptr;
    InputState input;
};

TEST_F(ShopDrawingTest, BubblesShowTheirIconsAndTheWaterRises) {
    struct Icon {
        int left, top, width, height;  // on the screen
    };
    struct Case {
        std::uint32_t request;
        // A wish of the same size that shows no icon.
        std::uint32_t empty;
        std::vector<Icon> icons;
        int fillX;
        int fillWidth;
    };
    constexpr float X = 10.0f;
    constexpr float Y = 100.0f;
    const Case cases[] = {
        {ITEM_FOOD_1, ITEM_COMPUTER, {{96, 42, 74, 63}}, 93, 79},
        {STONE | GREEN_GRASS | CASTLE,
         0,
         {{78, 58, 42, 38}, {103, 59, 50, 39}, {141, 44, 52, 49}},
         77,
         116},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        CRequestBubble bubble;
        bubble.SetRequest(c.request, 10.0f, X, Y);
        RunUntil(bubble, 2.5f);
        ASSERT_FLOAT_EQ(bubble.GetAlpha(), 255.0f);
        CRequestBubble empty;
        empty.SetRequest(c.empty, 10.0f, X, Y);
        RunUntil(empty, 2.5f);
        RenderBubble(empty);
        const std::vector<std::uint32_t> without = Screen();
        RenderBubble(bubble);
        const std::vector<std::uint32_t> screen = Screen();
        for (const Icon& icon : c.icons) {
            int shown = 0;
            for (int y = icon.top; y < icon.top + icon.height; ++y) {
                for (int x = icon.left; x < icon.left + icon.width; ++x) {
                    shown += resource_test::RgbNear(resource_test::PixelAt(screen, x, y),
                                                    resource_test::PixelAt(without, x, y), 12)
                                 ? 0
                                 : 1;
                }
            }
            EXPECT_GT(shown, icon.width * icon.height / 4) << icon.left;
        }
        // Half the wait: the water has risen into the lower half of the
        // bubble's inside, where there was none just after the opening.
        RunUntil(bubble, 5.0f);
        RenderBubble(bubble);
        const std::vector<std::uint32_t> later = Screen();
        const int fillTop = static_cast<int>(Y) - 60;
        int wet = 0;
        int total = 0;
        for (int y = fillTop + 36; y < fillTop + 48; ++y) {
            for (int x = c.fillX + 2; x < c.fillX + c.fillWidth - 2; ++x) {
                const std::uint32_t before = resource_test::PixelAt(screen, x, y);
                wet +=
                    resource_test::RgbNear(resource_test::PixelAt(later, x, y), before, 12) ? 0 : 1;
                ++total;
            }
        }
        EXPECT_GT(wet, total * 3 / 4);
        // The top of the inside is still dry.
        EXPECT_EQ(DrawnIn(later, c.fillX + 10, fillTop - 20, c.fillX + 20, fillTop - 12), 0);
    }
}

TEST_F(ShopDrawingTest, EveryFishFrameStaysInTheWater) {
    CFishBase base;
    // Drawn at half size so that a frame far out of the water still lands on
    // the screen.
    const Vec2 scale{0.5f, 0.5f};
    const float ax = 128.0f;
    const float ay = 100.0f;
    const int boxLeft = static_cast<int>((ax + WATER_LEFT) * scale.x) - 1;
    const int boxRight = static_cast<int>((ax + WATER_RIGHT) * scale.x) + 1;
    const int boxTop = static_cast<int>((ay + WATER_TOP) * scale.y) - 1;
    const int boxBottom = static_cast<int>((ay + WATER_BOTTOM) * scale.y) + 1;
    ASSERT_LT(boxBottom, SCREEN_HEIGHT);
    ASSERT_LT(boxRight, SCREEN_WIDTH);
    for (std::int32_t kind = 0; kind < FISH_KIND_COUNT; ++kind) {
        CFish fish = base.CreateFish(kind, ax, ay, false);
        std::vector<CFrameAnimation*> bodies = {&fish.body};
        if (kind == SHOAL_FISHES) {
            for (ShoalFish& extra : fish.shoalFish) {
                bodies.push_back(&extra.body);
            }
        }
        const std::int32_t perStage = kind == SHOAL_FISHES ? 0 : fish.clipsPerStage;
        for (std::int32_t stage : {0, 2}) {
            for (const float x : {static_cast<float>(fish.swimRect.left),
                                  static_cast<float>(fish.swimRect.right)}) {
                for (const float y : {static_cast<float>(fish.swimRect.top),
                                      static_cast<float>(fish.swimRect.bottom)}) {
                    device->Clear(BACKGROUND);
                    int frames = 0;
                    for (CFrameAnimation* body : bodies) {
                        body->SetPosition(x, y);
                        const int clips = kind == SHOAL_FISHES ? 4 : fish.clipsPerStage;
                        for (int role = 0; role < clips; ++role) {
                            const auto clip = static_cast<unsigned>(stage * perStage + role);
                            body->SetCurrentClip(clip);
                            for (int f = 0; f <= body->GetLastFrame(clip); ++f) {
                                body->SetCurrentFrame(clip, f);
                                body->Draw(scale, 0xFFFFFFFF);
                                ++frames;
                            }
                        }
                    }
                    SCOPED_TRACE(::testing::Message() << "kind " << kind << " stage " << stage
                                                      << " at " << x - ax << ", " << y - ay);
                    ASSERT_GT(frames, 0);
                    const std::vector<std::uint32_t> screen = Screen();
                    const int all = DrawnIn(screen, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
                    const int inside = DrawnIn(screen, boxLeft, boxTop, boxRight, boxBottom);
                    EXPECT_GT(inside, 0);
                    EXPECT_EQ(all, inside);
                }
            }
        }
    }
}

}  // namespace
