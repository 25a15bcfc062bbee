// The layout rules themselves, each shown to catch its fault on a small
// fixture: a hint arrow turned the wrong way, a label outside its box or cut
// by the screen's edge, and a text too pale for what lies behind it.
#include "layout_checks.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

using layout_test::Box;
using layout_test::Frame;
using layout_test::PlacedText;

constexpr float PI = std::numbers::pi_v<float>;

// The hint arrow as the hint manager rests it (scale 1, no bob): a 77 x 57
// picture at `position`, turned by `rotation`.
CGuiImage Arrow(Vec2 position, float rotation) {
    CGuiImage arrow;
    arrow.x = position.x;
    arrow.y = position.y;
    arrow.rotation = rotation;
    arrow.source = {390, 433, 467, 490};
    return arrow;
}

TEST(LayoutChecksTest, AnArrowPointsWithTheMiddleOfItsLeftEdge) {
    // A target 40 x 40 below (400, 300), as the order card or a jar lies
    // under an arrow that hangs above it.
    const Box below{380.0f, 300.0f, 420.0f, 340.0f};
    struct Case {
        const char* name;
        CGuiImage arrow;
        Vec2 point;
        bool hits;
    };
    const Case cases[] = {
        // Above its point, turned a quarter back: its left edge comes down.
        {"hanging above", Arrow({371.5f, 300.0f}, -PI / 2.0f), {400.0f, 300.0f}, true},
        // The same place turned the other way: the point comes out on top.
        {"turned the wrong way", Arrow({371.5f, 300.0f}, PI / 2.0f), {343.0f, 300.0f}, false},
        // Unturned, the point is on the left: a reversed arrow aims away.
        {"reversed", Arrow({323.0f, 271.5f}, 0.0f), {323.0f, 300.0f}, false},
        {"half a picture aside", Arrow({428.5f, 300.0f}, -PI / 2.0f), {457.0f, 300.0f}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Vec2 point = layout_test::ArrowPoint(c.arrow);
        EXPECT_NEAR(point.x, c.point.x, 1e-3f);
        EXPECT_NEAR(point.y, c.point.y, 1e-3f);
        EXPECT_EQ(layout_test::ArrowFault(point, below).empty(), c.hits)
            << layout_test::ArrowFault(point, below);
    }
    // Within 12 of the target's edge still counts; the bob is taken out.
    EXPECT_EQ(layout_test::ArrowFault({400.0f, 288.0f}, below), "");
    EXPECT_NE(layout_test::ArrowFault({400.0f, 287.0f}, below), "");
    CGuiImage bobbing = Arrow({371.5f, 300.0f}, -PI / 2.0f);
    bobbing.offsetY = -7.0f;
    EXPECT_NEAR(layout_test::ArrowPoint(bobbing, {0.0f, -1.0f}, 7.0f).y, 300.0f, 1e-3f);
}

constexpr std::uint32_t kDark = 0xFF102040;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

// A 100 x 60 frame filled with `ground`, and the same frame with a text of
// two 10 x 12 glyphs drawn from (x, y) in `ink`: each glyph's inner 6 x 8
// pixels take the ink.
struct Fixture {
    Frame behind;
    Frame drawn;
    PlacedText text;
};

Fixture TwoGlyphs(float x, float y, std::uint32_t ground, std::uint32_t ink) {
    Fixture f;
    f.behind = {std::vector<std::uint32_t>(100 * 60, ground), 100, 60};
    f.drawn = f.behind;
    f.text.text = "AB";
    f.text.colour = ink;
    for (int g = 0; g < 2; ++g) {
        const Box cell{x + 10.0f * static_cast<float>(g), y, x + 10.0f * static_cast<float>(g + 1),
                       y + 12.0f};
        f.text.glyphs.push_back(cell);
        for (int py = static_cast<int>(cell.top) + 2; py < static_cast<int>(cell.bottom) - 2;
             ++py) {
            for (int px = static_cast<int>(cell.left) + 2; px < static_cast<int>(cell.right) - 2;
                 ++px) {
                if (px >= 0 && py >= 0 && px < 100 && py < 60) {
                    f.drawn.pixels[static_cast<std::size_t>(py * 100 + px)] = ink;
                }
            }
        }
    }
    f.text.box = {x, y, x + 20.0f, y + 12.0f};
    return f;
}

TEST(LayoutChecksTest, TextsMustStayInTheirBoxAndStandOut) {
    const Box panel{10.0f, 10.0f, 90.0f, 50.0f};
    struct Case {
        const char* name;
        Fixture fixture;
        const char* fault;  // empty: none
    };
    const Case cases[] = {
        {"white on dark inside", TwoGlyphs(30.0f, 20.0f, kDark, kWhite), ""},
        // The cell may reach past the panel as long as the ink stays inside.
        {"cell over the rim", TwoGlyphs(8.0f, 20.0f, kDark, kWhite), ""},
        {"label outside its box", TwoGlyphs(80.0f, 20.0f, kDark, kWhite), "leaves its panel"},
        {"cut by the top edge", TwoGlyphs(30.0f, -4.0f, kDark, kWhite),
         "is cut by the screen's edge"},
        {"pale on white", TwoGlyphs(30.0f, 20.0f, kWhite, 0xFFB0B0B0), "has a contrast of"},
        {"white on light blue", TwoGlyphs(30.0f, 20.0f, 0xFF8CB4D8, kWhite), "has a contrast of"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> faults =
            layout_test::TextFaults({c.fixture.text}, panel, c.fixture.behind, c.fixture.drawn);
        if (std::string(c.fault).empty()) {
            EXPECT_EQ(faults, std::vector<std::string>{});
        } else {
            ASSERT_EQ(faults.size(), 1u) << ::testing::PrintToString(faults);
            EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
        }
    }
    // The ratio itself: black on white is 21, equal colours 1.
    EXPECT_NEAR(
        layout_test::Contrast(layout_test::Luminance(0xFF000000), layout_test::Luminance(kWhite)),
        21.0, 1e-9);
    EXPECT_NEAR(layout_test::Contrast(0.3, 0.3), 1.0, 1e-9);
}

}  // namespace
