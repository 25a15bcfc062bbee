// Item states and settings: the display-mode chooser stepping through the
// modes of one colour depth, fullscreen and colour depth switching each
// other, the display settings read back, and the profile slots.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>

#include "engine/platform/html_log.h"
#include "game/game_session_base.h"
#include "game/session_test_support.h"
#include "menu_test_support.h"

namespace {

using backend::DisplayMode;
using backend::FORMAT_R5G6B5;
using backend::FORMAT_X8R8G8B8;

constexpr DisplayMode MODE_1024_32{1024, 768, 0, FORMAT_X8R8G8B8};

// 640, 800 and 1024 in 32 bits, then the same in 16 bits.
std::vector<DisplayMode> BothFormats() {
    std::vector<DisplayMode> modes;
    for (const backend::PixelFormat format : {FORMAT_X8R8G8B8, FORMAT_R5G6B5}) {
        modes.push_back({640, 480, 0, format});
        modes.push_back({800, 600, 0, format});
        modes.push_back({1024, 768, 0, format});
    }
    return modes;
}

// The options page: fullscreen (x 100, y 0) first, so a change of it reaches
// the chooser and the colour box in the same frame; 32-bit colour at y 100;
// the chooser's buttons at y 200, x 0..206 (previous) and 300..506 (next).
class MenuStatesTest : public menu_test::MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        ASSERT_TRUE(
            Load("<item id='FULLSCREEN' type='_CHECK' options_id='3' x='100' y='0'/>"
                 "<item id='BITS' type='_CHECK' options_id='4' x='100' y='100'/>"
                 "<item id='MODES' type='_DISPLAYMODE' options_id='2' x='100' y='200' "
                 "x_disp='300'/>"));
    }
    void Choose(const std::vector<DisplayMode>& modes, DisplayMode mode, bool fullscreen) {
        menu.SetDisplayModes(modes);
        menu.SetDisplayModeOptions(mode, fullscreen);
        Frame(900, 700);
    }
    void Previous() { Click(100, 230); }
    void Next() { Click(400, 230); }
};

TEST_F(MenuStatesTest, TheChooserStepsThroughOneColourDepthAndWraps) {
    Choose(BothFormats(), MODE_1024_32, true);
    ASSERT_EQ(menu.GetOptionValue(2), 2);
    struct Step {
        const char* name;
        bool next;
        std::int32_t value;
    };
    const Step steps[] = {
        {"next from the last 32-bit mode wraps", true, 0},
        {"next", true, 1},
        {"previous", false, 0},
        {"previous from the first wraps to the last 32-bit mode", false, 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.next) {
            Next();
        } else {
            Previous();
        }
        EXPECT_EQ(Item("MODES").value, step.value);
        EXPECT_EQ(Item("MODES").pendingStep, 0);
    }

    // 16 bits: the same size in the other format, then its modes.
    Click(100, 130);
    EXPECT_EQ(Item("BITS").value, 0);
    EXPECT_EQ(Item("MODES").value, 5);
    Next();
    EXPECT_EQ(Item("MODES").value, 3);
    Previous();
    EXPECT_EQ(Item("MODES").value, 5);
}

TEST_F(MenuStatesTest, SixteenBitsWithoutTheSizeTakeTheFirstSixteenBitMode) {
    std::vector<DisplayMode> modes = BothFormats();
    modes.pop_back();  // no 1024 x 768 in 16 bits
    Choose(modes, MODE_1024_32, true);
    Click(100, 130);
    EXPECT_EQ(Item("MODES").value, 3);
    // No mode of the wanted format at all: the value stays.
    Choose({MODE_1024_32}, MODE_1024_32, true);
    Click(100, 130);
    EXPECT_EQ(Item("MODES").value, 0);
}

