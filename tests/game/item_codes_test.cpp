// The names of the fish kinds and interior items, and the groups the masks
// make of the item codes.
#include <gtest/gtest.h>

#include <string>

#include "shopfloor/item_codes.h"

namespace {

TEST(ItemCodesTest, FishKindNamesMatchExactly) {
    struct Case {
        const char* name;
        FishKind kind;
    };
    const Case cases[] = {
        {"FISH_1", FISH_1},
        {"FISH_2", FISH_2},
        {"THORN_FISH", THORN_FISH},
        {"CAT_FISH", CAT_FISH},
        {"JELLY_FISH_1", JELLY_FISH_1},
        {"JELLY_FISH_2", JELLY_FISH_2},
        {"CRAMP_FISH", CRAMP_FISH},
        {"GOLD_FISH_1", GOLD_FISH_1},
        {"GOLD_FISH_2", GOLD_FISH_2},
        {"SAW_FISH", SAW_FISH},
        {"SHARK_1", SHARK_1},
        {"SHARK_2", SHARK_2},
        {"ANGLER_FISH", ANGLER_FISH},
        {"SHOAL_FISHES", SHOAL_FISHES},
        {"OCTOPUS", OCTOPUS},
        {"CRAB", CRAB},
        {"SHELL", SHELL},
    };
    ASSERT_EQ(std::size(cases), static_cast<std::size_t>(FISH_KIND_COUNT));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(cases[i].kind, static_cast<FishKind>(i));
        EXPECT_EQ(FishKindFromName(cases[i].name), cases[i].kind);
        EXPECT_EQ(std::string(FishKindName(cases[i].kind)), cases[i].name);
    }
    for (const char* other : {"", "fish_1", "FISH_1 ", "FISH_3", "STONE"}) {
        EXPECT_EQ(FishKindFromName(other), FISH_NONE) << '"' << other << '"';
    }
    EXPECT_EQ(std::string(FishKindName(FISH_NONE)), "");
    EXPECT_EQ(std::string(FishKindName(static_cast<FishKind>(FISH_KIND_COUNT))), "");
}

TEST(ItemCodesTest, InteriorItemsFallIntoExactlyOneGroup) {
    struct Case {
        const char* name;
        ItemCode item;
        ItemCode group;
    };
    const Case cases[] = {
        {"STONE", STONE, MASK_GROUND},
        {"ROCK", ROCK, MASK_GROUND},
        {"SAND", SAND, MASK_GROUND},
        {"GREEN_GRASS", GREEN_GRASS, MASK_ALGAE},
        {"BLUE_GRASS", BLUE_GRASS, MASK_ALGAE},
        {"RED_GRASS", RED_GRASS, MASK_ALGAE},
        {"CASTLE", CASTLE, MASK_HOUSE},
        {"CHEST", CHEST, MASK_HOUSE},
        {"SEA_SHELL", SEA_SHELL, MASK_HOUSE},
        {"RED_CORAL", RED_CORAL, MASK_CORAL},
        {"BLUE_CORAL", BLUE_CORAL, MASK_CORAL},
        {"YELLOW_CORAL", YELLOW_CORAL, MASK_CORAL},
    };
    std::uint32_t all = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(InteriorItemFromName(c.name), c.item);
        EXPECT_EQ(std::string(InteriorItemName(c.item)), c.name);
        for (const ItemCode group : {MASK_GROUND, MASK_ALGAE, MASK_HOUSE, MASK_CORAL}) {
            EXPECT_EQ((c.item & group) != 0, group == c.group);
        }
        all |= c.item;
    }
    EXPECT_EQ(all, static_cast<std::uint32_t>(MASK_INTERIOR));
    for (const char* other : {"", "stone", "ITEM_FOOD_1", "SHELL"}) {
        EXPECT_EQ(InteriorItemFromName(other), ITEM_NONE) << '"' << other << '"';
    }
    EXPECT_EQ(std::string(InteriorItemName(static_cast<ItemCode>(STONE | ROCK))), "");
}

TEST(ItemCodesTest, CareItemsAndSwitchWishesLieInTheirMasks) {
    EXPECT_EQ(FoodItem(1), ITEM_FOOD_1);
    EXPECT_EQ(FoodItem(4), ITEM_FOOD_4);
    EXPECT_EQ(ITEM_FOOD_1 | ITEM_FOOD_2 | ITEM_FOOD_3 | ITEM_FOOD_4, MASK_FOOD);
    EXPECT_EQ(ITEM_MEDICINE_1 | ITEM_MEDICINE_2, MASK_MEDICINE);
    EXPECT_EQ(ITEM_BRUSH_1 | ITEM_BRUSH_2, MASK_BRUSH);
    EXPECT_EQ(WISH_COMPRESSOR_ON, ITEM_COMPRESSOR_SWITCH | WISH_STATE_ON);
    EXPECT_EQ(WISH_COMPRESSOR_OFF, ITEM_COMPRESSOR_SWITCH | WISH_STATE_OFF);
    EXPECT_EQ(WISH_LAMP_ON, ITEM_LAMP_SWITCH | WISH_STATE_ON);
    EXPECT_EQ(WISH_LAMP_OFF, ITEM_LAMP_SWITCH | WISH_STATE_OFF);
    for (const ItemCode wish :
         {WISH_COMPRESSOR_ON, WISH_COMPRESSOR_OFF, WISH_LAMP_ON, WISH_LAMP_OFF}) {
        EXPECT_NE(wish & MASK_SWITCH_WISH, 0u);
        EXPECT_EQ(wish & MASK_INTERIOR, 0u);
    }
}

}  // namespace
