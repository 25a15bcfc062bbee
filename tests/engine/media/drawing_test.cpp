#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "resource_test_support.h"

namespace {

using namespace resource_test;

constexpr std::uint32_t RED = 0xFFFF0000;
constexpr std::uint32_t GREEN = 0xFF00FF00;
constexpr float HALF_PI = 1.57079632679f;

// An 8 x 4 picture, its left half red and its right half green.
std::vector<std::uint32_t> HalvesPicture(int width, int height) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(x < width / 2 ? RED : GREEN);
        }
    }
    return pixels;
}

class DrawingTest : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        ASSERT_NE(Device(), nullptr);
        m_device = std::make_unique<CRecordingDevice>(Device());
    }

    void TearDown() override {
        m_manager.Release();
        ScratchFolderTest::TearDown();
    }

    // The pictures, the index with `panels` added, and the manager started on
    // the recording device.
    void Start(const std::string& panels = "") {
        WritePng("Resources/halves.png", 8, 4, HalvesPicture(8, 4));
        WritePng("Resources/tile.png", 16, 8, HalvesPicture(16, 8));
        WriteIndex(
            "<Resources><SetDefaults path=\"Resources/\"/>"
            "<Image id=\"HALVES\" path=\"halves.png\"/>"
            "<Image id=\"NOT_LOADED\" path=\"halves.png\" coverage=\"2\"/>" +
            panels + "</Resources>");
        m_manager.Initialize(nullptr, m_device.get(), 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
                             0.0f);
        m_halves = m_manager.GetIndex(RESOURCE_IMAGE, "HALVES");
        ASSERT_EQ(m_halves, 0);
        m_device->draws.clear();
    }

    std::vector<std::uint32_t> Screen() { return ReadScreen(m_device.get()); }

    CResourceManager m_manager;
    std::unique_ptr<CRecordingDevice> m_device;
    std::int32_t m_halves = -1;
};

TEST_F(DrawingTest, PicturesArePlacedScaledMirroredAndRotated) {
    Start();
    m_device->Clear(0xFF000000);
    const Vec2 mirrored{-1.0f, 1.0f};
    const Vec2 scaled{2.0f, 3.0f};
    EXPECT_EQ(m_manager.DrawImage(m_halves, nullptr, nullptr, nullptr, 0.0f, {10, 10}, 0xFFFFFFFF),
              RESULT_OK);
    // Mirrored: the picture lies to the left of its position, red on the right.
    EXPECT_EQ(
        m_manager.DrawImage(m_halves, nullptr, &mirrored, nullptr, 0.0f, {60, 10}, 0xFFFFFFFF),
        RESULT_OK);
    EXPECT_EQ(m_manager.DrawImage(m_halves, nullptr, &scaled, nullptr, 0.0f, {100, 10}, 0xFFFFFFFF),
              RESULT_OK);
    // A quarter turn clockwise about the top-left corner: the picture's top
    // edge becomes its right edge.
    EXPECT_EQ(
        m_manager.DrawImage(m_halves, nullptr, nullptr, nullptr, HALF_PI, {60, 60}, 0xFFFFFFFF),
        RESULT_OK);
    // Only the right half of the picture.
    const backend::Rect right{4, 0, 8, 4};
    EXPECT_EQ(m_manager.DrawImage(m_halves, &right, nullptr, nullptr, 0.0f, {10, 60}, 0xFFFFFFFF),
              RESULT_OK);

    const auto screen = Screen();
    struct Probe {
        int x, y;
        std::uint32_t colour;
    };
    const std::vector<Probe> probes = {
        {11, 11, RED},   {16, 12, GREEN},  {19, 12, 0},    {12, 15, 0},                 // plain
        {58, 11, RED},   {53, 12, GREEN},  {61, 12, 0},    {51, 12, 0},                 // mirrored
        {102, 14, RED},  {112, 14, GREEN}, {102, 20, RED}, {118, 14, 0}, {102, 23, 0},  // 2 x 3
        {58, 61, RED},   {58, 66, GREEN},  {61, 64, 0},    {55, 64, 0},                 // rotated
        {11, 61, GREEN}, {13, 62, GREEN},  {15, 62, 0},  // right half
    };
    for (const Probe& p : probes) {
        EXPECT_TRUE(RgbNear(PixelAt(screen, p.x, p.y), p.colour)) << p.x << ", " << p.y;
    }
}

