// The game screen as the player sees it: the shipped pictures loaded on the
// headless software renderer at 1024 x 768, the location group and the late
// comic pages in memory, a frame of the scene drawn for a profile, a level and
// a mode word set directly, and the back buffer compared with the source
// pictures composed as the screen should show them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
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
#include "game/game_session.h"
#include "game/scene.h"
#include "game/session_test_support.h"
#include "shipped_screen.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr int kTolerance = 1;
constexpr float kDimmed = 127.0f;
constexpr float kFull = 255.0f;

// One picture as the screen should show it: a source rectangle given as the
// screen tables give it (left, right, top, bottom), its top-left corner on the
// screen and the brightness it is drawn at.
struct Layer {
    std::string image;
    int left;
    int right;
    int top;
    int bottom;
    int x;
    int y;
    float brightness = kFull;
};

// An area of the screen: left, top, right, bottom (right and bottom excluded).
struct Area {
    int left;
    int top;
    int right;
    int bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// What a case sets before its frame.
struct FrameSetup {
    std::uint32_t mode = MODE_GAME;
    float fade = kFull;
    std::int32_t storyLevel = 7;
    bool bonus = false;
    float timeLeft = 30.0f;
    std::int32_t goalRight = 8 + 100;
    std::int32_t timeRight = 92 + 141;
    float holdTimer = 0.0f;
    bool purchase = false;
    Vec2 cursor{5000.0f, 5000.0f};
    bool pressed = false;
};

struct PixelCase {
    const char* name;
    FrameSetup setup;
    std::vector<Layer> layers;
    // Numbers and texts drawn over the pictures: left out of the comparison.
    std::vector<Area> ignored;
    // Areas that must differ from the pictures somewhere (a text or a
    // scaled picture is drawn there); left out of the comparison too.
    std::vector<Area> changed;
};

// The numbers of the play HUD: the cash and the story level.
const Area kCashText{10, 30, 82, 92};
// The bonus game's own line under its score bar ("saved/total").
const Area kBonusGoalText{830, 700, 970, 768};
const Area kLevelText{110, 28, 176, 80};
// The shop's savings, six digits wide.
const Area kSavingsText{0, 30, 110, 92};

Layer Button(const char* image, int left, int right, int top, int bottom, int x, int y,
             float brightness = kFull) {
    return {image, left, right, top, bottom, x, y, brightness};
}

// The captioned buttons all show the same picture; their captions are absent
// from this test's language table.
Layer CaptionedButton(int x, int y, float brightness = kFull) {
    return Button("GUI", 0, 235, 86, 151, x, y, brightness);
}

std::vector<Layer> CornerLayers(float b) {
    return {{"GUI", 301, 408, 0, 74, 917, 0, b}, {"ICONS", 345, 475, 423, 511, 913, -15, b}};
}

std::vector<Layer> PlayHudLayers(int goalRight, int timeRight, float b) {
    std::vector<Layer> layers = CornerLayers(b);
    const std::vector<Layer> rest = {
        {"ICONS", 1, 345, 423, 439, 394, -15, b},       {"GUI", 92, 439, 475, 513, 394, 0, b},
        {"GUI", 92, timeRight, 459, 474, 437, 3, b},    {"ICONS", 142, 459, 325, 423, -19, -13, b},
        {"ICONS", 142, 162, 345, 423, -19, 19, b},      {"LEFT_MENU", 0, 298, 0, 99, 0, 0, b},
        {"LEFT_MENU", 8, goalRight, 109, 133, 8, 9, b},
    };
    layers.insert(layers.end(), rest.begin(), rest.end());
    return layers;
}

std::vector<Layer> Join(std::vector<Layer> first, const std::vector<Layer>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Layer FullScreen(const char* image, float b = kFull) {
    return {image, 0, 1024, 0, 768, 0, 0, b};
}

const Layer kNextButton = Button("GUI", 238, 332, 169, 238, 925, 697);

// The map with the marks of the levels before `level`, the current level's
// large mark and, at full size, the marker.
std::vector<Layer> MapLayers(std::int32_t level, bool marker) {
    const std::vector<Vec2>& points = g_gameSession.GetMapPoints();
    std::vector<Layer> layers = {FullScreen("MAP"), CaptionedButton(20, 690)};
    const auto large = [&](std::int32_t n) {
        const Vec2 p = points[static_cast<std::size_t>(n - 1)];
        return Layer{
            "ITEMS", 182, 222, 178, 213, static_cast<int>(p.x) - 5, static_cast<int>(p.y) - 6};
    };
    for (std::int32_t n = 1; n < level; ++n) {
        const Vec2 p = points[static_cast<std::size_t>(n - 1)];
        layers.push_back(
            n == 1 || n == 16 || n == 31
                ? large(n)
                : Layer{"ITEMS", 225, 256, 178, 201, static_cast<int>(p.x), static_cast<int>(p.y)});
    }
    layers.push_back(large(level));
    if (marker) {
        const Vec2 p = points[static_cast<std::size_t>(level - 1)];
        layers.push_back(
            {"PELKA_MAP", 0, 39, 0, 121, static_cast<int>(p.x) - 2, static_cast<int>(p.y) - 103});
    }
    return layers;
}

std::uint32_t Channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFFu;
}

class HudPixelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The shipped data, with a language table of its own that holds only
        // CLOSED: every other text is absent and draws nothing, so that the
        // pictures can be compared.
        s_screen.OpenFolder({"language.xml", "english.xml"});
        s_screen.folder->WriteData("language.xml",
                                   "<Languages><Language current=\"English\"/>"
                                   "<English text_data=\"texts.xml\"/></Languages>");
        s_screen.folder->WriteData("texts.xml",
                                   "<texts><text id=\"CLOSED\" data=\"CLOSED\"/></texts>");
        // The room behind the HUD stays empty, so that only the HUD's own
        // pictures are compared.
        s_screen.Start(kWidth, kHeight, 1.0f, "hud pixels");
        for (const char* comic : {"COMICS_3", "COMICS_4", "COMICS_5"}) {
            ASSERT_EQ(ResourceManager::Instance().LoadImageById(s_screen.device.get(), comic),
                      RESULT_OK)
                << comic;
        }
    }

    static void TearDownTestSuite() { s_screen.Close(); }

    // The session as the case wants it; the fade is reached the way the game
    // reaches it, so the colour mask follows.
    static void Apply(const FrameSetup& setup) {
        CProfile& profile = *g_gameSession.GetCurrentProfile();
        profile.storyLevel = setup.storyLevel;
        profile.shownCash = 0.0f;
        profile.savings = 100000;
        profile.footwearLevel = 1;
        g_gameSession.GetLevel().bonus = setup.bonus;
        g_gameSession.GetLevel().need = 1000;
        g_gameSession.GetLevel().expert = 2000;
        g_gameSession.SetTimeLeft(setup.timeLeft);
        g_gameSession.SetTotalTime(60.0f);
        g_gameSession.GetImage(IMG_GOAL_BAR).source.right = setup.goalRight;
        g_gameSession.GetImage(IMG_TIME_BAR).source.right = setup.timeRight;
        g_gameSession.SetTextureHoldTimer(setup.holdTimer);
        g_gameSession.CancelPurchase(ITEM_FOOTWEAR, -1);
        if (setup.purchase) {
            ASSERT_TRUE(g_gameSession.TryPurchase(true, ITEM_FOOTWEAR, -1));
        }
        g_gameSession.SetGameMode(setup.fade < kFull ? MODE_GAME | MODE_PAUSED : MODE_GAME);
        g_gameSession.UpdateFade(1.0f);
        ASSERT_EQ(g_gameSession.GetFadeLevel(), setup.fade);
        g_gameSession.SetGameMode(setup.mode);
    }

    static std::vector<std::uint32_t> RenderFrame(const FrameSetup& setup) {
        InputState input;
        input.cursorX = setup.cursor.x;
        input.cursorY = setup.cursor.y;
        input.currentMouse.buttons[0] = setup.pressed ? 0x80 : 0x00;
        s_screen.device->Clear(kBlack);
        EXPECT_TRUE(s_screen.device->BeginScene());
        g_scene.Render(s_screen.device.get(), input, Vec2{1.0f, 1.0f});
        s_screen.device->EndScene();
        std::vector<std::uint32_t> frame;
        EXPECT_TRUE(s_screen.device->ReadPixels(frame));
        return frame;
    }

    // A source picture as the loader makes it: opaque black is transparent.
    static const backend::DecodedImage& Picture(const std::string& id) {
        static std::map<std::string, backend::DecodedImage> pictures;
        auto found = pictures.find(id);
        if (found == pictures.end()) {
            CResourceManager& resources = ResourceManager::Instance();
            const std::int32_t index = resources.GetIndex(RESOURCE_IMAGE, id);
            backend::DecodedImage picture;
            EXPECT_GE(index, 0) << id;
            if (index >= 0) {
                const std::string& path = resources.Images()[static_cast<std::size_t>(index)].path;
                EXPECT_EQ(backend::DecodeImageFile(path, picture), backend::DecodeResult::Ok)
                    << path;
            }
            for (std::uint32_t& pixel : picture.pixels) {
                pixel = pixel == kBlack ? 0u : pixel;
            }
            found = pictures.emplace(id, std::move(picture)).first;
        }
        return found->second;
    }

    // The layers composed over black, each scaled 1:1 and darkened to its
    // brightness, with alpha blending.
    static std::vector<std::uint32_t> Compose(const std::vector<Layer>& layers) {
        std::vector<std::uint32_t> screen(static_cast<std::size_t>(kWidth * kHeight), kBlack);
        for (const Layer& layer : layers) {
            const backend::DecodedImage& picture = Picture(layer.image);
            const auto grey = static_cast<std::uint32_t>(layer.brightness);
            for (int sy = layer.top; sy < std::min(layer.bottom, picture.height); ++sy) {
                for (int sx = layer.left; sx < std::min(layer.right, picture.width); ++sx) {
                    const int dx = layer.x + sx - layer.left;
                    const int dy = layer.y + sy - layer.top;
                    if (dx < 0 || dy < 0 || dx >= kWidth || dy >= kHeight) {
                        continue;
                    }
                    const std::uint32_t source =
                        picture.pixels[static_cast<std::size_t>(sy * picture.width + sx)];
                    const std::uint32_t alpha = source >> 24;
                    if (alpha == 0u) {
                        continue;
                    }
                    std::uint32_t& target = screen[static_cast<std::size_t>(dy * kWidth + dx)];
                    std::uint32_t blended = kBlack;
                    for (int shift = 0; shift < 24; shift += 8) {
                        const std::uint32_t s = Channel(source, shift) * grey / 255u;
                        const std::uint32_t d = Channel(target, shift);
                        // The software renderer skips clear pixels, copies
                        // opaque ones and blends the rest with 8-bit shifts.
                        const std::uint32_t mixed =
                            alpha == 255u ? s : (s * alpha >> 8) + (d * (255u - alpha) >> 8);
                        blended |= mixed << shift;
                    }
                    target = blended;
                }
            }
        }
        return screen;
    }

    static bool Near(std::uint32_t a, std::uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(static_cast<int>(Channel(a, shift)) -
                         static_cast<int>(Channel(b, shift))) > kTolerance) {
                return false;
            }
        }
        return true;
    }

    static void Check(const PixelCase& c) {
        SCOPED_TRACE(c.name);
        Apply(c.setup);
        const std::vector<std::uint32_t> frame = RenderFrame(c.setup);
        ASSERT_EQ(frame.size(), static_cast<std::size_t>(kWidth * kHeight));
        const std::vector<std::uint32_t> expected = Compose(c.layers);
        const auto inAny = [](const std::vector<Area>& areas, int x, int y) {
            return std::ranges::any_of(areas, [&](const Area& a) { return a.Contains(x, y); });
        };
        int mismatches = 0;
        std::ostringstream first;
        std::vector<bool> changedSeen(c.changed.size(), false);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const auto i = static_cast<std::size_t>(y * kWidth + x);
                bool skipped = inAny(c.ignored, x, y);
                for (std::size_t k = 0; k < c.changed.size(); ++k) {
                    if (c.changed[k].Contains(x, y)) {
                        skipped = true;
                        changedSeen[k] = changedSeen[k] || !Near(frame[i], expected[i]);
                    }
                }
                if (!skipped && !Near(frame[i], expected[i]) && ++mismatches <= 5) {
                    first << " (" << x << ", " << y << ") is " << std::hex << frame[i] << " not "
                          << expected[i] << std::dec;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << first.str();
        for (std::size_t k = 0; k < c.changed.size(); ++k) {
            EXPECT_TRUE(changedSeen[k]) << "nothing drawn over the pictures in area " << k;
        }
        if (mismatches > 0 && std::getenv("CORVALEN_PIXEL_DUMP") != nullptr) {
            const std::string base = std::getenv("CORVALEN_PIXEL_DUMP");
            backend::DecodedImage picture;
            picture.width = kWidth;
            picture.height = kHeight;
            picture.pixels = frame;
            backend::SavePng(base + "/" + c.name + "_actual.png", picture);
            picture.pixels = expected;
            backend::SavePng(base + "/" + c.name + "_expected.png", picture);
        }
    }

    static screen_test::ShippedScreen s_screen;
};

