// The pet: its food wishes and the foods a level offers, the charge and its
// gauge, an expired wish, the ability button, the pet fish's growth and the
// pet turtle's time bonus with its texts, training, the upgrade shop's hint,
// preview and purchase, and the depth passes.
#include "shopfloor/pet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/platform/random_float.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "shop_world.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"

namespace {

constexpr Vec2 SCALE{1.0f, 1.0f};
// In location 1: on the pet's aquarium, on the ability button, elsewhere.
constexpr Vec2 ON_PICTURE{800.0f, 180.0f};
constexpr Vec2 ON_BUTTON{810.0f, 90.0f};
constexpr Vec2 AWAY{100.0f, 700.0f};

// The pet's animations with the frames each needs.
const std::vector<std::pair<std::string, int>> PET_ANIMATIONS = {
    {"A_PET_FISH_1", 220},   {"A_PET_FISH_2", 40},   {"A_PET_FISH_3", 40},
    {"A_PET_TURTLE_1", 210}, {"A_PET_TURTLE_2", 50}, {"A_PET_TURTLE_3", 40},
};

class PetTest : public shop_test::ShopWorldTest {
protected:
    void SetUp() override {
        ShopWorldTest::SetUp();
        UseLanguage("English", {{"FAST_BONUS", "FAST"},
                                {"PET_TURTLE_ABILITY", "TIME"},
                                {"PET_FISH_ABILITY", "GROWTH"},
                                {"UPGRADE_AQUARIUM_HEADER", "PET"},
                                {"UPGRADE_PET_TEXT_3", "THREE"}});
        AddImage("GLOW", 512, 512);
        AddImage("LOCATION_UPDATES_3", 512, 512);
        AddAnimations(PET_ANIMATIONS);
        // The ability's strength by level; levels 4 and 6 give bonuses of
        // 65 s and 119.6 s.
        resource_test::WriteFile(
            "Resources/Data/upgrades.xml",
            "<Upgrades><PetAquarium cost_1=\"0\" cost_2=\"300\" cost_3=\"550\" cost_4=\"850\" "
            "cost_5=\"1200\" cost_6=\"1600\" effect_1=\"0\" effect_2=\"150\" effect_3=\"10\" "
            "effect_4=\"116.66667\" effect_5=\"100\" effect_6=\"298.66667\"/></Upgrades>");
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        g_aquariumSet.Clear();
        g_orderList.Clear();
        g_hintManager.Clear();
        g_location.Set(1, 0);
        input.cursorX = AWAY.x;
        input.cursorY = AWAY.y;
    }

    void TearDown() override {
        g_aquariumSet.Clear();
        g_orderList.Clear();
        g_hintManager.Clear();
        ShopWorldTest::TearDown();
    }

    void Frame(float dt) {
        pet.Update(input, SCALE, dt);
        input.previousMouse = input.currentMouse;
        LetSoundsRun(dt);
    }

    void Run(float seconds, float dt = 0.05f) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += dt) {
            Frame(dt);
        }
    }

    void PointAt(Vec2 point) {
        input.cursorX = point.x;
        input.cursorY = point.y;
    }

    // One frame with a left press at the point.
    void ClickAt(Vec2 point, bool shop = false) {
        PointAt(point);
        input.previousMouse.buttons[0] = 0;
        input.currentMouse.buttons[0] = 0x80;
        if (shop) {
            pet.UpdateShop(input, SCALE, 0.01f);
        } else {
            pet.Update(input, SCALE, 0.01f);
        }
        input.currentMouse.buttons[0] = 0;
        input.previousMouse.buttons[0] = 0;
        LetSoundsRun(0.01f);
    }

    // Runs until a wish can be met; its item.
    std::uint32_t WaitForWish() {
        for (int i = 0; i < 400 && pet.GetBubble().GetRequest() == 0; ++i) {
            Frame(0.1f);
        }
        return pet.GetBubble().GetRequest();
    }

    void MeetWishes(int count) {
        for (int i = 0; i < count; ++i) {
            const std::uint32_t wish = WaitForWish();
            ASSERT_NE(wish, 0u);
            ASSERT_TRUE(pet.SatisfyRequest(wish));
        }
    }

    // A clock reading whose first draw picks food slot r.
    static std::uint64_t ClockForDraw(int r) {
        for (std::uint64_t ms = 1000;; ++ms) {
            SeedRandom(static_cast<std::uint32_t>(ms));
            if (NextRandom() % 4 == r) {
                return ms;
            }
        }
    }

    std::vector<std::u16string> PopupStrings() {
        std::vector<std::u16string> texts;
        for (const PopupText& popup : NewPopups()) {
            texts.push_back(popup.text);
        }
        return texts;
    }

    CPet pet;
};

