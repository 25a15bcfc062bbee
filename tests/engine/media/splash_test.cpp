#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "resource_test_support.h"

namespace {

using namespace resource_test;

class SplashTest : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        ASSERT_NE(Device(), nullptr);
        m_device = std::make_unique<CRecordingDevice>(Device());
        m_device->KeepFrames(true);
    }

    void TearDown() override {
        m_manager.Release();
        ScratchFolderTest::TearDown();
    }

    // Initialize on a clock that moves on by `step` seconds at every reading.
    void Start(double step, Vec2 scale, Vec2 offset, Vec2 splashScale) {
        CSteppingClock clock(1000.0, step);
        ScopedClock useClock(&clock);
        m_manager.Initialize(nullptr, m_device.get(), scale.x, scale.y, offset.x, offset.y,
                             splashScale.x, splashScale.y, 0.0f, 0.0f);
    }

    CResourceManager m_manager;
    std::unique_ptr<CRecordingDevice> m_device;
};

TEST_F(SplashTest, PicturesFadeInHoldAndFadeOutTheLastOneStays) {
    WriteSolidPng("Resources/green.png", 16, 12, 0xFF00FF00);
    WriteSolidPng("Resources/white.png", 16, 12, 0xFFFFFFFF);
    WriteSolidPng("Resources/red.png", 16, 8, 0xFFFF0000);
    WriteIndex(R"(<Resources><SetDefaults path="Resources/"/><Intro>
<Image id="SPLASH_1" path="green.png" stretch="true"/>
<Image id="INTRO_SCREEN" path="white.png" stretch="true"/>
<Image id="MENU_VER_PANEL" path="red.png"/>
</Intro></Resources>)");
    // The splash picture fills the screen through the splash scale; the last
    // picture goes through the screen scale, 192 x 192 between 32-pixel bands.
    Start(0.125, {0.1875f, 0.25f}, {32.0f, 0.0f}, {0.25f, 0.25f});

    // 500 levels a second in steps of 1/8 s: 62.5 levels a frame. The first
    // picture holds full brightness for 1.5 s, then fades out; the last one
    // ends its fade-in without a frame at full brightness.
    const std::vector<int> splash = {62,  125, 187, 250, 255, 255, 255, 255, 255, 255,
                                     255, 255, 255, 255, 255, 192, 130, 67,  5};
    const std::vector<int> last = {62, 125, 187, 250};
    ASSERT_EQ(m_device->frames.size(), splash.size() + last.size());
    for (std::size_t i = 0; i < splash.size(); ++i) {
        const auto& frame = m_device->frames[i];
        EXPECT_TRUE(RgbNear(PixelAt(frame, 128, 96), static_cast<std::uint32_t>(splash[i]) << 8))
            << "frame " << i;
        // The splash picture covers the bands: no border fill under it.
        EXPECT_TRUE(RgbNear(PixelAt(frame, 10, 0), static_cast<std::uint32_t>(splash[i]) << 8))
            << "frame " << i;
    }
    for (std::size_t i = 0; i < last.size(); ++i) {
        const auto& frame = m_device->frames[splash.size() + i];
        const auto grey = static_cast<std::uint32_t>(last[i]);
        EXPECT_TRUE(RgbNear(PixelAt(frame, 128, 96), grey * 0x010101u)) << "frame " << i;
        EXPECT_TRUE(RgbNear(PixelAt(frame, 10, 0), grey << 16)) << "frame " << i;
        EXPECT_TRUE(RgbNear(PixelAt(frame, 250, 0), grey << 16)) << "frame " << i;
    }
}