screen_test::ShippedScreen HudPixelTest::s_screen;

TEST_F(HudPixelTest, PlayHudShowsItsPanelsAndBarsToTheEdgesSetAndClosedOnlyWithoutTime) {
    const Area closed{440, 0, 710, 40};
    const std::vector<PixelCase> cases = {
        {"time left", {}, PlayHudLayers(108, 233, kFull), {kCashText, kLevelText}, {}},
        {"other edges",
         {.goalRight = 8 + 268, .timeRight = 92 + 20},
         PlayHudLayers(276, 112, kFull),
         {kCashText, kLevelText},
         {}},
        {"time up",
         {.timeLeft = 0.0f, .timeRight = 92},
         PlayHudLayers(108, 92, kFull),
         {kCashText, kLevelText},
         {closed}},
        {"bonus level",
         {.bonus = true, .timeLeft = 0.0f},
         CornerLayers(kFull),
         {kBonusGoalText},
         {}},
    };
    for (const PixelCase& c : cases) {
        Check(c);
    }
}

TEST_F(HudPixelTest, PauseOverlayIsAtFullBrightnessUnlessTheGameIsBeingLeft) {
    const Area goals{400, 440, 620, 520};
    const auto overlay = [](float b) {
        return std::vector<Layer>{
            {"MESSAGE", 0, 662, 0, 756, 182, 7, b},
            {"MESSAGE", 166, 474, 543, 566, 346, 540, b},
            {"MESSAGE", 166, 474, 543, 566, 346, 560, b},
            CaptionedButton(382, 524, b),
            CaptionedButton(382, 598, b),
        };
    };
    const std::vector<PixelCase> cases = {
        {"pause",
         {.mode = 0x28, .fade = kDimmed},
         Join(PlayHudLayers(108, 233, kDimmed), overlay(kFull)),
         {kCashText, kLevelText, goals},
         {}},
        {"pause while leaving for the menu",
         {.mode = 0x20028, .fade = kDimmed},
         Join(PlayHudLayers(108, 233, kDimmed), overlay(kDimmed)),
         {kCashText, kLevelText, goals},
         {}},
    };
    for (const PixelCase& c : cases) {
        Check(c);
    }
    EXPECT_EQ(ResourceManager::Instance().GetColourMask(), 0xFF7F7F7Fu) << "the fade's again";
}