TEST_F(PetTest, ThreeMetFoodWishesChargeTheGaugeToTwelveAndNoFourthComes) {
    pet.Init(1, CPet::PET_FISH, 1);
    for (int i = 1; i <= 3; ++i) {
        MeetWishes(1);
        EXPECT_EQ(Plays(39), i);
        EXPECT_EQ(pet.GetAnimState(), CPet::CLIP_HAPPY);
        Run(1.0f);
        EXPECT_EQ(pet.GetCharge(), 4 * i);
        // The gauge ran to the charge's frame and stopped there.
        EXPECT_EQ(pet.GetChargeIndicator().GetFrameIndex(0), 4 * i - 1);
        EXPECT_FALSE(pet.GetChargeIndicator().IsPlaying(0));
    }
    Run(60.0f, 0.1f);
    EXPECT_EQ(pet.GetBubble().GetRequest(), 0u);
    EXPECT_EQ(pet.GetCharge(), CPet::FULL_CHARGE);
}

TEST_F(PetTest, ExpiredWishAtNoChargePlaysTheSadClipThreeTimes) {
    pet.Init(1, CPet::PET_TURTLE, 1);
    ASSERT_NE(WaitForWish(), 0u);
    int sadStarts = 0;
    int previousClip = -1;
    int previousFrame = 0;
    bool sadOver = false;
    for (int i = 0; i < 10000 && !sadOver; ++i) {
        Frame(0.02f);
        const int clip = pet.GetFigure().GetCurrentClip();
        const int frame = pet.GetFigure().GetCurrentFrame(static_cast<unsigned>(clip));
        if (clip == CPet::CLIP_SAD && (previousClip != CPet::CLIP_SAD || frame < previousFrame)) {
            ++sadStarts;
        }
        sadOver = sadStarts > 0 && clip != CPet::CLIP_SAD;
        previousClip = clip;
        previousFrame = frame;
    }
    EXPECT_EQ(sadStarts, 3);
    EXPECT_EQ(pet.GetCharge(), 0);
    EXPECT_EQ(Plays(40), 1);
    EXPECT_EQ(Plays(13), 1);
    EXPECT_FALSE(pet.IsSadRepeat());
}

TEST_F(PetTest, ExpiredWishTakesAChargeStepBackAndTheGaugeRunsBack) {
    pet.Init(1, CPet::PET_FISH, 1);
    MeetWishes(2);
    ASSERT_NE(WaitForWish(), 0u);
    Run(61.0f, 0.1f);
    EXPECT_EQ(pet.GetCharge(), 4);
    EXPECT_EQ(pet.GetChargeIndicator().GetFrameIndex(0), 3);
}

TEST_F(PetTest, WishesOnlyFoodsTheLevelOffers) {
    // Food by the draw's slot 0 to 3, for levels offering 1 to 4 foods.
    const std::vector<std::vector<std::uint32_t>> expected = {
        {ITEM_FOOD_1, ITEM_FOOD_1, ITEM_FOOD_1, ITEM_FOOD_1},
        {ITEM_FOOD_1, ITEM_FOOD_2, ITEM_FOOD_1, ITEM_FOOD_1},
        {ITEM_FOOD_1, ITEM_FOOD_2, ITEM_FOOD_3, ITEM_FOOD_1},
        {ITEM_FOOD_1, ITEM_FOOD_2, ITEM_FOOD_3, ITEM_FOOD_4},
    };
    for (int foods = 1; foods <= 4; ++foods) {
        g_gameSession.GetLevel().food_types = foods;
        for (int r = 0; r < 4; ++r) {
            SCOPED_TRACE(std::to_string(foods) + " foods, slot " + std::to_string(r));
            pet.Init(1, CPet::PET_FISH, 1);
            Run(14.9f, 0.1f);
            ASSERT_EQ(pet.GetBubble().GetStoredRequest(), 0u);
            clock.milliseconds = ClockForDraw(r);
            pet.Update(input, SCALE, 0.2f);
            EXPECT_EQ(pet.GetBubble().GetStoredRequest(),
                      expected[static_cast<std::size_t>(foods - 1)][static_cast<std::size_t>(r)]);
        }
    }
}

