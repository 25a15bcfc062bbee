// The render device on the software renderer: sprite geometry, colour and
// blending read back from the back buffer, refused source rectangles and the
// lost-device states.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "engine/backend/video.h"

namespace {

using backend::BlendMode;
using backend::DeviceStatus;
using backend::DrawResult;
using backend::Rect;
using backend::SpriteDraw;
using backend::Vec2f;

constexpr std::uint32_t kBackground = 0xFF404040;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kClear = 0x00000000;
constexpr std::uint32_t kHalfBlue = 0x800000FF;
// Half-transparent blue over the background, and added to it: an additive
// draw adds the texel colour in full, whatever its alpha.
constexpr std::uint32_t kHalfBlueOver = 0xFF2020A0;
constexpr std::uint32_t kHalfBlueAdded = 0xFF4040FF;
constexpr int kSize = 128;

// An 8 x 8 picture of four 4 x 4 quadrants: red, green / clear, half blue.
std::vector<std::uint32_t> QuadrantPixels() {
    std::vector<std::uint32_t> pixels(64);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool right = x >= 4;
            const bool bottom = y >= 4;
            pixels[static_cast<std::size_t>(y * 8 + x)] =
                bottom ? (right ? kHalfBlue : kClear) : (right ? kGreen : kRed);
        }
    }
    return pixels;
}

bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return false;
        }
    }
    return true;
}

class RenderDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(backend::Video().Init());
        backend::WindowDesc desc;
        desc.title = "render test";
        desc.clientWidth = kSize;
        desc.clientHeight = kSize;
        window = backend::Video().CreateWindow(desc);
        ASSERT_NE(window, nullptr);
        window->Show();
        device = window->CreateDevice();
        ASSERT_NE(device, nullptr);
        const std::vector<std::uint32_t> pixels = QuadrantPixels();
        texture = device->CreateTexture(8, 8, pixels.data());
        ASSERT_NE(texture, nullptr);
    }

    std::uint32_t Pixel(const std::vector<std::uint32_t>& frame, int x, int y) const {
        return frame[static_cast<std::size_t>(y * kSize + x)];
    }

    std::vector<std::uint32_t> DrawAlone(const SpriteDraw& draw) {
        device->Clear(kBackground);
        EXPECT_TRUE(device->BeginScene());
        EXPECT_EQ(device->Draw(draw), DrawResult::Ok);
        device->EndScene();
        std::vector<std::uint32_t> frame;
        EXPECT_TRUE(device->ReadPixels(frame));
        EXPECT_EQ(frame.size(), static_cast<std::size_t>(kSize * kSize));
        return frame;
    }

    std::unique_ptr<backend::IWindow> window;
    std::unique_ptr<backend::IRenderDevice> device;
    std::unique_ptr<backend::ITexture> texture;
};

struct Probe {
    int x;
    int y;
    std::uint32_t expected;
};

struct DrawCase {
    const char* name;
    Rect source;
    bool useSource;
    Vec2f scale;
    Vec2f centre;
    float rotation;
    Vec2f translation;
    std::uint32_t colour;
    BlendMode blend;
    std::vector<Probe> probes;
};