TEST_F(HudPixelTest, MapMarksThePassedLevelsAndTheMarkerShrinksAtTheLastLevel) {
    const Vec2 last = g_gameSession.GetMapPoints().back();
    // The marker at 0.6 of its size: 23.4 x 72.6 pixels from (447.8, -2.6),
    // its corner put on whole pixels.
    const int markerX = static_cast<int>(last.x - 2.0f + 19.5f * 0.4f);
    const Area smallMarker{markerX, 0, markerX + 25, 72};
    const std::vector<PixelCase> cases = {
        {"story level 1", {.mode = 0x8008, .storyLevel = 1}, MapLayers(1, true), {}, {}},
        {"story level 16", {.mode = 0x8008, .storyLevel = 16}, MapLayers(16, true), {}, {}},
        {"story level 45",
         {.mode = 0x8008, .storyLevel = 45},
         MapLayers(45, false),
         {},
         {smallMarker}},
        {"beyond the map",
         {.mode = 0x8008, .storyLevel = 60},
         MapLayers(45, false),
         {},
         {smallMarker}},
    };
    for (const PixelCase& c : cases) {
        Check(c);
    }
}

TEST_F(HudPixelTest, ShopShowsItsPanelFinishAndBuyOnlyWhileAPurchaseIsPending) {
    const std::vector<Layer> shop = {{"ICONS", 142, 459, 325, 423, -19, -13},
                                     {"ICONS", 142, 162, 345, 423, -19, 19},
                                     {"LEFT_MENU", 0, 298, 0, 99, 0, 0},
                                     CaptionedButton(780, 690)};
    const std::vector<PixelCase> cases = {
        {"nothing chosen", {.mode = 0x10008}, shop, {kSavingsText}, {}},
        {"a purchase pending",
         {.mode = 0x10008, .purchase = true},
         Join(shop, {CaptionedButton(535, 690)}),
         {kSavingsText},
         {}},
    };
    for (const PixelCase& c : cases) {
        Check(c);
    }
}

