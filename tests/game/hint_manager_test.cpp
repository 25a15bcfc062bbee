// Hint windows: the queue of which only the first shows, the fades, the arrows
// that pop in and bob along their direction, the tiled panel and the texts.
#include "game/hint_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>

#include "engine/platform/input_devices.h"
#include "layout_checks.h"
#include "panel_world.h"

namespace {

using media_test::RecordedDraw;
using panel_test::DrawnText;

constexpr float PI = std::numbers::pi_v<float>;

// The draw's source rectangle as left, top, right, bottom.
std::vector<int> SourceOf(const RecordedDraw& draw) {
    if (!draw.source) {
        return {};
    }
    return {draw.source->left, draw.source->top, draw.source->right, draw.source->bottom};
}

const std::vector<std::pair<std::string, std::string>> TEXTS = {
    {"TIP_HEADER", "TIP"},
    {"TIP_1", "FEED"},
};

class HintManagerTest : public panel_test::PanelWorldTest {
protected:
    void SetUp() override {
        PanelWorldTest::SetUp();
        StartWorld("English", TEXTS);
    }

    static HintDesc Tip(Vec2 panel, std::int32_t columns, std::int32_t rows) {
        HintDesc desc;
        desc.panelPosition = panel;
        desc.headerFont = 1;
        desc.headerId = "TIP_HEADER";
        desc.textFont = 0;
        desc.textId = "TIP_1";
        desc.columns = columns;
        desc.rows = rows;
        return desc;
    }

    std::int32_t Add(const HintDesc& desc) {
        const std::int32_t id = hints.AddHint(desc);
        audio.Advance(1.0);  // the opening sound has played out
        return id;
    }

    void Update(float elapsed) { hints.Update(input, {1.0f, 1.0f}, elapsed); }

    void Render() {
        device.draws.clear();
        hints.Render(&device, {1.0f, 1.0f});
    }

    const CHintWindow& First() const { return hints.GetWindows().front(); }