TEST_F(RenderDeviceTest, SpriteDrawsLandWhereTheSpriteGeometryPutsThem) {
    const float quarter = std::numbers::pi_v<float> / 2.0f;
    const std::vector<DrawCase> cases = {
        {"plain, with clear and half-transparent pixels",
         {},
         false,
         {1, 1},
         {0, 0},
         0,
         {10, 10},
         0xFFFFFFFF,
         BlendMode::Alpha,
         {{11, 11, kRed},
          {16, 12, kGreen},
          {12, 16, kBackground},
          {16, 16, kHalfBlueOver},
          {9, 9, kBackground},
          {18, 18, kBackground}}},
        {"source rectangle scaled about the top-left corner",
         {4, 0, 8, 4},
         true,
         {4, 4},
         {0, 0},
         0,
         {20, 20},
         0xFFFFFFFF,
         BlendMode::Alpha,
         {{22, 22, kGreen}, {33, 33, kGreen}, {38, 28, kBackground}, {28, 38, kBackground}}},
        {"source past the right edge is clipped, not stretched",
         {4, 0, 12, 4},
         true,
         {4, 4},
         {0, 0},
         0,
         {20, 20},
         0xFFFFFFFF,
         BlendMode::Alpha,
         {{33, 28, kGreen}, {42, 28, kBackground}, {50, 28, kBackground}}},
        {"negative scale mirrors to the left of the position",
         {0, 0, 8, 4},
         true,
         {-4, 4},
         {0, 0},
         0,
         {60, 20},
         0xFFFFFFFF,
         BlendMode::Alpha,
         {{36, 28, kGreen}, {52, 28, kRed}, {62, 28, kBackground}, {25, 28, kBackground}}},
        {"quarter turn clockwise about the picture's centre",
         {},
         false,
         {4, 4},
         {16, 16},
         quarter,
         {40, 40},
         0xFFFFFFFF,
         BlendMode::Alpha,
         {{64, 48, kRed}, {64, 64, kGreen}, {48, 48, kBackground}, {48, 64, kHalfBlueOver}}},
        {"mirrored picture turned about its own centre",
         {},
         false,
         {-4, 4},
         {-16, 16},
         quarter,
         {100, 40},
         0xFFFFFFFF,
         BlendMode::Alpha,
         {{92, 64, kRed}, {92, 48, kGreen}, {76, 48, kHalfBlueOver}, {76, 64, kBackground}}},
        {"colour modulates",
         {},
         false,
         {4, 4},
         {0, 0},
         0,
         {10, 10},
         0xFF808080,
         BlendMode::Alpha,
         {{18, 18, 0xFF800000}, {34, 18, 0xFF008000}}},
        {"alpha of the colour fades the picture",
         {},
         false,
         {4, 4},
         {0, 0},
         0,
         {10, 10},
         0x80FFFFFF,
         BlendMode::Alpha,
         {{18, 18, 0xFFA02020}, {34, 18, 0xFF20A020}}},
        {"additive blending adds to the screen",
         {},
         false,
         {4, 4},
         {0, 0},
         0,
         {10, 10},
         0xFFFFFFFF,
         BlendMode::Additive,
         {{18, 18, 0xFFFF4040},
          {34, 18, 0xFF40FF40},
          {18, 34, kBackground},
          {34, 34, kHalfBlueAdded}}},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        SpriteDraw draw;
        draw.texture = texture.get();
        draw.source = c.useSource ? &c.source : nullptr;
        draw.scale = c.scale;
        draw.centre = c.centre;
        draw.rotation = c.rotation;
        draw.translation = c.translation;
        draw.colour = c.colour;
        draw.blend = c.blend;
        const std::vector<std::uint32_t> frame = DrawAlone(draw);
        for (const Probe& probe : c.probes) {
            const std::uint32_t actual = Pixel(frame, probe.x, probe.y);
            EXPECT_TRUE(Near(actual, probe.expected, 3))
                << "at " << probe.x << "," << probe.y << std::hex << " got 0x" << actual
                << " expected 0x" << probe.expected;
        }
    }
}