TEST_F(HudPixelTest, EveryScreenBitDrawsExactlyItsPicture) {
    const Layer back = Button("GUI", 0, 92, 439, 508, 10, 697);
    const std::vector<Layer> hud = PlayHudLayers(108, 233, kFull);
    const std::vector<PixelCase> cases = {
        {"first comic page", {.mode = 0x208}, {FullScreen("COMICS_1"), kNextButton}, {}, {}},
        {"second comic page", {.mode = 0x408}, {FullScreen("COMICS_2"), kNextButton, back}, {}, {}},
        {"pet choice",
         {.mode = 0x4008},
         {FullScreen("MENU_PETS"), CaptionedButton(702, 375), CaptionedButton(92, 375)},
         {},
         {}},
        {"comic before location 2", {.mode = 0x808}, {FullScreen("COMICS_3"), kNextButton}, {}, {}},
        {"comic before location 3",
         {.mode = 0x1008},
         {FullScreen("COMICS_4"), kNextButton},
         {},
         {}},
        {"game completed", {.mode = 0x2008}, {FullScreen("COMICS_5"), kNextButton}, {}, {}},
        {"loading, pictures in",
         {.mode = 0x8000008},
         Join(hud, {FullScreen("INTRO_SCREEN"), {"INTRO_PROGRESS", 0, 512, 0, 64, 266, 690}}),
         {kCashText, kLevelText},
         {}},
        {"loading, holding",
         {.mode = 0x8000008, .holdTimer = 0.5f},
         Join(hud, {FullScreen("INTRO_SCREEN")}),
         {kCashText, kLevelText},
         {}},
    };
    for (const PixelCase& c : cases) {
        Check(c);
    }
}

