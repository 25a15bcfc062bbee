// The guided training of the two training levels. The first runs steps 0 to
// 25, the second steps 26 to 34; both end in step 100, after which the level
// runs to its ordinary end. Each step shows one tip, lights exactly the
// objects the player is to use, keeps every other control of the shop floor
// disabled and waits until the player has done what the tip asks. The script
// keeps no copy of what is lit or disabled: it asks the objects every frame.
#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>

#include "game/game_mode.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/order_list.h"

namespace {

constexpr std::int32_t SECOND_LEVEL_FIRST_STEP = 26;
constexpr std::int32_t FINISHED = 100;
constexpr float FIRST_TIP_WAIT = 0.5f;
constexpr float TIP_ALPHA_SPEED = 500.0f;
constexpr float TIP_ALPHA_MAX = 255.0f;
constexpr std::uint32_t AQUARIUM_PARTS = ITEM_AQUARIUM | ITEM_COMPRESSOR_SWITCH | ITEM_LAMP_SWITCH;
// The ingredients the tips ask for; every step but those that offer them keeps
// them out of reach unless they are charging.
constexpr std::uint32_t TRAINING_INGREDIENTS[] = {ROCK, STONE, GREEN_GRASS, BLUE_GRASS};

constexpr Vec2 NO_ARROW = {0.0f, 0.0f};
constexpr Vec2 RIGHT = {1.0f, 0.0f};
constexpr Vec2 LEFT = {-1.0f, 0.0f};
constexpr Vec2 DOWN = {0.0f, 1.0f};
constexpr Vec2 UP = {0.0f, -1.0f};

// Where a tip's window stands and where its arrows point, in the design
// space; a window is `columns` tiles wide and `rows` body tiles high.
struct TipPlace {
    const char* textId;
    Vec2 firstArrow;
    Vec2 firstDirection;
    Vec2 secondArrow;
    Vec2 secondDirection;
    Vec2 panel;
    std::int32_t columns;
    std::int32_t rows;
};

// One tip per step, by step number.
constexpr TipPlace TIPS[] = {
    {"TIP_1", {490, 465}, DOWN, {840, 728}, LEFT, {335, 560}, 11, 3},
    {"TIP_2", {806, 69}, RIGHT, {611, 133}, DOWN, {205, 500}, 15, 5},
    {"TIP_3", {410, 113}, LEFT, {}, NO_ARROW, {205, 530}, 15, 3},
    {"TIP_4", {}, NO_ARROW, {}, NO_ARROW, {175, 500}, 17, 5},
    {"TIP_5", {400, 185}, LEFT, {490, 465}, DOWN, {205, 560}, 15, 3},
    {"TIP_6", {}, NO_ARROW, {}, NO_ARROW, {205, 530}, 15, 3},
    {"TIP_7", {335, 223}, UP, {490, 465}, DOWN, {205, 560}, 15, 3},
    {"TIP_8", {}, NO_ARROW, {}, NO_ARROW, {195, 515}, 16, 4},
    {"TIP_9", {295, 245}, UP, {490, 465}, DOWN, {205, 560}, 15, 4},
    {"TIP_10", {370, 273}, LEFT, {}, NO_ARROW, {195, 515}, 16, 4},
    {"TIP_11", {287, 390}, LEFT, {840, 728}, LEFT, {195, 500}, 16, 6},
    {"TIP_12", {792, 632}, DOWN, {840, 728}, LEFT, {195, 530}, 16, 3},
    {"TIP_13", {764, 69}, RIGHT, {660, 133}, DOWN, {205, 530}, 15, 3},
    {"TIP_14", {410, 113}, LEFT, {}, NO_ARROW, {195, 515}, 16, 4},
    {"TIP_15", {806, 69}, RIGHT, {611, 133}, DOWN, {195, 485}, 16, 6},
    {"TIP_16", {410, 113}, LEFT, {}, NO_ARROW, {205, 530}, 15, 2},
    {"TIP_17", {400, 185}, LEFT, {995, 557}, RIGHT, {195, 485}, 16, 6},
    {"TIP_18", {400, 185}, LEFT, {490, 465}, DOWN, {215, 560}, 14, 3},
    {"TIP_19", {710, 470}, UP, {}, NO_ARROW, {195, 485}, 16, 6},
    {"TIP_20", {}, NO_ARROW, {}, NO_ARROW, {195, 530}, 16, 3},
    {"TIP_21", {335, 223}, UP, {292, 245}, UP, {175, 530}, 17, 2},
    {"TIP_22", {490, 465}, DOWN, {995, 557}, RIGHT, {195, 560}, 16, 2},
    {"TIP_23", {}, NO_ARROW, {}, NO_ARROW, {175, 530}, 17, 4},
    {"TIP_24", {335, 223}, UP, {292, 245}, UP, {205, 530}, 15, 2},
    {"TIP_25", {490, 465}, DOWN, {995, 557}, RIGHT, {175, 560}, 17, 2},
    {"TIP_26", {370, 273}, LEFT, {670, 438}, LEFT, {205, 515}, 15, 3},
    {"TIP_1", {545, 495}, DOWN, {840, 728}, LEFT, {500, 588}, 11, 3},
    {"TIP_27", {881, 61}, RIGHT, {686, 126}, DOWN, {335, 507}, 14, 3},
    {"TIP_28", {480, 106}, LEFT, {}, NO_ARROW, {350, 507}, 13, 4},
    {"TIP_29", {}, NO_ARROW, {}, NO_ARROW, {310, 507}, 16, 3},
    {"TIP_30", {475, 178}, LEFT, {545, 495}, DOWN, {325, 580}, 15, 3},
    {"TIP_31", {}, NO_ARROW, {}, NO_ARROW, {350, 507}, 13, 3},
    {"TIP_32", {112, 227}, UP, {211, 294}, UP, {297, 507}, 17, 4},
    {"TIP_33", {747, 430}, RIGHT, {}, NO_ARROW, {323, 507}, 15, 6},
    {"TIP_34", {420, 303}, LEFT, {}, NO_ARROW, {323, 507}, 15, 5},
};

// What one frame of a step works on. The aquariums a step names are there
// whenever its functions run (the runner waits otherwise).
struct Frame {
    const InputState& input;
    Vec2 scale;
    float elapsed;
    CAquarium* aquarium[2];