// Additive draws are source one, destination one: background + texel colour x
// draw colour, per channel and clamped; the texel's alpha and the draw
// colour's alpha play no part.
TEST_F(RenderDeviceTest, AdditiveDrawsAddTheColourInFullWhateverTheAlpha) {
    // Texels: half-transparent orange, fully clear grey, clear black (the
    // colour key's result), opaque dark blue.
    const std::uint32_t quadrants[4] = {0x80C06020, 0x00404040, 0x00000000, 0xFF000080};
    std::vector<std::uint32_t> texels(64);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            texels[static_cast<std::size_t>(y * 8 + x)] = quadrants[(y / 4) * 2 + x / 4];
        }
    }
    const std::unique_ptr<backend::ITexture> picture = device->CreateTexture(8, 8, texels.data());
    ASSERT_NE(picture, nullptr);
    struct AddCase {
        std::uint32_t colour;
        std::uint32_t expected[4];
    };
    const AddCase cases[] = {
        {0xFFFFFFFF, {0xFFFFA060, 0xFF808080, kBackground, 0xFF4040C0}},
        // Half alpha in the draw colour changes nothing.
        {0x80FFFFFF, {0xFFFFA060, 0xFF808080, kBackground, 0xFF4040C0}},
        {0x00FFFFFF, {0xFFFFA060, 0xFF808080, kBackground, 0xFF4040C0}},
        // The colour modulates: half of each channel, none of green.
        {0x80800080, {0xFFA04050, 0xFF604060, kBackground, 0xFF404080}},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour);
        SpriteDraw draw;
        draw.texture = picture.get();
        draw.scale = {4, 4};
        draw.colour = c.colour;
        draw.blend = BlendMode::Additive;
        const std::vector<std::uint32_t> frame = DrawAlone(draw);
        const int probes[4][2] = {{8, 8}, {24, 8}, {8, 24}, {24, 24}};
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t actual = Pixel(frame, probes[i][0], probes[i][1]);
            EXPECT_TRUE(Near(actual, c.expected[i], 1))
                << "texel " << i << std::hex << " got 0x" << actual << " expected 0x"
                << c.expected[i];
        }
    }
    // The picture keeps its own alpha for ordinary draws after an additive one.
    SpriteDraw plain;
    plain.texture = picture.get();
    plain.scale = {4, 4};
    const std::vector<std::uint32_t> frame = DrawAlone(plain);
    EXPECT_TRUE(Near(Pixel(frame, 8, 8), 0xFF805030, 2)) << std::hex << Pixel(frame, 8, 8);
    EXPECT_TRUE(Near(Pixel(frame, 24, 8), kBackground, 1)) << std::hex << Pixel(frame, 24, 8);
}

// A picture with no transparent pixel is drawn without blending; what lands on
// the screen must not change for it: exact texels at full alpha, a fade or an
// additive draw as for any picture, and a translucent picture still blended.
// Both ways of making a texture are checked.
TEST_F(RenderDeviceTest, OpaquePicturesLandAsBlendedOnesWouldWhateverTheTextureWasMadeFrom) {
    const std::vector<std::uint32_t> solid(64, 0xFFC06020);
    std::vector<std::uint32_t> translucent(64, 0xFFC06020);
    translucent[63] = 0x80C06020;  // one pixel is enough to need blending
    struct PaintCase {
        const char* name;
        std::uint32_t colour;
        BlendMode blend;
        std::uint32_t solidPixel;  // at a pixel of full alpha in both pictures
        std::uint32_t translucentCorner;
    };
    const PaintCase cases[] = {
        {"plain", 0xFFFFFFFF, BlendMode::Alpha, 0xFFC06020, 0xFF805030},
        {"modulated", 0xFF808080, BlendMode::Alpha, 0xFF603010, 0xFF503828},
        {"faded", 0x80FFFFFF, BlendMode::Alpha, 0xFF805030, 0xFF604838},
        {"additive", 0xFFFFFFFF, BlendMode::Additive, 0xFFFFA060, 0xFFFFA060},
    };
    for (const bool filled : {false, true}) {
        const auto make = [&](const std::vector<std::uint32_t>& pixels) {
            if (!filled) {
                return device->CreateTexture(8, 8, pixels.data());
            }
            return device->CreateFilledTexture(8, 8, [&](std::uint32_t* out) {
                std::copy(pixels.begin(), pixels.end(), out);
                return true;
            });
        };
        const std::unique_ptr<backend::ITexture> solidPicture = make(solid);
        const std::unique_ptr<backend::ITexture> translucentPicture = make(translucent);
        ASSERT_NE(solidPicture, nullptr);
        ASSERT_NE(translucentPicture, nullptr);
        for (const PaintCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (filled ? " filled" : " from pixels"));
            SpriteDraw draw;
            draw.scale = {4, 4};
            draw.colour = c.colour;
            draw.blend = c.blend;
            draw.texture = solidPicture.get();
            std::vector<std::uint32_t> frame = DrawAlone(draw);
            const int tolerance = c.colour == 0xFFFFFFFF && c.blend == BlendMode::Alpha ? 0 : 2;
            for (const auto& [x, y] : {std::pair{1, 1}, std::pair{30, 30}}) {
                EXPECT_TRUE(Near(Pixel(frame, x, y), c.solidPixel, tolerance))
                    << std::hex << Pixel(frame, x, y);
            }
            EXPECT_EQ(Pixel(frame, 40, 40), kBackground);
            draw.texture = translucentPicture.get();
            frame = DrawAlone(draw);
            EXPECT_TRUE(Near(Pixel(frame, 1, 1), c.solidPixel, tolerance))
                << std::hex << Pixel(frame, 1, 1);
            EXPECT_TRUE(Near(Pixel(frame, 30, 30), c.translucentCorner, 2))
                << std::hex << Pixel(frame, 30, 30);
        }
    }
    // A fill that fails makes no texture.
    EXPECT_EQ(device->CreateFilledTexture(8, 8, [](std::uint32_t*) { return false; }), nullptr);
}