TEST_F(PetTest, SatisfyRefusesNothingAndOtherItemsAndPaysForFastService) {
    pet.Init(1, CPet::PET_FISH, 1);
    const std::uint32_t wish = WaitForWish();
    EXPECT_FALSE(pet.SatisfyRequest(0));
    EXPECT_FALSE(pet.SatisfyRequest(wish == ITEM_FOOD_1 ? ITEM_FOOD_2 : ITEM_FOOD_1));
    EXPECT_EQ(pet.GetCharge(), 0);
    EXPECT_EQ(Plays(39), 0);
    const std::int32_t cash = Cash();
    EXPECT_TRUE(pet.SatisfyRequest(wish));
    EXPECT_EQ(Cash(), cash + 5);
    EXPECT_EQ(PopupStrings(), std::vector<std::u16string>{u"FAST +5"});
    EXPECT_EQ(NewPopups()[0].x, 755.0f + 65.0f);
    // A slow answer pays nothing extra.
    ASSERT_NE(WaitForWish(), 0u);
    Run(20.0f, 0.1f);
    EXPECT_TRUE(pet.SatisfyRequest(pet.GetBubble().GetRequest()));
    EXPECT_EQ(Cash(), cash + 5);
}

TEST_F(PetTest, AbilityButtonTakesAClickAtFullChargeWhileStillInvisible) {
    pet.Init(1, CPet::PET_FISH, 1);
    MeetWishes(2);
    Run(0.5f);
    // Below full charge the button does nothing.
    ClickAt(ON_BUTTON);
    EXPECT_EQ(pet.GetAbilityState(), CPet::ABILITY_NONE);
    EXPECT_EQ(pet.GetButtonAlpha(), -300.0f);
    MeetWishes(1);
    ClickAt(ON_BUTTON);
    EXPECT_LT(pet.GetButtonAlpha(), 0.0f);
    EXPECT_NE(pet.GetAbilityState(), CPet::ABILITY_NONE);
    EXPECT_EQ(pet.GetCharge(), 0);
    EXPECT_EQ(Plays(41), 1);
}

TEST_F(PetTest, PetFishGrowsOnlyGrowingFishByItsLevelsStrength) {
    struct Case {
        std::int32_t level;
        std::int32_t growth;
    };
    for (const Case& c : {Case{1, 25}, Case{5, 50}}) {
        SCOPED_TRACE(c.level);
        g_aquariumSet.Clear();
        for (int i = 0; i < 3; ++i) {
            g_aquariumSet.AddAquarium(0, 1, 0, 0, 100.0f + 250.0f * i, 400.0f, 1.0f, 1.0f, false);
        }
        // Slot 0 growing, slot 1 empty, slot 2 grown.
        g_aquariumSet.GetAquarium(0)->PutFish(FISH_1, false);
        g_aquariumSet.GetAquarium(2)->PutFish(FISH_1, false);
        g_aquariumSet.GetAquarium(2)->SetFishState(CAquarium::FISH_GROWN);
        pet.Init(1, CPet::PET_FISH, c.level);
        MeetWishes(3);
        const int arrivals = Plays(8);
        ClickAt(ON_BUTTON);
        ASSERT_EQ(pet.GetAbilityState(), CPet::ABILITY_FLIGHT);
        EXPECT_NE(pet.GetGlow(0).image, -1);
        EXPECT_EQ(pet.GetGlow(1).image, -1);
        EXPECT_EQ(pet.GetGlow(2).image, -1);
        float seconds = 0.0f;
        while (pet.GetAbilityState() == CPet::ABILITY_FLIGHT && seconds < 3.0f) {
            Frame(0.01f);
            seconds += 0.01f;
        }
        // About one second of flight, whatever the distance.
        EXPECT_NEAR(seconds, 1.0f, 0.05f);
        EXPECT_EQ(pet.GetAbilityState(), CPet::ABILITY_FADE);
        EXPECT_EQ(Plays(8), arrivals + 1);
        EXPECT_EQ(g_aquariumSet.GetAquarium(0)->GetFish().growth, c.growth);
        EXPECT_TRUE(g_aquariumSet.GetAquarium(1)->IsEmpty());
        EXPECT_EQ(g_aquariumSet.GetAquarium(2)->GetFish().growth, 0.0f);
        Run(0.3f, 0.01f);
        EXPECT_EQ(pet.GetAbilityState(), CPet::ABILITY_NONE);
        EXPECT_EQ(pet.GetGlowAlpha(), 0.0f);
    }
}

