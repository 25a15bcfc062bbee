// Drawing the page on screen, per item type: which rows of the picture, where,
// at what scale and in what colour; the version and notice lines of the root
// page and the cursor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "menu_test_support.h"

namespace {

using media_test::RecordedDraw;
using menu_test::MenuTest;

struct Expected {
    MenuRect source;
    float x, y;
    std::uint32_t colour;
};

::testing::AssertionResult DrawnAs(const RecordedDraw& draw, const Expected& e, float scaleX,
                                   float scaleY) {
    const MenuRect& s = *draw.source;
    if (s.left != e.source.left || s.top != e.source.top || s.right != e.source.right ||
        s.bottom != e.source.bottom || std::abs(draw.translation.x - e.x) > 1e-3f ||
        std::abs(draw.translation.y - e.y) > 1e-3f || draw.colour != e.colour ||
        std::abs(draw.scale.x - scaleX) > 1e-5f || std::abs(draw.scale.y - scaleY) > 1e-5f) {
        return ::testing::AssertionFailure()
               << "drew (" << s.left << ", " << s.top << ", " << s.right << ", " << s.bottom
               << ") at " << draw.translation.x << ", " << draw.translation.y << " scaled "
               << draw.scale.x << ", " << draw.scale.y << " in " << std::hex << draw.colour;
    }
    return ::testing::AssertionSuccess();
}

// At the screen scale (2, 1.5): an item at x 300, y 100 of width 206 starts
// at (300 - 103) x 2 = 394, 150.
class MenuDrawTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        menu.SetScale(2.0f, 1.5f);
    }
    void Draw() {
        device.draws.clear();
        EXPECT_TRUE(menu.Draw());
    }
};

TEST_F(MenuDrawTest, ButtonsShowTheirStateRowPressedOffsetAndBlinkAlpha) {
    ASSERT_TRUE(
        Load("<item id='B' type='_SIMPLE' image_id='BUTTON' text_id='HI' font_id='FONT' "
             "x='300' y='100'/>"
             "<item id='H' type='_SIMPLE' image_id='BUTTON' image_id_1='BUTTON' "
             "r1_left='1' r1_top='2' r1_right='3' r1_bottom='4' x='300' y='300'/>"));
    const float textX = Item("B").textX * 2.0f;
    Frame(0, 0);
    Draw();
    ASSERT_EQ(DrawsOf(button).size(), 2u);
    EXPECT_TRUE(DrawnAs(DrawsOf(button)[0], {{0, 0, 206, 61}, 394, 150, 0xFFFFFFFF}, 2, 1.5f));
    EXPECT_EQ(GlyphText(), u"HI");
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.x, std::trunc(textX));

    // Held down over it: the hover row, one pixel right and down.
    Frame(394 + 10, 160, true, false);
    Draw();
    EXPECT_TRUE(DrawnAs(DrawsOf(button)[0], {{0, 61, 206, 122}, 395, 151, 0xFFFFFFFF}, 2, 1.5f));
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.x, std::trunc(textX + 1.0f));

    // A hover picture replaces the picture with rect1.
    Frame(394 + 10, 460);
    Draw();
    EXPECT_TRUE(DrawnAs(DrawsOf(button)[1], {{1, 2, 3, 4}, 394, 450, 0xFFFFFFFF}, 2, 1.5f));

    // Blinking: the button's alpha is the blinker, the caption's is masked.
    Edit("B").blink = true;
    Edit("B").blinker.value = 110.7f;
    Draw();
    EXPECT_EQ(DrawsOf(button)[0].colour, 0x6EFFFFFFu);
    EXPECT_EQ(Glyphs()[0].colour, 0x6EFFFFFFu);
}

TEST_F(MenuDrawTest, ACaptionsAlphaIsMaskedByTheBlinker) {
    struct Case {
        std::uint32_t colour;
        float blinker;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0x80FFFFFF, 200.0f, 0x80FFFFFF},  // 0x80 AND 0xC8
        {0xFFFFFFFF, 110.7f, 0x6EFFFFFF},
        {0xFF00FF00, 255.0f, 0xFF00FF00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blinker);
        ASSERT_TRUE(
            Load("<item id='H' type='_HEADER' image_id='BUTTON' text_id='HI' "
                 "font_id='FONT' blink='1' x='300' y='100' color='" +
                 std::to_string(c.colour) + "'/>"));
        Edit("H").blinker.value = c.blinker;
        Draw();
        EXPECT_EQ(DrawsOf(button)[0].colour, 0xFFFFFFFFu);
        EXPECT_EQ(Glyphs()[0].colour, c.expected);
    }
    // A disabled header keeps its picture and drops its caption.
    Edit("H").disabled = true;
    Draw();
    EXPECT_EQ(DrawsOf(button).size(), 1u);
    EXPECT_TRUE(Glyphs().empty());
}