// Fades draw whole screens of opaque pictures at a colour below white. Each
// channel must come out as value x colour / 255 rounded down, whatever the
// size and place of the picture and its source rectangle, the picture itself
// must stay as it was, and a bigger picture after a smaller one must be whole.
TEST_F(RenderDeviceTest, TintedOpaquePicturesGiveEachChannelTimesTheColour) {
    const auto pattern = [](int width, int height) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const auto r = static_cast<std::uint32_t>((x * 37 + y * 11) % 256);
                const auto g = static_cast<std::uint32_t>((x * 5 + y * 53 + 100) % 256);
                const auto b = static_cast<std::uint32_t>((x * y + 255) % 256);
                pixels[static_cast<std::size_t>(y * width + x)] =
                    0xFF000000u | r << 16 | g << 8 | b;
            }
        }
        return pixels;
    };
    const auto tinted = [](std::uint32_t pixel, std::uint32_t colour) {
        std::uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            out |= ((pixel >> shift & 0xFF) * (colour >> shift & 0xFF) / 255) << shift;
        }
        return out;
    };
    struct TintCase {
        const char* name;
        int width;  // of the picture; odd widths leave a tail after whole blocks
        int height;
        Rect source;
        Vec2f translation;
        std::uint32_t colour;
    };
    const TintCase cases[] = {
        {"grey", 37, 23, {0, 0, 37, 23}, {5, 7}, 0xFF808080},
        {"coloured, part of the picture", 37, 23, {3, 2, 30, 21}, {40, 60}, 0xFF4D80C0},
        {"black", 37, 23, {0, 0, 37, 23}, {0, 0}, 0xFF000000},
        {"a bigger picture after a smaller one", 120, 100, {0, 0, 120, 100}, {4, 20}, 0xFFF0E0D0},
        {"one pixel wide", 1, 9, {0, 0, 1, 9}, {127, 0}, 0xFF7F7F7F},
    };
    for (const TintCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint32_t> pixels = pattern(c.width, c.height);
        const std::unique_ptr<backend::ITexture> picture =
            device->CreateTexture(c.width, c.height, pixels.data());
        ASSERT_NE(picture, nullptr);
        SpriteDraw draw;
        draw.texture = picture.get();
        draw.source = &c.source;
        draw.translation = c.translation;
        draw.colour = c.colour;
        for (const std::uint32_t colour : {c.colour, 0xFFFFFFFFu}) {
            draw.colour = colour;
            const std::vector<std::uint32_t> frame = DrawAlone(draw);
            int wrong = 0;
            for (int y = 0; y < kSize; ++y) {
                for (int x = 0; x < kSize; ++x) {
                    const int u = x - static_cast<int>(c.translation.x) + c.source.left;
                    const int v = y - static_cast<int>(c.translation.y) + c.source.top;
                    const bool inside = u >= c.source.left && u < c.source.right &&
                                        v >= c.source.top && v < c.source.bottom;
                    const std::uint32_t expected =
                        inside ? tinted(pixels[static_cast<std::size_t>(v * c.width + u)], colour)
                               : kBackground;
                    if (Pixel(frame, x, y) != expected && ++wrong <= 3) {
                        ADD_FAILURE()
                            << std::hex << "colour " << colour << " at " << std::dec << x << ","
                            << y << ": " << std::hex << Pixel(frame, x, y) << " not " << expected;
                    }
                }
            }
            EXPECT_EQ(wrong, 0) << "colour " << std::hex << colour;
        }
    }
}