TEST_F(SplashTest, WhichPicturesAreShown) {
    struct Case {
        const char* name;
        std::string images;
        std::string sequence;  // R SPLASH_1, G SPLASH_2, B SPLASH_4, W INTRO_SCREEN
    };
    const std::string one = "<Image id=\"SPLASH_1\" path=\"red.png\"/>";
    const std::string two = "<Image id=\"SPLASH_2\" path=\"green.png\"/>";
    const std::string four = "<Image id=\"SPLASH_4\" path=\"blue.png\"/>";
    const std::string intro = "<Image id=\"INTRO_SCREEN\" path=\"white.png\"/>";
    const auto missing = [](int n) {
        return "<Image id=\"SPLASH_" + std::to_string(n) + "\" path=\"missing.png\"/>";
    };
    const std::vector<Case> cases = {
        {"a gap", one + two + four + intro, "RGBW"},
        {"a picture that did not load, later ones exist", one + two + missing(3) + four + intro,
         "RGBW"},
        {"a picture that did not load, none later", one + missing(2) + intro, "RW"},
        {"only the loading screen", intro, "W"},
        {"nothing", "", ""},
        {"no loading screen", one, "R"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSolidPng("Resources/red.png", 16, 12, 0xFFFF0000);
        WriteSolidPng("Resources/green.png", 16, 12, 0xFF00FF00);
        WriteSolidPng("Resources/blue.png", 16, 12, 0xFF0000FF);
        WriteSolidPng("Resources/white.png", 16, 12, 0xFFFFFFFF);
        WriteIndex("<Resources><SetDefaults path=\"Resources/\"/><Intro>" + c.images +
                   "</Intro></Resources>");
        m_device->frames.clear();
        Start(0.5, {16.0f, 16.0f}, {0.0f, 0.0f}, {16.0f, 16.0f});
        std::string sequence;
        for (const auto& frame : m_device->frames) {
            const std::uint32_t pixel = PixelAt(frame, 8, 8);
            const char shown = Red(pixel) && Green(pixel) ? 'W'
                               : Red(pixel)               ? 'R'
                               : Green(pixel)             ? 'G'
                               : Blue(pixel)              ? 'B'
                                                          : '-';
            if (sequence.empty() || sequence.back() != shown) {
                sequence.push_back(shown);
            }
        }
        EXPECT_EQ(sequence, c.sequence);
        m_manager.Release();
    }
}

class LoadingScreenTest : public SplashTest {
protected:
    void SetUp() override {
        SplashTest::SetUp();
        WriteSolidPng("Resources/screen.png", 1024, 768, 0xFF202020);
        WriteSolidPng("Resources/bar.png", 400, 40, 0xFFFFFFFF);
        WriteSolidPng("Resources/small.png", 2, 2, 0xFFFFFFFF);
    }

    // The source rectangle of the progress bar in the last frame drawn.
    backend::Rect LastBar() const {
        for (auto drawn = m_device->draws.rbegin(); drawn != m_device->draws.rend(); ++drawn) {
            if (drawn->hasSource) {
                return drawn->source;
            }
        }
        return {};
    }
};

TEST_F(LoadingScreenTest, TheBarShowsTheShareLoaded) {
    WriteIndex(R"(<Resources><SetDefaults path="Resources/"/>
<Intro><Image id="INTRO_SCREEN" path="screen.png"/><Image id="INTRO_PROGRESS" path="bar.png" x="100" y="600"/></Intro>
<Image id="P1" path="small.png"/><Image id="P2" path="small.png"/>
<Image id="P3" path="small.png" coverage="-1"/><Image id="P4" path="small.png"/>
<Image id="Q1" path="small.png" coverage="1"/><Image id="Q2" path="small.png" coverage="1"/>
</Resources>)");
    Start(0.5, {0.25f, 0.25f}, {0.0f, 0.0f}, {0.25f, 0.25f});
    // Four counted pictures: one loading frame each, the bar (100 x 10 pixels
    // at 25, 150) a quarter longer every time.
    ASSERT_EQ(m_manager.GetProgressTotal(), 4);
    ASSERT_GE(m_device->frames.size(), 4u);
    const std::size_t first = m_device->frames.size() - 4;
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        const auto& frame = m_device->frames[first + static_cast<std::size_t>(k - 1)];
        const int end = 25 + 25 * k;
        EXPECT_TRUE(RgbNear(PixelAt(frame, 27, 155), 0xFFFFFF));
        EXPECT_TRUE(RgbNear(PixelAt(frame, end - 3, 155), 0xFFFFFF));
        EXPECT_TRUE(RgbNear(PixelAt(frame, end + 3, 155), 0x202020));
        EXPECT_TRUE(RgbNear(PixelAt(frame, 60, 140), 0x202020));
        EXPECT_TRUE(RgbNear(PixelAt(frame, 60, 163), 0x202020));
    }
    EXPECT_EQ(LastBar().right, 400);
    EXPECT_EQ(LastBar().bottom, 40);

    // Pictures outside the counted groups push the count past the total; the
    // bar stops at its full length.
    m_device->draws.clear();
    m_manager.LoadImages(m_device.get(), 0x8);
    EXPECT_EQ(m_manager.GetProgressLoaded(), 6);
    EXPECT_EQ(LastBar().right, 400);
    EXPECT_TRUE(RgbNear(PixelAt(m_device->frames.back(), 128, 155), 0x202020));

    // Nothing counted: the whole bar.
    m_manager.CountByGroup(0x40);
    m_device->draws.clear();
    EXPECT_EQ(m_manager.PresentIntroScreen(m_device.get()), RESULT_OK);
    EXPECT_EQ(LastBar().right, 400);
}

TEST_F(LoadingScreenTest, MissingPicturesFailTheScreen) {
    WriteIndex(R"(<Resources><SetDefaults path="Resources/"/>
<Intro><Image id="INTRO_SCREEN" path="screen.png"/></Intro></Resources>)");
    Start(0.5, {0.25f, 0.25f}, {0.0f, 0.0f}, {0.25f, 0.25f});
    m_device->draws.clear();
    // The picture is drawn; the bar is missing.
    EXPECT_EQ(m_manager.DrawIntroScreen(m_device.get()), RESULT_FAIL);
    EXPECT_EQ(m_device->draws.size(), 1u);
    m_manager.Release();

    WriteIndex(R"(<Resources><SetDefaults path="Resources/"/>
<Intro><Image id="INTRO_PROGRESS" path="bar.png"/></Intro></Resources>)");
    Start(0.5, {0.25f, 0.25f}, {0.0f, 0.0f}, {0.25f, 0.25f});
    m_device->draws.clear();
    EXPECT_EQ(m_manager.DrawIntroScreen(m_device.get()), RESULT_FAIL);
    EXPECT_TRUE(m_device->draws.empty());
}

}  // namespace
