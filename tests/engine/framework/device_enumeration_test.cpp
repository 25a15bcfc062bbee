// Which display modes the enumeration keeps and which settings the framework
// chooses from them, fed with mode lists of imagined displays.
#include <gtest/gtest.h>

#include <vector>

#include "engine/framework/app_framework.h"
#include "engine/framework/app_test_support.h"
#include "engine/framework/device_enumeration.h"
#include "engine/framework/framework_test_app.h"

namespace {

using backend::DisplayMode;
using Modes = std::vector<DisplayMode>;

constexpr auto X8R8G8B8 = backend::FORMAT_X8R8G8B8;
constexpr auto R5G6B5 = backend::FORMAT_R5G6B5;
constexpr auto A8R8G8B8 = static_cast<backend::PixelFormat>(FORMAT_A8R8G8B8);

bool SameMode(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.refreshRate == b.refreshRate &&
           a.format == b.format;
}

class DeviceEnumerationTest : public ::testing::Test {
protected:
    void SetUp() override { app_test::PrivateFolder(); }
    app_test::CCountingAudio audio;
};

TEST_F(DeviceEnumerationTest, DistinctModesKeepDiscoveryOrderByFormatWithRefreshZero) {
    CDeviceEnumeration enumeration;
    const Modes reported = {
        {800, 600, 60, R5G6B5},    {1024, 768, 60, X8R8G8B8}, {1024, 768, 75, X8R8G8B8},
        {1024, 768, 85, X8R8G8B8}, {320, 240, 60, X8R8G8B8},  {800, 600, 60, X8R8G8B8},
        {1024, 768, 60, R5G6B5},
    };
    ASSERT_EQ(enumeration.EnumerateModes(reported, {1024, 768, 60, X8R8G8B8}), RESULT_OK);

    const Modes expected = {{1024, 768, 0, X8R8G8B8},
                            {800, 600, 0, X8R8G8B8},
                            {800, 600, 0, R5G6B5},
                            {1024, 768, 0, R5G6B5}};
    const Modes& distinct = enumeration.DistinctModes();
    ASSERT_EQ(distinct.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(SameMode(distinct[i], expected[i])) << i;
    }

    // The adapter's own list is sorted and keeps the rates after the first.
    ASSERT_EQ(enumeration.Adapters().size(), 1u);
    const Modes& sorted = enumeration.Adapters()[0]->displayModes;
    const Modes expectedSorted = {{800, 600, 0, X8R8G8B8},   {800, 600, 0, R5G6B5},
                                  {1024, 768, 0, X8R8G8B8},  {1024, 768, 75, X8R8G8B8},
                                  {1024, 768, 85, X8R8G8B8}, {1024, 768, 0, R5G6B5}};
    ASSERT_EQ(sorted.size(), expectedSorted.size());
    for (std::size_t i = 0; i < expectedSorted.size(); ++i) {
        EXPECT_TRUE(SameMode(sorted[i], expectedSorted[i])) << i;
    }
}

TEST_F(DeviceEnumerationTest, SettingsChoiceRules) {
    struct Case {
        const char* what;
        Modes reported;
        DisplayMode desktop;
        bool preferWindowed;
        DisplayMode requested;
        HResult result;
        bool windowed;
        DisplayMode fullscreenMode;  // checked when fullscreen is chosen
    };
    const Modes threeRates = {{800, 600, 60, X8R8G8B8},
                              {1024, 768, 60, X8R8G8B8},
                              {1024, 768, 75, X8R8G8B8},
                              {1024, 768, 85, X8R8G8B8}};
    const Modes wide = {{1280, 720, 60, X8R8G8B8},
                        {1280, 960, 60, X8R8G8B8},
                        {1024, 768, 60, X8R8G8B8},
                        {1600, 1200, 60, X8R8G8B8}};
    const Modes small = {{320, 240, 60, X8R8G8B8},
                         {1024, 768, 60, X8R8G8B8},
                         {640, 480, 60, X8R8G8B8},
                         {800, 600, 60, X8R8G8B8}};
    const Modes both = {{1024, 768, 60, X8R8G8B8}, {1024, 768, 60, R5G6B5}};
    const DisplayMode desktop32{1024, 768, 60, X8R8G8B8};
    const DisplayMode standard{1024, 768, 0, X8R8G8B8};

    const Case cases[] = {
        {"the default request matches the first of three rates exactly",
         threeRates,
         desktop32,
         false,
         standard,
         RESULT_OK,
         false,
         {1024, 768, 0, X8R8G8B8}},
        {"a missing height gives the last mode of that width",
         wide,
         desktop32,
         false,
         {1280, 1024, 0, X8R8G8B8},
         RESULT_OK,
         false,
         {1280, 960, 0, X8R8G8B8}},
        {"a missing width gives the smallest mode of the format",
         small,
         desktop32,
         false,
         {1152, 864, 0, X8R8G8B8},
         RESULT_OK,
         false,
         {640, 480, 0, X8R8G8B8}},
        {"a rate the display lacks falls back by width",
         threeRates,
         desktop32,
         false,
         {1024, 768, 70, X8R8G8B8},
         RESULT_OK,
         false,
         {1024, 768, 85, X8R8G8B8}},
        {"a 16-bit request takes the 16-bit modes",
         both,
         desktop32,
         false,
         {1024, 768, 0, R5G6B5},
         RESULT_OK,
         false,
         {1024, 768, 0, R5G6B5}},
        {"a 16-bit request without 16-bit modes takes 32 bits",
         threeRates,
         desktop32,
         false,
         {1024, 768, 0, R5G6B5},
         RESULT_OK,
         false,
         {1024, 768, 0, X8R8G8B8}},
        {"prefer windowed on a usable desktop",
         threeRates,
         desktop32,
         true,
         standard,
         RESULT_OK,
         true,
         {}},
        {"prefer windowed on a 16-bit desktop",
         both,
         {1024, 768, 60, R5G6B5},
         true,
         standard,
         RESULT_OK,
         true,
         {}},
        {"prefer windowed on a desktop format the game does not use",
         threeRates,
         {1024, 768, 60, A8R8G8B8},
         true,
         standard,
         RESULT_OK,
         false,
         {1024, 768, 0, X8R8G8B8}},
        {"nothing big enough",
         {{320, 240, 60, X8R8G8B8}},
         desktop32,
         false,
         standard,
         APPERR_NOCOMPATIBLEDEVICES,
         false,
         {}},
    };
    for (const Case& c : cases) {
        CRecordingApp app;
        ASSERT_EQ(app.GetEnumeration().EnumerateModes(c.reported, c.desktop), RESULT_OK);
        app.GetSettings().preferWindowed = c.preferWindowed;
        app.GetSettings().requestedMode = c.requested;
        EXPECT_EQ(app.ChooseInitialSettings(), c.result) << c.what;
        if (c.result != RESULT_OK) {
            continue;
        }
        const DeviceSettings& settings = app.GetSettings();
        EXPECT_EQ(settings.windowed, c.windowed) << c.what;
        if (c.windowed) {
            EXPECT_TRUE(SameMode(settings.windowedHalf.displayMode, c.desktop)) << c.what;
            ASSERT_NE(settings.windowedHalf.combo, nullptr) << c.what;
            EXPECT_EQ(settings.windowedHalf.combo->adapterFormat, c.desktop.format) << c.what;
        } else {
            const DisplayMode& mode = settings.fullscreenHalf.displayMode;
            EXPECT_TRUE(SameMode(mode, c.fullscreenMode))
                << c.what << ": " << mode.width << "x" << mode.height << "@" << mode.refreshRate
                << " format " << mode.format;
            ASSERT_NE(settings.fullscreenHalf.combo, nullptr) << c.what;
            EXPECT_EQ(settings.fullscreenHalf.combo->backBufferFormat, c.fullscreenMode.format)
                << c.what;
        }
    }
}

// Turns the 16-bit back buffers down.
class CNo16BitApp : public CRecordingApp {
public:
    HResult CheckDeviceCaps(const DeviceCaps&, std::uint32_t, std::uint32_t,
                            std::uint32_t backBufferFormat) override {
        return backBufferFormat == FORMAT_R5G6B5 ? RESULT_FAIL : RESULT_OK;
    }
};

TEST_F(DeviceEnumerationTest, RejectedCombinationsAreNeverChosen) {
    CNo16BitApp app;
    const Modes both = {{1024, 768, 60, X8R8G8B8}, {1024, 768, 60, R5G6B5}};
    ASSERT_EQ(app.GetEnumeration().EnumerateModes(both, {1024, 768, 60, R5G6B5}), RESULT_OK);
    app.GetSettings().requestedMode = {1024, 768, 0, R5G6B5};
    app.GetSettings().preferWindowed = true;
    // No windowed combination on the 16-bit desktop is left: fullscreen in 32 bits.
    ASSERT_EQ(app.ChooseInitialSettings(), RESULT_OK);
    EXPECT_FALSE(app.GetSettings().windowed);
    EXPECT_EQ(app.GetSettings().fullscreenHalf.combo->adapterFormat, FORMAT_X8R8G8B8);
    // The menu still offers every mode the display has.
    EXPECT_EQ(app.GetEnumeration().DistinctModes().size(), 2u);
}

}  // namespace