TEST_F(RenderDeviceTest, TexturesBeyondTheLargestSizeAreRefused) {
    // The software renderer names no limit of its own; the device sets one.
    const int largest = device->MaxTextureSize();
    ASSERT_EQ(largest, 8192);
    const std::vector<std::uint32_t> row(static_cast<std::size_t>(largest) + 1, 0xFFFFFFFF);
    EXPECT_EQ(device->CreateTexture(largest + 1, 1, row.data()), nullptr);
    EXPECT_EQ(device->CreateTexture(1, largest + 1, row.data()), nullptr);
    EXPECT_NE(device->CreateTexture(largest, 1, row.data()), nullptr);
}

TEST_F(RenderDeviceTest, RefusesBadSourceRectanglesAndDrawsNothingForThem) {
    struct RectCase {
        Rect source;
        DrawResult expected;
    };
    const RectCase cases[] = {
        {{-1, 0, 4, 4}, DrawResult::InvalidCall},  // negative left
        {{0, -1, 4, 4}, DrawResult::InvalidCall},  // negative top
        {{5, 0, 4, 4}, DrawResult::InvalidCall},   // left beyond right
        {{9, 0, 10, 4}, DrawResult::InvalidCall},  // left beyond the width
        {{0, 5, 4, 4}, DrawResult::InvalidCall},   // top beyond bottom
        {{0, 9, 4, 10}, DrawResult::InvalidCall},  // top beyond the height
        {{8, 0, 8, 4}, DrawResult::Ok},            // empty at the right edge
        {{0, 0, 16, 16}, DrawResult::Ok},          // clipped to the picture
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source.left << "," << c.source.top << ","
                                        << c.source.right << "," << c.source.bottom);
        device->Clear(kBackground);
        SpriteDraw draw;
        draw.texture = texture.get();
        draw.source = &c.source;
        draw.scale = {4, 4};
        EXPECT_EQ(device->Draw(draw), c.expected);
        if (c.expected == DrawResult::InvalidCall) {
            std::vector<std::uint32_t> frame;
            ASSERT_TRUE(device->ReadPixels(frame));
            EXPECT_EQ(Pixel(frame, 2, 2), kBackground);
        }
    }
    SpriteDraw missing;
    EXPECT_EQ(device->Draw(missing), DrawResult::InvalidCall);
}

TEST_F(RenderDeviceTest, FillRectReplacesPixelsInsteadOfBlending) {
    device->Clear(kBackground);
    device->FillRect({4, 4, 12, 8}, 0x80FF0000);
    std::vector<std::uint32_t> frame;
    ASSERT_TRUE(device->ReadPixels(frame));
    EXPECT_EQ(Pixel(frame, 4, 4), kRed);
    EXPECT_EQ(Pixel(frame, 11, 7), kRed);
    EXPECT_EQ(Pixel(frame, 12, 7), kBackground);
    EXPECT_EQ(Pixel(frame, 11, 8), kBackground);
}