    CAquarium& First() const { return *aquarium[0]; }
    CAquarium& Second() const { return *aquarium[1]; }
};

// --- Small reads and switches ---

bool& FirstArrow() {
    return g_hintManager.showFirstArrow;
}

bool& SecondArrow() {
    return g_hintManager.showSecondArrow;
}

bool HandHolds(std::uint32_t item) {
    return g_heroine.firstHandItem == item || g_heroine.secondHandItem == item;
}

bool HandsEmpty() {
    return g_heroine.firstHandItem == 0 && g_heroine.secondHandItem == 0;
}

std::uint32_t PendingWish(const CAquarium& aquarium) {
    return aquarium.GetRequest();
}

// Sold: the fish is leaving, or already gone once its fade has ended.
bool FishGone(const CAquarium& aquarium) {
    return aquarium.IsEmpty() || aquarium.GetFish().leaving;
}

// The body clickable and body, compressor and lamp lit: the heroine is to
// bring something there.
void CallTo(CAquarium& aquarium) {
    aquarium.SetPartsDisabled(ITEM_AQUARIUM, false);
    aquarium.SetPartsHighlighted(AQUARIUM_PARTS, false, true);
}

// Parts and sell button dark.
void Darken(CAquarium& aquarium) {
    aquarium.SetPartsHighlighted(AQUARIUM_PARTS, true, false);
}

void Offer(std::uint32_t kinds) {
    g_instrumentPanel.SetDisabledByKind(kinds, false);
    g_instrumentPanel.SetHighlight(kinds, true);
}

// A kind in hand or chosen: its highlight and its arrow go; `disable` takes
// it out of reach as well.
void Withdraw(std::uint32_t kind, bool& arrow, bool disable) {
    arrow = false;
    if (disable) {
        g_instrumentPanel.SetDisabledByKind(kind, true);
    }
    g_instrumentPanel.SetHighlight(kind, false);
}

// --- The recurring patterns ---

// Place the order, every frame: a dragged order lights the aquarium it goes
// to, an order at rest lights itself and its arrow.
void GuideOrderTo(CAquarium& aquarium) {
    const OrderEntry* order = g_orderList.GetEntry(0);
    if (order == nullptr) {
        return;
    }
    if (order->picked) {
        g_orderList.SetHighlighted(0, false);
        SecondArrow() = false;
        CallTo(aquarium);
    } else {
        g_orderList.SetHighlighted(0, true);
        SecondArrow() = true;
        Darken(aquarium);
    }
}

bool PlaceOrder(CAquarium& aquarium) {
    GuideOrderTo(aquarium);
    if (aquarium.IsEmpty()) {
        return false;
    }
    g_orderList.SetHighlighted(0, false);
    Darken(aquarium);
    return true;
}

// Select two ingredients: a chosen kind loses its light and its arrow, an
// unchosen one keeps or regains them; exactly the two asked for end the step.
bool SelectIngredients(const Frame& frame, std::uint32_t first, std::uint32_t second,
                       bool updateBeforeDimming) {
    const std::uint32_t selected = g_instrumentPanel.GetSelectedKinds();
    FirstArrow() = (selected & first) == 0;
    SecondArrow() = (selected & second) == 0;
    g_instrumentPanel.SetHighlight(first, FirstArrow());
    g_instrumentPanel.SetHighlight(second, SecondArrow());
    if (selected != (first | second)) {
        return false;
    }
    g_instrumentPanel.SetAllDisabled(true);
    if (updateBeforeDimming) {
        g_instrumentPanel.Update(frame.input, frame.scale, frame.elapsed);
    }
    g_instrumentPanel.SetHighlight(first | second, false);
    g_instrumentPanel.Update(frame.input, frame.scale, frame.elapsed);
    return true;
}

// Start the machine.
void LightMachine() {
    g_machine.SetHighlight(true, false, true);
}

bool MachineStarted() {
    if (!g_machine.IsWorking()) {
        return false;
    }
    g_machine.SetHighlight(true, false, false);
    return true;
}

// Take the set to the aquarium: once the set has left the tray the aquarium
// is lit; the step ends when it has been delivered.
void LightProduct() {
    g_machine.SetHighlight(false, true, true);
}

bool SetDelivered(CAquarium& aquarium) {
    if (g_machine.GetCurrentSet() != 0) {
        return false;
    }
    g_machine.SetHighlight(false, true, false);
    CallTo(aquarium);
    FirstArrow() = false;
    if (!HandsEmpty()) {
        return false;
    }
    Darken(aquarium);
    return true;
}

// Wait for a wish.
bool WishRaised(const CAquarium& aquarium) {
    return PendingWish(aquarium) != 0;
}

// Bring the food: with the food in hand the aquarium is lit; the wish met
// ends the step.
bool FoodBrought(std::uint32_t food, CAquarium& aquarium) {
    if (HandHolds(food)) {
        Withdraw(food, FirstArrow(), true);
        CallTo(aquarium);
    }
    if (PendingWish(aquarium) != 0) {
        return false;
    }
    Darken(aquarium);
    return true;
}

// Bring two foods: `first` goes with the second arrow and `second` with the
// first; one in each hand ends the step.
bool FoodsInHand(std::uint32_t first, std::uint32_t second, bool secondStaysEnabled) {
    if (HandHolds(first)) {
        Withdraw(first, SecondArrow(), true);
    }
    if (HandHolds(second)) {
        Withdraw(second, FirstArrow(), !secondStaysEnabled);
    }
    const std::uint32_t a = g_heroine.firstHandItem;
    const std::uint32_t b = g_heroine.secondHandItem;
    return (a == first && b == second) || (a == second && b == first);
}

// Serve both aquariums: each keeps its arrow and its clickable body until its
// wish is met.
void LightBoth(const Frame& frame) {
    frame.First().SetPartsHighlighted(AQUARIUM_PARTS, false, true);
    frame.Second().SetPartsHighlighted(AQUARIUM_PARTS, false, true);
}

bool BothServed(const Frame& frame, bool lockSale) {
    bool* arrows[] = {&FirstArrow(), &SecondArrow()};
    for (std::size_t i = 0; i < 2; ++i) {
        CAquarium& aquarium = *frame.aquarium[i];
        if (*arrows[i]) {
            aquarium.SetPartsDisabled(ITEM_AQUARIUM, false);
        }
        if (PendingWish(aquarium) == 0) {
            *arrows[i] = false;
            Darken(aquarium);
            if (lockSale) {
                aquarium.SetSellDisabled(true);
            }
        }
    }
    return !FirstArrow() && !SecondArrow();
}

// A grown fish to sell from the lit sell button.
void OfferSale(CAquarium& aquarium) {
    FirstArrow() = true;
    aquarium.SetPartsHighlighted(0, true, true);
}

bool Sold(CAquarium& aquarium) {
    if (!FishGone(aquarium)) {
        return false;
    }
    aquarium.SetPartsHighlighted(0, true, false);
    return true;
}

// --- The steps ---

enum class Wait {
    NONE,
    // The timer the step before set.
    TIMER,
    // The same, counted only while an order is on screen.
    TIMER_WHILE_ORDERS,
};

constexpr std::uint32_t NEEDS_FIRST = 1;
constexpr std::uint32_t NEEDS_BOTH = 3;
constexpr float NO_TIMER = -1.0f;

struct Step {
    Wait wait;
    // The aquariums the step works on (bit 0: aquarium 0, bit 1: aquarium 1);
    // while one of them is missing the step waits.
    std::uint32_t needs;
    // Every frame of the step, tip shown or not.
    void (*always)(const Frame&);
    // Once, as the tip is shown.
    void (*enter)(const Frame&);
    // Every frame once the tip is shown: true when the step has ended, its
    // end actions done.
    bool (*update)(const Frame&);
    std::int32_t next;
    float nextTimer;
    // The next timer is set as the tip is shown rather than at the end.
    bool timerWithTip = false;
};

void Nothing(const Frame&) {}

void HoldOrdersAtFirstArrival(const Frame&) {
    g_instrumentPanel.SetAllDisabled(true);
    if (g_orderList.CountActive() > 0) {
        g_orderList.HoldArrivals(true);
    }
}

void DisableInstruments(const Frame&) {
    g_instrumentPanel.SetAllDisabled(true);
}

void ShowBothArrows() {
    FirstArrow() = true;
    SecondArrow() = true;
}

// Step functions shared by both training levels.
void EnterLightMachine(const Frame&) {
    LightMachine();
}

// The first set started: its ingredients charge, so they must not stay
// disabled.
bool FirstSetStarted(const Frame&) {
    if (!MachineStarted()) {
        return false;
    }
    g_instrumentPanel.SetDisabledByKind(ROCK | GREEN_GRASS, false);
    return true;
}

bool MachineStopped(const Frame&) {
    return !g_machine.IsWorking();
}

void EnterLightProduct(const Frame&) {
    LightProduct();
}

bool SetInFirstAquarium(const Frame& f) {
    return SetDelivered(f.First());
}

bool WishInFirstAquarium(const Frame& f) {
    return WishRaised(f.First());
}

const Step STEPS[] = {
    // 0
    {Wait::TIMER_WHILE_ORDERS, NEEDS_FIRST, HoldOrdersAtFirstArrival,
     [](const Frame&) { g_orderList.SetHighlighted(0, true); },
     [](const Frame& f) { return PlaceOrder(f.First()); }, 1, 3.0f},
    // 1
    {Wait::TIMER, 0, Nothing, [](const Frame&) { Offer(ROCK | GREEN_GRASS); },
     [](const Frame& f) { return SelectIngredients(f, ROCK, GREEN_GRASS, false); }, 2, NO_TIMER},
    // 2
    {Wait::NONE, 0, Nothing, EnterLightMachine, FirstSetStarted, 3, 0.5f},
    // 3
    {Wait::TIMER, 0, Nothing, Nothing, MachineStopped, 4, NO_TIMER},
    // 4
    {Wait::NONE, NEEDS_FIRST, Nothing, EnterLightProduct, SetInFirstAquarium, 5, NO_TIMER},
    // 5
    {Wait::NONE, NEEDS_FIRST, Nothing, Nothing, WishInFirstAquarium, 6, NO_TIMER},
    // 6
    {Wait::NONE, NEEDS_FIRST, Nothing, [](const Frame&) { Offer(ITEM_FOOD_2); },
     [](const Frame& f) { return FoodBrought(ITEM_FOOD_2, f.First()); }, 7, NO_TIMER},
    // 7
    {Wait::NONE, NEEDS_FIRST, Nothing, [](const Frame&) { FirstArrow() = true; },
     WishInFirstAquarium, 8, NO_TIMER},
    // 8
    {Wait::NONE, NEEDS_FIRST, Nothing, [](const Frame&) { Offer(ITEM_FOOD_1); },
     [](const Frame& f) { return FoodBrought(ITEM_FOOD_1, f.First()); }, 9, 1.5f},
    // 9
    {Wait::TIMER, NEEDS_FIRST, Nothing, [](const Frame& f) { OfferSale(f.First()); },
     [](const Frame& f) {
         if (!Sold(f.First())) {
             return false;
         }
         g_orderList.HoldArrivals(false);
         return true;
     },
     10, 2.0f},
    // 10
    {Wait::TIMER, NEEDS_FIRST, Nothing, [](const Frame&) { ShowBothArrows(); },
     [](const Frame& f) { return PlaceOrder(f.First()); }, 11, 1.5f},
    // 11
    {Wait::TIMER, NEEDS_BOTH, Nothing, [](const Frame&) { ShowBothArrows(); },
     [](const Frame& f) { return PlaceOrder(f.Second()); }, 12, 3.0f},
    // 12
    {Wait::TIMER, 0, Nothing, [](const Frame&) { Offer(STONE | BLUE_GRASS); },
     [](const Frame& f) {
         if (!SelectIngredients(f, STONE, BLUE_GRASS, false)) {
             return false;
         }
         g_machine.SetProductHidden(true);
         return true;
     },
     13, NO_TIMER},
    // 13
    {Wait::NONE, 0, Nothing, EnterLightMachine, [](const Frame&) { return MachineStarted(); }, 14,
     0.5f},
    // 14
    {Wait::TIMER, 0, Nothing, [](const Frame&) { Offer(ROCK | GREEN_GRASS); },
     [](const Frame& f) { return SelectIngredients(f, ROCK, GREEN_GRASS, false); }, 15, 0.5f},
    // 15: the second set goes into the queue while the first is worked.
    {Wait::TIMER, 0, Nothing, EnterLightMachine,
     [](const Frame&) {
         if (g_machine.GetQueuedCount() == 0) {
             return false;
         }
         g_machine.SetHighlight(true, false, false);
         FirstArrow() = false;
         g_machine.SetDisabled(true);
         if (g_machine.IsWorking()) {
             return false;
         }
         g_machine.SetProductHidden(false);
         g_instrumentPanel.SetDisabledByKind(STONE | BLUE_GRASS, false);
         return true;
     },
     16, 0.5f},
    // 16: the first set to aquarium 1, which starts the queued one.
    {Wait::TIMER, NEEDS_BOTH, Nothing, EnterLightProduct,
     [](const Frame& f) {
         if (g_machine.GetQueuedCount() != 0) {
             return false;
         }
         g_machine.SetHighlight(false, true, false);
         CallTo(f.Second());
         FirstArrow() = false;
         g_machine.SetProductHidden(true);
         g_instrumentPanel.SetDisabledByKind(ROCK | GREEN_GRASS, false);
         if (!HandsEmpty()) {
             return false;
         }
         Darken(f.Second());
         SecondArrow() = false;
         return !g_machine.IsWorking();
     },
     17, 0.5f},
    // 17: the second set to aquarium 0.
    {Wait::TIMER, NEEDS_FIRST, Nothing,
     [](const Frame&) {
         LightProduct();
         g_machine.SetProductHidden(false);
     },
     SetInFirstAquarium, 18, 2.5f},
    // 18: aquarium 1's fish wants its compressor.
    {Wait::TIMER, NEEDS_BOTH, Nothing, Nothing,
     [](const Frame& f) {
         f.Second().SetPartsDisabled(AQUARIUM_PARTS, false);
         f.Second().SetPartsHighlighted(ITEM_COMPRESSOR_SWITCH, false, true);
         if (PendingWish(f.Second()) != 0) {
             return false;
         }
         Darken(f.Second());
         return true;
     },
     19, NO_TIMER},
    // 19
    {Wait::NONE, NEEDS_BOTH, Nothing, Nothing,
     [](const Frame& f) { return WishRaised(f.Second()); }, 20, NO_TIMER},
    // 20
    {Wait::NONE, 0, Nothing, [](const Frame&) { Offer(ITEM_FOOD_1 | ITEM_FOOD_2); },
     [](const Frame&) { return FoodsInHand(ITEM_FOOD_1, ITEM_FOOD_2, false); }, 21, NO_TIMER},
    // 21
    {Wait::NONE, NEEDS_BOTH, Nothing, LightBoth,
     [](const Frame& f) { return BothServed(f, false); }, 22, NO_TIMER},
    // 22
    {Wait::NONE, NEEDS_BOTH, Nothing, Nothing,
     [](const Frame& f) { return WishRaised(f.First()) && WishRaised(f.Second()); }, 23, NO_TIMER},
    // 23
    {Wait::NONE, 0, Nothing, [](const Frame&) { Offer(ITEM_FOOD_1 | ITEM_FOOD_2); },
     [](const Frame&) { return FoodsInHand(ITEM_FOOD_1, ITEM_FOOD_2, false); }, 24, NO_TIMER},
    // 24: the last wishes; a fish whose wish is met keeps until both are.
    {Wait::NONE, NEEDS_BOTH, Nothing, LightBoth, [](const Frame& f) { return BothServed(f, true); },
     25, 1.5f},
    // 25: both fish sold.
    {Wait::TIMER, NEEDS_BOTH, Nothing,
     [](const Frame& f) {
         FirstArrow() = true;
         for (CAquarium* aquarium : f.aquarium) {
             aquarium->SetPartsHighlighted(0, true, true);
             aquarium->SetSellDisabled(false);
         }
     },
     [](const Frame& f) {
         bool* arrows[] = {&FirstArrow(), &SecondArrow()};
         for (std::size_t i = 0; i < 2; ++i) {
             if (FishGone(*f.aquarium[i])) {
                 f.aquarium[i]->SetPartsHighlighted(0, true, false);
                 *arrows[i] = false;
             }
         }
         return FishGone(f.First()) && FishGone(f.Second());
     },
     FINISHED, NO_TIMER},
    // 26: the order of the second training level.
    {Wait::TIMER_WHILE_ORDERS, NEEDS_FIRST, DisableInstruments,
     [](const Frame&) {
         g_orderList.SetHighlighted(0, true);
         ShowBothArrows();
     },
     [](const Frame& f) {
         GuideOrderTo(f.First());
         if (g_orderList.GetEntry(0) != nullptr) {
             return false;
         }
         g_orderList.SetHighlighted(0, false);
         Darken(f.First());
         return true;
     },
     27, 3.0f, true},
    // 27
    {Wait::TIMER, 0, Nothing, [](const Frame&) { Offer(ROCK | GREEN_GRASS); },
     [](const Frame& f) { return SelectIngredients(f, ROCK, GREEN_GRASS, true); }, 28, NO_TIMER},
    // 28
    {Wait::NONE, 0, Nothing, EnterLightMachine, FirstSetStarted, 29, 0.5f},
    // 29
    {Wait::TIMER, 0, Nothing, Nothing, MachineStopped, 30, NO_TIMER},
    // 30
    {Wait::NONE, NEEDS_FIRST, Nothing, EnterLightProduct, SetInFirstAquarium, 31, NO_TIMER},
    // 31
    {Wait::NONE, NEEDS_FIRST, Nothing, Nothing, WishInFirstAquarium, 32, NO_TIMER},
    // 32: food 2 with the growth vitamin, whose charge must run in hand.
    {Wait::NONE, 0, Nothing, [](const Frame&) { Offer(ITEM_FOOD_2 | ITEM_VITAMIN_GROWTH); },
     [](const Frame&) { return FoodsInHand(ITEM_FOOD_2, ITEM_VITAMIN_GROWTH, true); }, 33,
     NO_TIMER},
    // 33
    {Wait::NONE, NEEDS_FIRST, Nothing,
     [](const Frame& f) { f.First().SetPartsHighlighted(AQUARIUM_PARTS, false, true); },
     [](const Frame& f) {
         f.First().SetPartsDisabled(ITEM_AQUARIUM, false);
         if (PendingWish(f.First()) != 0) {
             return false;
         }
         Darken(f.First());
         return true;
     },
     34, 2.5f},
    // 34
    {Wait::TIMER, NEEDS_FIRST, Nothing, [](const Frame& f) { OfferSale(f.First()); },
     [](const Frame& f) { return Sold(f.First()); }, FINISHED, NO_TIMER},
};

static_assert(std::size(STEPS) == std::size(TIPS));

bool IsOneOf(std::int32_t step, std::initializer_list<std::int32_t> steps) {
    return std::find(steps.begin(), steps.end(), step) != steps.end();
}

HintDesc TipDesc(std::int32_t step) {
    const TipPlace& tip = TIPS[step];
    HintDesc desc;
    desc.firstArrowPosition = tip.firstArrow;
    desc.firstArrowDirection = tip.firstDirection;
    desc.secondArrowPosition = tip.secondArrow;
    desc.secondArrowDirection = tip.secondDirection;
    desc.panelPosition = tip.panel;
    desc.headerFont = 1;
    desc.headerId = "TIP_HEADER";
    desc.textFont = 0;
    desc.textId = tip.textId;
    desc.columns = tip.columns;
    desc.rows = tip.rows;
    desc.centred = true;
    return desc;
}

void ShowTip(std::int32_t step) {
    g_hintManager.AddHint(TipDesc(step));
}

bool HasAquariums(const Frame& frame, std::uint32_t needs) {
    for (std::size_t i = 0; i < 2; ++i) {
        if ((needs & (1u << i)) != 0 && frame.aquarium[i] == nullptr) {
            return false;
        }
    }
    return true;
}

}  // namespace