TEST_F(MenuDrawTest, ChecksAndRadioButtonsDrawTheirBoxAndCaption) {
    // "A B" centred on 300 starts at 260.3; the box is 40 wide.
    ASSERT_TRUE(
        Load("<item id='CENTRED' type='_CHECK' image_id='BUTTON' text_id='AB' "
             "font_id='FONT' x='300' y='100' r_right='40' r_bottom='40' x_disp='50' "
             "y_disp='10'/>"
             "<item id='PLAIN' type='_CHECK' image_id='BUTTON' text_id='AB' "
             "font_id='FONT' x='300' y='200' r_right='40' r_bottom='40' x_disp='50' "
             "centered='0'/>"
             "<item id='RADIO' type='_COMBO' image_id='BUTTON' text_id='AB' "
             "font_id='FONT' x='300' y='300' r_right='40' r_bottom='40' x_disp='50'/>"
             "<color passive='0xFF336699'/>"));
    Edit("PLAIN").value = 1;
    Frame(0, 0);
    Draw();
    const auto draws = DrawsOf(button);
    ASSERT_EQ(draws.size(), 3u);
    const float textX = Item("CENTRED").textX;
    EXPECT_TRUE(DrawnAs(draws[0], {{0, 0, 40, 40}, (textX - 20) * 2, 150, 0xFF336699}, 2, 1.5f));
    EXPECT_TRUE(DrawnAs(draws[1], {{0, 40, 40, 80}, 560, 300, 0xFF336699}, 2, 1.5f));
    EXPECT_TRUE(DrawnAs(draws[2], {{0, 0, 40, 40}, 560, 450, 0xFF336699}, 2, 1.5f));
    const auto glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 6u);
    EXPECT_FLOAT_EQ(glyphs[0].translation.x, std::trunc((textX + 50) * 2));
    EXPECT_FLOAT_EQ(glyphs[0].translation.y, std::trunc((Item("CENTRED").textY + 10) * 1.5f));
    EXPECT_EQ(glyphs[0].colour, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(glyphs[2].translation.x, 700.0f);  // (300 + 50) x 2
    EXPECT_FLOAT_EQ(glyphs[4].translation.x, 700.0f);
}

TEST_F(MenuDrawTest, ASliderAtFiftyCentresItsKnobOnTheFillsEnd) {
    menu.SetScale(1.0f, 1.0f);
    ASSERT_TRUE(
        Load("<item id='S' type='_SCROLL' image_id='BUTTON' options_id='0' x='300' "
             "y='100' r_right='200' r_bottom='16' r1_top='20' r1_right='204' "
             "r1_bottom='40' r2_left='210' r2_right='234' r2_bottom='32'/>"));
    menu.SetVolumeOptions(50, 0);
    Draw();
    const auto draws = DrawsOf(button);
    ASSERT_EQ(draws.size(), 3u);
    const std::uint32_t white = 0xFFFFFFFF;
    EXPECT_TRUE(DrawnAs(draws[0], {{0, 20, 204, 40}, 197.5f, 100, white}, 1, 1));  // track
    EXPECT_TRUE(DrawnAs(draws[1], {{0, 0, 100, 16}, 200, 102, white}, 1, 1));      // fill
    // 300 - (24 + 200) / 2 + 100 = 288 = 300 - 24 / 2; 100 + (20 - 32 + 1) / 2 cut.
    EXPECT_TRUE(DrawnAs(draws[2], {{210, 0, 234, 32}, 288, 94, white}, 1, 1));  // knob
}