TEST_F(MenuStatesTest, FullscreenSwitchesTheChooserAndTheColourDepth) {
    Choose(BothFormats(), MODE_1024_32, true);
    const MenuItem& modes = Item("MODES");
    const MenuItem& bits = Item("BITS");

    Click(100, 30);  // fullscreen off: the same frame disables both
    EXPECT_EQ(menu.GetOptionValue(3), 0);
    EXPECT_TRUE(modes.disabled);
    EXPECT_EQ(modes.value, 4);  // the last 800 x 600, whatever its format
    EXPECT_EQ(modes.sourceRect.top, modes.rect2.top);
    EXPECT_TRUE(bits.disabled);
    EXPECT_EQ(bits.value, 0);
    EXPECT_EQ(bits.sourceRect.top, bits.rect2.top);
    // A disabled chooser's buttons do nothing.
    Next();
    EXPECT_EQ(modes.value, 4);

    Click(100, 30);  // on again: 1024 x 768 in 32 bits, both enabled
    Frame(900, 700);
    EXPECT_FALSE(modes.disabled);
    EXPECT_EQ(modes.value, 2);
    EXPECT_FALSE(bits.disabled);
    EXPECT_EQ(bits.value, 1);
    EXPECT_EQ(bits.sourceRect.top, bits.rect1.top);
    // Re-enabled: the columns of rect2 (here those of rect), the first row.
    EXPECT_EQ(modes.sourceRect.left, modes.rect.left);
    EXPECT_EQ(modes.sourceRect.right, modes.rect.right);
    EXPECT_EQ(modes.sourceRect.top, 0);
    EXPECT_EQ(modes.sourceRect.bottom, modes.height);

    // Hovered buttons take the second row, each its own.
    Frame(100, 230);
    EXPECT_EQ(modes.sourceRect.top, modes.height);
    EXPECT_EQ(modes.rect1.top, 0);
    Frame(400, 230);
    EXPECT_EQ(modes.sourceRect.top, 0);
    EXPECT_EQ(modes.rect1.top, modes.height);
}

TEST_F(MenuStatesTest, AChooserOfExtremeHeightKeepsItsRowsInTheRange) {
    ASSERT_TRUE(
        Load("<item id='MODES' type='_DISPLAYMODE' options_id='2' x='100' y='200' x_disp='300' "
             "r_bottom='2000000000'/>"));
    Choose(BothFormats(), MODE_1024_32, true);
    const MenuItem& modes = Item("MODES");
    Frame(100, 230);
    EXPECT_EQ(modes.sourceRect.top, 2000000000);
    EXPECT_EQ(modes.sourceRect.bottom, std::numeric_limits<std::int32_t>::max());
    Frame(400, 230);
    EXPECT_EQ(modes.rect1.top, 2000000000);
    EXPECT_EQ(modes.rect1.bottom, std::numeric_limits<std::int32_t>::max());
}

TEST_F(MenuStatesTest, TheDisplaySettingsReadBackAndReportChanges) {
    menu.SetDisplayModes(BothFormats());
    struct Case {
        const char* name;
        std::int32_t mode, fullscreen, bits;
        DisplayMode given;
        bool givenWindowed;
        bool changed;
        DisplayMode expected;
        bool windowed;
    };
    const Case cases[] = {
        {"the same mode again", 2, 1, 1, MODE_1024_32, false, false, MODE_1024_32, false},
        {"only a new refresh rate",
         2,
         1,
         1,
         {1024, 768, 60, FORMAT_X8R8G8B8},
         false,
         false,
         MODE_1024_32,
         false},
        {"only the colour depth",
         2,
         1,
         0,
         MODE_1024_32,
         false,
         true,
         {1024, 768, 0, FORMAT_R5G6B5},
         false},
        {"a window", 2, 0, 1, MODE_1024_32, false, true, MODE_1024_32, true},
        {"another size", 1, 1, 1, MODE_1024_32, false, true, {800, 600, 0, FORMAT_X8R8G8B8}, false},
        {"a mode outside the list keeps the size",
         9,
         1,
         0,
         MODE_1024_32,
         true,
         true,
         {1024, 768, 0, FORMAT_R5G6B5},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(menu.SetOptionValue(2, c.mode));
        ASSERT_TRUE(menu.SetOptionValue(3, c.fullscreen));
        ASSERT_TRUE(menu.SetOptionValue(4, c.bits));
        DisplayMode mode = c.given;
        bool windowed = c.givenWindowed;
        EXPECT_EQ(menu.GetDisplayModeOptions(&mode, &windowed), c.changed);
        EXPECT_EQ(mode.width, c.expected.width);
        EXPECT_EQ(mode.height, c.expected.height);
        EXPECT_EQ(mode.format, c.expected.format);
        EXPECT_EQ(mode.refreshRate, c.expected.refreshRate);
        EXPECT_EQ(windowed, c.windowed);
    }
}

TEST_F(MenuStatesTest, SettingsGoIntoTheFirstItemOfTheirKey) {
    menu.SetDisplayModes(BothFormats());
    menu.SetDisplayModeOptions({800, 600, 75, FORMAT_R5G6B5}, true);
    EXPECT_EQ(menu.GetOptionValue(2), 4);
    EXPECT_EQ(menu.GetOptionValue(3), 1);
    EXPECT_EQ(menu.GetOptionValue(4), 0);
    // A mode outside the list keeps the index but sets the rest.
    menu.SetDisplayModeOptions({1280, 1024, 0, FORMAT_X8R8G8B8}, false);
    EXPECT_EQ(menu.GetOptionValue(2), 4);
    EXPECT_EQ(menu.GetOptionValue(3), 0);
    EXPECT_EQ(menu.GetOptionValue(4), 1);
    // No volume items here.
    menu.SetVolumeOptions(10, 20);
    EXPECT_EQ(menu.GetOptionValue(0), -1);
    EXPECT_FALSE(menu.SetOptionValue(1, 5));
    EXPECT_FALSE(menu.SetGroupValue("NOBODY", 1));
}

// Five slots in one group, another group's slot, and the new-player button.
class MenuProfilesTest : public menu_test::MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        std::string body;
        for (int i = 1; i <= 5; ++i) {
            body += "<item id='S" + std::to_string(i) +
                    "' type='_PROFILE' group_id='G' font_id='FONT' y='" + std::to_string(i * 40) +
                    "'/>";
        }
        ASSERT_TRUE(Load(body + "<item id='NEW' type='_SIMPLE' func='_edit_player_name'/>"));
        std::filesystem::remove(HtmlLog().GetUserFolder() + "profiles.sav");
    }
    void TearDown() override {
        std::filesystem::remove(HtmlLog().GetUserFolder() + "profiles.sav");
        MenuTest::TearDown();
    }
    static std::u16string Name(int n) { return std::u16string(1, static_cast<char16_t>(u'A' + n)); }
    float HalfWidth(const std::u16string& name, float scale) {
        return Resources().GetTextWidth(font, name, 0.0f, false, -1) * 0.5f * scale;
    }
};

