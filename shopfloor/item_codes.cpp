#include "shopfloor/item_codes.h"

#include <iterator>

namespace {

// Indexed by kind.
const char* const FISH_KIND_NAMES[] = {
    "FISH_1",      "FISH_2",       "THORN_FISH",  "CAT_FISH", "JELLY_FISH_1", "JELLY_FISH_2",
    "CRAMP_FISH",  "GOLD_FISH_1",  "GOLD_FISH_2", "SAW_FISH", "SHARK_1",      "SHARK_2",
    "ANGLER_FISH", "SHOAL_FISHES", "OCTOPUS",     "CRAB",     "SHELL",
};
static_assert(std::size(FISH_KIND_NAMES) == FISH_KIND_COUNT);

// Indexed by bit position.
const char* const INTERIOR_ITEM_NAMES[] = {
    "STONE",  "ROCK",  "SAND",      "GREEN_GRASS", "BLUE_GRASS", "RED_GRASS",
    "CASTLE", "CHEST", "SEA_SHELL", "RED_CORAL",   "BLUE_CORAL", "YELLOW_CORAL",
};
static_assert(std::size(INTERIOR_ITEM_NAMES) == INTERIOR_ITEM_COUNT);

}  // namespace

FishKind FishKindFromName(const std::string& name) {
    for (std::int32_t kind = 0; kind < FISH_KIND_COUNT; ++kind) {
        if (name == FISH_KIND_NAMES[kind]) {
            return static_cast<FishKind>(kind);
        }
    }
    return FISH_NONE;
}

const char* FishKindName(FishKind kind) {
    if (kind < 0 || kind >= FISH_KIND_COUNT) {
        return "";
    }
    return FISH_KIND_NAMES[kind];
}

ItemCode InteriorItemFromName(const std::string& name) {
    for (std::int32_t bit = 0; bit < INTERIOR_ITEM_COUNT; ++bit) {
        if (name == INTERIOR_ITEM_NAMES[bit]) {
            return static_cast<ItemCode>(1u << bit);
        }
    }
    return ITEM_NONE;
}

const char* InteriorItemName(ItemCode item) {
    for (std::int32_t bit = 0; bit < INTERIOR_ITEM_COUNT; ++bit) {
        if (item == (1u << bit)) {
            return INTERIOR_ITEM_NAMES[bit];
        }
    }
    return "";
}
