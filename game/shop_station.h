#pragma once
// The purchase side of an upgradeable station in the upgrade shop: a shop
// click on its hovered picture offers the purchase to the session, a click
// away from it withdraws the offer, and its explanation hint shows while it is
// hovered and nothing is pending.
#include <cstdint>

struct HintDesc;
struct InputState;

// The left button's press while the session's BUY button is not hovered, or
// its release while it is.
bool IsShopClick(const InputState& input);

struct ShopStation {
    bool selected = false;
    // The hint window this station opened, -1 for none.
    std::int32_t hintId = -1;
    // Which one of its kind the purchase names (an aquarium's slot); -1 for a
    // station that is the only one.
    std::int32_t index = -1;

    // One shop frame of a station whose hover state is already tested. `hint`
    // is the window to open while it is hovered, null for none.
    void Update(const InputState& input, bool hovered, std::uint32_t code, const HintDesc* hint);
    // Withdraws the offer and closes the hint.
    void Deselect(std::uint32_t code);
};
