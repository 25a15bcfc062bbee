// The shop floor against the play HUD, with the shipped data on the headless
// software renderer: at each location, with every upgrade level and every
// instrument, no floor object (instruments, machine, audio system, pet and
// bowl, aquariums, the porthole) shows a pixel where the HUD's panels and texts are drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "engine/media/gui_image.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "game/data_file_test_support.h"
#include "game/game_session.h"
#include "game/scene.h"
#include "game/session_test_support.h"
#include "game/shipped_screen.h"
#include "heroine/audio_system.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/pet.h"

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr Vec2 SCALE{1.0f, 1.0f};
constexpr std::uint32_t BLACK = 0xFF000000;
constexpr std::int32_t TOP_UPGRADE = 3;

using Frame = std::vector<std::uint32_t>;

bool Drawn(std::uint32_t pixel) {
    return (pixel & 0xFFFFFFu) != 0;
}

// The pixels drawn in both frames, as a count and their bounding box.
std::string Overlap(const Frame& floor, const Frame& hud) {
    int count = 0;
    int left = WIDTH, top = HEIGHT, right = -1, bottom = -1;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * WIDTH + x;
            if (Drawn(floor[i]) && Drawn(hud[i])) {
                ++count;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (count == 0) {
        return "";
    }
    std::ostringstream out;
    out << count << " pixels in " << left << "-" << right << " x " << top << "-" << bottom;
    return out.str();
}

class FloorLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_screen.OpenFolder();
        ASSERT_NO_FATAL_FAILURE(s_screen.Start(WIDTH, HEIGHT, 1.0f, "floor layout",
                                               CoverageBit(1) | CoverageBit(2) | CoverageBit(3)));
        g_gameSession.SetGameMode(MODE_GAME);
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        CProfile& profile = *g_gameSession.GetCurrentProfile();
        profile.storyLevel = 45;
        profile.shownCash = 88888.0f;
        g_gameSession.GetLevel().need = 8888;
        g_gameSession.GetLevel().expert = 8888;
        // The closed sign shows too.
        g_gameSession.SetTimeLeft(0.0f);
    }

    static void TearDownTestSuite() { s_screen.Close(); }

    // Location and upgrade level set, every instrument in the room, the
    // backdrop and the heroine left out.
    static void Furnish(std::int32_t location, std::int32_t upgrade) {
        CProfile& profile = *g_gameSession.GetCurrentProfile();
        for (const std::uint32_t code : {ITEM_COMPUTER, ITEM_MACHINE, ITEM_AUDIO_SYSTEM, ITEM_PET,
                                         ITEM_VITAMIN_COST, ITEM_VITAMIN_GROWTH}) {
            g_gameSession.SetUpgradeLevel(code, upgrade, -1);
        }
        std::fill(std::begin(profile.slotLevels), std::end(profile.slotLevels), upgrade);
        g_scene.ResetForLevel(location, 6, 6, 4, 2, 2, 2);
        s_location = location;
        g_location = CLocation();
        g_heroine = CHeroine();
    }

    static Frame Draw(void (*draw)()) {
        s_screen.device->Clear(BLACK);
        EXPECT_TRUE(s_screen.device->BeginScene());
        draw();
        s_screen.device->EndScene();
        Frame frame;
        EXPECT_TRUE(s_screen.device->ReadPixels(frame));
        return frame;
    }

    // The floor objects as the scene draws them, each depth pass in turn,
    // and at location 2 the porthole's frame, which the backdrop lays over
    // its waves.
    static void RenderFloor() {
        backend::IRenderDevice* device = s_screen.device.get();
        if (s_location == 2) {
            Porthole().Draw(nullptr, SCALE, false, 0xFFFFFFFF, false);
        }
        g_instrumentPanel.Render(device, SCALE);
        g_machine.Render(device, SCALE);
        g_audioSystem.Render(device, SCALE);
        for (const bool inFront : {false, true}) {
            g_aquariumSet.RenderByDepth(device, SCALE, 0.0f, inFront);
            g_aquariumSet.RenderOverlaysByDepth(device, SCALE, 0.0f, inFront);
            g_pet.RenderByDepth(device, SCALE, 0.0f, inFront);
        }
    }

    static Frame Floor() { return Draw(RenderFloor); }

    static Frame Hud() {
        return Draw([] { g_gameSession.RenderHud(s_screen.device.get(), SCALE); });
    }

    // A picture of an atlas: left, right, top, bottom, drawn at (x, y).
    static void Place(CGuiImage& image, const char* id, const std::int32_t (&cell)[4], Vec2 at) {
        GuiImageDesc desc;
        desc.imageId = id;
        desc.left = cell[0];
        desc.right = cell[1];
        desc.top = cell[2];
        desc.bottom = cell[3];
        desc.x = at.x;
        desc.y = at.y;
        image.Create(desc);
    }

    static CGuiImage& Porthole() {
        static CGuiImage s_porthole;
        Place(s_porthole, "SEA_WAVE_MASK", {361, 429, 0, 84}, Vec2{251.0f, 62.0f});
        return s_porthole;
    }

    static screen_test::ShippedScreen s_screen;
    static std::int32_t s_location;
};

screen_test::ShippedScreen FloorLayoutTest::s_screen;
std::int32_t FloorLayoutTest::s_location = 1;

TEST_F(FloorLayoutTest, NoFloorObjectLiesUnderTheHud) {
    const Frame hud = Hud();
    ASSERT_GT(std::count_if(hud.begin(), hud.end(), Drawn), 0);
    for (std::int32_t location = 1; location <= 3; ++location) {
        for (std::int32_t upgrade = 0; upgrade <= TOP_UPGRADE; ++upgrade) {
            Furnish(location, upgrade);
            const Frame floor = Floor();
            EXPECT_GT(std::count_if(floor.begin(), floor.end(), Drawn), 0);
            EXPECT_EQ(Overlap(floor, hud), "")
                << "location " << location << ", upgrade level " << upgrade;
        }
    }
}

// The check itself: a food jar put where the cash is shown is found.
TEST_F(FloorLayoutTest, AJarUnderTheCashIsFound) {
    Furnish(1, 1);
    static CGuiImage s_jar;
    Place(s_jar, "ITEMS", {0, 59, 0, 62}, Vec2{20.0f, 30.0f});
    const Frame floor = Draw([] {
        RenderFloor();
        s_jar.Draw(nullptr, SCALE, true, 0xFFFFFFFF, false);
    });
    EXPECT_NE(Overlap(floor, Hud()), "");
}

}  // namespace