TEST_F(MenuDrawTest, ASliderValueOutsideZeroToHundredStopsAtTheTracksEnds) {
    menu.SetScale(1.0f, 1.0f);
    ASSERT_TRUE(
        Load("<item id='S' type='_SCROLL' image_id='BUTTON' options_id='0' x='300' "
             "y='100' r_right='200' r_bottom='16' r1_top='20' r1_right='204' "
             "r1_bottom='40' r2_left='210' r2_right='234' r2_bottom='32'/>"));
    struct Case {
        std::int32_t value;
        std::int32_t fillRight;
        float knobX;
    };
    const Case cases[] = {{0, 0, 188},     {100, 200, 388},
                          {101, 200, 388}, {2147483647, 200, 388},
                          {-1, 0, 188},    {-2147483647 - 1, 0, 188}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Edit("S").value = c.value;
        Draw();
        const auto draws = DrawsOf(button);
        ASSERT_EQ(draws.size(), 3u);
        const std::uint32_t white = 0xFFFFFFFF;
        EXPECT_TRUE(DrawnAs(draws[1], {{0, 0, c.fillRight, 16}, 200, 102, white}, 1, 1));
        EXPECT_TRUE(DrawnAs(draws[2], {{210, 0, 234, 32}, c.knobX, 94, white}, 1, 1));
    }
}

TEST_F(MenuDrawTest, ASliderAsWideAsTheRangeFillsToItsEnd) {
    menu.SetScale(1.0f, 1.0f);
    ASSERT_TRUE(
        Load("<item id='S' type='_SCROLL' image_id='BUTTON' options_id='0' x='300' y='100' "
             "r_left='-2147483648' r_top='-2147483648' r_right='2147483647' "
             "r_bottom='2147483647' r1_top='2147483647' r1_right='1' "
             "r1_bottom='-2147483648'/>"));
    menu.SetVolumeOptions(100, 0);
    Draw();
    const auto draws = DrawsOf(button);
    ASSERT_EQ(draws.size(), 3u);
    // The fill is the whole width, which stops at the top of the range.
    EXPECT_EQ(draws[1].source->left, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(draws[1].source->right, -1);
}

TEST_F(MenuDrawTest, TheDisplayModeIsCentredBetweenItsButtons) {
    menu.SetScale(1.0f, 1.0f);
    ASSERT_TRUE(
        Load("<item id='M' type='_DISPLAYMODE' image_id='BUTTON' font_id='FONT' "
             "options_id='2' x='300' y='100' x_disp='200' r_right='50' r_bottom='40' "
             "r1_left='50' r1_right='100' r1_bottom='40'/>"));
    menu.SetDisplayModes(
        {{640, 480, 0, backend::FORMAT_X8R8G8B8}, {1024, 768, 0, backend::FORMAT_X8R8G8B8}});
    menu.SetOptionValue(2, 1);
    Frame(300, 110, true, false);  // the first button held down
    Draw();
    const auto draws = DrawsOf(button);
    ASSERT_EQ(draws.size(), 2u);
    const std::uint32_t white = 0xFFFFFFFF;
    EXPECT_TRUE(DrawnAs(draws[0], {{0, 40, 50, 80}, 276, 101, white}, 1, 1));
    EXPECT_TRUE(DrawnAs(draws[1], {{50, 0, 100, 40}, 475, 100, white}, 1, 1));
    EXPECT_EQ(GlyphText(), u"1024x768");
    // Centred on 300 + 200 / 2 = 400.
    const float width = Resources().GetTextWidth(font, u"1024x768", 0.0f, false, 0);
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.x, 400.0f - std::trunc(width * 0.5f));
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.y, 100.0f);

    // An index outside the list shows no mode.
    menu.SetOptionValue(2, 2);
    Draw();
    EXPECT_TRUE(Glyphs().empty());
}