// A clear may be left out only under an opaque picture that covers every
// pixel. Each case draws over a frame of another colour: any of it left means
// a clear was skipped where something of it should show.
TEST_F(RenderDeviceTest, TheClearShowsWhereverThePictureDoesNotHideItAll) {
    constexpr std::uint32_t kStale = 0xFF0A0B0C;
    const std::vector<std::uint32_t> solid(64, 0xFF2060C0);
    const std::unique_ptr<backend::ITexture> opaque = device->CreateTexture(8, 8, solid.data());
    ASSERT_NE(opaque, nullptr);
    SpriteDraw cover;
    cover.texture = opaque.get();
    cover.scale = {kSize / 8.0f, kSize / 8.0f};
    const auto coverWith = [&](auto change) {
        SpriteDraw draw = cover;
        change(draw);
        return draw;
    };
    const Rect bad{9, 0, 4, 8};
    struct ClearCase {
        const char* name;
        SpriteDraw draw;
        Probe probe;  // where the clear must show, or the picture
    };
    const ClearCase cases[] = {
        {"covering all", cover, {kSize - 1, kSize - 1, 0xFF2060C0}},
        {"tinted, covering all",
         coverWith([](SpriteDraw& d) { d.colour = 0xFF808080; }),
         {0, 0, 0xFF103060}},
        {"one column short",
         coverWith([](SpriteDraw& d) { d.scale.x -= 0.125f; }),
         {kSize - 1, 5, kBackground}},
        {"one row short",
         coverWith([](SpriteDraw& d) { d.scale.y -= 0.125f; }),
         {5, kSize - 1, kBackground}},
        {"shifted down a row",
         coverWith([](SpriteDraw& d) {
             d.translation = {0, 1};
         }),
         {5, 0, kBackground}},
        {"see-through",
         coverWith([](SpriteDraw& d) { d.colour = 0x80FFFFFF; }),
         {5, 5, 0xFF305080}},
        {"added",
         coverWith([](SpriteDraw& d) { d.blend = BlendMode::Additive; }),
         {5, 5, 0xFF60A0FF}},
        {"turned",
         coverWith([](SpriteDraw& d) { d.rotation = 0.3f; }),
         {kSize - 1, 0, kBackground}},
        {"with transparent pixels",
         coverWith([&](SpriteDraw& d) { d.texture = texture.get(); }),
         {5, kSize - 5, kBackground}},
        {"refused", coverWith([&](SpriteDraw& d) { d.source = &bad; }), {5, 5, kBackground}},
    };
    for (const ClearCase& c : cases) {
        SCOPED_TRACE(c.name);
        device->Clear(kStale);
        ASSERT_TRUE(device->Present());
        device->Clear(kBackground);
        device->Draw(c.draw);
        std::vector<std::uint32_t> frame;
        ASSERT_TRUE(device->ReadPixels(frame));
        EXPECT_TRUE(Near(Pixel(frame, c.probe.x, c.probe.y), c.probe.expected, 2))
            << std::hex << Pixel(frame, c.probe.x, c.probe.y) << " not " << c.probe.expected;
        EXPECT_EQ(std::count(frame.begin(), frame.end(), kStale), 0);
    }
    // A clear with nothing after it is still made before the frame shows.
    device->Clear(kStale);
    ASSERT_TRUE(device->Present());
    device->Clear(kBackground);
    ASSERT_TRUE(device->Present());
    std::vector<std::uint32_t> frame;
    ASSERT_TRUE(device->ReadPixels(frame));
    EXPECT_EQ(Pixel(frame, 64, 64), kBackground);
}