TEST_F(DrawingTest, TheColourIsMaskedNotMultipliedByTheBrightness) {
    Start();
    struct Case {
        std::uint32_t colour;
        float brightness;
        std::uint32_t mask;
        int red;  // of the red half over black
    };
    const std::vector<Case> cases = {
        {0xFFFFFFFF, 255.0f, 0xFFFFFFFF, 255},
        {0xFFFFFFFF, 127.9f, 0xFF7F7F7F, 127},
        {0xFF808080, 255.0f, 0xFFFFFFFF, 128},
        {0xFF7F7F7F, 128.0f, 0xFF808080, 0},  // AND, not a product
        {0xFFFFFFFF, 256.0f, 0xFF000000, 0},  // the level wraps in the low byte
        {0xFFFFFFFF, 0.0f, 0xFF000000, 0},
        {0x80FFFFFF, 255.0f, 0xFFFFFFFF, 128},  // half transparent
    };
    for (const Case& c : cases) {
        m_manager.SetBrightness(c.brightness);
        EXPECT_EQ(m_manager.GetColourMask(), c.mask) << c.brightness;
        m_device->Clear(0xFF000000);
        m_manager.DrawImage(m_halves, nullptr, nullptr, nullptr, 0.0f, {10, 10}, c.colour);
        EXPECT_TRUE(RgbNear(PixelAt(Screen(), 11, 11), static_cast<std::uint32_t>(c.red) << 16))
            << std::hex << c.colour << " at " << c.brightness;
    }
}

TEST_F(DrawingTest, AdditiveDrawsAddToTheScreen) {
    Start();
    // The draw colour's alpha plays no part in an additive draw; the colour
    // mask still applies.
    for (const std::uint32_t colour : {0xFF808080u, 0x20808080u, 0x00808080u}) {
        SCOPED_TRACE(testing::Message() << std::hex << colour);
        m_device->Clear(0xFF404040);
        EXPECT_EQ(m_manager.DrawImageAdditive(m_device.get(), m_halves, nullptr, nullptr, nullptr,
                                              0.0f, {10, 10}, colour),
                  RESULT_OK);
        const auto screen = Screen();
        EXPECT_TRUE(RgbNear(PixelAt(screen, 11, 11), 0xC04040));
        EXPECT_TRUE(RgbNear(PixelAt(screen, 16, 11), 0x40C040));
        EXPECT_TRUE(RgbNear(PixelAt(screen, 30, 30), 0x404040));
    }
    m_manager.SetBrightness(64.0f);
    m_device->Clear(0xFF404040);
    m_manager.DrawImageAdditive(m_device.get(), m_halves, nullptr, nullptr, nullptr, 0.0f, {10, 10},
                                0x00FFFFFF);
    EXPECT_TRUE(RgbNear(PixelAt(Screen(), 11, 11), 0x804040));
    m_manager.SetBrightness(255.0f);
    m_device->Clear(0xFF404040);
    // The next ordinary draw blends normally again.
    m_manager.DrawImage(m_halves, nullptr, nullptr, nullptr, 0.0f, {30, 30}, 0xFFFFFFFF);
    EXPECT_TRUE(RgbNear(PixelAt(Screen(), 31, 31), RED));
}

TEST_F(DrawingTest, DrawsOutsideTheListOrWithoutATextureFail) {
    Start();
    const std::int32_t notLoaded = m_manager.GetIndex(RESOURCE_IMAGE, "NOT_LOADED");
    const std::int32_t count = static_cast<std::int32_t>(m_manager.Images().size());
    const backend::Rect negative{-1, 0, 4, 4};
    EXPECT_EQ(m_manager.DrawImage(-1, nullptr, nullptr, nullptr, 0, {0, 0}, 0xFFFFFFFF),
              RESULT_FAIL);
    EXPECT_EQ(m_manager.DrawImage(count, nullptr, nullptr, nullptr, 0, {0, 0}, 0xFFFFFFFF),
              RESULT_FAIL);
    EXPECT_EQ(m_manager.DrawImageAdditive(m_device.get(), -1, nullptr, nullptr, nullptr, 0, {0, 0},
                                          0xFFFFFFFF),
              RESULT_FAIL);
    EXPECT_EQ(m_manager.DrawImageAdditive(m_device.get(), count + 5, nullptr, nullptr, nullptr, 0,
                                          {0, 0}, 0xFFFFFFFF),
              RESULT_FAIL);
    EXPECT_TRUE(m_device->draws.empty());
    EXPECT_EQ(m_manager.DrawImage(notLoaded, nullptr, nullptr, nullptr, 0, {0, 0}, 0xFFFFFFFF),
              RESULT_INVALID_CALL);
    EXPECT_EQ(m_manager.DrawImage(m_halves, &negative, nullptr, nullptr, 0, {0, 0}, 0xFFFFFFFF),
              RESULT_INVALID_CALL);
}