TEST_F(MenuDrawTest, ProfileSlotsAndTheGreetingShowTheNames) {
    ASSERT_TRUE(
        Load("<item id='G' type='_GREETING' text_id='HI' font_id='FONT' x='300' "
             "y='20'/>"
             "<item id='P' type='_PROFILE' image_id='BUTTON' font_id='FONT' x='300' "
             "y='100' x_disp='10' y_disp='4' scale='2'/>"
             "<item id='OFF' type='_PROFILE' image_id='BUTTON' font_id='FONT' x='300' "
             "y='300'/>"));
    const auto greetingX = [this](const std::u16string& name) {
        const float width = Resources().GetTextWidth(font, name + u"!", 0.0f, false, -1);
        return std::trunc((Item("G").textX - width * 0.5f) * 2.0f);
    };
    Draw();
    EXPECT_EQ(GlyphText(), u"HI!");
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.x, greetingX(u""));

    Edit("P").text = u"BO";
    Edit("P").textX = 30.0f;  // half the name's width in screen pixels
    Edit("P").value = 1;
    Edit("OFF").text = u"CY";
    Edit("OFF").disabled = true;
    Frame(600, 160, true, false);  // P held down: its box is 300 +- 206 wide
    Draw();
    EXPECT_EQ(GlyphText(), u"HIBO!BO");  // a space draws no glyph
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.x, greetingX(u"BO"));
    // The picture moves down only; scale 2 doubles the screen scale and the
    // half width: (300 - 206) x 2.
    const auto draws = DrawsOf(button);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(DrawnAs(draws[0], {{0, 61, 206, 122}, 188, 151, 0xFFFFFFFF}, 4, 3));
    // The name: (310 x 2) - 30 x 2 + 1, ((textY x 2) + 4) x 1.5 + 1.
    const RecordedDraw name = Glyphs()[5];
    EXPECT_FLOAT_EQ(name.translation.x, 561.0f);
    EXPECT_FLOAT_EQ(name.translation.y, std::trunc((Item("P").textY * 2 + 4) * 1.5f + 1));
    EXPECT_EQ(name.colour, menu.GetActiveColour());
    // The disabled slot: its disabled row and no name.
    EXPECT_EQ(draws[1].source->top, Item("OFF").rect2.top);
}

TEST_F(MenuDrawTest, OnlyTheRootPageShowsTheVersionAndNoticeLines) {
    ASSERT_TRUE(Load("<item id='PAGE'><item id='INSIDE'/></item>"));
    device.draws.clear();
    menu.DrawVersion(font, 895, 735, 0.6f, 0xFFFFFF00);
    EXPECT_EQ(GlyphText(), u"V104");  // "V 1.04" without a '.' glyph
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.x, 1790.0f);
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.y, std::trunc(735 * 1.5f));
    EXPECT_FLOAT_EQ(Glyphs()[0].scale.x, 1.2f);
    EXPECT_FLOAT_EQ(Glyphs()[0].scale.y, 0.9f);
    EXPECT_EQ(Glyphs()[0].colour, 0xFFFFFF00u);
    device.draws.clear();
    menu.DrawCopyright(font, 300, 735, 0.6f, 0xFFFFFF00);
    EXPECT_EQ(GlyphText(), u"C");
    EXPECT_FLOAT_EQ(Glyphs()[0].translation.x, 600.0f);

    ASSERT_TRUE(menu.OpenSubmenu("PAGE"));
    device.draws.clear();
    menu.DrawVersion(font, 895, 735, 0.6f, 0xFFFFFF00);
    menu.DrawCopyright(font, 300, 735, 0.6f, 0xFFFFFF00);
    EXPECT_TRUE(device.draws.empty());
}

TEST_F(MenuDrawTest, TheCursorShowsItsPressedCell) {
    ASSERT_TRUE(
        Load("<cursor image='BUTTON' disp_x='-10' disp_y='-5' r_right='20' "
             "r_bottom='30' r1_top='30' r1_right='20' r1_bottom='60'/>"));
    Frame(100, 50);
    device.draws.clear();
    menu.DrawCursor();
    ASSERT_EQ(DrawsOf(button).size(), 1u);
    EXPECT_TRUE(DrawnAs(DrawsOf(button)[0], {{0, 0, 20, 30}, 90, 45, 0xFFFFFFFF}, 2, 1.5f));
    Frame(100, 50, true, false);
    device.draws.clear();
    menu.DrawCursor();
    EXPECT_TRUE(DrawnAs(DrawsOf(button)[0], {{0, 30, 20, 60}, 90, 45, 0xFFFFFFFF}, 2, 1.5f));
}

TEST_F(MenuDrawTest, OtherPagesHiddenItemsAndUnknownTypesDrawNothing) {
    device.draws.clear();
    EXPECT_FALSE(menu.Draw());  // no items at all
    ASSERT_TRUE(
        Load("<item id='PAGE' type='_SIMPLE' image_id='BUTTON' x='300'>"
             "<item id='INSIDE' type='_SIMPLE' image_id='BUTTON'/></item>"
             "<item id='HIDDEN' type='_SIMPLE' image_id='EMPTY'/>"
             "<item id='ODD' type='_BUTTON' image_id='BUTTON'/>"));
    Draw();
    EXPECT_EQ(DrawsOf(button).size(), 1u);
    EXPECT_TRUE(Glyphs().empty());
}

}  // namespace