TEST_F(RenderDeviceTest, ReplayOfARecordedFrameDrawsTheSameFrame) {
    // Every kind of call with every piece of state a draw sets: the replay
    // must set the texture state of each call itself, not inherit it.
    const auto drawFrame = [&] {
        device->Clear(kBackground);
        device->FillRect({0, 0, 20, 20}, 0x80FF0000);
        SpriteDraw tinted{.texture = texture.get(),
                          .scale = {4.0f, 4.0f},
                          .translation = {10.0f, 30.0f},
                          .colour = 0x80FFFF00};
        device->Draw(tinted);
        SpriteDraw turned{.texture = texture.get(),
                          .scale = {-3.0f, 2.0f},
                          .centre = {4.0f, 4.0f},
                          .rotation = std::numbers::pi_v<float> / 5.0f,
                          .translation = {90.0f, 40.0f}};
        device->Draw(turned);
        SpriteDraw added{.texture = texture.get(),
                         .scale = {5.0f, 5.0f},
                         .translation = {50.0f, 80.0f},
                         .blend = BlendMode::Additive};
        device->Draw(added);
    };
    device->RecordDraws(true);
    drawFrame();
    device->RecordDraws(false);
    std::vector<std::uint32_t> drawn;
    ASSERT_TRUE(device->ReadPixels(drawn));
    EXPECT_EQ(device->RecordedDrawCount(), 5u);

    // Calls after the recording stopped are not kept.
    device->Clear(kGreen);
    device->Draw({.texture = texture.get(), .translation = {1.0f, 1.0f}});
    EXPECT_EQ(device->RecordedDrawCount(), 5u);
    device->ReplayRecordedDraws();
    std::vector<std::uint32_t> replayed;
    ASSERT_TRUE(device->ReadPixels(replayed));
    EXPECT_EQ(replayed, drawn);

    // A new recording starts empty.
    device->RecordDraws(true);
    device->Clear(kBackground);
    device->RecordDraws(false);
    EXPECT_EQ(device->RecordedDrawCount(), 1u);
}

TEST_F(RenderDeviceTest, LostDeviceAndFailedResetRecoverWithTexturesIntact) {
    EXPECT_EQ(device->BackBufferWidth(), kSize);
    EXPECT_EQ(device->BackBufferHeight(), kSize);
    EXPECT_FALSE(device->RendererName().empty());
    EXPECT_EQ(device->Status(), DeviceStatus::Ok);

    device->SimulateStatus(DeviceStatus::Lost);
    EXPECT_EQ(device->Status(), DeviceStatus::Lost);
    EXPECT_FALSE(device->Present());
    EXPECT_FALSE(device->Reset());

    device->SimulateStatus(DeviceStatus::NeedsReset, true);
    EXPECT_EQ(device->Status(), DeviceStatus::NeedsReset);
    EXPECT_FALSE(device->Reset());
    EXPECT_EQ(device->Status(), DeviceStatus::NeedsReset);
    EXPECT_TRUE(device->Reset());
    EXPECT_EQ(device->Status(), DeviceStatus::Ok);
    EXPECT_TRUE(device->Present());

    SpriteDraw draw;
    draw.texture = texture.get();
    draw.translation = {10, 10};
    const std::vector<std::uint32_t> frame = DrawAlone(draw);
    EXPECT_EQ(Pixel(frame, 11, 11), kRed);
}

TEST_F(RenderDeviceTest, TextureOfAnotherDeviceOrOutlivingItsDeviceIsHarmless) {
    std::unique_ptr<backend::ITexture> orphan = std::move(texture);
    device.reset();
    orphan.reset();  // must not free what the renderer already freed
    device = window->CreateDevice();
    ASSERT_NE(device, nullptr);
    const std::vector<std::uint32_t> pixels = QuadrantPixels();
    std::unique_ptr<backend::ITexture> fresh = device->CreateTexture(8, 8, pixels.data());
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Width(), 8);
    EXPECT_EQ(device->CreateTexture(0, 8, pixels.data()), nullptr);
}