TEST_F(MenuProfilesTest, ProfilesFillTheSlotsInOrder) {
    CGameSessionBase session;
    for (const char16_t* name : {u"ANN", u"BO", u"CY"}) {
        ASSERT_TRUE(session.AddProfile(name));
    }
    ASSERT_TRUE(session.SelectProfile(u"BO"));
    Edit("S5").value = 1;
    menu.SetScale(2.0f, 1.5f);
    menu.FillProfileItems(session);
    const char16_t* const names[] = {u"ANN", u"BO", u"CY", u"", u""};
    for (int i = 0; i < 5; ++i) {
        const MenuItem& slot = Item("S" + std::to_string(i + 1));
        SCOPED_TRACE(i);
        EXPECT_EQ(slot.text, names[i]);
        EXPECT_EQ(slot.disabled, i >= 3);
        EXPECT_EQ(slot.value, i == 1 ? 1 : 0);
    }
    EXPECT_EQ(menu.GetSelectedProfileName(), u"BO");
    EXPECT_FLOAT_EQ(Item("S1").textX, HalfWidth(u"ANN", 2.0f));
    EXPECT_GT(Item("S1").textX, 0.0f);
    EXPECT_FALSE(Item("NEW").disabled);

    // A new screen scale moves the names' half widths with it.
    menu.SetScale(0.5f, 0.5f);
    EXPECT_FLOAT_EQ(Item("S1").textX, HalfWidth(u"ANN", 0.5f));
    EXPECT_FLOAT_EQ(Item("S3").textX, HalfWidth(u"CY", 0.5f));
}

TEST_F(MenuProfilesTest, ThirteenProfilesDisableTheNewPlayerButton) {
    CGameSessionBase session;
    for (int n = 0; n < 12; ++n) {
        ASSERT_TRUE(session.AddProfile(Name(n)));
    }
    menu.FillProfileItems(session);
    EXPECT_FALSE(Item("NEW").disabled);
    ASSERT_TRUE(session.AddProfile(Name(12)));
    menu.FillProfileItems(session);
    EXPECT_TRUE(Item("NEW").disabled);
    // Five slots show the first five; the current thirteenth has none.
    EXPECT_EQ(Item("S5").text, Name(4));
    EXPECT_EQ(menu.GetSelectedProfileName(), u"");
}

TEST_F(MenuProfilesTest, WithoutACurrentProfileTheSelectionStays) {
    CProfile first(u"ANN");
    CProfile second(u"BO");
    first.current = 0;
    second.current = 0;
    resource_test::WriteFile(HtmlLog().GetUserFolder() + "profiles.sav",
                             session_test::ProfileFile({first, second}));
    CGameSessionBase session;
    ASSERT_EQ(session.LoadProfiles("profiles.sav"), 2);
    Edit("S4").value = 1;
    menu.FillProfileItems(session);
    EXPECT_EQ(Item("S4").value, 1);
    EXPECT_TRUE(Item("S4").disabled);
    EXPECT_EQ(menu.GetSelectedProfileName(), u"");
}

}  // namespace