HintDesc CGameSession::TrainingTip(std::int32_t step) {
    return TipDesc(step);
}

void CGameSession::StartTraining(std::int32_t firstStep) {
    m_trainingStep = firstStep;
    m_trainingSubState = 0;
    m_trainingTimer = FIRST_TIP_WAIT;
    m_tipAlpha = 0.0f;
}

void CGameSession::RunTrainingScript(const InputState& input, Vec2 scale, float elapsed) {
    const std::int32_t step = m_trainingStep;

    // The rules of every step come first. SKIP fades in with the tips that
    // introduce it and out again once the player is on the way.
    if (IsOneOf(step, {1, 12, 27}) && m_trainingSubState == 1) {
        m_tipAlpha = std::min(m_tipAlpha + TIP_ALPHA_SPEED * elapsed, TIP_ALPHA_MAX);
    } else if (step == 10) {
        m_tipAlpha = std::max(m_tipAlpha - TIP_ALPHA_SPEED * elapsed, 0.0f);
    }
    // An invisible SKIP cannot be clicked.
    if (step >= 1 && m_tipAlpha > 0.0f && m_buttons[BTN_SKIP].CheckClick(input, scale)) {
        g_hintManager.CloseAll();
        AddModeBits(MODE_NEXT_LEVEL | MODE_FADE_OUT);
        return;
    }
    g_machine.SetDisabled(!IsOneOf(step, {2, 13, 15, 28}));
    // A charging ingredient stays enabled, or its charge would stand still.
    if (!IsOneOf(step, {1, 12, 14, 27})) {
        for (std::uint32_t kind : TRAINING_INGREDIENTS) {
            if (g_instrumentPanel.GetChargeLeft(kind) <= 0.0f) {
                g_instrumentPanel.SetDisabledByKind(kind, true);
            }
        }
    }
    if (step != 32 && g_instrumentPanel.GetChargeLeft(ITEM_VITAMIN_GROWTH) <= 0.0f) {
        g_instrumentPanel.SetDisabledByKind(ITEM_VITAMIN_GROWTH, true);
    }
    const Frame frame{
        input, scale, elapsed, {g_aquariumSet.GetAquarium(0), g_aquariumSet.GetAquarium(1)}};
    const bool bothAquariums = frame.aquarium[0] != nullptr && frame.aquarium[1] != nullptr;
    if (!bothAquariums && step < SECOND_LEVEL_FIRST_STEP) {
        // The first training cannot be played without its two aquariums.
        AddModeBits(MODE_NEXT_LEVEL | MODE_FADE_OUT);
        return;
    }
    for (CAquarium* aquarium : frame.aquarium) {
        if (aquarium != nullptr) {
            aquarium->SetPartsDisabled(AQUARIUM_PARTS, true);
        }
    }

    // Then the step; step 100 and any other number have none.
    if (step < 0 || step >= static_cast<std::int32_t>(std::size(STEPS))) {
        return;
    }
    const Step& current = STEPS[step];
    if (!HasAquariums(frame, current.needs)) {
        return;
    }
    current.always(frame);
    if (m_trainingSubState == 0) {
        if (current.wait != Wait::NONE) {
            if (current.wait == Wait::TIMER_WHILE_ORDERS && g_orderList.CountActive() <= 0) {
                return;
            }
            m_trainingTimer -= elapsed;
            if (m_trainingTimer > 0.0f) {
                return;
            }
        }
        current.enter(frame);
        ShowTip(step);
        m_trainingSubState = 1;
        if (current.timerWithTip) {
            m_trainingTimer = current.nextTimer;
        }
        return;
    }
    if (!current.update(frame)) {
        return;
    }
    g_hintManager.CloseAll();
    ShowBothArrows();
    m_trainingStep = current.next;
    m_trainingSubState = 0;
    if (current.nextTimer >= 0.0f && !current.timerWithTip) {
        m_trainingTimer = current.nextTimer;
    }
}