TEST(VideoTest, DisplayModesOfferEverySizeInBothFormats) {
    ASSERT_TRUE(backend::Video().Init());
    EXPECT_EQ(backend::Video().DriverName(), "dummy");
    backend::DisplayMode desktop;
    ASSERT_TRUE(backend::Video().DesktopMode(desktop));
    EXPECT_EQ(desktop.width, 1024);
    EXPECT_EQ(desktop.height, 768);
    EXPECT_EQ(desktop.format, backend::FORMAT_X8R8G8B8);

    const std::vector<backend::DisplayMode> modes = backend::Video().DisplayModes();
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0].format, backend::FORMAT_X8R8G8B8);
    EXPECT_EQ(modes[1].format, backend::FORMAT_R5G6B5);
    for (const backend::DisplayMode& mode : modes) {
        EXPECT_EQ(mode.width, 1024);
        EXPECT_EQ(mode.height, 768);
    }
}

// What the display lists, as the game is offered it. A display that lists no
// mode at all still shows its desktop; without a mode there is nothing to
// start in.
TEST(VideoTest, OfferedModesFallBackToTheDesktopWhenTheDisplayListsNone) {
    using backend::DisplayMode;
    const DisplayMode desktop{1024, 768, 60, backend::FORMAT_X8R8G8B8};
    struct Case {
        const char* name;
        std::vector<DisplayMode> listed;
        DisplayMode desktop;
        std::vector<std::pair<int, int>> sizes;  // of each format, in order
        bool toldOfDesktop;
    };
    const Case cases[] = {
        {"listed sizes, repeats dropped",
         {{800, 600, 60}, {1024, 768, 60}, {800, 600, 60}, {800, 600, 75}},
         desktop,
         {{800, 600}, {1024, 768}, {800, 600}},
         false},
        {"nothing listed", {}, desktop, {{1024, 768}}, true},
        {"only empty sizes listed", {{0, 0, 0}}, desktop, {{1024, 768}}, true},
        {"nothing listed, desktop unknown", {}, DisplayMode{0, 0, 0}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::testing::internal::CaptureStderr();
        const std::vector<DisplayMode> modes = backend::OfferedDisplayModes(c.listed, c.desktop);
        const std::string said = ::testing::internal::GetCapturedStderr();
        ASSERT_EQ(modes.size(), 2 * c.sizes.size());
        for (std::size_t i = 0; i < modes.size(); ++i) {
            const std::pair<int, int>& size = c.sizes[i % c.sizes.size()];
            EXPECT_EQ(modes[i].width, size.first) << i;
            EXPECT_EQ(modes[i].height, size.second) << i;
            EXPECT_EQ(modes[i].format,
                      i < c.sizes.size() ? backend::FORMAT_X8R8G8B8 : backend::FORMAT_R5G6B5)
                << i;
        }
        EXPECT_EQ(said.find("desktop") != std::string::npos, c.toldOfDesktop) << said;
    }
}

TEST(VideoTest, FullscreenAndBackKeepTheRequestedSizes) {
    ASSERT_TRUE(backend::Video().Init());
    backend::WindowDesc desc;
    desc.clientWidth = 320;
    desc.clientHeight = 240;
    std::unique_ptr<backend::IWindow> window = backend::Video().CreateWindow(desc);
    ASSERT_NE(window, nullptr);
    int width = 0;
    int height = 0;
    window->ClientSize(width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);

    ASSERT_TRUE(window->SetFullscreen({1024, 768, 0, backend::FORMAT_X8R8G8B8}));
    EXPECT_TRUE(window->IsFullscreen());
    window->ClientSize(width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);

    ASSERT_TRUE(window->SetWindowed(400, 300));
    EXPECT_FALSE(window->IsFullscreen());
    window->ClientSize(width, height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
}

}  // namespace