    CHintManager hints;
    InputState input;
};

TEST_F(HintManagerTest, OnlyTheFirstWindowShowsAndAClosedOneFadesOutOfTheQueue) {
    EXPECT_FALSE(hints.IsFirstHintOpen());
    Update(0.1f);  // nothing to do without windows
    Render();
    EXPECT_TRUE(device.draws.empty());

    const int plays = Plays(2);
    const std::int32_t first = Add(Tip({10.0f, 540.0f}, 14, 5));
    const std::int32_t second = Add(Tip({300.0f, 100.0f}, 11, 3));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(Plays(2), plays + 2);
    EXPECT_TRUE(hints.IsFirstHintOpen());

    Update(0.1f);
    EXPECT_FLOAT_EQ(First().panelAlpha, 100.0f);
    Update(0.2f);
    EXPECT_FLOAT_EQ(First().panelAlpha, 255.0f);
    // The second waits without fading in.
    EXPECT_FLOAT_EQ(hints.GetWindows().back().panelAlpha, 0.0f);
    Render();
    const std::vector<RecordedDraw> tiles = DrawsOf(gui);
    ASSERT_FALSE(tiles.empty());
    EXPECT_FLOAT_EQ(tiles.front().translation.x, 10.0f);
    EXPECT_EQ(tiles.front().colour, 0xFFFFFFFFu);

    EXPECT_FALSE(hints.CloseHint(99));
    EXPECT_TRUE(hints.IsFirstHintOpen());
    EXPECT_TRUE(hints.CloseHint(first));
    EXPECT_FALSE(hints.IsFirstHintOpen());
    Update(0.1f);
    EXPECT_FLOAT_EQ(First().panelAlpha, 155.0f);
    Render();
    EXPECT_EQ(DrawsOf(gui).front().colour, 0x9BFFFFFFu);
    Update(0.2f);  // faded out and gone
    ASSERT_EQ(hints.GetWindows().size(), 1u);
    EXPECT_EQ(First().id, second);
    EXPECT_TRUE(hints.IsFirstHintOpen());
    Update(0.1f);
    EXPECT_FLOAT_EQ(First().panelAlpha, 100.0f);
    Render();
    EXPECT_FLOAT_EQ(DrawsOf(gui).front().translation.x, 300.0f);

    // Clear drops every window at once and numbers from 1 again.
    Add(Tip({0.0f, 0.0f}, 3, 2));
    hints.Clear();
    EXPECT_TRUE(hints.GetWindows().empty());
    EXPECT_EQ(Add(Tip({0.0f, 0.0f}, 3, 2)), 1);
}

TEST_F(HintManagerTest, AWindowClosedBehindTheFirstLeavesWhenItsTurnComes) {
    const std::int32_t first = Add(Tip({0.0f, 0.0f}, 3, 2));
    const std::int32_t second = Add(Tip({0.0f, 0.0f}, 3, 2));
    const std::int32_t third = Add(Tip({0.0f, 0.0f}, 3, 2));
    EXPECT_TRUE(hints.CloseHint(second));
    EXPECT_EQ(hints.GetWindows().size(), 3u);
    EXPECT_TRUE(hints.IsFirstHintOpen());
    Update(0.3f);
    hints.CloseAll();
    EXPECT_FALSE(hints.IsFirstHintOpen());
    EXPECT_EQ(hints.GetWindows().size(), 3u);
    Update(0.3f);  // the first fades out
    ASSERT_EQ(hints.GetWindows().size(), 2u);
    Update(0.01f);  // the second was never shown: gone at its first update
    ASSERT_EQ(hints.GetWindows().size(), 1u);
    EXPECT_EQ(First().id, third);
    EXPECT_FALSE(hints.CloseHint(first));
}

TEST_F(HintManagerTest, ArrowsArePlacedAndTurnedByTheirDirection) {
    struct Case {
        Vec2 direction;
        float rotation;
        Vec2 position;  // of the picture, for an arrow at (400, 300)
        // Where the point of the picture (the middle of its left edge) comes
        // to rest: a picture's length beside the place of a sideways arrow,
        // on the place of one below or above it.
        Vec2 point;
    };
    // The arrow's cell is 77 x 57.
    const Case cases[] = {
        {{1.0f, 0.0f}, 0.0f, {323.0f, 271.5f}, {323.0f, 300.0f}},
        {{-1.0f, 0.0f}, PI, {477.0f, 328.5f}, {477.0f, 300.0f}},
        {{0.0f, 1.0f}, PI / 2.0f, {428.5f, 300.0f}, {400.0f, 300.0f}},
        {{0.0f, -1.0f}, -PI / 2.0f, {371.5f, 300.0f}, {400.0f, 300.0f}},
        // Any other direction: unturned, where asked.
        {{0.6f, 0.8f}, 0.0f, {400.0f, 300.0f}, {400.0f, 328.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.direction.x << ", " << c.direction.y);
        hints.Clear();
        HintDesc desc = Tip({0.0f, 0.0f}, 3, 2);
        desc.secondArrowPosition = {400.0f, 300.0f};
        desc.secondArrowDirection = c.direction;
        Add(desc);
        EXPECT_EQ(First().firstArrow.image, -1);  // (0, 0): no first arrow
        Render();
        const std::vector<RecordedDraw> arrows = DrawsOf(upgrades);
        ASSERT_EQ(arrows.size(), 1u);
        EXPECT_FLOAT_EQ(arrows[0].rotation, c.rotation);
        EXPECT_FLOAT_EQ(arrows[0].translation.x, c.position.x);
        EXPECT_FLOAT_EQ(arrows[0].translation.y, c.position.y);
        EXPECT_FLOAT_EQ(arrows[0].scale.x, 1.5f);
        EXPECT_FLOAT_EQ(arrows[0].scale.y, 1.5f);
        EXPECT_EQ(SourceOf(arrows[0]), (std::vector<int>{390, 433, 467, 490}));
        EXPECT_EQ(arrows[0].colour, 0x00FFFFFFu);
        CGuiImage rested = First().secondArrow;
        rested.scaleX = rested.scaleY = 1.0f;
        const Vec2 point = layout_test::ArrowPoint(rested);
        EXPECT_NEAR(point.x, c.point.x, 1e-3f);
        EXPECT_NEAR(point.y, c.point.y, 1e-3f);
    }
}

TEST_F(HintManagerTest, ArrowsPopInThenBobAndLeaveByGrowing) {
    HintDesc desc = Tip({0.0f, 0.0f}, 3, 2);
    desc.firstArrowPosition = {400.0f, 300.0f};
    desc.firstArrowDirection = {1.0f, 0.0f};
    desc.secondArrowPosition = {100.0f, 100.0f};
    desc.secondArrowDirection = {0.0f, -1.0f};
    Add(desc);
    hints.showSecondArrow = false;

    struct Step {
        float elapsed;
        float alpha;
        float scale;
        Vec2 offset;  // of the first arrow
    };
    // The offset keeps the middle of the arrow in place for the scale it had
    // before the step: -(77, 57) x 0.5 x (scale - 1). The bob starts once the
    // panel is fully there, fastest through the middle: 1.25 x 100 x 0.01,
    // then (1.25 - 1.25 / 7) x 100 x 0.01 further along the direction.
    const Step steps[] = {
        {0.1f, 100.0f, 1.3f, {-19.25f, -14.25f}},
        {0.2f, 255.0f, 1.0f, {-11.55f, -8.55f}},
        {0.01f, 255.0f, 1.0f, {1.25f, 0.0f}},
        {0.01f, 255.0f, 1.0f, {2.3214286f, 0.0f}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.elapsed);
        Update(step.elapsed);
        EXPECT_NEAR(First().firstArrowAlpha, step.alpha, 1e-3f);
        EXPECT_NEAR(First().firstArrow.scaleX, step.scale, 1e-5f);
        EXPECT_NEAR(First().firstArrow.scaleY, step.scale, 1e-5f);
        EXPECT_NEAR(First().firstArrow.offsetX, step.offset.x, 1e-4f);
        EXPECT_NEAR(First().firstArrow.offsetY, step.offset.y, 1e-4f);
        // The second arrow is hidden by its flag: unseen at its full size.
        EXPECT_FLOAT_EQ(First().secondArrowAlpha, 0.0f);
        EXPECT_FLOAT_EQ(First().secondArrow.scaleX, 1.5f);
    }
    // A vertical arrow bobs along y and is corrected across.
    hints.showSecondArrow = true;
    Update(0.1f);
    EXPECT_FLOAT_EQ(First().secondArrowAlpha, 100.0f);
    EXPECT_NEAR(First().secondArrow.scaleX, 1.3f, 1e-5f);
    Update(0.01f);
    const float bob = First().arrowOscillator.value;
    EXPECT_NEAR(First().secondArrow.offsetX, -0.5f * 57.0f * 0.3f, 1e-4f);
    EXPECT_NEAR(First().secondArrow.offsetY, -bob + 0.5f * 77.0f * 0.3f, 1e-4f);

    Render();
    const std::vector<RecordedDraw> arrows = DrawsOf(upgrades);
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_EQ(arrows[0].colour, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(arrows[0].translation.x, 323.0f + First().firstArrow.offsetX);
    EXPECT_EQ(arrows[1].colour, 0x6EFFFFFFu);  // 100 + 10
    EXPECT_NEAR(arrows[1].scale.x, 1.28f, 1e-5f);

    // Closed: the arrows fade while they grow back.
    hints.CloseAll();
    Update(0.1f);
    EXPECT_FLOAT_EQ(First().firstArrowAlpha, 155.0f);
    EXPECT_NEAR(First().firstArrow.scaleX, 1.2f, 1e-5f);
    Update(0.5f);
    EXPECT_TRUE(hints.GetWindows().empty());
}

TEST_F(HintManagerTest, ThePanelIsBuiltFromTiles) {
    struct Case {
        std::int32_t columns;
        std::int32_t rows;
        std::size_t tiles;
        float width;
        float height;
        std::vector<float> bodyRows;  // tops below the panel's top
    };
    // The header is two rows of 28; the body's first and last rows are 42
    // high, the rows between 28.
    const Case cases[] = {
        {14, 5, 28 + 70, 392.0f, 224.0f, {56.0f, 98.0f, 126.0f, 154.0f, 182.0f}},
        {3, 2, 6 + 6, 84.0f, 140.0f, {56.0f, 98.0f}},
        // One row and one column: both edges' tiles in the one cell.
        {1, 1, 4 + 4, 28.0f, 98.0f, {56.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.columns << " x " << c.rows);
        hints.Clear();
        Add(Tip({10.0f, 540.0f}, c.columns, c.rows));
        Update(0.3f);
        Render();
        const std::vector<RecordedDraw> tiles = DrawsOf(gui);
        ASSERT_EQ(tiles.size(), c.tiles);
        float left = 1e9f;
        float top = 1e9f;
        float right = -1e9f;
        float bottom = -1e9f;
        std::vector<float> rowTops;
        for (const RecordedDraw& tile : tiles) {
            ASSERT_TRUE(tile.source.has_value());
            left = std::min(left, tile.translation.x);
            top = std::min(top, tile.translation.y);
            right = std::max(right, tile.translation.x +
                                        static_cast<float>(tile.source->right - tile.source->left));
            bottom = std::max(bottom, tile.translation.y + static_cast<float>(tile.source->bottom -
                                                                              tile.source->top));
            const float rowTop = tile.translation.y - 540.0f;
            if (rowTop >= 56.0f &&
                std::find(rowTops.begin(), rowTops.end(), rowTop) == rowTops.end()) {
                rowTops.push_back(rowTop);
            }
            EXPECT_EQ(tile.colour, 0xFFFFFFFFu);
        }
        EXPECT_FLOAT_EQ(left, 10.0f);
        EXPECT_FLOAT_EQ(top, 540.0f);
        EXPECT_FLOAT_EQ(right - left, c.width);
        EXPECT_FLOAT_EQ(bottom - top, c.height);
        EXPECT_EQ(rowTops, c.bodyRows);
    }

    // The corners of the 1 x 1 panel: header top-left, top-right,
    // bottom-left, bottom-right, then the body's.
    const std::vector<RecordedDraw> tiles = DrawsOf(gui);
    const std::vector<int> expected[] = {
        {84, 325, 112, 353}, {136, 325, 164, 353}, {84, 376, 112, 404}, {136, 376, 164, 404},
        {0, 325, 28, 367},   {54, 325, 82, 367},   {0, 391, 28, 433},   {54, 391, 82, 433}};
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(SourceOf(tiles[i]), expected[i]) << i;
    }
}

TEST_F(HintManagerTest, HeaderAndTextSitOnThePanelOrOnItsMiddle) {
    struct Case {
        const char* language;
        bool centred;
        Vec2 header;  // of the first glyph
        Vec2 text;
    };
    // Header at the panel plus (22, 7), 6 lower in Japanese; text plus (30,
    // 55). Centred on the middle of a 14-column panel: the header's centre at
    // 32 + 14 x 12.5 less half of "TIP" (15), the text's at 40 + 14 x 12.4
    // less half of "FEED" at 0.65 (13).
    const Case cases[] = {
        {"English", false, {32.0f, 547.0f}, {40.0f, 595.0f}},
        {"Japanese", false, {32.0f, 553.0f}, {40.0f, 595.0f}},
        {"English", true, {192.0f, 547.0f}, {200.0f, 595.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language << (c.centred ? " centred" : ""));
        UseLanguage(c.language, TEXTS);
        hints.Clear();
        HintDesc desc = Tip({10.0f, 540.0f}, 14, 5);
        desc.centred = c.centred;
        Add(desc);
        Update(0.1f);
        Render();
        const std::vector<DrawnText> texts = DrawnTexts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].text, u"TIP");
        EXPECT_EQ(texts[0].font, 1);
        EXPECT_FLOAT_EQ(texts[0].scale, 1.0f);
        EXPECT_FLOAT_EQ(texts[0].x, c.header.x);
        EXPECT_FLOAT_EQ(texts[0].y, c.header.y);
        EXPECT_EQ(texts[0].colour, 0x64FFFFFFu);
        EXPECT_EQ(texts[1].text, u"FEED");
        EXPECT_EQ(texts[1].font, 0);
        EXPECT_FLOAT_EQ(texts[1].scale, 0.65f);
        EXPECT_FLOAT_EQ(texts[1].x, c.text.x);
        EXPECT_FLOAT_EQ(texts[1].y, c.text.y);
    }

    // Text ids missing from the language draw nothing; the panel still shows.
    hints.Clear();
    HintDesc desc = Tip({10.0f, 540.0f}, 14, 5);
    desc.headerId = "NO_SUCH_HEADER";
    desc.textId = "NO_SUCH_TEXT";
    Add(desc);
    Update(0.1f);
    Render();
    EXPECT_TRUE(DrawnTexts().empty());
    EXPECT_EQ(DrawsOf(gui).size(), 98u);
}

}  // namespace