TEST_F(DrawingTest, ImageQueries) {
    Start();
    const ImageInfo loaded = m_manager.GetImageInfo("HALVES");
    EXPECT_EQ(loaded.width, 8);
    EXPECT_EQ(loaded.height, 4);
    EXPECT_EQ(loaded.format, 21);
    EXPECT_EQ(m_manager.GetImageInfo("NOT_LOADED").width, 0);
    EXPECT_EQ(m_manager.GetImageInfo("NOPE").height, 0);
    EXPECT_EQ(m_manager.GetImageSurfaceDesc("HALVES").width, 8);
    EXPECT_EQ(m_manager.GetImageSurfaceDesc("NOT_LOADED").width, 0);
    m_manager.OnResetDevice(m_device.get(), 0.5f, 0.75f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(m_manager.GetScale().x, 0.5f);
    EXPECT_FLOAT_EQ(m_manager.GetScale().y, 0.75f);
}

// Where each band tile went: its position and scaling.
struct Tile {
    float x, y, scaleX, scaleY;
};

std::vector<Tile> Tiles(const CRecordingDevice& device) {
    std::vector<Tile> tiles;
    for (const auto& drawn : device.draws) {
        tiles.push_back({drawn.draw.translation.x, drawn.draw.translation.y, drawn.draw.scale.x,
                         drawn.draw.scale.y});
    }
    return tiles;
}

void ExpectTiles(const std::vector<Tile>& actual, const std::vector<Tile>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_FLOAT_EQ(actual[i].x, expected[i].x) << "tile " << i;
        EXPECT_FLOAT_EQ(actual[i].y, expected[i].y) << "tile " << i;
        EXPECT_FLOAT_EQ(actual[i].scaleX, expected[i].scaleX) << "tile " << i;
        EXPECT_FLOAT_EQ(actual[i].scaleY, expected[i].scaleY) << "tile " << i;
    }
}

TEST_F(DrawingTest, BorderFillTilesTheSideBands) {
    WriteSolidPng("Resources/v100.png", 100, 8, 0xFFFFFFFF);
    Start("<Image id=\"MENU_VER_PANEL\" path=\"v100.png\"/>");
    // A back buffer 1280 wide at scale 1: 128-pixel bands take two tiles each.
    m_manager.OnResetDevice(m_device.get(), 1.0f, 1.0f, 128.0f, 0.0f);
    EXPECT_EQ(m_manager.DrawBorderFill(m_device.get(), 0xFFFFFFFF), RESULT_OK);
    ExpectTiles(Tiles(*m_device),
                {{128, 0, -1, 1}, {1152, 0, 1, 1}, {28, 0, -1, 1}, {1252, 0, 1, 1}});

    // The top and bottom bands need their own tile.
    m_device->draws.clear();
    m_manager.OnResetDevice(m_device.get(), 1.0f, 1.0f, 128.0f, 10.0f);
    EXPECT_EQ(m_manager.DrawBorderFill(m_device.get(), 0xFFFFFFFF), RESULT_FAIL);
    EXPECT_EQ(m_device->draws.size(), 4u);

    m_device->draws.clear();
    m_manager.OnResetDevice(m_device.get(), 1.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(m_manager.DrawBorderFill(m_device.get(), 0xFFFFFFFF), RESULT_OK);
    EXPECT_TRUE(m_device->draws.empty());
}

TEST_F(DrawingTest, BorderFillPrefersTheSidePanelsAndTilesTopAndBottom) {
    WriteSolidPng("Resources/left.png", 40, 8, 0xFFFFFFFF);
    WriteSolidPng("Resources/h.png", 8, 30, 0xFFFFFFFF);
    Start(
        "<Image id=\"MENU_LEFT_PANEL\" path=\"left.png\"/>"
        "<Image id=\"MENU_RIGHT_PANEL\" path=\"left.png\"/>"
        "<Image id=\"MENU_VER_PANEL\" path=\"tile.png\"/>"
        "<Image id=\"MENU_HOR_PANEL\" path=\"h.png\"/>");
    m_manager.OnResetDevice(m_device.get(), 0.5f, 0.25f, 64.0f, 40.0f);
    EXPECT_EQ(m_manager.DrawBorderFill(m_device.get(), 0xFFFFFFFF), RESULT_OK);
    // Each side panel once at its natural width; then trunc(40 / 30) + 1 = 2
    // tiles above (mirrored, reaching upwards) and below.
    ExpectTiles(Tiles(*m_device), {{24, 40, 1, 0.25f},
                                   {576, 40, 1, 0.25f},
                                   {64, 40, 0.5f, -1},
                                   {64, 232, 0.5f, 1},
                                   {64, 10, 0.5f, -1},
                                   {64, 262, 0.5f, 1}});
}

TEST_F(DrawingTest, BorderFillPixelsMirrorTowardsThePicture) {
    Start("<Image id=\"MENU_VER_PANEL\" path=\"tile.png\"/>");
    // 1024 x 768 design pixels at 0.1875 x 0.25 fill 192 x 192 of the 256-wide
    // screen, leaving 32-pixel bands: three 16-pixel tiles a side, the last
    // beyond the screen.
    m_manager.OnResetDevice(m_device.get(), 0.1875f, 0.25f, 32.0f, 0.0f);
    m_device->Clear(0xFF000000);
    m_manager.DrawBorderFill(m_device.get(), 0xFFFFFFFF);
    const auto screen = Screen();
    const std::vector<std::pair<int, std::uint32_t>> probes = {
        {28, RED},  {20, GREEN},  {12, RED},  {4, GREEN},    // left band, mirrored
        {228, RED}, {236, GREEN}, {244, RED}, {252, GREEN},  // right band
        {100, 0},
    };
    for (const auto& [x, colour] : probes) {
        EXPECT_TRUE(RgbNear(PixelAt(screen, x, 0), colour)) << x;
    }
}

}  // namespace
