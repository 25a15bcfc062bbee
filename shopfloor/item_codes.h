#pragma once
// The two code spaces the shop floor shares with the game flow: the fish kinds
// as the data files name them, and the one 32-bit space of everything that can
// be carried, wished for, clicked or bought.
#include <cstdint>
#include <string>

// The names of the data files compare exactly, case and all.
enum FishKind : std::int32_t {
    FISH_NONE = -1,
    FISH_1 = 0,
    FISH_2 = 1,
    THORN_FISH = 2,
    CAT_FISH = 3,
    JELLY_FISH_1 = 4,
    JELLY_FISH_2 = 5,
    CRAMP_FISH = 6,
    GOLD_FISH_1 = 7,
    GOLD_FISH_2 = 8,
    SAW_FISH = 9,
    SHARK_1 = 10,
    SHARK_2 = 11,
    ANGLER_FISH = 12,
    SHOAL_FISHES = 13,
    OCTOPUS = 14,
    CRAB = 15,
    SHELL = 16,
};

inline constexpr std::int32_t FISH_KIND_COUNT = 17;

// Interior items are single bits that combine into an interior bitmask; every
// other code is one value, compared whole unless a mask below says otherwise.
enum ItemCode : std::uint32_t {
    ITEM_NONE = 0,

    STONE = 0x1,
    ROCK = 0x2,
    SAND = 0x4,
    GREEN_GRASS = 0x8,
    BLUE_GRASS = 0x10,
    RED_GRASS = 0x20,
    CASTLE = 0x40,
    CHEST = 0x80,
    SEA_SHELL = 0x100,
    RED_CORAL = 0x200,
    BLUE_CORAL = 0x400,
    YELLOW_CORAL = 0x800,

    ITEM_FOOD_1 = 0x1000,
    ITEM_FOOD_2 = 0x2000,
    ITEM_FOOD_3 = 0x4000,
    ITEM_FOOD_4 = 0x8000,
    ITEM_VITAMIN_GROWTH = 0x10000,
    ITEM_VITAMIN_COST = 0x20000,
    // Medicine 1 has the higher bit.
    ITEM_MEDICINE_1 = 0x80000,
    ITEM_MEDICINE_2 = 0x40000,
    ITEM_BRUSH_1 = 0x100000,
    ITEM_BRUSH_2 = 0x200000,
    ITEM_DISCARD_SPOT = 0x400000,
    ITEM_COMPUTER = 0x800000,
    ITEM_AUDIO_SYSTEM = 0x1000000,
    // A finished set of the machine is this code combined with its interior bits.
    ITEM_MACHINE = 0x2000000,
    ITEM_AQUARIUM = 0x4000000,
    ITEM_COMPRESSOR_SWITCH = 0x8000000,
    ITEM_LAMP_SWITCH = 0x10000000,
    ITEM_PET = 0x20000000,
    ITEM_FOOTWEAR = 0x80000001,

    // A switch wish is the switch's bit and the bit of the wanted state.
    WISH_STATE_ON = 0x40000000,
    WISH_STATE_OFF = 0x80000000,
    WISH_COMPRESSOR_ON = 0x48000000,
    WISH_COMPRESSOR_OFF = 0x88000000,
    WISH_LAMP_ON = 0x50000000,
    WISH_LAMP_OFF = 0x90000000,

    MASK_GROUND = 0x7,
    MASK_ALGAE = 0x38,
    MASK_HOUSE = 0x1c0,
    MASK_CORAL = 0xe00,
    // Every code below the first food is an interior bitmask.
    MASK_INTERIOR = 0xfff,
    MASK_FOOD = 0xf000,
    MASK_MEDICINE = 0xc0000,
    MASK_BRUSH = 0x300000,
    MASK_SWITCH_WISH = 0x18000000,
};

inline constexpr std::int32_t INTERIOR_ITEM_COUNT = 12;

// Food n, 1 to 4.
constexpr ItemCode FoodItem(std::int32_t n) {
    return static_cast<ItemCode>(ITEM_FOOD_1 << (n - 1));
}

// FISH_NONE for any text that is not exactly one of the names.
FishKind FishKindFromName(const std::string& name);
// The data files' name of a kind; empty for FISH_NONE and values out of range.
const char* FishKindName(FishKind kind);
// The interior item of exactly that name; ITEM_NONE for any other text.
ItemCode InteriorItemFromName(const std::string& name);
// The name of a single interior bit; empty for any other code.
const char* InteriorItemName(ItemCode item);
