// Carried-item pictures: what each builder puts into the five layers of the
// eight directions, the cells cut from the atlas columns, mirroring, the
// drawing order per direction and the hover of an interior set's tray.
#include "heroine/carry_sprites.h"

#include <gtest/gtest.h>

#include "device_world.h"
#include "shopfloor/item_codes.h"

namespace {

using device_test::DeviceWorldTest;
using device_test::ONE;
using device_test::RecordedDraw;
using device_test::Source;

class CarrySpritesTest : public DeviceWorldTest {
protected:
    // Left, right, top, bottom of a sprite's source.
    static std::vector<int> SourceOf(const CGuiImage& sprite) {
        return {sprite.source.left, sprite.source.right, sprite.source.top, sprite.source.bottom};
    }

    // Which layers of a direction hold a picture.
    static std::vector<bool> Filled(const CCarrySprites& set, int direction) {
        std::vector<bool> filled;
        for (int layer = 0; layer < CCarrySprites::LAYERS; ++layer) {
            filled.push_back(set.GetSprite(layer, direction).image != -1);
        }
        return filled;
    }

    CCarrySprites set;
};

TEST_F(CarrySpritesTest, BuildersFillTheLayersOfTheirMask) {
    struct Case {
        const char* what;
        int builder;  // 0 interior, 1 first hand, 2 second hand
        std::uint32_t mask;
        std::vector<bool> filled;  // layers of every direction
    };
    const Case cases[] = {
        {"a bare tray", 0, 0, {true, false, false, false, false}},
        {"a tray for care bits", 0, ITEM_FOOD_1 | ITEM_MACHINE, {true, false, false, false, false}},
        {"ground and algae", 0, SAND | GREEN_GRASS, {true, true, true, false, false}},
        {"a full set", 0, STONE | RED_GRASS | CHEST | BLUE_CORAL, {true, true, true, true, true}},
        {"an empty hand", 1, 0, {false, false, false, false, false}},
        {"interior bits in a hand", 2, SAND | ITEM_MACHINE, {false, false, false, false, false}},
        {"a food", 1, ITEM_FOOD_3, {true, false, false, false, false}},
        {"a brush", 2, ITEM_BRUSH_2, {true, false, false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        switch (c.builder) {
            case 0:
                set.BuildInteriorSet(10, 20, c.mask);
                break;
            case 1:
                set.BuildCareItemFirstHand(10, 20, c.mask);
                break;
            default:
                set.BuildCareItemSecondHand(10, 20, c.mask);
                break;
        }
        for (int d = 0; d < CCarrySprites::DIRECTIONS; ++d) {
            EXPECT_EQ(Filled(set, d), c.filled) << "direction " << d;
            EXPECT_EQ(set.GetSprite(4, d).offsetX, 10.0f);
            EXPECT_EQ(set.GetSprite(4, d).offsetY, 20.0f);
        }
    }
}

TEST_F(CarrySpritesTest, OfTwoBitsOfALayerTheRuleOfTheLayerWins) {
    struct Case {
        std::uint32_t mask;
        int layer;
        std::vector<int> downPicture;  // its first cell: left, right, top, bottom
    };
    const Case cases[] = {
        {SAND | STONE, 1, {219, 247, 2, 23}},
        {SAND | ROCK, 1, {276, 303, 0, 21}},
        {GREEN_GRASS | RED_GRASS, 2, {68, 100, 212, 257}},
        {CASTLE | SEA_SHELL, 3, {263, 299, 144, 182}},
        {RED_CORAL | YELLOW_CORAL, 4, {381, 416, 7, 41}},
    };
    for (const Case& c : cases) {
        set.BuildInteriorSet(0, 0, c.mask);
        EXPECT_EQ(SourceOf(set.GetSprite(c.layer, 0)), c.downPicture) << std::hex << c.mask;
    }
    set.BuildCareItemFirstHand(0, 0, ITEM_FOOD_1 | ITEM_BRUSH_2);
    EXPECT_EQ(set.GetSprite(0, 0).image, Image("BRUSH"));
    EXPECT_EQ(SourceOf(set.GetSprite(0, 0)), (std::vector<int>{47, 99, 0, 51}));
}

TEST_F(CarrySpritesTest, PicturesAreEqualCellsOfTheirColumnMirroredByTheRule) {
    struct Case {
        const char* what;
        int builder;
        std::uint32_t mask;
        int layer;
        int direction;
        std::vector<int> source;
        float x;
        float y;
        float scaleX;
    };
    const Case cases[] = {
        // The tray's four cells of 47; up shows the down cell, up-left the
        // down-right one.
        {"tray down", 0, 0, 0, 0, {299, 378, 180, 227}, 1, 100, 1},
        {"tray up", 0, 0, 0, 4, {299, 378, 180, 227}, 1, 53, 1},
        {"tray up-left", 0, 0, 0, 5, {299, 378, 227, 274}, -32, 56, 1},
        {"tray down-left", 0, 0, 0, 7, {299, 378, 321, 368}, -34, 92, 1},
        // A food faced up-left shows its up-right picture mirrored.
        {"food up-left, first hand", 1, ITEM_FOOD_2, 0, 5, {154, 182, 94, 124}, 43, 54, -1},
        {"food up-left, second hand", 2, ITEM_FOOD_2, 0, 5, {154, 182, 94, 124}, 17, 71, -1},
        {"castle left", 0, CASTLE, 3, 6, {189, 228, 223, 265}, 24, 68, -1},
        // The growth vitamin facing left: its own left picture in the first
        // hand, the first hand's right picture mirrored in the second.
        {"vitamin left, first hand",
         1,
         ITEM_VITAMIN_GROWTH,
         0,
         6,
         {153, 187, 168, 196},
         -16,
         69,
         1},
        {"vitamin left, second hand", 2, ITEM_VITAMIN_GROWTH, 0, 6, {153, 187, 56, 84}, 22, 93, -1},
        {"medicine down, second hand", 2, ITEM_MEDICINE_1, 0, 0, {0, 33, 229, 256}, 76, 103, -1},
        // Brushes step by their column's eighth, 57 and 51 pixels with
        // remainders spread over the cells.
        {"brush 1 down-right", 1, ITEM_BRUSH_1, 0, 1, {0, 46, 57, 115}, 36, 73, 1},
        {"brush 1 down-left", 1, ITEM_BRUSH_1, 0, 7, {0, 46, 404, 462}, -19, 66, 1},
        {"brush 2 up", 2, ITEM_BRUSH_2, 0, 4, {47, 99, 207, 258}, 44, 51, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.builder == 0) {
            set.BuildInteriorSet(0, 0, c.mask);
        } else if (c.builder == 1) {
            set.BuildCareItemFirstHand(0, 0, c.mask);
        } else {
            set.BuildCareItemSecondHand(0, 0, c.mask);
        }
        const CGuiImage& sprite = set.GetSprite(c.layer, c.direction);
        EXPECT_EQ(SourceOf(sprite), c.source);
        EXPECT_EQ(sprite.x, c.x);
        EXPECT_EQ(sprite.y, c.y);
        EXPECT_EQ(sprite.scaleX, c.scaleX);
        EXPECT_EQ(sprite.scaleY, 1.0f);
    }
}

TEST_F(CarrySpritesTest, EachDirectionDrawsItsLayersInItsOrder) {
    const std::uint32_t full = SAND | BLUE_GRASS | CASTLE | RED_CORAL;
    set.BuildInteriorSet(100, 200, full);
    // Tell the layers apart by the left edge of their column.
    const auto layerOf = [](int left) {
        switch (left) {
            case 299:
                return 0;
            case 248:
                return 1;
            case 144:
                return 2;
            case 189:
                return 3;
            default:
                return 4;
        }
    };
    const std::vector<std::vector<int>> orders = {
        {0, 2, 3, 1, 4}, {0, 3, 2, 1, 4}, {0, 3, 1, 2, 4}, {0, 1, 4, 3, 2},
        {0, 1, 4, 2, 3}, {0, 4, 1, 2, 3}, {0, 2, 4, 1, 3}, {0, 2, 3, 4, 1},
    };
    for (std::uint32_t d = 0; d < 8; ++d) {
        device.draws.clear();
        set.Render(&device, ONE, d, 0xFFFFFFFF);
        std::vector<int> drawn;
        for (const RecordedDraw& draw : device.draws) {
            drawn.push_back(layerOf(Source(draw)[0]));
        }
        EXPECT_EQ(drawn, orders[d]) << "direction " << d;
    }
    // The tray facing down at the set's position plus its own.
    device.draws.clear();
    set.Render(&device, {2.0f, 2.0f}, 0, 0x80FFFFFF);
    ASSERT_FALSE(device.draws.empty());
    EXPECT_EQ(device.draws[0].translation.x, 202.0f);
    EXPECT_EQ(device.draws[0].translation.y, 600.0f);
    EXPECT_EQ(device.draws[0].colour, 0x80FFFFFFu);
}

TEST_F(CarrySpritesTest, HeroineStatesDrawTheirDirectionAndOtherValuesNothing) {
    set.BuildCareItemSecondHand(0, 0, ITEM_VITAMIN_COST);
    const auto drawnFor = [&](std::uint32_t value) {
        device.draws.clear();
        set.Render(&device, ONE, value, 0xFFFFFFFF);
        return device.draws.empty() ? std::vector<int>{} : Source(device.draws[0]);
    };
    EXPECT_EQ(drawnFor(0x10), drawnFor(0));
    EXPECT_EQ(drawnFor(0x1080), drawnFor(0));
    EXPECT_EQ(drawnFor(0x2080), drawnFor(4));
    EXPECT_EQ(drawnFor(0x500), drawnFor(7));
    EXPECT_NE(drawnFor(0x500), drawnFor(1));
    EXPECT_TRUE(drawnFor(0x80).empty());
    EXPECT_TRUE(drawnFor(8).empty());
    set.BuildCareItemFirstHand(0, 0, SAND);
    for (std::uint32_t d = 0; d < 8; ++d) {
        EXPECT_TRUE(drawnFor(d).empty());
    }
}

TEST_F(CarrySpritesTest, TheTrayHoversOverItsHighlightAndLightsOnlyFacingDown) {
    set.BuildInteriorSet(300, 200, SAND | GREEN_GRASS);
    struct Case {
        float x;
        float y;
        bool hovered;
    };
    const Case cases[] = {
        {301, 300, true}, {379, 348, true}, {380, 348, false}, {379, 349, false}, {300, 300, false},
    };
    for (const Case& c : cases) {
        set.UpdateHover(device_test::At(c.x, c.y), ONE);
        EXPECT_EQ(set.IsHovered(), c.hovered) << c.x << ", " << c.y;
    }
    set.UpdateHover(device_test::At(320, 320), ONE);
    ASSERT_TRUE(set.IsHovered());
    set.Render(&device, ONE, 0, 0xFFFFFFFF);
    ASSERT_GE(device.draws.size(), 3u);
    EXPECT_EQ(Source(device.draws[1]), (std::vector<int>{0, 78, 452, 500}));
    EXPECT_EQ(device.draws[1].blend, backend::BlendMode::Additive);
    EXPECT_EQ(device.draws[1].translation.x, 301.0f);
    device.draws.clear();
    set.Render(&device, ONE, 2, 0xFFFFFFFF);
    EXPECT_EQ(device.draws.size(), 3u);
    // Rebuilt or cleared, it is no longer hovered until tested again.
    set.BuildInteriorSet(300, 200, SAND | GREEN_GRASS);
    EXPECT_FALSE(set.IsHovered());
    set.UpdateHover(device_test::At(320, 320), ONE);
    set.Clear();
    EXPECT_FALSE(set.IsHovered());
}

TEST_F(CarrySpritesTest, PositionMovesEverySpriteAndClearReturnsItToTheOrigin) {
    set.BuildCareItemFirstHand(10, 10, ITEM_FOOD_1);
    set.SetPosition(500, 400);
    for (int i = 0; i < CCarrySprites::LAYERS * CCarrySprites::DIRECTIONS; ++i) {
        const CGuiImage& sprite = set.GetSprite(i / 8, i % 8);
        EXPECT_EQ(sprite.offsetX, 500.0f);
        EXPECT_EQ(sprite.offsetY, 400.0f);
    }
    EXPECT_EQ(set.GetSprite(0, 2).x, 56.0f);
    set.Clear();
    for (int i = 0; i < CCarrySprites::LAYERS * CCarrySprites::DIRECTIONS; ++i) {
        const CGuiImage& sprite = set.GetSprite(i / 8, i % 8);
        EXPECT_EQ(sprite.image, -1);
        EXPECT_EQ(sprite.offsetX, 0.0f);
        EXPECT_EQ(sprite.offsetY, 0.0f);
    }
    set.BuildInteriorSet(7, 8, 0);
    EXPECT_EQ(set.GetSprite(0, 0).offsetX, 7.0f);
}

}  // namespace