TEST_F(PetTest, PetFishWithNothingToGrowOnlyFadesAGlow) {
    g_aquariumSet.AddAquarium(0, 1, 0, 0, 0.0f, 0.0f, 1.0f, 1.0f, false);
    pet.Init(1, CPet::PET_FISH, 1);
    MeetWishes(3);
    ClickAt(ON_BUTTON);
    EXPECT_EQ(pet.GetAbilityState(), CPet::ABILITY_FADE);
    Run(0.3f, 0.01f);
    EXPECT_EQ(pet.GetAbilityState(), CPet::ABILITY_NONE);
    EXPECT_TRUE(g_aquariumSet.GetAquarium(0)->IsEmpty());
    EXPECT_EQ(Plays(8), 0);
}

TEST_F(PetTest, PetTurtleAddsTimeToTheLevelAndTheOrdersWithItsTexts) {
    struct Case {
        std::int32_t level;
        const char16_t* time;
        float bonus;
    };
    // Effects 0, 150, 10, 116.7 (65 s), 100 and 298.7 (119.6 s).
    const std::vector<Case> cases = {
        {1, u"+0:30", 30.0f}, {2, u"+1:15", 75.0f}, {3, u"+0:33", 33.0f},
        {4, u"+1:05", 65.0f}, {5, u"+1:00", 60.0f}, {6, u"+2:00", 119.6f},
    };
    g_orderList.AddOrder(CRAB, 1, 0.0f, false);
    g_orderList.Update(input, SCALE, 0.01f, 0.0f);
    const Vec2 top = g_orderList.GetTopActiveOrderPosition();
    ASSERT_NE(top, Vec2{});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        pet.Init(1, CPet::PET_TURTLE, c.level);
        MeetWishes(3);
        popupsBefore = PopupTexts::Instance().GetTexts().size();
        g_orderList.Clear();
        g_orderList.AddOrder(CRAB, 1, 0.0f, false);
        g_orderList.Update(input, SCALE, 0.01f, 0.0f);
        ClickAt(ON_BUTTON);
        while (pet.GetAbilityState() == CPet::ABILITY_FLIGHT) {
            Frame(0.02f);
        }
        EXPECT_EQ(pet.GetGlow(0).x, 535.0f);
        EXPECT_EQ(pet.GetGlow(0).y, 0.0f);
        EXPECT_EQ(PopupStrings(),
                  (std::vector<std::u16string>{std::u16string(u"TIME ") + c.time, c.time}));
        const std::vector<PopupText> popups = NewPopups();
        ASSERT_EQ(popups.size(), 2u);
        EXPECT_EQ(popups[0].colour, 0xFF00FF00u);
        EXPECT_EQ(popups[1].x, top.x + 43.0f);
        EXPECT_EQ(popups[1].y, top.y - 23.0f);
        EXPECT_NEAR(g_gameSession.GetTimeBonus(), c.bonus, 1e-3f);
        EXPECT_NEAR(g_orderList.GetBonusPool(), c.bonus, 1e-3f);
        EXPECT_TRUE(g_orderList.IsBonusFlashing());
        Run(0.3f, 0.02f);
        EXPECT_EQ(pet.GetAbilityState(), CPet::ABILITY_NONE);
    }
}

TEST_F(PetTest, TurtleWithoutOrdersShowsOnlyTheLevelText) {
    pet.Init(2, CPet::PET_TURTLE, 1);
    MeetWishes(3);
    popupsBefore = PopupTexts::Instance().GetTexts().size();
    ClickAt({263.0f + 60.0f, 89.0f - 30.0f});
    ASSERT_EQ(pet.GetAbilityState(), CPet::ABILITY_FLIGHT);
    Run(3.0f, 0.02f);
    EXPECT_EQ(PopupStrings(), std::vector<std::u16string>{u"TIME +0:30"});
}

TEST_F(PetTest, InTrainingThePetNeitherWishesNorIsHoveredButKeepsMoving) {
    g_gameSession.SetGameMode(MODE_GAME | MODE_TRAINING);
    pet.Init(1, CPet::PET_FISH, 1);
    PointAt(ON_PICTURE);
    std::vector<int> clips;
    for (int i = 0; i < 600; ++i) {
        Frame(0.1f);
        EXPECT_FALSE(pet.IsHovered());
        const int clip = pet.GetFigure().GetCurrentClip();
        if (clips.empty() || clips.back() != clip) {
            clips.push_back(clip);
        }
    }
    EXPECT_EQ(pet.GetBubble().GetStoredRequest(), 0u);
    EXPECT_GT(clips.size(), 1u);
    // Out of training the same cursor hovers it.
    g_gameSession.SetGameMode(MODE_GAME);
    Frame(0.1f);
    EXPECT_TRUE(pet.IsHovered());
}