TEST_F(HudPixelTest, APageWhosePictureIsNotLoadedShowsOnlyItsButton) {
    CResourceManager& resources = ResourceManager::Instance();
    ASSERT_TRUE(resources.UnloadImage("COMICS_4"));
    Check({"comic not loaded", {.mode = 0x1008}, {kNextButton}, {}, {}});
    ASSERT_EQ(resources.LoadImageById(s_screen.device.get(), "COMICS_4"), RESULT_OK);
}

TEST_F(HudPixelTest, CursorCellsSitElevenPixelsAboveAndLeftOfThePointerAtFullBrightness) {
    const std::vector<PixelCase> cases = {
        {"normal",
         {.mode = 0x208, .fade = kDimmed, .cursor = {500.0f, 300.0f}},
         {FullScreen("COMICS_1", kDimmed),
          Button("GUI", 238, 332, 169, 238, 925, 697, kDimmed),
          {"CURSOR", 0, 55, 59, 118, 489, 289}},
         {},
         {}},
        {"pressed",
         {.mode = 0x208, .fade = kDimmed, .cursor = {500.0f, 300.0f}, .pressed = true},
         {FullScreen("COMICS_1", kDimmed),
          Button("GUI", 238, 332, 169, 238, 925, 697, kDimmed),
          {"CURSOR", 0, 55, 0, 59, 489, 289}},
         {},
         {}},
    };
    for (const PixelCase& c : cases) {
        Check(c);
    }
}

}  // namespace