TEST_F(PetTest, ShopHintPreviewAndPurchaseFollowTheLevel) {
    g_gameSession.GetCurrentProfile()->savings = 1000;
    pet.Init(1, CPet::PET_FISH, 3);
    PointAt(ON_PICTURE);
    pet.UpdateShop(input, SCALE, 0.01f);
    ASSERT_EQ(g_hintManager.GetWindows().size(), 1u);
    EXPECT_FALSE(g_hintManager.showFirstArrow);
    device.draws.clear();
    pet.RenderShopLevel(&device, SCALE);
    pet.RenderUpgradeButton(&device, SCALE);
    // The next level's picture, then the upgrade button.
    ASSERT_EQ(DrawsOf(upgrades).size(), 1u);
    EXPECT_EQ(DrawsOf(upgrades)[0].source->left, 0);
    EXPECT_EQ(DrawsOf(upgrades)[0].source->top, 130);
    EXPECT_EQ(DrawsOf(icons).size(), 1u);

    ClickAt(ON_PICTURE, true);
    EXPECT_TRUE(pet.IsPurchasePending());
    EXPECT_EQ(Plays(25), 1);
    EXPECT_TRUE(g_hintManager.showFirstArrow);
    EXPECT_EQ(g_gameSession.GetPendingCode(), static_cast<std::uint32_t>(ITEM_PET));
    // A click elsewhere drops it and closes the hint.
    ClickAt(AWAY, true);
    EXPECT_FALSE(pet.IsPurchasePending());
    EXPECT_EQ(g_gameSession.GetPendingCode(), 0u);
    EXPECT_EQ(pet.GetHintId(), -1);
    EXPECT_FALSE(g_hintManager.GetWindows().front().open);
}

TEST_F(PetTest, AtTheLastLevelTheShopOffersNothing) {
    pet.Init(1, CPet::PET_FISH, 6);
    PointAt(ON_PICTURE);
    pet.UpdateShop(input, SCALE, 0.01f);
    EXPECT_TRUE(g_hintManager.GetWindows().empty());
    device.draws.clear();
    pet.RenderShopLevel(&device, SCALE);
    pet.RenderUpgradeButton(&device, SCALE);
    ASSERT_EQ(DrawsOf(upgrades).size(), 1u);
    EXPECT_EQ(DrawsOf(upgrades)[0].source->left, 261);
    EXPECT_TRUE(DrawsOf(icons).empty());
}

TEST_F(PetTest, LevelOutsideTheRangeCountsAsOneAndABadLocationKeepsThePlace) {
    pet.Init(3, CPet::PET_FISH, 9);
    EXPECT_EQ(pet.GetLevel(), 1);
    EXPECT_EQ(pet.GetBasePoint(), (Vec2{460.0f, 378.0f}));
    EXPECT_EQ(pet.stationPoint, (Vec2{610.0f, 610.0f}));
    EXPECT_EQ(pet.shape.x, 438.0f);
    pet.Init(5, CPet::PET_FISH, 0);
    EXPECT_EQ(pet.GetLevel(), 1);
    EXPECT_EQ(pet.GetBasePoint(), (Vec2{460.0f, 378.0f}));
    // Any other kind shows no figure.
    pet.Init(1, 7, 2);
    EXPECT_EQ(pet.GetFigure().GetClipCount(), 0);
}

TEST_F(PetTest, DepthLineLiesBelowTheStandInLocationThreeOnly) {
    pet.Init(3, CPet::PET_TURTLE, 1);
    EXPECT_EQ(pet.GetBottomEdge(), 378.0f + 80.0f + 108.0f);
    pet.Init(1, CPet::PET_TURTLE, 1);
    EXPECT_EQ(pet.GetBottomEdge(), 108.0f);
    for (const auto& [line, front] : {std::pair{108.0f, true}, std::pair{108.5f, false}}) {
        device.draws.clear();
        pet.RenderByDepth(&device, SCALE, line, front);
        EXPECT_FALSE(DrawsOf(upgrades).empty());
        device.draws.clear();
        pet.RenderByDepth(&device, SCALE, line, !front);
        EXPECT_TRUE(DrawsOf(upgrades).empty());
    }
}

}  // namespace
